// The test harness of the user-interface layer.
#include "testing/UiTest.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <filesystem>

#include <strings.h>

#include "base/Clock.h"
#include "os/FileApi.h"
#include "os/Threads.h"
#include "gdi/Surface.h"
#include "gdi/SysColors.h"
#include "win/Input.h"
#include "win/ModalLoop.h"
#include "win/Surfaces.h"
#include "win/WinSystem.h"
#include "win/WinKeys.h"

namespace brambolt::test {
namespace {

void DestroyThreadWindows() {
  std::vector<HWND> mine;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&mine));
  for (HWND h : mine)
    if (IsWindow(h)) DestroyWindow(h);
}

void WithModifiers(UINT mods, bool down) {
  if (mods & kCtrl) InjectKey(VK_CONTROL, down);
  if (mods & kShift) InjectKey(VK_SHIFT, down);
  if (mods & kAlt) InjectKey(VK_MENU, down);
}

UINT UpOf(UINT down) { return down + 1; }

}  // namespace

UiSession::UiSession() : backend_(std::make_shared<HeadlessBackend>()) {
  SetBackend(backend_);
  ResetInputState();
  ResetSystemParameters();
  RunUntilIdle();
}

UiSession::~UiSession() {
  DestroyThreadWindows();
  RunUntilIdle();
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  ResetInputState();
  ResetSystemParameters();
  SetBackend(nullptr);
}

