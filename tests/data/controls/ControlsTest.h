// Ids of the dialogs and controls the control tests build from resources.
#define IDD_NAVIGATION 100
#define IDD_PAGE_HOST 101
#define IDD_PAGE 102
#define IDD_LISTS 103
#define IDD_EVERY_CONTROL 104
#define IDD_CUSTOM_CLASS 105

#define IDC_LABEL 1000
#define IDC_TARGET 1001
#define IDC_CHECK 1002
#define IDC_GROUP 1003
#define IDC_RED 1004
#define IDC_GREEN 1005
#define IDC_BLUE 1006
#define IDC_DISABLED 1007
#define IDC_EDIT 1008
#define IDC_NUMBER 1009

#define IDC_PAGE_FIRST 1100
#define IDC_PAGE_SECOND 1101
#define IDC_HOST_BEFORE 1102
#define IDC_HOST_AFTER 1103

#define IDC_COMBO 1200
#define IDC_LIST 1201
#define IDC_DROPDOWN 1202

#define IDC_STATIC_TEXT 1300
#define IDC_ETCHED 1301
#define IDC_SCROLL 1302
#define IDC_MULTI 1303
#define IDC_PICTURE 1304
