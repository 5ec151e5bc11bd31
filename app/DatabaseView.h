// DatabaseView: the Project Explorer's "Output" tree. It shows the documentation generated for
// the open project as it lies on disk and works on the disk: open, remove, rename, new folder,
// add files, copy a folder in, convert between GB2312 and Big5, properties.
#pragma once

#include <memory>
#include <vector>

#include "app/WorkspaceTree.h"
#include "model/ExplorerItems.h"

class CCmdUI;

// A folder as read from disk (DatabaseView.cpp).
struct FolderEntries;

class DatabaseView : public WorkspaceTree {
  DECLARE_DYNAMIC(DatabaseView)

 public:
  DatabaseView();
  ~DatabaseView() override;

  // Conversion of a folder's pages: every "htm", "html" and "asp" file in it and below it (a
  // first-level "image2" folder left out) converted in place from the code page it declares (the
  // project's when it declares none), and its name converted (ConvertFileName). Folder names
  // stay. A page in the target code page already, or in another than the source, is left as it
  // is; the first page that cannot be read or written stops the run. One message then tells what
  // failed and why, the pages left and why, and the characters that had no counterpart.
  void ConvertFolder(const CString& strFolder, BOOL bGBToBig5);
  // Converts the file name of the path as it lies on disk and renames the file: a name of the
  // source code page through the tables, to the bytes of the target (under a UTF-8 locale too,
  // where such a name reaches the program as its bytes); a name in UTF-8 stays UTF-8, its
  // characters converted when each has a counterpart, as the links of converted pages are. The
  // new path as the program spells it, or the old one when nothing changed or the rename failed.
  CString ConvertFileName(const CString& strPath, BOOL bGBToBig5);
  // "BMP", "DIB", "EMF", "GIF", "ICO", "JPG" and "WMF" (upper case) open in the picture view.
  static BOOL IsPictureExtension(const CString& strExtension);

  // The record behind an item (NULL for the root, "Diagrams" and no item).
  CItemFileObj* GetItemRecord(HTREEITEM hItem) const;

 protected:
  // Fills the tree when a project is open (Refresh runs it under the wait cursor).
  void FillTree() override;
  // List style and colours: white, the selection in the active caption's colour.
  void OnTreeCreating() override;
  // Adds the folder's plain files under hParent, then its sub-folders (a first-level "image2" left
  // out), driving the status-bar progress per sub-folder. A sub-folder's contents are read when
  // it is first opened (FillFolderItem), so a refresh costs the folders the user sees, not the
  // whole tree.
  void FillFolder(const CString& strFolder, HTREEITEM hParent);
  // Reads the contents of a folder item not read yet (its files, and its sub-folders to be read
  // in turn when opened); nothing for any other item.
  void FillFolderItem(HTREEITEM hItem);
  // Lists the pages directly in the folder; and those in it and in its sub-folders at any depth
  // (links to folders not entered).
  static void CollectPages(const CString& strFolder, std::vector<CString>& pages);
  static void CollectPagesBelow(const CString& strFolder, std::vector<CString>& pages);

  // What the tree asks of the application: copying a chosen file into a folder of the output
  // (TRUE when it is there now) and opening a picture in the picture view.
  virtual BOOL CopyFileIntoFolder(const CString& strPath, const CString& strFolder);
  virtual void OpenPicture(const CString& strPath);

  afx_msg void OnContextMenu(UINT nFlags, CPoint point);
  // WM_KEYUP (the list's own OnKeyUp is its Up-arrow handling).
  afx_msg void OnKeyRelease(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
  // TVN_ITEMEXPANDING: a folder opened for the first time is read.
  afx_msg void OnFolderExpanding(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnOpen();
  afx_msg void OnRemove();
  afx_msg void OnNewFolder();
  afx_msg void OnAddFiles();
  afx_msg void OnInsertLiveFolder();
  afx_msg void OnRename();
  afx_msg void OnProperties();
  afx_msg void OnRefresh();
  afx_msg void OnConvertGBToBig5();
  afx_msg void OnConvertBig5ToGB();
  afx_msg void OnUpdateOpen(CCmdUI* pCmdUI);
  afx_msg void OnUpdateRemove(CCmdUI* pCmdUI);
  afx_msg void OnUpdateFolderCommand(CCmdUI* pCmdUI);
  afx_msg void OnUpdateRename(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  // A new record owned by the tree.
  CItemFileObj* NewRecord(CString strPath, BOOL bFolder);
  // Inserts a child (by default the last) with its image and, for a non-empty path, a record.
  HTREEITEM InsertRecordItem(HTREEITEM hParent, const CString& strText, int nImage, CString strPath,
                             BOOL bFolder, HTREEITEM hInsertAfter = TVI_LAST);
  // Adds the plain files of a folder as read under hParent; their paths move into the records.
  void AddFolderFiles(FolderEntries& entries, HTREEITEM hParent);
  // Inserts the item of a folder (last under hParent) whose contents are read when it is first
  // opened; a link to a folder is shown without contents.
  HTREEITEM InsertFolderItem(HTREEITEM hParent, const CString& strPath, bool bLink);
  // The mark of a folder record whose contents are not read yet.
  static constexpr DWORD kFolderNotRead = 2;
  // Replaces the folder item by a fresh one of the given text and path in its place among its
  // siblings (selected when it was), filled from disk; the new item.
  HTREEITEM ReplaceFolderItem(HTREEITEM hItem, const CString& strText, const CString& strPath);
  // What one Convert command did, told in one message when it ends.
  struct PageConversion {
    PageConversion(BOOL bToBig5, const CString& strCharset);
    bool Stopped() const { return !strFailed.IsEmpty(); }
    // Says what failed and why, with the pages converted and not; the pages that declared the
    // target code page already, and those in another than the source; the characters that became
    // white squares. Nothing when all went well.
    void Report() const;
    BOOL bGBToBig5;
    int nPages = 0;
    int nConverted = 0;
    int nAlready = 0;
    int nOther = 0;
    int nUnmapped = 0;
    CString strProjectCharset;  // of a page that declares none
    CString strFailed;
    CString strWhy;
  };
  // Converts one page file's text in place, then its name, unless the run has stopped or the page
  // is not in the source code page; the file's path afterwards.
  CString ConvertPage(const CString& strPath, PageConversion& run);
  void ConvertSelection(BOOL bGBToBig5);
  // The charset of the project's pages ("gb2312", "big5", "iso-8859-1").
  static CString ProjectCharset();

  std::vector<std::unique_ptr<CItemFileObj>> m_listItemFiles;
};
