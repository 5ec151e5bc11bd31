// The 2-D tabbed window: the bottom row of tabs, splitter box and shared scroll bar, the shared
// vertical bar, splitter dragging, and the scroll state each tab keeps while another is shown.
#include "widgets/SECTabWnd.h"

IMPLEMENT_DYNCREATE(SECTabWnd, SECTabWndBase)
IMPLEMENT_DYNCREATE(SEC2DTabWnd, SECTabWnd)

BEGIN_MESSAGE_MAP(SECTabWnd, SECTabWndBase)
  ON_WM_NCCREATE()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(TABN_SELECT, OnTabSelect)
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {

constexpr int kScrollBarRoom = 60;  // the splitter never leaves less than this for the scroll bar
constexpr UINT kSplitCursor = 30980;

}  // namespace

SECTabWnd::~SECTabWnd() {
  while (m_arrScrollStyle.GetSize() > 0) RemoveScrollSlots(static_cast<int>(m_arrScrollStyle.GetSize()) - 1);
}

BOOL SECTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwTabStyle = (dwStyle & 2) != 0 ? 2 : (dwStyle & 1) != 0 ? 1 : 0;
  if (m_hWnd == nullptr) {
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    const DWORD dwWindowStyle = dwStyle & ~(3u | WS_HSCROLL | WS_VSCROLL);
    if (!CWnd::Create(lpszClass, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  }
  m_hSplitCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kSplitCursor));
  if (m_hSplitCursor == nullptr) m_hSplitCursor = ::LoadCursor(nullptr, IDC_SIZEWE);
  m_hArrowCursor = ::LoadCursor(nullptr, IDC_ARROW);
  if (!CreateScrollBar(SBS_HORZ, SEC_IDW_HSCROLL_FIRST) || !CreateScrollBar(SBS_VERT, SEC_IDW_VSCROLL_FIRST))
    AfxThrowResourceException();
  m_cyHScroll = m_cyHScrollBar = ::GetSystemMetrics(SM_CYHSCROLL);
  m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
  return SECTabWndBase::Create(pParentWnd, GetStyle(), nID);
}

BOOL SECTabWnd::CreateTabCtrl(DWORD, UINT nID) {
  auto* pTabCtrl = new SECTabControl;
  if (!pTabCtrl->Create(m_dwTabStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID)) {
    delete pTabCtrl;
    return FALSE;
  }
  m_pTabCtrl = pTabCtrl;
  return TRUE;
}

// ---- per-tab scroll state ----

SCROLLINFO* SECTabWnd::NewScrollInfo() {
  auto* pInfo = new SCROLLINFO{};
  pInfo->cbSize = sizeof(SCROLLINFO);
  pInfo->fMask = SIF_ALL;
  return pInfo;
}

BOOL SECTabWnd::OnTabAdded(int nIndex, DWORD dwScrollStyle) {
  if (nIndex < 0) return FALSE;
  if (nIndex >= m_arrScrollStyle.GetSize()) {
    m_arrScrollStyle.Add(dwScrollStyle);
    m_arrHScrollInfo.Add(NewScrollInfo());
    m_arrVScrollInfo.Add(NewScrollInfo());
  } else {
    m_arrScrollStyle[nIndex] = dwScrollStyle;
  }
  return TRUE;
}

SECTab* SECTabWnd::InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel) {
  if (m_pTabCtrl == nullptr) return nullptr;
  SECTab* pTab = m_pTabCtrl->InsertTab(nIndex, lpszLabel, pWnd);
  if (pTab == nullptr) return nullptr;
  // The new tab gets slots of its own at its index, so the tabs after it keep theirs.
  const DWORD dwStyle = pWnd != nullptr && pWnd->m_hWnd != nullptr ? pWnd->GetStyle() : 0;
  m_arrScrollStyle.InsertAt(nIndex, dwStyle & (WS_HSCROLL | WS_VSCROLL));
  m_arrHScrollInfo.InsertAt(nIndex, NewScrollInfo());
  m_arrVScrollInfo.InsertAt(nIndex, NewScrollInfo());
  return pTab;
}

void SECTabWnd::RemoveScrollSlots(int nIndex) {
  if (nIndex < 0 || nIndex >= m_arrScrollStyle.GetSize()) return;
  delete static_cast<SCROLLINFO*>(m_arrHScrollInfo[nIndex]);
  delete static_cast<SCROLLINFO*>(m_arrVScrollInfo[nIndex]);
  m_arrHScrollInfo.RemoveAt(nIndex);
  m_arrVScrollInfo.RemoveAt(nIndex);
  m_arrScrollStyle.RemoveAt(nIndex);
}

void SECTabWnd::DeleteTab(int nIndex) {
  if (m_pTabCtrl == nullptr || !m_pTabCtrl->IsValidTab(nIndex)) return;
  RemoveScrollSlots(nIndex);
  SECTabWndBase::DeleteTab(nIndex);
}

