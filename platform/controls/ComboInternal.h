// Private messages between a combo box and its list.
#pragma once

#include "base/WinTypes.h"
#include "win/WinMessages.h"

namespace brambolt::ctl {

// To the list: capture the mouse for the drop-down (wParam: the button is still down).
constexpr UINT kComboListTrack = WM_USER + 0x7B01;
// To the list: stop tracking the mouse.
constexpr UINT kComboListStopTrack = WM_USER + 0x7B02;
// To the list: move the selection as key wParam does; returns the selection.
constexpr UINT kComboListKey = WM_USER + 0x7B03;
// To the combo box: item wParam was chosen in the dropped list.
constexpr UINT kComboListChosen = WM_USER + 0x7B10;
// To the combo box: the dropped list closes without a choice.
constexpr UINT kComboListCancel = WM_USER + 0x7B11;

}  // namespace brambolt::ctl
