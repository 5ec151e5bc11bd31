// The Help button of the toolkit's dialogs: the application's help on the dialog, under the help
// context of the dialog's template (as the framework gives a dialog's help).
#pragma once

#include "afx/afx.h"

inline void SECShowDialogHelp(UINT nIDTemplate) {
  if (CWinApp* pApp = AfxGetApp()) pApp->WinHelp(HID_BASE_RESOURCE + nIDTemplate, HELP_CONTEXT);
}
