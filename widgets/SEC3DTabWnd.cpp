// The 3-D tabbed window: the strip's place on each side, the sunken frame around the shown
// client, and the keyboard rules that let it sit among a dialog's controls.
#include "widgets/SEC3DTabWnd.h"

IMPLEMENT_DYNCREATE(SEC3DTabWnd, SECTabWndBase)

BEGIN_MESSAGE_MAP(SEC3DTabWnd, SECTabWndBase)
  ON_WM_NCCREATE()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(TABN_SELECT, OnTabSelect)
  ON_WM_SETFOCUS()
END_MESSAGE_MAP()

namespace {

constexpr DWORD kTabStyleBits = 0x0FF0;
constexpr DWORD kArrowStyleBits = 0x0003;

bool KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

BOOL SEC3DTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwTabStyle = (dwStyle & 2) != 0 ? 2 : (dwStyle & 1) != 0 ? 1 : 0;
  m_dwTabStyle |= dwStyle & kTabStyleBits;
  const DWORD pos = TabPosition();
  const bool bHorz = pos == TWS_TABS_ON_BOTTOM || pos == TWS_TABS_ON_TOP;
  m_nStripHeight = bHorz ? 30 : 0;
  m_nStripWidth = bHorz ? 0 : 30;
  if (m_hWnd == nullptr) {
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    const DWORD dwWindowStyle = dwStyle & ~(kTabStyleBits | kArrowStyleBits | WS_HSCROLL | WS_VSCROLL);
    if (!CWnd::Create(lpszClass, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  }
  return SECTabWndBase::Create(pParentWnd, GetStyle(), nID);
}

BOOL SEC3DTabWnd::CreateTabCtrl(DWORD, UINT nID) {
  auto* pTabCtrl = new SEC3DTabControl;
  if (!pTabCtrl->Create(m_dwTabStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID)) {
    delete pTabCtrl;
    return FALSE;
  }
  m_pTabCtrl = pTabCtrl;
  return TRUE;
}

DWORD SEC3DTabWnd::TabPosition() const {
  for (DWORD bit : {TWS_TABS_ON_BOTTOM, TWS_TABS_ON_TOP, TWS_TABS_ON_LEFT, TWS_TABS_ON_RIGHT})
    if ((m_dwTabStyle & bit) != 0) return bit;
  return TWS_TABS_ON_RIGHT;
}

void SEC3DTabWnd::GetInsideRect(RECT* pRect) {
  GetClientRect(pRect);
  const int d = (m_dwTabStyle & TWS_NOACTIVE_TAB_ENLARGED) != 0 ? -3 : 1;
  RECT& r = *pRect;
  switch (TabPosition()) {
    case TWS_TABS_ON_BOTTOM: r = {r.left + 6, r.top + 4, r.right - 7, r.bottom - (m_nStripHeight + d)}; break;
    case TWS_TABS_ON_TOP: r = {r.left + 6, r.top + m_nStripHeight + d, r.right - 7, r.bottom - 4}; break;
    case TWS_TABS_ON_LEFT: r = {r.left + m_nStripWidth + d, r.top + 4, r.right - 7, r.bottom - 6}; break;
    default: r = {r.left + 6, r.top + 4, r.right - (m_nStripWidth + d), r.bottom - 6}; break;
  }
}

void SEC3DTabWnd::RecalcLayout() {
  if (m_hWnd == nullptr || m_pTabCtrl == nullptr) return;
  CRect inside, client;
  GetInsideRect(&inside);
  GetClientRect(&client);
  CRect rcTabs;
  switch (TabPosition()) {
    case TWS_TABS_ON_BOTTOM: rcTabs.SetRect(inside.left, inside.bottom + 1, inside.right, client.bottom); break;
    case TWS_TABS_ON_TOP: rcTabs.SetRect(inside.left, client.top, inside.right, inside.top); break;
    case TWS_TABS_ON_LEFT: rcTabs.SetRect(client.left, inside.top, inside.left, inside.bottom); break;
    default: rcTabs.SetRect(inside.right, client.top, client.right, client.top + inside.Height()); break;
  }
  CRect rcClient = inside;
  rcClient.right -= 1;

  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
  HDWP hdwp = ::BeginDeferWindowPos(2);
  auto place = [&](CWnd* pWnd, const CRect& rc, UINT extra) {
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr) return;
    CRect now;
    pWnd->GetWindowRect(&now);
    ScreenToClient(&now);
    if (now == rc) return;
    hdwp = ::DeferWindowPos(hdwp, pWnd->m_hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(), flags | extra);
  };
  place(m_pTabCtrl, rcTabs, SWP_NOREDRAW);
  place(m_pActiveWnd, rcClient, 0);
  ::EndDeferWindowPos(hdwp);
}

BOOL SEC3DTabWnd::SetTabFont(CFont* pFont, int nWhich, BOOL bRedraw) {
  if (m_pTabCtrl == nullptr || !Get3DTabControl()->SetFont(pFont, nWhich, bRedraw)) return FALSE;
  if (bRedraw) Invalidate();
  return TRUE;
}

BOOL SEC3DTabWnd::SetFontActiveTab(CFont* pFont, BOOL bRedraw) { return SetTabFont(pFont, 1, bRedraw); }

BOOL SEC3DTabWnd::SetFontInactiveTab(CFont* pFont, BOOL bRedraw) { return SetTabFont(pFont, 0, bRedraw); }

// ---- messages ----

BOOL SEC3DTabWnd::OnNcCreate(LPCREATESTRUCT) {
  const BOOL bResult = static_cast<BOOL>(Default());
  if (HWND hParent = ::GetParent(m_hWnd); hParent != nullptr)
    ModifyStyleEx(hParent, WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return bResult;
}

void SEC3DTabWnd::OnSize(UINT nType, int cx, int cy) {
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) {
    RecalcLayout();
    if (m_pTabCtrl != nullptr) m_pTabCtrl->Invalidate(TRUE);
    Invalidate(FALSE);
  }
  Default();
}

BOOL SEC3DTabWnd::OnEraseBkgnd(CDC* pDC) {
  CRect client, inside;
  GetClientRect(&client);
  GetInsideRect(&inside);
  const int nSave = pDC->SaveDC();
  pDC->ExcludeClipRect(inside);
  pDC->FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
  pDC->RestoreDC(nSave);
  return TRUE;
}

void SEC3DTabWnd::OnPaint() {
  CPaintDC dc(this);
  if (m_pTabCtrl != nullptr && m_pTabCtrl->m_hWnd != nullptr) {
    CRect rcTabs, rcBoth;
    m_pTabCtrl->GetWindowRect(&rcTabs);
    ScreenToClient(&rcTabs);
    if (rcBoth.IntersectRect(rcTabs, &dc.m_ps.rcPaint)) {
      rcBoth.OffsetRect(-rcTabs.left, -rcTabs.top);
      m_pTabCtrl->InvalidateRect(rcBoth, FALSE);
    }
  }
  // A sunken frame around the client, open on the side of the strip (the strip's own edge
  // continues it); the flat style keeps only its outer lines.
  CRect rc;
  GetInsideRect(&rc);
  const bool bFlat = (m_dwTabStyle & TWS_FLATTABS) != 0;
  const DWORD pos = TabPosition();
  const COLORREF outerTL = ::GetSysColor(COLOR_BTNSHADOW), outerBR = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF innerTL = RGB(0, 0, 0), innerBR = ::GetSysColor(COLOR_BTNFACE);
  for (int ring = 0; ring < (bFlat ? 1 : 2); ++ring) {
    const CRect r(rc.left - 2 + ring, rc.top - 2 + ring, rc.right + 2 - ring, rc.bottom + 2 - ring);
    const COLORREF tl = ring == 0 ? outerTL : innerTL, br = ring == 0 ? outerBR : innerBR;
    if (pos != TWS_TABS_ON_TOP) dc.FillSolidRect(r.left, r.top, r.Width(), 1, tl);
    if (pos != TWS_TABS_ON_LEFT) dc.FillSolidRect(r.left, r.top, 1, r.Height(), tl);
    if (pos != TWS_TABS_ON_BOTTOM) dc.FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, br);
    if (pos != TWS_TABS_ON_RIGHT) dc.FillSolidRect(r.right - 1, r.top, 1, r.Height(), br);
  }
}

