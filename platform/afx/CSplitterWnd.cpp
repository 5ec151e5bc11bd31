// CSplitterWnd: the layout of rows and columns, the bars and split boxes dragged with the mouse,
// dynamic splitting and joining, shared scroll bars, the active pane, and views that find their
// splitter's scroll bars.
#include "afx/CSplitterWnd.h"

#include <algorithm>
#include <memory>

#include "afx/CFrameWnd.h"
#include "afx/CWinApp.h"
#include "afx/WindowDCs.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_CANCELMODE()
  ON_WM_KEYDOWN()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_CAPTURECHANGED()
  ON_COMMAND_RANGE(ID_NEXT_PANE, ID_PREV_PANE, OnNextPaneCmd)
  ON_UPDATE_COMMAND_UI_RANGE(ID_NEXT_PANE, ID_PREV_PANE, OnUpdateNextPaneMenu)
END_MESSAGE_MAP()

namespace {

constexpr int kMaxPanes = 16;

// Panes before the last get their ideal size (none below their minimum) while there is room, each
// followed by a gap; the last takes what is left.
void LayoutRowCol(std::vector<CSplitterWnd::CRowColInfo>& info, int count, int size, int gap) {
  int left = std::max(size, 0);
  for (int i = 0; i < count; ++i) {
    CSplitterWnd::CRowColInfo& r = info[static_cast<size_t>(i)];
    if (i == count - 1) {
      r.nCurSize = left;
      break;
    }
    r.nCurSize = r.nIdealSize < r.nMinSize ? 0 : std::min(r.nIdealSize, left);
    left = std::max(0, left - r.nCurSize - gap);
  }
}

// Where each pane starts along one direction.
std::vector<int> Starts(const std::vector<CSplitterWnd::CRowColInfo>& info, int count, int from, int gap) {
  std::vector<int> starts;
  for (int i = 0; i < count; ++i) {
    starts.push_back(from);
    from += info[static_cast<size_t>(i)].nCurSize + gap;
  }
  return starts;
}

// A scroll bar the splitter shares among its panes; it goes with its window.
class SharedScrollBar : public CScrollBar {
 protected:
  void PostNcDestroy() override { delete this; }
};

HCURSOR SplitCursor(UINT frameworkId, LPCTSTR fallback) {
  LPCTSTR name = MAKEINTRESOURCE(frameworkId);
  HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_CURSOR);
  HCURSOR cursor = module != nullptr ? ::LoadCursor(module, name) : nullptr;
  return cursor != nullptr ? cursor : ::LoadCursor(nullptr, fallback);
}

}  // namespace

CSplitterWnd::CSplitterWnd() = default;

CSplitterWnd::~CSplitterWnd() = default;

// ---- creation ----

BOOL CSplitterWnd::CreateCommon(CWnd* pParentWnd, SIZE sizeMin, DWORD dwStyle, UINT nID) {
  m_pColInfo.assign(static_cast<size_t>(m_nMaxCols), CRowColInfo{});
  m_pRowInfo.assign(static_cast<size_t>(m_nMaxRows), CRowColInfo{});
  for (auto& c : m_pColInfo) c.nMinSize = sizeMin.cx;
  for (auto& r : m_pRowInfo) r.nMinSize = sizeMin.cy;
  // The scroll bars asked for are shared controls, not the splitter's own.
  m_bHasHScroll = (dwStyle & WS_HSCROLL) != 0;
  m_bHasVScroll = (dwStyle & WS_VSCROLL) != 0;
  dwStyle &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
  // Made empty: the frame's layout gives it its size once the panes exist.
  CRect rect(0, 0, 0, 0);
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_3DFACE));
  if (!CreateEx(0, cls, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID)) return FALSE;
  int bars = std::max(m_nCols, 1);
  for (int col = 0; m_bHasHScroll && col < bars; ++col)
    if (!CreateScrollBarCtrl(SBS_HORZ, AFX_IDW_HSCROLL_FIRST + col)) return FALSE;
  bars = std::max(m_nRows, 1);
  for (int row = 0; m_bHasVScroll && row < bars; ++row)
    if (!CreateScrollBarCtrl(SBS_VERT, AFX_IDW_VSCROLL_FIRST + row)) return FALSE;
  return TRUE;
}

BOOL CSplitterWnd::Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext,
                          DWORD dwStyle, UINT nID) {
  if (pContext == nullptr || pContext->m_pNewViewClass == nullptr || nMaxRows < 1 || nMaxRows > 2 || nMaxCols < 1 ||
      nMaxCols > 2)
    return FALSE;
  m_nMaxRows = nMaxRows;
  m_nMaxCols = nMaxCols;
  m_nRows = m_nCols = 1;
  m_pDynamicViewClass = pContext->m_pNewViewClass;
  if (!CreateCommon(pParentWnd, sizeMin, dwStyle | SPLS_DYNAMIC_SPLIT, nID)) return FALSE;
  if (!CreateView(0, 0, m_pDynamicViewClass, CSize(0, 0), pContext)) {
    DestroyWindow();
    return FALSE;
  }
  m_pColInfo[0].nIdealSize = m_pRowInfo[0].nIdealSize = 0;
  return TRUE;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
  if (nRows < 1 || nRows > kMaxPanes || nCols < 1 || nCols > kMaxPanes) return FALSE;
  m_nMaxRows = m_nRows = nRows;
  m_nMaxCols = m_nCols = nCols;
  return CreateCommon(pParentWnd, CSize(0, 0), dwStyle & ~static_cast<DWORD>(SPLS_DYNAMIC_SPLIT), nID);
}

