// The list view in a frame, printed and previewed through the framework's own commands: the print
// dialog offers the whole list only, and the file holds every row once in order with the header on
// every page.
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "afx/CPreviewView.h"
#include "afx/CPrintInfo.h"
#include "testing/FakeCups.h"
#include "tests/platform/PdfProbe.h"
#include "tests/widgets/ListTestSupport.h"

using namespace brambolt::test;
namespace fs = std::filesystem;

namespace {

constexpr int kRows = 150;

class ListViewCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) / ("brambolt-listview-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(SECListView);
    frame_ = new CFrameWnd;
    ASSERT_TRUE(frame_->Create(nullptr, "List", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 400), nullptr,
                               nullptr, 0, &context));
    app_.m_pMainWnd = frame_;
    view_ = static_cast<SECListView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame_->m_hWnd, AFX_IDW_PANE_FIRST)));
    ASSERT_NE(view_, nullptr);
    frame_->SetActiveView(view_);
    // A view is created without list styles, as an icon view with one untitled column.
    view_->DeleteAllColumns();
    view_->ModifyStyle(LVS_TYPEMASK | LVS_NOCOLUMNHEADER, LVS_REPORT);
    view_->InsertColumn(0, "Name", LVCFMT_LEFT, 150);
    for (int i = 0; i < kRows; ++i) view_->InsertItem(i, ("row " + std::to_string(i)).c_str());
    view_->SetTopIndex(20);
    RunUntilIdle();
  }
  void TearDown() override {
    EXPECT_TRUE(answers_.Unanswered().empty());
    frame_->DestroyWindow();
    app_.m_pMainWnd = nullptr;
    fs::remove_all(dir_);
  }
  void Command(UINT id) {
    frame_->SendMessage(WM_COMMAND, id, 0);
    RunUntilIdle();
    app_.OnIdle(0);
  }

  UiSession session_;
  ModalAnswers answers_;
  CWinApp app_{"List App"};
  CFrameWnd* frame_ = nullptr;
  SECListView* view_ = nullptr;
  fs::path dir_;
};

TEST_F(ListViewCommands, ThePrintDialogOffersTheWholeListOnlyAndEveryRowIsPrintedOnce) {
  FakeCups cups;  // no printers: "Print to File"
  std::string file = (dir_ / "list.pdf").string();
  bool rangeOffered = true, selectionOffered = true;
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    rangeOffered = ::IsWindowEnabled(::GetDlgItem(dialog, rad3)) != FALSE;
    selectionOffered = ::IsWindowEnabled(::GetDlgItem(dialog, rad2)) != FALSE;
    ::PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  answers_.When(nullptr, nullptr, [&](HWND dialog) {  // the file name for "Print to File"
    ::SetDlgItemText(dialog, edt1, file.c_str());
    ::PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  Command(ID_FILE_PRINT);
  EXPECT_FALSE(rangeOffered);
  EXPECT_FALSE(selectionOffered);
  pdfprobe::Info info = pdfprobe::ReadInfo(file);
  EXPECT_GE(info.pages, 2);
  // Every row once, in order; the header on every page.
  std::vector<int> rows;
  int headers = 0;
  std::istringstream text(pdfprobe::Text(file));
  for (std::string line; std::getline(text, line);) {
    if (size_t at = line.find("row "); at != std::string::npos) rows.push_back(std::stoi(line.substr(at + 4)));
    headers += line.find("Name") != std::string::npos;
  }
  std::vector<int> expected(kRows);
  for (int i = 0; i < kRows; ++i) expected[static_cast<size_t>(i)] = i;
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(headers, info.pages);
  EXPECT_EQ(view_->GetTopIndex(), 20) << "the screen's scroll position comes back";
}

TEST_F(ListViewCommands, PreviewShowsThePagesAndGivesTheListBackWhereItWas) {
  FakeCups cups;
  Command(ID_FILE_PRINT_PREVIEW);
  auto* preview = dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame_->m_hWnd, AFX_IDW_PANE_FIRST)));
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);
  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  Command(AFX_ID_PREVIEW_CLOSE);
  EXPECT_EQ(CWnd::FromHandlePermanent(::GetDlgItem(frame_->m_hWnd, AFX_IDW_PANE_FIRST)), view_);
  EXPECT_EQ(frame_->GetActiveView(), view_);
  EXPECT_EQ(view_->GetTopIndex(), 20) << "the screen's scroll position comes back";
}

}  // namespace
