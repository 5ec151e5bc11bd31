// CWnd: the handle map, creation through the creation hook, subclassing, plug-ins, and the
// helpers over window handles.
#include "afx/CWnd.h"

#include "afx/AfxControls.h"
#include "afx/AfxResources.h"
#include "afx/CWinThread.h"
#include "win/WinKeys.h"
#include "win/WinUser.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

using WndMap = brambolt::afx::HandleMap<CWnd, HWND>;

WndMap& Map() {
  return brambolt::afx::ThreadHandleMap<WndMap>([](CWnd* wnd) { wnd->m_hWnd = nullptr; });
}

CWnd* MakeTemporary(HWND hWnd) {
  auto* wnd = new CWnd;
  wnd->m_hWnd = hWnd;
  return wnd;
}

void MapRect(HWND from, HWND to, LPRECT rect) {
  POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
  ::MapWindowPoints(from, to, corners, 2);
  *rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// The parent of a child window, the owner of any other.
HWND ParentOrOwner(HWND hWnd) {
  return (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
}

}  // namespace

// The pseudo-handles are never windows, so these objects never destroy anything.
const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::~CWnd() {
  // The pseudo-handle objects are destroyed at exit, after the thread's handle map: they were
  // never in it and must not reach it.
  if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost) return;
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
  // A borrowed or temporary handle that is not a window any more is simply forgotten.
  if (m_hWnd != nullptr) Map().RemoveHandle(m_hWnd, this);
}

// ---- handle maps ----

CWnd* CWnd::FromHandle(HWND hWnd) { return Map().FromHandle(hWnd, MakeTemporary); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return Map().LookupPermanent(hWnd); }

void CWnd::DeleteTempMap() { Map().DeleteTemp(); }

BOOL CWnd::Attach(HWND hWndNew) { return Map().Attach(this, m_hWnd, hWndNew); }

HWND CWnd::Detach() { return Map().Detach(this, m_hWnd); }

// ---- creation ----

namespace {

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  if (code == HCBT_CREATEWND && state->m_pWndInit != nullptr) {
    // The first window created after the hook was set belongs to m_pWndInit; the windows it
    // creates in turn are left alone.
    CWnd* pWnd = state->m_pWndInit;
    state->m_pWndInit = nullptr;
    auto hWnd = reinterpret_cast<HWND>(wParam);
    pWnd->Attach(hWnd);
    pWnd->PreSubclassWindow();
    WNDPROC afxProc = AfxGetAfxWndProc();
    auto old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(afxProc)));
    if (old != afxProc) *pWnd->GetSuperWndProcAddr() = old;
  }
  return ::CallNextHookEx(state->m_hHookOldCbtFilter, code, wParam, lParam);
}

}  // namespace

void AfxHookWindowCreate(CWnd* pWnd) {
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_hHookOldCbtFilter == nullptr)
    state->m_hHookOldCbtFilter = ::SetWindowsHookEx(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
  state->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_hHookOldCbtFilter != nullptr) {
    ::UnhookWindowsHookEx(state->m_hHookOldCbtFilter);
    state->m_hHookOldCbtFilter = nullptr;
  }
  if (state->m_pWndInit != nullptr) {
    state->m_pWndInit = nullptr;
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, brambolt::afx::Extent(rect.left, rect.right),
                  brambolt::afx::Extent(rect.top, rect.bottom), pParentWnd->GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                  pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, brambolt::afx::Extent(rect.left, rect.right),
                  brambolt::afx::Extent(rect.top, rect.bottom), pParentWnd->GetSafeHwnd(),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCT cs{};
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = static_cast<LONG>(dwStyle);
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // When the window never came into being, no WM_NCDESTROY will clean up after this object.
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) cs.lpszClass = AfxRegisterDefaultWndClass();
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  HWND hWnd = m_hWnd;
  bool permanent = FromHandlePermanent(hWnd) == this;
  // A permanent object detaches itself in WM_NCDESTROY and may even be deleted by then.
  BOOL destroyed = ::DestroyWindow(hWnd);
  if (!permanent) m_hWnd = nullptr;
  return destroyed;
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  DWORD exStyle = GetExStyle();
  if (nAdjustType == adjustBorder) exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, exStyle);
}

