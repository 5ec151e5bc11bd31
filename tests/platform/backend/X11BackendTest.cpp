// The X11 backend against a private Xvfb, looked at from a second connection that plays another
// program: windows and their properties, pixels, input, focus, grabs, the desktop outline and
// the CLIPBOARD selection and drags both ways. Skipped where Xvfb is not installed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "backend/DropFiles.h"
#include "backend/X11Backend.h"
#include "base/CodePage.h"
#include "base/GlobalMemory.h"
#include "testing/UiTest.h"
#include "testing/Xvfb.h"
#include "win/Input.h"
#include "win/win.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

using namespace brambolt;

namespace {

test::XvfbBackend* g_x = nullptr;

// Messages the test windows received, and the colour they paint their client area with.
std::vector<MSG> g_messages;
COLORREF g_fill = RGB(255, 0, 0);
// Whether Alt was down, as the window saw it, at each key message it received.
std::vector<bool> g_altAtKey;

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_messages.push_back(MSG{hwnd, msg, wParam, lParam, 0, {}});
  if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) g_altAtKey.push_back(GetKeyState(VK_MENU) < 0);
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH brush = CreateSolidBrush(g_fill);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

// A selection owner's answer: the bytes in the requested property, or a refusal.
void Answer(Display* d, const XSelectionRequestEvent& r, Atom property) {
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = r.requestor;
  reply.xselection.selection = r.selection;
  reply.xselection.target = r.target;
  reply.xselection.time = r.time;
  reply.xselection.property = property;
  XSendEvent(d, r.requestor, False, NoEventMask, &reply);
}
void Give(Display* d, const XSelectionRequestEvent& r, const std::string& bytes) {
  XChangeProperty(d, r.requestor, r.property, r.target, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  Answer(d, r, r.property);
}
void Refuse(Display* d, const XSelectionRequestEvent& r) { Answer(d, r, None); }

int Count(HWND hwnd, UINT msg) {
  int n = 0;
  for (const MSG& m : g_messages) n += m.hwnd == hwnd && m.message == msg;
  return n;
}

class X11Display : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { g_x = new test::XvfbBackend; }
  static void TearDownTestSuite() {
    delete g_x;
    g_x = nullptr;
  }

  void SetUp() override {
    if (!g_x->Backend()) GTEST_SKIP() << "Xvfb is not available";
    SetBackend(g_x->Backend());
    ResetInputState();
    peer_ = XOpenDisplay(g_x->DisplayName().c_str());
    ASSERT_NE(peer_, nullptr);
    root_ = DefaultRootWindow(peer_);
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TestProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "X11TestWindow";
    RegisterClass(&wc);
    g_messages.clear();
    g_altAtKey.clear();
    g_fill = RGB(255, 0, 0);
  }

  void TearDown() override {
    if (!g_x->Backend()) return;
    for (HWND h : windows_)
      if (IsWindow(h)) DestroyWindow(h);
    test::RunUntilIdle();
    XCloseDisplay(peer_);
  }

  HWND Make(const char* title, DWORD style, RECT r, DWORD exStyle = 0, HWND owner = nullptr) {
    HWND h = CreateWindowEx(exStyle, "X11TestWindow", title, style, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, owner, nullptr, nullptr, nullptr);
    windows_.push_back(h);
    return h;
  }

  // Runs the platform's loop and lets the server catch up until `done` holds (a bounded number
  // of rounds, so a fault fails the test instead of hanging it).
  bool PumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 1000; ++round) {
      test::RunUntilIdle();
      XSync(peer_, False);
      if (done()) return true;
      usleep(5000);
    }
    return false;
  }
  void Pump() {
    PumpUntil([] { return false; });
  }
  void Settle() {
    for (int i = 0; i < 10; ++i) {
      test::RunUntilIdle();
      XSync(peer_, False);
      usleep(2000);
    }
  }

  // The X window of the peer's view titled `title`, 0 when there is none.
  Window Named(const std::string& title) {
    Window rootReturn, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(peer_, root_, &rootReturn, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
      char* name = nullptr;
      if (XFetchName(peer_, children[i], &name) && name) {
        if (title == name) found = children[i];
        XFree(name);
      }
    }
    if (children) XFree(children);
    return found;
  }
  Window WaitNamed(const std::string& title) {
    Window w = 0;
    PumpUntil([&] { return (w = Named(title)) != 0; });
    return w;
  }

  // The window that has the X keyboard focus.
  Window Focused() {
    Window w = 0;
    int revert;
    XGetInputFocus(peer_, &w, &revert);
    return w;
  }
  // Another program's window, mapped and ready to take the focus.
  Window OtherProgramWindow() {
    Window other = XCreateSimpleWindow(peer_, root_, 600, 400, 50, 50, 0, 0, 0);
    XMapWindow(peer_, other);
    PumpUntil([&] { return Attributes(other).map_state == IsViewable; });
    return other;
  }
  bool HasState(Window w, const char* state) {
    std::vector<Atom> states = AtomList(w, "_NET_WM_STATE");
    return std::find(states.begin(), states.end(), XInternAtom(peer_, state, False)) != states.end();
  }
  // xdotool run against the display (real key events through XTEST), the platform pumped meanwhile.
  void Xdotool(const std::string& arguments) {
    test::RunOnDisplay(g_x->DisplayName(), "xdotool " + arguments, "", [] { test::RunUntilIdle(); });
    Settle();
  }

  XWindowAttributes Attributes(Window w) {
    XWindowAttributes a{};
    XGetWindowAttributes(peer_, w, &a);
    return a;
  }

  unsigned long Pixel(int x, int y) {
    XImage* image = XGetImage(peer_, root_, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return ~0ul;
    unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return p;
  }

  // A 32-bit property as its items.
  std::vector<Atom> AtomList(Window w, const char* property) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::vector<Atom> out;
    if (XGetWindowProperty(peer_, w, XInternAtom(peer_, property, False), 0, 4096, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success && data) {
      auto* longs = reinterpret_cast<long*>(data);
      for (unsigned long i = 0; i < count; ++i) out.push_back(static_cast<Atom>(longs[i]));
      XFree(data);
    }
    return out;
  }

  void SendKey(Window w, KeySym keysym, unsigned state) { SendKeycode(w, XKeysymToKeycode(peer_, keysym), state); }
  void SendKeycode(Window w, unsigned keycode, unsigned state) {
    for (int type : {KeyPress, KeyRelease}) {
      XEvent e{};
      e.xkey.type = type;
      e.xkey.window = w;
      e.xkey.root = root_;
      e.xkey.display = peer_;
      e.xkey.keycode = keycode;
      e.xkey.state = state;
      e.xkey.same_screen = True;
      XSendEvent(peer_, w, False, 0, &e);
    }
  }

  void SendButton(Window w, unsigned button, int x, int y) {
    for (int type : {ButtonPress, ButtonRelease}) {
      XEvent e{};
      e.xbutton.type = type;
      e.xbutton.window = w;
      e.xbutton.root = root_;
      e.xbutton.display = peer_;
      e.xbutton.button = button;
      e.xbutton.x = x;
      e.xbutton.y = y;
      e.xbutton.same_screen = True;
      XSendEvent(peer_, w, False, 0, &e);
    }
  }

  // Puts blocks on the platform's clipboard and waits until the platform owns CLIPBOARD.
  bool Copy(HWND owner, const std::vector<std::pair<UINT, std::string>>& blocks) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    for (const auto& [format, bytes] : blocks) {
      HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
      std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
      GlobalUnlock(h);
      SetClipboardData(format, h);
    }
    CloseClipboard();
    Atom clipboard = XInternAtom(peer_, "CLIPBOARD", False);
    return PumpUntil([&] { return XGetSelectionOwner(peer_, clipboard) != None; });
  }

  // Asks the CLIPBOARD owner for `target` as a program would; false when refused or unanswered.
  bool PeerConvert(const char* target, std::string& bytes, Atom* typeOut = nullptr) {
    Window me = XCreateSimpleWindow(peer_, root_, 0, 0, 1, 1, 0, 0, 0);
    Atom property = XInternAtom(peer_, "PEER_TRANSFER", False);
    XConvertSelection(peer_, XInternAtom(peer_, "CLIPBOARD", False), XInternAtom(peer_, target, False), property,
                      me, CurrentTime);
    XEvent e{};
    bool answered = PumpUntil([&] { return XCheckTypedWindowEvent(peer_, me, SelectionNotify, &e); });
    bool ok = answered && e.xselection.property != None;
    if (ok) {
      Atom type;
      int format;
      unsigned long count, after;
      unsigned char* data = nullptr;
      XGetWindowProperty(peer_, me, property, 0, 1 << 20, True, AnyPropertyType, &type, &format, &count, &after,
                         &data);
      if (typeOut) *typeOut = type;
      // Xlib hands 32-bit items over as longs.
      bytes.assign(reinterpret_cast<char*>(data), count * (format == 32 ? sizeof(long) : static_cast<unsigned long>(format / 8)));
      if (data) XFree(data);
    }
    XDestroyWindow(peer_, me);
    return ok;
  }

  Display* peer_ = nullptr;
  Window root_ = 0;
  std::vector<HWND> windows_;
};

