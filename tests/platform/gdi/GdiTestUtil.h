// Helpers for gdi tests: a memory DC over a fresh 32-bit bitmap, and pixel probes.
#pragma once

#include <memory>

#include "gdi/gdi.h"

namespace gditest {

// A memory DC with a width x height 32-bit bitmap selected, filled white.
class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) {
    HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    DeleteDC(screen);
    old_ = SelectObject(dc_, bitmap_);
    brambolt::GetDCSurface(dc_)->Fill(brambolt::PixelFromColor(fill));
  }
  ~MemoryCanvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  brambolt::Surface& surface() const { return *brambolt::GetDCSurface(dc_); }
  COLORREF at(int x, int y) const { return surface().GetColor(x, y); }
  // Number of pixels of colour c inside [l,r)x[t,b).
  int Count(COLORREF c, int l, int t, int r, int b) const {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += at(x, y) == c;
    return n;
  }
  int Count(COLORREF c) const { return Count(c, 0, 0, surface().Width(), surface().Height()); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// A memory DC with a top-down 32-bit DIB section selected: bits(x, y) is the program's view of a
// pixel, all four bytes of it.
class DibCanvas {
 public:
  DibCanvas(int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~DibCanvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;
  HDC dc() const { return dc_; }
  uint32_t& bits(int x, int y) { return bits_[static_cast<size_t>(y) * width_ + x]; }

 private:
  int width_;
  HBITMAP bitmap_;
  uint32_t* bits_;
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace gditest