BOOL SECTabWnd::ClientUses(const CWnd* pWnd, DWORD dwBar) const {
  if (pWnd == nullptr) pWnd = m_pActiveWnd;
  return pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr && (pWnd->GetStyle() & dwBar) != 0;
}

CScrollBar* SECTabWnd::GetScrollBar(int nBar, const CWnd* pWnd) const {
  const DWORD dwBar = nBar == 0 ? WS_HSCROLL : WS_VSCROLL;
  if (!ClientUses(pWnd, dwBar)) return nullptr;
  return static_cast<CScrollBar*>(GetDlgItem(nBar == 0 ? SEC_IDW_HSCROLL_FIRST : SEC_IDW_VSCROLL_FIRST));
}

void SECTabWnd::SaveScrollState(int nIndex) {
  if (nIndex < 0 || nIndex >= m_arrScrollStyle.GetSize()) return;
  if (CScrollBar* pBar = GetScrollBar(0)) pBar->GetScrollInfo(static_cast<SCROLLINFO*>(m_arrHScrollInfo[nIndex]), SIF_ALL);
  if (CScrollBar* pBar = GetScrollBar(1)) pBar->GetScrollInfo(static_cast<SCROLLINFO*>(m_arrVScrollInfo[nIndex]), SIF_ALL);
}

void SECTabWnd::RestoreScrollState(CWnd* pWnd, int nIndex) {
  const bool bSlot = nIndex >= 0 && nIndex < m_arrScrollStyle.GetSize();
  for (int nBar = 0; nBar < 2; ++nBar) {
    CWnd* pBarWnd = GetDlgItem(nBar == 0 ? SEC_IDW_HSCROLL_FIRST : SEC_IDW_VSCROLL_FIRST);
    if (pBarWnd == nullptr) continue;
    CScrollBar* pBar = GetScrollBar(nBar, pWnd);
    if (pBar == nullptr) {
      pBarWnd->ShowWindow(SW_HIDE);
      continue;
    }
    if (bSlot) {
      CPtrArray& slots = nBar == 0 ? m_arrHScrollInfo : m_arrVScrollInfo;
      auto* pInfo = static_cast<SCROLLINFO*>(slots[nIndex]);
      pInfo->fMask = SIF_ALL;
      pBar->SetScrollInfo(pInfo, TRUE);
    }
    pBar->ShowWindow(SW_SHOW);
  }
}

void SECTabWnd::ActivateTab(CWnd* pWnd, int nIndex) {
  if (pWnd != nullptr && pWnd != m_pActiveWnd) {
    int nOld = -1;
    if (m_pActiveWnd != nullptr) nOld = IndexOf(m_pActiveWnd);
    SaveScrollState(nOld);
    RestoreScrollState(pWnd, nIndex);
  }
  SECTabWndBase::ActivateTab(pWnd, nIndex);
}

// ---- layout ----

CRect SECTabWnd::GetSplitterRect() const {
  CRect rc;
  GetClientRect(&rc);
  return CRect(m_nSplitterPos, rc.bottom - m_cyHScroll, m_nSplitterPos + m_cxSplitter, rc.bottom);
}

void SECTabWnd::GetInsideRect(RECT* pRect) {
  GetClientRect(pRect);
  pRect->bottom -= m_cyHScroll;
  if (ClientUses(nullptr, WS_VSCROLL)) pRect->right -= m_cxVScroll;
  pRect->bottom = std::max(pRect->top, pRect->bottom);
  pRect->right = std::max(pRect->left, pRect->right);
}

void SECTabWnd::RecalcLayout() {
  if (m_hWnd == nullptr || m_pTabCtrl == nullptr) return;
  CRect rc;
  GetClientRect(&rc);
  const int rowTop = rc.bottom - m_cyHScroll;
  CWnd* pHBar = GetDlgItem(SEC_IDW_HSCROLL_FIRST);
  CWnd* pVBar = GetDlgItem(SEC_IDW_VSCROLL_FIRST);
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (ClientUses(nullptr, WS_HSCROLL)) {
    m_pTabCtrl->SetWindowPos(nullptr, 0, rowTop, m_nSplitterPos, m_cyHScroll, flags);
    const int barLeft = m_nSplitterPos + m_cxSplitter;
    if (pHBar != nullptr)
      pHBar->SetWindowPos(nullptr, barLeft, rowTop, std::max(0, rc.right - barLeft), m_cyHScrollBar, flags);
  } else {
    m_pTabCtrl->SetWindowPos(nullptr, 0, rowTop, rc.Width(), m_cyHScroll, flags);
  }
  if (m_bTracking) return;  // dragging the splitter moves only the bottom row
  if (pVBar != nullptr && ClientUses(nullptr, WS_VSCROLL))
    pVBar->SetWindowPos(nullptr, rc.right - m_cxVScroll, 0, m_cxVScroll, std::max(0, rowTop), flags);
  if (m_pActiveWnd != nullptr && m_pActiveWnd->m_hWnd != nullptr) {
    CRect inside;
    GetInsideRect(&inside);
    m_pActiveWnd->SetWindowPos(nullptr, inside.left, inside.top, inside.Width(), inside.Height(), flags);
  }
}

