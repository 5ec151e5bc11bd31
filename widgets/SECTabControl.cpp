// The 2-D tab control: layout of the slanted tabs, the arrow buttons that scroll the strip,
// painting in three passes and the mouse rules for activation and multiple selection.
#include "widgets/SECTabControl.h"

#include "win/ModalLoop.h"

IMPLEMENT_DYNAMIC(SECTabControl, SECTabControlBase)

BEGIN_MESSAGE_MAP(SECTabControl, SECTabControlBase)
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SIZE()
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

namespace {

constexpr int kButtons[] = {SECTabControl::kFirst, SECTabControl::kPrev, SECTabControl::kNext,
                            SECTabControl::kLast};
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 300;
constexpr UINT kLaterRepeat = 20;

}  // namespace

void SECTabControl::Initialize(DWORD dwStyle) {
  m_nButtonMask = (dwStyle & 1) != 0 ? (kPrev | kNext) : (dwStyle & 2) != 0 ? (kFirst | kPrev | kNext | kLast) : 0;
  m_nTabHeight = ::GetSystemMetrics(SM_CYHSCROLL) + 1;
  m_nButtonWidth = m_nButtonHeight = m_nTabHeight;
  for (int i = 0; i < 3; ++i) {
    m_fonts[i].DeleteObject();
    m_fonts[i].CreateFont(m_nTabHeight - 2, 0, 0, 0, i == kActive ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                          ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                          "Arial Narrow");
    m_pens[i].DeleteObject();
    m_pens[i].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  }
  CreateSysColorObjects();
  UpdateButtons();
}

void SECTabControl::CreateSysColorObjects() {
  for (int i = 0; i < 3; ++i) {
    m_brushes[i].DeleteObject();
    m_brushes[i].CreateSolidBrush(::GetSysColor(i == kUnselected ? COLOR_BTNFACE : COLOR_WINDOW));
    m_clrText[i] = ::GetSysColor(COLOR_BTNTEXT);
  }
  m_penShadow.DeleteObject();
  m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
}

void SECTabControl::DeleteGDIObjects() {
  for (int i = 0; i < 3; ++i) {
    m_fonts[i].DeleteObject();
    m_pens[i].DeleteObject();
    m_brushes[i].DeleteObject();
  }
  m_penShadow.DeleteObject();
}

void SECTabControl::RecalcLayout() {
  if (m_hWnd == nullptr) return;
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(&m_fonts[kActive]);
  for (int i = 0; i < GetTabCount(); ++i) {
    SECTab* pTab = GetTab(i);
    pTab->m_nWidth = dc.GetTextExtent(pTab->m_csLabel).cx + m_nTabPadding;
  }
  dc.SelectObject(pOld);
  UpdateButtons();
}

SECTab* SECTabControl::InsertTab(int nIndex, LPCTSTR lpszLabel, void* pClient, void* pData1, void* pData2) {
  SECTab* pTab = SECTabControlBase::InsertTab(nIndex, lpszLabel, pClient, pData1, pData2);
  if (pTab == nullptr) return nullptr;
  ShiftActiveForInsert(nIndex);
  RecalcLayout();
  for (int i = nIndex; i < GetTabCount(); ++i) InvalidateTab(i);
  return pTab;
}

// ---- geometry ----

int SECTabControl::GetTabAreaLeft() const {
  int x = 0;
  for (int nButton : kButtons)
    if ((m_nButtonMask & nButton) != 0) x += m_nButtonWidth;
  return x;
}

CRect SECTabControl::GetButtonRect(int nButton) const {
  if ((m_nButtonMask & nButton) == 0) return CRect(0, 0, 0, 0);
  int x = 0;
  for (int b : kButtons) {
    if (b == nButton) break;
    if ((m_nButtonMask & b) != 0) x += m_nButtonWidth;
  }
  return CRect(x, 0, x + m_nButtonWidth, m_nButtonHeight);
}

