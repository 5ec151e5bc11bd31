// The MDI client window: its children with their ids, activation, maximised children whose system
// menu and caption buttons live in the frame's menu bar, the window menu's child list, and the
// WM_MDI* protocol.
#include <algorithm>
#include <memory>

#include "win/MdiInternal.h"
#include "win/WindowManager.h"

namespace brambolt::mdi {
namespace {

constexpr int kListed = MDI_MOREWINDOWS_OFFSET;  // children named in the window menu
thread_local bool t_creating = false;            // inside WM_MDICREATE's CreateWindowEx

std::string TextOf(HWND hwnd) {
  int n = GetWindowTextLength(hwnd);
  std::string text(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
  GetWindowText(hwnd, text.data(), n + 1);
  text.resize(static_cast<size_t>(std::max(n, 0)));
  return text;
}

bool Listed(const Client& c, HWND child) {
  return std::find(c.children.begin(), c.children.end(), child) != c.children.end();
}

void DropDead(Client& c) {
  c.children.erase(std::remove_if(c.children.begin(), c.children.end(), [](HWND h) { return !IsWindow(h); }),
                   c.children.end());
  if (c.active != nullptr && !IsWindow(c.active)) c.active = nullptr;
}

bool FrameIsActive(const Client& c) {
  HWND active = GetActiveWindow();
  return active != nullptr && active == GetAncestor(c.frame, GA_ROOT);
}

// ---- the frame's menu bar while a child is maximised ----

bool IsBitmapItem(HMENU menu, int position, HBITMAP bitmap) {
  MENUITEMINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_TYPE;
  return GetMenuItemInfo(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_BITMAP) &&
         reinterpret_cast<HBITMAP>(info.dwTypeData) == bitmap;
}

void RemoveButtons(Client& c) {
  HMENU menu = c.frameMenu;
  c.buttonsFor = nullptr;
  if (!IsMenu(menu)) return;
  // The system-menu item opens the child's own system menu: remove it, never destroy it.
  if (GetMenuItemCount(menu) > 0 && IsBitmapItem(menu, 0, HBMMENU_SYSTEM)) RemoveMenu(menu, 0, MF_BYPOSITION);
  for (HBITMAP b : {HBMMENU_MBAR_CLOSE, HBMMENU_MBAR_RESTORE, HBMMENU_MBAR_MINIMIZE}) {
    int last = GetMenuItemCount(menu) - 1;
    if (last >= 0 && IsBitmapItem(menu, last, b)) RemoveMenu(menu, static_cast<UINT>(last), MF_BYPOSITION);
  }
}

void AddButtons(Client& c, HWND child) {
  HMENU menu = c.frameMenu;
  if (!IsMenu(menu)) return;
  HMENU system = GetSystemMenu(child, FALSE);
  InsertMenu(menu, 0, MF_BYPOSITION | MF_POPUP | MF_BITMAP, reinterpret_cast<UINT_PTR>(system),
             reinterpret_cast<LPCSTR>(HBMMENU_SYSTEM));
  MENUITEMINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(child);
  SetMenuItemInfo(menu, 0, TRUE, &info);
  DWORD style = static_cast<DWORD>(GetWindowLongPtr(child, GWL_STYLE));
  bool closable = !(GetClassLongPtr(child, GCL_STYLE) & CS_NOCLOSE);
  AppendMenu(menu, MF_BITMAP | MF_RIGHTJUSTIFY | ((style & WS_MINIMIZEBOX) ? 0 : MF_GRAYED), SC_MINIMIZE,
             reinterpret_cast<LPCSTR>(HBMMENU_MBAR_MINIMIZE));
  AppendMenu(menu, MF_BITMAP, SC_RESTORE, reinterpret_cast<LPCSTR>(HBMMENU_MBAR_RESTORE));
  AppendMenu(menu, MF_BITMAP | (closable ? 0 : MF_GRAYED), SC_CLOSE, reinterpret_cast<LPCSTR>(HBMMENU_MBAR_CLOSE));
  c.buttonsFor = child;
}

// ---- the window menu ----

// Takes the list and the separator in front of it out of the window menu; returns where they
// stood, -1 when the menu held no list.
int RemoveWindowList(Client& c) {
  HMENU menu = c.windowMenu;
  if (!IsMenu(menu)) return -1;
  int first = -1;
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    UINT id = GetMenuItemID(menu, i);
    if (id != static_cast<UINT>(-1) && id >= c.idFirst && id <= c.idFirst + kListed) {
      RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
      first = i;
    }
  }
  // The separator in front of the list belongs to it.
  if (first > 0 && (GetMenuState(menu, static_cast<UINT>(first - 1), MF_BYPOSITION) & MF_SEPARATOR)) {
    RemoveMenu(menu, static_cast<UINT>(first - 1), MF_BYPOSITION);
    --first;
  }
  return first;
}

}  // namespace

void RefreshWindowMenu(Client& c) {
  DropDead(c);
  // A list already in the menu is rebuilt where it stands, so items the application put after it
  // stay after it; a new list goes at the end.
  int at = RemoveWindowList(c);
  HMENU menu = c.windowMenu;
  if (!IsMenu(menu)) return;
  std::vector<size_t> shown;
  // A child counts by its own visible style, as on Windows: the list is right even while the
  // frame itself is still hidden (a document opened at start-up).
  for (size_t i = 0; i < c.children.size(); ++i)
    if ((GetWindowLong(c.children[i], GWL_STYLE) & WS_VISIBLE) != 0) shown.push_back(i);
  if (shown.empty()) return;
  auto put = [&](UINT flags, UINT_PTR id, LPCSTR text) {
    if (at < 0)
      AppendMenu(menu, flags, id, text);
    else
      InsertMenu(menu, static_cast<UINT>(at++), flags | MF_BYPOSITION, id, text);
  };
  put(MF_SEPARATOR, 0, nullptr);
  for (size_t n = 0; n < shown.size() && n < kListed; ++n) {
    HWND child = c.children[shown[n]];
    std::string text = "&" + std::to_string(n + 1) + " " + TextOf(child);
    put(MF_STRING | (child == c.active ? MF_CHECKED : 0), c.idFirst + static_cast<UINT>(shown[n]), text.c_str());
  }
  if (shown.size() > kListed) put(MF_STRING, c.idFirst + kListed, "&More Windows...");
}

void UpdateFrameTitle(Client& c) {
  std::string title = c.frameTitle;
  if (c.active != nullptr && IsZoomed(c.active)) {
    std::string child = TextOf(c.active);
    if (!child.empty()) title += " - [" + child + "]";
  }
  if (TextOf(c.frame) != title) DefWindowProc(c.frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

void SyncMaximized(Client& c) {
  DropDead(c);
  HWND wanted = c.active != nullptr && IsZoomed(c.active) ? c.active : nullptr;
  if (wanted != c.buttonsFor || (wanted != nullptr && !IsBitmapItem(c.frameMenu, 0, HBMMENU_SYSTEM))) {
    RemoveButtons(c);
    if (wanted != nullptr) AddButtons(c, wanted);
    if (IsWindow(c.frame) && GetMenu(c.frame) == c.frameMenu) DrawMenuBar(c.frame);
  }
  UpdateFrameTitle(c);
}

RECT MaximizedRect(HWND client, HWND child) {
  RECT r;
  GetClientRect(client, &r);
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtr(child, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtr(child, GWL_EXSTYLE)));
  return r;
}

void Activate(Client& c, HWND child) {
  DropDead(c);
  if (child != nullptr && !Listed(c, child)) return;
  HWND old = c.active;
  if (child == old) {
    if (child != nullptr && FrameIsActive(c) && !IsChild(child, GetFocus()) && GetFocus() != child) SetFocus(child);
    return;
  }
  bool keepMaximized = old != nullptr && IsZoomed(old) && child != nullptr;
  // A child beyond the ninth takes the ninth place in the list, so the window menu shows it.
  if (child != nullptr) {
    auto at = std::find(c.children.begin(), c.children.end(), child) - c.children.begin();
    if (at >= kListed) {
      std::swap(c.children[static_cast<size_t>(at)], c.children[kListed - 1]);
      SetWindowLongPtr(child, GWLP_ID, static_cast<LONG_PTR>(c.idFirst + kListed - 1));
      SetWindowLongPtr(c.children[static_cast<size_t>(at)], GWLP_ID, static_cast<LONG_PTR>(c.idFirst + at));
    }
  }
  c.active = child;
  if (keepMaximized) {
    // The maximised state moves to the new child: it covers the client before the old one shrinks.
    ShowWindow(child, SW_SHOWMAXIMIZED);
    if (IsWindow(old)) ShowWindow(old, SW_SHOWNOACTIVATE);
  }
  if (old != nullptr && IsWindow(old)) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
  }
  if (child != nullptr && IsWindow(child)) {
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(child, WM_NCACTIVATE, FrameIsActive(c) ? TRUE : FALSE, 0);
    SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    if (FrameIsActive(c) && IsWindow(child) && GetFocus() != child && !IsChild(child, GetFocus())) SetFocus(child);
  } else if (FrameIsActive(c) && (IsChild(c.hwnd, GetFocus()) || GetFocus() == nullptr)) {
    SetFocus(c.hwnd);
  }
  RefreshWindowMenu(c);
  SyncMaximized(c);
}

void Leave(Client& c, HWND child, bool deactivate) {
  bool maximized = IsZoomed(child) != FALSE;
  c.active = nullptr;
  // The window below it comes to the front, maximised when the one that leaves was.
  HWND next = nullptr;
  for (HWND h = GetWindow(c.hwnd, GW_CHILD); h != nullptr && next == nullptr; h = GetWindow(h, GW_HWNDNEXT))
    if (h != child && Listed(c, h) && IsWindowVisible(h)) next = h;
  if (deactivate && next != nullptr) {
    SendMessage(child, WM_NCACTIVATE, FALSE, 0);
    SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), reinterpret_cast<LPARAM>(next));
  }
  if (next != nullptr && maximized && !IsIconic(next)) ShowWindow(next, SW_SHOWMAXIMIZED);
  if (next != nullptr) Activate(c, next);
  if (c.active == nullptr) {
    SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
    if (FrameIsActive(c) && (GetFocus() == child || IsChild(child, GetFocus()))) SetFocus(c.hwnd);
  }
  UpdateFrameTitle(c);
}