void CWnd::OnNcDestroy() {
  AfxNotifyWindowGone(this);
  // Let the default procedure see the message, then put back the procedure the window had
  // unless someone subclassed it after us.
  auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC));
  Default();
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC)) == current) {
    WNDPROC super = *GetSuperWndProcAddr();
    if (super != nullptr) ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
  }
  Detach();
  PostNcDestroy();
}

// ---- subclassing ----

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  WNDPROC* super = GetSuperWndProcAddr();
  auto old = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc())));
  if (*super == nullptr) *super = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND control = ::GetDlgItem(pParent->GetSafeHwnd(), static_cast<int>(nID));
  return control != nullptr && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
  WNDPROC* super = GetSuperWndProcAddr();
  ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*super));
  *super = nullptr;
  return Detach();
}

// ---- plug-ins ----

void CWnd::AddPlugIn(IWndPlugIn* pPlugIn) {
  if (std::find(m_plugIns.begin(), m_plugIns.end(), pPlugIn) == m_plugIns.end()) m_plugIns.push_back(pPlugIn);
}

void CWnd::RemovePlugIn(IWndPlugIn* pPlugIn) {
  m_plugIns.erase(std::remove(m_plugIns.begin(), m_plugIns.end(), pPlugIn), m_plugIns.end());
}

// ---- relatives ----

CWnd* CWnd::GetTopLevelParent() const {
  HWND top = m_hWnd;
  for (HWND up; top != nullptr && (up = ParentOrOwner(top)) != nullptr;) top = up;
  return FromHandle(top);
}

CWnd* CWnd::GetTopLevelOwner() const {
  HWND top = m_hWnd;
  for (HWND up; top != nullptr && (up = ::GetWindow(top, GW_OWNER)) != nullptr;) top = up;
  return FromHandle(top);
}

CWnd* CWnd::GetParentOwner() const {
  HWND top = m_hWnd;
  for (HWND up; (::GetWindowLong(top, GWL_STYLE) & WS_CHILD) && (up = ::GetParent(top)) != nullptr;) top = up;
  return FromHandle(top);
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

BOOL CWnd::OnHelpInfo(HELPINFO*) {
  if ((GetStyle() & WS_CHILD) == 0) {
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && pMainWnd->GetSafeHwnd() != nullptr && ::GetKeyState(VK_SHIFT) >= 0 &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
      pMainWnd->SendMessage(WM_COMMAND, ID_HELP);
      return TRUE;
    }
  }
  return static_cast<BOOL>(Default());
}

