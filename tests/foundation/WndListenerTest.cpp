// Listener chains: the order in which listeners see a window's messages, the flags that stop the
// chain or the window, joining and leaving in every order (also while a message is dispatched),
// dialogs hooked through their dialog procedure, and the end of a hooked window.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/SECWndListener.h"
#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::UiSession;
using kelpwood::foundation::SECWndListener;

namespace {

constexpr UINT kPing = WM_APP + 31;
constexpr UINT kNested = WM_APP + 32;
constexpr LRESULT kWindowAnswer = 7000;

std::vector<std::string>& Log() {
  thread_local std::vector<std::string> log;
  return log;
}

// The window's own procedure: records what reaches it and answers kPing itself.
LRESULT CALLBACK OwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kPing) {
    Log().push_back("window");
    return kWindowAnswer + static_cast<LRESULT>(wParam);
  }
  if (message == WM_NCDESTROY) Log().push_back("window ncdestroy");
  if (message == WM_NOTIFY) Log().push_back("window notify");
  return ::DefWindowProc(hWnd, message, wParam, lParam);
}

INT_PTR CALLBACK OwnDlgProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == kPing) {
    Log().push_back("dialog");
    return kWindowAnswer + static_cast<INT_PTR>(wParam);
  }
  if (message == WM_NCDESTROY) Log().push_back("dialog ncdestroy");
  return FALSE;
}

HWND MakeWindow() {
  static const ATOM atom = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = &OwnProc;
    wc.lpszClassName = "ListenerTestWindow";
    return ::RegisterClass(&wc);
  }();
  EXPECT_NE(atom, 0);
  return ::CreateWindowEx(0, "ListenerTestWindow", "listened", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr, nullptr,
                          nullptr);
}

// A dialog without controls, made from a template in memory.
HWND MakeDialog() {
  std::array<WORD, 16> words{};
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = WS_POPUP | WS_CAPTION;
  header->cx = 100;
  header->cy = 40;
  return ::CreateDialogIndirectParam(nullptr, header, nullptr, &OwnDlgProc, 0);
}

// A listener that logs under its name, sets the flags it is told to and can act on the chain
// from inside its handler.
class Listener : public SECWndListener {
 public:
  explicit Listener(std::string name) : m_name(std::move(name)) {}

  int flags = 0;
  LRESULT answer = 0;
  std::function<void()> action;

 protected:
  afx_msg LRESULT OnPing(WPARAM, LPARAM) {
    Log().push_back(m_name);
    const MSG* current = GetCurrentMessage();
    EXPECT_EQ(current->message, kPing) << "the current message is the one being dispatched";
    SetListenerFlags(flags);
    // The action may delete this object: nothing of it is touched afterwards.
    LRESULT result = answer;
    if (action) {
      auto act = action;
      act();
    }
    return result;
  }
  afx_msg LRESULT OnNested(WPARAM, LPARAM) {
    Log().push_back(m_name + " nested");
    return 0;
  }
  afx_msg LRESULT OnGetTextLength(WPARAM, LPARAM) { return Default(); }
  afx_msg void OnNotifyAnything(NMHDR*, LRESULT* pResult) {
    Log().push_back(m_name + " notify");
    *pResult = 1;
  }
  DECLARE_MESSAGE_MAP()

 private:
  std::string m_name;
};

BEGIN_MESSAGE_MAP(Listener, SECWndListener)
  ON_MESSAGE(kPing, OnPing)
  ON_MESSAGE(kNested, OnNested)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_NOTIFY(0, 5, OnNotifyAnything)
END_MESSAGE_MAP()

class ListenerChain : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    m_hWnd = MakeWindow();
    ASSERT_NE(m_hWnd, nullptr);
    m_ownProc = ::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC);
  }
  void TearDown() override {
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  }
  CWnd* Window() { return CWnd::FromHandle(m_hWnd); }
  LRESULT Ping(WPARAM wParam = 0) {
    Log().clear();
    return ::SendMessage(m_hWnd, kPing, wParam, 0);
  }
  bool Unhooked() {
    return ::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC) == m_ownProc && SECWndListener::LookupChain(m_hWnd) == nullptr;
  }

  UiSession m_session;
  HWND m_hWnd = nullptr;
  LONG_PTR m_ownProc = 0;
};

using Names = std::vector<std::string>;

