// One analysed class of the project: its names, header and source file, base names and its
// member records, with the sizes the class pages work with.
#pragma once

#include <string_view>

#include "core/Arrays.h"
#include "core/CTypedPtr.h"
#include "core/Geometry.h"
#include "core/Lists.h"
#include "gdi/GdiTypes.h"
#include "model/CMemberFunctionObj.h"
#include "model/CVariableObj.h"
#include "model/TextCodePage.h"

typedef CTypedPtrList<CObList, CMemberFunctionObj*> CMemberFunctionObjList;
typedef CTypedPtrList<CObList, CVariableObj*> CVariableObjList;

class CDC;
class CWorkSpaceObj;
class DocumentationProgress;
class OutputFolder;
class PageText;

class DiagramTextWidths;

class CFileObj : public CObject {
  DECLARE_SERIAL(CFileObj)

 public:
  CFileObj();
  ~CFileObj() override;

  // The class layout: base names, path text, known-class id, class name, first base, header and
  // source file names, the rectangle (16 raw bytes) and the reserved text.
  void Serialize(CArchive& ar) override;
  // The second layout: reserved strings, view and document class names, first reserved number,
  // rectangle, reserved text, second reserved number.
  virtual void SerializeClassInfo(CArchive& ar);

  void DeleteAllVariables();
  void DeleteAllMemberFunctions();

  // The name itself when no record of that kind in this class carries it as its unique name,
  // else the first free of "name(0)", "name(1)", ...
  CString MakeUniqueVariableName(CString strName) const;
  CString MakeUniqueFunctionName(CString strName) const;

  // ---- Class pages (one writer per output language) ----
  // The body of the class page; the driver adds the base links and the end.
  void WriteGBClassPage(PageText& out, const CWorkSpaceObj& project) const;
  void WriteBig5ClassPage(PageText& out, const CWorkSpaceObj& project) const;
  void WriteEnglishClassPage(PageText& out, const CWorkSpaceObj& project) const;
  // One page per documented member under strFolder (the Htmls folder, with its backslash). FALSE
  // when a page could not be created: the pages of this class then end there.
  BOOL WriteGBVariablePages(CString strFolder, const CWorkSpaceObj& project, DocumentationProgress* pProgress) const;
  BOOL WriteBig5VariablePages(CString strFolder, const CWorkSpaceObj& project,
                              DocumentationProgress* pProgress) const;
  BOOL WriteEnglishVariablePages(CString strFolder, const CWorkSpaceObj& project,
                                 DocumentationProgress* pProgress) const;
  BOOL WriteGBFunctionPages(CString strFolder, const CWorkSpaceObj& project, DocumentationProgress* pProgress) const;
  BOOL WriteBig5FunctionPages(CString strFolder, const CWorkSpaceObj& project,
                              DocumentationProgress* pProgress) const;
  BOOL WriteEnglishFunctionPages(CString strFolder, const CWorkSpaceObj& project,
                                 DocumentationProgress* pProgress) const;
  // The same into the class's own folder (what CreateClassFolders gives) in the output language.
  BOOL WriteVariablePages(int nLanguage, const OutputFolder& classFolder, const CWorkSpaceObj& project,
                          DocumentationProgress* pProgress) const;
  BOOL WriteFunctionPages(int nLanguage, const OutputFolder& classFolder, const CWorkSpaceObj& project,
                          DocumentationProgress* pProgress) const;
  // The class page's text for a member without a description of its own.
  void WriteGBFunctionDefault(PageText& out, const CMemberFunctionObj* pFunction) const;
  void WriteEnglishFunctionDefault(PageText& out, const CMemberFunctionObj* pFunction) const;
  void WriteGBVariableDefault(PageText& out, const CVariableObj* pVariable) const;
  void WriteEnglishVariableDefault(PageText& out, const CVariableObj* pVariable) const;

  // "<Class>\", "Member Vars\" and "Member Functions\" under the folder, when the class folder
  // is new.
  void CreateClassFolders(CString strFolder) const;
  // The same in the open Htmls folder; returns the class folder (not open when it cannot be had).
  OutputFolder CreateClassFolders(const OutputFolder& htmls) const;
  BOOL HasNoProtectedFunctions() const;
  BOOL HasNoPublicFunctions() const;
  BOOL HasNoPrivateFunctions() const;
  BOOL HasNoProtectedVariables() const;
  BOOL HasNoPublicVariables() const;
  BOOL HasNoPrivateVariables() const;
  // TRUE when a record of that kind holds the name as its unique name.
  BOOL ContainsVariable(CString strName) const;
  BOOL ContainsFunction(CString strName) const;

