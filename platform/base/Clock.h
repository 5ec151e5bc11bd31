// Tick count, Sleep and the performance counter, and the virtual clock that tests drive.
#pragma once

#include <functional>

#include "base/WinTypes.h"

// Milliseconds since an arbitrary start; the 32-bit form wraps after 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
DWORD timeGetTime();
void Sleep(DWORD milliseconds);
// The counter runs at a fixed 10 MHz.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

namespace brambolt {

// While enabled, the tick count and the performance counter stand still until a test advances
// them. Sleep on a thread bound to the clock (the thread that enabled it, and any that called
// BindCurrentThread) advances the clock by the time asked instead of sleeping; other threads
// sleep in real time (Sleep(INFINITE) on a bound thread returns at once rather than hang the
// test). Listeners learn of every advance, on the advancing thread and outside any
// lock; the window manager serves its timers from them.
class VirtualClock {
 public:
  using Listener = std::function<void(ULONGLONG previousMs, ULONGLONG nowMs)>;

  static constexpr ULONGLONG kDefaultStartMs = 1000000;

  static void Enable(ULONGLONG startMs = kDefaultStartMs);
  static void Disable();
  static bool IsEnabled();
  // Moves the clock forward and tells the listeners; does nothing while the clock is disabled.
  static void Advance(ULONGLONG milliseconds);
  static ULONGLONG Now();
  static void BindCurrentThread();
  static bool IsCurrentThreadBound();

  // Returns an id for RemoveListener. A listener removed while another thread is calling it
  // may still finish that call.
  static int AddListener(Listener listener);
  static void RemoveListener(int id);
};

// Enables the virtual clock for its lifetime.
class ScopedVirtualClock {
 public:
  explicit ScopedVirtualClock(ULONGLONG startMs = VirtualClock::kDefaultStartMs) { VirtualClock::Enable(startMs); }
  ~ScopedVirtualClock() { VirtualClock::Disable(); }
  ScopedVirtualClock(const ScopedVirtualClock&) = delete;
  ScopedVirtualClock& operator=(const ScopedVirtualClock&) = delete;
};

}  // namespace brambolt
