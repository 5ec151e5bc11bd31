// The workbook frame: the tab strip below the MDI client (geometry, painting, clicks, tips,
// repaint bands), the sheets' registration and numbering, and the client's margins.
#include "bars/SECWorkbook.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "bars/SECWorksheet.h"

namespace {

BOOL g_bWorkbookMode = FALSE;
constexpr int kStripMargin = 22;
constexpr int kIconSize = 16;

}  // namespace

BOOL SECGetWorkbookMode() { return g_bWorkbookMode; }

CString SECShortenTabLabel(CDC* pDC, const CString& strLabel, int nWidth) {
  // Character starts, so that a double-byte character is never cut in half.
  std::vector<int> starts;
  const char* pBegin = strLabel;
  for (const char* p = pBegin; *p != '\0'; p = ::CharNext(p)) starts.push_back(static_cast<int>(p - pBegin));
  const int nChars = static_cast<int>(starts.size());
  if (nChars < 4 || pDC->GetTextExtent(strLabel).cx <= nWidth) return strLabel;
  CString strShort;
  for (int nKeep = nChars - 4; nKeep >= 0; --nKeep) {
    strShort = strLabel.Left(starts[nKeep]) + "...";
    if (pDC->GetTextExtent(strShort).cx <= nWidth) break;
  }
  return strShort;
}

// ---- client ----

IMPLEMENT_DYNAMIC(SECWorkbookClient, CWnd)

void SECWorkbookClient::SetMargins(int nLeft, int nRight, int nTop, int nBottom) {
  m_nLeftMargin = nLeft;
  m_nRightMargin = nRight;
  m_nTopMargin = nTop;
  m_nBottomMargin = nBottom;
}

void SECWorkbookClient::GetMargins(int& nLeft, int& nRight, int& nTop, int& nBottom) const {
  nLeft = m_nLeftMargin;
  nRight = m_nRightMargin;
  nTop = m_nTopMargin;
  nBottom = m_nBottomMargin;
}

void SECWorkbookClient::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  lpClientRect->left += m_nLeftMargin;
  lpClientRect->right -= m_nRightMargin;
  lpClientRect->top += m_nTopMargin;
  lpClientRect->bottom -= m_nBottomMargin;
  CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

LRESULT SECWorkbookClient::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_MDISETMENU && message != WM_SECWB_REDRAWTABS && message != WM_MDIREFRESHMENU)
    return CWnd::WindowProc(message, wParam, lParam);
  LRESULT result = 0;
  const bool bPass = message == WM_MDIREFRESHMENU ||
                     (wParam != static_cast<WPARAM>(0xFFFFFFFF) && wParam != static_cast<WPARAM>(-1) && lParam != -1);
  if (bPass) result = CWnd::WindowProc(message == WM_MDIREFRESHMENU ? message : WM_MDISETMENU, wParam, lParam);
  // A child's menu update goes with its activation, so the workbook's active tab follows.
  if (CWnd* pParent = GetParent()) pParent->SendMessage(WM_SECWB_ACTIVESHEETCHANGED, 0, 0);
  return result;
}

// ---- workbook ----

IMPLEMENT_DYNCREATE(SECWorkbook, SECMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECWorkbook, SECMDIFrameWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_DESTROY()
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
  ON_MESSAGE(WM_SECWB_ACTIVESHEETCHANGED, OnActiveSheetChanged)
  ON_COMMAND(ID_SECWB_TOGGLE_MODE, OnToggleWorkbookMode)
  ON_UPDATE_COMMAND_UI(ID_SECWB_TOGGLE_MODE, OnUpdateToggleWorkbookMode)
END_MESSAGE_MAP()

SECWorkbook::SECWorkbook() { m_pBarChildClass = RUNTIME_CLASS(SECControlBarWorksheet); }

SECWorkbook::~SECWorkbook() {
  delete m_pToolTip;
  m_pToolTip = nullptr;
}

BOOL SECWorkbook::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= WS_CLIPCHILDREN;
  return SECMDIFrameWnd::PreCreateWindow(cs);
}

