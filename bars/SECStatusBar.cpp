// The toolkit's status bar: creation over the status-bar control, the pane table and its layout,
// texts sent when they change, the bar's borders and height, and the per-pane updates; the
// custom status bar's pane cursors and parent layout.
#include "bars/SECStatusBar.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kBarStyleBits = 0x40FFFF;
constexpr DWORD kControlStyles = CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;  // 0x4E
constexpr int kPaneMargin = 6;  // around a pane's text

// The "Windows 4 look": the platform reports version 4 or later.
BOOL HasWindows4Look() { return LOBYTE(LOWORD(::GetVersion())) >= 4; }

}  // namespace

IMPLEMENT_DYNAMIC(SECStatusBar, SECControlBar)

BEGIN_MESSAGE_MAP(SECStatusBar, SECControlBar)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_NCHITTEST()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_WINDOWPOSCHANGING()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

SECStatusBar::SECStatusBar() {
  m_cyTopBorder = 2;
  const int nBorder = HasWindows4Look() ? 0 : 2;
  m_cxLeftBorder = nBorder;
  m_cxRightBorder = nBorder;
  m_cyBottomBorder = HasWindows4Look() ? 0 : 1;
}

SECStatusBar::~SECStatusBar() = default;

BOOL SECStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, 0, dwStyle, nID); }

BOOL SECStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & kBarStyleBits;
  DWORD dwWindowStyle = (dwStyle & ~kBarStyleBits) | dwCtrlStyle | kControlStyles;
  if (pParentWnd != nullptr && (pParentWnd->GetStyle() & WS_THICKFRAME) != 0) dwWindowStyle |= SBARS_SIZEGRIP;
  ::InitCommonControls();
  return CWnd::Create(STATUSCLASSNAME, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL SECStatusBar::PreCreateWindow(CREATESTRUCT& cs) {
  // With the newer look a bottom bar draws no borders of its own.
  if (HasWindows4Look() && (m_dwStyle & 0xFF00) == 0x8200) m_dwStyle &= ~static_cast<DWORD>(0xF80);
  return SECControlBar::PreCreateWindow(cs);
}

// ---- panes ----

AFX_STATUSPANE* SECStatusBar::PanePtr(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetPaneCount()) return nullptr;
  return const_cast<AFX_STATUSPANE*>(&m_panes[static_cast<size_t>(nIndex)]);
}

BOOL SECStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount < 0 || (nIDCount > 0 && lpIDArray == nullptr)) return FALSE;
  m_panes.assign(static_cast<size_t>(nIDCount), AFX_STATUSPANE{});
  m_nCount = nIDCount;
  CClientDC dc(nullptr);
  const HFONT hFont = m_hWnd != nullptr ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
  const HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), hFont) : nullptr;
  for (int i = 0; i < nIDCount; ++i) {
    AFX_STATUSPANE& pane = m_panes[static_cast<size_t>(i)];
    pane.nID = lpIDArray[i];
    pane.nFlags |= SBPF_UPDATE;
    if (pane.nID != 0) {
      if (!pane.strText.LoadString(pane.nID)) pane.strText.Empty();
      pane.cxText = dc.GetTextExtent(pane.strText).cx;
    } else {
      pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
      if (i == 0) pane.nStyle |= SBPS_NOBORDERS | SBPS_STRETCH;
    }
  }
  if (hOld != nullptr) ::SelectObject(dc.GetSafeHdc(), hOld);
  UpdateAllPanes(TRUE, TRUE);
  return TRUE;
}

int SECStatusBar::CommandToIndex(UINT nIDFind) const {
  for (int i = 0; i < GetPaneCount(); ++i)
    if (m_panes[static_cast<size_t>(i)].nID == nIDFind) return i;
  return -1;
}

UINT SECStatusBar::GetItemID(int nIndex) const {
  const AFX_STATUSPANE* pPane = PanePtr(nIndex);
  return pPane != nullptr ? pPane->nID : 0;
}

void SECStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  if (PanePtr(nIndex) == nullptr || m_hWnd == nullptr) return;
  if (!const_cast<SECStatusBar*>(this)->DefWindowProc(SB_GETRECT, static_cast<WPARAM>(nIndex),
                                                       reinterpret_cast<LPARAM>(lpRect)))
    ::SetRectEmpty(lpRect);
}

