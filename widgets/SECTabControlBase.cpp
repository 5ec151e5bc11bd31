// The tab records and the activation, selection and deletion rules every tab control shares.
#include "widgets/SECTabControlBase.h"

IMPLEMENT_DYNAMIC(SECTab, CObject)
IMPLEMENT_DYNAMIC(SECTabControlBase, CWnd)

BEGIN_MESSAGE_MAP(SECTabControlBase, CWnd)
  ON_WM_DESTROY()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

SECTabControlBase::~SECTabControlBase() { DestroyTabs(); }

BOOL SECTabControlBase::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(lpszClass, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID)) return FALSE;
  if (m_pTabArray == nullptr) m_pTabArray = new CObArray;
  m_hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  Initialize(dwStyle);
  return TRUE;
}

void SECTabControlBase::Initialize(DWORD) {}

SECTab* SECTabControlBase::CreateNewTab() { return new SECTab; }

SECTab* SECTabControlBase::GetTab(int nIndex) const {
  return IsValidTab(nIndex) ? static_cast<SECTab*>(m_pTabArray->GetAt(nIndex)) : nullptr;
}

SECTab* SECTabControlBase::InsertTab(int nIndex, LPCTSTR lpszLabel, void* pClient, void* pData1, void* pData2) {
  if (m_pTabArray == nullptr || nIndex < 0 || nIndex > GetTabCount()) return nullptr;
  SECTab* pTab = CreateNewTab();
  pTab->m_csLabel = lpszLabel != nullptr ? lpszLabel : "";
  pTab->m_pClient = pClient;
  pTab->m_pData1 = pData1;
  pTab->m_pData2 = pData2;
  m_pTabArray->InsertAt(nIndex, pTab);
  return pTab;
}

SECTab* SECTabControlBase::AddTab(LPCTSTR lpszLabel, void* pClient, void* pData1, void* pData2) {
  SECTab* pTab = SECTabControlBase::InsertTab(GetTabCount(), lpszLabel, pClient, pData1, pData2);
  if (pTab == nullptr) return nullptr;
  RecalcLayout();
  InvalidateTab(GetTabCount() - 1);
  return pTab;
}

BOOL SECTabControlBase::ReplaceFont(CFont& font, const LOGFONT& lf, BOOL bActiveFont, BOOL bRedraw) {
  LOGFONT old{};
  font.GetLogFont(&old);
  font.DeleteObject();
  if (!font.CreateFontIndirect(&lf)) {
    font.CreateFontIndirect(&old);
    return FALSE;
  }
  RecalcLayout();
  if (bRedraw) {
    if (bActiveFont) InvalidateTab(m_nActiveTab);
    else for (int i = 0; i < GetTabCount(); ++i) InvalidateTab(i);
  }
  return TRUE;
}

void SECTabControlBase::ShiftActiveForInsert(int nIndex) {
  if (m_bActiveTab && m_nActiveTab >= nIndex) ++m_nActiveTab;
}

void SECTabControlBase::SetTabIcon(int, LPCTSTR, int, int) {}
void SECTabControlBase::SetTabIcon(int, UINT, int, int) {}
BOOL SECTabControlBase::SetTabIcon(int, HICON) { return TRUE; }

void SECTabControlBase::DeleteTab(int nIndex) {
  if (!IsValidTab(nIndex)) return;
  delete m_pTabArray->GetAt(nIndex);
  m_pTabArray->RemoveAt(nIndex);
  if (m_bActiveTab) {
    const int nCount = GetTabCount();
    if (nCount == 0) {
      m_bActiveTab = FALSE;
    } else if (m_nActiveTab >= nCount || m_nActiveTab == nIndex) {
      // The active tab went away: its successor (or the new last tab) takes its place.
      const int nNext = std::min(m_nActiveTab, nCount - 1);
      m_bActiveTab = FALSE;
      ActivateTab(nNext);
    } else if (nIndex < m_nActiveTab) {
      // The same tab stays active under its new index; the stored index moves first, so the
      // activation finds that tab already active instead of deselecting its neighbour.
      --m_nActiveTab;
      ActivateTab(m_nActiveTab);
    }
  }
  for (int i = nIndex; i < GetTabCount(); ++i) InvalidateTab(i);
  RecalcLayout();
}

