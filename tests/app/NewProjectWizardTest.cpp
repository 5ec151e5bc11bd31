// The New Project wizard: the buttons on each page, the checks of the first page, the values the
// pages hand back, the description that follows the language, and the wizard frame's vetoes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "AppTestSupport.h"
#include "StartedApp.h"
#include "app/CNewWizDialog.h"
#include "model/CWorkSpaceObj.h"
#include "win/ModalLoop.h"
#include "app/CNewProjectMain.h"
#include "base/Convert.h"
#include "controls/controls.h"
#include "resources/AppResource.h"

namespace {

using apptest::BoxRecorder;
using brambolt::test::ModalAnswers;

using apptest::DlgCommand;
using apptest::DlgText;
using apptest::ReadText;

// Back, Next and Finish enabled, as three letters ("-N-" has only Next enabled).
std::string Buttons(HWND hWizard) {
  std::string s;
  for (auto [nId, c] : {std::pair{ID_WIZBACK, 'B'}, {ID_WIZNEXT, 'N'}, {ID_WIZFINISH, 'F'}})
    s += ::IsWindowEnabled(::GetDlgItem(hWizard, nId)) ? c : '-';
  return s;
}

void SelectLanguage(CNewWizPage& page, int nIndex) {
  const HWND hBox = ::GetDlgItem(page.GetSafeHwnd(), IDC_PROJECT_LANGUAGE);
  ::SendMessage(hBox, CB_SETCURSEL, nIndex, 0);
  ::SendMessage(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_PROJECT_LANGUAGE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hBox));
}

struct WizardSession {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  CWinApp app{"Wizard Test"};
  BoxRecorder boxes;
  CNewProjectMain wizard;
  CNewProjectPage0 page0;
  CNewProjectPage1 page1;
  CNewProjectPage2 page2;
  CNewProjectPage3 page3;
  WizardSession() {
    InitCommonControls();
    wizard.AddPage(&page0, IDD_NEWPROJECT_PAGE0);
    wizard.AddPage(&page1, IDD_NEWPROJECT_PAGE1);
    wizard.AddPage(&page2, IDD_NEWPROJECT_PAGE2);
    wizard.AddPage(&page3, IDD_NEWPROJECT_PAGE3);
  }
};