BOOL SECWorkbook::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) {
  const BOOL bCreated = SECMDIFrameWnd::CreateClient(lpCreateStruct, pWindowMenu);
  if (!bCreated) return FALSE;
  auto pClient = std::make_unique<SECWorkbookClient>();
  if (!pClient->SubclassWindow(m_hWndMDIClient)) return bCreated;
  m_pClient = pClient.release();
  LOGFONT lf{};
  CGdiObject* pFont = CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  if (pFont == nullptr || pFont->GetSafeHandle() == nullptr)
    pFont = CFont::FromHandle(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)));
  pFont->GetObject(sizeof(lf), &lf);
  lf.lfWeight = 600;
  m_fontTab.CreateFontIndirect(&lf);
  m_penWhite.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  m_penFace.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
  return bCreated;
}

CMDIChildWnd* SECWorkbook::CreateControlBarMDIChild(DWORD dwStyle, CControlBar* pBar) {
  CMDIChildWnd* pChild = SECMDIFrameWnd::CreateControlBarMDIChild(dwStyle, pBar);
  auto* pSheet = dynamic_cast<SECControlBarWorksheet*>(pChild);
  const HICON hIcon = pBar != nullptr ? reinterpret_cast<HICON>(pBar->SendMessage(WM_GETICON, ICON_BIG)) : nullptr;
  if (pSheet != nullptr && hIcon != nullptr) SetSheetIcon(pSheet, ::CopyIcon(hIcon));
  return pChild;
}

void SECWorkbook::OnDestroy() {
  SECMDIFrameWnd::OnDestroy();
  if (m_pClient != nullptr) {
    m_pClient->UnsubclassWindow();
    delete m_pClient;
    m_pClient = nullptr;
  }
}

void SECWorkbook::SetWorkbookMode(BOOL bOn) {
  m_bWorkbookMode = bOn;
  if (m_pClient != nullptr) m_pClient->SetMargins(0, 0, 0, bOn ? kStripMargin : 0);
  g_bWorkbookMode = bOn;
  RecalcLayout(TRUE);
}

void SECWorkbook::OnToggleWorkbookMode() { SetWorkbookMode(!m_bWorkbookMode); }

void SECWorkbook::OnUpdateToggleWorkbookMode(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bWorkbookMode); }

// ---- geometry ----

CRect SECWorkbook::ClientInFrame() const {
  CRect rc;
  if (m_hWndMDIClient == nullptr) return rc;
  ::GetWindowRect(m_hWndMDIClient, &rc);
  ScreenToClient(&rc);
  return rc;
}

void SECWorkbook::GetTabStripRect(CRect& rect) {
  rect = ClientInFrame();
  if (m_pClient == nullptr) return;
  int nLeft, nRight, nTop, nBottom;
  m_pClient->GetMargins(nLeft, nRight, nTop, nBottom);
  rect.InflateRect(nLeft, nTop, nRight, nBottom);
}

SECWorksheet* SECWorkbook::GetSheet(int nIndex) const {
  return static_cast<SECWorksheet*>(m_worksheets.GetAt(nIndex));
}

BOOL SECWorkbook::IsSheetVisible(SECWorksheet* pSheet) { return (pSheet->GetStyle() & WS_VISIBLE) != 0; }

BOOL SECWorkbook::IsSheetActive(SECWorksheet* pSheet) { return GetActiveFrame() == pSheet; }

int SECWorkbook::TabSlot(SECWorksheet* pSheet) const {
  int nHidden = 0;
  for (int i = 0; i < pSheet->m_nIndex && i < GetSheetCount(); ++i) nHidden += IsSheetVisible(GetSheet(i)) ? 0 : 1;
  return pSheet->m_nIndex - nHidden;
}

int SECWorkbook::CalcTabWidth() const {
  const CRect rc = ClientInFrame();
  return std::min((rc.Width() + 7) / GetSheetCount(), m_nMaxTabWidth);
}

