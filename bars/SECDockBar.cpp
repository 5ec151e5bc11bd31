// SECDockBar: proportional rows, splitters and edges, insertion by point and by row and column,
// expanding a bar over its row, splitter tracking and the deferred repaint of moved bars.
#include "bars/SECDockBar.h"

#include <algorithm>
#include <cstring>

#include "bars/SECControlBar.h"
#include "bars/SECDockContext.h"
#include "bars/SECDockRow.h"
#include "bars/SECMiniDockFrameWnd.h"

IMPLEMENT_DYNAMIC(SECDockBar, CDockBar)

using sec_dock::kEdge;
using sec_dock::kSplitter;

namespace {

HCURSOR g_cursorVert = nullptr;  // over a vertical splitter
HCURSOR g_cursorHorz = nullptr;

HCURSOR FrameworkCursor(UINT id, LPCTSTR fallback) {
  LPCTSTR name = MAKEINTRESOURCE(id);
  HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_CURSOR);
  HCURSOR cursor = module != nullptr ? ::LoadCursor(module, name) : nullptr;
  return cursor != nullptr ? cursor : ::LoadCursor(nullptr, fallback);
}

SECControlBar* AsSEC(CControlBar* bar) { return dynamic_cast<SECControlBar*>(bar); }

// Bars that take a share of their row: toolkit bars not sized in one dimension.
bool IsProportional(CControlBar* bar) {
  SECControlBar* sec = AsSEC(bar);
  return sec != nullptr && !(sec->m_dwExStyle & CBRS_EX_STRETCH_ONE_DIMENSION);
}

bool WantsOwnRow(const void* entry) {
  if (entry == nullptr || CDockBar::IsPlaceHolder(entry)) return false;
  SECControlBar* sec = AsSEC(static_cast<CControlBar*>(const_cast<void*>(entry)));
  return sec != nullptr && (sec->m_dwExStyle & CBRS_EX_OWN_ROW);
}

CRect ClientRectOf(CWnd* wnd, CWnd* in) {
  CRect rect;
  wnd->GetWindowRect(&rect);
  in->ScreenToClient(&rect);
  return rect;
}

}  // namespace

BOOL SECIsCustomToolBar(const CObject* pObject) {
  if (pObject == nullptr) return FALSE;
  for (const CRuntimeClass* cls = pObject->GetRuntimeClass(); cls != nullptr; cls = cls->m_pBaseClass)
    if (std::strcmp(cls->m_lpszClassName, "SECCustomToolBar") == 0) return TRUE;
  return FALSE;
}

void SECEnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle, BOOL bMDIFloat) {
  pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
  for (const auto& entry : g_dwDockBarMap) {
    if (!(entry[1] & dwDockStyle & CBRS_ALIGN_ANY)) continue;
    if (pFrame->GetControlBar(entry[0]) != nullptr) continue;
    auto* dock = new SECDockBar(FALSE, bMDIFloat);
    const DWORD style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | (entry[1] & CBRS_ALIGN_ANY);
    if (!dock->Create(pFrame, style, 0, entry[0])) {
      delete dock;
      AfxThrowResourceException();
    }
  }
}

// ---- splitters and edges ----

void SECDockBar::Splitter::Draw(CDC* pDC) {
  pDC->FillSolidRect(&m_rect, ::GetSysColor(COLOR_BTNFACE));
  pDC->Draw3dRect(&m_rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

void SECDockBar::ClientEdge::Draw(CDC* pDC) {
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  if (m_nOrientation == 1) {
    pDC->FillSolidRect(m_rect.left, m_rect.top, 1, m_rect.Height(), shadow);
    pDC->FillSolidRect(m_rect.left + 1, m_rect.top, 1, m_rect.Height(), light);
  } else {
    pDC->FillSolidRect(m_rect.left, m_rect.top, m_rect.Width(), 1, shadow);
    pDC->FillSolidRect(m_rect.left, m_rect.top + 1, m_rect.Width(), 1, light);
  }
}

BEGIN_MESSAGE_MAP(SECDockBar, CDockBar)
  ON_WM_CREATE()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

SECDockBar::SECDockBar(BOOL bFloating, BOOL bMDIFloat) : CDockBar(bFloating), m_bMDIFloat(bMDIFloat) {}

SECDockBar::~SECDockBar() = default;

BOOL SECDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwCreateValue, UINT nID) {
  m_dwCreateValue = dwCreateValue;
  return CDockBar::Create(pParentWnd, dwStyle, nID);
}

int SECDockBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CDockBar::OnCreate(lpcs) == -1) return -1;
  if (g_cursorVert == nullptr) g_cursorVert = FrameworkCursor(AFX_IDC_HSPLITBAR, IDC_SIZEWE);
  if (g_cursorHorz == nullptr) g_cursorHorz = FrameworkCursor(AFX_IDC_VSPLITBAR, IDC_SIZENS);
  return 0;
}

void SECDockBar::OnDestroy() {
  m_splitters.clear();
  m_edges.clear();
  m_arrRepaint.clear();
  CDockBar::OnDestroy();
}

BOOL SECDockBar::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_SYSCHAR) {
    // Alt shortcuts reach the frame's menu while a docked window has the focus.
    if (CFrameWnd* frame = GetDockingFrame()) {
      frame->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(pMsg->wParam));
      return TRUE;
    }
  }
  return CDockBar::PreTranslateMessage(pMsg);
}

// ---- rows ----

int SECDockBar::RowStart(int nPos) const {
  while (nPos > 0 && m_arrBars[nPos - 1] != nullptr) --nPos;
  return std::max(nPos, 1);
}

int SECDockBar::RowEnd(int nPos) const {
  const int size = static_cast<int>(m_arrBars.GetSize());
  while (nPos < size && m_arrBars[nPos] != nullptr) ++nPos;
  return nPos;
}

int SECDockBar::GetDockedVisibleCount() const { return CDockBar::GetDockedVisibleCount(); }

