// The 3-D tab control: layout along the four sides, label shortening, painting of the raised
// tabs and the dividing edge, keyboard and mouse, dragging the active tab, tooltips.
#include "widgets/SEC3DTabControl.h"

#include "base/CodePage.h"
#include "foundation/SECMemDC.h"
#include "widgets/WidgetDrawing.h"

IMPLEMENT_DYNAMIC(SEC3DTab, SECTab)
IMPLEMENT_DYNAMIC(SEC3DTabControl, SECTabControlBase)

BEGIN_MESSAGE_MAP(SEC3DTabControl, SECTabControlBase)
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEMOVE()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

namespace {

constexpr int kIconSpace = 19;
constexpr int kIconSize = 16;
constexpr int kEndSpace = 6;
constexpr int kFitSlack = 12;
constexpr int kActiveGrowth = 3;
const char kEllipsis[] = "...";

int EscapementFor(DWORD dwStyle) {
  if ((dwStyle & TWS_TABS_ON_LEFT) != 0) return 900;
  if ((dwStyle & TWS_TABS_ON_RIGHT) != 0) return -900;
  return 0;
}

// Removes the last character of text, a whole double-byte character in 936 and 950.
void DropLastCharacter(CString& text) {
  if (text.IsEmpty()) return;
  const char* start = text;
  const char* last = ::CharPrev(start, start + text.GetLength());
  text = text.Left(static_cast<int>(last - start));
}

}  // namespace

DWORD SEC3DTabControl::GetTabPosition() const {
  const DWORD dwStyle = GetStyle();
  for (DWORD bit : {TWS_TABS_ON_BOTTOM, TWS_TABS_ON_TOP, TWS_TABS_ON_LEFT, TWS_TABS_ON_RIGHT})
    if ((dwStyle & bit) != 0) return bit;
  return TWS_TABS_ON_RIGHT;
}

BOOL SEC3DTabControl::IsHorizontal() const {
  const DWORD dwPos = GetTabPosition();
  return dwPos == TWS_TABS_ON_BOTTOM || dwPos == TWS_TABS_ON_TOP;
}

void SEC3DTabControl::Initialize(DWORD dwStyle) {
  CreateFonts(dwStyle);
  for (CPen& pen : m_pens) {
    pen.DeleteObject();
    pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  }
  CreatePens();
  EnableToolTips(TRUE);
}

void SEC3DTabControl::CreatePens() {
  m_penShadow.DeleteObject();
  m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  m_penHilight.DeleteObject();
  m_penHilight.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  m_clrText[0] = m_clrText[1] = ::GetSysColor(COLOR_BTNTEXT);
}

void SEC3DTabControl::CreateFonts(DWORD dwStyle) {
  const int nEscapement = EscapementFor(dwStyle);
  for (int i = 0; i < 2; ++i) {
    m_fonts[i].DeleteObject();
    m_fonts[i].CreateFont(15, 0, nEscapement, nEscapement, i == 1 ? FW_SEMIBOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                          ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                          "Arial Narrow");
  }
}

void SEC3DTabControl::DestroyGDIObjects() {
  for (int i = 0; i < 2; ++i) {
    m_fonts[i].DeleteObject();
    m_pens[i].DeleteObject();
  }
  m_penShadow.DeleteObject();
  m_penHilight.DeleteObject();
}

// ---- tabs ----

SECTab* SEC3DTabControl::InsertTab(int nIndex, LPCTSTR lpszLabel, void* pClient, void* pData1, void* pData2) {
  auto* pTab = static_cast<SEC3DTab*>(SECTabControlBase::InsertTab(nIndex, lpszLabel, pClient, pData1, pData2));
  if (pTab == nullptr) return nullptr;
  pTab->m_csFullLabel = pTab->m_csLabel;
  ShiftActiveForInsert(nIndex);
  RecalcLayout();
  for (int i = nIndex; i < GetTabCount(); ++i) InvalidateTab(i);
  return pTab;
}

