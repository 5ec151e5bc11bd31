// The edit control: messages and notifications, an editing session with selection, clipboard and
// undo, styles, multi-line text, mouse selection, and double-byte characters in code pages 936
// and 950, typed or composed through an input method.
#include <functional>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "base/CodePage.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class EditFixture : public ::testing::Test {
 protected:
  HWND Make(DWORD style, const char* text = "", int width = 200, int height = 24) {
    HWND edit = CreateWindowEx(0, "Edit", text, WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, width, height,
                               recorder_.Hwnd(), reinterpret_cast<HMENU>(10), nullptr, nullptr);
    EXPECT_NE(edit, nullptr);
    SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetFocus(edit);
    RunUntilIdle();
    recorder_.Clear();
    return edit;
  }

  std::vector<UINT> Codes() const {
    std::vector<UINT> out;
    for (const auto& r : recorder_.Records())
      if (r.message == WM_COMMAND && r.id == 10) out.push_back(r.code);
    return out;
  }

  static std::pair<DWORD, DWORD> Sel(HWND edit) {
    DWORD a = 0, b = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {a, b};
  }

  UiSession session_;
  NotificationRecorder recorder_;
};

using EditMessages = EditFixture;

struct SelCase {
  int start, end;
  DWORD wantStart, wantEnd;
};

TEST_F(EditMessages, SetSelFollowsTheDocumentedSpecialValues) {
  HWND edit = Make(ES_AUTOHSCROLL, "abcdef");
  const SelCase cases[] = {
      {1, 3, 1, 3}, {3, 1, 1, 3}, {0, -1, 0, 6}, {2, 100, 2, 6}, {4, 4, 4, 4}, {-1, 0, 4, 4},
  };
  for (const SelCase& c : cases) {
    SendMessage(edit, EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
    EXPECT_EQ(Sel(edit), std::make_pair(c.wantStart, c.wantEnd)) << c.start << "," << c.end;
  }
  EXPECT_EQ(SendMessage(edit, EM_GETSEL, 0, 0), MAKELONG(4, 4));
}

TEST_F(EditMessages, TypingNotifiesUpdateThenChange) {
  HWND edit = Make(ES_AUTOHSCROLL);
  TypeText("a");
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));
  EXPECT_EQ(Text(edit), "a");
  EXPECT_TRUE(SendMessage(edit, EM_GETMODIFY, 0, 0));
}

TEST_F(EditMessages, SetTextNotifiesOnlySingleLineEdits) {
  HWND single = Make(ES_AUTOHSCROLL);
  SetWindowText(single, "x");
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));
  EXPECT_FALSE(SendMessage(single, EM_GETMODIFY, 0, 0));
  HWND multi = Make(ES_MULTILINE, "", 200, 80);
  SetWindowText(multi, "y");
  EXPECT_TRUE(Codes().empty());
}

TEST_F(EditMessages, FocusChangesAreNotified) {
  HWND edit = Make(ES_AUTOHSCROLL);
  SetFocus(recorder_.Hwnd());
  SetFocus(edit);
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_KILLFOCUS, EN_SETFOCUS}));
}

TEST_F(EditMessages, LimitStopsTypingAndReportsMaxText) {
  HWND edit = Make(ES_AUTOHSCROLL);
  SendMessage(edit, EM_LIMITTEXT, 3, 0);
  EXPECT_EQ(SendMessage(edit, EM_GETLIMITTEXT, 0, 0), 3);
  TypeText("abcd");
  EXPECT_EQ(Text(edit), "abc");
  std::vector<UINT> codes = Codes();
  EXPECT_EQ(codes.back(), static_cast<UINT>(EN_MAXTEXT));
  SetWindowText(edit, "longer than three");
  EXPECT_EQ(Text(edit), "longer than three") << "the limit is for typing only";
}

TEST_F(EditMessages, LinesOfAMultiLineEdit) {
  HWND edit = Make(ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, "ab\r\ncde\r\n", 200, 80);
  EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 1, 0), 4);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 2, 0), 9);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 3, 0), -1);
  EXPECT_EQ(SendMessage(edit, EM_LINELENGTH, 5, 0), 3);
  EXPECT_EQ(SendMessage(edit, EM_LINEFROMCHAR, 5, 0), 1);
  char buffer[16] = {};
  buffer[0] = sizeof(buffer);
  EXPECT_EQ(SendMessage(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_EQ(std::string(buffer, 3), "cde");
  SendMessage(edit, EM_SETSEL, 5, 5);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 4);
}

