// The class page writers of CFileObj: the class page body, the member-variable and member-function
// pages in GB2312, Big5 and English, the class folders and the name and path utilities.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/Convert.h"
#include "core/CFile.h"
#include "model/AFBig2GBObj.h"
#include "model/DocOutput.h"
#include "model/CFileObj.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocPages.h"
#include "model/DocumentationProgress.h"
#include "model/GWExtFileSystem.h"

namespace {

// The texts in which the GB2312 pages differ from the English ones; both share one structure.
struct PageTexts {
  CString font;   // the paragraph font
  CString font4;  // the heading font
  CString classTitleOpen, classTitleClose;
  CString useBefore, useAfter;
  CString derivedBefore, derivedMiddle, derivedAfter;
  CString definedIn;
  CString headClassMembers, headMemberFunctions, headDataMembers;
  CString accessHeading[3];  // public, protected, private
  CString staticFunctionBefore, staticFunctionAfter;
  CString staticVariableBefore, staticVariableAfter;
  CString seeAlso;
  // Member-variable page, by access: protected, private, public.
  CString variableAccessBefore[3], variableAccessAfter[3];
  CString staticMember;
  CString navOverview, navMembers, navChart;              // variable pages
  CString navFunctionOverview, navFunctionMembers, navFunctionChart;  // function pages
  // Member-function page, by access: protected, private, public.
  CString functionAccessBefore[3], functionAccessAfter[3];
  CString virtualFunction, staticFunction;
  CString definedInParagraph, returnHeading, parameterHeading, remarksHeading, seeAlsoHeading;
};

PageTexts MakeTexts(DocLanguage language) {
  auto T = [language](const char* lpsz) { return DocText(language, lpsz); };
  PageTexts t;
  if (language == DocLanguage::English) {
    t.font = "<font face=\"verdana,arial,helvetica\" size=\"2\">";
    t.font4 = "<font face=\"verdana,arial,helvetica\" size=\"4\">";
    t.classTitleOpen = "<h1>" + t.font4;
    t.classTitleClose = " Class Members</font></h1> \n";
    t.useBefore = "To use a ";
    t.useAfter = " object, just call the constructor.";
    t.derivedBefore = "the ";
    t.derivedMiddle = " class derived from ";
    t.derivedAfter = ".";
    t.definedIn = "Defined in: ";
    t.headClassMembers = "<h1>" + t.font4 + "Class Members</font></h1>\n";
    t.headMemberFunctions = "<h1>" + t.font4 + "Member Functions</font></h1>\n";
    t.headDataMembers = "<h1>" + t.font4 + "Data Members</font></h1>\n";
    const char* const names[3] = {" public", " protected", " private"};
    for (int i = 0; i < 3; ++i)
      t.accessHeading[i] =
          CString("<h4><font face=\"verdana,arial,helvetica\" size=\"2\" color=\"#FF0000\">") + names[i] + "</font></h4>\n";
    t.staticFunctionBefore = "this function is also a static member of class ";
    t.staticFunctionAfter = ".";
    t.staticVariableBefore = "this variable is also a static member of class ";
    t.staticVariableAfter = ".";
    t.seeAlso = "See Also";
    t.variableAccessBefore[0] = "This variable is a protected member of class ";
    t.variableAccessBefore[1] = "This variable is a private member of class ";
    t.variableAccessBefore[2] = "This variable is a public member of class ";
    t.variableAccessAfter[0] = "</font></p> \n";
    t.variableAccessAfter[1] = ",you can not visit it directly </font></p> \n";
    t.variableAccessAfter[2] = ",you can visit it freely.</font></p> \n";
    t.staticMember = "This member is also a static member.";
    t.navOverview = " Overview ";
    t.navMembers = " Base Class Members ";
    t.navChart = " Hierarchy Chart";
    t.navFunctionOverview = " Overview";
    t.navFunctionMembers = " Base Class Members";
    t.navFunctionChart = " Hierarchy Chart ";
    t.functionAccessBefore[0] = "<P>This function is a protected member of class ";
    t.functionAccessBefore[1] = "<P>This function is a private member of class ";
    t.functionAccessBefore[2] = "<P>This function is a public member of class ";
    t.functionAccessAfter[0] = ",</P>  \n";
    t.functionAccessAfter[1] = ",you can not visit directly.</P>  \n";
    t.functionAccessAfter[2] = ", you can visit it freely.</P>  \n";
    t.virtualFunction = "<P>This member function is also a virtual function, you can Override it if you need,</P>  \n";
    t.staticFunction = "<p>This member function is a static function.</p>  \n";
    t.definedInParagraph = "<P>Defined in: ";
    t.returnHeading = "<P><B>Return Value</B></P>\n";
    t.parameterHeading = "<P><B>See Also</B></P>\n";
    t.remarksHeading = "<P><B>Remarks</B></P>\n";
    t.seeAlsoHeading = "<P><B>See Also</B></P>\n";
    return t;
  }
  t.font = T("<font face=\"宋体\" size=\"4\">");
  t.font4 = t.font;
  t.classTitleOpen = t.font4;
  t.classTitleClose = T(" 类成员</font> \n");
  t.useBefore = T("要使用");
  t.useAfter = T("对象,只需调用它的构造函数.");
  t.derivedBefore = T("类");
  t.derivedMiddle = T("派生自");
  t.derivedAfter = ".";
  t.definedIn = T("定义于: ");
  t.headClassMembers = T("<p><font face=\"宋体\" size=\"4\"><B>类成员</B></font></p>\n");
  t.headMemberFunctions = T("<p><font face=\"宋体\" size=\"4\"><B>成员函数</B></font></p>\n");
  t.headDataMembers = T("<h1><font face=\"宋体\" size=\"4\">数据成员</font></h1>\n");
  t.accessHeading[0] = T("<p><font face=\"宋体\" size=\"4\" color=\"#FF0000\"> public</font></p>\n");
  t.accessHeading[1] = T("<P><font face=\"宋体\" size=\"4\" color=\"#FF0000\"> protected</font></P>\n");
  t.accessHeading[2] = T("<p><font face=\"宋体\" size=\"4\" color=\"#FF0000\"> private</font></p>\n");
  t.staticFunctionBefore = T("此函数也是类");
  t.staticFunctionAfter = T("的静态成员.");
  t.staticVariableBefore = T("此变量也是类");
  t.staticVariableAfter = T("的静态成员.");
  t.seeAlso = T("参考:");
  for (int i = 0; i < 3; ++i) t.variableAccessBefore[i] = T("此变量是类");
  t.variableAccessAfter[0] = T("的保护成员.</font></p> \n");
  t.variableAccessAfter[1] = T("的私有成员,您不能直接访问它.</font></p> \n");
  t.variableAccessAfter[2] = T("的公有成员,您可以自由访问它.</font></p> \n");
  t.staticMember = T("此成员也是静态成员.");
  t.navOverview = T(" 概述 ");
  t.navMembers = T(" 类列表 ");
  t.navChart = T(" 类结构层次图");
  t.navFunctionOverview = T(" 概述");
  t.navFunctionMembers = T(" 类列表");
  t.navFunctionChart = T(" 类结构层次图 ");
  for (int i = 0; i < 3; ++i) t.functionAccessBefore[i] = T("<P>此函数是类");
  t.functionAccessAfter[0] = T("的保护成员.</P>  \n");
  t.functionAccessAfter[1] = T("的私有成员,您不能直接访问它.</P>  \n");
  t.functionAccessAfter[2] = T("的公有成员,您可以自由访问它.</P>  \n");
  t.virtualFunction = T("<P>此成员函数也是虚函数,您可以根据需要重载它.</P>  \n");
  t.staticFunction = T("<p>此成员函数是静态函数.</p>  \n");
  t.definedInParagraph = T("<P>定义于: ");
  t.returnHeading = T("<P><B>返回值</B></P>\n");
  t.remarksHeading = T("<P><B>备注</B></P>\n");
  t.seeAlsoHeading = T("<P><B>参考:</B></P>\n");
  return t;
}

const PageTexts& TextsOf(DocLanguage language) {
  static const PageTexts english = MakeTexts(DocLanguage::English);
  static const PageTexts gb = MakeTexts(DocLanguage::GB);
  return language == DocLanguage::GB ? gb : english;
}

// The Big5 pages' own sentences.
struct Big5Texts {
  CString classTitle, definedIn, headFunctions, headVariables, seeAlso;
  CString functionAccess[3], variableAccess[3];  // protected, private, public
  CString virtualFunction, staticFunction, staticVariable;
  CString variablePageAccess[3], variablePageStatic;
  CString functionDefinedIn, returnHeading, parameterHeading, remarksHeading, seeAlsoHeading;
};

const Big5Texts& Big5TextsOf() {
  static const Big5Texts texts = [] {
    auto T = [](const char* lpsz) { return DocText(DocLanguage::Big5, lpsz); };
    Big5Texts t;
    t.classTitle = T("<h1><a name=\"secbrowseeditbase\"></a>類別名:");
    t.definedIn = T("<p class=\"indent\">定義文件: ");
    t.headFunctions = T("<h1>成員函數: </h1>\n");
    t.headVariables = T("<h1>成員變數:</h1>\n");
    t.seeAlso = T("<h4>參見</h4>  \n");
    t.functionAccess[0] = T("<p class=\"indent\">此函數是保護成員函數.</p> \n");
    t.functionAccess[1] = T("<p class=\"indent\">此函數是私有成員函數.</p> \n");
    t.functionAccess[2] = T("<p class=\"indent\">此函數是公有成員函數.</p> \n");
    t.variableAccess[0] = T("<p class=\"indent\">此變數是保護成員變數.</p> \n");
    t.variableAccess[1] = T("<p class=\"indent\">此變數是私有成員變數.</p> \n");
    t.variableAccess[2] = T("<p class=\"indent\">此變數是公有成員變數.</p> \n");
    t.virtualFunction = T("<p class=\"indent\">此函數是虛擬函數.</p> \n");
    t.staticFunction = T("<p class=\"indent\">此函數是靜態成員函數.</p> \n");
    t.staticVariable = T("<p class=\"indent\">此變數是靜態成員變數.</p> \n");
    t.variablePageAccess[0] = T("的一個保護成員變數，您可以在繼承類別或者友元類別中訪問此變數，</p>  \n");
    t.variablePageAccess[1] = T("的一個私有成員變數，您可以通過外部接口函數訪問此變數，</p>  \n");
    t.variablePageAccess[2] = T("的一個公有成員變數，您可以直接訪問此變數，</p>  \n");
    t.variablePageStatic = T("<p>此變數是靜態成員變數.</p>  \n");
    t.functionDefinedIn = T("<P>定義文件: ");
    t.returnHeading = T("<P><B>返回值</B></P>\n");
    t.parameterHeading = T("<P><B>參數</B></P>\n");
    t.remarksHeading = T("<P><B>注釋</B></P>\n");
    t.seeAlsoHeading = T("<P><B>參見</B></P>\n");
    return t;
  }();
  return texts;
}

// Index of an access into the tables ordered protected, private, public; -1 for any other value.
int AccessIndex(int nAccess) {
  return nAccess >= MEMBER_PROTECTED && nAccess <= MEMBER_PUBLIC ? nAccess - MEMBER_PROTECTED : -1;
}

CString JoinParameters(DocLanguage language, const CStringList& list, const TextCodePage& source) {
  CString strJoined;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    if (!strJoined.IsEmpty()) strJoined += ",";
    strJoined += list.GetNext(pos);
  }
  return ProjectText(language, strJoined, source);
}

