// The picture window's frame.
#include "app/CClassHirChildWnd.h"

IMPLEMENT_DYNCREATE(CClassHirChildWnd, SECWorksheet)

BEGIN_MESSAGE_MAP(CClassHirChildWnd, SECWorksheet)
  ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

void CClassHirChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
  SECWorksheet::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
  if (bActivate && pActivateWnd == this && !IsZoomed()) MDIMaximize();
}