TEST_F(EditMessages, DialogCodesAskForWhatTheStyleWants) {
  HWND single = Make(ES_AUTOHSCROLL);
  HWND multi = Make(ES_MULTILINE, "", 100, 60);
  HWND wantsReturn = Make(ES_MULTILINE | ES_WANTRETURN, "", 100, 60);
  MSG enter{nullptr, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  auto code = [&](HWND h) {
    enter.hwnd = h;
    return SendMessage(h, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter));
  };
  EXPECT_EQ(code(single), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
  EXPECT_EQ(code(multi), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
  EXPECT_EQ(code(wantsReturn), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
}

TEST_F(EditMessages, MultiLineScrollBarShowsOnceTextFilledAfterCreationOverflows) {
  HWND multi = Make(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, "", 120, 60);
  std::string text;
  for (int i = 0; i < 20; ++i) text += "line\r\n";
  SetWindowText(multi, text.c_str());
  RunUntilIdle();
  EXPECT_TRUE(GetWindowLong(multi, GWL_STYLE) & WS_VSCROLL);
  SetWindowText(multi, "");
  EXPECT_FALSE(GetWindowLong(multi, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(EditMessages, MarginsMoveTheText) {
  HWND edit = Make(ES_AUTOHSCROLL, "abc");
  LRESULT before = SendMessage(edit, EM_POSFROMCHAR, 0, 0);
  SendMessage(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(7, 5));
  EXPECT_EQ(SendMessage(edit, EM_GETMARGINS, 0, 0), MAKELONG(7, 5));
  EXPECT_EQ(static_cast<short>(LOWORD(SendMessage(edit, EM_POSFROMCHAR, 0, 0))), static_cast<short>(LOWORD(before)) + 7);
  RECT r;
  SendMessage(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  RECT client;
  GetClientRect(edit, &client);
  const int inset = GetSystemMetrics(SM_CXBORDER) + 1;  // kept off a WS_BORDER frame
  EXPECT_EQ(r.left, inset + 7);
  EXPECT_EQ(r.right, client.right - inset - 5);
}

// EC_USEFONTINFO sets narrow margins from the font, for both at once or as either width, and none
// while the edit has no font.
TEST_F(EditMessages, MarginsFromTheFont) {
  HWND edit = Make(ES_AUTOHSCROLL, "abc");
  SendMessage(edit, EM_SETMARGINS, EC_USEFONTINFO, 0);
  const LRESULT both = SendMessage(edit, EM_GETMARGINS, 0, 0);
  EXPECT_GT(LOWORD(both), 0);
  EXPECT_EQ(LOWORD(both), HIWORD(both));
  SendMessage(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, 0));
  SendMessage(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(EC_USEFONTINFO, 3));
  EXPECT_EQ(SendMessage(edit, EM_GETMARGINS, 0, 0), MAKELONG(LOWORD(both), 3));
  HWND plain = CreateWindowEx(0, "Edit", "abc", WS_CHILD | WS_VISIBLE, 10, 40, 100, 20, recorder_.Hwnd(), nullptr,
                              nullptr, nullptr);
  SendMessage(plain, EM_SETMARGINS, EC_USEFONTINFO, 0);
  EXPECT_EQ(SendMessage(plain, EM_GETMARGINS, 0, 0), 0) << "no font set";
  DestroyWindow(plain);
}

// A single line sits at the top of its format rectangle, however tall the edit. The format
// rectangle is the client area less the margins and an inset inside the frame: for WS_BORDER
// alone, SM_CXBORDER+1 at the sides and SM_CYBORDER+1 at the top; for a client edge, with or
// without WS_BORDER, one pixel; none at the top when the client area leaves less than twice the
// inset beyond one line; none without a frame.
// The text is drawn where the rectangle says.
TEST_F(EditMessages, TextSitsInsideTheFrameByTheDocumentedInset) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int border = GetSystemMetrics(SM_CXBORDER) + 1, edge = 2 * GetSystemMetrics(SM_CYEDGE);
  struct Case {
    const char* name;
    DWORD style, exStyle;
    int height;
    int left, top;
  };
  const Case cases[] = {
      {"no frame", 0, 0, 24, 0, 0},
      {"client edge", 0, WS_EX_CLIENTEDGE, 24, 1, 1},
      {"border", WS_BORDER, 0, 24, border, GetSystemMetrics(SM_CYBORDER) + 1},
      {"tall border", WS_BORDER, 0, 60, border, GetSystemMetrics(SM_CYBORDER) + 1},
      {"tight border", WS_BORDER, 0, tm.tmHeight + edge + 2 * border - 1, border, 0},
      {"border and client edge", WS_BORDER, WS_EX_CLIENTEDGE, 24, 1, 1},
      {"tight client edge", 0, WS_EX_CLIENTEDGE, tm.tmHeight + edge + 1, 1, 0},
      {"roomy client edge", 0, WS_EX_CLIENTEDGE, tm.tmHeight + edge + 2, 1, 1},
  };
  std::vector<POINT> ink;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = CreateWindowEx(c.exStyle, "Edit", "HH", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | c.style, 10, 10, 200,
                               c.height, recorder_.Hwnd(), nullptr, nullptr, nullptr);
    SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RECT format, client;
    SendMessage(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    GetClientRect(edit, &client);
    EXPECT_EQ(format.left, c.left);
    EXPECT_EQ(format.top, c.top);
    EXPECT_EQ(format.right, client.right - c.left);
    EXPECT_EQ(SendMessage(edit, EM_POSFROMCHAR, 0, 0), MAKELONG(c.left, c.top));
    // Where the text's ink starts, in client coordinates, on the rendered surface.
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    RECT window;
    GetWindowRect(edit, &window);
    POINT origin{0, 0};
    ClientToScreen(edit, &origin);
    const int ox = origin.x - window.left, oy = origin.y - window.top;
    const COLORREF paper = GetSysColor(COLOR_WINDOW);
    POINT first{-1, -1};
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < 40; ++x)
        if (WindowPixel(edit, ox + x, oy + y) != paper) {
          if (first.y < 0) first.y = y;
          if (first.x < 0 || x < first.x) first.x = x;
        }
    ASSERT_GE(first.y, 0) << "the text is drawn";
    ink.push_back(POINT{first.x - c.left, first.y - c.top});
    DestroyWindow(edit);
  }
  for (const POINT& p : ink) {
    EXPECT_EQ(p.x, ink.front().x) << "the text moves with its rectangle";
    EXPECT_EQ(p.y, ink.front().y);
  }
}

TEST_F(EditMessages, TabStopsAreSetInDialogUnits) {
  HWND edit = Make(ES_MULTILINE | ES_AUTOHSCROLL, "a\tb", 300, 60);
  int stop = 40;
  SendMessage(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
  SIZE base = DialogBaseUnitsOf(reinterpret_cast<HFONT>(SendMessage(edit, WM_GETFONT, 0, 0)));
  int origin = static_cast<short>(LOWORD(SendMessage(edit, EM_POSFROMCHAR, 0, 0)));
  int b = static_cast<short>(LOWORD(SendMessage(edit, EM_POSFROMCHAR, 2, 0)));
  EXPECT_EQ(b - origin, MulDiv(stop, base.cx, 4));
}

struct LineMessage {
  UINT msg;
  WPARAM wParam;
  LRESULT single, multi;  // the answers of a single-line and of a multi-line edit
};

// A single-line edit has one line whatever line is asked for, scrolls by lines never, always
// answers an undo, and keeps no tab stops.
TEST_F(EditMessages, SingleLineEditsAnswerLineMessagesAsDocumented) {
  HWND single = Make(ES_AUTOHSCROLL, "one two");
  HWND multi = Make(ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, "one two", 200, 60);
  int stop = 20;
  const LineMessage cases[] = {
      {EM_GETLINE, 3, 7, 0},
      {EM_LINESCROLL, 2, FALSE, TRUE},
      {EM_UNDO, 0, TRUE, FALSE},
      {EM_SETTABSTOPS, 1, FALSE, TRUE},
  };
  for (const LineMessage& c : cases) {
    for (HWND edit : {single, multi}) {
      char buffer[16] = {};
      buffer[0] = sizeof(buffer);
      LPARAM lParam = c.msg == EM_GETLINE ? reinterpret_cast<LPARAM>(buffer)
                      : c.msg == EM_SETTABSTOPS ? reinterpret_cast<LPARAM>(&stop) : 0;
      EXPECT_EQ(SendMessage(edit, c.msg, c.wParam, lParam), edit == single ? c.single : c.multi)
          << std::hex << c.msg << (edit == single ? " single" : " multi");
      if (c.msg == EM_GETLINE && edit == single) {
        EXPECT_EQ(std::string(buffer, 7), "one two");
      }
    }
  }
  EXPECT_EQ(Text(single), "one two");
  EXPECT_EQ(SendMessage(single, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "EM_LINESCROLL scrolled nothing across";
}

// EM_POSFROMCHAR places characters only: an index past the last one answers -1, a line break the
// point just after its line's last character.
TEST_F(EditMessages, PosFromCharPlacesOnlyCharacters) {
  HWND empty = Make(ES_AUTOHSCROLL);
  HWND single = Make(ES_AUTOHSCROLL, "abc");
  HWND multi = Make(ES_MULTILINE | ES_AUTOHSCROLL, "ab\r\ncd", 200, 60);
  const struct {
    HWND edit;
    WPARAM index;
    bool placed;
  } cases[] = {{empty, 0, false}, {single, 0, true}, {single, 2, true},  {single, 3, false},
               {single, 9, false}, {multi, 2, true},  {multi, 5, true}, {multi, 6, false}};
  for (const auto& c : cases)
    EXPECT_EQ(SendMessage(c.edit, EM_POSFROMCHAR, c.index, 0) != -1, c.placed) << c.index;
  const LRESULT a = SendMessage(multi, EM_POSFROMCHAR, 1, 0), lineBreak = SendMessage(multi, EM_POSFROMCHAR, 2, 0);
  EXPECT_GT(static_cast<short>(LOWORD(lineBreak)), static_cast<short>(LOWORD(a)));
  EXPECT_EQ(HIWORD(lineBreak), HIWORD(a));
  EXPECT_GT(HIWORD(SendMessage(multi, EM_POSFROMCHAR, 4, 0)), HIWORD(a));
}

TEST_F(EditMessages, HandleHoldsTheTextThroughEveryChange) {
  HWND single = Make(ES_AUTOHSCROLL, "one");
  EXPECT_EQ(SendMessage(single, EM_GETHANDLE, 0, 0), 0) << "a single-line edit hands out no block";
  DestroyWindow(single);
  for (DWORD style : {DWORD(ES_MULTILINE | ES_AUTOVSCROLL), DWORD(ES_MULTILINE | ES_AUTOHSCROLL)}) {
    HWND edit = Make(style, "one two", 200, 60);
    auto read = [](HLOCAL handle) {
      const char* bytes = handle ? static_cast<const char*>(LocalLock(handle)) : nullptr;
      if (bytes == nullptr) return std::string("(no text)");
      std::string text = bytes;
      LocalUnlock(handle);
      return text;
    };
    auto locked = [&] { return read(reinterpret_cast<HLOCAL>(SendMessage(edit, EM_GETHANDLE, 0, 0))); };
    EXPECT_EQ(locked(), "one two") << style;
    auto first = reinterpret_cast<HLOCAL>(SendMessage(edit, EM_GETHANDLE, 0, 0));
    SendMessage(edit, EM_SETSEL, 7, 7);
    TypeText(" three");
    EXPECT_EQ(locked(), "one two three") << style;
    // Between changes the handle the program already holds reads the text shown.
    EXPECT_EQ(read(first), "one two three") << style;
    SetWindowText(edit, "");
    EXPECT_EQ(locked(), "") << style;
    DestroyWindow(edit);
  }
}

// A window class over the edit that asks the edit questions while it is still being created, as a
// subclass hooked in at WM_NCCREATE does: the edit answers from its empty text.
LRESULT CALLBACK AskingEarly(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDCLASS edit{};
  GetClassInfo(nullptr, "Edit", &edit);
  LRESULT result = CallWindowProc(edit.lpfnWndProc, hwnd, msg, wParam, lParam);
  if (msg == WM_NCCREATE) {
    DWORD start = 1, end = 1;
    RECT rect{};
    EXPECT_EQ(SendMessage(hwnd, EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessage(hwnd, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 0);
    EXPECT_EQ(SendMessage(hwnd, EM_LINELENGTH, 0, 0), 0);
    SendMessage(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start + end, 0u);
    SendMessage(hwnd, EM_SETSEL, 0, -1);
    SendMessage(hwnd, EM_SCROLLCARET, 0, 0);
    SendMessage(hwnd, EM_POSFROMCHAR, 0, 0);
    SendMessage(hwnd, EM_CHARFROMPOS, 0, MAKELPARAM(4, 4));
    SendMessage(hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    SendMessage(hwnd, EM_LINESCROLL, 1, 1);
  }
  return result;
}

TEST_F(EditMessages, EveryStyleAnswersMessagesBeforeItsCreationEnds) {
  WNDCLASS early{};
  GetClassInfo(nullptr, "Edit", &early);
  early.lpfnWndProc = AskingEarly;
  early.lpszClassName = "EarlyAskedEdit";
  ASSERT_NE(RegisterClass(&early), 0);
  const DWORD styles[] = {0,
                          ES_MULTILINE | ES_PASSWORD,
                          ES_NUMBER | ES_UPPERCASE | ES_LOWERCASE,
                          ES_CENTER,
                          ES_RIGHT | ES_AUTOHSCROLL,
                          ES_MULTILINE | ES_CENTER,
                          ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL,
                          ES_MULTILINE | ES_RIGHT | WS_VSCROLL | ES_READONLY};
  for (DWORD style : styles) {
    for (SIZE size : {SIZE{0, 0}, SIZE{120, 50}}) {
      HWND edit = CreateWindowEx(0, "EarlyAskedEdit", "first\r\nsecond", WS_CHILD | WS_VISIBLE | WS_BORDER | style,
                                 0, 0, size.cx, size.cy, recorder_.Hwnd(), nullptr, nullptr, nullptr);
      ASSERT_NE(edit, nullptr) << std::hex << style;
      RunUntilIdle();
      // The creation text is the edit's text, however the early questions moved its selection.
      std::string want = (style & ES_UPPERCASE) ? "FIRST\r\nSECOND" : "first\r\nsecond";
      EXPECT_EQ(Text(edit), want) << std::hex << style;
      DestroyWindow(edit);
    }
  }
  UnregisterClass("EarlyAskedEdit", nullptr);
}

using EditSession = EditFixture;

TEST_F(EditSession, SelectCopyPasteAndUndo) {
  HWND edit = Make(ES_AUTOHSCROLL);
  TypeText("hello world");
  PressKey(VK_LEFT, kCtrl | kShift);
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{6}, DWORD{11}));
  PressKey('C', kCtrl);
  PressKey(VK_HOME);
  PressKey('V', kCtrl);
  EXPECT_EQ(Text(edit), "worldhello world");
  EXPECT_TRUE(SendMessage(edit, EM_CANUNDO, 0, 0));
  PressKey('Z', kCtrl);
  EXPECT_EQ(Text(edit), "hello world");
  SendMessage(edit, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(edit), "worldhello world") << "undoing the undo does it again";
  SendMessage(edit, EM_SETSEL, 0, 5);
  SendMessage(edit, WM_CUT, 0, 0);
  EXPECT_EQ(Text(edit), "hello world");
  PressKey(VK_END);
  SendMessage(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), "hello worldworld");
  SendMessage(edit, EM_SETSEL, 0, 6);
  SendMessage(edit, WM_CLEAR, 0, 0);
  EXPECT_EQ(Text(edit), "worldworld");
  SendMessage(edit, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_FALSE(SendMessage(edit, EM_CANUNDO, 0, 0));
}

TEST_F(EditSession, TypingIsUndoneAsOneStep) {
  HWND edit = Make(ES_AUTOHSCROLL, "x");
  PressKey(VK_END);
  TypeText("abc");
  SendMessage(edit, WM_UNDO, 0, 0);
  EXPECT_EQ(Text(edit), "x");
}

TEST_F(EditSession, BackspaceAndDeleteRemoveCharactersAndWords) {
  HWND edit = Make(ES_AUTOHSCROLL, "one two three");
  PressKey(VK_END);
  PressKey(VK_BACK);
  EXPECT_EQ(Text(edit), "one two thre");
  PressKey(VK_HOME);
  PressKey(VK_DELETE, kCtrl);
  EXPECT_EQ(Text(edit), "two thre");
  PressKey(VK_DELETE);
  EXPECT_EQ(Text(edit), "wo thre");
}

TEST_F(EditSession, ReplaceSelInsertsAtTheCaret) {
  HWND edit = Make(ES_AUTOHSCROLL, "ac");
  SendMessage(edit, EM_SETSEL, 1, 1);
  SendMessage(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("b"));
  EXPECT_EQ(Text(edit), "abc");
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{2}, DWORD{2}));
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));
  SendMessage(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("x\r\ny"));
  EXPECT_EQ(Text(edit), "abxc") << "a single line takes text up to the first break";
}

// The edit's own menu, from the mouse or the keyboard: the edit takes the focus, and the items
// are enabled as the edit's state allows; the parent may take the request first.
TEST_F(EditSession, ContextMenuFromMouseAndKeyboard) {
  struct Seen {
    bool shown = false;
    bool focused = false;
    std::vector<std::string> items;
  };
  const auto open = [&](HWND edit, const std::function<void()>& ask, const std::vector<UINT>& keys = {}) {
    Seen seen;
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND window) {
      seen.shown = true;
      seen.focused = GetFocus() == edit;
      auto menu = reinterpret_cast<HMENU>(SendMessage(window, MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        GetMenuString(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        seen.items.push_back((state & MF_SEPARATOR) ? "-" : std::string(text) + ((state & MF_GRAYED) ? " (off)" : ""));
      }
      if (keys.empty()) EndMenu();
      for (UINT vk : keys) {
        brambolt::InjectKey(vk, true);
        brambolt::InjectKey(vk, false);
      }
    });
    ask();
    RunUntilIdle();
    return seen;
  };
  HWND edit = Make(ES_AUTOHSCROLL, "hello");
  HWND other = Make(ES_AUTOHSCROLL, "other");
  SendMessage(edit, EM_SETSEL, 0, 2);
  OpenClipboard(recorder_.Hwnd());
  EmptyClipboard();
  CloseClipboard();
  const std::vector<std::string> withSelection{"&Undo (off)", "-", "Cu&t", "&Copy", "&Paste (off)", "&Delete", "-",
                                               "Select &All"};
  const struct {
    const char* how;
    std::function<void()> ask;
  } asks[] = {
      {"right click", [&] { Click(edit, POINT{30, 8}, kNone, WM_RBUTTONDOWN); }},
      {"Shift+F10", [&] { SetFocus(edit); PressKey(VK_F10, kShift); }},
      {"Menu key", [&] { SetFocus(edit); PressKey(VK_APPS); }},
  };
  for (const auto& a : asks) {
    SetFocus(other);
    SendMessage(edit, EM_SETSEL, 0, 2);
    Seen seen = open(edit, a.ask);
    EXPECT_TRUE(seen.shown) << a.how;
    EXPECT_TRUE(seen.focused) << a.how;
    EXPECT_EQ(seen.items, withSelection) << a.how;
  }
  // Nothing selected, something to undo, text on the clipboard, a read-only edit.
  SetFocus(edit);
  SendMessage(edit, EM_SETSEL, 5, 5);
  TypeText("!");
  SendMessage(edit, EM_SETSEL, 0, 0);
  SendMessage(edit, WM_COPY, 0, 0);  // an empty selection copies nothing
  SendMessage(other, EM_SETSEL, 0, -1);
  SendMessage(other, WM_COPY, 0, 0);
  EXPECT_EQ(open(edit, [&] { PressKey(VK_APPS); }).items,
            (std::vector<std::string>{"&Undo", "-", "Cu&t (off)", "&Copy (off)", "&Paste", "&Delete (off)", "-",
                                      "Select &All"}));
  SendMessage(edit, EM_SETSEL, 0, -1);
  SendMessage(edit, EM_SETREADONLY, TRUE, 0);
  EXPECT_EQ(open(edit, [&] { PressKey(VK_APPS); }).items,
            (std::vector<std::string>{"&Undo (off)", "-", "Cu&t (off)", "&Copy", "&Paste (off)", "&Delete (off)", "-",
                                      "Select &All (off)"}));
  SendMessage(edit, EM_SETREADONLY, FALSE, 0);
  // A command chosen from the menu acts on the edit.
  SendMessage(edit, EM_SETSEL, 1, 1);
  open(edit, [&] { PressKey(VK_APPS); }, {'A'});
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{0}, DWORD{6}));
  open(edit, [&] { PressKey(VK_APPS); }, {'D'});
  EXPECT_EQ(Text(edit), "");
  // A parent that answers WM_CONTEXTMENU itself keeps the edit's menu away.
  recorder_.Watch(WM_CONTEXTMENU);
  recorder_.Clear();
  SetWindowText(edit, "hello");
  EXPECT_FALSE(open(edit, [&] { Click(edit, POINT{30, 8}, kNone, WM_RBUTTONDOWN); }).shown);
  ASSERT_FALSE(recorder_.Records().empty());
  EXPECT_EQ(recorder_.Records().back().message, static_cast<UINT>(WM_CONTEXTMENU));
  EXPECT_EQ(recorder_.Records().back().wParam, reinterpret_cast<WPARAM>(edit));
}

namespace {

// What a program that subclasses an edit hears of the edit's own menu; it adds an item when the
// menu opens and closes the menu, or types the item's letter, once the menu waits.
struct MenuListener {
  WNDPROC edit = nullptr;
  bool typeExtra = false;
  int inits = 0, idles = 0;
  std::vector<UINT> selected;
  static MenuListener* current;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MenuListener& self = *current;
    switch (msg) {
      case WM_INITMENUPOPUP:
        ++self.inits;
        AppendMenu(reinterpret_cast<HMENU>(wParam), MF_STRING, WM_CLOSE, "E&xtra");
        break;
      case WM_MENUSELECT:
        if (HIWORD(wParam) != 0xFFFF) self.selected.push_back(LOWORD(wParam));
        break;
      case WM_ENTERIDLE:
        if (wParam == MSGF_MENU && ++self.idles == 1) {
          // lParam: the menu's window.
          if (!self.typeExtra) {
            EndMenu();
          } else {
            PostMessage(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, 'X', 1);
            PostMessage(reinterpret_cast<HWND>(lParam), WM_KEYUP, 'X', static_cast<LPARAM>(0xC0000001u));
          }
        }
        break;
      default: break;
    }
    return CallWindowProc(self.edit, hwnd, msg, wParam, lParam);
  }
};
MenuListener* MenuListener::current = nullptr;

}  // namespace

// The edit owns its menu and is told of it as any owner is: a program that subclasses the edit
// may add to the menu as it opens, sees the items highlighted, and may close it once it waits. An
// item the program added is not one of the edit's commands: choosing it does nothing to the edit.
TEST_F(EditSession, TheEditHearsOfItsOwnMenu) {
  HangWatchdog watchdog("an edit's menu that its subclass closes once the menu waits");
  HWND edit = Make(ES_AUTOHSCROLL, "hello");
  MenuListener listener;
  MenuListener::current = &listener;
  listener.edit = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuListener::Proc)));
  Click(edit, POINT{30, 8}, kNone, WM_RBUTTONDOWN);
  RunUntilIdle();
  EXPECT_EQ(listener.inits, 1);
  EXPECT_GE(listener.idles, 1);
  EXPECT_TRUE(listener.selected.empty());
  const WNDPROC editProc = listener.edit;
  listener = MenuListener{};
  listener.edit = editProc;
  listener.typeExtra = true;
  Click(edit, POINT{30, 8}, kNone, WM_RBUTTONDOWN);
  RunUntilIdle();
  EXPECT_EQ(listener.inits, 1);
  EXPECT_EQ(listener.selected, (std::vector<UINT>{WM_CLOSE}));
  ASSERT_TRUE(IsWindow(edit));
  EXPECT_EQ(Text(edit), "hello");
  SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listener.edit));
  MenuListener::current = nullptr;
}

