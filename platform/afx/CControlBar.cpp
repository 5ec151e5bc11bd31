// CControlBar: the base of the frame's bars. Its layout answer to WM_SIZEPARENT, delayed
// show and hide, the idle update of its items, borders and gripper, drag starts, and the fly-by
// prompts of its items in the status line.
#include "afx/CControlBar.h"

#include <cstdlib>
#include <cstring>

#include "afx/CDockContext.h"
#include "afx/WindowDCs.h"
#include "gdi/ClassicLook.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

namespace {

// The gripper: a ridge of kGripper pixels with kGripperGap pixels on each side.
constexpr int kGripper = 3;
constexpr int kGripperGap = 2;
// Each border side a bar draws takes two pixels.
constexpr int kBorder2 = 2;

// Fly-by timers: the wait before a prompt shows, and the check that the mouse is still there.
constexpr UINT_PTR kTimerWait = 0xE000;
constexpr UINT_PTR kTimerCheck = 0xE001;

// The thread's fly-by state: the item the mouse was last over and the bar showing its prompt.
struct FlyByState {
  INT_PTR lastStatus = -1;
  CControlBar* statusBar = nullptr;
};
FlyByState& FlyBy() {
  thread_local FlyByState state;
  return state;
}

UINT BorderSides(DWORD style) {
  UINT sides = 0;
  if (style & CBRS_BORDER_LEFT) sides |= BF_LEFT;
  if (style & CBRS_BORDER_TOP) sides |= BF_TOP;
  if (style & CBRS_BORDER_RIGHT) sides |= BF_RIGHT;
  if (style & CBRS_BORDER_BOTTOM) sides |= BF_BOTTOM;
  return sides;
}

}  // namespace

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEACTIVATE()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_CANCELMODE()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
  if (m_pDockSite != nullptr) m_pDockSite->RemoveControlBar(this);
  LeaveDockBar();
  delete m_pDockContext;
  m_pDockContext = nullptr;
  std::free(m_pData);
  m_pData = nullptr;
  if (FlyBy().statusBar == this) FlyBy().statusBar = nullptr;
}

BOOL CControlBar::AllocElements(int nElements, int cbElement) {
  std::free(m_pData);
  m_pData = nullptr;
  m_nCount = 0;
  if (nElements > 0) {
    m_pData = std::calloc(static_cast<size_t>(nElements), static_cast<size_t>(cbElement));
    if (m_pData == nullptr) return FALSE;
  }
  m_nCount = nElements;
  return TRUE;
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
  if (m_dwStyle == dwStyle) return;
  DWORD old = m_dwStyle;
  m_dwStyle = dwStyle;
  OnBarStyleChange(old, dwStyle);
}

void CControlBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  if (m_hWnd == nullptr) return;
  if ((dwOldStyle ^ dwNewStyle) & CBRS_TOOLTIPS) EnableToolTips((dwNewStyle & CBRS_TOOLTIPS) != 0);
  Invalidate();
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle;
  if (m_pDockContext == nullptr) m_pDockContext = CreateDockContext();
  // Commands keep going to the frame the bar was made in, wherever it docks.
  if (m_hWndOwner == nullptr) m_hWndOwner = ::GetParent(m_hWnd);
}

CDockContext* CControlBar::CreateDockContext() { return new CDockContext(this); }

CFrameWnd* CControlBar::GetDockingFrame() const {
  CFrameWnd* frame = GetParentFrame();
  if (frame == nullptr) frame = m_pDockSite;
  return frame;
}

