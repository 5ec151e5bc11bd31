// File names at the system's boundary under the locales of a desktop: names the program makes are
// in the locale's charset, names on disk read back as the program spells them, and a name another
// locale made (or one the code page cannot spell) still reaches its file.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "TempDir.h"
#include "base/base.h"
#include "os/os.h"

namespace brambolt {
namespace {

using testing_os::TempDir;

struct LocaleNames {
  const char* locale;
  std::string folder, name;          // as typed in the code page
  std::string folderOnDisk, nameOnDisk;  // as other programs of that locale spell them
  std::string foreign;               // a name on disk the code page cannot spell
};

std::string ReadAll(const std::string& programPath) {
  HANDLE h = CreateFile(programPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<none>";
  char buffer[64] = {};
  DWORD n = 0;
  ReadFile(h, buffer, sizeof buffer, &n, nullptr);
  CloseHandle(h);
  return std::string(buffer, n);
}

std::vector<std::string> Listed(const std::string& programFolder) {
  std::vector<std::string> names;
  WIN32_FIND_DATA data;
  HANDLE find = FindFirstFile((programFolder + "\\*.txt").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFile(find, &data));
  FindClose(find);
  return names;
}

TEST(NameCharset, NamesAreMadeInTheLocalesCharsetAndEveryNameOnDiskStaysReachable) {
  const LocaleNames cases[] = {
      {"C.UTF-8", "Gr\xF6\xDF" "e", "Ma\xDF.txt", "Gr\xC3\xB6\xC3\x9F" "e", "Ma\xC3\x9F.txt", "\xE6\x97\xA5.txt"},
      {"de_DE.UTF-8", "Gr\xF6\xDF" "e", "Ma\xDF.txt", "Gr\xC3\xB6\xC3\x9F" "e", "Ma\xC3\x9F.txt", "\xE6\x97\xA5.txt"},
      {"zh_CN.UTF-8", "\xCE\xC4\xB5\xB5", "\xD6\xD0.txt", "\xE6\x96\x87\xE6\xA1\xA3", "\xE4\xB8\xAD.txt",
       "\xD8\xA7.txt"},
      // The folder's trail byte is '\': no separator.
      {"zh_TW.UTF-8", "\xB3\x5C", "\xA4\xA4.txt", "\xE8\xA8\xB1", "\xE4\xB8\xAD.txt", "\xD8\xA7.txt"},
      {"zh_CN.GB2312", "\xCE\xC4\xB5\xB5", "\xD6\xD0.txt", "\xCE\xC4\xB5\xB5", "\xD6\xD0.txt", "\xE4\xB8\xAD\xE6\x96\x87.txt"},
      {"zh_TW.BIG5", "\xB3\x5C", "\xA4\xA4.txt", "\xB3\x5C", "\xA4\xA4.txt", "\xE4\xB8\xAD\xE6\x96\x87.txt"},
  };
  for (const LocaleNames& c : cases) {
    SCOPED_TRACE(c.locale);
    ScopedLocale locale(c.locale);
    TempDir dir;
    const std::string programFolder = dir.Path() + "\\" + c.folder;
    ASSERT_TRUE(CreateDirectory(programFolder.c_str(), nullptr));
    HANDLE h = CreateFile((programFolder + "\\" + c.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "made", 4, &written, nullptr);
    CloseHandle(h);
    // On disk in the locale's charset, as `ls` and every other program of the desktop show it.
    EXPECT_TRUE(std::filesystem::exists(dir.Path() + "/" + c.folderOnDisk + "/" + c.nameOnDisk));

    // Files another program put there: one the code page cannot spell, and one an older program
    // made in the code page's bytes (Latin-1, GBK: no UTF-8).
    dir.Write(c.folderOnDisk + "/" + c.foreign, "foreign");
    dir.Write(c.folderOnDisk + "/old\xE9\xE9.txt", "old");
    const std::vector<std::string> names = Listed(programFolder);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).count(c.name), 1u);
    // Every name listed, handed back, is that file: the round trip of a name never misses.
    std::set<std::string> contents;
    for (const std::string& name : names) contents.insert(ReadAll(programFolder + "\\" + name));
    EXPECT_EQ(contents, (std::set<std::string>{"made", "foreign", "old"}));

    // The folder the system names (the current one) is given as the program spells it.
    const std::string previous = std::filesystem::current_path().string();
    ASSERT_TRUE(SetCurrentDirectory(programFolder.c_str()));
    char current[4096] = {};
    GetCurrentDirectory(sizeof current, current);
    EXPECT_EQ(std::string(current), dir.Path() + "/" + c.folder);
    char full[4096] = {};
    GetFullPathName(c.name.c_str(), sizeof full, full, nullptr);
    EXPECT_EQ(std::string(full), dir.Path() + "/" + c.folder + "/" + c.name);
    std::filesystem::current_path(previous);

    // A name given as the system spells it reaches the disk as its bytes, never converted (these
    // convert under every UTF-8 locale here), and never over another file.
    const std::string made = programFolder + "\\" + c.name;
    EXPECT_FALSE(RenameToSystemName(made.c_str(), "old\xE9\xE9.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ASSERT_TRUE(RenameToSystemName(made.c_str(), "new\xB4\xF3.txt"));
    EXPECT_EQ(dir.Read(c.folderOnDisk + "/new\xB4\xF3.txt"), "made");
  }
}

TEST(NameCharset, NamesDifferingInLetterCaseFindTheFileMadeInTheLocalesCharset) {
  ScopedLocale locale("de_DE.UTF-8");
  TempDir dir;
  dir.Write("\xC3\x84rger.txt", "x");  // Ärger, in UTF-8
  EXPECT_NE(GetFileAttributes((dir.Path() + "\\\xE4RGER.TXT").c_str()), INVALID_FILE_ATTRIBUTES);  // äRGER
  EXPECT_EQ(NativePath(dir.Path() + "\\\xE4rger.TXT"), dir.Path() + "/\xC3\x84rger.txt");
}

// A path kept for a later session is stored as the system names the file on disk: read back under
// any other locale it is the same file. A value an earlier release stored in the code page of its
// session still reaches its file under that locale.
TEST(NameCharset, AStoredPathReachesItsFileUnderEveryLaterLocale) {
  TempDir dir;
  const struct {
    const char* locale;
    std::string typed, onDisk;  // the project's folder as the program spells it, and on disk
  } cases[] = {
      {"zh_CN.UTF-8", "\xCE\xC4\xB5\xB5", "\xE6\x96\x87\xE6\xA1\xA3"},
      {"de_DE.UTF-8", "Gr\xF6\xDF" "e", "Gr\xC3\xB6\xC3\x9F" "e"},
      {"zh_CN.GB2312", "\xD6\xD0", "\xD6\xD0"},
  };
  const char* later[] = {"C.UTF-8", "en_US.UTF-8", "de_DE.UTF-8", "zh_CN.UTF-8", "ja_JP.UTF-8", "zh_CN.GB2312"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    dir.Write(c.onDisk + "/Demo.dcp", c.locale);
    std::string stored;
    {
      ScopedLocale locale(c.locale);
      stored = StoredPathOf(dir.Path() + "/" + c.typed + "/Demo.dcp");
      EXPECT_EQ(stored, dir.Path() + "/" + c.onDisk + "/Demo.dcp");
      EXPECT_EQ(PathOfStored(stored), dir.Path() + "/" + c.typed + "/Demo.dcp");
    }
    for (const char* other : later) {
      SCOPED_TRACE(other);
      ScopedLocale locale(other);
      EXPECT_EQ(ReadAll(PathOfStored(stored)), c.locale);
    }
  }
  // Stored by the earlier release as the program spelled it: the GBK bytes of a folder whose name
  // is UTF-8 on disk; those bytes are valid UTF-8 too ("\xC3\xA9", e-acute), so the conversion
  // alone would read another name. The value still reaches its file.
  ScopedLocale locale("zh_CN.UTF-8");
  dir.Write("\xE8\x8C\x85/Old.dcp", "old");
  EXPECT_EQ(ReadAll(PathOfStored(dir.Path() + "/\xC3\xA9/Old.dcp")), "old");
}

// Text the user typed (a workspace's name) is stored in UTF-8 and reads back in every later
// locale's code page that holds it; one the code page cannot hold is held as its stored bytes and
// stored again unchanged. A value an earlier release stored in the code page reads back as stored.
TEST(NameCharset, StoredTextReadsBackInEveryLaterLocale) {
  struct Case {
    const char* locale;
    std::string typed;
    std::string stored;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", "Gr\xF6\xDF" "e", "Gr\xC3\xB6\xC3\x9F" "e"},
      {"zh_CN.GB2312", "\xB9\xA4\xD7\xF7\xC7\xF8", "\xE5\xB7\xA5\xE4\xBD\x9C\xE5\x8C\xBA"},  // 工作区
      {"zh_TW.UTF-8", "\xA4\xA4\xA4\xE5", "\xE4\xB8\xAD\xE6\x96\x87"},                     // 中文
      {"C.UTF-8", "plain", "plain"},
      // GBK 平台 after ASCII is also valid UTF-8 ("Qtƽ̨"): still the code page's text, stored in UTF-8.
      {"zh_CN.GB2312", "Qt\xC6\xBD\xCC\xA8", "Qt\xE5\xB9\xB3\xE5\x8F\xB0"},
      {"zh_CN.UTF-8", "Linux\xC6\xBD\xCC\xA8", "Linux\xE5\xB9\xB3\xE5\x8F\xB0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    {
      ScopedLocale locale(c.locale);
      EXPECT_EQ(StoredTextOf(c.typed), c.stored);
      EXPECT_EQ(TextOfStored(c.stored), c.typed);
    }
    for (const Case& later : cases) {
      SCOPED_TRACE(std::string("read under ") + later.locale);
      ScopedLocale locale(later.locale);
      const std::string read = TextOfStored(c.stored);
      std::string expected;
      if (!ConvertExactly(c.stored, CP_UTF8, CP_ACP, expected)) expected = c.stored;
      EXPECT_EQ(read, expected);
      EXPECT_EQ(StoredTextOf(read), c.stored) << "stored again as it was";
    }
  }
  // Many a common character's GBK bytes are valid UTF-8 after ASCII; typed, each is stored in UTF-8.
  {
    ScopedLocale zh("zh_CN.GB2312");
    for (const char* utf8 : {"平台", "前", "全", "千", "强", "取", "去", "确", "然", "色", "山", "省", "师", "时",
                             "实", "使", "始", "十", "石", "女", "农"}) {
      const std::string typed = "Qt" + Utf8ToCodePage(utf8, 936);
      EXPECT_EQ(StoredTextOf(typed), std::string("Qt") + utf8);
      EXPECT_EQ(TextOfStored(StoredTextOf(typed)), typed);
    }
  }
  // Stored by an earlier release in the code page: 1252 bytes that are no UTF-8, and GBK 目录,
  // whose bytes are also the UTF-8 "\xC4\xBF\xC2\xBC" (no word anyone types).
  ScopedLocale de("de_DE.UTF-8");
  EXPECT_EQ(TextOfStored("Gr\xF6\xDF" "e"), "Gr\xF6\xDF" "e");
  ScopedLocale zh("zh_CN.UTF-8");
  EXPECT_EQ(TextOfStored("\xC4\xBF\xC2\xBC"), "\xC4\xBF\xC2\xBC");
  EXPECT_EQ(StoredTextOf("\xC4\xBF\xC2\xBC"), "\xE7\x9B\xAE\xE5\xBD\x95");
}

}  // namespace
}  // namespace brambolt
