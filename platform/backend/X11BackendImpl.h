// Inside the X11 backend: its class, shared by X11Backend.cpp (windows, pixels, input, focus,
// grabs, cursors, the overlay) and X11Transfer.cpp (the CLIPBOARD selection and XDND drops).
#pragma once

#include <array>
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "backend/DropFiles.h"
#include "backend/X11Keys.h"
#include "gdi/Surface.h"
#include "win/Backend.h"
#include "win/WinUser.h"

// Xlib comes last: its macros (None, Bool, Status ...) must not meet the platform's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace brambolt::x11 {

inline constexpr long kWindowEvents = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                                      ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                                      LeaveWindowMask | FocusChangeMask | StructureNotifyMask |
                                      PropertyChangeMask;

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// What the backend keeps of a top-level window's X window.
struct XWin {
  Window xid = 0;
  bool overrideRedirect = false;
  bool shown = false;     // mapped at the platform's request
  bool viewable = false;  // the server says it is mapped
  bool iconic = false;
  bool maximized = false;
  bool maximizeAsked = false;  // the window manager asked to change it, its answer not yet seen
  bool fullscreen = false;
  bool focusWhenMapped = false;
  bool reparented = false;  // framed by a window manager: its real configure events are relative
  unsigned long hiddenAt = 0;  // the request serial of the last unmap the platform asked for
  std::deque<RECT> requested;  // geometries asked for whose configure events may still come
  std::string title;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  XIC ic = nullptr;           // its input context, while an input method is open
  XFontSet fontSet = nullptr;  // the font set its composition is drawn with (not owned)
};

// The channel and field shift that put an 8-bit colour component under a visual's mask.
struct Channel {
  unsigned long mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(unsigned long m = 0) : mask(m) {
    if (m == 0) return;
    while (!((m >> shift) & 1)) ++shift;
    while ((m >> (shift + bits)) & 1) ++bits;
  }
  unsigned long Place(uint32_t component) const {
    unsigned long v = bits >= 8 ? component << (bits - 8) : component >> (8 - bits);
    return (v << shift) & mask;
  }
};

// The backend over one display connection, made and used on the user-interface thread; it also
// takes this program's drags on to other programs' windows (XDND source).
class X11Backend final : public Backend, public ForeignDragSource {
 public:
  explicit X11Backend(Display* display);
  ~X11Backend() override;

  const char* Name() const override { return "x11"; }
  void WindowShown(HWND topLevel, const RECT& screen) override;
  void WindowHidden(HWND topLevel) override;
  void WindowMoved(HWND topLevel, const RECT& screen) override;
  void WindowDestroyed(HWND topLevel) override;
  void ZOrderChanged() override;
  void Present(HWND topLevel, const RECT& damage) override;
  void OverlayChanged(const RECT& damage) override;
  void UpdateOverlay();
  void SetCursor(HCURSOR cursor) override;
  void ShowCursor(bool visible) override;
  void Bell(UINT type) override;
  void Flash(HWND topLevel, bool on) override;
  void ClipboardChanged() override;
  bool ForeignClipboardText(std::string& utf8) override;
  std::vector<std::string> ForeignClipboardFormats() override;
  bool ForeignClipboardData(const std::string& format, std::string& bytes) override;
  void PumpEvents() override;
  bool HasEventSource() const override { return true; }
  bool HasInputMethod() const override { return inputMethodOpen_; }
  void PlaceComposition(HWND topLevel, POINT spot, const RECT& area) override;
  void SetCompositionFont(HWND topLevel, const std::string& face, int height) override;

  DWORD DragOver(POINT screen, DWORD keys, DWORD allowed, const OutgoingDrag& drag) override;
  void DragLeave() override;
  DWORD Drop(DWORD keys) override;

 private:
  bool OnUiThread() const { return std::this_thread::get_id() == ui_; }
  // Carries `work` out now on the user-interface thread, or queues it for its next pump.
  bool Elsewhere(std::function<void()> work);
  void RunQueued();

