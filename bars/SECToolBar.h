// SECToolBar: the toolkit's plain toolbar. A toolkit control bar (gripper, thin borders, docking,
// row share) around a toolbar control that keeps the buttons, wraps them into rows and draws
// them; SECToolCmdUI, the update of one of its buttons.
#pragma once

#include <memory>
#include <vector>

#include "afx/afx.h"
#include "bars/SECControlBar.h"

// The toolbar control inside an SECToolBar: the framework's toolbar with no borders of its own,
// its buttons' commands going to the bar's owner.
class SECToolBarCtrl : public CToolBar {
 public:
  SECToolBarCtrl();
  // The bar updates the buttons itself.
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  void UpdateButtons(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) { CToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler); }
  CSize Layout(DWORD dwMode, int nLength) { return CalcLayout(dwMode, nLength); }
  CSize Size(TBBUTTON* pData, int nCount) { return CalcSize(pData, nCount); }
  int Wrap(TBBUTTON* pData, int nCount, int nWidth) { return WrapToolBar(pData, nCount, nWidth); }
  void SizeTo(TBBUTTON* pData, int nCount, int nLength, BOOL bVert) { SizeToolBar(pData, nCount, nLength, bVert); }
  std::vector<TBBUTTON>& Buttons() { return m_buttons; }
};

// A button's update: Enable sets TBSTATE_ENABLED (a disabled button loses its press), SetCheck
// 1 checks, 2 makes it indeterminate; the button becomes a check box. The framework's toolbar
// update does exactly this.
using SECToolCmdUI = CToolCmdUI;

class SECToolBar : public SECControlBar {
  DECLARE_DYNCREATE(SECToolBar)

 public:
  SECToolBar();
  ~SECToolBar() override;

  // The common-controls version the toolbar behaves as (major << 16 | minor): 4.71.
  static constexpr DWORD kCommonControlsVersion = 0x40047;
  // A separator's width with that version.
  static constexpr int kSeparatorWidth = 6;

  using SECControlBar::Create;
  BOOL CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext = nullptr) override;
  // The framework's form: control style (TBSTYLE_FLAT...), bar style, the borders around the
  // buttons, id.
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);

  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  // The framework's margins around the buttons; a docked bar with the toolkit's gripper (bit
  // 0x200) has it on the leading edge instead of the leading margin and the framework's gripper.
  using SECControlBar::CalcInsideRect;
  void CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bGripper) const override;
  // A button's rectangle in the bar's client area; empty for no such button.
  virtual void GetItemRect(int nIndex, LPRECT lpRect) const;

  void SetSizes(SIZE sizeButton, SIZE sizeImage);
  void SetOwner(CWnd* pOwnerWnd);
  // The image strip (the bar owns it from now on), or the bitmap resource nIDResource.
  BOOL AddReplaceBitmap(HBITMAP hbmImageWell);
  BOOL LoadBitmap(UINT nIDResource);
  BOOL LoadToolBar(UINT nIDResource);
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
  BOOL GetButton(int nIndex, TBBUTTON* pButton) const;
  BOOL SetButton(int nIndex, const TBBUTTON* pButton);
  UINT GetItemID(int nIndex) const { return m_pCtrl->GetItemID(nIndex); }
  int CommandToIndex(UINT nID) const { return m_pCtrl->CommandToIndex(nID); }
  UINT GetButtonStyle(int nIndex) const { return m_pCtrl->GetButtonStyle(nIndex); }
  void SetButtonStyle(int nIndex, UINT nStyle) { m_pCtrl->SetButtonStyle(nIndex, nStyle); }
  int GetButtonCount() const { return static_cast<int>(m_pCtrl->Buttons().size()); }
  CSize CalcSize(TBBUTTON* pData, int nCount) { return m_pCtrl->Size(pData, nCount); }
  int WrapToolBar(TBBUTTON* pData, int nCount, int nWidth) { return m_pCtrl->Wrap(pData, nCount, nWidth); }
  void SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert = FALSE) {
    m_pCtrl->SizeTo(pData, nCount, nLength, bVert);
  }
  // The bar's size in a layout mode: the control's wrapping for the length (times the row share
  // with LM_STRETCH) inside the bar's margins; LM_COMMIT keeps it as that state's size.
  CSize CalcLayout(DWORD dwMode, int nLength = -1);
  SECToolBarCtrl& GetToolBarCtrl() const { return *m_pCtrl; }

  HINSTANCE m_hInstImageWell = nullptr;
  UINT m_nIDBitmap = 0;
  mutable BOOL m_bDelayedButtonLayout = TRUE;
  BOOL m_bWrapHorzDock = TRUE;
  BOOL m_bWrapVertDock = TRUE;
  BOOL m_bWrapFloat = TRUE;
  CSize m_sizeImage{16, 15};
  CSize m_sizeButton{23, 22};

 protected:
  // Every state wraps anew at its next size query.
  void MarkLayoutDirty();
  // The control fills the client area, the inside of the bar.
  void PlaceControl();
  BOOL LaysOutHorizontally() const { return (m_dwStyle & (CBRS_ORIENT_HORZ | CBRS_FLOATING)) != 0; }

  // The borders, the gripper and the margins lie outside the client area, which the toolbar
  // control fills; the whole bar answers as client area, so that it drags from anywhere.
  void DoPaint(CDC*) override {}
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSysColorChange();
  // TB_SETBUTTONSIZE and TB_SETBITMAPSIZE: a positive size (low word width, high word height)
  // becomes the bar's button or image size, and the bar wraps anew; TRUE when it was taken.
  afx_msg LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // Either size message: the button size (bButton) or the image size from its argument.
  LRESULT TakeSizeMessage(LPARAM lParam, BOOL bButton);

  std::unique_ptr<SECToolBarCtrl> m_pCtrl;
};
