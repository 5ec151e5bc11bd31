// The owner-drawn button: off-screen drawing of frame and contents, the disabled emboss, the
// focus rectangle, flat buttons that raise under the mouse, and clicks by mouse and space bar.
#include "widgets/SECOwnerDrawButton.h"

#include "widgets/WidgetDrawing.h"

namespace kelpwood::foundation {

IMPLEMENT_DYNAMIC(SECOwnerDrawButton, CButton)

BEGIN_MESSAGE_MAP(SECOwnerDrawButton, CButton)
  ON_WM_SYSCOLORCHANGE()
  ON_WM_KEYUP()
  ON_WM_GETDLGCODE()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
END_MESSAGE_MAP()

namespace {

constexpr DWORD kButtonTypeMask = 0x000F;  // BS_PUSHBUTTON ... BS_OWNERDRAW

}  // namespace

COLORREF SECOwnerDrawButton::m_clrFrame = 0;
COLORREF SECOwnerDrawButton::m_clrShadow = 0;
COLORREF SECOwnerDrawButton::m_clrHilight = 0;
COLORREF SECOwnerDrawButton::m_clrFace = 0;

void SECOwnerDrawButton::RefreshColors() {
  m_clrFrame = ::GetSysColor(COLOR_WINDOWFRAME);
  m_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
  m_clrHilight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_clrFace = ::GetSysColor(COLOR_BTNFACE);
}

SECOwnerDrawButton::SECOwnerDrawButton() {
  m_bNewLook = LOBYTE(LOWORD(::GetVersion())) >= 4;
  RefreshColors();
}

BOOL SECOwnerDrawButton::AttachButton(UINT nID, CWnd* pParent, DWORD dwFlags) {
  m_dwFlags = dwFlags;
  return SubclassDlgItem(nID, pParent);
}

BOOL SECOwnerDrawButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                                DWORD dwFlags) {
  m_dwFlags = dwFlags;
  return CButton::Create(lpszCaption, (dwStyle & ~kButtonTypeMask) | BS_OWNERDRAW, rect, pParentWnd, nID);
}

void SECOwnerDrawButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) {
  const DWORD dwOld = GetStyle();
  const DWORD dwNew = (dwOld & 0xFFFF0000) | (nStyle & 0xFFFF & ~kButtonTypeMask) | BS_OWNERDRAW;
  if (dwNew == dwOld) return;
  ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(dwNew));
  if (bRedraw) Invalidate();
}

// ---- drawing ----

void SECOwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT pDIS) {
  CDC* pDC = CDC::FromHandle(pDIS->hDC);
  if ((pDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0) {
    const CRect rcItem = pDIS->rcItem;
    CDC memDC;
    CBitmap bitmap;
    const bool bOffScreen = memDC.CreateCompatibleDC(pDC) &&
                            bitmap.CreateCompatibleBitmap(pDC, rcItem.Width(), rcItem.Height());
    CDC* pTarget = pDC;
    CBitmap* pOldBitmap = nullptr;
    if (bOffScreen) {
      pOldBitmap = memDC.SelectObject(&bitmap);
      memDC.SetWindowOrg(rcItem.left, rcItem.top);
      memDC.SelectObject(GetFont() != nullptr ? GetFont() : CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
      pTarget = &memDC;
    }
    PrepareDC(pDC, bOffScreen ? &memDC : nullptr);
    CRect rcInside = DrawFrame(pTarget, pDIS);
    DrawContents(pTarget, pDIS, &rcInside);
    if (bOffScreen) {
      // Without the off-screen copy the disabled effect is left out: it works on what was drawn.
      if ((pDIS->itemState & ODS_DISABLED) != 0) {
        memDC.SetWindowOrg(0, 0);
        DrawDisabled(&memDC, rcItem.Width(), rcItem.Height());
      }
      pDC->BitBlt(rcItem.left, rcItem.top, rcItem.Width(), rcItem.Height(), &memDC, 0, 0, SRCCOPY);
      memDC.SelectObject(pOldBitmap);
    }
    RestoreDC(pDC, bOffScreen ? &memDC : nullptr);
  }
  DrawFocus(pDC, pDIS);
}

CRect SECOwnerDrawButton::DrawFrame(CDC* pDC, LPDRAWITEMSTRUCT pDIS) {
  CRect rc = pDIS->rcItem;
  pDC->FillSolidRect(rc, m_clrFace);
  const bool bPushed = (pDIS->itemState & ODS_SELECTED) != 0;
  // The old look's one-pixel black outline leaves its corners out.
  auto outline = [&](const CRect& r) {
    pDC->FillSolidRect(r.left + 1, r.top, r.Width() - 2, 1, m_clrFrame);
    pDC->FillSolidRect(r.left + 1, r.bottom - 1, r.Width() - 2, 1, m_clrFrame);
    pDC->FillSolidRect(r.left, r.top + 1, 1, r.Height() - 2, m_clrFrame);
    pDC->FillSolidRect(r.right - 1, r.top + 1, 1, r.Height() - 2, m_clrFrame);
  };
  if (bPushed) {
    if (m_bNewLook) {
      pDC->Draw3dRect(rc, m_clrFrame, m_clrHilight);
      rc.DeflateRect(1, 1);
      pDC->Draw3dRect(rc, m_clrShadow, m_clrFace);
    } else {
      outline(rc);
      rc.DeflateRect(1, 1);
      pDC->Draw3dRect(rc, m_clrShadow, m_clrHilight);
      rc.DeflateRect(1, 1);
      pDC->Draw3dRect(rc, m_clrShadow, m_clrHilight);
    }
    rc.DeflateRect(1, 1);
    rc.OffsetRect(1, 1);
    return rc;
  }
  if (m_bNewLook) {
    if (m_bFlat) return rc;
    pDC->Draw3dRect(rc, m_clrHilight, m_clrFrame);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, m_clrFace, m_clrShadow);
  } else {
    outline(rc);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, m_clrHilight, m_clrShadow);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, m_clrHilight, m_clrShadow);
  }
  rc.DeflateRect(1, 1);
  rc.right -= 1;
  rc.bottom -= 1;
  return rc;
}

