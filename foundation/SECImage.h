// SECImage: the in-memory device-independent image (header, colour table, pixel rows, palette),
// the load and save protocol every image format follows, row utilities and buffered file access.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "base/ByteOrder.h"
#include "base/base.h"
#include "core/CArchive.h"
#include "core/CFile.h"
#include "core/CObject.h"
#include "core/Lists.h"
#include "afx/CDC.h"
#include "afx/GdiObjects.h"
#include "gdi/gdi.h"

namespace kelpwood::foundation {

// A zero-filled byte block that reports allocation failure instead of throwing.
class ImageBlock {
 public:
  bool Allocate(size_t bytes);
  void Free() {
    m_data.reset();
    m_size = 0;
  }
  BYTE* Get() const { return m_data.get(); }
  size_t Size() const { return m_size; }
  explicit operator bool() const { return m_data != nullptr; }

 private:
  std::unique_ptr<BYTE[]> m_data;
  size_t m_size = 0;
};

class SECImage : public CObject {
  DECLARE_DYNAMIC(SECImage)

 public:
  // Largest width or height any reader accepts, and the largest pixel block it allocates: header
  // values beyond them are treated as damage.
  static constexpr LONG kMaxDimension = 32767;
  static constexpr size_t kMaxPixelBytes = size_t{256} << 20;

  SECImage();
  ~SECImage() override;
  void Serialize(CArchive& ar) override;

  virtual BOOL CreatePalette();
  virtual BOOL LoadImage(LPCTSTR lpszFileName);
  virtual BOOL LoadImage(CFile* pFile);
  virtual BOOL SaveImage(LPCTSTR lpszFileName);
  virtual BOOL SaveImage(CFile* pFile);
  virtual BOOL FreeImage();
  virtual BOOL FinishLoad();
  virtual BOOL PreSaveImage();
  virtual BOOL PostSaveImage();
  virtual BOOL DoSaveImage(CFile* pFile) = 0;
  virtual BOOL DoLoadImage(CFile* pFile) = 0;
  virtual void DeleteOwnedObjects();

  LONG GetWidth() const { return m_dwWidth; }
  LONG GetHeight() const { return m_dwHeight; }
  // Replaces the picture with a device-independent copy of the bitmap, read through the DC.
  BOOL CreateFromBitmap(CDC* pDC, CBitmap* pBitmap);
  BOOL CreateFromBitmap(HDC hdc, HBITMAP hBitmap);
  WORD PaletteSize() const;
  BOOL PadRows();
  BOOL UnpadRows();
  BOOL FlipVertical();
  BOOL MirrorHorizontal();
  BOOL MoveFrom(SECImage& source);

  // Draws the picture stretched to (x, y, cx, cy) with a raster operation; the image's palette
  // is selected and realised for the call. FALSE for an empty image or a failed transfer.
  BOOL Draw(CDC* pDC, int x, int y, int cx, int cy, DWORD dwRop = SRCCOPY) const;
  BOOL Draw(HDC hdc, int x, int y, int cx, int cy, DWORD dwRop = SRCCOPY) const;

  // Buffered access to the current file. Mode 1 reads (the buffer is filled at once).
  BOOL InitBuffer(DWORD dwSize, WORD wMode);
  DWORD ReadBytes(void* lpDest, DWORD dwCount);
  DWORD WriteBytes(const void* lpSrc, DWORD dwCount);
  void FlushBuffer();
  void FreeBuffer();

  // The held picture: header and colour table as one BITMAPINFO, rows bottom-up.
  BITMAPINFO* GetBitmapInfo() const { return reinterpret_cast<BITMAPINFO*>(m_header.Get()); }
  BYTE* GetBits() const { return m_bits.Get(); }
  RGBQUAD* GetColorTable() const { return m_lpRGB; }
  CPalette* GetPalette() const { return m_pPalette; }
  DWORD GetBitsPerPixel() const { return m_nBitsPerPixel; }
  WORD GetColorCount() const { return m_wColors; }
  BOOL AreRowsPadded() const { return m_bRowsPadded; }
  BOOL DepthDiffersFromScreen() const { return m_bDepthDiffers; }
  // Whether the last load read a file that ends before the whole picture: the picture holds the
  // part the file has and is blank beyond it.
  BOOL IsIncomplete() const { return m_bIncomplete; }
  CFile* GetCurrentFile() const { return m_pCurFile; }

