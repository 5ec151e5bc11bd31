// The customisable toolbar and the mouse: presses, releases and commands, hot tracking, Alt and
// customise-mode drags, drops of dragged buttons, and the menu mode of menu buttons.
#include "bars/SECCustomToolBar.h"
#include "bars/SECToolBarManager.h"

namespace {
constexpr UINT kHotTimerDelay = 100;
constexpr UINT kIdleMessage = 57345;  // AFX_IDS_IDLEMESSAGE

bool IsMenuButton(const SECStdBtn* pBtn) {
  return pBtn != nullptr && (pBtn->m_nType == SECStdBtn::MenuBtn || pBtn->m_nType == SECStdBtn::CapMenuBtn);
}
bool IsShown(const SECStdBtn* pBtn) { return !(pBtn->GetStyle() & TBBS_HIDDEN); }
}  // namespace

// ---- presses ----

void SECCustomToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bCustomize) {
    const int nIndex = HitTest(point);
    if (nIndex >= 0 && m_btns.GetAt(nIndex)->CanDrag()) {
      BeginDrag(nIndex, point);
      return;
    }
    SECControlBar::OnLButtonDown(nFlags, point);
    return;
  }
  PressAt(nFlags, point, TRUE);
}

void SECCustomToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_bCustomize) {
    OnLButtonDown(nFlags, point);
    return;
  }
  PressAt(nFlags, point, FALSE);
}

void SECCustomToolBar::PressAt(UINT nFlags, CPoint point, BOOL bAltMoves) {
  if (SECIsCommandInProgress()) return;
  const int nIndex = HitTest(point);
  const BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == nullptr || ((pBtn->GetStyle() & TBBS_DISABLED) && !(bAlt && bAltMoves))) {
    SECControlBar::OnLButtonDown(nFlags, point);
    return;
  }
  if (bAlt && bAltMoves && GetToolBarManager() != nullptr) {
    SECSetAltDragInProgress(TRUE);
    BeginDrag(nIndex, point);
    SECSetAltDragInProgress(FALSE);
    // A bar the move emptied is only destroyed after this handler, so it is still here.
    if (SECToolBarManager* pManager = GetToolBarManager(); pManager != nullptr && pManager->GetSelectionBar())
      pManager->GetSelectionBar()->ClearSelection(TRUE);
    return;
  }
  UpdateButton(nIndex);
  if (!pBtn->BtnPressed(point)) return;
  m_nBtnDown = nIndex;
  InvalidateButton(nIndex);
  SetCapture();
  if (CWnd* pOwner = GetOwnerWnd()) pOwner->SendMessage(WM_SETMESSAGESTRING, pBtn->m_nID);
}

void SECCustomToolBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bCustomize && m_nBtnDown >= 0) {
    SECStdBtn* pBtn = GetButton(m_nBtnDown);
    if (pBtn == nullptr) {
      m_nBtnDown = -1;
      return;
    }
    if (GetCapture() == this) {
      const UINT nOld = pBtn->GetStyle();
      pBtn->BtnMouseMove(point);
      if (pBtn->GetStyle() != nOld) InvalidateButton(m_nBtnDown);
    } else {
      EndPress(TRUE);
    }
    return;
  }
  UpdateHotTracking();
  SECControlBar::OnMouseMove(nFlags, point);
}

void SECCustomToolBar::EndPress(BOOL bCancel) {
  SECStdBtn* pBtn = GetButton(m_nBtnDown);
  const int nIndex = m_nBtnDown;
  m_nBtnDown = -1;
  if (pBtn == nullptr) return;
  if (bCancel) pBtn->BtnCancel();
  InvalidateButton(nIndex);
  if (CWnd* pOwner = GetOwnerWnd()) pOwner->SendMessage(WM_SETMESSAGESTRING, kIdleMessage);
}

void SECCustomToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bCustomize || m_nBtnDown < 0) {
    SECControlBar::OnLButtonUp(nFlags, point);
    return;
  }
  const int nIndex = m_nBtnDown;
  SECStdBtn* pBtn = GetButton(nIndex);
  m_nBtnDown = -1;
  if (GetCapture() == this) ReleaseCapture();
  if (pBtn == nullptr) return;
  const UINT nCommand = pBtn->BtnReleased(point);
  if (CWnd* pOwner = GetOwnerWnd()) pOwner->SendMessage(WM_SETMESSAGESTRING, kIdleMessage);
  InvalidateButton(nIndex);
  if (nCommand != 0) SendButtonCommand(nIndex, nCommand);
}

