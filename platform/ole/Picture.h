// The OLE picture object in place of the system's: OleLoadPicture reads BMP/DIB, ICO, GIF and
// JPEG pictures from a stream; the picture gives its size in HIMETRIC units, renders into a DC and
// saves itself as a BMP (an icon as an ICO). Memory streams on global blocks come with it.
#pragma once

#include "ole/OleIdl.h"

typedef LONG OLE_XPOS_HIMETRIC;
typedef LONG OLE_YPOS_HIMETRIC;
typedef LONG OLE_XSIZE_HIMETRIC;
typedef LONG OLE_YSIZE_HIMETRIC;
typedef UINT_PTR OLE_HANDLE;

#define PICTYPE_UNINITIALIZED (-1)
#define PICTYPE_NONE 0
#define PICTYPE_BITMAP 1
#define PICTYPE_METAFILE 2
#define PICTYPE_ICON 3
#define PICTYPE_ENHMETAFILE 4

#define PICTURE_SCALABLE 0x1
#define PICTURE_TRANSPARENT 0x2

#define STGTY_STREAM 2

struct IPicture : IUnknown {
  STDMETHOD(get_Handle)(OLE_HANDLE* pHandle) PURE;
  STDMETHOD(get_hPal)(OLE_HANDLE* phPal) PURE;
  STDMETHOD(get_Type)(SHORT* pType) PURE;
  STDMETHOD(get_Width)(OLE_XSIZE_HIMETRIC* pWidth) PURE;
  STDMETHOD(get_Height)(OLE_YSIZE_HIMETRIC* pHeight) PURE;
  // Draws the source rectangle (HIMETRIC, measured upward from the picture's bottom-left corner:
  // the whole picture upright is 0, height, width, -height) into x, y, cx, cy of the DC.
  STDMETHOD(Render)(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                    OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT pRcWBounds) PURE;
  STDMETHOD(set_hPal)(OLE_HANDLE hPal) PURE;
  STDMETHOD(get_CurDC)(HDC* phDC) PURE;
  STDMETHOD(SelectPicture)(HDC hDCIn, HDC* phDCOut, OLE_HANDLE* phBmpOut) PURE;
  STDMETHOD(get_KeepOriginalFormat)(BOOL* pKeep) PURE;
  STDMETHOD(put_KeepOriginalFormat)(BOOL keep) PURE;
  STDMETHOD(PictureChanged)() PURE;
  STDMETHOD(SaveAsFile)(LPSTREAM pStream, BOOL fSaveMemCopy, LONG* pCbSize) PURE;
  STDMETHOD(get_Attributes)(DWORD* pDwAttr) PURE;

 protected:
  ~IPicture() = default;
};
typedef IPicture* LPPICTURE;

DEFINE_GUID(IID_IPicture, 0x7BF80980, 0xBF32, 0x101A, 0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB);

// Reads lSize bytes of the stream (to its end when 0) and makes a picture of them. Metafiles and
// anything not a picture of the formats above fail with CTL_E_INVALIDPICTURE; an interface other
// than IPicture or IUnknown with E_NOINTERFACE.
HRESULT OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL fRunmode, REFIID riid, LPVOID* lplpvObj);

namespace brambolt::ole {
// Whether a picture OleLoadPicture made came from a file cut short: it holds what the file has,
// and the rest of it is blank.
bool IsPictureIncomplete(IPicture* picture);
}  // namespace brambolt::ole

// A stream over a global memory block (a new one when hGlobal is null) that grows as it is
// written; the block is freed with the stream when fDeleteOnRelease.
HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm);
HRESULT GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal);
