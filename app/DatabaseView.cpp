// The output tree: filled from the language's output folder, and its commands on the disk.
#include "app/DatabaseView.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "afx/CMenu.h"
#include "afx/CWinApp.h"
#include "app/CInkwrightApp.h"
#include "app/CMyFileDialog.h"
#include "app/CNewFolderDlg.h"
#include "app/CPropDlgMain.h"
#include "app/ProjectDialogs.h"
#include "base/Convert.h"
#include "foundation/SECFileSystem.h"
#include "model/AFBig2GBObj.h"
#include "model/CAddFolderProressDlg.h"
#include "model/CAutoGenHelpDlg.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocPages.h"
#include "model/GWExtFileSystem.h"
#include "model/ModelIds.h"
#include "model/ShellServices.h"
#include "os/FileApi.h"
#include "os/Paths.h"
#include "os/Shell.h"
#include "resources/ExplorerRes.h"
#include "resources/OutputViewRes.h"

IMPLEMENT_DYNAMIC(DatabaseView, WorkspaceTree)

// A folder's plain files and sub-folders (full paths, in the order the listing gives), read in
// one listing: filling the tree reads each folder once. A sub-folder that is a symbolic link is
// listed but never entered (it may lead out of the tree or back up it).
struct FolderEntries {
  struct SubFolder {
    CString strPath;
    bool bLink = false;
  };
  // A plain file with its name and image, worked out where the folder is read.
  struct File {
    CString strPath;
    CString strName;
    int nImage = 0;
  };
  std::vector<File> files;
  std::vector<SubFolder> folders;
};

namespace {

// The cells of bitmap 141.
enum OutputImage {
  kImageRoot = 0,
  kImageCompiledHelp = 1,
  kImagePage = 3,
  kImageFolder = 4,
  kImageBitmap = 5,
  kImageContents = 6,
  kImageIndex = 7,
  kImageHelpProject = 8,
  kImagePicture = 9,
  kImageFile = 10,
  kNoImage = -1,
};

constexpr int kImageHeight = 20;
constexpr DWORD kPlainFiles = FILE_ATTRIBUTE_NORMAL;
constexpr DWORD kFillColumnsWidth = 0x04000000;
constexpr DWORD kProgressStyle = 0x4100;
constexpr COLORREF kWhite = RGB(255, 255, 255);
const char* const kProgressText = "Loading output files...";

// The language's output folder name; any unknown language counts as Simplified Chinese.
CString OutputFolderName(int nLanguage) {
  switch (nLanguage) {
    case LANGUAGE_CHT: return "Output_GB5";
    case LANGUAGE_ENG: return "Output_Eng";
    default: return "Output_Chs";
  }
}

CString LowerExtension(const CString& strPath) {
  SECFileSystem fs;
  CString strExtension = fs.GetExtension(strPath);
  strExtension.MakeLower();
  strExtension.Trim();
  return strExtension;
}

bool IsOneOf(const CString& strText, std::initializer_list<const char*> texts) {
  return std::any_of(texts.begin(), texts.end(), [&](const char* text) { return strText == text; });
}

bool IsWebPicture(const CString& strExtension) {
  return IsOneOf(strExtension, {"gif", "tga", "jpg", "jpeg", "tif", "pcx", "png"});
}

// Pages and pictures have their own images; every other file gets nOther.
int ImageByExtension(const CString& strPath, int nOther) {
  const CString strExtension = LowerExtension(strPath);
  if (strExtension == "htm") return kImagePage;
  if (IsWebPicture(strExtension)) return kImagePicture;
  return nOther;
}

// Files directly in the output folder: help files, pages and pictures; kNoImage leaves one out.
int OutputFolderImage(const CString& strPath) {
  static const struct {
    const char* extension;
    int image;
  } kHelpFiles[] = {{"hhc", kImageContents}, {"hhk", kImageIndex}, {"hhp", kImageHelpProject},
                    {"chm", kImageCompiledHelp}, {"bmp", kImageBitmap}};
  const CString strExtension = LowerExtension(strPath);
  for (const auto& file : kHelpFiles)
    if (strExtension == file.extension) return file.image;
  return ImageByExtension(strPath, kNoImage);
}

bool IsConvertiblePage(const CString& strPath) { return IsOneOf(LowerExtension(strPath), {"htm", "html", "asp"}); }

bool IsCharsetNameChar(char ch) {
  return std::isalnum(static_cast<BYTE>(ch)) || ch == '-' || ch == '_' || ch == '.' || ch == ':';
}

// A page names the code page of its bytes in its head, in any of the forms HTML allows: as a
// parameter of its content type ("charset=gb2312", charset="gb2312") or as the charset attribute
// of a meta element (<meta charset="big5">, quoted or not), in any letter case, with blanks around
// the "=". Calls fn with the position and length of each name the line declares.
template <class Fn>
void ForEachCharsetName(const CString& strLine, Fn fn) {
  CString strLower = strLine;
  strLower.MakeLower();
  const int n = strLine.GetLength();
  for (int at = strLower.Find("charset"); at >= 0; at = strLower.Find("charset", at + 1)) {
    if (at > 0 && IsCharsetNameChar(strLine[at - 1])) continue;
    int i = at + static_cast<int>(sizeof "charset") - 1;
    while (i < n && std::isspace(static_cast<BYTE>(strLine[i]))) ++i;
    if (i >= n || strLine[i] != '=') continue;
    ++i;
    while (i < n && std::isspace(static_cast<BYTE>(strLine[i]))) ++i;
    if (i < n && (strLine[i] == '"' || strLine[i] == '\'')) ++i;
    int nEnd = i;
    while (nEnd < n && IsCharsetNameChar(strLine[nEnd])) ++nEnd;
    if (nEnd > i) fn(i, nEnd - i);
  }
}

CString CharsetName(BOOL bBig5) { return bBig5 ? "big5" : "gb2312"; }

// A converted page names its new code page in its head where it named the old one, in the letter
// case of the old.
void RenameCharset(CString& strLine, BOOL bGBToBig5) {
  const CString strOld = CharsetName(!bGBToBig5);
  std::vector<int> names;
  ForEachCharsetName(strLine, [&](int nName, int nLength) {
    if (strLine.Mid(nName, nLength).CompareNoCase(strOld) == 0) names.push_back(nName);
  });
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    CString strName = CharsetName(bGBToBig5);
    if (std::isupper(static_cast<BYTE>(strLine[*it]))) strName.MakeUpper();
    strLine = strLine.Left(*it) + strName + strLine.Mid(*it + strOld.GetLength());
  }
}

