// A cursor or icon as pictures X takes: two colours with a mask (what any X server shows as a
// cursor) and 32-bit ARGB (a window's icon for task bars).
#pragma once

#include <cstdint>
#include <vector>

#include "win/WinUser.h"

namespace brambolt {

struct CursorImage {
  int width = 0;
  int height = 0;
  POINT hotspot{};
  // Per pixel, rows top to bottom: 1 where the cursor shows, 1 where it is dark. Pixels that
  // invert the screen show as dark: X cannot invert.
  std::vector<uint8_t> shown;
  std::vector<uint8_t> dark;
  // Per pixel 0xAARRGGBB, not premultiplied; inverting pixels are opaque black.
  std::vector<uint32_t> argb;
};

// The picture of a cursor or icon handle; false for handles that are neither. (The window
// manager's standard cursors, known by StandardCursorId, are shown from the X cursor font.)
bool GetCursorImage(HCURSOR cursor, CursorImage& image);

}  // namespace brambolt
