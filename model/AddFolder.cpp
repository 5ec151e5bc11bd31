// The live-folder file types and the folder copy behind the folder-adding dialogs.
#include "model/AddFolder.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>

#include "foundation/SECFileSystem.h"
#include "base/LastError.h"
#include "os/FileApi.h"

namespace {

const LiveFolderFileType kFileTypes[] = {
    {".h;.hpp;.tlh;.inl;.rc;.c;.cpp;.cxx;.tli", 100, "c;cpp;cxx;tli;h;hpp;tlh;inl;rc"},
    {".c;.cpp;.cxx;.tli", 101, "c;cpp;cxx;tli"},
    {".h;.hpp;.hxx;.inl;.tlh", 102, "h;hpp;hxx;inl;tlh"},
    {".h;.inl", 104, "h;inl"},
    {".c;.cpp", 105, "c;cpp"},
    {".h", 106, "h"},
    {".cpp", 107, "cpp"},
    {".h;.cpp", 108, "h;cpp"},
    {".h;.inl;.cpp", 109, "h;cpp;inl"},
    {"*.*", 103, "*"},
};

bool IsSymbolicLink(const CString& strPath) {
  const DWORD dwAttributes = GetFileAttributes(strPath);
  return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool Exists(const CString& strPath) { return GetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES; }

// Makes the folder and every missing folder above it.
bool MakeFolder(const CString& strFolder) {
  return SECFileSystem::IsDirectory(strFolder) || SECFileSystem::MakePath(strFolder);
}

CString WithoutTrailingSeparator(CString strPath) {
  while (strPath.GetLength() > 1 && (strPath.Right(1) == "\\" || strPath.Right(1) == "/"))
    strPath = strPath.Left(strPath.GetLength() - 1);
  return strPath;
}

}  // namespace

const LiveFolderFileType* GetLiveFolderFileTypes(int& nCount) {
  nCount = static_cast<int>(std::size(kFileTypes));
  return kFileTypes;
}

BOOL AppendLiveFolderFileTypeWords(DWORD dwItemData, CStringList& words) {
  for (const LiveFolderFileType& type : kFileTypes) {
    if (type.dwItemData != dwItemData) continue;
    const CString strWords(type.lpszWords);
    for (int nStart = 0; nStart <= strWords.GetLength();) {
      int nEnd = strWords.Find(';', nStart);
      if (nEnd < 0) nEnd = strWords.GetLength();
      words.AddTail(strWords.Mid(nStart, nEnd - nStart));
      nStart = nEnd + 1;
    }
    return TRUE;
  }
  return FALSE;
}

AddFolderResult AddFolderFiles(const CString& strSource, const CString& strTarget, BOOL bLookInSubfolders,
                               AddFolderListener& listener) {
  AddFolderResult result;
  SECFileSystem fs;
  const CString strSourceFolder = WithoutTrailingSeparator(strSource);
  const CString strTargetFolder = WithoutTrailingSeparator(strTarget);
  // The whole list is made before the first copy, so a target inside the source is not copied
  // into itself again.
  std::unique_ptr<CStringList> files(
      fs.GetFileListEx(fs.AppendPath(strSourceFolder, "*.*"), FILE_ATTRIBUTE_NORMAL, bLookInSubfolders));
  for (POSITION pos = files->GetHeadPosition(); pos != nullptr;) {
    if (listener.IsCancelled()) {
      result.bCancelled = TRUE;
      break;
    }
    const CString strFile = files->GetNext(pos);
    if (IsSymbolicLink(strFile)) {
      // Not followed: it may lead anywhere on the disk.
      result.notCopied.push_back({strFile, "it is a symbolic link, which is not followed"});
      continue;
    }
    // The file's folder relative to the source, with its trailing separator ("" at the top).
    const CString strRelative = fs.GetPath(strFile).Mid(strSourceFolder.GetLength() + 1);
    const CString strFolder = strRelative.IsEmpty() ? strTargetFolder
                                                    : fs.AppendPath(strTargetFolder, WithoutTrailingSeparator(strRelative));
    const CString strCopy = fs.AppendPath(strFolder, fs.GetFileName(strFile));
    listener.CopyingFile(strFile);
    const bool bReplace = Exists(strCopy);
    if (bReplace && !listener.ConfirmOverwrite(strCopy)) {
      ++result.nKept;
      continue;
    }
    // CopyFile writes a temporary file beside the target and renames it into place, so a
    // replaced file is never left half-written.
    if (!MakeFolder(strFolder)) {
      ++result.nFailed;
      result.notCopied.push_back({strFile, "its folder " + strFolder + " could not be made"});
    } else if (CopyFile(strFile, strCopy, bReplace ? FALSE : TRUE)) {
      ++result.nCopied;
    } else {
      ++result.nFailed;
      result.notCopied.push_back({strFile, DescribeFileError(GetLastError())});
    }
  }
  AppendFoldersNotBroughtIn(fs, result.notCopied);
  return result;
}

void AppendFoldersNotBroughtIn(const SECFileSystem& fs, std::vector<FileNotBroughtIn>& files) {
  for (const SECFolderLeftOut& folder : fs.GetFoldersLeftOut())
    files.push_back({folder.strPath, folder.strReason + ", so the files in it are not brought in", TRUE});
}

CString DescribeFileError(DWORD dwError) {
  return "it could not be copied (" + SECFileSystem::DescribeError(dwError) + ")";
}

CString DescribeFilesNotBroughtIn(const std::vector<FileNotBroughtIn>& files) {
  if (files.empty()) return CString();
  constexpr size_t kShown = 20;
  const int nFolders = static_cast<int>(
      std::count_if(files.begin(), files.end(), [](const FileNotBroughtIn& file) { return file.bFolder; }));
  const int nFiles = static_cast<int>(files.size()) - nFolders;
  CString strText;
  if (nFolders == 0)
    strText.Format("%d file(s) were not brought in:", nFiles);
  else if (nFiles == 0)
    strText.Format("%d folder(s) were not brought in:", nFolders);
  else
    strText.Format("%d file(s) and %d folder(s) were not brought in:", nFiles, nFolders);
  for (size_t i = 0; i < files.size() && i < kShown; ++i) strText += "\n" + files[i].strPath + ": " + files[i].strReason + ".";
  if (files.size() > kShown) {
    CString strMore;
    strMore.Format("\n... and %d more.", static_cast<int>(files.size() - kShown));
    strText += strMore;
  }
  return strText;
}
