// Internal: reading and writing device-independent bitmap rows of every depth.
#pragma once

#include <memory>
#include <vector>

#include "gdi/GdiTypes.h"
#include "gdi/Surface.h"

namespace brambolt::gdi {

struct DeviceContext;

struct DibFormat {
  int width = 0;
  int height = 0;       // rows, always positive
  bool topDown = false;
  int bpp = 0;
  DWORD compression = BI_RGB;
  std::vector<uint32_t> colors;  // colour table as surface pixels
  DWORD masks[3] = {0, 0, 0};    // red, green, blue for 16 and 32 bits
  size_t headerSize = 0;         // header plus colour table or masks: where packed bits start
  size_t Stride() const { return static_cast<size_t>(((width * bpp + 31) / 32) * 4); }
  size_t ImageSize() const { return Stride() * height; }
};

// Reads a BITMAPINFO (40-byte and larger headers, or a 12-byte core header). DIB_PAL_COLORS
// tables are resolved through the DC's palette. False for malformed or unsupported headers, among
// them a header stating bit fields that ends before the place of its masks.
bool ParseDibHeader(const void* info, UINT usage, const DeviceContext* dc, DibFormat& out);
// Decodes rows (bottom-up unless topDown) into a top-down surface of the same size; handles RLE.
bool DecodeDib(const DibFormat& f, const void* bits, size_t bitsSize, Surface& out);
// Encodes surface row y (top-down index) into the DIB row 'row' of format f (no RLE).
void EncodeRow(const DibFormat& f, const uint32_t* pixels, uint8_t* row);
void DecodeRow(const DibFormat& f, const uint8_t* row, uint32_t* pixels);
// The table GetDIBits reports for a depth of 1, 4 or 8 bits out of a colour bitmap.
std::vector<uint32_t> StandardColorTable(int bpp);
// Index of the nearest table colour.
int NearestIndex(const std::vector<uint32_t>& table, uint32_t pixel);

}  // namespace brambolt::gdi
