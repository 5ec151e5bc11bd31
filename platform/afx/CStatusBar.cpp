// CStatusBar over the status-bar control: panes sized to their texts with the stretching ones
// sharing what is left, texts kept until the control can show them, the key indicators hidden
// while their lock is off; CDialogBar: a bar made from a dialog template.
#include "afx/CStatusBar.h"

#include "afx/CWinApp.h"
#include "afx/WindowDCs.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

namespace {
// Three pixels each side of a pane's text.
constexpr int kPaneBorder = 6;
}  // namespace

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

CStatusBar::CStatusBar() {
  m_cxLeftBorder = m_cxRightBorder = 0;
  m_cyTopBorder = m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  // The control draws its own edges: the bar has no borders of its own.
  m_dwStyle = dwStyle & CBRS_ALL & ~static_cast<DWORD>(CBRS_BORDER_ANY);
  ::InitCommonControls();
  // A grip when the window it sits in can be sized.
  if (pParentWnd != nullptr && (pParentWnd->GetStyle() & WS_THICKFRAME)) dwCtrlStyle |= SBARS_SIZEGRIP;
  DWORD style = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                CCS_NODIVIDER | CCS_NORESIZE | WS_CHILD;
  return CWnd::Create(STATUSCLASSNAME, nullptr, style, CRect(0, 0, 0, 0), pParentWnd, nID);
}

