// Print preview: the preview view over recorded pages, its toolbar commands, zoom and scrolling,
// and the view's side (OnFilePrintPreview, DoPrintPreview, OnEndPrintPreview).
#include "afx/CPreviewView.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "afx/AfxRes.h"
#include "afx/CControlBar.h"
#include "afx/CFrameWnd.h"
#include "afx/CPrintInfo.h"
#include "afx/CStatusBar.h"
#include "afx/CWinApp.h"
#include "gdi/Printer.h"

IMPLEMENT_DYNCREATE(CPreviewView, CView)

namespace {

constexpr int kMargin = 8;   // around the pages when zoomed out, and between them
constexpr int kShadow = 3;   // the page's shadow, right and below
constexpr int kLine = 16;    // pixels a scroll-bar arrow scrolls

// The frame preview takes over: the view's top-level frame.
CFrameWnd* PreviewFrame(CView* view) {
  CFrameWnd* frame = view->GetTopLevelFrame();
  return frame != nullptr ? frame : view->GetParentFrame();
}

// The preview toolbar: a dialog bar of the template along the top of the frame. Its controls'
// commands go to the frame, which routes them to the preview view; their state follows the
// view's update handlers at idle time.
CWnd* CreatePreviewBar(CFrameWnd* frame, UINT nIDTemplate) {
  auto* bar = new CDialogBar;
  bar->m_bAutoDelete = TRUE;
  if (!bar->Create(frame, nIDTemplate, CBRS_TOP, AFX_IDW_PREVIEW_BAR)) {
    if (bar->m_hWnd != nullptr) bar->DestroyWindow();  // deletes it
    else delete bar;
    return nullptr;
  }
  return bar;
}

// The frame's close box ends preview instead of closing the frame.
void ClosePreviewOf(CFrameWnd* frame) {
  auto* preview = dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST)));
  if (preview != nullptr) preview->OnPreviewClose();
}

}  // namespace

BEGIN_MESSAGE_MAP(CPreviewView, CView)
  ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
  ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
  ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
  ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
  ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
  ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
  ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_KEYDOWN()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CPreviewView::CPreviewView() = default;

CPreviewView::~CPreviewView() {
  if (m_dcPrint.m_hDC != nullptr) {
    ::AbortDoc(m_dcPrint.m_hDC);
    m_dcPrint.DeleteDC();
  }
  delete m_pPreviewInfo;
  delete m_pPreviewState;
}

BOOL CPreviewView::SetPrintView(CView* pPrintView) {
  m_pPrintView = pPrintView;
  m_pPreviewInfo = new CPrintInfo;
  m_pPreviewInfo->m_bPreview = TRUE;
  if (!pPrintView->OnPreparePrinting(m_pPreviewInfo) || m_pPreviewInfo->m_pPD->m_pd.hDC == nullptr) return FALSE;
  // The printer's metrics, and drawing that is only recorded.
  HDC printer = m_pPreviewInfo->m_pPD->m_pd.hDC;
  brambolt::PrinterSettings settings;
  brambolt::GetPrinterSettings(printer, &settings);
  settings.port.clear();
  m_dcPrint.Attach(brambolt::CreatePrinterDC(settings));
  m_dcPrint.m_bPrinting = TRUE;
  m_sizePaper = CSize(m_dcPrint.GetDeviceCaps(PHYSICALWIDTH), m_dcPrint.GetDeviceCaps(PHYSICALHEIGHT));
  m_offsetPrintable = CPoint(m_dcPrint.GetDeviceCaps(PHYSICALOFFSETX), m_dcPrint.GetDeviceCaps(PHYSICALOFFSETY));
  m_sizePrintable = CSize(m_dcPrint.GetDeviceCaps(HORZRES), m_dcPrint.GetDeviceCaps(VERTRES));
  DOCINFO info{};
  info.cbSize = sizeof info;
  info.lpszDocName = "Preview";
  ::StartDoc(m_dcPrint.m_hDC, &info);
  m_pPrintView->OnBeginPrinting(&m_dcPrint, m_pPreviewInfo);
  m_nZoomOutPages = m_pPreviewInfo->m_nNumPreviewPages == 2 ? 2 : 1;
  m_nLastPage = m_pPreviewInfo->GetMaxPage();
  SetCurrentPage(std::clamp(m_pPreviewInfo->m_nCurPage, m_pPreviewInfo->GetMinPage(), m_nLastPage), TRUE);
  return TRUE;
}

