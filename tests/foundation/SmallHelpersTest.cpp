// The small helpers: seeding of the runtime's generator, the locale's day and month names, and
// the toolkit's cached system colours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/SECLocaleNames.h"
#include "foundation/SECRandom.h"
#include "foundation/SECSysColors.h"
#include "gdi/SysColors.h"
#include "win/WinUser.h"

namespace {

std::vector<int> Draws(int count) {
  std::vector<int> draws;
  for (int i = 0; i < count; ++i) draws.push_back(std::rand());
  return draws;
}

TEST(SECRandom, SameSeedLeavesTheGeneratorInTheSameState) {
  SECRandom first(1234);
  const auto a = Draws(5);
  SECRandom second(1234);
  EXPECT_EQ(Draws(5), a);
  SECRandom other(1235);
  EXPECT_NE(Draws(5), a);
}

TEST(SECRandom, StartsWithTheDocumentedBoundsAndScale) {
  SECRandom random(7);
  EXPECT_EQ(random.m_nLowerBound, 0);
  EXPECT_EQ(random.m_nUpperBound, 32767);
  EXPECT_EQ(random.m_nSeed, 7u);
  EXPECT_EQ(random.m_dScale, 1.0);
  EXPECT_EQ(random.m_pBlock, nullptr);
}

TEST(SECRandom, RunTimeClassSeedsFromTheClock) {
  std::unique_ptr<CObject> object(RUNTIME_CLASS(SECRandom)->CreateObject());
  ASSERT_NE(object, nullptr);
  ASSERT_TRUE(object->IsKindOf(RUNTIME_CLASS(SECRandom)));
  EXPECT_NE(static_cast<SECRandom*>(object.get())->m_nSeed, 0u);
}

struct NameCase {
  bool day;
  int number;
  BOOL full;
  const char* name;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << (c.day ? "day " : "month ") << c.number; }

class LocaleNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(LocaleNames, NameTheDayOrMonth) {
  const NameCase& c = GetParam();
  CString name("unchanged");
  const BOOL found = c.day ? GetLocaleDayName(name, c.number, c.full) : GetLocaleMonthName(name, c.number, c.full);
  if (c.name == nullptr) {
    EXPECT_FALSE(found);
    EXPECT_EQ(std::string(name), "unchanged");
  } else {
    EXPECT_TRUE(found);
    EXPECT_EQ(std::string(name), c.name);
  }
}

INSTANTIATE_TEST_SUITE_P(
    SmallHelpers, LocaleNames,
    ::testing::Values(NameCase{true, 1, TRUE, "Sunday"}, NameCase{true, 1, FALSE, "Sun"},
                      NameCase{true, 2, TRUE, "Monday"}, NameCase{true, 4, FALSE, "Wed"},
                      NameCase{true, 7, TRUE, "Saturday"}, NameCase{true, 7, FALSE, "Sat"},
                      NameCase{false, 1, TRUE, "January"}, NameCase{false, 1, FALSE, "Jan"},
                      NameCase{false, 9, TRUE, "September"}, NameCase{false, 12, FALSE, "Dec"},
                      NameCase{true, 0, TRUE, nullptr}, NameCase{true, 8, FALSE, nullptr},
                      NameCase{true, -1, TRUE, nullptr}, NameCase{false, 0, TRUE, nullptr},
                      NameCase{false, 13, FALSE, nullptr}));

class SysColors : public ::testing::Test {
 protected:
  void TearDown() override {
    brambolt::ResetSysColors();
    SECGetSysColors().Refresh();
  }
};

TEST_F(SysColors, HoldTheSystemColoursCursorAndBorders) {
  const SECSysColors& colors = SECGetSysColors();
  const std::pair<COLORREF, int> fields[] = {
      {colors.m_clrBtnFace, COLOR_BTNFACE},       {colors.m_clrBtnShadow, COLOR_BTNSHADOW},
      {colors.m_clrBtnHilite, COLOR_BTNHIGHLIGHT}, {colors.m_clrWindowFrame, COLOR_WINDOWFRAME},
      {colors.m_clr3DLight, COLOR_3DLIGHT},       {colors.m_clr3DDkShadow, COLOR_3DDKSHADOW},
      {colors.m_clrWindowText, COLOR_WINDOWTEXT}, {colors.m_clrWindow, COLOR_WINDOW},
      {colors.m_clrHighlight, COLOR_HIGHLIGHT},   {colors.m_clrHighlightText, COLOR_HIGHLIGHTTEXT}};
  for (const auto& [value, index] : fields) EXPECT_EQ(value, GetSysColor(index)) << index;
  EXPECT_EQ(colors.m_hcurArrow, LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(colors.m_nBorderX, 2);
  EXPECT_EQ(colors.m_nBorderY, 2);
  EXPECT_TRUE(colors.m_bWin4);
}

TEST_F(SysColors, RefreshPicksUpChangedColours) {
  SECSysColors& colors = SECGetSysColors();
  const INT indices[] = {COLOR_BTNFACE, COLOR_HIGHLIGHT};
  const COLORREF values[] = {RGB(1, 2, 3), RGB(4, 5, 6)};
  ASSERT_TRUE(SetSysColors(2, indices, values));
  EXPECT_NE(colors.m_clrBtnFace, RGB(1, 2, 3));
  colors.Refresh();
  EXPECT_EQ(colors.m_clrBtnFace, RGB(1, 2, 3));
  EXPECT_EQ(colors.m_clrHighlight, RGB(4, 5, 6));
}

TEST_F(SysColors, EachThreadHasItsOwnObject) {
  const SECSysColors* here = &SECGetSysColors();
  EXPECT_EQ(&SECGetSysColors(), here);
  const SECSysColors* there = nullptr;
  std::thread([&] { there = &SECGetSysColors(); }).join();
  EXPECT_NE(there, here);
}

}  // namespace
