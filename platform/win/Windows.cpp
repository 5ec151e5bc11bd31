// Window records: the handle table, creation and destruction with their message sequences, the
// window tree and its queries, window longs and extra bytes, window text.
#include <algorithm>
#include <cstring>

#include "win/Atoms.h"
#include "win/Backend.h"
#include "win/Caret.h"
#include "win/Internal.h"
#include "win/Mdi.h"
#include "win/WindowManager.h"
#include "gdi/SysColors.h"

namespace brambolt::wm {
namespace {


struct Slot {
  std::unique_ptr<Window> window;
  std::uint32_t generation = 1;
};

struct HandleTable {
  std::vector<Slot> slots = std::vector<Slot>(1);  // slot 0 is never used
  std::vector<std::uint32_t> freeSlots;
  std::vector<HWND> order;  // creation order
  HWND desktop = nullptr;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;
  return *table;
}

HWND Encode(std::uint32_t index, std::uint32_t generation) {
  return reinterpret_cast<HWND>((static_cast<std::uintptr_t>(generation) << 16) | index);
}

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void NotifyParents(HWND hwnd, UINT event) {
  HWND child = hwnd;
  for (;;) {
    HWND parent;
    int id;
    {
      Guard g(Lock());
      Window* w = Get(child);
      if (w == nullptr || !(w->style & WS_CHILD) || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
      parent = w->parent;
      Window* cw = Get(hwnd);
      id = cw ? static_cast<int>(cw->id) : 0;
    }
    if (Get(parent) == nullptr || parent == Desktop()) return;
    SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(event, id), reinterpret_cast<LPARAM>(hwnd));
    child = parent;
  }
}

void SendDestroyTree(HWND hwnd) {
  WindowDying(hwnd);
  CallProc(hwnd, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  {
    Guard g(Lock());
    if (Window* w = Get(hwnd)) children = w->children;
  }
  for (HWND child : children) {
    {
      Guard g(Lock());
      Window* c = Get(child);
      if (c == nullptr || c->destroying) continue;
      c->destroying = true;
    }
    SendDestroyTree(child);
  }
  CallProc(hwnd, WM_NCDESTROY, 0, 0);
  CaretWindowDying(hwnd);
  bool topLevel;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    topLevel = w && IsTopLevel(*w);
  }
  if (topLevel) GetBackend().WindowDestroyed(hwnd);
  FreeWindow(hwnd);
}

POINT DefaultPosition() {
  static std::mutex mutex;
  static int step = 0;
  std::lock_guard<std::mutex> lock(mutex);
  int offset = 26 * (step++ % 8);
  return POINT{20 + offset, 20 + offset};
}

}  // namespace

std::recursive_mutex& Lock() {
  static auto* mutex = new std::recursive_mutex;
  return *mutex;
}

Window* Get(HWND hwnd) {
  Guard g(Lock());
  return GetLocked(hwnd);
}

Window* GetLocked(HWND hwnd) {
  auto value = reinterpret_cast<std::uintptr_t>(hwnd);
  std::uint32_t index = value & 0xFFFF;
  std::uint32_t generation = static_cast<std::uint32_t>(value >> 16);
  HandleTable& t = Table();
  if (index == 0 || index >= t.slots.size()) return nullptr;
  Slot& s = t.slots[index];
  if (!s.window || s.generation != generation) return nullptr;
  return s.window.get();
}

Window* Checked(HWND hwnd) {
  Guard g(Lock());
  return CheckedLocked(hwnd);
}

Window* CheckedLocked(HWND hwnd) {
  Window* w = GetLocked(hwnd);
  if (w == nullptr) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

HWND NewWindow(std::unique_ptr<Window> window) {
  Guard g(Lock());
  HandleTable& t = Table();
  std::uint32_t index;
  if (!t.freeSlots.empty()) {
    index = t.freeSlots.back();
    t.freeSlots.pop_back();
  } else {
    if (t.slots.size() >= 0xFFFF) return nullptr;
    index = static_cast<std::uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  Slot& s = t.slots[index];
  HWND hwnd = Encode(index, s.generation);
  window->handle = hwnd;
  s.window = std::move(window);
  t.order.push_back(hwnd);
  return hwnd;
}

void FreeWindow(HWND hwnd) {
  std::unique_ptr<Window> dead;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return;
    for (HWND child : std::vector<HWND>(w->children)) FreeWindow(child);
    Unlink(*w);
    if (w->cls) w->cls->windowCount--;
    HandleTable& t = Table();
    std::uint32_t index = reinterpret_cast<std::uintptr_t>(hwnd) & 0xFFFF;
    dead = std::move(t.slots[index].window);
    t.slots[index].generation++;
    t.freeSlots.push_back(index);
    t.order.erase(std::remove(t.order.begin(), t.order.end(), hwnd), t.order.end());
    // Owned windows outlive a silent free only as unowned windows.
    for (auto& slot : t.slots)
      if (slot.window && slot.window->owner == hwnd) slot.window->owner = nullptr;
  }
  RemoveMessagesFor(hwnd);
}

std::vector<HWND> AllWindows() {
  Guard g(Lock());
  return Table().order;
}

HWND Desktop() {
  Guard g(Lock());
  HandleTable& t = Table();
  if (t.desktop) return t.desktop;
  WNDCLASS wc{};
  wc.lpfnWndProc = DesktopProc;
  wc.lpszClassName = "#32769";
  wc.style = CS_GLOBALCLASS;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(1 + 1));
  RegisterClass(&wc);
  auto w = std::make_unique<Window>();
  w->cls = FindClass("#32769", nullptr);
  w->cls->windowCount++;
  w->proc = DesktopProc;
  w->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  SIZE screen = GetScreenSize();
  w->window = w->client = RECT{0, 0, screen.cx, screen.cy};
  w->created = true;
  t.desktop = NewWindow(std::move(w));
  RegisterMdiClientClass();
  return t.desktop;
}

bool IsTopLevel(const Window& w) { return w.parent == Desktop() || w.parent == nullptr; }

POINT ClientOrigin(HWND hwnd) {
  Guard g(Lock());
  POINT p{0, 0};
  for (Window* w = Get(hwnd); w != nullptr && w->handle != Desktop(); w = Get(w->parent)) {
    p.x += w->client.left;
    p.y += w->client.top;
  }
  return p;
}

RECT ScreenRect(const Window& w, bool clientArea) {
  RECT r = clientArea ? w.client : w.window;
  if (w.handle == Desktop()) return r;
  POINT o = ClientOrigin(w.parent);
  Offset(r, o.x, o.y);
  return r;
}

HWND TopLevelOf(HWND hwnd) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  while (w != nullptr && (w->style & WS_CHILD) && Get(w->parent) && w->parent != Desktop())
    w = Get(w->parent);
  return w ? w->handle : nullptr;
}

