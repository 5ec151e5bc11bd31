// COleDateTime, a date as a day number (double) counted from 30 December 1899 with the time of
// day as the fraction, and COleDateTimeSpan, a signed number of days.
#pragma once

#include <ctime>

#include "base/base.h"
#include "core/CString.h"

typedef double DATE;

// Returned by the part getters of a date that is not valid.
#define AFX_OLE_DATETIME_ERROR (-1)
#define VAR_TIMEVALUEONLY (static_cast<DWORD>(0x00000001))
#define VAR_DATEVALUEONLY (static_cast<DWORD>(0x00000002))
#ifndef LANG_USER_DEFAULT
#define LANG_USER_DEFAULT 0x0400
#endif

class COleDateTimeSpan;

class COleDateTime {
 public:
  enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

  static COleDateTime GetCurrentTime();

  COleDateTime() = default;
  COleDateTime(DATE dtSrc) { *this = dtSrc; }
  COleDateTime(time_t timeSrc) { *this = timeSrc; }
  COleDateTime(const SYSTEMTIME& systimeSrc) { *this = systimeSrc; }
  COleDateTime(const FILETIME& filetimeSrc) { *this = filetimeSrc; }
  COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
  }

  // A day number outside 1 January 100 - 31 December 9999 makes the date invalid.
  const COleDateTime& operator=(DATE dtSrc);
  // A time_t is taken in local time.
  const COleDateTime& operator=(const time_t& timeSrc);
  const COleDateTime& operator=(const SYSTEMTIME& systimeSrc);
  // A FILETIME is taken as it is (UTC), without conversion to local time.
  const COleDateTime& operator=(const FILETIME& filetimeSrc);

  DateTimeStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeStatus status) { m_status = status; }
  operator DATE() const { return m_dt; }

  // The parts round the time to the nearest second; they are AFX_OLE_DATETIME_ERROR when the
  // date is not valid.
  BOOL GetAsSystemTime(SYSTEMTIME& sysTime) const;
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday
  int GetDayOfYear() const;  // 1 = 1 January

  // Return 0 and make the date valid, or return 1 and make it invalid for parts out of range.
  int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
  int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

  // Comparison and arithmetic follow time order, also before 1900 where the day number and the
  // time fraction have opposite signs.
  bool operator==(const COleDateTime& date) const;
  bool operator!=(const COleDateTime& date) const { return !(*this == date); }
  bool operator<(const COleDateTime& date) const;
  bool operator>(const COleDateTime& date) const { return date < *this; }
  bool operator<=(const COleDateTime& date) const { return !(date < *this); }
  bool operator>=(const COleDateTime& date) const { return !(*this < date); }

  COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
  COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
  const COleDateTime& operator+=(const COleDateTimeSpan& dateSpan);
  const COleDateTime& operator-=(const COleDateTimeSpan& dateSpan);
  COleDateTimeSpan operator-(const COleDateTime& date) const;

  // Without a format: "M/D/YYYY h:mm:ss AM" in US English, the time left out at midnight and the
  // date left out on 30 December 1899 (or as the VAR_ flags ask). DWORD and UINT are one type
  // here, so a format string resource is formatted with Format(CString(MAKEINTRESOURCE(id))).
  CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
  CString Format(LPCTSTR lpszFormat) const;

  DATE m_dt = 0;
  DateTimeStatus m_status = valid;

 private:
  bool GetParts(struct tm& parts) const;
  int GetPart(int tm::*pField, int nAdd) const;
};

class COleDateTimeSpan {
 public:
  enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

  COleDateTimeSpan() = default;
  COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc) {}
  COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs) { SetDateTimeSpan(lDays, nHours, nMins, nSecs); }

  DateTimeSpanStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeSpanStatus status) { m_status = status; }
  void SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);

  double GetTotalDays() const { return m_span; }
  double GetTotalHours() const { return m_span * 24; }
  double GetTotalMinutes() const { return m_span * 24 * 60; }
  double GetTotalSeconds() const { return m_span * 24 * 60 * 60; }
  // The parts round to the nearest second, truncate toward zero and carry the span's sign.
  long GetDays() const;
  long GetHours() const;
  long GetMinutes() const;
  long GetSeconds() const;

  operator double() const { return m_span; }
  const COleDateTimeSpan& operator=(double dblSpanSrc);

  bool operator==(const COleDateTimeSpan& dateSpan) const { return m_span == dateSpan.m_span; }
  bool operator!=(const COleDateTimeSpan& dateSpan) const { return m_span != dateSpan.m_span; }
  bool operator<(const COleDateTimeSpan& dateSpan) const { return m_span < dateSpan.m_span; }
  bool operator>(const COleDateTimeSpan& dateSpan) const { return m_span > dateSpan.m_span; }
  bool operator<=(const COleDateTimeSpan& dateSpan) const { return m_span <= dateSpan.m_span; }
  bool operator>=(const COleDateTimeSpan& dateSpan) const { return m_span >= dateSpan.m_span; }

  COleDateTimeSpan operator+(const COleDateTimeSpan& dateSpan) const;
  COleDateTimeSpan operator-(const COleDateTimeSpan& dateSpan) const;
  const COleDateTimeSpan& operator+=(const COleDateTimeSpan& dateSpan);
  const COleDateTimeSpan& operator-=(const COleDateTimeSpan& dateSpan);
  COleDateTimeSpan operator-() const;

  // %D total days, %H hours, %M minutes, %S seconds, %%.
  CString Format(LPCTSTR pFormat) const;
  CString Format(UINT nFormatID) const;

  double m_span = 0;
  DateTimeSpanStatus m_status = valid;

 private:
  long long RoundedSeconds() const;
};
