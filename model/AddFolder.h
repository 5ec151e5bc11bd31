// Folder adding: the file types offered for a live folder, and the copy of a folder's files
// (with or without its subfolders) into a folder of the project.
#pragma once

#include <vector>

#include "base/base.h"
#include "core/CString.h"
#include "core/Lists.h"

class SECFileSystem;

// One entry of the live-folder dialog's file-type list: its text, its item data and the
// extensions it stands for (lower case, without the dot; "*" for every file).
struct LiveFolderFileType {
  LPCTSTR lpszText;
  DWORD dwItemData;
  LPCTSTR lpszWords;  // ';'-separated, in the order they are handed on
};

// The entries in the order the list shows them.
const LiveFolderFileType* GetLiveFolderFileTypes(int& nCount);
// Appends the extensions of the entry with that item data to the list; FALSE when none has it.
BOOL AppendLiveFolderFileTypeWords(DWORD dwItemData, CStringList& words);

// What the copy tells, and asks of, the window that runs it. The calls come from the thread
// that copies.
class AddFolderListener {
 public:
  virtual ~AddFolderListener() = default;
  // The file about to be copied (full path of the source).
  virtual void CopyingFile(const CString& strSource) = 0;
  // A file of that name is already in the target: TRUE replaces it, FALSE keeps it.
  virtual BOOL ConfirmOverwrite(const CString& strTarget) = 0;
  // TRUE once the user has stopped the copy; no further file is copied.
  virtual BOOL IsCancelled() = 0;
};

// A file that a copy into the project did not bring in, and why.
struct FileNotBroughtIn {
  CString strPath;
  CString strReason;
  BOOL bFolder = FALSE;  // a folder whose files were not brought in
};

struct AddFolderResult {
  int nCopied = 0;     // new files and replaced ones
  int nKept = 0;       // files already in the target, kept as they were
  int nFailed = 0;     // files that could not be copied
  BOOL bCancelled = FALSE;
  // The files left out (symbolic links) or that could not be copied, in the order met, then the
  // folders not entered (links to folders, folders that cannot be read).
  std::vector<FileNotBroughtIn> notCopied;
};

// The text that names the files (and folders) not brought in and why, one a line (the first
// ones, then how many more); empty when there are none.
CString DescribeFilesNotBroughtIn(const std::vector<FileNotBroughtIn>& files);
// Adds the folders a listing left out to `files`, each saying that its files are not brought in.
void AppendFoldersNotBroughtIn(const SECFileSystem& fs, std::vector<FileNotBroughtIn>& files);
// The reason of a failed file operation, from its error code.
CString DescribeFileError(DWORD dwError);

// Copies the ordinary files of a folder (hidden and system files, and symbolic links, are left
// out; a link to a file is named in the result) into a target folder; with bLookInSubfolders, the subfolders' files too, each into the
// same relative folder under the target, made as needed. Linked folders are never entered.
// A file already in the target is replaced only when the listener says so; a file that cannot
// be copied does not stop the others.
AddFolderResult AddFolderFiles(const CString& strSource, const CString& strTarget, BOOL bLookInSubfolders,
                               AddFolderListener& listener);
