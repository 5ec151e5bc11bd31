// COleDateTime and COleDateTimeSpan. Day numbers before 30 December 1899 are negative while their
// time fraction still counts forward from midnight (-1.25 is 29 December 1899, 06:00), so
// arithmetic and comparison go through a linear form: whole day plus fraction.
#include "core/COleDateTime.h"

#include <cmath>

#include "core/TimeSupport.h"
#include "os/SystemTime.h"

namespace {

using brambolt::CivilFromDays;
using brambolt::DaysFromCivil;
using brambolt::DaysInMonth;

constexpr long long kSecondsPerDay = 24 * 60 * 60;
// Day numbers of 1 January 100 and 31 December 9999.
constexpr long long kMinDay = -657434;
constexpr long long kMaxDay = 2958465;
// Day number of 1 January 1970 (the day count of the C library's time_t).
constexpr long long kUnixEpochDay = 25569;

// The date value of a day number and the seconds into that day.
DATE DateFromDaySeconds(long long nDay, long long nSeconds) {
  double dblTime = static_cast<double>(nSeconds) / kSecondsPerDay;
  return static_cast<double>(nDay) + (nDay >= 0 ? dblTime : -dblTime);
}

// Splits a date value into its day number and the seconds into the day, rounded to the nearest
// second (a time within half a second of midnight belongs to the next day). False outside the range.
bool SplitDate(DATE dt, long long& nDay, long long& nSeconds) {
  if (!std::isfinite(dt)) return false;
  double dblWhole = std::trunc(dt);
  if (dblWhole < kMinDay - 1 || dblWhole > kMaxDay + 1) return false;
  nDay = static_cast<long long>(dblWhole);
  nSeconds = static_cast<long long>(std::floor(std::fabs(dt - dblWhole) * kSecondsPerDay + 0.5));
  if (nSeconds >= kSecondsPerDay) {
    nSeconds -= kSecondsPerDay;
    ++nDay;
  }
  return nDay >= kMinDay && nDay <= kMaxDay;
}

double LinearFromDate(DATE dt) {
  if (dt >= 0) return dt;
  double dblWhole = std::trunc(dt);
  return dblWhole + (dblWhole - dt);
}

DATE DateFromLinear(double dbl) {
  if (dbl >= 0) return dbl;
  double dblDay = std::floor(dbl);
  return dblDay - (dbl - dblDay);
}

COleDateTime::DateTimeStatus WorseStatus(int a, int b) {
  if (a == COleDateTime::null || b == COleDateTime::null) return COleDateTime::null;
  if (a != COleDateTime::valid || b != COleDateTime::valid) return COleDateTime::invalid;
  return COleDateTime::valid;
}

const char kInvalidDateTime[] = "Invalid DateTime";
const char kInvalidDateTimeSpan[] = "Invalid DateTimeSpan";

}  // namespace

COleDateTime COleDateTime::GetCurrentTime() { return COleDateTime(std::time(nullptr)); }

const COleDateTime& COleDateTime::operator=(DATE dtSrc) {
  long long nDay, nSeconds;
  m_dt = dtSrc;
  m_status = SplitDate(dtSrc, nDay, nSeconds) ? valid : invalid;
  return *this;
}

const COleDateTime& COleDateTime::operator=(const time_t& timeSrc) {
  struct tm local {};
  if (localtime_r(&timeSrc, &local) == nullptr)
    m_status = invalid;
  else
    SetDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return *this;
}

const COleDateTime& COleDateTime::operator=(const SYSTEMTIME& systimeSrc) {
  SetDateTime(systimeSrc.wYear, systimeSrc.wMonth, systimeSrc.wDay, systimeSrc.wHour, systimeSrc.wMinute,
              systimeSrc.wSecond);
  return *this;
}

const COleDateTime& COleDateTime::operator=(const FILETIME& filetimeSrc) {
  // 100-nanosecond ticks from 1 January 1601, that day being day number -109205.
  ULONGLONG nTicks = static_cast<ULONGLONG>(filetimeSrc.dwHighDateTime) << 32 | filetimeSrc.dwLowDateTime;
  long long nSeconds = static_cast<long long>(nTicks / 10000000ULL);
  long long nDay = -109205 + nSeconds / kSecondsPerDay;
  if (nDay > kMaxDay) {
    m_status = invalid;
  } else {
    m_dt = DateFromDaySeconds(nDay, nSeconds % kSecondsPerDay);
    m_status = valid;
  }
  return *this;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  bool bValid = nYear >= 100 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 &&
                nDay <= DaysInMonth(nYear, nMonth) && nHour >= 0 && nHour <= 23 && nMin >= 0 && nMin <= 59 &&
                nSec >= 0 && nSec <= 59;
  if (!bValid) return m_status = invalid;
  m_dt = DateFromDaySeconds(DaysFromCivil(nYear, nMonth, nDay) + kUnixEpochDay, nHour * 3600 + nMin * 60 + nSec);
  return m_status = valid;
}

