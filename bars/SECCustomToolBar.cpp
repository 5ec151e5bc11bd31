// The customisable toolbar: creation, its buttons (made from the button maps, inserted and
// removed with their rows kept even), selection, styles, command UI and its window messages.
#include "bars/SECCustomToolBar.h"

#include "bars/SECBmpMgr.h"
#include "bars/SECBtnDrawCache.h"
#include "bars/SECControlBarInfo.h"
#include "bars/SECCustomToolBarInfoEx.h"
#include "bars/SECToolBarManager.h"

const UINT wmSECBarNotify = ::RegisterWindowMessage("WM_BARNOTIFY");
const UINT wmSECNoDelayHide = ::RegisterWindowMessage("WM_NODELAYHIDE");

namespace {
// Posted by a user bar that lost its last button: it destroys itself once the handler that
// removed the button (often its own mouse handler, through a drag) has returned.
const UINT wmSECDestroyEmptyBar = ::RegisterWindowMessage("SECCustomToolBarDestroyEmpty");

BOOL g_bAltDragInProgress = FALSE;

// The toolbar control's messages the bar answers as a toolbar control would.
constexpr UINT kAddButtons = WM_USER + 20;    // TB_ADDBUTTONS
constexpr UINT kDeleteButton = WM_USER + 22;  // TB_DELETEBUTTON

// The command-UI update of one button of a customisable toolbar.
class SECCustomToolCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override {
    m_bEnableChanged = TRUE;
    Bar()->SetButtonStyle(static_cast<int>(m_nIndex), bOn ? Style() & ~TBBS_DISABLED : Style() | TBBS_DISABLED);
  }
  void SetCheck(int nCheck = 1) override {
    UINT nStyle = (Style() & ~(TBBS_CHECKED | TBBS_INDETERMINATE)) | TBBS_CHECKBOX;
    if (nCheck == 1) nStyle |= TBBS_CHECKED;
    if (nCheck == 2) nStyle |= TBBS_INDETERMINATE;
    Bar()->SetButtonStyle(static_cast<int>(m_nIndex), nStyle);
  }
  void SetText(LPCTSTR) override {}

 private:
  SECCustomToolBar* Bar() const { return static_cast<SECCustomToolBar*>(m_pOther); }
  UINT Style() const { return Bar()->GetButtonStyle(static_cast<int>(m_nIndex)); }
};
}  // namespace

BOOL SECIsAltDragInProgress() { return g_bAltDragInProgress; }
void SECSetAltDragInProgress(BOOL bInProgress) { g_bAltDragInProgress = bInProgress; }

IMPLEMENT_DYNCREATE(SECCustomToolBar, SECControlBar)
IMPLEMENT_DYNCREATE(SECCustomizeToolBar, SECCustomToolBar)

BEGIN_MESSAGE_MAP(SECCustomToolBar, SECControlBar)
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_SHOWWINDOW()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CANCELMODE()
  ON_WM_TIMER()
  ON_WM_MOUSEACTIVATE()
  ON_REGISTERED_MESSAGE(wmSECNoDelayHide, OnNoDelayHide)
  ON_REGISTERED_MESSAGE(wmSECDestroyEmptyBar, OnDestroyEmptyBar)
  ON_WM_DESTROY()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(kAddButtons, OnAddButtons)
  ON_MESSAGE(kDeleteButton, OnDeleteButton)
END_MESSAGE_MAP()

SECCustomToolBar::SECCustomToolBar() {
  m_hBarFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  m_pBmpMgr = new SECBmpMgr;
  m_cyTopBorder = 3;
  m_cyBottomBorder = 3;
  static constexpr int kGripper[5] = {2, 3, 1, 3, 2};
  for (int i = 0; i < 5; ++i) m_gripper.m_cxWidths[i] = m_gripper.m_cyHeights[i] = kGripper[i];
  m_gripper.m_nMargin = 0;
}

SECCustomToolBar::~SECCustomToolBar() {
  if (m_pBmpMgr != nullptr) m_pBmpMgr->Release();
  RemoveAllButtons();
  delete m_pDrawCache;
  delete[] m_pBtnMap2;
}

// ---- creation ----

BOOL SECCustomToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle) {
  return CreateEx(0, pParentWnd, dwStyle, nID, lpszTitle);
}

