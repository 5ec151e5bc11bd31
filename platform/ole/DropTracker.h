// Inside the drag and drop of this module: the drop target under a drag, for this program's
// drags (DoDragDrop) and for drags that other programs bring in (the X11 backend's XDND).
#pragma once

#include <optional>

#include "backend/DropFiles.h"
#include "ole/OleIdl.h"

namespace brambolt::ole {

// Enters, moves over, leaves and drops on the registered target under the drag; windows that
// accept files (DragAcceptFiles) take a dragged file list; beyond the program's windows the
// backend's foreign drag source takes the drag to other programs. A target whose window is
// destroyed meanwhile is forgotten, never called again.
class DropTracker {
 public:
  DropTracker(LPDATAOBJECT data, DWORD allowed);
  // The drag is at a screen point with `keys` (MK_ bits): the effect the target there answers.
  DWORD Move(POINT point, DWORD keys);
  void Leave();
  // Drops at the last point with `keys` held: the effect the drop had, DROPEFFECT_NONE when the
  // target refused it or none was there.
  DWORD Drop(DWORD keys);

 private:
  HWND TargetWindow(LPDROPTARGET* target) const;
  LPDROPTARGET Current() const;
  void LeaveOwn();
  void LeaveForeign();

  LPDATAOBJECT data_;
  DWORD allowed_;
  POINT point_{};
  DWORD keys_ = 0;
  HWND targetWindow_ = nullptr;
  LPDROPTARGET target_ = nullptr;
  HWND fileWindow_ = nullptr;
  DWORD effect_ = DROPEFFECT_NONE;
  bool foreign_ = false;               // over another program's window
  std::optional<OutgoingDrag> offer_;  // what the drag offers there, read once
};

// Called when the first drop target is registered: drags from other programs reach the targets.
void InstallForeignDropTargets();

}  // namespace brambolt::ole