// ---- messages ----

BOOL SECTabWnd::OnNcCreate(LPCREATESTRUCT) {
  const BOOL bResult = static_cast<BOOL>(Default());
  if (HWND hParent = ::GetParent(m_hWnd); hParent != nullptr) ModifyStyleEx(hParent, WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
  return bResult;
}

void SECTabWnd::OnSize(UINT nType, int cx, int cy) {
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) {
    const int limit = std::max(0, cx - kScrollBarRoom);
    if (!ClientUses(nullptr, WS_HSCROLL)) {
      if (m_bFirstSize) m_nSplitterPos = cx;
    } else if (m_bFirstSize) {
      m_nSplitterPos = limit;
      m_bFirstSize = FALSE;
    } else if (m_nSplitterPos > limit) {
      m_nSplitterPos = limit;
    }
    RecalcLayout();
    if (m_pTabCtrl != nullptr) m_pTabCtrl->Invalidate();
    InvalidateRect(GetSplitterRect(), FALSE);
  }
  Default();
}

BOOL SECTabWnd::OnEraseBkgnd(CDC* pDC) {
  if (!ClientUses(nullptr, WS_HSCROLL) && !ClientUses(nullptr, WS_VSCROLL)) {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
  }
  return TRUE;
}

void SECTabWnd::OnPaint() {
  CPaintDC dc(this);
  if (!ClientUses(nullptr, WS_HSCROLL)) return;
  // The splitter box: five vertical lines.
  const CRect box = GetSplitterRect();
  const COLORREF lines[5] = {RGB(0, 0, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNFACE),
                             ::GetSysColor(COLOR_BTNSHADOW), RGB(0, 0, 0)};
  for (int i = 0; i < 5 && i < box.Width(); ++i) dc.FillSolidRect(box.left + i, box.top, 1, box.Height(), lines[i]);
}

BOOL SECTabWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT && m_bOverSplitter && pWnd == this) {
    ::SetCursor(m_hSplitCursor);
    return TRUE;
  }
  return SECTabWndBase::OnSetCursor(pWnd, nHitTest, message);
}

void SECTabWnd::OnLButtonDown(UINT, CPoint point) {
  if (ClientUses(nullptr, WS_HSCROLL) && GetSplitterRect().PtInRect(point)) {
    SetCapture();
    m_bTracking = TRUE;
    m_nDragOffset = point.x - GetSplitterRect().left;
    return;
  }
  Default();
}

void SECTabWnd::OnMouseMove(UINT, CPoint point) {
  if (m_bTracking) {
    if (::GetCapture() != m_hWnd) {
      m_bTracking = FALSE;  // the capture went elsewhere: the drag is over
    } else if (point.x != m_nSplitterPos) {
      CRect rc;
      GetClientRect(&rc);
      const int old = m_nSplitterPos;
      m_nSplitterPos = std::clamp(point.x - m_nDragOffset - 1, 0, std::max(0, rc.Width() - kScrollBarRoom));
      RecalcLayout();
      const int lo = std::min(old, m_nSplitterPos), hi = std::max(old, m_nSplitterPos) + m_cxSplitter;
      InvalidateRect(CRect(lo, rc.bottom - m_cyHScroll, hi, rc.bottom), TRUE);
      if (m_pTabCtrl != nullptr) m_pTabCtrl->Invalidate();
      UpdateWindow();
    }
    return;
  }
  m_bOverSplitter = ClientUses(nullptr, WS_HSCROLL) && GetSplitterRect().PtInRect(point);
  Default();
}

void SECTabWnd::OnLButtonUp(UINT, CPoint) {
  if (m_bTracking) {
    ::ReleaseCapture();
    m_bTracking = FALSE;
    RecalcLayout();
  }
  Default();
}

LRESULT SECTabWnd::OnTabSelect(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = SECTabWndBase::OnTabSelect(wParam, lParam);
  if (m_pNotifyWnd != nullptr && m_pNotifyWnd->GetSafeHwnd() != nullptr && m_pNotifyWnd != this)
    m_pNotifyWnd->SendMessage(TABN_SELECT, wParam, lParam);
  return result;
}

// The shared bars belong to the shown client: their messages go on to it unchanged.
void SECTabWnd::OnHScroll(UINT, UINT, CScrollBar*) {
  const MSG* pMsg = GetCurrentMessage();
  if (m_pActiveWnd != nullptr && m_pActiveWnd->m_hWnd != nullptr)
    m_pActiveWnd->SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
}

void SECTabWnd::OnVScroll(UINT, UINT, CScrollBar*) {
  const MSG* pMsg = GetCurrentMessage();
  if (m_pActiveWnd != nullptr && m_pActiveWnd->m_hWnd != nullptr)
    m_pActiveWnd->SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
}