TEST(NewProjectWizard, WalksThePagesWithTheirButtonsAndHandsBackWhatWasEntered) {
  WizardSession w;
  const std::string location = w.stores.TempDir() + "/Projects";
  std::filesystem::create_directories(location);
  const std::string source = w.stores.TempDir() + "/Main.cpp";
  std::ofstream(source) << "int main() {}\n";
  CGenMenuObjList components;
  CGenMenuObj component;
  component.m_strComponentName = "Widgets";
  component.m_strComponentText = "widgets.lst";
  component.m_nId = 1000;
  components.AddTail(&component);
  w.page1.m_pComponentList = &components;

  std::vector<std::string> buttons;
  std::string preview, title, languageShown, componentRow, description;
  int components0 = 0, selectedComponent = -1;
  COLORREF sidePixel = 0;
  ModalAnswers answers;
  answers.When(nullptr, "Open", [&](HWND h) {
    ::SetDlgItemText(h, 0x480, source.c_str());
    DlgCommand(h, IDOK);
  }, true);
  answers.When(nullptr, "New Project", [&](HWND h) {
    const HWND p0 = w.page0.GetSafeHwnd();
    buttons.push_back(Buttons(h));
    ::SetDlgItemText(p0, IDC_PROJECT_LOCATION, location.c_str());
    ::SetDlgItemText(p0, IDC_PROJECT_NAME, "  CMyProject ");
    preview = DlgText(p0, IDC_PATH_PREVIEW);
    DlgCommand(h, ID_WIZNEXT);

    const HWND p1 = w.page1.GetSafeHwnd();
    buttons.push_back(Buttons(h));
    // The page shown later is painted whole: its side picture is not the dialog's face.
    brambolt::test::RunUntilIdle();
    RECT rcWizard, rcPicture;
    ::GetWindowRect(h, &rcWizard);
    ::GetWindowRect(::GetDlgItem(p1, IDC_WIZARD_PICTURE), &rcPicture);
    sidePixel = brambolt::test::WindowPixel(h, rcPicture.left - rcWizard.left + 4, rcPicture.top - rcWizard.top + 4);
    title = DlgText(p1, IDC_PROJECT_TITLE);
    languageShown = DlgText(p1, IDC_PROJECT_LANGUAGE);
    components0 = static_cast<int>(::SendDlgItemMessage(p1, IDC_WIZARD_LIST, LB_GETCOUNT, 0, 0));
    selectedComponent = static_cast<int>(::SendDlgItemMessage(p1, IDC_WIZARD_LIST, LB_GETCURSEL, 0, 0));
    char row[128] = {};
    ::SendDlgItemMessage(p1, IDC_WIZARD_LIST, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
    componentRow = row;
    ::SetDlgItemText(p1, IDC_PROJECT_TITLE, "My Title");
    SelectLanguage(w.page1, 0);
    ::SendDlgItemMessage(p1, IDC_WIZARD_LIST, LB_SETCURSEL, 1, 0);
    DlgCommand(h, ID_WIZNEXT);

    buttons.push_back(Buttons(h));
    const HWND p2 = w.page2.GetSafeHwnd();
    DlgCommand(p2, IDC_ADD_FILES);
    DlgCommand(p2, IDC_ADD_FILES);
    DlgCommand(h, ID_WIZNEXT);

    buttons.push_back(Buttons(h));
    const HWND p3 = w.page3.GetSafeHwnd();
    description = DlgText(p3, IDC_PROJECT_DESCRIPTION);
    DlgCommand(h, ID_WIZBACK);
    buttons.push_back(Buttons(h));  // Finish stays reachable on page 2
    DlgCommand(h, ID_WIZBACK);
    DlgCommand(h, ID_WIZNEXT);
    DlgCommand(h, ID_WIZNEXT);  // the same language keeps what was typed
    ::SetDlgItemText(p3, IDC_PROJECT_DESCRIPTION, "Typed");
    DlgCommand(h, ID_WIZBACK);
    DlgCommand(h, ID_WIZNEXT);
    EXPECT_EQ(DlgText(p3, IDC_PROJECT_DESCRIPTION), "Typed");
    DlgCommand(h, ID_WIZBACK);
    DlgCommand(h, ID_WIZBACK);
    SelectLanguage(w.page1, 2);  // another language replaces it
    DlgCommand(h, ID_WIZNEXT);
    DlgCommand(h, ID_WIZNEXT);
    EXPECT_EQ(DlgText(p3, IDC_PROJECT_DESCRIPTION), std::string(CNewProjectPage3::DescriptionFor(LANGUAGE_ENG)));
    ::SetDlgItemText(p3, IDC_EMAIL, "mailto:ann@example.org");
    DlgCommand(h, ID_WIZFINISH);
  });
  EXPECT_EQ(w.wizard.DoModal(), ID_WIZFINISH);

  EXPECT_EQ(buttons, (std::vector<std::string>{"-N-", "BN-", "BN-", "B-F", "BNF"}));
  EXPECT_EQ(preview, "Path:" + location + "/  CMyProject ");
  EXPECT_NE(sidePixel, ::GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(title, "Caption");
  EXPECT_EQ(languageShown, "English(U.S.A)");
  EXPECT_EQ(components0, 2);
  EXPECT_EQ(selectedComponent, 0);
  EXPECT_EQ(componentRow, "Widgets@widgets.lst");
  EXPECT_EQ(description, std::string(CNewProjectPage3::DescriptionFor(LANGUAGE_CHS)));

  EXPECT_EQ(std::string(w.page0.m_strProjectName), "CMyProject");
  EXPECT_EQ(std::string(w.page0.m_strProjectFolder), location + "/CMyProject");
  EXPECT_EQ(std::string(CNewProjectPage0::JoinProjectFolder("C:\\Work", "P")), "C:\\Work\\P");
  EXPECT_EQ(w.page0.m_nTemplateId, 100);
  EXPECT_EQ(std::string(w.page1.m_strTitle), "My Title");
  EXPECT_EQ(w.page1.m_nLanguage, LANGUAGE_ENG);
  EXPECT_EQ(w.page1.m_nComponentId, 1000);
  ASSERT_EQ(w.page2.m_FileList.GetCount(), 2);  // added twice, listed twice
  EXPECT_EQ(std::string(w.page2.m_FileList.GetHead()), source);
  EXPECT_EQ(std::string(w.page3.m_strEmail), "mailto:ann@example.org");
  EXPECT_EQ(std::string(w.page3.m_strAuthor), "Author Name");
  EXPECT_EQ(std::string(w.page3.m_strCopyright), "(C)Copyright ? 2000,All Rights Reversed");
  EXPECT_TRUE(w.boxes.Boxes().empty());
  EXPECT_TRUE(answers.Unanswered().empty());
  components.RemoveAll();
}

// The keyboard alone walks the wizard: the keys given to a page reach the wizard's buttons (Tab
// goes on from the page's fields and the location's browse button to Next, the mnemonic that "Project &Name:" and "&Next >>" share
// moves to Next and then presses it), labels' mnemonics lead to their fields, Return presses the
// focused Next, the focus goes on to Finish when Next goes grey on the last page, and Return
// there finishes with what was typed.
TEST(NewProjectWizard, TheKeyboardAloneWalksTheWizardToFinish) {
  using brambolt::test::kAlt;
  using brambolt::test::kShift;
  using brambolt::test::PressKey;
  using brambolt::test::TypeText;
  WizardSession w;
  const std::string location = w.stores.TempDir() + "/Keys";
  std::filesystem::create_directories(location);
  std::vector<std::string> steps;
  ModalAnswers answers;
  answers.When(nullptr, "New Project", [&](HWND h) {
    const HWND hNext = ::GetDlgItem(h, ID_WIZNEXT), hFinish = ::GetDlgItem(h, ID_WIZFINISH);
    auto where = [&]() {
      const HWND hFocus = ::GetFocus();
      const CNewWizPage* pPage = w.wizard.GetActivePage();
      const std::string page = pPage == &w.page0 ? "0" : pPage == &w.page1 ? "1" : pPage == &w.page2 ? "2" : "3";
      if (hFocus == hNext) return page + ":Next";
      if (hFocus == hFinish) return page + ":Finish";
      return page + ":" + std::to_string(::GetDlgCtrlID(hFocus));
    };
    steps.push_back(where());
    TypeText("KeyProject");
    PressKey(VK_TAB);
    TypeText(location);  // the field's text was selected as the focus came: typed over
    PressKey(VK_TAB);      // the location's browse button
    PressKey(VK_TAB);
    steps.push_back(where());
    PressKey(VK_TAB, kShift);
    PressKey('N', kAlt);
    steps.push_back(where());
    PressKey('N', kAlt);
    steps.push_back(where());
    PressKey('S', kAlt);
    TypeText("Typed Title");
    PressKey('N', kAlt);
    steps.push_back(where());
    PressKey(VK_RETURN);
    steps.push_back(where());
    PressKey('U', kAlt);
    TypeText("Ann");
    PressKey(VK_RETURN);
  });
  EXPECT_EQ(w.wizard.DoModal(), ID_WIZFINISH);
  const std::string name = std::to_string(IDC_PROJECT_NAME);
  EXPECT_EQ(steps, (std::vector<std::string>{"0:" + name, "0:Next", "0:Next", "1:Next", "2:Next", "3:Finish"}));
  EXPECT_EQ(std::string(w.page0.m_strProjectName), "KeyProject");
  EXPECT_EQ(std::string(w.page0.m_strProjectFolder), location + "/KeyProject");
  EXPECT_EQ(std::string(w.page1.m_strTitle), "Typed Title");
  EXPECT_EQ(std::string(w.page3.m_strAuthor), "Ann");
  EXPECT_TRUE(w.boxes.Boxes().empty());
}

// Files deep in a folder tree show their own names: a path too long for its column is cut at its
// start. Each row says what the file is, the rows keep the order of their paths, and the pages
// hand the full paths on.
TEST(NewProjectWizard, TheFileListShowsTheEndOfLongPathsAndWhatEachFileIs) {
  WizardSession w;
  const std::string deep = w.stores.TempDir() + "/a_library_with_a_long_name/include/widgets/drawing";
  std::filesystem::create_directories(deep);
  std::vector<std::string> added;
  for (const char* name : {"Widget.h", "Shape.cpp", "logo.bmp"}) {
    added.push_back(deep + "/" + name);
    std::ofstream(added.back()) << "x";
  }
  size_t next = 0;
  ModalAnswers answers;
  answers.When(nullptr, "Open", [&](HWND h) {
    ::SetDlgItemText(h, 0x480, added[next++].c_str());
    DlgCommand(h, IDOK);
  }, true);
  std::vector<std::string> shown, kinds;
  answers.When(nullptr, "New Project", [&](HWND h) {
    ::SetDlgItemText(w.page0.GetSafeHwnd(), IDC_PROJECT_LOCATION, w.stores.TempDir().c_str());
    ::SetDlgItemText(w.page0.GetSafeHwnd(), IDC_PROJECT_NAME, "Files");
    DlgCommand(h, ID_WIZNEXT);
    DlgCommand(h, ID_WIZNEXT);
    for (size_t i = 0; i < added.size(); ++i) DlgCommand(w.page2.GetSafeHwnd(), IDC_ADD_FILES);
    CListCtrl& list = w.page2.m_ctlFileList;
    for (int i = 0; i < list.GetItemCount(); ++i) {
      shown.emplace_back(list.GetItemText(i, 0));
      kinds.emplace_back(list.GetItemText(i, 1));
    }
    DlgCommand(h, ID_WIZNEXT);
    DlgCommand(h, ID_WIZFINISH);
  });
  EXPECT_EQ(w.wizard.DoModal(), ID_WIZFINISH);

  ASSERT_EQ(shown.size(), 3u);
  const char* names[] = {"logo.bmp", "Shape.cpp", "Widget.h"};
  for (size_t i = 0; i < shown.size(); ++i) {
    EXPECT_EQ(shown[i].rfind("...", 0), 0u) << shown[i];
    EXPECT_EQ(shown[i].substr(shown[i].size() - std::strlen(names[i])), names[i]) << shown[i];
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"Not copied into the project", "Source Code file", "Header file"}));
  std::vector<std::string> handed;
  for (POSITION pos = w.page2.m_FileList.GetHeadPosition(); pos != nullptr;)
    handed.emplace_back(w.page2.m_FileList.GetNext(pos));
  EXPECT_EQ(handed, (std::vector<std::string>{added[2], added[1], added[0]}));
}

