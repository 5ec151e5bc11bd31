// A project whose files change on disk while it is open: F5 documents the headers as they are
// when it is pressed (one deleted, one changed by another program, one put into the folder), the
// explorer follows, a project folder moved away is not made again, and a run that changed no
// option leaves nothing to save.
#include <gtest/gtest.h>

#include <fstream>

#include "Desk.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"

namespace e2e {
namespace {

// The options dialog's controls.
constexpr int kLanguageList = 1000;
constexpr int kRewriteAll = 1017;

// F5 with "Rewrite All Documentations" checked, in English.
void RewriteDocumentation(Desk& desk) {
  desk.Expect("Options", [&](HWND dialog) {
    EXPECT_TRUE(desk.Pick(dialog, kLanguageList, "English"));
    ClickItem(dialog, kRewriteAll);
    EXPECT_TRUE(ClickButton(dialog, "OK"));
  });
  desk.ExpectRunning("");
  desk.Press(VK_F5);
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
}

bool HasClassItem(Desk& desk, const std::string& name) {
  SECTreeBaseC& classes = *desk.MainFrame()->m_wndProjectExplorer.GetClassView();
  return FindItem(classes, TVI_ROOT, name) != nullptr;
}

TEST(UsersDay, F5DocumentsTheHeadersAsTheyAreOnDiskAndNeverMakesAFolderTheProjectLeft) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = AtelierProject(desk, "English");
  const fs::path headers = project.folder / "Header Files";
  const fs::path htmls = project.folder / "Output_Eng" / "Htmls";
  WriteDocumentation(desk, "English");
  ASSERT_TRUE(fs::exists(htmls / "CCircle" / "CCircle.htm"));
  EXPECT_NE(ReadFile(htmls / "Index.htm").find("CCircle"), std::string::npos);

  // While the project is open: a header deleted, a member added by another program (a file
  // written anew in its place, as a checkout does), a header put into the folder.
  fs::remove(headers / "Circle.h");
  std::string layer = ReadFile(headers / "Layer.h");
  const size_t clear = layer.find("void Clear();");
  ASSERT_NE(clear, std::string::npos);
  layer.insert(clear, "void Merge(CLayer* pOther);\r\n    ");
  fs::remove(headers / "Layer.h");
  std::ofstream(headers / "Layer.h", std::ios::binary) << layer;
  std::ofstream(headers / "Star.h", std::ios::binary) << "class CStar : public CShape\r\n{\r\npublic:\r\n"
                                                          "    int m_nPoints;\r\n};\r\n";

  RewriteDocumentation(desk);
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_NE(desk.Boxes()[0].Text().find("no longer in the project's folder"), std::string::npos) << desk.Report();
  EXPECT_NE(desk.Boxes()[0].Text().find("Circle.h"), std::string::npos) << desk.Report();
  EXPECT_FALSE(fs::exists(htmls / "CCircle"));
  EXPECT_EQ(ReadFile(htmls / "Index.htm").find("CCircle"), std::string::npos);
  EXPECT_TRUE(fs::exists(htmls / "CLayer" / "Member Functions" / "Merge.htm"));
  EXPECT_TRUE(fs::exists(htmls / "CStar" / "Member Vars" / "m_nPoints.htm"));
  EXPECT_NE(ReadFile(htmls / "Index.htm").find("CStar"), std::string::npos);
  // The explorer shows the classes as they are now.
  EXPECT_FALSE(HasClassItem(desk, "CCircle"));
  EXPECT_TRUE(HasClassItem(desk, "CStar"));

  // The project's folder renamed while it is open: F5 says so, and neither makes the old folder
  // again nor writes into the new one.
  const fs::path moved = project.folder.parent_path() / "Atelier-moved";
  fs::rename(project.folder, moved);
  desk.Press(VK_F5);
  ASSERT_EQ(desk.Boxes().size(), 2u) << desk.Report();
  EXPECT_NE(desk.Boxes()[1].Text().find("is no longer there"), std::string::npos) << desk.Report();
  EXPECT_FALSE(fs::exists(project.folder));
  fs::rename(moved, project.folder);

  // The runs chose the options the project had: nothing is left to save, Exit asks nothing.
  desk.Menu('F', "x");
  EXPECT_EQ(desk.Boxes().size(), 2u) << desk.Report();
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
  desk.Quit();
}

}  // namespace
}  // namespace e2e
