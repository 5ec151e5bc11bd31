// System metrics as the window manager reads them, and the menu bar's share of the non-client area.
#pragma once

#include "gdi/SysColors.h"

namespace brambolt::wm {

struct Window;

inline int Metric(int index) { return GetSystemMetrics(index); }
// Height of the menu bar of a top-level window whose menu is set (0 without the menu module).
int MenuBarHeight(const Window& w);

}  // namespace brambolt::wm
