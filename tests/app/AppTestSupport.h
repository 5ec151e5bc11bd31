// What the application library's window tests share: a framework window to put controls in, a
// recorder of the message boxes shown, and a loop that waits for work on another thread.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "afx/afx.h"
#include "testing/testing.h"

namespace apptest {

class Host : public CWnd {
 public:
  explicit Host(int cx = 400, int cy = 300) {
    CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr);
  }
  ~Host() override {
    if (m_hWnd != nullptr) DestroyWindow();
  }
};

// The message boxes shown while it lives (texts and styles), answered in turn with the answers
// given, then with IDOK.
class BoxRecorder {
 public:
  struct Box {
    std::string text;
    UINT type;
    std::string caption;
  };
  explicit BoxRecorder(std::deque<int> answers = {}) {
    Boxes().clear();
    Answers() = std::move(answers);
    brambolt::afx::SetMessageBoxPresenter(&Record);
  }
  ~BoxRecorder() { brambolt::afx::SetMessageBoxPresenter(nullptr); }
  static std::vector<Box>& Boxes() {
    static std::vector<Box> boxes;
    return boxes;
  }
  void Answer(int nAnswer) { Answers().push_back(nAnswer); }

 private:
  static std::deque<int>& Answers() {
    static std::deque<int> answers;
    return answers;
  }
  static int Record(HWND, LPCTSTR text, LPCTSTR caption, UINT type) {
    Boxes().push_back({text, type, caption != nullptr ? caption : ""});
    if (Answers().empty()) return IDOK;
    const int nAnswer = Answers().front();
    Answers().pop_front();
    return nAnswer;
  }
};

// The text of a dialog's control.
inline std::string DlgText(HWND hDlg, int nId) {
  char sz[1024] = {};
  ::GetDlgItemText(hDlg, nId, sz, sizeof sz);
  return sz;
}

// The notification a control sends its dialog (a button's click by default).
inline void DlgCommand(HWND hDlg, int nId, int nCode = BN_CLICKED) {
  ::SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nId)));
}

// Runs the message loop until `done` holds, giving other threads real time between rounds;
// `eachRound` may move the virtual clock. False when it does not happen within a minute of real
// time (a bound in time, not in rounds, so a loaded machine gets as long as a quiet one).
inline bool PumpUntil(const std::function<bool()>& done, const std::function<void()>& eachRound = {}) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    brambolt::test::RunUntilIdle();
    if (done()) return true;
    if (eachRound) eachRound();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

}  // namespace apptest
