// The X11 backend over Xlib: windows, pixels, input, focus, grabs, cursors and the desktop
// overlay. The clipboard and drops are in X11Transfer.cpp.
#include "backend/X11Backend.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "backend/CursorImage.h"
#include "base/Convert.h"
#include "gdi/SysColors.h"
#include "win/Cursors.h"
#include "win/Input.h"
#include "win/Surfaces.h"
#include "win/WinKeys.h"
#include "win/WinUser.h"

// Xlib comes last: its macros (None, Bool, Status ...) must not meet the platform's headers.
#include "backend/X11BackendImpl.h"

#include <X11/XKBlib.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>

namespace brambolt::x11 {
namespace {

constexpr unsigned kPointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                                    EnterWindowMask | LeaveWindowMask;

// Requests about windows that died meanwhile, or restacking a window the window manager has
// reparented, fail harmlessly; Xlib's default handler would end the process.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }


// Runs of non-black overlay pixels as rectangles, rows with the same runs merged.
std::vector<XRectangle> OverlayShape(const Surface& overlay, RECT& box) {
  std::vector<XRectangle> rects;
  std::vector<size_t> previous, current;
  box = RECT{overlay.Width(), overlay.Height(), 0, 0};
  for (int y = 0; y < overlay.Height(); ++y) {
    const uint32_t* row = overlay.Row(y);
    current.clear();
    size_t p = 0;
    for (int x = 0; x < overlay.Width();) {
      if ((row[x] & 0x00FFFFFF) == 0) {
        ++x;
        continue;
      }
      int start = x;
      while (x < overlay.Width() && (row[x] & 0x00FFFFFF) != 0) ++x;
      XRectangle r{static_cast<short>(start), static_cast<short>(y), static_cast<unsigned short>(x - start), 1};
      while (p < previous.size() && rects[previous[p]].x < r.x) ++p;
      if (p < previous.size() && rects[previous[p]].x == r.x && rects[previous[p]].width == r.width) {
        ++rects[previous[p]].height;
        current.push_back(previous[p]);
      } else {
        rects.push_back(r);
        current.push_back(rects.size() - 1);
      }
      box.left = std::min<LONG>(box.left, start);
      box.right = std::max<LONG>(box.right, x);
      box.top = std::min<LONG>(box.top, y);
      box.bottom = y + 1;
    }
    std::swap(previous, current);
  }
  return rects;
}


}  // namespace

X11Backend::X11Backend(Display* display)
    : display_(display),
      screen_(DefaultScreen(display)),
      root_(RootWindow(display, screen_)),
      visual_(DefaultVisual(display, screen_)),
      depth_(DefaultDepth(display, screen_)),
      colormap_(DefaultColormap(display, screen_)),
      ui_(std::this_thread::get_id()) {
  XSetErrorHandler(IgnoreXErrors);
  SetScreenSize(DisplayWidth(display_, screen_), DisplayHeight(display_, screen_));
  gc_ = XCreateGC(display_, root_, 0, nullptr);
  red_ = Channel(visual_->red_mask);
  green_ = Channel(visual_->green_mask);
  blue_ = Channel(visual_->blue_mask);
  // Surfaces are 0x00RRGGBB words: a 24-bit true-colour visual stored in 32 bits takes them as
  // they are, anything else gets each pixel converted.
  if (visual_->c_class == TrueColor && (depth_ == 24 || depth_ == 32) && visual_->red_mask == 0xFF0000 &&
      visual_->green_mask == 0xFF00 && visual_->blue_mask == 0xFF) {
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display_, &count);
    for (int i = 0; i < count; ++i)
      if (formats[i].depth == depth_ && formats[i].bits_per_pixel == 32) directPixels_ = true;
    if (formats) XFree(formats);
  }
  int eventBase = 0, errorBase = 0;
  shape_ = XShapeQueryExtension(display_, &eventBase, &errorBase);
  Bool detectable = False;
  XkbSetDetectableAutoRepeat(display_, True, &detectable);
  if (XModifierKeymap* map = XGetModifierMapping(display_)) {
    KeyCode numLock = XKeysymToKeycode(display_, XK_Num_Lock);
    for (int m = 0; m < 8; ++m)
      for (int k = 0; k < map->max_keypermod; ++k)
        if (numLock != 0 && map->modifiermap[m * map->max_keypermod + k] == numLock) numLockMask_ = 1u << m;
    XFreeModifiermap(map);
  }

  const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "_NET_WM_PING",
                         "_NET_WM_NAME", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
                         "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ",
                         "_NET_WM_STATE_FULLSCREEN", "_NET_ACTIVE_WINDOW",
                         "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL",
                         "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_UTILITY",
                         "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_TOOLTIP",
                         "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU", "_NET_WM_WINDOW_TYPE_SPLASH",
                         "_NET_WM_PID", "_MOTIF_WM_HINTS", "UTF8_STRING", "CLIPBOARD", "TARGETS",
                         "TEXT", "text/plain;charset=utf-8", "TIMESTAMP", "INCR",
                         "BRAMBOLT_SELECTION", "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus",
                         "XdndLeave", "XdndDrop", "XdndFinished", "XdndSelection", "XdndTypeList",
                         "XdndActionCopy", "text/uri-list", "BRAMBOLT_DROP", "_NET_WM_ICON",
                         "_NET_WM_STATE_MODAL", "_NET_WM_USER_TIME", "_NET_SUPPORTING_WM_CHECK",
                         "_GTK_FRAME_EXTENTS"};
  static_assert(sizeof(Atoms) == sizeof(names) / sizeof(names[0]) * sizeof(Atom));
  XInternAtoms(display_, const_cast<char**>(names), static_cast<int>(std::size(names)), False,
               reinterpret_cast<Atom*>(&atoms_));

  XSetWindowAttributes a{};
  a.event_mask = PropertyChangeMask;
  selectionWindow_ = XCreateWindow(display_, root_, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                                   CopyFromParent, CWEventMask, &a);
  char empty = 0;
  Pixmap blank = XCreateBitmapFromData(display_, root_, &empty, 1, 1);
  XColor black{};
  blankCursor_ = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
  XFreePixmap(display_, blank);
  OpenInputMethod();
  XFlush(display_);
  SetForeignDragSource(this);
}

X11Backend::~X11Backend() {
  if (GetForeignDragSource() == this) SetForeignDragSource(nullptr);
  CloseInputMethod();
  XCloseDisplay(display_);
}

bool X11Backend::Elsewhere(std::function<void()> work) {
  if (OnUiThread()) return false;
  std::lock_guard<std::mutex> lock(queueMutex_);
  queue_.push_back(std::move(work));
  return true;
}

void X11Backend::RunQueued() {
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> lock(queueMutex_);
      if (queue_.empty()) return;
      work = std::move(queue_.front());
      queue_.pop_front();
    }
    work();
  }
}

XWin* X11Backend::Find(HWND hwnd) {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : &it->second;
}

