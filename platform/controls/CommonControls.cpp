// Registration of the common control classes at program start, and InitCommonControls(Ex).
#include "controls/CommonControls.h"

#include <algorithm>
#include <map>
#include <vector>

#include "controls/CommCtrl.h"

namespace brambolt::ctl {
namespace {

struct Watched {
  WNDPROC previous;
  std::vector<std::pair<HWND, MessageWatcher>> watchers;
};
// Windows belong to their thread, and so does this table.
thread_local std::map<HWND, Watched> watchedWindows;

LRESULT CALLBACK WatchedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = watchedWindows.find(hwnd);
  if (it == watchedWindows.end()) return DefWindowProc(hwnd, msg, wParam, lParam);
  WNDPROC previous = it->second.previous;
  if (msg == WM_NCDESTROY) {
    watchedWindows.erase(it);
    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return CallWindowProc(previous, hwnd, msg, wParam, lParam);
  }
  std::vector<std::pair<HWND, MessageWatcher>> watchers = it->second.watchers;  // a watcher may unwatch
  for (auto& [watcher, watch] : watchers) {
    LRESULT result = 0;
    if (IsWindow(watcher) && watch(watcher, hwnd, msg, wParam, lParam, &result)) return result;
  }
  return CallWindowProc(previous, hwnd, msg, wParam, lParam);
}

}  // namespace

void WatchWindow(HWND hwnd, HWND watcher, MessageWatcher watch) {
  if (!IsWindow(hwnd)) return;
  auto it = watchedWindows.find(hwnd);
  if (it == watchedWindows.end()) {
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_WNDPROC));
    it = watchedWindows.emplace(hwnd, Watched{previous, {}}).first;
    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedProc));
  }
  auto& list = it->second.watchers;
  if (std::find_if(list.begin(), list.end(), [&](const auto& w) { return w.first == watcher; }) == list.end())
    list.emplace_back(watcher, watch);
}

void UnwatchWindow(HWND hwnd, HWND watcher) {
  auto it = watchedWindows.find(hwnd);
  if (it == watchedWindows.end()) return;
  auto& list = it->second.watchers;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const auto& w) { return w.first == watcher; }), list.end());
  // Unhook only while nobody subclassed over us; otherwise stay in the chain, passing through.
  if (list.empty() && GetWindowLongPtr(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WatchedProc)) {
    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
    watchedWindows.erase(it);
  }
}

void RegisterCommonControlClasses() {
  RegisterAnimationClass();
  RegisterProgressClass();
  RegisterStatusBarClass();
  RegisterUpDownClass();
  RegisterHotKeyClass();
  RegisterToolTipClass();
  RegisterTabClass();
  RegisterHeaderClass();
  RegisterListViewClass();
  RegisterComboBoxExClass();
}

}  // namespace brambolt::ctl

void InitCommonControls() { brambolt::ctl::RegisterCommonControlClasses(); }

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) {
  if (icc == nullptr || icc->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  brambolt::ctl::RegisterCommonControlClasses();
  return TRUE;
}

// Programs that link the controls module keep this object (the library asks the linker for the
// symbol), so the classes exist before main, as the standard controls do.
extern "C" {
extern const bool brambolt_common_controls_registered;
const bool brambolt_common_controls_registered = (brambolt::ctl::RegisterCommonControlClasses(), true);
}