void SECTabControl::GetTabPolygon(int nIndex, POINT pts[4]) const {
  CRect rc;
  GetClientRect(&rc);
  int x = GetTabAreaLeft() + m_nScrollOffset;
  for (int i = 0; i < nIndex; ++i) x += GetTab(i)->m_nWidth + m_nTabOverlap;
  const int width = GetTab(nIndex)->m_nWidth;
  pts[0] = {x, rc.top};
  pts[1] = {x + m_nTabSlant, rc.bottom};
  pts[2] = {x + width - m_nTabSlant, rc.bottom};
  pts[3] = {x + width, rc.top};
}

int SECTabControl::TabRight(int nIndex) const {
  POINT pts[4];
  GetTabPolygon(nIndex, pts);
  return pts[3].x;
}

BOOL SECTabControl::TabHitTest(int nIndex, CPoint pt) {
  if (!IsValidTab(nIndex)) return FALSE;
  POINT pts[4];
  GetTabPolygon(nIndex, pts);
  CRgn rgn;
  return rgn.CreatePolygonRgn(pts, 4, ALTERNATE) && rgn.PtInRegion(pt);
}

int SECTabControl::TabAt(CPoint point) {
  for (int i = 0; i < GetTabCount(); ++i)
    if (TabHitTest(i, point)) return i;
  return -1;
}

int SECTabControl::ButtonAt(CPoint point) const {
  for (int nButton : kButtons)
    if (GetButtonRect(nButton).PtInRect(point)) return nButton;
  return 0;
}

void SECTabControl::InvalidateTab(int nIndex) {
  if (m_hWnd == nullptr || !IsValidTab(nIndex)) return;
  POINT pts[4];
  GetTabPolygon(nIndex, pts);
  // The polygon region leaves out its right and bottom edges; the outline is drawn on them.
  pts[1].y += 1;
  pts[2].y += 1;
  pts[2].x += 1;
  pts[3].x += 2;
  CRgn rgn;
  if (rgn.CreatePolygonRgn(pts, 4, ALTERNATE)) InvalidateRgn(&rgn, TRUE);
}

// ---- scrolling ----

void SECTabControl::UpdateButtons() {
  if (m_hWnd == nullptr) return;
  const int nOldDisabled = m_nDisabledButtons;
  CRect rc;
  GetClientRect(&rc);
  if (GetTabCount() == 0) {
    m_nScrollOffset = 0;
    m_nDisabledButtons = kFirst | kPrev | kNext | kLast;
  } else {
    m_nScrollOffset = std::min(m_nScrollOffset, 0);
    // No empty space at the right while tabs are hidden at the left.
    const int gap = rc.right - TabRight(GetTabCount() - 1);
    if (gap > 0 && m_nScrollOffset < 0) m_nScrollOffset = std::min(0, m_nScrollOffset + gap);
    m_nDisabledButtons = 0;
    if (m_nScrollOffset >= 0) m_nDisabledButtons |= kFirst | kPrev;
    if (TabRight(GetTabCount() - 1) <= rc.right) m_nDisabledButtons |= kNext | kLast;
  }
  const int nChanged = nOldDisabled ^ m_nDisabledButtons;
  for (int nButton : kButtons)
    if ((nChanged & nButton) != 0 || GetTabCount() == 0) InvalidateRect(GetButtonRect(nButton), FALSE);
}

void SECTabControl::SetScrollOffset(int nOffset) {
  const int nOld = m_nScrollOffset;
  m_nScrollOffset = nOffset;
  UpdateButtons();
  if (m_nScrollOffset == nOld) return;
  CRect rc;
  GetClientRect(&rc);
  rc.left = GetTabAreaLeft();
  InvalidateRect(rc, TRUE);
  UpdateWindow();
}

