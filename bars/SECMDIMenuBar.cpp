// SECMDIMenuBar with its caption and system-menu buttons: shown while the active MDI child is
// maximised, kept first and last, pressed part by part, and drawn with the classic caption glyphs.
#include "bars/SECMDIMenuBar.h"

#include <cstdlib>
#include <vector>

IMPLEMENT_DYNCREATE(SECMDIMenuBar, SECMenuBar)

namespace {

constexpr UINT kMDIButtonID = 0x80000000;
constexpr DWORD kChildBits = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// The active child for a button of the bar.
CMDIChildWnd* ActiveChildOf(SECCustomToolBar* pBar) {
  auto* bar = dynamic_cast<SECMDIMenuBar*>(pBar);
  return bar != nullptr ? bar->ActiveChild() : nullptr;
}

}  // namespace

// ---- the caption button ----

SECBtnCaption::SECBtnCaption()
    : m_cxPart(::GetSystemMetrics(SM_CXSIZE) - 2), m_cyPart(::GetSystemMetrics(SM_CYSIZE) - 4) {
  m_nType = CaptionBtn;
  m_nID = kMDIButtonID;
  m_nStyle = SECMenuBar::kButtonStyle;
}

void SECBtnCaption::AdjustSize() {
  m_cx = 3 * m_cxPart + 2;
  m_cy = m_cyPart;
  // The bar's widest button (its drawing cache) is at least as wide as this one.
  if (m_pToolBar != nullptr) m_pToolBar->RaiseWidestButton(m_cx);
}

CRect SECBtnCaption::PartRect(int nPart) const {
  const int left = m_x + (nPart == 0 ? 0 : nPart == 1 ? m_cxPart : 2 * m_cxPart + 2);
  return CRect(left, m_y, left + m_cxPart, m_y + m_cyPart);
}

int SECBtnCaption::HitTestPart(CPoint point) const {
  if (!(m_dwStyleBits & WS_SYSMENU)) return -1;
  for (int part = (m_dwStyleBits & WS_MINIMIZEBOX) ? 0 : 2; part < 3; ++part)
    if (PartRect(part).PtInRect(point)) return part;
  return -1;
}

BOOL SECBtnCaption::BtnPressed(CPoint point) {
  if (m_nStyle & TBBS_DISABLED) return FALSE;
  m_nHeld = HitTestPart(point);
  if (m_nHeld < 0) return FALSE;
  m_nPressed = m_nHeld;
  ChangeStyle(0, TBBS_PRESSED);
  Invalidate();
  return TRUE;
}

void SECBtnCaption::BtnMouseMove(CPoint point) {
  if (m_nHeld < 0) return;
  const int pressed = HitTestPart(point) == m_nHeld ? m_nHeld : -1;
  if (pressed == m_nPressed) return;
  m_nPressed = pressed;
  Invalidate();
}

void SECBtnCaption::BtnCancel() {
  m_nHeld = m_nPressed = -1;
  ChangeStyle(TBBS_PRESSED, 0);
  Invalidate();
}

UINT SECBtnCaption::BtnReleased(CPoint point) {
  const int part = m_nHeld >= 0 && HitTestPart(point) == m_nHeld ? m_nHeld : -1;
  BtnCancel();
  CMDIChildWnd* child = ActiveChildOf(m_pToolBar);
  if (part >= 0 && child != nullptr) {
    static const UINT commands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    CPoint screen = point;
    m_pToolBar->ClientToScreen(&screen);
    child->PostMessage(WM_SYSCOMMAND, commands[part], MAKELPARAM(screen.x, screen.y));
  }
  return 0;
}

