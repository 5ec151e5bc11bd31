// The tree engine: nodes and handles (stale ones refused), sorted insertion, rows that follow the
// shown nodes through any sequence of edits, expansion with lazy children and vetoes, sorting,
// keys, hover expansion while dragging, label editing and the sub-item text store.
#include <algorithm>
#include <cctype>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/widgets/ListTestSupport.h"
#include "widgets/SECTreeCtrl.h"

using brambolt::test::AdvanceClock;
using brambolt::test::Click;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::TypeText;
using widgets_testing::LabelPoint;
using widgets_testing::ListHost;

namespace {

constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS;

struct TreeHost : ListHost<SECTreeCtrl> {
  explicit TreeHost(DWORD style = kTreeStyle) : ListHost<SECTreeCtrl>(style) {}
  HTREEITEM Add(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST) {
    return list.InsertItem(text, parent, after);
  }
  std::vector<std::string> Children(HTREEITEM parent) {
    std::vector<std::string> texts;
    for (HTREEITEM child = list.GetChildItem(parent); child != nullptr; child = list.GetNextSiblingItem(child))
      texts.push_back(static_cast<const char*>(list.GetItemText(child)));
    return texts;
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> texts;
    for (int row = 0; row < list.GetItemCount(); ++row)
      texts.push_back(static_cast<const char*>(list.GetItemText(list.GetItemOfRow(row))));
    return texts;
  }
};

TEST(Tree, SortedInsertionIgnoresCaseAndKeepsEqualItemsInOrder) {
  TreeHost host;
  HTREEITEM parent = host.Add("parent");
  for (const char* text : {"a", "b", "c"}) host.Add(text, parent, TVI_SORT);
  host.Add("B", parent, TVI_SORT);
  EXPECT_EQ(host.Children(parent), (std::vector<std::string>{"a", "b", "B", "c"}));
  // Unsorted children: before the first that compares greater, or last.
  HTREEITEM other = host.Add("other");
  for (const char* text : {"m", "d", "x"}) host.Add(text, other);
  host.Add("k", other, TVI_SORT);
  host.Add("z", other, TVI_SORT);
  EXPECT_EQ(host.Children(other), (std::vector<std::string>{"k", "m", "d", "x", "z"}));
  host.Add("n", other, TVI_SORTDESC);
  EXPECT_EQ(host.Children(other).front(), "n");
  // An insert-after that is not a child of the parent links nothing.
  EXPECT_EQ(host.Add("lost", parent, host.list.GetChildItem(other)), nullptr);
  EXPECT_EQ(host.Children(parent).size(), 4u);
}

TEST(Tree, NavigationAndHandlesThatNameNoNodeAreRefused) {
  TreeHost host;
  HTREEITEM top = host.Add("top");
  HTREEITEM child = host.Add("child", top);
  EXPECT_EQ(host.list.GetParentItem(top), nullptr);
  EXPECT_EQ(host.list.GetParentItem(child), top);
  EXPECT_EQ(host.list.GetChildItem(nullptr), top);
  host.list.SetItemData(child, 42);
  EXPECT_EQ(host.list.GetItemData(child), 42u);
  ASSERT_TRUE(host.list.DeleteItem(child));
  // The handle is stale now: every operation gives the failure result and touches nothing.
  EXPECT_EQ(host.list.GetItemData(child), 0u);
  EXPECT_EQ(host.list.GetItemText(child), "");
  EXPECT_FALSE(host.list.SetItemText(child, "x"));
  EXPECT_FALSE(host.list.Expand(child, TVE_EXPAND));
  EXPECT_FALSE(host.list.SelectItem(child));
  EXPECT_FALSE(host.list.DeleteItem(child));
  EXPECT_EQ(host.list.GetParentItem(child), nullptr);
  HTREEITEM foreign = reinterpret_cast<HTREEITEM>(&host);
  EXPECT_EQ(host.list.GetItemData(foreign), 0u);
  EXPECT_EQ(host.list.InsertItem("x", foreign), nullptr);
  // NULL is not the root for deletion.
  EXPECT_FALSE(host.list.DeleteItem(static_cast<HTREEITEM>(nullptr)));
  EXPECT_EQ(host.list.GetCount(), 1);
  host.list.SetIndent(21);
  EXPECT_EQ(host.list.GetIndent(), 22);
}

TEST(Tree, ItemsCompareAsTheCodePageComparesTheirTextsIgnoringCase) {
  TreeHost host;
  const char* texts[] = {"", "a", "A", "ab", "aB_", "a_", "a[", "Z", "z1", "\xC4pfel", "\xE4pfel", "x\xC4", "x\xE4y",
                         "X\xE4Z", "~", "0"};
  std::vector<HTREEITEM> items;
  for (const char* text : texts) items.push_back(host.Add(text));
  auto sign = [](int n) { return (n > 0) - (n < 0); };
  for (size_t i = 0; i < items.size(); ++i) {
    for (size_t j = 0; j < items.size(); ++j) {
      const auto* a = reinterpret_cast<const unsigned char*>(texts[i]);
      const auto* b = reinterpret_cast<const unsigned char*>(texts[j]);
      EXPECT_EQ(sign(host.list.CompareItems(items[i], items[j])), sign(_mbsicmp(a, b))) << texts[i] << " / " << texts[j];
    }
  }
}

TEST(Tree, DeletingTheRootLeavesAFreshExpandedRootAndNotifiesEveryItem) {
  TreeHost host;
  HTREEITEM top = host.Add("top");
  HTREEITEM a = host.Add("a", top);
  HTREEITEM a1 = host.Add("a1", a);
  HTREEITEM b = host.Add("b", top);
  HTREEITEM next = host.Add("next");
  host.list.Expand(top, TVE_EXPAND);
  ASSERT_EQ(host.list.GetItemCount(), 4);
  host.parent.notes.clear();
  // A listener that deletes or adds items while the tree is emptied changes nothing.
  host.parent.onNotify = [&](NMHDR* hdr) {
    if (hdr->code != TVN_DELETEITEM) return;
    EXPECT_FALSE(host.list.DeleteItem(next));
    EXPECT_EQ(host.Add("late", top), nullptr);
  };
  ASSERT_TRUE(host.list.DeleteAllItems());
  host.parent.onNotify = nullptr;
  EXPECT_EQ(host.list.GetItemCount(), 0);
  EXPECT_EQ(host.list.GetCount(), 0);
  EXPECT_TRUE(host.list.GetRootNode()->IsExpanded());
  // Every item once, children before their parents, then the root.
  std::vector<HTREEITEM> deleted;
  for (const auto& note : host.parent.notes)
    if (note.code == TVN_DELETEITEM) deleted.push_back(note.hOld);
  ASSERT_EQ(deleted.size(), 6u);
  EXPECT_EQ(std::vector<HTREEITEM>(deleted.begin(), deleted.end() - 1), (std::vector<HTREEITEM>{a1, a, b, top, next}));
  for (HTREEITEM gone : {top, a, a1, b, next}) EXPECT_EQ(host.list.GetNode(gone), nullptr);
  HTREEITEM again = host.Add("again");
  EXPECT_EQ(host.list.GetItemCount(), 1);
  EXPECT_EQ(host.list.GetItemOfRow(0), again);
}

TEST(Tree, ExpandWithoutChildrenAndWithLazyChildren) {
  TreeHost host;
  HTREEITEM leaf = host.Add("leaf");
  host.parent.notes.clear();
  EXPECT_TRUE(host.list.Expand(leaf, TVE_EXPAND, TRUE, FALSE));
  EXPECT_TRUE(host.parent.notes.empty());
  EXPECT_FALSE(host.list.Expand(leaf, TVE_EXPAND, TRUE, TRUE));
  EXPECT_EQ(host.parent.Count(TVN_ITEMEXPANDING), 1);
  // A collapsed item that reports children gets them from its parent while it expands.
  TVITEM lazy{};
  lazy.mask = TVIF_CHILDREN | TVIF_HANDLE;
  lazy.hItem = host.Add("lazy");
  lazy.cChildren = 1;
  host.list.SetItem(&lazy);
  bool insert = true;
  host.parent.onNotify = [&](NMHDR* hdr) {
    if (hdr->code != TVN_ITEMEXPANDING || !insert) return;
    auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
    host.list.InsertItem("loaded 1", nm->itemNew.hItem);
    host.list.InsertItem("loaded 2", nm->itemNew.hItem);
  };
  EXPECT_TRUE(host.list.Expand(lazy.hItem, TVE_EXPAND));
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"leaf", "lazy", "loaded 1", "loaded 2"}));
  const auto* expanded = host.parent.Last(TVN_ITEMEXPANDED);
  ASSERT_NE(expanded, nullptr);
  EXPECT_EQ(expanded->newState, static_cast<UINT>(TVIS_EXPANDED));
  // A parent that answers 1 vetoes.
  host.parent.answers[TVN_ITEMEXPANDING] = 1;
  EXPECT_FALSE(host.list.Expand(lazy.hItem, TVE_COLLAPSE));
  EXPECT_TRUE(host.list.IsExpanded(lazy.hItem));
  // Collapse-reset deletes the children.
  host.parent.answers.clear();
  insert = false;
  EXPECT_TRUE(host.list.Expand(lazy.hItem, TVE_COLLAPSE | TVE_COLLAPSERESET));
  EXPECT_EQ(host.list.GetChildItem(lazy.hItem), nullptr);
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"leaf", "lazy"}));
}

