#include <cstring>
#include <thread>

#include "WinTestSupport.h"

using namespace wintest;
using namespace brambolt::test;

class Carets : public WinTest {};
class Hooks : public WinTest {};
class Clipboard : public WinTest {};
class SystemServices : public WinTest {};

TEST_F(Carets, ShowAndHideCountAndTheCaretBlinksByXor) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  RunUntilIdle();
  COLORREF background = WindowPixel(w, 11, 21);
  ASSERT_TRUE(CreateCaret(w, nullptr, 2, 15));
  SetCaretPos(10, 20);
  EXPECT_FALSE(brambolt::IsCaretDrawn());  // created hidden
  ShowCaret(w);
  EXPECT_TRUE(brambolt::IsCaretDrawn());
  EXPECT_EQ(WindowPixel(w, 11, 21), (~background) & 0x00FFFFFF);
  EXPECT_EQ(WindowPixel(w, 12, 21), background);  // two pixels wide
  AdvanceClock(GetCaretBlinkTime());
  EXPECT_FALSE(brambolt::IsCaretDrawn());
  EXPECT_EQ(WindowPixel(w, 11, 21), background);
  AdvanceClock(GetCaretBlinkTime());
  EXPECT_TRUE(brambolt::IsCaretDrawn());
  HideCaret(w);
  HideCaret(w);
  EXPECT_FALSE(brambolt::IsCaretDrawn());
  ShowCaret(w);
  EXPECT_FALSE(brambolt::IsCaretDrawn());  // still hidden once
  ShowCaret(w);
  EXPECT_TRUE(brambolt::IsCaretDrawn());
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 20);
  DestroyCaret();
  EXPECT_EQ(WindowPixel(w, 11, 21), background);
  EXPECT_FALSE(ShowCaret(w));
}

TEST_F(Carets, TheCaretIsHiddenWhilePaintingAndTheGreyCaretIsNotInverse) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  RunUntilIdle();
  COLORREF background = WindowPixel(w, 5, 5);
  CreateCaret(w, reinterpret_cast<HBITMAP>(1), 2, 10);
  SetCaretPos(5, 5);
  ShowCaret(w);
  COLORREF grey = WindowPixel(w, 5, 5);
  EXPECT_NE(grey, background);
  EXPECT_NE(grey, (~background) & 0x00FFFFFF);
  bool drawnWhilePainting = true;
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_PAINT) return false;
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    drawnWhilePainting = brambolt::IsCaretDrawn();
    EndPaint(h, &ps);
    return true;
  });
  InvalidateRect(w, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_FALSE(drawnWhilePainting);
  EXPECT_TRUE(brambolt::IsCaretDrawn());
  DestroyCaret();
}

TEST_F(Hooks, KeyboardAndMouseHooksSeeInputBeforeTheWindowAndMayEatIt) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 200, 200});
  SetFocus(w);
  static std::vector<WPARAM> keys;
  static int mice = 0;
  keys.clear();
  mice = 0;
  HHOOK kb = SetWindowsHookEx(WH_KEYBOARD, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
    if (code == HC_ACTION) keys.push_back(wp);
    if (wp == 'Z') return 1;
    return CallNextHookEx(nullptr, code, wp, lp);
  }, nullptr, GetCurrentThreadId());
  HHOOK mouse = SetWindowsHookEx(WH_MOUSE, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
    if (code == HC_ACTION && wp == WM_LBUTTONDOWN) ++mice;
    return CallNextHookEx(nullptr, code, wp, lp);
  }, nullptr, 0);
  MessageLog::Instance().Clear();
  PressKey('A');
  PressKey('Z');
  Click(w, POINT{50, 50});
  EXPECT_EQ(keys, (std::vector<WPARAM>{'A', 'A', 'Z', 'Z'}));
  EXPECT_EQ(mice, 1);
  auto got = MessageLog::Instance().For(w, {WM_KEYDOWN});
  EXPECT_EQ(got.size(), 1u);  // Z was eaten
  EXPECT_TRUE(UnhookWindowsHookEx(kb));
  EXPECT_TRUE(UnhookWindowsHookEx(mouse));
  EXPECT_FALSE(UnhookWindowsHookEx(kb));
  PressKey('Z');
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_KEYDOWN}).size(), 2u);
}

TEST_F(Hooks, ChainsCallTheNewestFirstAndPassOn) {
  static std::string order;
  order.clear();
  static HHOOK first = nullptr, second = nullptr;
  first = SetWindowsHookEx(WH_GETMESSAGE, [](int c, WPARAM w, LPARAM l) -> LRESULT {
    auto* m = reinterpret_cast<MSG*>(l);
    if (m->message == WM_USER + 9) order += "1";
    return CallNextHookEx(first, c, w, l);
  }, nullptr, GetCurrentThreadId());
  second = SetWindowsHookEx(WH_GETMESSAGE, [](int c, WPARAM w, LPARAM l) -> LRESULT {
    auto* m = reinterpret_cast<MSG*>(l);
    if (m->message == WM_USER + 9) {
      order += "2";
      m->wParam = 77;  // a GetMessage hook may change the message
    }
    return CallNextHookEx(second, c, w, l);
  }, nullptr, GetCurrentThreadId());
  PostThreadMessage(GetCurrentThreadId(), WM_USER + 9, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 9, WM_USER + 9, PM_REMOVE));
  EXPECT_EQ(order, "21");
  EXPECT_EQ(msg.wParam, 77u);
  UnhookWindowsHookEx(second);
  UnhookWindowsHookEx(first);
}