BOOL SECCustomToolBar::CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle) {
  const CString strClass =
      AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  const BOOL bCreated = SECControlBar::CreateEx(strClass, lpszTitle, nID, dwStyle,
                                                dwExStyle | CBRS_EX_STRETCH_ONE_DIMENSION, CRect(0, 0, 0, 0),
                                                pParentWnd);
  if (bCreated) NotifyBar(SEC_BAR_CREATED);
  m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
  return bCreated;
}

BOOL SECCustomToolBar::Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                              CCreateContext* /*pContext*/) {
  return CreateEx(dwExStyle, pParentWnd, dwStyle | CBRS_HIDE_INPLACE, nID, lpszWindowName);
}

// ---- buttons ----

SECStdBtn* SECCustomToolBar::GetButton(int nIndex) const {
  return nIndex >= 0 && nIndex < GetBtnCount() ? m_btns.GetAt(nIndex) : nullptr;
}

SECStdBtn* SECCustomToolBar::CreateButton(UINT nID, SECCustomToolBar* pParentBar) {
  SECCustomToolBar* pBar = pParentBar != nullptr ? pParentBar : this;
  SECToolBarManager* pManager = GetToolBarManager();
  const SECBtnMapEntry* tables[2] = {pManager != nullptr ? pManager->GetButtonMap() : m_pBtnMap,
                                     pManager != nullptr ? pManager->GetSecondButtonMap() : m_pBtnMap2};
  SECStdBtn* pBtn = nullptr;
  const UINT_PTR* pParams = nullptr;
  for (const SECBtnMapEntry* table : tables) {
    if (table == nullptr || pBtn != nullptr) continue;
    const SECBtnMapEntry* pFound = nullptr;
    for (const SECBtnMapEntry* p = table; p->m_pBtnClass != nullptr; ++p) {
      if (p->m_nID == nID) pFound = p;
    }
    if (pFound == nullptr) continue;
    try {
      pBtn = pFound->m_pBtnClass->m_pfnCreateButton();
    } catch (...) {
      pBtn = nullptr;
    }
    if (pBtn == nullptr) continue;
    pBtn->m_nStyle = pFound->m_nStyle;
    pParams = pFound->m_nParams;
  }
  if (pBtn == nullptr) pBtn = new SECStdBtn;
  pBtn->m_nID = nID;
  pBtn->m_nImage = pBtn->m_nType == SECStdBtn::MenuBtn ? 0 : GetImageIndex(nID);
  pBtn->Init(pBar, pParams);
  pBtn->ShowAsButton(pBar->m_bWndBtnsAsBtns);
  return pBtn;
}

SECStdBtn* SECCustomToolBar::CreateSeparator(SECCustomToolBar* pParentBar) {
  SECStdBtn* pBtn = new SECStdBtn;
  pBtn->m_nStyle = TBBS_SEPARATOR;
  pBtn->m_nID = 0;
  pBtn->m_nImage = 0;
  pBtn->m_pToolBar = pParentBar != nullptr ? pParentBar : this;
  pBtn->m_cx = m_nSepWidth;
  pBtn->m_cy = GetButtonHeight();
  return pBtn;
}

int SECCustomToolBar::GetImageIndex(UINT nID, BOOL* pbFound) const {
  HBITMAP hbm = nullptr;
  UINT nImage = 0;
  const BOOL bFound = m_pBmpMgr != nullptr && m_pBmpMgr->GetBitmap(nID, hbm, nImage);
  if (pbFound != nullptr) *pbFound = bFound;
  return bFound ? static_cast<int>(nImage) : 0;
}

void SECCustomToolBar::RowBounds(int nIndex, int& nFirst, int& nLast) const {
  const int count = GetBtnCount();
  nFirst = nIndex;
  while (nFirst > 0 && !(m_btns.GetAt(nFirst - 1)->m_nStyle & TBBS_WRAPPED)) --nFirst;
  nLast = nIndex;
  while (nLast + 1 < count && !(m_btns.GetAt(nLast)->m_nStyle & TBBS_WRAPPED)) ++nLast;
}

