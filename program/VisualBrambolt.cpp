// The program visual-brambolt: the one application object, started on the user's X display.
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/CInkwrightApp.h"
#include "backend/backend.h"
#include "controls/controls.h"

// The application object, made before main runs (with it, the one project object).
CInkwrightApp theApp;

int main(int argc, char** argv) {
  std::shared_ptr<brambolt::Backend> backend = brambolt::InstallBackendFromEnvironment();
  if (std::strcmp(backend->Name(), "x11") != 0) {
    std::fprintf(stderr,
                 "visual-brambolt: an X display is needed (DISPLAY is not set or cannot be opened); "
                 "`xvfb-run ./tools/run-app` runs it without one.\n");
    return 2;
  }
  brambolt::RegisterStandardControls();
  InitCommonControls();
  return AfxWinMain(argc, argv);
}
