// CWnd: creation through the creation hook, window messages reaching handlers with their
// signatures, derived and base maps, notifications and their reflection, plug-ins, subclassing,
// Default, and the handle map of windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;

namespace {

constexpr UINT kCustomMessage = WM_APP + 7;
const UINT kRegisteredMessage = ::RegisterWindowMessage("AfxTestRegisteredMessage");

void RunIdleCleanup() {
  AfxLockTempMaps();
  AfxUnlockTempMaps();
}

// A window whose base map handles painting and sizing; the derived map overrides sizing.
class BaseWindow : public CWnd {
 public:
  std::vector<std::string> log;

  BOOL CreatePopup(int width = 200, int height = 100) {
    return CreateEx(0, AfxRegisterWndClass(0), "test", WS_POPUP, 10, 20, width, height, nullptr, nullptr);
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    log.push_back("create " + std::to_string(cs->cx) + "x" + std::to_string(cs->cy));
    return CWnd::OnCreate(cs);
  }
  afx_msg void OnSize(UINT type, int cx, int cy) {
    log.push_back("base size " + std::to_string(type) + " " + std::to_string(cx) + " " + std::to_string(cy));
  }
  afx_msg void OnShowWindow(BOOL show, UINT status) {
    log.push_back("show " + std::to_string(show) + " " + std::to_string(status));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

class DerivedWindow : public BaseWindow {
 public:
  HBRUSH childBrush = nullptr;

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy) {
    log.push_back("derived size " + std::to_string(type) + " " + std::to_string(cx) + " " + std::to_string(cy));
  }
  afx_msg void OnLButtonDown(UINT flags, CPoint point) {
    log.push_back("down " + std::to_string(flags) + " " + std::to_string(point.x) + "," + std::to_string(point.y));
  }
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags) {
    log.push_back("key " + std::to_string(key) + " " + std::to_string(repeat) + " " + std::to_string(flags));
  }
  afx_msg void OnTimer(UINT_PTR id) { log.push_back("timer " + std::to_string(id)); }
  afx_msg BOOL OnEraseBkgnd(CDC* dc) {
    log.push_back(dc != nullptr && dc->GetSafeHdc() != nullptr ? "erase with dc" : "erase without dc");
    return TRUE;
  }
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message) {
    log.push_back("cursor " + std::to_string(wnd == this) + " " + std::to_string(hit) + " " + std::to_string(message));
    return TRUE;
  }
  afx_msg LRESULT OnCustom(WPARAM wParam, LPARAM lParam) {
    log.push_back("custom " + std::to_string(wParam) + " " + std::to_string(lParam));
    return 42;
  }
  afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) {
    log.push_back("registered " + std::to_string(wParam));
    return 7;
  }
  afx_msg void OnControlCommand() { log.push_back("control 77"); }
  afx_msg void OnMenuCommand() { log.push_back("menu 900"); }
  afx_msg void OnNotifyCode(NMHDR* header, LRESULT* result) {
    log.push_back("notify " + std::to_string(static_cast<int>(header->code)));
    *result = 5;
  }
  afx_msg void OnNotifyRange(UINT id, NMHDR*, LRESULT*) { log.push_back("notify range " + std::to_string(id)); }
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT type) {
    log.push_back("parent ctlcolor " + std::to_string(type));
    return CWnd::OnCtlColor(dc, control, type);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_TIMER()
  ON_WM_ERASEBKGND()
  ON_WM_SETCURSOR()
  ON_MESSAGE(kCustomMessage, OnCustom)
  ON_REGISTERED_MESSAGE(kRegisteredMessage, OnRegistered)
  ON_CONTROL(5, 77, OnControlCommand)
  ON_COMMAND(900, OnMenuCommand)
  ON_NOTIFY(-12, 60, OnNotifyCode)
  ON_NOTIFY_RANGE(-13, 61, 63, OnNotifyRange)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// A child control that handles some of its own notifications.
class ReflectingChild : public CWnd {
 public:
  std::vector<std::string> log;
  BOOL passControlOn = FALSE;
  HBRUSH brush = nullptr;

  BOOL CreateChild(CWnd* parent, UINT id) {
    return Create(AfxRegisterWndClass(0), "child", WS_VISIBLE, CRect(0, 0, 20, 20), parent, id);
  }

 protected:
  afx_msg void OnReflectedNotify(NMHDR*, LRESULT* result) {
    log.push_back("reflected notify");
    *result = 9;
  }
  afx_msg BOOL OnReflectedControl() {
    log.push_back("reflected control");
    return !passControlOn;
  }
  afx_msg HBRUSH CtlColor(CDC*, UINT type) {
    log.push_back("reflected ctlcolor " + std::to_string(type));
    return brush;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingChild, CWnd)
  ON_NOTIFY_REFLECT(-20, OnReflectedNotify)
  ON_CONTROL_REFLECT_EX(5, OnReflectedControl)
  ON_WM_CTLCOLOR_REFLECT(CtlColor)
END_MESSAGE_MAP()

TEST(WindowCreation, CreateExAttachesTheObjectBeforeTheFirstMessage) {
  UiSession session;
  DerivedWindow window;
  ASSERT_TRUE(window.CreatePopup(200, 100));
  EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
  EXPECT_EQ(::GetWindowLongPtr(window.m_hWnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc()));
  ASSERT_FALSE(window.log.empty());
  EXPECT_EQ(window.log.front(), "create 200x100") << "WM_CREATE reaches the map of the object being made";
  HWND hwnd = window.m_hWnd;
  EXPECT_TRUE(window.DestroyWindow());
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

class RefusingWindow : public CWnd {
 public:
  BOOL allowPreCreate = TRUE;
  int* postNcDestroyCalls = nullptr;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override { return allowPreCreate && CWnd::PreCreateWindow(cs); }
  afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
  void PostNcDestroy() override { ++*postNcDestroyCalls; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RefusingWindow, CWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(WindowCreation, FailuresEndInPostNcDestroyOnce) {
  UiSession session;
  for (BOOL allow : {FALSE, TRUE}) {
    int calls = 0;
    RefusingWindow window;
    window.allowPreCreate = allow;
    window.postNcDestroyCalls = &calls;
    EXPECT_FALSE(window.CreateEx(0, nullptr, "no", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(calls, 1) << (allow ? "OnCreate refused" : "PreCreateWindow refused");
    EXPECT_EQ(window.m_hWnd, nullptr);
  }
}

TEST(WindowMessages, EachHandlerGetsItsArgumentsUnpacked) {
  UiSession session;
  DerivedWindow window;
  ASSERT_TRUE(window.CreatePopup());
  HWND hwnd = window.m_hWnd;
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string expected;
    LRESULT result;
  };
  const Case cases[] = {
      {WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 150), "derived size 0 300 150", 0},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3 & 0xFFFF, 12), "down 1 -3,12", 0},
      {WM_KEYDOWN, 'A', MAKELPARAM(2, 0x1E), "key 65 2 30", 0},
      {WM_TIMER, 17, 0, "timer 17", 0},
      {WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), "cursor 1 1 512", 1},
      {kCustomMessage, 3, 4, "custom 3 4", 42},
      {kRegisteredMessage, 8, 0, "registered 8", 7},
      {WM_COMMAND, MAKEWPARAM(900, 0), 0, "menu 900", 1},
  };
  for (const Case& c : cases) {
    window.log.clear();
    EXPECT_EQ(window.SendMessage(c.message, c.wParam, c.lParam), c.result) << c.expected;
    ASSERT_EQ(window.log.size(), 1u) << c.expected;
    EXPECT_EQ(window.log[0], c.expected);
  }
  window.log.clear();
  window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(::GetDC(hwnd)), 0);
  EXPECT_EQ(window.log, (std::vector<std::string>{"erase with dc"}));
  window.log.clear();
  window.SendMessage(WM_SHOWWINDOW, TRUE, 0);
  EXPECT_EQ(window.log, (std::vector<std::string>{"show 1 0"})) << "the base map still serves the derived class";
  window.DestroyWindow();
}

TEST(WindowMessages, UnhandledMessagesReachTheDefaultProcedure) {
  UiSession session;
  DerivedWindow window;
  ASSERT_TRUE(window.CreatePopup());
  window.SetWindowText("changed");
  CString text;
  window.GetWindowText(text);
  EXPECT_EQ(std::string(text), "changed");
  window.DestroyWindow();
}

TEST(WindowNotifications, CommandsAndNotifiesFromControlsReachTheParentsMap) {
  UiSession session;
  DerivedWindow parent;
  ASSERT_TRUE(parent.CreatePopup());
  HWND plain = ::CreateWindowEx(0, AfxRegisterWndClass(0), "", WS_CHILD, 0, 0, 5, 5, parent.m_hWnd,
                                reinterpret_cast<HMENU>(77), nullptr, nullptr);
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(77, 5), reinterpret_cast<LPARAM>(plain));
  EXPECT_EQ(parent.log.back(), "control 77");

  ::SetWindowLongPtr(plain, GWLP_ID, 60);
  NMHDR header{plain, 60, static_cast<UINT>(-12)};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 60, reinterpret_cast<LPARAM>(&header)), 5);
  EXPECT_EQ(parent.log.back(), "notify -12");
  ::SetWindowLongPtr(plain, GWLP_ID, 62);
  NMHDR ranged{plain, 62, static_cast<UINT>(-13)};
  parent.SendMessage(WM_NOTIFY, 62, reinterpret_cast<LPARAM>(&ranged));
  EXPECT_EQ(parent.log.back(), "notify range 62");
  parent.DestroyWindow();
}

