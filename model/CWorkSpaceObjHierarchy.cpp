// Class-hierarchy queries over the analysed classes: subclasses, descendant counts, orderings
// by them, and the root names of the hierarchy. A class derives from a name when the name stands
// in its base-name list; the hierarchy is known by names only.
#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/CWorkSpaceObj.h"

namespace {

std::string Key(const CString& str) { return std::string(static_cast<LPCTSTR>(str), static_cast<size_t>(str.GetLength())); }

bool HoldsBase(const CFileObj* pClass, const CString& strName) {
  return pClass->m_BaseClassList.Find(strName) != nullptr;
}

// The direct subclasses of every name, in class-list order, and the descendant counts over
// them. A name already on the walk's path is not entered again, so cycles end; totals of
// names whose walk met no such stop are remembered, which keeps shared sub-hierarchies cheap.
// The walk keeps its own stack, so deep hierarchies cannot exhaust the thread's; totals stop
// at INT_MAX (a class reached by many paths counts once per path).
class DescendantCounter {
 public:
  explicit DescendantCounter(const CFileObjList& classes) {
    for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
      const CFileObj* pClass = classes.GetNext(pos);
      std::unordered_set<std::string> seen;
      for (POSITION posBase = pClass->m_BaseClassList.GetHeadPosition(); posBase != nullptr;) {
        const CString& strBase = pClass->m_BaseClassList.GetNext(posBase);
        if (strBase == pClass->m_strClassName || !seen.insert(Key(strBase)).second) continue;
        m_children[Key(strBase)].push_back(pClass);
      }
    }
  }

  // Returns the direct count; adds every descendant to nTotal.
  int Count(const CString& strName, int& nTotal) {
    std::string name = Key(strName);
    nTotal = Saturated(static_cast<long long>(nTotal) + Walk(name));
    return static_cast<int>(Children(name).size());
  }

  int Total(const CString& strName) {
    int nTotal = 0;
    Count(strName, nTotal);
    return nTotal;
  }

 private:
  static int Saturated(long long n) { return static_cast<int>(std::min<long long>(n, INT_MAX)); }

  const std::vector<const CFileObj*>& Children(const std::string& name) const {
    static const std::vector<const CFileObj*> none;
    auto it = m_children.find(name);
    return it != m_children.end() ? it->second : none;
  }

  // All descendants of the name, depth first.
  int Walk(const std::string& root) {
    auto known = m_totals.find(root);
    if (known != m_totals.end()) return known->second;
    struct Frame {
      std::string name;
      size_t nNextChild = 0;
      long long nTotal = 0;
      bool bComplete = true;  // no child was left out for standing on the path
    };
    std::vector<Frame> stack;
    stack.push_back({root});
    m_path.insert(root);
    for (;;) {
      Frame& frame = stack.back();
      const std::vector<const CFileObj*>& children = Children(frame.name);
      if (frame.nNextChild < children.size()) {
        std::string child = Key(children[frame.nNextChild++]->m_strClassName);
        frame.nTotal = Saturated(frame.nTotal + 1);
        if (m_path.count(child) != 0) {
          frame.bComplete = false;
        } else if (auto it = m_totals.find(child); it != m_totals.end()) {
          frame.nTotal = Saturated(frame.nTotal + it->second);
        } else {
          m_path.insert(child);
          stack.push_back({std::move(child)});
        }
        continue;
      }
      Frame done = std::move(frame);
      stack.pop_back();
      m_path.erase(done.name);
      if (done.bComplete) m_totals.emplace(done.name, static_cast<int>(done.nTotal));
      if (stack.empty()) return static_cast<int>(done.nTotal);
      Frame& parent = stack.back();
      parent.nTotal = Saturated(parent.nTotal + done.nTotal);
      parent.bComplete = parent.bComplete && done.bComplete;
    }
  }

  std::unordered_map<std::string, std::vector<const CFileObj*>> m_children;
  std::unordered_map<std::string, int> m_totals;
  std::unordered_set<std::string> m_path;
};

