// Colour wells: choosing by mouse and keyboard (wrapping round the grid and the custom cell),
// colours outside the grid in the custom cell, the "&Other..." colour dialog, and the well
// button's popup: keys move without choosing, Enter and clicks choose, Escape and clicks
// elsewhere close it.
#include <gtest/gtest.h>

#include "tests/widgets/TabTestSupport.h"
#include "widgets/SECWellButton.h"

using brambolt::test::AdvanceClock;
using brambolt::test::Click;
using brambolt::test::ClickAt;
using brambolt::test::ModalAnswers;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::ScreenPoint;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;
using kelpwood::foundation::SECColorWell;
using kelpwood::foundation::SECPopupColorWell;
using kelpwood::foundation::SECWellButton;

namespace {

constexpr UINT kWellId = 1025;

// A framework window as the parent, as a dialog would be: it hands WM_DRAWITEM back to the
// owner-drawn button and records the colours and commands it is told.
class WellParent : public CWnd {
 public:
  WellParent() {
    CreateEx(0, AfxRegisterWndClass(0), "Wells", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr);
  }
  ~WellParent() override {
    if (m_hWnd != nullptr) DestroyWindow();
  }
  std::vector<std::pair<WPARAM, LPARAM>> colours;
  std::vector<UINT> commands;

 protected:
  afx_msg LRESULT OnColor(WPARAM wParam, LPARAM lParam) {
    colours.emplace_back(wParam, lParam);
    return 0;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.push_back(LOWORD(wParam));
    return CWnd::OnCommand(wParam, lParam);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WellParent, CWnd)
  ON_MESSAGE(SEC_WM_COLORCHANGED, OnColor)
END_MESSAGE_MAP()

std::vector<LPARAM> ColoursTold(const WellParent& parent, WPARAM id) {
  std::vector<LPARAM> colours;
  for (const auto& [from, colour] : parent.colours)
    if (from == id) colours.push_back(colour);
  return colours;
}

class ColorWellTest : public ::testing::Test {
 protected:
  UiSession m_session;
  WellParent m_parent;
  CWnd* Parent() { return &m_parent; }
};

TEST_F(ColorWellTest, ClicksChooseACellAndTellTheParent) {
  SECColorWell well;
  ASSERT_TRUE(well.Create(WS_VISIBLE, 10, 10, Parent(), kWellId, FALSE));
  EXPECT_EQ(well.GetColor(), RGB(0, 0, 0));
  Click(well.m_hWnd, well.GetCellRect(1, 3).CenterPoint());
  EXPECT_EQ(well.m_nSelCol, 1);
  EXPECT_EQ(well.m_nSelRow, 3);
  const COLORREF chosen = well.GetCellColor(1, 3);
  EXPECT_EQ(ColoursTold(m_parent, kWellId), std::vector<LPARAM>{static_cast<LPARAM>(chosen)});
  RunUntilIdle();
  // The chosen cell's colour is painted inside its frames.
  EXPECT_EQ(WindowPixel(well.m_hWnd, well.GetCellRect(1, 3).CenterPoint().x, well.GetCellRect(1, 3).CenterPoint().y),
            chosen);
  // Without the "&Other..." button a colour outside the grid changes nothing.
  well.SetColor(RGB(1, 2, 3));
  EXPECT_EQ(well.GetColor(), chosen);
  well.SetColor(RGB(255, 0, 0));
  EXPECT_EQ(well.GetColor(), RGB(255, 0, 0));
}

TEST_F(ColorWellTest, ArrowKeysWrapRoundTheGridAndTheCustomCell) {
  SECColorWell well;
  ASSERT_TRUE(well.Create(WS_VISIBLE, 10, 10, Parent(), kWellId, TRUE));
  struct Move {
    int col, row;
    UINT key;
    int toCol, toRow;
  };
  auto check = [&](const auto& moves) {
    for (const Move& m : moves) {
      well.m_nSelCol = m.col;
      well.m_nSelRow = m.row;
      well.SendMessage(WM_KEYDOWN, m.key, 0);
      EXPECT_EQ(well.m_nSelCol, m.toCol) << m.col << "," << m.row << " key " << m.key;
      EXPECT_EQ(well.m_nSelRow, m.toRow) << m.col << "," << m.row << " key " << m.key;
    }
  };
  const Move withoutCustom[] = {{0, 0, VK_LEFT, 3, 4},  {3, 4, VK_RIGHT, 0, 0}, {3, 1, VK_RIGHT, 0, 2},
                                {0, 2, VK_LEFT, 3, 1},  {2, 0, VK_UP, 2, 4},    {2, 4, VK_DOWN, 2, 0},
                                {3, 0, VK_UP, 3, 4},    {3, 4, VK_DOWN, 3, 0}};
  check(withoutCustom);
  well.SetColor(RGB(1, 2, 3));  // shows the custom cell (column 3, row 5)
  const Move withCustom[] = {{0, 0, VK_LEFT, 3, 5}, {3, 4, VK_RIGHT, 3, 5}, {3, 5, VK_RIGHT, 0, 0},
                             {3, 5, VK_LEFT, 3, 4}, {3, 0, VK_UP, 3, 5},    {3, 5, VK_DOWN, 3, 0},
                             {3, 4, VK_DOWN, 3, 5}, {3, 5, VK_UP, 3, 4}};
  check(withCustom);
}

TEST_F(ColorWellTest, ColoursOutsideTheGridGoToTheCustomCellBesideTheNarrowedButton) {
  SECColorWell well;
  ASSERT_TRUE(well.Create(WS_VISIBLE, 10, 10, Parent(), kWellId, TRUE));
  ASSERT_NE(well.GetOtherButton(), nullptr);
  CString text;
  well.GetOtherButton()->GetWindowText(text);
  EXPECT_EQ(text, "&Other...");
  CRect before;
  well.GetOtherButton()->GetWindowRect(&before);
  well.SetColor(RGB(1, 2, 3));
  EXPECT_TRUE(well.m_bCustomShown);
  EXPECT_TRUE(well.IsCustomCell(well.m_nSelCol, well.m_nSelRow));
  EXPECT_EQ(well.GetColor(), RGB(1, 2, 3));
  CRect after;
  well.GetOtherButton()->GetWindowRect(&after);
  EXPECT_EQ(after.Width(), before.Width() - well.m_cxCell - 2);
  well.SetColor(RGB(4, 5, 6));  // the same cell takes the next one; the button stays
  EXPECT_EQ(well.GetColor(), RGB(4, 5, 6));
  well.GetOtherButton()->GetWindowRect(&before);
  EXPECT_EQ(before.Width(), after.Width());
  well.SetColor(RGB(0, 0, 255));  // a grid colour is selected in the grid
  EXPECT_FALSE(well.IsCustomCell(well.m_nSelCol, well.m_nSelRow));
}

TEST_F(ColorWellTest, OtherOpensTheColourDialogOnTheCurrentColour) {
  SECColorWell well;
  ASSERT_TRUE(well.Create(WS_VISIBLE, 10, 10, Parent(), kWellId, TRUE));
  well.SetColor(RGB(0, 128, 0));
  ModalAnswers answers;
  answers.When(nullptr, "Color", [](HWND dialog) {
    EXPECT_EQ(::GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE), 128u);
    ::SetDlgItemText(dialog, COLOR_RED, "200");
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  Click(well.GetOtherButton()->m_hWnd, CPoint(5, 5));
  EXPECT_EQ(well.GetColor(), RGB(200, 128, 0));
  EXPECT_EQ(ColoursTold(m_parent, kWellId).back(), static_cast<LPARAM>(RGB(200, 128, 0)));
  // A cancelled dialog changes nothing.
  answers.When(nullptr, "Color", [](HWND dialog) { ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0); });
  AdvanceClock(1000);
  Click(well.GetOtherButton()->m_hWnd, CPoint(5, 5));
  EXPECT_EQ(well.GetColor(), RGB(200, 128, 0));
}

class WellButtonTest : public ColorWellTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_button.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(20, 20, 80, 44), Parent(), kWellId, 0));
    m_button.SetColor(RGB(0, 0, 128));
    RunUntilIdle();
  }
  SECPopupColorWell* Popup() { return m_button.GetPopup(); }
  SECWellButton m_button;
};