void SECWorkbook::GetTabPoints(SECWorksheet* pSheet, LPPOINT& lpPoints, int& nCount) {
  const CRect rc = ClientInFrame();
  const int a = IsSheetActive(pSheet) || pSheet->m_bPressed ? 1 : 0;
  const int x0 = TabSlot(pSheet) * m_nTabWidth - (m_nActiveWidening / 2) * a + rc.left;
  const int y0 = rc.bottom;
  nCount = 7;
  lpPoints = new POINT[7];
  POINT* p = lpPoints;
  p[0] = {x0, y0};
  p[1] = {x0, y0 + m_nTabHeight - m_nSlant};
  p[2] = {x0 + m_nSlant, y0 + m_nTabHeight + m_nActiveDeepening * a};
  p[3] = {p[2].x + m_nTabWidth - 2 * m_nSlant + m_nActiveWidening * a, p[2].y};
  p[4] = {p[3].x + m_nSlant, p[1].y};
  p[5] = {p[4].x, y0};
  p[6] = {x0, y0};
}

BOOL SECWorkbook::GetTabLabelRect(const POINT* lpPoints, int nIconWidth, CRect& rect) {
  if (lpPoints == nullptr) {
    rect.SetRectEmpty();
    return FALSE;
  }
  // The label ends where the slanted right side meets the bottom edge, as it starts where the
  // slanted left side does: the text never runs over the slant.
  rect.SetRect(lpPoints[2].x + nIconWidth + 5, lpPoints[0].y, lpPoints[3].x - 2, lpPoints[3].y);
  return TRUE;
}

CString SECWorkbook::GetSheetLabel(SECWorksheet* pSheet) {
  CString strLabel;
  if (pSheet == nullptr) return strLabel;
  CDocument* pDoc = pSheet->GetActiveDocument();
  if (pDoc != nullptr) strLabel = pDoc->GetTitle();
  if (strLabel.IsEmpty()) pSheet->GetWindowText(strLabel);
  return strLabel;
}

BOOL SECWorkbook::TabLabelFits(SECWorksheet* pSheet) {
  if (pSheet == nullptr) return FALSE;
  const CString strLabel = GetSheetLabel(pSheet);
  if (strLabel.IsEmpty()) return FALSE;
  LPPOINT lpPoints = nullptr;
  int nCount = 0;
  GetTabPoints(pSheet, lpPoints, nCount);
  CRect rcLabel;
  GetTabLabelRect(lpPoints, kIconSize, rcLabel);
  delete[] lpPoints;
  CClientDC dc(nullptr);
  CFont* pOld = dc.SelectObject(&m_fontTab);
  const int nWidth = dc.GetTextExtent(strLabel).cx;
  dc.SelectObject(pOld);
  return nWidth <= rcLabel.Width();
}

HICON SECWorkbook::GetSheetIcon(SECWorksheet* pSheet) {
  return m_bShowIcons && pSheet != nullptr ? pSheet->m_hIcon : nullptr;
}

BOOL SECWorkbook::SetSheetIcon(SECWorksheet* pSheet, HICON hIcon, BOOL bRedraw) {
  if (pSheet == nullptr) return FALSE;
  pSheet->m_hIcon = hIcon;
  if (bRedraw) InvalidateTab(pSheet);
  return TRUE;
}

// ---- painting ----

void SECWorkbook::DrawTab(CDC* pDC, SECWorksheet* pSheet) {
  LPPOINT p = nullptr;
  int nCount = 0;
  GetTabPoints(pSheet, p, nCount);
  CBrush brush(IsSheetActive(pSheet) ? ::GetSysColor(COLOR_BTNFACE) : RGB(0x80, 0x80, 0x80));
  CBrush* pOldBrush = pDC->SelectObject(&brush);
  CPen* pOldPen = pDC->SelectObject(&m_penFace);
  const int nOldFill = pDC->SetPolyFillMode(ALTERNATE);
  pDC->Polygon(p, nCount);
  pDC->SetPolyFillMode(nOldFill);
  pDC->SelectObject(&m_penShadow);
  pDC->MoveTo(p[1].x + 1, p[1].y - 1);
  pDC->LineTo(p[2].x, p[2].y - 2);
  pDC->LineTo(p[3].x, p[3].y - 2);
  pDC->LineTo(p[4].x - 2, p[4].y - 1);
  pDC->LineTo(p[5].x - 2, p[5].y);
  pDC->LineTo(p[5].x, p[5].y);
  pDC->SelectObject(&m_penWhite);
  pDC->MoveTo(p[0].x, p[0].y);
  pDC->LineTo(p[1].x, p[1].y - 2);
  pDC->SelectObject(&m_penBlack);
  pDC->MoveTo(p[2].x + 1, p[2].y - 2);
  pDC->LineTo(p[3].x, p[3].y - 2);
  pDC->LineTo(p[4].x - 1, p[4].y - 2);
  pDC->LineTo(p[5].x - 1, p[5].y - 1);
  pDC->SelectObject(pOldPen);
  pDC->SelectObject(pOldBrush);
  delete[] p;
}