// The code page the page's head (its first nHeadLines lines) declares first, in lower case; ""
// when it declares none.
CString DeclaredCharset(const CStringArray& lines, INT_PTR nHeadLines) {
  CString strCharset;
  for (INT_PTR i = 0; i < nHeadLines && strCharset.IsEmpty(); ++i)
    ForEachCharsetName(lines[i], [&](int nName, int nLength) {
      if (strCharset.IsEmpty()) strCharset = lines[i].Mid(nName, nLength);
    });
  strCharset.MakeLower();
  return strCharset;
}

// Whether a file name is in UTF-8 rather than in the source code page of a conversion. Some names
// of GB2312 or Big5 are valid UTF-8 by chance ("目录" in GB2312 reads as "Ŀ¼"), but only as
// characters of two bytes, seldom all letters: a name is UTF-8 when it is valid UTF-8 and does not
// read in the source code page, or holds a character of three bytes or more (as Chinese in UTF-8
// does), or holds no character above ASCII but Latin letters ("café.htm").
bool IsUtf8Name(const CString& strName, LPCTSTR lpszSourceCharset) {
  const std::string_view name(strName, static_cast<size_t>(strName.GetLength()));
  if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), nullptr, 0) <= 0)
    return false;
  if (!AFBig2GBObj::DecodesFully(strName, lpszSourceCharset)) return true;
  const std::u32string text = brambolt::AnsiToUnicode(name, CP_UTF8);
  return std::any_of(text.begin(), text.end(), [](char32_t ch) { return ch >= 0x800; }) ||
         std::all_of(text.begin(), text.end(), [](char32_t ch) {
           return ch < 0x80 || (ch >= 0xC0 && ch <= 0x24F && ch != 0xD7 && ch != 0xF7);
         });
}

// A name in UTF-8 with its characters converted as the text of a page is, through the source
// code page and the tables, and written in UTF-8 again; the name itself when one of its characters
// is not of the source code page or has no counterpart in the target.
CString ConvertUtf8Name(const CString& strName, BOOL bGBToBig5) {
  const UINT nSource = bGBToBig5 ? 936 : 950;
  const UINT nTarget = bGBToBig5 ? 950 : 936;
  const std::string_view name(strName, static_cast<size_t>(strName.GetLength()));
  const std::string source = brambolt::Utf8ToAnsi(name, nSource);
  CString strConverted(source.data(), static_cast<int>(source.size()));
  if (brambolt::AnsiToUtf8(source, nSource) != name ||
      !AFBig2GBObj::DecodesFully(strConverted, bGBToBig5 ? "GB2312" : "BIG5"))
    return strName;
  int nUnmapped = 0;
  if (!AFBig2GBObj::ConvertText(strConverted, bGBToBig5, &nUnmapped) || nUnmapped > 0) return strName;
  const std::string_view converted(strConverted, static_cast<size_t>(strConverted.GetLength()));
  // A sign of Big5's extension rows reads as a private character: no name to give a file.
  const std::u32string target = brambolt::AnsiToUnicode(converted, nTarget);
  const auto bUnreadable = [](char32_t ch) { return ch == 0xFFFD || (ch >= 0xE000 && ch <= 0xF8FF); };
  if (std::any_of(target.begin(), target.end(), bUnreadable)) return strName;
  return brambolt::AnsiToUtf8(converted, nTarget).c_str();
}

// A name (or part of one) as a conversion renames it: in UTF-8 it stays UTF-8, its characters
// converted; text of the source code page gets the target's bytes; anything else is kept.
CString ConvertedName(const CString& strName, BOOL bGBToBig5) {
  LPCTSTR lpszSource = bGBToBig5 ? "GB2312" : "BIG5";
  if (IsUtf8Name(strName, lpszSource)) return ConvertUtf8Name(strName, bGBToBig5);
  CString strConverted = strName;
  if (!AFBig2GBObj::DecodesFully(strName, lpszSource) || !AFBig2GBObj::ConvertText(strConverted, bGBToBig5))
    return strName;
  return strConverted;
}

// The name a conversion gives a page named so: its converted name, or the name it has when that
// could be the name of no file (a Big5 trail byte that is a backslash or "|", as in 許, or a
// punctuation mark the tables map to ASCII): the page then keeps its name.
CString RenamedPageName(const CString& strName, BOOL bGBToBig5) {
  // A name of the target code page that a conversion the other way could give no file (許可 in
  // GB2312, whose Big5 name would hold a backslash) is one that conversion left as it was: it keeps
  // it, and a folder converted to Big5 and back has its names again, not its GB names read as Big5.
  CString strBack = ConvertedName(strName, !bGBToBig5);
  strBack.Trim();
  if (strBack != strName && !IsValidItemName(strBack) && AFBig2GBObj::DecodesFully(strName, bGBToBig5 ? "BIG5" : "GB2312"))
    return strName;
  CString strNewName = ConvertedName(strName, bGBToBig5);
  strNewName.Trim();
  return IsValidItemName(strNewName) ? strNewName : strName;
}

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// The byte of a percent escape ("%B4") at i, or -1.
int EscapedByte(const CString& strText, int i) {
  if (i + 2 >= strText.GetLength() || strText[i] != '%') return -1;
  const int nHigh = HexValue(strText[i + 1]);
  const int nLow = HexValue(strText[i + 2]);
  return nHigh < 0 || nLow < 0 ? -1 : nHigh * 16 + nLow;
}

