// The workspace manager: the saved tree (documents, their frames, the main frame's placement and
// title), reopening it with every frame back, the recent list and its menu, a file that is no
// workspace, a window that refuses to close, a save that cannot be written, stored placements,
// and renaming and deleting registry workspaces.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "WorkspaceDocs.h"
#include "bars/SECControlBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECWorkspaceManagerEx.h"
#include "foundation/SECPTNStrategy.h"
#include "base/CodePage.h"
#include "os/FileFaults.h"
#include "os/Paths.h"
#include "os/Registry.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

// The file strategy of a process that is killed after it has written a number of values.
class KilledStrategy : public SECPTNStrategyProfile {
 public:
  KilledStrategy(const CString& file, int valuesBeforeKill) : SECPTNStrategyProfile(file), m_nLeft(valuesBeforeKill) {}
  BOOL WriteKeyValue(const CStringList& path, const CString& key, const CString& value) override {
    if (m_nLeft-- == 0) ::raise(SIGKILL);
    return SECPTNStrategyProfile::WriteKeyValue(path, key, value);
  }

 private:
  int m_nLeft;
};

class KillableManager : public SECWorkspaceManagerEx {
 public:
  int valuesBeforeKill = -1;
  SECPTNStrategy* CreateStrategy(CString strName) override {
    if (valuesBeforeKill < 0) return SECWorkspaceManagerEx::CreateStrategy(strName);
    return new KilledStrategy(strName, valuesBeforeKill);
  }
};

class Workspace : public ::testing::Test {
 protected:
  void SetUp() override {
    // The registry in memory writes to this test's folder (an earlier test's is gone).
    brambolt::ResetRegistryForTesting();
    frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(IDR_WS_FRAME, WS_OVERLAPPEDWINDOW));  // the title is the stored one
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    docs = workspacetest::AddTextTemplate(app);
    manager.Initialize("Software\\MyCompany\\Brambolt\\v2.0", FALSE, HKEY_CURRENT_USER, FALSE);
    ASSERT_TRUE(manager.PlugInTo(frame));
    // A test program run whole keeps one registry in memory: each test starts with no list.
    CStringList none;
    manager.WriteRecentList(none);
    RunUntilIdle();
  }
  void TearDown() override {
    manager.UnPlug();
    app.CloseAllDocuments(FALSE);
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  std::string File(const char* name, const char* content = "text") {
    const std::string path = stores.TempDir() + "/" + name;
    std::ofstream(path) << content;
    return path;
  }
  int Children() {
    int n = 0;
    for (HWND h = ::GetWindow(frame->m_hWndMDIClient, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) ++n;
    return n;
  }
  int Documents() {
    int n = 0;
    for (POSITION pos = docs->GetFirstDocPosition(); pos != nullptr; docs->GetNextDoc(pos)) ++n;
    return n;
  }
  // Opens each named workspace in turn, the documents of the one before closed, and checks it
  // brings back its number of documents; the last one named stays open.
  void ExpectWorkspacesHold(std::initializer_list<std::pair<std::string, int>> workspaces) {
    for (const auto& [name, windows] : workspaces) {
      app.CloseAllDocuments(FALSE);
      RunUntilIdle();
      EXPECT_TRUE(manager.OpenWorkspace(name.c_str(), FALSE)) << name;
      RunUntilIdle();
      EXPECT_EQ(Documents(), windows) << name;
    }
  }
  // Every message box of the workspaces is answered with Enter, its text kept in `messages`.
  static void AnswerMessageBoxes(ModalAnswers& answers, std::vector<std::string>& messages) {
    answers.When("#32770", "Workspace App", [&messages](HWND box) {
      char text[256] = {};
      ::GetDlgItemText(box, 0xFFFF, text, sizeof(text));
      messages.push_back(text);
      PressKey(VK_RETURN);
    }, true);
  }
  // The recent list as "name|name|...".
  std::string Recent() {
    CStringList list;
    manager.ReadRecentList(list);
    std::string joined;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
      joined += std::string(joined.empty() ? "" : "|") + static_cast<LPCTSTR>(list.GetNext(pos));
    return joined;
  }
  // Renames a row of the manager dialog's list as the user does: a double click on it, the new
  // name typed over the old, Enter.
  // A point inside the row of the manager dialog's list that shows the name.
  static POINT RowPoint(HWND list, const char* name) {
    const int row = static_cast<int>(::SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)));
    RECT rect;
    ::SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return {rect.left + 5, rect.top + 3};
  }
  // The workspace manager storing in the registry, and two workspaces saved through it: aa with
  // one window, bb with two.
  // Two workspaces: the first with one window, the second (the current one) with two.
  void SaveTwoWorkspaces(const char* first = "aa", const char* second = "bb") {
  manager.Initialize("Software\\MyCompany\\Brambolt\\v2.0", TRUE, HKEY_CURRENT_USER, FALSE);
  app.OpenDocumentFile(File("a.txt").c_str());
  RunUntilIdle();
  ASSERT_TRUE(manager.SaveWorkspace(first));  // one window
  app.OpenDocumentFile(File("b.txt").c_str());
  RunUntilIdle();
  ASSERT_TRUE(manager.SaveWorkspace(second));  // two windows
  }
  static void RenameRow(HWND dialog, const char* from, const char* to) {
    HWND list = ::GetDlgItem(dialog, 43072);
    DoubleClick(list, RowPoint(list, from));
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    TypeText(to);
    PressKey(VK_RETURN);
  }
  // A popup with the recent-list placeholder (and an Exit item after it), updated as the
  // framework updates a menu that opens.
  void UpdateRecentMenu(CMenu& menu, BOOL withExit) {
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, SECWorkspaceManagerEx::kFirstRecent, "placeholder");
    if (withExit) menu.AppendMenu(MF_STRING, 57665, "E&xit");
    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nIndex = 0;
    state.m_nIndexMax = static_cast<UINT>(menu.GetMenuItemCount());
    state.m_nID = SECWorkspaceManagerEx::kFirstRecent;
    state.DoUpdate(&manager, FALSE);
  }
  // Two documents, the first shown in two frames; the second frame of the first is active.
  CDocument* OpenThree() {
    CDocument* a = app.OpenDocumentFile(File("a.txt").c_str());
    CDocument* b = app.OpenDocumentFile(File("b.txt").c_str());
    EXPECT_NE(nullptr, a);
    EXPECT_NE(nullptr, b);
    POSITION pos = a->GetFirstViewPosition();
    CFrameWnd* first = a->GetNextView(pos)->GetParentFrame();
    CFrameWnd* second = docs->CreateNewFrame(a, first);
    docs->InitialUpdateFrame(second, a, TRUE);
    RunUntilIdle();
    return a;
  }

  UiSession session;
  PrivateStores stores;
  CWinApp app{"Workspace App"};
  CMDIFrameWnd* frame = nullptr;
  CMultiDocTemplate* docs = nullptr;
  KillableManager manager;
};

