// Fuzz target: the hierarchy chart on any class graph, multiple inheritance and cycles of base
// names included. The first byte is the number of classes C0, C1, ..., the second how many
// letters (0 to 63) lengthen every name, so boxes grow wide; then, class by class, a
// byte whose low bits give the number of bases (0 to 4) and whose high bit gives the class the
// name of the one before (a class defined twice), followed by one byte per base: a class of the
// graph, or one of eight names outside it. Missing bytes mean no bases.
// Checked against what the chart promises: every class has a box inside the picture, no two
// boxes overlap, the boxes stay within a bound of the classes and their links, the work (the steps the model counts) grows
// with the graph, and without cycles each descendant count equals the number of paths below
// the class, counted here independently.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/CWorkSpaceObj.h"

namespace {

constexpr size_t kMaxBases = 4;
constexpr size_t kOutsideNames = 8;

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "chart: %s: %s\n", what, detail.c_str());
  std::abort();
}

struct Graph {
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> bases;
  size_t nLinks = 0;
};

Graph Read(const uint8_t* data, size_t size) {
  Graph graph;
  if (size == 0) return graph;
  const size_t nClasses = data[0];
  const std::string lengthening(size > 1 ? data[1] % 64 : 0, 'w');
  size_t at = 2;
  for (size_t i = 0; i < nClasses; ++i) {
    const uint8_t head = at < size ? data[at++] : 0;
    graph.names.push_back((head & 0x80) != 0 && i > 0 ? graph.names.back() : "C" + std::to_string(i) + lengthening);
    std::vector<std::string> bases;
    for (size_t b = 0; b < (head & 0x7F) % (kMaxBases + 1) && at < size; ++b) {
      const size_t n = data[at++];
      bases.push_back(n < nClasses ? "C" + std::to_string(n) + lengthening
                                   : "X" + std::to_string(n % kOutsideNames) + lengthening);
    }
    graph.nLinks += bases.size();
    graph.bases.push_back(std::move(bases));
  }
  return graph;
}

// The number of paths below each name when no name reaches itself (empty when one does), as
// the count is defined: a class under a name once per base entry naming it, a class never under
// itself, and a base named twice by one class counting once.
std::map<std::string, long long> PathCounts(const Graph& graph) {
  std::map<std::string, std::vector<std::string>> children;
  for (size_t i = 0; i < graph.names.size(); ++i) {
    std::set<std::string> seen;
    for (const std::string& base : graph.bases[i])
      if (base != graph.names[i] && seen.insert(base).second) children[base].push_back(graph.names[i]);
  }
  std::map<std::string, long long> counts;
  std::map<std::string, int> state;  // 1 while below on the walk, 2 when counted
  bool bCycle = false;
  auto count = [&](auto& self, const std::string& name) -> long long {
    if (state[name] == 2) return counts[name];
    if (state[name] == 1) {
      bCycle = true;
      return 0;
    }
    state[name] = 1;
    long long total = 0;
    for (const std::string& child : children[name]) total = std::min<long long>(INT_MAX, total + 1 + self(self, child));
    state[name] = 2;
    return counts[name] = total;
  };
  for (const auto& [name, list] : children) count(count, name);
  if (bCycle) counts.clear();
  return counts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Graph graph = Read(data, size);
  CWorkSpaceObj project;
  for (size_t i = 0; i < graph.names.size(); ++i) {
    auto* pClass = new CFileObj;
    pClass->m_strClassName = graph.names[i].c_str();
    for (const std::string& base : graph.bases[i]) pClass->m_BaseClassList.AddTail(base.c_str());
    if (!graph.bases[i].empty()) pClass->m_strBaseClassName = graph.bases[i].front().c_str();
    project.m_FileObjList.AddTail(pClass);
  }
  const size_t nGraph = graph.names.size() + graph.nLinks + 1;

  const size_t nBefore = CWorkSpaceObj::HierarchySteps();
  project.LayoutHierarchyChart();
  const size_t nSteps = CWorkSpaceObj::HierarchySteps() - nBefore;
  if (nSteps > 400 * nGraph) Fail("steps", std::to_string(nSteps) + " for " + std::to_string(nGraph));
  if (project.m_ChartBoxes.size() > 8 * nGraph) Fail("boxes", std::to_string(project.m_ChartBoxes.size()));

  // No two boxes overlap (a sweep from left to right).
  std::vector<CRect> boxes;
  for (const auto& box : project.m_ChartBoxes) boxes.push_back(box.rect);
  std::sort(boxes.begin(), boxes.end(), [](const CRect& a, const CRect& b) { return a.left < b.left; });
  for (size_t a = 0; a < boxes.size(); ++a)
    for (size_t b = a + 1; b < boxes.size() && boxes[b].left < boxes[a].right; ++b)
      if (boxes[b].top < boxes[a].bottom && boxes[a].top < boxes[b].bottom)
        Fail("boxes overlap", std::to_string(boxes[a].left) + "," + std::to_string(boxes[a].top) + " and " +
                                  std::to_string(boxes[b].left) + "," + std::to_string(boxes[b].top));

  std::set<std::string> inside;
  for (const auto& box : project.m_ChartBoxes)
    if (box.rect.right <= project.m_nChartWidth && box.rect.bottom <= project.m_nChartHeight)
      inside.insert(static_cast<LPCTSTR>(box.strName));
  for (const std::string& name : graph.names)
    if (inside.count(name) == 0) Fail("no box inside the picture", name);

  for (const auto& [name, expected] : PathCounts(graph)) {
    int nCounted = 0;
    project.CountDescendants(&nCounted, name.c_str());
    if (nCounted != expected) Fail("descendants", name + ": " + std::to_string(nCounted) + " for " + std::to_string(expected));
  }
  return 0;
}
