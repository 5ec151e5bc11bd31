// CPoint, CSize and CRect members that build new rectangles.
#include "core/Geometry.h"

#include <utility>

CPoint CSize::operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
CPoint CSize::operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }
CRect CSize::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
CRect CSize::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }

CRect CPoint::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
CRect CPoint::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }

void CRect::InflateRect(int l, int t, int r, int b) {
  left -= l;
  top -= t;
  right += r;
  bottom += b;
}

void CRect::DeflateRect(int l, int t, int r, int b) {
  left += l;
  top += t;
  right -= r;
  bottom -= b;
}

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

CRect CRect::MulDiv(int nMultiplier, int nDivisor) const {
  return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
               ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
}

CRect CRect::operator+(POINT point) const {
  CRect rect(*this);
  rect.OffsetRect(point);
  return rect;
}
CRect CRect::operator-(POINT point) const {
  CRect rect(*this);
  rect.OffsetRect(-point.x, -point.y);
  return rect;
}
CRect CRect::operator+(SIZE size) const {
  CRect rect(*this);
  rect.OffsetRect(size);
  return rect;
}
CRect CRect::operator-(SIZE size) const {
  CRect rect(*this);
  rect.OffsetRect(-size.cx, -size.cy);
  return rect;
}
CRect CRect::operator+(const RECT* lpRect) const {
  CRect rect(*this);
  rect.InflateRect(lpRect);
  return rect;
}
CRect CRect::operator-(const RECT* lpRect) const {
  CRect rect(*this);
  rect.DeflateRect(lpRect);
  return rect;
}
CRect CRect::operator&(const RECT& rect2) const {
  CRect rect;
  ::IntersectRect(&rect, this, &rect2);
  return rect;
}
CRect CRect::operator|(const RECT& rect2) const {
  CRect rect;
  ::UnionRect(&rect, this, &rect2);
  return rect;
}
