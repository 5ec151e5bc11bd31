// Class classification and the hierarchy queries over small class graphs.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "model/CWorkSpaceObj.h"
#include "ModelTestSupport.h"
#include "testing/testing.h"

using model_test::S;

namespace {

// A project whose classes are given as "Name:Base1,Base2" (no bases: "Name").
class Graph {
 public:
  explicit Graph(std::initializer_list<const char*> classes) {
    for (const char* description : classes) {
      std::string text = description;
      auto* record = new CFileObj;
      size_t colon = text.find(':');
      record->m_strClassName = text.substr(0, colon).c_str();
      if (colon != std::string::npos) {
        std::string bases = text.substr(colon + 1);
        for (size_t start = 0; start <= bases.size();) {
          size_t comma = bases.find(',', start);
          if (comma == std::string::npos) comma = bases.size();
          record->m_BaseClassList.AddTail(bases.substr(start, comma - start).c_str());
          start = comma + 1;
        }
        record->m_strBaseClassName = record->m_BaseClassList.GetHead();
      }
      project.m_FileObjList.AddTail(record);
    }
  }

  std::vector<std::string> ClassOrder() const { return Names(project.m_FileObjList); }

  static std::vector<std::string> Names(const CFileObjList& list) {
    std::vector<std::string> names;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) names.push_back(S(list.GetNext(pos)->m_strClassName));
    return names;
  }
  static std::vector<std::string> Names(const CStringList& list) {
    std::vector<std::string> names;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) names.push_back(S(list.GetNext(pos)));
    return names;
  }

  CWorkSpaceObj project;
};

void FillList(CStringList& list, std::initializer_list<const char*> names) {
  for (const char* name : names) list.AddTail(name);
}

std::string MostOf(const CWorkSpaceObj& project, std::initializer_list<const char*> names) {
  CStringList list;
  FillList(list, names);
  return S(project.FindNameWithMostDescendants(list));
}

}  // namespace

TEST(KnownClasses, LookUpTable) {
  CWorkSpaceObj project;
  project.m_FileObjList.AddTail(new CFileObj);
  project.m_FileObjList.GetHead()->m_strClassName = "CMine";
  const std::pair<const char*, DWORD> cases[] = {
      {"CButton", 1003}, {"CWnd", 1050},       {"CControlBar", 1061}, {"CAnimateCtrl", 1000},
      {"CBrush", 0},     {"CString", 0},       {"CMine", 0},          {"", 0},
      {"cbutton", 0},    {"CButton ", 0},      {"SECListCtrl", 1050}, {"SECListBox", 1023},
      {"SECStatic", 1042}, {"SECBitmapButton", 1003},
  };
  for (const auto& [name, id] : cases) EXPECT_EQ(project.LookUpKnownClass(name), id) << name;
}

TEST(Hierarchy, CountsAllLevelsAndReturnsDirectSubclasses) {
  Graph g({"A", "B:A", "C:A", "D:B"});
  int counter = 0;
  EXPECT_EQ(g.project.CountDescendants(&counter, "A"), 2);
  EXPECT_EQ(counter, 3);
  counter = 10;
  EXPECT_EQ(g.project.CountDescendants(&counter, "B"), 1);
  EXPECT_EQ(counter, 11);
  counter = 0;
  EXPECT_EQ(g.project.CountDescendants(&counter, "Z"), 0);
  EXPECT_EQ(counter, 0);
}

TEST(Hierarchy, ClassReachedByTwoPathsCountsTwice) {
  Graph g({"A", "B:A", "C:A", "D:B,C", "E:D"});
  int counter = 0;
  EXPECT_EQ(g.project.CountDescendants(&counter, "A"), 2);
  EXPECT_EQ(counter, 6);  // B, C, D and E below B, D and E below C
}

TEST(Hierarchy, CyclesEnd) {
  Graph g({"A:B", "B:A", "Self:Self", "C:C,A"});
  int counter = 0;
  EXPECT_EQ(g.project.CountDescendants(&counter, "A"), 2);  // B and C
  EXPECT_EQ(counter, 3);  // B, A again below B (not entered), C
  counter = 0;
  EXPECT_EQ(g.project.CountDescendants(&counter, "Self"), 0);
  EXPECT_EQ(counter, 0);
  // A and B reach no root: the first of them in the sorted list (equal counts: the later one) is one.
  g.project.BuildRootClassList();
  EXPECT_EQ(Graph::Names(g.project.m_RootClassList), (std::vector<std::string>{"Self", "B"}));
}

