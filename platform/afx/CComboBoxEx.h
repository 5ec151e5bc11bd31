// CComboBoxEx: the framework's object over the extended combo box, whose items carry images.
#pragma once

#include "afx/AfxControls.h"
#include "afx/CImageList.h"
#include "controls/ComboBoxEx.h"

class CComboBoxEx : public CComboBox {
  DECLARE_DYNAMIC(CComboBoxEx)

 public:
  CComboBoxEx() = default;
  // dwStyle's CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST makes the inner combo box.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // The index of the new item, -1 on failure.
  int InsertItem(const COMBOBOXEXITEM* pCBItem) {
    return Send(CBEM_INSERTITEM, 0, reinterpret_cast<LPARAM>(pCBItem));
  }
  // The count left, CB_ERR for a bad index.
  int DeleteItem(int iIndex) { return Send(CBEM_DELETEITEM, static_cast<WPARAM>(iIndex)); }
  using CComboBox::DeleteItem;
  BOOL GetItem(COMBOBOXEXITEM* pCBItem) { return Send(CBEM_GETITEM, 0, reinterpret_cast<LPARAM>(pCBItem)); }
  BOOL SetItem(const COMBOBOXEXITEM* pCBItem) { return Send(CBEM_SETITEM, 0, reinterpret_cast<LPARAM>(pCBItem)); }

  // The control draws from the list but does not own it.
  CImageList* SetImageList(CImageList* pImageList);
  CImageList* GetImageList() const;

  // Temporary objects over the inner combo box and its edit (null without an edit).
  CComboBox* GetComboBoxCtrl() const;
  CEdit* GetEditCtrl() const;

  // CBES_EX_ styles; bits outside dwExMask keep their value (a zero mask changes them all).
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(Get(CBEM_GETEXTENDEDSTYLE)); }
  DWORD SetExtendedStyle(DWORD dwExMask, DWORD dwExStyles) {
    return static_cast<DWORD>(::SendMessage(m_hWnd, CBEM_SETEXTENDEDSTYLE, dwExMask, static_cast<LPARAM>(dwExStyles)));
  }
  // Whether the user typed in the edit since the last CBEN_ENDEDIT.
  BOOL HasEditChanged() { return Send(CBEM_HASEDITCHANGED); }
};
