// The dialog manager: dialogs from DIALOG/DIALOGEX templates (resources or memory), dialog units,
// DefDlgProc, modal loops and EndDialog, keyboard navigation (IsDialogMessage) and item helpers.
#pragma once

#include <cstddef>

#include "res/ResourceTypes.h"
#include "win/DialogControls.h"
#include "win/WinUser.h"

// Dialog styles
#define DS_ABSALIGN 0x0001L
#define DS_SYSMODAL 0x0002L
#define DS_3DLOOK 0x0004L
#define DS_FIXEDSYS 0x0008L
#define DS_NOFAILCREATE 0x0010L
#define DS_LOCALEDIT 0x0020L
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_NOIDLEMSG 0x0100L
#define DS_SETFOREGROUND 0x0200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

// Dialog messages
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DM_REPOSITION (WM_USER + 2)
#define DC_HASDEFID 0x534B


// The templates as they lie in memory: WORD-aligned, variable-length parts follow the headers.
#pragma pack(push, 2)
typedef struct {
  DWORD style;
  DWORD dwExtendedStyle;
  WORD cdit;
  short x;
  short y;
  short cx;
  short cy;
} DLGTEMPLATE, *LPDLGTEMPLATE, *LPDLGTEMPLATEA;
typedef const DLGTEMPLATE* LPCDLGTEMPLATE;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEA;

typedef struct {
  DWORD style;
  DWORD dwExtendedStyle;
  short x;
  short y;
  short cx;
  short cy;
  WORD id;
} DLGITEMTEMPLATE, *LPDLGITEMTEMPLATE;
#pragma pack(pop)

// The class name of dialogs made by the dialog manager.
#define BRAMBOLT_DIALOG_CLASS "#32770"

HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param);
HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM param);
inline HWND CreateDialog(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc) {
  return CreateDialogParam(instance, templateName, parent, proc, 0);
}
inline HWND CreateDialogIndirect(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc) {
  return CreateDialogIndirectParam(instance, dialogTemplate, parent, proc, 0);
}
// Modal dialogs: the owner is disabled while the dialog's loop runs; -1 when it cannot be made.
INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM param);
inline INT_PTR DialogBox(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc) {
  return DialogBoxParam(instance, templateName, parent, proc, 0);
}
inline INT_PTR DialogBoxIndirect(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc) {
  return DialogBoxIndirectParam(instance, dialogTemplate, parent, proc, 0);
}
// Ends a modal dialog: its loop returns `result` once the current message is handled. The window
// and its controls stay alive (hidden) until then.
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL IsDialogMessage(HWND dialog, LPMSG msg);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// Base units of the system font: LOWORD horizontal, HIWORD vertical.
LONG GetDialogBaseUnits();
// Dialog units to pixels with the dialog's font.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);

#define CreateDialogParamA CreateDialogParam
#define CreateDialogIndirectParamA CreateDialogIndirectParam
#define CreateDialogA CreateDialog
#define CreateDialogIndirectA CreateDialogIndirect
#define DialogBoxParamA DialogBoxParam
#define DialogBoxIndirectParamA DialogBoxIndirectParam
#define DialogBoxA DialogBox
#define DialogBoxIndirectA DialogBoxIndirect
#define DefDlgProcA DefDlgProc
#define IsDialogMessageA IsDialogMessage

namespace brambolt {

struct DialogTemplate;

// Dialog from a template already parsed (the message box builds its own this way).
HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent,
                              DLGPROC proc, LPARAM param);
// Runs the modal loop of a dialog made with CreateDialog*: disables `owner` (when enabled) for the
// time of the loop, shows the dialog (at once when asked, else once the messages of its creation
// are handled), and returns the EndDialog result, then destroys the dialog.
// What DialogBox does after creating; the framework's modal dialogs call it too.
INT_PTR RunModalDialog(HWND dialog, HWND owner, bool showAtOnce = false);
// While lent, a window that modal dialogs of this thread have as owner is not held disabled by
// them: EnableWindow enables it, and a modal dialog that starts meanwhile leaves it enabled. For
// a dialog that works on its owner's windows (a toolbar customise dialog). The dialogs enable the
// owner when they end either way. `lend` false holds it again.
void LendModalOwner(HWND owner, bool lend);
// True once EndDialog was called for the dialog; its result then goes to *result.
bool DialogEnded(HWND dialog, INT_PTR* result);

// Sends the controls of a dialog the messages of dialog-init data (RT_DLGINIT): list and combo
// strings. Returns false when the data is malformed (the messages before the fault are sent).
bool ExecuteDialogInit(HWND dialog, const void* data, std::size_t size);
// The same for the RT_DLGINIT resource of a dialog template name; true when there is none.
bool ExecuteDialogInitResource(HWND dialog, HINSTANCE instance, LPCSTR templateName);

// Base units (cx = average character width, cy = character height) of a font, the way the dialog
// manager measures them: (extent of "A..Za..z" / 26 + 1) / 2.
SIZE DialogBaseUnitsOf(HFONT font);

// Enter in a dialog away from a push button: the dialog's default button is pressed (IDOK when it
// has none), or a beep when that button is disabled. A page inside a dialog answers with the
// dialog around it. `needControl` (a control's own Enter, as a multi-line edit's) presses nothing
// when the default id names no control of the dialog; the dialog's own Enter sends that id.
void PressDialogDefault(HWND dialog, bool needControl = false);

// A push button of a dialog gained or lost the focus: it takes the default look while focused,
// and the dialog's default button takes it back when the focus goes elsewhere.
void DialogButtonFocusChanged(HWND button, bool gained);

}  // namespace brambolt
