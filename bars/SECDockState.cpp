// SECDockState: capturing a frame's toolkit layout, the three stored forms of it, and restoring
// it (floating frames remade, absent bars recreated, extended styles and repaints last).
#include "bars/SECDockState.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "bars/SECControlBar.h"
#include "bars/SECControlBarInfo.h"
#include "bars/SECControlBarManager.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECDialogBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECDockContext.h"
#include "bars/SECDockSite.h"
#include "bars/SECFullScreenView.h"
#include "bars/SECToolBarManager.h"
#include "foundation/SECPersistentTreeNode.h"

IMPLEMENT_DYNAMIC(SECDockState, CDockState)

namespace {

constexpr UINT kPlaceHolderBit = 0x10000;
constexpr DWORD kArchiveVersion = 2;

CString Format1(LPCTSTR format, int value) {
  CString text;
  text.Format(format, value);
  return text;
}

CString Name2(LPCTSTR format, LPCTSTR name, int value) {
  CString text;
  text.Format(format, name, value);
  return text;
}

UINT EntryId(void* entry) { return static_cast<UINT>(reinterpret_cast<UINT_PTR>(entry)); }

}  // namespace

SECDockState::SECDockState(SECControlBarManager* pManager) : m_pManager(pManager) {}

SECDockState::~SECDockState() { Clear(); }

void SECDockState::Clear() {
  // The records are the toolkit's (with virtual destructors): deleted as such before the
  // framework's state would delete them as plain records.
  for (int i = 0; i < m_arrBarInfo.GetSize(); ++i) delete GetInfo(i);
  m_arrBarInfo.RemoveAll();
}

SECControlBarInfo* SECDockState::CreateBarInfo(SECControlBarManager* pManager) { return new SECControlBarInfo(pManager); }

void SECDockState::TakeFromFrame(CFrameWnd* pFrame) {
  SECDockSite* site = SECGetDockSite(pFrame);
  if (site == nullptr) return;
  if (m_pManager == nullptr) m_pManager = site->SECGetControlBarManager();
  if (m_pCreatedBars == nullptr) m_pCreatedBars = site->SECGetCreatedBars();
}

void SECDockState::UseStoredScreen(int cx, int cy) {
  ScreenCheck();
  const CSize device = m_rectDevice.Size();
  const bool stored = cx > 0 && cy > 0;
  m_bScaling = stored && CSize(cx, cy) != device;
  m_sizeScreen = stored ? CSize(cx, cy) : device;
}

CSize SECDockState::FitSize(CSize size) const {
  const auto fit = [this](LONG value, LONG saved, LONG device, LONG clip) -> LONG {
    if (value < 0 || value > saved) return 0;
    if (m_bScaling) value = ::MulDiv(value, device, saved);
    return std::clamp<LONG>(value, 0, clip);
  };
  return CSize(fit(size.cx, m_sizeScreen.cx, m_rectDevice.Width(), m_rectClip.Width()),
               fit(size.cy, m_sizeScreen.cy, m_rectDevice.Height(), m_rectClip.Height()));
}

// ---- capture ----

BOOL SECDockState::GetFrameState(CFrameWnd* pFrame) {
  Clear();
  if (pFrame == nullptr) return FALSE;
  TakeFromFrame(pFrame);
  ScreenCheck();
  for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
    if (bar->m_hWnd == nullptr) continue;
    if (auto* sec = dynamic_cast<SECControlBar*>(bar)) {
      SECControlBarInfo* info = CreateBarInfo(m_pManager);
      sec->GetBarInfo(info);
      m_arrBarInfo.Add(info);
    } else if (auto* dock = dynamic_cast<SECDockBar*>(bar)) {
      SECControlBarInfo* info = CreateBarInfo(m_pManager);
      dock->CDockBar::GetBarInfo(info);
      info->m_bMDIChild = dock->m_bMDIFloat;
      if (info->m_bMDIChild) {
        info->m_pointPos = CPoint(0, 0);
        if (CFrameWnd* child = dock->GetParentFrame()) {
          info->m_wpMDIChild.length = sizeof(WINDOWPLACEMENT);
          info->m_bHasMDIPlacement = child->GetWindowPlacement(&info->m_wpMDIChild);
        }
      }
      m_arrBarInfo.Add(info);
    }
  }
  return TRUE;
}