BOOL CSplitterWnd::CreateScrollBarCtrl(DWORD dwStyle, UINT nID) {
  auto bar = std::make_unique<SharedScrollBar>();
  if (!bar->Create(dwStyle | WS_VISIBLE | WS_CHILD, CRect(0, 0, 1, 1), this, nID)) return FALSE;
  bar.release();  // the window owns it now
  return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext) {
  if (row < 0 || row >= m_nMaxRows || col < 0 || col >= m_nMaxCols || pViewClass == nullptr) return FALSE;
  if (GetDlgItem(IdFromRowCol(row, col)) != nullptr) return FALSE;  // the place is taken
  m_pColInfo[static_cast<size_t>(col)].nIdealSize = sizeInit.cx;
  m_pRowInfo[static_cast<size_t>(row)].nIdealSize = sizeInit.cy;
  // Without a context the new view shows the document of the active pane.
  CCreateContext made;
  if (pContext == nullptr) {
    CWnd* active = GetActivePane();
    if (active == nullptr) active = GetPane(0, 0);
    if (active != nullptr && active->IsKindOf(RUNTIME_CLASS(CView))) {
      auto* old = static_cast<CView*>(active);
      made.m_pLastView = old;
      made.m_pCurrentDoc = old->GetDocument();
      if (made.m_pCurrentDoc != nullptr) made.m_pNewDocTemplate = made.m_pCurrentDoc->GetDocTemplate();
    }
    pContext = &made;
  }
  auto* wnd = static_cast<CWnd*>(pViewClass->CreateObject());
  if (wnd == nullptr) return FALSE;
  DWORD style = AFX_WS_DEFAULT_VIEW & ~static_cast<DWORD>(WS_BORDER);
  // The splitter draws the border; the view is placed by RecalcLayout.
  if (!wnd->Create(nullptr, nullptr, style, CRect(CPoint(0, 0), sizeInit), this, IdFromRowCol(row, col), pContext))
    return FALSE;  // PostNcDestroy deleted it
  return TRUE;
}

// ---- panes ----

CWnd* CSplitterWnd::GetPane(int row, int col) const {
  return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) {
  if (pWnd == nullptr || pWnd->m_hWnd == nullptr || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
  int id = pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
  if (id < 0 || id >= kMaxPanes * kMaxPanes || id / kMaxPanes >= m_nRows || id % kMaxPanes >= m_nCols) return FALSE;
  if (pRow != nullptr) *pRow = id / kMaxPanes;
  if (pCol != nullptr) *pCol = id % kMaxPanes;
  return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
  cyCur = m_pRowInfo[static_cast<size_t>(row)].nCurSize;
  cyMin = m_pRowInfo[static_cast<size_t>(row)].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
  m_pRowInfo[static_cast<size_t>(row)].nIdealSize = cyIdeal;
  m_pRowInfo[static_cast<size_t>(row)].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
  cxCur = m_pColInfo[static_cast<size_t>(col)].nCurSize;
  cxMin = m_pColInfo[static_cast<size_t>(col)].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
  m_pColInfo[static_cast<size_t>(col)].nIdealSize = cxIdeal;
  m_pColInfo[static_cast<size_t>(col)].nMinSize = cxMin;
}

DWORD CSplitterWnd::GetScrollStyle() const {
  return (m_bHasHScroll ? WS_HSCROLL : 0) | (m_bHasVScroll ? WS_VSCROLL : 0);
}

void CSplitterWnd::SetScrollStyle(DWORD dwStyle) {
  bool h = (dwStyle & WS_HSCROLL) != 0, v = (dwStyle & WS_VSCROLL) != 0;
  for (int col = 0; col < m_nCols; ++col) {
    HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + col);
    if (h && bar == nullptr) CreateScrollBarCtrl(SBS_HORZ, AFX_IDW_HSCROLL_FIRST + col);
    if (!h && bar != nullptr) ::DestroyWindow(bar);
  }
  for (int row = 0; row < m_nRows; ++row) {
    HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + row);
    if (v && bar == nullptr) CreateScrollBarCtrl(SBS_VERT, AFX_IDW_VSCROLL_FIRST + row);
    if (!v && bar != nullptr) ::DestroyWindow(bar);
  }
  m_bHasHScroll = h;
  m_bHasVScroll = v;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
  CWnd* pane = nullptr;
  if (CFrameWnd* frame = GetParentFrame()) pane = frame->GetActiveView();
  if (pane == nullptr) pane = CWnd::FromHandlePermanent(::GetFocus());
  return pane != nullptr && IsChildPane(pane, pRow, pCol) ? pane : nullptr;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
  CWnd* pane = pWnd != nullptr ? pWnd : GetPane(row, col);
  if (pane == nullptr) return;
  CFrameWnd* frame = GetParentFrame();
  if (frame != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView)))
    frame->SetActiveView(static_cast<CView*>(pane));
  else
    pane->SetFocus();
}

BOOL CSplitterWnd::CanActivateNext(BOOL) { return m_nRows * m_nCols > 1; }

void CSplitterWnd::ActivateNext(BOOL bPrev) {
  int row = 0, col = 0;
  if (GetActivePane(&row, &col) == nullptr) return;
  // Row by row, skipping panes too small to show.
  int count = m_nRows * m_nCols, at = row * m_nCols + col;
  for (int step = 1; step < count; ++step) {
    int next = (at + (bPrev ? count - step : step)) % count;
    int r = next / m_nCols, c = next % m_nCols;
    if (m_pRowInfo[static_cast<size_t>(r)].nCurSize > 0 && m_pColInfo[static_cast<size_t>(c)].nCurSize > 0) {
      SetActivePane(r, c);
      return;
    }
  }
}

void CSplitterWnd::OnNextPaneCmd(UINT nID) { ActivateNext(nID == ID_PREV_PANE); }

