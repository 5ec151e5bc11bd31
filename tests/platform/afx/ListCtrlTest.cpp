// CListCtrl and CHeaderCtrl over real controls: columns, items and their texts and data, the
// selection walk, finding and sorting, image lists and styles, and notifications reflected to a
// derived list.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlTestSupport.h"

using brambolt::test::Click;
using brambolt::test::UiSession;

namespace {

class ListCtrls : public brambolt::test::HostedControls {
 protected:
  // A report like the file page of a wizard: a name column of 60 % and a description with the rest.
  void MakeReport(CListCtrl& list, DWORD style = 0) {
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | style, CRect(10, 10, 310, 210), &host, 1226));
    CRect client;
    list.GetClientRect(&client);
    int name = static_cast<int>(client.Width() * 0.6);
    ASSERT_EQ(list.InsertColumn(0, "File Name", LVCFMT_LEFT, name), 0);
    ASSERT_EQ(list.InsertColumn(1, "Description", LVCFMT_LEFT, client.Width() - name - GetSystemMetrics(SM_CXVSCROLL)), 1);
  }
  static std::vector<int> SelectedItems(const CListCtrl& list) {
    std::vector<int> out;
    POSITION pos = list.GetFirstSelectedItemPosition();
    while (pos) out.push_back(list.GetNextSelectedItem(pos));
    return out;
  }
};

struct InsertCase {
  const char* name;
  std::function<int(CListCtrl&)> insert;
  const char* text;
  int image;
  LPARAM data;
  UINT state;
};

class ListCtrlInserts : public ListCtrls, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(ListCtrlInserts, EachOverloadStoresWhatItIsGiven) {
  CListCtrl list;
  MakeReport(list);
  list.InsertItem(0, "existing");
  EXPECT_EQ(GetParam().insert(list), 0);
  EXPECT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(list.GetItemText(0, 0), GetParam().text);
  LVITEM item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.iItem = 0;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ASSERT_TRUE(list.GetItem(&item));
  EXPECT_EQ(item.iImage, GetParam().image);
  EXPECT_EQ(item.lParam, GetParam().data);
  EXPECT_EQ(item.state, GetParam().state);
  EXPECT_EQ(list.GetItemText(1, 0), "existing");
}