void SECDockState::RemoveStalePlaceholders() {
  // Bars docked somewhere: a placeholder for one of them elsewhere is stale.
  std::vector<UINT> docked;
  for (int i = 0; i < GetCount(); ++i)
    for (int j = 0; j < GetInfo(i)->m_arrBarID.GetSize(); ++j)
      if (UINT id = EntryId(GetInfo(i)->m_arrBarID[j]); id != 0 && !(id & kPlaceHolderBit)) docked.push_back(id);
  for (int i = 0; i < GetCount(); ++i) {
    CPtrArray& ids = GetInfo(i)->m_arrBarID;
    if (ids.GetSize() == 0) continue;
    std::vector<UINT> kept;
    for (int j = 0; j < ids.GetSize(); ++j) {
      const UINT id = EntryId(ids[j]);
      if (id == 0) {
        // Rows stay apart; an empty row (two row ends) goes.
        if (kept.empty() || kept.back() != 0) kept.push_back(0);
        continue;
      }
      if ((id & kPlaceHolderBit) && std::find(docked.begin(), docked.end(), id & ~kPlaceHolderBit) != docked.end())
        continue;
      if (std::find(kept.begin(), kept.end(), id) != kept.end()) continue;
      kept.push_back(id);
    }
    // One row end at the start and one at the end.
    if (kept.empty() || kept.front() != 0) kept.insert(kept.begin(), 0u);
    if (kept.back() != 0) kept.push_back(0);
    ids.RemoveAll();
    for (UINT id : kept) ids.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(id)));
  }
}

// ---- profile ----

void SECDockState::SaveState(LPCTSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  ScreenCheck();
  int index = 0;
  for (int i = 0; i < GetCount(); ++i)
    if (GetInfo(i)->SaveState(lpszProfileName, index)) ++index;
  // A section left from a longer layout is emptied.
  for (int i = index; i < index + CDockState::kMaxBars; ++i) {
    const CString section = Name2("%s-Bar%d", lpszProfileName, i);
    if (app->GetProfileInt(section, "BarID", 0) == 0) break;
    app->WriteProfileString(section, nullptr, nullptr);
  }
  CString summary;
  summary.Format("%s-Summary", lpszProfileName);
  app->WriteProfileInt(summary, "Bars", index);
  app->WriteProfileInt(summary, "ScreenCX", m_rectDevice.Width());
  app->WriteProfileInt(summary, "ScreenCY", m_rectDevice.Height());
}

void SECDockState::LoadState(LPCTSTR lpszProfileName) {
  Clear();
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  CString summary;
  summary.Format("%s-Summary", lpszProfileName);
  const int bars = std::clamp(static_cast<int>(app->GetProfileInt(summary, "Bars", 0)), 0, CDockState::kMaxBars);
  UseStoredScreen(static_cast<int>(app->GetProfileInt(summary, "ScreenCX", 0)),
                  static_cast<int>(app->GetProfileInt(summary, "ScreenCY", 0)));
  for (int k = 0; k < bars; ++k) {
    std::unique_ptr<SECControlBarInfo> info(CreateBarInfo(m_pManager));
    // Sections are written without gaps: the first one missing ends the layout.
    if (!info->LoadState(lpszProfileName, k, this)) break;
    m_arrBarInfo.Add(info.release());
  }
}

// ---- persistent tree ----

void SECDockState::SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pParent) {
  if (pParent == nullptr) return;
  ScreenCheck();
  SECPersistentTreeNode* node =
      pFactory != nullptr ? pFactory->AddChild("DockState", pParent) : pParent->AddChild("DockState");
  if (node == nullptr) return;
  int index = 0;
  for (int i = 0; i < GetCount(); ++i)
    if (GetInfo(i)->SaveState(pFactory, node, index)) ++index;
  node->AddKeyValueInt("Bars", index, TRUE);
  node->AddKeyValueInt("ScreenCX", m_rectDevice.Width(), TRUE);
  node->AddKeyValueInt("ScreenCY", m_rectDevice.Height(), TRUE);
}

BOOL SECDockState::LoadState(SECPersistentTreeNode* pNode) {
  if (pNode == nullptr) return FALSE;
  SECPersistentTreeNode* node = pNode->FindChild("DockState");
  if (node == nullptr) return FALSE;
  Clear();
  int bars = 0, cx = 0, cy = 0;
  node->GetKeyValueInt("Bars", &bars, 0);
  node->GetKeyValueInt("ScreenCX", &cx, 0);
  node->GetKeyValueInt("ScreenCY", &cy, 0);
  UseStoredScreen(cx, cy);
  bars = std::clamp(bars, 0, CDockState::kMaxBars);
  for (int k = 0; k < bars; ++k) {
    SECPersistentTreeNode* child = node->FindChild(Format1("Bar-%d", k));
    if (child == nullptr) continue;
    std::unique_ptr<SECControlBarInfo> info(CreateBarInfo(m_pManager));
    if (info->LoadState(child, this)) m_arrBarInfo.Add(info.release());
  }
  return TRUE;
}

