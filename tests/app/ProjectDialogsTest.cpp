// The project settings dialog (pages read on OK, the language-change flag, the shadow size as
// typed within the spin's range, the colour legend with its shadow), the properties of files and
// folders, and the new folder and rename dialogs refusing names that are not one plain item.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "AppTestSupport.h"
#include "app/CMainProjectSetDlg.h"
#include "app/CNewFolderDlg.h"
#include "app/CPropDlgMain.h"
#include "controls/controls.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"
#include "resources/AppResource.h"

namespace {

using apptest::BoxRecorder;
using brambolt::test::ModalAnswers;

using apptest::DlgCommand;
using apptest::DlgText;

// Hands the Diagram page a project whose shadow settings it reads.
class ProjectShell : public QuietShellServices {
 public:
  ProjectShell() : m_pPrevious(SetShellServices(this)) {}
  ~ProjectShell() override { SetShellServices(m_pPrevious); }
  CWorkSpaceObj* GetWorkSpace() override { return &project; }
  void RefreshOutputTree() override { ++refreshes; }
  CWorkSpaceObj project;
  int refreshes = 0;

 private:
  ShellServices* m_pPrevious;
};

struct DialogSession {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  CWinApp app{"Project Dialogs Test"};
  BoxRecorder boxes;
  DialogSession() { InitCommonControls(); }
};

TEST(ProjectSettings, TheCommandCopiesTheProjectInAndBackAndRefreshesTheTreeOnlyForANewLanguage) {
  struct Case {
    int languageIndex;  // -1 keeps the language
    const char* shadowText;
    int closeWith;
    int refreshes;
    int shadowSize;
  };
  const Case cases[] = {
      {0, "12", IDOK, 1, 12},     // a typed size within the spin's 0-20
      {2, " 20 ", IDOK, 0, 20},   // the same language again; spaces around the size are no matter
      {0, "9", IDCANCEL, 0, 3},   // Cancel changes nothing
  };
  for (const Case& c : cases) {
    DialogSession s;
    ProjectShell shell;
    CWorkSpaceObj& project = shell.project;
    project.m_strAuthor = "Ann Lee";
    project.SetShadowSize(3);
    std::string shownAuthor, shownLanguage;
    ModalAnswers answers;
    answers.When(nullptr, "Settings", [&](HWND h) {
      CWnd* pDialog = CWnd::FromHandle(h);
      auto* pDlg = static_cast<CMainProjectSetDlg*>(pDialog);
      const HWND general = pDlg->m_GeneralPage.GetSafeHwnd(), owner = pDlg->m_OwnerPage.GetSafeHwnd();
      shownAuthor = DlgText(owner, IDC_AUTHOR);
      shownLanguage = DlgText(general, IDC_PROJECT_LANGUAGE);
      if (c.languageIndex >= 0) {
        ::SendDlgItemMessage(general, IDC_PROJECT_LANGUAGE, CB_SETCURSEL, c.languageIndex, 0);
        DlgCommand(general, IDC_PROJECT_LANGUAGE, CBN_SELCHANGE);
      }
      ::CheckDlgButton(general, IDC_DOC_PUBLIC_VARIABLES, BST_UNCHECKED);
      ::SetDlgItemText(owner, IDC_URL, "http://example.org");
      ::SetDlgItemText(general, IDC_PROJECT_TITLE, "New title");
      ::SetDlgItemText(pDlg->m_DiagramPage.GetSafeHwnd(), IDC_SHADOW_SIZE, c.shadowText);
      ::SendMessage(pDlg->m_DiagramPage.GetSafeHwnd(), WM_SETPICKERCOLOUR, IDC_DERIVED_COLOUR, RGB(1, 2, 3));
      DlgCommand(h, c.closeWith);
    });
    EXPECT_EQ(EditProjectSettings(project), c.closeWith == IDOK ? TRUE : FALSE);
    EXPECT_EQ(shownAuthor, "Ann Lee");
    EXPECT_EQ(shownLanguage, "English(U.S.A)");
    EXPECT_EQ(shell.refreshes, c.refreshes) << c.shadowText;
    const bool bOK = c.closeWith == IDOK;
    EXPECT_EQ(project.m_bModified, bOK ? TRUE : FALSE);
    EXPECT_EQ(project.m_bDocPublicVariables, bOK ? FALSE : TRUE);
    EXPECT_EQ(project.m_bDocPrivateVariables, TRUE);
    EXPECT_EQ(std::string(project.m_strHomePage), bOK ? "http://example.org" : "");
    EXPECT_EQ(project.m_nOutputLanguage, bOK && c.languageIndex == 0 ? LANGUAGE_CHS : LANGUAGE_ENG);
    EXPECT_EQ(project.GetShadowSize(), c.shadowSize);
    EXPECT_EQ(std::string(project.m_strProjectTitle), bOK ? "New title" : "");
    EXPECT_EQ(project.m_crDerivedClass, bOK ? RGB(1, 2, 3) : RGB(255, 255, 255));
  }
}

TEST(ProjectSettings, EnterAndEscapeCloseTheDialogAfterATabWasClicked) {
  DialogSession s;
  ProjectShell shell;
  // Owned by the main window, as in the program: the keys must close the dialog, not go on to it.
  auto* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 600)));
  s.app.m_pMainWnd = frame;
  struct Case {
    int tab;
    UINT key;
    BOOL result;
  };
  for (const Case& c : {Case{0, VK_ESCAPE, FALSE}, Case{1, VK_RETURN, TRUE}, Case{2, VK_ESCAPE, FALSE}}) {
    bool closed = false;
    ModalAnswers answers;
    answers.When(nullptr, "Settings", [&](HWND h) {
      auto* pDlg = static_cast<CMainProjectSetDlg*>(CWnd::FromHandle(h));
      SEC3DTabControl* tabs = pDlg->m_wndTab.Get3DTabControl();
      CRect rect;
      tabs->GetTabRect(c.tab, &rect);
      brambolt::test::Click(tabs->GetSafeHwnd(), rect.CenterPoint());
      brambolt::test::PressKey(c.key);
      closed = !::IsWindowVisible(h);
      if (!closed) DlgCommand(h, IDCANCEL);
    });
    EXPECT_EQ(EditProjectSettings(shell.project, frame), c.result) << c.tab;
    EXPECT_TRUE(closed) << c.tab;
  }
  s.app.m_pMainWnd = nullptr;
  frame->DestroyWindow();
}

