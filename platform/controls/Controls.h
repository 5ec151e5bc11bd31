// The standard control classes ("Button", "Edit", "Static", "ListBox", "ComboBox", "ScrollBar"),
// registered under their predefined names when the program starts.
#pragma once

#include "win/Dialog.h"

namespace brambolt {

// Registers every standard control class that is not registered; the program's start does it,
// so a caller needs it only after unregistering one of them.
void RegisterStandardControls();

}  // namespace brambolt