int RunUntilIdle(int limit) {
  int count = 0;
  MSG msg;
  while (count < limit) {
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (PendingInputEvents() == 0) break;
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ++count;
    if (ApplyLoopFilter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return count;
}

void AdvanceClock(DWORD milliseconds) {
  RunUntilIdle();
  DWORD left = milliseconds;
  while (left > 0) {
    DWORD next = ThreadTimerDelay();
    DWORD step = next == INFINITE || next > left ? left : std::max<DWORD>(next, 1);
    VirtualClock::Advance(step);
    left -= step;
    RunUntilIdle();
  }
}

POINT ScreenPoint(HWND hwnd, POINT client) {
  ClientToScreen(hwnd, &client);
  return client;
}

void MoveMouseAt(POINT screen) {
  InjectMouseMove(screen);
  RunUntilIdle();
}

void MoveMouse(HWND hwnd, POINT client) { MoveMouseAt(ScreenPoint(hwnd, client)); }

void ClickAt(POINT screen, UINT mods, UINT button) {
  WithModifiers(mods, true);
  InjectMouseMove(screen);
  InjectMouseButton(button, screen);
  InjectMouseButton(UpOf(button), screen);
  WithModifiers(mods, false);
  RunUntilIdle();
}

void Click(HWND hwnd, POINT client, UINT mods, UINT button) {
  ClickAt(ScreenPoint(hwnd, client), mods, button);
}

void DoubleClick(HWND hwnd, POINT client, UINT mods) {
  POINT p = ScreenPoint(hwnd, client);
  WithModifiers(mods, true);
  InjectMouseMove(p);
  InjectMouseButton(WM_LBUTTONDOWN, p);
  InjectMouseButton(WM_LBUTTONUP, p);
  InjectMouseButton(WM_LBUTTONDOWN, p);
  InjectMouseButton(WM_LBUTTONUP, p);
  WithModifiers(mods, false);
  RunUntilIdle();
}

void ButtonDown(HWND hwnd, POINT client, UINT button) {
  POINT p = ScreenPoint(hwnd, client);
  InjectMouseMove(p);
  InjectMouseButton(button, p);
  RunUntilIdle();
}

void ButtonUp(HWND hwnd, POINT client, UINT button) {
  POINT p = ScreenPoint(hwnd, client);
  InjectMouseMove(p);
  InjectMouseButton(UpOf(button), p);
  RunUntilIdle();
}

void Drag(HWND hwnd, POINT from, POINT to, int steps, UINT mods) {
  POINT a = ScreenPoint(hwnd, from), b = ScreenPoint(hwnd, to);
  if (steps < 1) steps = 1;
  WithModifiers(mods, true);
  InjectMouseMove(a);
  InjectMouseButton(WM_LBUTTONDOWN, a);
  for (int i = 1; i <= steps; ++i)
    InjectMouseMove(POINT{a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps});
  InjectMouseButton(WM_LBUTTONUP, b);
  WithModifiers(mods, false);
  RunUntilIdle();
}

void Wheel(HWND hwnd, POINT client, int delta) {
  POINT p = ScreenPoint(hwnd, client);
  InjectMouseMove(p);
  InjectMouseWheel(p, delta);
  RunUntilIdle();
}

void KeyDown(UINT vk) {
  InjectKey(vk, true);
  RunUntilIdle();
}

void KeyUp(UINT vk) {
  InjectKey(vk, false);
  RunUntilIdle();
}

void PressKey(UINT vk, UINT mods) {
  WithModifiers(mods, true);
  InjectKey(vk, true);
  InjectKey(vk, false);
  WithModifiers(mods, false);
  RunUntilIdle();
}

void TypeText(const std::string& ansi) {
  for (size_t i = 0; i < ansi.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(ansi[i]);
    SHORT scan = c < 0x80 ? VkKeyScan(static_cast<CHAR>(c)) : -1;
    if (scan == -1) {
      // A byte the keyboard cannot type (a double-byte character): it comes as characters.
      size_t n = brambolt::CharacterLength(ansi, i);
      InjectCharacters(ansi.substr(i, n));
      i += n - 1;
      continue;
    }
    UINT mods = ((scan >> 8) & 1 ? UINT{kShift} : 0u) | ((scan >> 8) & 2 ? UINT{kCtrl} : 0u);
    WithModifiers(mods, true);
    InjectKey(scan & 0xFF, true);
    InjectKey(scan & 0xFF, false);
    WithModifiers(mods, false);
  }
  RunUntilIdle();
}

// --- The scripted input method

ScriptedInputMethod::ScriptedInputMethod(UiSession& session) : backend_(session.Backend()) {
  backend_.SetInputMethod(true);
}

ScriptedInputMethod::~ScriptedInputMethod() { backend_.SetInputMethod(false); }

void ScriptedInputMethod::Start() {
  InjectCompositionStart();
  RunUntilIdle();
}

void ScriptedInputMethod::Commit(const std::string& utf8) {
  InjectCompositionCommit(utf8);
  RunUntilIdle();
}

// --- Scripts

UiScript::UiScript() {
  SetIdleWaitHook([this]() {
    if (next_ >= steps_.size()) {
      // The thread is about to block for good unless another thread wakes it: say so, since a
      // script one step short otherwise shows only as a test that never ends.
      if (!reportedEnd_ && ThreadTimerDelay() == INFINITE) {
        reportedEnd_ = true;
        std::fprintf(stderr, "UiScript: all %zu steps ran and the thread now waits with nothing to do\n",
                     steps_.size());
      }
      return false;
    }
    std::function<void()> step = steps_[next_++];
    step();
    return true;
  });
}

UiScript::~UiScript() { SetIdleWaitHook(nullptr); }

UiScript& UiScript::Then(std::function<void()> step) {
  steps_.push_back(std::move(step));
  return *this;
}

// --- Modal answers

ModalAnswers::ModalAnswers() {
  observer_ = AddModalLoopObserver([this](HWND window) { OnLoop(window); });
}

ModalAnswers::~ModalAnswers() { RemoveModalLoopObserver(observer_); }

void ModalAnswers::When(const char* className, const char* caption, Action action, bool repeat) {
  rules_.push_back(Rule{className ? className : "", className == nullptr, caption ? caption : "",
                        caption == nullptr, std::move(action), repeat});
}

void ModalAnswers::OnLoop(HWND window) {
  char cls[256] = {}, text[1024] = {};
  GetClassName(window, cls, sizeof(cls));
  GetWindowText(window, text, sizeof(text));
  for (size_t i = 0; i < rules_.size(); ++i) {
    Rule& r = rules_[i];
    if (!r.anyClass && strcasecmp(r.className.c_str(), cls) != 0) continue;
    if (!r.anyCaption && r.caption != text) continue;
    Action action = r.action;
    if (!r.repeat) rules_.erase(rules_.begin() + static_cast<std::ptrdiff_t>(i));
    action(window);
    return;
  }
  unanswered_.push_back(window);
}

// --- Notification recorder

namespace {
const char* kRecorderClass = "BramboltNotificationRecorder";
}

NotificationRecorder::NotificationRecorder(int width, int height) {
  WNDCLASS wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = kRecorderClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
  RegisterClass(&wc);
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
  hwnd_ = CreateWindowEx(0, kRecorderClass, "Recorder", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                         40, 40, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, this);
  SetWindowLongPtr(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  RunUntilIdle();
}

NotificationRecorder::~NotificationRecorder() {
  if (IsWindow(hwnd_)) {
    SetWindowLongPtr(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void NotificationRecorder::Watch(UINT message) { watched_.push_back(message); }

void NotificationRecorder::ExpectStructure(UINT code, size_t size) { sizes_.emplace_back(code, size); }

LRESULT CALLBACK NotificationRecorder::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NotificationRecorder*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  bool watched = msg == WM_COMMAND || msg == WM_NOTIFY || msg >= 0xC000 ||
                 std::find(self->watched_.begin(), self->watched_.end(), msg) != self->watched_.end();
  if (!watched) return DefWindowProc(hwnd, msg, wParam, lParam);
  Record r{msg, wParam, lParam, nullptr, 0, 0, {}};
  if (msg == WM_COMMAND) {
    r.from = reinterpret_cast<HWND>(lParam);
    r.id = LOWORD(wParam);
    r.code = HIWORD(wParam);
  } else if (msg == WM_NOTIFY && lParam) {
    const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
    r.from = nm->hwndFrom;
    r.id = nm->idFrom;
    r.code = nm->code;
    size_t size = sizeof(NMHDR);
    for (auto& [code, s] : self->sizes_)
      if (code == nm->code) size = s;
    const BYTE* p = reinterpret_cast<const BYTE*>(lParam);
    r.data.assign(p, p + size);
  }
  self->records_.push_back(std::move(r));
  if (msg == WM_COMMAND) return 0;
  return self->result_;
}

// --- Private stores

PrivateStores::PrivateStores() {
  std::string base = std::filesystem::temp_directory_path().string() + "/brambolt-test-XXXXXX";
  std::vector<char> buffer(base.begin(), base.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) return;
  root_ = buffer.data();
  registry_ = root_ + "/registry";
  temp_ = root_ + "/temp";
  std::filesystem::create_directories(registry_);
  std::filesystem::create_directories(temp_);
  std::filesystem::create_directories(root_ + "/profile");
  auto set = [this](const char* name, const std::string& value) {
    if (const char* old = std::getenv(name))
      saved_.emplace_back(name, old);
    else
      unset_.emplace_back(name);
    setenv(name, value.c_str(), 1);
  };
  // The Windows directory the program would use, with its language files, before it is replaced.
  char windows[4096];
  const UINT n = GetWindowsDirectory(windows, sizeof windows);
  const std::string privateWindows = root_ + "/system";
  std::filesystem::create_directories(privateWindows);
  std::error_code ignored;
  if (n > 0 && n < sizeof windows && std::filesystem::is_directory(std::string(windows, n) + "/DocSys"))
    std::filesystem::create_directory_symlink(std::string(windows, n) + "/DocSys", privateWindows + "/DocSys", ignored);
  set("BRAMBOLT_WINDOWS_DIR", privateWindows);
  set("BRAMBOLT_REGISTRY_DIR", registry_);
  set("XDG_CONFIG_HOME", root_ + "/profile");
  set("XDG_DATA_HOME", root_ + "/data");
  set("XDG_CACHE_HOME", root_ + "/cache");
  set("TMPDIR", temp_);
}

PrivateStores::~PrivateStores() {
  for (auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
  for (auto& name : unset_) unsetenv(name.c_str());
  std::error_code ignored;
  if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
}

// --- Snapshots

bool SaveWindowPng(HWND hwnd, const std::string& path) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  SurfacePtr surface = GetWindowSurface(top);
  if (!surface) return false;
  if (top == hwnd) return SavePng(*surface, path.c_str());
  RECT tr, wr;
  GetWindowRect(top, &tr);
  GetWindowRect(hwnd, &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  Surface part(std::max(w, 1), std::max(h, 1));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      part.SetPixel(x, y, surface->GetPixel(wr.left - tr.left + x, wr.top - tr.top + y));
  return SavePng(part, path.c_str());
}

bool SaveScreenPng(const std::string& path) {
  Surface screen(1, 1);
  ComposeScreen(screen);
  return SavePng(screen, path.c_str());
}

COLORREF WindowPixel(HWND hwnd, int x, int y) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  SurfacePtr surface = GetWindowSurface(top);
  if (!surface) return CLR_INVALID;
  RECT tr, wr;
  GetWindowRect(top, &tr);
  GetWindowRect(hwnd, &wr);
  return surface->GetColor(wr.left - tr.left + x, wr.top - tr.top + y);
}

HangWatchdog::HangWatchdog(std::string what, int seconds) {
  thread_ = std::thread([this, what = std::move(what), seconds] {
    std::unique_lock lock(mutex_);
    if (done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; })) return;
    std::fprintf(stderr, "FAILED: %s did not return within %d s\n", what.c_str(), seconds);
    std::fflush(stderr);
    std::_Exit(1);
  });
}

HangWatchdog::~HangWatchdog() {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  done_.notify_all();
  thread_.join();
}

}  // namespace brambolt::test
