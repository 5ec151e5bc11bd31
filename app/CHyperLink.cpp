// The hyperlink controls.
#include "app/CHyperLink.h"

#include "afx/CWinApp.h"
#include "afx/WindowDCs.h"
#include "base/Convert.h"
#include "os/Process.h"
#include "os/Registry.h"
#include "os/Shell.h"

namespace {

const std::pair<int, const char*> kErrors[] = {
    {0, "The operating system is out\nof memory or resources."},
    {SE_ERR_FNF, "The specified file was not found."},
    {SE_ERR_PNF, "The specified path was not found."},
    {SE_ERR_ACCESSDENIED, "The operating system denied\naccess to the specified file."},
    {SE_ERR_OOM, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {SE_ERR_SHARE, "A sharing violation occurred. "},
    {SE_ERR_ASSOCINCOMPLETE, "The filename association is\nincomplete or invalid."},
    {SE_ERR_DDETIMEOUT, "The DDE transaction could not\nbe completed because the request timed out."},
    {SE_ERR_DDEFAIL, "The DDE transaction failed."},
    {SE_ERR_DDEBUSY, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {SE_ERR_NOASSOC, "There is no application associated\nwith the given filename extension."},
    {SE_ERR_DLLNOTFOUND, "The specified dynamic-link library was not found."},
};

constexpr UINT_PTR kToolId = 1;
// Shell results up to this value are errors.
constexpr int kShellError = 32;

}  // namespace

BEGIN_MESSAGE_MAP(CHyperLinkBase, CStatic)
  ON_WM_CTLCOLOR_REFLECT(CtlColor)
  ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CHyperLinkBase::CHyperLinkBase() : m_crHoverColour(::GetSysColor(COLOR_HIGHLIGHT)) {}

CHyperLinkBase::~CHyperLinkBase() {
  if (m_hLinkCursor != nullptr) ::DestroyCursor(m_hLinkCursor);
}

CString CHyperLinkBase::ErrorText(int nError) {
  for (const auto& [nCode, pszText] : kErrors)
    if (nCode == nError) return pszText;
  CString strText;
  strText.Format("Unknown Error (%d) occurred.", nError);
  return strText;
}

CString CHyperLinkBase::BuildBrowserCommand(const CString& strCommand, LPCTSTR lpszURL) {
  int nCut = strCommand.Find("\"%1\"");
  if (nCut < 0) nCut = strCommand.Find("%1");
  CString strLine = nCut >= 0 ? strCommand.Left(nCut) : strCommand;
  strLine.TrimRight();
  return strLine + " " + lpszURL;
}

void CHyperLinkBase::ShowError(int nError) { AfxMessageBox(ErrorPrefix() + ErrorText(nError), MB_ICONEXCLAMATION); }

LONG CHyperLinkBase::ReadClassesRootValue(LPCTSTR lpszSubKey, CString& strValue) {
  HKEY hKey = nullptr;
  LONG nResult = RegOpenKeyEx(HKEY_CLASSES_ROOT, lpszSubKey, 0, KEY_QUERY_VALUE, &hKey);
  if (nResult != ERROR_SUCCESS) return nResult;
  std::string text;
  nResult = brambolt::ReadRegistryString(hKey, nullptr, text);
  RegCloseKey(hKey);
  // A key without a default value reads as the empty string.
  if (nResult == ERROR_FILE_NOT_FOUND) nResult = ERROR_SUCCESS;
  if (nResult == ERROR_SUCCESS) strValue = CString(text.data(), static_cast<int>(text.size()));
  return nResult;
}

int CHyperLinkBase::OpenURL(LPCTSTR lpszURL, int nShowCmd) {
  const auto nShell =
      static_cast<int>(reinterpret_cast<INT_PTR>(ShellExecute(nullptr, "open", lpszURL, nullptr, nullptr, nShowCmd)));
  if (nShell > kShellError) return nShell;
  // The browser that opens ".htm" files, started with the URL in place of its file.
  CString strClass, strCommand;
  if (ReadClassesRootValue(".htm", strClass) != ERROR_SUCCESS ||
      ReadClassesRootValue(strClass + "\\shell\\open\\command", strCommand) != ERROR_SUCCESS)
    return nShell;
  CString strLine = BuildBrowserCommand(strCommand, lpszURL);
  STARTUPINFO startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcess(nullptr, strLine.GetBuffer(0), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 0;
  // The result is the process handle's value; callers only test it against 32.
  const INT_PTR nHandle = reinterpret_cast<INT_PTR>(process.hProcess);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return nHandle > kShellError && nHandle <= INT_MAX ? static_cast<int>(nHandle) : kShellError + 1;
}

void CHyperLinkBase::LoadHandCursor() {
  if (m_hLinkCursor != nullptr) return;
  if (HCURSOR hHand = ::LoadCursor(nullptr, IDC_HAND)) m_hLinkCursor = ::CopyIcon(hHand);
}

void CHyperLinkBase::BuildFont() {
  LOGFONT lf{};
  CFont* pFont = GetFont();
  if (pFont == nullptr || pFont->GetLogFont(&lf) == 0)
    ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lf.lfUnderline = static_cast<BYTE>(m_bUnderline ? 1 : 0);
  m_Font.DeleteObject();
  m_Font.CreateFontIndirect(&lf);
  SetFont(&m_Font, TRUE);
}

void CHyperLinkBase::StoreColors(COLORREF crLinkColour, COLORREF crVisitedColour, COLORREF crHoverColour) {
  m_crLinkColour = crLinkColour;
  m_crVisitedColour = crVisitedColour;
  m_crHoverColour = crHoverColour == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHT) : crHoverColour;
  if (m_hWnd != nullptr) Invalidate();
}

void CHyperLinkBase::StoreVisited(BOOL bVisited) {
  m_bVisited = bVisited;
  if (m_hWnd != nullptr) Invalidate();
}

void CHyperLinkBase::Redraw() {
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CHyperLinkBase::PreSubclassWindow() {
  ModifyStyle(0, SS_NOTIFY);
  CString strText;
  GetWindowText(strText);
  if (m_strURL.IsEmpty()) m_strURL = strText;
  if (strText.IsEmpty()) SetWindowText(m_strURL);
  BuildFont();
  AdjustWindow();
  LoadHandCursor();
  CRect rect;
  GetClientRect(&rect);
  m_ToolTip.Create(this);
  m_ToolTip.AddTool(this, m_strURL, &rect, kToolId);
  CStatic::PreSubclassWindow();
}

BOOL CHyperLinkBase::PreTranslateMessage(MSG* pMsg) {
  if (m_ToolTip.m_hWnd != nullptr) m_ToolTip.RelayEvent(pMsg);
  return CStatic::PreTranslateMessage(pMsg);
}

HBRUSH CHyperLinkBase::CtlColor(CDC* pDC, UINT) {
  pDC->SetTextColor(m_bOverControl ? m_crHoverColour : m_bVisited ? m_crVisitedColour : m_crLinkColour);
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
}

void CHyperLinkBase::OnClicked() {
  const int nResult = Open(m_strURL, SW_SHOW);
  if (nResult > kShellError) {
    MarkVisited();
  } else {
    ::MessageBeep(MB_ICONEXCLAMATION);
    Report(nResult);
  }
}

void CHyperLinkBase::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bOverControl) {
    m_bOverControl = TRUE;
    Redraw();
    SetCapture();
  } else {
    CRect rect;
    GetClientRect(&rect);
    if (!rect.PtInRect(point)) {
      m_bOverControl = FALSE;
      ReleaseCapture();
      Redraw();
    }
  }
  CStatic::OnMouseMove(nFlags, point);
}

BOOL CHyperLinkBase::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_hLinkCursor == nullptr) return CStatic::OnSetCursor(pWnd, nHitTest, message);
  ::SetCursor(m_hLinkCursor);
  return TRUE;
}