void SECBtnCaption::Draw(CDC& dc, SECBtnDrawCache&) {
  const CRect rect = GetRect();
  dc.FillSolidRect(&rect, ::GetSysColor(COLOR_3DFACE));
  const UINT inactive = (m_dwStyleBits & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE;
  const UINT glyphs[] = {DFCS_CAPTIONMIN | inactive, DFCS_CAPTIONRESTORE | inactive, DFCS_CAPTIONCLOSE};
  for (int part = 0; part < 3; ++part) {
    CRect box = PartRect(part);
    dc.DrawFrameControl(&box, DFC_CAPTION, glyphs[part] | (m_nPressed == part ? DFCS_PUSHED : 0));
  }
}

INT_PTR SECBtnCaption::GetToolInfo(CPoint point, TOOLINFO* pTI) const {
  SECStdBtn::GetToolInfo(point, pTI);
  if (pTI != nullptr) {
    static const UINT codes[] = {HTREDUCE, HTZOOM, HTCLOSE};
    const int part = HitTestPart(point);
    pTI->cbSize = part >= 0 ? codes[part] : 0;
  }
  return m_nID;
}

// ---- the system-menu button ----

SECCapMenuBtn::SECCapMenuBtn() {
  m_nType = CapMenuBtn;
  m_nID = kMDIButtonID;
  m_nStyle = SECMenuBar::kButtonStyle;
}

void SECCapMenuBtn::AdjustSize() {
  m_cx = m_cy = 16;
  if (m_pToolBar != nullptr) m_pToolBar->RaiseWidestButton(m_cx);
}

void SECCapMenuBtn::Draw(CDC& dc, SECBtnDrawCache&) {
  const CRect rect = GetRect();
  dc.FillSolidRect(&rect, ::GetSysColor(COLOR_3DFACE));
  if (m_hIcon != nullptr) ::DrawIconEx(dc.GetSafeHdc(), m_x, m_y, m_hIcon, 16, 16, 0, nullptr, DI_NORMAL);
}

BOOL SECCapMenuBtn::BtnPressed(CPoint) {
  CMDIChildWnd* child = ActiveChildOf(m_pToolBar);
  if (child == nullptr) return FALSE;
  HMENU system = ::GetSystemMenu(child->m_hWnd, FALSE);
  if (system == nullptr) return FALSE;
  if (::GetMenuDefaultItem(system, FALSE, 0) == static_cast<UINT>(-1)) ::SetMenuDefaultItem(system, SC_CLOSE, FALSE);
  m_nMenu = reinterpret_cast<UINT_PTR>(system);
  m_nPosition = -1;
  ChangeStyle(0, TBBS_PRESSED);
  DropMenu();
  return FALSE;
}

// ---- the bar ----

BEGIN_MESSAGE_MAP(SECMDIMenuBar, SECMenuBar)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

SECMDIMenuBar::SECMDIMenuBar() = default;

SECMDIMenuBar::~SECMDIMenuBar() { TakeOutMDIButtons(); }

CMDIChildWnd* SECMDIMenuBar::ActiveChild(BOOL* pbMaximized) const {
  CFrameWnd* site = m_pDockSite != nullptr ? m_pDockSite : (m_hWnd != nullptr ? GetParentFrame() : nullptr);
  auto* frame = dynamic_cast<CMDIFrameWnd*>(site);
  if (frame == nullptr) frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
  BOOL bMaximized = FALSE;
  CMDIChildWnd* child = frame != nullptr ? frame->MDIGetActive(&bMaximized) : nullptr;
  if (pbMaximized != nullptr) *pbMaximized = bMaximized;
  return child;
}


void SECMDIMenuBar::TakeOutMDIButtons() {
  for (SECStdBtn* button : {static_cast<SECStdBtn*>(&m_btnSysMenu), static_cast<SECStdBtn*>(&m_btnCaption)}) {
    const int index = ButtonToIndex(button);
    if (index < 0) continue;
    if (index == m_nMenuBtn || index == m_nBtnDown || index == m_nHot) m_nMenuBtn = m_nBtnDown = m_nHot = -1;
    m_btns.RemoveAt(index);
  }
}

void SECMDIMenuBar::PutBackMDIButtons() {
  // The system-menu button first, the caption button last; the pressed index follows the move.
  const int pressedShift = ButtonToIndex(&m_btnSysMenu) < 0 ? 1 : 0;
  TakeOutMDIButtons();
  m_btnSysMenu.Init(this, nullptr);
  m_btnCaption.Init(this, nullptr);
  m_btns.InsertAt(0, &m_btnSysMenu);
  m_btns.Add(&m_btnCaption);
  if (m_nBtnDown >= 0) m_nBtnDown += pressedShift;
  m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
}

BOOL SECMDIMenuBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  const BOOL shown = MDIButtonsShown();
  TakeOutMDIButtons();
  const BOOL result = SECMenuBar::SetButtons(lpIDArray, nIDCount);
  if (shown) PutBackMDIButtons();
  return result;
}

void SECMDIMenuBar::RemoveAllButtons() {
  TakeOutMDIButtons();
  SECMenuBar::RemoveAllButtons();
}

void SECMDIMenuBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoUpdate) {
  if (nID == kMDIButtonID && !bSeparator) return;
  SECMenuBar::InsertButton(nIndex, nID, bSeparator, bNoUpdate);
  if (MDIButtonsShown()) PutBackMDIButtons();
}

void SECMDIMenuBar::GetBarInfoEx(SECControlBarInfo* pInfo) {
  const BOOL shown = MDIButtonsShown();
  TakeOutMDIButtons();
  SECMenuBar::GetBarInfoEx(pInfo);
  if (shown) PutBackMDIButtons();
}

