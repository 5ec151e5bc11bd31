// Painting: update regions and invalidation, WM_PAINT/WM_NCPAINT/WM_ERASEBKGND, device contexts of
// windows clipped to their visible region, scrolling window contents, LockWindowUpdate, surfaces
// and the composed screen.
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

#include "gdi/Bitmaps.h"
#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "gdi/SysColors.h"
#include "win/Backend.h"
#include "win/Caret.h"
#include "win/Internal.h"
#include "win/Surfaces.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

struct DcRecord {
  HWND hwnd = nullptr;  // null for the screen overlay
  HWND top = nullptr;
  RECT damage{};        // surface coordinates, reported to the backend on release
};

struct PaintState {
  std::map<HDC, DcRecord> dcs;
  HWND locked = nullptr;
  SurfacePtr overlay;
};

PaintState& State() {
  static PaintState* s = new PaintState;
  return *s;
}

RECT SurfaceRect(const Window& w, bool whole) {
  RECT r = ScreenRect(w, !whole);
  Window* top = Get(TopLevelOf(w.handle));
  if (top) {
    RECT t = ScreenRect(*top, false);
    Offset(r, -t.left, -t.top);
  }
  return r;
}

// Where a window is on its top-level surface: its whole rectangle, cut to its shape when
// SetWindowRgn gave it one.
Region SurfaceArea(const Window& w) {
  RECT r = SurfaceRect(w, true);
  if (!w.shape) return Region(r);
  Region shaped = *w.shape;
  shaped.Offset(r.left, r.top);
  shaped.IntersectRect(r);
  return shaped;
}

// With the flags of VisibleRegion: the children's areas stay in, whatever the window's style
// (what a move takes along, or must have painted again, is the window with its children).
constexpr DWORD kWithChildren = 0x80000000;

// The part of a window (client area, or the whole window) where drawing shows, in the surface
// coordinates of its top-level window.
Region VisibleRegion(HWND hwnd, DWORD flags) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr || !VisibleOnScreen(hwnd)) return Region();
  bool whole = (flags & DCX_WINDOW) != 0;
  Region vis(SurfaceRect(*w, whole));
  if (w->shape) vis.Intersect(SurfaceArea(*w));
  if (!(flags & DCX_LOCKWINDOWUPDATE) && State().locked &&
      (State().locked == hwnd || IsChild(State().locked, hwnd)))
    return Region();
  // Ancestors clip to their client areas and shapes, and their clip-siblings styles apply to them too.
  for (Window* c = w; (c->style & WS_CHILD) && Get(c->parent) && c->parent != Desktop();
       c = Get(c->parent)) {
    Window* p = Get(c->parent);
    vis.IntersectRect(SurfaceRect(*p, false));
    if (p->shape) vis.Intersect(SurfaceArea(*p));
    if ((c->style & WS_CLIPSIBLINGS) || (c == w && (flags & DCX_CLIPSIBLINGS))) {
      for (HWND s : p->children) {
        if (s == c->handle) break;
        Window* sw = Get(s);
        if (sw && (sw->style & WS_VISIBLE)) vis.Subtract(SurfaceArea(*sw));
      }
    }
  }
  if (!(flags & kWithChildren) && ((flags & DCX_CLIPCHILDREN) || (w->style & WS_CLIPCHILDREN))) {
    // A child shows only inside this window's client area, so the borders stay this window's to
    // draw even under a child that reaches beyond them (a maximised document window's frame).
    const RECT client = SurfaceRect(*w, false);
    for (HWND ch : w->children) {
      Window* cw = Get(ch);
      if (!cw || !(cw->style & WS_VISIBLE)) continue;
      Region shown = SurfaceArea(*cw);
      shown.IntersectRect(client);
      vis.Subtract(shown);
    }
  }
  return vis;
}

