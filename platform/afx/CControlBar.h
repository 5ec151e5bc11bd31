// The framework's control bars: CControlBar, the base of every bar a frame lays out around its
// pane; CDockBar, the bar along a frame edge (or inside a floating frame) that holds docked
// bars in rows; CControlBarInfo and CDockState, the saved docking layout of a frame.
#pragma once

#include "afx/CFrameWnd.h"
#include "core/Arrays.h"
#include "core/Lists.h"

class CDockBar;
class CDockContext;
class CMiniDockFrameWnd;
class CControlBarInfo;

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 public:
  CControlBar();
  // Leaves the frame's list of bars and its dock bar, and frees the dock context.
  ~CControlBar() override;

  int GetCount() const { return m_nCount; }
  DWORD GetBarStyle() const { return m_dwStyle; }
  // Changes the CBRS_ style; OnBarStyleChange hears of the change first.
  void SetBarStyle(DWORD dwStyle);
  // Lets the bar be dragged to the dock bars of the alignments in dwDockStyle (CBRS_ALIGN_*,
  // CBRS_FLOAT_MULTI); 0 keeps it where it is.
  void EnableDocking(DWORD dwDockStyle);
  // The drag state EnableDocking gives the bar (a derived bar may drag in its own way).
  virtual CDockContext* CreateDockContext();
  // The frame whose bars this one is laid out with: the floating frame while floating.
  CFrameWnd* GetDockingFrame() const;
  BOOL IsFloating() const;
  virtual BOOL IsDockBar() const { return FALSE; }
  // Visible, or about to be shown by a delayed show.
  virtual BOOL IsVisible() const;

  // The size the bar wants: stretched across the frame or not, along a horizontal edge or not.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  // The size for a length (nLength, -1 for the natural one) in the LM_ mode: the default asks
  // CalcFixedLayout.
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
  // Shrinks rect by the bar's borders and gripper (horizontal or vertical orientation).
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
  // Runs the update handlers of the bar's items through pTarget.
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  virtual void DoPaint(CDC* pDC);
  virtual void DrawBorders(CDC* pDC, CRect& rect);
  virtual void DrawGripper(CDC* pDC, const CRect& rect);
  // Shows or hides the bar at the frame's next layout.
  virtual void DelayShow(BOOL bShow);
  BOOL DestroyWindow() override;
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
  // Shows the prompt of item nHit in the status line (-1 for the idle message) while the mouse
  // is over it.
  virtual BOOL SetStatusText(INT_PTR nHit);
  // Carries out a pending delayed show or hide inside a layout; returns the resulting style.
  virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
  virtual void GetBarInfo(CControlBarInfo* pInfo);
  virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

  BOOL m_bAutoDelete = FALSE;  // delete this on WM_NCDESTROY

  // The space kept free around the bar's contents (horizontal orientation; swapped when vertical).
  int m_cxLeftBorder = 6;
  int m_cxRightBorder = 6;
  int m_cyTopBorder = 2;
  int m_cyBottomBorder = 2;
  int m_cxDefaultGap = 2;
  UINT m_nMRUWidth = 32767;  // the width the bar had last while floating

  // Per-item data kept by derived bars (toolbar buttons, status panes).
  int m_nCount = 0;
  void* m_pData = nullptr;

  enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };
  UINT m_nStateFlags = 0;

  DWORD m_dwStyle = 0;      // CBRS_ styles
  DWORD m_dwDockStyle = 0;  // where it may dock (EnableDocking)
  CFrameWnd* m_pDockSite = nullptr;  // the frame it belongs to
  CDockBar* m_pDockBar = nullptr;    // the dock bar holding it, null when not docked
  CDockContext* m_pDockContext = nullptr;  // drag state (EnableDocking)

 protected:
  // Makes room for nElements items of cbElement bytes each (zeroed); frees the old ones.
  BOOL AllocElements(int nElements, int cbElement);
  // Resets the fly-by check of the mouse leaving the bar.
  void ResetTimer(UINT nEvent, UINT nTime);
  // Fills the background and draws borders, gripper and contents.
  void EraseNonClient();
  // Takes the bar out of its dock bar's rows, as when it is destroyed.
  void LeaveDockBar();

  void PostNcDestroy() override;

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg void OnCancelMode();
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  friend class CFrameWnd;
  friend class CDockBar;
};

