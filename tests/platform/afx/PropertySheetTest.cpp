// CPropertySheet and CPropertyPage answered by script: the order pages are made, shown and left,
// a page that refuses to be left, data exchange in pages, Apply, Cancel and Reset, pages added
// and removed while the sheet is up, wizards with their buttons and jumps, a modeless sheet with
// a message map of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommonDialogTestIds.h"
#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::ModalAnswers;
using brambolt::test::UiSession;

namespace {

std::string Text(HWND hwnd) {
  char buffer[256] = {};
  ::GetWindowText(hwnd, buffer, sizeof(buffer));
  return buffer;
}

void PressButton(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  RECT r;
  ::GetClientRect(button, &r);
  brambolt::test::Click(button, POINT{r.right / 2, r.bottom / 2});
}

HWND TabControl(HWND sheet) { return reinterpret_cast<HWND>(::SendMessage(sheet, PSM_GETTABCONTROL, 0, 0)); }

void ClickTab(HWND sheet, int index) {
  HWND tab = TabControl(sheet);
  RECT r;
  ::SendMessage(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  brambolt::test::Click(tab, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

bool Enabled(HWND sheet, int id) { return ::IsWindowEnabled(::GetDlgItem(sheet, id)) != FALSE; }
bool Visible(HWND sheet, int id) { return ::IsWindowVisible(::GetDlgItem(sheet, id)) != FALSE; }

// A page that writes what happens to it into a log shared by the pages of a test.
class LoggedPage : public CPropertyPage {
 public:
  LoggedPage(UINT nIDTemplate, const char* tag, std::vector<std::string>& log, UINT nIDCaption = 0)
      : CPropertyPage(nIDTemplate, nIDCaption), m_tag(tag), m_log(log) {}

  bool m_refuseCancel = false;
  bool m_refuseFinish = false;
  LRESULT m_next = 0;
  DWORD m_buttons = 0;  // the wizard buttons the page asks for when shown

  BOOL OnInitDialog() override {
    Log("init");
    return CPropertyPage::OnInitDialog();
  }
  BOOL OnSetActive() override {
    Log("set");
    if (m_buttons != 0) GetParentSheet()->SetWizardButtons(m_buttons);
    return CPropertyPage::OnSetActive();
  }
  BOOL OnKillActive() override {
    BOOL left = CPropertyPage::OnKillActive();
    Log(left ? "kill" : "kill refused");
    return left;
  }
  void OnOK() override { Log("apply"); }
  void OnCancel() override { Log("reset"); }
  BOOL OnQueryCancel() override {
    Log("query cancel");
    return !m_refuseCancel;
  }
  LRESULT OnWizardNext() override {
    Log("next");
    return m_next;
  }
  BOOL OnWizardFinish() override {
    Log("finish");
    return !m_refuseFinish;
  }

 private:
  void Log(const char* what) { m_log.push_back(m_tag + " " + what); }
  std::string m_tag;
  std::vector<std::string>& m_log;
};

class NamePage : public LoggedPage {
 public:
  explicit NamePage(std::vector<std::string>& log) : LoggedPage(IDD_PAGE_NAME, "name", log) {}
  CString m_name;
  int m_f5 = 0;  // F5 presses PreTranslateMessage took

  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5) {
      ++m_f5;
      return TRUE;
    }
    return LoggedPage::PreTranslateMessage(pMsg);
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_PAGE_NAME, m_name); }
};

class CountPage : public LoggedPage {
 public:
  explicit CountPage(std::vector<std::string>& log) : LoggedPage(IDD_PAGE_COUNT, "count", log) {}
  int m_count = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_PAGE_COUNT, m_count); }
};

class OptionsPage : public LoggedPage {
 public:
  explicit OptionsPage(std::vector<std::string>& log)
      : LoggedPage(IDD_PAGE_OPTIONS, "options", log, IDS_PAGE_OPTIONS_TITLE) {}
  int m_verbose = BST_UNCHECKED;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Check(pDX, IDC_PAGE_OPTION, m_verbose); }
};

class PropertySheetTest : public ::testing::Test {
 protected:
  UiSession session;
  ModalAnswers answers;
  std::vector<std::string> log;
  NamePage name{log};
  CountPage count{log};
  OptionsPage options{log};
};

