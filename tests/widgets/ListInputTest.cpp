// The list engine's input, driven as a person would: clicks with and without Shift and Ctrl,
// keys, type-ahead, the header (column clicks, divider drags), the wheel, and label editing
// begun by a click pause, F2 or the API and ended by Return, Escape or focus loss.
#include <functional>
#include <memory>

#include "base/CodePage.h"
#include "tests/widgets/ListTestSupport.h"
#include "widgets/SECTreeCtrl.h"
#include "widgets/SECListTip.h"
#include "win/ModalLoop.h"

using brambolt::test::AdvanceClock;
using brambolt::test::Click;
using brambolt::test::DoubleClick;
using brambolt::test::Drag;
using brambolt::test::kCtrl;
using brambolt::test::kShift;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::TypeText;
using brambolt::test::Wheel;
using widgets_testing::FillLabels;
using widgets_testing::LabelPoint;
using widgets_testing::ListHost;

namespace {

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> labels;
  for (int i = 0; i < count; ++i) labels.push_back("row " + std::to_string(i));
  return labels;
}

// A list whose parent vetoes selection changes while `veto` is set.
class VetoList : public SECListCtrl {
 public:
  BOOL veto = FALSE;
  int changed = 0;
  LRESULT OnSelChanging(int, int, UINT) override { return veto; }
  LRESULT OnSelChanged(int, int, UINT) override {
    ++changed;
    return 0;
  }
};

class ListInput : public ::testing::Test {
 protected:
  void SetUp() override {
    FillLabels(host.list, Numbered(8));
    host.list.SetFocus();
    RunUntilIdle();
  }
  void ClickRow(int row, UINT mods = 0) { Click(host.Hwnd(), LabelPoint(host.list, row), mods); }
  ListHost<VetoList> host{WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS | LVS_NOLABELWRAP};
};

TEST_F(ListInput, ClickingOneOfSeveralSelectedRowsNarrowsTheSelectionOnRelease) {
  ClickRow(1);
  ClickRow(3, kCtrl);
  ClickRow(5, kCtrl);
  ASSERT_EQ(host.Selection(), (std::vector<int>{1, 3, 5}));
  brambolt::test::ButtonDown(host.Hwnd(), LabelPoint(host.list, 3));
  EXPECT_EQ(host.Selection(), (std::vector<int>{1, 3, 5}));
  brambolt::test::ButtonUp(host.Hwnd(), LabelPoint(host.list, 3));
  EXPECT_EQ(host.Selection(), std::vector<int>{3});
  EXPECT_EQ(host.list.GetFocusRow(), 3);
  EXPECT_GE(host.parent.Count(NM_CLICK), 4);
}

