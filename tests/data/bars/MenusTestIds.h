// Numbers of the menu and bitmap-manager test resources and of their commands.
#pragma once

#define ID_MT_NEW 24380
#define ID_MT_OPEN 24381
#define ID_MT_SAVE 24382
#define ID_MT_CUT 24383
#define ID_MT_NOIMAGE 24384
#define ID_MT_PLAIN 24385

#define IDR_MENUS_SMALL 24390
#define IDR_MENUS_LARGE 24391
#define IDR_MENUS_OTHER 24392
#define IDR_MENUS_NOBITMAP 24393
#define IDB_MENUS_SPLASH 24394
#define IDR_WS_FRAME 24395
#define IDR_WS_TEXT 24396
#define IDR_MB_MAIN 24397
#define IDR_MB_DOC 24398
