// What the common-dialog tests share: reading a dialog's list box and pressing its buttons.
#pragma once

#include <string>
#include <vector>

#include "ControlsTestSupport.h"

namespace ctltest {

inline std::vector<std::string> ListLines(HWND dialog, int id) {
  HWND list = GetDlgItem(dialog, id);
  std::vector<std::string> lines;
  for (int i = 0; i < SendMessage(list, LB_GETCOUNT, 0, 0); ++i) {
    char text[MAX_PATH] = {};
    SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    lines.push_back(text);
  }
  return lines;
}

// A click in the middle of a dialog's button.
inline void PressButton(HWND dialog, int id) {
  HWND b = GetDlgItem(dialog, id);
  RECT r;
  GetClientRect(b, &r);
  brambolt::test::Click(b, POINT{r.right / 2, r.bottom / 2});
}

}  // namespace ctltest
