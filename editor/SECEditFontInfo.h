// The fonts an editor draws with and the display information context they are measured on.
#pragma once

#include <vector>

#include "afx/CDC.h"
#include "afx/GdiObjects.h"

class SECEditFontInfo {
 public:
  // An information context for the display in MM_TEXT (null when it cannot be made).
  SECEditFontInfo();
  // Selects the stock GUI font into the context, then deletes the fonts and the context.
  virtual ~SECEditFontInfo();
  SECEditFontInfo(const SECEditFontInfo&) = delete;
  SECEditFontInfo& operator=(const SECEditFontInfo&) = delete;

  int GetFontWidth() const { return m_nFontWidth; }

  CDC m_dcInfo;
  std::vector<CFont*> m_fonts;  // owned
  int m_nFontWidth = 0;
  CString m_strFaceName;
  // Filled by the model with the fonts.
  int m_nPointSize = 0;
  TEXTMETRIC m_tm{};
  int m_nLineHeight = 0;
  int m_nTabMarkWidth = 0;
  int m_nBlankWidth = 0;
};
