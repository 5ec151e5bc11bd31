// Tracking loops started from the non-client area: moving and sizing a window with the mouse or
// the keyboard, pressing a caption button, and the context-help mode.
#include <algorithm>

#include "gdi/SysColors.h"
#include "win/ModalLoop.h"
#include "win/Internal.h"
#include "win/NonClient.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {


bool IsInput(UINT m) {
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) ||
         (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

RECT ParentRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  HWND parent = GetParent(hwnd);
  if (parent && (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

}  // namespace

void TrackLoop(HWND hwnd, const std::function<bool(MSG&)>& onMessage) {
  SetCapture(hwnd);
  bool ended = false;
  // Every message of the loop, also those pumped from inside its wait, goes to onMessage.
  ScopedLoopFilter filter([&](MSG& msg) {
    if (!ended && !onMessage(msg)) ended = true;
    return true;
  });
  while (!ended) {
    if (!IsWindow(hwnd) || GetCapture() != hwnd) break;
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ApplyLoopFilter(msg);
  }
  if (IsWindow(hwnd) && GetCapture() == hwnd) ReleaseCapture();
}

void MoveSizeLoop(HWND hwnd, UINT command, POINT start) {
  bool moving = (command & 0xFFF0) == SC_MOVE;
  int edge = static_cast<int>(command & 0x000F);  // WMSZ_ code for sizing
  if (moving && IsZoomed(hwnd)) return;
  if (!moving && !(GetWindowLongPtr(hwnd, GWL_STYLE) & WS_THICKFRAME)) return;
  MINMAXINFO mmi{};
  SIZE screen = GetScreenSize();
  mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = POINT{screen.cx + 12, screen.cy + 12};
  mmi.ptMaxSize = POINT{screen.cx, screen.cy};
  SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  const RECT original = ParentRect(hwnd);
  RECT screenOriginal;
  GetWindowRect(hwnd, &screenOriginal);
  POINT offset{screenOriginal.left - original.left, screenOriginal.top - original.top};
  SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  bool left = edge == 1 || edge == 4 || edge == 7, right = edge == 2 || edge == 5 || edge == 8;
  bool top = edge == 3 || edge == 4 || edge == 5, bottom = edge == 6 || edge == 7 || edge == 8;
  auto apply = [&](POINT pt) {
    int dx = pt.x - start.x, dy = pt.y - start.y;
    RECT r = screenOriginal;
    if (moving) {
      OffsetRect(&r, dx, dy);
      SendMessage(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
    } else {
      if (left) r.left = std::clamp<LONG>(r.left + dx, r.right - mmi.ptMaxTrackSize.x, r.right - mmi.ptMinTrackSize.x);
      if (right) r.right = std::clamp<LONG>(r.right + dx, r.left + mmi.ptMinTrackSize.x, r.left + mmi.ptMaxTrackSize.x);
      if (top) r.top = std::clamp<LONG>(r.top + dy, r.bottom - mmi.ptMaxTrackSize.y, r.bottom - mmi.ptMinTrackSize.y);
      if (bottom) r.bottom = std::clamp<LONG>(r.bottom + dy, r.top + mmi.ptMinTrackSize.y, r.top + mmi.ptMaxTrackSize.y);
      SendMessage(hwnd, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&r));
    }
    OffsetRect(&r, -offset.x, -offset.y);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (moving ? SWP_NOSIZE : 0));
  };
  POINT last = start;
  TrackLoop(hwnd, [&](MSG& msg) {
    switch (msg.message) {
      case WM_MOUSEMOVE:
        last = msg.pt;
        apply(last);
        return true;
      case WM_LBUTTONUP:
        return false;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        switch (msg.wParam) {
          case VK_ESCAPE:
            SetWindowPos(hwnd, nullptr, original.left, original.top, original.right - original.left,
                         original.bottom - original.top, SWP_NOZORDER | SWP_NOACTIVATE);
            return false;
          case VK_RETURN: return false;
          case VK_LEFT: last.x -= 8; break;
          case VK_RIGHT: last.x += 8; break;
          case VK_UP: last.y -= 8; break;
          case VK_DOWN: last.y += 8; break;
          default: return true;
        }
        apply(last);
        return true;
    }
    if (!IsInput(msg.message)) DispatchMessage(&msg);
    return true;
  });
  if (IsWindow(hwnd)) SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

void CaptionButtonLoop(HWND hwnd, int hit, POINT start) {
  (void)start;
  SetCaptionButtonPressed(hwnd, hit, true);
  bool inside = true, released = false;
  TrackLoop(hwnd, [&](MSG& msg) {
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      bool now = SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(msg.pt.x, msg.pt.y)) == hit;
      if (now != inside) {
        inside = now;
        SetCaptionButtonPressed(hwnd, hit, inside);
      }
      if (msg.message == WM_LBUTTONUP) {
        released = true;
        return false;
      }
      return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return false;
    if (!IsInput(msg.message)) DispatchMessage(&msg);
    return true;
  });
  if (!IsWindow(hwnd)) return;
  SetCaptionButtonPressed(hwnd, hit, false);
  if (!released || !inside) return;
  POINT pt;
  GetCursorPos(&pt);
  WPARAM command = 0;
  switch (hit) {
    case HTCLOSE: command = SC_CLOSE; break;
    case HTMAXBUTTON: command = IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE; break;
    case HTMINBUTTON: command = IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE; break;
    case HTHELP: command = SC_CONTEXTHELP; break;
  }
  SendMessage(hwnd, WM_SYSCOMMAND, command, MAKELPARAM(pt.x, pt.y));
}

void ContextHelpLoop(HWND hwnd) {
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_HELP));
  HWND chosen = nullptr;
  POINT where{};
  TrackLoop(hwnd, [&](MSG& msg) {
    switch (msg.message) {
      case WM_LBUTTONDOWN:
      case WM_NCLBUTTONDOWN: {
        where = msg.pt;
        HWND top = GetAncestor(hwnd, GA_ROOT);
        POINT client = where;
        ScreenToClient(top, &client);
        HWND under = ChildWindowFromPointEx(top, client, CWP_SKIPINVISIBLE);
        // Descend to the deepest visible child under the point.
        while (under && under != top) {
          POINT c = where;
          ScreenToClient(under, &c);
          HWND deeper = ChildWindowFromPointEx(under, c, CWP_SKIPINVISIBLE);
          if (deeper == nullptr || deeper == under) break;
          under = deeper;
        }
        RECT r;
        GetWindowRect(top, &r);
        if (Contains(r, where)) chosen = under ? under : top;
        return false;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) return false;
        return true;
      case WM_SETCURSOR:
        return true;
    }
    if (!IsInput(msg.message)) DispatchMessage(&msg);
    return true;
  });
  SetCursor(old);
  if (chosen == nullptr || !IsWindow(chosen)) return;
  HELPINFO info{};
  info.cbSize = sizeof(info);
  info.iContextType = HELPINFO_WINDOW;
  info.iCtrlId = GetDlgCtrlID(chosen);
  info.hItemHandle = chosen;
  info.dwContextId = 0;
  info.MousePos = where;
  SendMessage(chosen, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace brambolt::wm
