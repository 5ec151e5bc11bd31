// Tip of the day: tips read line by line (long lines kept as one tip, no final line end lost,
// CR-LF files), wrapping at both ends, a missing file, and the dialog's buttons and check box.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "HelpRecorder.h"
#include "bars/SECTipOfDay.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

std::string WriteTips(const PrivateStores& stores, const std::string& content) {
  const std::string path = stores.TempDir() + "/tips.tip";
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

TEST(TipOfDay, ReadsOneTipPerLineAndWrapsAtBothEnds) {
  UiSession session;
  PrivateStores stores;
  const std::string longLine(600, 'x');
  struct Case {
    const char* name;
    std::string content;
  };
  const Case cases[] = {{"LF, no final line end", "first\n" + longLine + "\nthird"},
                        {"CR-LF, final line end", "first\r\n" + longLine + "\r\nthird\r\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = WriteTips(stores, c.content);
    EXPECT_EQ(3, SECTipOfDay::CountTips(path.c_str()));
    SECTipOfDay tips(path.c_str());
    struct Step {
      int asked, current;
      std::string text;
    };
    const Step steps[] = {{1, 1, "first"},
                          {2, 2, std::string(511, 'x')},
                          {3, 3, "third"},
                          {4, 1, "first"},
                          {0, 3, "third"}};
    for (const Step& s : steps) {
      tips.ReadTip(s.asked);
      EXPECT_EQ(s.current, tips.GetCurrentTip()) << s.asked;
      EXPECT_EQ(s.text, tips.GetTipText()) << s.asked;
    }
  }
  SECTipOfDay missing((stores.TempDir() + "/none.tip").c_str());
  EXPECT_EQ(-1, missing.GetNumTips());
  missing.ReadTip(1);
  EXPECT_STREQ("", missing.GetTipText());
}

TEST(TipOfDay, DialogStepsThroughTipsAndKeepsTheCheckBox) {
  UiSession session;
  PrivateStores stores;
  const std::string path = WriteTips(stores, "one\ntwo\nthree\n");
  HelpRecorder app;
  SECTipOfDay dialog(path.c_str(), 1, TRUE);
  ModalAnswers answers;
  std::string seen;
  answers.When(nullptr, "Tip of the Day", [&](HWND hwnd) {
    auto click = [hwnd](UINT id) {
      ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, id)));
    };
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(hwnd, SECTipOfDay::kShowAtStartup));
    click(SECTipOfDay::kNextTip);
    seen += dialog.GetTipText();
    click(SECTipOfDay::kPreviousTip);
    click(SECTipOfDay::kPreviousTip);
    seen += std::string(",") + dialog.GetTipText();
    ::CheckDlgButton(hwnd, SECTipOfDay::kShowAtStartup, BST_UNCHECKED);
    click(SECTipOfDay::kShowAtStartup);
    click(SECTipOfDay::kHelp);
    click(SECTipOfDay::kOK);
  });
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ("two,three", seen);
  EXPECT_EQ(3, dialog.GetCurrentTip());
  EXPECT_FALSE(dialog.GetShowAtStartup());
  EXPECT_EQ(app.topics, std::vector<DWORD_PTR>{HID_BASE_RESOURCE + SECTipOfDay::IDD}) << "Help shows the dialog's help";
}

}  // namespace
