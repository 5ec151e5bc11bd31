// COleDateTime and COleDateTimeSpan: day numbers, the calendar over the whole range, the rounding
// to seconds, arithmetic before and after 1899, status and formatting.
#include <gtest/gtest.h>

#include <cmath>

#include "TimeZoneFixture.h"
#include "core/core.h"

namespace {

struct Parts {
  int y, mo, d, h, mi, s;
};

Parts PartsOf(const COleDateTime& dt) {
  return {dt.GetYear(), dt.GetMonth(), dt.GetDay(), dt.GetHour(), dt.GetMinute(), dt.GetSecond()};
}

bool operator==(const Parts& a, const Parts& b) {
  return a.y == b.y && a.mo == b.mo && a.d == b.d && a.h == b.h && a.mi == b.mi && a.s == b.s;
}

std::ostream& operator<<(std::ostream& os, const Parts& p) {
  return os << p.y << "-" << p.mo << "-" << p.d << " " << p.h << ":" << p.mi << ":" << p.s;
}

constexpr double kSecond = 1.0 / 86400;

}  // namespace

TEST(OleDateTimeDayNumber, KnownDates) {
  const std::pair<Parts, double> cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1900, 1, 1, 0, 0, 0}, 2.0},
      {{2000, 1, 1, 0, 0, 0}, 36526.0},
      {{1899, 12, 30, 18, 0, 0}, 0.75},
      {{1899, 12, 29, 6, 0, 0}, -1.25},
      {{100, 1, 1, 0, 0, 0}, -657434.0},
      {{9999, 12, 31, 0, 0, 0}, 2958465.0},
  };
  for (const auto& [p, day] : cases) {
    COleDateTime dt(p.y, p.mo, p.d, p.h, p.mi, p.s);
    ASSERT_EQ(dt.GetStatus(), COleDateTime::valid) << p;
    EXPECT_DOUBLE_EQ(static_cast<DATE>(dt), day) << p;
    EXPECT_EQ(PartsOf(COleDateTime(day)), p);
  }
}

TEST(OleDateTimeDayNumber, EveryDayOfAFourHundredYearCycleFollowsTheCalendar) {
  // Walking one day at a time must agree with incrementing the calendar by hand.
  Parts expected{1899, 3, 1, 12, 0, 0};
  int nWeekday = COleDateTime(1899, 3, 1, 12, 0, 0).GetDayOfWeek();
  COleDateTime start(1899, 3, 1, 12, 0, 0);
  for (int nDay = 0; nDay < 146097; ++nDay) {
    COleDateTime dt = start + COleDateTimeSpan(nDay, 0, 0, 0);
    ASSERT_EQ(PartsOf(dt), expected) << "day " << nDay;
    ASSERT_EQ(dt.GetDayOfWeek(), nWeekday);
    int nMonthDays = expected.mo == 2 ? ((expected.y % 4 == 0 && expected.y % 100 != 0) || expected.y % 400 == 0 ? 29 : 28)
                                      : (expected.mo == 4 || expected.mo == 6 || expected.mo == 9 || expected.mo == 11 ? 30 : 31);
    if (++expected.d > nMonthDays) {
      expected.d = 1;
      if (++expected.mo > 12) {
        expected.mo = 1;
        ++expected.y;
      }
    }
    nWeekday = nWeekday % 7 + 1;
  }
}

TEST(OleDateTimeDayNumber, RoundTripsAcrossTheWholeRange) {
  for (int y = 100; y <= 9999; y += 7) {
    for (int mo = 1; mo <= 12; mo += 5) {
      Parts p{y, mo, 28 - (y % 3), (y * 7) % 24, (y * 13) % 60, (y * 17) % 60};
      COleDateTime dt(p.y, p.mo, p.d, p.h, p.mi, p.s);
      ASSERT_EQ(dt.GetStatus(), COleDateTime::valid) << p;
      ASSERT_EQ(PartsOf(COleDateTime(static_cast<DATE>(dt))), p);
    }
  }
}