void SECCustomToolBar::SetRowSeparatorHeights(int nFirst, int nLast, int cy, BOOL bRaiseOnly) {
  for (int i = nFirst; i <= nLast; ++i) {
    SECStdBtn* pBtn = m_btns.GetAt(i);
    if (!pBtn->IsSeparator()) continue;
    pBtn->m_cy = bRaiseOnly ? std::max(pBtn->m_cy, cy) : cy;
  }
}

void SECCustomToolBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoUpdate) {
  nIndex = std::clamp(nIndex, 0, GetBtnCount());
  SECStdBtn* pBtn = bSeparator ? CreateSeparator(this) : CreateButton(nID, this);
  if (pBtn == nullptr) return;
  m_btns.InsertAt(nIndex, pBtn);

  int nFirst = 0, nLast = 0;
  RowBounds(nIndex, nFirst, nLast);
  if (pBtn->IsSeparator()) {
    int cy = 0;
    for (int i = nFirst; i <= nLast; ++i) {
      if (!m_btns.GetAt(i)->IsSeparator()) cy = std::max(cy, m_btns.GetAt(i)->m_cy);
    }
    if (cy > 0) pBtn->m_cy = cy;
  } else {
    SetRowSeparatorHeights(nFirst, nLast, pBtn->m_cy, TRUE);
  }
  m_nMRUWidth += static_cast<UINT>(pBtn->m_cx);

  SECToolBarManager* pManager = GetToolBarManager();
  if (pManager != nullptr && pManager->GetSelectionBar() == this && m_bCustomize && m_nBtnDown >= nIndex) {
    ++m_nBtnDown;
    Invalidate();
  }
  if (IsCoolLook() && m_nHot >= nIndex) ++m_nHot;
  UpdateButton(nIndex);
  if (!bNoUpdate) {
    m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->RecalcLayout();
    Invalidate();
    UpdateWindow();
  }
}

BOOL SECCustomToolBar::RemoveButton(int nIndex, BOOL bNoUpdate) {
  if (nIndex < 0 || nIndex >= GetBtnCount()) return FALSE;
  SECStdBtn* pRemoved = m_btns.GetAt(nIndex);
  m_btns.RemoveAt(nIndex);
  if (!pRemoved->IsSeparator() && GetBtnCount() > 0) {
    const int nNear = std::min(nIndex, GetBtnCount() - 1);
    int nFirst = 0, nLast = 0;
    RowBounds(nNear, nFirst, nLast);
    int cy = 0;
    for (int i = nFirst; i <= nLast; ++i) {
      if (!m_btns.GetAt(i)->IsSeparator()) cy = std::max(cy, m_btns.GetAt(i)->m_cy);
    }
    SetRowSeparatorHeights(nFirst, nLast, cy > 0 ? cy : 2 * m_nSepWidth / 3, FALSE);
  }
  if (m_nBtnDown == nIndex && !m_bCustomize) m_nBtnDown = -1;
  delete pRemoved;

  // At most one separator became redundant.
  int nRemoved = 1;
  auto isSeparator = [this](int i) { return i >= 0 && i < GetBtnCount() && m_btns.GetAt(i)->IsSeparator(); };
  int nExtra = -1;
  if (nIndex == 0 && isSeparator(0))
    nExtra = 0;
  else if (nIndex > 0 && isSeparator(GetBtnCount() - 1))
    nExtra = GetBtnCount() - 1;
  else if (isSeparator(nIndex - 1) && isSeparator(nIndex))
    nExtra = nIndex;
  if (nExtra >= 0) {
    delete m_btns.GetAt(nExtra);
    m_btns.RemoveAt(nExtra);
    ++nRemoved;
  }

  SECToolBarManager* pManager = GetToolBarManager();
  if (m_bCustomize && pManager != nullptr && pManager->GetSelectionBar() == this) {
    if (m_nBtnDown == nIndex) {
      m_nBtnDown = -1;
      pManager->SetSelectionBar(nullptr);
      NotifyBar(SEC_BAR_SELCHANGE);
    } else if (m_nBtnDown > nIndex) {
      m_nBtnDown = std::max(0, m_nBtnDown - nRemoved);
    }
  }
  if (m_nHot == nIndex) {
    m_nHot = -1;
    if (GetSafeHwnd() != nullptr) KillTimer(kHotTimer);
  } else if (m_nHot > nIndex) {
    m_nHot = std::max(-1, m_nHot - nRemoved);
  }
  const BOOL bRemain = GetBtnCount() > 0;
  m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
  if (bNoUpdate) return bRemain;
  if (!bRemain && IsUserBar()) {
    ScheduleDestroy();
    return FALSE;
  }
  if (CFrameWnd* pFrame = GetParentFrame()) pFrame->RecalcLayout();
  if (GetSafeHwnd() != nullptr) {
    Invalidate();
    UpdateWindow();
  }
  return bRemain;
}

