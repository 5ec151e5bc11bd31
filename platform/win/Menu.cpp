// Menu objects: a process-wide table of menus and their items, the item functions by command
// and by position, menus from templates, window menus and the system menu.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <vector>
#include <map>
#include <mutex>
#include <unordered_map>

#include "res/ResourceTemplates.h"
#include "res/Resources.h"
#include "win/MenuInternal.h"

namespace brambolt::menus {
namespace {

struct MenuObject {
  bool popup = false;
  // DestroyMenu came while an item of another menu still opened this one: the handle is no menu
  // any more, but the item still opens it until it lets it go, when it goes.
  bool released = false;
  std::vector<Item> items;
  MENUINFO info{sizeof(MENUINFO), 0, 0, 0, nullptr, 0, 0};  // the menu-wide settings
  std::vector<RECT> shown;  // where its items were on the screen when it was last shown
};

struct Table {
  std::mutex mutex;
  std::unordered_map<HMENU, MenuObject> menus;
  std::map<HWND, HMENU> systemMenus;
  UINT_PTR next = 0x10000;
};

Table& TheTable() {
  static Table table;
  return table;
}

using Lock = std::lock_guard<std::mutex>;

// The menu of a handle, a destroyed one still held by an item too.
MenuObject* FindHeld(Table& t, HMENU menu) {
  auto it = t.menus.find(menu);
  return it == t.menus.end() ? nullptr : &it->second;
}

// The menu of a handle a caller gives: a destroyed one is no menu, even while an item holds it.
MenuObject* Find(Table& t, HMENU menu) {
  MenuObject* m = FindHeld(t, menu);
  return m != nullptr && !m->released ? m : nullptr;
}

HMENU NewMenu(bool popup) {
  // Any menu may become a window's menu bar (SetMenu, or the menu given to CreateWindowEx), so the
  // bar's painting and tracking are in place once the first menu exists.
  brambolt::menus::InstallMenuBarHooks();
  Table& t = TheTable();
  Lock lock(t.mutex);
  t.next += 4;
  auto handle = reinterpret_cast<HMENU>(t.next);
  t.menus[handle].popup = popup;
  return handle;
}

// The menu and index of an item: by position in this menu, or by command here and in every
// submenu its items open, depth first.
struct Where {
  MenuObject* menu = nullptr;
  size_t index = 0;
};

Where Locate(Table& t, HMENU menu, UINT item, UINT flags, int depth = 0) {
  MenuObject* m = depth == 0 ? Find(t, menu) : FindHeld(t, menu);
  if (m == nullptr || depth > 32) return {};
  if (flags & MF_BYPOSITION) return item < m->items.size() ? Where{m, item} : Where{};
  for (size_t i = 0; i < m->items.size(); ++i) {
    const Item& it = m->items[i];
    if (it.id == item && !it.IsSeparator()) return {m, i};
    if (it.sub != nullptr) {
      Where inner = Locate(t, it.sub, item, flags, depth + 1);
      if (inner.menu != nullptr) return inner;
    }
  }
  return {};
}

// Runs f on an item (found as Locate finds it) under the table's lock; `missing` when there is
// no such item.
template <class R, class F>
R WithItem(HMENU menu, UINT item, UINT flags, R missing, F f) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  Where where = Locate(t, menu, item, flags);
  if (where.menu == nullptr) return missing;
  return f(where.menu->items[where.index], t);
}

// An item as AppendMenu, InsertMenu and ModifyMenu describe it.
Item ItemFromFlags(UINT flags, UINT_PTR id, LPCSTR newItem) {
  Item it;
  it.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  it.type = flags & (MF_MENUBARBREAK | MF_MENUBREAK | MF_HELP);
  if (flags & MF_POPUP) {
    it.sub = reinterpret_cast<HMENU>(id);
    it.id = static_cast<UINT>(id);
  } else {
    it.id = static_cast<UINT>(id);
  }
  if (flags & MF_SEPARATOR) {
    it.type |= MFT_SEPARATOR;
    it.state |= MFS_GRAYED;  // a separator is never chosen: it reports itself disabled
    it.id = 0;
  } else if (flags & MF_OWNERDRAW) {
    it.type |= MFT_OWNERDRAW;
    it.data = reinterpret_cast<ULONG_PTR>(newItem);
  } else if (flags & MF_BITMAP) {
    it.type |= MFT_BITMAP;
    it.bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(newItem));
  } else if (newItem != nullptr) {
    it.text = newItem;
  }
  return it;
}

