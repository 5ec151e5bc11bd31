// The gzip-format file: our own framing (RFC 1952) around zlib's raw deflate and CRC-32.
#include "foundation/SECCompressFile.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/CException.h"

IMPLEMENT_DYNCREATE(SECComp, CObject)

namespace {

constexpr UINT kBufferSize = 4096;
constexpr int kGzipMagic0 = 0x1F;
constexpr int kGzipMagic1 = 0x8B;
constexpr int kDeflateMethod = 8;
// Header flags: FHCRC, FEXTRA, FNAME, FCOMMENT; the top three bits are reserved.
constexpr int kFlagHeaderCrc = 0x02;
constexpr int kFlagExtra = 0x04;
constexpr int kFlagName = 0x08;
constexpr int kFlagComment = 0x10;
constexpr int kFlagReserved = 0xE0;
// Magic, deflate, no flags, no time, no extra flags, operating system 11 (NTFS).
constexpr BYTE kHeader[10] = {kGzipMagic0, kGzipMagic1, kDeflateMethod, 0, 0, 0, 0, 0, 0, 11};

[[noreturn]] void ThrowDamaged(const CString& fileName) {
  AfxThrowFileException(CFileException::invalidFile, ERROR_INVALID_DATA, fileName);
}

}  // namespace

SECComp::SECComp()
    : m_bFirstUse(TRUE), m_pFixedLiteralTable(nullptr), m_pFixedDistanceTable(nullptr), m_nFixedTableFree(530) {}

void SECComp::Serialize(CArchive&) {}

// One open gzip stream. Its raw reads and writes go to the CFile part of the owning file.
struct SECCompressFile::GzipStream {
  explicit GzipStream(CFile& file) : raw(file) {}
  ~GzipStream() {
    if (!started) return;
    if (writing)
      deflateEnd(&z);
    else
      inflateEnd(&z);
  }
  GzipStream(const GzipStream&) = delete;
  GzipStream& operator=(const GzipStream&) = delete;

  // Mode "r" or "w", with an optional level digit "1".."9" (the library's default without one).
  bool Open(LPCTSTR lpszPath, const char* mode) {
    path = lpszPath;
    int level = Z_DEFAULT_COMPRESSION;
    for (const char* m = mode; *m != '\0'; ++m) {
      if (*m == 'w') writing = true;
      if (*m >= '1' && *m <= '9') level = *m - '0';
    }
    buffer.assign(kBufferSize, 0);
    crc = crc32(0, nullptr, 0);
    if (writing) {
      if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
      started = true;
      z.next_out = buffer.data();
      z.avail_out = kBufferSize;
      raw.CFile::Write(kHeader, sizeof kHeader);
      return true;
    }
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    started = true;
    z.next_in = buffer.data();
    z.avail_in = 0;
    ReadHeader();
    return true;
  }

  void Refill() {
    const UINT got = raw.CFile::Read(buffer.data(), kBufferSize);
    if (got == 0) {
      endOfInput = true;
      return;
    }
    z.next_in = buffer.data();
    z.avail_in = got;
  }

  // The next input byte, or -1 at the end of the file.
  int GetByte() {
    if (z.avail_in == 0 && !endOfInput) Refill();
    if (z.avail_in == 0) return -1;
    --z.avail_in;
    return *z.next_in++;
  }

  void ReadHeader() {
    const int first = GetByte();
    const int second = first == -1 ? -1 : GetByte();
    if (first != kGzipMagic0 || second != kGzipMagic1) {
      // Not gzip: the bytes looked at stay pending and the file reads as it is.
      const unsigned looked = (first != -1 ? 1u : 0u) + (second != -1 ? 1u : 0u);
      z.next_in -= looked;
      z.avail_in += looked;
      transparent = true;
      return;
    }
    ReadMemberHeader();
  }