SECTab* SEC3DTabControl::AddTab(LPCTSTR lpszLabel, void* pClient, void* pData1, void* pData2) {
  auto* pTab = static_cast<SEC3DTab*>(SECTabControlBase::InsertTab(GetTabCount(), lpszLabel, pClient, pData1, pData2));
  if (pTab == nullptr) return nullptr;
  pTab->m_csFullLabel = pTab->m_csLabel;
  RecalcLayout();
  InvalidateTab(GetTabCount() - 1);
  return pTab;
}

void SEC3DTabControl::RenameTab(int nIndex, LPCTSTR lpszLabel) {
  if (!IsValidTab(nIndex)) return;
  Get3DTab(nIndex)->m_csFullLabel = lpszLabel != nullptr ? lpszLabel : "";
  SECTabControlBase::RenameTab(nIndex, lpszLabel);
}

void SEC3DTabControl::SetTabIcon(int nIndex, LPCTSTR lpszResource, int cx, int cy) {
  auto hIcon = static_cast<HICON>(::LoadImage(AfxGetResourceHandle(), lpszResource, IMAGE_ICON, cx, cy, 0));
  SetTabIcon(nIndex, hIcon);
}

void SEC3DTabControl::SetTabIcon(int nIndex, UINT nIDResource, int cx, int cy) {
  SetTabIcon(nIndex, MAKEINTRESOURCE(nIDResource), cx, cy);
}

BOOL SEC3DTabControl::SetTabIcon(int nIndex, HICON hIcon) {
  if (!IsValidTab(nIndex)) return FALSE;
  Get3DTab(nIndex)->m_hIcon = hIcon;
  RecalcLayout();
  for (int i = nIndex; i < GetTabCount(); ++i) InvalidateTab(i);
  return TRUE;
}

void SEC3DTabControl::EnableTab(int nIndex, BOOL bEnable) {
  if (!IsValidTab(nIndex) || Get3DTab(nIndex)->m_bEnabled == bEnable) return;
  Get3DTab(nIndex)->m_bEnabled = bEnable;
  InvalidateTab(nIndex);
}

BOOL SEC3DTabControl::IsTabEnabled(int nIndex) { return IsValidTab(nIndex) && Get3DTab(nIndex)->m_bEnabled; }

void SEC3DTabControl::GetTabRect(int nIndex, RECT* pRect) {
  if (IsValidTab(nIndex) && pRect != nullptr) *pRect = Get3DTab(nIndex)->m_rcTab;
}

void SEC3DTabControl::ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  ModifyStyle(dwRemove, dwAdd, nFlags);
  if ((dwAdd & TWS_TAB_POSITIONS) == 0) return;
  CreateFonts(GetStyle());
  RecalcLayout();
  Invalidate();
}

BOOL SEC3DTabControl::SetFont(CFont* pFont, int nWhich, BOOL bRedraw) {
  LOGFONT lf{};
  if (pFont == nullptr || nWhich < 0 || nWhich > 1 || pFont->GetLogFont(&lf) == 0) return FALSE;
  lf.lfEscapement = lf.lfOrientation = EscapementFor(GetStyle());
  return ReplaceFont(m_fonts[nWhich], lf, nWhich == 1, bRedraw);
}

// ---- layout ----

int SEC3DTabControl::TabLength(CDC* pDC, const SEC3DTab* pTab, BOOL bShowLabel) const {
  int length = kEndSpace;
  if (pTab->m_hIcon != nullptr) length += kIconSpace;
  if (bShowLabel) length += pDC->GetTextExtent(pTab->m_csLabel).cx + kEndSpace;
  return length;
}

int SEC3DTabControl::TotalLength(CDC* pDC, BOOL bShowLabels, int* pIconTotal) const {
  int total = 0, icons = 0;
  for (int i = 0; i < GetTabCount(); ++i) {
    total += TabLength(pDC, Get3DTab(i), bShowLabels);
    if (Get3DTab(i)->m_hIcon != nullptr) icons += kIconSpace;
  }
  if (pIconTotal != nullptr) *pIconTotal = icons;
  return total;
}

void SEC3DTabControl::LayoutTab(int nIndex, int x, int y, DWORD) {
  SEC3DTab* pTab = Get3DTab(nIndex);
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(&m_fonts[1]);
  const int length = TabLength(&dc, pTab, m_bShowLabels);
  dc.SelectObject(pOld);
  if (IsHorizontal()) ::SetRect(&pTab->m_rcTab, x, y, x + length, y + m_nTabHeight);
  else ::SetRect(&pTab->m_rcTab, x, y, x + m_nTabWidth, y + length);
  pTab->m_nWidth = length;
}