void DestroyRecursive(Table& t, HMENU menu, int depth = 0) {
  auto node = t.menus.extract(menu);
  if (node.empty() || depth > 32) return;
  for (const Item& it : node.mapped().items)
    if (it.sub != nullptr) DestroyRecursive(t, it.sub, depth + 1);
}

// Whether an item of another menu opens `menu`.
bool Held(Table& t, HMENU menu) {
  for (const auto& [handle, object] : t.menus)
    if (handle != menu)
      for (const Item& it : object.items)
        if (it.sub == menu) return true;
  return false;
}

// A submenu an item no longer opens: destroyed now if DestroyMenu already asked for it.
void LetGo(Table& t, HMENU sub) {
  MenuObject* m = sub != nullptr ? FindHeld(t, sub) : nullptr;
  if (m != nullptr && m->released && !Held(t, sub)) DestroyRecursive(t, sub);
}

BOOL Insert(HMENU menu, UINT position, UINT flags, Item item) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  if (flags & MF_BYPOSITION) {
    MenuObject* m = Find(t, menu);
    if (m == nullptr) return FALSE;
    size_t at = position == static_cast<UINT>(-1) || position > m->items.size() ? m->items.size() : position;
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return TRUE;
  }
  Where where = Locate(t, menu, position, flags);
  if (where.menu == nullptr) {
    // A command that is not there: the item goes at the end of the menu itself.
    MenuObject* m = Find(t, menu);
    if (m == nullptr) return FALSE;
    m->items.push_back(std::move(item));
    return TRUE;
  }
  where.menu->items.insert(where.menu->items.begin() + static_cast<std::ptrdiff_t>(where.index), std::move(item));
  return TRUE;
}

BOOL Remove(HMENU menu, UINT position, UINT flags, bool destroySubmenu) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  Where where = Locate(t, menu, position, flags);
  if (where.menu == nullptr) return FALSE;
  HMENU sub = where.menu->items[where.index].sub;
  where.menu->items.erase(where.menu->items.begin() + static_cast<std::ptrdiff_t>(where.index));
  if (destroySubmenu && sub != nullptr) DestroyRecursive(t, sub);
  else LetGo(t, sub);
  return TRUE;
}

// Copies text into a caller's buffer of maxCount characters; returns the characters copied.
int CopyText(const std::string& text, LPSTR buffer, int maxCount) {
  if (buffer == nullptr || maxCount <= 0) return static_cast<int>(text.size());
  int n = std::min(static_cast<int>(text.size()), maxCount - 1);
  std::memcpy(buffer, text.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

HMENU BuildFromTemplate(const std::vector<MenuItemTemplate>& items, bool popup) {
  HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
  for (const MenuItemTemplate& t : items) {
    MENUITEMINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    bool opens = t.IsPopup() || !t.children.empty();
    if (t.IsSeparator()) {
      info.fType = MFT_SEPARATOR;
      info.fMask = MIIM_FTYPE;
    } else {
      info.fType = (t.type | (t.flags & (MF_MENUBARBREAK | MF_MENUBREAK | MF_HELP | MF_OWNERDRAW | MF_BITMAP))) &
                   ~static_cast<UINT>(MF_POPUP | MF_END);
      info.fState = t.state | (t.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED));
      info.wID = t.id;
      info.dwTypeData = const_cast<LPSTR>(t.text.c_str());
    }
    if (opens) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = BuildFromTemplate(t.children, true);
      if (info.wID == 0) info.wID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.hSubMenu));
    }
    InsertMenuItem(menu, static_cast<UINT>(-1), TRUE, &info);
  }
  return menu;
}

HMENU LoadMenuFromBytes(const void* data, size_t size) {
  auto parsed = ParseMenuTemplate(data, size);
  if (!parsed) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return BuildFromTemplate(parsed->items, false);
}

