// Numbers of the application's own resources: dialog templates, their controls and the
// messages the dialogs show. Shared by the resource script and the code.
#pragma once

#define IDR_PROGRESS_AVI 151

#define IDD_ADD_LIVE_FOLDER 149
#define IDD_COPYFILE_PROGRESS 152
#define IDD_GENHTML 156
#define IDD_AUTO_GEN_HELP 163
#define IDD_ADD_FOLDER_PROGRESS 165
#define IDD_GENHELP 167
#define IDD_HELP_COMPILE 175

// Controls; a number serves several templates, each with its own role.
#define IDC_LANGUAGE 1000
#define IDC_DEFAULT_FILE 1000
#define IDC_FILE_TYPES 1000
#define IDC_FUNC_PROTECTED 1004
#define IDC_LOOK_IN_SUBFOLDERS 1004
#define IDC_ANIMATE 1005
#define IDC_WAIT_TEXT 1006
#define IDC_FUNC_PUBLIC 1008
#define IDC_FUNC_PRIVATE 1009
#define IDC_VAR_PROTECTED 1010
#define IDC_VAR_PUBLIC 1011
#define IDC_VAR_PRIVATE 1012
#define IDC_REWRITE_ALL 1017
#define IDC_CONTENTS_FILE 1018
#define IDC_INDEX_FILE 1019
#define IDC_COMPILED_FILE 1020
#define IDC_PROJECT_TITLE 1031
#define IDC_LOCATION 1031
#define IDC_CURRENT_LOCATION 1031
#define IDC_SOURCE_FOLDER 1032
#define IDC_PROJECT_FILE 1034
#define IDC_HELP_TITLE 1219
#define IDC_COMPILER_OUTPUT 1040

#define IDS_SELECT_FILE_PATH 134
#define IDS_NEED_DEFAULT_FILE 162
#define IDS_NEED_CONTENTS_FILE 163
#define IDS_NEED_INDEX_FILE 164
#define IDS_NEED_PROJECT_FILE 165
#define IDS_NEED_TITLE 166
#define IDS_NEED_COMPILED_FILE 167
#define IDS_LANGUAGE_CHS 168
#define IDS_LANGUAGE_CHT 169
#define IDS_LANGUAGE_ENG 170