BOOL CControlBar::IsFloating() const {
  if (IsDockBar()) return static_cast<const CDockBar*>(this)->m_bFloating;
  return m_pDockBar != nullptr && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsVisible() const {
  if (m_nStateFlags & delayHide) return FALSE;
  return (GetStyle() & WS_VISIBLE) != 0 || (m_nStateFlags & delayShow) != 0;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode) {
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += kBorder2;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += kBorder2;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= kBorder2;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= kBorder2;
  const bool gripper = (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
  if (bHorz) {
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
    if (gripper) rect.left += kGripperGap + kGripper + kGripperGap;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
    if (gripper) rect.top += kGripperGap + kGripper + kGripperGap;
  }
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  if (!(m_dwStyle & CBRS_BORDER_ANY)) return;
  brambolt::DrawBarBorders(pDC->GetSafeHdc(), rect, BorderSides(m_dwStyle), (m_dwStyle & CBRS_BORDER_3D) != 0);
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
  if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER) return;
  // rect is inside the borders: the ridge runs along the bar's leading edge.
  CRect ridge;
  if (m_dwStyle & CBRS_ORIENT_HORZ)
    ridge.SetRect(rect.left + kGripperGap, rect.top + m_cyTopBorder, rect.left + kGripperGap + kGripper,
                  rect.bottom - m_cyBottomBorder);
  else
    ridge.SetRect(rect.left + m_cyTopBorder, rect.top + kGripperGap, rect.right - m_cyBottomBorder,
                  rect.top + kGripperGap + kGripper);
  if (ridge.IsRectEmpty()) return;
  brambolt::DrawBarGripper(pDC->GetSafeHdc(), ridge);
}

void CControlBar::DoPaint(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
  DrawGripper(pDC, rect);
}

void CControlBar::EraseNonClient() {
  CClientDC dc(this);
  CRect rect;
  GetClientRect(&rect);
  dc.FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

void CControlBar::OnPaint() {
  CPaintDC dc(this);
  DoPaint(&dc);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (m_dwStyle & CBRS_TOOLTIPS) EnableToolTips();
  // A bar made as the child of a frame belongs to that frame wherever it docks later.
  CWnd* parent = GetParent();
  if (parent != nullptr && parent->IsFrameWnd()) {
    m_pDockSite = static_cast<CFrameWnd*>(parent);
    m_pDockSite->AddControlBar(this);
  }
  if (m_hWndOwner == nullptr) m_hWndOwner = ::GetParent(m_hWnd);
  return 0;
}

void CControlBar::OnDestroy() {
  if (FlyBy().statusBar == this) SetStatusText(-1);
  LeaveDockBar();
  if (m_pDockSite != nullptr) {
    m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
  }
  CWnd::OnDestroy();
}

void CControlBar::LeaveDockBar() {
  if (m_pDockBar == nullptr) return;
  // A bar destroyed alone leaves its dock bar (no placeholder, no frame destroyed from here);
  // a floating frame left without visible bars hides.
  CDockBar* dockBar = m_pDockBar;
  m_pDockBar = nullptr;
  int pos = dockBar->FindBar(this);
  if (pos > 0) {
    dockBar->m_arrBars.RemoveAt(pos);
    if (pos < dockBar->m_arrBars.GetSize() && dockBar->m_arrBars[pos - 1] == nullptr &&
        dockBar->m_arrBars[pos] == nullptr)
      dockBar->m_arrBars.RemoveAt(pos);
  }
  if (dockBar->m_hWnd == nullptr) return;
  if (CFrameWnd* frame = dockBar->GetParentFrame(); frame != nullptr && ::IsWindow(frame->m_hWnd)) {
    if (dockBar->m_bFloating && dockBar->GetDockedVisibleCount() == 0)
      frame->ShowWindow(SW_HIDE);
    else
      frame->DelayRecalcLayout();
  }
}

BOOL CControlBar::DestroyWindow() {
  // A floating bar goes with the frame it floats in.
  if (m_hWnd != nullptr && IsFloating() && !IsDockBar()) {
    CFrameWnd* frame = GetDockingFrame();
    if (frame != nullptr && frame != m_pDockSite) return frame->DestroyWindow();
  }
  return CWnd::DestroyWindow();
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

LRESULT CControlBar::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
  switch (nMsg) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
      // What the bar's children say goes to the bar's owner (the frame) unless the bar takes it.
      LRESULT result = 0;
      if (OnWndMsg(nMsg, wParam, lParam, &result)) return result;
      CWnd* owner = GetOwner();
      return owner != nullptr ? owner->SendMessage(nMsg, wParam, lParam) : 0;
    }
    default:
      return CWnd::WindowProc(nMsg, wParam, lParam);
  }
}

