// File snapshots and comma-joined lists.
#include "app/CFileSnapshot.h"

#include "os/FileApi.h"

CFileSnapshot::CFileSnapshot(LPCTSTR lpszPath) : m_strPath(lpszPath) {
  // Drive and directory: everything up to the last separator (a drive alone ends at its colon).
  int nEnd = 0;
  for (int i = 0; i < m_strPath.GetLength(); ++i)
    if (m_strPath[i] == '\\' || m_strPath[i] == '/') nEnd = i + 1;
  if (nEnd == 0 && m_strPath.GetLength() >= 2 && m_strPath[1] == ':') nEnd = 2;
  m_strFolder = m_strPath.Left(nEnd);
  HANDLE hFile = CreateFile(lpszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  if (GetFileTime(hFile, nullptr, nullptr, &m_ftLastWrite) && GetFileSizeEx(hFile, &size))
    m_nSize = static_cast<ULONGLONG>(size.QuadPart);
  else
    m_ftLastWrite = FILETIME{};
  CloseHandle(hFile);
}

int JoinWithCommas(CString& strOut, const CStringList& list) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    strOut += list.GetNext(pos);
    strOut += ',';
  }
  if (!strOut.IsEmpty() && strOut[strOut.GetLength() - 1] == ',') strOut.Delete(strOut.GetLength() - 1);
  return static_cast<int>(list.GetCount());
}
