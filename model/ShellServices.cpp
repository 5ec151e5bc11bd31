// The installed shell services; the quiet default stands in before the shell starts.
#include "model/ShellServices.h"

#include <atomic>

namespace {

QuietShellServices g_quietServices;
// Set once by the shell at start-up and read by the workers, hence atomic.
std::atomic<ShellServices*> g_pServices{&g_quietServices};

}  // namespace

ShellServices* GetShellServices() { return g_pServices.load(); }

ShellServices* SetShellServices(ShellServices* pServices) {
  return g_pServices.exchange(pServices != nullptr ? pServices : &g_quietServices);
}
