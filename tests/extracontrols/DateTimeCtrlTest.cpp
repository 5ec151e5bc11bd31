// The date-time control: day numbers broken into fields, typing numbers and names, keys, the
// spin's repeat schedule on the virtual clock, invalid dates and the range refused, empty fields
// filled one by one, and the popup calendar setting the date.
#include <gtest/gtest.h>

#include <string>

#include "extracontrols/SECCalendar.h"
#include "extracontrols/SECDateTimeCtrl.h"
#include "foundation/SECLocaleNames.h"
#include "testing/testing.h"

using brambolt::test::AdvanceClock;
using brambolt::test::ButtonDown;
using brambolt::test::ButtonUp;
using brambolt::test::Click;
using brambolt::test::NotificationRecorder;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::TypeText;
using brambolt::test::UiSession;

namespace {

TEST(DateTimeParts, DayNumbersBreakIntoFieldsRoundedToTheSecond) {
  struct Case {
    DATE date;
    int year, month, day, weekday, dayOfYear, hour, minute, second;
  };
  const Case cases[] = {
      {0.0, 1899, 12, 30, 7, 364, 0, 0, 0},
      {-1.25, 1899, 12, 29, 6, 363, 6, 0, 0},      // before 1900 the fraction counts forward
      {2.0 - 0.4 / 86400, 1900, 1, 1, 2, 1, 0, 0, 0},  // within half a second of midnight
      {36585.5, 2000, 2, 29, 3, 60, 12, 0, 0},
      {45657.999988, 2024, 12, 31, 3, 366, 23, 59, 59},
      {-657434.0, 100, 1, 1, 6, 1, 0, 0, 0},
      {2958465.99998, 9999, 12, 31, 6, 365, 23, 59, 58},
  };
  for (const Case& c : cases) {
    SECDateTimeCtrl::Parts p;
    ASSERT_TRUE(SECDateTimeCtrl::BreakDate(c.date, p)) << c.date;
    const int got[8] = {p.year, p.month, p.day, p.weekday, p.dayOfYear, p.hour, p.minute, p.second};
    const int want[8] = {c.year, c.month, c.day, c.weekday, c.dayOfYear, c.hour, c.minute, c.second};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(got[i], want[i]) << c.date << " part " << i;
  }
  SECDateTimeCtrl::Parts p;
  EXPECT_FALSE(SECDateTimeCtrl::BreakDate(-657435.0, p));
  EXPECT_FALSE(SECDateTimeCtrl::BreakDate(2958466.0, p));

  SECDateTimeCtrl::Parts a, b;
  SECDateTimeCtrl::BreakDate(COleDateTime(2024, 1, 31, 10, 0, 0), a);
  SECDateTimeCtrl::BreakDate(COleDateTime(2024, 2, 1, 10, 0, 5), b);
  EXPECT_EQ(SECDateTimeCtrl::ChangedFields(a, b), 0x008u | 0x040 | 0x020 | 0x180);
  SECDateTimeCtrl::BreakDate(COleDateTime(2025, 2, 1, 22, 0, 5), a);
  EXPECT_EQ(SECDateTimeCtrl::ChangedFields(a, b), 0x013u | 0x600 | 0x040);
}

class DateTime : public ::testing::Test {
 protected:
  void SetUp() override {
    m_parent.Watch(WM_COMMAND);
    ASSERT_TRUE(m_ctrl.SetFormat("MM/dd/yyyy hh:mm tt"));
    m_ctrl.SetDateTime(COleDateTime(2024, 2, 10, 9, 5, 0));
    ASSERT_TRUE(m_ctrl.Create(WS_VISIBLE | WS_TABSTOP | SECDTS_DROPDOWN | SECDTS_SPIN, CRect(10, 10, 260, 34),
                              CWnd::FromHandle(m_parent.Hwnd()), 42));
    m_ctrl.SetFocus();
    RunUntilIdle();
  }
  CString Text() {
    char buffer[64] = {};
    m_ctrl.SendMessage(WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  int Field() { return m_ctrl.GetCurrentGadget() != nullptr ? m_ctrl.GetCurrentGadget()->GetID() : -1; }
  size_t Beeps() { return m_session.Backend().Bells().size(); }
  UiSession m_session;
  NotificationRecorder m_parent{400, 300};
  SECDateTimeCtrl m_ctrl;
};

TEST_F(DateTime, FieldsShowTheValueAndTypingFillsThem) {
  EXPECT_EQ(Text(), CString("02/10/2024 09:05 AM"));
  EXPECT_EQ(Field(), SECDTF_MONTH);
  TypeText("0");  // a leading zero does nothing
  EXPECT_EQ(Field(), SECDTF_MONTH);
  TypeText("1");
  TypeText("/");  // the separator ends the field
  EXPECT_EQ(Field(), SECDTF_DAY);
  EXPECT_EQ(m_ctrl.GetDateTime().GetMonth(), 1);
  TypeText("31");  // two digits: taken, and on to the year
  EXPECT_EQ(Field(), SECDTF_YEAR4);
  TypeText("1999");
  EXPECT_EQ(Field(), SECDTF_HOUR12);
  EXPECT_EQ(Text(), CString("01/31/1999 09:05 AM"));
  EXPECT_TRUE(m_ctrl.IsModified());
  // 31 February does not exist: the month typed stays as typed, with a beep, and the control has
  // no value until the day makes a date again.
  PressKey(VK_LEFT);
  PressKey(VK_LEFT);
  PressKey(VK_LEFT);
  ASSERT_EQ(Field(), SECDTF_MONTH);
  TypeText("2");
  const size_t beeps = Beeps();
  PressKey(VK_RIGHT);
  EXPECT_EQ(Beeps(), beeps + 1);
  EXPECT_EQ(m_ctrl.GetDisplayText(), CString("02/31/1999 09:05 AM"));
  EXPECT_EQ(Text(), CString(""));
  EXPECT_EQ(m_ctrl.GetDateTime().GetStatus(), COleDateTime::invalid);
  EXPECT_EQ(Field(), SECDTF_DAY);
  // The calendar dropped from there opens on the nearest real date, that day chosen.
  PressKey(VK_F4);
  ASSERT_NE(m_ctrl.GetPopupCalendar(), nullptr);
  EXPECT_EQ(m_ctrl.GetPopupCalendar()->GetSelectedDate(), COleDateTime(1999, 2, 28, 12, 0, 0));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(m_ctrl.GetPopupCalendar(), nullptr);
  EXPECT_EQ(m_ctrl.GetDisplayText(), CString("02/31/1999 09:05 AM"));
  TypeText("28");
  EXPECT_EQ(Text(), CString("02/28/1999 09:05 AM"));
}

// A date typed field by field is the date taken, whatever order the format gives the fields and
// whatever day the month had before: a day its month lacks in that year is kept as typed until the
// fields that follow make a date; when they do not, there is no value. (A two-digit field moves on
// by itself; a one-digit month is ended by its separator.)
TEST(DateTimeTyping, ADateTypedInFieldOrderIsTheDateTaken) {
  struct Case {
    const char* format;
    COleDateTime start;
    const char* typed;
    const char* shown;
    bool valid;
    const char* ymd;  // the value taken
  } const cases[] = {
      {"dd/MM/yyyy", COleDateTime(2023, 4, 29, 0, 0, 0), "292/2024", "29/02/2024", true, "20240229"},
      {"dd/MM/yyyy", COleDateTime(2023, 4, 29, 0, 0, 0), "315/2023", "31/05/2023", true, "20230531"},
      {"dd/MM/yyyy", COleDateTime(2024, 2, 10, 0, 0, 0), "303/2024", "30/03/2024", true, "20240330"},
      {"MM/dd/yyyy", COleDateTime(2023, 1, 31, 0, 0, 0), "2/292024", "02/29/2024", true, "20240229"},
      {"MM/dd/yyyy", COleDateTime(2024, 3, 31, 0, 0, 0), "4/302024", "04/30/2024", true, "20240430"},
      {"yyyy-MM-dd", COleDateTime(2024, 2, 29, 0, 0, 0), "20233-15", "2023-03-15", true, "20230315"},
      {"dd/MM/yyyy", COleDateTime(2024, 12, 31, 0, 0, 0), "31122023", "31/12/2023", true, "20231231"},
      {"dd/MM/yyyy", COleDateTime(2024, 4, 29, 0, 0, 0), "292/2023", "29/02/2023", false, ""},
      {"MM/dd/yyyy", COleDateTime(2024, 4, 1, 0, 0, 0), "4/312024", "04/31/2024", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + c.typed);
    UiSession session;
    NotificationRecorder parent{400, 300};
    SECDateTimeCtrl ctrl;
    ASSERT_TRUE(ctrl.SetFormat(c.format));
    ctrl.SetDateTime(c.start);
    ASSERT_TRUE(ctrl.Create(WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 260, 34), CWnd::FromHandle(parent.Hwnd()), 42));
    ctrl.SetFocus();
    RunUntilIdle();
    TypeText(c.typed);
    EXPECT_EQ(ctrl.GetDisplayText(), CString(c.shown));
    EXPECT_EQ(ctrl.GetDateTime().GetStatus() == COleDateTime::valid, c.valid);
    char buffer[64] = {};
    ctrl.SendMessage(WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(CString(buffer), c.valid ? CString(c.shown) : CString());
    if (c.valid) {
      const COleDateTime& value = ctrl.GetDateTime();
      const CString ymd = value.Format("%Y%m%d");
      EXPECT_EQ(ymd, CString(c.ymd));
    }
  }
}

TEST_F(DateTime, KeysStepWrapAndJumpToTheEnds) {
  struct Case {
    COleDateTime start;
    int field;
    UINT key;
    const char* text;
  };
  const Case cases[] = {
      {COleDateTime(2024, 2, 29, 0, 0, 0), SECDTF_DAY, VK_UP, "02/01/2024 12:00 AM"},   // wraps in the month
      {COleDateTime(2024, 1, 1, 0, 0, 0), SECDTF_DAY, VK_DOWN, "01/31/2024 12:00 AM"},
      {COleDateTime(2024, 1, 31, 12, 0, 0), SECDTF_MONTH, VK_UP, "02/29/2024 12:00 PM"},  // hour 12 is 12 PM
      {COleDateTime(2024, 12, 5, 23, 0, 0), SECDTF_MONTH, VK_ADD, "01/05/2024 11:00 PM"},
      {COleDateTime(2024, 2, 29, 0, 0, 0), SECDTF_YEAR4, VK_UP, "02/28/2025 12:00 AM"},
      {COleDateTime(2024, 2, 10, 11, 59, 0), SECDTF_MINUTE, VK_UP, "02/10/2024 11:00 AM"},
      {COleDateTime(2024, 2, 10, 11, 0, 0), SECDTF_HOUR12, VK_UP, "02/10/2024 12:00 PM"},
      {COleDateTime(2024, 2, 10, 9, 0, 0), SECDTF_AMPM, VK_DOWN, "02/10/2024 09:00 PM"},
      {COleDateTime(2024, 4, 10, 9, 0, 0), SECDTF_DAY, VK_END, "04/30/2024 09:00 AM"},
      {COleDateTime(2024, 4, 10, 21, 30, 0), SECDTF_HOUR12, VK_HOME, "04/10/2024 12:30 PM"},
      {COleDateTime(2024, 4, 10, 9, 0, 0), SECDTF_YEAR4, VK_END, "04/10/9999 09:00 AM"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(m_ctrl.SetDateTime(c.start));
    for (int i = 0; i < m_ctrl.GetGadgetCount(); ++i)
      if (m_ctrl.GetGadget(i)->GetID() == c.field) m_ctrl.SetCurrentField(i);
    PressKey(c.key);
    EXPECT_EQ(Text(), CString(c.text)) << c.field << " key " << c.key;
  }
}

TEST_F(DateTime, TheRangeRefusesValuesOutsideIt) {
  ASSERT_TRUE(m_ctrl.SetMinMax(COleDateTime(2024, 1, 1, 0, 0, 0), COleDateTime(2024, 12, 31, 0, 0, 0),
                               SECDateTimeCtrl::DateOnly));
  EXPECT_FALSE(m_ctrl.IsValid(COleDateTime(2025, 1, 1, 0, 0, 0)));
  EXPECT_TRUE(m_ctrl.IsValid(COleDateTime(2024, 12, 31, 23, 0, 0)));  // only the date counts
  m_ctrl.SetRangeCheck(SECDateTimeCtrl::DateTime);
  EXPECT_FALSE(m_ctrl.IsValid(COleDateTime(2024, 12, 31, 23, 0, 0)));
  m_ctrl.SetRangeCheck(SECDateTimeCtrl::TimeOnly);
  EXPECT_FALSE(m_ctrl.IsValid(COleDateTime(2024, 6, 1, 1, 0, 0)));  // both limits are at midnight
  m_ctrl.SetRangeCheck(SECDateTimeCtrl::DateOnly);
  m_ctrl.SetDateTime(COleDateTime(2024, 12, 10, 9, 0, 0));
  m_ctrl.SetCurrentField(4);  // the day
  const size_t beeps = Beeps();
  PressKey(VK_NEXT);  // not a key of the field
  TypeText("20");
  EXPECT_EQ(Field(), SECDTF_YEAR4);
  TypeText("2025");
  EXPECT_EQ(Beeps(), beeps + 1);
  EXPECT_EQ(Text(), CString("12/20/2024 09:00 AM"));
  m_ctrl.SetLockBits(SECDateTimeCtrl::LockYear);
  PressKey(VK_DOWN);
  EXPECT_EQ(Beeps(), beeps + 2);
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2024);
}

TEST_F(DateTime, TheSpinRepeatsFasterTheLongerItIsHeld) {
  m_ctrl.SetMinMax(COleDateTime(100, 1, 1, 0, 0, 0), COleDateTime(9999, 12, 31, 0, 0, 0));
  m_ctrl.SetCurrentField(6);  // the year, 2024
  const SECDTGadget* spin = m_ctrl.GetGadget(1);
  ASSERT_NE(dynamic_cast<const SECDTSpinGadget*>(spin), nullptr);
  const CPoint up(spin->m_rect.CenterPoint().x, spin->m_rect.top + 2);
  ButtonDown(m_ctrl.m_hWnd, up);
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2025);  // one step at once
  AdvanceClock(499);
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2025);
  AdvanceClock(1 + 19 * 100);  // 20 ticks of 1
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2045);
  AdvanceClock(30 * 100);  // ticks 21 to 50 step by 2
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2105);
  AdvanceClock(10 * 100);  // from the 51st by 5
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2155);
  // Leaving the half stops the repeat, coming back resumes it.
  brambolt::test::MoveMouse(m_ctrl.m_hWnd, CPoint(up.x, spin->m_rect.bottom - 2));
  AdvanceClock(500);
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2155);
  ButtonUp(m_ctrl.m_hWnd, up);
  AdvanceClock(500);
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2155);
  EXPECT_EQ(::GetCapture(), nullptr);
  Click(m_ctrl.m_hWnd, CPoint(up.x, spin->m_rect.bottom - 2));
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 2154);
}

