// DefWindowProc: the default handling of messages a window procedure passes on.
#include <algorithm>
#include <cstring>

#include "gdi/DC.h"
#include "win/Extensions.h"
#include "gdi/SysColors.h"
#include "win/Internal.h"
#include "win/Menu.h"
#include "win/Metrics.h"
#include "win/NonClient.h"
#include "win/WindowManager.h"

namespace brambolt {
namespace {

std::mutex g_menuHooksMutex;
MenuBarHooks g_menuHooks;

}  // namespace

void SetMenuBarHooks(const MenuBarHooks& hooks) {
  std::lock_guard<std::mutex> lock(g_menuHooksMutex);
  g_menuHooks = hooks;
}

const MenuBarHooks& GetMenuBarHooks() {
  std::lock_guard<std::mutex> lock(g_menuHooksMutex);
  return g_menuHooks;
}

}  // namespace brambolt

namespace brambolt::wm {

int MenuBarHeight(const Window& w) {
  const MenuBarHooks& hooks = GetMenuBarHooks();
  if (hooks.height == nullptr || w.id == 0 || (w.style & WS_CHILD)) return 0;
  int frame = 0;
  if (w.style & WS_THICKFRAME) frame = Metric(SM_CXFRAME);
  else if (w.style & WS_DLGFRAME) frame = Metric(SM_CXDLGFRAME);
  else if (w.style & WS_BORDER) frame = Metric(SM_CXBORDER);
  return hooks.height(w.handle, reinterpret_cast<HMENU>(w.id),
                      w.window.right - w.window.left - 2 * frame);
}

namespace {

RECT ClientFromWindow(HWND hwnd, const RECT& window) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr) return window;
  Window probe;
  probe.handle = hwnd;
  probe.style = w->style;
  probe.exStyle = w->exStyle;
  probe.id = w->id;
  probe.window = window;
  NonClientLayout l = LayoutOf(probe);
  RECT c = l.client;
  Offset(c, window.left, window.top);
  return c;
}

HWND ParentIfChild(HWND hwnd) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr || !(w->style & WS_CHILD) || w->parent == Desktop()) return nullptr;
  return w->parent;
}

// The offer of ContextMenuUnclaimed under way on this thread: the window the menu is asked for
// (wParam), and where DefWindowProc records that the offer reached the end of the parent chain.
struct ContextMenuOffer {
  WPARAM window = 0;
  bool unclaimed = false;
};
thread_local ContextMenuOffer* t_contextMenuOffer = nullptr;

LRESULT CtlColor(UINT msg, HDC hdc) {
  int back = COLOR_3DFACE;
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) back = COLOR_WINDOW;
  if (msg == WM_CTLCOLORSCROLLBAR) back = COLOR_SCROLLBAR;
  if (hdc) {
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(back));
  }
  return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

// The cursor a hit-test code shows.
LPCSTR CursorForHit(int hit) {
  switch (hit) {
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return IDC_SIZENESW;
  }
  return IDC_ARROW;
}

LRESULT SetCursorDefault(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (HWND parent = ParentIfChild(hwnd))
    if (SendMessage(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  int hit = static_cast<short>(LOWORD(lParam));
  if (hit == HTERROR) {
    UINT mouse = HIWORD(lParam);
    if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN || mouse == WM_MBUTTONDOWN)
      MessageBeep(0);
    return FALSE;
  }
  if (hit == HTCLIENT) {
    HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongPtr(hwnd, GCLP_HCURSOR));
    if (cursor) {
      SetCursor(cursor);
      return TRUE;
    }
    return FALSE;
  }
  bool sizable = (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_THICKFRAME) && !IsZoomed(hwnd);
  SetCursor(LoadCursor(nullptr, sizable ? CursorForHit(hit) : IDC_ARROW));
  return TRUE;
}

LRESULT KeyDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  ThreadQueue& q = *CurrentQueue();
  switch (msg) {
    case WM_SYSKEYDOWN:
      q.altAlone = wParam == VK_MENU && !(lParam & 0x40000000);
      if (wParam != VK_MENU) q.altAlone = false;
      if (wParam == VK_F4 && (lParam & 0x20000000)) {
        PostMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      } else if (wParam == VK_F10) {
        if (GetKeyState(VK_SHIFT) < 0)
          SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
        else
          q.f10Pending = true;
      }
      return 0;
    case WM_KEYDOWN:
      q.altAlone = false;
      return 0;
    case WM_SYSKEYUP:
      if (wParam == VK_MENU && q.altAlone) {
        q.altAlone = false;
        SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
      } else if (wParam == VK_F10 && q.f10Pending) {
        q.f10Pending = false;
        SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_APPS) SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    case WM_SYSCHAR:
      q.altAlone = false;
      if (lParam & 0x20000000) {
        if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_TAB) return 0;
        SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(static_cast<BYTE>(wParam)));
      } else {
        MessageBeep(0);
      }
      return 0;
  }
  return 0;
}