const brambolt::PageRecord* CPreviewView::Page(UINT nPage) {
  if (nPage < m_pPreviewInfo->GetMinPage() || nPage > m_nLastPage) return nullptr;
  auto it = m_pages.find(nPage);
  if (it != m_pages.end()) return it->second.get();
  // The view prints the page as for the printer; a page it does not continue to is past the end.
  HDC hdc = m_dcPrint.m_hDC;
  int saved = ::SaveDC(hdc);
  m_pPreviewInfo->m_nCurPage = nPage;
  m_pPreviewInfo->m_bContinuePrinting = TRUE;
  m_pPrintView->OnPrepareDC(&m_dcPrint, m_pPreviewInfo);
  if (!m_pPreviewInfo->m_bContinuePrinting) {
    ::RestoreDC(hdc, saved);
    m_nLastPage = nPage - 1;
    return nullptr;
  }
  m_pPreviewInfo->m_rectDraw.SetRect(0, 0, m_sizePrintable.cx, m_sizePrintable.cy);
  m_dcPrint.DPtoLP(&m_pPreviewInfo->m_rectDraw);
  ::StartPage(hdc);
  m_pPrintView->OnPrint(&m_dcPrint, m_pPreviewInfo);
  ::EndPage(hdc);
  ::RestoreDC(hdc, saved);
  auto pages = brambolt::GetPrintedPages(hdc);
  if (pages.empty()) return nullptr;
  m_pages[nPage] = pages.back();
  return pages.back().get();
}

double CPreviewView::Scale(UINT nZoomState) const {
  CRect client;
  GetClientRect(&client);
  UINT shown = nZoomState == ZOOM_OUT ? m_nZoomOutPages : 1;
  double width = std::max<double>(1, (client.Width() - kMargin * (static_cast<int>(shown) + 1)) / static_cast<double>(shown));
  double height = std::max<double>(1, client.Height() - 2 * kMargin);
  double fit = std::min(width / std::max<LONG>(1, m_sizePaper.cx), height / std::max<LONG>(1, m_sizePaper.cy));
  // Zoomed in, the page has its size on paper; half way between the two in the middle.
  HDC screen = ::GetDC(nullptr);
  double actual = static_cast<double>(::GetDeviceCaps(screen, LOGPIXELSX)) / std::max(1, m_dcPrint.GetDeviceCaps(LOGPIXELSX));
  ::ReleaseDC(nullptr, screen);
  actual = std::max(actual, fit);
  switch (nZoomState) {
    case ZOOM_IN: return actual;
    case ZOOM_MIDDLE: return (fit + actual) / 2;
    default: return fit;
  }
}

CRect CPreviewView::GetPageRect(UINT index) const {
  CRect client;
  GetClientRect(&client);
  double scale = Scale(m_nZoomState);
  int w = static_cast<int>(std::lround(m_sizePaper.cx * scale)), h = static_cast<int>(std::lround(m_sizePaper.cy * scale));
  if (m_nZoomState != ZOOM_OUT) {
    // One page, centred while it fits, else placed by the scroll position.
    int x = w + 2 * kMargin <= client.Width() ? (client.Width() - w) / 2 : kMargin - m_scroll.x;
    int y = h + 2 * kMargin <= client.Height() ? (client.Height() - h) / 2 : kMargin - m_scroll.y;
    return CRect(x, y, x + w, y + h);
  }
  int cell = (client.Width() - kMargin) / static_cast<int>(m_nPages);
  int x = kMargin + static_cast<int>(index) * cell + (cell - kMargin - w) / 2;
  int y = (client.Height() - h) / 2;
  return CRect(x, y, x + w, y + h);
}

