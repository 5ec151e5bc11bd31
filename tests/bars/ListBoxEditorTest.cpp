// The list box editor: the strip over the list, the trailing row that takes new entries, in-place
// editing committed, emptied and cancelled, the picture buttons and keys that add, delete and
// move rows, dragging rows with and without a kept last row, and the hooks a derived editor gets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bars/SECListBoxEditor.h"
#include "testing/testing.h"

using namespace brambolt::test;
using brambolt::InjectMouseButton;
using brambolt::InjectMouseMove;

namespace {

constexpr UINT kListID = 300;

class RecordingEditor : public SECListBoxEditor {
 public:
  std::vector<std::string> events;

 protected:
  void OnBrowse() override { events.push_back("browse"); }
  void OnEditingStarted() override { events.push_back("start"); }
  void OnEditingStopped() override { events.push_back("stop"); }
  void OnItemAdded(int nIndex, const CString& strText) override {
    events.push_back("add " + std::to_string(nIndex) + " " + static_cast<LPCTSTR>(strText));
    SECListBoxEditor::OnItemAdded(nIndex, strText);
  }
  void OnItemChanged(int nIndex, const CString& strOld, const CString& strNew) override {
    events.push_back("change " + std::to_string(nIndex) + " " + static_cast<LPCTSTR>(strOld) + ">" +
                     static_cast<LPCTSTR>(strNew));
    SECListBoxEditor::OnItemChanged(nIndex, strOld, strNew);
  }
  void OnItemDeleted(int nIndex, const CString& strText) override {
    events.push_back("delete " + std::to_string(nIndex) + " " + static_cast<LPCTSTR>(strText));
  }
};

struct EditorFixture {
  UiSession session;
  NotificationRecorder parent{300, 260};
  RecordingEditor editor;
  CListBox* pList = nullptr;

  explicit EditorFixture(DWORD style = LBE_DEFAULT | LBE_SHORTCUTS,
                         std::vector<const char*> rows = {"alpha", "beta", "gamma"}) {
    // A plain list box, as a dialog would have it: the editor subclasses it.
    const HWND hList = ::CreateWindowEx(0, "LISTBOX", "",
                                        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY |
                                            LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                        10, 10, 200, 200, parent.Hwnd(),
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListID)), nullptr, nullptr);
    for (const char* row : rows) ::SendMessage(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    pList = editor.Initialize(CWnd::FromHandle(parent.Hwnd()), kListID, style);
    RunUntilIdle();
    parent.Clear();
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int i = 0; i < pList->GetCount(); ++i) {
      CString text;
      pList->GetText(i, text);
      rows.emplace_back(static_cast<LPCTSTR>(text));
    }
    return rows;
  }
  int Count(UINT code) const {
    int n = 0;
    for (const auto& r : parent.Records())
      n += r.message == WM_COMMAND && r.id == kListID && r.code == code ? 1 : 0;
    return n;
  }
  CPoint RowPoint(int row) const {
    CRect rc;
    pList->GetItemRect(row, &rc);
    return CPoint(rc.left + 20, rc.top + rc.Height() / 2);
  }
  void Select(int row) {
    pList->SetCurSel(row);
    pList->SetFocus();
  }
};

using Rows = std::vector<std::string>;

