// SECTiff: reading and writing TIFF files through libtiff.
#include "foundation/SECTiff.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "os/Paths.h"

using namespace kelpwood::foundation;

IMPLEMENT_DYNCREATE(SECTiff, SECImage)

namespace {

// libtiff reports through handlers of each open file; failures already reach the caller as a
// FALSE result, so the messages are dropped rather than printed.
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
  void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr OpenTiff(const std::string& path, const char* mode) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(SECImage::kMaxPixelBytes));
  TiffPtr tif(TIFFOpenExt(path.c_str(), mode, options));
  TIFFOpenOptionsFree(options);
  return tif;
}

// Sample x of a row of packed samples of 1, 2, 4, 8 or 16 bits (the first in the high bits).
unsigned SampleAt(const BYTE* row, size_t index, int bits) {
  switch (bits) {
    case 8: return row[index];
    case 16: {
      uint16_t v;
      std::memcpy(&v, row + 2 * index, 2);
      return v;
    }
    default: {
      size_t bit = index * bits;
      int shift = 8 - bits - static_cast<int>(bit % 8);
      return (row[bit / 8] >> shift) & ((1u << bits) - 1);
    }
  }
}

// Hands every row of the picture to 'visit' (one row pointer per sample plane: one plane for
// contiguous samples), a band of strips or tiles at a time. A damaged strip or tile ends the
// reading; the rows before it have been visited, and `incomplete` is set, as it is for a strip
// shorter than its rows.
using RowVisitor = std::function<void(uint32_t, const BYTE* const*)>;

bool VisitRows(TIFF* tif, uint32_t width, uint32_t height, int planes, const RowVisitor& visit, bool& incomplete) {
  tmsize_t scanline = TIFFScanlineSize(tif);
  if (scanline <= 0 || planes < 1 || planes > 4) return false;
  bool tiled = TIFFIsTiled(tif);
  uint32_t tileWidth = 0, bandRows = 0;
  tmsize_t tileRow = 0;
  std::vector<BYTE> tile;
  if (tiled) {
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &bandRows);
    tmsize_t tileSize = TIFFTileSize(tif);
    tileRow = TIFFTileRowSize(tif);
    if (tileWidth == 0 || bandRows == 0 || tileSize <= 0 || tileRow <= 0) return false;
    tile.resize(static_cast<size_t>(tileSize));
  } else {
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &bandRows);
  }
  bandRows = std::clamp<uint32_t>(bandRows, 1, height);
  size_t bandBytes = static_cast<size_t>(scanline) * bandRows;
  if (bandBytes * planes > 2 * SECImage::kMaxPixelBytes) return false;
  std::vector<std::vector<BYTE>> bands(planes, std::vector<BYTE>(bandBytes));
  uint32_t stripsPerPlane = (height + bandRows - 1) / bandRows;
  const BYTE* rows[4] = {};
  for (uint32_t first = 0; first < height; first += bandRows) {
    uint32_t count = std::min(bandRows, height - first);
    for (int plane = 0; plane < planes; ++plane) {
      BYTE* band = bands[plane].data();
      if (tiled) {
        size_t bitsPerPixel = static_cast<size_t>(tileRow) * 8 / tileWidth;
        for (uint32_t tx = 0; tx < width; tx += tileWidth) {
          if (TIFFReadTile(tif, tile.data(), tx, first, 0, static_cast<uint16_t>(plane)) < 0) {
            incomplete = true;
            return true;
          }
          size_t xOffset = tx * bitsPerPixel / 8;
          size_t bytes = std::min<size_t>(static_cast<size_t>(tileRow), static_cast<size_t>(scanline) - xOffset);
          for (uint32_t r = 0; r < count; ++r) {
            std::memcpy(band + r * static_cast<size_t>(scanline) + xOffset, tile.data() + r * static_cast<size_t>(tileRow),
                        bytes);
          }
        }
      } else {
        tmsize_t wanted = static_cast<tmsize_t>(count) * scanline;
        tmsize_t got = TIFFReadEncodedStrip(tif, plane * stripsPerPlane + first / bandRows, band, wanted);
        if (got < 0) {
          incomplete = true;
          return true;
        }
        incomplete = incomplete || got < wanted;
        std::fill(band + got, band + wanted, BYTE{0});
      }
    }
    for (uint32_t r = 0; r < count; ++r) {
      for (int plane = 0; plane < planes; ++plane) rows[plane] = bands[plane].data() + r * static_cast<size_t>(scanline);
      visit(first + r, rows);
    }
  }
  return true;
}

