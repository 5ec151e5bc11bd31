// CClassHirChildWnd: the workbook sheet that frames a picture window, maximised whenever it is
// activated as every child frame of the application is.
#pragma once

#include "bars/SECWorksheet.h"

class CClassHirChildWnd : public SECWorksheet {
  DECLARE_DYNCREATE(CClassHirChildWnd)

 protected:
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  DECLARE_MESSAGE_MAP()
};
