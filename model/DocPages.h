// Shared pieces of the documentation pages: the output languages with their charsets and code
// pages, HTML escaping of project texts, the page head and end, and the default-text tables.
#pragma once

#include <string>
#include <vector>

#include "core/CString.h"
#include "model/DocOutput.h"

class CWorkSpaceObj;

enum class DocLanguage { GB, Big5, English };

DocLanguage DocLanguageOf(int nOutputLanguage);
LPCTSTR DocCharset(DocLanguage language);
// A UTF-8 literal of this file in the bytes of the language's page code page.
CString DocText(DocLanguage language, const char* lpszUtf8);

// Project texts inside page text and attribute values.
CString HtmlText(const CString& strText);
// Text of the project (from its sources or its settings) as it goes into a page of the language,
// in the code page the page declares: a line that is valid UTF-8 and holds non-ASCII characters
// is converted to the page's code page, a character the page lacks becoming a numeric character
// reference ("&#NNNN;"); the other lines are read as GB2312 or Big5 (whichever the text reads
// in, see AFBig2GBObj::DoubleByteCodePageOf) and converted through the program's tables when the
// page is in the other one (a character with no counterpart as a reference), into references in
// an English page, and copied as they are into a page of their own code page. Escape first: the
// references stay.
CString SourceText(DocLanguage language, const CString& strText);
// A project text escaped and in the page's code page: SourceText of HtmlText.
CString ProjectText(DocLanguage language, const CString& strText);
CString HtmlAttr(const CString& strText);

// "<html>" up to the opened body, with the title escaped.
void WritePageHead(PageText& out, DocLanguage language, const CString& strTitle);
// " \n", "</body> \n", " \n", "</html> \n".
void WritePageEnd(PageText& out);

// Which members the run documents.
BOOL IsFunctionDocumented(const CWorkSpaceObj& project, int nAccess);
BOOL IsVariableDocumented(const CWorkSpaceObj& project, int nAccess);

// The text of the first matching key of a default-description table (substring of a type, or
// prefix of a function name), with %C (class), %N (member name) and %T (the type up to its "*")
// filled in; the table's last entry has no key and answers when none matches.
struct DocDefault {
  const char* lpszKey;  // nullptr: the class's own name; "" the answer when nothing matches
  const char* lpszText;
  bool bWholeName = false;  // the key must be the whole name
  const char* lpszLongText = nullptr;  // the member page's longer text, when it has one
};
struct DocTable {
  std::vector<std::string> keys;  // "" stands for the class's own name
  std::vector<bool> wholeName;
  std::vector<CString> texts;
  std::vector<CString> longTexts;
  CString fallback;
  DocTable(DocLanguage language, const std::vector<DocDefault>& entries);
};
enum class DocMatch { Substring, Prefix };
CString LookUpDefault(const DocTable& table, DocMatch match, const CString& strSubject, const CString& strClass,
                      const CString& strName, bool bLong = false);

// The tables of each language: member-variable types (class page and variable page), return
// types, parameter types (substring keys) and function remarks (name prefixes).
const DocTable& VariableTypeTable(DocLanguage language);
const DocTable& ReturnTypeTable(DocLanguage language);
const DocTable& ParameterTypeTable(DocLanguage language);
const DocTable& RemarkTable(DocLanguage language);
