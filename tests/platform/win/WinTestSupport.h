// Shared by the window-manager tests: a window class whose procedure logs every message and can
// be told to answer some messages itself.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "testing/UiTest.h"
#include "os/os.h"
#include "win/win.h"

namespace wintest {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// Messages received by windows of the logging class, from any thread, in order.
class MessageLog {
 public:
  static MessageLog& Instance();
  void Add(const Logged& m);
  std::vector<Logged> All();
  // The messages of one window that are in `interesting` (all when empty), in order.
  std::vector<UINT> For(HWND hwnd, const std::vector<UINT>& interesting = {});
  // (window, message) pairs for any window, limited to `interesting`.
  std::vector<std::pair<HWND, UINT>> Sequence(const std::vector<UINT>& interesting);
  void Clear();

  // A handler answers a message instead of DefWindowProc; it returns true when it did.
  using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;
  void SetHandler(Handler h);

  LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  std::mutex mutex_;
  std::vector<Logged> log_;
  Handler handler_;
};

// The logged messages `msg` of window `w`, with their parameters.
std::vector<Logged> Of(HWND w, UINT msg);

// Registers "LogWnd" (CS_DBLCLKS, white background) once.
const char* LoggingClass();
LRESULT CALLBACK LoggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates a logging window; top-level when parent is null.
HWND MakeWindow(HWND parent = nullptr, DWORD style = 0, RECT r = RECT{10, 10, 210, 160},
                int id = 0, DWORD exStyle = 0);

// Clears the log and the handler around each test, inside a headless session.
class WinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  brambolt::test::UiSession* session = nullptr;
};

}  // namespace wintest
