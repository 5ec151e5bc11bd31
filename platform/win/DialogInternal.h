// What the parts of the dialog manager share: the state kept for each dialog window.
#pragma once

#include <memory>

#include "win/Dialog.h"

namespace brambolt::dlg {

struct DialogState {
  HFONT font = nullptr;
  bool ownsFont = false;
  SIZE base{};                 // dialog base units of the font
  HWND savedFocus = nullptr;   // the control that gets the focus back on activation
  UINT defId = 0;              // DM_SETDEFID, or the template's BS_DEFPUSHBUTTON
  bool ended = false;
  INT_PTR result = 0;
  HWND disabledOwner = nullptr;  // enabled again when the modal dialog ends
  bool modal = false;            // run by RunModalDialog
  HWND modalOwner = nullptr;     // the owner its modal loop keeps disabled
};

// The state of a dialog made by the dialog manager; null for any other window.
std::shared_ptr<DialogState> StateOf(HWND dialog);
// The nearest window from `hwnd` up that is a dialog (hwnd itself included).
HWND DialogOf(HWND hwnd);

// Moves the focus to a control; an edit gets its whole text selected first.
void SetDialogFocus(HWND control);
// Makes `id` the default button and gives the buttons their look.
void SetDefaultId(HWND dialog, UINT id);
// The WM_NEXTDLGCTL handling.
void NextDialogControl(HWND dialog, WPARAM wParam, LPARAM lParam);
// The first control the focus goes to when nothing else decides.
HWND FirstFocusControl(HWND dialog);
// True when `owner` is the owner of a modal dialog whose loop runs on this thread: it is to stay
// disabled, and the dialog takes over enabling it when it ends.
bool HoldOwnerDisabled(HWND owner);
// True while `owner` is lent (LendModalOwner).
bool IsOwnerLent(HWND owner);

}  // namespace brambolt::dlg