TEST_F(DateTime, NameListsFollowTypeAhead) {
  CStringArray months;
  for (int m = 1; m <= 12; ++m) {
    CString name;
    ASSERT_TRUE(GetLocaleMonthName(name, m, FALSE));
    months.Add(name);
  }
  ASSERT_EQ(months[0], CString("Jan"));  // the tests' locale is English
  m_ctrl.SetFormat("dd MMM yyyy");
  m_ctrl.SetDateTime(COleDateTime(2024, 3, 10, 0, 0, 0));
  m_ctrl.SetCurrentField(4);
  auto month = [this] { return m_ctrl.GetDateTime().GetMonth(); };
  TypeText("j");  // the first after March
  EXPECT_EQ(month(), 6);
  TypeText("j");  // the same initial again: the next month with it
  EXPECT_EQ(month(), 7);
  TypeText("j");
  EXPECT_EQ(month(), 1);
  AdvanceClock(2000);
  TypeText("m");
  TypeText("ay");
  EXPECT_EQ(month(), 5);
  const size_t beeps = Beeps();
  TypeText("q");  // "mayq" matches nothing
  EXPECT_EQ(Beeps(), beeps + 1);
  EXPECT_EQ(month(), 5);
  TypeText("o");  // a fresh start: October
  EXPECT_EQ(month(), 10);
  EXPECT_EQ(Text(), CString("10 Oct 2024"));
}

