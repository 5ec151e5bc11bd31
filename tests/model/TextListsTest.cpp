// The component list file and the recent-project text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/CGenMenuObj.h"
#include "model/RecentProjectList.h"
#include "ModelTestSupport.h"

using model_test::S;
using model_test::TempFolder;

namespace {

struct Entry {
  std::string name, text;
  int id;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> Entries(const CGenMenuObjList& list) {
  std::vector<Entry> entries;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const CGenMenuObj* entry = list.GetNext(pos);
    entries.push_back({S(entry->m_strComponentName), S(entry->m_strComponentText), entry->m_nId});
  }
  return entries;
}

std::vector<std::string> Items(const CStringList& list) {
  std::vector<std::string> items;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) items.push_back(S(list.GetNext(pos)));
  return items;
}

void DeleteAll(CGenMenuObjList& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

}  // namespace

TEST(ComponentList, AcceptsNameHashTextLinesNumberedFrom1000) {
  TempFolder folder;
  std::string path = folder.Write("Component.dat",
                                  "Alpha#alpha.txt\r\n\r\nBeta#\r\n  Gamma#gamma.txt  \r\n#only text\nNo hash\n"
                                  "Two#hash#es.txt\nLast#last.txt");
  CGenMenuObjList list;
  ASSERT_TRUE(LoadComponentList(path.c_str(), list));
  const std::vector<Entry> expected = {
      {"Alpha", "alpha.txt", 1000},
      {"Gamma", "gamma.txt", 1001},
      {"Two#hash", "es.txt", 1002},
      {"Last", "last.txt", 1003},
  };
  EXPECT_EQ(Entries(list), expected);
  EXPECT_EQ(S(FindComponentName(list, 1001)), "Gamma");
  EXPECT_EQ(S(FindComponentName(list, 999)), "");
  DeleteAll(list);
}

TEST(ComponentList, MissingFileLeavesTheListEmpty) {
  TempFolder folder;
  CGenMenuObjList list;
  EXPECT_FALSE(LoadComponentList((folder / "Component.dat").c_str(), list));
  EXPECT_TRUE(list.IsEmpty());
}

TEST(RecentProjects, JoinEndsEveryPathWithASemicolon) {
  CStringList list;
  list.AddTail("A");
  list.AddTail("B");
  CString text = "x";
  EXPECT_EQ(JoinRecentProjectList(text, list), 2);
  EXPECT_EQ(S(text), "xA;B;");
}

TEST(RecentProjects, SplitTable) {
  struct Case {
    std::vector<std::string> before;
    std::string text;
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {{}, "A;B;", {"A", "B"}},
      {{}, "A;A;B", {"A", "B"}},
      {{}, "A;;B;;", {"A", "", "B"}},
      {{}, "", {}},
      {{}, ";", {""}},
      {{"B"}, "A;B;C", {"B", "A", "C"}},
      {{}, "/home/u/P 1.dcp;/home/u/p 1.dcp", {"/home/u/P 1.dcp", "/home/u/p 1.dcp"}},
  };
  for (const Case& c : cases) {
    CStringList list;
    for (const std::string& item : c.before) list.AddTail(item.c_str());
    EXPECT_EQ(SplitRecentProjectList(list, c.text.c_str()), static_cast<int>(c.after.size())) << c.text;
    EXPECT_EQ(Items(list), c.after) << c.text;
  }
}

TEST(RecentProjects, JoinThenSplitGivesThePathsBack) {
  CStringList paths;
  for (const char* path : {"/a/One.dcp", "/b/Two words.dcp", "/c/\xC4\xE3\xBA\xC3.dcp"}) paths.AddTail(path);
  CString text;
  JoinRecentProjectList(text, paths);
  CStringList back;
  SplitRecentProjectList(back, text);
  EXPECT_EQ(Items(back), Items(paths));
}
