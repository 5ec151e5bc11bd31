// How a message reaches a CWnd: AfxWndProc, the plug-ins, the message map with the handler's
// own signature, commands and notifications with their reflection to the control that sent
// them, and the default procedure.
#include "afx/CWnd.h"

#include "afx/CMenu.h"

_AFX_THREAD_STATE* AfxGetThreadState() {
  thread_local _AFX_THREAD_STATE state;
  return &state;
}

namespace {

// The WM_CTLCOLOR message a control reflects carries this.
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;
};

HWND LastSentLParamWindow() { return reinterpret_cast<HWND>(AfxGetThreadState()->m_lastSentMsg.lParam); }

}  // namespace

// ---- the window procedure ----

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_QUERYAFXWNDPROC) return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr || pWnd->m_hWnd != hWnd) return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

WNDPROC AfxGetAfxWndProc() { return &AfxWndProc; }

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  MSG saved = state->m_lastSentMsg;
  state->m_lastSentMsg.hwnd = hWnd;
  state->m_lastSentMsg.message = nMsg;
  state->m_lastSentMsg.wParam = wParam;
  state->m_lastSentMsg.lParam = lParam;
  LRESULT result = 0;
  try {
    result = pWnd->WindowProc(nMsg, wParam, lParam);
  } catch (CException* e) {
    result = AfxProcessWndProcException(e, &state->m_lastSentMsg);
    e->Delete();
  }
  state->m_lastSentMsg = saved;
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OfferToPlugIns([&](IWndPlugIn* plugIn) { return plugIn->PlugInWndMsg(message, wParam, lParam, &result); }))
    return result;
  if (OnWndMsg(message, wParam, lParam, &result)) return result;
  // A help request no handler took is the framework's: asked of the main window.
  if (message == WM_HELP) return OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam));
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
  WNDPROC super = *GetSuperWndProcAddr();
  if (super != nullptr) return ::CallWindowProc(super, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
  MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  msg.time = static_cast<DWORD>(::GetMessageTime());
  DWORD pos = ::GetMessagePos();
  msg.pt = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  return &msg;
}

// ---- the message map ----

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    if (pResult != nullptr) *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    if (!OnNotify(wParam, lParam, &result)) return FALSE;
    if (pResult != nullptr) *pResult = result;
    return TRUE;
  }
  // The colour messages of the controls share one entry.
  UINT lookup = message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC ? static_cast<UINT>(WM_CTLCOLOR) : message;
  const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntryInChain(GetMessageMap(), lookup, 0, 0);
  if (entry == nullptr) return FALSE;
  if (!DispatchWindowMessage(entry, message, wParam, lParam, &result)) return FALSE;
  if (pResult != nullptr) *pResult = result;
  return TRUE;
}

