// The month calendar: creation and layout, the page of 42 days, selection and highlighting,
// paging by span, keyboard and mouse, fitting the fonts; and the popup calendar.
#include "extracontrols/SECCalendar.h"

#include <algorithm>
#include <cmath>

#include "foundation/SECLocaleNames.h"
#include "foundation/SECSysColors.h"

IMPLEMENT_SERIAL(SECCalendar, CWnd, 0x100)
IMPLEMENT_SERIAL(SECPopupCalendar, SECCalendar, 0x100)

BEGIN_MESSAGE_MAP(SECCalendar, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
  ON_WM_KEYDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_CANCELMODE()
  ON_WM_NCHITTEST()
  ON_WM_SYSCOLORCHANGE()
  ON_MESSAGE(SECCAL_DATEOK, OnDateOK)
  ON_MESSAGE(SECCAL_CANCEL, OnCancelDate)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(SECPopupCalendar, SECCalendar)
  ON_WM_ACTIVATE()
END_MESSAGE_MAP()

namespace {

constexpr double kColumnEdges[8] = {0.0, 0.143, 0.286, 0.429, 0.572, 0.715, 0.858, 1.0};
constexpr double kRowEdges[7] = {0.25, 0.375, 0.5, 0.625, 0.75, 0.875, 1.0};
constexpr int kColorIndex[SECCalendar::ClrCount] = {COLOR_WINDOWTEXT, COLOR_BTNTEXT, COLOR_BTNTEXT, COLOR_BTNFACE,
                                                    COLOR_CAPTIONTEXT, COLOR_ACTIVECAPTION, COLOR_GRAYTEXT};

bool SameDay(const COleDateTime& a, const COleDateTime& b) {
  return a.GetStatus() == b.GetStatus() && a.m_dt == b.m_dt;
}

COleDateTime AtNoon(int year, int month, int day) { return COleDateTime(year, month, day, 12, 0, 0); }

CSize TextSize(CDC* pDC, CFont* pFont, const CString& text) {
  CFont* pOld = pDC->SelectObject(pFont);
  const CSize size = pDC->GetTextExtent(text);
  pDC->SelectObject(pOld);
  return size;
}

// Finds the largest font of the family of `lf` in which the probe fits `need(extent)`: the font
// grows by doubling while it fits, then shrinks by 5 % until it fits or becomes too small.
template <class Fits>
void FitFont(CDC* pDC, LOGFONT& lf, CFont& font, const CString& probe, Fits fits) {
  auto measure = [&](const LOGFONT& candidate) {
    CFont trial;
    if (!trial.CreateFontIndirect(&candidate)) return CSize(INT_MAX / 4, INT_MAX / 4);
    return TextSize(pDC, &trial, probe);
  };
  lf.lfHeight = std::max<LONG>(std::labs(lf.lfHeight), 2);
  for (int guard = 0; guard < 12 && fits(measure(lf)); ++guard) {
    lf.lfHeight *= 2;
    lf.lfWidth *= 2;
  }
  while (!fits(measure(lf))) {
    const LONG height = std::min<LONG>(lf.lfHeight - 1, static_cast<LONG>(lf.lfHeight * 0.95));
    const LONG width = lf.lfWidth == 0 ? 0 : std::min<LONG>(lf.lfWidth - 1, static_cast<LONG>(lf.lfWidth * 0.95));
    if (height < 2 || (lf.lfWidth != 0 && width < 2)) break;
    lf.lfHeight = height;
    lf.lfWidth = width;
  }
  font.DeleteObject();
  font.CreateFontIndirect(&lf);
}

}  // namespace

SECCalendar::SECCalendar() : m_dateDisplayed(AtNoon(1970, 1, 1)) {
  m_dayBar.m_pParent = this;
  m_title.m_pParent = this;
  m_title.m_pCalendar = this;
  m_dateSelected.SetStatus(COleDateTime::invalid);
  ResetColors();
}

SECCalendar::~SECCalendar() {
  if (m_hWnd != nullptr) DestroyWindow();
}

// ---- creation and layout ----

BOOL SECCalendar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  SECGetSysColors().Refresh();
  ResetColors();
  InitFonts();
  m_pOwnerWnd = m_pNotifyWnd = pParentWnd;
  LPCTSTR lpszClass = AfxRegisterWndClass(GetClassStyle(), ::LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
  // A popup stays a popup; anything else is a child of its parent.
  const DWORD dwWindowStyle = dwStyle | WS_CLIPCHILDREN | ((dwStyle & WS_POPUP) != 0 ? 0 : WS_CHILD);
  // A popup has no control id: the id slot would name a menu.
  const UINT nWindowID = (dwStyle & WS_POPUP) != 0 ? 0 : nID;
  if (!CreateEx(0, lpszClass, "SECCalendar", dwWindowStyle, rect, pParentWnd, nWindowID, lpParam)) return FALSE;
  if ((m_dwCalStyle & SECCS_SIZETOFIT) != 0) {
    CClientDC dc(this);
    CRect content;
    GetMinSize(content, &dc);
    CRect window = content;
    ::AdjustWindowRectEx(window, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  BOOL bParts = TRUE;
  const DWORD dwPanelStyle2 = m_dwCalStyle & (SECCS_PANELBEVEL | SECCS_PANELFRAME);
  for (SECDayBox& box : m_boxes) bParts = box.Create(CRect(), this, m_dwInMonthStyle, dwPanelStyle2) && bParts;
  bParts = m_dayBar.Create(CRect(), this, 0x17F & ~SECPS_SHOWSEL, 0) && bParts;
  m_dayBar.m_dwStyle |= SECPS_CENTER;
  m_title.m_bFullNames = (m_dwCalStyle & SECCS_FULLMONTHNAMES) != 0;
  m_dayBar.m_bFullNames = (m_dwCalStyle & SECCS_FULLDAYNAMES) != 0;
  m_dayBar.SetFirstDay(m_nFirstDay);
  bParts = m_title.Create(CRect(), this, (m_dwCalStyle & ~0xFFu) | SECPS_FILL | SECPS_CENTER,
                          dwPanelStyle2) && bParts;
  if (m_dateDisplayed.m_dt == 0) {
    m_dateDisplayed = COleDateTime::GetCurrentTime();
    Normalize(m_dateDisplayed);
  }
  SetDate(m_dateDisplayed, FALSE);
  if (bParts) {
    LayoutParts();
    if ((m_dwCalStyle & SECCS_FITFONTS) != 0) FitFonts();
    ApplyColors();
  }
  m_bCreated = TRUE;
  UpdateWindow();
  SetFocus();
  return bParts;
}

void SECCalendar::ResetColors() {
  for (int i = 0; i < ClrCount; ++i) m_colors[i] = ::GetSysColor(kColorIndex[i]);
}

void SECCalendar::ApplyColors() {
  m_title.m_clrText = m_colors[ClrTitleText];
  m_title.m_clrBk = m_colors[ClrTitleBk];
  m_dayBar.m_clrText = m_colors[ClrDayBarText];
  m_dayBar.m_clrBk = m_colors[ClrDayBarBk];
  m_title.m_clrDimText = m_dayBar.m_clrDimText = m_colors[ClrDimText];
  for (SECDayBox& box : m_boxes) {
    box.m_clrText = m_colors[ClrDayText];
    box.m_clrDimText = m_colors[ClrDimText];
    box.m_clrBk = SECGetSysColors().m_clrWindow;
  }
}

void SECCalendar::InitFonts() {
  LOGFONT lf{};
  CFont::FromHandle(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)))->GetLogFont(&lf);
  ::lstrcpyn(lf.lfFaceName, "Arial", LF_FACESIZE);
  lf.lfQuality = DRAFT_QUALITY;
  m_lfTitle = m_lfDayBar = m_lfDayBox = lf;
  m_lfTitle.lfHeight *= 2;
  m_lfTitle.lfWidth *= 2;
  m_lfTitle.lfOutPrecision = OUT_STRING_PRECIS;
  m_lfTitle.lfPitchAndFamily = VARIABLE_PITCH;
  m_lfDayBar.lfOutPrecision = m_lfDayBox.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  const struct {
    CFont* font;
    LOGFONT* lf;
  } fonts[3] = {{&m_fontTitle, &m_lfTitle}, {&m_fontDayBar, &m_lfDayBar}, {&m_fontDayBox, &m_lfDayBox}};
  for (const auto& f : fonts) {
    f.font->DeleteObject();
    f.font->CreateFontIndirect(f.lf);
  }
}

void SECCalendar::LayoutParts() {
  CRect client;
  GetClientRect(client);
  const int W = client.Width(), H = client.Height();
  const int titleBottom = client.top + static_cast<int>(0.175 * (H - 1));
  const int barBottom = client.top + static_cast<int>(0.25 * (H - 1));
  m_title.SetRect(CRect(client.left, client.top, client.right - 1, titleBottom));
  m_dayBar.SetRect(CRect(client.left, titleBottom, client.right - 1, barBottom));
  for (int i = 0; i < 42; ++i) {
    const int col = i % 7, row = i / 7;
    m_boxes[i].SetRect(CRect(static_cast<int>(W * kColumnEdges[col]), static_cast<int>(H * kRowEdges[row]),
                             static_cast<int>(W * kColumnEdges[col + 1]) - 1,
                             static_cast<int>(H * kRowEdges[row + 1]) - 1));
  }
}

void SECCalendar::FitFonts() {
  CClientDC dc(this);
  const bool bButtons = (m_dwCalStyle & (SECCS_MONTHBUTTONS | SECCS_YEARBUTTONS)) != 0;
  const CRect title = m_title.GetRect(), bar = m_dayBar.GetRect(), box = m_boxes[0].GetRect();
  FitFont(&dc, m_lfTitle, m_fontTitle, m_title.GetProbeText(), [&](CSize s) {
    return s.cx * (bButtons ? 2.2 : 1.2) <= title.Width() && s.cy * 1.2 <= title.Height();
  });
  // The widest weekday name must fit one seventh of the bar.
  CString wide;
  for (int c = 1; c <= 7; ++c) {
    const CString name = m_dayBar.GetDayName(c);
    if (TextSize(&dc, &m_fontDayBar, name).cx > TextSize(&dc, &m_fontDayBar, wide).cx) wide = name;
  }
  FitFont(&dc, m_lfDayBar, m_fontDayBar, wide, [&](CSize s) {
    return s.cx * 1.2 <= bar.Width() / 7.0 && s.cy * 1.2 <= bar.Height();
  });
  FitFont(&dc, m_lfDayBox, m_fontDayBox, "88",
          [&](CSize s) { return s.cx * 1.25 <= box.Width() && s.cy * 1.25 <= box.Height(); });
}

void SECCalendar::GetMinSize(CRect& rect, CDC* pDC) {
  const bool bButtons = (m_dwCalStyle & (SECCS_MONTHBUTTONS | SECCS_YEARBUTTONS)) != 0;
  m_title.m_bFullNames = (m_dwCalStyle & SECCS_FULLMONTHNAMES) != 0;
  m_dayBar.m_bFullNames = (m_dwCalStyle & SECCS_FULLDAYNAMES) != 0;
  const CSize title = TextSize(pDC, &m_fontTitle, m_title.GetProbeText());
  const int titleWidth = static_cast<int>(title.cx * (bButtons ? 2.2 : 1.2));
  const int titleHeight = static_cast<int>(title.cy * 1.2);
  CString wednesday;
  if (!GetLocaleDayName(wednesday, 4, m_dayBar.m_bFullNames)) wednesday = "Wed";
  const CSize bar = TextSize(pDC, &m_fontDayBar, wednesday);
  const CSize digits = TextSize(pDC, &m_fontDayBox, "88");
  const double factor = (m_dwInMonthStyle & SECPS_CENTER) != 0 ? 1.25 : 1.25 * 1.5;
  const int borders = 2 * (m_boxes[0].m_nBorderX + 1);
  const int boxWidth = std::max(static_cast<int>(digits.cx * factor), digits.cx + borders);
  const int boxHeight = std::max(static_cast<int>(digits.cy * factor), digits.cy + borders);
  const int width = std::max({7 * boxWidth, titleWidth, 7 * bar.cx});
  rect.SetRect(0, 0, width, titleHeight + bar.cy + 6 * boxHeight);
}

void SECCalendar::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (!m_bCreated || cx <= 0 || cy <= 0) return;
  LayoutParts();
  if ((m_dwCalStyle & SECCS_FITFONTS) != 0) FitFonts();
  Invalidate();
}

