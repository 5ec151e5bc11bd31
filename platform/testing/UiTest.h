// What a test needs to act as a person on the user-interface thread: a clean headless session on
// the virtual clock, input at a window or a screen point (entering as the X11 backend's does),
// running the message loop until idle, advancing time, answering modal loops from a script,
// recording a parent's notifications, private stores and PNG snapshots.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "backend/HeadlessBackend.h"
#include "base/Clock.h"
#include "win/WinUser.h"

namespace brambolt::test {

// Modifier keys held around a click or a key press.
enum Modifiers : UINT { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

// A test's session: the headless backend, the virtual clock bound to this thread, no input state
// left from before; at the end every window of the thread is destroyed and the queue emptied.
class UiSession {
 public:
  UiSession();
  ~UiSession();
  UiSession(const UiSession&) = delete;
  UiSession& operator=(const UiSession&) = delete;

  HeadlessBackend& Backend() { return *backend_; }

 private:
  std::shared_ptr<HeadlessBackend> backend_;
  ScopedVirtualClock clock_;
};

// Dispatches every message waiting for this thread (sent, posted, input, paint, due timers) until
// none is left; returns how many were dispatched. Stops after `limit` as a guard against a window
// that keeps repainting.
int RunUntilIdle(int limit = 100000);
// Moves the virtual clock forward, stopping at each timer that falls due to run the loop, so
// timers fire as often as they would have in that time.
void AdvanceClock(DWORD milliseconds);

// Input at a point in a window's client area (screen points for the *At forms). Each call
// injects the events and runs until idle.
void MoveMouse(HWND hwnd, POINT client);
void MoveMouseAt(POINT screen);
void Click(HWND hwnd, POINT client, UINT mods = kNone, UINT button = WM_LBUTTONDOWN);
void ClickAt(POINT screen, UINT mods = kNone, UINT button = WM_LBUTTONDOWN);
void DoubleClick(HWND hwnd, POINT client, UINT mods = kNone);
void ButtonDown(HWND hwnd, POINT client, UINT button = WM_LBUTTONDOWN);
void ButtonUp(HWND hwnd, POINT client, UINT button = WM_LBUTTONDOWN);
void Drag(HWND hwnd, POINT from, POINT to, int steps = 4, UINT mods = kNone);
void Wheel(HWND hwnd, POINT client, int delta);
void KeyDown(UINT vk);
void KeyUp(UINT vk);
// Presses and releases a key with modifiers (Ctrl+S: PressKey('S', kCtrl)).
void PressKey(UINT vk, UINT mods = kNone);
// Types text in the ANSI code page: keys where the keyboard has them, characters otherwise.
void TypeText(const std::string& ansi);
// The screen point of a client point.
POINT ScreenPoint(HWND hwnd, POINT client);

// An input method scripted by the test, on the session's headless backend: while it lives every
// window has an input context. Start and Commit compose at the focus window as a person typing
// through an input method does, then run until idle; Window tells where the program last put the
// composition window (spot and area in its top-level window's coordinates) and with which font.
class ScriptedInputMethod {
 public:
  explicit ScriptedInputMethod(UiSession& session);
  ~ScriptedInputMethod();
  ScriptedInputMethod(const ScriptedInputMethod&) = delete;
  ScriptedInputMethod& operator=(const ScriptedInputMethod&) = delete;
  void Start();
  // The text is UTF-8; characters the ANSI code page lacks are dropped with a beep.
  void Commit(const std::string& utf8);
  HeadlessBackend::CompositionWindow Window() const { return backend_.Composition(); }

 private:
  HeadlessBackend& backend_;
};

// What happens next while the user-interface thread sits in a loop of its own (a modal dialog, a
// drag, a tracking loop): each time it would wait with nothing to do, the next step runs. Steps
// inject input, move the clock (brambolt::VirtualClock::Advance) or check state.
class UiScript {
 public:
  UiScript();
  ~UiScript();
  UiScript(const UiScript&) = delete;
  UiScript& operator=(const UiScript&) = delete;
  UiScript& Then(std::function<void()> step);
  size_t Remaining() const { return steps_.size() - next_; }