// The records of a list by class name.
class NameIndex {
 public:
  explicit NameIndex(const CFileObjList& classes) {
    for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
      const CFileObj* pClass = classes.GetNext(pos);
      m_records[Key(pClass->m_strClassName)].push_back(pClass);
    }
  }

  // Whether a record other than pClass carries one of pClass's base names.
  bool HasBaseOf(const CFileObj* pClass) const {
    for (POSITION pos = pClass->m_BaseClassList.GetHeadPosition(); pos != nullptr;) {
      auto it = m_records.find(Key(pClass->m_BaseClassList.GetNext(pos)));
      if (it == m_records.end()) continue;
      for (const CFileObj* pOther : it->second)
        if (pOther != pClass) return true;
    }
    return false;
  }

 private:
  std::unordered_map<std::string, std::vector<const CFileObj*>> m_records;
};

// Orders the elements by descending count; among equal counts the later element comes first,
// as repeatedly taking the maximum (the later one winning ties) orders them.
template <class Element>
std::vector<Element> ByDescendingCount(std::vector<Element> elements, const std::vector<int>& counts) {
  std::vector<size_t> order(elements.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = order.size() - 1 - i;
  std::stable_sort(order.begin(), order.end(), [&counts](size_t a, size_t b) { return counts[a] > counts[b]; });
  std::vector<Element> sorted;
  sorted.reserve(elements.size());
  for (size_t i : order) sorted.push_back(elements[i]);
  return sorted;
}

// The index of the element with the most descendants, the later one winning ties; -1 for none.
int IndexOfMost(const std::vector<int>& counts) {
  int nBest = -1;
  int nBestCount = -1;
  for (size_t i = 0; i < counts.size(); ++i) {
    if (counts[i] >= nBestCount) {
      nBestCount = counts[i];
      nBest = static_cast<int>(i);
    }
  }
  return nBest;
}

std::vector<CString> NamesOf(const CStringList& list) {
  std::vector<CString> names;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) names.push_back(list.GetNext(pos));
  return names;
}

std::vector<CFileObj*> ClassesOf(const CFileObjList& list) {
  std::vector<CFileObj*> classes;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) classes.push_back(list.GetNext(pos));
  return classes;
}

std::vector<int> CountsOf(DescendantCounter& counter, const std::vector<CString>& names) {
  std::vector<int> counts;
  counts.reserve(names.size());
  for (const CString& strName : names) counts.push_back(counter.Total(strName));
  return counts;
}

std::vector<int> CountsOf(DescendantCounter& counter, const std::vector<CFileObj*>& classes) {
  std::vector<int> counts;
  counts.reserve(classes.size());
  for (const CFileObj* pClass : classes) counts.push_back(counter.Total(pClass->m_strClassName));
  return counts;
}

}  // namespace

void CWorkSpaceObj::GetDerivedClasses(CFileObjList& list, CString strClassName) const {
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    CFileObj* pClass = m_FileObjList.GetNext(pos);
    if (pClass->m_strClassName != strClassName && HoldsBase(pClass, strClassName)) list.AddTail(pClass);
  }
}

int CWorkSpaceObj::CountDescendants(int* pnCount, CString strClassName) const {
  DescendantCounter counter(m_FileObjList);
  int nTotal = 0;
  int nDirect = counter.Count(strClassName, nTotal);
  if (pnCount != nullptr) *pnCount += nTotal;
  return nDirect;
}

CString CWorkSpaceObj::FindNameWithMostDescendants(const CStringList& list) const {
  DescendantCounter counter(m_FileObjList);
  std::vector<CString> names = NamesOf(list);
  int nBest = IndexOfMost(CountsOf(counter, names));
  return nBest >= 0 ? names[static_cast<size_t>(nBest)] : CString();
}

CFileObj* CWorkSpaceObj::FindClassWithMostDescendants(const CFileObjList& list) const {
  DescendantCounter counter(m_FileObjList);
  std::vector<CFileObj*> classes = ClassesOf(list);
  int nBest = IndexOfMost(CountsOf(counter, classes));
  return nBest >= 0 ? classes[static_cast<size_t>(nBest)] : nullptr;
}

