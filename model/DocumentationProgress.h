// What a documentation run shows and learns while it writes: the window whose caption names the
// file being written, the stop flag the user's cancel sets, and the counts of what was written.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "base/base.h"
#include "core/CString.h"

class DocumentationProgress {
 public:
  // The caption shows what the run does a few times a second (at most once per nCaptionMs), not
  // once per file: each showing is a round trip to the window's thread and a repaint.
  static constexpr int kCaptionMs = 250;
  explicit DocumentationProgress(HWND hWnd = nullptr, int nCaptionMs = kCaptionMs)
      : m_hWnd(hWnd), m_nCaptionMs(nCaptionMs) {}
  virtual ~DocumentationProgress() = default;

  // Shows the text in the window's caption at once (nothing without a window), unless a caption
  // was shown less than the caption interval ago; any thread may call it.
  virtual void SetCaption(const CString& strText);
  // While a pool of threads writes for the run, a caption set on another thread than the pool's
  // owner is only held; the owner shows the latest one held (ShowHeldCaption) as it waits. So the
  // pool never waits for the window's thread, which may be the owner itself.
  void HoldCaptionsOfOtherThreads(bool bHold);
  void ShowHeldCaption();
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
  // The classes the run documents, set as it starts.
  void SetClassCount(int nClasses) { m_nClasses.store(nClasses); }
  int GetClassCount() const { return m_nClasses.load(); }
  // A page of the run's own (the class list, the chart page) that could not be written, and why
  // (the system's error number, 0 when unknown).
  void PageFailed(const CString& strName, int nError = 0);
  std::vector<CString> GetFailedPages() const;
  // A page of a class that could not be written (its path below the output folder) and why; the
  // class's other pages are still written.
  struct LeftOutPage {
    CString strClass;
    CString strPage;
    int nError;
  };
  void ClassPageFailed(const CString& strClass, const CString& strPage, int nError);
  // Sorted by class and page, whatever order the threads wrote in.
  std::vector<LeftOutPage> GetLeftOutPages() const;
  // The output folder the run writes into (its path on disk), and why it could not be opened
  // (0 when it could).
  void SetOutputFolder(const CString& strPath, int nError);
  CString GetOutputFolder() const;
  // Why the output folder took nothing: its own error, else that of the first file that failed.
  int GetFirstError() const;
  // Whether the run failed anywhere: a class, the chart or a page of its own.
  BOOL HasFailed() const;
  // What the run had to cut to keep its output bounded (a sentence each), told to the user when
  // the run has ended.
  void ReportCut(const CString& strText);
  std::vector<CString> GetCuts() const;
  int GetPageCount() const { return m_nPages.load(); }
  int GetBitmapCount() const { return m_nBitmaps.load(); }

 private:
  HWND m_hWnd;
  int m_nCaptionMs;
  std::mutex m_captionMutex;
  std::chrono::steady_clock::time_point m_lastCaption;
  bool m_bCaptionShown = false;
  bool m_bHolding = false;
  std::thread::id m_owner;
  CString m_strHeld;
  bool m_bHeld = false;
  std::atomic<bool> m_bStop{false};
  std::atomic<int> m_nPages{0};
  std::atomic<int> m_nBitmaps{0};
  std::atomic<int> m_nFailed{0};
  std::atomic<bool> m_bChartFailed{false};
  std::atomic<int> m_nClasses{0};
  mutable std::mutex m_cutsMutex;
  std::vector<CString> m_cuts;
  std::vector<CString> m_failedPages;
  std::vector<LeftOutPage> m_leftOut;
  CString m_strOutputFolder;
  int m_nFolderError = 0;
  int m_nFirstError = 0;
};

// The stop test of a writer that may run without progress.
inline BOOL IsRunStopped(const DocumentationProgress* pProgress) {
  return pProgress != nullptr && pProgress->IsStopped();
}
