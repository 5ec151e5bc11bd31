// The menu-resource button: loads its menu and pops the submenu up under itself.
#include "bars/SECStdMenuBtn.h"

#include "bars/SECCustomToolBar.h"

const SECButtonClass SECStdMenuBtn::s_btnClass = {&SECCreateButtonOf<SECStdMenuBtn>};

SECStdMenuBtn::SECStdMenuBtn() = default;

void SECStdMenuBtn::Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) {
  if (pParams != nullptr) {
    if (pParams[0] != 0) m_menu.LoadMenu(static_cast<UINT>(pParams[0]));
    m_nSubMenu = static_cast<int>(pParams[1]);
    m_nAlign = static_cast<UINT>(pParams[2]);
  }
  SECStdBtn::Init(pToolBar, pParams);
}

CPoint SECStdMenuBtn::MenuPoint(UINT& nFlags) const {
  const CRect rect = GetRect();
  CPoint point(rect.left, rect.bottom);
  nFlags = TPM_LEFTALIGN;
  if (m_nAlign == TPM_CENTERALIGN) {
    point.x = rect.CenterPoint().x;
    nFlags = TPM_CENTERALIGN;
  } else if (m_nAlign == TPM_RIGHTALIGN) {
    point.x = rect.right;
    nFlags = TPM_RIGHTALIGN;
  }
  if (m_pToolBar != nullptr && m_pToolBar->GetSafeHwnd() != nullptr) m_pToolBar->ClientToScreen(&point);
  return point;
}

BOOL SECStdMenuBtn::BtnPressed(CPoint point) {
  if (m_nStyle & TBBS_DROPDOWN) return SECStdBtn::BtnPressed(point);
  if (m_nStyle & TBBS_DISABLED) return FALSE;
  CMenu* pPopup = m_menu.GetSafeHmenu() != nullptr ? m_menu.GetSubMenu(m_nSubMenu) : nullptr;
  if (pPopup == nullptr) return FALSE;
  ChangeStyle(0, TBBS_PRESSED);
  if (m_pToolBar != nullptr) m_pToolBar->UpdateWindow();
  UINT nFlags = 0;
  const CPoint pointMenu = MenuPoint(nFlags);
  pPopup->TrackPopupMenu(nFlags | TPM_LEFTBUTTON, pointMenu.x, pointMenu.y, AfxGetMainWnd());
  ChangeStyle(TBBS_PRESSED, 0);
  return FALSE;
}