void SEC3DTabControl::ShortenLabels(int nTotal, int /*nIconTotal*/, int nAvailable) {
  for (int i = 0; i < GetTabCount(); ++i) {
    Get3DTab(i)->m_csLabel = Get3DTab(i)->m_csFullLabel;
    Get3DTab(i)->m_bShortened = FALSE;
  }
  m_bShowLabels = TRUE;
  if (nAvailable >= nTotal + kFitSlack) return;

  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(&m_fonts[1]);
  // The kept part of each label before its "..." (the whole label while not shortened).
  std::vector<CString> kept;
  for (int i = 0; i < GetTabCount(); ++i) kept.push_back(Get3DTab(i)->m_csFullLabel);
  int total = nTotal;
  while (nAvailable < total + kFitSlack) {
    int nLongest = -1, longest = -1;
    for (int i = 0; i < GetTabCount(); ++i) {
      const int width = dc.GetTextExtent(Get3DTab(i)->m_csLabel).cx;
      if (!kept[i].IsEmpty() && width > longest) {
        longest = width;
        nLongest = i;
      }
    }
    if (nLongest < 0) {  // every label is down to "...": only the icons remain
      m_bShowLabels = FALSE;
      break;
    }
    SEC3DTab* pTab = Get3DTab(nLongest);
    DropLastCharacter(kept[nLongest]);
    pTab->m_csLabel = kept[nLongest] + kEllipsis;
    pTab->m_bShortened = TRUE;
    total = TotalLength(&dc, TRUE);
  }
  dc.SelectObject(pOld);
}

void SEC3DTabControl::RecalcLayout() {
  if (m_hWnd == nullptr) return;
  CRect rc;
  GetClientRect(&rc);
  const BOOL bHorz = IsHorizontal();
  const int available = bHorz ? rc.Width() : rc.Height();
  {
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(&m_fonts[1]);
    for (int i = 0; i < GetTabCount(); ++i) Get3DTab(i)->m_csLabel = Get3DTab(i)->m_csFullLabel;
    int iconTotal = 0;
    const int total = TotalLength(&dc, TRUE, &iconTotal);
    dc.SelectObject(pOld);
    if (m_bShortenLabels) ShortenLabels(total, iconTotal, available);
    else m_bShowLabels = available > total + kFitSlack;
  }

  const DWORD dwPos = GetTabPosition();
  int x = rc.left + m_nFirstTabX, y = rc.top + m_nFirstTabY;
  if (dwPos == TWS_TABS_ON_BOTTOM) y = rc.top + 2;
  else if (dwPos == TWS_TABS_ON_TOP) y = rc.bottom - m_nTabHeight - 3;
  else if (dwPos == TWS_TABS_ON_LEFT) x = rc.right - m_nTabWidth - 3;
  else x = rc.left + 2;
  for (int i = 0; i < GetTabCount(); ++i) {
    LayoutTab(i, x, y, GetStyle());
    const RECT& r = Get3DTab(i)->m_rcTab;
    if (bHorz) x = r.right;
    else y = r.bottom;
  }

  if (!m_bActiveTab || !IsValidTab(m_nActiveTab) || (GetStyle() & TWS_NOACTIVE_TAB_ENLARGED) != 0) return;
  RECT& r = Get3DTab(m_nActiveTab)->m_rcTab;
  if (bHorz) ::InflateRect(&r, kActiveGrowth, 0);
  else ::InflateRect(&r, 0, kActiveGrowth);
  if (dwPos == TWS_TABS_ON_BOTTOM) r.bottom += kActiveGrowth;
  else if (dwPos == TWS_TABS_ON_TOP) r.top -= kActiveGrowth;
  else if (dwPos == TWS_TABS_ON_LEFT) r.left -= kActiveGrowth;
  else r.right += kActiveGrowth;
}

void SEC3DTabControl::OnActivateTab(int) { RecalcLayout(); }

