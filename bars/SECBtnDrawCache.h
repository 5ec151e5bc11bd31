// SECBtnDrawCache: the surfaces toolbar buttons draw through (one per toolbar manager, or one per
// bar without a manager): an image, a mask and a work DC, the work and mask bitmaps as large as
// the bar's widest button, and the dither brush of checked faces.
#pragma once

#include "afx/afx.h"

class SECBtnDrawCache {
 public:
  SECBtnDrawCache();
  ~SECBtnDrawCache();
  SECBtnDrawCache(const SECBtnDrawCache&) = delete;
  SECBtnDrawCache& operator=(const SECBtnDrawCache&) = delete;

  // Makes the work bitmap (compatible with pDC) and the mask bitmap for buttons up to cx by cy;
  // Release restores and frees them.
  BOOL Prepare(CDC* pDC, int cx, int cy);
  void Release();
  BOOL IsPrepared() const { return m_hbmWork != nullptr; }
  // Selects a bitmap of images into the image DC (null: none).
  void SelectImage(HBITMAP hbm);
  HBITMAP GetImage() const { return m_hbmImage; }
  // The brush is made again in the current button face and highlight colours.
  void SysColorChange();

  // 1 in the mask DC where the image cell at (xSrc, ySrc) is not the face colour (the part
  // drawn); the mask covers (0, 0, cx, cy).
  void MakeMask(int xSrc, int ySrc, int cx, int cy);
  // The mask's (0, 0, cx, cy) drawn embossed into the work DC at (x, y).
  void DrawMaskEmbossed(int x, int y, int cx, int cy);

  CDC m_dcImage;
  CDC m_dcMask;
  CDC m_dcWork;
  HBRUSH m_hDitherBrush = nullptr;
  CSize m_sizeWork{0, 0};

 private:
  void FreeBitmaps();

  HBITMAP m_hbmWork = nullptr;
  HBITMAP m_hbmMask = nullptr;
  HGDIOBJ m_hbmOldWork = nullptr;
  HGDIOBJ m_hbmOldMask = nullptr;
  HBITMAP m_hbmImage = nullptr;
  HGDIOBJ m_hbmOldImage = nullptr;
};

// The 8x8 dither of checked faces: rows alternately 0x5555AAAA and 0xAAAA5555 as a monochrome
// pattern, the 0 bits in the button face colour and the 1 bits in the highlight colour.
HBRUSH SECCreateDitherBrush();