// ---- CCJHyperLink

void CCJHyperLink::SetURL(CString strURL) {
  m_strURL = strURL;
  if (m_hWnd == nullptr) return;
  PositionWindow();
  m_ToolTip.UpdateTipText(m_strURL, this, kToolId);
}

void CCJHyperLink::SetColors(COLORREF crLinkColour, COLORREF crVisitedColour, COLORREF crHoverColour) {
  StoreColors(crLinkColour, crVisitedColour, crHoverColour);
}

void CCJHyperLink::SetVisited(BOOL bVisited) { StoreVisited(bVisited); }

void CCJHyperLink::SetLinkCursor(HCURSOR hCursor) {
  if (m_hLinkCursor != nullptr) ::DestroyCursor(m_hLinkCursor);
  m_hLinkCursor = hCursor != nullptr ? ::CopyIcon(hCursor) : nullptr;
  if (m_hLinkCursor == nullptr) SetDefaultCursor();
}

void CCJHyperLink::SetUnderline(BOOL bUnderline) {
  m_bUnderline = bUnderline;
  if (m_hWnd == nullptr) return;
  BuildFont();
  Invalidate();
}

void CCJHyperLink::SetAutoSize(BOOL bAutoSize) {
  m_bAdjustToFit = bAutoSize;
  if (m_hWnd != nullptr) PositionWindow();
}