// ---- the page ----

BOOL SECCalendar::IsValidDate(int nYear, int nMonth, int) const {
  return (nYear > 100 && nYear < 9999) || (nYear == 9999 && nMonth < 12) || (nYear == 100 && nMonth > 1);
}

void SECCalendar::Normalize(COleDateTime& date) const {
  if (date.GetStatus() != COleDateTime::valid) return;
  date.SetDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 12, 0, 0);
}

void SECCalendar::OnInvalidDate() { ::MessageBeep(MB_ICONEXCLAMATION); }

BOOL SECCalendar::SetDate(const COleDateTime& date, BOOL bRedraw) {
  if ((m_bCreated && (m_dwCalStyle & SECCS_FIXEDPAGE) != 0) || date.GetStatus() != COleDateTime::valid ||
      !IsValidDate(date.GetYear(), date.GetMonth(), date.GetDay())) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
  }
  m_dateDisplayed = date;
  Normalize(m_dateDisplayed);
  m_title.SetDate(m_dateDisplayed);
  FillPage();
  if (bRedraw && m_hWnd != nullptr) {
    Invalidate();
    UpdateWindow();
  }
  return TRUE;
}

void SECCalendar::FillPage() {
  const COleDateTimeSpan oneDay(1, 0, 0, 0);
  COleDateTime walk = m_dateDisplayed;
  while (walk.GetDay() != 1) walk -= oneDay;
  while (walk.GetDayOfWeek() != m_nFirstDay) walk -= oneDay;
  m_dateFocus = m_dateDisplayed;
  const COleDateTime today = [this] {
    COleDateTime now = COleDateTime::GetCurrentTime();
    Normalize(now);
    return now;
  }();
  m_pSelectedBox = nullptr;
  bool bInMonth = false;
  for (SECDayBox& box : m_boxes) {
    if (walk.GetDay() == 1) bInMonth = !bInMonth;
    box.SetDate(walk);
    box.m_bOutside = !bInMonth;
    box.m_dwStyle = bInMonth ? m_dwInMonthStyle : m_dwOutMonthStyle;
    box.SetGrayed(!bInMonth);
    box.SetHighlighted(IsHighlighted(walk));
    box.m_bMarked = SameDay(walk, today);
    if (m_pSelected != nullptr && SameDay(walk, *m_pSelected)) {
      box.SetSelected(TRUE);
      m_pSelectedBox = &box;
      m_dateFocus = *m_pSelected;
    } else {
      box.SetSelected(FALSE);
    }
    walk += oneDay;
  }
}