TEST_F(ListInput, ShiftRangesStartAtTheAnchorWhichStays) {
  // No anchor yet: Shift+click does nothing.
  ASSERT_EQ(host.list.GetAnchorRow(), -1);
  ClickRow(4, kShift);
  EXPECT_EQ(host.Selection(), std::vector<int>{0});
  ClickRow(2);
  ASSERT_EQ(host.list.GetAnchorRow(), 2);
  PressKey(VK_DOWN, kShift);
  EXPECT_EQ(host.Selection(), (std::vector<int>{2, 3}));
  EXPECT_EQ(host.list.GetAnchorRow(), 2);
  ClickRow(0, kShift);
  EXPECT_EQ(host.Selection(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(host.list.GetFocusRow(), 0);
  EXPECT_EQ(host.list.GetAnchorRow(), 2);
}

TEST_F(ListInput, CtrlMovesTheFocusOnlyAndSpaceTogglesTheFocusedRow) {
  ClickRow(1);
  PressKey(VK_DOWN, kCtrl);
  EXPECT_EQ(host.list.GetFocusRow(), 2);
  EXPECT_EQ(host.Selection(), std::vector<int>{1});
  PressKey(VK_SPACE);
  EXPECT_EQ(host.Selection(), (std::vector<int>{1, 2}));
  PressKey(VK_SPACE);
  EXPECT_EQ(host.Selection(), std::vector<int>{1});
  // Every key reached the parent first.
  EXPECT_GE(host.parent.Count(LVN_KEYDOWN), 3);
}

TEST_F(ListInput, KeysMoveTheFocusAndSelection) {
  struct Step {
    UINT key;
    int focus;
  };
  // Without a vertical bar Page Down and Page Up go to the ends.
  for (const Step& step : {Step{VK_DOWN, 1}, Step{VK_DOWN, 2}, Step{VK_UP, 1}, Step{VK_NEXT, 7}, Step{VK_PRIOR, 0},
                           Step{VK_END, 7}, Step{VK_HOME, 0}, Step{VK_UP, 0}}) {
    PressKey(step.key);
    EXPECT_EQ(host.list.GetFocusRow(), step.focus) << step.key;
    EXPECT_EQ(host.Selection(), std::vector<int>{step.focus}) << step.key;
  }
}

TEST_F(ListInput, AVetoedChangeLeavesSelectionAndFocus) {
  ClickRow(2);
  host.list.veto = TRUE;
  int changed = host.list.changed;
  ClickRow(5);
  PressKey(VK_DOWN);
  EXPECT_EQ(host.list.GetFocusRow(), 2);
  EXPECT_EQ(host.Selection(), std::vector<int>{2});
  EXPECT_EQ(host.list.changed, changed);
}

TEST_F(ListInput, TypeAheadFindsACaseInsensitivePrefixAfterTheFocusRow) {
  host.list.DeleteAllItems();
  FillLabels(host.list, {"alpha", "Abacus", "beta"});
  host.list.SetFocusSel(0, TRUE);
  TypeText("ab");
  EXPECT_EQ(host.list.GetFocusRow(), 1);
  EXPECT_EQ(host.Selection(), std::vector<int>{1});
  // After the pause a new search starts; a failed one stays deaf until the next pause.
  AdvanceClock(600);
  TypeText("zb");
  EXPECT_EQ(host.list.GetFocusRow(), 1);
  AdvanceClock(600);
  TypeText("b");
  EXPECT_EQ(host.list.GetFocusRow(), 2);
}

TEST_F(ListInput, TwoSeparateClicksEditTheLabelAfterAPauseADoubleClickDoesNot) {
  ClickRow(3);
  AdvanceClock(800);  // two clicks, not a double click
  ClickRow(3);
  EXPECT_EQ(host.list.GetEditWindow(), nullptr);
  AdvanceClock(400);
  EXPECT_EQ(host.list.GetEditWindow(), nullptr);
  AdvanceClock(200);
  ASSERT_NE(host.list.GetEditWindow(), nullptr);
  EXPECT_EQ(host.list.GetEditedRow(), 3);
  EXPECT_EQ(host.parent.Count(LVN_BEGINLABELEDIT), 1);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(host.list.GetEditWindow(), nullptr);
  ClickRow(5);
  AdvanceClock(800);
  DoubleClick(host.Hwnd(), LabelPoint(host.list, 5));
  AdvanceClock(1000);
  EXPECT_EQ(host.list.GetEditWindow(), nullptr);
  EXPECT_GE(host.parent.Count(NM_DBLCLK), 1);
}

TEST_F(ListInput, ReturnSavesAnAcceptedEditEscapeAndARefusalRestoreTheLabel) {
  host.parent.answers[LVN_ENDLABELEDIT] = 1;
  host.list.SetFocusSel(2, TRUE);
  PressKey(VK_F2);
  ASSERT_NE(host.list.GetEditWindow(), nullptr);
  TypeText("renamed");
  EXPECT_EQ(host.list.GetItemText(2, 0), "renamed");  // stored while typing
  PressKey(VK_RETURN);
  EXPECT_EQ(host.list.GetEditWindow(), nullptr);
  EXPECT_EQ(host.list.GetItemText(2, 0), "renamed");
  const auto* end = host.parent.Last(LVN_ENDLABELEDIT);
  ASSERT_NE(end, nullptr);
  EXPECT_TRUE(end->hasText);
  EXPECT_EQ(end->text, "renamed");
  // Escape: the notification carries no text and the old label comes back.
  ASSERT_NE(host.list.EditLabel(2, 0), nullptr);
  TypeText("other");
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(host.parent.Last(LVN_ENDLABELEDIT)->hasText);
  EXPECT_EQ(host.list.GetItemText(2, 0), "renamed");
  // The parent refuses: the label as it was is put back.
  host.parent.answers[LVN_ENDLABELEDIT] = 0;
  ASSERT_NE(host.list.EditLabel(2, 0), nullptr);
  TypeText("refused");
  PressKey(VK_RETURN);
  EXPECT_EQ(host.list.GetItemText(2, 0), "renamed");
}

TEST_F(ListInput, ALabelEditTakesTextComposedThroughAnInputMethod) {
  brambolt::ScopedCodePage gbk(936);
  brambolt::test::ScriptedInputMethod ime(host.session);
  host.parent.answers[LVN_ENDLABELEDIT] = 1;
  ASSERT_NE(host.list.EditLabel(2, 0), nullptr);
  ime.Commit("\xE4\xB8\xAD\xE6\x96\x87");  // zhong wen in UTF-8
  EXPECT_EQ(host.list.GetItemText(2, 0), "\xD6\xD0\xCE\xC4");
  PressKey(VK_RETURN);
  EXPECT_EQ(host.parent.Last(LVN_ENDLABELEDIT)->text, "\xD6\xD0\xCE\xC4");
}

TEST_F(ListInput, FocusLossSavesTheEditAndTheParentMayChangeTheText) {
  host.parent.answers[LVN_ENDLABELEDIT] = 1;
  host.parent.onNotify = [](NMHDR* hdr) {
    auto* info = reinterpret_cast<NMLVDISPINFO*>(hdr);
    if (hdr->code == LVN_ENDLABELEDIT && info->item.pszText != nullptr) lstrcpyn(info->item.pszText, "by parent", 64);
  };
  ASSERT_NE(host.list.EditLabel(1, 0), nullptr);
  TypeText("typed");
  host.parent.SetFocus();
  RunUntilIdle();
  EXPECT_EQ(host.list.GetEditWindow(), nullptr);
  EXPECT_EQ(host.list.GetItemText(1, 0), "by parent");
}

TEST_F(ListInput, ABeginEditAnswerOfOneCancelsTheEdit) {
  host.parent.answers[LVN_BEGINLABELEDIT] = 1;
  EXPECT_EQ(host.list.EditLabel(1, 0), nullptr);
  EXPECT_EQ(host.list.GetEditWindow(), nullptr);
  EXPECT_EQ(host.list.GetEditedRow(), -1);
}

TEST_F(ListInput, TheEndEditTextIsBoundedToItsBuffer) {
  host.parent.answers[LVN_ENDLABELEDIT] = 1;
  ASSERT_NE(host.list.EditLabel(1, 0), nullptr);
  std::string huge(3000, 'w');
  host.list.GetEditWindow()->SetWindowText(huge.c_str());
  host.list.EndLabelEdit(TRUE);
  const auto* end = host.parent.Last(LVN_ENDLABELEDIT);
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(end->text.size(), static_cast<size_t>(kListTextBufferSize - 1));
}

TEST_F(ListInput, WheelDeltasAccumulateToWholeNotches) {
  for (int i = 0; i < 40; ++i) host.list.InsertItem(host.list.GetItemCount(), "more");
  host.list.RecalcLayout();
  ASSERT_TRUE(host.list.GetScrollBarCtrl(SB_VERT) != nullptr);
  POINT inside{20, 60};
  Wheel(host.Hwnd(), inside, -60);
  EXPECT_EQ(host.list.GetTopIndex(), 0);
  Wheel(host.Hwnd(), inside, -60);
  EXPECT_EQ(host.list.GetTopIndex(), 1);
  Wheel(host.Hwnd(), inside, -180);
  EXPECT_EQ(host.list.GetTopIndex(), 2);
  Wheel(host.Hwnd(), inside, -60);
  EXPECT_EQ(host.list.GetTopIndex(), 2);  // the remainder was dropped
  // Page Down with a bar moves to the last visible row, then a page further.
  host.list.SetFocusSel(host.list.GetTopIndex(), TRUE);
  PressKey(VK_NEXT);
  int last = host.list.GetLastVisibleRow();
  EXPECT_EQ(host.list.GetFocusRow(), last);
  PressKey(VK_NEXT);
  EXPECT_GT(host.list.GetTopIndex(), 2);
  EXPECT_EQ(host.list.GetFocusRow(), host.list.GetLastVisibleRow());
}

// The row that ends the list, seen whole: its rectangle lies inside the list area.
template <class List>
::testing::AssertionResult LastRowWhole(List& list) {
  CRect row, area;
  list.GetListArea(&area);
  if (!list.GetSubItemRect(list.GetItemCount() - 1, 0, &row, 0)) return ::testing::AssertionFailure() << "not shown";
  if (row.top >= area.top && row.bottom <= area.bottom) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "row " << row.top << ".." << row.bottom << " in " << area.top << ".."
                                       << area.bottom << ", top row " << list.GetTopIndex();
}

// Sized so that the list area ends halfway down a row.
template <class List>
void EndAreaInARow(List& list, int rows) {
  CRect row, area, client;
  list.GetSubItemRect(0, 0, &row, 0);
  list.GetListArea(&area);
  list.GetClientRect(&client);
  const int height = client.Height() - area.Height() + rows * row.Height() + row.Height() / 2;
  list.SetWindowPos(nullptr, 0, 0, client.Width(), height, SWP_NOMOVE | SWP_NOZORDER);
  list.RecalcLayout();
  RunUntilIdle();
}

// Every way down ends with the last row shown whole: the keys, the bar's arrow and bottom, the wheel.
template <class List>
void ExpectEveryWayDownShowsTheLastRowWhole(ListHost<List>& host) {
  EndAreaInARow(host.list, 8);
  host.list.SetFocus();
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"End", [] { PressKey(VK_END); }},
      {"Ctrl+End", [] { PressKey(VK_END, kCtrl); }},
      {"bar bottom", [&] { host.list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0); }},
      {"arrow", [&] {
         CScrollBar* bar = host.list.GetScrollBarCtrl(SB_VERT);
         CRect rc;
         bar->GetClientRect(&rc);
         for (int i = 0; i < 30; ++i) Click(bar->GetSafeHwnd(), {rc.Width() / 2, rc.bottom - 4});
       }},
      {"wheel", [&] {
         for (int i = 0; i < 30; ++i) Wheel(host.Hwnd(), {20, 60}, -120);
       }},
  };
  for (const auto& [name, way] : ways) {
    host.list.SetFocus();
    PressKey(VK_HOME);
    RunUntilIdle();
    ASSERT_EQ(host.list.GetTopIndex(), 0) << name;
    way();
    RunUntilIdle();
    EXPECT_TRUE(LastRowWhole(host.list)) << name;
  }
}

