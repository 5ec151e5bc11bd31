// The project settings dialog (pages read on OK, the language-change flag, the shadow size as
// typed, the colour legend with its shadow), the properties of files and folders, and the new
// folder and rename dialogs refusing names that are not one plain item.
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
class ProjectShell : public ShellServices {
 public:
  ProjectShell() : m_pPrevious(SetShellServices(this)) {}
  ~ProjectShell() override { SetShellServices(m_pPrevious); }
  CWorkSpaceObj* GetWorkSpace() override { return &project; }
  CString GetProjectFolder() override { return ""; }
  CString GetProjectName() override { return ""; }
  const BYTE* GetGBToBig5Table() override { return nullptr; }
  const BYTE* GetBig5ToGBTable() override { return nullptr; }
  void CopyFileIntoProject(CString) override {}
  BOOL OpenDiagramFile(CString) override { return FALSE; }
  void OpenFormFile(CString) override {}
  CString GetComponentName(int) override { return ""; }
  void BeginProgress(LPCTSTR, int, int, BOOL, DWORD) override {}
  void SetProgressPos(int) override {}
  void EndProgress() override {}
  void RefreshOutputTree() override {}
  void DrawClassBox(HDC, const RECT&, int) override {}
  int ShowMessage(LPCTSTR, UINT) override { return IDOK; }
  CWorkSpaceObj project;

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

TEST(ProjectSettings, OkReadsEveryPageAndFlagsOnlyARealLanguageChange) {
  struct Case {
    int languageIndex;  // -1 keeps the language
    const char* shadowText;
    int closeWith;
    bool languageChanged;
    int shadowSize;
    int publicVariables;
  };
  const Case cases[] = {
      {0, "25", IDOK, true, 25, 0},      // typed sizes pass the spin's 0-20 limit
      {2, "", IDOK, false, 3, 0},        // the same language again; an empty size keeps the old one
      {-1, "9", IDCANCEL, false, 9, 1},  // Cancel reads nothing (the size follows the edit as typed)
  };
  for (const Case& c : cases) {
    DialogSession s;
    ProjectShell shell;
    shell.project.SetShadowSize(3);
    CMainProjectSetDlg dlg;
    dlg.m_GeneralPage.m_nLanguage = dlg.m_GeneralPage.m_nOpenLanguage = LANGUAGE_ENG;
    dlg.m_GeneralPage.m_bDocPublicVariables = 1;
    dlg.m_GeneralPage.m_strTitle = "Old title";
    dlg.m_DiagramPage.m_crBase = RGB(10, 20, 30);
    dlg.m_OwnerPage.m_strAuthor = "Your Name";
    std::string shownTitle, shownLanguage, shownAuthor;
    ModalAnswers answers;
    answers.When(nullptr, "Settings", [&](HWND h) {
      const HWND general = dlg.m_GeneralPage.GetSafeHwnd(), diagram = dlg.m_DiagramPage.GetSafeHwnd();
      const HWND owner = dlg.m_OwnerPage.GetSafeHwnd();
      shownTitle = DlgText(general, IDC_PROJECT_TITLE);
      shownLanguage = DlgText(general, IDC_PROJECT_LANGUAGE);
      shownAuthor = DlgText(owner, IDC_AUTHOR);
      if (c.languageIndex >= 0) {
        ::SendDlgItemMessage(general, IDC_PROJECT_LANGUAGE, CB_SETCURSEL, c.languageIndex, 0);
        DlgCommand(general, IDC_PROJECT_LANGUAGE, CBN_SELCHANGE);
      }
      ::CheckDlgButton(general, IDC_DOC_PUBLIC_VARIABLES, BST_UNCHECKED);
      ::SetDlgItemText(general, IDC_PROJECT_TITLE, "New title");
      ::SetDlgItemText(diagram, IDC_SHADOW_SIZE, c.shadowText);
      ::SetDlgItemText(owner, IDC_AUTHOR, "Ann Lee");
      ::SendMessage(diagram, WM_SETPICKERCOLOUR, IDC_DERIVED_COLOUR, RGB(1, 2, 3));
      DlgCommand(h, c.closeWith);
    });
    EXPECT_EQ(dlg.DoModal(), c.closeWith);
    EXPECT_EQ(shownTitle, "Old title");
    EXPECT_EQ(shownLanguage, "English(U.S.A)");
    EXPECT_EQ(shownAuthor, "Your Name");
    EXPECT_EQ(dlg.m_GeneralPage.m_bLanguageChanged, c.languageChanged ? TRUE : FALSE) << c.shadowText;
    EXPECT_EQ(dlg.m_DiagramPage.m_nShadowSize, c.shadowSize) << c.shadowText;
    EXPECT_EQ(dlg.m_GeneralPage.m_bDocPublicVariables, c.publicVariables) << c.shadowText;
    EXPECT_EQ(dlg.m_DiagramPage.m_crBase, RGB(10, 20, 30));
    const bool bRead = c.closeWith == IDOK;
    EXPECT_EQ(std::string(dlg.m_GeneralPage.m_strTitle), bRead ? "New title" : "Old title");
    EXPECT_EQ(std::string(dlg.m_OwnerPage.m_strAuthor), bRead ? "Ann Lee" : "Your Name");
  }
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
