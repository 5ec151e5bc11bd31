// SECCompressFile: gzip files written by us and read by the system's gzip and the other way
// round, the header and trailer we write, plain files read unchanged, and damaged files that raise.
#include "foundation/SECCompressFile.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "FoundationTestSupport.h"
#include "core/CException.h"
#include "platform/os/TempDir.h"

namespace {

using brambolt::testing_os::TempDir;
using foundation_testing::ScopedFileSizeLimit;

void Shell(const std::string& command) { EXPECT_EQ(std::system(command.c_str()), 0) << command; }

void WriteCompressed(const std::string& path, const std::string& content, UINT chunk = 1000) {
  SECCompressFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
  for (std::size_t pos = 0; pos < content.size(); pos += chunk) {
    const std::size_t n = std::min<std::size_t>(chunk, content.size() - pos);
    file.Write(content.data() + pos, static_cast<UINT>(n));
  }
  file.Close();
}

std::string ReadAll(SECCompressFile& file, UINT chunk = 777) {
  std::string content;
  std::vector<char> buffer(chunk);
  for (UINT got; (got = file.Read(buffer.data(), chunk)) != 0;) content.append(buffer.data(), got);
  return content;
}

std::string ReadCompressed(const std::string& path, UINT chunk = 777) {
  SECCompressFile file(path.c_str(), CFile::modeRead);
  std::string content = ReadAll(file, chunk);
  file.Close();
  return content;
}

DWORD LittleEndian(const std::string& bytes, std::size_t at) {
  DWORD value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

DWORD Crc(const std::string& content) {
  return static_cast<DWORD>(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(content.data()),
                                  static_cast<uInt>(content.size())));
}

struct ContentCase {
  const char* name;
  std::string content;
};

void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.name; }

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string Text(std::size_t size) {
  std::string text;
  while (text.size() < size) text += "class CWorkSpaceObj : public CObject { int m_nCount; };\n";
  text.resize(size);
  return text;
}

std::vector<ContentCase> Contents() {
  return {{"Empty", ""},
          {"OneByte", "x"},
          {"Abc", "abc"},
          {"BufferMinusOne", Text(4095)},
          {"Buffer", Text(4096)},
          {"Random100k", RandomBytes(100000, 7)},
          {"Text1M", Text(1 << 20)}};
}

class GzipInterchange : public ::testing::TestWithParam<ContentCase> {
 protected:
  TempDir dir;
};

TEST_P(GzipInterchange, SystemGzipReadsWhatWeWrite) {
  const std::string& content = GetParam().content;
  WriteCompressed(dir / "ours.gz", content);
  Shell("gzip -dc '" + (dir / "ours.gz") + "' > '" + (dir / "ours.out") + "'");
  EXPECT_EQ(dir.Read("ours.out"), content);
  const std::string bytes = dir.Read("ours.gz");
  ASSERT_GE(bytes.size(), 18u);
  EXPECT_EQ(bytes.substr(0, 10), std::string("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x0B", 10));
  EXPECT_EQ(LittleEndian(bytes, bytes.size() - 8), Crc(content));
  EXPECT_EQ(LittleEndian(bytes, bytes.size() - 4), static_cast<DWORD>(content.size()));
}

TEST_P(GzipInterchange, WeReadWhatSystemGzipWrites) {
  const std::string& content = GetParam().content;
  dir.Write("plain", content);
  // Without -n gzip stores the file name (FNAME) and time in the header.
  Shell("gzip -k -6 '" + (dir / "plain") + "'");
  Shell("gzip -1 -n -c '" + (dir / "plain") + "' > '" + (dir / "fast.gz") + "'");
  EXPECT_EQ(ReadCompressed(dir / "plain.gz"), content);
  EXPECT_EQ(ReadCompressed(dir / "fast.gz", 4096), content);
}