TEST(WindowNotifications, ControlsHandleReflectedNotificationsFirst) {
  UiSession session;
  DerivedWindow parent;
  ASSERT_TRUE(parent.CreatePopup());
  ReflectingChild child;
  ASSERT_TRUE(child.CreateChild(&parent, 77));

  NMHDR header{child.m_hWnd, 77, static_cast<UINT>(-20)};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 9);
  EXPECT_EQ(child.log, (std::vector<std::string>{"reflected notify"}));

  parent.log.clear();
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(77, 5), reinterpret_cast<LPARAM>(child.m_hWnd));
  EXPECT_TRUE(parent.log.empty()) << "the control kept its notification";
  child.passControlOn = TRUE;
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(77, 5), reinterpret_cast<LPARAM>(child.m_hWnd));
  EXPECT_EQ(parent.log, (std::vector<std::string>{"control 77"})) << "an _EX reflection that declines passes it on";

  CBrush red(RGB(255, 0, 0));
  child.brush = red;
  HDC dc = ::GetDC(child.m_hWnd);
  EXPECT_EQ(parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child.m_hWnd)),
            reinterpret_cast<LRESULT>(static_cast<HBRUSH>(red)));
  EXPECT_EQ(child.log.back(), "reflected ctlcolor " + std::to_string(CTLCOLOR_STATIC));
  EXPECT_EQ(parent.log.back(), "parent ctlcolor " + std::to_string(CTLCOLOR_STATIC));
  ::ReleaseDC(child.m_hWnd, dc);
  parent.DestroyWindow();
  EXPECT_EQ(child.m_hWnd, nullptr) << "destroying the parent detached the child object";
}

