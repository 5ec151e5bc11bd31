// SECControlBar: per-state sizes, the row share, gripper buttons and their mouse handling, the
// right-click menu, proportional child layout and the bar's saved record.
#include "bars/SECControlBar.h"

#include <cstdlib>
#include <cstring>

#include "bars/SECControlBarInfo.h"
#include "bars/SECControlBarManager.h"
#include "bars/SECDockBar.h"
#include "bars/SECDockContext.h"

IMPLEMENT_DYNAMIC(SECGripperInfo, CObject)
IMPLEMENT_DYNCREATE(SECControlBar, CControlBar)

int& SECRedrawSuppression() {
  static int value = 1;
  return value;
}

namespace {

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

}  // namespace

SECGripperInfo::SECGripperInfo()
    : m_strHide(LoadText(IDS_SEC_HIDEBAR)),
      m_strExpand(LoadText(IDS_SEC_EXPANDBAR)),
      m_strContract(LoadText(IDS_SEC_CONTRACTBAR)) {}

int SECGripperInfo::GetWidth() const {
  int sum = 0;
  for (int w : m_cxWidths) sum += w;
  return sum;
}

int SECGripperInfo::GetHeight() const {
  int sum = 0;
  for (int h : m_cyHeights) sum += h;
  return sum;
}

BEGIN_MESSAGE_MAP(SECControlBar, CControlBar)
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_CONTEXTMENU()
  ON_WM_HELPINFO()
  ON_WM_DESTROY()
  ON_WM_ERASEBKGND()
  ON_COMMAND(ID_SEC_HIDE, OnHide)
  ON_COMMAND(ID_SEC_ALLOWDOCKING, OnAllowDocking)
  ON_COMMAND(ID_SEC_MDIFLOAT, OnFloatInMainWindow)
END_MESSAGE_MAP()

SECControlBar::SECControlBar() {
  m_rectClose.SetRectEmpty();
  m_rectExpand.SetRectEmpty();
  m_rectChildrenClient.SetRectEmpty();
}

SECControlBar::~SECControlBar() {
  if (SECDockBar* dock = GetSECDockBar()) dock->ForgetBar(this);
}

// ---- creation ----

BOOL SECControlBar::Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                           CCreateContext* pContext) {
  if (!AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG)) return FALSE;
  return CreateEx(AFX_WNDCONTROLBAR, lpszWindowName, nID, dwStyle, dwExStyle, CRect(0, 0, 0, 0), pParentWnd,
                  pContext);
}

BOOL SECControlBar::CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, UINT nID, DWORD dwStyle,
                             DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext) {
  m_dwExStyle = dwExStyle;
  m_dwStyle = dwStyle & CBRS_ALL;
  DWORD windowStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | WS_CHILD;
  if (!CWnd::Create(lpszClassName, lpszWindowName, windowStyle, rect, pParentWnd, nID, pContext)) return FALSE;
  if (m_dwExStyle & CBRS_EX_ALLOW_MULTIPLE_CHILDREN) RecordChildren();
  m_szHorzDock = m_szVertDock = m_szFloat = CSize(SEC_DEFAULT_BAR_CX, SEC_DEFAULT_BAR_CY);
  EnableToolTips(TRUE);
  return TRUE;
}

CDockContext* SECControlBar::CreateDockContext() { return new SECDockContext(this); }

void SECControlBar::RecordChildren() {
  m_children.clear();
  GetClientRect(&m_rectChildrenClient);
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CRect rect;
    ::GetWindowRect(child, &rect);
    ScreenToClient(&rect);
    m_children.push_back({child, rect});
  }
  m_bChildrenRecorded = true;
}

void SECControlBar::SetExBarStyle(DWORD dwExStyle, BOOL bRecalc) {
  const DWORD old = m_dwExStyle;
  if (IsFloating() && m_hWnd != nullptr) {
    if (CFrameWnd* frame = GetParentFrame()) {
      // Sized along one dimension, the frame's four sides still size it (not its corners): the
      // sizing border stays.
      if (dwExStyle & CBRS_EX_STRETCH_ONE_DIMENSION)
        frame->ModifyStyle(MFS_THICKFRAME, MFS_4THICKFRAME);
      else
        frame->ModifyStyle(MFS_4THICKFRAME, MFS_THICKFRAME | WS_THICKFRAME);
    }
  }
  if ((old ^ dwExStyle) & CBRS_EX_ALLOW_MULTIPLE_CHILDREN) {
    m_children.clear();
    m_bChildrenRecorded = false;
    if ((dwExStyle & CBRS_EX_ALLOW_MULTIPLE_CHILDREN) && m_hWnd != nullptr) {
      m_dwExStyle = dwExStyle;
      RecordChildren();
    }
  }
  m_dwExStyle = dwExStyle;
  if (old != dwExStyle && bRecalc && m_hWnd != nullptr)
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void SECControlBar::ModifyExBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRecalc) {
  SetExBarStyle((m_dwExStyle & ~dwRemove) | dwAdd, bRecalc);
}

