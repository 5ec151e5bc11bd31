// The Commands page of the toolbar customise sheet, its command groups and list, and the sheet.
#include "bars/SECToolBarCmdPage.h"

#include "bars/CommandBarsRes.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECToolBarManager.h"
#include "bars/SECToolBarsPage.h"

// ---- command groups ----

SECToolBarCmdPage::CCmdGroup::CCmdGroup(LPCTSTR lpszName, int nCount, const UINT* pIDs)
    : m_strName(lpszName), m_ids(pIDs, pIDs + (pIDs != nullptr && nCount > 0 ? nCount : 0)) {}

SECToolBarCmdPage::CBarGroup::~CBarGroup() {
  if (m_pBar != nullptr && m_pBar->GetSafeHwnd() != nullptr) m_pBar->DestroyWindow();
  delete m_pBar;
}

BOOL SECToolBarCmdPage::CBarGroup::Create(SECToolBarCmdPage* pPage, SECToolBarManager* pManager, UINT nWndID) {
  m_pBar = new SECCustomizeToolBar;
  m_pBar->m_pManager = pManager;
  if (pManager != nullptr) m_pBar->SetBmpMgr(pManager->GetBmpMgr());
  const DWORD dwExStyle = pManager != nullptr && pManager->CoolLookEnabled() ? CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER : 0;
  if (!m_pBar->CreateEx(dwExStyle, pPage, WS_CHILD | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, nWndID, m_strName))
    return FALSE;
  m_pBar->SetOwner(pPage);
  m_pBar->RecalcButtonSizes();
  m_pBar->SetButtons(m_ids.data(), static_cast<int>(m_ids.size()));
  m_pBar->SetCustomizeMode(TRUE);
  return TRUE;
}

void SECToolBarCmdPage::CBarGroup::SetRect(const CRect& rect) {
  m_pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  Relayout();
}

void SECToolBarCmdPage::CBarGroup::Relayout() {
  CRect rect;
  m_pBar->GetClientRect(&rect);
  m_pBar->m_bMRUPending = m_pBar->m_bHorzPending = m_pBar->m_bVertPending = TRUE;
  m_pBar->CalcDynamicLayout(rect.Width(), LM_HORZ | LM_COMMIT);
  m_pBar->Invalidate();
}

void SECToolBarCmdPage::CBarGroup::Show(BOOL bShow) { m_pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE); }

CWnd* SECToolBarCmdPage::CBarGroup::GetWnd() { return m_pBar; }

BOOL SECToolBarCmdPage::CListGroup::Create(SECToolBarCmdPage* pPage, SECToolBarManager* pManager, UINT nWndID) {
  if (!m_list.Create(WS_CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                     CRect(0, 0, 0, 0), pPage, nWndID))
    return FALSE;
  m_list.SetFont(pPage->GetFont());
  m_list.m_pManager = pManager;
  m_list.m_pPage = pPage;
  for (UINT nID : m_ids) {
    CString strText;
    strText.LoadString(nID);
    const int nFeed = strText.Find('\n');
    if (nFeed >= 0) strText = strText.Left(nFeed);
    const int nItem = m_list.AddString(strText);
    if (nItem >= 0) m_list.SetItemData(nItem, nID);
  }
  return TRUE;
}

