// A long working session: each part of a day's mix (documentation runs with F5, Print Preview,
// the Customize sheet, workspaces saved and opened again, editor windows opened, typed into and
// closed) repeated by keys and clicks in one process. Once the first rounds have made what the
// program keeps for good, the heap in use does not grow with the number of rounds.
#include <gtest/gtest.h>

#include <malloc.h>

#include <functional>
#include <string>
#include <vector>

#include "Desk.h"
#include "Scenarios.h"

namespace e2e {
namespace {

constexpr int kWorkspaceList = 43072;  // the list of the workspace manager's dialog
constexpr int kOpenButton = 43001;

size_t HeapInUse() {
  ::malloc_trim(0);
  return ::mallinfo2().uordblks;
}

TEST(SessionLength, EachPartOfADaysMixKeepsNoMemoryForEachRound) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  ASSERT_TRUE(desk.HasMainFrame());
  const Project project = AtelierProject(desk, "English");
  const fs::path headers = project.folder / "Header Files";

  // The workspace the rounds save and open again: Tools > Save Workspace As, a new name.
  ASSERT_NE(OpenFile(desk, headers / "Circle.h"), nullptr);
  SaveWorkspaceAs(desk, "Day");
  ASSERT_EQ(desk.Pending(), 0u) << desk.Report();

  struct Part {
    const char* name;
    std::function<void()> round;
  };
  const std::vector<Part> mix = {
      {"documentation run", [&] { WriteDocumentation(desk, "English"); }},
      {"print preview",
       [&] {
         desk.Menu('F', "v");
         desk.Press(VK_ESCAPE);
       }},
      {"customize sheet",
       [&] {
         desk.Expect("Customize", [](HWND sheet) { EXPECT_TRUE(ClickButton(sheet, "Cancel")); });
         desk.Menu('V', "c");
       }},
      {"workspace saved, closed and opened",
       [&] {
         desk.Menu('T', "s");
         desk.Menu('T', "c");
         desk.Expect("Open Workspace", [](HWND dialog) {
           HWND list = Item(dialog, kWorkspaceList);
           RECT row{};
           ::SendMessage(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
           brambolt::test::Click(list, {row.left + 5, row.top + 3});
           ClickItem(dialog, kOpenButton);
         });
         desk.Menu('T', "o");
       }},
      {"editor windows",
       [&] {
         for (const char* file : {"Layer.h", "Shape.h", "CanvasView.h"}) {
           ASSERT_NE(OpenFile(desk, headers / file), nullptr);
           desk.Type("x");
           desk.Answer("No");
           desk.Press(VK_F4, brambolt::test::kCtrl);
         }
       }},
  };
  // Each part alone, then all of them in turn as a day goes.
  std::vector<Part> parts = mix;
  parts.push_back({"the whole mix", [&] {
                     for (const Part& part : mix) part.round();
                   }});
  constexpr int kWarm = 3, kRounds = 8;
  for (const Part& part : parts) {
    for (int i = 0; i < kWarm; ++i) part.round();
    const size_t warm = HeapInUse();
    for (int i = 0; i < kRounds; ++i) part.round();
    const long long grown = static_cast<long long>(HeapInUse()) - static_cast<long long>(warm);
    // A few kilobytes a round is noise of the allocator; what a round keeps adds up over a day.
    EXPECT_LT(grown, 16 * 1024 * kRounds) << part.name << ": " << grown / kRounds << " bytes kept for each round";
    EXPECT_EQ(desk.Pending(), 0u) << part.name << ": " << desk.Report();
  }
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e