SECDockBar* SECControlBar::GetSECDockBar() const {
  return m_pDockBar != nullptr && m_pDockBar->IsKindOf(RUNTIME_CLASS(SECDockBar)) ? static_cast<SECDockBar*>(m_pDockBar)
                                                                                   : nullptr;
}

BOOL SECControlBar::IsMDIChild() const {
  SECDockBar* dock = GetSECDockBar();
  return dock != nullptr && dock->m_bMDIFloat;
}

// ---- sizes ----

CSize SECControlBar::CalcFixedLayout(BOOL, BOOL bHorz) { return bHorz ? m_szHorzDock : m_szVertDock; }

CSize SECControlBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (nMode & LM_COMMIT) {
    int value = nLength;
    if (nMode & LM_STRETCH) value = static_cast<int>(static_cast<float>(nLength) * m_fPctWidth);
    const bool y = (nMode & LM_LENGTHY) != 0;
    if (nMode & LM_HORZDOCK) {
      (y ? m_szHorzDock.cy : m_szHorzDock.cx) = value;
    } else if (nMode & LM_VERTDOCK) {
      (y ? m_szVertDock.cy : m_szVertDock.cx) = value;
    } else if (y) {
      m_szFloat.cy = value;
    } else {
      m_szFloat.cx = value;
      m_nMRUWidth = static_cast<UINT>(std::max(value, 0));
    }
  }
  if (!(nMode & (LM_HORZDOCK | LM_VERTDOCK))) return m_szFloat;
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

BOOL SECControlBar::GripperShown() const { return (m_dwExStyle & CBRS_EX_GRIPPER) && IsDocked(); }

void SECControlBar::GetInsideRect(CRect& rectInside) const {
  GetClientRect(&rectInside);
  rectInside = InsideArea(rectInside.Width(), rectInside.Height());
}

CRect SECControlBar::InsideArea(int cx, int cy) const {
  const int margin = m_gripper.m_nMargin;
  if (GripperShown()) {
    if (IsHorzDocked()) {
      const int gw = m_gripper.GetWidth();
      return CRect(CPoint(gw, margin), CSize(std::max(cx - margin - gw, 0), std::max(cy - 2 * margin, 0)));
    }
    const int gh = m_gripper.GetHeight();
    return CRect(CPoint(margin, gh), CSize(std::max(cx - 2 * margin, 0), std::max(cy - margin - gh, 0)));
  }
  if (m_dwExStyle & CBRS_EX_INNER_MARGINS) {
    const CRect& m = m_rcInnerMargins;
    return CRect(CPoint(m.left, m.top),
                 CSize(std::max<int>(cx - m.left - m.right, 0), std::max<int>(cy - m.top - m.bottom, 0)));
  }
  return CRect(0, 0, cx, cy);
}

void SECControlBar::CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bGripper) const {
  if (!(m_dwExStyle & CBRS_EX_THIN_BORDERS)) {
    CControlBar::CalcInsideRect(rect, bHorz);
    return;
  }
  InsetBordersAndGripper(rect, bHorz, bGripper, 1);
}

