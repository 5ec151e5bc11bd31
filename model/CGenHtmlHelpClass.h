// The HTML Help project writer: the project (.hhp), contents (.hhc) and index (.hhk) files over
// the generated pages of the open project's output language, and the command's steps around it
// (default names, the checks of the dialog, the shell's compile of the project).
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/base.h"
#include "core/CObject.h"
#include "core/CString.h"
#include "core/Lists.h"
#include "model/RecordFile.h"

class CWorkSpaceObj;
class PageText;

class CGenHtmlHelpClass : public CObject {
  DECLARE_DYNCREATE(CGenHtmlHelpClass)

 public:
  CGenHtmlHelpClass();
  CGenHtmlHelpClass(CString strContentsFile, CString strIndexFile, CString strCompiledFile, CString strDefaultTopic,
                    CString strTitle);
  ~CGenHtmlHelpClass() override;

  // Nothing is archived; the record-file pair of the model's records is there, and nothing calls it.
  void Serialize(CArchive& ar) override;
  DECLARE_RECORD_FILE()

  // Each writes one file whole, or leaves what the name held as it was: FALSE then, with errno
  // telling why.
  BOOL WriteProjectFile(CString strPath);
  BOOL WriteContentsFile(CString strPath);
  BOOL WriteIndexFile(CString strPath);

  // Every ordinary file below the page folder, relative to the language folder.
  void CollectFiles(CStringList& list);
  void CollectSubfolderFiles(CStringList& list, CString strFolder);
  void WriteContentsBody(PageText& out);
  void WriteContentsFolders(PageText& out, int nIndent, int nListIndent, CString strFolder);
  void WriteIndexBody(PageText& out);
  void WriteIndexFolders(PageText& out, CString strFolder);

  // The open project's language folder ("Output_Chs\\", "Output_GB5\\" or "Output_Eng\\" under the
  // project folder) and its page folder (+ "Htmls\\").
  CString GetLanguageFolder() const;
  CString GetPageFolder() const { return GetLanguageFolder() + "Htmls\\"; }

  // The class folders of the open project, and the names the entries of its class pages and
  // folders show (by path relative to the language folder, escaped, in the pages' code page).
  // A page or folder listed in another spelling than the project's (named under another locale)
  // is found by the letters of its names too.
  struct ClassPages {
    // The code pages of the project's headers, besides the program's: a run under a locale of one
    // of them named their pages in its bytes.
    std::vector<UINT> codePages;
    std::set<std::string> folders;
    std::map<std::string, CString> names;
    std::set<std::string> folderLetters;
    std::map<std::string, CString> namesByLetters;
  };
  // Read from the project once for each file written.
  const ClassPages& GetClassPages();

  CString m_strContentsFile;
  CString m_strIndexFile;
  CString m_strCompiledFile;
  CString m_strDefaultTopic;
  CString m_strTitle;

 private:
  std::optional<ClassPages> m_classPages;
};

// The six settings of the HTML Help dialog.
struct HtmlHelpSettings {
  CString strContentsFile;
  CString strIndexFile;
  CString strCompiledFile;
  CString strProjectFile;
  CString strTitle;
  CString strDefaultTopic;
};

// Fills the project's empty settings with the defaults made of the project's name (".hhc", ".hhk",
// ".chm", ".hhp", the project title and "index.htm"); returns the settings.
HtmlHelpSettings FillHtmlHelpDefaults(CWorkSpaceObj& project, const CString& strProjectName);
// The names the default-file list offers: the page files ("*.htm") of the output language.
void ListDefaultFileCandidates(const CWorkSpaceObj& project, const CString& strProjectFolder, CStringList& names);
// The dialog's checks in their order: 0 when the settings may be used, else the message and the
// control that gets the focus. bDefaultSelected: an item of the default-file list is selected.
UINT CheckHtmlHelpSettings(const HtmlHelpSettings& settings, BOOL bDefaultSelected, CString& strMessage,
                           UINT& nControl);
// The pages the project's documentation has now (the class list, the chart page, each class's
// page and the pages of its documented members) that are not in the page folder, relative to it;
// with the files the help lists (relative to the language folder), also those it does not list.
std::vector<CString> ListMissingPages(CWorkSpaceObj& project, const CString& strPageFolder,
                                      const CStringList* pListed = nullptr);
// After OK: stores the settings in the project (marking it modified), writes the three files into
// the language folder (their contents and index list only the classes the project has now: the
// folders of former classes stay on disk; when one of them cannot be written the user is told
// which were and which were not, and nothing is compiled), names the project's pages that are
// missing and asks whether to compile without them, compiles the project file (telling the user
// when there is no compiler) and refreshes the output tree. TRUE when the compiler ran.
BOOL GenerateHtmlHelp(CWorkSpaceObj& project, const HtmlHelpSettings& settings, HWND hWndOwner);
// Runs the compiler associated with ".hhp" on the project file in the language folder and shows
// what it did, as the compiler's own window would: its last lines of output and the help file
// made, or that it made none and why. The compiler writes under a working name, and the help file
// from before is replaced only when the compiler ended with status 0, reported no error and wrote
// a file that holds something; when the working copy of the project cannot be written nothing is
// compiled (the user is told). FALSE when there is no compiler or it could not be started.
BOOL CompileHtmlHelp(const CString& strLanguageFolder, const CString& strProjectFile, const CString& strCompiledFile,
                     HWND hWndOwner = nullptr);
