// CArray<TYPE, ARG_TYPE>: the framework's growable array, with its SetSize growth rules. New elements are
// value-initialised (zero for scalars and plain records), as the framework's are.
#pragma once

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>

#include "core/CObject.h"
#include "core/CollectionArchive.h"
#include "core/CollectionBase.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;
  ~CArray() override { SetSize(0); }

  INT_PTR GetSize() const { return m_nSize; }
  INT_PTR GetCount() const { return m_nSize; }
  BOOL IsEmpty() const { return m_nSize == 0; }
  INT_PTR GetUpperBound() const { return m_nSize - 1; }

  // nGrowBy < 0 keeps the current step; a step of 0 (the initial one) grows by an eighth of the size,
  // at least 4 and at most 1024 elements. The first allocation holds at least one step.
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    if (nNewSize < 0) CollectionIndexFault("CArray::SetSize: negative size");
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;

    if (nNewSize == 0) {
      Release();
    } else if (m_pData == nullptr) {
      TYPE* data = Allocate(std::max(nNewSize, m_nGrowBy));
      try {
        std::uninitialized_value_construct_n(data, nNewSize);
      } catch (...) {
        Deallocate(data);
        throw;
      }
      m_nMaxSize = std::max(nNewSize, m_nGrowBy);
      m_pData = data;
      m_nSize = nNewSize;
    } else if (nNewSize <= m_nMaxSize) {
      Resize(nNewSize);
    } else {
      INT_PTR nStep = m_nGrowBy;
      if (nStep == 0) nStep = std::clamp<INT_PTR>(m_nSize / 8, 4, 1024);
      Reallocate(std::max(nNewSize, m_nMaxSize + nStep));
      Resize(nNewSize);
    }
  }

  void FreeExtra() {
    if (m_nSize == 0)
      Release();
    else if (m_nSize != m_nMaxSize)
      Reallocate(m_nSize);
  }

  void RemoveAll() { SetSize(0, -1); }

  const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
  const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
  const TYPE& operator[](INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& operator[](INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }

  // NULL until the first allocation; valid until the array next grows, shrinks to nothing or frees extra.
  const TYPE* GetData() const { return m_pData; }
  TYPE* GetData() { return m_pData; }

  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) CollectionIndexFault("CArray::SetAtGrow: negative index");
    if (nIndex >= m_nSize) {
      if (Aliases(newElement)) {
        TYPE copy(newElement);
        SetSize(nIndex + 1, -1);
        m_pData[nIndex] = std::move(copy);
        return;
      }
      SetSize(nIndex + 1, -1);
    }
    m_pData[nIndex] = newElement;
  }

  INT_PTR Add(ARG_TYPE newElement) {
    INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }

  // Returns the index of the first appended element; an array may append itself.
  INT_PTR Append(const CArray& src) {
    INT_PTR nOldSize = m_nSize;
    INT_PTR nCount = src.m_nSize;
    SetSize(nOldSize + nCount, -1);
    std::copy_n(src.m_pData, nCount, m_pData + nOldSize);
    return nOldSize;
  }

  void Copy(const CArray& src) {
    if (this == &src) return;
    SetSize(src.m_nSize, -1);
    std::copy_n(src.m_pData, src.m_nSize, m_pData);
  }

  // Inserting at or beyond the end grows the array; the elements between the old end and nIndex are new.
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0) CollectionIndexFault("CArray::InsertAt: negative index or count");
    if (nCount == 0) return;
    if (Aliases(newElement)) {
      TYPE copy(newElement);
      InsertAt(nIndex, copy, nCount);
      return;
    }
    if (nIndex >= m_nSize) {
      SetSize(nIndex + nCount, -1);
    } else {
      INT_PTR nOldSize = m_nSize;
      SetSize(m_nSize + nCount, -1);
      std::move_backward(m_pData + nIndex, m_pData + nOldSize, m_pData + nOldSize + nCount);
    }
    std::fill_n(m_pData + nIndex, nCount, newElement);
  }

  void InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
    if (pNewArray == nullptr) CollectionUsageFault("CArray::InsertAt: NULL array");
    if (pNewArray == this) {
      CArray copy;
      copy.Copy(*this);
      InsertAt(nStartIndex, &copy);
      return;
    }
    if (pNewArray->m_nSize == 0) return;
    InsertAt(nStartIndex, pNewArray->m_pData[0], pNewArray->m_nSize);
    std::copy_n(pNewArray->m_pData, pNewArray->m_nSize, m_pData + nStartIndex);
  }

  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex > m_nSize || nCount > m_nSize - nIndex)
      CollectionIndexFault("CArray::RemoveAt: range outside the array");
    std::move(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
    Resize(m_nSize - nCount);
  }

  // A count, then the elements through SerializeElements. Loading grows the array with the data actually
  // read, so a count that lies about the data cannot make it allocate far beyond the archive.
  void Serialize(CArchive& ar) override {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
      ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
      SerializeElements<TYPE>(ar, m_pData, m_nSize);
      return;
    }
    INT_PTR nTotal = static_cast<INT_PTR>(ar.ReadCount());
    SetSize(0, -1);
    while (m_nSize < nTotal) {
      INT_PTR nDone = m_nSize;
      INT_PTR nChunk = std::min(nTotal - nDone, std::max<INT_PTR>(nDone, 4096));
      SetSize(nDone + nChunk, -1);
      SerializeElements<TYPE>(ar, m_pData + nDone, nChunk);
    }
  }

 protected:
  static constexpr INT_PTR MaxElements() {
    return static_cast<INT_PTR>(std::numeric_limits<INT_PTR>::max() / sizeof(TYPE));
  }

  static TYPE* Allocate(INT_PTR nCount) {
    if (nCount > MaxElements()) throw std::bad_alloc();
    return static_cast<TYPE*>(
        ::operator new(static_cast<std::size_t>(nCount) * sizeof(TYPE), std::align_val_t(alignof(TYPE))));
  }
  static void Deallocate(TYPE* data) noexcept {
    ::operator delete(static_cast<void*>(data), std::align_val_t(alignof(TYPE)));
  }

  INT_PTR Checked(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nSize) CollectionIndexFault("CArray: index outside the array");
    return nIndex;
  }

  // True when an argument passed by reference lives in this array's storage, which growing would move.
  bool Aliases(ARG_TYPE element) const {
    if constexpr (std::is_reference_v<ARG_TYPE>) {
      const void* p = std::addressof(element);
      return m_pData != nullptr && std::less_equal<const void*>()(m_pData, p) &&
             std::less<const void*>()(p, m_pData + m_nSize);
    } else {
      (void)element;
      return false;
    }
  }

  // Constructs or destroys elements within the allocated capacity.
  void Resize(INT_PTR nNewSize) {
    if (nNewSize > m_nSize)
      std::uninitialized_value_construct_n(m_pData + m_nSize, nNewSize - m_nSize);
    else
      std::destroy(m_pData + nNewSize, m_pData + m_nSize);
    m_nSize = nNewSize;
  }

  void Reallocate(INT_PTR nNewMax) {
    TYPE* data = Allocate(nNewMax);
    try {
      if constexpr (std::is_nothrow_move_constructible_v<TYPE>)
        std::uninitialized_move_n(m_pData, m_nSize, data);
      else
        std::uninitialized_copy_n(m_pData, m_nSize, data);
    } catch (...) {
      Deallocate(data);
      throw;
    }
    std::destroy_n(m_pData, m_nSize);
    Deallocate(m_pData);
    m_pData = data;
    m_nMaxSize = nNewMax;
  }

  void Release() noexcept {
    if (m_pData != nullptr) {
      std::destroy_n(m_pData, m_nSize);
      Deallocate(m_pData);
    }
    m_pData = nullptr;
    m_nSize = m_nMaxSize = 0;
  }

  TYPE* m_pData = nullptr;
  INT_PTR m_nSize = 0;
  INT_PTR m_nMaxSize = 0;
  INT_PTR m_nGrowBy = 0;
};
