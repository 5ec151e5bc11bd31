// The list tip window and the in-place label edit.
#include "widgets/SECListTip.h"

#include "widgets/SECListBase.h"

BEGIN_MESSAGE_MAP(SECListTip, CWnd)
  ON_WM_PAINT()
  ON_WM_DESTROY()
  ON_WM_TIMER()
END_MESSAGE_MAP()

SECListTip::~SECListTip() {
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

BOOL SECListTip::CreateTipWindow() {
  LPCTSTR className = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_SAVEBITS,
                                          ::LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
  return CreateEx(0, className, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0, m_pOwner->GetClientHwnd(), nullptr);
}

void SECListTip::Hide() {
  if (GetSafeHwnd() != nullptr && IsWindowVisible()) {
    ShowWindow(SW_HIDE);
    HWND list = m_pOwner->GetClientHwnd();
    if (list != nullptr) ::RedrawWindow(list, &m_rcCell, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    KillTimer(kListTipTimer);
  }
  m_nRow = -1;
  m_nSubItem = -1;
  m_rcCell.SetRectEmpty();
}

BOOL SECListTip::Show(UINT nHitFlags, int nRow, int nCol, CPoint) {
  int subItem = nCol == -1 ? -1 : m_pOwner->GetColumnSubItem(nCol);
  bool wanted = ((nHitFlags & LVHT_ONITEMLABEL) || ((nHitFlags & LVHT_ONROW) && subItem >= 1)) && nRow != -1 &&
                nCol != -1 && ::GetActiveWindow() != nullptr;
  if (!wanted) {
    Hide();
    return FALSE;
  }
  CRect cell, label;
  if (!m_pOwner->GetSubItemRect(nRow, nCol, &cell, 0) || !m_pOwner->GetSubItemRect(nRow, nCol, &label, 2))
    return FALSE;
  cell.right -= 5;
  CRect area;
  m_pOwner->GetListArea(&area);
  int visibleRight = std::min(cell.right, static_cast<LONG>(area.right - area.left));
  bool cut = label.right > visibleRight || (label.left < area.left && area.left < label.right);
  if (!cut) {
    Hide();
    return FALSE;
  }
  if (m_nRow == nRow && m_nSubItem == subItem) return TRUE;
  Hide();
  label.left -= 2;
  label.right += 2;
  m_nRow = nRow;
  m_nSubItem = subItem;
  m_rcCell = cell;
  CString text = m_pOwner->GetCellText(nRow, subItem);
  if (text.IsEmpty()) return FALSE;
  SetText(text);
  if (GetSafeHwnd() == nullptr && !CreateTipWindow()) return FALSE;
  m_pOwner->ClientToScreen(&label);
  // The window takes a pixel more on the left and two on the right for its border; the whole of
  // it is kept on the screen.
  CRect window(label.left - 1, label.top, label.right + 2, label.top + cell.Height());
  int screen = ::GetSystemMetrics(SM_CXSCREEN);
  if (window.right > screen) window.OffsetRect(screen - window.right, 0);
  if (window.left < 0) window.OffsetRect(-window.left, 0);
  SetWindowPos(&CWnd::wndTop, window.left, window.top, window.Width(), window.Height(), SWP_NOACTIVATE);
  ShowWindow(SW_SHOWNOACTIVATE);
  SetTimer(kListTipTimer, kListTipPeriod, nullptr);
  Invalidate(FALSE);
  UpdateWindow();
  return TRUE;
}

void SECListTip::Refresh() {
  if (GetSafeHwnd() != nullptr && IsWindowVisible()) {
    Invalidate(TRUE);
    UpdateWindow();
  }
}

void SECListTip::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kListTipTimer) return;
  HWND list = m_pOwner->GetClientHwnd();
  if (list == nullptr) {
    Hide();
    return;
  }
  POINT cursor;
  ::GetCursorPos(&cursor);
  ::ScreenToClient(list, &cursor);
  RECT client;
  ::GetClientRect(list, &client);
  if (!::PtInRect(&client, cursor)) Hide();
}

void SECListTip::OnPaint() {
  CPaintDC dc(this);
  if (m_nRow == -1) return;
  bool selected = m_pOwner->IsRowSelected(m_nRow);
  COLORREF text = selected ? m_pOwner->GetSelTextColor() : m_pOwner->GetTipTextColor();
  COLORREF back = selected ? m_pOwner->GetSelBkColor() : m_pOwner->GetTipBkColor();
  CRect rect;
  GetClientRect(&rect);
  dc.FillSolidRect(&rect, back);
  CFont* font = m_pOwner->GetRowFont();
  CFont bold;
  if (m_pOwner->GetTipItemState(m_nRow, 0x18) & 0x10) {
    LOGFONT lf{};
    if (font != nullptr && font->GetLogFont(&lf) != 0) {
      lf.lfWeight = FW_BOLD;
      if (bold.CreateFontIndirect(&lf)) font = &bold;
    }
  }
  CFont* old = dc.SelectObject(font);
  dc.SetTextColor(text);
  dc.SetBkColor(back);
  dc.SetBkMode(TRANSPARENT);
  rect.left += 2;
  dc.DrawText(m_strText, &rect, DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
  dc.SelectObject(old);
}

void SECListTip::OnDestroy() {
  CWnd::OnDestroy();
  m_nRow = -1;
}

BOOL SECListTip::PreTranslateMessage(MSG* pMsg) {
  HWND list = m_pOwner->GetClientHwnd();
  if (pMsg->hwnd != GetSafeHwnd() || list == nullptr) return CWnd::PreTranslateMessage(pMsg);
  UINT message = pMsg->message;
  POINT point{GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)};
  if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) {
    ::ClientToScreen(GetSafeHwnd(), &point);
  } else if (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK) {
    pMsg->wParam = message == WM_NCLBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON;
    message += WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;
  } else {
    return CWnd::PreTranslateMessage(pMsg);
  }
  ::ScreenToClient(list, &point);
  MSG forwarded = *pMsg;
  forwarded.hwnd = list;
  forwarded.message = message;
  forwarded.lParam = MAKELPARAM(point.x, point.y);
  ::DispatchMessage(&forwarded);
  return TRUE;
}

// ---- in-place edit ----

BEGIN_MESSAGE_MAP(SECListEdit, CEdit)
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

SECListEdit::~SECListEdit() {
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

void SECListEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN && !m_pOwner->IsLabelWrap()) {
    m_pOwner->EndLabelEdit(TRUE);
    return;
  }
  if (nChar == VK_ESCAPE) {
    m_pOwner->EndLabelEdit(FALSE);
    return;
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}
