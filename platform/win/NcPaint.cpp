// Painting the non-client area with the classic look: frames, client edges, the caption with its
// icon, text and buttons, the menu bar (through the menu module) and window scroll bars.
#include <algorithm>

#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "gdi/ClassicLook.h"
#include "gdi/Icons.h"
#include "gdi/Text.h"
#include "win/Extensions.h"
#include "win/Internal.h"
#include "win/NonClient.h"
#include "win/WinSystem.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

thread_local int t_pressedHit = 0;
thread_local HWND t_pressedWindow = nullptr;

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

void PaintFrame(HDC hdc, const Window& w, const NonClientLayout& l, bool active) {
  RECT r = l.window;
  if (l.frame == 0) return;
  if (l.sizing || (w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME)) {
    DrawEdge(hdc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    int rest = l.frame - 2;
    int color = l.sizing ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_3DFACE;
    for (int i = 0; i < rest; ++i) {
      FrameRect(hdc, &r, GetSysColorBrush(color));
      InflateRect(&r, -1, -1);
    }
  } else {
    FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
}

void PaintCaption(HDC hdc, const Window& w, const NonClientLayout& l, bool active) {
  if (IsEmpty(l.caption)) return;
  bool tool = (w.exStyle & WS_EX_TOOLWINDOW) != 0;
  RECT bar = l.caption;
  int textLeft = bar.left + 2;
  if (!IsEmpty(l.sysMenu)) textLeft = l.sysMenu.right + 2;
  int textRight = bar.right - 2;
  for (const RECT* b : {&l.closeButton, &l.maxButton, &l.minButton, &l.helpButton})
    if (!IsEmpty(*b)) textRight = std::min<int>(textRight, b->left - 2);
  LOGFONT lf = NonClientFont(tool ? kSmallCaptionFont : kCaptionFont);
  HFONT font = CreateFontIndirect(&lf);
  DrawCaptionBar(hdc, bar, active, font, w.text.c_str(), textLeft, textRight);
  DeleteObject(font);
  if (!IsEmpty(l.sysMenu)) {
    HICON icon = w.iconSmall ? w.iconSmall : (w.iconBig ? w.iconBig : (w.cls ? w.cls->iconSmall : nullptr));
    if (icon == nullptr && w.cls) icon = w.cls->icon;
    if (icon)
      DrawIconEx(hdc, l.sysMenu.left, l.sysMenu.top + (l.sysMenu.bottom - l.sysMenu.top - 16) / 2,
                 icon, 16, 16, 0, nullptr, DI_NORMAL);
  }
  bool noClose = w.cls && (w.cls->style & CS_NOCLOSE);
  auto button = [&](const RECT& r, UINT kind, int hit, bool enabled) {
    if (IsEmpty(r)) return;
    RECT b = r;
    UINT state = kind;
    if (t_pressedWindow == w.handle && t_pressedHit == hit) state |= DFCS_PUSHED;
    if (!enabled) state |= DFCS_INACTIVE;
    DrawFrameControl(hdc, &b, DFC_CAPTION, state);
  };
  button(l.closeButton, DFCS_CAPTIONCLOSE, HTCLOSE, !noClose);
  button(l.maxButton, (w.style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX, HTMAXBUTTON,
         (w.style & WS_MAXIMIZEBOX) != 0);
  button(l.minButton, (w.style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN, HTMINBUTTON,
         (w.style & WS_MINIMIZEBOX) != 0);
  button(l.helpButton, DFCS_CAPTIONHELP, HTHELP, true);
}

}  // namespace

void PaintNonClient(HWND hwnd, HDC hdc) {
  Window copy;
  NonClientLayout l;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return;
    copy.handle = w->handle;
    copy.cls = w->cls;
    copy.style = w->style;
    copy.exStyle = w->exStyle;
    copy.id = w->id;
    copy.text = w->text;
    copy.iconBig = w->iconBig;
    copy.iconSmall = w->iconSmall;
    copy.window = w->window;
    copy.activeCaption = w->activeCaption;
    l = LayoutOf(*w);
  }
  bool active = copy.activeCaption;
  // Child windows with captions look active, except MDI children, which follow their activation.
  if ((copy.style & WS_CHILD) && !(copy.exStyle & WS_EX_MDICHILD)) active = true;
  PaintFrame(hdc, copy, l, active);
  if (!IsEmpty(l.caption)) PaintCaption(hdc, copy, l, active);
  if (!IsEmpty(l.menuBar)) {
    const MenuBarHooks& hooks = GetMenuBarHooks();
    if (hooks.paint) hooks.paint(hwnd, reinterpret_cast<HMENU>(copy.id), hdc, l.menuBar);
  }
  RECT edge = l.clientEdge;
  if (copy.exStyle & WS_EX_CLIENTEDGE) DrawEdge(hdc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (copy.exStyle & WS_EX_STATICEDGE) DrawEdge(hdc, &edge, BDR_SUNKENOUTER, BF_RECT);
  if (copy.style & (WS_VSCROLL | WS_HSCROLL)) PaintWindowScrollBars(hwnd, hdc);
}

void DefNcPaint(HWND hwnd, HRGN updateRegion) {
  if (!IsWindowVisible(hwnd)) return;
  HRGN clip = reinterpret_cast<ULONG_PTR>(updateRegion) > 1 ? updateRegion : nullptr;
  HDC hdc = GetDCEx(hwnd, clip, DCX_WINDOW | (clip ? DCX_INTERSECTRGN : 0));
  if (hdc == nullptr) return;
  RECT client, window;
  GetWindowRect(hwnd, &window);
  POINT o = ClientOrigin(hwnd);
  GetClientRect(hwnd, &client);
  OffsetRect(&client, o.x - window.left, o.y - window.top);
  ExcludeClipRect(hdc, client.left, client.top, client.right, client.bottom);
  PaintNonClient(hwnd, hdc);
  ReleaseDC(hwnd, hdc);
}

void SetCaptionActive(HWND hwnd, bool active) {
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return;
    if (w->activeCaption == active) return;
    w->activeCaption = active;
  }
  DefNcPaint(hwnd, reinterpret_cast<HRGN>(1));
}

void SetCaptionButtonPressed(HWND hwnd, int hit, bool pressed) {
  t_pressedWindow = pressed ? hwnd : nullptr;
  t_pressedHit = pressed ? hit : 0;
  DefNcPaint(hwnd, reinterpret_cast<HRGN>(1));
}

}  // namespace brambolt::wm
