// The date-time control: the format turned into gadgets, the value broken into fields and put
// together again, field changes checked against the date and the range, pending edits of empty
// fields, keys, mouse, painting and the popup calendar.
#include "extracontrols/SECDateTimeCtrl.h"

#include <cmath>

#include "extracontrols/SECCalendar.h"
#include "foundation/SECLocaleNames.h"
#include "foundation/SECSysColors.h"

IMPLEMENT_DYNAMIC(SECDateTimeCtrl, CWnd)

BEGIN_MESSAGE_MAP(SECDateTimeCtrl, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_SYSKEYDOWN()
  ON_WM_CHAR()
  ON_WM_GETDLGCODE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CANCELMODE()
  ON_WM_ENABLE()
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETFONT, OnSetFont)
  ON_MESSAGE(WM_GETFONT, OnGetFont)
  ON_WM_SYSCOLORCHANGE()
  ON_WM_WININICHANGE()
  ON_WM_DESTROY()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(SECCAL_DATEOK, OnCalendarOK)
  ON_MESSAGE(SECCAL_CANCEL, OnCalendarCancel)
END_MESSAGE_MAP()

namespace {

constexpr double kHalfSecond = 5.787037037037037e-6;
constexpr double kFirstDay = -657434.0;  // 1 January 100
constexpr double kLastDay = 2958466.0;   // 1 January 10000
constexpr UINT kAllFields = 0xFFFF;
constexpr UINT kDateFields = 0x7E0;

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int MonthLength(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

int Wrap(int value, int count) { return ((value % count) + count) % count; }

// Fills in the weekday and the day of the year once year, month and day are known.
void Complete(SECDateTimeCtrl::Parts& p) {
  if (p.year < 0 || p.month < 0 || p.day < 0) {
    p.weekday = p.dayOfYear = -1;
    return;
  }
  COleDateTime date(p.year, p.month, p.day, 0, 0, 0);
  p.weekday = date.GetStatus() == COleDateTime::valid ? date.GetDayOfWeek() : -1;
  p.dayOfYear = date.GetStatus() == COleDateTime::valid ? date.GetDayOfYear() : -1;
}

void ClampDay(SECDateTimeCtrl::Parts& p) {
  if (p.year > 0 && p.month > 0 && p.day > 0) p.day = std::min(p.day, MonthLength(p.year, p.month));
}

// A date whose fields are all there but whose day its month lacks in that year (31 April, 29
// February 2023): typed field by field, the fields still to come may make it a date.
bool DayBeyondMonth(const SECDateTimeCtrl::Parts& p) {
  return p.year > 0 && p.month > 0 && p.day > 0 && p.hour >= 0 && p.minute >= 0 && p.second >= 0 &&
         p.day > MonthLength(p.year, p.month);
}

BOOL SetYear(SECDateTimeCtrl::Parts& p, int year) {
  if (year < 100 || year > 9999) return FALSE;
  p.year = year;
  return TRUE;
}

// Moves a complete date by whole days.
BOOL ShiftDays(SECDateTimeCtrl::Parts& p, int days) {
  if (p.weekday < 0) return FALSE;
  COleDateTime date(p.year, p.month, p.day, 0, 0, 0);
  date += COleDateTimeSpan(days, 0, 0, 0);
  SECDateTimeCtrl::Parts q;
  if (date.GetStatus() != COleDateTime::valid || !SECDateTimeCtrl::BreakDate(date.m_dt, q)) return FALSE;
  p.year = q.year;
  p.month = q.month;
  p.day = q.day;
  return TRUE;
}

}  // namespace

SECDateTimeCtrl::SECDateTimeCtrl()
    : m_datetime(COleDateTime::GetCurrentTime()), m_minDate(100, 1, 1, 0, 0, 0), m_maxDate(9999, 12, 31, 23, 59, 59) {
  m_clrBk = SECGetSysColors().m_clrWindow;
  m_clrText = SECGetSysColors().m_clrWindowText;
  SetFormat(ShortDate);
}

SECDateTimeCtrl::~SECDateTimeCtrl() {
  if (m_hWnd != nullptr) DestroyWindow();
  DestroyPopup();
  DeleteGadgets(0);
}

BOOL SECDateTimeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwExStyle) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
  if (!CreateEx(dwExStyle, lpszClass, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID)) return FALSE;
  if (m_hFont == nullptr) m_hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  DeleteGadgets(0);
  // The fixed gadgets lead the array and sit at the right edge.
  if ((dwStyle & SECDTS_DROPDOWN) != 0) {
    auto* pButton = new SECDTButtonGadget;
    pButton->Initialise(this, 0);
    m_gadgets.Add(pButton);
  }
  if ((dwStyle & SECDTS_SPIN) != 0) {
    auto* pSpin = new SECDTSpinGadget;
    pSpin->SECDTGadget::Initialise(this, -1);
    m_gadgets.Add(pSpin);
  }
  m_nFixed = GetGadgetCount();
  BuildGadgets();
  LayoutGadgets();
  UpdateGadgets(kAllFields);
  m_nCurGadget = -1;
  NextField();
  return TRUE;
}

// ---- format ----

BOOL SECDateTimeCtrl::SetFormat(FormatType type) {
  static const char* const kFormats[] = {"h:mm:ss tt", "M/d/yyyy", "dddd, MMMM dd, yyyy"};
  if (type == Custom) {
    m_nFormatType = Custom;
    return TRUE;
  }
  const BOOL bOk = SetFormat(kFormats[type]);
  m_nFormatType = type;
  return bOk;
}

