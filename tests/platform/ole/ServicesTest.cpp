// The small OLE services: shell links resolved from symbolic links and desktop entries through
// CoCreateInstance, OLE start-up, task memory, automation strings and variants.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "base/Convert.h"
#include "ole/ole.h"
#include "testing/testing.h"

using brambolt::test::PrivateStores;

namespace {

// What the file-drop list does with a dropped path: the link's target, or "" when it is none.
std::string ExpandShortcut(const std::string& path) {
  IShellLink* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLink,
                              reinterpret_cast<void**>(&link))))
    return "<no object>";
  std::string result;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::u16string wide = brambolt::AnsiToWide(path);
    if (SUCCEEDED(file->Load(reinterpret_cast<LPCOLESTR>(wide.c_str()), STGM_READ))) {
      char target[MAX_PATH];
      WIN32_FIND_DATA data;
      if (SUCCEEDED(link->GetPath(target, MAX_PATH, &data, SLGP_UNCPRIORITY))) result = target;
    }
    file->Release();
  }
  link->Release();
  return result;
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

TEST(ShellLink, LinksResolveToTheirTargets) {
  PrivateStores stores;
  const std::string dir = stores.TempDir();
  Write(dir + "/header.h", "");
  ASSERT_EQ(symlink((dir + "/header.h").c_str(), (dir + "/absolute").c_str()), 0);
  ASSERT_EQ(symlink("header.h", (dir + "/relative").c_str()), 0);
  Write(dir + "/doc.desktop", "[Desktop Entry]\nName=Doc\nType=Link\nURL=file://" + dir + "/my%20notes.txt\n");
  Write(dir + "/tool.desktop", "# comment\n[Desktop Entry]\r\nType=Application\r\nExec=\"/opt/my tool/run\" %f\r\n");
  Write(dir + "/other.desktop", "[Other Group]\nType=Link\nURL=file:///etc/passwd\n");
  Write(dir + "/plain.txt", "Type=Link\n");
  const std::pair<std::string, std::string> cases[] = {
      {"absolute", dir + "/header.h"},
      {"relative", dir + "/header.h"},
      {"doc.desktop", dir + "/my notes.txt"},
      {"tool.desktop", "/opt/my tool/run"},
      {"other.desktop", ""},  // not a desktop entry
      {"plain.txt", ""},
      {"missing", ""},
  };
  for (const auto& [name, target] : cases) EXPECT_EQ(ExpandShortcut(dir + "/" + name), target) << name;
  // The application spells paths the Windows way.
  std::string windows = dir + "\\ABSOLUTE";
  EXPECT_EQ(ExpandShortcut(windows), dir + "/header.h");

  // Saved links load back to their targets: a symbolic link, a desktop entry for a document
  // (a name with a space and a percent sign) and one for a program; a folder is never replaced.
  Write(dir + "/my 100% notes.txt", "");
  Write(dir + "/run tool", "");
  ASSERT_EQ(chmod((dir + "/run tool").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir + "/folder").c_str(), 0700), 0);
  auto save = [&](const std::string& target, const std::string& name) {
    IShellLink* link = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLink,
                               reinterpret_cast<void**>(&link)), S_OK);
    link->SetPath(target.c_str());
    link->SetArguments("--quiet");
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    std::u16string wide = brambolt::AnsiToWide(dir + "/" + name);
    HRESULT hr = file->Save(reinterpret_cast<LPCOLESTR>(wide.c_str()), TRUE);
    file->Release();
    link->Release();
    return hr;
  };
  EXPECT_EQ(save(dir + "/header.h", "absolute"), S_OK) << "replaces the link there";
  EXPECT_EQ(save(dir + "/my 100% notes.txt", "notes.desktop"), S_OK);
  EXPECT_EQ(save(dir + "/run tool", "tool2.desktop"), S_OK);
  EXPECT_EQ(save(dir + "/header.h", "folder"), E_FAIL);
  EXPECT_EQ(ExpandShortcut(dir + "/absolute"), dir + "/header.h");
  EXPECT_EQ(ExpandShortcut(dir + "/notes.desktop"), dir + "/my 100% notes.txt");
  EXPECT_EQ(ExpandShortcut(dir + "/tool2.desktop"), dir + "/run tool");
  struct stat st;
  EXPECT_EQ(stat((dir + "/folder").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(OleServices, StartUpTaskMemoryStringsAndVariants) {
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);  // already started on this thread
  OleUninitialize();
  OleUninitialize();

  void* block = CoTaskMemAlloc(16);
  ASSERT_NE(block, nullptr);
  block = CoTaskMemRealloc(block, 4096);
  ASSERT_NE(block, nullptr);
  CoTaskMemFree(block);

  BSTR text = SysAllocStringLen("a\0b", 3);
  EXPECT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(text[3], '\0');
  VARIANT v, copy;
  VariantInit(&v);
  VariantInit(&copy);
  v.vt = VT_BSTR;
  v.bstrVal = text;
  ASSERT_EQ(VariantCopy(&copy, &v), S_OK);
  EXPECT_NE(copy.bstrVal, text);
  EXPECT_EQ(std::string(copy.bstrVal, SysStringLen(copy.bstrVal)), std::string("a\0b", 3));
  VariantClear(&v);
  VariantClear(&copy);
  struct Conversion {
    const char* text;
    VARTYPE to;
    HRESULT hr;
    LONG number;
  } conversions[] = {{"42", VT_I4, S_OK, 42}, {"true", VT_BOOL, S_OK, -1}, {"4x", VT_I4, DISP_E_TYPEMISMATCH, 0}};
  for (const Conversion& c : conversions) {
    VARIANT from, to;
    VariantInit(&from);
    VariantInit(&to);
    from.vt = VT_BSTR;
    from.bstrVal = SysAllocString(c.text);
    EXPECT_EQ(VariantChangeType(&to, &from, 0, c.to), c.hr) << c.text;
    if (c.hr == S_OK) {
      EXPECT_EQ(c.to == VT_I4 ? to.lVal : to.boolVal, c.number) << c.text;
    }
    VariantClear(&from);
    VariantClear(&to);
  }

  // A random version-4 identifier each time (the shortcut list tells its own drags by one).
  GUID a, b;
  ASSERT_EQ(CoCreateGuid(&a), S_OK);
  ASSERT_EQ(CoCreateGuid(&b), S_OK);
  EXPECT_NE(a, b);
  EXPECT_EQ(a.Data3 >> 12, 4);
  EXPECT_EQ(a.Data4[0] & 0xC0, 0x80);
}

}  // namespace
