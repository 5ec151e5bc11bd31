// CFontDialog: the font dialog with the framework's hook; the chosen LOGFONT, face, size,
// style, weight, effects and colour.
#pragma once

#include "afx/CCommonDialog.h"
#include "controls/FontDialog.h"

class CFontDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFontDialog)

 public:
  // With lplfInitial the dialog starts from that font and writes the choice back into it.
  explicit CFontDialog(LPLOGFONT lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                       CDC* pdcPrinter = nullptr, CWnd* pParentWnd = nullptr);

  CHOOSEFONT m_cf{};
  LOGFONT m_lf{};  // the font chosen (a copy of *m_cf.lpLogFont after OK)

  // IDOK or IDCANCEL.
  INT_PTR DoModal() override;
  // While the dialog is up, the font it shows; afterwards the font chosen.
  void GetCurrentFont(LPLOGFONT lplf);
  CString GetFaceName() const { return m_cf.lpLogFont->lfFaceName; }
  CString GetStyleName() const { return m_cf.lpszStyle; }
  // In tenths of a point.
  int GetSize() const { return m_cf.iPointSize; }
  COLORREF GetColor() const { return m_cf.rgbColors; }
  int GetWeight() const { return m_cf.lpLogFont->lfWeight; }
  BOOL IsStrikeOut() const { return m_cf.lpLogFont->lfStrikeOut ? TRUE : FALSE; }
  BOOL IsUnderline() const { return m_cf.lpLogFont->lfUnderline ? TRUE : FALSE; }
  BOOL IsBold() const { return m_cf.lpLogFont->lfWeight == FW_BOLD ? TRUE : FALSE; }
  BOOL IsItalic() const { return m_cf.lpLogFont->lfItalic ? TRUE : FALSE; }

 protected:
  char m_szStyleName[64] = {};
};
