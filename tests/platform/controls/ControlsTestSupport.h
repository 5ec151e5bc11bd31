// Shared by the control tests: a message pump that lets a dialog see its keys (IsDialogMessage),
// key presses through it, and a dialog procedure that records the commands it receives.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/controls.h"
#include "testing/UiTest.h"
#include "ControlsTest.h"

namespace ctltest {

// Dispatches everything waiting, offering each message to `dialog` first.
void PumpDialog(HWND dialog);
// A key (with modifiers) typed while `dialog` runs its keyboard navigation.
void DialogKey(HWND dialog, UINT vk, UINT mods = brambolt::test::kNone);
// Characters typed while `dialog` runs its keyboard navigation.
void DialogType(HWND dialog, const std::string& text);

// An image list of 16 by 16 images, one per colour, each a solid square of it.
HIMAGELIST SolidImages(std::initializer_list<COLORREF> colours);

struct Command {
  int id;
  int code;
};

// A dialog procedure that records WM_COMMAND and ends the dialog on IDOK and IDCANCEL.
class RecordingDialog {
 public:
  static INT_PTR CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  static std::vector<Command>& Commands();
  // What WM_INITDIALOG answers (TRUE: the dialog manager sets the focus).
  static BOOL& InitAnswer();
  static int& FocusIdInInit();  // the control given the focus in WM_INITDIALOG (0: none)
  // Forgets the commands and restores the answers above to TRUE and 0.
  static void Reset();
};

// A top-level parent that answers the owner-draw questions (item heights 16 + the item data,
// order by item data) and records what it was asked and told. One at a time per thread.
class OwnerParent {
 public:
  OwnerParent();
  ~OwnerParent();
  OwnerParent(const OwnerParent&) = delete;
  OwnerParent& operator=(const OwnerParent&) = delete;
  HWND Hwnd() const { return hwnd_; }

  std::vector<DRAWITEMSTRUCT> drawn;
  std::vector<UINT> measured;  // item ids asked for
  std::vector<ULONG_PTR> deleted;
  std::vector<UINT> commands;  // notification codes
  std::vector<UINT> notified;  // WM_NOTIFY codes
  int compares = 0;

 private:
  static OwnerParent*& Self();
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
};

// The text of a window.
std::string Text(HWND hwnd);
// The client rectangle of a control in its parent's client coordinates.
RECT RectInParent(HWND control);

}  // namespace ctltest
