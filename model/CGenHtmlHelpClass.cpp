// The HTML Help project, contents and index files over the generated pages, and the steps of the
// HTML Help command around them.
#include "model/CGenHtmlHelpClass.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Convert.h"
#include "model/DocOutput.h"
#include "foundation/SECFileSystem.h"
#include "model/CHelpCompileDlg.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocPages.h"
#include "model/HelpCompilerRun.h"
#include "model/RecordFile.h"
#include "model/ShellServices.h"
#include "os/OwnedNames.h"
#include "os/FileFaults.h"
#include "os/Paths.h"
#include "os/Process.h"
#include "os/Shell.h"
#include "win/WinUser.h"

IMPLEMENT_DYNCREATE(CGenHtmlHelpClass, CObject)
IMPLEMENT_RECORD_FILE(CGenHtmlHelpClass)

// A name as the contents and index give it, in a quoted attribute value: "&" and the quote are
// escaped, "<" and ">" are written as they are (an attribute value holds them as they stand, and
// viewers that read the value without its references would drop a "&lt;...&gt;" whole).
static CString SitemapName(const CString& strName) {
  CString strOut = HtmlAttr(strName);
  strOut.Replace("&lt;", "<");
  strOut.Replace("&gt;", ">");
  return strOut;
}

namespace {

constexpr DWORD kOrdinaryFiles = FILE_ATTRIBUTE_NORMAL;
constexpr UINT kInformationBox = 0x40;  // MB_ICONINFORMATION | MB_OK
constexpr UINT kExclamationBox = 0x30;  // MB_ICONEXCLAMATION | MB_OK
constexpr UINT kQuestionBox = 0x34;     // MB_ICONEXCLAMATION | MB_YESNO
constexpr int kYes = 6;                 // IDYES
constexpr DWORD kCompilerSilenceMs = 120000;  // the longest the compiler may write nothing
constexpr int kShownOutputLines = 30;

const char* const kWorkshopMessage =
    "Please make sure you have correct installed Microsoft HTML Help Workshop Version 4.74.8702.0!";

CString LanguageFolderName(int nLanguage) {
  switch (nLanguage) {
    case LANGUAGE_CHT: return "Output_GB5\\";
    case LANGUAGE_ENG: return "Output_Eng\\";
    default: return "Output_Chs\\";
  }
}

// A page is an ordinary file ending in ".htm" or ".html", whatever the case.
bool IsPage(SECFileSystem& fs, const CString& strPath) {
  CString strExtension = fs.GetExtension(strPath);
  strExtension.MakeLower();
  return strExtension == "htm" || strExtension == "html";
}

// Folders whose name begins with "_" and the one named "images" stay out of the sitemaps.
bool IsTakenFolder(const CString& strName) { return strName.Left(1) != "_" && strName != "images"; }

// The pages the project's documentation has, as the run names them (its classes' file names are
// assigned for the page folder): each class's page and the pages of its documented members (of all
// its members with bAllMembers: a run with other options wrote those), each given with its class,
// its path relative to the page folder and the name its page shows (the class's or the member's,
// as in the class's code page).
template <class Visit>
void ForEachClassPage(CWorkSpaceObj& project, const CString& strPageFolder, bool bAllMembers, Visit&& visit) {
  project.RestoreAnalysisOrder();
  project.AssignClassFileNames(brambolt::NativePath(strPageFolder));
  for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = project.m_FileObjList.GetNext(pos);
    if (pClass->m_strClassName.IsEmpty()) continue;
    const CString strFolder = pClass->FileName() + "\\";
    visit(*pClass, strFolder + pClass->FileName() + ".htm", pClass->m_strClassName);
    for (POSITION posMember = pClass->m_MemberFunctionList.GetHeadPosition(); posMember != nullptr;) {
      const CMemberFunctionObj* pFunction = pClass->m_MemberFunctionList.GetNext(posMember);
      if (bAllMembers || IsFunctionDocumented(project, pFunction->m_nAccess))
        visit(*pClass, strFolder + "Member Functions\\" + pClass->MemberPageName(pFunction->m_strUniqueName) + ".htm",
              pFunction->m_strName);
    }
    for (POSITION posMember = pClass->m_VariableList.GetHeadPosition(); posMember != nullptr;) {
      const CVariableObj* pVariable = pClass->m_VariableList.GetNext(posMember);
      if (bAllMembers || IsVariableDocumented(project, pVariable->m_nAccess))
        visit(*pClass, strFolder + "Member Vars\\" + pClass->MemberPageName(pVariable->m_strUniqueName) + ".htm",
              pVariable->m_strName);
    }
  }
}

// A name's letters with each character the program wrote as its number ("(U+8A31)", which no name
// of C++ holds: a character whose bytes no file name keeps whole) as that character: the name a
// run under one locale numbered and the one a run under another spelled are the same letters.
std::string WithNumberedCharacters(const std::string& utf8) {
  std::string letters;
  size_t at = 0;
  for (size_t open = utf8.find("(U+"); open != std::string::npos; open = utf8.find("(U+", open + 1)) {
    const size_t close = utf8.find(')', open);
    if (close == std::string::npos) break;
    const std::string digits = utf8.substr(open + 3, close - open - 3);
    if (digits.size() < 4 || digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char ch) { return std::isxdigit(static_cast<unsigned char>(ch)); }))
      continue;
    const auto nCharacter = static_cast<char32_t>(std::stoul(digits, nullptr, 16));
    if (nCharacter < 0x80 || nCharacter > 0x10FFFF || (nCharacter >= 0xD800 && nCharacter <= 0xDFFF)) continue;
    letters += utf8.substr(at, open - at);
    letters += brambolt::UnicodeToAnsi(std::u32string(1, nCharacter), CP_UTF8);
    at = close + 1;
    open = close;
  }
  return letters + utf8.substr(at);
}

