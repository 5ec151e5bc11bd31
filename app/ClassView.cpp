// The Project Explorer's class tree: classes with their members from the analysed headers, and
// the double-click that opens a class's or member's file at its declaration or definition.
#include "app/ClassView.h"

#include "afx/CFrameWnd.h"
#include "afx/CMDIChildWnd.h"
#include "afx/CMDIFrameWnd.h"
#include "afx/CView.h"
#include "afx/CWinApp.h"
#include "app/CMainFrame.h"
#include "core/CStdioFile.h"
#include "foundation/SECFileSystem.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"
#include "resources/ClassViewRes.h"

IMPLEMENT_DYNAMIC(ClassTreeBase, WorkspaceTree)
IMPLEMENT_DYNAMIC(ClassView, ClassTreeBase)

BEGIN_MESSAGE_MAP(ClassTreeBase, WorkspaceTree)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, OnItemExpanding)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDED, OnItemExpanded)
  ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, OnEndLabelEdit)
  ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, OnListEndLabelEdit)
  ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(ClassView, ClassTreeBase)
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
END_MESSAGE_MAP()

namespace {

// The image of a member by its access; -1 for a kind that gets no item.
int MemberImage(int nAccess, int nPublic, int nProtected, int nPrivate) {
  switch (nAccess) {
    case MEMBER_PUBLIC:
      return nPublic;
    case MEMBER_PROTECTED:
      return nProtected;
    case MEMBER_PRIVATE:
      return nPrivate;
    default:
      return -1;
  }
}

// The view the editor's search goes to: the active MDI child's, else the main window's own.
CView* FindActiveView() {
  auto* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  if (pFrame == nullptr) return nullptr;
  if (auto* pMDIFrame = dynamic_cast<CMDIFrameWnd*>(pFrame)) {
    if (CMDIChildWnd* pChild = pMDIFrame->MDIGetActive()) return pChild->GetActiveView();
  }
  return pFrame->GetActiveView();
}

// Whether a line of the text file holds the text.
BOOL FileContains(const CString& strPath, const CString& strText) {
  CStdioFile file;
  if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) return FALSE;
  CString strLine;
  while (file.ReadString(strLine)) {
    if (strLine.Find(strText) >= 0) return TRUE;
  }
  return FALSE;
}

}  // namespace

// ---- ClassTreeProgress ----

ClassTreeProgress::ClassTreeProgress(LPCTSTR lpszLabel, int nCount) {
  auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  m_pStatusBar = pFrame != nullptr && pFrame->m_wndStatusBar.GetSafeHwnd() != nullptr ? &pFrame->m_wndStatusBar
                                                                                       : nullptr;
  const int nUpper = nCount > 0 ? nCount : 1;
  if (m_pStatusBar != nullptr) {
    m_pStatusBar->InitProgress(lpszLabel, 0, nUpper, FALSE, 0x4100);
  } else {
    GetShellServices()->BeginProgress(lpszLabel, 0, nUpper, FALSE, 0x4100);
  }
}

ClassTreeProgress::~ClassTreeProgress() {
  if (m_pStatusBar != nullptr) {
    m_pStatusBar->EndProgress();
  } else {
    GetShellServices()->EndProgress();
  }
}

void ClassTreeProgress::SetPos(int nPos) {
  if (m_pStatusBar != nullptr) {
    m_pStatusBar->SetProgressPos(nPos);
  } else {
    GetShellServices()->SetProgressPos(nPos);
  }
}

// ---- ClassTreeBase ----

ClassTreeBase::ClassTreeBase() : WorkspaceTree(IDB_CLASS_TREE, 19, TRUE) {}

ClassTreeBase::~ClassTreeBase() = default;

HTREEITEM ClassTreeBase::InsertClassRoot(const CString& strProjectName, DWORD_PTR dwData) {
  HTREEITEM hRoot = InsertRootItem(strProjectName + " Classes");
  SetItemData(hRoot, dwData);
  return hRoot;
}

BOOL ClassTreeBase::OpenAndFind(const CString& strPath, const CString& strFindText) {
  if (!SECFileSystem().FileExists(strPath)) return FALSE;
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr || pApp->OpenDocumentFile(strPath) == nullptr) return FALSE;
  if (auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd())) {
    pFrame->m_bFindPending = 1;
    pFrame->m_strFindText = strFindText;
  }
  if (CView* pView = FindActiveView()) pView->SendMessage(WM_GOTOFINDTEXT, 0, 0);
  return TRUE;
}

void ClassTreeBase::OnItemExpanding(NMHDR* /*pNMHDR*/, LRESULT* pResult) { *pResult = 0; }
void ClassTreeBase::OnItemExpanded(NMHDR* /*pNMHDR*/, LRESULT* pResult) { *pResult = 0; }
void ClassTreeBase::OnEndLabelEdit(NMHDR* /*pNMHDR*/, LRESULT* pResult) { *pResult = 1; }
void ClassTreeBase::OnListEndLabelEdit(NMHDR* /*pNMHDR*/, LRESULT* pResult) { *pResult = 1; }
void ClassTreeBase::OnRClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/) {}

// ---- ClassView ----

ClassView::ClassView() = default;

ClassView::~ClassView() { DeleteAllFindItems(); }

void ClassView::DeleteAllFindItems() {
  for (POSITION pos = m_FindItemList.GetHeadPosition(); pos != nullptr;) delete m_FindItemList.GetNext(pos);
  m_FindItemList.RemoveAll();
}