void SEC3DTabControl::InvalidateTab(int nIndex) {
  if (m_hWnd == nullptr || !IsValidTab(nIndex)) return;
  CRect rc = Get3DTab(nIndex)->m_rcTab;
  rc.right += 1;
  rc.bottom += 1;
  InvalidateRect(rc, TRUE);
}

// ---- painting ----

void SEC3DTabControl::FillSolidRect(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr) {
  const COLORREF old = pDC->SetBkColor(clr);
  CRect rc(x, y, x + cx, y + cy);
  pDC->ExtTextOut(x, y, ETO_OPAQUE, rc, "", 0, nullptr);
  pDC->SetBkColor(old);
}

void SEC3DTabControl::OnPaint() {
  CPaintDC paintDC(this);
  CRect rc;
  GetClientRect(&rc);
  auto paint = [&](CDC* pDC) {
    FillSolidRect(pDC, rc.left, rc.top, rc.Width(), rc.Height(), ::GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < GetTabCount(); ++i)
      if (!m_bActiveTab || i != m_nActiveTab) DrawTab(pDC, i);
    // The edge between the strip and the client area.
    const DWORD dwPos = GetTabPosition();
    const bool bFlat = (GetStyle() & TWS_FLATTABS) != 0;
    const COLORREF lines[4] = {::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNFACE),
                               ::GetSysColor(COLOR_BTNSHADOW), RGB(0, 0, 0)};
    for (int k = 0; k < 4; ++k) {
      if (bFlat && (dwPos == TWS_TABS_ON_BOTTOM ? k < 2 : k >= 2)) continue;
      if (dwPos == TWS_TABS_ON_BOTTOM) FillSolidRect(pDC, rc.left, rc.top + k, rc.Width(), 1, lines[k]);
      else if (dwPos == TWS_TABS_ON_TOP) FillSolidRect(pDC, rc.left, rc.bottom - 4 + k, rc.Width(), 1, lines[k]);
      else if (dwPos == TWS_TABS_ON_LEFT) FillSolidRect(pDC, rc.right - 4 + k, rc.top, 1, rc.Height(), lines[k]);
      else FillSolidRect(pDC, rc.left + 3 - k, rc.top, 1, rc.Height(), lines[k]);
    }
    if (m_bActiveTab && IsValidTab(m_nActiveTab)) {
      CRect rcActive = Get3DTab(m_nActiveTab)->m_rcTab, rcBoth;
      if (rcBoth.IntersectRect(rcActive, &paintDC.m_ps.rcPaint)) DrawTab(pDC, m_nActiveTab);
    }
  };
  try {
    kelpwood::foundation::SECMemDC memDC(&paintDC, rc);
    paint(&memDC);
  } catch (CException* e) {
    e->Delete();
    paint(&paintDC);  // no memory for the off-screen copy: draw straight onto the screen
  }
}

BOOL SEC3DTabControl::OnEraseBkgnd(CDC*) { return TRUE; }

void SEC3DTabControl::DrawTab(CDC* pDC, int nIndex) {
  SEC3DTab* pTab = Get3DTab(nIndex);
  if (pTab == nullptr) return;
  const int nState = m_bActiveTab && nIndex == m_nActiveTab ? 1 : 0;
  const DWORD dwPos = GetTabPosition();
  CRect rc = pTab->m_rcTab;
  CRect rcFill = rc;
  if (dwPos == TWS_TABS_ON_BOTTOM) rcFill.bottom -= 1;
  if (dwPos == TWS_TABS_ON_RIGHT) rcFill.right -= 2;
  FillSolidRect(pDC, rcFill.left, rcFill.top, rcFill.Width(), rcFill.Height(), ::GetSysColor(COLOR_BTNFACE));
  const int nSave = pDC->SaveDC();
  pDC->SelectObject(&m_fonts[nState]);
  pDC->SelectObject(&m_pens[nState]);
  pDC->SetTextColor(m_clrText[nState]);
  switch (dwPos) {
    case TWS_TABS_ON_BOTTOM: DrawTabBottom(pDC, pTab, dwPos); break;
    case TWS_TABS_ON_TOP: DrawTabTop(pDC, pTab, dwPos); break;
    case TWS_TABS_ON_LEFT: DrawTabLeft(pDC, pTab, dwPos); break;
    default: DrawTabRight(pDC, pTab, dwPos); break;
  }
  DrawTabContents(pDC, pTab, dwPos);
  pDC->RestoreDC(nSave);
}

