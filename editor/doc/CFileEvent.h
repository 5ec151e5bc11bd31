// A watcher of files on disk: one worker thread waits on change notifications of the folders of
// the watched files and reports a file whose size or last-write time changed, or that vanished.
#pragma once

#include <mutex>
#include <vector>

#include "core/CMap.h"
#include "core/CString.h"
#include "os/FileApi.h"

class CWinThread;

// One watched file: its full path, its folder (ending in a backslash) and, for a path through a
// symbolic link, the folder of the file the link names, where the file's changes happen; its
// last-write time and size as last seen (0 while the file is not there), and its whole identity.
class CFileInfo {
 public:
  explicit CFileInfo(LPCTSTR path);
  // Reads the file's identity again; FALSE when nothing is there.
  BOOL Query(brambolt::FileIdentity* identity) const;
  // Takes the identity as the last seen state.
  void Remember(const brambolt::FileIdentity& identity);
  // The folders whose changes may change the file: its own and its link's target's.
  std::vector<CString> Folders() const;

  CString m_strPath;
  CString m_strFolder;
  CString m_strTargetFolder;  // empty when the file lies in its own folder
  FILETIME m_ftLastWrite{};
  DWORD m_dwSize = 0;
  brambolt::FileIdentity m_identity;
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
  // Flags of OnFileChanged. kReplaced: another file stands at the path (another device or inode,
  // as a rename over it or a delete and a new file leave), or its time went back (an older copy
  // put back). A file that vanished stays watched: its return is reported as a change.
  enum { kSizeChanged = 2, kTimeLater = 4, kGone = 8, kReplaced = 16 };

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
  // Takes the file's present state as seen, so that only later changes are reported (after a read
  // of the file that the watcher's pass may not have seen yet).
  void RefreshFile(LPCTSTR path);
  BOOL IsWatched(LPCTSTR path);

  // Called on the worker thread, outside the lock: must not wait for the user-interface thread.
  virtual void OnFileChanged(UINT flags, LPCTSTR path) = 0;

 private:
  static UINT WatcherProc(LPVOID param);
  // Waits for one change and reports it: FALSE when the stop event ended the wait.
  BOOL WatchOnce();
  void ReportChanges(const CString& folder);
  void RemoveFileLocked(LPCTSTR path);
  // Counts the folder in (TRUE when it is new to the list) or out.
  BOOL AddFolder(const CString& folder);
  void RemoveFolder(const CString& folder);

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
