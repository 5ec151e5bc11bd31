// FileView: the Project Explorer's "File" tab, the project's source and header files as they are
// on disk; opens and removes them, offers the insert commands and drags headers as include lines.
#pragma once

#include "app/WorkspaceTree.h"

class FileView : public WorkspaceTree {
  DECLARE_DYNAMIC(FileView)

 public:
  // Data words of the items.
  enum : DWORD { kFolderItem = 1000, kSourceItem = 2000, kHeaderItem = 3000 };

  FileView();
  ~FileView() override;

  // The text a header's drag carries: the include line between tabs and line ends.
  static CString IncludeLineOf(const CString& strHeader);
  // TRUE for a name ending in ".h" or ".H".
  static BOOL IsHeaderName(const CString& strName);

  HTREEITEM m_hSourceFolder = nullptr;
  HTREEITEM m_hHeaderFolder = nullptr;

 protected:
  void FillTree() override;
  // Adds the ordinary files matching the pattern under the folder item with the data word.
  void AddFiles(HTREEITEM hFolder, const CString& strPattern, DWORD dwData);
  // Opens the file of an item in the editor (sources and headers only).
  void OpenItem(HTREEITEM hItem);
  // Drags a header as an include line (and as the file, for other programs) until it drops.
  void DragHeader(const CString& strName, DWORD_PTR dwData);

  afx_msg void OnBeginDrag(UINT nFlags, CPoint point);
  afx_msg void OnOpen();
  afx_msg void OnUpdateSelection(CCmdUI* pCmdUI);
  afx_msg void OnRemove();
  afx_msg void OnContextMenu(UINT nFlags, CPoint point);
  afx_msg void OnInsertFiles();
  afx_msg void OnInsertLiveFolder();
  afx_msg void OnInsertFromMsvcProject();
  afx_msg void OnUpdateInsert(CCmdUI* pCmdUI);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnDblClk(NMHDR* pNotifyStruct, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};
