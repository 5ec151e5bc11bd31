// The OLE data-transfer interfaces and calls: data objects with their formats and media, the
// OLE clipboard, drag and drop with its sources and targets.
#pragma once

#include <vector>

#include "afx/CView.h"
#include "gdi/DevMode.h"
#include "ole/Automation.h"

#ifndef PASCAL
#define PASCAL
#endif

typedef WORD CLIPFORMAT;
typedef CLIPFORMAT* LPCLIPFORMAT;


#define DVASPECT_CONTENT 1
#define DVASPECT_THUMBNAIL 2
#define DVASPECT_ICON 4
#define DVASPECT_DOCPRINT 8

#define TYMED_NULL 0
#define TYMED_HGLOBAL 1
#define TYMED_FILE 2
#define TYMED_ISTREAM 4
#define TYMED_ISTORAGE 8
#define TYMED_GDI 16
#define TYMED_MFPICT 32
#define TYMED_ENHMF 64

#define DATADIR_GET 1
#define DATADIR_SET 2

struct DVTARGETDEVICE;

#define STREAM_SEEK_SET 0
#define STREAM_SEEK_CUR 1
#define STREAM_SEEK_END 2
#define STGC_DEFAULT 0

typedef struct tagSTATSTG {
  LPOLESTR pwcsName;
  DWORD type;
  ULARGE_INTEGER cbSize;
  FILETIME mtime, ctime, atime;
  DWORD grfMode, grfLocksSupported;
  CLSID clsid;
  DWORD grfStateBits, reserved;
} STATSTG;

struct IStream : IUnknown {
  STDMETHOD(Read)(void* pv, ULONG cb, ULONG* pcbRead) PURE;
  STDMETHOD(Write)(const void* pv, ULONG cb, ULONG* pcbWritten) PURE;
  STDMETHOD(Seek)(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) PURE;
  STDMETHOD(SetSize)(ULARGE_INTEGER libNewSize) PURE;
  STDMETHOD(CopyTo)(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) PURE;
  STDMETHOD(Commit)(DWORD grfCommitFlags) PURE;
  STDMETHOD(Revert)() PURE;
  STDMETHOD(LockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) PURE;
  STDMETHOD(UnlockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) PURE;
  STDMETHOD(Stat)(STATSTG* pstatstg, DWORD grfStatFlag) PURE;
  STDMETHOD(Clone)(IStream** ppstm) PURE;

