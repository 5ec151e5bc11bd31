// The Project Explorer's hierarchy tree: the top-level names of the project's derivation graph
// with every class under its bases, opened level by level, and the double-click that opens a
// class's header.
#include "app/ClassViewStruct.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "model/BaseClassIndex.h"
#include "model/CWorkSpaceObj.h"

IMPLEMENT_DYNAMIC(ClassViewStruct, ClassTreeBase)

BEGIN_MESSAGE_MAP(ClassViewStruct, ClassTreeBase)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, OnClassExpanding)
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
END_MESSAGE_MAP()

// The subclasses of every name as CWorkSpaceObj::GetDerivedClasses gives them (each class once
// under each of its base names, never under its own), made in one pass over the class list so
// that a fill grows with the classes and not with their square. Names, not records, are kept:
// the tree outlives a new analysis of the headers until its next refresh.
struct ClassViewStruct::DerivedIndex {
  explicit DerivedIndex(const CFileObjList& classes) {
    const BaseClassIndex bases(classes);
    for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
      const CFileObj* pClass = classes.GetNext(pos);
      bases.ForEachBaseName(pClass,
                            [&](std::string_view base) { children[std::string(base)].push_back(pClass->m_strClassName); });
    }
  }
  static std::string Key(const CString& str) { return std::string(str, static_cast<size_t>(str.GetLength())); }
  const std::vector<CString>* Find(const CString& strName) const {
    auto it = children.find(Key(strName));
    return it != children.end() ? &it->second : nullptr;
  }
  std::unordered_map<std::string, std::vector<CString>> children;
};

ClassViewStruct::ClassViewStruct() = default;

ClassViewStruct::~ClassViewStruct() = default;

HTREEITEM ClassViewStruct::InsertClassItem(HTREEITEM hParent, DWORD_PTR dwData, const CString& strName,
                                           bool bHasChildren) {
  TVINSERTSTRUCT tvis{};
  tvis.hParent = hParent;
  tvis.hInsertAfter = TVI_LAST;
  tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  tvis.item.pszText = const_cast<LPTSTR>(static_cast<LPCTSTR>(strName));
  tvis.item.iImage = CLASSIMAGE_CLASS;
  tvis.item.iSelectedImage = CLASSIMAGE_CLASS;
  tvis.item.lParam = static_cast<LPARAM>(dwData);
  tvis.item.cChildren = bHasChildren ? 1 : 0;
  return InsertItem(&tvis);
}

void ClassViewStruct::FillTree() {
  m_pIndex.reset();
  CWorkSpaceObj* pWorkSpace = GetWorkSpace();
  const CString strProject = GetProjectName();
  if (strProject.IsEmpty() || pWorkSpace == nullptr) return;

  HTREEITEM hRoot = InsertClassRoot(strProject, CLASSSTRUCT_ROOT);
  pWorkSpace->BuildRootClassList();
  const CStringList& roots = pWorkSpace->m_RootClassList;
  ClassTreeProgress progress("Loading class structure information...", static_cast<int>(roots.GetCount()));
  m_pIndex = std::make_unique<DerivedIndex>(pWorkSpace->m_FileObjList);
  int nDone = 0;
  for (POSITION pos = roots.GetHeadPosition(); pos != nullptr;) {
    const CString& strName = roots.GetNext(pos);
    InsertClassItem(hRoot, CLASSSTRUCT_TOP_LEVEL, strName, m_pIndex->Find(strName) != nullptr);
    progress.SetPos(++nDone);
  }
  SortChildren(hRoot, TRUE, TRUE);
  Expand(hRoot, TVE_EXPAND);
}

void ClassViewStruct::AddDerivedClasses(CString strName, HTREEITEM hParent) {
  if (m_pIndex == nullptr) {
    CWorkSpaceObj* pWorkSpace = GetWorkSpace();
    if (pWorkSpace == nullptr) return;
    m_pIndex = std::make_unique<DerivedIndex>(pWorkSpace->m_FileObjList);
  }
  const std::vector<CString>* pDerived = m_pIndex->Find(strName);
  if (pDerived == nullptr) return;
  // The names from the top down to this item: a subclass among them closes a cycle of base
  // names and is shown without children.
  std::unordered_set<std::string> path{DerivedIndex::Key(strName)};
  for (HTREEITEM h = hParent; h != nullptr && h != TVI_ROOT && GetItemData(h) != CLASSSTRUCT_ROOT;
       h = GetParentItem(h))
    path.insert(DerivedIndex::Key(GetItemText(h)));
  for (const CString& strClass : *pDerived) {
    const bool bEnter = path.count(DerivedIndex::Key(strClass)) == 0 && m_pIndex->Find(strClass) != nullptr;
    InsertClassItem(hParent, CLASSSTRUCT_DERIVED, strClass, bEnter);
  }
}

void ClassViewStruct::OnClassExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* pNM = reinterpret_cast<const NMTREEVIEW*>(pNMHDR);
  HTREEITEM hItem = pNM->itemNew.hItem;
  if ((pNM->action & 0x0F) != TVE_EXPAND || hItem == nullptr || GetItemData(hItem) == CLASSSTRUCT_ROOT) return;
  const CString strName = GetItemText(hItem);
  // The "*" walk unfolds each class once; a class met again keeps its button and stays closed.
  const bool bFirstInWalk = m_pUnfolded == nullptr || m_pUnfolded->insert(DerivedIndex::Key(strName)).second;
  if (GetChildItem(hItem) != nullptr || !bFirstInWalk) return;
  TVITEM tvi{};
  tvi.mask = TVIF_CHILDREN | TVIF_HANDLE;
  tvi.hItem = hItem;
  if (!GetItem(&tvi, FALSE, FALSE) || tvi.cChildren != 1) return;
  AddDerivedClasses(strName, hItem);
  SortChildren(hItem, FALSE, TRUE);
}

void ClassViewStruct::OnKeyMultiply(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) {
  std::unordered_set<std::string> unfolded;
  std::unordered_set<std::string>* pOuter = std::exchange(m_pUnfolded, &unfolded);
  ClassTreeBase::OnKeyMultiply(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags);
  m_pUnfolded = pOuter;
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