// Classes that name each other as bases (not valid C++, but the analyser takes any text): each of
// N classes derives from the next two, round. The counts end in steps that grow with the links,
// every class of the cycle has the same number of descendants (each link of the cycle counted
// once, and what hangs below it), and the cycle, which has no root, gets one so that the class
// trees reach every class.
TEST(Hierarchy, CyclesUnderMultipleInheritanceCountInStepsOfTheLinksAndGetARoot) {
  const int nClasses = 60;
  Graph g({});
  for (int i = 0; i < nClasses; ++i) {
    auto* record = new CFileObj;
    record->m_strClassName = ("R" + std::to_string(i)).c_str();
    record->m_BaseClassList.AddTail(("R" + std::to_string((i + 1) % nClasses)).c_str());
    record->m_BaseClassList.AddTail(("R" + std::to_string((i + 2) % nClasses)).c_str());
    g.project.m_FileObjList.AddTail(record);
  }
  // A class below the cycle and a class outside it.
  for (const char* extra : {"Below:R7", "Alone"}) {
    Graph one({extra});
    g.project.m_FileObjList.AddTail(one.project.m_FileObjList.RemoveHead());
  }
  brambolt::test::HangWatchdog watchdog("descendant counts over a cycle of 60 classes", 60);
  for (int i = 0; i < nClasses; ++i) {
    int counter = 0;
    EXPECT_EQ(g.project.CountDescendants(&counter, ("R" + std::to_string(i)).c_str()), i == 7 ? 3 : 2) << i;
    EXPECT_EQ(counter, 2 * nClasses + 1) << i;
  }
  // Ordering the names of the cycle takes steps in proportion to the classes and links.
  const size_t nBefore = CWorkSpaceObj::HierarchySteps();
  CStringList names;
  for (int i = 0; i < nClasses; ++i) names.AddTail(("R" + std::to_string(i)).c_str());
  g.project.SortNamesByDescendants(names);
  const size_t nLinks = 2 * nClasses + 1;
  EXPECT_LE(CWorkSpaceObj::HierarchySteps() - nBefore, 4 * (nClasses + 2 + nLinks));
  EXPECT_GT(CWorkSpaceObj::HierarchySteps() - nBefore, nLinks);
  g.project.BuildRootClassList();
  const std::vector<std::string> roots = Graph::Names(g.project.m_RootClassList);
  ASSERT_EQ(roots.size(), 2u);
  EXPECT_EQ(roots[0], "Alone");
  EXPECT_EQ(roots[1].rfind("R", 0), 0u) << roots[1];
}

TEST(Hierarchy, DerivedClassesInClassListOrderWithoutTheClassItself) {
  Graph g({"C:A", "A:A", "B:X,A", "D:B"});
  CFileObjList derived;
  g.project.GetDerivedClasses(derived, "A");
  EXPECT_EQ(Graph::Names(derived), (std::vector<std::string>{"C", "B"}));
}

TEST(Hierarchy, MostDescendantsLaterElementWinsTies) {
  Graph g({"A", "B:A", "C", "D:C", "E"});
  EXPECT_EQ(MostOf(g.project, {"A", "C", "E"}), "C");
  EXPECT_EQ(MostOf(g.project, {"E", "B"}), "B");
  EXPECT_EQ(MostOf(g.project, {}), "");
  EXPECT_EQ(g.project.FindClassWithMostDescendants(g.project.m_FileObjList), g.project.FindClassByName("C"));
  CFileObjList empty;
  EXPECT_EQ(g.project.FindClassWithMostDescendants(empty), nullptr);
}

TEST(Hierarchy, SortingRunsFromMostToFewestWithTiesReversed) {
  Graph g({"A", "B:A", "C:A", "D:B"});
  CFileObjList list;
  g.project.CopyClassList();
  list.AddTail(&g.project.m_WorkFileObjList);
  g.project.SortClassesByDescendants(list);
  EXPECT_EQ(Graph::Names(list), (std::vector<std::string>{"A", "B", "D", "C"}));

  CStringList names;
  FillList(names, {"D", "", "C", "A", "Q", "B"});
  g.project.SortNamesByDescendants(names);
  // Every name stays, an empty one too.
  EXPECT_EQ(Graph::Names(names), (std::vector<std::string>{"A", "B", "Q", "C", "", "D"}));
}