void SECToolBarCmdPage::CListGroup::SetRect(const CRect& rect) {
  // The list sits two pixels inside the rectangle at its top and bottom.
  m_list.SetWindowPos(nullptr, rect.left, rect.top + 2, rect.Width(), rect.Height() - 4, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SECToolBarCmdPage::CListGroup::Show(BOOL bShow) { m_list.ShowWindow(bShow ? SW_SHOWNA : SW_HIDE); }

// ---- the list of commands ----

BEGIN_MESSAGE_MAP(SECMenuListBox, CListBox)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

int SECMenuListBox::ItemUnder(CPoint point) const {
  CRect rectClient;
  GetClientRect(&rectClient);
  for (int i = GetTopIndex(); i >= 0 && i < GetCount(); ++i) {
    CRect rect;
    if (GetItemRect(i, &rect) == LB_ERR) break;
    if (rect.top >= rectClient.bottom) break;
    // Only items wholly inside the client area count.
    if (rect.bottom > rectClient.bottom || rect.right > rectClient.right) continue;
    if (rect.PtInRect(point)) return i;
  }
  return -1;
}

void SECMenuListBox::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
  if (GetFocus() != this) SetFocus();
  const int nItem = ItemUnder(point);
  if (nItem < 0) return;
  SetCurSel(nItem);
  const UINT nID = static_cast<UINT>(GetItemData(nItem));
  if (m_pManager == nullptr || nID == 0 || nID == static_cast<UINT>(LB_ERR)) return;
  if (m_pPage != nullptr) m_pPage->ShowDescription(nID);
  // A stand-in button for the command under the mouse, copied to the toolbar it is dropped on.
  SECStdBtn button;
  button.m_nID = nID;
  button.m_cx = 23;
  button.m_cy = 22;
  button.SetPos(point.x - button.m_cx / 2, point.y - button.m_cy / 2);
  PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
  m_pManager->DragButton(&button, -1, point, nullptr, this, TRUE);
  // The drag cleared the bars' selection, and with it the description: the command stays chosen.
  if (m_pPage != nullptr) m_pPage->ShowDescription(nID);
}

// ---- the page ----

BEGIN_MESSAGE_MAP(SECToolBarCmdPage, CPropertyPage)
  ON_LBN_SELCHANGE(IDC_SEC_CATEGORY_LIST, OnSelChange)
  ON_REGISTERED_MESSAGE(wmSECBarNotify, OnBarNotify)
  ON_REGISTERED_MESSAGE(wmSECToolBarStyleChanging, OnStyleChanging)
END_MESSAGE_MAP()

SECToolBarCmdPage::SECToolBarCmdPage() : CPropertyPage(IDD_SEC_TOOLBAR_CMDPAGE) {}

SECToolBarCmdPage::~SECToolBarCmdPage() {
  if (m_pManager != nullptr) {
    m_pManager->RemoveNotifyWindow(this);
    m_pManager->SetCustomizeDialog(nullptr);
  }
}

void SECToolBarCmdPage::SetManager(SECToolBarManager* pManager) {
  m_pManager = pManager;
  if (pManager != nullptr) pManager->AddNotifyWindow(this);
}

void SECToolBarCmdPage::DefineBtnGroup(LPCTSTR lpszName, int nCount, const UINT* pIDs) {
  m_groups.push_back(std::make_unique<CBarGroup>(lpszName, nCount, pIDs));
}

void SECToolBarCmdPage::DefineMenuGroup(LPCTSTR lpszName, int nCount, const UINT* pIDs) {
  m_groups.push_back(std::make_unique<CListGroup>(lpszName, nCount, pIDs));
}

CSize SECToolBarCmdPage::GetBaseUnits() const {
  CFont* pFont = GetFont();
  if (pFont == nullptr) {
    const LONG units = ::GetDialogBaseUnits();
    return CSize(LOWORD(units), HIWORD(units));
  }
  CClientDC dc(const_cast<SECToolBarCmdPage*>(this));
  CFont* pOld = dc.SelectObject(pFont);
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const CSize extent = dc.GetTextExtent(kAlphabet, 52);
  TEXTMETRIC metrics{};
  dc.GetTextMetrics(&metrics);
  dc.SelectObject(pOld);
  return CSize((extent.cx + 26) / 52, metrics.tmHeight + metrics.tmExternalLeading);
}

BOOL SECToolBarCmdPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  CRect rect;
  if (CWnd* pFrame = GetDlgItem(IDC_SEC_BUTTONS_GROUP)) {
    pFrame->GetWindowRect(&rect);
    ScreenToClient(&rect);
  }
  const CSize units = GetBaseUnits();
  rect.DeflateRect(3 * units.cx / 4, 8 * units.cy / 8);
  auto* pCategories = static_cast<CListBox*>(GetDlgItem(IDC_SEC_CATEGORY_LIST));
  UINT nWndID = SEC_IDW_FIRST_CMDGROUP;
  for (size_t i = 0; i < m_groups.size(); ++i) {
    CCmdGroup& group = *m_groups[i];
    if (!group.Create(this, m_pManager, nWndID--)) return FALSE;
    group.SetRect(rect);
    group.Show(i == 0);
    if (pCategories != nullptr) pCategories->AddString(group.m_strName);
  }
  m_nVisibleGroup = m_groups.empty() ? -1 : 0;
  if (pCategories != nullptr && !m_groups.empty()) pCategories->SetCurSel(0);
  return TRUE;
}

void SECToolBarCmdPage::ShowGroup(int nGroup) {
  for (int i = 0; i < static_cast<int>(m_groups.size()); ++i) {
    if (m_groups[static_cast<size_t>(i)]->GetWnd()->GetSafeHwnd() != nullptr)
      m_groups[static_cast<size_t>(i)]->Show(i == nGroup);
  }
  m_nVisibleGroup = nGroup >= 0 && nGroup < static_cast<int>(m_groups.size()) ? nGroup : -1;
}

void SECToolBarCmdPage::OnSelChange() {
  auto* pCategories = static_cast<CListBox*>(GetDlgItem(IDC_SEC_CATEGORY_LIST));
  if (pCategories != nullptr) ShowGroup(pCategories->GetCurSel());
}

