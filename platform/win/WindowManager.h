// Inside the window manager: window and class records, the handle table, per-thread queues and
// the one lock that guards them. Not part of the public interface.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "gdi/Region.h"
#include "win/WinErrors.h"
#include "win/WinKeys.h"
#include "win/WinUser.h"

namespace brambolt {
class Region;
class Surface;
}

namespace brambolt::wm {

class ThreadQueue;

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  LPCSTR menuNamePtr = nullptr;  // an integer resource id or a pointer into menuName
  std::string menuName;
  int wndExtra = 0;
  std::vector<BYTE> extra;
  bool global = false;
  bool unregistered = false;
  int windowCount = 0;
};

struct ScrollBar {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool tracking = false;
  UINT disabled = ESB_ENABLE_BOTH;
  bool shown = false;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  std::shared_ptr<ThreadQueue> queue;
  DWORD threadId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;  // child id, or the menu of a top-level window
  std::string text;
  HFONT font = nullptr;
  HICON iconBig = nullptr;
  HICON iconSmall = nullptr;
  HWND parent = nullptr;
  HWND owner = nullptr;
  std::vector<HWND> children;  // z-order, topmost first
  // Window and client rectangles relative to the parent's client origin (screen for top-levels).
  RECT window{};
  RECT client{};
  std::vector<BYTE> extra;

  // Life cycle.
  bool created = false;     // WM_NCCREATE accepted
  bool destroying = false;  // inside DestroyWindow
  bool messageOnly = false;
  int procDepth = 0;

  // Minimise/maximise bookkeeping.
  RECT normal{};
  POINT minPos{-1, -1};
  POINT maxPos{-1, -1};
  bool restoreToMaximized = false;
  // Shown at least once: until then, a window made minimised or maximised keeps that state when
  // it is first shown to be "normal" (the program's start names no show state of its own).
  bool everShown = false;

  // Painting.
  std::shared_ptr<Region> update;  // client coordinates
  bool internalPaint = false;
  bool eraseNeeded = false;
  bool frameNeeded = false;
  bool redrawOff = false;

  // Pixels of a top-level window.
  std::shared_ptr<Surface> surface;
  bool activeCaption = false;

  // Window scroll bars.
  ScrollBar hscroll;
  ScrollBar vscroll;

  // Mouse tracking.
  DWORD trackFlags = 0;
  DWORD hoverTime = 0;

  // SetProp entries by atom, and the window region of SetWindowRgn (window coordinates; null for
  // the whole window). Both are in WindowProps.cpp.
  std::vector<std::pair<ATOM, HANDLE>> props;
  std::shared_ptr<Region> shape;
};

// A message sent to another thread, waiting there for its reply.
struct SentMessage {
  HWND hwnd = nullptr;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
  DWORD kind = ISMEX_SEND;  // ISMEX_SEND, ISMEX_NOTIFY or ISMEX_CALLBACK
  bool replied = false;
  std::shared_ptr<ThreadQueue> sender;  // to wake on reply; null for notifications
  SENDASYNCPROC callback = nullptr;
  ULONG_PTR callbackData = 0;
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapse = 0;
  TIMERPROC proc = nullptr;
  DWORD due = 0;
  bool isSystem = false;  // WM_SYSTIMER-style internal timers (caret blink, scroll repeat)
};

// A raw input event as the backend or a test delivers it, routed to a window when retrieved.
struct InputEvent {
  enum Kind { Mouse, Key, Composition, Refusal } kind = Mouse;  // Refusal: typed characters refused
  // WM_MOUSEMOVE, WM_xBUTTONDOWN/UP, WM_MOUSEWHEEL, WM_KEYDOWN, WM_KEYUP; for a composition
  // WM_IME_STARTCOMPOSITION or WM_IME_ENDCOMPOSITION
  UINT msg = 0;
  std::string text;  // the committed characters of a composition's end, ANSI code page
  POINT pt{};
  int wheel = 0;
  UINT vk = 0;
  UINT scan = 0;
  bool extended = false;
  DWORD time = 0;
  ULONG_PTR extraInfo = 0;
  WPARAM keys = 0;  // MK_ state when the event happened
  bool alt = false;  // Alt and Ctrl held when a key event happened
  bool ctrl = false;
};

struct HookRecord {
  int id = 0;
  HOOKPROC proc = nullptr;
  HHOOK handle = nullptr;
  bool removed = false;
};

// One per thread that uses windows or messages.
class ThreadQueue {
 public:
  explicit ThreadQueue(DWORD tid) : threadId(tid) {}

  const DWORD threadId;

  // Guarded by mutex: anything other threads touch.
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::shared_ptr<SentMessage>> incoming;
  std::deque<std::shared_ptr<SentMessage>> replies;  // answered SendMessageCallback records
  std::deque<MSG> posted;
  std::deque<MSG> input;  // input routed to this thread, waiting to be retrieved
  std::vector<Timer> timers;
  bool quitPosted = false;
  int quitCode = 0;
  bool alive = true;
  DWORD changed = 0;   // QS_ bits set since the last GetQueueStatus
  DWORD arrived = 0;   // QS_ bits set since the last wait began
  std::uint64_t wakeSerial = 0;

  // Wakes the owner thread from its wait, recording what arrived. Caller holds no lock.
  void Signal(DWORD qsBits);

  // Owner thread only.
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  bool captureNonClient = false;
  std::vector<std::shared_ptr<SentMessage>> receiving;  // sent messages being handled, innermost last
  MSG current{};
  DWORD lastTime = 0;
  POINT lastPos{};
  LPARAM extraInfo = 0;
  BYTE keyState[256] = {};
  std::vector<HookRecord> hooks;
  int hookDepth = 0;
  UINT modalDepth = 0;
  bool altAlone = false;    // Alt went down and nothing else since
  HWND activating = nullptr;  // the window told WM_ACTIVATE by the activation under way
  bool f10Pending = false;
};

