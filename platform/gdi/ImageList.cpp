// Image lists: images and masks kept side by side in two strip bitmaps, drawn through blits.
#include "gdi/ImageList.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "gdi/Bitmaps.h"
#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/GdiInternal.h"
#include "gdi/Icons.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace {

struct ImageListData {
  int cx = 0, cy = 0;
  UINT flags = 0;
  int grow = 4;
  int count = 0;
  int capacity = 0;
  HBITMAP image = nullptr;  // 32-bit strip, image i at (i * cx, 0)
  HBITMAP mask = nullptr;   // monochrome strip, white = transparent
  COLORREF background = CLR_NONE;
  int overlays[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  bool HasMask() const { return flags & ILC_MASK; }
  ~ImageListData() {
    if (image) DeleteObject(image);
    if (mask) DeleteObject(mask);
  }
};

struct Lists {
  std::mutex mutex;
  std::map<uintptr_t, std::shared_ptr<ImageListData>> lists;
  uintptr_t next = 0x7E000000;
};

Lists& TheLists() {
  static auto* lists = new Lists;  // never destroyed: threads may still draw at exit
  return *lists;
}

std::shared_ptr<ImageListData> Find(HIMAGELIST h) {
  Lists& l = TheLists();
  std::lock_guard lock(l.mutex);
  auto it = l.lists.find(reinterpret_cast<uintptr_t>(h));
  return it == l.lists.end() ? nullptr : it->second;
}

HIMAGELIST Store(std::shared_ptr<ImageListData> data) {
  Lists& l = TheLists();
  std::lock_guard lock(l.mutex);
  uintptr_t id = l.next;
  l.next += 4;
  l.lists.emplace(id, std::move(data));
  return reinterpret_cast<HIMAGELIST>(id);
}

Surface& ImageSurface(const ImageListData& d) { return *GetBitmapSurface(d.image); }
Surface& MaskSurface(const ImageListData& d) { return *GetBitmapSurface(d.mask); }

void Reserve(ImageListData& d, int needed) {
  if (needed <= d.capacity && d.image) return;
  int capacity = std::max({needed, d.capacity + std::max(d.grow, 1), 1});
  HBITMAP image = CreateBitmapFromSurface(Surface(d.cx * capacity, d.cy, 0));
  HBITMAP mask = CreateBitmap(d.cx * capacity, d.cy, 1, 1, nullptr);
  Surface& ni = *GetBitmapSurface(image);
  Surface& nm = *GetBitmapSurface(mask);
  nm.Fill(0xFFFFFF);
  if (d.image) {
    Surface& oi = ImageSurface(d);
    Surface& om = MaskSurface(d);
    for (int y = 0; y < d.cy; ++y) {
      std::memcpy(ni.Row(y), oi.Row(y), sizeof(uint32_t) * d.cx * d.count);
      std::memcpy(nm.Row(y), om.Row(y), sizeof(uint32_t) * d.cx * d.count);
    }
    DeleteObject(d.image);
    DeleteObject(d.mask);
  }
  d.image = image;
  d.mask = mask;
  d.capacity = capacity;
}

// Copies one cx x cy cell from source surfaces into slot i.
void PutCell(ImageListData& d, int i, const Surface& image, int sx, const Surface* mask, int mx, bool maskIsMono) {
  Surface& di = ImageSurface(d);
  Surface& dm = MaskSurface(d);
  for (int y = 0; y < d.cy; ++y)
    for (int x = 0; x < d.cx; ++x) {
      di.Row(y)[i * d.cx + x] = image.GetPixel(sx + x, y);
      uint32_t m = 0;
      if (mask) m = maskIsMono ? mask->GetPixel(mx + x, y) : (MonoIsWhite(mask->GetPixel(mx + x, y)) ? 0xFFFFFF : 0);
      dm.Row(y)[i * d.cx + x] = d.HasMask() ? m : 0;
    }
}

int AddCells(ImageListData& d, const Surface& image, const Surface* mask) {
  int n = d.cx > 0 ? image.Width() / d.cx : 0;
  if (n <= 0) return -1;
  int first = d.count;
  Reserve(d, d.count + n);
  for (int k = 0; k < n; ++k) PutCell(d, first + k, image, k * d.cx, mask, k * d.cx, true);
  d.count += n;
  return first;
}

// A DC with a strip selected, for blits.
class StripDC {
 public:
  explicit StripDC(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap)) {}
  ~StripDC() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Draws one image without its overlay.
void DrawImage(const ImageListData& d, int index, HDC hdc, int x, int y, int w, int h, COLORREF bk, COLORREF fg,
               UINT style) {
  int sx = index * d.cx;
  StripDC images(d.image), masks(d.mask);
  COLORREF text = SetTextColor(hdc, RGB(0, 0, 0));
  COLORREF back = SetBkColor(hdc, RGB(255, 255, 255));
  if (bk == CLR_DEFAULT) bk = d.background;
  bool transparent = d.HasMask() && ((style & ILD_TRANSPARENT) || bk == CLR_NONE);
  if (style & ILD_MASK) {
    BitBlt(hdc, x, y, w, h, masks.dc(), sx, 0, SRCCOPY);
  } else if (!d.HasMask() || (style & ILD_IMAGE) || !transparent) {
    if (d.HasMask() && !(style & ILD_IMAGE)) {
      // Masked pixels show the list's background colour.
      HBRUSH brush = CreateSolidBrush(bk);
      RECT r{x, y, x + w, y + h};
      FillRect(hdc, &r, brush);
      DeleteObject(brush);
      MaskBlt(hdc, x, y, w, h, images.dc(), sx, 0, d.mask, sx, 0, MAKEROP4(0x00AA0029, SRCCOPY));
    } else {
      BitBlt(hdc, x, y, w, h, images.dc(), sx, 0, SRCCOPY);
    }
  } else {
    MaskBlt(hdc, x, y, w, h, images.dc(), sx, 0, d.mask, sx, 0, MAKEROP4(0x00AA0029, SRCCOPY));
  }
  if ((style & (ILD_BLEND25 | ILD_BLEND50)) && !(style & ILD_MASK)) {
    // Blend the image's opaque pixels with the selection colour.
    COLORREF blend = fg == CLR_DEFAULT || fg == CLR_NONE ? GetSysColor(COLOR_HIGHLIGHT) : fg;
    int weight = (style & ILD_BLEND50) ? 128 : 64;
    auto dcObj = LookupDC(hdc);
    if (dcObj && dcObj->surface && dcObj->surface->Pixels()) {
      DrawScope scope(*dcObj);
      Surface& s = *scope.surface();
      const Surface& m = MaskSurface(d);
      uint32_t c = PixelFromColor(blend);
      POINT o = ToSurface(*dcObj, POINT{x, y});
      const Region& clip = dcObj->Clip();
      for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) {
          if (d.HasMask() && m.GetPixel(sx + xx, yy)) continue;
          int px = o.x + xx, py = o.y + yy;
          if (!clip.Contains(px, py)) continue;
          uint32_t v = s.Row(py)[px], out = 0;
          for (int shift = 0; shift <= 16; shift += 8) {
            int a = static_cast<int>((v >> shift) & 0xFF), b = static_cast<int>((c >> shift) & 0xFF);
            out |= static_cast<uint32_t>((a * (256 - weight) + b * weight) >> 8) << shift;
          }
          s.Row(py)[px] = out;
        }
    }
  }
  SetTextColor(hdc, text);
  SetBkColor(hdc, back);
}

