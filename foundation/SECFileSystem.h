// SECFileSystem: path splitting and joining, file status, attribute-filtered folder listings,
// copying, renaming and removal of files and folders, and step-by-step folder creation.
#pragma once

#include <vector>

#include "base/base.h"
#include "core/CFile.h"
#include "core/CObject.h"
#include "core/CString.h"
#include "core/CTime.h"
#include "core/Lists.h"
#include "os/FileApi.h"
#include "os/FindFile.h"

// Attribute filters of the listings: FILE_ATTRIBUTE_NORMAL (or 0) selects ordinary files, this
// value every entry, any other mask the entries sharing a bit with it.
#define SECFILESYSTEM_ALL_ENTRIES 0xFFFFFFFFu

// A folder that a listing did not enter, and why.
struct SECFolderLeftOut {
  CString strPath;    // without a trailing separator
  CString strReason;  // "it cannot be read (...)", "it is a link to a folder, which is not followed"
};

class SECFileSystem : public CObject {
 public:
  SECFileSystem();
  ~SECFileSystem() override;

  // Status queries; FALSE (output untouched) when the path has no status.
  BOOL GetFileCreationTime(const CString& path, CTime& time);
  BOOL GetFileModifyTime(const CString& path, CTime& time);
  BOOL GetFileAccessTime(const CString& path, CTime& time);
  // FALSE as well when the size does not fit the signed 32-bit result.
  BOOL GetFileSize(const CString& path, LONG& size);
  BOOL GetFileAttribute(const CString& path, BYTE& attribute);
  BOOL FileExists(const CString& path);
  static BOOL IsDirectory(const CString& path);

  BOOL ChangeDirectory(const CString& path);
  BOOL RenameFile(const CString& oldName, const CString& newName);
  BOOL RenameDirectory(const CString& oldName, const CString& newName);
  BOOL DeleteFile(const CString& path);
  BOOL DeleteFiles(const CString& pattern, DWORD attributes);
  BOOL DeleteDirectory(const CString& path, BOOL recursive);
  static BOOL MakePath(const CString& path);
  // Never overwrites: FALSE when the target exists. A read or write error removes the partial
  // target and passes the CFileException on.
  BOOL CopyFile(const CString& source, const CString& target, DWORD bufferSize);
  BOOL CloseFile(CFile* file);

  CString GetFileName(const CString& path);
  CString GetPath(const CString& path, BOOL includeDrive = TRUE);
  CString GetExtension(const CString& path);
  CString GetBaseFileName(const CString& path);
  CString AppendPath(const CString& directory, const CString& name);

  // The next matching name of the search (a new string the caller deletes), NULL at its end. A
  // non-empty pattern starts a new search, an empty one continues the open search.
  CString* GetNextFileName(const CString& pattern, DWORD attributes);
  // New lists (block size 10) that the caller deletes.
  CStringList* GetFileList(const CString& pattern, DWORD attributes);
  CStringList* GetFileListEx(const CString& pattern, DWORD attributes, BOOL recurse = FALSE,
                             CStringList* list = nullptr);
  CStringList* GetDirectoryList(const CString& path, BOOL fullPaths);
  // The folders the listings of this object left out since it was made, each once, in the order
  // met: a folder that cannot be read (its listing is empty) and, in a recursive listing, a link
  // to a folder, never entered because it may lead back up the tree or out of it. A missing
  // folder is not among them.
  const std::vector<SECFolderLeftOut>& GetFoldersLeftOut() const { return m_foldersLeftOut; }
  // Notes a folder left out (once) with the reason, for walks of the caller's own; a link to a
  // folder with the reason the listings give it.
  void LeaveOutFolder(const CString& path, const CString& reason);
  void LeaveOutLinkedFolder(const CString& path);
  // The system's text for an error code, without its final period ("error 5" when it has none).
  static CString DescribeError(DWORD error);

 private:
  // Whether the new name is the old entry itself spelled in other letter case.
  BOOL IsOtherCaseOf(const CString& oldName, const CString& newName);
  // One search step: the entry's name when it passes the filter, an empty name otherwise;
  // FALSE when the search has no further entry.
  BOOL FindEntry(const CString& pattern, DWORD attributes, CString& name);
  void CloseSearch();

  // Notes the pattern's folder when the search of it could not start for another reason than
  // its absence.
  void NoteUnreadableFolder(const CString& pattern);

  WIN32_FIND_DATA m_FileData;
  HANDLE m_hFind;
  DWORD m_dwFindError = ERROR_SUCCESS;  // why the last search could not start
  std::vector<SECFolderLeftOut> m_foldersLeftOut;
};