void CPreviewView::OnDraw(CDC* pDC) {
  for (UINT i = 0; i < m_nPages; ++i) {
    const brambolt::PageRecord* page = Page(m_nCurrentPage + i);
    if (page == nullptr) break;
    CRect paper = GetPageRect(i);
    // The sheet with its shadow and edge, then what is printed on it.
    CRect shadow = paper;
    shadow.OffsetRect(kShadow, kShadow);
    pDC->FillSolidRect(&shadow, ::GetSysColor(COLOR_WINDOWFRAME));
    pDC->FillSolidRect(&paper, RGB(255, 255, 255));
    double sx = static_cast<double>(paper.Width()) / m_sizePaper.cx, sy = static_cast<double>(paper.Height()) / m_sizePaper.cy;
    RECT printable{paper.left + static_cast<LONG>(std::lround(m_offsetPrintable.x * sx)),
                   paper.top + static_cast<LONG>(std::lround(m_offsetPrintable.y * sy)), 0, 0};
    printable.right = printable.left + static_cast<LONG>(std::lround(m_sizePrintable.cx * sx));
    printable.bottom = printable.top + static_cast<LONG>(std::lround(m_sizePrintable.cy * sy));
    int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&paper);
    brambolt::ReplayPage(*page, pDC->m_hDC, printable);
    pDC->RestoreDC(saved);
    CBrush edge(RGB(0, 0, 0));
    pDC->FrameRect(&paper, &edge);
  }
}

BOOL CPreviewView::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, ::GetSysColor(COLOR_APPWORKSPACE));
  return TRUE;
}

void CPreviewView::SetCurrentPage(UINT nPage, BOOL) {
  UINT first = m_pPreviewInfo->GetMinPage();
  nPage = std::max(nPage, first);
  // Past the end the last page (or pages) show.
  while (nPage > first && !PageExists(nPage)) --nPage;
  m_nCurrentPage = nPage;
  m_nPages = m_nZoomState == ZOOM_OUT ? m_nZoomOutPages : 1;
  if (m_nPages == 2 && !PageExists(nPage + 1) && nPage > first && m_nLastPage != 0xFFFF) m_nCurrentPage = nPage - 1;
  UINT shown = m_nPages == 2 && PageExists(m_nCurrentPage + 1) ? 2 : 1;
  OnDisplayPageNumber(m_nCurrentPage, shown);
  UpdateScrollBars();
  Invalidate(TRUE);
}

void CPreviewView::OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed) {
  // "Page %u\nPages %u-%u\n": the first line for one page, the second for two.
  CString format = m_pPreviewInfo->m_strPageDesc;
  int newline = format.Find('\n');
  CString text;
  if (nPagesDisplayed == 1 || newline < 0) {
    text.Format(newline >= 0 ? format.Left(newline) : format, nPage);
  } else {
    CString rest = format.Mid(newline + 1);
    int end = rest.Find('\n');
    text.Format(end >= 0 ? rest.Left(end) : rest, nPage, nPage + 1);
  }
  m_strPageText = text;
  if (CFrameWnd* frame = PreviewFrame(this)) frame->SetMessageText(text);
}

void CPreviewView::SetZoomState(UINT nNewState, UINT nPage, CPoint point) {
  if (nNewState == m_nZoomState) return;
  // The page point under `point` before, in printer pixels.
  CRect before = GetPageRect(nPage >= m_nCurrentPage ? nPage - m_nCurrentPage : 0);
  double oldScale = Scale(m_nZoomState);
  double px = (point.x - before.left) / oldScale, py = (point.y - before.top) / oldScale;
  m_nZoomState = nNewState;
  m_scroll = CPoint(0, 0);
  m_nCurrentPage = nPage;
  SetCurrentPage(nPage, TRUE);
  if (nNewState != ZOOM_OUT) {
    double scale = Scale(nNewState);
    CRect after = GetPageRect(0);
    ScrollBy(static_cast<int>(std::lround(after.left + px * scale - point.x)),
             static_cast<int>(std::lround(after.top + py * scale - point.y)));
  }
}

