// The toolbar manager's customise work: button drags between bars, onto empty space and off the
// bars, the drop target under a dragged rectangle, and the customise and configuration modes.
#include "bars/CommandBarsRes.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECFrameWndServices.h"
#include "bars/SECToolBarManager.h"
#include "win/Dialog.h"

namespace {
// The customisable bar a window is, or holds as a floating frame.
SECCustomToolBar* ToolBarOf(CWnd* pWnd) {
  for (; pWnd != nullptr; pWnd = pWnd->GetParent()) {
    if (pWnd->IsKindOf(RUNTIME_CLASS(SECCustomToolBar))) return static_cast<SECCustomToolBar*>(pWnd);
    if (pWnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
      for (CWnd* pChild = pWnd->GetWindow(GW_CHILD); pChild != nullptr; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        for (CWnd* pBar = pChild->GetWindow(GW_CHILD); pBar != nullptr; pBar = pBar->GetWindow(GW_HWNDNEXT)) {
          if (pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar)) && pBar->IsWindowVisible())
            return static_cast<SECCustomToolBar*>(pBar);
        }
      }
      return nullptr;
    }
  }
  return nullptr;
}
}  // namespace

SECCustomToolBar* SECToolBarManager::FindDropTarget(const CRect& rectScreen) {
  std::vector<SECCustomToolBar*> hits;
  for (SECCustomToolBar* pBar : GetToolBars()) {
    if (pBar->GetSafeHwnd() == nullptr || !pBar->IsWindowVisible() || pBar->m_bDestroyPending) continue;
    CWnd* pWnd = pBar->IsFloating() ? pBar->GetParentFrame() : static_cast<CWnd*>(pBar);
    if (pWnd == nullptr) continue;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    if (CRect().IntersectRect(rect, rectScreen)) hits.push_back(pBar);
  }
  if (hits.size() <= 1) return hits.empty() ? nullptr : hits.front();
  // Several: floating frames win, the highest in the Z order first; docked ones only answer
  // through the corner tests of the drag.
  std::vector<SECCustomToolBar*> floating;
  for (SECCustomToolBar* pBar : hits) {
    if (pBar->IsFloating()) floating.push_back(pBar);
  }
  if (floating.empty()) return nullptr;
  CWnd* pFirst = floating.front()->GetParentFrame();
  for (CWnd* pWnd = pFirst->GetWindow(GW_HWNDFIRST); pWnd != nullptr; pWnd = pWnd->GetWindow(GW_HWNDNEXT)) {
    for (SECCustomToolBar* pBar : floating) {
      if (pBar->GetParentFrame() == pWnd) return pBar;
    }
  }
  return floating.front();
}

CRect SECToolBarManager::GetCustomizeDialogRect() const {
  CRect rect(0, 0, 0, 0);
  if (m_pCustomizeDialog != nullptr && m_pCustomizeDialog->GetSafeHwnd() != nullptr)
    m_pCustomizeDialog->GetWindowRect(&rect);
  return rect;
}

void SECToolBarManager::FloatBar(SECCustomToolBar* pBar, CPoint point) {
  if (m_pFrameWnd == nullptr) return;
  // The floating frame's borders and caption around the bar put the bar where the button was.
  CRect rect(point, CSize(0, 0));
  ::AdjustWindowRectEx(&rect, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, FALSE,
                       WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE);
  CPoint ptFloat = rect.TopLeft();
  ptFloat.x -= pBar->m_cxLeftBorder + ::GetSystemMetrics(SM_CXBORDER);
  ptFloat.y -= pBar->m_cyTopBorder + ::GetSystemMetrics(SM_CYBORDER);
  SECFloatControlBar(m_pFrameWnd, pBar, ptFloat);
}

void SECFloatControlBar(CFrameWnd* pFrame, CControlBar* pBar, CPoint point) {
  // The toolkit's frames float bars in their own mini frames.
  if (auto* pServices = dynamic_cast<SECFrameServices*>(pFrame))
    pServices->FloatControlBar(pBar, point, CBRS_ALIGN_TOP);
  else
    pFrame->FloatControlBar(pBar, point, CBRS_ALIGN_TOP);
}

