// Registration of the common control classes at program start, and InitCommonControls(Ex).
#include "controls/CommonControls.h"

#include "controls/CommCtrl.h"

namespace brambolt::ctl {

void RegisterCommonControlClasses() {
  RegisterAnimationClass();
  RegisterProgressClass();
  RegisterUpDownClass();
  RegisterHotKeyClass();
}

}  // namespace brambolt::ctl

void InitCommonControls() { brambolt::ctl::RegisterCommonControlClasses(); }

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) {
  if (icc == nullptr || icc->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  brambolt::ctl::RegisterCommonControlClasses();
  return TRUE;
}

// Programs that link the controls module keep this object (the library asks the linker for the
// symbol), so the classes exist before main, as the standard controls do.
extern "C" {
extern const bool brambolt_common_controls_registered;
const bool brambolt_common_controls_registered = (brambolt::ctl::RegisterCommonControlClasses(), true);
}