TEST_F(Workspace, SavesDocumentsAndFramesAndOpensThemAgain) {
  OpenThree();
  frame->SetWindowText("Brambolt Workbench");
  const std::string wsp = stores.TempDir() + "/one.wsp";
  ASSERT_TRUE(manager.SaveWorkspace(wsp.c_str()));
  EXPECT_TRUE(manager.IsOpen());
  EXPECT_EQ(CString(wsp.c_str()), manager.GetCurrentName());

  SECPersistentTreeNode root;
  root.Create("WorkState_v1_1", nullptr);
  SECPTNStrategyProfile profile(wsp.c_str());
  ASSERT_TRUE(root.Load(&profile));
  SECPersistentTreeNode* frames = root.FindChild("Frames");
  ASSERT_NE(nullptr, frames);
  SECPersistentTreeNode* main = frames->FindChild("MainFrame");
  ASSERT_NE(nullptr, main);
  BYTE* bytes = nullptr;
  UINT size = 0;
  EXPECT_EQ(0u, main->GetKeyValueBinary("WindowPlacement", &bytes, &size));
  EXPECT_EQ(44u, size);
  delete[] bytes;
  CString title;
  main->GetKeyValueString("Title", title);
  EXPECT_EQ(CString("Brambolt Workbench"), title);
  SECPersistentTreeNode* children = frames->FindChild("ChildFrames");
  ASSERT_NE(nullptr, children);
  CStringList names;
  children->GetChildNames(names);
  ASSERT_EQ(2, names.GetCount());
  SECPersistentTreeNode* docA = children->FindChild("Document-0");
  ASSERT_NE(nullptr, docA);
  ASSERT_NE(nullptr, docA->FindChild("ViewFrame-1")) << "one document in two frames";
  CString fileType, path;
  docA->FindChild("ViewFrame-0")->GetKeyValueString("DocumentString", fileType);
  docA->FindChild("ViewFrame-0")->GetKeyValueString("DocPathName", path);
  EXPECT_EQ(CString("Brambolt.Text"), fileType);
  EXPECT_NE(-1, path.Find("a.txt"));
  BOOL active = FALSE;
  docA->FindChild("ViewFrame-1")->GetKeyValueBool("IsActiveChildFrame", &active);
  EXPECT_TRUE(active);

  EXPECT_TRUE(manager.CloseWorkspace());
  EXPECT_EQ(0, Children());
  EXPECT_FALSE(manager.IsOpen());
  frame->SetWindowText("Elsewhere");
  ASSERT_TRUE(manager.OpenWorkspace(wsp.c_str(), FALSE));
  EXPECT_EQ(3, Children());
  EXPECT_EQ(2, Documents());
  CString now;
  frame->GetWindowText(now);
  EXPECT_EQ(CString("Brambolt Workbench"), now);
  CMDIChildWnd* activeChild = frame->MDIGetActive();
  ASSERT_NE(nullptr, activeChild);
  EXPECT_NE(-1, activeChild->GetActiveDocument()->GetPathName().Find("a.txt"));
  EXPECT_EQ(wsp, Recent());
}

// A workspace keeps its documents' paths as the system names the files: saved under zh_CN.UTF-8,
// it opens them under de_DE.UTF-8 too, where the code page cannot spell their names.
TEST_F(Workspace, ItsDocumentsOpenUnderALaterLocale) {
  const std::string onDisk = "\xE6\x96\x87\xE6\xA1\xA3.txt";  // in UTF-8
  const std::string file = File(onDisk.c_str());
  const std::string wsp = stores.TempDir() + "/names.wsp";
  {
    brambolt::ScopedLocale locale("zh_CN.UTF-8");
    ASSERT_NE(nullptr, app.OpenDocumentFile(brambolt::ProgramNameOf(file).c_str()));
    RunUntilIdle();
    ASSERT_TRUE(manager.SaveWorkspace(wsp.c_str()));
    EXPECT_TRUE(manager.CloseWorkspace());
    EXPECT_EQ(0, Documents());
  }
  brambolt::ScopedLocale locale("de_DE.UTF-8");
  ASSERT_TRUE(manager.OpenWorkspace(wsp.c_str(), FALSE));
  ASSERT_EQ(1, Documents());
  POSITION pos = docs->GetFirstDocPosition();
  EXPECT_EQ(brambolt::NativePath(static_cast<LPCTSTR>(docs->GetNextDoc(pos)->GetPathName())), file);
}

