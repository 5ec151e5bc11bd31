// Class-hierarchy queries over the analysed classes: subclasses, descendant counts, orderings
// by them, and the root names of the hierarchy. A class derives from a name when one of its bases
// names it (BaseClassIndex: a base as written names the project's class of its last name part, or
// stands for itself when the project documents no such class); the hierarchy is known by names
// only.
#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/BaseClassIndex.h"
#include "model/CWorkSpaceObj.h"

namespace {

std::string Key(const CString& str) { return std::string(static_cast<LPCTSTR>(str), static_cast<size_t>(str.GetLength())); }

// The steps this thread's class-graph walks and chart layouts have taken.
thread_local size_t t_nHierarchySteps = 0;

// The descendant counts over the class graph, whose nodes are names and whose links run from a
// base name to each class that names it (a class once under each of its base names, never under
// its own). Without cycles a name's total is the sum over its links of 1 + the total of the class
// below, so a class reached by two paths counts once per path. Names that reach each other (a
// cycle of base names, which no valid header has but any text may) share one total: every link
// among them counts once, and every link leaving them counts as it would from one name. Each name
// and link is visited once for all queries of a counter (Tarjan's strongly connected components,
// with a stack of its own, so deep hierarchies cannot exhaust the thread's); totals stop at INT_MAX.
class DescendantCounter {
 public:
  explicit DescendantCounter(const CFileObjList& classes) {
    const BaseClassIndex bases(classes);
    for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
      const CFileObj* pClass = classes.GetNext(pos);
      int nClass = -1;
      bases.ForEachBaseName(pClass, [&](std::string_view base) {
        if (nClass < 0) nClass = Intern(Key(pClass->m_strClassName));
        const int nBase = Intern(std::string(base));
        m_nodes[static_cast<size_t>(nBase)].children.push_back(nClass);
        ++t_nHierarchySteps;
      });
    }
  }

  // Returns the direct count; adds every descendant to nTotal.
  int Count(const CString& strName, int& nTotal) {
    const auto it = m_ids.find(Key(strName));
    if (it == m_ids.end()) return 0;
    nTotal = Saturated(static_cast<long long>(nTotal) + TotalOf(it->second));
    return static_cast<int>(m_nodes[static_cast<size_t>(it->second)].children.size());
  }

  int Total(const CString& strName) {
    int nTotal = 0;
    Count(strName, nTotal);
    return nTotal;
  }

 private:
  static constexpr int kUnvisited = -1;
  struct Node {
    std::vector<int> children;  // one entry per link, in class-list order
    int nIndex = kUnvisited;    // order of discovery
    int nLow = 0;               // the earliest discovery reachable without leaving the stack
    int nComponent = -1;        // set once its component is complete
    bool bOnStack = false;
  };

  static int Saturated(long long n) { return static_cast<int>(std::min<long long>(n, INT_MAX)); }

  int Intern(const std::string& name) {
    const auto [it, bNew] = m_ids.emplace(name, static_cast<int>(m_nodes.size()));
    if (bNew) m_nodes.emplace_back();
    return it->second;
  }

  int TotalOf(int nNode) {
    if (m_nodes[static_cast<size_t>(nNode)].nComponent < 0) Visit(nNode);
    return m_totals[static_cast<size_t>(m_nodes[static_cast<size_t>(nNode)].nComponent)];
  }

  // Completes the components reachable from the node, each after every component below it, so
  // a component's total is made from totals already known.
  void Visit(int nRoot) {
    struct Frame {
      int nNode;
      size_t nNextChild;
    };
    std::vector<Frame> frames{{nRoot, 0}};
    Open(nRoot);
    while (!frames.empty()) {
      Frame& frame = frames.back();
      Node& node = m_nodes[static_cast<size_t>(frame.nNode)];
      if (frame.nNextChild < node.children.size()) {
        const int nChild = node.children[frame.nNextChild++];
        ++t_nHierarchySteps;
        Node& child = m_nodes[static_cast<size_t>(nChild)];
        if (child.nIndex == kUnvisited) {
          Open(nChild);
          frames.push_back({nChild, 0});
        } else if (child.bOnStack) {
          node.nLow = std::min(node.nLow, child.nIndex);
        }
        continue;
      }
      const int nDone = frame.nNode;
      frames.pop_back();
      if (!frames.empty()) {
        Node& parent = m_nodes[static_cast<size_t>(frames.back().nNode)];
        parent.nLow = std::min(parent.nLow, m_nodes[static_cast<size_t>(nDone)].nLow);
      }
      if (m_nodes[static_cast<size_t>(nDone)].nLow == m_nodes[static_cast<size_t>(nDone)].nIndex) Close(nDone);
    }
  }

  void Open(int nNode) {
    Node& node = m_nodes[static_cast<size_t>(nNode)];
    node.nIndex = node.nLow = m_nNextIndex++;
    node.bOnStack = true;
    m_stack.push_back(nNode);
    ++t_nHierarchySteps;
  }

  // Takes the component of nHead off the stack and sums its total.
  void Close(int nHead) {
    const int nComponent = static_cast<int>(m_totals.size());
    const size_t nFirst = static_cast<size_t>(
        std::find(m_stack.rbegin(), m_stack.rend(), nHead).base() - m_stack.begin()) - 1;
    for (size_t i = nFirst; i < m_stack.size(); ++i) {
      Node& member = m_nodes[static_cast<size_t>(m_stack[i])];
      member.bOnStack = false;
      member.nComponent = nComponent;
    }
    long long nTotal = 0;
    for (size_t i = nFirst; i < m_stack.size(); ++i) {
      for (int nChild : m_nodes[static_cast<size_t>(m_stack[i])].children) {
        ++t_nHierarchySteps;
        const int nChildComponent = m_nodes[static_cast<size_t>(nChild)].nComponent;
        nTotal = Saturated(nTotal + 1 + (nChildComponent == nComponent ? 0 : m_totals[static_cast<size_t>(nChildComponent)]));
      }
    }
    m_stack.resize(nFirst);
    m_totals.push_back(static_cast<int>(nTotal));
  }

