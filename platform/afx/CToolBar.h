// CToolBar: a control bar of buttons with images from one bitmap strip and optional texts, drawn
// by the bar itself in the flat or raised look, with drop-down buttons, wrapping into rows when
// docked upright or floating; CToolBarCtrl, its messages through an object; CToolCmdUI, the
// update of one of its buttons.
#pragma once

#include <vector>

#include "afx/CControlBar.h"

// Button styles of GetButtonStyle/SetButtonStyle: the TBSTYLE_ value in the low word, the
// TBSTATE_ value in the high word (TBBS_DISABLED standing for "not enabled").
#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_DROPDOWN MAKELONG(TBSTYLE_DROPDOWN, 0)
#define TBBS_AUTOSIZE MAKELONG(TBSTYLE_AUTOSIZE, 0)
#define TBBS_NOPREFIX MAKELONG(TBSTYLE_NOPREFIX, 0)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_HIDDEN MAKELONG(0, TBSTATE_HIDDEN)
#define TBBS_WRAPPED MAKELONG(0, TBSTATE_WRAP)
#define TBBS_ELLIPSES MAKELONG(0, TBSTATE_ELLIPSES)
#define TBBS_MARKED MAKELONG(0, TBSTATE_MARKED)

// Reads a toolbar resource (RT_TOOLBAR): its image size and its commands, 0 for separators.
// FALSE when it is missing, cut short or names an image larger than 256 pixels.
BOOL AfxLoadToolBarResource(LPCTSTR lpszResourceName, SIZE& sizeImage, std::vector<UINT>& ids);

class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)

 public:
  CToolBar();
  ~CToolBar() override;

  using CControlBar::Create;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
  // dwCtrlStyle: TBSTYLE_FLAT for the flat look; rcBorders: the bar's four inner borders.
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                UINT nID = AFX_IDW_TOOLBAR);

  // Button size (image plus edges) and image size; the button must be at least 7 x 6 larger.
  void SetSizes(SIZE sizeButton, SIZE sizeImage);
  // The height of the bar docked horizontally (the buttons centred in it).
  void SetHeight(int cyHeight);
  // A toolbar resource: image size, the commands with 0 for separators, and the bitmap of the
  // same name.
  BOOL LoadToolBar(LPCTSTR lpszResourceName);
  BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
  BOOL LoadBitmap(LPCTSTR lpszResourceName);
  BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
  // The strip of images, one m_sizeImage wide each; the bar owns it from now on.
  BOOL SetBitmap(HBITMAP hbmImageWell);
  // One button per id, images in order; ID_SEPARATOR (0) makes a separator. A null array makes
  // nIDCount empty separators to fill with SetButtonInfo.
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

  int GetCount() const { return static_cast<int>(m_buttons.size()); }
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  virtual void GetItemRect(int nIndex, LPRECT lpRect) const;
  UINT GetButtonStyle(int nIndex) const;
  void SetButtonStyle(int nIndex, UINT nStyle);
  void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
  void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
  DWORD GetToolBarCtrlStyle() const { return m_dwCtrlStyle; }
  void SetToolBarCtrlStyle(DWORD dwStyle);
  // A text under the button's image (to its right with TBSTYLE_LIST); the buttons grow to fit
  // the longest text. FALSE for an index out of range.
  BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
  CString GetButtonText(int nIndex) const;
  void GetButtonText(int nIndex, CString& rString) const { rString = GetButtonText(nIndex); }
  // The bar answers the toolbar control's messages it has a meaning for (TB_SETEXTENDEDSTYLE,
  // TB_GETITEMRECT, ...): CToolBarCtrl sends them.
  class CToolBarCtrl& GetToolBarCtrl() const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  void DoPaint(CDC* pDC) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;

  CSize m_sizeButton{23, 22};
  CSize m_sizeImage{16, 15};
  HBITMAP m_hbmImageWell = nullptr;

 protected:
  // The size of the buttons laid out with their wrap marks.
  CSize CalcSize(TBBUTTON* pData, int nCount);
  // Marks the buttons that end a row for rows of nWidth at most (wrapping after separators
  // first); returns the number of rows.
  int WrapToolBar(TBBUTTON* pData, int nCount, int nWidth);
  // Wraps to the fewest rows a length allows (bVert: nLength is the height).
  void SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert = FALSE);
  // The bar's size in a layout mode; with LM_COMMIT the wrapping is kept.
  CSize CalcLayout(DWORD nMode, int nLength = -1);
  // The button under a client point, -1 for none.
  int HitTestButton(CPoint point) const;

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetExtendedStyle(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetExtendedStyle(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnButtonCount(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetItemRect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetRect(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  std::vector<TBBUTTON> m_buttons;
  std::vector<CString> m_texts;  // one per button, empty for none
  DWORD m_dwExStyle = 0;         // TBSTYLE_EX_ styles
  DWORD m_dwCtrlStyle = 0;
  int m_cyHeight = -1;   // SetHeight's height, -1 for the buttons' own
  int m_nHot = -1;       // the button under the mouse (flat look)
  int m_nPressed = -1;   // the button held down
  HBITMAP m_hbmMask = nullptr;  // 1 where the images are drawn (made on first use)

 private:
  void InvalidateButton(int nIndex);
  // A button's width along its row: a separator's own, a drop-down's with its arrow.
  int ButtonWidth(const TBBUTTON& button) const;
  bool HasDropArrow(const TBBUTTON& button) const;
  // The buttons made large enough for the longest text.
  void FitButtonsToTexts();
  // Tells the owner a drop-down button was pressed (TBN_DROPDOWN); its answer.
  LRESULT DropDown(int nIndex);
  void DrawButton(CDC* pDC, int nIndex, const CRect& rect);
  HBITMAP ImageMask();
  void Click(int nIndex);
  // The wrapping for where the bar is now, kept (LM_COMMIT).
  void CommitLayout();
};

// The update of one toolbar button: enabled, checked (2: indeterminate), text ignored.
class CToolCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetText(LPCTSTR) override {}
};

// The bar's toolbar-control messages through an object: GetToolBarCtrl answers the bar itself.
class CToolBarCtrl : public CWnd {
 public:
  DWORD SetExtendedStyle(DWORD dwExStyle) { return static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, static_cast<LPARAM>(dwExStyle))); }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(::SendMessage(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0)); }
  int GetButtonCount() const { return static_cast<int>(::SendMessage(m_hWnd, TB_BUTTONCOUNT, 0, 0)); }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
    return static_cast<BOOL>(::SendMessage(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
  }
  BOOL GetRect(int nID, LPRECT lpRect) const {
    return static_cast<BOOL>(::SendMessage(m_hWnd, TB_GETRECT, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(lpRect)));
  }
};

inline CToolBarCtrl& CToolBar::GetToolBarCtrl() const {
  return *reinterpret_cast<CToolBarCtrl*>(const_cast<CToolBar*>(this));
}
