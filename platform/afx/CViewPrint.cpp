// Printing from a view: CPrintInfo, DoPreparePrinting, the overridable steps of a print job and
// their defaults, and the print job itself with its "Printing" box and abort procedure.
#include <algorithm>

#include "afx/AfxRes.h"
#include "afx/CDC.h"
#include "afx/CDialog.h"
#include "afx/CFileDialog.h"
#include "afx/CPrintInfo.h"
#include "afx/CView.h"
#include "afx/CWinApp.h"
#include "gdi/Printer.h"

// ---- CPrintInfo ----

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)) {
  SetMinPage(1);
  SetMaxPage(0xFFFF);
  m_pPD->m_pd.nFromPage = 1;
  m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo() {
  // The DC is the job's; the DEVMODE and DEVNAMES blocks stay the application's.
  if (m_pPD->m_pd.hDC != nullptr) ::DeleteDC(m_pPD->m_pd.hDC);
  delete m_pPD;
}

UINT CPrintInfo::GetFromPage() const {
  return m_pPD->PrintRange() ? static_cast<UINT>(m_pPD->m_pd.nFromPage) : GetMinPage();
}

UINT CPrintInfo::GetToPage() const {
  return m_pPD->PrintRange() ? static_cast<UINT>(m_pPD->m_pd.nToPage) : GetMaxPage();
}

// ---- the view's steps ----

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
  CWinApp* app = AfxGetApp();
  PRINTDLG& pd = pInfo->m_pPD->m_pd;
  if (pInfo->m_bPreview || pInfo->m_bDirect) {
    // No dialog: the application's printer, or a DC the caller made already.
    if (pd.hDC == nullptr) {
      if (app == nullptr || !app->GetPrinterDeviceDefaults(&pd)) {
        // Without a printer to use, direct printing asks for one.
        if (pInfo->m_bPreview || app == nullptr || app->DoPrintDialog(pInfo->m_pPD) != IDOK) return FALSE;
      }
      if (pd.hDC == nullptr && pInfo->m_pPD->CreatePrinterDC() == nullptr) return FALSE;
    }
    pd.nFromPage = static_cast<WORD>(pInfo->GetMinPage());
    pd.nToPage = static_cast<WORD>(pInfo->GetMaxPage());
  } else {
    pd.nFromPage = static_cast<WORD>(pInfo->GetMinPage());
    pd.nToPage = static_cast<WORD>(pInfo->GetMaxPage());
    if (app == nullptr || app->DoPrintDialog(pInfo->m_pPD) != IDOK) return FALSE;
  }
  if (pd.hDC == nullptr) return FALSE;
  if (pInfo->m_nNumPreviewPages == 0 && app != nullptr) pInfo->m_nNumPreviewPages = app->m_nNumPreviewPages;
  pInfo->m_strPageDesc.LoadString(AFX_IDS_PREVIEWPAGEDESC);
  return TRUE;
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}


// ---- the print job ----

namespace {

// Set by the "Printing" box's Cancel; read by the abort procedure. Printing runs on the thread
// of the view's window, so one flag a thread is enough.
thread_local bool t_userAbort = false;

// Keeps the user interface alive between pages: messages are handled until there are none, and
// the job goes on unless the user cancelled it (or the application is quitting).
BOOL CALLBACK PrintAbortProc(HDC, int) {
  MSG msg;
  CWinThread* thread = AfxGetThread();
  while (!t_userAbort && ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (thread == nullptr || !thread->PumpMessage()) return FALSE;
  }
  return !t_userAbort;
}

// The modeless "Printing" box: document, printer, port and page, and Cancel.
class CPrintingDialog : public CDialog {
 public:
  explicit CPrintingDialog(CWnd* parent) {
    Create(AFX_IDD_PRINTDLG, parent);
    t_userAbort = false;
  }
  ~CPrintingDialog() override {
    if (m_hWnd != nullptr) DestroyWindow();
  }
  void SetPage(UINT page) {
    CString text;
    text.Format(CString(MAKEINTRESOURCE(AFX_IDS_PRINTPAGENUM)), page);
    SetDlgItemText(AFX_IDC_PRINT_PAGENUM, text);
  }