  std::unordered_map<std::string, int> m_ids;
  std::vector<Node> m_nodes;
  std::vector<int> m_stack;
  std::vector<int> m_totals;  // by component
  int m_nNextIndex = 0;
};

// Whether one of pClass's bases names a class of the index other than pClass.
bool HasBaseIn(const BaseClassIndex& classes, const CFileObj* pClass) {
  for (POSITION pos = pClass->m_BaseClassList.GetHeadPosition(); pos != nullptr;)
    if (classes.FindBase(pClass, pClass->m_BaseClassList.GetNext(pos)) != nullptr) return true;
  return false;
}

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

// Classes whose bases only lead round a cycle of base names reach no root: the first of them in
// the class list's order becomes a root under its own name, which reaches the rest.
void AddRootsOfCycles(const CFileObjList& classes, std::unordered_set<std::string>& roots, CStringList& rootList) {
  std::unordered_map<std::string, std::vector<std::string>> children;
  const BaseClassIndex bases(classes);
  for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = classes.GetNext(pos);
    bases.ForEachBaseName(pClass, [&](std::string_view base) {
      children[std::string(base)].push_back(Key(pClass->m_strClassName));
    });
    t_nHierarchySteps += static_cast<size_t>(pClass->m_BaseClassList.GetCount());
  }
  std::unordered_set<std::string> reached;
  std::vector<std::string> pending;
  auto reach = [&](const std::string& name) {
    if (reached.insert(name).second) pending.push_back(name);
    while (!pending.empty()) {
      const auto it = children.find(pending.back());
      pending.pop_back();
      if (it == children.end()) continue;
      for (const std::string& child : it->second) {
        ++t_nHierarchySteps;
        if (reached.insert(child).second) pending.push_back(child);
      }
    }
  };
  for (const std::string& root : roots) reach(root);
  for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
    const CString& strName = classes.GetNext(pos)->m_strClassName;
    const std::string name = Key(strName);
    if (reached.count(name) != 0) continue;
    rootList.AddTail(strName);
    roots.insert(name);
    reach(name);
  }
}

}  // namespace

void CWorkSpaceObj::GetDerivedClasses(CFileObjList& list, CString strClassName) const {
  const BaseClassIndex bases(m_FileObjList);
  const std::string_view name = BaseClassIndex::View(strClassName);
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    CFileObj* pClass = m_FileObjList.GetNext(pos);
    bool bDerived = false;
    bases.ForEachBaseName(pClass, [&](std::string_view base) { bDerived = bDerived || base == name; });
    if (bDerived) list.AddTail(pClass);
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
  return !HasBaseIn(BaseClassIndex(m_WorkFileObjList), pClass);
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
  const BaseClassIndex bases(m_FileObjList);
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    CFileObj* pClass = m_FileObjList.GetNext(pos);
    bases.ForEachBaseName(pClass, [&](std::string_view base) { index->sorted[std::string(base)].push_back(pClass); });
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

BOOL CWorkSpaceObj::HasChartChildren(const CString& strName) const {
  if (m_pChartChildren == nullptr) {
    CFileObjList list;
    GetDerivedClasses(list, strName);
    return !list.IsEmpty();
  }
  const auto it = m_pChartChildren->sorted.find(Key(strName));
  return it != m_pChartChildren->sorted.end() && !it->second.empty();
}

void CWorkSpaceObj::ClearRootClassList() { m_RootClassList.RemoveAll(); }

void CWorkSpaceObj::RestoreAnalysisOrder() {
  std::vector<CFileObj*> classes = ClassesOf(m_FileObjList);
  std::stable_sort(classes.begin(), classes.end(), [](const CFileObj* a, const CFileObj* b) {
    return a->m_nAnalysisOrder < b->m_nAnalysisOrder;
  });
  m_FileObjList.RemoveAll();
  for (CFileObj* pClass : classes) m_FileObjList.AddTail(pClass);
}

void CWorkSpaceObj::BuildRootClassList() {
  ClearRootClassList();
  // Sorted from the order of analysis each time, so that classes of equal counts come out in one
  // order however often the list was built before.
  RestoreAnalysisOrder();
  CopyClassList();
  SortClassesByDescendants(m_FileObjList);
  const BaseClassIndex projectClasses(m_WorkFileObjList);
  std::unordered_set<std::string> roots;  // the names of the list, so each is added once
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = m_FileObjList.GetNext(pos);
    if (pClass->m_BaseClassList.IsEmpty()) {
      m_RootClassList.AddTail(pClass->m_strClassName);
      roots.insert(Key(pClass->m_strClassName));
      continue;
    }
    if (HasBaseIn(projectClasses, pClass)) continue;  // it hangs under a project class
    // No base is a project class: the first, as written, stands at the top.
    CString strRoot = pClass->m_BaseClassList.GetHead();
    FindComponentClass(strRoot, strRoot);
    if (roots.insert(Key(strRoot)).second) m_RootClassList.AddTail(strRoot);
  }
  AddRootsOfCycles(m_FileObjList, roots, m_RootClassList);
}

size_t CWorkSpaceObj::HierarchySteps() { return t_nHierarchySteps; }

void CWorkSpaceObj::AddHierarchySteps(size_t nSteps) { t_nHierarchySteps += nSteps; }
