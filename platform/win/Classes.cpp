// Window classes: registration, lookup by name or atom, class longs and extra bytes.
#include <algorithm>
#include <cstring>

#include "win/Atoms.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

std::vector<std::shared_ptr<WindowClass>>& Classes() {
  static auto* classes = new std::vector<std::shared_ptr<WindowClass>>;
  return *classes;
}

bool NameMatches(const WindowClass& c, LPCSTR name) {
  if (IS_INTRESOURCE(name)) return c.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
  return CompareNoCase(c.name.c_str(), name) == 0;
}

ATOM Register(const WNDCLASSEX& wc) {
  if (wc.lpszClassName == nullptr || (!IS_INTRESOURCE(wc.lpszClassName) && *wc.lpszClassName == 0) ||
      wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > 40000 || wc.cbWndExtra > 40000) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name;
  if (IS_INTRESOURCE(wc.lpszClassName)) {
    if (!AtomName(static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(wc.lpszClassName)), name)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else {
    name = wc.lpszClassName;
  }
  Guard g(Lock());
  bool global = (wc.style & CS_GLOBALCLASS) != 0;
  for (auto& c : Classes()) {
    if (c->unregistered || CompareNoCase(c->name.c_str(), name.c_str()) != 0) continue;
    if (c->global || global || c->instance == wc.hInstance) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  auto c = std::make_shared<WindowClass>();
  c->name = name;
  c->atom = AddAtom(name.c_str());
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->iconSmall = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (wc.lpszMenuName != nullptr && !IS_INTRESOURCE(wc.lpszMenuName)) {
    c->menuName = wc.lpszMenuName;
    c->menuNamePtr = c->menuName.c_str();
  } else {
    c->menuNamePtr = wc.lpszMenuName;
  }
  c->wndExtra = wc.cbWndExtra;
  c->extra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
  c->global = global;
  Classes().push_back(c);
  return c->atom;
}

void Describe(const WindowClass& c, WNDCLASSEX& wc) {
  wc.style = c.style;
  wc.lpfnWndProc = c.proc;
  wc.cbClsExtra = static_cast<int>(c.extra.size());
  wc.cbWndExtra = c.wndExtra;
  wc.hInstance = c.instance;
  wc.hIcon = c.icon;
  wc.hCursor = c.cursor;
  wc.hbrBackground = c.background;
  wc.lpszMenuName = c.menuNamePtr;
  wc.lpszClassName = c.name.c_str();
  wc.hIconSm = c.iconSmall != nullptr ? c.iconSmall : c.icon;
}

}  // namespace

std::shared_ptr<WindowClass> FindClass(LPCSTR name, HINSTANCE instance) {
  if (name == nullptr) return nullptr;
  Guard g(Lock());
  std::shared_ptr<WindowClass> any;
  for (auto& c : Classes()) {
    if (c->unregistered || !NameMatches(*c, name)) continue;
    if (c->instance == instance || instance == nullptr) return c;
    if (c->global || !any) any = c;
  }
  return any;
}

}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

