// BMP and ICO files: reading through the window system's DIB decoder, writing BMP and ICO.
#include "ole/PictureCodecs.h"

#include <png.h>

#include <algorithm>
#include <cstring>

#include "gdi/gdi.h"

namespace brambolt::ole {
namespace {

constexpr size_t kFileHeader = 14;

// Whether run-length data reaches its end-of-bitmap code before the data ends: runs of a count
// and a value, or an escape (0) followed by end of line (0), end of bitmap (1), a move (2, then
// two bytes) or a number of literal pixels padded to an even number of bytes.
bool RunLengthDataComplete(ByteSpan bits, bool fourBit) {
  size_t at = 0;
  while (at + 2 <= bits.size()) {
    const uint8_t count = bits[at], code = bits[at + 1];
    at += 2;
    if (count != 0 || code == 0) continue;
    if (code == 1) return true;
    if (code == 2) {
      at += 2;
      continue;
    }
    const size_t literal = fourBit ? (code + 1u) / 2 : code;
    at += literal + (literal & 1);
  }
  return false;
}

// A DIB's header (with its colour table or masks) and rows, decoded into 32-bit pixels by the
// window system. `header` must hold the whole header and table; missing rows read as black and
// mark the picture incomplete.
bool DecodeDib(ByteSpan header, ByteSpan bits, PictureImage& out) {
  uint32_t headerSize = ReadLE32(header, 0);
  bool core = headerSize == 12;
  if (!core && headerSize < 40) return false;
  int width = core ? ReadLE16(header, 4) : ReadLE32Signed(header, 4);
  int height = core ? ReadLE16(header, 6) : ReadLE32Signed(header, 8);
  int bpp = core ? ReadLE16(header, 10) : ReadLE16(header, 14);
  uint32_t compression = core ? BI_RGB : ReadLE32(header, 16);
  bool topDown = height < 0;
  if (height == INT32_MIN) return false;
  height = std::abs(height);
  if (!PictureSizeAllowed(width, height)) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  // The header in aligned memory of its own; compressed rows are bounded by what the file holds.
  std::vector<uint32_t> info((header.size() + 3) / 4 + 1, 0);
  std::memcpy(info.data(), header.data(), header.size());
  auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
  std::vector<uint8_t> rows;
  bool incomplete = false;
  if (compression == BI_RLE8 || compression == BI_RLE4) {
    // A stated size of 0 would read run-length data without bound: no data is no picture.
    if (topDown || core || bits.empty()) return false;
    bmi->bmiHeader.biSizeImage = static_cast<DWORD>(bits.size());
    rows.assign(bits.begin(), bits.end());
    incomplete = !RunLengthDataComplete(bits, compression == BI_RLE4);
  } else if (compression == BI_RGB || compression == BI_BITFIELDS) {
    size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    rows.assign(stride * height, 0);
    std::memcpy(rows.data(), bits.data(), std::min(rows.size(), bits.size()));
    // The last row's padding may be left out; any pixel less is a file cut short.
    const size_t lastRow = (static_cast<size_t>(width) * bpp + 7) / 8;
    incomplete = bits.size() < stride * (height - 1) + lastRow;
  } else {
    return false;
  }
  BITMAPINFO target{};
  target.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  target.bmiHeader.biWidth = width;
  target.bmiHeader.biHeight = -height;
  target.bmiHeader.biPlanes = 1;
  target.bmiHeader.biBitCount = 32;
  target.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &target, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (section == nullptr) return false;
  bool ok = SetDIBits(nullptr, section, 0, static_cast<UINT>(height), rows.data(), bmi, DIB_RGB_COLORS) > 0;
  if (ok) {
    out.width = width;
    out.height = height;
    out.pixels.assign(static_cast<const uint32_t*>(pixels), static_cast<const uint32_t*>(pixels) + size_t(width) * height);
    for (uint32_t& p : out.pixels) p |= 0xFF000000u;
    out.transparent = false;
    out.incomplete = incomplete;
  }
  DeleteObject(section);
  return ok;
}

// Bytes of header plus colour table (or bit masks) of a DIB header at the start of `bytes`.
size_t DibHeaderSize(ByteSpan bytes) {
  uint32_t size = ReadLE32(bytes, 0);
  if (size == 12) {
    int bpp = ReadLE16(bytes, 10);
    return 12 + (bpp <= 8 ? (size_t{1} << bpp) * 3 : 0);
  }
  int bpp = ReadLE16(bytes, 14);
  uint32_t compression = ReadLE32(bytes, 16);
  size_t colors = ReadLE32(bytes, 32);
  if (bpp <= 8 && (colors == 0 || colors > (size_t{1} << bpp))) colors = size_t{1} << bpp;
  if (bpp > 8) colors = 0;
  size_t masks = compression == BI_BITFIELDS && size == 40 ? 12 : 0;
  return size + masks + colors * 4;
}

void AppendRow(std::vector<uint8_t>& out, size_t stride) { out.resize(out.size() + stride, 0); }

}  // namespace

bool DecodeBmp(ByteSpan bytes, PictureImage& out) {
  // A file ("BM", its header, then the DIB) or a bare DIB as the clipboard's CF_DIB holds it.
  bool file = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
  ByteSpan dib = file ? bytes.subspan(std::min(bytes.size(), kFileHeader)) : bytes;
  size_t headerSize = DibHeaderSize(dib);
  if (!FieldFits(dib, 0, headerSize) || headerSize < 12) return false;
  // The rows start at the file header's offset; one that points into the header is taken to mean
  // right behind it. A file that ends before the offset has none of its rows: the bytes between
  // the header and the offset are not pixels.
  size_t bitsAt = headerSize;
  if (file) {
    uint32_t offset = ReadLE32(bytes, 10);
    if (offset >= kFileHeader + headerSize) bitsAt = offset - kFileHeader;
  }
  return DecodeDib(dib.first(headerSize), dib.subspan(std::min(bitsAt, dib.size())), out);
}

namespace {

// An icon image stored as a PNG (the large images of newer icon files), alpha kept as the other
// images keep it: below half opaque is transparent.
bool DecodePngIcon(ByteSpan png, PictureImage& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return false;
  if (!PictureSizeAllowed(image.width, image.height)) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  std::vector<uint32_t> pixels(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.transparent = false;
  for (uint32_t& p : pixels) {
    // BGRA bytes in memory are 0xAARRGGBB read little-endian.
    if ((p >> 24) < 128) {
      p = 0;
      out.transparent = true;
    } else {
      p |= 0xFF000000u;
    }
  }
  out.pixels = std::move(pixels);
  out.icon = true;
  return true;
}

}  // namespace

bool DecodeIco(ByteSpan bytes, PictureImage& out) {
  if (ReadLE16(bytes, 0) != 0 || ReadLE16(bytes, 2) != 1) return false;
  size_t count = ReadLE16(bytes, 4);
  if (count == 0 || !FieldFits(bytes, 6, count * 16)) return false;
  // The largest image, the deepest of equal ones.
  size_t best = 0;
  long bestScore = -1;
  for (size_t i = 0; i < count; ++i) {
    size_t at = 6 + i * 16;
    int w = bytes[at] ? bytes[at] : 256, h = bytes[at + 1] ? bytes[at + 1] : 256;
    long score = static_cast<long>(w) * h * 64 + ReadLE16(bytes, at + 6);
    if (score > bestScore) bestScore = score, best = at;
  }
  size_t size = ReadLE32(bytes, best + 8), offset = ReadLE32(bytes, best + 12);
  if (!FieldFits(bytes, offset, size)) return false;
  ByteSpan image = bytes.subspan(offset, size);
  static const uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (image.size() >= 8 && std::equal(image.begin(), image.begin() + 8, kPngSignature)) return DecodePngIcon(image, out);
  if (ReadLE32(image, 0) != 40) return false;
  int width = ReadLE32Signed(image, 4), height = ReadLE32Signed(image, 8) / 2;
  int bpp = ReadLE16(image, 14);
  if (width <= 0 || height <= 0) return false;
  size_t headerSize = DibHeaderSize(image);
  if (!FieldFits(image, 0, headerSize)) return false;
  // The colour image is the upper half of the stated height; the mask follows it.
  std::vector<uint8_t> header(image.begin(), image.begin() + static_cast<long>(headerSize));
  WriteLE32(header, 8, static_cast<uint32_t>(height));
  WriteLE32(header, 16, BI_RGB);
  WriteLE32(header, 20, 0);
  size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  ByteSpan colour = image.subspan(headerSize);
  if (!DecodeDib(header, colour, out)) return false;
  size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  ByteSpan mask = colour.size() > stride * height ? colour.subspan(stride * height) : ByteSpan();
  bool alpha = false;
  if (bpp == 32)
    for (int y = 0; y < height && !alpha; ++y)
      for (int x = 0; x < width && !alpha; ++x) alpha = FieldFits(colour, stride * y + 4 * x, 4) && colour[stride * y + 4 * x + 3] != 0;
  for (int y = 0; y < height; ++y) {
    size_t row = static_cast<size_t>(height - 1 - y);  // rows stored bottom-up
    for (int x = 0; x < width; ++x) {
      bool clear;
      if (alpha) {
        size_t at = stride * row + 4 * static_cast<size_t>(x) + 3;
        clear = at < colour.size() && colour[at] < 128;
      } else {
        size_t at = maskStride * row + static_cast<size_t>(x) / 8;
        clear = at < mask.size() && (mask[at] & (0x80 >> (x % 8)));
      }
      if (clear) {
        out.pixels[static_cast<size_t>(y) * width + x] = 0;
        out.transparent = true;
      }
    }
  }
  out.icon = true;
  return true;
}

std::vector<uint8_t> EncodeBmp(const PictureImage& image) {
  size_t stride = ((static_cast<size_t>(image.width) * 3 + 3) / 4) * 4;
  size_t size = kFileHeader + 40 + stride * image.height;
  std::vector<uint8_t> out;
  out.reserve(size);
  out.push_back('B');
  out.push_back('M');
  AppendLE32(out, static_cast<uint32_t>(size));
  AppendLE32(out, 0);
  AppendLE32(out, kFileHeader + 40);
  for (uint32_t v : {40u, static_cast<uint32_t>(image.width), static_cast<uint32_t>(image.height)}) AppendLE32(out, v);
  AppendLE16(out, 1);
  AppendLE16(out, 24);
  // Uncompressed, the image size, 96 dpi (3780 pixels a metre), no colour table.
  for (uint32_t v : {0u, static_cast<uint32_t>(stride * image.height), 3780u, 3780u, 0u, 0u}) AppendLE32(out, v);
  for (int y = image.height - 1; y >= 0; --y) {
    size_t start = out.size();
    for (int x = 0; x < image.width; ++x) {
      uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
      // A BMP holds no transparency: a transparent pixel is written as the picture shows it, on
      // the white of the window.
      if (image.transparent && (p >> 24) == 0) p = 0xFFFFFFu;
      out.insert(out.end(), {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p >> 16)});
    }
    out.resize(start + stride, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeIco(const PictureImage& image) {
  size_t stride = static_cast<size_t>(image.width) * 4;
  size_t maskStride = ((static_cast<size_t>(image.width) + 31) / 32) * 4;
  size_t dibSize = 40 + (stride + maskStride) * image.height;
  std::vector<uint8_t> out;
  AppendLE16(out, 0);
  AppendLE16(out, 1);
  AppendLE16(out, 1);
  out.push_back(static_cast<uint8_t>(image.width >= 256 ? 0 : image.width));
  out.push_back(static_cast<uint8_t>(image.height >= 256 ? 0 : image.height));
  out.push_back(0);
  out.push_back(0);
  AppendLE16(out, 1);
  AppendLE16(out, 32);
  AppendLE32(out, static_cast<uint32_t>(dibSize));
  AppendLE32(out, 6 + 16);
  for (uint32_t v : {40u, static_cast<uint32_t>(image.width), static_cast<uint32_t>(image.height * 2)}) AppendLE32(out, v);
  AppendLE16(out, 1);
  AppendLE16(out, 32);
  for (uint32_t v : {0u, static_cast<uint32_t>((stride + maskStride) * image.height), 0u, 0u, 0u, 0u}) AppendLE32(out, v);
  for (int y = image.height - 1; y >= 0; --y)
    for (int x = 0; x < image.width; ++x) AppendLE32(out, image.pixels[static_cast<size_t>(y) * image.width + x]);
  for (int y = image.height - 1; y >= 0; --y) {
    size_t start = out.size();
    AppendRow(out, maskStride);
    for (int x = 0; x < image.width; ++x)
      if ((image.pixels[static_cast<size_t>(y) * image.width + x] >> 24) == 0) out[start + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return out;
}

}  // namespace brambolt::ole
