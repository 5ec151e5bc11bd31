// Window plug-ins: a plug-in sees its host's messages and commands before the host, consumes them
// through its handled flag, answers through SetMsgReturn, and reaches the default procedure
// only when asked.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "foundation/SECWndPlugIn.h"
#include "testing/testing.h"

using brambolt::test::UiSession;
using kelpwood::foundation::SECWndPlugIn;

namespace {

constexpr UINT kPing = WM_APP + 41;
constexpr UINT kCommand = 901;

class Host : public CWnd {
 public:
  std::vector<std::string> log;
  BOOL CreatePopup() {
    return CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 120, 40, nullptr, nullptr);
  }

 protected:
  afx_msg LRESULT OnPing(WPARAM, LPARAM) {
    log.push_back("host ping");
    return 500;
  }
  afx_msg void OnHostCommand() { log.push_back("host command"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Host, CWnd)
  ON_MESSAGE(kPing, OnPing)
  ON_COMMAND(kCommand, OnHostCommand)
END_MESSAGE_MAP()

class PlugIn : public SECWndPlugIn {
 public:
  explicit PlugIn(std::vector<std::string>* log) : m_log(log) {}
  BOOL consume = FALSE;
  int overrideReturn = -1;  // -1: none, else the value given to SetMsgReturn
  BOOL callDefault = FALSE;
  LRESULT defaultResult = -1;

 protected:
  afx_msg LRESULT OnPing(WPARAM, LPARAM) {
    m_log->push_back("plug-in ping");
    m_bHandled = consume;
    if (overrideReturn >= 0) SetMsgReturn(overrideReturn);
    return 77;
  }
  afx_msg LRESULT OnGetTextLength(WPARAM, LPARAM) {
    m_bCallDefault = callDefault;
    defaultResult = Default();
    return defaultResult;
  }
  afx_msg void OnPlugInCommand() {
    m_log->push_back("plug-in command");
    m_bHandled = consume;
  }
  DECLARE_MESSAGE_MAP()

 private:
  std::vector<std::string>* m_log;
};

BEGIN_MESSAGE_MAP(PlugIn, SECWndPlugIn)
  ON_MESSAGE(kPing, OnPing)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_COMMAND(kCommand, OnPlugInCommand)
END_MESSAGE_MAP()

using Names = std::vector<std::string>;

class WndPlugIn : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_host.CreatePopup()); }
  LRESULT Ping() {
    m_host.log.clear();
    return m_host.SendMessage(kPing, 0, 0);
  }

  UiSession m_session;
  Host m_host;
};

