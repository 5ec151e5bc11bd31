// The gradient caption shared by the SDI and MDI frames: geometry, gradient bands, title layout,
// off-screen painting, and the non-client painting and activation rules.
#include "bars/SECFrameWndCaption.h"

#include <algorithm>

namespace {

constexpr int kBands = 60;
constexpr int kLeadGap = 6;  // between the lead and the rest, and the room a lead needs

}  // namespace

void SECGradientFill(CDC* pDC, const CRect& rect, int nBands, COLORREF clrFrom, COLORREF clrTo) {
  const int n = std::min(nBands, rect.Width());
  if (n <= 0) return;
  const int from[3] = {GetRValue(clrFrom), GetGValue(clrFrom), GetBValue(clrFrom)};
  const int to[3] = {GetRValue(clrTo), GetGValue(clrTo), GetBValue(clrTo)};
  int channel[3], step[3];
  for (int i = 0; i < 3; ++i) {
    channel[i] = from[i] * 256;
    step[i] = (to[i] - from[i]) * 256 / n;
  }
  const int nBandWidth = rect.Width() / n;
  CPen* pOldPen = static_cast<CPen*>(pDC->SelectStockObject(NULL_PEN));
  for (int band = 0, x = rect.left; band < n; ++band, x += nBandWidth) {
    int value[3];
    for (int i = 0; i < 3; ++i) {
      value[i] = channel[i] / 256;
      value[i] = from[i] <= to[i] ? std::min(value[i], to[i]) : std::max(value[i], to[i]);
      channel[i] += step[i];
    }
    CBrush brush(RGB(value[0], value[1], value[2]));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const int right = band == n - 1 ? rect.right : x + nBandWidth;
    // A rectangle drawn with the null pen leaves out its right and bottom line.
    pDC->Rectangle(x, rect.top, right + 1, rect.bottom);
    pDC->SelectObject(pOldBrush);
  }
  pDC->SelectObject(pOldPen);
}

void SECSplitCaptionTitle(const CString& strTitle, CString& strLead, CString& strRest) {
  const int nDash = strTitle.Find('-');
  strLead = nDash < 0 ? strTitle : strTitle.Left(nDash);
  strRest = nDash < 0 ? CString() : strTitle.Mid(nDash);
}

SECCaptionTextLayout SECLayoutCaptionText(const CRect& rcText, int nLead, int nRest, int nEllipsis, int nAlign) {
  SECCaptionTextLayout layout;
  layout.rcLead = rcText;
  layout.bDrawRest = rcText.Width() >= nEllipsis + nLead + kLeadGap;
  if (nAlign != 0) {
    const int nNeeded = nLead + kLeadGap + (layout.bDrawRest ? nRest : 0);
    if (rcText.Width() > nNeeded) {
      if (nAlign == 1)
        layout.rcLead.left += (rcText.Width() - nNeeded) / 2;
      else
        layout.rcLead.left = rcText.right - nNeeded - 1;
    }
  }
  layout.nRestLeft = layout.rcLead.left + nLead + kLeadGap;
  return layout;
}

SECFrameCaption::SECFrameCaption() : m_bGradientAvailable(LOBYTE(LOWORD(::GetVersion())) >= 4) {}

CRect SECFrameCaption::CaptionRect(CWnd* pFrame) {
  CRect rcWindow;
  pFrame->GetWindowRect(&rcWindow);
  const DWORD dwStyle = pFrame->GetStyle();
  CRect rc;
  if ((dwStyle & WS_THICKFRAME) != 0) {
    rc.SetRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME),
               rcWindow.Width() - ::GetSystemMetrics(SM_CXFRAME), 0);
  } else {
    rc.SetRect(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER) + 1,
               rcWindow.Width() - ::GetSystemMetrics(SM_CXBORDER), 0);
  }
  rc.bottom = rc.top + ::GetSystemMetrics(SM_CYSIZE);
  if (LOBYTE(LOWORD(::GetVersion())) >= 4) {
    const BOOL bSysMenu = (dwStyle & WS_SYSMENU) != 0;
    int nBoxes = 0;
    if (bSysMenu && (dwStyle & WS_MAXIMIZEBOX) != 0) nBoxes = 1;
    if (bSysMenu && (dwStyle & WS_MINIMIZEBOX) != 0) nBoxes = (dwStyle & WS_MAXIMIZEBOX) != 0 ? 2 : 1;
    int n = nBoxes;
    CMenu* pSysMenu = bSysMenu ? pFrame->GetSystemMenu(FALSE) : nullptr;
    if (pSysMenu != nullptr && (pSysMenu->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0)
      ++n;
    rc.right -= n * ::GetSystemMetrics(SM_CXSIZE) + (nBoxes > 0 ? 1 : 0) * ::GetSystemMetrics(SM_CXBORDER);
  }
  return rc;
}