namespace {

// One edge of a tab frame: a line of `pen` from (x1, y1) to (x2, y2), end excluded.
void Line(CDC* pDC, CPen* pen, int x1, int y1, int x2, int y2) {
  CPen* pOld = pDC->SelectObject(pen);
  pDC->MoveTo(x1, y1);
  pDC->LineTo(x2, y2);
  pDC->SelectObject(pOld);
}

}  // namespace

// The frames: highlight on the left and upper sides, shadow and black on the right and lower
// sides, the side that touches the client area left open. Style 0x200 ends the frame one pixel
// short at its far end; the flat style leaves out the inner shadow lines.
void SEC3DTabControl::DrawTabBottom(CDC* pDC, SEC3DTab* pTab, DWORD) {
  CRect r = pTab->m_rcTab;
  if ((GetStyle() & TWS_LEFTRIGHTSCROLL_FRAME) != 0) r.right -= 1;
  const bool bFlat = (GetStyle() & TWS_FLATTABS) != 0;
  CPen* pDark = pDC->GetCurrentPen();
  Line(pDC, &m_penHilight, r.left, r.top, r.left, r.bottom - 2);
  Line(pDC, pDark, r.left + 1, r.bottom - 2, r.left + 2, r.bottom - 1);
  Line(pDC, pDark, r.left + 2, r.bottom - 1, r.right - 2, r.bottom - 1);
  Line(pDC, pDark, r.right - 2, r.bottom - 2, r.right - 1, r.bottom - 3);
  Line(pDC, pDark, r.right - 1, r.bottom - 3, r.right - 1, r.top - 1);
  if (bFlat) return;
  Line(pDC, &m_penShadow, r.left + 2, r.bottom - 2, r.right - 2, r.bottom - 2);
  Line(pDC, &m_penShadow, r.right - 2, r.bottom - 3, r.right - 2, r.top - 1);
}

void SEC3DTabControl::DrawTabTop(CDC* pDC, SEC3DTab* pTab, DWORD) {
  CRect r = pTab->m_rcTab;
  if ((GetStyle() & TWS_LEFTRIGHTSCROLL_FRAME) != 0) r.right -= 1;
  const bool bFlat = (GetStyle() & TWS_FLATTABS) != 0;
  CPen* pDark = pDC->GetCurrentPen();
  Line(pDC, &m_penHilight, r.left, r.bottom, r.left, r.top + 2);
  Line(pDC, &m_penHilight, r.left + 1, r.top + 1, r.left + 2, r.top);
  Line(pDC, &m_penHilight, r.left + 2, r.top, r.right - 2, r.top);
  Line(pDC, pDark, r.right - 2, r.top + 1, r.right - 1, r.top + 2);
  Line(pDC, pDark, r.right - 1, r.top + 2, r.right - 1, r.bottom);
  if (!bFlat) Line(pDC, &m_penShadow, r.right - 2, r.top + 2, r.right - 2, r.bottom);
}

void SEC3DTabControl::DrawTabLeft(CDC* pDC, SEC3DTab* pTab, DWORD) {
  CRect r = pTab->m_rcTab;
  if ((GetStyle() & TWS_LEFTRIGHTSCROLL_FRAME) != 0) r.bottom -= 1;
  const bool bFlat = (GetStyle() & TWS_FLATTABS) != 0;
  CPen* pDark = pDC->GetCurrentPen();
  Line(pDC, &m_penHilight, r.right, r.top, r.left + 2, r.top);
  Line(pDC, &m_penHilight, r.left + 1, r.top + 1, r.left, r.top + 2);
  Line(pDC, &m_penHilight, r.left, r.top + 2, r.left, r.bottom - 2);
  Line(pDC, pDark, r.left + 1, r.bottom - 2, r.left + 2, r.bottom - 1);
  Line(pDC, pDark, r.left + 2, r.bottom - 1, r.right, r.bottom - 1);
  if (!bFlat) Line(pDC, &m_penShadow, r.left + 2, r.bottom - 2, r.right, r.bottom - 2);
}

