// The currency edit and its drop button: the value always what the text shows, typing digits,
// the separator and the sign, deleting, selection messages, clipboard, undo, margins; the button
// pressed by mouse or F4.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "extracontrols/SECCurrencyEdit.h"
#include "testing/testing.h"
#include "win/ModalLoop.h"
#include "tests/extracontrols/ExtraTestSupport.h"

using brambolt::test::Click;
using brambolt::test::DoubleClick;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::TypeText;
using brambolt::test::UiSession;
using extracontrols_test::Host;

namespace {

class CountingEdit : public SECCurrencyEdit {
 public:
  int drops = 0;
  void OnClicked() override { ++drops; }
};

class CurrencyEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 34), &m_host, 5));
    m_edit.SetValue(1234.5);
    m_edit.SetFocus();
  }
  UiSession m_session;
  Host m_host;
  CountingEdit m_edit;
};

TEST_F(CurrencyEdit, TheValueIsWhatTheTextShows) {
  EXPECT_EQ(m_edit.GetText(), "$1,234.50");
  CString window;
  m_edit.GetWindowText(window);
  EXPECT_EQ(window, "$1,234.50");
  m_edit.SetValue(-2.005);  // the value kept is the one shown
  EXPECT_TRUE(m_edit.IsNegative());
  EXPECT_EQ(m_edit.GetValue(), -std::strtod(m_edit.GetText().Mid(2), nullptr));
  EXPECT_TRUE(m_edit.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("$7,000")));
  EXPECT_EQ(m_edit.GetValue(), 7000.0);
  EXPECT_FALSE(m_edit.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("seven")));
  EXPECT_EQ(m_edit.GetValue(), 7000.0);
}

TEST_F(CurrencyEdit, TypingDigitsTheSeparatorAndTheSign) {
  m_edit.SetValue(12.0);
  m_edit.SetSel(-1, 0);
  PressKey(VK_HOME);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);  // after "$1"
  TypeText("9");
  EXPECT_EQ(m_edit.GetText(), "$192.00");
  EXPECT_EQ(m_edit.GetCaret(), 3);
  TypeText(".");  // the text has a separator: the caret goes behind it, nothing is typed
  EXPECT_EQ(m_edit.GetText(), "$192.00");
  EXPECT_EQ(m_edit.GetCaret(), 5);
  TypeText("-");
  EXPECT_TRUE(m_edit.IsNegative());
  EXPECT_EQ(m_edit.GetText(), "-$192.00");
  TypeText("x");  // refused
  EXPECT_EQ(m_edit.GetValue(), -192.0);
  TypeText("-");
  EXPECT_FALSE(m_edit.IsNegative());
}

// The focus selects the whole text; what is typed then reads as typed, the caret staying after
// each digit: in front of the separator for the whole part, over the decimals after it.
TEST_F(CurrencyEdit, TypedDigitsKeepTheirOrderAndTheDecimalsFillFromTheSeparator) {
  m_host.SetFocus();
  m_edit.SetValue(0.0);
  m_edit.SetFocus();
  TypeText("123");
  EXPECT_EQ(m_edit.GetText(), "$123.00");
  EXPECT_EQ(m_edit.GetCaret(), 4);
  TypeText(".45");
  EXPECT_EQ(m_edit.GetText(), "$123.45");
  EXPECT_EQ(m_edit.GetValue(), 123.45);
  TypeText("6");  // no room for a third decimal: nothing changes, nothing is rounded
  EXPECT_EQ(m_edit.GetText(), "$123.45");
  PressKey(VK_BACK);
  EXPECT_EQ(m_edit.GetText(), "$123.40");
  EXPECT_EQ(m_edit.GetCaret(), 6);
  TypeText("9");
  EXPECT_EQ(m_edit.GetText(), "$123.49");

  m_host.SetFocus();
  m_edit.SetValue(1.0);
  m_edit.SetFocus();
  TypeText("1.45");
  EXPECT_EQ(m_edit.GetText(), "$1.45");
  PressKey(VK_HOME);
  PressKey(VK_RIGHT);
  TypeText("2000");  // grouping comes in on the left of the caret
  EXPECT_EQ(m_edit.GetText(), "$20,001.45");
  EXPECT_EQ(m_edit.GetCaret(), 6);
}

