// SECUserTool: one external tool of the user's list (menu text, program, arguments, initial
// folder), archived with its two flags, and started as a process.
#pragma once

#include "afx/afx.h"

class SECUserTool : public CObject {
  DECLARE_SERIAL(SECUserTool)

 public:
  SECUserTool() = default;

  void Serialize(CArchive& ar) override;
  // Starts the program with the arguments in the initial folder (the current one when empty);
  // a program that cannot start is reported in a message box and gives FALSE.
  virtual BOOL Execute();
  // The command line the program gets: the program quoted, then the arguments as written.
  CString GetCommandLine() const;

  // Stored and archived unchanged; both are 1 for a new tool.
  DWORD m_dwFlags = 1;
  CString m_strMenuText;
  CString m_strCommand;
  CString m_strArgs;
  CString m_strInitialDir;
  DWORD m_dwFlags2 = 1;
};
