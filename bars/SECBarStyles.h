// The toolkit bars' shared vocabulary: the extended bar style bits (each with the meaning the
// docking code and the command bars give it), command, message, string and tool ids, and the
// process-wide switch that keeps bars from redrawing while their dock bars lay them out.
#pragma once

#include "base/base.h"

// Extended bar style bits of SECControlBar (one 32-bit word beside the CBRS_ style). The command
// bars read some bits under a second name; both meanings hold on the same word.
// Right-click menu with "Allow Docking" and "Hide".
constexpr DWORD CBRS_EX_STDCONTEXTMENU = 0x0001;
// Several children, each moved in proportion when the bar is sized.
constexpr DWORD CBRS_EX_ALLOW_MULTIPLE_CHILDREN = 0x0002;
// Sized in one dimension only (toolbar-like): thin floating frame, no row share.
constexpr DWORD CBRS_EX_STRETCH_ONE_DIMENSION = 0x0004;
// Borders in the 3-D colours (shadow, highlight); set on every bar of a toolbar-only row.
constexpr DWORD CBRS_EX_BORDER_3D = 0x0008;
// The child area is inset by the bar's inner margins.
constexpr DWORD CBRS_EX_INNER_MARGINS = 0x0010;
// May float inside the main window ("Float In Main Window").
constexpr DWORD CBRS_EX_ALLOW_MDI_FLOAT = 0x0020;
// The first child window fills the inside area.
constexpr DWORD CBRS_EX_FIT_FIRST_CHILD = 0x0040;
// Takes a dock row of its own; the command bars read it as "rebar band".
constexpr DWORD CBRS_EX_OWN_ROW = 0x0080;
// Thin one-pixel borders with the gripper drawn by the border code; the command bars read it as
// "cool look".
constexpr DWORD CBRS_EX_THIN_BORDERS = 0x0100;
// A gripper along the leading edge of a docked bar; to the command bars also two more pixels of
// gripper extent.
constexpr DWORD CBRS_EX_GRIPPER = 0x0200;
// A close button on the gripper.
constexpr DWORD CBRS_EX_GRIPPER_CLOSE = 0x0400;
// An expand/contract button on the gripper.
constexpr DWORD CBRS_EX_GRIPPER_EXPAND = 0x0800;
// Read by the command bars only (their own flat-look option); no docking behaviour hangs on it.
constexpr DWORD CBRS_EX_COMMANDBAR_EXTRA = 0x1000;

// Commands of a bar's right-click menu.
constexpr UINT ID_SEC_ALLOWDOCKING = 43040;  // "Allow Docking"
constexpr UINT ID_SEC_HIDE = 43041;          // "Hide"
constexpr UINT ID_SEC_MDIFLOAT = 43042;      // "Float In Main Window"

// Sent to the docking frame before a bar's context menu shows: wParam the bar, lParam the CMenu.
constexpr UINT WM_SEC_EXTENDCONTEXTMENU = 0x38FF;

// Strings.
constexpr UINT IDS_SEC_DRAGHINT = 20535;       // "Press the Ctrl key to prevent docking."
constexpr UINT IDS_SEC_HIDEBAR = 20655;        // "Hide docked window"
constexpr UINT IDS_SEC_EXPANDBAR = 20657;      // "Expand docked window"
constexpr UINT IDS_SEC_CONTRACTBAR = 20658;    // "Contract docked window"

// Tool ids of the gripper's buttons in tool tips.
constexpr UINT SEC_TOOLID_CLOSE = 1024;
constexpr UINT SEC_TOOLID_EXPAND = 2048;

// The three dock sizes of a new bar.
constexpr int SEC_DEFAULT_BAR_CX = 300;
constexpr int SEC_DEFAULT_BAR_CY = 180;

// The process-wide redraw-suppression switch (starts at 1). While a dock bar answers
// WM_SIZEPARENT it takes that dock bar's own value; bars move their children without redrawing
// while it is above 0. User-interface thread only.
int& SECRedrawSuppression();
