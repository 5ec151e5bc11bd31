// Resource numbers of the child frames, documents and the shell's dialogs (Windows, Organize files, About), shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_WINDOW_MANAGER 133
#define IDD_ORGANIZE_FILES 147

// The Windows dialog.
#define IDC_WND_ACTIVATE 1001
#define IDC_WND_CASCADE 1025
#define IDC_WND_CLOSE 1027
#define IDC_WND_LIST 1041
#define IDC_WND_MINIMIZE 1042
#define IDC_WND_SAVE 1209
#define IDC_WND_TILE_HORZ 1217
#define IDC_WND_TILE_VERT 1218

// The Organize files dialog.
#define IDC_ORG_FILE_TYPE 1000
#define IDC_ORG_REMOVE 1001
#define IDC_ORG_RENAME 1020
#define IDC_ORG_FILE_LIST 1226

// The About box.
#define IDC_ABOUT_NOTICE 1043
#define IDC_ABOUT_WEB 1211
#define IDC_ABOUT_SUPPORT 1212
#define IDC_ABOUT_SYSTEM 1020
#define IDC_ABOUT_OS 1219
#define IDC_ABOUT_USER 1220
#define IDC_ABOUT_TITLE 1221
#define IDC_ABOUT_VERSION 1222

#define IDS_ABOUT_USER_NAME 150
#define IDS_ABOUT_PRODUCT_VERSION 151
#define IDS_ABOUT_OS 154