TEST(OleDateTimeDayNumber, WeekdayAndDayOfYear) {
  EXPECT_EQ(COleDateTime(2000, 1, 1, 0, 0, 0).GetDayOfWeek(), 7);  // Saturday
  EXPECT_EQ(COleDateTime(1970, 1, 1, 0, 0, 0).GetDayOfWeek(), 5);  // Thursday
  EXPECT_EQ(COleDateTime(1900, 1, 1, 0, 0, 0).GetDayOfWeek(), 2);  // Monday
  EXPECT_EQ(COleDateTime(1899, 12, 29, 0, 0, 0).GetDayOfWeek(), 6);  // Friday
  EXPECT_EQ(COleDateTime(2024, 12, 31, 0, 0, 0).GetDayOfYear(), 366);
  EXPECT_EQ(COleDateTime(2023, 12, 31, 0, 0, 0).GetDayOfYear(), 365);
  EXPECT_EQ(COleDateTime(2024, 3, 1, 0, 0, 0).GetDayOfYear(), 61);
  EXPECT_EQ(COleDateTime(1800, 1, 1, 0, 0, 0).GetDayOfYear(), 1);
}

TEST(OleDateTimeRounding, PartsRoundToTheNearestSecond) {
  double base = COleDateTime(2001, 5, 6, 10, 20, 30);
  EXPECT_EQ(PartsOf(COleDateTime(base + 0.4 * kSecond)), (Parts{2001, 5, 6, 10, 20, 30}));
  EXPECT_EQ(PartsOf(COleDateTime(base + 0.6 * kSecond)), (Parts{2001, 5, 6, 10, 20, 31}));
  EXPECT_EQ(PartsOf(COleDateTime(base - 0.4 * kSecond)), (Parts{2001, 5, 6, 10, 20, 30}));
  double lastSecond = COleDateTime(2001, 12, 31, 23, 59, 59);
  EXPECT_EQ(PartsOf(COleDateTime(lastSecond + 0.7 * kSecond)), (Parts{2002, 1, 1, 0, 0, 0}));
}

TEST(OleDateTimeRounding, BeforeEighteenNinetyNineTheFractionCountsForward) {
  // -1.x is 29 December 1899 at x of the day; rounding up at midnight leads to 30 December.
  EXPECT_EQ(PartsOf(COleDateTime(-1.0 - 0.6 * kSecond)), (Parts{1899, 12, 29, 0, 0, 1}));
  EXPECT_EQ(PartsOf(COleDateTime(-1.0 - (86399.7 * kSecond))), (Parts{1899, 12, 30, 0, 0, 0}));
  EXPECT_EQ(PartsOf(COleDateTime(-2.0 - (86399.7 * kSecond))), (Parts{1899, 12, 29, 0, 0, 0}));
  EXPECT_EQ(PartsOf(COleDateTime(-0.5)), (Parts{1899, 12, 30, 12, 0, 0}));
}