BOOL SECStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  const AFX_STATUSPANE* pPane = PanePtr(nIndex);
  nID = pPane != nullptr ? pPane->nID : 0;
  nStyle = pPane != nullptr ? pPane->nStyle : 0;
  cxWidth = pPane != nullptr ? pPane->cxText : 0;
  return pPane != nullptr;
}

UINT SECStatusBar::GetPaneStyle(int nIndex) const {
  const AFX_STATUSPANE* pPane = PanePtr(nIndex);
  return pPane != nullptr ? pPane->nStyle : 0;
}

BOOL SECStatusBar::GetPaneText(int nIndex, CString& rString) const {
  const AFX_STATUSPANE* pPane = PanePtr(nIndex);
  rString = pPane != nullptr ? pPane->strText : CString();
  return pPane != nullptr;
}

CString SECStatusBar::GetPaneText(int nIndex) const {
  CString strText;
  GetPaneText(nIndex, strText);
  return strText;
}

BOOL SECStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  AFX_STATUSPANE* pPane = PanePtr(nIndex);
  if (pPane == nullptr) return FALSE;
  pPane->nID = nID;
  const BOOL bLayout = ((pPane->nStyle ^ nStyle) & SBPS_STRETCH) != 0 || pPane->cxText != cxWidth;
  pPane->cxText = std::max(0, cxWidth);
  if (pPane->nStyle != nStyle) {
    pPane->nStyle = nStyle;
    pPane->nFlags |= SBPF_UPDATE;
    SetPaneText(nIndex, pPane->strText);
  }
  if (bLayout) UpdateAllPanes(TRUE, FALSE);
  return TRUE;
}

BOOL SECStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  AFX_STATUSPANE* pPane = PanePtr(nIndex);
  if (pPane == nullptr) return FALSE;
  if (pPane->nStyle == nStyle) return TRUE;
  const BOOL bStretch = ((pPane->nStyle ^ nStyle) & SBPS_STRETCH) != 0;
  pPane->nStyle = nStyle;
  if (bStretch) UpdateAllPanes(TRUE, FALSE);
  pPane->nFlags |= SBPF_UPDATE;
  return SetPaneText(nIndex, pPane->strText);
}

BOOL SECStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
  AFX_STATUSPANE* pPane = PanePtr(nIndex);
  if (pPane == nullptr) return FALSE;
  const CString strText = lpszNewText != nullptr ? lpszNewText : "";
  if ((pPane->nFlags & SBPF_UPDATE) == 0 && pPane->strText == strText) return TRUE;
  pPane->strText = strText;
  if (!bUpdate || m_hWnd == nullptr) {
    pPane->nFlags |= SBPF_UPDATE;
    return TRUE;
  }
  pPane->nFlags &= ~static_cast<UINT>(SBPF_UPDATE);
  // A disabled pane keeps its text but shows none.
  LPCTSTR lpszShown = (pPane->nStyle & SBPS_DISABLED) != 0 ? "" : static_cast<LPCTSTR>(pPane->strText);
  return DefWindowProc(SB_SETTEXT, static_cast<WPARAM>(nIndex) | (pPane->nStyle & 0xFF00),
                       reinterpret_cast<LPARAM>(lpszShown)) != 0;
}

void SECStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (m_hWnd == nullptr) return;
  if (bUpdateRects && !m_panes.empty()) {
    CRect rect;
    GetClientRect(&rect);
    CalcInsideRect(rect, TRUE);
    int borders[3] = {0, 0, 0};  // horizontal, vertical, between parts
    DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    int nExtra = rect.Width() + borders[2];
    int nStretch = 0;
    for (const AFX_STATUSPANE& pane : m_panes) {
      nExtra -= pane.cxText + kPaneMargin + borders[2];
      nStretch += (pane.nStyle & SBPS_STRETCH) != 0 ? 1 : 0;
    }
    std::vector<int> edges;
    int nLeft = borders[0];
    for (const AFX_STATUSPANE& pane : m_panes) {
      int nRight = nLeft + kPaneMargin + pane.cxText;
      // The remainder of the division goes to the later stretching panes.
      if ((pane.nStyle & SBPS_STRETCH) != 0 && nExtra > 0) {
        const int nShare = nExtra / nStretch;
        nRight += nShare;
        nExtra -= nShare;
        --nStretch;
      }
      edges.push_back(nRight);
      nLeft = nRight + borders[2];
    }
    DefWindowProc(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  }
  if (bUpdateText) {
    for (int i = 0; i < GetPaneCount(); ++i)
      if ((m_panes[static_cast<size_t>(i)].nFlags & SBPF_UPDATE) != 0) SetPaneText(i, m_panes[static_cast<size_t>(i)].strText);
  }
}