// A link of a page that names a page of the output (no scheme, not from the root) with its name's
// characters percent-escaped ("%B4%B0%BF%DA.htm", as a browser or an editor writes the name's
// bytes) follows the page's renaming: the page's name, the last part of its path, when it escapes
// a byte above ASCII, is read as the bytes it names (every escape undone, a Big5 trail byte
// written as itself too), renamed as the page on disk is, and escaped again: every byte of a
// character above ASCII, and the ASCII characters the link escaped. The folders on its way and
// a file that is no page (a picture) keep their names, as a conversion leaves them.
CString RenamedEscapedSegment(const CString& strSegment, BOOL bGBToBig5) {
  CString strBytes;
  std::vector<bool> escaped;
  bool bHigh = false;
  for (int k = 0; k < strSegment.GetLength();) {
    const int b = EscapedByte(strSegment, k);
    strBytes += b >= 0 ? static_cast<char>(b) : strSegment[k];
    escaped.push_back(b >= 0);
    bHigh = bHigh || b >= 0x80;
    k += b >= 0 ? 3 : 1;
  }
  if (!bHigh) return strSegment;
  const CString strConverted = RenamedPageName(strBytes, bGBToBig5);
  if (strConverted == strBytes) return strSegment;
  const std::string_view converted(strConverted, static_cast<size_t>(strConverted.GetLength()));
  const bool bSameLength = strConverted.GetLength() == strBytes.GetLength();
  const UINT nTarget = bGBToBig5 ? 950 : 936;
  CString strRenamed;
  for (size_t n = 0; n < converted.size();) {
    const BYTE ch = static_cast<BYTE>(converted[n]);
    const size_t nLength = ch >= 0x80 ? AFBig2GBObj::CharacterLength(converted, n, nTarget) : 1;
    const bool bUnreserved = std::isalnum(ch) || ch == '-' || ch == '.' || ch == '_' || ch == '~';
    if (nLength == 1 && ch < 0x80 && (bSameLength ? !escaped[n] : bUnreserved)) {
      strRenamed += static_cast<char>(ch);
      ++n;
      continue;
    }
    for (size_t end = n + nLength; n < end; ++n) {
      CString strEscape;
      strEscape.Format("%%%02X", static_cast<BYTE>(converted[n]));
      strRenamed += strEscape;
    }
  }
  return strRenamed;
}

void RenameEscapedLinks(CString& strLine, BOOL bGBToBig5) {
  CString strLower = strLine;
  strLower.MakeLower();
  for (const char* lpszAttribute : {"href", "src"}) {
    for (int at = strLower.Find(lpszAttribute); at >= 0; at = strLower.Find(lpszAttribute, at + 1)) {
      if (at > 0 && IsCharsetNameChar(strLine[at - 1])) continue;
      int i = at + static_cast<int>(std::strlen(lpszAttribute));
      while (i < strLine.GetLength() && std::isspace(static_cast<BYTE>(strLine[i]))) ++i;
      if (i >= strLine.GetLength() || strLine[i] != '=') continue;
      ++i;
      while (i < strLine.GetLength() && std::isspace(static_cast<BYTE>(strLine[i]))) ++i;
      const char quote = i < strLine.GetLength() && (strLine[i] == '"' || strLine[i] == '\'') ? strLine[i++] : 0;
      int nEnd = i;
      while (nEnd < strLine.GetLength() &&
             (quote != 0 ? strLine[nEnd] != quote : !std::isspace(static_cast<BYTE>(strLine[nEnd])) && strLine[nEnd] != '>'))
        ++nEnd;
      const CString strValue = strLine.Mid(i, nEnd - i);
      const int nColon = strValue.Find(':');
      const int nSlash = strValue.Find('/');
      if (strValue.IsEmpty() || strValue[0] == '/' || (nColon >= 0 && (nSlash < 0 || nColon < nSlash))) continue;
      // The path's parts up to its query or fragment.
      int nPathEnd = strValue.GetLength();
      for (const char mark : {'?', '#'}) {
        const int nMark = strValue.Find(mark);
        if (nMark >= 0 && nMark < nPathEnd) nPathEnd = nMark;
      }
      CString strRenamed;
      for (int k = 0; k <= nPathEnd;) {
        int nSegmentEnd = strValue.Find('/', k);
        if (nSegmentEnd < 0 || nSegmentEnd > nPathEnd) nSegmentEnd = nPathEnd;
        const CString strSegment = strValue.Mid(k, nSegmentEnd - k);
        const bool bPage = nSegmentEnd == nPathEnd && IsConvertiblePage(strSegment);
        strRenamed += bPage ? RenamedEscapedSegment(strSegment, bGBToBig5) : strSegment;
        if (nSegmentEnd < nPathEnd) strRenamed += '/';
        k = nSegmentEnd + 1;
      }
      strRenamed += strValue.Mid(nPathEnd);
      if (strRenamed == strValue) continue;
      strLine = strLine.Left(i) + strRenamed + strLine.Mid(nEnd);
      strLower = strLine;
      strLower.MakeLower();
    }
  }
}

// The lines of the page's head, up to the one that ends it; all of them when it has none.
INT_PTR HeadLineCount(const CStringArray& lines) {
  for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
    CString strLower = lines[i];
    strLower.MakeLower();
    if (strLower.Find("</head>") >= 0) return i + 1;
  }
  return lines.GetSize();
}

// The last part of a path, at either separator.
CString LastName(const CString& strPath) {
  const int nSeparator = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
  return strPath.Mid(nSeparator + 1);
}

// The diagrams' folder is shown apart, so its twin under the page folder is not walked.
bool IsImage2Folder(const CString& strPath) {
  CString strName = LastName(strPath);
  strName.MakeLower();
  strName.Trim();
  return strName == "image2";
}

// A symbolic link: walks never enter it (it may lead out of the tree or back up it).
bool IsLink(const CString& strPath) {
  const DWORD dwAttributes = ::GetFileAttributes(strPath);
  return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Calls fn for each path of a listing (which it deletes).
template <class Fn>
void ForEachPath(CStringList* pList, Fn fn) {
  std::unique_ptr<CStringList> list(pList);
  for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) fn(list->GetNext(pos));
}

