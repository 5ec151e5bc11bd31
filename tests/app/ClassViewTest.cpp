// The class tree and the hierarchy tree built from a small analysed project: texts, images, data
// words and order, progress, refreshing, a cycle of bases, and double-clicks that open the right
// file in the code editor at the right line.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "afx/CDocTemplate.h"
#include "afx/CMDIChildWnd.h"
#include "afx/CMDIFrameWnd.h"
#include "app/CMainFrame.h"
#include "app/ClassView.h"
#include "app/ClassViewStruct.h"
#include "editor/app/CEditCodeView.h"
#include "editor/app/GWExtAppServices.h"
#include "editor/app/GWExtController.h"
#include "model/CWorkSpaceObj.h"
#include "resources/MainFrameRes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ExplorerTestSupport.h"
#include "tests/editor/TestLanguage.h"
#include "tests/model/ModelTestSupport.h"

namespace {

using explorertest::ChildNamed;
using model_test::RecordingShell;
using model_test::S;

// The editor's side of the main frame's pending search.
class PendingSearch : public GWExtAppServices {
 public:
  PendingSearch() : m_pPrevious(GWExtSetAppServices(this)) {}
  ~PendingSearch() override { GWExtSetAppServices(m_pPrevious); }
  BOOL LookupExtension(LPCTSTR, CString& language) override {
    language = "C";
    return TRUE;
  }
  BOOL GetPendingSearch(CString& text) override {
    if (frame == nullptr || !frame->m_bFindPending) return FALSE;
    text = frame->m_strFindText;
    handed.push_back(S(text));
    return TRUE;
  }
  void ClearPendingSearch() override {
    if (frame != nullptr) frame->m_bFindPending = 0;
  }
  CMainFrame* frame = nullptr;
  std::vector<std::string> handed;  // every search the editor ran

 private:
  GWExtAppServices* m_pPrevious;
};

constexpr const char* kShapes =
    "class Shape\n{\npublic:\n  Shape();\n  virtual void Draw();\n  int m_nColour;\nprotected:\n"
    "  void Move(int dx);\n  int m_nX;\nprivate:\n  int m_nSecret;\n  void Reset();\n};\n\n"
    "class Square : public Shape\n{\npublic:\n  int m_nSide;\n};\n\n"
    "class Circle : public Shape\n{\n  int m_nRadius;\npublic:\n  void Draw();\n};\n";
// A window class from outside the project, and a cycle of bases hanging under a project class.
constexpr const char* kWidget =
    "class Widget : public CWnd\n{\npublic:\n  void Paint();\n};\n\n"
    "class Loop1 : public Square, public Loop2\n{\n};\n\n"
    "class Loop2 : public Loop1\n{\n};\n";
// Two classes' functions in one source file, Circle's first.
constexpr const char* kShapesSource =
    "#include \"shapes.h\"\n\nvoid Circle::Draw()\n{\n}\n\nShape::Shape()\n{\n}\n\n"
    "void Shape::Move(int dx)\n{\n}\n\nvoid Shape::Draw()\n{\n}\n";

class ClassTreeTest : public ::testing::Test {
 protected:
  ClassTreeTest() : lang("C"), def("Default"), scope({&lang, &def}) {
    editortest::MakeC(lang);
    folder.Write("Header Files/shapes.h", kShapes);
    folder.Write("Header Files/widget.h", kWidget);
    folder.Write("Source Code/shapes.cpp", kShapesSource);
    shell.m_strFolder = (folder.Path() + "\\").c_str();
    project.AnalyseProjectFiles(shell.m_strFolder + "Header Files\\*.*");
    shell.m_pWorkSpace = &project;
    shell.m_strName = "Demo";
    shell.calls.clear();
  }

