#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/base.h"

namespace {

DEFINE_GUID(kSample, 0x00020400, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

TEST(Guid, TextFormIsBracedUpperCaseHex) {
  EXPECT_EQ(brambolt::GuidToString(kSample), "{00020400-0000-0000-C000-000000000046}");
  OLECHAR text[39];
  EXPECT_EQ(StringFromGUID2(kSample, text, 39), 39);
  EXPECT_EQ(std::u16string(text), u"{00020400-0000-0000-C000-000000000046}");
  EXPECT_EQ(StringFromGUID2(kSample, text, 38), 0);
}

TEST(Guid, TextRoundTripsAndRejectsMalformedInput) {
  GUID parsed{};
  ASSERT_TRUE(brambolt::GuidFromString("{00020400-0000-0000-c000-000000000046}", &parsed));
  EXPECT_TRUE(IsEqualGUID(parsed, kSample));
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromString(u"{00020400-0000-0000-C000-000000000046}", &clsid), S_OK);
  EXPECT_EQ(clsid, kSample);
  for (const char* bad : {"00020400-0000-0000-C000-000000000046", "{00020400-0000-0000-C000-00000000004}",
                          "{00020400-0000-0000-C000-0000000000467}", "{0002040G-0000-0000-C000-000000000046}",
                          "{00020400-0000-0000-C000-000000000046}x", ""})
    EXPECT_FALSE(brambolt::GuidFromString(bad, &parsed)) << bad;
  EXPECT_EQ(CLSIDFromString(u"{nonsense}", &clsid), CO_E_CLASSSTRING);
}

TEST(Guid, CreatedGuidsAreRandomVersion4) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    GUID guid;
    ASSERT_EQ(CoCreateGuid(&guid), S_OK);
    EXPECT_EQ(guid.Data3 >> 12, 4);
    EXPECT_EQ(guid.Data4[0] & 0xC0, 0x80);
    seen.insert(brambolt::GuidToString(guid));
  }
  EXPECT_EQ(seen.size(), 200u);
  EXPECT_NE(GUID_NULL, kSample);
}

}  // namespace
