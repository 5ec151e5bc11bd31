// SECTarga: reading and writing Targa files.
#include "foundation/SECTarga.h"

#include <algorithm>
#include <array>
#include <cstring>

using namespace kelpwood::foundation;

IMPLEMENT_DYNCREATE(SECTarga, SECImage)

namespace {

constexpr DWORD kBufferSize = 60000;
constexpr DWORD kHeaderSize = 18;
constexpr DWORD kFooterSize = 26;
constexpr char kSignature[18] = "TRUEVISION-XFILE.";  // with its terminating NUL

using Bgr = std::array<BYTE, 3>;

// Five-bit channels spread over 0..255: 0, 8, 16, 25, ..., 247, 255.
constexpr BYTE Expand5(unsigned v) { return static_cast<BYTE>((255 * v + 15) / 31); }

Bgr FromPixel(const BYTE* p, int bytes) {
  switch (bytes) {
    case 2: {
      unsigned v = ReadLE16({p, 2});
      return {Expand5(v & 31), Expand5((v >> 5) & 31), Expand5((v >> 10) & 31)};
    }
    case 3:
    case 4: return {p[0], p[1], p[2]};  // a fourth byte is alpha, which a DIB does not hold
    default: return {p[0], p[0], p[0]};
  }
}

// Reads exactly 'count' bytes, false when the file ends first.
bool ReadAll(CFile* file, void* dest, size_t count) { return file->Read(dest, static_cast<UINT>(count)) == count; }

class FieldWriter {
 public:
  void U8(BYTE v) { m_bytes.push_back(v); }
  void U16(WORD v) {
    U8(static_cast<BYTE>(v));
    U8(static_cast<BYTE>(v >> 8));
  }
  void U32(DWORD v) {
    U16(static_cast<WORD>(v));
    U16(static_cast<WORD>(v >> 16));
  }
  void Bytes(const void* p, size_t n) {
    const auto* b = static_cast<const BYTE*>(p);
    m_bytes.insert(m_bytes.end(), b, b + n);
  }
  const std::vector<BYTE>& Data() const { return m_bytes; }

 private:
  std::vector<BYTE> m_bytes;
};

// Fields of a header or extension area read in order; the area is read whole before, so the
// reader never runs short.
class FieldReader : public brambolt::ByteReader {
 public:
  using ByteReader::ByteReader;
  void Bytes(void* dest, size_t n) {
    const brambolt::ByteSpan rest = Rest();
    if (Skip(n)) std::memcpy(dest, rest.data(), n);
  }
};

}  // namespace

SECTarga::SECTarga() = default;

void SECTarga::ClearVersion2() {
  m_bVersion2 = FALSE;
  m_developerTags.clear();
  m_extension = Extension{};
  m_scanLines.clear();
  m_stampWidth = m_stampHeight = 0;
  m_stampPixels.clear();
  m_colorCorrection.clear();
  m_extensionOffset = m_developerOffset = 0;
  std::memset(m_signature, 0, sizeof(m_signature));
}

