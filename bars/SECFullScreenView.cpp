// SECFullScreenView: entering and leaving full-screen mode (each step undone on the way out, also
// after a failed entry), the floating button bar, the Escape accelerator, the bars hidden and
// shown again, and the listeners that bring the menu back at the top edge.
#include "bars/SECFullScreenView.h"

#include <vector>

#include "bars/SECBmpMgr.h"
#include "bars/SECDockSite.h"
#include "bars/SECDockState.h"
#include "bars/SECFSToolBar.h"
#include "bars/SECFrameWndServices.h"
#include "bars/SECMenuBar.h"
#include "bars/SECMenuBarFeature.h"

using kelpwood::foundation::SECWndListener;

IMPLEMENT_DYNAMIC(SECFullScreenView, CWnd)

namespace {

// Posted to the controller: the MDI client's active child may have changed.
constexpr UINT kFollowChild = WM_APP + 0x123;

// The controller whose Escape hook runs on this thread (one full-screen mode at a time).
thread_local SECFullScreenView* t_escapeOwner = nullptr;

CRect DesktopRect() {
  CRect desktop;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  return desktop;
}

}  // namespace

// ---- the controller ----

BEGIN_MESSAGE_MAP(SECFullScreenView, CWnd)
  ON_COMMAND(SECFullScreenView::kLeaveCommand, OnLeaveCommand)
  ON_WM_TIMER()
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXT, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

SECFullScreenView::SECFullScreenView() = default;

SECFullScreenView::~SECFullScreenView() {
  if (m_bFullScreen) {
    if (m_bTaskBarHidden) HideTaskBar(FALSE);
    m_mainListener.UnPlug();
    m_clientListener.m_childListener.UnPlug();
    m_clientListener.UnPlug();
    DestroyFSToolBar();
    if (m_hEscapeHook != nullptr) {
      ::UnhookWindowsHookEx(m_hEscapeHook);
      t_escapeOwner = nullptr;
    }
    if (m_hAccelFullScreen != nullptr) ::DestroyAcceleratorTable(m_hAccelFullScreen);
  }
  if (m_hButtonBitmap != nullptr) ::DeleteObject(m_hButtonBitmap);
}

CMDIFrameWnd* SECFullScreenView::MDIFrame() const { return dynamic_cast<CMDIFrameWnd*>(m_pFrame); }

SECMenuBar* SECFullScreenView::FrameMenuBar() const {
  auto* services = dynamic_cast<SECFrameServices*>(m_pFrame);
  return services != nullptr ? services->GetMenuBar() : nullptr;
}

CMDIChildWnd* SECFullScreenView::MaximisedChild() const {
  CMDIFrameWnd* mdi = MDIFrame();
  if (mdi == nullptr) return nullptr;
  BOOL maximised = FALSE;
  CMDIChildWnd* child = mdi->MDIGetActive(&maximised);
  return maximised ? child : nullptr;
}