TEST(ListBoxEditor, StripSitsAboveTheListWhichKeepsATrailingRow) {
  EditorFixture f;
  ASSERT_NE(f.pList, nullptr);
  EXPECT_EQ(f.pList->GetSafeHwnd(), ::GetDlgItem(f.parent.Hwnd(), kListID));
  CRect strip, list;
  f.editor.GetWindowRect(&strip);
  f.pList->GetWindowRect(&list);
  EXPECT_EQ(strip.top, 10 + ScreenPoint(f.parent.Hwnd(), {0, 0}).y);
  EXPECT_EQ(list.top, strip.bottom + 2);
  EXPECT_EQ(strip.Width(), list.Width());
  EXPECT_EQ(f.Rows(), (Rows{"alpha", "beta", "gamma", ""}));
  // The four buttons are packed from the strip's right edge.
  EXPECT_EQ(f.editor.GetButtonRect(3).right, strip.Width());
  EXPECT_EQ(f.editor.GetButtonRect(2).right, f.editor.GetButtonRect(3).left);
  EXPECT_EQ(f.editor.GetButtonRect(0).right, f.editor.GetButtonRect(1).left);
  EXPECT_NE(WindowPixel(f.editor.GetSafeHwnd(), f.editor.GetButtonRect(1).left + 7, 7),
            ::GetSysColor(COLOR_BTNFACE));  // the delete picture is drawn

  // With the no-trailing-row style, nothing is appended.
  EditorFixture g(LBE_DEFAULT | LBE_NOTRAILINGBLANK);
  EXPECT_EQ(g.Rows(), (Rows{"alpha", "beta", "gamma"}));
  EXPECT_EQ(f.editor.Initialize(CWnd::FromHandle(f.parent.Hwnd()), 999), nullptr);
}

TEST(ListBoxEditor, TypingIntoTheTrailingRowAddsAnEntryAndANewTrailingRow) {
  EditorFixture f;
  f.Select(3);
  TypeText("delta");
  ASSERT_NE(f.editor.GetEdit(), nullptr);
  PressKey(VK_RETURN);
  EXPECT_EQ(f.editor.GetEdit(), nullptr);
  EXPECT_EQ(f.Rows(), (Rows{"alpha", "beta", "gamma", "delta", ""}));
  EXPECT_EQ(f.editor.events, (std::vector<std::string>{"start", "add 3 delta", "stop"}));
  EXPECT_GT(f.Count(LBN_SELCHANGE), 0);
}

TEST(ListBoxEditor, ADoubleByteNameTypedIntoTheTrailingRowKeepsEveryByte) {
  struct Case {
    UINT codePage;
    std::string typed;
  };
  const Case cases[] = {
      {950, "\xA4\xE5\xC0\xC9"},                  // 文檔
      {936, "\xD6\xD0\xCE\xC4\xC3\xFB\xD7\xD6"},  // 中文名字
      {936, "a\xD6\xD0"},                          // a first letter, then 中
  };
  for (const Case& c : cases) {
    brambolt::ScopedCodePage page(c.codePage);
    EditorFixture f;
    f.Select(3);
    TypeText(c.typed);
    ASSERT_NE(f.editor.GetEdit(), nullptr);
    CString shown;
    f.editor.GetEdit()->GetWindowText(shown);
    EXPECT_EQ(std::string(static_cast<LPCTSTR>(shown)), c.typed) << c.codePage;
    PressKey(VK_RETURN);
    EXPECT_EQ(f.Rows(), (Rows{"alpha", "beta", "gamma", c.typed, ""})) << c.codePage;
  }
}

TEST(ListBoxEditor, EditingCommitsChangesAndAnEmptiedRowIsDeleted) {
  EditorFixture f;
  f.Select(1);
  PressKey(VK_F2);  // no browse style: F2 does not edit
  EXPECT_EQ(f.editor.GetEdit(), nullptr);
  DoubleClick(f.pList->GetSafeHwnd(), f.RowPoint(1));
  ASSERT_NE(f.editor.GetEdit(), nullptr);
  TypeText("BETA");  // replaces the selected text
  PressKey(VK_RETURN);
  EXPECT_EQ(f.Rows(), (Rows{"alpha", "BETA", "gamma", ""}));

  DoubleClick(f.pList->GetSafeHwnd(), f.RowPoint(0));
  PressKey(VK_DELETE);  // the edit's Delete, not the list's
  PressKey(VK_RETURN);
  EXPECT_EQ(f.Rows(), (Rows{"BETA", "gamma", ""}));
  EXPECT_EQ(f.Count(LBEN_ITEMDELETED), 1);
  EXPECT_EQ(f.editor.GetLastIndex(), 0);
  const std::vector<std::string> expected = {"start", "change 1 beta>BETA", "stop",
                                             "start", "change 0 alpha>",    "delete 0 alpha", "stop"};
  EXPECT_EQ(f.editor.events, expected);
}

