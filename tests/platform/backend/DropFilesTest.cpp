// Files dropped from other programs: which window takes them, the HDROP it gets, and the file
// lists of XDND drags.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "backend/DropFiles.h"
#include "base/CodePage.h"
#include "base/GlobalMemory.h"
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

// A drop block of exactly these bytes, as another program may hand one over.
HDROP BlockOf(const std::string& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return reinterpret_cast<HDROP>(block);
}

// The 20-byte header: where the names start, the point (12, 34) in the client area, and the flag.
std::string Header(uint32_t files, bool wide) {
  std::string header(20, '\0');
  const uint32_t fields[] = {files, 12, 34, 0, wide ? 1u : 0u};
  std::memcpy(header.data(), fields, sizeof fields);
  return header;
}

std::vector<std::string> NamesOf(HDROP drop) {
  std::vector<std::string> names;
  for (UINT i = 0, n = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0); i < n; ++i) {
    std::string name(DragQueryFile(drop, i, nullptr, 0), '\0');
    DragQueryFile(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
    names.push_back(name);
  }
  return names;
}

TEST(DropBlocks, ShortOrDamagedBlocksAreReadWithinTheirSizeAndWideNamesAsWide) {
  ScopedCodePage page(1252);
  const std::u16string wide = u"/tmp/caf\u00E9.h";
  std::string wideBytes(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  const std::string wideList = wideBytes + std::string(2, '\0') + std::string("/\0b\0\0\0\0\0", 8);
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> names;
    bool point;
  } cases[] = {
      {"three bytes", std::string("\x14\0\0", 3), {}, false},
      {"a header cut short", Header(20, false).substr(0, 19), {}, false},
      {"names starting past the end", Header(4000, false) + std::string("/a\0\0", 4), {}, true},
      {"names starting inside the header", Header(2, false), {}, true},
      {"a last name without its end", Header(20, false) + "/tmp/one.h", {"/tmp/one.h"}, true},
      {"wide names", Header(20, true) + wideList, {"/tmp/caf\xE9.h", "/b"}, true},
      {"a wide name cut in a character", Header(20, true) + wideBytes.substr(0, 5), {"/t"}, true},
  };
  for (const auto& c : cases) {
    HDROP drop = BlockOf(c.bytes);
    EXPECT_EQ(NamesOf(drop), c.names) << c.what;
    POINT pt{-1, -1};
    EXPECT_EQ(DragQueryPoint(drop, &pt) != FALSE, c.point) << c.what;
    if (c.point) {
      EXPECT_EQ(pt.x * 100 + pt.y, 1234) << c.what;
    }
    DragFinish(drop);
  }
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
