// CClassHitDoc: the document of a picture window. It archives nothing: it names the picture file
// that its view loads at the next paint, opens another picture and saves the shown one as a BMP
// or ICO file.
#pragma once

#include "afx/CDocument.h"
#include "app/CPicture.h"

class CClassHitDoc : public CDocument {
  DECLARE_DYNCREATE(CClassHitDoc)

 public:
  BOOL OnNewDocument() override;
  BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
  // The picture file stays as it is: the document has nothing of its own to write.
  BOOL OnSaveDocument(LPCTSTR lpszPathName) override;

  // The file Save As writes: the typed name, with ".bmp" (filter 1) or ".ico" (filter 2) added
  // unless it already ends so, case ignored.
  static CString FormSaveName(const CString& strTyped, DWORD nFilterIndex);

  CPicture m_Picture;
  CString m_strPendingPath;  // loaded by the view's next paint; empty when there is none
  CString m_strLoadedPath;

 protected:
  afx_msg void OnFileOpen();
  afx_msg void OnFileSaveAs();
  DECLARE_MESSAGE_MAP()
};
