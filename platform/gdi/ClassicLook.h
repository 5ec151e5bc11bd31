// The classic 3-D look in one place: edges, frame controls, focus rectangles, state drawing
// and the CDC helpers, all in the system colours.
#pragma once

#include "gdi/GdiTypes.h"

#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define BDR_OUTER (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define BDR_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define BDR_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)

#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_TOPRIGHT (BF_TOP | BF_RIGHT)
#define BF_BOTTOMLEFT (BF_BOTTOM | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_DIAGONAL 0x0010
#define BF_DIAGONAL_ENDTOPRIGHT (BF_DIAGONAL | BF_TOP | BF_RIGHT)
#define BF_DIAGONAL_ENDTOPLEFT (BF_DIAGONAL | BF_TOP | BF_LEFT)
#define BF_DIAGONAL_ENDBOTTOMLEFT (BF_DIAGONAL | BF_BOTTOM | BF_LEFT)
#define BF_DIAGONAL_ENDBOTTOMRIGHT (BF_DIAGONAL | BF_BOTTOM | BF_RIGHT)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

#define DFC_CAPTION 1
#define DFC_MENU 2
#define DFC_SCROLL 3
#define DFC_BUTTON 4
#define DFC_POPUPMENU 5

#define DFCS_CAPTIONCLOSE 0x0000
#define DFCS_CAPTIONMIN 0x0001
#define DFCS_CAPTIONMAX 0x0002
#define DFCS_CAPTIONRESTORE 0x0003
#define DFCS_CAPTIONHELP 0x0004
#define DFCS_MENUARROW 0x0000
#define DFCS_MENUCHECK 0x0001
#define DFCS_MENUBULLET 0x0002
#define DFCS_MENUARROWRIGHT 0x0004
#define DFCS_SCROLLUP 0x0000
#define DFCS_SCROLLDOWN 0x0001
#define DFCS_SCROLLLEFT 0x0002
#define DFCS_SCROLLRIGHT 0x0003
#define DFCS_SCROLLCOMBOBOX 0x0005
#define DFCS_SCROLLSIZEGRIP 0x0008
#define DFCS_SCROLLSIZEGRIPRIGHT 0x0010
#define DFCS_BUTTONCHECK 0x0000
#define DFCS_BUTTONRADIOIMAGE 0x0001
#define DFCS_BUTTONRADIOMASK 0x0002
#define DFCS_BUTTONRADIO 0x0004
#define DFCS_BUTTON3STATE 0x0008
#define DFCS_BUTTONPUSH 0x0010
#define DFCS_INACTIVE 0x0100
#define DFCS_PUSHED 0x0200
#define DFCS_CHECKED 0x0400
#define DFCS_TRANSPARENT 0x0800
#define DFCS_HOT 0x1000
#define DFCS_ADJUSTRECT 0x2000
#define DFCS_FLAT 0x4000
#define DFCS_MONO 0x8000

#define DST_COMPLEX 0x0000
#define DST_TEXT 0x0001
#define DST_PREFIXTEXT 0x0002
#define DST_ICON 0x0003
#define DST_BITMAP 0x0004
#define DSS_NORMAL 0x0000
#define DSS_UNION 0x0010
#define DSS_DISABLED 0x0020
#define DSS_MONO 0x0080
#define DSS_HIDEPREFIX 0x0200
#define DSS_PREFIXONLY 0x0400
#define DSS_RIGHT 0x8000

#define OBM_CLOSE 32754
#define OBM_UPARROW 32753
#define OBM_DNARROW 32752
#define OBM_RGARROW 32751
#define OBM_LFARROW 32750
#define OBM_REDUCE 32749
#define OBM_ZOOM 32748
#define OBM_RESTORE 32747
#define OBM_MNARROW 32739
#define OBM_COMBO 32738
#define OBM_CHECK 32760
#define OBM_CHECKBOXES 32759

typedef BOOL(CALLBACK* DRAWSTATEPROC)(HDC hdc, LPARAM lData, WPARAM wData, int cx, int cy);
typedef BOOL(CALLBACK* GRAYSTRINGPROC)(HDC hdc, LPARAM lData, int length);

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC hdc, LPRECT rect, UINT type, UINT state);
BOOL DrawFocusRect(HDC hdc, const RECT* rect);
BOOL DrawState(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx, int cy,
               UINT flags);
