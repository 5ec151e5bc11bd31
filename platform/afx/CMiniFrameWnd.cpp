// CMiniFrameWnd: popup frames with a small caption whose sizing edges, moving edges, system menu
// and caption state follow the MFS_ styles; CMiniDockFrameWnd: the floating frame of bars.
#include "afx/CMiniFrameWnd.h"

#include "afx/CDockContext.h"
#include "afx/CWinApp.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

namespace {

bool IsSizingHit(UINT hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

}  // namespace

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
  ON_WM_NCACTIVATE()
  ON_WM_NCHITTEST()
  ON_WM_SYSCOMMAND()
  ON_WM_GETMINMAXINFO()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd() = default;
CMiniFrameWnd::~CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID) {
  m_bSysMenu = (dwStyle & WS_SYSMENU) != 0;
  m_strTitle = lpWindowName;
  // rectDefault's CW_USEDEFAULT corner has no extent to subtract from.
  if (!CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, rect.left, rect.top,
                      brambolt::afx::Extent(rect.left, rect.right), brambolt::afx::Extent(rect.top, rect.bottom),
                      pParentWnd->GetSafeHwnd(),
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
    return FALSE;
  if (dwStyle & MFS_SYNCACTIVE) {
    // The caption starts in the state of the frame it belongs to.
    CWnd* top = GetTopLevelParent();
    HWND active = ::GetActiveWindow();
    m_bActive = top != nullptr && top != this && active != nullptr &&
                (active == top->m_hWnd || (top->m_nFlags & WF_STAYACTIVE) != 0);
    DefWindowProc(WM_NCACTIVATE, m_bActive, 0);
  }
  return TRUE;
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
  // A small caption; the MFS_ sizing styles ask for a sizing border; never minimised or maximised.
  cs.dwExStyle |= WS_EX_TOOLWINDOW;
  if (cs.style & (MFS_THICKFRAME | MFS_4THICKFRAME | MFS_MOVEFRAME)) cs.style |= WS_THICKFRAME;
  cs.style &= ~static_cast<DWORD>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  // Its menu-less popup keeps the position it was given.
  if (cs.x == CW_USEDEFAULT) cs.x = cs.y = 0;
  if (cs.cx == CW_USEDEFAULT || cs.cx == 0) cs.cx = cs.cy = 1;
  return CWnd::PreCreateWindow(cs);
}

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle) {
  ::AdjustWindowRectEx(lpClientRect, dwStyle & ~static_cast<DWORD>(WS_CHILD), FALSE, dwExStyle | WS_EX_TOOLWINDOW);
}

UINT CMiniFrameWnd::OnNcHitTest(CPoint point) {
  UINT hit = static_cast<UINT>(Default());
  DWORD style = GetStyle();
  if (m_bSysMenu && (style & MFS_BLOCKSYSMENU) && hit == HTSYSMENU) return HTCAPTION;
  if (!IsSizingHit(hit)) return hit;
  // MFS_MOVEFRAME: the edges move the frame.
  if (style & MFS_MOVEFRAME) return HTCAPTION;
  // MFS_4THICKFRAME: the four sides size, the corners do not. A corner's zone reaches along the
  // sides (on a one-row toolbar it is most of them): there each pixel of a side's border sizes
  // that side, and the rest of the zone, on the top or bottom border, the top or bottom.
  if (style & MFS_4THICKFRAME) {
    switch (hit) {
      case HTTOPLEFT: case HTTOPRIGHT: case HTBOTTOMLEFT: case HTBOTTOMRIGHT: {
        CRect client;
        GetClientRect(&client);
        ClientToScreen(&client);
        if (point.x < client.left) return HTLEFT;
        if (point.x >= client.right) return HTRIGHT;
        return hit == HTTOPLEFT || hit == HTTOPRIGHT ? HTTOP : HTBOTTOM;
      }
      default: return hit;
    }
  }
  if (!(style & (MFS_THICKFRAME | WS_THICKFRAME))) return HTBORDER;
  return hit;
}