HWND X11Backend::HandleOf(Window xid) const {
  auto it = byXid_.find(xid);
  return it == byXid_.end() ? nullptr : it->second;
}

XWin& X11Backend::Ensure(HWND hwnd) {
  if (XWin* w = Find(hwnd)) return *w;
  DWORD style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_EXSTYLE));
  RECT r{};
  GetWindowRect(hwnd, &r);
  XWin w;
  w.overrideRedirect = IsOverrideRedirectStyle(style, exStyle);
  XSetWindowAttributes a{};
  a.override_redirect = w.overrideRedirect ? True : False;
  a.event_mask = kWindowEvents;
  // North-west gravity keeps the pixels in place while a resize waits for its repaint; no
  // background, so the server never clears what the surface will cover anyway.
  a.bit_gravity = NorthWestGravity;
  a.background_pixmap = None;
  a.border_pixel = 0;
  a.colormap = colormap_;
  a.save_under = w.overrideRedirect ? True : False;
  a.cursor = CursorFor(cursor_);
  w.xid = XCreateWindow(display_, root_, r.left, r.top, static_cast<unsigned>(std::max<LONG>(1, r.right - r.left)),
                        static_cast<unsigned>(std::max<LONG>(1, r.bottom - r.top)), 0, depth_, InputOutput,
                        visual_,
                        CWOverrideRedirect | CWEventMask | CWBitGravity | CWBackPixmap | CWBorderPixel |
                            CWColormap | CWSaveUnder | CWCursor,
                        &a);
  SetProperties(hwnd, w, style, exStyle);
  byXid_[w.xid] = hwnd;
  XWin& made = windows_.emplace(hwnd, std::move(w)).first->second;
  if (!made.overrideRedirect) CreateInputContext(made);
  return made;
}

void X11Backend::SetProperties(HWND hwnd, XWin& w, DWORD style, DWORD exStyle) {
  char className[256] = {};
  GetClassName(hwnd, className, sizeof(className));
  std::string cls = className;
  Atom type;
  if (w.overrideRedirect) {
    type = cls == "#32768" ? atoms_.typeMenu
           : (cls == "tooltips_class32" || (exStyle & WS_EX_TOOLWINDOW)) ? atoms_.typeTooltip
           : (exStyle & WS_EX_TOPMOST) ? atoms_.typeSplash
                                       : atoms_.typeDropdown;
  } else {
    type = (exStyle & WS_EX_TOOLWINDOW) ? atoms_.typeUtility
           : GetWindow(hwnd, GW_OWNER)   ? atoms_.typeDialog
                                         : atoms_.typeNormal;
  }
  XChangeProperty(display_, w.xid, atoms_.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);
  char text[1024] = {};
  InternalGetWindowText(hwnd, text, sizeof(text));
  SetTitle(w, text);
  if (w.overrideRedirect) return;

  std::string program = program_invocation_short_name;
  std::string instance = program, appClass = program;
  if (!appClass.empty()) appClass[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(appClass[0])));
  XClassHint hint{instance.data(), appClass.data()};
  XSetClassHint(display_, w.xid, &hint);
  Atom protocols[] = {atoms_.wmDeleteWindow, atoms_.netWmPing};
  XSetWMProtocols(display_, w.xid, protocols, 2);
  // Files dragged from other programs may be dropped here (XDND version 5).
  long xdndVersion = 5;
  XChangeProperty(display_, w.xid, atoms_.xdndAware, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&xdndVersion), 1);
  long pid = static_cast<long>(getpid());
  XChangeProperty(display_, w.xid, atoms_.netWmPid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);
  // The platform draws captions and borders itself: no decorations from the window manager.
  long motif[5] = {2, 0, 0, 0, 0};
  XChangeProperty(display_, w.xid, atoms_.motifHints, atoms_.motifHints, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(motif), 5);
  // Said as a program that draws its own frame says it (no shadow or other border outside the
  // window): window managers that take an undecorated window made as large as the screen for an
  // old program's request to be full screen (metacity, mutter) leave such a window as it is, so a
  // frame restored to the screen's size stays a normal window that can be maximised again. Full
  // screen is only what the platform asks for (SetDesktopState).
  long extents[4] = {0, 0, 0, 0};
  XChangeProperty(display_, w.xid, atoms_.frameExtents, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(extents), 4);
  SetTransientFor(hwnd, w);
  XSizeHints* size = XAllocSizeHints();
  size->flags = USPosition | USSize | PPosition | PSize;
  if (!(style & WS_THICKFRAME)) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    size->flags |= PMinSize | PMaxSize;
    size->min_width = size->max_width = static_cast<int>(r.right - r.left);
    size->min_height = size->max_height = static_cast<int>(r.bottom - r.top);
  }
  XSetWMNormalHints(display_, w.xid, size);
  XFree(size);
  XWMHints* hints = XAllocWMHints();
  hints->flags = InputHint | StateHint;
  hints->input = True;
  hints->initial_state = NormalState;
  XSetWMHints(display_, w.xid, hints);
  XFree(hints);
  if (exStyle & WS_EX_TOPMOST) SetNetState(w, atoms_.netWmStateAbove, true);
}

// An owned window is transient for its owner's top window, which the window manager keeps it
// above, minimises it with and gives the keyboard back to, whichever of the two is made first: a
// bar floated at start is made before the main window shows, so the owner's X window is made then
// (unmapped, until the owner shows).
void X11Backend::SetTransientFor(HWND hwnd, XWin& w) {
  HWND owner = GetWindow(hwnd, GW_OWNER);
  HWND top = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
  if (top == nullptr || top == hwnd) return;
  XSetTransientForHint(display_, w.xid, Ensure(top).xid);
}

void X11Backend::SetTitle(XWin& w, const std::string& ansi) {
  w.title = ansi;
  std::string utf8 = AnsiToUtf8(ansi);
  bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; });
  auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  XChangeProperty(display_, w.xid, XA_WM_NAME, ascii ? XA_STRING : atoms_.utf8String, 8, PropModeReplace,
                  bytes, static_cast<int>(utf8.size()));
  XChangeProperty(display_, w.xid, atoms_.netWmName, atoms_.utf8String, 8, PropModeReplace, bytes,
                  static_cast<int>(utf8.size()));
}

