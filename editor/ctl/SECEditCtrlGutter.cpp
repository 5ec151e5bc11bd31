// The editor controller's gutter metrics (mark margin, line-number margin, their styles) and the
// controller's own font, which draws the line numbers.
#include "editor/ctl/SECEditController.h"
#include "editor/model/SECEdit.h"

int SECEditController::GetMarkMarginWidth() {
  if (m_nGutterStyle == SECEDIT_GUTTER_NUMBERS || m_nGutterStyle == SECEDIT_GUTTER_NONE) return 0;
  return m_nMarkMarginWidth;
}

int SECEditController::GetLineNumberMarginWidth() {
  if (m_nGutterStyle == SECEDIT_GUTTER_NONE || m_nGutterStyle == SECEDIT_GUTTER_MARKS) return 0;
  if (m_nLineNumberMarginWidth >= 0) return m_nLineNumberMarginWidth;
  return GetLineNumberDigits() * (m_pFontInfo ? m_pFontInfo->GetFontWidth() : 0);
}

int SECEditController::GetLineNumberDigits() {
  if (m_nLineNumberDigits >= 0) return m_nLineNumberDigits;
  SECEdit* model = GetEditModel();
  int count = model != nullptr ? model->GetLineCount() : 0;
  int digits = 1;
  while (count >= 10) {
    count /= 10;
    ++digits;
  }
  return digits;
}

void SECEditController::FormatLineNumber(CString& out, int number) {
  out.Format("%d", number);
  const int digits = GetLineNumberDigits();
  if (out.GetLength() < digits) out = CString('0', digits - out.GetLength()) + out;
}

void SECEditController::CreateFonts() {
  SECEditFontInfo* info = m_pFontInfo.get();
  for (CFont* font : info->m_fonts) delete font;
  info->m_fonts.clear();
  auto* font = new CFont;
  if (!font->CreateFont(info->m_nLineHeight, info->m_nFontWidth, 0, 0, 0, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, info->m_strFaceName)) {
    delete font;
    return;
  }
  info->m_fonts.push_back(font);
}

void SECEditController::OnEditFontSize() {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return;
  const BOOL hadCaret = m_bCaretCreated;
  if (hadCaret) DestroyEditCaret();
  model->EditFontSize();
  if (hadCaret) CreateEditCaret(TRUE);
  EnsureCaretVisible();
}
