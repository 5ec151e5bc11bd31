// SECMenuBarMessages and SECMenuBarFeature: keys before dispatch, the popup tracking loop with
// its pending drop, the system menu, and the thread hooks of menu mode and of an open popup.
#include "bars/SECMenuBarFeature.h"

#include <cctype>

#include "bars/SECFrameWndServices.h"
#include "bars/SECMDIMenuBar.h"
#include "bars/SECMenuBar.h"

IMPLEMENT_DYNAMIC(SECMenuBarFeature, SECBmpMenuPlugIn)

namespace {

// One user-interface thread tracks one popup at a time.
struct TrackingState {
  SECMenuBarMessages* active = nullptr;
  HWND trackedBar = nullptr;
  // The drop that replaces the open popup once it has closed (held by value).
  std::optional<SECBtnNotify> pending;
  BOOL trackingSystemMenu = FALSE;
  HHOOK msgFilter = nullptr;
  HHOOK keyboard = nullptr;
  HHOOK mouse = nullptr;
  POINT lastPoint{0, 0};
};

TrackingState& State() {
  static TrackingState state;
  return state;
}

bool IsMenuCode(int code) { return code <= SEC_TBN_DROPMENU && code >= SEC_TBN_EXITMENUMODE; }

// The character after the first "&" of a text (its first character without one), upper-cased.
char MnemonicOfText(const CString& text) {
  const int amp = text.Find('&');
  const int at = amp >= 0 ? amp + 1 : 0;
  return at < text.GetLength() ? static_cast<char>(::toupper(static_cast<unsigned char>(text[at]))) : 0;
}

class MenuBarHooks : public SECMenuBarHooks {
 public:
  kelpwood::foundation::SECWndPlugIn* CreateFeature(SECMenuBar* pMenuBar) override {
    auto* feature = new SECMenuBarFeature;
    feature->SetMenuBar(pMenuBar);
    return feature;
  }
  BOOL SwitchMenu(kelpwood::foundation::SECWndPlugIn*, SECMenuBar* pMenuBar, UINT nMenuID) override {
    // -1 stands for the frame's own menu.
    return pMenuBar != nullptr && pMenuBar->SwitchMenu(nMenuID == static_cast<UINT>(-1) ? SECMenuBar::kDefaultMenuID : nMenuID);
  }
  void SkipNextHide(SECMenuBar* pMenuBar) override {
    if (pMenuBar != nullptr) pMenuBar->SetSkipNextHide(TRUE);
  }
  BOOL ShowChildButtons(SECMenuBar* pMenuBar, BOOL bShow) override {
    auto* mdiBar = dynamic_cast<SECMDIMenuBar*>(pMenuBar);
    return mdiBar != nullptr && mdiBar->UpdateMDIButtons(!bShow);
  }
};

}  // namespace

void SECInstallMenuBarHooks() {
  static MenuBarHooks hooks;
  if (SECGetMenuBarHooks() != &hooks) SECSetMenuBarHooks(&hooks);
}

UINT SECMenuBarMessages::GetMenuMessage() { return SECFrameServices::GetMenuMessage(); }

UINT SECMenuBarMessages::GetMenuProdMessage() {
  static const UINT message = ::RegisterWindowMessage("WM_SEC_MENUPROD");
  return message;
}

BOOL SECMenuBarMessages::IsTrackingSystemMenu() { return State().trackingSystemMenu; }
BOOL SECMenuBarMessages::IsTrackingPopup() { return State().trackedBar != nullptr; }
BOOL SECMenuBarMessages::IsMenuPending() { return State().pending.has_value(); }

SECMenuBarMessages::~SECMenuBarMessages() {
  TrackingState& state = State();
  if (state.active == this) {
    HookKeyboardMouse(FALSE);
    HookMsgFilter(FALSE);
    state.active = nullptr;
  }
}