int SECTarga::Parse(CFile* pFile) {
  m_imageId.clear();
  m_colorMap.clear();
  ClearVersion2();
  BYTE header[kHeaderSize];
  if (!ReadAll(pFile, header, kHeaderSize)) return kShortRead;
  FieldReader h(header);
  m_idLength = h.U8();
  m_colorMapType = h.U8();
  m_imageType = h.U8();
  m_colorMapFirst = h.U16();
  m_colorMapLength = h.U16();
  m_colorMapEntrySize = h.U8();
  m_xOrigin = h.U16();
  m_yOrigin = h.U16();
  m_width = h.U16();
  m_height = h.U16();
  m_pixelDepth = h.U8();
  m_descriptor = h.U8();
  m_imageId.resize(m_idLength);
  if (!ReadAll(pFile, m_imageId.data(), m_idLength)) return kShortRead;
  if (m_colorMapType != 0) {
    m_colorMap.resize(static_cast<size_t>(m_colorMapLength) * ((m_colorMapEntrySize + 7) / 8));
    if (!ReadAll(pFile, m_colorMap.data(), m_colorMap.size())) return kShortRead;
  }
  m_imageDataOffset = static_cast<DWORD>(pFile->GetPosition());

  ULONGLONG length = pFile->GetLength();
  if (length < m_imageDataOffset + kFooterSize) return kParsed;
  pFile->Seek(static_cast<LONGLONG>(length - kFooterSize), CFile::begin);
  BYTE footer[kFooterSize];
  if (!ReadAll(pFile, footer, kFooterSize)) return kShortRead;
  if (std::memcmp(footer + 8, kSignature, sizeof(kSignature)) != 0) return kParsed;
  m_extensionOffset = ReadLE32(footer);
  m_developerOffset = ReadLE32(footer, 4);
  std::memcpy(m_signature, footer + 8, sizeof(m_signature));
  m_bVersion2 = TRUE;

  auto seekInside = [&](DWORD offset, ULONGLONG bytes) {
    if (offset + bytes > length) return false;
    pFile->Seek(offset, CFile::begin);
    return true;
  };
  if (m_developerOffset != 0) {
    BYTE count[2];
    if (!seekInside(m_developerOffset, 2) || !ReadAll(pFile, count, 2)) return kShortRead;
    // The tags' data is not kept, so the directory is read and then dropped.
    for (WORD i = 0, n = ReadLE16(count); i < n; ++i) {
      BYTE tag[10];
      if (!ReadAll(pFile, tag, sizeof(tag))) return kShortRead;
    }
  }
  if (m_extensionOffset != 0) {
    BYTE area[kExtensionSize];
    if (!seekInside(m_extensionOffset, kExtensionSize) || !ReadAll(pFile, area, kExtensionSize)) return kShortRead;
    FieldReader e(area);
    Extension& x = m_extension;
    x.size = e.U16();
    e.Bytes(x.author, sizeof(x.author));
    e.Bytes(x.comments, sizeof(x.comments));
    for (WORD& v : x.stamp) v = e.U16();
    e.Bytes(x.jobName, sizeof(x.jobName));
    for (WORD& v : x.jobTime) v = e.U16();
    e.Bytes(x.softwareId, sizeof(x.softwareId));
    x.softwareVersion = e.U16();
    x.versionLetter = static_cast<char>(e.U8());
    x.keyColor = e.U32();
    for (WORD& v : x.aspect) v = e.U16();
    for (WORD& v : x.gamma) v = e.U16();
    x.colorCorrectionOffset = e.U32();
    x.stampOffset = e.U32();
    x.scanLineOffset = e.U32();
    x.attributesType = e.U8();
    if (x.scanLineOffset != 0) {
      std::vector<BYTE> table(4 * static_cast<size_t>(m_height));
      if (!seekInside(x.scanLineOffset, table.size()) || !ReadAll(pFile, table.data(), table.size())) {
        return kShortRead;
      }
      for (size_t i = 0; i < m_height; ++i) m_scanLines.push_back(ReadLE32(table, 4 * i));
    }
    if (x.stampOffset != 0) {
      BYTE size[2];
      if (!seekInside(x.stampOffset, 2) || !ReadAll(pFile, size, 2)) return kShortRead;
      m_stampWidth = size[0];
      m_stampHeight = size[1];
      m_stampPixels.resize(size_t{m_stampWidth} * m_stampHeight * ((m_pixelDepth + 7) / 8));
      if (!ReadAll(pFile, m_stampPixels.data(), m_stampPixels.size())) return kShortRead;
    }
    if (x.colorCorrectionOffset != 0) {
      BYTE table[2048];
      if (!seekInside(x.colorCorrectionOffset, sizeof(table)) || !ReadAll(pFile, table, sizeof(table))) {
        return kShortRead;
      }
      for (size_t i = 0; i < 1024; ++i) m_colorCorrection.push_back(ReadLE16(table, 2 * i));
    }
  }
  return kParsed;
}

