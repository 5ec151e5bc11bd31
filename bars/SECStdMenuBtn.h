// SECStdMenuBtn: an image button that pops up a submenu of a menu resource under itself.
#pragma once

#include "bars/SECStdBtn.h"

class SECStdMenuBtn : public SECStdBtn {
 public:
  SECStdMenuBtn();

  // Parameters: [0] the menu resource, [1] the submenu's position, [2] the alignment under the
  // button: 0 left, 4 centred (TPM_CENTERALIGN), 8 right (TPM_RIGHTALIGN).
  void Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
  // Unless it has the drop-down style, shows the submenu (owned by the main window) and never
  // takes the press: the menu's choice is the command.
  BOOL BtnPressed(CPoint point) override;
  const SECButtonClass* GetButtonClass() const override { return &s_btnClass; }
  // The screen point the submenu opens at, with its TPM_ alignment flag.
  CPoint MenuPoint(UINT& nFlags) const;

  static const SECButtonClass s_btnClass;

  CMenu m_menu;
  int m_nSubMenu = 0;
  UINT m_nAlign = 0;
};