TEST_F(X11Display, ShownFramesAreUndecoratedXWindowsThatTheDesktopCanClose) {
  HWND frame = Make("Main frame", WS_OVERLAPPEDWINDOW, RECT{30, 40, 330, 240});
  EXPECT_EQ(Named("Main frame"), 0u) << "a window gets an X window when it is shown";
  ShowWindow(frame, SW_SHOW);
  Window x = WaitNamed("Main frame");
  ASSERT_NE(x, 0u);
  ASSERT_TRUE(PumpUntil([&] { return Attributes(x).map_state == IsViewable; }));
  XWindowAttributes a = Attributes(x);
  EXPECT_FALSE(a.override_redirect);
  EXPECT_EQ(a.x, 30);
  EXPECT_EQ(a.y, 40);
  EXPECT_EQ(a.width, 300);
  EXPECT_EQ(a.height, 200);
  std::vector<Atom> motif = AtomList(x, "_MOTIF_WM_HINTS");
  ASSERT_EQ(motif.size(), 5u);
  EXPECT_EQ(motif[0] & 2, 2u) << "decorations are given";
  EXPECT_EQ(motif[2], 0u) << "and there are none";
  XClassHint hint{};
  ASSERT_TRUE(XGetClassHint(peer_, x, &hint));
  EXPECT_GT(std::strlen(hint.res_class), 0u);
  XFree(hint.res_name);
  XFree(hint.res_class);
  Atom* protocols = nullptr;
  int count = 0;
  ASSERT_TRUE(XGetWMProtocols(peer_, x, &protocols, &count));
  std::vector<Atom> list(protocols, protocols + count);
  XFree(protocols);
  EXPECT_NE(std::find(list.begin(), list.end(), XInternAtom(peer_, "WM_DELETE_WINDOW", False)), list.end());

  EXPECT_TRUE(AtomList(x, "_NET_WM_ICON").empty()) << "a window without an icon shows none";

  SetWindowText(frame, "Renamed frame");
  EXPECT_EQ(WaitNamed("Renamed frame"), x);
  MoveWindow(frame, 50, 60, 200, 100, TRUE);
  EXPECT_TRUE(PumpUntil([&] {
    XWindowAttributes m = Attributes(x);
    return m.x == 50 && m.y == 60 && m.width == 200 && m.height == 100;
  }));

  // Flashing asks the desktop for attention.
  auto urgent = [&] {
    XWMHints* hints = XGetWMHints(peer_, x);
    bool on = hints && (hints->flags & XUrgencyHint);
    if (hints) XFree(hints);
    return on;
  };
  EXPECT_FALSE(urgent());
  FlashWindow(frame, TRUE);
  EXPECT_TRUE(PumpUntil(urgent));
  FlashWindow(frame, FALSE);
  EXPECT_TRUE(PumpUntil([&] { return !urgent(); }));

  // Moved and sized by another hand (a window manager's placement): the platform follows.
  XMoveResizeWindow(peer_, x, 70, 80, 240, 120);
  EXPECT_TRUE(PumpUntil([&] {
    RECT r{};
    GetWindowRect(frame, &r);
    return r.left == 70 && r.top == 80 && r.right == 310 && r.bottom == 200;
  }));
  Settle();
  XWindowAttributes moved = Attributes(x);
  EXPECT_EQ(moved.x, 70);
  EXPECT_EQ(moved.width, 240);

  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = x;
  close.xclient.message_type = XInternAtom(peer_, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(peer_, "WM_DELETE_WINDOW", False));
  XSendEvent(peer_, x, False, 0, &close);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(frame); }));
  EXPECT_EQ(Count(frame, WM_CLOSE), 1);
}

