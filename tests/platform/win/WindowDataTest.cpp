// What a program hangs on windows and menus: properties, window regions, menu-wide settings, and
// the menu bar and popup menus a program asks about.
#include "WinTestSupport.h"
#include "gdi/Objects.h"

#include <array>
#include <cstddef>
#include <utility>

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
  EXPECT_EQ(two.bottom - two.top, GetSystemMetrics(SM_CYMENU) - 1) << "an item is a pixel less high than the bar";
  EXPECT_EQ(two.top, info.rcBar.top);
  ASSERT_TRUE(GetMenuBarInfo(frame, OBJID_MENU, 2, &info));
  EXPECT_EQ(info.rcBar.left, two.left);
  EXPECT_EQ(info.rcBar.right, two.right);
  EXPECT_FALSE(GetMenuBarInfo(frame, OBJID_MENU, 3, &info));
}

// GetMenuItemRect gives a bar item where the window has its bar, whatever edge and scroll bar the
// client area has: the item's corners are on the bar, the points beyond its edges are not.
TEST_F(WindowData, MenuItemRectsOfTheBarAreWhereTheBarIs) {
  struct Case {
    DWORD style, exStyle;
  } const cases[] = {{0, 0}, {0, WS_EX_CLIENTEDGE}, {WS_VSCROLL, WS_EX_CLIENTEDGE}, {WS_VSCROLL, 0}};
  for (const Case& c : cases) {
    HWND frame = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE | c.style, RECT{20, 20, 320, 220}, 0, c.exStyle);
    HMENU bar = CreateMenu();
    for (const char* name : {"&File", "&Edit", "&Help"}) AppendMenu(bar, MF_STRING, 1, name);
    SetMenu(frame, bar);
    const auto hit = [&](int x, int y) { return SendMessage(frame, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
    for (UINT i = 0; i < 3; ++i) {
      RECT r;
      ASSERT_TRUE(GetMenuItemRect(frame, bar, i, &r));
      const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
      EXPECT_EQ(hit(r.left, r.top), HTMENU) << i << " " << c.exStyle << " " << c.style;
      EXPECT_EQ(hit(r.right - 1, r.bottom - 1), HTMENU) << i << " " << c.exStyle << " " << c.style;
      EXPECT_NE(hit(midX, r.top - 1), HTMENU) << i << " " << c.exStyle << " " << c.style;
      EXPECT_EQ(hit(midX, r.bottom), HTMENU) << "the bar's last line, below its items";
      EXPECT_NE(hit(midX, r.bottom + 1), HTMENU) << i << " " << c.exStyle << " " << c.style;
      if (i == 0) {
        EXPECT_NE(hit(r.left - 1, midY), HTMENU) << c.exStyle << " " << c.style;
      }
    }
    SetMenu(frame, nullptr);
    DestroyMenu(bar);
    DestroyWindow(frame);
  }
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

// CheckMenuRadioItem checks one item of a group as a radio item and clears the check and the radio
// type of the rest of the group, by command or by position; items outside the group keep theirs.
TEST_F(WindowData, RadioItemsTakeTheRadioTypeFromTheRestOfTheirGroup) {
  HMENU menu = CreatePopupMenu();
  for (UINT id = 1; id <= 4; ++id) AppendMenu(menu, MF_STRING, id, "Item");
  CheckMenuItem(menu, 4, MF_BYCOMMAND | MF_CHECKED);
  const auto radio = [menu](UINT id) {
    MENUITEMINFO read{};
    read.cbSize = sizeof read;
    read.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfo(menu, id, FALSE, &read);
    return std::make_pair((read.fType & MFT_RADIOCHECK) != 0, (read.fState & MFS_CHECKED) != 0);
  };
  ASSERT_TRUE(CheckMenuRadioItem(menu, 1, 3, 2, MF_BYCOMMAND));
  EXPECT_EQ(radio(2), std::make_pair(true, true));
  ASSERT_TRUE(CheckMenuRadioItem(menu, 0, 2, 2, MF_BYPOSITION));  // the item of id 3
  const std::pair<bool, bool> want[] = {{false, false}, {false, false}, {true, true}, {false, true}};
  for (UINT id = 1; id <= 4; ++id) EXPECT_EQ(radio(id), want[id - 1]) << id;
  DestroyMenu(menu);
}

// The item functions take a MENUITEMINFO of its whole size or of the older size that ends before
// hbmpItem; any other size fails with ERROR_INVALID_PARAMETER and changes nothing.
TEST_F(WindowData, MenuItemInfoMustBeOfADocumentedSize) {
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, 1, "One");
  for (UINT size : {0u, 5u, static_cast<UINT>(sizeof(MENUITEMINFO)) + 4u,
                    static_cast<UINT>(offsetof(MENUITEMINFO, hbmpItem)), static_cast<UINT>(sizeof(MENUITEMINFO))}) {
    const bool valid = size == sizeof(MENUITEMINFO) || size == offsetof(MENUITEMINFO, hbmpItem);
    MENUITEMINFO info{};
    info.cbSize = size;
    info.fMask = MIIM_ID | MIIM_STATE;
    info.wID = 7;
    info.fState = MFS_CHECKED;
    SetLastError(0);
    EXPECT_EQ(InsertMenuItem(menu, 0, TRUE, &info), valid ? TRUE : FALSE) << size;
    EXPECT_EQ(SetMenuItemInfo(menu, 0, TRUE, &info), valid ? TRUE : FALSE) << size;
    EXPECT_EQ(GetMenuItemInfo(menu, 0, TRUE, &info), valid ? TRUE : FALSE) << size;
    EXPECT_EQ(GetLastError(), valid ? 0u : static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << size;
  }
  EXPECT_EQ(GetMenuItemCount(menu), 3) << "only the two calls of a valid size inserted";
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


namespace {

// Answers every popup menu loop of a test: records the menu shown, then presses the next key of a
// script, or ends the menu when the script is done.
struct MenuScript {
  std::vector<HMENU> shown;
  std::vector<UINT> keys;
  size_t next = 0;
  ModalAnswers answers;
  std::function<void(HWND)> look;

  MenuScript() {
    answers.When(MENU_WINDOW_CLASS, nullptr, [this](HWND window) {
      shown.push_back(reinterpret_cast<HMENU>(SendMessage(window, MN_GETHMENU, 0, 0)));
      if (look) look(window);
      if (next >= keys.size()) {
        EndMenu();
        return;
      }
      for (; next < keys.size() && keys[next] != 0; ++next) {
        brambolt::InjectKey(keys[next], true);
        brambolt::InjectKey(keys[next], false);
      }
      if (next < keys.size()) ++next;  // a 0 waits for the next popup
    }, true);
  }
  void Start(std::vector<UINT> script) {
    shown.clear();
    keys = std::move(script);
    next = 0;
  }
};

}  // namespace

// After a lone Alt the letters name the bar's items, before those of the popup shown: the item's
// popup opens, and a disabled item's letter ends the menu mode, as Alt with that letter does at
// once. Once the bar's letter was given, the letters are the popup's.
TEST_F(WindowData, TheLetterOfADisabledBarItemEndsTheMenuMode) {
  brambolt::test::HangWatchdog watchdog("a menu mode waiting after a disabled item's letter");
  HWND frame = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{20, 20, 320, 220});
  HMENU bar = CreateMenu();
  std::vector<HMENU> popups;
  for (const char* name : {"&File", "&Disabled", "&Edit"}) {
    HMENU popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, 10, "&Item");
    AppendMenu(popup, MF_STRING, 11, "&Edit here");
    AppendMenu(bar, MF_POPUP | (name[1] == 'D' ? MF_GRAYED : 0), reinterpret_cast<UINT_PTR>(popup), name);
    popups.push_back(popup);
  }
  SetMenu(frame, bar);
  SetActiveWindow(frame);
  SetFocus(frame);
  RunUntilIdle();
  MenuScript script;
  const auto barFocused = [&] {
    MENUBARINFO info{};
    info.cbSize = sizeof info;
    GetMenuBarInfo(frame, OBJID_MENU, 0, &info);
    return info.fBarFocused != 0;
  };
  script.Start({'D'});
  PressKey(VK_MENU);
  RunUntilIdle();
  EXPECT_EQ(script.shown, (std::vector<HMENU>{popups[0]}));
  EXPECT_FALSE(barFocused());
  script.Start({'E', 0});
  PressKey(VK_MENU);
  RunUntilIdle();
  EXPECT_EQ(script.shown, (std::vector<HMENU>{popups[0], popups[2]})) << "Alt, then E opens Edit";
  EXPECT_TRUE(Of(frame, WM_COMMAND).empty()) << "not File's Edit here";
  script.Start({'F', 'E'});
  PressKey(VK_MENU);
  RunUntilIdle();
  EXPECT_EQ(script.shown, (std::vector<HMENU>{popups[0]}));
  const auto commands = Of(frame, WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), 11) << "after F, E is File's Edit here";
  script.Start({});
  PressKey('D', kAlt);
  RunUntilIdle();
  EXPECT_TRUE(script.shown.empty()) << "Alt+D opens nothing";
  EXPECT_FALSE(barFocused());
  SetMenu(frame, nullptr);
  DestroyMenu(bar);
}