bool DrawCell(const ImageListData& d, int index, HDC hdc, int x, int y, int dx, int dy, COLORREF bk, COLORREF fg, UINT style) {
  if (index < 0 || index >= d.count) return false;
  int w = dx > 0 ? std::min(dx, d.cx) : d.cx, h = dy > 0 ? std::min(dy, d.cy) : d.cy;
  // The overlay is drawn after DrawImage has released the strips (a bitmap is selected into one DC at a time).
  DrawImage(d, index, hdc, x, y, w, h, bk, fg, style);
  int overlay = static_cast<int>((style & ILD_OVERLAYMASK) >> 8);
  if (overlay > 0 && overlay < 16 && d.overlays[overlay] >= 0 && !(style & ILD_MASK))
    DrawCell(d, d.overlays[overlay], hdc, x, y, dx, dy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  return true;
}

struct DragState {
  std::mutex mutex;
  DragImageSink* sink = nullptr;
  std::shared_ptr<ImageListData> image;
  POINT hotspot{0, 0};
  HWND lock = nullptr;
  POINT position{0, 0};
  bool dragging = false;
  bool visible = false;
};

DragState& Drag() {
  static auto* state = new DragState;
  return *state;
}

std::shared_ptr<ImageListData> NewList(int cx, int cy, UINT flags, int grow) {
  auto d = std::make_shared<ImageListData>();
  d->cx = cx;
  d->cy = cy;
  d->flags = flags;
  d->grow = grow > 0 ? grow : 4;
  return d;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (!AllocatableSize(static_cast<long long>(cx) * std::max(initial, 1), cy)) return nullptr;
  auto d = NewList(cx, cy, flags, grow);
  Reserve(*d, std::max(initial, 1));
  return Store(d);
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  Lists& l = TheLists();
  std::lock_guard lock(l.mutex);
  return l.lists.erase(reinterpret_cast<uintptr_t>(list)) ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  auto d = Find(list);
  auto src = GetBitmapSurface(image);
  if (!d || !src) return -1;
  std::shared_ptr<Surface> m = mask ? GetBitmapSurface(mask) : nullptr;
  std::shared_ptr<Surface> monoMask;
  if (m) {
    monoMask = std::make_shared<Surface>(m->Width(), m->Height(), 0);
    for (int y = 0; y < m->Height(); ++y)
      for (int x = 0; x < m->Width(); ++x) monoMask->Row(y)[x] = MonoIsWhite(m->GetPixel(x, y)) ? 0xFFFFFF : 0;
  }
  return AddCells(*d, *src, monoMask.get());
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor) {
  auto d = Find(list);
  auto src = GetBitmapSurface(image);
  if (!d || !src || src->Width() == 0) return -1;
  // CLR_DEFAULT takes the colour of the top-left pixel.
  uint32_t key = maskColor == CLR_DEFAULT ? src->GetPixel(0, 0) : PixelFromColor(maskColor & 0xFFFFFF);
  Surface pixels(src->Width(), src->Height(), 0);
  Surface mask(src->Width(), src->Height(), 0);
  for (int y = 0; y < src->Height(); ++y)
    for (int x = 0; x < src->Width(); ++x) {
      uint32_t p = src->GetPixel(x, y);
      bool clear = d->HasMask() && p == key;
      mask.Row(y)[x] = clear ? 0xFFFFFF : 0;
      pixels.Row(y)[x] = clear ? 0 : p;
    }
  return AddCells(*d, pixels, &mask);
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  auto d = Find(list);
  if (!d || !icon || index < -1 || index >= d->count) return -1;
  // Render the icon at the list's size into image and mask cells.
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP color = CreateBitmapFromSurface(Surface(d->cx, d->cy, 0));
  HGDIOBJ old = SelectObject(mem, color);
  DrawIconEx(mem, 0, 0, icon, d->cx, d->cy, 0, nullptr, DI_IMAGE);
  HBITMAP mask = CreateBitmap(d->cx, d->cy, 1, 1, nullptr);
  SelectObject(mem, mask);
  RECT all{0, 0, d->cx, d->cy};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawIconEx(mem, 0, 0, icon, d->cx, d->cy, 0, nullptr, DI_MASK);
  SelectObject(mem, old);
  DeleteDC(mem);
  int slot = index;
  if (index == -1) {
    Reserve(*d, d->count + 1);
    slot = d->count++;
  }
  PutCell(*d, slot, *GetBitmapSurface(color), 0, GetBitmapSurface(mask).get(), 0, true);
  DeleteObject(color);
  DeleteObject(mask);
  return slot;
}

BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask) {
  auto d = Find(list);
  auto src = GetBitmapSurface(image);
  if (!d || !src || index < 0 || index >= d->count) return FALSE;
  auto m = mask ? GetBitmapSurface(mask) : nullptr;
  PutCell(*d, index, *src, 0, m.get(), 0, false);
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  auto d = Find(list);
  if (!d || index < -1 || index >= d->count) return FALSE;
  if (index == -1) {
    d->count = 0;
    return TRUE;
  }
  Surface& si = ImageSurface(*d);
  Surface& sm = MaskSurface(*d);
  for (int y = 0; y < d->cy; ++y) {
    std::memmove(si.Row(y) + index * d->cx, si.Row(y) + (index + 1) * d->cx, sizeof(uint32_t) * d->cx * (d->count - index - 1));
    std::memmove(sm.Row(y) + index * d->cx, sm.Row(y) + (index + 1) * d->cx, sizeof(uint32_t) * d->cx * (d->count - index - 1));
  }
  --d->count;
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  auto d = Find(list);
  return d ? d->count : 0;
}

