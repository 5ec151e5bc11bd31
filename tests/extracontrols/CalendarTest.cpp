// The month calendar: the page of 42 days as tables (month lengths, leap years, the first day of
// the week), paging and its limits, keys and mouse, highlights, notifications, pixel probes of
// the cells, and the popup calendar choosing and cancelling.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "extracontrols/SECCalendar.h"
#include "foundation/SECLocaleNames.h"
#include "foundation/SECSysColors.h"
#include "testing/testing.h"
#include "win/ModalLoop.h"

using brambolt::test::ButtonDown;
using brambolt::test::ButtonUp;
using brambolt::test::Click;
using brambolt::test::MoveMouse;
using brambolt::test::NotificationRecorder;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;

namespace {

COleDateTime Day(int y, int m, int d) { return COleDateTime(y, m, d, 12, 0, 0); }

class Calendar : public ::testing::Test {
 protected:
  void SetUp() override {
    for (UINT message = SECCAL_SELCHANGE; message <= SECCAL_CANCEL; ++message) m_parent.Watch(message);
    m_calendar.SetDate(Day(2024, 2, 10), FALSE);
    ASSERT_TRUE(m_calendar.Create(WS_VISIBLE, CRect(0, 0, 280, 240), CWnd::FromHandle(m_parent.Hwnd()), 7));
    RunUntilIdle();
    m_parent.Clear();
  }
  int Count(UINT message) const {
    int n = 0;
    for (const auto& r : m_parent.Records()) n += r.message == message ? 1 : 0;
    return n;
  }
  size_t Beeps() { return m_session.Backend().Bells().size(); }
  CPoint CellCentre(int index) { return m_calendar.GetDayBox(index)->GetRect().CenterPoint(); }
  int IndexOf(const COleDateTime& date) {
    for (int i = 0; i < 42; ++i)
      if (m_calendar.GetDayBox(i)->GetDate() == date) return i;
    return -1;
  }
  UiSession m_session;
  NotificationRecorder m_parent{400, 300};
  SECCalendar m_calendar;
};

TEST_F(Calendar, ThePageShowsTheMonthFromTheFirstDayOfTheWeek) {
  struct Case {
    int year, month, firstDay;
    COleDateTime firstCell;
    int days;  // cells inside the month
  };
  const Case cases[] = {
      {2024, 4, 2, Day(2024, 4, 1), 30},    // 1 April 2024 is a Monday: the top-left cell
      {2024, 2, 2, Day(2024, 1, 29), 29},   // leap February
      {2023, 2, 2, Day(2023, 1, 30), 28},
      {1900, 2, 2, Day(1900, 1, 29), 28},   // 1900 is not a leap year
      {2000, 2, 1, Day(2000, 1, 30), 29},   // 2000 is; weeks from Sunday
      {2024, 9, 1, Day(2024, 9, 1), 30},    // a Sunday 1st with Sunday first
      {2024, 12, 7, Day(2024, 11, 30), 31},
  };
  for (const Case& c : cases) {
    m_calendar.SetFirstDayOfWeek(c.firstDay, FALSE);
    ASSERT_TRUE(m_calendar.SetDate(Day(c.year, c.month, 15), FALSE));
    EXPECT_EQ(m_calendar.GetDayBox(0)->GetDate(), c.firstCell) << c.year << "-" << c.month;
    int inside = 0;
    for (int i = 0; i < 42; ++i) {
      const SECDayBox* box = m_calendar.GetDayBox(i);
      EXPECT_EQ(box->GetDate(), c.firstCell + COleDateTimeSpan(i, 0, 0, 0));
      EXPECT_EQ(box->IsGrayed(), box->GetDate().GetMonth() != c.month);
      inside += box->IsGrayed() ? 0 : 1;
    }
    EXPECT_EQ(inside, c.days) << c.year << "-" << c.month;
    EXPECT_EQ(m_calendar.GetDayBar().GetDayName(1).IsEmpty(), false);
  }
  CString sunday, monday;
  ASSERT_TRUE(GetLocaleDayName(sunday, 1, FALSE));
  ASSERT_TRUE(GetLocaleDayName(monday, 2, FALSE));
  m_calendar.SetFirstDayOfWeek(1);
  EXPECT_EQ(m_calendar.GetDayBar().GetDayName(1), sunday);
  m_calendar.SetFirstDayOfWeek(2);
  EXPECT_EQ(m_calendar.GetDayBar().GetDayName(1), monday);
}

// Keys of the calendar's table and the selection each leaves.
struct KeyCase {
  COleDateTime from;
  UINT key;
  UINT mods;
  COleDateTime to;
};
std::vector<KeyCase> KeyCases() {
  using brambolt::test::kCtrl;
  using brambolt::test::kNone;
  return {
      {Day(2024, 2, 10), VK_END, kNone, Day(2024, 2, 29)},
      {Day(2023, 2, 10), VK_END, kNone, Day(2023, 2, 28)},
      {Day(2024, 1, 10), VK_END, kNone, Day(2024, 1, 31)},
      {Day(2024, 1, 10), VK_HOME, kNone, Day(2024, 1, 1)},
      {Day(2024, 1, 31), VK_RIGHT, kNone, Day(2024, 2, 1)},
      {Day(2024, 3, 1), VK_LEFT, kNone, Day(2024, 2, 29)},
      {Day(2024, 2, 26), VK_DOWN, kNone, Day(2024, 3, 4)},
      {Day(2024, 1, 3), VK_UP, kNone, Day(2023, 12, 27)},
      {Day(2024, 1, 31), VK_NEXT, kNone, Day(2024, 2, 1)},   // to the 1st of the next month
      {Day(2024, 3, 15), VK_PRIOR, kNone, Day(2024, 2, 1)},
      {Day(2024, 1, 15), VK_RIGHT, kCtrl, Day(2024, 2, 1)},
      {Day(2024, 2, 29), VK_DOWN, kCtrl, Day(2025, 2, 28)},  // 29 February goes to the 28th
      {Day(2024, 5, 6), VK_UP, kCtrl, Day(2023, 5, 6)},
      {Day(2023, 12, 31), VK_NUMPAD6, kNone, Day(2024, 1, 1)},
  };
}

TEST_F(Calendar, KeysMoveTheSelectionAcrossMonthsAndYears) {
  for (const KeyCase& c : KeyCases()) {
    ASSERT_TRUE(m_calendar.SetDate(c.from, FALSE));
    ASSERT_TRUE(m_calendar.SetSelection(c.from, TRUE));
    PressKey(c.key, c.mods);
    EXPECT_EQ(m_calendar.GetSelectedDate(), c.to) << c.from.Format("%Y-%m-%d") << " key " << c.key;
    EXPECT_EQ(m_calendar.GetDate().GetMonth(), c.to.GetMonth());
    EXPECT_EQ(m_calendar.GetDate().GetYear(), c.to.GetYear());
  }
}

std::vector<UINT>& DialogSaw() {
  static std::vector<UINT> seen;
  return seen;
}

INT_PTR CALLBACK RecordingDialogProc(HWND, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == SECCAL_DATEOK || msg == SECCAL_CANCEL) DialogSaw().push_back(msg);
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) DialogSaw().push_back(LOWORD(wParam));
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// Inside a dialog the calendar keeps its keyboard table: arrows, page keys, Home and End move its
// selection instead of the dialog's focus, Enter chooses the date and Escape cancels in the
// calendar instead of pressing OK or Cancel; Tab still moves on to the next control.
TEST(CalendarInADialog, KeepsItsKeyboardTable) {
  UiSession session;
  NotificationRecorder owner{400, 300};
  std::array<WORD, 16> words{};
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = WS_POPUP | WS_VISIBLE;
  header->cx = 250;
  header->cy = 200;
  HWND dialog = ::CreateDialogIndirectParam(nullptr, header, owner.Hwnd(), RecordingDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  SECCalendar calendar;
  calendar.SetDate(Day(2024, 2, 10), FALSE);
  ASSERT_TRUE(calendar.Create(WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 280, 240), CWnd::FromHandle(dialog), 7));
  HWND ok = ::CreateWindowEx(0, "Button", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 250, 60, 20,
                             dialog, reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
  brambolt::ScopedLoopFilter dialogKeys([dialog](MSG& msg) { return ::IsDialogMessage(dialog, &msg) != FALSE; });
  RunUntilIdle();
  for (const KeyCase& c : KeyCases()) {
    calendar.SetFocus();
    ASSERT_TRUE(calendar.SetDate(c.from, FALSE));
    ASSERT_TRUE(calendar.SetSelection(c.from, TRUE));
    PressKey(c.key, c.mods);
    EXPECT_EQ(::GetFocus(), calendar.m_hWnd) << "key " << c.key;
    EXPECT_EQ(calendar.GetSelectedDate(), c.to) << c.from.Format("%Y-%m-%d") << " key " << c.key;
  }
  DialogSaw().clear();
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(DialogSaw(), (std::vector<UINT>{SECCAL_DATEOK, SECCAL_CANCEL})) << "the calendar's, not the dialog's";
  calendar.SetFocus();
  PressKey(VK_TAB);
  EXPECT_EQ(::GetFocus(), ok);
  ::DestroyWindow(dialog);
}

TEST_F(Calendar, PagingStopsAtTheLimitsOfTheDateType) {
  struct Case {
    COleDateTime from;
    BOOL (SECCalendar::*step)(BOOL);
    bool moves;
  };
  const Case cases[] = {
      {Day(9999, 10, 5), &SECCalendar::NextMonth, true},
      {Day(9999, 11, 5), &SECCalendar::NextMonth, false},  // December 9999 has no room for its grid
      {Day(9998, 3, 5), &SECCalendar::NextYear, false},
      {Day(100, 3, 5), &SECCalendar::PrevMonth, true},
      {Day(100, 2, 5), &SECCalendar::PrevMonth, false},    // nor has January 100
      {Day(100, 6, 5), &SECCalendar::PrevYear, false},
      {Day(2000, 6, 5), &SECCalendar::PrevYear, true},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(m_calendar.SetDate(c.from, FALSE));
    const size_t beeps = Beeps();
    EXPECT_EQ((m_calendar.*c.step)(FALSE) != FALSE, c.moves) << c.from.Format("%Y-%m");
    EXPECT_EQ(Beeps() > beeps, !c.moves);
    if (!c.moves) {
      EXPECT_EQ(m_calendar.GetDate(), c.from);
    }
  }
  const size_t beeps = Beeps();
  EXPECT_FALSE(m_calendar.SetDate(Day(9999, 12, 1)));
  EXPECT_FALSE(m_calendar.SetDate(Day(100, 1, 20)));
  EXPECT_EQ(Beeps(), beeps + 2);
  // The forms counted in seconds go backward; time_t values are local times.
  ASSERT_TRUE(m_calendar.SetDate(Day(2024, 3, 20), FALSE));
  ASSERT_TRUE(m_calendar.SetSelection(Day(2024, 3, 20), TRUE));
  EXPECT_TRUE(m_calendar.RetreatSelection(7 * 86400L));
  EXPECT_EQ(m_calendar.GetSelectedDate(), Day(2024, 3, 13));
  EXPECT_TRUE(m_calendar.RetreatPage(31 * 86400L));
  EXPECT_EQ(m_calendar.GetDate(), Day(2024, 2, 18));
  struct tm local = {};
  local.tm_year = 124;
  local.tm_mon = 1;
  local.tm_mday = 14;
  local.tm_hour = 18;
  local.tm_isdst = -1;
  EXPECT_TRUE(m_calendar.SetSelection(mktime(&local), TRUE));
  EXPECT_EQ(m_calendar.GetSelectedDate(), Day(2024, 2, 14));
  // A fixed page refuses every turn once created.
  m_calendar.SetCalendarStyle(m_calendar.GetCalendarStyle() | SECCS_FIXEDPAGE);
  const COleDateTime shown = m_calendar.GetDate();
  EXPECT_FALSE(m_calendar.NextMonth(FALSE));
  EXPECT_EQ(m_calendar.GetDate(), shown);
}

TEST_F(Calendar, HighlightsAreASortedSetAndReportedToTheParent) {
  EXPECT_TRUE(m_calendar.SetHighlight(Day(2024, 2, 20), TRUE));
  EXPECT_TRUE(m_calendar.SetHighlight(COleDateTime(2024, 2, 5, 8, 30, 0), TRUE));  // the time does not count
  EXPECT_TRUE(m_calendar.SetHighlight(Day(2024, 2, 20), TRUE));
  EXPECT_TRUE(m_calendar.SetHighlight(Day(2030, 1, 1), TRUE));
  ASSERT_EQ(m_calendar.GetHighlights().size(), 3u);
  EXPECT_EQ(m_calendar.GetHighlights()[0], Day(2024, 2, 5));
  EXPECT_EQ(m_calendar.GetHighlights()[2], Day(2030, 1, 1));
  EXPECT_TRUE(m_calendar.FindBox(Day(2024, 2, 5))->IsHighlighted());
  EXPECT_TRUE(m_calendar.ToggleHighlight(Day(2024, 2, 20)));
  EXPECT_FALSE(m_calendar.IsHighlighted(Day(2024, 2, 20)));
  EXPECT_FALSE(m_calendar.ToggleHighlight(Day(2031, 1, 1)));  // not on the page
  RunUntilIdle();
  EXPECT_EQ(Count(SECCAL_HILIGHT), 4);  // the date far off has no box to report
  // A right click highlights the day under it, turning the page for a neighbouring month's day.
  Click(m_calendar.m_hWnd, CellCentre(IndexOf(Day(2024, 3, 3))), brambolt::test::kNone, WM_RBUTTONDOWN);
  EXPECT_EQ(m_calendar.GetDate().GetMonth(), 3);
  EXPECT_TRUE(m_calendar.IsHighlighted(Day(2024, 3, 3)));
  // Values per day.
  EXPECT_EQ(m_calendar.SetDayValue(Day(2024, 3, 9), 7), 255);
  EXPECT_EQ(m_calendar.SetDayValue(Day(2024, 3, 9), 9), 7);
  EXPECT_EQ(m_calendar.SetDayValue(Day(1990, 3, 9), 9), 255);
}

TEST_F(Calendar, ClicksSelectDaysAndKeysChooseOrCancel) {
  Click(m_calendar.m_hWnd, CellCentre(IndexOf(Day(2024, 2, 14))));
  EXPECT_EQ(m_calendar.GetSelectedDate(), Day(2024, 2, 14));
  EXPECT_GE(Count(SECCAL_SELCHANGE), 1);
  // A day of the next month turns the page and is selected, not the day that then lies under it.
  Click(m_calendar.m_hWnd, CellCentre(IndexOf(Day(2024, 3, 2))));
  EXPECT_EQ(m_calendar.GetDate().GetMonth(), 3);
  EXPECT_EQ(m_calendar.GetSelectedDate(), Day(2024, 3, 2));
  // Space toggles the focus day.
  PressKey(VK_SPACE);
  EXPECT_EQ(m_calendar.GetSelectedBox(), nullptr);
  m_parent.Clear();
  PressKey(VK_RETURN);  // nothing selected: cancel
  PressKey(VK_SPACE);
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  RunUntilIdle();
  ASSERT_EQ(Count(SECCAL_CANCEL), 2);
  EXPECT_EQ(Count(SECCAL_DATEOK), 1);
  std::vector<UINT> order;
  for (const auto& r : m_parent.Records())
    if (r.message == SECCAL_CANCEL || r.message == SECCAL_DATEOK) order.push_back(r.message);
  EXPECT_EQ(order, (std::vector<UINT>{SECCAL_CANCEL, SECCAL_DATEOK, SECCAL_CANCEL}));
  EXPECT_TRUE(m_calendar.IsWindowVisible());  // a calendar in a window stays shown
  // A double click on a day of the month chooses it.
  m_parent.Clear();
  brambolt::test::DoubleClick(m_calendar.m_hWnd, CellCentre(IndexOf(Day(2024, 3, 12))));
  RunUntilIdle();
  EXPECT_EQ(m_calendar.GetSelectedDate(), Day(2024, 3, 12));
  EXPECT_EQ(Count(SECCAL_DATEOK), 1);
  // Without a selection the arrows beep and change nothing.
  m_calendar.SetSelection(Day(2024, 3, 2), FALSE);
  const size_t beeps = Beeps();
  PressKey(VK_RIGHT);
  EXPECT_EQ(Beeps(), beeps + 1);
  EXPECT_EQ(m_calendar.GetSelectedBox(), nullptr);
}

TEST_F(Calendar, DraggingWithTheButtonHeldMovesTheSelection) {
  m_calendar.SetCalendarStyle(m_calendar.GetCalendarStyle() | SECCS_DRAGSELECT);
  m_calendar.SetSelection(Day(2024, 2, 6), TRUE);
  ButtonDown(m_calendar.m_hWnd, CellCentre(IndexOf(Day(2024, 2, 6))));
  MoveMouse(m_calendar.m_hWnd, CellCentre(IndexOf(Day(2024, 2, 8))));
  EXPECT_EQ(m_calendar.GetSelectedDate(), Day(2024, 2, 8));
  MoveMouse(m_calendar.m_hWnd, CPoint(320, 50));  // outside: nothing selected
  EXPECT_EQ(m_calendar.GetSelectedBox(), nullptr);
  ButtonUp(m_calendar.m_hWnd, CPoint(320, 50));   // released outside: the earlier day comes back
  EXPECT_EQ(m_calendar.GetSelectedDate(), Day(2024, 2, 6));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(Calendar, LayoutDividesTheClientAreaByFixedFractions) {
  m_calendar.MoveWindow(0, 0, 701, 401);
  RunUntilIdle();
  EXPECT_EQ(m_calendar.GetTitle().GetRect(), CRect(0, 0, 700, 70));
  EXPECT_EQ(m_calendar.GetDayBar().GetRect(), CRect(0, 70, 700, 100));
  EXPECT_EQ(m_calendar.GetDayBox(0)->GetRect(), CRect(0, 100, 99, 149));
  EXPECT_EQ(m_calendar.GetDayBox(8)->GetRect(), CRect(100, 150, 199, 199));
  EXPECT_EQ(m_calendar.GetDayBox(41)->GetRect(), CRect(601, 350, 700, 400));
  // The fonts follow the cells: a smaller calendar has smaller digits, and each still fits.
  const LONG large = m_calendar.m_lfDayBox.lfHeight;
  m_calendar.MoveWindow(0, 0, 211, 161);
  RunUntilIdle();
  EXPECT_LT(m_calendar.m_lfDayBox.lfHeight, large);
  CClientDC dc(&m_calendar);
  CFont* old = dc.SelectObject(m_calendar.GetDayBoxFont());
  const CSize digits = dc.GetTextExtent("88");
  dc.SelectObject(old);
  EXPECT_LE(digits.cx * 1.25, m_calendar.GetDayBox(0)->GetRect().Width());
  EXPECT_LE(digits.cy * 1.25, m_calendar.GetDayBox(0)->GetRect().Height());
}

TEST_F(Calendar, CellsShowSelectionTodayAndHighlightInTheirColours) {
  const COleDateTime today = [] {
    COleDateTime now = COleDateTime::GetCurrentTime();
    return Day(now.GetYear(), now.GetMonth(), now.GetDay());
  }();
  ASSERT_TRUE(m_calendar.SetDate(today));
  const int todayIndex = IndexOf(today);
  const int other = todayIndex == 20 || todayIndex == 21 ? 23 : 20;
  m_calendar.SetSelection(m_calendar.GetDayBox(other)->GetDate(), TRUE);
  const int marked = other + 1;
  m_calendar.SetHighlight(m_calendar.GetDayBox(marked)->GetDate(), TRUE);
  RunUntilIdle();
  const SECSysColors& colors = SECGetSysColors();
  const CRect sel = m_calendar.GetDayBox(other)->GetRect();
  EXPECT_EQ(WindowPixel(m_calendar.m_hWnd, sel.left + 3, sel.bottom - 3), colors.m_clrHighlight);
  EXPECT_EQ(WindowPixel(m_calendar.m_hWnd, sel.left, sel.CenterPoint().y), colors.m_clrBtnShadow);  // sunken
  const CRect hi = m_calendar.GetDayBox(marked)->GetRect();
  EXPECT_EQ(WindowPixel(m_calendar.m_hWnd, hi.right - 4, hi.top + 2), ::GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(WindowPixel(m_calendar.m_hWnd, hi.left + 4, hi.top + 2), colors.m_clrWindow);
  const CRect mark = m_calendar.GetDayBox(todayIndex)->GetRect();
  EXPECT_EQ(WindowPixel(m_calendar.m_hWnd, mark.left + 2, mark.CenterPoint().y), RGB(255, 0, 0));
  EXPECT_EQ(WindowPixel(m_calendar.m_hWnd, mark.left + 5, mark.bottom - 4), colors.m_clrWindow);
  EXPECT_EQ(WindowPixel(m_calendar.m_hWnd, mark.left, mark.CenterPoint().y), colors.m_clrBtnHilite);  // raised
  const CRect title = m_calendar.GetTitle().GetRect();
  EXPECT_EQ(WindowPixel(m_calendar.m_hWnd, title.CenterPoint().x, title.top + 1), ::GetSysColor(COLOR_ACTIVECAPTION));
}

TEST(PopupCalendar, DropsDownChoosesOnClickAndCancelsOnEscape) {
  UiSession session;
  NotificationRecorder owner(300, 200);
  owner.Watch(SECCAL_DATEOK);
  owner.Watch(SECCAL_CANCEL);
  SECPopupCalendar popup;
  popup.SetCalendarStyle(SECCS_DEFAULT | SECCS_RELEASECHOOSES);
  popup.SetDate(Day(2025, 6, 1), FALSE);
  const CRect field(40, 50, 200, 70);
  ASSERT_TRUE(popup.Create(WS_BORDER | WS_VISIBLE | 1, field, CWnd::FromHandle(owner.Hwnd()), 0));
  RunUntilIdle();
  CRect window;
  popup.GetWindowRect(window);
  EXPECT_EQ(window.TopLeft(), CPoint(40, 70));  // under the field, on its left edge
  EXPECT_GT(window.Width(), 7 * 10);
  EXPECT_EQ(::GetFocus(), popup.m_hWnd);
  const COleDateTime pick = Day(2025, 6, 18);
  SECDayBox* box = popup.FindBox(pick);
  ASSERT_NE(box, nullptr);
  Click(popup.m_hWnd, box->GetRect().CenterPoint());
  EXPECT_FALSE(popup.IsWindowVisible());
  ASSERT_EQ(owner.Records().size(), 1u);
  EXPECT_EQ(owner.Records()[0].message, SECCAL_DATEOK);
  EXPECT_EQ(popup.GetSelectedDate(), pick);

  SECPopupCalendar second;
  // Too low for the work area: above the field, and without style bit 1 left of it.
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  const CRect low(work.right - 50, work.bottom - 20, work.right - 10, work.bottom - 5);
  ASSERT_TRUE(second.Create(WS_BORDER | WS_VISIBLE, low, CWnd::FromHandle(owner.Hwnd()), 0));
  EXPECT_EQ(second.GetDate(), Day(1970, 1, 1));  // created without a date
  second.GetWindowRect(window);
  EXPECT_EQ(window.bottom, low.top);
  EXPECT_EQ(window.right, low.left);
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(second.IsWindowVisible());
  EXPECT_EQ(owner.Records().back().message, SECCAL_CANCEL);
}

}  // namespace