SECDayBox* SECCalendar::FindBox(const COleDateTime& date) {
  for (SECDayBox& box : m_boxes)
    if (SameDay(box.GetDate(), date)) return &box;
  return nullptr;
}

SECDayBox* SECCalendar::DayBoxFromPoint(CPoint point) {
  for (SECDayBox& box : m_boxes) {
    const CRect& r = box.GetRect();
    // The rectangles end one pixel short of the next cell; that pixel belongs to the cell.
    if (point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom) return &box;
  }
  return nullptr;
}

void SECCalendar::SetFirstDayOfWeek(int nDay, BOOL bRedraw) {
  if (nDay < 1 || nDay > 7) return;
  m_nFirstDay = nDay;
  m_dayBar.SetFirstDay(nDay);
  FillPage();
  if (bRedraw && m_hWnd != nullptr) Invalidate();
}

COleDateTime SECCalendar::GetSelectedDate() const {
  if (m_pSelectedBox != nullptr) return m_pSelectedBox->GetDate();
  COleDateTime none;
  none.SetStatus(COleDateTime::invalid);
  return none;
}

void SECCalendar::NotifyParent(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pNotifyWnd != nullptr && m_pNotifyWnd->GetSafeHwnd() != nullptr)
    m_pNotifyWnd->PostMessage(message, wParam, lParam);
}

