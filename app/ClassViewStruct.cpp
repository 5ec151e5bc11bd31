// The Project Explorer's hierarchy tree: the top-level names of the project's derivation graph
// with every class under its bases, and the double-click that opens a class's header.
#include "app/ClassViewStruct.h"

#include <unordered_map>
#include <vector>

#include "model/CWorkSpaceObj.h"

IMPLEMENT_DYNAMIC(ClassViewStruct, ClassTreeBase)

BEGIN_MESSAGE_MAP(ClassViewStruct, ClassTreeBase)
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
END_MESSAGE_MAP()

// The subclasses of every name as CWorkSpaceObj::GetDerivedClasses gives them (each class once
// under each of its base names, never under its own), made in one pass over the class list so
// that a fill grows with the classes and not with their square.
struct ClassViewStruct::DerivedIndex {
  explicit DerivedIndex(const CFileObjList& classes) {
    for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
      const CFileObj* pClass = classes.GetNext(pos);
      std::unordered_set<std::string> seen;
      for (POSITION posBase = pClass->m_BaseClassList.GetHeadPosition(); posBase != nullptr;) {
        const CString& strBase = pClass->m_BaseClassList.GetNext(posBase);
        if (strBase != pClass->m_strClassName && seen.insert(Key(strBase)).second)
          children[Key(strBase)].push_back(pClass);
      }
    }
  }
  static std::string Key(const CString& str) { return std::string(str, static_cast<size_t>(str.GetLength())); }
  const std::vector<const CFileObj*>* Find(const CString& strName) const {
    auto it = children.find(Key(strName));
    return it != children.end() ? &it->second : nullptr;
  }
  std::unordered_map<std::string, std::vector<const CFileObj*>> children;
};

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
  const DerivedIndex index(pWorkSpace->m_FileObjList);
  std::unordered_set<std::string> path;
  int nDone = 0;
  for (POSITION pos = roots.GetHeadPosition(); pos != nullptr;) {
    const CString& strName = roots.GetNext(pos);
    HTREEITEM hItem = InsertTreeItem(this, hRoot, CLASSSTRUCT_TOP_LEVEL, strName, CLASSIMAGE_CLASS, CLASSIMAGE_CLASS);
    AddDerivedClasses(strName, hItem, index, path);
    progress.SetPos(++nDone);
  }
  SortChildren(hRoot, TRUE, TRUE);
  Expand(hRoot, TVE_EXPAND);
}

void ClassViewStruct::AddDerivedClasses(CString strName, HTREEITEM hParent) {
  CWorkSpaceObj* pWorkSpace = GetWorkSpace();
  if (pWorkSpace == nullptr) return;
  std::unordered_set<std::string> path;
  AddDerivedClasses(strName, hParent, DerivedIndex(pWorkSpace->m_FileObjList), path);
}

void ClassViewStruct::AddDerivedClasses(const CString& strName, HTREEITEM hParent, const DerivedIndex& index,
                                        std::unordered_set<std::string>& path) {
  const std::vector<const CFileObj*>* pDerived = index.Find(strName);
  if (pDerived == nullptr) return;
  const std::string key = DerivedIndex::Key(strName);
  path.insert(key);
  for (const CFileObj* pClass : *pDerived) {
    HTREEITEM hItem =
        InsertTreeItem(this, hParent, CLASSSTRUCT_DERIVED, pClass->m_strClassName, CLASSIMAGE_CLASS, CLASSIMAGE_CLASS);
    // A class already on the path closes a cycle of base names: it is shown, not entered again.
    if (path.count(DerivedIndex::Key(pClass->m_strClassName)) == 0)
      AddDerivedClasses(pClass->m_strClassName, hItem, index, path);
  }
  path.erase(key);
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