// A path whose names are given as the system names them, in the letters its names stand for
// (UTF-8), in its readings: a file named under a UTF-8 locale bears UTF-8, one named under a
// legacy locale the bytes of its code page (the program's now, or that of the project's headers
// when a run under a locale of theirs named it), and a listing under another locale than the one
// that named it gives either as the system's bytes where its charset cannot read them. The first
// reading takes each name's bytes as UTF-8 where they are UTF-8, the others as a code page's
// (GB2312 bytes can be valid UTF-8 too); a page of the project and the file on disk that is it
// share a reading, whichever locale named the file and whichever lists it.
std::vector<std::string> LettersOfSystemNames(const std::vector<std::string>& names, const std::vector<UINT>& codePages,
                                              const std::vector<std::string>& bytes = {}) {
  // The UTF-8 reading, the program's code page's, and each header code page's of the system's
  // names and of the bytes the program holds.
  std::vector<std::string> readings(2 + 2 * codePages.size());
  std::vector<bool> read(readings.size(), true);
  for (size_t n = 0; n < names.size(); ++n) {
    const std::string& system = names[n];
    const std::string inProgramPage = brambolt::AnsiToUtf8(system, CP_ACP);
    readings[0] += brambolt::IsUtf8Text(system) ? system : inProgramPage;
    readings[1] += inProgramPage;
    for (size_t i = 0; i < 2 * codePages.size(); ++i) {
      const std::string& name = i % 2 == 0 || n >= bytes.size() ? system : bytes[n];
      std::string converted;
      if (brambolt::IsAsciiText(name))
        readings[2 + i] += name;
      else if (brambolt::ConvertExactly(name, codePages[i / 2], CP_UTF8, converted))
        readings[2 + i] += converted;
      else
        read[2 + i] = false;
    }
    if (n + 1 < names.size())
      for (std::string& reading : readings) reading += '\\';
  }
  std::vector<std::string> letters;
  for (size_t i = 0; i < readings.size(); ++i) {
    if (!read[i]) continue;
    std::string reading = WithNumberedCharacters(readings[i]);
    if (std::find(letters.begin(), letters.end(), reading) == letters.end()) letters.push_back(std::move(reading));
  }
  return letters;
}

// A path relative to the language folder as the program spells it, in its readings. A name the
// system's charset cannot read reaches the program as its bytes on disk, which a code page of the
// headers may read. The names are parted where the program parts a path: a "\\" that is the trail
// byte of a double-byte character (Big5 "功" under a Big5 code page) is part of its name.
std::vector<std::string> LettersOf(const CString& strPath, const std::vector<UINT>& codePages) {
  std::vector<std::string> names;
  std::vector<std::string> bytes;
  const std::string path = static_cast<LPCTSTR>(strPath);
  for (size_t start = 0; start <= path.size();) {
    size_t end = start;
    while (end < path.size() && !brambolt::IsPathSeparatorAt(path, end)) ++end;
    bytes.push_back(path.substr(start, end - start));
    names.push_back(brambolt::SystemNameOf(bytes.back()));
    start = end + 1;
  }
  return LettersOfSystemNames(names, codePages, bytes);
}

// The code pages of the project's headers other than the program's, double-byte ones whose bytes a
// run under a locale of theirs named its pages in.
std::vector<UINT> HeaderCodePages(CWorkSpaceObj& project) {
  std::vector<UINT> codePages;
  for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const UINT nCodePage = project.m_FileObjList.GetNext(pos)->m_codePage.nCodePage;
    if ((nCodePage == 936 || nCodePage == 950) && nCodePage != ::GetACP() &&
        std::find(codePages.begin(), codePages.end(), nCodePage) == codePages.end())
      codePages.push_back(nCodePage);
  }
  return codePages;
}

// The class folders of the open project and the names its class pages show; empty with no
// project open (nothing is then told apart, and every entry is named after its file).
CGenHtmlHelpClass::ClassPages ReadClassPages(const CString& strPageFolder) {
  CGenHtmlHelpClass::ClassPages pages;
  CWorkSpaceObj* pProject = GetShellServices()->GetWorkSpace();
  if (pProject == nullptr) return pages;
  pages.codePages = HeaderCodePages(*pProject);
  const DocLanguage language = DocLanguageOf(pProject->m_nOutputLanguage);
  // The names as the pages show them, escaped for an attribute and in the pages' code page.
  const auto shown = [language](const CFileObj& cls, const CString& strName) {
    return SourceText(language, SitemapName(strName), cls.m_codePage);
  };
  const auto name = [&](const CString& strLocation, const CString& strShown) {
    pages.names[static_cast<LPCTSTR>(strLocation)] = strShown;
    for (const std::string& letters : LettersOf(strLocation, pages.codePages)) pages.namesByLetters.emplace(letters, strShown);
  };
  ForEachClassPage(*pProject, strPageFolder, true,
                   [&](const CFileObj& cls, const CString& strPage, const CString& strName) {
                     name("Htmls\\" + strPage, shown(cls, strName));
                   });
  for (POSITION pos = pProject->m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = pProject->m_FileObjList.GetNext(pos);
    const CString strFolder = pClass->FileName();
    pages.folders.insert(static_cast<LPCTSTR>(strFolder));
    for (const std::string& letters : LettersOf(strFolder, pages.codePages)) pages.folderLetters.insert(letters);
    if (!pClass->m_strClassName.IsEmpty()) name("Htmls\\" + strFolder, shown(*pClass, pClass->m_strClassName));
  }
  return pages;
}

// A folder of the page folder that a run wrote for a class the project no longer has (a header
// removed, a class renamed): it holds the class page of its own name and a member folder the run
// makes in every class folder. Its files stay on disk, but the help lists only the classes of the
// project as it is now. Other folders (the user's own, a page of its own name or not) are listed
// as they are.
bool IsFormerClassFolder(const CGenHtmlHelpClass::ClassPages& current, const CString& strFolderPath,
                         const CString& strName) {
  if (current.folders.empty() || current.folders.count(static_cast<LPCTSTR>(strName)) != 0) return false;
  for (const std::string& letters : LettersOf(strName, current.codePages))
    if (current.folderLetters.count(letters) != 0) return false;
  SECFileSystem fs;
  const auto isFolder = [&](LPCTSTR lpszName) {
    struct stat st {};
    const std::string path = brambolt::NativePath(fs.AppendPath(strFolderPath, lpszName));
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  };
  return fs.FileExists(fs.AppendPath(strFolderPath, strName + ".htm")) != FALSE &&
         (isFolder("Member Vars") || isFolder("Member Functions"));
}

std::unique_ptr<CStringList> ListFiles(SECFileSystem& fs, const CString& strFolder) {
  return std::unique_ptr<CStringList>(fs.GetFileList(fs.AppendPath(strFolder, "*.*"), kOrdinaryFiles));
}

std::unique_ptr<CStringList> ListFolders(SECFileSystem& fs, const CString& strFolder) {
  return std::unique_ptr<CStringList>(fs.GetDirectoryList(strFolder, FALSE));
}

