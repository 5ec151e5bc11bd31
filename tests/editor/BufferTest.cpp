// The text buffer against a plain string (random edits in the Western and the GBK code page),
// its position rules, find with wrap, stop and whole words, writing, and positions moved by edits.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "base/Convert.h"
#include "core/CMemFile.h"
#include "editor/SECEditBlockBuffer.h"

namespace {

// Line starts of a reference text split at LF.
std::vector<int> LineStarts(const std::string& text) {
  std::vector<int> starts{0};
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') starts.push_back(static_cast<int>(i + 1));
  return starts;
}

std::string Text(SECEditBlockBuffer& buffer) {
  CString out;
  const int last = buffer.GetLineCount() - 1;
  EXPECT_TRUE(buffer.CopyRange(&out, 0, 0, last, buffer.GetLineLength(last)));
  return std::string(out, static_cast<size_t>(out.GetLength()));
}

void ExpectSame(SECEditBlockBuffer& buffer, const std::string& ref, std::mt19937& rng) {
  ASSERT_EQ(Text(buffer), ref);
  const std::vector<int> starts = LineStarts(ref);
  ASSERT_EQ(buffer.GetLineCount(), static_cast<int>(starts.size()));
  for (size_t l = 0; l < starts.size(); ++l) {
    const int end = l + 1 < starts.size() ? starts[l + 1] : static_cast<int>(ref.size());
    ASSERT_EQ(buffer.LineColToOffset(static_cast<int>(l), 0), starts[l]);
    ASSERT_EQ(buffer.GetLineLength(static_cast<int>(l)), end - starts[l]);
    const size_t cut = ref.find_first_of("\r\n", static_cast<size_t>(starts[l]));
    const int visible = (cut == std::string::npos || static_cast<int>(cut) > end ? end : static_cast<int>(cut)) - starts[l];
    ASSERT_EQ(buffer.GetVisibleLineLength(static_cast<int>(l)), visible) << "line " << l;
  }
  for (int k = 0; k < 8; ++k) {
    const int offset = static_cast<int>(rng() % (ref.size() + 1));
    int line = -1, col = -1;
    ASSERT_TRUE(buffer.OffsetToLineCol(offset, &line, &col));
    ASSERT_EQ(starts[static_cast<size_t>(line)] + col, offset);
    ASSERT_TRUE(line + 1 == static_cast<int>(starts.size()) || offset < starts[static_cast<size_t>(line) + 1]);
  }
}

void RunRandomEdits(unsigned seed, const std::vector<std::string>& pieces) {
  std::mt19937 rng(seed);
  SECEditBlockBuffer buffer;
  std::string ref, ops;
  for (int step = 0; step < 600; ++step) {
    const std::vector<int> starts = LineStarts(ref);
    const int line = static_cast<int>(rng() % starts.size());
    const int lineEnd = line + 1 < static_cast<int>(starts.size()) ? starts[static_cast<size_t>(line) + 1] : static_cast<int>(ref.size());
    const int col = static_cast<int>(rng() % static_cast<unsigned>(lineEnd - starts[static_cast<size_t>(line)] + 1));
    if (rng() % 3 != 0 || ref.empty()) {
      std::string text;
      for (int n = static_cast<int>(rng() % 6); n >= 0; --n) text += pieces[rng() % pieces.size()];
      SECEditLineColPair where(line, col, 0, 0);
      ops += "I " + std::to_string(line) + "," + std::to_string(col) + " [" + text + "]\n";
      ASSERT_TRUE(buffer.InsertText(where, text.c_str(), static_cast<int>(text.size())));
      ref.insert(static_cast<size_t>(starts[static_cast<size_t>(line)] + col), text);
      const std::vector<int> after = LineStarts(ref);
      const int endOffset = starts[static_cast<size_t>(line)] + col + static_cast<int>(text.size());
      ASSERT_EQ(buffer.LineColToOffset(where.m_end.m_nLine, where.m_end.m_nCol), endOffset);
    } else {
      // Delete to a random later position whose column lies within the visible text.
      const int endLine = line + static_cast<int>(rng() % std::min<size_t>(3, starts.size() - static_cast<size_t>(line)));
      const int visible = buffer.GetVisibleLineLength(endLine);
      int endCol = static_cast<int>(rng() % static_cast<unsigned>(visible + 1));
      if (endLine == line) endCol = std::max(endCol, std::min(col, visible));
      const int a = buffer.LineColToOffset(line, col), b = buffer.LineColToOffset(endLine, endCol);
      ops += "D " + std::to_string(line) + "," + std::to_string(col) + "-" + std::to_string(endLine) + "," + std::to_string(endCol) + "\n";
      ASSERT_TRUE(buffer.DeleteText(SECEditLineColPair(line, col, endLine, endCol)));
      if (b > a) ref.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
    }
    ExpectSame(buffer, ref, rng);
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << ops << "[" << ref << "] seed " << seed << " step " << step << " line " << line << " col " << col;
      return;
    }
  }
}