// Esc closes a bar item's popup however it was opened and leaves the item highlighted, the bar
// keeping the focus; there Esc or Alt leaves the menu mode, and Down opens a popup again. The
// letter of a disabled item in an open popup chooses nothing and ends the menu mode, keys queued
// behind it reach the window.
TEST_F(WindowData, EscapeReturnsToTheBarAndADisabledItemsLetterEndsTheMenuMode) {
  brambolt::test::HangWatchdog watchdog("a menu mode that no key ends");
  HWND frame = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{20, 20, 320, 220});
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu(), edit = CreatePopupMenu();
  AppendMenu(file, MF_STRING, 10, "&Open");
  AppendMenu(file, MF_STRING | MF_GRAYED, 11, "&Gone");
  AppendMenu(edit, MF_STRING, 20, "&Undo");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  SetMenu(frame, bar);
  SetActiveWindow(frame);
  SetFocus(frame);
  RunUntilIdle();
  RECT fileItem{};
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &fileItem));
  const POINT onFile{(fileItem.left + fileItem.right) / 2, (fileItem.top + fileItem.bottom) / 2};
  const auto hilited = [&] {
    for (UINT i = 0; i < 2; ++i)
      if (GetMenuState(bar, i, MF_BYPOSITION) & MF_HILITE) return static_cast<int>(i);
    return -1;
  };
  const auto barFocused = [&] {
    MENUBARINFO info{};
    info.cbSize = sizeof info;
    GetMenuBarInfo(frame, OBJID_MENU, 0, &info);
    return info.fBarFocused != 0;
  };
  const auto press = [](std::initializer_list<UINT> keys) {
    for (UINT vk : keys) {
      brambolt::InjectKey(vk, true);
      brambolt::InjectKey(vk, false);
    }
  };
  // While the bar alone has the focus: the item highlighted, whether a popup shows, then keys.
  std::vector<std::string> barStates;
  std::vector<UINT> barKeys;
  ModalAnswers barAnswers;
  barAnswers.When(LoggingClass(), nullptr, [&](HWND) {
    barStates.push_back(std::to_string(hilited()) + (FindWindow(MENU_WINDOW_CLASS, nullptr) ? " popup" : "") +
                        (barFocused() ? " focused" : ""));
    if (barKeys.empty()) EndMenu();
    for (UINT vk : barKeys) press({vk});
    barKeys.clear();
  }, true);
  MenuScript script;
  const struct Case {
    const char* how;
    std::function<void()> start;
    std::vector<UINT> popupKeys, barKeys;  // 0 in popupKeys waits for the next popup
    std::vector<HMENU> shown;
    std::vector<std::string> barStates;
    UINT command;
  } cases[] = {
      {"Alt+F, Esc, Esc", [&] { PressKey('F', kAlt); }, {VK_ESCAPE}, {VK_ESCAPE}, {file}, {"0 focused"}, 0},
      {"Alt, F, Esc, Alt", [&] { PressKey(VK_MENU); }, {'F', VK_ESCAPE}, {VK_MENU}, {file}, {"0 focused"}, 0},
      {"a click on File, Esc, Esc", [&] { ClickAt(onFile); }, {VK_ESCAPE}, {VK_ESCAPE}, {file}, {"0 focused"}, 0},
      {"Alt+F, Esc, Right, Down, Enter", [&] { PressKey('F', kAlt); }, {VK_ESCAPE, 0, VK_RETURN},
       {VK_RIGHT, VK_DOWN}, {file, edit}, {"0 focused"}, 20},
      {"Alt, F, Esc, Alt queued at once",
       [&] {
         press({VK_MENU, 'F', VK_ESCAPE, VK_MENU});
         RunUntilIdle();
       },
       {}, {}, {}, {}, 0},
      {"Alt+F, the disabled item's G, Up, Enter", [&] { PressKey('F', kAlt); }, {'G', VK_UP, VK_RETURN}, {}, {file},
       {}, 0},
  };
  for (const Case& c : cases) {
    MessageLog::Instance().Clear();
    barStates.clear();
    barKeys = c.barKeys;
    script.Start(c.popupKeys);
    c.start();
    RunUntilIdle();
    EXPECT_EQ(script.shown, c.shown) << c.how;
    EXPECT_EQ(barStates, c.barStates) << c.how;
    const auto commands = Of(frame, WM_COMMAND);
    EXPECT_EQ(commands.empty() ? 0u : LOWORD(commands[0].wParam), c.command) << c.how;
    EXPECT_EQ(hilited(), -1) << c.how << ": the menu mode is over";
    EXPECT_FALSE(barFocused()) << c.how;
  }
  // The same letter in a popup of TrackPopupMenu ends it with nothing chosen.
  script.Start({'G', VK_UP, VK_RETURN});
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 40, 40, 0, frame, nullptr), 0);
  RunUntilIdle();
  SetMenu(frame, nullptr);
  DestroyMenu(bar);
}

