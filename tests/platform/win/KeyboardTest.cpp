#include "WinTestSupport.h"

using namespace wintest;
using namespace brambolt::test;

class Keyboard : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetFocus(w);
    MessageLog::Instance().Clear();
  }
  std::vector<Logged> Keys() {
    std::vector<Logged> out;
    for (const Logged& m : MessageLog::Instance().All())
      if (m.hwnd == w && m.msg >= WM_KEYFIRST && m.msg <= WM_KEYLAST) out.push_back(m);
    return out;
  }
  std::string Chars() {
    std::string out;
    for (const Logged& m : Keys())
      if (m.msg == WM_CHAR) out.push_back(static_cast<char>(m.wParam));
    return out;
  }
  HWND w = nullptr;
};

TEST_F(Keyboard, TypedTextBecomesCharacters) {
  TypeText("Hello, World! 1+1=2");
  EXPECT_EQ(Chars(), "Hello, World! 1+1=2");
}

TEST_F(Keyboard, KeyMessagesCarryScanCodeRepeatAndTransitionBits) {
  brambolt::InjectKey('A', true);
  brambolt::InjectKey('A', true);  // auto-repeat
  brambolt::InjectKey('A', false);
  RunUntilIdle();
  auto keys = Keys();
  std::vector<Logged> kd, ku;
  for (auto& k : keys) {
    if (k.msg == WM_KEYDOWN) kd.push_back(k);
    if (k.msg == WM_KEYUP) ku.push_back(k);
  }
  ASSERT_EQ(kd.size(), 2u);
  ASSERT_EQ(ku.size(), 1u);
  EXPECT_EQ(kd[0].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(kd[0].lParam & 0xFFFF, 1);
  EXPECT_EQ((kd[0].lParam >> 16) & 0xFF, 0x1E);
  EXPECT_EQ(kd[0].lParam & 0x40000000, 0);  // was up before
  EXPECT_NE(kd[1].lParam & 0x40000000, 0);  // a repeat: was down
  EXPECT_NE(ku[0].lParam & 0x80000000, 0);  // transition bit of a release
  EXPECT_NE(ku[0].lParam & 0x40000000, 0);
}

TEST_F(Keyboard, ControlCombinationsGiveControlCharacters) {
  PressKey('C', kCtrl);
  PressKey(VK_BACK, kNone);
  PressKey(VK_RETURN, kNone);
  PressKey(VK_ESCAPE, kNone);
  EXPECT_EQ(Chars(), std::string("\x03\x08\r\x1b"));
}

TEST_F(Keyboard, ShiftAndCapsLockChooseTheCase) {
  PressKey('Q', kShift);
  PressKey(VK_CAPITAL);
  PressKey('Q');
  PressKey('Q', kShift);
  PressKey(VK_CAPITAL);
  PressKey('2', kShift);
  EXPECT_EQ(Chars(), "QQq@");
}

TEST_F(Keyboard, KeyStateFollowsTheMessagesRetrieved) {
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  brambolt::InjectKey(VK_SHIFT, true);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);  // at once
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);       // not until the message is retrieved
  RunUntilIdle();
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  BYTE state[256];
  GetKeyboardState(state);
  EXPECT_TRUE(state[VK_SHIFT] & 0x80);
  KeyUp(VK_SHIFT);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  PressKey(VK_NUMLOCK);
  EXPECT_EQ(GetKeyState(VK_NUMLOCK) & 1, 1);  // toggled
  PressKey(VK_NUMLOCK);
  EXPECT_EQ(GetKeyState(VK_NUMLOCK) & 1, 0);
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  state[VK_CONTROL] = 0;
  SetKeyboardState(state);
}

TEST_F(Keyboard, AltMakesSystemKeysAndMenuCommands) {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  MessageLog::Instance().SetHandler([&](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
    if (msg != WM_SYSCOMMAND) return false;
    commands.emplace_back(wp, lp);
    return (wp & 0xFFF0) == SC_CLOSE;  // keep the window
  });
  PressKey('F', kAlt);
  auto keys = Keys();
  std::vector<UINT> kinds;
  for (auto& k : keys) kinds.push_back(k.msg);
  EXPECT_EQ(kinds, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP}));
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first & 0xFFF0, static_cast<WPARAM>(SC_KEYMENU));
  EXPECT_EQ(commands[0].second, 'f');
  commands.clear();
  PressKey(VK_MENU);  // Alt alone
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first, static_cast<WPARAM>(SC_KEYMENU));
  EXPECT_EQ(commands[0].second, 0);
  commands.clear();
  PressKey(VK_F10);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first, static_cast<WPARAM>(SC_KEYMENU));
  commands.clear();
  PressKey(VK_F4, kAlt);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_TRUE(IsWindow(w));
  commands.clear();
  // Alt held over a click is a modifier: its release opens no menu.
  KeyDown(VK_MENU);
  Click(w, POINT{10, 10}, kAlt);
  KeyUp(VK_MENU);
  EXPECT_TRUE(commands.empty());
}

TEST_F(Keyboard, KeysGoToTheActiveWindowAsSystemKeysWithoutFocus) {
  SetFocus(nullptr);
  EXPECT_EQ(GetActiveWindow(), w);
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg == WM_SYSCOMMAND; });
  PressKey('X');
  auto keys = Keys();
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys[0].msg, static_cast<UINT>(WM_SYSKEYDOWN));
}

TEST_F(Keyboard, CharactersWithoutKeysArriveAsBytes) {
  brambolt::InjectCharacters("\xD6\xD0");  // one double-byte character: lead, then trail
  RunUntilIdle();
  EXPECT_EQ(Chars(), "\xD6\xD0");
}

TEST(KeyboardLayout, VirtualKeysScanCodesAndNames) {
  EXPECT_EQ(MapVirtualKey('A', MAPVK_VK_TO_VSC), 0x1Eu);
  EXPECT_EQ(MapVirtualKey(0x1E, MAPVK_VSC_TO_VK), static_cast<UINT>('A'));
  EXPECT_EQ(MapVirtualKey(VK_OEM_2, MAPVK_VK_TO_CHAR), static_cast<UINT>('/'));
  EXPECT_EQ(MapVirtualKey('Q', MAPVK_VK_TO_CHAR), static_cast<UINT>('Q'));
  EXPECT_EQ(MapVirtualKeyEx(VK_F9, MAPVK_VK_TO_VSC, nullptr), 0x43u);
  struct Case {
    UINT vk;
    bool extended;
    const char* name;
  } cases[] = {{VK_ESCAPE, false, "Esc"},     {VK_F1, false, "F1"},      {VK_DELETE, true, "Delete"},
               {VK_DECIMAL, false, "Num Del"}, {VK_INSERT, true, "Insert"}, {'8', false, "8"},
               {VK_SPACE, false, "Space"},   {VK_NUMLOCK, true, "Num Lock"}, {VK_PAUSE, false, "Pause"}};
  for (const Case& c : cases) {
    LONG lp = static_cast<LONG>(MapVirtualKey(c.vk, MAPVK_VK_TO_VSC) << 16) | (c.extended ? 0x01000000 : 0);
    char name[32];
    GetKeyNameText(lp, name, sizeof(name));
    EXPECT_STREQ(name, c.name);
  }
  EXPECT_EQ(VkKeyScan('a'), 'A');
  EXPECT_EQ(VkKeyScan('A'), 0x100 | 'A');
  EXPECT_EQ(VkKeyScan('*'), 0x100 | '8');
  EXPECT_EQ(VkKeyScan('/'), VK_OEM_2);
}
