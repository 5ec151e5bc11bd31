// The project template's document and view, and the plain document and text view that no
// template uses.
#include "app/CProjectDoc.h"

#include "app/CInkwrightDoc.h"
#include "app/CInkwrightView.h"
#include "app/CProjectView.h"

IMPLEMENT_DYNCREATE(CProjectDoc, CDocument)
IMPLEMENT_DYNCREATE(CProjectView, CView)
IMPLEMENT_DYNCREATE(CInkwrightDoc, CDocument)
IMPLEMENT_DYNCREATE(CInkwrightView, CEditView)

CProjectDoc* CProjectView::GetDocument() const { return dynamic_cast<CProjectDoc*>(m_pDocument); }

void CProjectView::OnDraw(CDC* /*pDC*/) {}

BOOL CProjectView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

CInkwrightDoc* CInkwrightView::GetDocument() const { return dynamic_cast<CInkwrightDoc*>(m_pDocument); }

BOOL CInkwrightView::PreCreateWindow(CREATESTRUCT& cs) { return CEditView::PreCreateWindow(cs); }

BOOL CInkwrightView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