// One class's pages in one language.
class ClassPageWriter {
 public:
  // The project gives the options; the default texts need none.
  ClassPageWriter(const CFileObj& cls, const CWorkSpaceObj* pProject, DocLanguage language)
      : m_cls(cls),
        m_pProject(pProject),
        m_language(language),
        m_class(ProjectText(language, cls.m_strClassName)),
        m_fixedClass(HtmlAttr(LinkNameOf(cls.FileName()))),
        m_header(::ProjectText(language, cls.m_strHeaderFile, TextCodePage())) {}

  void ClassPage(PageText& out) const;
  void Big5ClassPage(PageText& out) const;
  BOOL VariablePages(const OutputFolder& classFolder, DocumentationProgress* pProgress) const;
  BOOL FunctionPages(const OutputFolder& classFolder, DocumentationProgress* pProgress) const;
  void FunctionDefault(PageText& out, const CMemberFunctionObj* pFunction) const;
  void VariableDefault(PageText& out, const CVariableObj* pVariable) const;

 private:
  template <class List, class Write>
  BOOL MemberPages(const List& list, const OutputFolder& classFolder, LPCTSTR lpszSubfolder, bool bFunctions,
                   DocumentationProgress* pProgress, Write&& write) const;
  void VariablePage(PageText& out, const CVariableObj* pVariable) const;
  void Big5VariablePage(PageText& out, const CVariableObj* pVariable) const;
  void FunctionPage(PageText& out, const CMemberFunctionObj* pFunction) const;
  void Big5FunctionPage(PageText& out, const CMemberFunctionObj* pFunction) const;
  void FunctionEntry(PageText& out, const CMemberFunctionObj* pFunction) const;
  void VariableEntry(PageText& out, const CVariableObj* pVariable) const;
  void Navigation(PageText& out, const CString& strOverview, const CString& strMembers,
                  const CString& strChart) const;
  CString Remark(const CMemberFunctionObj* pFunction, bool bLong) const {
    return LookUpDefault(RemarkTable(m_language), DocMatch::Prefix, pFunction->m_strName, m_cls.m_strClassName,
                         pFunction->m_strName, m_cls.m_codePage, bLong);
  }
  CString TypeText(const DocTable& table, const CString& strType, const CString& strName) const {
    return LookUpDefault(table, DocMatch::Substring, strType, m_cls.m_strClassName, strName, m_cls.m_codePage);
  }
  // The class's texts are in the code page its header was read in (the header's name is the file
  // system's): the writer's texts convert from it.
  CString ProjectText(DocLanguage language, const CString& strText) const {
    return ::ProjectText(language, strText, m_cls.m_codePage);
  }
  // An anchor's name, escaped for its attribute, in the page's code page as the names the page
  // shows are (a GB2312 name on a Big5 page in Big5, on an English page as references).
  CString Anchor(const CString& strName) const { return SourceText(m_language, HtmlAttr(strName), m_cls.m_codePage); }
  CString JoinParameters(DocLanguage language, const CStringList& list) const {
    return ::JoinParameters(language, list, m_cls.m_codePage);
  }