BOOL SECFullScreenView::SetFSMode(UINT nOptions, LPCTSTR lpszTitle, CFrameWnd* pFrame) {
  if (m_bFullScreen) return TRUE;
  m_nOptions = nOptions | SEC_FS_TEXT_BUTTON;
  if (lpszTitle != nullptr) m_strTitle = lpszTitle;
  CFrameWnd* frame = pFrame != nullptr ? pFrame : dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  // Not for a window that is no frame, nor in print preview.
  if (frame == nullptr || frame->m_hWnd == nullptr || frame->m_lpfnCloseProc != nullptr) return FALSE;
  m_pFrame = frame;
  if (!CreateEx(0, AfxRegisterWndClass(0), nullptr, WS_CHILD, CRect(0, 0, 0, 0), frame, kWindowID)) return FALSE;
  auto* services = dynamic_cast<SECFrameServices*>(frame);
  m_bHasMenuBar = services != nullptr && services->HasMenuBar();
  m_mainListener.m_bHasMenuBar = m_bHasMenuBar;
  if (services != nullptr) {
    m_pDockState = std::make_unique<SECDockState>(services->GetToolBarManager());
    if (!m_pDockState->GetFrameState(frame)) m_pDockState.reset();
  }
  m_placement = WINDOWPLACEMENT{};
  m_placement.length = sizeof(m_placement);
  frame->GetWindowPlacement(&m_placement);
  // From here on every step is undone by LeaveFSMode, so a failure leaves the frame as it was.
  m_bFullScreen = TRUE;
  if (m_nOptions & SEC_FS_HIDE_TASKBAR) HideTaskBar(TRUE);
  m_dwFrameStyle = frame->GetStyle();
  frame->GetWindowRect(&m_rcFrame);
  frame->ModifyStyle(WS_CAPTION | WS_THICKFRAME, WS_BORDER);
  const CRect desktop = DesktopRect();
  frame->SetWindowPos(nullptr, desktop.left - 1, desktop.top, desktop.Width() + 2, desktop.Height() + 1,
                      SWP_FRAMECHANGED | SWP_NOZORDER | SWP_SHOWWINDOW);
  HideControlBars();
  RemoveFrameMenu();
  m_mainListener.PlugInTo(frame);
  if (CMDIFrameWnd* mdi = MDIFrame(); mdi != nullptr && mdi->m_hWndMDIClient != nullptr) {
    m_bClientListening = m_clientListener.PlugInTo(CWnd::FromHandle(mdi->m_hWndMDIClient));
    m_clientListener.FollowActiveChild();
  }
  if (CreateFSToolBar() == -1) {
    LeaveFSMode();
    return FALSE;
  }
  ReplaceAccelerators();
  ShowFSToolBar();
  frame->RecalcLayout();
  frame->SendMessage(kNotifyMessage, 1);
  return TRUE;
}

void SECFullScreenView::LeaveFSMode() {
  if (!m_bFullScreen || m_pFrame == nullptr) return;
  CFrameWnd* frame = m_pFrame;
  // A print preview over the frame keeps what the frame showed when it began, and gives that back
  // when it ends: it ends first, so the frame's bars come back from the mode, not from it.
  if (frame->m_lpfnCloseProc != nullptr) frame->m_lpfnCloseProc(frame);
  if (m_mainListener.m_bMenuShown) m_mainListener.m_bMenuShown = FALSE;
  if (m_hWnd != nullptr) KillTimer(kMenuTimer);
  m_clientListener.m_childListener.UnPlug();
  if (m_bClientListening) m_clientListener.UnPlug();
  m_bClientListening = FALSE;
  m_mainListener.UnPlug();
  DestroyFSToolBar();
  RestoreAccelerators();
  m_bFullScreen = FALSE;
  if (m_bTaskBarHidden) HideTaskBar(FALSE);
  const DWORD frameBits = WS_CAPTION | WS_THICKFRAME | WS_BORDER;
  frame->ModifyStyle(frameBits, m_dwFrameStyle & frameBits);
  frame->SetWindowPos(nullptr, m_rcFrame.left, m_rcFrame.top, m_rcFrame.Width(), m_rcFrame.Height(),
                      SWP_NOZORDER | SWP_FRAMECHANGED);
  ShowControlBars();
  RestoreFrameMenu();
  m_pDockState.reset();
  if (m_hWnd != nullptr) DestroyWindow();
  m_mapShowBars.RemoveAll();
  m_mapHiddenBars.RemoveAll();
  frame->RecalcLayout();
  frame->SendMessage(kNotifyMessage, 0);
}

void SECFullScreenView::OnLeaveCommand() { LeaveFSMode(); }

SECFullScreenView* SECFullScreenView::FromFrame(CWnd* pFrame) {
  // The controller's own window is a child of the frame while the mode is on.
  HWND hWnd = pFrame != nullptr && pFrame->m_hWnd != nullptr ? ::GetDlgItem(pFrame->m_hWnd, kWindowID) : nullptr;
  auto* view = hWnd != nullptr ? dynamic_cast<SECFullScreenView*>(CWnd::FromHandlePermanent(hWnd)) : nullptr;
  return view != nullptr && view->IsFullScreen() ? view : nullptr;
}