void SECTabControl::ScrollByButton(int nButton) {
  if ((m_nDisabledButtons & nButton) != 0 || (m_nButtonMask & nButton) == 0) return;
  switch (nButton) {
    case kFirst:
      SetScrollOffset(0);
      break;
    case kPrev:
      SetScrollOffset(m_nScrollOffset + m_nScrollStep);
      break;
    case kNext:
      SetScrollOffset(m_nScrollOffset - m_nScrollStep);
      break;
    case kLast: {
      CRect rc;
      GetClientRect(&rc);
      SetScrollOffset(m_nScrollOffset - (TabRight(GetTabCount() - 1) - rc.right));
      break;
    }
  }
}

void SECTabControl::RepeatWhilePressed(int nButton) {
  const HWND hWnd = m_hWnd;
  SetCapture();
  ::SetTimer(hWnd, kRepeatTimer, kFirstRepeat, nullptr);
  bool bReleased = false;
  brambolt::ModalLoopOptions options;
  options.filterCode = MSGF_SCROLLBAR;
  options.preTranslate = [&](MSG& msg) {
    if (msg.hwnd == hWnd && msg.message == WM_TIMER && msg.wParam == kRepeatTimer) {
      ::SetTimer(hWnd, kRepeatTimer, kLaterRepeat, nullptr);
      if (nButton == kPrev || nButton == kNext) ScrollByButton(nButton);
      return true;
    }
    if (msg.message == WM_LBUTTONUP) bReleased = true;
    return false;  // the button-up itself is dispatched: it repaints the released button
  };
  options.done = [&] { return bReleased || !::IsWindow(hWnd) || ::GetCapture() != hWnd; };
  brambolt::RunModalLoop(hWnd, options);
  if (!::IsWindow(hWnd)) return;
  ::KillTimer(hWnd, kRepeatTimer);
  if (::GetCapture() == hWnd) ::ReleaseCapture();
}

void SECTabControl::ScrollToTab(int nIndex) {
  CRect rc;
  GetClientRect(&rc);
  if (rc.IsRectEmpty() || !IsValidTab(nIndex)) return;
  POINT pts[4];
  GetTabPolygon(nIndex, pts);
  const int areaLeft = GetTabAreaLeft();
  const int width = pts[3].x - pts[0].x;
  const int margin = width + m_nScrollMargin <= rc.right - areaLeft ? m_nScrollMargin : 0;
  int nOffset = m_nScrollOffset;
  if (pts[3].x > rc.right) nOffset -= pts[3].x - (rc.right - margin);
  else if (pts[0].x < areaLeft) nOffset += (areaLeft + margin) - pts[0].x;
  SetScrollOffset(nOffset);
}

// ---- painting ----

void SECTabControl::DrawButton(CDC* pDC, int nButton) {
  CRect rc = GetButtonRect(nButton);
  if (rc.IsRectEmpty()) return;
  const bool bPressed = m_nPressedButton == nButton;
  CBrush frame(::GetSysColor(COLOR_WINDOWFRAME));
  pDC->FrameRect(rc, &frame);
  CRect face = rc;
  face.DeflateRect(1, 1);
  pDC->FillSolidRect(face, ::GetSysColor(COLOR_BTNFACE));
  if (bPressed) pDC->Draw3dRect(face, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE));
  else pDC->Draw3dRect(face, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));

  const bool bDisabled = (m_nDisabledButtons & nButton) != 0;
  const COLORREF clr = bDisabled ? ::GetSysColor(COLOR_BTNSHADOW) : RGB(0, 0, 0);
  const int w = std::max(2, rc.Width() * 3 / 10), h = std::max(3, rc.Height() * 55 / 100) | 1;
  const int cx = rc.CenterPoint().x + (bPressed ? 1 : 0), cy = rc.CenterPoint().y + (bPressed ? 1 : 0);
  const bool bLeft = nButton == kFirst || nButton == kPrev;
  POINT tri[3];
  if (bLeft) {
    tri[0] = {cx - w / 2, cy};
    tri[1] = {cx + w / 2, cy - h / 2};
    tri[2] = {cx + w / 2, cy + h / 2};
  } else {
    tri[0] = {cx + w / 2, cy};
    tri[1] = {cx - w / 2, cy - h / 2};
    tri[2] = {cx - w / 2, cy + h / 2};
  }
  CBrush brush(clr);
  CPen pen(PS_SOLID, 1, clr);
  CBrush* pOldBrush = pDC->SelectObject(&brush);
  CPen* pOldPen = pDC->SelectObject(&pen);
  pDC->Polygon(tri, 3);
  if (nButton == kFirst || nButton == kLast) {
    // A bar two pixels beyond the triangle's flat side.
    const int x = nButton == kFirst ? tri[0].x - 2 : tri[0].x + 2;
    pDC->MoveTo(x, cy - h / 2);
    pDC->LineTo(x, cy + h / 2 + 1);
  }
  pDC->SelectObject(pOldPen);
  pDC->SelectObject(pOldBrush);
}

