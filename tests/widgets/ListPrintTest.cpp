// The list view's printing and print preview through the framework's print steps: pages found
// by walking the rows, the header band on every page, a row taller than the page that still
// ends the job, preview pages reached again from row 0, and the screen state put back after.
#include <filesystem>

#include "afx/CPrintInfo.h"
#include "gdi/Printer.h"
#include "tests/widgets/ListTestSupport.h"

using brambolt::test::RunUntilIdle;

namespace {

// The texts of a printed page, one string per text run.
std::vector<std::string> PageTexts(const brambolt::PageRecord& page) {
  std::vector<std::string> texts;
  for (const auto& op : page.ops) {
    if (const auto* text = std::get_if<brambolt::PageText>(&op.item)) {
      std::string ascii;
      for (char32_t c : text->chars) ascii += c < 0x80 ? static_cast<char>(c) : '?';
      texts.push_back(ascii);
    }
  }
  return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& wanted) {
  for (const std::string& text : texts) {
    if (text.find(wanted) != std::string::npos) return true;
  }
  return false;
}

class ListPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    view = static_cast<SECListView*>(RUNTIME_CLASS(SECListView)->CreateObject());
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &parent, 9));
    view->InsertColumn(0, "Name", LVCFMT_LEFT, 150);
    view->AppendColumn("Kind", LVCFMT_LEFT, 100);
    settings.port = "";  // pages are kept for the test
    brambolt::SetDefaultPrinterSettings(settings);
  }
  void TearDown() override {
    if (view->GetSafeHwnd() != nullptr) view->DestroyWindow();
  }
  void Fill(int count, const char* prefix = "row ") {
    for (int i = 0; i < count; ++i) view->InsertItem(view->GetItemCount(), (prefix + std::to_string(i)).c_str());
  }
  // The framework's print loop: begin, then per page prepare the DC, print and end the page,
  // until the view says no page is left; then end. Returns the pages printed.
  std::vector<std::shared_ptr<const brambolt::PageRecord>> Print(const std::string& file = "") {
    brambolt::PrinterSettings job = settings;
    job.port = file;
    HDC hdc = brambolt::CreatePrinterDC(job);
    CDC dc;
    dc.Attach(hdc);
    dc.m_bPrinting = TRUE;
    CPrintInfo info;
    DOCINFO doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "list";
    view->OnBeginPrinting(&dc, &info);
    ::StartDoc(hdc, &doc);
    for (info.m_nCurPage = 1; info.m_nCurPage < 500; ++info.m_nCurPage) {
      view->OnPrepareDC(&dc, &info);
      if (!info.m_bContinuePrinting) break;
      ::StartPage(hdc);
      view->OnPrint(&dc, &info);
      ::EndPage(hdc);
    }
    ::EndDoc(hdc);
    view->OnEndPrinting(&dc, &info);
    auto pages = brambolt::GetPrintedPages(hdc);
    dc.Detach();
    ::DeleteDC(hdc);
    return pages;
  }
  // Print preview's count of pages.
  UINT PreviewPages(CPrintInfo& info, CDC& dc) {
    info.m_bPreview = TRUE;
    view->OnBeginPrinting(&dc, &info);
    return info.GetMaxPage();
  }

  brambolt::test::UiSession session;
  widgets_testing::ListParent parent;
  SECListView* view = nullptr;
  brambolt::PrinterSettings settings;
};

TEST_F(ListPrint, ALongListPrintsPageAfterPageWithTheHeaderOnEach) {
  Fill(300);
  std::string pdf = (std::filesystem::temp_directory_path() / "brambolt-list-print.pdf").string();
  auto pages = Print(pdf);
  ASSERT_GT(pages.size(), 2u);
  ASSERT_LT(pages.size(), 100u);
  for (const auto& page : pages) EXPECT_TRUE(Contains(PageTexts(*page), "Name"));
  // Every row is printed once, in order, the first on page 1 and the last on the last page.
  EXPECT_TRUE(Contains(PageTexts(*pages.front()), "row 0"));
  EXPECT_TRUE(Contains(PageTexts(*pages.back()), "row 299"));
  int printed = 0;
  for (const auto& page : pages) {
    for (const std::string& text : PageTexts(*page)) printed += text.rfind("row ", 0) == 0;
  }
  EXPECT_EQ(printed, 300);
  EXPECT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
  if (std::getenv("KEEP_PDF") == nullptr) std::filesystem::remove(pdf);
}