 private:
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  bool reportedEnd_ = false;
};

// Answers modal loops from a script: when a loop starts for a window that matches, its action
// runs inside the loop (and typically ends it). Rules are used once unless `repeat` is set; the
// answers stop when the object dies.
class ModalAnswers {
 public:
  using Action = std::function<void(HWND window)>;
  ModalAnswers();
  ~ModalAnswers();
  ModalAnswers(const ModalAnswers&) = delete;
  ModalAnswers& operator=(const ModalAnswers&) = delete;

  // Null strings match anything; names compare without case, captions exactly.
  void When(const char* className, const char* caption, Action action, bool repeat = false);
  // Windows whose loops started and found no rule.
  const std::vector<HWND>& Unanswered() const { return unanswered_; }

 private:
  struct Rule {
    std::string className;
    bool anyClass;
    std::string caption;
    bool anyCaption;
    Action action;
    bool repeat;
  };
  void OnLoop(HWND window);
  std::vector<Rule> rules_;
  std::vector<HWND> unanswered_;
  int observer_ = 0;
};

// A parent window that records the notifications its children send it.
class NotificationRecorder {
 public:
  struct Record {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    HWND from;       // the control (lParam of WM_COMMAND, hwndFrom of WM_NOTIFY)
    UINT_PTR id;     // LOWORD(wParam) for WM_COMMAND, idFrom for WM_NOTIFY
    UINT code;       // the notification code
    std::vector<BYTE> data;  // a copy of the structure that came with it (see ExpectStructure)
  };

  // The recorder is a visible top-level window of the given client size.
  explicit NotificationRecorder(int width = 400, int height = 300);
  ~NotificationRecorder();
  NotificationRecorder(const NotificationRecorder&) = delete;
  NotificationRecorder& operator=(const NotificationRecorder&) = delete;

  HWND Hwnd() const { return hwnd_; }
  // Also record `message` (WM_COMMAND, WM_NOTIFY and registered messages always are).
  void Watch(UINT message);
  // Copy `size` bytes of the lParam structure for WM_NOTIFY `code` (NMHDR alone otherwise).
  void ExpectStructure(UINT code, size_t size);
  // What WM_NOTIFY (or a watched message) returns.
  void SetResult(LRESULT result) { result_ = result; }
  const std::vector<Record>& Records() const { return records_; }
  void Clear() { records_.clear(); }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  std::vector<UINT> watched_;
  std::vector<std::pair<UINT, size_t>> sizes_;
  std::vector<Record> records_;
  LRESULT result_ = 0;
};

// A private registry folder (BRAMBOLT_REGISTRY_DIR), profile folder (XDG_CONFIG_HOME), data folder
// (XDG_DATA_HOME), cache folder (XDG_CACHE_HOME), Windows directory (BRAMBOLT_WINDOWS_DIR, where a
// profile file with a bare name lives; the program's DocSys folder is linked into it) and
// temporary folder for the test, removed
// with everything in them at the end; the environment is restored. Tests running at the same time
// in other processes never share a file through them.
class PrivateStores {
 public:
  PrivateStores();
  ~PrivateStores();
  PrivateStores(const PrivateStores&) = delete;
  PrivateStores& operator=(const PrivateStores&) = delete;
  const std::string& Root() const { return root_; }
  const std::string& RegistryDir() const { return registry_; }
  const std::string& TempDir() const { return temp_; }

 private:
  std::string root_, registry_, temp_;
  std::vector<std::pair<std::string, std::string>> saved_;
  std::vector<std::string> unset_;
};

// Guards a call that must return: when the guard is still alive after `seconds` of real time, the
// test program reports `what` as a failure and ends with status 1 instead of hanging its run.
class HangWatchdog {
 public:
  explicit HangWatchdog(std::string what, int seconds = 20);
  ~HangWatchdog();
  HangWatchdog(const HangWatchdog&) = delete;
  HangWatchdog& operator=(const HangWatchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

// PNG snapshots: a window as its surface holds it (a child: its part of the top-level's surface),
// or the composed screen. False when the file cannot be written.
bool SaveWindowPng(HWND hwnd, const std::string& path);
bool SaveScreenPng(const std::string& path);
// The colour of a pixel of a window (window coordinates: 0,0 is its top-left corner).
COLORREF WindowPixel(HWND hwnd, int x, int y);

}  // namespace brambolt::test
