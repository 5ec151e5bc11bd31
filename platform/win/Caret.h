// The caret: one per thread, drawn by XOR into its window's surface and blinking on a timer
// (so on the test's virtual clock); hidden while its window paints.
#pragma once

#include "win/WinUser.h"

namespace brambolt::wm {

void HideCaretForPaint(HWND hwnd);
void ShowCaretAfterPaint(HWND hwnd);
// The caret's window dies: the caret goes with it.
void CaretWindowDying(HWND hwnd);

}  // namespace brambolt::wm

namespace brambolt {
// Whether the caret is drawn at this moment (tests of blinking read it).
bool IsCaretDrawn();
}  // namespace brambolt
