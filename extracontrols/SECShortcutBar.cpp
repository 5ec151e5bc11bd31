// The shortcut bar: adding, inserting and removing bars, their layout from the last bar up, direct
// and animated activation, disabling and enabling, pressing buttons, the buttons' context menus,
// and the drawing of each bar's button, icon and label.
#include "extracontrols/SECShortcutBar.h"

#include <algorithm>

#include "extracontrols/SECShortcutListCtrl.h"

IMPLEMENT_DYNCREATE(SECBar, CObject)
IMPLEMENT_DYNCREATE(SECListBar, SECBar)
IMPLEMENT_DYNCREATE(SECShortcutBar, CWnd)

namespace {

// The class of the shortcut bar and of the client windows it makes: no class style, the arrow
// cursor, the window colour behind; registered once.
LPCTSTR BarWindowClass() {
  static const CString name =
      AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  return name;
}

}  // namespace

BEGIN_MESSAGE_MAP(SECShortcutBar, CWnd)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_CONTEXTMENU()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

// ---- one bar ----

SECBar::SECBar()
    : m_clrText(::GetSysColor(COLOR_MENUTEXT)),
      m_clrDisabledText(::GetSysColor(COLOR_GRAYTEXT)),
      m_clrFace(::GetSysColor(COLOR_BTNFACE)) {
  CreateBrushes();
}

SECBar::~SECBar() { ReleaseClient(); }

void SECBar::SetClientWindow(CWnd* pWnd) { m_hWndClient = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr; }

void SECBar::SetColors(COLORREF clrText, COLORREF clrFace) {
  m_clrText = clrText;
  m_clrFace = clrFace;
  DeleteBrushes();
  CreateBrushes();
}

void SECBar::CreateBrushes() {
  if (m_clrFace != ::GetSysColor(COLOR_BTNFACE)) m_brFace.CreateSolidBrush(m_clrFace);
  m_brFrame.CreateSolidBrush(m_clrFrame);
}

void SECBar::DeleteBrushes() {
  m_brFace.DeleteObject();
  m_brFrame.DeleteObject();
}

void SECBar::Measure(CDC* pDC, DWORD dwOrientation) {
  m_dwOrientation = dwOrientation;
  m_rcBar.SetRectEmpty();
  CFont* pOld = m_pFont != nullptr ? pDC->SelectObject(m_pFont) : nullptr;
  // An empty label still has the height of a line.
  CSize text = pDC->GetTextExtent(m_strLabel.IsEmpty() ? CString(" ") : m_strLabel);
  if (pOld != nullptr) pDC->SelectObject(pOld);
  if (m_strLabel.IsEmpty()) text.cx = 0;
  if ((dwOrientation & SEC_OBS_VERT) != 0) {
    m_rcBar.SetRect(0, 0, text.cx + 5, text.cy + 5);
    m_nExtent = m_rcBar.Height();
  } else {
    // Turned labels: the text's height across, its width along.
    m_rcBar.SetRect(0, 0, text.cy + 5, text.cx + 5);
    m_nExtent = m_rcBar.Width();
  }
  m_nNaturalExtent = m_nExtent;
}

void SECBar::DestroyClient() {
  if (m_hWndClient != nullptr && ::IsWindow(m_hWndClient)) ::DestroyWindow(m_hWndClient);
}

void SECBar::ReleaseClient() {
  m_hWndClient = nullptr;
  delete m_pOwned;
  m_pOwned = nullptr;
}

void SECBar::Redraw(CDC* pDC, BOOL bPressed) {
  SetFlag(SEC_BAR_PRESSED, bPressed);
  DrawButton(pDC);
  DrawIcon(pDC);
  DrawLabel(pDC);
}

