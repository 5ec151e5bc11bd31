// CFileDropListCtrl: a list control that takes files and folders dropped from the desktop, shell
// links expanded to their targets, filtered by kind and extension, listed once or handed to a
// callback.
#pragma once

#include "afx/CListCtrl.h"

class CFileDropListCtrl : public CListCtrl {
 public:
  enum {
    DL_ACCEPT_FILES = 0x01,
    DL_ACCEPT_FOLDERS = 0x02,
    DL_ALLOW_DUPLICATES = 0x04,
    DL_FILTER_EXTENSION = 0x10,
    DL_USE_CALLBACK = 0x20,
    DL_FOLDER_TYPE = 0x40,
    DL_FILE_TYPE = 0x80,
  };
  // Receives each accepted path with its kind (DL_FOLDER_TYPE or DL_FILE_TYPE).
  typedef void (*LPFN_DROP_CALLBACK)(CListCtrl* pList, const CString& strPath, UINT nKind);
  struct DROPLISTMODE {
    UINT iMask = DL_ACCEPT_FILES | DL_ACCEPT_FOLDERS;
    CString csFileExt;  // with its dot, compared without case (DL_FILTER_EXTENSION)
    LPFN_DROP_CALLBACK pfnCallback = nullptr;
  };

  CFileDropListCtrl();
  ~CFileDropListCtrl() override;

  // FALSE, changing nothing, when the callback is asked for but missing.
  BOOL SetDropMode(const DROPLISTMODE& dropMode);
  const DROPLISTMODE& GetDropMode() const { return m_dropMode; }
  // Inserts the path at the top; -1 when duplicates are refused and it is listed already.
  virtual int InsertPathItem(LPCTSTR lpszPath);
  // The target of a shell link (a symbolic link or a desktop link), empty for anything else.
  static CString ExpandShortcut(const CString& strPath);
  // Whether a path is taken in this mode, and as what kind (0 when refused).
  UINT AcceptedKind(const CString& strPath) const;

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDropFiles(HDROP hDropInfo);
  DECLARE_MESSAGE_MAP()

 private:
  DROPLISTMODE m_dropMode;
  BOOL m_bMustUninitOLE = FALSE;
};
