// Costs of a long report view: inserting 10,000 items (appended, at the front, sorted), painting
// a page of it, and scrolling page by page with a repaint each time.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "controls/controls.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;

// A parent window and a report view with three columns; a memory DC of the list's size to paint
// into through WM_PRINTCLIENT.
class Report {
 public:
  explicit Report(DWORD style = 0) {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "BramboltBenchHost";
    RegisterClass(&wc);
    host_ = CreateWindowEx(0, "BramboltBenchHost", "Bench", WS_OVERLAPPEDWINDOW, 0, 0, kWidth + 40, kHeight + 60,
                           nullptr, nullptr, nullptr, nullptr);
    list_ = CreateWindowEx(0, WC_LISTVIEW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | style, 0, 0, kWidth, kHeight,
                           host_, nullptr, nullptr, nullptr);
    SendMessage(list_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessage(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const char* titles[] = {"Name", "Size", "Type"};
    for (int c = 0; c < 3; ++c) {
      LVCOLUMN column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<char*>(titles[c]);
      column.cx = c == 0 ? 300 : 140;
      SendMessage(list_, LVM_INSERTCOLUMN, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Report() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    DestroyWindow(host_);
  }
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  HWND List() const { return list_; }
  void Insert(int at, const std::string& name, int size) {
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<char*>(name.c_str());
    item.lParam = size;
    int index = static_cast<int>(SendMessage(list_, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
    std::string bytes = std::to_string(size) + " KB";
    SetText(index, 1, bytes.c_str());
    SetText(index, 2, "C++ source");
  }
  void Paint() { SendMessage(list_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND); }

 private:
  void SetText(int item, int sub, const char* text) {
    LVITEM lv{};
    lv.iSubItem = sub;
    lv.pszText = const_cast<char*>(text);
    SendMessage(list_, LVM_SETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
  }

  HWND host_ = nullptr;
  HWND list_ = nullptr;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

std::vector<std::string> Names(int count) {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(count));
  // Scrambled so that sorted insertion lands all over the list.
  for (int i = 0; i < count; ++i) names.push_back("file" + std::to_string((i * 7919) % count) + ".cpp");
  return names;
}

enum Where { kAppend, kFront, kSorted };

void BM_InsertItems(benchmark::State& state) {
  int count = static_cast<int>(state.range(0));
  auto where = static_cast<Where>(state.range(1));
  std::vector<std::string> names = Names(count);
  for (auto _ : state) {
    Report report(where == kSorted ? LVS_SORTASCENDING : 0);
    for (int i = 0; i < count; ++i) report.Insert(where == kAppend ? i : 0, names[static_cast<size_t>(i)], i);
    benchmark::DoNotOptimize(SendMessage(report.List(), LVM_GETITEMCOUNT, 0, 0));
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_InsertItems)
    ->Args({10000, kAppend})
    ->Args({10000, kFront})
    ->Args({10000, kSorted})
    ->Unit(benchmark::kMillisecond);

void BM_PaintPage(benchmark::State& state) {
  int count = static_cast<int>(state.range(0));
  Report report;
  std::vector<std::string> names = Names(count);
  for (int i = 0; i < count; ++i) report.Insert(i, names[static_cast<size_t>(i)], i);
  SendMessage(report.List(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(count / 2), FALSE);
  for (auto _ : state) report.Paint();
}
BENCHMARK(BM_PaintPage)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_ScrollPagesAndPaint(benchmark::State& state) {
  constexpr int kCount = 10000;
  Report report;
  std::vector<std::string> names = Names(kCount);
  for (int i = 0; i < kCount; ++i) report.Insert(i, names[static_cast<size_t>(i)], i);
  for (auto _ : state) {
    if (SendMessage(report.List(), LVM_GETTOPINDEX, 0, 0) + SendMessage(report.List(), LVM_GETCOUNTPERPAGE, 0, 0) >=
        kCount)
      SendMessage(report.List(), WM_VSCROLL, SB_TOP, 0);
    SendMessage(report.List(), WM_VSCROLL, SB_PAGEDOWN, 0);
    report.Paint();
  }
}
BENCHMARK(BM_ScrollPagesAndPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
