// What the time classes share: strftime-style formatting with the fixed English names (so the
// result never depends on the C library's locale) and broken-down time as SYSTEMTIME.
#pragma once

#include <ctime>

#include "core/CString.h"

namespace brambolt {

// Codes: %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X %y %Y %z %Z %%; a '#' after
// the '%' drops leading zeros from numbers and gives the long forms of %c and %x.
// Fields used: tm_year (any year, also before 1900), tm_mon, tm_mday, tm_hour, tm_min, tm_sec,
// tm_wday, tm_yday and, for %z/%Z, tm_zone (the local zone when it is NULL).
CString FormatTime(LPCTSTR lpszFormat, const struct tm& time);

// Span formatting: %D total days, %H hours, %M minutes, %S seconds (two digits each), %%.
CString FormatTimeSpan(LPCTSTR lpszFormat, long long nDays, int nHours, int nMinutes, int nSeconds);

// Copies year to second and the weekday of a broken-down time; milliseconds are 0.
void SystemTimeFromTm(const struct tm& time, SYSTEMTIME& systemTime);

// The format string resource nFormatID (empty when there is none).
CString LoadFormat(UINT nFormatID);

}  // namespace brambolt