CString Tabs(int n) { return CString('\t', n); }

void WriteSitemapHead(PageText& out) {
  out << "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n"
      << "<HTML>\n"
      << "<HEAD>\n"
      << "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">\n"
      << "<!-- Sitemap 1.0 -->\n"
      << "</HEAD><BODY>\n";
}

constexpr const char* kEntryLine = "<LI> <OBJECT type=\"text/sitemap\">\n";

// An entry of a book or page, each line after the indentation, its name already escaped; a page
// has a location.
void WriteEscapedEntry(PageText& out, int nIndent, const CString& strEscapedName, const CString* pLocation,
                       LPCTSTR lpszFirstLine = kEntryLine) {
  const CString strTabs = Tabs(nIndent);
  out << strTabs << lpszFirstLine;
  out << strTabs << "\t<param name=\"Name\" value=\"" << strEscapedName << "\">\n";
  if (pLocation != nullptr) out << strTabs << "\t<param name=\"Local\" value=\"" << HtmlAttr(*pLocation) << "\">\n";
  out << strTabs << "\t</OBJECT>\n";
}

// The name of a file or folder of the language folder, given relative to it as the program spells
// it, as the system names it: the compiler opens it by that name and the help file holds it under
// it. An existing one keeps its spelling on disk (in either spelling), any other is spelled in the
// locale's charset.
CString SystemNameIn(const CString& strLanguageFolder, const CString& strRelative) {
  std::string folder = brambolt::NativePath(static_cast<LPCTSTR>(strLanguageFolder));
  if (folder.empty() || folder.back() != '/') folder += '/';
  std::string name = brambolt::NativePath(static_cast<LPCTSTR>(strLanguageFolder + strRelative));
  if (name.size() > folder.size() && name.compare(0, folder.size(), folder) == 0)
    name.erase(0, folder.size());
  else
    name = brambolt::SystemNameOf(static_cast<LPCTSTR>(strRelative));
  std::replace(name.begin(), name.end(), '/', '\\');
  return name.c_str();
}

// Writes the text as the file the path names in the language folder (nothing when the folder is
// missing); the folder and the file are the run's own: a link in their place is replaced, never
// followed. FALSE, with errno telling why, when the file could not be written whole: a file the
// name held before is then as it was.
BOOL WriteHelpFile(const CString& strPath, const PageText& text) {
  CString strName;
  errno = 0;
  const OutputFolder folder = OutputFolder::OpenFolderOf(strPath, strName, 1, false);
  if (!folder.IsOpen()) {
    if (errno == 0) errno = ENOENT;
    return FALSE;
  }
  if (text.WriteTo(folder, strName)) return TRUE;
  if (errno == 0) errno = EIO;
  return FALSE;
}

// The language of the help: the project's.
int HelpLanguage() {
  const CWorkSpaceObj* pProject = GetShellServices()->GetWorkSpace();
  return pProject != nullptr ? pProject->m_nOutputLanguage : LANGUAGE_CHS;
}

// The help's title, typed in the program and so in its code page, in the code page of the help's
// language (a character that one lacks as a reference to itself); escaped first for the sitemap.
CString HelpTitle(const CString& strTitle, bool bEscaped = false) {
  return SourceText(DocLanguageOf(HelpLanguage()), bEscaped ? SitemapName(strTitle) : strTitle,
                    TextCodePage{::GetACP(), true, true});
}

}  // namespace

CGenHtmlHelpClass::CGenHtmlHelpClass() = default;

CGenHtmlHelpClass::CGenHtmlHelpClass(CString strContentsFile, CString strIndexFile, CString strCompiledFile,
                                     CString strDefaultTopic, CString strTitle)
    : m_strContentsFile(strContentsFile),
      m_strIndexFile(strIndexFile),
      m_strCompiledFile(strCompiledFile),
      m_strDefaultTopic(strDefaultTopic),
      m_strTitle(strTitle) {}

CGenHtmlHelpClass::~CGenHtmlHelpClass() = default;

void CGenHtmlHelpClass::Serialize(CArchive&) {}

const CGenHtmlHelpClass::ClassPages& CGenHtmlHelpClass::GetClassPages() {
  if (!m_classPages) m_classPages = ReadClassPages(GetPageFolder());
  return *m_classPages;
}

CString CGenHtmlHelpClass::GetLanguageFolder() const {
  ShellServices* pServices = GetShellServices();
  const CWorkSpaceObj* pProject = pServices->GetWorkSpace();
  return pServices->GetProjectFolder() + LanguageFolderName(pProject != nullptr ? pProject->m_nOutputLanguage : 0);
}

BOOL CGenHtmlHelpClass::WriteProjectFile(CString strPath) {
  m_classPages.reset();
  PageText out;
  const int nLanguage = HelpLanguage();
  // The compiler opens and makes each file by the name it is given: the system's, the one the help
  // files are written under and each listed file's as it is on disk.
  const CString strLanguageFolder = GetLanguageFolder();
  const auto name = [&](const CString& strName) { return SystemNameIn(strLanguageFolder, strName); };
  const auto made = [](const CString& strName) { return brambolt::SystemNameOf(static_cast<LPCTSTR>(strName)); };
  // The index is read by the viewer from the index file, as the contents are from theirs: an index
  // compiled into the help holds each name as the compiler read it, and the compiler at hand ends a
  // name at its first ">" ("operator>=", every template), keeps a reference such as "&amp;" as its
  // letters and stores a Chinese name in a Western code page, so a viewer showing it names the
  // entries wrongly.
  out << "[OPTIONS]\n"
      << "Binary Index=No\n"
      << "Compatibility=1.1\n"
      << "Compiled file=" << made(m_strCompiledFile) << "\n"
      << "Contents file=" << made(m_strContentsFile) << "\n"
      << "Default topic=" << made("Htmls\\" + m_strDefaultTopic) << "\n"
      << "Display compile progress=No\n"
      << "Index file=" << made(m_strIndexFile) << "\n";
  // Each Chinese run names its own language, in the code page of its pages.
  if (nLanguage == LANGUAGE_ENG)
    out << "Language=0x409 English (United States)\n";
  else if (nLanguage == LANGUAGE_CHT)
    out << "Language=0x404 " << brambolt::Utf8ToCodePage("中文(台灣)", 950).c_str() << "\n";
  else
    out << "Language=0x804 " << brambolt::Utf8ToCodePage("中文(中国)", 936).c_str() << "\n";
  out << "Title=" << HelpTitle(m_strTitle) << "\n"
      << "\n"
      << "\n"
      << "[FILES]\n";
  CStringList files;
  CollectFiles(files);
  for (POSITION pos = files.GetHeadPosition(); pos != nullptr;) out << name(files.GetNext(pos)) << "\n";
  return WriteHelpFile(strPath, out);
}

