// SECBmpMenuPlugIn: a plug-in on a frame that turns the text items of its popup menus into
// owner-drawn items showing the command's toolbar image (or a check mark), the label and the
// accelerator text; SECBmpMenuItemInfo, the record of one converted item.
#pragma once

#include "afx/afx.h"
#include "bars/SECBmpMgr.h"
#include "foundation/SECWndPlugIn.h"

class SECBmpMenuItemInfo : public CObject {
  DECLARE_DYNAMIC(SECBmpMenuItemInfo)

 public:
  SECBmpMenuItemInfo(UINT nID, const CString& strText);

  UINT m_nID;
  // The text as the menu had it, with "&" and the tab before the accelerator.
  CString m_strText;
  // The character after the first "&", upper-cased; 0 when there is none.
  TCHAR m_cMnemonic;
};

class SECBmpMenuPlugIn : public kelpwood::foundation::SECWndPlugIn {
  DECLARE_DYNAMIC(SECBmpMenuPlugIn)

 public:
  // One converted popup and the records of its items.
  struct SECBmpMenuInfo {
    HMENU m_hMenu = nullptr;
    CTypedPtrList<CObList, SECBmpMenuItemInfo*> m_items{10};
  };

  // bOwnCheckMark: check marks from the toolkit's own bitmap instead of the system's.
  explicit SECBmpMenuPlugIn(BOOL bOwnCheckMark = FALSE);
  // Turns every owned item still in a menu back into its text item.
  ~SECBmpMenuPlugIn() override;

  // Shares the manager (a reference is taken, the old one released) and keeps its small images.
  void SetBmpMgr(SECBmpMgr* pBmpMgr);
  SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
  // Converts the popup about to open; lParam's high word is TRUE for a system menu (left alone).
  virtual void OnInitMenuPopup(HMENU hMenu, LPARAM lParam);

  // The item's text split at its first tab into the label and the accelerator text.
  static void SplitItemText(const CString& strText, CString& strLabel, CString& strAccel);
  // The first mnemonic character of a text, upper-cased, 0 without one ("&&" is a plain "&").
  static TCHAR MnemonicOf(const CString& strText);

 protected:
  // Forgets menus that no longer exist and items that left their menus.
  virtual void PurgeMenus();
  virtual CFont* GetMenuFont();
  virtual CFont* GetBoldMenuFont();
  // A monochrome mask of one image of a bitmap (1 where the image is); the caller deletes it.
  virtual HBITMAP CreateImageMask(HBITMAP hBmp, UINT nImage, CSize size);
  virtual void DrawTransparent(CDC* pDC, int x, int y, HBITMAP hBmp, UINT nImage, CSize size);
  virtual void DrawDisabled(CDC* pDC, int x, int y, HBITMAP hBmp, UINT nImage, CSize size);
  // The box at the left of an item: the image, or the check mark, with its edge.
  virtual void DrawImageBox(CDC* pDC, const CRect& rcBox, LPDRAWITEMSTRUCT lpDIS, SECBmpMenuItemInfo* pInfo);

  SECBmpMenuItemInfo* FindOwnedItem(HMENU hMenu, ULONG_PTR itemData) const;
  SECBmpMenuInfo* FindMenu(HMENU hMenu) const;
  BOOL IsForeign(UINT nID) const;
  void DrawItemText(CDC* pDC, const CRect& rcText, LPDRAWITEMSTRUCT lpDIS, const CString& strText);
  CSize ImageSize() const;
  static void RefreshColours();

  afx_msg LRESULT OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMeasureItemMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDrawItemMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMenuCharMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUIMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSettingChangeMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSysColorChangeMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CMap<HMENU, HMENU, SECBmpMenuInfo*, SECBmpMenuInfo*> m_mapMenus{10};
  CMap<UINT, UINT, BOOL, BOOL> m_mapForeignIDs{10};
  BOOL m_bOwnCheckMark;
  SECBmpMgr* m_pBmpMgr = nullptr;
  CFont m_fontMenu;
  CFont m_fontBoldMenu;
  HBITMAP m_hCachedBitmap = nullptr;
};
