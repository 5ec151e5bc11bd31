// The resizable dialog's anchoring, grip and size limits.
#include "app/CResizableDialog.h"

#include "afx/CWinApp.h"
#include "afx/WindowDCs.h"

namespace {

// The x or y of an anchor type's column (0 left, 1 centre, 2 right) or row in [low, high].
int AnchorCoordinate(int nPlace, int nLow, int nHigh) {
  return nPlace == 0 ? nLow : nPlace == 1 ? (nLow + nHigh) / 2 : nHigh;
}
int Column(int nType) { return (nType - 1) % 3; }
int Row(int nType) { return (nType - 1) / 3; }

// A corner's distance from its anchor: measured rightward (downward) from left and centre
// anchors, leftward (upward) from right ones.
int Offset(int nPlace, int nCoordinate, int nLow, int nHigh) {
  const int nAnchor = AnchorCoordinate(nPlace, nLow, nHigh);
  return nPlace == 2 ? nAnchor - nCoordinate : nCoordinate - nAnchor;
}
int Place(int nPlace, int nOffset, int nLow, int nHigh) {
  const int nAnchor = AnchorCoordinate(nPlace, nLow, nHigh);
  return nPlace == 2 ? nAnchor - nOffset : nAnchor + nOffset;
}

bool ClassIs(HWND hWnd, const char* pszClass) {
  char szClass[32] = "";
  ::GetClassName(hWnd, szClass, sizeof szClass);
  return ::lstrcmpi(szClass, pszClass) == 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CResizableDialog, CDialog)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_NCHITTEST()
  ON_WM_GETMINMAXINFO()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CResizableDialog::CResizableDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd),
      m_szGripSize(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL)) {}

CResizableDialog::CResizableDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CDialog(lpszTemplateName, pParentWnd),
      m_szGripSize(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL)) {}

CResizableDialog::~CResizableDialog() {
  for (POSITION pos = m_plLayoutList.GetHeadPosition(); pos != nullptr;)
    delete static_cast<Layout*>(m_plLayoutList.GetNext(pos));
}

void CResizableDialog::UpdateGripRect() {
  CRect client;
  GetClientRect(&client);
  m_rcGripRect.SetRect(client.right - m_szGripSize.cx, client.bottom - m_szGripSize.cy, client.right,
                       client.bottom);
}

BOOL CResizableDialog::OnInitDialog() {
  const BOOL bResult = CDialog::OnInitDialog();
  UpdateGripRect();
  CRect window;
  GetWindowRect(&window);
  m_szMinTrack = window.Size();
  m_bInitDone = TRUE;
  return bResult;
}

CResizableDialog::Layout CResizableDialog::MakeLayout(int nTypeTL, int nTypeBR, const CRect& rect,
                                                      const CSize& client) {
  Layout layout;
  layout.nTypeTL = nTypeTL;
  layout.nTypeBR = nTypeBR;
  layout.nOffsetLeft = Offset(Column(nTypeTL), rect.left, 0, client.cx);
  layout.nOffsetTop = Offset(Row(nTypeTL), rect.top, 0, client.cy);
  if (nTypeBR != KEEP_SIZE) {
    layout.nOffsetRight = Offset(Column(nTypeBR), rect.right, 0, client.cx);
    layout.nOffsetBottom = Offset(Row(nTypeBR), rect.bottom, 0, client.cy);
  }
  return layout;
}

CRect CResizableDialog::ArrangeLayout(const Layout& layout, const CSize& client, const CSize& size) {
  CRect rect;
  rect.left = Place(Column(layout.nTypeTL), layout.nOffsetLeft, 0, client.cx);
  rect.top = Place(Row(layout.nTypeTL), layout.nOffsetTop, 0, client.cy);
  if (layout.nTypeBR == KEEP_SIZE) {
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
  } else {
    rect.right = Place(Column(layout.nTypeBR), layout.nOffsetRight, 0, client.cx);
    rect.bottom = Place(Row(layout.nTypeBR), layout.nOffsetBottom, 0, client.cy);
  }
  return rect;
}

BOOL CResizableDialog::AddAnchor(HWND hWnd, int nTypeTL, int nTypeBR) {
  if (hWnd == nullptr || nTypeTL < TOP_LEFT || nTypeTL > BOTTOM_RIGHT || nTypeBR < KEEP_SIZE ||
      nTypeBR > BOTTOM_RIGHT)
    return FALSE;
  // Buttons other than push buttons (group boxes, checks) would draw over their neighbours.
  if (ClassIs(hWnd, "BUTTON") && (::GetWindowLong(hWnd, GWL_STYLE) & 0x7) != 0)
    CWnd::ModifyStyle(hWnd, 0, WS_CLIPSIBLINGS, 0);
  CRect client, rect;
  GetClientRect(&client);
  ::GetWindowRect(hWnd, &rect);
  ScreenToClient(&rect);
  auto* pLayout = new Layout(MakeLayout(nTypeTL, nTypeBR, rect, client.Size()));
  pLayout->hWnd = hWnd;
  pLayout->bAdjHScroll = ClassIs(hWnd, "LISTBOX");
  m_plLayoutList.AddTail(pLayout);
  return TRUE;
}

