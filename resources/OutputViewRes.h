// Resource numbers of the output view, shared by the resource script and the code.
#pragma once

// The tree's images: 11 cells 23 pixels wide (root, compiled help, -, page, folder, bitmap,
// contents, index, help project, picture, other file).
#define IDB_OUTPUT_TREE 141
// The explorer's context menus; the output tree takes pop-up 2.
#define IDR_OUTPUT_TREE_MENUS 148
#define OUTPUT_TREE_POPUP 2

// Commands of the output tree's context menu.
#define ID_OUTPUT_OPEN 32817
#define ID_OUTPUT_REMOVE 32818
#define ID_OUTPUT_NEW_FOLDER 32819
#define ID_OUTPUT_ADD_FILES 32820
#define ID_OUTPUT_INSERT_LIVE_FOLDER 32821
#define ID_OUTPUT_RENAME 32822
#define ID_OUTPUT_REFRESH 32826
#define ID_OUTPUT_PROPERTIES 32828
#define ID_OUTPUT_GB_TO_BIG5 32829
#define ID_OUTPUT_BIG5_TO_GB 32830

// Messages.
#define IDS_REMOVE_ITEM 203
#define IDS_CONVERT_TO_BIG5 208
#define IDS_CONVERT_TO_GB 209
