// The standard control objects: creation under the predefined class names, and the owner-draw
// and keyboard messages the parent reflects to the control's virtuals.
#include "afx/AfxControls.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace brambolt::afx {

CString ItemText(HWND hWnd, UINT lenMessage, UINT textMessage, int nIndex) {
  CString text;
  auto length = static_cast<int>(::SendMessage(hWnd, lenMessage, static_cast<WPARAM>(nIndex), 0));
  if (length < 0) return text;
  ::SendMessage(hWnd, textMessage, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
  text.ReleaseBuffer();
  return text;
}

}  // namespace brambolt::afx

// ---- CStatic ----

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_STATIC, lpszText, dwStyle, rect, pParentWnd, nID);
}

void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return CWnd::OnChildNotify(message, wParam, lParam, pResult) || brambolt::afx::DrawItemNotify(this, message, lParam);
}

// ---- CButton ----

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_BUTTON, lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return CWnd::OnChildNotify(message, wParam, lParam, pResult) || brambolt::afx::DrawItemNotify(this, message, lParam);
}

// ---- CEdit ----

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_EDIT, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const {
  // The message reads the room from the buffer's first WORD, so less than that cannot be said.
  if (nMaxLength < static_cast<int>(sizeof(WORD))) {
    if (nMaxLength > 0) lpszBuffer[0] = '\0';
    return 0;
  }
  auto room = static_cast<WORD>(std::min(nMaxLength, 0xFFFF));
  lpszBuffer[0] = static_cast<TCHAR>(room & 0xFF);
  lpszBuffer[1] = static_cast<TCHAR>(room >> 8);
  int copied = GetLine(nIndex, lpszBuffer);
  if (copied < nMaxLength) lpszBuffer[copied] = '\0';
  return copied;
}

// ---- CListBox ----

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_LISTBOX, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListBox::VKeyToItem(UINT, UINT) { return -1; }
int CListBox::CharToItem(UINT, UINT) { return -1; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_VKEYTOITEM && message != WM_CHARTOITEM)
    return ListItems::OnChildNotify(message, wParam, lParam, pResult);
  if (CWnd::OnChildNotify(message, wParam, lParam, pResult)) return TRUE;
  UINT key = LOWORD(wParam), caret = HIWORD(wParam);
  int item = message == WM_VKEYTOITEM ? VKeyToItem(key, caret) : CharToItem(key, caret);
  if (pResult != nullptr) *pResult = item;
  return TRUE;
}

// ---- CComboBox ----

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_COMBOBOX, nullptr, dwStyle, rect, pParentWnd, nID);
}

// ---- CScrollBar ----

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_SCROLLBAR, nullptr, dwStyle, rect, pParentWnd, nID);
}
