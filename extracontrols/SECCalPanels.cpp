// The calendar's drawing panels: the base panel, a day cell, the weekday bar and the title with
// its paging buttons.
#include "extracontrols/SECCalendar.h"

#include "foundation/SECLocaleNames.h"
#include "foundation/SECSysColors.h"

IMPLEMENT_SERIAL(SECPanel, CObject, 0x100)
IMPLEMENT_SERIAL(SECDayBox, SECPanel, 0x100)
IMPLEMENT_SERIAL(SECDayBar, SECPanel, 0x100)
IMPLEMENT_SERIAL(SECCalTitle, SECPanel, 0x100)

SECPanel::SECPanel()
    : m_clrText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_clrDimText(::GetSysColor(COLOR_GRAYTEXT)),
      m_clrBk(::GetSysColor(COLOR_WINDOW)) {}

// The stored form of a panel is empty: it is rebuilt from the calendar.
void SECPanel::Serialize(CArchive& ar) { CObject::Serialize(ar); }

BOOL SECPanel::Create(const RECT& rect, CWnd* pParent, DWORD dwStyle, DWORD dwStyle2) {
  m_rect = rect;
  m_pParent = pParent;
  m_dwStyle = dwStyle;
  m_dwStyle2 = dwStyle2;
  return TRUE;
}

int SECPanel::SetDayValue(int nValue) {
  const int nOld = m_nDayValue;
  m_nDayValue = nValue;
  return nOld;
}

COLORREF SECPanel::TextColor() const {
  if (m_bSelected && (m_dwStyle & SECPS_SHOWSEL) != 0) return SECGetSysColors().m_clrHighlightText;
  return m_bGrayed && (m_dwStyle & SECPS_DIMMED) != 0 ? m_clrDimText : m_clrText;
}

BOOL SECPanel::Draw(CDC* pDC) {
  const COLORREF oldText = pDC->SetTextColor(TextColor());
  const COLORREF oldBk = pDC->SetBkColor(m_clrBk);
  // Each step runs even when one before it failed; the result says whether all did.
  BOOL bOk = DrawInnerBorder(pDC);
  bOk = DrawBevel(pDC) && bOk;
  bOk = DrawInterior(pDC) && bOk;
  bOk = OnDraw(pDC) && bOk;
  bOk = DrawBorder(pDC) && bOk;
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
  return bOk;
}

BOOL SECPanel::DrawInnerBorder(CDC*) { return TRUE; }

BOOL SECPanel::DrawBevel(CDC* pDC) {
  if ((m_dwStyle2 & SECCS_PANELBEVEL) == 0) return TRUE;
  const SECSysColors& colors = SECGetSysColors();
  const bool bSunken = m_bSelected && (m_dwStyle & SECPS_SHOWSEL) != 0;
  pDC->Draw3dRect(m_rect, bSunken ? colors.m_clrBtnShadow : colors.m_clrBtnHilite,
                  bSunken ? colors.m_clrBtnHilite : colors.m_clrBtnShadow);
  return TRUE;
}

BOOL SECPanel::DrawInterior(CDC* pDC) {
  if ((m_dwStyle & SECPS_FILL) == 0) return TRUE;
  CRect inside = m_rect;
  if ((m_dwStyle2 & SECCS_PANELBEVEL) != 0) inside.DeflateRect(1, 1);
  const bool bSelected = m_bSelected && (m_dwStyle & SECPS_SHOWSEL) != 0;
  pDC->FillSolidRect(inside, bSelected ? SECGetSysColors().m_clrHighlight : m_clrBk);
  return TRUE;
}

