// Numbers of the resources of the frames, the windows dialog, the list box editor and the
// status bar.
#pragma once

#define IDD_SEC_WINDOWS 20501
#define IDC_SEC_WINDOWS_LIST 43073
#define IDC_SEC_WINDOWS_CLOSE 43074
#define IDC_SEC_WINDOWS_SAVE 43075
#define IDC_SEC_WINDOWS_HELP 43077
#define IDS_SEC_WINDOWS_ITEM 20660

#define IDB_SEC_LBE_NEW 20516
#define IDB_SEC_LBE_DELETE 20517
#define IDB_SEC_LBE_UP 20518
#define IDB_SEC_LBE_DOWN 20519
#define IDS_SEC_LBE_NEW 20531
#define IDS_SEC_LBE_DELETE 20532
#define IDS_SEC_LBE_UP 20533
#define IDS_SEC_LBE_DOWN 20534
