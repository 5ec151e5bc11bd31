// The Project Explorer bar: creates the tab window and its four trees, fits them into the bar.
#include "app/ProjectWorkspaceWnd.h"

#include "app/ClassView.h"
#include "app/ClassViewStruct.h"
#include "app/DatabaseView.h"
#include "app/FileView.h"
#include "app/WorkspaceTree.h"
#include "resources/AppResource.h"
#include "resources/ExplorerRes.h"

IMPLEMENT_DYNAMIC(ProjectWorkspaceWnd, SECControlBar)

BEGIN_MESSAGE_MAP(ProjectWorkspaceWnd, SECControlBar)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// Tree styles of every explorer tree: buttons, lines, lines at the root, no drag notices of the
// tree's own, selection shown always; the list's extended style selects the whole row.
constexpr DWORD kTreeStyles = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP |
                              TVS_SHOWSELALWAYS;
constexpr DWORD kTreeListExStyle = 0x02000000;
// The tab window: tabs along the bottom edge.
constexpr DWORD kTabStyle = 0x10;

struct TabSpec {
  UINT nLabel;
  UINT nIcon;
  UINT nWindowId;
};

constexpr TabSpec kTabs[ProjectWorkspaceWnd::kTabCount] = {
    {IDS_EXPLORER_HIER, IDI_EXPLORER_HIER_TAB, IDW_EXPLORER_HIER},
    {IDS_EXPLORER_CLASS, IDI_EXPLORER_CLASS_TAB, IDW_EXPLORER_CLASS},
    {IDS_EXPLORER_FILE, IDI_EXPLORER_FILE_TAB, IDW_EXPLORER_FILE},
    {IDS_EXPLORER_OUTPUT, IDI_PROJECT_TEMPLATE, IDW_EXPLORER_OUTPUT},
};

std::unique_ptr<SECTreeCtrl> MakeTree(int nTab) {
  switch (nTab) {
    case ProjectWorkspaceWnd::kTabHier:
      return std::make_unique<ClassViewStruct>();
    case ProjectWorkspaceWnd::kTabClass:
      return std::make_unique<ClassView>();
    case ProjectWorkspaceWnd::kTabFile:
      return std::make_unique<FileView>();
    case ProjectWorkspaceWnd::kTabOutput:
      return std::make_unique<DatabaseView>();
    default:
      return nullptr;
  }
}

}  // namespace

ProjectWorkspaceWnd::ProjectWorkspaceWnd() = default;

ProjectWorkspaceWnd::~ProjectWorkspaceWnd() = default;

SECTreeCtrl* ProjectWorkspaceWnd::GetTree(int nTab) const {
  return nTab >= 0 && nTab < kTabCount ? m_pTrees[nTab].get() : nullptr;
}

ClassView* ProjectWorkspaceWnd::GetClassView() const {
  return static_cast<ClassView*>(GetTree(kTabClass));
}

ClassViewStruct* ProjectWorkspaceWnd::GetClassViewStruct() const {
  return static_cast<ClassViewStruct*>(GetTree(kTabHier));
}

FileView* ProjectWorkspaceWnd::GetFileView() const { return static_cast<FileView*>(GetTree(kTabFile)); }

DatabaseView* ProjectWorkspaceWnd::GetDatabaseView() const {
  return static_cast<DatabaseView*>(GetTree(kTabOutput));
}

void ProjectWorkspaceWnd::RefreshClassTrees() {
  if (ClassView* pView = GetClassView(); pView != nullptr && pView->GetSafeHwnd() != nullptr) pView->Refresh();
  if (ClassViewStruct* pView = GetClassViewStruct(); pView != nullptr && pView->GetSafeHwnd() != nullptr)
    pView->Refresh();
}

int ProjectWorkspaceWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (SECControlBar::OnCreate(lpcs) == -1) return -1;
  m_wndTab.Create(this, WS_CHILD | WS_VISIBLE | kTabStyle, IDW_EXPLORER_TABS);

  for (int nTab = 0; nTab < kTabCount; ++nTab) {
    std::unique_ptr<SECTreeCtrl> pTree = MakeTree(nTab);
    if (pTree == nullptr) continue;
    if (!pTree->Create(WS_CHILD | kTreeStyles, kTreeListExStyle, CRect(0, 0, 0, 0), &m_wndTab,
                       kTabs[nTab].nWindowId))
      continue;
    CString strLabel;
    strLabel.LoadString(kTabs[nTab].nLabel);
    m_wndTab.AddTab(pTree.get(), strLabel);
    m_wndTab.SetTabIcon(m_wndTab.GetTabCount() - 1, kTabs[nTab].nIcon, 16, 16);
    m_pTrees[nTab] = std::move(pTree);
  }

  LOGFONT lf;
  GetGuiLogFont(&lf);
  CFont fontActive;
  CFont fontInactive;
  lf.lfWeight = 550;
  fontActive.CreateFontIndirect(&lf);
  lf.lfWeight = 450;
  fontInactive.CreateFontIndirect(&lf);

  if (m_pTrees[kTabFile] != nullptr) m_wndTab.ActivateTab(m_pTrees[kTabFile].get());
  m_wndTab.SetFontActiveTab(&fontActive, TRUE);
  m_wndTab.SetFontInactiveTab(&fontInactive, TRUE);
  return 0;
}

void ProjectWorkspaceWnd::OnSize(UINT nType, int cx, int cy) {
  if (m_wndTab.GetSafeHwnd() != nullptr) {
    CRect rect;
    GetInsideRect(rect);
    m_wndTab.SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SECControlBar::OnSize(nType, cx, cy);
}

BOOL ProjectWorkspaceWnd::OnEraseBkgnd(CDC* pDC) { return SECControlBar::OnEraseBkgnd(pDC); }
