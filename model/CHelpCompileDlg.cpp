// The HTML Help compile's window.
#include "model/CHelpCompileDlg.h"

#include "model/HelpCompilerRun.h"
#include "resources/resource.h"

CHelpCompileDlg::CHelpCompileDlg(HelpCompilerRun& run, std::function<CString()> result, CWnd* pParentWnd)
    : CDialog(IDD_HELP_COMPILE, pParentWnd), m_run(run), m_result(std::move(result)) {}

BEGIN_MESSAGE_MAP(CHelpCompileDlg, CDialog)
  ON_MESSAGE(WM_HELP_COMPILER_NEWS, OnCompilerNews)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CHelpCompileDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // The output of a big project's compile is long: no limit but memory.
  SendDlgItemMessage(IDC_COMPILER_OUTPUT, EM_LIMITTEXT, 0, 0);
  m_run.Watch(m_hWnd);
  return TRUE;
}

void CHelpCompileDlg::Append(const std::string& text) {
  // The edit control breaks lines at CR LF.
  std::string lines;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
    lines += text[i];
  }
  CWnd* pOutput = GetDlgItem(IDC_COMPILER_OUTPUT);
  if (pOutput == nullptr || lines.empty()) return;
  const int nEnd = pOutput->GetWindowTextLength();
  pOutput->SendMessage(EM_SETSEL, nEnd, nEnd);
  pOutput->SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lines.c_str()));
  pOutput->SendMessage(EM_SCROLLCARET, 0, 0);
}

LRESULT CHelpCompileDlg::OnCompilerNews(WPARAM, LPARAM) {
  if (m_bFinished) return 0;
  // Whether the compiler has ended is learnt with the output taken: its last lines, read between
  // the two, are shown before the result and not left out.
  bool bEnded = false;
  Append(m_run.TakeNewOutput(&bEnded));
  if (!bEnded) return 0;
  m_bFinished = TRUE;
  Append("\n\n" + std::string(static_cast<LPCTSTR>(m_result())) + "\n");
  SetDlgItemText(IDCANCEL, "Close");
  return 0;
}

void CHelpCompileDlg::OnOK() {}  // Enter closes nothing: the output may be read at leisure

void CHelpCompileDlg::OnCancel() {
  m_bCancelled = !m_bFinished;
  m_run.End();  // returns once no compiler process is left
  CDialog::OnCancel();
}

void CHelpCompileDlg::OnDestroy() {
  // Destroyed with its owner (the program closing): the compiler ends with it.
  m_run.End();
  CDialog::OnDestroy();
}
