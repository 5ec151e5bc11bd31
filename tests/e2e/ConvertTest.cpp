// A folder of Simplified Chinese pages converted to Big5 and back from the Project Explorer's
// output tree: every page comes back byte for byte.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "Desk.h"
#include "DocumentationCheck.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"
#include "app/ExplorerTestSupport.h"
#include "base/Convert.h"

namespace e2e {
namespace {

std::map<std::string, std::string> Contents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const std::string& file : ListFiles(folder)) contents[file] = ReadFile(folder / file);
  return contents;
}

TEST(UsersDay, ConvertsAFolderOfGbPagesToBig5AndBackToTheSameText) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  const Project project = AtelierProject(desk, "Simple Chinese");
  WriteDocumentation(desk, "Simple Chinese");
  const fs::path folder = project.folder / "Output_Chs" / "Htmls" / "CLayer";
  const std::map<std::string, std::string> original = Contents(folder);
  ASSERT_GT(original.size(), 5u);

  // The explorer's Output tab, the class's folder in its tree.
  ClickExplorerTab(desk, kOutputTab);
  DatabaseView& tree = *frame->m_wndProjectExplorer.GetDatabaseView();
  ASSERT_TRUE(tree.IsWindowVisible());
  ASSERT_NE(FindItem(tree, TVI_ROOT, "CLayer"), nullptr);

  // Right-click, Convert Code From GB to Big5, Yes; then Big5 to GB, Yes.
  struct Step {
    char key;
    bool big5;
  };
  for (const Step step : {Step{'g', true}, Step{'b', false}}) {
    // The conversion puts a new item in the folder's place: it is looked for each time.
    const HTREEITEM item = FindItem(tree, TVI_ROOT, "CLayer");
    ASSERT_NE(item, nullptr);
    const POINT at = ShowItem(desk, tree, item);
    desk.Snapshot(desk.MainWindow(), step.big5 ? "10-output-tree" : "11-output-tree-big5");
    brambolt::test::Click(tree.GetSafeHwnd(), at);
    desk.ExpectMenu({static_cast<UINT>(step.key)});
    desk.Answer("Yes");
    brambolt::test::Click(tree.GetSafeHwnd(), at, brambolt::test::kNone, WM_RBUTTONDOWN);
    desk.Pump();
    EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
    const std::map<std::string, std::string> now = Contents(folder);
    ASSERT_EQ(now.size(), original.size());
    if (step.big5) {
      EXPECT_NE(now.at("CLayer.htm"), original.at("CLayer.htm"));
      EXPECT_TRUE(DecodesAs(now.at("CLayer.htm"), "big5"));
      EXPECT_NE(now.at("CLayer.htm").find("charset=big5"), std::string::npos);
    } else {
      // Every page comes back byte for byte, its line ends included.
      for (const auto& [file, bytes] : original) EXPECT_EQ(now.at(file), bytes) << file;
    }
  }
  EXPECT_EQ(desk.Boxes().size(), 2u) << desk.Report();
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// A Simplified Chinese project whose headers hold a short comment: a GB2312 header's one word, a
// Big5 header's, a GB2312 header's Greek letter, and a Big5 header with a short GB2312 line pasted
// into it. Documented in Big5 and
// in GB2312, each page shows each comment as it was written, converted to the page's characters.
TEST(UsersDay, ShortChineseCommentsReadAsWrittenOnTheOtherChinesePages) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const fs::path headers = desk.Folder("Headers");
  const auto write = [&](const std::string& file, const std::string& className, const std::string& comments) {
    std::ofstream(headers / file, std::ios::binary)
        << "class " << className << " : public CObject\n{\npublic:\n" << comments << "};\n";
  };
  const auto comment = [](const char* lpszUtf8, UINT nCodePage, const char* lpszFunction) {
    return "    // " + brambolt::Utf8ToCodePage(lpszUtf8, nCodePage) + "\n    void " + lpszFunction + "();\n";
  };
  write("Window.h", "CWindowGb", comment("窗口", 936, "Open"));
  write("Screen.h", "CScreenBig5", comment("視窗", 950, "Open"));
  // A Greek letter both code pages hold: its bytes tell nothing, the project's language reads them.
  write("Angle.h", "CAngleGb", comment("α", 936, "Turn"));
  write("Limits.h", "CLimitsBig5",
        comment("當進行取代操作時必須指定兩組字串。", 950, "Replace") + comment("文件限制", 936, "Limit"));
  const Project project = MakeProject(desk, "Names", "Simple Chinese");
  AddLiveFolder(desk, headers.string());
  struct Run {
    const char* lpszLanguage;
    const char* lpszFolder;
    UINT nCodePage;
    const char* lpszWindow;
    const char* lpszScreen;
  };
  for (const Run& run : {Run{"GB5", "Output_GB5", 950, "窗口", "視窗"}, Run{"Simple Chinese", "Output_Chs", 936, "窗口", "视窗"}}) {
    WriteDocumentation(desk, run.lpszLanguage);
    const fs::path htmls = project.folder / run.lpszFolder / "Htmls";
    const auto shows = [&](const char* lpszClass, const char* lpszUtf8) {
      const std::string page = ReadFile(htmls / lpszClass / (std::string(lpszClass) + ".htm"));
      return page.find(" " + brambolt::Utf8ToCodePage(lpszUtf8, run.nCodePage)) != std::string::npos;
    };
    EXPECT_TRUE(shows("CWindowGb", run.lpszWindow)) << run.lpszFolder;
    EXPECT_TRUE(shows("CScreenBig5", run.lpszScreen)) << run.lpszFolder;
    EXPECT_TRUE(shows("CLimitsBig5", "文件限制")) << run.lpszFolder;
    EXPECT_TRUE(shows("CAngleGb", "α")) << run.lpszFolder;
  }
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e