// A bar along one edge of a frame (or the one inside a floating frame) holding docked bars in
// rows. m_arrBars lists them row by row: entry 0 is null, a null ends a row, and a bar's
// control id in place of the bar is a placeholder that remembers where a floated bar was.
class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)

 public:
  explicit CDockBar(BOOL bFloating = FALSE);
  ~CDockBar() override;

  using CControlBar::Create;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

  BOOL m_bFloating;            // inside a floating frame
  BOOL m_bLayoutQuery = FALSE;  // the current layout only asks for sizes
  CRect m_rectLayout;           // the rectangle the frame's layout offers
  CPtrArray m_arrBars;

  BOOL IsDockBar() const override { return TRUE; }
  // Placeholders are control ids stored in place of bar pointers.
  static bool IsPlaceHolder(const void* entry);
  static void* PlaceHolderOf(UINT nID) { return reinterpret_cast<void*>(static_cast<UINT_PTR>(nID)); }

  // The bar at nPos, null for a row end or a placeholder.
  CControlBar* GetDockedControlBar(int nPos) const;
  int GetDockedCount() const;
  virtual int GetDockedVisibleCount() const;
  // The position of pBar (or of a placeholder) other than nPosExclude, -1 when absent.
  int FindBar(CControlBar* pBar, int nPosExclude = -1);
  int FindBar(const void* entry, int nPosExclude = -1);
  // Docks pBar: at the rectangle lpRect (screen) in the row under it, or at the end of a new row.
  virtual void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // Docks pBar where its placeholder is, else as DockControlBar does.
  virtual void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // Takes pBar out (nAddPlaceHolder 1 leaves its id in its place, -1 keeps other placeholders);
  // TRUE when a floating frame that held it went with it.
  virtual BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
  void RemovePlaceHolder(CControlBar* pBar);
  // Shows or hides every bar docked here (delayed, as ShowControlBar does).
  void ShowAll(BOOL bShow);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  void DoPaint(CDC* pDC) override;
  void DrawBorders(CDC* pDC, CRect& rect) override;
  void DrawGripper(CDC*, const CRect&) override {}
  void GetBarInfo(CControlBarInfo* pInfo) override;
  void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

 protected:
  // Inserts pBarIns into the row under ptMid (client coordinates) after the bars left of
  // rect, or into a new row; returns its position.
  int Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid);

  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnNcPaint();
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  // Styles and parenting shared by DockControlBar and ReDockControlBar.
  void Adopt(CControlBar* pBar, int nPos, LPCRECT lpRect, bool bShow);
  // Inserts pBar at lpRect (or in a new last row) and adopts it.
  void Place(CControlBar* pBar, LPCRECT lpRect, bool bShow);
};

// One bar's entry in a saved docking layout.
class CControlBarInfo {
 public:
  CControlBarInfo() = default;
  // Derived records (the toolkit's) are deleted through this class.
  virtual ~CControlBarInfo() = default;
  // Reads and writes the "%s-Bar%d" section of the profile; values at their defaults are not
  // written. FALSE when the section holds no bar.
  BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, class CDockState* pDockState);
  BOOL SaveState(LPCTSTR lpszProfileName, int nIndex);

  UINT m_nBarID = 0;
  BOOL m_bVisible = TRUE;
  BOOL m_bFloating = FALSE;
  BOOL m_bHorz = TRUE;
  BOOL m_bDockBar = FALSE;
  CPoint m_pointPos{-1, -1};
  UINT m_nMRUWidth = 32767;
  BOOL m_bDocking = FALSE;
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = 0;
  CPoint m_ptMRUFloatPos{-1, -1};
  CPtrArray m_arrBarID;  // a dock bar's bars and placeholders, by id
  CControlBar* m_pBar = nullptr;  // the bar while the layout is applied
};

// A frame's docking layout: the entries of every bar, and the screen size it was saved at so
// that positions scale to the screen of the next session.
class CDockState : public CObject {
  DECLARE_DYNAMIC(CDockState)

 public:
  CDockState();
  ~CDockState() override;

  void LoadState(LPCTSTR lpszProfileName);
  void SaveState(LPCTSTR lpszProfileName);
  void Clear();
  DWORD GetVersion() const { return m_dwVersion; }
  // The bar records, owned by the state.
  CPtrArray m_arrBarInfo;

  CSize GetScreenSize() const { return m_sizeScreen; }
  void SetScreenSize(CSize size) { m_sizeScreen = size; }
  // A point or rectangle of the saved screen moved to the current one (unchanged when the saved
  // size is not positive), kept on the screen.
  void ScalePoint(CPoint& pt);
  void ScaleRectPos(CRect& rect);

  // No layout lists more bars than this; a larger count in stored data is damage.
  static constexpr int kMaxBars = 1024;

 protected:
  DWORD m_dwVersion = 2;
  BOOL m_bScaling = FALSE;
  CRect m_rectDevice;
  CRect m_rectClip;
  CSize m_sizeScreen{0, 0};
  void ScreenCheck();
};

// The ids of the four dock bars and the alignment each takes.
extern const DWORD g_dwDockBarMap[4][2];