// The recent list takes two spellings of one workspace file as one: the value an earlier release
// stored (the path spelled the Windows way, in the code page) and the path the Open Workspace
// dialog gives when the user opens that workspace again.
TEST_F(Workspace, TheRecentListTakesTwoSpellingsOfOneFileAsOne) {
  brambolt::ScopedLocale locale("zh_CN.UTF-8");
  const std::string wsp = stores.TempDir() + "/\xCE\xC4\xB5\xB5.wsp";  // 文档 in the code page
  ASSERT_TRUE(manager.SaveWorkspace(wsp.c_str()));
  std::string stored = "C:" + wsp;
  std::replace(stored.begin(), stored.end(), '/', '\\');
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\MyCompany\\Brambolt\\v2.0\\__MRUFileList", 0, nullptr, 0,
                             KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueEx(key, "Workspace0", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                  static_cast<DWORD>(stored.size() + 1));
  ::RegCloseKey(key);
  ModalAnswers answers;
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    RunUntilIdle();
    ::SendDlgItemMessage(dialog, 1152, EM_SETSEL, 0, -1);
    TypeText(wsp);
    PressKey(VK_RETURN);
  });
  frame->SendMessage(WM_COMMAND, 43008);  // Open Workspace
  RunUntilIdle();
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(Recent(), wsp);
}

TEST_F(Workspace, TheBarLayoutComesBackWithTheWorkspace) {
  SECEnableDocking(frame, CBRS_ALIGN_ANY);
  SECControlBar bar;
  ASSERT_TRUE(bar.Create(frame, "Explorer", WS_VISIBLE | CBRS_LEFT, CBRS_EX_GRIPPER, 24020));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
  frame->RecalcLayout();
  const std::string wsp = stores.TempDir() + "/bars.wsp";
  ASSERT_TRUE(manager.SaveWorkspace(wsp.c_str()));
  frame->ShowControlBar(&bar, FALSE, FALSE);
  frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_BOTTOM);
  ASSERT_TRUE(manager.OpenWorkspace(wsp.c_str(), FALSE));
  RunUntilIdle();
  EXPECT_TRUE(bar.GetStyle() & WS_VISIBLE);
  EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), static_cast<UINT>(::GetDlgCtrlID(::GetParent(bar.m_hWnd))));
  bar.DestroyWindow();
}

