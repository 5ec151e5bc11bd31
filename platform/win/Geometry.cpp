// Window geometry: rectangles and coordinate mapping, SetWindowPos and deferred positioning,
// ShowWindow with minimise/maximise/restore, window placement, AdjustWindowRectEx.
#include <algorithm>
#include <optional>

#include "win/Backend.h"
#include "win/NonClient.h"
#include "win/Surfaces.h"
#include "win/WindowManager.h"
#include "gdi/SysColors.h"

namespace brambolt::wm {
namespace {


// Internal WINDOWPOS flags: the client area kept its size / its place.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void QueryMinMax(HWND hwnd, MINMAXINFO& mmi) {
  RECT parentClient{};
  DWORD style = 0, exStyle = 0;
  bool topLevel = true;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return;
    Window* p = Get(w->parent);
    topLevel = IsTopLevel(*w);
    style = w->style;
    exStyle = w->exStyle;
    if (p) parentClient = RECT{0, 0, Width(p->client), Height(p->client)};
  }
  if (topLevel) {
    RECT work;
    GetWorkArea(&work);
    parentClient = work;
  }
  // A maximised window hides its borders beyond the edges of its parent.
  RECT borders = NonClientBorders(style, exStyle, false, nullptr);
  int borderX = (style & (WS_THICKFRAME | WS_DLGFRAME | WS_BORDER)) ? borders.left : 0;
  SIZE screen = GetScreenSize();
  mmi.ptMaxSize = POINT{Width(parentClient) + 2 * borderX, Height(parentClient) + 2 * borderX};
  mmi.ptMaxPosition = POINT{parentClient.left - borderX, parentClient.top - borderX};
  mmi.ptMinTrackSize = POINT{112, 27};
  mmi.ptMaxTrackSize = POINT{screen.cx + 12, screen.cy + 12};
  SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
}

// The rectangle a window takes in a new show state, with its bookkeeping; returns the
// SWP_ flags to use (SWP_STATECHANGED with SWP_FRAMECHANGED when the state changes).
UINT MinMaximize(HWND hwnd, UINT cmd, RECT& rect) {
  constexpr UINT kUnchanged = SWP_NOSIZE | SWP_NOMOVE;
  constexpr UINT kChanged = SWP_FRAMECHANGED | SWP_STATECHANGED;
  MINMAXINFO mmi{};
  bool toMaximized = cmd == SW_MAXIMIZE;
  if (cmd == SW_RESTORE) {
    Guard g(Lock());
    Window* w = Get(hwnd);
    toMaximized = w && (w->style & WS_MINIMIZE) && w->restoreToMaximized;
  }
  if (toMaximized) QueryMinMax(hwnd, mmi);
  POINT iconSlot{-1, -1};
  bool mdiIcon = cmd == SW_MINIMIZE && !IsIconic(hwnd) && MdiIconSlot(hwnd, &iconSlot);
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr) return kUnchanged;
  bool wasMin = w->style & WS_MINIMIZE, wasMax = w->style & WS_MAXIMIZE;
  if (!wasMin && !wasMax && cmd != SW_RESTORE) w->normal = w->window;
  auto maximize = [&] {
    w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    rect = RECT{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
                mmi.ptMaxPosition.y + mmi.ptMaxSize.y};
    w->maxPos = mmi.ptMaxPosition;
    return kChanged;
  };
  switch (cmd) {
    case SW_MINIMIZE: {
      if (wasMin) return kUnchanged;
      w->restoreToMaximized = wasMax;
      w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
      Window* p = Get(w->parent);
      int ph = p ? Height(p->client) : 0;
      int cy = GetSystemMetrics(SM_CYMINIMIZED);
      POINT at = mdiIcon ? iconSlot : w->minPos.x != -1 ? w->minPos : POINT{0, ph - cy};
      rect = RECT{at.x, at.y, at.x + GetSystemMetrics(SM_CXMINIMIZED), at.y + cy};
      w->minPos = at;
      return kChanged;
    }
    case SW_MAXIMIZE:
      if (wasMax) return kUnchanged;
      return maximize();
    default:  // SW_RESTORE
      // A window minimised from the maximised state is maximised again; its normal rectangle stays.
      if (wasMin && w->restoreToMaximized) {
        w->restoreToMaximized = false;
        return maximize();
      }
      if (!wasMin && !wasMax) return kUnchanged;
      w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
      rect = w->normal;
      return kChanged;
  }
}

