// CDialog and dialog data exchange: modal dialogs answered by script, modeless and child dialogs,
// every DDX kind both ways, parse and range failures that keep the dialog open, message maps
// in dialogs, controls subclassed by DDX_Control, the focus and default-button helpers.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "DialogTestIds.h"
#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::ModalAnswers;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::TypeText;
using brambolt::test::UiSession;

namespace {

thread_local std::vector<std::string> tPrompts;

int RecordPrompt(HWND, LPCTSTR text, LPCTSTR, UINT) {
  tPrompts.emplace_back(text);
  return IDOK;
}

// Message boxes are recorded instead of shown for the time of a test.
class RecordedPrompts {
 public:
  RecordedPrompts() {
    tPrompts.clear();
    brambolt::afx::SetMessageBoxPresenter(&RecordPrompt);
  }
  ~RecordedPrompts() { brambolt::afx::SetMessageBoxPresenter(nullptr); }
  RecordedPrompts(const RecordedPrompts&) = delete;
  RecordedPrompts& operator=(const RecordedPrompts&) = delete;
  const std::vector<std::string>& Prompts() const { return tPrompts; }
};

std::string Text(HWND hWnd) {
  char buffer[256] = {};
  ::GetWindowText(hWnd, buffer, sizeof(buffer));
  return buffer;
}

// An edit the dialog subclasses through DDX_Control; it counts the characters it is typed.
class CountingEdit : public CWnd {
 public:
  int chars = 0;

 protected:
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    ++chars;
    CWnd::OnChar(nChar, nRepCnt, nFlags);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingEdit, CWnd)
  ON_WM_CHAR()
END_MESSAGE_MAP()

// A dialog exchanging one member with each control of the test template.
class DataDialog : public CDialog {
 public:
  explicit DataDialog(CWnd* pParent = nullptr) : CDialog(IDD_DATA_DIALOG, pParent) {}

  CString m_name = "Ada";
  int m_count = 7;
  double m_ratio = 0.5;
  int m_enabled = BST_CHECKED;
  int m_choice = 1;
  CString m_colour = "Green";
  int m_shape = 2;
  CString m_fruit = "Pear";
  int m_maxCount = 100;
  bool m_subclassName = false;
  CountingEdit m_nameEdit;
  std::vector<std::string> events;

 protected:
  BOOL OnInitDialog() override {
    for (const char* colour : {"Red", "Green", "Blue"}) 
      SendDlgItemMessage(IDC_COLOUR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour));
    for (const char* shape : {"Circle", "Square", "Triangle"})
      SendDlgItemMessage(IDC_SHAPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shape));
    for (const char* fruit : {"Apple", "Pear", "Plum"})
      SendDlgItemMessage(IDC_FRUIT, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fruit));
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* pDX) override {
    if (m_subclassName) DDX_Control(pDX, IDC_NAME, m_nameEdit);
    DDX_Text(pDX, IDC_NAME, m_name);
    DDV_MaxChars(pDX, m_name, 8);
    DDX_Text(pDX, IDC_COUNT, m_count);
    DDV_MinMaxInt(pDX, m_count, 0, m_maxCount);
    DDX_Text(pDX, IDC_RATIO, m_ratio);
    DDX_Check(pDX, IDC_ENABLED, m_enabled);
    DDX_Radio(pDX, IDC_ALPHA, m_choice);
    DDX_CBString(pDX, IDC_COLOUR, m_colour);
    DDX_CBIndex(pDX, IDC_SHAPE, m_shape);
    DDX_LBString(pDX, IDC_FRUIT, m_fruit);
  }
  afx_msg void OnApply() { events.push_back("apply"); }
  afx_msg void OnNameChange() { events.push_back("name " + Text(::GetDlgItem(m_hWnd, IDC_NAME))); }
  afx_msg void OnShapeChange() {
    events.push_back("shape " + std::to_string(SendDlgItemMessage(IDC_SHAPE, CB_GETCURSEL)));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DataDialog, CDialog)
  ON_BN_CLICKED(IDC_APPLY, OnApply)
  ON_EN_CHANGE(IDC_NAME, OnNameChange)
  ON_CBN_SELCHANGE(IDC_SHAPE, OnShapeChange)
