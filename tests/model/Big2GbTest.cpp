// The GB2312/Big5 converter: the embedded tables, the pair rules, line handling, files that keep
// every byte and do not grow, and sample texts checked against iconv and OpenCC.
#include "model/AFBig2GBObj.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "base/Convert.h"
#include "core/CArchive.h"
#include "core/CMemFile.h"
#include "model/ModelTestSupport.h"
#include "platform/os/TempDir.h"
#include "res/Resources.h"
#include "res/ResourceTypes.h"

namespace {

using brambolt::testing_os::TempDir;

struct Tables {
  const BYTE* gbToBig5 = nullptr;
  const BYTE* big5ToGb = nullptr;
  DWORD gbToBig5Size = 0;
  DWORD big5ToGbSize = 0;
};

const Tables& EmbeddedTables() {
  static const Tables tables = [] {
    Tables t;
    t.gbToBig5 = model_test::TablesShell::Table("GBTOBIG", &t.gbToBig5Size);
    t.big5ToGb = model_test::TablesShell::Table("BIGTOGB", &t.big5ToGbSize);
    return t;
  }();
  return tables;
}

using ShellWithTables = model_test::TablesShell;

std::string Gb(std::string_view utf8) { return brambolt::Utf8ToCodePage(utf8, 936); }
std::string Big5(std::string_view utf8) { return brambolt::Utf8ToCodePage(utf8, 950); }
std::string Bytes(const CString& s) { return std::string(static_cast<LPCTSTR>(s), s.GetLength()); }
CString Str(const std::string& bytes) { return CString(bytes.data(), static_cast<int>(bytes.size())); }

std::string Convert(const std::string& bytes, bool gbToBig5) {
  CString text = Str(bytes);
  const Tables& t = EmbeddedTables();
  AFBig2GBObj::ConvertText(text, gbToBig5, gbToBig5 ? t.gbToBig5 : t.big5ToGb);
  return Bytes(text);
}

// Loads, converts and saves a file as the explorer does.
bool ConvertFile(const std::string& path, bool gbToBig5) {
  ShellWithTables shell;
  AFBig2GBObj converter;
  converter.ClearText();
  if (!converter.LoadFromFile(path.c_str())) return false;
  if (!(gbToBig5 ? converter.ConvertGBToBig5() : converter.ConvertBig5ToGB())) return false;
  return converter.SaveToFile(path.c_str());
}

TEST(Big2GbTables, EmbeddedWithTheirLayoutSizes) {
  const Tables& t = EmbeddedTables();
  ASSERT_NE(t.gbToBig5, nullptr);
  ASSERT_NE(t.big5ToGb, nullptr);
  EXPECT_EQ(t.gbToBig5Size, static_cast<DWORD>(AFBig2GBObj::GBToBig5TableSize));
  EXPECT_EQ(t.big5ToGbSize, static_cast<DWORD>(AFBig2GBObj::Big5ToGBTableSize));
}

TEST(Big2GbTables, HoldNoZeroByte) {
  const Tables& t = EmbeddedTables();
  ASSERT_NE(t.gbToBig5, nullptr);
  ASSERT_NE(t.big5ToGb, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.gbToBig5), t.gbToBig5Size).find('\0'), std::string::npos);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.big5ToGb), t.big5ToGbSize).find('\0'), std::string::npos);
}

struct KnownPair {
  const char* simplified;
  const char* traditional;
};

void PrintTo(const KnownPair& p, std::ostream* os) { *os << p.simplified << " " << p.traditional; }

class Big2GbKnownPairs : public ::testing::TestWithParam<KnownPair> {};

TEST_P(Big2GbKnownPairs, GBToBig5GivesTheCommonTraditionalForm) {
  EXPECT_EQ(Convert(Gb(GetParam().simplified), true), Big5(GetParam().traditional));
}

TEST_P(Big2GbKnownPairs, Big5ToGBGivesTheSimplifiedForm) {
  EXPECT_EQ(Convert(Big5(GetParam().traditional), false), Gb(GetParam().simplified));
}