void SECTabControl::DrawTab(CDC* pDC, int nIndex, CRgn* pRgn) {
  POINT pts[4];
  GetTabPolygon(nIndex, pts);
  pDC->FillRgn(pRgn, pDC->GetCurrentBrush());
  // First slant and bottom in the state's pen; the bottom's end and the second slant in shadow,
  // with a line in the state's pen one pixel further right.
  pDC->MoveTo(pts[0]);
  pDC->LineTo(pts[1].x, pts[1].y - 1);
  pDC->LineTo(pts[2].x - 1, pts[2].y - 1);
  CPen* pStatePen = pDC->GetCurrentPen();
  pDC->SelectObject(&m_penShadow);
  pDC->LineTo(pts[2].x, pts[2].y - 1);
  pDC->LineTo(pts[3].x, pts[3].y);
  pDC->SelectObject(pStatePen);
  pDC->MoveTo(pts[2].x + 1, pts[2].y - 1);
  pDC->LineTo(pts[3].x + 1, pts[3].y);

  CRect rcText(pts[0].x + m_nTabSlant, pts[0].y, pts[3].x - m_nTabSlant, pts[1].y);
  const CString& label = GetTab(nIndex)->m_csLabel;
  const CSize extent = pDC->GetTextExtent(label);
  pDC->SetTextAlign(TA_BOTTOM | TA_LEFT);
  pDC->ExtTextOut(rcText.left + (rcText.Width() - extent.cx) / 2, rcText.top + (rcText.Height() + extent.cy) / 2,
                  ETO_CLIPPED, rcText, label, nullptr);
}

void SECTabControl::OnPaint() {
  CPaintDC dc(this);
  CRect rcPaint = dc.m_ps.rcPaint;
  for (int nButton : kButtons) {
    CRect rcButton = GetButtonRect(nButton), rcBoth;
    if (rcBoth.IntersectRect(rcButton, rcPaint)) DrawButton(&dc, nButton);
  }
  CRect rcClient;
  GetClientRect(&rcClient);
  const int areaLeft = GetTabAreaLeft();
  dc.IntersectClipRect(areaLeft, rcClient.top, rcClient.right, rcClient.bottom);
  dc.SetBkMode(TRANSPARENT);
  const int nSave = dc.SaveDC();
  for (int state = kUnselected; state <= kActive; ++state) {
    dc.SetTextColor(m_clrText[state]);
    dc.SelectObject(&m_brushes[state]);
    dc.SelectObject(&m_fonts[state]);
    dc.SelectObject(&m_pens[state]);
    for (int i = 0; i < GetTabCount(); ++i) {
      const bool bActive = m_bActiveTab && i == m_nActiveTab;
      const int nState = bActive ? kActive : GetTab(i)->m_bSelected ? kSelected : kUnselected;
      if (nState != state) continue;
      POINT pts[4];
      GetTabPolygon(i, pts);
      CRgn rgn;
      rgn.CreatePolygonRgn(pts, 4, ALTERNATE);
      if (rgn.RectInRegion(rcPaint)) DrawTab(&dc, i, &rgn);
    }
  }
  dc.RestoreDC(nSave);
  // The line along the top, open above the active tab so that it looks joined to the page.
  CPen* pOldPen = dc.SelectObject(&m_pens[kActive]);
  dc.MoveTo(areaLeft, rcClient.top);
  if (m_bActiveTab && IsValidTab(m_nActiveTab)) {
    POINT pts[4];
    GetTabPolygon(m_nActiveTab, pts);
    dc.LineTo(pts[0].x, rcClient.top);
    dc.MoveTo(pts[3].x + 1, rcClient.top);
  }
  dc.LineTo(rcClient.right, rcClient.top);
  dc.SelectObject(pOldPen);
}

