// The dialogs of Write Documentation and HTML Help: options in and out, the progress dialog
// running the real worker, and a cancel that waits for the worker before the dialog ends.
#include <gtest/gtest.h>

#include "DlgTestSupport.h"
#include "DocTestSupport.h"
#include "ModelTestSupport.h"
#include "model/CAddLiveFolderDlg.h"
#include "model/CAutoGenHelpDlg.h"
#include "model/CCopyFileProDlg.h"
#include "model/CGenHelpDlg.h"
#include "model/DocumentationRun.h"
#include "model/GenHtmlDlg.h"
#include "model/ModelIds.h"
#include "resources/resource.h"

namespace {

using brambolt::test::ModalAnswers;
using namespace dlg_test;
using doc_test::ShapesProject;

DocumentationOptions SomeOptions(int nLanguage) {
  DocumentationOptions options;
  options.bPublicFunctions = FALSE;
  options.bPrivateVariables = FALSE;
  options.strTitle = "Shapes";
  options.nLanguage = nLanguage;
  return options;
}

TEST(GenHtmlDlg, OpensWithTheProjectsOptions) {
  DialogSession session;
  ModalAnswers answers;
  struct Seen {
    std::string language, title;
    bool funcPublic = true, funcProtected = false, varPrivate = true, rewrite = true;
  } seen;
  answers.When(nullptr, "Options", [&](HWND h) {
    seen.language = SelectedText(h, IDC_LANGUAGE);
    seen.title = ItemText(h, IDC_PROJECT_TITLE);
    seen.funcPublic = IsChecked(h, IDC_FUNC_PUBLIC);
    seen.funcProtected = IsChecked(h, IDC_FUNC_PROTECTED);
    seen.varPrivate = IsChecked(h, IDC_VAR_PRIVATE);
    seen.rewrite = IsChecked(h, IDC_REWRITE_ALL);
    Command(h, IDCANCEL);
  });
  GenHtmlDlg dlg;
  dlg.m_options = SomeOptions(LANGUAGE_CHT);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(seen.language, "GB5(TaiWan)");
  EXPECT_EQ(seen.title, "Shapes");
  EXPECT_FALSE(seen.funcPublic);
  EXPECT_TRUE(seen.funcProtected);
  EXPECT_FALSE(seen.varPrivate);
  EXPECT_FALSE(seen.rewrite);
}

TEST(GenHtmlDlg, OkStoresTheChoicesAndCancelChangesNothing) {
  for (int nEnd : {IDOK, IDCANCEL}) {
    DialogSession session;
    ModalAnswers answers;
    answers.When(nullptr, "Options", [&](HWND h) {
      ChooseItem(h, IDC_LANGUAGE, "English(U.S.A)");
      ::SetDlgItemText(h, IDC_PROJECT_TITLE, "Circles");
      ClickCheck(h, IDC_FUNC_PUBLIC);
      ClickCheck(h, IDC_VAR_PROTECTED);
      ClickCheck(h, IDC_REWRITE_ALL);
      Command(h, nEnd);
    });
    GenHtmlDlg dlg;
    dlg.m_options = SomeOptions(LANGUAGE_CHS);
    ASSERT_EQ(dlg.DoModal(), nEnd);
    const DocumentationOptions& o = dlg.m_options;
    if (nEnd == IDOK) {
      EXPECT_EQ(o.nLanguage, LANGUAGE_ENG);
      EXPECT_STREQ(o.strTitle, "Circles");
      EXPECT_TRUE(o.bPublicFunctions);
      EXPECT_FALSE(o.bProtectedVariables);
      EXPECT_TRUE(o.bRewrite);
    } else {
      EXPECT_STREQ(o.strTitle, "Shapes");
      EXPECT_FALSE(o.bPublicFunctions);
      EXPECT_TRUE(o.bProtectedVariables);
      EXPECT_FALSE(o.bRewrite);
    }
    EXPECT_TRUE(o.bProtectedFunctions);
    EXPECT_FALSE(o.bPrivateVariables);
  }
}

TEST(GenHtmlDlg, AnUnknownLanguageShowsNoSelectionAndStaysAfterOk) {
  DialogSession session;
  ModalAnswers answers;
  std::string shown = "?";
  answers.When(nullptr, "Options", [&](HWND h) {
    shown = SelectedText(h, IDC_LANGUAGE);
    Command(h, IDOK);
  });
  GenHtmlDlg dlg;
  dlg.m_options = SomeOptions(7);
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(shown, "");
  EXPECT_EQ(dlg.m_options.nLanguage, 7);
  EXPECT_STREQ(GetDocumentationFolder("P/", dlg.m_options.nLanguage), "P/Output_Chs\\Htmls\\");
}

// Counts the pages the worker names in the caption and, after the n-th, presses Esc while the
// worker waits for the caption to be shown.
class CancellingProgressDlg : public CCopyFileProDlg {
 public:
  explicit CancellingProgressDlg(int nCancelAfter) : m_nCancelAfter(nCancelAfter) {}
  int nPageCaptions = 0;
  bool bDisabledWhenWorkerClosed = false;
  bool bStoppedWhenWorkerClosed = false;

