// The list engine's data model: rows, sub-items and columns, the selection array and the rows
// that follow inserts and deletes, item state, callbacks to the parent and bounded text copies.
#include <random>
#include <set>

#include "tests/widgets/ListTestSupport.h"

using brambolt::test::RunUntilIdle;
using widgets_testing::FillLabels;
using widgets_testing::ListHost;

namespace {

// A list that records what the engine hands to its data hook.
class RecordingList : public SECListCtrl {
 public:
  std::vector<UINT> pendingMasks;
  void OnSetDispInfo(LVITEM* pItem) override { pendingMasks.push_back(pItem->mask); }
};

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> labels;
  for (int i = 0; i < count; ++i) labels.push_back("row " + std::to_string(i));
  return labels;
}

TEST(ListData, CallbackTextStaysACallbackUntilStoredAndIsReportedPending) {
  ListHost<RecordingList> host;
  FillLabels(host.list, {"a"});
  LVITEM item{};
  item.mask = LVIF_TEXT;
  item.pszText = LPSTR_TEXTCALLBACK;
  ASSERT_TRUE(host.list.SetItem(&item));
  item.pszText = const_cast<char*>("real");
  ASSERT_TRUE(host.list.SetItem(&item));
  ASSERT_EQ(host.list.pendingMasks.size(), 1u);
  EXPECT_EQ(host.list.pendingMasks[0], static_cast<UINT>(LVIF_TEXT));
  EXPECT_EQ(host.list.GetItemRecord(0)->m_pszText, LPSTR_TEXTCALLBACK);
  item.mask = LVIF_TEXT | LVIF_DI_SETITEM;
  ASSERT_TRUE(host.list.SetItem(&item));
  EXPECT_STREQ(host.list.GetItemRecord(0)->m_pszText, "real");
  // A NULL text stores no text rather than copying through it.
  item.pszText = nullptr;
  ASSERT_TRUE(host.list.SetItem(&item));
  EXPECT_EQ(host.list.GetItemRecord(0)->m_pszText, nullptr);
  EXPECT_EQ(host.list.GetItemText(0, 0), "");
}

TEST(ListData, FirstRowInsertedIsFocusedAndSelected) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, {"first", "second"});
  EXPECT_EQ(host.list.GetFocusRow(), 0);
  EXPECT_EQ(host.Selection(), std::vector<int>{0});
  EXPECT_EQ(host.list.GetItemState(0, LVIS_FOCUSED | LVIS_SELECTED), static_cast<UINT>(LVIS_FOCUSED | LVIS_SELECTED));
}

TEST(ListData, DeletingARunRenumbersSelectionFocusAnchorAndDropRows) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, Numbered(10));
  host.list.DeselectAllExcept(-1);
  for (int row : {1, 3, 7}) host.list.SelectItem(row, TRUE);
  host.list.SetFocusRow(8);  // focus and anchor after the run
  host.list.SetDropHilite(3);  // inside the run
  ASSERT_TRUE(host.list.DeleteItem(2, 3));
  EXPECT_EQ(host.Selection(), (std::vector<int>{1, 4}));
  EXPECT_EQ(host.list.GetFocusRow(), 5);
  EXPECT_EQ(host.list.GetAnchorRow(), 5);
  EXPECT_EQ(host.list.GetDropHilite(), 1);
  EXPECT_EQ(host.list.GetItemText(2, 0), "row 5");
  // An anchor inside a deleted run is gone, not left on a wrong row.
  host.list.SetFocusRow(3);
  ASSERT_TRUE(host.list.DeleteItem(3, 1));
  EXPECT_EQ(host.list.GetAnchorRow(), -1);
  // Inserting above moves them all down by one.
  host.list.SetFocusRow(4);
  host.list.InsertItem(0, "new");
  EXPECT_EQ(host.list.GetFocusRow(), 5);
  EXPECT_EQ(host.list.GetAnchorRow(), 5);
  EXPECT_EQ(host.Selection(), (std::vector<int>{2, 4}));
}

