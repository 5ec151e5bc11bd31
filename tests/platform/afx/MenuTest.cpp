// Menus: building and changing menu objects, menus from resources, the system menu, update
// handlers on popups, and TrackPopupMenu driven by scripted keys and clicks, with its
// notifications, mnemonics, owner-drawn items and disabled items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AfxTestResources.h"
#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::HangWatchdog;
using brambolt::test::ModalAnswers;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;

namespace {

std::string MenuText(HMENU menu, UINT item, UINT flags) {
  char text[128] = {};
  ::GetMenuString(menu, item, text, sizeof(text), flags);
  return text;
}

TEST(MenuBuilding, ItemsByPositionAndByCommand) {
  CMenu bar, file;
  ASSERT_TRUE(bar.CreateMenu());
  ASSERT_TRUE(file.CreatePopupMenu());
  file.AppendMenu(MF_STRING, 10, "&Open");
  file.AppendMenu(MF_SEPARATOR);
  file.AppendMenu(MF_STRING | MF_GRAYED, 12, "E&xit");
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), "&File");
  bar.AppendMenu(MF_STRING | MF_CHECKED, 20, "&Help");

  EXPECT_EQ(bar.GetMenuItemCount(), 2u);
  EXPECT_EQ(bar.GetMenuItemID(0), static_cast<UINT>(-1)) << "an item that opens a popup has no id";
  EXPECT_EQ(bar.GetMenuItemID(1), 20u);
  CMenu* popup = bar.GetSubMenu(0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->GetMenuItemCount(), 3u);
  EXPECT_EQ(popup->GetMenuItemID(1), 0u) << "separators have id 0";
  EXPECT_EQ(MenuText(bar, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(MenuText(bar, 12, MF_BYCOMMAND), "E&xit") << "commands are found in submenus";

  // Inserting before a command goes into the submenu that holds it.
  EXPECT_TRUE(bar.InsertMenu(12, MF_BYCOMMAND | MF_STRING, 11, "&Save"));
  EXPECT_EQ(popup->GetMenuItemID(2), 11u);
  EXPECT_TRUE(bar.InsertMenu(static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, 30, "&Last"));
  EXPECT_EQ(bar.GetMenuItemID(2), 30u);

  EXPECT_EQ(bar.GetMenuState(12, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(bar.GetMenuState(20, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(bar.GetMenuState(0, MF_BYPOSITION), static_cast<UINT>(MF_POPUP | (4 << 8)))
      << "a popup item reports its item count in the high byte";
  EXPECT_EQ(bar.GetMenuState(99, MF_BYCOMMAND), static_cast<UINT>(-1));

  EXPECT_EQ(bar.CheckMenuItem(20, MF_UNCHECKED), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(bar.CheckMenuItem(20, MF_CHECKED), static_cast<UINT>(MF_UNCHECKED));
  EXPECT_EQ(bar.EnableMenuItem(12, MF_ENABLED), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(bar.EnableMenuItem(12, MF_DISABLED | MF_GRAYED), static_cast<UINT>(MF_ENABLED));
  EXPECT_EQ(bar.EnableMenuItem(99, MF_ENABLED), static_cast<UINT>(-1));
}

TEST(MenuBuilding, RemoveKeepsTheSubmenuDeleteDestroysIt) {
  CMenu bar;
  bar.CreateMenu();
  HMENU kept = ::CreatePopupMenu();
  HMENU destroyed = ::CreatePopupMenu();
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(kept), "A");
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(destroyed), "B");
  EXPECT_TRUE(bar.RemoveMenu(0, MF_BYPOSITION));
  EXPECT_TRUE(::IsMenu(kept));
  EXPECT_TRUE(bar.DeleteMenu(0, MF_BYPOSITION));
  EXPECT_FALSE(::IsMenu(destroyed));
  EXPECT_EQ(bar.GetMenuItemCount(), 0u);
  ::DestroyMenu(kept);

  HMENU replaced = ::CreatePopupMenu();
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(replaced), "C");
  EXPECT_TRUE(bar.ModifyMenu(0, MF_BYPOSITION | MF_STRING, 5, "Plain"));
  EXPECT_FALSE(::IsMenu(replaced)) << "a popup replaced by a plain item is destroyed";
  EXPECT_EQ(bar.GetMenuItemID(0), 5u);
  HMENU whole = bar.Detach();
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenu(whole, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "D");
  EXPECT_TRUE(::DestroyMenu(whole));
  EXPECT_FALSE(::IsMenu(sub)) << "destroying a menu destroys its submenus";
}

TEST(MenuBuilding, ItemInfoRoundTripsTypeStateAndData) {
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, 1, "&One\tCtrl+1");
  menu.AppendMenu(MF_STRING, 2, "&Two");
  MENUITEMINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
  info.fType = MFT_OWNERDRAW;
  info.fState = MFS_CHECKED;
  info.dwItemData = 0x1234;
  ASSERT_TRUE(menu.SetMenuItemInfo(2, &info));

  MENUITEMINFO read{};
  read.cbSize = sizeof(read);
  read.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE | MIIM_ID | MIIM_STRING;
  char text[64] = {};
  read.dwTypeData = text;
  read.cch = sizeof(text);
  ASSERT_TRUE(menu.GetMenuItemInfo(1, &read, TRUE));
  EXPECT_EQ(read.fType, static_cast<UINT>(MFT_OWNERDRAW));
  EXPECT_EQ(read.fState, static_cast<UINT>(MFS_CHECKED));
  EXPECT_EQ(read.dwItemData, 0x1234u);
  EXPECT_EQ(read.wID, 2u);
  EXPECT_STREQ(text, "&Two") << "an item made owner-drawn keeps its text";
  EXPECT_EQ(read.cch, 4u);

  MENUITEMINFO length{};
  length.cbSize = sizeof(length);
  length.fMask = MIIM_STRING;
  ASSERT_TRUE(menu.GetMenuItemInfo(1, &length));
  EXPECT_EQ(length.cch, 11u) << "without a buffer the text length comes back";

  EXPECT_TRUE(menu.SetDefaultItem(2));
  EXPECT_EQ(menu.GetDefaultItem(0), 2u);
  EXPECT_EQ(menu.GetDefaultItem(0, TRUE), 1u);
  EXPECT_TRUE(menu.CheckMenuRadioItem(1, 2, 1, MF_BYCOMMAND));
  EXPECT_EQ(menu.GetMenuState(1, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(menu.GetMenuState(2, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST(MenuResources, LoadMenuBuildsTheTemplatesTree) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
  ASSERT_EQ(menu.GetMenuItemCount(), 3u);
  EXPECT_EQ(MenuText(menu, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(MenuText(menu, 2, MF_BYPOSITION), "&About");
  EXPECT_EQ(menu.GetMenuItemID(2), static_cast<UINT>(ID_APP_ABOUT));
  CMenu* file = menu.GetSubMenu(0);
  ASSERT_EQ(file->GetMenuItemCount(), 4u);
  EXPECT_EQ(MenuText(*file, ID_FILE_NEW, MF_BYCOMMAND), "&New\tCtrl+N");
  EXPECT_EQ(file->GetMenuState(2, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR | MF_GRAYED | MF_DISABLED))
      << "a separator is a disabled item";
  CMenu* test = menu.GetSubMenu(1);
  EXPECT_EQ(test->GetMenuState(ID_TEST_SECOND, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(test->GetMenuState(ID_TEST_DISABLED, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  CMenu* more = test->GetSubMenu(3);
  ASSERT_NE(more, nullptr);
  EXPECT_EQ(more->GetMenuItemID(0), static_cast<UINT>(ID_TEST_NESTED));
  EXPECT_FALSE(CMenu().LoadMenu(4242));
}

TEST(MenuWindows, SystemMenuIsACopyPerWindowThatCanBeChanged) {
  UiSession session;
  CWnd window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "w", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
  HMENU system = ::GetSystemMenu(window, FALSE);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(::GetSystemMenu(window, FALSE), system);
  EXPECT_NE(::GetMenuState(system, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  ::ModifyMenu(system, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, "&Hide");
  EXPECT_EQ(MenuText(system, SC_CLOSE, MF_BYCOMMAND), "&Hide");
  ::DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
  EXPECT_EQ(::GetMenuState(system, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(::GetSystemMenu(window, TRUE), nullptr);
  EXPECT_EQ(MenuText(::GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND), "&Close\tAlt+F4") << "reverted";
  window.DestroyWindow();
}

TEST(MenuWindows, MenuBarTakesRoomFromTheClientArea) {
  UiSession session;
  CWnd window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "w", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
  CRect before;
  window.GetClientRect(&before);
  CMenu menu;
  menu.LoadMenu(IDR_MAINFRAME);
  EXPECT_TRUE(window.SetMenu(&menu));
  EXPECT_EQ(window.GetMenu(), &menu) << "the attached CMenu comes back";
  CRect after;
  window.GetClientRect(&after);
  EXPECT_EQ(after.Height(), before.Height() - ::GetSystemMetrics(SM_CYMENU));
  EXPECT_TRUE(::SetMenu(window, nullptr));
  window.GetClientRect(&after);
  EXPECT_EQ(after.Height(), before.Height());
  EXPECT_TRUE(menu.m_hMenu != nullptr && ::IsMenu(menu)) << "removing the bar leaves the menu";
  window.DestroyWindow();
}

// ---- tracking ----

// A window that records the menu notifications it receives.
class MenuOwner : public CWnd {
 public:
  std::vector<std::string> log;
  LRESULT menuCharAnswer = 0;

  BOOL CreateOwner() {
    return CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr);
  }

 protected:
  afx_msg void OnEnterMenuLoop(BOOL popup) { log.push_back(popup ? "enter popup" : "enter bar"); }
  afx_msg void OnExitMenuLoop(BOOL popup) { log.push_back(popup ? "exit popup" : "exit bar"); }
  afx_msg void OnInitMenu(CMenu*) { log.push_back("init"); }
  afx_msg void OnInitMenuPopup(CMenu*, UINT index, BOOL system) {
    log.push_back("popup " + std::to_string(index) + (system ? " system" : ""));
  }
  afx_msg void OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && menu == nullptr)
      log.push_back("select none");
    else
      log.push_back("select " + std::to_string(item) + ((flags & MF_POPUP) ? " popup" : ""));
  }
  afx_msg LRESULT OnMenuChar(UINT ch, UINT, CMenu*) {
    log.push_back(std::string("char ") + static_cast<char>(ch));
    return menuCharAnswer;
  }
  afx_msg void OnCommandRange(UINT id) { log.push_back("command " + std::to_string(id)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuOwner, CWnd)
  ON_WM_ENTERMENULOOP()
  ON_WM_EXITMENULOOP()
  ON_WM_INITMENU()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_MENUCHAR()
  ON_COMMAND_RANGE(1, 0xEFFF, OnCommandRange)
END_MESSAGE_MAP()

// The Test popup of the resource menu: First, Second (checked), Disabled, More >, Third.
struct TrackFixture {
  UiSession session;
  MenuOwner owner;
  CMenu menu;
  TrackFixture() {
    owner.CreateOwner();
    menu.LoadMenu(IDR_MAINFRAME);
  }
  HMENU Popup() { return ::GetSubMenu(menu, 1); }
};

void Keys(std::initializer_list<UINT> keys) {
  for (UINT vk : keys) {
    brambolt::InjectKey(vk, true);
    brambolt::InjectKey(vk, false);
  }
}

UINT TrackWithKeys(TrackFixture& f, std::initializer_list<UINT> keys, UINT flags = TPM_RETURNCMD) {
  ModalAnswers answers;
  answers.When(MENU_WINDOW_CLASS, nullptr, [keys](HWND) { Keys(keys); });
  return static_cast<UINT>(::TrackPopupMenu(f.Popup(), flags, 10, 10, 0, f.owner, nullptr));
}

TEST(MenuTracking, KeysChooseTheRightCommand) {
  struct Case {
    std::vector<UINT> keys;
    UINT expected;
    const char* what;
  };
  const Case cases[] = {
      {{VK_DOWN, VK_RETURN}, ID_TEST_FIRST, "the first item"},
      {{VK_DOWN, VK_DOWN, VK_RETURN}, ID_TEST_SECOND, "the second item"},
      {{VK_UP, VK_RETURN}, ID_TEST_THIRD, "up from nothing is the last item"},
      {{'S'}, ID_TEST_SECOND, "a mnemonic chooses at once"},
      {{'M', 'N'}, ID_TEST_NESTED, "a mnemonic opens a submenu, the next chooses in it"},
      {{VK_UP, VK_UP, VK_RIGHT, VK_RETURN}, ID_TEST_NESTED, "Right opens the submenu with its first item"},
      {{VK_UP, VK_UP, VK_RIGHT, VK_LEFT, VK_UP, VK_UP, VK_RETURN}, ID_TEST_SECOND, "Left closes it again"},
      {{VK_ESCAPE}, 0, "Escape cancels"},
  };
  for (const Case& c : cases) {
    TrackFixture f;
    ModalAnswers answers;
    std::vector<UINT> keys = c.keys;
    answers.When(MENU_WINDOW_CLASS, nullptr, [keys](HWND) {
      for (UINT vk : keys) {
        brambolt::InjectKey(vk, true);
        brambolt::InjectKey(vk, false);
      }
    });
    EXPECT_EQ(static_cast<UINT>(::TrackPopupMenu(f.Popup(), TPM_RETURNCMD, 10, 10, 0, f.owner, nullptr)), c.expected)
        << c.what;
  }
}

TEST(MenuTracking, CancelModeToTheOwnerEndsTheMenuAndPostedKeysWorkAsTyped) {
  TrackFixture f;
  {
    HangWatchdog watchdog("TrackPopupMenu after WM_CANCELMODE to its owner");
    ModalAnswers answers;
    HWND owner = f.owner;
    answers.When(MENU_WINDOW_CLASS, nullptr, [owner](HWND) { ::SendMessage(owner, WM_CANCELMODE, 0, 0); });
    EXPECT_EQ(::TrackPopupMenu(f.Popup(), TPM_RETURNCMD, 10, 10, 0, f.owner, nullptr), 0);
  }
  {
    HangWatchdog watchdog("TrackPopupMenu with keys posted to its window");
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [](HWND popup) {
      for (UINT vk : {VK_UP, VK_UP, VK_RIGHT, VK_RETURN}) {
        ::PostMessage(popup, WM_KEYDOWN, vk, 1);
        ::PostMessage(popup, WM_KEYUP, vk, 0xC0000001);
      }
    });
    EXPECT_EQ(static_cast<UINT>(::TrackPopupMenu(f.Popup(), TPM_RETURNCMD, 10, 10, 0, f.owner, nullptr)),
              static_cast<UINT>(ID_TEST_NESTED))
        << "Up, Up, Right, Enter open the submenu and choose its first item";
  }
}

TEST(MenuTracking, DisabledItemsAreNeverChosen) {
  TrackFixture f;
  EXPECT_EQ(TrackWithKeys(f, {'D'}), 0u) << "its mnemonic ends the menu with nothing chosen";
  EXPECT_EQ(TrackWithKeys(f, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN, VK_DOWN, VK_DOWN, VK_RETURN}), ID_TEST_THIRD)
      << "Enter on it does nothing; the menu stays open";
}

TEST(MenuTracking, NotificationsComeInOrderAndTheCommandIsPosted) {
  TrackFixture f;
  EXPECT_TRUE(TrackWithKeys(f, {VK_DOWN, VK_RETURN}, 0));
  EXPECT_EQ(f.owner.log, (std::vector<std::string>{"enter popup", "init", "popup 0",
                                                   "select " + std::to_string(ID_TEST_FIRST), "select none",
                                                   "exit popup"}));
  f.owner.log.clear();
  RunUntilIdle();
  EXPECT_EQ(f.owner.log, (std::vector<std::string>{"command " + std::to_string(ID_TEST_FIRST)}));
}

TEST(MenuTracking, NoNotifyKeepsTheOwnerOutOfIt) {
  TrackFixture f;
  EXPECT_EQ(TrackWithKeys(f, {'S'}, TPM_RETURNCMD | TPM_NONOTIFY), ID_TEST_SECOND);
  RunUntilIdle();
  EXPECT_TRUE(f.owner.log.empty());
}

TEST(MenuTracking, UnknownMnemonicsAskTheOwner) {
  TrackFixture f;
  f.owner.menuCharAnswer = MAKELRESULT(4, MNC_EXECUTE);
  EXPECT_EQ(TrackWithKeys(f, {'Q'}), ID_TEST_THIRD) << "MNC_EXECUTE chooses the item at the position given";
  EXPECT_NE(std::find(f.owner.log.begin(), f.owner.log.end(), "char q"), f.owner.log.end());
  f.owner.menuCharAnswer = MAKELRESULT(0, MNC_SELECT);
  EXPECT_EQ(TrackWithKeys(f, {'Q', VK_RETURN}), ID_TEST_FIRST);
  f.owner.menuCharAnswer = MAKELRESULT(0, MNC_CLOSE);
  EXPECT_EQ(TrackWithKeys(f, {'Q'}), 0u);
}

TEST(MenuTracking, ClicksChooseAndAClickOutsideCancels) {
  TrackFixture f;
  {
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND) {
      RECT item;
      ASSERT_TRUE(::GetMenuItemRect(nullptr, f.Popup(), 4, &item));
      POINT center{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
      brambolt::InjectMouseMove(center);
      brambolt::InjectMouseButton(WM_LBUTTONDOWN, center);
      brambolt::InjectMouseButton(WM_LBUTTONUP, center);
    });
    EXPECT_EQ(static_cast<UINT>(::TrackPopupMenu(f.Popup(), TPM_RETURNCMD, 10, 10, 0, f.owner, nullptr)),
              ID_TEST_THIRD);
  }
  {
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [](HWND) {
      brambolt::InjectMouseButton(WM_LBUTTONDOWN, POINT{700, 600});
      brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{700, 600});
    });
    EXPECT_EQ(::TrackPopupMenu(f.Popup(), TPM_RETURNCMD, 10, 10, 0, f.owner, nullptr), 0);
  }
  {
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND) {
      RECT item;
      ::GetMenuItemRect(nullptr, f.Popup(), 2, &item);
      POINT center{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
      brambolt::InjectMouseButton(WM_LBUTTONDOWN, center);
      brambolt::InjectMouseButton(WM_LBUTTONUP, center);
      Keys({VK_ESCAPE});
    });
    EXPECT_EQ(::TrackPopupMenu(f.Popup(), TPM_RETURNCMD, 10, 10, 0, f.owner, nullptr), 0)
        << "clicking a disabled item chooses nothing";
  }
}

TEST(MenuTracking, PopupIsPlacedByAlignmentAndKeptOffTheExclusion) {
  TrackFixture f;
  struct Case {
    UINT flags;
    POINT at;
    bool exclude;
  };
  for (const Case& c : {Case{0, {50, 60}, false}, Case{TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {400, 300}, false},
                        Case{0, {50, 60}, true}}) {
    RECT placed{};
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND popup) {
      ::GetWindowRect(popup, &placed);
      Keys({VK_ESCAPE});
    });
    TPMPARAMS params{sizeof(TPMPARAMS), RECT{40, 50, 200, 80}};
    ::TrackPopupMenuEx(f.Popup(), c.flags | TPM_RETURNCMD, c.at.x, c.at.y, f.owner, c.exclude ? &params : nullptr);
    if (c.exclude) {
      EXPECT_GE(placed.left, 200) << "moved right of the excluded rectangle";
    } else if (c.flags & TPM_RIGHTALIGN) {
      EXPECT_EQ(placed.right, c.at.x);
      EXPECT_EQ(placed.bottom, c.at.y);
    } else {
      EXPECT_EQ(placed.left, c.at.x);
      EXPECT_EQ(placed.top, c.at.y);
    }
  }
}

// A menu that measures and draws its own items.
class OwnerDrawnMenu : public CMenu {
 public:
  int measured = 0, drawn = 0;
  bool firstDrawnSelected = false;
  void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
    ++measured;
    mis->itemWidth = 80;
    mis->itemHeight = 24;
  }
  void DrawItem(LPDRAWITEMSTRUCT dis) override {
    ++drawn;
    if (dis->itemID == 501 && (dis->itemState & ODS_SELECTED)) firstDrawnSelected = true;
    CDC* dc = CDC::FromHandle(dis->hDC);
    dc->FillSolidRect(&dis->rcItem, dis->itemData == 1 ? RGB(255, 0, 0) : RGB(0, 255, 0));
  }
};

TEST(MenuTracking, OwnerDrawnItemsAreMeasuredAndDrawnThroughTheirCMenu) {
  UiSession session;
  MenuOwner owner;
  owner.CreateOwner();
  OwnerDrawnMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_OWNERDRAW, 501, reinterpret_cast<LPCTSTR>(1));
  menu.AppendMenu(MF_OWNERDRAW, 502, reinterpret_cast<LPCTSTR>(2));
  COLORREF first = 0, second = 0;
  RECT item{};
  ModalAnswers answers;
  answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND popup) {
    ::GetMenuItemRect(nullptr, menu, 0, &item);
    RECT window;
    ::GetWindowRect(popup, &window);
    first = brambolt::test::WindowPixel(popup, item.left - window.left + 2, item.top - window.top + 2);
    second = brambolt::test::WindowPixel(popup, item.left - window.left + 2, item.bottom - window.top + 2);
    Keys({VK_DOWN, VK_RETURN});
  });
  EXPECT_EQ(static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, owner, nullptr)), 501u);
  EXPECT_EQ(menu.measured, 2);
  EXPECT_GE(menu.drawn, 2);
  EXPECT_EQ(item.bottom - item.top, 24);
  EXPECT_EQ(first, RGB(255, 0, 0));
  EXPECT_EQ(second, RGB(0, 255, 0));
  EXPECT_TRUE(menu.firstDrawnSelected) << "the selected item is drawn again as selected";
}

TEST(MenuBar, AltLetterAndF10OpenTheBarsPopups) {
  UiSession session;
  MenuOwner window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                              nullptr, nullptr));
  CMenu menu;
  menu.LoadMenu(IDR_MAINFRAME);
  ::SetMenu(window, menu);
  ::SetActiveWindow(window);
  ::SetFocus(window);
  RunUntilIdle();
  {
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [](HWND) { Keys({VK_RETURN}); });
    brambolt::test::PressKey('F', brambolt::test::kAlt);
    RunUntilIdle();
  }
  ASSERT_FALSE(window.log.empty());
  EXPECT_EQ(window.log.front(), "enter bar");
  EXPECT_EQ(window.log.back(), "command " + std::to_string(ID_FILE_NEW)) << "the popup opened with its first item";
  window.log.clear();
  {
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [](HWND) { Keys({VK_RIGHT, VK_RETURN}); });
    brambolt::test::PressKey(VK_F10);
    RunUntilIdle();
  }
  ASSERT_FALSE(window.log.empty());
  EXPECT_EQ(window.log.back(), "command " + std::to_string(ID_TEST_FIRST)) << "Right moved to the next popup";
  ::SetMenu(window, nullptr);
  window.DestroyWindow();
}

