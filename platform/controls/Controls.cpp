// Registration of the standard control classes at program start.
#include "controls/Controls.h"

#include "controls/ControlSupport.h"

namespace brambolt {

void RegisterStandardControls() {
  ctl::RegisterButtonClass();
  ctl::RegisterStaticClass();
  ctl::RegisterEditClass();
  ctl::RegisterListBoxClass();
  ctl::RegisterComboBoxClass();
  ctl::RegisterScrollBarClass();
}

}  // namespace brambolt

// Programs that link the controls module keep this object (the library asks the linker for the
// symbol), so the classes exist before main as they do on Windows.
extern "C" {
extern const bool brambolt_standard_controls_registered;
const bool brambolt_standard_controls_registered = (brambolt::RegisterStandardControls(), true);
}
