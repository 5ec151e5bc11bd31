// Loading a bitmap resource with its greys mapped to the system colours, through the
// framework's loader (bounded by the resource's size and its real colour-table length).
#include "widgets/SECLoadSysColorBitmap.h"

#include "afx/ResourceImages.h"
#include "base/ByteOrder.h"

namespace kelpwood::foundation {

BOOL SECLoadSysColorBitmap(CBitmap* pBitmap, LPCTSTR lpszResourceName) {
  if (pBitmap == nullptr) return FALSE;
  pBitmap->DeleteObject();
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
  HRSRC hInfo = ::FindResource(hInst, lpszResourceName, RT_BITMAP);
  if (hInfo == nullptr) return FALSE;
  HBITMAP hBitmap = AfxLoadSysColorBitmap(hInst, hInfo);
  if (hBitmap == nullptr) {
    // Deeper than 8 bits per pixel: no table to map.
    const auto* data = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(hInst, hInfo)));
    if (data == nullptr) return FALSE;
    const brambolt::ByteSpan bytes(data, ::SizeofResource(hInst, hInfo));
    constexpr std::size_t kBitCountOffset = 14;  // in BITMAPINFOHEADER
    if (!brambolt::FieldFits(bytes, kBitCountOffset, 2) || brambolt::ReadLE16(bytes, kBitCountOffset) <= 8)
      return FALSE;
    hBitmap = ::LoadBitmap(hInst, lpszResourceName);
  }
  return hBitmap != nullptr && pBitmap->Attach(hBitmap);
}

}  // namespace kelpwood::foundation