// DestroyMenu on a submenu its item still opens makes the handle no menu at once, yet the item
// still opens it, by keys or with the mouse, until the item lets it go.
TEST_F(WindowData, ASubmenuDestroyedWhileItsItemHoldsItIsNoMenuYetStillOpens) {
  brambolt::test::HangWatchdog watchdog("a menu waiting in a destroyed submenu");
  HWND owner = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU popup = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, 7, "&Seven");
  AppendMenu(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  AppendMenu(popup, MF_STRING, 1, "&One");
  EXPECT_TRUE(DestroyMenu(sub));
  EXPECT_FALSE(IsMenu(sub));
  MENUINFO info{sizeof info, MIM_STYLE, 0, 0, nullptr, 0, 0};
  SetLastError(0);
  EXPECT_FALSE(GetMenuInfo(sub, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_EQ(GetMenuItemCount(sub), -1);
  EXPECT_FALSE(DestroyMenu(sub)) << "a handle is destroyed once";
  MenuScript script;
  script.Start({VK_DOWN, VK_RIGHT, VK_RETURN});  // the submenu opens in the same loop
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 40, 40, 0, owner, nullptr), 7);
  EXPECT_EQ(script.shown, (std::vector<HMENU>{popup}));
  script.Start({VK_DOWN, VK_RETURN});  // in the submenu the click opened
  script.look = [&](HWND) {
    RECT more{};
    ASSERT_TRUE(GetMenuItemRect(nullptr, popup, 0, &more));
    const POINT at{(more.left + more.right) / 2, (more.top + more.bottom) / 2};
    brambolt::InjectMouseMove(at);
    brambolt::InjectMouseButton(WM_LBUTTONDOWN, at);
    brambolt::InjectMouseButton(WM_LBUTTONUP, at);
  };
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 40, 40, 0, owner, nullptr), 7) << "opened with the mouse";
  script.look = nullptr;
  EXPECT_TRUE(RemoveMenu(popup, 0, MF_BYPOSITION));
  EXPECT_EQ(GetMenuItemCount(popup), 1);
  DestroyMenu(popup);
}

