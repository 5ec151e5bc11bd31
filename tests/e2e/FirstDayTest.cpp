// A user's first day with the program: the first start, a new project made with the wizard in a
// new folder, a folder of a drawing library's headers added to it, the documentation written in
// the three languages.
#include <gtest/gtest.h>

#include "Desk.h"
#include "DocumentationCheck.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"
#include "resources/resource.h"

#include <strings.h>

#include <algorithm>

namespace e2e {
namespace {

TEST(UsersDay, FirstStartMakesAProjectWithTheWizardAndTakesInAFolderOfHeaders) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  if (desk.HasMainFrame()) {
    // The first start opens an empty source file, maximised: its name follows the frame's.
    EXPECT_EQ(desk.MainTitle(), "Visual Brambolt - [BramboltFile1]");
  }
  desk.Snapshot(desk.MainWindow(), "01-first-start");

  const Project project = MakeProject(desk, "Atelier", "Simple Chinese");
  if (desk.HasMainFrame()) {
    EXPECT_EQ(desk.MainTitle(), "Atelier - Visual Brambolt");
  }
  for (const char* sub : {"Header Files", "Source Code", "Output_Chs", "Output_GB5", "Output_Eng"})
    EXPECT_TRUE(fs::is_directory(project.folder / sub)) << sub;
  EXPECT_TRUE(fs::exists(project.folder / "Atelier.dcp"));

  AddLiveFolder(desk, Fixture("Atelier"));
  const std::vector<std::string> headers = ListFiles(Fixture("Atelier"));
  ASSERT_EQ(ListFiles(project.folder / "Header Files"), headers);
  for (const std::string& header : headers)
    EXPECT_EQ(ReadFile(project.folder / "Header Files" / header), ReadFile(fs::path(Fixture("Atelier")) / header))
        << header;

  // The class view fills: every class of the headers under the project's root, in order.
  ClickExplorerTab(desk, kClassTab);
  auto* frame = desk.MainFrame();
  SECTreeBaseC& classes = *frame->m_wndProjectExplorer.GetClassView();
  const HTREEITEM root = classes.GetRootItem();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(std::string(classes.GetItemText(root)), "Atelier Classes");
  std::vector<std::string> declared = DeclaredClasses(Fixture("Atelier"));
  // The tree sorts its names without regard to case.
  std::sort(declared.begin(), declared.end(),
            [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(ChildTexts(classes, root), declared);
  desk.Snapshot(desk.MainWindow(), "04-class-view");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

TEST(UsersDay, DocumentationInEnglishAndBothChineseIsCompleteAndCompilesToHtmlHelp) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = AtelierProject(desk, "Simple Chinese");
  const std::vector<std::string> classes = DeclaredClasses(Fixture("Atelier"));
  ASSERT_EQ(classes.size(), 32u);

  struct Run {
    const char* language;
    const char* folder;
  };
  for (const Run& run : {Run{"English", "Output_Eng"}, Run{"Simple Chinese", "Output_Chs"}, Run{"GB5", "Output_GB5"}}) {
    WriteDocumentation(desk, run.language);
    const fs::path htmls = project.folder / run.folder / "Htmls";
    const TreeFaults faults = CheckDocumentationTree(htmls, classes);
    EXPECT_TRUE(faults.missingPages.empty() && faults.brokenLinks.empty() && faults.undecodable.empty())
        << run.language << ": " << faults.Text();
    EXPECT_GT(faults.pages, 5 * static_cast<int>(classes.size())) << run.language;
    // The hierarchy chart is a Windows bitmap.
    EXPECT_EQ(ReadFile(htmls / "Image2" / "A_Hierarchy_Chart.bmp").substr(0, 2), "BM") << run.language;
  }

  // The hierarchy chart opens in the picture view from the output tree.
  ClickExplorerTab(desk, kOutputTab);
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  SECTreeBaseC& output = *frame->m_wndProjectExplorer.GetDatabaseView();
  const HTREEITEM chart = FindItem(output, TVI_ROOT, "A_Hierarchy_Chart.bmp");
  ASSERT_NE(chart, nullptr);
  brambolt::test::DoubleClick(output.GetSafeHwnd(), ShowItem(desk, output, chart));
  desk.Pump();
  EXPECT_NE(desk.MainTitle().find("A_Hierarchy_Chart.bmp"), std::string::npos) << desk.MainTitle();
  desk.Snapshot(desk.MainWindow(), "05-hierarchy-chart");

  // Build > Automatic Generate HTML Help, its defaults taken: the compiler's window shows what it
  // writes and then the result; the compiled help holds every page.
  desk.Expect("HTML Help", [&](HWND dialog) {
    desk.Snapshot(dialog, "05-html-help");
    EXPECT_TRUE(ClickButton(dialog, "OK"));
  });
  std::string compiled;
  desk.Expect("HTML Help Compiler", [&](HWND window) {
    const auto ended = [&] {
      const HWND output = ::GetDlgItem(window, IDC_COMPILER_OUTPUT);
      compiled.assign(static_cast<size_t>(::GetWindowTextLengthA(output)) + 1, '\0');
      compiled.resize(static_cast<size_t>(::GetWindowTextA(output, compiled.data(), static_cast<int>(compiled.size()))));
      return compiled.find("Compiled file: ") != std::string::npos || compiled.find("no help file") != std::string::npos;
    };
    EXPECT_TRUE(desk.PumpUntil(ended)) << compiled;
    desk.Snapshot(window, "05-html-help-compiled");
    EXPECT_TRUE(ClickButton(window, "Close"));
  });
  desk.Menu('B', "G");
  ASSERT_EQ(desk.Pending(), 0u) << desk.Report();
  EXPECT_NE(compiled.find("Compiled file: "), std::string::npos) << compiled;
  // The compiler's output names the help file asked for, not the working file it wrote.
  EXPECT_EQ(compiled.find(".compiling"), std::string::npos) << compiled;
  std::vector<std::string> chms;
  for (const std::string& file : ListFiles(project.folder / "Output_GB5"))
    if (fs::path(file).extension() == ".chm") chms.push_back(file);
  ASSERT_EQ(chms.size(), 1u);
  const std::string listing = ListChm(project.folder / "Output_GB5" / chms.front());
  int pages = 0;
  for (const std::string& page : ListFiles(project.folder / "Output_GB5" / "Htmls")) {
    if (fs::path(page).extension() != ".htm") continue;
    ++pages;
    EXPECT_NE(listing.find("/Htmls/" + page), std::string::npos) << page;
  }
  EXPECT_GT(pages, 100);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e
