// A watcher of files on disk: one worker thread waits on change notifications of the folders of
// the watched files and reports a file whose size or last-write time changed, or that vanished.
#pragma once

#include <mutex>
#include <vector>

#include "core/CMap.h"
#include "core/CString.h"

class CWinThread;

// One watched file: its full path, its folder (ending in a backslash), its last-write time and size
// as last seen (0 when the file could not be opened).
class CFileInfo {
 public:
  explicit CFileInfo(LPCTSTR path);
  // Reads the time and size again; FALSE when the file cannot be opened for reading.
  BOOL Query(FILETIME* time, DWORD* size) const;

  CString m_strPath;
  CString m_strFolder;
  FILETIME m_ftLastWrite{};
  DWORD m_dwSize = 0;
};

// One watched folder and how many watched files lie in it.
class CFilePath {
 public:
  CFilePath(LPCTSTR folder, int count) : m_strFolder(folder), m_nCount(count) {}
  CString m_strFolder;
  int m_nCount;
};

class CFileEvent {
 public:
  // Flags of OnFileChanged.
  enum { kSizeChanged = 2, kTimeLater = 4, kGone = 8 };

  CFileEvent();
  virtual ~CFileEvent();
  CFileEvent(const CFileEvent&) = delete;
  CFileEvent& operator=(const CFileEvent&) = delete;

  // Starts the worker when none runs; changes made after Start returns are seen. Stop signals the
  // worker and waits until it has ended.
  void Start();
  void Stop();
  BOOL IsRunning() const { return m_bRunning; }
  void AddFile(LPCTSTR path);
  void RemoveFile(LPCTSTR path);
  BOOL IsWatched(LPCTSTR path);

  // Called on the worker thread, outside the lock: must not wait for the user-interface thread.
  virtual void OnFileChanged(UINT flags, LPCTSTR path) = 0;

 private:
  static UINT WatcherProc(LPVOID param);
  // Waits for one change and reports it: FALSE when the stop event ended the wait.
  BOOL WatchOnce();
  void ReportChanges(const CString& folder);
  void RemoveFileLocked(LPCTSTR path);

  HANDLE m_hStop;
  CMap<CString, LPCTSTR, CFileInfo*, CFileInfo*> m_files;
  std::vector<CFilePath*> m_folders;
  BOOL m_bRunning = FALSE;
  CWinThread* m_pThread = nullptr;
  std::mutex m_lock;
  // The stop event and one change notification per folder watched by the running worker, made
  // by Start before the worker runs and closed by the worker when it ends.
  std::vector<HANDLE> m_handles;
  std::vector<CString> m_watched;
};
