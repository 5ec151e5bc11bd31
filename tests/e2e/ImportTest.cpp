// A Visual C++ 6 project brought into a new project from the Project menu and documented.
#include <gtest/gtest.h>

#include "Desk.h"
#include "DocumentationCheck.h"
#include "Scenarios.h"

namespace e2e {
namespace {

// The file dialog's file-name edit.
constexpr int kFileNameEdit = 0x480;

TEST(UsersDay, ImportsAVisualCpp6ProjectAndDocumentsIt) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = MakeProject(desk, "Sketch", "English");

  // Project > Insert Files from MSVC Project, the .dsp typed into the file dialog.
  const fs::path dsp = fs::path(Fixture("Sketch")) / "Sketch.dsp";
  desk.Expect("Open", [&](HWND dialog) {
    TypeInto(dialog, kFileNameEdit, dsp.string());
    desk.Snapshot(dialog, "06-import-msvc-project");
    brambolt::test::PressKey(VK_RETURN);
  });
  desk.Menu('P', "P");
  ASSERT_EQ(desk.Pending(), 0u) << desk.Report();
  EXPECT_TRUE(desk.Boxes().empty()) << desk.Report();

  // The project's sources and headers, each copied whole into its folder.
  const struct {
    const char* folder;
    std::vector<std::string> files;
  } expected[] = {{"Header Files", {"Sketch.h", "SketchDoc.h", "StdAfx.h"}},
                  {"Source Code", {"Sketch.cpp", "SketchDoc.cpp", "StdAfx.cpp"}}};
  for (const auto& [folder, files] : expected) {
    EXPECT_EQ(ListFiles(project.folder / folder), files) << folder;
    for (const std::string& file : files)
      EXPECT_EQ(ReadFile(project.folder / folder / file), ReadFile(fs::path(Fixture("Sketch")) / file)) << file;
  }

  WriteDocumentation(desk, "English");
  const TreeFaults faults =
      CheckDocumentationTree(project.folder / "Output_Eng" / "Htmls", DeclaredClasses(Fixture("Sketch")));
  EXPECT_TRUE(faults.missingPages.empty() && faults.brokenLinks.empty() && faults.undecodable.empty())
      << faults.Text();
  EXPECT_GE(faults.pages, 3);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e
