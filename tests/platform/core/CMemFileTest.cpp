// CMemFile: growth, seeking, the caller's buffers and direct buffer access.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/CException.h"
#include "core/CMemFile.h"
#include "FilesTestSupport.h"

using files_test::Raises;

namespace {

std::string Contents(CMemFile& file) {
  ULONGLONG pos = file.GetPosition();
  std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  file.Seek(static_cast<LONGLONG>(pos), CFile::begin);
  return bytes;
}

TEST(MemFile, GrowsAsWrittenAndReadsBack) {
  CMemFile file(16);
  std::string data(1000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i);
  for (size_t i = 0; i < data.size(); i += 100) file.Write(data.data() + i, 100);
  EXPECT_EQ(file.GetLength(), 1000u);
  EXPECT_EQ(file.GetPosition(), 1000u);
  EXPECT_TRUE(Contents(file) == data);
  file.Seek(-10, CFile::end);
  char tail[20];
  EXPECT_EQ(file.Read(tail, sizeof tail), 10u);
  EXPECT_EQ(file.Read(tail, sizeof tail), 0u);
}

TEST(MemFile, SeekingPastTheEndThenWritingLeavesZeros) {
  CMemFile file;
  file.Write("ab", 2);
  EXPECT_EQ(file.Seek(3, CFile::current), 5u);
  file.Write("z", 1);
  EXPECT_TRUE(Contents(file) == std::string("ab\0\0\0z", 6));
  EXPECT_TRUE(Raises<CFileException>([&] { file.Seek(-1, CFile::begin); }));
}

TEST(MemFile, SetLengthTruncatesAndExtendsWithZeros) {
  CMemFile file;
  file.Write("abcdef", 6);
  file.SetLength(3);
  EXPECT_EQ(file.GetPosition(), 3u);
  EXPECT_TRUE(Contents(file) == "abc");
  file.SetLength(5);
  EXPECT_TRUE(Contents(file) == std::string("abc\0\0", 5));
}

TEST(MemFile, AFixedCallerBufferIsTheFileAndCannotGrow) {
  BYTE buffer[4] = {'w', 'x', 'y', 'z'};
  CMemFile file(buffer, sizeof buffer);
  EXPECT_EQ(file.GetLength(), 4u);
  file.Write("AB", 2);
  EXPECT_EQ(buffer[0], 'A');
  EXPECT_TRUE(Raises<CMemoryException>([&] { file.Write("CDE", 3); }));
  EXPECT_EQ(file.Detach(), buffer);
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST(MemFile, AGrowableCallerBufferIsCopiedOutNotReallocated) {
  BYTE buffer[4] = {};
  CMemFile file;
  file.Attach(buffer, sizeof buffer, 8);
  EXPECT_EQ(file.GetLength(), 0u);
  file.Write("abc", 3);
  EXPECT_EQ(buffer[0], 'a');
  file.Write("defgh", 5);
  EXPECT_TRUE(Contents(file) == "abcdefgh");
  BYTE* grown = file.Detach();
  ASSERT_NE(grown, buffer);
  EXPECT_EQ(std::memcmp(grown, "abcdefgh", 8), 0);
  std::free(grown);
}

TEST(MemFile, DirectBufferAccessCommitsWrites) {
  CMemFile file;
  EXPECT_EQ(file.GetBufferPtr(CFile::bufferCheck), static_cast<UINT>(CFile::bufferDirect));
  void* start = nullptr;
  void* max = nullptr;
  UINT n = file.GetBufferPtr(CFile::bufferWrite, 5, &start, &max);
  ASSERT_EQ(n, 5u);
  std::memcpy(start, "hello", 5);
  file.GetBufferPtr(CFile::bufferCommit, 5);
  EXPECT_TRUE(Contents(file) == "hello");
  file.SeekToBegin();
  n = file.GetBufferPtr(CFile::bufferRead, 100, &start, &max);
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(file.GetPosition(), 5u);
}

TEST(MemFile, StatusReportsTheSizeAndLocksAreNotSupported) {
  CMemFile file;
  file.Write("1234", 4);
  CFileStatus status;
  ASSERT_TRUE(file.GetStatus(status));
  EXPECT_EQ(status.m_size, 4u);
  EXPECT_TRUE(Raises<CNotSupportedException>([&] { file.LockRange(0, 1); }));
  EXPECT_TRUE(Raises<CNotSupportedException>([&] { file.Duplicate(); }));
}

}  // namespace
