// Icons and cursors: an AND mask and a colour image with a hot spot, drawn through blits, and
// the standard cursor and icon shapes.
#include "gdi/Icons.h"

#include <cstring>
#include <map>

#include "gdi/Bitmaps.h"
#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/GdiInternal.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace brambolt::gdi {

constexpr int OBJ_ICON_IMAGE = 0x100;  // not a GDI object type: GetObjectType reports 0

struct IconObject : GdiObject {
  IconObject() : GdiObject(OBJ_ICON_IMAGE) {}
  bool isIcon = true;
  int width = 0, height = 0;
  POINT hotspot{0, 0};
  std::shared_ptr<Surface> mask;   // white = transparent (AND mask)
  std::shared_ptr<Surface> color;  // XOR image; null for monochrome icons (then mask is 2x tall)
  bool shared = false;
};

}  // namespace brambolt::gdi

namespace {

std::shared_ptr<IconObject> LookupIcon(HICON h) { return LookupAs<IconObject>(h, OBJ_ICON_IMAGE); }

std::shared_ptr<Surface> CopyOf(const Surface& s) {
  auto out = std::make_shared<Surface>(s.Width(), s.Height(), 0);
  for (int y = 0; y < s.Height(); ++y) std::memcpy(out->Row(y), s.Row(y), sizeof(uint32_t) * s.Width());
  return out;
}

std::shared_ptr<Surface> Scaled(const Surface& s, int w, int h) {
  if (s.Width() == w && s.Height() == h) return CopyOf(s);
  auto out = std::make_shared<Surface>(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out->Row(y)[x] = s.GetPixel(x * s.Width() / std::max(w, 1), y * s.Height() / std::max(h, 1));
  return out;
}

HICON RegisterIcon(std::shared_ptr<IconObject> icon) { return static_cast<HICON>(Register(std::move(icon))); }

HBITMAP BitmapOf(const Surface& s, bool mono) {
  HBITMAP h = mono ? CreateBitmap(s.Width(), s.Height(), 1, 1, nullptr) : CreateBitmapFromSurface(s);
  if (mono) {
    auto dst = GetBitmapSurface(h);
    for (int y = 0; y < s.Height(); ++y) std::memcpy(dst->Row(y), s.Row(y), sizeof(uint32_t) * s.Width());
  }
  return h;
}

// Blits a surface onto a DC through a temporary bitmap.
void BlitSurface(HDC hdc, int x, int y, int cx, int cy, const Surface& s, int sy, int sh, bool mono, DWORD rop) {
  HBITMAP bm = BitmapOf(s, mono);
  HDC mem = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(mem, bm);
  COLORREF text = SetTextColor(hdc, RGB(0, 0, 0));
  COLORREF bk = SetBkColor(hdc, RGB(255, 255, 255));
  int mode = SetStretchBltMode(hdc, COLORONCOLOR);
  StretchBlt(hdc, x, y, cx, cy, mem, 0, sy, s.Width(), sh, rop);
  SetStretchBltMode(hdc, mode);
  SetTextColor(hdc, text);
  SetBkColor(hdc, bk);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bm);
}

// Builds an icon or cursor from rows of characters: 'X' black, '.' white, ' ' transparent.
HICON FromArt(const char* const* rows, int count, int size, POINT hotspot, bool icon, int offsetX = 0, int offsetY = 0) {
  auto obj = std::make_shared<IconObject>();
  obj->isIcon = icon;
  obj->width = obj->height = size;
  obj->hotspot = hotspot;
  obj->mask = std::make_shared<Surface>(size, size, 0xFFFFFF);
  obj->color = std::make_shared<Surface>(size, size, 0);
  obj->shared = true;
  obj->stock = true;
  for (int y = 0; y < count; ++y)
    for (int x = 0; rows[y][x]; ++x) {
      char c = rows[y][x];
      if (c == ' ') continue;
      obj->mask->SetPixel(x + offsetX, y + offsetY, 0);
      uint32_t px = 0;
      switch (c) {
        case '.': px = 0xFFFFFF; break;
        case 'R': px = 0xFF0000; break;
        case 'Y': px = 0xFFFF00; break;
        case 'B': px = 0x0000FF; break;
        case 'G': px = 0x808080; break;
        default: px = 0; break;
      }
      obj->color->SetPixel(x + offsetX, y + offsetY, px);
    }
  return RegisterIcon(obj);
}

const char* const kArrow[] = {
    "X",           "XX",          "X.X",         "X..X",        "X...X",       "X....X",      "X.....X",
    "X......X",    "X.......X",   "X........X",  "X.....XXXXX", "X..X..X",     "X.X X..X",    "XX  X..X",
    "X    X..X",   "     X..X",   "      X..X",  "      X..X",  "       XX",
};
const char* const kIBeam[] = {
    "XXX XXX", "   X", "   X", "   X", "   X", "   X", "   X", "   X", "   X",
    "   X",    "   X", "   X", "   X", "   X", "   X", "XXX XXX",
};
const char* const kWait[] = {
    "XXXXXXXXXXX", "X.........X", " X.......X", " X.......X", "  X..X..X", "   X.X.X", "    X.X",
    "    X.X",     "   X...X",    "  X..X..X",  " X...X...X", " X..XXX..X", "X.XXXXXXX.X", "XXXXXXXXXXX",
};
const char* const kCross[] = {
    "       X", "       X", "       X", "       X", "       X", "       X", "       X", "XXXXXXX XXXXXXX",
    "       X", "       X", "       X", "       X", "       X", "       X", "       X",
};
const char* const kUpArrow[] = {
    "    X",     "   X.X",    "  X...X",   " X.....X",  "X.......X", "XXXX.XXXX", "   X.X", "   X.X", "   X.X",
    "   X.X",    "   X.X",    "   X.X",    "   XXX",
};
const char* const kSizeWE[] = {
    "    X         X",  "   XX         XX",  "  X.X         X.X",  " X..XXXXXXXXXXX..X", "X...............X",
    " X..XXXXXXXXXXX..X", "  X.X         X.X", "   XX         XX",   "    X         X",
};
const char* const kSizeNS[] = {
    "    X",     "   X.X",    "  X...X",   " X.....X",  "XXXX.XXXX", "   X.X", "   X.X", "   X.X", "   X.X", "   X.X",
    "   X.X",    "XXXX.XXXX", " X.....X",  "  X...X",   "   X.X",    "    X",
};
const char* const kSizeNWSE[] = {
    "XXXXXXX",    "X.....X",    "X....X",     "X.....X",    "X..X...X",   "X.X X...X",  "XX   X...X",
    "      X...X X", "       X...X.X", "        X.....X", "         X....X", "        X.....X", "        XXXXXXX",
};
const char* const kSizeNESW[] = {
    "      XXXXXXX", "      X.....X", "       X....X", "      X.....X", "     X...X..X", "    X...X X.X",
    "   X...X   XX", "X X...X",     "X.X...X",     "X.....X",     "X....X",      "X.....X",      "XXXXXXX",
};
const char* const kNo[] = {
    "     XXXXXX",     "   XX......XX",   "  X..........X",  " X...XXXXXX...X", " X..X      XX..X", "X..X      X...X",
    "X..X     X..X..X", "X..X    X..X X..X", "X..X   X..X  X..X", "X..X  X..X   X..X", "X..X X..X    X..X",
    " X..X..X     X..X", " X...X      X..X", "  X...XXXXXX...X", "   X..........X",  "    XX......XX",
    "      XXXXXX",
};
const char* const kHand[] = {
    "     XX",       "    X..X",      "    X..X",      "    X..X",      "    X..XXX",    "    X..X..XXX",
    "    X..X..X..XX", " XX X..X..X..X.X", "X..XX........X.X", "X...X..........X", " X.............X",
    "  X............X", "  X...........X", "   X..........X", "   X.........X", "    X........X",
    "    X........X", "    XXXXXXXXXX",
};
const char* const kSizeAll[] = {
    "       X",        "      X.X",       "     X...X",      "    X.....X",     "    XXX.XXX",     "  XX  X.X  XX",
    " X.X  X.X  X.X",  "X..XXXX.XXXX..X", "X.............X", "X..XXXX.XXXX..X", " X.X  X.X  X.X",  "  XX  X.X  XX",
    "    XXX.XXX",     "    X.....X",     "     X...X",      "      X.X",       "       X",
};
const char* const kHelp[] = {
    "X",          "XX",          "X.X",         "X..X",         "X...X",        "X....X",       "X.....X",
    "X......X",   "X.......X",   "X........X",  "X.....XXXXX",  "X..X..X",      "X.X X..X   XXXXX",
    "XX  X..X  X.....X", "X    X..X X..XX..X", "     X..X XXX X..X", "      X..X   X..X", "      X..X  X..X",
    "       XX   X..X", "            X..X", "            XXXX", "            X..X", "            XXXX",
};

const char* const kIconApplication[] = {
    "XXXXXXXXXXXXXXXXXXXXXXXXXXXX", "XBBBBBBBBBBBBBBBBBBBBBBBBBBX", "XBBBBBBBBBBBBBBBBBBBBB.B.B.X",
    "XXXXXXXXXXXXXXXXXXXXXXXXXXXX", "X..........................X", "X..........................X",
    "X..........................X", "X..........................X", "X..........................X",
    "X..........................X", "X..........................X", "X..........................X",
    "X..........................X", "X..........................X", "X..........................X",
    "X..........................X", "X..........................X", "X..........................X",
    "X..........................X", "X..........................X", "XXXXXXXXXXXXXXXXXXXXXXXXXXXX",
};

// Round standard icons: a coloured disc with a white or black symbol.
HICON RoundIcon(uint32_t disc, uint32_t ink, const char* const* symbol, int rows) {
  auto obj = std::make_shared<IconObject>();
  obj->width = obj->height = 32;
  obj->mask = std::make_shared<Surface>(32, 32, 0xFFFFFF);
  obj->color = std::make_shared<Surface>(32, 32, 0);
  obj->shared = true;
  obj->stock = true;
  Region d = Region::FromEllipse(RECT{2, 2, 30, 30});
  for (const RECT& r : d.Rects())
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        obj->mask->SetPixel(x, y, 0);
        obj->color->SetPixel(x, y, disc);
      }
  for (int y = 0; y < rows; ++y)
    for (int x = 0; symbol[y][x]; ++x)
      if (symbol[y][x] != ' ') obj->color->SetPixel(10 + x, 8 + y, ink);
  return RegisterIcon(obj);
}

