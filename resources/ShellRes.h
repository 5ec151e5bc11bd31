// Resource numbers of the application object: start-up, project commands, the program's icons, shared by the resource script and the code.
#pragma once

// The main frame's resources (menu, title, accelerators) and the splash bitmap.
#define IDR_APP_FRAME 128
#define IDB_APP_SPLASH 131

// The three document templates (their document strings).
#define IDR_BRAMBOLT_FILE 129
#define IDR_BRAMBOLT_PROJECT 130
#define IDR_CLASS_HIR 131

// Icons: the program's (the main frame's too) and the project file's, the first two of the program.
#define IDI_APP_PROGRAM 128
#define IDI_APP_PROJECT_FILE 129

// The built-in C language configuration of the editor.
#define IDR_APP_LANG_CONFIG_C 145

// The pattern of the class boxes' shadows.
#define IDB_SHADOW_PATTERN 172

// Messages of the project commands.
#define IDS_INVALID_PROJECT 156
#define IDS_FILE_NOT_EXIST 157
#define IDS_DIAGRAM_NOT_EXIST 158
#define IDS_FILE_EXISTS_OVERWRITE 159
#define IDS_OPEN_TITLE 160
#define IDS_OLE_INIT_FAILED 304

// The commands the application object handles.
#define ID_NEW_PROJECT 32771
#define ID_OPEN_PROJECT 32772
#define ID_SAVE_PROJECT 32773
#define ID_CLOSE_PROJECT 32774
#define ID_SAVE_ALL 32775
#define ID_INSERT_FILES 32799
#define ID_WRITE_DOCUMENTATION 32800
#define ID_WRITE_RTF 32801
#define ID_GENERATE_HTML_HELP 32802
#define ID_CURRENT_PROJECT 32803
#define ID_PROJECT_SETTINGS 32804
#define ID_INSERT_LIVE_FOLDER 32809
#define ID_INSERT_MSVC_PROJECT 32825
