// The regular-expression adapter: the scripting object's properties and methods by dispatch
// identifier, with its errors (an invalid pattern, a pattern too costly to run) turned into
// a failed call instead of an exception that escapes.
#include "editor/SECEditRegExp.h"

#include "ole/COleDispatchDriver.h"

namespace {

// Dispatch identifiers of the scripting regular-expression library.
constexpr DISPID kPattern = 10001;
constexpr DISPID kIgnoreCase = 10002;
constexpr DISPID kGlobal = 10003;
constexpr DISPID kExecute = 10004;
constexpr DISPID kReplace = 10006;
constexpr DISPID kCount = 1;
constexpr DISPID kItem = 10001;
constexpr DISPID kValue = 0;
constexpr DISPID kFirstIndex = 10001;
constexpr DISPID kLength = 10002;

// Runs an automation call; an exception becomes FALSE with its text in *error.
template <class F>
BOOL Guarded(CString* error, F call) {
  try {
    call();
    error->Empty();
    return TRUE;
  } catch (CException* e) {
    char text[256] = "";
    if (!e->GetErrorMessage(text, sizeof text)) lstrcpyn(text, "invalid regular expression", sizeof text);
    *error = text;
    e->Delete();
    return FALSE;
  }
}

}  // namespace

SECEditRegExp::SECEditRegExp() = default;

SECEditRegExp::~SECEditRegExp() = default;

BOOL SECEditRegExp::Create() {
  m_pDispatch = std::make_unique<COleDispatchDriver>();
  if (!m_pDispatch->CreateDispatch("VBScript.RegExp")) {
    m_pDispatch.reset();
    return FALSE;
  }
  return Guarded(&m_strError, [&] {
    m_pDispatch->SetProperty(kGlobal, VT_BOOL, FALSE);
    m_pDispatch->SetProperty(kIgnoreCase, VT_BOOL, FALSE);
  });
}

CString SECEditRegExp::GetPattern() {
  CString pattern;
  if (m_pDispatch) Guarded(&m_strError, [&] { m_pDispatch->GetProperty(kPattern, VT_BSTR, &pattern); });
  return pattern;
}

void SECEditRegExp::SetPattern(LPCTSTR pattern) {
  if (m_pDispatch) Guarded(&m_strError, [&] { m_pDispatch->SetProperty(kPattern, VT_BSTR, pattern); });
}

BOOL SECEditRegExp::GetIgnoreCase() {
  BOOL ignore = FALSE;
  if (m_pDispatch) Guarded(&m_strError, [&] { m_pDispatch->GetProperty(kIgnoreCase, VT_BOOL, &ignore); });
  return ignore;
}

void SECEditRegExp::SetIgnoreCase(BOOL bIgnore) {
  if (m_pDispatch) Guarded(&m_strError, [&] { m_pDispatch->SetProperty(kIgnoreCase, VT_BOOL, bIgnore); });
}

BOOL SECEditRegExp::Execute(CString text, int* pIndex, int* pLength, CString* pMatch) {
  if (!m_pDispatch || GetPattern().IsEmpty()) return FALSE;
  BOOL found = FALSE;
  const BOOL ran = Guarded(&m_strError, [&] {
    LPDISPATCH collection = nullptr;
    m_pDispatch->InvokeHelper(kExecute, DISPATCH_METHOD, VT_DISPATCH, &collection, reinterpret_cast<const BYTE*>(VTS_BSTR),
                              static_cast<LPCTSTR>(text));
    if (collection == nullptr) return;
    COleDispatchDriver matches(collection);
    LONG count = 0;
    matches.GetProperty(kCount, VT_I4, &count);
    if (count == 0) return;
    LPDISPATCH item = nullptr;
    matches.InvokeHelper(kItem, DISPATCH_PROPERTYGET, VT_DISPATCH, &item, reinterpret_cast<const BYTE*>(VTS_I4), 0L);
    if (item == nullptr) return;
    COleDispatchDriver match(item);
    LONG index = 0, length = 0;
    match.GetProperty(kValue, VT_BSTR, pMatch);
    match.GetProperty(kFirstIndex, VT_I4, &index);
    match.GetProperty(kLength, VT_I4, &length);
    *pIndex = index;
    *pLength = length;
    found = TRUE;
  });
  return ran && found;
}

BOOL SECEditRegExp::FindLast(CString text, int before, int* pIndex, int* pLength) {
  if (!m_pDispatch || GetPattern().IsEmpty()) return FALSE;
  BOOL found = FALSE;
  const BOOL ran = Guarded(&m_strError, [&] {
    m_pDispatch->SetProperty(kGlobal, VT_BOOL, TRUE);
    LPDISPATCH collection = nullptr;
    m_pDispatch->InvokeHelper(kExecute, DISPATCH_METHOD, VT_DISPATCH, &collection, reinterpret_cast<const BYTE*>(VTS_BSTR),
                              static_cast<LPCTSTR>(text));
    if (collection == nullptr) return;
    COleDispatchDriver matches(collection);
    auto item = [&](LONG i, LONG* index, LONG* length) {
      LPDISPATCH match = nullptr;
      matches.InvokeHelper(kItem, DISPATCH_PROPERTYGET, VT_DISPATCH, &match, reinterpret_cast<const BYTE*>(VTS_I4), i);
      COleDispatchDriver m(match);
      m.GetProperty(kFirstIndex, VT_I4, index);
      if (length != nullptr) m.GetProperty(kLength, VT_I4, length);
    };
    LONG count = 0;
    matches.GetProperty(kCount, VT_I4, &count);
    // Matches come in text order: bisect for the last one that begins before `before`.
    LONG lo = 0, hi = count;
    while (lo < hi) {
      const LONG mid = (lo + hi) / 2;
      LONG index = 0;
      item(mid, &index, nullptr);
      if (index < before)
        lo = mid + 1;
      else
        hi = mid;
    }
    if (lo == 0) return;
    LONG index = 0, length = 0;
    item(lo - 1, &index, &length);
    *pIndex = index;
    *pLength = length;
    found = TRUE;
  });
  Guarded(&m_strError, [&] { m_pDispatch->SetProperty(kGlobal, VT_BOOL, FALSE); });
  return ran && found;
}

BOOL SECEditRegExp::Replace(CString& text, LPCTSTR with, BOOL bGlobal) {
  int index = 0, length = 0;
  CString match;
  // Whether the pattern matches decides the result, not whether the text changed: a
  // replacement equal to the matched text is still a replacement.
  if (!Execute(text, &index, &length, &match)) return FALSE;
  CString result;
  const BOOL ran = Guarded(&m_strError, [&] {
    m_pDispatch->SetProperty(kGlobal, VT_BOOL, bGlobal);
    m_pDispatch->InvokeHelper(kReplace, DISPATCH_METHOD, VT_BSTR, &result,
                              reinterpret_cast<const BYTE*>(VTS_BSTR VTS_BSTR), static_cast<LPCTSTR>(text), with);
  });
  Guarded(&m_strError, [&] { m_pDispatch->SetProperty(kGlobal, VT_BOOL, FALSE); });
  if (!ran) return FALSE;
  text = result;
  return TRUE;
}


BOOL SECEditRegExp::FindFirst(CString text, int* pIndex, int* pLength) {
  CString match;
  return Execute(text, pIndex, pLength, &match);
}