TEST_F(PropertySheetTest, PagesAreShownInOrderAndOneThatFailsValidationStays) {
  CPropertySheet sheet("Settings");
  for (CPropertyPage* page : {static_cast<CPropertyPage*>(&name), static_cast<CPropertyPage*>(&count),
                              static_cast<CPropertyPage*>(&options)})
    sheet.AddPage(page);
  name.m_name = "Ada";
  count.m_count = 7;
  std::vector<std::string> prompts;
  options.m_verbose = BST_CHECKED;
  EXPECT_EQ(sheet.GetPageCount(), 3);
  answers.When(nullptr, "Settings", [&](HWND window) {
    EXPECT_EQ(CWnd::FromHandlePermanent(window), &sheet);
    EXPECT_EQ(sheet.GetActivePage(), &name);
    EXPECT_EQ(Text(::GetDlgItem(name.m_hWnd, IDC_PAGE_NAME)), "Ada") << "data went into the page";
    EXPECT_EQ(::GetParent(name.m_hWnd), window);
    EXPECT_EQ(name.GetParentSheet(), &sheet);
    ::SetDlgItemText(name.m_hWnd, IDC_PAGE_NAME, "Grace");
    ::SetFocus(::GetDlgItem(name.m_hWnd, IDC_PAGE_NAME));
    brambolt::test::PressKey(VK_F5);
    EXPECT_EQ(name.m_f5, 1) << "the sheet's loop offers its messages to the page's PreTranslateMessage";
    ClickTab(window, 1);
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    EXPECT_EQ(Text(::GetDlgItem(count.m_hWnd, IDC_PAGE_COUNT)), "7");
    ::SetDlgItemText(count.m_hWnd, IDC_PAGE_COUNT, "many");
    answers.When(nullptr, nullptr, [&](HWND box) {
      prompts.push_back(Text(box));
      ::PostMessage(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(sheet.SetActivePage(2));
    EXPECT_EQ(sheet.GetActivePage(), &count) << "the page refused to go";
    ::SetDlgItemText(count.m_hWnd, IDC_PAGE_COUNT, "12");
    EXPECT_TRUE(sheet.SetActivePage(&options));
    PressButton(options.m_hWnd, IDC_PAGE_OPTION);
    PressButton(window, IDOK);
  });
  ASSERT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(log, (std::vector<std::string>{"name init", "name set", "name kill", "count init", "count set",
                                           "count kill refused", "count kill", "options init", "options set",
                                           "options kill", "name apply", "count apply", "options apply"}));
  EXPECT_EQ(prompts.size(), 1u) << "the user was told about the number";
  EXPECT_EQ(std::string(name.m_name), "Grace");
  EXPECT_EQ(count.m_count, 12);
  EXPECT_EQ(options.m_verbose, BST_UNCHECKED);
  EXPECT_EQ(name.m_hWnd, nullptr);
  EXPECT_EQ(sheet.m_hWnd, nullptr);
}

TEST_F(PropertySheetTest, ApplyKeepsTheSheetAndCancelResetsThePagesShown) {
  CPropertySheet sheet("Settings", nullptr, 1);
  sheet.AddPage(&name);
  sheet.AddPage(&count);
  sheet.AddPage(&options);
  EXPECT_EQ(sheet.GetActivePage(), &count) << "the start page before the sheet is up";
  answers.When(nullptr, "Settings", [&](HWND window) {
    EXPECT_EQ(sheet.GetActivePage(), &count);
    EXPECT_FALSE(Enabled(window, ID_APPLY_NOW));
    ::SetDlgItemText(count.m_hWnd, IDC_PAGE_COUNT, "3");
    count.SetModified();
    EXPECT_TRUE(Enabled(window, ID_APPLY_NOW));
    PressButton(window, ID_APPLY_NOW);
    EXPECT_FALSE(Enabled(window, ID_APPLY_NOW));
    EXPECT_EQ(count.m_count, 3);
    count.m_refuseCancel = true;
    PressButton(window, IDCANCEL);
    EXPECT_TRUE(::IsWindow(window)) << "the page kept the sheet open";
    count.m_refuseCancel = false;
    ClickTab(window, 0);
    PressButton(window, IDCANCEL);
  });
  ASSERT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(log, (std::vector<std::string>{"count init", "count set", "count kill", "count apply",
                                           "count query cancel", "count kill", "name init", "name set",
                                           "name query cancel", "name reset", "count reset"}));
}

TEST_F(PropertySheetTest, PagesComeAndGoWhileTheSheetIsUp) {
  CPropertySheet sheet("Settings");
  sheet.AddPage(&name);
  sheet.AddPage(&count);
  answers.When(nullptr, "Settings", [&](HWND window) {
    HWND tab = TabControl(window);
    EXPECT_EQ(::SendMessage(tab, TCM_GETITEMCOUNT, 0, 0), 2);
    sheet.AddPage(&options);
    EXPECT_EQ(sheet.GetPageCount(), 3);
    ASSERT_EQ(::SendMessage(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    char title[64] = {};
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = title;
    item.cchTextMax = sizeof(title);
    ::SendMessage(tab, TCM_GETITEM, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(title, "More Options") << "the caption string names the tab";
    EXPECT_TRUE(sheet.SetActivePage(2));
    sheet.RemovePage(&name);
    EXPECT_EQ(sheet.GetPageCount(), 2);
    EXPECT_EQ(sheet.GetPage(0), &count);
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    EXPECT_EQ(sheet.GetActivePage(), &options);
    EXPECT_EQ(name.m_hWnd, nullptr) << "the removed page's window is gone";
    sheet.EndDialog(4321);
  });
  EXPECT_EQ(sheet.DoModal(), 4321);
}

TEST_F(PropertySheetTest, AWizardMovesWithItsButtonsAndJumpsByTemplate) {
  CPropertySheet sheet("New Thing");
  sheet.SetWizardMode();
  sheet.AddPage(&name);
  sheet.AddPage(&count);
  sheet.AddPage(&options);
  name.m_buttons = PSWIZB_NEXT;
  count.m_buttons = PSWIZB_BACK | PSWIZB_NEXT;
  options.m_buttons = PSWIZB_BACK | PSWIZB_FINISH;
  answers.When(nullptr, "New Thing", [&](HWND window) {
    EXPECT_FALSE(Visible(window, IDC_PROPSHEET_TAB)) << "a wizard has no tabs";
    EXPECT_FALSE(Enabled(window, ID_WIZBACK));
    EXPECT_TRUE(Enabled(window, ID_WIZNEXT));
    PressButton(window, ID_WIZNEXT);
    EXPECT_EQ(sheet.GetActivePage(), &count);
    EXPECT_TRUE(Enabled(window, ID_WIZBACK));
    PressButton(window, ID_WIZBACK);
    EXPECT_EQ(sheet.GetActivePage(), &name);
    name.m_next = IDD_PAGE_OPTIONS;
    PressButton(window, ID_WIZNEXT);
    EXPECT_EQ(sheet.GetActivePage(), &options) << "the page chose where to go";
    EXPECT_TRUE(Visible(window, ID_WIZFINISH));
    EXPECT_FALSE(Visible(window, ID_WIZNEXT));
    options.m_refuseFinish = true;
    PressButton(window, ID_WIZFINISH);
    EXPECT_TRUE(::IsWindow(window));
    options.m_refuseFinish = false;
    PressButton(window, ID_WIZFINISH);
  });
  ASSERT_EQ(sheet.DoModal(), ID_WIZFINISH);
  EXPECT_EQ(log, (std::vector<std::string>{"name init", "name set", "name next", "name kill", "count init",
                                           "count set", "count kill", "name set", "name next", "name kill",
                                           "options init", "options set", "options finish", "options finish"}));
}

// A modeless sheet with a message map of its own.
class ToolSheet : public CPropertySheet {
 public:
  ToolSheet() : CPropertySheet("Tools") {}
  bool m_initialised = false;
  int m_pings = 0;

  BOOL OnInitDialog() override {
    BOOL result = CPropertySheet::OnInitDialog();
    m_initialised = GetActivePage() != nullptr;
    return result;
  }

 protected:
  afx_msg LRESULT OnPing(WPARAM, LPARAM) { return ++m_pings + 100; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ToolSheet, CPropertySheet)
  ON_MESSAGE(WM_APP + 1, OnPing)
END_MESSAGE_MAP()

TEST_F(PropertySheetTest, AModelessSheetRunsItsOwnMessageMapAndTurnsPagesWithCtrlTab) {
  ToolSheet sheet;
  sheet.AddPage(&name);
  sheet.AddPage(&count);
  ASSERT_TRUE(sheet.Create());
  EXPECT_TRUE(sheet.m_initialised) << "OnInitDialog ran with the first page shown";
  EXPECT_TRUE(sheet.IsWindowVisible());
  EXPECT_EQ(sheet.SendMessage(WM_APP + 1), 101);
  EXPECT_EQ(sheet.GetActivePage(), &name);
  brambolt::test::KeyDown(VK_CONTROL);
  MSG msg{};
  msg.hwnd = ::GetDlgItem(name.m_hWnd, IDC_PAGE_NAME);
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_TAB;
  EXPECT_TRUE(CWnd::WalkPreTranslateTree(sheet.m_hWnd, &msg));
  brambolt::test::KeyUp(VK_CONTROL);
  EXPECT_EQ(sheet.GetActivePage(), &count);
  EXPECT_EQ(log, (std::vector<std::string>{"name init", "name set", "name kill", "count init", "count set"}));
  sheet.DestroyWindow();
  EXPECT_EQ(sheet.m_hWnd, nullptr);
  EXPECT_EQ(count.m_hWnd, nullptr);
}

}  // namespace
