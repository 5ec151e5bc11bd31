#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "WinTestSupport.h"
#include "os/os.h"

using namespace wintest;
using brambolt::test::RunUntilIdle;

class Queue : public WinTest {};
class CrossThreadSend : public WinTest {};

TEST_F(Queue, RetrievalFollowsThePriorityOrder) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  RunUntilIdle();
  SetTimer(w, 7, 10, nullptr);
  brambolt::VirtualClock::Advance(20);
  InvalidateRect(w, nullptr, FALSE);
  SetFocus(w);
  RunUntilIdle();
  InvalidateRect(w, nullptr, FALSE);
  brambolt::VirtualClock::Advance(20);
  brambolt::InjectKey('A', true);
  PostMessage(w, WM_USER + 1, 0, 0);
  PostMessage(w, WM_USER + 2, 0, 0);
  std::vector<UINT> order;
  MSG msg;
  while (order.size() < 5 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(msg.message);
    DispatchMessage(&msg);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_KEYDOWN, WM_PAINT, WM_TIMER}));
  KillTimer(w, 7);
}

TEST_F(Queue, PeekFiltersByRangeAndWindowAndCanLeaveTheMessage) {
  HWND a = MakeWindow(nullptr, WS_POPUP);
  HWND b = MakeWindow(nullptr, WS_POPUP);
  PostMessage(a, WM_USER + 1, 1, 0);
  PostMessage(b, WM_USER + 2, 2, 0);
  PostThreadMessage(GetCurrentThreadId(), WM_USER + 3, 3, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
}

TEST_F(Queue, QuitEndsGetMessageAfterThePostedMessages) {
  PostMessage(nullptr, WM_USER, 0, 0);
  PostQuitMessage(42);
  MSG msg;
  EXPECT_TRUE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 42u);
}

TEST_F(Queue, ThreadMessagesNeedAThreadWithAQueue) {
  EXPECT_FALSE(PostThreadMessage(0x7FFFFFF0, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
}

TEST_F(Queue, PostingToADeadWindowFails) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  PostMessage(w, WM_USER, 0, 0);
  DestroyWindow(w);
  EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
}

// A message below WM_USER whose parameters point at the sender's memory cannot wait in a queue:
// posting it fails with ERROR_MESSAGE_SYNC_ONLY, and nothing arrives.
TEST_F(Queue, PostingAMessageThatCarriesAPointerFails) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  for (UINT msg : {UINT{WM_SETTEXT}, UINT{WM_GETTEXT}, UINT{WM_CREATE}, UINT{WM_WINDOWPOSCHANGED},
                   UINT{WM_DRAWITEM}, UINT{WM_COPYDATA}, UINT{WM_STYLECHANGED}}) {
    SetLastError(0);
    EXPECT_FALSE(PostMessage(w, msg, 0, reinterpret_cast<LPARAM>("text"))) << std::hex << msg;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY)) << std::hex << msg;
    EXPECT_FALSE(PostThreadMessage(GetCurrentThreadId(), msg, 0, 0)) << std::hex << msg;
  }
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, WM_USER - 1, PM_REMOVE | PM_QS_POSTMESSAGE));
  // The same numbers above WM_USER are the program's own, and its own messages are posted.
  EXPECT_TRUE(PostMessage(w, WM_USER + WM_SETTEXT, 0, 0));
  EXPECT_TRUE(PostMessage(w, WM_CLOSE, 0, 0));
}

// A loop that filters on a window destroyed meanwhile returns at once instead of waiting for
// messages that can never come; what was queued for the window and its children is dropped.
TEST_F(Queue, ALoopFilteringOnADestroyedWindowReturnsAndItsMessagesAreDropped) {
  brambolt::test::HangWatchdog watchdog("a message loop filtering on a destroyed window");
  HWND w = MakeWindow(nullptr, WS_POPUP);
  HWND child = MakeWindow(w, WS_CHILD, RECT{0, 0, 10, 10}, 1);
  PostMessage(w, WM_USER, 0, 0);
  PostMessage(child, WM_USER + 1, 0, 0);
  DestroyWindow(w);
  SetLastError(0);
  EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER + 1, PM_REMOVE));
  SetLastError(0);
  EXPECT_FALSE(PeekMessage(&msg, w, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_EQ(GetMessage(&msg, w, 0, 0), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));

  // Destroyed while GetMessage waits for it: another thread closes it through a sent message.
  HWND other = MakeWindow(nullptr, WS_POPUP);
  std::thread closer([other] { SendMessage(other, WM_CLOSE, 0, 0); });
  EXPECT_EQ(GetMessage(&msg, other, 0, 0), -1);
  closer.join();
  EXPECT_FALSE(IsWindow(other));
}