void SECBar::DrawButton(CDC* pDC) {
  const bool bPressed = (m_dwFlags & SEC_BAR_PRESSED) != 0;
  CRect rect = m_rcBar;
  pDC->DrawFrameControl(rect, DFC_BUTTON, DFCS_BUTTONPUSH | (bPressed ? DFCS_PUSHED : 0));
  if (m_brFace.GetSafeHandle() != nullptr) {
    CRect face = m_rcBar;
    face.DeflateRect(2, 2);
    pDC->FillRect(face, &m_brFace);
  }
  if ((m_dwFlags & SEC_BAR_FRAME) != 0) {
    CRect frame = m_rcBar;
    frame.DeflateRect(2, 1);
    if (bPressed) frame.OffsetRect(1, 1);
    pDC->FrameRect(frame, &m_brFrame);
  }
}

void SECBar::DrawIcon(CDC* pDC) {
  if (m_icon.m_hIcon == nullptr) return;
  const int shift = (m_dwFlags & SEC_BAR_PRESSED) != 0 ? 1 : 0;
  int cx = m_icon.m_nWidth > 0 ? m_icon.m_nWidth : 16, cy = m_icon.m_nHeight > 0 ? m_icon.m_nHeight : 16;
  int top = m_rcBar.top + (m_rcBar.Height() - cy) / 2;
  if (cy > m_rcBar.Height()) {
    // Too tall: from 2 pixels below the top to 2 above the bottom, the width in proportion.
    const int height = std::max(1, m_rcBar.Height() - 4);
    cx = cx * height / cy;
    cy = height;
    top = m_rcBar.top + 2;
  }
  m_icon.Draw(pDC, m_rcBar.left + 4 + shift, top + shift, cx, cy);
}

void SECBar::DrawLabel(CDC* pDC) {
  if (m_strLabel.IsEmpty()) return;
  const int shift = (m_dwFlags & SEC_BAR_PRESSED) != 0 ? 1 : 0;
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = pDC->SetTextColor(m_bEnabled ? m_clrText : m_clrDisabledText);
  CFont* pOld = m_pFont != nullptr ? pDC->SelectObject(m_pFont) : nullptr;
  const CSize text = pDC->GetTextExtent(m_strLabel);
  const int iconRoom = m_icon.m_hIcon != nullptr ? 4 + std::max(16, m_icon.m_nWidth) + 2 : 0;
  CRect area = m_rcBar;
  if ((m_dwOrientation & SEC_OBS_VERT) != 0) {
    area.left += iconRoom;
    const int x = area.left + std::max(0, (area.Width() - text.cx) / 2);
    pDC->ExtTextOut(x + shift, area.top + (area.Height() - text.cy) / 2 + shift, ETO_CLIPPED, m_rcBar, m_strLabel,
                    nullptr);
  } else {
    // The turned font writes upward from its starting point.
    area.bottom -= iconRoom;
    const int y = area.bottom - std::max(0, (area.Height() - text.cx) / 2);
    pDC->ExtTextOut(area.left + (area.Width() - text.cy) / 2 + shift, y + shift, ETO_CLIPPED, m_rcBar, m_strLabel,
                    nullptr);
  }
  if (pOld != nullptr) pDC->SelectObject(pOld);
  pDC->SetTextColor(oldColor);
  pDC->SetBkMode(oldMode);
}

BOOL SECListBar::CreateClient(SECShortcutBar* pParent, UINT nID) {
  CRuntimeClass* pClass = pParent->GetListClass();
  CObject* pObject = pClass != nullptr ? pClass->CreateObject() : nullptr;
  auto* pList = dynamic_cast<SECShortcutListCtrl*>(pObject);
  if (pList == nullptr) {
    delete pObject;
    return FALSE;
  }
  if (!pList->Create(WS_CHILD, CRect(0, 0, 0, 0), pParent, nID)) {
    delete pList;
    return FALSE;
  }
  m_pOwned = pList;
  SetClientWindow(pList);
  return TRUE;
}

SECShortcutListCtrl* SECListBar::GetListCtrl() const { return dynamic_cast<SECShortcutListCtrl*>(m_pOwned); }

// ---- the shortcut bar ----