  template <class Tree>
  void Create(Tree& tree) {
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 400), &host, 101));
    brambolt::test::RunUntilIdle();
  }

  // One line per item in tree order: indentation by depth, text, image and data word (the
  // class tree's records by kind).
  template <class Tree>
  static void Dump(Tree& tree, HTREEITEM hParent, int depth, std::vector<std::string>& lines) {
    for (HTREEITEM h = tree.GetChildItem(hParent); h != nullptr; h = tree.GetNextSiblingItem(h)) {
      const explorertest::Item item = explorertest::ItemOf(tree, h);
      EXPECT_EQ(item.image, item.selectedImage);
      std::string data = std::to_string(item.data);
      if constexpr (std::is_same_v<Tree, ClassView>) {
        const auto* pFind = reinterpret_cast<const CFindItemObj*>(item.data);
        data = pFind != nullptr ? "kind " + std::to_string(pFind->m_nKind) : "none";
      }
      // " +": a closed item with an expand button whose children come when it is opened.
      TVITEM tvi{};
      tvi.mask = TVIF_CHILDREN | TVIF_HANDLE;
      tvi.hItem = h;
      tree.GetItem(&tvi, FALSE, FALSE);
      const bool bClosed = tvi.cChildren == 1 && !tree.IsExpanded(h);
      lines.push_back(std::string(2 * depth, ' ') + item.text + " #" + std::to_string(item.image) + " " + data +
                      (bClosed ? " +" : ""));
      Dump(tree, h, depth + 1, lines);
    }
  }
  template <class Tree>
  static std::vector<std::string> Dump(Tree& tree) {
    std::vector<std::string> lines;
    Dump(tree, TVI_ROOT, 0, lines);
    return lines;
  }

  // The user clicks an item's expand button.
  static void ClickButton(SECTreeBaseC& tree, HTREEITEM hItem) {
    tree.EnsureVisible(hItem);
    brambolt::test::RunUntilIdle();
    const int nRow = tree.GetItemRow(hItem);
    CRect cell, button;
    ASSERT_TRUE(tree.GetSubItemRect(nRow, 0, &cell, 0));
    tree.GetButtonRect(&button, nRow, cell.TopLeft());
    ASSERT_FALSE(button.IsRectEmpty());
    brambolt::test::Click(tree.GetSafeHwnd(), button.CenterPoint());
    brambolt::test::RunUntilIdle();
  }
  // The user selects an item and presses the numeric keypad's "*".
  static void ExpandAllBelow(SECTreeBaseC& tree, HTREEITEM hItem) {
    tree.SetFocus();
    tree.SelectItem(hItem);
    brambolt::test::PressKey(VK_MULTIPLY);
    brambolt::test::RunUntilIdle();
  }
  // The project's second header holds this text, analysed again with the first.
  void Reanalyse(const std::string& strWidgetHeader) {
    folder.Write("Header Files/widget.h", strWidgetHeader);
    project.DeleteAllFileObjs();
    project.AnalyseProjectFiles(shell.m_strFolder + "Header Files\\*.*");
    shell.calls.clear();
  }

  brambolt::test::UiSession session;
  CWinApp app{"Class Tree Test"};
  editortest::TestLanguage lang, def;
  editortest::LanguageScope scope;
  RecordingShell shell;
  model_test::TempFolder folder;
  CWorkSpaceObj project;
  apptest::Host host{320, 420};
};