bool VisibleOnScreen(HWND hwnd) {
  Guard g(Lock());
  for (Window* w = Get(hwnd); w != nullptr; w = Get(w->parent)) {
    if (w->handle == Desktop()) return true;
    if (!(w->style & WS_VISIBLE)) return false;
  }
  return false;
}

void Unlink(Window& w) {
  if (Window* p = Get(w.parent)) {
    auto& c = p->children;
    c.erase(std::remove(c.begin(), c.end(), w.handle), c.end());
  }
}

// Inserts below `insertAfter` (HWND_TOP, HWND_BOTTOM or a sibling); top-level windows that are
// not topmost stay below the topmost ones.
void LinkAt(Window& w, HWND parent, HWND insertAfter) {
  Window* p = Get(parent);
  if (p == nullptr) return;
  w.parent = parent;
  auto& c = p->children;
  c.erase(std::remove(c.begin(), c.end(), w.handle), c.end());
  bool topLevel = parent == Desktop();
  auto firstNonTopmost = [&]() {
    auto it = c.begin();
    if (topLevel)
      while (it != c.end() && Get(*it) && (Get(*it)->exStyle & WS_EX_TOPMOST)) ++it;
    return it;
  };
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    bool topmost = topLevel && (w.exStyle & WS_EX_TOPMOST);
    c.insert(topmost ? c.begin() : firstNonTopmost(), w.handle);
  } else if (insertAfter == HWND_BOTTOM) {
    c.push_back(w.handle);
  } else {
    auto it = std::find(c.begin(), c.end(), insertAfter);
    if (it == c.end())
      c.insert(firstNonTopmost(), w.handle);
    else
      c.insert(it + 1, w.handle);
  }
}

}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param) {
  if (CreatesMdiChild(exStyle, parent)) {
    MDICREATESTRUCT mcs{className, windowName, instance, x, y, width, height, style, reinterpret_cast<LPARAM>(param)};
    return reinterpret_cast<HWND>(SendMessage(parent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }
  auto cls = FindClass(className, instance);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  CurrentQueue();
  HWND desktop = Desktop();
  HWND owner = nullptr;
  bool messageOnly = parent == HWND_MESSAGE;
  if (messageOnly) parent = nullptr;
  if (style & WS_CHILD) {
    if (parent == nullptr || !IsWindow(parent)) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
  } else {
    if (parent != nullptr) {
      if (!IsWindow(parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      owner = parent == desktop ? nullptr : TopLevelOf(parent);
    }
    parent = desktop;
  }
  bool overlapped = !(style & (WS_CHILD | WS_POPUP));
  if (overlapped) style |= WS_CLIPSIBLINGS | WS_CAPTION;
  if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_DLGFRAME | WS_THICKFRAME)))
    if (!(exStyle & WS_EX_STATICEDGE)) exStyle |= WS_EX_WINDOWEDGE;

  SIZE screen = GetScreenSize();
  if (x == CW_USEDEFAULT) {
    if (overlapped) {
      POINT p = DefaultPosition();
      x = p.x;
      y = p.y;
    } else {
      x = y = 0;
    }
  }
  if (width == CW_USEDEFAULT) {
    if (overlapped) {
      width = screen.cx * 3 / 4;
      height = screen.cy * 3 / 4;
    } else {
      width = height = 0;
    }
  }

  auto rec = std::make_unique<Window>();
  rec->cls = cls;
  rec->queue = CurrentQueue();
  rec->threadId = ThreadId();
  rec->style = style & ~WS_VISIBLE & ~(WS_MINIMIZE | WS_MAXIMIZE);
  rec->exStyle = exStyle;
  rec->proc = cls->proc;
  rec->instance = instance;
  rec->id = reinterpret_cast<LONG_PTR>(menu);
  rec->owner = owner;
  rec->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  rec->messageOnly = messageOnly;
  HWND hwnd;
  {
    Guard g(Lock());
    cls->windowCount++;
    hwnd = NewWindow(std::move(rec));
    if (hwnd == nullptr) {
      cls->windowCount--;
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    Window* w = Get(hwnd);
    w->window = RECT{x, y, x + width, y + height};
    w->client = w->window;
    w->normal = w->window;
    LinkAt(*w, parent, (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP);
  }

  CREATESTRUCT cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = (style & WS_CHILD) ? parent : owner;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (HasHook(WH_CBT)) {
    CBT_CREATEWND cbt{&cs, (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP};
    if (CallHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd),
                  reinterpret_cast<LPARAM>(&cbt)) != 0) {
      FreeWindow(hwnd);
      return nullptr;
    }
  }

  if ((style & WS_THICKFRAME) || overlapped) {
    MINMAXINFO mmi{};
    mmi.ptMaxSize = POINT{screen.cx, screen.cy};
    mmi.ptMaxPosition = POINT{0, 0};
    mmi.ptMinTrackSize = POINT{112, 27};
    mmi.ptMaxTrackSize = POINT{screen.cx + 12, screen.cy + 12};
    CallProc(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    cs.cx = std::clamp<int>(cs.cx, std::min(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), mmi.ptMaxTrackSize.x);
    cs.cy = std::clamp<int>(cs.cy, std::min(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), mmi.ptMaxTrackSize.y);
    Guard g(Lock());
    if (Window* w = Get(hwnd)) {
      w->window.right = w->window.left + cs.cx;
      w->window.bottom = w->window.top + cs.cy;
      w->client = w->normal = w->window;
    }
  }

  if (!CallProc(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (IsWindow(hwnd)) {
      CallProc(hwnd, WM_NCDESTROY, 0, 0);
      FreeWindow(hwnd);
    }
    return nullptr;
  }
  RECT rc;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return nullptr;
    w->created = true;
    rc = w->window;
  }
  CallProc(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return nullptr;
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    w->client = rc;
  }
  if (CallProc(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  RECT client;
  {
    Guard g(Lock());
    client = Get(hwnd)->client;
  }
  CallProc(hwnd, WM_SIZE, SIZE_RESTORED,
           MAKELPARAM(client.right - client.left, client.bottom - client.top));
  if (!IsWindow(hwnd)) return nullptr;
  CallProc(hwnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
  if (!IsWindow(hwnd)) return nullptr;

  // A window made minimised or maximised without WS_VISIBLE takes the state and stays hidden: the
  // screen sees it only when it is shown.
  if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
    if (style & WS_VISIBLE)
      ShowWindow(hwnd, (style & WS_MINIMIZE) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED);
    else
      TakeStateMadeIn(hwnd, (style & WS_MINIMIZE) != 0);
    // Made maximised as large as the screen, a window has no smaller size of its own to be
    // restored to: its normal placement is the one a window made with the default size gets.
    Guard g(Lock());
    if (Window* w = Get(hwnd); w != nullptr && overlapped && (style & WS_MAXIMIZE) && w->normal.left <= 0 &&
                               w->normal.top <= 0 && w->normal.right >= screen.cx && w->normal.bottom >= screen.cy) {
      POINT p = DefaultPosition();
      w->normal = RECT{p.x, p.y, p.x + screen.cx * 3 / 4, p.y + screen.cy * 3 / 4};
    }
  }
  if ((style & WS_VISIBLE) && IsWindow(hwnd) && !(GetWindowLongPtr(hwnd, GWL_STYLE) & WS_VISIBLE))
    ShowWindow(hwnd, SW_SHOW);
  if (!IsWindow(hwnd)) return nullptr;
  if (style & WS_CHILD) NotifyParents(hwnd, WM_CREATE);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  std::vector<HWND> owned;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr || hwnd == Desktop()) {
      SetLastError(w ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (w->threadId != ThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (w->destroying) return TRUE;
  }
  if (HasHook(WH_CBT) && CallHooks(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0))
    return FALSE;
  bool child;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr || w->destroying) return w != nullptr;
    w->destroying = true;
    child = (w->style & WS_CHILD) != 0;
  }
  if (child) NotifyParents(hwnd, WM_DESTROY);
  if (IsWindowVisible(hwnd))
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     (child ? SWP_NOACTIVATE : 0));
  else if (!child && GetActiveWindow() == hwnd)
    WindowDying(hwnd);
  {
    Guard g(Lock());
    for (HWND other : AllWindows()) {
      Window* o = Get(other);
      if (o && o->owner == hwnd && !o->destroying) owned.push_back(other);
    }
  }
  for (HWND o : owned)
    if (IsWindow(o)) DestroyWindow(o);
  if (!IsWindow(hwnd)) return TRUE;
  SendDestroyTree(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Get(hwnd) != nullptr; }

BOOL IsWindowUnicode(HWND) { return FALSE; }

HWND GetDesktopWindow() { return Desktop(); }

HWND GetParent(HWND hwnd) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return nullptr;
  if (w->style & WS_CHILD) return w->parent == Desktop() ? nullptr : w->parent;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr || hwnd == Desktop()) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->parent;
    case GA_ROOT: {
      while (w->parent != Desktop() && Get(w->parent)) w = Get(w->parent);
      return w->handle;
    }
    case GA_ROOTOWNER: {
      HWND root = GetAncestor(hwnd, GA_ROOT);
      for (HWND next; (next = GetParent(root)) != nullptr;) root = GetAncestor(next, GA_ROOT);
      return root;
    }
  }
  return nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (cmd == GW_OWNER) return w->owner;
  if (cmd == GW_ENABLEDPOPUP) {
    for (HWND other : Get(Desktop())->children) {
      Window* o = Get(other);
      if (o && o->owner == hwnd && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED))
        return other;
    }
    return nullptr;
  }
  Window* p = Get(w->parent);
  if (p == nullptr) return nullptr;
  const auto& s = p->children;
  auto it = std::find(s.begin(), s.end(), hwnd);
  if (it == s.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST: return s.front();
    case GW_HWNDLAST: return s.back();
    case GW_HWNDNEXT: return it + 1 == s.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == s.begin() ? nullptr : *(it - 1);
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : Desktop(), GW_CHILD); }

