// Time of day, the FILETIME calendar arithmetic and the time zone, from the C library.
#include "os/SystemTime.h"

#include <time.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/Convert.h"
#include "base/LastError.h"
#include "os/FileApi.h"

namespace {

constexpr ULONGLONG kTicksPerSecond = 10000000ULL;
constexpr ULONGLONG kTicksPerDay = kTicksPerSecond * 86400;
// 1 January 1601 in days from 1 January 1970.
constexpr long long kFileTimeEpochDay = -134774;

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

SYSTEMTIME FromTm(const tm& t, long nanoseconds) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.tm_year + 1900);
  st.wMonth = static_cast<WORD>(t.tm_mon + 1);
  st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
  st.wDay = static_cast<WORD>(t.tm_mday);
  st.wHour = static_cast<WORD>(t.tm_hour);
  st.wMinute = static_cast<WORD>(t.tm_min);
  st.wSecond = static_cast<WORD>(t.tm_sec > 59 ? 59 : t.tm_sec);
  st.wMilliseconds = static_cast<WORD>(nanoseconds / 1000000);
  return st;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

long OffsetAt(time_t instant) {
  tm t{};
  localtime_r(&instant, &t);
  return t.tm_gmtoff;
}

// Seconds since 1970, rounded towards the past.
time_t UnixSeconds(const FILETIME& time) {
  std::int64_t seconds = 0;
  long nanoseconds = 0;
  brambolt::UnixFromFileTime(time, seconds, nanoseconds);
  return static_cast<time_t>(seconds);
}

}  // namespace