LONG CCJHyperLink::GetRegKey(HKEY hKey, LPCTSTR lpszSubKey, LPTSTR lpszRetData) {
  HKEY hOpened = nullptr;
  LONG nResult = RegOpenKeyEx(hKey, lpszSubKey, 0, KEY_QUERY_VALUE, &hOpened);
  if (nResult != ERROR_SUCCESS) return nResult;
  // The caller's buffer holds MAX_PATH bytes: the text ends within it (cut, with ERROR_MORE_DATA,
  // when longer); a key without a default value reads as the empty string.
  nResult = brambolt::ReadRegistryString(hOpened, nullptr, lpszRetData, MAX_PATH);
  RegCloseKey(hOpened);
  return nResult == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : nResult;
}

void CCJHyperLink::PositionWindow() {
  if (m_hWnd == nullptr || !m_bAdjustToFit) return;
  CRect rect;
  GetWindowRect(&rect);
  if (CWnd* pParent = GetParent()) pParent->ScreenToClient(&rect);
  CString strText;
  GetWindowText(strText);
  CSize extent;
  {
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(&m_Font);
    extent = dc.GetTextExtent(strText);
    dc.SelectObject(pOld);
  }
  const DWORD dwStyle = GetStyle();
  if (dwStyle & SS_CENTERIMAGE) {
    const int nDy = (rect.Height() - extent.cy) / 2;
    rect.top += nDy;
    rect.bottom = rect.top + extent.cy;
  } else {
    rect.bottom = rect.top + extent.cy;
  }
  // SS_CENTER and SS_RIGHT are values of the alignment field, not separate bits.
  const DWORD dwAlign = dwStyle & SS_TYPEMASK;
  if (dwAlign == SS_CENTER) {
    const int nDx = (rect.Width() - extent.cx) / 2;
    rect.left += nDx;
    rect.right = rect.left + extent.cx;
  } else if (dwAlign == SS_RIGHT) {
    rect.left = rect.right - extent.cx;
  } else {
    rect.right = rect.left + extent.cx;
  }
  SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
}

// ---- CHyperLink

void CHyperLink::SetURL(CString strURL) {
  m_strURL = strURL;
  if (m_hWnd != nullptr) m_ToolTip.UpdateTipText(m_strURL, this, kToolId);
}

void CHyperLink::SetColors(COLORREF crLinkColour, COLORREF crVisitedColour, COLORREF crHoverColour) {
  StoreColors(crLinkColour, crVisitedColour, crHoverColour);
}

void CHyperLink::SetVisited(BOOL bVisited) { StoreVisited(bVisited); }

CString CHyperLink::ErrorPrefix() const {
  // "The system cannot open the following link:" in GB2312.
  return CString(brambolt::Utf8ToCodePage(u8"系统不能打开如下连接:", 936).c_str()) + "\n\n";
}
