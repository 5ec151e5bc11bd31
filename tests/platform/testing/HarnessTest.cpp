#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "os/os.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONUP) {
    HWND parent = GetParent(hwnd);
    int id = GetDlgCtrlID(hwnd);
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, 7), reinterpret_cast<LPARAM>(hwnd));
    NMHDR nm{hwnd, static_cast<UINT_PTR>(id), static_cast<UINT>(-2)};
    SendMessage(parent, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&nm));
    return 0;
  }
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT c;
    GetClientRect(hwnd, &c);
    HBRUSH b = CreateSolidBrush(RGB(0, 128, 0));
    FillRect(dc, &c, b);
    DeleteObject(b);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

const char* ChildClass() {
  static const char* name = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = ChildProc;
    wc.lpszClassName = "HarnessChild";
    RegisterClass(&wc);
    return "HarnessChild";
  }();
  return name;
}

}  // namespace

TEST(Harness, RecorderKeepsNotificationsWithTheirFullIds) {
  UiSession session;
  NotificationRecorder recorder;
  HWND child = CreateWindowEx(0, ChildClass(), "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, recorder.Hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(70002)), nullptr, nullptr);
  Click(child, POINT{5, 5});
  ASSERT_EQ(recorder.Records().size(), 2u);
  const auto& command = recorder.Records()[0];
  EXPECT_EQ(command.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(command.id, static_cast<UINT_PTR>(70002 & 0xFFFF));  // WM_COMMAND keeps the low word
  EXPECT_EQ(command.code, 7u);
  EXPECT_EQ(command.from, child);
  const auto& notify = recorder.Records()[1];
  EXPECT_EQ(notify.message, static_cast<UINT>(WM_NOTIFY));
  EXPECT_EQ(notify.id, 70002u);  // NMHDR carries the whole id
  EXPECT_EQ(notify.code, static_cast<UINT>(-2));
  EXPECT_EQ(notify.data.size(), sizeof(NMHDR));
}

TEST(Harness, SessionsEndWithNoWindowsLeft) {
  HWND w;
  {
    UiSession session;
    w = CreateWindowEx(0, ChildClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    PostMessage(w, WM_USER, 0, 0);
    EXPECT_TRUE(IsWindow(w));
  }
  EXPECT_FALSE(IsWindow(w));
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(Harness, AdvanceClockStopsAtEveryTimer) {
  UiSession session;
  static std::vector<DWORD> times;
  times.clear();
  UINT_PTR id = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { times.push_back(GetTickCount()); });
  DWORD start = GetTickCount();
  AdvanceClock(100);
  KillTimer(nullptr, id);
  ASSERT_EQ(times.size(), 3u);
  EXPECT_EQ(times[0] - start, 30u);
  EXPECT_EQ(times[1] - start, 60u);
  EXPECT_EQ(times[2] - start, 90u);
  EXPECT_EQ(GetTickCount() - start, 100u);
}

TEST(Harness, TypedDoubleByteTextArrivesAsLeadAndTrailBytes) {
  brambolt::ScopedCodePage page(936);
  UiSession session;
  static std::string chars;
  chars.clear();
  WNDCLASS wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_CHAR) chars.push_back(static_cast<char>(w));
    return DefWindowProc(h, m, w, l);
  };
  wc.lpszClassName = "CharSink";
  RegisterClass(&wc);
  HWND w = CreateWindowEx(0, "CharSink", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  SetFocus(w);
  TypeText("a\xD6\xD0z");
  EXPECT_EQ(chars, "a\xD6\xD0z");
  DestroyWindow(w);
  UnregisterClass("CharSink", nullptr);
}

TEST(Harness, ScriptsDriveLoopsThatWaitForInput) {
  UiSession session;
  HWND w = CreateWindowEx(0, ChildClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  UiScript script;
  std::vector<std::string> seen;
  script.Then([&] {
    seen.push_back("first");
    PostMessage(w, WM_NULL, 0, 0);
  });
  script.Then([&] {
    seen.push_back("second");
    PostMessage(w, WM_CLOSE, 0, 0);
  });
  brambolt::RunModalLoop(w, {});
  EXPECT_EQ(seen, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(script.Remaining(), 0u);
}

TEST(Harness, AnswersMatchClassAndCaptionAndRecordTheRest) {
  UiSession session;
  ModalAnswers answers;
  int matched = 0;
  answers.When(nullptr, "Question", [&](HWND h) {
    ++matched;
    DestroyWindow(h);
  });
  HWND asked = CreateWindowEx(0, ChildClass(), "Question", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  brambolt::RunModalLoop(asked, {});
  EXPECT_EQ(matched, 1);
  HWND other = CreateWindowEx(0, ChildClass(), "Other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  UiScript script;
  script.Then([&] { DestroyWindow(other); });
  brambolt::RunModalLoop(other, {});
  ASSERT_EQ(answers.Unanswered().size(), 1u);
  EXPECT_EQ(answers.Unanswered()[0], other);
}

TEST(Harness, PrivateStoresAreTemporaryAndRestoreTheEnvironment) {
  const char* before = std::getenv("BRAMBOLT_REGISTRY_DIR");
  std::string root;
  {
    PrivateStores stores;
    root = stores.Root();
    ASSERT_FALSE(root.empty());
    EXPECT_STREQ(std::getenv("BRAMBOLT_REGISTRY_DIR"), stores.RegistryDir().c_str());
    EXPECT_TRUE(std::filesystem::is_directory(stores.TempDir()));
    std::ofstream(stores.TempDir() + "/file.txt") << "x";
  }
  EXPECT_FALSE(std::filesystem::exists(root));
  const char* after = std::getenv("BRAMBOLT_REGISTRY_DIR");
  EXPECT_EQ(before == nullptr, after == nullptr);
}

TEST(Harness, SnapshotsAndTheComposedScreenShowWindowsInZOrder) {
  UiSession session;
  PrivateStores stores;
  HWND back = CreateWindowEx(0, ChildClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(back, 50, 50), RGB(0, 128, 0));
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.hbrBackground = GetSysColorBrush(COLOR_HIGHLIGHT);
  wc.lpszClassName = "FrontWindow";
  RegisterClass(&wc);
  HWND front = CreateWindowEx(0, "FrontWindow", "", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, nullptr, nullptr, nullptr, nullptr);
  RunUntilIdle();
  auto screen = session.Backend().Screen();
  EXPECT_EQ(screen->GetColor(25, 25), RGB(0, 128, 0));
  EXPECT_EQ(screen->GetColor(75, 75), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(screen->GetColor(300, 300), GetSysColor(COLOR_DESKTOP));
  SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  screen = session.Backend().Screen();
  EXPECT_EQ(screen->GetColor(75, 75), RGB(0, 128, 0));
  std::string png = stores.TempDir() + "/shot.png";
  ASSERT_TRUE(SaveWindowPng(front, png));
  ASSERT_TRUE(SaveScreenPng(stores.TempDir() + "/screen.png"));
  std::ifstream in(png, std::ios::binary);
  char magic[8] = {};
  in.read(magic, 8);
  EXPECT_EQ(std::memcmp(magic, "\x89PNG\r\n\x1a\n", 8), 0);
  DestroyWindow(front);
  UnregisterClass("FrontWindow", nullptr);
}