  const CFileObj& m_cls;
  const CWorkSpaceObj* m_pProject;
  DocLanguage m_language;
  CString m_class;       // escaped for text
  CString m_fixedClass;  // the file name as links name it, escaped for attributes
  CString m_header;
};

void ClassPageWriter::ClassPage(PageText& out) const {
  const PageTexts& t = TextsOf(m_language);
  const CString& F = t.font;
  out << t.classTitleOpen << "<a name=\"" << Anchor(m_cls.m_strClassName) << "\"></a>" << m_class
      << t.classTitleClose;
  out << "<p><img border=\"0\" src=\"../Image2/" << m_fixedClass << ".bmp\" width=\"" << m_cls.m_nBitmapWidth
      << "\" height=\"" << m_cls.m_nBitmapHeight << "\"></p>\n";
  const CString strBase = ProjectText(m_language, m_cls.m_strBaseClassName);
  if (m_cls.m_BaseClassList.IsEmpty())
    out << "<p><b>class " << m_class << "</b></p> \n";
  else
    out << "<p><b>" << F << "class " << m_class << ": public " << strBase << "</font></b></p> \n";
  if (m_cls.m_strBaseClassName.IsEmpty())
    out << "<p>" << F << t.useBefore << m_class << t.useAfter << "</font></p>\n";
  else
    out << "<p>" << F << t.derivedBefore << m_class << t.derivedMiddle << strBase << t.derivedAfter << "</font></p>\n";
  out << "<p>" << F << t.definedIn << m_header << "</font></p> \n";
  out << t.headClassMembers << t.headMemberFunctions;
  static const int kSectionOrder[3] = {MEMBER_PUBLIC, MEMBER_PROTECTED, MEMBER_PRIVATE};
  for (int i = 0; i < 3; ++i) {
    const int nAccess = kSectionOrder[i];
    if (!IsFunctionDocumented(*m_pProject, nAccess)) continue;
    bool bHeading = false;
    for (POSITION pos = m_cls.m_MemberFunctionList.GetHeadPosition(); pos != nullptr;) {
      const CMemberFunctionObj* pFunction = m_cls.m_MemberFunctionList.GetNext(pos);
      if (pFunction->m_nAccess != nAccess) continue;
      if (!bHeading) out << t.accessHeading[i];
      bHeading = true;
      FunctionEntry(out, pFunction);
    }
  }
  out << t.headDataMembers;
  for (int i = 0; i < 3; ++i) {
    const int nAccess = kSectionOrder[i];
    if (!IsVariableDocumented(*m_pProject, nAccess)) continue;
    bool bHeading = false;
    for (POSITION pos = m_cls.m_VariableList.GetHeadPosition(); pos != nullptr;) {
      const CVariableObj* pVariable = m_cls.m_VariableList.GetNext(pos);
      if (pVariable->m_nAccess != nAccess) continue;
      if (!bHeading) out << t.accessHeading[i];
      bHeading = true;
      VariableEntry(out, pVariable);
    }
  }
  out << "<h4>" << F << t.seeAlso << "</font></h4>  \n";
}