TEST_F(ClassTreeTest, ClassTreeListsClassesAndMembersByTextWithImagesByAccess) {
  ClassView tree;
  Create(tree);
  const std::vector<std::string> expected = {
      "Demo Classes #0 none",
      "  Circle #3 kind 1000",
      "    Draw #4 kind 1001",
      "    m_nRadius #9 kind 1002",  // before any access label: private
      "  Loop1 #3 kind 1000",
      "  Loop2 #3 kind 1000",
      "  Shape #3 kind 1000",
      "    Draw #4 kind 1001",
      "    m_nColour #7 kind 1002",
      "    m_nSecret #9 kind 1002",
      "    m_nX #8 kind 1002",
      "    Move #5 kind 1001",
      "    Reset #6 kind 1001",
      "    Shape #4 kind 1001",
      "  Square #3 kind 1000",
      "    m_nSide #7 kind 1002",
      "  Widget #3 kind 1000",
      "    Paint #4 kind 1001",
  };
  EXPECT_EQ(Dump(tree), expected);
  EXPECT_TRUE(tree.IsExpanded(tree.GetRootItem()));
  // The images come from bitmap 310: ten cells of 23 x 19.
  EXPECT_EQ(tree.m_ImageList.GetImageCount(), 10);
  int cx = 0, cy = 0;
  EXPECT_TRUE(::ImageList_GetIconSize(tree.m_ImageList.GetSafeHandle(), &cx, &cy));
  EXPECT_EQ(std::make_pair(cx, cy), std::make_pair(23, 19));
  EXPECT_EQ(tree.m_FindItemList.GetCount(), static_cast<INT_PTR>(expected.size() - 1));

  // A function's record carries its declaration, both file names and no header flag.
  HTREEITEM hShape = ChildNamed(tree, tree.GetRootItem(), "Shape");
  const auto* pMove = reinterpret_cast<const CFindItemObj*>(tree.GetItemData(ChildNamed(tree, hShape, "Move")));
  EXPECT_EQ(S(pMove->m_strFindText), "void Move(int dx);");
  EXPECT_EQ(S(pMove->m_strHeaderFile), "shapes.h");
  EXPECT_EQ(S(pMove->m_strSourceFile), "shapes.cpp");
  EXPECT_EQ(pMove->m_nFind, 0);
  const auto* pClass = reinterpret_cast<const CFindItemObj*>(tree.GetItemData(hShape));
  EXPECT_EQ(S(pClass->m_strFindText), "class Shape");

  const std::vector<std::string> progress = {
      "BeginProgress Loading class information... 0 6 0 16640",
      "SetProgressPos 1", "SetProgressPos 2", "SetProgressPos 3", "SetProgressPos 4", "SetProgressPos 5",
      "SetProgressPos 6", "EndProgress"};
  EXPECT_EQ(shell.calls, progress);
}

TEST_F(ClassTreeTest, HierarchyShowsClassesUnderBasesAndOutsideBasesAtTheTopAndEndsACycle) {
  ClassViewStruct tree;
  Create(tree);
  // The fill shows the top-level names, each with its button; what is below comes as it is opened.
  EXPECT_EQ(Dump(tree), (std::vector<std::string>{"Demo Classes #0 900", "  CWnd #3 0 +", "  Shape #3 0 +"}));
  EXPECT_EQ(tree.GetCount(), 3);
  ExpandAllBelow(tree, tree.GetRootItem());
  const std::vector<std::string> expected = {
      "Demo Classes #0 900",
      "  CWnd #3 0",
      "    Widget #3 1000",
      "  Shape #3 0",
      "    Circle #3 1000",
      "    Square #3 1000",
      "      Loop1 #3 1000",
      "        Loop2 #3 1000",
      "          Loop1 #3 1000",  // the cycle closes here and is not entered again
  };
  EXPECT_EQ(Dump(tree), expected);
  ASSERT_FALSE(shell.calls.empty());
  EXPECT_EQ(shell.calls.front(), "BeginProgress Loading class structure information... 0 2 0 16640");
  EXPECT_EQ(shell.calls.back(), "EndProgress");
}

// Bases written with a namespace or template arguments: a class stands under the project's class
// of the base's last name part; a base outside the project stands at the top as written.
TEST_F(ClassTreeTest, HierarchyPlacesClassesUnderBasesWrittenWithNamespacesOrTemplateArguments) {
  Reanalyse("namespace ns {\nclass Base\n{\n};\n}\nclass Derived : public ns::Base\n{\n};\n"
            "class Tinted : public ::geo::Shape<int>\n{\n};\nclass Failure : public std::runtime_error\n{\n};\n");
  ClassViewStruct tree;
  Create(tree);
  ExpandAllBelow(tree, tree.GetRootItem());
  EXPECT_EQ(Dump(tree), (std::vector<std::string>{"Demo Classes #0 900", "  Base #3 0", "    Derived #3 1000",
                                                  "  Shape #3 0", "    Circle #3 1000", "    Square #3 1000",
                                                  "    Tinted #3 1000", "  std::runtime_error #3 0",
                                                  "    Failure #3 1000"}));
}

