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
