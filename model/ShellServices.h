// What the project model asks of the application shell: the open project, its folder and name,
// the conversion tables, file opening and copying, status-bar progress, the explorer's output
// tree, class-box shadows and the shell's message box. The shell installs its implementation at
// start-up; until then a quiet default answers (no project, nothing opened, nothing shown).
#pragma once

#include <initializer_list>

#include "base/base.h"
#include "core/CString.h"

class CWorkSpaceObj;

class ShellServices {
 public:
  virtual ~ShellServices() = default;

  // The one open project (owned by the application object).
  virtual CWorkSpaceObj* GetWorkSpace() = 0;
  // The open project's folder, ending in a backslash.
  virtual CString GetProjectFolder() = 0;
  // The open project's name, empty while no project is open; the project file is
  // folder + name + ".dcp".
  virtual CString GetProjectName() = 0;

  // The GB2312-to-Big5 (16,544 bytes) and Big5-to-GB2312 (35,908 bytes) tables; NULL when the
  // shell could not load them.
  virtual const BYTE* GetGBToBig5Table() = 0;
  virtual const BYTE* GetBig5ToGBTable() = 0;

  // Copies a file into the project's "Source Code\" or "Header Files\" folder by its extension,
  // asking before it overwrites.
  virtual void CopyFileIntoProject(CString strPath) = 0;
  // Opens a document of the project's "Diagrams\" folder; FALSE (after telling the user) when
  // the file does not exist.
  virtual BOOL OpenDiagramFile(CString strName) = 0;
  // Builds the path of a document in the project's "Forms\" folder; opens nothing.
  virtual void OpenFormFile(CString strName) = 0;
  // The name of the first component of the main frame's list with that id; "" when none has it.
  virtual CString GetComponentName(int nComponentId) = 0;

  // The status bar's progress: a text and a range, then positions, then the end.
  virtual void BeginProgress(LPCTSTR lpszText, int nLower, int nUpper, BOOL bFlag, DWORD dwStyle) = 0;
  virtual void SetProgressPos(int nPos) = 0;
  virtual void EndProgress() = 0;

  // Rebuilds the explorer's generated-output tree from the project's output folder.
  virtual void RefreshOutputTree() = 0;
  // Draws the shadow of a class box: the box offset right and down by nDepth, in the current
  // pen and brush; the caller fills and frames the box itself.
  virtual void DrawClassBox(HDC hDC, const RECT& rcBox, int nDepth) = 0;

  // Shows a message box with the text and the MB_ style bits; returns the button pressed.
  virtual int ShowMessage(LPCTSTR lpszText, UINT nType) = 0;

  // The font the application's dialogs give their edits and lists; NULL before the shell made it.
  virtual HFONT GetDialogFont() = 0;
};

// Answers every question quietly: no project, no tables, nothing opened, copied or shown (a
// message answers IDOK). The stand-in before the shell starts, and a base for services that answer
// only some of the questions.
class QuietShellServices : public ShellServices {
 public:
  CWorkSpaceObj* GetWorkSpace() override { return nullptr; }
  CString GetProjectFolder() override { return CString(); }
  CString GetProjectName() override { return CString(); }
  const BYTE* GetGBToBig5Table() override { return nullptr; }
  const BYTE* GetBig5ToGBTable() override { return nullptr; }
  void CopyFileIntoProject(CString) override {}
  BOOL OpenDiagramFile(CString) override { return FALSE; }
  void OpenFormFile(CString) override {}
  CString GetComponentName(int) override { return CString(); }
  void BeginProgress(LPCTSTR, int, int, BOOL, DWORD) override {}
  void SetProgressPos(int) override {}
  void EndProgress() override {}
  void RefreshOutputTree() override {}
  void DrawClassBox(HDC, const RECT&, int) override {}
  int ShowMessage(LPCTSTR, UINT) override { return 1; }  // IDOK
  HFONT GetDialogFont() override { return nullptr; }
};

// Gives the dialog's controls of these ids the shell's dialog font (the system's fixed font while
// the shell has none), redrawing them.
void SetDialogFont(HWND hDialog, std::initializer_list<int> nIDs);

// The installed services (never NULL: a quiet default stands in until the shell sets its own).
ShellServices* GetShellServices();
// Installs the shell's services (NULL restores the default); returns the previous ones. The
// caller keeps ownership and keeps them alive while they are installed.
ShellServices* SetShellServices(ShellServices* pServices);
