// Accelerator tables in a process-wide table, and their translation of key messages.
#include "win/Accelerators.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "res/ResourceTemplates.h"
#include "res/Resources.h"
#include "win/Menu.h"
#include "win/WinKeys.h"

namespace {

struct Tables {
  std::mutex mutex;
  std::unordered_map<HACCEL, std::vector<ACCEL>> tables;
  UINT_PTR next = 0x20000;
};

Tables& TheTables() {
  static Tables tables;
  return tables;
}

HACCEL Register(std::vector<ACCEL> entries) {
  Tables& t = TheTables();
  std::lock_guard lock(t.mutex);
  t.next += 4;
  auto handle = reinterpret_cast<HACCEL>(t.next);
  t.tables[handle] = std::move(entries);
  return handle;
}

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// Whether an entry matches the key message.
bool Matches(const ACCEL& a, const MSG& msg) {
  bool alt = (msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR) ? ((msg.lParam >> 29) & 1) != 0 || KeyDown(VK_MENU)
                                                                          : KeyDown(VK_MENU);
  if (a.fVirt & FVIRTKEY) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (a.key != static_cast<WORD>(msg.wParam)) return false;
    return ((a.fVirt & FSHIFT) != 0) == KeyDown(VK_SHIFT) && ((a.fVirt & FCONTROL) != 0) == KeyDown(VK_CONTROL) &&
           ((a.fVirt & FALT) != 0) == alt;
  }
  if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
  return a.key == static_cast<WORD>(msg.wParam) && ((a.fVirt & FALT) != 0) == alt;
}

// The menu item of a command on the window's menu or system menu: whether there is one, and
// whether it can be chosen.
struct MenuItemState {
  bool onMenu = false;
  bool onSystemMenu = false;
  bool disabled = false;
};

MenuItemState FindOnMenus(HWND hwnd, UINT cmd) {
  MenuItemState result;
  if (HMENU menu = GetMenu(hwnd)) {
    UINT state = GetMenuState(menu, cmd, MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1)) {
      result.onMenu = true;
      result.disabled = (state & (MF_GRAYED | MF_DISABLED)) != 0;
      return result;
    }
  }
  if (GetWindowLong(hwnd, GWL_STYLE) & WS_SYSMENU) {
    UINT state = GetMenuState(GetSystemMenu(hwnd, FALSE), cmd, MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1)) {
      result.onSystemMenu = true;
      result.disabled = (state & (MF_GRAYED | MF_DISABLED)) != 0;
    }
  }
  return result;
}

// Tells the owner of the menu that holds cmd that it is about to be used, as opening the menu
// would, so that it can update the item's state first.
void InitMenusFor(HWND hwnd, HMENU menu, UINT cmd, bool system) {
  SendMessage(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub != nullptr && GetMenuState(sub, cmd, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
      SendMessage(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(i, system ? 1 : 0));
      return;
    }
  }
  if (system) SendMessage(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, 1));
}

}  // namespace

HACCEL CreateAcceleratorTable(LPACCEL entries, int count) {
  if (entries == nullptr || count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<ACCEL> table(entries, entries + count);
  // The end mark of resource tables has no meaning in a table made in memory.
  for (ACCEL& a : table) a.fVirt &= 0x7F;
  return Register(std::move(table));
}

BOOL DestroyAcceleratorTable(HACCEL accel) {
  Tables& t = TheTables();
  std::lock_guard lock(t.mutex);
  return t.tables.erase(accel) > 0;
}

int CopyAcceleratorTable(HACCEL accel, LPACCEL entries, int count) {
  Tables& t = TheTables();
  std::lock_guard lock(t.mutex);
  auto it = t.tables.find(accel);
  if (it == t.tables.end()) return 0;
  const std::vector<ACCEL>& table = it->second;
  if (entries == nullptr) return static_cast<int>(table.size());
  int n = std::min(count, static_cast<int>(table.size()));
  std::copy_n(table.begin(), n, entries);
  return n;
}

HACCEL LoadAccelerators(HINSTANCE instance, LPCSTR name) {
  HRSRC info = FindResource(instance, name, RT_ACCELERATOR);
  if (info == nullptr) return nullptr;
  const void* data = LockResource(LoadResource(instance, info));
  std::vector<ACCEL> table = brambolt::ParseAcceleratorTable(data, SizeofResource(instance, info));
  if (table.empty()) return nullptr;
  for (ACCEL& a : table) a.fVirt &= 0x7F;
  return Register(std::move(table));
}

int TranslateAccelerator(HWND hwnd, HACCEL accel, LPMSG msg) {
  if (msg == nullptr || hwnd == nullptr) return 0;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN && msg->message != WM_CHAR &&
      msg->message != WM_SYSCHAR)
    return 0;
  std::vector<ACCEL> table;
  {
    Tables& t = TheTables();
    std::lock_guard lock(t.mutex);
    auto it = t.tables.find(accel);
    if (it == t.tables.end()) return 0;
    table = it->second;
  }
  auto match = std::find_if(table.begin(), table.end(), [&](const ACCEL& a) { return Matches(a, *msg); });
  if (match == table.end()) return 0;
  UINT cmd = match->cmd;
  MenuItemState item = FindOnMenus(hwnd, cmd);
  bool minimized = IsIconic(hwnd) != FALSE;
  if ((item.onMenu || item.onSystemMenu) && IsWindowEnabled(hwnd) && GetCapture() == nullptr && !minimized) {
    InitMenusFor(hwnd, item.onMenu ? GetMenu(hwnd) : GetSystemMenu(hwnd, FALSE), cmd, item.onSystemMenu);
    item = FindOnMenus(hwnd, cmd);  // the owner may have changed the item
  }
  if (item.disabled || (item.onMenu && minimized)) return 1;
  if (item.onSystemMenu)
    SendMessage(hwnd, WM_SYSCOMMAND, cmd, 0);
  else
    SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(cmd, 1), 0);
  return 1;
}
