// Helpers of the image tests: pictures made in memory, pixel access, files in a private folder
// and ImageMagick as an independent reference where it is installed.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "afx/GdiObjects.h"
#include "core/CMemFile.h"
#include "foundation/SECImage.h"
#include "platform/os/TempDir.h"

namespace image_test {

using kelpwood::foundation::SECImage;

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A picture as plain top-down RGB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Colour x, y of a held image (top-down coordinates), through its colour table at 8 bits or fewer.
Rgb PixelOf(const SECImage& image, int x, int y);
Picture PictureOf(const SECImage& image);
// Palette index x, y of an image of 8 bits or fewer.
int IndexOf(const SECImage& image, int x, int y);

// A BMP file of the given depth built field by field: index(x, y) picks the palette entry at 8
// bits or fewer (the table is 'table'), colour(x, y) the pixel at 24 bits.
std::string BuildBmp(int bits, int width, int height, const std::vector<Rgb>& table,
                     const std::function<int(int, int)>& index, const std::function<Rgb(int, int)>& colour);
// The standard test picture of each depth: a pattern that differs in every row and column.
std::string PatternBmp(int bits, int width, int height);
std::vector<Rgb> PatternTable(int bits);

// Loads bytes into an image through a memory file; the image's result.
BOOL LoadBytes(SECImage& image, const std::string& bytes);
// Saves an image through a memory file; empty when the save fails.
std::string SaveBytes(SECImage& image);

// An object stored into an archive on a memory file: the bytes it wrote.
std::string StoredObject(CObject& object);
// Loads an object from an archive over the bytes.
void LoadObject(CObject& object, const std::string& bytes);
// A little-endian 32-bit field of a byte stream.
unsigned Le32At(const std::string& s, size_t at);
// Colour x, y of a device-dependent bitmap.
COLORREF PixelOfBitmap(CBitmap& bitmap, int x, int y);

// Every pixel equal; on failure the first difference is reported.
::testing::AssertionResult SamePicture(const Picture& expected, const Picture& actual, int tolerance = 0);

// ImageMagick's convert, when installed.
bool HaveConvert();
// Runs convert with the arguments (a shell word list); true on success.
bool Convert(const std::string& arguments);
// ImageMagick's decoding of a file as top-down RGB; 'options' go before the output (Targa needs
// -auto-orient: ImageMagick otherwise gives the rows in file order).
Picture DecodeWithConvert(const std::string& path, const std::string& options = "");
// A binary PPM of the picture, the neutral input given to ImageMagick.
std::string Ppm(const Picture& picture);
// The standard picture in colour, and one of few colours for palette formats.
Picture ColourPicture(int width, int height);
Picture PalettePicture(int width, int height, int colours);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

}  // namespace image_test