// ---- updates ----

class UpdateTarget : public CCmdTarget {
 public:
  void OnUpdateFirst(CCmdUI* ui) { ui->Enable(FALSE); }
  void OnUpdateThird(CCmdUI* ui) {
    ui->SetCheck(1);
    ui->SetText("T&hird (3)");
  }
  void OnSecond() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(UpdateTarget, CCmdTarget)
  ON_UPDATE_COMMAND_UI(ID_TEST_FIRST, OnUpdateFirst)
  ON_UPDATE_COMMAND_UI(ID_TEST_THIRD, OnUpdateThird)
  ON_COMMAND(ID_TEST_SECOND, OnSecond)
END_MESSAGE_MAP()

TEST(MenuUpdates, PopupItemsFollowTheirUpdateHandlers) {
  CMenu menu;
  menu.LoadMenu(IDR_MAINFRAME);
  CMenu* popup = menu.GetSubMenu(1);
  UpdateTarget target;
  AfxUpdateMenuPopup(&target, popup, TRUE);
  EXPECT_EQ(popup->GetMenuState(ID_TEST_FIRST, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(popup->GetMenuState(ID_TEST_SECOND, MF_BYCOMMAND) & MF_GRAYED, 0u) << "a command handler enables";
  EXPECT_EQ(popup->GetMenuState(ID_TEST_DISABLED, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED))
      << "no handler at all: disabled";
  EXPECT_EQ(popup->GetMenuState(ID_TEST_THIRD, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(MenuText(*popup, ID_TEST_THIRD, MF_BYCOMMAND), "T&hird (3)");
  EXPECT_NE(popup->GetSubMenu(3), nullptr) << "the popup item stays a popup";
}

// ---- accelerators ----

TEST(Accelerators, TablesLoadCopyAndRecreate) {
  HACCEL table = ::LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
  ASSERT_NE(table, nullptr);
  int count = ::CopyAcceleratorTable(table, nullptr, 0);
  ASSERT_EQ(count, 4);
  std::vector<ACCEL> entries(static_cast<size_t>(count));
  EXPECT_EQ(::CopyAcceleratorTable(table, entries.data(), count), 4);
  EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(entries[0].key, 'N');
  EXPECT_EQ(entries[0].cmd, ID_FILE_NEW);
  EXPECT_EQ(entries[3].fVirt & FVIRTKEY, 0) << "the last entry carries no end mark";
  // Putting an entry first in a copy, as frames do for modes of their own.
  entries.insert(entries.begin(), ACCEL{FVIRTKEY, VK_ESCAPE, 43107});
  HACCEL copy = ::CreateAcceleratorTable(entries.data(), static_cast<int>(entries.size()));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(::CopyAcceleratorTable(copy, nullptr, 0), 5);
  EXPECT_TRUE(::DestroyAcceleratorTable(copy));
  EXPECT_FALSE(::DestroyAcceleratorTable(copy));
  EXPECT_TRUE(::DestroyAcceleratorTable(table));
}

TEST(Accelerators, KeysBecomeCommandsOnlyForTheirExactModifiers) {
  UiSession session;
  MenuOwner window;
  ASSERT_TRUE(window.CreateOwner());
  ::SetFocus(window);
  HACCEL table = ::LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
  struct Case {
    std::vector<UINT> held;
    UINT key;
    int expected;  // command, 0 for none
  };
  const Case cases[] = {{{VK_CONTROL}, 'N', ID_FILE_NEW},
                        {{VK_CONTROL, VK_SHIFT}, 'N', ID_TEST_SECOND},
                        {{}, 'N', 0},
                        {{}, VK_F2, ID_TEST_FIRST},
                        {{VK_SHIFT}, VK_F2, 0},
                        {{}, 'T', ID_TEST_THIRD}};  // the character 't' of an unshifted T
  for (const Case& c : cases) {
    window.log.clear();
    for (UINT vk : c.held) brambolt::InjectKey(vk, true);
    brambolt::InjectKey(c.key, true);
    brambolt::InjectKey(c.key, false);
    for (auto it = c.held.rbegin(); it != c.held.rend(); ++it) brambolt::InjectKey(*it, false);
    int translated = 0;
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (::TranslateAccelerator(window, table, &msg)) {
        ++translated;
        continue;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
    if (c.expected == 0) {
      EXPECT_EQ(translated, 0) << c.key;
      EXPECT_TRUE(window.log.empty()) << c.key;
    } else {
      EXPECT_EQ(translated, 1) << c.key;
      EXPECT_EQ(window.log, (std::vector<std::string>{"command " + std::to_string(c.expected)})) << c.key;
    }
  }
  ::DestroyAcceleratorTable(table);
}

TEST(Accelerators, CommandsOfDisabledMenuItemsAreSwallowedAfterTheMenuIsInitialised) {
  UiSession session;
  MenuOwner window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                              nullptr, nullptr));
  CMenu menu;
  menu.LoadMenu(IDR_MAINFRAME);
  ::SetMenu(window, menu);
  ACCEL entries[] = {{FVIRTKEY, VK_F3, ID_TEST_DISABLED}, {FVIRTKEY, VK_F4, ID_TEST_FIRST}};
  HACCEL table = ::CreateAcceleratorTable(entries, 2);
  for (UINT key : {VK_F3, VK_F4}) {
    MSG msg{window, WM_KEYDOWN, key, 1, 0, {0, 0}};
    EXPECT_TRUE(::TranslateAccelerator(window, table, &msg));
  }
  EXPECT_EQ(window.log, (std::vector<std::string>{"init", "popup 1", "init", "popup 1",
                                                  "command " + std::to_string(ID_TEST_FIRST)}));
  ::SetMenu(window, nullptr);
  ::DestroyAcceleratorTable(table);
  window.DestroyWindow();
}

}  // namespace