TEST_F(ListenerChain, ListenersSeeMessagesInJoiningOrderBeforeTheWindow) {
  Listener a("a"), b("b"), c("c");
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b.Listen(Window(), 0));
  ASSERT_TRUE(c.PlugInTo(Window()));
  EXPECT_NE(::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC), m_ownProc) << "the chain replaced the procedure";
  a.answer = 1;
  b.answer = 2;
  EXPECT_EQ(Ping(4), kWindowAnswer + 4) << "without flags the window's answer wins over the listeners'";
  EXPECT_EQ(Log(), (Names{"a", "b", "c", "window"}));
  EXPECT_TRUE(a.IsPluggedIn());
  EXPECT_EQ(a.m_hWnd, m_hWnd);
  EXPECT_EQ(a.m_hWndListened, m_hWnd);
}

struct FlagCase {
  int firstFlags;
  Names seen;
  LRESULT result;
};

TEST_F(ListenerChain, FlagsStopTheChainOrTheWindow) {
  const FlagCase cases[] = {
      {0, {"a", "b", "window"}, kWindowAnswer},
      {SECWndListener::kStopChain, {"a", "window"}, kWindowAnswer},
      {SECWndListener::kSkipWindow, {"a", "b"}, 22},
      {SECWndListener::kStopChain | SECWndListener::kSkipWindow, {"a"}, 11},
  };
  Listener a("a"), b("b");
  a.answer = 11;
  b.answer = 22;
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b.PlugInTo(Window()));
  for (const FlagCase& test : cases) {
    a.flags = test.firstFlags;
    EXPECT_EQ(Ping(), test.result) << "flags " << test.firstFlags;
    EXPECT_EQ(Log(), test.seen) << "flags " << test.firstFlags;
    EXPECT_EQ(a.m_nListenerFlags, 0) << "the chain resets each listener's flags";
  }
  a.flags = 0;
  EXPECT_EQ(Ping(), kWindowAnswer) << "flags hold for one message only";
  EXPECT_EQ(Log(), (Names{"a", "b", "window"}));
}

TEST_F(ListenerChain, LeavingInEveryOrderKeepsTheOthersInOrderAndRestoresTheWindowAtTheEnd) {
  std::array<int, 3> order{0, 1, 2};
  do {
    std::vector<std::unique_ptr<Listener>> listeners;
    for (const char* name : {"a", "b", "c"}) {
      listeners.push_back(std::make_unique<Listener>(name));
      ASSERT_TRUE(listeners.back()->PlugInTo(Window()));
    }
    Names remaining{"a", "b", "c"};
    for (int index : order) {
      listeners[index]->UnPlug();
      EXPECT_FALSE(listeners[index]->IsPluggedIn());
      EXPECT_EQ(listeners[index]->m_hWnd, nullptr);
      remaining.erase(std::find(remaining.begin(), remaining.end(), std::string(1, static_cast<char>('a' + index))));
      Names expected = remaining;
      expected.push_back("window");
      EXPECT_EQ(Ping(), kWindowAnswer);
      EXPECT_EQ(Log(), expected) << "leaving order " << order[0] << order[1] << order[2];
    }
    EXPECT_TRUE(Unhooked()) << "leaving order " << order[0] << order[1] << order[2];
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(ListenerChain, JoiningAfterOthersLeftAppendsAtTheEnd) {
  Listener a("a"), b("b"), c("c");
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b.PlugInTo(Window()));
  a.UnPlug();
  ASSERT_TRUE(c.PlugInTo(Window()));
  ASSERT_TRUE(a.PlugInTo(Window()));
  Ping();
  EXPECT_EQ(Log(), (Names{"b", "c", "a", "window"}));
}

TEST_F(ListenerChain, DestroyingTheWindowUnplugsEveryListenerBeforeTheWindowSeesIt) {
  Listener a("a"), b("b");
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b.PlugInTo(Window()));
  Log().clear();
  ::DestroyWindow(m_hWnd);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "window ncdestroy"), 1)
      << "the procedure the window had before received WM_NCDESTROY";
  for (Listener* listener : {&a, &b}) {
    EXPECT_FALSE(listener->IsPluggedIn());
    EXPECT_EQ(listener->m_hWnd, nullptr);
    EXPECT_EQ(listener->m_hWndListened, nullptr);
  }
  EXPECT_EQ(SECWndListener::LookupChain(m_hWnd), nullptr);
}