SECShortcutBar::SECShortcutBar()
    : m_pBarClass(RUNTIME_CLASS(SECBar)),
      m_pListBarClass(RUNTIME_CLASS(SECListBar)),
      m_pListClass(RUNTIME_CLASS(SECShortcutListCtrl)),
      m_clrText(::GetSysColor(COLOR_MENUTEXT)),
      m_clrBk(::GetSysColor(COLOR_BTNFACE)) {}

SECShortcutBar::~SECShortcutBar() {
  if (m_hWnd != nullptr) DestroyWindow();
  // Bars added to a bar whose window was never made are still here.
  for (int i = 0; i < GetBarCount(); ++i)
    if (m_bars[i]->m_bAutoDelete) delete m_bars[i];
  m_bars.RemoveAll();
  delete m_pBkBrush;
}

BOOL SECShortcutBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwOrientation = dwStyle & SEC_OBS_ORIENTATION;
  m_dwBehaviour = dwStyle & SEC_OBS_BEHAVIOUR;
  if (m_dwOrientation == 0) m_dwOrientation = SEC_OBS_VERT;
  if ((m_dwOrientation & SEC_OBS_VERT) != 0) m_dwOrientation = SEC_OBS_VERT;
  const DWORD dwWindowStyle = (dwStyle & ~(SEC_OBS_ORIENTATION | SEC_OBS_BEHAVIOUR)) | WS_CHILD | WS_CLIPCHILDREN;
  if (!CreateEx(0, BarWindowClass(), nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  CreateFonts();
  m_pBkBrush = new CBrush(::GetSysColor(COLOR_WINDOW));
  return TRUE;
}

BOOL SECShortcutBar::CreateFonts() {
  LOGFONT lf{};
  lf.lfHeight = m_nFontHeight;
  lf.lfWeight = FW_NORMAL;
  lf.lfPitchAndFamily = FF_SWISS;
  ::lstrcpyn(lf.lfFaceName, m_strFaceName, LF_FACESIZE);
  BOOL bOk = m_fontUpright.CreateFontIndirect(&lf);
  lf.lfEscapement = lf.lfOrientation = 900;
  return m_fontTurned.CreateFontIndirect(&lf) && bOk;
}

void SECShortcutBar::DeleteFonts() {
  m_fontUpright.DeleteObject();
  m_fontTurned.DeleteObject();
}

SECBar* SECShortcutBar::GetBar(int nIndex) const {
  if (!IsValidIndex(nIndex)) AfxThrowNotSupportedException();
  return m_bars[nIndex];
}

BOOL SECShortcutBar::IsBarEnabled(int nIndex) const { return IsValidIndex(nIndex) && m_bars[nIndex]->m_bEnabled; }

int SECShortcutBar::HitTest(CPoint point) const {
  for (int i = 0; i < GetBarCount(); ++i)
    if (m_bars[i]->m_rcBar.PtInRect(point)) return i;
  return -1;
}

// ---- adding and removing ----

SECBar* SECShortcutBar::NewBar() {
  try {
    return dynamic_cast<SECBar*>(m_pBarClass->CreateObject());
  } catch (CMemoryException* e) {
    e->Delete();
    return nullptr;
  }
}

SECListBar* SECShortcutBar::NewListBar() {
  try {
    return dynamic_cast<SECListBar*>(m_pListBarClass->CreateObject());
  } catch (CMemoryException* e) {
    e->Delete();
    return nullptr;
  }
}

SECBar* SECShortcutBar::AddBarAt(SECBar* pBar, LPCTSTR lpszLabel, CWnd* pWnd) {
  return InsertBarAt(GetBarCount(), pBar, lpszLabel, pWnd);
}

SECBar* SECShortcutBar::InsertBarAt(int nIndex, SECBar* pBar, LPCTSTR lpszLabel, CWnd* pWnd) {
  if (pBar == nullptr) return nullptr;
  if (pWnd != nullptr) pBar->SetClientWindow(pWnd);
  pBar->SetLabel(lpszLabel != nullptr ? lpszLabel : "");
  if (!CanAddBar(pBar)) {
    // A client the bar made goes with it; a window of the caller stays the caller's.
    if (pBar->m_pOwned != nullptr) pBar->DestroyClient();
    delete pBar;
    return nullptr;
  }
  nIndex = std::clamp(nIndex, 0, GetBarCount());
  pBar->m_bEnabled = TRUE;
  pBar->m_pFont = (m_dwOrientation & SEC_OBS_VERT) != 0 ? &m_fontUpright : &m_fontTurned;
  pBar->SetColors(m_clrText, m_clrBk);
  if (CWnd* pClient = pBar->GetClientWindow()) pClient->ShowWindow(SW_HIDE);
  m_bars.InsertAt(nIndex, pBar);
  // The same bar stays active when one is inserted before it.
  if (m_bHasActive && nIndex <= m_nActive) ++m_nActive;
  CRect client;
  GetClientRect(client);
  if (!client.IsRectEmpty()) {
    RecalcLayout();
    Invalidate();
  }
  return pBar;
}

SECBar* SECShortcutBar::AddBar(LPCTSTR lpszLabel, CWnd* pWnd) { return InsertBar(GetBarCount(), lpszLabel, pWnd); }

SECBar* SECShortcutBar::InsertBar(int nIndex, LPCTSTR lpszLabel, CWnd* pWnd) {
  return InsertBarAt(nIndex, NewBar(), lpszLabel, pWnd);
}

SECListBar* SECShortcutBar::AddListBar(LPCTSTR lpszLabel) { return InsertListBar(GetBarCount(), lpszLabel); }

SECListBar* SECShortcutBar::InsertListBar(int nIndex, LPCTSTR lpszLabel) {
  SECListBar* pBar = NewListBar();
  if (pBar == nullptr) return nullptr;
  if (!pBar->CreateClient(this, kShortcutBarFirstViewId + GetBarCount())) {
    delete pBar;
    return nullptr;
  }
  return static_cast<SECListBar*>(InsertBarAt(nIndex, pBar, lpszLabel, nullptr));
}

SECBar* SECShortcutBar::AddBarWithClass(CRuntimeClass* pClass, LPCTSTR lpszLabel) {
  CObject* pObject = pClass != nullptr ? pClass->CreateObject() : nullptr;
  auto* pWnd = dynamic_cast<CWnd*>(pObject);
  if (pWnd == nullptr) {
    delete pObject;
    return nullptr;
  }
  const UINT id = kShortcutBarFirstViewId + GetBarCount();
  if (!pWnd->CreateEx(0, BarWindowClass(), nullptr, WS_CHILD, CRect(0, 0, 0, 0), this, id)) {
    delete pWnd;
    return nullptr;
  }
  SECBar* pBar = NewBar();
  if (pBar == nullptr) {
    pWnd->DestroyWindow();
    delete pWnd;
    return nullptr;
  }
  pBar->m_pOwned = pWnd;
  return AddBarAt(pBar, lpszLabel, pWnd);
}

SECBar* SECShortcutBar::AddViewBar(CRuntimeClass* pViewClass, CCreateContext* pContext, LPCTSTR lpszLabel, int nID) {
  CObject* pObject = pViewClass != nullptr ? pViewClass->CreateObject() : nullptr;
  auto* pView = dynamic_cast<CView*>(pObject);
  if (pView == nullptr) {
    delete pObject;
    return nullptr;
  }
  const UINT id = nID == -1 ? kShortcutBarFirstViewId + GetBarCount() : static_cast<UINT>(nID);
  // A view deletes itself when its window goes.
  if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id, pContext)) return nullptr;
  return AddBar(lpszLabel, pView);
}

