// SECImage: the in-memory device-independent image and the protocol shared by the image formats.
#include "foundation/SECImage.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "core/CException.h"

namespace kelpwood::foundation {

namespace {

constexpr WORD kBmpMagic = 0x4D42;  // "BM"
constexpr DWORD kFileHeaderSize = 14;
constexpr DWORD kInfoHeaderSize = 40;

// Holds the earlier picture while a load runs; it never reads or writes a file itself.
class HeldPicture : public SECImage {
 public:
  BOOL DoSaveImage(CFile*) override { return FALSE; }
  BOOL DoLoadImage(CFile*) override { return FALSE; }
};

WORD TableEntriesFor(DWORD bits) {
  switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

}  // namespace

bool ImageBlock::Allocate(size_t bytes) {
  Free();
  if (bytes == 0) bytes = 1;
  m_data.reset(new (std::nothrow) BYTE[bytes]());
  if (!m_data) return false;
  m_size = bytes;
  return true;
}

IMPLEMENT_DYNAMIC(SECImage, CObject)

size_t SECImage::PackedRowBytes(DWORD bits, LONG width) {
  size_t total = static_cast<size_t>(bits) * static_cast<size_t>(std::max<LONG>(width, 0));
  return total / 8 + (total % 8 ? 1 : 0);
}

size_t SECImage::PaddedRowBytes(DWORD bits, LONG width) {
  size_t total = static_cast<size_t>(bits) * static_cast<size_t>(std::max<LONG>(width, 0));
  return 4 * ((total + 31) / 32);
}

SECImage::SECImage() {
  HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) : 0;
  int planes = screen ? GetDeviceCaps(screen, PLANES) : 0;
  if (screen) DeleteDC(screen);
  m_nSysPlanes = static_cast<WORD>(planes);
  switch (bits) {
    case 1:
      m_nSysBitsPerPixel = 1;
      m_wSysColors = static_cast<WORD>(1u << std::clamp(planes, 0, 8));
      break;
    case 2: m_nSysBitsPerPixel = 2; m_wSysColors = 4; break;
    case 4: m_nSysBitsPerPixel = 4; m_wSysColors = 16; break;
    case 8: m_nSysBitsPerPixel = 8; m_wSysColors = 256; break;
    default: break;
  }
}

SECImage::~SECImage() {
  FreeBlocks();
  DeletePalette();
  DeleteOwnedObjects();
}

void SECImage::FreeBlocks() {
  m_header.Free();
  m_bits.Free();
  m_lpRGB = nullptr;
}

void SECImage::DeletePalette() {
  delete m_pPalette;
  m_pPalette = nullptr;
}

BOOL SECImage::AllocateHeader(DWORD tableEntries) {
  if (!m_header.Allocate(kInfoHeaderSize + 4 * static_cast<size_t>(tableEntries))) {
    m_lpRGB = nullptr;
    return FALSE;
  }
  m_lpRGB = reinterpret_cast<RGBQUAD*>(m_header.Get() + kInfoHeaderSize);
  return TRUE;
}

BOOL SECImage::FreeImage() {
  FreeBlocks();
  DeletePalette();
  m_dwWidth = m_dwHeight = 0;
  m_dwPadWidth = 0;
  m_nBitsPerPixel = 0;
  m_wColors = 0;
  m_bRowsPadded = FALSE;
  m_bIncomplete = FALSE;
  FreeBuffer();
  return TRUE;
}

void SECImage::DeleteOwnedObjects() {
  for (POSITION pos = m_ownedObjects.GetHeadPosition(); pos != nullptr;) {
    auto* object = static_cast<CObject*>(m_ownedObjects.GetNext(pos));
    if (object == m_pCurFile) m_pCurFile = nullptr;
    delete object;
  }
  m_ownedObjects.RemoveAll();
}

BOOL SECImage::IsOwned(const CFile* pFile) const {
  if (!pFile) return FALSE;
  return m_ownedObjects.Find(const_cast<CFile*>(pFile)) != nullptr;
}

WORD SECImage::PaletteSize() const {
  const BITMAPINFO* info = GetBitmapInfo();
  return TableEntriesFor(info ? info->bmiHeader.biBitCount : m_nBitsPerPixel);
}

BOOL SECImage::CreatePalette() {
  BITMAPINFO* info = GetBitmapInfo();
  if (!info) return FALSE;
  if (info->bmiHeader.biBitCount > 8) {
    DeletePalette();
    return TRUE;
  }
  size_t capacity = std::min<size_t>((m_header.Size() - kInfoHeaderSize) / 4, 256);
  DWORD clrUsed = std::min<DWORD>(info->bmiHeader.biClrUsed, 256);
  size_t entries = std::min<size_t>(clrUsed ? clrUsed : m_wColors, capacity);
  size_t count = std::max<size_t>(clrUsed, m_wColors);
  if (count == 0) count = PaletteSize();
  count = std::clamp<size_t>(count, 1, 256);
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(count);
  for (size_t i = 0; i < entries && i < count; ++i) {
    logical->palPalEntry[i] = {m_lpRGB[i].rgbRed, m_lpRGB[i].rgbGreen, m_lpRGB[i].rgbBlue, 0};
  }
  DeletePalette();
  m_pPalette = new CPalette;
  return m_pPalette->Attach(::CreatePalette(logical));
}

BOOL SECImage::FinishLoad() {
  CreatePalette();
  m_dwPadWidth = static_cast<DWORD>((m_dwWidth + 3) & ~3);
  if (!PadRows()) return FALSE;
  if (m_nSysBitsPerPixel != 0 && m_nSysBitsPerPixel != m_nBitsPerPixel) m_bDepthDiffers = TRUE;
  if (!m_header) {
    if (!AllocateHeader(m_wColors)) return FALSE;
    BITMAPINFOHEADER& h = GetBitmapInfo()->bmiHeader;
    h.biSize = kInfoHeaderSize;
    h.biWidth = m_dwWidth;
    h.biHeight = m_dwHeight;
    h.biPlanes = m_nSysPlanes;
    h.biBitCount = static_cast<WORD>(m_nBitsPerPixel);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(PaddedRowBytes(m_nBitsPerPixel, m_dwWidth) * m_dwHeight);
    CreatePalette();
  }
  return TRUE;
}

BOOL SECImage::LoadWithBackup(const std::function<BOOL()>& reader) {
  HeldPicture backup;
  bool kept = m_bits && m_header && m_dwWidth != 0 && m_dwHeight != 0;
  if (kept) backup.MoveFrom(*this);
  auto restore = [&] {
    FreeImage();
    if (kept) MoveFrom(backup);
  };
  try {
    if (FreeImage() && reader() && FinishLoad()) return TRUE;
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return FALSE;
}

// Makes a file current for one call. A caller's file object is used for that call only: the image
// never keeps it, so a later load or save by name cannot reopen an object the caller deleted.
template <class F>
BOOL SECImage::WithCurrentFile(CFile* pFile, F&& body) {
  CFile* previous = m_pCurFile;
  m_pCurFile = pFile;
  ScopeExit forget([&] {
    if (!IsOwned(m_pCurFile)) m_pCurFile = IsOwned(previous) ? previous : nullptr;
  });
  return body();
}

BOOL SECImage::LoadImage(CFile* pFile) {
  return WithCurrentFile(pFile, [&] { return LoadWithBackup([&] { return DoLoadImage(pFile); }); });
}

CFile* SECImage::OwnedFileFor(LPCTSTR lpszFileName, UINT nOpenFlags) {
  if (m_pCurFile && IsOwned(m_pCurFile)) {
    return m_pCurFile->Open(lpszFileName, nOpenFlags) ? m_pCurFile : nullptr;
  }
  auto file = std::make_unique<CFile>(lpszFileName, nOpenFlags);
  m_ownedObjects.AddTail(file.get());
  m_pCurFile = file.release();
  return m_pCurFile;
}

BOOL SECImage::LoadImage(LPCTSTR lpszFileName) {
  CFile* file = OwnedFileFor(lpszFileName, CFile::modeRead);
  if (!file) return FALSE;
  ScopeExit close([file] { file->Abort(); });
  BOOL result = LoadImage(file);
  file->Close();
  return result;
}

BOOL SECImage::SaveImage(CFile* pFile) {
  return WithCurrentFile(pFile, [&]() -> BOOL {
    if (!PreSaveImage() || !DoSaveImage(pFile)) return FALSE;
    return PostSaveImage() > 0 ? TRUE : FALSE;
  });
}

BOOL SECImage::SaveImage(LPCTSTR lpszFileName) {
  CFile* file = OwnedFileFor(lpszFileName, CFile::modeCreate | CFile::modeWrite);
  if (!file) return FALSE;
  ScopeExit close([file] { file->Abort(); });
  BOOL result = SaveImage(file);
  file->Close();
  return result;
}

BOOL SECImage::PreSaveImage() { return TRUE; }

BOOL SECImage::PostSaveImage() { return TRUE; }

BOOL SECImage::CreateFromBitmap(CDC* pDC, CBitmap* pBitmap) {
  if (!pBitmap) return FALSE;
  return CreateFromBitmap(pDC ? pDC->GetSafeHdc() : nullptr, static_cast<HBITMAP>(pBitmap->GetSafeHandle()));
}

BOOL SECImage::CreateFromBitmap(HDC hdc, HBITMAP hBitmap) {
  BITMAP bm{};
  if (!hBitmap || GetObject(hBitmap, sizeof(bm), &bm) == 0) return FALSE;
  if (bm.bmWidth <= 0 || bm.bmHeight <= 0 || bm.bmWidth > kMaxDimension || bm.bmHeight > kMaxDimension) {
    return FALSE;
  }
  // Device depths that a DIB cannot hold are widened to the next one that it can.
  int deviceBits = bm.bmPlanes * bm.bmBitsPixel;
  DWORD bits = deviceBits <= 1 ? 1 : deviceBits <= 4 ? 4 : deviceBits <= 8 ? 8 : 24;
  WORD colors = TableEntriesFor(bits);
  size_t imageBytes = PaddedRowBytes(bits, bm.bmWidth) * static_cast<size_t>(bm.bmHeight);
  if (imageBytes > kMaxPixelBytes) return FALSE;
  ImageBlock pixels, header;
  if (!pixels.Allocate(imageBytes) || !header.Allocate(kInfoHeaderSize + 4 * size_t{colors})) return FALSE;
  auto* info = reinterpret_cast<BITMAPINFO*>(header.Get());
  BITMAPINFOHEADER& h = info->bmiHeader;
  h.biSize = kInfoHeaderSize;
  h.biWidth = bm.bmWidth;
  h.biHeight = bm.bmHeight;
  h.biPlanes = bits <= 8 ? 1 : bm.bmPlanes;
  h.biBitCount = static_cast<WORD>(bits);
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(imageBytes);
  HDC dc = hdc ? hdc : CreateCompatibleDC(nullptr);
  int lines = GetDIBits(dc, hBitmap, 0, static_cast<UINT>(bm.bmHeight), pixels.Get(), info, DIB_RGB_COLORS);
  if (!hdc) DeleteDC(dc);
  if (lines != bm.bmHeight) return FALSE;
  // GetDIBits may have rewritten the header; the picture keeps the layout it asked for.
  h.biSize = kInfoHeaderSize;
  h.biBitCount = static_cast<WORD>(bits);
  h.biSizeImage = static_cast<DWORD>(imageBytes);
  h.biClrUsed = h.biClrImportant = 0;
  h.biXPelsPerMeter = h.biYPelsPerMeter = 0;
  m_bits = std::move(pixels);
  m_header = std::move(header);
  m_lpRGB = reinterpret_cast<RGBQUAD*>(m_header.Get() + kInfoHeaderSize);
  m_dwWidth = bm.bmWidth;
  m_dwHeight = bm.bmHeight;
  m_dwPadWidth = static_cast<DWORD>((m_dwWidth + 3) & ~3);
  m_nBitsPerPixel = bits;
  m_wColors = colors;
  CreatePalette();
  m_bRowsPadded = TRUE;
  return TRUE;
}

BOOL SECImage::PadRows() {
  if (m_bRowsPadded) return TRUE;
  m_dwPadWidth = static_cast<DWORD>((m_dwWidth + 3) & ~3);
  size_t packed = PackedRowBytes(m_nBitsPerPixel, m_dwWidth);
  size_t padded = PaddedRowBytes(m_nBitsPerPixel, m_dwWidth);
  size_t rows = static_cast<size_t>(std::max<LONG>(m_dwHeight, 0));
  if (packed != padded && rows > 0 && m_bits) {
    if (m_bits.Size() < padded * rows) {
      ImageBlock larger;
      if (!larger.Allocate(padded * rows)) return FALSE;
      for (size_t i = 0; i < rows && (i + 1) * packed <= m_bits.Size(); ++i) {
        std::memcpy(larger.Get() + i * padded, m_bits.Get() + i * packed, packed);
      }
      m_bits = std::move(larger);
    } else {
      // Moving from the last row down never overwrites a row that is still to move.
      for (size_t i = rows - 1; i >= 1; --i) {
        std::memmove(m_bits.Get() + i * padded, m_bits.Get() + i * packed, packed);
        std::memset(m_bits.Get() + i * padded + packed, 0, padded - packed);
      }
      std::memset(m_bits.Get() + packed, 0, padded - packed);
    }
  }
  m_bRowsPadded = TRUE;
  return TRUE;
}

BOOL SECImage::UnpadRows() {
  if (!m_bRowsPadded) return TRUE;
  size_t packed = PackedRowBytes(m_nBitsPerPixel, m_dwWidth);
  size_t padded = PaddedRowBytes(m_nBitsPerPixel, m_dwWidth);
  if (packed != padded && m_bits) {
    for (LONG i = 1; i < m_dwHeight; ++i) {
      std::memmove(m_bits.Get() + i * packed, m_bits.Get() + i * padded, packed);
    }
  }
  m_bRowsPadded = FALSE;
  return TRUE;
}

BOOL SECImage::FlipVertical() {
  if (!m_bRowsPadded && !PadRows()) return FALSE;
  if (!m_bits || m_dwHeight < 2) return TRUE;
  size_t stride = PaddedRowBytes(m_nBitsPerPixel, m_dwWidth);
  std::unique_ptr<BYTE[]> temp(new (std::nothrow) BYTE[stride]);
  if (!temp) return FALSE;
  for (LONG i = 0, j = m_dwHeight - 1; i < j; ++i, --j) {
    BYTE* a = m_bits.Get() + i * stride;
    BYTE* b = m_bits.Get() + j * stride;
    std::memcpy(temp.get(), a, stride);
    std::memcpy(a, b, stride);
    std::memcpy(b, temp.get(), stride);
  }
  return TRUE;
}

BYTE SECImage::IndexAt(const BYTE* row, LONG x) const {
  switch (m_nBitsPerPixel) {
    case 1: {
      int shift = m_nBitOrder == 1 ? 7 - (x & 7) : (x & 7);
      return static_cast<BYTE>((row[x >> 3] >> shift) & 1);
    }
    case 4: return static_cast<BYTE>((x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
    default: return row[x];
  }
}

BOOL SECImage::MirrorHorizontal() {
  if (!m_bRowsPadded && !PadRows()) return FALSE;
  if (!m_bits) return TRUE;
  size_t stride = PaddedRowBytes(m_nBitsPerPixel, m_dwWidth);
  LONG w = m_dwWidth;
  if (m_nBitsPerPixel < 8) {
    std::vector<BYTE> out(stride);
    for (LONG y = 0; y < m_dwHeight; ++y) {
      BYTE* row = m_bits.Get() + y * stride;
      std::fill(out.begin(), out.end(), 0);
      for (LONG x = 0; x < w; ++x) {
        BYTE v = IndexAt(row, w - 1 - x);
        if (m_nBitsPerPixel == 1) {
          int shift = m_nBitOrder == 1 ? 7 - (x & 7) : (x & 7);
          out[x >> 3] |= static_cast<BYTE>(v << shift);
        } else {
          out[x >> 1] |= static_cast<BYTE>((x & 1) ? v : v << 4);
        }
      }
      std::memcpy(row, out.data(), stride);
    }
    return TRUE;
  }
  size_t bytes = m_nBitsPerPixel / 8;
  for (LONG y = 0; y < m_dwHeight; ++y) {
    BYTE* row = m_bits.Get() + y * stride;
    for (LONG a = 0, b = w - 1; a < b; ++a, --b) {
      std::swap_ranges(row + a * bytes, row + (a + 1) * bytes, row + b * bytes);
    }
  }
  return TRUE;
}

BOOL SECImage::MoveFrom(SECImage& source) {
  if (&source == this) return TRUE;
  DeletePalette();
  m_bits = std::move(source.m_bits);
  m_header = std::move(source.m_header);
  m_lpRGB = source.m_lpRGB;
  m_pPalette = source.m_pPalette;
  m_dwWidth = source.m_dwWidth;
  m_dwHeight = source.m_dwHeight;
  m_dwPadWidth = source.m_dwPadWidth;
  m_nBitCursor = source.m_nBitCursor;
  m_nPixelCursor = source.m_nPixelCursor;
  m_nBitsPerPixel = source.m_nBitsPerPixel;
  m_nSysPlanes = source.m_nSysPlanes;
  m_wColors = source.m_wColors;
  m_wSysColors = source.m_wSysColors;
  m_bRowsPadded = source.m_bRowsPadded;
  m_bDepthDiffers = source.m_bDepthDiffers;
  m_bIncomplete = source.m_bIncomplete;
  m_nBitOrder = source.m_nBitOrder;
  m_dwBufSize = source.m_dwBufSize;
  m_dwBufHeld = source.m_dwBufHeld;
  m_dwBufPos = source.m_dwBufPos;
  m_buffer = std::move(source.m_buffer);
  source.m_lpRGB = nullptr;
  source.m_pPalette = nullptr;
  source.m_dwBufSize = source.m_dwBufHeld = source.m_dwBufPos = 0;
  return TRUE;
}

BOOL SECImage::Draw(CDC* pDC, int x, int y, int cx, int cy, DWORD dwRop) const {
  return pDC ? Draw(pDC->GetSafeHdc(), x, y, cx, cy, dwRop) : FALSE;
}

BOOL SECImage::Draw(HDC hdc, int x, int y, int cx, int cy, DWORD dwRop) const {
  const BITMAPINFO* info = GetBitmapInfo();
  if (!hdc || !info || !m_bits || !m_bRowsPadded || m_dwWidth <= 0 || m_dwHeight <= 0) return FALSE;
  HPALETTE palette = m_pPalette ? static_cast<HPALETTE>(m_pPalette->GetSafeHandle()) : nullptr;
  HPALETTE previous = palette ? SelectPalette(hdc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(hdc);
  int lines = ::StretchDIBits(hdc, x, y, cx, cy, 0, 0, m_dwWidth, m_dwHeight, m_bits.Get(), info, DIB_RGB_COLORS,
                              dwRop);
  if (previous) SelectPalette(hdc, previous, FALSE);
  return lines > 0 && lines != static_cast<int>(GDI_ERROR) ? TRUE : FALSE;
}

void SECImage::RowToBgr(const BYTE* row, BYTE* out) const {
  if (m_nBitsPerPixel == 24) {
    std::memcpy(out, row, 3 * static_cast<size_t>(m_dwWidth));
    return;
  }
  size_t capacity = m_header ? (m_header.Size() - kInfoHeaderSize) / 4 : 0;
  for (LONG x = 0; x < m_dwWidth; ++x) {
    BYTE index = IndexAt(row, x);
    RGBQUAD c = m_lpRGB && index < capacity ? m_lpRGB[index] : RGBQUAD{0, 0, 0, 0};
    out[3 * x] = c.rgbBlue;
    out[3 * x + 1] = c.rgbGreen;
    out[3 * x + 2] = c.rgbRed;
  }
}

// ---- buffered file access ----

BOOL SECImage::InitBuffer(DWORD dwSize, WORD wMode) {
  FreeBuffer();
  if (!m_pCurFile) return FALSE;
  if (!m_buffer.Allocate(dwSize)) return FALSE;
  m_dwBufSize = dwSize;
  m_dwBufHeld = m_dwBufPos = 0;
  if (wMode == 1) FillBuffer();
  return TRUE;
}

DWORD SECImage::FillBuffer() {
  m_dwBufHeld = m_pCurFile ? m_pCurFile->Read(m_buffer.Get(), m_dwBufSize) : 0;
  m_dwBufPos = 0;
  return m_dwBufHeld;
}

DWORD SECImage::ReadBytes(void* lpDest, DWORD dwCount) {
  if (m_dwBufSize == 0) return m_pCurFile ? m_pCurFile->Read(lpDest, dwCount) : 0;
  auto* dest = static_cast<BYTE*>(lpDest);
  DWORD delivered = 0;
  while (delivered < dwCount) {
    if (m_dwBufPos >= m_dwBufHeld && FillBuffer() == 0) break;
    DWORD take = std::min(dwCount - delivered, m_dwBufHeld - m_dwBufPos);
    std::memcpy(dest + delivered, m_buffer.Get() + m_dwBufPos, take);
    m_dwBufPos += take;
    delivered += take;
  }
  return delivered;
}

DWORD SECImage::WriteBytes(const void* lpSrc, DWORD dwCount) {
  if (!m_pCurFile) return 0;
  if (m_dwBufSize == 0) {
    m_pCurFile->Write(lpSrc, dwCount);
    return dwCount;
  }
  const auto* src = static_cast<const BYTE*>(lpSrc);
  DWORD done = 0;
  while (done < dwCount) {
    DWORD take = std::min(dwCount - done, m_dwBufSize - m_dwBufPos);
    std::memcpy(m_buffer.Get() + m_dwBufPos, src + done, take);
    m_dwBufPos += take;
    done += take;
    if (m_dwBufPos == m_dwBufSize) {
      m_pCurFile->Write(m_buffer.Get(), m_dwBufSize);
      m_dwBufPos = 0;
    }
  }
  return dwCount;
}

void SECImage::FlushBuffer() {
  if (m_dwBufPos > 0 && m_pCurFile && m_buffer) m_pCurFile->Write(m_buffer.Get(), m_dwBufPos);
  m_dwBufPos = 0;
}

void SECImage::FreeBuffer() {
  m_buffer.Free();
  m_dwBufSize = m_dwBufHeld = m_dwBufPos = 0;
}

// ---- the BMP stream ----

BITMAPINFOHEADER ReadInfoHeader(brambolt::ByteSpan p) {
  BITMAPINFOHEADER h{};
  h.biSize = ReadLE32(p);
  h.biWidth = static_cast<LONG>(ReadLE32(p, 4));
  h.biHeight = static_cast<LONG>(ReadLE32(p, 8));
  h.biPlanes = ReadLE16(p, 12);
  h.biBitCount = ReadLE16(p, 14);
  h.biCompression = ReadLE32(p, 16);
  h.biSizeImage = ReadLE32(p, 20);
  h.biXPelsPerMeter = static_cast<LONG>(ReadLE32(p, 24));
  h.biYPelsPerMeter = static_cast<LONG>(ReadLE32(p, 28));
  h.biClrUsed = ReadLE32(p, 32);
  h.biClrImportant = ReadLE32(p, 36);
  return h;
}

void WriteInfoHeader(brambolt::MutableByteSpan p, const BITMAPINFOHEADER& h) {
  WriteLE32(p, 0, h.biSize);
  WriteLE32(p, 4, static_cast<DWORD>(h.biWidth));
  WriteLE32(p, 8, static_cast<DWORD>(h.biHeight));
  WriteLE16(p, 12, h.biPlanes);
  WriteLE16(p, 14, h.biBitCount);
  WriteLE32(p, 16, h.biCompression);
  WriteLE32(p, 20, h.biSizeImage);
  WriteLE32(p, 24, static_cast<DWORD>(h.biXPelsPerMeter));
  WriteLE32(p, 28, static_cast<DWORD>(h.biYPelsPerMeter));
  WriteLE32(p, 32, h.biClrUsed);
  WriteLE32(p, 36, h.biClrImportant);
}

namespace {

bool ReadExactly(const SECImage::ByteReader& read, void* dest, size_t count) {
  auto* p = static_cast<BYTE*>(dest);
  while (count > 0) {
    UINT chunk = static_cast<UINT>(std::min<size_t>(count, 1u << 30));
    UINT got = read(p, chunk);
    if (got == 0) return false;
    p += got;
    count -= got;
  }
  return true;
}

bool Skip(const SECImage::ByteReader& read, size_t count) {
  BYTE scratch[4096];
  while (count > 0) {
    size_t chunk = std::min(count, sizeof(scratch));
    if (!ReadExactly(read, scratch, chunk)) return false;
    count -= chunk;
  }
  return true;
}

}  // namespace

SECImage::BmpResult SECImage::ReadBmpStream(const ByteReader& read, ULONGLONG available,
                                            const std::function<void(ULONGLONG)>& ensure) {
  BYTE fileHeader[kFileHeaderSize];
  if (!ReadExactly(read, fileHeader, sizeof(fileHeader))) return BmpResult::tooShort;
  if (ReadLE16(fileHeader) != kBmpMagic) return BmpResult::badMagic;
  DWORD offBits = ReadLE32(fileHeader, 10);
  if (offBits < kFileHeaderSize + kInfoHeaderSize || offBits > available) return BmpResult::badData;
  BYTE infoBytes[kInfoHeaderSize];
  if (!ReadExactly(read, infoBytes, sizeof(infoBytes))) return BmpResult::tooShort;
  BITMAPINFOHEADER h = ReadInfoHeader(infoBytes);
  DWORD bits = h.biBitCount;
  bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 24;
  if (h.biSize < kInfoHeaderSize || h.biSize > offBits - kFileHeaderSize || !knownDepth ||
      h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight <= 0 || h.biWidth > kMaxDimension ||
      h.biHeight > kMaxDimension || (bits <= 8 && h.biClrUsed > (1u << bits))) {
    return BmpResult::badData;
  }
  // Longer headers (later versions) keep their first 40 bytes; the colour table follows them.
  if (!Skip(read, h.biSize - kInfoHeaderSize)) return BmpResult::tooShort;
  size_t tableEntries = bits <= 8 ? (h.biClrUsed ? h.biClrUsed : (1u << bits)) : 0;
  size_t tableSpace = offBits - kFileHeaderSize - h.biSize;
  size_t tableRead = std::min(tableEntries, tableSpace / 4);
  ImageBlock header;
  if (!header.Allocate(kInfoHeaderSize + 1024)) return BmpResult::badData;
  if (!ReadExactly(read, header.Get() + kInfoHeaderSize, tableRead * 4)) return BmpResult::tooShort;
  if (!Skip(read, tableSpace - tableRead * 4)) return BmpResult::tooShort;
  size_t imageBytes = PaddedRowBytes(bits, h.biWidth) * static_cast<size_t>(h.biHeight);
  if (imageBytes > kMaxPixelBytes) return BmpResult::badData;
  if (available != ULLONG_MAX && offBits + imageBytes > available) return BmpResult::tooShort;
  if (ensure) ensure(imageBytes);
  ImageBlock pixels;
  if (!pixels.Allocate(imageBytes)) return BmpResult::badData;
  if (!ReadExactly(read, pixels.Get(), imageBytes)) return BmpResult::tooShort;
  h.biSize = kInfoHeaderSize;
  h.biSizeImage = static_cast<DWORD>(imageBytes);
  std::memcpy(header.Get(), &h, sizeof(h));
  DeletePalette();
  m_header = std::move(header);
  m_bits = std::move(pixels);
  m_lpRGB = reinterpret_cast<RGBQUAD*>(m_header.Get() + kInfoHeaderSize);
  m_bRowsPadded = TRUE;
  m_dwWidth = h.biWidth;
  m_dwHeight = h.biHeight;
  m_dwPadWidth = static_cast<DWORD>((m_dwWidth + 3) & ~3);
  m_nBitsPerPixel = bits;
  m_wColors = TableEntriesFor(bits);
  return BmpResult::ok;
}

void SECImage::WriteBmpStream(const ByteWriter& write) {
  PadRows();
  const BITMAPINFOHEADER& h = GetBitmapInfo()->bmiHeader;
  DWORD tableBytes = 4u * PaletteSize();
  DWORD imageBytes = static_cast<DWORD>(PaddedRowBytes(m_nBitsPerPixel, m_dwWidth) * m_dwHeight);
  DWORD offBits = kFileHeaderSize + kInfoHeaderSize + tableBytes;
  BYTE head[kFileHeaderSize + kInfoHeaderSize] = {};
  WriteLE16(head, 0, kBmpMagic);
  WriteLE32(head, 2, offBits + imageBytes);
  WriteLE32(head, 10, offBits);
  BITMAPINFOHEADER stored = h;
  stored.biSize = kInfoHeaderSize;
  stored.biWidth = m_dwWidth;
  stored.biHeight = m_dwHeight;
  stored.biBitCount = static_cast<WORD>(m_nBitsPerPixel);
  stored.biCompression = BI_RGB;
  stored.biSizeImage = imageBytes;
  WriteInfoHeader(std::span(head).subspan(kFileHeaderSize), stored);
  write(head, sizeof(head));
  if (tableBytes) {
    std::vector<BYTE> table(tableBytes, 0);
    size_t held = std::min<size_t>(tableBytes, m_header.Size() - kInfoHeaderSize);
    std::memcpy(table.data(), m_header.Get() + kInfoHeaderSize, held);
    write(table.data(), tableBytes);
  }
  write(m_bits.Get(), imageBytes);
}

void SECImage::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    if (!m_header || !m_bits) AfxThrowArchiveException(CArchiveException::genericException);
    WriteBmpStream([&ar](const void* p, UINT n) { ar.Write(p, n); });
    return;
  }
  // An archive's length is unknown: it is asked to hold the pixels before they are allocated.
  BmpResult result = ReadBmpStream([&ar](void* p, UINT n) { return ar.Read(p, n); }, ULLONG_MAX,
                                   [&ar](ULONGLONG bytes) { ar.EnsureAvailable(bytes); });
  if (result == BmpResult::ok) {
    CreatePalette();
    return;
  }
  bool shortStream = result == BmpResult::tooShort;
  AfxThrowArchiveException(shortStream ? CArchiveException::endOfFile : CArchiveException::genericException);
}

}  // namespace kelpwood::foundation
