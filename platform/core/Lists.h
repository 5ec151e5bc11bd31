// The framework's concrete lists: CObList and CStringList (serializable) and CPtrList, all CList<> inside.
#pragma once

#include "core/CList.h"
#include "core/CString.h"

class CObList : public CList<CObject*, CObject*> {
  DECLARE_SERIAL(CObList)
 public:
  using CList::CList;
};

class CPtrList : public CList<void*, void*> {
  DECLARE_DYNAMIC(CPtrList)
 public:
  using CList::CList;
};

class CStringList : public CList<CString, const CString&> {
  DECLARE_SERIAL(CStringList)
 public:
  using CList::CList;
};