void CSplitterWnd::OnUpdateNextPaneMenu(CCmdUI* pCmdUI) { pCmdUI->Enable(CanActivateNext(pCmdUI->m_nID == ID_PREV_PANE)); }

void CSplitterWnd::DeleteView(int row, int col) {
  CWnd* pane = GetPane(row, col);
  if (pane == nullptr) return;
  // The frame's active view moves to another pane first.
  CFrameWnd* frame = GetParentFrame();
  if (frame != nullptr && frame->GetActiveView() == pane) {
    CWnd* other = GetPane(row == 0 && m_nRows > 1 ? 1 : 0, col == 0 && m_nCols > 1 && row == 0 && m_nRows == 1 ? 1 : 0);
    if (other == pane) other = nullptr;
    frame->SetActiveView(other != nullptr && other->IsKindOf(RUNTIME_CLASS(CView)) ? static_cast<CView*>(other) : nullptr);
  }
  pane->DestroyWindow();
}

// ---- dynamic splits ----

BOOL CSplitterWnd::SplitRow(int cyBefore) {
  if (!(GetStyle() & SPLS_DYNAMIC_SPLIT) || m_nRows >= m_nMaxRows) return FALSE;
  cyBefore -= m_cyBorder;
  int total = m_pRowInfo[0].nCurSize;
  int below = total - cyBefore - m_cySplitterGap;
  if (cyBefore < m_pRowInfo[0].nMinSize || below < m_pRowInfo[static_cast<size_t>(m_nRows)].nMinSize) return FALSE;
  int newRow = m_nRows;
  for (int col = 0; col < m_nCols; ++col) {
    // The new view keeps its column's size: CreateView sets the sizes of its row and column.
    if (!CreateView(newRow, col, m_pDynamicViewClass, CSize(m_pColInfo[static_cast<size_t>(col)].nIdealSize, 0), nullptr)) {
      for (int c = 0; c < col; ++c) DeleteView(newRow, c);
      return FALSE;
    }
  }
  m_nRows = newRow + 1;
  m_pRowInfo[static_cast<size_t>(newRow - 1)].nIdealSize = cyBefore;
  if (m_bHasVScroll && ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + newRow) == nullptr)
    CreateScrollBarCtrl(SBS_VERT, AFX_IDW_VSCROLL_FIRST + newRow);
  RecalcLayout();
  for (int col = 0; col < m_nCols; ++col)
    if (CWnd* pane = GetPane(newRow, col); pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView)))
      static_cast<CView*>(pane)->OnInitialUpdate();
  return TRUE;
}

BOOL CSplitterWnd::SplitColumn(int cxBefore) {
  if (!(GetStyle() & SPLS_DYNAMIC_SPLIT) || m_nCols >= m_nMaxCols) return FALSE;
  cxBefore -= m_cxBorder;
  int total = m_pColInfo[0].nCurSize;
  int right = total - cxBefore - m_cxSplitterGap;
  if (cxBefore < m_pColInfo[0].nMinSize || right < m_pColInfo[static_cast<size_t>(m_nCols)].nMinSize) return FALSE;
  int newCol = m_nCols;
  for (int row = 0; row < m_nRows; ++row) {
    // The new view keeps its row's size: CreateView sets the sizes of its row and column.
    if (!CreateView(row, newCol, m_pDynamicViewClass, CSize(0, m_pRowInfo[static_cast<size_t>(row)].nIdealSize), nullptr)) {
      for (int r = 0; r < row; ++r) DeleteView(r, newCol);
      return FALSE;
    }
  }
  m_nCols = newCol + 1;
  m_pColInfo[static_cast<size_t>(newCol - 1)].nIdealSize = cxBefore;
  if (m_bHasHScroll && ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + newCol) == nullptr)
    CreateScrollBarCtrl(SBS_HORZ, AFX_IDW_HSCROLL_FIRST + newCol);
  RecalcLayout();
  for (int row = 0; row < m_nRows; ++row)
    if (CWnd* pane = GetPane(row, newCol); pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView)))
      static_cast<CView*>(pane)->OnInitialUpdate();
  return TRUE;
}

namespace {

// Moves the scroll state of one shared bar to another (the panes behind it move too).
void CopyScrollBar(HWND from, HWND to) {
  if (from == nullptr || to == nullptr) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (::GetScrollInfo(from, SB_CTL, &info)) ::SetScrollInfo(to, SB_CTL, &info, TRUE);
  ::EnableWindow(to, ::IsWindowEnabled(from));
}

}  // namespace

void CSplitterWnd::DeleteRow(int rowDelete) {
  if (!(GetStyle() & SPLS_DYNAMIC_SPLIT) || m_nRows <= 1 || rowDelete < 0 || rowDelete >= m_nRows) return;
  int activeRow = -1, activeCol = 0;
  GetActivePane(&activeRow, &activeCol);
  for (int col = 0; col < m_nCols; ++col) DeleteView(rowDelete, col);
  // The rows below move up: their panes take the ids of their new places, their bar the bar's.
  for (int row = rowDelete + 1; row < m_nRows; ++row) {
    for (int col = 0; col < m_nCols; ++col)
      if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col)))
        ::SetWindowLongPtr(pane, GWLP_ID, IdFromRowCol(row - 1, col));
    CopyScrollBar(::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + row), ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + row - 1));
    m_pRowInfo[static_cast<size_t>(row - 1)] = m_pRowInfo[static_cast<size_t>(row)];
  }
  --m_nRows;
  if (HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + m_nRows)) ::DestroyWindow(bar);
  m_pRowInfo[static_cast<size_t>(m_nRows)].nIdealSize = 0;
  if (activeRow == rowDelete) SetActivePane(std::min(rowDelete, m_nRows - 1), activeCol);
  RecalcLayout();
}