void ClassPageWriter::FunctionEntry(PageText& out, const CMemberFunctionObj* pFunction) const {
  const PageTexts& t = TextsOf(m_language);
  out << "<p class=\"dt\"><b>" << t.font << (pFunction->m_bVirtual ? "virtual " : "")
      << ProjectText(m_language, pFunction->m_strReturnType) << "</font></b> <a href=\"Member Functions/"
      << HtmlAttr(LinkNameOf(m_cls.MemberPageName(pFunction->m_strUniqueName))) << ".htm\">"
      << ProjectText(m_language, pFunction->m_strName) << "</a><b>\n";
  out << "(" << JoinParameters(m_language, pFunction->m_ParameterList) << ")</b></p> \n";
  if (pFunction->m_bStatic)
    out << "<p class=\"indent\">" << t.font << t.staticFunctionBefore << m_class << t.staticFunctionAfter
        << "</font></p> \n";
  if (!pFunction->m_strComment.IsEmpty())
    out << ProjectText(m_language, pFunction->m_strComment) << "\n";
  else
    FunctionDefault(out, pFunction);
}

void ClassPageWriter::VariableEntry(PageText& out, const CVariableObj* pVariable) const {
  const PageTexts& t = TextsOf(m_language);
  out << "<p class=\"dt\"><b>" << t.font << ProjectText(m_language, pVariable->m_strType) << "</font></b> " << t.font
      << "<a href=\"Member Vars/" << HtmlAttr(LinkNameOf(m_cls.MemberPageName(pVariable->m_strUniqueName))) << ".htm\">"
      << ProjectText(m_language, pVariable->m_strName) << "</font></a></p> \n";
  if (pVariable->m_bStatic)
    out << "<p class=\"indent\">" << t.font << t.staticVariableBefore << m_class << t.staticVariableAfter
        << "</font></p> \n";
  if (!pVariable->m_strComment.IsEmpty())
    out << ProjectText(m_language, pVariable->m_strComment) << "\n";
  else
    VariableDefault(out, pVariable);
}

// The class page's default for a function: its remark as one paragraph.
void ClassPageWriter::FunctionDefault(PageText& out, const CMemberFunctionObj* pFunction) const {
  out << "<p>" << TextsOf(m_language).font << Remark(pFunction, false) << "</font></p>  \n";
}

void ClassPageWriter::VariableDefault(PageText& out, const CVariableObj* pVariable) const {
  out << "<p>" << TextsOf(m_language).font
      << TypeText(VariableTypeTable(m_language), pVariable->m_strType, pVariable->m_strName) << "</font></p>  \n";
}

void ClassPageWriter::Big5ClassPage(PageText& out) const {
  const Big5Texts& t = Big5TextsOf();
  out << t.classTitle << m_class << "</h1> \n";
  out << "<p><img border=\"0\" src=\"../Image2/" << m_fixedClass << ".bmp\" width=\"" << m_cls.m_nBitmapWidth
      << "\" height=\"" << m_cls.m_nBitmapHeight << "\"></p>\n";
  out << t.definedIn << m_header << "</p> \n";
  out << t.headFunctions;
  for (POSITION pos = m_cls.m_MemberFunctionList.GetHeadPosition(); pos != nullptr;) {
    const CMemberFunctionObj* pFunction = m_cls.m_MemberFunctionList.GetNext(pos);
    if (!IsFunctionDocumented(*m_pProject, pFunction->m_nAccess)) continue;
    out << "<p class=\"dt\"><b>" << (pFunction->m_bVirtual ? "virtual " : "")
        << ProjectText(m_language, pFunction->m_strReturnType) << "</b> <a href=\"Member Functions/"
        << HtmlAttr(LinkNameOf(m_cls.MemberPageName(pFunction->m_strUniqueName))) << ".htm\">"
        << ProjectText(m_language, pFunction->m_strName) << "</a><b>("
        << JoinParameters(m_language, pFunction->m_ParameterList) << ")</b></p> \n";
    out << t.functionAccess[AccessIndex(pFunction->m_nAccess)];
    if (pFunction->m_bVirtual) out << t.virtualFunction;
    if (pFunction->m_bStatic) out << t.staticFunction;
    if (!pFunction->m_strComment.IsEmpty())
      out << "<p class=\"indent\">" << ProjectText(m_language, pFunction->m_strComment) << "</p> \n";
  }
  out << t.headVariables;
  for (POSITION pos = m_cls.m_VariableList.GetHeadPosition(); pos != nullptr;) {
    const CVariableObj* pVariable = m_cls.m_VariableList.GetNext(pos);
    if (!IsVariableDocumented(*m_pProject, pVariable->m_nAccess)) continue;
    out << "<p class=\"dt\"><b>" << ProjectText(m_language, pVariable->m_strType) << "</b> <a href=\"Member Vars/"
        << HtmlAttr(LinkNameOf(m_cls.MemberPageName(pVariable->m_strUniqueName))) << ".htm\">"
        << ProjectText(m_language, pVariable->m_strName) << "</a></p> \n";
    out << t.variableAccess[AccessIndex(pVariable->m_nAccess)];
    if (pVariable->m_bStatic) out << t.staticVariable;
    if (!pVariable->m_strComment.IsEmpty())
      out << "<p class=\"indent\">" << ProjectText(m_language, pVariable->m_strComment) << "</p> \n";
  }
  out << t.seeAlso;
}

template <class List, class Write>
BOOL ClassPageWriter::MemberPages(const List& list, const OutputFolder& classFolder, LPCTSTR lpszSubfolder,
                                  bool bFunctions, DocumentationProgress* pProgress, Write&& write) const {
  OutputFolder pageFolder;  // opened at the first page (made when a kept class folder lacks it)
  PageText out;
  BOOL bAll = TRUE;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const auto* pMember = list.GetNext(pos);
    const BOOL bDocumented = bFunctions ? IsFunctionDocumented(*m_pProject, pMember->m_nAccess)
                                        : IsVariableDocumented(*m_pProject, pMember->m_nAccess);
    if (!bDocumented) continue;
    if (IsRunStopped(pProgress)) return bAll;
    if (!pageFolder.IsOpen()) pageFolder = classFolder.Subfolder(lpszSubfolder);
    const CString strName = m_cls.MemberPageName(pMember->m_strUniqueName) + ".htm";
    if (pProgress != nullptr) pProgress->SetCaption(pMember->m_strUniqueName + ".htm");
    out.clear();
    WritePageHead(out, m_language, pMember->m_strUniqueName, m_cls.m_codePage);
    write(out, pMember);
    WritePageEnd(out);
    // A page that cannot be written is told with its reason, and the class's other pages follow.
    const BOOL bWritten = out.WriteTo(pageFolder, strName);
    const int nError = bWritten ? 0 : errno;
    const CString strPath = m_cls.FileName() + "\\" + lpszSubfolder + "\\" + strName;
    if (bWritten) {
      if (pProgress != nullptr) pProgress->PageWritten(strPath);
    } else {
      if (pProgress != nullptr) pProgress->ClassPageFailed(m_cls.m_strClassName, strPath, nError);
      bAll = FALSE;
    }
  }
  return bAll;
}