// ---- selection and highlighting ----

BOOL SECCalendar::SetSelection(const COleDateTime& dateIn, BOOL bOn) {
  if (dateIn.GetStatus() != COleDateTime::valid || !IsValidDate(dateIn.GetYear(), dateIn.GetMonth(), dateIn.GetDay()))
    return FALSE;
  const COleDateTime date = Normalized(dateIn);
  if (bOn) {
    m_dateSelected = m_dateFocus = date;
    m_pSelected = &m_dateSelected;
  } else {
    m_pSelected = nullptr;
  }
  bool bChoose = false;
  m_pSelectedBox = nullptr;  // at most the box of this date stays selected
  for (SECDayBox& box : m_boxes) {
    if (SameDay(box.GetDate(), date)) {
      box.SetSelected(bOn);
      m_pSelectedBox = bOn ? &box : nullptr;
      if (m_bCreated) {
        NotifyParent(SECCAL_SELCHANGE, bOn, reinterpret_cast<LPARAM>(&box));
        bChoose = bOn && (m_dwCalStyle & SECCS_SELECTCHOOSES) != 0;
      }
    } else if (box.IsSelected()) {
      box.SetSelected(FALSE);
    }
  }
  if (m_hWnd != nullptr) Invalidate();
  if (m_bCreated) {
    SetFocus();
    if (bChoose) Choose();
  }
  return TRUE;
}

