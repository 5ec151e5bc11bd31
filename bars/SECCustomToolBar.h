// SECCustomToolBar: the toolbar that draws and hit-tests its own button objects, lays them out in
// rows, tracks the mouse over them, routes their commands and tips to its owner, and accepts
// button drags while its manager is in customise mode; SECCustomizeToolBar, the same bar as the
// customise page shows it. The registered messages the command bars talk through.
//
// Files: SECCustomToolBar.cpp (creation, buttons, styles, messages), SECCustomToolBarPaint.cpp
// (layout and painting), SECCustomToolBarMouse.cpp (mouse, hot tracking, menu mode, drops).
#pragma once

#include "bars/SECControlBar.h"
#include "bars/SECCustomToolBarLayout.h"
#include "bars/SECStdBtn.h"

class SECBmpMgr;
class SECBtnDrawCache;
class SECToolBarManager;

// "WM_BARNOTIFY": wParam the bar id, lParam one of the codes below; sent through the manager.
extern const UINT wmSECBarNotify;
// "WM_NODELAYHIDE": a floating bar posts it to itself to hide at once in customise mode.
extern const UINT wmSECNoDelayHide;
enum SECBarNotifyCode { SEC_BAR_SHOWN = 0, SEC_BAR_HIDDEN = 1, SEC_BAR_CREATED = 2, SEC_BAR_DESTROYED = 3,
                        SEC_BAR_SELCHANGE = 4 };

// The notifications of menu mode (WM_NOTIFY codes sent to the owner).
constexpr int SEC_TBN_DROPMENU = -2120;
constexpr int SEC_TBN_CLOSEMENU = -2121;
constexpr int SEC_TBN_ENTERMENUMODE = -2122;
constexpr int SEC_TBN_EXITMENUMODE = -2123;

// Bar ids: the first default toolbar, the bars the user creates, the menubar.
constexpr UINT SEC_IDW_FIRST_USER_TOOLBAR = 59424;
constexpr UINT SEC_IDW_LAST_USER_TOOLBAR = 59646;
constexpr UINT SEC_IDW_MENUBAR = 59647;

// Set while a button is moved with Alt outside customise mode.
BOOL SECIsAltDragInProgress();
void SECSetAltDragInProgress(BOOL bInProgress);

class SECCustomToolBar : public SECControlBar {
  DECLARE_DYNCREATE(SECCustomToolBar)

 public:
  using SECBtnArray = CTypedPtrArray<CPtrArray, SECStdBtn*>;
  // The timer that repeats the hot-tracking test while a button is hot.
  static constexpr UINT_PTR kHotTimer = 57346;

  SECCustomToolBar();
  ~SECCustomToolBar() override;

