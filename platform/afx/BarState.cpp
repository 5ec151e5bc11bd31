// The saved docking layout: what each bar and dock bar records of itself, the profile form
// ("<name>-Summary" with the count and screen size, "<name>-Bar<n>" per bar, values at their
// defaults left out), scaling to another screen, and applying a layout to a frame. Stored data
// is not trusted: counts are capped, ids checked, and positions kept on the screen.
#include "afx/CDockContext.h"
#include "afx/CMiniFrameWnd.h"
#include "afx/CWinApp.h"

IMPLEMENT_DYNAMIC(CDockState, CObject)

namespace {

// A placeholder in the "Bar#n" list: the bar's id with this bit.
constexpr UINT kPlaceHolderBit = 0x10000;

CWinApp* App() { return AfxGetApp(); }

CString Section(LPCTSTR lpszProfileName, int nIndex) {
  CString section;
  section.Format("%s-Bar%d", lpszProfileName, nIndex);
  return section;
}

CString SummarySection(LPCTSTR lpszProfileName) {
  CString section;
  section.Format("%s-Summary", lpszProfileName);
  return section;
}

bool IsDockBarId(UINT id) { return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM; }

}  // namespace

// ---- what bars record ----

void CControlBar::GetBarInfo(CControlBarInfo* pInfo) {
  pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
  pInfo->m_pBar = this;
  pInfo->m_bVisible = IsVisible();
  pInfo->m_nMRUWidth = m_nMRUWidth;
  if (m_pDockBar != nullptr) {
    CRect rect;
    GetWindowRect(&rect);
    m_pDockBar->ScreenToClient(&rect);
    pInfo->m_pointPos = rect.TopLeft();
  }
  if (m_pDockContext != nullptr) {
    pInfo->m_bDocking = TRUE;
    pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
    pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
    pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
    pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
  }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd*) {
  UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER;
  if (pInfo->m_pointPos.x == -1 || pInfo->m_pointPos.y == -1) flags |= SWP_NOMOVE;
  m_nMRUWidth = pInfo->m_nMRUWidth;
  CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  flags |= pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, flags);
  // The places to toggle to, when the bar can dock at all; a dock id that names no edge is dropped.
  if (pInfo->m_bDocking && m_pDockContext != nullptr) {
    m_pDockContext->m_uMRUDockID = IsDockBarId(pInfo->m_uMRUDockID) ? pInfo->m_uMRUDockID : 0;
    m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
    m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI | CBRS_SIZE_DYNAMIC);
    m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
  }
}