INSTANTIATE_TEST_SUITE_P(CommonCharacters, Big2GbKnownPairs,
                         ::testing::Values(KnownPair{"国", "國"}, KnownPair{"发", "發"}, KnownPair{"后", "後"},
                                           KnownPair{"中", "中"}, KnownPair{"你", "你"}, KnownPair{"们", "們"},
                                           KnownPair{"说", "說"}, KnownPair{"电脑", "電腦"},
                                           KnownPair{"简体", "簡體"}, KnownPair{"一", "一"},
                                           KnownPair{"，", "，"}, KnownPair{"ａ", "ａ"}));

// One character read from a cell by iconv, or 0 (not one character, or, unless asked for, the
// private use area that code page 950 gives the cells it does not know).
char32_t Decode(const std::string& cell, const char* encoding, bool bPrivate = false) {
  iconv_t cd = iconv_open("UTF-32LE", encoding);
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  std::string in = cell;
  char32_t out[4] = {};
  char* pIn = in.data();
  size_t nIn = in.size();
  char* pOut = reinterpret_cast<char*>(out);
  size_t nOut = sizeof out;
  const bool bOk = iconv(cd, &pIn, &nIn, &pOut, &nOut) != static_cast<size_t>(-1) && nIn == 0;
  iconv_close(cd);
  const bool bOne = bOk && nOut == sizeof out - sizeof(char32_t);
  return bOne && (bPrivate || !(out[0] >= 0xE000 && out[0] <= 0xF8FF)) ? out[0] : 0;
}

// The characters of the two code pages, cell by cell over the tables' rows: a GB2312 cell as code
// page 936 reads it (and as glibc's GB2312 does where the two differ), a Big5 cell as code page
// 950 reads it, or as Big5-HKSCS does where 950 gives it a private character (the ETEN
// extensions, read so by browsers).
struct CodePages {
  std::map<std::string, std::vector<char32_t>> gb;
  std::map<std::string, char32_t> big5;
  std::map<char32_t, bool> inGb, inBig5;
  CodePages() {
    for (int lead = 0xA1; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        const std::string cell{static_cast<char>(lead), static_cast<char>(trail)};
        if (trail >= 0xA1 && (lead <= 0xA9 || lead >= 0xB0) && Decode(cell, "GB2312") != 0) {
          for (char32_t ch : {Decode(cell, "CP936"), Decode(cell, "GB2312")}) {
            if (ch == 0 || inGb[ch]) continue;
            gb[cell].push_back(ch);
            inGb[ch] = true;
          }
        }
        if (trail >= 0x7F && trail <= 0xA0) continue;
        char32_t ch = Decode(cell, "CP950");
        if (ch == 0 && Decode(cell, "CP950", true) != 0) ch = Decode(cell, "BIG5-HKSCS");
        if (ch != 0) {
          big5[cell] = ch;
          inBig5[ch] = true;
        }
      }
    }
  }
};

bool IsHan(char32_t ch) { return (ch >= 0x3400 && ch <= 0x9FFF) || (ch >= 0xF900 && ch <= 0xFAFF); }

std::string Utf8(char32_t ch) { return brambolt::UnicodeToAnsi(std::u32string(1, ch), CP_UTF8); }