struct DeferredPositions {
  std::uint32_t magic = 0x44575050;
  std::vector<WINDOWPOS> positions;
};

}  // namespace

void KeepWithinTrackingSizes(HWND hwnd, WINDOWPOS& wp) {
  DWORD style = 0;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return;
    style = w->style;
  }
  if ((wp.flags & SWP_NOSIZE) || (style & WS_MINIMIZE)) return;
  if (!(style & WS_THICKFRAME) && (style & (WS_POPUP | WS_CHILD))) return;
  MINMAXINFO mmi{};
  QueryMinMax(hwnd, mmi);
  wp.cx = std::clamp<int>(wp.cx, std::min(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), mmi.ptMaxTrackSize.x);
  wp.cy = std::clamp<int>(wp.cy, std::min(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), mmi.ptMaxTrackSize.y);
}
}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr || rect == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = ScreenRect(*w, false);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr || rect == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = RECT{0, 0, Width(w->client), Height(w->client)};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  if (!IsWindow(hwnd) || point == nullptr) return FALSE;
  MapWindowPoints(hwnd, nullptr, point, 1);
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  if (!IsWindow(hwnd) || point == nullptr) return FALSE;
  MapWindowPoints(nullptr, hwnd, point, 1);
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  if ((from && !IsWindow(from)) || (to && !IsWindow(to))) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  POINT a = from ? ClientOrigin(from) : POINT{0, 0};
  POINT b = to ? ClientOrigin(to) : POINT{0, 0};
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(0);
  return MAKELONG(static_cast<short>(dx), static_cast<short>(dy));
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

