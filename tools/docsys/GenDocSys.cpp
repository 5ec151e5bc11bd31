// Build-time generator of the DocSys language files: the C/C++ configuration of the program's
// resource written as "DevStudio.ini" and "DevStudio.lcf", and the INI files of the other
// languages checked and copied beside them. "resource <file>" writes that resource's stream.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/CArchive.h"
#include "core/CException.h"
#include "core/CFile.h"
#include "editor/lang/SECEditLangConfigStorage.h"

namespace {

// The built-in C/C++ configuration, in the order its stream keeps.
void BuildC(SECEditLangConfig& c) {
  c.Clear();
  struct Group {
    const char* name;
    COLORREF fore;
    BOOL foreAuto;
  };
  const Group groups[] = {{"Text", 0x000000, TRUE},     {"Text Selection", 0xFFFFFF, TRUE},
                          {"Number", 0x000000, TRUE},   {"Operator", 0x000000, TRUE},
                          {"Comment", 0x008000, FALSE}, {"Keyword", 0xFF0000, FALSE},
                          {"String", 0x000000, TRUE}};
  for (const Group& g : groups) {
    auto* info = new SECEditColorInfo;
    info->m_clrFore = g.fore;
    info->m_clrBack = std::strcmp(g.name, "Text Selection") == 0 ? 0x000000 : 0xFFFFFF;
    info->m_bForeAuto = g.foreAuto;
    info->m_bBackAuto = TRUE;
    info->m_strName = g.name;
    info->m_bConfigurable = TRUE;
    c.AddColorGroup(g.name, info);
  }
  auto tag = [&](const char* begin, const char* end, const char* escape, WORD group, BOOL multiLine) {
    auto* info = new SECEditKeywordInfo;
    info->m_strBegin = begin;
    info->m_strEnd = end;
    info->m_strEscape = escape;
    info->m_wGroup = group;
    info->m_bMultiLine = multiLine;
    c.RegisterTag(info);
  };
  tag("//", "", "", 4, FALSE);
  tag("\"", "\"", "\\", 6, FALSE);
  tag("'", "'", "\\", 6, FALSE);
  tag("/*", "*/", "", 4, TRUE);
  c.SetMatchCase(TRUE);
  c.SetShowWhitespace(FALSE);
  c.SetReplaceTabs(FALSE);
  c.SetVirtualWhitespace(FALSE);
  c.SetTabSize(4);
  c.SetAutoIndent(TRUE);
  c.SetFontFaceName("Courier");
  c.SetFontSize(10);
  c.SetFontItalic(FALSE);
  c.SetFontBold(FALSE);
  c.AddToCharSet("#", kKeywordStart);
  c.AddToCharSet("!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~", kDelimiters);
  c.AddToCharSet("!%&()*+,-./:;<=>?[]^{|}~", kOperators);
  for (const char* word :
       {"volatile", "return",   "reinterpret_cast", "extern",    "bad_typeid", "#ifdef",  "#error",       "virtual",
        "unsigned", "mutable",  "explicit",         "enum",      "case",       "#endif",  "#define",      "switch",
        "double",   "#pragma",  "typedef",          "struct",    "goto",       "for",     "const_cast",   "class",
        "try",      "template", "catch",            "#elif",     "#undef",     "void",    "typeid",       "short",
        "operator", "float",    "char",             "#line",     "asm",        "static_cast", "public",   "except",
        "dynamic_cast", "union", "typename",        "new",       "int",        "sizeof",  "protected",    "inline",
        "else",     "break",    "bool",             "#else",     "while",      "do",      "continue",     "bad_cast",
        "#ifndef",  "#import",  "type_info",        "signed",    "#include",   "static",  "long",         "delete",
        "default",  "register", "namespace",        "if",        "false",      "const",   "#if",          "using",
        "throw",    "this",     "friend",           "finally",   "auto",       "true",    "private"})
    c.SetKeyword(word, 5);
  c.RebuildFoldMap();
}

bool StoreArchive(SECEditLangConfig& config, const std::string& path) {
  CFile file;
  if (!file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite)) return false;
  CArchive ar(&file, CArchive::store, 4096);
  config.Serialize(ar);
  ar.Close();
  return true;
}

int Fail(const std::string& what) {
  std::fprintf(stderr, "gen_docsys: %s\n", what.c_str());
  return 1;
}

int WriteDocSys(const std::filesystem::path& sources, const std::filesystem::path& out) {
  std::error_code error;
  std::filesystem::create_directories(out, error);
  SECEditLangConfig c;
  SECEditLangConfigResReader reader(SECEDIT_LANGCONFIG_RESID);
  if (!reader.Read(&c) || c.GetKeywordMap().GetCount() == 0) return Fail("the built-in C/C++ configuration is missing");
  const std::filesystem::path ini = out / "DevStudio.ini";
  std::filesystem::remove(ini, error);
  SECEditLangConfigIniWriter writer(ini.string().c_str());
  if (!writer.Write(&c)) return Fail("cannot write " + ini.string());
  if (!StoreArchive(c, (out / "DevStudio.lcf").string())) return Fail("cannot write DevStudio.lcf");
  // The other languages are written by hand: each must read as a configuration with keywords.
  for (const auto& entry : std::filesystem::directory_iterator(sources)) {
    if (entry.path().extension() != ".ini") continue;
    SECEditLangConfig language;
    SECEditLangConfigIniReader check(entry.path().string().c_str());
    if (!check.Read(&language) || language.GetKeywordMap().GetCount() == 0 || language.GetColorGroupCount() <= 4)
      return Fail(entry.path().string() + " holds no keywords or colour groups");
    std::filesystem::copy_file(entry.path(), out / entry.path().filename(),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) return Fail("cannot copy " + entry.path().string());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "resource") == 0) {
    SECEditLangConfig c;
    BuildC(c);
    return StoreArchive(c, argv[2]) ? 0 : Fail(std::string("cannot write ") + argv[2]);
  }
  if (argc == 4 && std::strcmp(argv[1], "docsys") == 0) return WriteDocSys(argv[2], argv[3]);
  std::fprintf(stderr, "usage: gen_docsys resource <file> | docsys <source-folder> <output-folder>\n");
  return 2;
}
