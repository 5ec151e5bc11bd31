// The colour picker button.
#include "app/CColourPicker.h"

#include <algorithm>

#include "afx/CDC.h"

IMPLEMENT_DYNCREATE(CColourPicker, CButton)

BEGIN_MESSAGE_MAP(CColourPicker, CButton)
  ON_WM_CREATE()
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
  ON_MESSAGE(CPN_SELENDOK, OnSelEndOK)
  ON_MESSAGE(CPN_SELENDCANCEL, OnSelEndCancel)
  ON_MESSAGE(CPN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

CColourPicker::CColourPicker()
    : m_crColourBk(::GetSysColor(COLOR_BTNFACE)), m_crColourText(::GetSysColor(COLOR_BTNTEXT)) {}

void CColourPicker::RedrawNow() {
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CColourPicker::SetBkColour(COLORREF crColourBk) {
  m_crColourBk = crColourBk;
  RedrawNow();
}

void CColourPicker::SetTextColour(COLORREF crColourText) {
  m_crColourText = crColourText;
  RedrawNow();
}

void CColourPicker::SetColour(COLORREF crColour) {
  if (m_nSelectionMode == CP_MODE_TEXT)
    SetTextColour(crColour);
  else
    SetBkColour(crColour);
}

void CColourPicker::Notify(UINT nMessage, COLORREF crColour) {
  if (CWnd* pParent = GetParent())
    pParent->SendMessage(nMessage, static_cast<WPARAM>(crColour), static_cast<LPARAM>(GetDlgCtrlID()));
}

void CColourPicker::PreSubclassWindow() {
  ModifyStyle(0, BS_OWNERDRAW);
  CButton::PreSubclassWindow();
  SetWindowSize();
}

int CColourPicker::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CButton::OnCreate(lpCreateStruct) == -1) return -1;
  SetWindowSize();
  return 0;
}

void CColourPicker::SetWindowSize() {
  const int nArrow = std::max({::GetSystemMetrics(SM_CXHTHUMB), 5 * ::GetSystemMetrics(SM_CXEDGE),
                               ::GetSystemMetrics(SM_CYVTHUMB), 5 * ::GetSystemMetrics(SM_CYEDGE)});
  const int nEdgeX = ::GetSystemMetrics(SM_CXEDGE);
  const int nEdgeY = ::GetSystemMetrics(SM_CYEDGE);
  CRect rect;
  GetWindowRect(&rect);
  if (CWnd* pParent = GetParent()) pParent->ScreenToClient(&rect);
  const int nWidth = std::max<int>(rect.Width(), 2 * (nArrow + nEdgeX));
  const int nHeight = nArrow + 2 * nEdgeY;
  MoveWindow(rect.left, rect.top, nWidth, nHeight, TRUE);
  m_ArrowRect.SetRect(nWidth - nEdgeX - nArrow, nEdgeY, nWidth - nEdgeX, nHeight - nEdgeY);
}

BOOL CColourPicker::OnClicked() {
  m_bActive = TRUE;
  CRect rect;
  GetWindowRect(&rect);
  // The popup lives on its own and deletes itself when the choice ends.
  new CColourPopup(CPoint(rect.left, rect.bottom), GetColour(), this, m_strDefaultText, m_strCustomText);
  Notify(CPN_DROPDOWN, GetColour());
  return TRUE;
}

LRESULT CColourPicker::OnSelEndOK(WPARAM wParam, LPARAM) {
  const auto crColour = static_cast<COLORREF>(wParam);
  m_bActive = FALSE;
  const COLORREF crOld = GetColour();
  SetColour(crColour);
  Notify(CPN_CLOSEUP, crColour);
  Notify(CPN_SELENDOK, crColour);
  if (crColour != crOld) Notify(CPN_SELCHANGE, crColour);
  return TRUE;
}

LRESULT CColourPicker::OnSelEndCancel(WPARAM wParam, LPARAM) {
  const auto crColour = static_cast<COLORREF>(wParam);
  m_bActive = FALSE;
  SetColour(crColour);
  Notify(CPN_CLOSEUP, crColour);
  Notify(CPN_SELENDCANCEL, crColour);
  return TRUE;
}

LRESULT CColourPicker::OnSelChange(WPARAM wParam, LPARAM) {
  const auto crColour = static_cast<COLORREF>(wParam);
  if (m_bTrackSelection) SetColour(crColour);
  Notify(CPN_SELCHANGE, crColour);
  return TRUE;
}

void CColourPicker::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  const UINT nState = lpDrawItemStruct->itemState;
  const bool bSelected = (nState & ODS_SELECTED) != 0 || m_bActive;
  const bool bDisabled = (nState & ODS_DISABLED) != 0;
  CRect rect = lpDrawItemStruct->rcItem;
  CRect arrow = m_ArrowRect;
  pDC->DrawFrameControl(&arrow, DFC_SCROLL,
                        DFCS_SCROLLDOWN | (bSelected ? DFCS_PUSHED : 0) | (bDisabled ? DFCS_INACTIVE : 0));
  pDC->DrawEdge(&rect, EDGE_SUNKEN, BF_RECT);
  // The swatch: inside the edge, left of the arrow.
  const int nEdgeX = ::GetSystemMetrics(SM_CXEDGE);
  const int nEdgeY = ::GetSystemMetrics(SM_CYEDGE);
  CRect swatch(rect.left + nEdgeX, rect.top + nEdgeY, m_ArrowRect.left, rect.bottom - nEdgeY);
  const bool bAutomatic = m_crColourBk == CLR_DEFAULT;
  pDC->FillSolidRect(&swatch, bDisabled || bAutomatic ? ::GetSysColor(COLOR_3DFACE) : m_crColourBk);
  CString strText;
  GetWindowText(strText);
  if (!strText.IsEmpty()) {
    pDC->SetBkMode(TRANSPARENT);
    const UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (bDisabled) {
      CRect shifted = swatch;
      shifted.OffsetRect(1, 1);
      pDC->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
      pDC->DrawText(strText, &shifted, nFormat);
      pDC->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
    } else {
      pDC->SetTextColor(m_crColourText == CLR_DEFAULT ? RGB(0, 0, 0) : m_crColourText);
    }
    pDC->DrawText(strText, &swatch, nFormat);
  }
  if (nState & ODS_FOCUS) {
    CRect focus = swatch;
    focus.DeflateRect(1, 1);
    pDC->DrawFocusRect(&focus);
  }
}

void DDX_ColourPicker(CDataExchange* pDX, int nIDC, COLORREF& crColour) {
  HWND hCtrl = pDX->PrepareCtrl(nIDC);
  auto* pPicker = dynamic_cast<CColourPicker*>(CWnd::FromHandlePermanent(hCtrl));
  if (pPicker == nullptr) return;
  if (pDX->m_bSaveAndValidate)
    crColour = pPicker->GetColour();
  else
    pPicker->SetColour(crColour);
}