void SECWorkbook::DrawTabLabel(CDC* pDC, SECWorksheet* pSheet) {
  LPPOINT p = nullptr;
  int nCount = 0;
  GetTabPoints(pSheet, p, nCount);
  const int nIcon = m_bShowIcons ? kIconSize : 0;
  if (HICON hIcon = GetSheetIcon(pSheet))
    ::DrawIconEx(pDC->GetSafeHdc(), p[2].x + 5, p[0].y + 2, hIcon, nIcon, nIcon, 0, nullptr, DI_NORMAL);
  const COLORREF clrOld = pDC->SetTextColor(IsSheetActive(pSheet) ? RGB(0, 0, 0) : RGB(255, 255, 255));
  CRect rcLabel;
  GetTabLabelRect(p, nIcon, rcLabel);
  delete[] p;
  CFont* pOldFont = pDC->SelectObject(&m_fontTab);
  const CString strLabel = SECShortenTabLabel(pDC, GetSheetLabel(pSheet), rcLabel.Width());
  if (!strLabel.IsEmpty()) pDC->DrawText(strLabel, &rcLabel, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  pDC->SelectObject(pOldFont);
  pDC->SetTextColor(clrOld);
}

void SECWorkbook::DrawStripBorder(CDC* pDC) {
  const CRect c = ClientInFrame();
  CPen* pOldPen = pDC->SelectObject(&m_penWhite);
  pDC->MoveTo(c.right, c.top);
  pDC->LineTo(c.left, c.top);
  pDC->LineTo(c.left, c.bottom);
  pDC->SelectObject(&m_penBlack);
  pDC->LineTo(c.right, c.bottom);
  pDC->LineTo(c.right, c.top);
  int mL = 0, mR = 0, mT = 0, mB = 0;
  if (m_pClient != nullptr) m_pClient->GetMargins(mL, mR, mT, mB);
  pDC->SelectObject(&m_penShadow);
  pDC->MoveTo(c.left - mL, c.top - mT);
  pDC->LineTo(c.right + mR, c.top - mT);
  pDC->SelectObject(&m_penWhite);
  pDC->MoveTo(c.left - mL, c.top - mT + 1);
  pDC->LineTo(c.right + mR, c.top - mT + 1);
  pDC->SelectObject(pOldPen);
}

void SECWorkbook::OnPaint() {
  CPaintDC dc(this);
  CRect rcClientArea;
  if (m_hWndMDIClient != nullptr) ::GetClientRect(m_hWndMDIClient, &rcClientArea);
  if (!m_bWorkbookMode || rcClientArea.IsRectEmpty()) return;
  const int nOldMode = dc.SetBkMode(TRANSPARENT);
  for (int i = 0; i < GetSheetCount(); ++i) {
    SECWorksheet* pSheet = GetSheet(i);
    if (!IsSheetVisible(pSheet)) continue;
    DrawTab(&dc, pSheet);
    DrawTabLabel(&dc, pSheet);
  }
  DrawStripBorder(&dc);
  auto* pActive = dynamic_cast<SECWorksheet*>(GetActiveFrame());
  if (GetSheetCount() > 0 && pActive != nullptr && IsSheetVisible(pActive)) {
    // The active tab lies over its neighbours.
    DrawTab(&dc, pActive);
    DrawTabLabel(&dc, pActive);
  }
  dc.SetBkMode(nOldMode);
  if (m_bEraseStrip && rcClientArea != m_rcLastMDIClient) {
    m_rcLastMDIClient = rcClientArea;
    InvalidateRect(nullptr, FALSE);
  }
}

BOOL SECWorkbook::OnEraseBkgnd(CDC* pDC) {
  const CRect rcMDI = ClientInFrame();
  pDC->ExcludeClipRect(&rcMDI);
  CRect rcTarget;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rcTarget);
  if (rcTarget.IsRectEmpty()) return TRUE;
  CBrush brush(::GetSysColor(COLOR_BTNFACE));
  CBrush* pOldBrush = pDC->SelectObject(&brush);
  if (m_bEraseStrip) {
    CRect rcStrip;
    GetTabStripRect(rcStrip);
    pDC->PatBlt(rcStrip.left, rcStrip.top, rcStrip.Width(), rcStrip.Height(), PATCOPY);
    InvalidateRect(nullptr, FALSE);
  } else {
    pDC->PatBlt(rcTarget.left, rcTarget.top, rcTarget.Width(), rcTarget.Height(), PATCOPY);
  }
  pDC->SelectObject(pOldBrush);
  CRect rcFrame;
  GetClientRect(&rcFrame);
  if (rcTarget.bottom != rcFrame.bottom) {
    pDC->FillSolidRect(rcTarget.left, rcTarget.bottom - 1, rcTarget.Width(), 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(rcTarget.left, rcTarget.bottom - 2, rcTarget.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));
  }
  if (rcTarget.right != rcFrame.right) {
    pDC->FillSolidRect(rcTarget.right - 1, rcTarget.top + 1, 1, rcTarget.Height() - 1,
                       ::GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(rcTarget.right - 2, rcTarget.top, 1, rcTarget.Height() - 2, ::GetSysColor(COLOR_BTNSHADOW));
  }
  return TRUE;
}

// ---- repaint bands ----

CRect SECWorkbook::GetTabInvalidRect(SECWorksheet* pSheet, BOOL bToEnd) {
  const CRect c = ClientInFrame();
  CRect rcFrame;
  GetClientRect(&rcFrame);
  CRect rc;
  // The band starts where the tab polygon starts, and is wide enough for the active widening.
  rc.left = TabSlot(pSheet) * m_nTabWidth + c.left - 2 - m_nActiveWidening / 2;
  rc.top = c.bottom;
  rc.bottom = rc.top + m_nTabHeight + m_nActiveDeepening + 4;
  rc.right = bToEnd ? rcFrame.right : rc.left + m_nTabWidth + 4 + m_nActiveWidening;
  return rc;
}

void SECWorkbook::InvalidateTab(SECWorksheet* pSheet, BOOL bToEnd) {
  if (m_hWnd == nullptr || pSheet == nullptr) return;
  const CRect rc = GetTabInvalidRect(pSheet, bToEnd);
  InvalidateRect(&rc, TRUE);
}

void SECWorkbook::InvalidateAllTabs() {
  if (m_hWnd == nullptr) return;
  const CRect c = ClientInFrame();
  CRect rcFrame;
  GetClientRect(&rcFrame);
  const CRect rc(rcFrame.left, c.bottom, rcFrame.right, c.bottom + m_nTabHeight + m_nActiveDeepening + 4);
  InvalidateRect(&rc, TRUE);
}

// ---- sheets ----

void SECWorkbook::AddSheet(SECWorksheet* pSheet) {
  pSheet->m_nIndex = static_cast<int>(m_worksheets.Add(pSheet));
  const int nWidth = CalcTabWidth();
  if (nWidth != m_nTabWidth) {
    m_nTabWidth = nWidth;
    if (m_bWorkbookMode) InvalidateAllTabs();
  } else if (m_bWorkbookMode) {
    if (GetSheetCount() < 2)
      Invalidate();
    else
      InvalidateTab(pSheet);
  }
  if (m_pToolTip == nullptr) {
    m_pToolTip = new CToolTipCtrl;
    if (!m_pToolTip->Create(this)) {
      delete m_pToolTip;
      m_pToolTip = nullptr;
    } else {
      m_pToolTip->Activate(TRUE);
      EnableToolTips(TRUE);
    }
  }
}

void SECWorkbook::RemoveSheet(SECWorksheet* pSheet) {
  int nFound = -1;
  for (int i = 0; i < GetSheetCount() && nFound < 0; ++i)
    if (GetSheet(i) == pSheet) nFound = i;
  if (nFound < 0) return;
  m_worksheets.RemoveAt(nFound);
  // Renumbered always: tab slots and tip ids come from the indexes.
  for (int i = nFound; i < GetSheetCount(); ++i) GetSheet(i)->m_nIndex = i;
  if (GetSheetCount() > 0 && CalcTabWidth() != m_nTabWidth) {
    m_nTabWidth = CalcTabWidth();
    if (m_bWorkbookMode) InvalidateAllTabs();
  } else if (m_bWorkbookMode) {
    if (GetSheetCount() > 0) {
      InvalidateTab(pSheet, TRUE);
    } else {
      Invalidate();
    }
  }
}

SECWorksheet* SECWorkbook::SheetFromPoint(CPoint point, BOOL bSkipActive) {
  for (int i = 0; i < GetSheetCount(); ++i) {
    SECWorksheet* pSheet = GetSheet(i);
    if (!IsSheetVisible(pSheet) || (bSkipActive && IsSheetActive(pSheet))) continue;
    LPPOINT p = nullptr;
    int nCount = 0;
    GetTabPoints(pSheet, p, nCount);
    CRgn rgn;
    rgn.CreatePolygonRgn(p, nCount, ALTERNATE);
    delete[] p;
    if (rgn.PtInRegion(point)) return pSheet;
  }
  return nullptr;
}

void SECWorkbook::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bWorkbookMode) {
    SECWorksheet* pSheet = SheetFromPoint(point, TRUE);
    if (pSheet != nullptr && CanActivateSheet(pSheet)) {
      pSheet->m_bPressed = TRUE;
      UpdateWindow();
      pSheet->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
  }
  SECMDIFrameWnd::OnLButtonDown(nFlags, point);
}

