#include "WinTestSupport.h"

namespace wintest {

MessageLog& MessageLog::Instance() {
  static MessageLog log;
  return log;
}

void MessageLog::Add(const Logged& m) {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.push_back(m);
}

std::vector<Logged> MessageLog::All() {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

std::vector<UINT> MessageLog::For(HWND hwnd, const std::vector<UINT>& interesting) {
  std::vector<UINT> out;
  for (const Logged& m : All()) {
    if (m.hwnd != hwnd) continue;
    if (!interesting.empty() &&
        std::find(interesting.begin(), interesting.end(), m.msg) == interesting.end())
      continue;
    out.push_back(m.msg);
  }
  return out;
}

std::vector<std::pair<HWND, UINT>> MessageLog::Sequence(const std::vector<UINT>& interesting) {
  std::vector<std::pair<HWND, UINT>> out;
  for (const Logged& m : All())
    if (std::find(interesting.begin(), interesting.end(), m.msg) != interesting.end())
      out.emplace_back(m.hwnd, m.msg);
  return out;
}

void MessageLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.clear();
}

void MessageLog::SetHandler(Handler h) {
  std::lock_guard<std::mutex> lock(mutex_);
  handler_ = std::move(h);
}

LRESULT MessageLog::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Add(Logged{hwnd, msg, wParam, lParam});
  Handler h;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    h = handler_;
  }
  LRESULT result = 0;
  if (h && h(hwnd, msg, wParam, lParam, result)) return result;
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return MessageLog::Instance().Dispatch(hwnd, msg, wParam, lParam);
}

const char* LoggingClass() {
  static const char* name = [] {
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = LoggingProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = "LogWnd";
    wc.cbWndExtra = 16;
    wc.cbClsExtra = 8;
    RegisterClass(&wc);
    return "LogWnd";
  }();
  return name;
}

HWND MakeWindow(HWND parent, DWORD style, RECT r, int id, DWORD exStyle) {
  if (parent && !(style & WS_POPUP)) style |= WS_CHILD;
  return CreateWindowEx(exStyle, LoggingClass(), "w", style, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

std::vector<Logged> Of(HWND w, UINT msg) {
  std::vector<Logged> out;
  for (const Logged& m : MessageLog::Instance().All())
    if (m.hwnd == w && m.msg == msg) out.push_back(m);
  return out;
}

void WinTest::SetUp() {
  session = new brambolt::test::UiSession;
  MessageLog::Instance().Clear();
  MessageLog::Instance().SetHandler(nullptr);
}

void WinTest::TearDown() {
  MessageLog::Instance().SetHandler(nullptr);
  delete session;
  MessageLog::Instance().Clear();
}

}  // namespace wintest