void SECFullScreenView::HideTaskBar(BOOL bHide) {
  HWND taskBar = ::FindWindow("Shell_TrayWnd", nullptr);
  if (taskBar == nullptr) return;
  if (bHide) {
    // An auto-hiding taskbar is left alone: it does not cover the screen.
    APPBARDATA data{};
    data.cbSize = sizeof(data);
    if (::SHAppBarMessage(ABM_GETSTATE, &data) != ABS_ALWAYSONTOP) return;
    ::ShowWindow(taskBar, SW_HIDE);
    m_bTaskBarHidden = TRUE;
  } else {
    ::ShowWindow(taskBar, SW_SHOW);
    m_bTaskBarHidden = FALSE;
  }
}

void SECFullScreenView::HideControlBars() {
  for (POSITION pos = m_pFrame->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CControlBar*>(m_pFrame->m_listControlBars.GetNext(pos));
    if (bar == nullptr || bar->IsDockBar() || bar == m_pToolBar || bar->m_hWnd == nullptr) continue;
    BOOL show;
    if (m_mapShowBars.Lookup(bar, show)) {
      if (show) m_pFrame->ShowControlBar(bar, TRUE, FALSE);
      continue;
    }
    // The status bar too is only hidden: its panes and their child windows stay as they are.
    m_mapHiddenBars.SetAt(bar, (bar->GetStyle() & WS_VISIBLE) == 0);
    m_pFrame->ShowControlBar(bar, FALSE, FALSE);
  }
  m_pFrame->RecalcLayout();
}

void SECFullScreenView::ShowControlBars() {
  for (POSITION pos = m_pFrame->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CControlBar*>(m_pFrame->m_listControlBars.GetNext(pos));
    if (bar == nullptr || bar->IsDockBar() || bar->m_hWnd == nullptr) continue;
    BOOL value;
    if (m_mapShowBars.Lookup(bar, value)) {
      if (value) m_pFrame->ShowControlBar(bar, FALSE, FALSE);
      continue;
    }
    if (m_mapHiddenBars.Lookup(bar, value) && !value) m_pFrame->ShowControlBar(bar, TRUE, FALSE);
  }
  m_pFrame->RecalcLayout();
}

void SECFullScreenView::RemoveFrameMenu() {
  m_mainListener.m_hSavedMenu = ::GetMenu(m_pFrame->m_hWnd);
  m_mainListener.m_bHasSavedMenu = m_mainListener.m_hSavedMenu != nullptr;
  DropFrameMenu();
}