namespace {

// SetWindowPos; `stateChanged` when ShowWindow changes the minimised or maximised state, which the
// position messages report with SWP_STATECHANGED.
BOOL PlaceWindow(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags, bool stateChanged) {
  WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, (flags & 0x67FF) | (stateChanged ? SWP_STATECHANGED : 0u)};
  RECT oldWindow, oldClient;
  bool visible, topLevel;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr || hwnd == Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    oldWindow = w->window;
    oldClient = w->client;
    visible = (w->style & WS_VISIBLE) != 0;
    topLevel = IsTopLevel(*w);
    if ((wp.flags & SWP_SHOWWINDOW) && visible) wp.flags &= ~SWP_SHOWWINDOW;
    if ((wp.flags & SWP_HIDEWINDOW) && !visible) wp.flags &= ~SWP_HIDEWINDOW;
    if (wp.flags & SWP_NOMOVE) {
      wp.x = oldWindow.left;
      wp.y = oldWindow.top;
    }
    if (wp.flags & SWP_NOSIZE) {
      wp.cx = Width(oldWindow);
      wp.cy = Height(oldWindow);
    }
    if (wp.cx < 0) wp.cx = 0;
    if (wp.cy < 0) wp.cy = 0;
    if (wp.x == oldWindow.left && wp.y == oldWindow.top) wp.flags |= SWP_NOMOVE;
    if (wp.cx == Width(oldWindow) && wp.cy == Height(oldWindow)) wp.flags |= SWP_NOSIZE;
    if (!topLevel && (wp.hwndInsertAfter == HWND_TOPMOST || wp.hwndInsertAfter == HWND_NOTOPMOST))
      wp.hwndInsertAfter = HWND_TOP;
    if (!(wp.flags & SWP_NOZORDER) && wp.hwndInsertAfter == hwnd) wp.flags |= SWP_NOZORDER;
  }
  if (!(wp.flags & SWP_NOSENDCHANGING))
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  if (!IsWindow(hwnd)) return FALSE;
  if (wp.flags & SWP_NOMOVE) {
    wp.x = oldWindow.left;
    wp.y = oldWindow.top;
  }
  if (wp.flags & SWP_NOSIZE) {
    wp.cx = Width(oldWindow);
    wp.cy = Height(oldWindow);
  }
  RECT newWindow{wp.x, wp.y, wp.x + std::max(wp.cx, 0), wp.y + std::max(wp.cy, 0)};
  RECT newClient = oldClient;
  bool geometryChanges = !(wp.flags & SWP_NOMOVE) || !(wp.flags & SWP_NOSIZE);
  if (geometryChanges || (wp.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p{};
    p.rgrc[0] = newWindow;
    p.rgrc[1] = oldWindow;
    p.rgrc[2] = oldClient;
    p.lppos = &wp;
    SendMessage(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
    if (!IsWindow(hwnd)) return FALSE;
    newClient = p.rgrc[0];
    if (newClient.right < newClient.left) newClient.right = newClient.left;
    if (newClient.bottom < newClient.top) newClient.bottom = newClient.top;
  }
  if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient))
    wp.flags |= kNoClientSize;
  if (newClient.left == oldClient.left && newClient.top == oldClient.top)
    wp.flags |= kNoClientMove;

  // A child keeps the pixels a move can take along, unless the caller says not to copy them.
  MovedFrom before = BeforeMove(
      hwnd, visible && !(wp.flags & (SWP_NOCOPYBITS | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW)));

  bool nowVisible;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return FALSE;
    w->window = newWindow;
    w->client = newClient;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normal = newWindow;
    if ((w->style & WS_MINIMIZE) && !(wp.flags & SWP_NOMOVE)) w->minPos = POINT{newWindow.left, newWindow.top};
    if (!(wp.flags & SWP_NOZORDER)) {
      HWND after = wp.hwndInsertAfter;
      if (topLevel && after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
      if (topLevel && after == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
      if (Window* a = Get(after); a && topLevel && (a->exStyle & WS_EX_TOPMOST) && !(w->exStyle & WS_EX_TOPMOST))
        after = HWND_TOP;
      LinkAt(*w, w->parent, after);
      if (topLevel && !(wp.flags & SWP_NOOWNERZORDER)) {
        // Owned windows stay above their owner.
        for (HWND other : std::vector<HWND>(Get(Desktop())->children)) {
          Window* o = Get(other);
          if (o && o->owner == hwnd) LinkAt(*o, Desktop(), HWND_TOP);
        }
      }
    }
    if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    nowVisible = (w->style & WS_VISIBLE) != 0;
  }

  if (topLevel) {
    RECT screen = newWindow;
    ResizeSurface(hwnd);
    Backend& b = GetBackend();
    if (wp.flags & SWP_SHOWWINDOW) b.WindowShown(hwnd, screen);
    if (wp.flags & SWP_HIDEWINDOW) b.WindowHidden(hwnd);
    // A change of frame or of state (maximised, restored) is told even where the rectangle stays
    // (a restore to a normal placement as large as the maximised one): the desktop's state of the
    // window follows it.
    if (geometryChanges || (wp.flags & (SWP_FRAMECHANGED | SWP_STATECHANGED))) b.WindowMoved(hwnd, screen);
    if (!(wp.flags & SWP_NOZORDER)) b.ZOrderChanged();
  }
  if (!(wp.flags & SWP_NOREDRAW) || (wp.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
    if (geometryChanges || (wp.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)) ||
        !(wp.flags & SWP_NOZORDER))
      InvalidateAfterMove(hwnd, before, !(wp.flags & SWP_NOREDRAW));
  if (nowVisible) EraseAfterMove(hwnd, before, wp.flags);

  if (topLevel) {
    if ((wp.flags & SWP_HIDEWINDOW) && GetActiveWindow() == hwnd) {
      WindowDying(hwnd);
    } else if (nowVisible && !(wp.flags & SWP_NOACTIVATE) &&
               ((wp.flags & SWP_SHOWWINDOW) || !(wp.flags & SWP_NOZORDER))) {
      ActivateWindow(hwnd, false, true);
    }
  } else if (nowVisible && !(wp.flags & SWP_NOACTIVATE) &&
             (geometryChanges || (wp.flags & SWP_SHOWWINDOW) || !(wp.flags & SWP_NOZORDER))) {
    // A child moved, sized, shown or raised without SWP_NOACTIVATE is told (MDI children activate).
    SendMessage(hwnd, WM_CHILDACTIVATE, 0, 0);
  }
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return TRUE;
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return PlaceWindow(hwnd, insertAfter, x, y, cx, cy, flags, false);
}

HDWP BeginDeferWindowPos(int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* d = new DeferredPositions;
  d->positions.reserve(static_cast<size_t>(count));
  return reinterpret_cast<HDWP>(d);
}

HDWP DeferWindowPos(HDWP info, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                    UINT flags) {
  auto* d = reinterpret_cast<DeferredPositions*>(info);
  if (d == nullptr || d->magic != 0x44575050) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    d->magic = 0;
    delete d;
    return nullptr;
  }
  for (WINDOWPOS& p : d->positions) {
    if (p.hwnd != hwnd) continue;
    // A second request for the same window merges into the first.
    if (!(flags & SWP_NOMOVE)) {
      p.x = x;
      p.y = y;
      p.flags &= ~SWP_NOMOVE;
    }
    if (!(flags & SWP_NOSIZE)) {
      p.cx = cx;
      p.cy = cy;
      p.flags &= ~SWP_NOSIZE;
    }
    if (!(flags & SWP_NOZORDER)) {
      p.hwndInsertAfter = insertAfter;
      p.flags &= ~SWP_NOZORDER;
    }
    p.flags |= flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED);
    return info;
  }
  d->positions.push_back(WINDOWPOS{hwnd, insertAfter, x, y, cx, cy, flags});
  return info;
}

