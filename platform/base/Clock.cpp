// The real and the virtual clock behind GetTickCount, Sleep and the performance counter.
#include "base/Clock.h"

#include <time.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace brambolt {
namespace {

constexpr LONGLONG kCounterFrequency = 10000000;

struct ClockState {
  std::mutex mutex;
  bool enabled = false;
  ULONGLONG nowMs = 0;
  // Bumped by Enable and Disable so that bindings of an earlier session lapse.
  unsigned long long session = 0;
  int nextListenerId = 1;
  std::map<int, std::shared_ptr<VirtualClock::Listener>> listeners;
};

ClockState& State() {
  static ClockState state;
  return state;
}

thread_local unsigned long long t_boundSession = 0;

ULONGLONG RealNanoseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<ULONGLONG>(ts.tv_sec) * 1000000000ULL + static_cast<ULONGLONG>(ts.tv_nsec);
}

}  // namespace

void VirtualClock::Enable(ULONGLONG startMs) {
  ClockState& state = State();
  std::lock_guard lock(state.mutex);
  state.enabled = true;
  state.nowMs = startMs;
  t_boundSession = ++state.session;
}

void VirtualClock::Disable() {
  ClockState& state = State();
  std::lock_guard lock(state.mutex);
  state.enabled = false;
  ++state.session;
}

bool VirtualClock::IsEnabled() {
  ClockState& state = State();
  std::lock_guard lock(state.mutex);
  return state.enabled;
}

void VirtualClock::Advance(ULONGLONG milliseconds) {
  ClockState& state = State();
  ULONGLONG previous = 0;
  ULONGLONG now = 0;
  std::vector<std::shared_ptr<Listener>> listeners;
  {
    std::lock_guard lock(state.mutex);
    if (!state.enabled) return;
    previous = state.nowMs;
    now = state.nowMs += milliseconds;
    for (const auto& entry : state.listeners) listeners.push_back(entry.second);
  }
  for (const auto& listener : listeners) (*listener)(previous, now);
}

ULONGLONG VirtualClock::Now() {
  ClockState& state = State();
  std::lock_guard lock(state.mutex);
  return state.enabled ? state.nowMs : RealNanoseconds() / 1000000ULL;
}

void VirtualClock::BindCurrentThread() {
  ClockState& state = State();
  std::lock_guard lock(state.mutex);
  if (state.enabled) t_boundSession = state.session;
}

bool VirtualClock::IsCurrentThreadBound() {
  ClockState& state = State();
  std::lock_guard lock(state.mutex);
  return state.enabled && t_boundSession == state.session;
}

int VirtualClock::AddListener(Listener listener) {
  ClockState& state = State();
  std::lock_guard lock(state.mutex);
  int id = state.nextListenerId++;
  state.listeners.emplace(id, std::make_shared<Listener>(std::move(listener)));
  return id;
}

void VirtualClock::RemoveListener(int id) {
  ClockState& state = State();
  std::lock_guard lock(state.mutex);
  state.listeners.erase(id);
}

}  // namespace brambolt

ULONGLONG GetTickCount64() { return brambolt::VirtualClock::Now(); }

DWORD GetTickCount() { return static_cast<DWORD>(GetTickCount64()); }

DWORD timeGetTime() { return GetTickCount(); }

void Sleep(DWORD milliseconds) {
  if (brambolt::VirtualClock::IsCurrentThreadBound()) {
    brambolt::VirtualClock::Advance(milliseconds == INFINITE ? 0 : milliseconds);
    return;
  }
  if (milliseconds == 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (frequency == nullptr) return FALSE;
  frequency->QuadPart = brambolt::kCounterFrequency;
  return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (count == nullptr) return FALSE;
  if (brambolt::VirtualClock::IsEnabled())
    count->QuadPart = static_cast<LONGLONG>(brambolt::VirtualClock::Now()) * (brambolt::kCounterFrequency / 1000);
  else
    count->QuadPart = static_cast<LONGLONG>(brambolt::RealNanoseconds() / (1000000000 / brambolt::kCounterFrequency));
  return TRUE;
}