// ---- layout ----

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
  DWORD style = (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | (GetStyle() & WS_VISIBLE);
  if (!(m_nStateFlags & (delayHide | delayShow))) return style;
  UINT swp = 0;
  if ((m_nStateFlags & delayHide) && (style & WS_VISIBLE))
    swp = SWP_HIDEWINDOW;
  else if ((m_nStateFlags & delayShow) && !(style & WS_VISIBLE))
    swp = SWP_SHOWWINDOW;
  if (swp == 0) {
    m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
    return style;
  }
  // The layout sees the bar as it will be; a real layout also shows or hides it.
  style ^= WS_VISIBLE;
  if (lpLayout->hDWP != nullptr) {
    m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                      swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return style;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  DWORD style = RecalcDelayShow(layout);
  if (!(style & WS_VISIBLE) || !(style & CBRS_ALIGN_ANY)) return 0;
  CRect rect = layout->rect;
  CSize avail = rect.Size();
  DWORD mode = layout->bStretch ? LM_STRETCH : 0;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
    mode |= LM_HORZ | LM_MRUWIDTH;
  else if (style & CBRS_ORIENT_HORZ)
    mode |= LM_HORZ | LM_HORZDOCK;
  else
    mode |= LM_VERTDOCK;
  CSize size = CalcDynamicLayout(-1, mode);
  size.cx = std::max<LONG>(0, std::min(size.cx, avail.cx));
  size.cy = std::max<LONG>(0, std::min(size.cy, avail.cy));
  if (style & CBRS_ORIENT_HORZ) {
    layout->sizeTotal.cy += size.cy;
    layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
    if (style & CBRS_ALIGN_TOP) {
      layout->rect.top += size.cy;
    } else {
      rect.top = rect.bottom - size.cy;
      layout->rect.bottom -= size.cy;
    }
  } else {
    layout->sizeTotal.cx += size.cx;
    layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
    if (style & CBRS_ALIGN_LEFT) {
      layout->rect.left += size.cx;
    } else {
      rect.left = rect.right - size.cx;
      layout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  AfxRepositionWindow(layout, m_hWnd, &rect);
  return 0;
}

void CControlBar::DelayShow(BOOL bShow) {
  m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
  const bool visible = (GetStyle() & WS_VISIBLE) != 0;
  if (bShow && !visible)
    m_nStateFlags |= delayShow;
  else if (!bShow && visible)
    m_nStateFlags |= delayHide;
}

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  CWnd::OnWindowPosChanging(lpWndPos);
  // Borders and gripper follow the size: repaint all of the bar when it changes.
  if (!(lpWndPos->flags & SWP_NOSIZE)) Invalidate();
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  // A delayed show or hide not done by a layout is done now.
  const bool visible = (GetStyle() & WS_VISIBLE) != 0;
  UINT swp = 0;
  if ((m_nStateFlags & delayHide) && visible)
    swp = SWP_HIDEWINDOW;
  else if ((m_nStateFlags & delayShow) && !visible)
    swp = SWP_SHOWWINDOW;
  m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
  if (swp != 0) SetWindowPos(nullptr, 0, 0, 0, 0, swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if ((GetStyle() & WS_VISIBLE) && (m_pDockBar == nullptr || (m_pDockBar->GetStyle() & WS_VISIBLE))) {
    CWnd* owner = GetOwner();
    CFrameWnd* target = owner != nullptr && owner->IsFrameWnd() ? static_cast<CFrameWnd*>(owner) : GetParentFrame();
    if (target != nullptr) OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
  }
  return 0;
}

LRESULT CControlBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
  CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  INT_PTR hit = OnToolHitTest(point, nullptr);
  return hit > 0 ? static_cast<LRESULT>(hit) : static_cast<LRESULT>(GetDlgCtrlID());
}

// ---- mouse ----

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
  // A press on the bar itself (not on one of its items) starts a drag.
  if (m_pDockBar != nullptr && m_pDockContext != nullptr && OnToolHitTest(point, nullptr) == -1) {
    ClientToScreen(&point);
    m_pDockContext->StartDrag(point);
    return;
  }
  CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_pDockBar != nullptr && m_pDockContext != nullptr && OnToolHitTest(point, nullptr) == -1) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CWnd::OnLButtonDblClk(nFlags, point);
}

int CControlBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  // A click on a floating bar activates the frame it belongs to, not the floating frame.
  if (IsFloating() && m_pDockSite != nullptr) {
    CWnd* top = m_pDockSite->GetTopLevelParent();
    if (top != nullptr && ::GetActiveWindow() != top->m_hWnd) top->SetActiveWindow();
    return MA_NOACTIVATE;
  }
  return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void CControlBar::OnCancelMode() {
  if (FlyBy().statusBar == this) SetStatusText(-1);
  CWnd::OnCancelMode();
}