template <class Fn>
void ForEachPlainFile(const CString& strFolder, Fn fn) {
  SECFileSystem fs;
  ForEachPath(fs.GetFileList(fs.AppendPath(strFolder, "*.*"), kPlainFiles), fn);
}

// The given sub-folders under the status bar's progress, advanced once per sub-folder.
template <class Folders, class Fn>
void ForEachWithProgress(const Folders& folders, Fn fn) {
  ShellServices* pShell = GetShellServices();
  pShell->BeginProgress(kProgressText, 0, std::max<int>(static_cast<int>(folders.size()), 1), FALSE, kProgressStyle);
  int nDone = 0;
  for (const auto& folder : folders) {
    fn(folder);
    pShell->SetProgressPos(++nDone);
  }
  pShell->EndProgress();
}

FolderEntries ListFolder(const CString& strFolder) {
  // Hidden, system, volume-label and device entries are no plain files.
  constexpr DWORD kNotPlain = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x08 | FILE_ATTRIBUTE_DIRECTORY |
                              FILE_ATTRIBUTE_DEVICE;
  FolderEntries entries;
  SECFileSystem fs;
  const CString strPattern = fs.AppendPath(strFolder, "*.*");
  const CString strPrefix = fs.GetPath(strPattern, TRUE);
  WIN32_FIND_DATA data{};
  HANDLE hFind = ::FindFirstFile(strPattern, &data);
  if (hFind == INVALID_HANDLE_VALUE) return entries;
  do {
    const CString strName = data.cFileName;
    if (strName == "." || strName == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entries.folders.push_back({strPrefix + strName, (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } else if ((data.dwFileAttributes & kNotPlain) == 0) {
      // The path goes into the file's record as it is: no spare room kept for each of thousands.
      CString strPath = strPrefix + strName;
      strPath.FreeExtra();
      entries.files.push_back({std::move(strPath), strName, ImageByExtension(strName, kImageFile)});
    }
  } while (::FindNextFile(hFind, &data));
  ::FindClose(hFind);
  return entries;
}

int AskYesNo(UINT nID) { return AfxMessageBox(nID, MB_YESNO | MB_ICONINFORMATION); }

}  // namespace

BEGIN_MESSAGE_MAP(DatabaseView, WorkspaceTree)
  AFX_WM_ENTRY(WM_RBUTTONUP, AfxSig_v_u_p, void, (UINT, CPoint), OnContextMenu)
  AFX_WM_ENTRY(WM_KEYUP, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnKeyRelease)
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClick)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, OnFolderExpanding)
  ON_COMMAND(ID_EXPLORER_OPEN, OnOpen)
  ON_UPDATE_COMMAND_UI(ID_EXPLORER_OPEN, OnUpdateOpen)
  ON_COMMAND(ID_EXPLORER_REMOVE, OnRemove)
  ON_UPDATE_COMMAND_UI(ID_EXPLORER_REMOVE, OnUpdateRemove)
  ON_COMMAND(ID_EXPLORER_NEW_FOLDER, OnNewFolder)
  ON_COMMAND(ID_EXPLORER_ADD_FILES, OnAddFiles)
  ON_COMMAND(ID_EXPLORER_COPY_LIVE_FOLDER, OnInsertLiveFolder)
  ON_UPDATE_COMMAND_UI_RANGE(ID_EXPLORER_NEW_FOLDER, ID_EXPLORER_COPY_LIVE_FOLDER, OnUpdateFolderCommand)
  ON_COMMAND(ID_EXPLORER_RENAME, OnRename)
  ON_UPDATE_COMMAND_UI(ID_EXPLORER_RENAME, OnUpdateRename)
  ON_COMMAND(ID_EXPLORER_PROPERTIES, OnProperties)
  ON_COMMAND(ID_EXPLORER_REFRESH, OnRefresh)
  ON_COMMAND(ID_EXPLORER_GB_TO_BIG5, OnConvertGBToBig5)
  ON_COMMAND(ID_EXPLORER_BIG5_TO_GB, OnConvertBig5ToGB)
END_MESSAGE_MAP()

DatabaseView::DatabaseView() : WorkspaceTree(IDB_OUTPUT_TREE, kImageHeight, TRUE) {}

DatabaseView::~DatabaseView() = default;

// ---- filling ----

CItemFileObj* DatabaseView::GetItemRecord(HTREEITEM hItem) const {
  if (hItem == nullptr || hItem == TVI_ROOT) return nullptr;
  return reinterpret_cast<CItemFileObj*>(GetItemData(hItem));
}

CItemFileObj* DatabaseView::NewRecord(CString strPath, BOOL bFolder) {
  auto record = std::make_unique<CItemFileObj>();
  record->m_strPath = std::move(strPath);
  record->m_dwMark = 1;
  record->m_bFolder = bFolder ? 1 : 0;
  m_listItemFiles.push_back(std::move(record));
  return m_listItemFiles.back().get();
}

HTREEITEM DatabaseView::InsertRecordItem(HTREEITEM hParent, const CString& strText, int nImage,
                                         CString strPath, BOOL bFolder, HTREEITEM hInsertAfter) {
  // The record goes in with the item.
  CItemFileObj* pRecord = strPath.IsEmpty() ? nullptr : NewRecord(std::move(strPath), bFolder);
  HTREEITEM hItem = InsertTreeItem(this, hParent, reinterpret_cast<LPARAM>(pRecord), strText, nImage, nImage,
                                   hInsertAfter);
  if (hItem == nullptr && pRecord != nullptr) m_listItemFiles.pop_back();
  return hItem;
}