void SECOwnerDrawButton::DrawDisabled(CDC* pDC, int cx, int cy) {
  widgets::Emboss(pDC, cx, cy, {m_clrFace, m_clrHilight}, CPoint(2, 2), CPoint(1, 1));
}

void SECOwnerDrawButton::DrawFocus(CDC* pDC, LPDRAWITEMSTRUCT pDIS) {
  if ((pDIS->itemState & ODS_FOCUS) == 0) return;
  CRect rc = pDIS->rcItem;
  const int inset = m_bNewLook ? 1 : 2;
  rc.DeflateRect(inset, inset);
  if ((pDIS->itemState & ODS_SELECTED) != 0) {
    rc.OffsetRect(1, 1);
  } else {
    rc.right -= 1;
    rc.bottom -= 1;
  }
  const COLORREF old = pDC->SetBkColor(m_clrFace);
  DrawFocusRect(pDC, &rc);
  pDC->SetBkColor(old);
}

// ---- messages ----

void SECOwnerDrawButton::OnSysColorChange() {
  RefreshColors();
  Invalidate();
}

void SECOwnerDrawButton::OnKeyUp(UINT nChar, UINT, UINT) {
  Default();
  if (nChar == VK_SPACE) OnClicked();
}

UINT SECOwnerDrawButton::OnGetDlgCode() {
  UINT code = DLGC_BUTTON;
  if (::GetFocus() == m_hWnd && (m_dwFlags & SEC_BTN_DEFAULT_WHEN_FOCUSED) != 0) code |= DLGC_DEFPUSHBUTTON;
  return code;
}

void SECOwnerDrawButton::OnLButtonUp(UINT, CPoint point) {
  CRect rc;
  GetClientRect(&rc);
  const bool bClick = rc.PtInRect(point) && IsPushed() && ::GetCapture() == m_hWnd;
  if (bClick) OnClicked();
  Default();
}

void SECOwnerDrawButton::OnMouseMove(UINT, CPoint point) {
  if (m_bFlat && !IsPushed()) {
    CRect rc;
    GetClientRect(&rc);
    CClientDC dc(this);
    if (rc.PtInRect(point)) {
      if (::GetCapture() != m_hWnd) SetCapture();
      dc.Draw3dRect(rc, m_clrHilight, m_clrShadow);
    } else {
      dc.Draw3dRect(rc, m_clrFace, m_clrFace);
      if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    }
  }
  Default();
}

LRESULT SECOwnerDrawButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
  // The dialog manager switches default and plain push buttons through here: the button stays
  // owner-drawn and keeps the default look to itself.
  SetButtonStyle(static_cast<UINT>(wParam), static_cast<BOOL>(lParam));
  return 0;
}

}  // namespace kelpwood::foundation
