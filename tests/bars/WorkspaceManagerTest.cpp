// The earlier workspace manager: its menu items for no, three and ten names, the recent commands
// (opening, or the dialog for "&Workspaces..." and names the list no longer has), Save without a
// current workspace, and the dialog applying renames before deletions before it opens or saves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelpRecorder.h"
#include "bars/SECWorkspaceManager.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

// A manager that logs its operations and may refuse to make a dialog.
class LoggingManager : public SECWorkspaceManager {
 public:
  std::vector<std::string> log;
  BOOL makeDialog = TRUE;
  int dialogs = 0;

  void OpenWorkspace(CString name) override {
    log.push_back("open " + std::string(name));
    SECWorkspaceManager::OpenWorkspace(name);
  }
  void SaveWorkspace(CString name) override {
    log.push_back("save " + std::string(name));
    SECWorkspaceManager::SaveWorkspace(name);
  }
  void RenameWorkspace(CString stored, CString edited) override {
    log.push_back("rename " + std::string(stored) + ">" + std::string(edited));
    SECWorkspaceManager::RenameWorkspace(stored, edited);
  }
  void DeleteWorkspace(CString name) override {
    log.push_back("delete " + std::string(name));
    SECWorkspaceManager::DeleteWorkspace(name);
  }
  CDialog* CreateWorkspaceDialog(SECWorkspaceManager* manager) override {
    ++dialogs;
    return makeDialog ? SECWorkspaceManager::CreateWorkspaceDialog(manager) : nullptr;
  }
  BOOL Command(UINT id) { return OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
};

void Fill(LoggingManager& manager, int count) {
  for (int i = 1; i <= count; ++i) manager.m_listWorkspaces.AddTail(("ws" + std::to_string(i)).c_str());
}

TEST(WorkspaceManager, MenuShowsEightNamesAndTheDialogItem) {
  UiSession session;
  struct Case {
    int names;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {0, {"&Workspaces..."}},
      {3, {"&1 ws1", "&2 ws2", "&3 ws3"}},
      {10, {"&1 ws1", "&2 ws2", "&3 ws3", "&4 ws4", "&5 ws5", "&6 ws6", "&7 ws7", "&8 ws8", "&Workspaces..."}},
  };
  for (const Case& c : cases) {
    LoggingManager manager;
    Fill(manager, c.names);
    manager.m_strCurrentName = "ws2";
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, SECWorkspaceManager::kFirstRecent, "placeholder");
    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nIndexMax = 1;
    state.m_nID = SECWorkspaceManager::kFirstRecent;
    state.DoUpdate(&manager, FALSE);
    std::vector<std::string> items;
    for (int i = 0; i < static_cast<int>(menu.GetMenuItemCount()); ++i) {
      CString text;
      menu.GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
      items.push_back(static_cast<LPCTSTR>(text));
    }
    EXPECT_EQ(c.items, items) << c.names;
    const UINT last = menu.GetMenuItemID(menu.GetMenuItemCount() - 1);
    const UINT expectedLast = c.names == 10 ? SECWorkspaceManager::kLastRecent
                                            : SECWorkspaceManager::kFirstRecent + static_cast<UINT>(c.names == 0 ? 0 : c.names - 1);
    EXPECT_EQ(expectedLast, last);
    if (c.names > 1) {
      EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_CHECKED) << "the current one";
    }
  }
}

TEST(WorkspaceManager, RecentCommandsOpenOrRunTheDialog) {
  UiSession session;
  CWinApp app{"Workspaces"};
  LoggingManager manager;
  Fill(manager, 3);
  EXPECT_TRUE(manager.Command(SECWorkspaceManager::kFirstRecent + 1));
  EXPECT_EQ(std::vector<std::string>{"open ws2"}, manager.log);
  manager.makeDialog = FALSE;
  EXPECT_FALSE(manager.Command(SECWorkspaceManager::kLastRecent)) << "no dialog: not handled";
  EXPECT_FALSE(manager.Command(SECWorkspaceManager::kFirstRecent + 5));
  EXPECT_EQ(2, manager.dialogs);
  manager.m_strCurrentName.Empty();
  manager.Command(43009);
  EXPECT_EQ(3, manager.dialogs) << "Save without a current workspace runs the dialog";
  manager.m_strCurrentName = "ws1";
  manager.Command(43009);
  EXPECT_EQ("save ws1", manager.log.back());
}

TEST(WorkspaceManager, DialogAppliesRenamesThenDeletionsBeforeOpening) {
  UiSession session;
  HelpRecorder app{"Workspaces"};
  LoggingManager manager;
  Fill(manager, 3);
  ModalAnswers answers;
  answers.When(nullptr, "Workspace Manager", [](HWND hwnd) {
    auto* dialog = static_cast<SECWsMgrDialog*>(CWnd::FromHandlePermanent(hwnd));
    dialog->m_mapRenames.SetAt("ws1", "first");
    dialog->m_mapRenames.SetAt("ws2", "ws2");
    dialog->m_listDeleted.AddTail("ws3");
    ::SendMessage(hwnd, WM_COMMAND, ID_HELP, 0);
    // Nothing selected: refused, the dialog stays.
    ::SendMessage(hwnd, WM_COMMAND, SECWsMgrDialog::kOpen, 0);
    ::SendDlgItemMessage(hwnd, SECWsMgrDialog::kList, LB_SETCURSEL, 1, 0);
    ::SendMessage(hwnd, WM_COMMAND, SECWsMgrDialog::kOpen, 0);
  });
  int boxes = 0;
  answers.When("#32770", nullptr, [&](HWND box) {
    ++boxes;
    ::SendMessage(box, WM_COMMAND, IDOK, 0);
  });
  manager.Command(43007);
  EXPECT_EQ(1, boxes);
  EXPECT_EQ((std::vector<std::string>{"rename ws1>first", "delete ws3", "open ws2"}), manager.log);
  EXPECT_EQ(2, manager.m_listWorkspaces.GetCount());
  EXPECT_EQ(app.topics, std::vector<DWORD_PTR>{HID_BASE_RESOURCE + SECWsMgrDialog::IDD});
}

}  // namespace