void SECFrameCaption::CreateCaptionFont(CFont& font, BOOL bItalic) {
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = 340;
  ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  if (bItalic) metrics.lfCaptionFont.lfItalic = 1;
  font.DeleteObject();
  font.CreateFontIndirect(&metrics.lfCaptionFont);
}

BOOL SECFrameCaption::SetGradientCaption(CWnd* pFrame, BOOL bEnable, BOOL bRedraw) {
  if (!m_bGradientAvailable) return FALSE;
  const BOOL bOld = m_bGradientCaption;
  m_bGradientCaption = bEnable;
  if (pFrame->GetSafeHwnd() != nullptr) {
    if (bRedraw) pFrame->PostMessage(WM_NCPAINT);
    pFrame->PostMessage(WM_NCACTIVATE, 0, 0);
  }
  return bOld;
}

void SECFrameCaption::DrawCaption(CWnd* pFrame, CFont& leadFont, CFont& captionFont) {
  const CRect rcCaption = CaptionRect(pFrame);
  if (rcCaption.IsRectEmpty()) return;
  CWindowDC windowDC(pFrame);
  CDC dc;
  CBitmap bitmap;
  if (!dc.CreateCompatibleDC(&windowDC) ||
      !bitmap.CreateCompatibleBitmap(&windowDC, rcCaption.Width(), rcCaption.Height())) {
    SetGradientCaption(pFrame, FALSE, TRUE);
    return;
  }
  CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
  const BOOL bActive = m_bActive;
  CRect rcText(0, 0, rcCaption.Width(), rcCaption.Height());
  if ((pFrame->GetStyle() & WS_SYSMENU) != 0) {
    const int cx = ::GetSystemMetrics(SM_CXSIZE), cy = ::GetSystemMetrics(SM_CYSIZE);
    dc.FillSolidRect(0, 0, cx, cy, bActive ? RGB(0, 0, 0) : ::GetSysColor(COLOR_INACTIVECAPTION));
    const HWND hwnd = pFrame->GetSafeHwnd();
    HICON hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(hwnd, cx < 30 ? GCLP_HICONSM : GCLP_HICON));
    if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(hwnd, GCLP_HICON));
    if (hIcon != nullptr) ::DrawIconEx(dc.GetSafeHdc(), 2, 1, hIcon, cx - 2, cy - 2, 0, nullptr, DI_NORMAL);
    rcText.left = cx;
  }
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  if (bActive) {
    CRect rcFill = rcText;
    ++rcFill.bottom;
    SECGradientFill(&dc, rcFill, kBands, RGB(0, 0, 0), ::GetSysColor(COLOR_ACTIVECAPTION));
  } else {
    dc.FillSolidRect(&rcText, ::GetSysColor(COLOR_INACTIVECAPTION));
  }

  CString strTitle, strLead, strRest;
  pFrame->GetWindowText(strTitle);
  SECSplitCaptionTitle(strTitle, strLead, strRest);
  CFont* pOldFont = dc.SelectObject(&leadFont);
  const int nLead = dc.GetTextExtent(strLead).cx;
  const int nEllipsis = dc.GetTextExtent("W...").cx;
  dc.SelectObject(&captionFont);
  const int nRest = dc.GetTextExtent(strRest).cx;
  CRect rcArea = rcText;
  rcArea.left += 3;
  const SECCaptionTextLayout layout = SECLayoutCaptionText(rcArea, nLead, nRest, nEllipsis, m_nCaptionAlign);
  constexpr UINT kFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
  dc.SelectObject(&leadFont);
  CRect rcLead = layout.rcLead;
  dc.DrawText(strLead, &rcLead, kFormat);
  if (layout.bDrawRest && !strRest.IsEmpty()) {
    CRect rcRest = layout.rcLead;
    rcRest.left = layout.nRestLeft;
    if (!bActive) dc.SetTextColor(::GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    dc.SelectObject(&captionFont);
    dc.DrawText(strRest, &rcRest, kFormat);
  }
  dc.SelectObject(pOldFont);
  windowDC.BitBlt(rcCaption.left, rcCaption.top, rcCaption.Width(), rcCaption.Height(), &dc, 0, 0, SRCCOPY);
  dc.SelectObject(pOldBitmap);
}