// A popup menu with no items, even after its owner had WM_INITMENUPOPUP, shows nothing, selects
// nothing (no WM_MENUSELECT) and returns.
TEST_F(WindowData, AnEmptyPopupMenuReturnsAtOnce) {
  brambolt::test::HangWatchdog watchdog("an empty popup menu");
  HWND owner = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU empty = CreatePopupMenu();
  MenuScript script;
  script.Start({});
  MessageLog::Instance().Clear();
  EXPECT_EQ(TrackPopupMenu(empty, TPM_RETURNCMD, 40, 40, 0, owner, nullptr), 0);
  EXPECT_FALSE(TrackPopupMenu(empty, 0, 40, 40, 0, owner, nullptr));
  EXPECT_TRUE(script.shown.empty());
  EXPECT_EQ(Of(owner, WM_INITMENUPOPUP).size(), 2u);
  EXPECT_TRUE(Of(owner, WM_MENUSELECT).empty());
  // One the owner fills when asked shows.
  MessageLog::Instance().SetHandler([&](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    if (msg == WM_INITMENUPOPUP && GetMenuItemCount(reinterpret_cast<HMENU>(wp)) == 0)
      AppendMenu(reinterpret_cast<HMENU>(wp), MF_STRING, 3, "&Three");
    return false;
  });
  script.Start({VK_DOWN, VK_RETURN});
  EXPECT_EQ(TrackPopupMenu(empty, TPM_RETURNCMD, 40, 40, 0, owner, nullptr), 3);
  EXPECT_EQ(script.shown, (std::vector<HMENU>{empty}));
  DestroyMenu(empty);
}