COleDateTime SECCalendar::Normalized(const COleDateTime& date) const {
  COleDateTime noon = date;
  Normalize(noon);
  return noon;
}

BOOL SECCalendar::ToggleSelection(const COleDateTime& dateIn) {
  const COleDateTime date = Normalized(dateIn);
  SECDayBox* pBox = FindBox(date);
  if (pBox == nullptr) return FALSE;
  // Selecting also chooses the date under SECCS_SELECTCHOOSES (SetSelection does that).
  return SetSelection(date, !pBox->IsSelected());
}

BOOL SECCalendar::IsHighlighted(const COleDateTime& date) const {
  for (const COleDateTime& stored : m_highlights) {
    if (stored > date) break;
    if (SameDay(stored, date)) return TRUE;
  }
  return FALSE;
}

BOOL SECCalendar::SetHighlight(const COleDateTime& dateIn, BOOL bOn) {
  if (dateIn.GetStatus() != COleDateTime::valid) return FALSE;
  const COleDateTime date = Normalized(dateIn);
  for (SECDayBox& box : m_boxes) {
    if (!SameDay(box.GetDate(), date)) continue;
    box.SetHighlighted(bOn);
    NotifyParent(SECCAL_HILIGHT, bOn, reinterpret_cast<LPARAM>(&box));
  }
  auto at = std::lower_bound(m_highlights.begin(), m_highlights.end(), date);
  if (bOn) {
    if (at == m_highlights.end() || !SameDay(*at, date)) m_highlights.insert(at, date);
  } else {
    m_highlights.erase(std::remove_if(m_highlights.begin(), m_highlights.end(),
                                      [&](const COleDateTime& d) { return SameDay(d, date); }),
                       m_highlights.end());
  }
  if (m_hWnd != nullptr) Invalidate();
  return TRUE;
}

BOOL SECCalendar::ToggleHighlight(const COleDateTime& dateIn) {
  const COleDateTime date = Normalized(dateIn);
  SECDayBox* pBox = FindBox(date);
  return pBox != nullptr && SetHighlight(date, !pBox->IsHighlighted());
}

int SECCalendar::SetDayValue(const COleDateTime& dateIn, int nValue) {
  SECDayBox* pBox = FindBox(Normalized(dateIn));
  return pBox != nullptr ? pBox->SetDayValue(nValue) : 255;
}

BOOL SECCalendar::SetHighlight(time_t date, BOOL bOn) { return SetHighlight(COleDateTime(date), bOn); }
BOOL SECCalendar::SetSelection(time_t date, BOOL bOn) { return SetSelection(COleDateTime(date), bOn); }
BOOL SECCalendar::ToggleSelection(time_t date) { return ToggleSelection(COleDateTime(date)); }
BOOL SECCalendar::ToggleHighlight(time_t date) { return ToggleHighlight(COleDateTime(date)); }
int SECCalendar::SetDayValue(time_t date, int nValue) { return SetDayValue(COleDateTime(date), nValue); }

// ---- paging ----

BOOL SECCalendar::SpanInRange(const COleDateTime& base, const COleDateTimeSpan& span) const {
  const long days = span.GetDays();
  const long years = days / 365, months = (days % 365) / 28, rest = (days % 365) % 28;
  return IsValidDate(base.GetYear() + years, base.GetMonth() + months, base.GetDay() + rest);
}

BOOL SECCalendar::AdvancePage(const COleDateTimeSpan& span) {
  if (!SpanInRange(m_dateDisplayed, span)) {
    OnInvalidDate();
    return FALSE;
  }
  return SetDate(m_dateDisplayed + span, TRUE);
}

BOOL SECCalendar::AdvanceSelection(const COleDateTimeSpan& span) {
  if (m_pSelectedBox == nullptr) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
  }
  const COleDateTime from = m_pSelectedBox->GetDate();
  if (!SpanInRange(from, span)) {
    OnInvalidDate();
    return FALSE;
  }
  const COleDateTime to = from + span;
  if (to.GetMonth() != m_dateDisplayed.GetMonth() || to.GetYear() != m_dateDisplayed.GetYear()) {
    if (!SetDate(to, TRUE)) return FALSE;
  }
  return SetSelection(to, TRUE);
}

BOOL SECCalendar::RetreatSelection(long nSeconds) {
  return AdvanceSelection(-COleDateTimeSpan(nSeconds / 86400, nSeconds / 3600 % 24, nSeconds / 60 % 60, nSeconds % 60));
}

