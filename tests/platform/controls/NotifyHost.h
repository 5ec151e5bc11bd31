// A parent window for the header and list-view tests: it records every WM_NOTIFY with the fields
// of the list-view and header structures, and lets a test answer each one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/controls.h"

namespace ctltest {

class NotifyHost {
 public:
  struct Note {
    UINT code = 0;
    HWND from = nullptr;
    UINT_PTR id = 0;
    int item = -1;      // iItem of NMLISTVIEW, NMITEMACTIVATE, NMLVDISPINFO or NMHEADER; iFrom of NMLVODSTATECHANGE
    int to = -1;        // NMLVODSTATECHANGE: iTo
    int subItem = 0;    // iSubItem (list-view)
    UINT newState = 0;  // NMLISTVIEW
    UINT oldState = 0;
    UINT changed = 0;
    POINT action{0, 0};
    int width = -1;     // NMHEADER: pitem->cxy when the item carries HDI_WIDTH
    WORD key = 0;       // NMLVKEYDOWN
    bool hasText = false;  // NMLVDISPINFO of label editing: pszText given, and what it held
    std::string text;
  };

  NotifyHost(int width = 480, int height = 360);
  ~NotifyHost();
  NotifyHost(const NotifyHost&) = delete;
  NotifyHost& operator=(const NotifyHost&) = delete;

  HWND Hwnd() const { return hwnd_; }
  // Answers WM_NOTIFY; the default answers 0.
  std::function<LRESULT(NMHDR*)> answer;
  std::vector<Note> notes;
  // The codes received, in order, leaving out LVN_GETDISPINFO unless asked.
  std::vector<UINT> Codes(bool withDisplayInfo = false) const;
  // The notes with one code.
  std::vector<Note> Of(UINT code) const;
  void Clear() { notes.clear(); }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
};

}  // namespace ctltest
