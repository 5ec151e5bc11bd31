// Tests of the button kinds: window and combo-box buttons (their window, saved width, customise
// drags and keyboard), menu buttons (size, mnemonic, the menu they drop, menu mode) and text
// buttons (caption from the string table).
#include "CustomToolBarTestSupport.h"

#include "bars/SECComboBtn.h"
#include "bars/SECStdMenuBtn.h"
#include "bars/SECTBMenuBtn.h"
#include "bars/SECTBTextButton.h"

using namespace brambolt::test;

namespace {

constexpr UINT kComboID = 24210;

class CustomToolBarButtons : public ::testing::Test {
 protected:
  UiSession session;
};

const SECBtnMapEntry kComboMap[] = {
    {&SECComboBtn::s_btnClass, ID_MT_PLAIN, 0, {kComboID, WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN | WS_VSCROLL, MAKELONG(150, 1), 0}},
    {nullptr, 0, 0, {}},
};

TEST_F(CustomToolBarButtons, ComboButtonHostsItsWindowAndSavesItsWidth) {
  ToolBarFrame f;
  f.owner.Watch(wmSECToolBarWndNotify);
  f.manager->SetButtonMap(kComboMap);
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, ID_MT_PLAIN});
  auto* button = dynamic_cast<SECComboBtn*>(bar->GetButton(1));
  ASSERT_NE(button, nullptr);
  ASSERT_NE(button->GetSafeHwnd(), nullptr);
  EXPECT_EQ(::GetParent(button->GetSafeHwnd()), bar->GetSafeHwnd());
  EXPECT_EQ(button->GetDlgCtrlID(), static_cast<int>(kComboID));
  bool created = false;
  for (const auto& record : f.owner.Records()) {
    if (record.message == wmSECToolBarWndNotify && record.wParam == MAKEWPARAM(kComboID, SEC_WNDBTN_CREATED))
      created = reinterpret_cast<HWND>(record.lParam) == button->GetSafeHwnd();
  }
  EXPECT_TRUE(created);

  // In its place on the bar, centred in the button's height, 150 wide.
  CRect item, window;
  bar->GetItemRect(1, &item);
  button->GetWindowRect(&window);
  bar->ScreenToClient(&window);
  EXPECT_EQ(item.Width(), 150);
  EXPECT_EQ(window.left, item.left);
  EXPECT_EQ(window.Width(), 150);
  EXPECT_LE(std::abs((window.top - item.top) - (item.bottom - window.bottom)), 1);

  // Keys typed into the field reach it.
  Click(button->m_edit.m_hWnd, CPoint(5, 5));
  TypeText("abc");
  CString text;
  button->GetWindowText(text);
  EXPECT_EQ(text, "abc");

  // The saved width: two little-endian bytes; damaged values are refused or kept in range.
  int count = 0;
  BYTE* data = nullptr;
  button->GetExtraData(count, data);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(data[0], 0x96);
  EXPECT_EQ(data[1], 0x00);
  const BYTE wide[] = {0xC8, 0x00}, huge[] = {0xFF, 0xFF}, zero[] = {0, 0}, three[] = {0x10, 0, 0};
  struct Case {
    const BYTE* bytes;
    int count;
    int width;
  } cases[] = {{wide, 2, 200}, {three, 3, 200}, {zero, 2, 23}, {huge, 2, ::GetSystemMetrics(SM_CXSCREEN)}};
  for (const Case& c : cases) {
    button->SetExtraData(c.count, c.bytes);
    EXPECT_EQ(button->GetWndWidth(), c.width);
    button->GetWindowRect(&window);
    EXPECT_EQ(window.Width(), c.width);
  }

  // On an upright bar it is a plain button and keeps its window's width for later.
  button->SetExtraData(2, wide);
  button->ShowAsButton(TRUE);
  EXPECT_FALSE(button->IsWindowVisible());
  EXPECT_EQ(button->m_cx, 23);
  button->ShowAsButton(FALSE);
  EXPECT_TRUE(button->IsWindowVisible());
  EXPECT_EQ(button->m_cx, 200);
  // Hidden and disabled follow the style bits.
  bar->SetButtonStyle(1, TBBS_DISABLED);
  EXPECT_FALSE(button->IsWindowEnabled());
  bar->HideButton(1, TRUE);
  EXPECT_FALSE(button->IsWindowVisible());
}