TEST_F(Hooks, CbtHookSeesCreationActivationAndDestructionAndCanVeto) {
  static std::vector<int> codes;
  static bool veto = false;
  codes.clear();
  HHOOK cbt = SetWindowsHookEx(WH_CBT, [](int code, WPARAM w, LPARAM l) -> LRESULT {
    codes.push_back(code);
    if (code == HCBT_CREATEWND && veto) return 1;
    return CallNextHookEx(nullptr, code, w, l);
  }, nullptr, GetCurrentThreadId());
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  DestroyWindow(w);
  EXPECT_NE(std::find(codes.begin(), codes.end(), HCBT_CREATEWND), codes.end());
  EXPECT_NE(std::find(codes.begin(), codes.end(), HCBT_ACTIVATE), codes.end());
  EXPECT_NE(std::find(codes.begin(), codes.end(), HCBT_DESTROYWND), codes.end());
  veto = true;
  EXPECT_EQ(MakeWindow(nullptr, WS_POPUP), nullptr);
  veto = false;
  UnhookWindowsHookEx(cbt);
}

TEST_F(Hooks, CallWndProcHooksSeeSentMessagesAndTheirResults) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  static LRESULT seenResult = 0;
  static UINT seenBefore = 0;
  HHOOK before = SetWindowsHookEx(WH_CALLWNDPROC, [](int c, WPARAM w, LPARAM l) -> LRESULT {
    auto* s = reinterpret_cast<CWPSTRUCT*>(l);
    if (s->message == WM_GETTEXTLENGTH) seenBefore = s->message;
    return CallNextHookEx(nullptr, c, w, l);
  }, nullptr, GetCurrentThreadId());
  HHOOK after = SetWindowsHookEx(WH_CALLWNDPROCRET, [](int c, WPARAM w, LPARAM l) -> LRESULT {
    auto* s = reinterpret_cast<CWPRETSTRUCT*>(l);
    if (s->message == WM_GETTEXTLENGTH) seenResult = s->lResult;
    return CallNextHookEx(nullptr, c, w, l);
  }, nullptr, GetCurrentThreadId());
  SetWindowText(w, "four");
  EXPECT_EQ(GetWindowTextLength(w), 4);
  EXPECT_EQ(seenBefore, static_cast<UINT>(WM_GETTEXTLENGTH));
  EXPECT_EQ(seenResult, 4);
  UnhookWindowsHookEx(before);
  UnhookWindowsHookEx(after);
}

TEST_F(Clipboard, TextRoundTripsAndConvertsBetweenTextFormats) {
  HWND owner = MakeWindow(nullptr, WS_POPUP);
  ASSERT_TRUE(OpenClipboard(owner));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 6);
  std::memcpy(GlobalLock(h), "hello", 6);
  GlobalUnlock(h);
  EXPECT_EQ(SetClipboardData(CF_TEXT, h), h);
  UINT column = RegisterClipboardFormat("MSDEVColumnSelect");
  EXPECT_GE(column, 0xC000u);
  SetClipboardData(column, GlobalAlloc(GMEM_MOVEABLE, 1));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_EQ(GetClipboardOwner(), owner);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(column));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);  // not open
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE text = GetClipboardData(CF_TEXT);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "hello");
  GlobalUnlock(text);
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(wide, nullptr);
  const char16_t* w = static_cast<const char16_t*>(GlobalLock(wide));
  EXPECT_EQ(std::u16string(w), u"hello");
  GlobalUnlock(wide);
  std::vector<UINT> formats;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
  EXPECT_EQ(static_cast<int>(formats.size()), CountClipboardFormats());
  EXPECT_EQ(formats[0], static_cast<UINT>(CF_TEXT));
  CloseClipboard();
}

TEST_F(Clipboard, EmptyingTellsThePreviousOwnerAndRequiresOpening) {
  HWND first = MakeWindow(nullptr, WS_POPUP);
  HWND second = MakeWindow(nullptr, WS_POPUP);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  OpenClipboard(first);
  EmptyClipboard();
  CloseClipboard();
  MessageLog::Instance().Clear();
  OpenClipboard(second);
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(MessageLog::Instance().For(first, {WM_DESTROYCLIPBOARD}).size(), 1u);
  EXPECT_EQ(GetClipboardOwner(), second);
  EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(Clipboard, DelayedRenderingAsksTheOwner) {
  HWND owner = MakeWindow(nullptr, WS_POPUP);
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    if (msg != WM_RENDERFORMAT) return false;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(GlobalLock(h), "ok", 3);
    GlobalUnlock(h);
    SetClipboardData(static_cast<UINT>(wp), h);
    return true;
  });
  OpenClipboard(owner);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, nullptr);
  CloseClipboard();
  OpenClipboard(nullptr);
  HANDLE h = GetClipboardData(CF_TEXT);
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "ok");
  GlobalUnlock(h);
  CloseClipboard();
}

