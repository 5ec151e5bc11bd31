// Command routing through message maps: derived maps before base maps, ranges, _EX handlers
// that decline, handler queries, and update handlers through CCmdUI.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx.h"

namespace {

class BaseTarget : public CCmdTarget {
 public:
  std::vector<std::string> calls;
  void OnBaseCommand() { calls.push_back("base 100"); }
  void OnBaseOnly() { calls.push_back("base 101"); }
  void OnRange(UINT id) { calls.push_back("range " + std::to_string(id)); }
  void OnUpdate100(CCmdUI* ui) { ui->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseTarget, CCmdTarget)
  ON_COMMAND(100, OnBaseCommand)
  ON_COMMAND(101, OnBaseOnly)
  ON_COMMAND_RANGE(200, 210, OnRange)
  ON_UPDATE_COMMAND_UI(100, OnUpdate100)
END_MESSAGE_MAP()

class DerivedTarget : public BaseTarget {
 public:
  BOOL exAnswer = TRUE;
  void OnDerivedCommand() { calls.push_back("derived 100"); }
  BOOL OnEx(UINT id) {
    calls.push_back("ex " + std::to_string(id));
    return exAnswer;
  }
  void OnUpdateRange(CCmdUI* ui) {
    calls.push_back("update " + std::to_string(ui->m_nID));
    ui->SetCheck(ui->m_nID == 401 ? 1 : 0);
  }
  void OnUpdatePassOn(CCmdUI* ui) { ui->ContinueRouting(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedTarget, BaseTarget)
  ON_COMMAND(100, OnDerivedCommand)
  ON_COMMAND_EX(300, OnEx)
  ON_COMMAND_EX_RANGE(310, 312, OnEx)
  ON_UPDATE_COMMAND_UI_RANGE(400, 402, OnUpdateRange)
  ON_UPDATE_COMMAND_UI(500, OnUpdatePassOn)
END_MESSAGE_MAP()

// Records what update handlers set.
class RecordingCmdUI : public CCmdUI {
 public:
  std::vector<std::string> seen;
  void Enable(BOOL bOn) override {
    seen.push_back(bOn ? "enable" : "disable");
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int nCheck) override { seen.push_back("check " + std::to_string(nCheck)); }
  void SetRadio(BOOL bOn) override { seen.push_back(bOn ? "radio on" : "radio off"); }
  void SetText(LPCTSTR text) override { seen.push_back(std::string("text ") + text); }
};

TEST(CommandRouting, DerivedEntryHidesTheBaseEntryOfTheSameId) {
  DerivedTarget target;
  EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr, nullptr));
  EXPECT_TRUE(target.OnCmdMsg(101, CN_COMMAND, nullptr, nullptr));
  EXPECT_EQ(target.calls, (std::vector<std::string>{"derived 100", "base 101"}));
}

TEST(CommandRouting, RangesPassTheIdAndEndAtTheirLastId) {
  DerivedTarget target;
  for (UINT id : {199u, 200u, 205u, 210u, 211u}) target.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
  EXPECT_EQ(target.calls, (std::vector<std::string>{"range 200", "range 205", "range 210"}));
}

TEST(CommandRouting, ExHandlerThatDeclinesLetsTheCommandGoOn) {
  DerivedTarget target;
  EXPECT_TRUE(target.OnCmdMsg(300, CN_COMMAND, nullptr, nullptr));
  target.exAnswer = FALSE;
  EXPECT_FALSE(target.OnCmdMsg(311, CN_COMMAND, nullptr, nullptr));
  EXPECT_EQ(target.calls, (std::vector<std::string>{"ex 300", "ex 311"}));
  EXPECT_FALSE(target.OnCmdMsg(999, CN_COMMAND, nullptr, nullptr));
}

TEST(CommandRouting, HandlerQueryReportsWithoutCalling) {
  DerivedTarget target;
  AFX_CMDHANDLERINFO info{};
  EXPECT_TRUE(target.OnCmdMsg(205, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &target);
  EXPECT_NE(info.pmf, nullptr);
  EXPECT_TRUE(target.calls.empty());
  EXPECT_FALSE(target.OnCmdMsg(206, static_cast<int>(CN_UPDATE_COMMAND_UI), nullptr, &info))
      << "a command handler is no update handler";
}

TEST(CommandUpdate, UpdateHandlersReachTheirIds) {
  DerivedTarget target;
  RecordingCmdUI ui;
  ui.m_nID = 100;
  EXPECT_TRUE(ui.DoUpdate(&target, FALSE));
  EXPECT_EQ(ui.seen, (std::vector<std::string>{"disable"})) << "the base map's update handler";
  ui.seen.clear();
  ui.m_nID = 401;
  EXPECT_TRUE(ui.DoUpdate(&target, FALSE));
  EXPECT_EQ(ui.seen, (std::vector<std::string>{"check 1"}));
  EXPECT_EQ(target.calls, (std::vector<std::string>{"update 401"}));
}

TEST(CommandUpdate, ContinueRoutingReportsNoHandler) {
  DerivedTarget target;
  RecordingCmdUI ui;
  ui.m_nID = 500;
  EXPECT_FALSE(ui.DoUpdate(&target, FALSE));
  EXPECT_FALSE(ui.m_bContinueRouting) << "the flag is cleared after the handler";
}

TEST(CommandUpdate, WithoutUpdateHandlerTheCommandHandlerDecides) {
  struct Case {
    UINT id;
    BOOL disableIfNoHandler;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {101, TRUE, {"enable"}},    // a command handler exists
      {999, TRUE, {"disable"}},   // nothing handles it
      {999, FALSE, {}},           // left as it is
      {205, TRUE, {"enable"}},    // a range handler counts
  };
  for (const Case& c : cases) {
    DerivedTarget target;
    RecordingCmdUI ui;
    ui.m_nID = c.id;
    ui.DoUpdate(&target, c.disableIfNoHandler);
    EXPECT_EQ(ui.seen, c.expected) << c.id;
    EXPECT_TRUE(target.calls.empty()) << "finding the handler does not run it";
  }
}

TEST(CommandUpdate, InvalidIdsAreNotUpdated) {
  DerivedTarget target;
  RecordingCmdUI ui;
  ui.m_nID = 0;
  EXPECT_TRUE(ui.DoUpdate(&target, TRUE));
  EXPECT_TRUE(ui.seen.empty());
}

}  // namespace
