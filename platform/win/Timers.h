// Internal timers of the window manager (caret blink, scroll-bar repeat): delivered as
// WM_SYSTIMER, so they never collide with the application's timer ids on the same window.
#pragma once

#include "win/WinUser.h"

namespace brambolt::wm {

UINT_PTR SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillSystemTimer(HWND hwnd, UINT_PTR id);

}  // namespace brambolt::wm