TEST(Hierarchy, RootNames) {
  struct Case {
    std::initializer_list<const char*> classes;
    std::initializer_list<const char*> components;
    std::vector<std::string> roots;
  };
  const Case cases[] = {
      {{"A", "B:A"}, {}, {"A"}},
      {{"W1:CWnd", "W2:CWnd", "W3:CWnd,CObject"}, {}, {"CWnd"}},
      {{"Twin", "Twin"}, {}, {"Twin", "Twin"}},
      {{"A:B,C", "C"}, {}, {"C"}},
      {{"L:SECListCtrl"}, {"SECListCtrl"}, {"SECListCtrl"}},
      // A base that names a specialisation of the project hangs under it, as under any class.
      {{"Base", "Box<Pair<int> >:Base", "Leaf:Box<Pair<int> >", "Other:Box<long>"}, {}, {"Base", "Box<long>"}},
      {{}, {}, {}},
  };
  for (const Case& c : cases) {
    Graph g(c.classes);
    for (const char* component : c.components) g.project.m_ComponentClassList.AddTail(component);
    g.project.m_RootClassList.AddTail("stale");
    g.project.BuildRootClassList();
    EXPECT_EQ(Graph::Names(g.project.m_RootClassList), c.roots);
  }
}

TEST(Hierarchy, BuildingRootsReordersTheClassListByDescendants) {
  Graph g({"Leaf:Mid", "Lone", "Mid:Top", "Top", "Other:CWnd"});
  EXPECT_EQ(g.ClassOrder(), (std::vector<std::string>{"Leaf", "Lone", "Mid", "Top", "Other"}));
  g.project.BuildRootClassList();
  EXPECT_EQ(g.ClassOrder(), (std::vector<std::string>{"Top", "Mid", "Other", "Lone", "Leaf"}));
  EXPECT_EQ(Graph::Names(g.project.m_RootClassList), (std::vector<std::string>{"Top", "CWnd", "Lone"}));
  EXPECT_EQ(Graph::Names(g.project.m_WorkFileObjList), (std::vector<std::string>{"Leaf", "Lone", "Mid", "Top", "Other"}));
}

TEST(Hierarchy, NoBaseInProjectLooksAtOtherRecordsOfTheWorkingCopy) {
  Graph g({"A:B", "B", "S:S", "X:CWnd"});
  g.project.CopyClassList();
  EXPECT_FALSE(g.project.HasNoBaseInProject(g.project.FindClassByName("A")));
  EXPECT_TRUE(g.project.HasNoBaseInProject(g.project.FindClassByName("B")));
  EXPECT_TRUE(g.project.HasNoBaseInProject(g.project.FindClassByName("S")));
  EXPECT_TRUE(g.project.HasNoBaseInProject(g.project.FindClassByName("X")));
}

TEST(Hierarchy, ComponentClassLookup) {
  CWorkSpaceObj project;
  project.m_ComponentClassList.AddTail("SECListCtrl");
  CString text = "unchanged";
  EXPECT_FALSE(project.FindComponentClass(text, "SECTreeCtrl"));
  EXPECT_EQ(S(text), "unchanged");
  EXPECT_TRUE(project.FindComponentClass(text, "SECListCtrl"));
  EXPECT_EQ(S(text), "SECListCtrl");
}

TEST(Hierarchy, FindClassByNameGivesTheFirstOfThatName) {
  Graph g({"A", "B", "A"});
  EXPECT_EQ(g.project.FindClassByName("A"), g.project.m_FileObjList.GetHead());
  EXPECT_EQ(g.project.FindClassByName("a"), nullptr);
  EXPECT_TRUE(g.project.IsProjectClass("B"));
  EXPECT_FALSE(g.project.IsProjectClass("C"));
  g.project.DeleteAllFileObjs();
  EXPECT_TRUE(g.project.m_FileObjList.IsEmpty());
  EXPECT_EQ(g.project.FindClassByName("A"), nullptr);
}