void X11Backend::SetIcon(HWND hwnd, XWin& w) {
  if (w.overrideRedirect) return;
  auto icon = reinterpret_cast<HICON>(SendMessage(hwnd, WM_GETICON, ICON_BIG, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtr(hwnd, GCLP_HICON));
  auto small = reinterpret_cast<HICON>(SendMessage(hwnd, WM_GETICON, ICON_SMALL, 0));
  if (small == nullptr) small = reinterpret_cast<HICON>(GetClassLongPtr(hwnd, GCLP_HICONSM));
  if (icon == w.icon && small == w.iconSmall) return;
  w.icon = icon;
  w.iconSmall = small;
  // Each size the window has (the small one when it is another size): width, height, then the
  // pixels. Xlib takes 32-bit items as longs.
  std::vector<long> data;
  for (HICON each : {icon, small}) {
    CursorImage image;
    if (each == nullptr || !GetCursorImage(reinterpret_cast<HCURSOR>(each), image)) continue;
    if (!data.empty() && data[0] == image.width && data[1] == image.height) continue;
    data.push_back(image.width);
    data.push_back(image.height);
    data.insert(data.end(), image.argb.begin(), image.argb.end());
  }
  if (data.empty()) {
    XDeleteProperty(display_, w.xid, atoms_.netWmIcon);
    return;
  }
  XChangeProperty(display_, w.xid, atoms_.netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void X11Backend::SetNetState(XWin& w, Atom state, bool on) {
  if (w.shown) {
    // A mapped window asks the window manager (EWMH); it rewrites the property itself.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w.xid;
    e.xclient.message_type = atoms_.netWmState;
    e.xclient.format = 32;
    e.xclient.data.l[0] = on ? 1 : 0;
    e.xclient.data.l[1] = static_cast<long>(state);
    e.xclient.data.l[3] = 1;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    return;
  }
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<Atom> states;
  if (XGetWindowProperty(display_, w.xid, atoms_.netWmState, 0, 64, False, XA_ATOM, &type, &format, &count,
                         &after, &data) == Success && data) {
    auto* atoms = reinterpret_cast<Atom*>(data);
    for (unsigned long i = 0; i < count; ++i)
      if (atoms[i] != state) states.push_back(atoms[i]);
    XFree(data);
  }
  if (on) states.push_back(state);
  XChangeProperty(display_, w.xid, atoms_.netWmState, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(states.data()), static_cast<int>(states.size()));
}

void X11Backend::Map(HWND hwnd, XWin& w) {
  if (!w.overrideRedirect) {
    XWMHints* hints = XAllocWMHints();
    hints->flags = InputHint | StateHint;
    hints->input = True;
    hints->initial_state = IsIconic(hwnd) ? IconicState : NormalState;
    w.iconic = IsIconic(hwnd);
    XSetWMHints(display_, w.xid, hints);
    XFree(hints);
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetDesktopState(hwnd, w, r);
    SetTransientFor(hwnd, w);
    // Shown over its disabled owner, a window is that owner's modal dialog; a palette (a floating
    // bar shown while a dialog disables its frame) is none: a window manager gives the focus meant
    // for a window to its modal one instead, and the frame would never get the keyboard back.
    HWND owner = GetWindow(hwnd, GW_OWNER);
    const bool palette = (GetWindowLongPtr(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    SetNetState(w, atoms_.netWmStateModal, owner != nullptr && !palette && !IsWindowEnabled(owner));
    // An owned window takes the keyboard only when the platform activates it (FocusX): the
    // desktop does not give it the focus for being mapped (floating bars shown again with their
    // frame), which it does for a window whose last user action it is told is none (time 0).
    if (owner != nullptr) {
      long never = 0;
      XChangeProperty(display_, w.xid, atoms_.netWmUserTime, XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&never), 1);
    }
  }
  XMapWindow(display_, w.xid);
  if (w.overrideRedirect) XRaiseWindow(display_, w.xid);
  w.shown = true;
  if (w.overrideRedirect) return;
  // The windows it owns that were mapped before it are named transient for it once more: a window
  // manager that met them while it did not manage their owner yet links them to it now.
  for (auto& [other, o] : windows_) {
    HWND owner = other != hwnd && o.shown && !o.overrideRedirect ? GetWindow(other, GW_OWNER) : nullptr;
    if (owner != nullptr && GetAncestor(owner, GA_ROOT) == hwnd) XSetTransientForHint(display_, o.xid, w.xid);
  }
}

Window X11Backend::WindowOnRoot(Atom property) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  Window named = None;
  if (XGetWindowProperty(display_, root_, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
          Success && data) {
    if (count == 1 && format == 32) named = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
    XFree(data);
  }
  return named;
}

bool X11Backend::WindowManagerRuns() { return WindowOnRoot(atoms_.netSupportingWmCheck) != None; }

Window X11Backend::ActiveWindowOfDesktop() { return WindowOnRoot(atoms_.netActiveWindow); }

void X11Backend::FocusX(XWin& w) {
  w.focusWhenMapped = false;
  // The focus moves among our own windows, or is taken when nobody has it; from another program
  // only the window manager may hand it over, when asked (no stealing, as on the system).
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  if (focus == None || focus == PointerRoot || focus == root_ || HandleOf(focus) != nullptr)
    XSetInputFocus(display_, w.xid, RevertToParent, CurrentTime);
  // Nor is the window manager asked to activate the window while another program's window is the
  // active one (a dialog of ours closed by it meanwhile gives the keyboard back to nobody of ours).
  // A window the desktop still names as active but that is no longer shown (our dialog just
  // destroyed, whose closing made the window manager focus none) is nobody's: the request goes.
  if (Window active = ActiveWindowOfDesktop(); active != None && HandleOf(active) == nullptr) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display_, active, &attributes) && attributes.map_state == IsViewable) return;
  }
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w.xid;
  e.xclient.message_type = atoms_.netActiveWindow;
  e.xclient.format = 32;
  e.xclient.data.l[0] = 1;
  e.xclient.data.l[1] = static_cast<long>(lastTime_);
  XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void X11Backend::WindowShown(HWND topLevel, const RECT& screen) {
  if (Elsewhere([=, this] { WindowShown(topLevel, screen); })) return;
  if (!IsWindow(topLevel)) return;
  XWin& w = Ensure(topLevel);
  SetIcon(topLevel, w);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!w.overrideRedirect && IsZoomed(topLevel) && WindowManagerRuns() && GetWindowPlacement(topLevel, &placement)) {
    // A window manager maximises the window itself and puts it back where it was mapped when it
    // restores it: mapped at its normal placement, not as large as the platform maximised it,
    // and followed to the place the window manager gives it.
    const RECT& normal = placement.rcNormalPosition;
    XMoveResizeWindow(display_, w.xid, normal.left, normal.top,
                      static_cast<unsigned>(std::max<LONG>(1, normal.right - normal.left)),
                      static_cast<unsigned>(std::max<LONG>(1, normal.bottom - normal.top)));
  } else {
    Place(w, screen);
  }
  Map(topLevel, w);
  ZOrderChanged();
}

void X11Backend::WindowHidden(HWND topLevel) {
  if (Elsewhere([=, this] { WindowHidden(topLevel); })) return;
  XWin* w = Find(topLevel);
  if (w == nullptr || !w->shown) return;
  w->shown = false;
  w->hiddenAt = NextRequest(display_);
  if (w->overrideRedirect)
    XUnmapWindow(display_, w->xid);
  else
    XWithdrawWindow(display_, w->xid, screen_);
}

void X11Backend::WindowMoved(HWND topLevel, const RECT& screen) {
  if (Elsewhere([=, this] { WindowMoved(topLevel, screen); })) return;
  XWin* w = Find(topLevel);
  if (w == nullptr || echo_ == topLevel) return;
  bool iconic = IsIconic(topLevel) != FALSE;
  if (iconic != w->iconic && w->shown && !w->overrideRedirect) {
    w->iconic = iconic;
    if (iconic) {
      XIconifyWindow(display_, w->xid, screen_);
      return;
    }
    XMapWindow(display_, w->xid);
  }
  if (iconic) return;
  if (!w->overrideRedirect) SetDesktopState(topLevel, *w, screen);
  Place(*w, screen);
}

void X11Backend::SetDesktopState(HWND hwnd, XWin& w, const RECT& screen) {
  // Maximised for the desktop as for the platform. A window that covers the screen with its
  // edges put beyond it (the program's full-screen view) is full screen for it, when it is not
  // maximised or has lost its caption (the full-screen view of a maximised frame); one that just
  // fills the screen (a frame made as large as the screen) is not.
  bool maximized = IsZoomed(hwnd) != FALSE;
  bool captioned = (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  SIZE s = GetScreenSize();
  bool covers = screen.left <= 0 && screen.top <= 0 && screen.right >= s.cx && screen.bottom >= s.cy;
  bool beyond = screen.left < 0 || screen.top < 0 || screen.right > s.cx || screen.bottom > s.cy;
  // Once full screen, the window manager places it exactly on the screen: a captionless window
  // that still covers it stays full screen.
  bool fullscreen = covers && (beyond || (w.fullscreen && !captioned)) && (!maximized || !captioned);
  if (maximized != w.maximized) {
    w.maximized = maximized;
    // Asked of the window manager while shown: its answer comes as the state it then sets.
    w.maximizeAsked = w.shown;
    SetNetState(w, atoms_.netWmStateMaxVert, maximized);
    SetNetState(w, atoms_.netWmStateMaxHorz, maximized);
  }
  if (fullscreen != w.fullscreen) {
    w.fullscreen = fullscreen;
    SetNetState(w, atoms_.netWmStateFullscreen, fullscreen);
  }
}

void X11Backend::OnStateChanged(Window xid) {
  HWND hwnd = HandleOf(xid);
  XWin* w = Find(hwnd);
  if (w == nullptr || w->overrideRedirect || !w->shown || w->iconic || IsIconic(hwnd)) return;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool vertical = false, horizontal = false;
  if (XGetWindowProperty(display_, w->xid, atoms_.netWmState, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                         &data) == Success && data) {
    auto* states = reinterpret_cast<Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      vertical = vertical || states[i] == atoms_.netWmStateMaxVert;
      horizontal = horizontal || states[i] == atoms_.netWmStateMaxHorz;
    }
    XFree(data);
  }
  bool maximized = vertical && horizontal;
  if (w->maximizeAsked) {
    // The window manager's answer to the platform's own request.
    if (maximized == w->maximized) w->maximizeAsked = false;
    return;
  }
  if (maximized == w->maximized) return;
  // Maximised or restored by the window manager itself (a double-click on its title, one of its
  // keys): the platform's window follows, its style and caption buttons with it. The window
  // manager has placed the window already (on a restore, where it kept it before): the platform
  // takes that place rather than asking for its own.
  w->maximized = maximized;
  echo_ = hwnd;
  SendMessage(hwnd, WM_SYSCOMMAND, maximized ? SC_MAXIMIZE : SC_RESTORE, 0);
  echo_ = nullptr;
  w = Find(hwnd);
  if (w == nullptr) return;
  Window child = None;
  int x = 0, y = 0;
  XWindowAttributes a{};
  if (!XGetWindowAttributes(display_, w->xid, &a) ||
      !XTranslateCoordinates(display_, w->xid, root_, 0, 0, &x, &y, &child))
    return;
  RECT now{x, y, x + a.width, y + a.height};
  RECT platform{};
  GetWindowRect(hwnd, &platform);
  if (SameRect(platform, now)) return;
  echo_ = hwnd;
  SetWindowPos(hwnd, nullptr, x, y, a.width, a.height, SWP_NOZORDER | SWP_NOACTIVATE);
  echo_ = nullptr;
}

void X11Backend::Place(XWin& w, const RECT& screen) {
  w.requested.push_back(screen);
  if (w.requested.size() > 16) w.requested.pop_front();
  XMoveResizeWindow(display_, w.xid, screen.left, screen.top,
                    static_cast<unsigned>(std::max<LONG>(1, screen.right - screen.left)),
                    static_cast<unsigned>(std::max<LONG>(1, screen.bottom - screen.top)));
}

void X11Backend::OnConfigure(XConfigureEvent& e) {
  HWND hwnd = HandleOf(e.window);
  XWin* w = Find(hwnd);
  if (w == nullptr || w->overrideRedirect || !w->shown || w->iconic || IsIconic(hwnd)) return;
  int x = e.x, y = e.y;
  if (!e.send_event && w->reparented) {
    // A real event of a framed window is relative to the frame; synthetic ones (ICCCM) and those
    // of unframed windows are on the root.
    Window child;
    XTranslateCoordinates(display_, e.window, root_, 0, 0, &x, &y, &child);
  }
  RECT now{x, y, x + e.width, y + e.height};
  // Our own requests come back in order: the one met and those before it are done.
  auto mine = std::find_if(w->requested.begin(), w->requested.end(), [&](const RECT& r) { return SameRect(r, now); });
  // The last of them met, the platform's window is where it asked to be, unless it followed the
  // window manager meanwhile to places of the window manager's own (metacity restoring a window
  // puts it where it keeps it before it takes the place asked for): it comes back to this one.
  bool ours = mine != w->requested.end();
  if (ours) {
    w->requested.erase(w->requested.begin(), mine + 1);
    if (!w->requested.empty()) return;
  }
  // A window the window manager has just maximised takes that state first, so that the place it
  // had stays its normal placement.
  if (!ours && !w->maximizeAsked && !w->maximized) {
    OnStateChanged(e.window);
    if (Find(hwnd) == nullptr || IsIconic(hwnd)) return;
  }
  RECT platform{};
  GetWindowRect(hwnd, &platform);
  if (SameRect(platform, now)) return;
  // The desktop moved or sized the window (placement rules, a panel, a tiling key): the
  // platform's window follows, so that points and popups keep matching the screen.
  echo_ = hwnd;
  SetWindowPos(hwnd, nullptr, x, y, e.width, e.height, SWP_NOZORDER | SWP_NOACTIVATE);
  echo_ = nullptr;
}

void X11Backend::WindowDestroyed(HWND topLevel) {
  if (Elsewhere([=, this] { WindowDestroyed(topLevel); })) return;
  XWin* w = Find(topLevel);
  if (w == nullptr) return;
  if (grabWindow_ == w->xid && grabbed_) {
    XUngrabPointer(display_, CurrentTime);
    grabbed_ = false;
  }
  DestroyInputContext(*w);
  XDestroyWindow(display_, w->xid);
  byXid_.erase(w->xid);
  windows_.erase(topLevel);
  if (lastActive_ == topLevel) lastActive_ = nullptr;
  XFlush(display_);
}

void X11Backend::ZOrderChanged() {
  if (Elsewhere([this] { ZOrderChanged(); })) return;
  std::vector<Window> order;
  if (overlayMapped_) order.push_back(overlay_);
  for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (XWin* w = Find(h); w && w->shown) order.push_back(w->xid);
  if (order.size() > 1) XRestackWindows(display_, order.data(), static_cast<int>(order.size()));
}

void X11Backend::Put(Window xid, const Surface& surface, RECT source, int x, int y) {
  x += std::max<LONG>(0, -source.left);
  y += std::max<LONG>(0, -source.top);
  source.left = std::max<LONG>(source.left, 0);
  source.top = std::max<LONG>(source.top, 0);
  source.right = std::min<LONG>(source.right, surface.Width());
  source.bottom = std::min<LONG>(source.bottom, surface.Height());
  int width = static_cast<int>(source.right - source.left), height = static_cast<int>(source.bottom - source.top);
  if (width <= 0 || height <= 0) return;
  if (directPixels_ && surface.Stride() > 0) {
    // The surface's own memory, described as an image in the host's byte order.
    XImage* image = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                                 reinterpret_cast<char*>(const_cast<uint32_t*>(surface.Pixels())),
                                 static_cast<unsigned>(surface.Width()), static_cast<unsigned>(surface.Height()),
                                 32, surface.Stride() * 4);
    if (image == nullptr) return;
    image->byte_order = LSBFirst;
    XPutImage(display_, xid, gc_, image, static_cast<int>(source.left), static_cast<int>(source.top), x, y,
              static_cast<unsigned>(width), static_cast<unsigned>(height));
    image->data = nullptr;
    XDestroyImage(image);
    return;
  }
  XImage* image = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                               static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
  if (image == nullptr) return;
  std::vector<char> memory(static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height));
  image->data = memory.data();
  for (int row = 0; row < height; ++row) {
    const uint32_t* in = surface.Row(static_cast<int>(source.top) + row) + source.left;
    for (int col = 0; col < width; ++col) {
      uint32_t p = in[col];
      XPutPixel(image, col, row, red_.Place((p >> 16) & 0xFF) | green_.Place((p >> 8) & 0xFF) | blue_.Place(p & 0xFF));
    }
  }
  XPutImage(display_, xid, gc_, image, 0, 0, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
  image->data = nullptr;
  XDestroyImage(image);
}