// Opening an item inserts its direct subclasses and nothing below them; a class with two bases
// stands under each, and opening it again after closing it adds nothing.
TEST_F(ClassTreeTest, OpeningAClassShowsItsDirectSubclassesWithAClassUnderEachOfItsBases) {
  Reanalyse("class A\n{\n};\nclass C : public A\n{\n};\nclass B : public A\n{\n};\n"
            "class D : public B, public C\n{\n};\nclass E : public D\n{\n};\nclass F : public C\n{\n};\n");
  ClassViewStruct tree;
  Create(tree);
  HTREEITEM hA = ChildNamed(tree, tree.GetRootItem(), "A");
  ASSERT_NE(hA, nullptr);
  EXPECT_EQ(tree.GetCount(), 3);  // the root, A and Shape
  ClickButton(tree, hA);
  EXPECT_TRUE(tree.IsExpanded(hA));
  EXPECT_EQ(tree.GetCount(), 5);
  HTREEITEM hB = ChildNamed(tree, hA, "B");
  HTREEITEM hC = ChildNamed(tree, hA, "C");
  ClickButton(tree, hB);
  ClickButton(tree, hC);
  EXPECT_EQ(tree.GetCount(), 8);
  ClickButton(tree, ChildNamed(tree, hC, "D"));
  EXPECT_EQ(tree.GetCount(), 9);
  const std::vector<std::string> expected = {
      "Demo Classes #0 900",
      "  A #3 0",
      "    B #3 1000",
      "      D #3 1000 +",  // D under its first base, not opened
      "    C #3 1000",
      "      D #3 1000",    // and under its second, opened
      "        E #3 1000",
      "      F #3 1000",
      "  Shape #3 0 +",
  };
  EXPECT_EQ(Dump(tree), expected);
  // Closed and opened again, an item keeps its children and gets no more.
  ClickButton(tree, hA);
  EXPECT_FALSE(tree.IsExpanded(hA));
  ClickButton(tree, hA);
  EXPECT_EQ(Dump(tree), expected);
  // A double-click on a class label also opens it (and leaves its header to the editor).
  HTREEITEM hD = ChildNamed(tree, hB, "D");
  tree.EnsureVisible(hD);
  brambolt::test::DoubleClick(tree.GetSafeHwnd(), explorertest::LabelPoint(tree, hD));
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(explorertest::TextsOf(tree, hD), std::vector<std::string>{"E"});
  EXPECT_EQ(tree.GetCount(), 10);
}

// A ladder of classes each deriving from the two of the level above, and a ring of classes each
// naming the next two as bases, have paths from the top that grow exponentially with the classes.
// Filling the tree inserts the top-level names only; "*" on the root unfolds each class once, so
// the items grow with the classes and their base links, and every class is shown.
TEST_F(ClassTreeTest, ManyPathsThroughMultipleInheritanceFillAndUnfoldInStepsOfTheLinks) {
  const int nClasses = 40;
  std::string ladder = "class L0\n{\n};\nclass L1 : public L0\n{\n};\n";
  std::string ring;
  for (int i = 0; i < nClasses; ++i) {
    if (i >= 2)
      ladder += "class L" + std::to_string(i) + " : public L" + std::to_string(i - 1) + ", public L" +
                std::to_string(i - 2) + "\n{\n};\n";
    ring += "class R" + std::to_string(i) + " : public R" + std::to_string((i + 1) % nClasses) + ", public R" +
            std::to_string((i + 2) % nClasses) + "\n{\n};\n";
  }
  const struct {
    const char* name;
    std::string header;
    int nLinks;
  } graphs[] = {{"ladder", ladder, 2 * nClasses - 3}, {"ring", ring, 2 * nClasses}};
  for (const auto& graph : graphs) {
    SCOPED_TRACE(graph.name);
    Reanalyse(graph.header);
    ClassViewStruct tree;
    {
      brambolt::test::HangWatchdog watchdog(std::string("filling the class structure of a ") + graph.name, 60);
      Create(tree);
    }
    // The root, Shape and the graph's one top-level name.
    const std::vector<std::string> top = explorertest::TextsOf(tree, tree.GetRootItem());
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(tree.GetCount(), 3);
    {
      brambolt::test::HangWatchdog watchdog(std::string("unfolding the class structure of a ") + graph.name, 60);
      ExpandAllBelow(tree, tree.GetRootItem());
    }
    // Below the graph's top-level name each class was opened once: one item per base link.
    std::multiset<std::string> shown;
    std::function<void(HTREEITEM)> collect = [&](HTREEITEM hParent) {
      for (HTREEITEM h = tree.GetChildItem(hParent); h != nullptr; h = tree.GetNextSiblingItem(h)) {
        shown.insert(S(tree.GetItemText(h)));
        collect(h);
      }
    };
    collect(ChildNamed(tree, tree.GetRootItem(), top[0] == "Shape" ? top[1] : top[0]));
    EXPECT_EQ(static_cast<int>(shown.size()), graph.nLinks);
    const char prefix = graph.name[0] == 'l' ? 'L' : 'R';
    for (int i = 0; i < nClasses; ++i) {
      const std::string name = prefix + std::to_string(i);
      EXPECT_TRUE(shown.count(name) >= 1 || name == top[0] || name == top[1]) << name;
    }
  }
}