BOOL SECMDIMenuBar::UpdateMDIButtons(BOOL bHide) {
  BOOL maximized = FALSE;
  CMDIChildWnd* child = ActiveChild(&maximized);
  const BOOL show = !bHide && child != nullptr && maximized && (child->GetStyle() & WS_SYSMENU);
  BOOL changed = FALSE;
  if (show) {
    if (!MDIButtonsShown()) {
      PutBackMDIButtons();
      changed = TRUE;
    }
    HICON icon = reinterpret_cast<HICON>(child->SendMessage(WM_GETICON, ICON_BIG));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(child->SendMessage(WM_GETICON, ICON_SMALL));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(::GetClassLongPtr(child->m_hWnd, GCLP_HICONSM));
    if (icon != m_hIconLast) {
      m_hIconLast = m_btnSysMenu.m_hIcon = icon;
      m_btnSysMenu.Invalidate();
      changed = TRUE;
    }
    const DWORD bits = child->GetStyle() & kChildBits;
    if (bits != m_btnCaption.m_dwStyleBits) {
      m_btnCaption.m_dwStyleBits = bits;
      m_btnCaption.Invalidate();
      changed = TRUE;
    }
  } else if (MDIButtonsShown()) {
    TakeOutMDIButtons();
    changed = TRUE;
  }
  if (changed && m_hWnd != nullptr) {
    m_bMRUPending = m_bHorzPending = m_bVertPending = TRUE;
    if (!LayOutFloatingFrame() && m_pDockSite != nullptr) m_pDockSite->DelayRecalcLayout();
    Invalidate();
  }
  return changed;
}

int SECMDIMenuBar::GetFontHeight() const {
  HFONT font = GetMenuFont();
  if (font == nullptr) font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
  LOGFONT lf{};
  if (font == nullptr || ::GetObject(font, sizeof(lf), &lf) == 0) return 0;
  return std::abs(static_cast<int>(lf.lfHeight));
}

CSize SECMDIMenuBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  CSize size = SECMenuBar::CalcDynamicLayout(nLength, nMode);
  if (!(nMode & LM_HORZDOCK)) return size;
  std::vector<SECStdBtn*> shown;
  for (int i = 0; i < GetBtnCount(); ++i)
    if (SECStdBtn* button = GetButton(i); !(button->GetStyle() & TBBS_HIDDEN)) shown.push_back(button);
  for (size_t i = 0; i + 1 < shown.size(); ++i)
    if (shown[i]->GetStyle() & TBBS_WRAPPED) return size;  // more than one row
  // The buttons stay in the middle of the row.
  const int height = GetFontHeight() + 12;
  const int shift = (height - size.cy) / 2;
  if (shift != 0)
    for (SECStdBtn* button : shown) button->SetPos(button->m_x, button->m_y + shift);
  size.cy = height;
  return size;
}

BOOL SECMDIMenuBar::FilterMenuModeMouse(const MSG* pMsg) {
  if (pMsg == nullptr || m_dwPressTick == 0 || GetButton(m_nMenuBtn) != &m_btnSysMenu ||
      (pMsg->message != WM_LBUTTONDOWN && pMsg->message != WM_LBUTTONDBLCLK) ||
      ::GetTickCount() - m_dwPressTick > ::GetDoubleClickTime())
    return SECMenuBar::FilterMenuModeMouse(pMsg);
  CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
  if (pMsg->hwnd != m_hWnd) ::MapWindowPoints(pMsg->hwnd, m_hWnd, &point, 1);
  if (!m_btnSysMenu.GetRect().PtInRect(point)) return SECMenuBar::FilterMenuModeMouse(pMsg);
  m_btnSysMenu.NotifyOwner(SEC_TBN_CLOSEMENU, 0, 0);
  PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  return TRUE;
}

void SECMDIMenuBar::SelectMenuButtons(DWORD dwBits) {
  ShowMenuButtons(dwBits, FALSE);
  UpdateMDIButtons(FALSE);
}

void SECMDIMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
  m_dwPressTick = ::GetTickCount();
  SECMenuBar::OnLButtonDown(nFlags, point);
  m_dwPressTick = 0;
}

void SECMDIMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (MDIButtonsShown() && m_btnSysMenu.GetRect().PtInRect(point)) {
    // A double-click on the child's icon runs its default system command (close).
    BOOL maximized = FALSE;
    if (CMDIChildWnd* child = ActiveChild(&maximized)) {
      const UINT command = ::GetMenuDefaultItem(::GetSystemMenu(child->m_hWnd, FALSE), FALSE, 0);
      if (command != static_cast<UINT>(-1)) child->SendMessage(WM_SYSCOMMAND, command);
    }
    Default();
    return;
  }
  SECCustomToolBar::OnLButtonDblClk(nFlags, point);
}