// The edit reached as a person reaches it, by Tab, by a click on its left edge or by a double
// click: the whole text is selected. "-" turns the sign over and keeps the value and whatever is
// selected; digits typed over the whole text then start a new value with that sign.
TEST_F(CurrencyEdit, TheSignKeyTurnsTheSignOverAndKeepsValueAndSelection) {
  // A modeless dialog holding a plain edit and the currency edit, its keys translated as the
  // program's message loop translates them.
  std::array<WORD, 16> words{};
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = WS_POPUP | WS_VISIBLE;
  header->cx = 200;
  header->cy = 80;
  CDialog dialog;
  ASSERT_TRUE(dialog.CreateIndirect(header, &m_host));
  CountingEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, CRect(10, 10, 200, 34), &dialog, 5));
  CEdit other;
  ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, CRect(10, 50, 200, 74), &dialog, 6));
  brambolt::ScopedLoopFilter dialogKeys([&dialog](MSG& msg) { return dialog.PreTranslateMessage(&msg) != FALSE; });
  auto selected = [&edit] {
    DWORD start = 0, end = 0;
    edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return edit.GetText().Mid(static_cast<int>(start), static_cast<int>(end - start));
  };
  enum Way { kTab, kClickOnTheLeftEdge, kDoubleClick };
  auto reach = [&](double value, Way way) {
    Click(other.m_hWnd, CPoint(5, 5));
    edit.SetValue(value);
    if (way == kTab) PressKey(VK_TAB);
    else if (way == kClickOnTheLeftEdge) Click(edit.m_hWnd, CPoint(2, 8));
    else DoubleClick(edit.m_hWnd, CPoint(30, 8));
    EXPECT_EQ(::GetFocus(), edit.m_hWnd) << way;
    EXPECT_EQ(selected(), edit.GetText()) << way << ": the whole text selected";
  };
  struct Case {
    double start;
    Way way;
    const char* typed;
    const char* shown;
    double value;
  } const cases[] = {
      {1234.5, kTab, "-", "-$1,234.50", -1234.5},
      {1234.5, kDoubleClick, "-", "-$1,234.50", -1234.5},
      {-77.25, kClickOnTheLeftEdge, "-", "$77.25", 77.25},
      {-77.25, kDoubleClick, "--", "-$77.25", -77.25},
      {0.0, kTab, "-42", "-$42.00", -42.0},
      {0.0, kClickOnTheLeftEdge, "42-", "-$42.00", -42.0},
      {12.0, kDoubleClick, "-7", "-$7.00", -7.0},
      {-5.0, kTab, "3", "-$3.00", -3.0},  // typed over the whole text, digits keep the sign
      {-5.0, kTab, "-3", "$3.00", 3.0},
      {0.0, kClickOnTheLeftEdge, "-4.5", "-$4.50", -4.5},
  };
  for (const Case& c : cases) {
    reach(c.start, c.way);
    TypeText(c.typed);
    EXPECT_EQ(edit.GetText(), c.shown) << c.start << " " << c.typed;
    EXPECT_EQ(edit.GetValue(), c.value) << c.start << " " << c.typed;
    if (std::string(c.typed).find_first_of("0123456789") == std::string::npos) {
      EXPECT_EQ(selected(), edit.GetText()) << c.start << " " << c.typed << ": still all selected";
    }
  }
  // Part of the text selected with Shift and the arrows: the same characters stay selected.
  reach(1234.5, kTab);
  PressKey(VK_END);
  PressKey(VK_LEFT, brambolt::test::kShift);
  PressKey(VK_LEFT, brambolt::test::kShift);
  TypeText("-");
  EXPECT_EQ(edit.GetText(), "-$1,234.50");
  EXPECT_EQ(selected(), "50");
  TypeText("-");
  EXPECT_EQ(edit.GetText(), "$1,234.50");
  EXPECT_EQ(selected(), "50");
  TypeText("7");  // the selected decimals make way for it
  EXPECT_EQ(edit.GetText(), "$1,234.70");
}

// What a double cannot keep exactly (more than 15 significant digits) is refused with a beep, by
// typing, pasting or WM_SETTEXT alike, so the text shows the value kept, digit for digit. Zero is
// never negative: "-" on it shows the sign waiting for digits, and leaving the edit takes it away.
TEST_F(CurrencyEdit, AmountsKeepEveryDigitTheyShow) {
  struct Case {
    const char* typed;
    const char* shown;
    size_t refused;
  } const cases[] = {
      {"1234567890123.45", "$1,234,567,890,123.45", 0},
      {"123456789012345", "$1,234,567,890,123.00", 2},
      {"98765432109876543", "$9,876,543,210,987.00", 4},
      {"99999999999999999999", "$9,999,999,999,999.00", 7},
      {"0.05", "$0.05", 0},
  };
  for (const Case& c : cases) {
    m_edit.SetValue(0.0);
    m_edit.SetSel(0, -1);
    const size_t beeps = m_session.Backend().Bells().size();
    TypeText(c.typed);
    EXPECT_EQ(m_edit.GetText(), c.shown) << c.typed;
    CString digits = m_edit.GetText();
    digits.Remove('$');
    digits.Remove(',');
    EXPECT_EQ(m_edit.GetValue(), std::strtod(digits, nullptr)) << c.typed;
    EXPECT_EQ(m_session.Backend().Bells().size() - beeps, c.refused) << c.typed;
  }
  m_edit.SetValue(5.0);
  EXPECT_FALSE(m_edit.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("98765432109876543")));
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, 20);
  std::strcpy(static_cast<char*>(::GlobalLock(h)), "98765432109876543");
  ::GlobalUnlock(h);
  ::SetClipboardData(CF_TEXT, h);
  ::CloseClipboard();
  m_edit.SetSel(0, -1);
  PressKey('V', brambolt::test::kCtrl);
  EXPECT_EQ(m_edit.GetText(), "$5.00");
  EXPECT_EQ(m_edit.GetValue(), 5.0);

  m_edit.SetValue(0.0);
  m_edit.SetSel(0, -1);
  TypeText("-");
  EXPECT_EQ(m_edit.GetText(), "-$0.00");
  EXPECT_FALSE(m_edit.IsNegative());
  EXPECT_FALSE(std::signbit(m_edit.GetValue()));
  m_host.SetFocus();
  EXPECT_EQ(m_edit.GetText(), "$0.00");
}

