// The main frame's MDI client: the window menu ends with the Windows dialog's item.
#include "app/CMDIClient.h"

#include "base/Convert.h"
#include "win/Mdi.h"

IMPLEMENT_DYNAMIC(CMDIClient, CWnd)

BEGIN_MESSAGE_MAP(CMDIClient, CWnd)
  ON_MESSAGE(WM_MDISETMENU, OnMDISetMenu)
  ON_MESSAGE(WM_MDIREFRESHMENU, OnMDIRefreshMenu)
END_MESSAGE_MAP()

namespace {

constexpr char kHookProperty[] = "CMDIClient";
// The platform's item that opens its own list of the windows it could not name in the menu.
constexpr UINT kMoreWindowsCommand = AFX_IDM_FIRST_MDICHILD + MDI_MOREWINDOWS_OFFSET;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

// Removes every item nID; returns the state of the last one removed, or (UINT)-1 when none was.
UINT RemoveItems(HMENU hMenu, UINT nID) {
  UINT nState = static_cast<UINT>(-1);
  for (int i = ::GetMenuItemCount(hMenu) - 1; i >= 0; --i) {
    if (::GetMenuItemID(hMenu, i) != nID) continue;
    nState = ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
    ::RemoveMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
  }
  return nState;
}

bool IsSeparator(HMENU hMenu, int nPos) {
  return (::GetMenuState(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION) & MF_SEPARATOR) != 0;
}

// The platform puts a separator of its own before its list, which doubles one the menu has before
// this client's item.
void RemoveDoubledSeparators(HMENU hMenu) {
  for (int i = ::GetMenuItemCount(hMenu) - 1; i > 0; --i)
    if (IsSeparator(hMenu, i) && IsSeparator(hMenu, i - 1)) ::RemoveMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
}

}  // namespace

CMDIClient::CMDIClient()
    // "Window manager".
    : m_strWindowListTitle(brambolt::Utf8ToCodePage(u8"窗口管理", 936).c_str()) {}

CMDIClient::~CMDIClient() { Unhook(); }

BOOL CMDIClient::SubclassWindow(HWND hWnd) {
  if (hWnd == nullptr || m_hWnd != nullptr || !::IsWindow(hWnd)) return FALSE;
  // The handle is borrowed, not entered in the handle map: the object that owns the client (if
  // any) keeps receiving what this hook passes on through the procedure it installed.
  m_hWnd = hWnd;
  ::SetProp(hWnd, kHookProperty, reinterpret_cast<HANDLE>(this));
  m_pfnHooked = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CMDIClient::HookProc)));
  *GetSuperWndProcAddr() = m_pfnHooked;
  return TRUE;
}

void CMDIClient::Unhook() {
  if (m_hWnd == nullptr) return;
  if (::IsWindow(m_hWnd)) {
    // Someone who hooked the client after this object keeps its place; the chain is then left as it is.
    if (::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CMDIClient::HookProc))
      ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnHooked));
    ::RemoveProp(m_hWnd, kHookProperty);
  }
  *GetSuperWndProcAddr() = nullptr;
  m_pfnHooked = nullptr;
  m_hWnd = nullptr;
}

LRESULT CALLBACK CMDIClient::HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* pClient = reinterpret_cast<CMDIClient*>(::GetProp(hWnd, kHookProperty));
  if (pClient == nullptr || pClient->m_hWnd != hWnd) return ::DefWindowProc(hWnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    const WNDPROC pfnNext = pClient->m_pfnHooked;
    pClient->Unhook();
    return ::CallWindowProc(pfnNext, hWnd, message, wParam, lParam);
  }
  if (message != WM_MDISETMENU && message != WM_MDIREFRESHMENU)
    return ::CallWindowProc(pClient->m_pfnHooked, hWnd, message, wParam, lParam);
  return AfxCallWndProc(pClient, hWnd, message, wParam, lParam);
}

LRESULT CMDIClient::OnMDISetMenu(WPARAM /*wParam*/, LPARAM lParam) {
  const LRESULT result = Default();
  // No window menu (NULL) keeps the current one.
  const auto hNewMenu = reinterpret_cast<HMENU>(lParam);
  if (hNewMenu != nullptr && ::IsMenu(hNewMenu)) m_hWindowMenu = hNewMenu;
  SendMessage(WM_MDIREFRESHMENU, 0, 0);
  return result;
}

LRESULT CMDIClient::OnMDIRefreshMenu(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  const LRESULT result = Default();
  if (m_hWindowMenu != nullptr && ::IsMenu(m_hWindowMenu)) RebuildWindowMenu(m_hWindowMenu, m_strWindowListTitle);
  return result;
}

void CMDIClient::RebuildWindowMenu(HMENU hMenu, const CString& strTitle) {
  // The Chinese title reads as such only where the ANSI code page is GB2312's; elsewhere its bytes
  // would show as Latin letters, so the item keeps the menu's own text when the menu has one.
  CString strText = strTitle;
  char szOwn[256] = {};
  if (::GetACP() != 936 && ::GetMenuString(hMenu, kWindowDialogCommand, szOwn, sizeof szOwn, MF_BYCOMMAND) > 0)
    strText = szOwn;
  const UINT nMoreState = RemoveItems(hMenu, kMoreWindowsCommand);
  RemoveItems(hMenu, kWindowDialogCommand);
  RemoveDoubledSeparators(hMenu);
  // The item follows the list of windows or, without one, a separator of its own.
  const int nLast = ::GetMenuItemCount(hMenu) - 1;
  const UINT nLastID = nLast >= 0 ? ::GetMenuItemID(hMenu, nLast) : 0;
  if (nLast >= 0 && !IsSeparator(hMenu, nLast) && (nLastID < AFX_IDM_FIRST_MDICHILD || nLastID >= kMoreWindowsCommand))
    ::AppendMenu(hMenu, MF_SEPARATOR, 0, nullptr);
  const UINT nState = nMoreState == static_cast<UINT>(-1) ? MF_ENABLED : (nMoreState & kStateBits);
  ::AppendMenu(hMenu, MF_STRING | nState, kWindowDialogCommand, strText);
}