BYTE Scale(unsigned value, unsigned minimum, unsigned maximum) {
  unsigned v = std::clamp(value, minimum, maximum);
  return static_cast<BYTE>((v - minimum) * 255u / (maximum - minimum));
}

}  // namespace

SECTiff::SECTiff() = default;

void SECTiff::Serialize(CArchive& ar) { SECImage::Serialize(ar); }

BOOL SECTiff::DoSaveImage(CFile*) { return FALSE; }

BOOL SECTiff::DoLoadImage(CFile*) { return FALSE; }

BOOL SECTiff::LoadImage(LPCTSTR lpszFileName) {
  std::string path = brambolt::NativePath(lpszFileName);
  return LoadWithBackup([&] { return ReadTiffFile(path); });
}

BOOL SECTiff::ReadTiffFile(const std::string& nativePath) {
  TiffPtr tif = OpenTiff(nativePath, "r");
  if (!tif) return FALSE;
  TIFF* t = tif.get();
  uint32_t width = 0, height = 0;
  uint16_t orientation = ORIENTATION_TOPLEFT, bits = 1, samples = 1, photometric = 0, planar = PLANARCONFIG_CONTIG;
  uint16_t compression = COMPRESSION_NONE, minSample = 0, maxSample = 0;
  if (!TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(t, TIFFTAG_IMAGELENGTH, &height)) return FALSE;
  TIFFGetFieldDefaulted(t, TIFFTAG_ORIENTATION, &orientation);
  TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(t, TIFFTAG_COMPRESSION, &compression);
  if (!TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &photometric)) {
    photometric = samples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB;
  }
  TIFFGetFieldDefaulted(t, TIFFTAG_MINSAMPLEVALUE, &minSample);
  TIFFGetFieldDefaulted(t, TIFFTAG_MAXSAMPLEVALUE, &maxSample);
  m_nOrientation = orientation;
  m_nBitsPerSample = bits;
  m_nSamplesPerPixel = samples;
  m_nPhotometric = photometric;
  m_nSampleFactor = photometric == PHOTOMETRIC_RGB ? 3 : 1;
  if (width == 0 || height == 0 || width > static_cast<uint32_t>(kMaxDimension) ||
      height > static_cast<uint32_t>(kMaxDimension)) {
    return FALSE;
  }
  if ((bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16) || (samples != 1 && samples != 3 && samples != 4)) {
    return FALSE;
  }
  if (maxSample <= minSample) return FALSE;

  bool indexed = photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK ||
                 photometric == PHOTOMETRIC_PALETTE;
  DWORD depth = indexed ? 8 : 24;
  WORD colours = indexed ? static_cast<WORD>(1u << std::min<int>(bits, 8)) : 0;
  LONG w = static_cast<LONG>(width), h = static_cast<LONG>(height);
  size_t stride = PaddedRowBytes(depth, w);
  if (stride * height > kMaxPixelBytes) return FALSE;
  // Orientations whose first row is the bottom of the picture; 2 and 3 also run right to left.
  // Orientations 5 to 8 store the picture's columns as rows: read as stored, then turned below.
  const bool transposed = orientation >= 5 && orientation <= 8;
  bool bottomFirst = orientation == 3 || orientation == 4;
  bool rightFirst = orientation == 2 || orientation == 3;
  if (transposed) TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);  // libtiff's own reader reads as stored
  bool incomplete = false;  // a strip or tile could not be read whole: its rows are black
  auto destRow = [&](uint32_t fileRow) {
    return m_bits.Get() + stride * (bottomFirst ? fileRow : height - 1 - fileRow);
  };

  if (indexed) {
    if (samples != 1 || bits > 8) return FALSE;
    if (!m_bits.Allocate(stride * height) || !AllocateHeader(256)) return FALSE;
    if (photometric == PHOTOMETRIC_PALETTE) {
      uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
      if (!TIFFGetField(t, TIFFTAG_COLORMAP, &red, &green, &blue)) return FALSE;
      bool eightBit = true;
      for (WORD i = 0; i < colours; ++i) eightBit = eightBit && red[i] < 256 && green[i] < 256 && blue[i] < 256;
      auto level = [eightBit](uint16_t v) { return static_cast<BYTE>(eightBit ? v : v * 255u / 65535u); };
      for (WORD i = 0; i < colours; ++i) m_lpRGB[i] = {level(blue[i]), level(green[i]), level(red[i]), 0};
    } else {
      for (WORD i = 0; i < colours; ++i) {
        BYTE g = Scale(i, minSample, maxSample);
        if (photometric == PHOTOMETRIC_MINISWHITE) g = static_cast<BYTE>(255 - g);
        m_lpRGB[i] = {g, g, g, 0};
      }
    }
    bool read = VisitRows(
        t, width, height, 1,
        [&](uint32_t y, const BYTE* const* source) {
          BYTE* dest = destRow(y);
          for (uint32_t x = 0; x < width; ++x) dest[x] = static_cast<BYTE>(SampleAt(source[0], x, bits));
        },
        incomplete);
    if (!read) return FALSE;
  } else if (photometric == PHOTOMETRIC_RGB ||
             (photometric == PHOTOMETRIC_YCBCR && compression == COMPRESSION_JPEG)) {
    if (samples < 3 || (bits != 8 && bits != 16)) return FALSE;
    // JPEG-compressed YCbCr is handed over by the codec as RGB.
    if (photometric == PHOTOMETRIC_YCBCR) TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    if (!m_bits.Allocate(stride * height) || !AllocateHeader(0)) return FALSE;
    bool separate = planar == PLANARCONFIG_SEPARATE;
    unsigned fullScale = bits == 16 ? 65535u : 255u;
    bool mapped = minSample != 0 || maxSample != fullScale;
    auto level = [&](unsigned v) -> BYTE {
      if (mapped) return Scale(v, minSample, maxSample);
      return static_cast<BYTE>(bits == 16 ? v >> 8 : v);
    };
    bool read = VisitRows(t, width, height, separate ? samples : 1, [&](uint32_t y, const BYTE* const* source) {
      BYTE* dest = destRow(y);
      if (bits == 8 && !separate && !mapped) {
        const BYTE* p = source[0];
        for (uint32_t x = 0; x < width; ++x, p += samples) {
          dest[3 * x] = p[2];
          dest[3 * x + 1] = p[1];
          dest[3 * x + 2] = p[0];
        }
        return;
      }
      for (uint32_t x = 0; x < width; ++x) {
        unsigned rgb[3];
        for (int c = 0; c < 3; ++c) {
          rgb[c] = separate ? SampleAt(source[c], x, bits) : SampleAt(source[0], x * samples + c, bits);
        }
        dest[3 * x] = level(rgb[2]);
        dest[3 * x + 1] = level(rgb[1]);
        dest[3 * x + 2] = level(rgb[0]);
      }
    }, incomplete);
    if (!read) return FALSE;
  } else if (photometric == PHOTOMETRIC_YCBCR) {
    if (bits != 8 || samples != 3) return FALSE;
    float* coefficients = nullptr;
    float* reference = nullptr;
    uint16_t subX = 2, subY = 2;
    TIFFGetFieldDefaulted(t, TIFFTAG_YCBCRCOEFFICIENTS, &coefficients);
    TIFFGetFieldDefaulted(t, TIFFTAG_YCBCRSUBSAMPLING, &subX, &subY);
    TIFFGetFieldDefaulted(t, TIFFTAG_REFERENCEBLACKWHITE, &reference);
    if (!coefficients || !reference || reference[1] == reference[0] || coefficients[1] == 0) return FALSE;
    std::copy(coefficients, coefficients + 3, m_ycbcrCoefficients);
    std::copy(reference, reference + 6, m_referenceBlackWhite);
    m_ycbcrSubsampling[0] = subX;
    m_ycbcrSubsampling[1] = subY;
    if (!m_bits.Allocate(stride * height) || !AllocateHeader(0)) return FALSE;
    // libtiff's own converter applies the subsampling, coefficients and reference levels.
    std::vector<uint32_t> raster(static_cast<size_t>(width) * height);
    if (!TIFFReadRGBAImageOriented(t, width, height, raster.data(), ORIENTATION_BOTLEFT, 0)) return FALSE;
    for (uint32_t y = 0; y < height; ++y) {
      BYTE* dest = m_bits.Get() + stride * y;
      const uint32_t* source = raster.data() + static_cast<size_t>(y) * width;
      for (uint32_t x = 0; x < width; ++x) {
        dest[3 * x] = static_cast<BYTE>(TIFFGetB(source[x]));
        dest[3 * x + 1] = static_cast<BYTE>(TIFFGetG(source[x]));
        dest[3 * x + 2] = static_cast<BYTE>(TIFFGetR(source[x]));
      }
    }
    rightFirst = false;
  } else {
    return FALSE;
  }

  if (transposed) {
    if (!Transpose(orientation, depth / 8, w, h)) return FALSE;
    std::swap(w, h);
    stride = PaddedRowBytes(depth, w);
  }
  BITMAPINFOHEADER& bi = GetBitmapInfo()->bmiHeader;
  bi.biSize = 40;
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = m_nSysPlanes;
  bi.biBitCount = static_cast<WORD>(depth);
  bi.biSizeImage = static_cast<DWORD>(stride * static_cast<size_t>(h));
  m_dwWidth = w;
  m_dwHeight = h;
  m_nBitsPerPixel = depth;
  m_wColors = colours;
  m_bRowsPadded = TRUE;
  m_bIncomplete = incomplete;
  return rightFirst ? MirrorHorizontal() : TRUE;
}