const char* const kSymbolX[] = {"XX        XX", " XX      XX", "  XX    XX", "   XX  XX", "    XXXX", "     XX",
                                "    XXXX",     "   XX  XX",   "  XX    XX", " XX      XX", "XX        XX"};
const char* const kSymbolQuestion[] = {"  XXXXXX", " XX    XX", " XX    XX", "      XX", "     XX", "    XX",
                                       "    XX",   "    XX",    "",          "    XX",   "    XX"};
const char* const kSymbolBang[] = {"    XX", "    XX", "    XX", "    XX", "    XX", "    XX", "    XX", "", "    XX",
                                   "    XX"};
const char* const kSymbolI[] = {"    XX", "    XX", "", "   XXX", "    XX", "    XX", "    XX", "    XX", "    XX",
                                "   XXXX"};

}  // namespace

HICON CreateIconIndirect(PICONINFO info) {
  if (!info || !info->hbmMask) return nullptr;
  auto mask = GetBitmapSurface(info->hbmMask);
  if (!mask) return nullptr;
  auto obj = std::make_shared<IconObject>();
  obj->isIcon = info->fIcon != FALSE;
  obj->hotspot = info->fIcon ? POINT{0, 0} : POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
  obj->width = mask->Width();
  // Copies: the caller keeps (and deletes) its bitmaps.
  obj->mask = CopyOf(*mask);
  for (int y = 0; y < obj->mask->Height(); ++y)
    for (int x = 0; x < obj->mask->Width(); ++x)
      obj->mask->Row(y)[x] = MonoIsWhite(obj->mask->Row(y)[x]) ? 0xFFFFFF : 0;
  if (info->hbmColor) {
    auto color = GetBitmapSurface(info->hbmColor);
    if (!color) return nullptr;
    obj->color = CopyOf(*color);
    obj->height = mask->Height();
  } else {
    obj->height = mask->Height() / 2;
  }
  if (obj->isIcon) obj->hotspot = POINT{obj->width / 2, obj->height / 2};
  return RegisterIcon(obj);
}