  // ---- Class diagram ----
  // The names a class diagram draws at the most: the class and its nearest ancestors. A longer
  // chain is drawn that far, under a line that says how many more ancestors there are, so every
  // diagram stays small whatever the depth of the hierarchy.
  static constexpr int kDiagramNames = 10;
  // The diagram font: the default GUI font as "Fixedsys", 11 high.
  static LOGFONT CreateDiagramFont();
  // Box size over the ancestor chain (at least 180 x 20); stored and returned.
  CSize MeasureDiagramBox();
  // The same with widths measured once for all classes.
  CSize MeasureDiagramBox(DiagramTextWidths& widths);
  // Bitmap size from the box size and the chain; stored and returned.
  CSize ComputeDiagramSize();
  // Draws the chain onto a DC whose bitmap has the diagram's size.
  void DrawClassDiagram(CDC& dc, const CWorkSpaceObj& project) const;
  // Saves "<Class>.bmp" into the Image2 folder; FALSE when it was not written.
  BOOL SaveClassDiagram(CString strImageFolder, const CWorkSpaceObj& project) const;
  BOOL SaveClassDiagram(const OutputFolder& images, const CWorkSpaceObj& project) const;

  // ---- Names and paths ----
  // Makes a name fit for a file that the help compiler accepts and every platform holds: every
  // "::", ";", "/" and "\\" becomes one blank; '=', '*', '?', '"', '<', '>', '|', ':', '#', '%',
  // '@', '&' and control characters become '@' and two hex digits, so distinct names stay distinct;
  // so do the dots of a name that is "." or "..".
  static void FixFileName(CString& strName);
  // Page paths and links: the name with FixFileName applied.
  static CString FixedName(CString strName);
  // The longest name (in bytes, without its extension) the documentation run gives a folder or a
  // page, and the shortest it cuts a name to when the output folder's path is long.
  static constexpr int kLongestPageName = 120;
  static constexpr int kShortestPageName = 24;
  // The longest page name that keeps every path of the run within the platform's limit below the
  // page folder of that path on disk: a member page's path holds two such names.
  static int PageNameLimit(std::string_view folder);
  // A fixed name cut to at most nBytes: a longer one keeps its beginning (cut after a byte below
  // 0x80, never inside a double-byte or UTF-8 character) and ends in "~" and 16 hex digits of a
  // hash of the whole, so names that differ stay apart.
  static CString CutName(const CString& strFixed, int nBytes);
  // The page name (without ".htm") of a member of this class: its fixed unique name, cut to the
  // length the run chose for the class.
  CString MemberPageName(const CString& strUniqueName) const;
  // A name of the class's header (the class's or a member's) as the program spells file names, one
  // the system can spell: in the program's code page where every character converts and the
  // system can spell it; else as the system's bytes where its charset holds every character; else
  // with each character it cannot spell written as its number, "(U+00DF)". A character whose
  // second byte a file name does not hold as it is (Big5's 功, whose second byte is "\\") is
  // written as its number too. Text of ASCII alone or of Shift-JIS is left as it stands.
  CString ProgramSpelling(const CString& strName) const;
  static BOOL FileExists(LPCTSTR lpszPath);
  static int FindExtension(LPCTSTR lpszPath);
  static CString GetFileExtension(LPCTSTR lpszPath);
  static int FindFileNamePos(LPCTSTR lpszPath);
  static CString GetFolderPart(LPCTSTR lpszPath, BOOL bKeepSlash);
  // The name of the class's folder, page and diagram: FixedName of the class name, unless the
  // documentation run gave it another (m_strFileName) to keep it apart from a class whose name
  // differs only in case.
  CString FileName() const;

  CString m_strPath;
  int m_nKnownClassId;        // of the first base name (0 when it is no known class)
  CString m_strClassName;
  CString m_strBaseClassName;  // the first base as written ("Ns::Base<T>"), "" without bases
  CString m_strHeaderFile;     // base name of the header + ".h"
  CString m_strSourceFile;     // the same + ".cpp"
  CRect m_rect;
  CString m_strReserved;
  CString m_strClassHead;      // the class head as read, before names were cleaned
  CString m_strFileName;       // set by the documentation run; not stored
  int m_nPageNameBytes = kLongestPageName;  // set by the documentation run; not stored
  TextCodePage m_codePage;     // of the header's text, as the analyser read it; not stored
  CMemberFunctionObjList m_MemberFunctionList;  // owned, in order of analysis
  CVariableObjList m_VariableList;              // owned, in order of analysis
  CStringList m_BaseClassList;                  // as written ("Ns::Base<T>"), in declaration order
  CStringArray m_ReservedStrings;
  CString m_strViewClass;
  CString m_strDocClass;
  DWORD m_dwReserved1;
  DWORD m_dwReserved2;
  // Diagram of the class page: box size, ancestor chain and bitmap size.
  int m_nBoxWidth;
  int m_nBoxHeight;
  // The class and its nearest ancestors, at most kDiagramNames, as the diagram draws them.
  CStringList m_AncestorList;
  int m_nMoreAncestors;        // the ancestors beyond those, which the diagram only counts
  int m_nBitmapWidth;
  int m_nBitmapHeight;
  // Rises with every record made: the analyser makes them in the order of the project's files
  // and of each file's lines, so this is the order of analysis, whatever the list's order became.
  unsigned long long m_nAnalysisOrder;
};