LRESULT SEC3DTabWnd::OnTabSelect(WPARAM wParam, LPARAM lParam) {
  const int nIndex = static_cast<int>(wParam);
  auto* pInfo = reinterpret_cast<TabSelectInfo*>(lParam);
  if (pInfo != nullptr) pInfo->nID = static_cast<UINT>(GetDlgCtrlID());
  SECTab* pTab = m_pTabCtrl != nullptr ? m_pTabCtrl->GetTab(nIndex) : nullptr;
  auto* pWnd = pTab != nullptr ? static_cast<CWnd*>(pTab->m_pClient) : nullptr;
  if (pWnd != nullptr && pWnd != m_pActiveWnd) ActivateTab(pWnd, nIndex);
  Invalidate();
  if (m_pNotifyWnd != nullptr && m_pNotifyWnd->GetSafeHwnd() != nullptr)
    m_pNotifyWnd->SendMessage(TABN_SELECT, wParam, lParam);
  return 0;
}

void SEC3DTabWnd::OnSetFocus(CWnd* pOldWnd) {
  // Focus coming back from the control after the next one (Shift+Tab in a dialog) lands in the
  // client, at its last control; otherwise the tabs take it.
  CWnd* pNext = GetWindow(GW_HWNDNEXT);
  CWnd* pAfterNext = pNext != nullptr ? pNext->GetWindow(GW_HWNDNEXT) : nullptr;
  if (pOldWnd != nullptr && pAfterNext != nullptr && pOldWnd->m_hWnd == pAfterNext->m_hWnd &&
      m_pActiveWnd != nullptr && m_pActiveWnd->m_hWnd != nullptr) {
    m_pActiveWnd->SetFocus();
    m_pActiveWnd->SendMessage(WM_NEXTDLGCTL, 1, 0);
  } else if (m_pTabCtrl != nullptr && m_pTabCtrl->m_hWnd != nullptr) {
    m_pTabCtrl->SetFocus();
  }
}