TEST_F(ClassTreeTest, RefreshRebuildsWithoutStaleRecordsAndFollowsTheProject) {
  ClassView classes;
  ClassViewStruct hierarchy;
  Create(classes);
  Create(hierarchy);
  ExpandAllBelow(hierarchy, hierarchy.GetRootItem());
  const std::vector<std::string> first = Dump(classes);
  const std::vector<std::string> firstHierarchy = Dump(hierarchy);
  for (int i = 0; i < 2; ++i) {
    classes.Refresh();
    hierarchy.Refresh();
  }
  EXPECT_EQ(Dump(classes), first);
  // Refreshed, the hierarchy is closed again down to its top-level names.
  EXPECT_EQ(hierarchy.GetCount(), 3);
  ExpandAllBelow(hierarchy, hierarchy.GetRootItem());
  EXPECT_EQ(Dump(hierarchy), firstHierarchy);
  // Every record belongs to exactly one item of the present tree.
  std::vector<DWORD_PTR> data;
  std::function<void(HTREEITEM)> collect = [&](HTREEITEM hParent) {
    for (HTREEITEM h = classes.GetChildItem(hParent); h != nullptr; h = classes.GetNextSiblingItem(h)) {
      data.push_back(classes.GetItemData(h));
      collect(h);
    }
  };
  collect(classes.GetRootItem());
  ASSERT_EQ(data.size(), static_cast<size_t>(classes.m_FindItemList.GetCount()));
  for (DWORD_PTR d : data) EXPECT_NE(classes.m_FindItemList.Find(reinterpret_cast<CFindItemObj*>(d)), nullptr);

  // A header changed on disk and analysed again: the refreshed trees show its new class.
  folder.Write("Header Files/widget.h", "class Gadget : public Circle\n{\npublic:\n  int m_nSize;\n};\n");
  project.DeleteAllFileObjs();
  project.AnalyseProjectFiles(shell.m_strFolder + "Header Files\\*.*");
  classes.Refresh();
  hierarchy.Refresh();
  EXPECT_EQ(explorertest::TextsOf(classes, classes.GetRootItem()),
            (std::vector<std::string>{"Circle", "Gadget", "Shape", "Square"}));
  EXPECT_EQ(explorertest::TextsOf(classes, ChildNamed(classes, classes.GetRootItem(), "Gadget")),
            std::vector<std::string>{"m_nSize"});
  HTREEITEM hShape = ChildNamed(hierarchy, hierarchy.GetRootItem(), "Shape");
  classes.ShowWindow(SW_HIDE);  // the two trees stand at the same place
  ClickButton(hierarchy, hShape);
  HTREEITEM hCircle = ChildNamed(hierarchy, hShape, "Circle");
  ASSERT_NE(hCircle, nullptr);
  ClickButton(hierarchy, hCircle);
  EXPECT_EQ(explorertest::TextsOf(hierarchy, hCircle), std::vector<std::string>{"Gadget"});

  // A project without classes: the root alone, over a progress range of 1.
  project.DeleteAllFileObjs();
  shell.calls.clear();
  classes.Refresh();
  hierarchy.Refresh();
  EXPECT_EQ(Dump(classes), std::vector<std::string>{"Demo Classes #0 none"});
  EXPECT_EQ(Dump(hierarchy), std::vector<std::string>{"Demo Classes #0 900"});
  EXPECT_TRUE(classes.m_FindItemList.IsEmpty());
  const std::vector<std::string> empty = {"BeginProgress Loading class information... 0 1 0 16640", "EndProgress",
                                          "BeginProgress Loading class structure information... 0 1 0 16640",
                                          "EndProgress"};
  EXPECT_EQ(shell.calls, empty);

  // The project closed: both trees are empty and no progress shows.
  shell.m_strName.Empty();
  shell.calls.clear();
  classes.Refresh();
  hierarchy.Refresh();
  EXPECT_EQ(classes.GetCount(), 0);
  EXPECT_EQ(hierarchy.GetCount(), 0);
  EXPECT_TRUE(shell.calls.empty());
}

