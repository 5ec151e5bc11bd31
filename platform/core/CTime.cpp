// CTime and CTimeSpan: conversions through the C library's local-time rules and formatting.
#include "core/CTime.h"

#include "core/TimeSupport.h"

namespace {

// 100-nanosecond intervals from 1 January 1601 to 1 January 1970.
constexpr long long kFileTimeUnixEpoch = 116444736000000000LL;

time_t LocalToTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  struct tm local {};
  local.tm_year = nYear - 1900;
  local.tm_mon = nMonth - 1;
  local.tm_mday = nDay;
  local.tm_hour = nHour;
  local.tm_min = nMin;
  local.tm_sec = nSec;
  local.tm_isdst = nDST;
  return std::mktime(&local);
}

}  // namespace

CString CTimeSpan::Format(LPCTSTR pFormat) const {
  return brambolt::FormatTimeSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

CString CTimeSpan::Format(UINT nFormatID) const { return Format(brambolt::LoadFormat(nFormatID)); }

CTime CTime::GetCurrentTime() { return CTime(std::time(nullptr)); }

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
    : m_time(LocalToTime(nYear, nMonth, nDay, nHour, nMin, nSec, nDST)) {}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST)
    : CTime(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour, sysTime.wMinute, sysTime.wSecond, nDST) {}

CTime::CTime(const FILETIME& fileTime, int nDST) {
  long long nTicks = static_cast<long long>(static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32 |
                                            fileTime.dwLowDateTime);
  m_time = static_cast<time_t>((nTicks - kFileTimeUnixEpoch) / 10000000LL);
  if (nDST != -1) {
    // The caller states the daylight-saving flag of the local time: interpret the local
    // clock reading under that flag, as the framework does.
    struct tm local {};
    if (localtime_r(&m_time, &local) != nullptr)
      m_time = LocalToTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                           local.tm_sec, nDST);
  }
}

namespace {

thread_local struct tm t_brokenDownTime;

}  // namespace

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
  return localtime_r(&m_time, ptm != nullptr ? ptm : &t_brokenDownTime);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const { return gmtime_r(&m_time, ptm != nullptr ? ptm : &t_brokenDownTime); }

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const {
  struct tm local {};
  if (GetLocalTm(&local) == nullptr) return FALSE;
  brambolt::SystemTimeFromTm(local, timeDest);
  return TRUE;
}

int CTime::GetLocalPart(int tm::*pField, int nAdd) const {
  struct tm local {};
  return GetLocalTm(&local) != nullptr ? local.*pField + nAdd : -1;
}

int CTime::GetYear() const { return GetLocalPart(&tm::tm_year, 1900); }
int CTime::GetMonth() const { return GetLocalPart(&tm::tm_mon, 1); }
int CTime::GetDay() const { return GetLocalPart(&tm::tm_mday, 0); }
int CTime::GetHour() const { return GetLocalPart(&tm::tm_hour, 0); }
int CTime::GetMinute() const { return GetLocalPart(&tm::tm_min, 0); }
int CTime::GetSecond() const { return GetLocalPart(&tm::tm_sec, 0); }
int CTime::GetDayOfWeek() const { return GetLocalPart(&tm::tm_wday, 1); }

CString CTime::Format(LPCTSTR pFormat) const {
  struct tm local {};
  if (GetLocalTm(&local) == nullptr) return CString();
  return brambolt::FormatTime(pFormat, local);
}

CString CTime::Format(UINT nFormatID) const { return Format(brambolt::LoadFormat(nFormatID)); }

CString CTime::FormatGmt(LPCTSTR pFormat) const {
  struct tm gmt {};
  if (GetGmtTm(&gmt) == nullptr) return CString();
  return brambolt::FormatTime(pFormat, gmt);
}

CString CTime::FormatGmt(UINT nFormatID) const { return FormatGmt(brambolt::LoadFormat(nFormatID)); }