  // The rest of a member's header, after its magic.
  void ReadMemberHeader() {
    const int method = GetByte();
    const int flags = GetByte();
    for (int i = 0; i < 6; ++i) GetByte();  // time, extra flags, operating system
    if (method != kDeflateMethod || flags == -1 || (flags & kFlagReserved) != 0) {
      result = Z_DATA_ERROR;
      return;
    }
    if (flags & kFlagExtra) {
      const int low = GetByte();
      const int high = GetByte();
      for (int length = (low & 0xFF) | (high & 0xFF) << 8; length > 0 && GetByte() != -1; --length) {
      }
    }
    auto skipZeroTerminated = [&] {
      for (int c = GetByte(); c != 0 && c != -1; c = GetByte()) {
      }
    };
    if (flags & kFlagName) skipZeroTerminated();
    if (flags & kFlagComment) skipZeroTerminated();
    if (flags & kFlagHeaderCrc) {
      GetByte();
      GetByte();
    }
    if (z.avail_in == 0 && !endOfInput) Refill();
    if (z.avail_in == 0) result = Z_DATA_ERROR;
  }

  // After a member's trailer: starts the next member, as gzip reads concatenated files; false at
  // the end of the file. Bytes there that are no member are damage.
  bool NextMember() {
    const int first = GetByte();
    if (first == -1) return false;
    if (first != kGzipMagic0 || GetByte() != kGzipMagic1) Fail();
    ReadMemberHeader();
    if (result == Z_DATA_ERROR || inflateReset(&z) != Z_OK) Fail();
    crc = crc32(0, nullptr, 0);
    length = 0;
    result = Z_OK;
    return true;
  }

  UINT Read(BYTE* out, UINT count) {
    if (writing) return 0;
    if (transparent) {
      const UINT pending = std::min<UINT>(z.avail_in, count);
      std::memcpy(out, z.next_in, pending);
      z.next_in += pending;
      z.avail_in -= pending;
      return pending + (pending < count ? raw.CFile::Read(out + pending, count - pending) : 0);
    }
    if (result == Z_DATA_ERROR) ThrowDamaged(path);
    if (result == Z_STREAM_END) return 0;  // the last member has ended
    z.next_out = out;
    z.avail_out = count;
    BYTE* counted = out;  // the member's CRC and length cover the bytes up to here
    auto count_output = [&] {
      const auto produced = static_cast<UINT>(z.next_out - counted);
      crc = crc32(crc, counted, produced);
      length += produced;
      counted = z.next_out;
    };
    while (z.avail_out != 0) {
      if (z.avail_in == 0 && !endOfInput) Refill();
      // The file ended inside the compressed data.
      if (z.avail_in == 0) Fail();
      result = inflate(&z, Z_NO_FLUSH);
      if (result == Z_STREAM_END) {
        count_output();
        CheckTrailer();
        if (!NextMember()) {
          result = Z_STREAM_END;
          break;
        }
        continue;
      }
      if (result != Z_OK && result != Z_BUF_ERROR) Fail();
    }
    count_output();
    return count - z.avail_out;
  }

  // The trailer: CRC-32 and length modulo 2^32 of the uncompressed data, little-endian.
  void CheckTrailer() {
    DWORD stored[2] = {0, 0};
    for (DWORD& value : stored) {
      for (int shift = 0; shift < 32; shift += 8) {
        const int c = GetByte();
        if (c == -1) Fail();
        value |= static_cast<DWORD>(c) << shift;
      }
    }
    if (stored[0] != crc || stored[1] != length) Fail();
  }

  [[noreturn]] void Fail() {
    result = Z_DATA_ERROR;
    ThrowDamaged(path);
  }

  void Write(const BYTE* in, UINT count) {
    if (!writing) return;
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = count;
    while (z.avail_in != 0) {
      if (z.avail_out == 0) FlushOutput();
      result = deflate(&z, Z_NO_FLUSH);
      if (result != Z_OK) ThrowDamaged(path);
    }
    crc = crc32(crc, in, count);
    length += count;
  }

  void FlushOutput() {
    const UINT pending = kBufferSize - z.avail_out;
    if (pending != 0) raw.CFile::Write(buffer.data(), pending);
    z.next_out = buffer.data();
    z.avail_out = kBufferSize;
  }