BOOL SECTarga::DoLoadImage(CFile* pFile) {
  if (!pFile || Parse(pFile) != kParsed) return FALSE;
  int bytes = (m_pixelDepth + 7) / 8;
  bool mapped = m_imageType == 1 || m_imageType == 9;
  bool grey = m_imageType == 3 || m_imageType == 11;
  bool rle = m_imageType >= 9;
  if (m_width == 0 || m_height == 0 || m_width > kMaxDimension || m_height > kMaxDimension) return FALSE;
  if (mapped) {
    int entry = m_colorMapEntrySize;
    if (m_colorMapType != 1 || (bytes != 1 && bytes != 2) || (entry != 15 && entry != 16 && entry != 24 && entry != 32)) {
      return FALSE;
    }
  } else if (grey) {
    if (m_pixelDepth != 8) return FALSE;
  } else if (m_imageType == 2 || m_imageType == 10) {
    if (m_pixelDepth != 15 && m_pixelDepth != 16 && m_pixelDepth != 24 && m_pixelDepth != 32) return FALSE;
  } else {
    return FALSE;
  }
  // A header promising more pixels than the file's bytes could hold is damaged: a run packet of
  // at least two bytes gives at most 128 pixels.
  ULONGLONG length = pFile->GetLength();
  ULONGLONG available = length > m_imageDataOffset ? length - m_imageDataOffset : 0;
  ULONGLONG pixels = ULONGLONG{m_width} * m_height;
  if (rle ? pixels > 128 * available : pixels * bytes > available) return FALSE;

  std::vector<Bgr> palette;
  if (mapped) {
    int entryBytes = (m_colorMapEntrySize + 7) / 8;
    for (size_t i = 0; i < m_colorMapLength; ++i) palette.push_back(FromPixel(&m_colorMap[i * entryBytes], entryBytes));
  }
  auto toBgr = [&](const BYTE* p) -> Bgr {
    if (!mapped) return FromPixel(p, bytes);
    int index = (bytes == 2 ? ReadLE16({p, 2}) : p[0]) - m_colorMapFirst;
    return index >= 0 && static_cast<size_t>(index) < palette.size() ? palette[index] : Bgr{0, 0, 0};
  };

  LONG width = m_width, height = m_height;
  size_t rowBytes = PackedRowBytes(24, width);
  if (!m_bits.Allocate(PaddedRowBytes(24, width) * static_cast<size_t>(height))) return FALSE;
  if (!AllocateHeader(0)) return FALSE;
  BITMAPINFOHEADER& bi = GetBitmapInfo()->bmiHeader;
  bi.biSize = 40;
  bi.biWidth = width;
  bi.biHeight = height;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  m_dwWidth = width;
  m_dwHeight = height;
  m_nBitsPerPixel = 24;
  m_wColors = 0;
  m_bRowsPadded = FALSE;

  pFile->Seek(m_imageDataOffset, CFile::begin);
  if (!InitBuffer(kBufferSize, 1)) return FALSE;
  ScopeExit freeBuffer([this] { FreeBuffer(); });
  std::vector<BYTE> line(static_cast<size_t>(width) * bytes);
  for (LONG y = 0; y < height; ++y) {
    if (!rle) {
      if (ReadBytes(line.data(), static_cast<DWORD>(line.size())) != line.size()) return FALSE;
    } else {
      for (LONG filled = 0; filled < width;) {
        BYTE packet;
        if (ReadBytes(&packet, 1) != 1) return FALSE;
        LONG count = (packet & 0x7F) + 1;
        if (filled + count > width) return FALSE;
        BYTE* dest = line.data() + static_cast<size_t>(filled) * bytes;
        if (packet & 0x80) {
          if (ReadBytes(dest, bytes) != static_cast<DWORD>(bytes)) return FALSE;
          for (LONG i = 1; i < count; ++i) std::memcpy(dest + i * bytes, dest, bytes);
        } else if (ReadBytes(dest, static_cast<DWORD>(count * bytes)) != static_cast<DWORD>(count * bytes)) {
          return FALSE;
        }
        filled += count;
      }
    }
    BYTE* row = m_bits.Get() + static_cast<size_t>(y) * rowBytes;
    if (!mapped && bytes == 3) {
      std::memcpy(row, line.data(), rowBytes);
      continue;
    }
    for (LONG x = 0; x < width; ++x) {
      Bgr c = toBgr(line.data() + static_cast<size_t>(x) * bytes);
      std::memcpy(row + 3 * x, c.data(), 3);
    }
  }
  if (!PadRows()) return FALSE;
  if ((m_descriptor & 0x20) && !FlipVertical()) return FALSE;
  if ((m_descriptor & 0x10) && !MirrorHorizontal()) return FALSE;
  return TRUE;
}

