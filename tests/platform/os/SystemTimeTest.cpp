#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "os/os.h"

namespace {

SYSTEMTIME Make(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
  SYSTEMTIME st{};
  st.wYear = y;
  st.wMonth = mo;
  st.wDay = d;
  st.wHour = h;
  st.wMinute = mi;
  st.wSecond = s;
  st.wMilliseconds = ms;
  return st;
}

struct Known {
  SYSTEMTIME time;
  ULONGLONG value;
  WORD dayOfWeek;
};

TEST(FileTime, KnownInstantsConvertBothWays) {
  const Known cases[] = {
      {Make(1601, 1, 1), 0, 1},                                                // the epoch, a Monday
      {Make(1970, 1, 1), brambolt::kFileTimeUnixEpoch, 4},                     // a Thursday
      {Make(2000, 2, 29, 12, 30, 15, 250), 125963010152500000ULL, 2},          // leap day, a Tuesday
      {Make(1900, 3, 1), 94405824000000000ULL, 4},                             // 1900 is not a leap year
      {Make(30827, 12, 31, 23, 59, 59, 999), 0x7FFF35F4F06C58F0ULL, 5},      // the last SYSTEMTIME
  };
  for (const auto& c : cases) {
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.time, &ft)) << c.time.wYear;
    EXPECT_EQ(brambolt::FileTimeToValue(ft), c.value) << c.time.wYear;
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(back.wYear, c.time.wYear);
    EXPECT_EQ(back.wMonth, c.time.wMonth);
    EXPECT_EQ(back.wDay, c.time.wDay);
    EXPECT_EQ(back.wHour, c.time.wHour);
    EXPECT_EQ(back.wMinute, c.time.wMinute);
    EXPECT_EQ(back.wSecond, c.time.wSecond);
    EXPECT_EQ(back.wMilliseconds, c.time.wMilliseconds);
    EXPECT_EQ(back.wDayOfWeek, c.dayOfWeek) << c.time.wYear;
  }
}

TEST(FileTime, EveryDayOfFourCenturiesRoundTrips) {
  FILETIME ft{};
  SYSTEMTIME start = Make(1601, 1, 1);
  ASSERT_TRUE(SystemTimeToFileTime(&start, &ft));
  ULONGLONG value = brambolt::FileTimeToValue(ft);
  int previousDay = 0;
  for (int day = 0; day < 146097; ++day) {
    FILETIME current = brambolt::FileTimeFromValue(value + static_cast<ULONGLONG>(day) * 864000000000ULL);
    SYSTEMTIME st{};
    ASSERT_TRUE(FileTimeToSystemTime(&current, &st));
    FILETIME again{};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &again));
    ASSERT_EQ(CompareFileTime(&again, &current), 0) << day;
    ASSERT_EQ(st.wDayOfWeek, (day + 1) % 7);
    ASSERT_TRUE(st.wDay == previousDay + 1 || st.wDay == 1);
    previousDay = st.wDay;
  }
}