void SECCustomToolBar::ScheduleDestroy() {
  if (GetSafeHwnd() == nullptr || m_bDestroyPending) return;
  m_bDestroyPending = TRUE;
  ShowWindow(SW_HIDE);
  PostMessage(wmSECDestroyEmptyBar);
}

LRESULT SECCustomToolBar::OnDestroyEmptyBar(WPARAM, LPARAM) {
  m_bDestroyPending = FALSE;
  // A button dropped on the bar meanwhile keeps it.
  if (GetBtnCount() > 0) {
    ShowWindow(SW_SHOWNA);
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->RecalcLayout();
    return 0;
  }
  CFrameWnd* pDockSite = m_pDockSite;
  DestroyWindow();
  if (pDockSite != nullptr && pDockSite->GetSafeHwnd() != nullptr) pDockSite->RecalcLayout();
  return 0;
}

void SECCustomToolBar::RemoveAllButtons() {
  for (int i = 0; i < GetBtnCount(); ++i) delete m_btns.GetAt(i);
  m_btns.RemoveAll();
  m_nBtnDown = m_nHot = m_nMenuBtn = -1;
}

BOOL SECCustomToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  RemoveAllButtons();
  ClearSelection(FALSE);
  for (int i = 0; i < nIDCount && lpIDArray != nullptr; ++i)
    InsertButton(GetBtnCount(), lpIDArray[i], lpIDArray[i] == 0, TRUE);
  m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
  return TRUE;
}

BOOL SECCustomToolBar::LayOutFloatingFrame() {
  if (m_hWnd == nullptr || !IsFloating()) return FALSE;
  CFrameWnd* floating = GetParentFrame();
  if (floating == nullptr || floating == m_pDockSite) return FALSE;
  floating->RecalcLayout();
  return TRUE;
}

void SECCustomToolBar::RecalcButtonSizes() {
  m_nMaxBtnWidth = 0;
  for (int i = 0; i < GetBtnCount(); ++i) m_btns.GetAt(i)->AdjustSize();
  m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
}

void SECCustomToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == nullptr || pBtn->GetStyle() == nStyle) return;
  pBtn->SetStyle(nStyle);
  InvalidateButton(nIndex);
}

UINT SECCustomToolBar::GetButtonStyle(int nIndex) const {
  const SECStdBtn* pBtn = GetButton(nIndex);
  return pBtn != nullptr ? pBtn->GetStyle() : 0;
}

void SECCustomToolBar::HideButton(int nIndex, BOOL bHide) {
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == nullptr) return;
  pBtn->SetStyle(bHide ? pBtn->GetStyle() | TBBS_HIDDEN : pBtn->GetStyle() & ~TBBS_HIDDEN);
  pBtn->UpdateWndVisibility();
  m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
}

int SECCustomToolBar::CommandToIndex(UINT nID) const {
  for (int i = 0; i < GetBtnCount(); ++i) {
    if (m_btns.GetAt(i)->m_nID == nID) return i;
  }
  return -1;
}

int SECCustomToolBar::ButtonToIndex(const SECStdBtn* pBtn) const {
  for (int i = 0; i < GetBtnCount(); ++i) {
    if (m_btns.GetAt(i) == pBtn) return i;
  }
  return -1;
}

UINT SECCustomToolBar::GetItemID(int nIndex) const {
  const SECStdBtn* pBtn = GetButton(nIndex);
  return pBtn != nullptr ? pBtn->m_nID : 0;
}

void SECCustomToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  const SECStdBtn* pBtn = GetButton(nIndex);
  *lpRect = pBtn != nullptr ? pBtn->GetRect() : CRect(0, 0, 0, 0);
}

void SECCustomToolBar::InvalidateButton(int nIndex) {
  if (const SECStdBtn* pBtn = GetButton(nIndex)) pBtn->Invalidate(FALSE);
}