namespace brambolt {

// The calendar counted from 1 March so that the leap day ends each year, in 400-year eras.
long long DaysFromCivil(long long year, int month, int day) {
  year -= month <= 2;
  long long era = FloorDiv(year, 400);
  long long yearOfEra = year - era * 400;
  long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(long long days, int& year, int& month, int& day) {
  days += 719468;
  long long era = FloorDiv(days, 146097);
  long long dayOfEra = days - era * 146097;
  long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  long long mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

bool IsLeapYear(long long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(long long year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

ULONGLONG FileTimeToValue(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeFromValue(ULONGLONG value) {
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)};
}

}  // namespace brambolt

void GetSystemTimeAsFileTime(LPFILETIME time) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  *time = brambolt::FileTimeFromUnix(now.tv_sec, now.tv_nsec);
}

void GetSystemTime(LPSYSTEMTIME time) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm t{};
  gmtime_r(&now.tv_sec, &t);
  *time = FromTm(t, now.tv_nsec);
}

void GetLocalTime(LPSYSTEMTIME time) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm t{};
  localtime_r(&now.tv_sec, &t);
  *time = FromTm(t, now.tv_nsec);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, LPFILETIME fileTime) {
  if (st == nullptr || fileTime == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  bool dateValid = st->wYear >= 1601 && st->wYear <= 30827 && st->wMonth >= 1 && st->wMonth <= 12 &&
                   st->wDay >= 1 && st->wDay <= brambolt::DaysInMonth(st->wYear, st->wMonth);
  bool timeValid = st->wHour <= 23 && st->wMinute <= 59 && st->wSecond <= 59 && st->wMilliseconds <= 999;
  if (!dateValid || !timeValid)
    return Fail(ERROR_INVALID_PARAMETER);
  long long days = brambolt::DaysFromCivil(st->wYear, st->wMonth, st->wDay) - kFileTimeEpochDay;
  ULONGLONG seconds = (st->wHour * 60ULL + st->wMinute) * 60ULL + st->wSecond;
  *fileTime = brambolt::FileTimeFromValue(static_cast<ULONGLONG>(days) * kTicksPerDay + seconds * kTicksPerSecond +
                                          st->wMilliseconds * 10000ULL);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME st) {
  if (fileTime == nullptr || st == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  ULONGLONG value = brambolt::FileTimeToValue(*fileTime);
  if (value >= 0x8000000000000000ULL) return Fail(ERROR_INVALID_PARAMETER);
  long long days = static_cast<long long>(value / kTicksPerDay);
  ULONGLONG rest = value % kTicksPerDay;
  int year = 0;
  int month = 0;
  int day = 0;
  brambolt::CivilFromDays(days + kFileTimeEpochDay, year, month, day);
  st->wYear = static_cast<WORD>(year);
  st->wMonth = static_cast<WORD>(month);
  st->wDay = static_cast<WORD>(day);
  st->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
  st->wHour = static_cast<WORD>(rest / (3600 * kTicksPerSecond));
  st->wMinute = static_cast<WORD>(rest / (60 * kTicksPerSecond) % 60);
  st->wSecond = static_cast<WORD>(rest / kTicksPerSecond % 60);
  st->wMilliseconds = static_cast<WORD>(rest / 10000 % 1000);
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
  if (fileTime == nullptr || localFileTime == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  tzset();
  long offset = OffsetAt(UnixSeconds(*fileTime));
  ULONGLONG value = brambolt::FileTimeToValue(*fileTime);
  ULONGLONG shift = static_cast<ULONGLONG>(offset * static_cast<long long>(kTicksPerSecond));
  *localFileTime = brambolt::FileTimeFromValue(value + shift);
  return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
  if (localFileTime == nullptr || fileTime == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  tzset();
  // The offset in force near the local time read as UTC gives the instant closely enough to
  // ask for the offset in force at that instant.
  time_t local = UnixSeconds(*localFileTime);
  long offset = OffsetAt(local - OffsetAt(local));
  ULONGLONG value = brambolt::FileTimeToValue(*localFileTime);
  ULONGLONG shift = static_cast<ULONGLONG>(offset * static_cast<long long>(kTicksPerSecond));
  *fileTime = brambolt::FileTimeFromValue(value - shift);
  return TRUE;
}

namespace {

// The instant in (from, to] at which daylight saving switches, found by bisection.
time_t FindChange(time_t from, time_t to) {
  int startDst = [&] {
    tm t{};
    localtime_r(&from, &t);
    return t.tm_isdst;
  }();
  while (to - from > 1) {
    time_t middle = from + (to - from) / 2;
    tm t{};
    localtime_r(&middle, &t);
    (t.tm_isdst == startDst ? from : to) = middle;
  }
  return to;
}

// The change date in "occurrence of a weekday in the month" form, in the local time in force
// just before the change.
SYSTEMTIME ChangeDate(time_t change) {
  time_t before = change - 1;
  tm t{};
  localtime_r(&before, &t);
  time_t wall = change + t.tm_gmtoff;
  tm local{};
  gmtime_r(&wall, &local);
  SYSTEMTIME date{};
  date.wMonth = static_cast<WORD>(local.tm_mon + 1);
  date.wDayOfWeek = static_cast<WORD>(local.tm_wday);
  int week = (local.tm_mday - 1) / 7 + 1;
  if (local.tm_mday + 7 > brambolt::DaysInMonth(local.tm_year + 1900, local.tm_mon + 1)) week = 5;
  date.wDay = static_cast<WORD>(week);
  date.wHour = static_cast<WORD>(local.tm_hour);
  date.wMinute = static_cast<WORD>(local.tm_min);
  return date;
}

void CopyName(WCHAR (&target)[32], const char* name) {
  std::u16string wide = brambolt::AnsiToWide(name != nullptr ? name : "", CP_UTF8);
  size_t n = std::min<size_t>(wide.size(), 31);
  std::memcpy(target, wide.data(), n * sizeof(WCHAR));
  target[n] = 0;
}

}  // namespace

DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION info) {
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return TIME_ZONE_ID_INVALID;
  }
  tzset();
  std::memset(info, 0, sizeof(*info));
  time_t now = time(nullptr);
  tm current{};
  localtime_r(&now, &current);
  // January and July of this year: one of them is standard time wherever daylight saving exists.
  tm probe{};
  probe.tm_year = current.tm_year;
  probe.tm_mday = 1;
  probe.tm_hour = 12;
  time_t january = timegm(&probe);
  probe.tm_mon = 6;
  time_t july = timegm(&probe);
  tm janTm{};
  tm julTm{};
  localtime_r(&january, &janTm);
  localtime_r(&july, &julTm);
  const tm& standard = janTm.tm_isdst > 0 ? julTm : janTm;
  const tm& daylight = janTm.tm_isdst > 0 ? janTm : julTm;
  info->Bias = -static_cast<LONG>(standard.tm_gmtoff / 60);
  CopyName(info->StandardName, standard.tm_zone);
  if (daylight.tm_isdst <= 0) {
    CopyName(info->DaylightName, standard.tm_zone);
    return TIME_ZONE_ID_UNKNOWN;
  }
  CopyName(info->DaylightName, daylight.tm_zone);
  info->DaylightBias = -static_cast<LONG>((daylight.tm_gmtoff - standard.tm_gmtoff) / 60);
  probe.tm_mon = 0;
  probe.tm_mday = 1;
  probe.tm_hour = 0;
  time_t yearStart = timegm(&probe);
  probe.tm_year += 1;
  time_t yearEnd = timegm(&probe);
  time_t first = FindChange(yearStart, july);
  time_t second = FindChange(july, yearEnd);
  bool northern = janTm.tm_isdst <= 0;
  info->DaylightDate = ChangeDate(northern ? first : second);
  info->StandardDate = ChangeDate(northern ? second : first);
  return current.tm_isdst > 0 ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}