BOOL SECCalendar::RetreatPage(long nSeconds) {
  return AdvancePage(-COleDateTimeSpan(nSeconds / 86400, nSeconds / 3600 % 24, nSeconds / 60 % 60, nSeconds % 60));
}

BOOL SECCalendar::NextDay(BOOL bMove) {
  const COleDateTimeSpan span(1, 0, 0, 0);
  return bMove ? AdvanceSelection(span) : AdvancePage(span);
}

BOOL SECCalendar::PrevDay(BOOL bMove) {
  const COleDateTimeSpan span(-1, 0, 0, 0);
  return bMove ? AdvanceSelection(span) : AdvancePage(span);
}

BOOL SECCalendar::NextWeek(BOOL bMove) {
  SetFocus();
  const COleDateTimeSpan span(7, 0, 0, 0);
  return bMove ? AdvanceSelection(span) : AdvancePage(span);
}

BOOL SECCalendar::PrevWeek(BOOL bMove) {
  SetFocus();
  const COleDateTimeSpan span(-7, 0, 0, 0);
  return bMove ? AdvanceSelection(span) : AdvancePage(span);
}

BOOL SECCalendar::StepPage(const COleDateTime& target, const COleDateTime& base, BOOL bMoveSelection) {
  const COleDateTimeSpan span = target - base;
  if (target.GetStatus() != COleDateTime::valid || span.GetStatus() != COleDateTimeSpan::valid) return FALSE;
  const BOOL bMoved = bMoveSelection ? AdvanceSelection(span) : AdvancePage(span);
  if (m_pSelectedBox != nullptr) SetSelection(m_pSelectedBox->GetDate(), TRUE);
  return bMoved;
}

BOOL SECCalendar::MonthStep(BOOL bMoveSelection, int nDirection) {
  if (bMoveSelection && m_pSelectedBox == nullptr) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
  }
  const COleDateTime base = bMoveSelection ? m_pSelectedBox->GetDate() : m_dateDisplayed;
  const COleDateTimeSpan oneDay(nDirection, 0, 0, 0);
  COleDateTime target = AtNoon(base.GetYear(), base.GetMonth(), 1) + COleDateTimeSpan(27 * nDirection, 0, 0, 0);
  while (target.GetStatus() == COleDateTime::valid && target.GetDay() != 1) target += oneDay;
  return StepPage(target, base, bMoveSelection);
}

BOOL SECCalendar::YearStep(BOOL bMoveSelection, int nDirection) {
  if (bMoveSelection && m_pSelectedBox == nullptr) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
  }
  const COleDateTime base = bMoveSelection ? m_pSelectedBox->GetDate() : m_dateDisplayed;
  if (!IsValidDate(base.GetYear() + nDirection, 12, 31)) {
    OnInvalidDate();
    return FALSE;
  }
  const int day = base.GetMonth() == 2 && base.GetDay() == 29 ? 28 : base.GetDay();
  return StepPage(AtNoon(base.GetYear() + nDirection, base.GetMonth(), day), base, bMoveSelection);
}

BOOL SECCalendar::NextMonth(BOOL bMove) { return MonthStep(bMove, 1); }
BOOL SECCalendar::PrevMonth(BOOL bMove) { return MonthStep(bMove, -1); }
BOOL SECCalendar::NextYear(BOOL bMove) { return YearStep(bMove, 1); }
BOOL SECCalendar::PrevYear(BOOL bMove) { return YearStep(bMove, -1); }

BOOL SECCalendar::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case ID_SECCAL_NEXTMONTH: NextMonth(FALSE); break;
    case ID_SECCAL_PREVMONTH: PrevMonth(FALSE); break;
    case ID_SECCAL_NEXTYEAR: NextYear(FALSE); break;
    case ID_SECCAL_PREVYEAR: PrevYear(FALSE); break;
    default: return CWnd::OnCommand(wParam, lParam);
  }
  // The calendar keeps the keyboard after a button was pressed.
  SetFocus();
  return TRUE;
}

// ---- choosing and cancelling ----

LRESULT SECCalendar::OnDateOK(WPARAM wParam, LPARAM lParam) {
  NotifyParent(SECCAL_DATEOK, wParam, lParam);
  // A popup closes; a calendar placed in a window stays where it is.
  if ((GetStyle() & WS_POPUP) != 0) ShowWindow(SW_HIDE);
  return 0;
}

LRESULT SECCalendar::OnCancelDate(WPARAM wParam, LPARAM lParam) {
  NotifyParent(SECCAL_CANCEL, wParam, lParam);
  if ((GetStyle() & WS_POPUP) != 0) ShowWindow(SW_HIDE);
  return 0;
}

