// CAddFolderProressDlg: the progress dialog of folder adding; its worker copies the files.
#pragma once

#include <atomic>
#include <vector>

#include "model/AddFolder.h"
#include "model/WorkerProgressDlg.h"

class CAddFolderProressDlg : public WorkerProgressDlg {
 public:
  explicit CAddFolderProressDlg(CWnd* pParentWnd = nullptr);

  CString m_strSource;
  CString m_strTarget;  // the chosen folder of the project
  BOOL m_bLookInSubfolders = FALSE;
  // The files the copy did not bring in, and why: set by the worker before it closes the dialog.
  std::vector<FileNotBroughtIn> m_notCopied;

  // Read by the worker before each file.
  BOOL IsStopSet() const { return m_bStop.load() ? TRUE : FALSE; }

 protected:
  BOOL StartWorker() override;
  void StopWorker() override { m_bStop.store(true); }

 private:
  std::atomic<bool> m_bStop{false};
};