// The records of the class tree's items in tree order: text, find text, files, kind and flag.
std::vector<std::string> RecordsOf(ClassView& tree) {
  std::vector<std::string> lines;
  std::function<void(HTREEITEM)> collect = [&](HTREEITEM hParent) {
    for (HTREEITEM h = tree.GetChildItem(hParent); h != nullptr; h = tree.GetNextSiblingItem(h)) {
      const auto* pFind = reinterpret_cast<const CFindItemObj*>(tree.GetItemData(h));
      lines.push_back(S(tree.GetItemText(h)) + "|" + S(pFind->m_strFindText) + "|" + S(pFind->m_strHeaderFile) + "|" +
                      S(pFind->m_strSourceFile) + "|" + std::to_string(pFind->m_nKind) + "|" +
                      std::to_string(pFind->m_nFind));
      collect(h);
    }
  };
  collect(tree.GetRootItem());
  return lines;
}

TEST_F(ClassTreeTest, RefreshAfterTheProjectChangedGivesEveryItemTheRecordANewTreeGivesIt) {
  ClassView classes;
  Create(classes);
  // Functions become variables and the other header grows, so the records of the last fill
  // serve items of other kinds and more records are needed.
  folder.Write("Header Files/shapes.h", "class Shape\n{\npublic:\n  int m_nFirst;\n  int m_nSecond;\n};\n");
  folder.Write("Header Files/widget.h",
               std::string(kWidget) + "class Tool\n{\npublic:\n  void Use();\n  void Drop();\n  int m_nUses;\n"
                                      "  int m_nDrops;\n  void Clean();\n  void Sharpen();\n  int m_nEdge;\n};\n");
  project.DeleteAllFileObjs();
  project.AnalyseProjectFiles(shell.m_strFolder + "Header Files\\*.*");
  classes.Refresh();
  ClassView fresh;
  Create(fresh);
  const std::vector<std::string> records = RecordsOf(fresh);
  EXPECT_EQ(RecordsOf(classes), records);
  EXPECT_EQ(classes.m_FindItemList.GetCount(), static_cast<INT_PTR>(records.size()));

  // A smaller project again: the records left over are freed.
  folder.Write("Header Files/widget.h", "class Tool\n{\n};\n");
  project.DeleteAllFileObjs();
  project.AnalyseProjectFiles(shell.m_strFolder + "Header Files\\*.*");
  classes.Refresh();
  fresh.Refresh();
  EXPECT_EQ(RecordsOf(classes), RecordsOf(fresh));
  EXPECT_EQ(classes.m_FindItemList.GetCount(), 4);  // Shape, its two variables and Tool
}

