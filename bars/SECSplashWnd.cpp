// SECSplashWnd: creation centred on the screen, the display timer, closing on input through a
// thread hook, the owner disabled meanwhile, and palette realisation.
#include "bars/SECSplashWnd.h"

#include "resources/Menus.h"

IMPLEMENT_DYNAMIC(SECSplashWnd, CWnd)

namespace {

// The splash that the input hook closes; one shows at a time.
SECSplashWnd* g_pHookedSplash = nullptr;

bool ClosesSplash(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      return true;
    default:
      return false;
  }
}

// How often a splash whose time is up looks again whether the window it owns has gone.
constexpr UINT kOwnedWindowRecheck = 250;

}  // namespace

BEGIN_MESSAGE_MAP(SECSplashWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_CLOSE()
  ON_MESSAGE(WM_QUERYNEWPALETTE, OnQueryNewPalette)
  ON_MESSAGE(WM_PALETTECHANGED, OnPaletteChanged)
END_MESSAGE_MAP()

SECSplashWnd::SECSplashWnd(UINT nBitmapID, UINT nDisplayTime, BOOL bWaitForClose, BOOL bTopmost)
    : m_bTopmost(bTopmost), m_bWaitForClose(bWaitForClose), m_nDisplayTime(nDisplayTime), m_nBitmapID(nBitmapID) {}

SECSplashWnd::~SECSplashWnd() {
  InstallInputHook(FALSE);
  if (m_pStandByOwner != nullptr) {
    if (::IsWindow(m_pStandByOwner->m_hWnd)) m_pStandByOwner->DestroyWindow();
    delete m_pStandByOwner;
  }
}

BOOL SECSplashWnd::Create(CWnd* pParent, DWORD dwStyle, DWORD dwExStyle) {
  dwExStyle &= ~static_cast<DWORD>(WS_EX_TOOLWINDOW);
  CWnd* owner = pParent != nullptr ? pParent : AfxGetMainWnd();
  if (owner == nullptr && !m_bCustomTitle) {
    m_pStandByOwner = new CWnd;
    if (!m_pStandByOwner->CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), CString(MAKEINTRESOURCE(IDS_SEC_SPLASH_PARENT)), WS_POPUP, 0, 0,
                                   0, 0, nullptr, nullptr)) {
      delete m_pStandByOwner;
      m_pStandByOwner = nullptr;
      return FALSE;
    }
    owner = m_pStandByOwner;
    m_bTopmost = TRUE;
  }
  m_pDisabledWnd = owner;
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(m_nBitmapID), RT_BITMAP);
  HBITMAP bitmap = static_cast<HBITMAP>(
      ::LoadImage(module, MAKEINTRESOURCE(m_nBitmapID), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap != nullptr) {
    BITMAP info{};
    ::GetObject(bitmap, sizeof(info), &info);
    m_nBitmapWidth = info.bmWidth;
    m_nBitmapHeight = info.bmHeight;
  }
  if (m_bTopmost) dwExStyle |= WS_EX_TOPMOST;
  CString title = CString(MAKEINTRESOURCE(IDS_SEC_SPLASH_TITLE));
  if (m_bCustomTitle) {
    dwExStyle |= WS_EX_APPWINDOW;
    title = m_strTitle;
  }
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - m_nBitmapWidth) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - m_nBitmapHeight) / 2;
  if (!CreateEx(dwExStyle, AfxRegisterWndClass(0), title, dwStyle & ~static_cast<DWORD>(WS_VISIBLE), x, y,
                m_nBitmapWidth, m_nBitmapHeight, owner != nullptr ? owner->m_hWnd : nullptr, nullptr)) {
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    return FALSE;
  }
  if (bitmap != nullptr) {
    HDC dc = ::GetDC(m_hWnd);
    m_dib.CreateFromBitmap(dc, bitmap);
    ::ReleaseDC(m_hWnd, dc);
    ::DeleteObject(bitmap);
    if (m_dib.CreatePalette()) m_pPalette = m_dib.GetPalette();
  }
  if (owner != nullptr && owner != m_pStandByOwner) DisableParent(TRUE);
  if (!m_bWaitForClose) {
    m_nTimer = SetTimer(kTimerID, m_nDisplayTime, nullptr);
    InstallInputHook(TRUE);
  }
  if (dwStyle & WS_VISIBLE) {
    ShowWindow(SW_SHOW);
    UpdateWindow();
  }
  return TRUE;
}

void SECSplashWnd::SetTitle(LPCTSTR lpszTitle) {
  m_bCustomTitle = TRUE;
  m_strTitle = lpszTitle;
  if (m_hWnd != nullptr) SetWindowText(lpszTitle);
}

void SECSplashWnd::Close() {
  if (m_hWnd != nullptr) SendMessage(WM_CLOSE);
}

void SECSplashWnd::RestartTimer() {
  if (m_hWnd != nullptr) m_nTimer = SetTimer(kTimerID, m_nDisplayTime, nullptr);
}

void SECSplashWnd::SetDisplayTime(UINT nMilliseconds) {
  m_nDisplayTime = nMilliseconds;
  m_bWaitForClose = FALSE;
  RestartTimer();
  if (m_hWnd != nullptr) InstallInputHook(TRUE);
}