// ---- fly-by prompts ----

void CControlBar::ResetTimer(UINT nEvent, UINT nTime) {
  KillTimer(kTimerWait);
  KillTimer(kTimerCheck);
  SetTimer(nEvent, nTime, nullptr);
}

BOOL CControlBar::SetStatusText(INT_PTR nHit) {
  CWnd* owner = GetOwner();
  FlyByState& state = FlyBy();
  if (nHit == -1) {
    state.statusBar = nullptr;
    if (m_nStateFlags & statusSet) {
      if (owner != nullptr) owner->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
      m_nStateFlags &= ~static_cast<UINT>(statusSet);
      KillTimer(kTimerCheck);
      return TRUE;
    }
    KillTimer(kTimerWait);
    return FALSE;
  }
  if (!(m_nStateFlags & statusSet) || state.lastStatus != nHit || state.statusBar != this) {
    state.statusBar = this;
    if (owner != nullptr) owner->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit));
    m_nStateFlags |= statusSet;
    ResetTimer(kTimerCheck, 200);
    return TRUE;
  }
  return FALSE;
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg) {
  UINT message = pMsg->message;
  const bool mouse = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
                     (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
  if (mouse && ((m_dwStyle & CBRS_FLYBY) || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    FlyByState& state = FlyBy();
    CPoint point = pMsg->pt;
    ScreenToClient(&point);
    TOOLINFO info{};
    info.cbSize = sizeof(TOOLINFO);
    INT_PTR hit = OnToolHitTest(point, &info);
    if (info.lpszText != nullptr && info.lpszText != LPSTR_TEXTCALLBACK && info.hinst == nullptr &&
        !IS_INTRESOURCE(info.lpszText))
      std::free(info.lpszText);
    const bool notButton = message == WM_LBUTTONDOWN && (info.uFlags & TTF_NOTBUTTON);
    const bool held = ::GetKeyState(VK_LBUTTON) < 0;
    if (message != WM_LBUTTONDOWN && held) hit = state.lastStatus;
    if (hit < 0 || notButton) {
      if (!held || notButton) {
        SetStatusText(-1);
        KillTimer(kTimerCheck);
      }
    } else if (message == WM_LBUTTONUP) {
      SetStatusText(-1);
      ResetTimer(kTimerCheck, 200);
    } else if ((m_nStateFlags & statusSet) || held) {
      SetStatusText(hit);
    } else if (hit != state.lastStatus) {
      ResetTimer(kTimerWait, 300);
    }
    state.lastStatus = hit;
  }
  // Tooltips, then the frames' accelerators before the bar's own dialog keys.
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  CFrameWnd* top = GetTopLevelFrame();
  if (top != nullptr && top->m_bHelpMode) return FALSE;
  for (CWnd* owner = GetOwner(); owner != nullptr; owner = owner->GetParentFrame()) {
    if (owner->PreTranslateMessage(pMsg)) return TRUE;
  }
  return FALSE;
}

void CControlBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kTimerWait && nIDEvent != kTimerCheck) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  if (::GetKeyState(VK_LBUTTON) < 0) return;
  FlyByState& state = FlyBy();
  CPoint point;
  ::GetCursorPos(&point);
  CPoint client = point;
  ScreenToClient(&client);
  INT_PTR hit = OnToolHitTest(client, nullptr);
  // Only over this bar (or a child of it) of the active application.
  HWND under = ::WindowFromPoint(point);
  if (hit >= 0 && (under == nullptr || (under != m_hWnd && !::IsChild(m_hWnd, under)))) hit = -1;
  CWnd* top = GetTopLevelParent();
  if (hit >= 0 && top != nullptr && !top->IsWindowEnabled()) hit = -1;
  if (nIDEvent == kTimerWait) {
    KillTimer(kTimerWait);
    if (hit >= 0 && hit == state.lastStatus) SetStatusText(hit);
    return;
  }
  // The check: the prompt goes when the mouse left the item.
  if (hit < 0) {
    state.lastStatus = -1;
    SetStatusText(-1);
    KillTimer(kTimerCheck);
  } else if (hit != state.lastStatus) {
    state.lastStatus = hit;
    SetStatusText(hit);
  }
}