BOOL ClassPageWriter::VariablePages(const OutputFolder& classFolder, DocumentationProgress* pProgress) const {
  return MemberPages(m_cls.m_VariableList, classFolder, "Member Vars", false, pProgress,
                     [this](PageText& out, const CVariableObj* pVariable) {
                       if (m_language == DocLanguage::Big5)
                         Big5VariablePage(out, pVariable);
                       else
                         VariablePage(out, pVariable);
                     });
}

BOOL ClassPageWriter::FunctionPages(const OutputFolder& classFolder, DocumentationProgress* pProgress) const {
  return MemberPages(m_cls.m_MemberFunctionList, classFolder, "Member Functions", true, pProgress,
                     [this](PageText& out, const CMemberFunctionObj* pFunction) {
                       if (m_language == DocLanguage::Big5)
                         Big5FunctionPage(out, pFunction);
                       else
                         FunctionPage(out, pFunction);
                     });
}

void ClassPageWriter::Navigation(PageText& out, const CString& strOverview, const CString& strMembers,
                                 const CString& strChart) const {
  const CString& F = TextsOf(m_language).font;
  out << "<P><a href=\"../" << m_fixedClass << ".htm\"><b>" << F << " " << m_class << strOverview
      << "</font></b></a><b>|</b><a href=\"../../Index.htm\"><b>" << F << strMembers
      << "</font></b></a><b> |&nbsp; </b><a href=\"../../Hierarchy_Chart.htm\"><b>" << F << strChart
      << "</font></b></a></P>\n";
}

void ClassPageWriter::VariablePage(PageText& out, const CVariableObj* pVariable) const {
  const PageTexts& t = TextsOf(m_language);
  const CString& F = t.font;
  const CString strName = ProjectText(m_language, pVariable->m_strName);
  const int nAccess = AccessIndex(pVariable->m_nAccess);
  out << "<h1>" << t.font4 << m_class << "::" << strName << "</font></h1>\n";
  out << "<p><b>" << F << ProjectText(m_language, pVariable->m_strType) << "</font></b>  <a href=\"../" << m_fixedClass
      << ".htm\">" << F << m_class << "</font></a><b>" << F << "::" << strName << "</font></b></p>  \n";
  out << "<p class=\"indent\">" << F;
  if (!pVariable->m_strComment.IsEmpty()) out << ProjectText(m_language, pVariable->m_strComment) << ",";
  out << t.variableAccessBefore[nAccess] << m_class << t.variableAccessAfter[nAccess];
  out << "<P>" << F << TypeText(VariableTypeTable(m_language), pVariable->m_strType, pVariable->m_strName)
      << "</font></P>  \n";
  if (pVariable->m_bStatic) out << "<P>" << F << t.staticMember << "</font></P>  \n";
  out << "<P>" << F << t.definedIn << m_header << "</font></P>\n";
  out << "<h4>" << F << t.seeAlso << "</font></h4>  \n";
  Navigation(out, t.navOverview, t.navMembers, t.navChart);
}

void ClassPageWriter::FunctionPage(PageText& out, const CMemberFunctionObj* pFunction) const {
  const PageTexts& t = TextsOf(m_language);
  const CString strName = ProjectText(m_language, pFunction->m_strName);
  const int nAccess = AccessIndex(pFunction->m_nAccess);
  out << "<h1>" << t.font4 << "<a name=\"" << Anchor(m_cls.m_strClassName + "__" + pFunction->m_strName) << "\"></a>"
      << m_class << "::" << strName << "</font></h1>\n";
  out << "<P><B>" << ProjectText(m_language, pFunction->m_strReturnType) << "</B> <B>" << m_class << "::" << strName
      << "(" << JoinParameters(m_language, pFunction->m_ParameterList) << "\n"
      << ") </B></P>\n";
  if (!pFunction->m_strComment.IsEmpty()) out << ProjectText(m_language, pFunction->m_strComment) << ",";
  out << t.functionAccessBefore[nAccess] << m_class << t.functionAccessAfter[nAccess];
  if (pFunction->m_bVirtual) out << t.virtualFunction;
  if (pFunction->m_bStatic) out << t.staticFunction;
  out << t.definedInParagraph << m_header << "</P>\n" << t.returnHeading;
  out << "<P>" << TypeText(ReturnTypeTable(m_language), pFunction->m_strReturnType, pFunction->m_strName)
      << "</P>  \n";
  if (!pFunction->m_ParameterList.IsEmpty()) {
    out << t.parameterHeading;
    for (POSITION pos = pFunction->m_ParameterList.GetHeadPosition(); pos != nullptr;) {
      const CString& strParameter = pFunction->m_ParameterList.GetNext(pos);
      out << "<P><I>" << ProjectText(m_language, strParameter) << "</I></P>\n";
      out << "<P>" << TypeText(ParameterTypeTable(m_language), strParameter, pFunction->m_strName) << "</P>  \n";
    }
  }
  out << t.remarksHeading << "<P> " << Remark(pFunction, true) << "\n" << t.seeAlsoHeading;
  Navigation(out, t.navFunctionOverview, t.navFunctionMembers, t.navFunctionChart);
}

