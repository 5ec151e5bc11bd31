// The frame's control bars: its list of bars, the four dock bars, docking, floating and
// re-docking, showing and hiding, the saved docking layout, activation of floating frames with
// the frame, and print-preview mode.
#include "afx/CDockContext.h"
#include "afx/CMiniFrameWnd.h"
#include "afx/CView.h"
#include "os/Threads.h"

const DWORD g_dwDockBarMap[4][2] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

namespace {

CDockBar* AsDockBar(CControlBar* bar) {
  return bar != nullptr && bar->IsDockBar() ? static_cast<CDockBar*>(bar) : nullptr;
}

}  // namespace

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  if (nID == 0) return nullptr;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (bar->m_hWnd != nullptr && static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)) == nID) return bar;
  }
  return nullptr;
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
  if (m_listControlBars.Find(pBar) == nullptr) m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  if (POSITION pos = m_listControlBars.Find(pBar)) m_listControlBars.RemoveAt(pos);
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  if (m_pFloatingFrameClass == nullptr) m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
  for (const auto& entry : g_dwDockBarMap) {
    if (!(entry[1] & dwDockStyle & CBRS_ALIGN_ANY)) continue;
    if (GetControlBar(entry[0]) != nullptr) continue;
    auto* dock = new CDockBar;
    if (!dock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | entry[1], entry[0])) {
      delete dock;
      AfxThrowResourceException();
    }
  }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
  // Floating dock bars take bars only when both allow several bars in one floating frame.
  dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
  if (ppDockBar != nullptr) *ppDockBar = nullptr;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    CDockBar* dock = AsDockBar(static_cast<CControlBar*>(m_listControlBars.GetNext(pos)));
    if (dock == nullptr || !dock->IsWindowVisible() || !(dock->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY)) continue;
    if (dock->m_bFloating && !(dwDockStyle & dock->m_dwStyle & CBRS_FLOAT_MULTI)) continue;
    CRect bar;
    dock->GetWindowRect(&bar);
    // An empty dock bar is a line along its edge that a drag can still touch.
    if (bar.Width() == 0) bar.right++;
    if (bar.Height() == 0) bar.bottom++;
    CRect meet;
    if (meet.IntersectRect(bar, rect)) {
      if (ppDockBar != nullptr) *ppDockBar = dock;
      return dock->m_dwStyle & dwDockStyle;
    }
  }
  return 0;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  CDockBar* dock = nDockBarID != 0 ? AsDockBar(GetControlBar(nDockBarID)) : nullptr;
  DockControlBar(pBar, dock, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  if (pDockBar == nullptr) {
    // The dock bar of the bar's alignment, else the first one it may dock at.
    for (const auto& entry : g_dwDockBarMap) {
      if ((entry[1] & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) {
        pDockBar = AsDockBar(GetControlBar(entry[0]));
        break;
      }
    }
    for (int i = 0; pDockBar == nullptr && i < 4; ++i) {
      if (g_dwDockBarMap[i][1] & pBar->m_dwDockStyle & CBRS_ALIGN_ANY)
        pDockBar = AsDockBar(GetControlBar(g_dwDockBarMap[i][0]));
    }
  }
  if (pDockBar == nullptr) return;
  pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  if (pDockBar == nullptr) {
    // The dock bar that kept the bar's placeholder, else the one of its alignment.
    CDockBar* possible = nullptr;
    const void* holder = CDockBar::PlaceHolderOf(static_cast<UINT>(pBar->GetDlgCtrlID()));
    for (const auto& entry : g_dwDockBarMap) {
      CDockBar* dock = AsDockBar(GetControlBar(entry[0]));
      if (dock == nullptr) continue;
      if (dock->FindBar(holder) > 0) {
        pDockBar = dock;
        break;
      }
      if ((entry[1] & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY) ||
          (possible == nullptr && (entry[1] & pBar->m_dwDockStyle & CBRS_ALIGN_ANY)))
        possible = dock;
    }
    if (pDockBar == nullptr) pDockBar = possible;
  }
  if (pDockBar == nullptr) return;
  pDockBar->ReDockControlBar(pBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
  CRuntimeClass* frameClass = m_pFloatingFrameClass != nullptr ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
  CObject* object = frameClass->CreateObject();
  if (object == nullptr) AfxThrowMemoryException();
  auto* frame = dynamic_cast<CMiniDockFrameWnd*>(object);
  if (frame == nullptr) {
    delete object;
    AfxThrowResourceException();
  }
  if (!frame->Create(this, dwStyle)) AfxThrowResourceException();  // PostNcDestroy deleted it
  return frame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  // A bar alone in a floating frame of the same orientation: the frame just moves.
  if (CDockBar* dock = pBar->m_pDockBar; pBar->m_pDockSite != nullptr && dock != nullptr && dock->m_bFloating &&
                                        dock->GetDockedCount() == 1 && (dwStyle & dock->m_dwStyle & CBRS_ALIGN_ANY)) {
    if (auto* frame = dynamic_cast<CMiniDockFrameWnd*>(dock->GetParent())) {
      frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      frame->RecalcLayout(TRUE);
      frame->UpdateWindow();
      return;
    }
  }
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT) dwStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | CBRS_ALIGN_TOP;
  }
  CMiniDockFrameWnd* frame = CreateFloatingFrame(dwStyle);
  frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (frame->m_hWndOwner == nullptr) frame->m_hWndOwner = pBar->m_hWnd;
  frame->GetDockBar()->DockControlBar(pBar);
  frame->RecalcLayout(TRUE);
  if (pBar->GetStyle() & WS_VISIBLE) {
    frame->ShowWindow(SW_SHOWNA);
    frame->UpdateWindow();
  }
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  CFrameWnd* frame = pBar->GetDockingFrame();
  if (frame == nullptr) frame = this;
  if (bDelay) {
    pBar->DelayShow(bShow);
    frame->DelayRecalcLayout();
  } else {
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    pBar->DelayShow(bShow);  // clears a contrary delayed show
    if (bShow || !pBar->IsFloating()) frame->RecalcLayout(FALSE);
  }
  // A floating frame shows with its first visible bar and hides with its last.
  if (pBar->IsFloating()) {
    int visible = pBar->m_pDockBar != nullptr ? pBar->m_pDockBar->GetDockedVisibleCount() : (bShow ? 1 : 0);
    frame->m_nShowDelay = -1;
    if (visible == 1 && bShow) {
      if (bDelay) {
        frame->m_nShowDelay = SW_SHOWNA;
        frame->RecalcLayout(FALSE);
      } else {
        frame->ShowWindow(SW_SHOWNA);
      }
    } else if (visible == 0) {
      if (bDelay)
        frame->m_nShowDelay = SW_HIDE;
      else
        frame->ShowWindow(SW_HIDE);
    } else if (!bDelay) {
      frame->RecalcLayout(FALSE);
    }
  }
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CControlBar* bar = GetControlBar(nID);
  if (bar == nullptr) return FALSE;
  ShowControlBar(bar, (bar->GetStyle() & WS_VISIBLE) == 0, FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  if (CControlBar* bar = GetControlBar(pCmdUI->m_nID)) {
    pCmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
    return;
  }
  pCmdUI->ContinueRouting();
}

// ---- activation of floating frames ----

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags) {
  CFrameWnd* top = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
  if (top == nullptr) top = this;
  if (dwFlags & (FS_DEACTIVATE | FS_ACTIVATE)) {
    const bool activate = !(dwFlags & FS_DEACTIVATE);
    if (activate && top->IsWindowEnabled() && top != this) {
      // The frame shows active while one of its floating frames has the focus.
      m_nFlags |= WF_KEEPMINIACTIVE;
      top->SendMessage(WM_NCACTIVATE, TRUE);
      m_nFlags &= ~static_cast<UINT>(WF_KEEPMINIACTIVE);
    } else {
      top->SendMessage(WM_NCACTIVATE, activate ? TRUE : FALSE);
    }
  }
  // Every window the frame owns, directly or through others, hears of the change.
  struct Walk {
    HWND owner;
    DWORD flags;
  } walk{top->m_hWnd, dwFlags};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        auto* w = reinterpret_cast<Walk*>(lParam);
        for (HWND owner = ::GetWindow(hWnd, GW_OWNER); owner != nullptr; owner = ::GetWindow(owner, GW_OWNER)) {
          if (owner == w->owner) {
            ::SendMessage(hWnd, WM_FLOATSTATUS, w->flags, 0);
            break;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CWnd::OnActivate(nState, pWndOther, bMinimized);
  CFrameWnd* top = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
  if (top == nullptr) top = this;
  CWnd* active = nState == WA_INACTIVE ? pWndOther : this;
  // The frame stays active while the window taking the activation is one of its floating frames
  // that follows its caption (MFS_SYNCACTIVE).
  bool stay = false;
  if (active != nullptr && active->m_hWnd != nullptr) {
    if (active->m_hWnd == top->m_hWnd) {
      stay = true;
    } else if (::GetAncestor(active->m_hWnd, GA_ROOTOWNER) == ::GetAncestor(top->m_hWnd, GA_ROOTOWNER)) {
      stay = ::SendMessage(active->m_hWnd, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
    }
  }
  top->m_nFlags &= ~static_cast<UINT>(WF_STAYACTIVE);
  if (stay) top->m_nFlags |= WF_STAYACTIVE;
  NotifyFloatingWindows(stay ? FS_ACTIVATE : FS_DEACTIVATE);
  CView* view = GetActiveView();
  if (view == nullptr && GetActiveFrame() != nullptr) view = GetActiveFrame()->GetActiveView();
  if (view != nullptr) {
    if (nState != WA_INACTIVE && !bMinimized) view->OnActivateView(TRUE, view, view);
    view->OnActivateFrame(nState, this);
  }
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive) {
  if (m_nFlags & WF_STAYACTIVE) bActive = TRUE;
  if (!IsWindowEnabled()) bActive = FALSE;
  return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void CFrameWnd::OnEnable(BOOL bEnable) {
  if (bEnable && (m_nFlags & WF_STAYDISABLED)) {
    // Kept disabled (a modal loop of its own runs): stays so.
    EnableWindow(FALSE);
    return;
  }
  CWnd::OnEnable(bEnable);
  // Activated while disabled (a splash or a modal box had the input), the frame drew its caption
  // inactive; enabled again as the active window, or kept active by a floating frame, it shows
  // active again.
  if (bEnable && !(GetStyle() & WS_CHILD) && (::GetActiveWindow() == m_hWnd || (m_nFlags & WF_STAYACTIVE)))
    SendMessage(WM_NCACTIVATE, TRUE);
  NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
}

// ---- print preview ----

void CFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
  if (pState == nullptr) return;
  // The bars the preview hides: the framework's standard bars other than the preview bar and
  // the status bar (the preview writes its page number there), wherever they are docked. The dock
  // bars are not among them: the frame's own are hidden and shown below, and a floating frame's
  // comes and goes with its frame, which stays hidden while none of its bars shows.
  auto eachStandardBar = [this](auto action) {
    for (UINT id = AFX_IDW_CONTROLBAR_FIRST; id < AFX_IDW_CONTROLBAR_FIRST + 32; ++id) {
      if (id == AFX_IDW_PREVIEW_BAR || id == AFX_IDW_STATUS_BAR) continue;
      CControlBar* bar = GetControlBar(id);
      if (bar != nullptr && bar->IsDockBar()) continue;
      HWND hWnd = bar != nullptr ? bar->m_hWnd : ::GetDlgItem(m_hWnd, static_cast<int>(id));
      if (hWnd != nullptr) action(id - AFX_IDW_CONTROLBAR_FIRST, bar, hWnd);
    }
  };
  if (bPreview) {
    pState->hMenu = ::GetMenu(m_hWnd);
    ::SetMenu(m_hWnd, nullptr);
    pState->hAccelTable = m_hAccelTable;
    m_hAccelTable = nullptr;
    pState->hWndFocus = ::GetFocus();
    pState->dwStates = 0;
    eachStandardBar([this, pState](UINT bit, CControlBar* bar, HWND hWnd) {
      if (bar != nullptr ? bar->IsVisible() : ::IsWindowVisible(hWnd)) pState->dwStates |= 1u << bit;
      if (bar != nullptr)
        ShowControlBar(bar, FALSE, TRUE);
      else
        ::ShowWindow(hWnd, SW_HIDE);
    });
    // The main pane steps aside for the preview view.
    if (HWND pane = ::GetDlgItem(m_hWnd, static_cast<int>(pState->nIDMainPane))) {
      ::SetWindowLongPtr(pane, GWLP_ID, AFX_IDW_PANE_SAVE);
      ::ShowWindow(pane, SW_HIDE);
    }
    // Floating bars and the dock bars go away too.
    NotifyFloatingWindows(FS_HIDE);
    for (const auto& entry : g_dwDockBarMap)
      if (CControlBar* dock = GetControlBar(entry[0])) ShowControlBar(dock, FALSE, TRUE);
  } else {
    if (HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_SAVE)) {
      ::SetWindowLongPtr(pane, GWLP_ID, static_cast<LONG_PTR>(pState->nIDMainPane));
      ::ShowWindow(pane, SW_SHOW);
    }
    for (const auto& entry : g_dwDockBarMap)
      if (CControlBar* dock = GetControlBar(entry[0])) ShowControlBar(dock, TRUE, TRUE);
    eachStandardBar([this, pState](UINT bit, CControlBar* bar, HWND hWnd) {
      bool show = (pState->dwStates & (1u << bit)) != 0;
      if (bar != nullptr)
        ShowControlBar(bar, show, TRUE);
      else
        ::ShowWindow(hWnd, show ? SW_SHOW : SW_HIDE);
    });
    NotifyFloatingWindows(FS_SHOW);
    if (pState->hMenu != nullptr) ::SetMenu(m_hWnd, pState->hMenu);
    m_hAccelTable = pState->hAccelTable;
    if (pState->hWndFocus != nullptr && ::IsWindow(pState->hWndFocus)) ::SetFocus(pState->hWndFocus);
  }
  RecalcLayout();
}
