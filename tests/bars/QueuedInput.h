// Input queued for a modal loop (a menu, help mode), which takes it itself: unlike the session's
// clicks and keys, nothing is run until idle here.
#pragma once

#include "afx/afx.h"
#include "testing/testing.h"
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

// A press at `from` that starts a tracking loop (a frame's sizing by its edge), a move by the
// loop to `to` and the release there.
inline void DragInTrackingLoop(POINT from, POINT to) {
  brambolt::test::UiScript script;
  script.Then([&] {
    brambolt::InjectMouseMove(POINT{from.x + (to.x < from.x ? -10 : 10), from.y});
    brambolt::InjectMouseMove(to);
    brambolt::InjectMouseButton(WM_LBUTTONUP, to);
  });
  brambolt::InjectMouseMove(from);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, from);
  brambolt::test::RunUntilIdle();
}