void CWnd::OnHelp() {
  // The next window up: the parent of a child window, the owner of a top-level one.
  auto up = [](HWND hWnd) {
    return (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) != 0 ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
  };
  auto answered = [&up](HWND hWnd) {
    for (; hWnd != nullptr; hWnd = up(hWnd))
      if (::SendMessage(hWnd, WM_COMMANDHELP, 0, 0) != 0) return true;
    return false;
  };
  CWnd* pTop = GetTopLevelParent();
  if (answered(::GetCapture()) || answered(::GetFocus()) ||
      answered(::GetLastActivePopup(pTop != nullptr ? pTop->GetSafeHwnd() : m_hWnd)))
    return;
  SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  for (HWND child = ::GetTopWindow(m_hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (bOnlyPerm) {
      if (CWnd* pWnd = FromHandlePermanent(child)) AfxCallWndProc(pWnd, child, message, wParam, lParam);
    } else {
      ::SendMessage(child, message, wParam, lParam);
    }
    if (bDeep && ::GetTopWindow(child) != nullptr) {
      CWnd borrowed;
      borrowed.m_hWnd = child;
      borrowed.SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
      borrowed.m_hWnd = nullptr;
    }
  }
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  CCmdUI state;
  CWnd control;  // borrows each child in turn
  for (HWND child = ::GetTopWindow(m_hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    control.m_hWnd = child;
    state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
    state.m_pOther = &control;
    // A control that handles its own update (a reflected update handler) needs no other.
    CWnd* permanent = FromHandlePermanent(child);
    if (permanent != nullptr &&
        permanent->CWnd::OnCmdMsg(0, static_cast<int>(MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE)), &state,
                                  nullptr))
      continue;
    if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) continue;
    // Only push buttons are disabled for want of a handler: check boxes, radio buttons and group
    // boxes work on their own.
    BOOL disable = bDisableIfNoHndler;
    if (disable) {
      if ((::SendMessage(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) == 0) {
        disable = FALSE;
      } else {
        UINT style = static_cast<UINT>(::GetWindowLong(child, GWL_STYLE)) & 0x0F;
        if (style == BS_AUTOCHECKBOX || style == BS_AUTO3STATE || style == BS_GROUPBOX || style == BS_AUTORADIOBUTTON)
          disable = FALSE;
      }
    }
    state.DoUpdate(pTarget, disable);
  }
  control.m_hWnd = nullptr;
}

// ---- styles, text, geometry ----

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return AfxModifyStyle(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return AfxModifyStyle(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

BOOL AfxModifyStyle(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD style = static_cast<DWORD>(::GetWindowLong(hWnd, nStyleOffset));
  DWORD changed = (style & ~dwRemove) | dwAdd;
  if (style == changed) return FALSE;
  ::SetWindowLong(hWnd, nStyleOffset, static_cast<LONG>(changed));
  if (nFlags != 0)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

void CWnd::GetWindowText(CString& rString) const {
  int length = ::GetWindowTextLength(m_hWnd);
  ::GetWindowText(m_hWnd, rString.GetBuffer(length + 1), length + 1);
  rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND item = ::GetDlgItem(m_hWnd, nID);
  if (item == nullptr) return 0;
  int length = ::GetWindowTextLength(item);
  ::GetWindowText(item, rString.GetBuffer(length + 1), length + 1);
  rString.ReleaseBuffer();
  return rString.GetLength();
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
  CString text;
  GetDlgItemText(nID, text);
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (bSigned && (*p == '-' || *p == '+')) negative = *p++ == '-';
  if (*p < '0' || *p > '9') {
    if (lpTrans != nullptr) *lpTrans = FALSE;
    return 0;
  }
  unsigned long long value = 0;
  bool overflow = false;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + static_cast<unsigned>(*p - '0');
    if (value > 0xFFFFFFFFull) overflow = true;
  }
  while (*p == ' ' || *p == '\t') ++p;
  unsigned long long limit = bSigned ? (negative ? 0x80000000ull : 0x7FFFFFFFull) : 0xFFFFFFFFull;
  BOOL ok = *p == '\0' && !overflow && value <= limit;
  if (lpTrans != nullptr) *lpTrans = ok;
  if (!ok) return 0;
  return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
  char text[16];
  if (bSigned)
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(nValue));
  else
    std::snprintf(text, sizeof(text), "%u", nValue);
  ::SetDlgItemText(m_hWnd, nID, text);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { SendDlgItemMessage(nIDButton, BM_SETCHECK, nCheck, 0); }

UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
  return static_cast<UINT>(::SendDlgItemMessage(m_hWnd, nIDButton, BM_GETCHECK, 0, 0));
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id) CheckDlgButton(id, id == nIDCheckButton ? 1 : 0);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
    if (IsDlgButtonChecked(id)) return id;
  return 0;
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
}

void CWnd::ClientToScreen(LPRECT lpRect) const { MapRect(m_hWnd, nullptr, lpRect); }

void CWnd::ScreenToClient(LPRECT lpRect) const { MapRect(nullptr, m_hWnd, lpRect); }

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const { MapRect(m_hWnd, pwndTo->GetSafeHwnd(), lpRect); }

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  DWORD style = GetStyle();
  // The alternate owner is tested before any member call on it: a compiler may take a pointer a
  // member was called through for one that is not null, and drop the test made after.
  HWND center = nullptr;
  if (pAlternateOwner != nullptr) {
    center = pAlternateOwner->m_hWnd;
  } else {
    center = ParentOrOwner(m_hWnd);
    if (center != nullptr) {
      // The window centred on may name another one to centre on instead.
      auto instead = reinterpret_cast<HWND>(::SendMessage(center, WM_QUERYCENTERWND, 0, 0));
      if (instead != nullptr) center = instead;
    }
  }
  CRect window;
  GetWindowRect(&window);
  CRect area, around;
  if (!(style & WS_CHILD)) {
    // Never centre on a hidden or minimised window; stay within the work area.
    if (center != nullptr) {
      DWORD centerStyle = static_cast<DWORD>(::GetWindowLong(center, GWL_STYLE));
      if (!(centerStyle & WS_VISIBLE) || (centerStyle & WS_MINIMIZE)) center = nullptr;
    }
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    if (center == nullptr)
      around = area;
    else
      ::GetWindowRect(center, &around);
  } else {
    HWND parent = ::GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
    ::GetClientRect(center, &around);
    MapRect(center, parent, &around);
  }
  int left = (around.left + around.right) / 2 - window.Width() / 2;
  int top = (around.top + around.bottom) / 2 - window.Height() / 2;
  if (left + window.Width() > area.right) left = area.right - window.Width();
  if (left < area.left) left = area.left;
  if (top + window.Height() > area.bottom) top = area.bottom - window.Height();
  if (top < area.top) top = area.top;
  ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  HWND target = ScrollBarOf(nBar);
  return ::GetScrollInfo(target, nBar, lpScrollInfo);
}