HWND GetNextWindow(HWND hwnd, UINT cmd) { return GetWindow(hwnd, cmd); }

HWND GetLastActivePopup(HWND hwnd) {
  // The active window when hwnd owns it, directly or through other popups.
  HWND active = GetActiveWindow();
  if (active && active != hwnd && GetAncestor(active, GA_ROOTOWNER) == hwnd) return active;
  return hwnd;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  while (w != nullptr && (w->style & WS_CHILD)) {
    if (w->parent == parent) return TRUE;
    w = Get(w->parent);
  }
  return FALSE;
}

HWND GetDlgItem(HWND dialog, int id) {
  Guard g(Lock());
  Window* d = Checked(dialog);
  if (d == nullptr) return nullptr;
  for (HWND c : d->children) {
    Window* w = Get(c);
    if (w && static_cast<int>(w->id) == id) return c;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Guard g(Lock());
  Window* w = GetLocked(hwnd);
  if (w == nullptr || !(w->style & WS_CHILD)) return 0;
  return static_cast<int>(w->id);
}

namespace {

bool EnumDescendants(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> children;
  {
    Guard g(Lock());
    if (Window* p = Get(parent)) children = p->children;
  }
  for (HWND c : children) {
    if (!IsWindow(c)) continue;
    if (!proc(c, lParam)) return false;
    if (!EnumDescendants(c, proc, lParam)) return false;
  }
  return true;
}

std::vector<HWND> TopLevels() {
  Guard g(Lock());
  std::vector<HWND> out;
  for (HWND h : Get(Desktop())->children)
    if (!Get(h)->messageOnly) out.push_back(h);
  return out;
}

bool TextMatches(const Window& w, LPCSTR className, LPCSTR windowName) {
  if (className != nullptr) {
    if (IS_INTRESOURCE(className)) {
      if (w.cls->atom != static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(className))) return false;
    } else if (CompareNoCase(w.cls->name.c_str(), className) != 0) {
      return false;
    }
  }
  return windowName == nullptr || w.text == windowName;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (proc == nullptr) return FALSE;
  EnumDescendants(parent ? parent : Desktop(), proc, lParam);
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (proc == nullptr) return FALSE;
  for (HWND h : TopLevels())
    if (IsWindow(h) && !proc(h, lParam)) break;
  return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
  if (proc == nullptr) return FALSE;
  bool any = false;
  for (HWND h : TopLevels()) {
    if (GetWindowThreadProcessId(h, nullptr) != threadId) continue;
    any = true;
    if (IsWindow(h) && !proc(h, lParam)) break;
  }
  return any;
}

HWND FindWindowEx(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
  Guard g(Lock());
  std::vector<HWND> list;
  if (parent == nullptr || parent == Desktop()) {
    list = TopLevels();
  } else if (Window* p = Get(parent)) {
    list = p->children;
  } else {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  auto it = list.begin();
  if (childAfter != nullptr) {
    it = std::find(list.begin(), list.end(), childAfter);
    if (it == list.end()) return nullptr;
    ++it;
  }
  for (; it != list.end(); ++it) {
    Window* w = Get(*it);
    if (w && TextMatches(*w, className, windowName)) return *it;
  }
  return nullptr;
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
  return FindWindowEx(nullptr, nullptr, className, windowName);
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return 0;
  if (processId) *processId = static_cast<DWORD>(ProcessId());
  return w->threadId;
}

// --- Window longs

namespace {

LONG_PTR ReadExtra(const Window& w, int index, size_t size) {
  if (index < 0 || static_cast<size_t>(index) + size > w.extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  if (size == sizeof(LONG_PTR)) {
    LONG_PTR v;
    std::memcpy(&v, w.extra.data() + index, sizeof(v));
    return v;
  }
  LONG v;
  std::memcpy(&v, w.extra.data() + index, sizeof(v));
  return v;
}

bool WriteExtra(Window& w, int index, size_t size, LONG_PTR value) {
  if (index < 0 || static_cast<size_t>(index) + size > w.extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return false;
  }
  if (size == sizeof(LONG_PTR)) {
    std::memcpy(w.extra.data() + index, &value, sizeof(value));
  } else {
    LONG v = static_cast<LONG>(value);
    std::memcpy(w.extra.data() + index, &v, sizeof(v));
  }
  return true;
}

LONG_PTR SetLong(HWND hwnd, int index, LONG_PTR value, size_t size) {
  if (index == GWL_STYLE || index == GWL_EXSTYLE) {
    STYLESTRUCT ss{};
    {
      Guard g(Lock());
      Window* w = Checked(hwnd);
      if (w == nullptr) return 0;
      ss.styleOld = index == GWL_STYLE ? w->style : w->exStyle;
    }
    ss.styleNew = static_cast<DWORD>(value);
    SendMessage(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    {
      Guard g(Lock());
      Window* w = Get(hwnd);
      if (w == nullptr) return 0;
      (index == GWL_STYLE ? w->style : w->exStyle) = ss.styleNew;
    }
    SendMessage(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    return ss.styleOld;
  }
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return 0;
  LONG_PTR old = 0;
  switch (index) {
    case GWLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(w->proc);
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_ID:
      old = w->id;
      w->id = value;
      return old;
    case GWLP_USERDATA:
      old = w->userData;
      w->userData = value;
      return old;
    case GWLP_HWNDPARENT:
      if (w->style & WS_CHILD) {
        old = reinterpret_cast<LONG_PTR>(w->parent);
        SetParent(hwnd, reinterpret_cast<HWND>(value));
      } else {
        old = reinterpret_cast<LONG_PTR>(w->owner);
        w->owner = reinterpret_cast<HWND>(value);
      }
      return old;
  }
  old = ReadExtra(*w, index, size);
  if (!WriteExtra(*w, index, size, value)) return 0;
  return old;
}

}  // namespace

namespace {

template <class T>
T ReplaceWindowExtra(HWND hwnd, int index, const T* value) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return 0;
  if (index < 0 || static_cast<size_t>(index) + sizeof(T) > w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  T old;
  std::memcpy(&old, w->extra.data() + index, sizeof(T));
  if (value) std::memcpy(w->extra.data() + index, value, sizeof(T));
  return old;
}

}  // namespace

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<std::uint64_t>(w->style));
    case GWL_EXSTYLE: return w->exStyle;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_ID: return w->id;
    case GWLP_USERDATA: return w->userData;
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? w->parent : w->owner);
  }
  return ReadExtra(*w, index, sizeof(LONG_PTR));
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  return SetLong(hwnd, index, value, sizeof(LONG_PTR));
}

LONG GetWindowLong(HWND hwnd, int index) {
  if (index >= 0) return ReplaceWindowExtra<LONG>(hwnd, index, nullptr);
  return static_cast<LONG>(GetWindowLongPtr(hwnd, index));
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  LONG_PTR wide = (index == GWL_STYLE || index == GWL_EXSTYLE)
                      ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                      : value;
  return static_cast<LONG>(SetLong(hwnd, index, wide, index >= 0 ? sizeof(LONG) : sizeof(LONG_PTR)));
}


WORD GetWindowWord(HWND hwnd, int index) { return ReplaceWindowExtra<WORD>(hwnd, index, nullptr); }

WORD SetWindowWord(HWND hwnd, int index, WORD value) {
  return ReplaceWindowExtra<WORD>(hwnd, index, &value);
}

// --- Text

int GetWindowText(HWND hwnd, LPSTR text, int maxCount) {
  if (text == nullptr || maxCount <= 0) return 0;
  text[0] = 0;
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                      reinterpret_cast<LPARAM>(text)));
}

