// SECTBMenuBtn: a text button that drops a menu (the menubar's top-level items); its caption,
// mnemonic and menu, and its flat look.
#pragma once

#include "bars/SECStdBtn.h"

class SECTBMenuBtn : public SECStdBtn {
 public:
  SECTBMenuBtn();

  // Parameters: [0] the menu value (a resource id or a menu handle), [1] the position of the
  // popup in it (-1: the value itself), [2] the caption (text pointer), [3] the menu bit.
  void Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
  BOOL BtnPressed(CPoint point) override;
  UINT BtnReleased(CPoint point) override;
  void AdjustSize() override;
  void Draw(CDC& dc, SECBtnDrawCache& cache) override;
  const SECButtonClass* GetButtonClass() const override { return &s_btnClass; }
  // Asks the bar to drop this button's menu (notification -2120 with the menu and position).
  virtual void DropMenu();
  // The character after the first "&" of the caption, upper-cased; 0 when there is none.
  virtual void UpdateMnemonic();

  static const SECButtonClass s_btnClass;

  CString m_strCaption;
  UINT_PTR m_nMenu = 0;
  int m_nPosition = -1;
  char m_cMnemonic = 0;
  DWORD m_dwMenuBit = 0;
};

// The light tone of a flat menu button's face: the window colour scaled per channel on displays
// of more than 8 bits per pixel, the face colour otherwise.
COLORREF SECMenuButtonLightTone(COLORREF window, COLORREF face, int bitsPerPixel);