int SECDockBar::DockLength() const {
  const bool horz = IsHorz();
  if (!m_rectLayout.IsRectEmpty()) return horz ? m_rectLayout.Width() : m_rectLayout.Height();
  CRect rect;
  if (m_bFloating || GetParent() == nullptr)
    GetClientRect(&rect);
  else
    GetParent()->GetClientRect(&rect);
  return horz ? rect.Width() : rect.Height();
}

void SECDockBar::MarkForRepaint(CControlBar* pBar) {
  if (pBar == nullptr) return;
  if (std::find(m_arrRepaint.begin(), m_arrRepaint.end(), pBar) == m_arrRepaint.end()) m_arrRepaint.push_back(pBar);
}

void SECDockBar::ForgetBar(CControlBar* pBar) {
  m_arrRepaint.erase(std::remove(m_arrRepaint.begin(), m_arrRepaint.end(), pBar), m_arrRepaint.end());
  if (m_pLastChanged == pBar) m_pLastChanged = nullptr;
}

BOOL SECDockBar::IsOnlySizedBarInRow(CControlBar* pBar) {
  int pos = FindBar(pBar);
  if (pos <= 0) return FALSE;
  int sized = 0;
  bool isOne = false;
  for (int i = RowStart(pos), end = RowEnd(pos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    SECControlBar* sec = AsSEC(bar);
    if (sec == nullptr || !bar->IsVisible() || sec->m_fPctWidth <= m_fMinShare) continue;
    ++sized;
    if (bar == pBar) isOne = true;
  }
  return sized < 2 && isOne;
}

BOOL SECDockBar::IsAloneInRow(CControlBar* pBar) {
  int pos = FindBar(pBar);
  if (pos <= 0) return TRUE;
  for (int i = RowStart(pos), end = RowEnd(pos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar != nullptr && bar != pBar && bar->IsVisible()) return FALSE;
  }
  return TRUE;
}

void SECDockBar::GetRowBars(CPtrArray& bars, CControlBar* pBar) {
  bars.RemoveAll();
  int pos = FindBar(pBar);
  if (pos <= 0) return;
  for (int i = pos - 1, start = RowStart(pos); i >= start; --i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar != nullptr && bar->IsVisible()) bars.Add(bar);
  }
  bars.Add(pBar);
  for (int i = pos + 1, end = RowEnd(pos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar != nullptr && bar->IsVisible()) bars.Add(bar);
  }
}

void SECDockBar::SetMinimumShare() { m_fMinShare = sec_dock::MinimumShare(DockLength()); }

void SECDockBar::NormalizeRow(int nFirst, CControlBar* pKept, int* pnProportional, int* pnOneDim) {
  SetMinimumShare();
  std::vector<SECControlBar*> bars;
  std::vector<float> shares;
  int kept = -1, oneDim = 0;
  for (int i = nFirst, end = RowEnd(nFirst); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == nullptr || !bar->IsVisible()) continue;
    if (!IsProportional(bar)) {
      ++oneDim;
      continue;
    }
    if (bar == pKept) kept = static_cast<int>(bars.size());
    bars.push_back(AsSEC(bar));
    shares.push_back(AsSEC(bar)->m_fPctWidth);
  }
  sec_dock::NormalizeShares(shares, kept, m_fMinShare);
  for (size_t i = 0; i < bars.size(); ++i) bars[i]->m_fPctWidth = shares[i];
  if (pnProportional != nullptr) *pnProportional = static_cast<int>(bars.size());
  if (pnOneDim != nullptr) *pnOneDim = oneDim;
}

float SECDockBar::AddToShare(float fAmount, CControlBar* pBar) {
  SECControlBar* sec = AsSEC(pBar);
  if (sec == nullptr) return 0.0f;
  sec->m_fPctWidth += fAmount;
  if (sec->m_fPctWidth < m_fMinShare) {
    float shortfall = sec->m_fPctWidth - m_fMinShare;
    sec->m_fPctWidth = m_fMinShare;
    return shortfall;
  }
  return 0.0f;
}

void SECDockBar::ExpandBar(CControlBar* pBar, int nMode) {
  int pos = FindBar(pBar);
  if (pos <= 0) return;
  const int start = RowStart(pos), end = RowEnd(pos);
  for (int i = start; i < end; ++i) {
    SECControlBar* sec = AsSEC(GetDockedControlBar(i));
    if (sec == nullptr) continue;
    sec->m_fPctWidth = nMode == 1 ? (sec == pBar ? 1.0f : 0.0f) : 0.1f;
    MarkForRepaint(sec);
  }
  NormalizeRow(start, pBar);
  m_pLastChanged = nullptr;
  m_nRedrawSuppress = 1;
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout(TRUE);
}

void SECDockBar::OnBarChanged(CControlBar* pBar) {
  int pos = FindBar(pBar);
  if (pos > 0 && IsAloneInRow(pBar)) {
    const bool nearFirst = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
    const int size = static_cast<int>(m_arrBars.GetSize());
    for (int i = nearFirst ? pos : 1; i < (nearFirst ? size : pos + 1); ++i) MarkForRepaint(GetDockedControlBar(i));
  }
  MarkForRepaint(pBar);
  m_pLastChanged = pBar;
}

