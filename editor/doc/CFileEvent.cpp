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
  // A link's own folder sees the link replaced; the folder of the file it names sees the file
  // written. A path through ".." names its folder as the kernel resolves it.
  const CString target = FolderOf(CString(brambolt::ResolvedFilePath(path).c_str()));
  if (!target.IsEmpty() && brambolt::ResolvedFilePath(m_strFolder) + "/" != static_cast<LPCTSTR>(target))
    m_strTargetFolder = target;
  brambolt::FileIdentity identity;
  Query(&identity);
  Remember(identity);
}

BOOL CFileInfo::Query(brambolt::FileIdentity* identity) const {
  // The state, not the content: a stat, which neither opens the file nor waits on it.
  *identity = brambolt::QueryFileIdentity(m_strPath);
  return identity->Exists();
}

void CFileInfo::Remember(const brambolt::FileIdentity& identity) {
  m_identity = identity;
  m_ftLastWrite = identity.Exists() ? brambolt::FileTimeFromUnix(identity.seconds, identity.nanoseconds) : FILETIME{};
  m_dwSize = static_cast<DWORD>(identity.size);
}

std::vector<CString> CFileInfo::Folders() const {
  std::vector<CString> folders{m_strFolder};
  if (!m_strTargetFolder.IsEmpty()) folders.push_back(m_strTargetFolder);
  return folders;
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

BOOL CFileEvent::AddFolder(const CString& folder) {
  auto it = std::find_if(m_folders.begin(), m_folders.end(), [&](const CFilePath* f) { return f->m_strFolder == folder; });
  if (it != m_folders.end()) {
    ++(*it)->m_nCount;
    return FALSE;
  }
  m_folders.push_back(new CFilePath(folder, 1));
  return TRUE;
}

void CFileEvent::RemoveFolder(const CString& folder) {
  auto it = std::find_if(m_folders.begin(), m_folders.end(), [&](const CFilePath* f) { return f->m_strFolder == folder; });
  if (it != m_folders.end() && --(*it)->m_nCount <= 0) {
    delete *it;
    m_folders.erase(it);
  }
}

void CFileEvent::AddFile(LPCTSTR path) {
  bool newFolder = false;
  {
    std::lock_guard<std::mutex> hold(m_lock);
    CFileInfo* info = nullptr;
    if (m_files.Lookup(path, info)) return;
    info = new CFileInfo(path);
    m_files.SetAt(path, info);
    for (const CString& folder : info->Folders())
      if (AddFolder(folder)) newFolder = true;
  }
  // Restarted outside the lock: the worker takes it during a pass, and Stop waits for the worker.
  if (newFolder && m_bRunning) {
    Stop();
    Start();
  }
}

void CFileEvent::RefreshFile(LPCTSTR path) {
  std::lock_guard<std::mutex> hold(m_lock);
  CFileInfo* info = nullptr;
  if (!m_files.Lookup(path, info)) return;
  brambolt::FileIdentity identity;
  info->Query(&identity);
  info->Remember(identity);
}

void CFileEvent::RemoveFile(LPCTSTR path) {
  std::lock_guard<std::mutex> hold(m_lock);
  RemoveFileLocked(path);
}

void CFileEvent::RemoveFileLocked(LPCTSTR path) {
  CFileInfo* info = nullptr;
  if (!m_files.Lookup(path, info)) return;
  for (const CString& folder : info->Folders()) RemoveFolder(folder);
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
// A file that vanished is reported once and stays watched: a file made again under its name (as a
// checkout deletes and writes files) is a change like any other.
void CFileEvent::ReportChanges(const CString& folder) {
  std::vector<std::pair<UINT, CString>> reports;
  {
    std::lock_guard<std::mutex> hold(m_lock);
    for (POSITION pos = m_files.GetStartPosition(); pos != nullptr;) {
      CString path;
      CFileInfo* info = nullptr;
      m_files.GetNextAssoc(pos, path, info);
      if (info->m_strFolder != folder && info->m_strTargetFolder != folder) continue;
      brambolt::FileIdentity now;
      if (!info->Query(&now)) {
        if (info->m_identity.Exists()) reports.emplace_back(kGone, path);
        info->Remember(now);
        continue;
      }
      if (now == info->m_identity) continue;
      const FILETIME time = brambolt::FileTimeFromUnix(now.seconds, now.nanoseconds);
      UINT flags = 0;
      if (::CompareFileTime(&time, &info->m_ftLastWrite) > 0) flags |= kTimeLater;
      if (now.size != info->m_identity.size || !info->m_identity.Exists()) flags |= kSizeChanged;
      if (!now.SameFile(info->m_identity) || ::CompareFileTime(&time, &info->m_ftLastWrite) < 0) flags |= kReplaced;
      info->Remember(now);
      if (flags != 0) reports.emplace_back(flags, path);
    }
  }
  for (const auto& [flags, path] : reports) OnFileChanged(flags, path);
}
