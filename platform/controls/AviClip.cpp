// Reading AVI clips: the RIFF chunk tree, the main and stream headers, the video stream's bitmap
// format and palette, its frames (uncompressed or RLE8) and palette changes.
#include "controls/AviClip.h"

#include <algorithm>
#include <cstring>

#include "base/ByteOrder.h"

namespace brambolt::ctl {
namespace {

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRgb = 0;

bool Is(const std::uint8_t* p, const char* fourcc) { return std::memcmp(p, fourcc, 4) == 0; }

struct Chunk {
  const std::uint8_t* id;
  const std::uint8_t* data;
  std::size_t size;

  ByteSpan bytes() const { return {data, size}; }
};

// The chunks between `begin` and `end`; false when one claims more bytes than are left.
bool Chunks(const std::uint8_t* begin, const std::uint8_t* end, std::vector<Chunk>& out) {
  const std::uint8_t* p = begin;
  while (end - p >= 8) {
    std::size_t size = ReadLE32({p, 8}, 4);
    if (size > static_cast<std::size_t>(end - p - 8)) return false;
    out.push_back(Chunk{p, p + 8, size});
    p += 8 + size + (size & 1);
  }
  return true;
}

class Decoder {
 public:
  std::optional<AviClip> Run(const std::uint8_t* data, std::size_t size, std::string* error);

 private:
  bool Fail(const char* why) {
    error_ = why;
    return false;
  }
  bool Walk(const std::uint8_t* begin, const std::uint8_t* end);
  bool Header(const Chunk& c);
  bool StreamHeader(const Chunk& c);
  bool StreamFormat(const Chunk& c);
  bool Frame(const Chunk& c);
  void PaletteChange(const Chunk& c);
  void EmitIndexed();

  AviClip clip_;
  std::string error_;
  int streams_ = 0;  // stream lists seen so far
  int video_ = -1;   // index of the video stream
  bool currentIsVideo_ = false;
  unsigned scale_ = 0, rate_ = 0;
  std::uint32_t compression_ = 0;
  int bits_ = 0;
  bool topDown_ = false;
  std::vector<std::uint32_t> palette_;
  std::vector<std::uint8_t> indices_;  // the last RLE8 frame, bottom row first
};

bool Decoder::Header(const Chunk& c) {
  if (c.size < 40) return Fail("short main header");
  clip_.microsecondsPerFrame = ReadLE32(c.bytes());
  return true;
}

bool Decoder::StreamHeader(const Chunk& c) {
  if (c.size < 48) return Fail("short stream header");
  currentIsVideo_ = video_ < 0 && Is(c.data, "vids");
  if (currentIsVideo_) {
    video_ = streams_ - 1;
    scale_ = ReadLE32(c.bytes(), 20);
    rate_ = ReadLE32(c.bytes(), 24);
  }
  return true;
}

bool Decoder::StreamFormat(const Chunk& c) {
  if (!currentIsVideo_) return true;
  if (c.size < 40) return Fail("short bitmap header");
  std::uint32_t headerSize = ReadLE32(c.bytes());
  std::int32_t width = ReadLE32Signed(c.bytes(), 4), height = ReadLE32Signed(c.bytes(), 8);
  bits_ = ReadLE16(c.bytes(), 14);
  compression_ = ReadLE32(c.bytes(), 16);
  std::uint32_t colours = ReadLE32(c.bytes(), 32);
  if (width <= 0 || height == 0 || width > 16384 || height > 16384 || height < -16384)
    return Fail("bad frame size");
  topDown_ = height < 0;
  clip_.width = width;
  clip_.height = topDown_ ? -height : height;
  if (compression_ == kRle8) {
    if (bits_ != 8 || topDown_) return Fail("RLE8 needs 8 bits, bottom-up");
  } else if (compression_ == kRgb) {
    if (bits_ != 8 && bits_ != 24 && bits_ != 32) return Fail("unsupported depth");
  } else {
    return Fail("unsupported compression");
  }
  if (bits_ == 8) {
    if (colours == 0 || colours > 256) colours = 256;
    if (headerSize < 40 || headerSize > c.size) return Fail("bad bitmap header size");
    std::size_t available = (c.size - headerSize) / 4;
    palette_.assign(256, 0);
    for (std::size_t i = 0; i < std::min<std::size_t>(colours, available); ++i) {
      const std::uint8_t* q = c.data + headerSize + 4 * i;
      palette_[i] = static_cast<std::uint32_t>(q[2]) << 16 | static_cast<std::uint32_t>(q[1]) << 8 | q[0];
    }
    indices_.assign(static_cast<std::size_t>(clip_.width) * clip_.height, 0);
  }
  return true;
}

void Decoder::EmitIndexed() {
  const std::size_t w = static_cast<std::size_t>(clip_.width), h = static_cast<std::size_t>(clip_.height);
  std::vector<std::uint32_t> frame(w * h);
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = indices_.data() + (h - 1 - y) * w;
    for (std::size_t x = 0; x < w; ++x) frame[y * w + x] = palette_[row[x]];
  }
  clip_.frames.push_back(std::move(frame));
}

bool Decoder::Frame(const Chunk& c) {
  if (clip_.width == 0) return Fail("frame before format");
  if (c.size == 0) {  // a dropped frame repeats the one before
    if (clip_.frames.empty()) return Fail("first frame empty");
    clip_.frames.push_back(clip_.frames.back());
    return true;
  }
  const std::size_t w = static_cast<std::size_t>(clip_.width), h = static_cast<std::size_t>(clip_.height);
  if (compression_ == kRle8) {
    if (!DecodeRle8(c.data, c.size, clip_.width, clip_.height, indices_)) return Fail("bad RLE8 frame");
    EmitIndexed();
    return true;
  }
  std::size_t stride = (w * static_cast<std::size_t>(bits_) + 31) / 32 * 4;
  if (c.size < stride * h) return Fail("short frame");
  if (bits_ == 8) {
    for (std::size_t y = 0; y < h; ++y) std::memcpy(indices_.data() + y * w, c.data + y * stride, w);
    if (topDown_) {
      for (std::size_t y = 0; y < h / 2; ++y)
        std::swap_ranges(indices_.begin() + y * w, indices_.begin() + (y + 1) * w, indices_.begin() + (h - 1 - y) * w);
    }
    EmitIndexed();
    return true;
  }
  std::vector<std::uint32_t> frame(w * h);
  const std::size_t bytes = static_cast<std::size_t>(bits_) / 8;
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = c.data + (topDown_ ? y : h - 1 - y) * stride;
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint8_t* q = row + x * bytes;
      frame[y * w + x] = static_cast<std::uint32_t>(q[2]) << 16 | static_cast<std::uint32_t>(q[1]) << 8 | q[0];
    }
  }
  clip_.frames.push_back(std::move(frame));
  return true;
}

