// Printing from a view: CPrintInfo, DoPreparePrinting, the overridable steps of a print job and
// their defaults.
#include "afx/AfxRes.h"
#include "afx/CDC.h"
#include "afx/CPrintInfo.h"
#include "afx/CView.h"
#include "afx/CWinApp.h"

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

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CPreviewView*) { OnEndPrinting(pDC, pInfo); }