void X11Backend::PutWindow(HWND hwnd, RECT area) {
  XWin* w = Find(hwnd);
  if (w == nullptr || !w->shown || w->iconic) return;
  SurfacePtr surface = GetWindowSurface(hwnd);
  if (surface) Put(w->xid, *surface, area, static_cast<int>(area.left), static_cast<int>(area.top));
}

void X11Backend::Present(HWND topLevel, const RECT& damage) {
  if (Elsewhere([=, this] { Present(topLevel, damage); })) return;
  // A shown window not mapped yet (its X window may have been made early, as an owner's) is mapped.
  if (XWin* w = Find(topLevel); (w == nullptr || !w->shown) && IsWindowVisible(topLevel)) {
    RECT r{};
    GetWindowRect(topLevel, &r);
    WindowShown(topLevel, r);
  }
  PutWindow(topLevel, damage);
}

void X11Backend::OverlayChanged(const RECT&) {
  if (Elsewhere([this] { OverlayChanged(RECT{}); })) return;
  // Outlines are erased and drawn again in one go: the next pump shows where they ended.
  overlayDirty_ = true;
}

void X11Backend::UpdateOverlay() {
  overlayDirty_ = false;
  if (!shape_) return;
  SurfacePtr overlay = GetScreenOverlay();
  RECT box{};
  std::vector<XRectangle> rects = OverlayShape(*overlay, box);
  if (rects.empty()) {
    if (overlayMapped_) XUnmapWindow(display_, overlay_);
    overlayMapped_ = false;
    overlayPixels_.reset();
    return;
  }
  if (overlay_ == 0) {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.event_mask = ExposureMask;
    a.background_pixmap = None;
    a.border_pixel = 0;
    a.colormap = colormap_;
    overlay_ = XCreateWindow(display_, root_, 0, 0, 1, 1, 0, depth_, InputOutput, visual_,
                             CWOverrideRedirect | CWEventMask | CWBackPixmap | CWBorderPixel | CWColormap, &a);
    // The outline never takes the pointer: clicks go to whatever lies under it.
    XShapeCombineRectangles(display_, overlay_, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
  }
  for (XRectangle& r : rects) {
    r.x = static_cast<short>(r.x - box.left);
    r.y = static_cast<short>(r.y - box.top);
  }
  overlayBox_ = box;
  XMoveResizeWindow(display_, overlay_, box.left, box.top, static_cast<unsigned>(box.right - box.left),
                    static_cast<unsigned>(box.bottom - box.top));
  XShapeCombineRectangles(display_, overlay_, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                          ShapeSet, YXBanded);
  // What the outline shows is the platform's own composed screen, overlay included.
  overlayPixels_ = std::make_unique<Surface>(1, 1);
  ComposeScreen(*overlayPixels_);
  if (!overlayMapped_) {
    XMapRaised(display_, overlay_);
    overlayMapped_ = true;
  } else {
    XRaiseWindow(display_, overlay_);
  }
  Put(overlay_, *overlayPixels_, box, 0, 0);
  XFlush(display_);
}

Cursor X11Backend::ImageCursor(HCURSOR cursor) {
  auto cached = imageCursors_.find(cursor);
  if (cached != imageCursors_.end()) return cached->second;
  Cursor made = 0;
  CursorImage image;
  if (GetCursorImage(cursor, image)) {
    // One bit a pixel, rows padded to bytes, the first pixel in the lowest bit.
    int stride = (image.width + 7) / 8;
    std::vector<char> source(static_cast<size_t>(stride * image.height)), mask(source.size());
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        size_t i = static_cast<size_t>(y * image.width + x), byte = static_cast<size_t>(y * stride + x / 8);
        if (image.shown[i]) mask[byte] = static_cast<char>(mask[byte] | (1 << (x % 8)));
        if (image.dark[i]) source[byte] = static_cast<char>(source[byte] | (1 << (x % 8)));
      }
    unsigned w = static_cast<unsigned>(image.width), h = static_cast<unsigned>(image.height);
    Pixmap sourceBits = XCreateBitmapFromData(display_, root_, source.data(), w, h);
    Pixmap maskBits = XCreateBitmapFromData(display_, root_, mask.data(), w, h);
    XColor black{}, white{};
    white.red = white.green = white.blue = 0xFFFF;
    made = XCreatePixmapCursor(display_, sourceBits, maskBits, &black, &white,
                               static_cast<unsigned>(image.hotspot.x), static_cast<unsigned>(image.hotspot.y));
    XFreePixmap(display_, sourceBits);
    XFreePixmap(display_, maskBits);
  }
  // A destroyed cursor's handle may come back for another one: the cache holds a few recent ones.
  if (imageCursors_.size() >= 64) {
    for (auto& [handle, c] : imageCursors_)
      if (c) XFreeCursor(display_, c);
    imageCursors_.clear();
  }
  imageCursors_[cursor] = made;
  return made;
}