void SECCustomToolBar::SendButtonCommand(int nIndex, UINT nID) {
  CWnd* pOwner = GetOwnerWnd();
  if (pOwner == nullptr) return;
  SECToolBarManager* pManager = GetToolBarManager();
  SECCommandOrigin* pOrigin = pManager != nullptr ? pManager->GetCommandOrigin() : nullptr;
  if (pOrigin != nullptr) {
    CRect rect;
    GetItemRect(nIndex, &rect);
    ClientToScreen(&rect);
    pOrigin->m_rect = rect;
    pOrigin->m_bActive = TRUE;
  }
  const HWND hOwner = pOwner->GetSafeHwnd();
  // The command may destroy this bar: nothing of it is touched after the send.
  SECSetCommandInProgress(TRUE);
  ::SendMessage(hOwner, WM_COMMAND, nID, 0);
  SECSetCommandInProgress(FALSE);
  if (pOrigin != nullptr) {
    pOrigin->m_bActive = FALSE;
    pOrigin->Release();
  }
}

void SECCustomToolBar::OnCancelMode() {
  SECControlBar::OnCancelMode();
  if (m_bMenuMode) ExitMenuMode();
  if (!m_bCustomize && m_nBtnDown >= 0 && !SECIsAltDragInProgress()) {
    if (GetCapture() == this) ReleaseCapture();
    EndPress(TRUE);
  }
}

// ---- hot tracking ----

void SECCustomToolBar::UpdateHotTracking() {
  if (!IsCoolLook() || m_bCustomize || SECIsCommandInProgress() || SECIsAltDragInProgress()) return;
  if (m_nBtnDown >= 0 || m_nMenuBtn >= 0) return;
  if (::GetActiveWindow() == nullptr) {
    SetHot(-1);
    return;
  }
  CPoint point;
  ::GetCursorPos(&point);
  int nHot = -1;
  if (::WindowFromPoint(point) == m_hWnd) {
    ScreenToClient(&point);
    nHot = HitTest(point);
    if (nHot >= 0 && (m_btns.GetAt(nHot)->GetStyle() & TBBS_DISABLED)) nHot = -1;
  }
  SetHot(nHot);
}

void SECCustomToolBar::SetHot(int nIndex) {
  if (nIndex == m_nHot) return;
  if (SECStdBtn* pOld = GetButton(m_nHot)) {
    pOld->SetStyle(pOld->GetStyle() & ~SEC_TBBS_HOT);
    InvalidateButton(m_nHot);
  }
  m_nHot = nIndex;
  if (SECStdBtn* pNew = GetButton(nIndex)) {
    pNew->SetStyle(pNew->GetStyle() | SEC_TBBS_HOT);
    InvalidateButton(nIndex);
    SetTimer(kHotTimer, kHotTimerDelay, nullptr);
  } else {
    m_nHot = -1;
    KillTimer(kHotTimer);
  }
}

void SECCustomToolBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kHotTimer) {
    UpdateHotTracking();
    return;
  }
  SECControlBar::OnTimer(nIDEvent);
}

// ---- drags and drops ----

void SECCustomToolBar::BeginDrag(int nIndex, CPoint point) {
  SECToolBarManager* pManager = GetToolBarManager();
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pManager != nullptr && pBtn != nullptr) pManager->DragButton(pBtn, nIndex, point, this, this, IsCopyDrag());
}

