// Message boxes answered by a script: the buttons of each type, the default button, Esc, the
// caption, text and icon, modality and the bell.
#include <algorithm>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "os/Threads.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

std::vector<int> ButtonIds(HWND box) {
  std::vector<int> ids;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[16] = {};
    GetClassName(c, cls, sizeof(cls));
    if (std::string(cls) == "Button") ids.push_back(GetDlgCtrlID(c));
  }
  return ids;
}

void Key(UINT vk) {
  InjectKey(vk, true);
  InjectKey(vk, false);
}

struct BoxType {
  UINT type;
  std::vector<int> buttons;
  int escapeAnswer;  // 0: Esc leaves the box open
};

class MessageBoxes : public ::testing::Test {
 protected:
  UiSession session_;
  NotificationRecorder owner_;
};

// Esc and Alt+F4 (the close box) answer alike: Cancel where it is offered, OK where OK is the one
// answer (Help aside), nothing otherwise.
TEST_F(MessageBoxes, EachTypeOffersItsButtonsAndAnswersEscapeAsDocumented) {
  const BoxType types[] = {
      {MB_OK, {IDOK}, IDOK},
      {MB_OK | MB_HELP, {IDOK, IDHELP}, IDOK},
      {MB_OKCANCEL, {IDOK, IDCANCEL}, IDCANCEL},
      {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, 0},
      {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, IDCANCEL},
      {MB_YESNO, {IDYES, IDNO}, 0},
      {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDCANCEL},
      {MB_CANCELTRYCONTINUE, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, IDCANCEL},
  };
  for (bool altF4 : {false, true}) {
    for (const BoxType& t : types) {
      SCOPED_TRACE(::testing::Message() << (altF4 ? "Alt+F4 " : "Esc ") << t.type);
      std::vector<int> seen;
      bool ownerDisabled = false, openAfterKey = false;
      UiScript script;
      script
          .Then([&] {
            HWND box = FindWindow("#32770", "Question");
            ASSERT_NE(box, nullptr);
            seen = ButtonIds(box);
            ownerDisabled = !IsWindowEnabled(owner_.Hwnd());
            if (altF4) InjectKey(VK_MENU, true);
            Key(altF4 ? VK_F4 : VK_ESCAPE);
            if (altF4) InjectKey(VK_MENU, false);
          })
          .Then([&] {
            // Still open: the key means nothing here, so the first button answers.
            HWND box = FindWindow("#32770", "Question");
            openAfterKey = box != nullptr;
            if (box) SendMessage(GetDlgItem(box, t.buttons.front()), BM_CLICK, 0, 0);
          });
      int answer = MessageBox(owner_.Hwnd(), "Go on?", "Question", t.type);
      EXPECT_EQ(seen, t.buttons);
      EXPECT_EQ(openAfterKey, t.escapeAnswer == 0);
      EXPECT_EQ(answer, t.escapeAnswer ? t.escapeAnswer : t.buttons.front());
      EXPECT_TRUE(ownerDisabled);
      EXPECT_TRUE(IsWindowEnabled(owner_.Hwnd()));
    }
  }
}

TEST_F(MessageBoxes, DefaultButtonFlagsChooseWhatEnterAnswers) {
  const std::pair<UINT, int> cases[] = {{MB_DEFBUTTON1, IDYES}, {MB_DEFBUTTON2, IDNO}, {MB_DEFBUTTON3, IDCANCEL}};
  for (auto [flag, expected] : cases) {
    int focusId = 0;
    LRESULT defId = 0;
    UiScript script;
    script.Then([&] {
      HWND box = FindWindow("#32770", "Save");
      focusId = GetDlgCtrlID(GetFocus());
      defId = SendMessage(box, DM_GETDEFID, 0, 0);
      Key(VK_RETURN);
    });
    int answer = MessageBox(owner_.Hwnd(), "Save changes?", "Save", MB_YESNOCANCEL | flag);
    EXPECT_EQ(answer, expected);
    EXPECT_EQ(defId, MAKELONG(expected, DC_HASDEFID));
    EXPECT_EQ(focusId, expected);
  }
}

