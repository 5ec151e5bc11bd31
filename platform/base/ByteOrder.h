// Little-endian fields over a bounded byte span: the one place where stored formats (.res files,
// bitmaps, clips, registry binaries) are read and written field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace brambolt {

using ByteSpan = std::span<const std::uint8_t>;
using MutableByteSpan = std::span<std::uint8_t>;

// Whether a field of `size` bytes at `offset` lies wholly inside `bytes` (never overflows).
constexpr bool FieldFits(ByteSpan bytes, std::size_t offset, std::size_t size) {
  return offset <= bytes.size() && size <= bytes.size() - offset;
}

// A field that does not lie wholly inside the span reads as 0; callers that must tell a short
// input from a stored 0 ask FieldFits first or read through ByteReader.
constexpr std::uint16_t ReadLE16(ByteSpan bytes, std::size_t offset = 0) {
  if (!FieldFits(bytes, offset, 2)) return 0;
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

constexpr std::uint32_t ReadLE32(ByteSpan bytes, std::size_t offset = 0) {
  if (!FieldFits(bytes, offset, 4)) return 0;
  return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[offset + 2]) << 16 | static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

constexpr std::int32_t ReadLE32Signed(ByteSpan bytes, std::size_t offset = 0) {
  return static_cast<std::int32_t>(ReadLE32(bytes, offset));
}

// A write of a field that does not fit is refused (false) and changes nothing.
constexpr bool WriteLE16(MutableByteSpan bytes, std::size_t offset, std::uint16_t value) {
  if (!FieldFits(bytes, offset, 2)) return false;
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  return true;
}

constexpr bool WriteLE32(MutableByteSpan bytes, std::size_t offset, std::uint32_t value) {
  if (!FieldFits(bytes, offset, 4)) return false;
  for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  return true;
}

inline void AppendLE16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void AppendLE32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Reads fields one after another. A read past the end gives 0, leaves the position at the end
// and clears ok() for good, so a parser checks once after a group of fields.
class ByteReader {
 public:
  constexpr explicit ByteReader(ByteSpan bytes, std::size_t position = 0)
      : bytes_(bytes), position_(position <= bytes.size() ? position : bytes.size()), ok_(position <= bytes.size()) {}

  constexpr std::uint8_t U8() { return Take(1) ? bytes_[position_ - 1] : 0; }
  constexpr std::uint16_t U16() { return Take(2) ? ReadLE16(bytes_, position_ - 2) : 0; }
  constexpr std::uint32_t U32() { return Take(4) ? ReadLE32(bytes_, position_ - 4) : 0; }
  constexpr bool Skip(std::size_t count) { return Take(count); }

  constexpr std::size_t Position() const { return position_; }
  constexpr std::size_t Remaining() const { return bytes_.size() - position_; }
  constexpr ByteSpan Rest() const { return bytes_.subspan(position_); }
  constexpr bool ok() const { return ok_; }

 private:
  constexpr bool Take(std::size_t count) {
    if (!ok_ || count > Remaining()) {
      ok_ = false;
      position_ = bytes_.size();
      return false;
    }
    position_ += count;
    return true;
  }

  ByteSpan bytes_;
  std::size_t position_;
  bool ok_;
};

}  // namespace brambolt
