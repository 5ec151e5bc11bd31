// Every command that makes or keeps a file name, under the locales of a desktop (UTF-8 ones and a
// GB2312 one) with German and Chinese names typed as a person types them: each name reaches the
// disk as the system names it (the locale's charset, converted once), and what the program keeps
// of it (the recent files and projects, a workspace's documents, the output tree's folders)
// reaches the same file after a restart, under the same locale and under another one. A name the
// locale's charset cannot hold is refused where it would be made. Names the user gives that the
// settings keep and that are no files (a workspace's, a toolbar's) are the same names under a later
// locale whose code page holds them.
#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "ExplorerTestSupport.h"
#include "InkwrightAppSession.h"
#include "afx/CMDIFrameWnd.h"
#include "app/CMainFrame.h"
#include "app/CNewWizDialog.h"
#include "app/DatabaseView.h"
#include "app/ProjectWorkspaceWnd.h"
#include "bars/CommandBarsRes.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECWorkspaceManagerEx.h"
#include "bars/SECWorkspaceManagerExDlg.h"
#include "base/Convert.h"
#include "controls/PrintDialog.h"
#include "gdi/DevMode.h"
#include "base/CodePage.h"
#include "os/Paths.h"
#include "os/Process.h"
#include "win/Input.h"
#include "resources/AppResource.h"
#include "resources/ExplorerRes.h"
#include "resources/MainFrameRes.h"
#include "resources/ShellRes.h"
#include "resources/resource.h"

namespace {

namespace fs = std::filesystem;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::TypeText;

struct LocaleCase {
  const char* locale;
  std::string typed;   // a name as typed: the code page's bytes
  std::string onDisk;  // that name as the system names it
  std::string unmakable = {};  // a name the code page holds and the locale's charset does not
};

const LocaleCase kLocales[] = {
    {"C.UTF-8", "Gr\xF6\xDF" "e", "Gr\xC3\xB6\xC3\x9F" "e"},
    {"de_DE.UTF-8", "\xC4rger", "\xC3\x84rger"},
    {"zh_CN.UTF-8", "\xCE\xC4\xB5\xB5", "\xE6\x96\x87\xE6\xA1\xA3"},
    {"ja_JP.UTF-8", "Ma\xDF", "Ma\xC3\x9F"},
    // 镕 is in GBK (936) and not in GB2312, the charset of the locale's file names.
    {"zh_CN.GB2312", "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4", "\xE9\x46"},
    // 目录, whose GBK bytes are also UTF-8 ("Ŀ¼").
    {"zh_CN.UTF-8", "\xC4\xBF\xC2\xBC", "\xE7\x9B\xAE\xE5\xBD\x95"},
};

// One run of the program in the home the runs share: started as the program starts, ended with
// its exit run; the store is read again from the disk at the next start.
struct ProgramRun {
  brambolt::test::UiSession session;
  apptest::AnsweredBoxes boxes;
  apptest::TestApp app;
  ProgramRun() {
    brambolt::ResetRegistryForTesting();
    EXPECT_TRUE(app.InitInstance());
    brambolt::test::AdvanceClock(3500);  // the splash window, which a key would close, has gone
  }
  ~ProgramRun() { app.End(); }
  void Command(UINT nID) {
    app.m_pMainWnd->SendMessage(WM_COMMAND, nID);
    RunUntilIdle();
  }
  CDocument* ActiveDocument() {
    auto* frame = dynamic_cast<CMDIFrameWnd*>(app.m_pMainWnd);
    CFrameWnd* child = frame != nullptr ? frame->MDIGetActive() : nullptr;
    return child != nullptr ? child->GetActiveDocument() : nullptr;
  }
};

// A Save As dialog of this caption answered by typing the path into its name field, as a person
// does; a replace question is answered Yes.
void SaveAsTyped(ProgramRun& run, const char* caption, UINT nCommand, const std::string& typed) {
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, caption, [&](HWND dialog) {
    answers.When(nullptr, caption, [](HWND box) { ::PostMessage(box, WM_COMMAND, IDYES, 0); });
    RunUntilIdle();
    ::SendDlgItemMessage(dialog, edt1, EM_SETSEL, 0, -1);
    TypeText(typed);
    PressKey(VK_RETURN);
    RunUntilIdle();
    if (::IsWindow(dialog) && ::IsWindowVisible(dialog)) PressKey(VK_ESCAPE);
  });
  run.Command(nCommand);
  EXPECT_TRUE(answers.Unanswered().empty()) << typed;
}

// A command's Open dialog answered by typing the path into its name field.
void OpenTyped(ProgramRun& run, UINT nCommand, const std::string& typed) {
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Open", [&](HWND dialog) {
    RunUntilIdle();
    ::SendDlgItemMessage(dialog, edt1, EM_SETSEL, 0, -1);
    TypeText(typed);
    PressKey(VK_RETURN);
  });
  run.Command(nCommand);
  EXPECT_TRUE(answers.Unanswered().empty()) << typed;
}