void SECDockBar::MarkRowToolBars(CControlBar* pBar) {
  int pos = FindBar(pBar);
  if (pos <= 0) return;
  for (int i = RowStart(pos), end = RowEnd(pos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (SECIsCustomToolBar(bar)) MarkForRepaint(bar);
  }
}

// ---- insertion ----

int SECDockBar::InsertBarAtIndex(int nIndex, CControlBar* pBar) {
  nIndex = std::clamp<int>(nIndex, 1, static_cast<int>(m_arrBars.GetSize()));
  m_arrBars.InsertAt(nIndex, pBar);
  const bool own = WantsOwnRow(pBar);
  // Before the bar.
  if (nIndex > 0 && m_arrBars[nIndex - 1] != nullptr && (own || WantsOwnRow(m_arrBars[nIndex - 1]))) {
    m_arrBars.InsertAt(nIndex, static_cast<void*>(nullptr));
    ++nIndex;
    m_nRedrawSuppress = 1;
  }
  // After it.
  int after = nIndex + 1;
  if (after < m_arrBars.GetSize() && m_arrBars[after] != nullptr && (own || WantsOwnRow(m_arrBars[after]))) {
    m_arrBars.InsertAt(after, static_cast<void*>(nullptr));
    m_nRedrawSuppress = 1;
  }
  if (after >= m_arrBars.GetSize()) m_arrBars.Add(nullptr);
  return nIndex + 1;
}

int SECDockBar::InsertBarAtStart(CControlBar* pBar) {
  if (pBar == nullptr) return -1;
  m_arrBars.InsertAt(1, static_cast<void*>(nullptr));
  m_arrBars.InsertAt(1, pBar);
  m_nRedrawSuppress = 1;
  return 1;
}

int SECDockBar::InsertBarAtPoint(CControlBar* pBar, const CRect& rect, CPoint point) {
  MarkForRepaint(pBar);
  const bool horz = IsHorz();
  const int across = horz ? point.y : point.x;
  const int size = static_cast<int>(m_arrBars.GetSize());
  for (int i = 1; i < size; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == nullptr || bar == pBar || !bar->IsVisible()) continue;
    CRect r = ClientRectOf(bar, this);
    if ((horz ? r.bottom : r.right) < across) continue;
    const int start = RowStart(i);
    if (across < (horz ? r.top : r.left)) {
      // Before this bar's row (or in the gap before it): a new row there.
      m_arrBars.InsertAt(start, static_cast<void*>(nullptr));
      m_arrBars.InsertAt(start, pBar);
      m_nRedrawSuppress = 1;
      for (int j = start; j < m_arrBars.GetSize(); ++j) MarkForRepaint(GetDockedControlBar(j));
      return start;
    }
    // In this row, before the first bar that starts beyond the rectangle.
    const int end = RowEnd(i);
    int at = end;
    for (int j = start; j < end; ++j) {
      CControlBar* other = GetDockedControlBar(j);
      if (other == nullptr || other == pBar) continue;
      if (!other->IsVisible()) {
        if (horz) {
          at = j;
          break;
        }
        continue;
      }
      CRect o = ClientRectOf(other, this);
      if ((horz ? o.left : o.top) > (horz ? rect.left : rect.top)) {
        at = j;
        break;
      }
    }
    for (int j = at; j < end; ++j) MarkForRepaint(GetDockedControlBar(j));
    InsertBarAtIndex(at, pBar);
    return FindBar(pBar);
  }
  // Beyond every row: a new last row.
  while (m_arrBars.GetSize() > 1 && m_arrBars[m_arrBars.GetSize() - 1] == nullptr &&
         m_arrBars[m_arrBars.GetSize() - 2] == nullptr)
    m_arrBars.RemoveAt(m_arrBars.GetSize() - 1);
  if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr) m_arrBars.Add(nullptr);
  int at = static_cast<int>(m_arrBars.GetSize());
  m_arrBars.Add(pBar);
  m_arrBars.Add(nullptr);
  m_nRedrawSuppress = 1;
  return at;
}

int SECDockBar::InsertBarAt(CControlBar* pBar, int nRow, int nColumn) { return InsertBarAt(pBar, Position{nRow, nColumn, 0}); }

int SECDockBar::InsertBarAt(CControlBar* pBar, const Position& where) {
  std::vector<int> rows;
  for (int i = 1; i < m_arrBars.GetSize(); ++i)
    if (m_arrBars[i] != nullptr && m_arrBars[i - 1] == nullptr) rows.push_back(i);
  const int count = static_cast<int>(rows.size());
  auto newRowAt = [this, pBar](int index) {
    m_arrBars.InsertAt(index, static_cast<void*>(nullptr));
    m_arrBars.InsertAt(index, pBar);
    m_nRedrawSuppress = 1;
    for (int j = index; j < m_arrBars.GetSize(); ++j) MarkForRepaint(GetDockedControlBar(j));
    return index;
  };
  auto appendRow = [this, pBar] {
    if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr) m_arrBars.Add(nullptr);
    int at = static_cast<int>(m_arrBars.GetSize());
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
    m_nRedrawSuppress = 1;
    return at;
  };
  if (where.nRow < 0) return (where.dwFlags & kFromLastRow) ? appendRow() : newRowAt(1);
  const int row = (where.dwFlags & kFromLastRow) ? count - 1 - where.nRow : where.nRow;
  if (row < 0) return newRowAt(1);
  if (row >= count) return appendRow();
  if (where.dwFlags & kNewRow) return newRowAt(rows[static_cast<size_t>(row)]);
  const int start = rows[static_cast<size_t>(row)], end = RowEnd(start);
  std::vector<int> visible;
  for (int i = start; i < end; ++i)
    if (CControlBar* bar = GetDockedControlBar(i); bar != nullptr && bar->IsVisible()) visible.push_back(i);
  const int n = static_cast<int>(visible.size());
  const int column = (where.dwFlags & kFromLastColumn) ? n - where.nColumn : where.nColumn;
  int at = column >= 0 && column < n ? visible[static_cast<size_t>(column)] : end;
  if (column < 0) at = start;
  for (int j = at; j < end; ++j) MarkForRepaint(GetDockedControlBar(j));
  InsertBarAtIndex(at, pBar);
  return FindBar(pBar);
}

// ---- docking ----

