// Helpers of the project-model tests: a shell that records what the model asks of it, a
// private folder, and byte builders for archive images written independently of the model.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/CArchive.h"
#include "core/CMemFile.h"
#include "model/ShellServices.h"
#include "platform/os/TempDir.h"
#include "res/ResourceTypes.h"
#include "res/Resources.h"

namespace model_test {

using TempFolder = brambolt::testing_os::TempDir;

// Records every call as one line ("OpenDiagramFile a.h", "SetProgressPos 2", ...) and installs
// itself for its lifetime.
class RecordingShell : public ShellServices {
 public:
  RecordingShell() : m_pPrevious(SetShellServices(this)) {}
  ~RecordingShell() override { SetShellServices(m_pPrevious); }

  CWorkSpaceObj* GetWorkSpace() override { return m_pWorkSpace; }
  CString GetProjectFolder() override { return m_strFolder; }
  CString GetProjectName() override { return m_strName; }
  const BYTE* GetGBToBig5Table() override { return nullptr; }
  const BYTE* GetBig5ToGBTable() override { return nullptr; }
  void CopyFileIntoProject(CString strPath) override { Log("CopyFileIntoProject " + Str(strPath)); }
  BOOL OpenDiagramFile(CString strName) override {
    Log("OpenDiagramFile " + Str(strName));
    return TRUE;
  }
  void OpenFormFile(CString strName) override { Log("OpenFormFile " + Str(strName)); }
  CString GetComponentName(int nId) override { return CString(std::to_string(nId).c_str()); }
  void BeginProgress(LPCTSTR lpszText, int nLower, int nUpper, BOOL bFlag, DWORD dwStyle) override {
    Log("BeginProgress " + std::string(lpszText) + " " + std::to_string(nLower) + " " + std::to_string(nUpper) +
        " " + std::to_string(bFlag) + " " + std::to_string(dwStyle));
  }
  void SetProgressPos(int nPos) override { Log("SetProgressPos " + std::to_string(nPos)); }
  void EndProgress() override { Log("EndProgress"); }
  void RefreshOutputTree() override { Log("RefreshOutputTree"); }
  void DrawClassBox(HDC, const RECT& rc, int nDepth) override {
    Log("DrawClassBox " + std::to_string(rc.left) + " " + std::to_string(nDepth));
  }
  int ShowMessage(LPCTSTR lpszText, UINT nType) override {
    Log("ShowMessage " + std::to_string(nType) + " " + std::string(lpszText));
    return 1;
  }
  HFONT GetDialogFont() override { return m_hDialogFont; }

  std::vector<std::string> calls;
  CWorkSpaceObj* m_pWorkSpace = nullptr;
  CString m_strFolder;
  CString m_strName;
  HFONT m_hDialogFont = nullptr;

 private:
  static std::string Str(const CString& str) { return std::string(str, static_cast<size_t>(str.GetLength())); }
  void Log(const std::string& line) { calls.push_back(line); }

  ShellServices* m_pPrevious;
};

// A recording shell whose GB2312/Big5 tables are the embedded resources, as the application
// loads them.
class TablesShell : public RecordingShell {
 public:
  const BYTE* GetGBToBig5Table() override { return Table("GBTOBIG"); }
  const BYTE* GetBig5ToGBTable() override { return Table("BIGTOGB"); }
  static const BYTE* Table(LPCTSTR name, DWORD* pSize = nullptr) {
    HRSRC hRes = FindResource(nullptr, name, RT_RCDATA);
    if (hRes == nullptr) return nullptr;
    if (pSize != nullptr) *pSize = SizeofResource(nullptr, hRes);
    return static_cast<const BYTE*>(LockResource(LoadResource(nullptr, hRes)));
  }
};

inline std::string S(const CString& str) { return std::string(str, static_cast<size_t>(str.GetLength())); }

// The bytes a storing archive writes.
inline std::string StoreBytes(const std::function<void(CArchive&)>& write) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
  }
  std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

// Runs a loading archive over the bytes.
inline void LoadBytes(std::string bytes, const std::function<void(CArchive&)>& read) {
  CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  read(ar);
}

// Builds archive bytes the way the framework lays them out.
class ArchiveImage {
 public:
  ArchiveImage& Dword(uint32_t value) {
    for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<char>(value >> (8 * i)));
    return *this;
  }
  ArchiveImage& Word(uint16_t value) {
    m_bytes.push_back(static_cast<char>(value & 0xFF));
    m_bytes.push_back(static_cast<char>(value >> 8));
    return *this;
  }
  ArchiveImage& Byte(uint8_t value) {
    m_bytes.push_back(static_cast<char>(value));
    return *this;
  }
  // Length prefix (byte; 0xFF + word; 0xFF 0xFFFF + dword), then the bytes.
  ArchiveImage& String(const std::string& text) {
    if (text.size() < 0xFF) {
      Byte(static_cast<uint8_t>(text.size()));
    } else if (text.size() < 0xFFFE) {
      Byte(0xFF).Word(static_cast<uint16_t>(text.size()));
    } else {
      Byte(0xFF).Word(0xFFFF).Dword(static_cast<uint32_t>(text.size()));
    }
    m_bytes += text;
    return *this;
  }
  ArchiveImage& Count(uint32_t count) {
    if (count < 0xFFFF)
      Word(static_cast<uint16_t>(count));
    else
      Word(0xFFFF).Dword(count);
    return *this;
  }
  const std::string& Bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
};

}  // namespace model_test
