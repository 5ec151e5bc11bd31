// Little-endian fields over a bounded span and double-byte character positions over a string view.
#include <gtest/gtest.h>

#include "base/ByteOrder.h"
#include "base/CodePage.h"

using namespace brambolt;

TEST(ByteOrder, ReadsAndWritesFieldsInsideTheSpanOnly) {
  std::uint8_t bytes[6] = {0x34, 0x12, 0x98, 0xBA, 0xDC, 0xFE};
  EXPECT_EQ(ReadLE16(bytes), 0x1234);
  EXPECT_EQ(ReadLE32(bytes, 2), 0xFEDCBA98u);
  EXPECT_EQ(ReadLE32Signed(bytes, 2), static_cast<std::int32_t>(0xFEDCBA98u));
  EXPECT_EQ(ReadLE32(bytes, 3), 0u);  // one byte short
  EXPECT_EQ(ReadLE16(bytes, SIZE_MAX), 0);  // an offset that would wrap around
  EXPECT_TRUE(WriteLE32(bytes, 2, 0x01020304));
  EXPECT_FALSE(WriteLE16(bytes, 5, 0xFFFF));
  EXPECT_EQ(bytes[5], 0x01);  // the refused write left the last byte alone
  std::vector<std::uint8_t> out;
  AppendLE16(out, 0xBEEF);
  AppendLE32(out, 0xCAFEF00D);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0xEF, 0xBE, 0x0D, 0xF0, 0xFE, 0xCA}));
}

TEST(ByteOrder, ReaderStopsForGoodAtTheEnd) {
  const std::uint8_t bytes[] = {1, 0x02, 0x03, 0x10, 0x20, 0x30};
  ByteReader r(bytes);
  EXPECT_EQ(r.U8(), 1);
  EXPECT_EQ(r.U16(), 0x0302);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.U32(), 0u);  // three bytes left
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.U8(), 0);  // no read succeeds after a failure
  EXPECT_EQ(r.Remaining(), 0u);
}

TEST(CharacterPositions, FollowTheCodePageOverAView) {
  // "a", a double-byte character whose trail is 'A', two lead-range bytes, a lone lead at the end.
  const std::string_view text("a\x81" "A\xB0\xA1\x81", 6);
  struct Case {
    UINT page;
    std::size_t offset, start, next, previous;  // next: from the character's start
  };
  const Case cases[] = {
      {936, 0, 0, 1, 0}, {936, 1, 1, 3, 0}, {936, 2, 1, 3, 1},  {936, 3, 3, 5, 1},
      {936, 4, 3, 5, 3}, {936, 5, 5, 6, 3}, {936, 6, 6, 6, 5},  {950, 2, 1, 3, 1},
      {1252, 2, 2, 3, 1}, {1252, 5, 5, 6, 4},
  };
  for (const Case& c : cases) {
    ScopedCodePage page(c.page);
    SCOPED_TRACE(testing::Message() << c.page << " @" << c.offset);
    EXPECT_EQ(CharacterStart(text, c.offset), c.start);
    EXPECT_EQ(NextCharacter(text, c.start), c.next);
    EXPECT_EQ(PreviousCharacter(text, c.offset), c.previous);
    EXPECT_EQ(CharacterStart(c.page, text, c.offset), c.start);
  }
  ScopedCodePage page(936);
  EXPECT_EQ(CharacterLength(text, 1), 2u);
  EXPECT_EQ(CharacterLength(text, 5), 1u);  // the lone lead byte never reaches past the view
  EXPECT_EQ(CharacterLength(text, 6), 0u);
  EXPECT_FALSE(IsCharacterStart(text, 2));
}