HICON CreateIcon(HINSTANCE, int width, int height, BYTE planes, BYTE bitsPixel, const BYTE* andBits, const BYTE* xorBits) {
  if (width <= 0 || height <= 0 || !andBits || !xorBits || planes != 1) return nullptr;
  HBITMAP mask = CreateBitmap(width, height, 1, 1, andBits);
  HBITMAP color = CreateBitmap(width, height, 1, bitsPixel, xorBits);
  if (!color) {
    DeleteObject(mask);
    return nullptr;
  }
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(color);
  return icon;
}

HCURSOR CreateCursor(HINSTANCE, int xHotspot, int yHotspot, int width, int height, const void* andPlane, const void* xorPlane) {
  if (width <= 0 || height <= 0 || !andPlane || !xorPlane) return nullptr;
  HBITMAP mask = CreateBitmap(width, height, 1, 1, andPlane);
  HBITMAP color = CreateBitmap(width, height, 1, 1, xorPlane);
  ICONINFO info{FALSE, static_cast<DWORD>(xHotspot), static_cast<DWORD>(yHotspot), mask, color};
  HCURSOR cursor = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(color);
  return cursor;
}

BOOL GetIconInfo(HICON icon, PICONINFO info) {
  auto obj = LookupIcon(icon);
  if (!obj || !info) return FALSE;
  info->fIcon = obj->isIcon;
  info->xHotspot = static_cast<DWORD>(obj->hotspot.x);
  info->yHotspot = static_cast<DWORD>(obj->hotspot.y);
  info->hbmMask = BitmapOf(*obj->mask, true);
  info->hbmColor = obj->color ? BitmapOf(*obj->color, false) : nullptr;
  return TRUE;
}

