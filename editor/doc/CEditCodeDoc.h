// The source-file document: one editor model per file, its language chosen by the file's
// extension, and a watcher that notices when another program changes the file on disk.
#pragma once

#include <atomic>

#include "afx/CDocument.h"
#include "editor/app/GWExtSECCodeEdit.h"
#include "editor/doc/CFileEvent.h"

class CEditCodeDoc : public CDocument, public CFileEvent {
  DECLARE_DYNCREATE(CEditCodeDoc)

 public:
  CEditCodeDoc();
  ~CEditCodeDoc() override;

  GWExtSECCodeEdit* GetEdit() { return &m_edit; }
  const CString& GetWatchedPath() const { return m_strWatchedPath; }
  // Set when another program changed the file; the code view clears it once it has reloaded.
  BOOL IsChangedOnDisk() const { return m_bChanged.load(); }
  void SetChangedOnDisk(BOOL changed) { m_bChanged.store(changed); }

  // The title without the modified mark (as a printed page shows it).
  const CString& GetPlainTitle() const { return m_strPlainTitle; }
  // After the text was read again: the watch takes the file's present state, and watches it anew
  // when it had ended.
  void RefreshWatch();

  // The language of a file: its extension (lower case, with the dot) in the application's
  // extension map, else "Default".
  static CString LanguageForPath(LPCTSTR path);

  // The title shown ends in "*" while the text is modified.
  void SetTitle(LPCTSTR lpszTitle) override;
  CString GetDocumentName() const override { return m_strPlainTitle.IsEmpty() ? m_strTitle : m_strPlainTitle; }
  BOOL IsModified() override;
  void SetModifiedFlag(BOOL bModified = TRUE) override;
  BOOL OnNewDocument() override;
  BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
  BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
  void OnCloseDocument() override;
  BOOL SaveModified() override;
  BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE) override;

  // On the worker thread: posts the change to the user-interface thread and returns.
  void OnFileChanged(UINT flags, LPCTSTR path) override;
  // On the user-interface thread, for each change seen: beeps, marks the document and, while the
  // main window is hidden, flashes the main frame and brings the document's window forward.
  virtual void OnFileChangedOnDisk();

 protected:
  // Moves the watch to the path (none when it is empty).
  void Rewatch(const CString& path);
  // Before writing the file: TRUE when it is still the file the window read or last wrote, as it
  // was then, or is not there; otherwise the user is asked whether to write over it.
  BOOL ConfirmWriteOver(LPCTSTR lpszPathName);

  GWExtSECCodeEdit m_edit;
  CString m_strWatchedPath;
  CString m_strPlainTitle;  // the title without the modified mark
  std::atomic<BOOL> m_bChanged{FALSE};
};
