// Find and replace with regular expressions: byte offsets after double-byte text, direction and
// stop positions, invalid patterns, and replacements equal to the matched text.
#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "editor/SECEditBlockBuffer.h"
#include "editor/SECEditRegExp.h"

namespace {

SECEditBlockBuffer* Buffer(const char* text) {
  auto* buffer = new SECEditBlockBuffer;
  SECEditLineColPair where(0, 0, 0, 0);
  buffer->InsertText(where, text, -1);
  return buffer;
}

TEST(EditRegExp, FindHonoursDirectionAndStopAndCountsBytes) {
  brambolt::ScopedCodePage page(936);
  std::unique_ptr<SECEditBlockBuffer> buffer(Buffer("\xD6\xD0\xCE\xC4 id1\nx id22 y\nid333\n"));
  int line = -1, col = -1;
  // Forward from the start: the first match, at its byte column after two double-byte characters.
  EXPECT_EQ(buffer->Find(0, 0, &line, &col, "id\\d+", TRUE, FALSE, TRUE, FALSE, TRUE, -1, 0), 3);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(0, 5));
  // A match that begins after the stop is none.
  EXPECT_EQ(buffer->Find(0, 6, &line, &col, "id\\d+", TRUE, FALSE, TRUE, FALSE, TRUE, 1, 1), 0);
  EXPECT_EQ(buffer->Find(0, 6, &line, &col, "id\\d+", TRUE, FALSE, TRUE, FALSE, TRUE, 1, 2), 4);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(1, 2));
  // Backward: the last match before the start.
  EXPECT_EQ(buffer->Find(2, 0, &line, &col, "ID\\d+", FALSE, FALSE, FALSE, FALSE, TRUE, -1, 0), 4);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(1, 2));
  EXPECT_EQ(buffer->Find(1, 2, &line, &col, "id\\d+", FALSE, FALSE, TRUE, FALSE, TRUE, -1, 0), 3);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(0, 5));
  // Backward with wrap from the first match goes round to the last one.
  EXPECT_EQ(buffer->Find(0, 5, &line, &col, "id\\d+", FALSE, TRUE, TRUE, FALSE, TRUE, -1, 0), 5);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(2, 0));
  // A match across lines is found in one search.
  EXPECT_EQ(buffer->Find(0, 0, &line, &col, "y\\nid", TRUE, FALSE, TRUE, FALSE, TRUE, 2, 0), 4);
  EXPECT_EQ(buffer->Find(0, 0, &line, &col, "(unclosed", TRUE, TRUE, TRUE, FALSE, TRUE, -1, 0), 0);
}

TEST(EditRegExp, AdapterReportsMatchesAndReplacementsByMatchNotByChange) {
  SECEditRegExp re;
  ASSERT_TRUE(re.Create());
  int index = -1, length = -1;
  EXPECT_FALSE(re.FindFirst("abc", &index, &length));  // empty pattern
  re.SetPattern("(\\w+)");
  CString text = "one two";
  EXPECT_TRUE(re.Replace(text, "$1", TRUE));
  EXPECT_STREQ(text, "one two");
  EXPECT_TRUE(re.Replace(text, "<$1>", TRUE));
  EXPECT_STREQ(text, "<one> <two>");
  text = "one two";
  EXPECT_TRUE(re.Replace(text, "<$1>", FALSE));  // Global was set back after the last call
  EXPECT_STREQ(text, "<one> two");
  re.SetPattern("z+");
  EXPECT_FALSE(re.Replace(text, "y", TRUE));
  EXPECT_STREQ(text, "<one> two");
  re.SetPattern("(a");
  EXPECT_FALSE(re.FindFirst("(a", &index, &length));
  EXPECT_FALSE(re.GetError().IsEmpty());
  re.SetPattern("B");
  re.SetIgnoreCase(TRUE);
  EXPECT_TRUE(re.FindFirst("abc", &index, &length));
  EXPECT_EQ(index, 1);
}

}  // namespace
