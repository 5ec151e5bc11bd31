// Typing and editing keys on a headless editor window: undo steps of typed runs, double-byte
// characters, overwrite mode, Enter with indentation, Tab and Shift+Tab, Backspace, Delete, and
// word and line deletion, and text composed through an input method.
#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "tests/editor/ControllerHost.h"

using brambolt::test::kCtrl;
using brambolt::test::kShift;
using editortest::ControllerHost;

namespace {

// Undoes until nothing is left, collecting the text after each step.
std::vector<std::string> UndoSteps(ControllerHost& host) {
  std::vector<std::string> texts;
  while (host.model.Undo() != nullptr) texts.push_back(host.Text());
  return texts;
}

TEST(InputTyping, RunsOfOneCharacterClassUndoAsOneStep) {
  struct Case {
    const char* typed;
    std::vector<std::string> undone;
  };
  const Case cases[] = {
      {"abc", {""}},
      {"ab cd", {"ab ", "ab", ""}},
      {" ;", {""}},
      {"x=1;", {"x=1", "x=", "x", ""}},
  };
  ControllerHost host;
  for (const Case& c : cases) {
    host.SetText("");
    host.Type(c.typed);
    EXPECT_EQ(host.Text(), c.typed);
    EXPECT_EQ(UndoSteps(host), c.undone) << c.typed;
  }
  // Moving away and back breaks the run only when something else was recorded meanwhile.
  host.SetText("");
  host.Type("ab");
  host.Key(VK_LEFT);
  host.Key(VK_RIGHT);
  host.Type("c");
  EXPECT_EQ(UndoSteps(host), std::vector<std::string>{""});
  host.Type("ab");
  host.Key(VK_HOME);
  host.Type("z");
  host.Key(VK_END);
  host.Type("c");
  EXPECT_EQ(UndoSteps(host), (std::vector<std::string>{"zab", "ab", ""}));
  // Codes below 32 and typing while the mouse selects do nothing.
  ::SendMessage(host.Hwnd(), WM_CHAR, 7, 0);
  EXPECT_EQ(host.Text(), "");
}

TEST(InputTyping, ADoubleByteCharacterArrivesInTwoMessagesAndGoesInWhole) {
  brambolt::ScopedCodePage page(936);
  ControllerHost host;
  host.SetText("");
  host.Type("ab");
  ::SendMessage(host.Hwnd(), WM_CHAR, 0xD6, 0);
  EXPECT_EQ(host.Text(), "ab");
  ::SendMessage(host.Hwnd(), WM_CHAR, 0xD0, 0);
  EXPECT_EQ(host.Text(), "ab\xD6\xD0");
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 4));
  host.Key(VK_LEFT);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 2));
  host.Key(VK_DELETE);
  EXPECT_EQ(host.Text(), "ab");
  host.model.Undo();
  host.model.Undo();
  EXPECT_EQ(host.Text(), "ab");  // the pair was its own step
}

TEST(InputTyping, OverwriteReplacesOneCharacterAndAppendsAtTheLineEnd) {
  ControllerHost host;
  host.SetText("abcd\r\n  next");
  host.model.m_bOverwrite = TRUE;
  host.Put(0, 1);
  host.Type("XY");
  EXPECT_EQ(host.Text(), "aXYd\r\n  next");
  host.Type("ZW");
  EXPECT_EQ(host.Text(), "aXYZW\r\n  next");
  host.Key(VK_RETURN);
  EXPECT_EQ(host.Text(), "aXYZW\r\n  next");
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 2));
  host.Put(0, 0);
  host.Key(VK_TAB);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 4));
  host.model.m_bOverwrite = FALSE;
}

