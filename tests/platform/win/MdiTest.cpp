// The MDI client: children and their ids, activation and its messages, the window menu, cascade
// and tile geometry, maximised children in the frame's menu bar and title, icons, the keyboard.
#include <string>

#include "WinTestSupport.h"

using namespace wintest;
using namespace brambolt::test;

namespace {

HWND g_client = nullptr;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MessageLog::Instance().Add(Logged{hwnd, msg, wParam, lParam});
  return DefFrameProc(hwnd, g_client, msg, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MessageLog::Instance().Add(Logged{hwnd, msg, wParam, lParam});
  return DefMDIChildProc(hwnd, msg, wParam, lParam);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASS wc{};
  wc.lpfnWndProc = FrameProc;
  wc.lpszClassName = "MdiTestFrame";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  RegisterClass(&wc);
  wc.lpfnWndProc = ChildProc;
  wc.lpszClassName = "MdiTestChild";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClass(&wc);
}

std::string Text(HWND hwnd) {
  char buffer[256] = {};
  GetWindowText(hwnd, buffer, sizeof(buffer));
  return buffer;
}

std::string MenuText(HMENU menu, int position) {
  char buffer[256] = {};
  GetMenuString(menu, static_cast<UINT>(position), buffer, sizeof(buffer), MF_BYPOSITION);
  return buffer;
}

RECT RectIn(HWND parent, HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class Mdi : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    RegisterClasses();
    menu = CreateMenu();
    fileMenu = CreatePopupMenu();
    AppendMenu(fileMenu, MF_STRING, 100, "&New");
    windowMenu = CreatePopupMenu();
    AppendMenu(windowMenu, MF_STRING, 200, "&Cascade");
    AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(fileMenu), "&File");
    AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(windowMenu), "&Window");
    frame = CreateWindowEx(0, "MdiTestFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                           menu, nullptr, nullptr);
    CLIENTCREATESTRUCT ccs{windowMenu, 0xFF00};
    RECT area;
    GetClientRect(frame, &area);
    g_client = client = CreateWindowEx(0, MDICLIENT_CLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                       600, 400, frame, reinterpret_cast<HMENU>(0xE900), nullptr, &ccs);
    ASSERT_NE(client, nullptr);
    RunUntilIdle();
  }
  void TearDown() override {
    g_client = nullptr;
    WinTest::TearDown();
  }

  HWND NewChild(const char* title, DWORD style = 0) {
    return CreateMDIWindow("MdiTestChild", title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           client, nullptr, 0);
  }
  HWND Active(BOOL* maximized = nullptr) {
    return reinterpret_cast<HWND>(SendMessage(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
  }
  // The titles the window menu lists after its own items, with a '*' for the checked one.
  std::vector<std::string> Listed() {
    std::vector<std::string> titles;
    for (int i = 0; i < GetMenuItemCount(windowMenu); ++i) {
      UINT id = GetMenuItemID(windowMenu, i);
      if (id < 0xFF00 || id > 0xFF09) continue;
      bool checked = GetMenuState(windowMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED;
      titles.push_back(MenuText(windowMenu, i) + (checked ? "*" : ""));
    }
    return titles;
  }

  HMENU menu = nullptr, fileMenu = nullptr, windowMenu = nullptr;
  HWND frame = nullptr, client = nullptr;
};

TEST_F(Mdi, ChildrenGetIdsActivationAndTheWindowMenuList) {
  HWND a = NewChild("Alpha");
  HWND b = NewChild("Beta");
  MessageLog::Instance().Clear();
  HWND c = NewChild("Gamma");
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(GetDlgCtrlID(a), 0xFF00);
  EXPECT_EQ(GetDlgCtrlID(c), 0xFF02);
  EXPECT_EQ(GetWindowLongPtr(c, GWL_EXSTYLE) & WS_EX_MDICHILD, WS_EX_MDICHILD);
  EXPECT_EQ(Active(), c);
  // The child that loses activation hears first, then the new one; both with (old, new).
  auto activations = MessageLog::Instance().Sequence({WM_MDIACTIVATE});
  ASSERT_EQ(activations.size(), 2u);
  EXPECT_EQ(activations[0].first, b);
  EXPECT_EQ(activations[1].first, c);
  auto toC = Of(c, WM_MDIACTIVATE);
  EXPECT_EQ(reinterpret_cast<HWND>(toC[0].wParam), b);
  EXPECT_EQ(reinterpret_cast<HWND>(toC[0].lParam), c);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"&1 Alpha", "&2 Beta", "&3 Gamma*"}));
  EXPECT_EQ(GetMenuState(windowMenu, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));

  // Choosing a child from the window menu activates it; the frame gets the command.
  SendMessage(frame, WM_COMMAND, 0xFF00, 0);
  EXPECT_EQ(Active(), a);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"&1 Alpha*", "&2 Beta", "&3 Gamma"}));
  SetWindowText(b, "Beta 2");
  EXPECT_EQ(Listed()[1], "&2 Beta 2");

  // A click in an inactive child activates it (its bottom-left corner lies outside the others).
  RECT bClient;
  GetClientRect(b, &bClient);
  Click(b, POINT{5, bClient.bottom - 5});
  EXPECT_EQ(Active(), b);
}

