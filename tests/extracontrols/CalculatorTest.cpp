// The calculator: the arithmetic against a table of key sequences (percent, division by zero
// and its sticky error, the digit limits of the display), keys and characters firing buttons,
// mouse tracking, the popup's Enter, Escape and loss of focus.
#include <gtest/gtest.h>

#include "extracontrols/SECCalculator.h"
#include "testing/testing.h"
#include "tests/extracontrols/ExtraTestSupport.h"

using brambolt::test::ButtonDown;
using brambolt::test::ButtonUp;
using brambolt::test::Click;
using brambolt::test::MoveMouse;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::TypeText;
using brambolt::test::UiSession;
using extracontrols_test::Host;

namespace {

class Calculator : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_calc.Create(WS_VISIBLE | WS_TABSTOP | SECCalculator::StyleBorder, 10, 10, &m_host, 100));
    m_calc.SetFocus();
  }
  // Types the characters at the calculator as a person would.
  const CString& Type(const char* keys) {
    TypeText(keys);
    return m_calc.GetDisplay();
  }
  UiSession m_session;
  Host m_host;
  SECCalculator m_calc;
};

TEST_F(Calculator, ArithmeticAsTheKeysGiveIt) {
  struct Case {
    const char* keys;
    const char* display;
    bool error;
  };
  const Case cases[] = {
      {"c12+30=", "42.", false},
      {"c200*10%", "20.", false},       // percent of the pending product, nothing pending after
      {"c50+10%", "0.", false},          // percent without multiply or divide gives 0
      {"c7-9=", "-2.", false},
      {"c1/3=", "0.333333333333333", false},  // 16 digits in all
      {"c2/4=", "0.5", false},
      {"c12.5*2=", "25.", false},       // zeros after the separator go, the separator stays
      {"c99999999*99999=", "9999899900001.", false},  // 13 digits fit
      {"c99999999*999999=", "", true},   // 14 do not
      {"c5/0=", "", true},
  };
  for (const Case& c : cases) {
    Type(c.keys);
    EXPECT_EQ(m_calc.IsError(), c.error) << c.keys;
    if (!c.error) {
      EXPECT_EQ(m_calc.GetDisplay(), CString(c.display)) << c.keys;
    }
  }
}

TEST_F(Calculator, TheErrorStateIsStickyUntilCleared) {
  Type("c8/0=");
  ASSERT_TRUE(m_calc.IsError());
  EXPECT_FALSE(m_calc.HandleOperation(SECCalculator::OpAdd));
  Type("5+1=");
  EXPECT_TRUE(m_calc.IsError());
  EXPECT_EQ(m_calc.GetValue(), 8.0);  // the accumulator kept its value
  Type("c3*3=");
  EXPECT_FALSE(m_calc.IsError());
  EXPECT_EQ(m_calc.GetDisplay(), CString("9."));
}

TEST_F(Calculator, KeysAndCharactersFireTheirButtons) {
  Type("c4");
  PressKey(VK_MULTIPLY);
  TypeText("3");
  PressKey(VK_RETURN);  // the total
  EXPECT_EQ(m_calc.GetDisplay(), CString("12."));
  TypeText("C");  // upper case fires the button that lists the lower-case letter
  EXPECT_EQ(m_calc.GetDisplay(), "0");
  TypeText("123");
  PressKey(VK_BACK);
  EXPECT_EQ(m_calc.GetDisplay(), CString("12"));
  EXPECT_EQ(m_calc.SendMessage(WM_GETDLGCODE), 132);
}

TEST_F(Calculator, AButtonFiresWhenTheMouseIsReleasedOverIt) {
  const int seven = m_calc.FindButton(7), eight = m_calc.FindButton(8);
  const CRect rc7 = m_calc.GetButton(seven)->GetRect(), rc8 = m_calc.GetButton(eight)->GetRect();
  Click(m_calc.m_hWnd, rc7.CenterPoint());
  EXPECT_EQ(m_calc.GetDisplay(), "7");
  ButtonDown(m_calc.m_hWnd, rc8.CenterPoint());
  EXPECT_NE(m_calc.GetButton(eight)->m_dwState & SECCalcBtn::Pressed, 0u);
  MoveMouse(m_calc.m_hWnd, rc7.CenterPoint());
  EXPECT_EQ(m_calc.GetButton(eight)->m_dwState & SECCalcBtn::Pressed, 0u);
  ButtonUp(m_calc.m_hWnd, rc7.CenterPoint());  // released elsewhere: nothing fires
  EXPECT_EQ(m_calc.GetDisplay(), "7");
  EXPECT_EQ(::GetCapture(), nullptr);
  RunUntilIdle();
  // The display panel shows the text on the window colour, inside a sunken edge.
  EXPECT_EQ(brambolt::test::WindowPixel(m_calc.m_hWnd, m_calc.m_rcPanel.left + 2 + 2, m_calc.m_rcPanel.top + 2 + 2),
            ::GetSysColor(COLOR_WINDOW));
}

TEST(PopupCalculator, EnterTotalsAndCommitsEscapeDoesNot) {
  UiSession session;
  Host host;
  SECPopupCalculator popup;
  ASSERT_TRUE(popup.CreatePopup(CRect(10, 10, 100, 30), &host, 6.0));
  EXPECT_EQ(popup.GetDisplay(), CString("6."));
  TypeText("*7");
  PressKey(VK_RETURN);
  EXPECT_EQ(popup.m_hWnd, nullptr);
  EXPECT_TRUE(popup.IsCommitted());
  EXPECT_EQ(popup.GetValue(), 42.0);

  ASSERT_TRUE(popup.CreatePopup(CRect(10, 10, 100, 30), &host, 1.0));
  TypeText("+1");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(popup.m_hWnd, nullptr);
  EXPECT_FALSE(popup.IsCommitted());

  ASSERT_TRUE(popup.CreatePopup(CRect(10, 10, 100, 30), &host, 2.0));
  host.SetFocus();  // losing the focus commits and closes
  RunUntilIdle();
  EXPECT_EQ(popup.m_hWnd, nullptr);
  EXPECT_TRUE(popup.IsCommitted());
}

}  // namespace
