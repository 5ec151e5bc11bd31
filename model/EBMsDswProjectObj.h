// A Visual C++ workspace (.dsw) read for import: each project it names, with that project's
// groups and source files.
#pragma once

#include "model/EBMsDspProjectObj.h"

class EBMsDswProjectObj : public EBMsDspProjectObj {
  DECLARE_DYNCREATE(EBMsDswProjectObj)

 public:
  BOOL Open(LPCTSTR lpszPathName) override;
  // Workspaces are not written: says so and gives FALSE.
  BOOL Write(LPCTSTR lpszPathName) override;
  BOOL WriteEnd(TextOutStream& out) override;

  // FALSE when the workspace cannot be read; a project of it that cannot be read stays an
  // item without children.
  BOOL ReadDswFile(LPCTSTR lpszPathName);

  // The project path of a "Project:" line: the text between "=" and the last " - ", without
  // quotes and a leading ".\"; empty when the line names none.
  static CString ProjectPath(const CString& strLine);
};