BOOL EndDeferWindowPos(HDWP info) {
  auto* d = reinterpret_cast<DeferredPositions*>(info);
  if (d == nullptr || d->magic != 0x44575050) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::vector<WINDOWPOS> positions = std::move(d->positions);
  d->magic = 0;
  delete d;
  BOOL ok = TRUE;
  for (const WINDOWPOS& p : positions)
    if (IsWindow(p.hwnd) &&
        !SetWindowPos(p.hwnd, p.hwndInsertAfter, p.x, p.y, p.cx, p.cy, p.flags))
      ok = FALSE;
  return ok;
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
  bool wasVisible, child, isMin, isMax;
  {
    Guard g(Lock());
    Window* w = Checked(hwnd);
    if (w == nullptr) return FALSE;
    wasVisible = (w->style & WS_VISIBLE) != 0;
    child = (w->style & WS_CHILD) != 0;
    isMin = (w->style & WS_MINIMIZE) != 0;
    isMax = (w->style & WS_MAXIMIZE) != 0;
  }
  UINT swp = SWP_NOSIZE | SWP_NOMOVE;
  RECT rect{};
  bool show = true;
  bool stateChanged = false;
  // The CBT hook hears of the change once, with the command the caller gave, and may refuse it.
  auto change = [&](UINT cmd) {
    if (HasHook(WH_CBT) &&
        CallHooks(WH_CBT, HCBT_MINMAX, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(cmdShow)))
      return;
    UINT f = MinMaximize(hwnd, cmd, rect);
    if (!(f & SWP_NOSIZE)) swp &= ~(SWP_NOSIZE | SWP_NOMOVE);
    swp |= f & SWP_FRAMECHANGED;
    stateChanged = (f & SWP_STATECHANGED) != 0;
  };
  switch (cmdShow) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      show = false;
      swp |= SWP_HIDEWINDOW;
      if (child || GetActiveWindow() != hwnd) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
      swp |= SWP_SHOWWINDOW | SWP_NOACTIVATE;
      change(SW_MINIMIZE);
      break;
    case SW_SHOWMINIMIZED:
      swp |= SWP_SHOWWINDOW;
      change(SW_MINIMIZE);
      break;
    case SW_SHOWMAXIMIZED:
      swp |= SWP_SHOWWINDOW;
      change(SW_MAXIMIZE);
      break;
    // SW_SHOWNA places even a visible window (raised among its siblings, not activated); SW_SHOW
    // of a visible window changes nothing and sends nothing, so it never waits on the window's
    // thread either.
    case SW_SHOWNA:
      swp |= SWP_SHOWWINDOW | SWP_NOACTIVATE | (child ? SWP_NOZORDER : 0);
      break;
    case SW_SHOW:
      if (wasVisible) return TRUE;
      swp |= SWP_SHOWWINDOW | (child ? SWP_NOACTIVATE | SWP_NOZORDER : 0);
      break;
    case SW_SHOWNOACTIVATE:
      swp |= SWP_SHOWWINDOW | SWP_NOACTIVATE | (child ? SWP_NOZORDER : 0);
      if (isMin || isMax) change(SW_RESTORE);
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
      swp |= SWP_SHOWWINDOW | (child ? SWP_NOACTIVATE | SWP_NOZORDER : 0);
      if (isMin || isMax) change(SW_RESTORE);
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  if (show != wasVisible) {
    SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!IsWindow(hwnd)) return wasVisible;
  }
  if (!show || wasVisible) swp &= ~SWP_SHOWWINDOW;
  if (show && !wasVisible) swp |= SWP_SHOWWINDOW;
  if (child && !(swp & (SWP_NOSIZE))) swp |= SWP_NOZORDER;
  PlaceWindow(hwnd, HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, swp,
              stateChanged);
  if (!show && IsWindow(hwnd)) {
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus)) && child) SetFocus(GetParent(hwnd));
  }
  if (isMin && !child && IsWindow(hwnd) && !IsIconic(hwnd) && GetActiveWindow() == hwnd) {
    // An active window restored from the minimised state takes the keyboard it could not take
    // while minimised (activated so, it got no focus).
    HWND focus = GetFocus();
    if (focus == nullptr || !(focus == hwnd || IsChild(hwnd, focus))) SetFocus(hwnd);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL ShowWindowAsync(HWND hwnd, int cmdShow) { return ShowWindow(hwnd, cmdShow); }

void brambolt::wm::MinMaximizeHidden(HWND hwnd, UINT cmd) {
  RECT rect{};
  const UINT f = MinMaximize(hwnd, cmd, rect);
  if (f & SWP_NOSIZE) return;
  PlaceWindow(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
              SWP_NOZORDER | SWP_NOACTIVATE | (f & SWP_FRAMECHANGED), (f & SWP_STATECHANGED) != 0);
}

BOOL ShowOwnedPopups(HWND owner, BOOL show) {
  std::vector<HWND> owned;
  {
    Guard g(Lock());
    for (HWND h : Get(Desktop())->children)
      if (Window* w = Get(h); w && w->owner == owner) owned.push_back(h);
  }
  // Only what changes visibility is shown or hidden: a visible pop-up is not raised again.
  for (HWND h : owned)
    if ((IsWindowVisible(h) != FALSE) != (show != FALSE)) ShowWindow(h, show ? SW_SHOWNA : SW_HIDE);
  return TRUE;
}

BOOL OpenIcon(HWND hwnd) { return ShowWindow(hwnd, SW_SHOWNORMAL), TRUE; }

BOOL CloseWindow(HWND hwnd) { return ShowWindow(hwnd, SW_MINIMIZE), TRUE; }

BOOL IsWindowVisible(HWND hwnd) { return VisibleOnScreen(hwnd) ? TRUE : FALSE; }

BOOL IsIconic(HWND hwnd) { return (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_MINIMIZE) ? TRUE : FALSE; }

BOOL IsZoomed(HWND hwnd) { return (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_MAXIMIZE) ? TRUE : FALSE; }

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr || placement == nullptr) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  placement->length = sizeof(WINDOWPLACEMENT);
  placement->flags = (w->style & WS_MINIMIZE) && w->restoreToMaximized ? WPF_RESTORETOMAXIMIZED : 0;
  placement->showCmd = (w->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                       : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                  : SW_SHOWNORMAL;
  placement->ptMinPosition = w->minPos;
  placement->ptMaxPosition = w->maxPos;
  placement->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normal : w->window;
  return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
  if (placement == nullptr || placement->length != sizeof(WINDOWPLACEMENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT normal = placement->rcNormalPosition;
  bool topLevel;
  {
    Guard g(Lock());
    Window* w = Checked(hwnd);
    if (w == nullptr) return FALSE;
    topLevel = IsTopLevel(*w);
  }
  if (topLevel) {
    // A window placed wholly off the screen is brought back onto it.
    RECT work;
    GetWorkArea(&work);
    int w = normal.right - normal.left, h = normal.bottom - normal.top;
    if (normal.right <= work.left || normal.left >= work.right || normal.bottom <= work.top ||
        normal.top >= work.bottom) {
      int x = std::clamp<int>(normal.left, work.left, std::max(work.left, work.right - w));
      int y = std::clamp<int>(normal.top, work.top, std::max(work.top, work.bottom - h));
      normal = RECT{x, y, x + w, y + h};
    }
  }
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (placement->flags & WPF_SETMINPOSITION) w->minPos = placement->ptMinPosition;
    w->maxPos = placement->ptMaxPosition;
    w->normal = normal;
    // The window passes through its normal state on the way to the one asked for.
    w->restoreToMaximized = false;
  }
  UINT cmd = placement->showCmd;
  bool restored = !(GetWindowLongPtr(hwnd, GWL_STYLE) & (WS_MINIMIZE | WS_MAXIMIZE));
  bool minimized = cmd == SW_SHOWMINIMIZED || cmd == SW_MINIMIZE || cmd == SW_SHOWMINNOACTIVE;
  if (minimized || cmd == SW_SHOWMAXIMIZED) {
    if (!restored) ShowWindow(hwnd, SW_RESTORE);
    SetWindowPos(hwnd, nullptr, normal.left, normal.top, normal.right - normal.left,
                 normal.bottom - normal.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd, static_cast<int>(cmd));
    // Minimised, the window is restored maximised when the placement says so.
    if (minimized && (placement->flags & WPF_RESTORETOMAXIMIZED)) {
      Guard g(Lock());
      if (Window* w = Get(hwnd)) w->restoreToMaximized = true;
    }
  } else {
    if (!restored) ShowWindow(hwnd, SW_RESTORE);
    SetWindowPos(hwnd, nullptr, normal.left, normal.top, normal.right - normal.left,
                 normal.bottom - normal.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (cmd != SW_HIDE || IsWindowVisible(hwnd)) ShowWindow(hwnd, static_cast<int>(cmd));
  }
  return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (rect == nullptr) return FALSE;
  RECT borders = NonClientBorders(style, exStyle, menu != FALSE, nullptr);
  rect->left -= borders.left;
  rect->top -= borders.top;
  rect->right += borders.right;
  rect->bottom += borders.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
  return AdjustWindowRectEx(rect, style, menu, 0);
}

UINT ArrangeIconicWindows(HWND) { return 0; }