BOOL SECShortcutBar::RemoveBar(int nIndex) {
  if (!IsValidIndex(nIndex) || !CanRemoveBar(nIndex)) return FALSE;
  SECBar* pBar = m_bars[nIndex];
  pBar->DestroyClient();
  pBar->ReleaseClient();
  m_bars.RemoveAt(nIndex);
  if (pBar->m_bAutoDelete) delete pBar;
  if (m_bTracking) {
    // A press on the removed bar ends; one on a later bar follows it down.
    if (m_nPressed == nIndex) {
      m_nPressed = -1;
      EndTracking();
    } else if (m_nPressed > nIndex) {
      --m_nPressed;
    }
  }
  if (GetBarCount() == 0) {
    m_nActive = -1;
    m_bHasActive = FALSE;
  } else if (m_bHasActive && nIndex < m_nActive) {
    --m_nActive;  // the same bar stays active
  } else if (m_bHasActive && nIndex == m_nActive) {
    // The bar that now holds the index (the last when none does) takes over, at once.
    m_bHasActive = FALSE;
    SetActiveBar(std::min(nIndex, GetBarCount() - 1));
  }
  CRect client;
  GetClientRect(client);
  if (!client.IsRectEmpty()) {
    RecalcLayout();
    Invalidate();
  }
  return TRUE;
}

