// The About box.
#include "app/CAboutDlg.h"

#include "app/CMySplashWnd.h"
#include "app/CVersion.h"
#include "os/Process.h"
#include "os/Registry.h"
#include "resources/ChildFramesRes.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
  ON_BN_CLICKED(IDC_ABOUT_SYSTEM, OnSystemInfo)
END_MESSAGE_MAP()

const char* const CAboutDlg::kWebAddress = "http://www.mirelund.example/brambolt/";
const char* const CAboutDlg::kSupportAddress = "mailto:support@mirelund.example";

namespace {

constexpr COLORREF kLinkColour = 0x996633;

CString LoadText(UINT nID) {
  CString strText;
  strText.LoadString(nID);
  return strText;
}

}  // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

CString CAboutDlg::SystemInfoPath() {
  HKEY hKey = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSInfo", 0, KEY_QUERY_VALUE, &hKey) !=
      ERROR_SUCCESS)
    return CString();
  std::string strPath;
  const LONG nResult = brambolt::ReadRegistryString(hKey, "Path", strPath);
  RegCloseKey(hKey);
  if (nResult != ERROR_SUCCESS) return CString();
  return CString(strPath.data(), static_cast<int>(strPath.size()));
}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText("About Brambolt");
  const CVersion version;
  const CString strBuild = version.GetBuild();
  SetDlgItemText(IDC_ABOUT_TITLE, "Visual Brambolt (" + strBuild + ")");
  SetDlgItemText(IDC_ABOUT_VERSION, LoadText(IDS_ABOUT_PRODUCT_VERSION) + " " + strBuild);
  // The same name the splash showed at start-up.
  SetDlgItemText(IDC_ABOUT_USER, LoadText(IDS_ABOUT_USER_NAME) + " " + CMySplashWnd::ReadRegisteredOwner());
  SetDlgItemText(IDC_ABOUT_OS, LoadText(IDS_ABOUT_OS) + " " + version.GetOSVersion());

  LOGFONT lf{};
  if (CFont* pFont = GetFont()) pFont->GetLogFont(&lf);
  m_fontNotice.CreateFontIndirect(&lf);
  lf.lfWeight = FW_NORMAL;
  lstrcpyn(lf.lfFaceName, "Arial", LF_FACESIZE);
  m_fontLinks.CreateFontIndirect(&lf);

  const struct {
    UINT nID;
    CHyperLink* pLink;
    const char* pszAddress;
  } links[] = {{IDC_ABOUT_WEB, &m_wndWebLink, kWebAddress}, {IDC_ABOUT_SUPPORT, &m_wndSupportLink, kSupportAddress}};
  for (const auto& link : links) {
    link.pLink->SetURL(link.pszAddress);
    link.pLink->SetColors(kLinkColour, kLinkColour);
    // The link underlines the font its control has when it is subclassed.
    if (CWnd* pControl = GetDlgItem(static_cast<int>(link.nID))) pControl->SetFont(&m_fontLinks, FALSE);
    link.pLink->SubclassDlgItem(link.nID, this);
  }
  if (CWnd* pNotice = GetDlgItem(IDC_ABOUT_NOTICE)) {
    pNotice->SetFont(&m_fontNotice, FALSE);
    pNotice->EnableWindow(FALSE);
  }
  // Without a recorded System Information program the button could do nothing.
  if (CWnd* pSystem = GetDlgItem(IDC_ABOUT_SYSTEM)) pSystem->EnableWindow(!SystemInfoPath().IsEmpty());
  return TRUE;
}

void CAboutDlg::OnSystemInfo() {
  const CString strPath = SystemInfoPath();
  if (!strPath.IsEmpty()) WinExec(strPath, SW_SHOW);
}