BOOL SECDateTimeCtrl::SetFormat(LPCTSTR lpszFormat) {
  if (lpszFormat == nullptr || *lpszFormat == '\0') return FALSE;
  m_strFormat = lpszFormat;
  m_nFormatType = Custom;
  if (m_hWnd == nullptr) return TRUE;
  Cleanup();
  DeleteGadgets(m_nFixed);
  BuildGadgets();
  LayoutGadgets();
  UpdateGadgets(kAllFields);
  m_nCurGadget = -1;
  NextField();
  Invalidate();
  return TRUE;
}

void SECDateTimeCtrl::BuildGadgets() {
  const CString& f = m_strFormat;
  CString literal;
  auto flushLiteral = [&] {
    if (literal.IsEmpty()) return;
    auto* pStatic = new SECDTStaticGadget;
    pStatic->Initialise(this, literal);
    m_gadgets.Add(pStatic);
    literal.Empty();
  };
  auto addNumber = [&](int nID, int digits, BOOL bPad) {
    flushLiteral();
    auto* pNumber = new SECDTNumericGadget;
    pNumber->Initialise(this, digits, bPad, 0, nID);
    m_gadgets.Add(pNumber);
  };
  auto addList = [&](int nID, const CStringArray& items) {
    flushLiteral();
    auto* pList = new SECDTListGadget;
    pList->Initialise(this, items, 0, nID);
    m_gadgets.Add(pList);
  };
  auto names = [](CStringArray& items, BOOL bMonths, BOOL bFull) -> const CStringArray& {
    items.RemoveAll();
    for (int i = 1; i <= (bMonths ? 12 : 7); ++i) {
      CString name;
      const BOOL bOk = bMonths ? GetLocaleMonthName(name, i, bFull) : GetLocaleDayName(name, i, bFull);
      if (!bOk) name.Format("%d", i);
      items.Add(name);
    }
    return items;
  };
  CStringArray nameItems;
  for (int i = 0; i < f.GetLength();) {
    const char c = f[i];
    if (c == '\'') {
      // Quoted text; two quotes stand for one.
      int j = i + 1;
      for (; j < f.GetLength(); ++j) {
        if (f[j] != '\'') {
          literal += f[j];
        } else if (j + 1 < f.GetLength() && f[j + 1] == '\'') {
          literal += '\'';
          ++j;
        } else {
          break;
        }
      }
      i = j + 1;
      continue;
    }
    int run = 1;
    while (i + run < f.GetLength() && f[i + run] == c) ++run;
    switch (c) {
      case 'd':
        if (run >= 3) addList(SECDTF_WEEKDAY, names(nameItems, FALSE, run >= 4));
        else addNumber(SECDTF_DAY, 2, run == 2);
        break;
      case 'M':
        if (run >= 3) addList(SECDTF_MONTHNAME, names(nameItems, TRUE, run >= 4));
        else addNumber(SECDTF_MONTH, 2, run == 2);
        break;
      case 'y':
        if (run >= 3) addNumber(SECDTF_YEAR4, 4, TRUE);
        else addNumber(SECDTF_YEAR2, 2, TRUE);
        break;
      case 'h': addNumber(SECDTF_HOUR12, 2, run >= 2); break;
      case 'H': addNumber(SECDTF_HOUR24, 2, run >= 2); break;
      case 'm': addNumber(SECDTF_MINUTE, 2, run >= 2); break;
      case 's': addNumber(SECDTF_SECOND, 2, run >= 2); break;
      case 't': {
        CStringArray items;
        items.Add(run >= 2 ? "AM" : "A");
        items.Add(run >= 2 ? "PM" : "P");
        addList(SECDTF_AMPM, items);
        break;
      }
      default: literal += CString(c, run); break;
    }
    i += run;
  }
  flushLiteral();
  m_wEmpty[1] = 0;
  for (int i = m_nFixed; i < GetGadgetCount(); ++i)
    if (GetGadget(i)->GetID() > 0) m_wEmpty[1] = static_cast<WORD>(m_wEmpty[1] | GetGadget(i)->GetID());
}

void SECDateTimeCtrl::DeleteGadgets(int nFrom) {
  for (int i = GetGadgetCount() - 1; i >= nFrom; --i) {
    SECDTGadget* pGadget = GetGadget(i);
    if (m_pCapture == pGadget) CaptureFor(nullptr);
    delete pGadget;
    m_gadgets.RemoveAt(i);
  }
  if (m_nCurGadget >= GetGadgetCount()) m_nCurGadget = -1;
}

void SECDateTimeCtrl::LayoutGadgets() {
  if (m_hWnd == nullptr) return;
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(CFont::FromHandle(m_hFont));
  CRect client;
  GetClientRect(client);
  int right = client.right;
  for (int i = 0; i < m_nFixed; ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    pGadget->CalcSize(&dc);
    const int width = pGadget->m_rect.Width();
    pGadget->m_rect.SetRect(right - width, client.top, right, client.bottom);
    right -= width;
  }
  m_nRightMargin = client.right - right;
  int x = client.left + 1;
  for (int i = m_nFixed; i < GetGadgetCount(); ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    pGadget->CalcSize(&dc);
    const int width = pGadget->m_rect.Width();
    pGadget->m_rect.SetRect(x, client.top, x + width, client.bottom);
    x += width;
  }
  dc.SelectObject(pOld);
}

// ---- breaking dates into parts ----

BOOL SECDateTimeCtrl::BreakDate(DATE date, Parts& p) {
  if (!(date >= kFirstDay && date < kLastDay)) return FALSE;
  const double shifted = date + (date < 0 ? -kHalfSecond : kHalfSecond);
  const double whole = std::trunc(shifted);
  const long long seconds = static_cast<long long>(std::fabs(shifted - whole) * 86400.0);
  // Days counted from 1 March of year 0, split into 400-year eras, then centuries and 4-year
  // cycles inside the era.
  long long z = static_cast<long long>(whole) - 25569 + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  p.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  p.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  p.year = static_cast<int>(yoe + era * 400 + (p.month <= 2 ? 1 : 0));
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  Complete(p);
  return p.year >= 100 && p.year <= 9999;
}

