// Resource numbers of the status bar, the splash window, the tip of the day and the message box with extra buttons, shared by the resource script and the code.
#pragma once

// The start-up splash picture.
#define IDB_SPLASH 131

// The tip of the day: its dialog, the icon in its panel, and the panel's caption.
#define IDD_TIPS_OF_DAY 170
#define IDI_TIP_BULB 20515
#define IDS_TIP_CAPTION 20663

// The message box's button and check-box texts, in the order the box looks them up.
#define IDS_EXTBOX_OK 9001
#define IDS_EXTBOX_CANCEL 9002
#define IDS_EXTBOX_IGNORE 9003
#define IDS_EXTBOX_RETRY 9004
#define IDS_EXTBOX_ABORT 9005
#define IDS_EXTBOX_HELP 9006
#define IDS_EXTBOX_YES 9007
#define IDS_EXTBOX_NO 9008
#define IDS_EXTBOX_CONTINUE 9009
#define IDS_EXTBOX_DONT_ASK 9010
#define IDS_EXTBOX_DONT_TELL 9011
#define IDS_EXTBOX_YES_TO_ALL 9012
#define IDS_EXTBOX_NO_TO_ALL 9013
