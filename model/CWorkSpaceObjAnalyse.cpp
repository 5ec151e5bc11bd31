// The header analyser: a line-oriented reader of C++ headers that turns each class into a class
// record with its base names, member functions and member variables. It is not a parser of the
// language: it recognises class heads by their first word, follows the class body statement by
// statement, drops comments, preprocessor lines and bodies, and splits declarations at blanks.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/MbString.h"
#include "foundation/SECFileSystem.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"

namespace {

// Bytes below 0x40 are never part of a double-byte character in the code pages we run in
// (their lead and trail bytes are 0x40 and above), so tokens made of them can be searched
// byte by byte; other tokens go through the code page's character walk.
bool IsLowToken(LPCTSTR lpszToken) {
  for (const char* p = lpszToken; *p != '\0'; ++p)
    if (static_cast<unsigned char>(*p) >= 0x40) return false;
  return true;
}

int FindToken(const CString& str, LPCTSTR lpszToken, int nStart = 0) {
  if (!IsLowToken(lpszToken)) return str.Find(lpszToken, nStart);
  size_t nLength = std::strlen(lpszToken);
  const char* begin = str;
  const char* end = begin + str.GetLength();
  for (const char* p = begin + nStart; p + nLength <= end; ++p) {
    p = static_cast<const char*>(std::memchr(p, lpszToken[0], static_cast<size_t>(end - p)));
    if (p == nullptr || p + nLength > end) break;
    if (std::memcmp(p, lpszToken, nLength) == 0) return static_cast<int>(p - begin);
  }
  return -1;
}

bool Contains(const CString& str, LPCTSTR lpszToken) { return FindToken(str, lpszToken) >= 0; }

// Whether byte nIndex starts a character (is not the trail byte of a double-byte one).
bool IsCharStart(const CString& str, int nIndex) {
  LPCTSTR p = str;
  return nIndex == 0 || !_ismbstrail(reinterpret_cast<const unsigned char*>(p),
                                     reinterpret_cast<const unsigned char*>(p + nIndex));
}

// The word test: the text's first characters are the word.
bool StartsWith(const CString& str, LPCTSTR lpszWord) {
  return std::strncmp(str, lpszWord, std::strlen(lpszWord)) == 0;
}

bool EndsWith(const CString& str, LPCTSTR lpszEnd) {
  int nLength = static_cast<int>(std::strlen(lpszEnd));
  int nFrom = str.GetLength() - nLength;
  return nFrom >= 0 && std::memcmp(static_cast<LPCTSTR>(str) + nFrom, lpszEnd, nLength) == 0 &&
         IsCharStart(str, nFrom);
}

void DropEnd(CString& str, int nCount) {
  str = str.Left(str.GetLength() - nCount);
  str.Trim();
}

// The text after the last blank or tab (all of it when there is none).
int LastBlank(const CString& str) { return std::max(str.ReverseFind(' '), str.ReverseFind('\t')); }

// Positions of the commas that separate list entries: commas inside template arguments or
// parentheses belong to the entry.
std::vector<int> TopLevelCommas(const CString& str) {
  std::vector<int> commas;
  int nDepth = 0;
  LPCTSTR p = str;
  for (int i = 0, n = str.GetLength(); i < n; ++i) {
    switch (p[i]) {
      case '<':
      case '(':
        ++nDepth;
        break;
      case '>':
      case ')':
        if (nDepth > 0) --nDepth;
        break;
      case ',':
        if (nDepth == 0) commas.push_back(i);
        break;
      default:
        break;
    }
  }
  return commas;
}

// The trimmed entries of a comma-separated list (at least one, maybe empty).
std::vector<CString> SplitListText(const CString& str) {
  std::vector<CString> pieces;
  int nStart = 0;
  std::vector<int> commas = TopLevelCommas(str);
  commas.push_back(str.GetLength());
  for (int nEnd : commas) {
    CString strPiece = str.Mid(nStart, nEnd - nStart);
    strPiece.Trim();
    pieces.push_back(strPiece);
    nStart = nEnd + 1;
  }
  return pieces;
}

// The first ":" that is not half of a "::".
int FindSingleColon(const CString& str) {
  LPCTSTR p = str;
  for (int i = 0, n = str.GetLength(); i < n; ++i) {
    if (p[i] != ':') continue;
    if (i + 1 < n && p[i + 1] == ':') {
      ++i;
      continue;
    }
    return i;
  }
  return -1;
}

// The "(" that opens the parenthesis closed at the end of the text (whose ")" is already
// dropped); the last "(" when the parentheses do not balance.
int FindParameterOpen(const CString& str) {
  LPCTSTR p = str;
  int nDepth = 1;
  for (int i = str.GetLength() - 1; i >= 0; --i) {
    if (p[i] == ')') ++nDepth;
    else if (p[i] == '(' && --nDepth == 0) return i;
  }
  return str.ReverseFind('(');
}

// A member's comment without its markers: trimmed, then a leading "//", a leading "/*" and a
// final "*/" removed; what they leave is not trimmed again.
CString CleanComment(CString strComment) {
  strComment.Trim();
  if (StartsWith(strComment, "//")) strComment = strComment.Mid(2);
  if (StartsWith(strComment, "/*")) strComment = strComment.Mid(2);
  if (EndsWith(strComment, "*/")) strComment = strComment.Left(strComment.GetLength() - 2);
  return strComment;
}

// Removes a leading word and trims; TRUE when it was there.
bool StripWord(CString& str, LPCTSTR lpszWord) {
  if (!StartsWith(str, lpszWord)) return false;
  str = str.Mid(static_cast<int>(std::strlen(lpszWord)));
  str.Trim();
  return true;
}

// Splits "type name" at the last blank into a trimmed type and name. A pointer star that
// leads the name goes to the type as " *"; stars are no part of a name. FALSE when no name is left.
bool SplitTypeAndName(const CString& strText, CString& strType, CString& strName) {
  int nBlank = strText.ReverseFind(' ');
  strType = nBlank >= 0 ? strText.Left(nBlank) : CString();
  strName = strText.Mid(nBlank + 1);
  strName.Trim();
  strType.Trim();
  if (StartsWith(strName, "*")) strType += " *";
  strName.Replace('*', ' ');
  strName.Trim();
  return !strName.IsEmpty();
}

// Removes the comments of a line, scanning left to right for whichever opener comes first. A
// "//" comment runs to the end of the line; a closed block comment is dropped; an unclosed one
// reads on (lines appended as they are) to its "*/" or the end of the file. The last comment
// found replaces strComment.
void StripComments(CStdioFile& file, CString& strLine, CString& strComment, int& nEndOfFile) {
  int nFrom = 0;
  for (;;) {
    int nLine = FindToken(strLine, "//", nFrom);
    int nBlock = FindToken(strLine, "/*", nFrom);
    if (nLine < 0 && nBlock < 0) return;
    if (nLine >= 0 && (nBlock < 0 || nLine < nBlock)) {
      strComment = strLine.Mid(nLine);
      strLine = strLine.Left(nLine);
      return;
    }
    int nClose = FindToken(strLine, "*/", nBlock + 2);
    if (nClose >= 0) {
      strLine = strLine.Left(nBlock) + strLine.Mid(nClose + 2);
      nFrom = nBlock;
      continue;
    }
    CString strNext;
    while (nClose < 0) {
      if (!file.ReadString(strNext)) {
        nEndOfFile = -1;
        strComment = strLine.Mid(nBlock);
        strLine = strLine.Left(nBlock);
        return;
      }
      // Search only what is new (and the byte before it, which may be the "*").
      int nSearch = std::max(nBlock + 2, strLine.GetLength() - 1);
      strLine += strNext;
      nClose = FindToken(strLine, "*/", nSearch);
    }
    strComment = strLine.Mid(nBlock, nClose + 2 - nBlock);
    strLine = strLine.Left(nBlock) + strLine.Mid(nClose + 2);
    nFrom = nBlock;
  }
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
    while (file.ReadString(strLine)) {
      strLine.Trim();
      if (!StartsWith(strLine, "class ") && !StartsWith(strLine, "class\t")) continue;
      ParseClassHead(file, strLine);
      if (Contains(strLine, ";")) continue;  // a declaration, or a whole class on one line
      int nAccess = MEMBER_PRIVATE;
      CString strComment;
      CompleteClassHead(file, strLine, strComment);
      CFileObj* pClass = CreateClassRecord(strLine, strPath);
      int nEndOfFile = 0;
      int nEndOfClass = 0;
      CString strStatement = ReadMemberStatement(file, nEndOfFile, nEndOfClass, strComment);
      while (nEndOfFile >= 0 && nEndOfClass >= 0) {
        if (StartsWith(strStatement, "public")) {
          nAccess = MEMBER_PUBLIC;
        } else if (StartsWith(strStatement, "protected")) {
          nAccess = MEMBER_PROTECTED;
        } else if (StartsWith(strStatement, "private")) {
          nAccess = MEMBER_PRIVATE;
        } else if (!StartsWith(strStatement, "#")) {
          // Initialiser lists and bit-fields start at a single colon; "::" is part of a name.
          int nColon = FindSingleColon(strStatement);
          if (nColon >= 0) {
            strStatement = strStatement.Left(nColon);
            strStatement.Trim();
          }
          if (EndsWith(strStatement, "const")) DropEnd(strStatement, 5);
          if (EndsWith(strStatement, ";")) {
            if (!Contains(strStatement, "(") && !Contains(strStatement, ")"))
              ParseMemberVariable(pClass, strStatement, nAccess, strComment);
            else
              ParseMemberFunction(pClass, strStatement, nAccess, strComment);
          } else if (EndsWith(strStatement, ")") && FindToken(strStatement, "(") != 0) {
            ParseMemberFunction(pClass, strStatement, nAccess, strComment);
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
    strLine.Trim();
    StripComments(file, strLine, strComment, nEndOfFile);
    strLine.Trim();
    if (!strLine.IsEmpty() || nEndOfFile < 0) return strLine;
  }
}

CString CWorkSpaceObj::ReadMemberStatement(CStdioFile& file, int& nEndOfFile, int& nEndOfClass,
                                           CString& strComment) {
  nEndOfClass = 0;
  CString strStatement = ReadCodeLine(file, nEndOfFile, strComment);
  // An argument list continued on the next lines.
  if (EndsWith(strStatement, ",")) {
    while (nEndOfFile >= 0) {
      CString strLine = ReadCodeLine(file, nEndOfFile, strComment);
      strStatement += strLine;
      if (Contains(strLine, ")") || Contains(strLine, ";")) break;
    }
  }
  // A parameter list opened at the end of the line.
  if (EndsWith(strStatement, "(")) {
    int nDepth = 1;
    while (nEndOfFile >= 0) {
      CString strLine = ReadCodeLine(file, nEndOfFile, strComment);
      if (strLine.IsEmpty()) break;
      nDepth -= CountOccurrences(strLine, ")");
      strStatement += strLine;
      if (nDepth <= 0 || Contains(strLine, ";")) break;
      nDepth += CountOccurrences(strLine, "(");
    }
  }
  // A body: dropped up to the brace that closes it. A surplus "}" ends the walk as well, and
  // is what tells that the statement closed the class.
  int nDepth = CountOccurrences(strStatement, "{");
  if (nDepth > 0) {
    CString strLine = strStatement;
    for (;;) {
      nDepth -= CountOccurrences(strLine, "}");
      if (nDepth <= 0 || nEndOfFile < 0) break;
      strLine = ReadCodeLine(file, nEndOfFile, strComment);
      if (strLine.IsEmpty()) break;
      nDepth += CountOccurrences(strLine, "{");
    }
    strStatement = strStatement.Left(strStatement.Find('{'));
    strStatement.Trim();
  }
  nEndOfClass = nDepth - CountOccurrences(strStatement, "}");
  return strStatement;
}

int CWorkSpaceObj::CountOccurrences(const CString& strText, LPCTSTR lpszToken) const {
  if (lpszToken == nullptr || *lpszToken == '\0') return 0;
  int nCount = 0;
  for (int nAt = FindToken(strText, lpszToken); nAt >= 0; nAt = FindToken(strText, lpszToken, nAt + 1)) ++nCount;
  return nCount;
}

void CWorkSpaceObj::ParseClassHead(CStdioFile& file, CString& strHead) {
  CString strDropped;
  int nEndOfFile = 0;
  StripComments(file, strHead, strDropped, nEndOfFile);
  strHead.Trim();
}

void CWorkSpaceObj::CompleteClassHead(CStdioFile& file, CString& strHead, CString& strComment) {
  int nBrace = strHead.ReverseFind('{');
  if (nBrace >= 0) {
    strHead = strHead.Left(nBrace);
    strHead.Trim();
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
    if (nBrace >= 0) {
      strLine = strLine.Left(nBrace);
      strLine.Trim();
    }
    if (!strLine.IsEmpty()) strCollected += ' ' + strLine;
    if (nBrace >= 0) break;
    if (nEndOfFile < 0) return;
  }
  strHead += strCollected;
}

CFileObj* CWorkSpaceObj::CreateClassRecord(CString strHead, CString strPath) {
  CString strFullHead = strHead;
  int nHash = FindToken(strHead, "#");
  if (nHash > 0) strHead = strHead.Left(nHash);
  strHead.Replace("::", "$");

  CString strClassName;
  CString strBaseText;
  int nColon = FindToken(strHead, ":");
  if (nColon > 0) {
    CString strNamePart = strHead.Left(nColon);
    strNamePart.Trim();
    strBaseText = strHead.Mid(nColon + 1);
    strBaseText.Trim();
    strClassName = strNamePart.Mid(LastBlank(strNamePart) + 1);
  } else {
    if (FindToken(strHead, " ", 1) < 0 && FindToken(strHead, "\t", 1) < 0) return nullptr;
    strClassName = strHead.Mid(LastBlank(strHead) + 1);
    strClassName.Trim();
  }

  CFileObj* pClass = new CFileObj;
  CString strFirstBase = SplitBaseList(strBaseText, pClass->m_BaseClassList);
  // Qualified names keep their last part; the base-name list keeps the "$".
  int nDollar = strClassName.ReverseFind('$');
  if (nDollar > 0) strClassName = strClassName.Mid(nDollar + 1);
  nDollar = strFirstBase.ReverseFind('$');
  if (nDollar > 0) strFirstBase = strFirstBase.Mid(nDollar + 1);

  SECFileSystem fs;
  CString strBaseFileName = fs.GetBaseFileName(strPath);
  pClass->m_strClassName = strClassName;
  pClass->m_strBaseClassName = strFirstBase;
  pClass->m_strClassHead = strFullHead;
  pClass->m_nKnownClassId = static_cast<int>(LookUpKnownClass(strFirstBase));
  pClass->m_strHeaderFile = strBaseFileName + ".h";
  pClass->m_strSourceFile = strBaseFileName + ".cpp";
  m_FileObjList.AddTail(pClass);
  return pClass;
}

CString CWorkSpaceObj::SplitBaseList(CString strText, CStringList& list) {
  CString strFirst;
  std::vector<CString> pieces = SplitListText(strText);
  for (size_t i = 0; i < pieces.size(); ++i) {
    CString& strPiece = pieces[i];
    // One access word, and "virtual" on either side of it.
    bool bVirtual = StripWord(strPiece, "virtual ");
    if (!StripWord(strPiece, "public") && !StripWord(strPiece, "protected")) StripWord(strPiece, "private");
    if (!bVirtual) StripWord(strPiece, "virtual ");
    bool bLast = i + 1 == pieces.size();
    if (bLast && (strPiece.IsEmpty() || list.Find(strPiece) != nullptr)) break;
    list.AddTail(strPiece);
    if (i == 0) strFirst = strPiece;
  }
  return strFirst;
}

void CWorkSpaceObj::SplitParameterList(CString strText, CStringList& list) {
  std::vector<CString> pieces = SplitListText(strText);
  if (!pieces.empty() && pieces.back().IsEmpty()) pieces.pop_back();
  for (const CString& strPiece : pieces) list.AddTail(strPiece);
}

void CWorkSpaceObj::ParseMemberVariable(CFileObj* pClass, CString strStatement, int nAccess, CString strComment) {
  CString strDeclaration = strStatement;
  strStatement.Replace('\t', ' ');
  BOOL bStatic = StripWord(strStatement, "static");
  if (!TopLevelCommas(strStatement).empty()) return;  // several variables in one statement
  if (EndsWith(strStatement, ";")) DropEnd(strStatement, 1);
  CString strType;
  CString strName;
  if (!SplitTypeAndName(strStatement, strType, strName) || pClass == nullptr) return;

  CVariableObj* pVariable = new CVariableObj;
  pVariable->m_nAccess = nAccess;
  pVariable->m_strType = strType;
  pVariable->m_strName = strName;
  pVariable->m_strUniqueName = pClass->MakeUniqueVariableName(strName);
  pVariable->m_strHeaderFile = pClass->m_strHeaderFile;
  pVariable->m_strClassName = pClass->m_strClassName;
  pVariable->m_strDeclaration = strDeclaration;
  pVariable->m_strComment = CleanComment(strComment);
  pVariable->m_bStatic = bStatic;
  pClass->m_VariableList.AddTail(pVariable);
}

void CWorkSpaceObj::ParseMemberFunction(CFileObj* pClass, CString strStatement, int nAccess, CString strComment) {
  CString strDeclaration = strStatement;
  strStatement.Replace('\t', ' ');
  BOOL bStatic = StripWord(strStatement, "static");
  BOOL bVirtual = StripWord(strStatement, "virtual");
  if (EndsWith(strStatement, ";")) DropEnd(strStatement, 1);
  // A pure specifier goes like a trailing const, in either order.
  for (bool bStripped = true; bStripped;) {
    bStripped = false;
    if (EndsWith(strStatement, "0")) {
      CString strBefore = strStatement.Left(strStatement.GetLength() - 1);
      strBefore.TrimRight();
      if (EndsWith(strBefore, "=")) {
        strStatement = strBefore;
        DropEnd(strStatement, 1);
        bStripped = true;
      }
    }
    if (EndsWith(strStatement, "const")) {
      DropEnd(strStatement, 5);
      bStripped = true;
    }
  }
  if (EndsWith(strStatement, ")")) strStatement = strStatement.Left(strStatement.GetLength() - 1);

  int nOpen = FindParameterOpen(strStatement);
  CString strHead = nOpen >= 0 ? strStatement.Left(nOpen) : CString();
  CString strParameters = strStatement.Mid(nOpen + 1);
  strHead.Trim();
  CString strReturnType;
  CString strName;
  if (!SplitTypeAndName(strHead, strReturnType, strName) || pClass == nullptr) return;

  CMemberFunctionObj* pFunction = new CMemberFunctionObj;
  pFunction->m_nAccess = nAccess;
  pFunction->m_strHeaderFile = pClass->m_strHeaderFile;
  pFunction->m_strSourceFile = pClass->m_strSourceFile;
  pFunction->m_strClassName = pClass->m_strClassName;
  pFunction->m_strUniqueName = pClass->MakeUniqueFunctionName(strName);
  pFunction->m_strReturnType = strReturnType;
  pFunction->m_strName = strName;
  pFunction->m_strComment = CleanComment(strComment);
  SplitParameterList(strParameters, pFunction->m_ParameterList);
  pFunction->m_strDeclaration = strDeclaration;
  pFunction->m_bVirtual = bVirtual;
  pFunction->m_bStatic = bStatic;
  pClass->m_MemberFunctionList.AddTail(pFunction);
}