void SECFullScreenView::DropFrameMenu() {
  if (CMDIChildWnd* child = MaximisedChild()) {
    ::LockWindowUpdate(m_pFrame->m_hWnd);
    child->ShowWindow(SW_HIDE);
    child->ShowWindow(SW_SHOWMINIMIZED);
    ::SetMenu(m_pFrame->m_hWnd, nullptr);
    ::SendMessage(MDIFrame()->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
    ::LockWindowUpdate(nullptr);
    return;
  }
  ::SetMenu(m_pFrame->m_hWnd, nullptr);
}

void SECFullScreenView::RestoreFrameMenu() {
  if (m_bHasMenuBar) {
    SECMenuBar* bar = FrameMenuBar();
    if (bar != nullptr) {
      bar->SetFullScreen(FALSE);
      // Out of the floating frame it had at the top edge; the saved layout then places it.
      if (bar->IsFloating()) m_pFrame->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
      BOOL wasHidden = FALSE;
      if (m_mapHiddenBars.Lookup(bar, wasHidden) && !wasHidden) m_pFrame->ShowControlBar(bar, TRUE, FALSE);
    }
    if (m_pDockState) m_pDockState->SetFrameState(m_pFrame);
  } else if (m_mainListener.m_bHasSavedMenu) {
    ::SetMenu(m_pFrame->m_hWnd, m_mainListener.m_hSavedMenu);
  }
  // An MDI child's activation puts its own menu back, and a maximised child's system menu and
  // window buttons (into the menubar too).
  if (CMDIFrameWnd* mdi = MDIFrame()) {
    if (CMDIChildWnd* child = mdi->MDIGetActive())
      child->SendMessage(WM_MDIACTIVATE, 0, reinterpret_cast<LPARAM>(child->m_hWnd));
  }
  if (m_bHasMenuBar) return;
  ::DrawMenuBar(m_pFrame->m_hWnd);
  m_mainListener.m_hSavedMenu = nullptr;
  m_mainListener.m_bHasSavedMenu = FALSE;
}

void SECFullScreenView::ReplaceAccelerators() {
  m_hAccelSaved = m_pFrame->m_hAccelTable;
  const int count = m_hAccelSaved != nullptr ? ::CopyAcceleratorTable(m_hAccelSaved, nullptr, 0) : 0;
  std::vector<ACCEL> entries(static_cast<size_t>(count) + 1);
  entries[0] = ACCEL{FVIRTKEY, VK_ESCAPE, static_cast<WORD>(kLeaveCommand)};
  if (count > 0) ::CopyAcceleratorTable(m_hAccelSaved, entries.data() + 1, count);
  m_hAccelFullScreen = ::CreateAcceleratorTable(entries.data(), static_cast<int>(entries.size()));
  m_pFrame->m_hAccelTable = m_hAccelFullScreen;
  if (t_escapeOwner == nullptr) {
    m_hEscapeHook = ::SetWindowsHookEx(WH_GETMESSAGE, EscapeHook, nullptr, ::GetCurrentThreadId());
    if (m_hEscapeHook != nullptr) t_escapeOwner = this;
  }
}

BOOL SECFullScreenView::TakesEscape(const MSG& msg) const {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE || msg.hwnd == nullptr) return FALSE;
  if (::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return FALSE;
  // A menu loop or drag holds the capture and a modal dialog disables the frame: Escape is theirs.
  // So it is a print preview's over the frame, which Escape closes.
  const HWND frame = m_pFrame->m_hWnd;
  if (::GetCapture() != nullptr || !::IsWindowEnabled(frame) || m_pFrame->m_lpfnCloseProc != nullptr) return FALSE;
  return msg.hwnd == frame || ::IsChild(frame, msg.hwnd);
}

LRESULT CALLBACK SECFullScreenView::EscapeHook(int code, WPARAM wParam, LPARAM lParam) {
  SECFullScreenView* owner = t_escapeOwner;
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && owner != nullptr && owner->TakesEscape(*msg)) {
    ::PostMessage(owner->m_pFrame->m_hWnd, WM_COMMAND, kLeaveCommand, 0);
    msg->message = WM_NULL;
  }
  return ::CallNextHookEx(owner != nullptr ? owner->m_hEscapeHook : nullptr, code, wParam, lParam);
}

void SECFullScreenView::RestoreAccelerators() {
  if (m_hEscapeHook != nullptr) {
    ::UnhookWindowsHookEx(m_hEscapeHook);
    m_hEscapeHook = nullptr;
    t_escapeOwner = nullptr;
  }
  if (m_hAccelFullScreen == nullptr) return;
  m_pFrame->m_hAccelTable = m_hAccelSaved;
  ::DestroyAcceleratorTable(m_hAccelFullScreen);
  m_hAccelFullScreen = nullptr;
}

HBITMAP SECFullScreenView::MakeTitleBitmap(CSize& size) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  CRect rect(0, 0, 0, 0);
  ::DrawText(dc, m_strTitle, m_strTitle.GetLength(), &rect, DT_CALCRECT | DT_SINGLELINE);
  size = rect.Size();
  HBITMAP bitmap = size.cx > 0 && size.cy > 0 ? ::CreateCompatibleBitmap(screen, size.cx, size.cy) : nullptr;
  if (bitmap != nullptr) {
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    ::SetBkColor(dc, ::GetSysColor(COLOR_3DFACE));
    ::ExtTextOut(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawText(dc, m_strTitle, m_strTitle.GetLength(), &rect, DT_SINGLELINE);
    ::SelectObject(dc, oldBitmap);
  }
  ::SelectObject(dc, oldFont);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return bitmap;
}