void Decoder::PaletteChange(const Chunk& c) {
  if (palette_.empty() || c.size < 4) return;
  unsigned first = c.data[0], count = c.data[1] ? c.data[1] : 256;
  for (unsigned i = 0; i < count && first + i < 256 && 4 + 4 * i + 4 <= c.size; ++i) {
    const std::uint8_t* e = c.data + 4 + 4 * i;  // red, green, blue, flags
    palette_[first + i] = static_cast<std::uint32_t>(e[0]) << 16 | static_cast<std::uint32_t>(e[1]) << 8 | e[2];
  }
}

bool Decoder::Walk(const std::uint8_t* begin, const std::uint8_t* end) {
  std::vector<Chunk> chunks;
  if (!Chunks(begin, end, chunks)) return Fail("chunk runs past the end");
  for (const Chunk& c : chunks) {
    if (Is(c.id, "LIST")) {
      if (c.size < 4) return Fail("short list");
      if (Is(c.data, "strl")) ++streams_;
      if (!Walk(c.data + 4, c.data + c.size)) return false;
      if (Is(c.data, "strl")) currentIsVideo_ = false;
    } else if (Is(c.id, "avih")) {
      if (!Header(c)) return false;
    } else if (Is(c.id, "strh")) {
      if (!StreamHeader(c)) return false;
    } else if (Is(c.id, "strf")) {
      if (!StreamFormat(c)) return false;
    } else if (video_ >= 0 && c.id[0] == '0' + video_ / 10 && c.id[1] == '0' + video_ % 10) {
      if (c.id[2] == 'd' && (c.id[3] == 'b' || c.id[3] == 'c')) {
        if (!Frame(c)) return false;
      } else if (c.id[2] == 'p' && c.id[3] == 'c') {
        PaletteChange(c);
      }
    }
  }
  return true;
}

std::optional<AviClip> Decoder::Run(const std::uint8_t* data, std::size_t size, std::string* error) {
  bool ok = size >= 12 && Is(data, "RIFF") && Is(data + 8, "AVI ");
  if (!ok) error_ = "not an AVI file";
  if (ok) {
    std::size_t riff = std::min<std::size_t>(ReadLE32({data, size}, 4), size - 8);
    ok = riff >= 4 && Walk(data + 12, data + 8 + riff);
  }
  if (ok && video_ < 0) ok = Fail("no video stream");
  if (ok && clip_.frames.empty()) ok = Fail("no frames");
  if (!ok) {
    if (error) *error = error_;
    return std::nullopt;
  }
  if (clip_.microsecondsPerFrame == 0 && rate_ != 0)
    clip_.microsecondsPerFrame = static_cast<unsigned>(1000000ull * scale_ / rate_);
  return std::move(clip_);
}

}  // namespace

unsigned AviClip::FrameMilliseconds() const {
  unsigned ms = (microsecondsPerFrame + 500) / 1000;
  return ms == 0 ? 1 : ms;
}

std::optional<AviClip> DecodeAvi(const std::uint8_t* data, std::size_t size, std::string* error) {
  return Decoder().Run(data, size, error);
}

bool DecodeRle8(const std::uint8_t* data, std::size_t size, int width, int height, std::vector<std::uint8_t>& indices) {
  if (width <= 0 || height <= 0 || indices.size() != static_cast<std::size_t>(width) * height) return false;
  std::size_t i = 0;
  int x = 0, y = 0;
  auto put = [&](std::uint8_t v) {
    if (x >= width || y >= height) return false;
    indices[static_cast<std::size_t>(y) * width + x++] = v;
    return true;
  };
  while (i + 2 <= size) {
    std::uint8_t count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k)
        if (!put(value)) return false;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return true;
      case 2:  // delta
        if (i + 2 > size) return false;
        x += data[i];
        y += data[i + 1];
        i += 2;
        if (x > width || y > height) return false;
        break;
      default:  // literal run, padded to a 16-bit boundary
        if (i + value > size) return false;
        for (int k = 0; k < value; ++k)
          if (!put(data[i + k])) return false;
        i += value + (value & 1);
        break;
    }
  }
  return true;  // a frame may end without the end-of-bitmap mark
}

}  // namespace brambolt::ctl