TEST_F(MessageBoxes, CaptionTextAndIconAreShown) {
  ModalAnswers answers;
  std::string caption, text;
  HICON icon = nullptr;
  answers.When("#32770", nullptr, [&](HWND box) {
    caption = Text(box);
    text = Text(GetDlgItem(box, IDC_MESSAGEBOX_TEXT));
    icon = reinterpret_cast<HICON>(SendDlgItemMessage(box, IDC_MESSAGEBOX_ICON, STM_GETICON, 0, 0));
    EndDialog(box, IDOK);
  });
  EXPECT_EQ(MessageBox(owner_.Hwnd(), "Disk full", nullptr, MB_OK | MB_ICONEXCLAMATION), IDOK);
  EXPECT_EQ(caption, "Error");
  EXPECT_EQ(text, "Disk full");
  EXPECT_EQ(icon, GetStandardIcon(IDI_EXCLAMATION));
  answers.When("#32770", nullptr, [&](HWND box) {
    icon = reinterpret_cast<HICON>(SendDlgItemMessage(box, IDC_MESSAGEBOX_ICON, STM_GETICON, 0, 0));
    SendMessage(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(MessageBox(owner_.Hwnd(), "Plain", "Workspace Manager", MB_OK), IDOK);
  EXPECT_EQ(icon, nullptr);
}

TEST_F(MessageBoxes, SystemModalBoxesStayOnTopAndRingTheBell) {
  ModalAnswers answers;
  LONG exStyle = 0;
  answers.When("#32770", "CPicture Error", [&](HWND box) {
    exStyle = GetWindowLong(box, GWL_EXSTYLE);
    EndDialog(box, IDOK);
  });
  size_t bells = session_.Backend().Bells().size();
  EXPECT_EQ(MessageBox(nullptr, "Cannot load", "CPicture Error", MB_ICONHAND | MB_SYSTEMMODAL), IDOK);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  std::vector<UINT> rung = session_.Backend().Bells();
  ASSERT_GT(rung.size(), bells);
  EXPECT_EQ(rung.back(), static_cast<UINT>(MB_ICONHAND));
}

TEST_F(MessageBoxes, TaskModalBoxesDisableTheThreadsWindows) {
  ModalAnswers answers;
  bool disabled = false;
  answers.When("#32770", "Task", [&](HWND box) {
    disabled = !IsWindowEnabled(owner_.Hwnd());
    EndDialog(box, IDOK);
  });
  MessageBox(nullptr, "Busy", "Task", MB_OK | MB_TASKMODAL);
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(IsWindowEnabled(owner_.Hwnd()));
}

TEST_F(MessageBoxes, HelpButtonAsksTheOwnerAndLeavesTheBoxOpen) {
  owner_.Watch(WM_HELP);
  ModalAnswers answers;
  answers.When("#32770", "Helpful", [&](HWND box) {
    SendMessage(GetDlgItem(box, IDHELP), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowVisible(box));
    SendMessage(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(MessageBox(owner_.Hwnd(), "See help", "Helpful", MB_OK | MB_HELP), IDOK);
  int helps = 0;
  for (const auto& r : owner_.Records()) helps += r.message == WM_HELP;
  EXPECT_EQ(helps, 1);
}

// An owner that is no window fails the call at once, as documented; a null text shows an empty
// message.
TEST_F(MessageBoxes, AnOwnerThatIsNoWindowFailsAndANullTextShowsNothing) {
  HangWatchdog watchdog("MessageBox with an owner that is no window");
  ModalAnswers answers;
  std::string text = "unset";
  int boxes = 0;
  answers.When("#32770", "Empty", [&](HWND box) {
    ++boxes;
    text = Text(GetDlgItem(box, IDC_MESSAGEBOX_TEXT));
    EndDialog(box, IDOK);
  }, true);
  HWND gone = CreateWindowEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  SetLastError(0);
  EXPECT_EQ(MessageBox(gone, "Never shown", "Empty", MB_OK), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(MessageBox(owner_.Hwnd(), nullptr, "Empty", MB_OK), IDOK);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(text, "");
}

// A CBT hook that presses Cancel of each window it hears being activated: the box answers Cancel
// (the hook's press finds the box already active instead of activating it again without end).
// Hooks that cause their own event again nest only so deep.
TEST_F(MessageBoxes, ACbtHookThatPressesCancelOnActivationAnswersTheBox) {
  HangWatchdog watchdog("MessageBox with a CBT hook that presses Cancel on activation");
  static int activations, depth, deepest;
  activations = depth = deepest = 0;
  HHOOK hook = SetWindowsHookEx(WH_CBT, [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (code == HCBT_ACTIVATE) {
      ++activations;
      deepest = std::max(deepest, ++depth);
      if (HWND cancel = GetDlgItem(reinterpret_cast<HWND>(wParam), IDCANCEL))
        SendMessage(cancel, BM_CLICK, 0, 0);
      --depth;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  const int answer = MessageBox(owner_.Hwnd(), "Go on?", "Hooked", MB_OKCANCEL);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_GE(activations, 1);
  EXPECT_LE(deepest, 8);

  // A call-window hook that sends a message of its own each time: the nesting ends.
  static HWND target;
  target = owner_.Hwnd();
  depth = deepest = 0;
  hook = SetWindowsHookEx(WH_CALLWNDPROC, [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
    deepest = std::max(deepest, ++depth);
    SendMessage(target, WM_NULL, 0, 0);
    --depth;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }, nullptr, GetCurrentThreadId());
  SendMessage(target, WM_NULL, 0, 0);
  UnhookWindowsHookEx(hook);
  EXPECT_GE(deepest, 2);
  EXPECT_LE(deepest, 8);
}

TEST_F(MessageBoxes, LongTextWrapsInsideTheScreen) {
  ModalAnswers answers;
  RECT box{}, label{};
  answers.When("#32770", "Long", [&](HWND h) {
    GetWindowRect(h, &box);
    GetWindowRect(GetDlgItem(h, IDC_MESSAGEBOX_TEXT), &label);
    EndDialog(h, IDOK);
  });
  std::string text;
  for (int i = 0; i < 60; ++i) text += "word ";
  MessageBox(owner_.Hwnd(), text.c_str(), "Long", MB_OK);
  EXPECT_LE(box.right - box.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(label.bottom - label.top, 2 * GetSystemMetrics(SM_CYCAPTION) / 2) << "several lines";
  EXPECT_GE(box.left, 0);
}

}  // namespace