int InternalGetWindowText(HWND hwnd, LPSTR text, int maxCount) {
  if (text == nullptr || maxCount <= 0) return 0;
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr) {
    text[0] = 0;
    return 0;
  }
  int n = std::min(static_cast<int>(w->text.size()), maxCount - 1);
  std::memcpy(text, w->text.data(), static_cast<size_t>(n));
  text[n] = 0;
  return n;
}

int GetWindowTextLength(HWND hwnd) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR text, int maxCount) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) {
    if (text && maxCount > 0) text[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowText(item, text, maxCount));
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessage(item, msg, wParam, lParam) : 0;
}

HWND SetParent(HWND child, HWND newParent) {
  HWND old;
  RECT oldScreen;
  {
    Guard g(Lock());
    Window* w = Get(child);
    if (w == nullptr || child == Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    HWND target = newParent ? newParent : Desktop();
    Window* p = Checked(target);
    if (p == nullptr) return nullptr;
    // A window cannot become its own descendant.
    for (Window* a = p; a != nullptr; a = Get(a->parent))
      if (a->handle == child) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
    old = w->parent;
    oldScreen = ScreenRect(*w, false);
    Unlink(*w);
    LinkAt(*w, target, HWND_TOP);
    if (target == Desktop()) w->owner = nullptr;
  }
  // The window keeps its place relative to its parent's client area.
  if (IsWindowVisible(child) || old) {
    MovedFrom before;
    before.screen = oldScreen;
    InvalidateAfterMove(child, before, true);
  }
  return old;
}