BOOL CWnd::DispatchWindowMessage(const AFX_MSGMAP_ENTRY* entry, UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT* pResult) {
  AFX_PMSG pfn = entry->pfn;
  LRESULT& r = *pResult;
  auto point = [lParam] { return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); };
  auto wndW = [wParam] { return FromHandle(reinterpret_cast<HWND>(wParam)); };
  auto wndL = [lParam] { return FromHandle(reinterpret_cast<HWND>(lParam)); };
  auto dcW = [wParam] { return CDC::FromHandle(reinterpret_cast<HDC>(wParam)); };
  UINT lo = LOWORD(lParam), hi = HIWORD(lParam);
  if (entry->nMessage == 0xC000) {
    // A registered message: the entry's signature field holds the number's address.
    r = AfxCallHandler<LRESULT, WPARAM, LPARAM>(this, pfn, wParam, lParam);
    return TRUE;
  }
  switch (entry->nSig) {
    case AfxSig_l_w_l: r = AfxCallHandler<LRESULT, WPARAM, LPARAM>(this, pfn, wParam, lParam); break;
    case AfxSig_v_w_l: AfxCallHandler<void, WPARAM, LPARAM>(this, pfn, wParam, lParam); break;
    case AfxSig_v_v: AfxCallHandler<void>(this, pfn); break;
    case AfxSig_b_v: r = AfxCallHandler<BOOL>(this, pfn); break;
    case AfxSig_u_v: r = AfxCallHandler<UINT>(this, pfn); break;
    case AfxSig_hcur_v: r = reinterpret_cast<LRESULT>(AfxCallHandler<HCURSOR>(this, pfn)); break;
    case AfxSig_i_CREATE:
      r = AfxCallHandler<int, LPCREATESTRUCT>(this, pfn, reinterpret_cast<LPCREATESTRUCT>(lParam));
      break;
    case AfxSig_b_CREATE:
      r = AfxCallHandler<BOOL, LPCREATESTRUCT>(this, pfn, reinterpret_cast<LPCREATESTRUCT>(lParam));
      break;
    case AfxSig_v_b: AfxCallHandler<void, BOOL>(this, pfn, static_cast<BOOL>(wParam)); break;
    case AfxSig_b_b: r = AfxCallHandler<BOOL, BOOL>(this, pfn, static_cast<BOOL>(wParam)); break;
    case AfxSig_v_WNDw: AfxCallHandler<void, CWnd*>(this, pfn, wndW()); break;
    case AfxSig_v_WNDl: AfxCallHandler<void, CWnd*>(this, pfn, wndL()); break;
    case AfxSig_b_D: r = AfxCallHandler<BOOL, CDC*>(this, pfn, dcW()); break;
    case AfxSig_v_D: AfxCallHandler<void, CDC*>(this, pfn, dcW()); break;
    case AfxSig_v_b_u:
      AfxCallHandler<void, BOOL, UINT>(this, pfn, static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
      break;
    case AfxSig_v_u_ii:
      AfxCallHandler<void, UINT, int, int>(this, pfn, static_cast<UINT>(wParam), static_cast<short>(lo),
                                           static_cast<short>(hi));
      break;
    case AfxSig_v_ii: AfxCallHandler<void, int, int>(this, pfn, static_cast<short>(lo), static_cast<short>(hi)); break;
    case AfxSig_v_u_WND_b:
      AfxCallHandler<void, UINT, CWnd*, BOOL>(this, pfn, LOWORD(wParam), wndL(), static_cast<BOOL>(HIWORD(wParam)));
      break;
    case AfxSig_v_b_dw:
      AfxCallHandler<void, BOOL, DWORD>(this, pfn, static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));
      break;
    case AfxSig_b_WND_u_u: r = AfxCallHandler<BOOL, CWnd*, UINT, UINT>(this, pfn, wndW(), lo, hi); break;
    case AfxSig_i_WND_u_u: r = AfxCallHandler<int, CWnd*, UINT, UINT>(this, pfn, wndW(), lo, hi); break;
    case AfxSig_v_MINMAX:
      AfxCallHandler<void, MINMAXINFO*>(this, pfn, reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case AfxSig_v_POS: AfxCallHandler<void, WINDOWPOS*>(this, pfn, reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case AfxSig_v_b_CALC:
      AfxCallHandler<void, BOOL, NCCALCSIZE_PARAMS*>(this, pfn, static_cast<BOOL>(wParam),
                                                     reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
      break;
    case AfxSig_v_i_DRAW:
      AfxCallHandler<void, int, LPDRAWITEMSTRUCT>(this, pfn, static_cast<int>(wParam),
                                                  reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      break;
    case AfxSig_v_i_MEASURE:
      AfxCallHandler<void, int, LPMEASUREITEMSTRUCT>(this, pfn, static_cast<int>(wParam),
                                                     reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      break;
    case AfxSig_v_i_DELETE:
      AfxCallHandler<void, int, LPDELETEITEMSTRUCT>(this, pfn, static_cast<int>(wParam),
                                                    reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      break;
    case AfxSig_i_i_COMPARE:
      r = AfxCallHandler<int, int, LPCOMPAREITEMSTRUCT>(this, pfn, static_cast<int>(wParam),
                                                        reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      break;
    case AfxSig_v_DRAW:
      AfxCallHandler<void, LPDRAWITEMSTRUCT>(this, pfn, reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      break;
    case AfxSig_v_MEASURE:
      AfxCallHandler<void, LPMEASUREITEMSTRUCT>(this, pfn, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      break;
    case AfxSig_v_DELETE:
      AfxCallHandler<void, LPDELETEITEMSTRUCT>(this, pfn, reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      break;
    case AfxSig_i_COMPARE:
      r = AfxCallHandler<int, LPCOMPAREITEMSTRUCT>(this, pfn, reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      break;
    case AfxSig_v_u_u_BAR:
      // The scroll bar class is the controls' CScrollBar, a CWnd without data of its own.
      AfxCallHandler<void, UINT, UINT, CScrollBar*>(this, pfn, LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                                                    reinterpret_cast<CScrollBar*>(wndL()));
      break;
    case AfxSig_v_u_u:
      AfxCallHandler<void, UINT, UINT>(this, pfn, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      break;
    case AfxSig_v_u_u_u:
      AfxCallHandler<void, UINT, UINT, UINT>(this, pfn, static_cast<UINT>(wParam), lo, hi);
      break;
    case AfxSig_v_u_p: AfxCallHandler<void, UINT, CPoint>(this, pfn, static_cast<UINT>(wParam), point()); break;
    case AfxSig_b_u_s_p:
      r = AfxCallHandler<BOOL, UINT, short, CPoint>(this, pfn, LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                                                    point());
      break;
    case AfxSig_u_p: r = AfxCallHandler<UINT, CPoint>(this, pfn, point()); break;
    case AfxSig_v_u: AfxCallHandler<void, UINT>(this, pfn, static_cast<UINT>(wParam)); break;
    case AfxSig_v_up: AfxCallHandler<void, UINT_PTR>(this, pfn, static_cast<UINT_PTR>(wParam)); break;
    case AfxSig_v_u_l: AfxCallHandler<void, UINT, LPARAM>(this, pfn, static_cast<UINT>(wParam), lParam); break;
    case AfxSig_v_WND_p: AfxCallHandler<void, CWnd*, CPoint>(this, pfn, wndW(), point()); break;
    case AfxSig_v_u_u_M:
      AfxCallHandler<void, UINT, UINT, HMENU>(this, pfn, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      break;
    case AfxSig_v_MENU_u_b:
      AfxCallHandler<void, CMenu*, UINT, BOOL>(this, pfn, CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), lo,
                                               static_cast<BOOL>(hi));
      break;
    case AfxSig_v_MENU: AfxCallHandler<void, CMenu*>(this, pfn, CMenu::FromHandle(reinterpret_cast<HMENU>(wParam))); break;
    case AfxSig_l_u_u_MENU:
      r = AfxCallHandler<LRESULT, UINT, UINT, CMenu*>(this, pfn, LOWORD(wParam), HIWORD(wParam),
                                                      CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
      break;
    case AfxSig_v_u_WND: AfxCallHandler<void, UINT, CWnd*>(this, pfn, static_cast<UINT>(wParam), wndL()); break;
    case AfxSig_h_D_WND_u:
      r = reinterpret_cast<LRESULT>(
          AfxCallHandler<HBRUSH, CDC*, CWnd*, UINT>(this, pfn, dcW(), wndL(), message - WM_CTLCOLORMSGBOX));
      break;
    case AfxSig_h_D_u: {
      // Reflected: lParam is the AFX_CTLCOLOR the parent made.
      auto* ctl = reinterpret_cast<AFX_CTLCOLOR*>(lParam);
      HBRUSH brush = AfxCallHandler<HBRUSH, CDC*, UINT>(this, pfn, CDC::FromHandle(ctl->hDC), ctl->nCtlType);
      if (brush == nullptr) return FALSE;  // no brush: the parent decides after all
      r = reinterpret_cast<LRESULT>(brush);
      break;
    }
    case AfxSig_v_u_sz:
      AfxCallHandler<void, UINT, LPCTSTR>(this, pfn, static_cast<UINT>(wParam), reinterpret_cast<LPCTSTR>(lParam));
      break;
    case AfxSig_v_sz: AfxCallHandler<void, LPCTSTR>(this, pfn, reinterpret_cast<LPCTSTR>(lParam)); break;
    case AfxSig_v_i_STYLE:
      AfxCallHandler<void, int, LPSTYLESTRUCT>(this, pfn, static_cast<int>(wParam),
                                               reinterpret_cast<LPSTYLESTRUCT>(lParam));
      break;
    case AfxSig_b_HELPINFO: r = AfxCallHandler<BOOL, HELPINFO*>(this, pfn, reinterpret_cast<HELPINFO*>(lParam)); break;
    case AfxSig_v_b_WND_WND: {
      // Sent to the child being activated and to the one being deactivated.
      auto activated = reinterpret_cast<HWND>(lParam);
      AfxCallHandler<void, BOOL, CWnd*, CWnd*>(this, pfn, static_cast<BOOL>(activated == m_hWnd), FromHandle(activated),
                                               wndW());
      break;
    }
    case AfxSig_i_u_LIST_u:
      r = AfxCallHandler<int, UINT, CListBox*, UINT>(this, pfn, LOWORD(wParam), reinterpret_cast<CListBox*>(wndL()),
                                                     HIWORD(wParam));
      break;
    case AfxSig_i_u_u: r = AfxCallHandler<int, UINT, UINT>(this, pfn, LOWORD(wParam), HIWORD(wParam)); break;
    case AfxSig_v_u_RECT:
      AfxCallHandler<void, UINT, LPRECT>(this, pfn, static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam));
      break;
    case AfxSig_v_DROP: AfxCallHandler<void, HDROP>(this, pfn, reinterpret_cast<HDROP>(wParam)); break;
    default: return FALSE;
  }
  return TRUE;
}

// ---- commands and notifications ----

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (OfferToPlugIns([&](IWndPlugIn* plugIn) { return plugIn->PlugInCmdMsg(nID, nCode, pExtra, pHandlerInfo); }))
    return TRUE;
  return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

namespace {

// Answers the update handler of a command about to run: only whether it is enabled.
class CTestCmdUI : public CCmdUI {
 public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
};

}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  auto control = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (control == nullptr) {
    // A menu item or an accelerator: a command that became disabled meanwhile does not run.
    if (nID == 0) return FALSE;
    CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    nCode = CN_COMMAND;
  } else {
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
    // The control may handle its own notification.
    if (ReflectLastMsg(control)) return TRUE;
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  HWND control = header->hwndFrom;
  // The id of the control when it has one, else the one in the header.
  UINT nID = control != nullptr ? static_cast<UINT>(::GetDlgCtrlID(control)) : static_cast<UINT>(header->idFrom);
  if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
  if (control != nullptr && ReflectLastMsg(control, pResult)) return TRUE;
  AFX_NOTIFY notify{pResult, header};
  return OnCmdMsg(nID, static_cast<int>(MAKELONG(header->code, WM_NOTIFY)), &notify, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  return pWnd != nullptr && pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
      int code = HIWORD(wParam);
      if (CWnd::OnCmdMsg(0, static_cast<int>(MAKELONG(code, WM_REFLECT_BASE + WM_COMMAND)), nullptr, nullptr)) {
        if (pResult != nullptr) *pResult = 1;
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      AFX_NOTIFY notify{pResult, header};
      return CWnd::OnCmdMsg(0, static_cast<int>(MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY)), &notify,
                            nullptr);
    }
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_CTLCOLOR ctl{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        return CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult);
      }
      return FALSE;
  }
}

// ---- translation before dispatch ----

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
  FilterToolTipMessage(pMsg);
  return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

// ---- CWnd's own map: reflection of what controls asked their parent ----

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_DELETEITEM()
  ON_WM_COMPAREITEM()
  ON_WM_CTLCOLOR()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_VKEYTOITEM()
  ON_WM_CHARTOITEM()
  ON_WM_PARENTNOTIFY()
  ON_WM_NCDESTROY()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SETTINGCHANGE()
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXT, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType == ODT_MENU) {
    if (AfxDrawMenuItem(lpDrawItemStruct)) return;
  } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
    return;
  }
  static_cast<void>(nIDCtl);
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType == ODT_MENU) {
    if (AfxMeasureMenuItem(lpMeasureItemStruct)) return;
  } else if (ReflectLastMsg(::GetDlgItem(m_hWnd, nIDCtl))) {
    return;
  }
  Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  LRESULT result = 0;
  if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT result = 0;
  if (ReflectLastMsg(pWnd->GetSafeHwnd(), &result)) return reinterpret_cast<HBRUSH>(result);
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
  if (ReflectLastMsg(LastSentLParamWindow())) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
  if (ReflectLastMsg(LastSentLParamWindow())) return;
  Default();
}

int CWnd::OnVKeyToItem(UINT, CListBox*, UINT) {
  LRESULT result = 0;
  if (ReflectLastMsg(LastSentLParamWindow(), &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

int CWnd::OnCharToItem(UINT, CListBox*, UINT) {
  LRESULT result = 0;
  if (ReflectLastMsg(LastSentLParamWindow(), &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
  if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) &&
      ReflectLastMsg(reinterpret_cast<HWND>(lParam)))
    return;
  Default();
}

void CWnd::OnSysColorChange() {
  // A top-level window passes the change on to every framework window inside it.
  if (!(GetStyle() & WS_CHILD)) SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
  Default();
}

void CWnd::OnSettingChange(UINT, LPCTSTR) {
  if (!(GetStyle() & WS_CHILD)) {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    SendMessageToDescendants(WM_SETTINGCHANGE, msg.wParam, msg.lParam, TRUE, TRUE);
  }
  Default();
}