 protected:
  BOOL OnInitDialog() override {
    SetWindowText(AfxGetAppName());
    CenterWindow();
    return CDialog::OnInitDialog();
  }
  void OnCancel() override {
    t_userAbort = true;
    CDialog::OnCancel();
  }
};

// The file a job printed to a file goes to, asked of the user; empty when cancelled.
CString AskOutputFile(CWnd* parent) {
  CString title, filter, name, extension;
  title.LoadString(AFX_IDS_PRINTCAPTION);
  filter.LoadString(AFX_IDS_PRINTFILTER);
  name.LoadString(AFX_IDS_PRINTDEFAULT);
  extension.LoadString(AFX_IDS_PRINTDEFAULTEXT);
  CFileDialog dialog(FALSE, extension, name, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, filter,
                     parent);
  dialog.m_ofn.lpstrTitle = title;
  dialog.m_nIDHelp = AFX_IDD_PRINT;  // a step of printing: the print dialog's help
  return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

// The pages of a chosen range that lie past the document's end, which the print dialog cannot
// refuse when the document counts its pages only as printing begins: what they are and what is
// printed of the range, for the user. Empty when the whole range exists.
CString DescribePagesBeyondEnd(const CPrintInfo& info) {
  const UINT last = info.GetMaxPage();
  const UINT first = std::min(info.GetFromPage(), info.GetToPage());
  const UINT end = std::max(info.GetFromPage(), info.GetToPage());
  if (last == 0xFFFF || end <= last) return CString();
  CString text;
  if (first > last)
    text.Format("The document has %u page(s): pages %u to %u are past its end. Nothing was printed.", last, first, end);
  else
    text.Format(
        "The document has %u page(s): pages %u to %u are past its end and were not printed; pages %u to %u were.",
        last, last + 1, end, first, last);
  return text;
}

void ReportPrintFailure(HDC hdc) {
  std::string why = brambolt::GetPrintJobError(hdc);
  CString message;
  AfxFormatString1(message, AFX_IDP_PRINT_JOB_FAILED, why.c_str());
  AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION, AFX_IDP_PRINT_JOB_FAILED);
}

}  // namespace