// Copies the pixels of `source` (surface coordinates) by (dx, dy) within the surface, through a
// copy so that overlapping source and destination work; answers the region written.
Region CopySurfacePixels(Surface& surface, const Region& source, int dx, int dy) {
  RECT box = source.Box();
  int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return Region();
  std::vector<std::uint32_t> copy(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    std::memcpy(&copy[static_cast<size_t>(y) * w], surface.Row(box.top + y) + box.left, sizeof(std::uint32_t) * w);
  Region target = source;
  target.Offset(dx, dy);
  for (const RECT& r : target.Rects())
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        surface.Row(y)[x] = copy[static_cast<size_t>(y - dy - box.top) * w + (x - dx - box.left)];
  return target;
}

RECT TopOrigin(HWND top) {
  Guard g(Lock());
  Window* t = Get(top);
  return t ? ScreenRect(*t, false) : RECT{};
}

bool InvalidateOne(Window& w, const Region* clientRegion, UINT flags) {
  RECT client{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top};
  Region area = clientRegion ? *clientRegion : Region(client);
  area.IntersectRect(client);
  if (!w.update) w.update = std::make_shared<Region>();
  bool changed = false;
  if (flags & RDW_INVALIDATE) {
    if (!area.IsEmpty()) {
      w.update->Unite(area);
      changed = true;
      if (flags & RDW_ERASE) w.eraseNeeded = true;
    }
    if (flags & RDW_FRAME) {
      w.frameNeeded = true;
      changed = true;
    }
  } else if (flags & RDW_VALIDATE) {
    w.update->Subtract(area);
    if (w.update->IsEmpty()) w.eraseNeeded = false;
    if ((flags & RDW_NOFRAME) == 0 && (flags & RDW_FRAME)) w.frameNeeded = false;
  }
  if (flags & RDW_INTERNALPAINT) w.internalPaint = true;
  if (flags & RDW_NOINTERNALPAINT) w.internalPaint = false;
  if (flags & RDW_NOERASE) w.eraseNeeded = false;
  return changed;
}

void InvalidateTree(HWND hwnd, const Region* clientRegion, UINT flags);

// The visible children of a window that a region of its client area (null: all of it) touches,
// each with that region in its own client coordinates. Call with the lock held.
std::vector<std::pair<HWND, Region>> ChildrenUnder(const Window& w, const Region* clientRegion) {
  std::vector<std::pair<HWND, Region>> children;
  for (HWND c : w.children) {
    Window* cw = Get(c);
    if (cw == nullptr || !(cw->style & WS_VISIBLE)) continue;
    if (clientRegion == nullptr) {
      children.emplace_back(c, Region());
      continue;
    }
    Region r = *clientRegion;
    r.Offset(-cw->client.left, -cw->client.top);
    RECT childWindow = cw->window;
    Offset(childWindow, -cw->client.left, -cw->client.top);
    if (!r.Intersects(childWindow)) continue;
    children.emplace_back(c, r);
  }
  return children;
}

void InvalidateChildren(const std::vector<std::pair<HWND, Region>>& children, bool whole, UINT flags) {
  UINT childFlags = flags & ~RDW_NOCHILDREN;
  // A child whose window area is touched gets its frame repainted too.
  if (flags & RDW_INVALIDATE) childFlags |= RDW_FRAME;
  for (auto& [c, r] : children) InvalidateTree(c, whole ? nullptr : &r, childFlags);
}

// Applies invalidation to a window and, as the flags and WS_CLIPCHILDREN say, to its children.
void InvalidateTree(HWND hwnd, const Region* clientRegion, UINT flags) {
  std::vector<std::pair<HWND, Region>> children;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return;
    InvalidateOne(*w, clientRegion, flags);
    bool recurse = (flags & RDW_ALLCHILDREN) ||
                   (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (!recurse) return;
    children = ChildrenUnder(*w, clientRegion);
  }
  InvalidateChildren(children, clientRegion == nullptr, flags);
}

void SendNcPaint(HWND hwnd) {
  bool pending;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    pending = w && w->frameNeeded;
    if (pending) w->frameNeeded = false;
  }
  if (pending) SendMessage(hwnd, WM_NCPAINT, 1, 0);
}

void EraseNow(HWND hwnd) {
  bool pending;
  std::shared_ptr<Region> update;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    pending = w && w->eraseNeeded && w->update && !w->update->IsEmpty();
    if (pending) {
      w->eraseNeeded = false;
      update = std::make_shared<Region>(*w->update);
    }
  }
  if (!pending) return;
  HRGN rgn = CreateRegionHandle(*update);
  POINT o = ClientOrigin(hwnd);
  OffsetRgn(rgn, o.x, o.y);
  HDC hdc = GetDCEx(hwnd, rgn, DCX_INTERSECTRGN | DCX_CACHE);
  DeleteObject(rgn);
  if (!SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0)) {
    Guard g(Lock());
    if (Window* w = Get(hwnd)) w->eraseNeeded = true;
  }
  ReleaseDC(hwnd, hdc);
}