TEST(ListScroll, EveryWayDownShowsTheLastRowWhole) {
  {
    ListHost<SECListCtrl> host;
    FillLabels(host.list, Numbered(30));
    ExpectEveryWayDownShowsTheLastRowWhole(host);
  }
  ListHost<SECTreeCtrl> tree(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT);
  for (int i = 0; i < 30; ++i) tree.list.InsertItem(("node " + std::to_string(i)).c_str());
  ExpectEveryWayDownShowsTheLastRowWhole(tree);
}

// A drag whose every step is handled before the next (queued moves would be merged).
void SlowDrag(HWND hwnd, POINT from, POINT to, int steps = 6) {
  AdvanceClock(1000);  // not the second click of a double click
  brambolt::test::MoveMouse(hwnd, from);
  brambolt::test::ButtonDown(hwnd, from);
  for (int i = 1; i <= steps; ++i)
    brambolt::test::MoveMouse(hwnd, {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  brambolt::test::ButtonUp(hwnd, to);
}

class ListHeader : public ::testing::Test {
 protected:
  void SetUp() override {
    FillLabels(host.list, Numbered(3), 100);
    host.list.AppendColumn("Size", LVCFMT_RIGHT, 60);
    host.list.AppendColumn("Kind", LVCFMT_LEFT, 60);
    host.list.SetColumnWidth(0, 100);  // the first column filled the list while it was alone
    RunUntilIdle();
  }
  ListHost<SECListCtrl> host;
};

TEST_F(ListHeader, HitTestKnowsHeaderButtonsDividersAndRowParts) {
  UINT flags = 0;
  int col = -1;
  EXPECT_EQ(host.list.HitTest(CPoint(130, 10), &flags, &col), 1);
  EXPECT_EQ(flags, LVHT_ONHEADER);
  EXPECT_EQ(host.list.HitTest(CPoint(101, 10), &flags, &col), 0);
  EXPECT_EQ(flags, LVHT_ONDIVIDER);
  POINT label = LabelPoint(host.list, 1);
  EXPECT_EQ(host.list.HitTest(label, &flags, &col), 1);
  EXPECT_EQ(flags, LVHT_ONROW | LVHT_ONITEMLABEL);
  EXPECT_EQ(host.list.HitTest(CPoint(2, label.y), &flags, &col), 1);
  EXPECT_EQ(flags, LVHT_ONROW | LVHT_LEFTOFLABEL);
  EXPECT_EQ(host.list.HitTest(CPoint(130, label.y), &flags, &col), 1);
  EXPECT_EQ(flags, static_cast<UINT>(LVHT_ONROW));
  EXPECT_EQ(host.list.HitTest(CPoint(20, 190), &flags, &col), -1);
  EXPECT_EQ(flags, static_cast<UINT>(LVHT_NOWHERE));
  EXPECT_EQ(host.list.HitTest(CPoint(-5, 400), &flags, &col), -1);
  EXPECT_EQ(flags, static_cast<UINT>(LVHT_BELOW | LVHT_TOLEFT));
}

TEST_F(ListHeader, AHeaderClickReportsTheColumnAndADividerDragResizesIt) {
  Click(host.Hwnd(), {130, 10});
  const auto* click = host.parent.Last(LVN_COLUMNCLICK);
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(click->item, -1);
  EXPECT_EQ(click->subItem, 1);
  Drag(host.Hwnd(), {160, 10}, {190, 10});
  EXPECT_EQ(host.list.GetColumnWidth(1), 90);
  // The line never comes closer than 10 pixels to the column's left edge.
  Drag(host.Hwnd(), {190, 10}, {20, 10});
  EXPECT_EQ(host.list.GetColumnWidth(1), 10);
}

TEST_F(ListHeader, ADraggedColumnMovesUnlessDroppedOnItselfOrItsRightNeighbour) {
  host.list.SetItemText(0, 1, "10");
  host.list.SetItemText(0, 2, "file");
  SlowDrag(host.Hwnd(), {125, 10}, {170, 10});  // onto its right neighbour's left half
  EXPECT_EQ(host.list.GetColumnText(1), "Size");
  SlowDrag(host.Hwnd(), {125, 10}, {215, 10});  // past the middle of "Kind"
  EXPECT_EQ(host.list.GetColumnText(1), "Kind");
  EXPECT_EQ(host.list.GetColumnText(2), "Size");
  EXPECT_EQ(host.list.GetItemText(0, host.list.GetColumnSubItem(2)), "file");
  SlowDrag(host.Hwnd(), {20, 10}, {215, 10});  // column 0 stays
  EXPECT_EQ(host.list.GetColumnText(0), "Name");
}

TEST(ListEdit, TheEditBoxCoversTheLabelAndGrowsWithinItsColumn) {
  constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS | LVS_NOLABELWRAP;
  const std::string longText = "a label grown far wider than any column of this list, and wider than the list";
  for (bool twoColumns : {true, false}) {
    SCOPED_TRACE(twoColumns ? "two columns" : "one column");
    ListHost<SECListCtrl> host(kStyle);
    FillLabels(host.list, {"first", "second"}, 120);
    if (twoColumns) {
      host.list.AppendColumn("Other", LVCFMT_LEFT, 100);
      host.list.SetColumnWidth(0, 120);
    }
    RunUntilIdle();
    CRect label;
    ASSERT_TRUE(host.list.GetSubItemRect(1, 0, &label, 2));
    ASSERT_NE(host.list.EditLabel(1, 0), nullptr);
    CRect edit = widgets_testing::EditRect(host.list);
    EXPECT_EQ(edit, CRect(label.left - 4, label.top - 1, label.right + 10, label.bottom + 1));
    TypeText(longText);
    CRect grown = widgets_testing::EditRect(host.list);
    CRect area;
    host.list.GetListArea(&area);
    EXPECT_EQ(grown.TopLeft(), edit.TopLeft()) << "resized, not moved";
    EXPECT_EQ(grown.right, twoColumns ? 120 : area.right) << "as wide as the text allows, ending at the "
                                                          << (twoColumns ? "column's" : "list's") << " right edge";
    host.list.EndLabelEdit(FALSE);
  }
}

TEST(ListHeaderDrag, TheDragImageIsTheRaisedHeaderButtonWithItsText) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, {"row"}, 90);
  host.list.AppendColumn("Kind", LVCFMT_LEFT, 70);
  std::unique_ptr<CImageList> image(host.list.CreateHeaderDragImage(1));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(host.list.CreateHeaderDragImage(5), nullptr);
  int cx = 0, cy = 0;
  ASSERT_TRUE(image->GetIconSize(&cx, &cy));
  EXPECT_EQ(cx, 70);
  EXPECT_GT(cy, 8);
  auto pixels = widgets_testing::RenderImage(*image);
  ASSERT_EQ(pixels.size(), static_cast<size_t>(cy));
  // Raised: light at the top-left edge, dark at the bottom-right, button face between.
  EXPECT_EQ(pixels[static_cast<size_t>(cy / 2)][static_cast<size_t>(cx - 2)], ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixels[static_cast<size_t>(cy - 2)][static_cast<size_t>(cx / 2)], ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixels[2][static_cast<size_t>(cx - 4)], ::GetSysColor(COLOR_BTNFACE));
  int ink = 0;
  for (int y = 2; y < cy - 2; ++y)
    for (int x = 6; x < cx - 5; ++x) ink += GetRValue(pixels[static_cast<size_t>(y)][static_cast<size_t>(x)]) < 128;
  EXPECT_GT(ink, 5) << "the column's title";
}