void SECCustomToolBar::UpdateButton(int nIndex) {
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == nullptr || pBtn->IsSeparator() || GetSafeHwnd() == nullptr) return;
  CFrameWnd* pTarget = static_cast<CFrameWnd*>(GetOwnerWnd());
  if (pTarget == nullptr || !pTarget->IsFrameWnd()) pTarget = GetParentFrame();
  if (pTarget == nullptr) return;
  SECCustomToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndex = static_cast<UINT>(nIndex);
  state.m_nIndexMax = static_cast<UINT>(GetBtnCount());
  state.m_nID = pBtn->m_nID;
  state.DoUpdate(pTarget, !(pBtn->GetStyle() & SEC_TBBS_NODISABLE));
}

void SECCustomToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateButtons(pTarget, bDisableIfNoHndler);
}

void SECCustomToolBar::UpdateButtons(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  SECCustomToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetBtnCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    const SECStdBtn* pBtn = m_btns.GetAt(static_cast<int>(state.m_nIndex));
    if (pBtn->IsSeparator()) continue;
    state.m_nID = pBtn->m_nID;
    if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) continue;
    state.DoUpdate(pTarget, bDisableIfNoHndler && !(pBtn->GetStyle() & SEC_TBBS_NODISABLE));
  }
  // A window button's window follows its button's state, so the bar's child windows are not
  // updated as dialog controls.
}

// ---- manager, images, selection ----

SECToolBarManager* SECCustomToolBar::GetToolBarManager() const {
  return m_pManager != nullptr && m_pManager->IsKindOf(RUNTIME_CLASS(SECToolBarManager))
             ? static_cast<SECToolBarManager*>(m_pManager)
             : nullptr;
}

void SECCustomToolBar::SetBmpMgr(SECBmpMgr* pBmpMgr) {
  if (pBmpMgr == m_pBmpMgr) return;
  if (pBmpMgr != nullptr) pBmpMgr->AddRef();
  if (m_pBmpMgr != nullptr) m_pBmpMgr->Release();
  m_pBmpMgr = pBmpMgr;
}

SECBtnDrawCache* SECCustomToolBar::GetDrawCache() {
  if (SECToolBarManager* pManager = GetToolBarManager()) return pManager->GetDrawCache();
  if (m_pDrawCache == nullptr) m_pDrawCache = new SECBtnDrawCache;
  return m_pDrawCache;
}

int SECCustomToolBar::GetImageWidth() const {
  if (m_pBmpMgr == nullptr) return 16;
  return m_pBmpMgr->GetCurrentImageSize().cx;
}

int SECCustomToolBar::GetImageHeight() const {
  if (m_pBmpMgr == nullptr) return 15;
  return m_pBmpMgr->GetCurrentImageSize().cy;
}

void SECCustomToolBar::SetCustomizeMode(BOOL bCustomize) {
  ClearSelection(FALSE);
  m_bCustomize = bCustomize;
  m_nBtnDown = -1;
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void SECCustomToolBar::SelectButton(int nIndex, BOOL bRedraw) {
  SECToolBarManager* pManager = GetToolBarManager();
  if (pManager != nullptr && pManager->GetSelectionBar() != nullptr)
    pManager->GetSelectionBar()->ClearSelection(bRedraw);
  else
    ClearSelection(bRedraw);
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == nullptr) return;
  if (pManager != nullptr) pManager->SetSelectionBar(this);
  m_nBtnDown = nIndex;
  pBtn->SetStyle(pBtn->GetStyle() | SEC_TBBS_SELECTED);
  if (bRedraw) InvalidateButton(nIndex);
  NotifyBar(SEC_BAR_SELCHANGE);
}

void SECCustomToolBar::SelectButtonObject(SECStdBtn* pBtn, BOOL bRedraw) { SelectButton(ButtonToIndex(pBtn), bRedraw); }

void SECCustomToolBar::ClearSelection(BOOL bRedraw) {
  SECToolBarManager* pManager = GetToolBarManager();
  if (SECStdBtn* pBtn = GetButton(m_nBtnDown); pBtn != nullptr && (pBtn->GetStyle() & SEC_TBBS_SELECTED)) {
    pBtn->SetStyle(pBtn->GetStyle() & ~SEC_TBBS_SELECTED);
    if (bRedraw) InvalidateButton(m_nBtnDown);
    m_nBtnDown = -1;
  }
  if (pManager != nullptr && pManager->GetSelectionBar() == this) pManager->SetSelectionBar(nullptr);
  NotifyBar(SEC_BAR_SELCHANGE);
}

