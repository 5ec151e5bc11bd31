// Helpers of the image tests.
#include <gtest/gtest.h>

#include "tests/foundation/ImageTestSupport.h"

#include "afx/CDC.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace image_test {

namespace {

void Put16(std::string& s, unsigned v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, unsigned v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

}  // namespace

int IndexOf(const SECImage& image, int x, int y) {
  const BYTE* bits = image.GetBits();
  int bpp = static_cast<int>(image.GetBitsPerPixel());
  size_t stride = image.AreRowsPadded() ? SECImage::PaddedRowBytes(bpp, image.GetWidth())
                                        : SECImage::PackedRowBytes(bpp, image.GetWidth());
  const BYTE* row = bits + stride * static_cast<size_t>(image.GetHeight() - 1 - y);
  switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default: return row[x];
  }
}

Rgb PixelOf(const SECImage& image, int x, int y) {
  int bpp = static_cast<int>(image.GetBitsPerPixel());
  if (bpp <= 8) {
    RGBQUAD q = image.GetColorTable()[IndexOf(image, x, y)];
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
  }
  size_t stride = image.AreRowsPadded() ? SECImage::PaddedRowBytes(bpp, image.GetWidth())
                                        : SECImage::PackedRowBytes(bpp, image.GetWidth());
  const BYTE* p = image.GetBits() + stride * static_cast<size_t>(image.GetHeight() - 1 - y) + 3 * x;
  return {p[2], p[1], p[0]};
}

Picture PictureOf(const SECImage& image) {
  Picture p{image.GetWidth(), image.GetHeight(), {}};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) p.pixels.push_back(PixelOf(image, x, y));
  return p;
}

std::string BuildBmp(int bits, int width, int height, const std::vector<Rgb>& table,
                     const std::function<int(int, int)>& index, const std::function<Rgb(int, int)>& colour) {
  size_t stride = SECImage::PaddedRowBytes(bits, width);
  unsigned tableBytes = bits <= 8 ? 4u << bits : 0;
  unsigned offBits = 54 + tableBytes;
  std::string s;
  Put16(s, 0x4D42);
  Put32(s, offBits + static_cast<unsigned>(stride * height));
  Put32(s, 0);
  Put32(s, offBits);
  Put32(s, 40);
  Put32(s, width);
  Put32(s, height);
  Put16(s, 1);
  Put16(s, bits);
  for (int i = 0; i < 6; ++i) Put32(s, 0);
  for (unsigned i = 0; i < tableBytes / 4; ++i) {
    Rgb c = i < table.size() ? table[i] : Rgb{};
    s += {static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r), 0};
  }
  for (int y = height - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
      if (bits == 24) {
        Rgb c = colour(x, y);
        row[3 * x] = static_cast<char>(c.b);
        row[3 * x + 1] = static_cast<char>(c.g);
        row[3 * x + 2] = static_cast<char>(c.r);
      } else {
        int v = index(x, y);
        auto& byte = reinterpret_cast<unsigned char&>(row[x * bits / 8]);
        if (bits == 8) byte = static_cast<unsigned char>(v);
        if (bits == 4) byte |= static_cast<unsigned char>((x & 1) ? v : v << 4);
        if (bits == 1) byte |= static_cast<unsigned char>(v << (7 - (x & 7)));
      }
    }
    s += row;
  }
  return s;
}

std::vector<Rgb> PatternTable(int bits) {
  std::vector<Rgb> table;
  int n = 1 << bits;
  for (int i = 0; i < n; ++i) {
    table.push_back({static_cast<uint8_t>(i * 255 / (n - 1)), static_cast<uint8_t>((i * 37) & 0xFF),
                     static_cast<uint8_t>(255 - i * 255 / (n - 1))});
  }
  return table;
}

