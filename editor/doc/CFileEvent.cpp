// The file watcher's records and its worker: change notifications on the watched folders, one
// pass per change, reporting files whose size or time moved and files that vanished.
#include "editor/doc/CFileEvent.h"

#include <algorithm>

#include "afx/CWinThread.h"
#include "os/ChangeNotification.h"
#include "os/FileApi.h"
#include "os/Sync.h"

namespace {

// File name, size and last-write changes.
constexpr DWORD kWatchFilter =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

CString FolderOf(const CString& path) {
  const int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
  return slash >= 0 ? path.Left(slash + 1) : CString();
}

}  // namespace

CFileInfo::CFileInfo(LPCTSTR path) : m_strPath(path), m_strFolder(FolderOf(m_strPath)) {
  if (!Query(&m_ftLastWrite, &m_dwSize)) {
    m_ftLastWrite = FILETIME{};
    m_dwSize = 0;
  }
}

BOOL CFileInfo::Query(FILETIME* time, DWORD* size) const {
  HANDLE file = ::CreateFile(m_strPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  const BOOL ok = ::GetFileTime(file, nullptr, nullptr, time);
  *size = ::GetFileSize(file, nullptr);
  ::CloseHandle(file);
  return ok;
}

CFileEvent::CFileEvent() : m_hStop(::CreateEvent(nullptr, FALSE, FALSE, nullptr)) {}

CFileEvent::~CFileEvent() {
  Stop();
  std::lock_guard<std::mutex> hold(m_lock);
  for (POSITION pos = m_files.GetStartPosition(); pos != nullptr;) {
    CString path;
    CFileInfo* info = nullptr;
    m_files.GetNextAssoc(pos, path, info);
    delete info;
  }
  m_files.RemoveAll();
  for (CFilePath* folder : m_folders) delete folder;
  m_folders.clear();
  if (m_hStop != nullptr) ::CloseHandle(m_hStop);
}

void CFileEvent::Start() {
  if (m_bRunning) return;
  ::ResetEvent(m_hStop);
  m_handles.assign(1, m_hStop);
  m_watched.clear();
  {
    // Armed here, so nothing that changes after Start returns is missed. A folder that cannot be
    // watched gets no notification: its files are never reported.
    std::lock_guard<std::mutex> hold(m_lock);
    for (const CFilePath* folder : m_folders) {
      HANDLE change = ::FindFirstChangeNotification(folder->m_strFolder, FALSE, kWatchFilter);
      if (change == INVALID_HANDLE_VALUE) continue;
      m_handles.push_back(change);
      m_watched.push_back(folder->m_strFolder);
    }
  }
  CWinThread* thread = AfxBeginThread(WatcherProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  if (thread == nullptr) {
    for (size_t i = 1; i < m_handles.size(); ++i) ::FindCloseChangeNotification(m_handles[i]);
    m_handles.clear();
    return;
  }
  // Kept after its end, so Stop can wait on its handle.
  thread->m_bAutoDelete = FALSE;
  m_pThread = thread;
  m_bRunning = TRUE;
  thread->ResumeThread();
}

void CFileEvent::Stop() {
  if (!m_bRunning) return;
  m_bRunning = FALSE;
  ::SetEvent(m_hStop);
  ::WaitForSingleObject(m_pThread->m_hThread, INFINITE);
  delete m_pThread;
  m_pThread = nullptr;
}

BOOL CFileEvent::IsWatched(LPCTSTR path) {
  std::lock_guard<std::mutex> hold(m_lock);
  CFileInfo* info = nullptr;
  return m_files.Lookup(path, info);
}

void CFileEvent::AddFile(LPCTSTR path) {
  bool newFolder = false;
  {
    std::lock_guard<std::mutex> hold(m_lock);
    CFileInfo* info = nullptr;
    if (m_files.Lookup(path, info)) return;
    info = new CFileInfo(path);
    m_files.SetAt(path, info);
    auto it = std::find_if(m_folders.begin(), m_folders.end(),
                           [&](const CFilePath* f) { return f->m_strFolder == info->m_strFolder; });
    if (it != m_folders.end()) {
      ++(*it)->m_nCount;
    } else {
      m_folders.push_back(new CFilePath(info->m_strFolder, 1));
      newFolder = true;
    }
  }
  // Restarted outside the lock: the worker takes it during a pass, and Stop waits for the worker.
  if (newFolder && m_bRunning) {
    Stop();
    Start();
  }
}

void CFileEvent::RemoveFile(LPCTSTR path) {
  std::lock_guard<std::mutex> hold(m_lock);
  RemoveFileLocked(path);
}

void CFileEvent::RemoveFileLocked(LPCTSTR path) {
  CFileInfo* info = nullptr;
  if (!m_files.Lookup(path, info)) return;
  auto it = std::find_if(m_folders.begin(), m_folders.end(),
                         [&](const CFilePath* f) { return f->m_strFolder == info->m_strFolder; });
  if (it != m_folders.end() && --(*it)->m_nCount <= 0) {
    delete *it;
    m_folders.erase(it);
  }
  m_files.RemoveKey(path);
  delete info;
}

UINT CFileEvent::WatcherProc(LPVOID param) {
  auto* self = static_cast<CFileEvent*>(param);
  while (self->WatchOnce()) {
  }
  for (size_t i = 1; i < self->m_handles.size(); ++i) ::FindCloseChangeNotification(self->m_handles[i]);
  return 0;
}

BOOL CFileEvent::WatchOnce() {
  const DWORD result =
      ::WaitForMultipleObjects(static_cast<DWORD>(m_handles.size()), m_handles.data(), FALSE, INFINITE);
  const DWORD index = result - WAIT_OBJECT_0;
  if (result == WAIT_FAILED || index == 0 || index >= m_handles.size()) return FALSE;
  ReportChanges(m_watched[index - 1]);
  // Re-armed after the walk: a change made during it signals again at once.
  ::FindNextChangeNotification(m_handles[index]);
  return TRUE;
}

// Walks the folder's files under the lock and reports after it, so a report never runs under it.
void CFileEvent::ReportChanges(const CString& folder) {
  std::vector<std::pair<UINT, CString>> reports;
  {
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<CString> vanished;
    for (POSITION pos = m_files.GetStartPosition(); pos != nullptr;) {
      CString path;
      CFileInfo* info = nullptr;
      m_files.GetNextAssoc(pos, path, info);
      if (info->m_strFolder != folder) continue;
      FILETIME time{};
      DWORD size = 0;
      if (!info->Query(&time, &size)) {
        reports.emplace_back(kGone, path);
        vanished.push_back(path);
        continue;
      }
      UINT flags = 0;
      if (::CompareFileTime(&time, &info->m_ftLastWrite) > 0) {
        flags |= kTimeLater;
        info->m_ftLastWrite = time;
      }
      if (size != info->m_dwSize) {
        flags |= kSizeChanged;
        info->m_dwSize = size;
      }
      if (flags != 0) reports.emplace_back(flags, path);
    }
    for (const CString& path : vanished) RemoveFileLocked(path);
  }
  for (const auto& [flags, path] : reports) OnFileChanged(flags, path);
}