INSTANTIATE_TEST_SUITE_P(
    Overloads, ListCtrlInserts,
    ::testing::Values(InsertCase{"Text", [](CListCtrl& l) { return l.InsertItem(0, "plain"); }, "plain", 0, 0, 0},
                      InsertCase{"TextAndImage", [](CListCtrl& l) { return l.InsertItem(0, "pic", 3); }, "pic", 3, 0, 0},
                      InsertCase{"Everything",
                                 [](CListCtrl& l) {
                                   return l.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE, 0,
                                                       "New Project", LVIS_SELECTED | LVIS_FOCUSED,
                                                       LVIS_SELECTED | LVIS_FOCUSED, 0, 100);
                                 },
                                 "New Project", 0, 100, LVIS_SELECTED | LVIS_FOCUSED},
                      InsertCase{"Structure",
                                 [](CListCtrl& l) {
                                   LVITEM item{};
                                   item.mask = LVIF_TEXT | LVIF_PARAM;
                                   item.pszText = const_cast<char*>("raw");
                                   item.lParam = 7;
                                   return l.InsertItem(&item);
                                 },
                                 "raw", 0, 7, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListCtrls, ColumnsTextsAndDataGoThroughTheControl) {
  CListCtrl list;
  MakeReport(list);
  CRect client;
  list.GetClientRect(&client);
  EXPECT_EQ(list.GetColumnWidth(0), static_cast<int>(client.Width() * 0.6));
  int path = list.InsertItem(0, "C:\\work\\main.cpp", 0);
  EXPECT_TRUE(list.SetItemText(path, 1, "Source Code file"));
  EXPECT_EQ(list.GetItemText(path, 1), "Source Code file");
  char buffer[5];
  EXPECT_EQ(list.GetItemText(path, 1, buffer, sizeof(buffer)), 4);
  EXPECT_STREQ(buffer, "Sour");
  std::string longText(700, 'x');
  list.SetItemText(path, 0, longText.c_str());
  EXPECT_EQ(std::string(list.GetItemText(path, 0)), longText);
  EXPECT_TRUE(list.SetItemData(path, 0x1234));
  EXPECT_EQ(list.GetItemData(path), 0x1234u);
  EXPECT_EQ(list.GetItemData(9), 0u);
  LVCOLUMN column{};
  char heading[32] = {};
  column.mask = LVCF_TEXT;
  column.pszText = heading;
  column.cchTextMax = sizeof(heading);
  EXPECT_TRUE(list.GetColumn(1, &column));
  EXPECT_STREQ(heading, "Description");
  EXPECT_TRUE(list.SetColumnWidth(1, 77));
  EXPECT_EQ(list.GetColumnWidth(1), 77);
  CHeaderCtrl* header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->GetItemCount(), 2);
  CRect second;
  EXPECT_TRUE(header->GetItemRect(1, &second));
  EXPECT_EQ(second.Width(), 77);
  EXPECT_TRUE(list.DeleteColumn(1));
  EXPECT_EQ(header->GetItemCount(), 1);
  EXPECT_TRUE(list.DeleteItem(path));
  EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ListCtrls, TheSelectionIsWalkedByPosition) {
  CListCtrl list;
  MakeReport(list);
  for (const char* s : {"a", "b", "c", "d", "e"}) list.InsertItem(list.GetItemCount(), s);
  EXPECT_EQ(list.GetFirstSelectedItemPosition(), nullptr);
  EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
  list.SetItemState(4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{0, 1, 4}));
  EXPECT_EQ(list.GetSelectedCount(), 3u);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 4);
  EXPECT_EQ(list.GetItemState(4, LVIS_FOCUSED), static_cast<UINT>(LVIS_FOCUSED));
  EXPECT_EQ(list.GetNextItem(1, LVNI_SELECTED), 4);
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetSelectedCount(), 0u);
  EXPECT_EQ(list.GetFirstSelectedItemPosition(), nullptr);
}

int CALLBACK ByTextLength(LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(a - b); }

TEST_F(ListCtrls, FindAndSortWork) {
  CListCtrl list;
  MakeReport(list);
  const char* names[] = {"readme.txt", "a.h", "main.cpp"};
  for (const char* s : names) {
    int i = list.InsertItem(list.GetItemCount(), s);
    list.SetItemData(i, std::string(s).size());
  }
  LVFINDINFO find{};
  find.flags = LVFI_STRING;
  find.psz = "MAIN.CPP";
  EXPECT_EQ(list.FindItem(&find), 2);
  find.flags = LVFI_STRING | LVFI_PARTIAL;
  find.psz = "a.";
  EXPECT_EQ(list.FindItem(&find), 1);
  EXPECT_EQ(list.FindItem(&find, 1), -1);
  EXPECT_TRUE(list.SortItems(&ByTextLength, 0));
  EXPECT_EQ(list.GetItemText(0, 0), "a.h");
  EXPECT_EQ(list.GetItemText(1, 0), "main.cpp");
  EXPECT_EQ(list.GetItemText(2, 0), "readme.txt");
  find.flags = LVFI_PARAM;
  find.lParam = 10;
  EXPECT_EQ(list.FindItem(&find), 2);
}