int SECFullScreenView::CreateFSToolBar() {
  CSize image(16, 15);
  HBITMAP bitmap = nullptr;
  if (m_nOptions & SEC_FS_TEXT_BUTTON) {
    bitmap = MakeTitleBitmap(image);
  } else {
    bitmap = ::LoadBitmap(AfxFindResourceHandle(MAKEINTRESOURCE(m_nBitmapID), RT_BITMAP), MAKEINTRESOURCE(m_nBitmapID));
    BITMAP info{};
    if (bitmap != nullptr && ::GetObject(bitmap, sizeof(info), &info) != 0) image = CSize(info.bmWidth, info.bmHeight);
  }
  if (bitmap == nullptr) return -1;
  const UINT ids[] = {kLeaveCommand};
  const DWORD dwStyle = WS_CHILD | CBRS_TOP | CBRS_TOOLTIPS;
  const CRect borders(2, 2, 2, 2);
  // What every form of the bar gets once its button is set.
  auto finish = [this](auto* bar) {
    bar->SetOwner(this);
    bar->SetWindowText("Full Screen");
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_pToolBar = bar;
  };
  if (!(m_nOptions & SEC_FS_PLAIN_BAR)) {
    // The customisable toolbar: its bitmap manager holds the image (the controller keeps it).
    auto* bar = new SECFSToolBar<SECCustomToolBar>;
    bar->m_cxLeftBorder = borders.left;
    bar->m_cyTopBorder = borders.top;
    bar->m_cxRightBorder = borders.right;
    bar->m_cyBottomBorder = borders.bottom;
    if (!bar->Create(m_pFrame, dwStyle, kToolBarID)) {
      ::DeleteObject(bitmap);
      delete bar;
      return -1;
    }
    auto* images = new SECBmpMgr;
    images->SetImageSize(image.cx, image.cy);
    images->AddToolBarBitmap(bitmap, nullptr, ids, 1);
    bar->SetBmpMgr(images);
    images->Release();
    m_hToolBarBitmap = bitmap;
    bar->SetButtons(ids, 1);
    // Its own updates ask the frame, which has no handler for the button: it stays enabled.
    bar->SetButtonStyle(0, (bar->GetButtonStyle(0) | SEC_TBBS_NODISABLE) & ~static_cast<UINT>(TBBS_DISABLED));
    finish(bar);
  } else {
    // A plain toolbar, the toolkit's in a toolkit frame: it owns the image.
    auto makePlain = [&](auto* bar, auto setBitmap) {
      if (!bar->CreateEx(m_pFrame, TBSTYLE_FLAT, dwStyle, borders, kToolBarID)) {
        ::DeleteObject(bitmap);
        delete bar;
        return FALSE;
      }
      bar->SetSizes(CSize(image.cx + 7, image.cy + 6), image);
      setBitmap(*bar);
      bar->SetButtons(ids, 1);
      finish(bar);
      return TRUE;
    };
    const BOOL made = SECGetDockSite(m_pFrame) != nullptr
                          ? makePlain(new SECFSToolBar<SECToolBar>, [&](SECToolBar& bar) { bar.AddReplaceBitmap(bitmap); })
                          : makePlain(new SECFSToolBar<CToolBar>, [&](CToolBar& bar) { bar.SetBitmap(bitmap); });
    if (!made) return -1;
  }
  SECSiteFloat(m_pFrame, m_pToolBar, DesktopRect().TopLeft(), CBRS_ALIGN_TOP);
  return 0;
}

void SECFullScreenView::DestroyFSToolBar() {
  if (m_pToolBar == nullptr) return;
  CControlBar* bar = m_pToolBar;
  m_pToolBar = nullptr;
  // A floating bar goes with its floating frame, which may delete itself as it goes: only its
  // handle is kept.
  CFrameWnd* floating = bar->m_hWnd != nullptr ? bar->GetParentFrame() : nullptr;
  HWND floatingWnd = floating != nullptr && floating != m_pFrame ? floating->m_hWnd : nullptr;
  if (floatingWnd != nullptr && ::IsWindow(floatingWnd))
    ::DestroyWindow(floatingWnd);
  else if (bar->m_hWnd != nullptr)
    bar->DestroyWindow();
  delete bar;
  if (m_hToolBarBitmap != nullptr) ::DeleteObject(m_hToolBarBitmap);
  m_hToolBarBitmap = nullptr;
}

void SECFullScreenView::ShowFSToolBar() {
  if (m_pToolBar != nullptr) m_pFrame->ShowControlBar(m_pToolBar, TRUE, FALSE);
}

void SECFullScreenView::HideFSToolBar() {
  if (m_pToolBar != nullptr) m_pFrame->ShowControlBar(m_pToolBar, FALSE, FALSE);
}

void SECFullScreenView::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kMenuTimer)
    m_mainListener.OnMenuTimer();
  else
    CWnd::OnTimer(nIDEvent);
}

