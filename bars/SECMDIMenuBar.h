// SECMDIMenuBar: the menubar of an MDI frame, which also carries a maximised child's system-menu
// button at its left end (SECCapMenuBtn) and its minimise, restore and close buttons at its
// right end (SECBtnCaption); both buttons are members of the bar and never customised.
#pragma once

#include "afx/afx.h"
#include "bars/SECMenuBar.h"
#include "bars/SECTBMenuBtn.h"

class SECBtnCaption : public SECStdBtn {
 public:
  SECBtnCaption();

  void AdjustSize() override;
  void Draw(CDC& dc, SECBtnDrawCache& cache) override;
  BOOL BtnPressed(CPoint point) override;
  void BtnMouseMove(CPoint point) override;
  void BtnCancel() override;
  UINT BtnReleased(CPoint point) override;
  INT_PTR GetToolInfo(CPoint point, TOOLINFO* pTI) const override;
  BOOL CanDrag() const override { return FALSE; }

  // The part under a point: 0 minimise, 1 restore, 2 close, -1 none.
  int HitTestPart(CPoint point) const;
  CRect PartRect(int nPart) const;

  // The active child's WS_SYSMENU, WS_MINIMIZEBOX and WS_MAXIMIZEBOX.
  DWORD m_dwStyleBits = 0xB0000;
  int m_cxPart;
  int m_cyPart;
  int m_nPressed = -1;

 protected:
  int m_nHeld = -1;  // the part the press began on
};

class SECCapMenuBtn : public SECTBMenuBtn {
 public:
  SECCapMenuBtn();

  void AdjustSize() override;
  void Draw(CDC& dc, SECBtnDrawCache& cache) override;
  // Drops the active child's system menu (close as its default item when it has none).
  BOOL BtnPressed(CPoint point) override;
  BOOL CanDrag() const override { return FALSE; }

  HICON m_hIcon = nullptr;
};

class SECMDIMenuBar : public SECMenuBar {
  DECLARE_DYNCREATE(SECMDIMenuBar)

 public:
  SECMDIMenuBar();
  ~SECMDIMenuBar() override;

  // Shows the two buttons for a maximised active child with a system menu (hide FALSE) and hides
  // them otherwise; TRUE when they changed.
  virtual BOOL UpdateMDIButtons(BOOL bHide);
  virtual void SelectMenuButtons(DWORD dwBits);

  // The active child of the frame the bar serves (its dock site, also while it floats in a frame
  // of its own; else the main window), or null.
  CMDIChildWnd* ActiveChild(BOOL* pbMaximized = nullptr) const;

  BOOL SetButtons(const UINT* lpIDArray, int nIDCount) override;
  // Docked along the top or bottom in one row, the bar is as tall as its font (the menu font, the
  // system font when it has none) plus 12.
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  int GetFontHeight() const;
  // A second press on the child's icon within the double-click time of the press that dropped
  // its system menu closes the menu and reaches the bar as the double-click it is.
  BOOL FilterMenuModeMouse(const MSG* pMsg) override;
  void RemoveAllButtons() override;
  // The child's two buttons are not menus: a layout never stores them, nor takes them back from
  // a layout that stored them.
  void InsertButton(int nIndex, UINT nID, BOOL bSeparator = FALSE, BOOL bNoUpdate = FALSE) override;
  void GetBarInfoEx(SECControlBarInfo* pInfo) override;

  SECBtnCaption m_btnCaption;
  SECCapMenuBtn m_btnSysMenu;
  HICON m_hIconLast = nullptr;
  DWORD m_dwPressTick = 0;

 protected:
  BOOL MDIButtonsShown() const { return ButtonToIndex(&m_btnCaption) >= 0; }
  // The two member buttons leave the button list (so the base never deletes them) and come back.
  void TakeOutMDIButtons();
  void PutBackMDIButtons();

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};
