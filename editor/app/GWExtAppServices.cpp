// The installed application services of the editor, with defaults that know nothing.
#include "editor/app/GWExtAppServices.h"

namespace {

GWExtAppServices g_defaults;
GWExtAppServices* g_services = nullptr;

}  // namespace

GWExtAppServices* GWExtGetAppServices() { return g_services != nullptr ? g_services : &g_defaults; }

GWExtAppServices* GWExtSetAppServices(GWExtAppServices* services) {
  GWExtAppServices* old = g_services;
  g_services = services;
  return old;
}
