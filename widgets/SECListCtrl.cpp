// The list control and the list view: their message maps, and the view's painting.
#include "widgets/SECListCtrl.h"

// The run-time class records the window as its base, as the engine has none of its own.
IMPLEMENT_DYNAMIC(SECListCtrl, CWnd)
IMPLEMENT_DYNCREATE(SECListView, CView)

#define SEC_LIST_ENGINE_MESSAGES()                \
  ON_WM_CREATE()                                  \
  ON_WM_ERASEBKGND()                              \
  ON_WM_SETCURSOR()                               \
  ON_WM_MOUSEMOVE()                               \
  ON_WM_CANCELMODE()                              \
  ON_WM_LBUTTONDOWN()                             \
  ON_WM_LBUTTONUP()                               \
  ON_WM_LBUTTONDBLCLK()                           \
  ON_WM_DESTROY()                                 \
  ON_WM_SIZE()                                    \
  ON_WM_HSCROLL()                                 \
  ON_WM_VSCROLL()                                 \
  ON_WM_TIMER()                                   \
  ON_WM_KEYDOWN()                                 \
  ON_WM_CHAR()                                    \
  ON_WM_SYSKEYDOWN()                              \
  ON_WM_ENABLE()                                  \
  ON_WM_GETDLGCODE()                              \
  ON_WM_RBUTTONDOWN()                             \
  ON_WM_RBUTTONUP()                               \
  ON_WM_SETFOCUS()                                \
  ON_WM_KILLFOCUS()                               \
  ON_WM_MOUSEWHEEL()                              \
  ON_WM_SYSCOLORCHANGE()                          \
  ON_EN_KILLFOCUS(kListEditId, OnEditKillFocus)   \
  ON_EN_UPDATE(kListEditId, OnEditUpdate)

BEGIN_MESSAGE_MAP(SECListCtrl, CWnd)
  ON_WM_PAINT()
  SEC_LIST_ENGINE_MESSAGES()
END_MESSAGE_MAP()

SECListCtrl::~SECListCtrl() = default;

BEGIN_MESSAGE_MAP(SECListView, CView)
  ON_WM_PAINT()
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
  SEC_LIST_ENGINE_MESSAGES()
END_MESSAGE_MAP()

SECListView::~SECListView() = default;

int SECListView::OnCreate(LPCREATESTRUCT lpcs) {
  // The view's creation attaches it to its document; the engine's steps follow.
  return SECListBaseV::OnCreate(lpcs);
}

void SECListView::OnDestroy() { SECListBaseV::OnDestroy(); }

void SECListView::OnPaint() {
  // Begin and end the paint even while printing, so the window's paint request is answered.
  CPaintDC dc(this);
  if (!m_bPrinting) Paint(&dc);
}

void SECListView::OnDraw(CDC* pDC) {
  if (pDC != nullptr && pDC->IsPrinting()) Paint(pDC);
}

void SECListView::GetClientRect(LPRECT lpRect) const {
  if (m_bPrinting) {
    *lpRect = m_rcPage;
    return;
  }
  SECListBaseV::GetClientRect(lpRect);
}

CDC* SECListView::CreateClientDC(BOOL* pbOwned) {
  if (m_bPrinting && m_pPrinterDC != nullptr) {
    if (pbOwned != nullptr) *pbOwned = FALSE;
    return m_pPrinterDC;
  }
  return SECListBaseV::CreateClientDC(pbOwned);
}