  XWin* Find(HWND hwnd);
  HWND HandleOf(Window xid) const;
  XWin& Ensure(HWND hwnd);
  void SetProperties(HWND hwnd, XWin& w, DWORD style, DWORD exStyle);
  void SetTransientFor(HWND hwnd, XWin& w);
  void SetTitle(XWin& w, const std::string& ansi);
  void SetIcon(HWND hwnd, XWin& w);
  void SetNetState(XWin& w, Atom state, bool on);
  void Map(HWND hwnd, XWin& w);
  void Place(XWin& w, const RECT& screen);
  void OnConfigure(XConfigureEvent& e);
  // The maximised and full-screen states the desktop is to know of the window, placed at
  // `screen`; and the window manager's own change of them followed.
  void SetDesktopState(HWND hwnd, XWin& w, const RECT& screen);
  void OnStateChanged(Window xid);
  // The window the window manager names active on the root (None without one, or when none is).
  Window ActiveWindowOfDesktop();
  // The window a property of the root window names (None without one).
  Window WindowOnRoot(Atom property);
  // Whether a window manager runs on the display (it names itself on the root window).
  bool WindowManagerRuns();
  void FocusX(XWin& w);
  void Put(Window xid, const Surface& surface, RECT source, int x, int y);
  void PutWindow(HWND hwnd, RECT area);
  Cursor CursorFor(HCURSOR cursor);
  Cursor ImageCursor(HCURSOR cursor);
  void ApplyCursor();

  // Keeps X in step with the window manager's own state: titles, activation, capture, clipping.
  void Sync();
  void SyncTitles();
  void SyncActivation();
  void SyncGrab();

  // The X input method (X11InputMethod.cpp): opened for the server XMODIFIERS names, now or when
  // it starts; an input context for each framed top-level window, focused while the focus
  // window types through it; its committed text delivered as a composition.
  void OpenInputMethod();
  void CloseInputMethod();
  static void InputMethodStarted(Display* display, XPointer self, XPointer);
  static void InputMethodGone(XIM im, XPointer self, XPointer);
  void CreateInputContext(XWin& w);
  void DestroyInputContext(XWin& w);
  void SyncInputFocus();
  // Whether the input method took the event; a key it took starts a composition.
  bool FilteredByInputMethod(XEvent& e);
  // Text the input method committed (a key event with keycode 0); false when it is no such event.
  bool OnCommit(XKeyEvent& e);
  XFontSet FontSet(const std::string& face, int height);

  void Handle(XEvent& e);
  POINT ScreenPoint(Window xid, int x, int y);
  void SyncModifiers(unsigned state);
  void OnKey(XKeyEvent& e, bool press);
  void OnButton(XButtonEvent& e, bool press);
  // The focus given to one of our windows; fromGrab when it comes back after a grab (the
  // desktop's keys) rather than from another window.
  void OnFocusIn(Window xid, bool fromGrab);
  void CheckFocusLeft();
  void ReleaseKeys();
  void SyncPressedKeys();
  HWND EnabledPopupOf(HWND hwnd);
  void SyncToggleKeys();
  void OnClientMessage(XClientMessageEvent& e);
  void OnDragMessage(XClientMessageEvent& e);
  void SendXdnd(Window to, Atom type, std::array<long, 5> data);
  void SendToSource(Atom type, Window from, long flags, Atom action);
  void OnDropData(XSelectionEvent& e);
  void OnSelectionRequest(XSelectionRequestEvent& r);
  void OnSelectionClear();
  // Waits (at most about a second) for an event of `type` on `xid` that `accept` takes.
  bool WaitForEvent(int type, Window xid, XEvent& out, const std::function<bool(XEvent&)>& accept);
  // A selection owner's data as `target`; `answered` tells a refusal from no answer.
  bool ConvertSelection(Atom selection, Atom target, Time time, std::string& bytes, bool* answered);
  bool ConvertClipboard(Atom target, std::string& bytes, bool* answered) {
    return ConvertSelection(atoms_.clipboard, target, lastTime_, bytes, answered);
  }
  // Whether the CLIPBOARD of another program may be asked now (and its owner answers at all).
  bool MayAskClipboard();
  // What a drag of another program offers, fetched through XdndSelection.
  ForeignDrag OfferedByDrag();
  // The window of another program that takes drops (XdndAware) under a screen point, with the
  // protocol version to speak to it; 0 over this program's windows and where none is.
  Window AwareWindowAt(POINT screen, long* version);
  void SendToTarget(Atom type, long l1, long l2, long l3, long l4);
  // What our own drag offers through XdndSelection; false when it is no such request.
  bool AnswerDragRequest(XSelectionRequestEvent& r, XEvent& reply);

