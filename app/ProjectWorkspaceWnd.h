// ProjectWorkspaceWnd: the docking "Project Explorer" bar, a 3-D tab window holding the
// project's class hierarchy, class, file and output trees.
#pragma once

#include <memory>

#include "bars/SECControlBar.h"
#include "widgets/SEC3DTabWnd.h"
#include "widgets/SECTreeCtrl.h"

class ClassView;
class ClassViewStruct;
class DatabaseView;
class FileView;

class ProjectWorkspaceWnd : public SECControlBar {
  DECLARE_DYNAMIC(ProjectWorkspaceWnd)

 public:
  // Tab indices, in the order the tabs stand.
  enum { kTabHier = 0, kTabClass = 1, kTabFile = 2, kTabOutput = 3, kTabCount = 4 };

  ProjectWorkspaceWnd();
  ~ProjectWorkspaceWnd() override;

  // The four trees (null before the bar is created or when that tree could not be made).
  ClassView* GetClassView() const;
  ClassViewStruct* GetClassViewStruct() const;
  FileView* GetFileView() const;
  DatabaseView* GetDatabaseView() const;
  // The tree of a tab index, as the list it is.
  SECTreeCtrl* GetTree(int nTab) const;

  // Rebuilds the class and class-hierarchy trees (after the project's headers changed).
  void RefreshClassTrees();

 private:
  // Owned by tab index; made in OnCreate, destroyed after the tab window.
  std::unique_ptr<SECTreeCtrl> m_pTrees[kTabCount];

 public:
  SEC3DTabWnd m_wndTab;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