void SECControlBar::InsetBordersAndGripper(CRect& rect, BOOL bHorz, BOOL bGripper, int nBorder) const {
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += nBorder;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += nBorder;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= nBorder;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= nBorder;
  if (bGripper && GripperShown()) {
    CSize extent(0, 0);
    AddGripperExtent(extent, bHorz);
    if (bHorz)
      rect.left += extent.cx;
    else
      rect.top += extent.cy;
  } else if (bHorz) {
    rect.left += m_cxLeftBorder;
  } else {
    rect.top += m_cxLeftBorder;
  }
  if (bHorz) {
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

int SECControlBar::AddGripperExtent(CSize& size, BOOL bHorz) const {
  const int amount = bHorz ? m_gripper.GetWidth() : m_gripper.GetHeight();
  (bHorz ? size.cx : size.cy) += amount;
  return amount;
}

// ---- painting ----

void SECControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  if (!(m_dwStyle & CBRS_BORDER_ANY)) return;
  if (m_dwExStyle & CBRS_EX_THIN_BORDERS) {
    if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += 1;
    if (m_dwStyle & CBRS_BORDER_TOP) rect.top += 1;
    if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= 1;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= 1;
    if (m_dwExStyle & CBRS_EX_GRIPPER) DrawGripper(pDC, rect);
    return;
  }
  const bool threeD = (m_dwExStyle & CBRS_EX_BORDER_3D) != 0;
  const COLORREF dark = ::GetSysColor(threeD ? COLOR_BTNSHADOW : COLOR_BTNFACE);
  const COLORREF light = ::GetSysColor(threeD ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE);
  const bool inner = (m_dwStyle & CBRS_BORDER_3D) != 0;
  CRect r = rect;
  if (m_dwStyle & CBRS_BORDER_LEFT) pDC->FillSolidRect(r.left, r.top, 1, r.Height(), dark);
  if (m_dwStyle & CBRS_BORDER_TOP) pDC->FillSolidRect(r.left, r.top, r.Width(), 1, dark);
  if (m_dwStyle & CBRS_BORDER_RIGHT) pDC->FillSolidRect(r.right - 1, r.top, 1, r.Height(), dark);
  if (m_dwStyle & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, dark);
  if (inner) {
    if (m_dwStyle & CBRS_BORDER_LEFT) pDC->FillSolidRect(r.left + 1, r.top, 1, r.Height(), light);
    if (m_dwStyle & CBRS_BORDER_TOP) pDC->FillSolidRect(r.left, r.top + 1, r.Width(), 1, light);
    if (m_dwStyle & CBRS_BORDER_RIGHT) pDC->FillSolidRect(r.right - 2, r.top, 1, r.Height(), light);
    if (m_dwStyle & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(r.left, r.bottom - 2, r.Width(), 1, light);
  }
  const int cx = ::GetSystemMetrics(SM_CXBORDER) * 2, cy = ::GetSystemMetrics(SM_CYBORDER) * 2;
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += cx;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += cy;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= cx;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= cy;
}

void SECControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
  if (!IsDocked()) return;
  CRect strip = rect;
  strip.DeflateRect(1, 1);
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
  if (IsHorzDocked()) {
    strip.right = strip.left + m_gripper.GetWidth();
    strip.DeflateRect(0, 3);
    if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) PlaceCloseButton(pDC, strip, TRUE);
    if (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) PlaceExpandButton(pDC, strip, TRUE);
    if (strip.Height() > 0) pDC->Draw3dRect(strip.left + 4, strip.top, 3, strip.Height(), light, dark);
  } else {
    strip.bottom = strip.top + m_gripper.GetHeight();
    strip.DeflateRect(3, 0);
    if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) PlaceCloseButton(pDC, strip, FALSE);
    if (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) PlaceExpandButton(pDC, strip, FALSE);
    if (strip.Width() > 0) pDC->Draw3dRect(strip.left, strip.top + 4, strip.Width(), 3, light, dark);
  }
}

// The square button at the near end of the gripper strip; the strip then starts after it.
static CRect TakeButton(CRect& strip, BOOL bHorz, int lastExtent) {
  CRect button;
  if (bHorz) {
    const int left = strip.left + 2;
    const int size = std::max<int>(std::min<int>(strip.right - lastExtent + 2, strip.right) - left, 0);
    button.SetRect(left, strip.top, left + size, strip.top + size);
    strip.top = button.bottom + 2;
  } else {
    const int top = strip.top + 2;
    const int size = std::max<int>(std::min<int>(strip.bottom - lastExtent + 2, strip.bottom) - top, 0);
    button.SetRect(strip.right - size, top, strip.right, top + size);
    strip.right = button.left - 2;
  }
  return button;
}

void SECControlBar::PlaceCloseButton(CDC* pDC, CRect& rectStrip, BOOL bHorz) {
  m_rectClose = TakeButton(rectStrip, bHorz, bHorz ? m_gripper.m_cxWidths[4] : m_gripper.m_cyHeights[4]);
  if (m_bClosePressed)
    DrawCloseButtonPressed(pDC);
  else
    DrawCloseButton(pDC);
}