 protected:
  LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
    if (nMsg == WM_SETTEXT && lParam != 0) {
      const std::string text = reinterpret_cast<const char*>(lParam);
      if (text.size() > 4 && text.compare(text.size() - 4, 4, ".htm") == 0 && ++nPageCaptions == m_nCancelAfter)
        brambolt::test::PressKey(VK_ESCAPE);
    }
    if (nMsg == WM_CLOSE && ::InSendMessage()) {
      bDisabledWhenWorkerClosed = !::IsWindowEnabled(m_hWnd);
      bStoppedWhenWorkerClosed = GetProgress()->IsStopped();
    }
    return CCopyFileProDlg::WindowProc(nMsg, wParam, lParam);
  }

 private:
  int m_nCancelAfter;
};

TEST(CCopyFileProDlg, RunsTheWorkerOverTheProjectAndEndsWhenTheWorkerClosesIt) {
  DialogSession session;
  ShapesProject p("class CAlone\n{\npublic:\n    int m_n;\n    void Run();\n};\n");
  CCopyFileProDlg dlg;
  dlg.m_pProject = &p.project;
  dlg.m_nLanguage = LANGUAGE_ENG;
  dlg.m_strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
  dlg.m_bRewrite = TRUE;
  dlg.DoModal();
  ASSERT_NE(dlg.GetProgress(), nullptr);
  EXPECT_EQ(dlg.GetProgress()->GetPageCount(), 5);
  EXPECT_FALSE(dlg.HasWorker());
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Htmls/CAlone/Member Functions/Run.htm"));
}

TEST(CCopyFileProDlg, CancelAfterNPagesLeavesNoFurtherPageAndEndsOnlyAfterTheWorkerStopped) {
  // Every page named in the caption, by one thread, so that no page was begun elsewhere meanwhile.
  doc_test::ScopedDocumentationThreads oneThread(1);
  for (int n : {1, 3}) {
    DialogSession session;
    ShapesProject p;
    CancellingProgressDlg dlg(n);
    dlg.m_nCaptionMs = 0;
    dlg.m_pProject = &p.project;
    dlg.m_nLanguage = LANGUAGE_ENG;
    dlg.m_strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
    dlg.DoModal();
    const size_t nPages = doc_test::ReadTree(p.folder.Path() + "/Output_Eng/Htmls", {".htm"}).size();
    EXPECT_EQ(nPages, static_cast<size_t>(dlg.GetProgress()->GetPageCount())) << n;
    EXPECT_LE(dlg.nPageCaptions, n + 1) << n;
    EXPECT_LT(nPages, 18u) << n;
    EXPECT_TRUE(dlg.IsStopRequested()) << n;
    EXPECT_TRUE(dlg.bStoppedWhenWorkerClosed) << n;
    EXPECT_TRUE(dlg.bDisabledWhenWorkerClosed) << n;
  }
}

TEST(CCopyFileProDlg, EnterDoesNotEndItBeforeTheWorker) {
  DialogSession session;
  ShapesProject p;
  struct EnterDlg : CCopyFileProDlg {
    BOOL OnInitDialog() override {
      const BOOL b = CCopyFileProDlg::OnInitDialog();
      ::SendMessage(m_hWnd, WM_COMMAND, IDOK, 0);  // what Enter comes to
      return b;
    }
  } dlg;
  dlg.m_pProject = &p.project;
  dlg.m_nLanguage = LANGUAGE_ENG;
  dlg.m_strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_FALSE(dlg.HasWorker());
  EXPECT_FALSE(dlg.IsStopRequested());
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Htmls/Index.htm"));
}