void ClassPageWriter::Big5VariablePage(PageText& out, const CVariableObj* pVariable) const {
  const Big5Texts& t = Big5TextsOf();
  const CString strName = ProjectText(m_language, pVariable->m_strName);
  out << "<h1>" << m_class << "::" << strName << "</h1>\n";
  out << "<p><b>" << ProjectText(m_language, pVariable->m_strType) << "</b>  <a href=\"../" << m_fixedClass << ".htm\">"
      << m_class << "</a><b>::" << strName << "</b></p>  \n";
  if (!pVariable->m_strComment.IsEmpty())
    out << "<p>" << ProjectText(m_language, pVariable->m_strComment) << "</p>  \n";
  out << DocText(DocLanguage::Big5, "<p>此變數是類別") << m_class << t.variablePageAccess[AccessIndex(pVariable->m_nAccess)];
  out << "<p>" << TypeText(VariableTypeTable(DocLanguage::Big5), pVariable->m_strType, pVariable->m_strName)
      << "</p>  \n";
  if (pVariable->m_bStatic) out << t.variablePageStatic;
  out << t.seeAlso;
}

void ClassPageWriter::Big5FunctionPage(PageText& out, const CMemberFunctionObj* pFunction) const {
  const Big5Texts& t = Big5TextsOf();
  out << "<P><A name=\"" << Anchor(m_cls.m_strClassName + "__" + pFunction->m_strName) << "\"></A><B>" << m_class
      << "::" << ProjectText(m_language, pFunction->m_strName) << "</B></P>\n";
  if (!pFunction->m_strComment.IsEmpty()) out << "<P>" << ProjectText(m_language, pFunction->m_strComment) << "</P>\n";
  out << t.functionDefinedIn << m_header << "</P>\n" << t.returnHeading;
  out << "<P>" << TypeText(ReturnTypeTable(DocLanguage::Big5), pFunction->m_strReturnType, pFunction->m_strName)
      << "</P>  \n";
  out << t.parameterHeading;
  for (POSITION pos = pFunction->m_ParameterList.GetHeadPosition(); pos != nullptr;) {
    const CString& strParameter = pFunction->m_ParameterList.GetNext(pos);
    out << "<P><I>" << ProjectText(m_language, strParameter) << "</I></P>\n";
    out << "<P>" << TypeText(ParameterTypeTable(DocLanguage::Big5), strParameter, pFunction->m_strName) << "</P>  \n";
  }
  out << t.remarksHeading << "<P> " << Remark(pFunction, true) << "\n" << t.seeAlsoHeading;
}

template <class Member>
BOOL HasNoMember(const CTypedPtrList<CObList, Member*>& list, int nAccess) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
    if (list.GetNext(pos)->m_nAccess == nAccess) return FALSE;
  return TRUE;
}

template <class Member>
BOOL HoldsUniqueName(const CTypedPtrList<CObList, Member*>& list, const CString& strName) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
    if (list.GetNext(pos)->m_strUniqueName.CompareNoCase(strName) == 0) return TRUE;
  return FALSE;
}

bool IsNameSeparator(char ch) { return ch == '\\' || ch == ':'; }

// The class's folder under the Htmls folder named by the path (made when missing).
OutputFolder OpenClassFolder(const CString& strFolder, const CFileObj& cls) {
  return OutputFolder::Open(strFolder, 0).Subfolder(cls.FileName());
}

}  // namespace

void CFileObj::WriteGBClassPage(PageText& out, const CWorkSpaceObj& project) const {
  ClassPageWriter(*this, &project, DocLanguage::GB).ClassPage(out);
}

void CFileObj::WriteBig5ClassPage(PageText& out, const CWorkSpaceObj& project) const {
  ClassPageWriter(*this, &project, DocLanguage::Big5).Big5ClassPage(out);
}

void CFileObj::WriteEnglishClassPage(PageText& out, const CWorkSpaceObj& project) const {
  ClassPageWriter(*this, &project, DocLanguage::English).ClassPage(out);
}

BOOL CFileObj::WriteGBVariablePages(CString strFolder, const CWorkSpaceObj& project,
                                    DocumentationProgress* pProgress) const {
  return ClassPageWriter(*this, &project, DocLanguage::GB).VariablePages(OpenClassFolder(strFolder, *this), pProgress);
}

BOOL CFileObj::WriteBig5VariablePages(CString strFolder, const CWorkSpaceObj& project,
                                      DocumentationProgress* pProgress) const {
  return ClassPageWriter(*this, &project, DocLanguage::Big5).VariablePages(OpenClassFolder(strFolder, *this), pProgress);
}

BOOL CFileObj::WriteEnglishVariablePages(CString strFolder, const CWorkSpaceObj& project,
                                         DocumentationProgress* pProgress) const {
  return ClassPageWriter(*this, &project, DocLanguage::English).VariablePages(OpenClassFolder(strFolder, *this), pProgress);
}

BOOL CFileObj::WriteGBFunctionPages(CString strFolder, const CWorkSpaceObj& project,
                                    DocumentationProgress* pProgress) const {
  return ClassPageWriter(*this, &project, DocLanguage::GB).FunctionPages(OpenClassFolder(strFolder, *this), pProgress);
}

BOOL CFileObj::WriteBig5FunctionPages(CString strFolder, const CWorkSpaceObj& project,
                                      DocumentationProgress* pProgress) const {
  return ClassPageWriter(*this, &project, DocLanguage::Big5).FunctionPages(OpenClassFolder(strFolder, *this), pProgress);
}

BOOL CFileObj::WriteEnglishFunctionPages(CString strFolder, const CWorkSpaceObj& project,
                                         DocumentationProgress* pProgress) const {
  return ClassPageWriter(*this, &project, DocLanguage::English).FunctionPages(OpenClassFolder(strFolder, *this), pProgress);
}

BOOL CFileObj::WriteVariablePages(int nLanguage, const OutputFolder& classFolder, const CWorkSpaceObj& project,
                                  DocumentationProgress* pProgress) const {
  return ClassPageWriter(*this, &project, DocLanguageOf(nLanguage)).VariablePages(classFolder, pProgress);
}