void SECControlBar::DrawCloseButtonPressed(CDC* pDC) {
  CRect rect = m_rectClose;
  pDC->DrawFrameControl(&rect, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
}

void SECControlBar::DrawCloseButton(CDC* pDC) {
  CRect rect = m_rectClose;
  pDC->DrawFrameControl(&rect, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

void SECControlBar::PlaceExpandButton(CDC* pDC, CRect& rectStrip, BOOL bHorz) {
  UpdateExpandState(bHorz);
  m_rectExpand = TakeButton(rectStrip, bHorz, bHorz ? m_gripper.m_cxWidths[4] : m_gripper.m_cyHeights[4]);
  if (m_bExpandPressed)
    DrawExpandButtonPressed(pDC);
  else
    DrawExpandButton(pDC);
}

static UINT ExpandGlyph(BOOL horz, BOOL direction, BOOL enabled) {
  UINT state = horz ? (direction ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) : (direction ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
  if (!enabled) state |= DFCS_INACTIVE;
  return state;
}

void SECControlBar::DrawExpandButtonPressed(CDC* pDC) {
  CRect rect = m_rectExpand;
  rect.InflateRect(1, 1, 0, 0);
  pDC->DrawFrameControl(&rect, DFC_SCROLL, ExpandGlyph(m_bExpandHorz, m_bExpandDirection, m_bExpandEnabled) | DFCS_PUSHED);
}

void SECControlBar::DrawExpandButton(CDC* pDC) {
  CRect rect = m_rectExpand;
  rect.InflateRect(1, 1, 0, 0);
  pDC->DrawFrameControl(&rect, DFC_SCROLL, ExpandGlyph(m_bExpandHorz, m_bExpandDirection, m_bExpandEnabled));
}

void SECControlBar::UpdateExpandState(BOOL bHorz) {
  m_bExpandHorz = bHorz;
  SECDockBar* dock = GetSECDockBar();
  if (dock == nullptr) return;
  m_bExpandDirection = !dock->IsOnlySizedBarInRow(this);
  m_bExpandEnabled = !dock->IsAloneInRow(this);
}

void SECControlBar::DoPaint(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
  if (!(m_dwExStyle & CBRS_EX_THIN_BORDERS) && (m_dwExStyle & CBRS_EX_GRIPPER)) DrawGripper(pDC, rect);
  if (m_hWndRedrawChild != nullptr && ::IsWindow(m_hWndRedrawChild))
    ::RedrawWindow(m_hWndRedrawChild, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

CPoint SECControlBar::ClientOrigin() const {
  CRect window;
  GetWindowRect(&window);
  CPoint origin(0, 0);
  ClientToScreen(&origin);
  return origin - window.TopLeft();
}

void SECControlBar::ClipToNonClient(CDC& dc, CRect& rect) const {
  CRect client;
  GetClientRect(&client);
  ClientToScreen(&client);
  GetWindowRect(&rect);
  client.OffsetRect(-rect.left, -rect.top);
  dc.ExcludeClipRect(&client);
  rect.OffsetRect(-rect.left, -rect.top);
}

void SECControlBar::EraseNonClient() {
  CWindowDC dc(this);
  CRect window;
  ClipToNonClient(dc, window);
  DrawBorders(&dc, window);
  dc.SelectClipRgn(nullptr);
  SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
}

BOOL SECControlBar::OnEraseBkgnd(CDC* pDC) {
  if (m_dwExStyle & CBRS_EX_INNER_MARGINS) {
    CRect client, inside;
    GetClientRect(&client);
    GetInsideRect(inside);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    pDC->FillSolidRect(client.left, client.top, client.Width(), inside.top - client.top, face);
    pDC->FillSolidRect(client.left, inside.bottom, client.Width(), client.bottom - inside.bottom, face);
    pDC->FillSolidRect(client.left, inside.top, inside.left - client.left, inside.Height(), face);
    pDC->FillSolidRect(inside.right, inside.top, client.right - inside.right, inside.Height(), face);
  }
  return CControlBar::OnEraseBkgnd(pDC);
}

void SECControlBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

// ---- children ----

void SECControlBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  if (nType == SIZE_MINIMIZED || cx < 1 || cy < 1) return;
  CRect inside = InsideArea(cx, cy);
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (SECRedrawSuppression() > 0) flags |= SWP_NOREDRAW;
  if ((m_dwExStyle & CBRS_EX_ALLOW_MULTIPLE_CHILDREN)) {
    // A list made before the bar had a size (Create uses an empty rectangle) is made again now,
    // so nothing is divided by a zero width or height.
    if (!m_bChildrenRecorded || m_rectChildrenClient.Width() <= 0 || m_rectChildrenClient.Height() <= 0)
      RecordChildren();
    const int recordedW = m_rectChildrenClient.Width(), recordedH = m_rectChildrenClient.Height();
    if (m_children.empty() || recordedW <= 0 || recordedH <= 0) return;
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(m_children.size()));
    for (const ChildPlace& child : m_children) {
      if (!::IsWindow(child.hWnd)) continue;
      CRect r(child.rect.left * inside.Width() / recordedW, child.rect.top * inside.Height() / recordedH,
              child.rect.right * inside.Width() / recordedW, child.rect.bottom * inside.Height() / recordedH);
      r.OffsetRect(inside.TopLeft());
      hdwp = ::DeferWindowPos(hdwp, child.hWnd, nullptr, r.left, r.top, r.Width(), r.Height(), flags);
    }
    ::EndDeferWindowPos(hdwp);
    if (IsFloating()) Invalidate();
  } else if (m_dwExStyle & CBRS_EX_FIT_FIRST_CHILD) {
    HWND first = ::GetWindow(m_hWnd, GW_CHILD);
    if (first != nullptr)
      ::SetWindowPos(first, nullptr, inside.left, inside.top, inside.Width(), inside.Height(), flags);
  }
}

// ---- gripper buttons ----

BOOL SECControlBar::OnCloseButton(CPoint point) const {
  return (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rectClose.PtInRect(point);
}

BOOL SECControlBar::OnExpandButton(CPoint point) const {
  return (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_rectExpand.PtInRect(point);
}

BOOL SECControlBar::FloatsOutsideDockFrame() const {
  if (!IsFloating()) return FALSE;
  CFrameWnd* frame = GetParentFrame();
  return frame == nullptr || !frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd));
}

void SECControlBar::RedrawButtons() {
  if (m_hWnd == nullptr) return;
  // The buttons' rectangles are client coordinates, but a bar may draw its gripper outside the
  // client area: the window's DC with its origin moved to the client's reaches both.
  CWindowDC dc(this);
  dc.SetViewportOrg(ClientOrigin());
  if (!m_rectClose.IsRectEmpty() && (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE)) {
    if (m_bClosePressed)
      DrawCloseButtonPressed(&dc);
    else
      DrawCloseButton(&dc);
  }
  if (!m_rectExpand.IsRectEmpty() && (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND)) {
    if (m_bExpandPressed)
      DrawExpandButtonPressed(&dc);
    else
      DrawExpandButton(&dc);
  }
}

void SECControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!IsDocked()) {
    m_bClosePressed = m_bExpandPressed = FALSE;
  } else if (OnCloseButton(point) && CanPressCloseButton()) {
    m_bClosePressed = TRUE;
    RedrawButtons();
    SetCapture();
    return;
  } else if (OnExpandButton(point) && m_bExpandEnabled && CanPressExpandButton()) {
    m_bExpandPressed = TRUE;
    RedrawButtons();
    SetCapture();
    return;
  }
  if (m_bClosePressed || m_bExpandPressed) {
    m_bClosePressed = m_bExpandPressed = FALSE;
    RedrawButtons();
  }
  if (FloatsOutsideDockFrame()) {
    Default();
    return;
  }
  CControlBar::OnLButtonDown(nFlags, point);
}

void SECControlBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_bClosePressed) {
    m_bClosePressed = FALSE;
    RedrawButtons();
    if (OnCloseButton(point)) SendMessage(WM_COMMAND, ID_SEC_HIDE);
    return;
  }
  if (m_bExpandPressed) {
    m_bExpandPressed = FALSE;
    RedrawButtons();
    if (OnExpandButton(point)) {
      if (SECDockBar* dock = GetSECDockBar()) dock->ExpandBar(this, m_bExpandDirection ? 1 : 2);
    }
    return;
  }
  CControlBar::OnLButtonUp(nFlags, point);
}

void SECControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (IsDocked() && (OnCloseButton(point) || OnExpandButton(point))) return;
  if (FloatsOutsideDockFrame()) {
    Default();
    return;
  }
  CControlBar::OnLButtonDblClk(nFlags, point);
}

INT_PTR SECControlBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  if (!(m_dwStyle & CBRS_TOOLTIPS)) return -1;
  INT_PTR hit = CControlBar::OnToolHitTest(point, pTI);
  if (hit != -1 || !IsDocked()) return hit;
  const CString* text = nullptr;
  UINT id = 0;
  CRect rect;
  if (OnCloseButton(point)) {
    id = SEC_TOOLID_CLOSE;
    text = &m_gripper.m_strHide;
    rect = m_rectClose;
  } else if (OnExpandButton(point)) {
    id = SEC_TOOLID_EXPAND;
    text = m_bExpandDirection ? &m_gripper.m_strExpand : &m_gripper.m_strContract;
    rect = m_rectExpand;
  } else {
    return -1;
  }
  if (pTI != nullptr && pTI->cbSize >= TTTOOLINFOA_V1_SIZE) {
    pTI->hwnd = m_hWnd;
    pTI->uId = id;
    pTI->rect = rect;
    pTI->lpszText = ::strdup(static_cast<LPCTSTR>(*text));
  }
  return static_cast<INT_PTR>(id);
}