TEST_F(ListenerChain, WindowKeepsWorkingAfterAllListenersLeft) {
  {
    Listener a("a"), b("b");
    ASSERT_TRUE(a.PlugInTo(Window()));
    ASSERT_TRUE(b.PlugInTo(Window()));
  }  // the destructors leave the chain
  EXPECT_TRUE(Unhooked());
  EXPECT_EQ(Ping(3), kWindowAnswer + 3);
  EXPECT_EQ(Log(), (Names{"window"}));
  ::SetWindowText(m_hWnd, "still here");
  EXPECT_EQ(::GetWindowTextLength(m_hWnd), 10);
}

TEST_F(ListenerChain, RefusesWithoutAWindow) {
  Listener a("a");
  EXPECT_FALSE(a.PlugInTo(nullptr));
  EXPECT_FALSE(a.JoinChain(nullptr));
  CWnd empty;
  EXPECT_FALSE(a.PlugInTo(&empty)) << "a window object without a window";
  EXPECT_FALSE(a.IsPluggedIn());
  EXPECT_FALSE(a.RemoveFromChain());
  EXPECT_FALSE(a.OnWndMsg(kPing, 0, 0, nullptr));
  EXPECT_FALSE(a.OnCmdMsg(1, CN_COMMAND, nullptr, nullptr));
  EXPECT_EQ(a.DefWindowProc(WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(ListenerChain, PlugginIntoAnotherWindowLeavesTheFirst) {
  HWND other = MakeWindow();
  Listener a("a");
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(a.PlugInTo(CWnd::FromHandle(other)));
  EXPECT_TRUE(Unhooked());
  EXPECT_EQ(a.m_hWndListened, other);
  Log().clear();
  ::SendMessage(other, kPing, 0, 0);
  EXPECT_EQ(Log(), (Names{"a", "window"}));
  ::DestroyWindow(other);
  EXPECT_FALSE(a.IsPluggedIn());
}

TEST_F(ListenerChain, NotificationsAreNeverHandledByAListener) {
  Listener a("a");
  ASSERT_TRUE(a.PlugInTo(Window()));
  NMHDR header{nullptr, 0, 5};
  Log().clear();
  ::SendMessage(m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(Log(), (Names{"window notify"}));
}

TEST_F(ListenerChain, DefaultReachesTheDefaultProcedureOnlyWhenAsked) {
  ::SetWindowText(m_hWnd, "twelve chars");
  Listener a("a");
  ASSERT_TRUE(a.PlugInTo(Window()));
  LRESULT shared = -1;
  a.OnListenMsg(WM_GETTEXTLENGTH, 0, 0, &shared);
  EXPECT_EQ(shared, 0) << "Default without m_bCallDefault passes nothing on";
  EXPECT_EQ(a.DefWindowProc(WM_GETTEXTLENGTH, 0, 0), 0);
  a.m_bCallDefault = TRUE;
  EXPECT_EQ(a.DefWindowProc(WM_GETTEXTLENGTH, 0, 0), 12);
}

TEST_F(ListenerChain, RemoveMessageReplacesTheSavedProcedureOfTheChainThatSavedIt) {
  Listener a("a");
  ASSERT_TRUE(a.PlugInTo(Window()));
  auto* record = SECWndListener::LookupChain(m_hWnd);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->dwSize, 16u);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(record->lpfnOldWndProc), m_ownProc);
  EXPECT_EQ(record->lpfnOldDlgProc, nullptr);
  WNDPROC replacement = &::DefWindowProc;
  // Another chain's hook: nothing changes.
  ::SendMessage(m_hWnd, SECWndListener::GetRemoveFromChainMessage(), 12345, reinterpret_cast<LPARAM>(replacement));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(record->lpfnOldWndProc), m_ownProc);
  ::SendMessage(m_hWnd, SECWndListener::GetRemoveFromChainMessage(), static_cast<WPARAM>(m_ownProc),
                reinterpret_cast<LPARAM>(replacement));
  EXPECT_EQ(record->lpfnOldWndProc, replacement);
  Log().clear();
  ::SendMessage(m_hWnd, kPing, 0, 0);
  EXPECT_EQ(Log(), (Names{"a"})) << "the window's messages now go to the replacement";
  record->lpfnOldWndProc = reinterpret_cast<WNDPROC>(m_ownProc);
}

TEST_F(ListenerChain, HookWithoutChainGivesTheMessageToTheDefaultProcedure) {
  ::SetWindowText(m_hWnd, "abc");
  WNDPROC hook = nullptr;
  {
    Listener a("a");
    ASSERT_TRUE(a.PlugInTo(Window()));
    hook = reinterpret_cast<WNDPROC>(::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC));
  }
  EXPECT_EQ(::CallWindowProc(hook, m_hWnd, WM_GETTEXTLENGTH, 0, 0), 3) << "not swallowed";
}