std::string PatternBmp(int bits, int width, int height) {
  int n = bits <= 8 ? 1 << bits : 0;
  return BuildBmp(
      bits, width, height, PatternTable(bits <= 8 ? bits : 1), [n](int x, int y) { return (x * 3 + y * 5 + x * y) % n; },
      [](int x, int y) {
        return Rgb{static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(y * 11 + 3), static_cast<uint8_t>(x * y + 17)};
      });
}

BOOL LoadBytes(SECImage& image, const std::string& bytes) {
  CMemFile file;
  file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
  file.SeekToBegin();
  return image.LoadImage(&file);
}

std::string SaveBytes(SECImage& image) {
  CMemFile file;
  if (!image.SaveImage(&file)) return {};
  std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

::testing::AssertionResult SamePicture(const Picture& expected, const Picture& actual, int tolerance) {
  if (expected.width != actual.width || expected.height != actual.height) {
    return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height << ", expected "
                                         << expected.width << "x" << expected.height;
  }
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      Rgb e = expected.At(x, y), a = actual.At(x, y);
      if (std::abs(e.r - a.r) > tolerance || std::abs(e.g - a.g) > tolerance || std::abs(e.b - a.b) > tolerance) {
        return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << int(a.r) << "," << int(a.g)
                                             << "," << int(a.b) << ", expected " << int(e.r) << "," << int(e.g) << ","
                                             << int(e.b);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

bool HaveConvert() {
  static const bool have = std::system("command -v convert >/dev/null 2>&1") == 0;
  return have;
}

bool Convert(const std::string& arguments) {
  std::string command = "convert " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

Picture DecodeWithConvert(const std::string& path, const std::string& options) {
  Picture p;
  std::string out = path + ".reference.ppm";
  if (!Convert("'" + path + "' " + options + " -depth 8 -type TrueColor 'PPM:" + out + "'")) return p;
  std::string bytes = ReadFile(out);
  std::remove(out.c_str());
  std::istringstream in(bytes);
  std::string magic;
  int maxValue = 0;
  in >> magic >> p.width >> p.height >> maxValue;
  in.get();
  if (magic != "P6" || maxValue != 255) return Picture{};
  for (int i = 0; i < p.width * p.height; ++i) {
    Rgb c;
    c.r = static_cast<uint8_t>(in.get());
    c.g = static_cast<uint8_t>(in.get());
    c.b = static_cast<uint8_t>(in.get());
    p.pixels.push_back(c);
  }
  return p;
}

std::string Ppm(const Picture& picture) {
  std::string s = "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
  for (const Rgb& c : picture.pixels) s += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
  return s;
}

Picture ColourPicture(int width, int height) {
  Picture p{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      p.pixels.push_back({static_cast<uint8_t>(x * 255 / std::max(1, width - 1)),
                          static_cast<uint8_t>(y * 255 / std::max(1, height - 1)),
                          static_cast<uint8_t>((x * 5 + y * 3) & 0xFF)});
  return p;
}

Picture PalettePicture(int width, int height, int colours) {
  Picture p{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int i = (x / 3 + y / 2 + x * y) % colours;
      p.pixels.push_back({static_cast<uint8_t>(i * 255 / std::max(1, colours - 1)),
                          static_cast<uint8_t>((i * 97) & 0xFF), static_cast<uint8_t>(255 - i * 255 / std::max(1, colours - 1))});
    }
  return p;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string StoredObject(CObject& object) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
  }
  std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

void LoadObject(CObject& object, const std::string& bytes) {
  CMemFile file;
  file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  object.Serialize(ar);
}

unsigned Le32At(const std::string& s, size_t at) {
  unsigned v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

COLORREF PixelOfBitmap(CBitmap& bitmap, int x, int y) {
  CDC screen, dc;
  screen.CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  dc.CreateCompatibleDC(&screen);
  CBitmap* old = dc.SelectObject(&bitmap);
  COLORREF c = dc.GetPixel(x, y);
  dc.SelectObject(old);
  return c;
}

}  // namespace image_test