TEST(Tree, CollapsingAboveTheSelectionMovesItUpEvenWhenVetoed) {
  TreeHost host;
  HTREEITEM top = host.Add("top");
  HTREEITEM mid = host.Add("mid", top);
  HTREEITEM low = host.Add("low", mid);
  ASSERT_TRUE(host.list.SelectItem(low));
  EXPECT_EQ(host.list.GetSelectedItem(), low);
  host.parent.notes.clear();
  host.parent.answers[TVN_SELCHANGING] = 1;
  ASSERT_TRUE(host.list.Expand(top, TVE_COLLAPSE));
  EXPECT_EQ(host.list.GetSelectedItem(), top);
  const auto* changing = host.parent.Last(TVN_SELCHANGING);
  ASSERT_NE(changing, nullptr);
  EXPECT_EQ(changing->action, static_cast<UINT>(TVC_BYMOUSE));
  EXPECT_EQ(changing->hNew, top);
  EXPECT_EQ(changing->hOld, low);
  EXPECT_EQ(host.parent.Count(TVN_SELCHANGED), 1);
  EXPECT_EQ(host.Rows(), std::vector<std::string>{"top"});
  // Selecting by the API is vetoed by the same answer.
  EXPECT_FALSE(host.list.SelectItem(low));
  EXPECT_EQ(host.list.GetSelectedItem(), top);
}

// Pre-order of the shown nodes, computed from the nodes alone.
void ShownPreOrder(SECTreeCtrl& tree, HTREEITEM parent, std::vector<HTREEITEM>& out) {
  if (parent != TVI_ROOT && !tree.IsExpanded(parent)) return;
  for (HTREEITEM child = tree.GetChildItem(parent); child != nullptr; child = tree.GetNextSiblingItem(child)) {
    SECTreeStateExRequest request;
    request.dwMask = TVIS_EX_HIDDEN;
    tree.GetItemStateEx(child, &request);
    if (tree.GetNode(child)->m_dwExState & TVIS_EX_HIDDEN) continue;
    out.push_back(child);
    ShownPreOrder(tree, child, out);
  }
}

