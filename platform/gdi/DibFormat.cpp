// DIB headers, colour tables, row packing at 1/4/8/16/24/32 bits and RLE decoding.
#include "gdi/DibFormat.h"

#include <cstring>

#include "gdi/GdiInternal.h"

namespace brambolt::gdi {
namespace {

template <class T>
T Read(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

int Shift(DWORD mask) {
  if (!mask) return 0;
  int s = 0;
  while (!(mask & 1)) {
    mask >>= 1;
    ++s;
  }
  return s;
}
int Bits(DWORD mask) {
  int n = 0;
  for (; mask; mask >>= 1) n += mask & 1;
  return n;
}
// Position and width of the three colour masks of a 16 or 32-bit format.
struct MaskLayout {
  int shift[3], bits[3];
  explicit MaskLayout(const DWORD* masks) {
    for (int i = 0; i < 3; ++i) {
      shift[i] = Shift(masks[i]);
      bits[i] = Bits(masks[i]);
    }
  }
};

uint32_t Expand(uint32_t v, int bits) {
  if (bits >= 8) return v >> (bits - 8);
  if (bits == 0) return 0;
  uint32_t r = v << (8 - bits);
  return r | (r >> bits);
}

}  // namespace

std::vector<uint32_t> StandardColorTable(int bpp) {
  if (bpp == 1) return {0x000000, 0xFFFFFF};
  std::vector<uint32_t> t;
  for (const PALETTEENTRY& e : DefaultPaletteEntries()) {
    uint32_t p = (static_cast<uint32_t>(e.peRed) << 16) | (e.peGreen << 8) | e.peBlue;
    t.push_back(p);
  }
  if (bpp == 4) {
    // The 16 VGA colours: the first and last eight entries of the default palette.
    std::vector<uint32_t> vga(t.begin(), t.begin() + 8);
    vga.insert(vga.end(), t.end() - 8, t.end());
    return vga;
  }
  // 8 bits: the 20 static colours, then a 6x6x6 cube and greys.
  std::vector<uint32_t> table(t.begin(), t.begin() + 10);
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) table.push_back((r * 51u << 16) | (g * 51u << 8) | b * 51u);
  while (table.size() < 246) {
    uint32_t v = static_cast<uint32_t>((table.size() - 226) * 255 / 20) & 0xFF;
    table.push_back((v << 16) | (v << 8) | v);
  }
  table.insert(table.end(), t.end() - 10, t.end());
  return table;
}

int NearestIndex(const std::vector<uint32_t>& table, uint32_t pixel) {
  int best = 0;
  long bestDist = -1;
  int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  for (size_t i = 0; i < table.size(); ++i) {
    int dr = r - static_cast<int>((table[i] >> 16) & 0xFF), dg = g - static_cast<int>((table[i] >> 8) & 0xFF),
        db = b - static_cast<int>(table[i] & 0xFF);
    long d = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || d < bestDist) {
      bestDist = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return best;
}

bool ParseDibHeader(const void* info, UINT usage, const DeviceContext* dc, DibFormat& f) {
  if (!info) return false;
  auto* p = static_cast<const uint8_t*>(info);
  DWORD size = Read<DWORD>(p);
  size_t colorEntry = 4;
  if (size == sizeof(BITMAPCOREHEADER)) {
    f.width = Read<WORD>(p + 4);
    f.height = Read<WORD>(p + 6);
    f.bpp = Read<WORD>(p + 10);
    f.compression = BI_RGB;
    f.topDown = false;
    colorEntry = 3;
  } else if (size >= sizeof(BITMAPINFOHEADER)) {
    f.width = Read<LONG>(p + 4);
    LONG h = Read<LONG>(p + 8);
    f.topDown = h < 0;
    f.height = h < 0 ? -h : h;
    f.bpp = Read<WORD>(p + 14);
    f.compression = Read<DWORD>(p + 16);
  } else {
    return false;
  }
  if (f.width < 0 || f.width > 65536 || f.height > 65536) return false;
  if (f.bpp != 1 && f.bpp != 4 && f.bpp != 8 && f.bpp != 16 && f.bpp != 24 && f.bpp != 32) return false;
  size_t offset = size;
  f.colors.clear();
  if (f.bpp <= 8) {
    DWORD used = size >= sizeof(BITMAPINFOHEADER) ? Read<DWORD>(p + 32) : 0;
    size_t count = used && used <= (1u << f.bpp) ? used : (1u << f.bpp);
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = p + offset + i * (usage == DIB_PAL_COLORS ? 2 : colorEntry);
      if (usage == DIB_PAL_COLORS) {
        WORD index = Read<WORD>(e);
        COLORREF c = dc ? ResolveColor(*dc, PALETTEINDEX(index)) : 0;
        f.colors.push_back(PixelFromColor(c));
      } else {
        f.colors.push_back((static_cast<uint32_t>(e[2]) << 16) | (e[1] << 8) | e[0]);
      }
    }
    offset += count * (usage == DIB_PAL_COLORS ? 2 : colorEntry);
  } else if (f.compression == BI_BITFIELDS) {
    // The masks follow a 40-byte header and lie inside the larger ones, from byte 40 on; a header
    // that ends before their place does not hold them, and nothing past its end is read.
    constexpr DWORD kMasksEnd = sizeof(BITMAPINFOHEADER) + 12;
    if (size == sizeof(BITMAPINFOHEADER)) {
      for (int i = 0; i < 3; ++i) f.masks[i] = Read<DWORD>(p + size + 4 * i);
      offset += 12;
    } else if (size >= kMasksEnd) {
      for (int i = 0; i < 3; ++i) f.masks[i] = Read<DWORD>(p + 40 + 4 * i);
    } else {
      return false;
    }
  } else if (f.compression != BI_RGB) {
    return false;
  }
  if (f.compression == BI_RGB || (f.compression == BI_BITFIELDS && !f.masks[0] && !f.masks[1] && !f.masks[2])) {
    if (f.bpp == 16) {
      f.masks[0] = 0x7C00;
      f.masks[1] = 0x03E0;
      f.masks[2] = 0x001F;
    } else if (f.bpp == 32) {
      f.masks[0] = 0xFF0000;
      f.masks[1] = 0x00FF00;
      f.masks[2] = 0x0000FF;
    }
  }
  if ((f.compression == BI_RLE8 && f.bpp != 8) || (f.compression == BI_RLE4 && f.bpp != 4)) return false;
  f.headerSize = offset;
  return true;
}

// 32-bit pixels laid out as the surface holds them (blue, green, red, a fourth byte): they are
// copied whole, so the fourth byte (alpha in icons and layered images) survives.
bool HasPlainPixels(const DibFormat& f) {
  return f.bpp == 32 && f.masks[0] == 0xFF0000 && f.masks[1] == 0x00FF00 && f.masks[2] == 0x0000FF;
}

void DecodeRow(const DibFormat& f, const uint8_t* row, uint32_t* out) {
  auto color = [&](unsigned i) { return i < f.colors.size() ? f.colors[i] : 0u; };
  switch (f.bpp) {
    case 1:
      for (int x = 0; x < f.width; ++x) out[x] = color((row[x >> 3] >> (7 - (x & 7))) & 1);
      break;
    case 4:
      for (int x = 0; x < f.width; ++x) out[x] = color((x & 1) ? row[x >> 1] & 0xF : row[x >> 1] >> 4);
      break;
    case 8:
      for (int x = 0; x < f.width; ++x) out[x] = color(row[x]);
      break;
    case 24:
      for (int x = 0; x < f.width; ++x)
        out[x] = (static_cast<uint32_t>(row[3 * x + 2]) << 16) | (row[3 * x + 1] << 8) | row[3 * x];
      break;
    case 16:
    case 32: {
      if (HasPlainPixels(f)) {
        std::memcpy(out, row, 4 * static_cast<size_t>(f.width));  // all four bytes, the fourth included
        break;
      }
      MaskLayout m(f.masks);
      const int rs = m.shift[0], gs = m.shift[1], bs = m.shift[2], rb = m.bits[0], gb = m.bits[1], bb = m.bits[2];
      for (int x = 0; x < f.width; ++x) {
        uint32_t v = f.bpp == 16 ? Read<WORD>(row + 2 * x) : Read<DWORD>(row + 4 * x);
        out[x] = (Expand((v & f.masks[0]) >> rs, rb) << 16) | (Expand((v & f.masks[1]) >> gs, gb) << 8) |
                 Expand((v & f.masks[2]) >> bs, bb);
      }
      break;
    }
  }
}

void EncodeRow(const DibFormat& f, const uint32_t* px, uint8_t* row) {
  switch (f.bpp) {
    case 1:
    case 4:
    case 8: {
      std::memset(row, 0, f.Stride());
      uint32_t lastPixel = 0xFFFFFFFF;
      int lastIndex = 0;
      for (int x = 0; x < f.width; ++x) {
        uint32_t p = px[x] & 0xFFFFFF;
        if (p != lastPixel) {
          lastIndex = NearestIndex(f.colors, p);
          lastPixel = p;
        }
        if (f.bpp == 1) row[x >> 3] |= static_cast<uint8_t>((lastIndex & 1) << (7 - (x & 7)));
        else if (f.bpp == 4) row[x >> 1] |= static_cast<uint8_t>((x & 1) ? (lastIndex & 0xF) : (lastIndex & 0xF) << 4);
        else row[x] = static_cast<uint8_t>(lastIndex);
      }
      break;
    }
    case 24:
      for (int x = 0; x < f.width; ++x) {
        row[3 * x] = static_cast<uint8_t>(px[x]);
        row[3 * x + 1] = static_cast<uint8_t>(px[x] >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(px[x] >> 16);
      }
      std::memset(row + 3 * f.width, 0, f.Stride() - 3 * f.width);
      break;
    case 16:
    case 32: {
      if (HasPlainPixels(f)) {
        std::memcpy(row, px, 4 * static_cast<size_t>(f.width));
        break;
      }
      MaskLayout m(f.masks);
      const int rs = m.shift[0], gs = m.shift[1], bs = m.shift[2], rb = m.bits[0], gb = m.bits[1], bb = m.bits[2];
      for (int x = 0; x < f.width; ++x) {
        uint32_t r = (px[x] >> 16) & 0xFF, g = (px[x] >> 8) & 0xFF, b = px[x] & 0xFF;
        uint32_t v = (((rb >= 8 ? r << (rb - 8) : r >> (8 - rb)) << rs) & f.masks[0]) |
                     (((gb >= 8 ? g << (gb - 8) : g >> (8 - gb)) << gs) & f.masks[1]) |
                     (((bb >= 8 ? b << (bb - 8) : b >> (8 - bb)) << bs) & f.masks[2]);
        if (f.bpp == 16) {
          WORD w = static_cast<WORD>(v);
          std::memcpy(row + 2 * x, &w, 2);
        } else {
          std::memcpy(row + 4 * x, &v, 4);
        }
      }
      if (f.bpp == 16) std::memset(row + 2 * f.width, 0, f.Stride() - 2 * f.width);
      break;
    }
  }
}

namespace {

// RLE4/RLE8: runs and literal groups, with end-of-line, end-of-bitmap and delta escapes.
bool DecodeRle(const DibFormat& f, const uint8_t* p, size_t n, Surface& out) {
  int x = 0, y = 0;  // y counts from the bottom row
  auto put = [&](int index) {
    if (x < f.width && y < f.height) {
      uint32_t c = static_cast<unsigned>(index) < f.colors.size() ? f.colors[index] : 0;
      out.SetPixel(x, f.topDown ? y : f.height - 1 - y, c);
    }
    ++x;
  };
  size_t i = 0;
  bool rle4 = f.compression == BI_RLE4;
  while (i + 1 < n) {
    uint8_t count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(rle4 ? ((k & 1) ? value & 0xF : value >> 4) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (i + 1 >= n) return false;
      x += p[i];
      y += p[i + 1];
      i += 2;
    } else {
      size_t bytes = rle4 ? (value + 1) / 2 : value;
      if (i + bytes > n) return false;
      for (int k = 0; k < value; ++k) put(rle4 ? ((k & 1) ? p[i + k / 2] & 0xF : p[i + k / 2] >> 4) : p[i + k]);
      i += (bytes + 1) & ~static_cast<size_t>(1);
    }
  }
  return true;
}

}  // namespace

bool DecodeDib(const DibFormat& f, const void* bits, size_t bitsSize, Surface& out) {
  if (!bits) return false;
  auto* p = static_cast<const uint8_t*>(bits);
  if (f.compression == BI_RLE4 || f.compression == BI_RLE8) return DecodeRle(f, p, bitsSize, out);
  size_t stride = f.Stride();
  std::vector<uint32_t> line(static_cast<size_t>(f.width));
  for (int r = 0; r < f.height; ++r) {
    if ((r + 1) * stride > bitsSize) break;
    DecodeRow(f, p + r * stride, line.data());
    int y = f.topDown ? r : f.height - 1 - r;
    if (y < out.Height()) std::memcpy(out.Row(y), line.data(), sizeof(uint32_t) * std::min(f.width, out.Width()));
  }
  return true;
}

}  // namespace brambolt::gdi
