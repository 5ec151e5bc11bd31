// CWnd's automatic tooltips: one tooltip control per thread, fed from PreTranslateMessage with
// the tool OnToolHitTest finds under the mouse, its text taken from the string resources.
#include <cstdlib>
#include <cstring>

#include "afx/AfxCommonControls.h"
#include "base/CodePage.h"

namespace {

struct ToolTipThreadState;

// The thread's tooltip control: the thread forgets it, and the tool it showed, when its window
// goes (with its owner).
class ThreadToolTip : public CToolTipCtrl {
 public:
  explicit ThreadToolTip(ToolTipThreadState* state) : state_(state) {}

 protected:
  void PostNcDestroy() override;

 private:
  ToolTipThreadState* state_;
};

struct ToolTipThreadState {
  ThreadToolTip* tip = nullptr;
  bool anyEnabled = false;  // a window of the thread ever enabled tooltips
  // The tool the mouse was last over: its window (null for none), its id and its identity in
  // the tooltip control.
  HWND lastHitWnd = nullptr;
  INT_PTR lastHit = -1;
  HWND lastToolHwnd = nullptr;
  UINT_PTR lastToolId = 0;
};

void ThreadToolTip::PostNcDestroy() {
  if (state_->tip == this) {
    state_->tip = nullptr;
    state_->lastHitWnd = nullptr;
    state_->lastHit = -1;
  }
  delete this;
}

ToolTipThreadState& State() {
  thread_local ToolTipThreadState state;
  return state;
}

bool ButtonHeld() {
  return ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0;
}

// The nearest window from hWnd up whose framework object enabled tooltips.
HWND ToolTipWindowOf(HWND hWnd) {
  for (; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && (pWnd->m_nFlags & WF_TOOLTIPS)) return hWnd;
  }
  return nullptr;
}

void DeleteLastTool(ToolTipThreadState& state) {
  if (state.tip != nullptr && state.lastHitWnd != nullptr) {
    TOOLINFO info{};
    info.cbSize = sizeof(TOOLINFO);
    info.hwnd = state.lastToolHwnd;
    info.uId = state.lastToolId;
    state.tip->SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&info));
  }
  state.lastHitWnd = nullptr;
  state.lastHit = -1;
}

// The thread's tooltip, owned by `owner`; made again when the owner changed.
CToolTipCtrl* ToolTipFor(ToolTipThreadState& state, HWND owner) {
  if (state.tip != nullptr && ::GetWindow(state.tip->m_hWnd, GW_OWNER) != owner) {
    state.tip->DestroyWindow();  // deletes it and forgets it
  }
  if (state.tip == nullptr) {
    auto* tip = new ThreadToolTip(&state);
    if (!tip->Create(CWnd::FromHandle(owner), TTS_ALWAYSTIP)) {
      delete tip;
      return nullptr;
    }
    state.tip = tip;
    tip->Activate(FALSE);
  }
  return state.tip;
}

// The screen point of a mouse message.
POINT MessagePoint(const MSG& msg) {
  POINT point{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  if (msg.message != WM_NCMOUSEMOVE) ::ClientToScreen(msg.hwnd, &point);
  return point;
}

// The message as the tool's own window would have seen it: the control finds the tool by the
// message's window and client point.
MSG RelayedMessage(const MSG& msg, const TOOLINFO& tool, POINT screen) {
  MSG relayed = msg;
  relayed.hwnd = (tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId) : tool.hwnd;
  if (relayed.message == WM_NCMOUSEMOVE) relayed.message = WM_MOUSEMOVE;
  POINT client = screen;
  ::ScreenToClient(relayed.hwnd, &client);
  relayed.lParam = MAKELPARAM(client.x, client.y);
  relayed.pt = screen;
  return relayed;
}

// A tool text of OnToolHitTest's that the framework owns.
void FreeToolText(TOOLINFO& info) {
  if (info.lpszText != nullptr && info.lpszText != LPSTR_TEXTCALLBACK && info.hinst == nullptr &&
      !IS_INTRESOURCE(info.lpszText))
    std::free(info.lpszText);
  info.lpszText = nullptr;
}

// Whether the window's top-level window (or the one owning it) is the active one.
bool TopParentActive(HWND hWnd) {
  HWND active = ::GetActiveWindow();
  return active != nullptr && ::GetAncestor(active, GA_ROOTOWNER) == ::GetAncestor(hWnd, GA_ROOTOWNER);
}

bool CancelsTip(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return (message >= WM_KEYFIRST && message <= WM_KEYLAST);
  }
}

// Copies text into the 80 characters of a tooltip's answer, never splitting a double-byte one.
void CopyTipText(char (&out)[80], const CString& text) {
  const std::string_view all(static_cast<LPCTSTR>(text));
  const size_t n = brambolt::CharacterStart(all, std::min(all.size(), sizeof(out) - 1));
  std::memcpy(out, all.data(), n);
  out[n] = '\0';
}

}  // namespace