void SECCustomToolBar::NotifyBar(int nCode) {
  if (SECToolBarManager* pManager = GetToolBarManager(); pManager != nullptr && GetSafeHwnd() != nullptr)
    pManager->BroadcastBarNotify(static_cast<UINT>(GetDlgCtrlID()), nCode);
}

void SECCustomToolBar::SetCommandCheck(UINT nID, int nCode, const SECBtnStyleChange& change, BOOL bAllBars) {
  if (bAllBars) {
    if (SECToolBarManager* pManager = GetToolBarManager()) pManager->SetCommandCheckAll(nID, nCode, change);
    return;
  }
  for (int i = 0; i < GetBtnCount(); ++i) {
    if (m_btns.GetAt(i)->m_nID == nID) m_btns.GetAt(i)->ApplyStyleChange(nCode, change);
  }
}

CWnd* SECCustomToolBar::GetOwnerWnd() const {
  CWnd* pOwner = GetOwner();
  return pOwner != nullptr ? pOwner : GetParent();
}

BOOL SECCustomToolBar::IsVertical() const {
  return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0 && !(m_dwStyle & CBRS_FLOATING);
}

void SECCustomToolBar::SetWndBtnsAsBtns(BOOL bAsButtons) {
  if (m_bWndBtnsAsBtns == bAsButtons) return;
  m_bWndBtnsAsBtns = bAsButtons;
  for (int i = 0; i < GetBtnCount(); ++i) m_btns.GetAt(i)->ShowAsButton(bAsButtons);
}

void SECCustomToolBar::SetSecondButtonMap(SECBtnMapEntry* pMap) {
  delete[] m_pBtnMap2;
  m_pBtnMap2 = pMap;
}

BOOL SECCustomToolBar::IsUserBar() const {
  const UINT nID = static_cast<UINT>(GetDlgCtrlID());
  return nID >= SEC_IDW_FIRST_USER_TOOLBAR && nID <= SEC_IDW_LAST_USER_TOOLBAR;
}

BOOL SECCustomToolBar::IsCopyDrag() const { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

// ---- saved state ----

void SECCustomToolBar::GetBarInfoEx(SECControlBarInfo* pInfo) {
  auto* pInfoEx = new SECCustomToolBarInfoEx;
  GetWindowText(pInfoEx->m_strTitle);
  for (int i = 0; i < GetBtnCount(); ++i) {
    const SECStdBtn* pBtn = m_btns.GetAt(i);
    int nCount = 0;
    BYTE* pData = nullptr;
    if (!pBtn->IsSeparator()) pBtn->GetExtraData(nCount, pData);
    pInfoEx->m_btnInfo.Add(new SECBtnInfo(pBtn->IsSeparator() ? 0 : pBtn->m_nID, pData, nCount));
  }
  delete pInfo->m_pExtension;
  pInfo->m_pExtension = pInfoEx;
}

void SECCustomToolBar::SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* /*pFrameWnd*/) {
  auto* pInfoEx = dynamic_cast<SECCustomToolBarInfoEx*>(pInfo->m_pExtension);
  if (pInfoEx == nullptr) return;
  // The buttons come back into the width the layout saved (taken over before this): inserting
  // them one by one would add their widths to it and wrap a narrowed floating bar into one row.
  const UINT nMRUWidth = m_nMRUWidth;
  RemoveAllButtons();
  if (!pInfoEx->m_strTitle.IsEmpty()) SetWindowText(pInfoEx->m_strTitle);
  for (int i = 0; i < pInfoEx->m_btnInfo.GetSize(); ++i) {
    const SECBtnInfo* pSaved = pInfoEx->m_btnInfo[i];
    InsertButton(GetBtnCount(), pSaved->m_nID, pSaved->m_nID == 0, TRUE);
    if (pSaved->m_nID != 0 && pSaved->GetExtraCount() > 0)
      m_btns.GetAt(GetBtnCount() - 1)->SetExtraData(pSaved->GetExtraCount(), pSaved->GetExtraData());
  }
  m_nMRUWidth = nMRUWidth;
  m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
}

