// What a program hangs on windows and menus: properties, window regions, menu-wide settings, and
// the menu bar and popup menus a program asks about.
#include "WinTestSupport.h"
#include "gdi/Objects.h"

#include <array>

using namespace wintest;
using namespace brambolt::test;

class WindowData : public WinTest {};

TEST_F(WindowData, PropertiesByNameOrAtomBelongToOneWindow) {
  HWND a = MakeWindow(nullptr, WS_POPUP);
  HWND b = MakeWindow(nullptr, WS_POPUP);
  int value = 0;
  EXPECT_TRUE(SetPropA(a, "Brambolt.Owner", &value));
  EXPECT_EQ(GetPropA(a, "brambolt.owner"), &value) << "names compare without case";
  EXPECT_EQ(GetProp(b, "Brambolt.Owner"), nullptr);
  int other = 0;
  EXPECT_TRUE(SetProp(a, MAKEINTATOM(0x1234), &other));
  EXPECT_EQ(GetProp(a, MAKEINTATOM(0x1234)), &other);
  EXPECT_TRUE(SetProp(a, "Brambolt.Owner", nullptr));
  EXPECT_EQ(GetProp(a, "Brambolt.Owner"), nullptr);
  EXPECT_TRUE(SetProp(a, "Other", &value));
  EXPECT_EQ(RemovePropA(a, "Other"), &value);
  EXPECT_EQ(RemoveProp(a, "Other"), nullptr);
  EXPECT_FALSE(SetProp(nullptr, "Other", &value));
}

TEST_F(WindowData, WindowRegionShapesWhereTheMouseFindsTheWindow) {
  HWND below = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND shaped = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{50, 50, 150, 150});
  EXPECT_EQ(WindowFromPoint(POINT{55, 55}), shaped);
  HRGN rgn = CreateEllipticRgn(0, 0, 100, 100);
  ASSERT_TRUE(SetWindowRgn(shaped, rgn, TRUE));
  EXPECT_EQ(WindowFromPoint(POINT{55, 55}), below) << "a corner outside the ellipse";
  EXPECT_EQ(WindowFromPoint(POINT{100, 100}), shaped);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(shaped, copy), COMPLEXREGION);
  RECT box;
  GetRgnBox(copy, &box);
  EXPECT_EQ(box.right, 100);
  ASSERT_TRUE(SetWindowRgn(shaped, nullptr, TRUE));
  EXPECT_EQ(GetWindowRgn(shaped, copy), ERROR);
  EXPECT_EQ(WindowFromPoint(POINT{55, 55}), shaped);
  DeleteObject(copy);
}

TEST_F(WindowData, MenuSettingsAreKeptAndReachSubmenusOnRequest) {
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&File");
  MENUINFO set{sizeof set, MIM_STYLE | MIM_MENUDATA | MIM_APPLYTOSUBMENUS, MNS_NOTIFYBYPOS, 0, nullptr, 0, 77};
  ASSERT_TRUE(SetMenuInfo(bar, &set));
  for (HMENU m : {bar, sub}) {
    MENUINFO got{sizeof got, MIM_STYLE | MIM_MENUDATA, 0, 0, nullptr, 0, 0};
    ASSERT_TRUE(GetMenuInfo(m, &got));
    EXPECT_EQ(got.dwStyle, static_cast<DWORD>(MNS_NOTIFYBYPOS));
    EXPECT_EQ(got.dwMenuData, 77u);
  }
  MENUINFO bad{0, MIM_STYLE, 0, 0, nullptr, 0, 0};
  EXPECT_FALSE(GetMenuInfo(bar, &bad));
  DestroyMenu(bar);
}

TEST_F(WindowData, MenuBarInfoGivesTheBarAndItsItemsOnScreen) {
  HWND frame = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{20, 20, 320, 220});
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_STRING, 1, "&One");
  AppendMenu(bar, MF_STRING, 2, "&Two");
  SetMenu(frame, bar);
  MENUBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetMenuBarInfo(frame, OBJID_MENU, 0, &info));
  EXPECT_EQ(info.hMenu, bar);
  POINT client{0, 0};
  ClientToScreen(frame, &client);
  EXPECT_EQ(info.rcBar.bottom, client.y) << "the bar lies right above the client area";
  RECT two;
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 1, &two));
  ASSERT_TRUE(GetMenuBarInfo(frame, OBJID_MENU, 2, &info));
  EXPECT_EQ(info.rcBar.left, two.left);
  EXPECT_EQ(info.rcBar.right, two.right);
  EXPECT_FALSE(GetMenuBarInfo(frame, OBJID_MENU, 3, &info));
}