BOOL ImageList_SetImageCount(HIMAGELIST list, UINT count) {
  auto d = Find(list);
  if (!d) return FALSE;
  Reserve(*d, static_cast<int>(count));
  if (static_cast<int>(count) > d->count) {
    Surface& si = ImageSurface(*d);
    Surface& sm = MaskSurface(*d);
    si.FillRect(d->count * d->cx, 0, static_cast<int>(count) * d->cx, d->cy, 0);
    sm.FillRect(d->count * d->cx, 0, static_cast<int>(count) * d->cx, d->cy, 0);
  }
  d->count = static_cast<int>(count);
  return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style) {
  return ImageList_DrawEx(list, index, hdc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC hdc, int x, int y, int dx, int dy, COLORREF background,
                      COLORREF foreground, UINT style) {
  auto d = Find(list);
  if (!d || !LookupDC(hdc)) return FALSE;
  return DrawCell(*d, index, hdc, x, y, dx, dy, background, foreground, style) ? TRUE : FALSE;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT) {
  auto d = Find(list);
  if (!d || index < 0 || index >= d->count) return nullptr;
  HBITMAP color = CreateBitmapFromSurface(Surface(d->cx, d->cy, 0));
  HBITMAP mask = CreateBitmap(d->cx, d->cy, 1, 1, nullptr);
  Surface& c = *GetBitmapSurface(color);
  Surface& m = *GetBitmapSurface(mask);
  const Surface& si = ImageSurface(*d);
  const Surface& sm = MaskSurface(*d);
  for (int y = 0; y < d->cy; ++y)
    for (int x = 0; x < d->cx; ++x) {
      bool clear = d->HasMask() && sm.GetPixel(index * d->cx + x, y);
      m.Row(y)[x] = clear ? 0xFFFFFF : 0;
      c.Row(y)[x] = clear ? 0 : si.GetPixel(index * d->cx + x, y);
    }
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(color);
  DeleteObject(mask);
  return icon;
}

BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info) {
  auto d = Find(list);
  if (!d || !info || index < 0 || index >= d->count) return FALSE;
  info->hbmImage = d->image;
  info->hbmMask = d->HasMask() ? d->mask : nullptr;
  info->Unused1 = info->Unused2 = 0;
  info->rcImage = RECT{index * d->cx, 0, (index + 1) * d->cx, d->cy};
  return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  auto d = Find(list);
  if (!d || !cx || !cy) return FALSE;
  *cx = d->cx;
  *cy = d->cy;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy) {
  auto d = Find(list);
  if (!d || cx <= 0 || cy <= 0) return FALSE;
  DeleteObject(d->image);
  DeleteObject(d->mask);
  d->image = d->mask = nullptr;
  d->cx = cx;
  d->cy = cy;
  d->count = 0;
  d->capacity = 0;
  Reserve(*d, 1);
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
  auto d = Find(list);
  if (!d) return CLR_NONE;
  COLORREF prev = d->background;
  d->background = color;
  return prev;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) {
  auto d = Find(list);
  return d ? d->background : CLR_NONE;
}