void SECWorkbook::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bWorkbookMode)
    for (int i = 0; i < GetSheetCount(); ++i) GetSheet(i)->m_bPressed = FALSE;
  SECMDIFrameWnd::OnLButtonUp(nFlags, point);
}

INT_PTR SECWorkbook::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  auto* pThis = const_cast<SECWorkbook*>(this);
  for (int i = 0; i < GetSheetCount(); ++i) {
    SECWorksheet* pSheet = GetSheet(i);
    LPPOINT p = nullptr;
    int nCount = 0;
    pThis->GetTabPoints(pSheet, p, nCount);
    CRgn rgn;
    rgn.CreatePolygonRgn(p, nCount, ALTERNATE);
    delete[] p;
    if (!rgn.PtInRegion(point)) continue;
    if (pThis->TabLabelFits(pSheet)) return -1;
    if (pTI != nullptr) {
      CRect rcBox;
      rgn.GetRgnBox(&rcBox);
      pTI->hwnd = m_hWnd;
      pTI->uId = static_cast<UINT_PTR>(pSheet->m_nIndex + 1);
      pTI->rect = rcBox;
      const CString strLabel = pThis->GetSheetLabel(pSheet);
      pTI->lpszText = ::strdup(strLabel);
    }
    return pSheet->m_nIndex + 1;
  }
  return -1;
}

LRESULT SECWorkbook::OnActiveSheetChanged(WPARAM, LPARAM) {
  if (m_nLastActive >= 0 && m_nLastActive < GetSheetCount()) InvalidateTab(GetSheet(m_nLastActive));
  CFrameWnd* pActive = GetActiveFrame();
  int nActive = GetSheetCount();
  for (int i = 0; i < GetSheetCount(); ++i)
    if (GetSheet(i) == pActive) nActive = i;
  m_nLastActive = GetSheetCount() == 0 ? 0 : nActive;
  if (nActive < GetSheetCount()) InvalidateTab(GetSheet(nActive));
  BOOL bMaximized = FALSE;
  MDIGetActive(&bMaximized);
  if (!bMaximized) UpdateWindow();
  return 0;
}

void SECWorkbook::RecalcLayout(BOOL bNotify) {
  SECMDIFrameWnd::RecalcLayout(bNotify);
  if (m_bWorkbookMode) {
    CRect rcLayout;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rcLayout);
    if (rcLayout != m_rcLastLayout && GetSheetCount() > 0) m_nTabWidth = CalcTabWidth();
    m_rcLastLayout = rcLayout;
  }
  Invalidate(TRUE);
}