void CSplitterWnd::DeleteColumn(int colDelete) {
  if (!(GetStyle() & SPLS_DYNAMIC_SPLIT) || m_nCols <= 1 || colDelete < 0 || colDelete >= m_nCols) return;
  int activeRow = 0, activeCol = -1;
  GetActivePane(&activeRow, &activeCol);
  for (int row = 0; row < m_nRows; ++row) DeleteView(row, colDelete);
  for (int col = colDelete + 1; col < m_nCols; ++col) {
    for (int row = 0; row < m_nRows; ++row)
      if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col)))
        ::SetWindowLongPtr(pane, GWLP_ID, IdFromRowCol(row, col - 1));
    CopyScrollBar(::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + col), ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + col - 1));
    m_pColInfo[static_cast<size_t>(col - 1)] = m_pColInfo[static_cast<size_t>(col)];
  }
  --m_nCols;
  if (HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + m_nCols)) ::DestroyWindow(bar);
  m_pColInfo[static_cast<size_t>(m_nCols)].nIdealSize = 0;
  if (activeCol == colDelete) SetActivePane(activeRow, std::min(colDelete, m_nCols - 1));
  RecalcLayout();
}

// ---- layout ----

void CSplitterWnd::GetInsideRect(CRect& rect) const {
  GetClientRect(&rect);
  if (m_bHasVScroll) rect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
  if (m_bHasHScroll) rect.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);
}