  // Ends the deflate data and appends the trailer; false when the library could not finish.
  bool Finish() {
    z.avail_in = 0;
    for (;;) {
      FlushOutput();
      result = deflate(&z, Z_FINISH);
      if (result == Z_STREAM_END) break;
      if (result != Z_OK && result != Z_BUF_ERROR) return false;
    }
    FlushOutput();
    raw.CFile::Flush();
    BYTE trailer[8];
    for (int i = 0; i < 4; ++i) {
      trailer[i] = static_cast<BYTE>(crc >> (8 * i));
      trailer[4 + i] = static_cast<BYTE>(length >> (8 * i));
    }
    raw.CFile::Write(trailer, sizeof trailer);
    return true;
  }

  CFile& raw;
  z_stream z{};
  int result = Z_OK;
  bool endOfInput = false;
  bool started = false;
  bool writing = false;
  bool transparent = false;
  std::vector<Bytef> buffer;
  uLong crc = 0;
  DWORD length = 0;
  CString path;
};

SECCompressFile::SECCompressFile() : m_bCompressed(TRUE) {}

SECCompressFile::SECCompressFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_bCompressed(TRUE) {
  CFileException error(CFileException::genericException, -1, lpszFileName);
  if (!Open(lpszFileName, nOpenFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName.IsEmpty() ? lpszFileName : static_cast<LPCTSTR>(error.m_strFileName));
}

SECCompressFile::~SECCompressFile() {
  if (m_pStream == nullptr) return;
  try {
    Close();
  } catch (CException* e) {
    e->Delete();
  }
}

BOOL SECCompressFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (!m_bCompressed) return CFile::Open(lpszFileName, nOpenFlags, pError);
  if (m_pStream != nullptr) Abort();
  if (!CFile::Open(lpszFileName, nOpenFlags, pError)) return FALSE;
  auto stream = std::make_unique<GzipStream>(*this);
  bool opened = false;
  try {
    opened = stream->Open(lpszFileName, (nOpenFlags & 3) != 0 ? "wb" : "rb");
  } catch (CFileException* e) {
    if (pError != nullptr) {
      pError->m_cause = e->m_cause;
      pError->m_lOsError = e->m_lOsError;
      pError->m_strFileName = lpszFileName;
    }
    e->Delete();
  }
  if (!opened) {
    stream.reset();
    CFile::Abort();
    return FALSE;
  }
  m_pStream = std::move(stream);
  return TRUE;
}

ULONGLONG SECCompressFile::Seek(LONGLONG lOff, UINT nFrom) { return CFile::Seek(lOff, nFrom); }

UINT SECCompressFile::Read(void* lpBuf, UINT nCount) {
  if (!m_bCompressed) return CFile::Read(lpBuf, nCount);
  if (m_pStream == nullptr) return 0;
  return m_pStream->Read(static_cast<BYTE*>(lpBuf), nCount);
}

void SECCompressFile::Write(const void* lpBuf, UINT nCount) {
  if (!m_bCompressed) {
    CFile::Write(lpBuf, nCount);
    return;
  }
  if (m_pStream != nullptr) m_pStream->Write(static_cast<const BYTE*>(lpBuf), nCount);
}

void SECCompressFile::CloseStream(bool finish) {
  // The file forgets its stream whatever happens below.
  std::unique_ptr<GzipStream> stream = std::move(m_pStream);
  if (finish && stream->writing) {
    const CString fileName = m_strFileName;
    bool finished = false;
    try {
      finished = stream->Finish();
    } catch (...) {
      stream.reset();
      CFile::Abort();
      throw;
    }
    if (!finished) {
      stream.reset();
      CFile::Abort();
      ThrowDamaged(fileName);
    }
  }
  stream.reset();
  if (finish)
    CFile::Close();
  else
    CFile::Abort();
}

void SECCompressFile::Close() {
  if (!m_bCompressed || m_pStream == nullptr) {
    CFile::Close();
    return;
  }
  CloseStream(true);
}

void SECCompressFile::Abort() {
  if (m_pStream != nullptr)
    CloseStream(false);
  else
    CFile::Abort();
}