TEST(OleDateTimeRange, OnlyFirstOfJanuary100ToEndOf9999IsValid) {
  struct Case {
    double day;
    bool bValid;
  };
  const Case cases[] = {
      {-657434.0, true},           {-657434.5, true},  // noon on 1 January 100
      {-657435.0, false},          {2958465.5, true},  // noon on 31 December 9999
      {2958465.0 + 86399 * kSecond, true},
      {2958465.0 + 86399.8 * kSecond, false},  // rounds into the year 10000
      {2958466.0, false},
      {1e300, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(COleDateTime(c.day).GetStatus() == COleDateTime::valid, c.bValid) << c.day;
  COleDateTime invalid(1e10);
  EXPECT_EQ(invalid.GetYear(), AFX_OLE_DATETIME_ERROR);
  EXPECT_EQ(invalid.GetDayOfWeek(), AFX_OLE_DATETIME_ERROR);
}

TEST(OleDateTimeRange, SetDateTimeRefusesPartsOutOfRange) {
  struct Case {
    Parts p;
    bool bValid;
  };
  const Case cases[] = {
      {{2024, 2, 29, 0, 0, 0}, true},   {{2023, 2, 29, 0, 0, 0}, false}, {{1900, 2, 29, 0, 0, 0}, false},
      {{2000, 2, 29, 0, 0, 0}, true},   {{99, 12, 31, 0, 0, 0}, false},  {{10000, 1, 1, 0, 0, 0}, false},
      {{2024, 13, 1, 0, 0, 0}, false},  {{2024, 4, 31, 0, 0, 0}, false}, {{2024, 1, 0, 0, 0, 0}, false},
      {{2024, 1, 1, 24, 0, 0}, false},  {{2024, 1, 1, 0, 60, 0}, false}, {{2024, 1, 1, 0, 0, 60}, false},
      {{2024, 1, 1, -1, 0, 0}, false},  {{9999, 12, 31, 23, 59, 59}, true},
  };
  for (const Case& c : cases) {
    COleDateTime dt(2020, 1, 1, 0, 0, 0);
    EXPECT_EQ(dt.SetDateTime(c.p.y, c.p.mo, c.p.d, c.p.h, c.p.mi, c.p.s), c.bValid ? 0 : 1) << c.p;
    EXPECT_EQ(dt.GetStatus(), c.bValid ? COleDateTime::valid : COleDateTime::invalid);
  }
  COleDateTime dt;
  EXPECT_EQ(dt.SetDate(2024, 2, 29), 0);
  EXPECT_EQ(PartsOf(dt), (Parts{2024, 2, 29, 0, 0, 0}));
  EXPECT_EQ(dt.SetTime(6, 30, 0), 0);
  EXPECT_EQ(PartsOf(dt), (Parts{1899, 12, 30, 6, 30, 0}));
}

TEST(OleDateTimeArithmetic, SpansMoveThroughTimeAlsoBefore1900) {
  COleDateTime morning(1899, 12, 29, 6, 0, 0);
  COleDateTime evening = morning + COleDateTimeSpan(0, 12, 0, 0);
  EXPECT_EQ(PartsOf(evening), (Parts{1899, 12, 29, 18, 0, 0}));
  EXPECT_EQ(PartsOf(evening + COleDateTimeSpan(1.0)), (Parts{1899, 12, 30, 18, 0, 0}));
  EXPECT_EQ(PartsOf(COleDateTime(1900, 1, 1, 0, 0, 0) - COleDateTimeSpan(3, 0, 0, 0)),
            (Parts{1899, 12, 29, 0, 0, 0}));
  EXPECT_DOUBLE_EQ((COleDateTime(1900, 1, 1, 0, 0, 0) - morning).GetTotalDays(), 2.75);
  EXPECT_TRUE(evening > morning);
  EXPECT_TRUE(morning < COleDateTime(1899, 12, 30, 0, 0, 0));
  EXPECT_TRUE(COleDateTime(-0.5) == COleDateTime(0.5));

  COleDateTime dt(2024, 1, 31, 12, 0, 0);
  dt += COleDateTimeSpan(29, 0, 0, 0);
  EXPECT_EQ(PartsOf(dt), (Parts{2024, 2, 29, 12, 0, 0}));
  dt -= COleDateTimeSpan(366, 0, 0, 0);
  EXPECT_EQ(PartsOf(dt), (Parts{2023, 2, 28, 12, 0, 0}));
}

TEST(OleDateTimeArithmetic, StatusPropagates) {
  COleDateTime nullDate;
  nullDate.SetStatus(COleDateTime::null);
  EXPECT_EQ((nullDate + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::null);
  COleDateTime invalidDate(1e10);
  EXPECT_EQ((invalidDate - COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
  EXPECT_EQ((invalidDate - COleDateTime(2000, 1, 1, 0, 0, 0)).GetStatus(), COleDateTimeSpan::invalid);
  COleDateTime last(9999, 12, 31, 0, 0, 0);
  EXPECT_EQ((last + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
  COleDateTimeSpan nullSpan;
  nullSpan.SetStatus(COleDateTimeSpan::null);
  EXPECT_EQ((COleDateTime(2000, 1, 1, 0, 0, 0) + nullSpan).GetStatus(), COleDateTime::null);
}

TEST(OleDateTimeSpan, PartsRoundToSecondsAndCarryTheSign) {
  COleDateTimeSpan span(1, 2, 3, 4);
  EXPECT_EQ(span.GetDays(), 1);
  EXPECT_EQ(span.GetHours(), 2);
  EXPECT_EQ(span.GetMinutes(), 3);
  EXPECT_EQ(span.GetSeconds(), 4);
  EXPECT_DOUBLE_EQ(span.GetTotalHours(), 26.0 + 3.0 / 60 + 4.0 / 3600);
  EXPECT_DOUBLE_EQ(span.GetTotalSeconds(), 93784.0);
  COleDateTimeSpan negative = -span;
  EXPECT_EQ(negative.GetDays(), -1);
  EXPECT_EQ(negative.GetHours(), -2);
  EXPECT_EQ(negative.GetSeconds(), -4);
  COleDateTimeSpan almostDay(1.0 - 0.3 * kSecond);
  EXPECT_EQ(almostDay.GetDays(), 1);
  EXPECT_EQ(almostDay.GetHours(), 0);
  EXPECT_STREQ(span.Format("%D:%H:%M:%S"), "1:02:03:04");
  EXPECT_TRUE(span > COleDateTimeSpan(1.0) && negative < span);
  EXPECT_NEAR((span - COleDateTimeSpan(1, 0, 0, 0)).GetTotalSeconds(), 2 * 3600 + 3 * 60 + 4, 1e-6);
}

TEST(OleDateTimeFormat, DefaultAndPatterns) {
  COleDateTime dt(2024, 7, 4, 13, 5, 9);
  EXPECT_STREQ(dt.Format(), "7/4/2024 1:05:09 PM");
  EXPECT_STREQ(dt.Format(VAR_DATEVALUEONLY), "7/4/2024");
  EXPECT_STREQ(dt.Format(VAR_TIMEVALUEONLY), "1:05:09 PM");
  EXPECT_STREQ(COleDateTime(2024, 7, 4, 0, 0, 0).Format(), "7/4/2024");
  COleDateTime timeOnly;
  timeOnly.SetTime(0, 30, 0);
  EXPECT_STREQ(timeOnly.Format(), "12:30:00 AM");
  EXPECT_STREQ(dt.Format("%A, %B %d, %Y"), "Thursday, July 04, 2024");
  EXPECT_STREQ(COleDateTime(150, 3, 9, 8, 0, 0).Format("%Y-%m-%d %a %j"), "150-03-09 Mon 068");
  EXPECT_STREQ(COleDateTime(1e10).Format("%Y"), "Invalid DateTime");
  COleDateTime nullDate;
  nullDate.SetStatus(COleDateTime::null);
  EXPECT_STREQ(nullDate.Format(), "");
}

using OleDateTimeLocal = FixedTimeZone;

TEST_F(OleDateTimeLocal, TimeTIsLocalAndFileTimeIsTakenAsItIs) {
  COleDateTime fromTime(static_cast<time_t>(1720108800));  // 16:00 UTC, 12:00 in the Eastern zone
  EXPECT_EQ(PartsOf(fromTime), (Parts{2024, 7, 4, 12, 0, 0}));
  ULONGLONG ticks = (1720108800ULL + 11644473600ULL) * 10000000ULL + 9999999;
  COleDateTime fromFileTime(FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)});
  EXPECT_EQ(PartsOf(fromFileTime), (Parts{2024, 7, 4, 16, 0, 0}));
  EXPECT_EQ(PartsOf(COleDateTime(FILETIME{0, 0})), (Parts{1601, 1, 1, 0, 0, 0}));
  SYSTEMTIME st{2024, 7, 4, 4, 12, 0, 0, 500};
  COleDateTime fromSystemTime(st);
  EXPECT_EQ(fromSystemTime, fromTime);
  SYSTEMTIME back{};
  ASSERT_TRUE(fromSystemTime.GetAsSystemTime(back));
  EXPECT_EQ(back.wDayOfWeek, 4);
  EXPECT_EQ(back.wHour, 12);
}

TEST_F(OleDateTimeLocal, CurrentTimeAgreesWithCTime) {
  // Both read the same clock; they may straddle a second, never more.
  COleDateTime now = COleDateTime::GetCurrentTime();
  COleDateTime viaCTime(CTime::GetCurrentTime().GetTime());
  EXPECT_EQ(now.GetStatus(), COleDateTime::valid);
  EXPECT_LE(std::fabs((viaCTime - now).GetTotalSeconds()), 1.0);
}