TEST_F(X11Display, HiddenWindowsLeaveTheScreenAndPopupsBypassTheDesktop) {
  HWND frame = Make("Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 10, 310, 210});
  HWND tip = Make("Tip", WS_POPUP | WS_BORDER, RECT{100, 100, 200, 120}, WS_EX_TOOLWINDOW, frame);
  ShowWindow(tip, SW_SHOWNOACTIVATE);
  Window x = WaitNamed("Tip");
  ASSERT_NE(x, 0u);
  ASSERT_TRUE(PumpUntil([&] { return Attributes(x).map_state == IsViewable; }));
  EXPECT_TRUE(Attributes(x).override_redirect);
  ShowWindow(tip, SW_HIDE);
  EXPECT_TRUE(PumpUntil([&] { return Attributes(x).map_state == IsUnmapped; }));
  DestroyWindow(tip);
  EXPECT_TRUE(PumpUntil([&] { return Named("Tip") == 0; }));
  // A frame made maximised or minimised but not visible (a program's main window, shown later
  // after its splash) keeps off the screen until it is shown, in that state.
  for (const DWORD state : {DWORD{WS_MAXIMIZE}, DWORD{WS_MINIMIZE}}) {
    const char* title = state == WS_MAXIMIZE ? "Made maximised" : "Made minimised";
    SCOPED_TRACE(title);
    HWND made = Make(title, WS_OVERLAPPEDWINDOW | state, RECT{20, 20, 220, 170});
    Settle();
    EXPECT_FALSE(IsWindowVisible(made));
    EXPECT_EQ(IsZoomed(made) != FALSE, state == WS_MAXIMIZE);
    EXPECT_EQ(IsIconic(made) != FALSE, state == WS_MINIMIZE);
    const Window early = Named(title);
    EXPECT_TRUE(early == 0 || Attributes(early).map_state == IsUnmapped) << "on the screen before it is shown";
    ShowWindow(made, SW_SHOW);
    Window x = WaitNamed(title);
    ASSERT_NE(x, 0u);
    if (state == WS_MAXIMIZE) {
      EXPECT_TRUE(PumpUntil([&] { return Attributes(x).map_state == IsViewable; }));
    }
    EXPECT_EQ(IsZoomed(made) != FALSE, state == WS_MAXIMIZE);
    DestroyWindow(made);
  }
}

TEST_F(X11Display, PaintedPixelsReachTheScreenAndExposuresNeedNoRepaint) {
  HWND frame = Make("Painted", WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 250});
  EXPECT_TRUE(PumpUntil([&] { return Pixel(150, 150) == 0xFF0000; }));
  g_fill = RGB(0, 0, 255);
  InvalidateRect(frame, nullptr, TRUE);
  EXPECT_TRUE(PumpUntil([&] { return Pixel(150, 150) == 0x0000FF; }));

  // Another program's window covers part of ours, then goes away.
  Settle();
  int paints = Count(frame, WM_PAINT);
  XSetWindowAttributes a{};
  a.override_redirect = True;
  a.background_pixel = 0x00FF00;
  Window cover = XCreateWindow(peer_, root_, 120, 120, 50, 50, 0, CopyFromParent, InputOutput, CopyFromParent,
                               CWOverrideRedirect | CWBackPixel, &a);
  XMapRaised(peer_, cover);
  EXPECT_TRUE(PumpUntil([&] { return Pixel(150, 150) == 0x00FF00; }));
  XDestroyWindow(peer_, cover);
  EXPECT_TRUE(PumpUntil([&] { return Pixel(150, 150) == 0x0000FF; }));
  EXPECT_EQ(Count(frame, WM_PAINT), paints);
}

TEST_F(X11Display, KeysButtonsAndTheWheelArriveAsMessages) {
  HWND frame = Make("Input", WS_POPUP | WS_VISIBLE, RECT{200, 200, 400, 300});
  SetFocus(frame);
  Window x = WaitNamed("Input");
  ASSERT_NE(x, 0u);
  g_messages.clear();
  SendKey(x, XK_a, 0);
  SendKey(x, XK_a, ShiftMask);
  EXPECT_TRUE(PumpUntil([&] { return Count(frame, WM_CHAR) == 2; }));
  std::string chars;
  for (const MSG& m : g_messages)
    if (m.message == WM_CHAR) chars += static_cast<char>(m.wParam);
  EXPECT_EQ(chars, "aA");
  // The Shift the second event carried went in as a key of its own.
  std::vector<WPARAM> downs;
  for (const MSG& m : g_messages)
    if (m.message == WM_KEYDOWN) downs.push_back(m.wParam);
  EXPECT_EQ(downs, (std::vector<WPARAM>{'A', VK_SHIFT, 'A'}));
  EXPECT_EQ(Count(frame, WM_KEYUP), 2);

  SendButton(x, 1, 15, 25);
  SendButton(x, 5, 15, 25);
  ASSERT_TRUE(PumpUntil([&] { return Count(frame, WM_LBUTTONUP) == 1 && Count(frame, WM_MOUSEWHEEL) == 1; }));
  for (const MSG& m : g_messages) {
    if (m.message == WM_LBUTTONDOWN) {
      EXPECT_EQ(GET_X_LPARAM(m.lParam), 15);
      EXPECT_EQ(GET_Y_LPARAM(m.lParam), 25);
    }
    if (m.message == WM_MOUSEWHEEL) {
      EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(m.wParam), -WHEEL_DELTA);
    }
  }
}

