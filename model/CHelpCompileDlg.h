// The window of an HTML Help compile: what the compiler writes, shown as it comes; Cancel (or
// closing the window) ends the compiler; at the end the result under the whole output, until the
// user closes it.
#pragma once

#include <functional>
#include <string>

#include "afx/CDialog.h"

class HelpCompilerRun;

class CHelpCompileDlg : public CDialog {
 public:
  // `result` gives the text shown under the output once the compiler has ended.
  CHelpCompileDlg(HelpCompilerRun& run, std::function<CString()> result, CWnd* pParentWnd);

  BOOL OnInitDialog() override;
  // TRUE when the user closed the window (Cancel, Escape, its close box) before the compiler ended;
  // the compiler was then ended.
  BOOL WasCancelled() const { return m_bCancelled; }

 protected:
  void OnOK() override;
  void OnCancel() override;
  afx_msg LRESULT OnCompilerNews(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void Append(const std::string& text);

  HelpCompilerRun& m_run;
  std::function<CString()> m_result;
  BOOL m_bFinished = FALSE;
  BOOL m_bCancelled = FALSE;
};
