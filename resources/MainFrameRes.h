// Resource numbers of the main frame: main menus, accelerators, the default toolbar's images, its messages, shared by the resource script and the code.
#pragma once

// The main window: its menu, accelerators, toolbar images and title. The document types' menus
// (source file, project, class-hierarchy picture) are copies of the main menu.
#define IDR_MAINFRAME 128
#define IDR_SOURCE_FILE_MENU 129
#define IDR_PROJECT_MENU 130
#define IDR_CLASS_HIERARCHY_MENU 131

// The status bar's second pane: its width is the width of this string (a row of blanks).
#define ID_INDICATOR_BLANKS 132

// Messages and titles of the main frame.
#define IDS_TOOLBAR_TITLE 171
#define IDS_PROJECT_EXPLORER_TITLE 172
#define IDS_SAVE_PROJECT_QUESTION 173
#define IDS_RECENT_PROJECT_NONE 174
// Added to the save question when the documentation options kept in the project were changed.
#define IDS_SAVE_PROJECT_DOC_OPTIONS 176
// Added to the save question when the HTML Help settings kept in the project were changed.
#define IDS_SAVE_PROJECT_HELP_SETTINGS 210

// The id of the Project Explorer bar.
#define IDW_PROJECT_EXPLORER 2003

// The main frame's own commands.
#define ID_WINDOW_NEXT_CHILD 32779
#define ID_WINDOW_PREVIOUS_CHILD 32780
#define ID_WINDOW_CLOSE_CHILD 32781
#define ID_WINDOW_CLOSE_ALL 32782
#define ID_WINDOW_LIST 32783
#define ID_VIEW_FULL_SCREEN 32784
#define ID_HELP_TIP_OF_THE_DAY 32785
#define ID_HELP_TECHNICAL_SUPPORT 32786
#define ID_HELP_WEB_FIRST 32787
#define ID_HELP_WEB_LAST 32790
#define ID_VIEW_PROJECT_EXPLORER 32793
// Opens the pages that customise the toolbars (commands to drag onto them, and the toolbars).
#define ID_VIEW_CUSTOMIZE_TOOLBARS 32795
#define ID_RECENT_PROJECT_FIRST 33040
#define ID_RECENT_PROJECT_LAST 33055