void SECDockBar::AdoptBar(CControlBar* pBar, int nPos, const CRect* pClientRect) {
  const bool wasVisible = (pBar->GetStyle() & WS_VISIBLE) != 0;
  CDockBar* old = pBar->m_pDockBar;
  if (old != nullptr && old != this && old->m_hWnd != nullptr && pBar->m_hWnd != nullptr) {
    old->InvalidateRect(ClientRectOf(pBar, old));
    // Hidden while it changes parents, so it does not show at a wrong place.
    if (wasVisible)
      pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
  // The floating frame's dock bar follows its bar: several bars, sizing, title.
  if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI)) m_dwStyle |= CBRS_FLOAT_MULTI;
  m_dwStyle &= ~static_cast<DWORD>(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
    CString title;
    pBar->GetWindowText(title);
    SetWindowText(title);
  }
  DWORD style = pBar->GetBarStyle() & ~static_cast<DWORD>(CBRS_ALIGN_ANY | CBRS_FLOATING);
  style |= (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
  if (m_bFloating) style |= CBRS_FLOATING;
  pBar->SetBarStyle(style);
  if (pClientRect != nullptr)
    pBar->SetWindowPos(nullptr, pClientRect->left, pClientRect->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  if (pBar->GetParent() != this) pBar->SetParent(this);
  if (pClientRect == nullptr)
    pBar->SetWindowPos(nullptr, -2, -2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  if (old == this) {
    RemoveControlBar(pBar, nPos);
  } else if (old != nullptr) {
    // Leaving a docked place for a floating frame leaves a placeholder to come back to.
    old->RemoveControlBar(pBar, -1, m_bFloating && !old->m_bFloating);
  }
  pBar->m_pDockBar = this;
  if (old != this && wasVisible)
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RemovePlaceHolder(pBar);
  // Floating now: the frame's border follows the bar's sizing (one dimension or both).
  if (SECControlBar* sec = AsSEC(pBar); sec != nullptr && m_bFloating) sec->SetExBarStyle(sec->m_dwExStyle, FALSE);
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout(TRUE);
}

void SECDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  CRect rect;
  if (lpRect != nullptr) {
    rect = *lpRect;
    ScreenToClient(&rect);
  }
  if (pBar->m_pDockBar == this) {
    SECControlBar* sec = AsSEC(pBar);
    if (sec != nullptr && (sec->m_dwExStyle & CBRS_EX_STRETCH_ONE_DIMENSION)) {
      CRect current;
      pBar->GetWindowRect(&current);
      if (lpRect == nullptr || current == *lpRect) return;
    } else if (lpRect == nullptr) {
      return;
    }
  }
  int pos;
  if (lpRect != nullptr) {
    const int oldPos = pBar->m_pDockBar == this ? FindBar(pBar) : -1;
    const int oldSize = static_cast<int>(m_arrBars.GetSize());
    pos = InsertBarAtPoint(pBar, rect, rect.CenterPoint());
    // Dropped on its own place (before or after itself in the same row): nothing changes.
    if (oldPos > 0 && m_arrBars.GetSize() == oldSize + 1 && (pos == oldPos || pos == oldPos + 1)) {
      m_arrBars.RemoveAt(pos);
      return;
    }
  } else {
    if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr) m_arrBars.Add(nullptr);
    pos = static_cast<int>(m_arrBars.GetSize());
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
    m_nRedrawSuppress = 1;
  }
  AdoptBar(pBar, pos, lpRect != nullptr ? &rect : nullptr);
}

void SECDockBar::DockControlBarAt(CControlBar* pBar, int nRow, int nColumn) {
  DockControlBarAt(pBar, Position{nRow, nColumn, 0});
}

void SECDockBar::DockControlBarAt(CControlBar* pBar, const Position& where) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  if (pBar->m_pDockBar == this) RemoveControlBar(pBar, -1, -1);
  int pos = InsertBarAt(pBar, where);
  AdoptBar(pBar, pos, nullptr);
  pos = FindBar(pBar);
  if (pos > 0) NormalizeRow(RowStart(pos), pBar);
  m_pLastChanged = pBar;
}

void SECDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  const bool shown = (pBar->GetStyle() & WS_VISIBLE) != 0;
  int pos = FindBar(PlaceHolderOf(static_cast<UINT>(pBar->GetDlgCtrlID())));
  if (pos > 0 && pBar->m_pDockBar != this) {
    // Back in the place it had: the placeholder becomes the bar.
    m_arrBars[pos] = pBar;
    MarkForRepaint(pBar);
    AdoptBar(pBar, pos, nullptr);
  } else {
    DockControlBar(pBar, lpRect);
  }
  if (shown) pBar->DelayShow(TRUE);
  m_pLastChanged = pBar;
}

BOOL SECDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder) {
  int pos = FindBar(pBar, nPosExclude);
  if (pos > 0 && IsAloneInRow(pBar)) {
    for (int i = pos + 1; i < m_arrBars.GetSize(); ++i) MarkForRepaint(GetDockedControlBar(i));
    m_nRedrawSuppress = 1;
  }
  ForgetBar(pBar);
  return CDockBar::RemoveControlBar(pBar, nPosExclude, nAddPlaceHolder);
}

// ---- layout ----

LRESULT SECDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  int& redraw = SECRedrawSuppression();
  const int saved = redraw;
  if (redraw != 0) redraw = m_nRedrawSuppress;
  m_pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  LRESULT result = 0;
  if (m_pLayout->hDWP != nullptr && redraw != 0) {
    // The dock bar's own move is deferred into a batch of its own, ended here, so that its quiet
    // flags go with this layout's move and with nothing else: a layout that leaves the dock bar
    // where it is leaves no flag behind for a later, unrelated move.
    const HDWP hFrameBatch = m_pLayout->hDWP;
    m_pLayout->hDWP = ::BeginDeferWindowPos(1);
    m_bQuietMovePending = TRUE;
    result = CDockBar::OnSizeParent(wParam, lParam);
    if (m_pLayout->hDWP != nullptr) ::EndDeferWindowPos(m_pLayout->hDWP);
    m_bQuietMovePending = FALSE;
    m_pLayout->hDWP = hFrameBatch;
  } else {
    result = CDockBar::OnSizeParent(wParam, lParam);
  }
  m_pLayout = nullptr;
  redraw = saved;
  return result;
}