// Add with several hundred long names picked at once (more than the dialog's first buffer holds):
// every picked file comes into the list, none is lost without a word.
TEST(NewProjectWizard, AddTakesEveryFileOfALargeChoice) {
  WizardSession w;
  const std::string folder = w.stores.TempDir() + "/library_headers";
  std::filesystem::create_directories(folder);
  for (int i = 0; i < 403; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "a_library_header_with_a_long_name_%03d.h", i);
    std::ofstream(folder + "/" + name) << "x";
  }
  ModalAnswers answers;
  answers.When(nullptr, "Open", [&](HWND h) {
    ::SetDlgItemText(h, 0x480, (folder + "/").c_str());
    DlgCommand(h, IDOK);  // the folder is entered: the list shows its files
    const HWND files = ::GetDlgItem(h, 0x460);
    RECT first{};
    ::SendMessage(files, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    brambolt::test::Click(files, POINT{first.left + 20, (first.top + first.bottom) / 2});
    brambolt::test::PressKey(VK_END, brambolt::test::kShift);
    RECT ok{};
    ::GetClientRect(::GetDlgItem(h, IDOK), &ok);
    brambolt::test::Click(::GetDlgItem(h, IDOK), POINT{ok.right / 2, ok.bottom / 2});
  });
  int listed = -1;
  answers.When(nullptr, "New Project", [&](HWND h) {
    ::SetDlgItemText(w.page0.GetSafeHwnd(), IDC_PROJECT_LOCATION, w.stores.TempDir().c_str());
    ::SetDlgItemText(w.page0.GetSafeHwnd(), IDC_PROJECT_NAME, "Many");
    DlgCommand(h, ID_WIZNEXT);
    DlgCommand(h, ID_WIZNEXT);
    const HWND hAdd = ::GetDlgItem(w.page2.GetSafeHwnd(), IDC_ADD_FILES);
    RECT add{};
    ::GetClientRect(hAdd, &add);
    brambolt::test::Click(hAdd, POINT{add.right / 2, add.bottom / 2});
    listed = w.page2.m_ctlFileList.GetItemCount();
    DlgCommand(h, IDCANCEL);
  });
  EXPECT_EQ(w.wizard.DoModal(), IDCANCEL);
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(listed, 403);
}

