// Everything of the controls module: the predefined and common controls and the common dialogs.
#pragma once

#include "base/base.h"
#include "gdi/gdi.h"
#include "win/win.h"
#include "controls/Controls.h"
#include "controls/CommCtrl.h"
#include "controls/ComboBoxEx.h"
#include "controls/FolderPicker.h"
#include "controls/FileDialog.h"
#include "controls/ColorDialog.h"
#include "controls/FontDialog.h"
#include "controls/PrintDialog.h"
#include "controls/PageSetupDialog.h"
