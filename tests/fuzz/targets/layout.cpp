// Fuzz target: saved bar layouts in their three stored forms, read and applied to a frame with
// three toolkit bars: the settings store (a .reg file read through the profile functions), a
// workspace file (an INI file read as a persistent tree) and the archive form. The first byte
// chooses the form, the rest is the stored layout.
// With BRAMBOLT_FUZZ_WRITE_SEEDS set to a folder, the first input also writes the seeds there,
// made by the layout's own writers from the frame's layout with one bar floating.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "afx/afx.h"
#include "bars/SECControlBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECDockState.h"
#include "foundation/SECPTNStrategy.h"
#include "foundation/SECPersistentTreeNode.h"
#include "os/Registry.h"
#include "testing/testing.h"

namespace {

enum Form : uint8_t { kSettingsStore, kWorkspaceFile, kArchive, kForms };

const char kProfileName[] = "BarState";

struct Session {
  brambolt::test::UiSession ui;
  CWinApp app{"Layout Fuzz"};
  Session() {
    ::setenv("BRAMBOLT_REGISTRY_DIR", fuzz::Folder().c_str(), 1);
    brambolt::ResetRegistryForTesting();
    app.SetRegistryKey("Brambolt Fuzz");
  }
};

// A frame with a pane, dock bars on every side and three toolkit bars (ids 24010 to 24012).
struct Frame {
  CFrameWnd* frame = new CFrameWnd;
  CWnd pane;
  std::unique_ptr<SECControlBar> bars[3];
  Frame() {
    frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, CRect(20, 20, 660, 500));
    pane.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, AFX_IDW_PANE_FIRST);
    SECEnableDocking(frame, CBRS_ALIGN_ANY);
    const UINT sides[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_BOTTOM};
    for (int i = 0; i < 3; ++i) {
      bars[i] = std::make_unique<SECControlBar>();
      bars[i]->Create(frame, "Bar", WS_VISIBLE | CBRS_TOP, CBRS_EX_GRIPPER, 24010 + i);
      bars[i]->EnableDocking(CBRS_ALIGN_ANY);
      frame->DockControlBar(bars[i].get(), sides[i]);
    }
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    brambolt::test::RunUntilIdle();
  }
  ~Frame() {
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
};

std::string RegistryFile() { return fuzz::Folder() + "/HKEY_CURRENT_USER.reg"; }

void WriteSeed(const std::string& folder, const char* name, Form form, const std::string& bytes) {
  std::ofstream(folder + "/" + name, std::ios::binary) << static_cast<char>(form) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteSeeds(const std::string& folder) {
  Frame f;
  f.frame->FloatControlBar(f.bars[1].get(), CPoint(300, 300), CBRS_ALIGN_TOP);
  f.frame->RecalcLayout();
  brambolt::test::RunUntilIdle();
  SECDockState state;
  state.GetFrameState(f.frame);
  state.RemoveStalePlaceholders();
  state.SaveState(kProfileName);
  RegFlushKey(HKEY_CURRENT_USER);
  WriteSeed(folder, "settings-store", kSettingsStore, ReadFile(RegistryFile()));
  const std::string wsp = fuzz::Folder() + "/seed.wsp";
  SECPTNFactory factory;
  SECPersistentTreeNode* root = factory.AddChild("WorkState_v1_1", nullptr);
  state.SaveState(&factory, root);
  SECPTNStrategyProfile strategy(wsp.c_str());
  root->Save(&strategy);
  WriteSeed(folder, "workspace-file", kWorkspaceFile, ReadFile(wsp));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    state.Serialize(ar);
  }
  const auto length = static_cast<size_t>(file.GetLength());
  std::string bytes(length, '\0');
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(length));
  WriteSeed(folder, "archive", kArchive, bytes);
}

// Reads the layout in its form; false when it does not read.
bool Read(SECDockState& state, Form form, const uint8_t* data, size_t size) {
  switch (form) {
    case kSettingsStore:
      std::filesystem::rename(fuzz::WriteFile("layout.reg", data, size), RegistryFile());
      brambolt::ResetRegistryForTesting();
      state.LoadState(kProfileName);
      return true;
    case kWorkspaceFile: {
      SECPTNFactory factory;
      SECPersistentTreeNode* root = factory.AddChild("WorkState_v1_1", nullptr);
      SECPTNStrategyProfile strategy(fuzz::WriteFile("layout.wsp", data, size).c_str());
      return root->Load(&strategy) && state.LoadState(root);
    }
    default: {
      CMemFile file;
      fuzz::Fill(file, data, size);
      try {
        CArchive ar(&file, CArchive::load);
        state.Serialize(ar);
        return true;
      } catch (CException* e) {
        e->Delete();
        return false;
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Kept to the end of the process: the window manager's thread state goes before statics would.
  static Session& session = *new Session;
  (void)session;
  if (const char* seeds = std::getenv("BRAMBOLT_FUZZ_WRITE_SEEDS"); seeds != nullptr && *seeds != '\0') {
    static const bool written = (WriteSeeds(seeds), true);
    (void)written;
  }
  if (size == 0) return 0;
  const auto form = static_cast<Form>(data[0] % kForms);
  SECDockState state;
  if (!Read(state, form, data + 1, size - 1)) return 0;
  Frame f;
  state.SetFrameState(f.frame);
  f.frame->RecalcLayout();
  brambolt::test::RunUntilIdle();
  return 0;
}