// The one lock of the window manager. Held only to read or change records, never while a window
// procedure, a hook or a callback runs.
std::recursive_mutex& Lock();
using Guard = std::lock_guard<std::recursive_mutex>;

// Handle table. Get returns null for a handle that is not (or no longer) a window.
Window* Get(HWND hwnd);
// Get, raising ERROR_INVALID_WINDOW_HANDLE for a handle that is no window.
Window* Checked(HWND hwnd);
// Get and Checked for a caller that holds Lock() already (as it must to use the record), which
// spares taking the lock again on the message paths.
Window* GetLocked(HWND hwnd);
Window* CheckedLocked(HWND hwnd);
HWND NewWindow(std::unique_ptr<Window> window);
void FreeWindow(HWND hwnd);
HWND Desktop();
// Every live window, in creation order.
std::vector<HWND> AllWindows();

// Classes.
std::shared_ptr<WindowClass> FindClass(LPCSTR name, HINSTANCE instance);

// Queues.
DWORD ThreadId();
const std::shared_ptr<ThreadQueue>& CurrentQueue();
std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId);
std::vector<std::shared_ptr<ThreadQueue>> AllQueues();
DWORD Now();
long ProcessId();

// Rectangle arithmetic without a device context.
inline void Offset(RECT& r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
}
inline bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Message core.
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// CallProc with the window's procedure already looked up: the hooks, then the procedure.
LRESULT CallProcWithHooks(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWndProcDirect(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Serves the messages other threads sent to the queue's windows; true when it served any.
bool ServeIncoming(ThreadQueue& q);
// Serial number of the queue's wake-ups; a wait started with it returns as soon as anything
// arrived after it was read.
std::uint64_t WakeSerial(ThreadQueue& q);
// Waits for an arrival after `serial`, at most timeoutMs (INFINITE: no limit) of real time.
void WaitSince(ThreadQueue& q, std::uint64_t serial, DWORD timeoutMs);
// Milliseconds until the thread's next timer is due (0: one is due), INFINITE when none.
// `raw`: the time on the tick count even when the virtual clock runs (which only a test moves).
DWORD NextTimerDelay(ThreadQueue& q, bool raw = false);
// Whether anything is waiting for the thread: sent, posted, input, paint or a due timer.
bool HasPending(ThreadQueue& q);
// Moves one raw input event to the queue of the thread it is for; false when none was waiting.
bool CookInput();
// Wakes every thread's queue (the clock moved, input arrived).
void WakeAll(DWORD qsBits);
LRESULT SendToThread(const std::shared_ptr<ThreadQueue>& target, HWND hwnd, UINT msg,
                     WPARAM wParam, LPARAM lParam, DWORD kind, DWORD timeoutMs, bool* timedOut,
                     SENDASYNCPROC callback = nullptr, ULONG_PTR data = 0);
constexpr UINT WM_SYSTIMER = 0x0118;
bool PeekCore(MSG* out, HWND filter, UINT min, UINT max, UINT flags);
void RemoveMessagesFor(HWND hwnd);

// Input (Input.cpp): the thread's key state follows the key messages it removes.
void UpdateKeyState(ThreadQueue& q, const MSG& msg);

// Hooks.
bool HasHook(int id);
LRESULT CallHooks(int id, int code, WPARAM wParam, LPARAM lParam);

// Tree helpers (lock held).
RECT ScreenRect(const Window& w, bool clientArea);
POINT ClientOrigin(HWND hwnd);
bool IsTopLevel(const Window& w);
HWND TopLevelOf(HWND hwnd);
bool VisibleOnScreen(HWND hwnd);
void Unlink(Window& w);
void LinkAt(Window& w, HWND parent, HWND insertAfter);

// Focus and activation (Focus.cpp).
void WindowDying(HWND hwnd);
bool ActivateWindow(HWND hwnd, bool mouse, bool setFocus);
// Whether the WM_ACTIVATE a window is handling comes from a real activation of it, not from a
// program that sent the message itself.
bool IsBeingActivated(HWND hwnd);

// MDI (MdiClient.cpp): the client class, children made by CreateWindowEx with WS_EX_MDICHILD,
// and where a minimised MDI child's icon goes (false for other windows).
void RegisterMdiClientClass();
bool CreatesMdiChild(DWORD exStyle, HWND parent);
bool MdiIconSlot(HWND child, POINT* slot);

// Painting (Paint.cpp).
bool NeedsPaint(const Window& w);
HWND FindPaintWindow(ThreadQueue& q, HWND filter);
// Where a window was before a move or resize: its window and client rectangles on the screen,
// whether it was visible, what of it and its children showed (surface coordinates; unknown for a
// top-level window), the part of that whose pixels may go along with it (none when they may not),
// and whether a child was already waiting to paint.
struct MovedFrom {
  RECT screen{};
  RECT clientScreen{};
  bool visible = true;
  std::optional<Region> shown;
  std::optional<Region> carried;
  bool waiting = false;
};
// Taken before the change; `carry` when a child's pixels may go along with it.
MovedFrom BeforeMove(HWND hwnd, bool carry);
// Invalidates what a move or resize leaves to paint, in the window and its parent.
void InvalidateAfterMove(HWND hwnd, const MovedFrom& before, bool redraw);
// Paints at once the frame and background a SetWindowPos with `flags` (as it went) left to paint.
void EraseAfterMove(HWND hwnd, const MovedFrom& before, UINT flags);

}  // namespace brambolt::wm