Cursor X11Backend::CursorFor(HCURSOR cursor) {
  if (!cursorVisible_ || cursor == nullptr) return blankCursor_;
  int id = StandardCursorId(cursor);
  if (id == 0)
    if (Cursor c = ImageCursor(cursor)) return c;
  unsigned shape;
  switch (id) {
    case 32513: shape = XC_xterm; break;
    case 32514: shape = XC_watch; break;
    case 32515: shape = XC_crosshair; break;
    case 32516: shape = XC_sb_up_arrow; break;
    case 32640:
    case 32646: shape = XC_fleur; break;
    case 32641: shape = XC_icon; break;
    case 32642: shape = XC_bottom_right_corner; break;
    case 32643: shape = XC_bottom_left_corner; break;
    case 32644: shape = XC_sb_h_double_arrow; break;
    case 32645: shape = XC_sb_v_double_arrow; break;
    case 32648: shape = XC_X_cursor; break;
    case 32649: shape = XC_hand2; break;
    case 32650: shape = XC_watch; break;
    case 32651: shape = XC_question_arrow; break;
    default: shape = XC_left_ptr; break;
  }
  Cursor& c = fontCursors_[shape];
  if (c == 0) c = XCreateFontCursor(display_, shape);
  return c;
}

void X11Backend::ApplyCursor() {
  Cursor c = CursorFor(cursor_);
  for (auto& [hwnd, w] : windows_) XDefineCursor(display_, w.xid, c);
  if (grabbed_) XChangeActivePointerGrab(display_, kPointerEvents, c, CurrentTime);
  // Sent now: a wait cursor is set just before work that holds the thread away from the loop.
  XFlush(display_);
}