// Paints now what the flags ask of a window and its children. UpdateWindow paints only windows
// whose update region is not empty (`internalToo` false): one asked for an internal paint alone
// gets its WM_PAINT from the queue.
void UpdateNow(HWND hwnd, UINT flags, bool internalToo = true) {
  if (!IsWindowVisible(hwnd)) return;
  SendNcPaint(hwnd);
  bool paint;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    paint = w && (internalToo ? NeedsPaint(*w) : w->update && !w->update->IsEmpty());
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) EraseNow(hwnd);
  if ((flags & RDW_UPDATENOW) && paint) SendMessage(hwnd, WM_PAINT, 0, 0);
  if (flags & RDW_NOCHILDREN) return;
  std::vector<HWND> children;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return;
    // Erasing alone reaches the children only where the window's own erase left them out (it
    // clips its children) or the caller asks for them all: a window that does not clip its
    // children has just erased over them, and they get their frame and background when they paint.
    if ((flags & RDW_UPDATENOW) || (flags & RDW_ALLCHILDREN) || (w->style & WS_CLIPCHILDREN)) children = w->children;
  }
  for (auto it = children.rbegin(); it != children.rend(); ++it) UpdateNow(*it, flags, internalToo);
}

void Present(HWND top, const RECT& damage) {
  if (top == nullptr || damage.right <= damage.left || damage.bottom <= damage.top) return;
  GetBackend().Present(top, damage);
}

// CreateDC("DISPLAY") draws on the screen: the overlay over every window.
HDC DisplayDC() { return CreateSurfaceDC(GetScreenOverlay(), POINT{0, 0}, nullptr); }

const bool g_displayFactoryInstalled = (SetDisplayDCFactory(DisplayDC), true);

}  // namespace

bool NeedsPaint(const Window& w) {
  return (w.update && !w.update->IsEmpty()) || w.internalPaint || w.frameNeeded;
}

HWND FindPaintWindow(ThreadQueue& q, HWND filter) {
  Guard g(Lock());
  std::vector<HWND> stack;
  Window* desktop = Get(Desktop());
  for (auto it = desktop->children.rbegin(); it != desktop->children.rend(); ++it)
    stack.push_back(*it);
  while (!stack.empty()) {
    HWND h = stack.back();
    stack.pop_back();
    Window* w = Get(h);
    if (w == nullptr || !(w->style & WS_VISIBLE)) continue;
    if (w->threadId == q.threadId && NeedsPaint(*w) &&
        (filter == nullptr || filter == h || IsChild(filter, h)))
      return h;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) stack.push_back(*it);
  }
  return nullptr;
}

MovedFrom BeforeMove(HWND hwnd, bool carry) {
  MovedFrom before;
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr) return before;
  before.screen = ScreenRect(*w, false);
  before.clientScreen = ScreenRect(*w, true);
  before.visible = VisibleOnScreen(hwnd);
  if (IsTopLevel(*w)) return before;
  before.waiting = w->update && !w->update->IsEmpty();
  // What showed is what the parent must repaint if it shows no more, locked or not.
  before.shown = VisibleRegion(hwnd, DCX_WINDOW | kWithChildren | DCX_LOCKWINDOWUPDATE);
  // Only valid pixels go along: a window still waiting to paint (one never painted, say) is
  // painted whole, frame and background, at its new place.
  if (carry && !before.waiting)
    before.carried = VisibleRegion(hwnd, DCX_WINDOW | kWithChildren);
  return before;
}

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A child window keeps the pixels it showed before that show again: moved, all of them go along;
// resized, the valid pixels of its client area stay at the client's top-left corner and its frame
// is drawn anew. Only the rest is painted again. False when the whole window must be painted:
// CS_HREDRAW when the client's width changes, CS_VREDRAW when its height does.
bool CarryPixels(HWND hwnd, const MovedFrom& before) {
  RECT newScreen, newClientScreen, clientSurface;
  bool sizeChanged;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr || IsTopLevel(*w) || !before.carried) return false;
    newScreen = ScreenRect(*w, false);
    newClientScreen = ScreenRect(*w, true);
    sizeChanged = Width(before.screen) != Width(newScreen) || Height(before.screen) != Height(newScreen);
    UINT cs = w->cls ? w->cls->style : 0;
    if (((cs & CS_HREDRAW) && Width(before.clientScreen) != Width(newClientScreen)) ||
        ((cs & CS_VREDRAW) && Height(before.clientScreen) != Height(newClientScreen)))
      return false;
    clientSurface = SurfaceRect(*w, false);
  }
  HWND top = GetAncestor(hwnd, GA_ROOT);
  SurfacePtr surface = GetWindowSurface(top);
  if (!surface) return false;
  // Children move with their parent: their pixels go along, and what of them shows only now
  // (a parent grown after its children) is painted again with the rest.
  Region now = VisibleRegion(hwnd, DCX_WINDOW | kWithChildren);
  Region source = *before.carried;
  int dx = newScreen.left - before.screen.left, dy = newScreen.top - before.screen.top;
  Region target = now;
  if (sizeChanged) {
    RECT origin = TopOrigin(top);
    RECT oldClientSurface = before.clientScreen;
    Offset(oldClientSurface, -origin.left, -origin.top);
    source.IntersectRect(oldClientSurface);
    dx = newClientScreen.left - before.clientScreen.left;
    dy = newClientScreen.top - before.clientScreen.top;
    target.IntersectRect(clientSurface);
  }
  source.Offset(dx, dy);
  source.Intersect(target);
  source.Offset(-dx, -dy);
  Region written;
  if (dx || dy) {
    written = CopySurfacePixels(*surface, source, dx, dy);
    Region touched = written;
    touched.Unite(source);
    if (!touched.IsEmpty()) Present(top, touched.Box());
  } else {
    written = source;  // the pixels are where they were
  }
  Region fresh = now;
  fresh.Subtract(written);
  if (!fresh.IsEmpty()) {
    UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN;
    if (!Region(clientSurface).ContainsRect(fresh.Box())) flags |= RDW_FRAME;
    fresh.Offset(-clientSurface.left, -clientSurface.top);
    HRGN rgn = CreateRegionHandle(fresh);
    RedrawWindow(hwnd, nullptr, rgn, flags);
    DeleteObject(rgn);
  }
  return true;
}