// ---- archive ----

void SECDockState::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ScreenCheck();
    ar << kArchiveVersion << static_cast<int>(m_rectDevice.Width()) << static_cast<int>(m_rectDevice.Height());
    ar << static_cast<WORD>(GetCount());
    for (int i = 0; i < GetCount(); ++i) GetInfo(i)->Serialize(ar, kArchiveVersion, this);
    return;
  }
  // Read into a scratch list: a damaged archive leaves nothing behind to apply.
  Clear();
  std::vector<std::unique_ptr<SECControlBarInfo>> read;
  DWORD version = 0;
  ar >> version;
  if (version < 1 || version > kArchiveVersion) AfxThrowArchiveException(CArchiveException::badSchema);
  int cx = 0, cy = 0;
  if (version > 1) ar >> cx >> cy;
  UseStoredScreen(cx, cy);
  WORD count = 0;
  ar >> count;
  if (count > CDockState::kMaxBars) AfxThrowArchiveException(CArchiveException::badIndex);
  for (WORD i = 0; i < count; ++i) {
    read.emplace_back(CreateBarInfo(m_pManager));
    read.back()->Serialize(ar, version, this);
  }
  for (auto& info : read) m_arrBarInfo.Add(info.release());
  m_dwVersion = kArchiveVersion;
}

// ---- restore ----

CRuntimeClass* SECDockState::FindRuntimeClass(LPCTSTR lpszClassName) { return CRuntimeClass::FromName(lpszClassName); }

CControlBar* SECDockState::CreateBar(LPCTSTR lpszClassName, CFrameWnd* pParent, SECControlBarInfo* pInfo) {
  CRuntimeClass* cls = lpszClassName != nullptr && *lpszClassName ? FindRuntimeClass(lpszClassName) : nullptr;
  if (cls == nullptr || cls->m_pfnCreateObject == nullptr || !cls->IsDerivedFrom(RUNTIME_CLASS(SECControlBar)))
    return nullptr;
  auto* bar = static_cast<SECControlBar*>(cls->CreateObject());
  if (bar == nullptr) return nullptr;
  BOOL made;
  if (auto* dialogBar = dynamic_cast<SECDialogBar*>(bar))
    made = dialogBar->Create(pParent, pInfo->m_nResourceID & 0xFFFF, pInfo->m_dwStyle, pInfo->m_dwExStyle, pInfo->m_nBarID);
  else
    made = bar->Create(pParent, pInfo->m_strWindowName, pInfo->m_dwStyle, pInfo->m_dwExStyle, pInfo->m_nBarID);
  if (!made) {
    delete bar;
    return nullptr;
  }
  if (m_pCreatedBars != nullptr)
    m_pCreatedBars->AddTail(bar);
  else
    bar->m_bAutoDelete = TRUE;  // nobody else keeps it: it goes with its window
  bar->SetWindowText(pInfo->m_strWindowName);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  return bar;
}

CDockBar* SECDockState::MainWindowFloatHolding(CFrameWnd* pFrame, int nIndex) const {
  SECDockBar* holder = nullptr;
  int named = 0;
  const CPtrArray& ids = GetInfo(nIndex)->m_arrBarID;
  for (int j = 0; j < ids.GetSize(); ++j) {
    const UINT id = EntryId(ids[j]);
    if (id == 0 || (id & kPlaceHolderBit)) continue;
    CControlBar* bar = pFrame->GetControlBar(id);
    auto* dock = bar != nullptr ? dynamic_cast<SECDockBar*>(bar->m_pDockBar) : nullptr;
    if (dock == nullptr || !dock->m_bMDIFloat || (holder != nullptr && dock != holder)) return nullptr;
    holder = dock;
    ++named;
  }
  if (holder == nullptr || holder->m_hWnd == nullptr || holder->GetDockedCount() != named) return nullptr;
  for (int i = 0; i < nIndex; ++i)
    if (GetInfo(i)->m_pBar == holder) return nullptr;
  return holder;
}

