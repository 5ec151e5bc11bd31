// ClassView, the Project Explorer's "Class" tree: every analysed class of the project with its
// member variables and member functions; a double-click opens the declaring (or defining) file in
// the code editor and has the editor find the spot. Also what it shares with the "Hier" tree.
#pragma once

#include "app/WorkspaceTree.h"
#include "core/CTypedPtr.h"
#include "core/Lists.h"
#include "model/ExplorerItems.h"

class MySECCustomStatusBar;

// Images of the class trees' strip (bitmap 310).
enum ClassTreeImage {
  CLASSIMAGE_ROOT = 0,
  CLASSIMAGE_CLASS = 3,
  CLASSIMAGE_PUBLIC_FUNCTION = 4,
  CLASSIMAGE_PROTECTED_FUNCTION = 5,
  CLASSIMAGE_PRIVATE_FUNCTION = 6,
  CLASSIMAGE_PUBLIC_VARIABLE = 7,
  CLASSIMAGE_PROTECTED_VARIABLE = 8,
  CLASSIMAGE_PRIVATE_VARIABLE = 9,
};

// The progress of a class tree's fill in the main frame's status bar (through the shell's
// services while the main window is no main frame): a label and a range of nCount steps (1 when
// there are none) from construction, positions, the end at destruction.
class ClassTreeProgress {
 public:
  ClassTreeProgress(LPCTSTR lpszLabel, int nCount);
  ~ClassTreeProgress();
  ClassTreeProgress(const ClassTreeProgress&) = delete;
  ClassTreeProgress& operator=(const ClassTreeProgress&) = delete;
  void SetPos(int nPos);

 private:
  MySECCustomStatusBar* m_pStatusBar;  // null: the shell's services show it
};

// What the two class trees share: the image strip of bitmap 310, their notification results and
// the opening of a file with a search for the editor.
class ClassTreeBase : public WorkspaceTree {
  DECLARE_DYNAMIC(ClassTreeBase)

 public:
  ClassTreeBase();
  ~ClassTreeBase() override;

  // Opens the file through the application when it exists, leaves the search pending in the main
  // frame (m_strFindText, m_bFindPending) and sends WM_GOTOFINDTEXT to the active view, whose
  // editor finds it. FALSE (and nothing shown) when the file does not exist or could not be
  // opened.
  static BOOL OpenAndFind(const CString& strPath, const CString& strFindText);

 protected:
  // The root item: project name + " Classes", image 0, at the top.
  HTREEITEM InsertClassRoot(const CString& strProjectName, DWORD_PTR dwData);

  // Expansion is allowed, label edits are refused, a right click does nothing.
  afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnListEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};

typedef CTypedPtrList<CObList, CFindItemObj*> CFindItemObjList;

class ClassView : public ClassTreeBase {
  DECLARE_DYNAMIC(ClassView)

 public:
  ClassView();
  ~ClassView() override;

  // The file and search text a double-click on an item with this record goes to: the header
  // for classes, variables and functions looked up in the header; for other functions of class
  // strClassName the source file searched for "Class::name(" when the file holds that, else for
  // "::name(", or the header when the source file does not exist. FALSE when there is no record
  // (the root).
  static BOOL GetOpenTarget(const CFindItemObj* pFind, const CString& strItemText, const CString& strClassName,
                            CString& strPath, CString& strFindText);

  // The records the items point at, owned by the tree.
  CFindItemObjList m_FindItemList;

 protected:
  void FillTree() override;
  void DeleteAllFindItems();
  // Inserts an item under hParent (image and selected image nImage) whose data word is a record
  // of the list: the next one of the last fill while there are any, else a new one.
  HTREEITEM InsertFindItem(HTREEITEM hParent, const CString& strText, int nImage, const CString& strFindText,
                           const CString& strHeaderFile, const CString& strSourceFile, int nKind, int nFind);

  afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  // The items of the project's classes and their members under the root.
  void FillClasses();
  // Frees the records from m_posReuse on, which no item of this fill uses.
  void DeleteUnusedFindItems();

  POSITION m_posReuse = nullptr;  // the first record of the last fill not yet used again
};