ATOM RegisterClass(const WNDCLASS* wc) {
  if (wc == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEX ex{};
  ex.cbSize = sizeof(ex);
  ex.style = wc->style;
  ex.lpfnWndProc = wc->lpfnWndProc;
  ex.cbClsExtra = wc->cbClsExtra;
  ex.cbWndExtra = wc->cbWndExtra;
  ex.hInstance = wc->hInstance;
  ex.hIcon = wc->hIcon;
  ex.hCursor = wc->hCursor;
  ex.hbrBackground = wc->hbrBackground;
  ex.lpszMenuName = wc->lpszMenuName;
  ex.lpszClassName = wc->lpszClassName;
  return Register(ex);
}

ATOM RegisterClassEx(const WNDCLASSEX* wc) {
  if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Register(*wc);
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE instance) {
  Guard g(Lock());
  auto c = FindClass(className, instance);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (c->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  c->unregistered = true;
  auto& all = Classes();
  all.erase(std::remove(all.begin(), all.end(), c), all.end());
  return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE instance, LPCSTR className, LPWNDCLASSEX wc) {
  auto c = FindClass(className, instance);
  if (!c || wc == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  Guard g(Lock());
  Describe(*c, *wc);
  return c->atom;
}

BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, LPWNDCLASS wc) {
  WNDCLASSEX ex{};
  if (wc == nullptr || !GetClassInfoEx(instance, className, &ex)) return FALSE;
  wc->style = ex.style;
  wc->lpfnWndProc = ex.lpfnWndProc;
  wc->cbClsExtra = ex.cbClsExtra;
  wc->cbWndExtra = ex.cbWndExtra;
  wc->hInstance = ex.hInstance;
  wc->hIcon = ex.hIcon;
  wc->hCursor = ex.hCursor;
  wc->hbrBackground = ex.hbrBackground;
  wc->lpszMenuName = ex.lpszMenuName;
  wc->lpszClassName = ex.lpszClassName;
  return TRUE;
}

int GetClassName(HWND hwnd, LPSTR name, int maxCount) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return 0;
  if (name == nullptr || maxCount <= 0) return 0;
  int n = std::min(static_cast<int>(w->cls->name.size()), maxCount - 1);
  std::memcpy(name, w->cls->name.data(), static_cast<size_t>(n));
  name[n] = 0;
  return n;
}

namespace {

// The class extra bytes at [index, index + size) of a window's class; null (with the error set)
// when the window or the range does not exist.
BYTE* ClassExtra(HWND hwnd, int index, size_t size) {
  Window* w = Checked(hwnd);
  if (w == nullptr) return nullptr;
  if (index < 0 || static_cast<size_t>(index) + size > w->cls->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return nullptr;
  }
  return w->cls->extra.data() + index;
}

template <class T>
T ReplaceClassExtra(HWND hwnd, int index, const T* value) {
  Guard g(Lock());
  BYTE* p = ClassExtra(hwnd, index, sizeof(T));
  if (p == nullptr) return 0;
  T old;
  std::memcpy(&old, p, sizeof(T));
  if (value) std::memcpy(p, value, sizeof(T));
  return old;
}

}  // namespace

ULONG_PTR GetClassLongPtr(HWND hwnd, int index) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return 0;
  WindowClass& c = *w->cls;
  if (index >= 0) return ReplaceClassExtra<ULONG_PTR>(hwnd, index, nullptr);
  switch (index) {
    case GCLP_MENUNAME: return reinterpret_cast<ULONG_PTR>(c.menuNamePtr);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
    // Without a small icon of its own a class's small icon is its icon, drawn small.
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(c.iconSmall != nullptr ? c.iconSmall : c.icon);
    case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(c.instance);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c.wndExtra);
    case GCL_CBCLSEXTRA: return c.extra.size();
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_STYLE: return c.style;
    case GCW_ATOM: return c.atom;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return 0;
  WindowClass& c = *w->cls;
  if (index >= 0) {
    ULONG_PTR v = static_cast<ULONG_PTR>(value);
    return ReplaceClassExtra<ULONG_PTR>(hwnd, index, &v);
  }
  ULONG_PTR old = GetClassLongPtr(hwnd, index);
  switch (index) {
    case GCLP_HBRBACKGROUND: c.background = reinterpret_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: c.cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_HICON: c.icon = reinterpret_cast<HICON>(value); break;
    case GCLP_HICONSM: c.iconSmall = reinterpret_cast<HICON>(value); break;
    case GCLP_HMODULE: c.instance = reinterpret_cast<HINSTANCE>(value); break;
    case GCLP_WNDPROC: c.proc = reinterpret_cast<WNDPROC>(value); break;
    case GCL_STYLE: c.style = static_cast<UINT>(value); break;
    case GCL_CBWNDEXTRA: c.wndExtra = static_cast<int>(value); break;
    case GCLP_MENUNAME:
      if (value != 0 && !IS_INTRESOURCE(reinterpret_cast<LPCSTR>(value))) {
        c.menuName = reinterpret_cast<LPCSTR>(value);
        c.menuNamePtr = c.menuName.c_str();
      } else {
        c.menuNamePtr = reinterpret_cast<LPCSTR>(value);
      }
      break;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
  }
  return old;
}


DWORD GetClassLong(HWND hwnd, int index) {
  if (index >= 0) return ReplaceClassExtra<DWORD>(hwnd, index, nullptr);
  return static_cast<DWORD>(GetClassLongPtr(hwnd, index));
}

DWORD SetClassLong(HWND hwnd, int index, LONG value) {
  if (index >= 0) {
    DWORD v = static_cast<DWORD>(value);
    return ReplaceClassExtra<DWORD>(hwnd, index, &v);
  }
  return static_cast<DWORD>(SetClassLongPtr(hwnd, index, value));
}

WORD GetClassWord(HWND hwnd, int index) {
  if (index == GCW_ATOM) return static_cast<WORD>(GetClassLongPtr(hwnd, GCW_ATOM));
  return ReplaceClassExtra<WORD>(hwnd, index, nullptr);
}