BOOL SECToolBarCmdPage::OnSetActive() {
  if (m_pManager != nullptr) {
    m_pManager->SetCustomizeMode(TRUE);
    m_pManager->EnterConfigMode();
    m_pManager->SetCustomizeDialog(GetParent());
  }
  OnSelChange();
  return CPropertyPage::OnSetActive();
}

BOOL SECToolBarCmdPage::OnKillActive() {
  if (m_pManager != nullptr) {
    m_pManager->SetCustomizeMode(FALSE);
    m_pManager->ExitConfigMode();
  }
  if (CWnd* pSheet = GetParent()) pSheet->EnableWindow(TRUE);
  if (m_nVisibleGroup >= 0) m_groups[static_cast<size_t>(m_nVisibleGroup)]->Show(FALSE);
  return CPropertyPage::OnKillActive();
}

void SECToolBarCmdPage::OnReset() {
  if (m_pManager != nullptr) {
    m_pManager->SetCustomizeMode(FALSE);
    m_pManager->ExitConfigMode();
    m_pManager->SetCustomizeDialog(nullptr);
  }
  CPropertyPage::OnReset();
}

void SECToolBarCmdPage::ShowDescription(UINT nID) {
  m_strDescription.Empty();
  if (nID != 0 && m_strDescription.LoadString(nID)) {
    const int nFeed = m_strDescription.Find('\n');
    if (nFeed >= 0) m_strDescription = m_strDescription.Left(nFeed);
  }
  if (CWnd* pDescription = GetDlgItem(IDC_SEC_DESCRIPTION)) pDescription->SetWindowText(m_strDescription);
}

LRESULT SECToolBarCmdPage::OnBarNotify(WPARAM wParam, LPARAM lParam) {
  if (lParam != SEC_BAR_SELCHANGE || m_pManager == nullptr) return 0;
  const UINT nBarID = static_cast<UINT>(wParam);
  SECCustomToolBar* pBar = m_pManager->FindToolBar(nBarID);
  for (const auto& group : m_groups) {
    auto* pGroupBar = dynamic_cast<CBarGroup*>(group.get());
    if (pBar == nullptr && pGroupBar != nullptr && pGroupBar->m_pBar != nullptr &&
        pGroupBar->m_pBar->GetSafeHwnd() != nullptr && static_cast<UINT>(pGroupBar->m_pBar->GetDlgCtrlID()) == nBarID)
      pBar = pGroupBar->m_pBar;
  }
  if (pBar == nullptr) return 0;
  ShowDescription(pBar->GetItemID(pBar->GetSelectedIndex()));
  return 0;
}

LRESULT SECToolBarCmdPage::OnStyleChanging(WPARAM wParam, LPARAM /*lParam*/) {
  for (const auto& group : m_groups) {
    auto* pGroupBar = dynamic_cast<CBarGroup*>(group.get());
    if (pGroupBar == nullptr || pGroupBar->m_pBar == nullptr || pGroupBar->m_pBar->GetSafeHwnd() == nullptr) continue;
    if (wParam == SEC_STYLECHANGE_LARGEBUTTONS && m_pManager != nullptr) m_pManager->ApplyBarSizes(pGroupBar->m_pBar);
    if (wParam == SEC_STYLECHANGE_COOLLOOK && m_pManager != nullptr) {
      const DWORD dwBits = CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER;
      DWORD& dwExStyle = pGroupBar->m_pBar->m_dwExStyle;
      dwExStyle = m_pManager->CoolLookEnabled() ? dwExStyle | dwBits : dwExStyle & ~dwBits;
    }
    pGroupBar->Relayout();
  }
  return 0;
}

// ---- the sheet ----

BEGIN_MESSAGE_MAP(SECToolBarSheet, CPropertySheet)
  ON_WM_ACTIVATE()
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

SECToolBarSheet::SECToolBarSheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage) {}

void SECToolBarSheet::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CPropertySheet::OnActivate(nState, pWndOther, bMinimized);
  CWnd* pOwner = GetOwner() != nullptr ? GetOwner() : AfxGetMainWnd();
  CFrameWnd* pFrame = pOwner != nullptr ? pOwner->GetTopLevelFrame() : nullptr;
  if (pFrame != nullptr) pFrame->NotifyFloatingWindows(nState != WA_INACTIVE ? FS_ACTIVATE : FS_DEACTIVATE);
}

LRESULT SECToolBarSheet::OnFloatStatus(WPARAM wParam, LPARAM /*lParam*/) {
  if (wParam & (FS_ACTIVATE | FS_DEACTIVATE)) SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) ? TRUE : FALSE);
  return 0;
}