// ---- keyboard ----

// In a dialog the calendar keeps the keys of its keyboard table: the arrows, and Enter and Escape,
// which choose and cancel in the calendar instead of pressing the dialog's buttons. Tab still
// moves on; without keyboard navigation the dialog has every key.
LRESULT SECCalendar::OnGetDlgCode(WPARAM, LPARAM lParam) {
  if ((m_dwCalStyle & SECCS_KEYBOARD) == 0) return 0;
  LRESULT code = DLGC_WANTARROWS;
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
      (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
    code |= DLGC_WANTMESSAGE;
  return code;
}

void SECCalendar::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if ((m_dwCalStyle & SECCS_KEYBOARD) != 0) {
    const bool bCtrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (nChar) {
      case VK_ESCAPE:
      case VK_CANCEL: Cancel(); break;
      case VK_RETURN:
        if (m_pSelectedBox != nullptr)
          Choose();
        else
          Cancel();
        break;
      case VK_SPACE: ToggleSelection(m_dateFocus); break;
      case VK_HOME: SetSelection(AtNoon(m_dateFocus.GetYear(), m_dateFocus.GetMonth(), 1), TRUE); break;
      case VK_END: {
        const int month = m_dateFocus.GetMonth();
        COleDateTime last = AtNoon(m_dateFocus.GetYear(), month, 28) + COleDateTimeSpan(4, 0, 0, 0);
        while (last.GetMonth() != month) last -= COleDateTimeSpan(1, 0, 0, 0);
        SetSelection(last, TRUE);
        break;
      }
      case VK_RIGHT:
      case VK_NUMPAD6: bCtrl ? NextMonth(TRUE) : NextDay(TRUE); break;
      case VK_LEFT:
      case VK_NUMPAD4: bCtrl ? PrevMonth(TRUE) : PrevDay(TRUE); break;
      case VK_DOWN:
      case VK_NUMPAD2: bCtrl ? NextYear(TRUE) : NextWeek(TRUE); break;
      case VK_UP:
      case VK_NUMPAD8: bCtrl ? PrevYear(TRUE) : PrevWeek(TRUE); break;
      case VK_NEXT: bCtrl ? NextYear(TRUE) : NextMonth(TRUE); break;
      case VK_PRIOR: bCtrl ? PrevYear(TRUE) : PrevMonth(TRUE); break;
      default: break;
    }
  }
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

// ---- mouse ----

void SECCalendar::ClickBox(SECDayBox* pBox) {
  const COleDateTime date = pBox->GetDate();
  if (pBox->m_bOutside && (pBox->m_dwStyle & SECPS_NOPAGETURN) == 0) {
    if (!SetDate(date, TRUE)) return;
    m_bPageTurnedByPress = TRUE;
  }
  if ((pBox->m_dwStyle & SECPS_SELECTS) != 0)
    SetSelection(date, TRUE);
  else
    ToggleSelection(date);
}

void SECCalendar::OnLButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDown(nFlags, point);
  m_bPageTurnedByPress = FALSE;
  SECDayBox* pBox = DayBoxFromPoint(point);
  m_bClickInSelMonth = m_pSelected != nullptr && m_pSelected->GetYear() == m_dateDisplayed.GetYear() &&
                       m_pSelected->GetMonth() == m_dateDisplayed.GetMonth();
  if (m_bClickInSelMonth) m_dateClicked = *m_pSelected;
  if (pBox == nullptr) return;
  pBox->OnClick();
  if (m_pSelectedBox != nullptr && m_pSelectedBox->IsSelected() && (m_dwCalStyle & SECCS_DRAGSELECT) != 0) {
    SetCapture();
    m_bCaptured = TRUE;
  }
}

void SECCalendar::OnMouseMove(UINT nFlags, CPoint point) {
  CWnd::OnMouseMove(nFlags, point);
  if (!m_bCaptured) return;
  CRect client;
  GetClientRect(client);
  SECDayBox* pBox = DayBoxFromPoint(point);
  if (pBox != nullptr && !pBox->IsSelected()) {
    pBox->OnClick();
  } else if (!client.PtInRect(point) && m_pSelectedBox != nullptr && m_pSelectedBox->IsSelected()) {
    SetSelection(m_pSelectedBox->GetDate(), FALSE);
  }
}

