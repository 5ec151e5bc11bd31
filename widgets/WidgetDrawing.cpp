// The embossed look of disabled contents, through a monochrome mask of what was drawn.
#include "widgets/WidgetDrawing.h"

namespace widgets {

namespace {

// Paints brush colour where the mask is black, leaves the target where it is white.
constexpr DWORD kPaintThroughBlack = 0x00B8074A;

void PaintThroughMask(CDC* pDC, CDC* pMask, int cx, int cy, CPoint offset, COLORREF clr) {
  CBrush brush(clr);
  CBrush* pOld = pDC->SelectObject(&brush);
  const COLORREF oldBk = pDC->SetBkColor(RGB(255, 255, 255));
  const COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
  pDC->BitBlt(offset.x, offset.y, cx - offset.x, cy - offset.y, pMask, 0, 0, kPaintThroughBlack);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
  pDC->SelectObject(pOld);
}

}  // namespace

void Emboss(CDC* pDC, int cx, int cy, std::initializer_list<COLORREF> background, CPoint hiOffset, CPoint shOffset) {
  if (cx <= 0 || cy <= 0) return;
  CDC maskDC;
  CBitmap mask;
  if (!maskDC.CreateCompatibleDC(pDC) || !mask.CreateBitmap(cx, cy, 1, 1, nullptr)) return;
  CBitmap* pOldMask = maskDC.SelectObject(&mask);
  // Colour to monochrome: pixels of the source's background colour become white.
  const COLORREF oldBk = pDC->GetBkColor();
  DWORD rop = SRCCOPY;
  for (COLORREF clr : background) {
    pDC->SetBkColor(clr);
    maskDC.BitBlt(0, 0, cx, cy, pDC, 0, 0, rop);
    rop = SRCPAINT;
  }
  pDC->SetBkColor(oldBk);
  pDC->FillSolidRect(0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
  PaintThroughMask(pDC, &maskDC, cx, cy, hiOffset, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  PaintThroughMask(pDC, &maskDC, cx, cy, shOffset, ::GetSysColor(COLOR_BTNSHADOW));
  maskDC.SelectObject(pOldMask);
}

}  // namespace widgets