// ---- context menu and its commands ----

void SECControlBar::OnContextMenu(CWnd* pWnd, CPoint point) {
  if (!(m_dwExStyle & CBRS_EX_STDCONTEXTMENU)) {
    Default();
    return;
  }
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  const UINT check = (m_dwDockStyle & CBRS_ALIGN_ANY) ? MF_CHECKED : MF_UNCHECKED;
  menu.AppendMenu(MF_STRING | check, ID_SEC_ALLOWDOCKING, LoadText(ID_SEC_ALLOWDOCKING));
  menu.AppendMenu(MF_STRING, ID_SEC_HIDE, LoadText(ID_SEC_HIDE));
  OnExtendContextMenu(&menu);
  if (m_pDockContext != nullptr && m_pDockContext->m_pDockSite != nullptr)
    m_pDockContext->m_pDockSite->SendMessage(WM_SEC_EXTENDCONTEXTMENU, reinterpret_cast<WPARAM>(this),
                                             reinterpret_cast<LPARAM>(&menu));
  if (point.x == -1 && point.y == -1) {
    // From the keyboard: a quarter of the way across the window, 10 pixels down.
    CWnd* origin = pWnd != nullptr ? pWnd : this;
    CRect client;
    origin->GetClientRect(&client);
    point = CPoint(client.Width() / 4, 10);
    origin->ClientToScreen(&point);
  }
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

void SECControlBar::OnExtendContextMenu(CMenu*) {}

BOOL SECControlBar::OnHelpInfo(HELPINFO* pHelpInfo) {
  // F1 on an item of the bar's own menu (the menu's owner is the bar, not the frame that tracks
  // the items of its menus): help on that item's command.
  if (pHelpInfo != nullptr && pHelpInfo->iContextType == HELPINFO_MENUITEM && pHelpInfo->iCtrlId != 0) {
    if (CWinApp* pApp = AfxGetApp()) {
      pApp->WinHelp(HID_BASE_COMMAND + static_cast<DWORD_PTR>(pHelpInfo->iCtrlId), HELP_CONTEXT);
      return TRUE;
    }
  }
  return CControlBar::OnHelpInfo(pHelpInfo);
}

void SECControlBar::OnHide() {
  CFrameWnd* frame = m_pDockSite != nullptr ? m_pDockSite : GetParentFrame();
  if (frame != nullptr) frame->ShowControlBar(this, FALSE, FALSE);
}

void SECControlBar::OnAllowDocking() {
  if (m_dwDockStyle & CBRS_ALIGN_ANY) {
    m_dwMRUDockingState = m_dwDockStyle;
    if (IsDocked() && m_pDockContext != nullptr) m_pDockContext->ToggleDocking();
    EnableDocking(0);
  } else {
    EnableDocking(m_dwMRUDockingState);
  }
}

void SECControlBar::OnFloatInMainWindow() {
  if (auto* context = dynamic_cast<SECDockContext*>(m_pDockContext)) context->ToggleFloatInMainWindow();
}

// ---- hooks ----

void SECControlBar::OnBarDock() { OnBarDockHook(); }
void SECControlBar::OnBarFloat() { OnBarFloatHook(); }
void SECControlBar::OnBarMDIFloat() { OnBarMDIFloatHook(); }
void SECControlBar::GetBarInfoEx(SECControlBarInfo*) {}
void SECControlBar::SetBarInfoEx(SECControlBarInfo*, CFrameWnd*) {}

// ---- lifetime ----

void SECControlBar::OnDestroy() {
  CFrameWnd* frame = GetDockingFrame();
  if (!IsDockBar()) {
    if (SECDockBar* dock = GetSECDockBar()) dock->ForgetBar(this);
  }
  m_children.clear();
  m_bChildrenRecorded = false;
  CControlBar::OnDestroy();
  if (frame != nullptr && ::IsWindow(frame->m_hWnd)) frame->DelayRecalcLayout(TRUE);
}

// ---- saved record ----

void SECControlBar::GetBarInfo(CControlBarInfo* pInfo) {
  if (auto* info = dynamic_cast<SECControlBarInfo*>(pInfo))
    GetBarInfo(info);
  else
    CControlBar::GetBarInfo(pInfo);
}

void SECControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  if (auto* info = dynamic_cast<SECControlBarInfo*>(pInfo))
    SetBarInfo(info, pFrameWnd);
  else
    CControlBar::SetBarInfo(pInfo, pFrameWnd);
}