BOOL ImageList_SetOverlayImage(HIMAGELIST list, int image, int overlay) {
  auto d = Find(list);
  if (!d || overlay < 1 || overlay > 15 || image < 0 || image >= d->count) return FALSE;
  d->overlays[overlay] = image;
  return TRUE;
}

BOOL ImageList_Copy(HIMAGELIST destination, int to, HIMAGELIST source, int from, UINT flags) {
  auto dst = Find(destination);
  auto src = Find(source);
  if (!dst || !src || dst != src || to < 0 || from < 0 || to >= dst->count || from >= src->count) return FALSE;
  Surface& si = ImageSurface(*dst);
  Surface& sm = MaskSurface(*dst);
  for (int y = 0; y < dst->cy; ++y)
    for (int x = 0; x < dst->cx; ++x) {
      uint32_t* a = si.Row(y) + to * dst->cx + x;
      uint32_t* b = si.Row(y) + from * dst->cx + x;
      uint32_t* ma = sm.Row(y) + to * dst->cx + x;
      uint32_t* mb = sm.Row(y) + from * dst->cx + x;
      if (flags & ILCF_SWAP) {
        std::swap(*a, *b);
        std::swap(*ma, *mb);
      } else {
        *a = *b;
        *ma = *mb;
      }
    }
  return TRUE;
}

