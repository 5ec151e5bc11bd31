// Bases written with a namespace or template arguments: shown as written on the class page, the
// index and the class diagram, linked to the page of the class the project documents under the
// base's last name part, and placed under that class's box in the hierarchy chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/BaseClassIndex.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocumentationRun.h"
#include "DocTestSupport.h"
#include "ModelTestSupport.h"

using doc_test::ShapesProject;
using model_test::S;

namespace {

const char* BasesHeader() {
  return "namespace Ns {\n"
         "class Base\n{\npublic:\n  int m_n;\n};\n"
         "}\n"
         "template <class T>\nclass TBase\n{\n};\n"
         "namespace Outer {\n"
         "template <class A, class B>\nclass Inner\n{\n};\n"
         "}\n"
         "class CFromNs : public Ns::Base\n{\n};\n"
         "class CFromTemplate : public TBase<int>\n{\n};\n"
         "class CFromNested : public Outer::Inner<int, std::vector<int>>\n{\n};\n"
         "class CTwo : public CFromNs, protected ::Outer::Inner<char, int>\n{\n};\n"
         "class CForeign : public std::runtime_error\n{\n};\n"
         "class Wrapper : public detail::Wrapper\n{\n};\n";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The base lines the driver ends a class page with.
std::vector<std::string> BaseLines(const std::string& page) {
  std::vector<std::string> lines;
  for (size_t at = page.find("<P><B>"); at != std::string::npos; at = page.find("<P><B>", at + 1))
    lines.push_back(page.substr(at, page.find("\r\n", at) - at));
  return lines;
}

std::vector<std::string> Chain(const CFileObj& cls) {
  std::vector<std::string> names;
  for (POSITION pos = cls.m_AncestorList.GetHeadPosition(); pos != nullptr;)
    names.push_back(S(cls.m_AncestorList.GetNext(pos)));
  return names;
}

}  // namespace

TEST(BaseLinks, QualifiedAndTemplateBasesAreShownAsWrittenAndLinkedToTheDocumentedClass) {
  ShapesProject p(BasesHeader());
  const CString strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
  DocumentationProgress progress;
  ASSERT_EQ(GenerateDocumentation(p.project, strFolder, TRUE, LANGUAGE_ENG, progress), 0);
  auto page = [&p](const std::string& name) { return p.folder.Read("Output_Eng/Htmls/" + name + "/" + name + ".htm"); };

  const struct {
    const char* cls;
    const char* heading;  // the class line of the page
    std::vector<std::string> bases;
  } cases[] = {
      {"CFromNs", "class CFromNs: public Ns::Base", {"<P><B><a href=\"../Base/Base.htm\">Ns::Base</a></P></B>"}},
      {"CFromTemplate",
       "class CFromTemplate: public TBase&lt;int&gt;",
       {"<P><B><a href=\"../TBase/TBase.htm\">TBase&lt;int&gt;</a></P></B>"}},
      {"CFromNested",
       "class CFromNested: public Outer::Inner&lt;int, std::vector&lt;int&gt;&gt;",
       {"<P><B><a href=\"../Inner/Inner.htm\">Outer::Inner&lt;int, std::vector&lt;int&gt;&gt;</a></P></B>"}},
      {"CTwo",
       "class CTwo: public CFromNs",
       {"<P><B><a href=\"../CFromNs/CFromNs.htm\">CFromNs</a></P></B>",
        "<P><B><a href=\"../Inner/Inner.htm\">::Outer::Inner&lt;char, int&gt;</a></P></B>"}},
      {"CForeign", "class CForeign: public std::runtime_error", {"<P><B>std::runtime_error</P></B>"}},
      // A class named like its base derives from another class of that name, which the project
      // does not document.
      {"Wrapper", "class Wrapper: public detail::Wrapper", {"<P><B>detail::Wrapper</P></B>"}},
  };
  for (const auto& c : cases) {
    const std::string text = page(c.cls);
    EXPECT_TRUE(Contains(text, c.heading)) << c.cls;
    EXPECT_EQ(BaseLines(text), c.bases) << c.cls;
  }
  const std::string index = p.folder.Read("Output_Eng/Htmls/Index.htm");
  EXPECT_TRUE(Contains(index, "<b>Base class name:</b>Outer::Inner&lt;int, std::vector&lt;int&gt;&gt;, ")) << index;
  EXPECT_FALSE(Contains(index, "$"));

  // The class diagrams show the chain as written.
  EXPECT_EQ(Chain(*p.project.FindClassByName("CTwo")), (std::vector<std::string>{"CTwo", "CFromNs", "Ns::Base"}));
  EXPECT_EQ(Chain(*p.project.FindClassByName("CFromNested")),
            (std::vector<std::string>{"CFromNested", "Outer::Inner<int, std::vector<int>>"}));
  EXPECT_EQ(Chain(*p.project.FindClassByName("Wrapper")), (std::vector<std::string>{"Wrapper", "detail::Wrapper"}));
  CFileObj chained;
  p.project.AppendAncestors(chained.m_AncestorList, "CTwo");
  EXPECT_EQ(Chain(chained), (std::vector<std::string>{"CTwo", "CFromNs", "Ns::Base"}));

  // The chart: the documented bases and the bases outside the project stand at the top, every
  // class under each of its bases (a column indented 20 under its class's box).
  std::vector<std::string> roots;
  for (const auto& box : p.project.m_ChartBoxes)
    if (box.bRoot) roots.push_back(S(box.strName));
  std::sort(roots.begin(), roots.end());
  EXPECT_EQ(roots, (std::vector<std::string>{"Base", "Inner", "TBase", "detail::Wrapper", "std::runtime_error"}));
  auto isUnder = [&p](const std::string& derived, const std::string& base) {
    for (const auto& parent : p.project.m_ChartBoxes)
      for (const auto& child : p.project.m_ChartBoxes)
        if (S(parent.strName) == base && S(child.strName) == derived && child.rect.left == parent.rect.left + 20 &&
            child.rect.top > parent.rect.top)
          return true;
    return false;
  };
  const std::pair<const char*, const char*> links[] = {
      {"CFromNs", "Base"},     {"CFromTemplate", "TBase"}, {"CFromNested", "Inner"},
      {"CTwo", "CFromNs"},     {"CTwo", "Inner"},          {"CForeign", "std::runtime_error"},
      {"Wrapper", "detail::Wrapper"},
  };
  for (const auto& [derived, base] : links) EXPECT_TRUE(isUnder(derived, base)) << derived << " under " << base;
  EXPECT_TRUE(Contains(p.folder.Read("Output_Eng/Htmls/Hierarchy_Chart.htm"),
                       "src=\"Image2/A_Hierarchy_Chart.bmp\" width=\"" + std::to_string(p.project.m_nChartWidth)));
}

TEST(BaseLinks, KeyIsTheLastNamePartWithoutTemplateArguments) {
  const std::pair<const char*, const char*> cases[] = {
      {"Base", "Base"},
      {"Ns::Base", "Base"},
      {"::Base", "Base"},
      {"Base<T>", "Base"},
      {"Ns::Base<int, X<Y>>", "Base"},
      {"A<B::C>::D<E::F>", "D"},
      {"typename Base<T>::type", "type"},
      {"Base<(1 > 2)>", "Base"},
      {"Bases...", "Bases"},
      {"", ""},
  };
  for (const auto& [base, key] : cases)
    EXPECT_EQ(std::string(BaseClassIndex::KeyOf(std::string_view(base))), key) << base;
}

// Two classes of one name: a base is linked to the class of that name declared in the deriving
// class's own header, then to the first of that name in the order of analysis, whatever order the
// chart gave the class list; a base written "A::B" links to a class recorded as "A::B". The pages,
// the class diagrams, the chart and the explorer's tree (by the project's subclass query) agree.
TEST(BaseLinks, OfTwoClassesOfOneNameTheBaseIsTheOneOfItsOwnHeaderThenTheFirstAnalysed) {
  model_test::TempFolder folder;
  // Analysed in this order (the files by name).
  folder.Write("Header Files/A_Events.h",
               "class Callback : public CObject\n{\n};\n"
               "class OnClick : public Callback\n{\n};\n"
               "class OnKey : public Callback\n{\n};\n"
               "class Mutex : public CObject\n{\n};\n");
  folder.Write("Header Files/B_Timers.h",
               "namespace ns {\nclass Callback\n{\npublic:\n  int m_nTicks;\n};\n}\n"
               "class Timer : public Callback\n{\n};\n"
               "class Alarm : public ns::Callback\n{\n};\n");
  folder.Write("Header Files/C_Threads.h",
               "class Mutex\n{\npublic:\n  void Lock();\n};\n"
               "class Guard : public Mutex\n{\n};\n"
               "// The stand-in of a build without threads.\n"
               "class Mutex\n{\npublic:\n  void Lock() {}\n};\n");
  folder.Write("Header Files/D_Other.h", "class Plain : public Mutex\n{\n};\n");
  CWorkSpaceObj project;
  const CString strProjectFolder = CString(folder.Path().c_str()) + "/";
  project.AnalyseProjectFiles(strProjectFolder + "Header Files\\*.*");
  // A class recorded with its qualification (as a project file of an earlier release holds it),
  // and a class deriving from it by that name.
  auto* pQualified = new CFileObj;
  pQualified->m_strClassName = "ui::Widget";
  pQualified->m_strHeaderFile = "E_Ui.h";
  project.m_FileObjList.AddTail(pQualified);
  auto* pButton = new CFileObj;
  pButton->m_strClassName = "Button";
  pButton->m_strBaseClassName = "ui::Widget";
  pButton->m_BaseClassList.AddTail("ui::Widget");
  pButton->m_strHeaderFile = "E_Ui.h";
  project.m_FileObjList.AddTail(pButton);
  auto* pWidget = new CFileObj;  // a Widget of another header, after it
  pWidget->m_strClassName = "Widget";
  pWidget->m_strHeaderFile = "F_Other.h";
  project.m_FileObjList.AddTail(pWidget);

  const CString strFolder = GetDocumentationFolder(strProjectFolder, LANGUAGE_ENG);
  DocumentationProgress progress;
  ASSERT_EQ(GenerateDocumentation(project, strFolder, TRUE, LANGUAGE_ENG, progress), 0);
  auto page = [&](const char* lpszName) {
    return doc_test::ReadFile(folder.Path() + "/Output_Eng/Htmls/" + lpszName + "/" + lpszName + ".htm");
  };
  // The classes of one name are told apart by their folders: the first analysed keeps the name.
  const struct {
    const char* cls;
    std::string base;  // the base line of its page
    std::vector<std::string> chain;
  } cases[] = {
      {"OnClick", "<P><B><a href=\"../Callback/Callback.htm\">Callback</a></P></B>", {"OnClick", "Callback", "CObject"}},
      {"Timer", "<P><B><a href=\"../Callback(0)/Callback(0).htm\">Callback</a></P></B>", {"Timer", "Callback"}},
      {"Alarm", "<P><B><a href=\"../Callback(0)/Callback(0).htm\">ns::Callback</a></P></B>", {"Alarm", "ns::Callback"}},
      {"Guard", "<P><B><a href=\"../Mutex(0)/Mutex(0).htm\">Mutex</a></P></B>", {"Guard", "Mutex"}},
      {"Plain", "<P><B><a href=\"../Mutex/Mutex.htm\">Mutex</a></P></B>", {"Plain", "Mutex", "CObject"}},
      {"Button", "<P><B><a href=\"../ui Widget/ui Widget.htm\">ui::Widget</a></P></B>", {"Button", "ui::Widget"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BaseLines(page(c.cls)), std::vector<std::string>{c.base}) << c.cls;
    EXPECT_EQ(Chain(*project.FindClassByName(c.cls)), c.chain) << c.cls;
  }
  // The second Callback and the first Mutex of C_Threads.h are the ones with members.
  EXPECT_TRUE(Contains(page("Callback(0)"), "m_nTicks"));
  EXPECT_TRUE(Contains(page("Mutex(0)"), "Lock"));

  // The hierarchy by names: the qualified base stands under the class recorded by that name.
  CFileObjList derived;
  project.GetDerivedClasses(derived, "ui::Widget");
  ASSERT_EQ(derived.GetCount(), 1);
  EXPECT_EQ(S(derived.GetHead()->m_strClassName), "Button");
  derived.RemoveAll();
  project.GetDerivedClasses(derived, "Widget");
  EXPECT_TRUE(derived.IsEmpty());
}

TEST(BaseLinks, QualifiedKeyIsTheWholeNameWithoutLeadingColonsAndTemplateArguments) {
  const std::pair<const char*, const char*> cases[] = {
      {"A::B", "A::B"}, {" ::A::B<int, X<Y>> ", "A::B"}, {"Ns::Base<T>", "Ns::Base"}, {"::Base", ""}, {"Base<A::B>", ""},
  };
  for (const auto& [base, key] : cases)
    EXPECT_EQ(std::string(BaseClassIndex::QualifiedKeyOf(std::string_view(base))), key) << base;
}
