// SECBmpMgr: the toolbar images of a frame by command id, shared (reference-counted) by the
// toolbar manager, its toolbars and the bitmap menus.
#pragma once

#include "afx/afx.h"

class SECBmpMgr : public CObject {
  DECLARE_DYNAMIC(SECBmpMgr)

 public:
  // Where a command's image lies: the bitmap's position in the list, the image within it.
  struct BmpItem {
    int m_nBmpInfo = -1;
    int m_nImage = -1;
  };
  // One toolbar bitmap in its small and large forms. Resource names that are numbers are kept as
  // numbers, others as copies of the text.
  struct BmpInfo {
    CString m_strSmall;
    UINT_PTR m_nSmall = 0;
    CString m_strLarge;
    UINT_PTR m_nLarge = 0;
    HBITMAP m_hSmall = nullptr;
    HBITMAP m_hLarge = nullptr;
    int m_nCount = 0;
    BOOL m_bSysColor = TRUE;
    BOOL m_bSmallNotOwned = FALSE;
    BOOL m_bLargeNotOwned = FALSE;
    LPCTSTR SmallName() const { return m_nSmall != 0 ? MAKEINTRESOURCE(m_nSmall) : static_cast<LPCTSTR>(m_strSmall); }
    LPCTSTR LargeName() const { return m_nLarge != 0 ? MAKEINTRESOURCE(m_nLarge) : static_cast<LPCTSTR>(m_strLarge); }
    BOOL HasLargeName() const { return m_nLarge != 0 || !m_strLarge.IsEmpty(); }
  };

  SECBmpMgr();
  ~SECBmpMgr() override;
  SECBmpMgr(const SECBmpMgr&) = delete;
  SECBmpMgr& operator=(const SECBmpMgr&) = delete;

  // Adds the bitmap of a toolbar resource under the resource's command ids (separators left
  // out). The first resource loaded sets the image sizes. FALSE when the resource is missing
  // (nothing is added) or its bitmap cannot be loaded (the ids stay mapped, without an image).
  virtual BOOL LoadToolBarResource(LPCTSTR lpszSmall, LPCTSTR lpszLarge = nullptr, BOOL bSysColor = TRUE);
  BOOL LoadToolBarResource(UINT nSmall, UINT nLarge = 0, BOOL bSysColor = TRUE) {
    return LoadToolBarResource(MAKEINTRESOURCE(nSmall), nLarge != 0 ? MAKEINTRESOURCE(nLarge) : nullptr,
                               bSysColor);
  }
  // Adds bitmaps the caller keeps owning (never deleted or reloaded here); a null large handle
  // makes the large images by stretching the small ones when they are needed.
  virtual BOOL AddToolBarBitmap(HBITMAP hSmall, HBITMAP hLarge, const UINT* lpIDArray, int nIDCount);
  // The bitmap and image index of a command: the small bitmap when forced or in small-image mode,
  // else the large one. FALSE when the command has no image or its bitmap is not loaded.
  virtual BOOL GetBitmap(UINT nID, HBITMAP& hBmp, UINT& nImage, BOOL bForceSmall = FALSE);
  // Loads every bitmap again; with bForce the owned bitmaps are deleted and reloaded even when
  // present (system colours changed).
  virtual BOOL ReloadBitmaps(BOOL bForce);
  void SetSmallImages(BOOL bSmall);
  BOOL GetSmallImages() const { return m_bSmallImages; }
  // Keeps the small bitmaps in large-image mode too, for menus.
  void SetKeepSmall(BOOL bKeepSmall);
  BOOL GetKeepSmall() const { return m_bKeepSmall; }
  void SetImageSize(int cx, int cy) { m_sizeImage = CSize(cx, cy); }
  CSize GetImageSize() const { return m_sizeImage; }
  CSize GetLargeImageSize() const { return m_sizeLargeImage; }
  // The size of the images GetBitmap gives without forcing small ones.
  CSize GetCurrentImageSize() const { return m_bSmallImages ? m_sizeImage : m_sizeLargeImage; }
  BOOL HasImage(UINT nID) const;

  void AddRef() { ++m_nRefCount; }
  // Deletes the object when the last holder lets go.
  void Release();
  int GetRefCount() const { return m_nRefCount; }

 protected:
  BmpInfo* AddBmpInfo(const UINT* lpIDArray, int nIDCount);
  BOOL LoadBitmaps(BmpInfo& info);
  void DeleteOwnedBitmaps(BmpInfo& info);
  HBITMAP LoadResourceBitmap(LPCTSTR lpszName, BOOL bSysColor) const;
  HBITMAP StretchToLarge(HBITMAP hSmall, int nCount) const;

  CMap<UINT, UINT, BmpItem, BmpItem&> m_mapImages;
  CTypedPtrArray<CPtrArray, BmpInfo*> m_arrBmpInfo;
  CSize m_sizeImage{16, 15};
  CSize m_sizeLargeImage{22, 24};
  BOOL m_bSmallImages = TRUE;
  BOOL m_bKeepSmall = FALSE;
  int m_nRefCount = 1;
};