void SECSplashWnd::DisableParent(BOOL bDisable) {
  if (m_pDisabledWnd == nullptr || !::IsWindow(m_pDisabledWnd->m_hWnd)) return;
  m_pDisabledWnd->EnableWindow(!bDisable);
  m_bParentDisabled = bDisable;
  if (m_hWnd != nullptr) EnableWindow(TRUE);
}

void SECSplashWnd::SetTopmost(BOOL bTopmost) {
  m_bTopmost = bTopmost;
  if (m_hWnd != nullptr)
    SetWindowPos(bTopmost ? &CWnd::wndTopMost : &CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void SECSplashWnd::SetCloseOnInput(BOOL bCloseOnInput) { m_bCloseOnInput = bCloseOnInput; }

BOOL SECSplashWnd::OnDrawSplash(CDC*) { return TRUE; }

BOOL SECSplashWnd::PreTranslateMessage(MSG* pMsg) {
  if (!m_bWaitForClose && m_bCloseOnInput && ClosesSplash(pMsg->message)) {
    PostMessage(WM_CLOSE);
    return TRUE;
  }
  return CWnd::PreTranslateMessage(pMsg);
}

void SECSplashWnd::InstallInputHook(BOOL bInstall) {
  if (bInstall && m_hInputHook == nullptr) {
    m_hInputHook = ::SetWindowsHookEx(WH_GETMESSAGE, InputHook, nullptr, ::GetCurrentThreadId());
    g_pHookedSplash = this;
  } else if (!bInstall && m_hInputHook != nullptr) {
    ::UnhookWindowsHookEx(m_hInputHook);
    m_hInputHook = nullptr;
    if (g_pHookedSplash == this) g_pHookedSplash = nullptr;
  }
}

LRESULT CALLBACK SECSplashWnd::InputHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  SECSplashWnd* splash = g_pHookedSplash;
  // Only messages taken off the queue count; peeking leaves them for their real reader.
  if (code == HC_ACTION && wParam == PM_REMOVE && msg != nullptr && splash != nullptr && splash->m_hWnd != nullptr &&
      !splash->m_bWaitForClose && splash->m_bCloseOnInput && ClosesSplash(msg->message)) {
    splash->PostMessage(WM_CLOSE);
    // A window shown over the splash (a message of the start) takes the input as well: the key
    // or click that answers it is not spent on the splash.
    if (!splash->OwnsVisibleWindow()) msg->message = WM_NULL;
    return 0;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL SECSplashWnd::OwnsVisibleWindow() const {
  struct Search {
    HWND splash;
    BOOL found;
  } search{m_hWnd, FALSE};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        if (hWnd == s->splash || !::IsWindowVisible(hWnd)) return TRUE;
        for (HWND h = ::GetWindow(hWnd, GW_OWNER); h != nullptr; h = ::GetWindow(h, GW_OWNER))
          if (h == s->splash) {
            s->found = TRUE;
            return FALSE;
          }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void SECSplashWnd::OnPaint() {
  CPaintDC dc(this);
  CPalette* old = nullptr;
  if (m_pPalette != nullptr) {
    old = dc.SelectPalette(m_pPalette, FALSE);
    dc.RealizePalette();
  }
  if (m_dib.GetBits() != nullptr) m_dib.Draw(&dc, 0, 0, m_nBitmapWidth, m_nBitmapHeight, SRCCOPY);
  if (old != nullptr) dc.SelectPalette(old, FALSE);
  OnDrawSplash(&dc);
}

void SECSplashWnd::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTimerID)
    PostMessage(WM_CLOSE);
  else
    CWnd::OnTimer(nIDEvent);
}

void SECSplashWnd::OnClose() {
  if (m_nTimer != 0) {
    KillTimer(m_nTimer);
    m_nTimer = 0;
  }
  InstallInputHook(FALSE);
  // A window shown while the splash was up (a message box the start-up had to show) belongs to
  // the splash, and would go with it unread: the splash steps out of sight and closes once that
  // window is gone.
  if (OwnsVisibleWindow()) {
    ShowWindow(SW_HIDE);
    m_nTimer = SetTimer(kTimerID, kOwnedWindowRecheck, nullptr);
    return;
  }
  if (m_bParentDisabled) DisableParent(FALSE);
  // The stand-by owner goes with the object, after the splash: destroying it first would take
  // the splash along while this handler still runs.
  DestroyWindow();
}

BOOL SECSplashWnd::RealizePalette() {
  if (m_pPalette == nullptr) return FALSE;
  CClientDC dc(this);
  CPalette* old = dc.SelectPalette(m_pPalette, FALSE);
  const UINT changed = dc.RealizePalette();
  dc.SelectPalette(old, FALSE);
  if (changed != 0) Invalidate(FALSE);
  return changed != 0;
}

LRESULT SECSplashWnd::OnQueryNewPalette(WPARAM, LPARAM) { return RealizePalette(); }

LRESULT SECSplashWnd::OnPaletteChanged(WPARAM wParam, LPARAM) {
  HWND from = reinterpret_cast<HWND>(wParam);
  if (from != m_hWnd && !::IsChild(m_hWnd, from)) RealizePalette();
  return 0;
}

void SECSplashWnd::PostNcDestroy() { delete this; }