// Input injected while nothing is queued (keybd_event from a WM_ENTERIDLE handler, as a program
// closes a menu it tracks) ends a wait that began after it, before the input reached a queue.
TEST_F(Queue, InputInjectedBeforeAWaitEndsIt) {
  brambolt::test::HangWatchdog watchdog("a wait that injected input does not end");
  HWND owner = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  SetActiveWindow(owner);
  SetFocus(owner);
  RunUntilIdle();
  brambolt::InjectKey('A', true);
  WaitMessage();
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, owner);
  brambolt::InjectKey('A', false);
  RunUntilIdle();

  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, 10, "&Open");
  int idles = 0;
  MessageLog::Instance().SetHandler([&](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_ENTERIDLE && idles++ == 0) {
      keybd_event(VK_ESCAPE, 0, 0, 0);
      keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    }
    return false;
  });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 40, 40, 0, owner, nullptr), 0);
  EXPECT_GE(idles, 1);
  MessageLog::Instance().SetHandler(nullptr);
  DestroyMenu(menu);
}

TEST_F(Queue, MessageTimeAndPositionFollowTheLastRetrievedMessage) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  RunUntilIdle();
  brambolt::VirtualClock::Advance(1234);
  brambolt::InjectMouseMove(POINT{30, 40});
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, w, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
  EXPECT_EQ(GetMessageTime(), static_cast<LONG>(GetTickCount()));
  EXPECT_EQ(GET_X_LPARAM(GetMessagePos()), 30);
  EXPECT_EQ(GET_Y_LPARAM(GetMessagePos()), 40);
}

TEST_F(Queue, QueueStatusReportsWhatWaits) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  RunUntilIdle();
  GetQueueStatus(QS_ALLINPUT);
  PostMessage(w, WM_USER, 0, 0);
  DWORD status = GetQueueStatus(QS_ALLINPUT);
  EXPECT_TRUE(LOWORD(status) & QS_POSTMESSAGE);
  EXPECT_TRUE(HIWORD(status) & QS_POSTMESSAGE);
  // The high word tells what waits; the low word only what came since the last call.
  status = GetQueueStatus(QS_ALLINPUT);
  EXPECT_TRUE(HIWORD(status) & QS_POSTMESSAGE);
  EXPECT_FALSE(LOWORD(status) & QS_POSTMESSAGE);
  RunUntilIdle();
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), 0u);
}

TEST_F(Queue, PeekLooksOnlyAtTheKindsItsFlagsName) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  RunUntilIdle();
  PostMessage(w, WM_USER, 0, 0);
  InvalidateRect(w, nullptr, TRUE);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_PAINT));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT)) << "the posted message is not looked at";
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_INPUT));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  // A message sent from another thread waits for a peek that names sent messages.
  std::atomic<bool> answered{false};
  std::thread worker([&] {
    SendMessage(w, WM_USER + 1, 0, 0);
    answered = true;
  });
  while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE)) std::this_thread::yield();
  PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_INPUT);
  EXPECT_TRUE(MessageLog::Instance().For(w, {WM_USER + 1}).empty());
  PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  worker.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_USER + 1}).size(), 1u);
}

