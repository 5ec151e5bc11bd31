// What a program hangs on a window: properties by name or atom (SetProp), and the window region
// that shapes it (SetWindowRgn).
#include <algorithm>

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

// The window's entry for a property; props.end() when it has none.
std::vector<std::pair<ATOM, HANDLE>>::iterator PropEntry(Window& w, ATOM atom) {
  return std::find_if(w.props.begin(), w.props.end(), [atom](const auto& p) { return p.first == atom; });
}

}  // namespace

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data) {
  const ATOM atom = PropAtom(name, true);
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr || atom == 0) return FALSE;
  if (auto it = PropEntry(*w, atom); it != w->props.end())
    it->second = data;
  else
    w->props.emplace_back(atom, data);
  return TRUE;
}

HANDLE GetProp(HWND hwnd, LPCSTR name) {
  const ATOM atom = PropAtom(name, false);
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr || atom == 0) return nullptr;
  auto it = PropEntry(*w, atom);
  return it != w->props.end() ? it->second : nullptr;
}

HANDLE RemoveProp(HWND hwnd, LPCSTR name) {
  const ATOM atom = PropAtom(name, false);
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr || atom == 0) return nullptr;
  auto it = PropEntry(*w, atom);
  if (it == w->props.end()) return nullptr;
  HANDLE data = it->second;
  w->props.erase(it);
  return data;
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