BOOL DestroyIcon(HICON icon) {
  auto obj = LookupIcon(icon);
  if (!obj) return FALSE;
  if (obj->shared) return TRUE;
  return Unregister(icon) ? TRUE : FALSE;
}

BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

HICON CopyIcon(HICON icon) {
  auto obj = LookupIcon(icon);
  if (!obj) return nullptr;
  auto copy = std::make_shared<IconObject>();
  copy->isIcon = obj->isIcon;
  copy->width = obj->width;
  copy->height = obj->height;
  copy->hotspot = obj->hotspot;
  copy->mask = CopyOf(*obj->mask);
  if (obj->color) copy->color = CopyOf(*obj->color);
  return RegisterIcon(copy);
}

HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags) {
  HANDLE result = nullptr;
  if (type == IMAGE_BITMAP) {
    auto src = GetBitmapSurface(static_cast<HBITMAP>(image));
    if (!src) return nullptr;
    int w = cx ? cx : src->Width(), h = cy ? cy : src->Height();
    if (!AllocatableSize(w, h)) return nullptr;
    auto pixels = Scaled(*src, w, h);
    bool mono = (flags & LR_MONOCHROME) || (GetBitmapDepth(static_cast<HBITMAP>(image)) == 1 && !(flags & LR_CREATEDIBSECTION));
    if (flags & LR_CREATEDIBSECTION) {
      BITMAPINFO bi{};
      bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      bi.bmiHeader.biWidth = w;
      bi.bmiHeader.biHeight = h;
      bi.bmiHeader.biPlanes = 1;
      bi.bmiHeader.biBitCount = 32;
      void* bits = nullptr;
      HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
      auto dst = GetBitmapSurface(dib);
      for (int y = 0; y < h; ++y) std::memcpy(dst->Row(y), pixels->Row(y), sizeof(uint32_t) * w);
      result = dib;
    } else if (mono) {
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels->Row(y)[x] = MonoIsWhite(pixels->Row(y)[x]) ? 0xFFFFFF : 0;
      result = BitmapOf(*pixels, true);
    } else {
      result = CreateBitmapFromSurface(*pixels);
    }
  } else if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
    auto obj = LookupIcon(static_cast<HICON>(image));
    if (!obj) return nullptr;
    if (flags & LR_DEFAULTSIZE) {
      if (!cx) cx = GetSystemMetrics(type == IMAGE_ICON ? SM_CXICON : SM_CXCURSOR);
      if (!cy) cy = GetSystemMetrics(type == IMAGE_ICON ? SM_CYICON : SM_CYCURSOR);
    }
    int w = cx ? cx : obj->width, h = cy ? cy : obj->height;
    if (!AllocatableSize(w, 2LL * h)) return nullptr;
    auto copy = std::make_shared<IconObject>();
    copy->isIcon = obj->isIcon;
    copy->width = w;
    copy->height = h;
    copy->hotspot = POINT{obj->hotspot.x * w / std::max(obj->width, 1), obj->hotspot.y * h / std::max(obj->height, 1)};
    copy->mask = Scaled(*obj->mask, w, obj->color ? h : 2 * h);
    if (obj->color) copy->color = Scaled(*obj->color, w, h);
    result = RegisterIcon(copy);
  } else {
    return nullptr;
  }
  if (result && (flags & LR_COPYDELETEORG)) {
    if (type == IMAGE_BITMAP) DeleteObject(image);
    else DestroyIcon(static_cast<HICON>(image));
  }
  return result;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH flickerFree, UINT flags) {
  auto obj = LookupIcon(icon);
  auto dc = LookupDC(hdc);
  if (!obj || !dc) return FALSE;
  CallLog log(*dc, "DrawIconEx", {x, y, cx, cy, static_cast<int>(flags)});
  if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(obj->isIcon ? SM_CXICON : SM_CXCURSOR) : obj->width;
  if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(obj->isIcon ? SM_CYICON : SM_CYCURSOR) : obj->height;
  if (!(flags & DI_NORMAL)) flags |= DI_NORMAL;
  HDC target = hdc;
  HDC offscreen = nullptr;
  HBITMAP offBitmap = nullptr;
  HGDIOBJ offOld = nullptr;
  int dx = x, dy = y;
  if (flickerFree) {
    // Compose over the brush off screen, then copy in one blit.
    offscreen = CreateCompatibleDC(hdc);
    offBitmap = CreateCompatibleBitmap(hdc, cx, cy);
    offOld = SelectObject(offscreen, offBitmap);
    RECT all{0, 0, cx, cy};
    FillRect(offscreen, &all, flickerFree);
    target = offscreen;
    dx = dy = 0;
  }
  bool mono = !obj->color;
  int h = obj->height;
  if (flags & DI_MASK) BlitSurface(target, dx, dy, cx, cy, *obj->mask, 0, h, true, SRCAND);
  if (flags & DI_IMAGE) {
    DWORD rop = (flags & DI_MASK) ? SRCINVERT : SRCCOPY;
    if (mono) BlitSurface(target, dx, dy, cx, cy, *obj->mask, h, h, true, rop);
    else BlitSurface(target, dx, dy, cx, cy, *obj->color, 0, h, false, rop);
  }
  if (offscreen) {
    BitBlt(hdc, x, y, cx, cy, offscreen, 0, 0, SRCCOPY);
    SelectObject(offscreen, offOld);
    DeleteObject(offBitmap);
    DeleteDC(offscreen);
  }
  return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
  return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_COMPAT | DI_DEFAULTSIZE);
}