using EditStyles = EditFixture;

TEST_F(EditStyles, CaseNumberReadOnlyAndPassword) {
  HWND upper = Make(ES_AUTOHSCROLL | ES_UPPERCASE);
  TypeText("abC1");
  EXPECT_EQ(Text(upper), "ABC1");
  HWND lower = Make(ES_AUTOHSCROLL | ES_LOWERCASE);
  TypeText("AbC");
  EXPECT_EQ(Text(lower), "abc");
  HWND number = Make(ES_AUTOHSCROLL | ES_NUMBER);
  TypeText("1a2");
  EXPECT_EQ(Text(number), "12");
  HWND readOnly = Make(ES_AUTOHSCROLL | ES_READONLY, "fixed");
  TypeText("zz");
  PressKey(VK_BACK);
  EXPECT_EQ(Text(readOnly), "fixed");
  SendMessage(readOnly, EM_SETREADONLY, FALSE, 0);
  PressKey(VK_END);
  TypeText("!");
  EXPECT_EQ(Text(readOnly), "fixed!");

  HWND password = Make(ES_AUTOHSCROLL | ES_PASSWORD);
  EXPECT_EQ(SendMessage(password, EM_GETPASSWORDCHAR, 0, 0), '*');
  TypeText("secret");
  EXPECT_EQ(Text(password), "secret");
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  SendMessage(password, EM_SETSEL, 0, -1);
  SendMessage(password, WM_COPY, 0, 0);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "a password never reaches the clipboard";
}