TEST_F(WindowData, MenuBarInfoTellsTheFocusInKeyboardMenuMode) {
  HWND frame = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{20, 20, 320, 220});
  HMENU bar = CreateMenu();
  for (const char* name : {"&File", "&Edit"}) {
    HMENU popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, 10, "&Item");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
  }
  SetMenu(frame, bar);
  SetActiveWindow(frame);
  SetFocus(frame);
  RunUntilIdle();
  MENUBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetMenuBarInfo(frame, OBJID_MENU, 0, &info));
  EXPECT_FALSE(info.fBarFocused);
  EXPECT_FALSE(info.fFocused);
  // During the menu loop F10 started, then after Right moved to the second item.
  std::vector<std::array<bool, 4>> seen;  // fBarFocused, fFocused of the bar, of item 1, of item 2
  ModalAnswers answers;
  answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND) {
    std::array<bool, 4> now{};
    for (LONG item = 0; item <= 2; ++item) {
      MENUBARINFO during{};
      during.cbSize = sizeof during;
      EXPECT_TRUE(GetMenuBarInfo(frame, OBJID_MENU, item, &during));
      if (item == 0) now[0] = during.fBarFocused != 0;
      now[static_cast<size_t>(item) + 1] = during.fFocused != 0;
    }
    seen.push_back(now);
    if (seen.size() > 1) {
      EndMenu();
      return;
    }
    brambolt::InjectKey(VK_RIGHT, true);
    brambolt::InjectKey(VK_RIGHT, false);
  }, true);
  PressKey(VK_F10);
  RunUntilIdle();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (std::array<bool, 4>{true, true, true, false}));
  EXPECT_EQ(seen[1], (std::array<bool, 4>{true, true, false, true}));
  ASSERT_TRUE(GetMenuBarInfo(frame, OBJID_MENU, 1, &info));
  EXPECT_FALSE(info.fFocused) << "the menu loop is over";
  SetMenu(frame, nullptr);
  DestroyMenu(bar);
}

TEST_F(WindowData, SeparatorsReportThemselvesGrayedHoweverMade) {
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, 1, "One");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  InsertMenu(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_STRING, 2, "Two");
  ModifyMenu(menu, 2, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
  MENUITEMINFO insert{};
  insert.cbSize = sizeof insert;
  insert.fMask = MIIM_FTYPE;
  insert.fType = MFT_SEPARATOR;
  InsertMenuItem(menu, 4, TRUE, &insert);
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  for (UINT i = 0; i < 5; ++i) {
    MENUITEMINFO read{};
    read.cbSize = sizeof read;
    read.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfo(menu, i, TRUE, &read));
    if (i == 1) {
      EXPECT_EQ(read.fState, 0u) << "the string item stays enabled";
      continue;
    }
    EXPECT_EQ(read.fType, static_cast<UINT>(MFT_SEPARATOR)) << i;
    EXPECT_EQ(read.fState, static_cast<UINT>(MFS_GRAYED)) << i;
    EXPECT_EQ(read.wID, 0u) << i;
  }
  DestroyMenu(menu);
}

TEST_F(WindowData, PopupMenuWindowsAnswerWithTheirMenu) {
  HWND owner = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU popup = CreatePopupMenu();
  AppendMenu(popup, MF_STRING, 1, "One");
  HMENU answered = nullptr;
  ModalAnswers answers;
  answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND window) {
    answered = reinterpret_cast<HMENU>(SendMessage(window, MN_GETHMENU, 0, 0));
    EndMenu();
  });
  TrackPopupMenu(popup, TPM_RETURNCMD, 40, 40, 0, owner, nullptr);
  EXPECT_EQ(answered, popup);
  DestroyMenu(popup);
}

