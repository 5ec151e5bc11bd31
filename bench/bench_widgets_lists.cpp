// Costs of the owner-drawn list and tree at 1,000, 10,000 and 100,000 items: inserting them all,
// painting a screen, scrolling a page, selecting and deleting everything; for the tree (ten
// levels) also expanding and sorting, and finding the row of a node. A page's paint must cost the
// same whatever the item count.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "widgets/SECListCtrl.h"
#include "widgets/SECTreeCtrl.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr int kLevels = 10;

// A parent window, the control inside it, and a memory DC of the control's size to paint into.
template <class Control>
class Fixture {
 public:
  explicit Fixture(DWORD style) {
    parent_.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_POPUP, 0, 0, kWidth + 20, kHeight + 20, nullptr, nullptr);
    control.Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 0, kWidth, kHeight), &parent_, 1);
    CClientDC screen(&control);
    dc_.CreateCompatibleDC(&screen);
    bitmap_.CreateCompatibleBitmap(&screen, kWidth, kHeight);
    old_ = dc_.SelectObject(&bitmap_);
  }
  ~Fixture() {
    dc_.SelectObject(old_);
    control.DestroyWindow();
    parent_.DestroyWindow();
  }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

  void Paint() { control.Paint(&dc_); }

  Control control;

 private:
  CWnd parent_;
  CDC dc_;
  CBitmap bitmap_;
  CBitmap* old_ = nullptr;
};

class ListFixture : public Fixture<SECListCtrl> {
 public:
  ListFixture() : Fixture<SECListCtrl>(LVS_REPORT | LVS_NOLABELWRAP) {
    control.InsertColumn(0, "Name", LVCFMT_LEFT, 260);
    control.AppendColumn("Size", LVCFMT_RIGHT, 120);
    control.AppendColumn("Type", LVCFMT_LEFT, 160);
    control.ModifyExStyle(0, LVXS_FULLROWSELECT | LVXS_HGRID);
  }
  void Fill(int count) {
    for (int i = 0; i < count; ++i) {
      std::string name = "file " + std::to_string(i) + ".cpp";
      int row = control.InsertItem(i, name.c_str());
      control.SetItem(row, 1, LVIF_TEXT | LVIF_DI_SETITEM, std::to_string(i * 37 % 9973).c_str(), 0, 0, 0, 0);
      control.SetItem(row, 2, LVIF_TEXT | LVIF_DI_SETITEM, "C++ source", 0, 0, 0, 0);
    }
    control.RecalcLayout();
  }
};