TEST(Tree, RowsAreThePreOrderOfShownNodesAfterAnySequenceOfEdits) {
  TreeHost host;
  std::mt19937 random(11);
  std::vector<HTREEITEM> items;
  auto pick = [&]() { return items[random() % items.size()]; };
  for (int step = 0; step < 600; ++step) {
    int action = items.empty() ? 0 : static_cast<int>(random() % 8);
    switch (action) {
      case 0:
      case 1:
      case 2: {
        HTREEITEM parent = items.empty() || random() % 4 == 0 ? TVI_ROOT : pick();
        HTREEITEM after = random() % 3 == 0 ? TVI_FIRST : (random() % 2 ? TVI_SORT : TVI_LAST);
        items.push_back(host.list.InsertItem(("n" + std::to_string(step)).c_str(), parent, after));
        break;
      }
      case 3: host.list.Expand(pick(), TVE_EXPAND); break;
      case 4: host.list.Expand(pick(), TVE_COLLAPSE); break;
      case 5: {
        HTREEITEM gone = pick();
        host.list.DeleteItem(gone);
        items.erase(std::remove_if(items.begin(), items.end(), [&](HTREEITEM h) { return host.list.GetNode(h) == nullptr; }),
                    items.end());
        break;
      }
      case 6: host.list.SortChildren(pick(), random() % 2, random() % 2); break;
      default: {
        HTREEITEM item = pick();
        host.list.SetItemStateEx(item, random() % 2 ? TVIS_EX_HIDDEN : 0, TVIS_EX_HIDDEN);
        if (random() % 2) host.list.EnsureVisible(item);
        break;
      }
    }
    std::vector<HTREEITEM> expected;
    ShownPreOrder(host.list, TVI_ROOT, expected);
    std::vector<HTREEITEM> rows;
    for (int row = 0; row < host.list.GetItemCount(); ++row) rows.push_back(host.list.GetItemOfRow(row));
    ASSERT_EQ(rows, expected) << "after step " << step << " action " << action;
    for (size_t row = 0; row < rows.size(); ++row) ASSERT_EQ(host.list.GetItemRow(rows[row]), static_cast<int>(row));
  }
}

TEST(Tree, SortingIsStableCaseInsensitiveAndKeepsTheSelection) {
  TreeHost host;
  HTREEITEM top = host.Add("top");
  std::vector<HTREEITEM> kids;
  for (const char* text : {"delta", "Alpha", "charlie", "alpha", "Bravo"}) kids.push_back(host.Add(text, top));
  host.Add("under", kids[0]);
  host.list.Expand(top, TVE_EXPAND);
  host.list.Expand(kids[0], TVE_EXPAND);
  ASSERT_TRUE(host.list.SelectItem(kids[2]));
  ASSERT_TRUE(host.list.SortChildren(top, TRUE, TRUE));
  EXPECT_EQ(host.Children(top), (std::vector<std::string>{"Alpha", "alpha", "Bravo", "charlie", "delta"}));
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"top", "Alpha", "alpha", "Bravo", "charlie", "delta", "under"}));
  EXPECT_EQ(host.list.GetSelectedItem(), kids[2]);
  host.list.SortChildren(top, FALSE, FALSE);
  EXPECT_EQ(host.Children(top), (std::vector<std::string>{"delta", "charlie", "Bravo", "Alpha", "alpha"}));
}

TEST(Tree, SortingFewOrManyChildrenKeepsEqualItemsInOrderBothWays) {
  std::mt19937 random(7);
  for (int count : {5, 24, 25, 60}) {
    TreeHost host;
    HTREEITEM top = host.Add("top");
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
      std::string text(1, static_cast<char>((random() % 2 ? 'a' : 'A') + random() % 4));
      text += std::to_string(i);  // equal texts are told apart by what follows the case-blind part
      texts.push_back(text);
      host.Add(text.substr(0, 1).c_str(), top);
    }
    auto key = [](const std::string& t) { return static_cast<char>(std::tolower(static_cast<unsigned char>(t[0]))); };
    auto labels = [](std::vector<std::string> sorted) {
      for (std::string& t : sorted) t.resize(1);
      return sorted;
    };
    std::vector<std::string> ascending = texts;
    std::stable_sort(ascending.begin(), ascending.end(), [&](auto& a, auto& b) { return key(a) < key(b); });
    ASSERT_TRUE(host.list.SortChildren(top, FALSE, TRUE));
    EXPECT_EQ(host.Children(top), labels(ascending)) << count << " children";
    // Descending from the ascending order: equal items keep the order they now have.
    std::stable_sort(ascending.begin(), ascending.end(), [&](auto& a, auto& b) { return key(b) < key(a); });
    ASSERT_TRUE(host.list.SortChildren(top, FALSE, FALSE));
    EXPECT_EQ(host.Children(top), labels(ascending)) << count << " children";
  }
}