// ---- keyboard ----

BOOL SEC3DTabWnd::NavigateFromClient(MSG* pMsg, BOOL bBackwards) {
  HWND hClient = m_pActiveWnd->m_hWnd;
  HWND hFocus = ::GetFocus();
  HWND hFirst = ::GetNextDlgTabItem(hClient, nullptr, FALSE);
  if (bBackwards) {
    if (hFirst != nullptr && hFirst != hFocus) return ::IsDialogMessage(hClient, pMsg);
    m_pTabCtrl->SetFocus();
    return TRUE;
  }
  HWND hNext = ::GetNextDlgTabItem(hClient, hFocus, FALSE);
  if (hNext != nullptr && hNext != hFirst && hNext != hFocus) return ::IsDialogMessage(hClient, pMsg);
  // Past the client's last control: the next tab-stop sibling of this window, from the start
  // when there is none after it.
  HWND hParent = ::GetParent(m_hWnd);
  HWND hTarget = nullptr;
  for (HWND h = ::GetWindow(m_hWnd, GW_HWNDNEXT); h != nullptr && hTarget == nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
    if ((::GetWindowLong(h, GWL_STYLE) & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE))
      hTarget = h;
  for (HWND h = ::GetWindow(m_hWnd, GW_HWNDFIRST); h != nullptr && hTarget == nullptr && h != m_hWnd;
       h = ::GetWindow(h, GW_HWNDNEXT))
    if ((::GetWindowLong(h, GWL_STYLE) & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE))
      hTarget = h;
  if (hTarget == nullptr || hParent == nullptr) return ::IsDialogMessage(hClient, pMsg);
  ::SendMessage(hParent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hTarget), TRUE);
  return TRUE;
}

BOOL SEC3DTabWnd::TurnTab(BOOL bBackwards) {
  SEC3DTabControl* pTabs = Get3DTabControl();
  int nActive = -1;
  if (pTabs == nullptr || !pTabs->GetActiveTab(nActive)) return FALSE;
  const int nCount = pTabs->GetTabCount();
  for (int nStep = 1; nStep < nCount; ++nStep) {
    const int nIndex = ((nActive + (bBackwards ? -nStep : nStep)) % nCount + nCount) % nCount;
    if (!pTabs->IsTabEnabled(nIndex)) continue;
    const bool bTabsFocused = ::GetFocus() == pTabs->m_hWnd;
    pTabs->ActivateTab(nIndex);
    if (bTabsFocused) pTabs->SetFocus();
    else if (m_pActiveWnd != nullptr && m_pActiveWnd->m_hWnd != nullptr) m_pActiveWnd->SetFocus();
    return TRUE;
  }
  return FALSE;
}

BOOL SEC3DTabWnd::PreTranslateMessage(MSG* pMsg) {
  if ((GetStyle() & WS_TABSTOP) == 0) return SECTabWndBase::PreTranslateMessage(pMsg);
  if (SECTabWndBase::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message != WM_KEYDOWN || m_pTabCtrl == nullptr) return FALSE;
  const UINT vk = static_cast<UINT>(pMsg->wParam);
  const bool bCtrl = KeyHeld(VK_CONTROL), bShift = KeyHeld(VK_SHIFT);
  HWND hFocus = ::GetFocus();
  if (bCtrl && (vk == VK_TAB || vk == VK_PRIOR || vk == VK_NEXT)) {
    if (SendMessage(WM_SEC3DTAB_CTRLKEY, 0, reinterpret_cast<LPARAM>(pMsg)) != 0) return TRUE;
    // Unless a derived window took them, the keys turn the pages as a property sheet's do,
    // wherever the focus is inside this window.
    if (hFocus != nullptr && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus)) &&
        TurnTab(vk == VK_PRIOR || (vk == VK_TAB && bShift)))
      return TRUE;
  }
  if (hFocus == m_pTabCtrl->m_hWnd) {
    UINT send = 0;
    if (vk == VK_TAB && bCtrl) send = bShift ? VK_LEFT : VK_RIGHT;
    else if (vk == VK_LEFT || vk == VK_UP) send = VK_LEFT;
    else if (vk == VK_RIGHT || vk == VK_DOWN) send = VK_RIGHT;
    if (send != 0) {
      m_pTabCtrl->SendMessage(WM_KEYDOWN, send, 0);
      return TRUE;
    }
  }
  if (vk != VK_TAB || bCtrl || m_pActiveWnd == nullptr || m_pActiveWnd->m_hWnd == nullptr) return FALSE;
  const bool bInClient = ::IsChild(m_pActiveWnd->m_hWnd, hFocus) != FALSE;
  if (bInClient) return NavigateFromClient(pMsg, bShift);
  if (!bShift) {
    m_pActiveWnd->SetFocus();
    return TRUE;
  }
  return FALSE;
}