void DatabaseView::FillTree() {
  DeleteAllItems();
  m_listItemFiles.clear();
  const CString strProjectName = GetProjectName();
  if (strProjectName.IsEmpty()) return;
  const CWorkSpaceObj* pProject = GetWorkSpace();
  const CString strLanguage = OutputFolderName(pProject != nullptr ? pProject->m_nOutputLanguage : LANGUAGE_CHS);
  const CString strOutputFolder = GetProjectFolder() + strLanguage + "\\";
  const CString strPageFolder = strOutputFolder + "Htmls\\";

  HTREEITEM hRoot = InsertRootItem(strProjectName + " " + strLanguage);
  HTREEITEM hPages = InsertRecordItem(hRoot, "HTML Files", kImageFolder, strPageFolder, TRUE);
  FillFolder(strPageFolder, hPages);

  HTREEITEM hDiagrams = InsertRecordItem(hRoot, "Diagrams", kImageFolder, CString(), FALSE);
  SECFileSystem fs;
  ForEachPlainFile(strPageFolder + "Image2", [&](const CString& strPath) {
    InsertRecordItem(hDiagrams, fs.GetFileName(strPath), ImageByExtension(strPath, kImageBitmap), strPath, FALSE);
  });
  ForEachPlainFile(strOutputFolder, [&](const CString& strPath) {
    const int nImage = OutputFolderImage(strPath);
    if (nImage != kNoImage) InsertRecordItem(hRoot, fs.GetFileName(strPath), nImage, strPath, FALSE);
  });
  Expand(hRoot, TVE_EXPAND);
}

void DatabaseView::AddFolderFiles(FolderEntries& entries, HTREEITEM hParent) {
  for (FolderEntries::File& file : entries.files)
    InsertRecordItem(hParent, file.strName, file.nImage, std::move(file.strPath), FALSE);
}

void DatabaseView::FillFolder(const CString& strFolder, HTREEITEM hParent) {
  FolderEntries entries = ListFolder(strFolder);
  AddFolderFiles(entries, hParent);
  ForEachWithProgress(entries.folders, [&](const FolderEntries::SubFolder& sub) {
    if (!IsImage2Folder(sub.strPath)) InsertFolderItem(hParent, sub.strPath, sub.bLink);
  });
}

HTREEITEM DatabaseView::InsertFolderItem(HTREEITEM hParent, const CString& strPath, bool bLink) {
  HTREEITEM hItem = InsertRecordItem(hParent, LastName(strPath), kImageFolder, strPath, TRUE);
  CItemFileObj* pRecord = GetItemRecord(hItem);
  // A linked folder is shown, never entered; any other is read when it is first opened.
  if (hItem == nullptr || pRecord == nullptr || bLink) return hItem;
  pRecord->m_dwMark = kFolderNotRead;
  TVITEM item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = hItem;
  item.cChildren = 1;
  SetItem(&item);
  return hItem;
}

void DatabaseView::FillFolderItem(HTREEITEM hItem) {
  CItemFileObj* pRecord = GetItemRecord(hItem);
  if (pRecord == nullptr || !pRecord->m_bFolder || pRecord->m_dwMark != kFolderNotRead) return;
  pRecord->m_dwMark = 1;
  FolderEntries entries = ListFolder(pRecord->m_strPath);
  AddFolderFiles(entries, hItem);
  for (const FolderEntries::SubFolder& sub : entries.folders) InsertFolderItem(hItem, sub.strPath, sub.bLink);
  if (GetChildItem(hItem) == nullptr) {
    // An empty folder loses its button.
    TVITEM item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = hItem;
    item.cChildren = 0;
    SetItem(&item);
  }
}

void DatabaseView::OnFolderExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* pNM = reinterpret_cast<const NMTREEVIEW*>(pNMHDR);
  if ((pNM->action & 0x0F) == TVE_EXPAND && pNM->itemNew.hItem != nullptr) FillFolderItem(pNM->itemNew.hItem);
}

HTREEITEM DatabaseView::ReplaceFolderItem(HTREEITEM hItem, const CString& strText, const CString& strPath) {
  HTREEITEM hParent = GetParentItem(hItem);
  // The new item takes the old one's place among its siblings, and its selection.
  HTREEITEM hPrevious = GetPrevSiblingItem(hItem);
  const bool bSelected = GetSelectedItem() == hItem;
  DeleteItem(hItem);
  if (hParent == nullptr) return nullptr;
  HTREEITEM hNew = InsertRecordItem(hParent, strText, kImageFolder, strPath, TRUE, hPrevious != nullptr ? hPrevious : TVI_FIRST);
  // "HTML Files" leaves its "Image2" to "Diagrams"; a folder below it shows all it holds, as
  // when it is first opened.
  CItemFileObj* pRecord = GetItemRecord(hNew);
  if (GetItemRecord(hParent) == nullptr || pRecord == nullptr) {
    FillFolder(strPath, hNew);
  } else {
    pRecord->m_dwMark = kFolderNotRead;
    FillFolderItem(hNew);
  }
  if (bSelected && hNew != nullptr) SelectItem(hNew);
  return hNew;
}

// ---- window ----

void DatabaseView::OnTreeCreating() {
  ModifyListStyle(0, kFillColumnsWidth, TRUE);
  SetBkColor(kWhite);
  SetSelIconBkColor(kWhite);
  SetIconBkColor(kWhite);
  SetTextColor(RGB(0, 0, 0));
  SetSelTextBkColor(::GetSysColor(COLOR_ACTIVECAPTION));
  SetSelTextColor(kWhite);
  ShowWindow(SW_SHOW);
}

