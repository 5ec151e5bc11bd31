// The header analyser: a line-oriented reader of C++ headers that turns each class into a class
// record with its base names, member functions and member variables. It is not a parser of the
// language: it recognises class heads by their first word, follows the class body statement by
// statement, drops comments, preprocessor lines and bodies, and splits declarations at blanks.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "foundation/SECFileSystem.h"
#include "model/BaseClassIndex.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"

namespace {

// Statements are examined through views and copied into strings only where a record keeps them.
using Text = std::string_view;
constexpr size_t npos = Text::npos;

Text View(const CString& str) { return Text(static_cast<LPCTSTR>(str), static_cast<size_t>(str.GetLength())); }
CString Str(Text text) { return CString(text.data(), static_cast<int>(text.size())); }
int Index(size_t nAt) { return nAt == npos ? -1 : static_cast<int>(nAt); }

// Bytes below 0x40 are never part of a double-byte character in the code pages we run in (lead
// and trail bytes are 0x40 and above). So blanks and the punctuation the analyser looks for can
// be handled byte by byte; other tokens can too in text without bytes of 0x80 and above, else
// they are matched only at character starts.
bool IsLowByte(char ch) { return static_cast<unsigned char>(ch) < 0x40; }

bool HasHighBytes(Text text) {
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if ((word & 0x8080808080808080ull) != 0) return true;
  }
  for (; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return true;
  return false;
}

bool IsLowToken(Text token) { return std::all_of(token.begin(), token.end(), IsLowByte); }

size_t FindToken(Text text, Text token, size_t nFrom = 0) {
  if (IsLowToken(token) || !HasHighBytes(text)) return text.find(token, nFrom);
  for (size_t i = nFrom; i + token.size() <= text.size();) {
    if (text.compare(i, token.size(), token) == 0) return i;
    i = brambolt::NextCharacter(text, i);
  }
  return npos;
}

bool Contains(Text text, Text token) { return FindToken(text, token) != npos; }

// Matches are counted from the character after the start of the previous one, so they overlap.
int Count(Text text, Text token) {
  if (token.empty()) return 0;
  int nCount = 0;
  for (size_t nAt = FindToken(text, token); nAt != npos; nAt = FindToken(text, token, nAt + 1)) ++nCount;
  return nCount;
}

// Whether byte nIndex starts a character (is not the trail byte of a double-byte one).
bool IsCharStart(Text text, size_t nIndex) {
  if (nIndex == 0 || IsLowByte(text[nIndex]) || !HasHighBytes(text.substr(0, nIndex))) return true;
  return brambolt::IsCharacterStart(text, nIndex);
}

// The words compared are a few bytes long: a loop costs less than a call to memcmp.
bool SameBytes(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// The word test: the text's first characters are the word.
bool StartsWith(Text text, Text word) {
  return text.size() >= word.size() && SameBytes(text.data(), word.data(), word.size());
}

bool EndsWith(Text text, Text end) {
  return text.size() >= end.size() && SameBytes(text.data() + text.size() - end.size(), end.data(), end.size()) &&
         IsCharStart(text, text.size() - end.size());
}

bool IsBlankByte(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

Text Trimmed(Text text) {
  while (!text.empty() && IsBlankByte(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankByte(text.back())) text.remove_suffix(1);
  return text;
}

// Trims white space at both ends in place.
void TrimBlanks(CString& str) {
  Text all = View(str);
  Text kept = Trimmed(all);
  if (kept.size() == all.size()) return;
  LPTSTR p = str.GetBuffer(str.GetLength());
  std::memmove(p, kept.data(), kept.size());
  str.ReleaseBuffer(static_cast<int>(kept.size()));
}

// Cuts the string after nLength bytes and trims it, in place.
void CutAndTrim(CString& str, int nLength) {
  str.GetBuffer(str.GetLength());
  str.ReleaseBuffer(nLength);
  TrimBlanks(str);
}

// Removes a word (and the blanks after it) from the front; TRUE when it was there.
bool StripWord(Text& text, Text word) {
  if (!StartsWith(text, word)) return false;
  text = Trimmed(text.substr(word.size()));
  return true;
}

// Removes an ending (and the blanks before it); TRUE when it was there.
bool DropEnd(Text& text, Text end) {
  if (!EndsWith(text, end)) return false;
  text = Trimmed(text.substr(0, text.size() - end.size()));
  return true;
}

// The last blank or tab, or npos.
size_t LastBlank(Text text) {
  size_t nBlank = text.rfind(' ');
  size_t nTab = text.rfind('\t');
  if (nBlank == npos) return nTab;
  if (nTab == npos) return nBlank;
  return std::max(nBlank, nTab);
}

// Calls onEntry(entry, bLast) for each trimmed entry of a comma-separated list (at least one,
// maybe empty). Commas inside template arguments or parentheses belong to their entry.
template <class OnEntry>
void ForEachListEntry(Text text, OnEntry&& onEntry) {
  int nDepth = 0;
  size_t nStart = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '<':
      case '(':
        ++nDepth;
        break;
      case '>':
      case ')':
        if (nDepth > 0) --nDepth;
        break;
      case ',':
        if (nDepth == 0) {
          onEntry(Trimmed(text.substr(nStart, i - nStart)), false);
          nStart = i + 1;
        }
        break;
      default:
        break;
    }
  }
  onEntry(Trimmed(text.substr(nStart)), true);
}

// The first ":" that is not half of a "::".
size_t FindSingleColon(Text text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ':') continue;
    if (i + 1 < text.size() && text[i + 1] == ':') {
      ++i;
      continue;
    }
    return i;
  }
  return npos;
}

