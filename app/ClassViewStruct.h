// ClassViewStruct, the Project Explorer's "Hier" tree: the project's classes by derivation, each
// class under its base, bases from outside the project at the top level; a double-click opens
// the class's header at its declaration.
#pragma once

#include <string>
#include <unordered_set>

#include "app/ClassView.h"

// Data words of the hierarchy tree's items.
enum {
  CLASSSTRUCT_TOP_LEVEL = 0,
  CLASSSTRUCT_ROOT = 900,
  CLASSSTRUCT_DERIVED = 1000,
};

class ClassViewStruct : public ClassTreeBase {
  DECLARE_DYNAMIC(ClassViewStruct)

 public:
  ClassViewStruct();
  ~ClassViewStruct() override;

  // Inserts under hParent every class that names strName among its bases, each with its own
  // derived classes below it. A class already on the path from the top (a cycle of base names
  // in malformed headers) is shown but not entered again.
  void AddDerivedClasses(CString strName, HTREEITEM hParent);

 protected:
  void FillTree() override;
  // Every name's direct subclasses, in class-list order.
  struct DerivedIndex;
  // The same over the index, with the names on the path from the top.
  void AddDerivedClasses(const CString& strName, HTREEITEM hParent, const DerivedIndex& index,
                         std::unordered_set<std::string>& path);

  afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};
