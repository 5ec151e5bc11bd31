// The Project Explorer bar: creates the tab window and its four trees, fits them into the bar.
#include "app/ProjectWorkspaceWnd.h"

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

}  // namespace

ProjectWorkspaceWnd::ProjectWorkspaceWnd() = default;

ProjectWorkspaceWnd::~ProjectWorkspaceWnd() = default;

SECTreeCtrl* ProjectWorkspaceWnd::GetTree(int nTab) {
  switch (nTab) {
    case kTabHier:
      return &m_wndClassViewStruct;
    case kTabClass:
      return &m_wndClassView;
    case kTabFile:
      return &m_wndFileView;
    case kTabOutput:
      return &m_wndDatabaseView;
    default:
      return nullptr;
  }
}

void ProjectWorkspaceWnd::RefreshClassTrees() {
  if (m_wndClassView.GetSafeHwnd() != nullptr) m_wndClassView.Refresh();
  if (m_wndClassViewStruct.GetSafeHwnd() != nullptr) m_wndClassViewStruct.Refresh();
}

int ProjectWorkspaceWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (SECControlBar::OnCreate(lpcs) == -1) return -1;
  m_wndTab.Create(this, WS_CHILD | WS_VISIBLE | kTabStyle, IDW_EXPLORER_TABS);

  for (int nTab = 0; nTab < kTabCount; ++nTab) {
    SECTreeCtrl* pTree = GetTree(nTab);
    if (!pTree->Create(WS_CHILD | kTreeStyles, kTreeListExStyle, CRect(0, 0, 0, 0), &m_wndTab,
                       kTabs[nTab].nWindowId))
      return -1;
    CString strLabel;
    strLabel.LoadString(kTabs[nTab].nLabel);
    m_wndTab.AddTab(pTree, strLabel);
    m_wndTab.SetTabIcon(nTab, kTabs[nTab].nIcon, 16, 16);
  }

  LOGFONT lf;
  GetGuiLogFont(&lf);
  CFont fontActive;
  CFont fontInactive;
  lf.lfWeight = 550;
  fontActive.CreateFontIndirect(&lf);
  lf.lfWeight = 450;
  fontInactive.CreateFontIndirect(&lf);

  m_wndTab.ActivateTab(kTabFile);
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
