// Where the documentation run writes: its output folders held open, and the text of a page built
// in memory before it goes to its file.
//
// Names of folders and files below an output folder are given as the program spells them (its code
// page) and named on disk as the system names them (SystemNameOf), converted here once: a class
// typed in the locale's letters gets a folder and pages the desktop shows by those letters.
//
// Everything the run makes, replaces or removes below an output folder is reached by name from
// that open folder and never through a symbolic link: a link found where a folder or a file of
// the run belongs is removed (the link, not what it names) and a real folder or file of the run
// takes its place. A project unpacked from an archive with planted links thus cannot make the run
// write, truncate or remove anything outside its own tree.
#pragma once

#include <charconv>
#include <ctime>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

#include "base/base.h"
#include "core/CString.h"

class OutputFile;

// A name below an output folder as the links of the run's pages name it: the name on disk (as
// OutputFolder names it), each byte outside ASCII and each '%' percent-escaped, so that a browser
// or help viewer following the link opens that file whatever charset the page declares and
// whatever locale named the file. An ASCII name is as it is.
CString LinkNameOf(const CString& strName);

class OutputFolder {
 public:
  OutputFolder() = default;
  ~OutputFolder();
  OutputFolder(OutputFolder&& other) noexcept;
  OutputFolder& operator=(OutputFolder&& other) noexcept;
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;

  // The folder at the path (as the application spells it). Its last nOwnLevels components are
  // the run's own folders: each is replaced by a new folder when it is a link; the path above
  // them is taken as the user gave it. With bMake, missing folders are made, those above the own
  // ones only with bMakeAbove (without it the own folders go only into a folder that is there).
  // Not open when the folder cannot be had.
  static OutputFolder Open(const CString& strPath, int nOwnLevels = 1, bool bMake = true, bool bMakeAbove = true);

  // The folder that holds the file the path names, and that file's name (both spelled as the
  // program spells them; the folder converted as Open converts it, the name as CreateFile does).
  static OutputFolder OpenFolderOf(const CString& strPath, CString& strName, int nOwnLevels = 0,
                                   bool bMake = true);

  BOOL IsOpen() const { return m_fd >= 0; }
  // The subfolder, made when missing; a link in its place is replaced by a new folder (a file of
  // that name stays, and the subfolder is not open).
  OutputFolder Subfolder(const CString& strName) const;
  // TRUE when the subfolder is there as a real folder (a link does not count).
  BOOL HasSubfolder(const CString& strName) const;
  // Opens the file to write it whole. The bytes go into a new file beside it under a temporary
  // name, which replaces whatever had the name (a file, a link: never followed) only when its
  // close succeeds; a file that could not be written whole is dropped and the earlier one stays
  // as it was. So the name always holds an earlier file whole or the new one whole. The folder
  // must stay open until the file is closed.
  OutputFile CreateFile(const CString& strName) const;
  // CreateFile, the bytes, and the close; FALSE when the file could not be made or written (the
  // earlier file of the name, if any, is then left as it was), with errno telling why.
  BOOL WriteFile(const CString& strName, const void* pData, size_t nBytes) const;
  // Removes the entry of that name (a link goes as a link).
  void Remove(const CString& strName) const;

  // A time stamp the file system gives a file made now in the folder, later than that of every
  // file written before the call; false when none can be made there.
  bool TakeFileTime(struct timespec& time) const;
  // Removes below the folder every file last written before `since`, and every folder that this
  // leaves empty (its name, as the program spells it, given to removingFolder as it goes, deepest
  // first); the folder itself
  // stays. A link goes as a link; what it points at stays.
  void RemoveFilesWrittenBefore(const struct timespec& since,
                                const std::function<void(const CString&)>& removingFolder) const;

  int GetHandle() const { return m_fd; }
  // Why a folder is not open (the system's error number; 0 for one never opened).
  int GetError() const { return m_nError; }
  // The folder's path on disk (as it was opened).
  const std::string& GetNativePath() const { return m_path; }

 private:
  OutputFolder(int fd, std::string path, int nError = 0) : m_fd(fd), m_path(std::move(path)), m_nError(nError) {}
  OutputFolder OpenSubfolder(const char* lpszName, bool bMake) const;
  int m_fd = -1;
  std::string m_path;
  int m_nError = 0;
};

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // A file not closed (a writer that gave up half-way) is dropped as a failed one.
  ~OutputFile();

  BOOL IsOpen() const { return m_fd >= 0; }
  // FALSE once any write has failed.
  BOOL Write(const void* pData, size_t nBytes);
  // Closes the file and puts it in place of the name; FALSE when anything failed (errno then
  // tells the first failure), and the earlier file of the name is then left as it was.
  BOOL Close();
  // Drops what was written; the earlier file of the name stays.
  void Discard();

 private:
  friend class OutputFolder;
  int m_fd = -1;
  int m_dirFd = -1;          // the folder's, held open by the folder
  std::string m_folderPath;  // the folder's path, for the file layer's fault seam
  CString m_strName;         // the name the file takes when closed
  CString m_strTemp;         // the name it is written under
  bool m_bFailed = false;
  int m_nError = 0;          // why it failed first
};

// The text of a page (or of any text file of the run) as it is built: every "\n" is stored as
// CR LF, the line end of the pages, and the whole goes to its file in one write.
class PageText {
 public:
  PageText& write(const char* pData, size_t nCount);
  PageText& operator<<(const char* lpsz);
  PageText& operator<<(const CString& str);
  PageText& operator<<(const std::string& str) { return write(str.data(), str.size()); }
  PageText& operator<<(char ch) { return write(&ch, 1); }
  // Numbers in decimal.
  template <class Integer>
    requires(std::is_integral_v<Integer> && !std::is_same_v<Integer, char> && !std::is_same_v<Integer, bool>)
  PageText& operator<<(Integer n) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, n);
    return write(digits, static_cast<size_t>(result.ptr - digits));
  }

  const std::string& bytes() const { return m_bytes; }
  void clear() { m_bytes.clear(); }
  // Writes the text as the file of that name in the folder (see OutputFolder::WriteFile).
  BOOL WriteTo(const OutputFolder& folder, const CString& strName) const {
    return folder.WriteFile(strName, m_bytes.data(), m_bytes.size());
  }

 private:
  std::string m_bytes;
};