TEST_F(DateTime, EmptyFieldsAreFilledOneByOneBeforeTheValueIsTaken) {
  m_ctrl.SetFormat("dd.MM.yyyy");
  m_ctrl.SetNull();
  EXPECT_TRUE(m_ctrl.IsPending());
  EXPECT_EQ(m_ctrl.GetDisplayText(), CString("--.--.----"));
  ASSERT_EQ(Field(), SECDTF_DAY);
  TypeText("24");
  EXPECT_EQ(m_ctrl.GetDisplayText(), CString("24.--.----"));
  TypeText("12");
  EXPECT_TRUE(m_ctrl.IsPending());
  TypeText("1990");
  EXPECT_FALSE(m_ctrl.IsPending());
  EXPECT_EQ(m_ctrl.GetDateTime().GetYear(), 1990);
  EXPECT_EQ(m_ctrl.GetDateTime().GetMonth(), 12);
  EXPECT_EQ(Text(), CString("24.12.1990"));
}

TEST_F(DateTime, ThePopupCalendarSetsTheDateAndKeepsTheTime) {
  PressKey(VK_F4);
  SECPopupCalendar* popup = m_ctrl.GetPopupCalendar();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->GetSelectedDate(), COleDateTime(2024, 2, 10, 12, 0, 0));
  SECDayBox* box = popup->FindBox(COleDateTime(2024, 2, 21, 12, 0, 0));
  ASSERT_NE(box, nullptr);
  Click(popup->m_hWnd, box->GetRect().CenterPoint());
  EXPECT_EQ(m_ctrl.GetPopupCalendar(), nullptr);
  EXPECT_EQ(Text(), CString("02/21/2024 09:05 AM"));
  EXPECT_EQ(::GetFocus(), m_ctrl.m_hWnd);
  // The button opens it too; Escape closes it with the value as it was.
  const SECDTGadget* button = m_ctrl.GetGadget(0);
  Click(m_ctrl.m_hWnd, button->m_rect.CenterPoint());
  ASSERT_NE(m_ctrl.GetPopupCalendar(), nullptr);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(m_ctrl.GetPopupCalendar(), nullptr);
  EXPECT_EQ(Text(), CString("02/21/2024 09:05 AM"));
  // With year, month and day locked the calendar does not open.
  m_ctrl.SetLockBits(SECDateTimeCtrl::LockYear | SECDateTimeCtrl::LockMonth | SECDateTimeCtrl::LockDay);
  PressKey(VK_DOWN, brambolt::test::kAlt);
  EXPECT_EQ(m_ctrl.GetPopupCalendar(), nullptr);
}

