// The editor's font set: its information context and the fonts it owns.
#include "editor/SECEditFontInfo.h"

SECEditFontInfo::SECEditFontInfo() {
  if (m_dcInfo.CreateIC("DISPLAY", "", "", nullptr)) m_dcInfo.SetMapMode(MM_TEXT);
}

SECEditFontInfo::~SECEditFontInfo() {
  if (m_dcInfo.GetSafeHdc() != nullptr) m_dcInfo.SelectStockObject(DEFAULT_GUI_FONT);
  for (CFont* font : m_fonts) delete font;
  m_fonts.clear();
  m_dcInfo.DeleteDC();
}