TEST(EditBuffer, RandomEditsMatchAPlainString) {
  for (unsigned seed : {1u, 2u, 3u}) RunRandomEdits(seed, {"a", "bc", "\n", "\r\n", " ", "xyz\nq", "\r"});
}

TEST(EditBuffer, RandomEditsOfDoubleByteTextMatchAPlainString) {
  brambolt::ScopedCodePage page(936);
  for (unsigned seed : {4u, 5u}) RunRandomEdits(seed, {"\xB0\xA1", "\xD6\xD0\xCE\xC4", "\n", "a", "\r\n"});
}

TEST(EditBuffer, PositionsAndLengthsFollowTheLineRules) {
  SECEditBlockBuffer buffer;
  EXPECT_EQ(buffer.GetLineCount(), 1);
  EXPECT_EQ(buffer.GetLineLength(0), 0);
  EXPECT_EQ(buffer.LineColToOffset(0, 0), 0);
  EXPECT_EQ(buffer.LineColToOffset(1, 0), -1);
  SECEditLineColPair where(0, 0, 0, 0);
  ASSERT_TRUE(buffer.InsertText(where, "a\nb", 3));
  EXPECT_EQ(buffer.GetLineCount(), 2);
  EXPECT_EQ(where.m_end, SECEditLineCol(1, 1));
  SECEditLineColPair two(0, 1, 0, 0);
  buffer.InsertText(two, "xy", 2);
  EXPECT_EQ(two.m_end, SECEditLineCol(0, 3));
  // "axy\nb": column 4 of line 0 is column 0 of line 1.
  EXPECT_EQ(buffer.LineColToOffset(0, 4), buffer.LineColToOffset(1, 0));
  EXPECT_EQ(buffer.LineColToOffset(0, 5), -1);
  EXPECT_FALSE(buffer.InsertText(two = SECEditLineColPair(0, 9, 0, 0), "z", 1));
  // An end column past the visible text does not join the lines.
  EXPECT_TRUE(buffer.DeleteText(SECEditLineColPair(0, 1, 0, 40)));
  EXPECT_EQ(buffer.GetLineCount(), 2);
  EXPECT_TRUE(buffer.DeleteText(SECEditLineColPair(0, 1, 0, 1)));
  CString line;
  buffer.CopyRange(&line, 0, 0, -1, -1);
  EXPECT_STREQ(line, "a\n");
  LPTSTR p = nullptr;
  EXPECT_EQ(buffer.GetPointer(&p, 1, 0, 1, 1), 1);
  EXPECT_STREQ(p, "b");  // the text's end carries its NUL
  EXPECT_EQ(buffer.GetPointer(&p, 3, 0, 3, 0), 0);
}

TEST(EditBuffer, FindWrapsStopsAndKnowsWholeWords) {
  SECEditBlockBuffer buffer;
  SECEditLineColPair where(0, 0, 0, 0);
  buffer.InsertText(where, "foo\nbar foo\nbaz\nfoo end\n", -1);
  int line = -1, col = -1;
  // From (3,0) with the stop at the start: to the end, then wrapped from the top.
  EXPECT_EQ(buffer.Find(3, 1, &line, &col, "foo", TRUE, TRUE, TRUE, FALSE, FALSE, -1, 0), 3);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(0, 0));
  EXPECT_EQ(buffer.Find(3, 1, &line, &col, "foo", TRUE, FALSE, TRUE, FALSE, FALSE, -1, 0), 0);
  // A match that begins after the stop is none, in each comparison mode.
  EXPECT_EQ(buffer.Find(1, 0, &line, &col, "foo", TRUE, FALSE, TRUE, FALSE, FALSE, 1, 3), 0);
  EXPECT_EQ(buffer.Find(1, 0, &line, &col, "FOO", TRUE, FALSE, FALSE, FALSE, FALSE, 1, 3), 0);
  EXPECT_EQ(buffer.Find(1, 0, &line, &col, "FOO", TRUE, FALSE, FALSE, FALSE, FALSE, 1, 4), 3);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(1, 4));
  // Backward from the end of line 3 finds the nearest earlier one.
  EXPECT_EQ(buffer.Find(3, 7, &line, &col, "foo", FALSE, TRUE, TRUE, FALSE, FALSE, -1, 0), 3);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(3, 0));
  EXPECT_EQ(buffer.Find(3, 0, &line, &col, "foo", FALSE, TRUE, TRUE, FALSE, FALSE, -1, 0), 3);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(1, 4));

  SECEditBlockBuffer words;
  words.InsertText(where = SECEditLineColPair(0, 0, 0, 0), "a_b\nab", -1);
  EXPECT_EQ(words.Find(0, 0, &line, &col, "a", TRUE, FALSE, TRUE, TRUE, FALSE, 1, 2), 1);
  EXPECT_EQ(SECEditLineCol(line, col), SECEditLineCol(0, 0));
  EXPECT_EQ(words.Find(1, 0, &line, &col, "a", TRUE, FALSE, TRUE, TRUE, FALSE, 1, 2), 0);
}