TEST_F(DateTime, TabMovesBetweenFieldsAndTheFieldsSurviveALocaleChange) {
  m_ctrl.EnableTabFields(TRUE);
  EXPECT_EQ(m_ctrl.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
  brambolt::test::PressKey(VK_TAB);
  EXPECT_EQ(Field(), SECDTF_DAY);
  brambolt::test::PressKey(VK_TAB, brambolt::test::kShift);
  EXPECT_EQ(Field(), SECDTF_MONTH);
  brambolt::test::PressKey(VK_TAB);
  brambolt::test::PressKey(VK_TAB);
  const int current = m_ctrl.GetCurrentField();
  m_ctrl.SendMessage(WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
  EXPECT_EQ(m_ctrl.GetCurrentField(), current);
  EXPECT_EQ(Field(), SECDTF_YEAR4);
  EXPECT_EQ(Text(), CString("02/10/2024 09:05 AM"));
  // Past the last field Tab goes on to the next control.
  CEdit next;
  CWnd* parent = CWnd::FromHandle(m_parent.Hwnd());
  ASSERT_TRUE(next.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 50, 100, 70), parent, 43));
  for (int i = 0; i < 3; ++i) brambolt::test::PressKey(VK_TAB);
  EXPECT_EQ(Field(), SECDTF_AMPM);
  EXPECT_EQ(::GetFocus(), m_ctrl.m_hWnd);
  brambolt::test::PressKey(VK_TAB);
  EXPECT_EQ(::GetFocus(), next.m_hWnd);
}

