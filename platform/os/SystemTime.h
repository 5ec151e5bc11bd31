// System and local time, FILETIME and SYSTEMTIME conversions, and the time zone
// (CompareFileTime and the POSIX-time conversions are in os/FileApi.h).
#pragma once

#include "base/WinTypes.h"

typedef struct _TIME_ZONE_INFORMATION {
  LONG Bias;
  WCHAR StandardName[32];
  SYSTEMTIME StandardDate;
  LONG StandardBias;
  WCHAR DaylightName[32];
  SYSTEMTIME DaylightDate;
  LONG DaylightBias;
} TIME_ZONE_INFORMATION, *PTIME_ZONE_INFORMATION, *LPTIME_ZONE_INFORMATION;

#define TIME_ZONE_ID_INVALID 0xFFFFFFFF
#define TIME_ZONE_ID_UNKNOWN 0
#define TIME_ZONE_ID_STANDARD 1
#define TIME_ZONE_ID_DAYLIGHT 2

void GetSystemTime(LPSYSTEMTIME time);
void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTimeAsFileTime(LPFILETIME time);

// SYSTEMTIME covers 1601..30827; fields out of range (month 13, 30 February, hour 24 ...) fail
// with ERROR_INVALID_PARAMETER. wDayOfWeek is ignored on input and computed on output.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);

// These use the offset from UTC in force at the instant converted (Windows uses the current
// one, which is an hour off for instants on the other side of a daylight-saving change).
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);

// Bias in minutes (UTC = local time + bias) from the C library's zone; the change dates use the
// "day n of the month" form (wYear 0, wDay 1..5 = which occurrence of wDayOfWeek, 5 = last).
DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION info);

namespace brambolt {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
inline constexpr ULONGLONG kFileTimeUnixEpoch = 116444736000000000ULL;

// The proleptic Gregorian calendar: days since 1 January 1970 (negative before it) and back.
long long DaysFromCivil(long long year, int month, int day);
void CivilFromDays(long long days, int& year, int& month, int& day);
bool IsLeapYear(long long year);
int DaysInMonth(long long year, int month);

ULONGLONG FileTimeToValue(const FILETIME& time);
FILETIME FileTimeFromValue(ULONGLONG value);

}  // namespace brambolt
