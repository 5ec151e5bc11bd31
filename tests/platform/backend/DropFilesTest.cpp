// Files dropped from other programs: which window takes them, the HDROP it gets, and the file
// lists of XDND drags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend/DropFiles.h"
#include "testing/UiTest.h"
#include "win/win.h"

using namespace brambolt;

namespace {

std::vector<MSG> g_drops;

LRESULT CALLBACK DropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DROPFILES) {
    g_drops.push_back(MSG{hwnd, msg, wParam, lParam, 0, {}});
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class Drops : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASS wc{};
    wc.lpfnWndProc = DropProc;
    wc.lpszClassName = "DropTarget";
    RegisterClass(&wc);
    frame_ = CreateWindowEx(0, "DropTarget", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
    child_ = CreateWindowEx(0, "DropTarget", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, frame_, nullptr, nullptr,
                            nullptr);
    test::RunUntilIdle();
    g_drops.clear();
  }
  void TearDown() override {
    for (const MSG& m : g_drops) DragFinish(reinterpret_cast<HDROP>(m.wParam));
  }

  POINT ChildPoint() { return test::ScreenPoint(child_, POINT{5, 6}); }

  test::UiSession session_;
  HWND frame_ = nullptr;
  HWND child_ = nullptr;
};

TEST_F(Drops, GoToTheNearestWindowThatAcceptsFiles) {
  DragAcceptFiles(frame_, TRUE);
  ASSERT_TRUE(DropFiles(ChildPoint(), {"/tmp/one.h", "/tmp/two words.cpp"}));
  test::RunUntilIdle();
  ASSERT_EQ(g_drops.size(), 1u);
  EXPECT_EQ(g_drops[0].hwnd, frame_);
  auto drop = reinterpret_cast<HDROP>(g_drops[0].wParam);
  EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  char name[64];
  EXPECT_EQ(DragQueryFile(drop, 1, name, sizeof(name)), 18u);
  EXPECT_STREQ(name, "/tmp/two words.cpp");
  POINT expected = ChildPoint();
  ScreenToClient(frame_, &expected);
  POINT pt{};
  EXPECT_TRUE(DragQueryPoint(drop, &pt));
  EXPECT_EQ(pt.x, expected.x);
  EXPECT_EQ(pt.y, expected.y);

  // The child that accepts files itself takes them before its parent.
  DragAcceptFiles(child_, TRUE);
  EXPECT_EQ(DropTargetAt(ChildPoint()), child_);
}

TEST_F(Drops, AreRefusedWhereNoWindowAcceptsThem) {
  EXPECT_FALSE(DropFiles(ChildPoint(), {"/tmp/a"}));
  DragAcceptFiles(frame_, TRUE);
  DragAcceptFiles(frame_, FALSE);
  EXPECT_FALSE(DropFiles(ChildPoint(), {"/tmp/a"}));
  EXPECT_FALSE(DropFiles(POINT{900, 700}, {"/tmp/a"}));
  test::RunUntilIdle();
  EXPECT_TRUE(g_drops.empty());
}

TEST_F(Drops, OnTheCaptionTheyLieOutsideTheClientArea) {
  DragAcceptFiles(frame_, TRUE);
  RECT r;
  GetWindowRect(frame_, &r);
  ASSERT_TRUE(DropFiles(POINT{r.left + 50, r.top + 8}, {"/tmp/a"}));
  test::RunUntilIdle();
  ASSERT_EQ(g_drops.size(), 1u);
  POINT pt{};
  EXPECT_FALSE(DragQueryPoint(reinterpret_cast<HDROP>(g_drops[0].wParam), &pt));
  EXPECT_LT(pt.y, 0);
}

TEST_F(Drops, NamesAreCutToTheBufferAndTheirLengthsReported) {
  DragAcceptFiles(frame_, TRUE);
  ASSERT_TRUE(DropFiles(ChildPoint(), {"/home/user/project.dsw"}));
  test::RunUntilIdle();
  ASSERT_EQ(g_drops.size(), 1u);
  auto drop = reinterpret_cast<HDROP>(g_drops[0].wParam);
  EXPECT_EQ(DragQueryFile(drop, 0, nullptr, 0), 22u);
  char small[8];
  EXPECT_EQ(DragQueryFile(drop, 0, small, sizeof(small)), 7u);
  EXPECT_STREQ(small, "/home/u");
  EXPECT_EQ(DragQueryFile(drop, 1, small, sizeof(small)), 0u);
}

TEST(UriList, LocalFilesAreDecodedToBytes) {
  const struct {
    const char* list;
    std::vector<std::string> files;
  } cases[] = {
      {"file:///tmp/a.h\r\nfile:///tmp/b%20c.cpp\r\n", {"/tmp/a.h", "/tmp/b c.cpp"}},
      {"# a comment\nfile://localhost/srv/x\n", {"/srv/x"}},
      {"file:///tmp/%E4%B8%AD.h", {"/tmp/\xE4\xB8\xAD.h"}},
      {"file://elsewhere/tmp/a\nhttp://example.org/a\nfile:relative\n", {}},
      {"file:///tmp/bad%2", {"/tmp/bad%2"}},
      {"file:///tmp/nul%00name\nfile:/short/form", {"/short/form"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(FilesOfUriList(c.list), c.files) << c.list;
}

}  // namespace