BOOL SECFrameCaption::OnNcPaint(CWnd* pFrame, HRGN hUpdate) {
  CRect rcCaption = CaptionRect(pFrame);
  CRect rcWindow;
  pFrame->GetWindowRect(&rcWindow);
  rcCaption.OffsetRect(rcWindow.TopLeft());
  const bool bRealRegion = reinterpret_cast<UINT_PTR>(hUpdate) > 1;
  if (bRealRegion && !::RectInRegion(hUpdate, &rcCaption)) {
    pFrame->DefWindowProc(WM_NCPAINT, reinterpret_cast<WPARAM>(hUpdate), 0);
    return FALSE;
  }
  CRgn rest;
  if (bRealRegion) {
    rest.CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(static_cast<HRGN>(rest.GetSafeHandle()), hUpdate, nullptr, RGN_COPY);
  } else {
    rest.CreateRectRgnIndirect(&rcWindow);
  }
  CRgn caption;
  caption.CreateRectRgnIndirect(&rcCaption);
  rest.CombineRgn(&rest, &caption, RGN_DIFF);
  pFrame->DefWindowProc(WM_NCPAINT, reinterpret_cast<WPARAM>(rest.GetSafeHandle()), 0);
  return TRUE;
}

LRESULT SECFrameCaption::OnNcActivate(CWnd* pFrame, BOOL bActive, BOOL bStayActive) {
  if (!pFrame->IsWindowEnabled())
    bActive = FALSE;
  else if (bStayActive)
    bActive = TRUE;
  m_bActive = bActive;
  CFrameWnd* pActive = pFrame->IsFrameWnd() ? static_cast<CFrameWnd*>(pFrame)->GetActiveFrame() : nullptr;
  if (pActive != nullptr && pActive != pFrame && pActive->GetSafeHwnd() != nullptr) {
    pActive->SendMessage(WM_NCACTIVATE, bActive);
    pActive->SendMessage(WM_NCPAINT);
  }
  // Without WS_VISIBLE the system paints no caption of its own over the gradient.
  const DWORD dwStyle = pFrame->GetStyle();
  ::SetWindowLong(pFrame->GetSafeHwnd(), GWL_STYLE, static_cast<LONG>(dwStyle & ~WS_VISIBLE));
  const LRESULT result = pFrame->DefWindowProc(WM_NCACTIVATE, bActive, 0);
  ::SetWindowLong(pFrame->GetSafeHwnd(), GWL_STYLE, static_cast<LONG>(dwStyle));
  pFrame->SendMessage(WM_NCPAINT, 1);
  return result;
}

void SECFrameCaption::OnSetText(CWnd* pFrame, LPARAM lParam) {
  const DWORD dwStyle = pFrame->GetStyle();
  ::SetWindowLong(pFrame->GetSafeHwnd(), GWL_STYLE, static_cast<LONG>(dwStyle & ~WS_VISIBLE));
  pFrame->DefWindowProc(WM_SETTEXT, 0, lParam);
  ::SetWindowLong(pFrame->GetSafeHwnd(), GWL_STYLE, static_cast<LONG>(dwStyle));
}
