// The code page a file's text is in, decided once where the file is read and carried with what is
// read from it; the page writers only convert from it.
#pragma once

#include "base/base.h"

struct TextCodePage {
  // 936 (GB2312), 950 (Big5), 1252 or CP_UTF8; 0 for text of ASCII alone, or text that reads in
  // none of them.
  UINT nCodePage = 0;
  // False when the text could not tell and the project's language chose: such text is no reason to
  // rewrite a byte, and goes to the pages as it is.
  bool bCertain = false;
};
