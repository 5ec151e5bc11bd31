// The installed shell services and the quiet default that stands in before the shell starts.
#include "model/ShellServices.h"

#include <atomic>

namespace {

class QuietShellServices final : public ShellServices {
 public:
  CWorkSpaceObj* GetWorkSpace() override { return nullptr; }
  CString GetProjectFolder() override { return CString(); }
  CString GetProjectName() override { return CString(); }
  const BYTE* GetGBToBig5Table() override { return nullptr; }
  const BYTE* GetBig5ToGBTable() override { return nullptr; }
  void CopyFileIntoProject(CString) override {}
  BOOL OpenDiagramFile(CString) override { return FALSE; }
  void OpenFormFile(CString) override {}
  CString GetComponentName(int) override { return CString(); }
  void BeginProgress(LPCTSTR, int, int, BOOL, DWORD) override {}
  void SetProgressPos(int) override {}
  void EndProgress() override {}
  void RefreshOutputTree() override {}
  void DrawClassBox(HDC, const RECT&, int) override {}
  int ShowMessage(LPCTSTR, UINT) override { return 1; }  // IDOK
};

QuietShellServices g_quietServices;
// Set once by the shell at start-up and read by the workers, hence atomic.
std::atomic<ShellServices*> g_pServices{&g_quietServices};

}  // namespace

ShellServices* GetShellServices() { return g_pServices.load(); }

ShellServices* SetShellServices(ShellServices* pServices) {
  return g_pServices.exchange(pServices != nullptr ? pServices : &g_quietServices);
}