// Double-clicks in both trees open the file in an editor window and put the caret on the line.
class ClassTreeOpenTest : public ClassTreeTest {
 protected:
  ClassTreeOpenTest() {
    frame = new CMainFrame;
    EXPECT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    app.m_pMainWnd = frame;
    search.frame = frame;
    // The trees stand beside the frame, where the editor windows cannot cover them.
    frame->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    frame->ShowWindow(SW_SHOW);
    host.SetWindowPos(nullptr, 660, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    docs = new CMultiDocTemplate(22790, RUNTIME_CLASS(CEditCodeDoc), RUNTIME_CLASS(CMDIChildWnd),
                                 RUNTIME_CLASS(CEditCodeView));
    app.AddDocTemplate(docs);
    brambolt::test::RunUntilIdle();
    shell.calls.clear();
  }
  ~ClassTreeOpenTest() override {
    app.CloseAllDocuments(TRUE);
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }

  // Double-clicks an item's label; then the open document's file name and the caret's line.
  template <class Tree>
  std::pair<std::string, int> DoubleClick(Tree& tree, HTREEITEM hItem) {
    tree.EnsureVisible(hItem);
    brambolt::test::DoubleClick(tree.GetSafeHwnd(), explorertest::LabelPoint(tree, hItem));
    brambolt::test::RunUntilIdle();
    CMDIChildWnd* child = frame->MDIGetActive();
    auto* view = child != nullptr ? dynamic_cast<CEditCodeView*>(child->GetActiveView()) : nullptr;
    if (view == nullptr) return {"", -1};
    const CString path = view->GetDocument()->GetPathName();
    const int nSlash = std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
    return {S(path.Mid(nSlash + 1)), view->GetAppController()->GetCaretPosition().m_nLine};
  }

  PendingSearch search;
  CMainFrame* frame = nullptr;
  CMultiDocTemplate* docs = nullptr;
};

TEST_F(ClassTreeOpenTest, DoubleClicksOpenTheDefinitionOrDeclaration) {
  // A function the analyser marked for lookup in its header.
  CFileObj* pShapeClass = project.FindClassByName("Shape");
  for (POSITION pos = pShapeClass->m_MemberFunctionList.GetHeadPosition(); pos != nullptr;) {
    CMemberFunctionObj* pFn = pShapeClass->m_MemberFunctionList.GetNext(pos);
    if (pFn->m_strName == "Reset") pFn->m_nFind = 1;
  }
  ClassView classes;
  Create(classes);
  HTREEITEM hShape = ChildNamed(classes, classes.GetRootItem(), "Shape");
  HTREEITEM hWidget = ChildNamed(classes, classes.GetRootItem(), "Widget");
  // Functions defined in the source file: found there as the class's own, not another's.
  EXPECT_EQ(DoubleClick(classes, ChildNamed(classes, hShape, "Draw")), std::make_pair(std::string("shapes.cpp"), 14));
  EXPECT_EQ(DoubleClick(classes, ChildNamed(classes, hShape, "Move")), std::make_pair(std::string("shapes.cpp"), 10));
  // A variable: its declaration in the header.
  EXPECT_EQ(DoubleClick(classes, ChildNamed(classes, hShape, "m_nX")), std::make_pair(std::string("shapes.h"), 8));
  // No widget.cpp: the function's declaration in the header.
  EXPECT_EQ(DoubleClick(classes, ChildNamed(classes, hWidget, "Paint")), std::make_pair(std::string("widget.h"), 3));
  // Marked for the header: its declaration there, though shapes.cpp exists.
  EXPECT_EQ(DoubleClick(classes, ChildNamed(classes, hShape, "Reset")), std::make_pair(std::string("shapes.h"), 11));
  EXPECT_EQ(search.handed, (std::vector<std::string>{"Shape::Draw(", "Shape::Move(", "int m_nX;", "void Paint();",
                                                      "void Reset();"}));
  EXPECT_FALSE(frame->m_bFindPending);  // the editor ran each search
  // With a main frame the fill's progress shows in its status bar, not through the shell.
  EXPECT_TRUE(shell.calls.empty());

  ClassViewStruct hierarchy;
  classes.ShowWindow(SW_HIDE);
  Create(hierarchy);
  HTREEITEM hTop = ChildNamed(hierarchy, hierarchy.GetRootItem(), "Shape");
  ClickButton(hierarchy, hTop);
  EXPECT_EQ(DoubleClick(hierarchy, ChildNamed(hierarchy, hTop, "Square")), std::make_pair(std::string("shapes.h"), 14));
  // A base from outside the project, and the root, open nothing.
  search.handed.clear();
  DoubleClick(hierarchy, ChildNamed(hierarchy, hierarchy.GetRootItem(), "CWnd"));
  DoubleClick(hierarchy, hierarchy.GetRootItem());
  DoubleClick(classes, classes.GetRootItem());
  EXPECT_FALSE(ClassTreeBase::OpenAndFind(shell.m_strFolder + "Header Files\\gone.h", "class Gone"));
  EXPECT_TRUE(search.handed.empty());
}

}  // namespace
