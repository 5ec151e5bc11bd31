// CAddFolderThread: the worker of folder adding. It plays the dialog's animation, copies the
// source folder's files into the target folder naming each in the caption, and closes the dialog.
#pragma once

#include "afx/CWinThread.h"
#include "model/AddFolder.h"

class CAddFolderProressDlg;

class CAddFolderThread : public CWinThread, private AddFolderListener {
 public:
  // The dialog must outlive the thread: it ends only on the WM_CLOSE this worker sends last.
  explicit CAddFolderThread(CAddFolderProressDlg* pDialog);

  // Runs the copy and returns FALSE, so the thread ends and the object is deleted.
  BOOL InitInstance() override;
  void AddFolder();

  BOOL m_bLookInSubfolders = FALSE;
  CString m_strSource;
  CString m_strTarget;
  BOOL m_bBusy = TRUE;  // until the copy has ended
  CAddFolderProressDlg* m_pDialog;

 private:
  void CopyingFile(const CString& strSource) override;
  BOOL ConfirmOverwrite(const CString& strTarget) override;
  BOOL IsCancelled() override;
};