TEST(Tree, TextsOfAnyLengthSurviveRewritesAndARefilledTreeStartsFresh) {
  TreeHost host;
  const std::string longText(100, 'L');
  HTREEITEM shortItem = host.Add("short");
  HTREEITEM longItem = host.Add(longText.c_str());
  host.Add("child", longItem);
  // An item written back with the text it was read with (the item's own) keeps that text.
  for (HTREEITEM item : {shortItem, longItem}) {
    const CString before = host.list.GetItemText(item);
    TVITEM tv{};
    tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_HANDLE;
    tv.hItem = item;
    ASSERT_TRUE(host.list.GetItem(&tv, FALSE, FALSE));
    tv.iImage = 3;
    ASSERT_TRUE(host.list.SetItem(&tv));
    EXPECT_EQ(host.list.GetItemText(item), before);
  }
  ASSERT_TRUE(host.list.SetItemText(shortItem, longText.c_str()));
  ASSERT_TRUE(host.list.SetItemText(longItem, "s"));
  EXPECT_EQ(host.list.GetItemText(shortItem), longText.c_str());
  EXPECT_EQ(host.list.GetItemText(longItem), "s");
  host.list.SetItemState(longItem, TVIS_BOLD | TVIS_CUT, TVIS_BOLD | TVIS_CUT);
  host.list.SetItemData(longItem, 7);
  host.list.Expand(longItem, TVE_EXPAND);
  ASSERT_TRUE(host.list.DeleteAllItems());
  // Items made after the tree was emptied are as new as the first ones were.
  for (const char* text : {"one", "two", "three", "a label longer than thirty-two characters"}) {
    HTREEITEM item = host.Add(text);
    TVITEM tv{};
    tv.mask = TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN | TVIF_HANDLE;
    tv.stateMask = ~0u;
    tv.hItem = item;
    ASSERT_TRUE(host.list.GetItem(&tv));
    EXPECT_EQ(tv.state, 0u) << text;
    EXPECT_EQ(tv.iImage, kTreeNoImage) << text;
    EXPECT_EQ(tv.iSelectedImage, kTreeNoImage) << text;
    EXPECT_EQ(tv.lParam, 0) << text;
    EXPECT_EQ(tv.cChildren, 0) << text;
    EXPECT_EQ(host.list.GetChildItem(item), nullptr) << text;
    EXPECT_EQ(host.list.GetItemText(item), text);
  }
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"one", "two", "three", "a label longer than thirty-two characters"}));
}

TEST(Tree, KeysCollapseExpandAndWalkTheLevels) {
  TreeHost host;
  HTREEITEM top = host.Add("top");
  HTREEITEM child = host.Add("child", top);
  host.Add("grandchild", child);
  host.list.SetFocus();
  host.list.SelectItem(top);
  PressKey(VK_RIGHT);
  EXPECT_TRUE(host.list.IsExpanded(top));
  PressKey(VK_RIGHT);
  EXPECT_EQ(host.list.GetSelectedItem(), child);
  PressKey(VK_LEFT);
  EXPECT_EQ(host.list.GetSelectedItem(), top);
  PressKey(VK_LEFT);
  EXPECT_FALSE(host.list.IsExpanded(top));
  PressKey(VK_MULTIPLY);
  EXPECT_TRUE(host.list.IsExpanded(child));
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"top", "child", "grandchild"}));
  // '-' and '+' are swallowed, not taken for type-ahead; other characters search.
  host.list.SelectItem(top);
  AdvanceClock(600);  // the '*' typed with the key above was a failed search: let it pass
  for (char c : {'-', '+', 'g'}) host.list.SendMessage(WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(host.list.GetSelectedItem(), host.list.GetChildItem(child));
  EXPECT_GE(host.parent.Count(TVN_KEYDOWN), 5);
}

TEST(Tree, ExpandAllFromTheRootOpensEveryLevelInOnePass) {
  TreeHost host;
  HTREEITEM a = host.Add("a");
  HTREEITEM a1 = host.Add("a1", a);
  host.Add("a11", a1);
  HTREEITEM b = host.Add("b");
  host.Add("b1", b);
  ASSERT_TRUE(host.list.ExpandAll(TVI_ROOT));
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"a", "a1", "a11", "b", "b1"}));
  EXPECT_EQ(host.parent.Count(TVN_ITEMEXPANDED), 3);
}

TEST(Tree, ClickingTheButtonTogglesWithoutSelecting) {
  TreeHost host;
  HTREEITEM first = host.Add("first");
  HTREEITEM second = host.Add("second");
  host.Add("inside", second);
  host.list.SelectItem(first);
  RunUntilIdle();
  CRect cell, button;
  ASSERT_TRUE(host.list.GetSubItemRect(1, 0, &cell, 0));
  host.list.GetButtonRect(&button, 1, cell.TopLeft());
  ASSERT_FALSE(button.IsRectEmpty());
  UINT flags = 0;
  EXPECT_EQ(host.list.HitTest(button.CenterPoint(), &flags), second);
  EXPECT_EQ(flags, 0x4000U | TVHT_ONITEMBUTTON);
  Click(host.Hwnd(), button.CenterPoint());
  EXPECT_TRUE(host.list.IsExpanded(second));
  EXPECT_EQ(host.list.GetSelectedItem(), first);
  // A double click on the label toggles it back.
  AdvanceClock(1000);
  brambolt::test::DoubleClick(host.Hwnd(), LabelPoint(host.list, 1));
  EXPECT_FALSE(host.list.IsExpanded(second));
}

TEST(Tree, HoveringADropTargetExpandsItAfterTheDelay) {
  TreeHost host;
  host.list.ModifyTreeStyleEx(0, TVXS_HOVEREXPAND);
  host.Add("first");
  HTREEITEM target = host.Add("target");
  host.Add("inside", target);
  ASSERT_TRUE(host.list.SelectDropTarget(target));
  EXPECT_EQ(host.list.GetDropHilightItem(), target);
  AdvanceClock(900);
  EXPECT_FALSE(host.list.IsExpanded(target));
  AdvanceClock(200);
  EXPECT_TRUE(host.list.IsExpanded(target));
  // Clearing the target stops a pending expansion.
  HTREEITEM other = host.Add("other");
  host.Add("inside", other);
  host.list.SelectDropTarget(other);
  host.list.SelectDropTarget(nullptr);
  AdvanceClock(2000);
  EXPECT_FALSE(host.list.IsExpanded(other));
  EXPECT_EQ(host.list.GetDropHilightItem(), nullptr);
}

