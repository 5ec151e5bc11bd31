// The desk of the end-to-end scenarios: the private home, the application's start and end, the
// answers to its modal windows, and a person's hands on dialogs.
#include "Desk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "controls/controls.h"
#include "os/Registry.h"

namespace e2e {

std::string Fixture(const std::string& name) { return std::string(BRAMBOLT_E2E_FIXTURES) + "/" + name; }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ListFiles(const fs::path& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    if (it->is_regular_file()) files.push_back(fs::relative(it->path(), folder).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string SeenDialog::Text() const {
  std::string text;
  for (const std::string& piece : texts) text += (text.empty() ? "" : "|") + piece;
  return text;
}

namespace {

std::string WindowText(HWND hwnd) {
  char text[2048] = {};
  ::GetWindowText(hwnd, text, sizeof text);
  return text;
}

std::string WithoutAmpersands(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

bool IsMessageBox(HWND window, const std::string& caption) {
  return ::GetDlgItem(window, IDC_MESSAGEBOX_TEXT) != nullptr || caption == "Inkwright";
}

}  // namespace

SeenDialog See(HWND window) {
  char cls[128] = {};
  ::GetClassName(window, cls, sizeof cls);
  SeenDialog seen{WindowText(window), {}, cls};
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    const std::string text = WindowText(child);
    if (!text.empty()) seen.texts.push_back(text);
  }
  return seen;
}

HWND FindTopWindow(const std::string& caption) { return ::FindWindow(nullptr, caption.c_str()); }

HWND Item(HWND root, int nId) {
  // Nearer windows first: a combo box's own edit has an id too.
  for (HWND child = ::GetWindow(root, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    if (::IsWindowVisible(child) && ::GetDlgCtrlID(child) == nId) return child;
  for (HWND child = ::GetWindow(root, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    if (HWND inner = ::IsWindowVisible(child) ? Item(child, nId) : nullptr) return inner;
  return nullptr;
}

std::string ItemText(HWND root, int nId) { return WindowText(Item(root, nId)); }

void ClickItem(HWND root, int nId) {
  const HWND item = Item(root, nId);
  RECT rect{};
  ::GetClientRect(item, &rect);
  char cls[32] = {};
  ::GetClassName(item, cls, sizeof cls);
  // A combo box is clicked in its selection field, above where its list drops.
  const int field = std::string(cls) == "ComboBox" ? static_cast<int>(::SendMessage(item, CB_GETITEMHEIGHT, -1, 0)) : 0;
  const int y = field > 0 && field < rect.bottom ? field / 2 + 2 : rect.bottom / 2;
  brambolt::test::Click(item, POINT{rect.right / 2, y});
}

namespace {

HWND FindButton(HWND parent, const std::string& text) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child) && WithoutAmpersands(WindowText(child)) == text) return child;
    if (HWND inner = FindButton(child, text)) return inner;
  }
  return nullptr;
}

}  // namespace

bool ClickButton(HWND hWnd, const std::string& text) {
  const HWND button = FindButton(hWnd, text);
  if (button == nullptr) return false;
  RECT rect{};
  ::GetClientRect(button, &rect);
  brambolt::test::Click(button, POINT{rect.right / 2, rect.bottom / 2});
  return true;
}

void TypeInto(HWND hDlg, int nId, const std::string& text) {
  ClickItem(hDlg, nId);
  brambolt::test::PressKey(VK_END);
  brambolt::test::PressKey(VK_HOME, brambolt::test::kShift);
  brambolt::test::PressKey(VK_DELETE);
  brambolt::test::TypeText(text);
}

// ---- the desk ----

Desk::Desk() {
  windows_ = stores_.Root() + "/windows";
  fs::create_directories(windows_);
  fs::copy(fs::path(static_cast<const char*>(CInkwrightApp::GetProgramFolder())) / "DocSys", fs::path(windows_) / "DocSys",
           fs::copy_options::recursive);
  setenv("BRAMBOLT_WINDOWS_DIR", windows_.c_str(), 1);
  if (const char* home = std::getenv("HOME")) savedHome_ = home;
  setenv("HOME", (stores_.Root() + "/home").c_str(), 1);
  fs::create_directories(stores_.Root() + "/home");
  // The registry is read from this desk's own store, not kept from a desk before it in this process.
  brambolt::ResetRegistryForTesting();
  brambolt::RegisterStandardControls();
  InitCommonControls();
  modal_ = std::make_unique<brambolt::test::ModalAnswers>();
  modal_->When(nullptr, nullptr, [this](HWND window) { OnModal(window); }, true);
}

Desk::~Desk() {
  if (app_ != nullptr) Quit();
  // An open project made its folder the current one; the folder goes with the private home.
  std::error_code error;
  fs::current_path("/", error);
  modal_.reset();
  unsetenv("BRAMBOLT_WINDOWS_DIR");
  setenv("HOME", savedHome_.c_str(), 1);
  brambolt::ResetRegistryForTesting();
}

bool Desk::Start(const std::function<void(HWND)>& tip) {
  app_ = std::make_unique<CInkwrightApp>();
  filter_ = std::make_unique<brambolt::ScopedLoopFilter>([this](MSG& msg) {
    AfxGetThreadState()->m_msgCur = msg;
    return app_ != nullptr && app_->PreTranslateMessage(&msg);
  });
  if (tip) Expect("Tips Of Day", tip);
  const bool started = app_->InitInstance() != FALSE;
  // The splash stands for its three seconds before a person's first press, which would only close
  // it: a tip's answer lets them pass in the tip's loop, a start without the tip here.
  if (::FindWindow(nullptr, "SECSplashWnd") != nullptr) brambolt::test::AdvanceClock(3100);
  Pump();
  return started;
}

// The splash stands over the tip for its three seconds; the answers come once it is gone.
void CloseTip(HWND) {
  brambolt::test::AdvanceClock(3100);
  brambolt::test::PressKey(VK_RETURN);
}

void TurnTipOff(HWND tip) {
  brambolt::test::AdvanceClock(3100);
  EXPECT_TRUE(ClickButton(tip, "Show Tips at Startup."));
  EXPECT_TRUE(ClickButton(tip, "OK"));
}

void Desk::Quit() {
  if (HWND main = MainWindow(); main != nullptr && ::IsWindow(main)) {
    ::PostMessage(main, WM_CLOSE, 0, 0);
    Pump();
  }
  // The close posted the end of the loop; the next start has a loop of its own.
  MSG msg;
  while (::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  if (app_->m_pMainWnd != nullptr && ::IsWindow(app_->m_pMainWnd->GetSafeHwnd())) app_->m_pMainWnd->DestroyWindow();
  app_->m_pMainWnd = nullptr;
  brambolt::test::RunUntilIdle();
  app_->ExitInstance();
  filter_.reset();
  app_.reset();
}

HWND Desk::MainWindow() const {
  return app_ != nullptr && app_->m_pMainWnd != nullptr ? app_->m_pMainWnd->GetSafeHwnd() : nullptr;
}

bool Desk::HasMainFrame() const {
  const CWnd* main = app_ != nullptr ? app_->m_pMainWnd : nullptr;
  return main != nullptr && std::string(main->GetRuntimeClass()->m_lpszClassName) == "CMainFrame";
}

std::string Desk::MainTitle() const { return WindowText(MainWindow()); }

void Desk::Expect(const std::string& caption, std::function<void(HWND)> act) {
  expected_.emplace_back(caption, std::move(act));
  expectedClass_.emplace_back();
  expectedRunning_.push_back(false);
}

void Desk::ExpectRunning(const std::string& caption) {
  Expect(caption, [](HWND) {});
  expectedRunning_.back() = true;
}

void Desk::AnswerModals(std::function<void(HWND)> answer) {
  modal_ = std::make_unique<brambolt::test::ModalAnswers>();
  modal_->When(nullptr, nullptr, std::move(answer), true);
}

void Desk::OnModal(HWND window) {
  SeenDialog seen = See(window);
  // A dialog that runs work may retitle itself before its loop is seen (the documentation's progress
  // names the class it writes), so a running one is known by the start of its caption. A message
  // box never ends by itself: it is not the running dialog, whatever its caption.
  const auto captionMatches = [&] {
    if (expectedRunning_.front())
      return seen.caption.rfind(expected_.front().first, 0) == 0 && !IsMessageBox(window, seen.caption);
    return expected_.front().first == seen.caption;
  };
  if (!expected_.empty() && captionMatches() &&
      (expectedClass_.front().empty() || expectedClass_.front() == seen.className)) {
    auto act = std::move(expected_.front().second);
    const bool running = expectedRunning_.front();
    expected_.pop_front();
    expectedClass_.pop_front();
    expectedRunning_.pop_front();
    act(window);
    // A dialog still up after its answer would wait for ever: it is cancelled and reported.
    if (!running && seen.className == "#32770" && ::IsWindow(window) && ::IsWindowVisible(window)) {
      SeenDialog still = See(window);
      still.caption += " (still open after its answer)";
      unexpected_.push_back(still);
      ::SendMessage(window, WM_COMMAND, IDCANCEL, 0);
    }
    return;
  }
  if (IsMessageBox(window, seen.caption)) {
    boxes_.push_back(seen);
    if (!answers_.empty()) {
      const std::string answer = answers_.front();
      answers_.pop_front();
      if (ClickButton(window, answer)) return;
    }
    brambolt::test::PressKey(VK_RETURN);
    return;
  }
  unexpected_.push_back(seen);
  ::SendMessage(window, WM_COMMAND, IDCANCEL, 0);
  if (::IsWindow(window) && ::IsWindowVisible(window)) ::SendMessage(window, WM_CLOSE, 0, 0);
}

std::string Desk::Report() const {
  std::ostringstream out;
  for (const SeenDialog& box : boxes_) out << "box [" << box.caption << "] " << box.Text() << "\n";
  for (const SeenDialog& dialog : unexpected_) out << "unexpected " << dialog.className << " [" << dialog.caption << "] " << dialog.Text() << "\n";
  for (const auto& [caption, act] : expected_) out << "never shown: " << caption << "\n";
  return out.str();
}

void Desk::Pump() {
  brambolt::test::RunUntilIdle();
  if (app_ != nullptr) {
    for (LONG count = 0; count < 4 && app_->OnIdle(count); ++count) {
    }
  }
  brambolt::test::RunUntilIdle();
}

bool Desk::PumpUntil(const std::function<bool()>& done) {
  // A bound in real time, not in rounds: on a loaded machine a worker (a documentation run, the
  // help compiler) may take many times longer than on a quiet one, and each round costs more too.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(180);
  while (std::chrono::steady_clock::now() < deadline) {
    Pump();
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Pump();
  return done();
}

bool Desk::Pick(HWND hDlg, int nId, const std::string& text) {
  const HWND box = Item(hDlg, nId);
  const int count = static_cast<int>(::SendMessage(box, CB_GETCOUNT, 0, 0));
  int target = -1;
  for (int i = 0; i < count && target < 0; ++i) {
    char item[512] = {};
    ::SendMessage(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    if (std::string(item).rfind(text, 0) == 0) target = i;
  }
  if (target < 0) return false;
  // A click drops the list; the arrow keys walk it and Enter takes the item.
  ClickItem(hDlg, nId);
  // With nothing selected (-1) the first Down only reaches item 0.
  const int current = static_cast<int>(::SendMessage(box, CB_GETCURSEL, 0, 0));
  for (int i = current; i < target; ++i) brambolt::test::PressKey(VK_DOWN);
  for (int i = current; i > target; --i) brambolt::test::PressKey(VK_UP);
  brambolt::test::PressKey(VK_RETURN);
  return static_cast<int>(::SendMessage(box, CB_GETCURSEL, 0, 0)) == target;
}

void Desk::Press(UINT vk, UINT mods) {
  brambolt::test::PressKey(vk, mods);
  Pump();
}

void Desk::Menu(char menu, const std::string& items) {
  MenuKeys(menu, std::vector<UINT>(items.begin(), items.end()));
}

void Desk::MenuKeys(char menu, const std::vector<UINT>& keys) {
  ExpectMenu(keys);
  Press(static_cast<UINT>(menu), brambolt::test::kAlt);
}

void Desk::ExpectMenu(const std::vector<UINT>& keys) {
  // The menu tracks in a loop of its own; the keys are pressed there (letters as typed).
  expectedRunning_.push_front(false);
  expected_.emplace_front("", [keys](HWND) {
    for (UINT key : keys) {
      if (key >= 'a' && key <= 'z')
        brambolt::test::TypeText(std::string(1, static_cast<char>(key)));
      else
        brambolt::test::PressKey(key);
    }
  });
  expectedClass_.push_front("#32768");
}

void Desk::Type(const std::string& text) {
  brambolt::test::TypeText(text);
  Pump();
}

std::string Desk::Folder(const std::string& name) const {
  const std::string path = stores_.TempDir() + "/" + name;
  fs::create_directories(path);
  return path;
}

std::string Desk::Gallery() {
  const fs::path gallery = fs::path(static_cast<const char*>(CInkwrightApp::GetProgramFolder())).parent_path().parent_path() /
                           "gallery" / "headless";
  fs::create_directories(gallery);
  return gallery.string();
}

void Desk::Snapshot(HWND hwnd, const std::string& name) const {
  brambolt::test::SaveWindowPng(hwnd, Gallery() + "/" + name + ".png");
}

}  // namespace e2e