BOOL SECTabControl::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillRect(rc, &m_brushes[kUnselected]);
  return TRUE;
}

// ---- mouse ----

void SECTabControl::OnLButtonDown(UINT nFlags, CPoint point) {
  m_nPressedButton = 0;
  if (const int nButton = ButtonAt(point); nButton != 0) {
    if ((m_nDisabledButtons & nButton) != 0) return;
    m_nPressedButton = nButton;
    InvalidateRect(GetButtonRect(nButton), FALSE);
    UpdateWindow();
    ScrollByButton(nButton);
    RepeatWhilePressed(nButton);
    return;
  }
  const int nHit = TabAt(point);
  if (nHit < 0) {
    Default();
    return;
  }
  SECTab* pHit = GetTab(nHit);
  if (m_bMultiSelect && (nFlags & MK_CONTROL) != 0) {
    pHit->m_bSelected = !pHit->m_bSelected;
    if (m_bActiveTab && nHit == m_nActiveTab) m_bActiveTab = FALSE;
    InvalidateTab(nHit);
  } else if (m_bMultiSelect && (nFlags & MK_SHIFT) != 0) {
    const int nAnchor = m_bActiveTab ? m_nActiveTab : nHit;
    const int lo = std::min(nAnchor, nHit), hi = std::max(nAnchor, nHit);
    for (int i = 0; i < GetTabCount(); ++i) {
      const BOOL bSelect = i >= lo && i <= hi;
      if (GetTab(i)->m_bSelected == bSelect) continue;
      GetTab(i)->m_bSelected = bSelect;
      InvalidateTab(i);
    }
    m_bActiveTab = FALSE;
    ActivateTab(nHit);
  } else if (m_bActiveTab && nHit == m_nActiveTab) {
    ReActivateTab();
  } else {
    for (int i = 0; i < GetTabCount(); ++i) {
      if (!GetTab(i)->m_bSelected && i != nHit) continue;
      GetTab(i)->m_bSelected = FALSE;
      InvalidateTab(i);
    }
    ActivateTab(nHit);
  }
  Default();
}

void SECTabControl::OnLButtonUp(UINT, CPoint) {
  if (m_nPressedButton != 0) InvalidateRect(GetButtonRect(m_nPressedButton), FALSE);
  m_nPressedButton = 0;
  Default();
}

void SECTabControl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (ButtonAt(point) != 0) {
    OnLButtonDown(nFlags, point);
    return;
  }
  const int nHit = TabAt(point);
  Default();
  if (nHit >= 0) Notify(TABN_DBLCLK, static_cast<WPARAM>(nHit));
}

void SECTabControl::OnSize(UINT, int, int) {
  const int nOld = m_nScrollOffset;
  UpdateButtons();
  if (nOld != m_nScrollOffset) Invalidate();
  Default();
}

void SECTabControl::OnSysColorChange() {
  CreateSysColorObjects();
  Invalidate();
}

void SECTabControl::OnDestroy() {
  SECTabControlBase::OnDestroy();
  DeleteGDIObjects();
}

BOOL SECTabControl::SetFont(CFont* pFont, int nWhich, BOOL bRedraw) {
  LOGFONT lf{};
  if (pFont == nullptr || nWhich < 0 || nWhich > 2 || pFont->GetLogFont(&lf) == 0) return FALSE;
  return ReplaceFont(m_fonts[nWhich], lf, nWhich == kActive, bRedraw);
}