UINT SECDockBar::QuietMoveFlags(BOOL bHorz, CSize sizeOld, CSize sizeNew) {
  if (sizeOld == sizeNew) return SWP_NOCOPYBITS;
  const bool sameLength = bHorz ? sizeOld.cx == sizeNew.cx : sizeOld.cy == sizeNew.cy;
  return sameLength ? SWP_NOREDRAW : 0;
}

void SECDockBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  CDockBar::OnWindowPosChanging(lpWndPos);
  const UINT geometry = SWP_NOMOVE | SWP_NOSIZE;
  if (!m_bQuietMovePending || (lpWndPos->flags & geometry) == geometry ||
      (lpWndPos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
    return;
  // The layout's own move of this dock bar.
  m_bQuietMovePending = FALSE;
  CRect rect;
  GetWindowRect(&rect);
  const CSize sizeNew = (lpWndPos->flags & SWP_NOSIZE) ? rect.Size() : CSize(lpWndPos->cx, lpWndPos->cy);
  lpWndPos->flags |= QuietMoveFlags(IsHorz(), rect.Size(), sizeNew);
}

CSize SECDockBar::CalcFloatingLayout() {
  CSize total(0, 0);
  CPoint pt(0, 0);
  int rowThickness = 0;
  AFX_SIZEPARENTPARAMS layout{};
  layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
  for (int i = 1; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar != nullptr && bar->IsVisible()) {
      DWORD mode;
      if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) || IsProportional(bar))
        mode = LM_HORZ | LM_MRUWIDTH;
      else
        mode = (bar->m_dwStyle & CBRS_ORIENT_HORZ) ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK;
      CSize size = bar->CalcDynamicLayout(-1, mode);
      CRect rect(pt, size);
      if (!m_bLayoutQuery && rect != ClientRectOf(bar, this)) AfxRepositionWindow(&layout, bar->m_hWnd, &rect);
      pt.x += size.cx;
      rowThickness = std::max<int>(rowThickness, size.cy);
      total.cx = std::max<LONG>(total.cx, pt.x);
    }
    if (bar != nullptr) bar->RecalcDelayShow(&layout);
    if (m_arrBars[i] == nullptr && rowThickness > 0) {
      pt.y += rowThickness;
      pt.x = 0;
      rowThickness = 0;
    }
  }
  total.cy = pt.y + rowThickness;
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);
  return total;
}

