#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "os/os.h"

namespace {

std::string Info(LCTYPE type, LCID locale = LOCALE_USER_DEFAULT) {
  char buffer[256];
  int n = GetLocaleInfo(locale, type, buffer, sizeof(buffer));
  EXPECT_GT(n, 0) << type;
  EXPECT_EQ(n, static_cast<int>(std::strlen(buffer)) + 1) << type;
  return n > 0 ? buffer : "";
}

TEST(Locale, DayNamesStartOnMonday) {
  const char* expected[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
  const char* abbreviated[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(Info(LOCALE_SDAYNAME1 + i), expected[i]);
    EXPECT_EQ(Info(LOCALE_SABBREVDAYNAME1 + i), abbreviated[i]);
  }
  EXPECT_EQ(LOCALE_SDAYNAME7, 0x30);
  EXPECT_EQ(LOCALE_SABBREVDAYNAME7, 0x37);
  EXPECT_EQ(Info(0x30), "Sunday");
}

TEST(Locale, MonthNamesInOrder) {
  const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                          "July",    "August",   "September", "October", "November", "December"};
  for (int m = 0; m < 12; ++m) {
    EXPECT_EQ(Info(0x38 + m), months[m]);
    EXPECT_EQ(Info(0x44 + m), std::string(months[m]).substr(0, 3));
    EXPECT_STREQ(brambolt::EnglishMonthName(m + 1), months[m]);
  }
  EXPECT_STREQ(brambolt::EnglishDayName(0, true), "Sun");
  EXPECT_STREQ(brambolt::EnglishDayName(7), "");
}

TEST(Locale, FormatsAreTheEnglishOnes) {
  const struct {
    LCTYPE type;
    const char* value;
  } cases[] = {{LOCALE_SDECIMAL, "."},          {LOCALE_STHOUSAND, ","},
               {LOCALE_SDATE, "/"},             {LOCALE_STIME, ":"},
               {LOCALE_SSHORTDATE, "M/d/yyyy"}, {LOCALE_SLONGDATE, "dddd, MMMM dd, yyyy"},
               {LOCALE_IDATE, "0"},             {LOCALE_ICURRDIGITS, "2"},
               {LOCALE_SCURRENCY, "$"},         {LOCALE_S1159, "AM"},
               {LOCALE_IFIRSTDAYOFWEEK, "6"}};
  for (const auto& c : cases) EXPECT_EQ(Info(c.type | LOCALE_NOUSEROVERRIDE), c.value) << c.type;
}

TEST(Locale, SizeQueriesAndShortBuffers) {
  EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME3, nullptr, 0), 10);  // "Wednesday" + NUL
  char small[9];
  std::memset(small, 'X', sizeof(small));
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME3, small, sizeof(small)), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  char exact[10];
  EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME3, exact, sizeof(exact)), 10);
  EXPECT_STREQ(exact, "Wednesday");
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, 0x7777, exact, sizeof(exact)), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfo(MAKELCID(0x0411, SORT_DEFAULT), LOCALE_SDAYNAME1, exact, sizeof(exact)), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Locale, NumbersOnRequest) {
  DWORD value = 0;
  EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_ICURRDIGITS | LOCALE_RETURN_NUMBER,
                          reinterpret_cast<LPSTR>(&value), sizeof(value)),
            4);
  EXPECT_EQ(value, 2u);
  EXPECT_EQ(GetLocaleInfo(0x0804, LOCALE_ILANGUAGE | LOCALE_RETURN_NUMBER, reinterpret_cast<LPSTR>(&value),
                          sizeof(value)),
            4);
  EXPECT_EQ(value, 0x0804u);
  EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL | LOCALE_RETURN_NUMBER,
                          reinterpret_cast<LPSTR>(&value), sizeof(value)),
            0);
}

TEST(Locale, IdentityFollowsTheCodePage) {
  const struct {
    UINT codePage;
    LCID lcid;
    const char* language;
    const char* ansi;
  } cases[] = {{936, 0x0804, "0804", "936"}, {950, 0x0404, "0404", "950"}, {1252, 0x0409, "0409", "1252"}};
  for (const auto& c : cases) {
    brambolt::ScopedCodePage page(c.codePage);
    EXPECT_EQ(GetUserDefaultLCID(), c.lcid);
    EXPECT_EQ(GetSystemDefaultLCID(), c.lcid);
    EXPECT_EQ(GetUserDefaultLangID(), static_cast<LANGID>(c.lcid));
    EXPECT_EQ(Info(LOCALE_ILANGUAGE), c.language);
    EXPECT_EQ(Info(LOCALE_IDEFAULTANSICODEPAGE), c.ansi);
    EXPECT_EQ(Info(LOCALE_SDAYNAME1), "Monday");  // names stay English
  }
  EXPECT_EQ(Info(LOCALE_SISO3166CTRYNAME, 0x0404), "TW");
}

}  // namespace