HIMAGELIST ImageList_Merge(HIMAGELIST first, int firstIndex, HIMAGELIST second, int secondIndex, int dx, int dy) {
  auto a = Find(first);
  auto b = Find(second);
  if (!a || !b || firstIndex < 0 || firstIndex >= a->count || secondIndex < 0 || secondIndex >= b->count) return nullptr;
  // The union of the first image at (0,0) and the second at (dx,dy).
  int left = std::min(0, dx), top = std::min(0, dy);
  int right = std::max(a->cx, dx + b->cx), bottom = std::max(a->cy, dy + b->cy);
  auto d = NewList(right - left, bottom - top, ILC_MASK | ILC_COLOR32, 1);
  Reserve(*d, 1);
  d->count = 1;
  Surface& ci = ImageSurface(*d);
  Surface& cm = MaskSurface(*d);
  cm.Fill(0xFFFFFF);
  auto paste = [&](const ImageListData& s, int index, int ox, int oy) {
    const Surface& si = ImageSurface(s);
    const Surface& sm = MaskSurface(s);
    for (int y = 0; y < s.cy; ++y)
      for (int x = 0; x < s.cx; ++x) {
        bool clear = s.HasMask() && sm.GetPixel(index * s.cx + x, y);
        if (clear) continue;
        ci.SetPixel(ox + x, oy + y, si.GetPixel(index * s.cx + x, y));
        cm.SetPixel(ox + x, oy + y, 0);
      }
  };
  paste(*a, firstIndex, -left, -top);
  paste(*b, secondIndex, dx - left, dy - top);
  return Store(d);
}

HIMAGELIST ImageList_Duplicate(HIMAGELIST list) {
  auto s = Find(list);
  if (!s) return nullptr;
  auto d = NewList(s->cx, s->cy, s->flags, s->grow);
  Reserve(*d, std::max(s->count, 1));
  d->count = s->count;
  d->background = s->background;
  std::copy(std::begin(s->overlays), std::end(s->overlays), d->overlays);
  for (int y = 0; y < s->cy; ++y) {
    std::memcpy(ImageSurface(*d).Row(y), ImageSurface(*s).Row(y), sizeof(uint32_t) * s->cx * s->count);
    std::memcpy(MaskSurface(*d).Row(y), MaskSurface(*s).Row(y), sizeof(uint32_t) * s->cx * s->count);
  }
  return Store(d);
}

namespace brambolt {
void SetDragImageSink(DragImageSink* sink) {
  DragState& s = Drag();
  std::lock_guard lock(s.mutex);
  s.sink = sink;
}
}  // namespace brambolt

namespace {

void PublishImage(DragState& s) {
  if (!s.sink || !s.image) return;
  auto image = std::make_shared<Surface>(s.image->cx, s.image->cy, 0);
  auto mask = std::make_shared<Surface>(s.image->cx, s.image->cy, 0xFFFFFF);
  for (int y = 0; y < s.image->cy; ++y)
    for (int x = 0; x < s.image->cx; ++x) {
      image->SetPixel(x, y, ImageSurface(*s.image).GetPixel(x, y));
      mask->SetPixel(x, y, s.image->HasMask() ? MaskSurface(*s.image).GetPixel(x, y) : 0);
    }
  s.sink->SetImage(image, mask, s.hotspot);
}

}  // namespace