BOOL SECToolBarManager::DragButton(SECStdBtn* pBtn, int nIndex, CPoint point, SECCustomToolBar* pSourceBar,
                                   CWnd* pSourceWnd, BOOL bCopy) {
  if (pBtn == nullptr || pSourceWnd == nullptr || !pBtn->CanDrag()) return TRUE;
  if (pSourceBar != nullptr)
    pSourceBar->SelectButton(nIndex);
  else if (m_pSelectionBar != nullptr)
    m_pSelectionBar->ClearSelection();

  SECToolBarRectTracker tracker(pBtn->GetRect());
  HCURSOR hOldCursor = nullptr;
  if (bCopy) {
    HCURSOR hCopy = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_SEC_COPY_DRAG));
    if (hCopy != nullptr) hOldCursor = ::SetCursor(hCopy);
  }
  const BOOL bMoved = tracker.Track(pSourceWnd, point, FALSE, CWnd::GetDesktopWindow());
  if (hOldCursor != nullptr) ::SetCursor(hOldCursor);
  if (!bMoved) return TRUE;

  CRect rectScreen = tracker.m_rect;
  rectScreen.NormalizeRect();
  pSourceWnd->ClientToScreen(&rectScreen);
  SECCustomToolBar* pTarget = FindDropTarget(rectScreen);
  const CPoint corners[4] = {rectScreen.TopLeft(), CPoint(rectScreen.right - 1, rectScreen.top),
                             CPoint(rectScreen.left, rectScreen.bottom - 1), CPoint(rectScreen.right - 1, rectScreen.bottom - 1)};
  for (const CPoint& corner : corners) {
    if (pTarget != nullptr) break;
    pTarget = ToolBarOf(CWnd::WindowFromPoint(corner));
    if (pTarget != nullptr && pTarget->m_pManager != this) pTarget = nullptr;
  }

  auto removeFromSource = [&]() -> BOOL {
    const int nSource = pSourceBar != nullptr ? pSourceBar->ButtonToIndex(pBtn) : -1;
    return nSource >= 0 ? pSourceBar->RemoveButton(nSource, FALSE) : TRUE;
  };
  if (pTarget == nullptr) {
    if (CRect().IntersectRect(GetCustomizeDialogRect(), rectScreen)) return TRUE;
    if (!bCopy) return removeFromSource();
    SECCustomToolBar* pNew = CreateUserToolBar(nullptr);
    if (pNew == nullptr) return TRUE;
    pNew->InsertButton(0, pBtn->m_nID, FALSE, TRUE);
    if (!SECIsAltDragInProgress()) pNew->SelectButton(0);
    FloatBar(pNew, rectScreen.TopLeft());
    return TRUE;
  }
  if (pSourceBar != nullptr && pSourceBar->GetLocalDrag() && pTarget != pSourceBar) return TRUE;
  if (pTarget->CanDropButtons()) return pTarget->DropButton(rectScreen, pBtn, bCopy, FALSE);
  return bCopy ? TRUE : removeFromSource();
}

// ---- customise and configuration modes ----

void SECToolBarManager::SetCustomizeMode(BOOL bCustomize) {
  if (m_bCustomize == bCustomize) return;
  m_bCustomize = bCustomize;
  for (SECCustomToolBar* pBar : GetToolBars()) pBar->SetCustomizeMode(bCustomize);
  if (!bCustomize) m_pSelectionBar = nullptr;
}

void SECToolBarManager::EnterConfigMode() {
  if (m_bConfigMode || m_pFrameWnd == nullptr) return;
  m_bConfigMode = TRUE;
  // The modal customise dialog disables the frame: the bars must take drags again, while the
  // rest of the frame stays out of reach. The frame is lent out of the dialog's hold, which
  // would otherwise keep it disabled, also when the dialog's loop starts after this.
  brambolt::LendModalOwner(m_pFrameWnd->GetSafeHwnd(), true);
  m_pFrameWnd->EnableWindow(TRUE);
  for (CWnd* pChild = m_pFrameWnd->GetWindow(GW_CHILD); pChild != nullptr; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
    if (pChild->IsKindOf(RUNTIME_CLASS(CDockBar)) || !pChild->IsWindowEnabled()) continue;
    pChild->EnableWindow(FALSE);
    m_arrDisabledWnds.push_back(pChild->GetSafeHwnd());
  }
}

void SECToolBarManager::ExitConfigMode() {
  if (!m_bConfigMode) return;
  m_bConfigMode = FALSE;
  if (m_pFrameWnd != nullptr && m_pFrameWnd->GetSafeHwnd() != nullptr) {
    m_pFrameWnd->EnableWindow(FALSE);
    brambolt::LendModalOwner(m_pFrameWnd->GetSafeHwnd(), false);
  }
  for (HWND hWnd : m_arrDisabledWnds) {
    if (::IsWindow(hWnd)) ::EnableWindow(hWnd, TRUE);
  }
  m_arrDisabledWnds.clear();
}