TEST(EditBuffer, FindStepsOverDoubleByteCharacters) {
  brambolt::ScopedCodePage page(936);
  SECEditBlockBuffer buffer;
  SECEditLineColPair where(0, 0, 0, 0);
  // B0 A1 B0 A1: the bytes A1 B0 in the middle are a trail and a lead, not a character.
  buffer.InsertText(where, "\xB0\xA1\xB0\xA1 \xA1\xB0", -1);
  int line = -1, col = -1;
  EXPECT_EQ(buffer.Find(0, 0, &line, &col, "\xA1\xB0", TRUE, FALSE, TRUE, FALSE, FALSE, 0, 7), 2);
  EXPECT_EQ(col, 5);
  EXPECT_EQ(buffer.Find(0, 0, &line, &col, "\xA1\xB0", TRUE, FALSE, FALSE, FALSE, FALSE, 0, 7), 2);
  EXPECT_EQ(col, 5);
  EXPECT_EQ(buffer.Find(0, 7, &line, &col, "\xB0\xA1", FALSE, FALSE, TRUE, FALSE, FALSE, 0, 0), 2);
  EXPECT_EQ(col, 2);
}

TEST(EditBuffer, WritesBytesOrUtf16AfterTheByteOrderMark) {
  SECEditBlockBuffer buffer;
  SECEditLineColPair where(0, 0, 0, 0);
  buffer.InsertText(where, "ab", 2);
  CMemFile file;
  buffer.Write(&file, TRUE);
  const ULONGLONG size = file.GetLength();
  ASSERT_EQ(size, 6u);
  BYTE* bytes = file.Detach();
  EXPECT_EQ(std::vector<BYTE>(bytes, bytes + 6), (std::vector<BYTE>{0xFF, 0xFE, 'a', 0, 'b', 0}));
  free(bytes);
}

TEST(EditBuffer, Utf16PiecesNeverSplitADoubleByteCharacter) {
  brambolt::ScopedCodePage page(936);
  // One byte first, so that the 256,000-byte piece boundary falls between a lead and its trail.
  std::string text = "a";
  for (int i = 0; i < 130000; ++i) text += "\xB0\xA1";
  SECEditBlockBuffer buffer;
  SECEditLineColPair where(0, 0, 0, 0);
  buffer.InsertText(where, text.c_str(), static_cast<int>(text.size()));
  CMemFile file;
  buffer.Write(&file, TRUE);
  const ULONGLONG size = file.GetLength();
  ASSERT_EQ(size, 2u + 2u * 130001u);
  BYTE* bytes = file.Detach();
  std::vector<WCHAR> expected(130001);
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), expected.data(), 130001);
  EXPECT_EQ(std::memcmp(bytes + 2, expected.data(), 2 * expected.size()), 0);
  free(bytes);
}

TEST(EditBuffer, PositionsMoveOverEdits) {
  struct Case {
    SECEditLineCol pos;
    SECEditLineColPair edit;
    BOOL insert;
    SECEditLineCol expected;
    BOOL changed;
  };
  const Case cases[] = {
      {{3, 6}, {1, 2, 3, 4}, FALSE, {1, 4}, TRUE},
      {{2, 0}, {1, 2, 3, 4}, FALSE, {1, 2}, TRUE},
      {{1, 2}, {1, 2, 3, 4}, FALSE, {1, 2}, FALSE},
      {{0, 9}, {1, 2, 3, 4}, FALSE, {0, 9}, FALSE},
      {{5, 1}, {3, 4, 1, 2}, FALSE, {3, 1}, TRUE},
      {{1, 5}, {1, 2, 1, 4}, TRUE, {1, 7}, TRUE},
      {{1, 5}, {1, 2, 3, 1}, TRUE, {3, 4}, TRUE},
      {{4, 5}, {1, 2, 3, 1}, TRUE, {6, 5}, TRUE},
  };
  for (const Case& c : cases) {
    SECEditLineCol pos = c.pos;
    EXPECT_EQ(pos.Adjust(c.edit, c.insert), c.changed);
    EXPECT_EQ(pos, c.expected) << c.pos.m_nLine << "," << c.pos.m_nCol;
  }
  EXPECT_EQ(SECEditLineColPair(3, 4, 1, 2), SECEditLineColPair(1, 2, 3, 4));
  EXPECT_TRUE(SECEditLineColPair(1, 0, 2, 0).Overlaps(SECEditLineColPair(2, 0, 4, 0)));
  EXPECT_FALSE(SECEditLineColPair(1, 0, 2, 0).Overlaps(SECEditLineColPair(2, 1, 4, 0)));
}

}  // namespace
