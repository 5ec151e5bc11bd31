// Printing from a view: the print dialog's range, copies and collation, "Print to File" with its
// file name, direct printing to a CUPS printer, the "Printing" box's Cancel, and the message
// when the spooler refuses the job.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AfxTestResources.h"
#include "afx/CPrintInfo.h"
#include "afx/afx.h"
#include "base/CodePage.h"
#include "base/Convert.h"
#include "platform/PdfProbe.h"
#include "testing/FakeCups.h"
#include "testing/testing.h"

using namespace brambolt::test;
namespace fs = std::filesystem;

namespace {

void Press(HWND dialog, int id) { ::PostMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The "Printing" box: the top-level window with the page-number line.
HWND FindStatusBox() {
  HWND found = nullptr;
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        if (::GetDlgItem(window, AFX_IDC_PRINT_PAGENUM) == nullptr) return TRUE;
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A document of numbered lines: `pages` pages of five lines; the last page also has a line in
// simplified and one in traditional Chinese, each in its own code page.
class LinesView : public CView {
  DECLARE_DYNCREATE(LinesView)

 public:
  static inline UINT pages = 4;
  static inline bool countsPagesLate = false;  // as the editor: only when printing begins
  static inline UINT cancelOnPage = 0;  // the page whose printing presses Cancel
  static inline std::vector<UINT> printed;
  static inline HWND statusSeen = nullptr;

  void OnDraw(CDC*) override {}

 protected:
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override {
    if (!countsPagesLate) pInfo->SetMaxPage(pages);
    return DoPreparePrinting(pInfo);
  }
  void OnBeginPrinting(CDC*, CPrintInfo* pInfo) override {
    if (countsPagesLate) pInfo->SetMaxPage(pages);
  }
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
    printed.push_back(pInfo->m_nCurPage);
    CFont font;
    font.CreatePointFont(100, "Arial", pDC);
    CFont* old = pDC->SelectObject(&font);
    TEXTMETRIC tm;
    pDC->GetTextMetrics(&tm);
    int y = pInfo->m_rectDraw.top;
    for (int line = 1; line <= 5; ++line, y += tm.tmHeight) {
      CString text;
      text.Format("Page %u line %d", pInfo->m_nCurPage, line);
      pDC->TextOut(pInfo->m_rectDraw.left, y, text);
    }
    if (pInfo->m_nCurPage == pages) {
      brambolt::ScopedCodePage simplified(936);
      pDC->TextOut(pInfo->m_rectDraw.left, y, brambolt::Utf8ToCodePage(u8"打印预览", 936).c_str());
      brambolt::ScopedCodePage traditional(950);
      pDC->TextOut(pInfo->m_rectDraw.left, y + tm.tmHeight, brambolt::Utf8ToCodePage(u8"列印預覽", 950).c_str());
    }
    pDC->SelectObject(old);
    if (pInfo->m_nCurPage == cancelOnPage) {
      statusSeen = FindStatusBox();
      if (statusSeen) Press(statusSeen, IDCANCEL);
    }
  }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(LinesView, CView)
BEGIN_MESSAGE_MAP(LinesView, CView)
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
END_MESSAGE_MAP()

class PrintApp : public CWinApp {
 public:
  PrintApp() : CWinApp("Print App") {}
};

class ViewPrinting : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) / ("brambolt-viewprint-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    LinesView::pages = 4;
    LinesView::countsPagesLate = false;
    LinesView::cancelOnPage = 0;
    LinesView::printed.clear();
    LinesView::statusSeen = nullptr;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(LinesView);
    frame_ = new CFrameWnd;
    ASSERT_TRUE(frame_->Create(nullptr, "Lines", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, nullptr, 0,
                               &context));
    app_.m_pMainWnd = frame_;
    view_ = static_cast<CView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame_->m_hWnd, AFX_IDW_PANE_FIRST)));
    frame_->SetActiveView(view_);
  }
  void TearDown() override {
    // Whatever else came up is closed, and the test fails for it.
    EXPECT_TRUE(answers_.Unanswered().empty());
    frame_->DestroyWindow();
    app_.m_pMainWnd = nullptr;
    fs::remove_all(dir_);
  }
  // Sends a command to the frame as a menu would.
  void Command(UINT id) { frame_->SendMessage(WM_COMMAND, id, 0); }
  // Answers the print dialog with a range and copies, then the file name of "Print to File".
  void AnswerPrint(int from, int to, int copies, bool collate, const std::string& file) {
    answers_.When(nullptr, "Print", [=](HWND dialog) {
      if (from > 0) {
        ::CheckRadioButton(dialog, rad1, rad3, rad3);
        ::SetDlgItemText(dialog, edt1, std::to_string(from).c_str());
        ::SetDlgItemText(dialog, edt2, std::to_string(to).c_str());
      }
      ::SetDlgItemText(dialog, edt3, std::to_string(copies).c_str());
      ::CheckDlgButton(dialog, chx2, collate ? BST_CHECKED : BST_UNCHECKED);
      Press(dialog, IDOK);
    });
    if (!file.empty())
      answers_.When(nullptr, "Print to File", [=](HWND dialog) {
        ::SetDlgItemText(dialog, edt1, file.c_str());
        Press(dialog, IDOK);
      });
  }
  // Answers the next message box of that caption with OK, its text kept in `told`.
  void AnswerBox(const char* caption, std::string& told) {
    answers_.When(nullptr, caption, [&told](HWND box) {
      char text[512] = {};
      ::GetDlgItemText(box, 0xFFFF, text, sizeof text);
      told = text;
      Press(box, IDOK);
    });
  }
  // The lines of the PDF that start with "Page", in order.
  static std::vector<std::string> PageLines(const std::string& pdf) {
    std::vector<std::string> lines;
    std::istringstream in(pdfprobe::Text(pdf));
    for (std::string line; std::getline(in, line);) {
      size_t at = line.find("Page ");
      if (at != std::string::npos) lines.push_back(line.substr(at, line.find_last_not_of(" \f") - at + 1));
    }
    return lines;
  }
  static std::vector<std::string> Lines(std::initializer_list<int> pages) {
    std::vector<std::string> lines;
    for (int page : pages)
      for (int line = 1; line <= 5; ++line) lines.push_back("Page " + std::to_string(page) + " line " + std::to_string(line));
    return lines;
  }

  UiSession session_;
  ModalAnswers answers_;
  PrintApp app_;
  CFrameWnd* frame_ = nullptr;
  CView* view_ = nullptr;
  fs::path dir_;
};

