// The COM and automation core the program uses: IUnknown and IDispatch, automation strings and
// variants, the classes CoCreateInstance and CreateDispatch can make, task memory, OLE start-up.
#pragma once

#include <atomic>
#include <string_view>

#include "base/Guid.h"
#include "base/WinTypes.h"

#define STDMETHODCALLTYPE
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0

typedef LONG SCODE;
typedef LONG DISPID;
typedef DWORD LCID;
typedef unsigned short VARTYPE;
typedef short VARIANT_BOOL;
typedef double DATE;

#define VARIANT_TRUE (static_cast<VARIANT_BOOL>(-1))
#define VARIANT_FALSE (static_cast<VARIANT_BOOL>(0))

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8
#define DISPID_VALUE 0
#define DISPID_UNKNOWN (-1)
#define DISPID_PROPERTYPUT (-3)

#define DISP_E_MEMBERNOTFOUND (static_cast<HRESULT>(0x80020003L))
#define DISP_E_PARAMNOTFOUND (static_cast<HRESULT>(0x80020004L))
#define DISP_E_TYPEMISMATCH (static_cast<HRESULT>(0x80020005L))
#define DISP_E_UNKNOWNNAME (static_cast<HRESULT>(0x80020006L))
#define DISP_E_EXCEPTION (static_cast<HRESULT>(0x80020009L))
#define DISP_E_BADINDEX (static_cast<HRESULT>(0x8002000BL))
#define DISP_E_BADPARAMCOUNT (static_cast<HRESULT>(0x8002000EL))
#define DISP_E_PARAMNOTOPTIONAL (static_cast<HRESULT>(0x8002000FL))
#define CLASS_E_NOAGGREGATION (static_cast<HRESULT>(0x80040110L))
#define REGDB_E_CLASSNOTREG (static_cast<HRESULT>(0x80040154L))
#define CO_E_NOTINITIALIZED (static_cast<HRESULT>(0x800401F0L))
#define STG_E_FILENOTFOUND (static_cast<HRESULT>(0x80030002L))
#define STG_E_ACCESSDENIED (static_cast<HRESULT>(0x80030005L))
#define STG_E_MEDIUMFULL (static_cast<HRESULT>(0x80030070L))
#define STG_E_INVALIDFUNCTION (static_cast<HRESULT>(0x80030001L))
#define CTL_E_INVALIDPICTURE (static_cast<HRESULT>(0x800A01E1L))

// Automation strings. This is an ANSI platform (every string is bytes in the ANSI code page), so an
// automation string holds bytes too, as BSTR did in the ANSI builds of OLE: a length-prefixed,
// terminated block, whose length counts bytes and may include NULs.
typedef char* BSTR;
typedef BSTR* LPBSTR;

BSTR SysAllocString(const char* text);
BSTR SysAllocStringLen(const char* text, UINT length);
BSTR SysAllocStringByteLen(const char* bytes, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

struct ITypeInfo;

struct IUnknown {
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) PURE;
  STDMETHOD_(ULONG, AddRef)() PURE;
  STDMETHOD_(ULONG, Release)() PURE;

 protected:
  ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_UI1 = 17,
  VT_BYREF = 0x4000,
};

struct IDispatch;
typedef IDispatch* LPDISPATCH;

typedef struct tagVARIANT {
  VARTYPE vt;
  WORD wReserved1, wReserved2, wReserved3;
  union {
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    tagVARIANT* pvarVal;
    void* byref;
  };
} VARIANT, VARIANTARG, *LPVARIANT, *LPVARIANTARG;

typedef struct tagDISPPARAMS {
  VARIANTARG* rgvarg;  // the arguments, last first
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
} DISPPARAMS;

typedef struct tagEXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(tagEXCEPINFO*);
  SCODE scode;
} EXCEPINFO, *LPEXCEPINFO;

struct IDispatch : IUnknown {
  STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) PURE;
  STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) PURE;
  STDMETHOD(GetIDsOfNames)(REFIID riid, LPSTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) PURE;
  STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                    VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) PURE;

 protected:
  ~IDispatch() = default;
};

struct IClassFactory : IUnknown {
  STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) PURE;
  STDMETHOD(LockServer)(BOOL fLock) PURE;

 protected:
  ~IClassFactory() = default;
};

DEFINE_GUID(IID_IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IDispatch, 0x00020400, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

void VariantInit(VARIANTARG* pvarg);
HRESULT VariantClear(VARIANTARG* pvarg);
HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);
// Converts among VT_EMPTY, VT_I2, VT_I4, VT_BOOL, VT_R8 and VT_BSTR (numbers as decimal text).
HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt);

// OLE start-up and shut-down: nothing to set up here, so they always succeed (S_FALSE when the
// thread had already started OLE, as the system answers).
HRESULT OleInitialize(void* pvReserved);
void OleUninitialize();
HRESULT CoInitialize(void* pvReserved);
void CoUninitialize();
// The framework's start of OLE for the application's thread: TRUE, as OleInitialize succeeds.
BOOL AfxOleInit();

void* CoTaskMemAlloc(SIZE_T cb);
void* CoTaskMemRealloc(void* pv, SIZE_T cb);
void CoTaskMemFree(void* pv);

// Makes an object of a class this program provides (see RegisterOleClass).
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv);
HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);

namespace brambolt::ole {

// Makes a new object of a class and answers the interface asked for (the object's reference
// count is then 1), or fails with the HRESULT.
typedef HRESULT (*ObjectMaker)(REFIID riid, void** ppv);

// Classes are looked up by CLSID or by programmatic identifier ("VBScript.RegExp"); the program's
// own classes (the regular expression, the shell link) are known from the start.
void RegisterOleClass(REFCLSID clsid, const char* progId, ObjectMaker maker);
bool ClsidFromProgId(std::string_view progId, CLSID* clsid);

// Answers IUnknown and `iid` with `self` (adding a reference), any other interface with
// E_NOINTERFACE.
template <class Interface>
HRESULT AnswerInterface(Interface* self, REFIID riid, REFIID iid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = riid == IID_IUnknown || riid == iid ? self : nullptr;
  if (*ppv == nullptr) return E_NOINTERFACE;
  self->AddRef();
  return S_OK;
}

// A COM object of this module with one interface: the count starts at 1 and the object deletes
// itself at 0.
template <class Interface, const IID& iid>
class RefCounted : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return AnswerInterface(this, riid, iid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.fetch_add(1) + 1; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = refs_.fetch_sub(1) - 1;
    if (left == 0) delete this;
    return left;
  }
  virtual ~RefCounted() = default;

 private:
  std::atomic<ULONG> refs_{1};
};

// An ObjectMaker for a class of this module: a new object, answering `riid`.
template <class Object>
HRESULT MakeObject(REFIID riid, void** ppv) {
  auto* object = new Object;
  HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

// An interface a framework object carries for the system to call: it lives and dies with that
// object, so references are not counted.
template <class Interface, const IID& iid>
class ContainedInterface : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return AnswerInterface(this, riid, iid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  virtual ~ContainedInterface() = default;
};

}  // namespace brambolt::ole
