// The shared pieces of the documentation pages and the default-description tables of the three
// languages. Chinese texts are UTF-8 here and converted once to GB2312 or Big5.
#include "model/DocPages.h"

#include <cstring>
#include <string>
#include <string_view>

#include "base/Convert.h"
#include "model/AFBig2GBObj.h"
#include "model/CWorkSpaceObj.h"
#include "model/ModelIds.h"

DocLanguage DocLanguageOf(int nOutputLanguage) {
  switch (nOutputLanguage) {
    case LANGUAGE_CHT: return DocLanguage::Big5;
    case LANGUAGE_ENG: return DocLanguage::English;
    default: return DocLanguage::GB;
  }
}

LPCTSTR DocCharset(DocLanguage language) {
  switch (language) {
    case DocLanguage::GB: return "gb2312";
    case DocLanguage::Big5: return "big5";
    case DocLanguage::English: break;
  }
  return "iso-8859-1";
}

UINT DocCodePage(DocLanguage language) {
  return language == DocLanguage::GB ? 936 : language == DocLanguage::Big5 ? 950 : 1252;
}

CString DocText(DocLanguage language, const char* lpszUtf8) {
  if (language == DocLanguage::English) return CString(lpszUtf8);
  const std::string bytes = brambolt::Utf8ToCodePage(std::string_view(lpszUtf8), language == DocLanguage::GB ? 936 : 950);
  return CString(bytes.c_str());
}

namespace {

CString Escape(const CString& strText, bool bQuotes) {
  // Most names hold nothing to escape; they pass unchanged.
  if (std::strpbrk(strText, bQuotes ? "&<>\"" : "&<>") == nullptr) return strText;
  CString strOut;
  for (int i = 0; i < strText.GetLength(); ++i) {
    const char ch = strText[i];
    switch (ch) {
      case '&': strOut += "&amp;"; break;
      case '<': strOut += "&lt;"; break;
      case '>': strOut += "&gt;"; break;
      case '"':
        if (bQuotes) {
          strOut += "&quot;";
          break;
        }
        [[fallthrough]];
      default: strOut += ch;
    }
  }
  return strOut;
}

}  // namespace

CString HtmlText(const CString& strText) { return Escape(strText, false); }

namespace {

// Whether code page 936's bytes for a character are GB2312's: the page declares "gb2312", and
// code page 936 holds GBK's characters too (lead and trail bytes from 0x81, 0x40).
bool IsGB2312(const std::string& bytes) {
  return bytes.size() == 2 && static_cast<unsigned char>(bytes[0]) >= 0xA1 &&
         static_cast<unsigned char>(bytes[1]) >= 0xA1;
}

// Characters in the page's code page, each one it lacks as a numeric character reference.
void AppendInCodePage(std::string& out, const std::u32string& text, UINT codePage) {
  for (const char32_t ch : text) {
    if (ch < 0x80) {
      out += static_cast<char>(ch);
      continue;
    }
    const std::string bytes = brambolt::UnicodeToAnsi(std::u32string_view(&ch, 1), codePage);
    if (bytes.empty() || bytes == "?" || (codePage == 936 && !IsGB2312(bytes)))
      out += "&#" + std::to_string(static_cast<unsigned long>(ch)) + ";";
    else
      out += bytes;
  }
}

// Text in one double-byte code page into a page of another: GB2312 into a Big5 page or the
// other way through the program's tables, as the output view converts pages; a character the
// tables do not hold (GBK's, Big5's extensions, HKSCS's) or without counterpart as the page's
// own character or a reference to itself; into an English page, each as a reference.
void AppendConverted(std::string& out, std::string_view line, UINT sourceCodePage, UINT pageCodePage) {
  AppendInCodePage(out,
                   pageCodePage == 1252 ? AFBig2GBObj::ReadText(line, sourceCodePage)
                                        : AFBig2GBObj::CounterpartText(line, sourceCodePage),
                   pageCodePage);
}

template <class Fn>
void ForEachLine(std::string_view text, Fn fn) {
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    fn(text.substr(start, end - start), end < text.size());
    start = end + 1;
  }
}

}  // namespace