// The "(" that opens the parenthesis closed at the end of the text (whose ")" is already
// dropped); the last "(" when the parentheses do not balance.
size_t FindParameterOpen(Text text) {
  int nDepth = 1;
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] == ')') {
      ++nDepth;
    } else if (text[i] == '(' && --nDepth == 0) {
      return i;
    }
  }
  return text.rfind('(');
}

// A member's comment without its markers: trimmed, then a leading "//", a leading "/*" and a
// final "*/" removed; what they leave is not trimmed again.
CString CleanComment(const CString& strComment) {
  Text comment = Trimmed(View(strComment));
  if (StartsWith(comment, "//")) comment.remove_prefix(2);
  if (StartsWith(comment, "/*")) comment.remove_prefix(2);
  if (EndsWith(comment, "*/")) comment.remove_suffix(2);
  return Str(comment);
}

// Splits "type name" at the last blank into a trimmed type and name. A pointer star that
// leads the name goes to the type as " *"; stars are no part of a name. FALSE when no name is left.
bool SplitTypeAndName(Text text, CString& strType, CString& strName) {
  size_t nBlank = text.rfind(' ');
  Text name = Trimmed(nBlank == npos ? text : text.substr(nBlank + 1));
  strType = Str(Trimmed(nBlank == npos ? Text() : text.substr(0, nBlank)));
  if (StartsWith(name, "*")) strType += " *";
  if (name.find('*') == npos) {
    strName = Str(name);
  } else {
    std::string unstarred(name);
    std::replace(unstarred.begin(), unstarred.end(), '*', ' ');
    strName = Str(Trimmed(unstarred));
  }
  // So does a reference's "&" ("&&") that leads the name: "wxString &append" is append of type
  // "wxString &".
  const Text named = View(strName);
  const size_t nAmpersands = std::min<size_t>(named.find_first_not_of('&'), named.size());
  if (nAmpersands > 0) {
    strType += " " + Str(named.substr(0, nAmpersands));
    strName = Str(Trimmed(named.substr(nAmpersands)));
  }
  return !strName.IsEmpty();
}

// The statement to split, with its tabs made blanks (in a copy only when it has any).
Text WithoutTabs(const CString& strStatement, CString& strCopy) {
  Text text = View(strStatement);
  if (text.find('\t') == npos) return text;
  std::string copy(text);
  std::replace(copy.begin(), copy.end(), '\t', ' ');
  strCopy = Str(copy);
  return View(strCopy);
}

// The first "//" or "/*" from nFrom on, or npos.
size_t FindCommentOpener(Text line, size_t nFrom) {
  for (size_t nAt = line.find('/', nFrom); nAt != npos && nAt + 1 < line.size(); nAt = line.find('/', nAt + 1))
    if (line[nAt + 1] == '/' || line[nAt + 1] == '*') return nAt;
  return npos;
}