BOOL CFileObj::WriteFunctionPages(int nLanguage, const OutputFolder& classFolder, const CWorkSpaceObj& project,
                                  DocumentationProgress* pProgress) const {
  return ClassPageWriter(*this, &project, DocLanguageOf(nLanguage)).FunctionPages(classFolder, pProgress);
}

void CFileObj::WriteGBFunctionDefault(PageText& out, const CMemberFunctionObj* pFunction) const {
  ClassPageWriter(*this, nullptr, DocLanguage::GB).FunctionDefault(out, pFunction);
}

void CFileObj::WriteEnglishFunctionDefault(PageText& out, const CMemberFunctionObj* pFunction) const {
  ClassPageWriter(*this, nullptr, DocLanguage::English).FunctionDefault(out, pFunction);
}

void CFileObj::WriteGBVariableDefault(PageText& out, const CVariableObj* pVariable) const {
  ClassPageWriter(*this, nullptr, DocLanguage::GB).VariableDefault(out, pVariable);
}

void CFileObj::WriteEnglishVariableDefault(PageText& out, const CVariableObj* pVariable) const {
  ClassPageWriter(*this, nullptr, DocLanguage::English).VariableDefault(out, pVariable);
}

void CFileObj::CreateClassFolders(CString strFolder) const { CreateClassFolders(OutputFolder::Open(strFolder, 0)); }

OutputFolder CFileObj::CreateClassFolders(const OutputFolder& htmls) const {
  if (m_strClassName.IsEmpty()) return {};
  const CString strName = FileName();
  if (htmls.HasSubfolder(strName)) return htmls.Subfolder(strName);  // an existing class folder stays as it is
  OutputFolder classFolder = htmls.Subfolder(strName);
  classFolder.Subfolder("Member Vars");
  classFolder.Subfolder("Member Functions");
  return classFolder;
}

BOOL CFileObj::HasNoProtectedFunctions() const { return HasNoMember(m_MemberFunctionList, MEMBER_PROTECTED); }
BOOL CFileObj::HasNoPublicFunctions() const { return HasNoMember(m_MemberFunctionList, MEMBER_PUBLIC); }
BOOL CFileObj::HasNoPrivateFunctions() const { return HasNoMember(m_MemberFunctionList, MEMBER_PRIVATE); }
BOOL CFileObj::HasNoProtectedVariables() const { return HasNoMember(m_VariableList, MEMBER_PROTECTED); }
BOOL CFileObj::HasNoPublicVariables() const { return HasNoMember(m_VariableList, MEMBER_PUBLIC); }
BOOL CFileObj::HasNoPrivateVariables() const { return HasNoMember(m_VariableList, MEMBER_PRIVATE); }

BOOL CFileObj::ContainsVariable(CString strName) const { return HoldsUniqueName(m_VariableList, strName); }
BOOL CFileObj::ContainsFunction(CString strName) const { return HoldsUniqueName(m_MemberFunctionList, strName); }

namespace {

// The bytes a file name does not hold as they are: FixFileName writes a separator of paths (or of
// a list of them) as a blank and escapes the others.
bool IsSeparatorByte(unsigned char ch) { return ch == ';' || ch == '/' || ch == '\\'; }
bool IsEscapedByte(unsigned char ch) {
  static const char kEscaped[] = "=*?\"<>|:#%@&";
  return ch < 0x20 || ch == 0x7F || (ch != 0 && std::strchr(kEscaped, ch) != nullptr);
}

// Whether the bytes of one character stay that character in a file name: a double-byte
// character whose second byte is one of those FixFileName changes ("\\" in Big5's 功, 許 and 蓋;
// "|" or "@" in others) would be left half a character.
bool StaysWholeInFileName(std::string_view character) {
  if (character.size() < 2) return true;
  return std::none_of(character.begin(), character.end(), [](char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return IsSeparatorByte(byte) || IsEscapedByte(byte);
  });
}

}  // namespace

void CFileObj::FixFileName(CString& strName) {
  // "::" first, so that it becomes one blank and not two.
  strName.Replace("::", " ");
  std::string fixed;
  fixed.reserve(static_cast<size_t>(strName.GetLength()));
  for (int i = 0; i < strName.GetLength(); ++i) {
    const auto ch = static_cast<unsigned char>(strName[i]);
    if (IsSeparatorByte(ch)) {
      fixed += ' ';
    } else if (IsEscapedByte(ch)) {
      static const char kDigits[] = "0123456789ABCDEF";
      fixed += '@';
      fixed += kDigits[ch >> 4];
      fixed += kDigits[ch & 15];
    } else {
      fixed += static_cast<char>(ch);
    }
  }
  // "." and ".." name a folder that is already there (the folder itself, its parent): a class of
  // that name gets a folder of its own.
  if (fixed == "." || fixed == "..") {
    std::string escaped;
    for (size_t i = 0; i < fixed.size(); ++i) escaped += "@2E";
    fixed = escaped;
  }
  strName = CString(fixed.data(), static_cast<int>(fixed.size()));
}

CString CFileObj::FixedName(CString strName) {
  FixFileName(strName);
  return strName;
}

int CFileObj::PageNameLimit(std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  const size_t nFolderBytes = folder.size();
  // The longest path: <folder>/<class>(n)/Member Functions/.~<member>.htm.part, the class name
  // with up to 12 bytes of "(n)", the member page under its temporary name.
  constexpr size_t kFixedBytes = 1 + 12 + 1 + 16 + 1 + 11;
  constexpr size_t kLongestPath = PATH_MAX - 1;
  const size_t nRoom = nFolderBytes + kFixedBytes < kLongestPath ? (kLongestPath - nFolderBytes - kFixedBytes) / 2 : 0;
  return static_cast<int>(std::clamp<size_t>(nRoom, kShortestPageName, kLongestPageName));
}