void SECDockState::ResolveBars(CFrameWnd* pFrame, BOOL) {
  for (int i = 0; i < GetCount();) {
    SECControlBarInfo* info = GetInfo(i);
    info->m_pBar = nullptr;
    if (info->m_bFloating && info->m_bDockBar) {
      const DWORD side = info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT;
      SECDockSite* site = SECGetDockSite(pFrame);
      // Bars floating in the main window in a window of their own already stay in it: a new
      // window would take the activation from the document the user works in.
      if (info->m_bMDIChild && site != nullptr) info->m_pBar = MainWindowFloatHolding(pFrame, i);
      try {
        // Floating inside the main window where the frame can, else in a floating frame.
        if (info->m_pBar == nullptr && info->m_bMDIChild && site != nullptr)
          info->m_pBar = site->SECCreateMainWindowFloat(side);
        if (info->m_pBar == nullptr) info->m_pBar = pFrame->CreateFloatingFrame(side)->GetDockBar();
      } catch (CException* e) {
        e->Delete();
      }
    } else if (!info->m_bFloating) {
      CControlBar* bar = pFrame->GetControlBar(info->m_nBarID);
      // The full-screen button bar lives only while full screen lasts: a layout saved meanwhile
      // does not make it again, empty and on its own, at the next start.
      if (bar == nullptr && !info->m_bDockBar && info->m_nBarID != SECFullScreenView::kToolBarID) {
        if (m_pManager != nullptr) bar = m_pManager->CreateControlBar(info);
        if (bar == nullptr) bar = CreateBar(info->m_strClassName, pFrame, info);
      }
      // A record's kind must match the bar's: a dock bar's rows never land on an ordinary bar.
      if (bar != nullptr && bar->IsDockBar() == (info->m_bDockBar != FALSE)) info->m_pBar = bar;
    }
    if (info->m_pBar == nullptr) {
      delete info;
      m_arrBarInfo.RemoveAt(i);
      continue;
    }
    info->m_hWndBar = info->m_pBar->m_hWnd;
    ++i;
  }
}

bool SECDockState::HasBar(const SECControlBarInfo* pInfo) {
  return pInfo->m_pBar != nullptr && pInfo->m_hWndBar != nullptr && ::IsWindow(pInfo->m_hWndBar) &&
         CWnd::FromHandlePermanent(pInfo->m_hWndBar) == pInfo->m_pBar;
}

void SECDockState::DropRecordsWithoutBars() {
  for (int i = 0; i < GetCount();) {
    if (HasBar(GetInfo(i))) {
      ++i;
      continue;
    }
    delete GetInfo(i);
    m_arrBarInfo.RemoveAt(i);
  }
}

void SECDockState::DropRepeatedBars() {
  std::vector<UINT> placed;
  for (int i = 0; i < GetCount(); ++i) {
    CPtrArray& ids = GetInfo(i)->m_arrBarID;
    std::vector<UINT> kept;
    for (int j = 0; j < ids.GetSize(); ++j) {
      const UINT id = EntryId(ids[j]);
      if (id != 0 && !(id & kPlaceHolderBit)) {
        if (std::find(placed.begin(), placed.end(), id) != placed.end()) continue;
        placed.push_back(id);
      }
      // A row emptied by a dropped mention goes with it.
      if (id == 0 && !kept.empty() && kept.back() == 0) continue;
      kept.push_back(id);
    }
    if (static_cast<INT_PTR>(kept.size()) == ids.GetSize()) continue;
    ids.RemoveAll();
    for (UINT id : kept) ids.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(id)));
  }
}

void SECDockState::SetFrameState(CFrameWnd* pFrame) {
  if (pFrame == nullptr) return;
  TakeFromFrame(pFrame);
  const BOOL mdi = pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd));
  // A damaged or hand-edited layout may name a bar in two places: the first one takes it (as a
  // dock bar keeps a bar it holds), or moving it on would empty a floating frame made for the
  // first and destroy it under its record.
  DropRepeatedBars();
  ResolveBars(pFrame, mdi);
  for (int i = 0; i < GetCount(); ++i) {
    SECControlBarInfo* info = GetInfo(i);
    if (!HasBar(info)) continue;
    info->m_pBar->m_nMRUWidth = info->m_nMRUWidth;
    if (auto* sec = dynamic_cast<SECControlBar*>(info->m_pBar))
      sec->SetBarInfo(info, pFrame);
    else
      info->m_pBar->SetBarInfo(info, pFrame);
  }
  // A record whose window went away meanwhile is dropped, never called.
  DropRecordsWithoutBars();
  FinishRestore();
  pFrame->RecalcLayout(TRUE);
  if (mdi) {
    RestoreMDIChildPlacements(pFrame);
    pFrame->DelayRecalcLayout(TRUE);
  }
}