// What of a window's client area (its own coordinates) still waits to be painted: its update
// region and those of its visible descendants, with the frames they wait for. Pixels there were
// never valid, so a resize keeps none of them. Call with the lock held.
Region PendingArea(const Window& w) {
  Region pending = w.update ? *w.update : Region();
  for (HWND c : w.children) {
    const Window* cw = Get(c);
    if (cw == nullptr || !(cw->style & WS_VISIBLE)) continue;
    if (cw->frameNeeded) pending.Unite(Region(cw->window));
    Region inner = PendingArea(*cw);
    inner.Offset(cw->client.left, cw->client.top);
    pending.Unite(inner);
  }
  return pending;
}

}  // namespace

void InvalidateAfterMove(HWND hwnd, const MovedFrom& before, bool redraw) {
  const RECT& oldScreen = before.screen;
  HWND parent;
  bool visible, topLevel, whole;
  RECT newScreen{};
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return;
    topLevel = IsTopLevel(*w);
    parent = w->parent;
    visible = VisibleOnScreen(hwnd);
    newScreen = ScreenRect(*w, false);
    bool sizeChanged = Width(oldScreen) != Width(newScreen) || Height(oldScreen) != Height(newScreen);
    UINT cs = w->cls ? w->cls->style : 0;
    // A top-level window that was hidden kept no pixels: it is painted whole, children and all.
    whole = !sizeChanged || (cs & (CS_HREDRAW | CS_VREDRAW)) || !topLevel || !before.visible;
  }
  if (!redraw) return;
  if (visible) {
    if (!topLevel && CarryPixels(hwnd, before)) {
      // Painted what the move uncovered.
    } else if (whole) {
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    } else {
      // A top-level window that only grew keeps its pixels; only the new parts and the frame
      // need painting. Its surface keeps them at the window's top-left whichever edge was
      // dragged, and the frame keeps its thickness: what is kept is the old client area at the
      // client's origin. Where the old frame's right and bottom edges were is client area now.
      // What still waited to be painted there, of the window or of its children, kept nothing
      // valid: it is painted anew too, frames and backgrounds of those children included.
      RECT client, window;
      GetClientRect(hwnd, &client);
      GetWindowRect(hwnd, &window);
      const RECT keptRect{0, 0, client.right - (Width(window) - Width(oldScreen)),
                          client.bottom - (Height(window) - Height(oldScreen))};
      Region kept(keptRect);
      {
        Guard g(Lock());
        if (Window* w = Get(hwnd)) kept.Subtract(PendingArea(*w));
      }
      Region fresh(client);
      fresh.Subtract(kept);
      HRGN rgn = CreateRegionHandle(fresh);
      RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      DeleteObject(rgn);
    }
  }
  if (!topLevel && IsWindow(parent)) {
    // What showed of the window before and shows no more is the parent's to paint again (with
    // the siblings it uncovers); without that knowledge, all the window covered before.
    POINT o = ClientOrigin(parent);
    Region exposed;
    if (before.shown) {
      exposed = *before.shown;
      exposed.Subtract(VisibleRegion(hwnd, DCX_WINDOW | kWithChildren | DCX_LOCKWINDOWUPDATE));
      RECT origin = TopOrigin(GetAncestor(hwnd, GA_ROOT));
      exposed.Offset(origin.left - o.x, origin.top - o.y);
    } else {
      RECT old = oldScreen;
      Offset(old, -o.x, -o.y);
      exposed = Region(old);
      if (visible) {
        RECT now = newScreen;
        Offset(now, -o.x, -o.y);
        exposed.SubtractRect(now);
      }
    }
    if (!exposed.IsEmpty()) {
      HRGN rgn = CreateRegionHandle(exposed);
      RedrawWindow(parent, nullptr, rgn, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      DeleteObject(rgn);
    }
  }
}