  using ByteReader = std::function<UINT(void*, UINT)>;
  using ByteWriter = std::function<void(const void*, UINT)>;

  static size_t PackedRowBytes(DWORD bits, LONG width);
  static size_t PaddedRowBytes(DWORD bits, LONG width);

 protected:
  // Runs a reader under the load protocol: the earlier picture is kept aside and comes back when
  // the reader, FinishLoad or anything they throw fails the load.
  BOOL LoadWithBackup(const std::function<BOOL()>& reader);
  // The file to reopen by name: only one this image made itself.
  CFile* OwnedFileFor(LPCTSTR lpszFileName, UINT nOpenFlags);
  BOOL IsOwned(const CFile* pFile) const;
  template <class F>
  BOOL WithCurrentFile(CFile* pFile, F&& body);
  // Allocates a header block of 40 bytes plus a colour table of 'tableEntries' entries.
  BOOL AllocateHeader(DWORD tableEntries);
  void FreeBlocks();
  // The BMP stream: a 14-byte file header, the info header with its colour table, padded rows.
  // The reader validates every field against 'available' bytes (unknown: SIZE_MAX) and changes
  // the image only when the whole picture was read.
  enum class BmpResult { ok, badMagic, badData, tooShort };
  // 'ensure', when given, is told the pixel bytes needed before they are allocated.
  BmpResult ReadBmpStream(const ByteReader& read, ULONGLONG available,
                          const std::function<void(ULONGLONG)>& ensure = nullptr);
  void WriteBmpStream(const ByteWriter& write);
  void DeletePalette();
  // Pixel value x of a row of the held depth (1, 4 or 8 bits index, in the image's bit order).
  BYTE IndexAt(const BYTE* row, LONG x) const;
  // Expands one row of the held picture into blue, green, red triples.
  void RowToBgr(const BYTE* row, BYTE* out) const;

  DWORD m_nBitsPerPixel = 0;
  DWORD m_nSysBitsPerPixel = 0;
  WORD m_nSysPlanes = 0;
  BOOL m_bRowsPadded = FALSE;
  DWORD m_dwPadWidth = 0;
  LONG m_dwWidth = 0;
  LONG m_dwHeight = 0;
  WORD m_wColors = 0;
  WORD m_wSysColors = 0;
  CPalette* m_pPalette = nullptr;
  CFile* m_pCurFile = nullptr;
  ImageBlock m_bits;
  ImageBlock m_header;
  RGBQUAD* m_lpRGB = nullptr;
  BOOL m_bDepthDiffers = FALSE;
  BOOL m_bIncomplete = FALSE;
  int m_nBitCursor = 0;
  int m_nPixelCursor = 0;
  int m_nBitOrder = 1;
  DWORD m_dwBufSize = 0;
  DWORD m_dwBufHeld = 0;
  DWORD m_dwBufPos = 0;
  CPtrList m_ownedObjects{10};
  ImageBlock m_buffer;

 private:
  DWORD FillBuffer();
};

// Little-endian fields of the formats, over bounded spans.
using brambolt::ReadLE16;
using brambolt::ReadLE32;
using brambolt::WriteLE16;
using brambolt::WriteLE32;

// The 40-byte BITMAPINFOHEADER as stored in files, field by field.
BITMAPINFOHEADER ReadInfoHeader(brambolt::ByteSpan p);
void WriteInfoHeader(brambolt::MutableByteSpan p, const BITMAPINFOHEADER& h);

// Runs a function when the scope ends, however it ends.
template <class F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : m_f(std::move(f)) {}
  ~ScopeExit() {
    if (m_active) m_f();
  }
  void Dismiss() { m_active = false; }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F m_f;
  bool m_active = true;
};

}  // namespace kelpwood::foundation