// A Save As dialog answered with a typed name it must refuse: what it told, in order, and whether it
// stayed open for another name (it is then cancelled).
std::vector<std::string> SaveAsRefused(ProgramRun& run, const std::string& typed, bool& stayed) {
  std::vector<std::string> told;
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Save As", [&](HWND dialog) {
    answers.When(nullptr, "Save As", [&](HWND box) {
      char text[1024] = {};
      ::GetDlgItemText(box, 0xFFFF, text, sizeof text);
      told.push_back(text);
      ::PostMessage(box, WM_COMMAND, IDOK, 0);
    });
    RunUntilIdle();
    ::SendDlgItemMessage(dialog, edt1, EM_SETSEL, 0, -1);
    TypeText(typed);
    PressKey(VK_RETURN);
    RunUntilIdle();
    stayed = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
    if (stayed) PressKey(VK_ESCAPE);
  });
  run.Command(ID_FILE_SAVE_AS);
  return told;
}

// In the New Project wizard `h`: the project's name "Demo" typed into the field it opens on, and
// the keyboard moved to the location's field (given back in `location`).
void NameProjectAndGoToItsLocation(HWND h, CNewWizDialog*& wizard, CNewWizPage*& first, HWND* location = nullptr) {
  wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(h));
  ASSERT_NE(wizard, nullptr);
  RunUntilIdle();  // the wizard opens on the name field
  TypeText("Demo");
  first = wizard->GetActivePage();
  const HWND field = ::GetDlgItem(first->GetSafeHwnd(), IDC_PROJECT_LOCATION);
  ::SendMessage(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  if (location != nullptr) *location = field;
}

// A new project "Demo" made with the wizard in a location typed into its field (a project's own
// name is ASCII by the wizard's rule; its folder may be named in any language).
void NewProjectTyped(ProgramRun& run, const std::string& location) {
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "New Project", [&](HWND h) {
    CNewWizDialog* wizard = nullptr;
    CNewWizPage* first = nullptr;
    ASSERT_NO_FATAL_FAILURE(NameProjectAndGoToItsLocation(h, wizard, first));
    TypeText(location);
    for (int i = 0; i < 3; ++i) ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
    ::SendMessage(h, WM_COMMAND, ID_WIZFINISH, 0);
  });
  run.Command(ID_NEW_PROJECT);
  EXPECT_TRUE(answers.Unanswered().empty()) << location;
}

// File > Print to the printer that prints to a file, the file's name typed where it is asked for.
void PrintToFileTyped(ProgramRun& run, const std::string& typed) {
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Print", [](HWND dialog) {
    RunUntilIdle();
    const HWND printers = ::GetDlgItem(dialog, cmb4);
    ::SendMessage(printers, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                  reinterpret_cast<LPARAM>(brambolt::kPrintToFileName));
    ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(cmb4, CBN_SELCHANGE), reinterpret_cast<LPARAM>(printers));
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  answers.When(nullptr, "Print to File", [&](HWND dialog) {
    RunUntilIdle();
    ::SendDlgItemMessage(dialog, edt1, EM_SETSEL, 0, -1);
    TypeText(typed);
    PressKey(VK_RETURN);
  });
  run.Command(ID_FILE_PRINT);
  EXPECT_TRUE(answers.Unanswered().empty()) << typed;
}

// Window > Workspaces: the open windows saved as the workspace of this name, typed in the dialog.
void SaveWorkspaceTyped(ProgramRun& run, const std::string& name) {
  brambolt::test::ModalAnswers answers;
  std::vector<std::string> asked;
  answers.When(
      "#32770", "Workspace Manager",
      [&](HWND box) {
        char text[256] = {};
        ::GetDlgItemText(box, 0xFFFF, text, sizeof text);
        asked.push_back(text);
        PressKey(VK_RETURN);
      },
      true);
  // The untitled document the program started with is left out of the workspace: its Save As is
  // cancelled.
  answers.When(nullptr, "Save As", [](HWND dialog) { ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0); }, true);
  answers.When(nullptr, "Save Workspace", [&](HWND dialog) {
    RunUntilIdle();
    TypeText(name);
    PressKey(VK_RETURN);
    if (::IsWindow(dialog) && ::IsWindowVisible(dialog)) ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  run.Command(SECWorkspaceManagerEx::kSaveWorkspaceAs);
  // Only the question whether to save a new workspace of that name is asked, and answered Yes.
  for (const std::string& text : asked) EXPECT_EQ(text, "Save new workspace '" + name + "'?\n");
}

// View > Customize Toolbars..., New... on its Toolbars page: a toolbar of the user's, named as typed.
void NewToolbarTyped(ProgramRun& run, const std::string& name) {
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "New Toolbar", [&](HWND dialog) {
    RunUntilIdle();
    ::SetFocus(::GetDlgItem(dialog, IDC_SEC_NEW_TOOLBAR_NAME));
    TypeText(name);
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  answers.When(nullptr, "Customize", [&](HWND window) {
    auto* sheet = static_cast<CPropertySheet*>(CWnd::FromHandle(window));
    sheet->SetActivePage(1);
    RunUntilIdle();
    sheet->GetActivePage()->SendMessage(WM_COMMAND, IDC_SEC_TOOLBAR_NEW, 0);
    RunUntilIdle();
    ::SendMessage(window, WM_COMMAND, IDOK, 0);
  });
  run.Command(32795);  // View > Customize Toolbars...
  EXPECT_TRUE(answers.Unanswered().empty()) << name;
}

// The names of the user's toolbars the main window has.
std::set<std::string> UserToolbars(ProgramRun& run) {
  std::set<std::string> names;
  auto* frame = dynamic_cast<CFrameWnd*>(run.app.m_pMainWnd);
  for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = dynamic_cast<SECCustomToolBar*>(static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos)));
    if (bar == nullptr || bar->GetDlgCtrlID() < 59424 || bar->GetDlgCtrlID() > 59646) continue;
    CString title;
    bar->GetWindowText(title);
    names.insert(static_cast<LPCTSTR>(title));
  }
  return names;
}