// As on Windows, a window of this thread has its frame and background painted before it hears of
// its new place: a child that paints itself while it is sized then draws over the erased parent
// instead of being erased by the parent's later paint. A child that was already waiting to paint
// and is only sized (not moved, shown, reordered or framed anew) uncovers nothing of its parent:
// it keeps waiting, and its frame and background are painted with the rest of it from the queue.
void EraseAfterMove(HWND hwnd, const MovedFrom& before, UINT flags) {
  if (flags & (SWP_NOREDRAW | SWP_DEFERERASE)) return;
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return;
  const bool sizedOnly = (flags & SWP_NOMOVE) && (flags & SWP_NOZORDER) &&
                         !(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED));
  if (before.waiting && sizedOnly) return;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASENOW);
}

void ResizeSurface(HWND top) {
  Guard g(Lock());
  Window* w = Get(top);
  if (w == nullptr || !w->surface) return;
  int width = std::max<int>(0, w->window.right - w->window.left);
  int height = std::max<int>(0, w->window.bottom - w->window.top);
  if (w->surface->Width() != width || w->surface->Height() != height)
    w->surface->Resize(width, height, PixelFromColor(GetSysColor(COLOR_WINDOW)));
}

LRESULT DefEraseBackground(HWND hwnd, HDC hdc) {
  HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtr(hwnd, GCLP_HBRBACKGROUND));
  if (brush == nullptr || hdc == nullptr) return 0;
  auto value = reinterpret_cast<ULONG_PTR>(brush);
  if (value <= COLOR_MENUBAR + 1) brush = GetSysColorBrush(static_cast<int>(value) - 1);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(hdc, &client, brush);
  return 1;
}

void DefPrint(HWND hwnd, HDC hdc, DWORD flags) {
  if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) return;
  if (flags & PRF_NONCLIENT) PaintNonClient(hwnd, hdc);
  POINT org{};
  RECT window, client;
  GetWindowRect(hwnd, &window);
  POINT co = ClientOrigin(hwnd);
  GetClientRect(hwnd, &client);
  int dx = (flags & PRF_NONCLIENT) ? co.x - window.left : 0;
  int dy = (flags & PRF_NONCLIENT) ? co.y - window.top : 0;
  OffsetViewportOrgEx(hdc, dx, dy, &org);
  if (flags & PRF_ERASEBKGND) SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
  if (flags & PRF_CLIENT) SendMessage(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), flags);
  if (flags & PRF_CHILDREN) {
    std::vector<HWND> children;
    {
      Guard g(Lock());
      if (Window* w = Get(hwnd)) children = w->children;
    }
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      if (!(GetWindowLongPtr(*it, GWL_STYLE) & WS_VISIBLE)) continue;
      RECT cr;
      GetWindowRect(*it, &cr);
      POINT here{};
      OffsetViewportOrgEx(hdc, cr.left - co.x, cr.top - co.y, &here);
      SendMessage(*it, WM_PRINT, reinterpret_cast<WPARAM>(hdc),
                  flags | PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
      SetViewportOrgEx(hdc, here.x, here.y, nullptr);
    }
  }
  SetViewportOrgEx(hdc, org.x, org.y, nullptr);
}

}  // namespace brambolt::wm