void CGenHtmlHelpClass::CollectFiles(CStringList& list) {
  SECFileSystem fs;
  const CString strPageFolder = GetPageFolder();
  // Every file, the chart page too: the pages link to it, so the help file must hold it.
  for (const auto files = ListFiles(fs, strPageFolder); !files->IsEmpty();)
    list.AddTail("Htmls\\" + fs.GetFileName(files->RemoveHead()));
  const auto folders = ListFolders(fs, strPageFolder);
  const ClassPages& current = GetClassPages();
  for (POSITION pos = folders->GetHeadPosition(); pos != nullptr;) {
    const CString& strName = folders->GetNext(pos);
    if (!IsFormerClassFolder(current, fs.AppendPath(strPageFolder, strName), strName))
      CollectSubfolderFiles(list, "Htmls\\" + strName);
  }
}

void CGenHtmlHelpClass::CollectSubfolderFiles(CStringList& list, CString strFolder) {
  SECFileSystem fs;
  const CString strFull = GetLanguageFolder() + strFolder;
  for (const auto files = ListFiles(fs, strFull); !files->IsEmpty();)
    list.AddTail(strFolder + "\\" + fs.GetFileName(files->RemoveHead()));
  const auto folders = ListFolders(fs, strFull);
  for (POSITION pos = folders->GetHeadPosition(); pos != nullptr;) CollectSubfolderFiles(list, strFolder + "\\" + folders->GetNext(pos));
}

namespace {

// The name of the entry of a page or folder (its path relative to the language folder), escaped: a
// class's folder and page show the class's name and a member's page the member's name, as their
// pages do (a file's name is the page name's escaped form), whichever locale named its file; any
// other is named after its file.
CString EntryName(const CGenHtmlHelpClass::ClassPages& pages, const CString& strLocation, const CString& strFileName) {
  const auto found = pages.names.find(static_cast<LPCTSTR>(strLocation));
  if (found != pages.names.end()) return found->second;
  for (const std::string& letters : LettersOf(strLocation, pages.codePages)) {
    const auto spelled = pages.namesByLetters.find(letters);
    if (spelled != pages.namesByLetters.end()) return spelled->second;
  }
  return SitemapName(strFileName);
}

// The pages of a folder given relative to the language folder, as (escaped name, location) pairs,
// each location as the system names the page.
template <class Visit>
void ForEachPage(const CGenHtmlHelpClass::ClassPages& pages, const CString& strLanguageFolder,
                 const CString& strFolder, bool bPageFolder, Visit&& visit) {
  SECFileSystem fs;
  for (const auto files = ListFiles(fs, strLanguageFolder + strFolder); !files->IsEmpty();) {
    const CString strPath = files->RemoveHead();
    const CString strName = fs.GetFileName(strPath);
    if (!IsPage(fs, strPath) || (bPageFolder && strName == "Hierarchy_Chart.htm")) continue;
    const CString strLocation = strFolder + "\\" + strName;
    visit(EntryName(pages, strLocation, fs.GetBaseFileName(strPath)), SystemNameIn(strLanguageFolder, strLocation));
  }
}

// The taken subfolders of a folder, relative to the language folder, as (escaped name, folder)
// pairs; in the page folder ("Htmls"), without the folders of classes the project no longer has,
// and with the folder of each class it has whatever its name (a class "_Impl" or "images" is no
// folder of the pages' own, and its pages belong in the contents and the index).
template <class Visit>
void ForEachTakenFolder(const CGenHtmlHelpClass::ClassPages& pages, const CString& strLanguageFolder,
                        const CString& strFolder, Visit&& visit) {
  SECFileSystem fs;
  const CString strFull = strLanguageFolder + strFolder;
  const auto folders = ListFolders(fs, strFull);
  static const CGenHtmlHelpClass::ClassPages none;
  const CGenHtmlHelpClass::ClassPages& current = strFolder == "Htmls" ? pages : none;
  for (POSITION pos = folders->GetHeadPosition(); pos != nullptr;) {
    const CString& strName = folders->GetNext(pos);
    const bool bClassFolder = strFolder == "Htmls" && pages.folders.count(static_cast<LPCTSTR>(strName)) != 0;
    if (!IsTakenFolder(strName) && !bClassFolder) continue;
    if (IsFormerClassFolder(current, fs.AppendPath(strFull, strName), strName)) continue;
    const CString strSubfolder = strFolder + "\\" + strName;
    visit(EntryName(pages, strSubfolder, strName), strSubfolder);
  }
}

// The pages of a folder, as ForEachPage gives them.
std::vector<std::pair<CString, CString>> ListPages(const CGenHtmlHelpClass::ClassPages& pages,
                                                   const CString& strLanguageFolder, const CString& strFolder) {
  std::vector<std::pair<CString, CString>> list;
  ForEachPage(pages, strLanguageFolder, strFolder, false,
              [&](const CString& strName, const CString& strLocation) { list.emplace_back(strName, strLocation); });
  return list;
}

// Whether the folder or a taken folder below it holds a page: a book with no entry (a folder of
// images only, a class without members of a kind) would only be an entry that opens nothing.
bool HoldsPages(const CGenHtmlHelpClass::ClassPages& pages, const CString& strLanguageFolder,
                const CString& strFolder) {
  if (!ListPages(pages, strLanguageFolder, strFolder).empty()) return true;
  bool bHolds = false;
  ForEachTakenFolder(pages, strLanguageFolder, strFolder, [&](const CString&, const CString& strSubfolder) {
    bHolds = bHolds || HoldsPages(pages, strLanguageFolder, strSubfolder);
  });
  return bHolds;
}

}  // namespace

BOOL CGenHtmlHelpClass::WriteContentsFile(CString strPath) {
  m_classPages.reset();  // the project as it is now
  PageText out;
  WriteSitemapHead(out);
  out << "<OBJECT type=\"text/site properties\">\n"
      << "\t<param name=\"Window Styles\" value=\"0x800025\">\n"
      << "\t<param name=\"ImageType\" value=\"Folder\">\n"
      << "</OBJECT>\n";
  WriteContentsBody(out);
  out << "</BODY></HTML>\n";
  return WriteHelpFile(strPath, out);
}

