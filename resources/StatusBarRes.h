// Resource numbers of the status bar, the splash window, the tip of the day and the message box with extra buttons, shared by the resource script and the code.
#pragma once
