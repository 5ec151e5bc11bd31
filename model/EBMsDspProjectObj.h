// A Visual C++ project (.dsp): its groups and source files, read for import, and the writer
// that rewrites a project's groups from the items.
#pragma once

#include "model/EBProjectBaseObj.h"

class EBMsDspProjectObj : public EBProjectBaseObj {
  DECLARE_DYNCREATE(EBMsDspProjectObj)

 public:
  BOOL Open(LPCTSTR lpszPathName) override;
  // Replaces everything from the file's first "# Begin Group" line on by the items' groups;
  // FALSE, leaving the file untouched, when it does not exist or has no group.
  BOOL Write(LPCTSTR lpszPathName) override;
  // Every top-level item, then the project's end.
  BOOL WriteEnd(TextOutStream& out) override;

  // Reads the project's groups and files below pParent (none: top level), each file to be
  // found relative to the project file's folder + strFolder; FALSE when the file cannot be
  // read or holds no project.
  BOOL ReadDspFile(EBProjectBaseObjItem* pParent, LPCTSTR lpszPathName, const CString& strFolder);
  void WriteGroup(const EBProjectBaseObjItem* pTop, TextOutStream& out);
  void WriteSourceFile(const EBProjectBaseObjItem* pItem, TextOutStream& out);
};
