// The local modal loop and the observers told when one starts waiting.
#include "win/ModalLoop.h"

#include <map>
#include <mutex>
#include <vector>

#include "win/WindowManager.h"

namespace brambolt {
namespace {

struct Observers {
  std::mutex mutex;
  std::map<int, ModalLoopObserver> list;
  int next = 1;
};

Observers& TheObservers() {
  static Observers* o = new Observers;
  return *o;
}

void NotifyObservers(HWND window) {
  std::vector<ModalLoopObserver> copy;
  {
    Observers& o = TheObservers();
    std::lock_guard<std::mutex> lock(o.mutex);
    for (auto& [id, f] : o.list) copy.push_back(f);
  }
  for (auto& f : copy)
    if (IsWindow(window)) f(window);
}

}  // namespace

int AddModalLoopObserver(ModalLoopObserver observer) {
  Observers& o = TheObservers();
  std::lock_guard<std::mutex> lock(o.mutex);
  int id = o.next++;
  o.list[id] = std::move(observer);
  return id;
}

void RemoveModalLoopObserver(int id) {
  Observers& o = TheObservers();
  std::lock_guard<std::mutex> lock(o.mutex);
  o.list.erase(id);
}

DWORD ThreadTimerDelay() { return wm::NextTimerDelay(*wm::CurrentQueue(), true); }

namespace {
thread_local IdleWaitHook t_idleHook;
thread_local std::vector<LoopFilter> t_loopFilters;
}  // namespace

ScopedLoopFilter::ScopedLoopFilter(LoopFilter filter) { t_loopFilters.push_back(std::move(filter)); }
ScopedLoopFilter::~ScopedLoopFilter() { t_loopFilters.pop_back(); }

bool ApplyLoopFilter(MSG& msg) {
  if (t_loopFilters.empty() || !t_loopFilters.back()) return false;
  LoopFilter filter = t_loopFilters.back();  // the filter may run a loop of its own
  return filter(msg);
}

void SetIdleWaitHook(IdleWaitHook hook) { t_idleHook = std::move(hook); }

bool RunIdleWaitHook() {
  if (!t_idleHook) return false;
  IdleWaitHook hook = t_idleHook;
  return hook();
}

int ModalLoopDepth() { return static_cast<int>(wm::CurrentQueue()->modalDepth); }

bool RunModalLoop(HWND window, const ModalLoopOptions& options) {
  wm::ThreadQueue& q = *wm::CurrentQueue();
  q.modalDepth++;
  ScopedLoopFilter filter([&options](MSG& msg) {
    return CallMsgFilter(&msg, options.filterCode) || (options.preTranslate && options.preTranslate(msg));
  });
  bool emptied = false, announced = false, quit = false;
  auto finished = [&]() { return !IsWindow(window) || (options.done && options.done()); };
  while (!finished()) {
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!emptied) {
        emptied = true;
        if (options.onFirstEmpty) {
          options.onFirstEmpty();
          continue;
        }
      }
      if (!announced) {
        announced = true;
        NotifyObservers(window);
        continue;
      }
      if (options.onIdle) options.onIdle();
      if (options.idleOwner && IsWindow(options.idleOwner) && !finished())
        SendMessage(options.idleOwner, WM_ENTERIDLE, static_cast<WPARAM>(options.filterCode),
                    reinterpret_cast<LPARAM>(window));
      if (finished()) break;
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      quit = true;
      break;
    }
    if (!ApplyLoopFilter(msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    const bool timer = msg.message == WM_TIMER || msg.message == wm::WM_SYSTIMER;
    if (timer && options.onTimerHandled) options.onTimerHandled();
  }
  q.modalDepth--;
  return !quit;
}

}  // namespace brambolt