END_MESSAGE_MAP()

HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

void PressButton(HWND dialog, int id) { ::SendMessage(Item(dialog, id), BM_CLICK, 0, 0); }

}  // namespace

// ---- modal dialogs ----

TEST(DialogModal, OkSavesTheControlsIntoTheMembers) {
  UiSession session;
  DataDialog dialog;
  ModalAnswers answers;
  bool sawObject = false;
  answers.When(nullptr, "Data Exchange", [&](HWND hWnd) {
    sawObject = CWnd::FromHandlePermanent(hWnd) == &dialog;
    EXPECT_EQ(Text(Item(hWnd, IDC_NAME)), "Ada") << "OnInitDialog loads the members";
    ::SetWindowText(Item(hWnd, IDC_NAME), "Grace");
    ::SetWindowText(Item(hWnd, IDC_COUNT), " 42 ");
    PressButton(hWnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(sawObject);
  EXPECT_EQ(dialog.m_name, "Grace");
  EXPECT_EQ(dialog.m_count, 42);
  EXPECT_EQ(dialog.m_hWnd, nullptr) << "the window is gone and the object detached";
}

TEST(DialogModal, EscapeCancelsAndLeavesTheMembers) {
  UiSession session;
  DataDialog dialog;
  ModalAnswers answers;
  answers.When(nullptr, "Data Exchange", [&](HWND hWnd) {
    ::SetWindowText(Item(hWnd, IDC_NAME), "Changed");
    // Injected only: the dialog's own loop reads the key.
    brambolt::InjectKey(VK_ESCAPE, true);
    brambolt::InjectKey(VK_ESCAPE, false);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.m_name, "Ada");
}

TEST(DialogModal, EndDialogReturnsAnyResult) {
  UiSession session;
  DataDialog dialog;
  ModalAnswers answers;
  answers.When(nullptr, "Data Exchange", [&](HWND) { dialog.EndDialog(43099); });
  EXPECT_EQ(dialog.DoModal(), 43099);
}

TEST(DialogModal, MissingTemplateFails) {
  UiSession session;
  CDialog dialog(12345u);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(DialogModal, OwnerIsDisabledWhileTheDialogRuns) {
  UiSession session;
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                             nullptr));
  DataDialog dialog(&owner);
  ModalAnswers answers;
  bool disabled = false;
  HWND dialogOwner = nullptr;
  answers.When(nullptr, "Data Exchange", [&](HWND hWnd) {
    disabled = !owner.IsWindowEnabled();
    dialogOwner = ::GetWindow(hWnd, GW_OWNER);
    PressButton(hWnd, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(disabled);
  EXPECT_EQ(dialogOwner, owner.m_hWnd);
  EXPECT_TRUE(owner.IsWindowEnabled());
}

// A modal dialog stands centred over its owner unless it placed itself while initialising.
TEST(DialogModal, StandsCentredOverItsOwnerUnlessItPlacedItself) {
  UiSession session;
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, 100, 80, 700, 500, nullptr,
                             nullptr));
  struct Placing : DataDialog {
    using DataDialog::DataDialog;
    bool m_place = false;
    BOOL OnInitDialog() override {
      if (m_place) SetWindowPos(nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      return DataDialog::OnInitDialog();
    }
  };
  for (bool place : {false, true}) {
    Placing dialog(&owner);
    dialog.m_place = place;
    ModalAnswers answers;
    CRect rect;
    answers.When(nullptr, "Data Exchange", [&](HWND hWnd) {
      ::GetWindowRect(hWnd, &rect);
      PressButton(hWnd, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    if (place) {
      EXPECT_EQ(rect.TopLeft(), CPoint(3, 4));
    } else {
      EXPECT_LE(std::abs(rect.CenterPoint().x - 450), 1);
      EXPECT_LE(std::abs(rect.CenterPoint().y - 330), 1);
    }
  }
}

TEST(DialogModal, RangeFailureKeepsTheDialogOpenWithTheFocusOnTheControl) {
  UiSession session;
  RecordedPrompts prompts;
  DataDialog dialog;
  ModalAnswers answers;
  bool stillOpen = false;
  bool focused = false;
  answers.When(nullptr, "Data Exchange", [&](HWND hWnd) {
    ::SetWindowText(Item(hWnd, IDC_COUNT), "500");
    PressButton(hWnd, IDOK);
    stillOpen = ::IsWindowVisible(hWnd) && ::IsWindow(hWnd);
    focused = ::GetFocus() == Item(hWnd, IDC_COUNT);
    ::SetWindowText(Item(hWnd, IDC_COUNT), "50");
    PressButton(hWnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(focused);
  ASSERT_EQ(prompts.Prompts().size(), 1u);
  EXPECT_EQ(prompts.Prompts()[0], "Enter a whole number from 0 to 100.");
  EXPECT_EQ(dialog.m_count, 50);
}

TEST(DialogModal, PreTranslateMessageSeesTheMessagesOfTheDialogLoop) {
  // A posted message, then a key it asks for, then Cancel once the key was seen.
  struct Watching : DataDialog {
    std::vector<UINT> seen;
    BOOL PreTranslateMessage(MSG* pMsg) override {
      if (pMsg->message == WM_APP + 3) {
        seen.push_back(pMsg->message);
        brambolt::InjectKey(VK_TAB, true);
        brambolt::InjectKey(VK_TAB, false);
        return TRUE;
      }
      if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB) {
        seen.push_back(pMsg->message);
        PostMessage(WM_COMMAND, IDCANCEL, 0);
      }
      return DataDialog::PreTranslateMessage(pMsg);
    }
  };
  UiSession session;
  Watching dialog;
  ModalAnswers answers;
  answers.When(nullptr, "Data Exchange", [&](HWND hWnd) { ::PostMessage(hWnd, WM_APP + 3, 0, 0); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.seen, (std::vector<UINT>{WM_APP + 3, WM_KEYDOWN}));
}

// ---- data exchange ----

class DialogDataExchange : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Create(IDD_DATA_DIALOG)); }
  void TearDown() override {
    if (dialog.m_hWnd != nullptr) dialog.DestroyWindow();
  }
  HWND Ctl(int id) const { return Item(dialog.m_hWnd, id); }

  UiSession session;
  RecordedPrompts prompts;
  DataDialog dialog;
};

TEST_F(DialogDataExchange, LoadingPutsEveryMemberIntoItsControl) {
  EXPECT_EQ(Text(Ctl(IDC_NAME)), "Ada");
  EXPECT_EQ(Text(Ctl(IDC_COUNT)), "7");
  EXPECT_EQ(Text(Ctl(IDC_RATIO)), "0.5");
  EXPECT_EQ(::SendMessage(Ctl(IDC_ENABLED), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessage(Ctl(IDC_ALPHA), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessage(Ctl(IDC_BETA), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessage(Ctl(IDC_COLOUR), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(::SendMessage(Ctl(IDC_SHAPE), CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(::SendMessage(Ctl(IDC_FRUIT), LB_GETCURSEL, 0, 0), 1);
}

TEST_F(DialogDataExchange, SavingReadsEveryControlBack) {
  ::SetWindowText(Ctl(IDC_NAME), "Linus");
  ::SetWindowText(Ctl(IDC_COUNT), "-3");
  dialog.m_maxCount = 10;
  ::SetWindowText(Ctl(IDC_RATIO), "2.25e1");
  ::SendMessage(Ctl(IDC_ENABLED), BM_SETCHECK, BST_INDETERMINATE, 0);
  dialog.CheckRadioButton(IDC_ALPHA, IDC_GAMMA, IDC_GAMMA);
  ::SetWindowText(Ctl(IDC_COLOUR), "Magenta");
  ::SendMessage(Ctl(IDC_SHAPE), CB_SETCURSEL, 0, 0);
  ::SendMessage(Ctl(IDC_FRUIT), LB_SETCURSEL, 2, 0);
  ASSERT_FALSE(dialog.UpdateData(TRUE)) << "-3 is below the minimum";
  ::SetWindowText(Ctl(IDC_COUNT), "3");
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(dialog.m_name, "Linus");
  EXPECT_EQ(dialog.m_count, 3);
  EXPECT_DOUBLE_EQ(dialog.m_ratio, 22.5);
  EXPECT_EQ(dialog.m_enabled, BST_INDETERMINATE);
  EXPECT_EQ(dialog.m_choice, 2);
  EXPECT_EQ(dialog.m_colour, "Magenta") << "a combo with an edit keeps a text that is no item";
  EXPECT_EQ(dialog.m_shape, 0);
  EXPECT_EQ(dialog.m_fruit, "Plum");
}

TEST_F(DialogDataExchange, NothingSelectedSavesAsNone) {
  dialog.CheckRadioButton(IDC_ALPHA, IDC_GAMMA, 0);
  ::SendMessage(Ctl(IDC_SHAPE), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SendMessage(Ctl(IDC_FRUIT), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(dialog.m_choice, -1);
  EXPECT_EQ(dialog.m_shape, -1);
  EXPECT_EQ(dialog.m_fruit, "");
}

TEST_F(DialogDataExchange, StringsSelectTheItemsThatStartWithThem) {
  dialog.m_colour = "blu";
  dialog.m_fruit = "pl";
  ASSERT_TRUE(dialog.UpdateData(FALSE));
  EXPECT_EQ(::SendMessage(Ctl(IDC_COLOUR), CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Text(Ctl(IDC_COLOUR)), "Blue");
  EXPECT_EQ(::SendMessage(Ctl(IDC_FRUIT), LB_GETCURSEL, 0, 0), 2);
  dialog.m_fruit = "Cherry";
  ASSERT_TRUE(dialog.UpdateData(FALSE));
  EXPECT_EQ(::SendMessage(Ctl(IDC_FRUIT), LB_GETCURSEL, 0, 0), LB_ERR) << "no item: no selection";
}

TEST_F(DialogDataExchange, LoadingSendsNoNotificationsToTheDialog) {
  dialog.m_name = "Quiet";
  dialog.m_shape = 0;
  ASSERT_TRUE(dialog.UpdateData(FALSE));
  RunUntilIdle();
  EXPECT_TRUE(dialog.events.empty());
  EXPECT_EQ(Text(Ctl(IDC_NAME)), "Quiet");
}

struct BadNumber {
  const char* text;
  const char* prompt;
  int member;  // the member after the failure: text that is no number never reaches it
};

void PrintTo(const BadNumber& value, std::ostream* os) { *os << '[' << value.text << ']'; }

class DialogParseFailures : public DialogDataExchange, public ::testing::WithParamInterface<BadNumber> {};

TEST_P(DialogParseFailures, TellTheUserAndFocusTheEdit) {
  ::SetWindowText(Ctl(IDC_COUNT), GetParam().text);
  dialog.m_count = 9;
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  ASSERT_EQ(prompts.Prompts().size(), 1u);
  EXPECT_EQ(prompts.Prompts()[0], GetParam().prompt);
  EXPECT_EQ(dialog.m_count, GetParam().member);
  EXPECT_EQ(::GetFocus(), Ctl(IDC_COUNT));
  DWORD start = 0, end = 0;
  ::SendMessage(Ctl(IDC_COUNT), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, std::string(GetParam().text).size()) << "the bad text is selected";
}

INSTANTIATE_TEST_SUITE_P(Values, DialogParseFailures,
                         ::testing::Values(BadNumber{"12x", "Enter a whole number.", 9},
                                           BadNumber{"", "Enter a whole number.", 9},
                                           BadNumber{"- 4", "Enter a whole number.", 9},
                                           BadNumber{"2147483648", "Enter a whole number.", 9},
                                           BadNumber{"101", "Enter a whole number from 0 to 100.", 101}));

TEST_F(DialogDataExchange, TooLongTextFailsAndLoadingLimitsTheEdit) {
  EXPECT_EQ(::SendMessage(Ctl(IDC_NAME), EM_GETLIMITTEXT, 0, 0), 8);
  ::SendMessage(Ctl(IDC_NAME), EM_SETLIMITTEXT, 0, 0);
  ::SetWindowText(Ctl(IDC_NAME), "Ninechars");
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  ASSERT_EQ(prompts.Prompts().size(), 1u);
  EXPECT_EQ(prompts.Prompts()[0], "Enter at most 8 characters.");
  EXPECT_EQ(::GetFocus(), Ctl(IDC_NAME));
}

TEST_F(DialogDataExchange, BadRealNumberFails) {
  ::SetWindowText(Ctl(IDC_RATIO), "1.5.2");
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  ASSERT_EQ(prompts.Prompts().size(), 1u);
  EXPECT_EQ(prompts.Prompts()[0], "Enter a number.");
}

// Each numeric member type, parsed from text and written back.
class NumberDialog : public CDialog {
 public:
  NumberDialog() : CDialog(IDD_DATA_DIALOG) {}
  int kind = 0;
  CString text;
  int i = 0;
  UINT u = 0;
  long l = 0;
  short s = 0;
  BYTE b = 0;
  float f = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    if (pDX->m_bSaveAndValidate) text = "";
    switch (kind) {
      case 0: DDX_Text(pDX, IDC_COUNT, i); break;
      case 1: DDX_Text(pDX, IDC_COUNT, u); break;
      case 2: DDX_Text(pDX, IDC_COUNT, l); break;
      case 3: DDX_Text(pDX, IDC_COUNT, s); break;
      case 4: DDX_Text(pDX, IDC_COUNT, b); break;
      case 5: DDX_Text(pDX, IDC_COUNT, f); break;
    }
  }
};

struct NumberCase {
  int kind;
  const char* typed;
  bool accepted;
  const char* shownAgain;  // the text after saving and loading again
};

void PrintTo(const NumberCase& value, std::ostream* os) { *os << value.kind << '[' << value.typed << ']'; }

class DialogNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(DialogNumbers, ParseWithinTheirTypeAndShowAgain) {
  UiSession session;
  RecordedPrompts prompts;
  NumberDialog dialog;
  dialog.kind = GetParam().kind;
  ASSERT_TRUE(dialog.Create(IDD_DATA_DIALOG));
  HWND edit = Item(dialog.m_hWnd, IDC_COUNT);
  ::SetWindowText(edit, GetParam().typed);
  EXPECT_EQ(dialog.UpdateData(TRUE), GetParam().accepted ? TRUE : FALSE);
  EXPECT_EQ(prompts.Prompts().size(), GetParam().accepted ? 0u : 1u);
  if (GetParam().accepted) {
    ::SetWindowText(edit, "");
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(Text(edit), GetParam().shownAgain);
  }
  dialog.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(
    Types, DialogNumbers,
    ::testing::Values(NumberCase{0, "-2147483648", true, "-2147483648"}, NumberCase{0, "+17", true, "17"},
                      NumberCase{1, "4294967295", true, "4294967295"}, NumberCase{1, "-1", false, ""},
                      NumberCase{1, "4294967296", false, ""}, NumberCase{2, "-9000000000", true, "-9000000000"},
                      NumberCase{3, "-32768", true, "-32768"}, NumberCase{3, "32768", false, ""},
                      NumberCase{4, "255", true, "255"}, NumberCase{4, "256", false, ""},
                      NumberCase{5, "0.25", true, "0.25"}, NumberCase{5, "1e39", false, ""}));

TEST(DialogRanges, EachTypeTellsItsBounds) {
  UiSession session;
  RecordedPrompts prompts;
  CWnd window;
  CDataExchange dx(&window, TRUE);
  auto fails = [&](auto check) {
    try {
      check();
    } catch (CUserException* e) {
      e->Delete();
      return true;
    }
    return false;
  };
  EXPECT_FALSE(fails([&] { DDV_MinMaxUInt(&dx, 5u, 1u, 5u); }));
  EXPECT_TRUE(fails([&] { DDV_MinMaxUInt(&dx, 6u, 1u, 5u); }));
  EXPECT_TRUE(fails([&] { DDV_MinMaxLong(&dx, -7L, -6L, 6L); }));
  EXPECT_TRUE(fails([&] { DDV_MinMaxDWord(&dx, 0u, 1u, 2u); }));
  EXPECT_TRUE(fails([&] { DDV_MinMaxDouble(&dx, 1.5, 0.0, 1.25); }));
  CDataExchange loading(&window, FALSE);
  EXPECT_FALSE(fails([&] { DDV_MinMaxInt(&loading, 99, 0, 1); })) << "loading validates nothing";
  EXPECT_EQ(prompts.Prompts(), (std::vector<std::string>{"Enter a whole number from 1 to 5.",
                                                         "Enter a whole number from -6 to 6.",
                                                         "Enter a whole number from 1 to 2.",
                                                         "Enter a number from 0 to 1.25."}));
}

// ---- message maps, subclassing, modeless and child dialogs ----

TEST_F(DialogDataExchange, MessageMapHandlesControlNotifications) {
  dialog.ShowWindow(SW_SHOW);
  RunUntilIdle();
  brambolt::test::Click(Ctl(IDC_APPLY), POINT{5, 5});
  ::SetFocus(Ctl(IDC_NAME));
  ::SendMessage(Ctl(IDC_NAME), EM_SETSEL, 0, -1);
  TypeText("Z");
  ::SetFocus(Ctl(IDC_SHAPE));
  PressKey(VK_UP);
  RunUntilIdle();
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"apply", "name Z", "shape 1"}));
}

TEST(DialogControls, DdxControlSubclassesTheControlOnce) {
  UiSession session;
  DataDialog dialog;
  dialog.m_subclassName = true;
  ASSERT_TRUE(dialog.Create(IDD_DATA_DIALOG));
  HWND edit = Item(dialog.m_hWnd, IDC_NAME);
  EXPECT_EQ(dialog.m_nameEdit.m_hWnd, edit);
  EXPECT_EQ(CWnd::FromHandlePermanent(edit), &dialog.m_nameEdit);
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(CWnd::FromHandlePermanent(edit), &dialog.m_nameEdit);
  ::SetFocus(edit);
  ::SendMessage(edit, EM_SETSEL, 0, -1);
  TypeText("Bob");
  EXPECT_EQ(dialog.m_nameEdit.chars, 3);
  EXPECT_EQ(Text(edit), "Bob") << "the edit still does its own work";
  dialog.DestroyWindow();
  EXPECT_EQ(dialog.m_nameEdit.m_hWnd, nullptr);
}

TEST(DialogModeless, SelfDeletingDialogGoesWithItsWindow) {
  struct SelfDeleting : CDialog {
    bool* deleted;
    explicit SelfDeleting(bool* flag) : deleted(flag) {}
    ~SelfDeleting() override { *deleted = true; }
    void PostNcDestroy() override { delete this; }
  };
  UiSession session;
  bool deleted = false;
  auto* dialog = new SelfDeleting(&deleted);
  ASSERT_TRUE(dialog->Create(IDD_DATA_DIALOG));
  HWND hWnd = dialog->m_hWnd;
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), dialog);
  EXPECT_NE(dialog->GetDlgItem(IDC_NAME), nullptr);
  dialog->ShowWindow(SW_SHOW);
  RunUntilIdle();
  ::DestroyWindow(hWnd);
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(DialogModeless, FailedCreationStillEndsTheObject) {
  struct SelfDeleting : CDialog {
    int* ends;
    explicit SelfDeleting(int* count) : ends(count) {}
    void PostNcDestroy() override { ++*ends; }
  };
  UiSession session;
  int ends = 0;
  SelfDeleting dialog(&ends);
  EXPECT_FALSE(dialog.Create(54321u));
  EXPECT_EQ(ends, 0) << "nothing was hooked when the template is missing";
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(DialogModeless, ChildDialogLivesInsideItsParent) {
  UiSession session;
  DataDialog parent;
  ASSERT_TRUE(parent.Create(IDD_DATA_DIALOG));
  CDialog child;
  ASSERT_TRUE(child.Create(IDD_CHILD_DIALOG, &parent));
  EXPECT_EQ(::GetParent(child.m_hWnd), parent.m_hWnd);
  EXPECT_TRUE(child.GetStyle() & WS_CHILD);
  EXPECT_NE(::GetDlgItem(child.m_hWnd, IDC_CHILD_EDIT), nullptr);
  parent.DestroyWindow();
  EXPECT_EQ(child.m_hWnd, nullptr) << "destroyed with its parent";
}

TEST_F(DialogDataExchange, FocusAndDefaultButtonHelpers) {
  dialog.ShowWindow(SW_SHOW);
  RunUntilIdle();
  dialog.GotoDlgCtrl(dialog.GetDlgItem(IDC_COUNT));
  EXPECT_EQ(::GetFocus(), Ctl(IDC_COUNT));
  dialog.NextDlgCtrl();
  EXPECT_EQ(::GetFocus(), Ctl(IDC_RATIO));
  dialog.PrevDlgCtrl();
  dialog.PrevDlgCtrl();
  EXPECT_EQ(::GetFocus(), Ctl(IDC_NAME));
  EXPECT_EQ(dialog.GetDefID(), static_cast<DWORD>(MAKELONG(IDOK, DC_HASDEFID)));
  dialog.SetDefID(IDC_APPLY);
  EXPECT_EQ(dialog.GetDefID(), static_cast<DWORD>(MAKELONG(IDC_APPLY, DC_HASDEFID)));
  RECT units{0, 0, 4, 8};
  RECT expected = units;
  dialog.MapDialogRect(&units);
  ::MapDialogRect(dialog.m_hWnd, &expected);
  EXPECT_TRUE(::EqualRect(&units, &expected));
  EXPECT_GT(units.right, 0);
}

TEST(DialogModeless, IndirectTemplateWithDialogInitData) {
  UiSession session;
  // A DIALOG template in memory: one drop-down list combo with id 7.
  std::vector<WORD> words;
  auto dword = [&](DWORD v) {
    words.push_back(LOWORD(v));
    words.push_back(HIWORD(v));
  };
  dword(WS_POPUP | WS_CAPTION);
  dword(0);
  words.push_back(1);
  for (short v : {0, 0, 100, 60}) words.push_back(static_cast<WORD>(v));
  words.insert(words.end(), {0, 0, 'I', 'n', 0});  // no menu, default class, caption "In"
  if (words.size() % 2) words.push_back(0);
  dword(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL);
  dword(0);
  for (short v : {5, 5, 80, 50}) words.push_back(static_cast<WORD>(v));
  words.push_back(7);
  words.insert(words.end(), {0xFFFF, 0x0085, 0, 0});  // combo box class, no title, no data
  // Dialog-init data: two CB_ADDSTRING entries for control 7, then the end.
  std::vector<BYTE> init;
  auto add = [&](const std::string& text) {
    for (WORD w : {WORD(7), WORD(0x0403)}) init.insert(init.end(), {BYTE(w & 0xFF), BYTE(w >> 8)});
    DWORD size = static_cast<DWORD>(text.size() + 1);
    for (int shift = 0; shift < 32; shift += 8) init.push_back(static_cast<BYTE>(size >> shift));
    init.insert(init.end(), text.begin(), text.end());
    init.push_back(0);
  };
  add("one");
  add("two");
  init.insert(init.end(), {0, 0});
  CDialog dialog;
  ASSERT_TRUE(dialog.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(words.data()), nullptr, init.data()));
  EXPECT_EQ(dialog.SendDlgItemMessage(7, CB_GETCOUNT), 2);
  dialog.DestroyWindow();
}

namespace {

class CommandOwner : public CWnd {
 public:
  int commands = 0;

 protected:
  afx_msg void OnApply() { ++commands; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandOwner, CWnd)
  ON_BN_CLICKED(IDC_APPLY, OnApply)
END_MESSAGE_MAP()

}  // namespace

TEST(DialogCommands, UnhandledCommandsGoToTheOwner) {
  UiSession session;
  CommandOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  CDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_DATA_DIALOG, &owner));
  PressButton(dialog.m_hWnd, IDC_APPLY);
  EXPECT_EQ(owner.commands, 1);
  dialog.DestroyWindow();
}