void CSplitterWnd::RecalcLayout() {
  if (m_hWnd == nullptr || m_nRows == 0 || m_nCols == 0) return;
  CRect client, inside;
  GetClientRect(&client);
  GetInsideRect(inside);
  inside.DeflateRect(m_cxBorder, m_cyBorder);
  LayoutRowCol(m_pColInfo, m_nCols, inside.Width(), m_cxSplitterGap);
  LayoutRowCol(m_pRowInfo, m_nRows, inside.Height(), m_cySplitterGap);
  std::vector<int> xs = Starts(m_pColInfo, m_nCols, inside.left, m_cxSplitterGap);
  std::vector<int> ys = Starts(m_pRowInfo, m_nRows, inside.top, m_cySplitterGap);
  for (int row = 0; row < m_nRows; ++row) {
    for (int col = 0; col < m_nCols; ++col) {
      CWnd* pane = GetPane(row, col);
      if (pane == nullptr) continue;
      int cx = m_pColInfo[static_cast<size_t>(col)].nCurSize, cy = m_pRowInfo[static_cast<size_t>(row)].nCurSize;
      // A pane with no room is hidden; it comes back when its row or column gets room again.
      if (cx <= 0 || cy <= 0) {
        pane->ShowWindow(SW_HIDE);
        continue;
      }
      pane->SetWindowPos(nullptr, xs[static_cast<size_t>(col)], ys[static_cast<size_t>(row)], cx, cy,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
  }
  // Shared scroll bars: one under each column, one beside each row; the split boxes shorten the
  // first ones while another split is possible.
  bool dynamic = (GetStyle() & SPLS_DYNAMIC_SPLIT) != 0;
  for (int col = 0; m_bHasHScroll && col < m_nCols; ++col) {
    HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + col);
    if (bar == nullptr) continue;
    int left = col == 0 ? client.left : xs[static_cast<size_t>(col)] - m_cxBorder;
    int right = col == m_nCols - 1 ? inside.right + m_cxBorder
                                   : xs[static_cast<size_t>(col)] + m_pColInfo[static_cast<size_t>(col)].nCurSize + m_cxBorder;
    if (col == 0 && dynamic && m_nCols < m_nMaxCols) left += m_cxSplitter;
    ::SetWindowPos(bar, nullptr, left, inside.bottom + m_cyBorder, std::max(0, right - left), client.bottom - inside.bottom - m_cyBorder,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  for (int row = 0; m_bHasVScroll && row < m_nRows; ++row) {
    HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + row);
    if (bar == nullptr) continue;
    int top = row == 0 ? client.top : ys[static_cast<size_t>(row)] - m_cyBorder;
    int bottom = row == m_nRows - 1 ? inside.bottom + m_cyBorder
                                    : ys[static_cast<size_t>(row)] + m_pRowInfo[static_cast<size_t>(row)].nCurSize + m_cyBorder;
    if (row == 0 && dynamic && m_nRows < m_nMaxRows) top += m_cySplitter;
    ::SetWindowPos(bar, nullptr, inside.right + m_cxBorder, top, client.right - inside.right - m_cxBorder, std::max(0, bottom - top),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  Invalidate(TRUE);
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) RecalcLayout();
  CWnd::OnSize(nType, cx, cy);
}

// ---- hit testing and painting ----

void CSplitterWnd::GetHitRect(int ht, CRect& rect) const {
  CRect client, inside;
  GetClientRect(&client);
  GetInsideRect(inside);
  CRect panes = inside;
  panes.DeflateRect(m_cxBorder, m_cyBorder);
  std::vector<int> xs = Starts(m_pColInfo, m_nCols, panes.left, m_cxSplitterGap);
  std::vector<int> ys = Starts(m_pRowInfo, m_nRows, panes.top, m_cySplitterGap);
  rect.SetRectEmpty();
  if (ht == vSplitterBox) {
    rect.SetRect(inside.right, client.top, client.right, client.top + m_cySplitter);
  } else if (ht == hSplitterBox) {
    rect.SetRect(client.left, inside.bottom, client.left + m_cxSplitter, client.bottom);
  } else if (ht >= vSplitterBar1 && ht < vSplitterBar1 + kMaxPanes - 1) {
    int row = ht - vSplitterBar1;
    int top = ys[static_cast<size_t>(row)] + m_pRowInfo[static_cast<size_t>(row)].nCurSize;
    rect.SetRect(inside.left, top, inside.right, top + m_cySplitterGap);
  } else if (ht >= hSplitterBar1 && ht < hSplitterBar1 + kMaxPanes - 1) {
    int col = ht - hSplitterBar1;
    int left = xs[static_cast<size_t>(col)] + m_pColInfo[static_cast<size_t>(col)].nCurSize;
    rect.SetRect(left, inside.top, left + m_cxSplitterGap, inside.bottom);
  } else if (ht >= splitterIntersection1) {
    int row = (ht - splitterIntersection1) / kMaxPanes, col = (ht - splitterIntersection1) % kMaxPanes;
    int top = ys[static_cast<size_t>(row)] + m_pRowInfo[static_cast<size_t>(row)].nCurSize;
    int left = xs[static_cast<size_t>(col)] + m_pColInfo[static_cast<size_t>(col)].nCurSize;
    rect.SetRect(left, top, left + m_cxSplitterGap, top + m_cySplitterGap);
  }
}

int CSplitterWnd::HitTest(CPoint pt) const {
  bool dynamic = (GetStyle() & SPLS_DYNAMIC_SPLIT) != 0;
  CRect rect;
  if (dynamic && m_bHasVScroll && m_nRows < m_nMaxRows) {
    GetHitRect(vSplitterBox, rect);
    if (rect.PtInRect(pt)) return vSplitterBox;
  }
  if (dynamic && m_bHasHScroll && m_nCols < m_nMaxCols) {
    GetHitRect(hSplitterBox, rect);
    if (rect.PtInRect(pt)) return hSplitterBox;
  }
  int rowBar = -1, colBar = -1;
  for (int row = 0; row < m_nRows - 1 && rowBar < 0; ++row) {
    GetHitRect(vSplitterBar1 + row, rect);
    if (pt.y >= rect.top && pt.y < rect.bottom) rowBar = row;
  }
  for (int col = 0; col < m_nCols - 1 && colBar < 0; ++col) {
    GetHitRect(hSplitterBar1 + col, rect);
    if (pt.x >= rect.left && pt.x < rect.right) colBar = col;
  }
  CRect inside;
  GetInsideRect(inside);
  if (!inside.PtInRect(pt)) return noHit;
  if (rowBar >= 0 && colBar >= 0) return splitterIntersection1 + rowBar * kMaxPanes + colBar;
  if (rowBar >= 0) return vSplitterBar1 + rowBar;
  if (colBar >= 0) return hSplitterBar1 + colBar;
  return noHit;
}

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) {
  if (pDC == nullptr) {
    RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    return;
  }
  CRect r = rect;
  switch (nType) {
    case splitBorder: pDC->DrawEdge(&r, EDGE_SUNKEN, BF_RECT); break;
    case splitBox: pDC->DrawEdge(&r, EDGE_RAISED, BF_RECT | BF_MIDDLE); break;
    case splitBar:
    case splitIntersection: pDC->FillSolidRect(&r, ::GetSysColor(COLOR_3DFACE)); break;
  }
}

void CSplitterWnd::DrawAllSplitBars(CDC* pDC, int, int) {
  CRect rect;
  for (int row = 0; row < m_nRows - 1; ++row) {
    GetHitRect(vSplitterBar1 + row, rect);
    OnDrawSplitter(pDC, splitBar, rect);
  }
  for (int col = 0; col < m_nCols - 1; ++col) {
    GetHitRect(hSplitterBar1 + col, rect);
    OnDrawSplitter(pDC, splitBar, rect);
  }
}

void CSplitterWnd::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_3DFACE));
  DrawAllSplitBars(&dc, client.Width(), client.Height());
  // A sunken border around each pane that shows.
  for (int row = 0; row < m_nRows; ++row)
    for (int col = 0; col < m_nCols; ++col) {
      CWnd* pane = GetPane(row, col);
      if (pane == nullptr || !pane->IsWindowVisible()) continue;
      CRect r;
      pane->GetWindowRect(&r);
      ScreenToClient(&r);
      r.InflateRect(m_cxBorder, m_cyBorder);
      OnDrawSplitter(&dc, splitBorder, r);
    }
  bool dynamic = (GetStyle() & SPLS_DYNAMIC_SPLIT) != 0;
  CRect box;
  if (dynamic && m_bHasVScroll && m_nRows < m_nMaxRows) {
    GetHitRect(vSplitterBox, box);
    OnDrawSplitter(&dc, splitBox, box);
  }
  if (dynamic && m_bHasHScroll && m_nCols < m_nMaxCols) {
    GetHitRect(hSplitterBox, box);
    OnDrawSplitter(&dc, splitBox, box);
  }
}

void CSplitterWnd::OnInvertTracker(const CRect& rect) {
  CDC* dc = GetDC();
  CBrush* brush = CDC::GetHalftoneBrush();
  HGDIOBJ old = ::SelectObject(dc->m_hDC, brush->GetSafeHandle());
  dc->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  ::SelectObject(dc->m_hDC, old);
  ReleaseDC(dc);
}

// ---- tracking ----