// Window > Workspaces, Open: the workspace of this name chosen in the list, as the user reads it
// there. False when the list has no such name.
bool OpenWorkspaceNamed(ProgramRun& run, const std::string& name) {
  brambolt::test::ModalAnswers answers;
  bool listed = false;
  answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
    RunUntilIdle();
    const HWND list = ::GetDlgItem(dialog, SECWsMgrDialogEx::kList);
    const LRESULT row = ::SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
    listed = row != LB_ERR;
    if (!listed) {
      ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    ::SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ::SendMessage(dialog, WM_COMMAND, SECWsMgrDialogEx::kOpen, 0);
  });
  run.Command(SECWorkspaceManagerEx::kOpenWorkspace);
  return listed;
}

// The names of the documents open from `folder` whose files are there.
std::set<std::string> OpenFrom(ProgramRun& run, const std::string& folder) {
  std::set<std::string> names;
  for (POSITION t = run.app.GetFirstDocTemplatePosition(); t != nullptr;) {
    CDocTemplate* docs = run.app.GetNextDocTemplate(t);
    for (POSITION d = docs->GetFirstDocPosition(); d != nullptr;) {
      const fs::path path = brambolt::NativePath(static_cast<LPCTSTR>(docs->GetNextDoc(d)->GetPathName()));
      if (path.parent_path() == fs::path(folder) && fs::exists(path)) names.insert(path.filename().string());
    }
  }
  return names;
}

// The output tree of the main window's explorer and its "HTML Files" item, opened as the user
// opens it.
struct OutputTree {
  DatabaseView& view;
  HTREEITEM pages = nullptr;
  explicit OutputTree(ProgramRun& run)
      : view(*dynamic_cast<CMainFrame&>(*run.app.m_pMainWnd).m_wndProjectExplorer.GetDatabaseView()) {
    view.Expand(view.GetRootItem(), TVE_EXPAND);
    pages = explorertest::ChildNamed(view, view.GetRootItem(), "HTML Files");
    if (pages != nullptr) view.Expand(pages, TVE_EXPAND);
  }
  // The command on the item, its dialog answered with the name typed over the one it offers.
  void CommandTyped(HTREEITEM item, UINT nCommand, const char* caption, int field, const std::string& typed) {
    ASSERT_NE(item, nullptr) << typed;
    view.SelectItem(item);
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, caption, [&](HWND dialog) {
      RunUntilIdle();
      ::SetFocus(::GetDlgItem(dialog, field));
      ::SendDlgItemMessage(dialog, field, EM_SETSEL, 0, -1);
      TypeText(typed);
      PressKey(VK_RETURN);
    });
    view.SendMessage(WM_COMMAND, nCommand, 0);
    RunUntilIdle();
    EXPECT_TRUE(answers.Unanswered().empty()) << typed;
  }
};

// Build > Automatic Generate HTML Help, the help's contents, index and compiled files named in its
// dialog as typed, and the program's own compile of the help in the compile's window: what that
// window showed at the end. The programs the tests start are not run; the help compiler is, as the
// system runs it.
std::string CompileHelpProject(ProgramRun& run, const std::string& typed) {
  brambolt::ScopedSpawnHook compiler([](const brambolt::SpawnRequest& request) {
    std::string command = "cd '" + request.directory + "' &&";
    for (const std::string& argument : request.argv) command += " '" + argument + "'";
    EXPECT_EQ(std::system((command + " > /dev/null 2>&1").c_str()), 0) << command;
    return DWORD{0};
  });
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "HTML Help", [&](HWND h) {
    RunUntilIdle();
    for (const auto& [field, extension] : {std::pair{IDC_CONTENTS_FILE, ".hhc"}, std::pair{IDC_INDEX_FILE, ".hhk"},
                                           std::pair{IDC_COMPILED_FILE, ".chm"}}) {
      ::SetFocus(::GetDlgItem(h, field));
      ::SendDlgItemMessage(h, field, EM_SETSEL, 0, -1);
      TypeText(typed + extension);
    }
    ::SendMessage(h, WM_COMMAND, IDOK, 0);
  });
  std::string shown;
  answers.When(nullptr, "HTML Help Compiler", [&](HWND h) {
    // The compiler's end comes from the thread that reads it.
    for (;;) {
      RunUntilIdle();
      char text[4096] = {};
      ::GetDlgItemTextA(h, IDC_COMPILER_OUTPUT, text, sizeof text);
      shown = text;
      if (shown.find("help file") != std::string::npos || shown.find("Compiled file: ") != std::string::npos) break;
      ::WaitMessage();
    }
    ::SendMessage(h, WM_COMMAND, IDCANCEL, 0);
  });
  run.Command(ID_GENERATE_HTML_HELP);
  EXPECT_TRUE(answers.Unanswered().empty());
  return shown;
}

