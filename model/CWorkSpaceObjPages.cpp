// The documentation drivers of the project: per language the index page, the chart bitmap and
// page, and each class's folders, diagram and pages; the ancestor chains of the class diagrams and
// the component class list.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <system_error>
#include <thread>
#include <vector>

#include "core/CStdioFile.h"
#include "model/AFBig2GBObj.h"
#include "model/BaseClassIndex.h"
#include "model/DocOutput.h"
#include "model/CWorkSpaceObj.h"
#include "model/DiagramCanvas.h"
#include "model/DocPages.h"
#include "model/DocumentationProgress.h"
#include "model/DocumentationRun.h"
#include "model/GWExtFileSystem.h"
#include "model/ShellServices.h"
#include "foundation/SECFileSystem.h"
#include "os/Process.h"

namespace {

const char* const kEnglishFont = "<font face=\"verdana,arial,helvetica\" size=\"2\">";

void ShowCaption(DocumentationProgress* pProgress, const CString& strText) {
  if (pProgress != nullptr) pProgress->SetCaption(strText);
}

// Writes a page through `body` as the file of that name in the folder; FALSE when it could not
// be written.
template <class Body>
BOOL WritePage(const OutputFolder& folder, const CString& strName, Body&& body) {
  PageText out;
  body(out);
  return out.WriteTo(folder, strName);
}

// The code page of the project's own texts (title, description, home page, e-mail): they were
// typed in the program, in its code page, whatever they look like.
TextCodePage SettingsCodePage() { return {::GetACP(), true, true}; }

// A link to the target, the address as the project holds it its text.
CString AddressLink(DocLanguage language, const CString& strTarget, const CString& strAddress,
                    const TextCodePage& settings) {
  return "<a href=\"" + HtmlAttr(strTarget) + "\">" + ProjectText(language, strAddress, settings) + "</a>";
}

// The link to the home page; nothing for an address that is empty or only the "http://" the
// new-project wizard offers, which would link to nowhere: the line keeps its words.
CString HomePageLink(DocLanguage language, const CString& strAddress, const TextCodePage& settings) {
  if (strAddress.IsEmpty() || strAddress.CompareNoCase("http://") == 0) return CString();
  return AddressLink(language, strAddress, strAddress, settings);
}

// The link to the e-mail address, a mail to it whether or not the address was written after the
// "mailto:" the new-project wizard offers (alone it would be taken for a file beside the page);
// nothing for an address that is empty or only that scheme.
CString MailLink(DocLanguage language, const CString& strAddress, const TextCodePage& settings) {
  const CString strScheme = "mailto:";
  const bool bHasScheme = strAddress.Left(strScheme.GetLength()).CompareNoCase(strScheme) == 0;
  if (strAddress.GetLength() == (bHasScheme ? strScheme.GetLength() : 0)) return CString();
  return AddressLink(language, bHasScheme ? strAddress : strScheme + strAddress, strAddress, settings);
}

CString ClassHref(const CFileObj& cls) {
  const CString strFixed = HtmlAttr(LinkNameOf(cls.FileName()));
  return strFixed + "/" + strFixed + ".htm";
}

}  // namespace

void CWorkSpaceObj::AssignClassFileNames(std::string_view folder) {
  const int nNameBytes = CFileObj::PageNameLimit(folder);
  std::unordered_set<std::string> taken;
  auto key = [](CString str) {
    str.MakeLower();
    return std::string(str);
  };
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    CFileObj* pClass = m_FileObjList.GetNext(pos);
    pClass->m_nPageNameBytes = nNameBytes;
    const CString strFixed = CFileObj::CutName(CFileObj::FixedName(pClass->ProgramSpelling(pClass->m_strClassName)), nNameBytes);
    CString strName = strFixed;
    for (unsigned n = 0; !taken.insert(key(strName)).second; ++n)
      strName = strFixed + "(" + CString(std::to_string(n).c_str()) + ")";
    pClass->m_strFileName = strName;
  }
}

int CWorkSpaceObj::GenerateGBPages(CString strFolder, DocumentationProgress* pProgress) {
  return GeneratePages(LANGUAGE_CHS, strFolder, pProgress);
}

int CWorkSpaceObj::GenerateBig5Pages(CString strFolder, DocumentationProgress* pProgress) {
  return GeneratePages(LANGUAGE_CHT, strFolder, pProgress);
}

