// Structures of SystemParametersInfo that carry fonts, and the reset of its settings.
#pragma once

#include "gdi/GdiTypes.h"
#include "win/WinUser.h"

// 340 bytes, the size of the original layout: every field is a 32-bit integer or a 60-byte
// LOGFONT, so the 64-bit build has the same layout. (The later form with iPaddedBorderWidth,
// 344 bytes, is refused, as it is by systems that predate it.)
typedef struct tagNONCLIENTMETRICSA {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONT lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONT lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONT lfMenuFont;
  LOGFONT lfStatusFont;
  LOGFONT lfMessageFont;
} NONCLIENTMETRICS, NONCLIENTMETRICSA, *LPNONCLIENTMETRICS;
static_assert(sizeof(NONCLIENTMETRICS) == 340);

typedef struct tagICONMETRICSA {
  UINT cbSize;
  int iHorzSpacing;
  int iVertSpacing;
  int iTitleWrap;
  LOGFONT lfFont;
} ICONMETRICS, *LPICONMETRICS;

typedef struct tagANIMATIONINFO {
  UINT cbSize;
  int iMinAnimate;
} ANIMATIONINFO, *LPANIMATIONINFO;

typedef struct tagHIGHCONTRASTA {
  UINT cbSize;
  DWORD dwFlags;
  LPSTR lpszDefaultScheme;
} HIGHCONTRAST, *LPHIGHCONTRAST;
#define HCF_HIGHCONTRASTON 0x00000001

namespace brambolt {
// The fonts of the non-client area (caption, small caption, menu, status, message), as LOGFONTs.
LOGFONT NonClientFont(int which);
enum { kCaptionFont, kSmallCaptionFont, kMenuFont, kStatusFont, kMessageFont };
// Back to the classic values of every SystemParametersInfo setting (tests undo their changes).
void ResetSystemParameters();
}  // namespace brambolt
