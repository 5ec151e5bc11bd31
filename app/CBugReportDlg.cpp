// The problem report form.
#include "app/CBugReportDlg.h"

#include "afx/CWinApp.h"
#include "app/CEditLink.h"
#include "app/CSMTPConnection.h"
#include "app/CVersion.h"
#include "foundation/SECFileSystem.h"
#include "os/Paths.h"
#include "resources/AppResource.h"

namespace {

// Posted by the worker when the mail has gone out or failed.
constexpr UINT WM_BUGREPORT_SENT = WM_APP + 0x131;
const char kProfileSection[] = "Problem report";

CString LoadText(UINT nID) {
  CString strText;
  strText.LoadString(nID);
  return strText;
}

}  // namespace

// What the worker needs and what it reports; the form reads the results after joining it.
struct CBugReportDlg::SendJob {
  CString strServer;
  int nPort = 25;
  CString strSupport;
  CString strName;
  CString strEmail;
  CString strSubject;
  CString strBody;
  BOOL bConnected = FALSE;
  BOOL bSent = FALSE;
  DWORD dwError = 0;
  BOOL bHandedOver = FALSE;
  CString strReply;
  // Made before the worker starts, so that Cancel on the form can end its waits at once.
  CSMTPConnection connection;
  std::atomic<bool> bCancelled{false};

  void Cancel() {
    bCancelled = true;
    connection.Cancel();
  }

  void Run() {
    bConnected = connection.Connect(strServer, nPort);
    if (!bConnected) {
      dwError = GetLastError();
      return;
    }
    CSMTPMessage message;
    message.AddMultipleRecipients(strSupport, CSMTPMessage::TO);
    message.m_From = CSMTPAddress(strName, strSupport);
    message.m_ReplyTo = CSMTPAddress(strName, strEmail);
    message.m_sSubject = strSubject;
    message.SetBody(strBody);
    bSent = connection.SendMessage(message);
    if (!bSent) {
      dwError = GetLastError();
      strReply = connection.GetLastCommandResponse();
      bHandedOver = connection.IsMessageHandedOver();
    }
    connection.Disconnect();
  }
};

namespace {

// Why a send failed: the server's answer when one came, else what became of the connection.
CString DescribeSendFailure(const CString& strReply, DWORD dwError, DWORD dwTimeout) {
  if (!strReply.IsEmpty()) return strReply;
  CString strText;
  if (dwError == WSAETIMEDOUT) {
    strText.Format(LoadText(IDS_BUG_NO_ANSWER), static_cast<int>((dwTimeout + 999) / 1000));
  } else {
    strText = SECFileSystem::DescribeError(dwError);
  }
  return strText;
}

}  // namespace

BEGIN_MESSAGE_MAP(CBugReportDlg, CDialog)
  ON_MESSAGE(WM_BUGREPORT_SENT, OnSendFinished)
END_MESSAGE_MAP()

CBugReportDlg::CBugReportDlg(CWnd* pParent) : CDialog(IDD_BUGREPORT, pParent) {}

CBugReportDlg::~CBugReportDlg() {
  if (m_pJob) m_pJob->Cancel();
  if (m_worker.joinable()) m_worker.join();
}

void CBugReportDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_BUG_FAQ_LINK, m_ctlFaqLink);
  DDX_Control(pDX, IDC_BUG_SEP_SUBMITTER, m_ctlSubmitter);
  DDX_Control(pDX, IDC_BUG_SEP_ENVIRONMENT, m_ctlEnvironment);
  DDX_Control(pDX, IDC_BUG_SEP_PROBLEM, m_ctlProblem);
  DDX_Text(pDX, IDC_BUG_NAME, m_strName);
  DDX_Text(pDX, IDC_BUG_EMAIL, m_strEmail);
  DDX_Text(pDX, IDC_BUG_VERSION, m_strVersion);
  DDX_Text(pDX, IDC_BUG_ENVIRONMENT, m_strEnvironment);
  DDX_CBString(pDX, IDC_BUG_TYPE, m_strType);
  DDX_CBString(pDX, IDC_BUG_PRIORITY, m_strPriority);
  DDX_Text(pDX, IDC_BUG_SYNOPSIS, m_strSynopsis);
  DDX_Text(pDX, IDC_BUG_DESCRIPTION, m_strDescription);
  DDX_Text(pDX, IDC_BUG_REPEAT, m_strRepeat);
  DDX_Text(pDX, IDC_BUG_STATUS, m_strStatus);
}

BOOL CBugReportDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_ctlFaqLink.SetColors(RGB(0, 0, 157), RGB(0, 0, 157), RGB(51, 101, 255));
  m_ctlFaqLink.SetURL(m_strWebSite);
  const CVersion version;
  m_strEnvironment = version.GetOSVersion() + "\r\nVisual Brambolt " + version.GetProgramVersion();
  if (CWinApp* pApp = AfxGetApp()) {
    // The sender as typed, kept in the one charset every locale reads (os/Paths.h).
    m_strName = brambolt::TextOfStored(static_cast<LPCTSTR>(pApp->GetProfileString(kProfileSection, "Name", ""))).c_str();
    m_strEmail = brambolt::TextOfStored(static_cast<LPCTSTR>(pApp->GetProfileString(kProfileSection, "E-mail", ""))).c_str();
  }
  m_strVersion = "Visual Brambolt " + version.GetBuild();
  m_strType = LoadText(IDS_BUG_DEFAULT_TYPE);
  m_strPriority = LoadText(IDS_BUG_DEFAULT_PRIORITY);
  UpdateData(FALSE);
  SetStatus("");
  return TRUE;
}