void CPreviewView::UpdateScrollBars() {
  CRect client;
  GetClientRect(&client);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  if (m_nZoomState == ZOOM_OUT) {
    // Whole pages: the vertical bar runs over the pages, a position each, its thumb as long as
    // the pages shown.
    ShowScrollBar(SB_HORZ, FALSE);
    ShowScrollBar(SB_VERT, TRUE);
    info.nMin = static_cast<int>(m_pPreviewInfo->GetMinPage());
    info.nMax = static_cast<int>(std::max(LastPageKnown(), m_nCurrentPage));
    info.nPage = m_nPages;
    info.nPos = static_cast<int>(m_nCurrentPage);
    SetScrollInfo(SB_VERT, &info, TRUE);
    return;
  }
  double scale = Scale(m_nZoomState);
  int w = static_cast<int>(std::lround(m_sizePaper.cx * scale)) + 2 * kMargin;
  int h = static_cast<int>(std::lround(m_sizePaper.cy * scale)) + 2 * kMargin;
  ShowScrollBar(SB_BOTH, TRUE);
  m_scroll.x = std::clamp<int>(m_scroll.x, 0, std::max(0, w - client.Width()));
  m_scroll.y = std::clamp<int>(m_scroll.y, 0, std::max(0, h - client.Height()));
  info.nMax = w - 1;
  info.nPage = static_cast<UINT>(client.Width());
  info.nPos = m_scroll.x;
  SetScrollInfo(SB_HORZ, &info, TRUE);
  info.nMax = h - 1;
  info.nPage = static_cast<UINT>(client.Height());
  info.nPos = m_scroll.y;
  SetScrollInfo(SB_VERT, &info, TRUE);
}

UINT CPreviewView::LastPageKnown() const {
  // While the end is not known, the bar reaches one page past those shown.
  return m_nLastPage != 0xFFFF ? m_nLastPage : m_nCurrentPage + m_nPages;
}

void CPreviewView::ShowFirstPage() {
  m_scroll = CPoint(0, 0);
  SetCurrentPage(m_pPreviewInfo->GetMinPage(), TRUE);
}

void CPreviewView::ShowLastPage() {
  // A document that has not said how many pages it has is printed to its end first.
  UINT last = m_nCurrentPage;
  while (last < 0xFFFF && PageExists(last + 1)) ++last;
  m_scroll = CPoint(0, 0);
  SetCurrentPage(last, TRUE);
}

void CPreviewView::ScrollBy(int dx, int dy) {
  m_scroll.Offset(dx, dy);
  UpdateScrollBars();
  Invalidate(TRUE);
}

void CPreviewView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_pPreviewInfo != nullptr) UpdateScrollBars();
}

namespace {

// Where a scroll-bar action moves a scroll position of `page` pixels a page; none for actions
// that do not move it.
std::optional<int> ScrollTarget(UINT code, UINT pos, int current, int page) {
  switch (code) {
    case SB_LINEUP: return current - kLine;
    case SB_LINEDOWN: return current + kLine;
    case SB_PAGEUP: return current - page;
    case SB_PAGEDOWN: return current + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return static_cast<int>(pos);
    default: return std::nullopt;
  }
}

}  // namespace

void CPreviewView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  CRect client;
  GetClientRect(&client);
  if (auto to = ScrollTarget(nSBCode, nPos, m_scroll.x, client.Width())) ScrollBy(*to - m_scroll.x, 0);
}

void CPreviewView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  if (m_nZoomState == ZOOM_OUT) {
    // Zoomed out the bar turns the pages.
    switch (nSBCode) {
      case SB_LINEUP:
      case SB_PAGEUP: OnPrevPage(); return;
      case SB_LINEDOWN:
      case SB_PAGEDOWN: OnNextPage(); return;
      case SB_TOP: ShowFirstPage(); return;
      case SB_BOTTOM: ShowLastPage(); return;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        if (nPos != m_nCurrentPage) SetCurrentPage(nPos, TRUE);
        return;
      default: return;
    }
  }
  CRect client;
  GetClientRect(&client);
  if (auto to = ScrollTarget(nSBCode, nPos, m_scroll.y, client.Height())) ScrollBy(0, *to - m_scroll.y);
}

BOOL CPreviewView::OnMouseWheel(UINT, short zDelta, CPoint) {
  // Zoomed out the wheel turns pages; zoomed in it scrolls.
  if (m_nZoomState == ZOOM_OUT) {
    if (zDelta < 0) OnNextPage();
    else OnPrevPage();
  } else {
    ScrollBy(0, -zDelta / WHEEL_DELTA * 3 * kLine);
  }
  return TRUE;
}