LRESULT SysCommandDefault(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (wParam & 0xFFF0) {
    case SC_CLOSE:
      if (GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE) return 0;
      SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      return 0;
    case SC_MAXIMIZE:
      ShowWindow(hwnd, SW_MAXIMIZE);
      return 0;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      return 0;
    case SC_MOVE:
    case SC_SIZE:
      MoveSizeLoop(hwnd, static_cast<UINT>(wParam), pt);
      return 0;
    case SC_KEYMENU:
      if (const MenuBarHooks& h = GetMenuBarHooks(); h.keyMenu) h.keyMenu(hwnd, static_cast<UINT>(lParam));
      return 0;
    case SC_MOUSEMENU:
      if (const MenuBarHooks& h = GetMenuBarHooks(); h.mouseMenu)
        h.mouseMenu(hwnd, static_cast<int>(wParam & 0x000F), pt);
      return 0;
    case SC_VSCROLL:
    case SC_HSCROLL:
      ScrollBarLoop(hwnd, (wParam & 0xFFF0) == SC_VSCROLL ? SB_VERT : SB_HORZ, pt);
      return 0;
    case SC_CONTEXTHELP:
      ContextHelpLoop(hwnd);
      return 0;
  }
  return 0;
}

LRESULT NcButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (hit) {
    case HTCAPTION: {
      HWND top = GetAncestor(hwnd, GA_ROOT);
      if (top != GetActiveWindow() && !(GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD))
        SetActiveWindow(top);
      SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam);
      return 0;
    }
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + (hit - HTLEFT + 1), lParam);
      return 0;
    case HTSYSMENU:
    case HTMENU:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + hit, lParam);
      return 0;
    case HTVSCROLL:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_VSCROLL + HTVSCROLL, lParam);
      return 0;
    case HTHSCROLL:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_HSCROLL + HTHSCROLL, lParam);
      return 0;
    case HTCLOSE:
    case HTMAXBUTTON:
    case HTMINBUTTON:
    case HTHELP:
      CaptionButtonLoop(hwnd, static_cast<int>(hit), pt);
      return 0;
  }
  return 0;
}

}  // namespace
}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