// A broadcast goes to the top-level windows (pop-ups, hidden and owned ones included), never to a
// child, not even one of the desktop; HWND_TOPMOST broadcasts as HWND_BROADCAST does. Messages of
// the private ranges (WM_USER..0xBFFF) mean something else to every window and are not broadcast.
TEST_F(Queue, BroadcastReachesTheTopLevelWindowsWithSystemAndRegisteredMessagesOnly) {
  HWND a = MakeWindow(nullptr, WS_POPUP);
  HWND b = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW);
  HWND owned = MakeWindow(a, WS_POPUP);
  HWND child = MakeWindow(a, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, 1);
  HWND desktopChild = MakeWindow(GetDesktopWindow(), WS_CHILD, RECT{0, 0, 10, 10}, 2);
  const UINT registered = RegisterWindowMessage("Brambolt broadcast test");
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeout(HWND_BROADCAST, registered, 1, 0, SMTO_NORMAL, 1000, &result));
  int calls = 0;
  EXPECT_TRUE(SendMessageCallback(HWND_BROADCAST, WM_SETTINGCHANGE, 2, 0,
                                  [](HWND, UINT, ULONG_PTR data, LRESULT) { ++*reinterpret_cast<int*>(data); },
                                  reinterpret_cast<ULONG_PTR>(&calls)));
  SendMessage(HWND_TOPMOST, registered, 3, 0);
  SetLastError(0);
  EXPECT_TRUE(PostMessage(HWND_TOPMOST, registered, 4, 0));
  EXPECT_EQ(GetLastError(), 0u);
  for (UINT privateMessage : {static_cast<UINT>(WM_USER + 2), static_cast<UINT>(WM_APP + 3), 0xBFFFu}) {
    SendMessage(HWND_BROADCAST, privateMessage, 0, 0);
    SendNotifyMessage(HWND_BROADCAST, privateMessage, 0, 0);
    PostMessage(HWND_BROADCAST, privateMessage, 0, 0);
  }
  RunUntilIdle();
  for (HWND h : {a, b, owned}) {
    std::vector<WPARAM> got;
    for (const Logged& m : MessageLog::Instance().All())
      if (m.hwnd == h && (m.msg == registered || m.msg == WM_SETTINGCHANGE)) got.push_back(m.wParam);
    EXPECT_EQ(got, (std::vector<WPARAM>{1, 2, 3, 4})) << h;
    EXPECT_TRUE(MessageLog::Instance().For(h, {WM_USER + 2, WM_APP + 3, 0xBFFF}).empty()) << h;
  }
  for (HWND h : {child, desktopChild})
    EXPECT_TRUE(MessageLog::Instance().For(h, {registered, WM_SETTINGCHANGE}).empty()) << h;
  EXPECT_GE(calls, 3);
}

TEST_F(Queue, SendNotifyAndCallbackOnTheSameThreadRunAtOnce) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_USER) return false;
    r = 99;
    return true;
  });
  EXPECT_TRUE(SendNotifyMessage(w, WM_USER, 0, 0));
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_USER}).size(), 1u);
  static LRESULT got = 0;
  SendMessageCallback(w, WM_USER, 0, 0, [](HWND, UINT, ULONG_PTR data, LRESULT r) { got = r + static_cast<LRESULT>(data); }, 1);
  EXPECT_EQ(got, 100);
}

namespace {

// A window on the test thread that answers WM_USER with wParam * 2.
HWND Doubler() {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT& r) {
    if (msg != WM_USER) return false;
    r = static_cast<LRESULT>(wp * 2);
    return true;
  });
  return w;
}

}  // namespace

TEST_F(CrossThreadSend, BlocksUntilTheOwningThreadHandlesIt) {
  HWND w = Doubler();
  std::atomic<LRESULT> result{0};
  DWORD me = GetCurrentThreadId();
  std::thread worker([&] {
    result = SendMessage(w, WM_USER, 21, 0);
    EXPECT_FALSE(InSendMessage());
    PostThreadMessage(me, WM_USER + 5, 0, 0);
  });
  // GetMessage serves the sent message while it waits for the posted one.
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) && msg.message != WM_USER + 5) DispatchMessage(&msg);
  worker.join();
  EXPECT_EQ(result, 42);
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_USER}).size(), 1u);
}

// A message another thread sent that is served while the receiver waits for messages ends the
// wait, as a message put in its queue does: what it did (a window closed, a flag set) is for the
// receiver's loop to see at once, and a modal loop the message ended is left.
TEST_F(CrossThreadSend, ServedInAWaitForMessagesEndsTheWait) {
  HWND w = Doubler();
  std::atomic<LRESULT> result{0};
  std::thread worker([&] { result = SendMessage(w, WM_USER, 4, 0); });
  while (!(GetQueueStatus(QS_SENDMESSAGE) & QS_SENDMESSAGE)) std::this_thread::yield();
  // Should the wait go on, a watchdog ends it with a message of its own.
  const DWORD me = GetCurrentThreadId();
  std::mutex mutex;
  std::condition_variable returned;
  bool bReturned = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(mutex);
    if (!returned.wait_for(lock, std::chrono::seconds(10), [&] { return bReturned; }))
      PostThreadMessage(me, WM_USER + 7, 0, 0);
  });
  WaitMessage();
  {
    std::lock_guard<std::mutex> lock(mutex);
    bReturned = true;
  }
  returned.notify_all();
  watchdog.join();
  worker.join();
  EXPECT_EQ(result, 8);
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER + 7, WM_USER + 7, PM_REMOVE)) << "the wait went on after the send";
}