TEST_F(ListPrint, RowsThatFitMakeOnePageAndOneMoreRowMakesTwo) {
  CPrintInfo probe;
  HDC hdc = brambolt::CreatePrinterDC(settings);
  CDC dc;
  dc.Attach(hdc);
  dc.m_bPrinting = TRUE;
  EXPECT_EQ(PreviewPages(probe, dc), 1u);  // an empty list previews as one page
  view->OnEndPrinting(&dc, &probe);
  Fill(400);
  CPrintInfo first;
  UINT pages = PreviewPages(first, dc);
  ASSERT_GE(pages, 2u);
  view->GotoPrintPage(2, &dc);
  int perPage = view->GetTopIndex();  // the first row of page 2
  view->OnEndPrinting(&dc, &first);
  view->DeleteAllItems();
  Fill(perPage);
  CPrintInfo fits;
  EXPECT_EQ(PreviewPages(fits, dc), 1u);
  view->OnEndPrinting(&dc, &fits);
  Fill(1, "extra ");
  CPrintInfo more;
  EXPECT_EQ(PreviewPages(more, dc), 2u);
  view->OnEndPrinting(&dc, &more);
  dc.Detach();
  ::DeleteDC(hdc);
}

TEST_F(ListPrint, PreviewPagesAreReachedFromRowZeroUnlessAlreadyThere) {
  Fill(400);
  HDC hdc = brambolt::CreatePrinterDC(settings);
  CDC dc;
  dc.Attach(hdc);
  dc.m_bPrinting = TRUE;
  CPrintInfo info;
  ASSERT_GE(PreviewPages(info, dc), 3u);
  ASSERT_TRUE(view->GotoPrintPage(1, &dc));
  EXPECT_EQ(view->GetTopIndex(), 0);
  ASSERT_TRUE(view->GotoPrintPage(3, &dc));
  int third = view->GetTopIndex();
  EXPECT_GT(third, 0);
  view->m_nTopRow = 5;  // a page already reached is not walked again
  ASSERT_TRUE(view->GotoPrintPage(3, &dc));
  EXPECT_EQ(view->GetTopIndex(), 5);
  ASSERT_TRUE(view->GotoPrintPage(2, &dc));
  ASSERT_TRUE(view->GotoPrintPage(3, &dc));
  EXPECT_EQ(view->GetTopIndex(), third);
  EXPECT_FALSE(view->GotoPrintPage(400, &dc));
  view->OnEndPrinting(&dc, &info);
  dc.Detach();
  ::DeleteDC(hdc);
}

TEST_F(ListPrint, ARowTallerThanThePageStillEndsTheJob) {
  std::string tall;
  for (int line = 0; line < 400; ++line) tall += "line " + std::to_string(line) + "\n";
  view->InsertItem(0, "before");
  view->InsertItem(1, tall.c_str());
  view->InsertItem(2, "after");
  auto pages = Print();
  EXPECT_EQ(pages.size(), 3u);
  EXPECT_TRUE(Contains(PageTexts(*pages.back()), "after"));
}

TEST_F(ListPrint, TheScreenStateComesBackAfterPrinting) {
  Fill(200);
  RunUntilIdle();
  view->SetTopIndex(7);
  ASSERT_EQ(view->GetTopIndex(), 7);
  CFont font;
  font.CreatePointFont(90, "DejaVu Sans");
  view->SetFont(&font);
  HDC hdc = brambolt::CreatePrinterDC(settings);
  CDC dc;
  dc.Attach(hdc);
  dc.m_bPrinting = TRUE;
  CPrintInfo info;
  view->OnBeginPrinting(&dc, &info);
  EXPECT_TRUE(view->IsPrinting());
  EXPECT_NE(view->GetRowFont(), &font);
  LOGFONT printed{}, screen{};
  view->GetRowFont()->GetLogFont(&printed);
  font.GetLogFont(&screen);
  EXPECT_STREQ(printed.lfFaceName, screen.lfFaceName);
  EXPECT_EQ(printed.lfHeight, screen.lfHeight);
  // While printing the window paints nothing and reports the page as its client area.
  CRect client;
  view->GetClientRect(&client);
  EXPECT_GT(client.Height(), 200);
  view->OnEndPrinting(&dc, &info);
  dc.Detach();
  ::DeleteDC(hdc);
  EXPECT_FALSE(view->IsPrinting());
  EXPECT_EQ(view->GetTopIndex(), 7);
  EXPECT_EQ(view->GetRowFont(), &font);
  view->GetClientRect(&client);
  EXPECT_EQ(client, CRect(0, 0, 300, 200));
}

TEST_F(ListPrint, AListWithoutFontsPrintsWithACopyOfTheStockFont) {
  Fill(3);
  HDC hdc = brambolt::CreatePrinterDC(settings);
  CDC dc;
  dc.Attach(hdc);
  dc.m_bPrinting = TRUE;
  CPrintInfo info;
  view->OnBeginPrinting(&dc, &info);
  LOGFONT printed{}, stock{};
  view->GetRowFont()->GetLogFont(&printed);
  ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
  EXPECT_STREQ(printed.lfFaceName, stock.lfFaceName);
  EXPECT_NE(std::string(printed.lfFaceName), "Times New Roman");
  view->OnEndPrinting(&dc, &info);
  EXPECT_EQ(view->m_printRowFont.GetSafeHandle(), nullptr);
  EXPECT_EQ(view->m_printHeaderFont.GetSafeHandle(), nullptr);
  dc.Detach();
  ::DeleteDC(hdc);
}

}  // namespace