void SECDockState::FinishRestore() {
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  for (int i = 0; i < GetCount(); ++i) {
    SECControlBarInfo* info = GetInfo(i);
    if (!HasBar(info)) continue;
    CControlBar* bar = info->m_pBar;
    if (auto* sec = dynamic_cast<SECControlBar*>(bar)) sec->SetExBarStyle(info->m_dwExStyle, FALSE);
    // The floating frame was made before its bars came back into it: a bar that sizes itself
    // gives it the edges a bar floated now gives its frame, which size the bar, not move it.
    if (!bar->IsDockBar() && bar->IsFloating() && (SECFloatingFrameStyle(bar, 0) & CBRS_SIZE_DYNAMIC))
      if (auto* floating = dynamic_cast<CMiniDockFrameWnd*>(bar->GetParentFrame())) floating->ModifyStyle(MFS_MOVEFRAME, 0);
    if (info->m_bFloating && info->m_bDockBar) {
      auto* dock = static_cast<CDockBar*>(bar);
      CFrameWnd* frame = dock->GetParentFrame();
      if (frame == nullptr) continue;
      if (dock->GetDockedCount() == 0) {
        // Nothing came back into it: the floating frame goes.
        info->m_pBar = nullptr;
        frame->DestroyWindow();
        continue;
      }
      CRect rect(info->m_pointPos, CSize(10, 10));
      frame->CalcWindowRect(&rect);
      // The caption stays on the screen, wherever the layout put it.
      rect.OffsetRect(std::clamp<LONG>(rect.left, 0, std::max(0, cx - 32)) - rect.left,
                      std::clamp<LONG>(rect.top, 0, std::max(0, cy - 32)) - rect.top);
      frame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (dock->GetDockedVisibleCount() > 0) {
        frame->RecalcLayout(TRUE);
        frame->ShowWindow(SW_SHOWNA);
      }
    }
    if (bar != nullptr && !bar->IsDockBar())
      if (auto* dock = dynamic_cast<SECDockBar*>(bar->m_pDockBar)) dock->MarkForRepaint(bar);
  }
}

void SECDockState::RestoreMDIChildPlacements(CFrameWnd*) {
  for (int i = 0; i < GetCount(); ++i) {
    SECControlBarInfo* info = GetInfo(i);
    if (!info->m_bMDIChild || !info->m_bHasMDIPlacement || !HasBar(info)) continue;
    if (CFrameWnd* child = info->m_pBar->GetParentFrame()) child->SetWindowPlacement(&info->m_wpMDIChild);
  }
}

// ---- user toolbars of other instances ----

namespace {

bool IsUserToolBarRecord(const SECControlBarInfo* info) {
  return !info->m_bDockBar && info->m_dwTypeID == SEC_BARTYPE_CUSTOMTOOLBAR &&
         info->m_nBarID >= SEC_IDW_FIRST_USER_TOOLBAR && info->m_nBarID <= SEC_IDW_LAST_USER_TOOLBAR;
}

bool ListsBar(const SECControlBarInfo* dock, UINT nID) {
  for (int i = 0; i < dock->m_arrBarID.GetSize(); ++i)
    if (EntryId(dock->m_arrBarID[i]) == nID) return true;
  return false;
}

void* Entry(UINT nID) { return reinterpret_cast<void*>(static_cast<UINT_PTR>(nID)); }

}  // namespace

std::vector<SECUserToolBarKey> SECDockState::GetUserToolBars() const {
  std::vector<SECUserToolBarKey> bars;
  for (int i = 0; i < GetCount(); ++i)
    if (IsUserToolBarRecord(GetInfo(i))) bars.push_back({GetInfo(i)->m_nBarID, GetInfo(i)->m_strWindowName});
  return bars;
}