AFX_STATUSPANE* CStatusBar::_GetPanePtr(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) return nullptr;
  return const_cast<AFX_STATUSPANE*>(&m_panes[static_cast<size_t>(nIndex)]);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount < 0) return FALSE;
  m_panes.assign(static_cast<size_t>(nIDCount), AFX_STATUSPANE{});
  m_nCount = nIDCount;
  BOOL result = TRUE;
  if (lpIDArray != nullptr) {
    CClientDC dc(nullptr);
    CFont* font = GetFont();
    CFont* oldFont = font != nullptr && font->GetSafeHandle() != nullptr ? dc.SelectObject(font) : nullptr;
    for (int i = 0; i < nIDCount; ++i) {
      AFX_STATUSPANE& pane = m_panes[static_cast<size_t>(i)];
      pane.nID = lpIDArray[i];
      pane.nFlags |= SBPF_UPDATE;
      if (pane.nID != 0) {
        // An indicator without its string is a fault of the program: the pane stays empty.
        if (!pane.strText.LoadString(pane.nID)) {
          result = FALSE;
          continue;
        }
        pane.cxText = dc.GetTextExtent(pane.strText).cx;
      } else {
        pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
        if (i == 0) pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
      }
    }
    if (oldFont != nullptr) dc.SelectObject(oldFont);
  }
  UpdateAllPanes(TRUE, TRUE);
  return result;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i].nID == nIDFind) return static_cast<int>(i);
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  const AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
  return pane != nullptr ? pane->nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  if (_GetPanePtr(nIndex) == nullptr) return;
  const_cast<CStatusBar*>(this)->DefWindowProc(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const {
  const AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
  rString = pane != nullptr ? pane->strText : CString();
}

CString CStatusBar::GetPaneText(int nIndex) const {
  CString text;
  GetPaneText(nIndex, text);
  return text;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
  AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
  if (pane == nullptr) return FALSE;
  CString text = lpszNewText != nullptr ? lpszNewText : "";
  if (!(pane->nFlags & SBPF_UPDATE) && pane->strText == text) return TRUE;
  pane->strText = text;
  if (!bUpdate || m_hWnd == nullptr) {
    pane->nFlags |= SBPF_UPDATE;
    return TRUE;
  }
  pane->nFlags &= ~static_cast<UINT>(SBPF_UPDATE);
  // A disabled pane shows no text.
  LPCTSTR shown = (pane->nStyle & SBPS_DISABLED) ? "" : static_cast<LPCTSTR>(pane->strText);
  DefWindowProc(SB_SETTEXT, (pane->nStyle & 0xFF00) | static_cast<UINT>(nIndex), reinterpret_cast<LPARAM>(shown));
  return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  const AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
  nID = pane != nullptr ? pane->nID : 0;
  nStyle = pane != nullptr ? pane->nStyle : 0;
  cxWidth = pane != nullptr ? pane->cxText : 0;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
  if (pane == nullptr) return;
  bool changed = pane->cxText != cxWidth || ((pane->nStyle ^ nStyle) & SBPS_STRETCH);
  pane->nID = nID;
  pane->cxText = std::max(0, cxWidth);
  SetPaneStyle(nIndex, nStyle);
  if (changed && m_hWnd != nullptr) UpdateAllPanes(TRUE, FALSE);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  const AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
  return pane != nullptr ? pane->nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
  if (pane == nullptr || pane->nStyle == nStyle) return;
  bool stretchChanged = ((pane->nStyle ^ nStyle) & SBPS_STRETCH) != 0;
  pane->nStyle = nStyle;
  // The control takes the new drawing (and shows or hides the text) with the text.
  pane->nFlags |= SBPF_UPDATE;
  SetPaneText(nIndex, pane->strText);
  if (stretchChanged && m_hWnd != nullptr) UpdateAllPanes(TRUE, FALSE);
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (m_hWnd == nullptr) return;
  if (bUpdateRects && !m_panes.empty()) {
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CalcInsideRect(rect, TRUE);
    // The size grip takes the right end while the frame can be sized: the panes end before it.
    if ((GetStyle() & SBARS_SIZEGRIP) && !::IsZoomed(::GetAncestor(m_hWnd, GA_ROOT)))
      rect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
    int borders[3] = {0, 0, 0};
    DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    // What the panes leave goes to the stretching ones, shared out evenly.
    int extra = rect.Width() + borders[2];
    int stretching = 0;
    for (const AFX_STATUSPANE& pane : m_panes) {
      if (pane.nStyle & SBPS_STRETCH) ++stretching;
      extra -= pane.cxText + kPaneBorder + borders[2];
    }
    std::vector<int> rights(m_panes.size());
    int right = borders[0];
    for (size_t i = 0; i < m_panes.size(); ++i) {
      right += m_panes[i].cxText + kPaneBorder;
      if ((m_panes[i].nStyle & SBPS_STRETCH) && extra > 0) {
        int share = extra / stretching;
        right += share;
        --stretching;
        extra -= share;
      }
      rights[i] = right;
      right += borders[2];
    }
    DefWindowProc(SB_SETPARTS, static_cast<WPARAM>(rights.size()), reinterpret_cast<LPARAM>(rights.data()));
  }
  if (bUpdateText) {
    for (size_t i = 0; i < m_panes.size(); ++i)
      if (m_panes[i].nFlags & SBPF_UPDATE) SetPaneText(static_cast<int>(i), m_panes[i].strText);
  }
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  TEXTMETRIC tm{};
  {
    CClientDC dc(nullptr);
    HFONT font = m_hWnd != nullptr ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
    HGDIOBJ old = font != nullptr ? ::SelectObject(dc.GetSafeHdc(), font) : nullptr;
    dc.GetTextMetrics(&tm);
    if (old != nullptr) ::SelectObject(dc.GetSafeHdc(), old);
  }
  CRect inside;
  inside.SetRectEmpty();
  CalcInsideRect(inside, bHorz);
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  int borders[3] = {0, 2, 2};
  if (m_hWnd != nullptr) DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  // The text's height, the control's borders above and below, and the panes' edges.
  size.cy = tm.tmHeight - tm.tmInternalLeading - 1 + borders[1] * 2 + ::GetSystemMetrics(SM_CYBORDER) * 2 - inside.Height();
  size.cy = std::max<LONG>(size.cy, m_nMinHeight);
  return size;
}

void CStatusBar::OnPaint() {
  // The panes are brought up to date before they are first drawn: until the first idle time (which
  // a modal dialog at the start keeps away) the key indicators would show every lock on.
  if (!m_bPanesUpdated) {
    m_bPanesUpdated = true;
    SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  }
  UpdateAllPanes(FALSE, TRUE);
  Default();
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  UpdateAllPanes(TRUE, FALSE);
  Invalidate();
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  // The window's text is the text of the first ID_SEPARATOR pane (the message pane).
  int index = CommandToIndex(0);
  if (index < 0) return -1;
  return SetPaneText(index, reinterpret_cast<LPCTSTR>(lParam)) ? TRUE : -1;
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int index = CommandToIndex(0);
  if (index < 0 || wParam == 0 || lParam == 0) return 0;
  const CString& text = m_panes[static_cast<size_t>(index)].strText;
  int count = std::min(static_cast<int>(wParam) - 1, text.GetLength());
  std::memcpy(reinterpret_cast<LPSTR>(lParam), static_cast<LPCTSTR>(text), static_cast<size_t>(count));
  reinterpret_cast<LPSTR>(lParam)[count] = '\0';
  return count;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  int index = CommandToIndex(0);
  return index < 0 ? 0 : m_panes[static_cast<size_t>(index)].strText.GetLength();
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
  m_nMinHeight = static_cast<int>(wParam);
  return Default();
}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CControlBar::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (pResult != nullptr) *pResult = TRUE;
  return TRUE;
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

void CStatusCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  auto* bar = static_cast<CStatusBar*>(m_pOther);
  UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_DISABLED);
  if (!bOn) style |= SBPS_DISABLED;
  bar->SetPaneStyle(static_cast<int>(m_nIndex), style);
}

void CStatusCmdUI::SetCheck(int nCheck) {
  auto* bar = static_cast<CStatusBar*>(m_pOther);
  UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_POPOUT);
  if (nCheck != 0) style |= SBPS_POPOUT;
  bar->SetPaneStyle(static_cast<int>(m_nIndex), style);
}

void CStatusCmdUI::SetText(LPCTSTR lpszText) {
  static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_panes.size());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = m_panes[state.m_nIndex].nID;
    if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) continue;
    // Panes without a handler keep their state: the message pane is never disabled.
    state.DoUpdate(pTarget, FALSE);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

// ---- dialog bars ----

CDialogBar::CDialogBar() { m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0; }

CDialogBar::~CDialogBar() = default;

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID) {
  m_dwStyle = nStyle & CBRS_ALL;
  m_lpszTemplateName = lpszTemplateName;
  if (!CreateDlg(lpszTemplateName, pParentWnd)) return FALSE;
  SetDlgCtrlID(static_cast<int>(nID));
  CRect rect;
  GetWindowRect(&rect);
  m_sizeDefault = rect.Size();
  ModifyStyle(0, WS_CLIPSIBLINGS);
  if (!ExecuteDlgInit(lpszTemplateName)) return FALSE;
  // Sized by the frame's next layout.
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (bStretch) return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
  return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
