// An application that records the help it is asked to show instead of showing it.
#pragma once

#include <vector>

#include "afx/afx.h"

class HelpRecorder : public CWinApp {
 public:
  explicit HelpRecorder(LPCTSTR lpszName = "Help") : CWinApp(lpszName) {}
  std::vector<DWORD_PTR> topics;
  void WinHelp(DWORD_PTR dwData, UINT) override { topics.push_back(dwData); }
};
