// GUID creation, comparison and the registry text form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#pragma once

#include <string>

#include "base/WinTypes.h"

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef GUID* LPGUID;
typedef CLSID* LPCLSID;
typedef IID* LPIID;

#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#define IsEqualCLSID(a, b) ((a) == (b))

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
#define CLSID_NULL GUID_NULL
#define IID_NULL GUID_NULL

#define CO_E_CLASSSTRING (static_cast<HRESULT>(0x800401F3L))

// A random (version 4) GUID.
HRESULT CoCreateGuid(GUID* guid);
// Writes the braced text and its terminator; returns the characters written (39), or 0 when
// `maxChars` is too small.
int StringFromGUID2(REFGUID guid, LPOLESTR text, int maxChars);
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid);
HRESULT IIDFromString(LPCOLESTR text, LPIID iid);

namespace brambolt {
std::string GuidToString(REFGUID guid);
// Accepts the braced form only, in either case.
bool GuidFromString(const char* text, GUID* guid);
}  // namespace brambolt