void SEC3DTabControl::DrawTabRight(CDC* pDC, SEC3DTab* pTab, DWORD) {
  CRect r = pTab->m_rcTab;
  if ((GetStyle() & TWS_LEFTRIGHTSCROLL_FRAME) != 0) r.bottom -= 1;
  const bool bFlat = (GetStyle() & TWS_FLATTABS) != 0;
  CPen* pDark = pDC->GetCurrentPen();
  Line(pDC, &m_penHilight, r.left - 1, r.top, r.right - 2, r.top);
  Line(pDC, pDark, r.right - 2, r.top + 1, r.right - 1, r.top + 2);
  Line(pDC, pDark, r.right - 1, r.top + 2, r.right - 1, r.bottom - 2);
  Line(pDC, pDark, r.right - 2, r.bottom - 2, r.right - 3, r.bottom - 1);
  Line(pDC, pDark, r.right - 3, r.bottom - 1, r.left - 1, r.bottom - 1);
  if (bFlat) return;
  Line(pDC, &m_penShadow, r.right - 2, r.top + 2, r.right - 2, r.bottom - 2);
  Line(pDC, &m_penShadow, r.right - 3, r.bottom - 2, r.left - 1, r.bottom - 2);
}

void SEC3DTabControl::DrawTabContents(CDC* pDC, SEC3DTab* pTab, DWORD dwPosition) {
  const CRect rcTab = pTab->m_rcTab;
  const bool bHorz = dwPosition == TWS_TABS_ON_BOTTOM || dwPosition == TWS_TABS_ON_TOP;
  // Contents are laid out along the strip from the tab's start, centred across it.
  const int start = (bHorz ? rcTab.left : rcTab.top) + kEndSpace;
  const int across = bHorz ? rcTab.top + rcTab.Height() / 2 : rcTab.left + rcTab.Width() / 2;
  auto draw = [&](CDC* pTarget, CPoint origin) {
    int along = start;
    if (pTab->m_hIcon != nullptr) {
      const int x = bHorz ? along : across - kIconSize / 2, y = bHorz ? across - kIconSize / 2 : along;
      ::DrawIconEx(pTarget->GetSafeHdc(), x - origin.x, y - origin.y, pTab->m_hIcon, kIconSize, kIconSize, 0,
                   nullptr, DI_NORMAL);
      along += kIconSpace;
    }
    if (!m_bShowLabels) return;
    const CSize extent = pTarget->GetTextExtent(pTab->m_csLabel);
    const int height = extent.cy;
    pTarget->SetBkMode(TRANSPARENT);
    CRect clip = rcTab;
    clip.OffsetRect(-origin.x, -origin.y);
    if (bHorz) {
      pTarget->ExtTextOut(along - origin.x, across - height / 2 - origin.y, ETO_CLIPPED, clip, pTab->m_csLabel,
                          nullptr);
    } else if (dwPosition == TWS_TABS_ON_LEFT) {  // upwards: the text starts at its bottom end
      pTarget->ExtTextOut(across - height / 2 - origin.x, along + extent.cx - origin.y, ETO_CLIPPED, clip,
                          pTab->m_csLabel, nullptr);
    } else {  // downwards
      pTarget->ExtTextOut(across + height / 2 - origin.x, along - origin.y, ETO_CLIPPED, clip, pTab->m_csLabel,
                          nullptr);
    }
  };
  if (pTab->m_bEnabled) {
    draw(pDC, CPoint(0, 0));
  } else {
    // Disabled: drawn off-screen, embossed, then copied over the tab's face.
    CRect rcInside = rcTab;
    rcInside.DeflateRect(2, 2);
    CDC memDC;
    CBitmap bitmap;
    if (!memDC.CreateCompatibleDC(pDC) || !bitmap.CreateCompatibleBitmap(pDC, rcInside.Width(), rcInside.Height()))
      return;
    CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
    CFont* pOldFont = memDC.SelectObject(pDC->GetCurrentFont());
    memDC.FillSolidRect(0, 0, rcInside.Width(), rcInside.Height(), ::GetSysColor(COLOR_BTNFACE));
    memDC.SetTextColor(m_clrText[0]);
    draw(&memDC, rcInside.TopLeft());
    DrawDisabled(&memDC, rcInside.Width(), rcInside.Height());
    pDC->BitBlt(rcInside.left, rcInside.top, rcInside.Width(), rcInside.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOldFont);
    memDC.SelectObject(pOldBitmap);
  }
  if ((::GetWindowLong(::GetParent(m_hWnd), GWL_STYLE) & WS_TABSTOP) != 0 && pTab->m_bSelected &&
      ::GetFocus() == m_hWnd) {
    CRect rcFocus = rcTab;
    rcFocus.DeflateRect(3, 3);
    pDC->DrawFocusRect(rcFocus);
  }
}