std::set<std::string> Listed(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// The file a browser of the desktop opens for a link of a page beside `page`: the link's text read
// in the charset the page declares, spelled in the locale's charset, its %XX escapes as bytes.
// Empty when the page declares no charset or the text does not convert.
std::string LinkedFile(const fs::path& page, const std::string& href, const std::string& locale) {
  const std::string text = apptest::ReadText(page.string());
  const size_t at = text.find("charset=");
  if (at == std::string::npos) return {};
  std::string charset = text.substr(at + 8, text.find('"', at) - at - 8);
  // Browsers read a page declared Latin-1 as Windows-1252, and one declared GB2312 as GBK.
  if (charset == "iso-8859-1") charset = "WINDOWS-1252";
  if (charset == "gb2312") charset = "GBK";
  const std::string system = locale.substr(locale.find('.') + 1);
  iconv_t cd = ::iconv_open(system.c_str(), charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string converted(href.size() * 4, '\0');
  char* in = const_cast<char*>(href.data());
  size_t inLeft = href.size(), outLeft = converted.size();
  char* out = converted.data();
  const bool ok = ::iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1);
  ::iconv_close(cd);
  if (!ok) return {};
  converted.resize(converted.size() - outLeft);
  std::string name;
  for (size_t i = 0; i < converted.size(); ++i) {
    if (converted[i] == '%' && i + 2 < converted.size()) {
      name += static_cast<char>(std::stoi(converted.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      name += converted[i];
    }
  }
  return (page.parent_path() / name).string();
}

TEST(NameSweep, NamesMadeOrKeptReachTheDiskAsTheSystemNamesThemAndOpenAfterARestartUnderAnyLocale) {
  apptest::AppHome home;
  for (size_t i = 0; i < std::size(kLocales); ++i) {
    const LocaleCase& c = kLocales[i];
    const LocaleCase& later = kLocales[(i + 1) % std::size(kLocales)];
    SCOPED_TRACE(std::string(c.locale) + ", then " + later.locale);
    const std::string folder = home.Folder(std::string("names-") + std::to_string(i) + "-" + c.locale);
    apptest::WriteRedBitmap(folder + "/chart.bmp");
    {
      brambolt::ScopedLocale locale(c.locale);
      ProgramRun run;
      // A new source file saved under a typed name (the editor's Save As).
      run.Command(ID_FILE_NEW);
      TypeText("int x;");
      SaveAsTyped(run, "Save As", ID_FILE_SAVE_AS, folder + "/" + c.typed + ".h");
      if (!c.unmakable.empty()) {
        // A name the locale's charset cannot hold is refused as typed: the dialog says why and
        // stays open, and nothing is written (its bytes would name no file the desktop can show).
        bool stayed = false;
        EXPECT_EQ(SaveAsRefused(run, folder + "/" + c.unmakable + ".h", stayed),
                  std::vector<std::string>{brambolt::RefusedNameMessage()});
        EXPECT_TRUE(stayed);
        // Nor is a project made in a folder of that name.
        brambolt::test::ModalAnswers answers;
        bool stayedOnFirstPage = false;
        answers.When(nullptr, "New Project", [&](HWND h) {
          CNewWizDialog* wizard = nullptr;
          CNewWizPage* first = nullptr;
          ASSERT_NO_FATAL_FAILURE(NameProjectAndGoToItsLocation(h, wizard, first));
          TypeText(folder + "/" + c.unmakable);
          ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
          stayedOnFirstPage = wizard->GetActivePage() == first;
          ::SendMessage(h, WM_COMMAND, IDCANCEL, 0);
        });
        run.Command(ID_NEW_PROJECT);
        EXPECT_TRUE(stayedOnFirstPage);
        EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{brambolt::RefusedNameMessage()});
        run.boxes.boxes.clear();
      }
      // Printed to a file named as typed.
      PrintToFileTyped(run, folder + "/" + c.typed + ".pdf");
      // The picture's Save As.
      ASSERT_NE(run.app.OpenDocumentFile((folder + "/chart.bmp").c_str()), nullptr);
      RunUntilIdle();
      SaveAsTyped(run, "Save picture as a Bitmap (BMP/ICO) file", ID_FILE_SAVE_AS, folder + "/" + c.typed + ".bmp");
      // The open documents kept as a workspace.
      SaveWorkspaceTyped(run, "names" + std::to_string(i));
      // A new project, its folder and file named after it.
      NewProjectTyped(run, folder + "/" + c.typed);
      EXPECT_TRUE(run.app.IsProjectOpen());
      // The output tree: a folder made under one typed name and renamed to another.
      OutputTree output(run);
      output.CommandTyped(output.pages, ID_EXPLORER_NEW_FOLDER, "Folder", IDC_FOLDER_NAME, "new " + c.typed);
      output.CommandTyped(explorertest::ChildNamed(output.view, output.pages, "new " + c.typed), ID_EXPLORER_RENAME,
                          "Rename", IDC_NEW_NAME, c.typed);
      run.app.OnSaveProject();
      EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{});
      // The help project over the documentation of a class named in the locale's letters, a header
      // inserted for it, and over a page of the user's own in that folder: compiled, the help holds
      // every page under the name the system gives it, and its contents and index open each by it.
      const std::string header = folder + "/klasse.h";
      apptest::WriteText(header, "class " + c.typed + "Klasse\n{\npublic:\n    int Size();\n    int m_nSize;\n};\n");
      OpenTyped(run, ID_INSERT_FILES, header);
      // A header written in UTF-8 (as a UTF-8 desktop's editors write it) names its class in those
      // letters too.
      const bool utf8 = std::string(c.locale).ends_with("UTF-8") && c.typed != c.onDisk;
      if (utf8) {
        const std::string utf8Header = folder + "/utf8klasse.h";
        apptest::WriteText(utf8Header, "class " + c.onDisk + "Utf\n{\npublic:\n    int m_" + c.onDisk + ";\n};\n");
        OpenTyped(run, ID_INSERT_FILES, utf8Header);
      }
      fs::path language;
      for (const auto& [name, nLanguage] : {std::pair{"Output_Eng", LANGUAGE_ENG}, std::pair{"Output_Chs", LANGUAGE_CHS},
                                            std::pair{"Output_GB5", LANGUAGE_CHT}}) {
        const fs::path output = folder + "/" + c.onDisk + "/Demo/" + name;
        if (!fs::is_directory(output / "Htmls" / c.onDisk)) continue;
        language = output;
        run.app.m_pWorkSpace->GeneratePages(nLanguage, run.app.m_strProjectFolder + name + "\\Htmls\\", nullptr);
      }
      ASSERT_FALSE(language.empty());
      apptest::WriteText((language / "Htmls" / c.onDisk / (c.onDisk + ".htm")).string(),
                         "<html><body>" + c.typed + "</body></html>\n");
      const std::string shown = CompileHelpProject(run, c.typed);
      EXPECT_NE(shown.find("Compiled file: "), std::string::npos) << shown;
      const std::string compiled = apptest::ReadText((language / (c.onDisk + ".chm")).string());
      std::set<std::string> pages;
      for (const auto& entry : fs::recursive_directory_iterator(language / "Htmls"))
        if (entry.is_regular_file()) pages.insert(fs::relative(entry.path(), language).generic_string());
      EXPECT_GT(pages.size(), 5u);
      EXPECT_EQ(pages.count("Htmls/" + c.onDisk + "/" + c.onDisk + ".htm"), 1u);
      // The class's folder and page named as the class is typed, and the index page's link to the
      // class page opens that file.
      const std::string classOnDisk = c.onDisk + "Klasse";
      EXPECT_TRUE(fs::is_directory(language / "Htmls" / classOnDisk / "Member Vars")) << classOnDisk;
      EXPECT_EQ(pages.count("Htmls/" + classOnDisk + "/" + classOnDisk + ".htm"), 1u);
      if (utf8) {
        EXPECT_EQ(pages.count("Htmls/" + c.onDisk + "Utf/" + c.onDisk + "Utf.htm"), 1u);
        EXPECT_EQ(pages.count("Htmls/" + c.onDisk + "Utf/Member Vars/m_" + c.onDisk + ".htm"), 1u);
      }
      const fs::path index = language / "Htmls" / "Index.htm";
      const std::string indexText = apptest::ReadText(index.string());
      const size_t end = indexText.find("Klasse.htm\"");
      ASSERT_NE(end, std::string::npos) << indexText;
      const size_t link = indexText.rfind("href=\"", end) + 6;
      const std::string href = indexText.substr(link, end + 10 - link);
      const std::string linked = LinkedFile(index, href, c.locale);
      EXPECT_TRUE(fs::is_regular_file(linked)) << href << " opens no file (" << linked << ")";
      for (const std::string& held : pages)
        EXPECT_NE(compiled.find("/" + held), std::string::npos) << held << " is not in the compiled help";
      for (const std::string& held : {c.onDisk + ".hhc", c.onDisk + ".hhk"}) {
        EXPECT_NE(compiled.find("/" + held), std::string::npos) << held << " is not in the compiled help";
        const std::string sitemap = apptest::ReadText((language / held).string());
        for (std::string page : pages) {
          if (!page.ends_with(".htm") || page == "Htmls/Hierarchy_Chart.htm") continue;
          std::replace(page.begin(), page.end(), '/', '\\');
          EXPECT_NE(sitemap.find("\"Local\" value=\"" + page + "\""), std::string::npos) << held << " opens no " << page;
        }
      }
      EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{});
    }
    // On disk as the system names them, as `ls` shows them and `cat` reads them.
    std::set<std::string> listed = Listed(folder);
    listed.erase("utf8klasse.h");
    EXPECT_EQ(listed,
              (std::set<std::string>{"chart.bmp", "klasse.h", c.onDisk + ".h", c.onDisk + ".pdf", c.onDisk + ".bmp",
                                     c.onDisk}));
    EXPECT_EQ(apptest::ReadText(folder + "/" + c.onDisk + ".h"), "int x;");
    EXPECT_EQ(apptest::ReadText(folder + "/" + c.onDisk + ".pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(apptest::ReadText(folder + "/" + c.onDisk + ".bmp").substr(0, 2), "BM");
    EXPECT_TRUE(fs::exists(folder + "/" + c.onDisk + "/Demo/Demo.dcp"));
    // The output tree's folder, in the pages of the project's language (beside the documentation's
    // own folders: its pictures and the class's).
    std::set<std::string> madeInOutput;
    for (const char* language : {"Output_Eng", "Output_Chs", "Output_GB5"}) {
      const std::string pages = folder + "/" + c.onDisk + "/Demo/" + language + "/Htmls";
      if (fs::is_directory(pages))
        for (const std::string& name : Listed(pages))
          if (fs::is_directory(pages + "/" + name) && name != "Image2" && !fs::exists(pages + "/" + name + "/Member Vars"))
            madeInOutput.insert(name);
    }
    EXPECT_EQ(madeInOutput, std::set<std::string>{c.onDisk});

    // Started again, under the same locale and then under another: every recent file opens (the
    // source file saved among them) and so does the recent project.
    for (const LocaleCase* after : {&c, &later}) {
      SCOPED_TRACE(std::string("restarted under ") + after->locale);
      brambolt::ScopedLocale locale(after->locale);
      ProgramRun run;
      // The workspace brings its documents back, the picture under the name it was saved as.
      run.Command(SECWorkspaceManagerEx::kFirstRecent);
      EXPECT_EQ(OpenFrom(run, folder), (std::set<std::string>{c.onDisk + ".h", c.onDisk + ".bmp"}));
      std::set<std::string> opened;
      for (UINT nID : {ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + 1, ID_FILE_MRU_FILE1 + 2, ID_FILE_MRU_FILE1 + 3}) {
        run.Command(nID);
        CDocument* doc = run.ActiveDocument();
        ASSERT_NE(doc, nullptr);
        const fs::path path = brambolt::NativePath(static_cast<LPCTSTR>(doc->GetPathName()));
        if (path.parent_path() == fs::path(folder) && fs::exists(path)) opened.insert(path.filename().string());
      }
      EXPECT_EQ(opened.count(c.onDisk + ".h"), 1u);
      EXPECT_EQ(opened.count(c.onDisk + ".bmp"), 1u) << "the picture's Save As is a recent file";
      run.Command(ID_RECENT_PROJECT_FIRST);
      EXPECT_TRUE(run.app.IsProjectOpen());
      // The output tree shows the folder under its name as this locale's program spells it.
      OutputTree output(run);
      EXPECT_NE(explorertest::ChildNamed(output.view, output.pages, brambolt::ProgramNameOf(c.onDisk)), nullptr);
      EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{});
    }
  }
}

// Names the user types that the settings keep (a workspace's, a toolbar's) are kept in one charset
// every locale reads: saved under one locale, they are the same names under another whose code
// page holds them, listed and opened by them, and the settings file holds them in UTF-8.
TEST(NameSweep, WorkspacesAndToolbarsNamedUnderOneLocaleKeepTheirNamesUnderAnother) {
  struct Named {
    const char* savedUnder;
    std::string utf8;
    const char* reopenedUnder;
  };
  const Named kNamed[] = {
      {"de_DE.UTF-8", "Caf\xC3\xA9", "zh_CN.GB2312"},         // Café: é is in 1252 and in GB2312
      {"zh_CN.UTF-8", "M\xC3\xBCller", "C.UTF-8"},            // Müller: ü is in GBK and in 1252
      {"zh_CN.UTF-8", "\xE4\xB8\xAD\xE6\x96\x87", "zh_TW.UTF-8"},  // 中文: in GBK and in Big5
      // Qt平台: its GBK bytes after ASCII are also valid UTF-8 ("Qtƽ̨"); 平台 is in Big5 too.
      {"zh_CN.GB2312", "Qt\xE5\xB9\xB3\xE5\x8F\xB0", "zh_TW.UTF-8"},
  };
  apptest::AppHome home;
  for (const Named& named : kNamed) {
    SCOPED_TRACE(named.utf8 + " saved under " + named.savedUnder + ", opened under " + named.reopenedUnder);
    {
      brambolt::ScopedLocale locale(named.savedUnder);
      ProgramRun run;
      const std::string typed = brambolt::Utf8ToAnsi(named.utf8);
      NewToolbarTyped(run, typed);
      EXPECT_EQ(UserToolbars(run).count(typed), 1u);
      SaveWorkspaceTyped(run, typed);
      // The layout is kept as the program closes (the untitled document left unsaved again).
      brambolt::test::ModalAnswers answers;
      answers.When(nullptr, "Save As", [](HWND dialog) { ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0); }, true);
      run.app.m_pMainWnd->SendMessage(WM_CLOSE);
      RunUntilIdle();
      MSG quit;
      ::PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    // The settings file on disk names the workspace, its recent entry and the toolbar in UTF-8.
    std::ifstream in(fs::path(std::getenv("BRAMBOLT_REGISTRY_DIR")) / "HKEY_CURRENT_USER.reg", std::ios::binary);
    const std::string settings((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(settings.find("\\" + named.utf8 + "]"), std::string::npos) << "the workspace's key";
    EXPECT_NE(settings.find("=\"" + named.utf8 + "\""), std::string::npos) << "its recent entry and the toolbar's name";
    {
      brambolt::ScopedLocale locale(named.reopenedUnder);
      ProgramRun run;
      const std::string typed = brambolt::Utf8ToAnsi(named.utf8);
      EXPECT_EQ(UserToolbars(run).count(typed), 1u) << "the toolbar keeps its name";
      EXPECT_TRUE(OpenWorkspaceNamed(run, typed)) << "the workspace is listed by its name";
      auto* manager = dynamic_cast<CMainFrame&>(*run.app.m_pMainWnd).GetWorkspaceManager();
      EXPECT_EQ(std::string(manager->GetCurrentName()), typed);
      EXPECT_EQ(UserToolbars(run).count(typed), 1u) << "the workspace's toolbar keeps its name";
      EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{});
    }
  }

  // Workspaces an earlier release saved under zh_CN, filed and listed as recent under the GBK bytes
  // of their names: 目录 (whose bytes are also UTF-8, "Ŀ¼") and 工作区. Under zh_CN.UTF-8 they open,
  // and a rename and a delete act on them; the renamed one moves to its UTF-8 key.
  brambolt::ScopedLocale zh("zh_CN.UTF-8");
  const std::string dir = brambolt::Utf8ToAnsi("\xE7\x9B\xAE\xE5\xBD\x95");
  const std::string area = brambolt::Utf8ToAnsi("\xE5\xB7\xA5\xE4\xBD\x9C\xE5\x8C\xBA");
  const fs::path settingsFile = fs::path(std::getenv("BRAMBOLT_REGISTRY_DIR")) / "HKEY_CURRENT_USER.reg";
  const auto readSettings = [&] {
    std::ifstream in(settingsFile, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  {
    ProgramRun run;
    SaveWorkspaceTyped(run, dir);
    SaveWorkspaceTyped(run, area);
  }
  {
    std::string settings = readSettings();
    for (const std::string& name : {dir, area}) {
      const std::string utf8 = brambolt::AnsiToUtf8(name);
      for (std::size_t at; (at = settings.find(utf8)) != std::string::npos;) settings.replace(at, utf8.size(), name);
    }
    std::ofstream(settingsFile, std::ios::binary | std::ios::trunc) << settings;
  }
  // Opened, 目录 moves to its UTF-8 key, as its recent entry is written in UTF-8: the two agree.
  {
    ProgramRun run;
    EXPECT_TRUE(OpenWorkspaceNamed(run, dir));
  }
  EXPECT_EQ(readSettings().find("\\" + dir + "\\"), std::string::npos) << "the old key stays beside the recent entry";
  EXPECT_NE(readSettings().find("\\" + brambolt::AnsiToUtf8(dir) + "\\WorkState_v1_1]"), std::string::npos);
  EXPECT_NE(readSettings().find("\"" + area + "\""), std::string::npos) << "工作区's entry no longer names its key";
  const std::string renamed = dir + "2";
  {
    ProgramRun run;
    EXPECT_TRUE(OpenWorkspaceNamed(run, dir)) << "listed by its name";
    auto* manager = dynamic_cast<CMainFrame&>(*run.app.m_pMainWnd).GetWorkspaceManager();
    EXPECT_EQ(std::string(manager->GetCurrentName()), dir) << "and opened";
    EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{});
    // Open Workspace: 目录 renamed, 工作区 deleted, Done.
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, "Open Workspace", [&](HWND dialog) {
      RunUntilIdle();
      const HWND list = ::GetDlgItem(dialog, SECWsMgrDialogEx::kList);
      const auto rowPoint = [&](const std::string& name) {
        const LRESULT row = ::SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
        EXPECT_NE(row, LB_ERR) << name;
        RECT rect{};
        ::SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        return POINT{rect.left + 5, rect.top + 3};
      };
      brambolt::test::DoubleClick(list, rowPoint(dir));
      ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
      TypeText(renamed);
      PressKey(VK_RETURN);
      brambolt::test::Click(list, rowPoint(area));
      PressKey(VK_DELETE);
      brambolt::test::Click(::GetDlgItem(dialog, SECWsMgrDialogEx::kDone), {5, 5});
    });
    run.Command(SECWorkspaceManagerEx::kOpenWorkspace);
    EXPECT_TRUE(answers.Unanswered().empty());
    EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{});
  }
  const std::string settings = readSettings();
  EXPECT_EQ(settings.find("\\" + dir + "]"), std::string::npos) << "the old key has gone";
  EXPECT_EQ(settings.find("\\" + area + "]"), std::string::npos) << "the deleted one has gone";
  EXPECT_NE(settings.find("\\" + brambolt::AnsiToUtf8(renamed) + "\\WorkState_v1_1]"), std::string::npos);
  {
    ProgramRun run;
    EXPECT_FALSE(OpenWorkspaceNamed(run, area)) << "deleted";
    EXPECT_TRUE(OpenWorkspaceNamed(run, renamed));
    auto* manager = dynamic_cast<CMainFrame&>(*run.app.m_pMainWnd).GetWorkspaceManager();
    EXPECT_EQ(std::string(manager->GetCurrentName()), renamed);
    EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{});
  }
}