UINT SECDateTimeCtrl::ChangedFields(const Parts& a, const Parts& b) {
  UINT mask = 0;
  if (a.hour != b.hour) mask |= 0x013;
  if (a.minute != b.minute) mask |= 0x004;
  if (a.second != b.second) mask |= 0x008;
  if (a.weekday != b.weekday) mask |= 0x040;
  if (a.day != b.day) mask |= 0x020;
  if (a.month != b.month) mask |= 0x180;
  if (a.year != b.year) mask |= 0x600;
  return mask;
}

SECDateTimeCtrl::Parts SECDateTimeCtrl::CurrentParts() const {
  if (m_bPending) return m_pending;
  Parts p;
  BreakDate(m_datetime.m_dt, p);
  return p;
}

BOOL SECDateTimeCtrl::PartsToDate(const Parts& p, COleDateTime& date) const {
  if (p.year < 0 || p.month < 0 || p.day < 0 || p.hour < 0 || p.minute < 0 || p.second < 0) return FALSE;
  return date.SetDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second) == 0;
}

// ---- the value ----

BOOL SECDateTimeCtrl::IsValid(const COleDateTime& date) const {
  Parts p;
  if (date.GetStatus() != COleDateTime::valid || !BreakDate(date.m_dt, p)) return FALSE;
  if (m_nRangeMode == NoCheck) return TRUE;
  auto reduce = [this](const COleDateTime& d) {
    Parts q;
    BreakDate(d.m_dt, q);
    switch (m_nRangeMode) {
      case TimeOnly: return COleDateTime(1899, 12, 30, q.hour, q.minute, q.second);
      case DateOnly: return COleDateTime(q.year, q.month, q.day, 0, 0, 0);
      default: return d;
    }
  };
  const COleDateTime value = reduce(date);
  return !(value < reduce(m_minDate)) && !(value > reduce(m_maxDate));
}

BOOL SECDateTimeCtrl::SetMinMax(const COleDateTime& minDate, const COleDateTime& maxDate, int nMode) {
  if (minDate.GetStatus() != COleDateTime::valid || maxDate.GetStatus() != COleDateTime::valid || maxDate < minDate)
    return FALSE;
  m_minDate = minDate;
  m_maxDate = maxDate;
  m_nRangeMode = nMode;
  return TRUE;
}

void SECDateTimeCtrl::SetFillChar(char ch) {
  m_chFill = ch;
  if (m_hWnd != nullptr) Invalidate();
}

BOOL SECDateTimeCtrl::SetDateTime(const COleDateTime& date) {
  Parts before, after;
  if (date.GetStatus() != COleDateTime::valid || !BreakDate(date.m_dt, after)) return FALSE;
  if (!m_bPending) BreakDate(m_datetime.m_dt, before);
  UINT mask = ChangedFields(before, after);
  if (m_bPending || m_datetime.GetStatus() != COleDateTime::valid) mask = kAllFields;
  m_bPending = FALSE;
  m_wEmpty[0] = 0;
  m_datetime = date;
  UpdateGadgets(mask);
  return TRUE;
}

void SECDateTimeCtrl::SetNull() {
  m_pending = CurrentParts();
  m_bPending = TRUE;
  m_wEmpty[0] = m_wEmpty[1];
  const WORD shown = m_wEmpty[1];
  if ((shown & (SECDTF_HOUR12 | SECDTF_HOUR24)) != 0) m_pending.hour = -1;
  if ((shown & SECDTF_MINUTE) != 0) m_pending.minute = -1;
  if ((shown & SECDTF_SECOND) != 0) m_pending.second = -1;
  if ((shown & SECDTF_DAY) != 0) m_pending.day = -1;
  if ((shown & (SECDTF_MONTH | SECDTF_MONTHNAME)) != 0) m_pending.month = -1;
  if ((shown & (SECDTF_YEAR2 | SECDTF_YEAR4)) != 0) m_pending.year = -1;
  Complete(m_pending);
  UpdateGadgets(kAllFields);
}

int SECDateTimeCtrl::FieldValue(int nID, const Parts& p) const {
  switch (nID) {
    case SECDTF_HOUR12: return p.hour < 0 ? -1 : (p.hour % 12 == 0 ? 12 : p.hour % 12);
    case SECDTF_HOUR24: return p.hour;
    case SECDTF_MINUTE: return p.minute;
    case SECDTF_SECOND: return p.second;
    case SECDTF_AMPM: return p.hour < 0 ? -1 : (p.hour >= 12 ? 1 : 0);
    case SECDTF_DAY: return p.day;
    case SECDTF_WEEKDAY: return p.weekday < 0 ? -1 : p.weekday - 1;
    case SECDTF_MONTH: return p.month;
    case SECDTF_MONTHNAME: return p.month < 0 ? -1 : p.month - 1;
    case SECDTF_YEAR2: return p.year < 0 ? -1 : p.year % 100;
    case SECDTF_YEAR4: return p.year;
    default: return -1;
  }
}

void SECDateTimeCtrl::UpdateGadgets(UINT nMask) {
  const Parts parts = CurrentParts();
  if (parts.hour >= 0) m_bPM = parts.hour > 11;
  for (int i = 0; i < GetGadgetCount(); ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    const int nID = pGadget->GetID();
    if (nID <= 0 || (static_cast<UINT>(nID) & nMask) == 0) continue;
    const int value = FieldValue(nID, parts);
    if (value < 0 && (m_bPending || (m_wEmpty[0] & m_wEmpty[1] & nID) != 0)) {
      pGadget->SetStyle(pGadget->GetStyle() | SECDTGadget::Empty);
      pGadget->Invalidate();
    } else {
      pGadget->SetStyle(pGadget->GetStyle() & ~SECDTGadget::Empty);
      pGadget->SetValue(value < 0 ? 0 : value);
    }
  }
}