// Turns the pixel block of a picture read as stored (`width` x `height`, bottom-up, the stored
// first row on top) into the picture that orientation 5 to 8 describes (`height` x `width`):
// the stored rows become columns, left to right for 5 and 8, right to left for 6 and 7, and
// the stored columns run down for 5 and 6, up for 7 and 8.
bool SECTiff::Transpose(int orientation, DWORD pixelBytes, LONG width, LONG height) {
  const size_t fromStride = PaddedRowBytes(8 * pixelBytes, width);
  const size_t toStride = PaddedRowBytes(8 * pixelBytes, height);
  std::vector<BYTE> stored(m_bits.Get(), m_bits.Get() + fromStride * static_cast<size_t>(height));
  if (!m_bits.Allocate(toStride * static_cast<size_t>(width))) return false;
  const bool fromRight = orientation == 6 || orientation == 7;
  const bool upwards = orientation == 7 || orientation == 8;
  for (LONG r = 0; r < height; ++r) {
    const BYTE* row = stored.data() + fromStride * static_cast<size_t>(height - 1 - r);
    const LONG x = fromRight ? height - 1 - r : r;
    for (LONG c = 0; c < width; ++c) {
      const LONG y = upwards ? width - 1 - c : c;  // from the top
      BYTE* to = m_bits.Get() + toStride * static_cast<size_t>(width - 1 - y) + static_cast<size_t>(x) * pixelBytes;
      std::memcpy(to, row + static_cast<size_t>(c) * pixelBytes, pixelBytes);
    }
  }
  return true;
}