void SECDockState::KeepOtherInstancesToolBars(LPCTSTR lpszProfileName, const std::vector<SECUserToolBarKey>& known) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  SECDockState stored(m_pManager);
  stored.LoadState(lpszProfileName);

  // The bars to keep, with the record that places them, found before anything is changed.
  struct Kept {
    SECControlBarInfo* pBar;
    SECControlBarInfo* pPlace;  // the dock bar or floating frame listing it, or null
    UINT nOldID;
  };
  std::vector<Kept> kept;
  std::vector<UINT> used;
  for (int i = 0; i < GetCount(); ++i)
    if (!GetInfo(i)->m_bDockBar) used.push_back(GetInfo(i)->m_nBarID);
  for (int i = 0; i < stored.GetCount(); ++i) {
    SECControlBarInfo* pBar = stored.GetInfo(i);
    // A toolbar this instance read at start is its own to keep or delete.
    if (!IsUserToolBarRecord(pBar) ||
        std::find(known.begin(), known.end(), SECUserToolBarKey{pBar->m_nBarID, pBar->m_strWindowName}) != known.end())
      continue;
    Kept k{pBar, nullptr, pBar->m_nBarID};
    for (int j = 0; j < stored.GetCount() && k.pPlace == nullptr; ++j)
      if (stored.GetInfo(j)->m_bDockBar && ListsBar(stored.GetInfo(j), k.nOldID)) k.pPlace = stored.GetInfo(j);
    kept.push_back(k);
  }
  if (kept.empty()) return;

  // Records taken over from the stored layout, which then no longer deletes them.
  auto take = [&](SECControlBarInfo* pInfo) {
    for (int i = 0; i < stored.GetCount(); ++i) {
      if (stored.GetInfo(i) != pInfo) continue;
      stored.m_arrBarInfo.RemoveAt(i);
      m_arrBarInfo.Add(pInfo);
      return;
    }
  };
  std::vector<std::pair<UINT, UINT>> renamed;  // old id, new id
  for (Kept& k : kept) {
    UINT nID = k.nOldID;
    for (UINT next = SEC_IDW_FIRST_USER_TOOLBAR; std::find(used.begin(), used.end(), nID) != used.end(); ++next)
      nID = next <= SEC_IDW_LAST_USER_TOOLBAR ? next : 0;
    if (nID == 0) break;  // every user id taken here
    used.push_back(nID);
    renamed.emplace_back(k.nOldID, nID);
    k.pBar->m_nBarID = nID;
    take(k.pBar);
    if (k.pPlace != nullptr && !k.pPlace->m_bFloating) {
      // A new row at the end of the same dock bar here.
      SECControlBarInfo* pMine = nullptr;
      for (int i = 0; i < GetCount() && pMine == nullptr; ++i)
        if (GetInfo(i)->m_bDockBar && !GetInfo(i)->m_bFloating && GetInfo(i)->m_nBarID == k.pPlace->m_nBarID)
          pMine = GetInfo(i);
      if (pMine != nullptr) {
        CPtrArray& ids = pMine->m_arrBarID;
        if (ids.GetSize() == 0 || EntryId(ids[ids.GetSize() - 1]) != 0) ids.Add(Entry(0));
        ids.Add(Entry(nID));
        ids.Add(Entry(0));
        continue;
      }
    }
    if (k.pPlace == nullptr) {
      // Listed nowhere: it floats.
      k.pPlace = CreateBarInfo(m_pManager);
      k.pPlace->m_nBarID = AFX_IDW_DOCKBAR_FLOAT;
      k.pPlace->m_bFloating = k.pPlace->m_bDockBar = TRUE;
      k.pPlace->m_bVisible = k.pBar->m_bVisible;
      k.pPlace->m_pointPos = CPoint(0, 0);
      k.pPlace->m_arrBarID.Add(Entry(0));
      k.pPlace->m_arrBarID.Add(Entry(k.nOldID));
      k.pPlace->m_arrBarID.Add(Entry(0));
      stored.m_arrBarInfo.Add(k.pPlace);
    }
    take(k.pPlace);
  }
  // The places taken over list the kept bars only, by their ids here.
  for (const Kept& k : kept) {
    bool taken = false;
    for (int i = 0; i < GetCount() && !taken; ++i) taken = k.pPlace != nullptr && GetInfo(i) == k.pPlace;
    if (!taken) continue;
    CPtrArray& ids = k.pPlace->m_arrBarID;
    std::vector<UINT> list;
    for (int i = 0; i < ids.GetSize(); ++i) {
      UINT nID = EntryId(ids[i]);
      auto it = std::find_if(renamed.begin(), renamed.end(), [nID](const auto& r) { return r.first == nID; });
      if (nID != 0 && it == renamed.end()) continue;
      if (nID != 0) nID = it->second;
      if (nID == 0 && !list.empty() && list.back() == 0) continue;
      list.push_back(nID);
    }
    ids.RemoveAll();
    for (UINT nID : list) ids.Add(Entry(nID));
  }
}