void BM_ListInsertAll(benchmark::State& state) {
  int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    ListFixture list;
    list.Fill(count);
    benchmark::DoNotOptimize(list.control.GetItemCount());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ListInsertAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ListPaintScreen(benchmark::State& state) {
  ListFixture list;
  list.Fill(static_cast<int>(state.range(0)));
  list.control.SetTopIndex(list.control.GetItemCount() / 2);
  list.Paint();
  for (auto _ : state) list.Paint();
}
BENCHMARK(BM_ListPaintScreen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ListScrollPage(benchmark::State& state) {
  ListFixture list;
  list.Fill(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (list.control.GetTopIndex() >= list.control.GetMaxTopIndex()) list.control.SendMessage(WM_VSCROLL, SB_TOP, 0);
    list.control.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    list.Paint();
  }
}
BENCHMARK(BM_ListScrollPage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ListSelectAll(benchmark::State& state) {
  ListFixture list;
  int count = static_cast<int>(state.range(0));
  list.Fill(count);
  for (auto _ : state) {
    list.control.SelectRange(0, count - 1, TRUE);
    list.control.DeselectAllExcept(-1);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ListSelectAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ListDeleteAll(benchmark::State& state) {
  int count = static_cast<int>(state.range(0));
  ListFixture list;
  for (auto _ : state) {
    state.PauseTiming();
    list.Fill(count);
    state.ResumeTiming();
    list.control.DeleteAllItems();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ListDeleteAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// ---- the tree: `count` nodes over ten levels, each parent with the same number of children ----

class TreeFixture : public Fixture<SECTreeCtrl> {
 public:
  TreeFixture() : Fixture<SECTreeCtrl>(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT) {}

  void Fill(int count) {
    int branching = 2;
    while (Total(branching) < count) ++branching;
    std::vector<std::pair<HTREEITEM, int>> parents{{TVI_ROOT, 0}};
    nodes.clear();
    // Breadth first, so every level is filled before the next.
    for (size_t next = 0; next < parents.size() && static_cast<int>(nodes.size()) < count; ++next) {
      auto [parent, depth] = parents[next];
      if (depth >= kLevels) continue;
      for (int i = 0; i < branching && static_cast<int>(nodes.size()) < count; ++i) {
        int index = static_cast<int>(nodes.size());
        std::string text = "node " + std::to_string((index * 7919) % 100003);
        HTREEITEM item = control.InsertItem(text.c_str(), parent);
        nodes.push_back(item);
        parents.emplace_back(item, depth + 1);
      }
    }
  }

  std::vector<HTREEITEM> nodes;

 private:
  static long Total(int branching) {
    long total = 0, level = 1;
    for (int depth = 1; depth <= kLevels && total < 10000000; ++depth) total += level *= branching;
    return total;
  }
};

void BM_TreeInsertAll(benchmark::State& state) {
  int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TreeFixture tree;
    tree.Fill(count);
    benchmark::DoNotOptimize(tree.control.GetCount());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_TreeInsertAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreeExpandAll(benchmark::State& state) {
  int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = std::make_unique<TreeFixture>();
    tree->Fill(count);
    state.ResumeTiming();
    tree->control.ExpandAll(TVI_ROOT, TRUE);
    benchmark::DoNotOptimize(tree->control.GetItemCount());
    state.PauseTiming();
    tree.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TreeExpandAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreeSortAll(benchmark::State& state) {
  TreeFixture tree;
  tree.Fill(static_cast<int>(state.range(0)));
  tree.control.ExpandAll(TVI_ROOT, TRUE);
  BOOL ascending = TRUE;
  for (auto _ : state) {
    tree.control.SortChildren(TVI_ROOT, TRUE, ascending);
    ascending = !ascending;
  }
}
BENCHMARK(BM_TreeSortAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreePaintScreen(benchmark::State& state) {
  TreeFixture tree;
  tree.Fill(static_cast<int>(state.range(0)));
  tree.control.ExpandAll(TVI_ROOT, TRUE);
  tree.control.SetTopIndex(tree.control.GetItemCount() / 2);
  tree.Paint();
  for (auto _ : state) tree.Paint();
}
BENCHMARK(BM_TreePaintScreen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_TreeScrollPage(benchmark::State& state) {
  TreeFixture tree;
  tree.Fill(static_cast<int>(state.range(0)));
  tree.control.ExpandAll(TVI_ROOT, TRUE);
  for (auto _ : state) {
    if (tree.control.GetTopIndex() >= tree.control.GetMaxTopIndex()) tree.control.SendMessage(WM_VSCROLL, SB_TOP, 0);
    tree.control.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    tree.Paint();
  }
}
BENCHMARK(BM_TreeScrollPage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Finding the row of a node (what selection, repaints and navigation ask) after rows moved.
void BM_TreeRowOfNode(benchmark::State& state) {
  TreeFixture tree;
  tree.Fill(static_cast<int>(state.range(0)));
  tree.control.ExpandAll(TVI_ROOT, TRUE);
  std::mt19937 random(3);
  for (auto _ : state) {
    HTREEITEM item = tree.nodes[random() % tree.nodes.size()];
    benchmark::DoNotOptimize(tree.control.GetItemRow(item));
  }
}
BENCHMARK(BM_TreeRowOfNode)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_TreeSelectEach(benchmark::State& state) {
  TreeFixture tree;
  tree.Fill(static_cast<int>(state.range(0)));
  tree.control.ExpandAll(TVI_ROOT, TRUE);
  std::mt19937 random(5);
  for (auto _ : state) tree.control.SelectItem(tree.nodes[random() % tree.nodes.size()]);
}
BENCHMARK(BM_TreeSelectEach)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_TreeSelectAll(benchmark::State& state) {
  TreeFixture tree;
  tree.Fill(static_cast<int>(state.range(0)));
  tree.control.ExpandAll(TVI_ROOT, TRUE);
  tree.control.SetMultiSel(TRUE);
  int rows = tree.control.GetItemCount();
  for (auto _ : state) {
    tree.control.SelectRange(0, rows - 1, TRUE);
    tree.control.DeselectAllExcept(-1);
  }
}
BENCHMARK(BM_TreeSelectAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreeDeleteAll(benchmark::State& state) {
  int count = static_cast<int>(state.range(0));
  TreeFixture tree;
  for (auto _ : state) {
    state.PauseTiming();
    tree.Fill(count);
    tree.control.ExpandAll(TVI_ROOT, FALSE);
    state.ResumeTiming();
    tree.control.DeleteAllItems();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_TreeDeleteAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