TEST(InputEnter, IndentationIsCopiedAndBlocksAddATab) {
  struct Case {
    const char* line;
    const char* expected;
  };
  const Case cases[] = {
      {"\tplain", "\tplain\r\n\t"},
      {"{", "{\r\n\t"},
      {"\t{", "\t{\r\n\t\t"},
      {"switch (x)", "switch (x)\r\n\t"},
      {"format", "format\r\n\t"},  // a prefix, not a word, decides
      {"i", "i\r\n"},              // shorter than any keyword but "{"
      {"  x", "  x\r\n  "},
  };
  ControllerHost host;
  for (const Case& c : cases) {
    host.SetText(c.line);
    host.Key(VK_END);
    host.Key(VK_RETURN);
    host.Type("y");
    EXPECT_EQ(host.Text(), std::string(c.expected) + "y") << c.line;
  }
  // On an empty new line the indentation is only a caret place until something is typed.
  host.SetText("\tx");
  host.Key(VK_END);
  host.Key(VK_RETURN);
  EXPECT_EQ(host.Text(), "\tx\r\n");
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 4));
  host.Key(VK_RETURN);
  EXPECT_EQ(host.Text(), "\tx\r\n\r\n");
  EXPECT_EQ(host.Caret(), SECEditLineCol(2, 4));
  host.Type("z");
  EXPECT_EQ(host.Text(), "\tx\r\n\r\n\tz");
  // Enter splits a line and indents the rest.
  host.SetText("  ab");
  host.Put(0, 3);
  host.Key(VK_RETURN);
  EXPECT_EQ(host.Text(), "  a\r\n  b");
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 2));
}

TEST(InputTab, BlocksOfLinesIndentAndUnindentAsOneStep) {
  ControllerHost host;
  host.SetText("one\r\n\r\nthree\r\nfour");
  host.Key(VK_DOWN, kShift);
  host.Key(VK_DOWN, kShift);
  host.Key(VK_RIGHT, kShift);
  host.Key(VK_TAB);
  EXPECT_EQ(host.Text(), "\tone\r\n\r\n\tthree\r\nfour");
  EXPECT_EQ(host.Ctl().GetSelectionMode(), SECEDIT_SEL_LINES);
  host.Key(VK_TAB);
  EXPECT_EQ(host.Text(), "\t\tone\r\n\r\n\t\tthree\r\nfour");
  host.Key(VK_TAB, kShift);
  EXPECT_EQ(host.Text(), "\tone\r\n\r\n\tthree\r\nfour");
  host.model.Undo();
  EXPECT_EQ(host.Text(), "\t\tone\r\n\r\n\t\tthree\r\nfour");
  // Shift+Tab removes at most tab-size leading blanks.
  host.SetText("      six\r\n  two");
  host.Key(VK_DOWN, kShift);
  host.Key(VK_END, kShift);
  host.Key(VK_TAB, kShift);
  EXPECT_EQ(host.Text(), "  six\r\ntwo");
  // Without a selection Tab inserts a tab (filling virtual space first); Shift+Tab moves back.
  host.SetText("ab");
  host.Put(0, 1);
  host.Key(VK_TAB);
  EXPECT_EQ(host.Text(), "a\tb");
  host.Key(VK_END);
  host.Key(VK_TAB, kShift);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 2));
}

TEST(InputDelete, BackspaceDeleteWordsAndLines) {
  ControllerHost host;
  host.SetText("ab\r\ncd ef");
  host.Key(VK_BACK);
  EXPECT_EQ(host.Text(), "ab\r\ncd ef");
  host.Key(VK_END, kCtrl);
  host.Key(VK_DELETE);
  EXPECT_EQ(host.Text(), "ab\r\ncd ef");
  host.Put(1, 0);
  host.Key(VK_BACK);
  EXPECT_EQ(host.Text(), "abcd ef");
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 2));
  host.Key(VK_DELETE);
  EXPECT_EQ(host.Text(), "abd ef");
  host.Key(VK_END);
  host.Key(VK_BACK, kCtrl);
  EXPECT_EQ(host.Text(), "abd ");
  host.Key(VK_HOME);
  host.Key(VK_DELETE, kCtrl);  // the word and the blanks after it
  EXPECT_EQ(host.Text(), "");
  host.SetText("1\r\n2\r\n3");
  host.Put(1, 0);
  host.Key('L', kCtrl | kShift);
  EXPECT_EQ(host.Text(), "1\r\n3");
  // Ctrl+L cuts the current line; the case commands keep the selection.
  host.SetText("Ab\r\ncD\r\nxY");
  host.Put(1, 1);
  host.Key('L', kCtrl);
  EXPECT_EQ(host.Text(), "Ab\r\nxY");
  host.Key(VK_RIGHT, kShift);
  host.Key(VK_RIGHT, kShift);
  host.Key('U', kCtrl | kShift);
  EXPECT_EQ(host.Text(), "Ab\r\nXY");
  host.Key('U', kCtrl);
  EXPECT_EQ(host.Text(), "Ab\r\nxy");
  SECEditLineColPair pair;
  ASSERT_TRUE(host.Ctl().GetSelectionPair(pair, TRUE));
  EXPECT_EQ(pair, SECEditLineColPair(1, 0, 1, 2));
  host.Key(VK_ESCAPE);
  host.SetText("1\r\n3");
  host.Put(1, 0);
  // Typing over a selection replaces it in one step.
  host.Key(VK_END, kShift);
  host.Type("x");
  EXPECT_EQ(host.Text(), "1\r\nx");
  host.model.Undo();
  EXPECT_EQ(host.Text(), "1\r\n3");
}

