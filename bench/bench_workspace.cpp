// Saving a workspace of 400 frames (400 documents, each in a frame of its own) through the
// workspace manager, to a workspace file (range 0) or to the registry (range 1).
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "bars/SECWorkspaceManagerEx.h"
#include "tests/bars/WorkspaceDocs.h"
#include "testing/testing.h"

namespace {

constexpr int kFrames = 400;

void BM_SaveWorkspace(benchmark::State& state) {
  brambolt::test::UiSession session;
  brambolt::test::PrivateStores stores;
  CWinApp app{"Workspace Bench"};
  auto* frame = new CMDIFrameWnd;
  frame->LoadFrame(IDR_WS_FRAME, WS_OVERLAPPEDWINDOW);
  app.m_pMainWnd = frame;
  frame->ShowWindow(SW_SHOW);
  workspacetest::AddTextTemplate(app);
  const bool registry = state.range(0) != 0;
  SECWorkspaceManagerEx manager;
  manager.Initialize("Software\\MyCompany\\Brambolt\\v2.0", registry ? TRUE : FALSE, HKEY_CURRENT_USER, FALSE);
  manager.PlugInTo(frame);
  for (int i = 0; i < kFrames; ++i) {
    const std::string path = stores.TempDir() + "/document" + std::to_string(i) + ".txt";
    std::ofstream(path) << "text";
    app.OpenDocumentFile(path.c_str());
  }
  brambolt::test::RunUntilIdle();
  const CString name = registry ? CString("Bench") : CString((stores.TempDir() + "/bench.wsp").c_str());
  for (auto _ : state)
    if (!manager.SaveWorkspace(name)) state.SkipWithError("the workspace was not saved");
  state.counters["frames"] = kFrames;
  manager.UnPlug();
  app.CloseAllDocuments(FALSE);
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}
BENCHMARK(BM_SaveWorkspace)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
