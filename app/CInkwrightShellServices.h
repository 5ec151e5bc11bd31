// CInkwrightShellServices: what the project model asks of the shell, answered by the application
// object and its main frame. The application installs it at start-up and removes it at exit.
#pragma once

#include "model/ShellServices.h"

class CInkwrightApp;

class CInkwrightShellServices : public ShellServices {
 public:
  explicit CInkwrightShellServices(CInkwrightApp& app) : m_app(app) {}

  CWorkSpaceObj* GetWorkSpace() override;
  CString GetProjectFolder() override;
  CString GetProjectName() override;
  const BYTE* GetGBToBig5Table() override;
  const BYTE* GetBig5ToGBTable() override;
  void CopyFileIntoProject(CString strPath) override;
  BOOL OpenDiagramFile(CString strName) override;
  void OpenFormFile(CString strName) override;
  // The text part (the class-list file name) of the main frame's component with that id.
  CString GetComponentName(int nComponentId) override;
  // The main frame's status-bar progress.
  void BeginProgress(LPCTSTR lpszText, int nLower, int nUpper, BOOL bFlag, DWORD dwStyle) override;
  void SetProgressPos(int nPos) override;
  void EndProgress() override;
  void RefreshOutputTree() override;
  // The application's shadow routine.
  void DrawClassBox(HDC hDC, const RECT& rcBox, int nDepth) override;
  // Through the application's message box.
  int ShowMessage(LPCTSTR lpszText, UINT nType) override;
  // The application's "Fixedsys" dialog font.
  HFONT GetDialogFont() override;

 private:
  CInkwrightApp& m_app;
};