TEST_F(WellButtonTest, ShowsItsColourAndDropsThePopupUnderItself) {
  EXPECT_EQ(WindowPixel(m_button.m_hWnd, 10, 12), RGB(0, 0, 128));
  Click(m_button.m_hWnd, CPoint(10, 10));
  ASSERT_TRUE(Popup()->IsShown());
  CRect rcButton, rcPopup;
  m_button.GetWindowRect(&rcButton);
  Popup()->GetWindowRect(&rcPopup);
  EXPECT_EQ(rcPopup.left, rcButton.left);
  EXPECT_EQ(rcPopup.top, rcButton.bottom);
  EXPECT_EQ(Popup()->GetColor(), RGB(0, 0, 128));
  EXPECT_EQ(::GetCapture(), Popup()->m_hWnd);
  // Clicking the button again while the popup is up does nothing.
  ClickAt(ScreenPoint(m_button.m_hWnd, CPoint(10, 10)));
  EXPECT_TRUE(Popup()->IsShown());
}

TEST_F(WellButtonTest, KeysMoveWithoutChoosingAndEnterChooses) {
  Click(m_button.m_hWnd, CPoint(10, 10));
  ASSERT_TRUE(Popup()->IsShown());
  const int col = Popup()->m_nSelCol, row = Popup()->m_nSelRow;
  PressKey(VK_RIGHT);
  PressKey(VK_DOWN);
  EXPECT_TRUE(ColoursTold(m_parent, kWellId).empty());
  const COLORREF highlighted = Popup()->GetCellColor((col + 1) % 4, row + 1);
  PressKey(VK_RETURN);
  EXPECT_FALSE(Popup()->IsShown());
  EXPECT_EQ(m_button.GetColor(), highlighted);
  EXPECT_EQ(ColoursTold(m_parent, kWellId), std::vector<LPARAM>{static_cast<LPARAM>(highlighted)});
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(WellButtonTest, EscapeAndClicksElsewhereCloseWithoutAChoice) {
  Click(m_button.m_hWnd, CPoint(10, 10));
  PressKey(VK_DOWN);
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(Popup()->IsShown());
  EXPECT_EQ(m_button.GetColor(), RGB(0, 0, 128));

  // A second button in the dialog: a click on it closes the popup and reaches it.
  CButton other;
  ASSERT_TRUE(other.Create("Other", WS_CHILD | WS_VISIBLE, CRect(200, 200, 280, 230), Parent(), 77));
  AdvanceClock(1000);
  Click(m_button.m_hWnd, CPoint(10, 10));
  ASSERT_TRUE(Popup()->IsShown());
  ClickAt(ScreenPoint(other.m_hWnd, CPoint(10, 10)));
  EXPECT_FALSE(Popup()->IsShown());
  EXPECT_EQ(m_button.GetColor(), RGB(0, 0, 128));
  EXPECT_TRUE(ColoursTold(m_parent, kWellId).empty());
  EXPECT_NE(std::find(m_parent.commands.begin(), m_parent.commands.end(), 77u), m_parent.commands.end());
}

}  // namespace
