// CDockBar: the rows of bars docked along a frame edge or in a floating frame. Bars keep the
// place they were dropped at in their row, are pushed back along the row when they would
// overlap the bar before them or run past the edge, and wrap to a row of their own when nothing
// of them would show.
#include <algorithm>

#include "afx/CDockContext.h"
#include "afx/CMiniFrameWnd.h"
#include "afx/CWinApp.h"
#include "afx/WindowDCs.h"
#include "gdi/ClassicLook.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

namespace {
// Neighbouring docked bars overlap by their two-pixel borders.
constexpr int kOverlap = 2;
}  // namespace

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_WM_NCPAINT()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
  m_arrBars.Add(nullptr);
  m_bAutoDelete = TRUE;
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
  m_cxDefaultGap = 0;
}

CDockBar::~CDockBar() {
  for (int i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar != nullptr && bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
  }
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  // A docked dock bar draws the border on its inner side (CBRS_TOP has CBRS_BORDER_BOTTOM...).
  m_dwStyle = dwStyle & CBRS_ALL;
  // A floating frame's dock bar is made by the frame; its member object must not be deleted.
  if (m_bFloating || nID == AFX_IDW_DOCKBAR_FLOAT) {
    m_bFloating = TRUE;
    m_bAutoDelete = FALSE;
  }
  dwStyle &= ~static_cast<DWORD>(CBRS_ALL);
  dwStyle |= WS_CLIPCHILDREN;
  if (!AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG)) return FALSE;
  CRect rect;
  rect.SetRectEmpty();
  return CWnd::Create(AFX_WNDCONTROLBAR, nullptr, dwStyle, rect, pParentWnd, nID);
}

bool CDockBar::IsPlaceHolder(const void* entry) {
  // Ids stay below 4 GiB; bars are objects on the heap, far above it in a 64-bit process.
  static_assert(sizeof(void*) == 8, "placeholders are told from bars by their size");
  auto value = reinterpret_cast<UINT_PTR>(entry);
  return value != 0 && value <= 0xFFFFFFFFu;
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
  if (nPos < 0 || nPos >= m_arrBars.GetSize()) return nullptr;
  void* entry = m_arrBars[nPos];
  return entry == nullptr || IsPlaceHolder(entry) ? nullptr : static_cast<CControlBar*>(entry);
}

int CDockBar::GetDockedCount() const {
  int count = 0;
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (GetDockedControlBar(i) != nullptr) ++count;
  return count;
}

int CDockBar::GetDockedVisibleCount() const {
  int count = 0;
  for (int i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar != nullptr && bar->IsVisible()) ++count;
  }
  return count;
}

int CDockBar::FindBar(const void* entry, int nPosExclude) {
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (i != nPosExclude && m_arrBars[i] == entry) return i;
  return -1;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) { return FindBar(static_cast<const void*>(pBar), nPosExclude); }

void CDockBar::RemovePlaceHolder(CControlBar* pBar) {
  if (pBar->m_hWnd == nullptr) return;
  int pos = FindBar(PlaceHolderOf(static_cast<UINT>(::GetDlgCtrlID(pBar->m_hWnd))));
  if (pos <= 0) return;
  m_arrBars.RemoveAt(pos);
  if (pos < m_arrBars.GetSize() && m_arrBars[pos - 1] == nullptr && m_arrBars[pos] == nullptr) m_arrBars.RemoveAt(pos);
}

void CDockBar::ShowAll(BOOL bShow) {
  for (int i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == nullptr) continue;
    CFrameWnd* frame = bar->GetDockingFrame();
    if (frame != nullptr) frame->ShowControlBar(bar, bShow, TRUE);
  }
}

// ---- docking ----

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid) {
  const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  int insertAfter = 0;
  int rowWidth = 0;
  int total = 0;
  for (int pos = 0; pos < m_arrBars.GetSize(); ++pos) {
    CControlBar* bar = GetDockedControlBar(pos);
    if (bar != nullptr && bar->IsVisible()) {
      CRect barRect;
      bar->GetWindowRect(&barRect);
      ScreenToClient(&barRect);
      rowWidth = std::max<int>(rowWidth, horz ? barRect.Height() : barRect.Width());
      if (horz ? rect.left > barRect.left : rect.top > barRect.top) insertAfter = pos;
    } else if (m_arrBars[pos] == nullptr) {
      // The end of a row (or the start of the first): is the drop point above its far edge?
      total += rowWidth - kOverlap;
      rowWidth = 0;
      if ((horz ? ptMid.y : ptMid.x) < total) {
        if (pos == 0) m_arrBars.InsertAt(insertAfter + 1, static_cast<void*>(nullptr));  // a new first row
        m_arrBars.InsertAt(insertAfter + 1, pBarIns);
        return insertAfter + 1;
      }
      insertAfter = pos;
    }
  }
  // Below every row: a new last row.
  m_arrBars.InsertAt(insertAfter + 1, static_cast<void*>(nullptr));
  m_arrBars.InsertAt(insertAfter + 1, pBarIns);
  return insertAfter + 1;
}

