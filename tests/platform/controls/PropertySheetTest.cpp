// Property sheets and wizards: pages made when first shown, the PSN_ notifications around every
// page change and button, refusals, Apply, Ctrl+Tab, wizard navigation and a screenshot.
#include <filesystem>
#include <map>

#include "ControlsTestSupport.h"
#include "win/Input.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

struct Event {
  int page;
  UINT code;  // a PSN_ code, or WM_INITDIALOG
  LPARAM lParam;
  bool operator==(const Event& o) const { return page == o.page && code == o.code && lParam == o.lParam; }
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{page " << e.page << ", code " << static_cast<int>(e.code) << ", " << e.lParam << "}";
}

// What the pages saw and what they answer, per page number and code.
thread_local std::vector<Event> events;
thread_local std::map<std::pair<int, UINT>, LRESULT> answers;
thread_local std::map<int, DWORD> wizardButtons;

INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    int number = static_cast<int>(reinterpret_cast<PROPSHEETPAGE*>(lParam)->lParam);
    SetWindowLongPtr(hwnd, DWLP_USER, number);
    events.push_back({number, WM_INITDIALOG, 0});
    return TRUE;
  }
  if (msg != WM_NOTIFY) return FALSE;
  int number = static_cast<int>(GetWindowLongPtr(hwnd, DWLP_USER));
  const auto* pn = reinterpret_cast<const PSHNOTIFY*>(lParam);
  events.push_back({number, pn->hdr.code, pn->lParam});
  if (pn->hdr.code == PSN_SETACTIVE && wizardButtons.count(number))
    SendMessage(GetParent(hwnd), PSM_SETWIZBUTTONS, 0, wizardButtons[number]);
  auto it = answers.find({number, pn->hdr.code});
  SetWindowLongPtr(hwnd, DWLP_MSGRESULT, it == answers.end() ? 0 : it->second);
  return TRUE;
}