TEST_F(ViewPrinting, EveryPageToAFileWithItsTextInOrder) {
  FakeCups cups;  // no printers: "Print to File" only
  std::string file = (dir_ / "all.pdf").string();
  AnswerPrint(0, 0, 1, false, file);
  Command(ID_FILE_PRINT);
  EXPECT_EQ(LinesView::printed, (std::vector<UINT>{1, 2, 3, 4}));
  pdfprobe::Info info = pdfprobe::ReadInfo(file);
  EXPECT_EQ(info.pages, 4);
  EXPECT_NEAR(info.width, 612, 1);  // Letter, portrait
  EXPECT_NEAR(info.height, 792, 1);
  EXPECT_EQ(PageLines(file), Lines({1, 2, 3, 4}));
  std::string text = pdfprobe::Text(file);
  EXPECT_NE(text.find("打印预览"), std::string::npos);
  EXPECT_NE(text.find("列印預覽"), std::string::npos);
  EXPECT_TRUE(::IsWindowEnabled(frame_->m_hWnd));
  EXPECT_EQ(FindStatusBox(), nullptr);
}

// The PDF of "Print to File" is made as every new file of the user's: with the umask's
// permissions, not private to the owner.
TEST_F(ViewPrinting, PrintToFileMakesThePdfWithTheUmasksPermissions) {
  FakeCups cups;
  for (const auto& [mask, mode] : {std::pair<mode_t, mode_t>{022, 0644}, {027, 0640}, {002, 0664}}) {
    const std::string file = (dir_ / ("mask" + std::to_string(mask) + ".pdf")).string();
    const mode_t previous = ::umask(mask);
    AnswerPrint(0, 0, 1, false, file);
    Command(ID_FILE_PRINT);
    ::umask(previous);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0) << file;
    EXPECT_EQ(st.st_mode & 0777, mode) << "umask " << std::oct << mask;
  }
}