void CDockBar::Adopt(CControlBar* pBar, int nPos, LPCRECT lpRect, bool bShow) {
  if (lpRect != nullptr) {
    CRect rect(lpRect);
    ScreenToClient(&rect);
    pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  } else if (nPos < 0) {
    // Placed off the edge; the layout moves it into its row.
    pBar->SetWindowPos(nullptr, -kOverlap, -kOverlap, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  if (pBar->GetParent() != this) pBar->SetParent(this);
  CDockBar* old = pBar->m_pDockBar;
  if (old == this)
    RemoveControlBar(pBar, nPos);
  else if (old != nullptr)
    // Leaving a docked place for a floating frame leaves a placeholder to come back to.
    old->RemoveControlBar(pBar, -1, m_bFloating && !old->m_bFloating);
  pBar->m_pDockBar = this;
  if (bShow) pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RemovePlaceHolder(pBar);
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
}

// The bar's styles for docking here, and whether it was hidden for the move (to show it again).
static bool PrepareBar(CDockBar* dock, CControlBar* pBar) {
  if (dock->m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI)) dock->m_dwStyle |= CBRS_FLOAT_MULTI;
  dock->m_dwStyle &= ~static_cast<DWORD>(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  dock->m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  // A floating frame of one bar takes that bar's title.
  if (!(dock->m_dwStyle & CBRS_FLOAT_MULTI)) {
    CString title;
    pBar->GetWindowText(title);
    dock->SetWindowText(title);
  }
  DWORD style = pBar->GetBarStyle() & ~static_cast<DWORD>(CBRS_ALIGN_ANY);
  style |= (dock->m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
  if (dock->m_bFloating)
    style |= CBRS_FLOATING;
  else
    style &= ~static_cast<DWORD>(CBRS_FLOATING);
  pBar->SetBarStyle(style);
  // Hidden while it changes parents, so it does not flash at a wrong place.
  if (pBar->m_pDockBar != dock && pBar->IsWindowVisible()) {
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return true;
  }
  return false;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  CRect barRect;
  pBar->GetWindowRect(&barRect);
  if (pBar->m_pDockBar == this && (lpRect == nullptr || barRect == *lpRect)) return;
  Place(pBar, lpRect, PrepareBar(this, pBar));
}

void CDockBar::Place(CControlBar* pBar, LPCRECT lpRect, bool bShow) {
  int pos = -1;
  if (lpRect != nullptr) {
    CRect rect(lpRect);
    ScreenToClient(&rect);
    pos = Insert(pBar, rect, rect.CenterPoint());
  } else {
    // At the end, in a row of its own.
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
  }
  Adopt(pBar, pos, lpRect, bShow);
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  bool show = PrepareBar(this, pBar);
  int pos = FindBar(PlaceHolderOf(static_cast<UINT>(pBar->GetDlgCtrlID())));
  if (pos > 0) {
    // Back in the place it had: the placeholder becomes the bar.
    m_arrBars[pos] = pBar;
    Adopt(pBar, pos, lpRect, show);
    return;
  }
  Place(pBar, lpRect, show);
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder) {
  int pos = FindBar(pBar, nPosExclude);
  if (pos <= 0) return FALSE;
  auto dropEmptyRow = [this](int at) {
    if (at < m_arrBars.GetSize() && m_arrBars[at - 1] == nullptr && m_arrBars[at] == nullptr) m_arrBars.RemoveAt(at);
  };
  if (nAddPlaceHolder == 1 && pBar->m_hWnd != nullptr) {
    void* holder = PlaceHolderOf(static_cast<UINT>(pBar->GetDlgCtrlID()));
    m_arrBars[pos] = holder;
    // One placeholder per bar: an older one goes.
    if (FindBar(holder, pos) > 0) {
      m_arrBars.RemoveAt(pos);
      dropEmptyRow(pos);
    }
  } else {
    m_arrBars.RemoveAt(pos);
    dropEmptyRow(pos);
    if (nAddPlaceHolder != -1) RemovePlaceHolder(pBar);
  }
  if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
  // While a bar is being destroyed the frames are left alone.
  if (pBar->m_pDockContext == nullptr || m_hWnd == nullptr) return FALSE;
  CFrameWnd* frame = GetDockingFrame();
  if (frame == nullptr) return FALSE;
  if (m_bFloating && GetDockedVisibleCount() == 0) {
    if (GetDockedCount() == 0) {
      frame->DestroyWindow();  // the floating frame has nothing left to hold
      return TRUE;
    }
    frame->ShowWindow(SW_HIDE);
  } else {
    frame->DelayRecalcLayout();
  }
  return FALSE;
}

// ---- layout ----

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize fixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
  // The length there is along the edge: the layout's rectangle, else the frame's client area.
  CSize max = m_rectLayout.IsRectEmpty() ? CSize(32767, 32767) : m_rectLayout.Size();
  if (m_rectLayout.IsRectEmpty() && !m_bFloating) {
    if (CWnd* parent = GetParent()) {
      CRect client;
      parent->GetClientRect(&client);
      max = client.Size();
    }
  }
  CPoint pt(-kOverlap, -kOverlap);
  int rowWidth = 0;
  bool wrapped = false;
  AFX_SIZEPARENTPARAMS layout{};
  layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));

  // The rows are worked out lying down; a vertical dock bar's rectangles are turned (x for y)
  // on the way in and out.
  auto turn = [bHorz](CRect r) { return bHorz ? r : CRect(r.top, r.left, r.bottom, r.right); };
  const int maxLength = bHorz ? max.cx : max.cy;
  for (int pos = 0; pos < m_arrBars.GetSize(); ++pos) {
    CControlBar* bar = GetDockedControlBar(pos);
    void* entry = m_arrBars[pos];
    if (bar != nullptr && bar->IsVisible()) {
      DWORD mode = 0;
      if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
        mode = LM_HORZ | LM_MRUWIDTH;
      else if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
        mode = LM_HORZ | LM_HORZDOCK;
      else
        mode = LM_VERTDOCK;
      CSize size = bar->CalcDynamicLayout(-1, mode);
      CRect rect(bHorz ? pt : CPoint(pt.y, pt.x), bHorz ? size : CSize(size.cy, size.cx));
      CRect current;
      bar->GetWindowRect(&current);
      ScreenToClient(&current);
      current = turn(current);
      // Keep the bar where it is in its row, but never before the end of the bar before it.
      if (current.left > rect.left && !m_bFloating) rect.OffsetRect(current.left - rect.left, 0);
      // Past the edge: pushed back so its end shows, as far as the bar before it allows.
      if (rect.right > maxLength && !m_bFloating) {
        int x = std::max<int>(maxLength - (rect.Width() - kOverlap), bHorz ? pt.x : pt.y);
        rect.OffsetRect(x - rect.left, 0);
      }
      if (wrapped) {
        wrapped = false;
        rect.OffsetRect(-(rect.left + kOverlap), 0);
      } else if (rect.left >= maxLength - kOverlap && pos > 0 && m_arrBars[pos - 1] != nullptr) {
        // Nothing of it would show: it starts a row of its own.
        m_arrBars.InsertAt(pos, static_cast<void*>(nullptr));
        bar = nullptr;
        entry = nullptr;
        wrapped = true;
      }
      if (!wrapped) {
        CRect placed = turn(rect);
        if (placed != turn(current)) {
          if (!m_bLayoutQuery && !(bar->m_dwStyle & CBRS_FLOATING) && bar->m_pDockContext != nullptr)
            bar->m_pDockContext->m_rectMRUDockPos = placed;
          AfxRepositionWindow(&layout, bar->m_hWnd, &placed);
        }
        (bHorz ? pt.x : pt.y) = rect.left + rect.Width() - kOverlap;
        rowWidth = std::max<int>(rowWidth, rect.Height());
      }
    }
    if (bar != nullptr && !wrapped) bar->RecalcDelayShow(&layout);
    if (bar == nullptr && entry == nullptr && rowWidth != 0) {
      // The end of a row: the next one starts below (or beside) it.
      LONG& across = bHorz ? pt.y : pt.x;
      across += rowWidth - kOverlap;
      fixed.cx = std::max<LONG>(fixed.cx, pt.x);
      fixed.cy = std::max<LONG>(fixed.cy, pt.y);
      (bHorz ? pt.x : pt.y) = -kOverlap;
      rowWidth = 0;
    }
  }
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);

  // The dock bar's own borders.
  CRect inside;
  inside.SetRectEmpty();
  CalcInsideRect(inside, bHorz);
  if ((!bStretch || !bHorz) && fixed.cx != 0) fixed.cx += inside.left - inside.right;
  if ((!bStretch || bHorz) && fixed.cy != 0) fixed.cy += inside.top - inside.bottom;
  return fixed;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  // The rows are laid out in the rectangle the frame offers.
  m_rectLayout = layout->rect;
  m_bLayoutQuery = layout->hDWP == nullptr;
  LRESULT result = CControlBar::OnSizeParent(wParam, lParam);
  m_bLayoutQuery = FALSE;
  m_rectLayout.SetRectEmpty();
  return result;
}

void CDockBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  CControlBar::OnWindowPosChanging(lpWndPos);
}

void CDockBar::OnNcPaint() {}

void CDockBar::DoPaint(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
}

void CDockBar::DrawBorders(CDC* pDC, CRect& rect) {
  // A floating frame's dock bar has no borders of its own; docked ones have none either unless
  // asked for.
  if (m_bFloating) return;
  CControlBar::DrawBorders(pDC, rect);
}

void CDockBar::OnPaint() {
  CPaintDC dc(this);
  DoPaint(&dc);
}