// Every character both code pages hold converts to itself: a sign exactly, a Han character to
// itself or to its other form, which converts back to it (后 -> 後 -> 后); never to a white square.
TEST(Big2GbTables, EveryCharacterBothCodePagesHoldConvertsToItself) {
  const CodePages pages;
  ASSERT_GT(pages.gb.size(), 7000u);
  ASSERT_GT(pages.big5.size(), 13000u);
  std::string wrong;
  size_t nChecked = 0;
  for (const auto& [cell, chars] : pages.gb) {
    const char32_t ch = chars.front();
    bool bHeld = false;
    for (char32_t c : chars) bHeld = bHeld || pages.inBig5.count(c) != 0;
    if (!bHeld) continue;
    ++nChecked;
    const std::string to = Convert(cell, true);
    const auto found = pages.big5.find(to);
    const char32_t got = found != pages.big5.end() ? found->second : 0;
    const bool bSame = std::find(chars.begin(), chars.end(), got) != chars.end();
    if (!bSame && !(IsHan(ch) && IsHan(got) && Convert(to, false) == cell))
      wrong += " " + Utf8(ch) + ">" + (got != 0 ? Utf8(got) : "?");
  }
  for (const auto& [cell, ch] : pages.big5) {
    if (pages.inGb.count(ch) == 0) continue;
    ++nChecked;
    const std::string to = Convert(cell, false);
    const auto found = pages.gb.find(to);
    const bool bSame =
        found != pages.gb.end() && std::find(found->second.begin(), found->second.end(), ch) != found->second.end();
    const bool bOtherForm =
        found != pages.gb.end() && IsHan(ch) && IsHan(found->second.front()) && Convert(to, true) == cell;
    if (!bSame && !bOtherForm)
      wrong += " " + Utf8(ch) + "<" + (found != pages.gb.end() ? Utf8(found->second.front()) : "?");
  }
  EXPECT_GT(nChecked, 9000u);
  EXPECT_TRUE(wrong.empty()) << wrong;
  // What the tables write reads in the target code page (to iconv's "big5" too).
  const Tables& t = EmbeddedTables();
  for (DWORD i = 0; i + 1 < t.gbToBig5Size; i += 2)
    EXPECT_NE(Decode(std::string(reinterpret_cast<const char*>(t.gbToBig5) + i, 2), "BIG5", true), 0u) << i;
  for (DWORD i = 0; i + 1 < t.big5ToGbSize; i += 2)
    EXPECT_NE(Decode(std::string(reinterpret_cast<const char*>(t.big5ToGb) + i, 2), "GB2312"), 0u) << i;
}

// Where one code page lacks a sign the other writes another way, the other's way; what neither
// holds becomes the white square and is counted, a white square of the text is not.
TEST(Big2GbTables, SignsWrittenAnotherWayTakeTheOtherCodePagesFormAndTheRestAreCounted) {
  const struct {
    const char* gb;
    const char* big5;
  } toBig5[] = {{"≤≥", "≦≧"}, {"‖", "∥"}, {"∑∏", "ΣΠ"}, {"━┃┏╋", "─│┌┼"}, {"〖〗", "【】"}, {"∶", "："}};
  for (const auto& c : toBig5) EXPECT_EQ(Convert(Gb(c.gb), true), Big5(c.big5)) << c.gb;
  const struct {
    std::string big5;
    const char* gb;
  } toGb[] = {{Big5("≦≧"), "≤≥"}, {Big5("﹐﹑﹒"), "，、．"}, {Big5("︵︶﹁﹂"), "（）「」"}, {Big5("〝〞"), "“”"}};
  for (const auto& c : toGb) EXPECT_EQ(Convert(c.big5, false), Gb(c.gb)) << c.gb;

  CString text = Str(Gb("硷") + "a" + Gb("□㈠中"));
  const Tables& t = EmbeddedTables();
  EXPECT_EQ(AFBig2GBObj::ConvertText(text, TRUE, t.gbToBig5), 2);
  EXPECT_EQ(Bytes(text), Big5("□") + "a" + Big5("□□中"));
  CString back = Str(Big5("□") + "\xF9\xD5" + Big5("中"));  // 龘, which GB2312 lacks
  EXPECT_EQ(AFBig2GBObj::ConvertText(back, FALSE, t.big5ToGb), 1);
  EXPECT_EQ(Bytes(back), Gb("□□中"));
}

TEST(Big2GbPairs, ASCIIPassesUnchanged) {
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(Convert(ascii, true), ascii);
  EXPECT_EQ(Convert(ascii, false), ascii);
}

TEST(Big2GbPairs, GBPunctuationBecomesItsBig5TwinAndComesBack) {
  // Ideographic comma and full stop, then the quotes, between letters.
  const std::string text = "a、b。c“d”";
  EXPECT_EQ(Convert(Gb(text), true), Big5(text));
  EXPECT_EQ(Convert(Big5(text), false), Gb(text));
}

