// SECControlBar: the toolkit's dockable control bar (a size per docking state, a share of its
// dock row, a gripper with close and expand buttons, a right-click menu, proportional layout of
// its children); SECGripperInfo, the gripper's sizes and tool-tip texts.
#pragma once

#include <vector>

#include "afx/afx.h"
#include "bars/SECBarStyles.h"

class SECControlBarManager;
class SECControlBarInfo;
class SECDockBar;

class SECGripperInfo : public CObject {
  DECLARE_DYNAMIC(SECGripperInfo)

 public:
  SECGripperInfo();
  // The gripper's extent across a horizontal bar (sum of the widths) and a vertical one.
  virtual int GetWidth() const;
  virtual int GetHeight() const;

  int m_cxWidths[5] = {4, 3, 1, 3, 6};
  int m_cyHeights[5] = {4, 3, 1, 3, 6};
  int m_nMargin = 3;
  CString m_strHide;
  CString m_strExpand;
  CString m_strContract;
};

class SECControlBar : public CControlBar {
  DECLARE_DYNCREATE(SECControlBar)

 public:
  SECControlBar();
  ~SECControlBar() override;

  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void DoPaint(CDC* pDC) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  CDockContext* CreateDockContext() override;
  void CalcInsideRect(CRect& rect, BOOL bHorz) const override { CalcInsideRect(rect, bHorz, TRUE); }
  void GetBarInfo(CControlBarInfo* pInfo) override;
  void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

  // ---- own virtual operations ----
  using CControlBar::Create;
  virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                      DWORD dwExStyle = 0, UINT nID = AFX_IDW_CONTROLBAR_FIRST, CCreateContext* pContext = nullptr);
  virtual BOOL CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                        const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext = nullptr);
  // The client area less the gripper (docked) or the inner margins.
  virtual void GetInsideRect(CRect& rectInside) const;
  // While floating, the frame's border follows bit 0x4; bit 0x2 makes or frees the child list;
  // bRecalc lays the bar out again when the style changed.
  virtual void SetExBarStyle(DWORD dwExStyle, BOOL bRecalc = TRUE);
  virtual void ModifyExBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRecalc = TRUE);
  void DrawBorders(CDC* pDC, CRect& rect) override;
  virtual void GetBarInfo(SECControlBarInfo* pInfo);
  // Without thin borders the framework's inside; with them a pixel per bordered side, then the
  // gripper (bGripper, docked) or the left margin, and the other margins.
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bGripper) const;
  // Hooks the frames call around docking, floating and floating in the main window.
  virtual void OnBarDock();
  virtual void OnBarDockHook() {}
  virtual void OnBarDockReserved() {}
  virtual void OnBarFloat();
  virtual void OnBarFloatHook() {}
  virtual void OnBarFloatReserved() {}
  virtual void OnBarMDIFloat();
  virtual void OnBarMDIFloatHook() {}
  virtual void OnBarMDIFloatReserved() {}
  // The saved layout's extension: GetBarInfo calls the first last; SetBarInfo the second when
  // the record carries an extension object.
  virtual void GetBarInfoEx(SECControlBarInfo* pInfo);
  virtual void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
  virtual void OnExtendContextMenu(CMenu* pMenu);
  virtual BOOL CanPressCloseButton() { return TRUE; }
  virtual BOOL CanPressExpandButton() { return TRUE; }
  // Adds the gripper's extent to size (across the leading edge); returns the amount.
  virtual int AddGripperExtent(CSize& size, BOOL bHorz) const;
  void DrawGripper(CDC* pDC, const CRect& rect) override;
  virtual void PlaceCloseButton(CDC* pDC, CRect& rectStrip, BOOL bHorz);
  virtual void DrawCloseButtonPressed(CDC* pDC);
  virtual void DrawCloseButton(CDC* pDC);
  virtual void PlaceExpandButton(CDC* pDC, CRect& rectStrip, BOOL bHorz);
  virtual void DrawExpandButtonPressed(CDC* pDC);
  virtual void DrawExpandButton(CDC* pDC);
  // Expand direction and enabling from the dock bar's view of the bar's row.
  virtual void UpdateExpandState(BOOL bHorz);

  // Restores the bar from a saved record (a dock bar hands on to its own restore).
  void SetBarInfo(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
  // Draws the borders around the client area and erases the background.
  void EraseNonClient();
  // The window DC's non-client area: the client area clipped away, rect the whole window from (0, 0).
  void ClipToNonClient(CDC& dc, CRect& rect) const;
  // Where the client area starts in the window's own coordinates.
  CPoint ClientOrigin() const;

  DWORD GetExBarStyle() const { return m_dwExStyle; }
  BOOL IsDocked() const { return m_pDockBar != nullptr && !IsFloating(); }
  // The dock bar holding the bar when it is one of the toolkit's.
  SECDockBar* GetSECDockBar() const;
  // TRUE while the bar floats inside the main window (its dock bar was made for that).
  BOOL IsMDIChild() const;
  // The child list made now from the current client area and children (bit 0x2).
  void RecordChildren();

  CSize m_szHorzDock{SEC_DEFAULT_BAR_CX, SEC_DEFAULT_BAR_CY};
  CSize m_szVertDock{SEC_DEFAULT_BAR_CX, SEC_DEFAULT_BAR_CY};
  CSize m_szFloat{SEC_DEFAULT_BAR_CX, SEC_DEFAULT_BAR_CY};
  DWORD m_dwMRUDockingState = 0;  // the docking sides kept while "Allow Docking" is off
  float m_fPctWidth = 1.0f;       // share of the dock row
  float m_fSavedPctWidth = 1.0f;  // share kept while the bar is away from its row
  DWORD m_dwExStyle = 0;
  CRect m_rcInnerMargins{10, 10, 10, 10};
  SECControlBarManager* m_pManager = nullptr;
  SECGripperInfo m_gripper;
  CRect m_rectClose;
  BOOL m_bClosePressed = FALSE;
  CRect m_rectExpand;
  BOOL m_bExpandPressed = FALSE;
  BOOL m_bExpandEnabled = TRUE;
  BOOL m_bExpandDirection = TRUE;  // TRUE: the button expands, FALSE: it contracts the row
  BOOL m_bExpandHorz = TRUE;
  // Child list (bit 0x2): the client rectangle when it was made, then each child and its place.
  struct ChildPlace {
    HWND hWnd;
    CRect rect;
  };
  bool m_bChildrenRecorded = false;
  CRect m_rectChildrenClient;
  std::vector<ChildPlace> m_children;
  HWND m_hWndRedrawChild = nullptr;

 protected:
  // The inside area of a client area of size (cx, cy), as WM_SIZE places children in it.
  CRect InsideArea(int cx, int cy) const;
  BOOL GripperShown() const;
  // Borders of nBorder pixels on each bordered side, then the gripper's extent (bGripper, shown)
  // or the leading margin, and the other margins.
  void InsetBordersAndGripper(CRect& rect, BOOL bHorz, BOOL bGripper, int nBorder) const;
  BOOL IsHorzDocked() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  void RedrawButtons();
  // Whether a press at a client point is on a pressed-able gripper button.
  BOOL OnCloseButton(CPoint point) const;
  BOOL OnExpandButton(CPoint point) const;
  // Outside a CMiniDockFrameWnd a floating bar leaves mouse presses to default handling.
  BOOL FloatsOutsideDockFrame() const;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnHide();
  afx_msg void OnAllowDocking();
  afx_msg void OnFloatInMainWindow();
  DECLARE_MESSAGE_MAP()
};