BOOL SECDateTimeCtrl::IsLocked(int nID) const {
  if ((nID & (SECDTF_YEAR2 | SECDTF_YEAR4)) != 0) return (m_nLockBits & LockYear) != 0;
  if ((nID & (SECDTF_MONTH | SECDTF_MONTHNAME)) != 0) return (m_nLockBits & LockMonth) != 0;
  if ((nID & (SECDTF_DAY | SECDTF_WEEKDAY)) != 0) return (m_nLockBits & LockDay) != 0;
  if ((nID & 0x1F) != 0) return (m_nLockBits & LockTime) != 0;
  return TRUE;
}

BOOL SECDateTimeCtrl::ApplyField(int nID, int v, Parts& p) const {
  const bool bPM = p.hour >= 0 ? p.hour >= 12 : m_bPM != FALSE;
  switch (nID) {
    case SECDTF_HOUR12:
      if (v < 1 || v > 12) return FALSE;
      p.hour = v % 12 + (bPM ? 12 : 0);
      break;
    case SECDTF_HOUR24:
      if (v < 0 || v > 23) return FALSE;
      p.hour = v;
      break;
    case SECDTF_MINUTE:
    case SECDTF_SECOND:
      if (v < 0 || v > 59) return FALSE;
      (nID == SECDTF_MINUTE ? p.minute : p.second) = v;
      break;
    case SECDTF_AMPM:
      if (v < 0 || v > 1 || p.hour < 0) return FALSE;
      p.hour = p.hour % 12 + 12 * v;
      break;
    case SECDTF_DAY:
      if (v < 1 || v > 31) return FALSE;
      p.day = v;
      break;
    case SECDTF_WEEKDAY:
      if (v < 0 || v > 6 || !ShiftDays(p, v + 1 - p.weekday)) return FALSE;
      break;
    case SECDTF_MONTH:
    case SECDTF_MONTHNAME: {
      const int month = nID == SECDTF_MONTH ? v : v + 1;
      if (month < 1 || month > 12) return FALSE;
      p.month = month;
      break;
    }
    case SECDTF_YEAR2: {
      if (v < 0 || v > 99) return FALSE;
      const int century = p.year >= 0 ? p.year / 100 : COleDateTime::GetCurrentTime().GetYear() / 100;
      if (!SetYear(p, century * 100 + v)) return FALSE;
      break;
    }
    case SECDTF_YEAR4:
      if (!SetYear(p, v)) return FALSE;
      break;
    default: return FALSE;
  }
  Complete(p);
  return TRUE;
}

BOOL SECDateTimeCtrl::StepField(int nID, int n, Parts& p) const {
  switch (nID) {
    case SECDTF_HOUR12:
    case SECDTF_HOUR24:
      if (p.hour < 0) return ApplyField(nID, nID == SECDTF_HOUR12 ? 12 : 0, p);
      p.hour = Wrap(p.hour + n, 24);
      return TRUE;
    case SECDTF_MINUTE:
    case SECDTF_SECOND: {
      int& part = nID == SECDTF_MINUTE ? p.minute : p.second;
      part = part < 0 ? 0 : Wrap(part + n, 60);
      return TRUE;
    }
    case SECDTF_AMPM:
      if (p.hour < 0 || n % 2 == 0) return p.hour >= 0;
      p.hour = (p.hour + 12) % 24;
      return TRUE;
    case SECDTF_DAY:
      if (p.day < 0) return ApplyField(nID, 1, p);
      p.day = Wrap(p.day - 1 + n, p.year > 0 && p.month > 0 ? MonthLength(p.year, p.month) : 31) + 1;
      break;
    case SECDTF_WEEKDAY:
      if (!ShiftDays(p, n)) return FALSE;
      break;
    case SECDTF_MONTH:
    case SECDTF_MONTHNAME:
      p.month = p.month < 0 ? 1 : Wrap(p.month - 1 + n, 12) + 1;
      ClampDay(p);
      break;
    case SECDTF_YEAR2:
    case SECDTF_YEAR4:
      // A step keeps the day inside its month (29 February becomes the 28th).
      if (!SetYear(p, p.year < 0 ? COleDateTime::GetCurrentTime().GetYear() : p.year + n)) return FALSE;
      ClampDay(p);
      break;
    default: return FALSE;
  }
  Complete(p);
  return TRUE;
}

BOOL SECDateTimeCtrl::EdgeField(int nID, BOOL bLast, Parts& p) const {
  Parts q;
  switch (nID) {
    case SECDTF_HOUR12: {
      const bool bPM = p.hour >= 0 ? p.hour >= 12 : m_bPM != FALSE;
      p.hour = (bPM ? 12 : 0) + (bLast ? 11 : 0);
      return TRUE;
    }
    case SECDTF_HOUR24: p.hour = bLast ? 23 : 0; return TRUE;
    case SECDTF_MINUTE: p.minute = bLast ? 59 : 0; return TRUE;
    case SECDTF_SECOND: p.second = bLast ? 59 : 0; return TRUE;
    case SECDTF_AMPM: return ApplyField(nID, bLast ? 1 : 0, p);
    case SECDTF_DAY: {
      const int last = p.year > 0 && p.month > 0 ? MonthLength(p.year, p.month) : 28;
      return ApplyField(nID, bLast ? last : 1, p);
    }
    case SECDTF_WEEKDAY: return ApplyField(nID, bLast ? 6 : 0, p);
    case SECDTF_MONTH:
    case SECDTF_MONTHNAME: {
      const BOOL bOk = ApplyField(nID, (bLast ? 12 : 1) - (nID == SECDTF_MONTHNAME ? 1 : 0), p);
      ClampDay(p);
      Complete(p);
      return bOk;
    }
    case SECDTF_YEAR2:
    case SECDTF_YEAR4:
      BreakDate((bLast ? m_maxDate : m_minDate).m_dt, q);
      SetYear(p, q.year);
      ClampDay(p);
      Complete(p);
      return TRUE;
    default: return FALSE;
  }
}

