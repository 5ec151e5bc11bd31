// CFileSnapshot: a file's path, folder, last-write time and size as they were when it was made;
// and JoinWithCommas, which lists strings in one line.
#pragma once

#include "core/CString.h"
#include "core/Lists.h"

class CFileSnapshot {
 public:
  // Reads the time and size of the file; both stay zero when it cannot be opened.
  explicit CFileSnapshot(LPCTSTR lpszPath);

  CString m_strPath;
  CString m_strFolder;  // drive and directory of the path, with its final separator
  FILETIME m_ftLastWrite{};
  ULONGLONG m_nSize = 0;  // 64-bit: files above 4 GiB keep their real size
};

// Appends every string of the list and a comma to strOut (not emptied first), drops the last
// comma and returns the list's count.
int JoinWithCommas(CString& strOut, const CStringList& list);
