// The folder-adding worker thread.
#include "model/CAddFolderThread.h"

#include "model/CAddFolderProressDlg.h"

CAddFolderThread::CAddFolderThread(CAddFolderProressDlg* pDialog) : m_pDialog(pDialog) { m_bAutoDelete = TRUE; }

BOOL CAddFolderThread::InitInstance() {
  AddFolder();
  return FALSE;
}

void CAddFolderThread::AddFolder() {
  const HWND hDialog = m_pDialog->m_hWnd;
  PlayProgressClip(hDialog);
  // What was not brought in goes to the dialog, which the command reads once it has ended.
  m_pDialog->m_notCopied = AddFolderFiles(m_strSource, m_strTarget, m_bLookInSubfolders, *this).notCopied;
  StopProgressClip(hDialog);
  m_bBusy = FALSE;
  // The last touch of the dialog: once it has handled this, the thread reaches it no more.
  ::SendMessage(hDialog, WM_CLOSE, 0, 0);
}

void CAddFolderThread::CopyingFile(const CString& strSource) {
  ::SetWindowText(m_pDialog->m_hWnd, strSource);
  ::UpdateWindow(m_pDialog->m_hWnd);
}

// Files already in the project are kept: adding a folder never replaces them.
BOOL CAddFolderThread::ConfirmOverwrite(const CString&) { return FALSE; }

BOOL CAddFolderThread::IsCancelled() { return m_pDialog->IsStopSet(); }
