// Helpers of the file and archive tests: a private temporary folder, whole-file reads and
// writes that bypass the classes under test, and archive round trips over memory files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/CArchive.h"
#include "core/CException.h"
#include "core/CMemFile.h"
#include "platform/os/TempDir.h"

#include "base/Sanitizers.h"
#ifdef BRAMBOLT_UNDER_ASAN
#include <sanitizer/lsan_interface.h>
#endif

namespace files_test {

// Objects whose loading fails half-way are left to leak, as the framework leaves them (other
// objects may already point at them); tests of corrupt streams say so to the leak checker.
#ifdef BRAMBOLT_UNDER_ASAN
using ExpectedLeaks = __lsan::ScopedDisabler;
#else
struct ExpectedLeaks {};
#endif

// A private temporary folder, removed with its contents at the end.
using TempFolder = brambolt::testing_os::TempDir;

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

using Bytes = std::vector<BYTE>;

// The bytes a storing archive writes.
inline Bytes Store(const std::function<void(CArchive&)>& write, int nBufSize = 4096) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store, nBufSize);
    write(ar);
    ar.Close();
  }
  Bytes bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

// Runs a loading archive over the bytes; the archive is destroyed before this returns.
inline void Load(const Bytes& bytes, const std::function<void(CArchive&)>& read, int nBufSize = 4096) {
  Bytes copy = bytes;
  CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
  CArchive ar(&file, CArchive::load, nBufSize);
  read(ar);
}

// The cause of the CArchiveException a call raises, or -1 when it raises none.
inline int ArchiveCause(const std::function<void()>& call) {
  try {
    call();
  } catch (CArchiveException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

// Whether a call raises the framework exception E (thrown as a pointer).
template <class E>
bool Raises(const std::function<void()>& call) {
  try {
    call();
  } catch (E* e) {
    e->Delete();
    return true;
  }
  return false;
}

// The cause and OS error of the CFileException a call raises; cause -1 when it raises none.
struct FileError {
  int cause = -1;
  LONG osError = 0;
};
inline FileError FileCause(const std::function<void()>& call) {
  FileError error;
  try {
    call();
  } catch (CFileException* e) {
    error.cause = e->m_cause;
    error.osError = e->m_lOsError;
    e->Delete();
  }
  return error;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace files_test