void X11Backend::SetCursor(HCURSOR cursor) {
  if (Elsewhere([=, this] { SetCursor(cursor); })) return;
  cursor_ = cursor;
  ApplyCursor();
}

void X11Backend::ShowCursor(bool visible) {
  if (Elsewhere([=, this] { ShowCursor(visible); })) return;
  cursorVisible_ = visible;
  ApplyCursor();
}

void X11Backend::Bell(UINT) {
  if (Elsewhere([this] { Bell(0); })) return;
  XBell(display_, 0);
  XFlush(display_);
}

void X11Backend::Flash(HWND topLevel, bool on) {
  if (Elsewhere([=, this] { Flash(topLevel, on); })) return;
  XWin* w = Find(topLevel);
  if (w == nullptr || w->overrideRedirect) return;
  XWMHints* hints = XGetWMHints(display_, w->xid);
  if (hints == nullptr) hints = XAllocWMHints();
  hints->flags = on ? (hints->flags | XUrgencyHint) : (hints->flags & ~XUrgencyHint);
  XSetWMHints(display_, w->xid, hints);
  XFree(hints);
}

POINT X11Backend::ScreenPoint(Window xid, int x, int y) {
  // Points go by where the platform has the window, whatever the X window manager did with it.
  if (xid == clipWindow_) return POINT{clipRect_.left + x, clipRect_.top + y};
  RECT r{};
  if (HWND hwnd = HandleOf(xid)) GetWindowRect(hwnd, &r);
  return POINT{r.left + x, r.top + y};
}

void X11Backend::SyncModifiers(unsigned state) {
  // Modifiers pressed or released while another program had the focus, or keys another program
  // sent: the platform's key state takes the event's before the event itself goes in.
  const struct {
    unsigned mask;
    int generic;
    UINT key;
  } modifiers[] = {{ShiftMask, VK_SHIFT, VK_LSHIFT}, {ControlMask, VK_CONTROL, VK_LCONTROL}, {Mod1Mask, VK_MENU, VK_LMENU}};
  for (const auto& m : modifiers) {
    bool down = (state & m.mask) != 0;
    if (down != (GetAsyncKeyState(m.generic) < 0)) InjectKey(m.key, down);
  }
}

void X11Backend::OnKey(XKeyEvent& e, bool press) {
  lastTime_ = e.time;
  if (press && OnCommit(e)) return;
  // A key the input method passed on: whatever it composed is over.
  if (press && InjectedComposition()) InjectCompositionCommit("");
  SyncModifiers(e.state);
  if (!press) {
    auto it = pressed_.find(e.keycode);
    if (it == pressed_.end()) return;
    x11::VirtualKey key = it->second;
    pressed_.erase(it);
    InjectKey(key.vk, false, 0, key.extended);
    return;
  }
  char buffer[32];
  KeySym typed = NoSymbol;
  XLookupString(&e, buffer, sizeof(buffer), &typed, nullptr);
  KeySym plain = XLookupKeysym(&e, 0);
  x11::KeyTranslation t = x11::TranslateKey(plain, typed, e.keycode, (e.state & ShiftMask) != 0,
                                            (e.state & ControlMask) != 0, (e.state & LockMask) != 0,
                                            numLockMask_ != 0 && (e.state & numLockMask_) != 0);
  if (t.key.vk != 0) {
    InjectKey(t.key.vk, true, 0, t.key.extended);
    pressed_[e.keycode] = t.key;
  }
  if (!t.characters.empty()) InjectCharacters(t.characters);
  if (t.refused) InjectRefusedCharacters();
}

void X11Backend::OnButton(XButtonEvent& e, bool press) {
  lastTime_ = e.time;
  SyncModifiers(e.state);
  POINT pt = ScreenPoint(e.window, e.x, e.y);
  if (UINT msg = x11::ButtonMessage(e.button, press)) {
    InjectMouseButton(msg, pt);
  } else if (press) {
    if (int delta = x11::WheelDelta(e.button)) InjectMouseWheel(pt, delta);
  }
}

void X11Backend::ReleaseKeys() {
  // The program no longer has the keyboard: no window of it sees these releases.
  std::vector<UINT> keys;
  for (auto& [keycode, key] : pressed_) keys.push_back(key.vk);
  pressed_.clear();
  ForgetReleasedKeys(keys);
}

