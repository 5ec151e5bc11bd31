// CMDIFrameWnd: the main frame of a multiple-document application, around an MDI client whose
// children are CMDIChildWnd frames; commands go to the active child first.
#pragma once

#include "afx/CFrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)

 public:
  CMDIFrameWnd() = default;
  ~CMDIFrameWnd() override;

  // Makes the MDI client (id AFX_IDW_PANE_FIRST) that lists its children in pWindowMenu.
  virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
  // The popup of a menu bar that holds the window commands (ids 0xE130-0xE13F); null when none does.
  virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);
  // A new child of run-time class pClass with the resources of nResource.
  CMDIChildWnd* CreateNewChild(CRuntimeClass* pClass, UINT nResource, HMENU hMenu = nullptr, HACCEL hAccel = nullptr);

  CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
  void MDIActivate(CWnd* pWndActivate);
  void MDIIconArrange();
  void MDIMaximize(CWnd* pWnd);
  void MDINext();
  void MDIPrev();
  void MDIRestore(CWnd* pWnd);
  // Sets the frame's menu and its window popup (null keeps either); the menu before is returned.
  CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
  void MDITile();
  void MDITile(int nType);
  void MDICascade();
  void MDICascade(int nType);

  CFrameWnd* GetActiveFrame() override;
  HACCEL GetDefaultAccelerator() override;
  // Whether a print preview covers the frame (its active view is the preview).
  bool InPrintPreview();
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  // The menu is set by the next idle update.
  void DelayUpdateFrameMenu(HMENU hMenuAlt);
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  HWND m_hWndMDIClient = nullptr;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnWindowNew();
  afx_msg BOOL OnMDIWindowCmd(UINT nID);
  afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  HMENU m_hMenuAlt = nullptr;  // for DelayUpdateFrameMenu
};
