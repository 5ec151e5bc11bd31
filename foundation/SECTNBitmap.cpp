// SECTNBitmap: thumbnail bitmaps in archives as BMP streams.
#include "foundation/SECTNBitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/CException.h"
#include "foundation/SECImage.h"

using kelpwood::foundation::ReadLE16;
using kelpwood::foundation::ReadInfoHeader;
using kelpwood::foundation::ReadLE32;
using kelpwood::foundation::SECImage;
using kelpwood::foundation::WriteLE16;
using kelpwood::foundation::WriteInfoHeader;
using kelpwood::foundation::WriteLE32;

IMPLEMENT_DYNAMIC(SECTNBitmap, CBitmap)

namespace {

constexpr WORD kBmpMagic = 0x4D42;
constexpr DWORD kFileHeaderSize = 14;
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kCoreHeaderSize = 12;

// A display context for the conversions, with the stock palette realised in it.
class ScreenContext {
 public:
  ScreenContext() : m_dc(CreateDC("DISPLAY", nullptr, nullptr, nullptr)) {}
  ~ScreenContext() {
    if (m_previous) SelectPalette(m_dc, m_previous, FALSE);
    if (m_dc) DeleteDC(m_dc);
  }
  ScreenContext(const ScreenContext&) = delete;
  ScreenContext& operator=(const ScreenContext&) = delete;
  HDC Get() const { return m_dc; }
  void UsePalette(HPALETTE palette) {
    HPALETTE previous = SelectPalette(m_dc, palette, FALSE);
    if (!m_previous) m_previous = previous;
    RealizePalette(m_dc);
  }

 private:
  HDC m_dc;
  HPALETTE m_previous = nullptr;
};

DWORD TableEntries(const BITMAPINFOHEADER& h) {
  if (h.biClrUsed) return h.biClrUsed;
  return h.biBitCount <= 8 ? 1u << h.biBitCount : 0;
}

[[noreturn]] void BadStream() { AfxThrowArchiveException(CArchiveException::genericException); }

// Checks a packed DIB and copies its header and colour table into a 40-byte-header BITMAPINFO;
// returns where the bits start. Throws the archive exception for anything unsound.
size_t ParsePackedDib(const std::vector<BYTE>& dib, std::vector<BYTE>& info) {
  if (dib.size() < kCoreHeaderSize) BadStream();
  DWORD headerSize = ReadLE32(dib);
  BITMAPINFOHEADER h{};
  h.biSize = kInfoHeaderSize;
  size_t tableEntrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    h.biWidth = ReadLE16(dib, 4);
    h.biHeight = ReadLE16(dib, 6);
    h.biPlanes = ReadLE16(dib, 8);
    h.biBitCount = ReadLE16(dib, 10);
    tableEntrySize = 3;
  } else {
    if (headerSize < kInfoHeaderSize || headerSize > dib.size()) BadStream();
    h = ReadInfoHeader(dib);
    h.biSize = kInfoHeaderSize;
  }
  WORD bits = h.biBitCount;
  bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  // In 64 bits: the height may be INT_MIN, whose negation does not fit.
  const long long rows = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
  if (!knownDepth || h.biPlanes != 1 || h.biCompression != BI_RGB || h.biWidth <= 0 || rows <= 0 ||
      h.biWidth > SECImage::kMaxDimension || rows > SECImage::kMaxDimension ||
      (bits <= 8 && h.biClrUsed > (1u << bits)) || (bits > 8 && h.biClrUsed > 256)) {
    BadStream();
  }
  DWORD entries = TableEntries(h);
  size_t bitsOffset = headerSize + tableEntrySize * entries;
  size_t imageBytes = SECImage::PaddedRowBytes(bits, h.biWidth) * static_cast<size_t>(rows);
  if (bitsOffset > dib.size() || imageBytes > dib.size() - bitsOffset) BadStream();
  info.assign(kInfoHeaderSize + 4 * entries, 0);
  std::memcpy(info.data(), &h, sizeof(h));
  for (DWORD i = 0; i < entries; ++i) {
    const BYTE* entry = dib.data() + headerSize + tableEntrySize * i;
    std::memcpy(info.data() + kInfoHeaderSize + 4 * i, entry, 3);
  }
  return bitsOffset;
}

}  // namespace

SECTNBitmap::SECTNBitmap() = default;

SECTNBitmap::~SECTNBitmap() { DeleteObject(); }