void SECTabControlBase::RenameTab(int nIndex, LPCTSTR lpszLabel) {
  if (!IsValidTab(nIndex)) return;
  for (int i = nIndex; i < GetTabCount(); ++i) InvalidateTab(i);
  GetTab(nIndex)->m_csLabel = lpszLabel != nullptr ? lpszLabel : "";
  RecalcLayout();
  for (int i = nIndex; i < GetTabCount(); ++i) InvalidateTab(i);
}

void SECTabControlBase::ActivateTab(int nIndex) {
  if (!IsValidTab(nIndex)) return;
  TabSelectInfo info{static_cast<UINT>(GetDlgCtrlID()), nIndex, -1, GetTab(nIndex)->m_pClient, nullptr};
  if (m_bActiveTab) {
    if (m_nActiveTab == nIndex) return;
    SECTab* pPrev = GetTab(m_nActiveTab);
    info.nPrevTab = m_nActiveTab;
    info.pClientPrev = pPrev != nullptr ? pPrev->m_pClient : nullptr;
    if (pPrev != nullptr) {
      pPrev->m_bSelected = FALSE;
      InvalidateTab(m_nActiveTab);
    }
  }
  m_nActiveTab = nIndex;
  m_bActiveTab = TRUE;
  GetTab(nIndex)->m_bSelected = TRUE;
  OnActivateTab(nIndex);
  InvalidateTab(nIndex);
  ScrollToTab(nIndex);
  Notify(TABN_SELECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
}

void SECTabControlBase::ReActivateTab() { Notify(TABN_REACTIVATE, static_cast<WPARAM>(m_nActiveTab)); }

void SECTabControlBase::SelectTab(int nIndex) {
  if (!IsValidTab(nIndex)) return;
  GetTab(nIndex)->m_bSelected = TRUE;
  InvalidateTab(nIndex);
  Notify(TABN_SELECT, static_cast<WPARAM>(m_nActiveTab), 0);
}

void SECTabControlBase::ClearSelection() {
  for (int i = 0; i < GetTabCount(); ++i) {
    SECTab* pTab = GetTab(i);
    if (!pTab->m_bSelected) continue;
    InvalidateTab(i);
    pTab->m_bSelected = FALSE;
  }
  m_bActiveTab = FALSE;
  Notify(TABN_CLEARSEL, 0);
}

BOOL SECTabControlBase::GetTabInfo(int nIndex, CString& label, BOOL& bSelected, void*& pClient, void*& pData1,
                                   void*& pData2) const {
  const SECTab* pTab = GetTab(nIndex);
  if (pTab == nullptr) return FALSE;
  label = QueryLabel(pTab);
  bSelected = pTab->m_bSelected;
  pClient = pTab->m_pClient;
  pData1 = pTab->m_pData1;
  pData2 = pTab->m_pData2;
  return TRUE;
}

BOOL SECTabControlBase::FindTab(const void* pClient, int& nIndex) const {
  BOOL bFound = FALSE;
  for (int i = 0; i < GetTabCount(); ++i) {
    if (GetTab(i)->m_pClient != pClient) continue;
    nIndex = i;
    bFound = TRUE;
  }
  return bFound;
}

BOOL SECTabControlBase::GetActiveTab(int& nIndex) const {
  nIndex = m_nActiveTab;
  return m_bActiveTab;
}

LRESULT SECTabControlBase::Notify(UINT nCode, WPARAM wParam, LPARAM lParam) {
  HWND hParent = ::GetParent(m_hWnd);
  return hParent != nullptr ? ::SendMessage(hParent, nCode, wParam, lParam) : 0;
}

void SECTabControlBase::DestroyTabs() {
  if (m_pTabArray == nullptr) return;
  for (INT_PTR i = 0; i < m_pTabArray->GetSize(); ++i) delete m_pTabArray->GetAt(i);
  delete m_pTabArray;
  m_pTabArray = nullptr;
  m_bActiveTab = FALSE;
}

void SECTabControlBase::OnDestroy() {
  DestroyTabs();
  CWnd::OnDestroy();
}

BOOL SECTabControlBase::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(m_hCursor);
  return TRUE;
}