// ---- messages ----

void SECCustomToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  if (lpWndPos->flags & SWP_HIDEWINDOW) NotifyBar(SEC_BAR_HIDDEN);
  if (lpWndPos->flags & SWP_SHOWWINDOW) NotifyBar(SEC_BAR_SHOWN);
  // The base handler redraws borders it knows of; ours are drawn by DrawBorders.
  const DWORD dwStyle = m_dwStyle;
  m_dwStyle &= ~static_cast<DWORD>(CBRS_BORDER_ANY);
  SECControlBar::OnWindowPosChanging(lpWndPos);
  m_dwStyle = dwStyle;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpWndPos->flags & SWP_NOSIZE)) Invalidate();
}

void SECCustomToolBar::OnShowWindow(BOOL bShow, UINT nStatus) {
  NotifyBar(bShow ? SEC_BAR_SHOWN : SEC_BAR_HIDDEN);
  SECControlBar::OnShowWindow(bShow, nStatus);
}

void SECCustomToolBar::OnSysColorChange() {
  SECControlBar::OnSysColorChange();
  if (m_pDrawCache != nullptr) m_pDrawCache->SysColorChange();
  if (SECToolBarManager* pManager = GetToolBarManager()) pManager->GetDrawCache()->SysColorChange();
  if (m_pBmpMgr != nullptr) m_pBmpMgr->ReloadBitmaps(TRUE);
}

int SECCustomToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  if (m_bCustomize && !IsFloating()) return MA_NOACTIVATE;
  return SECControlBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void SECCustomToolBar::DelayShow(BOOL bShow) {
  if (!bShow && m_bCustomize && IsFloating() && GetSafeHwnd() != nullptr) {
    if (!(m_nStateFlags & delayHide)) {
      m_nStateFlags |= delayHide;
      PostMessage(wmSECNoDelayHide);
    }
    return;
  }
  SECControlBar::DelayShow(bShow);
}

LRESULT SECCustomToolBar::OnNoDelayHide(WPARAM, LPARAM) {
  if (m_bCustomize && IsFloating() && m_pDockSite != nullptr) m_pDockSite->ShowControlBar(this, FALSE, FALSE);
  m_nStateFlags &= ~static_cast<UINT>(delayHide);
  return 0;
}

void SECCustomToolBar::OnDestroy() {
  ClearSelection(FALSE);
  NotifyBar(SEC_BAR_DESTROYED);
  SECControlBar::OnDestroy();
}

LRESULT SECCustomToolBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  SizeToParent();
  return SECControlBar::OnSizeParent(wParam, lParam);
}

void SECCustomToolBar::SizeToParent() {
  if (m_pDockContext != nullptr || GetParent() == nullptr) return;
  CRect rectParent;
  GetParent()->GetClientRect(&rectParent);
  CRect rect;
  GetWindowRect(&rect);
  if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT))
    rect.bottom = rect.top + rectParent.Height();
  else
    rect.right = rect.left + rectParent.Width();
  SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SECCustomToolBar::OnAddButtons(WPARAM wParam, LPARAM lParam) {
  const auto* pButtons = reinterpret_cast<const TBBUTTON*>(lParam);
  const int nCount = static_cast<int>(wParam);
  for (int i = 0; i < nCount && pButtons != nullptr; ++i) {
    const TBBUTTON& button = pButtons[i];
    const int nIndex = GetBtnCount();
    InsertButton(nIndex, static_cast<UINT>(button.idCommand), button.idCommand == 0, i + 1 < nCount);
    if (SECStdBtn* pBtn = GetButton(nIndex))
      pBtn->SetStyle(pBtn->GetStyle() | (static_cast<UINT>(button.fsState) << 16) | button.fsStyle);
  }
  return TRUE;
}

LRESULT SECCustomToolBar::OnDeleteButton(WPARAM wParam, LPARAM) {
  RemoveButton(static_cast<int>(wParam), FALSE);
  return TRUE;
}

void SECCustomToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
  for (int i = 0; i < GetBtnCount(); ++i) m_btns.GetAt(i)->OnBarStyleChange(dwOldStyle, dwNewStyle);
  m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
}