TEST_F(Mdi, ClosingTheActiveChildActivatesTheNextAndKeepsIdsContiguous) {
  HWND a = NewChild("A");
  HWND b = NewChild("B");
  HWND c = NewChild("C");
  SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_EQ(Active(), a);
  SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_FALSE(IsWindow(a));
  // C was below A in z-order; it takes A's id, the list follows.
  EXPECT_EQ(Active(), c);
  EXPECT_EQ(GetDlgCtrlID(c), 0xFF00);
  EXPECT_EQ(GetDlgCtrlID(b), 0xFF01);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"&1 C*", "&2 B"}));
  SendMessage(c, WM_CLOSE, 0, 0);
  EXPECT_EQ(Active(), b);
  DestroyWindow(b);
  EXPECT_EQ(Active(), nullptr);
  EXPECT_TRUE(Listed().empty());
  EXPECT_EQ(GetMenuItemCount(windowMenu), 1);  // the separator went with the list
}

// The active child hidden: the one below it is activated, maximised as the hidden one was, and the
// frame's title follows; the hidden one hears it lose the activation.
TEST_F(Mdi, HidingTheActiveChildActivatesTheOneBelowItMaximisedAsItWas) {
  HWND a = NewChild("Alpha");
  HWND b = NewChild("Beta");
  SendMessage(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
  MessageLog::Instance().Clear();
  ShowWindow(b, SW_HIDE);
  BOOL maximized = FALSE;
  EXPECT_EQ(Active(&maximized), a);
  EXPECT_TRUE(maximized);
  EXPECT_EQ(Text(frame), "Frame - [Alpha]");
  ASSERT_EQ(Of(b, WM_MDIACTIVATE).size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(Of(b, WM_MDIACTIVATE)[0].lParam), a);
  // The last one hidden leaves none active.
  ShowWindow(a, SW_HIDE);
  EXPECT_EQ(Active(), nullptr);
}

TEST_F(Mdi, NextAndCtrlF6VisitEveryChildInTurn) {
  HWND a = NewChild("A");
  HWND b = NewChild("B");
  HWND c = NewChild("C");
  std::vector<HWND> visited;
  for (int i = 0; i < 3; ++i) {
    SendMessage(client, WM_MDINEXT, 0, 0);
    visited.push_back(Active());
  }
  EXPECT_EQ(visited, (std::vector<HWND>{b, a, c}));
  SendMessage(client, WM_MDINEXT, 0, 1);
  EXPECT_EQ(Active(), a);

  // Ctrl+F6 and Ctrl+Shift+F6 through TranslateMDISysAccel; Ctrl+F4 closes the active child.
  KeyDown(VK_CONTROL);
  MSG key{frame, WM_KEYDOWN, VK_F6, 0, 0, {}};
  HWND before = Active();
  EXPECT_TRUE(TranslateMDISysAccel(client, &key));
  EXPECT_NE(Active(), before);
  KeyDown(VK_SHIFT);
  EXPECT_TRUE(TranslateMDISysAccel(client, &key));
  EXPECT_EQ(Active(), before);
  KeyUp(VK_SHIFT);
  MSG close{frame, WM_KEYDOWN, VK_F4, 0, 0, {}};
  EXPECT_TRUE(TranslateMDISysAccel(client, &close));
  EXPECT_FALSE(IsWindow(before));
  KeyUp(VK_CONTROL);
  MSG plain{frame, WM_KEYDOWN, VK_F6, 0, 0, {}};
  EXPECT_FALSE(TranslateMDISysAccel(client, &plain));
}

TEST_F(Mdi, CascadeAndTileGeometry) {
  HWND a = NewChild("A");
  HWND b = NewChild("B");
  HWND c = NewChild("C");
  SendMessage(client, WM_MDICASCADE, 0, 0);
  // The step is a caption and a frame (19 + 4); the stair ends with the active window in front.
  EXPECT_EQ(Str(RectIn(client, a)), "0,0,554,354");
  EXPECT_EQ(Str(RectIn(client, b)), "23,23,577,377");
  EXPECT_EQ(Str(RectIn(client, c)), "46,46,600,400");
  EXPECT_EQ(Active(), c);

  SendMessage(client, WM_MDITILE, MDITILE_VERTICAL, 0);  // side by side, active first
  EXPECT_EQ(Str(RectIn(client, c)), "0,0,200,400");
  EXPECT_EQ(Str(RectIn(client, b)), "200,0,400,400");
  EXPECT_EQ(Str(RectIn(client, a)), "400,0,600,400");
  SendMessage(client, WM_MDITILE, MDITILE_HORIZONTAL, 0);  // one above the other
  EXPECT_EQ(Str(RectIn(client, c)), "0,0,600,133");
  EXPECT_EQ(Str(RectIn(client, a)), "0,266,600,400");

  // A minimised child is an icon title bar at the bottom; tiling leaves its row free.
  ShowWindow(b, SW_MINIMIZE);
  EXPECT_EQ(Str(RectIn(client, b)), "0,376,160,400");
  EXPECT_EQ(SendMessage(b, WM_NCHITTEST, 0, MAKELPARAM(80, 8 + RectIn(nullptr, b).top)), HTCAPTION);
  SendMessage(client, WM_MDITILE, MDITILE_VERTICAL, 0);
  EXPECT_EQ(Str(RectIn(client, c)), "0,0,300,376");
  ShowWindow(a, SW_MINIMIZE);
  EXPECT_EQ(Str(RectIn(client, a)), "160,376,320,400");
}

TEST_F(Mdi, MaximisedChildLivesInTheFrameMenuBarAndTitle) {
  HWND a = NewChild("Alpha");
  HWND b = NewChild("Beta");
  int items = GetMenuItemCount(menu);
  SendMessage(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
  BOOL maximized = FALSE;
  EXPECT_EQ(Active(&maximized), b);
  EXPECT_TRUE(maximized);
  // The child's client area covers the MDI client.
  RECT childClient, clientArea;
  GetClientRect(b, &childClient);
  GetClientRect(client, &clientArea);
  EXPECT_EQ(childClient.right, clientArea.right);
  EXPECT_EQ(childClient.bottom, clientArea.bottom);
  POINT origin{0, 0};
  MapWindowPoints(b, client, &origin, 1);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  // The system menu comes first, the three buttons last, right-justified.
  ASSERT_EQ(GetMenuItemCount(menu), items + 4);
  EXPECT_EQ(GetSubMenu(menu, 0), GetSystemMenu(b, FALSE));
  EXPECT_EQ(GetMenuItemID(menu, items + 1), static_cast<UINT>(SC_MINIMIZE));
  EXPECT_EQ(GetMenuItemID(menu, items + 2), static_cast<UINT>(SC_RESTORE));
  EXPECT_EQ(GetMenuItemID(menu, items + 3), static_cast<UINT>(SC_CLOSE));
  EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(items + 1), MF_BYPOSITION) & MF_BITMAP);
  EXPECT_EQ(Text(frame), "Frame - [Beta]");
  RECT closeItem, frameRect, fileItem;
  ASSERT_TRUE(GetMenuItemRect(frame, menu, static_cast<UINT>(items + 3), &closeItem));
  ASSERT_TRUE(GetMenuItemRect(frame, menu, 1, &fileItem));
  GetWindowRect(frame, &frameRect);
  EXPECT_EQ(closeItem.right, frameRect.right - GetSystemMetrics(SM_CXFRAME));
  EXPECT_EQ(fileItem.left, frameRect.left + GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXSMICON) + 4);

  // The maximised state moves with activation; the title follows.
  SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_TRUE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(b));
  EXPECT_EQ(GetSubMenu(menu, 0), GetSystemMenu(a, FALSE));
  EXPECT_EQ(Text(frame), "Frame - [Alpha]");
  // A new child comes maximised.
  HWND c = NewChild("Gamma");
  EXPECT_TRUE(IsZoomed(c));
  EXPECT_EQ(GetMenuItemCount(menu), items + 4);
  // The restore button on the menu bar is a command that reaches the child as SC_RESTORE.
  SendMessage(frame, WM_COMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(c));
  EXPECT_EQ(GetMenuItemCount(menu), items);
  EXPECT_EQ(Text(frame), "Frame");
  // Setting another frame menu carries the list over.
  HMENU other = CreateMenu();
  HMENU otherWindow = CreatePopupMenu();
  AppendMenu(other, MF_POPUP, reinterpret_cast<UINT_PTR>(otherWindow), "&Window");
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessage(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(other),
                                                reinterpret_cast<LPARAM>(otherWindow))),
            menu);
  EXPECT_EQ(GetMenu(frame), other);
  EXPECT_EQ(GetMenuItemCount(windowMenu), 1);
  EXPECT_EQ(GetMenuItemCount(otherWindow), 4);
  SetMenu(frame, menu);
  DestroyMenu(other);
}

