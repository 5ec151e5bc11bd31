// The workbook frame: the strip below the MDI client in workbook mode, tab widths and polygons
// as sheets come and go or hide, activation by a click on a tab, the painted tabs, labels
// shortened by whole characters, the repaint band of a tab, renumbering and tips.
#include <gtest/gtest.h>

#include <vector>

#include "bars/SECWorkbook.h"
#include "bars/SECWorksheet.h"
#include "base/CodePage.h"
#include "testing/testing.h"

using brambolt::test::Click;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;

namespace {

class Workbook : public ::testing::Test {
 protected:
  void SetUp() override {
    book = new SECWorkbook;
    ASSERT_TRUE(book->Create(nullptr, "Book", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 400)));
    app.m_pMainWnd = book;
    RunUntilIdle();
  }
  void TearDown() override {
    if (::IsWindow(book->GetSafeHwnd())) book->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  SECWorksheet* AddSheet(const char* title) {
    auto* sheet = new SECWorksheet;
    EXPECT_TRUE(sheet->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, book));
    RunUntilIdle();
    return sheet;
  }
  // The MDI client's window rectangle in the frame's client coordinates.
  CRect Client() {
    CRect rc;
    ::GetWindowRect(book->m_hWndMDIClient, &rc);
    book->ScreenToClient(&rc);
    return rc;
  }
  std::vector<POINT> Points(SECWorksheet* sheet) {
    LPPOINT p = nullptr;
    int n = 0;
    book->GetTabPoints(sheet, p, n);
    std::vector<POINT> points(p, p + n);
    delete[] p;
    return points;
  }
  // Makes the MDI client `width` pixels wide.
  void SetClientWidth(int width) {
    CRect window;
    book->GetWindowRect(&window);
    book->SetWindowPos(nullptr, 0, 0, window.Width() + width - Client().Width(), window.Height(),
                       SWP_NOMOVE | SWP_NOZORDER);
    RunUntilIdle();
  }

  UiSession session;
  CWinApp app{"Workbook"};
  SECWorkbook* book = nullptr;
};

TEST_F(Workbook, ModeLeavesAStripBelowTheClient) {
  CRect frame;
  book->GetClientRect(&frame);
  EXPECT_EQ(Client().bottom, frame.bottom);
  book->SendMessage(WM_COMMAND, ID_SECWB_TOGGLE_MODE);
  EXPECT_TRUE(book->GetWorkbookMode());
  EXPECT_TRUE(SECGetWorkbookMode());
  EXPECT_EQ(Client().bottom, frame.bottom - 22);
  CRect strip;
  book->GetTabStripRect(strip);
  EXPECT_EQ(strip.bottom, frame.bottom);
  book->SendMessage(WM_COMMAND, ID_SECWB_TOGGLE_MODE);
  EXPECT_FALSE(SECGetWorkbookMode());
  EXPECT_EQ(Client().bottom, frame.bottom);
}

TEST_F(Workbook, TabsNarrowAsSheetsAreAddedAndHiddenSheetsTakeNoSlot) {
  book->SetWorkbookMode(TRUE);
  SetClientWidth(500);
  std::vector<SECWorksheet*> sheets;
  sheets.push_back(AddSheet("One"));
  EXPECT_EQ(book->GetTabWidth(), 100);
  for (int i = 1; i < 8; ++i) sheets.push_back(AddSheet("More"));
  EXPECT_EQ(book->GetTabWidth(), 63);

  // The active (last) sheet's tab is widened by 2 and starts one pixel early.
  const CRect c = Client();
  const int w = book->GetTabWidth();
  const std::vector<POINT> active = Points(sheets[7]);
  const std::vector<POINT> expected = {{7 * w - 1 + c.left, c.bottom},
                                       {7 * w - 1 + c.left, c.bottom + 5},
                                       {7 * w - 1 + c.left + 15, c.bottom + 20},
                                       {7 * w - 1 + c.left + 15 + w - 30 + 2, c.bottom + 20},
                                       {7 * w - 1 + c.left + w + 2, c.bottom + 5},
                                       {7 * w - 1 + c.left + w + 2, c.bottom},
                                       {7 * w - 1 + c.left, c.bottom}};
  ASSERT_EQ(active.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(active[i].x, expected[i].x) << i;
    EXPECT_EQ(active[i].y, expected[i].y) << i;
  }
  EXPECT_EQ(Points(sheets[2])[0].x, 2 * w + c.left);
  sheets[1]->ShowWindow(SW_HIDE);
  EXPECT_EQ(Points(sheets[2])[0].x, 1 * w + c.left);
}

