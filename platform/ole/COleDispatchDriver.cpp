// COleDispatchDriver: argument marshalling into variants, the call, and the result back.
#include "ole/COleDispatchDriver.h"

#include <cstring>
#include <vector>

COleDispatchDriver::COleDispatchDriver() : m_lpDispatch(nullptr), m_bAutoRelease(TRUE) {}

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease) {}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& dispatchSrc)
    : m_lpDispatch(dispatchSrc.m_lpDispatch), m_bAutoRelease(TRUE) {
  if (m_lpDispatch != nullptr) m_lpDispatch->AddRef();
}

const COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& dispatchSrc) {
  if (this != &dispatchSrc) {
    if (dispatchSrc.m_lpDispatch != nullptr) dispatchSrc.m_lpDispatch->AddRef();
    ReleaseDispatch();
    m_lpDispatch = dispatchSrc.m_lpDispatch;
    m_bAutoRelease = TRUE;
  }
  return *this;
}

COleDispatchDriver::~COleDispatchDriver() { ReleaseDispatch(); }

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* pError) {
  LPDISPATCH dispatch = nullptr;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  if (FAILED(hr)) {
    if (pError != nullptr) pError->m_sc = hr;
    return FALSE;
  }
  AttachDispatch(dispatch, TRUE);
  return TRUE;
}

BOOL COleDispatchDriver::CreateDispatch(LPCTSTR lpszProgID, COleException* pError) {
  CLSID clsid;
  if (lpszProgID == nullptr || !brambolt::ole::ClsidFromProgId(lpszProgID, &clsid)) {
    if (pError != nullptr) pError->m_sc = CO_E_CLASSSTRING;
    return FALSE;
  }
  return CreateDispatch(clsid, pError);
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease) {
  ReleaseDispatch();
  m_lpDispatch = lpDispatch;
  m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch() {
  LPDISPATCH dispatch = m_lpDispatch;
  m_lpDispatch = nullptr;
  return dispatch;
}

void COleDispatchDriver::ReleaseDispatch() {
  if (m_lpDispatch != nullptr && m_bAutoRelease) m_lpDispatch->Release();
  m_lpDispatch = nullptr;
}

void COleDispatchDriver::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                      const BYTE* pbParamInfo, ...) {
  va_list args;
  va_start(args, pbParamInfo);
  try {
    InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

namespace {

// The arguments of one call; variants are cleared when the call is over, however it ends.
struct Arguments {
  std::vector<VARIANT> values;
  ~Arguments() {
    for (VARIANT& v : values) VariantClear(&v);
  }
};

void ReadArgument(VARTYPE vt, va_list& args, VARIANT& v) {
  VariantInit(&v);
  v.vt = vt;
  switch (vt) {
    case VT_I2: v.iVal = static_cast<SHORT>(va_arg(args, int)); break;
    case VT_I4: v.lVal = va_arg(args, LONG); break;
    case VT_BOOL: v.boolVal = va_arg(args, BOOL) ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_R8: v.dblVal = va_arg(args, double); break;
    case VT_BSTR: {
      const char* text = va_arg(args, const char*);
      v.bstrVal = SysAllocString(text ? text : "");
      if (v.bstrVal == nullptr) AfxThrowMemoryException();
      break;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN:
      v.punkVal = va_arg(args, IUnknown*);
      if (v.punkVal != nullptr) v.punkVal->AddRef();
      break;
    case VT_VARIANT: {
      const VARIANT* source = va_arg(args, const VARIANT*);
      v.vt = VT_EMPTY;
      if (source != nullptr && FAILED(VariantCopy(&v, source))) AfxThrowOleException(E_OUTOFMEMORY);
      break;
    }
    default: v.vt = VT_EMPTY; AfxThrowOleException(E_INVALIDARG);
  }
}

void StoreResult(VARTYPE vtRet, VARIANT& result, void* pvRet) {
  if (vtRet != VT_VARIANT && result.vt != vtRet) {
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = VariantChangeType(&converted, &result, 0, vtRet);
    VariantClear(&result);
    if (FAILED(hr)) AfxThrowOleException(hr);
    result = converted;
  }
  switch (vtRet) {
    case VT_I2: *static_cast<SHORT*>(pvRet) = result.iVal; break;
    case VT_I4: *static_cast<LONG*>(pvRet) = result.lVal; break;
    case VT_BOOL: *static_cast<BOOL*>(pvRet) = result.boolVal != 0 ? TRUE : FALSE; break;
    case VT_R8: *static_cast<double*>(pvRet) = result.dblVal; break;
    case VT_BSTR:
      *static_cast<CString*>(pvRet) =
          result.bstrVal ? CString(result.bstrVal, static_cast<int>(SysStringByteLen(result.bstrVal))) : CString();
      VariantClear(&result);
      return;
    case VT_DISPATCH:
    case VT_UNKNOWN: *static_cast<IUnknown**>(pvRet) = result.punkVal; return;  // the reference goes to the caller
    case VT_VARIANT: *static_cast<VARIANT*>(pvRet) = result; return;
    default: break;
  }
  VariantClear(&result);
}

}  // namespace

void COleDispatchDriver::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                       const BYTE* pbParamInfo, va_list argList) {
  if (m_lpDispatch == nullptr) AfxThrowOleException(E_UNEXPECTED);
  Arguments arguments;
  size_t count = pbParamInfo ? std::strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
  arguments.values.resize(count);
  for (VARIANT& v : arguments.values) VariantInit(&v);
  va_list args;
  va_copy(args, argList);
  try {
    // The last argument goes first.
    for (size_t i = 0; i < count; ++i) ReadArgument(pbParamInfo[i], args, arguments.values[count - 1 - i]);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
  DISPPARAMS params{arguments.values.data(), nullptr, static_cast<UINT>(count), 0};
  DISPID namedPut = DISPID_PROPERTYPUT;
  if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &namedPut;
    params.cNamedArgs = 1;
  }
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO info{};
  UINT argError = 0;
  HRESULT hr = m_lpDispatch->Invoke(dwDispID, IID_NULL, 0, wFlags, &params, vtRet == VT_EMPTY ? nullptr : &result,
                                    &info, &argError);
  if (FAILED(hr)) {
    VariantClear(&result);
    if (hr != DISP_E_EXCEPTION) AfxThrowOleException(hr);
    if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
    auto* e = new COleDispatchException(info.bstrDescription, info.dwHelpContext, info.wCode);
    e->m_scError = info.scode;
    if (info.bstrSource) e->m_strSource = info.bstrSource;
    if (info.bstrHelpFile) e->m_strHelpFile = info.bstrHelpFile;
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    AfxThrow(e);
  }
  if (vtRet != VT_EMPTY && pvRet != nullptr) StoreResult(vtRet, result, pvRet);
  else VariantClear(&result);
}

void COleDispatchDriver::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const {
  const_cast<COleDispatchDriver*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp, nullptr);
}

