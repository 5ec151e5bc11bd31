// The open project: its settings and the titles of its open documents (archived as the .dcp
// project file), the analysed class records and the resource records, with the header analyser
// and the class-hierarchy queries that build and read the class records.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/CStdioFile.h"
#include "core/CTypedPtr.h"
#include "core/Lists.h"
#include "gdi/GdiTypes.h"
#include "model/CFileObj.h"
#include "model/ModelIds.h"
#include "model/ResourceRecords.h"

class CException;
class CDC;
namespace kelpwood::foundation {
class SECImage;
}
class DocumentationProgress;
class OutputFolder;
class PageText;

typedef CTypedPtrList<CObList, CFileObj*> CFileObjList;

class CWorkSpaceObj : public CObject {
  DECLARE_SERIAL(CWorkSpaceObj)

 public:
  CWorkSpaceObj();
  ~CWorkSpaceObj() override;

  // ---- Project file ----
  // The .dcp layout: the stored settings, then the document titles. Loading repairs an output
  // language outside 1000-1002 and a shadow size of 600 or more.
  void Serialize(CArchive& ar) override;
  // A shorter layout of the same settings that no file uses.
  virtual void SerializeSettings(CArchive& ar);
  // Writes the project file through a temporary file renamed over it; FALSE on any failure,
  // leaving an existing file as it was. A written file holds every change: the project is no
  // longer modified (nor are its documentation options).
  virtual BOOL SaveToFile(LPCTSTR lpszPathName);
  // SaveToFile that tells the user why it failed (ReportSaveLoadException).
  BOOL SaveAndReport(LPCTSTR lpszPathName);
  // Reads the project file over the settings and replaces the document titles; an empty file
  // sets no setting. FALSE when the file cannot be opened or is not a whole project file; the
  // project is then left as it was. A loaded project is not modified.
  virtual BOOL LoadFromFile(LPCTSTR lpszPathName);
  virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
  // Tells the user through the shell why a transfer of the file failed.
  virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);

  BOOL IsModified() const { return m_bModified; }
  // The project is as its file holds it: neither it nor the options kept in it are changed.
  void MarkUnmodified() {
    m_bModified = FALSE;
    m_bDocOptionsChanged = FALSE;
    m_bHelpSettingsChanged = FALSE;
  }

  void DeleteAllFileObjs();
  void DeleteAllIconResObjs();
  void DeleteAllResIDObjs();
  void DeleteAllDbpFileObjs();
  void DeleteAllRptFileObjs();
  void DeleteAllMenuFileObjs();

  // The first class record of that name (exact comparison), or NULL.
  CFileObj* FindClassByName(CString strClassName) const;
  BOOL IsProjectClass(CString strClassName) const;

  // Reopens the documents of the title list through the shell, chosen by their ending.
  void ReopenDocuments();

  // ---- Header analysis ----
  // Parses every file the pattern lists (the project folder + "Header Files\*.*"), showing
  // progress on the status bar, and appends the classes found to the class list. A file that
  // two names lead to (a link beside it) is read once, under its name that is no link.
  void AnalyseProjectFiles(CString strPattern);
  // Whether what the analyses since DeleteAllFileObjs read is no longer what is on disk: a file
  // read was changed (its time, its size, or another file put in its place) or is gone, or the
  // pattern now lists a file that was not there. The names of the files gone are added to pGone;
  // a file the pattern now lists under another name (renamed) is not gone.
  BOOL HeadersChangedOnDisk(CStringList* pGone = nullptr) const;
  // Parses one header; FALSE when it cannot be opened.
  BOOL ParseSourceFile(CString strPath);

  // The next non-empty code line, trimmed, without its comments; a comment found replaces
  // strComment. nEndOfFile becomes -1 when the file has ended.
  CString ReadCodeLine(CStdioFile& file, int& nEndOfFile, CString& strComment);
  // The next statement of a class body, with continued argument lists joined and bodies
  // dropped. nEndOfClass becomes negative when the statement closed the class.
  CString ReadMemberStatement(CStdioFile& file, int& nEndOfFile, int& nEndOfClass, CString& strComment);
  // How often the token occurs, counting overlapping matches.
  int CountOccurrences(const CString& strText, LPCTSTR lpszToken) const;
  // Removes the comments of a class head line, reading on through an unclosed block comment.
  void ParseClassHead(CStdioFile& file, CString& strHead);
  // Completes the head up to its opening brace (the brace and what follows are dropped).
  void CompleteClassHead(CStdioFile& file, CString& strHead, CString& strComment);
  // Makes the class record of a head and appends it to the class list; NULL when the head names
  // no class.
  CFileObj* CreateClassRecord(CString strHead, CString strPath);
  // Splits a base clause into base names (access words removed); returns the first.
  CString SplitBaseList(CString strText, CStringList& list);
  void SplitParameterList(CString strText, CStringList& list);
  void ParseMemberVariable(CFileObj* pClass, CString strStatement, int nAccess, CString strComment);
  void ParseMemberFunction(CFileObj* pClass, CString strStatement, int nAccess, CString strComment);

  // ---- Classification and hierarchy ----
  // The known-class id of a framework or component-library class name, 0 for any other name.
  DWORD LookUpKnownClass(CString strClassName) const;
  // Appends the records that name the class among their bases (the class itself never).
  void GetDerivedClasses(CFileObjList& list, CString strClassName) const;
  // Adds the descendants of the name, all levels, to *pnCount (a class reached by two paths
  // counts twice; a cycle is followed once); returns the number of direct subclasses.
  int CountDescendants(int* pnCount, CString strClassName) const;
  CString FindNameWithMostDescendants(const CStringList& list) const;
  CFileObj* FindClassWithMostDescendants(const CFileObjList& list) const;
  // Orders by descending number of descendants; equal counts end up in reverse list order.
  void SortNamesByDescendants(CStringList& list) const;
  void SortClassesByDescendants(CFileObjList& list) const;
  BOOL HasNoBaseInProject(const CFileObj* pClass) const;
  void CopyClassList();
  BOOL FindComponentClass(CString& strText, CString strClassName) const;
  void ClearRootClassList();
  // Fills the root-name list and re-orders the class list by descending number of descendants
  // (equal counts in the reverse of the order of analysis). Every class is reached from a root
  // name: a cycle of base names without one gets a root.
  void BuildRootClassList();
  // Puts the class list back in the order of analysis.
  void RestoreAnalysisOrder();
  // The steps the calling thread's hierarchy queries and chart layouts have taken so far (names
  // and links visited, boxes placed): a measure of their work that grows with the class graph.
  static size_t HierarchySteps();

  // ---- Documentation (one driver per output language) ----
  // Write the whole tree into strFolder (the language's Htmls folder, with its backslash): index,
  // chart bitmap and page, then each class's folders, diagram, page and member pages. A class
  // whose pages fail is skipped; returns how many were. Nothing further is written once the
  // progress asks to stop.
  int GenerateGBPages(CString strFolder, DocumentationProgress* pProgress);
  int GenerateBig5Pages(CString strFolder, DocumentationProgress* pProgress);
  int GenerateEnglishPages(CString strFolder, DocumentationProgress* pProgress);
  // The driver for an output language (any unknown one writes GB2312 pages).
  int GeneratePages(int nLanguage, CString strFolder, DocumentationProgress* pProgress);
  // The same into the open Htmls folder.
  int GeneratePages(int nLanguage, const OutputFolder& htmls, DocumentationProgress* pProgress);
  // Every class's folder, diagram and pages, written by a pool of threads (GetDocumentationThreads);
  // returns how many classes could not be written whole.
  int WriteClassPages(int nLanguage, const OutputFolder& htmls, const OutputFolder& images,
                      DocumentationProgress* pProgress) const;
  // "Index.htm" and "Hierarchy_Chart.htm" of the language in the open Htmls folder.
  BOOL WriteIndexPage(int nLanguage, const OutputFolder& htmls);
  BOOL WriteChartPage(int nLanguage, const OutputFolder& htmls);
  // The text of the index page of each language.
  void WriteGBIndexText(PageText& out) const;
  void WriteBig5IndexText(PageText& out) const;
  void WriteEnglishIndexText(PageText& out) const;
  BOOL WriteGBIndexPage(CString strFolder);
  BOOL WriteBig5IndexPage(CString strFolder);
  BOOL WriteEnglishIndexPage(CString strFolder);
  BOOL WriteGBChartPage(CString strFolder);
  BOOL WriteBig5ChartPage(CString strFolder);
  BOOL WriteEnglishChartPage(CString strFolder);
  void ClearAncestorChains();
  // Gives every class the name of its folder, page and diagram: its fixed name, cut to a length
  // that keeps the paths below the page folder (its path on disk given) within the platform's
  // limits, with "(n)" added when an earlier class has the same one ignoring case (the files would
  // be one on lookup).
  void AssignClassFileNames(std::string_view folder = {});
  // Fills every class's ancestor chain, its names as the diagrams of a language (0: the project's)
  // draw them, and its diagram sizes.
  void PrepareClassDiagrams(DocumentationProgress* pProgress, int nLanguage = 0);
  // Appends the name and then its first bases among the project's classes, each name once.
  void AppendAncestors(CStringList& chain, CString strName) const;
  CString GetFirstBaseName(CString strName) const;
  // Refills the component class list from "Component\<name>" beside the program.
  void LoadComponentClassList();

  // ---- Hierarchy chart ----
  BOOL SaveHierarchyChartBitmap(CString strImageFolder);
  // Lays out the chart and writes it as a 24-bit BMP file, drawn in bands of nBandHeight rows
  // whose rows are written as each band is done, so a chart of any size takes the memory of one
  // band. FALSE when it could not be written (the earlier chart stays as it was).
  BOOL WriteHierarchyChartImage(CString strPath, int nBandHeight = 256);
  // The chart of a language (0: the project's) draws the title as that language's pages show it.
  BOOL WriteHierarchyChartImage(const OutputFolder& folder, const CString& strName, int nBandHeight = 256,
                                int nLanguage = 0);
  // Lays out and draws the chart into the image; FALSE when the bitmap could not be made.
  BOOL DrawHierarchyChart(kelpwood::foundation::SECImage& image);
  void MeasureChartBox();
  // Places every box (filling m_ChartBoxes), each as wide as the chart of the language (0: the
  // project's) draws its name, sets the chart size and returns the layout's size.
  CSize LayoutHierarchyChart(int nLanguage = 0);
  // Draws the title and the laid-out boxes onto a DC whose bitmap has the chart's size; with a
  // band, only what reaches into those chart rows (the DC's origin is the caller's business).
  void DrawHierarchyChartBoxes(CDC& dc, const CRect* pBand = nullptr, int nLanguage = 0);
  // The project title (typed in the program, in its code page) as the chart of a language (0:
  // the project's) draws it: PictureText of the title.
  CString ChartTitle(int nLanguage) const;
  // A class name as the chart of the last layout draws it (ChartNames).
  CString ChartName(const CString& strName) const;
  void DrawChartBox(CDC& dc, const RECT& rcBox, CString strName, BOOL bRoot);

  // The state of one layout's walk through the class trees (the path from the root down, the
  // classes laid out so far and what was left out).
  struct ChartWalk;
  // The outline of the subclasses of a class whose box is rcParent. A class on the walk's path
  // (a loop of bases) is drawn as a box and not entered. A class standing under several bases is
  // laid out under each while the chart's boxes stay within a number bounded by the classes and
  // their base links; past it, a class already laid out under another base is drawn as one box
  // without its subclasses, and counted. Widens rcTree by every box and returns the top of the
  // lowest box placed.
  int LayoutChartSubtree(const CString& strName, const CRect& rcParent, ChartWalk& walk, CRect& rcTree);
  // The root names of the chart: roots with 7 or more subclasses, with fewer, and without any.
  struct ChartRoots {
    std::vector<CString> large, small, singles;
  };
  // One tree from its root box at (x, y), or from a class's box for a tree that goes on from
  // another; returns the rectangle of its boxes.
  CRect LayoutChartTree(const CString& strRoot, int x, int y, ChartWalk& walk, BOOL bGoingOn = FALSE);
  // The chart as its rows stand: the large trees side by side at the top, the small trees below
  // in rows of 4, then 5, and the single classes in a grid; a row that would be wider than a
  // picture may be goes on below. Returns the layout's size.
  CSize LayoutChartRows(const ChartRoots& roots, ChartWalk& walk);
  // The trees packed as rectangles into rows of the width that lets a picture hold the most boxes
  // in the least area, each tree's boxes as wide as its own widest name; a subclass far right of
  // its root goes on as a tree of its own. Returns the layout's size.
  CSize LayoutChartPacked(const ChartRoots& roots, ChartWalk& walk);

  // The laid-out chart: its boxes and its connector lines.
  struct ChartBox {
    CString strName;
    CRect rect;
    BOOL bRoot;
  };
  std::vector<ChartBox> m_ChartBoxes;
  // Every class name and base name of the project as the chart of a language draws it, read in
  // the code page of the header that names it (a class's own first): the names the layout
  // measures and the boxes show. Boxes keep the names as written, by which the layout knows them.
  void MakeChartNames(int nLanguage);
  std::unordered_map<std::string, CString> m_ChartNames;
  std::vector<std::pair<CPoint, CPoint>> m_ChartLines;
  CSize m_ChartLayoutSize;
  // Boxes of the last layout that lie beyond the largest chart a picture may hold, and are not
  // drawn (0 when the chart holds them all).
  int m_nChartBoxesCut = 0;
  // Boxes of the last layout of classes with subclasses that are shown without them, because
  // the class is shown whole under another of its bases (0 when every box shows its subclasses).
  int m_nChartRepeatsShort = 0;
  // Boxes of the last layout left out because they would show a class a second time while the
  // picture could hold each class once only (0 when every class stands under each of its bases).
  int m_nChartRepeatsLeftOut = 0;
  // Every name's subclasses in the order the chart shows them (GetDerivedClasses, then
  // SortClassesByDescendants), made once for a layout so that it grows with the classes and not
  // with their square; null outside a layout.
  struct ChartChildren;
  std::shared_ptr<ChartChildren> IndexChartChildren() const;
  void GetChartChildren(CFileObjList& list, const CString& strName) const;
  BOOL HasChartChildren(const CString& strName) const;
  std::shared_ptr<ChartChildren> m_pChartChildren;

  // ---- Members ----
  CFileObjList m_FileObjList;             // owned, in order of analysis
  CStringList m_DocTitleList;             // titles of the open documents
  CStringList m_RootClassList;            // root names of the hierarchy
  CFileObjList m_WorkFileObjList;         // working copy of m_FileObjList, not owning
  CStringList m_ComponentClassList;       // classes of the selected component library
  CTypedPtrList<CObList, CIconResObj*> m_IconResObjList;
  CTypedPtrList<CObList, CResIDObj*> m_ResIDObjList;
  CTypedPtrList<CObList, CDbpFileObj*> m_DbpFileObjList;
  CTypedPtrList<CObList, CRptFileObj*> m_RptFileObjList;
  CTypedPtrList<CObList, CMenuFileObj*> m_MenuFileObjList;

  // HTML Help file names, title and default topic.
  CString m_strHelpContentsFile;
  CString m_strHelpIndexFile;
  CString m_strHelpCompiledFile;
  CString m_strHelpProjectFile;
  CString m_strHelpTitle;
  CString m_strHelpDefaultTopic;

  // Which members the documentation lists. They travel in the low six bits of the first reserved
  // number, a bit set for a kind left out, so a file that never stored them (0) lists every kind.
  BOOL m_bDocProtectedFunctions;
  BOOL m_bDocPublicFunctions;
  BOOL m_bDocPrivateFunctions;
  BOOL m_bDocProtectedVariables;
  BOOL m_bDocPublicVariables;
  BOOL m_bDocPrivateVariables;
  // Every kind of member listed again, as in a new project.
  void ResetMemberChoices();

  int m_nComponentId;  // selected component library, 0 for none
  BOOL m_bModified;
  // The Write Documentation options kept in the project were changed (they make it modified).
  BOOL m_bDocOptionsChanged;
  // The settings of the HTML Help generation kept in the project were changed (they make it
  // modified).
  BOOL m_bHelpSettingsChanged;

  CString m_strReserved1;
  CString m_strReserved2;
  CString m_strReserved3;
  CString m_strProjectTitle;
  DWORD m_dwReserved1;
  DWORD m_dwReserved2;
  DWORD m_dwReserved3;
  DWORD m_dwReserved4;
  DWORD m_dwReserved5;
  CString m_strReserved4;
  CString m_strReserved5;
  CString m_strReserved6;
  DWORD m_dwReserved6;
  CString m_strReserved7;
  DWORD m_dwReserved7;
  DWORD m_dwReserved8;

  // Thirteen option words stored as one block; two of them have a meaning.
  enum { OPTION_SHADOW = 1, OPTION_SHADOW_SIZE = 10, OPTION_COUNT = 13 };
  DWORD m_dwOptions[OPTION_COUNT];
  BOOL GetShadow() const { return m_dwOptions[OPTION_SHADOW] != 0; }
  void SetShadow(BOOL bShadow) { m_dwOptions[OPTION_SHADOW] = bShadow ? 1 : 0; }
  int GetShadowSize() const { return static_cast<int>(m_dwOptions[OPTION_SHADOW_SIZE]); }
  void SetShadowSize(int nSize) { m_dwOptions[OPTION_SHADOW_SIZE] = static_cast<DWORD>(nSize); }

  CString m_strReserved8;
  DWORD m_dwReserved9;
  int m_nOutputLanguage;  // LANGUAGE_CHS, LANGUAGE_CHT or LANGUAGE_ENG
  DWORD m_dwReserved10;

  CString m_strAuthor;
  CString m_strDepartment;
  CString m_strEmail;
  CString m_strHomePage;
  CString m_strCompany;
  CString m_strCopyright;

  DWORD m_dwReserved11;
  CString m_strReserved9;

  // The hierarchy chart's fonts, owned: the box font and the bold title font.
  HFONT m_hBoxFont;
  HFONT m_hTitleFont;

  COLORREF m_crChartBack;
  COLORREF m_crBaseClass;
  COLORREF m_crDerivedClass;
  COLORREF m_crComponentClass;

  CString m_strDescription;  // the text of the index page

  int m_nChartWidth;
  int m_nChartHeight;
  int m_nBoxWidth;
  int m_nBoxHeight;

 private:
  // A file an analysis listed, as it was on disk when it was read.
  struct HeaderStamp {
    CString strPath;
    bool bThere = false;
    bool bLink = false;
    unsigned long long nDevice = 0;
    unsigned long long nFile = 0;
    long long nSize = 0;
    long long nModified = 0;  // nanoseconds
    long long nChanged = 0;   // nanoseconds
    bool SameFile(const HeaderStamp& other) const {
      return bThere && other.bThere && nDevice == other.nDevice && nFile == other.nFile;
    }
    bool SameState(const HeaderStamp& other) const {
      return bThere == other.bThere && (!bThere || (SameFile(other) && nSize == other.nSize &&
                                                    nModified == other.nModified && nChanged == other.nChanged));
    }
  };
  static HeaderStamp StampOf(const CString& strPath);
  // The files each analysis listed, with the pattern that listed them.
  std::vector<std::pair<CString, std::vector<HeaderStamp>>> m_analysedHeaders;

  static void AddHierarchySteps(size_t nSteps);
  void SerializeOptionsAndAuthor(CArchive& ar);
  void RepairLoadedLanguage();
  // The first reserved number with the member choices in its low bits (storing), or the choices
  // taken from it (loading).
  void TransferMemberChoices(CArchive& ar);
};
