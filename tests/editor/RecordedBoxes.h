// The message boxes a test meets: each one's text read from its window and the box answered with
// the next queued button (OK when none is queued).
#pragma once

#include <strings.h>

#include <deque>
#include <string>
#include <vector>

#include "testing/UiTest.h"
#include "win/Dialog.h"
#include "win/WinUser.h"

namespace editortest {

class RecordedBoxes {
 public:
  RecordedBoxes() {
    answers_.When("#32770", nullptr, [this](HWND box) {
      std::string text;
      for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        ::GetClassName(child, name, sizeof name);
        if (::strcasecmp(name, "Static") != 0) continue;
        char label[4096] = {};
        ::GetWindowText(child, label, sizeof label);
        text += label;
      }
      texts.push_back(text);
      int answer = IDOK;
      if (!queued_.empty()) {
        answer = queued_.front();
        queued_.pop_front();
      }
      ::EndDialog(box, answer);
    }, true);
  }

  void Answer(int id) { queued_.push_back(id); }
  // The text of the last box, or "" when none was shown.
  std::string Last() const { return texts.empty() ? std::string() : texts.back(); }

  std::vector<std::string> texts;

 private:
  std::deque<int> queued_;
  brambolt::test::ModalAnswers answers_;
};

}  // namespace editortest