TEST(Hierarchy, DeepChainsAndManyPathsStayWithinBounds) {
  Graph g({});
  // A chain of 100,000 classes: C1 : C0, C2 : C1, ...
  for (int i = 1; i <= 100000; ++i) {
    auto* record = new CFileObj;
    record->m_strClassName = ("C" + std::to_string(i)).c_str();
    record->m_BaseClassList.AddTail(("C" + std::to_string(i - 1)).c_str());
    g.project.m_FileObjList.AddTail(record);
  }
  int counter = 0;
  EXPECT_EQ(g.project.CountDescendants(&counter, "C0"), 1);
  EXPECT_EQ(counter, 100000);

  // 40 diamonds in a row reach the last class by 2^40 paths: the count stops at INT_MAX.
  Graph d({});
  for (int i = 0; i < 40; ++i) {
    std::string top = "D" + std::to_string(i);
    std::string next = "D" + std::to_string(i + 1);
    for (const std::string& side : {top + "L", top + "R"}) {
      auto* record = new CFileObj;
      record->m_strClassName = side.c_str();
      record->m_BaseClassList.AddTail(top.c_str());
      d.project.m_FileObjList.AddTail(record);
    }
    auto* bottom = new CFileObj;
    bottom->m_strClassName = next.c_str();
    bottom->m_BaseClassList.AddTail((top + "L").c_str());
    bottom->m_BaseClassList.AddTail((top + "R").c_str());
    d.project.m_FileObjList.AddTail(bottom);
  }
  counter = 0;
  EXPECT_EQ(d.project.CountDescendants(&counter, "D0"), 2);
  EXPECT_EQ(counter, INT_MAX);
  counter = 0;
  d.project.CountDescendants(&counter, "D38");
  // D38L and D38R; D39 below each; D39L and D39R below each D39; D40 below each of those.
  EXPECT_EQ(counter, 2 + 2 + 4 + 4);
}

// A header's bases name the specialisation the project documents however they spell it: with or
// without blanks inside the angle brackets ("Box<Pair<int>>", "Box< int >") and from the global
// namespace ("::Box<int>"), as a C++ reader takes them; a base of another argument hangs under the
// primary template.
TEST(Hierarchy, ABaseNamesTheDocumentedSpecialisationHoweverItsBlanksAndQualificationAreWritten) {
  model_test::TempFolder folder;
  folder.Write("Header Files/Box.h",
               "template <class T> class Pair\n{\npublic:\n    T first;\n};\n"
               "template <class T> class Box\n{\npublic:\n    T item;\n};\n"
               "template <> class Box<int>\n{\npublic:\n    int item;\n};\n"
               "template <> class Box<Pair<int> >\n{\npublic:\n    int pairItem;\n};\n"
               "class IntBox : public Box<int>\n{\npublic:\n    void Fill();\n};\n"
               "class SpacedBox : public Box< int >\n{\npublic:\n    void Spaced();\n};\n"
               "class PairBox : public Box<Pair<int>>\n{\npublic:\n    void Paired();\n};\n"
               "class SpacedPairBox : public Box< Pair< int > >\n{\npublic:\n    void Paired();\n};\n"
               "class DoubleBox : public Box<double>\n{\npublic:\n    void Twice();\n};\n"
               "namespace ns {\nclass NsBox : public ::Box<int>\n{\npublic:\n    void Nest();\n};\n}\n");
  CWorkSpaceObj project;
  project.AnalyseProjectFiles((folder.Path() + "/Header Files\\*.*").c_str());
  project.BuildRootClassList();
  std::vector<std::string> roots = Graph::Names(project.m_RootClassList);
  std::sort(roots.begin(), roots.end());
  EXPECT_EQ(roots, (std::vector<std::string>{"Box", "Box<Pair<int> >", "Box<int>", "Pair"}));
  const auto derived = [&](const char* name) {
    CFileObjList list;
    project.GetDerivedClasses(list, name);
    std::vector<std::string> names = Graph::Names(list);
    std::sort(names.begin(), names.end());
    return names;
  };
  EXPECT_EQ(derived("Box"), (std::vector<std::string>{"DoubleBox"}));
  EXPECT_EQ(derived("Box<int>"), (std::vector<std::string>{"IntBox", "NsBox", "SpacedBox"}));
  EXPECT_EQ(derived("Box<Pair<int> >"), (std::vector<std::string>{"PairBox", "SpacedPairBox"}));
}