TEST_F(X11Display, AKeyWhoseCharacterTheCodePageLacksTypesNothing) {
  ScopedCodePage page(1252);
  HWND frame = Make("Typing", WS_POPUP | WS_VISIBLE, RECT{200, 200, 400, 300});
  SetFocus(frame);
  Window x = WaitNamed("Typing");
  ASSERT_NE(x, 0u);
  // The server's last two keys become a Turkish capital I with dot and a German a umlaut.
  int low = 0, high = 0;
  XDisplayKeycodes(peer_, &low, &high);
  const int first = high - 1;
  int width = 0;
  KeySym* saved = XGetKeyboardMapping(peer_, static_cast<KeyCode>(first), 2, &width);
  KeySym typed[2] = {0x1000130, XK_adiaeresis};
  XChangeKeyboardMapping(peer_, first, 1, typed, 2);
  XSync(peer_, False);
  Settle();
  g_messages.clear();
  for (int keycode : {first, first + 1}) SendKeycode(x, static_cast<unsigned>(keycode), 0);
  EXPECT_TRUE(PumpUntil([&] { return Count(frame, WM_CHAR) >= 1; }));
  Settle();
  std::string chars;
  for (const MSG& m : g_messages)
    if (m.message == WM_CHAR) chars += static_cast<char>(m.wParam);
  EXPECT_EQ(chars, "\xE4");  // nothing, not '?', for the I with dot
  if (saved != nullptr) {
    XChangeKeyboardMapping(peer_, first, width, saved, 2);
    XFree(saved);
    XSync(peer_, False);
  }
}

TEST_F(X11Display, ActivationAndTheXFocusFollowEachOther) {
  HWND first = Make("First", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 10, 210, 110});
  HWND second = Make("Second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{300, 10, 500, 110});
  Window x1 = WaitNamed("First"), x2 = WaitNamed("Second");
  ASSERT_NE(x1, 0u);
  ASSERT_NE(x2, 0u);
  auto focused = [this] {
    Window w = 0;
    int revert;
    XGetInputFocus(peer_, &w, &revert);
    return w;
  };
  SetActiveWindow(second);
  EXPECT_TRUE(PumpUntil([&] { return focused() == x2; }));
  SetActiveWindow(first);
  EXPECT_TRUE(PumpUntil([&] { return focused() == x1; }));

  XSetInputFocus(peer_, x2, RevertToParent, CurrentTime);
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == second; }));
  // Another program takes the focus: the platform's windows are no longer active.
  Window other = XCreateSimpleWindow(peer_, root_, 600, 400, 50, 50, 0, 0, 0);
  XMapWindow(peer_, other);
  EXPECT_TRUE(PumpUntil([&] { return Attributes(other).map_state == IsViewable; }));
  XSetInputFocus(peer_, other, RevertToParent, CurrentTime);
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; }));
  // Activating a window then does not take the focus from the other program by force.
  SetActiveWindow(first);
  Settle();
  EXPECT_EQ(focused(), other);
  XDestroyWindow(peer_, other);
}

// The desktop hands the focus to a frame while its modal dialog is up (a click on the frame, Alt+Tab
// to it, after work in another program): the dialog takes the keyboard, as it is the window the
// desktop knows as the frame's modal dialog.
TEST_F(X11Display, AModalDialogTakesTheKeyboardWhenTheDesktopFocusesItsFrame) {
  HWND frame = Make("Modal owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 10, 410, 310});
  HWND dialog = Make("Modal dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, RECT{60, 60, 260, 160}, 0, frame);
  HWND modeless = Make("Modeless", WS_POPUP | WS_CAPTION | WS_SYSMENU, RECT{300, 60, 400, 160}, 0, frame);
  ShowWindow(modeless, SW_SHOWNORMAL);
  EnableWindow(frame, FALSE);
  ShowWindow(dialog, SW_SHOWNORMAL);
  Window xFrame = WaitNamed("Modal owner"), xDialog = WaitNamed("Modal dialog"), xModeless = WaitNamed("Modeless");
  ASSERT_NE(xFrame, 0u);
  ASSERT_NE(xDialog, 0u);
  ASSERT_TRUE(PumpUntil([&] { return Focused() == xDialog; }));
  EXPECT_TRUE(HasState(xDialog, "_NET_WM_STATE_MODAL"));
  EXPECT_FALSE(HasState(xModeless, "_NET_WM_STATE_MODAL"));
  Window transientFor = 0;
  EXPECT_TRUE(XGetTransientForHint(peer_, xDialog, &transientFor));
  EXPECT_EQ(transientFor, xFrame);

  Window other = OtherProgramWindow();
  XSetInputFocus(peer_, other, RevertToParent, CurrentTime);
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; }));
  XSetInputFocus(peer_, xFrame, RevertToParent, CurrentTime);
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == dialog && Focused() == xDialog; }))
      << "active " << GetActiveWindow() << ", X focus on " << Focused();
  g_messages.clear();
  SendKey(Focused(), XK_a, 0);
  EXPECT_TRUE(PumpUntil([&] { return Count(dialog, WM_CHAR) == 1; })) << "what is typed goes to the dialog";
  EXPECT_EQ(Count(frame, WM_CHAR), 0);
  XDestroyWindow(peer_, other);
}

