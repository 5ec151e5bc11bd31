// Image lists: equally sized images with masks in strip bitmaps, drawn with the ILD_* styles,
// overlays and blending, merged, and dragged over the screen.
#pragma once

#include <memory>

#include "gdi/GdiTypes.h"
#include "gdi/Surface.h"

#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020
#define ILC_PALETTE 0x00000800

#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020
#define ILD_ROP 0x00000040
#define ILD_BLEND25 0x00000002
#define ILD_BLEND50 0x00000004
#define ILD_OVERLAYMASK 0x00000F00
#define INDEXTOOVERLAYMASK(i) ((i) << 8)
#define ILD_SELECTED ILD_BLEND50
#define ILD_FOCUS ILD_BLEND25
#define ILD_BLEND ILD_BLEND50
#define CLR_HILIGHT CLR_DEFAULT

#define ILCF_MOVE 0x00000000
#define ILCF_SWAP 0x00000001

typedef struct _IMAGEINFO {
  HBITMAP hbmImage;
  HBITMAP hbmMask;
  int Unused1;
  int Unused2;
  RECT rcImage;
} IMAGEINFO, *LPIMAGEINFO;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
#define ImageList_AddIcon(list, icon) ImageList_ReplaceIcon(list, -1, icon)
BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
BOOL ImageList_Remove(HIMAGELIST list, int index);
#define ImageList_RemoveAll(list) ImageList_Remove(list, -1)
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_SetImageCount(HIMAGELIST list, UINT count);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style);
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC hdc, int x, int y, int dx, int dy, COLORREF background,
                      COLORREF foreground, UINT style);
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
#define ImageList_ExtractIcon(instance, list, index) ImageList_GetIcon(list, index, 0)
BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
BOOL ImageList_SetOverlayImage(HIMAGELIST list, int image, int overlay);
BOOL ImageList_Copy(HIMAGELIST destination, int to, HIMAGELIST source, int from, UINT flags);
HIMAGELIST ImageList_Merge(HIMAGELIST first, int firstIndex, HIMAGELIST second, int secondIndex, int dx, int dy);
HIMAGELIST ImageList_Duplicate(HIMAGELIST list);

BOOL ImageList_BeginDrag(HIMAGELIST track, int index, int xHotspot, int yHotspot);
BOOL ImageList_DragEnter(HWND lock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragShowNolock(BOOL show);
BOOL ImageList_DragLeave(HWND lock);
void ImageList_EndDrag();
HIMAGELIST ImageList_GetDragImage(POINT* position, POINT* hotspot);
BOOL ImageList_SetDragCursorImage(HIMAGELIST list, int index, int xHotspot, int yHotspot);

namespace brambolt {

// Where drag images appear: the window module shows them on the screen overlay.
class DragImageSink {
 public:
  virtual ~DragImageSink() = default;
  // A new drag image; mask is white where the image is transparent. hotspot is inside the image.
  virtual void SetImage(std::shared_ptr<const Surface> image, std::shared_ptr<const Surface> mask, POINT hotspot) = 0;
  // The image's hot spot at 'position', relative to the lock window's top-left (or the screen
  // when lock is null); shown or hidden.
  virtual void Move(HWND lock, POINT position, bool visible) = 0;
  virtual void End() = 0;
};
void SetDragImageSink(DragImageSink* sink);

}  // namespace brambolt