TEST_F(Clipboard, ForeignTextIsReadBoundedByItsBlock) {
  session->Backend().SetForeignClipboardText("caf\xC3\xA9");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  session->Backend().SetForeignClipboardText("caf\xC3\xA9");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE h = GetClipboardData(CF_TEXT);
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "caf\xE9");  // in the 1252 code page
  GlobalUnlock(h);
  CloseClipboard();
  // A text block without its terminator is read only up to its size.
  OpenClipboard(nullptr);
  EmptyClipboard();
  HGLOBAL raw = GlobalAlloc(GMEM_MOVEABLE, 3);
  std::memcpy(GlobalLock(raw), "abc", 3);
  GlobalUnlock(raw);
  SetClipboardData(CF_TEXT, raw);
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(wide))), u"abc");
  GlobalUnlock(wide);
  CloseClipboard();
}

TEST_F(Clipboard, TextTheCodePageCannotHoldLosesThoseCharactersWithABeep) {
  brambolt::ScopedCodePage page(1252);
  // Another program's text, and the program's own Unicode text: the Turkish I with dot is left out
  // (never a '?' in its place) and the paste beeps, once each time the text is taken.
  session->Backend().SetForeignClipboardText("\xC4\xB0stanbul \xE2\x82\xAC");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE h = GetClipboardData(CF_TEXT);
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "stanbul \x80");
  GlobalUnlock(h);
  EXPECT_EQ(session->Backend().Bells().size(), 1u);
  EmptyClipboard();
  const std::u16string wide = u"\u0130zmir";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(char16_t));
  std::memcpy(GlobalLock(block), wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  h = GetClipboardData(CF_TEXT);
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "zmir");
  GlobalUnlock(h);
  EXPECT_EQ(session->Backend().Bells().size(), 2u);
  // Text the page holds whole is taken without a sound.
  EmptyClipboard();
  CloseClipboard();
  session->Backend().SetForeignClipboardText("caf\xC3\xA9");
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_NE(GetClipboardData(CF_TEXT), nullptr);
  CloseClipboard();
  EXPECT_EQ(session->Backend().Bells().size(), 2u);
}

TEST_F(SystemServices, BellAndFlashingReachTheBackend) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  MessageBeep(MB_ICONEXCLAMATION);
  MessageBeep(static_cast<UINT>(-1));
  EXPECT_EQ(session->Backend().Bells(), (std::vector<UINT>{MB_ICONEXCLAMATION, 0xFFFFFFFFu}));
  FlashWindow(w, TRUE);
  std::thread watcher([&] { FlashWindow(w, TRUE); });  // from another thread: done by w's thread
  watcher.join();
  RunUntilIdle();
  auto flashes = session->Backend().Flashes();
  ASSERT_EQ(flashes.size(), 2u);
  EXPECT_EQ(flashes[1].first, w);
  FLASHWINFO info{sizeof(info), w, FLASHW_STOP, 0, 0};
  FlashWindowEx(&info);
  EXPECT_FALSE(session->Backend().Flashes().back().second);
}

TEST_F(SystemServices, ParametersHaveTheClassicValues) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.right, GetSystemMetrics(SM_CXSCREEN));
  NONCLIENTMETRICS ncm{};
  ncm.cbSize = 344;
  EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
  ncm.cbSize = sizeof(ncm);
  EXPECT_EQ(ncm.cbSize, 340u);
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  EXPECT_EQ(ncm.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(ncm.lfCaptionFont.lfWeight, FW_BOLD);
  UINT lines = 0;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  EXPECT_EQ(lines, 3u);
  BOOL flag = TRUE;
  SystemParametersInfo(SPI_GETFLATMENU, 0, &flag, 0);
  EXPECT_FALSE(flag);
  SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &flag, 0);
  EXPECT_TRUE(flag);
}

TEST_F(SystemServices, CursorsAreSetShownAndLoaded) {
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
  ASSERT_NE(arrow, nullptr);
  EXPECT_NE(arrow, wait);
  EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), arrow);
  EXPECT_EQ(brambolt::StandardCursorId(wait), 32514);
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
  SetCursor(wait);
  EXPECT_EQ(GetCursor(), wait);
  EXPECT_EQ(session->Backend().Cursor(), wait);
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_FALSE(session->Backend().CursorVisible());
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_TRUE(session->Backend().CursorVisible());
  // The class cursor is set over the client area.
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.lpszClassName = "BeamClass";
  RegisterClass(&wc);
  HWND w = CreateWindowEx(0, "BeamClass", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  MoveMouse(w, POINT{10, 10});
  EXPECT_EQ(GetCursor(), wc.hCursor);
  DestroyWindow(w);
  UnregisterClass("BeamClass", nullptr);
}