int CWorkSpaceObj::GenerateEnglishPages(CString strFolder, DocumentationProgress* pProgress) {
  return GeneratePages(LANGUAGE_ENG, strFolder, pProgress);
}

int CWorkSpaceObj::GeneratePages(int nLanguage, CString strFolder, DocumentationProgress* pProgress) {
  return GeneratePages(nLanguage, OutputFolder::Open(strFolder), pProgress);
}

int CWorkSpaceObj::GeneratePages(int nLanguage, const OutputFolder& htmls, DocumentationProgress* pProgress) {
  const DocLanguage language = DocLanguageOf(nLanguage);
  const bool bEnglish = language == DocLanguage::English;
  const OutputFolder images = htmls.Subfolder("Image2");

  // Every run lists and names the classes in the order of analysis, whatever ordered them since.
  RestoreAnalysisOrder();
  AssignClassFileNames(htmls.GetNativePath());
  ClearAncestorChains();
  PrepareClassDiagrams(pProgress, nLanguage);

  if (pProgress != nullptr) pProgress->SetClassCount(static_cast<int>(m_FileObjList.GetCount()));
  if (IsRunStopped(pProgress)) return 0;
  const BOOL bIndex = WriteIndexPage(nLanguage, htmls);
  const int nIndexError = bIndex ? 0 : errno;
  if (pProgress != nullptr) {
    if (bIndex)
      pProgress->PageWritten("Index.htm");
    else
      pProgress->PageFailed("Index.htm", nIndexError);
  }

  if (IsRunStopped(pProgress)) return 0;
  if (bEnglish) ShowCaption(pProgress, "Creating class Hierarchy...");
  const BOOL bChartBitmap = WriteHierarchyChartImage(images, "A_Hierarchy_Chart.bmp", 256, nLanguage);
  if (pProgress != nullptr) {
    if (bChartBitmap)
      pProgress->BitmapWritten("Image2\\A_Hierarchy_Chart.bmp");
    else
      pProgress->SetChartFailed();
    // Repeats left out for want of room count as boxes the picture could not hold.
    if (m_nChartBoxesCut + m_nChartRepeatsLeftOut > 0) {
      CString strCut;
      strCut.Format("The hierarchy chart is cut to %d x %d pixels: %d of its %d boxes lie beyond and are not shown.",
                    m_nChartWidth, m_nChartHeight, m_nChartBoxesCut + m_nChartRepeatsLeftOut,
                    static_cast<int>(m_ChartBoxes.size()) + m_nChartRepeatsLeftOut);
      pProgress->ReportCut(strCut);
    }
    if (m_nChartRepeatsShort > 0) {
      CString strShort;
      strShort.Format("The hierarchy chart shows %d class(es) that stand under several bases without their subclasses "
                      "under some of them: their subclasses are shown under another base.",
                      m_nChartRepeatsShort);
      pProgress->ReportCut(strShort);
    }
  }
  if (IsRunStopped(pProgress)) return 0;
  // The chart page gives the picture's size: without a new picture the earlier page stays with
  // the earlier picture it fits.
  if (bChartBitmap) {
    if (bEnglish) ShowCaption(pProgress, "Creating chart html file...");
    const BOOL bChart = WriteChartPage(nLanguage, htmls);
    const int nChartError = bChart ? 0 : errno;
    if (pProgress != nullptr) {
      if (bChart)
        pProgress->PageWritten("Hierarchy_Chart.htm");
      else
        pProgress->PageFailed("Hierarchy_Chart.htm", nChartError);
    }
  }

  return WriteClassPages(nLanguage, htmls, images, pProgress);
}

