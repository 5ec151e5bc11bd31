// Visual C++ projects read for import: the tree of groups and source files of a workspace,
// project or makefile, the reader base class and the record of the same family.
#pragma once

#include <memory>
#include <vector>

#include "base/base.h"
#include "core/Arrays.h"
#include "core/CObject.h"
#include "core/CStdioFile.h"
#include "core/CString.h"
#include "core/CTypedPtr.h"
#include "core/Lists.h"
#include "model/AddFolder.h"
#include "model/RecordFile.h"

class TextOutStream;

// Kind bits of an item.
enum {
  EBITEM_GROUP = 1,
  EBITEM_FILE = 2,
  EBITEM_TOPLEVEL = 4,
  EBITEM_PROJECT = 8,
};

// One group or one source file of an imported project.
class EBProjectBaseObjItem : public CObject {
 public:
  EBProjectBaseObjItem() : m_nKind(0), m_Children(10) {}

  BOOL IsFile() const { return (m_nKind & EBITEM_FILE) != 0; }
  BOOL IsTopLevel() const { return (m_nKind & EBITEM_TOPLEVEL) != 0; }

  CString m_strName;    // a group's name, or a file's path as the project gives it
  CString m_strFolder;  // put before a relative path: the project's folder in its workspace
  int m_nKind;          // EBITEM_ bits: 1 nested group, 2 nested file, 5/6 top level, 13 project
  CObList m_Children;   // EBProjectBaseObjItem*, in reading order; not owned
};

typedef CTypedPtrList<CObList, EBProjectBaseObjItem*> EBProjectItemList;

// One imported project file; owns every item read from it.
class EBProjectBaseObj : public CObject {
  DECLARE_DYNAMIC(EBProjectBaseObj)
  DECLARE_RECORD_FILE()

 public:
  EBProjectBaseObj();
  ~EBProjectBaseObj() override;

  void Serialize(CArchive& ar) override;
  // Empties the path and the items; TRUE.
  virtual BOOL Clear();
  // Reads the file; TRUE on success.
  virtual BOOL Open(LPCTSTR lpszPathName) = 0;
  virtual BOOL Write(LPCTSTR lpszPathName) = 0;
  // Writes the items that end a rewritten project file; the base writes nothing.
  virtual BOOL WriteEnd(TextOutStream& out);

  // The full path of a source item: an absolute name as it is, otherwise the project file's
  // folder + the item's folder + its name.
  CString GetItemPath(const EBProjectBaseObjItem* pItem) const;

  // Creates an item and adds it to the items and to the parent's children (when there is one).
  EBProjectBaseObjItem* AddItem(EBProjectBaseObjItem* pParent, const CString& strName, const CString& strFolder,
                                int nKind);

  CString m_strPath;
  EBProjectItemList m_Items;  // every item of every level, in reading order
  DWORD m_dwFlags;            // bit 0: modified
  int m_nFirstGroupLine;      // 1-based line of the first "# Begin Group" while rewriting; 0 none
  CStringArray m_Lines;       // the lines of the file being rewritten
  // What the reading left out, and why: a project of a workspace that cannot be read, an entry
  // that names a build macro rather than a file.
  std::vector<FileNotBroughtIn> m_NotRead;
};

// A record of the project family kept for the file format: two texts and an id.
class EBMenuItemObj : public CObject {
  DECLARE_DYNCREATE(EBMenuItemObj)
  DECLARE_RECORD_FILE()

 public:
  EBMenuItemObj() : m_nID(102) {}

  void Serialize(CArchive& ar) override;

  CString m_strName;
  CString m_strText;
  int m_nID;
};

// What the readers share.
namespace project_import {

// TRUE when the line starts with the marker, compared without regard to case.
BOOL StartsWith(const CString& strLine, LPCTSTR lpszMarker);
// The text without blanks at its ends and without the quotes around it.
CString Unquote(CString strText);
// The value of a "SOURCE=" line: blanks and surrounding quotes removed, a leading ".\" dropped.
CString SourceValue(const CString& strLine);
// A value that names a build macro ("$(InputPath)") rather than a file.
BOOL IsMacroReference(const CString& strValue);
// A drive path ("C:\..."), or one from the root.
BOOL IsAbsolutePath(const CString& strPath);
// The folder part of a path, with its final separator ("" when it has none).
CString FolderPart(const CString& strPath);

// Reads a text file line by line, whole lines of any length, CR LF or LF.
class LineReader {
 public:
  // FALSE when the file does not exist or cannot be opened.
  BOOL Open(LPCTSTR lpszPathName);
  BOOL Next(CString& strLine);

 private:
  std::unique_ptr<CStdioFile> m_pFile;
};

}  // namespace project_import
