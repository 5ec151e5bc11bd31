// Printing an editor's text to PDF: pages, header and footer, rows that wrap long lines, page
// ends after lines with mark 0, and pages too small for a character or a line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "afx/CWinApp.h"
#include "editor/model/SECEdit.h"
#include "editor/print/SECEditPrinter.h"
#include "gdi/DevMode.h"
#include "platform/PdfProbe.h"
#include "testing/UiTest.h"

namespace {

class PrintTest : public ::testing::Test {
 protected:
  PrintTest() {
    model.NewDocument();
    printer.SetModel(&model);
  }
  void Fill(int lines, const std::string& text) {
    std::string all;
    for (int i = 1; i <= lines; ++i) all += text + std::to_string(i) + (i < lines ? "\r\n" : "");
    model.InsertTextAt(0, 0, all.c_str(), static_cast<int>(all.size()));
  }
  // Prints every page to a PDF file and returns its path.
  std::string PrintToPdf(const char* name) {
    const std::string path = stores.TempDir() + "/" + name;
    DEVMODE dm = brambolt::DefaultDevMode(brambolt::kPrintToFileName);
    CDC dc;
    dc.Attach(::CreateDC("winspool", brambolt::kPrintToFileName, path.c_str(), &dm));
    EXPECT_NE(dc.GetSafeHdc(), nullptr);
    CPrintInfo info;
    printer.OnBeginPrinting(&dc, &info);
    pages = static_cast<int>(info.GetMaxPage());
    DOCINFO doc{sizeof(DOCINFO), "Editor", nullptr, nullptr, 0};
    EXPECT_GT(::StartDoc(dc.GetSafeHdc(), &doc), 0);
    for (int page = 1; page <= pages; ++page) {
      ::StartPage(dc.GetSafeHdc());
      info.m_nCurPage = static_cast<UINT>(page);
      printer.OnPrint(&dc, &info);
      ::EndPage(dc.GetSafeHdc());
    }
    ::EndDoc(dc.GetSafeHdc());
    rowsPerPage = printer.GetPrintInfo()->m_nRowsPerPage;
    rows = static_cast<int>(printer.GetPrintInfo()->m_rows.GetSize());
    printer.OnEndPrinting(&dc, &info);
    ::DeleteDC(dc.Detach());
    return path;
  }

  brambolt::test::UiSession session;
  brambolt::test::PrivateStores stores;
  CWinApp app{"Print Test"};
  SECEdit model;
  SECEditPrinter printer;
  int pages = 0, rowsPerPage = 0, rows = 0;
};

TEST_F(PrintTest, ThreeHundredLinesGivePagesWithTitleRulesAndNumbers) {
  Fill(300, "int value_");
  printer.SetTitle("C:\\projects\\demo\\source\\value.cpp");
  const std::string pdf = PrintToPdf("values.pdf");
  ASSERT_GT(rowsPerPage, 10);
  EXPECT_EQ(rows, 300);
  EXPECT_EQ(pages, (300 + rowsPerPage - 1) / rowsPerPage);
  EXPECT_EQ(pdfprobe::ReadInfo(pdf).pages, pages);
  const std::string text = pdfprobe::Text(pdf);
  for (const std::string& expected : {std::string("int value_1\n"), std::string("int value_300"),
                                      std::string("value.cpp"), "Page: " + std::to_string(pages)})
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  // The last line of the first page and the first of the second are on their own pages.
  const size_t pageBreak = text.find('\f');
  ASSERT_NE(pageBreak, std::string::npos);
  const std::string last = "int value_" + std::to_string(rowsPerPage) + "\n";
  EXPECT_LT(text.find(last), pageBreak);
  EXPECT_GT(text.find("int value_" + std::to_string(rowsPerPage + 1) + "\n"), pageBreak);
}

TEST_F(PrintTest, LongLinesWrapAndMarkZeroEndsThePage) {
  Fill(20, "line ");
  std::string longLine;
  for (int i = 0; i < 60; ++i) longLine += "word" + std::to_string(i) + "\t";
  model.InsertTextAt(1, 0, longLine.c_str(), static_cast<int>(longLine.size()));
  model.ToggleLineMark(4, 0);
  struct MarkBreaks : SECEditPrinter {
    void Paginate(CDC* pDC) override {
      SECEditPrinter::Paginate(pDC);
      BreakPagesAfterMark(0);
    }
  } marked;
  marked.SetModel(&model);
  CDC dc;
  DEVMODE dm = brambolt::DefaultDevMode(brambolt::kPrintToFileName);
  dc.Attach(::CreateDC("winspool", brambolt::kPrintToFileName, (stores.TempDir() + "/x.pdf").c_str(), &dm));
  CPrintInfo info;
  marked.OnBeginPrinting(&dc, &info);
  const auto& wrapped = marked.GetPrintInfo()->m_rows;
  const int perPage = marked.GetPrintInfo()->m_nRowsPerPage;
  // Line 1 wraps into rows that start where the previous one stopped.
  int rowsOfLine1 = 0, lastCol = -1;
  for (INT_PTR i = 0; i < wrapped.GetSize(); ++i) {
    if (wrapped[i].m_nLine != 1) continue;
    EXPECT_GT(wrapped[i].m_nCol, lastCol);
    lastCol = wrapped[i].m_nCol;
    ++rowsOfLine1;
  }
  EXPECT_GT(rowsOfLine1, 1);
  // The row after the marked line's page is line 5, at the top of page 2.
  ASSERT_GT(wrapped.GetSize(), perPage);
  EXPECT_EQ(wrapped[perPage].m_nLine, 5);
  EXPECT_EQ(wrapped[perPage - 1].m_nLine, -1);
  EXPECT_EQ(info.GetMaxPage(), 2U);

  // A body narrower than a character or lower than a line still progresses: one character a row.
  marked.GetPrintInfo()->m_rcPage.right = marked.GetPrintInfo()->m_rcPage.left + 1;
  marked.SECEditPrinter::Paginate(&dc);
  INT_PTR characters = 0;
  for (int line = 0; line < model.GetLineCount(); ++line) characters += std::max(1, model.GetLineLength(line));
  EXPECT_EQ(marked.GetPrintInfo()->m_rows.GetSize(), characters);
  marked.OnEndPrinting(&dc, &info);
  ::DeleteDC(dc.Detach());
}

}  // namespace