TEST_F(CustomToolBarButtons, WindowButtonIsDraggedAndResizedInCustomiseMode) {
  ToolBarFrame f;
  f.manager->SetButtonMap(kComboMap);
  SECCustomToolBar* a = f.AddBar(59392, {ID_MT_NEW, ID_MT_PLAIN});
  SECCustomToolBar* b = f.AddBar(59393, {ID_MT_CUT});
  f.manager->SetCustomizeMode(TRUE);
  auto* button = dynamic_cast<SECComboBtn*>(a->GetButton(1));
  ASSERT_NE(button, nullptr);
  // A click on the window selects the button instead of dropping the list.
  Click(button->m_hWnd, CPoint(20, 5));
  EXPECT_EQ(a->GetSelectedIndex(), 1);
  CRect item;
  a->GetItemRect(1, &item);
  // Its right edge drags to a new width.
  Drag(a->m_hWnd, CPoint(item.right - 1, item.CenterPoint().y), CPoint(item.right + 39, item.CenterPoint().y));
  EXPECT_EQ(button->GetWndWidth(), 190);
  // Dragged onto the other bar it moves there with its kind.
  Drag(nullptr, ScreenPoint(button->m_hWnd, CPoint(20, 5)), ScreenPoint(b->m_hWnd, ToolBarFrame::Centre(b, 0)));
  EXPECT_EQ(ToolBarFrame::Ids(a), std::vector<UINT>{ID_MT_NEW});
  // Its left edge lies left of the button there, so it goes first.
  ASSERT_EQ(ToolBarFrame::Ids(b), (std::vector<UINT>{ID_MT_PLAIN, ID_MT_CUT}));
  EXPECT_NE(dynamic_cast<SECComboBtn*>(b->GetButton(0)), nullptr);
  f.manager->SetCustomizeMode(FALSE);
}