TEST_F(DateTime, TheFocusedFieldIsHighlightedAndADisabledControlGreyed) {
  const SECDTGadget* month = m_ctrl.FindGadget(SECDTF_MONTH);
  const SECDTGadget* day = m_ctrl.FindGadget(SECDTF_DAY);
  ASSERT_NE(month, nullptr);
  ASSERT_NE(day, nullptr);
  using brambolt::test::WindowPixel;
  EXPECT_EQ(WindowPixel(m_ctrl.m_hWnd, month->m_rect.left, 1), ::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(WindowPixel(m_ctrl.m_hWnd, day->m_rect.left, 1), ::GetSysColor(COLOR_WINDOW));
  m_ctrl.EnableWindow(FALSE);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(m_ctrl.m_hWnd, day->m_rect.left, 1), ::GetSysColor(COLOR_BTNFACE));
  // The spin's upper half is a raised button face.
  const SECDTGadget* spin = m_ctrl.GetGadget(1);
  EXPECT_EQ(WindowPixel(m_ctrl.m_hWnd, spin->m_rect.left + 2, spin->m_rect.top + 2), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(DateTime, TheParentHearsOfFocusChanges) {
  m_parent.Clear();
  ::SetFocus(m_parent.Hwnd());
  m_ctrl.SetFocus();
  RunUntilIdle();
  std::vector<UINT> codes;
  for (const auto& r : m_parent.Records())
    if (r.message == WM_COMMAND && r.id == 42) codes.push_back(r.code);
  EXPECT_EQ(codes, (std::vector<UINT>{SECDTN_KILLFOCUS, SECDTN_SETFOCUS}));
  EXPECT_TRUE(m_ctrl.GetCurrentGadget()->IsFocused());
}

}  // namespace
