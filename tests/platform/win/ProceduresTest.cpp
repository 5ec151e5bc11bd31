#include "WinTestSupport.h"

using namespace wintest;

namespace {

// Three procedures that each append their letter to the answer of the next.
WNDPROC g_next[3];
LRESULT Chain(int i, char letter, HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_USER) return CallWindowProc(g_next[i], h, m, w, l);
  auto* s = reinterpret_cast<std::string*>(l);
  s->push_back(letter);
  return CallWindowProc(g_next[i], h, m, w, l);
}
LRESULT CALLBACK ProcA(HWND h, UINT m, WPARAM w, LPARAM l) { return Chain(0, 'a', h, m, w, l); }
LRESULT CALLBACK ProcB(HWND h, UINT m, WPARAM w, LPARAM l) { return Chain(1, 'b', h, m, w, l); }
LRESULT CALLBACK ProcC(HWND h, UINT m, WPARAM w, LPARAM l) { return Chain(2, 'c', h, m, w, l); }

std::string Walk(HWND w) {
  std::string s;
  SendMessage(w, WM_USER, 0, reinterpret_cast<LPARAM>(&s));
  return s;
}

}  // namespace

class Subclassing : public WinTest {};

TEST_F(Subclassing, ThreeProceduresChainAndUnwindInAnyOrder) {
  const int orders[][3] = {{2, 1, 0}, {0, 1, 2}, {1, 2, 0}, {1, 0, 2}};
  const WNDPROC procs[3] = {ProcA, ProcB, ProcC};
  for (const auto& order : orders) {
    HWND w = MakeWindow(nullptr, WS_POPUP);
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC));
    for (int i = 0; i < 3; ++i)
      g_next[i] = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procs[i])));
    EXPECT_EQ(Walk(w), "cba");
    // Removing one from the middle of the chain: its successor takes over its next procedure.
    for (int k : order) {
      WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC));
      if (current == procs[k]) {
        SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_next[k]));
      } else {
        for (int j = 0; j < 3; ++j)
          if (g_next[j] == procs[k]) g_next[j] = g_next[k];
      }
      g_next[k] = nullptr;
    }
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), original);
    EXPECT_EQ(Walk(w), "");
    DestroyWindow(w);
  }
}

TEST_F(Subclassing, RemovingTheMiddleProcedureKeepsTheOthers) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  g_next[0] = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcA)));
  g_next[1] = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcB)));
  g_next[2] = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcC)));
  EXPECT_EQ(Walk(w), "cba");
  g_next[2] = g_next[1];  // B leaves: C now calls what B called
  EXPECT_EQ(Walk(w), "ca");
  SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_next[2]));  // C leaves
  EXPECT_EQ(Walk(w), "a");
  SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_next[0]));
  EXPECT_EQ(Walk(w), "");
}

class WindowData : public WinTest {};

TEST_F(WindowData, GetTextCopiesAtMostTheBufferLessOne) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  SetWindowText(w, "Progress");
  char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetWindowText(w, buffer, 5), 4);
  EXPECT_STREQ(buffer, "Prog");
  char untouched = 'z';
  EXPECT_EQ(SendMessage(w, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&untouched)), 0);
  EXPECT_EQ(untouched, 'z');
  EXPECT_EQ(GetWindowTextLength(w), 8);
}

TEST_F(WindowData, StyleChangesAreAnnounced) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_CAPTION);
  MessageLog::Instance().Clear();
  LONG_PTR old = SetWindowLongPtr(w, GWL_STYLE, WS_POPUP);
  EXPECT_EQ(static_cast<DWORD>(old) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_STYLECHANGING, WM_STYLECHANGED}),
            (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(w, GWL_STYLE)), static_cast<DWORD>(WS_POPUP));
}

TEST_F(WindowData, LongsHoldIdsUserDataAndOwners) {
  HWND owner = MakeWindow(nullptr, WS_POPUP);
  HWND w = MakeWindow(nullptr, WS_POPUP);
  SetWindowLongPtr(w, GWLP_USERDATA, 0x55);
  EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), 0x55);
  SetWindowLongPtr(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  EXPECT_EQ(GetWindow(w, GW_OWNER), owner);
  HWND child = MakeWindow(owner, 0, RECT{0, 0, 1, 1}, 80122);
  EXPECT_EQ(GetWindowLongPtr(child, GWLP_ID), 80122);
  SetWindowLongPtr(child, GWLP_ID, 70005);
  EXPECT_EQ(GetDlgCtrlID(child), 70005);
  EXPECT_EQ(GetWindowLongPtr(child, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(owner));
  EXPECT_FALSE(IsWindowUnicode(child));
}

TEST_F(WindowData, FontIsKeptForTheWindow) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  HFONT f = reinterpret_cast<HFONT>(static_cast<INT_PTR>(0x1234));
  SendMessage(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessage(w, WM_GETFONT, 0, 0)), f);
}
