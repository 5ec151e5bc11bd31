// CProjectObj: opens a Visual C++ workspace, project or makefile and copies every source file
// it lists into the open project.
#pragma once

#include "model/EBProjectBaseObj.h"

class CProjectObj : public CObject {
  DECLARE_DYNCREATE(CProjectObj)
  DECLARE_RECORD_FILE()

 public:
  CProjectObj();
  // Deletes the opened project.
  ~CProjectObj() override;

  void Serialize(CArchive& ar) override;

  // Asks for a workspace, project or makefile (owned by the main window; the file must exist)
  // and opens it; FALSE when the user cancelled or it could not be opened.
  BOOL BrowseAndOpenProject();

  // Opens the file by its extension (.dsw, .dsp, .mak, in any case) and keeps it in place of
  // the project opened before; tells the user and gives FALSE when it does not exist, has
  // another extension or cannot be read.
  BOOL OpenProjectFile(LPCTSTR lpszPathName);
  // Copies every source file of the opened project into the open project, each once, in the
  // project's order; FALSE when no project is open.
  BOOL ImportProjectFiles();
  void ImportGroupFiles(const EBProjectBaseObjItem* pItem);

  EBProjectBaseObj* GetOpenedProject() const { return m_pProject; }

 private:
  void CopyItem(const EBProjectBaseObjItem* pItem);

  EBProjectBaseObj* m_pProject;
};