// Real key events (through XTEST) on a server of their own: they give the backend the server's
// time as the time of the user's last action, which the requests of the other tests (taking a
// selection another connection took after it) would then carry.
class X11Keyboard : public X11Display {};

// Alt pressed in the program, released while another program or the desktop's own keys (a grab,
// as for Alt+Tab) had the keyboard: when it comes back, Alt is up, so Ctrl+O is Ctrl+O and no
// menu opens for a lone Alt.
TEST_F(X11Keyboard, KeysReleasedWhileTheKeyboardWasAwayAreUpWhenItComesBack) {
  if (!test::HaveProgram("xdotool")) GTEST_SKIP() << "xdotool is not installed";
  HWND frame = Make("Keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 10, 310, 210});
  Window x = WaitNamed("Keys");
  ASSERT_NE(x, 0u);
  Window other = OtherProgramWindow();
  const struct {
    const char* name;
    std::function<void()> away, back;
  } cases[] = {
      {"another program took the keyboard",
       [&] {
         XSetInputFocus(peer_, other, RevertToParent, CurrentTime);
         PumpUntil([&] { return GetActiveWindow() == nullptr; });
       },
       [&] { XSetInputFocus(peer_, x, RevertToParent, CurrentTime); }},
      {"the desktop grabbed the keyboard",
       [&] {
         XGrabKeyboard(peer_, other, False, GrabModeAsync, GrabModeAsync, CurrentTime);
         Settle();
       },
       [&] { XUngrabKeyboard(peer_, CurrentTime); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetActiveWindow(frame);
    ASSERT_TRUE(PumpUntil([&] { return Focused() == x; }));
    Xdotool("keydown alt");
    ASSERT_TRUE(PumpUntil([] { return GetKeyState(VK_MENU) < 0; }));
    c.away();
    Xdotool("keyup alt");
    c.back();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == frame && Focused() == x; }));
    g_messages.clear();
    g_altAtKey.clear();
    Xdotool("key ctrl+o");
    ASSERT_TRUE(PumpUntil([&] { return Count(frame, WM_KEYUP) + Count(frame, WM_SYSKEYUP) >= 2; }));
    Settle();
    for (const MSG& m : g_messages) {
      if (m.message < WM_KEYFIRST || m.message > WM_KEYLAST) continue;
      EXPECT_NE(m.wParam, static_cast<WPARAM>(VK_MENU)) << "a release of Alt reached the window: " << m.message;
      EXPECT_NE(m.message, static_cast<UINT>(WM_SYSKEYDOWN)) << "key " << m.wParam << " came as a system key";
    }
    EXPECT_EQ(std::count(g_altAtKey.begin(), g_altAtKey.end(), true), 0) << "Alt was still down";
    EXPECT_GE(GetKeyState(VK_MENU), 0);
  }
  XDestroyWindow(peer_, other);
}

TEST_F(X11Display, CaptureAndClippingGrabThePointer) {
  HWND frame = Make("Capture", WS_POPUP | WS_VISIBLE, RECT{50, 50, 250, 250});
  ASSERT_NE(WaitNamed("Capture"), 0u);
  Settle();
  auto peerCanGrab = [this] {
    int r = XGrabPointer(peer_, root_, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None,
                         CurrentTime);
    if (r == GrabSuccess) XUngrabPointer(peer_, CurrentTime);
    XSync(peer_, False);
    return r == GrabSuccess;
  };
  EXPECT_TRUE(peerCanGrab());
  SetCapture(frame);
  EXPECT_TRUE(PumpUntil([&] { return !peerCanGrab(); }));
  ReleaseCapture();
  EXPECT_TRUE(PumpUntil(peerCanGrab));

  SetActiveWindow(frame);
  RECT clip{60, 60, 100, 100};
  ClipCursor(&clip);
  EXPECT_TRUE(PumpUntil([&] { return !peerCanGrab(); }));
  ClipCursor(nullptr);
  EXPECT_TRUE(PumpUntil(peerCanGrab));
}

// A 100 x 100 outline three pixels thick, XOR-drawn in white from (x, y).
void XorOutline(HDC screen, int x, int y) {
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(screen, white);
  PatBlt(screen, x, y, 100, 3, PATINVERT);
  PatBlt(screen, x, y + 97, 100, 3, PATINVERT);
  PatBlt(screen, x, y + 3, 3, 94, PATINVERT);
  PatBlt(screen, x + 97, y + 3, 3, 94, PATINVERT);
  SelectObject(screen, old);
  DeleteObject(white);
}

