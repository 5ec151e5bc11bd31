// A silent AVI clip decoded into frames: the first video stream of a RIFF "AVI " file, either
// uncompressed (8, 24 or 32 bits) or RLE8, read field by field from the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brambolt::ctl {

struct AviClip {
  int width = 0;
  int height = 0;
  unsigned microsecondsPerFrame = 0;
  // Each frame: width * height pixels, top row first, 0x00RRGGBB (the layout of a 32-bit DIB).
  std::vector<std::vector<std::uint32_t>> frames;

  // Milliseconds a frame stays on screen, at least 1.
  unsigned FrameMilliseconds() const;
};

// Decodes a whole clip; nothing when the bytes are not a clip this decoder plays (no video
// stream, another compression, truncated or inconsistent chunks). `error` tells why.
std::optional<AviClip> DecodeAvi(const std::uint8_t* data, std::size_t size, std::string* error = nullptr);

// Applies one RLE8-compressed frame to `indices` (width * height palette indices, bottom row
// first, as the bitmap stores them): runs, literal runs, deltas and line ends; pixels the frame
// skips keep their values. False when the data runs past its end or outside the bitmap.
bool DecodeRle8(const std::uint8_t* data, std::size_t size, int width, int height, std::vector<std::uint8_t>& indices);

}  // namespace brambolt::ctl