void SEC3DTabControl::DrawDisabled(CDC* pDC, int cx, int cy) {
  widgets::Emboss(pDC, cx, cy, {::GetSysColor(COLOR_BTNFACE)}, CPoint(1, 1), CPoint(0, 0));
}

// ---- input ----

BOOL SEC3DTabControl::TabWindowHasTabStop() const {
  return (::GetWindowLong(::GetParent(m_hWnd), GWL_STYLE) & WS_TABSTOP) != 0;
}

int SEC3DTabControl::TabAt(CPoint point) const {
  // The enlarged active tab lies over its neighbours: it takes a click in the overlap.
  if (m_bActiveTab && IsValidTab(m_nActiveTab) && Get3DTab(m_nActiveTab)->m_bEnabled &&
      ::PtInRect(&Get3DTab(m_nActiveTab)->m_rcTab, point))
    return m_nActiveTab;
  for (int i = 0; i < GetTabCount(); ++i)
    if (Get3DTab(i)->m_bEnabled && ::PtInRect(&Get3DTab(i)->m_rcTab, point)) return i;
  return -1;
}

int SEC3DTabControl::NextEnabledTab(int nFrom, int nStep) const {
  for (int i = nFrom + nStep; i >= 0 && i < GetTabCount(); i += nStep)
    if (Get3DTab(i)->m_bEnabled) return i;
  return -1;
}

void SEC3DTabControl::RelayToolTip(UINT message, UINT nFlags, CPoint point) {
  MSG msg{m_hWnd, message, nFlags, MAKELPARAM(point.x, point.y), 0, {}};
  FilterToolTipMessage(&msg);
}

BOOL SEC3DTabControl::PreTranslateMessage(MSG* pMsg) {
  // Mouse messages reach the tooltip through the handlers below.
  if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST) return FALSE;
  return SECTabControlBase::PreTranslateMessage(pMsg);
}

void SEC3DTabControl::OnLButtonDown(UINT nFlags, CPoint point) {
  RelayToolTip(WM_LBUTTONDOWN, nFlags, point);
  const int nHit = TabAt(point);
  if (nHit >= 0) {
    if (m_bActiveTab && nHit == m_nActiveTab) ReActivateTab();
    else ActivateTab(nHit);
  }
  Default();
  if ((GetStyle() & TWS_DRAGTABS) != 0) SetCapture();
  if (TabWindowHasTabStop() && ::GetFocus() != m_hWnd) SetFocus();
}

void SEC3DTabControl::OnMouseMove(UINT nFlags, CPoint point) {
  RelayToolTip(WM_MOUSEMOVE, nFlags, point);
  Default();
  if ((GetStyle() & TWS_DRAGTABS) == 0 || ::GetCapture() != m_hWnd || !m_bActiveTab || !IsValidTab(m_nActiveTab))
    return;
  const CRect rcActive = Get3DTab(m_nActiveTab)->m_rcTab;
  if (rcActive.PtInRect(point)) return;
  int nTarget = -1;
  for (int i = 0; i < GetTabCount() && nTarget < 0; ++i)
    if (::PtInRect(&Get3DTab(i)->m_rcTab, point)) nTarget = i;
  if (nTarget < 0 || nTarget == m_nActiveTab) return;
  // The move happens only once the point lies where the active tab would be after it, so that
  // the two tabs do not swap back at once.
  const bool bHorz = IsHorizontal();
  const CRect rcTarget = Get3DTab(nTarget)->m_rcTab;
  const int pos = bHorz ? point.x : point.y;
  const int activeLength = bHorz ? rcActive.Width() : rcActive.Height();
  const int targetLength = bHorz ? rcTarget.Width() : rcTarget.Height();
  const int activeStart = bHorz ? rcActive.left : rcActive.top;
  const int targetStart = bHorz ? rcTarget.left : rcTarget.top;
  const bool bForward = nTarget > m_nActiveTab;
  const bool bInside = bForward ? pos >= activeStart + targetLength : pos < targetStart + activeLength;
  if (bInside) MoveActiveTabTo(nTarget);
}

