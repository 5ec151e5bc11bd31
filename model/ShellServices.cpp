// The installed shell services; the quiet default stands in before the shell starts.
#include "model/ShellServices.h"

#include <atomic>

#include "gdi/Objects.h"
#include "win/WinUser.h"

namespace {

QuietShellServices g_quietServices;
// Set once by the shell at start-up and read by the workers, hence atomic.
std::atomic<ShellServices*> g_pServices{&g_quietServices};

}  // namespace

void SetDialogFont(HWND hDialog, std::initializer_list<int> nIDs) {
  HGDIOBJ hFont = GetShellServices()->GetDialogFont();
  if (hFont == nullptr) hFont = ::GetStockObject(SYSTEM_FIXED_FONT);
  for (int nID : nIDs)
    if (HWND hControl = ::GetDlgItem(hDialog, nID)) ::SendMessage(hControl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
}

ShellServices* GetShellServices() { return g_pServices.load(); }

ShellServices* SetShellServices(ShellServices* pServices) {
  return g_pServices.exchange(pServices != nullptr ? pServices : &g_quietServices);
}