BOOL SECDateTimeCtrl::AcceptParts(const Parts& parts, BOOL bNotify) {
  if (DayBeyondMonth(parts)) {
    // The fields keep what was typed, whatever order they are typed in; the value is invalid, and
    // the beep says so, until they make a date again.
    ::MessageBeep(static_cast<UINT>(-1));
    if (!m_bPending) m_wEmpty[0] = 0;
    m_bPending = TRUE;
  }
  if (m_bPending) {
    m_pending = parts;
    SetModified(TRUE);
    UpdateGadgets(kAllFields);
    CommitPending(bNotify);
    return TRUE;
  }
  COleDateTime date;
  if (!PartsToDate(parts, date) || !IsValid(date) || (bNotify && !OnChanging(date))) {
    ::MessageBeep(static_cast<UINT>(-1));
    UpdateGadgets(kAllFields);  // the fields show the value kept
    return FALSE;
  }
  SetModified(TRUE);
  SetDateTime(date);
  if (bNotify) OnChanged();
  return TRUE;
}

BOOL SECDateTimeCtrl::CommitPending(BOOL bNotify) {
  COleDateTime date;
  if (!PartsToDate(m_pending, date)) {
    // A field is still empty, or the day is one its month lacks: then there is no value.
    if (DayBeyondMonth(m_pending)) m_datetime.SetStatus(COleDateTime::invalid);
    return FALSE;
  }
  if (!IsValid(date)) {
    m_datetime.SetStatus(COleDateTime::invalid);
    return FALSE;
  }
  if (bNotify && !OnChanging(date)) return FALSE;
  m_bPending = FALSE;
  m_wEmpty[0] = 0;
  m_datetime = date;
  if (m_hWnd != nullptr) Invalidate();
  if (bNotify) OnChanged();
  UpdateGadgets(kAllFields);
  return TRUE;
}

BOOL SECDateTimeCtrl::Notify(UINT nCode, int nID, LPARAM lData) {
  Parts parts = CurrentParts();
  switch (nCode) {
    case SECDTN_INCREASE:
    case SECDTN_DECREASE:
    case SECDTN_SPINUP:
    case SECDTN_SPINDOWN: {
      if (nCode == SECDTN_SPINUP || nCode == SECDTN_SPINDOWN) {
        const SECDTGadget* pCurrent = GetCurrentGadget();
        if (pCurrent == nullptr) return FALSE;
        nID = pCurrent->GetID();
      }
      const int step = nCode == SECDTN_INCREASE ? 1
                       : nCode == SECDTN_DECREASE ? -1
                       : (nCode == SECDTN_SPINUP ? 1 : -1) * static_cast<int>(lData);
      if (IsLocked(nID) || !StepField(nID, step, parts)) {
        ::MessageBeep(static_cast<UINT>(-1));
        return FALSE;
      }
      return AcceptParts(parts, TRUE);
    }
    case SECDTN_CLICKED: return ShowCalendar();
    case SECDTN_MAYCHANGE: {
      if (IsLocked(nID) || !ApplyField(nID, static_cast<int>(lData), parts)) return FALSE;
      COleDateTime date;
      return m_bPending || (PartsToDate(parts, date) && IsValid(date)) || DayBeyondMonth(parts);
    }
    case SECDTN_CHANGED:
      if (IsLocked(nID) || !ApplyField(nID, static_cast<int>(lData), parts)) {
        UpdateGadgets(kAllFields);
        return FALSE;
      }
      return AcceptParts(parts, TRUE);
    case SECDTN_FIRST:
    case SECDTN_LAST:
      if (IsLocked(nID) || !EdgeField(nID, nCode == SECDTN_LAST, parts)) {
        ::MessageBeep(static_cast<UINT>(-1));
        return FALSE;
      }
      return AcceptParts(parts, TRUE);
    case SECDTN_TYPING: return TRUE;
    case SECDTN_NEXTFIELD: return NextField();
    default: return FALSE;
  }
}

// ---- fields ----

SECDTGadget* SECDateTimeCtrl::FindGadget(int nID) const {
  for (int i = 0; i < GetGadgetCount(); ++i)
    if (GetGadget(i)->GetID() == nID) return GetGadget(i);
  return nullptr;
}

SECDTGadget* SECDateTimeCtrl::GetCurrentGadget() const {
  return m_nCurGadget >= 0 && m_nCurGadget < GetGadgetCount() ? GetGadget(m_nCurGadget) : nullptr;
}

BOOL SECDateTimeCtrl::SetCurrentField(int nIndex) {
  if (nIndex < 0 || nIndex >= GetGadgetCount() || (GetGadget(nIndex)->GetStyle() & SECDTGadget::WantFocus) == 0)
    return FALSE;
  if (nIndex == m_nCurGadget) return TRUE;
  SECDTGadget* pOld = GetCurrentGadget();
  m_nCurGadget = nIndex;
  if (pOld != nullptr) pOld->SetFocus(FALSE);
  SECDTGadget* pNew = GetGadget(nIndex);
  if (m_hWnd != nullptr && ::GetFocus() == m_hWnd) pNew->SetFocus(TRUE);
  ScrollIntoView(pNew);
  return TRUE;
}

