// SECBmpMgr: toolbar bitmaps by command id, loaded small or large (stretched from the small
// images when no large bitmap is given), reloaded when colours or the image mode change.
#include "bars/SECBmpMgr.h"

#include <vector>

#include "widgets/SECLoadSysColorBitmap.h"

IMPLEMENT_DYNAMIC(SECBmpMgr, CObject)

namespace {

void StoreName(LPCTSTR lpszName, CString& strName, UINT_PTR& nName) {
  if (lpszName == nullptr) return;
  if (IS_INTRESOURCE(lpszName))
    nName = reinterpret_cast<UINT_PTR>(lpszName);
  else
    strName = lpszName;
}

}  // namespace

SECBmpMgr::SECBmpMgr() : m_mapImages(10) { m_mapImages.InitHashTable(17); }

SECBmpMgr::~SECBmpMgr() {
  for (INT_PTR i = 0; i < m_arrBmpInfo.GetSize(); ++i) {
    DeleteOwnedBitmaps(*m_arrBmpInfo[i]);
    delete m_arrBmpInfo[i];
  }
}

void SECBmpMgr::Release() {
  if (--m_nRefCount == 0) delete this;
}

BOOL SECBmpMgr::LoadToolBarResource(LPCTSTR lpszSmall, LPCTSTR lpszLarge, BOOL bSysColor) {
  SIZE image;
  std::vector<UINT> ids;
  if (!AfxLoadToolBarResource(lpszSmall, image, ids)) return FALSE;
  if (m_arrBmpInfo.GetSize() == 0) {
    m_sizeImage = image;
    SIZE large;
    std::vector<UINT> largeIds;
    if (lpszLarge != nullptr && AfxLoadToolBarResource(lpszLarge, large, largeIds)) m_sizeLargeImage = large;
  }
  std::erase(ids, 0u);
  BmpInfo* info = AddBmpInfo(ids.data(), static_cast<int>(ids.size()));
  StoreName(lpszSmall, info->m_strSmall, info->m_nSmall);
  StoreName(lpszLarge, info->m_strLarge, info->m_nLarge);
  info->m_bSysColor = bSysColor;
  return LoadBitmaps(*info);
}

BOOL SECBmpMgr::AddToolBarBitmap(HBITMAP hSmall, HBITMAP hLarge, const UINT* lpIDArray, int nIDCount) {
  if (hSmall == nullptr && hLarge == nullptr) return FALSE;
  BmpInfo* info = AddBmpInfo(lpIDArray, nIDCount);
  info->m_hSmall = hSmall;
  info->m_bSmallNotOwned = hSmall != nullptr;
  info->m_hLarge = hLarge;
  info->m_bLargeNotOwned = hLarge != nullptr;
  return LoadBitmaps(*info);
}

SECBmpMgr::BmpInfo* SECBmpMgr::AddBmpInfo(const UINT* lpIDArray, int nIDCount) {
  auto* info = new BmpInfo;
  const int position = static_cast<int>(m_arrBmpInfo.Add(info));
  int image = 0;
  for (int i = 0; i < nIDCount; ++i) {
    const UINT id = lpIDArray[i];
    if (id == 0) continue;
    // The first bitmap that names a command keeps it; the index still counts the image.
    BmpItem item;
    if (!m_mapImages.Lookup(id, item)) {
      item.m_nBmpInfo = position;
      item.m_nImage = image;
      m_mapImages.SetAt(id, item);
    }
    ++image;
  }
  info->m_nCount = image;
  return info;
}

HBITMAP SECBmpMgr::LoadResourceBitmap(LPCTSTR lpszName, BOOL bSysColor) const {
  if (bSysColor) {
    CBitmap bitmap;
    if (!kelpwood::foundation::SECLoadSysColorBitmap(&bitmap, lpszName)) return nullptr;
    return static_cast<HBITMAP>(bitmap.Detach());
  }
  return ::LoadBitmap(AfxFindResourceHandle(lpszName, RT_BITMAP), lpszName);
}

