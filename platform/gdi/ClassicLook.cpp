// The classic look: DrawEdge, DrawFrameControl, DrawFocusRect, DrawState, GrayString and the
// CDC helpers, drawn in the system colours.
#include "gdi/ClassicLook.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gdi/Bitmaps.h"
#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/GdiInternal.h"
#include "gdi/Icons.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "gdi/Text.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace {

// Paints a rectangle given in surface coordinates.
void Fill(DeviceContext& dc, Surface& s, const RECT& r, COLORREF c) {
  PaintRectClipped(dc, s, r, SolidPaint(dc, c), 0xF0);
}

struct EdgeColors {
  COLORREF topLeft, bottomRight;
};

// One border ring of one pixel on the sides in 'flags'; shrinks r by the sides drawn.
void Border(DeviceContext& dc, Surface& s, RECT& r, EdgeColors c, UINT flags) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  // The bottom-right colour owns the top-right and bottom-left corners.
  if (flags & BF_TOP) Fill(dc, s, RECT{r.left, r.top, r.right - ((flags & BF_RIGHT) ? 1 : 0), r.top + 1}, c.topLeft);
  if (flags & BF_LEFT) Fill(dc, s, RECT{r.left, r.top, r.left + 1, r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)}, c.topLeft);
  if (flags & BF_RIGHT) Fill(dc, s, RECT{r.right - 1, r.top, r.right, r.bottom}, c.bottomRight);
  if (flags & BF_BOTTOM) Fill(dc, s, RECT{r.left, r.bottom - 1, r.right, r.bottom}, c.bottomRight);
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

EdgeColors OuterColors(UINT edge, UINT flags) {
  if (flags & BF_MONO) return {GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME)};
  if (flags & BF_FLAT) return {GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW)};
  bool soft = flags & BF_SOFT;
  if (edge & BDR_RAISEDOUTER)
    return {GetSysColor(soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW)};
  return {GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT)};
}

EdgeColors InnerColors(UINT edge, UINT flags) {
  if (flags & BF_MONO) return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW)};
  if (flags & BF_FLAT) return {GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_3DFACE)};
  bool soft = flags & BF_SOFT;
  if (edge & BDR_RAISEDINNER)
    return {GetSysColor(soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW)};
  return {GetSysColor(soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT)};
}

void DiagonalLine(DeviceContext& dc, Surface& s, POINT a, POINT b, COLORREF c) {
  int n = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
  Paint p = SolidPaint(dc, c);
  for (int i = 0; i < n; ++i) {
    int x = a.x + (b.x - a.x) * i / std::max(n, 1), y = a.y + (b.y - a.y) * i / std::max(n, 1);
    PaintSpanClipped(dc, s, y, x, x + 1, p, 0xF0);
  }
}

