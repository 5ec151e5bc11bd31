// Time formatting with fixed English names, and SYSTEMTIME from broken-down time.
#include "core/TimeSupport.h"

#include <cstdio>

namespace brambolt {

namespace {

const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

void AppendNumber(CString& out, long long nValue, int nWidth, bool bNoPad) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", bNoPad ? 1 : nWidth, nValue);
  out += buffer;
}

void AppendAbbreviation(CString& out, const char* lpszName) { out += CString(lpszName, 3); }

int WeekOfYear(const struct tm& time, int nFirstWeekday) {
  int nDaysSinceWeekStart = (time.tm_wday - nFirstWeekday + 7) % 7;
  return (time.tm_yday + 7 - nDaysSinceWeekStart) / 7;
}

CString ZoneName(const struct tm& time) {
  if (time.tm_zone != nullptr) return time.tm_zone;
  time_t now = std::time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  return local.tm_zone != nullptr ? local.tm_zone : "";
}

}  // namespace

CString FormatTime(LPCTSTR lpszFormat, const struct tm& time) {
  CString out;
  if (lpszFormat == nullptr) return out;
  int nWday = ((time.tm_wday % 7) + 7) % 7;
  int nMon = ((time.tm_mon % 12) + 12) % 12;
  long long nYear = 1900LL + time.tm_year;
  for (const char* p = lpszFormat; *p != '\0'; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    ++p;
    bool bAlternate = *p == '#';
    if (bAlternate && p[1] != '\0') ++p;
    switch (*p) {
      case 'a': AppendAbbreviation(out, kDayNames[nWday]); break;
      case 'A': out += kDayNames[nWday]; break;
      case 'b': AppendAbbreviation(out, kMonthNames[nMon]); break;
      case 'B': out += kMonthNames[nMon]; break;
      case 'c':
        out += FormatTime(bAlternate ? "%A, %B %#d, %Y, %H:%M:%S" : "%m/%d/%y %H:%M:%S", time);
        break;
      case 'x': out += FormatTime(bAlternate ? "%A, %B %#d, %Y" : "%m/%d/%y", time); break;
      case 'X': out += FormatTime("%H:%M:%S", time); break;
      case 'd': AppendNumber(out, time.tm_mday, 2, bAlternate); break;
      case 'H': AppendNumber(out, time.tm_hour, 2, bAlternate); break;
      case 'I': AppendNumber(out, (time.tm_hour + 11) % 12 + 1, 2, bAlternate); break;
      case 'j': AppendNumber(out, time.tm_yday + 1, 3, bAlternate); break;
      case 'm': AppendNumber(out, nMon + 1, 2, bAlternate); break;
      case 'M': AppendNumber(out, time.tm_min, 2, bAlternate); break;
      case 'p': out += time.tm_hour < 12 ? "AM" : "PM"; break;
      case 'S': AppendNumber(out, time.tm_sec, 2, bAlternate); break;
      case 'U': AppendNumber(out, WeekOfYear(time, 0), 2, bAlternate); break;
      case 'W': AppendNumber(out, WeekOfYear(time, 1), 2, bAlternate); break;
      case 'w': AppendNumber(out, nWday, 1, bAlternate); break;
      case 'y': AppendNumber(out, nYear % 100, 2, bAlternate); break;
      case 'Y': AppendNumber(out, nYear, 1, bAlternate); break;
      case 'z':
      case 'Z': out += ZoneName(time); break;
      case '%': out += '%'; break;
      default:  // not a code: kept as written
        out += '%';
        out += *p;
        break;
    }
  }
  return out;
}

void SystemTimeFromTm(const struct tm& time, SYSTEMTIME& systemTime) {
  systemTime.wYear = static_cast<WORD>(time.tm_year + 1900);
  systemTime.wMonth = static_cast<WORD>(time.tm_mon + 1);
  systemTime.wDayOfWeek = static_cast<WORD>(time.tm_wday);
  systemTime.wDay = static_cast<WORD>(time.tm_mday);
  systemTime.wHour = static_cast<WORD>(time.tm_hour);
  systemTime.wMinute = static_cast<WORD>(time.tm_min);
  systemTime.wSecond = static_cast<WORD>(time.tm_sec);
  systemTime.wMilliseconds = 0;
}

CString LoadFormat(UINT nFormatID) {
  CString strFormat;
  strFormat.LoadString(nFormatID);
  return strFormat;
}

CString FormatTimeSpan(LPCTSTR lpszFormat, long long nDays, int nHours, int nMinutes, int nSeconds) {
  CString out;
  if (lpszFormat == nullptr) return out;
  for (const char* p = lpszFormat; *p != '\0'; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    switch (*++p) {
      case 'D': AppendNumber(out, nDays, 1, false); break;
      case 'H': AppendNumber(out, nHours, 2, false); break;
      case 'M': AppendNumber(out, nMinutes, 2, false); break;
      case 'S': AppendNumber(out, nSeconds, 2, false); break;
      case '%': out += '%'; break;
      default:
        out += '%';
        out += *p;
        break;
    }
  }
  return out;
}

}  // namespace brambolt