// Removes the comments of a line, scanning left to right for whichever opener comes first. A
// "//" comment runs to the end of the line; a closed block comment is dropped; an unclosed one
// reads on (lines appended as they are) to its "*/" or the end of the file. The last comment
// found replaces strComment.
void StripComments(CStdioFile& file, CString& strLine, CString& strComment, int& nEndOfFile) {
  for (size_t nOpen = FindCommentOpener(View(strLine), 0); nOpen != npos;
       nOpen = FindCommentOpener(View(strLine), nOpen)) {
    if (strLine[Index(nOpen) + 1] == '/') {
      strComment = strLine.Mid(Index(nOpen));
      CutAndTrim(strLine, Index(nOpen));
      return;
    }
    size_t nClose = FindToken(View(strLine), "*/", nOpen + 2);
    if (nClose == npos) {
      CString strNext;
      while (nClose == npos) {
        if (!file.ReadString(strNext)) {
          nEndOfFile = -1;
          strComment = strLine.Mid(Index(nOpen));
          CutAndTrim(strLine, Index(nOpen));
          return;
        }
        // Search only what is new (and the byte before it, which may be the "*").
        size_t nSearch = std::max(nOpen + 2, static_cast<size_t>(strLine.GetLength()) - 1);
        strLine += strNext;
        nClose = FindToken(View(strLine), "*/", nSearch);
      }
      strComment = strLine.Mid(Index(nOpen), Index(nClose + 2 - nOpen));
    }
    strLine = strLine.Left(Index(nOpen)) + strLine.Mid(Index(nClose + 2));
  }
}

// The number of entries AddListEntries appends.
INT_PTR CountListEntries(Text text) {
  INT_PTR nCount = 0;
  ForEachListEntry(text, [&nCount](Text entry, bool bLast) { nCount += !bLast || !entry.empty() ? 1 : 0; });
  return nCount;
}

// Appends the entries of a list text; an empty last entry is dropped.
void AddListEntries(Text text, CStringList& list) {
  ForEachListEntry(text, [&list](Text entry, bool bLast) {
    if (!bLast || !entry.empty()) list.AddTail(Str(entry));
  });
}

// What the lines before a line outside any class make of it: a line inside a block comment, or
// one continuing a preprocessor directive (the line before ended in a backslash, as the lines of
// a macro's body do), is never a class head.
class LineContext {
 public:
  // Takes in the next line (trimmed); TRUE when it may be a class head.
  bool Next(Text line) {
    const bool bMayBeHead = !m_bInComment && !m_bInDirective;
    const bool bDirective = m_bInDirective || (!m_bInComment && StartsWith(line, "#"));
    for (size_t i = 0; i < line.size();) {
      if (m_bInComment) {
        const size_t nClose = FindToken(line, "*/", i);
        if (nClose == npos) break;
        m_bInComment = false;
        i = nClose + 2;
        continue;
      }
      const size_t nOpen = FindCommentOpener(line, i);
      if (nOpen == npos || line[nOpen + 1] == '/') break;
      m_bInComment = true;
      i = nOpen + 2;
    }
    m_bInDirective = bDirective && EndsWith(line, "\\");
    return bMayBeHead;
  }

 private:
  bool m_bInComment = false;
  bool m_bInDirective = false;
};

