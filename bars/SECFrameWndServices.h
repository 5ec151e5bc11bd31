// SECFrameServices: what the toolkit's SDI and MDI frames add to the framework's frames alike:
// the gradient caption, the workspace and menu plug-ins that see commands and messages first,
// the toolbar manager, the menubar and its menu, and the bars a restored layout created.
#pragma once

#include <vector>

#include "afx/afx.h"
#include "bars/SECDockSite.h"
#include "bars/SECDockState.h"
#include "bars/SECFrameWndCaption.h"
#include "foundation/SECWndPlugIn.h"

class SECBmpMgr;
class SECDockState;
class SECControlBarManager;
class SECMenuBar;

// What the menubar offers the frames. The menubar's code installs it once (SECSetMenuBarHooks),
// so that the frames reach the menubar without linking its classes; without it a frame with a
// menubar plugs in no menubar feature and switches no menus.
class SECMenuBarHooks {
 public:
  virtual ~SECMenuBarHooks() = default;
  // The menubar feature, given the frame's menubar, not yet plugged in.
  virtual kelpwood::foundation::SECWndPlugIn* CreateFeature(SECMenuBar* pMenuBar) = 0;
  // The feature shows the menu of nMenuID; TRUE when the menubar must be laid out again.
  virtual BOOL SwitchMenu(kelpwood::foundation::SECWndPlugIn* pFeature, SECMenuBar* pMenuBar, UINT nMenuID) = 0;
  // The menubar ignores its next hide request.
  virtual void SkipNextHide(SECMenuBar* pMenuBar) = 0;
  // An MDI menubar shows or hides the buttons of a maximised child; TRUE when that changed.
  virtual BOOL ShowChildButtons(SECMenuBar* pMenuBar, BOOL bShow) = 0;
};
void SECSetMenuBarHooks(SECMenuBarHooks* pHooks);
SECMenuBarHooks* SECGetMenuBarHooks();

// The help context of a click on a menubar tool in help mode, from the hit code the tool put in
// its tool record: the minimise, restore and close parts of a maximised child's caption button
// give the help of their system commands' prompts; any other non-zero code c gives 0x40000 + c; 0 gives 0 (the
// tool is pressed as usual instead).
DWORD_PTR SECMenuBarHelpContext(UINT nHitCode);

// A frame's title: the text of string nIDResource before its first '\n'.
CString SECFrameTitleFromResource(UINT nIDResource);

class SECFrameServices : public SECDockSite {
 public:
  SECFrameServices();
  virtual ~SECFrameServices();
  SECFrameServices(const SECFrameServices&) = delete;
  SECFrameServices& operator=(const SECFrameServices&) = delete;

  // The registered "WM_SECGETMENU": wParam a menu id, lParam a popup position; answers the popup.
  static UINT GetMenuMessage();

  BOOL HasMenuBar() const { return m_pMenuBar != nullptr; }

  virtual void CreateCaptionLeadFont(CFont& font) { SECFrameCaption::CreateCaptionFont(font, TRUE); }
  virtual void CreateCaptionFont(CFont& font) { SECFrameCaption::CreateCaptionFont(font, FALSE); }
  virtual void DrawCaption();
  // The menubar menu when a menubar menu exists and nID is its id, else NULL.
  virtual HMENU GetMenuForID(UINT nID);
  // Called on WM_ENTERIDLE before the framework's handling: in customise mode a pending idle
  // layout is done at once.
  virtual void OnEnterIdleEx(UINT nWhy, CWnd* pWho);
  virtual HMENU GetActiveMenu();
  virtual SECMenuBar* GetMenuBar() const { return m_pMenuBar; }
  virtual SECControlBarManager* GetToolBarManager() const { return m_pControlBarManager; }
  virtual void SetToolBarManager(SECControlBarManager* pManager) { m_pControlBarManager = pManager; }
  // Creates the workspace plug-in of pClass, calls its creation with (a, b, 0x80000001, c) and
  // plugs it into the frame; an object that cannot be attached is deleted. NULL without a class.
  virtual kelpwood::foundation::SECWndPlugIn* CreateWorkspacePlugIn(LPCTSTR a, BOOL b, CRuntimeClass* pClass, BOOL c);

  // ---- docking ----
  // The toolkit's dock bars on the sides of dwDockStyle (made by CreateDockBar, created with
  // dwExtra), floating bars in the toolkit's mini frames. A dock bar that cannot be made raises
  // the resource exception.
  void EnableDocking(DWORD dwDockStyle, DWORD dwExtra = 0);
  virtual CDockBar* CreateDockBar();
  // Floats the bar at point (screen), keeping at least 10 pixels of it in the work area.
  virtual void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  // Docks the bar in dock bar nDockBarID (0: the one of its alignment) at a row and column,
  // with its share of the row and its length committed.
  virtual void DockControlBarEx(CControlBar* pBar, UINT nDockBarID = 0, int nCol = 0, int nRow = 0,
                                float fShare = 1.0f, int nLength = 0);
  // The docking layout in the profile section lpszProfileName.
  virtual void LoadBarState(LPCTSTR lpszProfileName);
  virtual void SaveBarState(LPCTSTR lpszProfileName);
  virtual void SetDockState(SECDockState& state);
  virtual void GetDockState(SECDockState& state);

