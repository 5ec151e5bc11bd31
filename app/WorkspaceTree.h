// What the Project Explorer's four trees share: their item fonts, their image list, the insertion
// of items, the refresh pattern and the double-click hit test.
#pragma once

#include "widgets/SECTreeCtrl.h"

class CWorkSpaceObj;

// The description of the stock GUI font (the ANSI variable font when there is none); FALSE when
// neither can be read.
BOOL GetGuiLogFont(LOGFONT* pLogFont);

// Inserts an item as a child of hParent (by default the last) with text, images and data word.
HTREEITEM InsertTreeItem(SECTreeBaseC* pTree, HTREEITEM hParent, LPARAM lParam, LPCTSTR lpszText, int nImage,
                         int nSelectedImage, HTREEITEM hInsertAfter = TVI_LAST);

// Base of FileView, ClassView, ClassViewStruct and DatabaseView. Top-level items are drawn in a
// bold "Fixedsys", nested items in a lighter one; the image list is made at creation from the
// tree's bitmap (cells 23 pixels wide, white transparent) and released before the window goes.
class WorkspaceTree : public SECTreeCtrl {
  DECLARE_DYNAMIC(WorkspaceTree)

 public:
  // The tree's image bitmap, its cell height and whether Refresh shows the wait cursor.
  WorkspaceTree(UINT nBitmapId, int nCellHeight, BOOL bWaitCursor);
  ~WorkspaceTree() override;

  BOOL DestroyWindow() override;
  void SelectItemFont(SECListPaintContext* pContext) override;

  // Rebuilds the tree: all items go, the fill runs, the rows are measured again and the window
  // repaints. Empty (or the tree's fixed items only) while no project is open.
  virtual void Refresh();

  CImageList m_ImageList;
  CFont m_fontBold;    // "Fixedsys", height 12, weight 700: top-level items
  CFont m_fontNormal;  // "Fixedsys", height 12, weight 550: nested items

  // The open project, as the application shell tells it (a project is open while the name is
  // not empty); the folder ends with a backslash.
  static CWorkSpaceObj* GetWorkSpace();
  static CString GetProjectName();
  static CString GetProjectFolder();
  static BOOL IsProjectOpen() { return !GetProjectName().IsEmpty(); }

 protected:
  // Fills the tree from the project; runs at creation when a project is open and on Refresh.
  virtual void FillTree() = 0;
  // Runs after the list's creation and before the image list is made (colours, styles).
  virtual void OnTreeCreating() {}

  // Inserts a root item at the top: mask 0x27, image 0, data 0.
  HTREEITEM InsertRootItem(LPCTSTR lpszText);
  // The item under the position of the last message, its text and data word.
  HTREEITEM HitTestMessagePos(CString* pText = nullptr, DWORD_PTR* pData = nullptr);
  // The item at a client point with its text and data word (empty and 0 when none is there).
  HTREEITEM HitTestPoint(CPoint point, CString* pText, DWORD_PTR* pData);
  // Removes the images one by one and deletes the image list.
  void ReleaseImageList();

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  UINT m_nBitmapId;
  int m_nCellHeight;
  BOOL m_bWaitCursor;
};