 protected:
  ~IStream() = default;
};
typedef IStream* LPSTREAM;
DEFINE_GUID(IID_IStream, 0x0000000C, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

typedef struct tagFORMATETC {
  CLIPFORMAT cfFormat;
  DVTARGETDEVICE* ptd;
  DWORD dwAspect;
  LONG lindex;
  DWORD tymed;
} FORMATETC, *LPFORMATETC;

typedef struct tagSTGMEDIUM {
  DWORD tymed;
  union {
    HBITMAP hBitmap;
    HGLOBAL hGlobal;
    LPSTR lpszFileName;
    IStream* pstm;
  };
  IUnknown* pUnkForRelease;  // released instead of freeing the medium when set
} STGMEDIUM, *LPSTGMEDIUM;

#define DV_E_FORMATETC (static_cast<HRESULT>(0x80040064L))
#define DV_E_TYMED (static_cast<HRESULT>(0x80040069L))
#define DV_E_LINDEX (static_cast<HRESULT>(0x80040068L))
#define DV_E_DVASPECT (static_cast<HRESULT>(0x8004006BL))
#define OLE_E_ADVISENOTSUPPORTED (static_cast<HRESULT>(0x80040003L))
#define CLIPBRD_E_CANT_OPEN (static_cast<HRESULT>(0x800401D0L))
#define CLIPBRD_E_CANT_SET (static_cast<HRESULT>(0x800401D2L))
#define DRAGDROP_E_NOTREGISTERED (static_cast<HRESULT>(0x80040100L))
#define DRAGDROP_E_ALREADYREGISTERED (static_cast<HRESULT>(0x80040101L))
#define DRAGDROP_E_INVALIDHWND (static_cast<HRESULT>(0x80040102L))
#define DRAGDROP_S_DROP (static_cast<HRESULT>(0x00040100L))
#define DRAGDROP_S_CANCEL (static_cast<HRESULT>(0x00040101L))
#define DRAGDROP_S_USEDEFAULTCURSORS (static_cast<HRESULT>(0x00040102L))

// The key-state bit for Alt in drag and drop (the others are the MK_ bits of mouse messages).
#define MK_ALT 0x20

struct IEnumFORMATETC : IUnknown {
  STDMETHOD(Next)(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) PURE;
  STDMETHOD(Skip)(ULONG celt) PURE;
  STDMETHOD(Reset)() PURE;
  STDMETHOD(Clone)(IEnumFORMATETC** ppenum) PURE;

 protected:
  ~IEnumFORMATETC() = default;
};
typedef IEnumFORMATETC* LPENUMFORMATETC;

struct IDataObject : IUnknown {
  STDMETHOD(GetData)(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) PURE;
  STDMETHOD(GetDataHere)(FORMATETC* pformatetc, STGMEDIUM* pmedium) PURE;
  STDMETHOD(QueryGetData)(FORMATETC* pformatetc) PURE;
  STDMETHOD(GetCanonicalFormatEtc)(FORMATETC* pformatectIn, FORMATETC* pformatetcOut) PURE;
  STDMETHOD(SetData)(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) PURE;
  STDMETHOD(EnumFormatEtc)(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) PURE;

 protected:
  ~IDataObject() = default;
};
typedef IDataObject* LPDATAOBJECT;

struct IDropSource : IUnknown {
  STDMETHOD(QueryContinueDrag)(BOOL fEscapePressed, DWORD grfKeyState) PURE;
  STDMETHOD(GiveFeedback)(DWORD dwEffect) PURE;

 protected:
  ~IDropSource() = default;
};
typedef IDropSource* LPDROPSOURCE;

struct IDropTarget : IUnknown {
  STDMETHOD(DragEnter)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) PURE;
  STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) PURE;
  STDMETHOD(DragLeave)() PURE;
  STDMETHOD(Drop)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) PURE;

 protected:
  ~IDropTarget() = default;
};
typedef IDropTarget* LPDROPTARGET;

DEFINE_GUID(IID_IDataObject, 0x0000010E, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IEnumFORMATETC, 0x00000103, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IDropSource, 0x00000121, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IDropTarget, 0x00000122, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

// Frees a medium: releases pUnkForRelease when set, else frees what the medium holds.
void ReleaseStgMedium(LPSTGMEDIUM pmedium);

// The OLE clipboard. A data object set on it offers its HGLOBAL formats on the clipboard (and so to
// other programs through the backend) and renders them when they are asked for; the clipboard
// holds a reference until another program or call replaces it. OleGetClipboard answers a data
// object reading whatever the clipboard holds now.
HRESULT OleSetClipboard(LPDATAOBJECT pDataObj);
HRESULT OleGetClipboard(LPDATAOBJECT* ppDataObj);
// Renders every format of the data object on the clipboard and lets the object go.
HRESULT OleFlushClipboard();
HRESULT OleIsCurrentClipboard(LPDATAOBJECT pDataObj);

// Drag and drop. DoDragDrop runs a modal loop that follows the mouse until the source says drop
// or cancel; targets of this process are called on this thread before it returns.
HRESULT RegisterDragDrop(HWND hwnd, LPDROPTARGET pDropTarget);
HRESULT RevokeDragDrop(HWND hwnd);
HRESULT DoDragDrop(LPDATAOBJECT pDataObj, LPDROPSOURCE pDropSource, DWORD dwOKEffects, LPDWORD pdwEffect);

namespace brambolt::ole {

// A medium's HGLOBAL copied into a new moveable block; null when there is none.
HGLOBAL CopyGlobal(HGLOBAL source);

// The formats of a list, enumerated (the enumerator keeps its own copy).
HRESULT MakeFormatEnumerator(const std::vector<FORMATETC>& formats, IEnumFORMATETC** ppenum);

}  // namespace brambolt::ole
