// What the common dialogs share: items of the templates they build, and folders on disk.
#pragma once

#include <string>

#include "res/ResourceTemplates.h"
#include "win/WinUser.h"

namespace brambolt::ctl {

// A visible child item of a built-in template, in dialog units.
DialogItemTemplate DialogItem(const char* cls, const char* text, DWORD style, short x, short y, short cx, short cy,
                              int id);
// The dialog procedure of a dialog run by an object: WM_INITDIALOG's parameter is the object, kept
// in DWLP_USER, whose Proc member answers every message.
template <class Dialog>
INT_PTR CALLBACK ObjectDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) SetWindowLongPtr(hwnd, DWLP_USER, lParam);
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtr(hwnd, DWLP_USER));
  return self ? self->Proc(hwnd, msg, wParam, lParam) : FALSE;
}

// The frame of a built-in common dialog: a centred modal popup in MS Sans Serif 8, no items yet.
DialogTemplate CommonDialogFrame(const char* title, short cx, short cy);
// An existing folder's path in the system's spelling, without a trailing separator; empty when
// `path` names no folder.
std::string ExistingFolder(const std::string& path);
// A folder and a name joined with one separator.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace brambolt::ctl