void CDockBar::GetBarInfo(CControlBarInfo* pInfo) {
  pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
  pInfo->m_pBar = this;
  pInfo->m_bDockBar = TRUE;
  pInfo->m_bFloating = m_bFloating;
  pInfo->m_bVisible = IsVisible();
  if (m_bFloating) {
    // A floating dock bar records where it is (its frame's client area: the frame is made around
    // it again), which way it lies, and whether its frame shows.
    CRect rect;
    GetWindowRect(&rect);
    pInfo->m_pointPos = rect.TopLeft();
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    pInfo->m_bVisible = GetParent()->IsWindowVisible() || GetDockedVisibleCount() > 0;
  }
  pInfo->m_arrBarID.RemoveAll();
  for (int i = 0; i < m_arrBars.GetSize(); ++i) {
    void* entry = m_arrBars[i];
    UINT id = 0;
    if (IsPlaceHolder(entry))
      id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(entry)) | kPlaceHolderBit;
    else if (CControlBar* bar = GetDockedControlBar(i))
      id = static_cast<UINT>(bar->GetDlgCtrlID());
    pInfo->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(id)));
  }
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  // The rows as recorded: row ends, bars known to the frame, placeholders. Unknown ids, dock
  // bars and repeated bars are skipped.
  auto endRow = [this] {
    if (m_arrBars.GetSize() == 0 || m_arrBars[m_arrBars.GetSize() - 1] != nullptr) m_arrBars.Add(nullptr);
  };
  auto named = [pInfo](CControlBar* bar) {
    const void* id = reinterpret_cast<const void*>(static_cast<UINT_PTR>(static_cast<UINT>(bar->GetDlgCtrlID())));
    for (int i = 0; i < pInfo->m_arrBarID.GetSize(); ++i)
      if (pInfo->m_arrBarID[i] == id) return true;
    return false;
  };
  // The rows are built anew; bars here that the record does not name keep rows of their own
  // after it, so nothing docked is lost.
  CPtrArray unnamed;
  for (int i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar != nullptr && !named(bar)) unnamed.Add(bar);
  }
  m_arrBars.RemoveAll();
  m_arrBars.Add(nullptr);
  for (int i = 0; i < pInfo->m_arrBarID.GetSize(); ++i) {
    auto id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(pInfo->m_arrBarID[i]));
    if (id == 0) {
      endRow();
      continue;
    }
    if (id & kPlaceHolderBit) {
      void* holder = PlaceHolderOf(id & ~kPlaceHolderBit);
      if ((id & ~kPlaceHolderBit) != 0 && FindBar(holder) < 0) m_arrBars.Add(holder);
      continue;
    }
    CControlBar* bar = pFrameWnd->GetControlBar(id);
    if (bar == nullptr || bar->IsDockBar() || FindBar(bar) > 0) continue;
    // The bar's window comes here before its old dock bar lets it go: a floating frame left
    // empty closes itself, and must not take the bar with it.
    CDockBar* previous = bar->m_pDockBar;
    if (bar->GetParent() != this) bar->SetParent(this);
    if (previous != nullptr && previous != this) previous->RemoveControlBar(bar, -1, -1);
    // The bar takes this dock bar's alignment and floating state.
    DWORD style = (bar->GetBarStyle() & ~static_cast<DWORD>(CBRS_ALIGN_ANY | CBRS_FLOATING)) |
                  (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY | (m_bFloating ? CBRS_FLOATING : 0);
    bar->SetBarStyle(style);
    m_arrBars.Add(bar);
    bar->m_pDockBar = this;
    // A floating frame of one bar takes that bar's title.
    if (m_bFloating && !(m_dwStyle & CBRS_FLOAT_MULTI)) {
      CString title;
      bar->GetWindowText(title);
      SetWindowText(title);
    }
  }
  endRow();
  for (int i = 0; i < unnamed.GetSize(); ++i) {
    m_arrBars.Add(unnamed[i]);
    m_arrBars.Add(nullptr);
  }
  if (m_bFloating) {
    // The frame lies the way it was saved.
    m_dwStyle = (m_dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | (pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
  }
}

// ---- one bar's record in the profile ----

BOOL CControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) {
  CWinApp* app = App();
  if (app == nullptr) return FALSE;
  CString section = Section(lpszProfileName, nIndex);
  app->WriteProfileString(section, nullptr, nullptr);
  // A docked, visible dock bar with nothing in it says nothing worth keeping.
  if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 && m_pointPos.y == -1 &&
      m_arrBarID.GetSize() <= 1)
    return FALSE;
  app->WriteProfileInt(section, "BarID", static_cast<int>(m_nBarID));
  if (!m_bVisible) app->WriteProfileInt(section, "Visible", m_bVisible);
  if (m_bFloating) {
    app->WriteProfileInt(section, "Horz", m_bHorz);
    app->WriteProfileInt(section, "Floating", m_bFloating);
  }
  if (m_pointPos.x != -1) app->WriteProfileInt(section, "XPos", m_pointPos.x);
  if (m_pointPos.y != -1) app->WriteProfileInt(section, "YPos", m_pointPos.y);
  if (m_nMRUWidth != 32767) app->WriteProfileInt(section, "MRUWidth", static_cast<int>(m_nMRUWidth));
  if (m_bDocking) {
    app->WriteProfileInt(section, "Docking", m_bDocking);
    app->WriteProfileInt(section, "MRUDockID", static_cast<int>(m_uMRUDockID));
    app->WriteProfileInt(section, "MRUDockLeftPos", m_rectMRUDockPos.left);
    app->WriteProfileInt(section, "MRUDockTopPos", m_rectMRUDockPos.top);
    app->WriteProfileInt(section, "MRUDockRightPos", m_rectMRUDockPos.right);
    app->WriteProfileInt(section, "MRUDockBottomPos", m_rectMRUDockPos.bottom);
    app->WriteProfileInt(section, "MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
    app->WriteProfileInt(section, "MRUFloatXPos", m_ptMRUFloatPos.x);
    app->WriteProfileInt(section, "MRUFloatYPos", m_ptMRUFloatPos.y);
  }
  if (m_bDockBar) {
    app->WriteProfileInt(section, "Bars", static_cast<int>(m_arrBarID.GetSize()));
    if (m_arrBarID.GetSize() > 1) {
      for (int i = 0; i < m_arrBarID.GetSize(); ++i) {
        CString entry;
        entry.Format("Bar#%d", i);
        app->WriteProfileInt(section, entry, static_cast<int>(reinterpret_cast<UINT_PTR>(m_arrBarID[i])));
      }
    }
  }
  return TRUE;
}

