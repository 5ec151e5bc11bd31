// CBugReportDlg: the "Technical Support" form that sends a problem report to the support mailbox
// by mail. The mail goes out on a worker thread, so the form stays responsive and shows its
// status; a failed or cancelled send keeps the form open with the error.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "afx/CDialog.h"
#include "afx/DataExchange.h"
#include "app/CHyperLink.h"
#include "app/CSeparator.h"

class CBugReportDlg : public CDialog {
 public:
  explicit CBugReportDlg(CWnd* pParent = nullptr);
  ~CBugReportDlg() override;

  BOOL OnInitDialog() override;
  // The status line becomes "Status: " and the text; the other fields keep what they show.
  void SetStatus(const CString& strText);
  // The mail text: type and priority, version, environment, description and how to repeat.
  CString ComposeBody() const;
  // "Type: Synopsis", or the synopsis alone when no type is chosen.
  CString ComposeSubject() const;
  BOOL IsSending() const { return m_pJob != nullptr; }

  // Where reports go; the application may point them elsewhere before the form opens.
  CString m_strMailServer = "smtp.mirelund.example";
  int m_nMailPort = 25;
  CString m_strSupportAddress = "support@mirelund.example";
  CString m_strWebSite = "http://www.mirelund.example/brambolt/faq.htm";

  CString m_strName;
  CString m_strEmail;
  CString m_strVersion;
  CString m_strEnvironment;
  CString m_strType;
  CString m_strPriority;
  CString m_strSynopsis;
  CString m_strDescription;
  CString m_strRepeat;
  CString m_strStatus;
  CCJHyperLink m_ctlFaqLink;
  CSeparator m_ctlSubmitter;
  CSeparator m_ctlEnvironment;
  CSeparator m_ctlProblem;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // Send: validates, then mails the report on a worker thread.
  void OnOK() override;
  // Cancel while a report is on its way stops the send and keeps the form open.
  void OnCancel() override;
  afx_msg LRESULT OnSendFinished(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  struct SendJob;
  // The first field that fails validation, after its message; 0 when all pass.
  int Validate();
  void EnableSend(BOOL bEnable);

  std::unique_ptr<SendJob> m_pJob;
  std::thread m_worker;
};
