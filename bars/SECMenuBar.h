// SECMenuBar: the toolbar that stands in for a frame's menu: one menu button per top-level item
// of the frame's menus, of which only the current menu's are shown; the keyboard's and popups'
// side of it is SECMenuBarFeature's.
#pragma once

#include "afx/afx.h"
#include "bars/SECCustomToolBar.h"

class SECMenuBar : public SECCustomToolBar {
  DECLARE_DYNCREATE(SECMenuBar)

 public:
  // Ids of the menu buttons: a running number over all menus.
  static constexpr UINT kFirstButtonID = 0x80000001;
  static constexpr UINT kButtonStyle = 0x30000000;
  // The id SwitchMenu takes for the main window's own menu.
  static constexpr UINT kDefaultMenuID = 20514;

  SECMenuBar();
  ~SECMenuBar() override;

  using SECCustomToolBar::Create;
  using SECCustomToolBar::CreateEx;
  BOOL CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle = nullptr) override;

  // The index of the first shown menu button whose mnemonic is the character, -1 for none.
  virtual int FindMnemonic(TCHAR ch) const;
  // Shows the menu buttons that share a bit with dwBits and hides the others.
  virtual void ShowMenuButtons(DWORD dwBits, BOOL bRedraw);
  // Rebuilds the buttons from the button map and shows the current menu's again.
  virtual void ResetMenus(BOOL bNoRecalc = FALSE);
  // Builds a button per top-level item of the menus (at most 32 menus; a missing one is skipped)
  // and puts them on the bar; FALSE when the menus hold no item.
  virtual BOOL SetMenuInfo(int nCount, const UINT* pMenuIDs);
  // Shows the buttons of a menu by resource id; FALSE when it is not known.
  BOOL SwitchMenu(UINT nMenuID);
  // The next shown menu button from the hot or pressed one (0 left, 1 right); none: the frame's
  // system menu, which lies between the last and the first.
  void NavigateMenus(int nDirection);
  // The hot button's menu (the system menu when none is hot), leaving menu mode.
  void OpenHotMenu();
  void DropSystemMenu();
  HFONT GetMenuFont() const { return m_hMenuFont; }
  void SetSkipNextHide(BOOL bSkip) { m_bSkipNextHide = bSkip; }
  BOOL GetSkipNextHide() const { return m_bSkipNextHide; }
  void SetFullScreen(BOOL bFullScreen) { m_bFullScreen = bFullScreen; }
  DWORD GetCurrentMenuBits() const { return m_dwCurrentBits; }
  UINT GetCurrentMenuID() const { return m_nCurrentMenuID; }
  const CStringArray& GetMenuTexts() const { return m_arrTexts; }

  // The button map of the menus: one entry per top-level item, ended by an empty entry; the
  // texts go to arrTexts (sized before any entry points into it) and each menu's bit to mapBits.
  // Null when no item was found. The caller deletes the table with delete[].
  static SECBtnMapEntry* BuildButtonMap(int nCount, const UINT* pMenuIDs, CStringArray& arrTexts,
                                        CMap<UINT, UINT, DWORD, DWORD>& mapBits, int& nEntries);

  void DelayShow(BOOL bShow) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  // A restored layout rebuilds the buttons of every menu: those of the menu not shown are hidden
  // again.
  void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

 protected:
  void MakeMenuFont();
  afx_msg LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  CMap<UINT, UINT, DWORD, DWORD> m_mapMenuBits{10};
  CStringArray m_arrTexts;
  BOOL m_bFloatingFrame = FALSE;
  HFONT m_hMenuFont = nullptr;
  DWORD m_dwCurrentBits = 0xFFFFFFFF;
  UINT m_nCurrentMenuID = 0;
  BOOL m_bFullScreen = FALSE;
  BOOL m_bSkipNextHide = FALSE;
  std::vector<UINT> m_buttonIDs;
};