void CPreviewView::OnLButtonDown(UINT, CPoint point) {
  // A click on a page zooms in on the point clicked, a step at a time; fully zoomed in, a click
  // shows the whole page again.
  UINT page = m_nCurrentPage;
  bool onPage = false;
  for (UINT i = 0; i < m_nPages && !onPage; ++i)
    if (GetPageRect(i).PtInRect(point) && PageExists(m_nCurrentPage + i)) {
      page = m_nCurrentPage + i;
      onPage = true;
    }
  if (!onPage) return;
  SetZoomState(m_nZoomState == ZOOM_IN ? static_cast<UINT>(ZOOM_OUT) : m_nZoomState + 1, page, point);
}

// Quick clicks zoom step by step as slow ones do.
void CPreviewView::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

void CPreviewView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  // Page Down and Page Up turn the pages, Home and End go to the first and the last; the arrows
  // turn the pages too when they are seen whole, and scroll a zoomed page.
  const bool zoomed = m_nZoomState != ZOOM_OUT;
  switch (nChar) {
    case VK_ESCAPE: OnPreviewClose(); return;
    case VK_NEXT: OnNextPage(); return;
    case VK_PRIOR: OnPrevPage(); return;
    case VK_HOME: ShowFirstPage(); return;
    case VK_END: ShowLastPage(); return;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT: {
      const bool forward = nChar == VK_DOWN || nChar == VK_RIGHT;
      const UINT step = forward ? SB_LINEDOWN : SB_LINEUP;
      if (!zoomed) {
        if (forward) OnNextPage();
        else OnPrevPage();
      } else if (nChar == VK_UP || nChar == VK_DOWN) {
        OnVScroll(step, 0, nullptr);
      } else {
        OnHScroll(step, 0, nullptr);
      }
      return;
    }
    default: CView::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

void CPreviewView::OnNextPage() {
  if (PageExists(m_nCurrentPage + m_nPages)) SetCurrentPage(m_nCurrentPage + 1, TRUE);
}

void CPreviewView::OnPrevPage() {
  if (m_nCurrentPage > m_pPreviewInfo->GetMinPage()) SetCurrentPage(m_nCurrentPage - 1, TRUE);
}

void CPreviewView::OnNumPageChange() {
  m_nZoomOutPages = m_nZoomOutPages == 1 ? 2 : 1;
  if (CWinApp* app = AfxGetApp()) app->m_nNumPreviewPages = m_nZoomOutPages;
  m_nZoomState = ZOOM_OUT;
  SetCurrentPage(m_nCurrentPage, TRUE);
}

void CPreviewView::OnZoomIn() {
  if (m_nZoomState == ZOOM_IN) return;
  CRect page = GetPageRect(0);
  SetZoomState(m_nZoomState + 1, m_nCurrentPage, page.CenterPoint());
}

void CPreviewView::OnZoomOut() {
  if (m_nZoomState == ZOOM_OUT) return;
  CRect page = GetPageRect(0);
  SetZoomState(m_nZoomState - 1, m_nCurrentPage, page.CenterPoint());
}

void CPreviewView::OnPreviewPrint() {
  // Preview ends and the view prints, with the print dialog.
  // The previewed view prints, whichever view the frame made active meanwhile.
  CView* view = m_pOrigView;
  const HWND hView = view != nullptr ? view->m_hWnd : nullptr;
  OnPreviewClose();
  if (hView != nullptr && ::IsWindow(hView)) ::SendMessage(hView, WM_COMMAND, ID_FILE_PRINT, 0);
}

void CPreviewView::OnUpdateNextPage(CCmdUI* pCmdUI) { pCmdUI->Enable(PageExists(m_nCurrentPage + m_nPages)); }

void CPreviewView::OnUpdatePrevPage(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_nCurrentPage > m_pPreviewInfo->GetMinPage());
}

void CPreviewView::OnUpdateNumPageChange(CCmdUI* pCmdUI) {
  // The button offers the other layout, and only when zoomed out on a document of two pages.
  CString text;
  text.LoadString(m_nZoomOutPages == 1 ? AFX_IDS_TWOPAGE : AFX_IDS_ONEPAGE);
  pCmdUI->SetText(text);
  pCmdUI->Enable(m_nZoomState == ZOOM_OUT && (m_nZoomOutPages == 2 || PageExists(m_pPreviewInfo->GetMinPage() + 1)));
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* pCmdUI) { pCmdUI->Enable(m_nZoomState != ZOOM_IN); }