HTREEITEM ClassView::InsertFindItem(HTREEITEM hParent, const CString& strText, int nImage,
                                    const CString& strFindText, const CString& strHeaderFile,
                                    const CString& strSourceFile, int nKind, int nFind) {
  CFindItemObj* pFind;
  if (m_posReuse != nullptr) {
    pFind = m_FindItemList.GetNext(m_posReuse);
  } else {
    pFind = new CFindItemObj;
    m_FindItemList.AddTail(pFind);
  }
  pFind->m_strFindText = strFindText;
  pFind->m_strHeaderFile = strHeaderFile;
  pFind->m_strSourceFile = strSourceFile;
  pFind->m_nKind = nKind;
  pFind->m_nFind = nFind;
  return InsertTreeItem(this, hParent, reinterpret_cast<LPARAM>(pFind), strText, nImage, nImage);
}

void ClassView::DeleteUnusedFindItems() {
  while (m_posReuse != nullptr) {
    const POSITION pos = m_posReuse;
    delete m_FindItemList.GetNext(m_posReuse);
    m_FindItemList.RemoveAt(pos);
  }
}

void ClassView::FillTree() {
  // The items of the last fill are gone (or about to go): their records serve this fill's items
  // in turn, keeping the memory of their strings, and those left over are freed.
  m_posReuse = m_FindItemList.GetHeadPosition();
  FillClasses();
  DeleteUnusedFindItems();
}

void ClassView::FillClasses() {
  CWorkSpaceObj* pWorkSpace = GetWorkSpace();
  const CString strProject = GetProjectName();
  if (strProject.IsEmpty() || pWorkSpace == nullptr) return;

  const CFileObjList& classes = pWorkSpace->m_FileObjList;
  ClassTreeProgress progress("Loading class information...", static_cast<int>(classes.GetCount()));
  HTREEITEM hRoot = InsertClassRoot(strProject, 0);
  int nDone = 0;
  for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = classes.GetNext(pos);
    HTREEITEM hClass = InsertFindItem(hRoot, pClass->m_strClassName, CLASSIMAGE_CLASS, pClass->m_strClassHead,
                                      pClass->m_strHeaderFile, CString(), FINDITEM_CLASS, 0);
    for (POSITION posVar = pClass->m_VariableList.GetHeadPosition(); posVar != nullptr;) {
      const CVariableObj* pVar = pClass->m_VariableList.GetNext(posVar);
      const int nImage = MemberImage(pVar->m_nAccess, CLASSIMAGE_PUBLIC_VARIABLE, CLASSIMAGE_PROTECTED_VARIABLE,
                                     CLASSIMAGE_PRIVATE_VARIABLE);
      if (nImage < 0) continue;
      InsertFindItem(hClass, pVar->m_strName, nImage, pVar->m_strDeclaration, pClass->m_strHeaderFile, CString(),
                     FINDITEM_VARIABLE, 0);
    }
    for (POSITION posFn = pClass->m_MemberFunctionList.GetHeadPosition(); posFn != nullptr;) {
      const CMemberFunctionObj* pFn = pClass->m_MemberFunctionList.GetNext(posFn);
      const int nImage = MemberImage(pFn->m_nAccess, CLASSIMAGE_PUBLIC_FUNCTION, CLASSIMAGE_PROTECTED_FUNCTION,
                                     CLASSIMAGE_PRIVATE_FUNCTION);
      if (nImage < 0) continue;
      InsertFindItem(hClass, pFn->m_strName, nImage, pFn->m_strDeclaration, pClass->m_strHeaderFile,
                     pClass->m_strSourceFile, FINDITEM_FUNCTION, pFn->m_nFind != 0 ? 1 : 0);
    }
    progress.SetPos(++nDone);
  }
  SortChildren(hRoot, TRUE, TRUE);
  Expand(hRoot, TVE_EXPAND);
}

BOOL ClassView::GetOpenTarget(const CFindItemObj* pFind, const CString& strItemText, const CString& strClassName,
                              CString& strPath, CString& strFindText) {
  if (pFind == nullptr) return FALSE;
  const CString strFolder = GetProjectFolder();
  const CString strHeader = strFolder + "Header Files\\" + pFind->m_strHeaderFile;
  strPath = strHeader;
  strFindText = pFind->m_strFindText;
  if (pFind->m_nKind != FINDITEM_FUNCTION || pFind->m_nFind != 0) return TRUE;
  const CString strSource = strFolder + "Source Code\\" + pFind->m_strSourceFile;
  if (SECFileSystem().FileExists(strSource)) {
    strPath = strSource;
    // One source file often defines the functions of several classes of its header: the
    // class's own definition is sought when the file has it.
    const CString strQualified = strClassName + "::" + strItemText + "(";
    strFindText = !strClassName.IsEmpty() && FileContains(strSource, strQualified) ? strQualified
                                                                                    : "::" + strItemText + "(";
  }
  return TRUE;
}

void ClassView::OnDblClk(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  *pResult = 0;
  CString strText;
  DWORD_PTR dwData = 0;
  HTREEITEM hItem = HitTestMessagePos(&strText, &dwData);
  if (hItem == nullptr) return;
  CString strPath;
  CString strFindText;
  HTREEITEM hParent = GetParentItem(hItem);
  const CString strClassName = hParent != nullptr ? GetItemText(hParent) : CString();
  if (GetOpenTarget(reinterpret_cast<const CFindItemObj*>(dwData), strText, strClassName, strPath, strFindText)) {
    OpenAndFind(strPath, strFindText);
  }
}
