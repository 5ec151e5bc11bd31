// A project whose files change on disk while it is open: F5 documents the headers as they are
// when it is pressed (one deleted, one changed by another program, one put into the folder), the
// explorer follows, a project folder moved away is not made again, and a run that changed no
// option leaves nothing to save; nor does one that changed them once the project was saved.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "Desk.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"

namespace e2e {
namespace {

// The options dialog's controls.
constexpr int kLanguageList = 1000;
constexpr int kRewriteAll = 1017;
constexpr int kPrivateFunctions = 1009;
// Headers made for a run, more than the message about headers gone names.
constexpr int kGenerated = 30;

// F5 with "Rewrite All Documentations" checked, in English; what another program does while the
// options are open.
void RewriteDocumentation(Desk& desk, const std::function<void()>& meanwhile = {}) {
  desk.Expect("Options", [&](HWND dialog) {
    EXPECT_TRUE(desk.Pick(dialog, kLanguageList, "English"));
    ClickItem(dialog, kRewriteAll);
    if (meanwhile) meanwhile();
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
  // Besides the library: a header reached by a link to a file outside the folder, and more headers
  // with long names than a message names.
  const fs::path outside = project.folder.parent_path() / "Backdrop.h";
  std::ofstream(outside, std::ios::binary) << "class CBackdrop\r\n{\r\npublic:\r\n    int m_nDepth;\r\n};\r\n";
  fs::create_symlink(outside, headers / "Backdrop.h");
  std::vector<fs::path> many;
  for (int i = 0; i < kGenerated; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "GeneratedPaletteEntryNumber%03d.h", i);
    many.push_back(headers / name);
    std::ofstream(many.back(), std::ios::binary) << "class CEntry" << i << "\r\n{\r\npublic:\r\n    int m_n;\r\n};\r\n";
  }
  WriteDocumentation(desk, "English");
  ASSERT_TRUE(fs::exists(htmls / "CCircle" / "CCircle.htm"));
  ASSERT_TRUE(fs::exists(htmls / "CBackdrop" / "CBackdrop.htm"));
  EXPECT_NE(ReadFile(htmls / "Index.htm").find("CCircle"), std::string::npos);

  // While the project is open: a header deleted, a member added by another program (a file
  // written anew in its place, as a checkout does), a header put into the folder.
  fs::remove(headers / "Circle.h");
  // A folder put where a header was: the header is gone.
  fs::remove(headers / "BrushStyle.h");
  fs::create_directory(headers / "BrushStyle.h");
  std::string layer = ReadFile(headers / "Layer.h");
  const size_t clear = layer.find("void Clear();");
  ASSERT_NE(clear, std::string::npos);
  layer.insert(clear, "void Merge(CLayer* pOther);\r\n    ");
  fs::remove(headers / "Layer.h");
  std::ofstream(headers / "Layer.h", std::ios::binary) << layer;
  // The linked file deleted: the link's name stays in the folder but leads nowhere.
  fs::remove(outside);
  for (const fs::path& path : many) fs::remove(path);

  // A header put into the folder while the options are open is documented too.
  RewriteDocumentation(desk, [&] {
    std::ofstream(headers / "Star.h", std::ios::binary) << "class CStar : public CShape\r\n{\r\npublic:\r\n"
                                                            "    int m_nPoints;\r\n};\r\n";
  });
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  // The headers that can no longer be read are named whole, up to what a message shows, then counted.
  const std::string gone = desk.Boxes()[0].Text();
  EXPECT_NE(gone.find("can no longer be read"), std::string::npos) << gone;
  EXPECT_NE(gone.find("Circle.h"), std::string::npos) << gone;
  EXPECT_NE(gone.find("Backdrop.h"), std::string::npos) << gone;
  EXPECT_NE(gone.find("BrushStyle.h"), std::string::npos) << gone;
  const size_t more = gone.find("...and ");
  EXPECT_NE(more, std::string::npos) << gone;
  size_t names = 0;
  for (size_t at = gone.find("GeneratedPaletteEntryNumber"); at != std::string::npos && at < more;
       at = gone.find("GeneratedPaletteEntryNumber", at + 1)) {
    EXPECT_EQ(gone.compare(at + 30, 2, ".h"), 0) << "a whole name: " << gone.substr(at);
    ++names;
  }
  // Circle.h, Backdrop.h and BrushStyle.h named, so the generated headers not named are the rest.
  EXPECT_LT(names, static_cast<size_t>(kGenerated));
  EXPECT_NE(gone.find("...and " + std::to_string(kGenerated - names) + " more."), std::string::npos) << gone;
  EXPECT_FALSE(fs::exists(htmls / "CBackdrop"));
  EXPECT_FALSE(fs::exists(htmls / "CCircle"));
  EXPECT_EQ(ReadFile(htmls / "Index.htm").find("CCircle"), std::string::npos);
  EXPECT_TRUE(fs::exists(htmls / "CLayer" / "Member Functions" / "Merge.htm"));
  EXPECT_TRUE(fs::exists(htmls / "CStar" / "Member Vars" / "m_nPoints.htm"));
  EXPECT_NE(ReadFile(htmls / "Index.htm").find("CStar"), std::string::npos);
  // The explorer shows the classes as they are now.
  EXPECT_FALSE(HasClassItem(desk, "CCircle"));
  EXPECT_TRUE(HasClassItem(desk, "CStar"));

  // The project's folder renamed while it is open, before F5 or while the options are open: the
  // run says so, neither makes the old folder again nor writes into the new one, and takes none of
  // the headers for deleted (the explorer keeps the classes).
  const fs::path moved = project.folder.parent_path() / "Atelier-moved";
  for (const bool whileOptionsOpen : {false, true}) {
    SCOPED_TRACE(whileOptionsOpen ? "renamed while the options are open" : "renamed before F5");
    const size_t boxes = desk.Boxes().size();
    if (whileOptionsOpen) {
      desk.Expect("Options", [&](HWND dialog) {
        fs::rename(project.folder, moved);
        EXPECT_TRUE(ClickButton(dialog, "OK"));
      });
    } else {
      fs::rename(project.folder, moved);
    }
    desk.Press(VK_F5);
    EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
    ASSERT_EQ(desk.Boxes().size(), boxes + 1) << desk.Report();
    EXPECT_NE(desk.Boxes().back().Text().find("is no longer there"), std::string::npos) << desk.Report();
    EXPECT_FALSE(fs::exists(project.folder));
    EXPECT_TRUE(HasClassItem(desk, "CStar"));
    fs::rename(moved, project.folder);
  }

  // A header renamed (as a checkout renames one) is not gone: the run names no header and still
  // documents its class.
  fs::rename(headers / "Grid.h", headers / "Grids.h");
  const size_t boxes = desk.Boxes().size();
  RewriteDocumentation(desk);
  EXPECT_EQ(desk.Boxes().size(), boxes) << desk.Report();
  EXPECT_TRUE(fs::exists(htmls / "CGrid" / "CGrid.htm"));
  EXPECT_NE(ReadFile(htmls / "Index.htm").find("CGrid"), std::string::npos);

  // The runs chose the options the project had: nothing is left to save, Exit asks nothing.
  desk.Menu('F', "x");
  EXPECT_EQ(desk.Boxes().size(), boxes) << desk.Report();
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
  desk.Quit();
}

// A run that changed the options kept in the project (private functions no longer listed), then the
// project saved: by File > Save Project, or on its own when another project is opened. Exit then
// has nothing to ask.
TEST(UsersDay, ChangedDocumentationOptionsAreNoLongerAskedAboutOnceTheProjectIsSaved) {
  for (const bool openAnother : {false, true}) {
    SCOPED_TRACE(openAnother ? "another project opened" : "File > Save Project");
    Desk desk;
    ASSERT_TRUE(desk.Start()) << desk.Report();
    const Project sketch = MakeProject(desk, "Sketch", "English");
    AtelierProject(desk, "English");
    desk.Expect("Options", [&](HWND dialog) {
      ClickItem(dialog, kPrivateFunctions);
      EXPECT_TRUE(ClickButton(dialog, "OK"));
    });
    desk.ExpectRunning("");
    desk.Press(VK_F5);
    EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
    if (openAnother) {
      desk.Expect("Open", [&](HWND) {
        brambolt::test::TypeText((sketch.folder / (sketch.name + ".dcp")).string());
        brambolt::test::PressKey(VK_RETURN);
      });
      desk.Menu('F', "j");  // File > Open Project
      EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
    } else {
      desk.Menu('F', "e");  // File > Save Project
    }
    const size_t boxes = desk.Boxes().size();
    desk.Menu('F', "x");
    EXPECT_EQ(desk.Boxes().size(), boxes) << desk.Report();
    EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
    desk.Quit();
  }
}

}  // namespace
}  // namespace e2e