// A client point of the editor window in its top-level window's coordinates.
POINT InTopLevel(HWND hwnd, POINT client) {
  RECT top{};
  ::GetWindowRect(::GetAncestor(hwnd, GA_ROOT), &top);
  ::ClientToScreen(hwnd, &client);
  return POINT{client.x - top.left, client.y - top.top};
}

TEST(InputMethod, CompositionStandsAtTheCaretWithoutItAndIsOneUndoStep) {
  brambolt::ScopedCodePage page(936);
  ControllerHost host;
  host.SetText("int x;\r\nint y;");
  host.Put(1, 4);
  brambolt::test::ScriptedInputMethod ime(host.session);
  CPoint caret;
  host.Ctl().PositionToPoint(caret, SECEditLineCol(1, 4));
  host.Ctl().GetViewport()->LPtoDP(static_cast<POINT*>(&caret), 1);
  CRect visible = host.Ctl().GetViewport()->GetVisibleLogRect();
  host.Ctl().GetViewport()->LPtoDP(static_cast<RECT*>(&visible));

  ime.Start();
  POINT at{};
  EXPECT_FALSE(::GetCaretPos(&at)) << "the caret is destroyed while the composition lasts";
  HIMC context = ::ImmGetContext(host.Hwnd());
  ASSERT_NE(context, nullptr);
  COMPOSITIONFORM form{};
  ASSERT_TRUE(::ImmGetCompositionWindow(context, &form));
  ::ImmReleaseContext(host.Hwnd(), context);
  EXPECT_EQ(form.dwStyle, static_cast<DWORD>(CFS_RECT));
  EXPECT_EQ(form.ptCurrentPos.x, caret.x);
  EXPECT_EQ(form.ptCurrentPos.y, caret.y);
  EXPECT_TRUE(::EqualRect(&form.rcArea, &visible));
  // What the input method was told: the same place in the top-level window, the view's font.
  const auto window = ime.Window();
  EXPECT_EQ(window.topLevel, ::GetAncestor(host.Hwnd(), GA_ROOT));
  const POINT spot = InTopLevel(host.Hwnd(), caret);
  EXPECT_EQ(window.spot.x, spot.x);
  EXPECT_EQ(window.spot.y, spot.y);
  const POINT areaFrom = InTopLevel(host.Hwnd(), visible.TopLeft());
  EXPECT_EQ(window.area.left, areaFrom.x);
  EXPECT_EQ(window.area.top, areaFrom.y);
  LOGFONT lf{};
  host.Ctl().GetViewFont()->GetLogFont(&lf);
  EXPECT_EQ(window.face, lf.lfFaceName);

  ime.Commit("\xE4\xB8\xAD\xE6\x96\x87");  // zhong wen in UTF-8
  EXPECT_EQ(host.Text(), "int x;\r\nint \xD6\xD0\xCE\xC4y;");
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 8));
  EXPECT_TRUE(::GetCaretPos(&at)) << "the caret is back";
  EXPECT_EQ(UndoSteps(host), std::vector<std::string>{"int x;\r\nint y;"});

  // A character GB2312 cannot hold is dropped with a beep; the rest is typed.
  host.session.Backend().Clear();
  ime.Commit("\xF0\x9F\x98\x80\xE6\x96\x87");  // a face, then wen
  EXPECT_EQ(host.Text(), "int x;\r\nint \xCE\xC4y;");
  EXPECT_EQ(host.session.Backend().Bells().size(), 1u);
}

}  // namespace