TEST_F(X11Display, DesktopOutlinesLieOverTheWindowsAndLeaveTheirInsideAlone) {
  Make("Under", WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  ASSERT_TRUE(PumpUntil([&] { return Pixel(200, 200) == 0xFF0000; }));
  auto outline = [] {
    HDC screen = GetDC(nullptr);
    XorOutline(screen, 150, 150);
    ReleaseDC(nullptr, screen);
  };
  outline();
  EXPECT_TRUE(PumpUntil([&] { return Pixel(151, 200) == 0x00FFFF; }));
  EXPECT_EQ(Pixel(200, 200), 0xFF0000u);
  EXPECT_EQ(Pixel(249, 249), 0x00FFFFu);
  // Drawn twice, the outline is gone.
  outline();
  EXPECT_TRUE(PumpUntil([&] { return Pixel(151, 200) == 0xFF0000; }));
}

TEST_F(X11Display, ADragOutlineMovesOnTheScreenWhileTheDragHoldsItsDC) {
  Make("Under", WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  ASSERT_TRUE(PumpUntil([&] { return Pixel(200, 200) == 0xFF0000; }));
  // As a bar's drag does: the desktop locked and its DC held from the press to the release, the
  // outline erased and drawn again at each move of the pointer.
  HWND desktop = GetDesktopWindow();
  LockWindowUpdate(desktop);
  HDC screen = GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  ASSERT_NE(screen, nullptr);
  XorOutline(screen, 150, 150);
  EXPECT_TRUE(PumpUntil([&] { return Pixel(151, 200) == 0x00FFFF; })) << "the outline shows during the drag";
  XorOutline(screen, 150, 150);
  XorOutline(screen, 170, 160);
  EXPECT_TRUE(PumpUntil([&] { return Pixel(171, 200) == 0x00FFFF && Pixel(151, 200) == 0xFF0000; }))
      << "and follows the pointer";
  XorOutline(screen, 170, 160);
  ReleaseDC(desktop, screen);
  LockWindowUpdate(nullptr);
  EXPECT_TRUE(PumpUntil([&] { return Pixel(171, 200) == 0xFF0000; }));
}

TEST_F(X11Display, CopiedTextAndPrivateFormatsAreOfferedToOtherPrograms) {
  ScopedCodePage page(1252);
  HWND frame = Make("Copier", WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
  UINT column = RegisterClipboardFormat("MSDEVColumnSelect");
  ASSERT_TRUE(Copy(frame, {{CF_TEXT, std::string("caf\xE9", 5)}, {column, "\x01\x02\x03\x04"}}));

  std::string bytes;
  Atom type = None;
  ASSERT_TRUE(PeerConvert("UTF8_STRING", bytes, &type));
  EXPECT_EQ(bytes, "caf\xC3\xA9");
  EXPECT_EQ(type, XInternAtom(peer_, "UTF8_STRING", False));
  ASSERT_TRUE(PeerConvert("STRING", bytes));
  EXPECT_EQ(bytes, "caf\xE9");
  ASSERT_TRUE(PeerConvert("MSDEVColumnSelect", bytes));
  EXPECT_EQ(bytes, std::string("\x01\x02\x03\x04", 4));
  ASSERT_TRUE(PeerConvert("TARGETS", bytes));
  std::vector<Atom> targets(reinterpret_cast<const long*>(bytes.data()),
                            reinterpret_cast<const long*>(bytes.data() + bytes.size()));
  EXPECT_NE(std::find(targets.begin(), targets.end(), XInternAtom(peer_, "MSDEVColumnSelect", False)),
            targets.end());
  EXPECT_FALSE(PeerConvert("image/png", bytes));
}

TEST_F(X11Display, TextCopiedByAnotherProgramIsPastedInTheCodePage) {
  ScopedCodePage page(1252);
  HWND frame = Make("Paster", WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
  ASSERT_TRUE(Copy(frame, {{CF_TEXT, std::string("old", 4)}}));

  // The other program runs on a thread of its own, answering requests for its text; told to, it
  // takes the clipboard again as an older program that offers Latin-1 only.
  std::atomic<bool> stop{false}, owning{false}, latin1Only{false};
  std::thread other([&] {
    Display* d = XOpenDisplay(g_x->DisplayName().c_str());
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    Atom cb = XInternAtom(d, "CLIPBOARD", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    bool old = false;
    while (!stop) {
      if (!owning || old != latin1Only) {
        old = latin1Only;
        XSetSelectionOwner(d, cb, w, CurrentTime);
        XSync(d, False);
        owning = true;
      }
      while (XPending(d)) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type != SelectionRequest) continue;
        if (!old && e.xselectionrequest.target == utf8)
          Give(d, e.xselectionrequest, "na\xC3\xAFve");
        else if (old && e.xselectionrequest.target == XA_STRING)
          Give(d, e.xselectionrequest, "caf\xE9");
        else
          Refuse(d, e.xselectionrequest);
        XFlush(d);
      }
      usleep(2000);
    }
    XCloseDisplay(d);
  });
  while (!owning) usleep(1000);
  // Losing the selection empties the platform's clipboard; a paste then asks the owner.
  auto pasted = [&] {
    std::string got;
    if (!OpenClipboard(frame)) return got;
    if (HANDLE t = GetClipboardData(CF_TEXT)) {
      got = static_cast<const char*>(GlobalLock(t));
      GlobalUnlock(t);
    }
    CloseClipboard();
    return got;
  };
  EXPECT_TRUE(PumpUntil([&] { return pasted() != "old"; }));
  EXPECT_EQ(pasted(), "na\xEFve");

  // Emptied by the application, the clipboard is empty for everyone, whatever the other had.
  ASSERT_TRUE(OpenClipboard(frame));
  EmptyClipboard();
  CloseClipboard();
  std::string bytes;
  EXPECT_TRUE(PumpUntil([&] { return pasted().empty(); }));
  EXPECT_FALSE(PeerConvert("UTF8_STRING", bytes));

  latin1Only = true;
  EXPECT_TRUE(PumpUntil([&] { return pasted() == "caf\xE9"; }));
  stop = true;
  other.join();
}

TEST_F(X11Display, FilesDraggedFromAnotherProgramAreDropped) {
  HWND frame = Make("Drop here", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 400, 300});
  DragAcceptFiles(frame, TRUE);
  Window x = WaitNamed("Drop here");
  ASSERT_NE(x, 0u);
  EXPECT_EQ(AtomList(x, "XdndAware"), std::vector<Atom>{5});
  auto atom = [this](const char* name) { return XInternAtom(peer_, name, False); };
  // The other program is the drag source.
  Window source = XCreateSimpleWindow(peer_, root_, 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(peer_, atom("XdndSelection"), source, CurrentTime);
  auto send = [&](const char* type, long l1, long l2, long l3, long l4) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = x;
    e.xclient.message_type = atom(type);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(source);
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(peer_, x, False, NoEventMask, &e);
  };
  auto answer = [&](const char* type) {
    XEvent e{};
    bool got = PumpUntil([&] {
      while (XCheckTypedWindowEvent(peer_, source, ClientMessage, &e))
        if (e.xclient.message_type == atom(type)) return true;
      return false;
    });
    return got ? e.xclient.data.l[1] : -1L;
  };
  send("XdndEnter", 5L << 24, static_cast<long>(atom("text/uri-list")), 0, 0);
  send("XdndPosition", 0, (200L << 16) | 150, CurrentTime, static_cast<long>(atom("XdndActionCopy")));
  EXPECT_EQ(answer("XdndStatus") & 1, 1) << "accepted over a window that accepts files";
  send("XdndPosition", 0, (700L << 16) | 600, CurrentTime, static_cast<long>(atom("XdndActionCopy")));
  EXPECT_EQ(answer("XdndStatus") & 1, 0) << "refused elsewhere";
  send("XdndPosition", 0, (200L << 16) | 150, CurrentTime, static_cast<long>(atom("XdndActionCopy")));
  EXPECT_EQ(answer("XdndStatus") & 1, 1);
  send("XdndDrop", 0, CurrentTime, 0, 0);

  // The target asks for the file list; the source gives it.
  XEvent request{};
  ASSERT_TRUE(PumpUntil([&] { return XCheckTypedWindowEvent(peer_, source, SelectionRequest, &request); }));
  XSelectionRequestEvent& r = request.xselectionrequest;
  EXPECT_EQ(r.target, atom("text/uri-list"));
  Give(peer_, r, "file:///tmp/dropped%20file.h\r\n");
  EXPECT_EQ(answer("XdndFinished") & 1, 1);
  ASSERT_EQ(Count(frame, WM_DROPFILES), 1);
  for (const MSG& m : g_messages) {
    if (m.message != WM_DROPFILES) continue;
    auto drop = reinterpret_cast<HDROP>(m.wParam);
    char name[64] = {};
    DragQueryFile(drop, 0, name, sizeof(name));
    EXPECT_STREQ(name, "/tmp/dropped file.h");
    DragFinish(drop);
  }
}

// A drag of this program taken to another program's window: the other program is told it
// entered, is asked at each position, asks for the files and the text when dropped on, and says
// it is finished; the program's drag learns the effect.
TEST_F(X11Display, DragsGoOnToOtherProgramsWindows) {
  HWND frame = Make("Source", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 100, 100});
  ASSERT_NE(WaitNamed("Source"), 0u);
  auto* source = dynamic_cast<ForeignDragSource*>(g_x->Backend().get());
  ASSERT_NE(source, nullptr);
  ASSERT_EQ(GetForeignDragSource(), source);
  // The other program: a window that takes drops, on a connection and a thread of its own.
  test::XdndPeerTarget other(g_x->DisplayName(), 300, 200, 200, 150);
  OutgoingDrag drag;
  drag.text = "caf\xC3\xA9";
  drag.files = {"/tmp/a file.h"};
  EXPECT_EQ(source->DragOver(POINT{50, 50}, MK_LBUTTON, 1 | 2, drag), 0u) << "over our own window: nothing";
  EXPECT_EQ(source->DragOver(POINT{350, 250}, MK_LBUTTON | MK_CONTROL, 1 | 2, drag), 1u) << "a copy, taken";
  EXPECT_EQ(source->DragOver(POINT{360, 260}, MK_LBUTTON | MK_CONTROL, 1 | 2, drag), 1u);
  EXPECT_EQ(source->Drop(MK_CONTROL), 1u);
  EXPECT_EQ(other.Messages(), (std::vector<std::string>{"XdndEnter", "XdndPosition", "XdndPosition", "XdndDrop"}));
  EXPECT_EQ(other.Files(), "file:///tmp/a%20file.h\r\n");
  EXPECT_EQ(other.Text(), "caf\xC3\xA9");
  (void)frame;
}

TEST_F(X11Display, MinimisingMaximisingAndFullScreenAskTheWindowManager) {
  HWND frame = Make("Managed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 340, 240});
  Window x = WaitNamed("Managed");
  ASSERT_NE(x, 0u);
  ASSERT_TRUE(PumpUntil([&] { return Attributes(x).map_state == IsViewable; }));
  // From here the peer is the window manager: requests about top-level windows come to it.
  XSelectInput(peer_, root_, SubstructureRedirectMask | SubstructureNotifyMask);
  XSync(peer_, False);
  auto atom = [this](const char* name) { return XInternAtom(peer_, name, False); };
  std::vector<std::pair<Atom, long>> asked;  // (message or state, data)
  auto serve = [&] {
    while (XPending(peer_)) {
      XEvent e;
      XNextEvent(peer_, &e);
      if (e.type == ConfigureRequest) {
        XWindowChanges c{e.xconfigurerequest.x, e.xconfigurerequest.y, e.xconfigurerequest.width,
                         e.xconfigurerequest.height, 0, 0, 0};
        XConfigureWindow(peer_, e.xconfigurerequest.window, CWX | CWY | CWWidth | CWHeight, &c);
      } else if (e.type == MapRequest) {
        XMapWindow(peer_, e.xmaprequest.window);
      } else if (e.type == ClientMessage && e.xclient.window == x) {
        if (e.xclient.message_type == atom("_NET_WM_STATE"))
          asked.emplace_back(static_cast<Atom>(e.xclient.data.l[1]), e.xclient.data.l[0]);
        else
          asked.emplace_back(e.xclient.message_type, e.xclient.data.l[0]);
      }
    }
  };
  auto wasAsked = [&](const char* what, long data) {
    return PumpUntil([&] {
      serve();
      return std::find(asked.begin(), asked.end(), std::make_pair(atom(what), data)) != asked.end();
    });
  };
  ShowWindow(frame, SW_MAXIMIZE);
  EXPECT_TRUE(wasAsked("_NET_WM_STATE_MAXIMIZED_VERT", 1));
  EXPECT_TRUE(wasAsked("_NET_WM_STATE_MAXIMIZED_HORZ", 1));
  ShowWindow(frame, SW_RESTORE);
  EXPECT_TRUE(wasAsked("_NET_WM_STATE_MAXIMIZED_VERT", 0));
  ShowWindow(frame, SW_MINIMIZE);
  EXPECT_TRUE(wasAsked("WM_CHANGE_STATE", IconicState));
  ShowWindow(frame, SW_RESTORE);
  serve();
  SIZE screen = GetScreenSize();
  SetWindowPos(frame, nullptr, -4, -4, screen.cx + 8, screen.cy + 8, SWP_NOZORDER);
  EXPECT_TRUE(wasAsked("_NET_WM_STATE_FULLSCREEN", 1));
  SetWindowPos(frame, nullptr, 40, 40, 300, 200, SWP_NOZORDER);
  EXPECT_TRUE(wasAsked("_NET_WM_STATE_FULLSCREEN", 0));
  XSelectInput(peer_, root_, NoEventMask);
}

// A window shown maximised is maximised for the desktop, not full screen, and so is the window a
// restore leaves filling the screen; a maximise or a restore the window manager does itself (its
// state on the window rewritten) is followed by the platform's window.
TEST_F(X11Display, MaximisedWindowsAreMaximisedForTheDesktopAndFollowItsState) {
  SIZE screen = GetScreenSize();
  HWND frame = Make("Zoomed", WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, RECT{0, 0, screen.cx, screen.cy});
  ShowWindow(frame, SW_SHOWMAXIMIZED);
  Window x = WaitNamed("Zoomed");
  ASSERT_NE(x, 0u);
  ASSERT_TRUE(PumpUntil([&] { return Attributes(x).map_state == IsViewable; }));
  EXPECT_TRUE(HasState(x, "_NET_WM_STATE_MAXIMIZED_VERT"));
  EXPECT_TRUE(HasState(x, "_NET_WM_STATE_MAXIMIZED_HORZ"));
  EXPECT_FALSE(HasState(x, "_NET_WM_STATE_FULLSCREEN"));

  auto desktopSets = [&](std::vector<const char*> names) {
    std::vector<long> states;
    for (const char* name : names) states.push_back(static_cast<long>(XInternAtom(peer_, name, False)));
    XChangeProperty(peer_, x, XInternAtom(peer_, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states.data()), static_cast<int>(states.size()));
  };
  desktopSets({});
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(frame); })) << "the desktop's restore is not followed";
  Settle();
  EXPECT_FALSE(HasState(x, "_NET_WM_STATE_FULLSCREEN")) << "a window filling the screen is not full screen";
  desktopSets({"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"});
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(frame) != FALSE; })) << "the desktop's maximise is not followed";
  EXPECT_NE(GetWindowLongPtr(frame, GWL_STYLE) & WS_MAXIMIZE, 0);
}

