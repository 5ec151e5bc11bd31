// CFrameWnd: the frame around views and control bars, with its menu, accelerators, title,
// command routing, the layout of its bars and the status-line prompts.
#pragma once

#include "afx/CDocument.h"
#include "afx/CMenu.h"

#include <vector>

class CView;
class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;

// What a frame keeps of its normal state while it shows a print preview.
struct CPrintPreviewState {
  UINT nIDMainPane = AFX_IDW_PANE_FIRST;  // the pane the preview hides
  HMENU hMenu = nullptr;                  // the menu bar taken away
  DWORD dwStates = 0;                     // bit n: bar AFX_IDW_CONTROLBAR_FIRST + n was visible
  HWND hWndFocus = nullptr;
  HACCEL hAccelTable = nullptr;
};

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)

 public:
  static const CRect rectDefault;

  CFrameWnd();
  ~CFrameWnd() override;
  // The frames of the calling thread, oldest first (the idle update visits each).
  static std::vector<CFrameWnd*> GetThreadFrames();

  using CWnd::Create;
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // The frame of resource nIDResource: its title is the string's text before the first '\n', its
  // menu and accelerators those of the same id.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  BOOL IsFrameWnd() const override { return TRUE; }

  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  virtual CFrameWnd* GetActiveFrame() { return this; }
  virtual void ActivateFrame(int nCmdShow = -1);
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
  virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }
  BOOL LoadAccelTable(LPCTSTR lpszResourceName);
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  void SetMessageText(LPCTSTR lpszText);
  void SetMessageText(UINT nID);
  CView* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

  // ---- layout of bars (FrameLayout.cpp) ----
  // What the next idle update does: menu, title, layout (with a notification of in-place parts).
  enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  enum BorderCmd { borderGet = 1, borderRequest = 2, borderSet = 3 };
  // Places the bars around the client area (each child answers WM_SIZEPARENT) and gives the rest
  // to AFX_IDW_PANE_FIRST; a frame with FWS_SNAPTOBARS takes the size of its bars instead.
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  // The layout is done by the next idle update instead of now.
  void DelayRecalcLayout(BOOL bNotify = TRUE) { m_nIdleFlags |= (idleLayout | (bNotify ? idleNotify : 0)); }
  // Border space around the pane that something (an in-place server) claims: borderGet fills
  // lpRectBorder with the space there is, borderRequest asks whether it can be had, borderSet
  // takes it (a null rectangle gives it back). The layout keeps the space free.
  virtual BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder);
  // The bar that shows the status-line prompts (the status bar by default).
  virtual CWnd* GetMessageBar();
  // Enters (bPreview) or leaves print preview: menu, accelerators and bars other than the
  // preview bar are put away in *pState and brought back from it.
  virtual void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState);

  // ---- control bars and docking (FrameDocking.cpp) ----
  // The bars of this frame, docked, floating or not dockable.
  CPtrList m_listControlBars;
  // The class of the floating frames CreateFloatingFrame makes.
  CRuntimeClass* m_pFloatingFrameClass = nullptr;
  CControlBar* GetControlBar(UINT nID);
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);
  // Makes the dock bars of the alignments in dwDockStyle (CBRS_ALIGN_*).
  void EnableDocking(DWORD dwDockStyle);
  // The alignment of a dock bar of dwDockStyle that rect (screen) touches, 0 when none; the dock
  // bar goes to *ppDockBar.
  DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
  // Docks pBar in the dock bar nDockBarID (0: the one of the bar's alignment), at lpRect
  // (screen) when given.
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  // Docks pBar back where it was before it floated (its placeholder), else as DockControlBar.
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  // Floats pBar in a floating frame at point (screen); dwStyle the frame's alignment.
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  virtual CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
  // Shows or hides a bar, now or at the next layout (bDelay).
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  // Sends WM_FLOATSTATUS to the floating frames this frame owns.
  void NotifyFloatingWindows(DWORD dwFlags);
  // The docking layout, in the profile under lpszProfileName ("<name>-Summary", "<name>-Bar%d").
  void SaveBarState(LPCTSTR lpszProfileName) const;
  void LoadBarState(LPCTSTR lpszProfileName);
  void GetDockState(CDockState& state) const;
  void SetDockState(const CDockState& state);

  // ---- help mode ----
  BOOL m_bHelpMode = FALSE;
  // Runs the help-mode loop: the next click or key chooses the item help is shown for.
  afx_msg void OnContextHelp();
  // What help mode does with a message before its own rules.
  enum HelpModeAnswer { helpModeGoOn, helpModeEaten, helpModeChosen };
  // A derived frame sees each message of help mode first: helpModeEaten drops it, helpModeChosen
  // ends help mode with help on context; the base lets help mode's own rules run.
  virtual HelpModeAnswer OnHelpModeMessage(const MSG& /*msg*/, DWORD_PTR& /*context*/) { return helpModeGoOn; }

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  HMENU m_hMenuDefault = nullptr;
  HACCEL m_hAccelTable = nullptr;
  UINT m_nIDHelp = 0;
  BOOL m_bAutoMenuEnable = TRUE;
  UINT m_nIDTracking = 0;
  // A menu command is highlighted (its id is tracked, not the idle or help-mode prompt).
  BOOL IsTracking() const {
    return m_nIDTracking != 0 && m_nIDTracking != AFX_IDS_HELPMODEMESSAGE && m_nIDTracking != AFX_IDS_IDLEMESSAGE;
  }
  UINT m_nIDLastMessage = 0;
  // A menu of this frame is open: the status line and the tracked id belong to its highlighted
  // item, whatever else (a bar's fly-by, a pressed button) asks for the status line meanwhile.
  BOOL m_bInMenuLoop = FALSE;
  CString m_strTitle;
  // The number of this frame among the document's frames (":1", ":2" in the title); 0 when it is the only one.
  int m_nWindow = -1;
  CString m_strMessage;  // what the status line shows now
  // Called instead of closing when set (print preview uses it).
  void (*m_lpfnCloseProc)(CFrameWnd* pFrameWnd) = nullptr;

 protected:
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  // A close asked for while a menu is open (the window manager's, over the menu) waits until the
  // menu is closed: the menu's loop and the bar that opened it still use the frame. The menu is
  // ended and the close posted again; TRUE when so.
  BOOL PutOffCloseForMenu();
  afx_msg void OnDestroy();
  afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  // WM_COMMANDHELP: the help given (lParam), else the highlighted menu command's, else this
  // frame's (HID_BASE_FRAME + its resource id); FALSE when there is none.
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
  afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnBarCheck(UINT nID);
  afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
  afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  // Help mode: the command under the point (0 for none), asked of the window there.
  UINT HelpHitTest(CPoint ptScreen);
  UINT HelpModeMenuCommand(const MSG& msg) const;
  DECLARE_MESSAGE_MAP()

  CView* m_pViewActive = nullptr;

 public:
  UINT m_nIdleFlags = 0;
  int m_nShowDelay = -1;  // SW_ command the next idle update carries out (a floating frame's delayed show)
  CRect m_rectBorder;  // the border space NegotiateBorderSpace gave away
  BOOL m_bInRecalcLayout = FALSE;
};