int CWorkSpaceObj::WriteClassPages(int nLanguage, const OutputFolder& htmls, const OutputFolder& images,
                                   DocumentationProgress* pProgress) const {
  const DocLanguage language = DocLanguageOf(nLanguage);
  const bool bEnglish = language == DocLanguage::English;
  const CString strClassList = DocText(language, "<P><a href=\"../Index.htm\">类列表</a> |&nbsp; "
                                                 "<a href=\"../Hierarchy_Chart.htm\">类结构层次图</a></P>\n");
  // The classes and, for the base links, the classes by name, read by every thread.
  std::vector<const CFileObj*> classes;
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) classes.push_back(m_FileObjList.GetNext(pos));
  const BaseClassIndex bases(m_FileObjList);

  // One class's folder, diagram and pages; FALSE when any of its pages could not be written.
  auto writeClass = [&](const CFileObj* pClass) -> bool {
    const OutputFolder classFolder = pClass->CreateClassFolders(htmls);
    if (bEnglish) ShowCaption(pProgress, "Creating sub class chart...");
    if (pClass->SaveClassDiagram(images, *this) && pProgress != nullptr)
      pProgress->BitmapWritten("Image2\\" + pClass->FileName() + ".bmp");
    if (IsRunStopped(pProgress)) return true;
    const CString strFixed = pClass->FileName();
    const BOOL bPage = WritePage(classFolder, strFixed + ".htm", [&](PageText& out) {
      WritePageHead(out, language, pClass->m_strClassName, pClass->m_codePage);
      switch (language) {
        case DocLanguage::GB: pClass->WriteGBClassPage(out, *this); break;
        case DocLanguage::Big5: pClass->WriteBig5ClassPage(out, *this); break;
        case DocLanguage::English: pClass->WriteEnglishClassPage(out, *this); break;
      }
      ShowCaption(pProgress, pClass->m_strClassName + ".htm");
      // Each base as written, linked to the page of the class it names.
      for (POSITION posBase = pClass->m_BaseClassList.GetHeadPosition(); posBase != nullptr;) {
        const CString& strBase = pClass->m_BaseClassList.GetNext(posBase);
        if (const CFileObj* pBase = bases.FindBase(pClass, strBase))
          out << "<P><B><a href=\"../" << ClassHref(*pBase) << "\">"
              << ProjectText(language, strBase, pClass->m_codePage) << "</a></P></B>\n";
        else
          out << "<P><B>" << ProjectText(language, strBase, pClass->m_codePage) << "</P></B>\n";
      }
      if (language == DocLanguage::GB) out << strClassList;
      WritePageEnd(out);
    });
    const int nError = bPage ? 0 : errno;
    const CString strPath = strFixed + "\\" + strFixed + ".htm";
    if (pProgress != nullptr) {
      if (bPage)
        pProgress->PageWritten(strPath);
      else
        pProgress->ClassPageFailed(pClass->m_strClassName, strPath, nError);
    }
    // A page that cannot be written stops none of the others.
    const BOOL bVariables = pClass->WriteVariablePages(nLanguage, classFolder, *this, pProgress);
    const BOOL bFunctions = pClass->WriteFunctionPages(nLanguage, classFolder, *this, pProgress);
    return bPage && bVariables && bFunctions;
  };

  // The class folders are independent of each other: a fixed pool of threads takes them one by
  // one, each writing a whole folder, so every file is the same whatever the order of writing.
  // A class whose pages could not all be written is counted, and the others still get theirs.
  std::atomic<size_t> nNext{0};
  std::atomic<int> nFailed{0};
  auto work = [&] {
    for (size_t i; (i = nNext++) < classes.size() && !IsRunStopped(pProgress);)
      if (!writeClass(classes[i])) ++nFailed;
  };
  const size_t nThreads = std::min(classes.size(), static_cast<size_t>(GetDocumentationThreads()));
  if (nThreads <= 1) {
    work();
    return nFailed.load();
  }
  // This thread shows the pool's captions while it waits for the pool.
  if (pProgress != nullptr) pProgress->HoldCaptionsOfOtherThreads(true);
  std::mutex mutex;
  std::condition_variable finished;
  size_t nRunning = 0;
  std::vector<std::thread> pool;
  for (size_t t = 0; t < nThreads; ++t) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      ++nRunning;
    }
    try {
      pool.emplace_back([&] {
        work();
        std::lock_guard<std::mutex> lock(mutex);
        --nRunning;
        finished.notify_all();
      });
    } catch (const std::system_error&) {
      // No further thread to be had: those there are do the work.
      std::lock_guard<std::mutex> lock(mutex);
      --nRunning;
      break;
    }
  }
  if (pool.empty()) work();
  {
    std::unique_lock<std::mutex> lock(mutex);
    while (nRunning > 0) {
      finished.wait_for(lock, std::chrono::milliseconds(100));
      lock.unlock();
      if (pProgress != nullptr) pProgress->ShowHeldCaption();
      lock.lock();
    }
  }
  for (std::thread& thread : pool) thread.join();
  if (pProgress != nullptr) {
    pProgress->HoldCaptionsOfOtherThreads(false);
    pProgress->ShowHeldCaption();
  }
  return nFailed.load();
}

