// What the additional controls' tests share: a visible framework window to put controls in.
#pragma once

#include "afx/afx.h"

namespace extracontrols_test {

class Host : public CWnd {
 public:
  explicit Host(int cx = 400, int cy = 400) {
    CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr);
  }
  ~Host() override {
    if (m_hWnd != nullptr) DestroyWindow();
  }
};

}  // namespace extracontrols_test