TEST(ProjectSettings, LegendDrawsTheBoxesAndTheirShadowOnlyWhileShadowIsTicked) {
  DialogSession s;
  ProjectShell shell;
  shell.project.SetShadow(FALSE);
  shell.project.SetShadowSize(6);
  CMainProjectSetDlg dlg;
  dlg.m_DiagramPage.m_crBackground = RGB(255, 255, 255);
  dlg.m_DiagramPage.m_crBase = RGB(0, 128, 255);
  dlg.m_DiagramPage.m_crDerived = RGB(255, 255, 0);
  dlg.m_DiagramPage.m_crComponent = RGB(0, 200, 0);
  // Of two neighbouring pixels under the shadow's overhang, how many the checker darkened.
  int darkWithout = -1, darkWith = -1;
  COLORREF baseFill = 0, derivedFill = 0;
  std::string shownSize;
  ModalAnswers answers;
  answers.When(nullptr, "Settings", [&](HWND h) {
    dlg.m_wndTab.ActivateTab(1);
    const HWND page = dlg.m_DiagramPage.GetSafeHwnd();
    const CRect r = dlg.m_DiagramPage.LegendRect();
    shownSize = DlgText(page, IDC_SHADOW_SIZE);
    auto dark = [&] {
      brambolt::test::RunUntilIdle();
      int n = 0;
      for (int dx : {0, 1})
        n += brambolt::test::WindowPixel(page, r.left + 203 + dx, r.top + 43) == RGB(0, 0, 0) ? 1 : 0;
      return n;
    };
    darkWithout = dark();
    DlgCommand(page, IDC_SHADOW);
    darkWith = dark();
    baseFill = brambolt::test::WindowPixel(page, r.left + 22, r.top + 22);
    derivedFill = brambolt::test::WindowPixel(page, r.left + 42, r.top + 52);
    DlgCommand(h, IDCANCEL);
  });
  dlg.DoModal();
  EXPECT_EQ(shownSize, "6");
  EXPECT_EQ(darkWithout, 0);
  EXPECT_EQ(darkWith, 1);
  EXPECT_EQ(baseFill, RGB(0, 128, 255));
  EXPECT_EQ(derivedFill, RGB(255, 255, 0));
}

