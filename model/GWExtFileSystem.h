// GWExtFileSystem: the folder utilities of the documentation run and the folder adder. Listing,
// deletion and copying are those of SECFileSystem; names split and join at backslashes only, and
// the tree operations name each folder or file they work on in a window's caption.
#pragma once

#include "base/base.h"
#include "core/CObject.h"
#include "core/CString.h"
#include "core/Lists.h"
#include "foundation/SECFileSystem.h"

class GWExtFileSystem : public CObject {
 public:
  GWExtFileSystem();
  ~GWExtFileSystem() override;

  // A search step: a non-empty pattern starts a new search, an empty one goes on with the open
  // one. The next entry's name that passes the filter; FALSE at the end.
  BOOL FindEntry(const CString& pattern, DWORD attributes, CString& name);
  CString* GetNextFileName(const CString& pattern, DWORD attributes);
  CStringList* GetFileList(const CString& pattern, DWORD attributes);
  CStringList* GetFileListEx(const CString& pattern, DWORD attributes, BOOL recurse = FALSE,
                             CStringList* list = nullptr);
  CStringList* GetDirectoryList(const CString& path, BOOL fullPaths);
  BOOL DeleteFiles(const CString& pattern, DWORD attributes);
  BOOL DeleteFile(const CString& path);
  BOOL CloseFile(CFile* file);
  static BOOL CreateDirectoryPath(const CString& path);
  static BOOL IsDirectory(const CString& path);
  // The backslash is the only separator here; a slash is part of a name.
  CString GetFileName(const CString& path);
  CString GetPath(const CString& path, BOOL includeDrive = TRUE);
  CString AppendPath(const CString& directory, const CString& name);

  // Shows the source's file name in the window's caption, then copies; never overwrites.
  BOOL CopyFile(HWND hWnd, const CString& source, const CString& target, DWORD bufferSize);
  // Copies the pattern's entries into the folder; a failed copy makes the result FALSE and, unless
  // bContinue, ends the loop.
  BOOL CopyFiles(HWND hWnd, const CString& pattern, const CString& targetFolder, BOOL bContinue,
                 DWORD attributes);
  // Creates every folder of the path (never a bare drive); FALSE for an empty path.
  BOOL CreateFolders(const CString& path);
  // Removes the folder (with bRecursive everything in it first, innermost folders first, never
  // entering a linked folder), naming each folder in the caption as "Removing -<name>".
  BOOL RemoveFolderTree(const CString& path, HWND hWnd, BOOL bRecursive);
  // Copies the ordinary files of the source's whole tree into the same relative folders under the
  // target; files already there are kept and the others still copied. Always TRUE.
  BOOL AddFolderToProject(HWND hWnd, const CString& source, const CString& target);

 private:
  SECFileSystem m_fs;  // the listings, copies and the open search
};
