// Shared pieces of the documentation pages: the output languages with their charsets and code
// pages, HTML escaping of project texts, the page head and end, and the default-text tables.
#pragma once

#include <string>
#include <vector>

#include "core/CString.h"
#include "model/DocOutput.h"
#include "model/TextCodePage.h"

class CWorkSpaceObj;

enum class DocLanguage { GB, Big5, English };

DocLanguage DocLanguageOf(int nOutputLanguage);
LPCTSTR DocCharset(DocLanguage language);
// The code page of the language's pages: 936, 950 or 1252.
UINT DocCodePage(DocLanguage language);
// A UTF-8 literal of this file in the bytes of the language's page code page.
CString DocText(DocLanguage language, const char* lpszUtf8);

// Project texts inside page text and attribute values.
CString HtmlText(const CString& strText);
// Text of the project (from its sources or its settings) as it goes into a page of the language,
// in the code page the page declares, read in the code page decided for the file it came from
// (line by line: a line pasted from a file of another code page reads in that one): text in the
// page's own code page is copied; UTF-8 and code page 1252 are converted character by character,
// a character the page lacks becoming a numeric character reference ("&#NNNN;"); GB2312 into a
// Big5 page and the other way go through the program's tables (a character they do not hold as
// the page's own or a reference), and into an English page as references. Text of no code page
// (0: a file name) converts only where it is UTF-8. Escape first: the references stay.
CString SourceText(DocLanguage language, const CString& strText, const TextCodePage& source);
// Text of the project as the pictures of the language's pages (the chart, the class diagrams) draw
// it, in the program's code page, in which their text is drawn: read as SourceText reads it, with
// GB2312 characters as their Big5 counterparts for a Big5 picture and the other way; a line whose
// characters the program's code page cannot all hold is drawn as read, or where it cannot hold
// those either, as its bytes stand.
CString PictureText(DocLanguage language, const CString& strText, const TextCodePage& source);
// A project text escaped and in the page's code page: SourceText of HtmlText.
CString ProjectText(DocLanguage language, const CString& strText, const TextCodePage& source);
CString HtmlAttr(const CString& strText);

// "<html>" up to the opened body, with the title escaped and in the page's code page.
void WritePageHead(PageText& out, DocLanguage language, const CString& strTitle, const TextCodePage& source);
// " \n", "</body> \n", " \n", "</html> \n".
void WritePageEnd(PageText& out);

// Which members the run documents.
BOOL IsFunctionDocumented(const CWorkSpaceObj& project, int nAccess);
BOOL IsVariableDocumented(const CWorkSpaceObj& project, int nAccess);

// The text of the first matching key of a default-description table (substring of a type, or
// prefix of a function name), with %C (class), %N (member name) and %T (the type up to its "*")
// filled in (in the page's code page, from the source's); the table's last entry has no key and
// answers when none matches.
struct DocDefault {
  const char* lpszKey;  // nullptr: the class's own name; "" the answer when nothing matches
  const char* lpszText;
  bool bWholeName = false;  // the key must be the whole name
  const char* lpszLongText = nullptr;  // the member page's longer text, when it has one
};
struct DocTable {
  DocLanguage language;
  std::vector<std::string> keys;  // "" stands for the class's own name
  std::vector<bool> wholeName;
  std::vector<CString> texts;
  std::vector<CString> longTexts;
  CString fallback;
  DocTable(DocLanguage language, const std::vector<DocDefault>& entries);
};
enum class DocMatch { Substring, Prefix };
CString LookUpDefault(const DocTable& table, DocMatch match, const CString& strSubject, const CString& strClass,
                      const CString& strName, const TextCodePage& source, bool bLong = false);

// The tables of each language: member-variable types (class page and variable page), return
// types, parameter types (substring keys) and function remarks (name prefixes).
const DocTable& VariableTypeTable(DocLanguage language);
const DocTable& ReturnTypeTable(DocLanguage language);
const DocTable& ParameterTypeTable(DocLanguage language);
const DocTable& RemarkTable(DocLanguage language);
