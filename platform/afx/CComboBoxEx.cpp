// CComboBoxEx: creation under the extended combo box class and its image list and child objects.
#include "afx/CComboBoxEx.h"

IMPLEMENT_DYNAMIC(CComboBoxEx, CComboBox)

BOOL CComboBoxEx::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_COMBOBOXEX, nullptr, dwStyle, rect, pParentWnd, nID);
}

CImageList* CComboBoxEx::SetImageList(CImageList* pImageList) {
  auto old = reinterpret_cast<HIMAGELIST>(
      SendMessage(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr)));
  return old ? CImageList::FromHandle(old) : nullptr;
}

CImageList* CComboBoxEx::GetImageList() const {
  auto images = reinterpret_cast<HIMAGELIST>(::SendMessage(m_hWnd, CBEM_GETIMAGELIST, 0, 0));
  return images ? CImageList::FromHandle(images) : nullptr;
}

// As with the scroll bars handed to scroll handlers, the classes add no data to CWnd, so a
// temporary CWnd serves as one.
CComboBox* CComboBoxEx::GetComboBoxCtrl() const {
  auto combo = reinterpret_cast<HWND>(::SendMessage(m_hWnd, CBEM_GETCOMBOCONTROL, 0, 0));
  return combo ? reinterpret_cast<CComboBox*>(CWnd::FromHandle(combo)) : nullptr;
}

CEdit* CComboBoxEx::GetEditCtrl() const {
  auto edit = reinterpret_cast<HWND>(::SendMessage(m_hWnd, CBEM_GETEDITCONTROL, 0, 0));
  return edit ? reinterpret_cast<CEdit*>(CWnd::FromHandle(edit)) : nullptr;
}