void CGenHtmlHelpClass::WriteContentsBody(PageText& out) {
  const CString strLanguageFolder = GetLanguageFolder();
  // One list holds the title book and the class books: a list nested before any entry has no item
  // to hang from, and the viewers then find two roots and show no contents at all.
  out << "<UL>\n";
  WriteEscapedEntry(out, 1, HelpTitle(m_strTitle, true), nullptr);
  out << "\t<UL>\n";
  const ClassPages& pages = GetClassPages();
  ForEachPage(pages, strLanguageFolder, "Htmls", true, [&](const CString& strName, const CString& strLocation) {
    WriteEscapedEntry(out, 2, strName, &strLocation);
  });
  out << "\t\t</UL>\n";
  ForEachTakenFolder(pages, strLanguageFolder, "Htmls", [&](const CString& strName, const CString& strFolder) {
    if (!HoldsPages(pages, strLanguageFolder, strFolder)) return;
    WriteEscapedEntry(out, 3, strName, nullptr);
    out << "\t\t<UL>\n";
    ForEachPage(pages, strLanguageFolder, strFolder, false, [&](const CString& strPage, const CString& strLocation) {
      WriteEscapedEntry(out, 4, strPage, &strLocation);
    });
    WriteContentsFolders(out, 4, 4, strFolder);
    out << "\t\t\t</UL>\n";
  });
  out << "</UL>\n";
}

void CGenHtmlHelpClass::WriteContentsFolders(PageText& out, int nIndent, int nListIndent, CString strFolder) {
  const CString strLanguageFolder = GetLanguageFolder();
  // Every folder below the first level that holds pages is a book of its own, placed after its
  // parent's book.
  const ClassPages& pages = GetClassPages();
  ForEachTakenFolder(pages, strLanguageFolder, strFolder, [&](const CString& strName, const CString& strSubfolder) {
    const auto folderPages = ListPages(pages, strLanguageFolder, strSubfolder);
    if (!folderPages.empty()) {
      WriteEscapedEntry(out, nIndent, strName, nullptr);
      out << Tabs(nListIndent) << "<UL>\n";
      for (const auto& [strPage, strLocation] : folderPages)
        WriteEscapedEntry(out, nIndent + 1, strPage, &strLocation, " <LI> <OBJECT type=\"text/sitemap\">\n");
      out << Tabs(nListIndent) << "</UL>\n";
    }
    WriteContentsFolders(out, nIndent + 1, nListIndent + 1, strSubfolder);
  });
}

BOOL CGenHtmlHelpClass::WriteIndexFile(CString strPath) {
  m_classPages.reset();
  PageText out;
  WriteSitemapHead(out);
  out << "<UL>\n";
  WriteIndexBody(out);
  out << "</UL>\n"
      << "</BODY></HTML>\n";
  return WriteHelpFile(strPath, out);
}

void CGenHtmlHelpClass::WriteIndexBody(PageText& out) {
  ForEachPage(GetClassPages(), GetLanguageFolder(), "Htmls", true,
              [&](const CString& strName, const CString& strLocation) {
                WriteEscapedEntry(out, 1, strName, &strLocation);
              });
  WriteIndexFolders(out, "Htmls");
}

void CGenHtmlHelpClass::WriteIndexFolders(PageText& out, CString strFolder) {
  const CString strLanguageFolder = GetLanguageFolder();
  const ClassPages& pages = GetClassPages();
  ForEachTakenFolder(pages, strLanguageFolder, strFolder, [&](const CString&, const CString& strSubfolder) {
    ForEachPage(pages, strLanguageFolder, strSubfolder, false, [&](const CString& strName, const CString& strLocation) {
      WriteEscapedEntry(out, 1, strName, &strLocation);
    });
    WriteIndexFolders(out, strSubfolder);
  });
}

// Whether a page (relative to the page folder, as the program spells it) is on disk: under the name
// the locale gives it, or under the one a locale of the program's code page gave it when the run
// wrote it, in UTF-8 or in the code page's bytes.
static bool PageOnDisk(const CString& strPageFolder, const CString& strRelative) {
  SECFileSystem fs;
  if (fs.FileExists(strPageFolder + strRelative)) return true;
  std::string folder = brambolt::NativePath(static_cast<LPCTSTR>(strPageFolder));
  if (folder.empty() || folder.back() != '/') folder += '/';
  const std::string relative = static_cast<LPCTSTR>(strRelative);
  for (std::string spelled : {brambolt::AnsiToUtf8(relative, CP_ACP), relative}) {
    std::replace(spelled.begin(), spelled.end(), '\\', '/');
    struct stat st {};
    if (::stat((folder + spelled).c_str(), &st) == 0 && S_ISREG(st.st_mode)) return true;
  }
  return false;
}

// The files below the page folder in the letters of their names, in every reading (LettersOf).
static std::set<std::string> LettersOnDisk(const CString& strPageFolder, const std::vector<UINT>& codePages) {
  namespace fs = std::filesystem;
  std::set<std::string> letters;
  std::error_code error;
  const fs::path folder = brambolt::NativePath(static_cast<LPCTSTR>(strPageFolder));
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::vector<std::string> names;
    for (const fs::path& name : fs::relative(it->path(), folder, error)) names.push_back(name.string());
    for (std::string& reading : LettersOfSystemNames(names, codePages)) letters.insert(std::move(reading));
  }
  return letters;
}