void DatabaseView::OnContextMenu(UINT nFlags, CPoint point) {
  CItemFileObj* pRecord = GetItemRecord(HitTest(point));
  if (pRecord == nullptr) {
    WorkspaceTree::OnRButtonUp(nFlags, point);
    return;
  }
  CMenu menu;
  if (!menu.LoadMenu(IDR_EXPLORER_POPUPS)) return;
  CMenu* pPopup = menu.GetSubMenu(EXPLORER_POPUP_OUTPUT);
  if (pPopup == nullptr) return;
  if (pRecord->m_bFolder) {
    pPopup->EnableMenuItem(ID_EXPLORER_OPEN, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
  } else {
    for (UINT nPosition = 0; nPosition < 3; ++nPosition)
      pPopup->EnableMenuItem(nPosition, MF_BYPOSITION | MF_GRAYED | MF_DISABLED);
  }
  ClientToScreen(&point);
  pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

void DatabaseView::OnKeyRelease(UINT nChar, UINT, UINT) {
  if (nChar == VK_RETURN) OnOpen();
  if (nChar == VK_DELETE) OnRemove();
  Default();
}

void DatabaseView::OnDblClick(NMHDR*, LRESULT* pResult) {
  OnOpen();
  *pResult = 0;
}

// ---- commands ----

BOOL DatabaseView::IsPictureExtension(const CString& strExtension) {
  return IsOneOf(strExtension, {"BMP", "DIB", "EMF", "GIF", "ICO", "JPG", "WMF"}) ? TRUE : FALSE;
}

BOOL DatabaseView::CopyFileIntoFolder(const CString& strPath, const CString& strFolder) {
  CInkwrightApp* pApp = GetInkwrightApp();
  return pApp != nullptr ? pApp->CopyFileIntoFolder(strPath, strFolder) : FALSE;
}

void DatabaseView::OpenPicture(const CString& strPath) {
  if (CInkwrightApp* pApp = GetInkwrightApp()) pApp->OpenClassHirPicture(strPath);
}

void DatabaseView::OnOpen() {
  const CItemFileObj* pRecord = GetItemRecord(GetSelectedItem());
  if (pRecord == nullptr || pRecord->m_bFolder) return;
  SECFileSystem fs;
  CString strExtension = fs.GetExtension(pRecord->m_strPath);
  strExtension.MakeUpper();
  if (IsPictureExtension(strExtension)) {
    OpenPicture(pRecord->m_strPath);
    return;
  }
  SHELLEXECUTEINFO info{};
  info.cbSize = SHELLEXECUTEINFO_SIZE_32;
  info.fMask = SEE_MASK_INVOKEIDLIST;
  CWnd* pMainWnd = AfxGetMainWnd();
  info.hwnd = pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr;
  info.lpFile = pRecord->m_strPath;
  info.nShow = SW_SHOW;
  ::ShellExecuteEx(&info);
}

void DatabaseView::OnRemove() {
  HTREEITEM hItem = GetSelectedItem();
  const CItemFileObj* pRecord = GetItemRecord(hItem);
  if (pRecord == nullptr || GetItemRecord(GetParentItem(hItem)) == nullptr) return;
  if (AskYesNo(IDS_REMOVE_FROM_PROJECT) != IDYES) return;
  SECFileSystem fs;
  const CString& strPath = pRecord->m_strPath;
  // The item goes only with what it shows: a path that is gone, or could not be deleted, stays.
  if (pRecord->m_bFolder) {
    if (GWExtFileSystem::IsDirectory(strPath) && fs.DeleteDirectory(strPath, TRUE)) DeleteItem(hItem);
  } else if (fs.FileExists(strPath) && fs.DeleteFile(strPath)) {
    DeleteItem(hItem);
  }
}

void DatabaseView::OnNewFolder() {
  HTREEITEM hItem = GetSelectedItem();
  const CItemFileObj* pRecord = GetItemRecord(hItem);
  if (pRecord == nullptr || !pRecord->m_bFolder) return;
  // A folder not read yet is read first: read after the insertion, it would show the new item twice.
  FillFolderItem(hItem);
  SECFileSystem fs;
  CNewFolderDlg dlg(this);
  dlg.m_strParentFolder = fs.AppendPath(pRecord->m_strPath, "");
  if (dlg.DoModal() != IDOK) return;
  InsertRecordItem(hItem, dlg.m_strFolderName, kImageFolder, fs.AppendPath(pRecord->m_strPath, dlg.m_strFolderName),
                   TRUE);
  CWaitCursor wait;
  SortChildren(hItem, TRUE, TRUE);
}

void DatabaseView::OnAddFiles() {
  HTREEITEM hItem = GetSelectedItem();
  const CItemFileObj* pRecord = GetItemRecord(hItem);
  if (pRecord == nullptr || !pRecord->m_bFolder) return;
  FillFolderItem(hItem);
  const CString strFolder = pRecord->m_strPath;
  CMyFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                  "Html Files (.htm;.html|*.htm;*.html|All Files (*.*)|*.*||", AfxGetMainWnd());
  dlg.SetHelpCommand(ID_EXPLORER_ADD_FILES);
  // Room for many long paths: a choice that does not fit would be lost.
  std::vector<char> names(1 << 16, '\0');
  dlg.m_ofn.lpstrFile = names.data();
  dlg.m_ofn.nMaxFile = static_cast<DWORD>(names.size());
  if (dlg.DoModal() != IDOK) return;
  SECFileSystem fs;
  for (POSITION pos = dlg.GetStartPosition(); pos != nullptr;) {
    const CString strPath = dlg.GetNextPathName(pos);
    if (!CopyFileIntoFolder(strPath, strFolder)) continue;
    const CString strName = fs.GetFileName(strPath);
    // A file copied over one of the same name is already in the tree.
    bool bShown = false;
    for (HTREEITEM hChild = GetChildItem(hItem); hChild != nullptr && !bShown; hChild = GetNextSiblingItem(hChild))
      bShown = GetItemText(hChild) == strName;
    if (!bShown) InsertRecordItem(hItem, strName, kImagePage, fs.AppendPath(strFolder, strName), FALSE);
  }
  SortChildren(hItem, TRUE, TRUE);
}

void DatabaseView::OnInsertLiveFolder() {
  HTREEITEM hItem = GetSelectedItem();
  const CItemFileObj* pRecord = GetItemRecord(hItem);
  if (pRecord == nullptr || !pRecord->m_bFolder) return;
  const CString strFolder = pRecord->m_strPath;
  CAutoGenHelpDlg folderDlg(this);
  folderDlg.m_strCurrentLocation = strFolder;
  folderDlg.m_strSourceFolder.Empty();
  folderDlg.m_bLookInSubfolders = TRUE;
  if (folderDlg.DoModal() != IDOK) return;
  CAddFolderProressDlg progressDlg(this);
  progressDlg.m_strSource = folderDlg.m_strSourceFolder;
  progressDlg.m_strTarget = strFolder;
  progressDlg.m_bLookInSubfolders = folderDlg.m_bLookInSubfolders;
  progressDlg.DoModal();
  ReplaceFolderItem(hItem, GetItemText(hItem), strFolder);
  // Every file the copy left out or could not copy is named, in one message for the command.
  if (!progressDlg.m_notCopied.empty())
    AfxMessageBox(DescribeFilesNotBroughtIn(progressDlg.m_notCopied), MB_ICONEXCLAMATION);
}

void DatabaseView::OnRename() {
  HTREEITEM hItem = GetSelectedItem();
  CItemFileObj* pRecord = GetItemRecord(hItem);
  const CItemFileObj* pParentRecord = GetItemRecord(GetParentItem(hItem));
  if (pRecord == nullptr || pParentRecord == nullptr) return;
  SECFileSystem fs;
  const CString strOldPath = pRecord->m_strPath;
  const CString strOldName = pRecord->m_bFolder ? GetItemText(hItem) : fs.GetFileName(strOldPath);
  CReNameFileDlg dlg(this);
  dlg.m_strCurrentName = strOldName;
  dlg.m_strNewName = strOldName;
  dlg.m_strParentFolder = fs.AppendPath(pParentRecord->m_strPath, "");
  if (dlg.DoModal() != IDOK) return;
  const CString strNewName = dlg.m_strNewName;
  // A name that is not one plain item would move the file out of its folder.
  if (strNewName == strOldName || !IsValidItemName(strNewName)) return;
  if (pRecord->m_bFolder) {
    const CString strNewPath = fs.AppendPath(pParentRecord->m_strPath, strNewName);
    if (fs.RenameDirectory(strOldPath, strNewPath)) ReplaceFolderItem(hItem, strNewName, strNewPath);
  } else {
    const CString strNewPath = fs.GetPath(strOldPath, TRUE) + strNewName;
    if (fs.RenameFile(strOldPath, strNewPath)) {
      pRecord->m_strPath = strNewPath;
      SetItemText(hItem, 0, strNewName);
    }
  }
}

void DatabaseView::OnProperties() {
  const CItemFileObj* pRecord = GetItemRecord(GetSelectedItem());
  if (pRecord == nullptr) return;
  SECFileSystem fs;
  CPropDlgMain dlg(this);
  // The tree keeps its paths with the separators they were joined with; the dialog shows the
  // path as this system writes it.
  dlg.m_Page.m_strPath = brambolt::NativePathSyntax(static_cast<LPCTSTR>(pRecord->m_strPath)).c_str();
  dlg.m_strCaptionName = fs.GetFileName(pRecord->m_strPath);
  dlg.DoModal();
}

void DatabaseView::OnRefresh() { Refresh(); }

void DatabaseView::OnConvertGBToBig5() { ConvertSelection(TRUE); }

void DatabaseView::OnConvertBig5ToGB() { ConvertSelection(FALSE); }

void DatabaseView::ConvertSelection(BOOL bGBToBig5) {
  HTREEITEM hItem = GetSelectedItem();
  CItemFileObj* pRecord = GetItemRecord(hItem);
  // Any folder or page with a record: "HTML Files" too, and the pages directly in the output.
  if (pRecord == nullptr) return;
  if (!pRecord->m_bFolder && !IsConvertiblePage(pRecord->m_strPath)) return;
  if (AskYesNo(bGBToBig5 ? IDS_CONVERT_TO_BIG5 : IDS_CONVERT_TO_GB) != IDYES) return;
  SECFileSystem fs;
  if (pRecord->m_bFolder) {
    const CString strPath = pRecord->m_strPath;
    ConvertFolder(strPath, bGBToBig5);
    const CString strName = fs.GetFileName(strPath);
    ReplaceFolderItem(hItem, strName.IsEmpty() ? GetItemText(hItem) : strName, strPath);
  } else {
    PageConversion run(bGBToBig5, ProjectCharset());
    run.nPages = 1;
    pRecord->m_strPath = ConvertPage(pRecord->m_strPath, run);
    SetItemText(hItem, 0, fs.GetFileName(pRecord->m_strPath));
    run.Report();
  }
}

// ---- conversion ----

DatabaseView::PageConversion::PageConversion(BOOL bToBig5, const CString& strCharset)
    : bGBToBig5(bToBig5), strProjectCharset(strCharset) {}

CString DatabaseView::ProjectCharset() {
  const CWorkSpaceObj* pProject = GetWorkSpace();
  return DocCharset(DocLanguageOf(pProject != nullptr ? pProject->m_nOutputLanguage : LANGUAGE_CHS));
}

void DatabaseView::PageConversion::Report() const {
  const CString strTarget = bGBToBig5 ? "Big5" : "GB2312";
  CString strText;
  CString strLine;
  if (!strFailed.IsEmpty()) {
    strText = "Converting stopped at " + strFailed + ":\n" + strWhy + "\n";
    strLine.Format("%d page(s) were converted to %s, %d were not.", nConverted, static_cast<LPCTSTR>(strTarget),
                   nPages - nConverted - nAlready - nOther);
    strText += strLine;
  }
  if (nAlready > 0) {
    strLine.Format("%d page(s) already declared charset=%s and were left as they are.", nAlready,
                   static_cast<LPCTSTR>(CharsetName(bGBToBig5)));
    strText += (strText.IsEmpty() ? "" : "\n") + strLine;
  }
  if (nOther > 0) {
    strLine.Format("%d page(s) were in another charset than %s and were left as they are.", nOther,
                   static_cast<LPCTSTR>(CharsetName(!bGBToBig5)));
    strText += (strText.IsEmpty() ? "" : "\n") + strLine;
  }
  if (nUnmapped > 0) {
    strLine.Format("%d character(s) had no counterpart in %s and became white squares.", nUnmapped,
                   static_cast<LPCTSTR>(strTarget));
    strText += (strText.IsEmpty() ? "" : "\n") + strLine;
  }
  if (!strText.IsEmpty()) AfxMessageBox(strText, strFailed.IsEmpty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
}

CString DatabaseView::ConvertPage(const CString& strPath, PageConversion& run) {
  // A link is left alone: its target may lie outside the output.
  if (run.Stopped() || IsLink(strPath)) return strPath;
  AFBig2GBObj converter;
  // A page that cannot be read or written keeps its text, and its name with it; the run stops.
  if (!converter.LoadFromFile(strPath)) {
    run.strFailed = strPath;
    run.strWhy = converter.m_strError;
    return strPath;
  }
  const INT_PTR nHeadLines = HeadLineCount(converter.m_arrLines);
  // The page is converted from the code page it declares, or the project's when it declares none.
  const CString strDeclared = DeclaredCharset(converter.m_arrLines, nHeadLines);
  if (strDeclared == CharsetName(run.bGBToBig5)) {
    ++run.nAlready;
    return strPath;
  }
  if ((strDeclared.IsEmpty() ? run.strProjectCharset : strDeclared) != CharsetName(!run.bGBToBig5)) {
    ++run.nOther;
    return strPath;
  }
  // Without the tables nothing is converted (the application said so when it started).
  if (!(run.bGBToBig5 ? converter.ConvertGBToBig5() : converter.ConvertBig5ToGB())) return strPath;
  for (INT_PTR i = 0; i < nHeadLines; ++i) RenameCharset(converter.m_arrLines[i], run.bGBToBig5);
  for (INT_PTR i = 0; i < converter.m_arrLines.GetSize(); ++i) RenameEscapedLinks(converter.m_arrLines[i], run.bGBToBig5);
  if (!converter.SaveToFile(strPath)) {
    run.strFailed = strPath;
    run.strWhy = converter.m_strError;
    return strPath;
  }
  run.nUnmapped += converter.m_nUnmapped;
  ++run.nConverted;
  return ConvertFileName(strPath, run.bGBToBig5);
}

CString DatabaseView::ConvertFileName(const CString& strPath, BOOL bGBToBig5) {
  // The name is converted as it lies on disk, where a user of the locale and a browser following
  // a link read it: a UTF-8 name keeps UTF-8, whatever the code page spells it as in the program,
  // and a name of the source code page (under a UTF-8 locale one that reaches the program as its
  // bytes) gets the bytes of the target, as a legacy locale names files.
  const std::string path = brambolt::NativePath(static_cast<LPCTSTR>(strPath));
  const CString strOldName = path.substr(path.rfind('/') + 1).c_str();
  // A name without double-byte characters has nothing to convert and keeps even its blanks.
  const bool bDoubleByte = std::any_of(static_cast<LPCTSTR>(strOldName),
                                       static_cast<LPCTSTR>(strOldName) + strOldName.GetLength(),
                                       [](char ch) { return static_cast<BYTE>(ch) >= 0x80; });
  if (!bDoubleByte) return strPath;
  const CString strNewName = RenamedPageName(strOldName, bGBToBig5);
  if (strNewName == strOldName) return strPath;
  if (!brambolt::RenameToSystemName(static_cast<LPCTSTR>(strPath), static_cast<LPCTSTR>(strNewName))) return strPath;
  // The new path as the program spells it, as a listing of the folder gives it.
  SECFileSystem fs;
  return fs.GetPath(strPath, TRUE) + brambolt::ProgramNameOf(static_cast<LPCTSTR>(strNewName)).c_str();
}

void DatabaseView::CollectPages(const CString& strFolder, std::vector<CString>& pages) {
  ForEachPlainFile(strFolder, [&](const CString& strPath) {
    if (IsConvertiblePage(strPath)) pages.push_back(strPath);
  });
}

void DatabaseView::CollectPagesBelow(const CString& strFolder, std::vector<CString>& pages) {
  CollectPages(strFolder, pages);
  SECFileSystem fs;
  ForEachPath(fs.GetDirectoryList(strFolder, TRUE), [&](const CString& strSubFolder) {
    if (!IsLink(strSubFolder)) CollectPagesBelow(strSubFolder, pages);
  });
}

void DatabaseView::ConvertFolder(const CString& strFolder, BOOL bGBToBig5) {
  // The pages are listed first, so a run that stops can say how many were not converted.
  std::vector<CString> pages;
  CollectPages(strFolder, pages);
  std::vector<std::vector<CString>> subFolders;
  SECFileSystem fs;
  ForEachPath(fs.GetDirectoryList(strFolder, TRUE), [&](const CString& strSubFolder) {
    if (IsImage2Folder(strSubFolder) || IsLink(strSubFolder)) return;
    subFolders.emplace_back();
    CollectPagesBelow(strSubFolder, subFolders.back());
  });
  PageConversion run(bGBToBig5, ProjectCharset());
  run.nPages = static_cast<int>(pages.size());
  for (const auto& folder : subFolders) run.nPages += static_cast<int>(folder.size());
  for (const CString& strPage : pages) ConvertPage(strPage, run);
  ForEachWithProgress(subFolders, [&](const std::vector<CString>& folder) {
    for (const CString& strPage : folder) ConvertPage(strPage, run);
  });
  run.Report();
}

// ---- command states ----

void DatabaseView::OnUpdateOpen(CCmdUI* pCmdUI) {
  const CItemFileObj* pRecord = GetItemRecord(GetSelectedItem());
  pCmdUI->Enable(pRecord != nullptr && !pRecord->m_bFolder);
}

void DatabaseView::OnUpdateRemove(CCmdUI* pCmdUI) { pCmdUI->Enable(GetSelectedItem() != nullptr); }

void DatabaseView::OnUpdateFolderCommand(CCmdUI* pCmdUI) {
  const CItemFileObj* pRecord = GetItemRecord(GetSelectedItem());
  pCmdUI->Enable(pRecord != nullptr && pRecord->m_bFolder);
}

void DatabaseView::OnUpdateRename(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
