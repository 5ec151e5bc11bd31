// The application object and threads: the message loop with idle processing, a worker thread
// that drives a window only by sent messages, user-interface threads that refuse to start, the
// profile over the registry and INI files, message boxes, formatted prompts and the wait cursor.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AfxTestResources.h"
#include "afx/afx.h"
#include "os/FileFaults.h"
#include "os/Registry.h"
#include "testing/testing.h"

using brambolt::test::PrivateStores;
using brambolt::test::UiSession;

namespace {

constexpr UINT kStep = WM_APP + 1;
constexpr UINT ID_TEST_QUIT = 33000;

class MainWindow : public CWnd {
 public:
  std::vector<std::string> log;
  int idleUpdates = 0;

 protected:
  afx_msg LRESULT OnStep(WPARAM wParam, LPARAM) {
    log.push_back("step " + std::to_string(wParam));
    return static_cast<LRESULT>(wParam) * 2;
  }
  afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM) {
    ++idleUpdates;
    return 0;
  }
  afx_msg void OnQuitCommand() {
    log.push_back("quit command");
    DestroyWindow();
  }
  void PostNcDestroy() override { log.push_back("gone"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MainWindow, CWnd)
  ON_MESSAGE(kStep, OnStep)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
  ON_COMMAND(ID_TEST_QUIT, OnQuitCommand)
END_MESSAGE_MAP()

// Makes `window` the application's main window, shown.
BOOL MakeMainWindow(CWinApp& app, CWnd& window) {
  if (!window.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                       nullptr))
    return FALSE;
  app.m_pMainWnd = &window;
  return TRUE;
}

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp("Test Application") {}
  MainWindow window;
  std::vector<LONG> idleCounts;
  size_t temporariesAtSecondIdle = 99;
  bool quitWhenIdle = true;

  BOOL InitInstance() override { return MakeMainWindow(*this, window); }
  BOOL OnIdle(LONG lCount) override {
    idleCounts.push_back(lCount);
    if (lCount == 0) CWnd::FromHandle(::GetDesktopWindow());  // a temporary object to clean up
    BOOL more = CWinApp::OnIdle(lCount);
    if (lCount == 1) {
      temporariesAtSecondIdle = brambolt::afx::TemporaryObjectCount();
      // The first idle period ends the test: the menu command closes the main window.
      if (quitWhenIdle && idleCounts.size() == 2) ::PostMessage(window.m_hWnd, WM_COMMAND, ID_TEST_QUIT, 0);
    }
    return more;
  }
};