TEST_F(CrossThreadSend, IsServedInsideAModalLoop) {
  HWND dialog = Doubler();
  std::atomic<int> answers{0};
  std::thread worker([&] {
    for (int i = 1; i <= 5; ++i) answers += SendMessage(dialog, WM_USER, static_cast<WPARAM>(i), 0) == i * 2;
    SendMessage(dialog, WM_CLOSE, 0, 0);  // the worker ends the loop by closing its window
  });
  bool ended = brambolt::RunModalLoop(dialog, {});
  worker.join();
  EXPECT_TRUE(ended);
  EXPECT_EQ(answers, 5);
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(CrossThreadSend, IsServedWhileTheReceiverWaitsInItsOwnSend) {
  HWND mine = Doubler();
  // The worker owns a window too; the main thread sends to it while the worker sends to us.
  std::atomic<HWND> theirs{nullptr};
  std::atomic<bool> stop{false};
  std::atomic<LRESULT> workerGot{0};
  std::thread worker([&] {
    HWND w = CreateWindowEx(0, LoggingClass(), "worker", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    theirs = w;
    // This send arrives while the main thread is blocked in its send to us.
    workerGot = SendMessage(mine, WM_USER, 50, 0);
    MSG msg;
    while (!stop) {
      if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
      else
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    DestroyWindow(w);
  });
  while (theirs.load() == nullptr) std::this_thread::yield();
  LRESULT r = SendMessage(theirs, WM_USER, 4, 0);
  EXPECT_EQ(r, 8);
  stop = true;
  worker.join();
  EXPECT_EQ(workerGot, 100);
}

TEST_F(CrossThreadSend, IsServedDuringMsgWaitForMultipleObjects) {
  HWND w = Doubler();
  HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  std::atomic<LRESULT> result{0};
  std::thread worker([&] {
    result = SendMessage(w, WM_USER, 8, 0);
    SetEvent(event);
  });
  DWORD r;
  do {
    r = MsgWaitForMultipleObjects(1, &event, FALSE, 5000, QS_POSTMESSAGE);
  } while (r == WAIT_OBJECT_0 + 1);
  worker.join();
  EXPECT_EQ(r, WAIT_OBJECT_0);
  EXPECT_EQ(result, 16);
  CloseHandle(event);
}

TEST_F(CrossThreadSend, ReceiverSeesInSendMessageAndMayReplyEarly) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  std::atomic<bool> replied{false};
  DWORD during = 0, after = 0;
  MessageLog::Instance().SetHandler([&](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_USER) return false;
    during = InSendMessageEx(nullptr);
    EXPECT_TRUE(InSendMessage());
    EXPECT_TRUE(ReplyMessage(77));
    // The sender runs on now; wait until it says so.
    while (!replied) std::this_thread::yield();
    after = InSendMessageEx(nullptr);
    r = 5;
    return true;
  });
  std::atomic<LRESULT> result{0};
  std::thread worker([&] {
    result = SendMessage(w, WM_USER, 0, 0);
    replied = true;
  });
  while (!replied) {
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  worker.join();
  EXPECT_EQ(result, 77);
  EXPECT_EQ(during, static_cast<DWORD>(ISMEX_SEND));
  EXPECT_EQ(after, static_cast<DWORD>(ISMEX_SEND | ISMEX_REPLIED));
  EXPECT_FALSE(InSendMessage());
  EXPECT_FALSE(ReplyMessage(1));
}

TEST_F(CrossThreadSend, TimeoutGivesUpWhenTheReceiverIsBusy) {
  HWND w = Doubler();
  std::atomic<LRESULT> ok{1};
  std::atomic<DWORD> error{0};
  std::thread worker([&] {
    DWORD_PTR result = 0;
    ok = SendMessageTimeout(w, WM_USER, 1, 0, SMTO_NORMAL, 20, &result);
    error = GetLastError();
  });
  worker.join();  // the main thread never pumps during the send
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_TIMEOUT));
  RunUntilIdle();  // the abandoned message is still served, harmlessly
}