TEST(FileTime, OutOfRangeFieldsAreRefused) {
  const SYSTEMTIME bad[] = {Make(1600, 12, 31), Make(2001, 2, 29), Make(2000, 13, 1), Make(2000, 4, 31),
                            Make(2000, 1, 1, 24), Make(2000, 1, 1, 0, 60), Make(2000, 1, 1, 0, 0, 60),
                            Make(2000, 1, 1, 0, 0, 0, 1000), Make(2000, 0, 1)};
  for (const auto& st : bad) {
    FILETIME ft{};
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  FILETIME huge = brambolt::FileTimeFromValue(0x8000000000000000ULL);
  SYSTEMTIME st{};
  EXPECT_FALSE(FileTimeToSystemTime(&huge, &st));
}

TEST(FileTime, CompareOrdersByBothHalves) {
  FILETIME a = brambolt::FileTimeFromValue(0x100000000ULL);
  FILETIME b = brambolt::FileTimeFromValue(0x0FFFFFFFFULL);
  EXPECT_EQ(CompareFileTime(&a, &b), 1);
  EXPECT_EQ(CompareFileTime(&b, &a), -1);
  EXPECT_EQ(CompareFileTime(&a, &a), 0);
}

// Sets TZ for one test and restores it.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZone() {
    if (had_)
      setenv("TZ", old_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  bool had_ = false;
  std::string old_;
};

ULONGLONG At(WORD y, WORD mo, WORD d, WORD h, WORD mi = 0) {
  SYSTEMTIME st = Make(y, mo, d, h, mi);
  FILETIME ft{};
  EXPECT_TRUE(SystemTimeToFileTime(&st, &ft));
  return brambolt::FileTimeToValue(ft);
}

constexpr ULONGLONG kHour = 36000000000ULL;

TEST(LocalTime, ConversionUsesTheOffsetOfTheInstant) {
  TimeZone zone("EST5EDT,M3.2.0,M11.1.0");
  const struct {
    ULONGLONG utc;
    ULONGLONG local;
  } cases[] = {{At(2021, 1, 15, 12), At(2021, 1, 15, 7)}, {At(2021, 7, 15, 12), At(2021, 7, 15, 8)}};
  for (const auto& c : cases) {
    FILETIME utc = brambolt::FileTimeFromValue(c.utc);
    FILETIME local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    EXPECT_EQ(brambolt::FileTimeToValue(local), c.local);
    FILETIME back{};
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(brambolt::FileTimeToValue(back), c.utc);
  }
  EXPECT_EQ(At(2021, 1, 15, 12) - At(2021, 1, 15, 7), 5 * kHour);
}

TEST(LocalTime, HalfHourZonesKeepTheirSign) {
  const struct {
    const char* zone;
    LONG bias;
  } cases[] = {{"IST-5:30", -330}, {"NST3:30", 210}, {"UTC0", 0}};
  for (const auto& c : cases) {
    TimeZone zone(c.zone);
    TIME_ZONE_INFORMATION info{};
    EXPECT_EQ(GetTimeZoneInformation(&info), static_cast<DWORD>(TIME_ZONE_ID_UNKNOWN)) << c.zone;
    EXPECT_EQ(info.Bias, c.bias) << c.zone;
    FILETIME utc = brambolt::FileTimeFromValue(At(2020, 6, 1, 12));
    FILETIME local{};
    FileTimeToLocalFileTime(&utc, &local);
    EXPECT_EQ(static_cast<long long>(brambolt::FileTimeToValue(utc) - brambolt::FileTimeToValue(local)),
              static_cast<long long>(c.bias) * 600000000LL)
        << c.zone;
  }
}

struct ChangeDate {
  WORD month, dayOfWeek, week, hour;
};

struct ZoneCase {
  const char* zone;
  LONG bias;
  const char16_t* standardName;
  const char16_t* daylightName;
  ChangeDate daylight;
  ChangeDate standard;
};

void ExpectChange(const SYSTEMTIME& actual, const ChangeDate& expected, const char* zone) {
  EXPECT_EQ(actual.wYear, 0) << zone;
  EXPECT_EQ(actual.wMonth, expected.month) << zone;
  EXPECT_EQ(actual.wDayOfWeek, expected.dayOfWeek) << zone;
  EXPECT_EQ(actual.wDay, expected.week) << zone;
  EXPECT_EQ(actual.wHour, expected.hour) << zone;
}

TEST(LocalTime, TimeZoneInformationDescribesDaylightSaving) {
  const ZoneCase cases[] = {
      // Second Sunday of March at 2:00 standard time, first Sunday of November at 2:00 daylight time.
      {"EST5EDT,M3.2.0/2,M11.1.0/2", 300, u"EST", u"EDT", {3, 0, 2, 2}, {11, 0, 1, 2}},
      // Southern hemisphere: daylight saving spans the new year.
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", -600, u"AEST", u"AEDT", {10, 0, 1, 2}, {4, 0, 1, 3}},
      // Last Sunday of March and of October.
      {"CET-1CEST,M3.5.0,M10.5.0/3", -60, u"CET", u"CEST", {3, 0, 5, 2}, {10, 0, 5, 3}},
  };
  for (const auto& c : cases) {
    TimeZone zone(c.zone);
    TIME_ZONE_INFORMATION info{};
    DWORD id = GetTimeZoneInformation(&info);
    EXPECT_TRUE(id == TIME_ZONE_ID_STANDARD || id == TIME_ZONE_ID_DAYLIGHT) << c.zone;
    EXPECT_EQ(info.Bias, c.bias) << c.zone;
    EXPECT_EQ(info.StandardBias, 0) << c.zone;
    EXPECT_EQ(info.DaylightBias, -60) << c.zone;
    EXPECT_EQ(std::u16string(info.StandardName), c.standardName);
    EXPECT_EQ(std::u16string(info.DaylightName), c.daylightName);
    ExpectChange(info.DaylightDate, c.daylight, c.zone);
    ExpectChange(info.StandardDate, c.standard, c.zone);
  }
}

TEST(LocalTime, ClockReadingsAgree) {
  TimeZone zone("UTC0");
  FILETIME before{};
  GetSystemTimeAsFileTime(&before);
  SYSTEMTIME system{};
  SYSTEMTIME local{};
  GetSystemTime(&system);
  GetLocalTime(&local);
  FILETIME after{};
  GetSystemTimeAsFileTime(&after);
  FILETIME fromSystem{};
  FILETIME fromLocal{};
  ASSERT_TRUE(SystemTimeToFileTime(&system, &fromSystem));
  ASSERT_TRUE(SystemTimeToFileTime(&local, &fromLocal));
  // Each reading lies between the two file times (to the millisecond the SYSTEMTIME keeps).
  const ULONGLONG millisecond = 10000;
  for (const FILETIME& reading : {fromSystem, fromLocal}) {
    EXPECT_GE(brambolt::FileTimeToValue(reading) + millisecond, brambolt::FileTimeToValue(before));
    EXPECT_LE(brambolt::FileTimeToValue(reading), brambolt::FileTimeToValue(after));
  }
}

}  // namespace