BOOL SECFullScreenView::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  auto* text = reinterpret_cast<TOOLTIPTEXT*>(pNMHDR);
  const UINT id = (text->uFlags & TTF_IDISHWND) ? static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom)))
                                                : static_cast<UINT>(pNMHDR->idFrom);
  if (id != kLeaveCommand) return FALSE;
  ::lstrcpyn(text->szText, m_strTitle, static_cast<int>(sizeof(text->szText)));
  *pResult = 0;
  return TRUE;
}

LRESULT SECFullScreenView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kFollowChild) {
    m_clientListener.FollowActiveChild();
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// ---- the main frame's listener ----

BEGIN_MESSAGE_MAP(SECFSMainFrmListener, SECWndListener)
  ON_MESSAGE(WM_NCMOUSEMOVE, OnNcMouseMove)
  ON_MESSAGE(WM_SETCURSOR, OnSetCursorMsg)
  ON_MESSAGE(WM_SYSCOMMAND, OnSysCommandMsg)
  ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupMsg)
  ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
  ON_MESSAGE(SECFullScreenView::kAfterMenuLoop, OnAfterMenuLoop)
  ON_MESSAGE(SECMenuBarMessages::kRevealMenuBar, OnRevealMenuBar)
  ON_COMMAND(SECFullScreenView::kLeaveCommand, OnLeaveCommand)
END_MESSAGE_MAP()

BOOL SECFSMainFrmListener::PointerOn(CWnd* pWnd) {
  POINT cursor;
  ::GetCursorPos(&cursor);
  CRect rect;
  pWnd->GetWindowRect(&rect);
  return rect.PtInRect(cursor);
}