BOOL CWorkSpaceObj::WriteIndexPage(int nLanguage, const OutputFolder& htmls) {
  PageText out;
  switch (DocLanguageOf(nLanguage)) {
    case DocLanguage::GB: WriteGBIndexText(out); break;
    case DocLanguage::Big5: WriteBig5IndexText(out); break;
    case DocLanguage::English: WriteEnglishIndexText(out); break;
  }
  return out.WriteTo(htmls, "Index.htm");
}

BOOL CWorkSpaceObj::WriteEnglishIndexPage(CString strFolder) {
  return WriteIndexPage(LANGUAGE_ENG, OutputFolder::Open(strFolder, 0));
}

BOOL CWorkSpaceObj::WriteGBIndexPage(CString strFolder) {
  return WriteIndexPage(LANGUAGE_CHS, OutputFolder::Open(strFolder, 0));
}

BOOL CWorkSpaceObj::WriteBig5IndexPage(CString strFolder) {
  return WriteIndexPage(LANGUAGE_CHT, OutputFolder::Open(strFolder, 0));
}

void CWorkSpaceObj::WriteEnglishIndexText(PageText& out) const {
  const CString F = kEnglishFont;
  const TextCodePage settings = SettingsCodePage();
  WritePageHead(out, DocLanguage::English, m_strProjectTitle, settings);
  out << "<h1><font face=\"verdana,arial,helvetica\" size=\"5\"><a name=\"" << HtmlAttr(m_strCompany) << "\"></a>";
  if (!m_strProjectTitle.IsEmpty())
    out << "Welcome to the " << ProjectText(DocLanguage::English, m_strProjectTitle, settings) << "</font></h1> \n";
  else
    out << "Welcome to our world!.</font></h1> \n";
  out << "<p>" << ProjectText(DocLanguage::English, m_strDescription, settings) << "</p>\n";
  out << "<p><b>" << F
      << "The <a href=\"Hierarchy_Chart.htm\">class hierarchy chart</a>details the class relationships in the class "
         "library.</font></b></p>\n";
  out << "<h4>The library's classes are presented here in the following categories: </h4>\n"
      << "\n";
  out << "<p class=\"label\"><b>" << F << "Classes</font></b></p>\n"
      << "<table border=\"1\" cellPadding=\"5\" cols=\"2\" frame=\"below\" rules=\"rows\">\n"
      << "  <tbody>\n";
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = m_FileObjList.GetNext(pos);
    out << "<tr vAlign=\"top\">\n"
        << "      <td width=\"22%\">" << F << "<a href=\"" << ClassHref(*pClass) << "\">"
        << ProjectText(DocLanguage::English, pClass->m_strClassName, pClass->m_codePage) << "</a></font></td>\n"
        << "      <td width=\"78%\">" << F << "Class Description\n"
        << "        .\n"
        << "        <p><b>Base class name:</b>"
        << ProjectText(DocLanguage::English, pClass->m_strBaseClassName, pClass->m_codePage) << ", <b>Defined in:</b>"
        << ProjectText(DocLanguage::English, pClass->m_strHeaderFile, TextCodePage()) << "</td>\n"
        << "    </font></tr>\n";
  }
  out << "  </tbody>\n"
      << "</table>\n"
      << "\n";
  out << "<p class=\"indent\"><b>" << F << "Home page:" << HomePageLink(DocLanguage::English, m_strHomePage, settings)
      << ",E-Mail:" << MailLink(DocLanguage::English, m_strEmail, settings) << "</font></b></p>\n";
  WritePageEnd(out);
}