// The recent projects take two spellings of one project as one entry: the value an earlier release
// stored (the path spelled the Windows way, in the code page) and the path File > Open Project
// gives when the user opens that project again.
TEST(NameSweep, ARecentProjectOpenedAgainUnderAnotherSpellingIsListedOnce) {
  apptest::AppHome home;
  const LocaleCase& c = kLocales[2];
  brambolt::ScopedLocale locale(c.locale);
  const std::string location = home.Folder("spellings") + "/" + c.typed;
  {
    ProgramRun run;
    NewProjectTyped(run, location);
    ASSERT_TRUE(run.app.IsProjectOpen());
  }
  const std::string project = location + "/Demo/Demo.dcp";
  std::string stored = "C:" + project + ";";
  std::replace(stored.begin(), stored.end(), '/', '\\');
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyEx(HKEY_CURRENT_USER, (std::string("Software\\") + CInkwrightApp::kRegistryKey).c_str(), 0,
                             nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueEx(key, "RecentProjects", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                  static_cast<DWORD>(stored.size() + 1));
  ::RegFlushKey(key);
  ::RegCloseKey(key);

  ProgramRun run;
  ASSERT_EQ(run.app.m_listRecentProjects.GetCount(), 1);
  OpenTyped(run, ID_OPEN_PROJECT, project);
  EXPECT_TRUE(run.app.IsProjectOpen());
  EXPECT_EQ(run.app.m_listRecentProjects.GetCount(), 1);
  EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>{});
}