TEST_F(ListenerChain, LastListenerLeavingAfterTheHandleWasDroppedRestoresTheWindow) {
  Listener a("a");
  ASSERT_TRUE(a.PlugInTo(Window()));
  a.m_hWnd = nullptr;  // dropped, as a controller does before plugging in elsewhere
  EXPECT_TRUE(a.RemoveFromChain());
  EXPECT_TRUE(Unhooked());
  EXPECT_EQ(Ping(), kWindowAnswer);
  a.m_bPluggedIn = FALSE;
}

// ---- leaving while a message is dispatched ----

TEST_F(ListenerChain, ListenerLeavingDuringItsOwnHandlerLetsTheOthersAndTheWindowRun) {
  Listener a("a"), b("b");
  a.action = [&] { a.UnPlug(); };
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b.PlugInTo(Window()));
  EXPECT_EQ(Ping(), kWindowAnswer);
  EXPECT_EQ(Log(), (Names{"a", "b", "window"}));
  EXPECT_FALSE(a.IsPluggedIn());
  EXPECT_EQ(Ping(), kWindowAnswer);
  EXPECT_EQ(Log(), (Names{"b", "window"}));
}

TEST_F(ListenerChain, ListenerRemovedByAnEarlierOneIsNotCalled) {
  Listener a("a"), c("c");
  auto b = std::make_unique<Listener>("b");
  a.action = [&] { b.reset(); };  // deleted, not only unplugged
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b->PlugInTo(Window()));
  ASSERT_TRUE(c.PlugInTo(Window()));
  EXPECT_EQ(Ping(), kWindowAnswer);
  EXPECT_EQ(Log(), (Names{"a", "c", "window"}));
}

TEST_F(ListenerChain, ListenerDeletingItselfKeepsTheFlagsItSet) {
  Listener b("b");
  auto* a = new Listener("a");
  a->answer = 55;
  a->flags = SECWndListener::kSkipWindow;
  a->action = [a] { delete a; };
  ASSERT_TRUE(a->PlugInTo(Window()));
  ASSERT_TRUE(b.PlugInTo(Window()));
  EXPECT_EQ(Ping(), 0) << "the shared result of b, with the window skipped as a asked";
  EXPECT_EQ(Log(), (Names{"a", "b"}));
  EXPECT_EQ(Ping(), kWindowAnswer);
  EXPECT_EQ(Log(), (Names{"b", "window"}));
}

TEST_F(ListenerChain, EveryListenerLeavingDuringDispatchRestoresTheWindowWhichStillAnswers) {
  Listener a("a"), b("b");
  a.action = [&] {
    b.UnPlug();
    a.UnPlug();
  };
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b.PlugInTo(Window()));
  EXPECT_EQ(Ping(2), kWindowAnswer + 2) << "the saved procedure still answers the message under way";
  EXPECT_EQ(Log(), (Names{"a", "window"}));
  EXPECT_TRUE(Unhooked());
  EXPECT_EQ(Ping(), kWindowAnswer);
}

TEST_F(ListenerChain, LeavingAndRejoiningInsideANestedDispatch) {
  Listener a("a"), b("b");
  auto c = std::make_unique<Listener>("c");
  a.action = [&] {
    ::SendMessage(m_hWnd, kNested, 0, 0);
    b.UnPlug();
    c.reset();
    a.UnPlug();
    ASSERT_TRUE(b.PlugInTo(Window()));  // a new chain while the old one still dispatches
  };
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b.PlugInTo(Window()));
  ASSERT_TRUE(c->PlugInTo(Window()));
  EXPECT_EQ(Ping(), kWindowAnswer);
  EXPECT_EQ(Log(), (Names{"a", "a nested", "b nested", "c nested", "window"}));
  EXPECT_EQ(Ping(), kWindowAnswer);
  EXPECT_EQ(Log(), (Names{"b", "window"}));
  b.UnPlug();
  EXPECT_TRUE(Unhooked());
}

