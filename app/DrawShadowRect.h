// The shadow of a class box, shared by the class diagrams, the hierarchy chart and the chart's
// colour legend in the project settings.
#pragma once

#include "afx/afx.h"

// Darkens every other pixel of the box moved right and down by nDepth: an 8 by 8 checker pattern
// brush (hPattern when given, the application's) painted with R2_MASKPEN and no outline. The DC's
// pen, brush and mix mode are restored.
void DrawShadowRect(HDC hDC, const RECT& rcBox, int nDepth, HBRUSH hPattern = nullptr);
