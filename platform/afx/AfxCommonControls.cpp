// The common control objects: creation under the controls' class names, the tooltip's tool
// descriptions, and the owner-drawn tabs the parent reflects to the tab control.
#include "afx/AfxCommonControls.h"

IMPLEMENT_DYNAMIC(CAnimateCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHotKeyCtrl, CWnd)
IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

BOOL CAnimateCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(ANIMATE_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(PROGRESS_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(UPDOWN_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CHotKeyCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(HOTKEY_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(STATUSCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

// ---- CToolTipCtrl ----

namespace {

// The description that names a tool: pWnd itself when nIDTool is 0 (its parent hears about
// it), else the rectangle nIDTool of pWnd.
TOOLINFO ToolOf(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO info{};
  info.cbSize = sizeof(TOOLINFO);
  HWND hWnd = pWnd->GetSafeHwnd();
  if (nIDTool == 0) {
    info.hwnd = ::GetParent(hWnd);
    info.uFlags = TTF_IDISHWND;
    info.uId = reinterpret_cast<UINT_PTR>(hWnd);
  } else {
    info.hwnd = hWnd;
    info.uId = nIDTool;
  }
  return info;
}

// Makes the tool's text string resource nIDText of the module that has it.
void SetResourceText(TOOLINFO& info, UINT nIDText) {
  info.hinst = AfxFindResourceHandle(MAKEINTRESOURCE((nIDText >> 4) + 1), RT_STRING);
  info.lpszText = MAKEINTRESOURCE(nIDText);
}

}  // namespace

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  return CWnd::CreateEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), nullptr);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TOOLINFO info = ToolOf(pWnd, nIDTool);
  if (lpRectTool != nullptr) info.rect = *lpRectTool;
  info.lpszText = const_cast<LPSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TOOLINFO info = ToolOf(pWnd, nIDTool);
  if (lpRectTool != nullptr) info.rect = *lpRectTool;
  SetResourceText(info, nIDText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO info = ToolOf(pWnd, nIDTool);
  SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO info = ToolOf(pWnd, nIDTool);
  info.lpszText = const_cast<LPSTR>(lpszText);
  SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO info = ToolOf(pWnd, nIDTool);
  SetResourceText(info, nIDText);
  SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
  TOOLINFO info = ToolOf(pWnd, nIDTool);
  char text[256] = {};
  info.lpszText = text;
  ::SendMessage(m_hWnd, TTM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(&info));
  str = text;
}

BOOL CToolTipCtrl::GetToolInfo(LPTOOLINFO lpToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  TOOLINFO info = ToolOf(pWnd, nIDTool);
  info.lpszText = lpToolInfo->lpszText;
  if (!::SendMessage(m_hWnd, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&info))) return FALSE;
  *lpToolInfo = info;
  return TRUE;
}

BOOL CToolTipCtrl::GetToolInfo(CToolInfo& toolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  toolInfo.szText[0] = '\0';
  toolInfo.lpszText = toolInfo.szText;
  return GetToolInfo(static_cast<LPTOOLINFO>(&toolInfo), pWnd, nIDTool);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  TOOLINFO info = ToolOf(pWnd, nIDTool);
  info.rect = *lpRect;
  SendMessage(TTM_NEWTOOLRECT, 0, reinterpret_cast<LPARAM>(&info));
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const {
  TTHITTESTINFO hit{};
  hit.hwnd = pWnd->GetSafeHwnd();
  hit.pt = pt;
  hit.ti.cbSize = sizeof(TOOLINFO);
  hit.ti.lpszText = lpToolInfo != nullptr ? lpToolInfo->lpszText : nullptr;
  if (!::SendMessage(m_hWnd, TTM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))) return FALSE;
  if (lpToolInfo != nullptr) *lpToolInfo = hit.ti;
  return TRUE;
}

BEGIN_MESSAGE_MAP(CToolTipCtrl, CWnd)
  ON_MESSAGE(TTM_WINDOWFROMPOINT, OnWindowFromPoint)
END_MESSAGE_MAP()

LRESULT CToolTipCtrl::OnWindowFromPoint(WPARAM, LPARAM lParam) {
  POINT point = *reinterpret_cast<const POINT*>(lParam);
  HWND hWnd = ::WindowFromPoint(point);
  if (hWnd == nullptr) return 0;
  HWND child = brambolt::afx::ToolChildFromPoint(hWnd, point);
  return reinterpret_cast<LRESULT>(child != nullptr ? child : hWnd);
}

// ---- CTabCtrl ----

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_TABCONTROL, nullptr, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam) {
  TCITEM item{};
  item.mask = nMask;
  item.pszText = const_cast<LPSTR>(lpszItem);
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(nItem, &item);
}

void CTabCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return CWnd::OnChildNotify(message, wParam, lParam, pResult) || brambolt::afx::DrawItemNotify(this, message, lParam);
}
