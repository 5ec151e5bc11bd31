// Builds small AVI clips in memory for the animation tests: one video stream, solid or patterned
// frames, uncompressed 8/24-bit or RLE8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ctltest {

struct AviSpec {
  int width = 8;
  int height = 4;
  int bits = 24;           // 8 or 24 (uncompressed), 8 with rle
  bool rle = false;
  bool topDown = false;
  unsigned microsecondsPerFrame = 100000;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, for 8 bits
  // Each frame: width * height values, top row first (palette indices or 0x00RRGGBB).
  std::vector<std::vector<std::uint32_t>> frames;
};

std::vector<std::uint8_t> BuildAvi(const AviSpec& spec);
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace ctltest
