// CColorDialog: the colour dialog with the framework's hook, the colour chosen, the colour set
// while it is up, and the custom colours the thread keeps between dialogs.
#pragma once

#include "afx/CCommonDialog.h"
#include "controls/ColorDialog.h"

class CColorDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CColorDialog)

 public:
  // A colour other than 0 starts the dialog (CC_RGBINIT).
  explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

  CHOOSECOLOR m_cc{};

  // IDOK or IDCANCEL.
  INT_PTR DoModal() override;
  COLORREF GetColor() const { return m_cc.rgbResult; }
  // Makes clr the dialog's current colour while it is up.
  void SetCurrentColor(COLORREF clr);
  // The 16 custom colours every colour dialog of this thread starts with and keeps (white at
  // first); m_cc.lpCustColors points here unless the caller gives its own.
  static COLORREF* GetSavedCustomColors();

 protected:
  // TRUE refuses the colour chosen with OK (the dialog stays); m_cc.rgbResult holds it.
  virtual BOOL OnColorOK();
  UINT_PTR OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