namespace brambolt {

SurfacePtr GetWindowSurface(HWND topLevel) {
  using namespace wm;
  Guard g(Lock());
  Window* w = Get(topLevel);
  if (w == nullptr || !IsTopLevel(*w) || topLevel == Desktop()) return nullptr;
  if (!w->surface) {
    int width = std::max<int>(0, w->window.right - w->window.left);
    int height = std::max<int>(0, w->window.bottom - w->window.top);
    w->surface = std::make_shared<Surface>(width, height, PixelFromColor(GetSysColor(COLOR_WINDOW)));
  }
  return w->surface;
}

SurfacePtr GetScreenOverlay() {
  using namespace wm;
  Guard g(Lock());
  PaintState& s = State();
  SIZE screen = GetScreenSize();
  if (!s.overlay) s.overlay = std::make_shared<Surface>(screen.cx, screen.cy, 0);
  if (s.overlay->Width() != screen.cx || s.overlay->Height() != screen.cy)
    s.overlay->Resize(screen.cx, screen.cy, 0);
  return s.overlay;
}

void ComposeScreen(Surface& out) {
  using namespace wm;
  SIZE screen = GetScreenSize();
  out.Resize(screen.cx, screen.cy);
  out.Fill(PixelFromColor(GetSysColor(COLOR_DESKTOP)));
  std::vector<HWND> tops;
  {
    Guard g(Lock());
    tops = Get(Desktop())->children;
  }
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    RECT r;
    SurfacePtr surface;
    {
      Guard g(Lock());
      Window* w = Get(*it);
      if (w == nullptr || !(w->style & WS_VISIBLE) || w->messageOnly) continue;
      r = w->window;
    }
    surface = GetWindowSurface(*it);
    if (!surface) continue;
    for (int y = 0; y < surface->Height(); ++y) {
      int sy = r.top + y;
      if (sy < 0 || sy >= out.Height()) continue;
      for (int x = 0; x < surface->Width(); ++x) {
        int sx = r.left + x;
        if (sx >= 0 && sx < out.Width()) out.Row(sy)[sx] = surface->Row(y)[x];
      }
    }
  }
  SurfacePtr overlay = GetScreenOverlay();
  for (int y = 0; y < out.Height() && y < overlay->Height(); ++y)
    for (int x = 0; x < out.Width() && x < overlay->Width(); ++x)
      out.Row(y)[x] = (out.Row(y)[x] ^ overlay->Row(y)[x]) & 0x00FFFFFF;
}

}  // namespace brambolt

using namespace brambolt;
using namespace brambolt;
using namespace brambolt::wm;

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  if (hwnd == nullptr || hwnd == Desktop()) {
    SurfacePtr overlay = GetScreenOverlay();
    Region vis(RECT{0, 0, overlay->Width(), overlay->Height()});
    if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)))
      if (const Region* r = RegionOf(clip))
        flags & DCX_INTERSECTRGN ? vis.Intersect(*r) : vis.Subtract(*r);
    HDC hdc = CreateSurfaceDC(overlay, POINT{0, 0}, &vis);
    Guard g(Lock());
    State().dcs[hdc] = DcRecord{nullptr, nullptr, {}};
    return hdc;
  }
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  HWND top = GetAncestor(hwnd, GA_ROOT);
  SurfacePtr surface = GetWindowSurface(top);
  if (!surface) return nullptr;
  Region vis = VisibleRegion(hwnd, flags);
  RECT topScreen = TopOrigin(top);
  if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    if (const Region* r = RegionOf(clip)) {
      Region c = *r;
      c.Offset(-topScreen.left, -topScreen.top);
      if (flags & DCX_INTERSECTRGN)
        vis.Intersect(c);
      else
        vis.Subtract(c);
    }
  }
  RECT origin;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    origin = ScreenRect(*w, !(flags & DCX_WINDOW));
  }
  POINT device{origin.left - topScreen.left, origin.top - topScreen.top};
  HDC hdc = CreateSurfaceDC(surface, device, &vis);
  Guard g(Lock());
  State().dcs[hdc] = DcRecord{hwnd, top, vis.Box()};
  return hdc;
}

namespace brambolt::wm {

void ShowHeldDesktopDrawing() {
  {
    Guard g(Lock());
    const auto& dcs = State().dcs;
    if (std::none_of(dcs.begin(), dcs.end(), [](const auto& held) { return held.second.top == nullptr; })) return;
  }
  SurfacePtr overlay = GetScreenOverlay();
  GetBackend().OverlayChanged(RECT{0, 0, overlay->Width(), overlay->Height()});
}

}  // namespace brambolt::wm

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_CACHE); }

HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW | DCX_CACHE); }

int ReleaseDC(HWND, HDC hdc) {
  DcRecord rec;
  {
    Guard g(Lock());
    auto it = State().dcs.find(hdc);
    if (it == State().dcs.end()) return 0;
    rec = it->second;
    State().dcs.erase(it);
  }
  DeleteDC(hdc);
  if (rec.top == nullptr) {
    SurfacePtr overlay = GetScreenOverlay();
    GetBackend().OverlayChanged(RECT{0, 0, overlay->Width(), overlay->Height()});
  } else {
    Present(rec.top, rec.damage);
  }
  return 1;
}