// Where a window's first ink lies inside its client area, in window coordinates: the top-most
// row and the left-most column of anything not of the window colour.
POINT FirstInk(HWND hwnd) {
  RECT window, client;
  ::GetWindowRect(hwnd, &window);
  ::GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ::ClientToScreen(hwnd, &origin);
  const int ox = origin.x - window.left, oy = origin.y - window.top;
  POINT first{-1, -1};
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (brambolt::test::WindowPixel(hwnd, ox + x, oy + y) != ::GetSysColor(COLOR_WINDOW)) {
        if (first.y < 0) first.y = oy + y;
        if (first.x < 0 || ox + x < first.x) first.x = ox + x;
      }
  return first;
}

// The dialog's edits have the sunken client edge that the dialog gives for their plain border,
// and their text sits where an edit made with that edge alone puts it: one pixel inside it.
TEST(ProjectSettings, EditTextSitsOnePixelInsideTheSunkenEdge) {
  DialogSession s;
  ProjectShell shell;
  CMainProjectSetDlg dlg;
  dlg.m_GeneralPage.m_strTitle = "HH";
  DWORD style = 0, exStyle = 0;
  RECT format{};
  POINT inDialog{-1, -1}, alone{-1, -1};
  ModalAnswers answers;
  answers.When(nullptr, "Settings", [&](HWND h) {
    const HWND edit = ::GetDlgItem(dlg.m_GeneralPage.GetSafeHwnd(), IDC_PROJECT_TITLE);
    style = static_cast<DWORD>(::GetWindowLong(edit, GWL_STYLE));
    exStyle = static_cast<DWORD>(::GetWindowLong(edit, GWL_EXSTYLE));
    ::SendMessage(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    CRect place;
    ::GetWindowRect(edit, &place);
    HWND host = ::CreateWindowEx(0, "Static", "", WS_POPUP | WS_VISIBLE, 600, 500, place.Width() + 20,
                                 place.Height() + 20, nullptr, nullptr, nullptr, nullptr);
    HWND made = ::CreateWindowEx(WS_EX_CLIENTEDGE, "Edit", "HH", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10,
                                 place.Width(), place.Height(), host, nullptr, nullptr, nullptr);
    ::SendMessage(made, WM_SETFONT, ::SendMessage(edit, WM_GETFONT, 0, 0), FALSE);
    ::SetFocus(::GetDlgItem(h, IDOK));  // no caret nor selection in the pictures
    for (HWND each : {edit, made}) {
      ::InvalidateRect(each, nullptr, TRUE);
      ::UpdateWindow(each);
    }
    brambolt::test::RunUntilIdle();
    inDialog = FirstInk(edit);
    alone = FirstInk(made);
    ::DestroyWindow(host);
    DlgCommand(h, IDCANCEL);
  });
  dlg.DoModal();
  EXPECT_EQ(style & WS_BORDER, 0u);
  EXPECT_NE(exStyle & WS_EX_CLIENTEDGE, 0u);
  EXPECT_EQ(format.left, 1);
  EXPECT_EQ(format.top, 1);
  ASSERT_GE(alone.x, 0) << "the text is drawn";
  EXPECT_EQ(inDialog.x, alone.x);
  EXPECT_EQ(inDialog.y, alone.y);
}

// Ctrl+Tab and Ctrl+Page Down turn to the next page, Ctrl+Shift+Tab and Ctrl+Page Up to the
// previous one, from the last to the first and back, wherever the focus is in the dialog's
// pages; Tab reaches the page tabs, where the focused tab shows the focus rectangle, and the
// arrows turn the pages from there.
TEST(ProjectSettings, KeysTurnThePagesAndTabReachesTheTabs) {
  DialogSession s;
  ProjectShell shell;
  CMainProjectSetDlg dlg;
  std::vector<int> pages;
  std::vector<bool> focusInPage;
  bool reachedTabs = false;
  long focusMarks = 0;
  int afterArrow = -1;
  ModalAnswers answers;
  answers.When(nullptr, "Settings", [&](HWND h) {
    SEC3DTabControl* tabs = dlg.m_wndTab.Get3DTabControl();
    CTabPage* const shown[] = {&dlg.m_GeneralPage, &dlg.m_DiagramPage, &dlg.m_OwnerPage};
    auto record = [&] {
      int active = -1;
      tabs->GetActiveTab(active);
      pages.push_back(active);
      const HWND page = active >= 0 && active < 3 ? shown[active]->GetSafeHwnd() : nullptr;
      focusInPage.push_back(page != nullptr && ::IsWindowVisible(page) && ::IsChild(page, ::GetFocus()));
    };
    ::SetFocus(::GetDlgItem(dlg.m_GeneralPage.GetSafeHwnd(), IDC_PROJECT_TITLE));
    using brambolt::test::kCtrl;
    using brambolt::test::kShift;
    brambolt::test::PressKey(VK_TAB, kCtrl);
    record();
    brambolt::test::PressKey(VK_NEXT, kCtrl);
    record();
    brambolt::test::PressKey(VK_TAB, kCtrl);
    record();
    brambolt::test::PressKey(VK_TAB, kCtrl | kShift);
    record();
    brambolt::test::PressKey(VK_PRIOR, kCtrl);
    record();
    // Tab on until the focus reaches the tabs; the focused tab differs from the same tab unfocused.
    CRect tab;
    int active = -1;
    tabs->GetActiveTab(active);
    tabs->GetTabRect(active, &tab);
    auto picture = [&] {
      brambolt::test::RunUntilIdle();
      std::vector<COLORREF> pixels;
      for (int y = tab.top; y < tab.bottom; ++y)
        for (int x = tab.left; x < tab.right; ++x) pixels.push_back(brambolt::test::WindowPixel(tabs->GetSafeHwnd(), x, y));
      return pixels;
    };
    const std::vector<COLORREF> unfocused = picture();
    for (int i = 0; i < 30 && !reachedTabs; ++i) {
      brambolt::test::PressKey(VK_TAB);
      reachedTabs = ::GetFocus() == tabs->GetSafeHwnd();
    }
    if (reachedTabs) {
      const std::vector<COLORREF> focused = picture();
      for (std::size_t i = 0; i < focused.size() && i < unfocused.size(); ++i) focusMarks += focused[i] != unfocused[i];
      brambolt::test::PressKey(VK_RIGHT);
      tabs->GetActiveTab(afterArrow);
    }
    DlgCommand(h, IDCANCEL);
  });
  dlg.DoModal();
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 0, 2, 1}));
  EXPECT_EQ(focusInPage, (std::vector<bool>{true, true, true, true, true}));
  EXPECT_TRUE(reachedTabs);
  EXPECT_GT(focusMarks, 0) << "the focused tab shows its focus rectangle";
  EXPECT_EQ(afterArrow, 2);
}

