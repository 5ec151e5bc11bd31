// Painting of the editor viewport probed by pixels: text and selection colours, the blank fill of
// a selected line end, the gutter with its marks, the grid of the origin, and the repaint each
// kind of notification asks for.
#include <gtest/gtest.h>

#include "tests/editor/ControllerHost.h"

using brambolt::test::WindowPixel;
using editortest::ControllerHost;

namespace {

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The colour in the middle of a character cell's bottom row (below the glyphs).
COLORREF CellBackground(ControllerHost& host, int line, int col) {
  const POINT pt = host.PointOf(line, col);
  return WindowPixel(host.Hwnd(), pt.x + host.CharWidth() / 2, line * host.LineHeight() + host.LineHeight() - 1);
}

TEST(PaintText, SelectionColoursTheSelectedCellsAndOneBlankPerLineEnd) {
  ControllerHost host;
  host.SetText("abcdef\r\nghij\r\nklmn\r\nopq");
  host.Ctl().SetSelection(SECEditLineColPair(0, 3, 2, 0), SECEDIT_SEL_STREAM);
  ::UpdateWindow(host.Hwnd());
  EXPECT_EQ(CellBackground(host, 0, 2), kWhite);
  EXPECT_EQ(CellBackground(host, 0, 3), kNavy);
  EXPECT_EQ(CellBackground(host, 0, 5), kNavy);
  EXPECT_EQ(CellBackground(host, 0, 6), kNavy);   // the line break
  EXPECT_EQ(CellBackground(host, 0, 7), kWhite);  // past it
  EXPECT_EQ(CellBackground(host, 1, 0), kNavy);
  EXPECT_EQ(CellBackground(host, 1, 4), kNavy);
  EXPECT_EQ(CellBackground(host, 2, 0), kWhite);  // the end line at column 0 has nothing selected
  // With virtual whitespace the line ends are selected to the right edge.
  host.lang.virtualWhitespace = TRUE;
  ::InvalidateRect(host.Hwnd(), nullptr, FALSE);
  ::UpdateWindow(host.Hwnd());
  EXPECT_EQ(CellBackground(host, 1, 20), kNavy);
  // Below the last line the text background fills the window.
  const int below = 5 * host.LineHeight();
  EXPECT_EQ(WindowPixel(host.Hwnd(), host.Gutter() + 40, below), kWhite);
  // Without the focus (and without a kept look) the selection is not shown.
  ::SetFocus(nullptr);
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(CellBackground(host, 0, 3), kWhite);
  host.Ctl().SetKeepSelection(TRUE);
  ::InvalidateRect(host.Hwnd(), nullptr, FALSE);
  ::UpdateWindow(host.Hwnd());
  EXPECT_EQ(CellBackground(host, 0, 3), kNavy);
}

TEST(PaintGutter, MarksAndStylesOfTheGutter) {
  ControllerHost host;
  host.SetText("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni");
  EXPECT_EQ(host.Gutter(), 20);
  host.model.SetLineMark(1, SECEDIT_MARK_BOOKMARK, TRUE);
  host.model.SetLineMark(2, SECEDIT_MARK_F9, TRUE);
  ::InvalidateRect(host.Hwnd(), nullptr, FALSE);
  ::UpdateWindow(host.Hwnd());
  const int lh = host.LineHeight();
  EXPECT_EQ(WindowPixel(host.Hwnd(), 10, lh + lh / 2), RGB(0, 255, 255));
  EXPECT_EQ(WindowPixel(host.Hwnd(), 0, lh + lh / 2), RGB(0, 0, 0));  // the outline
  const int d = std::min(20, lh) - 3 + ((std::min(20, lh) - 3) % 2 == 0 ? 1 : 0);
  EXPECT_EQ(WindowPixel(host.Hwnd(), 2 + d / 2, 2 * lh + 1 + d / 2), RGB(128, 0, 0));
  // The checkerboard background alternates between white and the scroll-bar colour.
  const COLORREF a = WindowPixel(host.Hwnd(), 15, 4 * lh), b = WindowPixel(host.Hwnd(), 16, 4 * lh);
  EXPECT_NE(a, b) << std::hex << a << " " << b << " " << ::GetSysColor(COLOR_SCROLLBAR);
  EXPECT_TRUE((a == kWhite && b == ::GetSysColor(COLOR_SCROLLBAR)) || (b == kWhite && a == ::GetSysColor(COLOR_SCROLLBAR)))
      << std::hex << a << " " << b << " " << ::GetSysColor(COLOR_SCROLLBAR);

  // Line numbers: digits of the line count; 9 lines one digit, 10 lines two.
  host.Ctl().SetGutterStyle(SECEDIT_GUTTER_NUMBERS);
  const int digit = host.Ctl().GetFontInfo()->GetFontWidth();
  EXPECT_EQ(host.Ctl().GetLineNumberDigits(), 1);
  EXPECT_EQ(host.Gutter(), digit);
  host.model.InsertTextAt(8, 1, "\r\nj", -1);
  EXPECT_EQ(host.Gutter(), 2 * digit);
  CString text;
  host.Ctl().SetLineNumberDigits(3);
  host.Ctl().FormatLineNumber(text, 7);
  EXPECT_EQ(std::string(text), "007");
  host.Ctl().FormatLineNumber(text, 1234);
  EXPECT_EQ(std::string(text), "1234");
  host.Ctl().SetLineNumberDigits(-1);
  host.Ctl().SetGutterStyle(SECEDIT_GUTTER_MARKS_NUMBERS);
  EXPECT_EQ(host.Gutter(), 20 + 2 * digit);
  host.Ctl().SetGutterStyle(SECEDIT_GUTTER_NONE);
  EXPECT_EQ(host.Gutter(), 0);
}

TEST(PaintGrid, OriginSnapsToTheGridAndEditsRepaintTheLeastArea) {
  ControllerHost host;
  host.SetText("one\r\ntwo\r\nthree\r\nfour");
  SECEditViewport* viewport = host.Ctl().GetViewport();
  const int w = host.CharWidth(), lh = host.LineHeight();
  viewport->SetLogOrigin(w + 5, lh + 9);
  EXPECT_EQ(viewport->GetLogOrigin(), CPoint(w, lh));
  viewport->SetLogOrigin(-5, -5);
  EXPECT_EQ(viewport->GetLogOrigin(), CPoint(0, 0));
  CPoint pt(3, 3);
  viewport->LPtoDP(static_cast<POINT*>(&pt), 1);
  EXPECT_EQ(pt, CPoint(3, 3));

  // Without a gutter: a one-line edit repaints that line, a line break everything below it.
  host.Ctl().SetGutterStyle(SECEDIT_GUTTER_NONE);
  CRect client, update;
  ::GetClientRect(host.Hwnd(), &client);
  ::UpdateWindow(host.Hwnd());
  host.Put(1, 1);
  CString x("x");
  host.Ctl().InsertTypedText(x);
  ::GetUpdateRect(host.Hwnd(), &update, FALSE);
  EXPECT_EQ(update, CRect(0, lh, client.right, 2 * lh));
  ::UpdateWindow(host.Hwnd());
  host.Ctl().OnEnter();
  ::GetUpdateRect(host.Hwnd(), &update, FALSE);
  EXPECT_EQ(update.bottom, client.bottom);
}

}  // namespace