// Draws in surface coordinates; returns the interior left.
RECT EdgeOnSurface(DeviceContext& dc, Surface& s, RECT r, UINT edge, UINT flags) {
  if (flags & BF_DIAGONAL) {
    EdgeColors outer = OuterColors(edge, flags), inner = InnerColors(edge, flags);
    POINT a, b;
    UINT ends = flags & BF_RECT;
    if (ends == BF_DIAGONAL_ENDTOPRIGHT - BF_DIAGONAL) a = {r.left, r.bottom - 1}, b = {r.right, r.top - 1};
    else if (ends == BF_DIAGONAL_ENDTOPLEFT - BF_DIAGONAL) a = {r.right - 1, r.bottom - 1}, b = {r.left - 1, r.top - 1};
    else if (ends == BF_DIAGONAL_ENDBOTTOMLEFT - BF_DIAGONAL) a = {r.right - 1, r.top}, b = {r.left - 1, r.bottom};
    else a = {r.left, r.top}, b = {r.right, r.bottom};
    bool lowerSide = (flags & BF_BOTTOM) != 0;
    if (edge & BDR_OUTER) DiagonalLine(dc, s, a, b, lowerSide ? outer.bottomRight : outer.topLeft);
    if (edge & BDR_INNER) {
      int dx = (flags & BF_RIGHT) ? -1 : 1;
      DiagonalLine(dc, s, POINT{a.x + dx, a.y}, POINT{b.x + dx, b.y}, lowerSide ? inner.bottomRight : inner.topLeft);
    }
    return r;
  }
  if (edge & BDR_OUTER) Border(dc, s, r, OuterColors(edge, flags), flags);
  if (edge & BDR_INNER) Border(dc, s, r, InnerColors(edge, flags), flags);
  if (flags & BF_MIDDLE) Fill(dc, s, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
  return r;
}

RECT SurfaceToLogical(const DeviceContext& dc, const RECT& r) {
  // Drawing code works on the surface; BF_ADJUST and DFCS_ADJUSTRECT report logical rectangles.
  POINT a{r.left - dc.origin.x, r.top - dc.origin.y}, b{r.right - dc.origin.x, r.bottom - dc.origin.y};
  const DcState& st = dc.st;
  auto back = [&](POINT p) {
    if (st.mapMode == MM_TEXT)
      return POINT{p.x - st.viewportOrg.x + st.windowOrg.x, p.y - st.viewportOrg.y + st.windowOrg.y};
    return POINT{MulDiv(p.x - st.viewportOrg.x, st.windowExt.cx, st.viewportExt.cx) + st.windowOrg.x,
                 MulDiv(p.y - st.viewportOrg.y, st.windowExt.cy, st.viewportExt.cy) + st.windowOrg.y};
  };
  a = back(a);
  b = back(b);
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Draws one Marlett character centred in a surface rectangle with the given colour.
void Glyph(HDC hdc, const RECT& logical, char ch, int em, COLORREF color, int dx = 0, int dy = 0) {
  HFONT font = CreateFont(-std::max(em, 1), 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
  HGDIOBJ old = SelectObject(hdc, font);
  int mode = SetBkMode(hdc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(hdc, color);
  UINT align = SetTextAlign(hdc, TA_LEFT | TA_TOP);
  RECT r{logical.left + dx, logical.top + dy, logical.right + dx, logical.bottom + dy};
  char text[2] = {ch, 0};
  DrawText(hdc, text, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  SetTextAlign(hdc, align);
  SetTextColor(hdc, oldColor);
  SetBkMode(hdc, mode);
  SelectObject(hdc, old);
  DeleteObject(font);
}

void GlyphWithState(HDC hdc, const RECT& r, char ch, int em, UINT state) {
  int shift = (state & DFCS_PUSHED) ? 1 : 0;
  if (state & DFCS_INACTIVE) {
    Glyph(hdc, r, ch, em, GetSysColor(COLOR_3DHILIGHT), shift + 1, shift + 1);
    Glyph(hdc, r, ch, em, GetSysColor(COLOR_3DSHADOW), shift, shift);
  } else {
    Glyph(hdc, r, ch, em, GetSysColor(COLOR_BTNTEXT), shift, shift);
  }
}

// The classic check mark in a 13-pixel box: seven columns, three pixels tall each.
void CheckMark(DeviceContext& dc, Surface& s, const RECT& box, COLORREF c) {
  static const int kTop[7] = {5, 6, 7, 6, 5, 4, 3};
  int ox = box.left + (box.right - box.left - 13) / 2, oy = box.top + (box.bottom - box.top - 13) / 2;
  for (int i = 0; i < 7; ++i) Fill(dc, s, RECT{ox + 3 + i, oy + kTop[i], ox + 4 + i, oy + kTop[i] + 3}, c);
}

void CheckBox(DeviceContext& dc, Surface& s, RECT r, UINT state) {
  int side = std::min(r.right - r.left, r.bottom - r.top);
  RECT box{r.left, r.top + (r.bottom - r.top - side) / 2, r.left + side, r.top + (r.bottom - r.top - side) / 2 + side};
  RECT inner = box;
  if (state & DFCS_MONO) {
    Border(dc, s, inner, {GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME)}, BF_RECT);
  } else if (state & DFCS_FLAT) {
    Border(dc, s, inner, {GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW)}, BF_RECT);
  } else {
    inner = EdgeOnSurface(dc, s, inner, EDGE_SUNKEN, BF_RECT);
  }
  bool grey = (state & (DFCS_PUSHED | DFCS_INACTIVE)) || (state & DFCS_BUTTON3STATE && state & DFCS_CHECKED);
  Fill(dc, s, inner, GetSysColor(grey ? COLOR_3DFACE : COLOR_WINDOW));
  if (state & DFCS_CHECKED) {
    COLORREF mark = (state & (DFCS_INACTIVE | DFCS_BUTTON3STATE)) ? GetSysColor(COLOR_3DSHADOW) : GetSysColor(COLOR_WINDOWTEXT);
    CheckMark(dc, s, box, mark);
  }
}

void Radio(DeviceContext& dc, Surface& s, RECT r, UINT state) {
  int side = std::min(r.right - r.left, r.bottom - r.top) & ~1;
  RECT box{r.left, r.top + (r.bottom - r.top - side) / 2, r.left + side, 0};
  box.bottom = box.top + side;
  Region outer = Region::FromEllipse(box);
  RECT b1{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
  RECT b2{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
  Region middle = Region::FromEllipse(b1), inside = Region::FromEllipse(b2);
  double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  auto ring = [&](const Region& ringArea, COLORREF tl, COLORREF br) {
    for (const RECT& q : ringArea.Rects())
      for (int y = q.top; y < q.bottom; ++y)
        for (int x = q.left; x < q.right; ++x) {
          bool topLeft = (x + 0.5 - cx) + (y + 0.5 - cy) < 0;
          PaintSpanClipped(dc, s, y, x, x + 1, SolidPaint(dc, topLeft ? tl : br), 0xF0);
        }
  };
  if (state & DFCS_BUTTONRADIOMASK) {
    Fill(dc, s, box, RGB(255, 255, 255));
    PaintRegion(dc, s, outer, SolidPaint(dc, RGB(0, 0, 0)), 0xF0);
    return;
  }
  if (state & DFCS_BUTTONRADIOIMAGE) Fill(dc, s, box, RGB(0, 0, 0));
  if (state & (DFCS_MONO | DFCS_FLAT)) {
    COLORREF frame = GetSysColor((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_3DSHADOW);
    ring(Region::Combine(outer, middle, RGN_DIFF), frame, frame);
    PaintRegion(dc, s, middle, SolidPaint(dc, GetSysColor((state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_3DFACE : COLOR_WINDOW)), 0xF0);
  } else {
    ring(Region::Combine(outer, middle, RGN_DIFF), GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT));
    ring(Region::Combine(middle, inside, RGN_DIFF), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    PaintRegion(dc, s, inside, SolidPaint(dc, GetSysColor((state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_3DFACE : COLOR_WINDOW)), 0xF0);
  }
  if (state & DFCS_CHECKED) {
    int d = std::max(2, side / 3);
    RECT dot{static_cast<LONG>(std::lround(cx - d / 2.0)), static_cast<LONG>(std::lround(cy - d / 2.0)), 0, 0};
    dot.right = dot.left + d;
    dot.bottom = dot.top + d;
    PaintRegion(dc, s, Region::FromEllipse(dot),
                SolidPaint(dc, GetSysColor((state & DFCS_INACTIVE) ? COLOR_3DSHADOW : COLOR_WINDOWTEXT)), 0xF0);
  }
}

void PushFace(DeviceContext& dc, Surface& s, RECT& r, UINT state, bool scroll) {
  UINT flags = BF_RECT | BF_MIDDLE | BF_SOFT;
  UINT edge = EDGE_RAISED;
  if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
    if (scroll) flags |= BF_FLAT;
    else edge = EDGE_SUNKEN;
  }
  if (state & DFCS_FLAT) flags |= BF_FLAT;
  if (state & DFCS_MONO) flags |= BF_MONO;
  r = EdgeOnSurface(dc, s, r, edge, flags);
}

void SizeGrip(DeviceContext& dc, Surface& s, const RECT& r) {
  auto diagonal = [&](int d, COLORREF c) {
    for (int j = 0; j <= d; ++j) {
      int x = r.right - 1 - j, y = r.bottom - 1 - (d - j);
      if (x >= r.left && y >= r.top) PaintSpanClipped(dc, s, y, x, x + 1, SolidPaint(dc, c), 0xF0);
    }
  };
  for (int k = 0; k < 3; ++k) {
    int d = 11 - 4 * k;
    diagonal(d, GetSysColor(COLOR_3DHILIGHT));
    diagonal(d - 1, GetSysColor(COLOR_3DSHADOW));
    diagonal(d - 2, GetSysColor(COLOR_3DSHADOW));
  }
}

}  // namespace

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
  auto dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  CallLog log(*dc, "DrawEdge", {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(edge), static_cast<int>(flags)});
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  RECT inside = EdgeOnSurface(*dc, *scope.surface(), ToSurfaceRect(*dc, *rect), edge, flags);
  if ((flags & BF_ADJUST) && !(flags & BF_DIAGONAL)) *rect = SurfaceToLogical(*dc, inside);
  return TRUE;
}

BOOL DrawFrameControl(HDC hdc, LPRECT rect, UINT type, UINT state) {
  auto dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  CallLog log(*dc, "DrawFrameControl", {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(type), static_cast<int>(state)});
  RECT r;
  {
    DrawScope scope(*dc);
    Surface* s = scope.surface();
    if (!s) return TRUE;
    r = ToSurfaceRect(*dc, *rect);
    switch (type) {
      case DFC_BUTTON:
        if (state & DFCS_BUTTONPUSH) {
          PushFace(*dc, *s, r, state, false);
          if (state & DFCS_ADJUSTRECT) *rect = SurfaceToLogical(*dc, r);
          return TRUE;
        }
        if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOMASK | DFCS_BUTTONRADIOIMAGE)) Radio(*dc, *s, r, state);
        else CheckBox(*dc, *s, r, state);
        return TRUE;
      case DFC_CAPTION:
      case DFC_SCROLL:
        if (type == DFC_SCROLL && (state & (DFCS_SCROLLSIZEGRIP | DFCS_SCROLLSIZEGRIPRIGHT))) {
          Fill(*dc, *s, r, GetSysColor(COLOR_3DFACE));
          SizeGrip(*dc, *s, r);
          return TRUE;
        }
        PushFace(*dc, *s, r, state, type == DFC_SCROLL);
        break;
      case DFC_MENU:
      case DFC_POPUPMENU:
        Fill(*dc, *s, r, RGB(255, 255, 255));
        break;
      default:
        return FALSE;
    }
  }
  // Glyphs go through the text path so they match the Marlett font.
  RECT logical = SurfaceToLogical(*dc, r);
  RECT whole = *rect;
  int em = std::min(whole.right - whole.left, whole.bottom - whole.top);
  if (type == DFC_CAPTION) {
    static const char kCaption[] = {'r', '0', '1', '2', 's'};
    UINT which = state & 0xFF;
    GlyphWithState(hdc, logical, which < 5 ? kCaption[which] : 'r', em, state);
  } else if (type == DFC_SCROLL) {
    char ch = '6';
    switch (state & 0xFF) {
      case DFCS_SCROLLUP: ch = '5'; break;
      case DFCS_SCROLLLEFT: ch = '3'; break;
      case DFCS_SCROLLRIGHT: ch = '4'; break;
      default: ch = '6'; break;
    }
    GlyphWithState(hdc, logical, ch, em - 2, state);
  } else {
    char ch = '8';
    switch (state & 0xFF) {
      case DFCS_MENUCHECK: ch = 'a'; break;
      case DFCS_MENUBULLET: ch = 'h'; break;
      default: ch = '8'; break;
    }
    Glyph(hdc, whole, ch, em, RGB(0, 0, 0));
  }
  return TRUE;
}

namespace brambolt {

void DrawDisabledText(HDC hdc, LPCSTR text, int length, RECT rect, UINT format) {
  const COLORREF oldColor = GetTextColor(hdc);
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  RECT shadow = rect;
  OffsetRect(&shadow, 1, 1);
  SetTextColor(hdc, GetSysColor(COLOR_3DHILIGHT));
  DrawText(hdc, text, length, &shadow, format);
  SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  DrawText(hdc, text, length, &rect, format);
  SetTextColor(hdc, oldColor);
  SetBkMode(hdc, oldMode);
}

void FillScrollShaft(HDC hdc, const RECT& rect) {
  if (GetSysColor(COLOR_SCROLLBAR) != GetSysColor(COLOR_3DFACE)) {
    FillRect(hdc, &rect, GetSysColorBrush(COLOR_SCROLLBAR));
    return;
  }
  // A monochrome pattern brush paints its set bits in the text colour and the rest in the
  // background colour.
  COLORREF oldText = SetTextColor(hdc, GetSysColor(COLOR_3DFACE));
  COLORREF oldBack = SetBkColor(hdc, GetSysColor(COLOR_3DHILIGHT));
  FillRect(hdc, &rect, GetHalftoneBrush());
  SetTextColor(hdc, oldText);
  SetBkColor(hdc, oldBack);
}

HBRUSH GetHalftoneBrush() {
  static HBRUSH brush = [] {
    WORD rows[8];
    for (int i = 0; i < 8; ++i) rows[i] = (i % 2) ? 0x55 : 0xAA;
    HBITMAP bm = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH b = CreatePatternBrush(bm);
    DeleteObject(bm);
    if (auto o = Lookup(b)) o->stock = true;
    return b;
  }();
  return brush;
}

HBITMAP CreateSystemBitmap(UINT id) {
  struct Kind {
    UINT id;
    int width, height;
    bool mono;
    UINT type, state;
  } static const kKinds[] = {
      {OBM_CHECK, 13, 13, true, DFC_MENU, DFCS_MENUCHECK},
      {OBM_MNARROW, 13, 13, true, DFC_MENU, DFCS_MENUARROW},
      {OBM_UPARROW, 16, 16, false, DFC_SCROLL, DFCS_SCROLLUP},
      {OBM_DNARROW, 16, 16, false, DFC_SCROLL, DFCS_SCROLLDOWN},
      {OBM_LFARROW, 16, 16, false, DFC_SCROLL, DFCS_SCROLLLEFT},
      {OBM_RGARROW, 16, 16, false, DFC_SCROLL, DFCS_SCROLLRIGHT},
      {OBM_COMBO, 16, 16, false, DFC_SCROLL, DFCS_SCROLLCOMBOBOX},
      {OBM_CLOSE, 16, 14, false, DFC_CAPTION, DFCS_CAPTIONCLOSE},
      {OBM_REDUCE, 16, 14, false, DFC_CAPTION, DFCS_CAPTIONMIN},
      {OBM_ZOOM, 16, 14, false, DFC_CAPTION, DFCS_CAPTIONMAX},
      {OBM_RESTORE, 16, 14, false, DFC_CAPTION, DFCS_CAPTIONRESTORE},
  };
  for (const Kind& k : kKinds) {
    if (k.id != id) continue;
    HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP bitmap = k.mono ? CreateBitmap(k.width, k.height, 1, 1, nullptr) : CreateCompatibleBitmap(screen, k.width, k.height);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bitmap);
    RECT r{0, 0, k.width, k.height};
    DrawFrameControl(mem, &r, k.type, k.state);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteDC(screen);
    return bitmap;
  }
  return nullptr;
}

void DrawBarBorders(HDC hdc, RECT& rect, UINT sides, bool threeD) {
  const RECT outer = rect;
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF hilite = GetSysColor(COLOR_BTNHIGHLIGHT);
  // The top and bottom lines run the whole width; the side lines stop inside them.
  int top = outer.top + ((sides & BF_TOP) ? 2 : 0);
  int bottom = outer.bottom - ((sides & BF_BOTTOM) ? 2 : 0);
  if (sides & BF_TOP) FillSolidRect(hdc, RECT{outer.left, outer.top, outer.right, outer.top + 1}, shadow);
  if (sides & BF_BOTTOM) FillSolidRect(hdc, RECT{outer.left, outer.bottom - 2, outer.right, outer.bottom - 1}, shadow);
  if (sides & BF_LEFT) FillSolidRect(hdc, RECT{outer.left, top, outer.left + 1, bottom}, shadow);
  if (sides & BF_RIGHT) FillSolidRect(hdc, RECT{outer.right - 2, top, outer.right - 1, bottom}, shadow);
  if (threeD) {
    if (sides & BF_TOP) FillSolidRect(hdc, RECT{outer.left, outer.top + 1, outer.right, outer.top + 2}, hilite);
    if (sides & BF_BOTTOM) FillSolidRect(hdc, RECT{outer.left, outer.bottom - 1, outer.right, outer.bottom}, hilite);
    if (sides & BF_LEFT) FillSolidRect(hdc, RECT{outer.left + 1, top, outer.left + 2, bottom}, hilite);
    if (sides & BF_RIGHT) FillSolidRect(hdc, RECT{outer.right - 1, top, outer.right, bottom}, hilite);
  }
  if (sides & BF_LEFT) rect.left += 2;
  if (sides & BF_TOP) rect.top += 2;
  if (sides & BF_RIGHT) rect.right -= 2;
  if (sides & BF_BOTTOM) rect.bottom -= 2;
}

void DrawBarGripper(HDC hdc, const RECT& rect) {
  Draw3dRect(hdc, rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

int DrawToolButtonFace(HDC hdc, const RECT& rect, UINT look) {
  const bool sunken = (look & (kToolPressed | kToolChecked)) != 0 && !(look & kToolIndeterminate);
  RECT r = rect;
  FillSolidRect(hdc, r, GetSysColor(COLOR_BTNFACE));
  // A checked button at rest, and an indeterminate one, show the dither of highlight and face.
  if (((look & kToolChecked) && !(look & (kToolPressed | kToolHot))) || (look & kToolIndeterminate)) {
    RECT inner = r;
    InflateRect(&inner, -2, -2);
    COLORREF oldText = SetTextColor(hdc, GetSysColor(COLOR_BTNFACE));
    COLORREF oldBk = SetBkColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ oldBrush = SelectObject(hdc, GetHalftoneBrush());
    PatBlt(hdc, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top, PATCOPY);
    SelectObject(hdc, oldBrush);
    SetBkColor(hdc, oldBk);
    SetTextColor(hdc, oldText);
  }
  if (look & kToolFlat) {
    // Flat buttons show a thin edge only when hot, pressed or checked.
    if (sunken)
      Draw3dRect(hdc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    else if ((look & kToolHot) && !(look & kToolDisabled))
      Draw3dRect(hdc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
  } else {
    DrawEdge(hdc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | (sunken ? 0 : BF_SOFT));
  }
  return sunken ? 1 : 0;
}

void DrawToolSeparator(HDC hdc, const RECT& rect, bool horizontalBar, bool flat) {
  if (!flat) return;
  RECT r = rect;
  if (horizontalBar) {
    int x = (r.left + r.right) / 2 - 1;
    r = RECT{x, rect.top, x + 2, rect.bottom};
    DrawEdge(hdc, &r, EDGE_ETCHED, BF_LEFT);
  } else {
    int y = (r.top + r.bottom) / 2 - 1;
    r = RECT{rect.left, y, rect.right, y + 2};
    DrawEdge(hdc, &r, EDGE_ETCHED, BF_TOP);
  }
}

void DrawEmbossedMask(HDC hdc, HBITMAP mask, int x, int y, int cx, int cy) {
  HDC mem = CreateCompatibleDC(hdc);
  HGDIOBJ oldBitmap = SelectObject(mem, mask);
  COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
  COLORREF oldBk = SetBkColor(hdc, RGB(255, 255, 255));
  // The mask's set bits come out white (the background colour): there the destination takes the
  // brush, elsewhere it stays (0xE20746: D ^ (S & (P ^ D))).
  auto paint = [&](int dx, int dy, int color) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(color));
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    BitBlt(hdc, x + dx, y + dy, cx, cy, mem, 0, 0, 0x00E20746);
    SelectObject(hdc, oldBrush);
    DeleteObject(brush);
  };
  paint(1, 1, COLOR_BTNHIGHLIGHT);
  paint(0, 0, COLOR_BTNSHADOW);
  SetBkColor(hdc, oldBk);
  SetTextColor(hdc, oldText);
  SelectObject(mem, oldBitmap);
  DeleteDC(mem);
}

HBITMAP CreateToolImageMask(HBITMAP image, int x, int y, int cx, int cy) {
  if (image == nullptr || cx <= 0 || cy <= 0) return nullptr;
  HDC color = CreateCompatibleDC(nullptr);
  HDC mono = CreateCompatibleDC(nullptr);
  HGDIOBJ oldColor = SelectObject(color, image);
  HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);
  HGDIOBJ oldMono = SelectObject(mono, mask);
  SetBkColor(color, GetSysColor(COLOR_BTNFACE));
  BitBlt(mono, 0, 0, cx, cy, color, x, y, SRCCOPY);
  SetBkColor(color, GetSysColor(COLOR_BTNHIGHLIGHT));
  BitBlt(mono, 0, 0, cx, cy, color, x, y, SRCPAINT);
  PatBlt(mono, 0, 0, cx, cy, DSTINVERT);
  SelectObject(mono, oldMono);
  SelectObject(color, oldColor);
  DeleteDC(mono);
  DeleteDC(color);
  return mask;
}

void DrawStatusPane(HDC hdc, const RECT& rect, bool noBorders, bool popOut) {
  if (noBorders) return;
  if (popOut)
    Draw3dRect(hdc, rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
  else
    Draw3dRect(hdc, rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
}

void DrawCaptionBar(HDC hdc, const RECT& bar, bool active, HFONT font, const char* text, int textLeft, int textRight) {
  if (bar.right <= bar.left || bar.bottom <= bar.top) return;
  FillRect(hdc, &bar, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  RECT line{bar.left, bar.bottom, bar.right, bar.bottom + 1};
  FillRect(hdc, &line, GetSysColorBrush(COLOR_3DFACE));
  if (text == nullptr || *text == 0 || textRight <= textLeft) return;
  HGDIOBJ old = SelectObject(hdc, font);
  int oldMode = SetBkMode(hdc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(hdc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  RECT r{textLeft, bar.top, textRight, bar.bottom};
  DrawText(hdc, text, static_cast<int>(std::strlen(text)), &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  SetTextColor(hdc, oldColor);
  SetBkMode(hdc, oldMode);
  SelectObject(hdc, old);
}

void FillSolidRect(HDC hdc, const RECT& rect, COLORREF color) {
  // As the framework's helper does, the background colour stays set afterwards.
  SetBkColor(hdc, color);
  ExtTextOut(hdc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Draw3dRect(HDC hdc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  int x = r.left, y = r.top, cx = r.right - r.left, cy = r.bottom - r.top;
  FillSolidRect(hdc, RECT{x, y, x + cx - 1, y + 1}, topLeft);
  FillSolidRect(hdc, RECT{x, y, x + 1, y + cy - 1}, topLeft);
  FillSolidRect(hdc, RECT{x + cx - 1, y, x + cx, y + cy}, bottomRight);
  FillSolidRect(hdc, RECT{x, y + cy - 1, x + cx, y + cy}, bottomRight);
}

}  // namespace brambolt

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  auto dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  CallLog log(*dc, "DrawFocusRect", {rect->left, rect->top, rect->right, rect->bottom});
  DrawScope scope(*dc);
  Surface* s = scope.surface();
  if (!s) return TRUE;
  RECT r = ToSurfaceRect(*dc, *rect);
  if (r.right - r.left < 1 || r.bottom - r.top < 1) return TRUE;
  // A one-pixel frame through the halftone brush with PATINVERT; drawing it again restores.
  auto brush = LookupAs<BrushObject>(GetHalftoneBrush(), OBJ_BRUSH);
  DcState saved = dc->st;
  dc->st.brushOrg = POINT{-dc->origin.x, -dc->origin.y};
  dc->st.textColor = RGB(0, 0, 0);
  dc->st.bkColor = RGB(255, 255, 255);
  Paint p = RealizeBrush(*dc, brush.get());
  dc->st.brushOrg = saved.brushOrg;
  dc->st.textColor = saved.textColor;
  dc->st.bkColor = saved.bkColor;
  Region frame(r);
  if (r.right - r.left > 2 && r.bottom - r.top > 2) frame.SubtractRect(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
  PaintRegion(*dc, *s, frame, p, 0x5A);
  return TRUE;
}

namespace {

// Renders the content of DrawState into a colour image and a mask (black where content is).
struct StateImage {
  HBITMAP color = nullptr, mask = nullptr;
  int cx = 0, cy = 0;
  ~StateImage() {
    if (color) DeleteObject(color);
    if (mask) DeleteObject(mask);
  }
};

bool RenderState(HDC hdc, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int cx, int cy, UINT type, UINT flags,
                 StateImage& out) {
  if (type == DST_TEXT || type == DST_PREFIXTEXT) {
    auto* text = reinterpret_cast<LPCSTR>(lData);
    int length = wData ? static_cast<int>(wData) : -1;
    if (cx == 0 || cy == 0) {
      RECT calc{0, 0, 0, 0};
      DrawText(hdc, text, length, &calc, DT_CALCRECT | DT_SINGLELINE | (type == DST_TEXT ? DT_NOPREFIX : 0));
      if (!cx) cx = calc.right;
      if (!cy) cy = calc.bottom;
    }
  } else if (type == DST_ICON) {
    SIZE size{};
    if (!GetIconSize(reinterpret_cast<HICON>(lData), &size)) return false;
    if (!cx) cx = size.cx;
    if (!cy) cy = size.cy;
  } else if (type == DST_BITMAP) {
    BITMAP bm{};
    if (!GetObject(reinterpret_cast<HBITMAP>(lData), sizeof bm, &bm)) return false;
    if (!cx) cx = bm.bmWidth;
    if (!cy) cy = bm.bmHeight;
  }
  if (cx <= 0 || cy <= 0) return false;
  out.cx = cx;
  out.cy = cy;
  out.color = CreateCompatibleBitmap(hdc, cx, cy);
  HDC mem = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(mem, out.color);
  RECT all{0, 0, cx, cy};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(mem, GetCurrentObject(hdc, OBJ_FONT));
  SetTextColor(mem, (flags & (DSS_DISABLED | DSS_MONO | DSS_UNION)) ? RGB(0, 0, 0) : GetTextColor(hdc));
  SetBkMode(mem, TRANSPARENT);
  switch (type) {
    case DST_TEXT:
    case DST_PREFIXTEXT: {
      UINT fmt = DT_SINGLELINE | (type == DST_TEXT ? DT_NOPREFIX : 0) | ((flags & DSS_HIDEPREFIX) ? DT_HIDEPREFIX : 0) |
                 ((flags & DSS_PREFIXONLY) ? DT_PREFIXONLY : 0) | ((flags & DSS_RIGHT) ? DT_RIGHT : 0);
      DrawText(mem, reinterpret_cast<LPCSTR>(lData), wData ? static_cast<int>(wData) : -1, &all, fmt);
      break;
    }
    case DST_ICON: DrawIconEx(mem, 0, 0, reinterpret_cast<HICON>(lData), cx, cy, 0, nullptr, DI_NORMAL); break;
    case DST_BITMAP: {
      HDC src = CreateCompatibleDC(hdc);
      HGDIOBJ o = SelectObject(src, reinterpret_cast<HBITMAP>(lData));
      BitBlt(mem, 0, 0, cx, cy, src, 0, 0, SRCCOPY);
      SelectObject(src, o);
      DeleteDC(src);
      break;
    }
    default:
      if (proc) proc(mem, lData, wData, cx, cy);
      break;
  }
  // The mask: white where the content left the white background alone.
  out.mask = CreateBitmap(cx, cy, 1, 1, nullptr);
  HDC maskDC = CreateCompatibleDC(nullptr);
  HGDIOBJ oldMask = SelectObject(maskDC, out.mask);
  SetBkColor(mem, RGB(255, 255, 255));
  BitBlt(maskDC, 0, 0, cx, cy, mem, 0, 0, SRCCOPY);
  SelectObject(maskDC, oldMask);
  DeleteDC(maskDC);
  SelectObject(mem, old);
  DeleteDC(mem);
  return true;
}

// Paints 'color' where the mask is black, at (x, y), through an optional 50% dither.
void PaintMask(HDC hdc, HBITMAP mask, int x, int y, int cx, int cy, HBRUSH brush, bool dither) {
  HDC maskDC = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(maskDC, mask);
  if (dither) {
    HDC ditherDC = CreateCompatibleDC(nullptr);
    HBITMAP dithered = CreateBitmap(cx, cy, 1, 1, nullptr);
    HGDIOBJ oldDither = SelectObject(ditherDC, dithered);
    BitBlt(ditherDC, 0, 0, cx, cy, maskDC, 0, 0, SRCCOPY);
    HGDIOBJ oldBrush = SelectObject(ditherDC, GetHalftoneBrush());
    PatBlt(ditherDC, 0, 0, cx, cy, 0x00FA0089);  // DPo: dither holes become white
    SelectObject(ditherDC, oldBrush);
    BitBlt(maskDC, 0, 0, cx, cy, ditherDC, 0, 0, SRCCOPY);
    SelectObject(ditherDC, oldDither);
    DeleteObject(dithered);
    DeleteDC(ditherDC);
  }
  // Where the mask is 0 paint the brush, elsewhere keep the destination: (S & D) | (~S & P).
  COLORREF text = SetTextColor(hdc, RGB(0, 0, 0));
  COLORREF bk = SetBkColor(hdc, RGB(255, 255, 255));
  HGDIOBJ oldBrush = SelectObject(hdc, brush);
  BitBlt(hdc, x, y, cx, cy, maskDC, 0, 0, 0x00B8074A);
  SelectObject(hdc, oldBrush);
  SetTextColor(hdc, text);
  SetBkColor(hdc, bk);
  SelectObject(maskDC, old);
  DeleteDC(maskDC);
}

}  // namespace

void brambolt::DrawMenuGlyph(HDC hdc, const RECT& rect, UINT glyph, COLORREF color) {
  const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
  if (cx <= 0 || cy <= 0) return;
  HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);
  HDC mem = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(mem, mask);
  RECT all{0, 0, cx, cy};
  DrawFrameControl(mem, &all, DFC_MENU, glyph);
  SelectObject(mem, old);
  DeleteDC(mem);
  HBRUSH brush = CreateSolidBrush(color);
  PaintMask(hdc, mask, rect.left, rect.top, cx, cy, brush, false);
  DeleteObject(brush);
  DeleteObject(mask);
}

BOOL DrawState(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx, int cy,
               UINT flags) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, "DrawState", {x, y, cx, cy, static_cast<int>(flags)});
  UINT type = flags & 0x000F;
  if ((flags & DSS_DISABLED) && !proc && (type == DST_TEXT || type == DST_PREFIXTEXT) && lData) {
    // Text is embossed as text (DrawDisabledText), where a mask would count every anti-aliased
    // edge pixel as ink and fatten the letters.
    auto* text = reinterpret_cast<LPCSTR>(lData);
    const int length = wData ? static_cast<int>(wData) : -1;
    const UINT format = DT_SINGLELINE | DT_NOCLIP | (type == DST_TEXT ? DT_NOPREFIX : 0) |
                        ((flags & DSS_HIDEPREFIX) ? DT_HIDEPREFIX : 0) | ((flags & DSS_PREFIXONLY) ? DT_PREFIXONLY : 0) |
                        ((flags & DSS_RIGHT) ? DT_RIGHT : 0);
    RECT box{x, y, x + cx, y + cy};
    if (cx == 0 || cy == 0) {
      RECT calc{0, 0, 0, 0};
      DrawText(hdc, text, length, &calc, DT_CALCRECT | format);
      box.right = x + (cx ? cx : calc.right);
      box.bottom = y + (cy ? cy : calc.bottom);
    }
    DrawDisabledText(hdc, text, length, box, format);
    return TRUE;
  }
  StateImage image;
  if (!RenderState(hdc, proc, lData, wData, cx, cy, type, flags, image)) return FALSE;
  cx = image.cx;
  cy = image.cy;
  if (flags & DSS_DISABLED) {
    // Embossed: highlight shifted down-right, shadow on top.
    HBRUSH hi = CreateSolidBrush(GetSysColor(COLOR_3DHILIGHT));
    HBRUSH sh = CreateSolidBrush(GetSysColor(COLOR_3DSHADOW));
    PaintMask(hdc, image.mask, x + 1, y + 1, cx, cy, hi, false);
    PaintMask(hdc, image.mask, x, y, cx, cy, sh, false);
    DeleteObject(hi);
    DeleteObject(sh);
    return TRUE;
  }
  if (flags & (DSS_MONO | DSS_UNION)) {
    HBRUSH b = brush ? brush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    PaintMask(hdc, image.mask, x, y, cx, cy, b, (flags & DSS_UNION) != 0);
    return TRUE;
  }
  // Normal: the content over the destination, transparent where nothing was drawn.
  HDC mem = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(mem, image.color);
  MaskBlt(hdc, x, y, cx, cy, mem, 0, 0, image.mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
  SelectObject(mem, old);
  DeleteDC(mem);
  return TRUE;
}

BOOL GrayString(HDC hdc, HBRUSH brush, GRAYSTRINGPROC proc, LPARAM lData, int length, int x, int y, int cx, int cy) {
  if (!LookupDC(hdc)) return FALSE;
  if (!proc) {
    auto* text = reinterpret_cast<LPCSTR>(lData);
    if (!text) return FALSE;
    if (length == 0) length = static_cast<int>(std::strlen(text));
    StateImage image;
    if (!RenderState(hdc, nullptr, lData, static_cast<WPARAM>(length), cx, cy, DST_TEXT, DSS_MONO, image)) return FALSE;
    HBRUSH b = brush ? brush : GetSysColorBrush(COLOR_GRAYTEXT);
    PaintMask(hdc, image.mask, x, y, image.cx, image.cy, b, false);
    return TRUE;
  }
  StateImage image;
  auto complex = [](HDC mem, LPARAM data, WPARAM, int, int) -> BOOL {
    auto* b = reinterpret_cast<const std::pair<GRAYSTRINGPROC, std::pair<LPARAM, int>>*>(data);
    return b->first(mem, b->second.first, b->second.second);
  };
  std::pair<GRAYSTRINGPROC, std::pair<LPARAM, int>> payload{proc, {lData, length}};
  if (!RenderState(hdc, complex, reinterpret_cast<LPARAM>(&payload), 0, cx, cy, DST_COMPLEX, DSS_MONO, image)) return FALSE;
  HBRUSH b = brush ? brush : GetSysColorBrush(COLOR_GRAYTEXT);
  PaintMask(hdc, image.mask, x, y, image.cx, image.cy, b, false);
  return TRUE;
}