BOOL SECTiff::SaveImage(LPCTSTR lpszFileName) {
  if (!GetBitmapInfo() || !GetBits() || !PreSaveImage()) return FALSE;
  if (!WriteTiffFile(brambolt::NativePath(lpszFileName))) return FALSE;
  return PostSaveImage() > 0 ? TRUE : FALSE;
}

BOOL SECTiff::WriteTiffFile(const std::string& nativePath) {
  if (!PadRows()) return FALSE;
  DWORD depth = m_nBitsPerPixel;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return FALSE;
  // The picture is read in place and never changed; rows are written top first.
  uint32_t width = static_cast<uint32_t>(m_dwWidth), height = static_cast<uint32_t>(m_dwHeight);
  size_t stride = PaddedRowBytes(depth, m_dwWidth);
  size_t capacity = std::min<size_t>((m_header.Size() - 40) / 4, 256);
  auto colour = [&](size_t i) { return i < capacity ? m_lpRGB[i] : RGBQUAD{0, 0, 0, 0}; };
  // One-bit pictures are written min-is-white: the bits are inverted when entry 0 is the darker.
  auto luma = [](RGBQUAD q) { return 299 * q.rgbRed + 587 * q.rgbGreen + 114 * q.rgbBlue; };
  bool invert = depth == 1 && luma(colour(0)) < luma(colour(1));
  uint16_t bits = depth == 1 ? 1 : 8;
  uint16_t samples = depth == 24 ? 3 : 1;
  size_t scanline = depth == 1 ? (width + 7) / 8 : static_cast<size_t>(width) * samples;
  std::vector<BYTE> strip(scanline * height);
  for (uint32_t y = 0; y < height; ++y) {
    const BYTE* row = m_bits.Get() + stride * (height - 1 - y);
    BYTE* out = strip.data() + scanline * y;
    if (depth == 24) {
      for (uint32_t x = 0; x < width; ++x) {
        out[3 * x] = row[3 * x + 2];
        out[3 * x + 1] = row[3 * x + 1];
        out[3 * x + 2] = row[3 * x];
      }
    } else if (depth == 1) {
      for (size_t i = 0; i < scanline; ++i) out[i] = invert ? static_cast<BYTE>(~row[i]) : row[i];
    } else {
      for (uint32_t x = 0; x < width; ++x) out[x] = IndexAt(row, static_cast<LONG>(x));
    }
  }

  TiffPtr tif = OpenTiff(nativePath, "w");
  if (!tif) return FALSE;
  TIFF* t = tif.get();
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
  if (!TIFFSetField(t, TIFFTAG_COMPRESSION, static_cast<uint16_t>(m_nCompression))) return FALSE;
  if (m_nCompression == COMPRESSION_CCITTFAX3) TIFFSetField(t, TIFFTAG_GROUP3OPTIONS, 5u);
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
  TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, height);
  if (depth == 24) {
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  } else if (depth == 1) {
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  } else {
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
    std::vector<uint16_t> red(256), green(256), blue(256);
    for (size_t i = 0; i < std::min<size_t>(m_wColors ? m_wColors : 256, 256); ++i) {
      red[i] = static_cast<uint16_t>(colour(i).rgbRed * 257);
      green[i] = static_cast<uint16_t>(colour(i).rgbGreen * 257);
      blue[i] = static_cast<uint16_t>(colour(i).rgbBlue * 257);
    }
    TIFFSetField(t, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
  }
  if (TIFFWriteEncodedStrip(t, 0, strip.data(), static_cast<tmsize_t>(strip.size())) < 0) return FALSE;
  return TIFFFlush(t) ? TRUE : FALSE;
}
