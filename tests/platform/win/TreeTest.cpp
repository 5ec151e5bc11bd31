#include "WinTestSupport.h"

using namespace wintest;

class Tree : public WinTest {};

TEST_F(Tree, ChildrenFollowCreationOrderFromTheTop) {
  HWND parent = MakeWindow(nullptr, WS_POPUP);
  HWND a = MakeWindow(parent, 0, RECT{0, 0, 5, 5}, 1);
  HWND b = MakeWindow(parent, 0, RECT{0, 0, 5, 5}, 2);
  HWND c = MakeWindow(parent, 0, RECT{0, 0, 5, 5}, 3);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
  EXPECT_EQ(GetTopWindow(parent), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetNextWindow(b, GW_HWNDNEXT), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDFIRST), a);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), c);
}

TEST_F(Tree, InsertAfterPlacesAWindowBelowAnother) {
  HWND parent = MakeWindow(nullptr, WS_POPUP);
  HWND a = MakeWindow(parent, 0, RECT{0, 0, 5, 5}, 1);
  HWND b = MakeWindow(parent, 0, RECT{0, 0, 5, 5}, 2);
  HWND c = MakeWindow(parent, 0, RECT{0, 0, 5, 5}, 3);
  SetWindowPos(c, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), b);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), c);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
}

TEST_F(Tree, TopmostWindowsStayAboveTheOthers) {
  HWND normal = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  HWND topmost = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10}, 0, WS_EX_TOPMOST);
  HWND later = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(GetTopWindow(nullptr), topmost);
  EXPECT_EQ(GetWindow(topmost, GW_HWNDNEXT), later);
  SetWindowPos(normal, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(GetWindowLongPtr(normal, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetTopWindow(nullptr), normal);
  SetWindowPos(normal, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(GetWindowLongPtr(normal, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetTopWindow(nullptr), topmost);
}

TEST_F(Tree, ParentsOwnersAndAncestors) {
  HWND top = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW);
  HWND child = MakeWindow(top, 0, RECT{0, 0, 50, 50}, 1);
  HWND grandchild = MakeWindow(child, 0, RECT{0, 0, 5, 5}, 2);
  HWND popup = MakeWindow(grandchild, WS_POPUP);
  EXPECT_EQ(GetParent(grandchild), child);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), top);  // the owner is the top-level of the given parent
  EXPECT_EQ(GetAncestor(grandchild, GA_PARENT), child);
  EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), top);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(IsChild(top, grandchild));
  EXPECT_FALSE(IsChild(top, popup));
  EXPECT_FALSE(IsChild(child, top));
}

TEST_F(Tree, SetParentMovesAChildUnderAnotherWindow) {
  HWND a = MakeWindow(nullptr, WS_POPUP);
  HWND b = MakeWindow(nullptr, WS_POPUP);
  HWND child = MakeWindow(a, 0, RECT{3, 4, 13, 14}, 5);
  EXPECT_EQ(SetParent(child, b), a);
  EXPECT_EQ(GetParent(child), b);
  EXPECT_EQ(GetWindow(b, GW_CHILD), child);
  EXPECT_EQ(GetWindow(a, GW_CHILD), nullptr);
  POINT p{0, 0};
  MapWindowPoints(child, b, &p, 1);
  EXPECT_EQ(p.x, 3);
  EXPECT_EQ(p.y, 4);
  EXPECT_EQ(SetParent(b, child), nullptr);  // no cycles
}

TEST_F(Tree, FindWindowMatchesClassAndCaption) {
  HWND w = CreateWindowEx(0, LoggingClass(), "Find me", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(FindWindow("logwnd", "Find me"), w);
  EXPECT_EQ(FindWindow(nullptr, "Find me"), w);
  EXPECT_EQ(FindWindow("LogWnd", "Other"), nullptr);
  EXPECT_EQ(FindWindow("Shell_TrayWnd", nullptr), nullptr);
  HWND c1 = MakeWindow(w, 0, RECT{0, 0, 1, 1}, 1);
  HWND c2 = MakeWindow(w, 0, RECT{0, 0, 1, 1}, 2);
  EXPECT_EQ(FindWindowEx(w, nullptr, "LogWnd", nullptr), c1);
  EXPECT_EQ(FindWindowEx(w, c1, "LogWnd", nullptr), c2);
  EXPECT_EQ(FindWindowEx(w, c2, "LogWnd", nullptr), nullptr);
}

TEST_F(Tree, EnumerationsVisitEveryWindowOnce) {
  HWND top = MakeWindow(nullptr, WS_POPUP);
  HWND a = MakeWindow(top, 0, RECT{0, 0, 1, 1}, 1);
  HWND a1 = MakeWindow(a, 0, RECT{0, 0, 1, 1}, 2);
  HWND b = MakeWindow(top, 0, RECT{0, 0, 1, 1}, 3);
  std::vector<HWND> seen;
  EnumChildWindows(top, [](HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{a, a1, b}));
  std::vector<HWND> tops;
  EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&tops));
  EXPECT_NE(std::find(tops.begin(), tops.end(), top), tops.end());
  DWORD pid = 0;
  EXPECT_EQ(GetWindowThreadProcessId(a1, &pid), GetCurrentThreadId());
  EXPECT_NE(pid, 0u);
}

TEST_F(Tree, WindowFromPointFindsTheDeepestVisibleEnabledWindow) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  HWND child = MakeWindow(top, WS_VISIBLE, RECT{10, 10, 110, 110}, 1);
  HWND inner = MakeWindow(child, WS_VISIBLE, RECT{10, 10, 50, 50}, 2);
  HWND hidden = MakeWindow(top, 0, RECT{120, 10, 190, 80}, 3);
  EXPECT_EQ(WindowFromPoint(POINT{125, 125}), inner);
  EXPECT_EQ(WindowFromPoint(POINT{115, 115}), child);
  EXPECT_EQ(WindowFromPoint(POINT{230, 115}), top);  // the hidden child is passed over
  EnableWindow(inner, FALSE);
  EXPECT_EQ(WindowFromPoint(POINT{125, 125}), child);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{130, 20}), hidden);  // every child counts here
  EXPECT_EQ(ChildWindowFromPointEx(top, POINT{130, 20}, CWP_SKIPINVISIBLE), top);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{500, 20}), nullptr);
}

TEST_F(Tree, CoordinatesMapThroughTheTree) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_BORDER, RECT{100, 50, 300, 250});
  HWND child = MakeWindow(top, 0, RECT{10, 20, 60, 70}, 1);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 100 + 1 + 10);
  EXPECT_EQ(p.y, 50 + 1 + 20);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 20);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 111);
  EXPECT_EQ(r.right, 161);
  GetClientRect(top, &r);
  EXPECT_EQ(r.right, 198);
  EXPECT_EQ(r.bottom, 198);
  POINT pts[2] = {{0, 0}, {5, 5}};
  int delta = MapWindowPoints(child, nullptr, pts, 2);
  EXPECT_EQ(GET_X_LPARAM(delta), 111);
  EXPECT_EQ(GET_Y_LPARAM(delta), 71);
  EXPECT_EQ(pts[1].x, 116);
}