void SECMenuBarMessages::PostMenuProd(int nDirection) {
  m_bMenuSelect = FALSE;
  m_nMoveDirection = nDirection;
  if (CWnd* frame = GetFrame()) frame->PostMessage(GetMenuProdMessage());
}

void SECMenuBarMessages::OnMenuProd() {
  if (m_bMenuSelect || m_pMenuBar == nullptr) return;  // the popup used the key (a submenu)
  m_bKeyboardOpen = TRUE;
  m_pMenuBar->NavigateMenus(m_nMoveDirection);
}

void SECMenuBarMessages::CancelMenu() {
  if (m_pMenuBar != nullptr && m_pMenuBar->InMenuMode()) m_pMenuBar->ExitMenuMode();
  if (State().trackedBar != nullptr) ::EndMenu();
}

void SECMenuBarMessages::SetMenu(UINT nMenuID) {
  if (m_pMenuBar == nullptr) return;
  m_pMenuBar->SwitchMenu(nMenuID);
  if (auto* frame = dynamic_cast<CFrameWnd*>(GetFrame()); frame != nullptr && frame->m_hWnd != nullptr) {
    if (frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
      frame->DelayRecalcLayout();
    else
      frame->RecalcLayout();
  }
  m_pMenuBar->Invalidate();
}

void SECMenuBarMessages::DropHotMenu() {
  if (m_pMenuBar == nullptr || !m_pMenuBar->InMenuMode()) return;
  m_bKeyboardOpen = TRUE;
  m_pMenuBar->OpenHotMenu();
}

void SECMenuBarMessages::HotTrack(CPoint ptScreen) {
  if (m_pMenuBar == nullptr || !m_pMenuBar->InMenuMode()) return;
  CPoint point = ptScreen;
  m_pMenuBar->ScreenToClient(&point);
  const int index = m_pMenuBar->HitTest(point);
  SECStdBtn* button = m_pMenuBar->GetButton(index);
  if (button != nullptr && button->m_nType == SECStdBtn::MenuBtn && index != m_pMenuBar->GetMenuBtnIndex())
    m_pMenuBar->EnterMenuMode(index);
}

BOOL SECMenuBarMessages::OnSysIconClick(const MSG* pMsg) {
  CWnd* frame = GetFrame();
  CRect icon;
  frame->GetWindowRect(&icon);
  if (frame->GetStyle() & WS_THICKFRAME) icon.DeflateRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
  icon.right = icon.left + ::GetSystemMetrics(SM_CXSIZE) - 1;
  icon.bottom = icon.top + ::GetSystemMetrics(SM_CYSIZE);
  if (!icon.PtInRect(pMsg->pt)) return FALSE;
  frame->PostMessage(WM_CANCELMODE);
  ::EndMenu();
  if (pMsg->message == WM_LBUTTONDBLCLK) {
    const UINT command = ::GetMenuDefaultItem(::GetSystemMenu(frame->m_hWnd, FALSE), FALSE, 0);
    if (command != static_cast<UINT>(-1)) frame->PostMessage(WM_SYSCOMMAND, command);
  }
  return TRUE;
}

HMENU SECMenuBarMessages::ResolveMenu(const SECBtnNotify& record, BOOL& bSystem) {
  bSystem = FALSE;
  if (static_cast<int>(record.hdr.code) == SEC_TBN_CLOSEMENU) return nullptr;
  CWnd* frame = GetFrame();
  if (record.lParam2 >= 0)
    return reinterpret_cast<HMENU>(frame->SendMessage(GetMenuMessage(), static_cast<WPARAM>(record.lParam1), record.lParam2));
  if (record.lParam1 != 0) return reinterpret_cast<HMENU>(record.lParam1);
  bSystem = TRUE;
  HMENU system = ::GetSystemMenu(frame->m_hWnd, FALSE);
  if (system != nullptr && ::GetMenuDefaultItem(system, FALSE, 0) == static_cast<UINT>(-1))
    ::SetMenuDefaultItem(system, SC_CLOSE, FALSE);
  return system;
}

BOOL SECMenuBarMessages::OnBarNotify(WPARAM, const SECBtnNotify* pRecord, LRESULT* pResult) {
  TrackingState& state = State();
  *pResult = 0;
  const int code = static_cast<int>(pRecord->hdr.code);
  if (code == SEC_TBN_ENTERMENUMODE) {
    state.active = this;
    HookKeyboardMouse(TRUE);
    return TRUE;
  }
  if (code == SEC_TBN_EXITMENUMODE) {
    HookKeyboardMouse(FALSE);
    return TRUE;
  }
  SECBtnNotify record = *pRecord;
  BOOL system = FALSE;
  HMENU menu = ResolveMenu(record, system);
  if (state.trackedBar != nullptr) {
    // A popup is open: it closes, and a menu asked for opens after it.
    if (menu != nullptr) state.pending = record;
    ::EndMenu();
    return TRUE;
  }
  while (menu != nullptr) {
    state.trackedBar = record.hdr.hwndFrom;
    state.active = this;
    if (system)
      TrackSystemMenu(menu);
    else
      TrackPopup(m_pMenuBar, menu, record);
    state.trackedBar = nullptr;
    if (!state.pending) break;
    record = *state.pending;
    state.pending.reset();
    menu = ResolveMenu(record, system);
  }
  state.active = nullptr;
  if (m_pMenuBar != nullptr && m_pMenuBar->m_hWnd != nullptr) m_pMenuBar->CancelMenuButton();
  return TRUE;
}

void SECMenuBarMessages::TrackPopup(SECMenuBar* pBar, HMENU hMenu, const SECBtnNotify& record) {
  CRect rect(0, 0, 0, 0);
  if (pBar != nullptr && record.nIndex >= 0) {
    pBar->GetItemRect(record.nIndex, &rect);
    pBar->ClientToScreen(&rect);
  }
  HookMsgFilter(TRUE);
  TPMPARAMS params{};
  params.cbSize = sizeof(params);
  params.rcExclude = rect;
  ::TrackPopupMenuEx(hMenu, 0, rect.left, rect.bottom, GetFrame()->m_hWnd, &params);
  HookMsgFilter(FALSE);
}

void SECMenuBarMessages::TrackSystemMenu(HMENU hMenu) {
  CWnd* frame = GetFrame();
  CRect rect;
  frame->GetWindowRect(&rect);
  rect.DeflateRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
  rect.right = rect.left + ::GetSystemMetrics(SM_CXSIZE);
  rect.bottom = rect.top + ::GetSystemMetrics(SM_CYSIZE);
  HookMsgFilter(TRUE);
  State().trackingSystemMenu = TRUE;
  const UINT command = static_cast<UINT>(
      ::TrackPopupMenu(hMenu, TPM_RETURNCMD, rect.left, rect.bottom, 0, frame->m_hWnd, &rect));
  State().trackingSystemMenu = FALSE;
  if (command != 0) frame->PostMessage(WM_SYSCOMMAND, command);
  HookMsgFilter(FALSE);
}

void SECMenuBarMessages::OnInitMenuPopupKeys() {
  if (!m_bKeyboardOpen) return;
  m_bKeyboardOpen = FALSE;
  GetFrame()->PostMessage(WM_KEYDOWN, VK_DOWN, 0);
}

void SECMenuBarMessages::OnSysCommand(UINT nID, LPARAM, BOOL& bHandled) {
  // A click on the frame's icon opens the system menu through the menubar.
  if (nID == (SC_MOUSEMENU | HTSYSMENU) && m_pMenuBar != nullptr) {
    m_pMenuBar->DropSystemMenu();
    bHandled = TRUE;
  }
}

void SECMenuBarMessages::OnNcActivate(BOOL bActive) {
  if (!bActive) CancelMenu();
}

BOOL SECMenuBarMessages::DropMnemonic(UINT nKey) {
  const int index = m_pMenuBar->FindMnemonic(static_cast<TCHAR>(nKey));
  if (index < 0) return FALSE;
  m_bKeyboardOpen = TRUE;
  m_pMenuBar->OpenMenuButton(index);
  return TRUE;
}

BOOL SECMenuBarMessages::PreTranslateKey(MSG* pMsg) {
  if (m_pMenuBar == nullptr || m_pMenuBar->m_hWnd == nullptr) return FALSE;
  const bool altHeld = ::GetKeyState(VK_MENU) < 0;
  const UINT key = static_cast<UINT>(pMsg->wParam);
  // A hidden menubar (print preview) takes no keys: its menus would hang from nothing. A frame
  // that can show it (full screen) does so for a menu's letter.
  if (!m_pMenuBar->IsWindowVisible()) {
    const bool menuLetter = altHeld && pMsg->message == WM_SYSKEYDOWN && key < 0x80 &&
                            m_pMenuBar->FindMnemonic(static_cast<TCHAR>(key)) >= 0;
    if (!menuLetter || GetFrame()->SendMessage(kRevealMenuBar) == 0 || !m_pMenuBar->IsWindowVisible()) return FALSE;
  }
  if (altHeld && pMsg->message == WM_SYSKEYDOWN && std::isalnum(static_cast<int>(key & 0xFF)) && key < 0x80) {
    // A control of the active view with the same mnemonic takes the key. Each control is seen
    // at most once, so a view without tab stops cannot keep the scan going.
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CFrameWnd* active = frame != nullptr ? frame->GetActiveFrame() : nullptr;
    CView* view = active != nullptr ? active->GetActiveView() : nullptr;
    if (view != nullptr) {
      const char wanted = static_cast<char>(::toupper(static_cast<int>(key)));
      HWND start = ::GetNextDlgGroupItem(view->m_hWnd, nullptr, FALSE);
      HWND child = start;
      for (int seen = 0; child != nullptr && seen < 1024; ++seen) {
        CString text;
        CWnd::FromHandle(child)->GetWindowText(text);
        if (!text.IsEmpty() && MnemonicOfText(text) == wanted) {
          m_bAltSeen = TRUE;
          return FALSE;
        }
        child = ::GetNextDlgTabItem(view->m_hWnd, child, FALSE);
        if (child == start) break;
      }
    }
  }
  switch (pMsg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // Alt held for a click or a drag (a toolbar button moved) is a modifier: its release
      // leaves the menus alone.
      if (altHeld) m_bAltSeen = TRUE;
      return FALSE;
    case WM_KEYDOWN:
      // A key pressed with Alt held makes Alt a modifier (Ctrl with Alt comes as a plain key).
      if (altHeld) m_bAltSeen = TRUE;
      return FALSE;
    case WM_SYSKEYDOWN:
      if (key == VK_MENU) {
        if ((pMsg->lParam & 0x40000000) == 0) {
          m_bAltDownSeen = TRUE;
          // Alt pressed to Shift or Ctrl held (Shift+Alt switches the keyboard layout) is no lone Alt.
          if (::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0) m_bAltSeen = TRUE;
        }
        if (m_pMenuBar->InMenuMode()) {
          m_pMenuBar->ExitMenuMode();
          m_bAltSeen = TRUE;
        }
        return FALSE;
      }
      if (!altHeld) return FALSE;
      // Any other key with Alt, Shift and Ctrl among them, makes Alt a modifier: its release
      // opens no menu.
      m_bAltSeen = TRUE;
      if (key == VK_SPACE || key == VK_OEM_MINUS || key == VK_SUBTRACT) {
        if (m_pMenuBar->InMenuMode()) m_pMenuBar->ExitMenuMode();
        m_bAltSeen = TRUE;
        m_bKeyboardOpen = TRUE;
        m_pMenuBar->DropSystemMenu();
        return TRUE;
      }
      if (m_pMenuBar->FindMnemonic(static_cast<TCHAR>(key)) < 0) return FALSE;
      m_bAltSeen = TRUE;
      return DropMnemonic(key);
    case WM_SYSKEYUP:
    case WM_KEYUP:
      if (key != VK_MENU) return FALSE;
      // Only a lone Alt pressed and released here opens the menus: an Alt that went down while a
      // dialog had the keys (and maybe took its letter) is no lone Alt of this window.
      if (!m_bAltSeen && m_bAltDownSeen && pMsg->message == WM_SYSKEYUP) {
        if (m_pMenuBar->InMenuMode()) {
          m_pMenuBar->ExitMenuMode();
        } else {
          const int first = m_pMenuBar->GetFirstTopMenuButton();
          if (first >= 0) m_pMenuBar->EnterMenuMode(first);
        }
      }
      m_bAltSeen = FALSE;
      m_bAltDownSeen = FALSE;
      return pMsg->message == WM_SYSKEYUP;
    case WM_SYSCOMMAND:
      if ((pMsg->wParam & 0xFFF0) != SC_KEYMENU) return FALSE;
      if (pMsg->lParam == ' ' || pMsg->lParam == '-') {
        if (m_pMenuBar->InMenuMode()) m_pMenuBar->ExitMenuMode();
        m_bKeyboardOpen = TRUE;
        m_pMenuBar->DropSystemMenu();
      } else if (!DropMnemonic(static_cast<UINT>(pMsg->lParam))) {
        ::MessageBeep(0);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

// ---- hooks ----

void SECMenuBarMessages::HookMsgFilter(BOOL bOn) {
  TrackingState& state = State();
  if (bOn && state.msgFilter == nullptr) {
    // A move to where the pointer already rests (sent as the popup shows) switches nothing.
    ::GetCursorPos(&state.lastPoint);
    state.msgFilter = ::SetWindowsHookEx(WH_MSGFILTER, MsgFilterHook, nullptr, ::GetCurrentThreadId());
  } else if (!bOn && state.msgFilter != nullptr) {
    ::UnhookWindowsHookEx(state.msgFilter);
    state.msgFilter = nullptr;
  }
}

void SECMenuBarMessages::HookKeyboardMouse(BOOL bOn) {
  TrackingState& state = State();
  if (bOn && state.keyboard == nullptr) {
    state.keyboard = ::SetWindowsHookEx(WH_KEYBOARD, KeyboardHook, nullptr, ::GetCurrentThreadId());
    state.mouse = ::SetWindowsHookEx(WH_MOUSE, MouseHook, nullptr, ::GetCurrentThreadId());
  } else if (!bOn && state.keyboard != nullptr) {
    ::UnhookWindowsHookEx(state.keyboard);
    ::UnhookWindowsHookEx(state.mouse);
    state.keyboard = state.mouse = nullptr;
  }
}

LRESULT CALLBACK SECMenuBarMessages::MsgFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  TrackingState& state = State();
  auto* msg = reinterpret_cast<MSG*>(lParam);
  SECMenuBarMessages* self = state.active;
  if (code == MSGF_MENU && self != nullptr && msg != nullptr) {
    if (state.trackingSystemMenu && (msg->message == WM_LBUTTONDOWN || msg->message == WM_LBUTTONDBLCLK) &&
        self->OnSysIconClick(msg))
      return 1;
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_LBUTTONDOWN) {
      const POINT point = msg->pt;
      if (msg->message == WM_MOUSEMOVE && point.x == state.lastPoint.x && point.y == state.lastPoint.y) return 1;
      state.lastPoint = point;
      if (::WindowFromPoint(point) == state.trackedBar && self->m_pMenuBar != nullptr) {
        MSG barMsg = *msg;
        barMsg.hwnd = state.trackedBar;
        POINT client = point;
        ::ScreenToClient(state.trackedBar, &client);
        barMsg.lParam = MAKELPARAM(client.x, client.y);
        if (self->m_pMenuBar->FilterMenuModeMouse(&barMsg)) return 1;
      }
    } else if (msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
      self->PostMenuProd(msg->wParam == VK_RIGHT ? 1 : 0);
    } else if (msg->message == WM_SYSKEYDOWN && msg->wParam == VK_MENU) {
      self->SetAltSeen();
    }
  }
  return ::CallNextHookEx(state.msgFilter, code, wParam, lParam);
}

LRESULT CALLBACK SECMenuBarMessages::KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  TrackingState& state = State();
  SECMenuBarMessages* self = state.active;
  if (code != HC_ACTION || self == nullptr || wParam == VK_MENU)
    return ::CallNextHookEx(state.keyboard, code, wParam, lParam);
  if (lParam & 0x80000000) return 1;  // key up: consumed
  switch (wParam) {
    case VK_ESCAPE: self->CancelMenu(); break;
    case VK_LEFT: self->PostMenuProd(0); break;
    case VK_RIGHT: self->PostMenuProd(1); break;
    case VK_DOWN: self->DropHotMenu(); break;
    default: {
      // Any other key is a mnemonic, as if typed with Alt.
      MSG msg{self->GetFrame()->m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam), 0, {0, 0}};
      self->PreTranslateKey(&msg);
      break;
    }
  }
  return 1;
}

