// The Win32 rectangle functions.
#include "base/RectFunctions.h"

#include <algorithm>

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (lprc == nullptr) return FALSE;
  *lprc = RECT{xLeft, yTop, xRight, yBottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
  if (lprcDst == nullptr || lprcSrc == nullptr) return FALSE;
  *lprcDst = *lprcSrc;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc) {
  return lprc == nullptr || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

BOOL EqualRect(const RECT* lprc1, const RECT* lprc2) {
  if (lprc1 == nullptr || lprc2 == nullptr) return FALSE;
  return lprc1->left == lprc2->left && lprc1->top == lprc2->top && lprc1->right == lprc2->right &&
         lprc1->bottom == lprc2->bottom;
}

BOOL PtInRect(const RECT* lprc, POINT pt) {
  if (lprc == nullptr) return FALSE;
  return pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
  if (lprc == nullptr) return FALSE;
  lprc->left += dx;
  lprc->right += dx;
  lprc->top += dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy) {
  if (lprc == nullptr) return FALSE;
  lprc->left -= dx;
  lprc->right += dx;
  lprc->top -= dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (lprcDst == nullptr) return FALSE;
  if (lprcSrc1 == nullptr || lprcSrc2 == nullptr || IsRectEmpty(lprcSrc1) || IsRectEmpty(lprcSrc2)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  RECT r{std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
         std::min(lprcSrc1->right, lprcSrc2->right), std::min(lprcSrc1->bottom, lprcSrc2->bottom)};
  if (IsRectEmpty(&r)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  *lprcDst = r;
  return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (lprcDst == nullptr) return FALSE;
  bool bEmpty1 = IsRectEmpty(lprcSrc1), bEmpty2 = IsRectEmpty(lprcSrc2);
  if (bEmpty1 && bEmpty2) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  if (bEmpty1) {
    *lprcDst = *lprcSrc2;
  } else if (bEmpty2) {
    *lprcDst = *lprcSrc1;
  } else {
    *lprcDst = RECT{std::min(lprcSrc1->left, lprcSrc2->left), std::min(lprcSrc1->top, lprcSrc2->top),
                    std::max(lprcSrc1->right, lprcSrc2->right), std::max(lprcSrc1->bottom, lprcSrc2->bottom)};
  }
  return TRUE;
}

BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (lprcDst == nullptr || lprcSrc1 == nullptr) return FALSE;
  if (IsRectEmpty(lprcSrc1)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  RECT overlap;
  RECT result = *lprcSrc1;
  if (lprcSrc2 != nullptr && IntersectRect(&overlap, lprcSrc1, lprcSrc2)) {
    bool bFullWidth = overlap.left == result.left && overlap.right == result.right;
    bool bFullHeight = overlap.top == result.top && overlap.bottom == result.bottom;
    if (bFullWidth && bFullHeight) {
      SetRectEmpty(lprcDst);
      return FALSE;
    }
    if (bFullWidth) {
      if (overlap.top == result.top)
        result.top = overlap.bottom;
      else if (overlap.bottom == result.bottom)
        result.bottom = overlap.top;
    } else if (bFullHeight) {
      if (overlap.left == result.left)
        result.left = overlap.right;
      else if (overlap.right == result.right)
        result.right = overlap.left;
    }
  }
  *lprcDst = result;
  return TRUE;
}