void X11Backend::SyncPressedKeys() {
  // Keys released while the keyboard was elsewhere (another program, or the desktop's grab for
  // its own keys, Alt+Tab say): the server's table of the keys down holds.
  char keys[32] = {};
  XQueryKeymap(display_, keys);
  auto down = [&keys](KeyCode k) { return k != 0 && ((keys[k / 8] >> (k % 8)) & 1) != 0; };
  std::vector<UINT> released;
  for (auto it = pressed_.begin(); it != pressed_.end();) {
    if (down(static_cast<KeyCode>(it->first))) {
      ++it;
      continue;
    }
    released.push_back(it->second.vk);
    it = pressed_.erase(it);
  }
  const struct {
    KeySym left, right;
    int vk;
  } modifiers[] = {{XK_Shift_L, XK_Shift_R, VK_SHIFT}, {XK_Control_L, XK_Control_R, VK_CONTROL}, {XK_Alt_L, XK_Alt_R, VK_MENU}};
  for (const auto& m : modifiers)
    if (!down(XKeysymToKeycode(display_, m.left)) && !down(XKeysymToKeycode(display_, m.right)) &&
        (GetKeyState(m.vk) < 0 || GetAsyncKeyState(m.vk) < 0))
      released.push_back(static_cast<UINT>(m.vk));
  if (!released.empty()) ForgetReleasedKeys(released);
}

void X11Backend::SyncToggleKeys() {
  Window rootReturn, child;
  int rx, ry, wx, wy;
  unsigned mask = 0;
  if (!XQueryPointer(display_, root_, &rootReturn, &child, &rx, &ry, &wx, &wy, &mask)) return;
  BYTE state[256];
  GetKeyboardState(state);
  auto toggle = [&state](int vk, bool on) {
    state[vk] = static_cast<BYTE>(on ? (state[vk] | 1) : (state[vk] & ~1));
  };
  toggle(VK_CAPITAL, (mask & LockMask) != 0);
  toggle(VK_NUMLOCK, numLockMask_ != 0 && (mask & numLockMask_) != 0);
  SetKeyboardState(state);
}

HWND X11Backend::EnabledPopupOf(HWND hwnd) {
  // The topmost shown, enabled window of the same owner family: the dialog that holds it.
  HWND family = GetAncestor(hwnd, GA_ROOTOWNER);
  for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h == hwnd || !IsWindowVisible(h) || !IsWindowEnabled(h) || GetAncestor(h, GA_ROOTOWNER) != family) continue;
    if (GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) continue;
    if (XWin* w = Find(h); w && !w->overrideRedirect && w->shown) return h;
  }
  return nullptr;
}

void X11Backend::OnFocusIn(Window xid, bool fromGrab) {
  HWND hwnd = HandleOf(xid);
  XWin* w = Find(hwnd);
  if (w == nullptr || w->overrideRedirect) return;
  SyncToggleKeys();
  if (keyboardAway_) {
    keyboardAway_ = false;
    SyncPressedKeys();
  }
  // The keyboard back from the desktop's grab: the focus never left.
  if (fromGrab) return;
  if (!IsWindowEnabled(hwnd)) {
    // A window its modal dialog disables, given the focus by the desktop (a click on it, Alt+Tab
    // to it): the dialog takes the keyboard, the X focus included, as SyncActivation gives it.
    if (HWND popup = EnabledPopupOf(hwnd); popup && GetActiveWindow() != popup) SetForegroundWindow(popup);
    lastActive_ = nullptr;
    return;
  }
  if (GetActiveWindow() != hwnd) SetForegroundWindow(hwnd);
  lastActive_ = GetActiveWindow();
}

void X11Backend::CheckFocusLeft() {
  checkFocus_ = false;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  if (focus == None || focus == PointerRoot || focus == root_ || HandleOf(focus) != nullptr) return;
  keyboardAway_ = true;
  ReleaseKeys();
  if (GetActiveWindow() != nullptr) SetActiveWindow(nullptr);
  lastActive_ = GetActiveWindow();
}

