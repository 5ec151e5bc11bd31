// Ids of the templates and controls the framework's common-dialog and property-sheet tests use.
#pragma once

#define IDD_OLD_STYLE_PICKER 420
#define IDD_EXPLORER_EXTRA 421
#define IDD_PAGE_NAME 430
#define IDD_PAGE_COUNT 431
#define IDD_PAGE_OPTIONS 432
#define IDC_PICK_RECURSE 1300
#define IDC_PICK_HOME 1301
#define IDC_EXTRA_PREVIEW 1302
#define IDC_PAGE_NAME 1310
#define IDC_PAGE_COUNT 1311
#define IDC_PAGE_OPTION 1312
#define IDS_PAGE_OPTIONS_TITLE 1320
