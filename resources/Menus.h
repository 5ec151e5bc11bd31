// Numbers of the resources of the bitmap menus, menubar, full-screen mode, splash window, tip of
// the day, shortcut keys, user tools, pan view and workspace managers.
#pragma once

#define IDB_SEC_CHECKMARK 20525
#define IDD_SEC_TIPOFDAY 20500
#define IDD_SEC_SHORTCUTS 20507
#define IDD_SEC_ASSIGNKEY 20508
#define IDD_SEC_USERTOOLS 20512

#define IDS_SEC_SPLASH_TITLE 20661
#define IDS_SEC_SPLASH_PARENT 20662
#define IDS_SEC_REMOVE_NEEDS_SHORTCUT 20526
#define IDS_SEC_CREATE_NEEDS_MACRO 20527
#define IDS_SEC_RESET_ALL_KEYS 20528
#define IDS_SEC_UNASSIGNED 20529
#define IDS_SEC_RESERVED_KEY 20530
#define IDS_SEC_NO_DESCRIPTION 20678
#define IDS_SEC_SELECT_PROGRAM 20680
#define IDS_SEC_PROGRAM_FILTER 20681
#define IDS_SEC_SELECT_DIRECTORY 20682
#define IDS_SEC_NEW_TOOL 20683
#define IDS_SEC_BLANK_MENU_TEXT 20684
#define IDS_SEC_OVERVIEW_TITLE 20676

// Texts of our own.
#define IDS_SEC_TOOL_NOT_STARTED 24300