// The password style and character are for single-line edits: a multi-line edit shows and copies
// its text whatever it is given.
TEST_F(EditStyles, MultiLineEditsTakeNoPasswordCharacter) {
  HWND multi = Make(ES_MULTILINE | ES_AUTOHSCROLL | ES_PASSWORD, "open", 200, 60);
  EXPECT_EQ(SendMessage(multi, EM_GETPASSWORDCHAR, 0, 0), 0);
  SendMessage(multi, EM_SETPASSWORDCHAR, '#', 0);
  EXPECT_EQ(SendMessage(multi, EM_GETPASSWORDCHAR, 0, 0), 0);
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  SendMessage(multi, EM_SETSEL, 0, -1);
  SendMessage(multi, WM_COPY, 0, 0);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  HWND single = Make(ES_AUTOHSCROLL, "hidden");
  SendMessage(single, EM_SETPASSWORDCHAR, '#', 0);
  EXPECT_EQ(SendMessage(single, EM_GETPASSWORDCHAR, 0, 0), '#');
  EXPECT_TRUE(GetWindowLong(single, GWL_STYLE) & ES_PASSWORD);
}

TEST_F(EditStyles, SingleLineWithoutAutoScrollTakesOnlyWhatFits) {
  HWND edit = Make(0, "", 40, 24);
  TypeText("wwwwwwwwwwwwwwwwwwww");
  std::string text = Text(edit);
  EXPECT_LT(text.size(), 20u);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(Codes().back(), static_cast<UINT>(EN_MAXTEXT));
  HWND scrolling = Make(ES_AUTOHSCROLL, "", 40, 24);
  TypeText("wwwwwwwwwwwwwwwwwwww");
  EXPECT_EQ(Text(scrolling).size(), 20u);
}