TEST(ListBoxEditor, EscapeOnANewRowRemovesItAndRestoresTheSelection) {
  EditorFixture f(LBE_DEFAULT | LBE_SHORTCUTS | LBE_NOTRAILINGBLANK);
  f.Select(1);
  PressKey(VK_INSERT);
  ASSERT_NE(f.editor.GetEdit(), nullptr);
  EXPECT_EQ(f.Rows(), (Rows{"alpha", "beta", "gamma", ""}));
  TypeText("zeta");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(f.editor.GetEdit(), nullptr);
  EXPECT_EQ(f.Rows(), (Rows{"alpha", "beta", "gamma"}));
  EXPECT_EQ(f.pList->GetCurSel(), 1);

  // Escape on an existing row keeps its text.
  DoubleClick(f.pList->GetSafeHwnd(), f.RowPoint(2));
  TypeText("x");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(f.Rows(), (Rows{"alpha", "beta", "gamma"}));
}

TEST(ListBoxEditor, ButtonsAndKeysMoveAndDeleteRowsWithinTheRealRows) {
  EditorFixture f;
  struct Step {
    int select;
    const char* action;  // "up", "down", "del" by button; "alt-up", "alt-down", "key-del" by key
    Rows rows;
    int moved;  // notifications of a move so far
  } steps[] = {
      {0, "up", {"alpha", "beta", "gamma", ""}, 0},
      {2, "down", {"alpha", "beta", "gamma", ""}, 0},
      {3, "up", {"alpha", "beta", "gamma", ""}, 0},  // the trailing row stays
      {0, "down", {"beta", "alpha", "gamma", ""}, 1},
      {2, "alt-up", {"beta", "gamma", "alpha", ""}, 2},
      {0, "alt-down", {"gamma", "beta", "alpha", ""}, 3},
      {3, "del", {"gamma", "beta", "alpha", ""}, 3},
      {1, "key-del", {"gamma", "alpha", ""}, 3},
      {0, "del", {"alpha", ""}, 3},
  };
  for (const Step& s : steps) {
    f.Select(s.select);
    RunUntilIdle();
    const std::string action = s.action;
    auto clickButton = [&](int n) {
      Click(f.editor.GetSafeHwnd(), f.editor.GetButtonRect(n).CenterPoint());
    };
    if (action == "up") clickButton(2);
    if (action == "down") clickButton(3);
    if (action == "del") clickButton(1);
    if (action == "alt-up") PressKey(VK_UP, kAlt);
    if (action == "alt-down") PressKey(VK_DOWN, kAlt);
    if (action == "key-del") PressKey(VK_DELETE);
    RunUntilIdle();
    EXPECT_EQ(f.Rows(), s.rows) << s.action << " on " << s.select;
    EXPECT_EQ(f.Count(LBEN_ITEMMOVED), s.moved) << s.action << " on " << s.select;
  }
  EXPECT_EQ(f.Count(LBEN_ITEMDELETED), 2);

  // A press on a button that is released elsewhere does nothing.
  f.Select(0);
  const POINT elsewhere = ScreenPoint(f.editor.GetSafeHwnd(), CPoint(5, 5));
  UiScript script;
  script.Then([&] {
    InjectMouseMove(elsewhere);
    InjectMouseButton(WM_LBUTTONUP, elsewhere);
  });
  ButtonDown(f.editor.GetSafeHwnd(), f.editor.GetButtonRect(3).CenterPoint());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(f.Rows(), (Rows{"alpha", ""}));
}