TEST_F(Workbook, ClickOnATabActivatesItsSheetAndPaintsItRaised) {
  book->SetWorkbookMode(TRUE);
  SECWorksheet* first = AddSheet("First");
  SECWorksheet* second = AddSheet("Second");
  ASSERT_EQ(book->MDIGetActive(), second);
  RunUntilIdle();
  auto probe = [&](SECWorksheet* sheet) {
    const std::vector<POINT> p = Points(sheet);
    return CPoint(p[0].x + 18, p[0].y + 3);
  };
  auto pixel = [&](CPoint client) {
    CPoint screen = client;
    book->ClientToScreen(&screen);
    CRect window;
    book->GetWindowRect(&window);
    return WindowPixel(book->GetSafeHwnd(), screen.x - window.left, screen.y - window.top);
  };
  EXPECT_EQ(pixel(probe(second)), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixel(probe(first)), RGB(0x80, 0x80, 0x80));

  Click(book->GetSafeHwnd(), probe(first));
  EXPECT_EQ(book->MDIGetActive(), first);
  EXPECT_FALSE(first->m_bPressed);  // released with the button
  EXPECT_EQ(pixel(probe(first)), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixel(probe(second)), RGB(0x80, 0x80, 0x80));

  // The active tab: nothing more happens; with the mode off the strip takes no clicks.
  Click(book->GetSafeHwnd(), probe(first));
  EXPECT_EQ(book->MDIGetActive(), first);
  const CPoint onSecond = probe(second);
  book->SetWorkbookMode(FALSE);
  Click(book->GetSafeHwnd(), onSecond);
  EXPECT_EQ(book->MDIGetActive(), first);
}

TEST_F(Workbook, RepaintBandCoversTheWholeTab) {
  book->SetWorkbookMode(TRUE);
  AddSheet("One");
  SECWorksheet* active = AddSheet("Two");
  CRgn rgn;
  std::vector<POINT> p = Points(active);
  rgn.CreatePolygonRgn(p.data(), static_cast<int>(p.size()), ALTERNATE);
  CRect box;
  rgn.GetRgnBox(&box);
  const CRect band = book->GetTabInvalidRect(active, FALSE);
  CRect both;
  both.UnionRect(&band, &box);
  EXPECT_EQ(both, band) << "tab " << box.left << "," << box.top << " band " << band.left << "," << band.top;
  CRect frame;
  book->GetClientRect(&frame);
  EXPECT_EQ(book->GetTabInvalidRect(active, TRUE).right, frame.right);
}

TEST_F(Workbook, ClosingSheetsRenumbersTheOthers) {
  book->SetWorkbookMode(TRUE);
  SECWorksheet* a = AddSheet("A");
  SECWorksheet* b = AddSheet("B");
  SECWorksheet* c = AddSheet("C");
  SECWorksheet* d = AddSheet("D");
  b->SendMessage(WM_CLOSE);
  RunUntilIdle();
  ASSERT_EQ(book->GetSheetCount(), 3);
  EXPECT_EQ(a->m_nIndex, 0);
  EXPECT_EQ(c->m_nIndex, 1);
  EXPECT_EQ(d->m_nIndex, 2);
  EXPECT_EQ(book->GetSheet(1), c);
  book->MDIActivate(a);
  a->SendMessage(WM_CLOSE);
  RunUntilIdle();
  EXPECT_EQ(c->m_nIndex, 0);
  EXPECT_EQ(d->m_nIndex, 1);
  // Maximised, cascaded and tiled children keep their tabs.
  book->MDIMaximize(c);
  book->MDICascade();
  book->MDITile();
  RunUntilIdle();
  EXPECT_EQ(book->GetSheetCount(), 2);
  EXPECT_EQ(Points(d)[0].x, book->GetTabWidth() + Client().left - (book->MDIGetActive() == d ? 1 : 0));
}