std::vector<CString> ListMissingPages(CWorkSpaceObj& project, const CString& strPageFolder, const CStringList* pListed) {
  std::vector<CString> missing;
  // A page a run named under another locale than this one, in bytes of a code page this locale
  // does not read, is found by the letters of its name.
  std::optional<std::set<std::string>> onDisk;
  const std::vector<UINT> codePages = HeaderCodePages(project);
  // The files the help lists, relative to the page folder, as they are spelled and in their letters.
  std::set<std::string> listed;
  std::set<std::string> listedLetters;
  if (pListed != nullptr)
    for (POSITION pos = pListed->GetHeadPosition(); pos != nullptr;) {
      const CString& strFile = pListed->GetNext(pos);
      if (strFile.Left(6) != "Htmls\\") continue;
      const CString strRelative = strFile.Mid(6);
      listed.insert(static_cast<LPCTSTR>(strRelative));
      for (std::string& letters : LettersOf(strRelative, codePages)) listedLetters.insert(std::move(letters));
    }
  const auto isIn = [](const std::set<std::string>& set, const std::vector<std::string>& letters) {
    return std::any_of(letters.begin(), letters.end(), [&](const std::string& l) { return set.count(l) != 0; });
  };
  auto check = [&](const CString& strRelative) {
    // A page on disk that the help does not list (its name, given by a locale other than this
    // one, is one this locale's listing cannot follow) is as missing from the help as one removed.
    const auto isListed = [&] {
      return pListed == nullptr || listed.count(static_cast<LPCTSTR>(strRelative)) != 0 ||
             isIn(listedLetters, LettersOf(strRelative, codePages));
    };
    if (PageOnDisk(strPageFolder, strRelative)) {
      if (!isListed()) missing.push_back(strRelative);
      return;
    }
    if (!onDisk) onDisk = LettersOnDisk(strPageFolder, codePages);
    if (!isIn(*onDisk, LettersOf(strRelative, codePages)) || !isListed()) missing.push_back(strRelative);
  };
  check("Index.htm");
  check("Hierarchy_Chart.htm");
  ForEachClassPage(project, strPageFolder, false,
                   [&](const CFileObj&, const CString& strPage, const CString&) { check(strPage); });
  return missing;
}

HtmlHelpSettings FillHtmlHelpDefaults(CWorkSpaceObj& project, const CString& strProjectName) {
  // A default filled in changes what the project holds, as a setting the user changes does.
  auto fill = [&project](CString& strSetting, const CString& strDefault) {
    if (strSetting.IsEmpty() && !strDefault.IsEmpty()) {
      strSetting = strDefault;
      project.m_bModified = TRUE;
      project.m_bHelpSettingsChanged = TRUE;
    }
    return strSetting;
  };
  HtmlHelpSettings settings;
  settings.strContentsFile = fill(project.m_strHelpContentsFile, strProjectName + ".hhc");
  settings.strIndexFile = fill(project.m_strHelpIndexFile, strProjectName + ".hhk");
  settings.strCompiledFile = fill(project.m_strHelpCompiledFile, strProjectName + ".chm");
  settings.strProjectFile = fill(project.m_strHelpProjectFile, strProjectName + ".hhp");
  settings.strTitle = fill(project.m_strHelpTitle, project.m_strProjectTitle);
  settings.strDefaultTopic = fill(project.m_strHelpDefaultTopic, "index.htm");
  return settings;
}

void ListDefaultFileCandidates(const CWorkSpaceObj& project, const CString& strProjectFolder, CStringList& names) {
  SECFileSystem fs;
  CString strPattern = strProjectFolder + LanguageFolderName(project.m_nOutputLanguage) + "htmls\\*.htm";
  for (const std::unique_ptr<CStringList> files(fs.GetFileList(strPattern, kOrdinaryFiles)); !files->IsEmpty();)
    names.AddTail(fs.GetFileName(files->RemoveHead()));
}

UINT CheckHtmlHelpSettings(const HtmlHelpSettings& settings, BOOL bDefaultSelected, CString& strMessage,
                           UINT& nControl) {
  struct Check {
    BOOL bFailed;
    UINT nMessage;
    const char* lpszText;
    UINT nControl;
  };
  const Check checks[] = {
      {!bDefaultSelected, 162,
       "You must specify a default HTML file for the HTML Help Project file you want to create.", 1000},
      {settings.strContentsFile.IsEmpty(), 163,
       "You must specify a Content file name for the HTML Help Project file you want to create.", 1018},
      {settings.strIndexFile.IsEmpty(), 164,
       "You must specify a Index file name for the HTML Help Project file you want to create.", 1019},
      {settings.strProjectFile.IsEmpty(), 165,
       "You must specify a file name for the HTML Help Project file you want to create.", 1034},
      {settings.strTitle.IsEmpty(), 166, "You must specify a Title for the HTML Help Project file you want to create.",
       1219},
      {settings.strCompiledFile.IsEmpty(), 167,
       "You must specify a Compiled file name for the HTML Help Project file you want to create.", 1020},
  };
  for (const Check& check : checks) {
    if (!check.bFailed) continue;
    strMessage = check.lpszText;
    nControl = check.nControl;
    return check.nMessage;
  }
  return 0;
}

BOOL GenerateHtmlHelp(CWorkSpaceObj& project, const HtmlHelpSettings& settings, HWND hWndOwner) {
  // The settings are kept in the project, which is changed only when one of them differs from
  // what it holds: a help made again as it was leaves nothing to save.
  const auto keep = [&](CString& strKept, const CString& strSetting) {
    if (strKept == strSetting) return;
    strKept = strSetting;
    project.m_bModified = TRUE;
    project.m_bHelpSettingsChanged = TRUE;
  };
  keep(project.m_strHelpContentsFile, settings.strContentsFile);
  keep(project.m_strHelpIndexFile, settings.strIndexFile);
  keep(project.m_strHelpCompiledFile, settings.strCompiledFile);
  keep(project.m_strHelpProjectFile, settings.strProjectFile);
  keep(project.m_strHelpTitle, settings.strTitle);
  keep(project.m_strHelpDefaultTopic, settings.strDefaultTopic);

  CGenHtmlHelpClass writer(settings.strContentsFile, settings.strIndexFile, settings.strCompiledFile,
                           settings.strDefaultTopic, settings.strTitle);
  const CString strLanguageFolder = writer.GetLanguageFolder();
  // A file that cannot be written keeps what it held: the compiler would read stale files, so
  // nothing is compiled, and the user is told which files were written and which were not.
  CString strNotWritten, strWritten;
  const auto write = [&](BOOL (CGenHtmlHelpClass::*pWrite)(CString), const CString& strName) {
    const CString strPath = strLanguageFolder + strName;
    if ((writer.*pWrite)(strPath)) {
      strWritten += "\n" + strPath;
      return;
    }
    strNotWritten += "\n" + strPath + ": " + std::strerror(errno != 0 ? errno : EIO);
  };
  std::vector<CString> missing;
  {
    // The files are written, and the pages looked for, under the wait cursor; the messages and the
    // compile's window that follow are the user's.
    RecordWaitCursor wait;
    write(&CGenHtmlHelpClass::WriteProjectFile, settings.strProjectFile);
    write(&CGenHtmlHelpClass::WriteContentsFile, settings.strContentsFile);
    write(&CGenHtmlHelpClass::WriteIndexFile, settings.strIndexFile);
    if (strNotWritten.IsEmpty()) {
      CStringList listed;
      writer.CollectFiles(listed);
      missing = ListMissingPages(project, writer.GetPageFolder(), &listed);
    }
  }
  if (!strNotWritten.IsEmpty()) {
    CString strText = "The HTML Help was not compiled: these project files could not be written, and each keeps "
                      "what it held before, if it was there:" + strNotWritten;
    if (!strWritten.IsEmpty()) strText += "\nWritten:" + strWritten;
    GetShellServices()->ShowMessage(strText, kExclamationBox);
    GetShellServices()->RefreshOutputTree();
    return FALSE;
  }

  // Pages of the project removed by hand since the run would be missing from the help without a
  // word (the compiler's one warning among hundreds of lines): they are named first.
  if (!missing.empty()) {
    CString strText;
    strText.Format("%d page(s) of the project's documentation are not in %s, so the help would lack them and "
                   "links to them would lead nowhere:",
                   static_cast<int>(missing.size()), static_cast<LPCTSTR>(writer.GetPageFolder()));
    constexpr size_t kShown = 20;
    for (size_t i = 0; i < missing.size() && i < kShown; ++i) strText += "\n" + missing[i];
    if (missing.size() > kShown) {
      CString strMore;
      strMore.Format("\n... and %d more.", static_cast<int>(missing.size() - kShown));
      strText += strMore;
    }
    strText += "\nWrite Documentation writes them again. Compile the help without them?";
    if (GetShellServices()->ShowMessage(strText, kQuestionBox) != kYes) {
      GetShellServices()->RefreshOutputTree();
      return FALSE;
    }
  }

  const BOOL bCompiled =
      CompileHtmlHelp(strLanguageFolder, settings.strProjectFile, settings.strCompiledFile, hWndOwner);
  if (!bCompiled) GetShellServices()->ShowMessage(kWorkshopMessage, kInformationBox);
  GetShellServices()->RefreshOutputTree();
  return bCompiled;
}