void CView::OnFilePrint() {
  CPrintInfo printInfo;
  const MSG* current = GetCurrentMessage();
  if (current != nullptr && current->message == WM_COMMAND && LOWORD(current->wParam) == ID_FILE_PRINT_DIRECT)
    printInfo.m_bDirect = TRUE;
  // `/pt file printer driver port`: that printer, no dialog.
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pCmdInfo != nullptr &&
      app->m_pCmdInfo->m_nShellCommand == CCommandLineInfo::FilePrintTo) {
    CCommandLineInfo& info = *app->m_pCmdInfo;
    printInfo.m_pPD->m_pd.hDC =
        ::CreateDC(info.m_strDriverName.IsEmpty() ? brambolt::kPrinterDriver : static_cast<LPCTSTR>(info.m_strDriverName),
                   info.m_strPrinterName, info.m_strPortName.IsEmpty() ? nullptr : static_cast<LPCTSTR>(info.m_strPortName),
                   nullptr);
    if (printInfo.m_pPD->m_pd.hDC == nullptr) {
      AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
      return;
    }
    printInfo.m_bDirect = TRUE;
  }
  if (!OnPreparePrinting(&printInfo)) return;
  HDC hdc = printInfo.m_pPD->m_pd.hDC;
  if (hdc == nullptr) return;

  // A job for a file needs the file's name.
  brambolt::PrinterSettings settings;
  brambolt::GetPrinterSettings(hdc, &settings);
  CString output;
  if ((printInfo.m_pPD->m_pd.Flags & PD_PRINTTOFILE) || settings.port == brambolt::kFilePort) {
    output = AskOutputFile(this);
    if (output.IsEmpty()) return;
  }

  CDC dcPrint;
  dcPrint.Attach(hdc);
  dcPrint.m_bPrinting = TRUE;
  OnBeginPrinting(&dcPrint, &printInfo);
  const CString beyondEnd = DescribePagesBeyondEnd(printInfo);
  if (!beyondEnd.IsEmpty() && std::min(printInfo.GetFromPage(), printInfo.GetToPage()) > printInfo.GetMaxPage()) {
    // No page of the range exists: no job is started, so no empty file or print-out is made.
    OnEndPrinting(&dcPrint, &printInfo);
    dcPrint.Detach();
    AfxMessageBox(beyondEnd, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  dcPrint.SetAbortProc(PrintAbortProc);

  // The application waits while it prints; the "Printing" box shows how far the job is.
  CWnd* mainWnd = AfxGetMainWnd();
  bool disabled = mainWnd != nullptr && mainWnd->m_hWnd != nullptr && !mainWnd->EnableWindow(FALSE);
  CString title = m_pDocument != nullptr ? m_pDocument->GetTitle() : CString();
  if (title.GetLength() > 31) title = title.Left(31);
  CPrintingDialog status(this);
  status.SetDlgItemText(AFX_IDC_PRINT_DOCNAME, title);
  status.SetDlgItemText(AFX_IDC_PRINT_PRINTERNAME, settings.name.c_str());
  CString port;
  AfxFormatString1(port, AFX_IDS_PRINTONPORT, output.IsEmpty() ? settings.port.c_str() : static_cast<LPCTSTR>(output));
  status.SetDlgItemText(AFX_IDC_PRINT_PORTNAME, port);
  status.ShowWindow(SW_SHOW);
  status.UpdateWindow();

  DOCINFO docInfo{};
  docInfo.cbSize = sizeof(docInfo);
  docInfo.lpszDocName = title;
  docInfo.lpszOutput = output.IsEmpty() ? nullptr : static_cast<LPCTSTR>(output);
  int job = dcPrint.StartDoc(&docInfo);
  bool failed = job <= 0, cancelled = false;
  if (!failed) {
    printInfo.m_nJobNumber = static_cast<UINT>(job);
    // The pages chosen, within the document's; a range may run backwards.
    UINT from = std::clamp(printInfo.GetFromPage(), printInfo.GetMinPage(), printInfo.GetMaxPage());
    UINT to = std::clamp(printInfo.GetToPage(), printInfo.GetMinPage(), printInfo.GetMaxPage());
    int step = to >= from ? 1 : -1;
    // Copies the printer does not make itself: all pages again (collated) or each page again.
    int copies = brambolt::PrinterMakesCopies(hdc) ? 1 : std::max(1, printInfo.m_pPD->GetCopies());
    bool collate = printInfo.m_pPD->PrintCollate();
    int rounds = collate ? copies : 1, eachPage = collate ? 1 : copies;
    for (int round = 0; round < rounds && !failed; ++round) {
      printInfo.m_bContinuePrinting = TRUE;
      for (printInfo.m_nCurPage = from;; printInfo.m_nCurPage += static_cast<UINT>(step)) {
        OnPrepareDC(&dcPrint, &printInfo);
        if (!printInfo.m_bContinuePrinting) break;
        status.SetPage(printInfo.m_nCurPage);
        printInfo.m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
        dcPrint.DPtoLP(&printInfo.m_rectDraw);
        for (int copy = 0; copy < eachPage && !failed; ++copy) {
          if (::StartPage(hdc) <= 0) {
            failed = true;
            break;
          }
          OnPrint(&dcPrint, &printInfo);
          int ended = ::EndPage(hdc);
          if (ended <= 0 || !PrintAbortProc(hdc, 0)) {
            failed = true;
            cancelled = ended == SP_APPABORT || t_userAbort;
          }
        }
        if (failed || printInfo.m_nCurPage == to) break;
      }
    }
  }
  if (!failed) {
    failed = ::EndDoc(hdc) <= 0;
  } else {
    ::AbortDoc(hdc);
  }
  if (disabled) mainWnd->EnableWindow(TRUE);
  OnEndPrinting(&dcPrint, &printInfo);
  status.DestroyWindow();
  dcPrint.Detach();  // the DC is the print information's
  // A job the user cancelled needs no message; one that failed says why.
  if (job <= 0) ReportPrintFailure(hdc);
  else if (failed && !cancelled) ReportPrintFailure(hdc);
  else if (!failed && !beyondEnd.IsEmpty()) AfxMessageBox(beyondEnd, MB_OK | MB_ICONINFORMATION);
}