BOOL SECDateTimeCtrl::NextField() {
  for (int i = m_nCurGadget + 1; i < GetGadgetCount(); ++i)
    if ((GetGadget(i)->GetStyle() & SECDTGadget::WantFocus) != 0) return SetCurrentField(i);
  return FALSE;
}

BOOL SECDateTimeCtrl::PrevField() {
  for (int i = std::min(m_nCurGadget, GetGadgetCount()) - 1; i >= 0; --i)
    if ((GetGadget(i)->GetStyle() & SECDTGadget::WantFocus) != 0) return SetCurrentField(i);
  return FALSE;
}

void SECDateTimeCtrl::ScrollIntoView(SECDTGadget* pGadget) {
  if (m_hWnd == nullptr || (pGadget->GetStyle() & SECDTGadget::Fixed) != 0) return;
  CRect client;
  GetClientRect(client);
  const int visibleLeft = client.left + 1, visibleRight = client.right - 1 - m_nRightMargin;
  const int left = pGadget->m_rect.left - m_nXOrigin, right = pGadget->m_rect.right - m_nXOrigin;
  const int old = m_nXOrigin;
  if (left < visibleLeft)
    m_nXOrigin = pGadget->m_rect.left - visibleLeft;
  else if (right > visibleRight)
    m_nXOrigin += right - visibleRight;
  if (m_nXOrigin != old) Invalidate();
}

int SECDateTimeCtrl::HitTest(CPoint point) const {
  for (int i = 0; i < m_nFixed; ++i) {
    const SECDTGadget* pGadget = GetGadget(i);
    if ((pGadget->GetStyle() & 3) != 0 && pGadget->m_rect.PtInRect(point)) return i;
  }
  const int x = point.x + m_nXOrigin;
  int last = -1;
  for (int i = m_nFixed; i < GetGadgetCount(); ++i) {
    const SECDTGadget* pGadget = GetGadget(i);
    if ((pGadget->GetStyle() & 3) == 0) continue;
    if (pGadget->m_rect.right >= x) return i;
    last = i;
  }
  return last;
}

void SECDateTimeCtrl::InvalidateGadget(SECDTGadget* pGadget, BOOL bUpdate) {
  if (m_hWnd == nullptr) return;
  CRect rect = pGadget->m_rect;
  if ((pGadget->GetStyle() & SECDTGadget::Fixed) == 0) rect.OffsetRect(-m_nXOrigin, 0);
  InvalidateRect(rect, FALSE);
  if (bUpdate) UpdateWindow();
}

void SECDateTimeCtrl::CaptureFor(SECDTGadget* pGadget) {
  m_pCapture = pGadget;
  if (m_hWnd == nullptr) return;
  if (pGadget != nullptr)
    SetCapture();
  else if (::GetCapture() == m_hWnd)
    ::ReleaseCapture();
}

CString SECDateTimeCtrl::GetDisplayText() const {
  CString text;
  for (int i = 0; i < GetGadgetCount(); ++i) {
    const SECDTGadget* pGadget = GetGadget(i);
    CString part;
    pGadget->GetText(part);
    if ((pGadget->GetStyle() & SECDTGadget::Empty) != 0) part = CString(m_chFill, std::max(1, part.GetLength()));
    text += part;
  }
  return text;
}

// ---- the popup calendar ----

BOOL SECDateTimeCtrl::ShowCalendar() {
  if (m_pPopup != nullptr || m_hWnd == nullptr || (m_nLockBits & 7) == 7) return FALSE;
  m_pPopup = new SECPopupCalendar;
  m_pPopup->SetCalendarStyle(SECCS_DEFAULT | SECCS_RELEASECHOOSES);
  Parts parts = CurrentParts();
  if (parts.year > 0 && parts.month > 0) {
    int day = parts.day > 0 ? parts.day : 1;
    COleDateTime shown(parts.year, parts.month, day, 12, 0, 0);
    // A day the month lacks, as typed (29/02/2023), shows the month's last day: the nearest real date.
    while (shown.GetStatus() != COleDateTime::valid && day > 28) shown = COleDateTime(parts.year, parts.month, --day, 12, 0, 0);
    if (shown.GetStatus() == COleDateTime::valid) {
      m_pPopup->SetDate(shown, FALSE);
      if (parts.day > 0) m_pPopup->SetSelection(shown, TRUE);
    }
  }
  CRect rect;
  GetWindowRect(rect);
  if (!m_pPopup->Create(WS_BORDER | WS_VISIBLE | 1, rect, this, 0)) {
    DestroyPopup();
    return FALSE;
  }
  return TRUE;
}

void SECDateTimeCtrl::DestroyPopup() {
  if (m_pPopup == nullptr) return;
  SECPopupCalendar* pPopup = m_pPopup;
  m_pPopup = nullptr;
  if (pPopup->GetSafeHwnd() != nullptr) pPopup->DestroyWindow();
  delete pPopup;
}

LRESULT SECDateTimeCtrl::OnCalendarOK(WPARAM, LPARAM) {
  if (m_pPopup == nullptr) return 0;
  const COleDateTime chosen = m_pPopup->GetSelectedDate();
  if ((m_nLockBits & 7) != 7 && chosen.GetStatus() == COleDateTime::valid) {
    Parts parts = CurrentParts();
    if (!m_bPending) {
      COleDateTime date;
      if (date.SetDateTime(chosen.GetYear(), chosen.GetMonth(), chosen.GetDay(), parts.hour, parts.minute,
                           parts.second) == 0 &&
          date != m_datetime && IsValid(date) && OnChanging(date)) {
        SetModified(TRUE);
        SetDateTime(date);
        OnChanged();
      }
    } else {
      const COleDateTime day(chosen.GetYear(), chosen.GetMonth(), chosen.GetDay(), 0, 0, 0);
      if (IsValid(day) && OnChanging(day)) {
        m_pending.year = chosen.GetYear();
        m_pending.month = chosen.GetMonth();
        m_pending.day = chosen.GetDay();
        Complete(m_pending);
        UpdateGadgets(kDateFields);
        SetModified(TRUE);
        CommitPending(TRUE);
      }
    }
  }
  DestroyPopup();
  SetFocus();
  return 0;
}