TEST_F(Workspace, RecentListKeepsEightNewestFirstAndFillsTheMenu) {
  for (int i = 1; i <= 9; ++i) {
    const std::string name = stores.TempDir() + "/ws" + std::to_string(i) + ".wsp";
    ASSERT_TRUE(manager.SaveWorkspace(name.c_str()));
  }
  std::string expected;
  for (int i = 9; i >= 2; --i) expected += (i == 9 ? "" : "|") + stores.TempDir() + "/ws" + std::to_string(i) + ".wsp";
  EXPECT_EQ(expected, Recent()) << "newest first; the ninth name dropped the oldest";
  ASSERT_TRUE(manager.SaveWorkspace(manager.GetCurrentName()));
  EXPECT_EQ(expected, Recent()) << "the same name leaves the list alone";

  CMenu menu;
  UpdateRecentMenu(menu, TRUE);
  ASSERT_EQ(9, menu.GetMenuItemCount());
  CString text;
  menu.GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_EQ(CString(("&1 " + stores.TempDir() + "/ws9.wsp").c_str()), text);
  EXPECT_EQ(SECWorkspaceManagerEx::kFirstRecent + 7, menu.GetMenuItemID(7));
  EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(menu.GetMenuState(1, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_EQ(57665u, menu.GetMenuItemID(8));
}

TEST_F(Workspace, EmptyRecentListShowsADisabledNone) {
  CMenu menu;
  UpdateRecentMenu(menu, FALSE);
  ASSERT_EQ(1, menu.GetMenuItemCount());
  CString text;
  menu.GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_EQ(CString("(none)"), text);
  EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(Workspace, AFileThatIsNoWorkspaceIsReportedAndDroppedWithTheWindowsKept) {
  OpenThree();
  const std::string junk = File("junk.wsp", "not a workspace\n");
  CStringList list;
  CString name = junk.c_str();
  manager.AddToRecentList(name, list);
  ASSERT_TRUE(manager.WriteRecentList(list));
  ModalAnswers answers;
  int boxes = 0;
  answers.When("#32770", nullptr, [&](HWND box) {
    ++boxes;
    ::SendMessage(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_FALSE(manager.OpenWorkspace(junk.c_str(), FALSE));
  EXPECT_EQ(1, boxes);
  EXPECT_EQ("", Recent());
  EXPECT_EQ(3, Children());
}

TEST_F(Workspace, AWindowThatRefusesToCloseStopsTheOpen) {
  OpenThree();
  const std::string wsp = stores.TempDir() + "/kept.wsp";
  ASSERT_TRUE(manager.SaveWorkspace(wsp.c_str()));
  CDocument* b = app.OpenDocumentFile(File("b.txt").c_str());
  ASSERT_NE(nullptr, b);
  b->SetModifiedFlag(TRUE);
  // The save question for b is cancelled: b's frame stays, so nothing is loaded over it.
  ModalAnswers answers;
  answers.When("#32770", nullptr, [](HWND box) { ::SendMessage(box, WM_COMMAND, IDCANCEL, 0); }, true);
  EXPECT_FALSE(manager.OpenWorkspace(wsp.c_str(), TRUE));
  EXPECT_EQ(CString(wsp.c_str()), manager.GetCurrentName());
  EXPECT_TRUE(manager.IsOpen());
  EXPECT_LE(Children(), 3);
  EXPECT_EQ(1, Documents());
  b->SetModifiedFlag(FALSE);
}

// A save that cannot be written (a folder that is gone, a full disk) is reported, and neither
// the stored workspace nor the current one changes: in a file and in the registry.
TEST_F(Workspace, ASaveThatCannotBeWrittenChangesNothing) {
  struct Case {
    const char* what;
    BOOL registry;
    bool fullDisk;
  };
  const std::string folder = stores.TempDir();
  for (const Case& c : {Case{"missing folder", FALSE, false}, Case{"full disk, file", FALSE, true},
                        Case{"full disk, registry", TRUE, true}}) {
    SCOPED_TRACE(c.what);
    manager.Initialize("Software\\MyCompany\\Brambolt\\v2.0", c.registry, HKEY_CURRENT_USER, FALSE);
    CStringList none;
    manager.WriteRecentList(none);
    const std::string good = c.registry ? std::string("Good") : folder + "/good.wsp";
    ASSERT_TRUE(manager.SaveWorkspace(good.c_str()));
    // What is on disk now: the workspace file, or the registry's file.
    const std::string stored = c.registry ? stores.RegistryDir() + "/HKEY_CURRENT_USER.reg" : good;
    auto text = [](const std::string& path) {
      std::ifstream in(path, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    app.OpenDocumentFile(File(("more-" + std::to_string(c.registry) + ".txt").c_str()).c_str());
    RunUntilIdle();
    const std::string before = text(stored);
    ASSERT_FALSE(before.empty());
    ModalAnswers answers;
    int boxes = 0;
    answers.When("#32770", nullptr, [&](HWND box) {
      ++boxes;
      ::SendMessage(box, WM_COMMAND, IDOK, 0);
    });
    std::string bad = c.registry ? std::string("Bad") : folder + "/missing-folder/bad.wsp";
    if (c.fullDisk) {
      brambolt::ScopedFileFaultHook full([](brambolt::FileStep step, const std::string&) {
        return step == brambolt::FileStep::Write ? ENOSPC : 0;
      });
      if (!c.registry) bad = good;  // the save over the good one fails
      EXPECT_FALSE(manager.SaveWorkspace(bad.c_str()));
    } else {
      EXPECT_FALSE(manager.SaveWorkspace(bad.c_str()));
    }
    EXPECT_EQ(1, boxes);
    EXPECT_EQ(before, text(stored));
    if (bad != good) {
      EXPECT_EQ(CString(good.c_str()), manager.GetCurrentName());
      EXPECT_EQ(good, Recent());
    }
  }
}

// A save killed half way (in a child process) leaves the workspace it replaces whole.
TEST_F(Workspace, ASaveKilledMidwayLeavesTheOldWorkspaceWhole) {
  auto frames = [](const std::string& path) {
    std::ifstream in(path);
    int n = 0;
    for (std::string line; std::getline(in, line);) n += line.rfind('[', 0) == 0 && line.find(".ViewFrame-") != std::string::npos;
    return n;
  };
  for (int i = 0; i < 10; ++i) app.OpenDocumentFile(File(("old" + std::to_string(i) + ".txt").c_str()).c_str());
  const std::string wsp = stores.TempDir() + "/killed.wsp";
  ASSERT_TRUE(manager.SaveWorkspace(wsp.c_str()));
  ASSERT_EQ(frames(wsp), 10);
  for (int i = 0; i < 10; ++i) app.OpenDocumentFile(File(("new" + std::to_string(i) + ".txt").c_str()).c_str());
  RunUntilIdle();
  for (int valuesBeforeKill : {1, 40, 90}) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      manager.valuesBeforeKill = valuesBeforeKill;
      manager.SaveWorkspace(wsp.c_str());
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << valuesBeforeKill;
    EXPECT_EQ(frames(wsp), 10) << valuesBeforeKill;
  }
  ASSERT_TRUE(manager.SaveWorkspace(wsp.c_str()));
  EXPECT_EQ(frames(wsp), 20);
}

TEST_F(Workspace, StoredPlacementsAreReadOnlyInTheirExactForm) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  placement.showCmd = SW_SHOWMAXIMIZED;
  placement.rcNormalPosition = {10, 20, 310, 220};
  BYTE bytes[44];
  SECWorkspaceManagerEx::PlacementToBytes(placement, bytes);
  WINDOWPLACEMENT back{};
  ASSERT_TRUE(SECWorkspaceManagerEx::PlacementFromBytes(bytes, 44, back));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), back.showCmd);
  EXPECT_EQ(CRect(10, 20, 310, 220), CRect(back.rcNormalPosition));
  EXPECT_FALSE(SECWorkspaceManagerEx::PlacementFromBytes(bytes, 43, back));
  bytes[0] = 40;
  EXPECT_FALSE(SECWorkspaceManagerEx::PlacementFromBytes(bytes, 44, back));
}

TEST_F(Workspace, RegistryEditsRenameOnlyWhatWasCopiedAndDelete) {
  manager.Initialize("Software\\MyCompany\\Brambolt\\v2.0", TRUE, HKEY_CURRENT_USER, FALSE);
  ASSERT_TRUE(manager.SaveWorkspace("Alpha"));
  ASSERT_TRUE(manager.SaveWorkspace("Beta"));
  CStringList stored, working, deleted;
  for (const char* n : {"Alpha", "Ghost"}) stored.AddTail(n);
  for (const char* n : {"Gamma", "Phantom"}) working.AddTail(n);
  deleted.AddTail("Beta");
  manager.ApplyRegistryEdits(stored, working, deleted);
  auto exists = [&](const char* name) {
    SECPersistentTreeNode root;
    root.Create("WorkState_v1_1", nullptr);
    SECPTNStrategyRegistry strategy(manager.GetBaseKey() + name, HKEY_CURRENT_USER);
    return root.Load(&strategy) && root.FindChild("Frames") != nullptr;
  };
  EXPECT_TRUE(exists("Gamma"));
  EXPECT_FALSE(exists("Alpha"));
  EXPECT_FALSE(exists("Beta"));
  EXPECT_FALSE(exists("Phantom")) << "nothing to copy: no key made";
}

TEST_F(Workspace, RegistryWorkspacesAreChosenRenamedAndCheckedInTheManagerDialog) {
  manager.Initialize("Software\\MyCompany\\Brambolt\\v2.0", TRUE, HKEY_CURRENT_USER, FALSE);
  ASSERT_TRUE(manager.SaveWorkspace("Alpha"));
  ASSERT_TRUE(manager.SaveWorkspace("Beta"));
  ModalAnswers answers;
  // Open: the second entry (the list is newest first).
  answers.When(nullptr, "Open Workspace", [](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, 43072);
    ::SendMessage(list, LB_SETCURSEL, 1, 0);
    Click(::GetDlgItem(dialog, 43001), {5, 5});
  });
  ASSERT_TRUE(manager.LoadWorkspace(FALSE, FALSE));
  EXPECT_EQ(CString("Alpha"), manager.GetCurrentName());

  // Beta is renamed Alpha (refused: it exists), then Gamma; Done applies the edits.
  std::vector<std::string> messages;
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, 43072);
    auto rename = [&](const char* text) {
      RECT row;
      ::SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
      DoubleClick(list, {row.left + 5, row.top + 3});
      ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
      TypeText(text);
      PressKey(VK_RETURN);
    };
    rename("Alpha");
    char current[64] = {};
    ::SendMessage(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(current));
    EXPECT_STREQ("Beta", current) << "a name already there is put back";
    rename("Gamma");
    Click(::GetDlgItem(dialog, 43053), {5, 5});
  });
  answers.When("#32770", "Workspace Manager", [&](HWND box) {
    char text[256] = {};
    ::GetDlgItemText(box, 0xFFFF, text, sizeof(text));
    messages.push_back(text);
    ::SendMessage(box, WM_COMMAND, IDOK, 0);
  });
  // The list is newest first: Alpha (just opened), then Beta.
  EXPECT_TRUE(manager.LoadWorkspace(FALSE, FALSE));
  ASSERT_EQ(1u, messages.size());
  EXPECT_NE(std::string::npos, messages[0].find("already exists")) << messages[0];
  EXPECT_EQ("Alpha|Gamma", Recent());
  SECPersistentTreeNode root;
  root.Create("WorkState_v1_1", nullptr);
  SECPTNStrategyRegistry gamma(manager.GetBaseKey() + "Gamma", HKEY_CURRENT_USER);
  EXPECT_TRUE(root.Load(&gamma) && root.FindChild("Frames") != nullptr);
}