void Forget(Client& c, HWND child) {
  auto it = std::find(c.children.begin(), c.children.end(), child);
  if (it == c.children.end()) return;
  // The last child takes the id of the one that goes, so ids stay contiguous.
  size_t index = static_cast<size_t>(it - c.children.begin());
  HWND last = c.children.back();
  c.children[index] = last;
  c.children.pop_back();
  if (last != child && IsWindow(last)) SetWindowLongPtr(last, GWLP_ID, static_cast<LONG_PTR>(c.idFirst + index));
  if (c.active == child) Leave(c, child, false);
  if (c.buttonsFor == child) {
    RemoveButtons(c);
    if (IsWindow(c.frame) && GetMenu(c.frame) == c.frameMenu) DrawMenuBar(c.frame);
  }
  RefreshWindowMenu(c);
  UpdateFrameTitle(c);
}

namespace {

HWND CreateChild(Client& c, const MDICREATESTRUCT& mcs) {
  DropDead(c);
  DWORD style = mcs.style;
  if (!(c.style & MDIS_ALLCHILDSTYLES))
    style = (style & (WS_MINIMIZE | WS_MAXIMIZE | WS_HSCROLL | WS_VSCROLL)) | WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  style = (style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
  // A new child comes maximised while the active one is.
  if (c.active != nullptr && IsZoomed(c.active)) style |= WS_MAXIMIZE;
  RECT area;
  GetClientRect(c.hwnd, &area);
  int x = mcs.x, y = mcs.y, cx = mcs.cx, cy = mcs.cy;
  if (cx == CW_USEDEFAULT || cy == CW_USEDEFAULT) {
    cx = (area.right - area.left) * 3 / 4;
    cy = (area.bottom - area.top) * 3 / 4;
  }
  if (x == CW_USEDEFAULT) {
    int step = CascadeStep();
    int slot = c.cascadeNext++;
    if (slot > 0 && (slot * step + cx > area.right || slot * step + cy > area.bottom)) {
      slot = 0;
      c.cascadeNext = 1;
    }
    x = y = slot * step;
  }
  UINT id = c.idFirst + static_cast<UINT>(c.children.size());
  t_creating = true;
  // The child's CREATESTRUCT carries the MDICREATESTRUCT, as a child procedure expects.
  MDICREATESTRUCT copy = mcs;
  HWND child = CreateWindowEx(WS_EX_MDICHILD, mcs.szClass, mcs.szTitle, style & ~(WS_MAXIMIZE | WS_MINIMIZE | WS_VISIBLE),
                              x, y, cx, cy, c.hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                              static_cast<HINSTANCE>(mcs.hOwner), &copy);
  t_creating = false;
  if (child == nullptr) return nullptr;
  if (!Listed(c, child)) c.children.push_back(child);
  if (style & WS_MAXIMIZE) {
    ShowWindow(child, SW_SHOWMAXIMIZED);
  } else if (style & WS_MINIMIZE) {
    ShowWindow(child, SW_SHOWMINNOACTIVE);
  } else if (style & WS_VISIBLE) {
    ShowWindow(child, SW_SHOW);
  }
  if (!IsWindow(child)) return nullptr;
  if (style & WS_VISIBLE || style & (WS_MAXIMIZE | WS_MINIMIZE)) {
    Activate(c, child);
  } else {
    RefreshWindowMenu(c);
  }
  return child;
}

// Next (or previous) child after `from` in z-order; the active one goes to the bottom on "next" so
// that repeated steps visit every child.
void Next(Client& c, HWND from, bool previous) {
  DropDead(c);
  if (from == nullptr) from = c.active;
  std::vector<HWND> order;
  for (HWND h = GetWindow(c.hwnd, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
    if (Listed(c, h) && IsWindowVisible(h) && IsWindowEnabled(h)) order.push_back(h);
  if (order.size() < 2 || from == nullptr) return;
  auto at = std::find(order.begin(), order.end(), from);
  if (at == order.end()) return;
  size_t i = static_cast<size_t>(at - order.begin());
  HWND target = previous ? order[(i + order.size() - 1) % order.size()] : order[(i + 1) % order.size()];
  Activate(c, target);
  if (!previous && from == order.front() && IsWindow(from))
    SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT SetMenus(Client& c, HMENU frameMenu, HMENU windowMenu) {
  HMENU old = c.frameMenu;
  if (frameMenu != nullptr && !IsMenu(frameMenu)) return 0;
  if (windowMenu != nullptr && !IsMenu(windowMenu)) return 0;
  RemoveButtons(c);
  RemoveWindowList(c);
  if (frameMenu != nullptr) c.frameMenu = frameMenu;
  if (windowMenu != nullptr) c.windowMenu = windowMenu;
  if (frameMenu != nullptr && IsWindow(c.frame)) SetMenu(c.frame, frameMenu);
  RefreshWindowMenu(c);
  SyncMaximized(c);
  return reinterpret_cast<LRESULT>(old);
}

void Resized(Client& c) {
  DropDead(c);
  if (c.active != nullptr && IsZoomed(c.active)) {
    RECT r = MaximizedRect(c.hwnd, c.active);
    SetWindowPos(c.active, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ArrangeIcons(c);
}

LRESULT CALLBACK ClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Client* c = ClientOf(hwnd);
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      auto record = std::make_unique<Client>();
      record->hwnd = hwnd;
      record->frame = GetParent(hwnd);
      record->style = static_cast<DWORD>(cs->style);
      if (auto* ccs = static_cast<CLIENTCREATESTRUCT*>(cs->lpCreateParams)) {
        record->windowMenu = IsMenu(static_cast<HMENU>(ccs->hWindowMenu)) ? static_cast<HMENU>(ccs->hWindowMenu) : nullptr;
        record->idFirst = ccs->idFirstChild;
      }
      record->frameMenu = record->frame != nullptr ? GetMenu(record->frame) : nullptr;
      record->frameTitle = record->frame != nullptr ? TextOf(record->frame) : std::string();
      SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(record.release()));
      return DefWindowProc(hwnd, msg, wParam, lParam);
    }
    case WM_NCDESTROY:
      delete c;
      SetWindowLongPtr(hwnd, 0, 0);
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
  if (c == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_MDICREATE:
      return lParam != 0 ? reinterpret_cast<LRESULT>(CreateChild(*c, *reinterpret_cast<MDICREATESTRUCT*>(lParam))) : 0;
    case WM_MDIDESTROY: {
      auto child = reinterpret_cast<HWND>(wParam);
      if (Listed(*c, child)) {
        Forget(*c, child);
        DestroyWindow(child);
      }
      return 0;
    }
    case WM_MDIACTIVATE: {
      auto child = reinterpret_cast<HWND>(wParam);
      if (child != nullptr && Listed(*c, child)) Activate(*c, child);
      return 0;
    }
    case WM_MDIGETACTIVE:
      DropDead(*c);
      if (lParam != 0) *reinterpret_cast<BOOL*>(lParam) = c->active != nullptr && IsZoomed(c->active);
      return reinterpret_cast<LRESULT>(c->active);
    case WM_MDINEXT:
      Next(*c, reinterpret_cast<HWND>(wParam), lParam != 0);
      return 0;
    case WM_MDIMAXIMIZE: {
      auto child = reinterpret_cast<HWND>(wParam);
      if (!Listed(*c, child)) return 0;
      if (child != c->active) Activate(*c, child);
      ShowWindow(child, SW_SHOWMAXIMIZED);
      SyncMaximized(*c);
      return 0;
    }
    case WM_MDIRESTORE: {
      auto child = reinterpret_cast<HWND>(wParam);
      if (!Listed(*c, child)) return 0;
      ShowWindow(child, SW_RESTORE);
      SyncMaximized(*c);
      return 0;
    }
    case WM_MDICASCADE:
      Cascade(*c, static_cast<UINT>(wParam));
      return TRUE;
    case WM_MDITILE:
      Tile(*c, static_cast<UINT>(wParam));
      return TRUE;
    case WM_MDIICONARRANGE:
      ArrangeIcons(*c);
      return 0;
    case WM_MDISETMENU:
      return SetMenus(*c, reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_MDIREFRESHMENU:
      RefreshWindowMenu(*c);
      SyncMaximized(*c);
      return reinterpret_cast<LRESULT>(c->frameMenu);
    case WM_SIZE:
      Resized(*c);
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SETFOCUS:
      DropDead(*c);
      if (c->active != nullptr && !IsIconic(c->active)) SetFocus(c->active);
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

Client* ClientOf(HWND hwnd) {
  if (!IsMdiClient(hwnd)) return nullptr;
  return reinterpret_cast<Client*>(GetWindowLongPtr(hwnd, 0));
}

}  // namespace brambolt::mdi

namespace brambolt::wm {

// The class exists with the desktop, as the system's predefined classes do.
void RegisterMdiClientClass() {
  WNDCLASS wc{};
  wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = mdi::ClientProc;
  wc.cbWndExtra = sizeof(void*);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
  wc.lpszClassName = MDICLIENT_CLASS;
  RegisterClass(&wc);
}

// CreateWindowEx of a window with WS_EX_MDICHILD in an MDI client goes through WM_MDICREATE.
bool CreatesMdiChild(DWORD exStyle, HWND parent) {
  return (exStyle & WS_EX_MDICHILD) && !mdi::t_creating && IsMdiClient(parent);
}

bool MdiIconSlot(HWND child, POINT* slot) {
  mdi::Client* c = mdi::ClientOf(MdiClientOf(child));
  if (c == nullptr) return false;
  *slot = mdi::FreeIconSlot(*c, child);
  return true;
}

}  // namespace brambolt::wm

bool brambolt::IsMdiClient(HWND hwnd) {
  if (hwnd == nullptr) return false;
  wm::Guard g(wm::Lock());
  wm::Window* w = wm::Get(hwnd);
  return w != nullptr && w->cls != nullptr && w->cls->proc == mdi::ClientProc;
}

HWND brambolt::MdiClientOf(HWND child) {
  HWND parent = GetParent(child);
  return (GetWindowLongPtr(child, GWL_EXSTYLE) & WS_EX_MDICHILD) && IsMdiClient(parent) ? parent : nullptr;
}

HWND CreateMDIWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                     HWND mdiClient, HINSTANCE instance, LPARAM lParam) {
  MDICREATESTRUCT mcs{className, windowName, instance, x, y, width, height, style, lParam};
  return reinterpret_cast<HWND>(SendMessage(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}