TEST_F(CustomToolBarButtons, MenuButtonsDropTheirMenuAndWalkInMenuMode) {
  ToolBarFrame f;
  f.owner.ExpectStructure(static_cast<UINT>(SEC_TBN_DROPMENU), sizeof(SECBtnNotify));
  static const SECBtnMapEntry map[] = {
      {&SECTBMenuBtn::s_btnClass, 0x80000001, SEC_TBBS_NODISABLE | SEC_TBBS_VCENTER,
       {128, 0, reinterpret_cast<UINT_PTR>("&File"), 1, 0}},
      {&SECTBMenuBtn::s_btnClass, 0x80000002, SEC_TBBS_NODISABLE | SEC_TBBS_VCENTER,
       {128, 1, reinterpret_cast<UINT_PTR>("&edit"), 2, 0}},
      {nullptr, 0, 0, {}},
  };
  f.manager->SetButtonMap(map);
  SECCustomToolBar* bar = f.AddBar(59392, {0x80000001, ID_MT_NEW, 0x80000002});
  auto* file = static_cast<SECTBMenuBtn*>(bar->GetButton(0));
  auto* edit = static_cast<SECTBMenuBtn*>(bar->GetButton(2));
  EXPECT_EQ(file->m_cMnemonic, 'F');
  EXPECT_EQ(edit->m_cMnemonic, 'E');
  EXPECT_EQ(file->m_nImage, 0);
  // Size: the caption's extent in the bar font, plus 10 by plus 6.
  CClientDC dc(bar);
  CFont* old = dc.SelectObject(CFont::FromHandle(bar->GetBarFont()));
  CRect text(0, 0, 0, 0);
  dc.DrawText("&File", &text, DT_CALCRECT | DT_SINGLELINE);
  dc.SelectObject(old);
  EXPECT_EQ(file->m_cx, text.Width() + 10);
  EXPECT_EQ(file->m_cy, text.Height() + 6);

  ButtonDown(bar->m_hWnd, ToolBarFrame::Centre(bar, 2));
  EXPECT_EQ(f.NotifyCodes(), std::vector<int>{SEC_TBN_DROPMENU});
  EXPECT_EQ(bar->GetMenuBtnIndex(), 2);
  const auto& record = f.owner.Records().back();
  SECBtnNotify notify{};
  ASSERT_GE(record.data.size(), sizeof(notify));
  std::memcpy(&notify, record.data.data(), sizeof(notify));
  EXPECT_EQ(notify.nIndex, 2);
  EXPECT_EQ(notify.lParam1, 128);
  EXPECT_EQ(notify.lParam2, 1);
  ButtonUp(bar->m_hWnd, ToolBarFrame::Centre(bar, 2));
  EXPECT_TRUE(f.Commands().empty());
  bar->CancelMenuButton();

  EXPECT_EQ(bar->GetFirstMenuButton(), 0);
  EXPECT_EQ(bar->GetLastMenuButton(), 2);
  EXPECT_EQ(bar->GetNextMenuButton(TRUE), 0);
  bar->EnterMenuMode(0);
  EXPECT_TRUE(bar->InMenuMode());
  EXPECT_TRUE(bar->GetButtonStyle(0) & SEC_TBBS_HOT);
  EXPECT_EQ(bar->GetNextMenuButton(TRUE), 2) << "the image button is skipped";
  EXPECT_EQ(bar->GetNextMenuButton(FALSE), -1);
  bar->ExitMenuMode();
  EXPECT_FALSE(bar->InMenuMode());
  EXPECT_FALSE(bar->GetButtonStyle(0) & SEC_TBBS_HOT);
  std::vector<int> codes = f.NotifyCodes();
  EXPECT_EQ(std::vector<int>(codes.end() - 2, codes.end()), (std::vector<int>{SEC_TBN_ENTERMENUMODE, SEC_TBN_EXITMENUMODE}));
}

TEST_F(CustomToolBarButtons, MouseOverTheBarMovesTheOpenMenuOrClosesIt) {
  ToolBarFrame f;
  static const SECBtnMapEntry map[] = {
      {&SECTBMenuBtn::s_btnClass, 0x80000001, SEC_TBBS_NODISABLE, {128, 0, reinterpret_cast<UINT_PTR>("&File"), 1, 0}},
      {&SECTBMenuBtn::s_btnClass, 0x80000002, SEC_TBBS_NODISABLE, {128, 1, reinterpret_cast<UINT_PTR>("&Edit"), 2, 0}},
      {nullptr, 0, 0, {}},
  };
  f.manager->SetButtonMap(map);
  SECCustomToolBar* bar = f.AddBar(59392, {0x80000001, 0x80000002, ID_MT_NEW});
  auto message = [&](UINT id, int index) {
    const CPoint point = ToolBarFrame::Centre(bar, index);
    return MSG{bar->m_hWnd, id, 0, MAKELPARAM(point.x, point.y), 0, {}};
  };
  MSG move = message(WM_MOUSEMOVE, 1);
  EXPECT_FALSE(bar->FilterMenuModeMouse(&move)) << "no menu is open";
  bar->OpenMenuButton(0);
  EXPECT_EQ(bar->GetMenuBtnIndex(), 0);
  f.owner.Clear();
  move = message(WM_MOUSEMOVE, 0);
  EXPECT_FALSE(bar->FilterMenuModeMouse(&move)) << "over the open one";
  move = message(WM_MOUSEMOVE, 1);
  EXPECT_TRUE(bar->FilterMenuModeMouse(&move));
  EXPECT_EQ(bar->GetMenuBtnIndex(), 1);
  EXPECT_EQ(f.NotifyCodes(), std::vector<int>{SEC_TBN_DROPMENU});
  f.owner.Clear();
  move = message(WM_MOUSEMOVE, 2);
  EXPECT_TRUE(bar->FilterMenuModeMouse(&move));
  MSG press = message(WM_LBUTTONDOWN, 1);
  EXPECT_TRUE(bar->FilterMenuModeMouse(&press));
  EXPECT_EQ(f.NotifyCodes(), (std::vector<int>{SEC_TBN_CLOSEMENU, SEC_TBN_CLOSEMENU}));
  MSG key{bar->m_hWnd, WM_KEYDOWN, VK_LEFT, 0, 0, {}};
  EXPECT_FALSE(bar->FilterMenuModeMouse(&key));
  bar->CancelMenuButton();
  EXPECT_EQ(bar->GetMenuBtnIndex(), -1);
  EXPECT_FALSE(bar->GetButtonStyle(1) & (SEC_TBBS_HOT | TBBS_PRESSED));
}