CSize SECDockBar::CalcFixedLayout(BOOL, BOOL) {
  if (m_bFloating) return CalcFloatingLayout();
  const bool horz = IsHorz();
  const int length = DockLength();
  m_fMinShare = sec_dock::MinimumShare(length);
  if (!m_bLayoutQuery) {
    for (auto& s : m_splitters) s->m_bUsed = FALSE;
    for (auto& e : m_edges) e->m_bUsed = FALSE;
  }
  const DWORD dockMode = horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK | LM_LENGTHY;
  const DWORD plainMode = horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK;
  auto along = [horz](CSize s) { return horz ? s.cx : s.cy; };
  auto acrossOf = [horz](CSize s) { return horz ? s.cy : s.cx; };

  // Each placed bar: its entry, and its span along the row; rows keep their thickness.
  struct Placed {
    CControlBar* bar;
    int index;
    int from, to;
  };
  struct Row {
    int first;
    int thickness = 0;
    std::vector<Placed> bars;
    std::vector<std::pair<int, int>> splitters;  // span along, index of the bar before
  };
  std::vector<Row> rows;
  const int size = static_cast<int>(m_arrBars.GetSize());
  for (int first = 1; first < size; first = RowEnd(first) + 1) {
    const int end = RowEnd(first);
    Row row;
    row.first = first;
    std::vector<int> visible;
    for (int i = first; i < end; ++i)
      if (CControlBar* bar = GetDockedControlBar(i); bar != nullptr && bar->IsVisible()) visible.push_back(i);
    if (visible.empty()) continue;
    int n = 0, k = 0;
    NormalizeRow(first, m_pLastChanged, &n, &k);
    const int available = length - kSplitter * (n + k - 1);
    if (n == 0) {
      // Toolbars only: each keeps its place unless it would overlap the one before it or run
      // past the row's end.
      int next = 0;
      for (int i : visible) {
        CControlBar* bar = GetDockedControlBar(i);
        CSize s = bar->CalcDynamicLayout(-1, plainMode);
        CRect current = ClientRectOf(bar, this);
        int from = std::max<int>(horz ? current.left : current.top, next);
        if (from + along(s) > length) from = std::max(length - static_cast<int>(along(s)), next);
        row.bars.push_back({bar, i, from, from + static_cast<int>(along(s))});
        row.thickness = std::max<int>(row.thickness, acrossOf(s));
        next = from + static_cast<int>(along(s));
        if (SECControlBar* sec = AsSEC(bar)) sec->m_dwExStyle |= CBRS_EX_BORDER_3D;
      }
    } else {
      // Lengths first: one-dimension bars their own, proportional ones their share of the rest
      // (never below 18 pixels); rounding and floors are settled on the last proportional bar,
      // or on the longest one when the last would drop below the floor.
      std::vector<int> lengths;
      int oneDimLength = 0, last = -1, longest = -1;
      for (int i : visible) {
        CControlBar* bar = GetDockedControlBar(i);
        if (!IsProportional(bar)) oneDimLength += along(bar->CalcDynamicLayout(-1, plainMode));
      }
      const int shared = std::max(available - oneDimLength, 0);
      for (size_t v = 0; v < visible.size(); ++v) {
        CControlBar* bar = GetDockedControlBar(visible[v]);
        if (!IsProportional(bar)) {
          lengths.push_back(static_cast<int>(along(bar->CalcDynamicLayout(-1, plainMode))));
          continue;
        }
        AsSEC(bar)->m_dwExStyle &= ~CBRS_EX_BORDER_3D;
        int len = static_cast<int>(along(bar->CalcDynamicLayout(shared, dockMode | LM_STRETCH | LM_COMMIT)));
        lengths.push_back(std::max(len, sec_dock::kMinBarLength));
        last = static_cast<int>(v);
        if (longest < 0 || lengths.back() > lengths[static_cast<size_t>(longest)]) longest = static_cast<int>(v);
      }
      int used = kSplitter * (static_cast<int>(visible.size()) - 1);
      for (int len : lengths) used += len;
      if (last >= 0) {
        int& lastLength = lengths[static_cast<size_t>(last)];
        lastLength += length - used;
        if (lastLength < sec_dock::kMinBarLength && longest != last) {
          lengths[static_cast<size_t>(longest)] -= sec_dock::kMinBarLength - lastLength;
          lastLength = sec_dock::kMinBarLength;
        }
        lastLength = std::max(lastLength, 0);
      }
      int x = 0;
      for (size_t v = 0; v < visible.size(); ++v) {
        CControlBar* bar = GetDockedControlBar(visible[v]);
        CSize s = IsProportional(bar) ? bar->CalcDynamicLayout(lengths[v], dockMode | LM_COMMIT)
                                      : bar->CalcDynamicLayout(-1, plainMode);
        row.bars.push_back({bar, visible[v], x, x + lengths[v]});
        row.thickness = std::max<int>(row.thickness, acrossOf(s));
        x += lengths[v];
        if (v + 1 < visible.size()) {
          row.splitters.push_back({x, visible[v]});
          x += kSplitter;
        }
      }
      for (const Placed& p : row.bars)
        if (IsProportional(p.bar))
          p.bar->CalcDynamicLayout(row.thickness, horz ? LM_HORZ | LM_HORZDOCK | LM_LENGTHY | LM_COMMIT
                                                       : LM_VERTDOCK | LM_COMMIT);
    }
    rows.push_back(std::move(row));
  }

  // Across the side: per row the edge (towards the frame edge), the row, its splitter.
  int total = 0;
  for (const Row& row : rows) total += kEdge + row.thickness + kSplitter;
  const bool nearEdgeFirst = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
  auto span = [&](int from, int to) {
    return nearEdgeFirst ? std::pair<int, int>(from, to) : std::pair<int, int>(total - to, total - from);
  };
  auto makeRect = [horz](int alongFrom, int alongTo, std::pair<int, int> across) {
    return horz ? CRect(alongFrom, across.first, alongTo, across.second)
                : CRect(across.first, alongFrom, across.second, alongTo);
  };
  AFX_SIZEPARENTPARAMS layout{};
  layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
  const bool suppress = SECRedrawSuppression() != 0;
  int d = 0;
  for (const Row& row : rows) {
    const auto edge = span(d, d + kEdge);
    const auto body = span(d + kEdge, d + kEdge + row.thickness);
    const auto split = span(d + kEdge + row.thickness, d + kEdge + row.thickness + kSplitter);
    d += kEdge + row.thickness + kSplitter;
    if (m_bLayoutQuery) continue;
    AddClientEdge(horz ? 0 : 1, makeRect(0, length, edge));
    AddSplitter(0, horz ? 0 : 1, makeRect(0, length, split), row.first);
    for (const auto& [at, index] : row.splitters) AddSplitter(1, horz ? 1 : 0, makeRect(at, at + kSplitter, body), index);
    for (const Placed& p : row.bars) {
      CRect rect = makeRect(p.from, p.to, body);
      CRect current = ClientRectOf(p.bar, this);
      if (rect == current) continue;
      UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
      if (suppress) flags |= SWP_NOREDRAW;
      if (rect.Size() == current.Size()) flags |= SWP_NOSIZE;
      layout.hDWP = ::DeferWindowPos(layout.hDWP, p.bar->m_hWnd, nullptr, rect.left, rect.top, rect.Width(),
                                     rect.Height(), flags);
      MarkForRepaint(p.bar);
      if (p.bar->m_pDockContext != nullptr) p.bar->m_pDockContext->m_rectMRUDockPos = rect;
    }
  }
  for (int i = 1; i < size; ++i)
    if (CControlBar* bar = GetDockedControlBar(i)) bar->RecalcDelayShow(&layout);
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);
  if (!m_bLayoutQuery) {
    std::erase_if(m_splitters, [](const auto& s) { return !s->m_bUsed; });
    std::erase_if(m_edges, [](const auto& e) { return !e->m_bUsed; });
    m_pLastChanged = nullptr;
    if (!m_arrRepaint.empty()) {
      m_bFullRedrawPending = TRUE;
      Invalidate();
    }
  }
  if (rows.empty()) total = 0;
  return horz ? CSize(length, total) : CSize(total, length);
}

// The object of `list` with this rectangle (marked used), or a new one at its end.
template <class T>
static T* Reuse(std::vector<std::unique_ptr<T>>& list, const CRect& rect) {
  for (auto& item : list) {
    if (item->m_rect == rect) {
      item->m_bUsed = TRUE;
      return item.get();
    }
  }
  list.push_back(std::make_unique<T>());
  list.back()->m_rect = rect;
  return list.back().get();
}

SECDockBar::Splitter* SECDockBar::AddSplitter(int bInRow, int nOrientation, const CRect& rect, int nIndex) {
  Splitter* s = Reuse(m_splitters, rect);
  s->m_bInRow = bInRow;
  s->m_nOrientation = nOrientation;
  s->m_nIndex = nIndex;
  return s;
}