// Owner-drawn items are as high as WM_MEASUREITEM answers (the height of the system font,
// HIWORD(GetDialogBaseUnits()), given to start from) and two average characters of the menu font
// wider than it answers; a column break starts a new column four pixels to the right.
// GetMenuItemRect tells where the items of the popup are on the screen, while it shows and after.
TEST_F(WindowData, OwnerDrawnItemsTakeTheirMeasuredSizeInColumns) {
  HWND owner = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_OWNERDRAW, 1, nullptr);
  AppendMenu(menu, MF_OWNERDRAW, 2, nullptr);
  AppendMenu(menu, MF_OWNERDRAW | MF_MENUBREAK, 3, nullptr);
  AppendMenu(menu, MF_OWNERDRAW | MF_MENUBARBREAK, 4, nullptr);
  UINT given = 0;
  MessageLog::Instance().SetHandler([&](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT& r) {
    if (msg != WM_MEASUREITEM) return false;
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (mis->itemID == 2) given = mis->itemHeight;  // left as given
    else mis->itemHeight = 20;
    mis->itemWidth = mis->itemID == 3 ? 70 : 60;
    r = TRUE;
    return true;
  });
  HMENU text = CreatePopupMenu();
  AppendMenu(text, MF_STRING, 1, "&Text");
  std::vector<RECT> rects;
  RECT popup{}, textItem{};
  MenuScript script;
  script.look = [&](HWND window) {
    auto shown = reinterpret_cast<HMENU>(SendMessage(window, MN_GETHMENU, 0, 0));
    if (shown == text) {
      GetMenuItemRect(owner, text, 0, &textItem);
      return;
    }
    GetWindowRect(window, &popup);
    for (UINT i = 0; i < 4; ++i) {
      RECT r{};
      EXPECT_TRUE(GetMenuItemRect(nullptr, menu, i, &r));
      rects.push_back(r);
    }
  };
  script.Start({});
  TrackPopupMenu(text, TPM_RETURNCMD, 40, 40, 0, owner, nullptr);
  TrackPopupMenu(menu, TPM_RETURNCMD, 40, 40, 0, owner, nullptr);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(given, static_cast<UINT>(HIWORD(GetDialogBaseUnits())));
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  HFONT menuFont = CreateFontIndirect(&metrics.lfMenuFont);
  HDC dc = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, menuFont);
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, oldFont);
  ReleaseDC(nullptr, dc);
  DeleteObject(menuFont);
  const int more = 2 * tm.tmAveCharWidth;
  const auto size = [](const RECT& r) { return std::make_pair(r.right - r.left, r.bottom - r.top); };
  EXPECT_EQ(size(rects[0]), std::make_pair(60 + more, 20));
  EXPECT_EQ(size(rects[1]), std::make_pair(60 + more, static_cast<int>(given)));
  EXPECT_EQ(rects[1].top, rects[0].bottom);
  EXPECT_EQ(size(rects[2]), std::make_pair(70 + more, 20));
  EXPECT_EQ(rects[2].left, rects[0].right + 4);
  EXPECT_EQ(rects[2].top, rects[0].top);
  EXPECT_EQ(rects[3].left, rects[2].right + 4);
  EXPECT_EQ(rects[3].top, rects[0].top);
  for (UINT i = 0; i < 4; ++i) {
    RECT inside, after{};
    EXPECT_TRUE(IntersectRect(&inside, &rects[i], &popup) && EqualRect(&inside, &rects[i]))
        << "within the popup on the screen";
    EXPECT_TRUE(GetMenuItemRect(nullptr, menu, i, &after)) << "the popup is closed";
    EXPECT_TRUE(EqualRect(&after, &rects[i])) << i;
  }
  RECT none;
  EXPECT_FALSE(GetMenuItemRect(nullptr, menu, 4, &none));
  DestroyMenu(menu);
  DestroyMenu(text);
}