TEST_F(ListenerChain, WindowDestroyedByAListenerDuringDispatch) {
  Listener a("a"), b("b");
  a.action = [&] { ::DestroyWindow(m_hWnd); };
  ASSERT_TRUE(a.PlugInTo(Window()));
  ASSERT_TRUE(b.PlugInTo(Window()));
  Ping();
  EXPECT_FALSE(::IsWindow(m_hWnd));
  EXPECT_EQ(Log(), (Names{"a", "window ncdestroy", "window"}));
  EXPECT_FALSE(a.IsPluggedIn());
  EXPECT_FALSE(b.IsPluggedIn());
  EXPECT_EQ(SECWndListener::LookupChain(m_hWnd), nullptr);
}

// ---- dialogs ----

class DialogListenerChain : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    m_hDlg = MakeDialog();
    ASSERT_NE(m_hDlg, nullptr);
    m_wndProc = ::GetWindowLongPtr(m_hDlg, GWLP_WNDPROC);
  }
  void TearDown() override {
    if (::IsWindow(m_hDlg)) ::DestroyWindow(m_hDlg);
  }
  LRESULT Ping(WPARAM wParam = 0) {
    Log().clear();
    return ::SendMessage(m_hDlg, kPing, wParam, 0);
  }

  UiSession m_session;
  HWND m_hDlg = nullptr;
  LONG_PTR m_wndProc = 0;
};

TEST_F(DialogListenerChain, DialogIsHookedAndRestoredThroughItsDialogProcedure) {
  const auto ownDlgProc = reinterpret_cast<LONG_PTR>(&OwnDlgProc);
  ASSERT_EQ(::GetWindowLongPtr(m_hDlg, DWLP_DLGPROC), ownDlgProc);
  Listener a("a"), b("b");
  ASSERT_TRUE(a.PlugInTo(CWnd::FromHandle(m_hDlg)));
  ASSERT_TRUE(b.PlugInTo(CWnd::FromHandle(m_hDlg)));
  EXPECT_EQ(::GetWindowLongPtr(m_hDlg, GWLP_WNDPROC), m_wndProc) << "the window procedure is left alone";
  EXPECT_NE(::GetWindowLongPtr(m_hDlg, DWLP_DLGPROC), ownDlgProc);
  auto* record = SECWndListener::LookupChain(m_hDlg);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->lpfnOldWndProc, nullptr);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(record->lpfnOldDlgProc), ownDlgProc);

  Ping();
  EXPECT_EQ(Log(), (Names{"a", "b", "dialog"}));
  a.flags = SECWndListener::kStopChain;
  Ping();
  EXPECT_EQ(Log(), (Names{"a", "dialog"}));
  a.flags = 0;

  a.UnPlug();
  Ping();
  EXPECT_EQ(Log(), (Names{"b", "dialog"}));
  b.UnPlug();
  EXPECT_EQ(::GetWindowLongPtr(m_hDlg, DWLP_DLGPROC), ownDlgProc);
  EXPECT_EQ(SECWndListener::LookupChain(m_hDlg), nullptr);
  Ping();
  EXPECT_EQ(Log(), (Names{"dialog"}));
}

TEST_F(DialogListenerChain, LeavingInEveryOrderDuringDispatch) {
  std::array<int, 3> order{0, 1, 2};
  do {
    std::array<Listener, 3> listeners{Listener("a"), Listener("b"), Listener("c")};
    for (Listener& listener : listeners) ASSERT_TRUE(listener.PlugInTo(CWnd::FromHandle(m_hDlg)));
    // The first listener makes all three leave in this order while the chain walks.
    listeners[0].action = [&] {
      for (int index : order) listeners[index].UnPlug();
    };
    Ping();
    EXPECT_EQ(Log(), (Names{"a", "dialog"}));
    EXPECT_EQ(::GetWindowLongPtr(m_hDlg, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(&OwnDlgProc));
    EXPECT_EQ(SECWndListener::LookupChain(m_hDlg), nullptr);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(DialogListenerChain, DestroyingAHookedDialog) {
  Listener a("a");
  ASSERT_TRUE(a.PlugInTo(CWnd::FromHandle(m_hDlg)));
  Log().clear();
  ::DestroyWindow(m_hDlg);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "dialog ncdestroy"), 1);
  EXPECT_FALSE(a.IsPluggedIn());
  EXPECT_EQ(SECWndListener::LookupChain(m_hDlg), nullptr);
}

}  // namespace