TEST_F(ViewPrinting, ARangeWithCopiesCollatedOrNot) {
  FakeCups cups;
  std::string collated = (dir_ / "collated.pdf").string(), grouped = (dir_ / "grouped.pdf").string();
  AnswerPrint(2, 3, 2, true, collated);
  Command(ID_FILE_PRINT);
  EXPECT_EQ(PageLines(collated), Lines({2, 3, 2, 3}));
  AnswerPrint(2, 3, 2, false, grouped);
  Command(ID_FILE_PRINT);
  EXPECT_EQ(PageLines(grouped), Lines({2, 2, 3, 3}));
}

// "Print to File" with a name typed in a folder that does not exist says so and stays, so the
// job goes nowhere else; a name that can be written then gets the pages.
TEST_F(ViewPrinting, PrintToFileInAMissingFolderIsToldAndNotWrittenElsewhere) {
  FakeCups cups;
  const std::string missing = (dir_ / "gone" / "lost-print.pdf").string(), good = (dir_ / "found.pdf").string();
  const fs::path started = fs::current_path();
  fs::current_path(dir_);  // the folder the dialog shows: where a moved name would go
  std::string told;
  answers_.When(nullptr, "Print", [](HWND dialog) { Press(dialog, IDOK); });
  answers_.When(nullptr, "Print to File", [&](HWND dialog) {
    AnswerBox("Print to File", told);
    for (const std::string& name : {missing, good}) {
      if (!::IsWindowVisible(dialog)) break;
      ::SetDlgItemText(dialog, edt1, "");
      ::SetFocus(::GetDlgItem(dialog, edt1));
      TypeText(name);
      PressKey(VK_RETURN);
      RunUntilIdle();
    }
  });
  Command(ID_FILE_PRINT);
  fs::current_path(started);
  EXPECT_EQ(told, missing + "\nPath does not exist.\nCheck the path and try again.");
  EXPECT_FALSE(fs::exists(dir_ / "lost-print.pdf"));
  EXPECT_EQ(PageLines(good), Lines({1, 2, 3, 4}));
}

// A document that counts its pages only when printing begins (the dialog cannot refuse the
// range): pages past its end are named, and a range wholly past it prints nothing.
TEST_F(ViewPrinting, PagesPastTheEndAreToldAndNotMadeUp) {
  FakeCups cups;
  LinesView::countsPagesLate = true;
  struct Case {
    int from, to;
    std::vector<UINT> printed;
    const char* told;
  } cases[] = {
      {6, 8, {}, "The document has 4 page(s): pages 6 to 8 are past its end. Nothing was printed."},
      {3, 8, {3, 4},
       "The document has 4 page(s): pages 5 to 8 are past its end and were not printed; pages 3 to 4 were."},
  };
  std::string told;
  for (const Case& c : cases) {
    LinesView::printed.clear();
    told.clear();
    const std::string file = (dir_ / ("range" + std::to_string(c.from) + ".pdf")).string();
    AnswerPrint(c.from, c.to, 1, false, file);
    AnswerBox("Print App", told);
    Command(ID_FILE_PRINT);
    EXPECT_EQ(LinesView::printed, c.printed) << c.from;
    EXPECT_EQ(told, c.told);
    if (c.printed.empty()) {
      EXPECT_FALSE(fs::exists(file));
    } else {
      EXPECT_EQ(pdfprobe::ReadInfo(file).pages, static_cast<int>(c.printed.size()));
    }
  }
}

TEST_F(ViewPrinting, DirectPrintingGoesToTheDefaultPrinterWithoutADialog) {
  FakeCups cups({"Office", "Lab"}, "Lab");
  Command(ID_FILE_PRINT_DIRECT);
  ASSERT_EQ(cups.Jobs().size(), 1u);
  EXPECT_EQ(cups.Jobs()[0].printer, "Lab");
  EXPECT_EQ(cups.Jobs()[0].copies, 1);
  EXPECT_EQ(cups.Jobs()[0].pdf.rfind("%PDF", 0), 0u);
  EXPECT_EQ(LinesView::printed, (std::vector<UINT>{1, 2, 3, 4}));
}

