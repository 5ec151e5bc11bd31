// The framework's client of an automation object: makes it by programmatic identifier and calls
// its properties and methods by dispatch identifier, turning failures into OLE exceptions.
#pragma once

#include <cstdarg>

#include "core/CString.h"
#include "ole/COleException.h"

// Parameter descriptions for InvokeHelper: one byte per argument, its automation type. The
// arguments follow as: VTS_I2 int, VTS_I4 LONG, VTS_BOOL BOOL, VTS_R8 double, VTS_BSTR LPCTSTR,
// VTS_DISPATCH LPDISPATCH, VTS_UNKNOWN LPUNKNOWN, VTS_VARIANT const VARIANT*.
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"

class COleDispatchDriver {
 public:
  COleDispatchDriver();
  explicit COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
  COleDispatchDriver(const COleDispatchDriver& dispatchSrc);
  const COleDispatchDriver& operator=(const COleDispatchDriver& dispatchSrc);
  ~COleDispatchDriver();

  // FALSE (with the status in *pError) when no such class exists or it refuses to be made.
  BOOL CreateDispatch(REFCLSID clsid, COleException* pError = nullptr);
  BOOL CreateDispatch(LPCTSTR lpszProgID, COleException* pError = nullptr);
  void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
  LPDISPATCH DetachDispatch();
  void ReleaseDispatch();

  // Calls member dwDispID. The result, when vtRet is not VT_EMPTY, is stored at pvRet as:
  // VT_I2 short, VT_I4 LONG, VT_BOOL BOOL, VT_R8 double, VT_BSTR CString, VT_DISPATCH LPDISPATCH
  // (the caller's reference), VT_VARIANT VARIANT. An error the object reports throws
  // COleDispatchException; any other failure COleException.
  void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
  void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                     va_list argList);
  void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;
  // One argument of type vtProp, passed as InvokeHelper takes it. An object is put by reference.
  template <class Arg>
  void SetProperty(DISPID dwDispID, VARTYPE vtProp, Arg arg) {
    const BYTE params[2] = {static_cast<BYTE>(vtProp), 0};
    const WORD flags = vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    InvokeHelper(dwDispID, flags, VT_EMPTY, nullptr, params, arg);
  }

  operator LPDISPATCH() { return m_lpDispatch; }

  LPDISPATCH m_lpDispatch;
  BOOL m_bAutoRelease;
};
