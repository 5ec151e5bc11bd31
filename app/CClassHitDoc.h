// CClassHitDoc: the document of a picture window. It archives nothing: it loads the picture file
// it is opened on (a file that is no picture opens no window), opens another picture in place of
// the shown one and saves the shown one as a BMP or ICO file.
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

  // Loads the file in place of the shown picture and updates the views. A file that cannot be
  // read as a picture is reported by the loader and leaves the shown picture as it was: FALSE.
  BOOL OpenPicture(LPCTSTR lpszPath);

  CPicture m_Picture;
  // A picture just loaded, which the view's next paint names in the title and shows at zoom 0;
  // empty when there is none.
  CString m_strPendingPath;
  CString m_strLoadedPath;

 protected:
  afx_msg void OnFileOpen();
  afx_msg void OnFileSaveAs();
  DECLARE_MESSAGE_MAP()
};
