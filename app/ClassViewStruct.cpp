// The Project Explorer's hierarchy tree: the top-level names of the project's derivation graph
// with every class under its bases, and the double-click that opens a class's header.
#include "app/ClassViewStruct.h"

#include "model/CWorkSpaceObj.h"

IMPLEMENT_DYNAMIC(ClassViewStruct, ClassTreeBase)

BEGIN_MESSAGE_MAP(ClassViewStruct, ClassTreeBase)
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
END_MESSAGE_MAP()

ClassViewStruct::ClassViewStruct() = default;

ClassViewStruct::~ClassViewStruct() = default;

void ClassViewStruct::FillTree() {
  CWorkSpaceObj* pWorkSpace = GetWorkSpace();
  const CString strProject = GetProjectName();
  if (strProject.IsEmpty() || pWorkSpace == nullptr) return;

  HTREEITEM hRoot = InsertClassRoot(strProject, CLASSSTRUCT_ROOT);
  pWorkSpace->BuildRootClassList();
  const CStringList& roots = pWorkSpace->m_RootClassList;
  ClassTreeProgress progress("Loading class structure information...", static_cast<int>(roots.GetCount()));
  int nDone = 0;
  for (POSITION pos = roots.GetHeadPosition(); pos != nullptr;) {
    const CString& strName = roots.GetNext(pos);
    HTREEITEM hItem = InsertTreeItem(this, hRoot, CLASSSTRUCT_TOP_LEVEL, strName, CLASSIMAGE_CLASS, CLASSIMAGE_CLASS);
    SetItemData(hItem, CLASSSTRUCT_TOP_LEVEL);
    AddDerivedClasses(strName, hItem);
    progress.SetPos(++nDone);
  }
  SortChildren(hRoot, TRUE, TRUE);
  Expand(hRoot, TVE_EXPAND);
}

void ClassViewStruct::AddDerivedClasses(CString strName, HTREEITEM hParent) {
  CStringList path;
  AddDerivedClasses(strName, hParent, path);
}

void ClassViewStruct::AddDerivedClasses(const CString& strName, HTREEITEM hParent, CStringList& path) {
  CWorkSpaceObj* pWorkSpace = GetWorkSpace();
  if (pWorkSpace == nullptr) return;
  CFileObjList derived;
  pWorkSpace->GetDerivedClasses(derived, strName);
  if (derived.IsEmpty()) return;
  path.AddTail(strName);
  for (POSITION pos = derived.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = derived.GetNext(pos);
    HTREEITEM hItem =
        InsertTreeItem(this, hParent, CLASSSTRUCT_DERIVED, pClass->m_strClassName, CLASSIMAGE_CLASS, CLASSIMAGE_CLASS);
    SetItemData(hItem, CLASSSTRUCT_DERIVED);
    // A class already on the path closes a cycle of base names: it is shown, not entered again.
    if (path.Find(pClass->m_strClassName) == nullptr) AddDerivedClasses(pClass->m_strClassName, hItem, path);
  }
  path.RemoveTail();
}

void ClassViewStruct::OnDblClk(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  *pResult = 0;
  CString strText;
  if (HitTestMessagePos(&strText, nullptr) == nullptr || strText.IsEmpty()) return;
  CWorkSpaceObj* pWorkSpace = GetWorkSpace();
  const CFileObj* pClass = pWorkSpace != nullptr ? pWorkSpace->FindClassByName(strText) : nullptr;
  if (pClass == nullptr) return;
  OpenAndFind(GetProjectFolder() + "Header Files\\" + pClass->m_strHeaderFile, pClass->m_strClassHead);
}