// Either button pressed on an item and moved more than 3 pixels begins a drag, told to the
// parent once with the item and the press point (TVN_BEGINDRAG or TVN_BEGINRDRAG); a right drag
// ends without a right click. Nothing is told with TVS_DISABLEDRAGDROP, and a right press that does
// not move is a right click.
TEST(Tree, DraggingAnItemWithEitherButtonTellsTheParentUnlessDragAndDropIsOff) {
  for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
    const UINT begin = button == WM_LBUTTONDOWN ? TVN_BEGINDRAG : TVN_BEGINRDRAG;
    for (bool disabled : {false, true}) {
      SCOPED_TRACE(begin);
      SCOPED_TRACE(disabled);
      TreeHost host(kTreeStyle | (disabled ? TVS_DISABLEDRAGDROP : 0));
      host.Add("first");
      HTREEITEM second = host.Add("second");
      RunUntilIdle();
      POINT from = LabelPoint(host.list, 1);
      brambolt::test::ButtonDown(host.Hwnd(), from, button);
      brambolt::test::MoveMouse(host.Hwnd(), {from.x + 2, from.y + 2});
      EXPECT_EQ(host.parent.Count(begin), 0) << "not beyond 3 pixels yet";
      brambolt::test::MoveMouse(host.Hwnd(), {from.x + 10, from.y + 10});
      brambolt::test::MoveMouse(host.Hwnd(), {from.x + 20, from.y + 20});
      brambolt::test::ButtonUp(host.Hwnd(), {from.x + 20, from.y + 20}, button);
      EXPECT_EQ(host.parent.Count(begin), disabled ? 0 : 1);
      EXPECT_EQ(host.parent.Count(TVN_BEGINDRAG) + host.parent.Count(TVN_BEGINRDRAG), disabled ? 0 : 1);
      if (!disabled) {
        ASSERT_NE(host.parent.Last(begin), nullptr);
        EXPECT_EQ(host.parent.Last(begin)->hNew, second);
      }
      if (button == WM_RBUTTONDOWN) {
        EXPECT_EQ(host.parent.Count(NM_RCLICK), disabled ? 1 : 0);
        // A right press and release in place is a click.
        brambolt::test::ButtonDown(host.Hwnd(), from, button);
        brambolt::test::ButtonUp(host.Hwnd(), from, button);
        EXPECT_EQ(host.parent.Count(NM_RCLICK), disabled ? 2 : 1);
        EXPECT_EQ(host.parent.Count(TVN_BEGINRDRAG), disabled ? 0 : 1);
      }
    }
  }
}

// Where a rectangle of a window holds ink: the number of pixels of another colour than the
// window's, weighted by how dark they are, and the lightest of the darkest channel values.
struct Ink {
  long weight = 0;
  int darkest = 255;
};

Ink InkIn(HWND hwnd, const CRect& rect) {
  Ink ink;
  const COLORREF paper = GetSysColor(COLOR_WINDOW);
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) {
      COLORREF c = brambolt::test::WindowPixel(hwnd, x, y);
      if (c == paper) continue;
      int value = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
      ink.weight += 255 - value;
      ink.darkest = std::min(ink.darkest, value);
    }
  return ink;
}

// An item with TVIS_BOLD is drawn in a bold copy of the list font, wider and darker than the same
// label in the list font; an item with the extended state 0x100 is drawn in the grey text colour.
TEST(Tree, BoldItemsAreDrawnBoldAndMarkedItemsGrey) {
  TreeHost host(WS_CHILD | WS_VISIBLE);
  HTREEITEM plain = host.Add("Same label");
  HTREEITEM bold = host.Add("Same label");
  HTREEITEM grey = host.Add("Same label");
  host.list.SetItemState(bold, TVIS_BOLD, TVIS_BOLD);
  host.list.SetItemStateEx(grey, TVIS_EX_MARK, TVIS_EX_MARK);
  host.parent.SetFocus();  // no selection or focus colours
  host.list.Invalidate();
  host.list.UpdateWindow();
  RunUntilIdle();
  CRect rows[3];
  for (int row = 0; row < 3; ++row) {
    ASSERT_TRUE(host.list.GetSubItemRect(row, 0, &rows[row], LVIR_BOUNDS));
    rows[row].right = 200;
  }
  CRect labels[3];
  for (int row = 0; row < 3; ++row) ASSERT_TRUE(host.list.GetSubItemRect(row, 0, &labels[row], 2));
  const Ink a = InkIn(host.Hwnd(), rows[0]), b = InkIn(host.Hwnd(), rows[1]), c = InkIn(host.Hwnd(), rows[2]);
  ASSERT_GT(a.weight, 0);
  EXPECT_GT(b.weight, a.weight + a.weight / 5) << "bold strokes";
  EXPECT_GT(labels[1].Width(), labels[0].Width()) << "the bold label is measured in its font";
  EXPECT_LT(a.darkest, 64) << "plain text is black";
  const int greyText = GetRValue(GetSysColor(COLOR_GRAYTEXT));
  EXPECT_GE(c.darkest, greyText) << "marked text is grey, nothing of it darker";
  EXPECT_LT(c.darkest, greyText + 16) << "marked text is grey";
  (void)plain;
}