TEST_F(CrossThreadSend, NotificationsDoNotWaitAndArriveInOrder) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  std::thread worker([&] {
    for (WPARAM i = 0; i < 3; ++i) EXPECT_TRUE(SendNotifyMessage(w, WM_USER, i, 0));
  });
  worker.join();
  RunUntilIdle();
  std::vector<WPARAM> seen;
  for (const Logged& m : MessageLog::Instance().All())
    if (m.msg == WM_USER) seen.push_back(m.wParam);
  EXPECT_EQ(seen, (std::vector<WPARAM>{0, 1, 2}));
}

TEST_F(CrossThreadSend, ToAThreadThatEndedReturnsZero) {
  std::atomic<HWND> w{nullptr};
  std::thread owner([&] {
    w = CreateWindowEx(0, LoggingClass(), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  });
  owner.join();
  EXPECT_FALSE(IsWindow(w));  // a thread's windows go with it
  EXPECT_EQ(SendMessage(w, WM_USER, 1, 0), 0);
}

TEST_F(CrossThreadSend, WindowTextSetFromAWorkerGoesThroughTheOwner) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    SetWindowText(w, "from worker");
    done = true;
  });
  while (!done) {
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  worker.join();
  char text[32];
  GetWindowText(w, text, sizeof(text));
  EXPECT_STREQ(text, "from worker");
  auto setText = MessageLog::Instance().For(w, {WM_SETTEXT});
  EXPECT_EQ(setText.size(), 1u);
}

class ModalLoops : public WinTest {};

TEST_F(ModalLoops, NestedLoopsEndWhenTheirWindowsAreDestroyed) {
  HWND outer = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  HWND inner = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  std::vector<std::string> trace;
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_USER && h == outer) {
      trace.push_back("inner starts");
      PostMessage(inner, WM_CLOSE, 0, 0);
      EXPECT_TRUE(brambolt::RunModalLoop(inner, {}));
      trace.push_back("inner ended");
      DestroyWindow(outer);  // the window of the running loop dies inside its own handler
      return true;
    }
    return false;
  });
  PostMessage(outer, WM_USER, 0, 0);
  EXPECT_TRUE(brambolt::RunModalLoop(outer, {}));
  EXPECT_EQ(trace, (std::vector<std::string>{"inner starts", "inner ended"}));
  EXPECT_FALSE(IsWindow(inner));
  EXPECT_FALSE(IsWindow(outer));
  EXPECT_EQ(brambolt::ModalLoopDepth(), 0);
}

TEST_F(ModalLoops, QuitEndsTheLoopAndIsPostedAgain) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  PostQuitMessage(3);
  EXPECT_FALSE(brambolt::RunModalLoop(w, {}));
  EXPECT_TRUE(IsWindow(w));
  MSG msg;
  EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(ModalLoops, MessageFilterHooksSeeTheLoopsMessages) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  static std::vector<std::pair<int, UINT>> seen;
  seen.clear();
  HHOOK hook = SetWindowsHookEx(WH_MSGFILTER, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
    auto* m = reinterpret_cast<MSG*>(lp);
    if (m->message == WM_USER) {
      seen.emplace_back(code, m->message);
      return 1;  // eaten: the window never sees it
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }, nullptr, GetCurrentThreadId());
  PostMessage(w, WM_USER, 0, 0);
  PostMessage(w, WM_CLOSE, 0, 0);
  brambolt::ModalLoopOptions options;
  options.filterCode = MSGF_MENU;
  brambolt::RunModalLoop(w, options);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(seen, (std::vector<std::pair<int, UINT>>{{MSGF_MENU, WM_USER}}));
  EXPECT_TRUE(MessageLog::Instance().For(w, {WM_USER}).empty());
}

TEST_F(ModalLoops, ObserversAreToldWhenALoopGoesIdle) {
  HWND w = CreateWindowEx(0, LoggingClass(), "Answer me", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                          nullptr, nullptr, nullptr, nullptr);
  brambolt::test::ModalAnswers answers;
  int calls = 0;
  answers.When("logwnd", "Answer me", [&](HWND h) {
    ++calls;
    PostMessage(h, WM_CLOSE, 0, 0);
  });
  brambolt::RunModalLoop(w, {});
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(answers.Unanswered().empty());
}