TEST(ItemProperties, ShowNameFolderSizeAboveTwoGigabytesAndReadOnly) {
  DialogSession s;
  const std::string dir = s.stores.TempDir() + "/";
  const std::string big = dir + "big.bin";
  std::ofstream(big).close();
  std::filesystem::resize_file(big, 3ULL << 30);  // sparse: nothing is written
  ::chmod(big.c_str(), 0444);
  struct Case {
    std::string path, name, location, size;
    bool readOnly, timesShown;
  };
  const Case cases[] = {
      {big, "big.bin", dir, "3221225472", true, true},
      {dir + "\\", "Folder", dir + "\\", "4096", false, true},
      {dir + "missing.txt", "missing.txt", dir, "0", false, false},
  };
  for (const Case& c : cases) {
    CPropDlgMain dlg;
    dlg.m_Page.m_strPath = c.path.c_str();
    dlg.m_strCaptionName = CPropDlgPage0::ItemName(c.path.c_str());
    std::string caption, name, location, size, created;
    bool readOnly = false, applyEnabled = true;
    ModalAnswers answers;
    answers.When(nullptr, nullptr, [&](HWND h) {
      const HWND page = dlg.m_Page.GetSafeHwnd();
      char sz[256] = {};
      ::GetWindowText(h, sz, sizeof sz);
      caption = sz;
      name = DlgText(page, IDC_ITEM_NAME);
      location = DlgText(page, IDC_ITEM_LOCATION);
      size = DlgText(page, IDC_ITEM_SIZE);
      created = DlgText(page, IDC_ITEM_CREATED);
      readOnly = ::IsDlgButtonChecked(page, IDC_READ_ONLY) == BST_CHECKED;
      applyEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDC_PROPERTIES_APPLY)) != FALSE;
      DlgCommand(h, IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(caption, c.name + " Properties");
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(location, c.location);
    if (c.name != "Folder") {
      EXPECT_EQ(size, c.size);
    }
    EXPECT_EQ(readOnly, c.readOnly) << c.path;
    EXPECT_EQ(created != "Static", c.timesShown) << created;
    EXPECT_FALSE(applyEnabled);
  }
  ::chmod(big.c_str(), 0644);
}

TEST(NewFolderAndRename, RefuseNamesThatAreNotOnePlainItem) {
  DialogSession s;
  const std::string parent = s.stores.TempDir() + "/Output/";
  std::filesystem::create_directories(parent + "Taken");
  struct Case {
    const char* name;
    const char* message;  // nullptr: accepted
  };
  const char kBad[] = "A folder name cannot contain any of the following characters \\ / ; * ? \" < > |";
  const Case cases[] = {
      {"Taken", "The folder name already exist,please enter a difference name?"},
      {"a?b", kBad}, {"..", kBad}, {"x/y", kBad}, {"..\\up", kBad}, {"Fresh", nullptr},
  };
  for (const Case& c : cases) {
    s.boxes.Boxes().clear();
    CNewFolderDlg dlg;
    dlg.m_strParentFolder = parent.c_str();
    bool okWhenEmpty = true, stayed = false;
    ModalAnswers answers;
    answers.When(nullptr, "Folder", [&](HWND h) {
      ::SetDlgItemText(h, IDC_FOLDER_NAME, "");
      okWhenEmpty = ::IsWindowEnabled(::GetDlgItem(h, IDOK)) != FALSE;
      ::SetDlgItemText(h, IDC_FOLDER_NAME, c.name);
      DlgCommand(h, IDOK);
      stayed = ::IsWindow(h) && ::IsWindowVisible(h);
      if (stayed) DlgCommand(h, IDCANCEL);
    });
    const INT_PTR result = dlg.DoModal();
    EXPECT_FALSE(okWhenEmpty);
    if (c.message == nullptr) {
      EXPECT_EQ(result, IDOK);
      EXPECT_TRUE(std::filesystem::is_directory(parent + c.name));
      EXPECT_TRUE(s.boxes.Boxes().empty());
    } else {
      EXPECT_EQ(result, IDCANCEL) << c.name;
      ASSERT_EQ(s.boxes.Boxes().size(), 1u) << c.name;
      EXPECT_EQ(s.boxes.Boxes()[0].text, c.message);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(s.stores.TempDir() + "/up"));
  EXPECT_FALSE(std::filesystem::exists(parent + "x"));

  for (const char* name : {"../x", "ok.txt"}) {
    s.boxes.Boxes().clear();
    CReNameFileDlg dlg;
    dlg.m_strCurrentName = dlg.m_strNewName = "old.txt";
    std::string current;
    bool okWhenEmpty = true;
    ModalAnswers answers;
    answers.When(nullptr, "Rename", [&](HWND h) {
      current = DlgText(h, IDC_CURRENT_NAME);
      ::SetDlgItemText(h, IDC_NEW_NAME, "");
      okWhenEmpty = ::IsWindowEnabled(::GetDlgItem(h, IDOK)) != FALSE;
      ::SetDlgItemText(h, IDC_NEW_NAME, name);
      DlgCommand(h, IDOK);
      if (::IsWindow(h) && ::IsWindowVisible(h)) DlgCommand(h, IDCANCEL);
    });
    const INT_PTR result = dlg.DoModal();
    EXPECT_EQ(current, "old.txt");
    EXPECT_FALSE(okWhenEmpty);
    const bool bGood = std::string(name) == "ok.txt";
    EXPECT_EQ(result, bGood ? IDOK : IDCANCEL) << name;
    EXPECT_EQ(s.boxes.Boxes().size(), bGood ? 0u : 1u) << name;
    if (bGood) {
      EXPECT_EQ(std::string(dlg.m_strNewName), "ok.txt");
    }
  }
}

}  // namespace