bool IsNameByte(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return c == '_' || c >= 0x80 || (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

// A class name as C++ writes one: an identifier (bytes of double-byte characters count as
// letters), maybe followed by template arguments in balanced angle brackets that end the name.
bool IsClassName(Text name) {
  size_t n = 0;
  while (n < name.size() && IsNameByte(name[n])) ++n;
  if (n == 0 || (name[0] >= '0' && name[0] <= '9')) return false;
  if (n == name.size()) return true;
  if (name[n] != '<') return false;
  int nDepth = 0;
  for (size_t i = n; i < name.size(); ++i) {
    if (name[i] == '<') ++nDepth;
    if (name[i] == '>' && --nDepth == 0 && i + 1 != name.size()) return false;
    if (nDepth < 0) return false;
  }
  return nDepth == 0;
}

}  // namespace

void CWorkSpaceObj::AnalyseProjectFiles(CString strPattern) {
  ShellServices* pShell = GetShellServices();
  SECFileSystem fs;
  CStringList* pFiles = fs.GetFileList(strPattern, FILE_ATTRIBUTE_NORMAL);
  int nFiles = pFiles != nullptr ? static_cast<int>(pFiles->GetCount()) : 0;
  pShell->BeginProgress("Reading project file...", 0, std::max(nFiles, 1), FALSE, 0x4100);
  if (pFiles != nullptr) {
    int nDone = 0;
    for (POSITION pos = pFiles->GetHeadPosition(); pos != nullptr;) {
      ParseSourceFile(pFiles->GetNext(pos));
      pShell->SetProgressPos(++nDone);
    }
    delete pFiles;
  }
  pShell->EndProgress();
}

BOOL CWorkSpaceObj::ParseSourceFile(CString strPath) {
  CStdioFile file;
  if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) return FALSE;
  TRY {
    CString strLine;
    LineContext context;
    while (file.ReadString(strLine)) {
      Text line = Trimmed(View(strLine));
      if (!context.Next(line)) continue;
      if (!StartsWith(line, "class ") && !StartsWith(line, "class\t")) continue;
      TrimBlanks(strLine);
      ParseClassHead(file, strLine);
      // The head read its comments to their end; what follows the head or its class is code.
      context = LineContext();
      if (Contains(View(strLine), ";")) continue;  // a declaration, or a whole class on one line
      int nAccess = MEMBER_PRIVATE;
      CString strComment;
      CompleteClassHead(file, strLine, strComment);
      CFileObj* pClass = CreateClassRecord(strLine, strPath);
      int nEndOfFile = 0;
      int nEndOfClass = 0;
      CString strStatement = ReadMemberStatement(file, nEndOfFile, nEndOfClass, strComment);
      while (nEndOfFile >= 0 && nEndOfClass >= 0) {
        Text statement = View(strStatement);
        if (StartsWith(statement, "public")) {
          nAccess = MEMBER_PUBLIC;
        } else if (StartsWith(statement, "protected")) {
          nAccess = MEMBER_PROTECTED;
        } else if (StartsWith(statement, "private")) {
          nAccess = MEMBER_PRIVATE;
        } else if (!StartsWith(statement, "#")) {
          // Initialiser lists and bit-fields start at a single colon; "::" is part of a name.
          size_t nColon = FindSingleColon(statement);
          if (nColon != npos) statement = Trimmed(statement.substr(0, nColon));
          DropEnd(statement, "const");
          bool bVariable = false;
          bool bFunction = false;
          if (EndsWith(statement, ";"))
            (Contains(statement, "(") || Contains(statement, ")") ? bFunction : bVariable) = true;
          else
            bFunction = EndsWith(statement, ")") && FindToken(statement, "(") != 0;
          if (bVariable || bFunction) {
            // What is left is usually a front part of the statement, cut in place then.
            if (statement.size() != static_cast<size_t>(strStatement.GetLength())) {
              if (statement.data() == static_cast<LPCTSTR>(strStatement))
                CutAndTrim(strStatement, static_cast<int>(statement.size()));
              else
                strStatement = Str(statement);
            }
            // Both are emptied for the next statement anyway.
            if (bVariable)
              ParseMemberVariable(pClass, std::move(strStatement), nAccess, std::move(strComment));
            else
              ParseMemberFunction(pClass, std::move(strStatement), nAccess, std::move(strComment));
          }
        }
        strComment.Empty();
        strStatement = ReadMemberStatement(file, nEndOfFile, nEndOfClass, strComment);
      }
    }
  }
  CATCH(CFileException, e) {
    // A read error ends the file; the records made so far stay.
  }
  END_CATCH
  file.Abort();
  return TRUE;
}

CString CWorkSpaceObj::ReadCodeLine(CStdioFile& file, int& nEndOfFile, CString& strComment) {
  CString strLine;
  for (;;) {
    nEndOfFile = 0;
    if (!file.ReadString(strLine)) {
      nEndOfFile = -1;
      return CString();
    }
    TrimBlanks(strLine);
    StripComments(file, strLine, strComment, nEndOfFile);
    TrimBlanks(strLine);
    if (!strLine.IsEmpty() || nEndOfFile < 0) return strLine;
  }
}

CString CWorkSpaceObj::ReadMemberStatement(CStdioFile& file, int& nEndOfFile, int& nEndOfClass,
                                           CString& strComment) {
  nEndOfClass = 0;
  CString strStatement = ReadCodeLine(file, nEndOfFile, strComment);
  // An argument list continued on the next lines.
  if (EndsWith(View(strStatement), ",")) {
    while (nEndOfFile >= 0) {
      CString strLine = ReadCodeLine(file, nEndOfFile, strComment);
      strStatement += strLine;
      if (Contains(View(strLine), ")") || Contains(View(strLine), ";")) break;
    }
  }
  // A parameter list opened at the end of the line.
  if (EndsWith(View(strStatement), "(")) {
    int nDepth = 1;
    while (nEndOfFile >= 0) {
      CString strLine = ReadCodeLine(file, nEndOfFile, strComment);
      if (strLine.IsEmpty()) break;
      nDepth -= Count(View(strLine), ")");
      strStatement += strLine;
      if (nDepth <= 0 || Contains(View(strLine), ";")) break;
      nDepth += Count(View(strLine), "(");
    }
  }
  // A body: dropped up to the brace that closes it, the statement's own text counting first. A
  // surplus "}" ends the walk as well, and is what tells that the statement closed the class.
  int nDepth = Count(View(strStatement), "{");
  if (nDepth > 0) {
    nDepth -= Count(View(strStatement), "}");
    while (nDepth > 0 && nEndOfFile >= 0) {
      CString strLine = ReadCodeLine(file, nEndOfFile, strComment);
      if (strLine.IsEmpty()) break;
      nDepth += Count(View(strLine), "{");
      nDepth -= Count(View(strLine), "}");
    }
    CutAndTrim(strStatement, Index(FindToken(View(strStatement), "{")));
  }
  nEndOfClass = nDepth - Count(View(strStatement), "}");
  return strStatement;
}