namespace brambolt {

void MarkIconShared(HICON icon) {
  if (auto obj = LookupIcon(icon)) obj->shared = true;
}

bool GetIconSize(HICON icon, SIZE* size) {
  auto obj = LookupIcon(icon);
  if (!obj || !size) return false;
  *size = SIZE{obj->width, obj->height};
  return true;
}

namespace {

// Standard images are made once, on first use, and shared.
HICON Cached(bool cursor, LPCSTR id, HICON (*make)(uintptr_t)) {
  static auto& mutex = *new std::mutex;
  static auto& made = *new std::map<std::pair<bool, uintptr_t>, HICON>;
  auto key = std::make_pair(cursor, reinterpret_cast<uintptr_t>(id));
  std::lock_guard lock(mutex);
  auto it = made.find(key);
  if (it != made.end()) return it->second;
  HICON h = make(key.second);
  if (h) made.emplace(key, h);
  return h;
}

#define ART(a) a, static_cast<int>(sizeof(a) / sizeof((a)[0]))

// What a drag cursor adds below the arrow's tail: a page, with a plus for a copy or a bent
// arrow for a link.
const char* const kDragPage[] = {
    "XXXXXXXXXXX", "X.........X", "X.........X", "X.........X", "X.........X",
    "X.........X", "X.........X", "X.........X", "XXXXXXXXXXX",
};
const char* const kDragPlus[] = {"   X", "   X", "XXXXXXX", "   X", "   X"};
const char* const kDragLink[] = {"  XXXX", "   XXX", "  X  X", " X", "X"};
constexpr uintptr_t kDragMove = 0x10002, kDragCopy = 0x10001, kDragLinkKey = 0x10004;

// Paints art over a cursor's image at (x, y): X black, . white.
void Overlay(HCURSOR cursor, const char* const* art, int rows, int x0, int y0) {
  auto obj = LookupIcon(cursor);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; art[y][x]; ++x)
      if (art[y][x] != ' ') {
        obj->mask->SetPixel(x0 + x, y0 + y, 0);
        obj->color->SetPixel(x0 + x, y0 + y, art[y][x] == '.' ? 0xFFFFFF : 0);
      }
}

HCURSOR MakeCursor(uintptr_t key) {
  HCURSOR c = nullptr;
  switch (key) {
    case 32512: c = FromArt(ART(kArrow), 32, POINT{0, 0}, false); break;
    case 32513: c = FromArt(ART(kIBeam), 32, POINT{3, 8}, false, 0, 0); break;
    case 32514: c = FromArt(ART(kWait), 32, POINT{5, 7}, false); break;
    case 32515: c = FromArt(ART(kCross), 32, POINT{7, 7}, false); break;
    case 32516: c = FromArt(ART(kUpArrow), 32, POINT{4, 0}, false); break;
    case 32640: case 32646: c = FromArt(ART(kSizeAll), 32, POINT{7, 8}, false); break;
    case 32641: c = FromArt(ART(kIconApplication), 32, POINT{14, 10}, false); break;
    case 32642: c = FromArt(ART(kSizeNWSE), 32, POINT{7, 6}, false); break;
    case 32643: c = FromArt(ART(kSizeNESW), 32, POINT{7, 6}, false); break;
    case 32644: c = FromArt(ART(kSizeWE), 32, POINT{8, 4}, false); break;
    case 32645: c = FromArt(ART(kSizeNS), 32, POINT{4, 8}, false); break;
    case 32648: c = FromArt(ART(kNo), 32, POINT{8, 8}, false); break;
    case 32649: c = FromArt(ART(kHand), 32, POINT{5, 0}, false); break;
    case 32650: c = FromArt(ART(kArrow), 32, POINT{0, 0}, false); break;
    case 32651: c = FromArt(ART(kHelp), 32, POINT{0, 0}, false); break;
    case kDragMove: case kDragCopy: case kDragLinkKey:
      c = FromArt(ART(kArrow), 32, POINT{0, 0}, false);
      Overlay(c, ART(kDragPage), 8, 19);
      if (key == kDragCopy) Overlay(c, ART(kDragPlus), 10, 21);
      if (key == kDragLinkKey) Overlay(c, ART(kDragLink), 11, 21);
      break;
    default: break;
  }
  if (c && key == 32650) Overlay(c, ART(kWait), 12, 14);  // the arrow with a small hourglass beside it
  return c;
}

HICON MakeIcon(uintptr_t key) {
  HICON i = nullptr;
  switch (key) {
    case 32512: case 32517: i = FromArt(ART(kIconApplication), 32, POINT{16, 16}, true, 2, 5); break;
    case 32513: i = RoundIcon(0xFF0000, 0xFFFFFF, ART(kSymbolX)); break;
    case 32514: i = RoundIcon(0x0000FF, 0xFFFFFF, ART(kSymbolQuestion)); break;
    case 32515: i = RoundIcon(0xFFFF00, 0x000000, ART(kSymbolBang)); break;
    case 32516: i = RoundIcon(0x0000FF, 0xFFFFFF, ART(kSymbolI)); break;
    default: break;
  }
  return i;
}
#undef ART

}  // namespace

HCURSOR GetStandardCursor(LPCSTR id) { return Cached(true, id, MakeCursor); }

HCURSOR GetDragEffectCursor(unsigned long effect) {
  // A move unless the target takes only a copy or a link.
  uintptr_t key = (effect & 2) ? kDragMove : (effect & 1) ? kDragCopy : (effect & 4) ? kDragLinkKey : 0;
  if (key == 0) return GetStandardCursor(MAKEINTRESOURCE(32648));
  return Cached(true, reinterpret_cast<LPCSTR>(key), MakeCursor);
}
HICON GetStandardIcon(LPCSTR id) { return Cached(false, id, MakeIcon); }

}  // namespace brambolt
