// ProjectWorkspaceWnd: the docking "Project Explorer" bar, a 3-D tab window holding the
// project's class hierarchy, class, file and output trees.
#pragma once

#include "app/ClassView.h"
#include "app/ClassViewStruct.h"
#include "app/DatabaseView.h"
#include "app/FileView.h"
#include "bars/SECControlBar.h"
#include "widgets/SEC3DTabWnd.h"

class ProjectWorkspaceWnd : public SECControlBar {
  DECLARE_DYNAMIC(ProjectWorkspaceWnd)

 public:
  // Tab indices, in the order the tabs stand.
  enum { kTabHier = 0, kTabClass = 1, kTabFile = 2, kTabOutput = 3, kTabCount = 4 };
  // The width the main frame docks the bar at: wide enough for the four tabs to show their icons
  // and whole labels in the GUI font, so that none is cut to "...".
  static constexpr int kDefaultWidth = 260;

  ProjectWorkspaceWnd();
  ~ProjectWorkspaceWnd() override;

  // The four trees (their windows exist once the bar is created).
  ClassView* GetClassView() { return &m_wndClassView; }
  ClassViewStruct* GetClassViewStruct() { return &m_wndClassViewStruct; }
  FileView* GetFileView() { return &m_wndFileView; }
  DatabaseView* GetDatabaseView() { return &m_wndDatabaseView; }
  // The tree of a tab index, null for any other index.
  SECTreeCtrl* GetTree(int nTab);

  // Rebuilds the class and class-hierarchy trees (after the project's headers changed).
  void RefreshClassTrees();

  // In the order they are made (and the reverse of their destruction).
  ClassView m_wndClassView;
  ClassViewStruct m_wndClassViewStruct;
  DatabaseView m_wndDatabaseView;
  FileView m_wndFileView;
  SEC3DTabWnd m_wndTab;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
