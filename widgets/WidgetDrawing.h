// Drawing the toolkit's controls share: the embossed look of disabled contents.
#pragma once

#include <initializer_list>

#include "afx/afx.h"

namespace widgets {

// Turns what is drawn in the first cx by cy pixels of pDC into the disabled look: every pixel in
// one of the background colours counts as empty, the rest is painted once in the highlight colour
// at hiOffset and once in the shadow colour at shOffset, over the button face.
void Emboss(CDC* pDC, int cx, int cy, std::initializer_list<COLORREF> background, CPoint hiOffset, CPoint shOffset);

}  // namespace widgets
