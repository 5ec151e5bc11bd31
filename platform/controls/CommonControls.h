// Registration of the common control classes (animation, progress, up-down, hot-key, tooltip,
// tab, header, list-view, extended combo box), done when the program starts.
#pragma once

#include <string>

#include "win/WinUser.h"

namespace brambolt::ctl {

// Registers every common control class that is not registered yet.
void RegisterCommonControlClasses();

void RegisterAnimationClass();
void RegisterProgressClass();
void RegisterStatusBarClass();
void RegisterUpDownClass();
void RegisterHotKeyClass();
void RegisterToolTipClass();
void RegisterTabClass();
void RegisterHeaderClass();
void RegisterListViewClass();
void RegisterComboBoxExClass();

// A control that watches another window's messages (the up-down its buddy's arrow keys, the
// tooltip its tools' mouse) subclasses it through this: the watcher sees each message first and
// returns true when it took it (its answer in *result). Watches end with either window.
using MessageWatcher = bool (*)(HWND watcher, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
void WatchWindow(HWND hwnd, HWND watcher, MessageWatcher watch);
void UnwatchWindow(HWND hwnd, HWND watcher);

// The text a hot-key control shows for a key and its HOTKEYF_ modifiers ("Ctrl + Shift + A";
// "None" for nothing).
std::string HotKeyText(BYTE vk, BYTE modifiers);

}  // namespace brambolt::ctl