HWND WindowFromDC(HDC hdc) {
  Guard g(Lock());
  auto it = State().dcs.find(hdc);
  if (it == State().dcs.end()) return nullptr;
  return it->second.hwnd ? it->second.hwnd : Desktop();
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  if (ps == nullptr || !IsWindow(hwnd)) return nullptr;
  std::memset(ps, 0, sizeof(*ps));
  HideCaretForPaint(hwnd);
  SendNcPaint(hwnd);
  Region update;
  bool erase;
  std::vector<std::pair<HWND, Region>> covered;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return nullptr;
    if (w->update) update = *w->update;
    w->update = std::make_shared<Region>();
    w->internalPaint = false;
    erase = w->eraseNeeded;
    w->eraseNeeded = false;
    // A window that does not clip its children paints over them: they paint themselves again
    // after it, even those that painted since it was invalidated (a view that repaints at once
    // when its frame lays it out), and so do all of theirs, which it covers as well.
    if (!(w->style & WS_CLIPCHILDREN) && !update.IsEmpty()) covered = ChildrenUnder(*w, &update);
  }
  InvalidateChildren(covered, false, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  POINT o = ClientOrigin(hwnd);
  Region screenUpdate = update;
  screenUpdate.Offset(o.x, o.y);
  HRGN rgn = CreateRegionHandle(screenUpdate);
  HDC hdc = GetDCEx(hwnd, rgn, DCX_INTERSECTRGN | DCX_USESTYLE);
  DeleteObject(rgn);
  ps->hdc = hdc;
  ps->rcPaint = update.Box();
  if (erase) ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
  return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (ps == nullptr) return FALSE;
  if (ps->hdc) ReleaseDC(hwnd, ps->hdc);
  ShowCaretAfterPaint(hwnd);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* update, HRGN region, UINT flags) {
  if (hwnd == nullptr) {
    std::vector<HWND> tops;
    {
      Guard g(Lock());
      tops = Get(Desktop())->children;
    }
    for (HWND h : tops) RedrawWindow(h, update, region, flags | RDW_ALLCHILDREN);
    return TRUE;
  }
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT | RDW_NOINTERNALPAINT | RDW_NOERASE)) {
    if (region) {
      const Region* r = RegionOf(region);
      Region copy = r ? *r : Region();
      InvalidateTree(hwnd, &copy, flags);
    } else if (update) {
      Region r(*update);
      InvalidateTree(hwnd, &r, flags);
    } else {
      InvalidateTree(hwnd, nullptr, flags);
    }
    std::shared_ptr<ThreadQueue> q;
    {
      Guard g(Lock());
      if (Window* w = Get(hwnd)) q = w->queue;
    }
    if (q && q.get() != CurrentQueue().get()) q->Signal(QS_PAINT);
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateNow(hwnd, flags);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
  if (region == nullptr) return InvalidateRect(hwnd, nullptr, erase);
  return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
  if (region == nullptr) return ValidateRect(hwnd, nullptr);
  return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

namespace {

// The update region of a window, after the frame painting and erasing asked for with it.
std::optional<Region> UpdateRegionOf(HWND hwnd, BOOL erase) {
  if (!IsWindow(hwnd)) return std::nullopt;
  if (erase && IsWindowVisible(hwnd)) {
    SendNcPaint(hwnd);
    EraseNow(hwnd);
  }
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr) return std::nullopt;
  return w->update ? *w->update : Region();
}

}  // namespace

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  std::optional<Region> update = UpdateRegionOf(hwnd, erase);
  if (!update) return FALSE;
  if (rect) *rect = update->IsEmpty() ? RECT{} : update->Box();
  return update->IsEmpty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
  std::optional<Region> update = UpdateRegionOf(hwnd, erase);
  if (!update) return ERROR;
  if (region) SetRegion(region, *update);
  return update->Type();
}

int ExcludeUpdateRgn(HDC hdc, HWND hwnd) {
  Region copy;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return ERROR;
    if (w->update) copy = *w->update;
  }
  for (const RECT& r : copy.Rects()) ExcludeClipRect(hdc, r.left, r.top, r.right, r.bottom);
  RECT box;
  return GetClipBox(hdc, &box);
}

