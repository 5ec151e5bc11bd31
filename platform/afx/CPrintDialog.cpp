// CPrintDialog and CPageSetupDialog: the platform dialogs run with the object attached through
// the common hook; the answer read from PRINTDLG/PAGESETUPDLG and their DEVMODE/DEVNAMES blocks.
#include "afx/CPrintDialog.h"

#include "afx/AfxRes.h"
#include "afx/CDC.h"

IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPageSetupDialog, CCommonDialog)

namespace {

// One of the three names of a DEVNAMES block; empty when there is none.
CString DevName(HGLOBAL hDevNames, int which) {
  brambolt::DevNamesContent names;
  if (!brambolt::ReadDevNamesBlock(hDevNames, &names)) return CString();
  const std::string& name = which == 0 ? names.driver : which == 1 ? names.device : names.output;
  return CString(name.c_str());
}

LPDEVMODE LockedDevMode(HGLOBAL hDevMode) {
  return hDevMode ? static_cast<LPDEVMODE>(::GlobalLock(hDevMode)) : nullptr;
}

}  // namespace

HDC AfxCreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode) {
  brambolt::DevNamesContent names;
  if (!brambolt::ReadDevNamesBlock(hDevNames, &names)) return nullptr;
  DEVMODE dm{};
  bool hasMode = hDevMode && brambolt::ReadDevModeBlock(hDevMode, &dm);
  return ::CreateDC(names.driver.c_str(), names.device.c_str(), names.output.c_str(), hasMode ? &dm : nullptr);
}

// ---- CPrintDialog ----

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd) {
  m_pd.lStructSize = sizeof(m_pd);
  m_pd.Flags = dwFlags | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
  m_pd.Flags |= bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC;
  m_pd.Flags &= ~static_cast<DWORD>(PD_RETURNIC);
  m_pd.lpfnPrintHook = AfxCommDlgProc;
  m_pd.lpfnSetupHook = AfxCommDlgProc;
  m_pd.nFromPage = m_pd.nMinPage = 1;
  m_pd.nToPage = m_pd.nMaxPage = 0xFFFF;
  m_pd.nCopies = 1;
  m_nIDHelp = bPrintSetupOnly ? AFX_IDD_PRINTSETUP : AFX_IDD_PRINT;
}

INT_PTR CPrintDialog::DoModal() {
  m_pd.hwndOwner = PreModal();
  BOOL chosen = ::PrintDlg(&m_pd);
  PostModal();
  return chosen ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
  m_pd.Flags |= PD_RETURNDEFAULT;
  BOOL ok = ::PrintDlg(&m_pd);
  m_pd.Flags &= ~static_cast<DWORD>(PD_RETURNDEFAULT);
  return ok;
}

LPDEVMODE CPrintDialog::GetDevMode() const { return LockedDevMode(m_pd.hDevMode); }
CString CPrintDialog::GetDriverName() const { return DevName(m_pd.hDevNames, 0); }
CString CPrintDialog::GetDeviceName() const { return DevName(m_pd.hDevNames, 1); }
CString CPrintDialog::GetPortName() const { return DevName(m_pd.hDevNames, 2); }
HDC CPrintDialog::GetPrinterDC() const { return m_pd.hDC; }

HDC CPrintDialog::CreatePrinterDC() {
  m_pd.hDC = AfxCreateDC(m_pd.hDevNames, m_pd.hDevMode);
  return m_pd.hDC;
}

int CPrintDialog::GetCopies() const {
  if (m_pd.Flags & PD_USEDEVMODECOPIES) {
    LPDEVMODE dm = GetDevMode();
    int copies = dm ? dm->dmCopies : 1;
    if (dm) ::GlobalUnlock(m_pd.hDevMode);
    return copies;
  }
  return m_pd.nCopies;
}

BOOL CPrintDialog::PrintCollate() const {
  if (m_pd.Flags & PD_USEDEVMODECOPIES) {
    LPDEVMODE dm = GetDevMode();
    bool collate = dm && dm->dmCollate == DMCOLLATE_TRUE;
    if (dm) ::GlobalUnlock(m_pd.hDevMode);
    return collate;
  }
  return (m_pd.Flags & PD_COLLATE) != 0;
}

BOOL CPrintDialog::PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
BOOL CPrintDialog::PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
BOOL CPrintDialog::PrintAll() const { return !PrintRange() && !PrintSelection(); }
int CPrintDialog::GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
int CPrintDialog::GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

// ---- CPageSetupDialog ----

CPageSetupDialog::CPageSetupDialog(DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd) {
  m_psd.lStructSize = sizeof(m_psd);
  m_psd.Flags = dwFlags | PSD_ENABLEPAGESETUPHOOK | PSD_ENABLEPAGEPAINTHOOK;
  m_psd.lpfnPageSetupHook = AfxCommDlgProc;
  m_psd.lpfnPagePaintHook = PaintHookProc;
}

CPageSetupDialog::~CPageSetupDialog() {
  if (m_psd.hDevMode) ::GlobalFree(m_psd.hDevMode);
  if (m_psd.hDevNames) ::GlobalFree(m_psd.hDevNames);
}

INT_PTR CPageSetupDialog::DoModal() {
  m_psd.hwndOwner = PreModal();
  BOOL chosen = ::PageSetupDlg(&m_psd);
  PostModal();
  return chosen ? IDOK : IDCANCEL;
}

void CPageSetupDialog::GetMargins(LPRECT lpRectMargins, LPRECT lpRectMinMargins) const {
  if (lpRectMargins) *lpRectMargins = m_psd.rtMargin;
  if (lpRectMinMargins) *lpRectMinMargins = m_psd.rtMinMargin;
}

LPDEVMODE CPageSetupDialog::GetDevMode() const { return LockedDevMode(m_psd.hDevMode); }
CString CPageSetupDialog::GetDriverName() const { return DevName(m_psd.hDevNames, 0); }
CString CPageSetupDialog::GetDeviceName() const { return DevName(m_psd.hDevNames, 1); }
CString CPageSetupDialog::GetPortName() const { return DevName(m_psd.hDevNames, 2); }
HDC CPageSetupDialog::CreatePrinterDC() { return AfxCreateDC(m_psd.hDevNames, m_psd.hDevMode); }

UINT CPageSetupDialog::PreDrawPage(WORD, WORD, LPPAGESETUPDLG) { return 0; }
UINT CPageSetupDialog::OnDrawPage(CDC*, UINT, LPRECT) { return 0; }

UINT_PTR CALLBACK CPageSetupDialog::PaintHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* dialog = dynamic_cast<CPageSetupDialog*>(CWnd::FromHandlePermanent(hWnd));
  if (dialog == nullptr) return 0;
  if (message == WM_PSD_PAGESETUPDLG)
    return dialog->PreDrawPage(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<LPPAGESETUPDLG>(lParam));
  if (message > WM_PSD_PAGESETUPDLG && message <= WM_PSD_YAFULLPAGERECT)
    return dialog->OnDrawPage(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), message,
                              reinterpret_cast<LPRECT>(lParam));
  return 0;
}