void X11Backend::OnClientMessage(XClientMessageEvent& e) {
  if (e.message_type == atoms_.xdndEnter || e.message_type == atoms_.xdndPosition ||
      e.message_type == atoms_.xdndLeave || e.message_type == atoms_.xdndDrop) {
    OnDragMessage(e);
    return;
  }
  if (e.message_type != atoms_.wmProtocols) return;
  Atom protocol = static_cast<Atom>(e.data.l[0]);
  if (protocol == atoms_.netWmPing) {
    e.window = root_;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask,
               reinterpret_cast<XEvent*>(&e));
  } else if (protocol == atoms_.wmDeleteWindow) {
    lastTime_ = static_cast<Time>(e.data.l[1]);
    // The close box of a window the platform frames: refused while a modal dialog disables it.
    HWND hwnd = HandleOf(e.window);
    if (hwnd && IsWindowEnabled(hwnd)) PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

void X11Backend::Handle(XEvent& e) {
  if (FilteredByInputMethod(e)) return;
  switch (e.type) {
    case Expose: {
      RECT area{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width, e.xexpose.y + e.xexpose.height};
      if (e.xexpose.window == overlay_ && overlayPixels_) {
        RECT source = area;
        source.left += overlayBox_.left;
        source.right += overlayBox_.left;
        source.top += overlayBox_.top;
        source.bottom += overlayBox_.top;
        Put(overlay_, *overlayPixels_, source, static_cast<int>(area.left), static_cast<int>(area.top));
      } else if (HWND hwnd = HandleOf(e.xexpose.window)) {
        PutWindow(hwnd, area);
      }
      break;
    }
    case KeyPress:
    case KeyRelease:
      OnKey(e.xkey, e.type == KeyPress);
      break;
    case ButtonPress:
    case ButtonRelease:
      OnButton(e.xbutton, e.type == ButtonPress);
      break;
    case MotionNotify: {
      // Only the latest position of a burst matters.
      while (XCheckTypedWindowEvent(display_, e.xmotion.window, MotionNotify, &e)) {
      }
      lastTime_ = e.xmotion.time;
      InjectMouseMove(ScreenPoint(e.xmotion.window, e.xmotion.x, e.xmotion.y));
      break;
    }
    case EnterNotify:
    case LeaveNotify:
      if (e.xcrossing.mode == NotifyNormal)
        InjectMouseMove(ScreenPoint(e.xcrossing.window, e.xcrossing.x, e.xcrossing.y));
      break;
    case FocusIn:
      if (e.xfocus.mode != NotifyGrab && e.xfocus.detail != NotifyPointer)
        OnFocusIn(e.xfocus.window, e.xfocus.mode == NotifyUngrab);
      break;
    case FocusOut:
      // The desktop takes the keyboard for a key of its own (Alt+Tab): what is released meanwhile
      // never reaches the program.
      if (e.xfocus.mode == NotifyGrab && HandleOf(e.xfocus.window) != nullptr) keyboardAway_ = true;
      if (e.xfocus.mode != NotifyGrab && e.xfocus.mode != NotifyUngrab && e.xfocus.detail != NotifyInferior &&
          e.xfocus.detail != NotifyPointer)
        checkFocus_ = true;
      break;
    case ConfigureNotify:
      OnConfigure(e.xconfigure);
      break;
    case ReparentNotify:
      if (XWin* w = Find(HandleOf(e.xreparent.window))) w->reparented = e.xreparent.parent != root_;
      break;
    case MapNotify:
      if (HWND hwnd = HandleOf(e.xmap.window)) {
        XWin& w = *Find(hwnd);
        w.viewable = true;
        if (w.focusWhenMapped) FocusX(w);
        if (w.iconic && IsIconic(hwnd)) {
          // The desktop restored a window the platform holds minimised (a click on its task).
          w.iconic = false;
          PostMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        }
      }
      break;
    case UnmapNotify:
      if (HWND hwnd = HandleOf(e.xunmap.window)) {
        XWin& w = *Find(hwnd);
        w.viewable = false;
        // The unmap of an earlier hide may come after the window was shown again: only a later
        // one is the desktop's.
        // An owned window the desktop unmaps goes with its owner's minimising (the platform
        // hides it with its owner); it is not minimised itself, nor restored, nor activated
        // with its owner's restore.
        if (w.shown && !w.iconic && !w.overrideRedirect && e.xunmap.serial > w.hiddenAt &&
            GetWindow(hwnd, GW_OWNER) == nullptr) {
          // Minimised by the desktop, not by the platform.
          w.iconic = true;
          PostMessage(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        }
      }
      break;
    case ClientMessage:
      OnClientMessage(e.xclient);
      break;
    case PropertyNotify:
      if (e.xproperty.atom == atoms_.netWmState) OnStateChanged(e.xproperty.window);
      break;
    case SelectionRequest:
      OnSelectionRequest(e.xselectionrequest);
      break;
    case SelectionNotify:
      if (drag_.target != 0 && e.xselection.requestor == drag_.target && e.xselection.target == atoms_.uriList)
        OnDropData(e.xselection);
      break;
    case SelectionClear:
      if (e.xselectionclear.selection == atoms_.clipboard) OnSelectionClear();
      break;
    case MappingNotify:
      XRefreshKeyboardMapping(&e.xmapping);
      break;
  }
}

void X11Backend::SyncTitles() {
  // Read without WM_GETTEXT: this runs at every pump, and window procedures need not see it.
  char text[1024];
  for (auto& [hwnd, w] : windows_) {
    if (w.overrideRedirect) continue;
    text[0] = 0;
    InternalGetWindowText(hwnd, text, sizeof(text));
    if (w.title != text) SetTitle(w, text);
  }
}

void X11Backend::SyncActivation() {
  HWND active = GetActiveWindow();
  if (active == lastActive_) return;
  XWin* w = Find(active);
  // A window activated before it is shown for the first time has no X window yet: it takes the
  // X focus once it has one.
  if (active != nullptr && w == nullptr) return;
  lastActive_ = active;
  if (w == nullptr || w->overrideRedirect) return;
  if (w->viewable)
    FocusX(*w);
  else
    w->focusWhenMapped = true;
}

void X11Backend::SyncGrab() {
  HWND capture = GetCapture();
  RECT clip{};
  GetClipCursor(&clip);
  SIZE screen = GetScreenSize();
  bool confine = !SameRect(clip, RECT{0, 0, screen.cx, screen.cy});
  Window target = 0;
  if (XWin* w = capture ? Find(GetAncestor(capture, GA_ROOT)) : nullptr; w && w->viewable) target = w->xid;
  if (target == 0 && confine)
    if (XWin* w = Find(GetActiveWindow()); w && w->viewable) target = w->xid;
  if (target == 0) {
    if (grabbed_) {
      XUngrabPointer(display_, CurrentTime);
      grabbed_ = false;
    }
    if (confined_) XUnmapWindow(display_, clipWindow_);
    confined_ = false;
    return;
  }
  if (grabbed_ && target == grabWindow_ && confine == confined_ && (!confine || SameRect(clip, clipRect_))) return;
  if (confine) {
    // Confinement is to a window: an input-only one over the clip rectangle, under everything.
    if (clipWindow_ == 0) {
      XSetWindowAttributes a{};
      a.override_redirect = True;
      a.event_mask = kPointerEvents;
      clipWindow_ = XCreateWindow(display_, root_, 0, 0, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                                  CWOverrideRedirect | CWEventMask, &a);
    }
    XMoveResizeWindow(display_, clipWindow_, clip.left, clip.top,
                      static_cast<unsigned>(std::max<LONG>(1, clip.right - clip.left)),
                      static_cast<unsigned>(std::max<LONG>(1, clip.bottom - clip.top)));
    XMapWindow(display_, clipWindow_);
    XLowerWindow(display_, clipWindow_);
  } else if (confined_) {
    XUnmapWindow(display_, clipWindow_);
  }
  confined_ = confine;
  clipRect_ = clip;
  grabbed_ = XGrabPointer(display_, target, True, kPointerEvents, GrabModeAsync, GrabModeAsync,
                          confine ? clipWindow_ : None, CursorFor(cursor_), CurrentTime) == GrabSuccess;
  grabWindow_ = target;
}

void X11Backend::Sync() {
  SyncTitles();
  SyncActivation();
  SyncGrab();
  SyncInputFocus();
}

void X11Backend::PumpEvents() {
  // Window procedures run from here may pump again; the outer pump carries on after them.
  if (!OnUiThread() || pumping_) return;
  pumping_ = true;
  RunQueued();
  if (overlayDirty_) UpdateOverlay();
  Sync();
  while (XPending(display_)) {
    XEvent e;
    XNextEvent(display_, &e);
    Handle(e);
  }
  if (checkFocus_) CheckFocusLeft();
  // What the events changed of the activation (a modal dialog taking the keyboard back) reaches
  // X now, not at the next event.
  SyncActivation();
  XFlush(display_);
  pumping_ = false;
}

}  // namespace brambolt::x11

namespace brambolt {

const char* ChooseBackendName(const char* backendVariable, const char* displayVariable) {
  if (backendVariable && std::strcmp(backendVariable, "headless") == 0) return "headless";
  if (backendVariable && std::strcmp(backendVariable, "x11") == 0) return "x11";
  return displayVariable && *displayVariable ? "x11" : "headless";
}

bool IsOverrideRedirectStyle(DWORD style, DWORD exStyle) {
  if (!(style & WS_POPUP) || (exStyle & WS_EX_APPWINDOW)) return false;
  return (style & WS_CAPTION) != WS_CAPTION && !(style & WS_THICKFRAME);
}

std::shared_ptr<Backend> OpenX11Backend(const char* display) {
  Display* d = XOpenDisplay(display);
  if (d == nullptr) return nullptr;
  return std::make_shared<x11::X11Backend>(d);
}

}  // namespace brambolt
