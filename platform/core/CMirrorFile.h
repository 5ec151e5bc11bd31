// CMirrorFile: a safe save. A file opened with modeCreate is written to a temporary file in the
// target's folder; Close makes it durable and renames it over the target in one step, Abort (or
// destruction without Close) discards it and leaves the old file as it was.
#pragma once

#include "core/CFile.h"

class CMirrorFile : public CFile {
  DECLARE_DYNAMIC(CMirrorFile)

 public:
  CMirrorFile() = default;
  ~CMirrorFile() override;

  // Without modeCreate, or with modeNoTruncate, the file itself is opened as by CFile.
  BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  void Abort() override;
  void Close() override;

 protected:
  CString m_strMirrorName;  // the temporary file (native path), empty when writing in place
  CString m_strTargetName;  // the file the mirror replaces (symbolic links resolved)
};
