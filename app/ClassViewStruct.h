// ClassViewStruct, the Project Explorer's "Hier" tree: the project's classes by derivation, each
// class under its base, bases from outside the project at the top level; a double-click opens
// the class's header at its declaration.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>

#include "app/ClassView.h"

// Data words of the hierarchy tree's items.
enum {
  CLASSSTRUCT_TOP_LEVEL = 0,
  CLASSSTRUCT_ROOT = 900,
  CLASSSTRUCT_DERIVED = 1000,
};

// The tree is filled as it is opened: a fill inserts the top-level names, and an item's direct
// subclasses are inserted when the item is first expanded. Under multiple inheritance the number
// of paths through the class graph grows exponentially with the classes, so unfolding them all at
// once would never end; opened level by level, each expansion costs its own children only, and
// every level the user opens shows what the whole tree would show there.
class ClassViewStruct : public ClassTreeBase {
  DECLARE_DYNAMIC(ClassViewStruct)

 public:
  ClassViewStruct();
  ~ClassViewStruct() override;

  // Inserts under hParent every class that names strName among its bases, each with an expand
  // button when classes derive from it in turn; their items come when it is expanded. A class
  // already on the path from the top (strName, hParent and its ancestors: a cycle of base names
  // in malformed headers) is shown but has no children.
  void AddDerivedClasses(CString strName, HTREEITEM hParent);

  // The numeric keypad's "*" expands the item and all below it; here each class is unfolded once
  // in such a walk (at its first place in tree order) and its other places stay closed with their
  // buttons, so that the walk grows with the classes and their base links.
  void OnKeyMultiply(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;

 protected:
  void FillTree() override;
  // Every name's direct subclasses, in class-list order.
  struct DerivedIndex;
  // Inserts an item for a class under hParent, with an expand button when bHasChildren.
  HTREEITEM InsertClassItem(HTREEITEM hParent, DWORD_PTR dwData, const CString& strName, bool bHasChildren);

  // Inserts the direct subclasses of an item when it is first expanded, sorted by name.
  afx_msg void OnClassExpanding(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  std::unique_ptr<DerivedIndex> m_pIndex;  // of the last fill
  // The classes unfolded so far by the "*" key's walk; null outside it.
  std::unordered_set<std::string>* m_pUnfolded = nullptr;
};
