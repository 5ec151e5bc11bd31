// The toolbar drop-down lists of classes, class members and functions: combo-box buttons whose
// owner-drawn rows show the component picture and the name padded before the tail after its last
// "@", with a fixed text for no selection; Return in the edit notifies the bar's owner.
#pragma once

#include "bars/SECComboBtn.h"

// What the three buttons share; they differ in their button class and empty-selection text.
class CGWDropBtnBase : public SECComboBtn {
 public:
  explicit CGWDropBtnBase(LPCTSTR lpszEmptyText);

  // Adds the drop-down-list style when the style names no combo kind, and owner-drawn rows.
  BOOL CreateWnd(CWnd* pParentWnd, DWORD dwStyle, const CRect& rect, UINT nID) override;
  void ShowAsButton(BOOL bAsButton) override;
  void AdjustSize() override;
  BOOL CanDrag() const override { return TRUE; }
  BOOL PreTranslateMessage(MSG* pMsg) override;

  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  // The line a row shows: the empty-selection text for -1, else the row's text split at its last
  // "@" with the name padded to 24 characters.
  CString GetItemLine(int nItem) const;

  static constexpr UINT kReturnNotify = 513;
  static constexpr int kNameWidth = 24;

 protected:
  // The height of the combo box's field, which the button takes.
  void FollowComboHeight();

  CString m_strEmptyText;
  CBitmap m_bmpRow;
  CBitmap m_bmpMask;
};

class CGWDropClassBtn : public CGWDropBtnBase {
 public:
  CGWDropClassBtn() : CGWDropBtnBase("(All Classes)") {}
  const SECButtonClass* GetButtonClass() const override { return &s_btnClass; }
  static SECStdBtn* CreateButton() { return static_cast<SECWndBtn*>(new CGWDropClassBtn); }
  static const SECButtonClass s_btnClass;
};

class CGWDropIDBtn : public CGWDropBtnBase {
 public:
  CGWDropIDBtn() : CGWDropBtnBase("(All class members)") {}
  const SECButtonClass* GetButtonClass() const override { return &s_btnClass; }
  static SECStdBtn* CreateButton() { return static_cast<SECWndBtn*>(new CGWDropIDBtn); }
  static const SECButtonClass s_btnClass;
};

class CGWDropFunctionBtn : public CGWDropBtnBase {
 public:
  CGWDropFunctionBtn() : CGWDropBtnBase("(All Functions)") {}
  const SECButtonClass* GetButtonClass() const override { return &s_btnClass; }
  static SECStdBtn* CreateButton() { return static_cast<SECWndBtn*>(new CGWDropFunctionBtn); }
  static const SECButtonClass s_btnClass;
};