TEST_F(ViewPrinting, CopiesOfAPrinterJobAreTheSpoolersToMake) {
  FakeCups cups({"Office"}, "Office");
  AnswerPrint(0, 0, 3, true, "");
  Command(ID_FILE_PRINT);
  ASSERT_EQ(cups.Jobs().size(), 1u);
  EXPECT_EQ(cups.Jobs()[0].copies, 3);
  EXPECT_TRUE(cups.Jobs()[0].collate);
  EXPECT_EQ(LinesView::printed, (std::vector<UINT>{1, 2, 3, 4}));  // each page once
}

TEST_F(ViewPrinting, CancelInTheMiddleLeavesNoFileAndNoMessage) {
  FakeCups cups;
  LinesView::cancelOnPage = 2;
  AnswerPrint(0, 0, 1, false, (dir_ / "cancelled.pdf").string());
  Command(ID_FILE_PRINT);
  EXPECT_NE(LinesView::statusSeen, nullptr);
  EXPECT_EQ(LinesView::printed, (std::vector<UINT>{1, 2}));
  EXPECT_TRUE(fs::is_empty(dir_));
  EXPECT_TRUE(::IsWindowEnabled(frame_->m_hWnd));
}

TEST_F(ViewPrinting, ARefusedJobIsReportedWithTheSpoolersReason) {
  FakeCups cups({"Office"}, "Office");
  cups.RefuseJobs("The printer is stopped.");
  std::string shown;
  AnswerBox("Print App", shown);
  Command(ID_FILE_PRINT_DIRECT);
  EXPECT_NE(shown.find("The printer is stopped."), std::string::npos) << shown;
  EXPECT_TRUE(cups.Jobs().empty());
}

// A printer removed while the Print dialog is open: the user is told that it is gone, not the
// print system's words for a missing file.
TEST_F(ViewPrinting, APrinterRemovedWhileTheDialogIsOpenIsToldAsGone) {
  FakeCups cups({"Office", "Lab"}, "Office");
  std::string shown;
  AnswerBox("Print App", shown);
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    cups.RemovePrinter("Office");
    Press(dialog, IDOK);
  });
  Command(ID_FILE_PRINT);
  EXPECT_NE(shown.find("The printer Office is not there any more"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("No such file or directory"), std::string::npos) << shown;
  EXPECT_TRUE(cups.Jobs().empty());
}

class LinesDoc : public CDocument {
  DECLARE_DYNCREATE(LinesDoc)

 public:
  void Serialize(CArchive&) override {}
};

IMPLEMENT_DYNCREATE(LinesDoc, CDocument)

TEST(ShellPrinting, PrintToOpensPrintsToTheNamedPrinterWithoutADialogAndEnds) {
  UiSession session;
  ModalAnswers answers;
  FakeCups cups({"Office"}, "Office");
  answers.When(nullptr, nullptr, [](HWND w) {
    char text[256] = {};
    char message[512] = {};
    ::GetWindowText(w, text, sizeof text);
    ::GetDlgItemText(w, 0xFFFF, message, sizeof message);
    ADD_FAILURE() << "unexpected window: " << text << ": " << message;
    ::PostMessage(w, WM_CLOSE, 0, 0);
  }, true);
  LinesView::pages = 2;
  LinesView::printed.clear();
  fs::path dir = fs::path(testing::TempDir()) / ("brambolt-shellprint-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string doc = (dir / "lines.txt").string(), out = (dir / "lines.pdf").string();
  std::ofstream(doc) << "";
  {
    PrintApp app;
    app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(LinesDoc), RUNTIME_CLASS(CFrameWnd),
                                              RUNTIME_CLASS(LinesView)));
    std::vector<const char*> args{"prog", "/pt", doc.c_str(), brambolt::kPrintToFileName, "winspool", out.c_str()};
    brambolt::afx::SetCommandLine(static_cast<int>(args.size()), const_cast<char**>(args.data()));
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_FALSE(app.ProcessShellCommand(info)) << "nothing is left to run";
    EXPECT_EQ(app.m_pCmdInfo, nullptr);
    app.CloseAllDocuments(TRUE);
  }
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(pdfprobe::ReadInfo(out).pages, 2);
  EXPECT_TRUE(cups.Jobs().empty());
  fs::remove_all(dir);
}

}  // namespace