TEST(ListTip, ATruncatedLabelShowsItsTipAndItHidesWhenTheCursorLeaves) {
  ListHost<SECListCtrl> host(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOLABELWRAP, CRect(0, 0, 300, 200),
                             LVXS_LABELTIPS);
  FillLabels(host.list, {"short", "a label much too long to fit in its narrow column"}, 60);
  host.list.AppendColumn("Other", LVCFMT_LEFT, 100);
  host.list.SetColumnWidth(0, 60);
  RunUntilIdle();
  SECListTip* tip = host.list.GetTipWindow();
  brambolt::test::MoveMouse(host.Hwnd(), LabelPoint(host.list, 0));
  EXPECT_FALSE(tip->IsShowing());
  brambolt::test::MoveMouse(host.Hwnd(), LabelPoint(host.list, 1));
  ASSERT_TRUE(tip->IsShowing());
  EXPECT_EQ(tip->GetRow(), 1);
  EXPECT_EQ(tip->GetText(), "a label much too long to fit in its narrow column");
  brambolt::test::MoveMouseAt({390, 300});
  AdvanceClock(600);
  EXPECT_FALSE(tip->IsShowing());
}

// A list whose first column cuts off the label of row 1, placed with its parent at `parentX` on
// the screen.
struct TipHost : ListHost<SECListCtrl> {
  explicit TipHost(int parentX = 0)
      : ListHost(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOLABELWRAP, CRect(0, 0, 300, 200), LVXS_LABELTIPS) {
    parent.SetWindowPos(nullptr, parentX, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FillLabels(list, {"short", "a label much too long to fit in its narrow column", "third"}, 60);
    list.AppendColumn("Other", LVCFMT_LEFT, 100);
    list.SetColumnWidth(0, 60);  // a lone column was kept as wide as the list
    RunUntilIdle();
  }
  // Moves the mouse over row 1's label `dx` pixels into it and returns the tip shown there.
  SECListTip* ShowTip(int dx = 8) {
    CRect label;
    EXPECT_TRUE(list.GetSubItemRect(1, 0, &label, 2));
    brambolt::test::MoveMouse(Hwnd(), {label.left + dx, label.CenterPoint().y});
    SECListTip* tip = list.GetTipWindow();
    EXPECT_TRUE(tip->IsShowing());
    return tip;
  }
};

TEST(ListTip, StaysWholeOnTheScreenAtEitherEdge) {
  const int screen = ::GetSystemMetrics(SM_CXSCREEN);
  for (int parentX : {screen - 100, -20}) {
    SCOPED_TRACE(parentX);
    TipHost host(parentX);
    SECListTip* tip = host.ShowTip(30);
    ASSERT_TRUE(tip->IsShowing());
    CRect rect;
    tip->GetWindowRect(&rect);
    EXPECT_GE(rect.left, 0);
    EXPECT_LE(rect.right, screen);
    CRect label;
    host.list.GetSubItemRect(1, 0, &label, 2);
    EXPECT_GE(rect.Width(), label.Width()) << "moved, not cut";
  }
}

TEST(ListTip, ClicksOnTheTipReachTheListBeneath) {
  TipHost host;
  // The pump of a running application offers every message to the windows' PreTranslateMessage.
  brambolt::ScopedLoopFilter pump([](MSG& msg) { return CWnd::WalkPreTranslateTree(nullptr, &msg) != FALSE; });
  SECListTip* tip = host.ShowTip();
  ASSERT_TRUE(tip->IsShowing());
  ASSERT_EQ(host.Selection(), (std::vector<int>{0}));
  Click(tip->GetSafeHwnd(), {10, 4}, brambolt::test::kCtrl);
  EXPECT_EQ(host.Selection(), (std::vector<int>{0, 1})) << "the row under the tip is clicked, with its keys";
  EXPECT_EQ(host.list.GetFocusRow(), 1);
  EXPECT_FALSE(tip->IsShowing());
  tip = host.ShowTip();
  ASSERT_TRUE(tip->IsShowing());
  Click(tip->GetSafeHwnd(), {10, 4});
  EXPECT_EQ(host.Selection(), (std::vector<int>{1}));
  EXPECT_EQ(host.list.GetFocusRow(), 1);
}

}  // namespace
