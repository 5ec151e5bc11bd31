// SECMemDC: an off-screen device context over a rectangle of a target context, drawn with the
// target's coordinates and copied onto the target when it is destroyed.
#pragma once

#include "afx/CDC.h"
#include "afx/GdiObjects.h"
#include "core/Geometry.h"

namespace kelpwood::foundation {

class SECMemDC : public CDC {
 public:
  // The rectangle is in the target's logical coordinates. A null target, or a context or bitmap
  // that cannot be made, throws the framework's resource exception.
  SECMemDC(CDC* pDC, CRect rect);
  SECMemDC(CDC* pDC, const RECT* pRect);
  ~SECMemDC() override;

  SECMemDC(const SECMemDC&) = delete;
  SECMemDC& operator=(const SECMemDC&) = delete;

 protected:
  CDC* m_pDC = nullptr;
  CBitmap m_bitmap;
  CBitmap* m_pOldBitmap = nullptr;
  CRect m_rect;
  CPoint m_ptViewportOrg;
  CPoint m_ptWindowOrg;
  CSize m_szViewportExt;
  CSize m_szWindowExt;

 private:
  void Build();
  void ApplyMapping();
  int m_nMapMode = MM_TEXT;
  // Where the rectangle's top-left corner lies on the target's device.
  CPoint m_ptOffset;
};

}  // namespace kelpwood::foundation