TEST(Big2GbPairs, PunctuationIsRecognisedOnlyAtCharacterBoundaries) {
  // B0 A1 is one character (啊); the A2 A1 after it is the next, so no comma is seen in between.
  const std::string text = Gb("啊") + "\xA2\xA1";
  EXPECT_EQ(Convert(text, true).substr(0, 2), Big5("啊"));
}

TEST(Big2GbPairs, GBLeadByteBeforeASCIIIsCopiedAlone) {
  EXPECT_EQ(Convert("\xC4" "A", true), "\xC4" "A");
  EXPECT_EQ(Convert("x\xC4", true), "x\xC4");
}

TEST(Big2GbPairs, GBRowsWithoutTableRowsAreCopied) {
  for (int lead = 0xAA; lead <= 0xAF; ++lead) {
    const std::string pair{static_cast<char>(lead), '\xA1'};
    EXPECT_EQ(Convert(pair + "z", true), pair + "z") << std::hex << lead;
  }
}

TEST(Big2GbPairs, Big5TrailInTheASCIIRangeIsConverted) {
  EXPECT_EQ(Convert("\xA4\x40", false), Gb("一"));
  EXPECT_EQ(Convert("\xA4\x3F", false), "\xA4\x3F");
}

TEST(Big2GbText, ConvertsInPlaceThroughTheShellsTables) {
  ShellWithTables shell;
  CString text = Str("<p>" + Gb("简体中文") + "</p>\r\n\t");
  ASSERT_TRUE(AFBig2GBObj::ConvertText(text, TRUE));
  EXPECT_EQ(Bytes(text), "<p>" + Big5("簡體中文") + "</p>\r\n\t");
  ASSERT_TRUE(AFBig2GBObj::ConvertText(text, FALSE));
  EXPECT_EQ(Bytes(text), "<p>" + Gb("简体中文") + "</p>\r\n\t");
}

TEST(Big2GbText, UnchangedWhenTheShellHasNoTable) {
  model_test::RecordingShell shellWithoutTables;
  CString text = Str(Gb("中文"));
  EXPECT_FALSE(AFBig2GBObj::ConvertText(text, TRUE));
  EXPECT_FALSE(AFBig2GBObj::ConvertText(text, FALSE));
  EXPECT_EQ(Bytes(text), Gb("中文"));
}

TEST(Big2GbPairs, ZeroTableEntryCopiesThePair) {
  const std::vector<BYTE> empty(AFBig2GBObj::Big5ToGBTableSize, 0);
  CString text = Str(Big5("中文"));
  AFBig2GBObj::ConvertText(text, FALSE, empty.data());
  EXPECT_EQ(Bytes(text), Big5("中文"));
}

TEST(Big2GbPairs, EveryGBCharacterMapsToAPairOrIsCopied) {
  // Row by row, a GB2312 character becomes exactly two bytes, so no text shrinks or grows.
  for (int lead = 0xA1; lead <= 0xFE; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(Convert(pair, true).size(), 2u) << std::hex << lead << " " << trail;
    }
  }
}

TEST(Big2GbObject, ConvertsNothingWithoutATable) {
  model_test::RecordingShell shellWithoutTables;
  TempDir dir;
  const std::string text = Gb("中国") + "\n";
  const std::string path = dir.Write("page.htm", text);
  AFBig2GBObj converter;
  ASSERT_TRUE(converter.LoadFromFile(path.c_str()));
  EXPECT_FALSE(converter.ConvertGBToBig5());
  EXPECT_FALSE(converter.ConvertBig5ToGB());
  ASSERT_TRUE(converter.SaveToFile(path.c_str()));
  EXPECT_EQ(dir.Read("page.htm"), text);
}

TEST(Big2GbFile, ConvertsCharactersAndKeepsEachLineEnd) {
  TempDir dir;
  const std::string path = dir.Write("page.htm", "A\xC4\xE3\r\n\xC4\xE3\n\tB\xC4\xE3");
  ASSERT_TRUE(ConvertFile(path, true));
  EXPECT_EQ(dir.Read("page.htm"), "A" + Big5("你") + "\r\n" + Big5("你") + "\n\tB" + Big5("你"));
}

