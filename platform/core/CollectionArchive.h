// SerializeElements: how the collection templates write and read their elements. Callers specialise it
// for element types of their own, as with the framework.
#pragma once

#include <type_traits>

#include "core/CArchive.h"
#include "core/CException.h"

// Scalars, CString and CObject pointers go through the archive's operators (little-endian, field by
// field). Other types have no stored form unless specialised: they raise CNotSupportedException rather
// than having their memory dumped.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
  if constexpr (std::is_enum_v<TYPE>) {
    using Stored = std::underlying_type_t<TYPE>;
    for (INT_PTR i = 0; i < nCount; ++i) {
      if (ar.IsStoring()) {
        ar << static_cast<Stored>(pElements[i]);
      } else {
        Stored value{};
        ar >> value;
        pElements[i] = static_cast<TYPE>(value);
      }
    }
  } else if constexpr (requires(CArchive & a, TYPE & element) {
                         a << element;
                         a >> element;
                       }) {
    for (INT_PTR i = 0; i < nCount; ++i) {
      if (ar.IsStoring())
        ar << pElements[i];
      else
        ar >> pElements[i];
    }
  } else {
    (void)pElements;
    if (nCount > 0) AfxThrowNotSupportedException();
  }
}
