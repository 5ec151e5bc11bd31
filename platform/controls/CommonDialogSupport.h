// What the common dialogs share: items of the templates they build, and folders on disk.
#pragma once

#include <optional>
#include <string>

#include "controls/FileDialog.h"
#include "res/ResourceTemplates.h"
#include "win/Dialog.h"
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

// Creates a dialog run by an object (see ObjectDialogProc) and runs its modal loop: the EndDialog
// result, or -1 with *error CDERR_DIALOGFAILURE when it cannot be made.
template <class Dialog>
INT_PTR RunObjectDialog(const DialogTemplate& tmpl, HINSTANCE instance, HWND owner, Dialog* dialog, DWORD* error) {
  HWND hwnd =
      CreateDialogFromTemplate(instance, tmpl, owner, ObjectDialogProc<Dialog>, reinterpret_cast<LPARAM>(dialog));
  if (hwnd == nullptr) {
    *error = CDERR_DIALOGFAILURE;
    return -1;
  }
  return RunModalDialog(hwnd, owner);
}
// A caller's hook, as every common dialog calls it: true when it handled the message (answered
// non-zero), its answer in *result. Null hooks handle nothing.
template <class Hook>
bool CallDialogHook(Hook hook, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  if (!hook) return false;
  *result = static_cast<INT_PTR>(hook(hwnd, msg, wParam, lParam));
  return *result != 0;
}

// Records a common dialog's extended error and answers FALSE, as the dialog function returns.
inline BOOL CommDlgFailure(DWORD error) {
  SetCommDlgError(error);
  return FALSE;
}

// The frame of a built-in common dialog: a centred modal popup in MS Sans Serif 8, no items yet.
DialogTemplate CommonDialogFrame(const char* title, short cx, short cy);
// The template a caller gives a common dialog: a DLGTEMPLATE in the global block `memory` when
// it is set, else the RT_DIALOG resource `name` of `instance`. On failure *error is
// CDERR_FINDRESFAILURE (no such resource), CDERR_MEMLOCKFAILURE (a dead block) or
// CDERR_LOADRESFAILURE (malformed).
std::optional<DialogTemplate> CallerTemplate(HINSTANCE instance, LPCSTR name, HGLOBAL memory, DWORD* error);
// The template a dialog runs: the caller's block when `byHandle`, its resource when `byName`
// (CDERR_NOTEMPLATE when the block or name is missing), else `builtIn`.
std::optional<DialogTemplate> ChooseDialogTemplate(bool byHandle, HGLOBAL memory, bool byName, HINSTANCE instance,
                                                   LPCSTR name, DialogTemplate (*builtIn)(), DWORD* error);
// An existing folder's full path as found on disk, spelled as the program spells names ('/'
// separators, no trailing one); empty when `path` names no folder.
std::string ExistingFolder(const std::string& path);
// A folder and a name joined with one separator.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace brambolt::ctl