// An owner-drawn item of the menu bar is as wide as its window answers to WM_MEASUREITEM, with
// the margins of every bar item, and as high as the bar's line, like a text item; the window draws
// it with WM_DRAWITEM where the item is, selected while it is highlighted. The text items after it
// move along.
TEST_F(WindowData, OwnerDrawnBarItemsTakeTheirMeasuredWidthAndAreDrawnByTheirWindow) {
  HWND frame = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{20, 20, 420, 220});
  std::vector<DRAWITEMSTRUCT> drawn;
  MessageLog::Instance().SetHandler([&](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT& r) {
    if (msg == WM_MEASUREITEM) {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis->CtlType != ODT_MENU || mis->itemData != 77) return false;
      mis->itemWidth = 57;
      mis->itemHeight = 40;
      r = TRUE;
      return true;
    }
    if (msg == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType != ODT_MENU) return false;
      drawn.push_back(*dis);
      HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
      FillRect(dis->hDC, &dis->rcItem, green);
      DeleteObject(green);
      r = TRUE;
      return true;
    }
    return false;
  });
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_STRING, 1, "&One");
  AppendMenu(bar, MF_OWNERDRAW, 2, reinterpret_cast<const char*>(static_cast<UINT_PTR>(77)));
  AppendMenu(bar, MF_STRING, 3, "&Three");
  SetMenu(frame, bar);
  RunUntilIdle();
  RECT one, drawnItem, three;
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &one));
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 1, &drawnItem));
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 2, &three));
  EXPECT_EQ(drawnItem.right - drawnItem.left, 57 + 2 * 6) << "the measured width and the margins of a bar item";
  EXPECT_EQ(drawnItem.bottom - drawnItem.top, GetSystemMetrics(SM_CYMENU) - 1) << "the bar's line, not the measured height";
  EXPECT_EQ(one.bottom - one.top, GetSystemMetrics(SM_CYMENU) - 1);
  EXPECT_EQ(drawnItem.left, one.right);
  EXPECT_EQ(three.left, drawnItem.right);
  ASSERT_FALSE(drawn.empty());
  const DRAWITEMSTRUCT& last = drawn.back();
  EXPECT_EQ(last.itemID, 2u);
  EXPECT_EQ(last.itemData, 77u);
  EXPECT_EQ(last.hwndItem, reinterpret_cast<HWND>(bar));
  EXPECT_EQ(last.itemState & ODS_SELECTED, 0u);
  RECT window;
  GetWindowRect(frame, &window);
  RECT expected = drawnItem;
  OffsetRect(&expected, -window.left, -window.top);
  EXPECT_TRUE(EqualRect(&last.rcItem, &expected)) << "in window coordinates of the bar's DC";
  EXPECT_EQ(WindowPixel(frame, (expected.left + expected.right) / 2, (expected.top + expected.bottom) / 2),
            RGB(0, 160, 0));
  HiliteMenuItem(frame, bar, 1, MF_BYPOSITION | MF_HILITE);
  drawn.clear();
  DrawMenuBar(frame);
  RunUntilIdle();
  ASSERT_FALSE(drawn.empty());
  EXPECT_NE(drawn.back().itemState & ODS_SELECTED, 0u);
  SetMenu(frame, nullptr);
  DestroyMenu(bar);
}

