// The animation control and its AVI decoding: clip formats, RLE8 codes, playing frames on the
// virtual clock, repeat counts, stopping, closing, centring, transparency and notifications.
#include <atomic>
#include <filesystem>
#include <thread>

#include "AviBuilder.h"
#include "ControlsTestSupport.h"
#include "controls/AviClip.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr std::uint32_t kMagenta = 0xFF00FF;

COLORREF Ref(std::uint32_t rgb) { return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF); }

AviSpec SolidFrames(std::vector<std::uint32_t> colours, int width = 16, int height = 8) {
  AviSpec spec;
  spec.width = width;
  spec.height = height;
  for (std::uint32_t c : colours) spec.frames.emplace_back(static_cast<size_t>(width) * height, c);
  return spec;
}

// ---- RLE8

struct Rle8Case {
  const char* name;
  std::vector<std::uint8_t> data;
  bool ok;
  std::vector<std::uint8_t> expected;  // 4 x 2 indices, bottom row first, starting from all 9
};

class Rle8Decoding : public ::testing::TestWithParam<Rle8Case> {};

TEST_P(Rle8Decoding, AppliesTheCodesToThePreviousFrame) {
  const Rle8Case& c = GetParam();
  std::vector<std::uint8_t> indices(8, 9);
  bool ok = ctl::DecodeRle8(c.data.data(), c.data.size(), 4, 2, indices);
  EXPECT_EQ(ok, c.ok);
  if (c.ok) {
    EXPECT_EQ(indices, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Rle8Decoding,
    ::testing::Values(
        Rle8Case{"Runs", {4, 1, 0, 0, 2, 2, 2, 3, 0, 1}, true, {1, 1, 1, 1, 2, 2, 3, 3}},
        Rle8Case{"LiteralPaddedToAWord", {0, 3, 5, 6, 7, 0, 1, 8, 0, 1}, true, {5, 6, 7, 8, 9, 9, 9, 9}},
        Rle8Case{"DeltaSkipsPixels", {0, 2, 2, 1, 1, 4, 0, 1}, true, {9, 9, 9, 9, 9, 9, 4, 9}},
        Rle8Case{"EndOfLineLeavesTheRestAlone", {1, 3, 0, 0, 1, 5, 0, 1}, true, {3, 9, 9, 9, 5, 9, 9, 9}},
        Rle8Case{"MissingEndMarkIsAccepted", {2, 7}, true, {7, 7, 9, 9, 9, 9, 9, 9}},
        Rle8Case{"RunPastTheRowEndFails", {5, 1, 0, 1}, false, {}},
        Rle8Case{"RunBelowTheLastRowFails", {0, 0, 0, 0, 1, 1, 0, 1}, false, {}},
        Rle8Case{"LiteralPastTheDataFails", {0, 4, 1, 2}, false, {}},
        Rle8Case{"DeltaOutsideFails", {0, 2, 0, 5, 0, 1}, false, {}},
        Rle8Case{"TruncatedDeltaFails", {0, 2, 1}, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Clip formats

struct FormatCase {
  const char* name;
  int bits;
  bool rle;
  bool topDown;
};

class ClipFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ClipFormats, DecodeToTheFramesWritten) {
  const FormatCase& c = GetParam();
  AviSpec spec;
  spec.width = 5;  // odd, so rows need padding
  spec.height = 3;
  spec.bits = c.bits;
  spec.rle = c.rle;
  spec.topDown = c.topDown;
  std::vector<std::uint32_t> colours{0x000000, 0x123456, kRed, kGreen, kBlue, 0xFEDCBA};
  if (c.bits == 8) spec.palette = colours;
  for (int f = 0; f < 2; ++f) {
    std::vector<std::uint32_t> frame;
    for (int i = 0; i < 15; ++i) {
      std::uint32_t index = static_cast<std::uint32_t>((i + f * 2) % 6);
      frame.push_back(c.bits == 8 ? index : colours[index]);
    }
    spec.frames.push_back(frame);
  }
  std::vector<std::uint8_t> bytes = BuildAvi(spec);
  std::string error;
  auto clip = ctl::DecodeAvi(bytes.data(), bytes.size(), &error);
  ASSERT_TRUE(clip.has_value()) << error;
  EXPECT_EQ(clip->width, 5);
  EXPECT_EQ(clip->height, 3);
  EXPECT_EQ(clip->FrameMilliseconds(), 100u);
  ASSERT_EQ(clip->frames.size(), 2u);
  for (int f = 0; f < 2; ++f)
    for (int i = 0; i < 15; ++i) EXPECT_EQ(clip->frames[f][i], colours[(i + f * 2) % 6]) << "frame " << f << " pixel " << i;
}

INSTANTIATE_TEST_SUITE_P(Depths, ClipFormats,
                         ::testing::Values(FormatCase{"Indexed", 8, false, false}, FormatCase{"TrueColour", 24, false, false},
                                           FormatCase{"TopDown", 24, false, true}, FormatCase{"Rle8", 8, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClipRejection, DamagedOrForeignFilesAreRefused) {
  std::vector<std::uint8_t> good = BuildAvi(SolidFrames({kRed, kGreen}));
  auto patched = [&](size_t at, const char* bytes) {
    std::vector<std::uint8_t> copy = good;
    for (size_t i = 0; bytes[i]; ++i) copy[at + i] = static_cast<std::uint8_t>(bytes[i]);
    return copy;
  };
  auto find = [&](const char* id) {
    for (size_t i = 0; i + 4 <= good.size(); ++i)
      if (std::memcmp(good.data() + i, id, 4) == 0) return i;
    return size_t{0};
  };
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<std::uint8_t> truncated(good.begin(), good.end() - 20);
  std::vector<Case> cases{{"NotRiff", patched(0, "RIFX")},
                          {"NotAvi", patched(8, "WAVE")},
                          {"AudioOnly", patched(find("vids"), "auds")},
                          {"Rle4", patched(find("strf") + 8 + 16, "\x02")},
                          {"Truncated", truncated},
                          {"Empty", {}}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ctl::DecodeAvi(c.bytes.data(), c.bytes.size(), &error).has_value()) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
  EXPECT_TRUE(ctl::DecodeAvi(good.data(), good.size()).has_value());
}

// ---- The control

class Animation : public ::testing::Test {
 protected:
  HWND Create(DWORD style, int width = 0, int height = 0) {
    HWND hwnd = CreateWindowEx(0, ANIMATE_CLASS, nullptr, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                               recorder_.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(77)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
  }
  std::string ClipFile(const AviSpec& spec, const char* name = "clip.avi") {
    std::string path = stores_.TempDir() + "/" + name;
    EXPECT_TRUE(WriteBytes(path, BuildAvi(spec)));
    return path;
  }
  HWND Opened(DWORD style, const AviSpec& spec) {
    HWND hwnd = Create(style);
    std::string path = ClipFile(spec);
    EXPECT_TRUE(Animate_Open(hwnd, path.c_str()));
    RunUntilIdle();
    return hwnd;
  }
  COLORREF Shown(HWND hwnd, int x = 2, int y = 2) {
    RunUntilIdle();
    return WindowPixel(hwnd, x, y);
  }
  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const auto& r : recorder_.Records())
      if (r.message == WM_COMMAND && r.id == 77) codes.push_back(r.code);
    return codes;
  }

  UiSession session_;
  PrivateStores stores_;
  NotificationRecorder recorder_;
};

TEST_F(Animation, OpeningAFileSizesTheControlAndShowsTheFirstFrame) {
  HWND hwnd = Opened(0, SolidFrames({kRed, kGreen, kBlue, kYellow}));
  RECT r;
  GetClientRect(hwnd, &r);
  EXPECT_EQ(r.right, 16);
  EXPECT_EQ(r.bottom, 8);
  EXPECT_EQ(Shown(hwnd), Ref(kRed));
  EXPECT_FALSE(Animate_IsPlaying(hwnd));
  EXPECT_TRUE(Codes().empty());
}

TEST_F(Animation, PlaysEachFrameOnTheClockThenStops) {
  HWND hwnd = Opened(0, SolidFrames({kRed, kGreen, kBlue, kYellow}));
  ASSERT_TRUE(Animate_Play(hwnd, 0, -1, 1));
  EXPECT_EQ(Codes(), std::vector<UINT>{ACN_START});
  EXPECT_TRUE(Animate_IsPlaying(hwnd));
  EXPECT_EQ(Shown(hwnd), Ref(kRed));
  for (std::uint32_t colour : {kGreen, kBlue, kYellow}) {
    AdvanceClock(99);
    EXPECT_NE(Shown(hwnd), Ref(colour));
    AdvanceClock(1);
    EXPECT_EQ(Shown(hwnd), Ref(colour));
  }
  EXPECT_TRUE(Animate_IsPlaying(hwnd));
  AdvanceClock(100);  // the last frame had its time
  EXPECT_FALSE(Animate_IsPlaying(hwnd));
  EXPECT_EQ(Codes(), (std::vector<UINT>{ACN_START, ACN_STOP}));
  AdvanceClock(1000);
  EXPECT_EQ(Shown(hwnd), Ref(kYellow));
}

TEST_F(Animation, RepeatCountsReplayTheRange) {
  struct Case {
    int repeat;
    int from, to;
    std::vector<std::uint32_t> seen;  // every 100 ms from the start
    bool playingAfter;
  };
  const std::vector<Case> cases{
      {2, 1, 2, {kGreen, kBlue, kGreen, kBlue, kBlue, kBlue}, false},
      {1, 2, 3, {kBlue, kYellow, kYellow}, false},
      {-1, 0, 1, {kRed, kGreen, kRed, kGreen, kRed, kGreen, kRed}, true},
  };
  for (const Case& c : cases) {
    HWND hwnd = Opened(0, SolidFrames({kRed, kGreen, kBlue, kYellow}));
    ASSERT_TRUE(Animate_Play(hwnd, c.from, c.to, c.repeat));
    for (size_t i = 0; i < c.seen.size(); ++i) {
      if (i) AdvanceClock(100);
      EXPECT_EQ(Shown(hwnd), Ref(c.seen[i])) << "repeat " << c.repeat << " step " << i;
    }
    EXPECT_EQ(Animate_IsPlaying(hwnd) != FALSE, c.playingAfter) << "repeat " << c.repeat;
    DestroyWindow(hwnd);
  }
}

TEST_F(Animation, StopHoldsTheCurrentFrameAndNotifies) {
  HWND hwnd = Opened(0, SolidFrames({kRed, kGreen, kBlue, kYellow}));
  Animate_Play(hwnd, 0, -1, -1);
  AdvanceClock(200);
  EXPECT_EQ(Shown(hwnd), Ref(kBlue));
  EXPECT_TRUE(Animate_Stop(hwnd));
  EXPECT_EQ(Codes(), (std::vector<UINT>{ACN_START, ACN_STOP}));
  AdvanceClock(500);
  EXPECT_EQ(Shown(hwnd), Ref(kBlue));
  EXPECT_TRUE(Animate_Stop(hwnd));  // stopping a stopped clip tells nobody
  EXPECT_EQ(Codes().size(), 2u);
}

TEST_F(Animation, SeekingShowsOneFrameWithoutPlaying) {
  HWND hwnd = Opened(0, SolidFrames({kRed, kGreen, kBlue, kYellow}));
  EXPECT_TRUE(Animate_Seek(hwnd, 2));
  EXPECT_EQ(Shown(hwnd), Ref(kBlue));
  EXPECT_FALSE(Animate_IsPlaying(hwnd));
  EXPECT_TRUE(Codes().empty());
}

TEST_F(Animation, BadRequestsAreRefused) {
  HWND empty = Create(0, 20, 20);
  EXPECT_FALSE(Animate_Play(empty, 0, -1, 1));
  EXPECT_FALSE(Animate_Open(empty, (stores_.TempDir() + "/missing.avi").c_str()));
  std::string junk = stores_.TempDir() + "/junk.avi";
  ASSERT_TRUE(WriteBytes(junk, {'n', 'o', 't', ' ', 'a', 'v', 'i'}));
  EXPECT_FALSE(Animate_Open(empty, junk.c_str()));
  EXPECT_FALSE(Animate_OpenEx(empty, nullptr, MAKEINTRESOURCE(9999)));
  HWND hwnd = Opened(0, SolidFrames({kRed, kGreen, kBlue}));
  EXPECT_FALSE(Animate_Play(hwnd, 2, 1, 1));
  EXPECT_FALSE(Animate_Play(hwnd, 0, 3, 1));
  EXPECT_FALSE(Animate_Play(hwnd, 3, 3, 1));
  EXPECT_FALSE(Animate_IsPlaying(hwnd));
  EXPECT_TRUE(Codes().empty());
}

TEST_F(Animation, OpeningNothingClosesTheClip) {
  HWND hwnd = Opened(0, SolidFrames({kRed, kGreen}));
  Animate_Play(hwnd, 0, -1, -1);
  EXPECT_TRUE(Animate_Close(hwnd));
  EXPECT_FALSE(Animate_IsPlaying(hwnd));
  EXPECT_EQ(Codes(), (std::vector<UINT>{ACN_START, ACN_STOP}));
  EXPECT_FALSE(Animate_Play(hwnd, 0, -1, 1));
  EXPECT_EQ(Shown(hwnd), GetSysColor(COLOR_3DFACE));
}

TEST_F(Animation, AutoplayPlaysForEverOnceOpened) {
  HWND hwnd = Opened(ACS_AUTOPLAY, SolidFrames({kRed, kGreen}));
  EXPECT_TRUE(Animate_IsPlaying(hwnd));
  EXPECT_EQ(Codes(), std::vector<UINT>{ACN_START});
  AdvanceClock(100 * 11);
  EXPECT_EQ(Shown(hwnd), Ref(kGreen));
  EXPECT_TRUE(Animate_IsPlaying(hwnd));
}

TEST_F(Animation, CentredClipKeepsTheWindowSize) {
  HWND hwnd = Create(ACS_CENTER, 40, 20);
  std::string path = ClipFile(SolidFrames({kRed}));
  ASSERT_TRUE(Animate_Open(hwnd, path.c_str()));
  RECT r;
  GetClientRect(hwnd, &r);
  EXPECT_EQ(r.right, 40);
  EXPECT_EQ(r.bottom, 20);
  // The 16 x 8 picture sits at (12, 6).
  EXPECT_EQ(Shown(hwnd, 12, 6), Ref(kRed));
  EXPECT_EQ(Shown(hwnd, 27, 13), Ref(kRed));
  EXPECT_EQ(Shown(hwnd, 11, 6), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(Shown(hwnd, 12, 5), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(Shown(hwnd, 28, 13), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(Shown(hwnd, 12, 14), GetSysColor(COLOR_3DFACE));
}

TEST_F(Animation, TransparentClipShowsTheParentsBackground) {
  AviSpec spec = SolidFrames({kMagenta});
  for (int y = 2; y < 6; ++y)
    for (int x = 4; x < 12; ++x) spec.frames[0][static_cast<size_t>(y) * 16 + x] = kBlue;
  HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
  recorder_.Watch(WM_CTLCOLORSTATIC);
  recorder_.SetResult(reinterpret_cast<LRESULT>(brush));
  HWND plain = Opened(0, spec);
  HWND transparent = Opened(ACS_TRANSPARENT, spec);
  SetWindowPos(transparent, nullptr, 40, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Shown(plain, 0, 0), Ref(kMagenta));
  EXPECT_EQ(Shown(plain, 5, 3), Ref(kBlue));
  EXPECT_EQ(Shown(transparent, 0, 0), RGB(10, 200, 30));
  EXPECT_EQ(Shown(transparent, 15, 7), RGB(10, 200, 30));
  EXPECT_EQ(Shown(transparent, 5, 3), Ref(kBlue));
  DestroyWindow(plain);
  DestroyWindow(transparent);
  DeleteObject(brush);
}

TEST_F(Animation, AnotherThreadStopsItBySending) {
  HWND hwnd = Opened(0, SolidFrames({kRed, kGreen}));
  Animate_Play(hwnd, 0, -1, -1);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    SendMessage(hwnd, ACM_STOP, 0, 0);
    done = true;
  });
  for (int guard = 0; !done && guard < 1000000; ++guard) RunUntilIdle();
  worker.join();
  EXPECT_FALSE(Animate_IsPlaying(hwnd));
  EXPECT_EQ(Codes(), (std::vector<UINT>{ACN_START, ACN_STOP}));
}

TEST_F(Animation, TheProgramsCopyClipPlaysFromTheResources) {
  HWND hwnd = Create(0);
  ASSERT_TRUE(Animate_OpenEx(hwnd, nullptr, MAKEINTRESOURCE(151)));
  RECT r;
  GetClientRect(hwnd, &r);
  EXPECT_EQ(r.right, 272);
  EXPECT_EQ(r.bottom, 60);
  EXPECT_EQ(Shown(hwnd, 0, 0), RGB(192, 192, 192));
  // The flying page moves: some pixel of its path changes between frames.
  auto column = [&](int x) {
    std::vector<COLORREF> c;
    for (int y = 0; y < 60; ++y) c.push_back(WindowPixel(hwnd, x, y));
    return c;
  };
  RunUntilIdle();
  auto before = column(136);
  ASSERT_TRUE(Animate_Play(hwnd, 0, -1, -1));
  AdvanceClock(8 * 67);
  RunUntilIdle();
  EXPECT_NE(column(136), before);
  EXPECT_TRUE(Animate_IsPlaying(hwnd));
  std::string png = (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
                     "animation-progress-clip.png").string();
  EXPECT_TRUE(SaveWindowPng(hwnd, png));
}

}  // namespace
