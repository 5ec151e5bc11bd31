// The picture file formats the picture object reads (BMP/DIB, ICO, GIF, JPEG) and writes (BMP,
// ICO). They live here rather than over the foundation's image classes because the platform sits
// beneath the foundation: BMP rows go through the window system's own DIB decoder, JPEG through
// libjpeg (a dependency already), the PNG images of icon files through libpng, and ICO and GIF
// are decoded here.
#pragma once

#include <cstdint>
#include <vector>

#include "base/ByteOrder.h"

namespace brambolt::ole {

// Pixels top-down as 0xAARRGGBB; alpha is 0 (transparent, colour 0) or 255.
struct PictureImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool transparent = false;  // some pixel has alpha 0
  bool icon = false;         // read from an icon file: saved as one
  bool incomplete = false;   // the file ends before the whole picture: what it holds is there
};

// Each decoder refuses (false) what is not a well-formed file of its kind, reading nothing
// outside `bytes`; a file cut short gives the part it holds, marked incomplete; images are limited to 32768 pixels a side and to kMaxPicturePixels pixels,
// checked on the stated size before anything is allocated for them.
bool DecodeBmp(ByteSpan bytes, PictureImage& out);
bool DecodeIco(ByteSpan bytes, PictureImage& out);
bool DecodeGif(ByteSpan bytes, PictureImage& out);
bool DecodeJpeg(ByteSpan bytes, PictureImage& out);

// A 24-bit BMP file (transparent pixels white, as a picture is drawn on a window); an ICO file
// of one 32-bit image with its mask.
std::vector<uint8_t> EncodeBmp(const PictureImage& image);
std::vector<uint8_t> EncodeIco(const PictureImage& image);

constexpr int kMaxPictureSide = 32768;
// What 256 MB of 32-bit pixels hold: a few bytes of header can ask for no more than that.
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

// Whether a picture of this stated size may be decoded.
inline bool PictureSizeAllowed(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

}  // namespace brambolt::ole
