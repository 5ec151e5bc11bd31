// The code page a file's text is in, decided once where the file is read and carried with what is
// read from it; the page writers only convert from it.
#pragma once

#include "base/base.h"

// Japanese text, which the program reads but does not convert: it is left as it was written.
constexpr UINT kShiftJisCodePage = 932;

struct TextCodePage {
  // 936 (GB2312), 950 (Big5), 1252, CP_UTF8 or kShiftJisCodePage; 0 for text of ASCII alone, or
  // text whose code page nobody decided (a file name).
  UINT nCodePage = 0;
  // False when the text could not tell and the project's language chose; the text is read and
  // converted in that code page all the same.
  bool bCertain = false;
  // Text typed in the program: every line of it is in the code page, none is read apart.
  bool bTyped = false;
  // Where the text could not tell: the code pages it reads about as well in (nCodePage among
  // them), one bit each in the order 936, 950, 1252, CP_UTF8. A run documenting in one of them
  // reads the text in that one.
  unsigned nCloseReadings = 0;
  // Where the text could not tell: a Chinese project's language chose its reading when the text was
  // read, and every page reads it so, whatever language a run documents in.
  bool bProjectChose = false;

  static unsigned ReadingBit(UINT nReading) {
    return nReading == 936 ? 1u : nReading == 950 ? 2u : nReading == 1252 ? 4u : nReading == CP_UTF8 ? 8u : 0u;
  }
  bool ReadsAbout(UINT nReading) const {
    return !bCertain && !bProjectChose && (nCloseReadings & ReadingBit(nReading)) != 0;
  }
};