// A plug-in that consumes what it is told to and records the rest.
class TestPlugIn : public IWndPlugIn {
 public:
  UINT consumeMessage = 0;
  UINT consumeCommand = 0;
  std::vector<UINT> seen;
  BOOL PlugInWndMsg(UINT message, WPARAM, LPARAM, LRESULT* pResult) override {
    seen.push_back(message);
    if (message != consumeMessage) return FALSE;
    *pResult = 99;
    return TRUE;
  }
  BOOL PlugInCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO*) override {
    return nCode == CN_COMMAND && nID == consumeCommand;
  }
};

TEST(WindowPlugIns, PlugInsSeeMessagesAndCommandsBeforeTheWindow) {
  UiSession session;
  DerivedWindow window;
  ASSERT_TRUE(window.CreatePopup());
  TestPlugIn first, second;
  first.consumeMessage = kCustomMessage;
  second.consumeMessage = WM_TIMER;
  window.AddPlugIn(&first);
  window.AddPlugIn(&second);

  window.log.clear();
  EXPECT_EQ(window.SendMessage(kCustomMessage, 1, 2), 99);
  EXPECT_TRUE(window.log.empty()) << "a consumed message never reaches the window's map";
  EXPECT_EQ(second.seen.size(), 0u) << "nor the plug-ins after the one that consumed it";

  window.SendMessage(WM_TIMER, 5, 0);
  EXPECT_TRUE(window.log.empty());
  EXPECT_EQ(first.seen.back(), static_cast<UINT>(WM_TIMER));

  window.SendMessage(WM_KEYDOWN, 'B', 1);
  EXPECT_EQ(window.log, (std::vector<std::string>{"key 66 1 0"})) << "what no plug-in consumes goes on";

  first.consumeCommand = 900;
  window.log.clear();
  window.SendMessage(WM_COMMAND, 900, 0);
  EXPECT_TRUE(window.log.empty()) << "the plug-in handled the command";
  window.RemovePlugIn(&first);
  window.SendMessage(WM_COMMAND, 900, 0);
  EXPECT_EQ(window.log, (std::vector<std::string>{"menu 900"}));
  window.RemovePlugIn(&second);
  window.DestroyWindow();
}

// A plug-in that, on one message, unplugs and frees another plug-in of the same window.
class EvictingPlugIn : public TestPlugIn {
 public:
  CWnd* host = nullptr;
  TestPlugIn* victim = nullptr;
  BOOL PlugInWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (message == kCustomMessage && victim != nullptr) {
      host->RemovePlugIn(victim);
      delete victim;
      victim = nullptr;
    }
    return TestPlugIn::PlugInWndMsg(message, wParam, lParam, pResult);
  }
};