TEST(ListData, DeletingEverySelectedRowSelectsTheFocusRowAgainAndClampsTheTopRow) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, Numbered(3));
  host.list.SetFocusSel(2, TRUE);
  host.list.m_nTopRow = 2;
  ASSERT_TRUE(host.list.DeleteItem(1, 2));
  EXPECT_EQ(host.list.GetItemCount(), 1);
  EXPECT_EQ(host.list.GetFocusRow(), 0);
  EXPECT_EQ(host.Selection(), std::vector<int>{0});
  EXPECT_EQ(host.list.GetTopIndex(), 0);
  ASSERT_TRUE(host.list.DeleteItem(0, 1));
  EXPECT_EQ(host.list.GetFocusRow(), -1);
  EXPECT_TRUE(host.Selection().empty());
  EXPECT_FALSE(host.list.DeleteItem(0, 1));
}

TEST(ListData, SelectionArrayStaysSortedAndUniqueUnderRandomEdits) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, Numbered(40));
  std::mt19937 random(7);
  for (int step = 0; step < 300; ++step) {
    int count = host.list.GetItemCount();
    int row = count > 0 ? static_cast<int>(random() % static_cast<unsigned>(count)) : 0;
    switch (random() % 4) {
      case 0: host.list.SelectItem(row, TRUE); break;
      case 1: host.list.SelectItem(row, FALSE); break;
      case 2: host.list.InsertItem(row, "x"); break;
      default:
        if (count > 0) {
          host.list.DeleteItem(row, 1 + static_cast<int>(random() % 3));
        }
        break;
    }
    const std::vector<int>& selection = host.list.GetSelection();
    std::set<int> unique(selection.begin(), selection.end());
    ASSERT_EQ(unique.size(), selection.size());
    ASSERT_TRUE(std::is_sorted(selection.begin(), selection.end()));
    if (!selection.empty()) {
      ASSERT_LT(selection.back(), host.list.GetItemCount());
    }
    for (int selected : selection) ASSERT_TRUE(host.list.IsRowSelected(selected));
    ASSERT_LT(host.list.GetFocusRow(), host.list.GetItemCount());
  }
}

TEST(ListData, ColumnsGetSubItemSlotsWidthsAndKeepTheirDataWhenMoved) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, {"a", "b"});
  EXPECT_EQ(host.list.InsertColumn(1, "Size", LVCFMT_RIGHT, -1, -1), 1);
  EXPECT_EQ(host.list.GetColumnWidth(1), 10);
  EXPECT_EQ(host.list.GetSubItemCount(), 1);
  EXPECT_EQ(host.list.GetItemRecord(0)->m_subItems.size(), 1u);
  EXPECT_EQ(host.list.GetItemRecord(1)->m_subItems[0]->m_pszText, LPSTR_TEXTCALLBACK);
  host.list.AppendColumn("Kind", LVCFMT_LEFT, 40);
  host.list.SetItemText(0, 1, "10");
  host.list.SetItemText(0, 2, "file");
  EXPECT_FALSE(host.list.MoveColumn(0, 2));
  EXPECT_FALSE(host.list.MoveColumn(2, 0));
  ASSERT_TRUE(host.list.MoveColumn(2, 1));
  // Each display position keeps showing the data it showed.
  EXPECT_EQ(host.list.GetColumnText(1), "Kind");
  EXPECT_EQ(host.list.GetColumnSubItem(1), 1);
  EXPECT_EQ(host.list.GetItemText(0, host.list.GetColumnSubItem(1)), "10");
  int col = -1, sub = -1;
  EXPECT_TRUE(host.list.FindColumn("Kind", &col, &sub));
  EXPECT_EQ(col, 1);
  EXPECT_FALSE(host.list.FindColumn("kind", &col, &sub));  // exact compare
  // A deleted column gives its width to the label column.
  int labelWidth = host.list.GetColumnWidth(0);
  ASSERT_TRUE(host.list.DeleteColumn(2));
  EXPECT_EQ(host.list.GetColumnWidth(0), labelWidth + 10);
  EXPECT_EQ(host.list.GetSubItemCount(), 1);
}