// Registry workspaces as the user keeps them through the keyboard: Save Workspace starts in the
// list on its empty row, where typing a name and Enter save it (Enter on the empty row says the
// name is missing); ten saved are all listed, the two the recent list no longer holds as well, and
// any of them is opened, renamed (in case only, or to another workspace's name in another case,
// which is refused) and deleted, its data kept or gone with it.
TEST_F(Workspace, TenRegistryWorkspacesAreSavedOpenedRenamedAndDeletedByKeyboard) {
  manager.Initialize("Software\\MyCompany\\Brambolt\\v2.0", TRUE, HKEY_CURRENT_USER, FALSE);
  app.OpenDocumentFile(File("a.txt").c_str());
  RunUntilIdle();
  ModalAnswers answers;
  std::vector<std::string> messages;
  answers.When("#32770", "Workspace Manager", [&](HWND box) {
    char text[256] = {};
    ::GetDlgItemText(box, 0xFFFF, text, sizeof(text));
    messages.push_back(text);
    PressKey(VK_RETURN);  // Yes to a new name, OK to the others
  }, true);
  AnswerMessageBoxes(answers, messages);
  auto command = [&](UINT id) {
    frame->SendMessage(WM_COMMAND, id);
    RunUntilIdle();
  };
  // The list's texts, and the one selected.
  auto rows = [](HWND dialog, std::string* selected = nullptr) {
    HWND list = ::GetDlgItem(dialog, 43072);
    std::vector<std::string> texts;
    for (int i = 0; i < static_cast<int>(::SendMessage(list, LB_GETCOUNT, 0, 0)); ++i) {
      char text[64] = {};
      ::SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      texts.push_back(text);
      if (selected != nullptr && ::SendMessage(list, LB_GETCURSEL, 0, 0) == i) *selected = text;
    }
    return texts;
  };
  // A dialog the keys should have ended is ended, so the test goes on.
  auto ended = [](HWND dialog) {
    if (!::IsWindow(dialog) || !::IsWindowVisible(dialog)) return;
    ADD_FAILURE() << "the dialog is still open";
    ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  auto exists = [&](const char* name) {
    SECPersistentTreeNode root;
    root.Create("WorkState_v1_1", nullptr);
    SECPTNStrategyRegistry strategy(manager.GetBaseKey() + name, HKEY_CURRENT_USER);
    return root.Load(&strategy) && root.FindChild("Frames") != nullptr;
  };

  // Enter on the empty row: the missing name is said, the dialog stays; Escape leaves it.
  answers.When(nullptr, "Save Workspace", [&](HWND dialog) {
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, 43072));
    PressKey(VK_RETURN);
    EXPECT_TRUE(::IsWindowVisible(dialog));
    PressKey(VK_ESCAPE);
    ended(dialog);
  });
  command(SECWorkspaceManagerEx::kSaveWorkspaceAs);
  EXPECT_EQ(messages, std::vector<std::string>{"Invalid workspace name."});
  EXPECT_EQ(Recent(), "");
  messages.clear();

  for (int i = 0; i < 10; ++i) {
    const std::string name = "ws" + std::to_string(i);
    answers.When(nullptr, "Save Workspace", [&](HWND dialog) {
      TypeText(name.c_str());
      PressKey(VK_RETURN);
      ended(dialog);
    });
    command(SECWorkspaceManagerEx::kSaveWorkspaceAs);
    ASSERT_TRUE(exists(name.c_str())) << name;
  }
  EXPECT_EQ(Recent(), "ws9|ws8|ws7|ws6|ws5|ws4|ws3|ws2");
  ASSERT_EQ(messages.size(), 10u);
  EXPECT_EQ(messages[0], "Save new workspace 'ws0'?\n");
  messages.clear();

  // Open: every workspace listed (the recent ones first), the current one chosen; ws0 is reached
  // with the keys.
  std::vector<std::string> listed;
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    std::string selected;
    listed = rows(dialog, &selected);
    EXPECT_EQ(selected, "ws9");
    PressKey(VK_END);
    PressKey(VK_UP);
    PressKey(VK_RETURN);
    ended(dialog);
  });
  command(SECWorkspaceManagerEx::kOpenWorkspace);
  EXPECT_EQ(listed, (std::vector<std::string>{"ws9", "ws8", "ws7", "ws6", "ws5", "ws4", "ws3", "ws2", "ws0", "ws1"}));
  EXPECT_EQ(CString("ws0"), manager.GetCurrentName());
  EXPECT_EQ(Recent(), "ws0|ws9|ws8|ws7|ws6|ws5|ws4|ws3");
  EXPECT_EQ(messages, std::vector<std::string>{});

  // ws9 renamed WS9, ws1 (no longer recent) first, ws2 to the taken WS3 (refused), ws3 deleted;
  // Done applies them.
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, 43072);
    RenameRow(dialog, "ws9", "WS9");
    RenameRow(dialog, "ws1", "first");
    RenameRow(dialog, "ws2", "WS3");
    Click(list, RowPoint(list, "ws3"));
    PressKey(VK_DELETE);
    Click(::GetDlgItem(dialog, 43053), {5, 5});
  });
  command(SECWorkspaceManagerEx::kOpenWorkspace);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_NE(messages.back().find("already exists"), std::string::npos) << messages.back();
  EXPECT_TRUE(exists("WS9")) << "renamed in case: its data kept";
  EXPECT_TRUE(exists("first"));
  EXPECT_FALSE(exists("ws1"));
  EXPECT_TRUE(exists("ws2"));
  EXPECT_FALSE(exists("ws3"));
  EXPECT_EQ(Recent(), "ws0|WS9|ws8|ws7|ws6|ws5|ws4");
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    listed = rows(dialog);
    PressKey(VK_ESCAPE);
    ended(dialog);
  });
  command(SECWorkspaceManagerEx::kOpenWorkspace);
  EXPECT_EQ(listed, (std::vector<std::string>{"ws0", "WS9", "ws8", "ws7", "ws6", "ws5", "ws4", "first", "ws2"}));
  EXPECT_TRUE(manager.OpenWorkspace("WS9", FALSE));
  EXPECT_EQ(messages.size(), 1u) << "opened without a word";
}