class PropertySheets : public ::testing::Test {
 protected:
  void SetUp() override {
    events.clear();
    answers.clear();
    wizardButtons.clear();
    for (int i = 0; i < 3; ++i) {
      pages_[i] = PROPSHEETPAGE{};
      pages_[i].dwSize = sizeof(PROPSHEETPAGE);
      pages_[i].pszTemplate = MAKEINTRESOURCE(301 + i);
      pages_[i].pfnDlgProc = PageProc;
      pages_[i].lParam = i + 1;
    }
    header_.dwSize = sizeof(header_);
    header_.dwFlags = PSH_PROPSHEETPAGE | PSH_PROPTITLE;
    header_.hwndParent = recorder_.Hwnd();
    header_.pszCaption = "Test";
    header_.nPages = 3;
    header_.ppsp = pages_;
  }
  INT_PTR Run(std::function<void(HWND)> script, bool closeAfter = true) {
    bool ran = false;
    answers_.When(nullptr, header_.dwFlags & PSH_WIZARD ? "Test" : "Test Properties", [&, script](HWND sheet) {
      ran = true;
      script(sheet);
      if (closeAfter && IsWindow(sheet) && IsWindowVisible(sheet)) PostMessage(sheet, WM_COMMAND, IDCANCEL, 0);  // never hang
    });
    INT_PTR r = PropertySheet(&header_);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(answers_.Unanswered().empty());
    return r;
  }
  static HWND Tab(HWND sheet) { return reinterpret_cast<HWND>(SendMessage(sheet, PSM_GETTABCONTROL, 0, 0)); }
  static HWND Current(HWND sheet) { return reinterpret_cast<HWND>(SendMessage(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
  static int CurrentNumber(HWND sheet) { return static_cast<int>(GetWindowLongPtr(Current(sheet), DWLP_USER)); }
  static void ClickTab(HWND sheet, int index) {
    RECT r;
    SendMessage(Tab(sheet), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    Click(Tab(sheet), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  static void ClickButton(HWND sheet, int id) {
    HWND b = GetDlgItem(sheet, id);
    ASSERT_NE(b, nullptr) << id;
    RECT r;
    GetClientRect(b, &r);
    Click(b, POINT{r.right / 2, r.bottom / 2});
  }

  UiSession session_;
  NotificationRecorder recorder_;
  ModalAnswers answers_;
  PROPSHEETPAGE pages_[3];
  PROPSHEETHEADER header_{};
};

TEST_F(PropertySheets, PagesAreMadeWhenFirstShownAndOkAppliesThoseThatExist) {
  INT_PTR r = Run([&](HWND sheet) {
    EXPECT_EQ(events, (std::vector<Event>{{1, WM_INITDIALOG, 0}, {1, PSN_SETACTIVE, 0}}));
    EXPECT_EQ(TabCtrl_GetItemCount(Tab(sheet)), 3);
    HWND first = Current(sheet);
    events.clear();
    ClickTab(sheet, 1);
    EXPECT_FALSE(IsWindowVisible(first));
    EXPECT_EQ(CurrentNumber(sheet), 2);
    EXPECT_EQ(events, (std::vector<Event>{{1, PSN_KILLACTIVE, 0}, {2, WM_INITDIALOG, 0}, {2, PSN_SETACTIVE, 0}}));
    events.clear();
    ClickButton(sheet, IDOK);
  });
  EXPECT_EQ(r, 1);
  EXPECT_EQ(events, (std::vector<Event>{{2, PSN_KILLACTIVE, 0}, {1, PSN_APPLY, TRUE}, {2, PSN_APPLY, TRUE}}));
}

TEST_F(PropertySheets, APageThatRefusesToGoKeepsTheSheetOnIt) {
  answers[{1, PSN_KILLACTIVE}] = TRUE;
  Run([&](HWND sheet) {
    ClickTab(sheet, 2);
    EXPECT_EQ(CurrentNumber(sheet), 1);
    EXPECT_EQ(TabCtrl_GetCurSel(Tab(sheet)), 0);
    ClickButton(sheet, IDOK);  // OK asks the same question
    EXPECT_TRUE(IsWindowVisible(sheet));
    answers.clear();
    ClickButton(sheet, IDOK);
  });
}

TEST_F(PropertySheets, CancelAsksTheCurrentPageThenResetsEveryPage) {
  answers[{2, PSN_QUERYCANCEL}] = TRUE;
  INT_PTR r = Run([&](HWND sheet) {
    ClickTab(sheet, 1);
    ClickButton(sheet, IDCANCEL);
    EXPECT_TRUE(IsWindowVisible(sheet));
    answers.clear();
    events.clear();
    PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(r, 0);
  EXPECT_EQ(events, (std::vector<Event>{{2, PSN_QUERYCANCEL, 0}, {1, PSN_RESET, 0}, {2, PSN_RESET, 0}}));
}

TEST_F(PropertySheets, ApplyFollowsChangesAndInvalidPagesKeepTheSheetOpen) {
  Run([&](HWND sheet) {
    HWND apply = GetDlgItem(sheet, ID_APPLY_NOW);
    EXPECT_FALSE(IsWindowEnabled(apply));
    SendMessage(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(Current(sheet)), 0);
    EXPECT_TRUE(IsWindowEnabled(apply));
    events.clear();
    ClickButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(events, (std::vector<Event>{{1, PSN_KILLACTIVE, 0}, {1, PSN_APPLY, FALSE}}));
    EXPECT_FALSE(IsWindowEnabled(apply));
    ClickTab(sheet, 1);
    answers[{2, PSN_APPLY}] = PSNRET_INVALID;
    ClickTab(sheet, 0);
    ClickButton(sheet, IDOK);
    EXPECT_TRUE(IsWindowVisible(sheet));
    EXPECT_EQ(CurrentNumber(sheet), 2);  // the sheet turned to the page that failed
    answers.clear();
    ClickButton(sheet, IDOK);
  });
}

TEST_F(PropertySheets, CtrlTabTurnsThePagesBothWays) {
  // Keys typed while the sheet's own loop runs, so they pass its message filter.
  struct Step {
    UINT vk, mods;
    int page;
  };
  const std::vector<Step> steps{{VK_TAB, kCtrl, 2},          {VK_TAB, kCtrl, 3},  {VK_TAB, kCtrl, 1},
                                {VK_TAB, kCtrl | kShift, 3}, {VK_PRIOR, kCtrl, 2}, {VK_NEXT, kCtrl, 3}};
  HWND sheet = nullptr;
  UiScript script;
  auto type = [](const Step& s) {
    if (s.mods & kCtrl) InjectKey(VK_CONTROL, true);
    if (s.mods & kShift) InjectKey(VK_SHIFT, true);
    InjectKey(s.vk, true);
    InjectKey(s.vk, false);
    if (s.mods & kShift) InjectKey(VK_SHIFT, false);
    if (s.mods & kCtrl) InjectKey(VK_CONTROL, false);
  };
  script.Then([&] { type(steps[0]); });
  for (size_t i = 0; i < steps.size(); ++i)
    script.Then([&, i] {
      EXPECT_EQ(CurrentNumber(sheet), steps[i].page) << "step " << i;
      EXPECT_EQ(TabCtrl_GetCurSel(Tab(sheet)), steps[i].page - 1) << "step " << i;
      if (i + 1 < steps.size()) type(steps[i + 1]);
      else PostMessage(sheet, WM_COMMAND, IDOK, 0);
    });
  Run([&](HWND s) {
    sheet = s;
    SetFocus(GetDlgItem(Current(sheet), 1001));
  }, false);
  EXPECT_EQ(script.Remaining(), 0u);
}

TEST_F(PropertySheets, WizardsGoBackNextAndFinishAsThePagesSay) {
  header_.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD;
  wizardButtons = {{1, PSWIZB_NEXT}, {2, PSWIZB_BACK | PSWIZB_NEXT}, {3, PSWIZB_BACK | PSWIZB_FINISH}};
  INT_PTR r = Run([&](HWND sheet) {
    EXPECT_FALSE(IsWindowVisible(Tab(sheet)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet, ID_WIZBACK)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, ID_WIZNEXT)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, ID_WIZFINISH)));
    events.clear();
    ClickButton(sheet, ID_WIZNEXT);
    EXPECT_EQ(CurrentNumber(sheet), 2);
    EXPECT_EQ(events, (std::vector<Event>{{1, PSN_WIZNEXT, 0}, {1, PSN_KILLACTIVE, 0}, {2, WM_INITDIALOG, 0},
                                          {2, PSN_SETACTIVE, 0}}));
    ClickButton(sheet, ID_WIZBACK);
    EXPECT_EQ(CurrentNumber(sheet), 1);
    EXPECT_EQ(LOWORD(SendMessage(sheet, DM_GETDEFID, 0, 0)), ID_WIZNEXT);
    ClickButton(sheet, ID_WIZNEXT);
    EXPECT_EQ(CurrentNumber(sheet), 2);
    ClickButton(sheet, ID_WIZNEXT);
    EXPECT_EQ(CurrentNumber(sheet), 3);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, ID_WIZNEXT)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, ID_WIZFINISH)));
    EXPECT_EQ(LOWORD(SendMessage(sheet, DM_GETDEFID, 0, 0)), ID_WIZFINISH);
    events.clear();
    ClickButton(sheet, ID_WIZFINISH);
  });
  EXPECT_EQ(r, 1);
  EXPECT_EQ(events, (std::vector<Event>{{3, PSN_WIZFINISH, 0}}));
}

TEST_F(PropertySheets, WizardPagesCanSkipOrJumpByTemplateId) {
  header_.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD;
  Run([&](HWND sheet) {
    answers[{2, PSN_SETACTIVE}] = -1;  // not wanted: on to the next
    ClickButton(sheet, ID_WIZNEXT);
    EXPECT_EQ(CurrentNumber(sheet), 3);
    answers.clear();
    answers[{3, PSN_WIZBACK}] = 301;  // straight back to the first template
    ClickButton(sheet, ID_WIZBACK);
    EXPECT_EQ(CurrentNumber(sheet), 1);
    answers[{1, PSN_WIZNEXT}] = -1;  // refuses to move
    ClickButton(sheet, ID_WIZNEXT);
    EXPECT_EQ(CurrentNumber(sheet), 1);
    PressKey(VK_ESCAPE);
  });
}

static thread_local std::vector<LPARAM> released;

static UINT CALLBACK CountRelease(HWND, UINT msg, PROPSHEETPAGE* page) {
  if (msg == PSPCB_RELEASE) released.push_back(page->lParam);
  return 1;
}

TEST_F(PropertySheets, PageHandlesGivenToTheSheetAreDestroyedByIt) {
  released.clear();
  for (PROPSHEETPAGE& page : pages_) {
    page.dwFlags |= PSP_USECALLBACK;
    page.pfnCallback = CountRelease;
  }
  HPROPSHEETPAGE handles[] = {CreatePropertySheetPage(&pages_[0]), CreatePropertySheetPage(&pages_[1])};
  header_.dwFlags = PSH_PROPTITLE;
  header_.nPages = 2;
  header_.phpage = handles;
  HPROPSHEETPAGE refused = nullptr;
  Run([&](HWND sheet) {
    EXPECT_TRUE(SendMessage(sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(CreatePropertySheetPage(&pages_[2]))));
    PROPSHEETPAGE missing = pages_[2];
    missing.pszTemplate = MAKEINTRESOURCE(399);
    missing.lParam = 9;
    refused = CreatePropertySheetPage(&missing);
    EXPECT_FALSE(SendMessage(sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(refused)));
    SendMessage(sheet, PSM_REMOVEPAGE, 0, 0);
    EXPECT_EQ(released, (std::vector<LPARAM>{1}));
  });
  EXPECT_EQ(released, (std::vector<LPARAM>{1, 2, 3}));
  DestroyPropertySheetPage(refused);  // a page the sheet refused stays its caller's
  EXPECT_EQ(released.back(), 9);
}

TEST_F(PropertySheets, ScreenshotShowsTabsPageAndButtonsInPlace) {
  Run([&](HWND sheet) {
    RunUntilIdle();
    std::string png = (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
                       "property-sheet.png").string();
    EXPECT_TRUE(SaveWindowPng(sheet, png));
    RECT tab = RectInParent(Tab(sheet)), page = RectInParent(Current(sheet));
    RECT ok = RectInParent(GetDlgItem(sheet, IDOK)), cancel = RectInParent(GetDlgItem(sheet, IDCANCEL));
    RECT apply = RectInParent(GetDlgItem(sheet, ID_APPLY_NOW));
    RECT client;
    GetClientRect(sheet, &client);
    // The page lies inside the tab's display area; the buttons line up under it, Apply at the right.
    RECT display = tab;
    TabCtrl_AdjustRect(Tab(sheet), FALSE, &display);
    EXPECT_TRUE(EqualRect(&display, &page));
    EXPECT_EQ(apply.right, tab.right);
    EXPECT_LT(ok.right, cancel.left);
    EXPECT_LT(cancel.right, apply.left);
    EXPECT_GT(ok.top, tab.bottom);
    EXPECT_EQ(ok.top, apply.top);
    EXPECT_EQ(client.right - tab.right, tab.left);
    // Pixels the layout decides: the display frame's highlight, the page face inside it.
    POINT origin{0, 0};
    ClientToScreen(sheet, &origin);
    RECT window;
    GetWindowRect(sheet, &window);
    int dx = origin.x - window.left, dy = origin.y - window.top;
    EXPECT_EQ(WindowPixel(sheet, dx + tab.left, dy + tab.bottom - 10), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(WindowPixel(sheet, dx + tab.right - 1, dy + tab.bottom - 10), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(WindowPixel(sheet, dx + page.left + 2, dy + page.bottom - 2), GetSysColor(COLOR_3DFACE));
    ClickButton(sheet, IDCANCEL);
  });
}

}  // namespace