TEST(CCopyFileProDlg, TheCloseBoxDoesNothing) {
  DialogSession session;
  ShapesProject p;
  struct CloseBoxDlg : CCopyFileProDlg {
    bool bStopAfterCloseBox = true;
    BOOL OnInitDialog() override {
      const BOOL b = CCopyFileProDlg::OnInitDialog();
      ::SendMessage(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      bStopAfterCloseBox = GetProgress()->IsStopped();
      return b;
    }
  } dlg;
  dlg.m_pProject = &p.project;
  dlg.m_nLanguage = LANGUAGE_ENG;
  dlg.m_strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
  dlg.DoModal();
  EXPECT_FALSE(dlg.bStopAfterCloseBox);
  EXPECT_FALSE(dlg.IsStopRequested());
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Htmls/Index.htm"));
}

TEST(WriteDocumentationWithDialogs, OkWritesTheChosenLanguageAndMarksTheProjectChangedOnlyWhenAnOptionChanged) {
  struct Case {
    const char* name;
    int nEnd;
    const char* language;
    int nLanguageAfter;
    bool bModified;
  };
  const Case cases[] = {
      {"cancelled", IDCANCEL, "English(U.S.A)", LANGUAGE_CHS, false},
      {"another language", IDOK, "English(U.S.A)", LANGUAGE_ENG, true},
      {"options as they were", IDOK, "Simple Chinese(China)", LANGUAGE_CHS, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DialogSession session;
    ShapesProject p("class CAlone\n{\npublic:\n    void Run();\n};\n");
    p.project.m_nOutputLanguage = LANGUAGE_CHS;
    p.project.m_bModified = FALSE;
    ModalAnswers answers;
    answers.When(nullptr, "Options", [&](HWND h) {
      ChooseItem(h, IDC_LANGUAGE, c.language);
      ClickCheck(h, IDC_REWRITE_ALL);  // the run's own choice, never kept
      Command(h, c.nEnd);
    });
    EXPECT_EQ(WriteDocumentationWithDialogs(p.project, p.strProjectFolder, nullptr), c.nEnd == IDOK);
    EXPECT_EQ(p.project.m_nOutputLanguage, c.nLanguageAfter);
    EXPECT_EQ(p.project.IsModified() != FALSE, c.bModified);
    EXPECT_EQ(p.project.m_bDocOptionsChanged != FALSE, c.bModified);
    const bool bEnglish = c.nEnd == IDOK && c.nLanguageAfter == LANGUAGE_ENG;
    EXPECT_EQ(p.folder.Exists("Output_Eng/Htmls/CAlone/Member Functions/Run.htm"), bEnglish);
    EXPECT_EQ(p.folder.Exists("Output_Chs/Htmls/CAlone/Member Functions/Run.htm"), c.nEnd == IDOK && !bEnglish);
  }
}

struct HelpPages {
  model_test::TempFolder folder;
  CWorkSpaceObj project;
  CString strFolder;
  HelpPages() {
    project.m_nOutputLanguage = LANGUAGE_ENG;
    for (const char* name : {"Index.htm", "Hierarchy_Chart.htm", "Alpha.htm"})
      folder.Write(std::string("Output_Eng/Htmls/") + name, "x");
    strFolder = CString(folder.Path().c_str()) + "/";
  }
};

HtmlHelpSettings FilledSettings() {
  HtmlHelpSettings s;
  s.strContentsFile = "p.hhc";
  s.strIndexFile = "p.hhk";
  s.strProjectFile = "p.hhp";
  s.strTitle = "Title";
  s.strCompiledFile = "p.chm";
  s.strDefaultTopic = "Index.htm";
  return s;
}

TEST(CGenHelpDlg, OpensWithTheSettingsAndThePagesOfTheLanguage) {
  DialogSession session;
  HelpPages pages;
  ModalAnswers answers;
  std::string selected, title;
  LRESULT nItems = 0;
  answers.When(nullptr, "HTML Help", [&](HWND h) {
    selected = SelectedText(h, IDC_DEFAULT_FILE);
    title = ItemText(h, IDC_HELP_TITLE);
    nItems = ::SendDlgItemMessage(h, IDC_DEFAULT_FILE, CB_GETCOUNT, 0, 0);
    Command(h, IDCANCEL);
  });
  CGenHelpDlg dlg(pages.project, pages.strFolder);
  dlg.SetSettings(FilledSettings());
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(selected, "Index.htm");
  EXPECT_EQ(title, "Title");
  EXPECT_EQ(nItems, 3);
}

TEST(CGenHelpDlg, OkStoresTheChoicesAndCancelChangesNothing) {
  for (int nEnd : {IDOK, IDCANCEL}) {
    DialogSession session;
    HelpPages pages;
    ModalAnswers answers;
    answers.When(nullptr, "HTML Help", [&](HWND h) {
      ::SetDlgItemText(h, IDC_HELP_TITLE, "New title");
      ChooseItem(h, IDC_DEFAULT_FILE, "Alpha.htm");
      Command(h, nEnd);
    });
    CGenHelpDlg dlg(pages.project, pages.strFolder);
    dlg.SetSettings(FilledSettings());
    ASSERT_EQ(dlg.DoModal(), nEnd);
    const HtmlHelpSettings s = dlg.GetSettings();
    EXPECT_STREQ(s.strTitle, nEnd == IDOK ? "New title" : "Title");
    if (nEnd == IDOK) {
      EXPECT_STREQ(s.strDefaultTopic, "Alpha.htm");
    }
    EXPECT_STREQ(s.strProjectFile, "p.hhp");
  }
}

TEST(CGenHelpDlg, AnEmptyFieldKeepsTheDialogOpenWithItsMessageAndFocus) {
  DialogSession session;
  HelpPages pages;
  ModalAnswers answers;
  bool bStillOpen = false;
  HWND hFocus = nullptr, hTitle = nullptr;
  int nMessages = 0;
  answers.When(nullptr, "HTML Help", [&](HWND h) {
    ::SetDlgItemText(h, IDC_HELP_TITLE, "");
    Command(h, IDOK);
    bStillOpen = ::IsWindow(h) && ::IsWindowVisible(h);
    hFocus = ::GetFocus();
    hTitle = ::GetDlgItem(h, IDC_HELP_TITLE);
    ::SetDlgItemText(h, IDC_HELP_TITLE, "Again");
    Command(h, IDOK);
  });
  answers.When(nullptr, nullptr, [&](HWND h) {
    ++nMessages;
    ::PostMessage(h, WM_COMMAND, IDOK, 0);
  });
  CGenHelpDlg dlg(pages.project, pages.strFolder);
  dlg.SetSettings(FilledSettings());
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(bStillOpen);
  EXPECT_EQ(nMessages, 1);
  EXPECT_EQ(hFocus, hTitle);
  EXPECT_STREQ(dlg.m_strTitle, "Again");
}

// The dialogs of this module give their edits and lists the application's dialog font, as the
// application's own dialogs do.
TEST(ModelDialogs, EditsAndListsTakeTheSharedDialogFont) {
  DialogSession session;
  model_test::RecordingShell shell;
  LOGFONT lf{};
  lf.lfHeight = 17;
  lstrcpyn(lf.lfFaceName, "Fixedsys", LF_FACESIZE);
  const HFONT hFont = ::CreateFontIndirect(&lf);
  shell.m_hDialogFont = hFont;
  HelpPages pages;
  struct Case {
    const char* caption;
    std::vector<int> ids;
    std::function<INT_PTR()> run;
  };
  const Case cases[] = {
      {"Options", {IDC_PROJECT_TITLE, IDC_LANGUAGE}, [] { return GenHtmlDlg().DoModal(); }},
      {"HTML Help",
       {IDC_CONTENTS_FILE, IDC_INDEX_FILE, IDC_PROJECT_FILE, IDC_HELP_TITLE, IDC_COMPILED_FILE, IDC_DEFAULT_FILE},
       [&] { return CGenHelpDlg(pages.project, pages.strFolder).DoModal(); }},
      {"Insert Files into Project", {IDC_LOCATION, IDC_FILE_TYPES}, [] { return CAddLiveFolderDlg().DoModal(); }},
      {"Please select a folder", {IDC_CURRENT_LOCATION, IDC_SOURCE_FOLDER}, [] { return CAutoGenHelpDlg().DoModal(); }},
  };
  for (const Case& c : cases) {
    std::vector<HFONT> fonts;
    ModalAnswers answers;
    answers.When(nullptr, c.caption, [&](HWND h) {
      for (int nId : c.ids)
        fonts.push_back(reinterpret_cast<HFONT>(::SendDlgItemMessage(h, nId, WM_GETFONT, 0, 0)));
      Command(h, IDCANCEL);
    });
    EXPECT_EQ(c.run(), IDCANCEL) << c.caption;
    EXPECT_EQ(fonts, std::vector<HFONT>(c.ids.size(), hFont)) << c.caption;
  }
  ::DeleteObject(hFont);
}

}  // namespace