SECDockBar::ClientEdge* SECDockBar::AddClientEdge(int nOrientation, const CRect& rect) {
  ClientEdge* e = Reuse(m_edges, rect);
  e->m_nOrientation = nOrientation;
  return e;
}

// ---- painting ----

void SECDockBar::DoPaint(CDC* pDC) {
  for (auto& e : m_edges) e->Draw(pDC);
  for (auto& s : m_splitters) s->Draw(pDC);
  RedrawPending();
}

void SECDockBar::RedrawPending() {
  if (!m_bFullRedrawPending) return;
  m_bFullRedrawPending = FALSE;
  std::vector<CControlBar*> bars;
  bars.swap(m_arrRepaint);
  // Only bars still docked here: one that left by another road may be gone.
  for (CControlBar* bar : bars)
    if (FindBar(bar) > 0 && bar->m_hWnd != nullptr)
      bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  m_nRedrawSuppress = 0;
}

// ---- splitters ----

SECDockBar::Splitter* SECDockBar::SplitterAt(CPoint point) const {
  for (const auto& s : m_splitters)
    if (s->m_rect.PtInRect(point)) return s.get();
  return nullptr;
}

BOOL SECDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT && pWnd == this) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    Splitter* s = SplitterAt(point);
    ::SetCursor(s == nullptr ? ::LoadCursor(nullptr, IDC_ARROW) : s->m_nOrientation == 1 ? g_cursorVert : g_cursorHorz);
    return TRUE;
  }
  return CDockBar::OnSetCursor(pWnd, nHitTest, message);
}

void SECDockBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (Splitter* s = SplitterAt(point)) ::SetCursor(s->m_nOrientation == 1 ? g_cursorVert : g_cursorHorz);
  CDockBar::OnMouseMove(nFlags, point);
}

void SECDockBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (Splitter* s = SplitterAt(point)) {
    TrackSplitter(s, point);
    return;
  }
  CDockBar::OnLButtonDown(nFlags, point);
}

void SECDockBar::GetSplitterLimits(Splitter* pSplitter) {
  const bool alongX = pSplitter->m_nOrientation == 1;
  if (pSplitter->m_bInRow) {
    int before = 0, after = 0;
    const int pos = pSplitter->m_nIndex;
    for (int i = RowStart(pos), end = RowEnd(pos); i < end; ++i) {
      CControlBar* bar = GetDockedControlBar(i);
      if (bar == nullptr || !bar->IsVisible()) continue;
      (i <= pos ? before : after) += 1;
    }
    pSplitter->m_nLower = sec_dock::kTrackFloor * before;
    pSplitter->m_nUpper = DockLength() - sec_dock::kTrackFloor * after;
    return;
  }
  // Between rows: the row may grow into the frame's client area but not past 19 pixels of it,
  // and shrink to 19 pixels.
  int thickness = 0;
  for (int i = pSplitter->m_nIndex, end = RowEnd(pSplitter->m_nIndex); i < end; ++i)
    if (CControlBar* bar = GetDockedControlBar(i); bar != nullptr && bar->IsVisible())
      thickness = std::max<int>(thickness, alongX ? ClientRectOf(bar, this).Width() : ClientRectOf(bar, this).Height());
  CRect client(0, 0, 0, 0);
  if (CFrameWnd* frame = GetDockingFrame()) {
    frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &client);
    frame->ClientToScreen(&client);
    ScreenToClient(&client);
  }
  const int pos = alongX ? pSplitter->m_rect.left : pSplitter->m_rect.top;
  const int farEdge = alongX ? pSplitter->m_rect.right : pSplitter->m_rect.bottom;
  const int floor = sec_dock::kRowTrackFloor;
  if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) {
    pSplitter->m_nLower = pos - thickness + floor;
    pSplitter->m_nUpper = std::max<int>((alongX ? client.right : client.bottom) - floor, farEdge);
  } else {
    pSplitter->m_nLower = (alongX ? client.left : client.top) + floor;
    pSplitter->m_nUpper = pos + thickness - floor + kSplitter;
  }
}

void SECDockBar::TrackSplitter(Splitter* pSplitter, CPoint point) {
  GetSplitterLimits(pSplitter);
  CFrameWnd* frame = GetDockingFrame();
  if (frame == nullptr || ::GetCapture() != nullptr) return;
  const bool alongX = pSplitter->m_nOrientation == 1;
  const int start = alongX ? point.x : point.y;
  const int lead = alongX ? pSplitter->m_rect.left : pSplitter->m_rect.top;
  int current = lead;
  // The outline: the splitter one pixel in along its length, 5 pixels thick, on the frame's
  // window DC.
  auto outline = [&](int at) {
    CRect r = pSplitter->m_rect;
    if (alongX) {
      r.DeflateRect(0, 1);
      r.left = at;
      r.right = at + 5;
    } else {
      r.DeflateRect(1, 0);
      r.top = at;
      r.bottom = at + 5;
    }
    ClientToScreen(&r);
    CRect window;
    frame->GetWindowRect(&window);
    r.OffsetRect(-window.left, -window.top);
    return r;
  };
  SetCapture();
  CWindowDC dc(frame);
  CRect last = outline(current);
  const CSize thick(alongX ? 5 : 0, alongX ? 0 : 5);
  dc.DrawDragRect(&last, CSize(2, 2), nullptr, CSize(0, 0));
  bool done = false, cancelled = false;
  while (!done && ::GetCapture() == m_hWnd) {
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      cancelled = true;
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        CPoint pt = msg.pt;
        ScreenToClient(&pt);
        int at = lead + ((alongX ? pt.x : pt.y) - start);
        at = std::max(pSplitter->m_nLower, std::min(at, pSplitter->m_nUpper - kSplitter));
        if (at != current) {
          current = at;
          CRect next = outline(current);
          dc.DrawDragRect(&next, CSize(2, 2), &last, CSize(2, 2));
          last = next;
        }
        break;
      }
      case WM_LBUTTONUP:
        done = true;
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) cancelled = done = true;
        break;
      case WM_RBUTTONDOWN:
        cancelled = done = true;
        break;
      default:
        ::DispatchMessage(&msg);
        break;
    }
  }
  if (!done) cancelled = true;
  dc.DrawDragRect(&last, CSize(0, 0), &last, CSize(2, 2));
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  (void)thick;
  const int distance = cancelled ? 0 : current - lead;
  if (distance != 0) {
    ApplySplitterMove(pSplitter, distance);
    frame->DelayRecalcLayout(TRUE);
    frame->RecalcLayout(TRUE);
  }
}