TEST(ApplicationLoop, RunsIdleProcessingAndEndsWhenTheMainWindowCloses) {
  UiSession session;
  TestApp app;
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_EQ(AfxGetThread(), &app);
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(AfxGetMainWnd(), &app.window);
  int code = app.Run();
  EXPECT_EQ(code, 0);
  ASSERT_GE(app.idleCounts.size(), 2u);
  EXPECT_EQ(app.idleCounts[0], 0);
  EXPECT_EQ(app.idleCounts[1], 1);
  EXPECT_EQ(app.temporariesAtSecondIdle, 0u) << "the second idle call deletes the temporary objects";
  EXPECT_GE(app.window.idleUpdates, 1) << "the first idle call updates the main window";
  EXPECT_EQ(app.window.log, (std::vector<std::string>{"quit command", "gone"}));
  EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(ApplicationThreads, SuspendedWorkerDrivesAWindowBySentMessages) {
  UiSession session;
  TestApp app;
  app.quitWhenIdle = false;  // the worker ends the loop
  ASSERT_TRUE(app.InitInstance());
  struct Work {
    HWND target;
    std::atomic<bool> started{false};
    std::vector<LRESULT> answers;
    CWnd* mainWindowSeen = nullptr;
  } work;
  work.target = app.window.m_hWnd;
  auto worker = [](LPVOID param) -> UINT {
    auto* w = static_cast<Work*>(param);
    w->started = true;
    w->mainWindowSeen = AfxGetMainWnd();
    for (WPARAM i = 1; i <= 3; ++i) w->answers.push_back(::SendMessage(w->target, kStep, i, 0));
    ::PostMessage(w->target, WM_COMMAND, ID_TEST_QUIT, 0);
    return 5;
  };
  CWinThread* thread = AfxBeginThread(worker, &work, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  ::Sleep(0);
  brambolt::test::RunUntilIdle();
  EXPECT_FALSE(work.started) << "a suspended thread waits for ResumeThread";
  thread->ResumeThread();
  // The user-interface thread sits in its loop; the worker's sent messages are served there.
  app.Run();
  ::WaitForSingleObject(thread->m_hThread, INFINITE);
  DWORD exitCode = 0;
  ::GetExitCodeThread(thread->m_hThread, &exitCode);
  EXPECT_EQ(exitCode, 5u);
  EXPECT_EQ(work.answers, (std::vector<LRESULT>{2, 4, 6}));
  EXPECT_EQ(app.window.log, (std::vector<std::string>{"step 1", "step 2", "step 3", "quit command", "gone"}));
  ASSERT_NE(work.mainWindowSeen, nullptr) << "a worker works for the application's main window";
  EXPECT_NE(work.mainWindowSeen, &app.window) << "through an object of its own thread";
  delete thread;
}

std::atomic<int> g_refusingThreadsDeleted{0};
std::atomic<int> g_refusingExitCode{0};
HANDLE g_refusingThreadGone = nullptr;

class RefusingThread : public CWinThread {
  DECLARE_DYNCREATE(RefusingThread)

 public:
  ~RefusingThread() override {
    ++g_refusingThreadsDeleted;
    ::SetEvent(g_refusingThreadGone);
  }
  BOOL InitInstance() override { return FALSE; }
  int ExitInstance() override {
    g_refusingExitCode = 3;
    return 3;
  }
};

IMPLEMENT_DYNCREATE(RefusingThread, CWinThread)

TEST(ApplicationThreads, ThreadWhoseInitInstanceFailsEndsAndIsDeleted) {
  g_refusingThreadsDeleted = 0;
  g_refusingThreadGone = ::CreateEvent(nullptr, TRUE, FALSE, nullptr);
  CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(RefusingThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(g_refusingThreadGone, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(g_refusingExitCode, 3) << "ExitInstance ran";
  EXPECT_EQ(g_refusingThreadsDeleted, 1);
  ::CloseHandle(g_refusingThreadGone);
}

class ProfileTest : public ::testing::Test {
 protected:
  PrivateStores stores;
  UiSession session;
};

TEST_F(ProfileTest, RegistryValuesRoundTripAndSectionsHoldBackslashes) {
  CWinApp app("Profile App");
  app.SetRegistryKey("Brambolt Tests");
  EXPECT_STREQ(app.m_pszProfileName, "Profile App");
  app.WriteProfileString("C\\Color Groups\\Text", nullptr, nullptr);  // whatever an earlier run left
  EXPECT_EQ(app.GetProfileInt("C\\Color Groups\\Text", "Count", -1), static_cast<UINT>(-1));
  EXPECT_TRUE(app.WriteProfileInt("C\\Color Groups\\Text", "Count", 12));
  EXPECT_EQ(app.GetProfileInt("C\\Color Groups\\Text", "Count", -1), 12u);
  EXPECT_TRUE(app.WriteProfileString("Recent", "File1", "C:\\work\\a.vbp"));
  EXPECT_EQ(std::string(app.GetProfileString("Recent", "File1")), "C:\\work\\a.vbp");
  EXPECT_EQ(std::string(app.GetProfileString("Recent", "Missing", "fallback")), "fallback");

  BYTE placement[44];
  for (int i = 0; i < 44; ++i) placement[i] = static_cast<BYTE>(i * 7);
  EXPECT_TRUE(app.WriteProfileBinary("Frame", "Placement", placement, sizeof(placement)));
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(app.GetProfileBinary("Frame", "Placement", &data, &size));
  std::unique_ptr<BYTE[]> owned(data);
  ASSERT_EQ(size, 44u);
  EXPECT_TRUE(std::equal(placement, placement + 44, data));

  HKEY key = app.GetSectionKey("Recent");
  ASSERT_NE(key, nullptr);
  DWORD type = 0;
  EXPECT_EQ(::RegQueryValueEx(key, "File1", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  ::RegCloseKey(key);

  EXPECT_TRUE(app.WriteProfileString("Recent", nullptr, nullptr)) << "a NULL entry empties the section";
  EXPECT_EQ(std::string(app.GetProfileString("Recent", "File1", "gone")), "gone");
}

// A profile write whose settings file cannot be written (here it cannot even be read: a folder
// stands at its name) reports failure, while the value stays for this session.
TEST_F(ProfileTest, RegistryWritesThatCannotBeStoredReportFailure) {
  brambolt::ResetRegistryForTesting();
  std::filesystem::create_directories(stores.RegistryDir() + "/HKEY_CURRENT_USER.reg");
  CWinApp app("Profile App");
  app.SetRegistryKey("Brambolt Tests");
  EXPECT_FALSE(app.WriteProfileString("Recent", "File1", "C:\\work\\a.vbp"));
  EXPECT_FALSE(app.WriteProfileInt("Settings", "Count", 12));
  BYTE placement[4] = {1, 2, 3, 4};
  EXPECT_FALSE(app.WriteProfileBinary("Frame", "Placement", placement, sizeof placement));
  EXPECT_FALSE(app.WriteProfileString("Recent", nullptr, nullptr));
  EXPECT_EQ(app.GetProfileInt("Settings", "Count", -1), 12u);
  std::filesystem::remove(stores.RegistryDir() + "/HKEY_CURRENT_USER.reg");
  EXPECT_TRUE(app.WriteProfileString("Recent", "File2", "b.vbp"));
  brambolt::ResetRegistryForTesting();
  EXPECT_EQ(std::string(app.GetProfileString("Recent", "File2")), "b.vbp");
  EXPECT_EQ(app.GetProfileInt("Settings", "Count", -1), 12u) << "a failed write goes with the next one";
  brambolt::ResetRegistryForTesting();
}

TEST_F(ProfileTest, IniFileValuesRoundTrip) {
  CWinApp app("Ini App");
  std::string ini = stores.TempDir() + "/app.ini";
  app.m_pszProfileName = ini.c_str();
  EXPECT_TRUE(app.WriteProfileInt("Settings", "Width", -40));
  EXPECT_EQ(static_cast<int>(app.GetProfileInt("Settings", "Width", 0)), -40);
  EXPECT_TRUE(app.WriteProfileString("Settings", "Name", "value"));
  EXPECT_EQ(std::string(app.GetProfileString("Settings", "Name")), "value");
  const BYTE bytes[] = {0x00, 0x1F, 0xA5, 0xFF};
  EXPECT_TRUE(app.WriteProfileBinary("Settings", "Blob", const_cast<BYTE*>(bytes), sizeof(bytes)));
  EXPECT_EQ(std::string(app.GetProfileString("Settings", "Blob")), "AAPBFKPP") << "low nibble first, from 'A'";
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(app.GetProfileBinary("Settings", "Blob", &data, &size));
  std::unique_ptr<BYTE[]> owned(data);
  ASSERT_EQ(size, 4u);
  EXPECT_TRUE(std::equal(bytes, bytes + 4, data));
  app.m_pszProfileName = nullptr;
}

struct ShownBox {
  std::string text, caption;
  UINT type = 0;
  DWORD threadId = 0;
};
std::vector<ShownBox> g_boxes;

int RecordBox(HWND, LPCTSTR text, LPCTSTR caption, UINT type) {
  g_boxes.push_back({text, caption, type, ::GetCurrentThreadId()});
  return IDCANCEL;
}

TEST(ApplicationMessageBoxes, GoThroughThePresenterWithTheApplicationsCaption) {
  UiSession session;
  CWinApp app("Caption App");
  g_boxes.clear();
  brambolt::afx::SetMessageBoxPresenter(&RecordBox);
  EXPECT_EQ(AfxMessageBox(IDS_GREETING, MB_OK | MB_ICONINFORMATION), IDCANCEL);
  EXPECT_EQ(AfxMessageBox("plain"), IDCANCEL);
  brambolt::afx::SetMessageBoxPresenter(nullptr);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[0].text, "Hello from the table");
  EXPECT_EQ(g_boxes[0].caption, "Caption App");
  EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(g_boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION)) << "a box without an icon gets one";
}

TEST(ApplicationMessageBoxes, WithoutPresenterTheyAreRealMessageBoxes) {
  UiSession session;
  CWinApp app("Real Box App");
  brambolt::test::ModalAnswers answers;
  std::string caption;
  answers.When("#32770", nullptr, [&](HWND box) {
    char text[64] = {};
    ::GetWindowText(box, text, sizeof(text));
    caption = text;
    ::EndDialog(box, IDNO);
  });
  EXPECT_EQ(AfxMessageBox("Really?", MB_YESNO), IDNO);
  EXPECT_EQ(caption, "Real Box App");
}

class SettingsWriterWindow : public CWnd {
 public:
  std::vector<BOOL> written;             // what each write returned
  std::vector<size_t> boxesWhenWritten;  // the boxes shown by the time its handler returned

 protected:
  afx_msg LRESULT OnStep(WPARAM wParam, LPARAM) {
    written.push_back(AfxGetApp()->WriteProfileInt("Settings", "Count", static_cast<int>(wParam)));
    boxesWhenWritten.push_back(g_boxes.size());
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SettingsWriterWindow, CWnd)
  ON_MESSAGE(kStep, OnStep)
END_MESSAGE_MAP()

// Writes its settings from the loop's idle time on: twice inside a message handler, then once
// on a thread of its own whose write fails for another reason (a full disk); then it closes.
class SettingsWriterApp : public CWinApp {
 public:
  explicit SettingsWriterApp(std::string folder) : CWinApp("Settings App"), registryDir(std::move(folder)) {}
  ~SettingsWriterApp() override {
    if (worker.joinable()) worker.join();
  }
  SettingsWriterWindow window;
  std::string registryDir;
  int stage = 0;
  size_t boxesBeforeWorker = 0;
  std::thread worker;
  std::atomic<bool> workerDone{false};
  BOOL workerWritten = TRUE;

  BOOL InitInstance() override {
    SetRegistryKey("Brambolt Tests");
    return MakeMainWindow(*this, window);
  }
  BOOL OnIdle(LONG lCount) override {
    const BOOL more = CWinApp::OnIdle(lCount);
    if (lCount != 1) return more;
    if (stage == 0) {
      stage = 1;
      ::PostMessage(window.m_hWnd, kStep, 1, 0);
      ::PostMessage(window.m_hWnd, kStep, 2, 0);
    } else if (stage == 1) {
      stage = 2;
      boxesBeforeWorker = g_boxes.size();
      worker = std::thread([this] {
        std::filesystem::remove(registryDir + "/HKEY_CURRENT_USER.reg");
        brambolt::ScopedFileFaultHook fullDisk([this](brambolt::FileStep step, const std::string& path) {
          return step == brambolt::FileStep::Write && path.rfind(registryDir + "/", 0) == 0 ? ENOSPC : 0;
        });
        workerWritten = WriteProfileInt("Settings", "Count", 3);
        workerDone = true;
        ::PostMessage(window.m_hWnd, WM_NULL, 0, 0);
      });
    } else if (stage == 2 && workerDone) {
      stage = 3;
      ::PostMessage(window.m_hWnd, WM_CLOSE, 0, 0);
    }
    return more;
  }
};

// A settings write that fails is told once, in a warning box of the program naming the file and
// the reason. The box comes when the loop is idle, not inside the handler that wrote; the same
// failure again shows none; one met on another thread is shown on the program's thread; one met
// once the program is closing goes to the standard error.
TEST_F(ProfileTest, AFailedSettingsWriteIsToldOnceInAWarningBox) {
  brambolt::ResetRegistryForTesting();
  const std::string store = stores.RegistryDir() + "/HKEY_CURRENT_USER.reg";
  std::filesystem::create_directories(store);  // a folder at its name: the file cannot be read
  g_boxes.clear();
  brambolt::afx::SetMessageBoxPresenter(&RecordBox);
  {
    SettingsWriterApp app(stores.RegistryDir());
    ASSERT_TRUE(app.InitInstance());
    {
      brambolt::test::HangWatchdog watchdog("the settings writer's loop");
      EXPECT_EQ(app.Run(), 0);
    }
    if (app.worker.joinable()) app.worker.join();
    EXPECT_EQ(app.window.written, (std::vector<BOOL>{FALSE, FALSE}));
    EXPECT_EQ(app.window.boxesWhenWritten, (std::vector<size_t>{0, 0})) << "no box inside the handler that wrote";
    EXPECT_FALSE(app.workerWritten);
    EXPECT_EQ(app.boxesBeforeWorker, 1u) << "the same failure twice is told once";
    ASSERT_EQ(g_boxes.size(), 2u);
    const std::vector<std::string> expected = {
        "Settings are not saved: cannot read " + store + ": " + std::strerror(EISDIR) + "; the file is kept as it is",
        "Settings are not saved: cannot write " + store + ": " + std::strerror(ENOSPC)};
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(g_boxes[i].text, expected[i]);
      EXPECT_EQ(g_boxes[i].caption, "Settings App");
      EXPECT_EQ(g_boxes[i].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
      EXPECT_EQ(g_boxes[i].threadId, ::GetCurrentThreadId()) << "shown on the program's thread";
    }
    // The loop has ended (ExitInstance ran): no window is left to show a failure.
    std::filesystem::create_directories(store);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(app.WriteProfileInt("Settings", "Count", 4));
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(g_boxes.size(), 2u);
    EXPECT_NE(errors.find(expected[0]), std::string::npos) << errors;
  }
  brambolt::afx::SetMessageBoxPresenter(nullptr);
  std::filesystem::remove(store);
  brambolt::ResetRegistryForTesting();
}

TEST(ApplicationHelpers, FormatStringsReplaceNumberedPlaceholders) {
  CString text;
  AfxFormatString1(text, AFX_IDP_FAILED_INVALID_PATH, "C:\\x.txt");
  EXPECT_EQ(std::string(text), "C:\\x.txt could not be found.");
  AfxFormatString2(text, AFX_IDP_PARSE_INT_RANGE, "1", "10");
  EXPECT_EQ(std::string(text), "Enter a whole number from 1 to 10.");
  LPCTSTR parts[] = {"a", "b"};
  AfxFormatStrings(text, "%2-%1-%3-%%", parts, 2);
  EXPECT_EQ(std::string(text), "b-a--%%");
}

TEST(ApplicationHelpers, WaitCursorShowsWhileItLives) {
  UiSession session;
  CWinApp app("Cursor App");
  HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
  ::SetCursor(arrow);
  {
    CWaitCursor wait;
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_WAIT));
    {
      CWaitCursor nested;
    }
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_WAIT)) << "still waiting for the outer one";
  }
  EXPECT_EQ(::GetCursor(), arrow);
}

TEST(ApplicationHelpers, RegisteredClassesAreSharedByAttributes) {
  UiSession session;
  LPCTSTR first = AfxRegisterWndClass(CS_DBLCLKS);
  LPCTSTR second = AfxRegisterWndClass(CS_DBLCLKS);
  EXPECT_EQ(std::string(first), std::string(second));
  EXPECT_NE(std::string(first), std::string(AfxRegisterWndClass(CS_HREDRAW)));
  WNDCLASS wc{};
  EXPECT_TRUE(::GetClassInfo(AfxGetInstanceHandle(), first, &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
}

}  // namespace
