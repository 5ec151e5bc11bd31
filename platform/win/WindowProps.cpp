// What a program hangs on a window: properties by name or atom (SetProp), and the window region
// that shapes it (SetWindowRgn).
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "win/Atoms.h"
#include "win/WindowManager.h"

using namespace brambolt;
using namespace brambolt::wm;

namespace {

// A property name is a string or an atom in the low word (MAKEINTATOM).
ATOM PropAtom(LPCSTR name, bool add) {
  if (name == nullptr) return 0;
  if (IS_INTRESOURCE(name)) return static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
  return add ? AddAtom(name) : FindAtomNoAdd(name);
}

}  // namespace

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data) {
  const ATOM atom = PropAtom(name, true);
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr || atom == 0) return FALSE;
  for (auto& [key, value] : w->props)
    if (key == atom) {
      value = data;
      return TRUE;
    }
  w->props.emplace_back(atom, data);
  return TRUE;
}

HANDLE GetProp(HWND hwnd, LPCSTR name) {
  const ATOM atom = PropAtom(name, false);
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr || atom == 0) return nullptr;
  for (const auto& [key, value] : w->props)
    if (key == atom) return value;
  return nullptr;
}

HANDLE RemoveProp(HWND hwnd, LPCSTR name) {
  const ATOM atom = PropAtom(name, false);
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr || atom == 0) return nullptr;
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (it->first == atom) {
      HANDLE data = it->second;
      w->props.erase(it);
      return data;
    }
  return nullptr;
}

// The window keeps the region and deletes the handle: the caller must not use it again.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  std::shared_ptr<Region> shape;
  if (region != nullptr) {
    const Region* r = RegionOf(region);
    if (r == nullptr) return 0;
    shape = std::make_shared<Region>(*r);
  }
  {
    Guard g(Lock());
    Window* w = Checked(hwnd);
    if (w == nullptr) return 0;
    w->shape = std::move(shape);
  }
  if (region != nullptr) DeleteObject(region);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                   (redraw ? 0 : SWP_NOREDRAW));
  return 1;
}

// Copies the window region into `region`; ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN region) {
  Region shape;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr || !w->shape) return ERROR;
    shape = *w->shape;
  }
  if (!SetRegion(region, shape)) return ERROR;
  return shape.Type();
}
