// CStdioFile and the text stream helpers: CR LF in text mode, bytes in binary mode, lines of any
// length.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "core/CStdioFile.h"
#include "core/TextStream.h"
#include "FilesTestSupport.h"

using files_test::ReadAll;
using files_test::TempFolder;
using files_test::WriteAll;

namespace {

std::vector<std::string> ReadLines(const std::string& path, UINT flags) {
  CStdioFile file(path.c_str(), CFile::modeRead | flags);
  std::vector<std::string> lines;
  CString line;
  while (file.ReadString(line)) lines.emplace_back(static_cast<LPCTSTR>(line));
  return lines;
}

TEST(StdioFileText, WriteStringWritesLineFeedsAsCrLf) {
  TempFolder folder;
  std::string path = folder / "out.txt";
  {
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    file.WriteString("one\ntwo\n");
    file.WriteString("three");
    file.Write("\n", 1);
  }
  EXPECT_EQ(ReadAll(path), "one\r\ntwo\r\nthree\r\n");
  {
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    file.WriteString("one\ntwo\r\n");
  }
  EXPECT_EQ(ReadAll(path), "one\ntwo\r\n");
}

TEST(StdioFileText, TextIsTheDefaultMode) {
  TempFolder folder;
  std::string path = folder / "out.txt";
  {
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.WriteString("a\n");
  }
  EXPECT_EQ(ReadAll(path), "a\r\n");
}

TEST(StdioFileText, ReadStringDropsLineFeedsAndCarriageReturns) {
  TempFolder folder;
  std::string path = folder / "in.txt";
  WriteAll(path, "one\r\ntwo\nthree\r\n\r\nmid\rdle\r\nlast");
  std::vector<std::string> expected = {"one", "two", "three", "", "mid\rdle", "last"};
  EXPECT_EQ(ReadLines(path, CFile::typeText), expected);
  // Binary mode only takes the line feed away.
  std::vector<std::string> binary = {"one\r", "two", "three\r", "\r", "mid\rdle\r", "last"};
  EXPECT_EQ(ReadLines(path, CFile::typeBinary), binary);
}

TEST(StdioFileText, ReadStringIntoABufferKeepsTheNewlineAndCutsLongLines) {
  TempFolder folder;
  std::string path = folder / "in.txt";
  WriteAll(path, "ab\r\nabcdefg\r\nx");
  CStdioFile file(path.c_str(), CFile::modeRead);
  char buffer[4];
  const char* expected[] = {"ab\n", "abc", "def", "g\n", "x"};
  for (const char* e : expected) {
    ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
    EXPECT_STREQ(buffer, e);
  }
  EXPECT_EQ(file.ReadString(buffer, sizeof buffer), nullptr);
}

TEST(StdioFileText, ReadTranslatesCrLfAcrossBufferBoundaries) {
  TempFolder folder;
  std::string path = folder / "in.txt";
  std::string raw;
  std::string translated;
  for (int i = 0; i < 3000; ++i) {
    raw += "xy\r\n";
    translated += "xy\n";
    if (i % 7 == 0) {
      raw += "\r";
      translated += "\r";
    }
  }
  WriteAll(path, raw);
  CStdioFile file(path.c_str(), CFile::modeRead);
  std::string back;
  char chunk[333];
  for (UINT n; (n = file.Read(chunk, sizeof chunk)) != 0;) back.append(chunk, n);
  EXPECT_TRUE(back == translated);
  EXPECT_EQ(file.GetPosition(), raw.size());
}

TEST(StdioFileText, PositionCountsTheFileBytes) {
  TempFolder folder;
  std::string path = folder / "in.txt";
  WriteAll(path, "first\r\nsecond\r\n");
  CStdioFile file(path.c_str(), CFile::modeRead);
  CString line;
  file.ReadString(line);
  EXPECT_EQ(file.GetPosition(), 7u);
  file.Seek(0, CFile::begin);
  file.ReadString(line);
  EXPECT_STREQ(static_cast<LPCTSTR>(line), "first");
}

TEST(StdioFileText, WriteWithoutCreateAppends) {
  TempFolder folder;
  std::string path = folder / "log.txt";
  WriteAll(path, "a\r\n");
  {
    CStdioFile file(path.c_str(), CFile::modeWrite);
    file.WriteString("b\n");
  }
  EXPECT_EQ(ReadAll(path), "a\r\nb\r\n");
}

TEST(StdioFileText, OpenFailuresRaiseFromTheConstructor) {
  TempFolder folder;
  std::string missing = folder / "missing.txt";
  EXPECT_EQ(files_test::FileCause([&] { CStdioFile file(missing.c_str(), CFile::modeRead); }).cause,
            CFileException::fileNotFound);
}

TEST(TextOutStream, WritesNumbersCharsAndStringsWithCrLf) {
  TempFolder folder;
  std::string path = folder / "page.htm";
  {
    TextOutStream out(path.c_str());
    ASSERT_TRUE(out.good());
    out << "<p>" << CString("x") << '=' << -42 << ' ' << 4000000000u << ' ' << -7L << ' ' << 12UL << "\n";
    out << "end\n";
    EXPECT_TRUE(out.close());
  }
  EXPECT_EQ(ReadAll(path), "<p>x=-42 4000000000 -7 12\r\nend\r\n");
  {
    TextOutStream out(path.c_str(), true);
    out << "more\n";
  }
  EXPECT_EQ(ReadAll(path), "<p>x=-42 4000000000 -7 12\r\nend\r\nmore\r\n");
}

TEST(TextOutStream, ReplacingKeepsTheFileAndCutsItWhereTheWritingEnded) {
  TempFolder folder;
  const std::string path = folder / "page.htm";
  for (const char* text : {"a longer first text\n", "short\n", "", "the same length\n", "the same length\n"}) {
    TextOutStream out;
    ASSERT_TRUE(out.openToReplace(path.c_str()));
    out << text;
    EXPECT_TRUE(out.close());
    std::string expected = text;
    if (!expected.empty()) expected.insert(expected.size() - 1, "\r");
    EXPECT_EQ(ReadAll(path), expected);
  }
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  TextOutStream out;
  ASSERT_TRUE(out.openToReplace(path.c_str()));
  out << "x\n";
  EXPECT_TRUE(out.close());
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, rewritten";
}

TEST(TextOutStream, AFileThatCannotBeCreatedFails) {
  TempFolder folder;
  TextOutStream out((folder / "no-folder/page.htm").c_str());
  EXPECT_FALSE(out.is_open());
  EXPECT_TRUE(out.fail());
  out << "ignored";
  EXPECT_FALSE(out.close());
}

TEST(TextReadLine, ReadsWholeLinesWithoutTheirLineEnds) {
  TempFolder folder;
  std::string path = folder / "in.txt";
  std::string longLine(100000, 'q');
  WriteAll(path, "short\r\n" + longLine + "\r\n\nlast");
  FILE* stream = std::fopen(path.c_str(), "rb");
  ASSERT_NE(stream, nullptr);
  CString line;
  ASSERT_TRUE(ReadLine(stream, line));
  EXPECT_STREQ(static_cast<LPCTSTR>(line), "short");
  ASSERT_TRUE(ReadLine(stream, line));
  EXPECT_EQ(line.GetLength(), 100000);
  ASSERT_TRUE(ReadLine(stream, line));
  EXPECT_TRUE(line.IsEmpty());
  ASSERT_TRUE(ReadLine(stream, line));
  EXPECT_STREQ(static_cast<LPCTSTR>(line), "last");
  EXPECT_FALSE(ReadLine(stream, line));
  std::fclose(stream);
}

}  // namespace