// Drags a row with the mouse, holding it for `hold` milliseconds before the drop.
void DragRow(EditorFixture& f, int from, CPoint to, DWORD hold) {
  const POINT start = ScreenPoint(f.pList->GetSafeHwnd(), f.RowPoint(from));
  const POINT end = ScreenPoint(f.pList->GetSafeHwnd(), to);
  UiScript script;
  script.Then([&] {
    InjectMouseMove(POINT{start.x, start.y + 10});
    InjectMouseMove(end);
  });
  script.Then([&] { brambolt::VirtualClock::Advance(hold); });
  script.Then([&] { InjectMouseButton(WM_LBUTTONUP, end); });
  InjectMouseMove(start);
  InjectMouseButton(WM_LBUTTONDOWN, start);
  RunUntilIdle();
  if (script.Remaining() > 0) {  // no drag started: the list box's own click ends
    InjectMouseButton(WM_LBUTTONUP, start);
    RunUntilIdle();
  }
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(ListBoxEditor, DraggingRowsKeepsTheTrailingRowLast) {
  EditorFixture f;
  CRect row;
  f.pList->GetItemRect(0, &row);
  const int h = row.Height();
  DragRow(f, 0, CPoint(20, 2 * h + h - 2), 400);  // lower half of gamma
  EXPECT_EQ(f.Rows(), (Rows{"beta", "gamma", "alpha", ""}));
  EXPECT_EQ(f.Count(LBEN_ITEMMOVED), 1);
  EXPECT_EQ(f.editor.GetLastIndex(), 0);
  EXPECT_EQ(f.editor.GetSecondIndex(), 2);

  DragRow(f, 0, CPoint(20, 3 * h + 2), 100);  // too short a hold
  EXPECT_EQ(f.Rows(), (Rows{"beta", "gamma", "alpha", ""}));
  DragRow(f, 0, CPoint(20, 10 * h), 400);  // below every row: before the trailing row
  EXPECT_EQ(f.Rows(), (Rows{"gamma", "alpha", "beta", ""}));
  DragRow(f, 3, CPoint(20, 2), 400);  // the trailing row is never dragged
  EXPECT_EQ(f.Rows(), (Rows{"gamma", "alpha", "beta", ""}));
}

TEST(ListBoxEditor, WithoutATrailingRowTheLastRowDragsAndDropsAtTheEnd) {
  EditorFixture f(LBE_DEFAULT | LBE_NOTRAILINGBLANK);
  CRect row;
  f.pList->GetItemRect(0, &row);
  const int h = row.Height();
  DragRow(f, 2, CPoint(20, 2), 400);
  EXPECT_EQ(f.Rows(), (Rows{"gamma", "alpha", "beta"}));
  DragRow(f, 0, CPoint(20, 10 * h), 400);
  EXPECT_EQ(f.Rows(), (Rows{"alpha", "beta", "gamma"}));
}

TEST(ListBoxEditor, BrowseButtonStandsBesideTheEditAndF2PressesIt) {
  EditorFixture f(LBE_DEFAULT | LBE_BROWSE);
  f.Select(0);
  PressKey(VK_F2);
  ASSERT_NE(f.editor.GetEdit(), nullptr);
  const HWND browse = ::GetDlgItem(f.pList->GetSafeHwnd(), LBE_IDC_BROWSE);
  ASSERT_NE(browse, nullptr);
  CRect edit, button;
  f.editor.GetEdit()->GetWindowRect(&edit);
  ::GetWindowRect(browse, &button);
  EXPECT_EQ(button.left, edit.right);
  char text[8] = {};
  ::GetWindowText(browse, text, sizeof(text));
  EXPECT_STREQ(text, "...");
  PressKey(VK_F2);  // in the edit: the browse button is pressed
  RunUntilIdle();
  EXPECT_EQ(::GetFocus(), browse);
  EXPECT_EQ(f.editor.events, (std::vector<std::string>{"start", "browse"}));
  EXPECT_NE(f.editor.GetEdit(), nullptr);  // the focus went to the browse button: still editing
}

TEST(ListBoxEditor, DropPlacesFollowTheHalvesOfRows) {
  EditorFixture f;
  SECListBoxDragWnd drag(f.pList);
  CRect row;
  f.pList->GetItemRect(1, &row);
  EXPECT_EQ(drag.DropPlace(CPoint(5, row.top + 1)), 1);
  EXPECT_EQ(drag.DropPlace(CPoint(5, row.bottom - 1)), 2);
  EXPECT_EQ(drag.DropPlace(CPoint(5, 1000)), 3);  // kept last row
  drag.m_bKeepLastRow = FALSE;
  EXPECT_EQ(drag.DropPlace(CPoint(5, 1000)), -1);
}

}  // namespace