HMENU MakeSystemMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(menu, MF_STRING, SC_MOVE, "&Move");
  AppendMenu(menu, MF_STRING, SC_SIZE, "&Size");
  AppendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenu(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  SetMenuDefaultItem(menu, SC_CLOSE, FALSE);
  return menu;
}

}  // namespace

std::optional<std::vector<Item>> Items(HMENU menu) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  MenuObject* m = FindHeld(t, menu);
  if (m == nullptr) return std::nullopt;
  return m->items;
}

void SetHilite(HMENU menu, int position, bool on) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  MenuObject* m = FindHeld(t, menu);
  if (m == nullptr || position < 0 || static_cast<size_t>(position) >= m->items.size()) return;
  UINT& state = m->items[static_cast<size_t>(position)].state;
  state = on ? (state | MF_HILITE) : (state & ~static_cast<UINT>(MF_HILITE));
}

bool Usable(HMENU menu) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  return FindHeld(t, menu) != nullptr;
}

void SetShownRects(HMENU menu, std::vector<RECT> rects) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  if (MenuObject* m = FindHeld(t, menu)) m->shown = std::move(rects);
}

std::optional<RECT> ShownRect(HMENU menu, UINT item) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  const MenuObject* m = Find(t, menu);
  if (m == nullptr || item >= m->shown.size() || item >= m->items.size()) return std::nullopt;
  return m->shown[item];
}

unsigned Mnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<unsigned>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

}  // namespace brambolt::menus

using brambolt::menus::Item;
using namespace brambolt::menus;

HMENU CreateMenu() { return NewMenu(false); }

HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  MenuObject* m = Find(t, menu);
  if (m == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  // The handle is no menu from now on; a submenu an item still opens lives on for that item
  // until it lets it go.
  if (Held(t, menu)) {
    m->released = true;
    return TRUE;
  }
  DestroyRecursive(t, menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  return Find(t, menu) != nullptr;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  return Insert(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, ItemFromFlags(flags, idNewItem, newItem));
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  return Insert(menu, position, flags, ItemFromFlags(flags, idNewItem, newItem));
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  return WithItem(menu, position, flags, FALSE, [&](Item& old, Table& t) {
    Item replacement = ItemFromFlags(flags, idNewItem, newItem);
    replacement.checked = old.checked;
    replacement.unchecked = old.unchecked;
    // The submenu an item opened goes with it unless the new item opens the same one.
    HMENU dropped = old.sub != replacement.sub ? old.sub : nullptr;
    old = std::move(replacement);
    if (dropped != nullptr) DestroyRecursive(t, dropped);
    return TRUE;
  });
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, false); }

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, true); }

int GetMenuItemCount(HMENU menu) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  MenuObject* m = Find(t, menu);
  if (m == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return -1;
  }
  return static_cast<int>(m->items.size());
}

UINT GetMenuItemID(HMENU menu, int position) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  MenuObject* m = Find(t, menu);
  if (m == nullptr || position < 0 || static_cast<size_t>(position) >= m->items.size()) return static_cast<UINT>(-1);
  const Item& it = m->items[static_cast<size_t>(position)];
  return it.sub != nullptr ? static_cast<UINT>(-1) : it.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  MenuObject* m = Find(t, menu);
  if (m == nullptr || position < 0 || static_cast<size_t>(position) >= m->items.size()) return nullptr;
  return m->items[static_cast<size_t>(position)].sub;
}