// The default description is the program's own text, in its code page: the project's language's
// where that code page holds it, else its Chinese counterpart, else the English one. The index
// page of the new project's documentation shows it in the characters of the page's language.
TEST(NewProjectWizard, TheDefaultDescriptionIsInTheProgramsCodePageAndReadsRightOnTheIndexPage) {
  constexpr char kSimplified[] = "此类库是由我们为开发人员";
  constexpr char kTraditional[] = "此類庫是由我們為開發人員";
  constexpr char kEnglish[] = "This Library is the essential reference";
  const struct {
    UINT nProgram;
    int nLanguage;
    const char* lpszShown;   // the start of the description field, read in the program's code page
    const char* lpszOnPage;  // the start of the description on the index page, read in its charset
  } cases[] = {
      {936, LANGUAGE_CHS, kSimplified, kSimplified},   {936, LANGUAGE_CHT, kTraditional, kTraditional},
      {950, LANGUAGE_CHS, kTraditional, kSimplified},  {950, LANGUAGE_CHT, kTraditional, kTraditional},
      {1252, LANGUAGE_CHS, kEnglish, kEnglish},        {1252, LANGUAGE_CHT, kEnglish, kEnglish},
  };
  for (const auto& c : cases) {
    const std::string what = "program " + std::to_string(c.nProgram) + ", language " + std::to_string(c.nLanguage);
    brambolt::ScopedCodePage program(c.nProgram);
    apptest::StartedApp s;
    const std::string location = s.home.Folder("Projects");
    std::string shown;
    ModalAnswers answers;
    answers.When(nullptr, "New Project", [&](HWND h) {
      auto* wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(h));
      ASSERT_NE(wizard, nullptr);
      const HWND p0 = wizard->GetActivePage()->GetSafeHwnd();
      brambolt::test::TypeText("Described");
      ::SetDlgItemText(p0, IDC_PROJECT_LOCATION, location.c_str());
      DlgCommand(h, ID_WIZNEXT);
      auto* p1 = dynamic_cast<CNewWizPage*>(wizard->GetActivePage());
      ASSERT_NE(p1, nullptr);
      const HWND hBox = ::GetDlgItem(p1->GetSafeHwnd(), IDC_PROJECT_LANGUAGE);
      const int nRows = static_cast<int>(::SendMessage(hBox, CB_GETCOUNT, 0, 0));
      for (int nRow = 0; nRow < nRows; ++nRow)
        if (static_cast<int>(::SendMessage(hBox, CB_GETITEMDATA, nRow, 0)) == c.nLanguage) SelectLanguage(*p1, nRow);
      DlgCommand(h, ID_WIZNEXT);
      DlgCommand(h, ID_WIZNEXT);
      shown = DlgText(wizard->GetActivePage()->GetSafeHwnd(), IDC_PROJECT_DESCRIPTION);
      DlgCommand(h, ID_WIZFINISH);
    });
    brambolt::ScopedLoopFilter accelerators([&](MSG& msg) { return s.app.PreTranslateMessage(&msg); });
    brambolt::test::RunUntilIdle();
    brambolt::test::PressKey('N', brambolt::test::kCtrl);
    EXPECT_TRUE(answers.Unanswered().empty()) << what;
    EXPECT_EQ(brambolt::AnsiToUtf8(shown, c.nProgram).rfind(c.lpszShown, 0), 0u)
        << what << ": " << brambolt::AnsiToUtf8(shown, c.nProgram);

    const bool bSimplified = c.nLanguage == LANGUAGE_CHS;
    const char* lpszOutput = bSimplified ? "Output_Chs" : "Output_GB5";
    s.app.m_pWorkSpace->GeneratePages(c.nLanguage, s.app.m_strProjectFolder + lpszOutput + "\\Htmls\\", nullptr);
    const std::string index =
        brambolt::AnsiToUtf8(ReadText(std::string(s.app.m_strProjectFolder) + lpszOutput + "/Htmls/Index.htm"), bSimplified ? 936 : 950);
    EXPECT_NE(index.find(c.lpszOnPage), std::string::npos) << what << ": " << index.substr(0, 1200);
  }
}

