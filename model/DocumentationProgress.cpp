// The caption and the counters of a documentation run.
#include "model/DocumentationProgress.h"

#include <algorithm>

#include "win/WinUser.h"

void DocumentationProgress::SetCaption(const CString& strText) {
  if (m_hWnd == nullptr) return;
  {
    std::lock_guard<std::mutex> lock(m_captionMutex);
    if (m_bHolding && std::this_thread::get_id() != m_owner) {
      m_strHeld = strText;
      m_bHeld = true;
      return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (m_bCaptionShown && now - m_lastCaption < std::chrono::milliseconds(m_nCaptionMs)) return;
    m_bCaptionShown = true;
    m_lastCaption = now;
  }
  SetWindowText(m_hWnd, strText);
  UpdateWindow(m_hWnd);
}

void DocumentationProgress::HoldCaptionsOfOtherThreads(bool bHold) {
  std::lock_guard<std::mutex> lock(m_captionMutex);
  m_bHolding = bHold;
  m_owner = std::this_thread::get_id();
}

void DocumentationProgress::ShowHeldCaption() {
  CString strText;
  {
    std::lock_guard<std::mutex> lock(m_captionMutex);
    if (!m_bHeld) return;
    strText = m_strHeld;
    m_bHeld = false;
  }
  SetCaption(strText);
}

void DocumentationProgress::PageWritten(const CString&) { ++m_nPages; }

void DocumentationProgress::BitmapWritten(const CString&) { ++m_nBitmaps; }

void DocumentationProgress::ReportCut(const CString& strText) {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  m_cuts.push_back(strText);
}

std::vector<CString> DocumentationProgress::GetCuts() const {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  return m_cuts;
}

void DocumentationProgress::PageFailed(const CString& strName, int nError) {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  m_failedPages.push_back(strName);
  if (m_nFirstError == 0) m_nFirstError = nError;
}

void DocumentationProgress::ClassPageFailed(const CString& strClass, const CString& strPage, int nError) {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  m_leftOut.push_back({strClass, strPage, nError});
  if (m_nFirstError == 0) m_nFirstError = nError;
}

std::vector<DocumentationProgress::LeftOutPage> DocumentationProgress::GetLeftOutPages() const {
  std::vector<LeftOutPage> pages;
  {
    std::lock_guard<std::mutex> lock(m_cutsMutex);
    pages = m_leftOut;
  }
  std::stable_sort(pages.begin(), pages.end(), [](const LeftOutPage& a, const LeftOutPage& b) {
    const int nClass = a.strClass.Compare(b.strClass);
    return nClass != 0 ? nClass < 0 : a.strPage.Compare(b.strPage) < 0;
  });
  return pages;
}

void DocumentationProgress::SetOutputFolder(const CString& strPath, int nError) {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  m_strOutputFolder = strPath;
  m_nFolderError = nError;
}

CString DocumentationProgress::GetOutputFolder() const {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  return m_strOutputFolder;
}

int DocumentationProgress::GetFirstError() const {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  return m_nFolderError != 0 ? m_nFolderError : m_nFirstError;
}

std::vector<CString> DocumentationProgress::GetFailedPages() const {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  return m_failedPages;
}

BOOL DocumentationProgress::HasFailed() const {
  return GetFailedClasses() > 0 || IsChartFailed() || !GetFailedPages().empty();
}
