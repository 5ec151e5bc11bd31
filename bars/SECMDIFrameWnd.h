// SECMDIFrameWnd: the toolkit's MDI main frame: the services of the SDI frame, a top-level
// floating frame that acts as its active child, menus switched per document for the menubar,
// and the menus registered by id.
#pragma once

#include "afx/afx.h"
#include "bars/SECFrameWndServices.h"

class SECDockBar;
class SECFrameWnd;

class SECMDIFrameWnd : public CMDIFrameWnd, public SECFrameServices {
  DECLARE_DYNCREATE(SECMDIFrameWnd)

 public:
  SECMDIFrameWnd();
  ~SECMDIFrameWnd() override;

  // Makes pFrame (a top-level toolkit frame) the active child; NULL gives the MDI children back
  // the activation. Nothing happens when pFrame already is active and bForce is FALSE.
  virtual void ActivateFloatingFrame(SECFrameWnd* pFrame, BOOL bForce = FALSE);
  virtual void DeactivateFloatingFrame(BOOL bReactivateMDI = TRUE);
  // Shows the menu of nID in the menubar (-1: the frame's default menu).
  virtual void SetMenuBarMenu(UINT nID);
  virtual void HideMenuBarChildButtons();
  // With a menubar, the MDI client keeps its window list in the window popup of the menu shown.
  virtual void RefreshWindowMenu();
  virtual void OnActivateFrameView(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  // The menubar menu for the default id, else the shared menu of the document template of nID,
  // else the menu registered in the map; NULL when none.
  HMENU GetMenuForID(UINT nID) override;

  // Docks the bar at a point of a dock bar (x: column, y: row) with its share and length.
  virtual void DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int x, int y, float fShare, int nLength);
  // Floats the bar in an MDI child of the client ("Float In Main Window"); a point with a
  // negative coordinate takes the next place of a cascade.
  virtual void FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  // The dock bar of a bar child made by CreateControlBarMDIChild.
  static SECDockBar* BarChildDockBar(CMDIChildWnd* pChild);
  // An MDI child of the bar child class for pBar; NULL when it cannot be loaded.
  virtual CMDIChildWnd* CreateControlBarMDIChild(DWORD dwStyle, CControlBar* pBar);
  CDockBar* CreateDockBar() override;
  BOOL SECFloatBarInMainWindow(CControlBar* pBar, CPoint point, DWORD dwStyle) override;
  // A restored layout's bars that floated in the main window come back in a new bar child.
  CDockBar* SECCreateMainWindowFloat(DWORD dwStyle) override;
  // Dock bars of m_pDockBarClass, bar children of m_pBarChildClass (the toolkit's by default).
  void EnableDocking(DWORD dwDockStyle, DWORD dwExtra = 0);
  // Shows or hides a bar of any toolkit frame, now or at the next layout; the bar's floating
  // frame follows the number of bars it shows.
  static void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);

  SECFrameWnd* GetActiveFloatingFrame() const { return m_pActiveFloatingFrame; }
  // The menu shown while a document of resource nID is active (the frame destroys it).
  void RegisterMenu(UINT nID, HMENU hMenu) { m_mapMenus.SetAt(nID, hMenu); }
  UINT GetCurrentMenuBarMenuId() const { return m_nCurrentMenuId; }

  // The toolkit's docking in place of the framework frame's.
  using SECFrameServices::FloatControlBar;
  using SECFrameServices::GetDockState;
  using SECFrameServices::LoadBarState;
  using SECFrameServices::SaveBarState;
  using SECFrameServices::SetDockState;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  HelpModeAnswer OnHelpModeMessage(const MSG& msg, DWORD_PTR& context) override {
    return OnMenuBarHelpClick(msg, context);
  }
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  CFrameWnd* GetActiveFrame() override;
  void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

  CRuntimeClass* m_pDockBarClass = nullptr;
  CRuntimeClass* m_pBarChildClass = nullptr;
  int m_nNextBarChildX = 30;
  int m_nNextBarChildY = 30;

 protected:
  CFrameWnd* GetServicesFrame() override { return this; }
  // The menubar feature shows the menu of nID; TRUE when the menubar must be laid out again.
  virtual BOOL SwitchMenuBarMenu(UINT nID);
  // The menubar is told to ignore its next hide request.
  virtual void SkipNextMenuBarHide();
  // The menu the frame shows now: its own without a menubar, the menubar's otherwise.
  HMENU GetCurrentMenu();
  CFrameWnd* CommandChild(UINT nID);
  void ActivateViewOf(CFrameWnd* pFrame, BOOL bActivate);

  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  // The active floating frame, else the active MDI child, handles a command first; an
  // unhandled system command goes to the default procedure.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg LRESULT OnExtendContextMenu(WPARAM wParam, LPARAM lParam);
  // F1 help: the active floating frame or MDI child first, then the help file with the id.
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  afx_msg void OnWorkspaceCommand(UINT nID);
  afx_msg void OnUpdateWorkspaceCommand(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  SECFrameWnd* m_pActiveFloatingFrame = nullptr;
  BOOL m_bActivationGuard = FALSE;
  UINT m_nDefaultMenuId = 0;
  UINT m_nCurrentMenuId = 0;
  CMap<UINT, UINT, HMENU, HMENU> m_mapMenus;
};