TEST(ListData, ItemStateComesFromTheListsOwnRecords) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, {"a", "b", "c"});
  host.list.SetFocusSel(1, TRUE);
  host.list.SetDropHilite(2);
  host.list.SetItemState(2, 0x100, 0x100);
  EXPECT_EQ(host.list.GetItemRecord(1)->m_state & (LVIS_FOCUSED | LVIS_SELECTED), 0u);
  EXPECT_EQ(host.list.GetItemState(1, 0xFFFF), static_cast<UINT>(LVIS_FOCUSED | LVIS_SELECTED));
  EXPECT_EQ(host.list.GetItemState(2, 0xFFFF), static_cast<UINT>(LVIS_DROPHILITED | 0x100));
  EXPECT_EQ(host.list.GetItemState(2, LVIS_SELECTED), 0u);
}

TEST(ListData, RowsOfAnEmptiedListFilledAgainStartAsNewOnes) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, {"a", "b", "c"});
  host.list.InsertColumn(1, "Size", LVCFMT_RIGHT, 40, -1);
  for (int row = 0; row < 3; ++row) {
    host.list.SetItemState(row, 0x100 | LVIS_CUT, 0x100 | LVIS_CUT);
    host.list.SetItemText(row, 1, "10");
    host.list.SetItemData(row, 7);
    LVITEM image{};
    image.mask = LVIF_IMAGE;
    image.iItem = row;
    image.iImage = 4;
    ASSERT_TRUE(host.list.SetItem(&image));
  }
  ASSERT_TRUE(host.list.DeleteAllItems());
  FillLabels(host.list, {"x", "y", "z", "w"});
  for (int row = 0; row < 4; ++row) {
    const SECListItem* record = host.list.GetItemRecord(row);
    EXPECT_EQ(host.list.GetItemState(row, 0xFFFF) & ~static_cast<UINT>(LVIS_FOCUSED | LVIS_SELECTED), 0u) << row;
    EXPECT_EQ(host.list.GetItemData(row), 0u) << row;
    EXPECT_EQ(record->m_iImage, 0) << row;
    EXPECT_EQ(record->m_cy, -1) << row;
    ASSERT_EQ(record->m_subItems.size(), 1u) << row;
    EXPECT_EQ(record->m_subItems[0]->m_pszText, LPSTR_TEXTCALLBACK) << row;
  }
  EXPECT_EQ(host.list.GetItemText(3, 0), "w");
}

TEST(ListData, GetNextItemFollowsDirectionAndStateFlags) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, Numbered(6));
  host.list.DeselectAllExcept(-1);
  host.list.SelectItem(1);
  host.list.SelectItem(4);
  struct Case {
    int row;
    UINT flags;
    int expected;
  };
  for (const Case& c : {Case{-1, LVNI_SELECTED, 1}, Case{1, LVNI_SELECTED, 4}, Case{4, LVNI_SELECTED, -1},
                        Case{5, LVNI_SELECTED | LVNI_ABOVE, 4}, Case{3, LVNI_SELECTED | LVNI_TOLEFT, 1},
                        Case{2, LVNI_ALL, 3}, Case{2, LVNI_ABOVE, 1}, Case{0, LVNI_ABOVE, -1},
                        Case{0, LVNI_FOCUSED, -1}, Case{2, 0x1000, -1}, Case{2, 0x1000 | LVNI_BELOW, 3}}) {
    EXPECT_EQ(host.list.GetNextItem(c.row, c.flags), c.expected) << c.row << " " << c.flags;
  }
}

