// Input queued for a modal loop (a menu, help mode), which takes it itself: unlike the session's
// clicks and keys, nothing is run until idle here.
#pragma once

#include "afx/afx.h"
#include "win/Input.h"

inline void QueueClick(POINT screen) {
  brambolt::InjectMouseMove(screen);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, screen);
  brambolt::InjectMouseButton(WM_LBUTTONUP, screen);
}

inline void QueueKey(UINT vk) {
  brambolt::InjectKey(vk, true);
  brambolt::InjectKey(vk, false);
}
