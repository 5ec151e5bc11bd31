// CTime and CTimeSpan: conversions in local time, arithmetic and English formatting.
#include <gtest/gtest.h>

#include "TimeZoneFixture.h"
#include "core/core.h"

namespace {

// 2024-07-04 16:00:00 UTC, which is 12:00 daylight time in the Eastern zone.
constexpr time_t kJuly4Noon = 1720108800;

FILETIME FileTimeOf(time_t t) {
  ULONGLONG ticks = (static_cast<ULONGLONG>(t) + 11644473600ULL) * 10000000ULL;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

using CTimeLocal = FixedTimeZone;

TEST_F(CTimeLocal, PartsAreLocalTime) {
  CTime t(kJuly4Noon);
  EXPECT_EQ(t.GetYear(), 2024);
  EXPECT_EQ(t.GetMonth(), 7);
  EXPECT_EQ(t.GetDay(), 4);
  EXPECT_EQ(t.GetHour(), 12);
  EXPECT_EQ(t.GetMinute(), 0);
  EXPECT_EQ(t.GetSecond(), 0);
  EXPECT_EQ(t.GetDayOfWeek(), 5);  // Thursday
  struct tm gmt {};
  ASSERT_NE(t.GetGmtTm(&gmt), nullptr);
  EXPECT_EQ(gmt.tm_hour, 16);
  struct tm* pLocal = t.GetLocalTm();
  ASSERT_NE(pLocal, nullptr);
  EXPECT_EQ(pLocal->tm_hour, 12);
  EXPECT_EQ(pLocal->tm_isdst, 1);
}

TEST_F(CTimeLocal, ConstructionFromLocalPartsAndSystemTime) {
  EXPECT_EQ(CTime(2024, 7, 4, 12, 0, 0).GetTime(), kJuly4Noon);
  EXPECT_EQ(CTime(2024, 1, 4, 11, 0, 0).GetTime(), kJuly4Noon - 182 * 86400);  // winter: UTC-5
  SYSTEMTIME st{2024, 7, 4, 4, 12, 0, 0, 0};
  EXPECT_EQ(CTime(st).GetTime(), kJuly4Noon);
  SYSTEMTIME back{};
  ASSERT_TRUE(CTime(kJuly4Noon + 61).GetAsSystemTime(back));
  EXPECT_EQ(back.wHour, 12);
  EXPECT_EQ(back.wMinute, 1);
  EXPECT_EQ(back.wSecond, 1);
  EXPECT_EQ(back.wDayOfWeek, 4);
}

TEST_F(CTimeLocal, FileTimeKeepsTheMomentWithDstFlagMinusOne) {
  EXPECT_EQ(CTime(FileTimeOf(kJuly4Noon)).GetTime(), kJuly4Noon);
  EXPECT_EQ(CTime(FileTimeOf(kJuly4Noon - 182 * 86400), -1).GetTime(), kJuly4Noon - 182 * 86400);
  // Claiming standard time for a summer clock reading moves the moment by the hour.
  EXPECT_EQ(CTime(FileTimeOf(kJuly4Noon), 0).GetTime(), kJuly4Noon + 3600);
}

TEST_F(CTimeLocal, ArithmeticWithSpans) {
  CTime t(kJuly4Noon);
  CTimeSpan span(1, 2, 3, 4);
  EXPECT_EQ(span.GetTotalSeconds(), 93784);
  CTime later = t + span;
  EXPECT_EQ(later - t, span);
  EXPECT_EQ(later.GetHour(), 14);
  EXPECT_EQ(later - span, t);
  EXPECT_TRUE(later > t && t < later && t != later);
  t += span;
  t -= CTimeSpan(0, 0, 0, 4);
  EXPECT_EQ(t.GetSecond(), 0);
  EXPECT_EQ(t.GetMinute(), 3);
}

TEST(CTimeSpanParts, PartsTruncateAndCarryTheSign) {
  CTimeSpan span(2, 3, 4, 5);
  EXPECT_EQ(span.GetDays(), 2);
  EXPECT_EQ(span.GetHours(), 3);
  EXPECT_EQ(span.GetMinutes(), 4);
  EXPECT_EQ(span.GetSeconds(), 5);
  EXPECT_EQ(span.GetTotalHours(), 51);
  EXPECT_EQ(span.GetTotalMinutes(), 51 * 60 + 4);
  CTimeSpan negative = -span;
  EXPECT_EQ(negative.GetDays(), -2);
  EXPECT_EQ(negative.GetHours(), -3);
  EXPECT_EQ(negative.GetSeconds(), -5);
  EXPECT_STREQ(span.Format("%D days %H:%M:%S %%"), "2 days 03:04:05 %");
}

TEST_F(CTimeLocal, FormatUsesEnglishNames) {
  CTime t(kJuly4Noon + 3 * 3600 + 5);  // 15:00:05 local
  const std::pair<const char*, const char*> cases[] = {
      {"%A, %B %d, %Y", "Thursday, July 04, 2024"},
      {"%a %b %#d", "Thu Jul 4"},
      {"%H:%M:%S %I %p", "15:00:05 03 PM"},
      {"%#I%p", "3PM"},
      {"%j %U %W %w", "186 26 27 4"},
      {"%y %m", "24 07"},
      {"%c", "07/04/24 15:00:05"},
      {"%x|%X", "07/04/24|15:00:05"},
      {"%#x", "Thursday, July 4, 2024"},
      {"%#c", "Thursday, July 4, 2024, 15:00:05"},
      {"%Z", "EDT"},
      {"100%% %q", "100% %q"},
  };
  for (const auto& [format, expected] : cases) EXPECT_STREQ(t.Format(format), expected) << format;
  EXPECT_STREQ(t.FormatGmt("%H:%M %A"), "19:00 Thursday");
}

TEST_F(CTimeLocal, MidnightAndNewYearBoundaries) {
  CTime t(2023, 12, 31, 23, 59, 59);
  CTime next = t + CTimeSpan(0, 0, 0, 1);
  EXPECT_STREQ(next.Format("%Y-%m-%d %H:%M:%S %j %a"), "2024-01-01 00:00:00 001 Mon");
  EXPECT_STREQ(t.Format("%I %p %j"), "11 PM 365");
  EXPECT_STREQ(next.Format("%I %p"), "12 AM");
}
