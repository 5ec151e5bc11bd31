// The caption and the counters of a documentation run.
#include "model/DocumentationProgress.h"

#include "win/WinUser.h"

void DocumentationProgress::SetCaption(const CString& strText) {
  if (m_hWnd == nullptr) return;
  SetWindowText(m_hWnd, strText);
  UpdateWindow(m_hWnd);
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
