// What the control-object tests share: a session with a visible top-level host window for the
// controls, and a window's text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "afx/afx.h"
#include "testing/testing.h"
#include "win/Input.h"

namespace brambolt::test {

inline std::string Text(HWND hWnd) {
  char buffer[512] = {};
  ::GetWindowText(hWnd, buffer, sizeof(buffer));
  return buffer;
}

// Takes every queued message through the windows' pre-translation up to `top`, as the thread's
// pump does, until no input is left.
inline void PumpThroughPreTranslate(HWND top) {
  MSG msg;
  for (;;) {
    if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (brambolt::PendingInputEvents() == 0) break;
      continue;
    }
    if (CWnd::WalkPreTranslateTree(top, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}

class HostedControls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400,
                              nullptr, nullptr));
  }
  // A control's place in the host, 200 pixels wide.
  static CRect At(int top, int height = 24) { return CRect(10, top, 210, top + height); }

  UiSession session;
  CWnd host;
};

}  // namespace brambolt::test