namespace {

// The code page each line of a project text is read in. Text that could not tell its code page is
// read in the reading a Chinese project's language chose for it, on every page; where no Chinese
// project language chose, in the code page of the run's language (for an English run, the
// program's) where it reads about as well in it. Text of no known code page (a file name) converts
// only where it is UTF-8.
class LineCodePages {
 public:
  LineCodePages(UINT pageCodePage, const TextCodePage& source) : m_pageCodePage(pageCodePage), m_source(source) {
    const UINT runCodePage = pageCodePage == 1252 ? ::GetACP() : pageCodePage;
    m_fileCodePage = source.ReadsAbout(runCodePage) ? runCodePage : source.nCodePage;
  }
  UINT Of(std::string_view line) const {
    return m_source.nCodePage == 0 ? (brambolt::IsUtf8Text(line) ? CP_UTF8 : m_pageCodePage)
           : m_source.bTyped       ? m_source.nCodePage
                                   : AFBig2GBObj::CodePageOfLine(line, m_fileCodePage);
  }

 private:
  UINT m_pageCodePage;
  const TextCodePage& m_source;
  UINT m_fileCodePage;
};

}  // namespace

CString SourceText(DocLanguage language, const CString& strText, const TextCodePage& source) {
  const std::string_view text(strText, static_cast<size_t>(strText.GetLength()));
  if (brambolt::IsAsciiText(text)) return strText;
  const UINT pageCodePage = DocCodePage(language);
  const LineCodePages codePages(pageCodePage, source);
  std::string out;
  ForEachLine(text, [&](std::string_view line, bool bLineEnd) {
    const UINT codePage = codePages.Of(line);
    // Japanese is not converted: its bytes are copied as they stand.
    if (brambolt::IsAsciiText(line) || codePage == pageCodePage || codePage == kShiftJisCodePage)
      out += line;
    else if (codePage == CP_UTF8 || codePage == 1252)
      AppendInCodePage(out, brambolt::AnsiToUnicode(line, codePage), pageCodePage);
    else
      AppendConverted(out, line, codePage, pageCodePage);
    if (bLineEnd) out += '\n';
  });
  return CString(out.data(), static_cast<int>(out.size()));
}

CString PictureText(DocLanguage language, const CString& strText, const TextCodePage& source) {
  const std::string_view text(strText, static_cast<size_t>(strText.GetLength()));
  if (brambolt::IsAsciiText(text)) return strText;
  const UINT pageCodePage = DocCodePage(language);
  const UINT programCodePage = ::GetACP();
  const LineCodePages codePages(pageCodePage, source);
  std::string out;
  ForEachLine(text, [&](std::string_view line, bool bLineEnd) {
    const UINT codePage = codePages.Of(line);
    if (brambolt::IsAsciiText(line) || codePage == kShiftJisCodePage) {
      out += line;
    } else {
      const bool bDoubleByte = codePage == 936 || codePage == 950;
      const std::u32string read =
          bDoubleByte ? AFBig2GBObj::ReadText(line, codePage) : brambolt::AnsiToUnicode(line, codePage);
      // GB2312 on a Big5 page shows as its traditional counterparts, Big5 on a GB page as its
      // simplified ones, as the pages convert them.
      const bool bCounterpart = bDoubleByte && pageCodePage != 1252 && codePage != pageCodePage;
      bool bDropped = false;
      std::string drawn = brambolt::CodePageTextOf(
          bCounterpart ? AFBig2GBObj::CounterpartText(line, codePage) : read, &bDropped, programCodePage);
      if (bDropped && bCounterpart) {
        bDropped = false;
        drawn = brambolt::CodePageTextOf(read, &bDropped, programCodePage);
      }
      out += bDropped ? std::string(line) : drawn;
    }
    if (bLineEnd) out += '\n';
  });
  return CString(out.data(), static_cast<int>(out.size()));
}