struct LineCase {
  const char* name;
  std::string input;
  std::vector<std::string> lines;
  std::string saved;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class Big2GbLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(Big2GbLines, SplitAndSave) {
  const LineCase& c = GetParam();
  TempDir dir;
  const std::string path = dir.Write("f.txt", c.input);
  AFBig2GBObj converter;
  ASSERT_TRUE(converter.LoadFromFile(path.c_str()));
  ASSERT_EQ(converter.m_arrLines.GetSize(), static_cast<INT_PTR>(c.lines.size()));
  EXPECT_EQ(converter.m_nLineCount, static_cast<int>(c.lines.size()));
  for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(Bytes(converter.m_arrLines[i]), c.lines[i]) << i;
  ASSERT_TRUE(converter.SaveToFile(path.c_str()));
  EXPECT_EQ(dir.Read("f.txt"), c.saved);
  EXPECT_EQ(converter.GetTextLength(), static_cast<int>(c.saved.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Big2GbLines,
    ::testing::Values(LineCase{"Empty", "", {}, ""},
                      LineCase{"OneLineFeed", "\n", {""}, "\n"},
                      LineCase{"NoLineEnd", "abc", {"abc"}, "abc"},
                      LineCase{"CRLF", "a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
                      LineCase{"MixedLineEnds", "a\r\nb\nc\r\n\r\nd", {"a", "b", "c", "", "d"}, "a\r\nb\nc\r\n\r\nd"},
                      LineCase{"LoneCRKept", "a\rb\n", {"a\rb"}, "a\rb\n"},
                      LineCase{"EmptyLinesKept", "a\n\n\nb\n", {"a", "", "", "b"}, "a\n\n\nb\n"},
                      LineCase{"TabsKept", "\tx\t\r\n", {"\tx\t"}, "\tx\t\r\n"},
                      LineCase{"ZeroBytesKept", std::string("a\0b\n\0\n", 6), {std::string("a\0b", 3), std::string(1, '\0')},
                               std::string("a\0b\n\0\n", 6)}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(Big2GbFile, BinaryFileKeepsEveryByteAfterAZero) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 7) & 0xFF);
  const std::string path = dir.Write("blob.bin", bytes);
  AFBig2GBObj converter;
  ASSERT_TRUE(converter.LoadFromFile(path.c_str()));
  ASSERT_TRUE(converter.SaveToFile(path.c_str()));
  EXPECT_EQ(dir.Read("blob.bin"), bytes);
}

TEST(Big2GbFile, RoundTripsGiveBackTheFileByteForByte) {
  TempDir dir;
  const std::string text = Gb("中国人民\t发展、“进步”。\r\n\r\n第二行 abc\n") + Gb("最后一行");
  const std::string path = dir.Write("page.htm", text);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(ConvertFile(path, true));
    EXPECT_NE(dir.Read("page.htm"), text);
    ASSERT_TRUE(ConvertFile(path, false));
    EXPECT_EQ(dir.Read("page.htm"), text) << "round trip " << i;
  }
}

TEST(Big2GbFile, EmptyFileStaysEmpty) {
  TempDir dir;
  const std::string path = dir.Write("empty.htm");
  ASSERT_TRUE(ConvertFile(path, true));
  ASSERT_TRUE(ConvertFile(path, false));
  EXPECT_EQ(dir.Read("empty.htm"), "");
}

TEST(Big2GbFile, MissingFileIsNotLoaded) {
  TempDir dir;
  AFBig2GBObj converter;
  EXPECT_FALSE(converter.LoadFromFile((dir / "missing.htm").c_str()));
  EXPECT_FALSE(converter.LoadFromFile(dir.Path().c_str()));
}

TEST(Big2GbFile, SaveIntoAMissingFolderFails) {
  TempDir dir;
  AFBig2GBObj converter;
  converter.m_strText = "text\n";
  converter.SplitLines();
  EXPECT_FALSE(converter.SaveToFile((dir / "no-such-folder/page.htm").c_str()));
  EXPECT_FALSE(dir.Exists("no-such-folder"));
}

TEST(Big2GbObject, TextSurvivesSerialization) {
  AFBig2GBObj source;
  source.m_strText = Str(Gb("中文\n") + std::string("\0x", 2));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    source.Serialize(ar);
  }
  file.SeekToBegin();
  AFBig2GBObj loaded;
  {
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
  }
  EXPECT_EQ(Bytes(loaded.m_strText), Bytes(source.m_strText));
}

TEST(Big2GbObject, CreatedByName) {
  CObject* pObject = RUNTIME_CLASS(AFBig2GBObj)->CreateObject();
  ASSERT_NE(pObject, nullptr);
  EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(AFBig2GBObj)));
  EXPECT_EQ(static_cast<AFBig2GBObj*>(pObject)->m_nMode, 1);
  delete pObject;
}