void CWorkSpaceObj::WriteGBIndexText(PageText& out) const {
  auto T = [](const char* lpsz) { return DocText(DocLanguage::GB, lpsz); };
  const TextCodePage settings = SettingsCodePage();
  WritePageHead(out, DocLanguage::GB, m_strProjectTitle, settings);
  out << "<h1><a name=\"secbrowseeditbase\"></a>"
      << (m_strProjectTitle.IsEmpty() ? T("标题文本") : ProjectText(DocLanguage::GB, m_strProjectTitle, settings))
      << "</h1> \n";
  out << "<p>" << ProjectText(DocLanguage::GB, m_strDescription, settings) << "</p> \n";
  out << T("<p><b><a href=\"Hierarchy_Chart.htm\">类库总体结构层次图</a></b></p> \n");
  out << T("<h1>类库基本类列表</h1>\n");
  out << T("<p class=\"label\"><b>类列表</b></p>\n")
      << "<table border=\"1\" cellPadding=\"5\" cols=\"2\" frame=\"below\" rules=\"rows\">\n"
      << "  <tbody>\n";
  const CString strDescription = T("类描述");
  const CString strBase = T("基类:");
  const CString strDefined = T("定义文件:");
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = m_FileObjList.GetNext(pos);
    out << "<tr vAlign=\"top\">\n"
        << "      <td width=\"22%\"><a href=\"" << ClassHref(*pClass) << "\">"
        << ProjectText(DocLanguage::GB, pClass->m_strClassName, pClass->m_codePage) << "</a></td>\n"
        << "      <td width=\"78%\">" << strDescription << "\n"
        << "        <p><b>" << strBase << "</b>"
        << ProjectText(DocLanguage::GB, pClass->m_strBaseClassName, pClass->m_codePage) << ", <b>" << strDefined
        << "</b>" << ProjectText(DocLanguage::GB, pClass->m_strHeaderFile, TextCodePage()) << "</td>\n"
        << "    </tr>\n";
  }
  out << "  </tbody>\n"
      << "</table>\n"
      << "\n";
  out << T("<p class=\"indent\"><b><font face=\"宋体\" size=\"2\">公司主页:")
      << HomePageLink(DocLanguage::GB, m_strHomePage, settings) << ",E-Mail:"
      << MailLink(DocLanguage::GB, m_strEmail, settings) << "</font></b></p>\n";
  WritePageEnd(out);
}

void CWorkSpaceObj::WriteBig5IndexText(PageText& out) const {
  auto T = [](const char* lpsz) { return DocText(DocLanguage::Big5, lpsz); };
  const TextCodePage settings = SettingsCodePage();
  WritePageHead(out, DocLanguage::Big5, m_strProjectTitle, settings);
  out << "<h1><a name=\"secbrowseeditbase\"></a>"
      << (m_strProjectTitle.IsEmpty() ? CString("Help Title")
                                      : ProjectText(DocLanguage::Big5, m_strProjectTitle, settings))
      << "</h1> \n";
  out << "<p>" << ProjectText(DocLanguage::Big5, m_strDescription, settings) << "</p> \n";
  out << "<p><b>The <a href=\"Hierarchy_Chart.htm\">class hierarchy chart</a>details the class relationships in "
         "the class library.</b></p>\n";
  out << T("<h1>類別庫基本類別列表</h1>\n");
  const CString strDerived = T("<p class=\"indent\">此類別是從類別");
  const CString strInherited = T("繼承下來的</p> \n");
  const CString strDefined = T("<p class=\"indent\">定義文件:</b>");
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = m_FileObjList.GetNext(pos);
    out << "<p class=\"dt\"><a href=\"" << ClassHref(*pClass) << "\">"
        << ProjectText(DocLanguage::Big5, pClass->m_strClassName, pClass->m_codePage) << "</a><b>\n";
    out << strDerived << ProjectText(DocLanguage::Big5, pClass->m_strBaseClassName, pClass->m_codePage) << strInherited;
    out << strDefined << ProjectText(DocLanguage::Big5, pClass->m_strHeaderFile, TextCodePage()) << "</p> \n";
    out << "<b>\n";
  }
  WritePageEnd(out);
}

BOOL CWorkSpaceObj::WriteChartPage(int nLanguage, const OutputFolder& htmls) {
  return WritePage(htmls, "Hierarchy_Chart.htm", [&](PageText& out) {
    WritePageHead(out, DocLanguageOf(nLanguage), m_strProjectTitle, SettingsCodePage());
    out << "<p><img border=\"0\" src=\"Image2/A_Hierarchy_Chart.bmp\" width=\"" << m_nChartWidth << "\" height=\""
        << m_nChartHeight << "\"></p>\n";
    WritePageEnd(out);
  });
}