// Every element stays in the list, an empty name too.
void CWorkSpaceObj::SortNamesByDescendants(CStringList& list) const {
  DescendantCounter counter(m_FileObjList);
  std::vector<CString> names = NamesOf(list);
  std::vector<int> counts = CountsOf(counter, names);
  list.RemoveAll();
  for (const CString& strName : ByDescendingCount(std::move(names), counts)) list.AddTail(strName);
}

void CWorkSpaceObj::SortClassesByDescendants(CFileObjList& list) const {
  DescendantCounter counter(m_FileObjList);
  std::vector<CFileObj*> classes = ClassesOf(list);
  std::vector<int> counts = CountsOf(counter, classes);
  list.RemoveAll();
  for (CFileObj* pClass : ByDescendingCount(std::move(classes), counts)) list.AddTail(pClass);
}

BOOL CWorkSpaceObj::HasNoBaseInProject(const CFileObj* pClass) const {
  return !NameIndex(m_WorkFileObjList).HasBaseOf(pClass);
}

void CWorkSpaceObj::CopyClassList() {
  m_WorkFileObjList.RemoveAll();
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) m_WorkFileObjList.AddTail(m_FileObjList.GetNext(pos));
}

BOOL CWorkSpaceObj::FindComponentClass(CString& strText, CString strClassName) const {
  POSITION pos = m_ComponentClassList.Find(strClassName);
  if (pos == nullptr) return FALSE;
  strText = m_ComponentClassList.GetAt(pos);
  return TRUE;
}

struct CWorkSpaceObj::ChartChildren {
  std::unordered_map<std::string, std::vector<CFileObj*>> sorted;
};

std::shared_ptr<CWorkSpaceObj::ChartChildren> CWorkSpaceObj::IndexChartChildren() const {
  auto index = std::make_shared<ChartChildren>();
  // As GetDerivedClasses: each class once under each of its base names, in list order.
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    CFileObj* pClass = m_FileObjList.GetNext(pos);
    std::unordered_set<std::string> seen;
    for (POSITION posBase = pClass->m_BaseClassList.GetHeadPosition(); posBase != nullptr;) {
      const CString& strBase = pClass->m_BaseClassList.GetNext(posBase);
      if (strBase == pClass->m_strClassName || !seen.insert(Key(strBase)).second) continue;
      index->sorted[Key(strBase)].push_back(pClass);
    }
  }
  // As SortClassesByDescendants, with one count of descendants for all.
  DescendantCounter counter(m_FileObjList);
  for (auto& [name, children] : index->sorted) {
    const std::vector<int> counts = CountsOf(counter, children);
    children = ByDescendingCount(std::move(children), counts);
  }
  return index;
}

void CWorkSpaceObj::GetChartChildren(CFileObjList& list, const CString& strName) const {
  if (m_pChartChildren == nullptr) {
    GetDerivedClasses(list, strName);
    SortClassesByDescendants(list);
    return;
  }
  const auto it = m_pChartChildren->sorted.find(Key(strName));
  if (it == m_pChartChildren->sorted.end()) return;
  for (CFileObj* pClass : it->second) list.AddTail(pClass);
}

void CWorkSpaceObj::ClearRootClassList() { m_RootClassList.RemoveAll(); }

void CWorkSpaceObj::BuildRootClassList() {
  ClearRootClassList();
  CopyClassList();
  SortClassesByDescendants(m_FileObjList);
  NameIndex projectClasses(m_WorkFileObjList);
  std::unordered_set<std::string> roots;  // the names of the list, so each is added once
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = m_FileObjList.GetNext(pos);
    if (pClass->m_BaseClassList.IsEmpty()) {
      m_RootClassList.AddTail(pClass->m_strClassName);
      roots.insert(Key(pClass->m_strClassName));
      continue;
    }
    if (projectClasses.HasBaseOf(pClass)) continue;  // it hangs under a project class
    CString strRoot = pClass->m_BaseClassList.GetHead();
    FindComponentClass(strRoot, strRoot);
    if (roots.insert(Key(strRoot)).second) m_RootClassList.AddTail(strRoot);
  }
}
