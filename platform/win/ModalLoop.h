// The local modal loop every modal state is built on (dialogs, message boxes, menus, tracking):
// it serves sent messages, runs WH_MSGFILTER, reposts WM_QUIT, and ends when its window dies.
#pragma once

#include <functional>

#include "win/WinUser.h"

namespace brambolt {

struct ModalLoopOptions {
  int filterCode = MSGF_DIALOGBOX;  // code given to WH_MSGFILTER hooks
  HWND idleOwner = nullptr;         // receives WM_ENTERIDLE(filterCode, window) when idle
  // Sees each message first; true when it handled it (it is then not dispatched).
  std::function<bool(MSG&)> preTranslate;
  // Called the first time the queue runs dry, before the loop is announced to the observers;
  // what it causes (a window shown and painted) is handled first.
  std::function<void()> onFirstEmpty;
  // Called after each WM_TIMER or WM_SYSTIMER the loop has handled (a queue kept busy by a timer
  // never runs dry).
  std::function<void()> onTimerHandled;
  // Called each time the queue runs dry, before waiting.
  std::function<void()> onIdle;
  // Ends the loop when it returns true (checked after every message and before waiting).
  std::function<bool()> done;
};

// Runs the loop until `window` is destroyed or options.done() holds; a WM_QUIT ends it too and is
// posted again for the loop outside. Returns false when WM_QUIT ended it.
bool RunModalLoop(HWND window, const ModalLoopOptions& options);

// Told, on the loop's thread, the first time a modal loop for a window has nothing left to do
// (its window is created, shown and painted): the test harness answers dialogs from here.
using ModalLoopObserver = std::function<void(HWND window)>;
int AddModalLoopObserver(ModalLoopObserver observer);
void RemoveModalLoopObserver(int id);

// Milliseconds until the calling thread's next timer falls due on the tick count (0: one is due),
// INFINITE without timers.
DWORD ThreadTimerDelay();

// Called on the calling thread when a message wait (GetMessage, WaitMessage, and so every modal
// or tracking loop) would block with nothing to do; it returns true when it made something happen
// (a test script injecting the next input or moving the clock). Null removes it.
using IdleWaitHook = std::function<bool()>;
void SetIdleWaitHook(IdleWaitHook hook);
bool RunIdleWaitHook();

// The message filter of the innermost message loop running on the calling thread (a modal loop's
// WH_MSGFILTER call and preTranslate, the application's PreTranslateMessage). A pump that runs
// inside such a loop (the test harness dispatching injected input from a loop's idle wait) applies
// it, so a message is filtered exactly as the loop that would have received it filters it.
using LoopFilter = std::function<bool(MSG&)>;
class ScopedLoopFilter {
 public:
  explicit ScopedLoopFilter(LoopFilter filter);
  ~ScopedLoopFilter();
  ScopedLoopFilter(const ScopedLoopFilter&) = delete;
  ScopedLoopFilter& operator=(const ScopedLoopFilter&) = delete;
};
// True when the innermost loop's filter handled the message (it is then not dispatched).
bool ApplyLoopFilter(MSG& msg);

// Number of modal loops running on the calling thread.
int ModalLoopDepth();

}  // namespace brambolt