namespace {

// The last lines of a text.
std::string LastLines(const std::string& text, int nLines) {
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
  size_t start = end;
  for (int n = 0; start > 0; --start)
    if (text[start - 1] == '\n' && ++n == nLines) break;
  return text.substr(start, end - start);
}

// The working files of a compile carry the program's process in their names (the owned-name
// rule of the saves), so a compile of another instance into the same folder keeps its own, and
// what a compile ended with its program left is known for a leftover and removed by the next.
constexpr const char* kWorkingTag = "compiling";

// A working copy of the project keeps the project's extension after its owned name: the compiler
// reads a project by its extension.
void RemoveDeadWorkingFiles(const std::filesystem::path& folder, const std::string& extension) {
  namespace owned = brambolt::owned_name;
  owned::RemoveDeadLeftovers(folder.string(), std::string(), kWorkingTag);
  std::error_code error;
  std::vector<std::filesystem::path> dead;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (extension.empty() || name.size() <= extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
      continue;
    if (!owned::OwnerGone(owned::OwnerOf(name.substr(0, name.size() - extension.size()), std::string(), kWorkingTag)))
      continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
      dead.push_back(it->path());
  }
  for (const auto& path : dead) std::filesystem::remove(path, error);
}

// Whether the compiler's output says it failed: a line that begins with "error", or an exception it
// did not handle (what chmcmd writes when a write of the help file fails).
bool OutputTellsFailure(const std::string& output) {
  std::string lower = output;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (lower.find("unhandled exception") != std::string::npos) return true;
  for (size_t at = 0; at < lower.size();) {
    const size_t start = lower.find_first_not_of(" \t\r\n", at);
    if (start == std::string::npos) break;
    if (lower.compare(start, 5, "error") == 0) return true;
    const size_t end = lower.find('\n', start);
    at = end == std::string::npos ? lower.size() : end + 1;
  }
  return false;
}

// A compile under working names: a copy of the project beside it whose "Compiled file=" names a
// working file beside the help file; Finish puts the result of a good compile in the help file's
// place and removes the working files. A project without that option is compiled as it is.
class WorkingCompile {
 public:
  WorkingCompile(const std::filesystem::path& project, std::filesystem::path compiled)
      : m_project(project), m_compiled(std::move(compiled)) {
    namespace owned = brambolt::owned_name;
    const std::string extension = project.extension().string();
    RemoveDeadWorkingFiles(project.parent_path(), extension);
    if (m_compiled.parent_path() != project.parent_path()) RemoveDeadWorkingFiles(m_compiled.parent_path(), extension);
    std::error_code error;
    // What compiles of earlier versions left under fixed names.
    std::filesystem::remove(m_compiled.string() + ".compiling", error);
    std::filesystem::remove(project.parent_path() / (project.stem().string() + ".compiling" + extension), error);

    std::ifstream in(project, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static constexpr std::string_view kOption = "compiled file=";
    const std::filesystem::path working = owned::Make(m_compiled.parent_path().string(),
                                                      m_compiled.filename().string(), kWorkingTag);
    bool bNamed = false;
    std::string copy;
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find('\n', at);
      end = end == std::string::npos ? text.size() : end + 1;
      std::string line = text.substr(at, end - at);
      std::string lower = line.substr(0, kOption.size());
      std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
      if (lower == kOption) {
        // The value's folder part stays; its file name becomes the working file's.
        const size_t value = line.find_last_not_of("\r\n") + 1;
        const size_t slash = line.find_last_of("\\/", value - 1);
        const size_t name = slash == std::string::npos || slash < kOption.size() ? kOption.size() : slash + 1;
        line.replace(name, value - name, working.filename().string());
        bNamed = true;
      }
      copy += line;
      at = end;
    }
    if (!bNamed) return;
    // The copy is written as the documentation run writes its files; when it cannot be written the
    // compile does not run: the compiler would write over the help file itself.
    const std::string workingProject =
        owned::Make(project.parent_path().string(), project.filename().string(), kWorkingTag) + extension;
    errno = 0;
    const OutputFolder folder = OutputFolder::Open(project.parent_path().c_str(), 0, false);
    const CString strWorkingName = brambolt::ProgramNameOf(std::filesystem::path(workingProject).filename().string()).c_str();
    if (!folder.WriteFile(strWorkingName, copy.data(), copy.size())) {
      m_nCopyError = errno != 0 ? errno : EIO;
      return;
    }
    m_working = working;
    m_workingProject = workingProject;
  }
  ~WorkingCompile() { Finish(false); }
  WorkingCompile(const WorkingCompile&) = delete;
  WorkingCompile& operator=(const WorkingCompile&) = delete;

