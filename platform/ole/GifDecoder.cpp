// GIF files (87a and 89a): the first image on the logical screen, with its transparent colour,
// through the variable-length LZW decoder the format uses.
#include <array>

#include "ole/PictureCodecs.h"

namespace brambolt::ole {
namespace {

// The data sub-blocks that follow an image descriptor, joined; false when they run past the end.
bool ReadSubBlocks(ByteReader& in, std::vector<uint8_t>& out) {
  for (;;) {
    uint8_t size = in.U8();
    if (!in.ok()) return false;
    if (size == 0) return true;
    ByteSpan block = in.Rest().first(std::min<size_t>(size, in.Remaining()));
    out.insert(out.end(), block.begin(), block.end());
    if (!in.Skip(size)) return false;
  }
}

bool SkipSubBlocks(ByteReader& in) {
  for (;;) {
    uint8_t size = in.U8();
    if (!in.ok()) return false;
    if (size == 0) return true;
    if (!in.Skip(size)) return false;
  }
}

// LZW as GIF uses it: codes of minCodeSize + 1 bits growing to 12, least significant bit first,
// a clear code and an end code. Writes up to out.size() indices; a stream that ends early leaves
// the rest as it was (a truncated file shows what it has) and clears `filled`.
bool DecodeLzw(const std::vector<uint8_t>& data, int minCodeSize, std::vector<uint8_t>& out, bool& filled) {
  if (minCodeSize < 2 || minCodeSize > 8) return false;
  const int clear = 1 << minCodeSize, end = clear + 1;
  // Each code is a prefix code plus one last index; strings are rebuilt back to front.
  std::array<uint16_t, 4096> prefix{};
  std::array<uint8_t, 4096> suffix{};
  std::array<uint8_t, 4096> first{};  // first index of each code's string
  std::array<uint16_t, 4096> length{};
  for (int c = 0; c < clear; ++c) {
    suffix[c] = first[c] = static_cast<uint8_t>(c);
    length[c] = 1;
  }
  int codeSize = minCodeSize + 1, next = end + 1, previous = -1;
  size_t written = 0, bitPos = 0;
  const size_t totalBits = data.size() * 8;
  while (written < out.size() && bitPos + codeSize <= totalBits) {
    int code = 0;
    for (int b = 0; b < codeSize; ++b, ++bitPos)
      code |= ((data[bitPos / 8] >> (bitPos % 8)) & 1) << b;
    if (code == clear) {
      codeSize = minCodeSize + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (code == end) break;
    int emit;
    if (code < next) {
      emit = code;
      if (previous >= 0 && next < 4096) {
        prefix[next] = static_cast<uint16_t>(previous);
        suffix[next] = first[code];
        first[next] = first[previous];
        length[next] = static_cast<uint16_t>(length[previous] + 1);
        ++next;
      }
    } else if (code == next && previous >= 0 && next < 4096) {
      // The code being defined: the previous string plus its own first index.
      prefix[next] = static_cast<uint16_t>(previous);
      suffix[next] = first[previous];
      first[next] = first[previous];
      length[next] = static_cast<uint16_t>(length[previous] + 1);
      emit = next++;
    } else {
      return false;  // a code not yet defined: corrupt data
    }
    size_t n = length[emit];
    size_t keep = std::min(n, out.size() - written);
    // Walk the string from its end, writing only what fits.
    size_t pos = n;
    for (int c = emit; pos > 0; c = prefix[c]) {
      --pos;
      if (pos < keep) out[written + pos] = suffix[c];
      if (pos == 0) break;
    }
    written += keep;
    previous = code;
    if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
  }
  filled = written == out.size();
  return true;
}

}  // namespace

bool DecodeGif(ByteSpan bytes, PictureImage& out) {
  ByteReader in(bytes);
  if (bytes.size() < 13 || bytes[0] != 'G' || bytes[1] != 'I' || bytes[2] != 'F' || bytes[3] != '8' ||
      (bytes[4] != '7' && bytes[4] != '9') || bytes[5] != 'a')
    return false;
  in.Skip(6);
  int width = in.U16(), height = in.U16();
  uint8_t flags = in.U8();
  in.Skip(2);  // background index, aspect ratio
  if (!PictureSizeAllowed(width, height)) return false;
  std::vector<uint32_t> global;
  auto readTable = [&](uint8_t packed, std::vector<uint32_t>& table) {
    size_t n = size_t{2} << (packed & 7);
    ByteSpan t = in.Rest().first(std::min(n * 3, in.Remaining()));
    if (!in.Skip(n * 3)) return false;
    table.resize(n);
    for (size_t i = 0; i < n; ++i)
      table[i] = 0xFF000000u | uint32_t{t[3 * i]} << 16 | uint32_t{t[3 * i + 1]} << 8 | t[3 * i + 2];
    return true;
  };
  if ((flags & 0x80) && !readTable(flags, global)) return false;
  int transparentIndex = -1;
  for (;;) {
    uint8_t kind = in.U8();
    if (!in.ok() || kind == 0x3B) return false;  // no image before the end
    if (kind == 0x21) {
      uint8_t label = in.U8();
      if (label == 0xF9 && in.Remaining() >= 6 && in.Rest()[0] == 4) {
        ByteSpan g = in.Rest();
        transparentIndex = (g[1] & 1) ? g[4] : -1;
      }
      if (!SkipSubBlocks(in)) return false;
      continue;
    }
    if (kind != 0x2C) return false;
    int left = in.U16(), top = in.U16(), w = in.U16(), h = in.U16();
    uint8_t imageFlags = in.U8();
    std::vector<uint32_t> local;
    if ((imageFlags & 0x80) && !readTable(imageFlags, local)) return false;
    const std::vector<uint32_t>& table = local.empty() ? global : local;
    // An empty image leaves the screen transparent; a larger one than a picture may be is refused.
    if ((w != 0 && h != 0 && !PictureSizeAllowed(w, h)) || !in.ok()) return false;
    int minCodeSize = in.U8();
    std::vector<uint8_t> data;
    if (!in.ok() || !ReadSubBlocks(in, data)) return false;
    std::vector<uint8_t> indices(static_cast<size_t>(w) * h, 0);
    bool filled = true;
    if (!DecodeLzw(data, minCodeSize, indices, filled)) return false;
    out.width = width;
    out.height = height;
    out.icon = false;
    out.incomplete = !filled;
    // The screen outside the image is left transparent, as is the transparent colour.
    out.pixels.assign(static_cast<size_t>(width) * height, 0);
    out.transparent = left > 0 || top > 0 || left + w < width || top + h < height;
    // Interlaced rows come in four passes: every 8th from 0, every 8th from 4, every 4th from
    // 2, every 2nd from 1.
    std::vector<int> rows;
    if (imageFlags & 0x40) {
      static const int passStart[] = {0, 4, 2, 1}, passStep[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = passStart[pass]; y < h; y += passStep[pass]) rows.push_back(y);
    }
    for (int r = 0; r < h; ++r) {
      int y = rows.empty() ? r : rows[static_cast<size_t>(r)];
      if (top + y >= height) continue;
      for (int x = 0; x < w && left + x < width; ++x) {
        uint8_t index = indices[static_cast<size_t>(r) * w + x];
        uint32_t& p = out.pixels[static_cast<size_t>(top + y) * width + left + x];
        if (index == transparentIndex || index >= table.size()) {
          p = 0;
          out.transparent = true;
        } else {
          p = table[index];
        }
      }
    }
    return true;
  }
}

}  // namespace brambolt::ole