BOOL UpdateWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  UpdateNow(hwnd, RDW_UPDATENOW, false);
  return TRUE;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return ERROR;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  RECT area = scroll ? *scroll : client;
  IntersectRect(&area, &area, &client);
  if (clip) IntersectRect(&area, &area, clip);
  HideCaretForPaint(hwnd);
  // Move the pixels that stay visible, within the window's visible region.
  HWND top = GetAncestor(hwnd, GA_ROOT);
  SurfacePtr surface = GetWindowSurface(top);
  Region moved;
  if (surface && IsWindowVisible(hwnd) && (dx || dy)) {
    Region vis = VisibleRegion(hwnd, DCX_CLIPCHILDREN);
    RECT topScreen = TopOrigin(top);
    POINT o = ClientOrigin(hwnd);
    int ox = o.x - topScreen.left, oy = o.y - topScreen.top;
    Region areaSurface(area);
    areaSurface.Offset(ox, oy);
    vis.Intersect(areaSurface);
    Region source = vis;
    Region dest = vis;
    dest.Offset(dx, dy);
    dest.Intersect(vis);  // destination pixels whose source was visible
    Region sourceOfDest = dest;
    sourceOfDest.Offset(-dx, -dy);
    sourceOfDest.Intersect(source);
    moved = CopySurfacePixels(*surface, sourceOfDest, dx, dy);
    moved.Offset(-ox, -oy);
    Present(top, areaSurface.Box());
  }
  Region exposed(area);
  exposed.Subtract(moved);
  {
    // A pending update region moves with the contents.
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w && w->update && !w->update->IsEmpty()) {
      Region inside = *w->update;
      inside.IntersectRect(area);
      Region outside = *w->update;
      outside.SubtractRect(area);
      inside.Offset(dx, dy);
      inside.IntersectRect(area);
      *w->update = Region::Combine(outside, inside, RGN_OR);
      exposed.Unite(inside);
    }
  }
  if (flags & SW_SCROLLCHILDREN) {
    std::vector<HWND> children;
    {
      Guard g(Lock());
      if (Window* w = Get(hwnd)) children = w->children;
    }
    for (HWND c : children) {
      RECT cr;
      GetWindowRect(c, &cr);
      POINT tl{cr.left, cr.top};
      ScreenToClient(hwnd, &tl);
      RECT local{tl.x, tl.y, tl.x + cr.right - cr.left, tl.y + cr.bottom - cr.top};
      RECT hit;
      if (scroll && !IntersectRect(&hit, &local, scroll)) continue;
      SetWindowPos(c, nullptr, tl.x + dx, tl.y + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
      RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
  }
  if (flags & SW_INVALIDATE) {
    HRGN rgn = CreateRegionHandle(exposed);
    RedrawWindow(hwnd, nullptr, rgn,
                 RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) |
                     ((flags & SW_SCROLLCHILDREN) ? RDW_ALLCHILDREN : 0));
    DeleteObject(rgn);
  }
  if (update) SetRegion(update, exposed);
  if (updateRect) *updateRect = exposed.Box();
  ShowCaretAfterPaint(hwnd);
  return exposed.Type();
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr,
                        SW_INVALIDATE | SW_ERASE | (scroll == nullptr ? SW_SCROLLCHILDREN : 0)) != ERROR;
}

BOOL ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
              LPRECT updateRect) {
  RECT area;
  if (scroll)
    area = *scroll;
  else
    GetClipBox(hdc, &area);
  if (clip) IntersectRect(&area, &area, clip);
  RECT source = area;
  OffsetRect(&source, -dx, -dy);
  IntersectRect(&source, &source, &area);
  int w = source.right - source.left, h = source.bottom - source.top;
  if (w > 0 && h > 0) {
    HDC mem = CreateCompatibleDC(hdc);
    HBITMAP bmp = CreateCompatibleBitmap(hdc, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, hdc, source.left, source.top, SRCCOPY);
    BitBlt(hdc, source.left + dx, source.top + dy, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
  }
  Region exposed(area);
  RECT dest = source;
  OffsetRect(&dest, dx, dy);
  exposed.SubtractRect(dest);
  if (update) SetRegion(update, exposed);
  if (updateRect) *updateRect = exposed.Box();
  return TRUE;
}

BOOL LockWindowUpdate(HWND hwnd) {
  HWND previous;
  {
    Guard g(Lock());
    PaintState& s = State();
    if (hwnd != nullptr && s.locked != nullptr && IsWindow(s.locked)) return FALSE;
    if (hwnd != nullptr && !IsWindow(hwnd)) return FALSE;
    previous = s.locked;
    s.locked = hwnd;
  }
  // What was drawn on the screen while locked is the window's to repaint; for the desktop, every
  // window's: the desktop itself paints nothing, its DC being the overlay over the screen.
  if (hwnd == nullptr && previous && IsWindow(previous))
    RedrawWindow(previous == Desktop() ? nullptr : previous, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}
