// The caption and the counters of a documentation run.
#include "model/DocumentationProgress.h"

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

void DocumentationProgress::PageFailed(const CString& strName) {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  m_failedPages.push_back(strName);
}

std::vector<CString> DocumentationProgress::GetFailedPages() const {
  std::lock_guard<std::mutex> lock(m_cutsMutex);
  return m_failedPages;
}

BOOL DocumentationProgress::HasFailed() const {
  return GetFailedClasses() > 0 || IsChartFailed() || !GetFailedPages().empty();
}