void CSplitterWnd::SetSplitCursor(int ht) {
  if (ht == vSplitterBox || (ht >= vSplitterBar1 && ht < hSplitterBar1))
    ::SetCursor(SplitCursor(AFX_IDC_VSPLITBAR, IDC_SIZENS));
  else if (ht == hSplitterBox || (ht >= hSplitterBar1 && ht < splitterIntersection1))
    ::SetCursor(SplitCursor(AFX_IDC_HSPLITBAR, IDC_SIZEWE));
  else if (ht >= splitterIntersection1)
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
  else
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT && pWnd == this && !m_bTracking) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    SetSplitCursor(HitTest(pt));
    return TRUE;
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::StartTracking(int ht) {
  if (ht == noHit) return;
  CRect inside;
  GetInsideRect(inside);
  GetHitRect(ht, m_rectTracker);
  m_htTrack = ht;
  m_bTracking2 = FALSE;
  m_rectLimit = inside;
  if (ht >= splitterIntersection1) {
    // Both bars move: the row bar in m_rectTracker, the column bar in m_rectTracker2.
    int row = (ht - splitterIntersection1) / kMaxPanes, col = (ht - splitterIntersection1) % kMaxPanes;
    GetHitRect(vSplitterBar1 + row, m_rectTracker);
    GetHitRect(hSplitterBar1 + col, m_rectTracker2);
    m_bTracking2 = TRUE;
  } else if (ht == vSplitterBox) {
    m_rectTracker.SetRect(inside.left, m_rectTracker.top, inside.right, m_rectTracker.top + m_cySplitterGap);
  } else if (ht == hSplitterBox) {
    m_rectTracker.SetRect(m_rectTracker.left, inside.top, m_rectTracker.left + m_cxSplitterGap, inside.bottom);
  } else if (ht == bothSplitterBox) {
    // A split both ways, from the keyboard: a row bar and a column bar across the middle.
    CPoint middle = inside.CenterPoint();
    m_rectTracker.SetRect(inside.left, middle.y, inside.right, middle.y + m_cySplitterGap);
    m_rectTracker2.SetRect(middle.x, inside.top, middle.x + m_cxSplitterGap, inside.bottom);
    m_bTracking2 = TRUE;
  }
  m_bTracking = TRUE;
  SetCapture();
  OnInvertTracker(m_rectTracker);
  if (m_bTracking2) OnInvertTracker(m_rectTracker2);
  SetSplitCursor(ht);
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint pt) {
  if (m_bTracking) return;
  int ht = HitTest(pt);
  if (ht == noHit) return;
  StartTracking(ht);
  m_ptTrackOffset = pt - m_rectTracker.TopLeft();
  if (m_bTracking2) m_ptTrackOffset.x = pt.x - m_rectTracker2.left;
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt) {
  if (!m_bTracking) return;
  pt -= m_ptTrackOffset;
  bool rows = m_htTrack == vSplitterBox || m_htTrack == bothSplitterBox ||
              (m_htTrack >= vSplitterBar1 && m_htTrack < hSplitterBar1) || m_htTrack >= splitterIntersection1;
  bool cols = m_htTrack == hSplitterBox || (m_htTrack >= hSplitterBar1 && m_htTrack < splitterIntersection1);
  int y = std::clamp<int>(pt.y, m_rectLimit.top, m_rectLimit.bottom - m_rectTracker.Height());
  int x = std::clamp<int>(pt.x, m_rectLimit.left, m_rectLimit.right - (m_bTracking2 ? m_rectTracker2 : m_rectTracker).Width());
  if (rows && m_rectTracker.top != y) {
    OnInvertTracker(m_rectTracker);
    m_rectTracker.OffsetRect(0, y - m_rectTracker.top);
    OnInvertTracker(m_rectTracker);
  }
  CRect& colTracker = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
  if ((cols || m_bTracking2) && colTracker.left != x) {
    OnInvertTracker(colTracker);
    colTracker.OffsetRect(x - colTracker.left, 0);
    OnInvertTracker(colTracker);
  }
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) {
  if (m_bTracking) StopTracking(TRUE);
}

void CSplitterWnd::OnCancelMode() { StopTracking(FALSE); }

void CSplitterWnd::OnCaptureChanged(CWnd*) {
  // Another window took the mouse: the drag ends without a change.
  if (m_bTracking) StopTracking(FALSE);
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_ESCAPE && m_bTracking) {
    StopTracking(FALSE);
    return;
  }
  if (nChar == VK_RETURN && m_bTracking) {
    StopTracking(TRUE);
    return;
  }
  if (m_bTracking && (nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_UP || nChar == VK_DOWN)) {
    // The arrows move the trackers and the mouse with them; Ctrl moves them a pixel at a time.
    int step = (::GetKeyState(VK_CONTROL) < 0) ? 1 : 15;
    CPoint move(nChar == VK_LEFT ? -step : nChar == VK_RIGHT ? step : 0, nChar == VK_UP ? -step : nChar == VK_DOWN ? step : 0);
    m_ptKeyboard += move;
    CRect inside;
    GetInsideRect(inside);
    m_ptKeyboard.x = std::clamp<int>(m_ptKeyboard.x, inside.left, inside.right - 1);
    m_ptKeyboard.y = std::clamp<int>(m_ptKeyboard.y, inside.top, inside.bottom - 1);
    OnMouseMove(0, m_ptKeyboard);
    CPoint screen = m_ptKeyboard;
    ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    return;
  }
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CSplitterWnd::DoKeyboardSplit() {
  if (m_bTracking) return FALSE;
  int ht;
  if (m_nRows > 1 && m_nCols > 1) {
    ht = splitterIntersection1;
  } else if (m_nRows > 1) {
    ht = vSplitterBar1;
  } else if (m_nCols > 1) {
    ht = hSplitterBar1;
  } else if (!(GetStyle() & SPLS_DYNAMIC_SPLIT)) {
    return FALSE;
  } else if (m_nMaxRows > 1 && m_nMaxCols > 1) {
    ht = bothSplitterBox;
  } else if (m_nMaxRows > 1) {
    ht = vSplitterBox;
  } else if (m_nMaxCols > 1) {
    ht = hSplitterBox;
  } else {
    return FALSE;
  }
  StartTracking(ht);
  if (!m_bTracking) return FALSE;
  SetFocus();
  // The keys move the trackers from where they are; a split box starts in the middle.
  CRect inside;
  GetInsideRect(inside);
  CRect& rows = m_rectTracker;
  CRect& cols = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
  m_ptTrackOffset = CPoint(0, 0);
  m_ptKeyboard = CPoint(cols.left, rows.top);
  if (ht == vSplitterBox) m_ptKeyboard.y = inside.CenterPoint().y;
  if (ht == hSplitterBox) m_ptKeyboard.x = inside.CenterPoint().x;
  OnMouseMove(0, m_ptKeyboard);
  CPoint screen = m_ptKeyboard;
  ClientToScreen(&screen);
  ::SetCursorPos(screen.x, screen.y);
  return TRUE;
}

