// The self-drawing progress bar: position arithmetic, the bar and background rectangles, the
// off-screen paint with the text in inverted colours, and the stepping timer.
#include "bars/SECProgressCtrl.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(SECProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(SECProgressCtrl, CProgressCtrl)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_SHOWWINDOW()
  ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL SECProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwBarStyle) {
  if (m_bCreated) return FALSE;
  m_dwStyle = dwBarStyle;
  m_bCreated = CProgressCtrl::Create(dwStyle, rect, pParentWnd, nID);
  return m_bCreated;
}

BOOL SECProgressCtrl::SubclassDlgItem(UINT nID, CWnd* pParent) {
  if (!CWnd::SubclassDlgItem(nID, pParent)) return FALSE;
  m_bCreated = TRUE;
  UpdateClientRect();
  return TRUE;
}

void SECProgressCtrl::SetRange(UINT nLower, UINT nUpper) {
  m_nLower = nLower;
  m_nUpper = nUpper;
  if (m_hWnd != nullptr)
    SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(static_cast<int>(nUpper)));
  if (m_bCreated) Invalidate();
}

UINT SECProgressCtrl::ClampedPos(long long nPos) const {
  // An unsigned position would wrap below 0 and then read as full; it stops at the lower bound.
  return static_cast<UINT>(std::clamp<long long>(nPos, m_nLower, UINT_MAX));
}

void SECProgressCtrl::PumpPaint() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
}

bool SECProgressCtrl::LooksTheSame(double dBefore, double dAfter) {
  CRect rcBarBefore, rcBkBefore, rcBarAfter, rcBkAfter;
  CalcRects(dBefore, rcBarBefore, rcBkBefore);
  CalcRects(dAfter, rcBarAfter, rcBkAfter);
  if (rcBarBefore != rcBarAfter || rcBkBefore != rcBkAfter) return false;
  return (m_dwStyle & SECP_SHOW_PERCENT) == 0 || FormatPercent(dBefore) == FormatPercent(dAfter);
}

UINT SECProgressCtrl::SetPos(int nPos, BOOL bPump) {
  UINT nOld = m_nPos;
  const double dBefore = GetPercent();
  m_nPos = ClampedPos(nPos);
  if (IsNative() && m_hWnd != nullptr)
    nOld = static_cast<UINT>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_nPos)));
  // A long fill that advances the bar once per item of thousands would otherwise paint it as
  // often, where it moves only a pixel (or its percentage changes) now and then.
  if (m_bCreated && !LooksTheSame(dBefore, GetPercent())) {
    Invalidate();
    if (bPump) PumpPaint();
  }
  return nOld;
}

UINT SECProgressCtrl::OffsetPos(int nDelta, BOOL bPump) {
  if (!IsNative()) return SetPos(static_cast<int>(ClampedPos(static_cast<long long>(m_nPos) + nDelta)), bPump);
  const UINT nOld = m_nPos;
  m_nPos = ClampedPos(static_cast<long long>(m_nPos) + nDelta);
  if (m_hWnd != nullptr) SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(nDelta));
  return nOld;
}

UINT SECProgressCtrl::StepIt(BOOL bPump) {
  if (!IsNative()) return OffsetPos(m_nStep, bPump);
  const UINT nOld = m_nPos;
  m_nPos = ClampedPos(static_cast<long long>(m_nPos) + m_nStep);
  if (m_hWnd != nullptr) SendMessage(PBM_STEPIT);
  return nOld;
}

int SECProgressCtrl::SetStep(int nStep) {
  const int nOld = m_nStep;
  m_nStep = nStep;
  if (m_hWnd != nullptr) SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep));
  return nOld;
}

void SECProgressCtrl::SetBarColors(COLORREF clrBar, COLORREF clrBk) {
  m_clrBar = clrBar;
  m_clrBk = clrBk;
  if (m_bCreated) Invalidate();
}

void SECProgressCtrl::SetTextFont(CFont* pFont, BOOL bRedraw) {
  m_pFont = pFont;
  if (bRedraw && m_bCreated) Invalidate();
}

void SECProgressCtrl::SetText(LPCTSTR lpszText) { m_strText = lpszText != nullptr ? lpszText : ""; }

void SECProgressCtrl::GetText(CString& strText) const { strText = m_strText; }

void SECProgressCtrl::Reset() {
  SetPos(static_cast<int>(m_nLower), TRUE);
  if (m_bCreated) {
    UpdateClientRect();
    Invalidate();
  }
}

BOOL SECProgressCtrl::SetTimerStep(UINT nInterval) {
  if (m_nPos >= m_nUpper) {
    if (m_hWnd != nullptr) KillTimer(m_nTimerID);
    return FALSE;
  }
  if (nInterval == 0) {
    KillTimer(m_nTimerID);
    return TRUE;
  }
  return SetTimer(m_nTimerID, nInterval, nullptr) != 0;
}

BOOL SECProgressCtrl::UpdateClientRect() {
  GetClientRect(&m_rcClient);
  return TRUE;
}

void SECProgressCtrl::SetBarStyle(DWORD dwStyle) {
  if ((dwStyle & SECP_NATIVE) != 0 && !IsNative() && m_hWnd != nullptr)
    SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_nPos));
  m_dwStyle = dwStyle;
  if (m_hWnd != nullptr) Invalidate();
}

double SECProgressCtrl::GetPercent() const {
  if (m_nLower > m_nUpper) return 0.0;
  const UINT nPos = std::clamp(m_nPos, m_nLower, m_nUpper);
  const double dSpan = m_nUpper == m_nLower ? 1.0 : static_cast<double>(m_nUpper - m_nLower);
  return static_cast<double>(nPos - m_nLower) / dSpan * 100.0;
}