// Two workspaces' names swapped in one session through a third name (aa to tmpx, bb to aa, tmpx
// to bb): each keeps its windows under the other's name, and the recent list names both.
TEST_F(Workspace, NamesSwappedThroughAThirdNameKeepBothWorkspaces) {
  ASSERT_NO_FATAL_FAILURE(SaveTwoWorkspaces());
  ModalAnswers answers;
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    RenameRow(dialog, "aa", "tmpx");
    RenameRow(dialog, "bb", "aa");
    RenameRow(dialog, "tmpx", "bb");
    Click(::GetDlgItem(dialog, 43053), {5, 5});  // Done
  });
  frame->SendMessage(WM_COMMAND, SECWorkspaceManagerEx::kOpenWorkspace);
  RunUntilIdle();
  EXPECT_TRUE(answers.Unanswered().empty());
  // The current workspace, bb, is aa now: it is the one open, first in the list.
  EXPECT_EQ(CString("aa"), manager.GetCurrentName());
  EXPECT_EQ(Recent(), "aa|bb");
  ExpectWorkspacesHold({{"aa", 2}, {"bb", 1}});
  EXPECT_FALSE(manager.OpenWorkspace("tmpx", TRUE));
}

// The name a renamed workspace waits under while the renames are applied is one no workspace
// holds: a workspace the user saved as "__Renaming zz" keeps its windows when another is renamed
// to zz, and so does one renamed in the same session to the name the other would wait under.
TEST_F(Workspace, ARenameNeverWritesOverAWorkspaceNamedAsItsWaitingPlace) {
  ASSERT_NO_FATAL_FAILURE(SaveTwoWorkspaces("__Renaming zz", "bb"));
  ModalAnswers boxes;
  std::vector<std::string> messages;
  AnswerMessageBoxes(boxes, messages);
  auto renameAll = [&](std::initializer_list<std::pair<const char*, const char*>> renames) {
    ModalAnswers answers;
    answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
      for (const auto& [from, to] : renames) RenameRow(dialog, from, to);
      Click(::GetDlgItem(dialog, 43053), {5, 5});  // Done
    });
    frame->SendMessage(WM_COMMAND, SECWorkspaceManagerEx::kOpenWorkspace);
    RunUntilIdle();
    EXPECT_TRUE(answers.Unanswered().empty());
  };
  renameAll({{"bb", "zz"}});
  EXPECT_EQ(Recent(), "zz|__Renaming zz");
  ExpectWorkspacesHold({{"__Renaming zz", 1}, {"zz", 2}});
  renameAll({{"__Renaming zz", "__Renaming yy"}, {"zz", "yy"}});
  ExpectWorkspacesHold({{"__Renaming yy", 1}, {"yy", 2}});
  EXPECT_FALSE(manager.OpenWorkspace("zz", TRUE));
  EXPECT_FALSE(manager.OpenWorkspace("__Renaming zz", TRUE));
  EXPECT_EQ(messages, std::vector<std::string>{});
}