CString CFileObj::CutName(const CString& strFixed, int nBytes) {
  if (strFixed.GetLength() <= nBytes) return strFixed;
  // FNV-1a over the whole name, the same on every run and machine.
  unsigned long long nHash = 14695981039346656037ull;
  for (int i = 0; i < strFixed.GetLength(); ++i) {
    nHash ^= static_cast<unsigned char>(strFixed[i]);
    nHash *= 1099511628211ull;
  }
  char szHash[24];
  std::snprintf(szHash, sizeof szHash, "~%016llX", nHash);
  int nKeep = std::max(0, nBytes - static_cast<int>(std::strlen(szHash)));
  // A byte below 0x80 ends a character in every code page the headers come in (a double-byte
  // character's second byte may be one, its first never is; UTF-8 continues only with bytes above).
  while (nKeep > 0 && static_cast<unsigned char>(strFixed[nKeep - 1]) >= 0x80) --nKeep;
  // Nor does the kept part end in a blank or a dot, which some file systems drop.
  while (nKeep > 0 && (strFixed[nKeep - 1] == ' ' || strFixed[nKeep - 1] == '.')) --nKeep;
  return strFixed.Left(nKeep) + szHash;
}

CString CFileObj::ProgramSpelling(const CString& strName) const {
  const std::string_view name(strName, static_cast<size_t>(strName.GetLength()));
  const UINT nCodePage = m_codePage.nCodePage;
  if (nCodePage == 0 || nCodePage == kShiftJisCodePage || brambolt::IsAsciiText(name)) return strName;
  const std::u32string characters = AFBig2GBObj::ReadText(name, nCodePage);
  std::string bytes;
  // Whether each character, in the code page given, has bytes that stay it in a file name.
  const auto staysWhole = [&](UINT nTo) {
    return std::all_of(characters.begin(), characters.end(), [&](char32_t ch) {
      return ch < 0x80 || !brambolt::CodePageBytesOf(ch, bytes, nTo) || StaysWholeInFileName(bytes);
    });
  };
  // In the program's code page, where every character converts and the system can spell it.
  std::string spelled(name);
  const bool bConverted = nCodePage == ::GetACP() || brambolt::ConvertExactly(name, nCodePage, CP_ACP, spelled);
  if (bConverted && brambolt::SystemCanSpell(spelled) && staysWhole(CP_ACP))
    return CString(spelled.data(), static_cast<int>(spelled.size()));
  // A name of characters the code page lacks, as the system's own bytes where its charset holds
  // them all (a UTF-8 locale's): the output folder takes such a name as it stands. A name the code
  // page spells, only not whole in a file name, is never held so: its system bytes read back as
  // the code page's letters (the listing of its folder gives them so), and the name would stand
  // for two spellings, one of them with a "\" or "|" inside a character. It is numbered as below,
  // as under a locale of the code page's own charset.
  const UINT nSystemCodePage = brambolt::GetSystemNameCodePage();
  std::string system;
  bool bSystem = nSystemCodePage != CP_ACP;
  for (size_t i = 0; bSystem && i < characters.size(); ++i) {
    bSystem = brambolt::CodePageBytesOf(characters[i], bytes, nSystemCodePage) && StaysWholeInFileName(bytes);
    if (bSystem) system += bytes;
  }
  if (bSystem && !brambolt::IsCodePageName(system) && brambolt::SystemNameOf(system) == system)
    return CString(system.data(), static_cast<int>(system.size()));
  // Else each character the system cannot spell is written as its number, "(U+00F6)", which no
  // name of C++ holds: the name reaches its file and reads the same under every locale, never as
  // bytes of a charset the desktop does not show.
  spelled.clear();
  for (const char32_t ch : characters) {
    if (ch < 0x80) {
      spelled += static_cast<char>(ch);
    } else if (brambolt::CodePageBytesOf(ch, bytes) && brambolt::SystemCanSpell(bytes) && StaysWholeInFileName(bytes)) {
      spelled += bytes;
    } else {
      char szNumber[16];
      std::snprintf(szNumber, sizeof szNumber, "(U+%04X)", static_cast<unsigned>(ch));
      spelled += szNumber;
    }
  }
  return CString(spelled.data(), static_cast<int>(spelled.size()));
}

CString CFileObj::MemberPageName(const CString& strUniqueName) const {
  return CutName(FixedName(ProgramSpelling(strUniqueName)), m_nPageNameBytes);
}

CString CFileObj::FileName() const {
  return m_strFileName.IsEmpty() ? CutName(FixedName(ProgramSpelling(m_strClassName)), m_nPageNameBytes)
                                 : m_strFileName;
}

BOOL CFileObj::FileExists(LPCTSTR lpszPath) {
  CFileStatus status;
  return CFile::GetStatus(lpszPath, status);
}

int CFileObj::FindExtension(LPCTSTR lpszPath) {
  const int nLength = static_cast<int>(std::strlen(lpszPath));
  for (int i = nLength - 1; i >= 0; --i) {
    if (IsNameSeparator(lpszPath[i])) break;
    if (lpszPath[i] == '.') return i;
  }
  return nLength;
}

CString CFileObj::GetFileExtension(LPCTSTR lpszPath) {
  const CString strExtension(lpszPath + FindExtension(lpszPath));
  return strExtension.Left(1) == "." ? strExtension.Mid(1) : strExtension;
}

int CFileObj::FindFileNamePos(LPCTSTR lpszPath) {
  for (int i = static_cast<int>(std::strlen(lpszPath)) - 1; i >= 0; --i)
    if (IsNameSeparator(lpszPath[i])) return i + 1;
  return 0;
}

CString CFileObj::GetFolderPart(LPCTSTR lpszPath, BOOL bKeepSlash) {
  const CString strPath(lpszPath);
  if (strPath.IsEmpty()) return strPath;
  const int nEnd = FindFileNamePos(lpszPath);
  if (nEnd == 0) return bKeepSlash ? ".\\" : ".";
  const int nLast = nEnd - 1;  // the separator
  if (bKeepSlash || lpszPath[nLast] == ':' || nLast == 0 || (nLast > 0 && lpszPath[nLast - 1] == ':'))
    return strPath.Left(nEnd);
  return strPath.Left(nLast);
}
