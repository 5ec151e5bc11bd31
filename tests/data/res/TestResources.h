// Ids of the resources the resource tests read back.
#define IDOK 1
#define IDCANCEL 2
#define DS_SETFONT 0x40
#define DS_MODALFRAME 0x80
#define WS_POPUP 0x80000000
#define WS_CAPTION 0x00C00000
#define WS_SYSMENU 0x00080000
#define WS_TABSTOP 0x00010000
#define WS_EX_TOOLWINDOW 0x80
#define ES_AUTOHSCROLL 0x80
#define BS_AUTOCHECKBOX 0x3
#define VK_F5 0x74

#define IDS_HELLO 158
#define IDS_QUOTED 159
#define IDS_CHINESE 160
#define IDS_SECOND_BLOCK 300
#define IDR_BLOB 151
#define IDR_TOOLBAR 128
#define IDD_CLASSIC 152
#define IDD_EXTENDED 2000
#define IDR_MENU 128
#define IDR_MENUEX 129
#define IDR_ACCEL 128
#define IDI_TEST 130