void SECControlBar::GetBarInfo(SECControlBarInfo* pInfo) {
  CControlBar::GetBarInfo(pInfo);
  pInfo->m_nBarID &= 0xFFFF;
  if (auto* context = dynamic_cast<SECDockContext*>(m_pDockContext)) pInfo->m_bPrevFloating = context->m_bPrevFloating;
  pInfo->m_szFloat = m_szFloat;
  pInfo->m_szHorzDock = m_szHorzDock;
  pInfo->m_szVertDock = m_szVertDock;
  pInfo->m_dwMRUDockingState = m_dwMRUDockingState;
  pInfo->m_dwDockStyle = m_dwDockStyle;
  pInfo->m_fPctWidth = m_fPctWidth;
  pInfo->m_dwStyle = m_dwStyle;
  pInfo->m_dwExStyle = m_dwExStyle;
  if (m_pManager != nullptr) pInfo->m_dwTypeID = m_pManager->GetBarTypeID(this);
  pInfo->m_strClassName = GetRuntimeClass()->m_lpszClassName;
  GetWindowText(pInfo->m_strWindowName);
  GetBarInfoEx(pInfo);
}

void SECControlBar::SetBarInfo(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  m_nMRUWidth = pInfo->m_nMRUWidth;
  // A size the record does not know (0: missing, or refused as no screen's) leaves the bar's own.
  const auto take = [](CSize& own, CSize saved) {
    if (saved.cx > 0) own.cx = saved.cx;
    if (saved.cy > 0) own.cy = saved.cy;
  };
  take(m_szFloat, pInfo->m_szFloat);
  take(m_szHorzDock, pInfo->m_szHorzDock);
  take(m_szVertDock, pInfo->m_szVertDock);
  m_dwMRUDockingState = pInfo->m_dwMRUDockingState;
  m_dwDockStyle = pInfo->m_dwDockStyle;
  m_fPctWidth = pInfo->m_fPctWidth;
  SetBarStyle(pInfo->m_dwStyle & CBRS_ALL);
  if (pInfo->m_bDocking && m_pDockContext != nullptr) {
    const UINT id = pInfo->m_uMRUDockID;
    m_pDockContext->m_uMRUDockID = id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM ? id : 0;
    m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
    m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
    m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    if (auto* context = dynamic_cast<SECDockContext*>(m_pDockContext)) context->m_bPrevFloating = pInfo->m_bPrevFloating;
  }
  if (pInfo->m_pExtension != nullptr) SetBarInfoEx(pInfo, pFrameWnd);
  UINT flags = SWP_NOSIZE | SWP_NOZORDER;
  if (m_pDockBar == nullptr) flags |= SWP_NOACTIVATE;
  if (pInfo->m_pointPos.x == -1 && pInfo->m_pointPos.y == -1) flags |= SWP_NOMOVE;
  flags |= pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, flags);
}