void SECCalendar::OnLButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnLButtonUp(nFlags, point);
  if (m_bCaptured) {
    m_bCaptured = FALSE;
    ReleaseCapture();
  }
  CRect client;
  GetClientRect(client);
  SECDayBox* pBox = DayBoxFromPoint(point);
  const bool bChoose = (m_dwCalStyle & SECCS_RELEASECHOOSES) != 0;
  if (pBox != nullptr) {
    // A press that turned the page leaves another date under the pointer: the release keeps the
    // date the press chose.
    if (!m_bPageTurnedByPress) pBox->OnClick();
    if (bChoose && m_pSelectedBox != nullptr) Choose();
  } else if (client.PtInRect(point)) {
    if (bChoose && m_pSelectedBox != nullptr) Choose();
  } else if (m_bClickInSelMonth) {
    SetSelection(m_dateClicked, TRUE);
  }
  m_bPageTurnedByPress = FALSE;
}

void SECCalendar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDblClk(nFlags, point);
  SECDayBox* pBox = DayBoxFromPoint(point);
  if (pBox == nullptr) return;
  if (!pBox->IsSelected()) pBox->OnClick();
  pBox->OnLButtonDblClk(point);
}

void SECCalendar::OnRButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnRButtonDown(nFlags, point);
  SECDayBox* pBox = DayBoxFromPoint(point);
  if (pBox == nullptr) return;
  const COleDateTime date = pBox->GetDate();
  if (pBox->m_bOutside && !SetDate(date, TRUE)) return;
  ToggleHighlight(date);
}

void SECCalendar::OnCancelMode() {
  CWnd::OnCancelMode();
  if (!m_bCaptured) return;
  m_bCaptured = FALSE;
  ReleaseCapture();
  if (m_bClickInSelMonth) SetSelection(m_dateClicked, TRUE);
}

UINT SECCalendar::OnNcHitTest(CPoint point) {
  const UINT hit = CWnd::OnNcHitTest(point);
  if (hit >= HTLEFT && hit <= HTBORDER && (m_dwCalStyle & SECCS_RESIZABLE) == 0) return HTCLIENT;
  return hit;
}

void SECCalendar::OnSysColorChange() {
  CWnd::OnSysColorChange();
  SECGetSysColors().Refresh();
  ResetColors();
  ApplyColors();
  Invalidate();
}

// ---- painting ----

BOOL SECCalendar::OnEraseBkgnd(CDC*) { return TRUE; }

void SECCalendar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  dc.FillSolidRect(client, SECGetSysColors().m_clrWindow);
  CFont* pOld = dc.SelectObject(&m_fontTitle);
  if (dc.RectVisible(m_title.GetRect())) m_title.Draw(&dc);
  dc.SelectObject(&m_fontDayBar);
  if (dc.RectVisible(m_dayBar.GetRect())) m_dayBar.Draw(&dc);
  dc.SelectObject(&m_fontDayBox);
  for (SECDayBox& box : m_boxes)
    if (dc.RectVisible(box.GetRect())) box.Draw(&dc);
  dc.SelectObject(pOld);
}

// ---- popup ----

BOOL SECPopupCalendar::Create(DWORD dwStyle, const RECT& rcOwner, CWnd* pOwner, UINT nID) {
  SetSizeToContent(TRUE);
  InitFonts();
  CRect content;
  {
    CWindowDC dc(pOwner);
    GetMinSize(content, &dc);
  }
  CRect rect = content;
  ::AdjustWindowRectEx(rect, (dwStyle | WS_POPUP) & ~WS_CHILD, FALSE, 0);
  const int cx = rect.Width(), cy = rect.Height();
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  const CRect owner = rcOwner;
  int top = owner.bottom;
  if (top + cy >= work.bottom) top = owner.top - cy;
  int left;
  if ((dwStyle & 1) != 0) {
    left = owner.left;
    if (left + cx >= work.right) left = owner.right - cx;
  } else {
    left = owner.right;
    if (left + cx >= work.right) left = owner.left - cx;
  }
  // The low style bit chooses the side; it is not a window style.
  const DWORD dwWindowStyle = (dwStyle & ~(WS_CHILD | 1u)) | WS_POPUP;
  if (!SECCalendar::Create(dwWindowStyle, CRect(left, top, left + cx, top + cy), pOwner, nID, nullptr)) return FALSE;
  SetFocus();
  return TRUE;
}

void SECPopupCalendar::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  if (nState == WA_INACTIVE && IsWindowVisible()) {
    if (m_bChooseOnDeactivate && m_pSelectedBox != nullptr)
      Choose();
    else
      Cancel();
  }
  CWnd::OnActivate(nState, pWndOther, bMinimized);
}