TEST(ListData, CreationSplitsListStylesFromTheWindowStyles) {
  ListHost<SECListCtrl> host(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_EDITLABELS, CRect(0, 0, 200, 100),
                             LVXS_FULLROWSELECT | LVXS_HGRID | WS_EX_CLIENTEDGE);
  EXPECT_EQ(host.list.GetStyle(), static_cast<DWORD>(LVS_REPORT | LVS_SINGLESEL | LVS_EDITLABELS));
  EXPECT_EQ(host.list.GetExStyle(), LVXS_FULLROWSELECT | LVXS_HGRID);
  DWORD windowStyle = static_cast<DWORD>(::GetWindowLong(host.Hwnd(), GWL_STYLE));
  EXPECT_EQ(windowStyle & 0xF3FF, 0u);
  EXPECT_TRUE(::GetWindowLong(host.Hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // A list that is not in report view gets one header-less column.
  ListHost<SECListCtrl> icons(WS_CHILD | WS_VISIBLE | LVS_ICON);
  EXPECT_EQ(icons.list.GetColumnCount(), 1);
  EXPECT_TRUE(icons.list.IsStyleSet(LVS_NOCOLUMNHEADER));
}

TEST(ListData, SingleSelectionStylesAndTheirSetters) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, Numbered(4));
  host.list.SelectItem(2);
  host.list.SelectItem(3);
  ASSERT_EQ(host.list.GetSelectedCount(), 3);
  host.list.SetMultiSel(FALSE);
  EXPECT_EQ(host.list.GetSelectedCount(), 0);
  EXPECT_TRUE(host.list.IsStyleSet(LVS_SINGLESEL));
  host.list.SelectItem(1);
  host.list.SelectItem(2);
  EXPECT_EQ(host.Selection(), std::vector<int>{2});
  host.list.SetHeaderStyles(FALSE, TRUE);
  EXPECT_TRUE(host.list.IsStyleSet(LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER));
  host.list.SetHeaderStyles(TRUE, FALSE);
  EXPECT_FALSE(host.list.IsStyleSet(LVS_NOCOLUMNHEADER));
  EXPECT_TRUE(host.list.IsStyleSet(LVS_NOSORTHEADER));
  host.list.ModifyListStyle(0, LVXS_FITCOLUMNSONSIZE);
  EXPECT_TRUE(host.list.IsExStyleSet(LVXS_FITCOLUMNSONSIZE));
  host.list.SetListStyle(LVIS_CUT);
  EXPECT_EQ(host.list.GetListStyle(), static_cast<UINT>(LVIS_CUT));
}

// The parent answers LVN_GETDISPINFO with a long text of its own.
class DispInfoParent : public CWnd {
 public:
  std::string answer;
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override {
    auto* info = reinterpret_cast<NMLVDISPINFO*>(lParam);
    if (info->hdr.code == LVN_GETDISPINFO && (info->item.mask & LVIF_TEXT)) info->item.pszText = answer.data();
    *pResult = 0;
    return TRUE;
  }
};

TEST(ListData, TextCopiesAreBoundedAndNeverSplitADoubleByteCharacter) {
  brambolt::ScopedCodePage gbk(936);
  ListHost<SECListCtrl> host;
  FillLabels(host.list, {"ab\xD6\xD0\xCE\xC4"});
  char buffer[4] = {'x', 'x', 'x', 'x'};
  LVITEM item{};
  item.mask = LVIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  ASSERT_TRUE(host.list.GetItem(&item));
  EXPECT_STREQ(buffer, "ab");  // the double-byte character would not fit whole
  item.cchTextMax = 0;
  buffer[0] = 'x';
  ASSERT_TRUE(host.list.GetItem(&item));
  EXPECT_EQ(buffer[0], 'x');  // nothing written into no room
  // A parent's long answer to a callback is cut to the caller's buffer too.
  DispInfoParent parent;
  parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr);
  parent.answer = std::string(5000, 'q');
  SECListCtrl list;
  list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 200, 100), &parent, 5);
  list.InsertColumn(0, "c", LVCFMT_LEFT, 100);
  list.InsertItem(0, LPSTR_TEXTCALLBACK);
  char small[16];
  EXPECT_EQ(list.GetItemText(0, 0, small, sizeof small), 15);
  EXPECT_EQ(list.GetItemText(0, 0).GetLength(), kListTextBufferSize - 1);
  list.DestroyWindow();
  parent.DestroyWindow();
}

TEST(ListData, InvalidateItemHeightsMarksEveryRowOfEitherForm) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, Numbered(5));
  host.list.RecalcLayout();
  host.list.GetCountPerPage();  // measures the rows
  ASSERT_GT(host.list.GetItemRecord(0)->m_cy, 0);
  InvalidateItemHeights(&host.list);
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(host.list.GetItemRecord(row)->m_cy, -1);
    EXPECT_TRUE(host.list.GetItemRecord(row)->m_bDirty);
  }
}

}  // namespace
