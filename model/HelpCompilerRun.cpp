// The compiler's child process, its output pipe and the thread that reads it.
#include "model/HelpCompilerRun.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <chrono>

#include "os/KernelObject.h"
#include "os/Waitable.h"
#include "win/WinUser.h"

HelpCompilerRun::~HelpCompilerRun() { End(); }

BOOL HelpCompilerRun::Start(brambolt::SpawnRequest request, DWORD* pError) {
  int output[2], wake[2];
  if (::pipe2(output, O_CLOEXEC) != 0) {
    *pError = ERROR_NOT_ENOUGH_MEMORY;
    return FALSE;
  }
  if (::pipe2(wake, O_CLOEXEC) != 0) {
    ::close(output[0]);
    ::close(output[1]);
    *pError = ERROR_NOT_ENOUGH_MEMORY;
    return FALSE;
  }
  request.standardOutput = output[1];
  request.errorsToOutput = true;
  request.ownGroup = true;
  request.endWithParent = true;
  m_process = brambolt::Spawn(request, pError);
  ::close(output[1]);
  if (!m_process) {
    for (int fd : {output[0], wake[0], wake[1]}) ::close(fd);
    return FALSE;
  }
  m_nWakeRead = wake[0];
  m_nWake = wake[1];
  m_reader = std::thread(&HelpCompilerRun::Read, this, output[0], wake[0]);
  return TRUE;
}

void HelpCompilerRun::Read(int nOutput, int nWake) {
  char buffer[4096];
  for (;;) {
    pollfd ends[2] = {{nOutput, POLLIN, 0}, {nWake, POLLIN, 0}};
    if (::poll(ends, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (ends[1].revents != 0) break;  // the run ends: no more waiting for a writer
    const ssize_t n = ::read(nOutput, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_output.append(buffer, static_cast<size_t>(n));
    NotifyLocked();
  }
  ::close(nOutput);  // the wake pipe stays open until End: a late wake never writes into a closed pipe
  // The output closed; the compiler may still run (End ends it).
  if (auto process = std::dynamic_pointer_cast<brambolt::Waitable>(m_process)) {
    const std::shared_ptr<brambolt::Waitable> objects[] = {process};
    brambolt::WaitForObjects(objects, true, INFINITE);
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_bFinished = true;
  NotifyLocked();
}

void HelpCompilerRun::NotifyLocked() {
  m_changed.notify_all();
  // One notice at a time: the window takes everything new when it answers.
  if (m_hWnd != nullptr && !m_bNotified) {
    m_bNotified = true;
    ::PostMessage(m_hWnd, WM_HELP_COMPILER_NEWS, 0, 0);
  }
}

void HelpCompilerRun::Watch(HWND hWnd) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_hWnd = hWnd;
  m_bNotified = false;
  if (hWnd != nullptr && (m_nTaken < m_output.size() || m_bFinished)) NotifyLocked();
}

void HelpCompilerRun::ShowNamesAs(std::vector<std::pair<std::string, std::string>> names) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_names = std::move(names);
}

std::string HelpCompilerRun::ShownLocked(size_t nFrom, size_t nTo) const {
  std::string shown;
  for (size_t at = nFrom; at < nTo;) {
    bool bNamed = false;
    for (const auto& [from, to] : m_names) {
      if (!from.empty() && m_output.compare(at, from.size(), from) == 0 && at + from.size() <= nTo) {
        shown += to;
        at += from.size();
        bNamed = true;
        break;
      }
    }
    if (!bNamed) shown += m_output[at++];
  }
  return shown;
}

std::string HelpCompilerRun::TakeNewOutput(bool* pbEnded) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_bNotified = false;
  if (pbEnded != nullptr) *pbEnded = m_bFinished;
  size_t nEnd = m_output.size();
  // Held back: the longest end that begins a name, which more output may complete.
  if (!m_bFinished) {
    size_t nHeld = 0;
    for (const auto& name : m_names) {
      const std::string& from = name.first;
      for (size_t n = std::min(from.size() - (from.empty() ? 0 : 1), nEnd - m_nTaken); n > nHeld; --n) {
        if (m_output.compare(nEnd - n, n, from, 0, n) == 0) {
          nHeld = n;
          break;
        }
      }
    }
    nEnd -= nHeld;
  }
  std::string fresh = ShownLocked(m_nTaken, nEnd);
  m_nTaken = nEnd;
  return fresh;
}

std::string HelpCompilerRun::GetOutput() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return ShownLocked(0, m_output.size());
}

BOOL HelpCompilerRun::IsFinished() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_bFinished;
}

BOOL HelpCompilerRun::GetExitCode(DWORD* pCode) const {
  if (!m_process) return FALSE;
  HANDLE hProcess = brambolt::AllocHandle(m_process);
  const BOOL bEnded = ::GetExitCodeProcess(hProcess, pCode) && *pCode != STILL_ACTIVE;
  ::CloseHandle(hProcess);
  return bEnded;
}

BOOL HelpCompilerRun::WaitFinished(DWORD nSilenceMs) {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (size_t nSeen = m_output.size(); !m_bFinished; nSeen = m_output.size()) {
    const bool bNews = m_changed.wait_for(lock, std::chrono::milliseconds(nSilenceMs),
                                          [&] { return m_bFinished || m_output.size() != nSeen; });
    if (!bNews) return FALSE;
  }
  return TRUE;
}

void HelpCompilerRun::End() {
  if (m_process) brambolt::EndProgramGroup(m_process);
  if (m_nWake >= 0) {
    const char c = 0;
    (void)!::write(m_nWake, &c, 1);
  }
  if (m_reader.joinable()) m_reader.join();
  for (int* pEnd : {&m_nWake, &m_nWakeRead}) {
    if (*pEnd >= 0) ::close(*pEnd);
    *pEnd = -1;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_hWnd = nullptr;
}