  using SECControlBar::Create;
  using SECControlBar::CreateEx;
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle = nullptr);
  // Takes the button out; FALSE when the index is out of range or no buttons remain. A bar the
  // user created that is left empty destroys itself once the message being handled returns.
  virtual BOOL RemoveButton(int nIndex, BOOL bNoUpdate = FALSE);
  virtual void InsertButton(int nIndex, UINT nID, BOOL bSeparator = FALSE, BOOL bNoUpdate = FALSE);
  virtual int GetImageIndex(UINT nID, BOOL* pbFound = nullptr) const;
  virtual void RecalcButtonSizes();
  // A floating bar's frame takes the shape of the buttons now shown (the main frame's layout does
  // not reach it); FALSE when the bar does not float.
  BOOL LayOutFloatingFrame();
  // One button per id (0: a separator) in place of all buttons.
  virtual BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
  virtual void SizeToParent();
  virtual void DropDownButton(SECStdBtn* pBtn, LPARAM lParam1, LPARAM lParam2);
  virtual void OpenMenuButton(int nIndex);
  virtual void EnterMenuMode(int nIndex);
  virtual void EnterMenuModeAt(CPoint point);
  virtual void ExitMenuMode();
  virtual BOOL InMenuMode() const { return m_bMenuMode; }
  virtual int GetFirstMenuButton() const;
  virtual int GetLastMenuButton() const;
  virtual int GetFirstTopMenuButton() const;
  virtual int GetNextMenuButton(BOOL bForward) const;
  virtual HFONT GetBarFont() const { return m_hBarFont; }
  virtual void BalanceRows(std::vector<brambolt::toolbar::LayoutRow>& rows);
  virtual BOOL IsCopyDrag() const;
  virtual BOOL CanDropButtons() const { return TRUE; }
  virtual void RemoveAllButtons();
  virtual BOOL IsCoolLook() const { return (GetExBarStyle() & CBRS_EX_THIN_BORDERS) != 0; }
  virtual int GetImageWidth() const;
  virtual int GetImageHeight() const;
  virtual int GetButtonWidth() const { return GetImageWidth() + 7; }
  virtual int GetButtonHeight() const { return GetImageHeight() + 7; }
  virtual int GetSeparatorWidth() const { return (GetImageWidth() + 8) / 3; }
  virtual int GetSeparatorHeight() const { return GetButtonHeight(); }
  virtual BOOL FilterMenuModeMouse(const MSG* pMsg);
  // Every button's command update from pTarget (the bar's own handlers first).
  void UpdateButtons(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
  virtual void CancelMenuButton();
  virtual void BeginDrag(int nIndex, CPoint point);
  virtual void UpdateBandInfo(CWnd* pRebar, CSize size);
  virtual int WrapButtons(int nWidth, std::vector<brambolt::toolbar::LayoutRow>& rows);
  virtual CSize WrapLayout(int nLength, BOOL bVertical);
  virtual CSize CalcLayout(DWORD dwMode, int nLength);
  virtual void InvalidateButton(int nIndex);
  // The visible button under a client point, -1 for none or a separator; its rectangle.
  virtual int HitTest(CPoint point, CRect* pRect = nullptr) const;
  virtual void UpdateButton(int nIndex);
  virtual BOOL DropButton(const CRect& rectScreen, SECStdBtn* pBtn, BOOL bCopy, BOOL bNoUpdate = FALSE);
  virtual SECStdBtn* CreateButton(UINT nID, SECCustomToolBar* pParentBar = nullptr);
  virtual SECStdBtn* CreateSeparator(SECCustomToolBar* pParentBar = nullptr);

  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void DelayShow(BOOL bShow) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  void DoPaint(CDC* pDC) override;
  BOOL Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
              CCreateContext* pContext) override;
  void DrawBorders(CDC* pDC, CRect& rect) override;
  void GetBarInfoEx(SECControlBarInfo* pInfo) override;
  void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;
  int AddGripperExtent(CSize& size, BOOL bHorz) const override;

  // ---- buttons ----
  int GetBtnCount() const { return static_cast<int>(m_btns.GetSize()); }
  SECStdBtn* GetButton(int nIndex) const;
  void SetButtonStyle(int nIndex, UINT nStyle);
  UINT GetButtonStyle(int nIndex) const;
  void HideButton(int nIndex, BOOL bHide);
  int CommandToIndex(UINT nID) const;
  int ButtonToIndex(const SECStdBtn* pBtn) const;
  UINT GetItemID(int nIndex) const;
  int GetSelectedIndex() const { return m_bCustomize ? m_nBtnDown : -1; }
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  int GetHotIndex() const { return m_nHot; }
  int GetPressedIndex() const { return m_bCustomize ? -1 : m_nBtnDown; }
  int GetMenuBtnIndex() const { return m_nMenuBtn; }
  int GetWidestButton() const { return m_nMaxBtnWidth; }
  void RaiseWidestButton(int cx) { m_nMaxBtnWidth = std::max(m_nMaxBtnWidth, cx); }

  // ---- manager, images, customise mode ----
  SECToolBarManager* GetToolBarManager() const;
  // Adopts the manager's shared bitmap manager (one more reference) and lets the old one go.
  void SetBmpMgr(SECBmpMgr* pBmpMgr);
  SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
  SECBtnDrawCache* GetDrawCache();
  void SetCustomizeMode(BOOL bCustomize);
  BOOL InCustomizeMode() const { return m_bCustomize; }
  void SelectButton(int nIndex, BOOL bRedraw = TRUE);
  void SelectButtonObject(SECStdBtn* pBtn, BOOL bRedraw = TRUE);
  void ClearSelection(BOOL bRedraw = TRUE);
  // WM_BARNOTIFY with this bar's id through the manager.
  void NotifyBar(int nCode);
  // Passes a style change to every button with the id, on this bar or on every managed bar.
  void SetCommandCheck(UINT nID, int nCode, const SECBtnStyleChange& change, BOOL bAllBars);
  // The window told of the bar's commands: the owner, else the parent.
  CWnd* GetOwnerWnd() const;
  BOOL IsVertical() const;
  void SetWndBtnsAsBtns(BOOL bAsButtons);
  BOOL GetWndBtnsAsBtns() const { return m_bWndBtnsAsBtns; }
  void SetLocalDrag(BOOL bLocal) { m_bLocalDrag = bLocal; }
  BOOL GetLocalDrag() const { return m_bLocalDrag; }
  // The bar's own button maps, used when it has no manager; the second is owned.
  void SetButtonMap(const SECBtnMapEntry* pMap) { m_pBtnMap = pMap; }
  void SetSecondButtonMap(SECBtnMapEntry* pMap);
  // A user bar (id 59424 to 59646).
  BOOL IsUserBar() const;

 protected:
  // The layout records of the visible buttons (and their indices).
  std::vector<brambolt::toolbar::LayoutItem> VisibleItems(std::vector<int>* pIndices = nullptr) const;
  // Rows of a button: the first and last index of the row that holds nIndex.
  void RowBounds(int nIndex, int& nFirst, int& nLast) const;
  void SetRowSeparatorHeights(int nFirst, int nLast, int cy, BOOL bRaiseOnly);
  void PressAt(UINT nFlags, CPoint point, BOOL bAltMoves);
  // WM_NOTIFY with a code of the bar itself (no button: index -1).
  void NotifyOwnerCode(int nCode);
  void UpdateHotTracking();
  void SetHot(int nIndex);
  void EndPress(BOOL bCancel);
  void SendButtonCommand(int nIndex, UINT nID);
  void ScheduleDestroy();

  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnSysColorChange();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnNoDelayHide(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDestroyEmptyBar(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAddButtons(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDeleteButton(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 public:
  int m_nSepWidth = 8;
  int m_nBtnDown = -1;  // pressed (outside customise mode) or selected (in it)
  int m_nHot = -1;
  int m_nMenuBtn = -1;
  BOOL m_bCustomize = FALSE;
  SECBtnDrawCache* m_pDrawCache = nullptr;  // own, for a bar without a manager
  BOOL m_bWndBtnsAsBtns = FALSE;
  BOOL m_bMRUPending = TRUE;
  BOOL m_bHorzPending = TRUE;
  BOOL m_bVertPending = TRUE;
  CSize m_sizeFloatLayout{0, 0};
  CSize m_sizeVertLayout{0, 0};
  CSize m_sizeHorzLayout{0, 0};
  BOOL m_bLocalDrag = FALSE;
  HFONT m_hBarFont = nullptr;
  const SECBtnMapEntry* m_pBtnMap = nullptr;
  SECBtnMapEntry* m_pBtnMap2 = nullptr;
  BOOL m_bMenuMode = FALSE;
  int m_nMaxBtnWidth = 0;
  SECBtnArray m_btns;
  SECBmpMgr* m_pBmpMgr = nullptr;
  BOOL m_bDestroyPending = FALSE;
};

// The bar the customise page shows its command groups in: its buttons are only ever copied
// out, and nothing is dropped on it.
class SECCustomizeToolBar : public SECCustomToolBar {
  DECLARE_DYNCREATE(SECCustomizeToolBar)

 public:
  BOOL IsCopyDrag() const override { return TRUE; }
  BOOL CanDropButtons() const override { return FALSE; }
};