TEST_F(EditStyles, MultiLineWithoutAutoVScrollTakesOnlyTheLinesItShows) {
  HWND edit = Make(ES_MULTILINE | ES_AUTOHSCROLL, "", 150, 3 * 13 + 8);
  for (int i = 0; i < 10; ++i) PressKey(VK_RETURN);
  int lines = static_cast<int>(SendMessage(edit, EM_GETLINECOUNT, 0, 0));
  EXPECT_LT(lines, 11);
  EXPECT_GE(lines, 2);
  EXPECT_EQ(Codes().back(), static_cast<UINT>(EN_MAXTEXT));
  HWND scrolling = Make(ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, "", 150, 3 * 13 + 8);
  for (int i = 0; i < 10; ++i) PressKey(VK_RETURN);
  EXPECT_EQ(SendMessage(scrolling, EM_GETLINECOUNT, 0, 0), 11);
  EXPECT_GT(SendMessage(scrolling, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(EditStyles, MultiLineTakesReturnsAndWraps) {
  HWND edit = Make(ES_MULTILINE | ES_AUTOVSCROLL, "", 60, 200);
  TypeText("one");
  PressKey(VK_RETURN);
  TypeText("two");
  EXPECT_EQ(Text(edit), "one\r\ntwo");
  SetWindowText(edit, "alpha beta gamma delta epsilon");
  EXPECT_GT(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 1) << "words wrap without ES_AUTOHSCROLL";
  EXPECT_EQ(Text(edit), "alpha beta gamma delta epsilon") << "wrapping never changes the text";
}

TEST_F(EditStyles, WordsLongerThanALineBreakWhereTheyMust) {
  HWND edit = Make(ES_MULTILINE, "", 80, 200);
  std::string word(5000, 'w');
  SetWindowText(edit, ("a " + word + " b").c_str());
  int lines = static_cast<int>(SendMessage(edit, EM_GETLINECOUNT, 0, 0));
  ASSERT_GT(lines, 20);
  std::string joined;
  for (int i = 0; i < lines; ++i) {
    char buffer[512] = {};
    *reinterpret_cast<WORD*>(buffer) = sizeof(buffer) - 1;
    LRESULT n = SendMessage(edit, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
    EXPECT_GT(n, 0) << "line " << i;
    joined.append(buffer, static_cast<size_t>(n));
    if (i > 0 && i < lines - 1) {
      int start = static_cast<int>(SendMessage(edit, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
      LRESULT last = SendMessage(edit, EM_POSFROMCHAR, static_cast<WPARAM>(start + n - 1), 0);
      EXPECT_LT(static_cast<short>(LOWORD(last)), 80) << "each row fits the control";
    }
  }
  EXPECT_EQ(joined, "a " + word + " b");
}

TEST_F(EditStyles, CentredAndRightAlignedTextKeepsItsPlace) {
  HWND left = Make(ES_AUTOHSCROLL, "abc", 200, 24);
  HWND centre = Make(ES_AUTOHSCROLL | ES_CENTER, "abc", 200, 24);
  HWND right = Make(ES_AUTOHSCROLL | ES_RIGHT, "abc", 200, 24);
  auto x = [](HWND h, int i) { return static_cast<short>(LOWORD(SendMessage(h, EM_POSFROMCHAR, static_cast<WPARAM>(i), 0))); };
  // No character lies past the text: the caret tells where it ends.
  auto end = [](HWND h) {
    SetFocus(h);
    SendMessage(h, EM_SETSEL, 3, 3);
    POINT p{};
    GetCaretPos(&p);
    return static_cast<int>(p.x);
  };
  int width = end(left) - x(left, 0);
  RECT r;
  SendMessage(right, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(end(right), r.right - 1);
  EXPECT_EQ(x(right, 0), r.right - 1 - width);
  EXPECT_NEAR(x(centre, 0) - r.left, (r.right - r.left - 1 - width) / 2, 1);
  // A click lands on the character under it wherever the line starts.
  DestroyWindow(left);
  DestroyWindow(centre);
  LRESULT at = SendMessage(right, EM_POSFROMCHAR, 1, 0);
  Click(right, POINT{static_cast<short>(LOWORD(at)) + 1, static_cast<short>(HIWORD(at)) + 3});
  DWORD a = 0, b = 0;
  SendMessage(right, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(a, 1u);
}

TEST_F(EditStyles, MouseSelectsByClickDragAndDoubleClick) {
  HWND edit = Make(ES_AUTOHSCROLL, "alpha beta");
  LRESULT at6 = SendMessage(edit, EM_POSFROMCHAR, 6, 0);
  LRESULT at10 = SendMessage(edit, EM_POSFROMCHAR, 9, 0);
  POINT p6{static_cast<short>(LOWORD(at6)) + 1, static_cast<short>(HIWORD(at6)) + 3};
  POINT p10{static_cast<short>(LOWORD(at10)) + 20, static_cast<short>(HIWORD(at10)) + 3};
  Click(edit, p6);
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{6}, DWORD{6}));
  Drag(edit, p6, p10);
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{6}, DWORD{10}));
  DoubleClick(edit, POINT{3, p6.y});
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{0}, DWORD{5}));
}

using EditDoubleByte = EditFixture;

TEST_F(EditDoubleByte, CaretAndSelectionStepOverWholeCharacters) {
  ScopedCodePage gbk(936);
  const std::string zhong = "\xD6\xD0", wen = "\xCE\xC4";
  HWND edit = Make(ES_AUTOHSCROLL);
  TypeText("a" + zhong + wen + "b");
  EXPECT_EQ(Text(edit), "a" + zhong + wen + "b");
  PressKey(VK_LEFT);
  PressKey(VK_LEFT);
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{3}, DWORD{3}));
  PressKey(VK_LEFT, kShift);
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{1}, DWORD{3}));
  SendMessage(edit, EM_SETSEL, 2, 4);
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{1}, DWORD{3})) << "positions inside a character move to its start";
  SendMessage(edit, EM_SETSEL, 5, 5);
  PressKey(VK_BACK);
  EXPECT_EQ(Text(edit), "a" + zhong + "b");
  PressKey(VK_DELETE);
  EXPECT_EQ(Text(edit), "a" + zhong);
  PressKey(VK_HOME);
  PressKey(VK_RIGHT);
  PressKey(VK_DELETE);
  EXPECT_EQ(Text(edit), "a");
}

