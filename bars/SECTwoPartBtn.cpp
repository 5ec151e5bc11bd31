// The split toolbar button: a standard left part and an arrow part with its own command.
#include "bars/SECTwoPartBtn.h"

#include "bars/SECCustomToolBar.h"

const SECButtonClass SECTwoPartBtn::s_btnClass = {&SECCreateButtonOf<SECTwoPartBtn>};

SECTwoPartBtn::SECTwoPartBtn() {
  m_nType = TwoPartBtn;
  m_cx = 23 + kArrowWidth;
}

void SECTwoPartBtn::Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) {
  if (pParams != nullptr) {
    m_nArrowID = static_cast<UINT>(pParams[0]);
    m_nArrowReleaseID = static_cast<UINT>(pParams[1]);
  }
  if (m_nArrowReleaseID == 0) m_nArrowReleaseID = m_nArrowID;
  if (pToolBar != nullptr) m_nArrowImage = pToolBar->GetImageIndex(m_nArrowID);
  SECStdBtn::Init(pToolBar, pParams);
}

void SECTwoPartBtn::ShowAsButton(BOOL bAsButton) {
  m_bTwoPart = !bAsButton;
  AdjustSize();
}

void SECTwoPartBtn::AdjustSize() {
  SECStdBtn::AdjustSize();
  if (m_bTwoPart && !IsSeparator() && m_pToolBar != nullptr) {
    m_cx += kArrowWidth;
    m_pToolBar->RaiseWidestButton(m_cx);
  }
}

CRect SECTwoPartBtn::GetLeftRect() const {
  CRect rect = GetRect();
  if (m_bTwoPart) rect.right -= kArrowWidth;
  return rect;
}

CRect SECTwoPartBtn::GetArrowRect() const {
  if (!m_bTwoPart) return CRect(0, 0, 0, 0);
  CRect rect = GetRect();
  rect.left = rect.right - kArrowWidth;
  return rect;
}

BOOL SECTwoPartBtn::BtnPressed(CPoint point) {
  if (m_nStyle & TBBS_DISABLED) return FALSE;
  if (GetArrowRect().PtInRect(point)) {
    if (m_nStyle & TBBS_DROPDOWN) {
      SendDropDown(SEC_TBBS_ARROWPRESSED);
      return FALSE;
    }
    ChangeStyle(0, SEC_TBBS_ARROWDOWN | SEC_TBBS_ARROWPRESSED);
    return TRUE;
  }
  // The left part is a plain button whatever the drop-down style says.
  ChangeStyle(0, TBBS_PRESSED);
  return TRUE;
}

void SECTwoPartBtn::BtnMouseMove(CPoint point) {
  if (m_nStyle & SEC_TBBS_ARROWDOWN) {
    if (GetArrowRect().PtInRect(point))
      ChangeStyle(0, SEC_TBBS_ARROWPRESSED);
    else
      ChangeStyle(SEC_TBBS_ARROWPRESSED, 0);
    return;
  }
  if (GetLeftRect().PtInRect(point))
    ChangeStyle(0, TBBS_PRESSED);
  else
    ChangeStyle(TBBS_PRESSED, 0);
}

void SECTwoPartBtn::BtnCancel() { ChangeStyle(TBBS_PRESSED | SEC_TBBS_ARROWDOWN | SEC_TBBS_ARROWPRESSED, 0); }

UINT SECTwoPartBtn::BtnReleased(CPoint point) {
  if (m_nStyle & SEC_TBBS_ARROWDOWN) {
    ChangeStyle(SEC_TBBS_ARROWDOWN | SEC_TBBS_ARROWPRESSED, 0);
    return GetArrowRect().PtInRect(point) ? m_nArrowReleaseID : 0;
  }
  // A release outside the left part is a release outside the button.
  const CPoint outside(m_x - 1, m_y - 1);
  return SECStdBtn::BtnReleased(GetLeftRect().PtInRect(point) ? point : outside);
}

void SECTwoPartBtn::Draw(CDC& dc, SECBtnDrawCache& cache) {
  if (!m_bTwoPart || IsSeparator()) {
    SECStdBtn::Draw(dc, cache);
    return;
  }
  // Two passes through the plain drawing: the left part with the button's image, then the
  // arrow part with the arrow command's, pressed when the arrow is.
  const int x = m_x, cx = m_cx, nImage = m_nImage;
  const UINT nID = m_nID, nStyle = m_nStyle;
  m_cx = cx - kArrowWidth;
  m_nStyle = nStyle & ~(SEC_TBBS_ARROWDOWN | SEC_TBBS_ARROWPRESSED);
  SECStdBtn::Draw(dc, cache);
  m_x = x + cx - kArrowWidth - 1;
  m_cx = kArrowWidth + 1;
  m_nID = m_nArrowID;
  m_nImage = m_nArrowImage;
  m_nStyle = (nStyle & ~(TBBS_PRESSED | TBBS_CHECKED | TBBS_INDETERMINATE | SEC_TBBS_SELECTED)) |
             ((nStyle & SEC_TBBS_ARROWPRESSED) ? TBBS_PRESSED : 0);
  SECStdBtn::Draw(dc, cache);
  m_x = x;
  m_cx = cx;
  m_nID = nID;
  m_nImage = nImage;
  m_nStyle = nStyle;
  if (nStyle & SEC_TBBS_SELECTED) {
    CRect rect = GetRect();
    DrawSelectFrame(dc, rect);
  }
}