BOOL GrayString(HDC hdc, HBRUSH brush, GRAYSTRINGPROC proc, LPARAM lData, int length, int x, int y, int cx, int cy);
#define DrawStateA DrawState
#define GrayStringA GrayString

namespace brambolt {
// What CDC::FillSolidRect and CDC::Draw3dRect do: a solid rectangle, and a one-pixel frame whose
// top and left sides take topLeft and right and bottom sides bottomRight.
void FillSolidRect(HDC hdc, const RECT& rect, COLORREF color);
void Draw3dRect(HDC hdc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
// The system bitmaps (OBM_*) drawn in the classic look: monochrome glyphs black on white for
// OBM_CHECK and OBM_MNARROW, colour buttons for the others. Null for ids not drawn here.
HBITMAP CreateSystemBitmap(UINT id);
// The 8x8 halftone (checkerboard) brush of drag rectangles; a stock object, never deleted.
HBRUSH GetHalftoneBrush();
// Disabled text in the classic look: a highlight copy one pixel down and right under the text in
// the grey-text colour. Drawn as text, not through a mask, so anti-aliased edges stay thin; the
// DC's text colour and background mode are left as they were.
void DrawDisabledText(HDC hdc, LPCSTR text, int length, RECT rect, UINT format);
// A menu glyph (DFCS_MENUARROW, DFCS_MENUCHECK, DFCS_MENUBULLET) in `color` over what is there:
// DrawFrameControl draws it black on white, and that image serves as the mask.
void DrawMenuGlyph(HDC hdc, const RECT& rect, UINT glyph, COLORREF color);
// The shaft of a scroll bar: the classic dither of the highlight and face colours, unless the
// scroll-bar colour was changed from the face colour, which then fills it plainly.
void FillScrollShaft(HDC hdc, const RECT& rect);

// ---- control bars ----
// The borders of a control bar on the sides in `sides` (BF_LEFT...): a shadow line, and with
// threeD a highlight line inside it. rect shrinks by two pixels per side drawn.
void DrawBarBorders(HDC hdc, RECT& rect, UINT sides, bool threeD);
// A docked bar's gripper: a raised ridge filling rect.
void DrawBarGripper(HDC hdc, const RECT& rect);
// The state of a toolbar button face.
enum ToolButtonLook : UINT {
  kToolPressed = 0x01,        // held down
  kToolChecked = 0x02,        // checked: sunken, dithered unless also hot or pressed
  kToolHot = 0x04,            // under the mouse (flat look: raised)
  kToolFlat = 0x08,           // the flat look: no edge at rest
  kToolDisabled = 0x10,
  kToolIndeterminate = 0x20,  // dithered, not sunken
};
// A toolbar button's face and edge; returns the offset (0 or 1) its image moves by when sunken.
int DrawToolButtonFace(HDC hdc, const RECT& rect, UINT look);
// A toolbar separator: in the flat look an etched line across the middle of rect (vertical line
// in a horizontal bar), nothing in the raised look.
void DrawToolSeparator(HDC hdc, const RECT& rect, bool horizontalBar, bool flat);
// A monochrome mask (1 where the image is) drawn embossed: highlight one pixel down-right,
// shadow over it, as disabled toolbar images are.
void DrawEmbossedMask(HDC hdc, HBITMAP mask, int x, int y, int cx, int cy);
// The mask DrawEmbossedMask takes, of the image at (x, y, cx, cy) of a toolbar bitmap: 1 where a
// pixel is neither the face colour (the background) nor the highlight. The caller deletes it.
HBITMAP CreateToolImageMask(HBITMAP image, int x, int y, int cx, int cy);
// A status-bar pane's border: sunken, raised (popOut) or none.
void DrawStatusPane(HDC hdc, const RECT& rect, bool noBorders, bool popOut);

// ---- captions ----
// The bar of a caption (a frame's, an MDI child's) in the active or the inactive colours with a
// face-coloured line under it, and its text in `font` between textLeft and textRight, ended with
// "..." when it does not fit.
void DrawCaptionBar(HDC hdc, const RECT& bar, bool active, HFONT font, const char* text, int textLeft, int textRight);
}  // namespace brambolt
