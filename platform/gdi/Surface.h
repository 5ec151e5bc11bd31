// A 32-bit BGRX pixel buffer: what windows, memory bitmaps and printer pages are drawn into.
// Pixels are 0x00RRGGBB words (bytes B, G, R, X in memory); the X byte is written as 0 and ignored,
// except in the memory of a 32-bit DIB section, where it is the program's alpha byte: raster
// operations there work on all four bytes (see PixelMask).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/base.h"

namespace brambolt {

// Surface pixel from a COLORREF (0x00BBGGRR) and back.
constexpr uint32_t PixelFromColor(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ColorFromPixel(uint32_t p) {
  return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, uint32_t fill = 0x00FFFFFF);
  // Wraps memory owned by someone else (a 32-bit DIB section). strideInPixels may be negative for
  // bottom-up rows: 'first' is then the top row. The memory must outlive the surface.
  Surface(uint32_t* first, int width, int height, int strideInPixels);

  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Distance between rows in pixels (uint32_t units); negative only for wrapped bottom-up memory.
  int Stride() const { return stride_; }
  // Top-left pixel; row y starts at Pixels() + y * Stride().
  uint32_t* Pixels() { return first_; }
  const uint32_t* Pixels() const { return first_; }
  uint32_t* Row(int y) { return first_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  const uint32_t* Row(int y) const { return first_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  // False everywhere for a surface without pixels (a printer page being recorded).
  bool Contains(int x, int y) const { return first_ && x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Out-of-range reads give 0, out-of-range writes are ignored.
  uint32_t GetPixel(int x, int y) const { return Contains(x, y) ? Row(y)[x] & 0x00FFFFFF : 0; }
  void SetPixel(int x, int y, uint32_t pixel) {
    if (Contains(x, y)) Row(y)[x] = pixel & 0x00FFFFFF;
  }
  COLORREF GetColor(int x, int y) const { return ColorFromPixel(GetPixel(x, y)); }
  void SetColor(int x, int y, COLORREF c) { SetPixel(x, y, PixelFromColor(c)); }

  void Fill(uint32_t pixel);
  // Fills [left,right) x [top,bottom), clipped to the surface.
  void FillRect(int left, int top, int right, int bottom, uint32_t pixel);
  // New size; the old contents stay at the top-left, new area is 'fill'. Not for wrapped memory.
  void Resize(int width, int height, uint32_t fill = 0x00FFFFFF);
  bool OwnsMemory() const { return external_ == false; }
  // The bits a raster operation writes: all 32 in wrapped DIB-section memory, whose fourth byte
  // the program reads back; the colour bytes elsewhere, where the fourth byte stays 0.
  uint32_t PixelMask() const { return external_ ? 0xFFFFFFFFu : 0x00FFFFFFu; }

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  uint32_t* first_ = nullptr;
  bool external_ = false;
  std::vector<uint32_t> storage_;
};

using SurfacePtr = std::shared_ptr<Surface>;

// Writes the surface as an 8-bit RGB PNG. Returns false when the file cannot be written.
bool SavePng(const Surface& surface, const char* path);

}  // namespace brambolt