bool COleDateTime::GetParts(struct tm& parts) const {
  long long nDay, nSeconds;
  if (m_status != valid || !SplitDate(m_dt, nDay, nSeconds)) return false;
  int y, m, d;
  long long nUnixDay = nDay - kUnixEpochDay;
  CivilFromDays(nUnixDay, y, m, d);
  parts = {};
  parts.tm_year = y - 1900;
  parts.tm_mon = m - 1;
  parts.tm_mday = d;
  parts.tm_hour = static_cast<int>(nSeconds / 3600);
  parts.tm_min = static_cast<int>(nSeconds / 60 % 60);
  parts.tm_sec = static_cast<int>(nSeconds % 60);
  parts.tm_wday = static_cast<int>(((nUnixDay + 4) % 7 + 7) % 7);  // 1 January 1970 was a Thursday
  parts.tm_yday = static_cast<int>(nUnixDay - DaysFromCivil(y, 1, 1));
  parts.tm_isdst = -1;
  return true;
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const {
  struct tm parts;
  if (!GetParts(parts)) return FALSE;
  brambolt::SystemTimeFromTm(parts, sysTime);
  return TRUE;
}

int COleDateTime::GetPart(int tm::*pField, int nAdd) const {
  struct tm parts;
  return GetParts(parts) ? parts.*pField + nAdd : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetYear() const { return GetPart(&tm::tm_year, 1900); }
int COleDateTime::GetMonth() const { return GetPart(&tm::tm_mon, 1); }
int COleDateTime::GetDay() const { return GetPart(&tm::tm_mday, 0); }
int COleDateTime::GetHour() const { return GetPart(&tm::tm_hour, 0); }
int COleDateTime::GetMinute() const { return GetPart(&tm::tm_min, 0); }
int COleDateTime::GetSecond() const { return GetPart(&tm::tm_sec, 0); }
int COleDateTime::GetDayOfWeek() const { return GetPart(&tm::tm_wday, 1); }
int COleDateTime::GetDayOfYear() const { return GetPart(&tm::tm_yday, 1); }

bool COleDateTime::operator==(const COleDateTime& date) const {
  return LinearFromDate(m_dt) == LinearFromDate(date.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& date) const {
  return LinearFromDate(m_dt) < LinearFromDate(date.m_dt);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const {
  COleDateTime result;
  result.m_status = WorseStatus(m_status, dateSpan.m_status);
  if (result.m_status == valid) result = DateFromLinear(LinearFromDate(m_dt) + dateSpan.m_span);
  return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const { return *this + -dateSpan; }

const COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& dateSpan) { return *this = *this + dateSpan; }

const COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& dateSpan) { return *this = *this - dateSpan; }

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const {
  COleDateTimeSpan span;
  span.m_status = static_cast<COleDateTimeSpan::DateTimeSpanStatus>(WorseStatus(m_status, date.m_status));
  if (span.m_status == COleDateTimeSpan::valid) span.m_span = LinearFromDate(m_dt) - LinearFromDate(date.m_dt);
  return span;
}

CString COleDateTime::Format(DWORD dwFlags, LCID) const {
  if (m_status == null) return CString();
  struct tm parts;
  if (!GetParts(parts)) return kInvalidDateTime;
  bool bMidnight = parts.tm_hour == 0 && parts.tm_min == 0 && parts.tm_sec == 0;
  bool bTimeOnly = (dwFlags & VAR_TIMEVALUEONLY) != 0 ||
                   ((dwFlags & VAR_DATEVALUEONLY) == 0 && parts.tm_year == -1 && parts.tm_mon == 11 && parts.tm_mday == 30);
  bool bDateOnly = (dwFlags & VAR_DATEVALUEONLY) != 0 || (!bTimeOnly && bMidnight);
  if (bTimeOnly) return brambolt::FormatTime("%#I:%M:%S %p", parts);
  if (bDateOnly) return brambolt::FormatTime("%#m/%#d/%Y", parts);
  return brambolt::FormatTime("%#m/%#d/%Y %#I:%M:%S %p", parts);
}

CString COleDateTime::Format(LPCTSTR lpszFormat) const {
  if (m_status == null) return CString();
  struct tm parts;
  if (!GetParts(parts)) return kInvalidDateTime;
  return brambolt::FormatTime(lpszFormat, parts);
}

void COleDateTimeSpan::SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs) {
  m_span = lDays + nHours / 24.0 + nMins / (24.0 * 60) + nSecs / (24.0 * 60 * 60);
  m_status = valid;
}

long long COleDateTimeSpan::RoundedSeconds() const { return std::llround(m_span * kSecondsPerDay); }

long COleDateTimeSpan::GetDays() const { return static_cast<long>(RoundedSeconds() / kSecondsPerDay); }
long COleDateTimeSpan::GetHours() const { return static_cast<long>(RoundedSeconds() / 3600 % 24); }
long COleDateTimeSpan::GetMinutes() const { return static_cast<long>(RoundedSeconds() / 60 % 60); }
long COleDateTimeSpan::GetSeconds() const { return static_cast<long>(RoundedSeconds() % 60); }

const COleDateTimeSpan& COleDateTimeSpan::operator=(double dblSpanSrc) {
  m_span = dblSpanSrc;
  m_status = valid;
  return *this;
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& dateSpan) const {
  COleDateTimeSpan result;
  result.m_status = static_cast<DateTimeSpanStatus>(WorseStatus(m_status, dateSpan.m_status));
  if (result.m_status == valid) result.m_span = m_span + dateSpan.m_span;
  return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& dateSpan) const { return *this + -dateSpan; }

const COleDateTimeSpan& COleDateTimeSpan::operator+=(const COleDateTimeSpan& dateSpan) {
  return *this = *this + dateSpan;
}

const COleDateTimeSpan& COleDateTimeSpan::operator-=(const COleDateTimeSpan& dateSpan) {
  return *this = *this - dateSpan;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const {
  COleDateTimeSpan result(*this);
  result.m_span = -m_span;
  return result;
}

CString COleDateTimeSpan::Format(LPCTSTR pFormat) const {
  if (m_status == null) return CString();
  if (m_status != valid) return kInvalidDateTimeSpan;
  return brambolt::FormatTimeSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

CString COleDateTimeSpan::Format(UINT nFormatID) const { return Format(brambolt::LoadFormat(nFormatID)); }