int CWorkSpaceObj::CountOccurrences(const CString& strText, LPCTSTR lpszToken) const {
  return lpszToken != nullptr ? Count(View(strText), lpszToken) : 0;
}

void CWorkSpaceObj::ParseClassHead(CStdioFile& file, CString& strHead) {
  CString strDropped;
  int nEndOfFile = 0;
  StripComments(file, strHead, strDropped, nEndOfFile);
  TrimBlanks(strHead);
}

void CWorkSpaceObj::CompleteClassHead(CStdioFile& file, CString& strHead, CString& strComment) {
  int nBrace = strHead.ReverseFind('{');
  if (nBrace >= 0) {
    CutAndTrim(strHead, nBrace);
    return;
  }
  // Lines of a head spread over several lines are joined with a blank, so words on either side
  // of a line break stay apart.
  CString strCollected;
  int nEndOfFile = 0;
  for (;;) {
    CString strLine = ReadCodeLine(file, nEndOfFile, strComment);
    if (nEndOfFile < 0 && strLine.IsEmpty()) return;  // the file ended first: the head stays
    nBrace = strLine.ReverseFind('{');
    if (nBrace >= 0) CutAndTrim(strLine, nBrace);
    if (!strLine.IsEmpty()) strCollected += ' ' + strLine;
    if (nBrace >= 0) break;
    if (nEndOfFile < 0) return;
  }
  strHead += strCollected;
}

CFileObj* CWorkSpaceObj::CreateClassRecord(CString strHead, CString strPath) {
  CString strFullHead = strHead;
  size_t nHash = FindToken(View(strHead), "#");
  if (nHash != npos && nHash > 0) CutAndTrim(strHead, Index(nHash));
  if (Contains(View(strHead), "::")) strHead.Replace("::", "$");

  Text head = View(strHead);
  Text className;
  Text baseText;
  size_t nColon = FindToken(head, ":");
  if (nColon != npos && nColon > 0) {
    Text namePart = Trimmed(head.substr(0, nColon));
    baseText = Trimmed(head.substr(nColon + 1));
    size_t nBlank = LastBlank(namePart);
    className = nBlank == npos ? namePart : namePart.substr(nBlank + 1);
  } else {
    if (head.find_first_of(" \t", 1) == npos) return nullptr;
    className = Trimmed(head.substr(LastBlank(head) + 1));
  }

  // Qualified names keep their last part (template arguments may be qualified too).
  size_t nDollar = className.substr(0, className.find('<')).rfind('$');
  if (nDollar != npos && nDollar > 0) className.remove_prefix(nDollar + 1);
  // What is no class name (text of a macro body or a comment that a head's rules took in) makes
  // no record.
  if (!IsClassName(className)) return nullptr;

  CFileObj* pClass = new CFileObj;
  // The bases are kept as written, with their "::".
  CString strBaseText = Str(baseText);
  strBaseText.Replace("$", "::");
  CString strFirstBase = SplitBaseList(strBaseText, pClass->m_BaseClassList);

  SECFileSystem fs;
  CString strBaseFileName = fs.GetBaseFileName(strPath);
  pClass->m_strClassName = Str(className);
  pClass->m_strBaseClassName = strFirstBase;
  pClass->m_strClassHead = strFullHead;
  pClass->m_nKnownClassId = static_cast<int>(LookUpKnownClass(Str(BaseClassIndex::KeyOf(strFirstBase))));
  pClass->m_strHeaderFile = strBaseFileName + ".h";
  pClass->m_strSourceFile = strBaseFileName + ".cpp";
  m_FileObjList.AddTail(pClass);
  return pClass;
}