// ---- layout and borders ----

void SECStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz, BOOL /*bGripper*/) const {
  SECControlBar::CalcInsideRect(rect, bHorz, FALSE);
  CWnd* pParent = GetParent();
  if (m_hWnd == nullptr || (GetStyle() & SBARS_SIZEGRIP) == 0 || pParent == nullptr || pParent->IsZoomed()) return;
  int borders[3] = {0, 0, 0};
  const_cast<SECStatusBar*>(this)->DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  rect.right -= ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXBORDER) + borders[0];
}

CSize SECStatusBar::CalcFixedLayout(BOOL /*bStretch*/, BOOL bHorz) {
  if (!bHorz) return CSize(0, 0);
  TEXTMETRIC tm{};
  {
    CClientDC dc(nullptr);
    const HFONT hFont = m_hWnd != nullptr ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
    const HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), hFont) : nullptr;
    dc.GetTextMetrics(&tm);
    if (hOld != nullptr) ::SelectObject(dc.GetSafeHdc(), hOld);
  }
  int borders[3] = {0, 0, 0};
  if (m_hWnd != nullptr) DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  CRect inside(0, 0, 0, 0);
  SECControlBar::CalcInsideRect(inside, TRUE, FALSE);
  const int nHeight = tm.tmHeight - tm.tmInternalLeading - 1 +
                      2 * (::GetSystemMetrics(SM_CYBORDER) + borders[1]) - inside.Height();
  return CSize(32767, std::max(m_nMinHeight, nHeight));
}

void SECStatusBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
  if (m_hWnd != nullptr && ((dwOldStyle ^ dwNewStyle) & CBRS_BORDER_ANY) != 0)
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

BOOL SECStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return SECControlBar::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (pResult != nullptr) *pResult = TRUE;
  return TRUE;
}

void SECStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  SECStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_panes.size());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = m_panes[state.m_nIndex].nID;
    // The message pane (id 0) is never updated. A pane whose handler is gone (the editor closed)
    // goes blank instead of keeping its last text; one whose handler says nothing on enabling
    // is shown.
    if (state.m_nID == 0) continue;
    state.m_bEnableChanged = FALSE;
    const BOOL handled = state.DoUpdate(pTarget, FALSE);
    if (!handled && bDisableIfNoHndler)
      state.Enable(FALSE);
    else if (handled && !state.m_bEnableChanged)
      state.Enable(TRUE);
  }
}

void SECStatusBar::OnPaint() {
  // The panes are brought up to date before they are first drawn: until the first idle time (which
  // a modal dialog at the start, the tip of the day, keeps away) the key indicators would show
  // every lock on.
  if (!m_bPanesUpdated) {
    m_bPanesUpdated = true;
    SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  }
  UpdateAllPanes(FALSE, TRUE);
  Default();
}

void SECStatusBar::OnSize(UINT nType, int cx, int cy) {
  SECControlBar::OnSize(nType, cx, cy);
  UpdateAllPanes(TRUE, FALSE);
}

UINT SECStatusBar::OnNcHitTest(CPoint) {
  return Default() == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

void SECStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  RECT& rc = lpncsp->rgrc[0];
  rc.left += m_cxLeftBorder;
  rc.top += std::max(0, m_cyTopBorder - 2);
  rc.right -= m_cxRightBorder;
  rc.bottom -= m_cyBottomBorder;
  rc.right = std::max(rc.left, rc.right);
  rc.bottom = std::max(rc.top, rc.bottom);
}

void SECStatusBar::OnNcPaint() { EraseNonClient(); }

void SECStatusBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  const DWORD dwSaved = m_dwStyle;
  m_dwStyle &= ~static_cast<DWORD>(CBRS_BORDER_ANY);
  SECControlBar::OnWindowPosChanging(lpWndPos);
  m_dwStyle = dwSaved;
}

// ---- the window text is the first separator pane's ----

