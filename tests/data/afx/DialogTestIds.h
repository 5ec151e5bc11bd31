// Ids of the dialogs and controls the framework's dialog tests use.
#pragma once

#define IDD_DATA_DIALOG 400
#define IDD_CHILD_DIALOG 401
#define IDC_NAME 1000
#define IDC_COUNT 1001
#define IDC_RATIO 1002
#define IDC_ENABLED 1003
#define IDC_ALPHA 1004
#define IDC_BETA 1005
#define IDC_GAMMA 1006
#define IDC_COLOUR 1007
#define IDC_SHAPE 1008
#define IDC_FRUIT 1009
#define IDC_APPLY 1010
#define IDC_CHILD_EDIT 1011