BOOL ImageList_BeginDrag(HIMAGELIST track, int index, int xHotspot, int yHotspot) {
  auto src = Find(track);
  if (!src || index < 0 || index >= src->count) return FALSE;
  DragState& s = Drag();
  std::lock_guard lock(s.mutex);
  // The drag image is a one-image copy, so the source list may change or go during the drag.
  auto d = NewList(src->cx, src->cy, src->flags, 1);
  Reserve(*d, 1);
  d->count = 1;
  PutCell(*d, 0, ImageSurface(*src), index * src->cx, &MaskSurface(*src), index * src->cx, true);
  s.image = d;
  s.hotspot = POINT{xHotspot, yHotspot};
  s.dragging = true;
  s.visible = false;
  PublishImage(s);
  return TRUE;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
  DragState& s = Drag();
  std::lock_guard guard(s.mutex);
  if (!s.dragging) return FALSE;
  s.lock = lock;
  s.position = POINT{x, y};
  s.visible = true;
  if (s.sink) s.sink->Move(s.lock, s.position, true);
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  DragState& s = Drag();
  std::lock_guard guard(s.mutex);
  if (!s.dragging) return FALSE;
  s.position = POINT{x, y};
  if (s.sink) s.sink->Move(s.lock, s.position, s.visible);
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
  DragState& s = Drag();
  std::lock_guard guard(s.mutex);
  if (!s.dragging) return FALSE;
  s.visible = show != FALSE;
  if (s.sink) s.sink->Move(s.lock, s.position, s.visible);
  return TRUE;
}

BOOL ImageList_DragLeave(HWND lock) {
  DragState& s = Drag();
  std::lock_guard guard(s.mutex);
  if (!s.dragging) return FALSE;
  (void)lock;
  s.visible = false;
  if (s.sink) s.sink->Move(s.lock, s.position, false);
  return TRUE;
}

void ImageList_EndDrag() {
  DragState& s = Drag();
  std::lock_guard guard(s.mutex);
  if (!s.dragging) return;
  s.dragging = false;
  s.visible = false;
  s.image.reset();
  if (s.sink) s.sink->End();
}

HIMAGELIST ImageList_GetDragImage(POINT* position, POINT* hotspot) {
  DragState& s = Drag();
  std::lock_guard guard(s.mutex);
  if (!s.dragging || !s.image) return nullptr;
  if (position) *position = s.position;
  if (hotspot) *hotspot = s.hotspot;
  // A handle to the drag copy; the caller must not destroy it.
  Lists& l = TheLists();
  std::lock_guard lock(l.mutex);
  for (auto& entry : l.lists)
    if (entry.second == s.image) return reinterpret_cast<HIMAGELIST>(entry.first);
  uintptr_t id = l.next;
  l.next += 4;
  l.lists.emplace(id, s.image);
  return reinterpret_cast<HIMAGELIST>(id);
}

BOOL ImageList_SetDragCursorImage(HIMAGELIST list, int index, int xHotspot, int yHotspot) {
  auto cursor = Find(list);
  DragState& s = Drag();
  std::lock_guard guard(s.mutex);
  if (!cursor || !s.dragging || !s.image || index < 0 || index >= cursor->count) return FALSE;
  // Combine the drag image with the cursor image placed at the hot spot difference.
  int dx = s.hotspot.x - xHotspot, dy = s.hotspot.y - yHotspot;
  int left = std::min(0, dx), top = std::min(0, dy);
  int right = std::max(s.image->cx, dx + cursor->cx), bottom = std::max(s.image->cy, dy + cursor->cy);
  auto d = NewList(right - left, bottom - top, ILC_MASK | ILC_COLOR32, 1);
  Reserve(*d, 1);
  d->count = 1;
  MaskSurface(*d).Fill(0xFFFFFF);
  auto paste = [&](const ImageListData& src, int idx, int ox, int oy) {
    for (int y = 0; y < src.cy; ++y)
      for (int x = 0; x < src.cx; ++x) {
        if (src.HasMask() && MaskSurface(src).GetPixel(idx * src.cx + x, y)) continue;
        ImageSurface(*d).SetPixel(ox + x, oy + y, ImageSurface(src).GetPixel(idx * src.cx + x, y));
        MaskSurface(*d).SetPixel(ox + x, oy + y, 0);
      }
  };
  paste(*s.image, 0, -left, -top);
  paste(*cursor, index, dx - left, dy - top);
  s.image = d;
  s.hotspot = POINT{s.hotspot.x - left, s.hotspot.y - top};
  PublishImage(s);
  return TRUE;
}
