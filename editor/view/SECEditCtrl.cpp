// The editor control window: creation of its viewport and controller, painting, scroll bars,
// resizing, and the focus notices and keys a dialog needs.
#include "editor/view/SECEditCtrl.h"

#include "editor/model/SECEdit.h"
#include "editor/view/SECEditScrolling.h"

IMPLEMENT_DYNAMIC(SECEditCtrl, CWnd)

BEGIN_MESSAGE_MAP(SECEditCtrl, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_GETDLGCODE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_ERASEBKGND()
  ON_WM_VSCROLL()
  ON_WM_HSCROLL()
END_MESSAGE_MAP()

SECEditCtrl::SECEditCtrl() = default;

SECEditCtrl::~SECEditCtrl() {
  // The controller leaves the window before the window object goes.
  if (m_hWnd != nullptr) DestroyWindow();
}

SECEdit* SECEditCtrl::CreateModel() {
  m_pOwnModel = std::make_unique<SECEdit>();
  m_pOwnModel->NewDocument();
  return m_pOwnModel.get();
}

int SECEditCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_pModel == nullptr) m_pModel = CreateModel();
  m_viewport.SetModel(m_pModel);
  if (!m_viewport.Create(this, nullptr)) return -1;
  if (m_viewport.GetController() != nullptr) m_viewport.GetController()->SetModel(m_pModel);
  DWORD add = 0;
  if (GetScrollBarCtrl(SB_HORZ) == nullptr) add |= WS_HSCROLL;
  if (GetScrollBarCtrl(SB_VERT) == nullptr) add |= WS_VSCROLL;
  if (add != 0) ModifyStyle(0, add, SWP_FRAMECHANGED);
  return 0;
}

BOOL SECEditCtrl::PreTranslateMessage(MSG* pMsg) {
  // Esc is not made the editor's command here: it reaches OnKeyDown, which passes it on to the
  // parent (a dialog cancels) and then runs the editor's own Esc.
  const bool escape = pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && pMsg->hwnd == m_hWnd;
  SECEditController* controller = GetController();
  if (!escape && controller != nullptr && controller->PreTranslateMessage(pMsg)) return TRUE;
  return CWnd::PreTranslateMessage(pMsg);
}

void SECEditCtrl::OnPaint() {
  CPaintDC dc(this);
  m_viewport.Draw(&dc);
}

BOOL SECEditCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

UINT SECEditCtrl::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

int SECEditCtrl::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  const int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (result == MA_ACTIVATE || (result == MA_ACTIVATEANDEAT && ::GetFocus() != m_hWnd)) SetFocus();
  return result;
}

void SECEditCtrl::NotifyParent(WORD code) {
  if (CWnd* parent = GetParent(); parent != nullptr)
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(m_hWnd));
}

void SECEditCtrl::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  NotifyParent(EN_SETFOCUS);
}

void SECEditCtrl::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  NotifyParent(EN_KILLFOCUS);
}

void SECEditCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_ESCAPE) {
    if (CWnd* parent = GetParent(); parent != nullptr) {
      const MSG* msg = GetCurrentMessage();
      parent->PostMessage(msg->message, msg->wParam, msg->lParam);
    }
    SendMessage(WM_COMMAND, ID_SECEDIT_ESCAPE);
  }
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECEditCtrl::OnSize(UINT nType, int cx, int cy) {
  UpdateWindow();
  CWnd::OnSize(nType, cx, cy);
  if (m_pModel != nullptr) {
    m_viewport.SetSize(cx, cy);
    UpdateScrollBars();
  }
  kelpwood::editor::RepaintResized(this, &m_rcLastClient);
}

void SECEditCtrl::UpdateScrollBars() {
  if (m_hWnd == nullptr || m_pModel == nullptr) return;
  const int lineHeight = m_viewport.GetLineHeight(), width = m_viewport.GetCharWidth();
  if (lineHeight <= 0 || width <= 0) return;
  const CRect visible = m_viewport.GetVisibleLogRect();
  const CSize total = m_viewport.GetVirtualSize();
  const int gutter = GetController() != nullptr ? GetController()->GetGutterWidth() : 0;
  const struct {
    int bar, total, visible, pos;
  } bars[] = {{SB_VERT, total.cy / lineHeight, visible.Height() / lineHeight, visible.top / lineHeight},
              {SB_HORZ, total.cx / width, std::max(0, visible.Width() - gutter) / width, visible.left / width}};
  for (const auto& b : bars) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, b.total - 1);
    info.nPage = static_cast<UINT>(std::max(0, b.visible));
    info.nPos = b.pos;
    SetScrollInfo(b.bar, &info, TRUE);
  }
}

void SECEditCtrl::Scroll(int bar, UINT code) {
  const bool vertical = bar == SB_VERT;
  const int unit = vertical ? m_viewport.GetLineHeight() : m_viewport.GetCharWidth();
  if (unit <= 0) return;
  const CRect visible = m_viewport.GetVisibleLogRect();
  const CSize total = m_viewport.GetVirtualSize();
  const int gutter = GetController() != nullptr ? GetController()->GetGutterWidth() : 0;
  const int pos = (vertical ? visible.top : visible.left) / unit;
  const int page = vertical ? visible.Height() / unit : std::max(0, visible.Width() - gutter) / unit;
  const int last = std::max(0, (vertical ? total.cy : total.cx) / unit - page);
  const int delta = kelpwood::editor::ScrollDelta(code, pos, last, page, kelpwood::editor::ScrollMessagePosition(this, bar, code));
  if (delta == 0) return;
  SetScrollPos(bar, pos + delta, TRUE);
  m_viewport.OffsetOrigin(vertical ? 0 : delta * unit, vertical ? delta * unit : 0);
  Invalidate(FALSE);
  if (GetController() != nullptr) GetController()->UpdateCaretState();
}

void SECEditCtrl::OnVScroll(UINT nSBCode, UINT, CScrollBar*) { Scroll(SB_VERT, nSBCode); }

void SECEditCtrl::OnHScroll(UINT nSBCode, UINT, CScrollBar*) { Scroll(SB_HORZ, nSBCode); }