void CResizableDialog::RepositionControls() {
  CRect client;
  GetClientRect(&client);
  HDWP hDwp = ::BeginDeferWindowPos(static_cast<int>(m_plLayoutList.GetCount()));
  for (POSITION pos = m_plLayoutList.GetHeadPosition(); pos != nullptr;) {
    const Layout* pLayout = static_cast<Layout*>(m_plLayoutList.GetNext(pos));
    CRect old;
    ::GetWindowRect(pLayout->hWnd, &old);
    ScreenToClient(&old);
    const CRect rect = ArrangeLayout(*pLayout, client.Size(), old.Size());
    if (rect == old) continue;
    hDwp = ::DeferWindowPos(hDwp, pLayout->hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE);
    // A list box scrolled further than its new width allows is repainted whole.
    if (pLayout->bAdjHScroll) {
      const LRESULT nExtent = ::SendMessage(pLayout->hWnd, LB_GETHORIZONTALEXTENT, 0, 0);
      const int nPos = ::GetScrollPos(pLayout->hWnd, SB_HORZ);
      if (nExtent > 0 && nPos > nExtent - (rect.Width() - old.Width())) ::InvalidateRect(pLayout->hWnd, nullptr, FALSE);
    }
  }
  ::EndDeferWindowPos(hDwp);
}

void CResizableDialog::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  if (nType == SIZE_MAXSHOW || nType == SIZE_MAXHIDE || !m_bInitDone) return;
  RepositionControls();
  InvalidateRect(&m_rcGripRect);
  UpdateGripRect();
  InvalidateRect(&m_rcGripRect);
}

void CResizableDialog::OnPaint() {
  CPaintDC dc(this);
  if (m_bShowGrip && m_bInitDone) {
    CRect grip = m_rcGripRect;
    dc.DrawFrameControl(&grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

UINT CResizableDialog::OnNcHitTest(CPoint point) {
  CPoint client = point;
  ScreenToClient(&client);
  if (m_bShowGrip && m_bInitDone && m_rcGripRect.PtInRect(client)) return HTBOTTOMRIGHT;
  return CDialog::OnNcHitTest(point);
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  if (!m_bInitDone) return;
  if (m_bUseMinTrack) lpMMI->ptMinTrackSize = CPoint(m_szMinTrack.cx, m_szMinTrack.cy);
  if (m_bUseMaxTrack) lpMMI->ptMaxTrackSize = CPoint(m_szMaxTrack.cx, m_szMaxTrack.cy);
  if (m_bUseMaxRect) {
    lpMMI->ptMaxPosition = m_ptMaxPos;
    lpMMI->ptMaxSize = CPoint(m_szMaxSize.cx, m_szMaxSize.cy);
  }
}

void CResizableDialog::OnDestroy() {
  if (m_bEnableSaveRestore) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(&placement) && AfxGetApp() != nullptr) {
      const RECT& rc = placement.rcNormalPosition;
      CString strData;
      strData.Format("%d,%d,%d,%d,%d,%d", static_cast<int>(rc.left), static_cast<int>(rc.top),
                     static_cast<int>(rc.right), static_cast<int>(rc.bottom), static_cast<int>(placement.showCmd),
                     static_cast<int>(placement.flags));
      AfxGetApp()->WriteProfileString(m_strSection, m_strEntry, strData);
    }
  }
  for (POSITION pos = m_plLayoutList.GetHeadPosition(); pos != nullptr;)
    delete static_cast<Layout*>(m_plLayoutList.GetNext(pos));
  m_plLayoutList.RemoveAll();
  CDialog::OnDestroy();
}

void CResizableDialog::ShowSizeGrip(BOOL bShow) {
  m_bShowGrip = bShow;
  if (m_hWnd != nullptr) InvalidateRect(&m_rcGripRect);
}

void CResizableDialog::SetMinTrackSize(const CSize& size) {
  m_szMinTrack = size;
  m_bUseMinTrack = TRUE;
}

void CResizableDialog::SetMaxTrackSize(const CSize& size) {
  m_szMaxTrack = size;
  m_bUseMaxTrack = TRUE;
}

void CResizableDialog::SetMaximizedRect(const CRect& rect) {
  m_ptMaxPos = rect.TopLeft();
  m_szMaxSize = rect.Size();
  m_bUseMaxRect = TRUE;
}

void CResizableDialog::EnableSaveRestore(LPCTSTR pszSection, LPCTSTR pszEntry) {
  m_strSection = pszSection;
  m_strEntry = pszEntry;
  m_bEnableSaveRestore = TRUE;
}