// The workspace open deleted in the manager, then Done: nothing is opened (no "Invalid workspace"),
// and saving the current workspace (as the frame does at exit) does not bring it back.
TEST_F(Workspace, TheCurrentWorkspaceDeletedIsGoneAfterDone) {
  ASSERT_NO_FATAL_FAILURE(SaveTwoWorkspaces());
  ASSERT_EQ(CString("bb"), manager.GetCurrentName());
  ModalAnswers answers;
  std::vector<std::string> messages;
  AnswerMessageBoxes(answers, messages);
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, 43072);
    Click(list, RowPoint(list, "bb"));
    PressKey(VK_DELETE);
    Click(::GetDlgItem(dialog, 43053), {5, 5});  // Done
  });
  frame->SendMessage(WM_COMMAND, SECWorkspaceManagerEx::kOpenWorkspace);
  RunUntilIdle();
  EXPECT_EQ(messages, std::vector<std::string>{});
  EXPECT_TRUE(manager.GetCurrentName().IsEmpty());
  EXPECT_FALSE(manager.IsOpen());
  if (manager.IsOpen()) manager.SaveCurrentWorkspace();  // as the frame does at exit
  RunUntilIdle();
  EXPECT_EQ(Recent(), "aa");
  EXPECT_FALSE(manager.OpenWorkspace("bb", TRUE)) << "the deleted workspace came back";
}

// The manager's current workspace label follows the current row as the user edits the list: its
// new name after a rename, none once its row is deleted (an edit of another row changes nothing).
TEST_F(Workspace, TheActiveWorkspaceLabelFollowsTheCurrentRow) {
  ASSERT_NO_FATAL_FAILURE(SaveTwoWorkspaces());
  ASSERT_EQ(CString("bb"), manager.GetCurrentName());
  std::vector<std::string> labels;
  ModalAnswers answers;
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    auto label = [&] {
      char text[256] = {};
      ::GetDlgItemText(dialog, 43105, text, sizeof(text));
      labels.push_back(text);
    };
    label();
    RenameRow(dialog, "bb", "cc");
    label();
    RenameRow(dialog, "aa", "dd");
    label();
    HWND list = ::GetDlgItem(dialog, 43072);
    Click(list, RowPoint(list, "cc"));
    PressKey(VK_DELETE);
    label();
    PressKey(VK_ESCAPE);
  });
  frame->SendMessage(WM_COMMAND, SECWorkspaceManagerEx::kOpenWorkspace);
  RunUntilIdle();
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(labels, (std::vector<std::string>{"bb", "cc", "cc", "<None>"}));
}

// A name whose row was deleted in the manager is free again at once: a rename of another row to
// it, in the same session, is taken and keeps that workspace under the name, and the current one
// renamed onto a deleted name stays current.
TEST_F(Workspace, ANameDeletedInTheManagerIsFreeForARenameInTheSameSession) {
  ASSERT_NO_FATAL_FAILURE(SaveTwoWorkspaces());
  app.OpenDocumentFile(File("c.txt").c_str());
  RunUntilIdle();
  ASSERT_TRUE(manager.SaveWorkspace("cc"));  // three windows, the current one
  ModalAnswers answers;
  std::vector<std::string> messages;
  answers.When("#32770", "Workspace Manager", [&](HWND box) {
    std::string texts;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
      char text[256] = {};
      ::GetWindowText(child, text, sizeof(text));
      texts += std::string(text) + "|";
    }
    messages.push_back(texts);
    PressKey(VK_RETURN);
  }, true);
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, 43072);
    Click(list, RowPoint(list, "aa"));
    PressKey(VK_DELETE);
    RenameRow(dialog, "cc", "aa");
    RenameRow(dialog, "bb", "cc");
    Click(::GetDlgItem(dialog, 43053), {5, 5});  // Done
  });
  frame->SendMessage(WM_COMMAND, SECWorkspaceManagerEx::kOpenWorkspace);
  RunUntilIdle();
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(messages, std::vector<std::string>{});
  EXPECT_EQ(CString("aa"), manager.GetCurrentName()) << "the current workspace follows its rename";
  EXPECT_TRUE(manager.IsOpen());
  EXPECT_EQ(Recent(), "aa|cc");
  ExpectWorkspacesHold({{"aa", 3}, {"cc", 2}});
  EXPECT_FALSE(manager.OpenWorkspace("bb", TRUE));
}