CString CWorkSpaceObj::SplitBaseList(CString strText, CStringList& list) {
  CString strFirst;
  bool bFirst = true;
  ForEachListEntry(View(strText), [&](Text entry, bool bLast) {
    // One access word, and "virtual" on either side of it.
    bool bVirtual = StripWord(entry, "virtual ");
    if (!StripWord(entry, "public") && !StripWord(entry, "protected")) StripWord(entry, "private");
    if (!bVirtual) StripWord(entry, "virtual ");
    CString strEntry = Str(entry);
    if (bLast && (strEntry.IsEmpty() || list.Find(strEntry) != nullptr)) return;
    list.AddTail(strEntry);
    if (bFirst) strFirst = strEntry;
    bFirst = false;
  });
  return strFirst;
}

void CWorkSpaceObj::SplitParameterList(CString strText, CStringList& list) { AddListEntries(View(strText), list); }

void CWorkSpaceObj::ParseMemberVariable(CFileObj* pClass, CString strStatement, int nAccess, CString strComment) {
  CString strCopy;
  Text statement = WithoutTabs(strStatement, strCopy);
  BOOL bStatic = StripWord(statement, "static");
  bool bSeveral = false;
  ForEachListEntry(statement, [&bSeveral](Text, bool bLast) { bSeveral = bSeveral || !bLast; });
  if (bSeveral) return;  // several variables in one statement
  DropEnd(statement, ";");
  CString strType;
  CString strName;
  if (!SplitTypeAndName(statement, strType, strName) || pClass == nullptr) return;

  CVariableObj* pVariable = new CVariableObj;
  pVariable->m_nAccess = nAccess;
  pVariable->m_strType = strType;
  pVariable->m_strUniqueName = pClass->MakeUniqueVariableName(strName);
  pVariable->m_strName = std::move(strName);
  pVariable->m_strHeaderFile = pClass->m_strHeaderFile;
  pVariable->m_strClassName = pClass->m_strClassName;
  pVariable->m_strComment = CleanComment(strComment);
  pVariable->m_bStatic = bStatic;
  pVariable->m_strDeclaration = std::move(strStatement);  // last: the views above point into it
  pClass->m_VariableList.AddTail(pVariable);
}

void CWorkSpaceObj::ParseMemberFunction(CFileObj* pClass, CString strStatement, int nAccess, CString strComment) {
  CString strCopy;
  Text statement = WithoutTabs(strStatement, strCopy);
  BOOL bStatic = StripWord(statement, "static");
  BOOL bVirtual = StripWord(statement, "virtual");
  DropEnd(statement, ";");
  // A pure specifier goes like a trailing const, in either order.
  for (bool bStripped = true; bStripped;) {
    bStripped = false;
    if (EndsWith(statement, "0")) {
      Text before = Trimmed(statement.substr(0, statement.size() - 1));
      if (DropEnd(before, "=")) {
        statement = before;
        bStripped = true;
      }
    }
    bStripped = DropEnd(statement, "const") || bStripped;
  }
  if (EndsWith(statement, ")")) statement.remove_suffix(1);

  size_t nOpen = FindParameterOpen(statement);
  Text head = nOpen == npos ? Text() : Trimmed(statement.substr(0, nOpen));
  Text parameters = nOpen == npos ? statement : statement.substr(nOpen + 1);
  CString strReturnType;
  CString strName;
  if (!SplitTypeAndName(head, strReturnType, strName) || pClass == nullptr) return;

  CMemberFunctionObj* pFunction = new CMemberFunctionObj(std::max<INT_PTR>(CountListEntries(parameters), 1));
  pFunction->m_nAccess = nAccess;
  pFunction->m_strHeaderFile = pClass->m_strHeaderFile;
  pFunction->m_strSourceFile = pClass->m_strSourceFile;
  pFunction->m_strClassName = pClass->m_strClassName;
  pFunction->m_strUniqueName = pClass->MakeUniqueFunctionName(strName);
  pFunction->m_strReturnType = std::move(strReturnType);
  pFunction->m_strName = std::move(strName);
  pFunction->m_strComment = CleanComment(strComment);
  AddListEntries(parameters, pFunction->m_ParameterList);
  pFunction->m_bVirtual = bVirtual;
  pFunction->m_bStatic = bStatic;
  pFunction->m_strDeclaration = std::move(strStatement);  // last: the views above point into it
  pClass->m_MemberFunctionList.AddTail(pFunction);
}