BOOL SECTarga::DoSaveImage(CFile* pFile) {
  if (!pFile || !GetBitmapInfo() || !GetBits() || m_dwWidth > 0xFFFF || m_dwHeight > 0xFFFF) return FALSE;
  if (!UnpadRows()) return FALSE;
  ScopeExit restore([this] {
    FreeBuffer();
    PadRows();
  });
  m_idLength = m_colorMapType = 0;
  m_imageType = 2;
  m_colorMapFirst = m_colorMapLength = 0;
  m_colorMapEntrySize = 0;
  m_xOrigin = m_yOrigin = 0;
  m_width = static_cast<WORD>(m_dwWidth);
  m_height = static_cast<WORD>(m_dwHeight);
  m_pixelDepth = 24;
  m_descriptor = 0;
  FieldWriter h;
  h.U8(m_idLength);
  h.U8(m_colorMapType);
  h.U8(m_imageType);
  h.U16(m_colorMapFirst);
  h.U16(m_colorMapLength);
  h.U8(m_colorMapEntrySize);
  h.U16(m_xOrigin);
  h.U16(m_yOrigin);
  h.U16(m_width);
  h.U16(m_height);
  h.U8(m_pixelDepth);
  h.U8(m_descriptor);
  pFile->Write(h.Data().data(), kHeaderSize);

  if (!InitBuffer(kBufferSize, 0)) return FALSE;
  size_t rowBytes = PackedRowBytes(m_nBitsPerPixel, m_dwWidth);
  std::vector<BYTE> line(3 * static_cast<size_t>(m_dwWidth));
  for (LONG y = 0; y < m_dwHeight; ++y) {
    RowToBgr(m_bits.Get() + static_cast<size_t>(y) * rowBytes, line.data());
    WriteBytes(line.data(), static_cast<DWORD>(line.size()));
  }
  FlushBuffer();
  if (!m_bVersion2) return TRUE;

  // The 2.0 areas follow the pixels: developer directory, extension area, postage stamp,
  // colour-correction table, footer. The scan-line table described the old file's layout and is
  // not written; a stamp that is not a 24-bit picture no larger than the image is dropped.
  bool keepStamp = m_stampWidth <= m_dwWidth && m_stampHeight <= m_dwHeight &&
                   m_stampPixels.size() == size_t{m_stampWidth} * m_stampHeight * 3 && !m_stampPixels.empty();
  bool keepCorrection = m_colorCorrection.size() == 1024;
  m_developerTags.clear();
  DWORD position = static_cast<DWORD>(pFile->GetPosition());
  m_developerOffset = position;
  position += 2;
  m_extensionOffset = position;
  position += kExtensionSize;
  Extension& x = m_extension;
  x.size = kExtensionSize;
  x.scanLineOffset = 0;
  x.stampOffset = keepStamp ? position : 0;
  if (keepStamp) position += 2 + static_cast<DWORD>(m_stampPixels.size());
  x.colorCorrectionOffset = keepCorrection ? position : 0;

  FieldWriter w;
  w.U16(0);
  w.U16(x.size);
  w.Bytes(x.author, sizeof(x.author));
  w.Bytes(x.comments, sizeof(x.comments));
  for (WORD v : x.stamp) w.U16(v);
  w.Bytes(x.jobName, sizeof(x.jobName));
  for (WORD v : x.jobTime) w.U16(v);
  w.Bytes(x.softwareId, sizeof(x.softwareId));
  w.U16(x.softwareVersion);
  w.U8(static_cast<BYTE>(x.versionLetter));
  w.U32(x.keyColor);
  for (WORD v : x.aspect) w.U16(v);
  for (WORD v : x.gamma) w.U16(v);
  w.U32(x.colorCorrectionOffset);
  w.U32(x.stampOffset);
  w.U32(x.scanLineOffset);
  w.U8(x.attributesType);
  if (keepStamp) {
    w.U8(m_stampWidth);
    w.U8(m_stampHeight);
    w.Bytes(m_stampPixels.data(), m_stampPixels.size());
  }
  if (keepCorrection) {
    for (WORD v : m_colorCorrection) w.U16(v);
  }
  w.U32(m_extensionOffset);
  w.U32(m_developerOffset);
  w.Bytes(kSignature, sizeof(kSignature));
  pFile->Write(w.Data().data(), static_cast<UINT>(w.Data().size()));
  return TRUE;
}