// While a bar item's popup is open, the bar is in the menu mode: the open item has the focus and
// names its submenu's window, the whole bar and the other items name none. A popup asked about
// its client area is in the menu mode too, and has the focus while it takes the keys (until its
// own submenu opens); its selected item has the focus.
TEST_F(WindowData, MenuBarInfoNamesTheOpenSubmenuOnlyForItsItem) {
  brambolt::test::HangWatchdog watchdog("a menu mode that does not end");
  HWND frame = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{20, 20, 320, 220});
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu(), more = CreatePopupMenu(), edit = CreatePopupMenu();
  AppendMenu(more, MF_STRING, 12, "&Deeper");
  AppendMenu(more, MF_STRING, 14, "D&eepest");
  AppendMenu(file, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
  AppendMenu(file, MF_STRING, 11, "&Item");
  AppendMenu(edit, MF_STRING, 13, "&Cut");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  SetMenu(frame, bar);
  SetActiveWindow(frame);
  SetFocus(frame);
  RunUntilIdle();
  struct Seen {
    HWND popup;
    MENUBARINFO whole, open, other, client, first, second;
  };
  std::vector<Seen> seen;
  std::vector<HWND> popups;
  const auto ask = [](HWND h, LONG object, LONG item) {
    MENUBARINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetMenuBarInfo(h, object, item, &info)) << object << " " << item;
    return info;
  };
  // Each time the menu loop idles: File's popup alone first, then Right opens its submenu.
  const auto menuWindow = [](HMENU menu) {
    for (HWND h = FindWindowEx(nullptr, nullptr, MENU_WINDOW_CLASS, nullptr); h != nullptr;
         h = FindWindowEx(nullptr, h, MENU_WINDOW_CLASS, nullptr))
      if (IsWindowVisible(h) && reinterpret_cast<HMENU>(SendMessage(h, MN_GETHMENU, 0, 0)) == menu) return h;
    return HWND{nullptr};
  };
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (h != frame || msg != WM_ENTERIDLE) return false;
    const HMENU wanted = popups.empty() ? file : more;
    HWND window = menuWindow(wanted);
    if (window == nullptr || popups.size() == 2) return false;
    popups.push_back(window);
    for (HWND p : popups)
      seen.push_back(Seen{p, ask(frame, OBJID_MENU, 0), ask(frame, OBJID_MENU, 1), ask(frame, OBJID_MENU, 2),
                          ask(p, OBJID_CLIENT, 0), ask(p, OBJID_CLIENT, 1), ask(p, OBJID_CLIENT, 2)});
    if (popups.size() == 2) {
      EndMenu();
    } else {
      brambolt::InjectKey(VK_RIGHT, true);
      brambolt::InjectKey(VK_RIGHT, false);
    }
    return false;
  });
  PressKey('F', kAlt);
  RunUntilIdle();
  ASSERT_EQ(popups.size(), 2u);
  ASSERT_EQ(seen.size(), 3u);  // File's popup alone, then it and its submenu
  for (const Seen& s : seen) {
    SCOPED_TRACE(s.popup == popups[0] ? "File's popup" : "the submenu");
    EXPECT_TRUE(s.whole.fBarFocused);
    EXPECT_EQ(s.whole.hwndMenu, nullptr) << "the whole bar names no submenu";
    EXPECT_TRUE(s.open.fFocused);
    EXPECT_EQ(s.open.hwndMenu, popups[0]) << "the open item names its submenu's window";
    EXPECT_FALSE(s.other.fFocused);
    EXPECT_EQ(s.other.hwndMenu, nullptr);
    EXPECT_EQ(s.client.hMenu, s.popup == popups[0] ? file : more);
    EXPECT_TRUE(s.client.fBarFocused) << "the popup is in the menu mode";
    EXPECT_EQ(s.client.hwndMenu, nullptr);
    EXPECT_TRUE(s.first.fFocused) << "its first item is selected";
    EXPECT_FALSE(s.second.fFocused);
  }
  EXPECT_TRUE(seen[0].client.fFocused) << "File's popup takes the keys";
  EXPECT_FALSE(seen[1].client.fFocused) << "File's popup, its submenu open";
  EXPECT_TRUE(seen[2].client.fFocused) << "the submenu takes the keys";
  SetMenu(frame, nullptr);
  DestroyMenu(bar);
}