void SECFSMainFrmListener::ShowMenu() {
  if (m_bMenuShown || !(m_pFSView->m_nOptions & SECFullScreenView::SEC_FS_MENU_AT_TOP)) return;
  CFrameWnd* frame = m_pFSView->m_pFrame;
  // A print preview over the frame takes the menus away, here as outside full screen: its
  // commands (leaving full screen among them) would change the frame under the preview.
  if (frame->m_lpfnCloseProc != nullptr) return;
  m_bMenuShown = TRUE;
  if (!m_bHasMenuBar && m_bHasSavedMenu) {
    ::SetMenu(frame->m_hWnd, m_hSavedMenu);
    ::DrawMenuBar(frame->m_hWnd);
  }
  if (SECMenuBar* bar = m_bHasMenuBar ? m_pFSView->FrameMenuBar() : nullptr) {
    // The menubar floats across the top of the desktop, above everything, without a caption.
    const CRect desktop = DesktopRect();
    bar->SetFullScreen(TRUE);
    frame->FloatControlBar(bar, CPoint(desktop.left, desktop.top - 4), CBRS_ALIGN_TOP);
    frame->ShowControlBar(bar, TRUE, FALSE);
    if (CFrameWnd* floating = bar->GetParentFrame(); floating != nullptr && floating != frame) {
      floating->ModifyStyle(WS_CAPTION | WS_THICKFRAME, WS_BORDER, SWP_FRAMECHANGED);
      floating->SetWindowPos(&CWnd::wndTopMost, desktop.left, desktop.top - 4, desktop.Width(), 25,
                             SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    }
  }
  m_pFSView->SetTimer(SECFullScreenView::kMenuTimer, 100, nullptr);
}

void SECFSMainFrmListener::HideMenu() {
  if (!m_bMenuShown) return;
  CFrameWnd* frame = m_pFSView->m_pFrame;
  m_bMenuShown = FALSE;
  m_bMenuByMouse = FALSE;
  m_pFSView->KillTimer(SECFullScreenView::kMenuTimer);
  if (!m_bHasMenuBar) ::SetMenu(frame->m_hWnd, nullptr);
  if (SECMenuBar* bar = m_bHasMenuBar ? m_pFSView->FrameMenuBar() : nullptr) {
    bar->SetFullScreen(FALSE);
    frame->ShowControlBar(bar, FALSE, FALSE);
  }
  frame->DelayRecalcLayout();
}

void SECFSMainFrmListener::OnMenuTimer() {
  if (!m_bMenuShown) return;
  CFrameWnd* frame = m_pFSView->m_pFrame;
  if (SECMenuBar* bar = m_bHasMenuBar ? m_pFSView->FrameMenuBar() : nullptr) {
    // The menubar stays while the pointer is over it (or one of its popups is open).
    if (!PointerOn(bar)) HideMenu();
    return;
  }
  // The menu stays while the pointer is over the frame's menu bar.
  MENUBARINFO info{};
  info.cbSize = sizeof(info);
  POINT cursor;
  ::GetCursorPos(&cursor);
  if (::GetMenuBarInfo(frame->m_hWnd, OBJID_MENU, 0, &info) && ::PtInRect(&info.rcBar, cursor)) return;
  CRect window;
  frame->GetWindowRect(&window);
  if (cursor.y <= window.top) return;
  HideMenu();
}

LRESULT SECFSMainFrmListener::OnNcMouseMove(WPARAM wParam, LPARAM) {
  if (!m_bMenuShown && (wParam == HTBORDER || wParam == HTMENU || wParam == HTTOP)) ShowMenu();
  return 0;
}

LRESULT SECFSMainFrmListener::OnRevealMenuBar(WPARAM, LPARAM) {
  // A menu's letter shows the menubar at the top edge; it goes again once the menu closes away
  // from it.
  if (!m_bHasMenuBar) return 0;
  ShowMenu();
  SetListenerFlags(kSkipWindow);
  return m_bMenuShown;
}

LRESULT SECFSMainFrmListener::OnSetCursorMsg(WPARAM, LPARAM lParam) {
  const UINT hit = LOWORD(lParam);
  if (m_bMenuShown && (hit == HTNOWHERE || hit == HTCLIENT)) HideMenu();
  return 0;
}

LRESULT SECFSMainFrmListener::OnSysCommandMsg(WPARAM wParam, LPARAM) {
  if (m_bMenuShown && (wParam & 0xFFF0) == SC_MOUSEMENU) m_bMenuByMouse = TRUE;
  return 0;
}

LRESULT SECFSMainFrmListener::OnInitMenuPopupMsg(WPARAM, LPARAM) {
  // While a popup is open the menu stays, whatever the pointer does.
  m_bMenuByMouse = FALSE;
  if (m_bMenuShown) m_pFSView->KillTimer(SECFullScreenView::kMenuTimer);
  return 0;
}

LRESULT SECFSMainFrmListener::OnExitMenuLoop(WPARAM, LPARAM) {
  if (!m_bMenuShown || m_bMenuByMouse) return 0;
  // The menubar stays while the pointer is on it, and while the next of its menus opens (each
  // move from one menu to another ends a menu loop); the timer then follows the pointer again.
  if (SECMenuBar* bar = m_bHasMenuBar ? m_pFSView->FrameMenuBar() : nullptr) {
    if (PointerOn(bar) || SECMenuBarMessages::IsMenuPending()) {
      m_pFSView->SetTimer(SECFullScreenView::kMenuTimer, 100, nullptr);
      return 0;
    }
  }
  HideMenu();
  m_pFSView->m_pFrame->PostMessage(SECFullScreenView::kAfterMenuLoop);
  return 0;
}

LRESULT SECFSMainFrmListener::OnAfterMenuLoop(WPARAM wParam, LPARAM lParam) {
  // The command the menu chose runs first; the layout then follows the frame without a menu.
  // The command is not run from here: it may end the frame, and this listener with it. This
  // message is posted again behind it, with the command, and a frame that is gone by then
  // never gets it.
  SetListenerFlags(kSkipWindow);
  CFrameWnd* frame = m_pFSView->m_pFrame;
  MSG msg;
  if (lParam == 0 && ::PeekMessage(&msg, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE)) {
    frame->PostMessage(SECFullScreenView::kAfterMenuLoop, LOWORD(msg.wParam), 1);
    return 0;
  }
  const UINT nCommand = lParam != 0 ? static_cast<UINT>(wParam) : 0;
  if (!m_pFSView->IsFullScreen() || m_bHasSavedMenu) return 0;
  if (nCommand >= kFirstOleCommand && nCommand <= kLastOleCommand) {
    // An OLE command keeps the menu: the active child puts its menu back.
    m_bMenuShown = TRUE;
    CMDIFrameWnd* mdi = m_pFSView->MDIFrame();
    if (CMDIChildWnd* child = mdi != nullptr ? mdi->MDIGetActive() : nullptr) {
      ::LockWindowUpdate(frame->m_hWnd);
      child->SendMessage(WM_MDIACTIVATE, 0, reinterpret_cast<LPARAM>(child->m_hWnd));
      ::LockWindowUpdate(nullptr);
    }
    return 0;
  }
  if (!m_bHasMenuBar) m_pFSView->DropFrameMenu();
  frame->DelayRecalcLayout();
  return 0;
}

void SECFSMainFrmListener::OnLeaveCommand() {
  SetListenerFlags(kSkipWindow);
  m_pFSView->LeaveFSMode();
}

// ---- the MDI client's and child's listeners ----

BEGIN_MESSAGE_MAP(SECFSMDIClientListener, SECWndListener)
  ON_MESSAGE(WM_MDISETMENU, OnMDISetMenu)
  ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

void SECFSMDIClientListener::FollowActiveChild() {
  CMDIFrameWnd* mdi = m_pFSView->MDIFrame();
  CMDIChildWnd* active = mdi != nullptr ? mdi->MDIGetActive() : nullptr;
  const HWND now = active != nullptr ? active->m_hWnd : nullptr;
  if (m_childListener.m_hWndListened == now && m_childListener.IsPluggedIn()) return;
  m_childListener.UnPlug();
  m_pFSView->m_mainListener.m_pActiveChild = active;
  if (active != nullptr) m_childListener.PlugInTo(active);
}

LRESULT SECFSMDIClientListener::OnMDISetMenu(WPARAM wParam, LPARAM) {
  m_pFSView->PostMessage(kFollowChild);
  SECFSMainFrmListener& main = m_pFSView->m_mainListener;
  if (main.m_bHasMenuBar || main.m_bMenuShown || wParam == 0) return 0;
  // While the menu is hidden the frame keeps none: the new menu is kept for the top edge.
  main.m_hSavedMenu = reinterpret_cast<HMENU>(wParam);
  main.m_bHasSavedMenu = TRUE;
  SetListenerFlags(kSkipWindow);
  return 0;
}

LRESULT SECFSMDIClientListener::OnMDIActivate(WPARAM, LPARAM) {
  m_pFSView->PostMessage(kFollowChild);
  return 0;
}

BEGIN_MESSAGE_MAP(SECFSMDIClientListener::SECFSChildFrmListener, SECWndListener)
  ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfo)
  ON_MESSAGE(WM_SYSCOMMAND, OnSysCommandMsg)
  ON_MESSAGE(WM_SIZE, OnSizeMsg)
