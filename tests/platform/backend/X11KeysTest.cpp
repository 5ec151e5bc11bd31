// X key and button events to the platform's input: the tables, and what a window receives when
// the backend delivers a translated key through the input path.
#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

#include <string>

#include "backend/X11Keys.h"
#include "base/CodePage.h"
#include "testing/UiTest.h"
#include "win/Input.h"
#include "win/win.h"

using namespace brambolt;
using namespace brambolt::x11;

namespace {

struct KeysymCase {
  unsigned long keysym;
  UINT vk;
  bool extended;
};

TEST(X11Keys, KeysymsGiveTheirVirtualKeys) {
  const KeysymCase cases[] = {
      {XK_a, 'A', false},           {XK_Z, 'Z', false},
      {XK_5, '5', false},           {XK_F1, VK_F1, false},
      {XK_F12, VK_F12, false},      {XK_Return, VK_RETURN, false},
      {XK_KP_Enter, VK_RETURN, true}, {XK_Control_L, VK_LCONTROL, false},
      {XK_Control_R, VK_RCONTROL, true}, {XK_Alt_R, VK_RMENU, true},
      {XK_Shift_R, VK_RSHIFT, false}, {XK_Left, VK_LEFT, true},
      {XK_KP_Left, VK_LEFT, false}, {XK_Delete, VK_DELETE, true},
      {XK_KP_1, VK_NUMPAD1, false}, {XK_KP_Divide, VK_DIVIDE, true},
      {XK_semicolon, VK_OEM_1, false}, {XK_apostrophe, VK_OEM_7, false},
      {XK_less, VK_OEM_102, false}, {XK_Super_L, VK_LWIN, true},
      {XK_Menu, VK_APPS, true},     {XK_Escape, VK_ESCAPE, false},
  };
  for (const KeysymCase& c : cases) {
    VirtualKey k = KeysymToVirtualKey(c.keysym, 0);
    EXPECT_EQ(k.vk, c.vk) << std::hex << c.keysym;
    EXPECT_EQ(k.extended, c.extended) << std::hex << c.keysym;
  }
}

TEST(X11Keys, KeysOfOtherLayoutsTakeTheVirtualKeyOfTheirPlace) {
  // X keycodes of the PC keyboard are scan codes plus 8.
  EXPECT_EQ(KeysymToVirtualKey(XK_odiaeresis, 0x27 + 8).vk, static_cast<UINT>(VK_OEM_1));
  EXPECT_EQ(KeysymToVirtualKey(XK_Cyrillic_ef, 0x1E + 8).vk, static_cast<UINT>('A'));
  EXPECT_EQ(KeysymToVirtualKey(XK_Cyrillic_ef, 200).vk, 0u);
  EXPECT_EQ(KeysymToVirtualKey(NoSymbol, 0).vk, 0u);
  EXPECT_EQ(KeysymToVirtualKey(XK_ISO_Level3_Shift, 108).vk, 0u) << "AltGr is no Alt";
}

TEST(X11Keys, KeysymsTypeTheirCharacters) {
  const std::pair<unsigned long, char32_t> cases[] = {
      {XK_a, U'a'},        {XK_A, U'A'},          {XK_asciitilde, U'~'},
      {XK_adiaeresis, U'\u00E4'}, {0x10020AC, U'\u20AC'}, {0x1004E2D, U'\u4E2D'},
      {XK_Return, U'\r'},  {XK_KP_Enter, U'\r'},  {XK_BackSpace, U'\b'},
      {XK_Tab, U'\t'},     {XK_KP_7, U'7'},       {XK_KP_Multiply, U'*'},
      {XK_Left, 0},        {XK_F1, 0},            {XK_Delete, 0},
      {XK_Shift_L, 0},
  };
  for (const auto& [keysym, ch] : cases) EXPECT_EQ(KeysymToUnicode(keysym), ch) << std::hex << keysym;
}

TEST(X11Keys, ShortcutsAndKeysWithoutCharactersBringNoCharacters) {
  KeyTranslation ctrlC = TranslateKey(XK_c, XK_c, 0, false, true, false, false);
  EXPECT_EQ(ctrlC.key.vk, static_cast<UINT>('C'));
  EXPECT_TRUE(ctrlC.characters.empty());
  KeyTranslation ctrlShiftUmlaut = TranslateKey(XK_adiaeresis, XK_Adiaeresis, 0x28 + 8, true, true, false, false);
  EXPECT_EQ(ctrlShiftUmlaut.key.vk, static_cast<UINT>(VK_OEM_7));
  EXPECT_TRUE(ctrlShiftUmlaut.characters.empty());
  KeyTranslation f5 = TranslateKey(XK_F5, XK_F5, 0, false, false, false, false);
  EXPECT_EQ(f5.key.vk, static_cast<UINT>(VK_F5));
  EXPECT_TRUE(f5.characters.empty());
}

TEST(X11Keys, TheKeypadFollowsNumLock) {
  KeyTranslation on = TranslateKey(XK_KP_End, XK_KP_1, 0x4F + 8, false, false, false, true);
  EXPECT_EQ(on.key.vk, static_cast<UINT>(VK_NUMPAD1));
  EXPECT_TRUE(on.characters.empty());
  KeyTranslation off = TranslateKey(XK_KP_End, XK_KP_End, 0x4F + 8, false, false, false, false);
  EXPECT_EQ(off.key.vk, static_cast<UINT>(VK_END));
  EXPECT_FALSE(off.key.extended);
  EXPECT_TRUE(off.characters.empty());
}

TEST(X11Keys, CapsLockLettersAreTypedByTheLayout) {
  EXPECT_TRUE(TranslateKey(XK_a, XK_A, 0, false, false, true, false).characters.empty());
  EXPECT_TRUE(TranslateKey(XK_a, XK_a, 0, true, false, true, false).characters.empty());
  EXPECT_TRUE(LayoutTypes('A', 'A', false, true, false));
  EXPECT_FALSE(LayoutTypes('A', 'a', false, true, false));
}

// A window that keeps the characters it receives.
std::string g_chars;

LRESULT CALLBACK CharProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR || msg == WM_SYSCHAR) g_chars += static_cast<char>(static_cast<unsigned char>(wParam));
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class X11KeyDelivery : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASS wc{};
    wc.lpfnWndProc = CharProc;
    wc.lpszClassName = "X11KeyTarget";
    RegisterClass(&wc);
    hwnd_ = CreateWindowEx(0, "X11KeyTarget", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                           nullptr, nullptr, nullptr);
    SetFocus(hwnd_);
    test::RunUntilIdle();
    g_chars.clear();
  }

  // What the backend delivers for one key press and release with Shift held as X says.
  std::string Type(unsigned long keysym, unsigned long typed, unsigned keycode, bool shift) {
    g_chars.clear();
    KeyTranslation t = TranslateKey(keysym, typed, keycode, shift, false, false, false);
    if (shift) InjectKey(VK_LSHIFT, true);
    if (t.key.vk) InjectKey(t.key.vk, true, 0, t.key.extended);
    if (!t.characters.empty()) InjectCharacters(t.characters);
    if (t.key.vk) InjectKey(t.key.vk, false, 0, t.key.extended);
    if (shift) InjectKey(VK_LSHIFT, false);
    test::RunUntilIdle();
    return g_chars;
  }

  test::UiSession session_;
  HWND hwnd_ = nullptr;
};