TEST(NewProjectWizard, FirstPageRefusesBadNamesAndExistingProjects) {
  WizardSession w;
  const std::string location = w.stores.TempDir() + "/";
  std::filesystem::create_directories(location + "Taken");
  std::ofstream(location + "Taken/Taken.dcp") << "x";
  std::filesystem::create_directories(location + "Folder_Only");
  struct Case {
    const char *name, *location;
    const char* message;  // nullptr: no message
    bool moves;
  };
  const Case cases[] = {
      {"   ", location.c_str(), "Please enter a project name before you click \"Next\" button.", false},
      {"my proj", location.c_str(), "A project name cannot contain any of the following characters \\ / ; * ? \" < > |", false},
      {"a-b", location.c_str(), "A project name cannot contain any of the following characters \\ / ; * ? \" < > |", false},
      {"a.b", location.c_str(), "A project name cannot contain any of the following characters \\ / ; * ? \" < > |", false},
      {"Good", "", nullptr, false},
      {"Taken", location.c_str(), "The project name already exist.Please enter another one.", false},
      {"Folder_Only", location.c_str(), nullptr, true},
  };
  ModalAnswers answers;
  std::vector<bool> moved;
  std::vector<UINT> types;
  answers.When(nullptr, "New Project", [&](HWND h) {
    for (const Case& c : cases) {
      w.boxes.Boxes().clear();
      ::SetDlgItemText(w.page0.GetSafeHwnd(), IDC_PROJECT_NAME, c.name);
      ::SetDlgItemText(w.page0.GetSafeHwnd(), IDC_PROJECT_LOCATION, c.location);
      DlgCommand(h, ID_WIZNEXT);
      moved.push_back(w.wizard.GetActivePage() == &w.page1);
      if (c.message == nullptr) {
        EXPECT_TRUE(w.boxes.Boxes().empty()) << c.name;
      } else {
        EXPECT_EQ(w.boxes.Boxes().size(), 1u) << c.name;
        for (const auto& box : w.boxes.Boxes()) {
          EXPECT_EQ(box.text, c.message) << c.name;
          types.push_back(box.type);
        }
      }
    }
    DlgCommand(h, IDCANCEL);
  });
  EXPECT_EQ(w.wizard.DoModal(), IDCANCEL);
  EXPECT_EQ(moved, (std::vector<bool>{false, false, false, false, false, false, true}));
  for (UINT type : types) EXPECT_EQ(type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
}

// Under ja_JP.UTF-8 the code page (1252) cannot hold Japanese: a project name pasted with such
// characters loses them (with a beep), and what is left ("Proj" of "テストProj") is a valid name
// the user never gave. The first page refuses it with the message every name field gives, again
// on a second Next, and takes the name once the user has edited it.
TEST(NewProjectWizard, FirstPageRefusesANamePastedWithCharactersTheCodePageCannotHold) {
  brambolt::ScopedLocale names("ja_JP.UTF-8");
  WizardSession w;
  const std::string location = w.stores.TempDir() + "/";
  std::vector<std::string> told;
  bool movedEarly = true, movedAfterEdit = false;
  ModalAnswers answers;
  answers.When(nullptr, "New Project", [&](HWND h) {
    const HWND p0 = w.page0.GetSafeHwnd();
    ::SetDlgItemText(p0, IDC_PROJECT_LOCATION, location.c_str());
    ::SetFocus(::GetDlgItem(p0, IDC_PROJECT_NAME));
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    w.session.Backend().SetForeignClipboardText("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88Proj");  // テストProj
    brambolt::test::PressKey('V', brambolt::test::kCtrl);
    DlgCommand(h, ID_WIZNEXT);
    DlgCommand(h, ID_WIZNEXT);
    movedEarly = w.wizard.GetActivePage() != &w.page0;
    for (const auto& box : w.boxes.Boxes()) told.push_back(box.text);
    ::SetFocus(::GetDlgItem(p0, IDC_PROJECT_NAME));
    brambolt::test::TypeText("2");
    DlgCommand(h, ID_WIZNEXT);
    movedAfterEdit = w.wizard.GetActivePage() == &w.page1;
    DlgCommand(h, IDCANCEL);
  });
  EXPECT_EQ(w.wizard.DoModal(), IDCANCEL);
  EXPECT_FALSE(movedEarly);
  EXPECT_EQ(told, std::vector<std::string>(2, brambolt::RefusedNameMessage()));
  EXPECT_TRUE(movedAfterEdit);
  EXPECT_EQ(std::string(w.page0.m_strProjectName), "Proj2");
}

// A page that refuses to be left or cancelled, to check the frame honours the vetoes.
class StubbornPage : public CNewWizPage {
 public:
  explicit StubbornPage(UINT nID) : CNewWizPage(nID) {}
  BOOL OnKillActive() override { return m_bLeave; }
  BOOL OnQueryCancel() override { return m_bLeave; }
  LRESULT OnWizardNext() override { return m_nNext; }
  BOOL m_bLeave = FALSE;
  LRESULT m_nNext = 0;
};

TEST(NewProjectWizard, FrameKeepsPagesThatRefuseAndJumpsToPagesById) {
  brambolt::test::UiSession session;
  CWinApp app{"Wizard Frame Test"};
  InitCommonControls();
  CNewProjectMain wizard;
  StubbornPage first(IDD_NEWPROJECT_PAGE0), second(IDD_NEWPROJECT_PAGE2), third(IDD_NEWPROJECT_PAGE3);
  wizard.AddPage(&first, IDD_NEWPROJECT_PAGE0);
  wizard.AddPage(&second, IDD_NEWPROJECT_PAGE2);
  wizard.AddPage(&third, IDD_NEWPROJECT_PAGE3);
  ModalAnswers answers;
  std::vector<const CNewWizPage*> active;
  std::string buttons;
  answers.When(nullptr, "New Project", [&](HWND h) {
    DlgCommand(h, ID_WIZNEXT);  // refuses to be left
    active.push_back(wizard.GetActivePage());
    DlgCommand(h, IDCANCEL);  // refuses to be cancelled
    EXPECT_TRUE(::IsWindow(h));
    first.m_bLeave = TRUE;
    first.m_nNext = IDD_NEWPROJECT_PAGE3;  // jumps over the second page
    DlgCommand(h, ID_WIZNEXT);
    active.push_back(wizard.GetActivePage());
    buttons = Buttons(h);
    third.m_bLeave = TRUE;
    DlgCommand(h, ID_WIZBACK);  // back goes to the page before in list order
    active.push_back(wizard.GetActivePage());
    second.m_bLeave = TRUE;
    DlgCommand(h, IDCANCEL);
  });
  EXPECT_EQ(wizard.DoModal(), IDCANCEL);
  EXPECT_EQ(active, (std::vector<const CNewWizPage*>{&first, &third, &second}));
  EXPECT_EQ(buttons, "B-F");
  EXPECT_FALSE(first.m_bCreated);
  EXPECT_FALSE(third.m_bCreated);
}

}  // namespace