LRESULT SECStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  const int nIndex = CommandToIndex(0);
  if (nIndex < 0) return -1;
  return SetPaneText(nIndex, reinterpret_cast<LPCTSTR>(lParam)) ? 0 : -1;
}

LRESULT SECStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  const int nIndex = CommandToIndex(0);
  const CString strText = nIndex >= 0 ? GetPaneText(nIndex) : CString();
  const size_t nBuffer = static_cast<size_t>(wParam);
  auto* pBuffer = reinterpret_cast<char*>(lParam);
  if (nBuffer == 0 || pBuffer == nullptr) return 0;
  // At most the buffer less its terminator.
  const size_t nCopy = std::min(nBuffer - 1, static_cast<size_t>(strText.GetLength()));
  std::memcpy(pBuffer, static_cast<LPCTSTR>(strText), nCopy);
  pBuffer[nCopy] = '\0';
  return static_cast<LRESULT>(nCopy + 1);
}

LRESULT SECStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  const int nIndex = CommandToIndex(0);
  return nIndex >= 0 ? GetPaneText(nIndex).GetLength() : 0;
}

LRESULT SECStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
  m_nMinHeight = static_cast<int>(wParam);
  return Default();
}

// ---- one pane's update ----

void SECStatusCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  auto* pBar = static_cast<SECStatusBar*>(m_pOther);
  const UINT nStyle = pBar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_DISABLED);
  pBar->SetPaneStyle(static_cast<int>(m_nIndex), bOn ? nStyle : nStyle | SBPS_DISABLED);
}

void SECStatusCmdUI::SetCheck(int nCheck) {
  auto* pBar = static_cast<SECStatusBar*>(m_pOther);
  const UINT nStyle = pBar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_POPOUT);
  pBar->SetPaneStyle(static_cast<int>(m_nIndex), nCheck != 0 ? nStyle | SBPS_POPOUT : nStyle);
}

void SECStatusCmdUI::SetText(LPCTSTR lpszText) {
  static_cast<SECStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText);
}

// ---- custom status bar ----

IMPLEMENT_DYNAMIC(SECCustomStatusBar, SECStatusBar)

BEGIN_MESSAGE_MAP(SECCustomStatusBar, SECStatusBar)
  ON_WM_SETCURSOR()
  ON_MESSAGE(WM_SETFONT, OnSetFont)
  ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeightCustom)
END_MESSAGE_MAP()

int SECCustomStatusBar::PaneFromPoint(CPoint point) const {
  for (int i = 0; i < GetPaneCount(); ++i) {
    CRect rc;
    GetItemRect(i, &rc);
    if (rc.PtInRect(point)) return i;
  }
  return -1;
}

void SECCustomStatusBar::ResizeParent() {
  CWnd* pParent = GetParent();
  if (pParent == nullptr) return;
  CRect rc;
  pParent->GetWindowRect(&rc);
  pParent->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
}

BOOL SECCustomStatusBar::SetPaneCursor(int nIndex, HCURSOR hCursor, DWORD dwFlags) {
  if (nIndex < 0 || nIndex >= GetPaneCount()) return FALSE;
  if (m_records.size() < m_panes.size()) m_records.resize(m_panes.size());
  m_records[static_cast<size_t>(nIndex)] = {hCursor, dwFlags};
  return TRUE;
}

SECCustomStatusBar::PaneRecord SECCustomStatusBar::GetPaneRecord(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_records.size()) || nIndex >= GetPaneCount()) return {};
  return m_records[static_cast<size_t>(nIndex)];
}

BOOL SECCustomStatusBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT) {
    // Where the mouse is now (the message position may still be the previous message's).
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const PaneRecord record = GetPaneRecord(PaneFromPoint(point));
    if ((record.dwFlags & kShowCursor) != 0 && record.hCursor != nullptr) {
      ::SetCursor(record.hCursor);
      return TRUE;
    }
  }
  return SECStatusBar::OnSetCursor(pWnd, nHitTest, message);
}

LRESULT SECCustomStatusBar::OnSetFont(WPARAM, LPARAM) {
  const LRESULT result = Default();
  ResizeParent();
  return result;
}

LRESULT SECCustomStatusBar::OnSetMinHeightCustom(WPARAM wParam, LPARAM) {
  const LRESULT result = Default();
  m_nMinHeight = static_cast<int>(wParam);
  return result;
}