// A location typed with characters the code page cannot hold loses them as they are typed (with a
// beep): what is left names another folder, so the wizard refuses it with the message every name
// field gives, stays on its first page and makes nothing; the location edited, the project is made
// where it now says.
TEST(NameSweep, ANewProjectLocationThatLostCharactersIsRefusedAndNothingIsMade) {
  struct Lost {
    const char* locale;
    std::string before, lost, after;  // typed, committed by the input method (UTF-8), typed
  };
  const Lost kLost[] = {
      {"zh_CN.UTF-8", "Gr", "\xC3\xB6\xC3\x9F", "e"},                       // Größe: ö and ß are not in GBK
      {"C.UTF-8", "", "\xE6\x96\x87\xE6\xA1\xA3", ""},                       // 文档: not in 1252
      {"ja_JP.UTF-8", "x", "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88", "y"},  // テスト
  };
  apptest::AppHome home;
  for (size_t i = 0; i < std::size(kLost); ++i) {
    const Lost& c = kLost[i];
    SCOPED_TRACE(c.locale);
    const std::string base = home.Folder("lost-" + std::to_string(i));
    brambolt::ScopedLocale locale(c.locale);
    ProgramRun run;
    brambolt::test::ScriptedInputMethod ime(run.session);
    int refusedNexts = 0;
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, "New Project", [&](HWND h) {
      CNewWizDialog* wizard = nullptr;
      CNewWizPage* first = nullptr;
      HWND location = nullptr;
      ASSERT_NO_FATAL_FAILURE(NameProjectAndGoToItsLocation(h, wizard, first, &location));
      TypeText(base + "/" + c.before);
      ime.Commit(c.lost);
      TypeText(c.after + "/");
      for (int n = 0; n < 2; ++n) {
        ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
        RunUntilIdle();
        if (wizard->GetActivePage() == first) ++refusedNexts;
      }
      // Edited, the location is the user's again.
      ::SendMessage(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(location), TRUE);
      TypeText(base + "/ok/");
      for (int n = 0; n < 3; ++n) ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
      ::SendMessage(h, WM_COMMAND, ID_WIZFINISH, 0);
    });
    run.Command(ID_NEW_PROJECT);
    EXPECT_TRUE(answers.Unanswered().empty());
    EXPECT_EQ(refusedNexts, 2);
    EXPECT_EQ(run.boxes.Texts(), std::vector<std::string>(2, brambolt::RefusedNameMessage()));
    EXPECT_EQ(Listed(base), std::set<std::string>{"ok"}) << "nothing made where the location was refused";
    EXPECT_TRUE(fs::exists(base + "/ok/Demo/Demo.dcp"));
    EXPECT_TRUE(run.app.IsProjectOpen());
  }
}

}  // namespace
