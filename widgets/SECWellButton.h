// SECWellButton: an owner-drawn button that shows the current colour with a drop-down arrow and
// opens a popup colour well when clicked.
#pragma once

#include "widgets/SECColorWell.h"
#include "widgets/SECOwnerDrawButton.h"

namespace kelpwood::foundation {

class SECWellButton : public SECOwnerDrawButton {
  DECLARE_DYNAMIC(SECWellButton)

 public:
  SECWellButton();
  ~SECWellButton() override;

  void OnClicked() override;
  void PrepareDC(CDC* pDC, CDC* pMemDC) override;
  void RestoreDC(CDC* pDC, CDC* pMemDC) override;
  void DrawFocusRect(CDC* pDC, RECT* pRect) override;
  void DrawContents(CDC* pDC, LPDRAWITEMSTRUCT pDIS, RECT* pRect) override;

  virtual void SetDialogFlags(DWORD dwFlags) { m_dwDialogFlags = dwFlags; }
  virtual DWORD GetDialogFlags() const { return m_dwDialogFlags; }
  virtual void SetCustomColors(COLORREF* pColors) { m_pCustomColors = pColors; }
  virtual void CreateButtonPalette();
  virtual void ShowPopup();

  void SetColor(COLORREF clr);
  COLORREF GetColor() const { return m_clr; }
  void SetPaletteMode(BOOL bPaletteMode) { m_bPaletteMode = bPaletteMode; }
  void SetOtherButton(BOOL bOtherButton) { m_bOtherButton = bOtherButton; }
  COLORREF* GetCustomColors() const { return m_pCustomColors; }
  SECPopupColorWell* GetPopup() const { return m_pPopup; }

  SECPopupColorWell* m_pPopup = nullptr;
  CPalette m_palette;
  HPALETTE m_hOldPalette = nullptr;
  HPALETTE m_hOldMemPalette = nullptr;
  BOOL m_bPaletteMode = FALSE;
  BOOL m_bOtherButton = TRUE;
  DWORD m_dwDialogFlags = CC_RGBINIT | CC_FULLOPEN;
  COLORREF* m_pCustomColors = nullptr;

 protected:
  COLORREF m_clr = RGB(0, 0, 0);
  // The colour dialog's custom colours when the caller gave none.
  COLORREF m_internalCustomColors[16] = {};
  void TakeColor(COLORREF clr);

  afx_msg LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOtherColor(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

}  // namespace kelpwood::foundation