void CPreviewView::OnUpdateZoomOut(CCmdUI* pCmdUI) { pCmdUI->Enable(m_nZoomState != ZOOM_OUT); }

void CPreviewView::OnPreviewClose() {
  if (m_pToolBar != nullptr) {
    m_pToolBar->DestroyWindow();
    m_pToolBar = nullptr;
  }
  m_pPreviewInfo->m_nCurPage = m_nCurrentPage;
  m_pOrigView->OnEndPrintPreview(&m_dcPrint, m_pPreviewInfo, CPoint(0, 0), this);
}

// ---- the view's side ----

void CView::OnFilePrintPreview() {
  // One preview at a time: a frame already in preview (its close procedure set) keeps it.
  if (CFrameWnd* frame = PreviewFrame(this); frame != nullptr && frame->m_lpfnCloseProc != nullptr) return;
  auto* state = new CPrintPreviewState;
  if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewView), state)) {
    delete state;
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
  }
}

BOOL CView::DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                           CPrintPreviewState* pState) {
  CFrameWnd* frame = PreviewFrame(this);
  if (frame == nullptr) return FALSE;
  auto* preview = dynamic_cast<CPreviewView*>(pPreviewViewClass->CreateObject());
  if (preview == nullptr) return FALSE;
  // The state becomes the preview's (deleted with it) only once the preview stands: on a failure
  // here the caller still owns it and deletes it.
  preview->m_pOrigView = this;
  preview->m_pViewActiveOld = frame->GetActiveView();
  // The preview toolbar goes above; the frame hides its own bars, menu and view.
  preview->m_pToolBar = CreatePreviewBar(frame, nIDResource);
  if (preview->m_pToolBar == nullptr) {
    delete preview;
    return FALSE;
  }
  frame->OnSetPreviewMode(TRUE, pState);
  CCreateContext context;
  context.m_pCurrentFrame = frame;
  context.m_pCurrentDoc = GetDocument();
  context.m_pLastView = this;
  CRect client;
  frame->GetClientRect(&client);
  if (!preview->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW & ~static_cast<DWORD>(WS_BORDER), client, frame,
                       AFX_IDW_PANE_FIRST, &context)) {
    // PostNcDestroy deleted the view; the frame comes back as it was.
    frame->OnSetPreviewMode(FALSE, pState);
    return FALSE;
  }
  preview->m_pPreviewState = pState;
  frame->m_lpfnCloseProc = ClosePreviewOf;
  if (CView* active = frame->GetActiveView()) active->OnActivateView(FALSE, active, active);
  if (!preview->SetPrintView(pPrintView)) {
    preview->OnPreviewClose();
    return TRUE;  // the view declined: nothing to show, and nothing went wrong
  }
  frame->SetActiveView(preview);
  preview->SetFocus();
  preview->m_pToolBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  frame->RecalcLayout();
  frame->UpdateWindow();
  return TRUE;
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CPreviewView* pView) {
  OnEndPrinting(pDC, pInfo);
  CFrameWnd* frame = PreviewFrame(this);
  frame->m_lpfnCloseProc = nullptr;
  frame->SetActiveView(nullptr, FALSE);
  // The frame gets back the active view it had. A view of an MDI child was not the main frame's
  // own: made active there, it would outlive its child frame as a dangling pointer.
  CView* activeOld = pView->m_pViewActiveOld;
  if (activeOld == nullptr && GetParentFrame() == frame) activeOld = this;
  // The preview view gives up the pane's id, the frame's view takes it back, then the preview
  // (and the state it owns) goes.
  pView->SetDlgCtrlID(0);
  frame->OnSetPreviewMode(FALSE, pView->m_pPreviewState);
  pView->DestroyWindow();
  if (activeOld != nullptr)
    frame->SetActiveView(activeOld);
  else
    SetFocus();
  frame->RecalcLayout();
  frame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
  frame->UpdateWindow();
}
