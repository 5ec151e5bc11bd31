// The masked edit and the marquee: the caret skips literals, typing checks each data position,
// insert mode, Backspace and Delete, the clipboard without literals; the marquee's creation and
// scrolling on its timer.
#include <gtest/gtest.h>

#include <cstring>

#include "extracontrols/SECMarquee.h"
#include "extracontrols/SECMaskEdit.h"
#include "testing/testing.h"
#include "tests/extracontrols/ExtraTestSupport.h"

using brambolt::test::AdvanceClock;
using brambolt::test::PressKey;
using brambolt::test::TypeText;
using brambolt::test::UiSession;
using extracontrols_test::Host;

namespace {

std::string Clipboard() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HGLOBAL h = ::GetClipboardData(CF_TEXT); h != nullptr) {
    text = static_cast<const char*>(::GlobalLock(h));
    ::GlobalUnlock(h);
  }
  ::CloseClipboard();
  return text;
}

void SetClipboard(const std::string& text) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(::GlobalLock(h), text.c_str(), text.size() + 1);
  ::GlobalUnlock(h);
  ::SetClipboardData(CF_TEXT, h);
  ::CloseClipboard();
}

class MaskEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 34), &m_host, 5));
    m_edit.SetMask("(###) ###-AA");
    m_edit.SetFocus();
  }
  int Caret() {
    int start = 0, end = 0;
    m_edit.GetSel(start, end);
    return end;
  }
  UiSession m_session;
  Host m_host;
  SECMaskEdit m_edit;
};

TEST_F(MaskEdit, TypingFillsDataPositionsAndSkipsLiterals) {
  EXPECT_EQ(m_edit.GetText(), "(___) ___-__");
  EXPECT_EQ(Caret(), 1);  // the focus put the caret past the literal
  TypeText("12x34");     // the letter is refused at a digit position
  EXPECT_EQ(m_edit.GetText(), "(123) 4__-__");
  EXPECT_EQ(Caret(), 7);
  TypeText("56ab");
  EXPECT_EQ(m_edit.GetText(), "(123) 456-ab");
  CString window;
  m_edit.GetWindowText(window);
  EXPECT_EQ(window, m_edit.GetText());
  TypeText("9");  // no data position left
  EXPECT_EQ(m_edit.GetText(), "(123) 456-ab");
}

TEST_F(MaskEdit, BackspaceDeleteAndArrowsWorkOnDataPositionsOnly) {
  TypeText("123456");
  PressKey(VK_BACK);  // clears the 6 before the caret, not the literal
  EXPECT_EQ(m_edit.GetText(), "(123) 45_-__");
  PressKey(VK_HOME);
  EXPECT_EQ(Caret(), 1);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);  // over ") " to the next data position
  EXPECT_EQ(Caret(), 6);
  PressKey(VK_LEFT);
  EXPECT_EQ(Caret(), 3);
  PressKey(VK_DELETE);
  EXPECT_EQ(m_edit.GetText(), "(12_) 45_-__");
  PressKey(VK_INSERT);  // insert mode: the data after the caret moves right
  PressKey(VK_HOME);
  TypeText("9");
  EXPECT_EQ(m_edit.GetText(), "(912) _45-__");
}

TEST_F(MaskEdit, CopyLeavesOutLiteralsAndBlanksThePrompts) {
  TypeText("12345");
  m_edit.SetSel(0, 12);
  m_edit.SendMessage(WM_COPY);
  EXPECT_EQ(Clipboard(), "12345   ");
  m_edit.SetSel(2, 8);
  m_edit.SendMessage(WM_CUT);
  EXPECT_EQ(Clipboard(), "2345");
  EXPECT_EQ(m_edit.GetText(), "(1__) ___-__");
  m_edit.SetSel(0, 0);
  m_edit.SendMessage(WM_PASTE);  // from a literal: the text goes into the data positions after it
  EXPECT_EQ(m_edit.GetText(), "(234) 5__-__");
}

// The keyboard's clipboard keys reach the mask's own handlers: what is pasted goes into the data
// positions only, what is copied or cut is the data without literals, a cut clears the data the
// control returns as well as the screen, and the window always shows the text the control holds.
// Shift+Insert and Ctrl+Insert paste and copy without touching insert mode.
TEST_F(MaskEdit, ClipboardKeysWorkThroughTheMask) {
  using brambolt::test::kCtrl;
  using brambolt::test::kShift;
  struct Key {
    UINT vk, mods;
  };
  auto shown = [this] {
    CString window;
    m_edit.GetWindowText(window);
    return window;
  };
  for (const Key paste : {Key{'V', kCtrl}, Key{VK_INSERT, kShift}}) {
    SCOPED_TRACE(paste.vk);
    m_edit.SetMask("(###) ###-AA");
    PressKey(VK_HOME);
    SetClipboard("hello world567");
    PressKey(paste.vk, paste.mods);
    EXPECT_EQ(m_edit.GetText(), "(567) ___-__");
    EXPECT_EQ(shown(), m_edit.GetText());
    EXPECT_FALSE(m_edit.m_bInsertMode);
  }
  for (const Key copy : {Key{'C', kCtrl}, Key{VK_INSERT, kCtrl}}) {
    SCOPED_TRACE(copy.vk);
    m_edit.SetMask("(###) ###-AA");
    PressKey(VK_HOME);
    TypeText("12345");
    PressKey(VK_HOME);
    PressKey(VK_END, kShift);
    SetClipboard("");
    PressKey(copy.vk, copy.mods);
    EXPECT_EQ(Clipboard(), "12345   ");
    EXPECT_FALSE(m_edit.m_bInsertMode);
  }
  for (const Key cut : {Key{'X', kCtrl}, Key{VK_DELETE, kShift}}) {
    SCOPED_TRACE(cut.vk);
    m_edit.SetMask("(###) ###-AA");
    PressKey(VK_HOME);
    TypeText("12345");
    m_edit.SetSel(2, 8);
    PressKey(cut.vk, cut.mods);
    EXPECT_EQ(Clipboard(), "2345");
    EXPECT_EQ(m_edit.GetText(), "(1__) ___-__");
    EXPECT_EQ(m_edit.GetData(), "1       ");
    EXPECT_EQ(shown(), m_edit.GetText());
    PressKey('Z', kCtrl);  // nothing of the window's own text comes back past the mask
    EXPECT_EQ(shown(), m_edit.GetText());
  }
  // A plain Insert still toggles insert mode.
  PressKey(VK_INSERT);
  EXPECT_TRUE(m_edit.m_bInsertMode);
}

TEST(Marquee, ScrollsOnItsTimerAndFailsWhenItCannotStart) {
  UiSession session;
  Host host;
  SECMarquee marquee;
  ASSERT_TRUE(marquee.Create("<<Place Marquee Here>>", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20), &host, 7));
  marquee.SendMessage(WM_SIZE, 0, MAKELPARAM(200, 20));
  EXPECT_EQ(marquee.m_nOffset, 0);
  AdvanceClock(5 * marquee.m_nInterval);
  EXPECT_EQ(marquee.m_nOffset, -5 * marquee.m_nStep);

  class NoStart : public SECMarquee {
   public:
    int Initialize() override { return 0; }
  } refused;
  EXPECT_FALSE(refused.Create("x", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &host, 8));
}

}  // namespace