LRESULT SECDateTimeCtrl::OnCalendarCancel(WPARAM, LPARAM) {
  const BOOL bHadPopup = m_pPopup != nullptr;
  DestroyPopup();
  if (bHadPopup) SetFocus();
  return 0;
}

// ---- messages ----

void SECDateTimeCtrl::Cleanup() {
  if (m_pCapture != nullptr) m_pCapture->OnCancelMode();
  CaptureFor(nullptr);
  DestroyPopup();
}

void SECDateTimeCtrl::OnDestroy() {
  Cleanup();
  CWnd::OnDestroy();
}

void SECDateTimeCtrl::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  NotifyParentOfFocus(SECDTN_SETFOCUS);
  if (m_bTabFields && ::GetKeyState(VK_TAB) < 0) {
    const bool bBack = ::GetKeyState(VK_SHIFT) < 0;
    int target = -1;
    for (int i = m_nFixed; i < GetGadgetCount(); ++i)
      if ((GetGadget(i)->GetStyle() & SECDTGadget::WantFocus) != 0 && (target < 0 || bBack)) target = i;
    if (target >= 0) {
      SECDTGadget* pOld = GetCurrentGadget();
      if (pOld != nullptr) pOld->SetFocus(FALSE);
      m_nCurGadget = target;
    }
  }
  SECDTGadget* pCurrent = GetCurrentGadget();
  if (pCurrent != nullptr) {
    pCurrent->SetFocus(TRUE);
    ScrollIntoView(pCurrent);
  }
}

void SECDateTimeCtrl::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  SECDTGadget* pCurrent = GetCurrentGadget();
  if (pCurrent != nullptr) pCurrent->SetFocus(FALSE);
  NotifyParentOfFocus(SECDTN_KILLFOCUS);
}

void SECDateTimeCtrl::NotifyParentOfFocus(UINT nCode) {
  CWnd* pParent = GetParent();
  if ((GetExStyle() & WS_EX_NOPARENTNOTIFY) != 0 || pParent == nullptr) return;
  pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), reinterpret_cast<LPARAM>(m_hWnd));
}

void SECDateTimeCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  switch (nChar) {
    case VK_LEFT: PrevField(); return;
    case VK_RIGHT: NextField(); return;
    case VK_F4:
      if ((GetStyle() & SECDTS_DROPDOWN) != 0) ShowCalendar();
      return;
    case VK_TAB:
      if (m_bTabFields) {
        const bool bBack = ::GetKeyState(VK_SHIFT) < 0;
        if (!(bBack ? PrevField() : NextField())) {
          HWND hParent = ::GetParent(m_hWnd);
          HWND hNext = hParent != nullptr ? ::GetNextDlgTabItem(hParent, m_hWnd, bBack) : nullptr;
          if (hNext != nullptr && hNext != m_hWnd) ::SetFocus(hNext);
        }
        return;
      }
      break;
    default: break;
  }
  SECDTGadget* pCurrent = GetCurrentGadget();
  if (pCurrent != nullptr)
    pCurrent->OnKeyDown(nChar);
  else
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECDateTimeCtrl::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_DOWN && (GetStyle() & SECDTS_DROPDOWN) != 0) {
    ShowCalendar();
    return;
  }
  CWnd::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

void SECDateTimeCtrl::OnChar(UINT nChar, UINT, UINT) {
  if (nChar == '\t' && m_bTabFields) return;
  // Typing the separator that follows the field moves on to the next field.
  if (m_nCurGadget >= 0 && m_nCurGadget + 1 < GetGadgetCount()) {
    auto* pStatic = dynamic_cast<SECDTStaticGadget*>(GetGadget(m_nCurGadget + 1));
    if (pStatic != nullptr) {
      CString text = pStatic->m_strText;
      text.Trim();
      if ((text.GetLength() == 1 && static_cast<UINT>(static_cast<BYTE>(text[0])) == nChar) ||
          (text.IsEmpty() && nChar == ' ')) {
        SECDTGadget* pCurrent = GetCurrentGadget();
        auto* pNumber = dynamic_cast<SECDTNumericGadget*>(pCurrent);
        if (pNumber == nullptr || pNumber->Commit()) NextField();
        return;
      }
    }
  }
  SECDTGadget* pCurrent = GetCurrentGadget();
  if (pCurrent != nullptr) pCurrent->OnChar(nChar);
}

UINT SECDateTimeCtrl::OnGetDlgCode() {
  return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_bTabFields ? DLGC_WANTTAB : 0);
}

void SECDateTimeCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  const int hit = HitTest(point);
  SetFocus();
  if (hit < 0) return;
  SECDTGadget* pGadget = GetGadget(hit);
  if ((pGadget->GetStyle() & SECDTGadget::WantFocus) != 0) SetCurrentField(hit);
  if ((pGadget->GetStyle() & SECDTGadget::WantMouse) != 0) {
    const int x = (pGadget->GetStyle() & SECDTGadget::Fixed) != 0 ? point.x : point.x + m_nXOrigin;
    pGadget->OnLButtonDown(nFlags, x, point.y);
  }
}

void SECDateTimeCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_pCapture == nullptr) {
    CWnd::OnLButtonUp(nFlags, point);
    return;
  }
  const int x = (m_pCapture->GetStyle() & SECDTGadget::Fixed) != 0 ? point.x : point.x + m_nXOrigin;
  m_pCapture->OnLButtonUp(nFlags, x, point.y);
}

void SECDateTimeCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_pCapture == nullptr) {
    CWnd::OnMouseMove(nFlags, point);
    return;
  }
  const int x = (m_pCapture->GetStyle() & SECDTGadget::Fixed) != 0 ? point.x : point.x + m_nXOrigin;
  m_pCapture->OnMouseMove(nFlags, x, point.y);
}

void SECDateTimeCtrl::OnCancelMode() {
  if (m_pCapture != nullptr)
    m_pCapture->OnCancelMode();
  else
    CWnd::OnCancelMode();
}

void SECDateTimeCtrl::OnEnable(BOOL) { Invalidate(); }

void SECDateTimeCtrl::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  LayoutGadgets();
  Invalidate();
}

LRESULT SECDateTimeCtrl::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = wParam != 0 ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LayoutGadgets();
  if (LOWORD(lParam) != 0) Invalidate();
  return 0;
}

LRESULT SECDateTimeCtrl::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }

void SECDateTimeCtrl::OnSysColorChange() {
  CWnd::OnSysColorChange();
  SECGetSysColors().Refresh();
  for (int i = 0; i < GetGadgetCount(); ++i) GetGadget(i)->OnSysColorChange();
  Invalidate();
}

void SECDateTimeCtrl::OnWinIniChange(LPCTSTR) {
  Cleanup();
  const int current = m_nCurGadget;
  DeleteGadgets(m_nFixed);
  BuildGadgets();
  LayoutGadgets();
  UpdateGadgets(kAllFields);
  if (current >= m_nFixed && current < GetGadgetCount() &&
      (GetGadget(current)->GetStyle() & (SECDTGadget::WantFocus | SECDTGadget::Fixed)) == SECDTGadget::WantFocus) {
    m_nCurGadget = -1;
    SetCurrentField(current);
  } else {
    m_nCurGadget = -1;
    NextField();
  }
  Invalidate();
}

void SECDateTimeCtrl::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if ((GetExStyle() & WS_EX_CLIENTEDGE) != 0 && !SECGetSysColors().m_bWin4) {
    ::InflateRect(&lpncsp->rgrc[0], -2, -2);
    return;
  }
  CWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
}

void SECDateTimeCtrl::OnNcPaint() {
  if ((GetExStyle() & WS_EX_CLIENTEDGE) == 0 || SECGetSysColors().m_bWin4) {
    Default();
    return;
  }
  CWindowDC dc(this);
  CRect rect;
  GetWindowRect(rect);
  rect.OffsetRect(-rect.left, -rect.top);
  const SECSysColors& colors = SECGetSysColors();
  dc.Draw3dRect(rect, colors.m_clrBtnShadow, colors.m_clrBtnHilite);
  rect.DeflateRect(1, 1);
  dc.Draw3dRect(rect, colors.m_clrWindowFrame, colors.m_clrBtnFace);
}

LRESULT SECDateTimeCtrl::OnGetText(WPARAM wParam, LPARAM lParam) {
  auto* buffer = reinterpret_cast<char*>(lParam);
  if (buffer == nullptr || wParam == 0 || m_datetime.GetStatus() != COleDateTime::valid) return 0;
  const CString text = GetDisplayText();
  const int length = std::min(text.GetLength(), static_cast<int>(wParam) - 1);
  memcpy(buffer, static_cast<LPCTSTR>(text), length);
  buffer[length] = '\0';
  return length;
}

LRESULT SECDateTimeCtrl::OnGetTextLength(WPARAM, LPARAM) {
  char buffer[1024];
  return OnGetText(sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
}

// ---- painting ----

BOOL SECDateTimeCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void SECDateTimeCtrl::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  const BOOL bEnabled = IsWindowEnabled();
  m_clrText = bEnabled ? SECGetSysColors().m_clrWindowText : ::GetSysColor(m_nDisabledTextIndex);
  m_clrBk = bEnabled ? SECGetSysColors().m_clrWindow : ::GetSysColor(m_nDisabledBkIndex);
  CDC memDC;
  CBitmap bitmap;
  if (!memDC.CreateCompatibleDC(&paint) || !bitmap.CreateCompatibleBitmap(&paint, client.Width(), client.Height()))
    return;
  CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
  if (m_bUseParentColors && GetParent() != nullptr) {
    GetParent()->SendMessage(bEnabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                             reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), reinterpret_cast<LPARAM>(m_hWnd));
    m_clrText = memDC.GetTextColor();
    m_clrBk = memDC.GetBkColor();
  }
  memDC.FillSolidRect(client, m_clrBk);
  memDC.SetTextColor(m_clrText);
  memDC.SetBkColor(m_clrBk);
  CFont* pOldFont = memDC.SelectObject(CFont::FromHandle(m_hFont));
  for (int i = m_nFixed; i < GetGadgetCount(); ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    const CRect saved = pGadget->m_rect;
    pGadget->m_rect.OffsetRect(-m_nXOrigin, 0);
    pGadget->Draw(&memDC);
    pGadget->m_rect = saved;
  }
  // The fixed gadgets stand on a clean background at the right edge.
  if (m_nRightMargin > 0)
    memDC.FillSolidRect(client.right - m_nRightMargin, 0, m_nRightMargin, client.Height(), m_clrBk);
  for (int i = 0; i < m_nFixed; ++i) GetGadget(i)->Draw(&memDC);
  paint.BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(pOldFont);
  memDC.SelectObject(pOldBitmap);
}
