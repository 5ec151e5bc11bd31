// What the list and tree tests share: a session with a recording parent window and a list (or
// tree) created in it, and helpers that read the parent's notifications.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx.h"
#include "testing/testing.h"
#include "widgets/SECListCtrl.h"

namespace widgets_testing {

// The codes of the WM_NOTIFY records the parent got, in order.
inline std::vector<int> NotifyCodes(const brambolt::test::NotificationRecorder& parent) {
  std::vector<int> codes;
  for (const auto& record : parent.Records()) {
    if (record.message == WM_NOTIFY) codes.push_back(static_cast<int>(record.code));
  }
  return codes;
}

inline int CountCode(const brambolt::test::NotificationRecorder& parent, UINT code) {
  int count = 0;
  for (const auto& record : parent.Records()) count += record.message == WM_NOTIFY && record.code == code;
  return count;
}

// A list control in a recording parent; the list is 300 x 200 unless the test says otherwise.
template <class List>
class ListHost {
 public:
  explicit ListHost(DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect rect = CRect(0, 0, 300, 200),
                    DWORD exStyle = 0)
      : parent(400, 300) {
    ::ShowWindow(parent.Hwnd(), SW_SHOW);
    list.Create(style, exStyle, rect, CWnd::FromHandle(parent.Hwnd()), 77);
  }
  HWND Hwnd() const { return list.GetSafeHwnd(); }
  std::vector<int> Selection() const { return list.GetSelection(); }

  brambolt::test::UiSession session;
  brambolt::test::NotificationRecorder parent;
  List list;
};

// Fills a report list with one column and the given labels.
template <class List>
void FillLabels(List& list, const std::vector<std::string>& labels, int width = 200) {
  if (list.GetColumnCount() == 0) list.InsertColumn(0, "Name", LVCFMT_LEFT, width);
  for (const std::string& label : labels) list.InsertItem(list.GetItemCount(), label.c_str());
}

}  // namespace widgets_testing
