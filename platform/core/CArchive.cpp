// CArchive: buffering over a CFile, scalars, strings, counts and the object/class tag stream.
#include "core/CArchive.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/CException.h"
#include "core/CFile.h"

namespace {

// Tags of the object stream. A WORD tag is either an object index, 0x8000 | a class index,
// the new-class tag, or the escape 0x7FFF followed by a DWORD (0x80000000 | index for classes).
constexpr WORD wNullTag = 0;
constexpr WORD wNewClassTag = 0xFFFF;
constexpr WORD wClassTag = 0x8000;
constexpr DWORD dwBigClassTag = 0x80000000;
constexpr WORD wBigObjectTag = 0x7FFF;
constexpr DWORD nMaxMapCount = 0x3FFFFFFE;

// Length prefixes: 0xFF then 0xFFFE marks a UTF-16 string, 0xFF then 0xFFFF a 32-bit length.
constexpr WORD wUnicodeMarker = 0xFFFE;
constexpr WORD wLongLength = 0xFFFF;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_nMode(nMode),
      m_bUserBuf(lpBuf != nullptr),
      m_nBufSize(std::max(nBufSize, 128)),
      m_pFile(pFile),
      m_nObjectSchema(static_cast<UINT>(-1)),
      m_nMapCount(0),
      m_bMapsReady(false),
      m_nGrowSize(1024) {
  if (pFile == nullptr) AfxThrowArchiveException(CArchiveException::genericException);
  m_strFileName = pFile->GetFilePath();
  if (lpBuf != nullptr && nBufSize >= 128) {
    m_lpBufStart = static_cast<BYTE*>(lpBuf);
    m_nBufSize = nBufSize;
  } else {
    m_bUserBuf = FALSE;
    m_ownBuffer = std::make_unique<BYTE[]>(static_cast<size_t>(m_nBufSize));
    m_lpBufStart = m_ownBuffer.get();
  }
  // Storing: [cur, max) is free room. Loading: [cur, max) holds bytes not yet consumed.
  if (IsStoring()) {
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + m_nBufSize;
  } else {
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
  }
}

CArchive::~CArchive() {
  if (m_pFile != nullptr && !(m_nMode & bNoFlushOnDelete)) {
    try {
      Close();
    } catch (CException* e) {
      e->Delete();
    }
  }
  Abort();
}

void CArchive::Abort() { m_pFile = nullptr; }

void CArchive::Close() {
  if (m_pFile == nullptr) return;
  Flush();
  m_pFile = nullptr;
}

void CArchive::Flush() {
  if (m_pFile == nullptr) return;
  if (IsLoading()) {
    // Give back what was read ahead, so the file position is where the archive stopped.
    if (m_lpBufMax != m_lpBufCur) m_pFile->Seek(-static_cast<LONGLONG>(m_lpBufMax - m_lpBufCur), CFile::current);
    m_lpBufCur = m_lpBufMax;
  } else {
    FlushBuffer();
  }
}

void CArchive::FlushBuffer() {
  if (m_lpBufCur != m_lpBufStart) m_pFile->Write(m_lpBufStart, static_cast<UINT>(m_lpBufCur - m_lpBufStart));
  m_lpBufCur = m_lpBufStart;
}

BOOL CArchive::IsBufferEmpty() const {
  return IsLoading() ? m_lpBufCur == m_lpBufMax : m_lpBufCur == m_lpBufStart;
}

UINT CArchive::GetObjectSchema() {
  UINT n = m_nObjectSchema;
  m_nObjectSchema = static_cast<UINT>(-1);
  return n;
}

void CArchive::CheckStoring() const {
  if (m_pFile == nullptr) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
  if (IsLoading()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
}

void CArchive::CheckLoading() const {
  if (m_pFile == nullptr) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
  if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
}

// ---- raw bytes ----

void CArchive::Write(const void* lpBuf, UINT nMax) {
  CheckStoring();
  PutBytes(static_cast<const BYTE*>(lpBuf), nMax);
}

void CArchive::PutBytes(const BYTE* p, UINT n) {
  if (n == 0) return;
  if (m_pFile == nullptr || IsLoading()) CheckStoring();
  UINT room = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
  if (n <= room) {
    std::memcpy(m_lpBufCur, p, n);
    m_lpBufCur += n;
    return;
  }
  std::memcpy(m_lpBufCur, p, room);
  m_lpBufCur += room;
  p += room;
  n -= room;
  FlushBuffer();
  if (n >= static_cast<UINT>(m_nBufSize)) {
    m_pFile->Write(p, n);
    return;
  }
  std::memcpy(m_lpBufCur, p, n);
  m_lpBufCur += n;
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  CheckLoading();
  BYTE* out = static_cast<BYTE*>(lpBuf);
  UINT done = std::min(nMax, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
  std::memcpy(out, m_lpBufCur, done);
  m_lpBufCur += done;
  while (done < nMax) {
    UINT want = nMax - done;
    if (want >= static_cast<UINT>(m_nBufSize)) {
      UINT got = m_pFile->Read(out + done, want);
      if (got == 0) break;
      done += got;
      continue;
    }
    UINT got = m_pFile->Read(m_lpBufStart, static_cast<UINT>(m_nBufSize));
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + got;
    if (got == 0) break;
    UINT take = std::min(want, got);
    std::memcpy(out + done, m_lpBufCur, take);
    m_lpBufCur += take;
    done += take;
  }
  return done;
}

void CArchive::GetBytes(BYTE* p, UINT n) {
  if (n <= static_cast<UINT>(m_lpBufMax - m_lpBufCur) && m_pFile != nullptr && IsLoading()) {
    std::memcpy(p, m_lpBufCur, n);
    m_lpBufCur += n;
    return;
  }
  if (Read(p, n) != n) AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::FillBuffer(UINT nBytesNeeded) {
  CheckLoading();
  UINT unused = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
  if (unused >= nBytesNeeded) return;
  if (nBytesNeeded > static_cast<UINT>(m_nBufSize))
    AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
  std::memmove(m_lpBufStart, m_lpBufCur, unused);
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + unused;
  while (unused < nBytesNeeded) {
    UINT got = m_pFile->Read(m_lpBufMax, static_cast<UINT>(m_nBufSize) - unused);
    if (got == 0) break;
    unused += got;
    m_lpBufMax += got;
  }
  if (unused < nBytesNeeded) AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

// Lengths and counts in a stream cannot be trusted, and the file's length says nothing about a
// file whose reads are translated (a compressed file): so the bytes are read ahead into the
// buffer, which grows only as fast as data arrives.
void CArchive::EnsureAvailable(ULONGLONG nBytes) {
  CheckLoading();
  size_t unread = static_cast<size_t>(m_lpBufMax - m_lpBufCur);
  if (nBytes <= unread) return;
  if (nBytes > static_cast<ULONGLONG>(std::numeric_limits<int>::max()))
    AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
  std::memmove(m_lpBufStart, m_lpBufCur, unread);
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + unread;
  while (unread < nBytes) {
    if (unread == static_cast<size_t>(m_nBufSize)) {
      size_t grown = static_cast<size_t>(std::min<ULONGLONG>(nBytes, 2 * static_cast<ULONGLONG>(m_nBufSize)));
      auto bigger = std::make_unique<BYTE[]>(grown);
      std::memcpy(bigger.get(), m_lpBufStart, unread);
      m_ownBuffer = std::move(bigger);
      m_bUserBuf = FALSE;
      m_nBufSize = static_cast<int>(grown);
      m_lpBufStart = m_lpBufCur = m_ownBuffer.get();
      m_lpBufMax = m_lpBufStart + unread;
    }
    UINT got = m_pFile->Read(m_lpBufMax, static_cast<UINT>(m_nBufSize - unread));
    if (got == 0) AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
    unread += got;
    m_lpBufMax += got;
  }
}

// ---- scalars ----

CArchive& CArchive::operator<<(float f) {
  DWORD bits;
  std::memcpy(&bits, &f, sizeof bits);
  return PutScalar(bits);
}

CArchive& CArchive::operator<<(double d) {
  ULONGLONG bits;
  std::memcpy(&bits, &d, sizeof bits);
  return PutScalar(bits);
}

CArchive& CArchive::operator>>(float& f) {
  DWORD bits = 0;
  GetScalar(bits);
  std::memcpy(&f, &bits, sizeof f);
  return *this;
}

CArchive& CArchive::operator>>(double& d) {
  ULONGLONG bits = 0;
  GetScalar(bits);
  std::memcpy(&d, &bits, sizeof d);
  return *this;
}

// ---- counts ----

void CArchive::WriteCount(DWORD_PTR dwCount) {
  if (dwCount < 0xFFFF) {
    *this << static_cast<WORD>(dwCount);
    return;
  }
  *this << static_cast<WORD>(0xFFFF);
  if (dwCount < 0xFFFFFFFF) {
    *this << static_cast<DWORD>(dwCount);
    return;
  }
  *this << static_cast<DWORD>(0xFFFFFFFF) << static_cast<ULONGLONG>(dwCount);
}

DWORD_PTR CArchive::ReadCount() {
  WORD wCount = 0;
  *this >> wCount;
  ULONGLONG count = wCount;
  if (wCount == 0xFFFF) {
    DWORD dwCount = 0;
    *this >> dwCount;
    count = dwCount;
    if (dwCount == 0xFFFFFFFF) *this >> count;
  }
  // Every element takes at least one byte of the stream.
  EnsureAvailable(count);
  return static_cast<DWORD_PTR>(count);
}

// ---- strings ----

namespace {

ULONGLONG ReadStringLength(CArchive& ar, bool& wide) {
  BYTE bLen = 0;
  ar >> bLen;
  if (bLen < 0xFF) return bLen;
  WORD wLen = 0;
  ar >> wLen;
  if (wLen == wUnicodeMarker) {
    if (wide) AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    wide = true;
    return ReadStringLength(ar, wide);
  }
  if (wLen != wLongLength) return wLen;
  DWORD dwLen = 0;
  ar >> dwLen;
  if (dwLen != 0xFFFFFFFF) return dwLen;
  ULONGLONG qwLen = 0;
  ar >> qwLen;
  return qwLen;
}

// Reads exactly nBytes, after checking the stream holds them.
void ReadExactly(CArchive& ar, void* lpBuf, ULONGLONG nBytes) {
  ar.EnsureAvailable(nBytes);
  if (ar.Read(lpBuf, static_cast<UINT>(nBytes)) != nBytes)
    AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
}

}  // namespace

CArchive& operator<<(CArchive& ar, const CString& string) {
  DWORD nLength = static_cast<DWORD>(string.GetLength());
  if (nLength < 0xFF) {
    ar << static_cast<BYTE>(nLength);
  } else if (nLength < wUnicodeMarker) {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLength);
  } else {
    ar << static_cast<BYTE>(0xFF) << wLongLength << nLength;
  }
  ar.Write(static_cast<LPCTSTR>(string), nLength);
  return ar;
}

CArchive& CArchive::operator<<(LPCTSTR lpsz) { return ::operator<<(*this, CString(lpsz ? lpsz : "")); }

CArchive& operator>>(CArchive& ar, CString& string) {
  bool wide = false;
  ULONGLONG nLength = ReadStringLength(ar, wide);
  if (nLength > static_cast<ULONGLONG>(std::numeric_limits<int>::max()) / 2)
    AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
  if (!wide) {
    string.Empty();
    if (nLength != 0) {
      ar.EnsureAvailable(nLength);
      int n = static_cast<int>(nLength);
      ReadExactly(ar, string.GetBufferSetLength(n), nLength);
      string.ReleaseBuffer(n);
    }
    return ar;
  }
  // A string stored by a Unicode build: UTF-16 converted to the ANSI code page.
  ar.EnsureAvailable(nLength * 2);
  std::u16string units(static_cast<size_t>(nLength), u'\0');
  for (char16_t& unit : units) {
    WORD w = 0;
    ar >> w;
    unit = static_cast<char16_t>(w);
  }
  int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(units.data()), static_cast<int>(units.size()),
                              nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(std::max(n, 0)), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(units.data()), static_cast<int>(units.size()),
                        narrow.data(), n, nullptr, nullptr);
  string = CString(narrow.data(), static_cast<int>(narrow.size()));
  return ar;
}

// ---- text lines ----

void CArchive::WriteString(LPCTSTR lpsz) {
  if (lpsz != nullptr) Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

bool CArchive::RefillIfEmpty() {
  if (m_lpBufCur != m_lpBufMax) return true;
  UINT got = m_pFile->Read(m_lpBufStart, static_cast<UINT>(m_nBufSize));
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + got;
  return got != 0;
}

void CArchive::SkipLineFeedAfterCR() {
  if (RefillIfEmpty() && *m_lpBufCur == '\n') ++m_lpBufCur;
}

LPTSTR CArchive::ReadString(LPTSTR lpsz, UINT nMax) {
  CheckLoading();
  // A negative count (the framework's convention) asks to keep the line end.
  bool keepNewline = static_cast<int>(nMax) < 0;
  UINT nStop = keepNewline ? static_cast<UINT>(-static_cast<int>(nMax)) : nMax;
  UINT nRead = 0;
  bool any = false;
  while (nRead < nStop && RefillIfEmpty()) {
    any = true;
    char ch = static_cast<char>(*m_lpBufCur++);
    if (ch == '\n' || ch == '\r') {
      if (ch == '\r') SkipLineFeedAfterCR();
      if (keepNewline) lpsz[nRead++] = '\n';
      break;
    }
    lpsz[nRead++] = ch;
  }
  if (!any) return nullptr;
  lpsz[nRead] = '\0';
  return lpsz;
}

BOOL CArchive::ReadString(CString& rString) {
  CheckLoading();
  std::string line;
  bool any = false;
  while (RefillIfEmpty()) {
    any = true;
    size_t avail = static_cast<size_t>(m_lpBufMax - m_lpBufCur);
    const BYTE* lf = static_cast<const BYTE*>(std::memchr(m_lpBufCur, '\n', avail));
    const BYTE* cr = static_cast<const BYTE*>(std::memchr(m_lpBufCur, '\r', static_cast<size_t>((lf ? lf : m_lpBufMax) - m_lpBufCur)));
    const BYTE* stop = cr != nullptr ? cr : lf;
    if (stop == nullptr) {
      line.append(reinterpret_cast<const char*>(m_lpBufCur), avail);
      m_lpBufCur = m_lpBufMax;
      continue;
    }
    line.append(reinterpret_cast<const char*>(m_lpBufCur), static_cast<size_t>(stop - m_lpBufCur));
    m_lpBufCur += (stop - m_lpBufCur) + 1;
    if (*stop == '\r') SkipLineFeedAfterCR();
    break;
  }
  rString = CString(line.data(), static_cast<int>(line.size()));
  return any ? TRUE : FALSE;
}

// ---- objects and classes ----

void CArchive::SetStoreParams(UINT nHashSize, UINT /*nBlockSize*/) {
  if (IsStoring()) m_storeMap.reserve(nHashSize);
}

void CArchive::SetLoadParams(UINT nGrowBy) { m_nGrowSize = std::max(nGrowBy, 1u); }

void CArchive::InitMaps() {
  if (m_bMapsReady) return;
  m_bMapsReady = true;
  m_nMapCount = 1;  // index 0 stands for the null object
  if (IsLoading()) {
    m_loadArray.reserve(std::min<size_t>(m_nGrowSize, 4096));
    m_loadArray.push_back({nullptr, false});
  }
}

void CArchive::CheckCount() const {
  if (m_nMapCount >= nMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
  CheckStoring();
  if (pClassRef == nullptr) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  if (pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();
  InitMaps();
  auto found = m_storeMap.find(pClassRef);
  if (found != m_storeMap.end()) {
    DWORD nClassIndex = found->second;
    if (nClassIndex < wBigObjectTag) {
      *this << static_cast<WORD>(wClassTag | nClassIndex);
    } else {
      *this << wBigObjectTag << static_cast<DWORD>(dwBigClassTag | nClassIndex);
    }
    return;
  }
  WORD nLen = static_cast<WORD>(std::strlen(pClassRef->m_lpszClassName));
  *this << wNewClassTag << static_cast<WORD>(pClassRef->m_wSchema) << nLen;
  Write(pClassRef->m_lpszClassName, nLen);
  CheckCount();
  m_storeMap[pClassRef] = m_nMapCount++;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
  CheckLoading();
  if (pClassRefRequested != nullptr && pClassRefRequested->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();
  InitMaps();

  WORD wTag = 0;
  *this >> wTag;
  DWORD obTag;
  if (wTag == wBigObjectTag) {
    *this >> obTag;
  } else {
    obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);
  }

  if (!(obTag & dwBigClassTag)) {
    // An object reference where only a class may stand.
    if (pObTag == nullptr) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    *pObTag = obTag;
    return nullptr;
  }

  CRuntimeClass* pClassRef = nullptr;
  UINT nSchema = 0;
  if (wTag == wNewClassTag) {
    WORD wSchema = 0;
    WORD nLen = 0;
    *this >> wSchema >> nLen;
    std::string name(nLen, '\0');
    ReadExactly(*this, name.data(), nLen);
    if (name.find('\0') == std::string::npos) pClassRef = CRuntimeClass::FromName(name.c_str());
    if (pClassRef == nullptr) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    nSchema = wSchema;
    if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema) {
      if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
        AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
      m_schemaMap[pClassRef] = nSchema;
    }
    CheckCount();
    m_loadArray.push_back({pClassRef, true});
    ++m_nMapCount;
  } else {
    DWORD nClassIndex = obTag & ~dwBigClassTag;
    if (nClassIndex == 0 || nClassIndex >= m_loadArray.size() || !m_loadArray[nClassIndex].isClass)
      AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    pClassRef = static_cast<CRuntimeClass*>(m_loadArray[nClassIndex].p);
    auto schema = m_schemaMap.find(pClassRef);
    nSchema = schema != m_schemaMap.end() ? schema->second : (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
  }

  if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested))
    AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  if (pSchema != nullptr) {
    *pSchema = nSchema;
  } else {
    m_nObjectSchema = nSchema;
  }
  if (pObTag != nullptr) *pObTag = obTag;
  return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
  if (IsStoring()) {
    WriteClass(pClassRef);
  } else {
    ReadClass(pClassRef, &m_nObjectSchema, nullptr);
  }
}

void CArchive::WriteObject(const CObject* pOb) {
  CheckStoring();
  InitMaps();
  if (pOb == nullptr) {
    *this << wNullTag;
    return;
  }
  auto found = m_storeMap.find(pOb);
  if (found != m_storeMap.end()) {
    DWORD nObIndex = found->second;
    if (nObIndex < wBigObjectTag) {
      *this << static_cast<WORD>(nObIndex);
    } else {
      *this << wBigObjectTag << nObIndex;
    }
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  CheckCount();
  m_storeMap[pOb] = m_nMapCount++;
  const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  CheckLoading();
  UINT nSchema = 0;
  DWORD obTag = 0;
  CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
  if (pClassRef == nullptr) {
    if (obTag >= m_loadArray.size() || m_loadArray[obTag].isClass)
      AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    CObject* pOb = static_cast<CObject*>(m_loadArray[obTag].p);
    if (pOb != nullptr && pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested))
      AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    return pOb;
  }
  // Objects nested deeper than any document makes (a damaged or hostile file) are refused before
  // their recursion can exhaust the stack.
  constexpr int kMaxReadDepth = 2000;
  if (m_nReadDepth >= kMaxReadDepth) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
  CObject* pOb = pClassRef->CreateObject();
  if (pOb == nullptr) AfxThrowMemoryException();
  CheckCount();
  // Mapped before its own data is read, so the object's members may refer back to it.
  m_loadArray.push_back({pOb, false});
  ++m_nMapCount;
  UINT nSchemaSave = m_nObjectSchema;
  m_nObjectSchema = nSchema;
  // An object whose Serialize throws is not deleted: objects read inside it may point at it.
  struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(++d) {}
    ~DepthGuard() { --depth; }
  } guard(m_nReadDepth);
  pOb->Serialize(*this);
  m_nObjectSchema = nSchemaSave;
  return pOb;
}

void CArchive::MapObject(const CObject* pOb) {
  if (m_pFile == nullptr) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
  InitMaps();
  CheckCount();
  if (IsStoring()) {
    if (pOb != nullptr && m_storeMap.emplace(pOb, m_nMapCount).second) ++m_nMapCount;
  } else {
    m_loadArray.push_back({const_cast<CObject*>(pOb), false});
    ++m_nMapCount;
  }
}

CArchive& operator<<(CArchive& ar, const CObject* pOb) {
  ar.WriteObject(pOb);
  return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}
