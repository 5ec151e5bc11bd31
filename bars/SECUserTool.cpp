// SECUserTool: the archive form (flag, four texts, flag) and starting the tool.
#include "bars/SECUserTool.h"

#include "resources/Menus.h"

IMPLEMENT_SERIAL(SECUserTool, CObject, 1)

void SECUserTool::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring())
    ar << m_dwFlags << m_strMenuText << m_strCommand << m_strArgs << m_strInitialDir << m_dwFlags2;
  else
    ar >> m_dwFlags >> m_strMenuText >> m_strCommand >> m_strArgs >> m_strInitialDir >> m_dwFlags2;
}

CString SECUserTool::GetCommandLine() const {
  CString line = "\"" + m_strCommand + "\"";
  if (!m_strArgs.IsEmpty()) line += " " + m_strArgs;
  return line;
}

BOOL SECUserTool::Execute() {
  CString line = GetCommandLine();
  STARTUPINFO startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const BOOL started = !m_strCommand.IsEmpty() &&
                       ::CreateProcess(nullptr, line.GetBuffer(line.GetLength()), nullptr, nullptr, FALSE, 0, nullptr,
                                       m_strInitialDir.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_strInitialDir),
                                       &startup, &process);
  line.ReleaseBuffer();
  if (!started) {
    CString message;
    message.Format(IDS_SEC_TOOL_NOT_STARTED, static_cast<LPCTSTR>(m_strCommand));
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  ::CloseHandle(process.hProcess);
  if (process.hThread != nullptr) ::CloseHandle(process.hThread);
  return TRUE;
}