TEST(Tree, LabelEditsSpeakTreeNotificationsAndTheRegisteredMessage) {
  TreeHost host;
  HTREEITEM item = host.Add("old");
  host.parent.answers[TVN_ENDLABELEDIT] = 1;
  UINT message = SECTreeCtrl::GetEndLabelEditMessage();
  int registered = 0;
  struct Watcher : CWnd {};
  host.parent.onNotify = nullptr;
  host.list.SetFocus();
  host.list.SelectItem(item);
  PressKey(VK_F2);
  ASSERT_NE(host.list.GetEditWindow(), nullptr);
  EXPECT_EQ(host.parent.Last(TVN_BEGINLABELEDIT)->hNew, item);
  TypeText("new");
  PressKey(VK_RETURN);
  const auto* end = host.parent.Last(TVN_ENDLABELEDIT);
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(end->text, "new");
  EXPECT_EQ(host.list.GetItemText(item), "new");
  static_cast<void>(registered);
  EXPECT_NE(message, 0u);
  // A refused edit restores the old label.
  host.parent.answers[TVN_ENDLABELEDIT] = 0;
  PressKey(VK_F2);
  TypeText("refused");
  PressKey(VK_RETURN);
  EXPECT_EQ(host.list.GetItemText(item), "new");
}

TEST(Tree, TheEditBoxSitsOnTheIndentedLabel) {
  TreeHost host;
  HTREEITEM top = host.Add("top");
  HTREEITEM child = host.Add("child", host.Add("middle", top));
  host.list.ExpandAll(top);
  RunUntilIdle();
  int row = host.list.GetItemRow(child);
  ASSERT_EQ(row, 2);
  CRect label;
  ASSERT_TRUE(host.list.GetSubItemRect(row, 0, &label, 2));
  EXPECT_GT(label.left, 2 * host.list.GetIndent()) << "past the lines and buttons of two levels";
  ASSERT_NE(host.list.EditLabel(row, 0), nullptr);
  EXPECT_EQ(widgets_testing::EditRect(host.list),
            CRect(label.left - 4, label.top - 1, label.right + 10, label.bottom + 1));
  host.list.EndLabelEdit(FALSE);
  EXPECT_EQ(host.list.GetItemText(child), "child");
}

// The pixels of column `x` from `top` to `bottom` (exclusive) of a window, each as 's' for the
// button shadow colour of the dotted lines, '.' for the background and '?' for anything else.
std::string ColumnOfPixels(HWND hwnd, int x, int top, int bottom, COLORREF back) {
  std::string pixels;
  for (int y = top; y < bottom; ++y) {
    COLORREF c = brambolt::test::WindowPixel(hwnd, x, y);
    pixels += c == ::GetSysColor(COLOR_BTNSHADOW) ? 's' : c == back ? '.' : '?';
  }
  return pixels;
}