// A frame made hidden and maximised (a program's main window asking to start maximised) shows
// nothing before the program shows it; shown "normal" the first time, it appears maximised, so
// for the desktop. Made as large as the screen, it has the normal placement of a window made with
// the default size, for a restore to give a smaller window. Later shows restore.
TEST_F(X11Display, AFrameMadeMaximisedStartsMaximisedAtItsFirstShow) {
  SIZE screen = GetScreenSize();
  HWND frame = Make("Starts zoomed", WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, RECT{0, 0, screen.cx, screen.cy});
  Settle();
  Window early = Named("Starts zoomed");
  EXPECT_TRUE(early == 0 || Attributes(early).map_state != IsViewable) << "mapped before it was shown";
  EXPECT_FALSE(IsWindowVisible(frame));
  ShowWindow(frame, SW_SHOWNORMAL);
  EXPECT_TRUE(IsZoomed(frame)) << "the first show restored the frame made maximised";
  Window x = WaitNamed("Starts zoomed");
  ASSERT_NE(x, 0u);
  ASSERT_TRUE(PumpUntil([&] { return Attributes(x).map_state == IsViewable; }));
  EXPECT_TRUE(HasState(x, "_NET_WM_STATE_MAXIMIZED_VERT"));
  EXPECT_TRUE(HasState(x, "_NET_WM_STATE_MAXIMIZED_HORZ"));
  EXPECT_FALSE(HasState(x, "_NET_WM_STATE_FULLSCREEN"));
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  ASSERT_TRUE(GetWindowPlacement(frame, &placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  const RECT& normal = placement.rcNormalPosition;
  EXPECT_EQ(normal.right - normal.left, screen.cx * 3 / 4);
  EXPECT_EQ(normal.bottom - normal.top, screen.cy * 3 / 4);

  ShowWindow(frame, SW_HIDE);
  ShowWindow(frame, SW_SHOWNORMAL);
  EXPECT_FALSE(IsZoomed(frame)) << "a later show to normal kept the frame maximised";
}

TEST_F(X11Display, TaskBarsGetTheWindowsIcon) {
  // 16x16, opaque white on the left half, transparent on the right.
  std::vector<BYTE> andPlane(32), xorPlane(32);
  for (int row = 0; row < 16; ++row) {
    andPlane[static_cast<size_t>(row * 2 + 1)] = 0xFF;
    xorPlane[static_cast<size_t>(row * 2)] = 0xFF;
  }
  HICON icon = CreateIcon(nullptr, 16, 16, 1, 1, andPlane.data(), xorPlane.data());
  ASSERT_NE(icon, nullptr);
  HWND frame = Make("With icon", WS_OVERLAPPEDWINDOW, RECT{10, 10, 210, 110});
  SendMessage(frame, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  ShowWindow(frame, SW_SHOW);
  Window x = WaitNamed("With icon");
  ASSERT_NE(x, 0u);
  std::vector<Atom> data = AtomList(x, "_NET_WM_ICON");
  ASSERT_EQ(data.size(), 2u + 16 * 16);
  EXPECT_EQ(data[0], 16u);
  EXPECT_EQ(data[1], 16u);
  EXPECT_EQ(data[2 + 5 * 16 + 3] & 0xFFFFFFFF, 0xFFFFFFFFu) << "opaque white";
  EXPECT_EQ(data[2 + 5 * 16 + 12], 0u) << "transparent";
  DestroyWindow(frame);
  DestroyIcon(icon);
}

}  // namespace