BOOL SECCustomToolBar::DropButton(const CRect& rectScreen, SECStdBtn* pBtn, BOOL bCopy, BOOL bNoUpdate) {
  BOOL bResult = TRUE;
  CRect rect = rectScreen;
  ScreenToClient(&rect);
  CRect rectInside;
  GetInsideRect(rectInside);
  SECToolBarManager* pManager = GetToolBarManager();
  SECCustomToolBar* pSource = pManager != nullptr ? pManager->GetSelectionBar() : nullptr;
  const UINT nID = pBtn->m_nID;
  auto isSeparator = [this](int i) { return i >= 0 && i < GetBtnCount() && m_btns.GetAt(i)->IsSeparator(); };

  int nTarget = 0;
  if (GetBtnCount() > 0) {
    if (!bCopy && pSource == this && GetBtnCount() == 1) return TRUE;
    if (rect.bottom <= rectInside.top) {
      InsertButton(0, 0, TRUE, TRUE);
      nTarget = 0;
    } else if (rect.top >= rectInside.bottom) {
      InsertButton(GetBtnCount(), 0, TRUE, TRUE);
      nTarget = GetBtnCount();
    } else {
      // The row under the rectangle's vertical middle.
      std::vector<int> indices;
      VisibleItems(&indices);
      const int yMiddle = rect.CenterPoint().y;
      size_t rowFirst = 0, rowLast = indices.size() - 1;
      for (size_t k = 0, first = 0; k < indices.size(); ++k) {
        const SECStdBtn* p = m_btns.GetAt(indices[k]);
        if (!(p->GetStyle() & TBBS_WRAPPED) && k + 1 < indices.size()) continue;
        int bottom = INT_MIN;
        for (size_t r = first; r <= k; ++r) bottom = std::max(bottom, static_cast<int>(m_btns.GetAt(indices[r])->GetRect().bottom));
        if (p->IsSeparator()) bottom += 2 * m_nSepWidth / 3;
        rowFirst = first;
        rowLast = k;
        if (yMiddle < bottom) break;
        first = k + 1;
      }

      // A small move of the selected button beside its own place adds or removes a separator.
      const int nSelected = pSource == this ? ButtonToIndex(pBtn) : -1;
      const bool inRow = nSelected >= 0 && std::find(indices.begin() + static_cast<std::ptrdiff_t>(rowFirst),
                                                     indices.begin() + static_cast<std::ptrdiff_t>(rowLast) + 1,
                                                     nSelected) != indices.begin() + static_cast<std::ptrdiff_t>(rowLast) + 1;
      if (inRow) {
        const CRect rectBtn = pBtn->GetRect();
        const int nLast = GetBtnCount() - 1;
        if (rect.left < rectBtn.left && rect.right > rectBtn.left) {
          if (rectBtn.left - rect.left < 2 || bCopy) return TRUE;
          if (isSeparator(nSelected - 1))
            RemoveButton(nSelected - 1, FALSE);
          else if (!isSeparator(nSelected + 1) && nSelected != nLast)
            InsertButton(nSelected + 1, 0, TRUE, FALSE);
          return TRUE;
        }
        if (rect.left > rectBtn.left && rect.left < rectBtn.right) {
          if (rect.left - rectBtn.left < 2 || bCopy) return TRUE;
          if (!isSeparator(nSelected - 1))
            InsertButton(nSelected, 0, TRUE, FALSE);
          else if (isSeparator(nSelected + 1))
            RemoveButton(nSelected + 1, FALSE);
          return TRUE;
        }
      }

      // One past the first button of the row whose right edge passes the rectangle's left.
      int nLastTarget = indices[rowLast];
      while (nLastTarget > indices[rowFirst] && isSeparator(nLastTarget)) --nLastTarget;
      nTarget = nLastTarget + 1;
      if (rect.left < m_btns.GetAt(indices[rowFirst])->GetRect().left) {
        nTarget = indices[rowFirst];
      } else {
        for (size_t r = rowFirst; r <= rowLast; ++r) {
          if (m_btns.GetAt(indices[r])->GetRect().right > rect.left) {
            nTarget = std::min(indices[r] + 1, nLastTarget + 1);
            break;
          }
        }
      }
    }
  }

  if (!bCopy && pSource != nullptr) {
    const int nSource = pSource->ButtonToIndex(pBtn);
    if (nSource >= 0 && pSource == this) {
      if (nTarget == nSource || nTarget == nSource + 1) return TRUE;
      const int nBefore = GetBtnCount();
      RemoveButton(nSource, TRUE);
      if (nTarget > nSource) nTarget -= nBefore - GetBtnCount();
    } else if (nSource >= 0) {
      bResult = pSource->RemoveButton(nSource, FALSE);
    }
  }
  nTarget = std::clamp(nTarget, 0, GetBtnCount());
  if (isSeparator(nTarget)) {
    CRect rectSeparator = m_btns.GetAt(nTarget)->GetRect();
    if (CRect().IntersectRect(rectSeparator, rect)) RemoveButton(nTarget, TRUE);
  }
  InsertButton(nTarget, nID, FALSE, bNoUpdate);
  if (!SECIsAltDragInProgress() && m_bCustomize) SelectButton(nTarget);
  return bResult;
}

// ---- menu mode ----

