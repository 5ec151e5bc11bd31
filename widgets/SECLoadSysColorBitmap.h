// SECLoadSysColorBitmap: a bitmap resource whose black, dark grey, light grey and white follow
// the button text, shadow, face and highlight colours of the moment.
#pragma once

#include "afx/afx.h"

namespace kelpwood::foundation {

// FALSE, with no bitmap in pBitmap, when the resource is missing or cannot be made into a
// bitmap. Bitmaps of more than 8 bits per pixel have no colour table: they load unchanged.
BOOL SECLoadSysColorBitmap(CBitmap* pBitmap, LPCTSTR lpszResourceName);

}  // namespace kelpwood::foundation
