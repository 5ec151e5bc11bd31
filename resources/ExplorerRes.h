// Resource numbers of the Project Explorer bar, the file view and the drag cursor, shared by the resource script and the code.
#pragma once

// Tab icons; the "Output" tab shows the project template icon (IDI_PROJECT_TEMPLATE, 130).
#define IDI_EXPLORER_CLASS_TAB 136
#define IDI_EXPLORER_HIER_TAB 137
#define IDI_EXPLORER_FILE_TAB 138

// The file view's images: 0 closed folder, 1 open folder, 2 file, 3 header, 4 project, 5 source.
#define IDB_FILE_TREE 138
// The cursor shown while a file is dragged out of the explorer.
#define IDC_DRAG_FILE 143

// The popup menus of the explorer's trees and of the code view, one resource (the editor's
// application controller loads it by number): pop-up 0 for the class trees, 1 the code view's Edit
// menu, 2 the output tree's, 3 the file tree's.
#define IDR_EXPLORER_POPUPS 148
#define EXPLORER_POPUP_OUTPUT 2
#define EXPLORER_POPUP_FILE 3

// Tab labels.
#define IDS_EXPLORER_HIER 188
#define IDS_EXPLORER_CLASS 189
#define IDS_EXPLORER_FILE 190
#define IDS_EXPLORER_OUTPUT 191
// The question asked before a file or folder is deleted from the project.
#define IDS_REMOVE_FROM_PROJECT 203

// Commands of the trees' context menus.
#define ID_EXPLORER_OPEN 32817
#define ID_EXPLORER_REMOVE 32818
#define ID_EXPLORER_NEW_FOLDER 32819
#define ID_EXPLORER_ADD_FILES 32820
#define ID_EXPLORER_COPY_LIVE_FOLDER 32821
#define ID_EXPLORER_RENAME 32822
#define ID_EXPLORER_INSERT_FILES 32823
#define ID_EXPLORER_INSERT_LIVE_FOLDER 32824
#define ID_EXPLORER_INSERT_FROM_MSVC 32825
#define ID_EXPLORER_REFRESH 32826
#define ID_EXPLORER_PROPERTIES 32828
#define ID_EXPLORER_GB_TO_BIG5 32829
#define ID_EXPLORER_BIG5_TO_GB 32830

// Window ids of the explorer's tab window and trees.
#define IDW_EXPLORER_TABS 59648
#define IDW_EXPLORER_CLASS 101
#define IDW_EXPLORER_OUTPUT 70002
#define IDW_EXPLORER_FILE 70004
#define IDW_EXPLORER_HIER 70005