TEST_F(X11KeyDelivery, EveryKeyOfTheUsKeyboardTypesItsCharacterOnce) {
  const std::string plain = "`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./ ";
  const std::string shifted = "~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>? ";
  for (size_t i = 0; i < plain.size(); ++i) {
    auto base = static_cast<unsigned long>(static_cast<unsigned char>(plain[i]));
    auto upper = static_cast<unsigned long>(static_cast<unsigned char>(shifted[i]));
    EXPECT_EQ(Type(base, base, 0, false), std::string(1, plain[i])) << plain[i];
    EXPECT_EQ(Type(base, upper, 0, true), std::string(1, shifted[i])) << shifted[i];
  }
  EXPECT_EQ(Type(XK_Return, XK_Return, 0, false), "\r");
  EXPECT_EQ(Type(XK_Tab, XK_ISO_Left_Tab, 0, true), "\t");
  EXPECT_EQ(Type(XK_BackSpace, XK_BackSpace, 0, false), "\b");
  EXPECT_EQ(Type(XK_Left, XK_Left, 0, false), "");
}

TEST_F(X11KeyDelivery, CharactersTheLayoutLacksArriveOnceInTheCodePage) {
  ScopedCodePage page(1252);
  // AltGr+Q of a German keyboard, and its umlaut key.
  EXPECT_EQ(Type(XK_q, XK_at, 0x10 + 8, false), "@");
  EXPECT_EQ(Type(XK_adiaeresis, XK_adiaeresis, 0x28 + 8, false), "\xE4");
  EXPECT_EQ(Type(XK_EuroSign, XK_EuroSign, 0x12 + 8, false), "\x80");
}