TEST_F(CustomToolBarButtons, MenuResourceButtonPopsItsSubmenuUnderItself) {
  ToolBarFrame f;
  CWinApp app{"Menu Button Test"};
  app.m_pMainWnd = f.frame;
  static const SECBtnMapEntry map[] = {
      {&SECStdMenuBtn::s_btnClass, ID_MT_NEW, 0, {24250, 1, TPM_CENTERALIGN}},
      {nullptr, 0, 0, {}},
  };
  f.manager->SetButtonMap(map);
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_CUT, ID_MT_NEW});
  auto* button = static_cast<SECStdMenuBtn*>(bar->GetButton(1));
  UINT flags = 0;
  const CPoint at = button->MenuPoint(flags);
  CRect rect;
  bar->GetItemRect(1, &rect);
  bar->ClientToScreen(&rect);
  EXPECT_EQ(at, CPoint(rect.CenterPoint().x, rect.bottom));
  EXPECT_EQ(flags, static_cast<UINT>(TPM_CENTERALIGN));
  bool pressedWhileOpen = false;
  ModalAnswers answers;
  answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND) {
    pressedWhileOpen = (bar->GetButtonStyle(1) & TBBS_PRESSED) != 0;
    for (UINT vk : {VK_DOWN, VK_DOWN, VK_RETURN}) {
      brambolt::InjectKey(vk, true);
      brambolt::InjectKey(vk, false);
    }
  });
  Click(bar->m_hWnd, ToolBarFrame::Centre(bar, 1));
  EXPECT_TRUE(pressedWhileOpen);
  EXPECT_FALSE(bar->GetButtonStyle(1) & TBBS_PRESSED);
  EXPECT_EQ(static_cast<CommandFrame*>(f.frame)->m_commands, std::vector<UINT>{ID_MT_SAVE});
  EXPECT_TRUE(f.Commands().empty()) << "the button itself sends nothing";
  app.m_pMainWnd = nullptr;
}

TEST_F(CustomToolBarButtons, TextButtonsTakeTheirCaptionAfterTheLineFeed) {
  ToolBarFrame f;
  static const SECBtnMapEntry map[] = {
      {&SECTBTextButton::s_btnClass, ID_MT_SAVE, 0, {}},
      {&SECTBTextButton::s_btnClass, ID_MT_OPEN, 0, {ID_MT_CUT}},
      {nullptr, 0, 0, {}},
  };
  f.manager->SetButtonMap(map);
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_SAVE, ID_MT_OPEN});
  EXPECT_EQ(static_cast<SECTBTextButton*>(bar->GetButton(0))->m_strCaption, "Save");
  EXPECT_EQ(static_cast<SECTBTextButton*>(bar->GetButton(1))->m_strCaption, "Cut");
  EXPECT_NE(SECTBTextButton::GetSharedFont(), nullptr);
  EXPECT_FALSE(static_cast<SECTBTextButton*>(bar->GetButton(0))->ShowsCaption());
  f.manager->EnableLargeButtons(TRUE);
  EXPECT_TRUE(static_cast<SECTBTextButton*>(bar->GetButton(0))->ShowsCaption());
  bar->RemoveAllButtons();
  EXPECT_EQ(SECTBTextButton::GetSharedFont(), nullptr) << "the font goes with the last text button";
}

}  // namespace