void CBugReportDlg::SetStatus(const CString& strText) {
  // Only the status line changes: what the user typed meanwhile stays.
  m_strStatus = LoadText(IDS_BUG_STATUS) + strText;
  SetDlgItemText(IDC_BUG_STATUS, m_strStatus);
}

int CBugReportDlg::Validate() {
  struct Check {
    CString* pValue;
    UINT nMessage;
    int nControl;
  } checks[] = {{&m_strName, IDS_BUG_NEED_NAME, IDC_BUG_NAME},
                {&m_strEmail, IDS_BUG_NEED_EMAIL, IDC_BUG_EMAIL},
                {&m_strSynopsis, IDS_BUG_NEED_SYNOPSIS, IDC_BUG_SYNOPSIS},
                {&m_strDescription, IDS_BUG_NEED_DESCRIPTION, IDC_BUG_DESCRIPTION}};
  for (const Check& check : checks) {
    check.pValue->Trim();
    const bool bEmail = check.nControl == IDC_BUG_EMAIL;
    if (!check.pValue->IsEmpty() && (!bEmail || CEditLink::IsValidEmail(*check.pValue))) continue;
    AfxMessageBox(check.nMessage, MB_ICONINFORMATION);
    GotoDlgCtrl(GetDlgItem(check.nControl));
    return check.nControl;
  }
  return 0;
}

CString CBugReportDlg::ComposeSubject() const {
  return m_strType.IsEmpty() ? m_strSynopsis : m_strType + ": " + m_strSynopsis;
}

CString CBugReportDlg::ComposeBody() const {
  return "Type: " + m_strType + "\r\nPriority: " + m_strPriority + "\r\n\r\nVersion:\r\n" + m_strVersion +
         "\r\n\r\nEnvironment:\r\n" + m_strEnvironment + "\r\n\r\nDescription:\r\n" + m_strDescription +
         "\r\n\r\nHow to Repeat:\r\n" + m_strRepeat;
}

void CBugReportDlg::EnableSend(BOOL bEnable) {
  if (CWnd* pButton = GetDlgItem(IDOK)) pButton->EnableWindow(bEnable);
}

void CBugReportDlg::OnOK() {
  if (IsSending() || !UpdateData(TRUE) || Validate() != 0) return;
  SetStatus(LoadText(IDS_BUG_CONNECTING));
  m_pJob = std::make_unique<SendJob>();
  m_pJob->strServer = m_strMailServer;
  m_pJob->nPort = m_nMailPort;
  m_pJob->strSupport = m_strSupportAddress;
  m_pJob->strName = m_strName;
  m_pJob->strEmail = m_strEmail;
  m_pJob->strSubject = ComposeSubject();
  m_pJob->strBody = ComposeBody();
  EnableSend(FALSE);
  HWND hWnd = m_hWnd;
  SendJob* pJob = m_pJob.get();
  m_worker = std::thread([pJob, hWnd] {
    pJob->Run();
    ::PostMessage(hWnd, WM_BUGREPORT_SENT, 0, 0);
  });
}

void CBugReportDlg::OnCancel() {
  // Cancel while a report is on its way stops the send at once; the form stays open with what
  // the user wrote, to send again or close.
  if (IsSending())
    m_pJob->Cancel();
  else
    CDialog::OnCancel();
}

LRESULT CBugReportDlg::OnSendFinished(WPARAM, LPARAM) {
  if (m_worker.joinable()) m_worker.join();
  const std::unique_ptr<SendJob> pJob = std::move(m_pJob);
  if (!pJob) return 0;
  EnableSend(TRUE);
  // Cancelled before the report was handed over, nothing went out; after it, the server has it
  // and may keep it, and the send is told as any other that ended without the server's answer.
  if (pJob->bCancelled && !pJob->bHandedOver && !pJob->bSent) {
    SetStatus(LoadText(IDS_BUG_CANCELLED));
    return 0;
  }
  // The sender is remembered whether or not the mail went out.
  if (CWinApp* pApp = AfxGetApp()) {
    pApp->WriteProfileString(kProfileSection, "Name", brambolt::StoredTextOf(static_cast<LPCTSTR>(m_strName)).c_str());
    pApp->WriteProfileString(kProfileSection, "E-mail", brambolt::StoredTextOf(static_cast<LPCTSTR>(m_strEmail)).c_str());
  }
  const CString strWhy = pJob->bCancelled && !pJob->bSent
                             ? LoadText(IDS_BUG_CANCELLED)
                             : DescribeSendFailure(pJob->strReply, pJob->dwError, pJob->connection.GetTimeout());
  CString strError;
  if (!pJob->bConnected)
    strError.Format(LoadText(IDS_BUG_CONNECT_ERROR), static_cast<int>(pJob->dwError));
  else if (!pJob->bSent)
    strError.Format(LoadText(IDS_BUG_SEND_ERROR), static_cast<LPCTSTR>(strWhy));
  if (!strError.IsEmpty()) {
    // The report is not lost: the form stays open with the reason, to send again or cancel.
    SetStatus(strError);
    // Handed over without an answer, the report may have arrived: whoever sends it again makes
    // a duplicate, so the user is told before choosing.
    if (pJob->bHandedOver && pJob->strReply.IsEmpty()) {
      CString strText;
      strText.Format(LoadText(IDS_BUG_MAY_HAVE_ARRIVED), static_cast<LPCTSTR>(strWhy));
      AfxMessageBox(strText, MB_ICONEXCLAMATION);
    }
    return 0;
  }
  SetStatus(LoadText(IDS_BUG_FINISH));
  AfxMessageBox(IDS_BUG_THANKS, MB_ICONINFORMATION);
  EndDialog(IDOK);
  return 0;
}
