// The 32-bit pixel buffer.
#include "gdi/Surface.h"

#include <algorithm>

namespace brambolt {

Surface::Surface(int width, int height, uint32_t fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), stride_(std::max(width, 0)) {
  storage_.assign(static_cast<size_t>(width_) * height_, fill & 0x00FFFFFF);
  first_ = storage_.data();
}

Surface::Surface(uint32_t* first, int width, int height, int strideInPixels)
    : width_(width), height_(height), stride_(strideInPixels), first_(first), external_(true) {}

void Surface::Fill(uint32_t pixel) { FillRect(0, 0, width_, height_, pixel); }

void Surface::FillRect(int left, int top, int right, int bottom, uint32_t pixel) {
  if (!first_) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) return;
  pixel &= 0x00FFFFFF;
  for (int y = top; y < bottom; ++y) std::fill(Row(y) + left, Row(y) + right, pixel);
}

void Surface::Resize(int width, int height, uint32_t fill) {
  if (external_) return;
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<uint32_t> next(static_cast<size_t>(width) * height, fill & 0x00FFFFFF);
  int w = std::min(width, width_), h = std::min(height, height_);
  for (int y = 0; y < h; ++y) std::copy(Row(y), Row(y) + w, next.data() + static_cast<size_t>(y) * width);
  storage_ = std::move(next);
  width_ = width;
  height_ = height;
  stride_ = width;
  first_ = storage_.data();
}

}  // namespace brambolt