void SEC3DTabControl::MoveActiveTabTo(int nTarget) {
  CWnd* pFocus = GetFocus();
  CObject* pTab = m_pTabArray->GetAt(m_nActiveTab);
  m_pTabArray->RemoveAt(m_nActiveTab);
  m_pTabArray->InsertAt(nTarget, pTab);
  // The record now at the old index is another tab: activation starts from no active tab.
  m_bActiveTab = FALSE;
  ActivateTab(nTarget);
  Invalidate();
  if (pFocus != nullptr && ::IsWindow(pFocus->m_hWnd)) pFocus->SetFocus();
}

void SEC3DTabControl::OnLButtonUp(UINT nFlags, CPoint point) {
  RelayToolTip(WM_LBUTTONUP, nFlags, point);
  if ((GetStyle() & TWS_DRAGTABS) != 0 && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  Default();
}

void SEC3DTabControl::OnLButtonDblClk(UINT, CPoint point) {
  const int nHit = TabAt(point);
  if (nHit >= 0) Notify(TABN_DBLCLK, static_cast<WPARAM>(nHit));
}

void SEC3DTabControl::OnRButtonDown(UINT nFlags, CPoint point) {
  RelayToolTip(WM_RBUTTONDOWN, nFlags, point);
  Default();
}

void SEC3DTabControl::OnRButtonUp(UINT nFlags, CPoint point) {
  RelayToolTip(WM_RBUTTONUP, nFlags, point);
  Default();
}

void SEC3DTabControl::OnKeyDown(UINT nChar, UINT, UINT) {
  if (!m_bActiveTab) return;
  int nStep = 0;
  if (nChar == VK_LEFT || nChar == VK_UP) nStep = -1;
  else if (nChar == VK_RIGHT || nChar == VK_DOWN) nStep = 1;
  if (nStep == 0) {
    Default();
    return;
  }
  const int nNext = NextEnabledTab(m_nActiveTab, nStep);
  if (nNext < 0) return;
  ActivateTab(nNext);
  SetFocus();
}

void SEC3DTabControl::OnSetFocus(CWnd*) {
  Default();
  if (TabWindowHasTabStop()) Invalidate();
}

void SEC3DTabControl::OnKillFocus(CWnd*) {
  Default();
  if (TabWindowHasTabStop()) Invalidate();
}

void SEC3DTabControl::OnSize(UINT, int, int) {
  RecalcLayout();
  Invalidate();
  Default();
}

void SEC3DTabControl::OnSysColorChange() {
  CreatePens();
  Invalidate();
}

void SEC3DTabControl::OnDestroy() {
  SECTabControlBase::OnDestroy();
  DestroyGDIObjects();
}

INT_PTR SEC3DTabControl::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  const INT_PTR nHit = SECTabControlBase::OnToolHitTest(point, pTI);
  if (nHit != -1) return nHit;
  for (int i = 0; i < GetTabCount(); ++i) {
    const SEC3DTab* pTab = Get3DTab(i);
    if (!::PtInRect(&pTab->m_rcTab, point)) continue;
    const bool bTip = pTab->m_bShortened || (!m_bShowLabels && !m_bShortenLabels);
    if (!bTip) return -1;
    if (pTI != nullptr) {
      pTI->hwnd = m_hWnd;
      pTI->uId = static_cast<UINT_PTR>(i + 1);
      pTI->rect = pTab->m_rcTab;
      pTI->lpszText = ::strdup(pTab->m_csFullLabel);  // the framework frees it
    }
    return i + 1;
  }
  return -1;
}