BOOL SECShortcutBar::SetBarLabel(int nIndex, LPCTSTR lpszLabel) {
  if (!IsValidIndex(nIndex)) return FALSE;
  m_bars[nIndex]->SetLabel(lpszLabel != nullptr ? lpszLabel : "");
  if (RecalcLayout()) Invalidate();
  return TRUE;
}

void SECShortcutBar::SetBarTextColor(COLORREF clr, int nIndex) {
  if (nIndex == -1) m_clrText = clr;
  for (int i = 0; i < GetBarCount(); ++i)
    if (nIndex == -1 || i == nIndex) m_bars[i]->SetColors(clr, m_bars[i]->m_clrFace);
  if (m_hWnd != nullptr) Invalidate();
}

void SECShortcutBar::SetBarBkColor(COLORREF clr, int nIndex) {
  if (nIndex == -1) m_clrBk = clr;
  for (int i = 0; i < GetBarCount(); ++i)
    if (nIndex == -1 || i == nIndex) m_bars[i]->SetColors(m_bars[i]->m_clrText, clr);
  if (m_hWnd != nullptr) Invalidate();
}

// ---- enabling ----

int SECShortcutBar::FindNextEnabled(int nIndex) const {
  for (int i = nIndex + 1; i < GetBarCount(); ++i)
    if (m_bars[i]->m_bEnabled) return i;
  return -1;
}

int SECShortcutBar::FindPreviousEnabled(int nIndex) const {
  for (int i = std::min(nIndex, GetBarCount()) - 1; i >= 0; --i)
    if (m_bars[i]->m_bEnabled) return i;
  return -1;
}

BOOL SECShortcutBar::DisableBar(int nIndex) {
  if (!IsValidIndex(nIndex) || !CanDisableBar(nIndex)) return FALSE;
  m_bars[nIndex]->m_bEnabled = FALSE;
  // Only the active bar hands activation on: to the next enabled bar, else the previous one.
  if (m_bHasActive && nIndex == m_nActive) {
    int next = FindNextEnabled(nIndex);
    if (next < 0) next = FindPreviousEnabled(nIndex);
    SetActiveBar(next);
  }
  RedrawBarAt(nIndex);
  return TRUE;
}

BOOL SECShortcutBar::EnableBar(int nIndex) {
  if (!IsValidIndex(nIndex) || !CanEnableBar(nIndex)) return FALSE;
  m_bars[nIndex]->m_bEnabled = TRUE;
  RedrawBarAt(nIndex);
  return TRUE;
}

void SECShortcutBar::ModifyBarStyle(DWORD dwRemove, DWORD dwAdd) {
  const DWORD old = m_dwBehaviour;
  m_dwBehaviour = ((m_dwBehaviour & ~dwRemove) | dwAdd) & SEC_OBS_BEHAVIOUR;
  OnBehaviourChanged(old & ~m_dwBehaviour, m_dwBehaviour & ~old);
}