END_MESSAGE_MAP()

LRESULT SECFSMDIClientListener::SECFSChildFrmListener::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  // A maximised child's frame may lie beyond the screen's edges.
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  const CRect desktop = DesktopRect();
  info->ptMaxTrackSize.x = desktop.Width() + 100;
  info->ptMaxTrackSize.y = desktop.Height() + 100;
  SetListenerFlags(kSkipWindow);
  return 0;
}

LRESULT SECFSMDIClientListener::SECFSChildFrmListener::OnSysCommandMsg(WPARAM wParam, LPARAM) {
  SECFSMainFrmListener& main = m_pFSView->m_mainListener;
  const UINT command = static_cast<UINT>(wParam & 0xFFF0);
  if (!main.m_bMenuShown || (command != SC_MINIMIZE && command != SC_RESTORE && command != SC_CLOSE)) return 0;
  HWND child = m_hWndListened;
  ::DrawMenuBar(m_pFSView->m_pFrame->m_hWnd);
  main.HideMenu();
  SetListenerFlags(kSkipWindow);
  if (command == SC_CLOSE) {
    ::PostMessage(child, WM_CLOSE, 0, 0);
  } else {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(child, &placement);
    placement.showCmd = command == SC_MINIMIZE ? SW_SHOWMINIMIZED : SW_RESTORE;
    ::SetWindowPlacement(child, &placement);
  }
  return 0;
}

LRESULT SECFSMDIClientListener::SECFSChildFrmListener::OnSizeMsg(WPARAM, LPARAM) {
  m_pFSView->m_mainListener.m_bRedrawPending = FALSE;
  return 0;
}
