// The surfaces toolbar buttons draw through, and the dither brush of checked faces.
#include "bars/SECBtnDrawCache.h"

#include "gdi/ClassicLook.h"

HBRUSH SECCreateDitherBrush() {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
    DWORD rows[8];
  } dib{};
  dib.header.biSize = sizeof(BITMAPINFOHEADER);
  dib.header.biWidth = 8;
  dib.header.biHeight = 8;
  dib.header.biPlanes = 1;
  dib.header.biBitCount = 1;
  const COLORREF colors[2] = {::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNHIGHLIGHT)};
  for (int i = 0; i < 2; ++i) {
    dib.colors[i].rgbRed = GetRValue(colors[i]);
    dib.colors[i].rgbGreen = GetGValue(colors[i]);
    dib.colors[i].rgbBlue = GetBValue(colors[i]);
  }
  for (int row = 0; row < 8; ++row) dib.rows[row] = (row % 2 == 0) ? 0x5555AAAAu : 0xAAAA5555u;
  return ::CreateDIBPatternBrushPt(&dib, DIB_RGB_COLORS);
}

SECBtnDrawCache::SECBtnDrawCache() {
  m_dcImage.CreateCompatibleDC(nullptr);
  m_dcMask.CreateCompatibleDC(nullptr);
  m_dcWork.CreateCompatibleDC(nullptr);
  m_hDitherBrush = SECCreateDitherBrush();
}

SECBtnDrawCache::~SECBtnDrawCache() {
  Release();
  SelectImage(nullptr);
  if (m_hDitherBrush != nullptr) ::DeleteObject(m_hDitherBrush);
}

void SECBtnDrawCache::SysColorChange() {
  if (m_hDitherBrush != nullptr) ::DeleteObject(m_hDitherBrush);
  m_hDitherBrush = SECCreateDitherBrush();
}

BOOL SECBtnDrawCache::Prepare(CDC* pDC, int cx, int cy) {
  Release();
  if (cx <= 0 || cy <= 0) return FALSE;
  m_hbmWork = ::CreateCompatibleBitmap(pDC->GetSafeHdc(), cx, cy);
  m_hbmMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
  if (m_hbmWork == nullptr || m_hbmMask == nullptr) {
    FreeBitmaps();
    return FALSE;
  }
  m_hbmOldWork = ::SelectObject(m_dcWork.GetSafeHdc(), m_hbmWork);
  m_hbmOldMask = ::SelectObject(m_dcMask.GetSafeHdc(), m_hbmMask);
  m_sizeWork = CSize(cx, cy);
  return TRUE;
}

void SECBtnDrawCache::Release() {
  if (m_hbmOldWork != nullptr) ::SelectObject(m_dcWork.GetSafeHdc(), m_hbmOldWork);
  if (m_hbmOldMask != nullptr) ::SelectObject(m_dcMask.GetSafeHdc(), m_hbmOldMask);
  m_hbmOldWork = m_hbmOldMask = nullptr;
  FreeBitmaps();
  m_sizeWork = CSize(0, 0);
}

void SECBtnDrawCache::FreeBitmaps() {
  if (m_hbmWork != nullptr) ::DeleteObject(m_hbmWork);
  if (m_hbmMask != nullptr) ::DeleteObject(m_hbmMask);
  m_hbmWork = m_hbmMask = nullptr;
}

void SECBtnDrawCache::SelectImage(HBITMAP hbm) {
  if (hbm == m_hbmImage) return;
  if (m_hbmOldImage != nullptr) ::SelectObject(m_dcImage.GetSafeHdc(), m_hbmOldImage);
  m_hbmOldImage = nullptr;
  m_hbmImage = hbm;
  if (hbm != nullptr) m_hbmOldImage = ::SelectObject(m_dcImage.GetSafeHdc(), hbm);
}

void SECBtnDrawCache::MakeMask(int xSrc, int ySrc, int cx, int cy) {
  HDC image = m_dcImage.GetSafeHdc();
  HDC mask = m_dcMask.GetSafeHdc();
  // A colour-to-monochrome copy gives 1 where the pixel is the background colour: the face and
  // the highlight are background, the rest is the image, which the inversion leaves at 1.
  const COLORREF oldBk = ::SetBkColor(image, ::GetSysColor(COLOR_BTNFACE));
  ::BitBlt(mask, 0, 0, cx, cy, image, xSrc, ySrc, SRCCOPY);
  ::SetBkColor(image, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  ::BitBlt(mask, 0, 0, cx, cy, image, xSrc, ySrc, SRCPAINT);
  ::SetBkColor(image, oldBk);
  ::PatBlt(mask, 0, 0, cx, cy, DSTINVERT);
}

void SECBtnDrawCache::DrawMaskEmbossed(int x, int y, int cx, int cy) {
  if (m_hbmMask == nullptr) return;
  // The painter selects the mask into a DC of its own, so it leaves ours for the while.
  ::SelectObject(m_dcMask.GetSafeHdc(), m_hbmOldMask);
  brambolt::DrawEmbossedMask(m_dcWork.GetSafeHdc(), m_hbmMask, x, y, cx, cy);
  ::SelectObject(m_dcMask.GetSafeHdc(), m_hbmMask);
}
