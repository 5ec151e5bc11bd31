// Documents and views: CDocument holds the data and its file, CView shows it in a child window
// of a frame, CCreateContext carries what a frame needs to make its view.
#pragma once

#include "afx/AfxResources.h"
#include "afx/CWnd.h"
#include "core/Collections.h"

class CDocTemplate;
class CView;
class CFrameWnd;

// What a frame is made with: the document it shows and the class of view to make for it.
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)

 public:
  CDocument();
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  // Also retitles the frames that show the document.
  virtual void SetTitle(LPCTSTR lpszTitle);
  // The document's name as prompts and proposed file names give it: its title, without what a
  // document may add to the title it shows (marks, states).
  virtual CString GetDocumentName() const { return m_strTitle; }
  const CString& GetPathName() const { return m_strPathName; }
  // The title becomes the file's name; with bAddToMRU the path joins the recent-file list.
  virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  virtual POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
  virtual CView* GetNextView(POSITION& rPosition) const;
  void AddView(CView* pView);
  void RemoveView(CView* pView);
  // OnUpdate of every view but pSender.
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);

  virtual void DeleteContents() {}
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
  // Destroys the frames showing the document, then the document when m_bAutoDelete is set.
  virtual void OnCloseDocument();
  // Asks whether to save a modified document: TRUE to go on, FALSE when the user cancels.
  virtual BOOL SaveModified();
  virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
  // Before a save under a name: whether another document that holds that file may give it up.
  // With unsaved changes the user is asked whether to close it and lose them (FALSE when the user
  // says No: the save must not happen).
  BOOL MayTakeFileFromOtherDocument(LPCTSTR lpszPathName);
  // Writes the document into the file (OnSaveDocument), noting for a save of the document into
  // its own file whether the write failed: the next save then asks for another name.
  BOOL WriteDocument(LPCTSTR lpszPathName, BOOL bReplace);
  // Once the save under the name has succeeded: that other document closes, its changes given up.
  void TakeFileFromOtherDocument(LPCTSTR lpszPathName);
  virtual BOOL DoFileSave();
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  virtual void PreCloseFrame(CFrameWnd*) {}
  virtual void OnChangedViewList();
  virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
  // Numbers the frames that show the document (when there are several) and updates their titles.
  void UpdateFrameCounts();
  // The menu a frame shows while this document is active; null for the menu of its kind.
  virtual HMENU GetDefaultMenu() { return nullptr; }
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;
  CPtrList m_viewList;
  BOOL m_bModified = FALSE;
  BOOL m_bAutoDelete = TRUE;
  BOOL m_bEmbedded = FALSE;

 protected:
  afx_msg void OnFileClose();
  afx_msg void OnFileSave();
  afx_msg void OnFileSaveAs();
  DECLARE_MESSAGE_MAP()

  friend class CDocTemplate;

 private:
  // Another document of the application that holds the file, or null.
  CDocument* OtherDocumentOfFile(LPCTSTR lpszPathName);
  // The last save of the document into its own file could not write it (access denied, a
  // read-only mount, a full disk).
  BOOL m_bWriteFailed = FALSE;
};
