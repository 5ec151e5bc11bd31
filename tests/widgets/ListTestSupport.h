// What the list and tree tests share: a session with a parent window that records the
// notifications of its children and answers them from a table, a list (or tree) created in it,
// and points on its rows.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "testing/testing.h"
#include "widgets/SECListCtrl.h"

namespace widgets_testing {

class ListParent : public CWnd {
 public:
  struct Note {
    UINT code = 0;
    int item = -1;       // row of list notifications
    int subItem = -1;
    std::string text;    // the text a label-edit notification carried
    bool hasText = false;
    UINT action = 0;     // tree notifications
    HTREEITEM hNew = nullptr, hOld = nullptr;
    UINT newState = 0;
    WORD key = 0;
  };

  ListParent() {
    CreateEx(0, AfxRegisterWndClass(0), "parent", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 420, 320, nullptr, nullptr);
    ::SetActiveWindow(GetSafeHwnd());
  }
  ~ListParent() override {
    if (GetSafeHwnd() != nullptr) DestroyWindow();
  }

  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const Note& note : notes) codes.push_back(note.code);
    return codes;
  }
  int Count(UINT code) const {
    int count = 0;
    for (const Note& note : notes) count += note.code == code;
    return count;
  }
  const Note* Last(UINT code) const {
    for (auto it = notes.rbegin(); it != notes.rend(); ++it) {
      if (it->code == code) return &*it;
    }
    return nullptr;
  }

  std::vector<Note> notes;
  std::map<UINT, LRESULT> answers;
  // Runs for every notification before it is answered (to change a structure, say).
  std::function<void(NMHDR*)> onNotify;

 protected:
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    Note note;
    note.code = hdr->code;
    if (hdr->code == LVN_BEGINLABELEDIT || hdr->code == LVN_ENDLABELEDIT) {
      auto* info = reinterpret_cast<NMLVDISPINFO*>(lParam);
      note.item = info->item.iItem;
      note.subItem = info->item.iSubItem;
      note.hasText = info->item.pszText != nullptr;
      if (note.hasText) note.text = info->item.pszText;
    } else if (hdr->code == LVN_COLUMNCLICK || hdr->code == LVN_DELETEITEM || hdr->code == LVN_INSERTITEM) {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(lParam);
      note.item = nm->iItem;
      note.subItem = nm->iSubItem;
    } else if (hdr->code == LVN_KEYDOWN) {
      note.key = reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey;
    } else if (hdr->code <= TVN_FIRST && hdr->code >= TVN_FIRST - 20) {
      if (hdr->code == TVN_GETDISPINFO || hdr->code == TVN_SETDISPINFO || hdr->code == TVN_BEGINLABELEDIT ||
          hdr->code == TVN_ENDLABELEDIT) {
        auto* info = reinterpret_cast<NMTVDISPINFO*>(lParam);
        note.hNew = info->item.hItem;
        note.hasText = info->item.pszText != nullptr && info->item.pszText != LPSTR_TEXTCALLBACK;
        if (note.hasText && hdr->code != TVN_GETDISPINFO) note.text = info->item.pszText;
      } else if (hdr->code == TVN_KEYDOWN) {
        note.key = reinterpret_cast<NMTVKEYDOWN*>(lParam)->wVKey;
      } else {
        auto* nm = reinterpret_cast<NMTREEVIEW*>(lParam);
        note.action = nm->action;
        note.hNew = nm->itemNew.hItem;
        note.hOld = nm->itemOld.hItem;
        note.newState = nm->itemNew.state;
      }
    }
    notes.push_back(note);
    if (onNotify) onNotify(hdr);
    auto answer = answers.find(hdr->code);
    *pResult = answer != answers.end() ? answer->second : 0;
    return TRUE;
  }
};

// A list control in a recording parent; the list is 300 x 200 unless the test says otherwise.
template <class List>
class ListHost {
 public:
  explicit ListHost(DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect rect = CRect(0, 0, 300, 200),
                    DWORD exStyle = 0) {
    list.Create(style, exStyle, rect, &parent, 77);
    brambolt::test::RunUntilIdle();
  }
  HWND Hwnd() const { return list.GetSafeHwnd(); }
  std::vector<int> Selection() const { return list.GetSelection(); }

  brambolt::test::UiSession session;
  ListParent parent;
  List list;
};

// Fills a report list with one column and the given labels.
template <class List>
void FillLabels(List& list, const std::vector<std::string>& labels, int width = 200) {
  if (list.GetColumnCount() == 0) list.InsertColumn(0, "Name", LVCFMT_LEFT, width);
  for (const std::string& label : labels) list.InsertItem(list.GetItemCount(), label.c_str());
}

// The middle of a row's label, in the list's client coordinates.
template <class List>
POINT LabelPoint(List& list, int row, int col = 0) {
  CRect rect;
  EXPECT_TRUE(list.GetSubItemRect(row, col, &rect, 2)) << "row " << row;
  return {rect.left + std::min(8, static_cast<int>(rect.Width()) / 2), (rect.top + rect.bottom) / 2};
}

// The in-place edit box of a list or tree, in the list's client coordinates.
template <class List>
CRect EditRect(List& list) {
  CRect rect;
  CEdit* edit = list.GetEditWindow();
  EXPECT_NE(edit, nullptr);
  if (edit == nullptr) return rect;
  edit->GetWindowRect(&rect);
  list.ScreenToClient(&rect);
  return rect;
}

// Image 0 of an image list drawn on white, as rows of pixels.
inline std::vector<std::vector<COLORREF>> RenderImage(CImageList& images) {
  int cx = 0, cy = 0;
  EXPECT_TRUE(images.GetIconSize(&cx, &cy));
  std::vector<std::vector<COLORREF>> pixels;
  CDC screen, dc;
  screen.CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  dc.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  if (cx <= 0 || cy <= 0 || !bitmap.CreateCompatibleBitmap(&screen, cx, cy)) return pixels;
  CBitmap* old = dc.SelectObject(&bitmap);
  dc.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
  images.Draw(&dc, 0, CPoint(0, 0), ILD_NORMAL);
  for (int y = 0; y < cy; ++y) {
    pixels.emplace_back();
    for (int x = 0; x < cx; ++x) pixels.back().push_back(dc.GetPixel(x, y));
  }
  dc.SelectObject(old);
  return pixels;
}

// A 32 x 32 image list of one solid image of `color`.
inline void MakeSolidImage(CImageList& images, COLORREF color, int size = 32) {
  ASSERT_TRUE(images.Create(size, size, ILC_COLOR24, 1, 1));
  CDC screen, memory;
  screen.CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, size, size);
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, size, size, color);
  memory.SelectObject(old);
  ASSERT_EQ(images.Add(&bitmap, static_cast<CBitmap*>(nullptr)), 0);
}

}  // namespace widgets_testing
