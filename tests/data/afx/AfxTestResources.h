// Ids of the resources the framework tests use.
#define IDS_GREETING 100
#define IDS_LONG_TEXT 101
#define IDR_RAW 200
#define IDR_MAINFRAME 128
#define IDR_POPUPS 129
#define IDR_OWNERDRAWN 130
#define ID_TEST_FIRST 32800
#define ID_TEST_SECOND 32801
#define ID_TEST_THIRD 32802
#define ID_TEST_DISABLED 32803
#define ID_TEST_NESTED 32804
#define VK_F2 0x71
#define IDB_GREYS 300
#define IDI_TESTICON 301
#define IDC_TESTCURSOR 302
#define IDR_MDIFRAME 140
#define IDR_TEXTTYPE 141