CString SECProgressCtrl::FormatPercent(double dPercent) {
  CString strText;
  strText.Format("%d %%", std::min(static_cast<int>(dPercent + 0.5), 100));
  return strText;
}

BOOL SECProgressCtrl::CalcRects(double dPercent, CRect& rcBar, CRect& rcBk) {
  const double f = dPercent * 0.01;
  rcBar = m_rcClient;
  rcBk = m_rcClient;
  if ((m_dwStyle & SECP_VERTICAL) == 0) {
    const int nWidth = static_cast<int>(m_rcClient.Width() * f);
    if ((m_dwStyle & SECP_FROM_RIGHT) == 0) {
      rcBar.right = rcBar.left + nWidth;
      rcBk.left = rcBar.right;
    } else {
      rcBar.left = rcBar.right - nWidth;
      rcBk.right = rcBar.left;
    }
  } else {
    const int nHeight = static_cast<int>(m_rcClient.Height() * f);
    if ((m_dwStyle & SECP_FROM_TOP) == 0) {
      rcBar.top = rcBar.bottom - nHeight;
      rcBk.bottom = rcBar.top;
    } else {
      rcBar.bottom = rcBar.top + nHeight;
      rcBk.top = rcBar.bottom;
    }
  }
  return TRUE;
}

void SECProgressCtrl::DrawBar(CDC* pDC, const CRect& rect) { pDC->FillSolidRect(&rect, m_clrBar); }

void SECProgressCtrl::DrawBackground(CDC* pDC, const CRect& rect) { pDC->FillSolidRect(&rect, m_clrBk); }

void SECProgressCtrl::DrawBarText(CDC* pDC, double dPercent, const CRect& rcBk, const CRect& rcBar) {
  CString strText;
  if ((m_dwStyle & SECP_SHOW_PERCENT) != 0)
    strText = FormatPercent(dPercent);
  else if ((m_dwStyle & SECP_SHOW_TEXT) != 0)
    GetText(strText);
  else
    return;
  FormatText(strText);
  CFont* pOldFont = m_pFont != nullptr ? pDC->SelectObject(m_pFont) : nullptr;
  UINT nFormat = DT_VCENTER | DT_SINGLELINE;
  if ((m_dwStyle & SECP_TEXT_LEFT) != 0)
    nFormat |= DT_LEFT;
  else if ((m_dwStyle & SECP_TEXT_RIGHT) != 0)
    nFormat |= DT_RIGHT;
  else
    nFormat |= DT_CENTER;
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF clrOld = pDC->GetTextColor();
  // Each half of the text takes the colour of what it does not lie on.
  const std::pair<const CRect*, COLORREF> halves[] = {{&rcBar, m_clrBk}, {&rcBk, m_clrBar}};
  for (const auto& [pClip, clr] : halves) {
    CRgn rgn;
    rgn.CreateRectRgnIndirect(pClip);
    pDC->SelectClipRgn(&rgn);
    pDC->SetTextColor(clr);
    CRect rcText = m_rcClient;
    pDC->DrawText(strText, &rcText, nFormat);
  }
  pDC->SelectClipRgn(nullptr);
  pDC->SetTextColor(clrOld);
  pDC->SetBkMode(nOldMode);
  if (pOldFont != nullptr) pDC->SelectObject(pOldFont);
}

BOOL SECProgressCtrl::Paint(CDC* pDC, double dPercent, const CRect& rcBar, const CRect& rcBk) {
  CDC memDC;
  if (!memDC.CreateCompatibleDC(pDC)) return FALSE;
  CBitmap bitmap;
  if (!bitmap.CreateCompatibleBitmap(pDC, m_rcClient.Width(), m_rcClient.Height())) return FALSE;
  CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
  CFont* pOldFont = memDC.SelectObject(GetFont() != nullptr ? GetFont() : CFont::FromHandle(
                                           static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
  DrawBackground(&memDC, rcBk);
  DrawBar(&memDC, rcBar);
  DrawBarText(&memDC, dPercent, rcBk, rcBar);
  pDC->BitBlt(m_rcClient.left, m_rcClient.top, m_rcClient.Width(), m_rcClient.Height(), &memDC, m_rcClient.left,
              m_rcClient.top, SRCCOPY);
  memDC.SelectObject(pOldFont);
  memDC.SelectObject(pOldBitmap);
  return TRUE;
}

void SECProgressCtrl::DrawProgress(CDC* pDC) {
  if (!m_bShown) return;
  const double dPercent = GetPercent();
  CRect rcBar, rcBk;
  CalcRects(dPercent, rcBar, rcBk);
  Paint(pDC, dPercent, rcBar, rcBk);
}

int SECProgressCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CProgressCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  return UpdateClientRect() ? 0 : -1;
}

BOOL SECProgressCtrl::OnEraseBkgnd(CDC* pDC) {
  if (IsNative()) return CProgressCtrl::OnEraseBkgnd(pDC);
  return TRUE;
}

void SECProgressCtrl::OnPaint() {
  if (IsNative()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  DrawProgress(&dc);
}

void SECProgressCtrl::OnSize(UINT nType, int cx, int cy) {
  CProgressCtrl::OnSize(nType, cx, cy);
  UpdateClientRect();
}

void SECProgressCtrl::OnShowWindow(BOOL bShow, UINT nStatus) {
  CProgressCtrl::OnShowWindow(bShow, nStatus);
  m_bShown = bShow;
}

void SECProgressCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == m_nTimerID) {
    StepIt(TRUE);
    if (m_nPos >= m_nUpper) KillTimer(m_nTimerID);
  }
  CProgressCtrl::OnTimer(nIDEvent);
}