BOOL SECTNBitmap::CreateBlank() {
  DeleteObject();
  DWORD white = 0x00FFFFFF;
  BITMAPINFO info{};
  info.bmiHeader = {kInfoHeaderSize, 1, 1, 1, 32, BI_RGB, 4, 0, 0, 0, 0};
  ScreenContext screen;
  return Attach(CreateDIBitmap(screen.Get(), &info.bmiHeader, CBM_INIT, &white, &info, DIB_RGB_COLORS));
}

void SECTNBitmap::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    SECTNBitmap blank;
    HBITMAP handle = static_cast<HBITMAP>(GetSafeHandle());
    BITMAP bm{};
    if (!handle || ::GetObject(handle, sizeof(bm), &bm) == 0) {
      blank.CreateBlank();
      handle = static_cast<HBITMAP>(blank.GetSafeHandle());
      ::GetObject(handle, sizeof(bm), &bm);
    }
    // Device depths are widened to the next depth a DIB holds.
    int deviceBits = bm.bmPlanes * bm.bmBitsPixel;
    WORD depth = deviceBits <= 1 ? 1 : deviceBits <= 4 ? 4 : deviceBits <= 8 ? 8 : 24;
    ScreenContext screen;
    screen.UsePalette(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
    std::vector<BYTE> info(kInfoHeaderSize + 4 * 256, 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    *header = {kInfoHeaderSize, bm.bmWidth, bm.bmHeight, 1, depth, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(screen.Get(), handle, 0, static_cast<UINT>(bm.bmHeight), nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
              DIB_RGB_COLORS);
    header->biBitCount = depth;
    header->biCompression = BI_RGB;
    DWORD imageBytes = static_cast<DWORD>(SECImage::PaddedRowBytes(depth, bm.bmWidth) * bm.bmHeight);
    header->biSizeImage = imageBytes;
    header->biClrUsed = std::min<DWORD>(header->biClrUsed, depth <= 8 ? 1u << depth : 0);
    std::vector<BYTE> pixels(imageBytes);
    int lines = GetDIBits(screen.Get(), handle, 0, static_cast<UINT>(bm.bmHeight), pixels.data(),
                          reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    if (lines != bm.bmHeight) BadStream();
    DWORD tableBytes = 4 * TableEntries(*header);
    BYTE head[kFileHeaderSize + kInfoHeaderSize] = {};
    WriteLE16(head, 0, kBmpMagic);
    WriteLE32(head, 2, kFileHeaderSize + kInfoHeaderSize + tableBytes + imageBytes);
    WriteLE32(head, 10, kFileHeaderSize + kInfoHeaderSize + tableBytes);
    BITMAPINFOHEADER stored = {kInfoHeaderSize, header->biWidth, header->biHeight, 1, depth, BI_RGB,
                               imageBytes, 0, 0, header->biClrUsed, 0};
    WriteInfoHeader(std::span(head).subspan(kFileHeaderSize), stored);
    ar.Write(head, sizeof(head));
    ar.Write(info.data() + kInfoHeaderSize, tableBytes);
    ar.Write(pixels.data(), imageBytes);
    return;
  }

  BYTE fileHeader[kFileHeaderSize];
  if (ar.Read(fileHeader, kFileHeaderSize) != kFileHeaderSize) {
    AfxThrowArchiveException(CArchiveException::endOfFile);
  }
  if (ReadLE16(fileHeader) != kBmpMagic) BadStream();
  DWORD fileSize = ReadLE32(fileHeader, 2);
  if (fileSize < kFileHeaderSize + kCoreHeaderSize || fileSize - kFileHeaderSize > SECImage::kMaxPixelBytes + 2048) {
    BadStream();
  }
  ar.EnsureAvailable(fileSize - kFileHeaderSize);
  std::vector<BYTE> dib(fileSize - kFileHeaderSize);
  if (ar.Read(dib.data(), static_cast<UINT>(dib.size())) != dib.size()) {
    AfxThrowArchiveException(CArchiveException::endOfFile);
  }
  std::vector<BYTE> info;
  size_t bitsOffset = ParsePackedDib(dib, info);
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
  DWORD entries = TableEntries(*header);
  ScreenContext screen;
  HPALETTE palette = nullptr;
  if (entries > 0) {
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries);
    const BYTE* table = info.data() + kInfoHeaderSize;
    for (DWORD i = 0; i < entries; ++i) logical->palPalEntry[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
    palette = ::CreatePalette(logical);
    if (palette) screen.UsePalette(palette);
  }
  HBITMAP bitmap = CreateDIBitmap(screen.Get(), header, CBM_INIT, dib.data() + bitsOffset,
                                  reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  if (palette) {
    SelectPalette(screen.Get(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    ::DeleteObject(palette);
  }
  if (!bitmap) BadStream();
  DeleteObject();
  Attach(bitmap);
}
