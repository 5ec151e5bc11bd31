// What the framework smoke programs under X11 share: starting on the X11 backend, telling the
// driving script a screen point, and the frame's message loop until a timer posts the exit code.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>

#include "afx/afx.h"
#include "backend/backend.h"
#include "controls/controls.h"

namespace smoke {

// The X11 backend from the environment with the standard controls; null, with a line on stderr,
// where there is no X display.
inline std::shared_ptr<brambolt::Backend> StartOnX11(const char* program) {
  std::shared_ptr<brambolt::Backend> backend = brambolt::InstallBackendFromEnvironment();
  if (std::strcmp(backend->Name(), "x11") != 0) {
    std::fprintf(stderr, "%s: no X display\n", program);
    return nullptr;
  }
  brambolt::RegisterStandardControls();
  return backend;
}

inline void Say(const char* what, POINT p) {
  std::printf("%s %ld %ld\n", what, static_cast<long>(p.x), static_cast<long>(p.y));
  std::fflush(stdout);
}

// Handles what is waiting, so the frame is laid out and shown before points are said.
inline void Settle() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}

// Says READY, starts the frame's watch timer (every 100 ms) and guard timer (a minute), and runs
// the loop until a quit message: its code.
inline int Run(CWnd* frame, UINT_PTR watchTimer, UINT_PTR guardTimer) {
  std::printf("READY\n");
  std::fflush(stdout);
  frame->SetTimer(watchTimer, 100, nullptr);
  frame->SetTimer(guardTimer, 60000, nullptr);
  MSG msg;
  for (;;) {
    BOOL r = ::GetMessage(&msg, nullptr, 0, 0);
    if (r == 0) return static_cast<int>(msg.wParam);
    if (CWnd::WalkPreTranslateTree(frame->m_hWnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}

}  // namespace smoke
