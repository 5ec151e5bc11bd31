// The marquee's timer, scrolling and painting, and the extended combo box's key handling.
#include "extracontrols/SECMarquee.h"

IMPLEMENT_DYNAMIC(SECMarquee, CStatic)
IMPLEMENT_DYNAMIC(SECComboBoxEx, CComboBoxEx)

BEGIN_MESSAGE_MAP(SECMarquee, CStatic)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(SECComboBoxEx, CComboBoxEx)
  ON_WM_GETDLGCODE()
  ON_CONTROL_REFLECT_EX(CBN_EDITCHANGE, OnEditChange)
END_MESSAGE_MAP()

const UINT SEC_WM_COMBOEX_NEWITEM = ::RegisterWindowMessage("secComboExNewItem");
const UINT SEC_WM_COMBOEX_APPLY = ::RegisterWindowMessage("secComboExApply");

// ---- marquee ----

int SECMarquee::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  return Initialize() <= 0 ? -1 : 0;
}

int SECMarquee::Initialize() {
  m_nOffset = 0;
  return SetTimer(m_nTimerID, m_nInterval, nullptr) != 0 ? 1 : 0;
}

int SECMarquee::TextWidth() {
  CString text;
  GetWindowText(text);
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(GetFont());
  const int width = dc.GetTextExtent(text).cx;
  dc.SelectObject(pOld);
  return width;
}

void SECMarquee::Advance() {
  m_nOffset -= m_nStep;
  if (m_nOffset + TextWidth() < 0) m_nOffset = m_rcClient.right - m_rcClient.left;
  Invalidate(FALSE);
}

void SECMarquee::DrawMarquee(CDC* pDC) {
  CString text;
  GetWindowText(text);
  pDC->FillSolidRect(&m_rcClient, ::GetSysColor(COLOR_BTNFACE));
  CFont* pOld = pDC->SelectObject(GetFont());
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  CRect rc = m_rcClient;
  rc.left += m_nOffset;
  pDC->DrawText(text, rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  pDC->SelectObject(pOld);
}

void SECMarquee::OnSize(UINT, int, int) { GetClientRect(&m_rcClient); }

void SECMarquee::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == m_nTimerID) Advance();
  Default();
}

void SECMarquee::OnShowWindow(BOOL bShow, UINT) {
  Default();
  m_bShown = bShow;
}

BOOL SECMarquee::OnEraseBkgnd(CDC*) { return TRUE; }

void SECMarquee::OnPaint() {
  CPaintDC dc(this);
  DrawMarquee(&dc);
}

// ---- extended combo box ----

UINT SECComboBoxEx::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

BOOL SECComboBoxEx::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
    m_nLastKey = static_cast<UINT>(pMsg->wParam);
  return CComboBoxEx::PreTranslateMessage(pMsg);
}

BOOL SECComboBoxEx::OnEditChange() {
  // One handling at a time across every instance: the operation may change the text again.
  static bool s_bHandling = false;
  if (s_bHandling) return FALSE;
  s_bHandling = true;
  const UINT ch = ::MapVirtualKey(m_nLastKey, 2);
  if ((ch > ' ' && ch < 0x7F) || m_nLastKey == VK_SPACE) {
    CString text;
    if (CEdit* pEdit = GetEditCtrl(); pEdit != nullptr) pEdit->GetWindowText(text);
    OnEditText(-1, text);
  }
  s_bHandling = false;
  return FALSE;
}