TEST_F(CurrencyEdit, DeletingUndoAndTheClipboard) {
  PressKey(VK_END);
  PressKey(VK_BACK);  // the last digit
  EXPECT_EQ(m_edit.GetValue(), 1234.5);
  PressKey(VK_HOME);
  PressKey(VK_DELETE);  // the first digit
  EXPECT_EQ(m_edit.GetText(), "$234.50");
  EXPECT_TRUE(m_edit.SendMessage(EM_CANUNDO));
  m_edit.SendMessage(WM_UNDO);
  EXPECT_EQ(m_edit.GetText(), "$1,234.50");
  EXPECT_EQ(m_edit.GetValue(), 1234.5);
  EXPECT_FALSE(m_edit.SendMessage(EM_CANUNDO));  // one level

  ASSERT_TRUE(m_edit.SetSel(1, 6));
  m_edit.SendMessage(WM_COPY);
  m_edit.SetSel(0, -1);
  m_edit.SendMessage(WM_CLEAR);
  EXPECT_EQ(m_edit.GetValue(), 0.0);
  m_edit.SetSel(0, -1);
  m_edit.SendMessage(WM_PASTE);  // "1,234" in place of everything
  EXPECT_EQ(m_edit.GetValue(), 1234.0);
  m_edit.SendMessage(WM_CLEAR);  // nothing selected: the value becomes 0
  EXPECT_EQ(m_edit.GetValue(), 0.0);
  EXPECT_EQ(m_edit.GetCaret(), 0);
}

TEST_F(CurrencyEdit, SelectionMessagesAndMargins) {
  EXPECT_FALSE(m_edit.SetSel(2, 40));  // outside the text: refused
  DWORD start = 0, end = 0;
  m_edit.SetSel(2, 5);
  EXPECT_EQ(m_edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)),
            MAKELONG(2, 5));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 5u);
  DoubleClick(m_edit.m_hWnd, CPoint(5, 5));
  m_edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(static_cast<int>(end), m_edit.GetText().GetLength());
  m_edit.SendMessage(EM_SETMARGINS, EC_USEFONTINFO, 0);
  CClientDC dc(&m_edit);
  dc.SelectObject(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  EXPECT_EQ(m_edit.m_nLeftMargin, tm.tmAveCharWidth);
  EXPECT_EQ(m_edit.m_nRightMargin, tm.tmAveCharWidth);
}

TEST_F(CurrencyEdit, TheNegativeColourFollowsTheSign) {
  // Pixels of the text in the negative colour (red, blended at the glyphs' edges).
  auto reddish = [&] {
    RunUntilIdle();
    int n = 0;
    for (int x = 0; x < 120; ++x)
      for (int y = 0; y < 20; ++y) {
        const COLORREF c = brambolt::test::WindowPixel(m_edit.m_hWnd, x, y);
        n += GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100 ? 1 : 0;
      }
    return n;
  };
  m_edit.SetValue(5.0);
  m_edit.SetSel(-1, 0);
  EXPECT_EQ(reddish(), 0);
  TypeText("-");
  EXPECT_GT(reddish(), 0);
}

TEST_F(CurrencyEdit, F4AndAltDownDropDown) {
  PressKey(VK_F4);
  PressKey(VK_DOWN, brambolt::test::kAlt);
  EXPECT_EQ(m_edit.drops, 2);
}

// The button sits in the room the edit keeps beside its text; a click on it drops down, whichever
// side it is on, and a click on the text does not.
TEST_F(CurrencyEdit, AClickOnTheButtonDropsDown) {
  constexpr UINT kDropButtonBitmap = 20599;
  for (BOOL right : {TRUE, FALSE}) {
    SCOPED_TRACE(right ? "on the right" : "on the left");
    ASSERT_TRUE(m_edit.SetBitmap(kDropButtonBitmap, right));
    RunUntilIdle();
    const RECT button = m_edit.GetButtonRect();
    ASSERT_FALSE(::IsRectEmpty(&button));
    CRect window;
    m_edit.GetWindowRect(&window);
    const POINT middle{window.left + (button.left + button.right) / 2, window.top + (button.top + button.bottom) / 2};
    const int before = m_edit.drops;
    brambolt::test::ClickAt(middle);
    RunUntilIdle();
    EXPECT_EQ(m_edit.drops, before + 1);
    CRect client;
    m_edit.GetClientRect(&client);
    Click(m_edit.m_hWnd, client.CenterPoint());
    RunUntilIdle();
    EXPECT_EQ(m_edit.drops, before + 1);
  }
}

}  // namespace
