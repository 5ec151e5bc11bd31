// The toolbar drop-down lists: each button class makes its own kind with its empty-selection
// text, the combo box gets the drop-down-list style and owner-drawn rows two pixels taller than
// its font, rows split at the last "@", and Return in the edit field is taken as the button's.
#include <gtest/gtest.h>

#include <memory>

#include "AppTestSupport.h"
#include "app/CGWDropBtn.h"

namespace {

TEST(DropListButtons, EachButtonClassMakesItsKindWithItsEmptySelectionText) {
  const std::pair<const SECButtonClass*, const char*> kinds[] = {
      {&CGWDropClassBtn::s_btnClass, "(All Classes)"},
      {&CGWDropIDBtn::s_btnClass, "(All class members)"},
      {&CGWDropFunctionBtn::s_btnClass, "(All Functions)"},
  };
  for (const auto& [pClass, text] : kinds) {
    std::unique_ptr<SECStdBtn> button(pClass->m_pfnCreateButton());
    auto* pDrop = dynamic_cast<CGWDropBtnBase*>(button.get());
    ASSERT_NE(pDrop, nullptr) << text;
    EXPECT_EQ(pDrop->GetButtonClass(), pClass);
    EXPECT_STREQ(pDrop->GetItemLine(-1), text);
    EXPECT_TRUE(pDrop->CanDrag());
  }
}

TEST(DropListButtons, TheComboIsAnOwnerDrawnListWhoseRowsSplitAtTheLastAtSign) {
  brambolt::test::UiSession session;
  apptest::Host host;
  CGWDropClassBtn list;
  ASSERT_TRUE(list.CreateWnd(&host, WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 200, 22), 501));
  EXPECT_EQ(list.CComboBox::GetStyle() & 0x3, static_cast<DWORD>(CBS_DROPDOWNLIST));
  EXPECT_TRUE(list.CComboBox::GetStyle() & CBS_OWNERDRAWFIXED);
  list.AddString("CWnd@afxwin.h");
  list.AddString("@only");
  EXPECT_STREQ(list.GetItemLine(0), ("CWnd" + std::string(20, ' ') + "afxwin.h").c_str());
  EXPECT_STREQ(list.GetItemLine(1), "@only");
  TEXTMETRIC metrics{};
  {
    CClientDC dc(&list);
    dc.GetTextMetrics(&metrics);
  }
  EXPECT_EQ(list.GetItemHeight(0), metrics.tmHeight + 2);

  CGWDropFunctionBtn editable;
  ASSERT_TRUE(editable.CreateWnd(&host, WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 30, 200, 52), 502));
  ASSERT_NE(editable.m_edit.GetSafeHwnd(), nullptr);
  MSG returnKey{editable.m_edit.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_TRUE(editable.PreTranslateMessage(&returnKey));
  MSG letter{editable.m_edit.GetSafeHwnd(), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
  EXPECT_FALSE(editable.PreTranslateMessage(&letter));
}

}  // namespace