  Display* display_;
  int screen_;
  Window root_;
  Visual* visual_;
  int depth_;
  Colormap colormap_;
  GC gc_;
  bool directPixels_ = false;
  Channel red_, green_, blue_;
  bool shape_ = false;
  unsigned numLockMask_ = 0;
  const std::thread::id ui_;

  std::mutex queueMutex_;
  std::deque<std::function<void()>> queue_;
  bool pumping_ = false;

  std::unordered_map<HWND, XWin> windows_;
  std::unordered_map<Window, HWND> byXid_;
  HWND echo_ = nullptr;  // the window whose change came from X and must not go back to it

  HWND lastActive_ = nullptr;
  bool checkFocus_ = false;
  bool keyboardAway_ = false;  // another program or the desktop's grab had the keyboard
  std::map<unsigned, x11::VirtualKey> pressed_;  // by keycode: what a release must undo

  HCURSOR cursor_ = nullptr;
  bool cursorVisible_ = true;
  std::map<unsigned, Cursor> fontCursors_;
  std::map<HCURSOR, Cursor> imageCursors_;
  Cursor blankCursor_ = 0;

  bool grabbed_ = false;
  Window grabWindow_ = 0;
  bool confined_ = false;
  RECT clipRect_{};
  Window clipWindow_ = 0;

  Window overlay_ = 0;
  bool overlayDirty_ = false;
  bool overlayMapped_ = false;
  RECT overlayBox_{};
  std::unique_ptr<Surface> overlayPixels_;

  // The CLIPBOARD selection: what we offer while we own it, guarded as any thread may change it.
  Window selectionWindow_ = 0;
  std::mutex clipMutex_;
  std::string offeredText_;  // UTF-8
  std::vector<std::pair<std::string, std::string>> offeredFormats_;  // registered name, bytes
  bool ownSelection_ = false;
  bool clearingClipboard_ = false;
  Time lastTime_ = CurrentTime;

  struct Atoms {
    Atom wmProtocols, wmDeleteWindow, netWmPing, netWmName, netWmState, netWmStateAbove,
        netWmStateMaxVert, netWmStateMaxHorz, netWmStateFullscreen, netActiveWindow, netWmWindowType, typeNormal, typeDialog, typeUtility, typeMenu,
        typeTooltip, typeDropdown, typeSplash, netWmPid, motifHints, utf8String, clipboard,
        targets, text, textPlain, timestamp, incr, transfer, xdndAware, xdndEnter, xdndPosition,
        xdndStatus, xdndLeave, xdndDrop, xdndFinished, xdndSelection, xdndTypeList, xdndActionCopy,
        uriList, dropTransfer, netWmIcon, netWmStateModal, netWmUserTime, netSupportingWmCheck,
        frameExtents;
  } atoms_{};

  XIM im_ = nullptr;
  std::atomic<bool> inputMethodOpen_{false};
  bool waitingForInputMethod_ = false;
  unsigned long inputStyle_ = 0;
  XIC focusedIc_ = nullptr;
  std::map<std::pair<std::string, int>, XFontSet> fontSets_;

  // A CLIPBOARD owner that did not answer: not asked again while it owns the selection.
  Window silentOwner_ = 0;

  // A drag from another program over our windows (XDND).
  struct Drag {
    Window source = 0;
    long version = 0;
    bool offersFiles = false;
    Atom textTarget = 0;  // the text type to ask for, 0 when no text is offered
    bool toTargets = false;  // going to the registered drop targets (ForeignDropTargets)
    DWORD keys = 0;
    Time time = 0;
    Atom action = 0;  // the action last answered
    bool accepted = false;
    POINT point{};
    Window target = 0;  // set once dropped, while the file list is fetched
  } drag_;

  // Our drag over another program's window (XDND source).
  struct OutDrag {
    Window target = 0;
    long version = 0;
    bool accepted = false;
    Atom action = 0;      // the action the target last answered
    std::string text;     // UTF-8
    std::string uriList;  // the files as a text/uri-list
  } out_;
};

}  // namespace brambolt::x11
