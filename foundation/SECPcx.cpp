// SECPcx: reading and writing PCX files.
#include "foundation/SECPcx.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace kelpwood::foundation;

IMPLEMENT_DYNCREATE(SECPcx, SECImage)

namespace {

constexpr DWORD kBufferSize = 60000;
constexpr BYTE kManufacturer = 10;
constexpr BYTE kPaletteMarker = 0x0C;
// A count byte has its two top bits set; its low six bits repeat the next byte 1 to 63 times.
constexpr BYTE kRunFlag = 0xC0;
constexpr int kMaxRun = 63;

enum class Layout { indexed8, twoLevel, planar, rgb24 };

}  // namespace

SECPcx::SECPcx() = default;

void SECPcx::Serialize(CArchive& ar) { SECImage::Serialize(ar); }

int SECPcx::NextByte() {
  if (m_dwBufPos < m_dwBufHeld) return m_buffer.Get()[m_dwBufPos++];
  BYTE b;
  return ReadBytes(&b, 1) == 1 ? b : -1;
}

BOOL SECPcx::DoLoadImage(CFile* pFile) {
  if (!pFile || pFile->Read(m_pcxHeader, kHeaderSize) != kHeaderSize) return FALSE;
  const std::span<const BYTE> h(m_pcxHeader);
  if (h[0] != kManufacturer || h[1] > 5 || h[2] != 1) return FALSE;
  int bits = h[3];
  int planes = h[65];
  int xMin = ReadLE16(h, 4), yMin = ReadLE16(h, 6), xMax = ReadLE16(h, 8), yMax = ReadLE16(h, 10);
  size_t bytesPerLine = ReadLE16(h, 66);
  if (xMax < xMin || yMax < yMin || bytesPerLine == 0) return FALSE;
  LONG width = xMax - xMin + 1, height = yMax - yMin + 1;
  if (width > kMaxDimension || height > kMaxDimension) return FALSE;
  Layout layout;
  WORD colours;
  if (bits == 8 && planes == 1) {
    layout = Layout::indexed8;
    colours = 256;
  } else if (bits == 8 && planes == 3) {
    layout = Layout::rgb24;
    colours = 0;
  } else if (bits == 1 && planes == 1) {
    layout = Layout::twoLevel;
    colours = 256;
  } else if (bits == 1 && planes >= 2 && planes <= 4) {
    layout = Layout::planar;
    colours = static_cast<WORD>(1u << planes);
  } else {
    return FALSE;
  }
  // Two encoded bytes give at most 63 decoded ones: a header asking for more than the file could
  // hold is damaged, and nothing is allocated for it.
  ULONGLONG length = pFile->GetLength(), position = pFile->GetPosition();
  ULONGLONG encoded = length > position ? length - position : 0;
  size_t decoded = bytesPerLine * static_cast<size_t>(planes) * static_cast<size_t>(height);
  if (decoded > encoded * kMaxRun) return FALSE;

  DWORD depth = layout == Layout::rgb24 ? 24 : 8;
  size_t rowBytes = PackedRowBytes(depth, width);
  if (PaddedRowBytes(depth, width) * static_cast<size_t>(height) > kMaxPixelBytes) return FALSE;
  if (!m_bits.Allocate(PaddedRowBytes(depth, width) * static_cast<size_t>(height))) return FALSE;
  std::vector<BYTE> line(bytesPerLine);
  if (!InitBuffer(kBufferSize, 1)) return FALSE;
  ScopeExit freeBuffer([this] { FreeBuffer(); });

  size_t pixelsPerLine = std::min<size_t>(width, layout == Layout::twoLevel || layout == Layout::planar
                                                     ? 8 * bytesPerLine
                                                     : bytesPerLine);
  bool ended = false;
  for (LONG y = 0; y < height && !ended; ++y) {
    BYTE* row = m_bits.Get() + static_cast<size_t>(y) * rowBytes;
    for (int plane = 0; plane < planes && !ended; ++plane) {
      // Runs are clipped to the line: a count that passes its end loses the excess.
      size_t filled = 0;
      while (filled < bytesPerLine) {
        int b = NextByte();
        if (b < 0) {
          ended = true;
          break;
        }
        size_t count = 1;
        if ((b & kRunFlag) == kRunFlag) {
          count = b & kMaxRun;
          b = NextByte();
          if (b < 0) {
            ended = true;
            break;
          }
        }
        count = std::min(count, bytesPerLine - filled);
        std::memset(line.data() + filled, b, count);
        filled += count;
      }
      std::fill(line.begin() + static_cast<std::ptrdiff_t>(filled), line.end(), BYTE{0});
      for (size_t x = 0; x < pixelsPerLine; ++x) {
        switch (layout) {
          case Layout::indexed8: row[x] = line[x]; break;
          case Layout::rgb24: row[3 * x + 2 - plane] = line[x]; break;
          case Layout::twoLevel: row[x] = (line[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0; break;
          case Layout::planar:
            if ((line[x >> 3] >> (7 - (x & 7))) & 1) row[x] |= static_cast<BYTE>(1u << plane);
            break;
        }
      }
    }
  }

  if (!AllocateHeader(colours)) return FALSE;
  BITMAPINFOHEADER& bi = GetBitmapInfo()->bmiHeader;
  bi.biSize = 40;
  bi.biWidth = width;
  bi.biHeight = height;
  bi.biPlanes = 1;
  bi.biBitCount = static_cast<WORD>(depth);
  if (layout == Layout::twoLevel || layout == Layout::planar) {
    bi.biClrUsed = bi.biClrImportant = layout == Layout::planar ? colours : 256;
  }
  m_dwWidth = width;
  m_dwHeight = height;
  m_nBitsPerPixel = depth;
  m_wColors = colours;
  m_bRowsPadded = FALSE;
  m_bIncomplete = ended;  // the lines past the end of the data are left at index 0
  if (layout == Layout::twoLevel) {
    // A two-level picture takes its two colours from the header's colour map, or black and
    // white when the map does not tell them apart; a 256-colour palette after the data (some
    // programs write one) is not the picture's. The other entries are a grey ramp.
    for (WORD i = 0; i < colours; ++i) m_lpRGB[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    const BYTE* map = m_pcxHeader + 16;
    if (std::memcmp(map, map + 3, 3) != 0) {
      m_lpRGB[0] = {map[2], map[1], map[0], 0};
      m_lpRGB[255] = {map[5], map[4], map[3], 0};
    }
  } else if (colours && !ReadColorTable(colours)) {
    return FALSE;
  }
  // The file stores the top line first.
  return PadRows() && FlipVertical();
}

BOOL SECPcx::ReadColorTable(WORD colours) {
  if (colours <= 16) {
    for (WORD i = 0; i < colours; ++i) {
      const BYTE* rgb = m_pcxHeader + 16 + 3 * i;
      m_lpRGB[i] = {rgb[2], rgb[1], rgb[0], 0};
    }
    return TRUE;
  }
  int b;
  while ((b = NextByte()) >= 0 && b != kPaletteMarker) {
  }
  BYTE rgb[3 * 256];
  size_t got = b == kPaletteMarker ? ReadBytes(rgb, 3u * colours) : 0;
  // Without a complete palette the picture is shown on a grey ramp, and is incomplete: its
  // colours are missing.
  if (got < 3u * colours) m_bIncomplete = TRUE;
  for (WORD i = 0; i < colours; ++i) {
    if (got < 3u * colours) {
      m_lpRGB[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    } else {
      m_lpRGB[i] = {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
    }
  }
  return TRUE;
}

BOOL SECPcx::DoSaveImage(CFile* pFile) {
  if (!pFile || !GetBitmapInfo() || !GetBits() || m_nBitsPerPixel > 8) return FALSE;
  if (!FlipVertical() || !UnpadRows()) return FALSE;
  ScopeExit restore([this] {
    FreeBuffer();
    PadRows();
    FlipVertical();
  });
  std::memset(m_pcxHeader, 0, kHeaderSize);
  const std::span<BYTE> h(m_pcxHeader);
  h[0] = kManufacturer;
  h[1] = 5;
  h[2] = 1;
  h[3] = 8;
  WriteLE16(h, 8, static_cast<WORD>(m_dwWidth - 1));
  WriteLE16(h, 10, static_cast<WORD>(m_dwHeight - 1));
  WriteLE16(h, 12, 640);
  WriteLE16(h, 14, 480);
  size_t capacity = (m_header.Size() - 40) / 4;
  if (m_wColors >= 1 && m_wColors <= 15) {
    for (WORD i = 0; i < m_wColors && i < capacity; ++i) {
      h[16 + 3 * i] = m_lpRGB[i].rgbRed;
      h[17 + 3 * i] = m_lpRGB[i].rgbGreen;
      h[18 + 3 * i] = m_lpRGB[i].rgbBlue;
    }
  }
  h[65] = 1;
  WriteLE16(h, 66, static_cast<WORD>(m_dwWidth));
  WriteLE16(h, 68, 2);
  pFile->Write(m_pcxHeader, kHeaderSize);
  if (!InitBuffer(kBufferSize, 0)) return FALSE;

  size_t rowBytes = PackedRowBytes(m_nBitsPerPixel, m_dwWidth);
  std::vector<BYTE> encoded;
  encoded.reserve(2 * static_cast<size_t>(m_dwWidth));
  for (LONG y = 0; y < m_dwHeight; ++y) {
    const BYTE* row = m_bits.Get() + static_cast<size_t>(y) * rowBytes;
    encoded.clear();
    for (LONG x = 0; x < m_dwWidth;) {
      BYTE value = IndexAt(row, x);
      int run = 1;
      while (run < kMaxRun && x + run < m_dwWidth && IndexAt(row, x + run) == value) ++run;
      encoded.push_back(static_cast<BYTE>(kRunFlag | run));
      encoded.push_back(value);
      x += run;
    }
    WriteBytes(encoded.data(), static_cast<DWORD>(encoded.size()));
  }
  BYTE palette[1 + 3 * 256] = {kPaletteMarker};
  for (size_t i = 0; i < std::min<size_t>(m_wColors, capacity); ++i) {
    palette[1 + 3 * i] = m_lpRGB[i].rgbRed;
    palette[2 + 3 * i] = m_lpRGB[i].rgbGreen;
    palette[3 + 3 * i] = m_lpRGB[i].rgbBlue;
  }
  WriteBytes(palette, sizeof(palette));
  FlushBuffer();
  return TRUE;
}
