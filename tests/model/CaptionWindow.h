// A top-level window that records every caption set on it, for the operations that show their
// progress in a window's caption.
#pragma once

#include <string>
#include <vector>

#include "win/win.h"

namespace doc_test {

class CaptionWindow {
 public:
  CaptionWindow() {
    static const ATOM atom = [] {
      WNDCLASS wc{};
      wc.lpfnWndProc = &CaptionWindow::WndProc;
      wc.lpszClassName = "DocTestCaption";
      return RegisterClass(&wc);
    }();
    (void)atom;
    m_hWnd = CreateWindowEx(0, "DocTestCaption", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                            nullptr, nullptr);
    Current() = this;
  }
  ~CaptionWindow() {
    Current() = nullptr;
    if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
  }
  CaptionWindow(const CaptionWindow&) = delete;
  CaptionWindow& operator=(const CaptionWindow&) = delete;

  HWND Get() const { return m_hWnd; }
  std::vector<std::string> captions;

 private:
  static CaptionWindow*& Current() {
    thread_local CaptionWindow* pCurrent = nullptr;
    return pCurrent;
  }
  static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_SETTEXT && Current() != nullptr && lParam != 0)
      Current()->captions.emplace_back(reinterpret_cast<const char*>(lParam));
    return DefWindowProc(hWnd, nMsg, wParam, lParam);
  }

  HWND m_hWnd = nullptr;
};

}  // namespace doc_test