// OpenCC converting character by character with the dictionaries the tables were made from.
// OpenCC's character conversion through a chain of its dictionaries (no phrases: the tables
// convert character by character).
class OpenCCOracle {
 public:
  explicit OpenCCOracle(std::initializer_list<const char*> dictionaries) {
    m_available = std::system("command -v opencc >/dev/null 2>&1") == 0;
    std::string chain;
    for (const char* dictionary : dictionaries) {
      m_available = m_available && std::filesystem::exists(std::string("/usr/share/opencc/") + dictionary);
      chain += std::string(chain.empty() ? "" : ",") + "{\"dict\":{\"type\":\"ocd2\",\"file\":\"/usr/share/opencc/" +
               dictionary + "\"}}";
    }
    if (!m_available) return;
    const std::string first = std::string("{\"type\":\"ocd2\",\"file\":\"/usr/share/opencc/") + *dictionaries.begin() + "\"}";
    std::ofstream(m_dir / "config.json") << "{\"name\":\"chars\",\"segmentation\":{\"type\":\"mmseg\",\"dict\":" << first
                                         << "},\"conversion_chain\":[" << chain << "]}";
  }
  bool Available() const { return m_available; }
  std::string Convert(const std::string& utf8) const {
    m_dir.Write("in.txt", utf8);
    const std::string command = "opencc -c " + (m_dir / "config.json") + " -i " + (m_dir / "in.txt") + " -o " +
                                (m_dir / "out.txt");
    if (std::system(command.c_str()) != 0) return "(opencc failed)";
    return m_dir.Read("out.txt");
  }

 private:
  TempDir m_dir;
  bool m_available = false;
};

const char kSimplifiedSample[] =
    "// 这个类负责读取项目文件并分析头文件中的类声明，然后生成帮助文档。\n"
    "class CWorkSpaceObj : public CObject { // 项目对象\n"
    "  int m_nLanguage; // 输出语言：简体中文、繁体中文或英文\n"
    "};\n"
    "后来我们发现国家图书馆里有很多关于计算机软件开发的书。\n"
    "欢迎使用本程序！请记住：错误报告将通过电子邮件发送给开发者。\n";

const char kTraditionalSample[] =
    "// 這個類別負責讀取專案檔案並分析標頭檔中的類別宣告，然後產生說明文件。\n"
    "後來我們發現國家圖書館裡有很多關於電腦軟體開發的書。\n"
    "歡迎使用本程式！請記住：錯誤報告將透過電子郵件傳送給開發者。\n";

TEST(Big2GbOracle, GBToBig5AgreesWithIconvAndOpenCC) {
  OpenCCOracle opencc({"STCharacters.ocd2", "TWVariants.ocd2"});
  if (!opencc.Available()) GTEST_SKIP() << "opencc is not installed";
  EXPECT_EQ(Convert(Gb(kSimplifiedSample), true), Big5(opencc.Convert(kSimplifiedSample)));
}