TEST(TreePaint, DottedLinesJoinSiblingsAndButtonsShowPlusOrMinus) {
  TreeHost host;
  HTREEITEM alpha = host.Add("alpha");
  host.Add("a1", alpha);
  host.Add("a2", alpha);
  HTREEITEM beta = host.Add("beta");
  host.Add("b1", beta);
  host.Add("gamma");
  host.list.Expand(alpha, TVE_EXPAND);
  host.list.SelectItem(nullptr);
  RunUntilIdle();
  ASSERT_EQ(host.Rows(), (std::vector<std::string>{"alpha", "a1", "a2", "beta", "gamma"}));
  HWND hwnd = host.Hwnd();
  const COLORREF back = host.list.GetBkColor(), ink = ::GetSysColor(COLOR_WINDOWTEXT), white = RGB(255, 255, 255);
  auto button = [&](int row) {
    CRect cell, rect;
    EXPECT_TRUE(host.list.GetSubItemRect(row, 0, &cell, 0));
    host.list.GetButtonRect(&rect, row, cell.TopLeft());
    return rect;
  };
  CRect open = button(0), closed = button(3), leaf = button(4);
  ASSERT_FALSE(open.IsRectEmpty());
  CPoint c = open.CenterPoint();
  int arm = open.Width() / 3;
  // Buttons: a shadow frame on white, a minus when expanded, a plus when collapsed; none on a leaf.
  for (const CRect& r : {open, closed}) {
    CPoint m((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(brambolt::test::WindowPixel(hwnd, r.left, m.y), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(brambolt::test::WindowPixel(hwnd, r.left + 1, r.top + 1), white);
    EXPECT_EQ(brambolt::test::WindowPixel(hwnd, m.x - arm + 1, m.y), ink) << "the minus stroke";
  }
  CPoint mo((open.left + open.right) / 2, (open.top + open.bottom) / 2);
  CPoint mc((closed.left + closed.right) / 2, (closed.top + closed.bottom) / 2);
  EXPECT_EQ(brambolt::test::WindowPixel(hwnd, mo.x, mo.y - arm + 1), white) << "no upright stroke when expanded";
  EXPECT_EQ(brambolt::test::WindowPixel(hwnd, mc.x, mc.y - arm + 1), ink) << "the plus's upright stroke";
  EXPECT_EQ(brambolt::test::WindowPixel(hwnd, leaf.left + 1, leaf.top + 1), back) << "no button on a leaf";
  // The root level's line runs dotted past alpha's children down to beta's button, and stops at
  // the centre of gamma, the last.
  CRect rowA1, rowGamma;
  host.list.GetSubItemRect(1, 0, &rowA1, 0);
  host.list.GetSubItemRect(4, 0, &rowGamma, 0);
  std::string past = ColumnOfPixels(hwnd, c.x, rowA1.top, closed.top, back);
  EXPECT_EQ(past.find_first_not_of("s."), std::string::npos) << past;
  EXPECT_EQ(past.find("ss"), std::string::npos) << "dotted: " << past;
  EXPECT_EQ(past.find(".."), std::string::npos) << "unbroken: " << past;
  std::string belowLast = ColumnOfPixels(hwnd, c.x, leaf.CenterPoint().y + 1, rowGamma.bottom, back);
  EXPECT_EQ(belowLast, std::string(belowLast.size(), '.')) << "nothing below the last sibling";
  // A child's horizontal line leads from the parent's line towards its label, dotted.
  CRect a1Label;
  host.list.GetSubItemRect(1, 0, &a1Label, 2);
  int y = button(1).CenterPoint().y;
  std::string across;
  for (int x = button(1).CenterPoint().x + 1; x < a1Label.left - 4; ++x) {
    COLORREF px = brambolt::test::WindowPixel(hwnd, x, y);
    across += px == ::GetSysColor(COLOR_BTNSHADOW) ? 's' : px == back ? '.' : '?';
  }
  EXPECT_GE(across.size(), 4u);
  EXPECT_EQ(across.find_first_not_of("s."), std::string::npos) << across;
  EXPECT_EQ(across.find("ss"), std::string::npos) << across;
  EXPECT_EQ(across.find(".."), std::string::npos) << across;
  // Without lines and buttons the same places are plain background.
  host.list.ModifyTreeStyle(TVS_HASLINES | TVS_HASBUTTONS, 0);
  RunUntilIdle();
  EXPECT_EQ(ColumnOfPixels(hwnd, c.x, rowA1.top, closed.top, back), std::string(past.size(), '.'));
  EXPECT_EQ(brambolt::test::WindowPixel(hwnd, mc.x, mc.y), back);
}

// A tree that records, for each label cell it draws, the row and how many rows the tree had then.
class DrawRecordingTree : public SECTreeCtrl {
 public:
  void DrawCell(SECListPaintContext* pContext) override {
    if (pContext->m_nSubItem == 0) drawn.emplace_back(pContext->m_nRow, GetItemCount());
    SECTreeCtrl::DrawCell(pContext);
  }
  std::vector<std::pair<int, int>> drawn;
};

TEST(Tree, AnimatedExpansionShowsRowsAsTheyArriveAndCollapseAsTheyGo) {
  for (bool animate : {false, true}) {
    SCOPED_TRACE(animate ? "animated" : "plain");
    ListHost<DrawRecordingTree> host(kTreeStyle);
    if (animate) host.list.ModifyTreeStyleEx(0, TVXS_ANIMATE);
    HTREEITEM parents[2] = {host.list.InsertItem("alpha"), host.list.InsertItem("beta")};
    for (HTREEITEM parent : parents)
      for (int i = 0; i < 8; ++i) host.list.InsertItem(("child " + std::to_string(i)).c_str(), parent);
    RunUntilIdle();
    // Each expansion starts the count again: beta's first rows show one by one too.
    for (HTREEITEM parent : parents) {
      int row = host.list.GetItemRow(parent);
      host.list.drawn.clear();
      ASSERT_TRUE(host.list.Expand(parent, TVE_EXPAND));
      std::set<int> early;  // rows drawn before the last row arrived
      for (auto [drawnRow, count] : host.list.drawn)
        if (count < 10) early.insert(drawnRow);
      if (animate) {
        for (int r = row + 1; r <= row + 5; ++r) EXPECT_TRUE(early.count(r)) << "row " << r << " shown on arrival";
      } else {
        EXPECT_TRUE(early.empty()) << "all rows arrive before any is drawn";
      }
      RunUntilIdle();
      EXPECT_EQ(host.list.GetItemCount(), 10);
      host.list.drawn.clear();
      ASSERT_TRUE(host.list.Expand(parent, TVE_COLLAPSE));
      bool drawnWhileGoing = false;
      for (auto [drawnRow, count] : host.list.drawn) drawnWhileGoing |= count > 2;
      EXPECT_EQ(drawnWhileGoing, animate) << "an animated collapse repaints as the rows go";
      RunUntilIdle();
      EXPECT_EQ(host.list.GetItemCount(), 2);
      EXPECT_EQ(host.list.GetItemRow(parents[1]), 1);
    }
  }
}

TEST(Tree, TheDragImageShowsTheIconThenTheLabelSixPixelsOn) {
  TreeHost host;
  HTREEITEM item = host.Add("dragged label");
  EXPECT_EQ(host.list.CreateDragImage(item), nullptr) << "no image list, no drag image";
  CImageList icons;
  widgets_testing::MakeSolidImage(icons, RGB(0, 0, 255), 16);
  host.list.SetImageList(&icons, LVSIL_NORMAL);
  host.list.SetItemImage(item, 0, 0);
  std::unique_ptr<CImageList> image(host.list.CreateDragImage(item));
  ASSERT_NE(image, nullptr);
  CClientDC dc(&host.list);
  CFont* old = dc.SelectObject(host.list.GetRowFont());
  CSize text = dc.GetTextExtent("dragged label");
  dc.SelectObject(old);
  int cx = 0, cy = 0;
  ASSERT_TRUE(image->GetIconSize(&cx, &cy));
  EXPECT_EQ(cx, 16 + 6 + text.cx);
  EXPECT_EQ(cy, std::max(16, static_cast<int>(text.cy)));
  auto pixels = widgets_testing::RenderImage(*image);
  ASSERT_EQ(pixels.size(), static_cast<size_t>(cy));
  EXPECT_EQ(pixels[8][8], RGB(0, 0, 255)) << "the icon";
  bool ink = false, blueBeyond = false;
  for (int y = 0; y < cy; ++y) {
    for (int x = 16 + 6; x < cx; ++x) {
      COLORREF c = pixels[static_cast<size_t>(y)][static_cast<size_t>(x)];
      ink |= GetRValue(c) < 128 && GetGValue(c) < 128;
      blueBeyond |= c == RGB(0, 0, 255);
    }
  }
  EXPECT_TRUE(ink) << "the label is drawn in dark text";
  EXPECT_FALSE(blueBeyond);
  host.list.SetImageList(nullptr, LVSIL_NORMAL);
}

TEST(TreeStorage, SubItemTextsGrowMoveAndGoWithTheirItem) {
  TreeHost host;
  host.list.EnableSubItemText(TRUE);
  host.list.AppendColumn("One", LVCFMT_LEFT, 50);
  host.list.AppendColumn("Two", LVCFMT_LEFT, 50);
  host.list.AppendColumn("Three", LVCFMT_LEFT, 50);
  HTREEITEM item = host.Add("item");
  ASSERT_TRUE(host.list.SetItemText(item, 3, "third"));
  SECSubItemTextStorage* store = host.list.GetSubItemTextStorage();
  ASSERT_EQ(store->GetTexts(item)->GetSize(), 3);
  EXPECT_EQ(store->GetTexts(item)->GetAt(0), "");
  EXPECT_EQ(host.list.GetItemText(item, 3), "third");
  EXPECT_EQ(host.list.GetItemText(0, 3), "third");  // the list row asks the store
  EXPECT_FALSE(host.list.SetItemText(item, 5, "too far"));
  HTREEITEM other = host.Add("other");
  host.list.SetItemText(other, 1, "first");
  ASSERT_TRUE(store->MoveText(other, 1, 3));
  ASSERT_EQ(store->GetTexts(other)->GetSize(), 3);
  EXPECT_EQ(store->GetTexts(other)->GetAt(2), "first");
  // A from position the array lacks leaves it unchanged.
  ASSERT_TRUE(store->MoveText(other, 7, 1));
  EXPECT_EQ(store->GetTexts(other)->GetAt(2), "first");
  char small[4];
  EXPECT_TRUE(store->GetText(item, 3, small, sizeof small));
  EXPECT_STREQ(small, "thi");
  host.list.DeleteItem(item);
  EXPECT_EQ(store->GetTexts(item), nullptr);
  host.list.DeleteItem(other);
  EXPECT_EQ(store->GetItemCount(), 0);
}

TEST(TreeStorage, MovingAColumnMovesTheTextsOfHiddenItemsToo) {
  TreeHost host;
  host.list.EnableSubItemText(TRUE);
  host.list.AppendColumn("One", LVCFMT_LEFT, 50);
  host.list.AppendColumn("Two", LVCFMT_LEFT, 50);
  HTREEITEM shown = host.Add("shown");
  HTREEITEM hidden = host.Add("hidden");
  HTREEITEM deep = host.Add("deep", hidden);
  for (HTREEITEM item : {shown, hidden, deep}) {
    host.list.SetItemText(item, 1, "one");
    host.list.SetItemText(item, 2, "two");
  }
  host.list.SetItemStateEx(hidden, TVIS_EX_HIDDEN, TVIS_EX_HIDDEN);
  host.list.EnsureVisible(shown);
  ASSERT_TRUE(host.list.MoveColumn(2, 1));
  for (HTREEITEM item : {shown, hidden, deep}) {
    EXPECT_EQ(host.list.GetSubItemTextStorage()->GetTexts(item)->GetAt(0), "two");
    EXPECT_EQ(host.list.GetSubItemTextStorage()->GetTexts(item)->GetAt(1), "one");
  }
}

TEST(TreeNodes, NavigationPassesOverTheRootsLevel) {
  Node root;
  auto* a = new Node;
  auto* b = new Node;
  auto* a1 = new Node;
  auto* a2 = new Node;
  auto* b1 = new Node;
  root.AddChild(a, SECTreeNodeX::kAddLast);
  root.AddChild(b, SECTreeNodeX::kAddLast);
  a->AddChild(a1, SECTreeNodeX::kAddLast);
  a->AddChild(a2, SECTreeNodeX::kAddFirst);
  b->AddChild(b1, SECTreeNodeX::kAddLast);
  EXPECT_EQ(a->GetFirstChild(), a2);
  EXPECT_EQ(a2->GetNextInPreOrder(), a1);
  EXPECT_EQ(a1->GetNextInPreOrder(), b);
  EXPECT_EQ(b->GetPrevInPreOrder(), a1);
  EXPECT_TRUE(root.IsAncestorOf(b1));
  EXPECT_FALSE(a->IsAncestorOf(b1));
  root.m_nLevel = 1;  // level 1 is passed over
  EXPECT_EQ(a1->GetParent(), &root);
  EXPECT_EQ(root.GetFirstChild(), a2);
  EXPECT_EQ(a1->GetNextSibling(), b1);
  EXPECT_EQ(b1->GetPrevSibling(), a1);
  root.m_nLevel = 0;
  a1->SwapWithPrevSibling();
  EXPECT_EQ(a->GetFirstChild(), a1);
  b->Unlink();
  EXPECT_EQ(a->GetNextSibling(), nullptr);
  delete b;  // deletes b1 with it
}

TEST(TreeView, ATreeViewMadeFromItsRunTimeClassWorksInAViewsWindow) {
  brambolt::test::UiSession session;
  widgets_testing::ListParent frame;
  CObject* made = RUNTIME_CLASS(SECTreeView)->CreateObject();
  auto* view = dynamic_cast<SECTreeView*>(made);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | TVS_HASLINES, CRect(0, 0, 200, 150), &frame, 5));
  HTREEITEM top = view->InsertItem("top");
  view->InsertItem("child", top);
  view->Expand(top, TVE_EXPAND);
  EXPECT_EQ(view->GetItemCount(), 2);
  EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CView)));
  EXPECT_TRUE(RUNTIME_CLASS(SECTreeCtrl)->IsDerivedFrom(RUNTIME_CLASS(SECListCtrl)));
  view->DestroyWindow();  // the view deletes itself with its window
}

}  // namespace