namespace brambolt::afx {

HWND ToolChildFromPoint(HWND hWnd, POINT screen) {
  for (HWND child = ::GetTopWindow(hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    auto style = static_cast<DWORD>(::GetWindowLong(child, GWL_STYLE));
    // Controls without an id (IDC_STATIC) are no tools, and group boxes lie around others.
    int id = ::GetDlgCtrlID(child);
    if (!(style & WS_VISIBLE) || id == -1 || id == 0xFFFF) continue;
    if ((::SendMessage(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) && (style & BS_TYPEMASK) == BS_GROUPBOX) continue;
    RECT rect;
    ::GetWindowRect(child, &rect);
    if (::PtInRect(&rect, screen)) return child;
  }
  return nullptr;
}

}  // namespace brambolt::afx

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  ToolTipThreadState& state = State();
  if (bEnable) {
    m_nFlags |= WF_TOOLTIPS;
    state.anyEnabled = true;
    return TRUE;
  }
  if (!(m_nFlags & WF_TOOLTIPS)) return TRUE;
  if (state.lastHitWnd != nullptr && state.lastHitWnd == m_hWnd) {
    CancelToolTips(TRUE);
    DeleteLastTool(state);
  }
  m_nFlags &= ~static_cast<UINT>(WF_TOOLTIPS);
  return TRUE;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  POINT screen = point;
  ::ClientToScreen(m_hWnd, &screen);
  HWND child = brambolt::afx::ToolChildFromPoint(m_hWnd, screen);
  if (child == nullptr) return -1;
  if (pTI != nullptr && pTI->cbSize >= TTTOOLINFOA_V1_SIZE) {
    pTI->hwnd = m_hWnd;
    pTI->uId = reinterpret_cast<UINT_PTR>(child);
    pTI->uFlags |= TTF_IDISHWND;
    pTI->lpszText = LPSTR_TEXTCALLBACK;
    // The tip of anything but a button sits centred under it, out of the way of typing.
    if (!(::SendMessage(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) pTI->uFlags |= TTF_CENTERTIP;
  }
  return ::GetDlgCtrlID(child);
}

void CWnd::CancelToolTips(BOOL) {
  ToolTipThreadState& state = State();
  if (state.tip != nullptr) state.tip->Activate(FALSE);
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
  ToolTipThreadState& state = State();
  if (!state.anyEnabled || pMsg->hwnd == nullptr) return;
  UINT message = pMsg->message;
  bool tracking = (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_LBUTTONUP ||
                   message == WM_RBUTTONUP || message == WM_MBUTTONUP);
  if (!tracking && !CancelsTip(message)) return;
  // Only the nearest window with tooltips handles the messages of the windows inside it.
  if (!(m_nFlags & WF_TOOLTIPS) || ToolTipWindowOf(pMsg->hwnd) != m_hWnd) return;
  if (!tracking) {
    CancelToolTips(message >= WM_KEYFIRST && message <= WM_KEYLAST);
    return;
  }
  if (ButtonHeld()) return;

  CToolTipCtrl* tip = ToolTipFor(state, GetParentOwner()->GetSafeHwnd());
  if (tip == nullptr) return;
  POINT screen = MessagePoint(*pMsg);
  CPoint point = screen;
  ::ScreenToClient(m_hWnd, &point);
  TOOLINFO hit{};
  hit.cbSize = sizeof(TOOLINFO);
  INT_PTR nHit = OnToolHitTest(point, &hit);
  HWND hitWnd = nHit == -1 ? nullptr : m_hWnd;

  if (nHit != state.lastHit || hitWnd != state.lastHitWnd) {
    // The old tool goes first, so that the control sees the mouse move on to the new one.
    DeleteLastTool(state);
    if (hitWnd != nullptr) {
      hit.cbSize = sizeof(TOOLINFO);
      if (tip->SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&hit))) {
        state.lastHitWnd = hitWnd;
        state.lastHit = nHit;
        state.lastToolHwnd = hit.hwnd;
        state.lastToolId = hit.uId;
      }
      tip->Activate(TopParentActive(m_hWnd));
    } else {
      tip->Activate(FALSE);
    }
  }
  if (state.lastHitWnd != nullptr) {
    MSG relayed = RelayedMessage(*pMsg, hit, screen);
    tip->RelayEvent(&relayed);
  }
  FreeToolText(hit);
}

BOOL CWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  // Only the framework's own tips of a window that enabled them are answered here; the
  // notifications of other tooltips go on to whoever handles them.
  ToolTipThreadState& state = State();
  if (!(m_nFlags & WF_TOOLTIPS) || state.tip == nullptr || pNMHDR->hwndFrom != state.tip->m_hWnd) return FALSE;
  auto* info = reinterpret_cast<NMTTDISPINFO*>(pNMHDR);
  UINT_PTR nID = pNMHDR->idFrom;
  if (info->uFlags & TTF_IDISHWND) nID = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
  CString tipText;
  CString full;
  if (nID != 0 && nID <= 0xFFFF && full.LoadString(static_cast<UINT>(nID))) {
    // "prompt\ntip": the second field.
    int start = full.Find('\n');
    if (start >= 0) {
      int end = full.Find('\n', start + 1);
      tipText = end < 0 ? full.Mid(start + 1) : full.Mid(start + 1, end - start - 1);
    }
  }
  CopyTipText(info->szText, tipText);
  info->lpszText = info->szText;
  if (pResult != nullptr) *pResult = 0;
  return TRUE;
}