TEST_F(EditDoubleByte, LimitNeverSplitsACharacter) {
  ScopedCodePage gbk(936);
  HWND edit = Make(ES_AUTOHSCROLL);
  SendMessage(edit, EM_LIMITTEXT, 3, 0);
  SendMessage(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\xD6\xD0\xCE\xC4"));
  EXPECT_EQ(Text(edit), "\xD6\xD0");
}

TEST_F(EditDoubleByte, UpperCaseLeavesTrailBytesAlone) {
  ScopedCodePage big5(950);
  HWND edit = Make(ES_AUTOHSCROLL | ES_UPPERCASE);
  // 0xA4 0x61 is a Big5 character whose trail byte is the letter 'a'.
  SendMessage(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\xA4\x61x"));
  EXPECT_EQ(Text(edit), "\xA4\x61X");
}

TEST_F(EditDoubleByte, InputMethodComposesAtTheCaretAndTypesWholeCharacters) {
  ScopedCodePage big5(950);
  ScriptedInputMethod ime(session_);
  HWND edit = Make(ES_AUTOHSCROLL, "ab");
  SendMessage(edit, EM_SETSEL, 2, 2);
  ime.Start();
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  HIMC context = ImmGetContext(edit);
  COMPOSITIONFORM form{};
  ASSERT_TRUE(ImmGetCompositionWindow(context, &form));
  ImmReleaseContext(edit, context);
  EXPECT_EQ(form.dwStyle, static_cast<DWORD>(CFS_POINT));
  EXPECT_EQ(form.ptCurrentPos.x, caret.x);
  EXPECT_EQ(form.ptCurrentPos.y, caret.y);
  ime.Commit("\xE4\xB8\xAD\xE6\x96\x87");  // zhong wen in UTF-8
  EXPECT_EQ(Text(edit), "ab\xA4\xA4\xA4\xE5");
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE})) << "one change per character";

  // The edit of a drop-down combo box takes it the same way.
  HWND combo = CreateWindowEx(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 50, 200, 120,
                              recorder_.Hwnd(), reinterpret_cast<HMENU>(11), nullptr, nullptr);
  SetFocus(combo);
  RunUntilIdle();
  ime.Commit("\xE6\x96\x87");
  EXPECT_EQ(Text(combo), "\xA4\xE5");
}

}  // namespace