TEST_F(WndPlugIn, UnpluggedPlugInDoesNothing) {
  PlugIn plugIn(&m_host.log);
  EXPECT_FALSE(plugIn.IsPluggedIn());
  EXPECT_EQ(plugIn.m_hWnd, nullptr);
  LRESULT result = 0;
  EXPECT_FALSE(plugIn.OnWndMsg(kPing, 0, 0, &result));
  EXPECT_FALSE(plugIn.OnCmdMsg(kCommand, CN_COMMAND, nullptr, nullptr));
  EXPECT_EQ(plugIn.DefWindowProc(WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_TRUE(m_host.log.empty());
  EXPECT_FALSE(plugIn.PlugInTo(nullptr));
  EXPECT_FALSE(plugIn.IsPluggedIn());
}

TEST_F(WndPlugIn, PlugInSeesMessagesBeforeTheHostAndConsumesThemOnlyWhenHandled) {
  PlugIn plugIn(&m_host.log);
  ASSERT_TRUE(plugIn.PlugInTo(&m_host));
  EXPECT_EQ(plugIn.m_hWnd, m_host.m_hWnd) << "the plug-in borrows the host's handle";
  EXPECT_EQ(CWnd::FromHandlePermanent(m_host.m_hWnd), &m_host) << "without taking the host's place";

  EXPECT_EQ(Ping(), 500);
  EXPECT_EQ(m_host.log, (Names{"plug-in ping", "host ping"})) << "handled by the map, not consumed";

  plugIn.consume = TRUE;
  EXPECT_EQ(Ping(), 77) << "the plug-in's result";
  EXPECT_EQ(m_host.log, (Names{"plug-in ping"}));

  plugIn.UnPlug();
  EXPECT_FALSE(plugIn.IsPluggedIn());
  EXPECT_EQ(plugIn.m_hWnd, nullptr);
  EXPECT_EQ(Ping(), 500);
  EXPECT_EQ(m_host.log, (Names{"host ping"}));
}

TEST_F(WndPlugIn, PlugInThroughATemporaryObjectStillServesThePermanentHost) {
  PlugIn plugIn(&m_host.log);
  plugIn.consume = TRUE;
  CWnd temporary;
  temporary.m_hWnd = m_host.m_hWnd;  // borrowed, outside the handle map
  ASSERT_TRUE(plugIn.PlugInTo(&temporary));
  temporary.m_hWnd = nullptr;
  EXPECT_EQ(Ping(), 77);
  EXPECT_EQ(m_host.log, (Names{"plug-in ping"}));
}

struct VerdictCase {
  BOOL consume;
  int overrideReturn;
  BOOL verdict;
};

TEST_F(WndPlugIn, VerdictIsTheMapsUnlessOverriddenOnce) {
  const VerdictCase cases[] = {
      {FALSE, -1, TRUE}, {FALSE, FALSE, FALSE}, {TRUE, TRUE, TRUE}, {TRUE, FALSE, FALSE}};
  PlugIn plugIn(&m_host.log);
  ASSERT_TRUE(plugIn.PlugInTo(&m_host));
  for (const VerdictCase& test : cases) {
    plugIn.consume = test.consume;
    plugIn.overrideReturn = test.overrideReturn;
    LRESULT result = 0;
    EXPECT_EQ(plugIn.OnWndMsg(kPing, 0, 0, &result), test.verdict) << test.overrideReturn;
    EXPECT_EQ(result, 77);
    EXPECT_EQ(plugIn.m_bHandled, test.consume);
    EXPECT_FALSE(plugIn.m_bOverrideReturn) << "the override holds for one message";
  }
  LRESULT result = 0;
  EXPECT_FALSE(plugIn.OnWndMsg(WM_SYSCOLORCHANGE, 0, 0, &result))
      << "the window class's own handlers are not part of a plug-in's map";
  EXPECT_FALSE(plugIn.OnWndMsg(kPing + 1, 0, 0, &result));
}

TEST_F(WndPlugIn, DefaultReachesTheDefaultProcedureOnlyWhenAsked) {
  m_host.SetWindowText("host text");
  PlugIn plugIn(&m_host.log);
  ASSERT_TRUE(plugIn.PlugInTo(&m_host));
  LRESULT result = -1;
  plugIn.OnWndMsg(WM_GETTEXTLENGTH, 0, 0, &result);
  EXPECT_EQ(plugIn.defaultResult, 0);
  plugIn.callDefault = TRUE;
  EXPECT_EQ(m_host.SendMessage(WM_GETTEXTLENGTH), 9);
  EXPECT_EQ(plugIn.defaultResult, 9);
  plugIn.OnWndMsg(kPing, 0, 0, &result);
  EXPECT_FALSE(plugIn.m_bCallDefault) << "the next message starts without it";
}

TEST_F(WndPlugIn, CommandsReachThePlugInFirst) {
  PlugIn plugIn(&m_host.log);
  ASSERT_TRUE(plugIn.PlugInTo(&m_host));
  m_host.SendMessage(WM_COMMAND, kCommand, 0);
  EXPECT_EQ(m_host.log, (Names{"plug-in command"})) << "once, and the host's handler not at all";
  EXPECT_FALSE(plugIn.m_bHandled) << "the host's side clears the flag it read";
  plugIn.UnPlug();
  m_host.log.clear();
  m_host.SendMessage(WM_COMMAND, kCommand, 0);
  EXPECT_EQ(m_host.log, (Names{"host command"}));
}

TEST_F(WndPlugIn, DeletingAPluggedInPlugInLeavesTheHostWorking) {
  auto plugIn = std::make_unique<PlugIn>(&m_host.log);
  plugIn->consume = TRUE;
  ASSERT_TRUE(plugIn->PlugInTo(&m_host));
  plugIn.reset();
  EXPECT_TRUE(::IsWindow(m_host.m_hWnd)) << "the borrowed window is never destroyed by a plug-in";
  EXPECT_EQ(Ping(), 500);
  EXPECT_EQ(m_host.log, (Names{"host ping"}));
}

TEST_F(WndPlugIn, PlugInOutlivingItsHost) {
  PlugIn plugIn(&m_host.log);
  ASSERT_TRUE(plugIn.PlugInTo(&m_host));
  m_host.DestroyWindow();
  plugIn.UnPlug();
  EXPECT_FALSE(plugIn.IsPluggedIn());
}

TEST_F(WndPlugIn, PluggingIntoASecondHostLeavesTheFirst) {
  Host second;
  ASSERT_TRUE(second.CreatePopup());
  PlugIn plugIn(&m_host.log);
  plugIn.consume = TRUE;
  ASSERT_TRUE(plugIn.PlugInTo(&m_host));
  ASSERT_TRUE(plugIn.PlugInTo(&second));
  EXPECT_EQ(plugIn.m_hWnd, second.m_hWnd);
  EXPECT_EQ(Ping(), 500);
  EXPECT_EQ(second.SendMessage(kPing), 77);
}

}  // namespace