CString ProjectText(DocLanguage language, const CString& strText, const TextCodePage& source) {
  return SourceText(language, HtmlText(strText), source);
}

CString HtmlAttr(const CString& strText) { return Escape(strText, true); }

void WritePageHead(PageText& out, DocLanguage language, const CString& strTitle, const TextCodePage& source) {
  out << "<html>\n"
      << "\n"
      << "<head>\n"
      << "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" << DocCharset(language) << "\">\n"
      << "<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 4.0\">\n"
      << "<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">\n"
      << "<title>" << ProjectText(language, strTitle, source) << "</title>\n"
      << "</head>\n"
      << "\n"
      << "<body>\n"
      << "\n";
}

void WritePageEnd(PageText& out) { out << " \n" << "</body> \n" << " \n" << "</html> \n"; }

BOOL IsFunctionDocumented(const CWorkSpaceObj& project, int nAccess) {
  switch (nAccess) {
    case MEMBER_PROTECTED: return project.m_bDocProtectedFunctions;
    case MEMBER_PRIVATE: return project.m_bDocPrivateFunctions;
    case MEMBER_PUBLIC: return project.m_bDocPublicFunctions;
    default: return FALSE;
  }
}

BOOL IsVariableDocumented(const CWorkSpaceObj& project, int nAccess) {
  switch (nAccess) {
    case MEMBER_PROTECTED: return project.m_bDocProtectedVariables;
    case MEMBER_PRIVATE: return project.m_bDocPrivateVariables;
    case MEMBER_PUBLIC: return project.m_bDocPublicVariables;
    default: return FALSE;
  }
}

DocTable::DocTable(DocLanguage language, const std::vector<DocDefault>& entries) : language(language) {
  for (const DocDefault& entry : entries) {
    if (entry.lpszKey != nullptr && *entry.lpszKey == '\0') {
      fallback = DocText(language, entry.lpszText);
      continue;
    }
    keys.emplace_back(entry.lpszKey != nullptr ? entry.lpszKey : "");
    wholeName.push_back(entry.bWholeName);
    texts.push_back(DocText(language, entry.lpszText));
    longTexts.push_back(entry.lpszLongText != nullptr ? DocText(language, entry.lpszLongText) : CString());
  }
}

CString LookUpDefault(const DocTable& table, DocMatch match, const CString& strSubject, const CString& strClass,
                      const CString& strName, const TextCodePage& source, bool bLong) {
  const std::string_view subject(strSubject, static_cast<size_t>(strSubject.GetLength()));
  CString strText = table.fallback;
  for (size_t i = 0; i < table.keys.size(); ++i) {
    const std::string_view key = table.keys[i].empty()
                                     ? std::string_view(strClass, static_cast<size_t>(strClass.GetLength()))
                                     : std::string_view(table.keys[i]);
    if (key.empty()) continue;
    bool bMatch = false;
    if (table.wholeName[i])
      bMatch = subject == key;
    else if (match == DocMatch::Prefix)
      bMatch = subject.substr(0, key.size()) == key;
    else
      bMatch = subject.find(key) != std::string_view::npos;
    if (!bMatch) continue;
    strText = bLong && !table.longTexts[i].IsEmpty() ? table.longTexts[i] : table.texts[i];
    break;
  }
  if (strText.Find('%') < 0) return strText;
  CString strType = strSubject;
  const int nStar = strType.Find('*');
  if (nStar >= 0) strType = strType.Left(nStar);
  strType.Trim();
  strText.Replace("%C", ProjectText(table.language, strClass, source));
  strText.Replace("%N", ProjectText(table.language, strName, source));
  strText.Replace("%T", ProjectText(table.language, strType, source));
  return strText;
}
