// SECIcon: loading an icon resource at a size and drawing it.
#include "foundation/SECIcon.h"

#include "afx/AfxResources.h"
#include "afx/CDC.h"
#include "afx/GdiObjects.h"
#include "afx/ResourceImages.h"

IMPLEMENT_DYNAMIC(SECIcon, CObject)

BOOL SECIcon::LoadIcon(UINT nResourceId, int cx, int cy) {
  return LoadIcon(MAKEINTRESOURCE(LOWORD(nResourceId)), cx, cy);
}

BOOL SECIcon::LoadIcon(LPCTSTR lpszName, int cx, int cy) {
  HICON icon = static_cast<HICON>(LoadImage(AfxGetResourceHandle(), lpszName, IMAGE_ICON, cx, cy, 0));
  if (icon == nullptr) return FALSE;
  m_hIcon = icon;
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    m_nWidth = static_cast<int>(info.xHotspot) * 2;
    m_nHeight = static_cast<int>(info.yHotspot) * 2;
    // GetIconInfo hands out copies of the icon's bitmaps.
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  }
  m_nWidth = cx;
  m_nHeight = cy;
  return TRUE;
}

void SECIcon::Draw(CDC* pDC, int x, int y, int cx, int cy, CBrush* pBrush) {
  HBRUSH brush = pBrush != nullptr ? static_cast<HBRUSH>(pBrush->GetSafeHandle()) : nullptr;
  DrawIconEx(pDC->GetSafeHdc(), x, y, m_hIcon, cx, cy, 0, brush, DI_NORMAL);
}

void SECIcon::Draw(CDC* pDC, int x, int y, CBrush* pBrush) { Draw(pDC, x, y, m_nWidth, m_nHeight, pBrush); }