HBITMAP SECBmpMgr::StretchToLarge(HBITMAP hSmall, int nCount) const {
  if (hSmall == nullptr || nCount <= 0) return nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC source = ::CreateCompatibleDC(screen);
  HDC target = ::CreateCompatibleDC(screen);
  HBITMAP large = ::CreateCompatibleBitmap(screen, nCount * m_sizeLargeImage.cx, m_sizeLargeImage.cy);
  if (large != nullptr) {
    HGDIOBJ oldSource = ::SelectObject(source, hSmall);
    HGDIOBJ oldTarget = ::SelectObject(target, large);
    for (int i = 0; i < nCount; ++i)
      ::StretchBlt(target, i * m_sizeLargeImage.cx, 0, m_sizeLargeImage.cx, m_sizeLargeImage.cy, source,
                   i * m_sizeImage.cx, 0, m_sizeImage.cx, m_sizeImage.cy, SRCCOPY);
    ::SelectObject(source, oldSource);
    ::SelectObject(target, oldTarget);
  }
  ::DeleteDC(source);
  ::DeleteDC(target);
  ::ReleaseDC(nullptr, screen);
  return large;
}

BOOL SECBmpMgr::LoadBitmaps(BmpInfo& info) {
  if (info.m_hSmall == nullptr && !info.m_bSmallNotOwned && (info.m_nSmall != 0 || !info.m_strSmall.IsEmpty()))
    info.m_hSmall = LoadResourceBitmap(info.SmallName(), info.m_bSysColor);
  if (m_bSmallImages) return info.m_hSmall != nullptr;
  if (info.m_hLarge == nullptr) {
    if (info.HasLargeName())
      info.m_hLarge = LoadResourceBitmap(info.LargeName(), info.m_bSysColor);
    else
      info.m_hLarge = StretchToLarge(info.m_hSmall, info.m_nCount);
  }
  // Toolbars in large mode need only the large images; menus keep the small ones.
  if (!m_bKeepSmall && !info.m_bSmallNotOwned && info.m_hSmall != nullptr) {
    ::DeleteObject(info.m_hSmall);
    info.m_hSmall = nullptr;
  }
  return info.m_hLarge != nullptr;
}

void SECBmpMgr::DeleteOwnedBitmaps(BmpInfo& info) {
  if (!info.m_bSmallNotOwned && info.m_hSmall != nullptr) ::DeleteObject(info.m_hSmall);
  if (!info.m_bLargeNotOwned && info.m_hLarge != nullptr) ::DeleteObject(info.m_hLarge);
  if (!info.m_bSmallNotOwned) info.m_hSmall = nullptr;
  if (!info.m_bLargeNotOwned) info.m_hLarge = nullptr;
}

BOOL SECBmpMgr::ReloadBitmaps(BOOL bForce) {
  BOOL ok = TRUE;
  for (INT_PTR i = 0; i < m_arrBmpInfo.GetSize(); ++i) {
    BmpInfo& info = *m_arrBmpInfo[i];
    if (bForce) DeleteOwnedBitmaps(info);
    if (!LoadBitmaps(info)) ok = FALSE;
  }
  return ok;
}

void SECBmpMgr::SetSmallImages(BOOL bSmall) {
  if (bSmall == m_bSmallImages) return;
  m_bSmallImages = bSmall;
  ReloadBitmaps(TRUE);
}

void SECBmpMgr::SetKeepSmall(BOOL bKeepSmall) {
  if (bKeepSmall == m_bKeepSmall) return;
  m_bKeepSmall = bKeepSmall;
  ReloadBitmaps(FALSE);
}

BOOL SECBmpMgr::HasImage(UINT nID) const {
  BmpItem item;
  return m_mapImages.Lookup(nID, item);
}

BOOL SECBmpMgr::GetBitmap(UINT nID, HBITMAP& hBmp, UINT& nImage, BOOL bForceSmall) {
  hBmp = nullptr;
  BmpItem item;
  if (!m_mapImages.Lookup(nID, item) || item.m_nBmpInfo < 0 || item.m_nBmpInfo >= m_arrBmpInfo.GetSize())
    return FALSE;
  const BmpInfo& info = *m_arrBmpInfo[item.m_nBmpInfo];
  hBmp = (bForceSmall || m_bSmallImages) ? info.m_hSmall : info.m_hLarge;
  nImage = static_cast<UINT>(item.m_nImage);
  // A bitmap that failed to load gives no image at all rather than an empty handle.
  return hBmp != nullptr;
}