  // The toolkit's docking operations the dock bars and drag contexts call.
  void SECDockBarAt(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) override;
  void SECReDockBarAt(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) override;
  void SECFloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle) override;
  BOOL SECFloatBarInMainWindow(CControlBar* /*pBar*/, CPoint /*point*/, DWORD /*dwStyle*/) override { return FALSE; }
  SECControlBarManager* SECGetControlBarManager() override { return m_pControlBarManager; }
  CPtrList* SECGetCreatedBars() override { return &m_listDynamicBars; }
  void SECSetBusy(BOOL bBusy) override { m_bBusy = bBusy; }

  // Returns the previous setting; FALSE and nothing changes where no gradient is available.
  BOOL SetGradientCaption(BOOL bEnable = TRUE, BOOL bRedraw = TRUE) {
    return m_caption.SetGradientCaption(GetServicesFrame(), bEnable, bRedraw);
  }
  // 0 left, 1 centred, any other value right-aligned.
  void SetCaptionAlignment(int nAlign) { m_caption.m_nCaptionAlign = nAlign; }
  void EnableBmpMenus(BOOL bOn = TRUE, BOOL bSecond = FALSE) {
    m_bBmpMenus = bOn;
    m_bBmpMenus2 = bSecond;
  }

  SECFrameCaption m_caption;
  kelpwood::foundation::SECWndPlugIn* m_pWorkspacePlugIn = nullptr;  // owned
  CRect m_rcLastClient;
  SECControlBarManager* m_pControlBarManager = nullptr;              // not owned
  kelpwood::foundation::SECWndPlugIn* m_pMenuPlugIn = nullptr;       // owned
  BOOL m_bBmpMenus = FALSE;
  BOOL m_bBmpMenus2 = FALSE;
  SECMenuBar* m_pMenuBar = nullptr;
  HMENU m_hMenuBarMenu = nullptr;  // owned
  UINT m_nMenuBarMenuId = 0;
  // Control bars made while a saved layout was restored; deleted with the frame.
  CPtrList m_listDynamicBars;
  // The user toolbars of the layout LoadBarState read and of those SaveBarState wrote: the others
  // SaveBarState finds stored were made by another instance of the program meanwhile, and kept.
  std::vector<SECUserToolBarKey> m_loadedUserToolBars;
  // Set while a bar moves between floating in a mini frame and floating in the MDI client.
  BOOL m_bBusy = FALSE;

 protected:
  // The frame's steps shared by both frame kinds; pFrame is the frame that holds these services.
  // Workspace plug-in first (the parent frame's when this frame has none); TRUE with the
  // plug-in's verdict when it handled the command.
  BOOL RouteToWorkspace(CFrameWnd* pFrame, UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo);
  // The frame that holds these services.
  virtual CFrameWnd* GetServicesFrame() = 0;
  // The menu resource for the menubar, title and accelerators of LoadFrame; FALSE when the
  // window cannot be created.
  BOOL LoadFrameWindow(CFrameWnd* pFrame, UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                       CCreateContext* pContext, LPCTSTR lpszClass);
  // The gradient caption's and the plug-in's handling of a frame message, called from the frame's
  // OnWndMsg (after the plug-ins saw it); TRUE with *pResult when the message is done.
  BOOL HandleFrameMessage(CFrameWnd* pFrame, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // After the framework's layout: a first layout redraws the whole frame.
  void AfterRecalcLayout();
  // Leaving print preview redraws the whole frame.
  void AfterPreviewMode(BOOL bPreview);
  // The customise-mode rules and the menu plug-in's pre-translation.
  BOOL PreTranslateFrameMessage(MSG* pMsg);
  // Help mode's rule for a left click in the menubar's client area: a tool with a hit code
  // chooses its help context, a tool without one is pressed (help mode goes on), and a click
  // beside the tools is eaten (the command then chosen from its menu gets help as any menu's
  // does). Anything else is left to help mode.
  CFrameWnd::HelpModeAnswer OnMenuBarHelpClick(const MSG& msg, DWORD_PTR& context);
  // After the frame's creation: the menu plug-in is made and plugged in.
  void PlugInMenu(CFrameWnd* pFrame);
  // The menu plug-in goes with the frame's window.
  void DeleteMenuPlugIn();

  // The command bars the frame works with.
  // TRUE while the toolbar manager is in customise mode.
  virtual BOOL InToolBarConfigMode() const;
  // The menu plug-in made after the frame's creation: the menubar feature with a menubar (NULL
  // until the menubar exists), else the bitmap-menu plug-in when bitmap menus are on. The
  // plug-in converts the popups in its own message map.
  virtual kelpwood::foundation::SECWndPlugIn* CreateMenuPlugIn();
  // The toolbar manager's shared bitmap manager, handed to the bitmap-menu plug-in.
  virtual SECBmpMgr* GetToolBarBmpMgr() const;
  // The creation operation of a workspace plug-in: a workspace manager's Initialize with the
  // base key, the registry mode, the root key and the application-profile-key flag.
  virtual BOOL CreateWorkspaceWindow(kelpwood::foundation::SECWndPlugIn* pPlugIn, LPCTSTR lpszKey, BOOL bRegistry,
                                     DWORD dwRootKey, BOOL bAppProfileKey);
  // Every customisable toolbar's bitmap manager reloads its images after a colour change.
  virtual void ReloadToolBarBitmaps();
};
