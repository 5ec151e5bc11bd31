// What the tab tests share: a parent window that records the tab notifications it receives,
// with a copy of the selection information that came with TABN_SELECT.
#pragma once

#include <vector>

#include "afx/afx.h"
#include "testing/testing.h"
#include "widgets/SECTabControlBase.h"

namespace widgets_test {

struct TabNote {
  UINT code;
  int index;
  bool hasInfo;
  TabSelectInfo info;
};

class TabParent : public CWnd {
 public:
  explicit TabParent(int cx = 400, int cy = 200) {
    CreateEx(0, AfxRegisterWndClass(0), "Tabs", WS_POPUP | WS_VISIBLE, 10, 10, cx, cy, nullptr, nullptr);
  }
  ~TabParent() override {
    if (m_hWnd != nullptr) DestroyWindow();
  }
  std::vector<TabNote> notes;
  int Count(UINT code) const {
    int n = 0;
    for (const TabNote& note : notes) n += note.code == code ? 1 : 0;
    return n;
  }

 protected:
  LRESULT Record(UINT code, WPARAM wParam, LPARAM lParam) {
    TabNote note{code, static_cast<int>(wParam), lParam != 0, {}};
    if (code == TABN_SELECT && lParam != 0) note.info = *reinterpret_cast<TabSelectInfo*>(lParam);
    notes.push_back(note);
    return 0;
  }
  afx_msg LRESULT OnSelect(WPARAM w, LPARAM l) { return Record(TABN_SELECT, w, l); }
  afx_msg LRESULT OnDblClk(WPARAM w, LPARAM l) { return Record(TABN_DBLCLK, w, l); }
  afx_msg LRESULT OnClearSel(WPARAM w, LPARAM l) { return Record(TABN_CLEARSEL, w, l); }
  afx_msg LRESULT OnReActivate(WPARAM w, LPARAM l) { return Record(TABN_REACTIVATE, w, l); }
  DECLARE_MESSAGE_MAP()
};

inline CRect ClientRectOf(const CWnd& wnd) {
  CRect rc;
  wnd.GetClientRect(&rc);
  return rc;
}

}  // namespace widgets_test
