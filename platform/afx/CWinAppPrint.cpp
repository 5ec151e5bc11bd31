// CWinApp's printer: the DEVMODE and DEVNAMES blocks the application keeps, taken from the
// default printer and replaced by what the print and print-setup dialogs choose.
#include "afx/CDC.h"
#include "afx/CPrintDialog.h"
#include "afx/CWinApp.h"

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLG* pPrintDlg) {
  UpdatePrinterSelection(m_hDevNames == nullptr);
  if (m_hDevNames == nullptr) return FALSE;
  pPrintDlg->hDevMode = m_hDevMode;
  pPrintDlg->hDevNames = m_hDevNames;
  return TRUE;
}

void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults) {
  brambolt::DevNamesContent ours;
  bool have = !bForceDefaults && brambolt::ReadDevNamesBlock(m_hDevNames, &ours);
  // A printer the user picked stays; only the default printer follows the system's.
  if (have && !(ours.flags & DN_DEFAULTPRN)) return;
  CPrintDialog defaults(TRUE);
  if (!defaults.GetDefaults()) return;
  if (have && defaults.GetDeviceName() == CString(ours.device.c_str())) {
    ::GlobalFree(defaults.m_pd.hDevMode);
    ::GlobalFree(defaults.m_pd.hDevNames);
    return;
  }
  SelectPrinter(defaults.m_pd.hDevNames, defaults.m_pd.hDevMode);
}

void CWinApp::SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld) {
  if (bFreeOld) {
    if (m_hDevNames && m_hDevNames != hDevNames) ::GlobalFree(m_hDevNames);
    if (m_hDevMode && m_hDevMode != hDevMode) ::GlobalFree(m_hDevMode);
  }
  m_hDevNames = hDevNames;
  m_hDevMode = hDevMode;
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pPD) {
  UpdatePrinterSelection(FALSE);
  pPD->m_pd.hDevMode = m_hDevMode;
  pPD->m_pd.hDevNames = m_hDevNames;
  INT_PTR answer = pPD->DoModal();
  // Blocks that no longer agree (a DEVMODE of another printer) are dropped for the printer's own.
  while (answer != IDOK && ::CommDlgExtendedError() == PDERR_DNDMMISMATCH) {
    ::GlobalFree(m_hDevMode);
    m_hDevMode = pPD->m_pd.hDevMode = nullptr;
    answer = pPD->DoModal();
  }
  m_hDevMode = pPD->m_pd.hDevMode;
  m_hDevNames = pPD->m_pd.hDevNames;
  return answer;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc) {
  UpdatePrinterSelection(FALSE);
  HDC hdc = AfxCreateDC(m_hDevNames, m_hDevMode);
  if (hdc == nullptr) return FALSE;
  dc.Attach(hdc);
  dc.m_bPrinting = TRUE;
  return TRUE;
}

void CWinApp::OnFilePrintSetup() {
  CPrintDialog dialog(TRUE);
  DoPrintDialog(&dialog);
}