HWND CWnd::ScrollBarOf(int& nBar) const {
  if (nBar == SB_HORZ || nBar == SB_VERT) {
    if (CScrollBar* bar = GetScrollBarCtrl(nBar)) {
      nBar = SB_CTL;
      return bar->m_hWnd;
    }
  }
  return m_hWnd;
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
  auto one = [this, bEnable](int bar) {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
      control->EnableWindow(bEnable);
    else
      ::ShowScrollBar(m_hWnd, bar, bEnable);
  };
  if (nBar == SB_BOTH) {
    one(SB_HORZ);
    one(SB_VERT);
  } else {
    one(nBar);
  }
}

int CWnd::GetScrollLimit(int nBar) {
  int minPos = 0, maxPos = 0;
  GetScrollRange(nBar, &minPos, &maxPos);
  SCROLLINFO info{};
  if (GetScrollInfo(nBar, &info, SIF_PAGE) && info.nPage > 1) maxPos -= static_cast<int>(info.nPage) - 1;
  return maxPos;
}

CPoint CWnd::GetCaretPos() {
  POINT point{0, 0};
  ::GetCaretPos(&point);
  return point;
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
  return FromHandle(GetSafeOwner_(pParent != nullptr ? pParent->GetSafeHwnd() : nullptr, pWndTop));
}

HWND CWnd::GetSafeOwner_(HWND hParent, HWND* pWndTop) {
  HWND hWnd = hParent;
  if (hWnd == nullptr) {
    CWnd* pMain = AfxGetMainWnd();
    hWnd = pMain != nullptr ? pMain->GetSafeHwnd() : nullptr;
  }
  // A child cannot own a popup: its top-level window does.
  while (hWnd != nullptr && (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) != 0) hWnd = ::GetParent(hWnd);
  const HWND hTop = hWnd != nullptr ? ::GetAncestor(hWnd, GA_ROOTOWNER) : nullptr;
  if (hParent == nullptr && hWnd != nullptr) hWnd = ::GetLastActivePopup(hWnd);
  if (pWndTop != nullptr) {
    *pWndTop = nullptr;
    if (hTop != nullptr && hTop != hWnd && ::IsWindowEnabled(hTop)) {
      *pWndTop = hTop;
      ::EnableWindow(hTop, FALSE);
    }
  }
  return hWnd;
}
