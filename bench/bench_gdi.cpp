// Full-screen repaint costs on a 1920x1080 surface: solid and pattern fills, blits, text,
// lines and the classic look.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "gdi/gdi.h"

namespace {

class Screen {
 public:
  Screen() : surface_(std::make_shared<brambolt::Surface>(1920, 1080)) {
    dc_ = brambolt::CreateSurfaceDC(surface_, POINT{0, 0}, nullptr);
  }
  ~Screen() { DeleteDC(dc_); }
  HDC dc() const { return dc_; }

 private:
  std::shared_ptr<brambolt::Surface> surface_;
  HDC dc_;
};

void BM_FillSolid(benchmark::State& state) {
  Screen screen;
  HBRUSH brush = CreateSolidBrush(RGB(192, 192, 192));
  RECT all{0, 0, 1920, 1080};
  for (auto _ : state) FillRect(screen.dc(), &all, brush);
  DeleteObject(brush);
  state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_FillSolid);

void BM_FillHalftonePatInvert(benchmark::State& state) {
  Screen screen;
  SelectObject(screen.dc(), brambolt::GetHalftoneBrush());
  for (auto _ : state) PatBlt(screen.dc(), 0, 0, 1920, 1080, PATINVERT);
  state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_FillHalftonePatInvert);

void BM_BlitFromMemory(benchmark::State& state) {
  Screen screen;
  HDC mem = CreateCompatibleDC(screen.dc());
  HBITMAP bm = CreateCompatibleBitmap(screen.dc(), 1920, 1080);
  HGDIOBJ old = SelectObject(mem, bm);
  DWORD rop = static_cast<DWORD>(state.range(0));
  for (auto _ : state) BitBlt(screen.dc(), 0, 0, 1920, 1080, mem, 0, 0, rop);
  SelectObject(mem, old);
  DeleteObject(bm);
  DeleteDC(mem);
  state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_BlitFromMemory)->Arg(SRCCOPY)->Arg(SRCAND)->Arg(0x00B8074A);

void BM_StretchHalfToFull(benchmark::State& state) {
  Screen screen;
  HDC mem = CreateCompatibleDC(screen.dc());
  HBITMAP bm = CreateCompatibleBitmap(screen.dc(), 960, 540);
  HGDIOBJ old = SelectObject(mem, bm);
  for (auto _ : state) StretchBlt(screen.dc(), 0, 0, 1920, 1080, mem, 0, 0, 960, 540, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bm);
  DeleteDC(mem);
}
BENCHMARK(BM_StretchHalfToFull);

void BM_TextScreenful(benchmark::State& state) {
  Screen screen;
  SelectObject(screen.dc(), GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(screen.dc(), TRANSPARENT);
  const char* line = "class CDocument : public CCmdTarget { // documented members and their comments 0123456789";
  int length = static_cast<int>(std::strlen(line));
  size_t chars = 0;
  for (auto _ : state) {
    for (int y = 0; y < 1080; y += 14) {
      TextOut(screen.dc(), 4, y, line, length);
      TextOut(screen.dc(), 964, y, line, length);
      chars += 2 * static_cast<size_t>(length);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(chars));
}
BENCHMARK(BM_TextScreenful);

void BM_DrawTextWordBreak(benchmark::State& state) {
  Screen screen;
  SelectObject(screen.dc(), GetStockObject(DEFAULT_GUI_FONT));
  const char* text =
      "The documentation run walks every class of the project, draws its diagram into a memory bitmap and "
      "writes pages of text with wrapped paragraphs and ellipses where names are too long to fit.";
  for (auto _ : state) {
    for (int i = 0; i < 20; ++i) {
      RECT r{10 + 90 * (i % 20), 10, 10 + 90 * (i % 20) + 85, 1000};
      DrawText(screen.dc(), text, -1, &r, DT_WORDBREAK | DT_END_ELLIPSIS);
    }
  }
}
BENCHMARK(BM_DrawTextWordBreak);

void BM_LinesAndShapes(benchmark::State& state) {
  Screen screen;
  for (auto _ : state) {
    for (int i = 0; i < 200; ++i) {
      MoveToEx(screen.dc(), 0, i * 5, nullptr);
      LineTo(screen.dc(), 1919, 1079 - i * 5);
      Rectangle(screen.dc(), i * 9, i * 5, i * 9 + 60, i * 5 + 30);
      Ellipse(screen.dc(), i * 9, i * 5, i * 9 + 40, i * 5 + 40);
    }
  }
}
BENCHMARK(BM_LinesAndShapes);

void BM_ClassicControls(benchmark::State& state) {
  Screen screen;
  for (auto _ : state) {
    for (int y = 0; y < 1080; y += 24) {
      for (int x = 0; x < 1920; x += 80) {
        RECT r{x, y, x + 75, y + 23};
        DrawFrameControl(screen.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH);
      }
    }
  }
}
BENCHMARK(BM_ClassicControls);

}  // namespace

BENCHMARK_MAIN();