void SECShortcutBar::OnBehaviourChanged(DWORD dwRemoved, DWORD dwAdded) {
  if (!m_bHasActive || !IsValidIndex(m_nActive)) return;
  SECBar* pActive = m_bars[m_nActive];
  if ((dwAdded & SEC_OBS_BUTTONFOCUS) != 0) pActive->SetFlag(SEC_BAR_FRAME, TRUE);
  if ((dwRemoved & SEC_OBS_BUTTONFOCUS) != 0) pActive->SetFlag(SEC_BAR_FRAME, FALSE);
  RedrawBar(pActive);
}

// ---- activation ----

void SECShortcutBar::ShowClient(SECBar* pBar, BOOL bShow) {
  if (CWnd* pClient = pBar->GetClientWindow()) pClient->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void SECShortcutBar::FocusClient(SECBar* pBar) {
  CWnd* pClient = pBar->GetClientWindow();
  if (pClient == nullptr || (pBar->m_dwFlags & SEC_BAR_NOACTIVATE) != 0) return;
  if (auto* pView = dynamic_cast<CView*>(CWnd::FromHandlePermanent(pClient->m_hWnd))) {
    if (CFrameWnd* pFrame = pView->GetParentFrame()) pFrame->SetActiveView(pView);
  }
  pClient->SetFocus();
}

void SECShortcutBar::SetActiveBar(int nIndex) {
  if (nIndex != -1) {
    if (!IsValidIndex(nIndex) || !CanActivateBar(nIndex)) return;
    const int old = m_bHasActive ? m_nActive : -1;
    if ((m_dwBehaviour & SEC_OBS_ANIMATESCROLL) != 0 && old >= 0 && old != nIndex && IsWindowVisible())
      AnimateActivation(old, nIndex);
    else
      ActivateBarDirect(nIndex);
    if ((m_dwBehaviour & SEC_OBS_BUTTONFOCUS) != 0) {
      if (IsValidIndex(old)) m_bars[old]->SetFlag(SEC_BAR_FRAME, FALSE);
      m_bars[nIndex]->SetFlag(SEC_BAR_FRAME, TRUE);
    }
    m_nActive = nIndex;
    m_bHasActive = TRUE;
  } else {
    if (m_bHasActive && IsValidIndex(m_nActive)) {
      SECBar* pBar = m_bars[m_nActive];
      ShowClient(pBar, FALSE);
      pBar->m_nClientExtent = 0;
      pBar->SetFlag(SEC_BAR_FRAME, FALSE);
    }
    m_nActive = -1;
    m_bHasActive = FALSE;
  }
  if (RecalcLayout()) Invalidate();
}

void SECShortcutBar::ActivateBarDirect(int nIndex) {
  for (int i = 0; i < GetBarCount(); ++i) {
    if (i == nIndex) continue;
    m_bars[i]->m_nClientExtent = 0;
    ShowClient(m_bars[i], FALSE);
  }
  SECBar* pBar = m_bars[nIndex];
  pBar->m_nClientExtent = m_nMarkerExtent;
  // The client takes its place before it shows.
  RecalcLayout();
  ShowClient(pBar, TRUE);
  FocusClient(pBar);
}

void SECShortcutBar::AnimateActivation(int nOld, int nNew) {
  SECBar* pOld = m_bars[nOld];
  SECBar* pNew = m_bars[nNew];
  CRect client;
  GetClientRect(client);
  const int steps = std::max(1, m_nAnimationSteps);
  const int step = std::max(1, pOld->m_nClientExtent / steps);
  pNew->m_nClientExtent = 0;
  ShowClient(pNew, TRUE);
  DWORD mark = ::GetTickCount() + static_cast<DWORD>(m_nAnimationInterval);
  while (pOld->m_nClientExtent - step >= 1) {
    const DWORD now = ::GetTickCount();
    if (static_cast<LONG>(now - mark) < 0) {
      ::Sleep(mark - now);  // waits for the next frame without spinning
      continue;
    }
    pOld->m_nClientExtent -= step;
    pNew->m_nClientExtent += step;
    PlaceBars(m_dwOrientation, client);
    MoveClientWindows();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    UpdateWindow();
    mark = ::GetTickCount() + static_cast<DWORD>(m_nAnimationInterval);
  }
  pOld->m_nClientExtent = 0;
  pNew->m_nClientExtent = m_nMarkerExtent;
  RecalcLayout();
  ShowClient(pNew, TRUE);
  FocusClient(pNew);
  ShowClient(pOld, FALSE);
}

// ---- layout ----

int SECShortcutBar::ClientExtent() const {
  CRect client;
  GetClientRect(client);
  return (m_dwOrientation & SEC_OBS_VERT) != 0 ? client.Height() : client.Width();
}

BOOL SECShortcutBar::RecalcLayout() {
  if (m_hWnd == nullptr) return FALSE;
  CRect client;
  GetClientRect(client);
  if (client.IsRectEmpty()) return FALSE;
  {
    CClientDC dc(this);
    for (int i = 0; i < GetBarCount(); ++i) m_bars[i]->Measure(&dc, m_dwOrientation);
  }
  const int extent = ClientExtent();
  ComputeExtents(extent, (m_dwOrientation & SEC_OBS_VERT) != 0 ? m_cyLast : m_cxLast);
  PlaceBars(m_dwOrientation, client);
  MoveClientWindows();
  return TRUE;
}

void SECShortcutBar::ComputeExtents(int nExtent, int) {
  int buttons = 0;
  for (int i = 0; i < GetBarCount(); ++i) buttons += m_bars[i]->m_nExtent;
  const int free = nExtent - buttons == 0 ? 1 : nExtent - buttons;
  for (int i = 0; i < GetBarCount(); ++i)
    if (m_bars[i]->m_nClientExtent != 0) m_bars[i]->m_nClientExtent = std::max(0, free);
}

void SECShortcutBar::PlaceBars(DWORD dwOrientation, const CRect& rect) {
  const bool bStacked = (dwOrientation & SEC_OBS_VERT) != 0;
  int edge = bStacked ? rect.bottom : rect.right;
  for (int i = GetBarCount() - 1; i >= 0; --i) {
    SECBar* pBar = m_bars[i];
    if (bStacked) {
      pBar->m_rcClient.SetRect(rect.left, edge - pBar->m_nClientExtent, rect.right, edge);
      edge -= pBar->m_nClientExtent;
      pBar->m_rcBar.SetRect(rect.left, edge - pBar->m_nExtent, rect.right, edge);
    } else {
      pBar->m_rcClient.SetRect(edge - pBar->m_nClientExtent, rect.top, edge, rect.bottom);
      edge -= pBar->m_nClientExtent;
      pBar->m_rcBar.SetRect(edge - pBar->m_nExtent, rect.top, edge, rect.bottom);
    }
    edge -= pBar->m_nExtent;
  }
}

void SECShortcutBar::MoveClientWindows() {
  HDWP batch = ::BeginDeferWindowPos(GetBarCount());
  for (int i = 0; i < GetBarCount(); ++i) {
    SECBar* pBar = m_bars[i];
    CWnd* pClient = pBar->GetClientWindow();
    if (pClient == nullptr || pBar->m_nClientExtent == 0) continue;
    CRect now;
    pClient->GetWindowRect(now);
    ScreenToClient(now);
    if (now == pBar->m_rcClient) continue;
    batch = ::DeferWindowPos(batch, pClient->m_hWnd, nullptr, pBar->m_rcClient.left, pBar->m_rcClient.top,
                             pBar->m_rcClient.Width(), pBar->m_rcClient.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  ::EndDeferWindowPos(batch);
}

// ---- drawing ----

void SECShortcutBar::DrawBars(CDC* pDC) {
  for (int i = 0; i < GetBarCount(); ++i) m_bars[i]->Redraw(pDC, (m_bars[i]->m_dwFlags & SEC_BAR_PRESSED) != 0);
}

void SECShortcutBar::RedrawBar(SECBar* pBar) {
  if (m_hWnd == nullptr) return;
  CClientDC dc(this);
  pBar->Redraw(&dc, (pBar->m_dwFlags & SEC_BAR_PRESSED) != 0);
}

void SECShortcutBar::InvalidateBar(SECBar* pBar) {
  if (m_hWnd != nullptr) InvalidateRect(pBar->m_rcBar, FALSE);
}

void SECShortcutBar::RedrawBarAt(int nIndex) {
  if (IsValidIndex(nIndex)) RedrawBar(m_bars[nIndex]);
}

BOOL SECShortcutBar::OnEraseBkgnd(CDC* pDC) {
  if (!m_bHasActive && m_pBkBrush != nullptr) {
    CRect client;
    GetClientRect(client);
    pDC->FillRect(client, m_pBkBrush);
  }
  return TRUE;
}

void SECShortcutBar::OnPaint() {
  CPaintDC dc(this);
  DrawBars(&dc);
}

void SECShortcutBar::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType == SIZE_MINIMIZED || cx < 1 || cy < 1) return;
  m_cxLast = cx;
  m_cyLast = cy;
  if (RecalcLayout()) Invalidate();
}

// ---- mouse and keys ----

void SECShortcutBar::OnLButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDown(nFlags, point);
  const int hit = HitTest(point);
  if (hit < 0 || !m_bars[hit]->m_bEnabled) return;
  if ((m_dwBehaviour & SEC_OBS_BUTTONFEEDBACK) == 0) {
    if (hit != GetActiveBar()) SetActiveBar(hit);
    return;
  }
  SetCapture();
  m_bTracking = TRUE;
  m_nPressed = hit;
  m_bars[hit]->SetFlag(SEC_BAR_PRESSED, TRUE);
  RedrawBar(m_bars[hit]);
}