void SECCustomToolBar::NotifyOwnerCode(int nCode) {
  CWnd* pOwner = GetOwnerWnd();
  if (pOwner == nullptr) return;
  SECBtnNotify notify{};
  notify.hdr.hwndFrom = m_hWnd;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notify.hdr.code = static_cast<UINT>(nCode);
  notify.nIndex = -1;
  pOwner->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void SECCustomToolBar::DropDownButton(SECStdBtn* pBtn, LPARAM lParam1, LPARAM lParam2) {
  const int nIndex = ButtonToIndex(pBtn);
  if (nIndex < 0) return;
  m_nMenuBtn = nIndex;
  SetHot(-1);
  pBtn->SetStyle(pBtn->GetStyle() | SEC_TBBS_HOT);
  InvalidateButton(nIndex);
  pBtn->NotifyOwner(SEC_TBN_DROPMENU, lParam1, lParam2);
}

void SECCustomToolBar::OpenMenuButton(int nIndex) {
  if (m_bMenuMode) ExitMenuMode();
  SECStdBtn* pBtn = GetButton(nIndex);
  if (!IsMenuButton(pBtn)) return;
  CancelMenuButton();
  pBtn->BtnPressed(CPoint(pBtn->m_x, pBtn->m_y));
}

void SECCustomToolBar::CancelMenuButton() {
  if (SECStdBtn* pBtn = GetButton(m_nMenuBtn)) {
    pBtn->BtnCancel();
    pBtn->SetStyle(pBtn->GetStyle() & ~SEC_TBBS_HOT);
    InvalidateButton(m_nMenuBtn);
  }
  m_nMenuBtn = -1;
  UpdateHotTracking();
}

void SECCustomToolBar::EnterMenuMode(int nIndex) {
  if (SECStdBtn* pOld = GetButton(m_nMenuBtn)) {
    pOld->SetStyle(pOld->GetStyle() & ~SEC_TBBS_HOT);
    InvalidateButton(m_nMenuBtn);
  }
  m_nMenuBtn = nIndex;
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == nullptr) {
    m_nMenuBtn = -1;
    return;
  }
  m_bMenuMode = TRUE;
  pBtn->SetStyle(pBtn->GetStyle() | SEC_TBBS_HOT);
  InvalidateButton(nIndex);
  NotifyOwnerCode(SEC_TBN_ENTERMENUMODE);
  if (CWnd* pOwner = GetOwnerWnd()) pOwner->SendMessage(WM_SETMESSAGESTRING, 0);
}

void SECCustomToolBar::EnterMenuModeAt(CPoint point) {
  const int nIndex = HitTest(point);
  if (nIndex >= 0) EnterMenuMode(nIndex);
}

void SECCustomToolBar::ExitMenuMode() {
  m_bMenuMode = FALSE;
  NotifyOwnerCode(SEC_TBN_EXITMENUMODE);
  if (SECStdBtn* pBtn = GetButton(m_nMenuBtn)) {
    pBtn->SetStyle(pBtn->GetStyle() & ~SEC_TBBS_HOT);
    InvalidateButton(m_nMenuBtn);
  }
  m_nMenuBtn = -1;
  if (CWnd* pOwner = GetOwnerWnd()) pOwner->SendMessage(WM_SETMESSAGESTRING, kIdleMessage);
}

int SECCustomToolBar::GetFirstMenuButton() const {
  for (int i = 0; i < GetBtnCount(); ++i) {
    if (IsMenuButton(m_btns.GetAt(i)) && IsShown(m_btns.GetAt(i))) return i;
  }
  return -1;
}

int SECCustomToolBar::GetLastMenuButton() const {
  for (int i = GetBtnCount() - 1; i >= 0; --i) {
    if (IsMenuButton(m_btns.GetAt(i)) && IsShown(m_btns.GetAt(i))) return i;
  }
  return -1;
}

int SECCustomToolBar::GetFirstTopMenuButton() const {
  for (int i = 0; i < GetBtnCount(); ++i) {
    if (m_btns.GetAt(i)->m_nType == SECStdBtn::MenuBtn && IsShown(m_btns.GetAt(i))) return i;
  }
  return -1;
}

int SECCustomToolBar::GetNextMenuButton(BOOL bForward) const {
  if (m_nMenuBtn < 0) return bForward ? GetFirstMenuButton() : GetLastMenuButton();
  for (int i = m_nMenuBtn + (bForward ? 1 : -1); i >= 0 && i < GetBtnCount(); i += bForward ? 1 : -1) {
    if (IsMenuButton(m_btns.GetAt(i)) && IsShown(m_btns.GetAt(i))) return i;
  }
  return -1;
}

BOOL SECCustomToolBar::FilterMenuModeMouse(const MSG* pMsg) {
  if (m_nMenuBtn < 0 || pMsg == nullptr) return FALSE;
  if (pMsg->message != WM_MOUSEMOVE && pMsg->message != WM_LBUTTONDOWN) return FALSE;
  CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
  if (pMsg->hwnd != m_hWnd) ::MapWindowPoints(pMsg->hwnd, m_hWnd, &point, 1);
  const int nIndex = HitTest(point);
  SECStdBtn* pOpen = GetButton(m_nMenuBtn);
  if (pMsg->message == WM_MOUSEMOVE) {
    if (nIndex < 0 || nIndex == m_nMenuBtn) return FALSE;
    if (!IsMenuButton(GetButton(nIndex)))
      pOpen->NotifyOwner(SEC_TBN_CLOSEMENU, 0, 0);
    else
      OpenMenuButton(nIndex);
    return TRUE;
  }
  if (nIndex != m_nMenuBtn) return FALSE;
  pOpen->NotifyOwner(SEC_TBN_CLOSEMENU, 0, 0);
  return TRUE;
}