TEST_F(ListCtrls, ImageListsAndStylesReturnWhatWasBefore) {
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                          CRect(10, 10, 310, 210), &host, 1226));
  CImageList large, other;
  ASSERT_TRUE(large.Create(32, 32, ILC_COLOR24 | ILC_MASK, 0, 1));
  ASSERT_TRUE(other.Create(32, 32, ILC_COLOR24 | ILC_MASK, 0, 1));
  EXPECT_EQ(list.SetImageList(&large, LVSIL_NORMAL), nullptr);
  EXPECT_EQ(list.GetImageList(LVSIL_NORMAL)->GetSafeHandle(), large.GetSafeHandle());
  EXPECT_EQ(list.SetImageList(&other, LVSIL_NORMAL)->GetSafeHandle(), large.GetSafeHandle());
  EXPECT_EQ(list.GetImageList(LVSIL_SMALL), nullptr);
  EXPECT_EQ(list.SetExtendedStyle(LVS_EX_FULLROWSELECT), 0u);
  EXPECT_EQ(list.SetExtendedStyle(LVS_EX_GRIDLINES), static_cast<DWORD>(LVS_EX_FULLROWSELECT));
  EXPECT_EQ(list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_GRIDLINES));
  list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE, 0, "New Project", LVIS_SELECTED | LVIS_FOCUSED,
                  LVIS_SELECTED | LVIS_FOCUSED, 0, 100);
  CRect icon;
  ASSERT_TRUE(list.GetItemRect(0, &icon, LVIR_ICON));
  EXPECT_EQ(icon.Width(), 32);
  UINT flags = 0;
  EXPECT_EQ(list.HitTest(icon.CenterPoint(), &flags), 0);
  EXPECT_EQ(flags, static_cast<UINT>(LVHT_ONITEMICON));
  EXPECT_EQ(list.HitTest(CPoint(290, 190), &flags), -1);
  EXPECT_EQ(list.GetItemData(list.GetNextItem(-1, LVNI_SELECTED)), 100u);
}

TEST_F(ListCtrls, EnsureVisibleScrollsALongList) {
  CListCtrl list;
  MakeReport(list);
  list.SetRedraw(FALSE);
  for (int i = 0; i < 500; ++i) list.InsertItem(i, ("file" + std::to_string(i)).c_str());
  list.SetRedraw(TRUE);
  EXPECT_EQ(list.GetTopIndex(), 0);
  EXPECT_TRUE(list.EnsureVisible(300, FALSE));
  EXPECT_EQ(list.GetTopIndex() + list.GetCountPerPage() - 1, 300);
  CRect row;
  list.GetItemRect(list.GetTopIndex(), &row, LVIR_BOUNDS);
  CRect sub;
  ASSERT_TRUE(list.GetSubItemRect(list.GetTopIndex(), 1, LVIR_BOUNDS, sub));
  EXPECT_EQ(sub.left, list.GetColumnWidth(0));
  EXPECT_EQ(sub.top, row.top);
  EXPECT_TRUE(list.Scroll(CSize(0, -row.Height() * 10)));
  EXPECT_EQ(list.GetTopIndex(), 300 - list.GetCountPerPage() + 1 - 10);
}

// A derived list that keeps what the control reflects back to it.
class ReflectingList : public CListCtrl {
 public:
  std::vector<int> changedItems;
  int clicks = 0;

 protected:
  afx_msg void OnItemChanged(NMHDR* nm, LRESULT* result) {
    auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
    if ((lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED)) changedItems.push_back(lv->iItem);
    *result = 0;
  }
  afx_msg void OnClick(NMHDR*, LRESULT* result) {
    ++clicks;
    *result = 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingList, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
  ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
END_MESSAGE_MAP()

TEST_F(ListCtrls, NotificationsAreReflectedToADerivedList) {
  ReflectingList list;
  MakeReport(list);
  list.InsertItem(0, "one");
  list.InsertItem(1, "two");
  CRect label;
  list.GetItemRect(1, &label, LVIR_LABEL);
  Click(list, CPoint(label.left + 3, label.CenterPoint().y));
  EXPECT_EQ(list.changedItems, std::vector<int>{1});
  EXPECT_EQ(list.clicks, 1);
  EXPECT_EQ(SelectedItems(list), std::vector<int>{1});
}

}  // namespace