void SECPanel::DrawCaption(CDC* pDC, const CString& text, const CRect& rect) {
  if (text.IsEmpty()) return;
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  if ((m_dwStyle & SECPS_CENTER) != 0) {
    CRect box = rect;
    pDC->DrawText(text, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    pDC->TextOut(rect.left + rect.Width() / 10, rect.top + rect.Height() / 10, text);
  }
  pDC->SetBkMode(nOldMode);
}

BOOL SECPanel::OnDraw(CDC* pDC) {
  DrawCaption(pDC, m_strCaption, m_rect);
  return TRUE;
}

BOOL SECPanel::DrawBorder(CDC* pDC) {
  if (!m_bMarked || (m_dwStyle & SECPS_SHOWTODAY) == 0) return TRUE;
  // A frame m_nBorderX pixels wide at the sides and m_nBorderY high at the top and bottom.
  CBrush brush(m_clrBorder);
  CRect frame = m_rect;
  if ((m_dwStyle2 & SECCS_PANELBEVEL) != 0) frame.DeflateRect(1, 1);
  pDC->FillRect(CRect(frame.left, frame.top, frame.right, frame.top + m_nBorderY), &brush);
  pDC->FillRect(CRect(frame.left, frame.bottom - m_nBorderY, frame.right, frame.bottom), &brush);
  pDC->FillRect(CRect(frame.left, frame.top, frame.left + m_nBorderX, frame.bottom), &brush);
  pDC->FillRect(CRect(frame.right - m_nBorderX, frame.top, frame.right, frame.bottom), &brush);
  return TRUE;
}

void SECPanel::OnLButtonDblClk(CPoint) {
  if ((m_dwStyle & SECPS_DIMMED) != 0 && m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr)
    m_pParent->PostMessage(SECCAL_DATEOK, 0, 0);
}

// ---- day box ----

BOOL SECDayBox::OnDraw(CDC* pDC) {
  CString text;
  text.Format("%d", m_date.GetDay());
  CRect inside = m_rect;
  if ((m_dwStyle2 & SECCS_PANELBEVEL) != 0) inside.DeflateRect(1, 1);
  DrawCaption(pDC, text, inside);
  // A highlighted date carries a triangle in its top-right corner in the title's colour.
  if (m_bHighlighted && (m_dwStyle & SECPS_SHOWMARK) != 0) {
    const int size = std::max(3, std::min(inside.Width(), inside.Height()) / 3);
    const POINT corner[3] = {{inside.right - size, inside.top}, {inside.right, inside.top},
                             {inside.right, inside.top + size}};
    CBrush brush(::GetSysColor(COLOR_ACTIVECAPTION));
    CPen pen(PS_SOLID, 1, ::GetSysColor(COLOR_ACTIVECAPTION));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->Polygon(corner, 3);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
  }
  return TRUE;
}

void SECDayBox::OnClick() {
  auto* pCalendar = dynamic_cast<SECCalendar*>(m_pParent);
  if (pCalendar != nullptr) pCalendar->ClickBox(this);
}

// ---- day bar ----

CString SECDayBar::GetDayName(int nColumn) const {
  CString name;
  const int day = (m_nFirstDay + nColumn - 2) % 7 + 1;
  if (!GetLocaleDayName(name, day, m_bFullNames)) name.Format("%d", day);
  return name;
}

BOOL SECDayBar::OnDraw(CDC* pDC) {
  const int width = m_rect.Width();
  for (int c = 1; c <= 7; ++c) {
    const double from[8] = {0.0, 0.143, 0.286, 0.429, 0.572, 0.715, 0.858, 1.0};
    const CRect cell(m_rect.left + static_cast<int>(width * from[c - 1]), m_rect.top,
                     m_rect.left + static_cast<int>(width * from[c]), m_rect.bottom);
    DrawCaption(pDC, GetDayName(c), cell);
  }
  return TRUE;
}

// ---- title ----

SECCalTitle::~SECCalTitle() {
  for (CButton& button : m_buttons)
    if (button.GetSafeHwnd() != nullptr) button.DestroyWindow();
}

BOOL SECCalTitle::Create(const RECT& rect, CWnd* pParent, DWORD dwStyle, DWORD dwStyle2) {
  SECPanel::Create(rect, pParent, dwStyle, dwStyle2);
  struct TitleButton {
    int button;
    DWORD needs;
    const char* text;
    UINT id;
  };
  const TitleButton kinds[ButtonCount] = {{PrevMonth, SECCS_MONTHBUTTONS, "<", ID_SECCAL_PREVMONTH},
                                          {NextMonth, SECCS_MONTHBUTTONS, ">", ID_SECCAL_NEXTMONTH},
                                          {PrevYear, SECCS_YEARBUTTONS, "<<", ID_SECCAL_PREVYEAR},
                                          {NextYear, SECCS_YEARBUTTONS, ">>", ID_SECCAL_NEXTYEAR}};
  BOOL bOk = TRUE;
  for (const TitleButton& kind : kinds) {
    if ((dwStyle & kind.needs) == 0) continue;
    m_bHasButton[kind.button] =
        m_buttons[kind.button].Create(kind.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 1, 1), pParent,
                                      kind.id);
    bOk = bOk && m_bHasButton[kind.button];
  }
  SetRect(rect);
  return bOk;
}

void SECCalTitle::SetRect(const RECT& rect) {
  m_rect = rect;
  // Square buttons two pixels inside the title: year buttons outermost, month buttons inside them.
  const int size = std::max(1, m_rect.Height() - 4);
  const int top = m_rect.top + 2;
  int left = m_rect.left + 2, right = m_rect.right - 2;
  const int order[ButtonCount][2] = {{PrevYear, NextYear}, {PrevMonth, NextMonth}, {-1, -1}, {-1, -1}};
  for (const auto& pair : order) {
    if (pair[0] < 0) break;
    if (m_bHasButton[pair[0]]) {
      m_buttons[pair[0]].MoveWindow(left, top, size, size);
      left += size + 1;
    }
    if (m_bHasButton[pair[1]]) {
      right -= size;
      m_buttons[pair[1]].MoveWindow(right, top, size, size);
      right -= 1;
    }
  }
}

void SECCalTitle::SetDate(const COleDateTime& date) {
  CString month;
  if (!GetLocaleMonthName(month, date.GetMonth(), m_bFullNames)) month.Format("%d", date.GetMonth());
  m_strCaption.Format("%s %d", static_cast<LPCTSTR>(month), date.GetYear());
}

CString SECCalTitle::GetProbeText() const { return m_bFullNames ? "September, 2000" : "Sep, 2000"; }