TEST_F(Workbook, TheActiveTabsLabelStaysLeftOfItsSlantedRightSide) {
  book->SetWorkbookMode(TRUE);
  SetClientWidth(500);
  AddSheet("S");
  SECWorksheet* active = AddSheet("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM");
  ASSERT_EQ(book->MDIGetActive(), active);
  const std::vector<POINT> p = Points(active);
  // The tab's pixels with its label and without: what differs is the label's text.
  const CRect box(p[0].x, p[0].y, p[5].x + 1, p[3].y + 1);
  auto shot = [&] {
    book->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RunUntilIdle();
    CRect window;
    book->GetWindowRect(&window);
    CPoint origin = box.TopLeft();
    book->ClientToScreen(&origin);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < box.Height(); ++y)
      for (int x = 0; x < box.Width(); ++x)
        pixels.push_back(WindowPixel(book->GetSafeHwnd(), origin.x - window.left + x, origin.y - window.top + y));
    return pixels;
  };
  const std::vector<COLORREF> labelled = shot();
  active->SetWindowText("");
  const std::vector<COLORREF> blank = shot();
  // The right side runs from p3 at the bottom up to p4, then straight up to p5.
  auto rightSide = [&](int y) {
    if (y <= p[4].y) return static_cast<int>(p[4].x);
    return static_cast<int>(p[3].x + (p[3].y - y) * (p[4].x - p[3].x) / (p[3].y - p[4].y));
  };
  int textPixels = 0, beyond = 0;
  for (int y = 0; y < box.Height(); ++y)
    for (int x = 0; x < box.Width(); ++x) {
      if (labelled[static_cast<size_t>(y * box.Width() + x)] == blank[static_cast<size_t>(y * box.Width() + x)])
        continue;
      ++textPixels;
      if (box.left + x > rightSide(box.top + y) - 3) ++beyond;
    }
  EXPECT_GT(textPixels, 0);
  EXPECT_EQ(beyond, 0) << "label pixels on or over the slanted side";
}

TEST_F(Workbook, LongLabelsAreShortenedAndGetATip) {
  book->SetWorkbookMode(TRUE);
  SetClientWidth(500);
  for (int i = 0; i < 7; ++i) AddSheet("S");
  SECWorksheet* wide = AddSheet("A title far too wide for its tab");
  SECWorksheet* narrow = book->GetSheet(0);
  EXPECT_TRUE(book->TabLabelFits(narrow));
  EXPECT_FALSE(book->TabLabelFits(wide));

  auto hit = [&](SECWorksheet* sheet, TOOLINFO* info) {
    const std::vector<POINT> p = Points(sheet);
    return book->OnToolHitTest(CPoint(p[0].x + 20, p[0].y + 3), info);
  };
  EXPECT_EQ(hit(narrow, nullptr), -1);
  TOOLINFO info{};
  EXPECT_EQ(hit(wide, &info), 8);
  EXPECT_STREQ(info.lpszText, "A title far too wide for its tab");
  std::free(info.lpszText);
}

TEST(WorkbookLabel, ShortenedByWholeCharactersToFit) {
  UiSession session;
  CClientDC dc(nullptr);
  const int wide = dc.GetTextExtent("ABCDEFGHIJ").cx;
  EXPECT_STREQ(SECShortenTabLabel(&dc, "ABCDEFGHIJ", wide), "ABCDEFGHIJ");
  const CString cut = SECShortenTabLabel(&dc, "ABCDEFGHIJ", dc.GetTextExtent("ABCD...").cx);
  EXPECT_STREQ(cut, "ABCD...");
  EXPECT_STREQ(SECShortenTabLabel(&dc, "ABC", 1), "ABC");  // under four characters
  EXPECT_STREQ(SECShortenTabLabel(&dc, "ABCDEFGHIJ", 1), "...");

  // Double-byte names are cut between characters, never inside one.
  brambolt::ScopedCodePage gbk(936);
  const CString name = "\xD6\xD0\xCE\xC4\xCE\xC4\xBC\xFE\xC3\xFB.cpp";
  for (int width = 1; width < dc.GetTextExtent(name).cx; width += 3) {
    const CString shortened = SECShortenTabLabel(&dc, name, width);
    ASSERT_EQ(shortened.Right(3), "...") << width;
    const CString kept = shortened.Left(shortened.GetLength() - 3);
    EXPECT_EQ(name.Left(kept.GetLength()), kept);
    int lead = 0;
    for (const char* p = kept; *p != '\0'; p = ::CharNext(p)) lead = static_cast<int>(p - static_cast<const char*>(kept));
    EXPECT_TRUE(kept.IsEmpty() || ::CharNext(static_cast<const char*>(kept) + lead) ==
                                      static_cast<const char*>(kept) + kept.GetLength())
        << width;
  }
}

}  // namespace