TEST_F(X11KeyDelivery, KeysWithUnknownCharactersTypeNothingRatherThanTheUsCharacter) {
  EXPECT_EQ(Type(XK_Cyrillic_ef, XK_Cyrillic_ef, 0x1E + 8, false), "");
  EXPECT_EQ(Type(XK_dead_acute, XK_dead_acute, 0x0D + 8, false), "");
  // As shortcuts they are the keys at their place.
  EXPECT_EQ(TranslateKey(XK_Cyrillic_es, XK_Cyrillic_es, 0x2E + 8, false, true, false, false).key.vk,
            static_cast<UINT>('C'));
}

TEST_F(X11KeyDelivery, DoubleByteCharactersArriveAsTwoCharacterMessages) {
  ScopedCodePage page(936);
  KeyTranslation t = TranslateKey(NoSymbol, 0x1004E2D, 0, false, false, false, false);
  EXPECT_EQ(t.key.vk, static_cast<UINT>(VK_PROCESSKEY));
  EXPECT_EQ(t.characters, "\xD6\xD0");
  EXPECT_EQ(Type(NoSymbol, 0x1004E2D, 0, false), "\xD6\xD0");
}

TEST_F(X11KeyDelivery, CharactersTheCodePageLacksAreRefusedNotTypedAsAnother) {
  const struct {
    UINT page;
    unsigned long typed;  // a keysym whose character the page lacks
    unsigned keycode;     // where a US keyboard has a letter
  } cases[] = {{1252, 0x1000130, 0x17 + 8},  // Turkish capital I with dot, at I
               {1252, 0x10005D0, 0x14 + 8},  // Hebrew alef, at T
               {936, 0x1000627, 0x1E + 8}};  // Arabic alef, at A
  for (const auto& c : cases) {
    ScopedCodePage page(c.page);
    KeyTranslation t = TranslateKey(NoSymbol, c.typed, c.keycode, false, false, false, false);
    EXPECT_TRUE(t.refused) << c.typed;
    EXPECT_TRUE(t.characters.empty()) << c.typed;
    EXPECT_EQ(Type(NoSymbol, c.typed, c.keycode, false), "") << c.typed;
  }
  ScopedCodePage page(1252);
  EXPECT_FALSE(TranslateKey(XK_adiaeresis, XK_adiaeresis, 0x28 + 8, false, false, false, false).refused);
}

TEST(X11Buttons, ButtonsGiveMouseMessagesAndTheWheelTurnsInNotches) {
  const struct {
    unsigned button;
    UINT press, release;
    int wheel;
  } cases[] = {
      {1, WM_LBUTTONDOWN, WM_LBUTTONUP, 0},
      {2, WM_MBUTTONDOWN, WM_MBUTTONUP, 0},
      {3, WM_RBUTTONDOWN, WM_RBUTTONUP, 0},
      {4, 0, 0, WHEEL_DELTA},
      {5, 0, 0, -WHEEL_DELTA},
      {8, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ButtonMessage(c.button, true), c.press) << c.button;
    EXPECT_EQ(ButtonMessage(c.button, false), c.release) << c.button;
    EXPECT_EQ(WheelDelta(c.button), c.wheel) << c.button;
  }
}

}  // namespace
