// What a documentation run shows and learns while it writes: the window whose caption names the
// file being written, the stop flag the user's cancel sets, and the counts of what was written.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "base/base.h"
#include "core/CString.h"

class DocumentationProgress {
 public:
  explicit DocumentationProgress(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
  virtual ~DocumentationProgress() = default;

  // Shows the text in the window's caption at once (nothing without a window).
  virtual void SetCaption(const CString& strText);
  // Called after each page or bitmap file has been written.
  virtual void PageWritten(const CString& strPath);
  virtual void BitmapWritten(const CString& strPath);

  // Any thread may ask the run to stop; the writers look before each file and write no further one.
  void RequestStop() { m_bStop.store(true); }
  BOOL IsStopped() const { return m_bStop.load() ? TRUE : FALSE; }

  HWND GetWindow() const { return m_hWnd; }
  // How many classes the run could not write, set when it has ended.
  void SetFailedClasses(int nFailed) { m_nFailed.store(nFailed); }
  int GetFailedClasses() const { return m_nFailed.load(); }
  // Set when the hierarchy chart could not be written.
  void SetChartFailed() { m_bChartFailed.store(true); }
  BOOL IsChartFailed() const { return m_bChartFailed.load() ? TRUE : FALSE; }
  // What the run had to cut to keep its output bounded (a sentence each), told to the user when
  // the run has ended.
  void ReportCut(const CString& strText);
  std::vector<CString> GetCuts() const;
  int GetPageCount() const { return m_nPages.load(); }
  int GetBitmapCount() const { return m_nBitmaps.load(); }

 private:
  HWND m_hWnd;
  std::atomic<bool> m_bStop{false};
  std::atomic<int> m_nPages{0};
  std::atomic<int> m_nBitmaps{0};
  std::atomic<int> m_nFailed{0};
  std::atomic<bool> m_bChartFailed{false};
  mutable std::mutex m_cutsMutex;
  std::vector<CString> m_cuts;
};

// The stop test of a writer that may run without progress.
inline BOOL IsRunStopped(const DocumentationProgress* pProgress) {
  return pProgress != nullptr && pProgress->IsStopped();
}