LRESULT CALLBACK SECMenuBarMessages::MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  TrackingState& state = State();
  SECMenuBarMessages* self = state.active;
  auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
  if (code == HC_ACTION && self != nullptr && info != nullptr) {
    if (wParam == WM_MOUSEMOVE && (info->pt.x != state.lastPoint.x || info->pt.y != state.lastPoint.y)) {
      state.lastPoint = info->pt;
      self->HotTrack(info->pt);
    } else if (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN) {
      self->CancelMenu();
    }
  }
  return ::CallNextHookEx(state.mouse, code, wParam, lParam);
}

// ---- the feature ----

SECMenuBarFeature::SECMenuBarFeature() : SECBmpMenuPlugIn(FALSE) {}
SECMenuBarFeature::~SECMenuBarFeature() = default;

BOOL SECMenuBarFeature::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The menubar's notifications come by the frame's command routing.
  if (static_cast<UINT>(HIWORD(nCode)) == WM_NOTIFY && pExtra != nullptr && m_pMenuBar != nullptr) {
    auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
    const auto* record = reinterpret_cast<const SECBtnNotify*>(notify->pNMHDR);
    if (record != nullptr && record->hdr.hwndFrom == m_pMenuBar->m_hWnd &&
        IsMenuCode(static_cast<int>(record->hdr.code))) {
      LRESULT result = 0;
      OnBarNotify(nID, record, &result);
      if (notify->pResult != nullptr) *notify->pResult = result;
      return TRUE;
    }
  }
  return SECBmpMenuPlugIn::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL SECMenuBarFeature::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == GetMenuProdMessage()) {
    OnMenuProd();
    m_bHandled = TRUE;
    *pResult = 0;
    return TRUE;
  }
  if (message == WM_MENUSELECT) {
    SECMenuBarMessages::OnMenuSelect();
  } else if (message == WM_INITMENUPOPUP) {
    OnInitMenuPopupKeys();
  } else if (message == WM_SYSCOMMAND) {
    BOOL handled = FALSE;
    SECMenuBarMessages::OnSysCommand(static_cast<UINT>(wParam), lParam, handled);
    if (handled) {
      m_bHandled = TRUE;
      *pResult = 0;
      return TRUE;
    }
  } else if (message == WM_NCACTIVATE) {
    SECMenuBarMessages::OnNcActivate(static_cast<BOOL>(wParam));
  }
  return SECBmpMenuPlugIn::OnWndMsg(message, wParam, lParam, pResult);
}
