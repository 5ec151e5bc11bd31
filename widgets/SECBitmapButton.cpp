// The bitmap button: the bitmap's and the caption's places for each alignment, drawing both,
// and reloading the bitmap when the system colours change.
#include "widgets/SECBitmapButton.h"

#include "widgets/SECLoadSysColorBitmap.h"

namespace kelpwood::foundation {

IMPLEMENT_DYNAMIC(SECBitmapButton, SECOwnerDrawButton)

BEGIN_MESSAGE_MAP(SECBitmapButton, SECOwnerDrawButton)
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

int SECBitmapButton::m_nDefaultMarginX = 5;
int SECBitmapButton::m_nDefaultMarginY = 5;

SECBitmapButton::SECBitmapButton() : m_nMarginX(m_nDefaultMarginX), m_nMarginY(m_nDefaultMarginY) {}

BOOL SECBitmapButton::LoadBitmapResource(LPCTSTR lpszBitmap) {
  if (IS_INTRESOURCE(lpszBitmap)) {
    m_lpszBitmap = lpszBitmap;
  } else {
    m_strBitmapName = lpszBitmap != nullptr ? lpszBitmap : "";
    m_lpszBitmap = m_strBitmapName;
  }
  return SECLoadSysColorBitmap(&m_bitmap, m_lpszBitmap);
}

BOOL SECBitmapButton::AttachButton(UINT nID, int nAlign, LPCTSTR lpszBitmap, CWnd* pParent, DWORD dwFlags) {
  m_nAlign = nAlign;
  if (!LoadBitmapResource(lpszBitmap) || !SECOwnerDrawButton::AttachButton(nID, pParent, dwFlags)) return FALSE;
  RecalcLayout();
  return TRUE;
}

BOOL SECBitmapButton::AttachButton(UINT nID, int nAlign, UINT nIDBitmap, CWnd* pParent, DWORD dwFlags) {
  return AttachButton(nID, nAlign, MAKEINTRESOURCE(nIDBitmap), pParent, dwFlags);
}

BOOL SECBitmapButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                             int nAlign, LPCTSTR lpszBitmap, DWORD dwFlags) {
  m_nAlign = nAlign;
  if (!LoadBitmapResource(lpszBitmap) ||
      !SECOwnerDrawButton::Create(lpszCaption, dwStyle, rect, pParentWnd, nID, dwFlags))
    return FALSE;
  RecalcLayout();
  return TRUE;
}

BOOL SECBitmapButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                             int nAlign, UINT nIDBitmap, DWORD dwFlags) {
  return Create(lpszCaption, dwStyle, rect, pParentWnd, nID, nAlign, MAKEINTRESOURCE(nIDBitmap), dwFlags);
}

void SECBitmapButton::RecalcLayout() {
  if (m_hWnd == nullptr) return;
  CRect space;
  GetClientRect(&space);
  space.right -= 3;
  space.bottom -= 3;
  BITMAP bm{};
  if (m_bitmap.GetSafeHandle() != nullptr) m_bitmap.GetBitmap(&bm);
  CRect bitmap(0, 0, bm.bmWidth, bm.bmHeight);
  CRect text = space;
  const int centreX = space.left + (space.Width() - bm.bmWidth) / 2;
  const int centreY = space.top + (space.Height() - bm.bmHeight) / 2;
  switch (m_nAlign) {
    case Al_Left:
      bitmap.OffsetRect(space.left + m_nMarginX, centreY);
      text.left = bitmap.right + 1;
      break;
    case Al_Right:
      bitmap.OffsetRect(space.right - m_nMarginX - bm.bmWidth, centreY);
      text.right = bitmap.left - 1;
      break;
    case Al_Top:
      bitmap.OffsetRect(centreX, space.top + m_nMarginY);
      text.top = bitmap.bottom + 1;
      break;
    case Al_Bottom:
      bitmap.OffsetRect(centreX, space.bottom - m_nMarginY - bm.bmHeight);
      text.bottom = bitmap.top - 1;
      break;
    case Al_Center:
      bitmap.OffsetRect(centreX, centreY);
      text.SetRectEmpty();
      break;
    default:
      return;
  }
  auto clamp = [&](CRect& r) {
    r.left = std::clamp(r.left, space.left, space.right);
    r.right = std::clamp(r.right, space.left, space.right);
    r.top = std::clamp(r.top, space.top, space.bottom);
    r.bottom = std::clamp(r.bottom, space.top, space.bottom);
  };
  clamp(bitmap);
  clamp(text);
  m_rcBitmap = bitmap;
  m_rcText = text;
}

CFont* SECBitmapButton::ButtonFont() {
  CFont* pFont = GetFont();
  return pFont != nullptr && pFont->GetSafeHandle() != nullptr
             ? pFont
             : CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

CRect SECBitmapButton::CaptionRect(CDC* pDC, const CRect& rcText) {
  CString caption;
  GetWindowText(caption);
  CRect rc = rcText;
  pDC->DrawText(caption, rc, DT_CALCRECT | DT_SINGLELINE);
  rc.OffsetRect(rcText.left + (rcText.Width() - rc.Width()) / 2 - rc.left,
                rcText.top + (rcText.Height() - rc.Height()) / 2 - rc.top);
  return rc;
}

void SECBitmapButton::DrawContents(CDC* pDC, LPDRAWITEMSTRUCT, RECT* pRect) {
  if (m_bitmap.GetSafeHandle() == nullptr) return;
  CRect rcBitmap = m_rcBitmap;
  rcBitmap.OffsetRect(pRect->left, pRect->top);
  CDC memDC;
  if (memDC.CreateCompatibleDC(pDC)) {
    CBitmap* pOld = memDC.SelectObject(&m_bitmap);
    pDC->BitBlt(rcBitmap.left, rcBitmap.top, rcBitmap.Width(), rcBitmap.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOld);
  }
  if (m_nAlign == Al_Center) return;
  CRect rcText = m_rcText;
  rcText.OffsetRect(pRect->left, pRect->top);
  CString caption;
  GetWindowText(caption);
  CFont* pOldFont = pDC->SelectObject(ButtonFont());
  pDC->SetBkColor(m_clrFace);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->DrawText(caption, rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  pDC->SelectObject(pOldFont);
}

void SECBitmapButton::DrawFocusRect(CDC* pDC, RECT* pRect) {
  // pRect is the focus rectangle of the frame; the contents sit at its inside's origin.
  const CPoint origin = CRect(*pRect).TopLeft() + CSize(1, 1);
  CRect rc;
  if (m_nAlign == Al_Center) {
    rc = m_rcBitmap;
    rc.OffsetRect(origin);
    rc.InflateRect(3, 3);
  } else {
    CRect rcText = m_rcText;
    rcText.OffsetRect(origin);
    CFont* pOldFont = pDC->SelectObject(ButtonFont());
    rc = CaptionRect(pDC, rcText);
    pDC->SelectObject(pOldFont);
  }
  pDC->DrawFocusRect(rc);
}

void SECBitmapButton::OnSysColorChange() {
  if (m_lpszBitmap != nullptr) SECLoadSysColorBitmap(&m_bitmap, m_lpszBitmap);
  SECOwnerDrawButton::OnSysColorChange();
}

void SECBitmapButton::OnSize(UINT, int, int) {
  Default();
  RecalcLayout();
}

void SECBitmapButton::OnDestroy() {
  m_bitmap.DeleteObject();
  SECOwnerDrawButton::OnDestroy();
}

}  // namespace kelpwood::foundation
