// SECComboBtn: the combo box of a toolbar, a combo-box window that is also a window button of
// its bar; SECComboBtnEdit, its edit field, whose mouse messages go to the button part first.
#pragma once

#include "bars/SECWndBtn.h"

class SECComboBtn;

class SECComboBtnEdit : public CEdit {
 public:
  SECComboBtn* m_pCombo = nullptr;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class SECComboBtn : public CComboBox, public SECWndBtn {
  DECLARE_DYNAMIC(SECComboBtn)

 public:
  SECComboBtn();
  ~SECComboBtn() override;

  CWnd* GetWnd() override { return this; }
  BOOL CreateWnd(CWnd* pParentWnd, DWORD dwStyle, const CRect& rect, UINT nID) override;
  const SECButtonClass* GetButtonClass() const override { return &s_btnClass; }

  // Mouse and cursor messages of the combo box or its edit field, offered to the button part:
  // a press may start a drag or a resize, and in customise mode every one is swallowed. TRUE
  // with the result when taken.
  BOOL FilterMouse(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The button map's creation function: the combo box, handed out as its button part.
  static SECStdBtn* CreateComboButton() { return static_cast<SECWndBtn*>(new SECComboBtn); }
  static const SECButtonClass s_btnClass;

  SECComboBtnEdit m_edit;
  CFont m_font;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