// After a swap the row chosen to open or to save under is the workspace the user sees under
// that name, not the one the name meant before.
TEST_F(Workspace, TheRowChosenAfterASwapIsTheWorkspaceShownUnderItsName) {
  ASSERT_NO_FATAL_FAILURE(SaveTwoWorkspaces());
  ModalAnswers answers;
  // bb to tmpx, aa to bb, tmpx to aa; then the row now named aa, and the dialog's own button.
  auto swapAndChoose = [&](UINT button) {
    return [&, button](HWND dialog) {
      RenameRow(dialog, "bb", "tmpx");
      RenameRow(dialog, "aa", "bb");
      RenameRow(dialog, "tmpx", "aa");
      HWND list = ::GetDlgItem(dialog, 43072);
      Click(list, RowPoint(list, "aa"));
      Click(::GetDlgItem(dialog, static_cast<int>(button)), {5, 5});
    };
  };
  auto windowsOf = [&](const char* name) {
    app.CloseAllDocuments(FALSE);
    RunUntilIdle();
    EXPECT_TRUE(manager.OpenWorkspace(name, FALSE)) << name;
    RunUntilIdle();
    return Documents();
  };

  answers.When(nullptr, "Open Workspace", swapAndChoose(43001));
  frame->SendMessage(WM_COMMAND, SECWorkspaceManagerEx::kOpenWorkspace);
  RunUntilIdle();
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(CString("aa"), manager.GetCurrentName());
  EXPECT_EQ(Documents(), 2) << "the workspace shown as aa (bb's windows) opens";

  // Three windows saved, after the same swap, under the row shown as aa (the first aa again):
  // the workspace shown as bb keeps its two.
  app.OpenDocumentFile(File("c.txt").c_str());
  RunUntilIdle();
  ASSERT_EQ(Documents(), 3);
  answers.When(nullptr, "Save Workspace", swapAndChoose(43000));
  frame->SendMessage(WM_COMMAND, SECWorkspaceManagerEx::kSaveWorkspaceAs);
  RunUntilIdle();
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(CString("aa"), manager.GetCurrentName());
  EXPECT_EQ(windowsOf("bb"), 2);
  EXPECT_EQ(windowsOf("aa"), 3);
}

// The row the user edits is the row renamed, however the edit ends: three workspaces (ddd first,
// bbb last), the last row clicked and then double-clicked, a new name typed and taken by Enter or
// by a click on another row; the others keep their names, and Done moves that workspace's windows
// to the new name.
TEST_F(Workspace, TheRowEditedIsTheWorkspaceRenamed) {
  ASSERT_NO_FATAL_FAILURE(SaveTwoWorkspaces("bbb", "ccc"));
  ASSERT_TRUE(manager.SaveWorkspace("ddd"));  // two windows
  ASSERT_EQ(Recent(), "ddd|ccc|bbb");  // the rows in this order, ddd selected
  for (const bool byClick : {false, true}) {
    SCOPED_TRACE(byClick ? "ended by a click on another row" : "ended by Enter");
    const char* const from = byClick ? "Work" : "bbb";
    const char* const to = byClick ? "Rest" : "Work";
    std::vector<std::string> before, rows;
    ModalAnswers answers;
    answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
      HWND list = ::GetDlgItem(dialog, 43072);
      auto texts = [list] {
        std::vector<std::string> all;
        for (int row = 0; row < 3; ++row) {
          char text[64] = {};
          ::SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
          all.emplace_back(text);
        }
        return all;
      };
      before = texts();
      // Not the row selected when the dialog opens (the current workspace's).
      ASSERT_NE(::SendMessage(list, LB_GETCURSEL, 0, 0),
                ::SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(from)));
      Click(list, RowPoint(list, from));
      DoubleClick(list, RowPoint(list, from));
      ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
      TypeText(to);
      if (byClick)
        Click(list, RowPoint(list, "ccc"));
      else
        PressKey(VK_RETURN);
      RunUntilIdle();
      rows = texts();
      Click(::GetDlgItem(dialog, 43053), {5, 5});  // Done
    });
    frame->SendMessage(WM_COMMAND, SECWorkspaceManagerEx::kOpenWorkspace);
    RunUntilIdle();
    EXPECT_TRUE(answers.Unanswered().empty());
    std::vector<std::string> renamed = before;
    std::replace(renamed.begin(), renamed.end(), std::string(from), std::string(to));
    EXPECT_EQ(rows, renamed);
    // Opened last, ddd is the current workspace again, its row the one selected.
    ExpectWorkspacesHold({{to, 1}, {"ddd", 2}});
    EXPECT_FALSE(manager.OpenWorkspace(from, TRUE));
    RunUntilIdle();
  }
}

}  // namespace
