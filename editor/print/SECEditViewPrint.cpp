// The editor view's side of printing: the framework's print calls handed to the editor's printer,
// which asks the view for the rows.
#include "editor/view/SECEditView.h"

BOOL SECEditView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void SECEditView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
  m_printer.SetModel(GetEditModel());
  m_printer.SetTitle(GetPrintTitle());
  m_printer.OnBeginPrinting(pDC, pInfo);
}

CString SECEditView::GetPrintTitle() {
  CDocument* doc = GetDocument();
  return doc != nullptr ? doc->GetTitle() : CString();
}

void SECEditView::OnPrint(CDC* pDC, CPrintInfo* pInfo) { m_printer.OnPrint(pDC, pInfo); }

void SECEditView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) { m_printer.OnEndPrinting(pDC, pInfo); }

void SECEditView::Paginate(CDC* pDC) { m_printer.PaginateText(pDC); }

void SECEditView::ViewPrinter::Paginate(CDC* pDC) { m_pView->Paginate(pDC); }