void SECDockBar::ApplySplitterMove(Splitter* pSplitter, int nDistance) {
  m_nRedrawSuppress = 1;
  const int index = pSplitter->m_nIndex;
  if (CControlBar* bar = GetDockedControlBar(index)) MarkRowToolBars(bar);
  const bool horz = IsHorz();
  if (!pSplitter->m_bInRow) {
    const int delta = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) ? nDistance : -nDistance;
    for (int i = index, end = RowEnd(index); i < end; ++i) {
      CControlBar* bar = GetDockedControlBar(i);
      if (bar == nullptr || !bar->IsVisible() || !IsProportional(bar)) continue;
      CRect r = ClientRectOf(bar, this);
      const int thickness = std::max<int>((horz ? r.Height() : r.Width()) + delta, sec_dock::kMinBarLength);
      bar->CalcDynamicLayout(thickness, horz ? LM_HORZ | LM_HORZDOCK | LM_LENGTHY | LM_COMMIT : LM_VERTDOCK | LM_COMMIT);
      MarkForRepaint(bar);
    }
    return;
  }
  std::vector<CControlBar*> bars;
  std::vector<int> lengths;
  int splitterAfter = -1;
  for (int i = RowStart(index), end = RowEnd(index); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == nullptr || !bar->IsVisible()) continue;
    if (i == index) splitterAfter = static_cast<int>(bars.size());
    CRect r = ClientRectOf(bar, this);
    bars.push_back(bar);
    lengths.push_back(horz ? r.Width() : r.Height());
  }
  // The row's length less its splitters; nothing moves when there is none left to share.
  const int rowLength = DockLength() - kSplitter * (static_cast<int>(bars.size()) - 1);
  if (rowLength <= 0 || splitterAfter < 0) return;
  std::vector<int> before = lengths;
  sec_dock::MoveRowSplitter(lengths, splitterAfter, nDistance);
  for (size_t i = 0; i < bars.size(); ++i) {
    if (lengths[i] == before[i]) continue;
    bars[i]->CalcDynamicLayout(lengths[i], horz ? LM_HORZ | LM_HORZDOCK | LM_COMMIT : LM_VERTDOCK | LM_LENGTHY | LM_COMMIT);
    if (SECControlBar* sec = AsSEC(bars[i]))
      sec->m_fPctWidth = std::max(static_cast<float>(lengths[i]) / static_cast<float>(rowLength), m_fMinShare);
    MarkForRepaint(bars[i]);
  }
}

// ---- drop outline ----

CRect SECDockBar::GetDropRect(CControlBar* pBar, const CRect& rectDrag, CPoint point, SECDockContext* pContext) {
  const bool horz = IsHorz();
  CPoint pt = point;
  ScreenToClient(&pt);
  const int across = horz ? pt.y : pt.x;
  // The row under the point: the first visible bar reaching to or past it, starting before it.
  int rowFirst = -1;
  for (int i = 1; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == nullptr || !bar->IsVisible()) continue;
    CRect r = ClientRectOf(bar, this);
    if ((horz ? r.bottom : r.right) < across) continue;
    if (across >= (horz ? r.top : r.left)) rowFirst = RowStart(i);
    break;
  }
  auto remember = [&](const CRect& rect, int row) {
    pContext->m_rectDrop = rect;
    pContext->m_ptDropLast = point;
    pContext->m_nDropData[0] = row;
    pContext->m_nDropData[1] = GetDlgCtrlID();
    pContext->m_nDropPos = row;
    return rect;
  };
  if (rowFirst < 0) return remember(rectDrag, -1);
  if (pContext->m_nDropPos == rowFirst && pContext->m_nDropData[1] == GetDlgCtrlID()) {
    CRect moved = pContext->m_rectDrop;
    moved.OffsetRect(point - pContext->m_ptDropLast);
    return remember(moved, rowFirst);
  }
  SECControlBar* sec = AsSEC(pBar);
  float sum = 0.0f;
  int thickness = 0, rowNear = 0, others = 0;
  bool inRow = false;
  for (int i = rowFirst, end = RowEnd(rowFirst); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == nullptr || !bar->IsVisible()) continue;
    if (bar == pBar) {
      inRow = true;
      continue;
    }
    CRect r = ClientRectOf(bar, this);
    if (others++ == 0) rowNear = horz ? r.top : r.left;
    thickness = std::max<int>(thickness, horz ? r.Height() : r.Width());
    if (SECControlBar* o = AsSEC(bar)) sum += o->m_fPctWidth;
  }
  if (others == 0 || inRow || sec == nullptr || (sec->m_dwExStyle & CBRS_EX_STRETCH_ONE_DIMENSION))
    return remember(rectDrag, rowFirst);
  const int length = DockLength();
  const int barLength = static_cast<int>(static_cast<float>(length) * sec->m_fPctWidth / (sum + sec->m_fPctWidth));
  const int from = std::clamp((horz ? pt.x : pt.y) - barLength / 2, 0, std::max(length - barLength, 0));
  CRect rect = horz ? CRect(from, rowNear, from + barLength, rowNear + thickness)
                    : CRect(rowNear, from, rowNear + thickness, from + barLength);
  ClientToScreen(&rect);
  return remember(rect, rowFirst);
}

void SECDockBar::LayoutFrame() {
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout(TRUE);
}
