// CTime, a moment as seconds since 1970 (UTC) shown in local time, and CTimeSpan, a signed
// number of seconds.
#pragma once

#include <ctime>

#include "base/base.h"
#include "core/CString.h"

class CTimeSpan {
 public:
  CTimeSpan() = default;
  CTimeSpan(time_t time) : m_timeSpan(time) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
      : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + 24 * static_cast<time_t>(lDays)))) {}

  // The parts truncate toward zero and carry the sign of the span.
  LONG GetDays() const { return static_cast<LONG>(m_timeSpan / (24 * 3600)); }
  LONG GetTotalHours() const { return static_cast<LONG>(m_timeSpan / 3600); }
  int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
  LONG GetTotalMinutes() const { return static_cast<LONG>(m_timeSpan / 60); }
  int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
  LONG GetTotalSeconds() const { return static_cast<LONG>(m_timeSpan); }
  int GetSeconds() const { return static_cast<int>(GetTotalSeconds() - GetTotalMinutes() * 60); }
  time_t GetTimeSpan() const { return m_timeSpan; }

  CTimeSpan operator-(CTimeSpan timeSpan) const { return m_timeSpan - timeSpan.m_timeSpan; }
  CTimeSpan operator+(CTimeSpan timeSpan) const { return m_timeSpan + timeSpan.m_timeSpan; }
  CTimeSpan operator-() const { return -m_timeSpan; }
  const CTimeSpan& operator+=(CTimeSpan timeSpan) {
    m_timeSpan += timeSpan.m_timeSpan;
    return *this;
  }
  const CTimeSpan& operator-=(CTimeSpan timeSpan) {
    m_timeSpan -= timeSpan.m_timeSpan;
    return *this;
  }
  bool operator==(CTimeSpan timeSpan) const { return m_timeSpan == timeSpan.m_timeSpan; }
  auto operator<=>(CTimeSpan timeSpan) const { return m_timeSpan <=> timeSpan.m_timeSpan; }

  // %D total days, %H hours, %M minutes, %S seconds, %%.
  CString Format(LPCTSTR pFormat) const;
  CString Format(UINT nFormatID) const;

 private:
  time_t m_timeSpan = 0;
};

class CTime {
 public:
  static CTime GetCurrentTime();

  CTime() = default;
  CTime(time_t time) : m_time(time) {}
  // Local time; nDST is 0 for standard time, 1 for daylight-saving time, -1 to let the date decide.
  // A moment that cannot be represented gives the time -1.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  CTime(const SYSTEMTIME& sysTime, int nDST = -1);
  // A FILETIME is UTC; with nDST -1 the moment is kept exactly.
  CTime(const FILETIME& fileTime, int nDST = -1);

  const CTime& operator=(time_t t) {
    m_time = t;
    return *this;
  }

  time_t GetTime() const { return m_time; }
  // Broken-down local / UTC time into *ptm, or without ptm into a buffer of the calling thread
  // that the next call overwrites; NULL when the time cannot be broken down.
  struct tm* GetLocalTm(struct tm* ptm = nullptr) const;
  struct tm* GetGmtTm(struct tm* ptm = nullptr) const;
  BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;

  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday

  CTimeSpan operator-(CTime time) const { return m_time - time.m_time; }
  CTime operator-(CTimeSpan timeSpan) const { return m_time - timeSpan.GetTimeSpan(); }
  CTime operator+(CTimeSpan timeSpan) const { return m_time + timeSpan.GetTimeSpan(); }
  const CTime& operator+=(CTimeSpan timeSpan) {
    m_time += timeSpan.GetTimeSpan();
    return *this;
  }
  const CTime& operator-=(CTimeSpan timeSpan) {
    m_time -= timeSpan.GetTimeSpan();
    return *this;
  }
  bool operator==(CTime time) const { return m_time == time.m_time; }
  auto operator<=>(CTime time) const { return m_time <=> time.m_time; }

  // strftime codes with English names, in local time or in UTC.
  CString Format(LPCTSTR pFormat) const;
  CString Format(UINT nFormatID) const;
  CString FormatGmt(LPCTSTR pFormat) const;
  CString FormatGmt(UINT nFormatID) const;

 private:
  int GetLocalPart(int tm::*pField, int nAdd) const;

  time_t m_time = 0;
};