bool brambolt::ContextMenuUnclaimed(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  ContextMenuOffer offer{wParam, false};
  ContextMenuOffer* outer = t_contextMenuOffer;
  t_contextMenuOffer = &offer;
  DefWindowProc(hwnd, WM_CONTEXTMENU, wParam, lParam);
  t_contextMenuOffer = outer;
  return offer.unclaimed;
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_WINDOWPOSCHANGING:
      if (lParam) wm::KeepWithinTrackingSizes(hwnd, *reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
        Guard g(Lock());
        if (Window* w = Get(hwnd)) w->text = cs->lpszName;
      }
      {
        Guard g(Lock());
        if (Window* w = Get(hwnd)) {
          w->hscroll.shown = (w->style & WS_HSCROLL) != 0;
          w->vscroll.shown = (w->style & WS_VSCROLL) != 0;
        }
      }
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      if (wParam) {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        p->rgrc[0] = ClientFromWindow(hwnd, p->rgrc[0]);
      } else {
        auto* r = reinterpret_cast<RECT*>(lParam);
        *r = ClientFromWindow(hwnd, *r);
      }
      return 0;
    }
    case WM_NCHITTEST: {
      Guard g(Lock());
      Window* w = Get(hwnd);
      if (w == nullptr) return HTNOWHERE;
      RECT r = ScreenRect(*w, false);
      POINT p{GET_X_LPARAM(lParam) - r.left, GET_Y_LPARAM(lParam) - r.top};
      return HitTest(*w, p);
    }
    case WM_NCPAINT:
      DefNcPaint(hwnd, reinterpret_cast<HRGN>(wParam));
      return 0;
    case WM_NCACTIVATE:
      SetCaptionActive(hwnd, wParam != FALSE);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return DefEraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_ICONERASEBKGND:
      return DefEraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_PRINT:
      DefPrint(hwnd, reinterpret_cast<HDC>(wParam), static_cast<DWORD>(lParam));
      return 0;
    case WM_PRINTCLIENT:
      return 0;
    case WM_SETTEXT: {
      bool caption;
      {
        Guard g(Lock());
        Window* w = Get(hwnd);
        if (w == nullptr) return FALSE;
        w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        caption = (w->style & WS_CAPTION) == WS_CAPTION;
      }
      if (caption) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<LPSTR>(lParam);
      int size = static_cast<int>(wParam);
      if (buffer == nullptr || size <= 0) return 0;
      Guard g(Lock());
      Window* w = Get(hwnd);
      if (w == nullptr) return 0;
      int n = std::min(static_cast<int>(w->text.size()), size - 1);
      std::memcpy(buffer, w->text.data(), static_cast<size_t>(n));
      buffer[n] = 0;
      return n;
    }
    case WM_GETTEXTLENGTH: {
      Guard g(Lock());
      Window* w = Get(hwnd);
      return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_SETFONT: {
      {
        Guard g(Lock());
        if (Window* w = Get(hwnd)) w->font = reinterpret_cast<HFONT>(wParam);
      }
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case WM_GETFONT: {
      Guard g(Lock());
      Window* w = Get(hwnd);
      return w ? reinterpret_cast<LRESULT>(w->font) : 0;
    }
    case WM_SETICON: {
      Guard g(Lock());
      Window* w = Get(hwnd);
      if (w == nullptr) return 0;
      HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
      HICON old = slot;
      slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON: {
      Guard g(Lock());
      Window* w = Get(hwnd);
      if (w == nullptr) return 0;
      return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->iconBig : w->iconSmall);
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SETCURSOR:
      return SetCursorDefault(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE: {
      if (HWND parent = ParentIfChild(hwnd)) {
        LRESULT r = SendMessage(parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      RECT client;
      DWORD style;
      {
        Guard g(Lock());
        Window* w = Get(hwnd);
        if (w == nullptr) return 0;
        client = w->client;
        style = w->style;
      }
      if (!(wp->flags & 0x1000))
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
      if (!(wp->flags & 0x0800) || (wp->flags & SWP_FRAMECHANGED)) {
        WPARAM kind = (style & WS_MINIMIZE) ? SIZE_MINIMIZED
                      : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                              : SIZE_RESTORED;
        LPARAM size = (style & WS_MINIMIZE) ? 0
                                            : MAKELPARAM(client.right - client.left,
                                                         client.bottom - client.top);
        SendMessage(hwnd, WM_SIZE, kind, size);
      }
      return 0;
    }
    case WM_SYSCOMMAND:
      return SysCommandDefault(hwnd, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      return NcButtonDown(hwnd, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION && (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX))
        SendMessage(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) || IsIconic(hwnd) ? SC_RESTORE : SC_MAXIMIZE,
                    lParam);
      else if (wParam == HTSYSMENU)
        SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
      else if (wParam != HTCAPTION)
        return NcButtonDown(hwnd, wParam, lParam);  // a second press on a button or a bar
      return 0;
    case WM_RBUTTONUP: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &pt);
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(pt.x, pt.y));
      return 0;
    }
    case WM_NCRBUTTONUP:
      if (wParam == HTCAPTION || wParam == HTSYSMENU)
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 0;
    case WM_CONTEXTMENU:
      if (HWND parent = ParentIfChild(hwnd)) return SendMessage(parent, msg, wParam, lParam);
      if (t_contextMenuOffer != nullptr && t_contextMenuOffer->window == wParam) t_contextMenuOffer->unclaimed = true;
      return 0;
    case WM_KEYF1: {
      // F1 asks for help on the window with the focus (a control: the dialog learns which).
      HELPINFO info{};
      info.cbSize = sizeof(info);
      info.iContextType = HELPINFO_WINDOW;
      info.iCtrlId = GetDlgCtrlID(hwnd);
      info.hItemHandle = hwnd;
      GetCursorPos(&info.MousePos);
      SendMessage(hwnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
      return 0;
    }
    case WM_HELP:
      // Help goes up to the parent of a child window, to the owner of a top-level one.
      if (HWND up = ParentIfChild(hwnd)) return SendMessage(up, msg, wParam, lParam);
      if (HWND owner = GetWindow(hwnd, GW_OWNER)) return SendMessage(owner, msg, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
    case WM_APPCOMMAND:
      if (HWND parent = ParentIfChild(hwnd)) return SendMessage(parent, msg, wParam, lParam);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return KeyDefault(hwnd, msg, wParam, lParam);
    case WM_IME_CHAR:
      // A character an input method committed becomes typed characters: a double-byte one as its
      // lead byte, then its trail byte.
      if (wParam > 0xFF) PostMessage(hwnd, WM_CHAR, (wParam >> 8) & 0xFF, lParam);
      PostMessage(hwnd, WM_CHAR, wParam & 0xFF, lParam);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return CtlColor(msg, reinterpret_cast<HDC>(wParam));
    case WM_CANCELMODE:
      // Cancelling a window's modes also ends the menu it tracks.
      if (brambolt::MenuLoopOwner() == hwnd) EndMenu();
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_SETREDRAW: {
      Guard g(Lock());
      Window* w = Get(hwnd);
      if (w == nullptr) return 0;
      if (wParam)
        w->style |= WS_VISIBLE;
      else
        w->style &= ~WS_VISIBLE;
      return 0;
    }
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
      return TRUE;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return -1;  // the list box does its own default action for the key
    case WM_NOTIFYFORMAT:
      return lParam == 3 ? 1 : 0;  // NF_QUERY: NFR_ANSI
    case WM_SHOWWINDOW:
    case WM_NCDESTROY:
    case WM_CHILDACTIVATE:
      return 0;
    default:
      HandleFlashMessage(hwnd, msg, wParam);
      return 0;
  }
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (proc == nullptr) return 0;
  return proc(hwnd, msg, wParam, lParam);
}