BOOL CWorkSpaceObj::WriteGBChartPage(CString strFolder) {
  return WriteChartPage(LANGUAGE_CHS, OutputFolder::Open(strFolder, 0));
}

BOOL CWorkSpaceObj::WriteBig5ChartPage(CString strFolder) {
  return WriteChartPage(LANGUAGE_CHT, OutputFolder::Open(strFolder, 0));
}

BOOL CWorkSpaceObj::WriteEnglishChartPage(CString strFolder) {
  return WriteChartPage(LANGUAGE_ENG, OutputFolder::Open(strFolder, 0));
}

void CWorkSpaceObj::ClearAncestorChains() {
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) m_FileObjList.GetNext(pos)->m_AncestorList.RemoveAll();
}

namespace {

std::string Key(const CString& str) { return std::string(str, static_cast<size_t>(str.GetLength())); }

// The classes by name for the ancestor chains: a chain goes from a class to the class its first
// base names (BaseClassIndex::FindBase, as the base's link on the class page), or ends with a base
// the project does not document.
struct ChainClasses {
  explicit ChainClasses(const CFileObjList& classes) : bases(classes) {}
  // The name by which the chain knows the first base of the class.
  std::string NextName(const CFileObj* pClass) const {
    return std::string(bases.HierarchyName(pClass, pClass->m_strBaseClassName));
  }
  const CFileObj* Find(const std::string& name) const { return bases.FindClass(name); }
  // The class the first base of the class names, as its page links it.
  const CFileObj* FirstBase(const CFileObj* pClass) const { return bases.FindBase(pClass, pClass->m_strBaseClassName); }

  BaseClassIndex bases;
};

// The length of the ancestor chain that starts at a name (the name, its first base, that base's
// first base among the project's classes, ..., each name once), for every name at once: the first
// bases form chains that may end in a loop, and each name's length is its first base's plus one
// (on a loop, the loop's length), so a chain of n classes costs n steps and not n^2.
class ChainLengths {
 public:
  explicit ChainLengths(const ChainClasses& classes) : m_classes(classes) {}

  int FromName(const std::string& strStart) {
    std::vector<std::string> path;
    std::unordered_map<std::string, size_t> onPath;
    int nTail = 0;
    for (std::string name = strStart; !name.empty();) {
      if (const auto known = m_lengths.find(name); known != m_lengths.end()) {
        nTail = known->second;
        break;
      }
      if (const auto at = onPath.find(name); at != onPath.end()) {
        // A loop: each of its names reaches all the others and then itself.
        nTail = static_cast<int>(path.size() - at->second);
        for (size_t i = at->second; i < path.size(); ++i) m_lengths[path[i]] = nTail;
        path.resize(at->second);
        break;
      }
      onPath.emplace(name, path.size());
      path.push_back(name);
      const CFileObj* pClass = m_classes.Find(name);
      if (pClass == nullptr) break;  // no class of the project: the chain ends with it
      name = m_classes.NextName(pClass);
    }
    for (size_t i = path.size(); i-- > 0;) m_lengths[path[i]] = ++nTail;
    return nTail;
  }

 private:
  const ChainClasses& m_classes;
  std::unordered_map<std::string, int> m_lengths;
};

}  // namespace

