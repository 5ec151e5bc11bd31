// Memory DCs, fonts and text used from several threads at once, as documentation runs do on a
// worker thread while the interface thread paints.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "GdiTestUtil.h"

namespace {

TEST(Threads, WorkersDrawAndMeasureIndependently) {
  std::atomic<int> failures{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t) {
    workers.emplace_back([t, &failures] {
      for (int round = 0; round < 20; ++round) {
        gditest::MemoryCanvas canvas(64, 32);
        HFONT font = CreateFont(-12 - (t + round) % 5, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                t % 2 ? "Arial" : "Courier New");
        HGDIOBJ old = SelectObject(canvas.dc(), font);
        SIZE size{};
        GetTextExtentPoint32(canvas.dc(), "Diagram", 7, &size);
        SetBkMode(canvas.dc(), TRANSPARENT);
        TextOut(canvas.dc(), 0, 0, "Diagram", 7);
        Rectangle(canvas.dc(), 1, 1, 30, 20);
        if (size.cx <= 0 || canvas.Count(RGB(255, 255, 255)) == 64 * 32) ++failures;
        SelectObject(canvas.dc(), old);
        DeleteObject(font);
      }
    });
  }
  for (auto& w : workers) w.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