TEST(Big2GbOracle, Big5ToGBAgreesWithIconvAndOpenCC) {
  OpenCCOracle opencc({"TWVariantsRev.ocd2", "TSCharacters.ocd2"});
  if (!opencc.Available()) GTEST_SKIP() << "opencc is not installed";
  EXPECT_EQ(Convert(Big5(kTraditionalSample), false), Gb(opencc.Convert(kTraditionalSample)));
}

// The simplified words and phrases OpenCC knows (the keys of STPhrases), joined: a large sample
// of the characters of ordinary text, as often as they occur in its words.
std::u32string PhraseSample() {
  TempDir dir;
  const std::string command = "opencc_dict -i /usr/share/opencc/STPhrases.ocd2 -o " + (dir / "phrases.txt") +
                              " -f ocd2 -t text >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return {};
  std::u32string sample;
  std::ifstream in(dir / "phrases.txt");
  for (std::string line; std::getline(in, line);)
    sample += brambolt::AnsiToUnicode(line.substr(0, line.find('\t')), CP_UTF8);
  return sample;
}

bool IsHanzi(char32_t ch) { return ch >= 0x4E00 && ch <= 0x9FFF; }

// Characters of GB2312 (two bytes there) and what they are in code page 950, "" when it lacks them.
std::string InGb(char32_t ch) {
  const std::string bytes = brambolt::UnicodeToAnsi(std::u32string(1, ch), 936);
  return bytes.size() == 2 && brambolt::AnsiToUnicode(bytes, 936) == std::u32string(1, ch) &&
                 static_cast<unsigned char>(bytes[0]) >= 0xA1 && static_cast<unsigned char>(bytes[1]) >= 0xA1
             ? bytes
             : std::string();
}
std::string In950(char32_t ch) {
  const std::string bytes = brambolt::UnicodeToAnsi(std::u32string(1, ch), 950);
  return bytes.size() == 2 && brambolt::AnsiToUnicode(bytes, 950) == std::u32string(1, ch) ? bytes : std::string();
}

TEST(Big2GbOracle, OrdinaryTextAgreesWithOpenCCAndEveryCharacterBig5HoldsIsConverted) {
  OpenCCOracle opencc({"STCharacters.ocd2", "TWVariants.ocd2"});
  if (!opencc.Available()) GTEST_SKIP() << "opencc is not installed";
  // The words' characters that GB2312 holds, then every Hanzi of GB2312 once.
  std::u32string sample;
  for (char32_t ch : PhraseSample())
    if (IsHanzi(ch) && !InGb(ch).empty()) sample += ch;
  ASSERT_GT(sample.size(), 50000u);
  const size_t nOrdinary = sample.size();
  for (int lead = 0xB0; lead <= 0xF7; ++lead)
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::u32string ch = brambolt::AnsiToUnicode(std::string{static_cast<char>(lead), static_cast<char>(trail)}, 936);
      if (ch.size() == 1 && IsHanzi(ch[0])) sample += ch[0];
    }
  std::string gb;
  for (char32_t ch : sample) gb += InGb(ch);
  const std::string converted = Convert(gb, true);
  ASSERT_EQ(converted.size(), 2 * sample.size());
  const std::u32string expected = brambolt::AnsiToUnicode(opencc.Convert(brambolt::UnicodeToAnsi(sample, CP_UTF8)), CP_UTF8);
  ASSERT_EQ(expected.size(), sample.size());
  size_t nAgreeing = 0;
  std::u32string missing;
  for (size_t i = 0; i < sample.size(); ++i) {
    const std::string ours = converted.substr(2 * i, 2);
    const std::string theirs = In950(expected[i]);
    if (i < nOrdinary && ours == theirs) ++nAgreeing;
    if (ours == "\xA1\xBC" && !theirs.empty()) missing += sample[i];
  }
  EXPECT_GE(static_cast<double>(nAgreeing) / static_cast<double>(nOrdinary), 0.999)
      << nAgreeing << " of " << nOrdinary << " characters agree";
  EXPECT_TRUE(missing.empty()) << "white squares for characters code page 950 holds: "
                               << brambolt::UnicodeToAnsi(missing, CP_UTF8);
}

}  // namespace
