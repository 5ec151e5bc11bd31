// CStatusBar: the frame's status line over the status-bar control, one pane per indicator, the
// first stretching over what the others leave; CStatusCmdUI, the update of one pane. CDialogBar:
// a control bar made from a dialog template, as large as the dialog.
#pragma once

#include <vector>

#include "afx/AfxCommonControls.h"
#include "afx/CControlBar.h"

// Pane styles: the SBT_ drawing in the low word, and the framework's own.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

struct AFX_STATUSPANE {
  UINT nID = 0;
  UINT nStyle = SBPS_NORMAL;
  UINT nFlags = 0;  // SBPF_UPDATE: the text still has to reach the control
  int cxText = 0;   // the width of the text
  CString strText;
};
#define SBPF_UPDATE 0x0001

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)

 public:
  CStatusBar();
  ~CStatusBar() override;

  using CControlBar::Create;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  // dwCtrlStyle: SBARS_SIZEGRIP (given by default when the parent can be sized).
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
  // One pane per id, its text the string of that id (its width the text's); ID_SEPARATOR (0)
  // makes a pane for text set later, the first one stretching.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  void GetPaneText(int nIndex, CString& rString) const;
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  // The bar is the status-bar control itself: its messages through the control's object.
  CStatusBarCtrl& GetStatusBarCtrl() const { return *reinterpret_cast<CStatusBarCtrl*>(const_cast<CStatusBar*>(this)); }
  // An owner-drawn pane (SBPS_OWNERDRAW) is drawn here.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void DoPaint(CDC*) override {}
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // Places the panes (bUpdateRects) and passes pending texts to the control (bUpdateText).
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

  int m_nMinHeight = 0;

 protected:
  AFX_STATUSPANE* _GetPanePtr(int nIndex) const;
  std::vector<AFX_STATUSPANE> m_panes;
  // Whether the panes' command UI ran before the first paint.
  bool m_bPanesUpdated = false;

  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The update of one pane: disabled hides its text, checked raises it, SetText sets it.
class CStatusCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetText(LPCTSTR lpszText) override;
};

class CDialogBar : public CControlBar {
  DECLARE_DYNAMIC(CDialogBar)

 public:
  CDialogBar();
  ~CDialogBar() override;

  // The bar is the dialog of the template (which must be a hidden child): id nID, CBRS_ styles
  // from nStyle, dialog-init data run.
  using CControlBar::Create;
  BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID);
  BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
    return Create(pParentWnd, MAKEINTRESOURCE(nIDTemplate), nStyle, nID);
  }
  // The dialog's size in every position; stretched along its edge when asked.
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  CSize m_sizeDefault{0, 0};
  LPCTSTR m_lpszTemplateName = nullptr;
};