BOOL CControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState) {
  CWinApp* app = App();
  if (app == nullptr) return FALSE;
  CString section = Section(lpszProfileName, nIndex);
  auto get = [&](LPCTSTR entry, int def) { return static_cast<int>(app->GetProfileInt(section, entry, def)); };
  m_nBarID = static_cast<UINT>(get("BarID", 0));
  m_bVisible = get("Visible", TRUE) != 0;
  m_bHorz = get("Horz", TRUE) != 0;
  m_bFloating = get("Floating", FALSE) != 0;
  m_pointPos = CPoint(get("XPos", -1), get("YPos", -1));
  if (pDockState != nullptr) pDockState->ScalePoint(m_pointPos);
  m_nMRUWidth = static_cast<UINT>(get("MRUWidth", 32767));
  m_bDocking = get("Docking", 0) != 0;
  if (m_bDocking) {
    m_uMRUDockID = static_cast<UINT>(get("MRUDockID", 0));
    m_rectMRUDockPos = CRect(get("MRUDockLeftPos", 0), get("MRUDockTopPos", 0), get("MRUDockRightPos", 0),
                             get("MRUDockBottomPos", 0));
    if (pDockState != nullptr) pDockState->ScaleRectPos(m_rectMRUDockPos);
    m_dwMRUFloatStyle = static_cast<DWORD>(get("MRUFloatStyle", 0));
    m_ptMRUFloatPos = CPoint(get("MRUFloatXPos", -1), get("MRUFloatYPos", -1));
    if (pDockState != nullptr) pDockState->ScalePoint(m_ptMRUFloatPos);
  }
  // A damaged count is capped: no layout has more bars than that.
  int bars = std::clamp(get("Bars", 0), 0, CDockState::kMaxBars);
  m_arrBarID.RemoveAll();
  for (int i = 0; i < bars; ++i) {
    CString entry;
    entry.Format("Bar#%d", i);
    m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(static_cast<UINT>(get(entry, 0)))));
  }
  m_bDockBar = bars > 0 || m_bFloating;
  return m_nBarID != 0;
}

// ---- the whole layout ----

CDockState::CDockState() { ScreenCheck(); }

CDockState::~CDockState() { Clear(); }

void CDockState::Clear() {
  for (int i = 0; i < m_arrBarInfo.GetSize(); ++i) delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
  m_arrBarInfo.RemoveAll();
}

void CDockState::ScreenCheck() {
  m_rectDevice = CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  m_rectClip = m_rectDevice;
  m_sizeScreen = m_rectDevice.Size();
  m_bScaling = FALSE;
}

void CDockState::LoadState(LPCTSTR lpszProfileName) {
  CWinApp* app = App();
  if (app == nullptr) return;
  Clear();
  ScreenCheck();
  CString summary = SummarySection(lpszProfileName);
  int bars = std::clamp(static_cast<int>(app->GetProfileInt(summary, "Bars", 0)), 0, kMaxBars);
  CSize saved(static_cast<int>(app->GetProfileInt(summary, "ScreenCX", 0)),
              static_cast<int>(app->GetProfileInt(summary, "ScreenCY", 0)));
  // Scaling only from a real screen size; a missing or damaged one leaves positions as stored.
  m_bScaling = saved.cx > 0 && saved.cy > 0 && saved != m_rectDevice.Size();
  m_sizeScreen = saved.cx > 0 && saved.cy > 0 ? saved : m_rectDevice.Size();
  for (int i = 0; i < bars; ++i) {
    auto* info = new CControlBarInfo;
    if (info->LoadState(lpszProfileName, i, this))
      m_arrBarInfo.Add(info);
    else
      delete info;
  }
}

void CDockState::SaveState(LPCTSTR lpszProfileName) {
  CWinApp* app = App();
  if (app == nullptr) return;
  int index = 0;
  for (int i = 0; i < m_arrBarInfo.GetSize(); ++i) {
    if (static_cast<CControlBarInfo*>(m_arrBarInfo[i])->SaveState(lpszProfileName, index)) ++index;
  }
  // A section left over from a longer layout is emptied.
  for (int i = index;; ++i) {
    CString section = Section(lpszProfileName, i);
    if (app->GetProfileInt(section, "BarID", 0) == 0) break;
    app->WriteProfileString(section, nullptr, nullptr);
  }
  CString summary = SummarySection(lpszProfileName);
  app->WriteProfileInt(summary, "Bars", index);
  app->WriteProfileInt(summary, "ScreenCX", m_rectDevice.Width());
  app->WriteProfileInt(summary, "ScreenCY", m_rectDevice.Height());
}