TEST_P(GzipInterchange, EveryMemberOfAConcatenatedFileIsReadAsZcatDoes) {
  const std::string& content = GetParam().content;
  dir.Write("first", content);
  dir.Write("second", "second member\n");
  Shell("gzip -n -c '" + (dir / "first") + "' > '" + (dir / "both.gz") + "'");
  Shell("gzip -c '" + (dir / "second") + "' >> '" + (dir / "both.gz") + "'");
  Shell("gzip -n -c '" + (dir / "first") + "' >> '" + (dir / "both.gz") + "'");
  EXPECT_EQ(ReadCompressed(dir / "both.gz", 1000), content + "second member\n" + content);
}

INSTANTIATE_TEST_SUITE_P(SECCompressFile, GzipInterchange, ::testing::ValuesIn(Contents()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SECCompressFileFormat, AbcHasTheDocumentedHeaderAndTrailer) {
  TempDir dir;
  WriteCompressed(dir / "abc.gz", "abc");
  const std::string bytes = dir.Read("abc.gz");
  EXPECT_EQ(bytes.substr(0, 10), std::string("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x0B", 10));
  EXPECT_EQ(bytes.substr(bytes.size() - 8), std::string("\xC2\x41\x24\x35\x03\x00\x00\x00", 8));
}

TEST(SECCompressFileFormat, HeaderExtrasAreSkipped) {
  // FEXTRA, FNAME, FCOMMENT and FHCRC before the data of "hi".
  TempDir dir;
  std::string deflated(64, '\0');
  z_stream z{};
  ASSERT_EQ(deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>("hi"));
  z.avail_in = 2;
  z.next_out = reinterpret_cast<Bytef*>(deflated.data());
  z.avail_out = static_cast<uInt>(deflated.size());
  ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  deflated.resize(z.total_out);
  deflateEnd(&z);
  std::string file("\x1F\x8B\x08\x1E\x00\x00\x00\x00\x00\x03", 10);
  file += std::string("\x03\x00xyz", 5) + "name.txt" + std::string(1, '\0') + "a comment" + std::string(1, '\0');
  file += std::string("\x12\x34", 2) + deflated;
  const DWORD crc = Crc("hi");
  for (int i = 0; i < 4; ++i) file += static_cast<char>(crc >> (8 * i));
  file += std::string("\x02\x00\x00\x00", 4);
  dir.Write("extras.gz", file);
  EXPECT_EQ(ReadCompressed(dir / "extras.gz"), "hi");
}

TEST(SECCompressFileFormat, PlainFilesReadUnchanged) {
  TempDir dir;
  for (const std::string& content : {std::string(), std::string("P"), std::string("\x1F"), Text(10000)}) {
    dir.Write("plain.txt", content);
    EXPECT_EQ(ReadCompressed(dir / "plain.txt", 100), content) << content.size();
  }
}

TEST(SECCompressFileFormat, SeveralFilesAtOnceStayApart) {
  TempDir dir;
  const std::string a = Text(50000);
  const std::string b = RandomBytes(50000, 3);
  {
    SECCompressFile fa((dir / "a.gz").c_str(), CFile::modeCreate | CFile::modeWrite);
    SECCompressFile fb((dir / "b.gz").c_str(), CFile::modeCreate | CFile::modeWrite);
    for (std::size_t pos = 0; pos < a.size(); pos += 5000) {
      fa.Write(a.data() + pos, 5000);
      fb.Write(b.data() + pos, 5000);
    }
  }
  SECCompressFile ra((dir / "a.gz").c_str(), CFile::modeRead);
  SECCompressFile rb((dir / "b.gz").c_str(), CFile::modeRead);
  EXPECT_EQ(ReadAll(rb), b);
  EXPECT_EQ(ReadAll(ra), a);
}

TEST(SECCompressFileModes, WrongModeMovesNoBytes) {
  TempDir dir;
  SECCompressFile writer((dir / "w.gz").c_str(), CFile::modeCreate | CFile::modeWrite);
  char buffer[16];
  EXPECT_EQ(writer.Read(buffer, sizeof buffer), 0u);
  writer.Write("data", 4);
  writer.Close();
  SECCompressFile reader((dir / "w.gz").c_str(), CFile::modeRead);
  reader.Write("more", 4);
  EXPECT_EQ(ReadAll(reader), "data");
  SECCompressFile closed;
  EXPECT_EQ(closed.Read(buffer, sizeof buffer), 0u);
}

TEST(SECCompressFileModes, UncompressedFileIsAPlainFile) {
  TempDir dir;
  SECCompressFile file;
  file.m_bCompressed = FALSE;
  ASSERT_TRUE(file.Open((dir / "p").c_str(), CFile::modeCreate | CFile::modeWrite));
  file.Write("plain", 5);
  file.Close();
  EXPECT_EQ(dir.Read("p"), "plain");
}

TEST(SECCompressFileModes, MissingFileThrowsFromTheConstructor) {
  TempDir dir;
  int cause = -1;
  try {
    SECCompressFile file((dir / "none.gz").c_str(), CFile::modeRead);
  } catch (CFileException* e) {
    cause = e->m_cause;
    e->Delete();
  }
  EXPECT_EQ(cause, CFileException::fileNotFound);
  SECCompressFile file;
  EXPECT_FALSE(file.Open((dir / "none.gz").c_str(), CFile::modeRead));
}

TEST(SECCompressFileModes, FailedFinishThrowsFromClose) {
  TempDir dir;
  SECCompressFile file((dir / "full.gz").c_str(), CFile::modeCreate | CFile::modeWrite);
  const std::string content = RandomBytes(3000, 11);
  file.Write(content.data(), static_cast<UINT>(content.size()));
  bool raised = false;
  {
    ScopedFileSizeLimit limit(100);
    try {
      file.Close();
    } catch (CFileException* e) {
      raised = true;
      e->Delete();
    }
  }
  EXPECT_TRUE(raised);
  char buffer[4];
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
}

// How a good file is damaged, and where.
struct Damage {
  const char* name;
  void (*apply)(std::string& bytes);
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

const Damage kDamages[] = {
    {"FlippedFirstDataByte", [](std::string& b) { b[10] = static_cast<char>(b[10] ^ 0xFF); }},
    {"FlippedMiddleByte", [](std::string& b) { b[b.size() / 2] = static_cast<char>(b[b.size() / 2] ^ 0x10); }},
    {"FlippedLastDataByte", [](std::string& b) { b[b.size() - 9] = static_cast<char>(b[b.size() - 9] ^ 0x01); }},
    {"FlippedCrc", [](std::string& b) { b[b.size() - 8] = static_cast<char>(b[b.size() - 8] ^ 0x01); }},
    {"FlippedLength", [](std::string& b) { b[b.size() - 1] = static_cast<char>(b[b.size() - 1] ^ 0x01); }},
    {"TruncatedTrailer", [](std::string& b) { b.resize(b.size() - 3); }},
    {"NoTrailer", [](std::string& b) { b.resize(b.size() - 8); }},
    {"TruncatedData", [](std::string& b) { b.resize(b.size() / 2); }},
    {"HeaderOnly", [](std::string& b) { b.resize(10); }},
    {"ReservedFlag", [](std::string& b) { b[3] = static_cast<char>(0x20); }},
    {"NotDeflate", [](std::string& b) { b[2] = 7; }},
    {"GarbageAfterTheLastMember", [](std::string& b) { b += "garbage"; }},
    {"DamagedSecondMember", [](std::string& b) { b += b.substr(0, 20); }},
};

class DamagedGzip : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedGzip, ReadingRaisesAFileException) {
  TempDir dir;
  const std::string content = Text(20000) + RandomBytes(20000, 5);
  WriteCompressed(dir / "good.gz", content);
  std::string bytes = dir.Read("good.gz");
  GetParam().apply(bytes);
  dir.Write("bad.gz", bytes);
  int cause = -1;
  try {
    SECCompressFile file((dir / "bad.gz").c_str(), CFile::modeRead);
    ReadAll(file, 4096);
  } catch (CFileException* e) {
    cause = e->m_cause;
    e->Delete();
  }
  EXPECT_EQ(cause, CFileException::invalidFile);
}

INSTANTIATE_TEST_SUITE_P(SECCompressFile, DamagedGzip, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