void CSplitterWnd::TrackRowSize(int y, int row) {
  CRect inside;
  GetInsideRect(inside);
  std::vector<int> ys = Starts(m_pRowInfo, m_nRows, inside.top + m_cyBorder, m_cySplitterGap);
  CRowColInfo& info = m_pRowInfo[static_cast<size_t>(row)];
  int size = y - ys[static_cast<size_t>(row)];
  info.nIdealSize = size;
  bool dynamic = (GetStyle() & SPLS_DYNAMIC_SPLIT) != 0;
  // Dragged below its minimum a pane goes (a dynamic row is deleted); so does the one below
  // when it is left too little room.
  if (size < info.nMinSize) {
    info.nIdealSize = 0;
    if (dynamic) DeleteRow(row);
  } else if (row + 1 < m_nRows &&
             info.nCurSize + m_pRowInfo[static_cast<size_t>(row + 1)].nCurSize <
                 size + m_pRowInfo[static_cast<size_t>(row + 1)].nMinSize) {
    if (dynamic) DeleteRow(row + 1);
  }
}

void CSplitterWnd::TrackColumnSize(int x, int col) {
  CRect inside;
  GetInsideRect(inside);
  std::vector<int> xs = Starts(m_pColInfo, m_nCols, inside.left + m_cxBorder, m_cxSplitterGap);
  CRowColInfo& info = m_pColInfo[static_cast<size_t>(col)];
  int size = x - xs[static_cast<size_t>(col)];
  info.nIdealSize = size;
  bool dynamic = (GetStyle() & SPLS_DYNAMIC_SPLIT) != 0;
  if (size < info.nMinSize) {
    info.nIdealSize = 0;
    if (dynamic) DeleteColumn(col);
  } else if (col + 1 < m_nCols &&
             info.nCurSize + m_pColInfo[static_cast<size_t>(col + 1)].nCurSize <
                 size + m_pColInfo[static_cast<size_t>(col + 1)].nMinSize) {
    if (dynamic) DeleteColumn(col + 1);
  }
}

void CSplitterWnd::StopTracking(BOOL bAccept) {
  if (!m_bTracking) return;
  m_bTracking = FALSE;
  OnInvertTracker(m_rectTracker);
  if (m_bTracking2) OnInvertTracker(m_rectTracker2);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  int ht = m_htTrack;
  m_htTrack = noHit;
  if (!bAccept) return;
  CRect inside;
  GetInsideRect(inside);
  if (ht == vSplitterBox) {
    SplitRow(m_rectTracker.top - inside.top);
  } else if (ht == bothSplitterBox) {
    SplitRow(m_rectTracker.top - inside.top);
    SplitColumn(m_rectTracker2.left - inside.left);
  } else if (ht == hSplitterBox) {
    SplitColumn(m_rectTracker.left - inside.left);
  } else if (ht >= splitterIntersection1) {
    int row = (ht - splitterIntersection1) / kMaxPanes, col = (ht - splitterIntersection1) % kMaxPanes;
    TrackColumnSize(m_rectTracker2.left, col);
    if (row < m_nRows - 1) TrackRowSize(m_rectTracker.top, row);
  } else if (ht >= hSplitterBar1) {
    TrackColumnSize(m_rectTracker.left, ht - hSplitterBar1);
  } else if (ht >= vSplitterBar1) {
    TrackRowSize(m_rectTracker.top, ht - vSplitterBar1);
  }
  RecalcLayout();
}

void CSplitterWnd::OnLButtonDblClk(UINT, CPoint pt) {
  int ht = HitTest(pt);
  StopTracking(FALSE);
  if (!(GetStyle() & SPLS_DYNAMIC_SPLIT)) return;
  CRect inside;
  GetInsideRect(inside);
  // A split box splits in the middle; a bar joins, keeping the active pane.
  if (ht == vSplitterBox) {
    SplitRow(inside.Height() / 2);
  } else if (ht == hSplitterBox) {
    SplitColumn(inside.Width() / 2);
  } else if (ht >= vSplitterBar1 && ht < hSplitterBar1) {
    int row = ht - vSplitterBar1, active = -1;
    GetActivePane(&active, nullptr);
    DeleteRow(active == row ? row + 1 : row);
  } else if (ht >= hSplitterBar1 && ht < splitterIntersection1) {
    int col = ht - hSplitterBar1, active = -1;
    GetActivePane(nullptr, &active);
    DeleteColumn(active == col ? col + 1 : col);
  }
}

// ---- shared scroll bars ----

void CSplitterWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (pScrollBar == nullptr) return;
  int col = pScrollBar->GetDlgCtrlID() - AFX_IDW_HSCROLL_FIRST;
  if (col < 0 || col >= m_nCols) return;
  // Every pane of the column scrolls from the same position.
  int old = pScrollBar->GetScrollPos();
  for (int row = 0; row < m_nRows; ++row) {
    if (CWnd* pane = GetPane(row, col))
      pane->SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos), reinterpret_cast<LPARAM>(pScrollBar->m_hWnd));
    if (row < m_nRows - 1) pScrollBar->SetScrollPos(old, FALSE);
  }
}

void CSplitterWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (pScrollBar == nullptr) return;
  int row = pScrollBar->GetDlgCtrlID() - AFX_IDW_VSCROLL_FIRST;
  if (row < 0 || row >= m_nRows) return;
  int old = pScrollBar->GetScrollPos();
  for (int col = 0; col < m_nCols; ++col) {
    if (CWnd* pane = GetPane(row, col))
      pane->SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos), reinterpret_cast<LPARAM>(pScrollBar->m_hWnd));
    if (col < m_nCols - 1) pScrollBar->SetScrollPos(old, FALSE);
  }
}

BOOL CSplitterWnd::DoScroll(CView* pViewFrom, UINT nScrollCode, BOOL bDoScroll) {
  int rowFrom = 0, colFrom = 0;
  if (!IsChildPane(pViewFrom, &rowFrom, &colFrom)) return FALSE;
  auto scroll = [&](CWnd* pane, UINT code) {
    return pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView)) && static_cast<CView*>(pane)->OnScroll(code, 0, bDoScroll);
  };
  CScrollBar* vbar = pViewFrom->GetScrollBarCtrl(SB_VERT);
  CScrollBar* hbar = pViewFrom->GetScrollBarCtrl(SB_HORZ);
  int oldV = vbar != nullptr ? vbar->GetScrollPos() : 0, oldH = hbar != nullptr ? hbar->GetScrollPos() : 0;
  BOOL result = scroll(pViewFrom, nScrollCode);
  // The panes of the row follow vertically, those of the column horizontally.
  for (int col = 0; vbar != nullptr && HIBYTE(nScrollCode) != 0xFF && col < m_nCols; ++col) {
    if (col == colFrom) continue;
    vbar->SetScrollPos(oldV, FALSE);
    result |= scroll(GetPane(rowFrom, col), MAKEWORD(0xFF, HIBYTE(nScrollCode)));
  }
  for (int row = 0; hbar != nullptr && LOBYTE(nScrollCode) != 0xFF && row < m_nRows; ++row) {
    if (row == rowFrom) continue;
    hbar->SetScrollPos(oldH, FALSE);
    result |= scroll(GetPane(row, colFrom), MAKEWORD(LOBYTE(nScrollCode), 0xFF));
  }
  return result;
}

BOOL CSplitterWnd::DoScrollBy(CView* pViewFrom, CSize sizeScroll, BOOL bDoScroll) {
  int rowFrom = 0, colFrom = 0;
  if (!IsChildPane(pViewFrom, &rowFrom, &colFrom)) return FALSE;
  auto scroll = [&](CWnd* pane, CSize by) {
    return pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView)) && static_cast<CView*>(pane)->OnScrollBy(by, bDoScroll);
  };
  CScrollBar* vbar = pViewFrom->GetScrollBarCtrl(SB_VERT);
  CScrollBar* hbar = pViewFrom->GetScrollBarCtrl(SB_HORZ);
  int oldV = vbar != nullptr ? vbar->GetScrollPos() : 0, oldH = hbar != nullptr ? hbar->GetScrollPos() : 0;
  BOOL result = scroll(pViewFrom, sizeScroll);
  for (int col = 0; vbar != nullptr && sizeScroll.cy != 0 && col < m_nCols; ++col) {
    if (col == colFrom) continue;
    vbar->SetScrollPos(oldV, FALSE);
    result |= scroll(GetPane(rowFrom, col), CSize(0, sizeScroll.cy));
  }
  for (int row = 0; hbar != nullptr && sizeScroll.cx != 0 && row < m_nRows; ++row) {
    if (row == rowFrom) continue;
    hbar->SetScrollPos(oldH, FALSE);
    result |= scroll(GetPane(row, colFrom), CSize(sizeScroll.cx, 0));
  }
  return result;
}

// ---- views in splitters ----

CScrollBar* CView::GetScrollBarCtrl(int nBar) const {
  // A pane of a splitter uses the bar its splitter keeps for its column (horizontal) or row.
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  if (parent == nullptr || !parent->IsKindOf(RUNTIME_CLASS(CSplitterWnd))) return nullptr;
  int id = GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
  if (id < 0 || id > AFX_IDW_PANE_LAST - AFX_IDW_PANE_FIRST) return nullptr;
  int barId = nBar == SB_HORZ ? AFX_IDW_HSCROLL_FIRST + id % kMaxPanes : AFX_IDW_VSCROLL_FIRST + id / kMaxPanes;
  CWnd* bar = CWnd::FromHandlePermanent(::GetDlgItem(parent->m_hWnd, barId));
  return bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(CScrollBar)) ? static_cast<CScrollBar*>(bar) : nullptr;
}

BOOL CView::OnNextPaneCmd(UINT nID) {
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  if (parent == nullptr || !parent->IsKindOf(RUNTIME_CLASS(CSplitterWnd))) return FALSE;
  static_cast<CSplitterWnd*>(parent)->ActivateNext(nID == ID_PREV_PANE);
  return TRUE;
}

BOOL CView::OnSplitCmd(UINT) {
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  if (parent == nullptr || !parent->IsKindOf(RUNTIME_CLASS(CSplitterWnd))) return FALSE;
  static_cast<CSplitterWnd*>(parent)->DoKeyboardSplit();
  return TRUE;
}

void CView::OnUpdateSplitCmd(CCmdUI* pCmdUI) {
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  pCmdUI->Enable(parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CSplitterWnd)));
}

void CView::OnUpdateNextPaneMenu(CCmdUI* pCmdUI) {
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  pCmdUI->Enable(parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CSplitterWnd)) &&
                 static_cast<CSplitterWnd*>(parent)->CanActivateNext(pCmdUI->m_nID == ID_PREV_PANE));
}