void SECShortcutBar::EndTracking() {
  if (IsValidIndex(m_nPressed)) {
    m_bars[m_nPressed]->SetFlag(SEC_BAR_PRESSED, FALSE);
    RedrawBar(m_bars[m_nPressed]);
  }
  m_nPressed = -1;
  m_bTracking = FALSE;
  if (GetCapture() == this) ReleaseCapture();
}

void SECShortcutBar::OnLButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnLButtonUp(nFlags, point);
  if (!m_bTracking) return;
  const int pressed = m_nPressed;
  EndTracking();
  if (IsValidIndex(pressed) && m_bars[pressed]->m_rcBar.PtInRect(point) && pressed != GetActiveBar())
    SetActiveBar(pressed);
}

BOOL SECShortcutBar::PreTranslateMessage(MSG* pMsg) {
  if (m_bTracking && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
    EndTracking();
    return TRUE;
  }
  return CWnd::PreTranslateMessage(pMsg);
}

void SECShortcutBar::OnContextMenu(CWnd*, CPoint point) {
  if ((m_dwBehaviour & SEC_OBS_CONTEXTMENU) == 0) return;
  CPoint local = point;
  ScreenToClient(&local);
  const int hit = HitTest(local);
  if (hit < 0 || m_bars[hit]->m_hMenu == nullptr) return;
  CWnd* pOwner = m_bars[hit]->GetClientWindow();
  ::TrackPopupMenu(m_bars[hit]->m_hMenu, TPM_RIGHTBUTTON | TPM_VCENTERALIGN, point.x, point.y, 0,
                   pOwner != nullptr ? pOwner->m_hWnd : m_hWnd, nullptr);
}

void SECShortcutBar::OnDestroy() {
  EndTracking();
  for (int i = 0; i < GetBarCount(); ++i) {
    SECBar* pBar = m_bars[i];
    pBar->DestroyClient();
    pBar->ReleaseClient();
    if (pBar->m_bAutoDelete) delete pBar;
  }
  m_bars.RemoveAll();
  m_nActive = -1;
  m_bHasActive = FALSE;
  DeleteFonts();
  delete m_pBkBrush;
  m_pBkBrush = nullptr;
  CWnd::OnDestroy();
}