int GetMenuString(HMENU menu, UINT item, LPSTR text, int maxCount, UINT flags) {
  if (text != nullptr && maxCount > 0) text[0] = '\0';
  return WithItem(menu, item, flags, 0, [&](Item& it, Table&) { return CopyText(it.text, text, maxCount); });
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  return WithItem(menu, item, flags, static_cast<UINT>(-1), [](Item& it, Table& t) {
    UINT state = it.state | (it.type & (MF_BITMAP | MF_MENUBARBREAK | MF_MENUBREAK | MF_OWNERDRAW | MF_SEPARATOR));
    if (it.sub != nullptr) {
      MenuObject* sub = FindHeld(t, it.sub);
      UINT count = sub != nullptr ? static_cast<UINT>(sub->items.size()) : 0;
      state = (state & 0xFF) | MF_POPUP | (count << 8);
    }
    return state;
  });
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  return WithItem(menu, item, check, static_cast<DWORD>(-1), [check](Item& it, Table&) {
    DWORD previous = it.state & MF_CHECKED;
    it.state = (it.state & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
    return previous;
  });
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  return WithItem(menu, item, enable, -1, [enable](Item& it, Table&) {
    UINT previous = it.state & (MF_GRAYED | MF_DISABLED);
    it.state = (it.state & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(previous);
  });
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  Where where = Locate(t, menu, check, flags);
  if (where.menu == nullptr) return FALSE;
  MenuObject* m = where.menu;
  bool found = false;
  for (size_t i = 0; i < m->items.size(); ++i) {
    Item& it = m->items[i];
    UINT key = (flags & MF_BYPOSITION) ? static_cast<UINT>(i) : it.id;
    if (key < first || key > last || it.IsSeparator()) continue;
    if (key == check) {
      it.state |= MF_CHECKED;
      it.type |= MFT_RADIOCHECK;
      found = true;
    } else {
      it.state &= ~static_cast<UINT>(MF_CHECKED);
      it.type &= ~static_cast<UINT>(MFT_RADIOCHECK);
    }
  }
  return found;
}

BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite) {
  BOOL found = WithItem(menu, item, hilite, FALSE, [hilite](Item& it, Table&) {
    it.state = (hilite & MF_HILITE) ? (it.state | MF_HILITE) : (it.state & ~static_cast<UINT>(MF_HILITE));
    return TRUE;
  });
  if (found && hwnd != nullptr && GetMenu(hwnd) == menu) DrawMenuBar(hwnd);
  return found;
}

namespace {

// A MENUITEMINFO of one of the documented sizes: the whole structure, or the older one that ends
// before hbmpItem. Any other size fails with ERROR_INVALID_PARAMETER.
bool SizedItemInfo(const MENUITEMINFO* info) {
  if (info != nullptr && (info->cbSize == sizeof(MENUITEMINFO) || info->cbSize == offsetof(MENUITEMINFO, hbmpItem)))
    return true;
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

}  // namespace

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info) {
  if (!SizedItemInfo(info)) return FALSE;
  Table& t = TheTable();
  Lock lock(t.mutex);
  Where where = Locate(t, menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (where.menu == nullptr) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  const Item& it = where.menu->items[where.index];
  UINT mask = info->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it.type;
  if (mask & MIIM_STATE) info->fState = it.state;
  if (mask & MIIM_ID) info->wID = it.id;
  if (mask & MIIM_SUBMENU) info->hSubMenu = it.sub;
  if (mask & MIIM_CHECKMARKS) {
    info->hbmpChecked = it.checked;
    info->hbmpUnchecked = it.unchecked;
  }
  if (mask & MIIM_DATA) info->dwItemData = it.data;
  if ((mask & MIIM_BITMAP) && info->cbSize == sizeof(MENUITEMINFO)) info->hbmpItem = nullptr;
  if ((mask & MIIM_TYPE) && (it.type & MFT_BITMAP)) {
    info->dwTypeData = reinterpret_cast<LPSTR>(it.bitmap);
  } else if (mask & (MIIM_TYPE | MIIM_STRING)) {
    if (info->dwTypeData == nullptr || info->cch == 0)
      info->cch = static_cast<UINT>(it.text.size());
    else
      info->cch = static_cast<UINT>(CopyText(it.text, info->dwTypeData, static_cast<int>(info->cch)));
  }
  return TRUE;
}

namespace {

void ApplyInfo(Item& it, LPCMENUITEMINFO info) {
  UINT mask = info->fMask;
  if (mask & MIIM_TYPE) {
    it.type = info->fType;
    if (it.type & MFT_BITMAP)
      it.bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
    else if (it.type & MFT_SEPARATOR)
      it.text.clear();
    else if (!(it.type & MFT_OWNERDRAW))
      it.text = info->dwTypeData != nullptr ? info->dwTypeData : "";
  }
  if (mask & MIIM_FTYPE) it.type = (it.type & MFT_BITMAP) | info->fType;
  if (mask & MIIM_STRING) it.text = info->dwTypeData != nullptr ? info->dwTypeData : "";
  if (mask & MIIM_STATE) it.state = info->fState;
  if (mask & MIIM_ID) it.id = info->wID;
  if (mask & MIIM_SUBMENU) it.sub = info->hSubMenu;
  if (mask & MIIM_CHECKMARKS) {
    it.checked = info->hbmpChecked;
    it.unchecked = info->hbmpUnchecked;
  }
  if (mask & MIIM_DATA) it.data = info->dwItemData;
  if (it.type & MFT_SEPARATOR) {
    it.id = (mask & MIIM_ID) ? info->wID : 0;
    it.state |= MFS_GRAYED;
  }
}

}  // namespace

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
  if (!SizedItemInfo(info)) return FALSE;
  BOOL found = WithItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, FALSE,
                                           [info](Item& it, Table& t) {
                                             HMENU before = it.sub;
                                             ApplyInfo(it, info);
                                             if (it.sub != before) LetGo(t, before);
                                             return TRUE;
                                           });
  if (!found) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return found;
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
  if (!SizedItemInfo(info)) return FALSE;
  Item it;
  ApplyInfo(it, info);
  return Insert(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, std::move(it));
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags) {
  for (int depth = 0; depth < 32; ++depth) {
    auto items = Items(menu);
    if (!items) return static_cast<UINT>(-1);
    auto it = std::find_if(items->begin(), items->end(), [](const Item& i) { return (i.state & MFS_DEFAULT) != 0; });
    if (it == items->end()) return static_cast<UINT>(-1);
    if (it->IsDisabled() && !(flags & GMDI_USEDISABLED)) return static_cast<UINT>(-1);
    if (it->sub != nullptr && (flags & GMDI_GOINTOPOPUPS)) {
      // The submenu's own default when it has one, else this item.
      UINT inner = GetMenuDefaultItem(it->sub, byPosition, flags);
      if (inner != static_cast<UINT>(-1)) return inner;
    }
    return byPosition ? static_cast<UINT>(it - items->begin()) : it->id;
  }
  return static_cast<UINT>(-1);
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  MenuObject* m = Find(t, menu);
  if (m == nullptr) return FALSE;
  for (Item& it : m->items) it.state &= ~static_cast<UINT>(MFS_DEFAULT);
  if (item == static_cast<UINT>(-1)) return TRUE;
  for (size_t i = 0; i < m->items.size(); ++i) {
    if (byPosition ? i == item : m->items[i].id == item) {
      m->items[i].state |= MFS_DEFAULT;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked) {
  return WithItem(menu, position, flags, FALSE, [=](Item& it, Table&) {
    it.checked = checked;
    it.unchecked = unchecked;
    return TRUE;
  });
}

LONG GetMenuCheckMarkDimensions() {
  return MAKELONG(GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
}

// ---- templates ----

HMENU LoadMenuIndirect(const void* menuTemplate) {
  // The caller's template carries its own end marks; the reader stops at them.
  return menuTemplate != nullptr ? LoadMenuFromBytes(menuTemplate, 0x7FFFFFFF) : nullptr;
}

HMENU LoadMenu(HINSTANCE instance, LPCSTR name) {
  HRSRC info = FindResource(instance, name, RT_MENU);
  if (info == nullptr) return nullptr;
  const void* data = LockResource(LoadResource(instance, info));
  return data != nullptr ? LoadMenuFromBytes(data, SizeofResource(instance, info)) : nullptr;
}

// ---- window menus ----

HMENU GetMenu(HWND hwnd) {
  if (!IsWindow(hwnd) || (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) return nullptr;
  auto menu = reinterpret_cast<HMENU>(GetWindowLongPtr(hwnd, GWLP_ID));
  return IsMenu(menu) ? menu : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  if (!IsWindow(hwnd) || (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) return FALSE;
  if (menu != nullptr && !IsMenu(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  SetWindowLongPtr(hwnd, GWLP_ID, reinterpret_cast<LONG_PTR>(menu));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (GetMenu(hwnd) == nullptr) return FALSE;
  return SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                      SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  if (!IsWindow(hwnd)) return nullptr;
  Table& t = TheTable();
  HMENU existing = nullptr;
  // Copies of windows that are gone are dropped as we pass. Which windows are gone is asked of
  // the window manager outside the menu lock: the window manager takes the menu lock under its own.
  std::vector<HWND> owners;
  {
    Lock lock(t.mutex);
    for (const auto& entry : t.systemMenus)
      if (entry.first != hwnd) owners.push_back(entry.first);
  }
  std::vector<HWND> gone;
  for (HWND owner : owners)
    if (!IsWindow(owner)) gone.push_back(owner);
  {
    Lock lock(t.mutex);
    for (HWND owner : gone) {
      auto it = t.systemMenus.find(owner);
      if (it == t.systemMenus.end()) continue;
      DestroyRecursive(t, it->second);
      t.systemMenus.erase(it);
    }
    auto it = t.systemMenus.find(hwnd);
    if (it != t.systemMenus.end()) existing = it->second;
    if (revert && existing != nullptr) {
      DestroyRecursive(t, existing);
      t.systemMenus.erase(hwnd);
      return nullptr;
    }
  }
  if (revert) return nullptr;
  if (existing != nullptr) return existing;
  HMENU menu = MakeSystemMenu();
  Lock lock(t.mutex);
  t.systemMenus[hwnd] = menu;
  return menu;
}

namespace {

// The menu a MENUINFO call is about, or null with the error set.
MenuObject* MenuForInfo(Table& t, HMENU menu, const MENUINFO* info) {
  if (info == nullptr || info->cbSize != sizeof(MENUINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  MenuObject* m = Find(t, menu);
  if (m == nullptr) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return m;
}

}  // namespace

BOOL GetMenuInfo(HMENU menu, LPMENUINFO info) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  const MenuObject* m = MenuForInfo(t, menu, info);
  if (m == nullptr) return FALSE;
  const DWORD mask = info->fMask;
  if (mask & MIM_STYLE) info->dwStyle = m->info.dwStyle;
  if (mask & MIM_MAXHEIGHT) info->cyMax = m->info.cyMax;
  if (mask & MIM_BACKGROUND) info->hbrBack = m->info.hbrBack;
  if (mask & MIM_HELPID) info->dwContextHelpID = m->info.dwContextHelpID;
  if (mask & MIM_MENUDATA) info->dwMenuData = m->info.dwMenuData;
  return TRUE;
}

namespace {

void ApplyMenuInfo(Table& t, HMENU menu, const MENUINFO& info, int depth) {
  MenuObject* m = depth == 0 ? Find(t, menu) : FindHeld(t, menu);
  if (m == nullptr || depth > 64) return;
  if (info.fMask & MIM_STYLE) m->info.dwStyle = info.dwStyle;
  if (info.fMask & MIM_MAXHEIGHT) m->info.cyMax = info.cyMax;
  if (info.fMask & MIM_BACKGROUND) m->info.hbrBack = info.hbrBack;
  if (info.fMask & MIM_HELPID) m->info.dwContextHelpID = info.dwContextHelpID;
  if (info.fMask & MIM_MENUDATA) m->info.dwMenuData = info.dwMenuData;
  if (!(info.fMask & MIM_APPLYTOSUBMENUS)) return;
  std::vector<HMENU> subs;
  for (const Item& item : m->items)
    if (item.sub) subs.push_back(item.sub);
  for (HMENU sub : subs) ApplyMenuInfo(t, sub, info, depth + 1);
}

}  // namespace

BOOL SetMenuInfo(HMENU menu, LPCMENUINFO info) {
  Table& t = TheTable();
  Lock lock(t.mutex);
  if (MenuForInfo(t, menu, info) == nullptr) return FALSE;
  ApplyMenuInfo(t, menu, *info, 0);
  return TRUE;
}
