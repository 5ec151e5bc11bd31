// Fuzz target: the editor's language configuration files in their three stored forms, the INI
// file, the archive (.lcf) and the settings store (the registry's .reg file), each read, written
// again by the program and read back: the second reading must give the same character sets and
// options as the first. The first byte picks the form (low two bits) and, with bit 2, a
// double-byte code page (936) instead of 1252.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "afx/CWinApp.h"
#include "base/CodePage.h"
#include "core/CArchive.h"
#include "core/CFile.h"
#include "editor/lang/SECEditLangConfigStorage.h"
#include "os/Registry.h"

namespace {

// What a stored form must keep: the character sets and the options.
std::string Kept(SECEditLangConfig& c) {
  std::string out;
  for (int set = 0; set < 5; ++set) {
    const CString chars = c.GetCharSetString(set);
    out.append(static_cast<LPCTSTR>(chars), static_cast<size_t>(chars.GetLength()));
    out += '\x01';
  }
  CString options;
  options.Format("%d %d %d %d %d %d", c.GetTabSize(), c.GetAutoIndent(), c.GetShowWhitespace(), c.GetVirtualWhitespace(),
                 c.GetReplaceTabs(), c.GetMatchCase());
  return out + static_cast<LPCTSTR>(options);
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "language configuration: %s\n", what);
    std::abort();
  }
}

void Ini(const uint8_t* data, size_t size) {
  SECEditLangConfig first;
  SECEditLangConfigIniReader(fuzz::WriteFile("lang.ini", data, size).c_str()).Read(&first);
  const std::string again = fuzz::WriteFile("again.ini", nullptr, 0);
  std::filesystem::remove(again);
  Check(SECEditLangConfigIniWriter(again.c_str()).Write(&first), "the INI form was not written");
  SECEditLangConfig second;
  SECEditLangConfigIniReader(again.c_str()).Read(&second);
  Check(Kept(first) == Kept(second), "the INI form read back another configuration");
}

void Archive(const uint8_t* data, size_t size) {
  SECEditLangConfig first;
  if (!SECEditLangConfigBinReader(fuzz::WriteFile("lang.lcf", data, size).c_str()).Read(&first)) return;
  const std::string again = fuzz::WriteFile("again.lcf", nullptr, 0);
  {
    CFile file(again.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    first.Serialize(ar);
  }
  SECEditLangConfig second;
  Check(SECEditLangConfigBinReader(again.c_str()).Read(&second), "the archive form did not read back");
  Check(Kept(first) == Kept(second), "the archive form read back another configuration");
}

void Registry(const uint8_t* data, size_t size) {
  static const bool bFolder = (::setenv("BRAMBOLT_REGISTRY_DIR", fuzz::Folder().c_str(), 1), true);
  (void)bFolder;
  std::filesystem::rename(fuzz::WriteFile("registry", data, size), fuzz::Folder() + "/HKEY_CURRENT_USER.reg");
  brambolt::ResetRegistryForTesting();
  {
    CWinApp app("Language Fuzz");
    app.SetRegistryKey("Brambolt");
    SECEditLangConfig first;
    SECEditLangConfigRegReader("C\\").Read(&first);
    Check(SECEditLangConfigRegWriter("Again\\").Write(&first), "the settings were not written");
    SECEditLangConfig second;
    SECEditLangConfigRegReader("Again\\").Read(&second);
    Check(Kept(first) == Kept(second), "the settings read back another configuration");
  }
  brambolt::ResetRegistryForTesting();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  brambolt::ScopedCodePage page(data[0] & 4 ? 936 : 1252);
  switch (data[0] & 3) {
    case 0: Ini(data + 1, size - 1); break;
    case 1: Archive(data + 1, size - 1); break;
    default: Registry(data + 1, size - 1); break;
  }
  return 0;
}