TEST(WindowPlugIns, APlugInFreedDuringDispatchIsNotCalled) {
  UiSession session;
  DerivedWindow window;
  ASSERT_TRUE(window.CreatePopup());
  EvictingPlugIn evicting;
  auto* victim = new TestPlugIn;
  victim->consumeMessage = kCustomMessage;
  TestPlugIn last;
  evicting.host = &window;
  evicting.victim = victim;
  window.AddPlugIn(&evicting);
  window.AddPlugIn(victim);
  window.AddPlugIn(&last);

  window.log.clear();
  EXPECT_NE(window.SendMessage(kCustomMessage, 1, 2), 99) << "the freed plug-in did not consume the message";
  EXPECT_EQ(last.seen, (std::vector<UINT>{kCustomMessage})) << "the plug-ins after it still see the message";
  EXPECT_FALSE(window.log.empty()) << "and so does the window";
  window.RemovePlugIn(&evicting);
  window.RemovePlugIn(&last);
  window.DestroyWindow();
}

TEST(WindowHandles, BorrowedHandleStaysOutOfTheMap) {
  UiSession session;
  DerivedWindow owner;
  ASSERT_TRUE(owner.CreatePopup());
  {
    CWnd borrower;
    borrower.m_hWnd = owner.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(owner.m_hWnd), &owner);
    EXPECT_EQ(borrower.GetStyle() & WS_POPUP, static_cast<DWORD>(WS_POPUP));
    borrower.m_hWnd = nullptr;  // a borrower gives the handle back before it dies
  }
  EXPECT_TRUE(::IsWindow(owner.m_hWnd));
  owner.DestroyWindow();
}

TEST(WindowHandles, AHandleLookedUpOftenFollowsDetachAndAttach) {
  UiSession session;
  DerivedWindow first;
  ASSERT_TRUE(first.CreatePopup());
  const HWND hwnd = first.m_hWnd;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &first);
  EXPECT_EQ(first.Detach(), hwnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
  CWnd second;
  ASSERT_TRUE(second.Attach(hwnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &second);
  EXPECT_EQ(CWnd::FromHandle(hwnd), &second);
  second.DestroyWindow();
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST(WindowHandles, DestructorDestroysAnAttachedWindow) {
  UiSession session;
  HWND hwnd;
  {
    DerivedWindow window;
    ASSERT_TRUE(window.CreatePopup());
    hwnd = window.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(WindowHandles, TemporaryObjectsGoAtIdlePermanentOnesStay) {
  UiSession session;
  DerivedWindow permanent;
  ASSERT_TRUE(permanent.CreatePopup());
  HWND plain = ::CreateWindowEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr,
                                nullptr);
  RunIdleCleanup();
  ASSERT_EQ(brambolt::afx::TemporaryObjectCount(), 0u);
  CWnd* temporary = CWnd::FromHandle(plain);
  EXPECT_EQ(temporary->m_hWnd, plain);
  EXPECT_EQ(CWnd::FromHandle(plain), temporary);
  EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
  EXPECT_EQ(brambolt::afx::TemporaryObjectCount(), 1u);
  RunIdleCleanup();
  EXPECT_EQ(brambolt::afx::TemporaryObjectCount(), 0u);
  EXPECT_TRUE(::IsWindow(plain)) << "deleting a temporary object leaves the window";
  EXPECT_EQ(CWnd::FromHandle(permanent.m_hWnd), &permanent);
  ::DestroyWindow(plain);
  permanent.DestroyWindow();
}

// Counts timers; declared with the older UINT timer id.
class TimerCounter : public CWnd {
 public:
  int timers = 0;

 protected:
  afx_msg void OnTimer(UINT) { ++timers; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TimerCounter, CWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCustomMessage) return 1000 + static_cast<LRESULT>(wParam);
  return ::DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(WindowSubclassing, MapFirstThenTheOriginalProcedure) {
  UiSession session;
  WNDCLASS wc{};
  wc.lpfnWndProc = CountingProc;
  wc.lpszClassName = "AfxTestCounting";
  ::RegisterClass(&wc);
  HWND hwnd = ::CreateWindowEx(0, "AfxTestCounting", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(::SendMessage(hwnd, kCustomMessage, 1, 0), 1001);

  TimerCounter sub;
  ASSERT_TRUE(sub.SubclassWindow(hwnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &sub);
  ::SendMessage(hwnd, WM_TIMER, 1, 0);
  EXPECT_EQ(sub.timers, 1);
  EXPECT_EQ(::SendMessage(hwnd, kCustomMessage, 2, 0), 1002) << "unhandled messages reach the old procedure";
  EXPECT_EQ(sub.UnsubclassWindow(), hwnd);
  ::SendMessage(hwnd, WM_TIMER, 1, 0);
  EXPECT_EQ(sub.timers, 1);
  EXPECT_EQ(::GetWindowLongPtr(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&CountingProc));
  ::DestroyWindow(hwnd);
}

}  // namespace