void CDockState::ScalePoint(CPoint& pt) {
  if (pt.x == -1 && pt.y == -1) return;  // not set
  if (m_bScaling) {
    pt.x = ::MulDiv(pt.x, m_rectDevice.Width(), m_sizeScreen.cx);
    pt.y = ::MulDiv(pt.y, m_rectDevice.Height(), m_sizeScreen.cy);
  }
  // Whatever was stored, the point stays within a screen's distance of the screen.
  pt.x = std::clamp<LONG>(pt.x, -m_rectClip.Width(), m_rectClip.Width());
  pt.y = std::clamp<LONG>(pt.y, -m_rectClip.Height(), m_rectClip.Height());
}

void CDockState::ScaleRectPos(CRect& rect) {
  CPoint pt = rect.TopLeft();
  // A stored rectangle may hold any coordinates: its size is taken in 64 bits and brought within
  // a screen before anything is computed with it.
  const auto clampedSpan = [](LONG from, LONG to, LONG most) {
    return static_cast<LONG>(std::clamp<long long>(static_cast<long long>(to) - from, 0, most));
  };
  CSize size(clampedSpan(rect.left, rect.right, m_rectClip.Width()), clampedSpan(rect.top, rect.bottom, m_rectClip.Height()));
  if (m_bScaling) {
    pt.x = ::MulDiv(pt.x, m_rectDevice.Width(), m_sizeScreen.cx);
    pt.y = ::MulDiv(pt.y, m_rectDevice.Height(), m_sizeScreen.cy);
  }
  pt.x = std::clamp<LONG>(pt.x, -m_rectClip.Width(), m_rectClip.Width());
  pt.y = std::clamp<LONG>(pt.y, -m_rectClip.Height(), m_rectClip.Height());
  size.cx = std::clamp<LONG>(size.cx, 0, m_rectClip.Width());
  size.cy = std::clamp<LONG>(size.cy, 0, m_rectClip.Height());
  rect = CRect(pt, size);
}

// ---- the frame ----

void CFrameWnd::GetDockState(CDockState& state) const {
  state.Clear();
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (bar->m_hWnd == nullptr) continue;
    auto* info = new CControlBarInfo;
    bar->GetBarInfo(info);
    state.m_arrBarInfo.Add(info);
  }
}

void CFrameWnd::SetDockState(const CDockState& state) {
  // First the bars each record is for, with a floating frame made for each floating dock bar.
  for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
    auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
    info->m_pBar = nullptr;
    if (info->m_bFloating) {
      if (!info->m_bDockBar) continue;
      CMiniDockFrameWnd* frame = CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
      CRect rect(info->m_pointPos, CSize(10, 10));
      frame->CalcWindowRect(&rect);
      // The frame's caption stays on the screen, wherever the layout put it.
      const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
      rect.OffsetRect(std::clamp<LONG>(rect.left, 0, std::max(0, cx - 32)) - rect.left,
                      std::clamp<LONG>(rect.top, 0, std::max(0, cy - 32)) - rect.top);
      frame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      info->m_pBar = frame->GetDockBar();
    } else {
      CControlBar* bar = GetControlBar(info->m_nBarID);
      // A record's kind must match the bar's: a dock bar's list never lands on an ordinary bar.
      if (bar == nullptr || (bar->IsDockBar() != (info->m_bDockBar != FALSE))) continue;
      if (bar->IsDockBar() && static_cast<CDockBar*>(bar)->m_bFloating) continue;
      info->m_pBar = bar;
    }
    info->m_pBar->m_nMRUWidth = info->m_nMRUWidth;
  }
  // Then the docking itself, dock bars and bars alike.
  for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
    auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
    if (info->m_pBar != nullptr) info->m_pBar->SetBarInfo(info, this);
  }
  // Last, the floating frames that hold visible bars show; those left empty go.
  for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
    auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
    if (info->m_pBar == nullptr || !info->m_bFloating) continue;
    auto* dock = static_cast<CDockBar*>(info->m_pBar);
    CFrameWnd* frame = dock->GetParentFrame();
    info->m_pBar = nullptr;
    if (dock->GetDockedCount() == 0) {
      frame->DestroyWindow();
      continue;
    }
    frame->RecalcLayout();
    if (dock->GetDockedVisibleCount() > 0) frame->ShowWindow(SW_SHOWNA);
  }
  DelayRecalcLayout();
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName) const {
  CDockState state;
  GetDockState(state);
  state.SaveState(lpszProfileName);
}

void CFrameWnd::LoadBarState(LPCTSTR lpszProfileName) {
  CDockState state;
  state.LoadState(lpszProfileName);
  SetDockState(state);
}
