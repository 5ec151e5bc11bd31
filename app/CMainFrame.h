// CMainFrame: the application's main window, a workbook MDI frame with the toolbar manager, the
// menubar, the status bar, the docking Project Explorer, full-screen mode and the component list.
#pragma once

#include <atomic>

#include "afx/afx.h"
#include "app/CMDIClient.h"
#include "app/MySECCustomStatusBar.h"
#include "app/ProjectWorkspaceWnd.h"
#include "bars/SECFullScreenView.h"
#include "bars/SECWorkbook.h"

class CGenMenuObj;
class SECWorkspaceManagerEx;

// Sent to the active view: find m_strFindText of the main frame and bring it into view.
constexpr UINT WM_GOTOFINDTEXT = 2412;
// Posted to the active view of the active child when full-screen mode begins (wParam 1) or ends (0).
constexpr UINT WM_FULLSCREEN_CHANGED = 0x1401;

class CMainFrame : public SECWorkbook {
  DECLARE_DYNCREATE(CMainFrame)

 public:
  CMainFrame();
  ~CMainFrame() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // "Visual Brambolt" without a project, else "<project> - Visual Brambolt".
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  SECMenuBar* GetMenuBar() const override;
  // The Window popup: the framework's (by its window commands), else the one holding "Windows...",
  // so that the MDI client lists the windows there.
  HMENU GetWindowMenuPopup(HMENU hMenuBar) override;

  // The text part of the component with that id; "" when there is none.
  CString GetComponentName(int nId) const;
  // Reads the component list ("name#text" lines) from a file; a missing file leaves it empty.
  // Returns the number of components.
  int LoadComponents(LPCTSTR lpszPath);
  // The window texts of the MDI client's children in window order.
  void CollectOpenDocumentNames(CStringList& list);
  // Analyses the open project's header files again and refills the explorer's trees.
  BOOL ReanalyseProject();
  // Shows or hides the explorer bar at once; FALSE when it already was so.
  BOOL ShowProjectExplorer(BOOL bShow);
  // Flashes the caption until the frame is active or focused again. Safe from any thread: the
  // flashing runs on the frame's own thread and this returns at once.
  void FlashUntilActive();
  BOOL IsFlashing() const { return m_bFlashing; }

  SECWorkspaceManagerEx* GetWorkspaceManager() const;

  CMDIClient m_wndMDIClient;
  CFont* m_pFixedFont = nullptr;
  CTypedPtrList<CObList, CGenMenuObj*> m_listComponents;
  ProjectWorkspaceWnd m_wndProjectExplorer;
  SECFullScreenView m_FullScreen;
  MySECCustomStatusBar m_wndStatusBar;
  std::atomic<int> m_bStopFlash{0};
  int m_bTipShowAtStartup = 0;
  int m_nTipCurrent = 0;
  CString m_strFindText;
  int m_bFindPending = 0;
  CWnd* m_pCustomizeSheet = nullptr;  // the Customize sheet while it is up

 protected:
  // Alt+F4 with no document window open is the main window's own Close.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnClose();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDropFiles(HDROP hDropInfo);
  afx_msg LRESULT OnFullScreenNotify(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStartFlash(WPARAM wParam, LPARAM lParam);
  afx_msg void OnFullScreen();
  afx_msg void OnUpdateFullScreen(CCmdUI* pCmdUI);
  afx_msg void OnWindowCloseAll();
  afx_msg void OnWindowClose();
  afx_msg void OnUpdateWindowClose(CCmdUI* pCmdUI);
  afx_msg void OnWindowNext();
  afx_msg void OnWindowPrevious();
  afx_msg void OnUpdateWindowNext(CCmdUI* pCmdUI);
  afx_msg void OnWindowList();
  afx_msg void OnWebLink(UINT nID);
  afx_msg void OnTipOfTheDay();
  afx_msg void OnTechnicalSupport();
  // Help contents, index and default help: the application's help file.
  afx_msg void OnHelpTopic();
  afx_msg void OnHelpFinder();
  afx_msg void OnHelpIndex();
  afx_msg void OnProjectExplorer();
  afx_msg void OnUpdateProjectExplorer(CCmdUI* pCmdUI);
  // View > Customize Toolbars...: the Commands and Toolbars pages, whose Reset gives a toolbar of
  // the program its first buttons back.
  afx_msg void OnCustomizeToolbars();
  afx_msg void OnRecentProject(UINT nID);
  afx_msg void OnUpdateRecentProjectMenu(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  // Creation steps of OnCreate; each FALSE ends the creation.
  BOOL CreateToolBars();
  BOOL CreateStatusBar();
  BOOL CreateProjectExplorer();
  void CreateWorkspaceManager();
  // The number of children of the MDI client.
  int CountChildren() const;
  void StopFlashing();
  void DeleteComponents();

  BOOL m_bFlashing = FALSE;
};