TEST_F(Mdi, AnItemPutAfterTheListStaysAfterItAsWindowsComeGoAndAreRenamed) {
  HWND a = NewChild("Alpha");
  AppendMenu(windowMenu, MF_STRING, 300, "&Windows...");
  HWND b = NewChild("Beta");
  SetWindowText(a, "Alpha 2");
  SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"&1 Alpha 2*", "&2 Beta"}));
  // Cascade, the separator, the list, the item.
  EXPECT_EQ(GetMenuItemCount(windowMenu), 5);
  EXPECT_EQ(GetMenuState(windowMenu, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuItemID(windowMenu, 4), 300u);
  SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(b), 0);
  SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_EQ(GetMenuItemCount(windowMenu), 2);
  EXPECT_EQ(GetMenuItemID(windowMenu, 1), 300u);
}

TEST_F(Mdi, MoreWindowsFollowsTheNinthChild) {
  std::vector<HWND> children;
  for (int i = 0; i < 10; ++i) children.push_back(NewChild(("Doc" + std::to_string(i)).c_str()));
  auto titles = Listed();
  ASSERT_EQ(titles.size(), 10u);
  // The active tenth child took the ninth place so the menu shows it.
  EXPECT_EQ(titles[8], "&9 Doc9*");
  EXPECT_EQ(titles[9], "&More Windows...");
  EXPECT_EQ(GetMenuItemID(windowMenu, GetMenuItemCount(windowMenu) - 1), 0xFF09u);
  EXPECT_EQ(GetDlgCtrlID(children[9]), 0xFF08);
  EXPECT_EQ(GetDlgCtrlID(children[8]), 0xFF09);
}

TEST_F(Mdi, ActiveChildCaptionIsActiveOthersInactive) {
  HWND a = NewChild("A");
  HWND b = NewChild("B");
  SendMessage(client, WM_MDITILE, MDITILE_VERTICAL, 0);
  SetActiveWindow(frame);
  RunUntilIdle();
  int y = GetSystemMetrics(SM_CYFRAME) + 3;
  EXPECT_EQ(WindowPixel(b, 30, y), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(WindowPixel(a, 30, y), GetSysColor(COLOR_INACTIVECAPTION));
  SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(a, 30, y), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(WindowPixel(b, 30, y), GetSysColor(COLOR_INACTIVECAPTION));
}

}  // namespace
