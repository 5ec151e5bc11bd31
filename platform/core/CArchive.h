// CArchive: the framework's buffered binary serialisation stream, byte for byte in its format
// (little-endian scalars, CString length prefixes, counts, class and object tags with schemas).
#pragma once

#include <concepts>
#include <memory>
#include <unordered_map>
#include <vector>

#include "base/base.h"
#include "core/CObject.h"
#include "core/CString.h"

class CFile;
class CDocument;

class CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
  ~CArchive();

  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  BOOL IsByteSwapping() const { return FALSE; }
  BOOL IsBufferEmpty() const;
  CFile* GetFile() const { return m_pFile; }

  // The schema of the object being loaded; reading it resets it to (UINT)-1.
  UINT GetObjectSchema();
  void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

  // The document being serialised, for objects that need it (set by the caller).
  CDocument* m_pDocument = nullptr;

  // Raw bytes. Read returns how many were available (fewer only at the end of the file).
  UINT Read(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);

  void Flush();
  void Close();
  // Leaves the archive without writing what is still buffered; the file stays open.
  void Abort();

  // Text lines: WriteString writes the bytes as they are (no terminator, no newline added).
  // ReadString stops at LF, CR LF or a lone CR and drops the line end. The LPTSTR form reads at
  // most nMax bytes plus a NUL (a negative nMax keeps the line end as "\n") and returns NULL at
  // the end of the file; the CString form reads lines of any length and returns FALSE there.
  void WriteString(LPCTSTR lpsz);
  LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
  BOOL ReadString(CString& rString);

  // Objects and classes: tags, schemas and back-references.
  CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                           DWORD* pObTag = nullptr);
  void WriteClass(const CRuntimeClass* pClassRef);
  void SerializeClass(const CRuntimeClass* pClassRef);
  CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
  void WriteObject(const CObject* pOb);
  // Records an object that is shared but not written, so later references to it resolve.
  void MapObject(const CObject* pOb);

  // Element counts: a WORD, or 0xFFFF followed by a DWORD. A count read is checked against the
  // bytes left in the stream (every element takes at least one byte).
  DWORD_PTR ReadCount();
  void WriteCount(DWORD_PTR dwCount);

  // Sizing hints for the object maps.
  void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128);
  void SetLoadParams(UINT nGrowBy = 1024);

  // Throws CArchiveException::endOfFile unless nBytes more can be read, reading them ahead. Readers
  // call it before allocating for a length or count that comes from the file.
  void EnsureAvailable(ULONGLONG nBytes);

  CArchive& operator<<(BYTE by) { return PutScalar(by); }
  CArchive& operator<<(char ch) { return PutScalar(static_cast<BYTE>(ch)); }
  CArchive& operator<<(signed char ch) { return PutScalar(static_cast<BYTE>(ch)); }
  CArchive& operator<<(WORD w) { return PutScalar(w); }
  CArchive& operator<<(short n) { return PutScalar(static_cast<WORD>(n)); }
  CArchive& operator<<(int n) { return PutScalar(static_cast<DWORD>(n)); }  // also LONG
  CArchive& operator<<(unsigned int u) { return PutScalar(static_cast<DWORD>(u)); }  // also DWORD, UINT
  CArchive& operator<<(long long n) { return PutScalar(static_cast<ULONGLONG>(n)); }
  CArchive& operator<<(unsigned long long n) { return PutScalar(static_cast<ULONGLONG>(n)); }
  // long is 64 bits here but 32 in the stored formats: archive LONG/DWORD or LONGLONG instead.
  CArchive& operator<<(long n) = delete;
  CArchive& operator<<(unsigned long n) = delete;
  CArchive& operator<<(float f);
  CArchive& operator<<(double d);
  // Exactly bool: a pointer must never turn into one byte through this overload.
  template <class T>
    requires std::same_as<T, bool>
  CArchive& operator<<(T b) {
    return PutScalar(static_cast<BYTE>(b ? 1 : 0));
  }

  CArchive& operator>>(BYTE& by) { return GetScalar(by); }
  CArchive& operator>>(char& ch) { return GetAs<BYTE>(ch); }
  CArchive& operator>>(signed char& ch) { return GetAs<BYTE>(ch); }
  CArchive& operator>>(WORD& w) { return GetScalar(w); }
  CArchive& operator>>(short& n) { return GetAs<WORD>(n); }
  CArchive& operator>>(int& n) { return GetAs<DWORD>(n); }
  CArchive& operator>>(unsigned int& u) { return GetScalar(u); }
  CArchive& operator>>(long long& n) { return GetAs<ULONGLONG>(n); }
  CArchive& operator>>(unsigned long long& n) { return GetAs<ULONGLONG>(n); }
  CArchive& operator>>(long& n) = delete;
  CArchive& operator>>(unsigned long& n) = delete;
  CArchive& operator>>(float& f);
  CArchive& operator>>(double& d);
  CArchive& operator>>(bool& b) {
    BYTE by = 0;
    GetScalar(by);
    b = by != 0;
    return *this;
  }

  // A C string is written in the CString form (as a CString argument would be).
  CArchive& operator<<(LPCTSTR lpsz);

  CString m_strFileName;

 protected:
  void FillBuffer(UINT nBytesNeeded);
  void FlushBuffer();
  bool RefillIfEmpty();
  void SkipLineFeedAfterCR();
  void CheckStoring() const;
  void CheckLoading() const;
  void CheckCount() const;

  template <class T>
  CArchive& PutScalar(T value) {
    BYTE bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<BYTE>(static_cast<ULONGLONG>(value) >> (8 * i));
    PutBytes(bytes, sizeof(T));
    return *this;
  }
  template <class T>
  CArchive& GetScalar(T& value) {
    BYTE bytes[sizeof(T)];
    GetBytes(bytes, sizeof(T));
    ULONGLONG v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) v |= static_cast<ULONGLONG>(bytes[i]) << (8 * i);
    value = static_cast<T>(v);
    return *this;
  }
  template <class Stored, class T>
  CArchive& GetAs(T& value) {
    Stored s{};
    GetScalar(s);
    value = static_cast<T>(s);
    return *this;
  }
  void PutBytes(const BYTE* p, UINT n);
  void GetBytes(BYTE* p, UINT n);

  UINT m_nMode;
  BOOL m_bUserBuf;
  int m_nBufSize;
  CFile* m_pFile;
  BYTE* m_lpBufCur;
  BYTE* m_lpBufMax;
  BYTE* m_lpBufStart;
  std::unique_ptr<BYTE[]> m_ownBuffer;

  UINT m_nObjectSchema;

  // One numbering for classes and objects, as the framework counts them: index 0 is the null
  // object, every new class and every new object takes the next index.
  DWORD m_nMapCount;
  std::unordered_map<const void*, DWORD> m_storeMap;
  struct LoadEntry {
    void* p;
    bool isClass;
  };
  std::vector<LoadEntry> m_loadArray;
  std::unordered_map<const CRuntimeClass*, UINT> m_schemaMap;
  bool m_bMapsReady;
  UINT m_nGrowSize;
  int m_nReadDepth = 0;  // objects being read inside one another

  void InitMaps();
};

// CString in the archive: length prefix (BYTE; 0xFF + WORD; 0xFF 0xFFFF + DWORD), then the bytes.
CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);

CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