  // The error that kept the working copy of the project from being written, else 0.
  int CopyError() const { return m_nCopyError; }
  std::string ProjectFile() const { return (m_workingProject.empty() ? m_project : m_workingProject).string(); }

  // The working files' names as the compiler may write them, each with the name of the file it
  // stands for.
  std::vector<std::pair<std::string, std::string>> NamesShown() const {
    if (m_working.empty()) return {};
    return {{m_working.filename().string(), m_compiled.filename().string()},
            {m_workingProject.filename().string(), m_project.filename().string()}};
  }

  // Whether the compile made the help file: the compiler ended well (bGood: its exit status 0 and
  // no failure in its output) and wrote a file that holds something, now in the help file's place.
  // Only the first call decides; strWhy then tells why there is none.
  bool Finish(bool bGood, const std::string& strWhy = std::string()) {
    if (m_bFinished) return m_bMade;
    m_bFinished = true;
    m_strWhy = strWhy;
    std::error_code error;
    if (!m_workingProject.empty()) std::filesystem::remove(m_workingProject, error);
    const std::filesystem::path& made = m_working.empty() ? m_compiled : m_working;
    std::error_code sized;
    m_bMade = bGood && std::filesystem::file_size(made, sized) > 0 && !sized;
    if (!m_working.empty()) {
      if (m_bMade) {
        if (const int nFault = brambolt::FileFault(brambolt::FileStep::Rename, m_compiled.string()))
          error = std::error_code(nFault, std::generic_category());
        else
          std::filesystem::rename(m_working, m_compiled, error);
        m_bMade = !error;
        if (error) m_strWhy = "the new help file could not take its place: " + error.message();
      }
      if (!m_bMade) std::filesystem::remove(m_working, error);
    }
    return m_bMade;
  }
  // Why the last Finish made no help file ("" when it gave none).
  const std::string& Why() const { return m_strWhy; }

 private:
  std::filesystem::path m_project, m_compiled, m_working, m_workingProject;
  int m_nCopyError = 0;
  std::string m_strWhy;
  bool m_bFinished = false;
  bool m_bMade = false;
};

}  // namespace

BOOL CompileHtmlHelp(const CString& strLanguageFolder, const CString& strProjectFile, const CString& strCompiledFile,
                     HWND hWndOwner) {
  const std::string program = brambolt::FindShellAssociation(".hhp");
  if (program.empty()) return FALSE;
  namespace fs = std::filesystem;
  fs::path folder = brambolt::NativePath(strLanguageFolder);
  if (!folder.has_filename()) folder = folder.parent_path();
  const fs::path compiled = brambolt::NativePath(strLanguageFolder + strCompiledFile);
  std::error_code error;
  const bool bExisted = fs::is_regular_file(compiled, error);
  // What a compile that made no help file leaves: the help file from before, or none.
  // Paths in messages are shown as the program spells them.
  const auto spelled = [](const fs::path& path) { return brambolt::ProgramNameOf(path.string()); };
  const std::string kept = bExisted ? " The help file " + spelled(compiled) + " is the one from before, as it was."
                                    : std::string(" No help file was made.");
  // The compiler empties its help file as it starts: it writes under a name of its own, from a copy
  // of the project that names that file, and the help file from before is replaced only by a
  // complete new one. A compile that fails or is cancelled leaves it as it was.
  WorkingCompile working(brambolt::NativePath(strLanguageFolder + strProjectFile), compiled);
  if (working.CopyError() != 0) {
    const std::string text = "The HTML Help was not compiled: its working copy of " +
                             spelled(brambolt::NativePath(strLanguageFolder + strProjectFile)) +
                             " could not be written in " + spelled(folder) + " (" + std::strerror(working.CopyError()) +
                             ")." + kept;
    GetShellServices()->ShowMessage(CString(text.c_str()), kExclamationBox);
    return TRUE;
  }
  brambolt::SpawnRequest request;
  request.program = program;
  request.argv = {program, working.ProjectFile()};
  request.directory = folder.string();
  HelpCompilerRun run;
  run.ShowNamesAs(working.NamesShown());
  DWORD dwError = 0;
  if (!run.Start(request, &dwError)) return FALSE;
  // The compiler's word on its compile: its exit status and what it wrote.
  const auto result = [&](bool bEnded) -> std::string {
    DWORD dwExit = 0;
    std::string why;
    if (!bEnded)
      why = "the compiler wrote nothing for too long and was ended";
    else if (run.GetExitCode(&dwExit) && dwExit != 0)
      why = "the compiler failed (exit status " + std::to_string(dwExit) + ")";
    else if (OutputTellsFailure(run.GetOutput()))
      why = "the compiler reported an error";
    if (working.Finish(why.empty(), why)) return "Compiled file: " + spelled(compiled);
    return "The compiler made no help file" + (working.Why().empty() ? std::string() : ": " + working.Why()) + "." +
           kept;
  };
  if (hWndOwner != nullptr && ::IsWindow(hWndOwner)) {
    // The window shows the whole output and then the result, until the user closes it.
    CHelpCompileDlg dialog(run, [&] { return CString(result(true).c_str()); }, CWnd::FromHandle(hWndOwner));
    dialog.DoModal();
    run.End();
    if (dialog.WasCancelled()) {
      working.Finish(false);
      const std::string text = "The HTML Help compile was cancelled. " +
                               (bExisted ? "The help file " + spelled(compiled) + " is the one from before."
                                         : std::string("No help file was made."));
      GetShellServices()->ShowMessage(CString(text.c_str()), kInformationBox);
    }
    return TRUE;
  }
  const BOOL bEnded = run.WaitFinished(kCompilerSilenceMs);
  run.End();
  const std::string status = result(bEnded != FALSE);
  std::string text = "Compiling " + spelled(brambolt::NativePath(strLanguageFolder + strProjectFile)) + "\n\n";
  const std::string shown = LastLines(run.GetOutput(), kShownOutputLines);
  if (!shown.empty()) text += shown + "\n\n";
  text += status;
  const bool bMade = status.rfind("Compiled file: ", 0) == 0;
  GetShellServices()->ShowMessage(CString(text.c_str()), bMade ? kInformationBox : kExclamationBox);
  return TRUE;
}
