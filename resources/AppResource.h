// Numbers of the application shell's own dialogs, controls and messages: the problem report.
// Shared by the resource script and the code.
#pragma once

#define IDD_BUGREPORT 134

// The component row picture, 25 by 14 pixels; its top-left colour is transparent.
#define IDB_ROW_PICTURE 146

#define IDC_BUG_TYPE 1026
#define IDC_BUG_DESCRIPTION 1030
#define IDC_BUG_EMAIL 1036
#define IDC_BUG_SEP_ENVIRONMENT 1037
#define IDC_BUG_FAQ_LINK 1040
#define IDC_BUG_NAME 1044
#define IDC_BUG_SEP_PROBLEM 1198
#define IDC_BUG_REPEAT 1208
#define IDC_BUG_PRIORITY 1210
#define IDC_BUG_STATUS 1213
#define IDC_BUG_SEP_SUBMITTER 1214
#define IDC_BUG_SYNOPSIS 1215
#define IDC_BUG_ENVIRONMENT 1216
#define IDC_BUG_VERSION 1223

#define IDS_BUG_DEFAULT_TYPE 135
#define IDS_BUG_DEFAULT_PRIORITY 136
#define IDS_BUG_NEED_NAME 137
#define IDS_BUG_NEED_EMAIL 138
#define IDS_BUG_NEED_SYNOPSIS 139
#define IDS_BUG_NEED_DESCRIPTION 140
#define IDS_BUG_CONNECTING 141
#define IDS_BUG_CONNECT_ERROR 142
#define IDS_BUG_SEND_ERROR 143
#define IDS_BUG_FINISH 144
#define IDS_BUG_THANKS 145
#define IDS_BUG_STATUS 146

// The picture window: its status pane (the picture's size) and the zoom commands.
#define ID_INDICATOR_PICTURE 132
#define ID_VIEW_ZOOMIN 32832
#define ID_VIEW_ZOOMOUT 32833