// As AppendAncestors for every class, with the classes found by name through an index, but only
// as far as a diagram draws: the rest of a chain is counted, not kept. So a deep hierarchy costs
// time and memory in proportion to its classes.
void CWorkSpaceObj::PrepareClassDiagrams(DocumentationProgress* pProgress, int nLanguage) {
  const DocLanguage language = DocLanguageOf(nLanguage != 0 ? nLanguage : m_nOutputLanguage);
  const ChainClasses classes(m_FileObjList);
  ChainLengths lengths(classes);
  DiagramTextWidths widths;
  int nCutDiagrams = 0;
  std::vector<std::string> chain;
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    CFileObj* pClass = m_FileObjList.GetNext(pos);
    pClass->m_AncestorList.RemoveAll();
    pClass->m_AncestorList.AddTail(PictureText(language, pClass->m_strClassName, pClass->m_codePage));
    pClass->m_nMoreAncestors = 0;
    if (!pClass->m_BaseClassList.IsEmpty()) {
      ShowCaption(pProgress, "Loading - " + pClass->m_strClassName);
      // A loop of first bases ends at the first name already in the chain. The chain holds the
      // names by which the classes are known; the diagram shows each base as written, read as the
      // pages of the language read it.
      chain.assign(1, Key(pClass->m_strClassName));
      const auto inChain = [&chain](const std::string& name) {
        return std::find(chain.begin(), chain.end(), name) != chain.end();
      };
      std::string name = classes.NextName(pClass);
      for (const CFileObj* pNearer = pClass;
           !name.empty() && !inChain(name) && static_cast<int>(chain.size()) < CFileObj::kDiagramNames;) {
        chain.push_back(name);
        pClass->m_AncestorList.AddTail(PictureText(language, pNearer->m_strBaseClassName, pNearer->m_codePage));
        pNearer = classes.FirstBase(pNearer);
        name = pNearer != nullptr ? classes.NextName(pNearer) : std::string();
      }
      if (!name.empty() && !inChain(name)) {
        // More ancestors than the diagram draws: how many the rest of the chain holds.
        int nTotal = 0;
        if (classes.Find(chain.front()) == pClass) {
          nTotal = lengths.FromName(chain.front());
        } else {
          // A second class of an earlier one's name: its own chain, walked to its end.
          std::unordered_set<std::string> seen(chain.begin(), chain.end());
          nTotal = static_cast<int>(chain.size());
          for (; !name.empty() && seen.insert(name).second; ++nTotal) {
            const CFileObj* pNext = classes.Find(name);
            name = pNext != nullptr ? classes.NextName(pNext) : std::string();
          }
        }
        pClass->m_nMoreAncestors = std::max(0, nTotal - static_cast<int>(chain.size()));
        if (pClass->m_nMoreAncestors > 0) ++nCutDiagrams;
      }
    }
    pClass->MeasureDiagramBox(widths);
    pClass->ComputeDiagramSize();
  }
  if (pProgress != nullptr && nCutDiagrams > 0) {
    CString strCut;
    strCut.Format("The class diagrams of %d class(es) show only their %d nearest base classes and the number of the "
                  "others.",
                  nCutDiagrams, CFileObj::kDiagramNames - 1);
    pProgress->ReportCut(strCut);
  }
  if (pProgress != nullptr && widths.GetCutCount() > 0) {
    CString strCut;
    strCut.Format("%d class name(s) are too long to be shown whole in the pictures: they end in \"...\".",
                  widths.GetCutCount());
    pProgress->ReportCut(strCut);
  }
}

void CWorkSpaceObj::AppendAncestors(CStringList& chain, CString strName) const {
  // A loop of first bases ends at the first name already in the chain.
  while (!strName.IsEmpty() && chain.Find(strName) == nullptr) {
    chain.AddTail(strName);
    strName = GetFirstBaseName(strName);
  }
}

CString CWorkSpaceObj::GetFirstBaseName(CString strName) const {
  // A name of the chain may be a base as written ("Ns::Base<T>"): it names its last part.
  const CFileObj* pClass = FindClassByName(strName);
  if (pClass == nullptr) {
    const std::string_view key = BaseClassIndex::KeyOf(strName);
    if (key.size() != static_cast<size_t>(strName.GetLength()))
      pClass = FindClassByName(CString(key.data(), static_cast<int>(key.size())));
  }
  return pClass != nullptr ? pClass->m_strBaseClassName : CString();
}

void CWorkSpaceObj::LoadComponentClassList() {
  m_ComponentClassList.RemoveAll();
  if (m_nComponentId == 0) return;
  const CString strName = GetShellServices()->GetComponentName(m_nComponentId);
  if (strName.IsEmpty()) return;
  char szModule[MAX_PATH] = {};
  GetModuleFileName(nullptr, szModule, MAX_PATH);
  SECFileSystem fs;
  CStdioFile file;
  if (!file.Open(fs.GetPath(szModule) + "Component\\" + strName, CFile::modeRead | CFile::typeText)) return;
  CString strLine;
  while (file.ReadString(strLine)) {
    strLine.Trim();
    if (!strLine.IsEmpty()) m_ComponentClassList.AddTail(strLine);
  }
}
