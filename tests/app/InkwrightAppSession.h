// What the application-object tests share: a private home (registry, profile, data folder and a
// Windows directory holding a copy of the program's DocSys folder), a headless session with the
// application object in it, started and ended as the program does, and message boxes recorded and
// answered from a list.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "afx/afx.h"
#include "app/CInkwrightApp.h"
#include "app/COurOwnTipDlg.h"
#include "os/Process.h"
#include "os/Registry.h"
#include "testing/testing.h"

namespace apptest {

namespace fs = std::filesystem;

// The message boxes shown while it lives; each is answered with the next queued answer, else with
// its first button.
class AnsweredBoxes {
 public:
  struct Box {
    std::string text, caption;
    UINT type;
    HWND owner;
  };
  AnsweredBoxes() {
    Self() = this;
    brambolt::afx::SetMessageBoxPresenter(&Present);
  }
  ~AnsweredBoxes() {
    brambolt::afx::SetMessageBoxPresenter(nullptr);
    Self() = nullptr;
  }
  void Answer(int nId) { answers.push_back(nId); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Box& box : boxes) texts.push_back(box.text);
    return texts;
  }
  std::vector<Box> boxes;
  std::deque<int> answers;
  // Runs while each box is up, before it is answered.
  std::function<void()> whileUp;

 private:
  static AnsweredBoxes*& Self() {
    static AnsweredBoxes* self = nullptr;
    return self;
  }
  static int Present(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type) {
    AnsweredBoxes& self = *Self();
    self.boxes.push_back({text != nullptr ? text : "", caption != nullptr ? caption : "", type, owner});
    if (self.whileUp) self.whileUp();
    if (!self.answers.empty()) {
      const int answer = self.answers.front();
      self.answers.pop_front();
      return answer;
    }
    const UINT group = type & MB_TYPEMASK;
    return group == MB_YESNO || group == MB_YESNOCANCEL ? IDYES : IDOK;
  }
};

// The private home: stores, and a Windows directory with the DocSys files beside the test program.
class AppHome {
 public:
  AppHome() {
    windows_ = stores_.Root() + "/windows";
    fs::create_directories(windows_);
    char program[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    fs::copy(fs::path(program).parent_path() / "DocSys", fs::path(windows_) / "DocSys", fs::copy_options::recursive);
    setenv("BRAMBOLT_WINDOWS_DIR", windows_.c_str(), 1);
    brambolt::ResetRegistryForTesting();
  }
  ~AppHome() {
    unsetenv("BRAMBOLT_WINDOWS_DIR");
    brambolt::ResetRegistryForTesting();
  }
  AppHome(const AppHome&) = delete;
  AppHome& operator=(const AppHome&) = delete;

  const std::string& Root() const { return stores_.Root(); }
  // The tips the tip of the day showed (each closed at once).
  const std::vector<int>& TipsShown() const { return tips_; }
  // The programs the application started (none really runs).
  const std::vector<std::string>& Started() const { return started_; }
  const std::string& Windows() const { return windows_; }
  // Runs while the tip of the day is up, before it is closed.
  std::function<void()> onTip;
  // A new folder under the temporary folder.
  std::string Folder(const std::string& name) const {
    const std::string path = stores_.TempDir() + "/" + name;
    fs::create_directories(path);
    return path;
  }

 private:
  brambolt::test::PrivateStores stores_;
  std::string windows_;
  std::vector<std::string> started_;
  std::vector<int> tips_;
  brambolt::test::ModalAnswers answers_;
  bool answering_ = AnswerTips();

  bool AnswerTips() {
    answers_.When(nullptr, "Tips Of Day", [this](HWND h) {
      if (auto* tip = dynamic_cast<COurOwnTipDlg*>(CWnd::FromHandle(h))) tips_.push_back(tip->m_nCurrentTip);
      if (onTip) onTip();
      ::SendMessage(h, WM_COMMAND, IDOK, 0);
    }, true);
    return true;
  }
  brambolt::ScopedSpawnHook spawns_{[this](const brambolt::SpawnRequest& request) {
    started_.push_back(request.program);
    return DWORD{0};
  }};
};

// Writes a text file, making its folder.
inline void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A bitmap file of 2 x 2 red pixels, 24 bits.
inline void WriteRedBitmap(const std::string& path) {
  std::string bytes = "BM";
  auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  // The file header, then the information header.
  for (const auto& [value, size] : {std::pair{70u, 4}, {0u, 4}, {54u, 4}, {40u, 4}, {2u, 4}, {2u, 4}, {1u, 2},
                                    {24u, 2}, {0u, 4}, {16u, 4}, {2835u, 4}, {2835u, 4}, {0u, 4}, {0u, 4}})
    put(value, size);
  for (int row = 0; row < 2; ++row) bytes += std::string("\0\0\xFF\0\0\xFF\0\0", 8);  // blue, green, red; padding
  WriteText(path, bytes);
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The application object in a headless session, with its protected steps reachable.
class TestApp : public CInkwrightApp {
 public:
  using CInkwrightApp::CopyLiveFolder;
  using CInkwrightApp::LoadConversionTables;
  using CInkwrightApp::OnCloseProject;
  using CInkwrightApp::OnNewProject;
  using CInkwrightApp::OnSaveAll;
  using CInkwrightApp::OnSaveProject;

  // The main window destroyed and the exit run, as the framework ends the program.
  int End() {
    if (m_pMainWnd != nullptr && m_pMainWnd->GetSafeHwnd() != nullptr) m_pMainWnd->DestroyWindow();
    m_pMainWnd = nullptr;
    brambolt::test::RunUntilIdle();
    return ExitInstance();
  }
  // Whether a command is enabled, as the menus and toolbars ask it.
  BOOL IsEnabled(UINT nId) {
    struct Probe : CCmdUI {
      BOOL enabled = -1;
      void Enable(BOOL bOn) override { enabled = bOn; }
    } probe;
    probe.m_nID = nId;
    OnCmdMsg(nId, CN_UPDATE_COMMAND_UI, &probe, nullptr);
    return probe.enabled;
  }
};

}  // namespace apptest
