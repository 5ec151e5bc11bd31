// The list view's printing and print preview: print fonts copied from the screen's, the printer
// DC mapped so one logical unit is one screen pixel, and pages found by walking the rows.
#include "afx/CPrintInfo.h"
#include "widgets/SECListCtrl.h"

BOOL SECListView::OnPreparePrinting(CPrintInfo* pInfo) {
  // Only whole-list printing is offered.
  pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS | PD_NOSELECTION;
  return DoPreparePrinting(pInfo);
}

void SECListView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
  m_nSavedTopRow = m_nTopRow;
  m_nTopRow = 0;
  m_nCurrentPrintPage = 0;
  m_pSavedRowFont = m_pRowFont;
  m_pSavedHeaderFont = m_pHeaderFont;
  if (!CreatePrintFonts(pDC)) {
    pInfo->m_bContinuePrinting = FALSE;
    return;
  }
  m_pRowFont = &m_printRowFont;
  m_pHeaderFont = &m_printHeaderFont;
  m_pPrinterDC = pDC;
  PreparePrinterDC(pDC);
  m_bPrinting = TRUE;
  InvalidateAllItemMetrics();
  if (pInfo->m_bPreview) {
    UINT pages = 1;
    while (NextPrintPage(pDC)) ++pages;
    pInfo->SetMaxPage(pages);
    m_nTopRow = 0;
  }
}

void SECListView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  if (pDC != nullptr && pDC->IsPrinting() && pInfo != nullptr) {
    PreparePrinterDC(pDC);
    return;
  }
  SECListBaseV::OnPrepareDC(pDC, pInfo);
}

void SECListView::PreparePrinterDC(CDC* pDC) {
  CClientDC screen(this);
  pDC->SetMapMode(MM_ANISOTROPIC);
  pDC->SetWindowExt(screen.GetDeviceCaps(LOGPIXELSX), screen.GetDeviceCaps(LOGPIXELSY));
  HDC attribute = pDC->m_hAttribDC != nullptr ? pDC->m_hAttribDC : pDC->GetSafeHdc();
  pDC->SetViewportExt(::GetDeviceCaps(attribute, LOGPIXELSX), ::GetDeviceCaps(attribute, LOGPIXELSY));
  CRect page(0, 0, ::GetDeviceCaps(attribute, HORZRES), ::GetDeviceCaps(attribute, VERTRES));
  pDC->DPtoLP(&page);
  m_rcPage = page;
}

void SECListView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  if (pInfo->m_bPreview) {
    GotoPrintPage(pInfo->m_nCurPage, pDC);
    SECListBaseV::OnPrint(pDC, pInfo);
    return;
  }
  SECListBaseV::OnPrint(pDC, pInfo);
  pInfo->m_bContinuePrinting = NextPrintPage(pDC);
}

BOOL SECListView::NextPrintPage(CDC* pDC) {
  SECListPaintContext* context = CreatePaintContext(pDC);
  CFont* old = pDC->SelectObject(GetRowFont());
  int last = GetLastVisibleRow(context);
  pDC->SelectObject(old);
  delete context;
  // A row taller than the page still makes a page of its own (printed cut at the bottom).
  if (last < m_nTopRow) last = m_nTopRow;
  if (last + 1 < GetItemCount()) {
    m_nTopRow = last + 1;
    return TRUE;
  }
  return FALSE;
}

BOOL SECListView::GotoPrintPage(UINT nPage, CDC* pDC) {
  if (nPage == m_nCurrentPrintPage) return TRUE;
  m_nTopRow = 0;
  BOOL result = TRUE;
  for (UINT page = 1; page < nPage; ++page) {
    result = NextPrintPage(pDC);
    if (!result) break;
  }
  m_nCurrentPrintPage = nPage;
  return result;
}

void SECListView::OnEndPrinting(CDC*, CPrintInfo*) {
  m_rcPage.SetRectEmpty();
  m_pRowFont = m_pSavedRowFont;
  m_pHeaderFont = m_pSavedHeaderFont;
  m_pSavedRowFont = m_pSavedHeaderFont = nullptr;
  DeletePrintFonts();
  m_nTopRow = m_nSavedTopRow;
  m_bPrinting = FALSE;
  m_pPrinterDC = nullptr;
  m_nCurrentPrintPage = 0;
  if (GetSafeHwnd() != nullptr) {
    RecalcLayout();
    Invalidate(TRUE);
  }
}

namespace {

// A copy of a font with the same LOGFONT; the 11-point "Times New Roman" when there is none.
BOOL CopyFont(CFont& target, CFont* source) {
  target.DeleteObject();
  LOGFONT lf{};
  if (source != nullptr && source->GetSafeHandle() != nullptr && source->GetLogFont(&lf) != 0 &&
      target.CreateFontIndirect(&lf))
    return TRUE;
  return target.CreatePointFont(110, "Times New Roman", nullptr);
}

}  // namespace

BOOL SECListView::CreatePrintFonts(CDC*) {
  BOOL row = CopyFont(m_printRowFont, m_pRowFont != nullptr ? m_pRowFont : GetRowFont());
  BOOL header = CopyFont(m_printHeaderFont, m_pHeaderFont != nullptr ? m_pHeaderFont : GetHeaderFont());
  return row && header;
}

BOOL SECListView::DeletePrintFonts() {
  // Each font is deleted on its own, so a failure with one does not leak the other.
  BOOL row = m_printRowFont.GetSafeHandle() != nullptr && m_printRowFont.DeleteObject();
  BOOL header = m_printHeaderFont.GetSafeHandle() != nullptr && m_printHeaderFont.DeleteObject();
  return row && header;
}
