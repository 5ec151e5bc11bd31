// Ids of the resources the control-object tests use.
#pragma once

#define IDR_WRAPPER_CLIP 460
#define IDD_TOOLTIP_DIALOG 461
#define IDC_TIP_BUTTON 1100
#define IDC_TIP_EDIT 1101
#define IDC_TIP_CHECK 1102
#define IDC_TIP_LONG 1103