void CMiniFrameWnd::OnSysCommand(UINT nID, LPARAM lParam) {
  UINT command = nID & 0xFFF0;
  if ((command == SC_KEYMENU || command == SC_MOUSEMENU) && (GetStyle() & MFS_BLOCKSYSMENU)) return;
  if (command == SC_CLOSE) {
    SendMessage(WM_CLOSE);
    return;
  }
  Default();
  (void)lParam;
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* pMMI) {
  Default();
  // A bar's frame can be smaller than the system's smallest captioned window.
  pMMI->ptMinTrackSize.x = ::GetSystemMetrics(SM_CXSMSIZE) * 2;
  pMMI->ptMinTrackSize.y = ::GetSystemMetrics(SM_CYSMCAPTION);
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive) {
  if (GetStyle() & MFS_SYNCACTIVE) {
    // The caption follows the owner (WM_FLOATSTATUS), not the activation it is told of.
    if (m_nFlags & WF_KEEPMINIACTIVE) return FALSE;
    DefWindowProc(WM_NCACTIVATE, m_bActive, 0);
    return TRUE;
  }
  m_bActive = bActive;
  return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM) {
  if ((wParam & FS_HIDE) && IsWindowVisible()) {
    ShowWindow(SW_HIDE);
    m_nFlags |= WF_TEMPHIDE;
  } else if ((wParam & FS_SHOW) && (m_nFlags & WF_TEMPHIDE)) {
    ShowWindow(SW_SHOWNOACTIVATE);
    m_nFlags &= ~static_cast<UINT>(WF_TEMPHIDE);
  }
  if (wParam & (FS_ENABLE | FS_DISABLE)) EnableWindow((wParam & FS_ENABLE) != 0);
  if ((wParam & (FS_ACTIVATE | FS_DEACTIVATE)) && (GetStyle() & MFS_SYNCACTIVE)) {
    BOOL active = (wParam & FS_ACTIVATE) != 0;
    if (active != m_bActive) {
      m_bActive = active;
      DefWindowProc(WM_NCACTIVATE, active, 0);
    }
  }
  // The answer to FS_SYNCACTIVE: whether this frame's caption follows its owner.
  return (GetStyle() & MFS_SYNCACTIVE) != 0;
}

int CMiniFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  return CFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

// ---- the floating frame of bars ----

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
  ON_WM_CLOSE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}
CMiniDockFrameWnd::~CMiniDockFrameWnd() = default;

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  // No layout until a bar is docked.
  m_bInRecalcLayout = TRUE;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE |
                MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
  // Bars that size themselves are sized by the frame's edges.
  if (dwBarStyle & CBRS_SIZE_DYNAMIC) style &= ~static_cast<DWORD>(MFS_MOVEFRAME);
  if (!CMiniFrameWnd::CreateEx(0, nullptr, "", style, rectDefault, pParent)) {
    return FALSE;  // PostNcDestroy deleted it
  }
  CMenu* sysMenu = GetSystemMenu(FALSE);
  if (sysMenu != nullptr) {
    sysMenu->DeleteMenu(SC_SIZE, MF_BYCOMMAND);
    sysMenu->DeleteMenu(SC_MINIMIZE, MF_BYCOMMAND);
    sysMenu->DeleteMenu(SC_MAXIMIZE, MF_BYCOMMAND);
    sysMenu->DeleteMenu(SC_RESTORE, MF_BYCOMMAND);
    CString hide;
    if (hide.LoadString(AFX_IDS_HIDE)) {
      sysMenu->DeleteMenu(SC_CLOSE, MF_BYCOMMAND);
      sysMenu->AppendMenu(MF_STRING | MF_ENABLED, SC_CLOSE, hide);
    }
  }
  DWORD dockStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
  dockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
  // Made as the docking frame's child, so it joins that frame's bars, then moved in here.
  if (!m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
    m_bInRecalcLayout = FALSE;
    DestroyWindow();
    return FALSE;
  }
  m_wndDockBar.SetParent(this);
  m_bInRecalcLayout = FALSE;
  return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
  if (m_bInRecalcLayout) return;
  CMiniFrameWnd::RecalcLayout(bNotify);
  CString title;
  GetDockBar()->GetWindowText(title);
  CString current;
  GetWindowText(current);
  if (current != title) SetWindowText(title);
}

CControlBar* CMiniDockFrameWnd::GetFirstBar() {
  for (int i = 1; i < GetDockBar()->m_arrBars.GetSize(); ++i)
    if (CControlBar* bar = GetDockBar()->GetDockedControlBar(i)) return bar;
  return nullptr;
}

void CMiniDockFrameWnd::OnClose() {
  // Closing hides the bars; the frame goes when its last bar leaves.
  GetDockBar()->ShowAll(FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  CControlBar* bar = GetFirstBar();
  if (bar != nullptr && bar->m_pDockContext != nullptr) {
    if (nHitTest == HTCAPTION && !(GetDockBar()->m_dwStyle & CBRS_FLOAT_MULTI)) {
      // The caption drags the bar itself, so it can dock again.
      if (CWnd* top = GetTopLevelParent()) top->SetActiveWindow();
      bar->m_pDockContext->StartDrag(point);
      return;
    }
    if (IsSizingHit(nHitTest) && !(GetDockBar()->m_dwStyle & CBRS_FLOAT_MULTI)) {
      if (CWnd* top = GetTopLevelParent()) top->SetActiveWindow();
      bar->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
      return;
    }
  }
  Default();
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
  if (nHitTest == HTCAPTION) {
    CControlBar* bar = GetFirstBar();
    if (bar != nullptr && bar->m_pDockContext != nullptr && !(GetDockBar()->m_dwStyle & CBRS_FLOAT_MULTI)) {
      bar->m_pDockContext->ToggleDocking();
      return;
    }
  }
  Default();
  (void)point;
}

int CMiniDockFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  // A floating frame never takes the activation from the frame it belongs to.
  (void)pDesktopWnd;
  (void)nHitTest;
  (void)message;
  if (CWnd* top = GetTopLevelParent(); top != nullptr && top != this) top->SetActiveWindow();
  return MA_NOACTIVATE;
}
