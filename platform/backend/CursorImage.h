// A cursor as a two-colour picture with a mask, the most any X server shows: what the X11
// backend turns the application's own cursors into.
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
};

// The picture of a cursor or icon handle; false for handles that are neither (the window
// manager's standard cursors, which the backend maps to the X cursor font).
bool GetCursorImage(HCURSOR cursor, CursorImage& image);

}  // namespace brambolt
