// Default non-client layout and hit testing with the classic metrics.
#include "win/NonClient.h"

#include <algorithm>

#include "win/Backend.h"
#include "win/Metrics.h"
#include "win/WindowManager.h"
#include "gdi/SysColors.h"

namespace brambolt::wm {
namespace {

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

int FrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return Metric(SM_CXFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return Metric(SM_CXDLGFRAME);
  if (style & WS_BORDER) return Metric(SM_CXBORDER);
  return 0;
}

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

RECT NonClientBorders(DWORD style, DWORD exStyle, bool menu, const Window* w) {
  int f = FrameWidth(style, exStyle);
  RECT b{f, f, f, f};
  if (HasCaption(style))
    b.top += (exStyle & WS_EX_TOOLWINDOW) ? Metric(SM_CYSMCAPTION) : Metric(SM_CYCAPTION);
  if (menu && !(style & WS_CHILD)) b.top += Metric(SM_CYMENU);
  int edge = (exStyle & WS_EX_CLIENTEDGE) ? Metric(SM_CXEDGE) : 0;
  if (exStyle & WS_EX_STATICEDGE) edge += Metric(SM_CXBORDER);
  b.left += edge;
  b.top += edge;
  b.right += edge;
  b.bottom += edge;
  if (w != nullptr) {
    if (style & WS_VSCROLL) b.right += Metric(SM_CXVSCROLL);
    if (style & WS_HSCROLL) b.bottom += Metric(SM_CYHSCROLL);
  }
  return b;
}

NonClientLayout LayoutOf(const Window& w) {
  NonClientLayout l;
  int width = w.window.right - w.window.left, height = w.window.bottom - w.window.top;
  l.window = RECT{0, 0, width, height};
  l.frame = FrameWidth(w.style, w.exStyle);
  l.sizing = (w.style & WS_THICKFRAME) != 0;
  bool iconTitle = (w.style & WS_MINIMIZE) && HasCaption(w.style);
  if (iconTitle) {
    // A minimised window with a caption is a title bar alone: a raised edge around its caption.
    l.frame = Metric(SM_CXEDGE);
    l.sizing = false;
  }
  int top = l.frame;
  if (HasCaption(w.style)) {
    bool tool = (w.exStyle & WS_EX_TOOLWINDOW) != 0;
    int ch = tool ? Metric(SM_CYSMCAPTION) : Metric(SM_CYCAPTION);
    if (iconTitle) ch = std::min(ch, height - 2 * l.frame + 1);
    l.caption = RECT{l.frame, top, width - l.frame, top + ch - 1};
    int bw = (tool ? Metric(SM_CXSMSIZE) : Metric(SM_CXSIZE)) - 2;
    int bh = ch - 5;
    int by = top + 2;
    int right = l.caption.right - 2;
    if (w.style & WS_SYSMENU) {
      l.closeButton = RECT{right - bw, by, right, by + bh};
      right -= bw + 2;
      if (!tool && (w.style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX))) {
        l.maxButton = RECT{right - bw, by, right, by + bh};
        l.minButton = RECT{right - 2 * bw, by, right - bw, by + bh};
      } else if (!tool && (w.exStyle & WS_EX_CONTEXTHELP)) {
        l.helpButton = RECT{right - bw, by, right, by + bh};
      }
      if (!tool && !(w.exStyle & WS_EX_DLGMODALFRAME))
        l.sysMenu = RECT{l.caption.left + 1, by, l.caption.left + 1 + Metric(SM_CXSMICON), by + bh};
    }
    top += ch;
  }
  if (!(w.style & WS_CHILD) && w.id != 0 && MenuBarHeight(w) > 0) {
    l.menuBar = RECT{l.frame, top, width - l.frame, top + MenuBarHeight(w)};
    top = l.menuBar.bottom;
  }
  RECT inner{l.frame, top, width - l.frame, height - l.frame};
  l.clientEdge = inner;
  int edge = (w.exStyle & WS_EX_CLIENTEDGE) ? Metric(SM_CXEDGE) : 0;
  if (w.exStyle & WS_EX_STATICEDGE) edge += Metric(SM_CXBORDER);
  RECT c{inner.left + edge, inner.top + edge, inner.right - edge, inner.bottom - edge};
  if (w.style & WS_VSCROLL) {
    l.vscroll = RECT{c.right - Metric(SM_CXVSCROLL), c.top, c.right, c.bottom};
    c.right = l.vscroll.left;
  }
  if (w.style & WS_HSCROLL) {
    l.hscroll = RECT{c.left, c.bottom - Metric(SM_CYHSCROLL), c.right, c.bottom};
    c.bottom = l.hscroll.top;
    if (w.style & WS_VSCROLL) {
      l.vscroll.bottom = l.hscroll.top;
      l.sizeBox = RECT{l.hscroll.right, l.hscroll.top, l.hscroll.right + Metric(SM_CXVSCROLL),
                       l.hscroll.bottom};
    }
  }
  if (c.right < c.left) c.right = c.left;
  if (c.bottom < c.top) c.bottom = c.top;
  l.client = c;
  return l;
}

LRESULT HitTest(const Window& w, POINT p) {
  NonClientLayout l = LayoutOf(w);
  if (!Contains(l.window, p)) return HTNOWHERE;
  if (w.style & WS_MINIMIZE) {
    // An icon title bar answers for its buttons and system menu; the rest of it is caption.
    if (!IsEmpty(l.sysMenu) && p.x < l.sysMenu.right && p.x >= l.sysMenu.left) return HTSYSMENU;
    if (Contains(l.closeButton, p)) return HTCLOSE;
    if (Contains(l.maxButton, p)) return HTMAXBUTTON;
    if (Contains(l.minButton, p)) return HTMINBUTTON;
    return HTCAPTION;
  }
  // The client area is the one WM_NCCALCSIZE left, which a window may have made smaller or larger
  // than the default layout's. What it reserved inside the default client area belongs to none of
  // the default parts: nowhere, for the window itself to answer.
  RECT client = w.client;
  Offset(client, -w.window.left, -w.window.top);
  if (Contains(client, p)) return HTCLIENT;
  if (Contains(l.client, p)) return HTNOWHERE;
  int width = l.window.right, height = l.window.bottom;
  if (l.frame > 0 && (p.x < l.frame || p.y < l.frame || p.x >= width - l.frame ||
                      p.y >= height - l.frame)) {
    if (!l.sizing) return HTBORDER;
    int corner = Metric(SM_CYCAPTION) + l.frame;
    bool left = p.x < corner, right = p.x >= width - corner;
    bool topZone = p.y < corner, bottomZone = p.y >= height - corner;
    if (p.y < l.frame) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (p.y >= height - l.frame) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.x < l.frame) return topZone ? HTTOPLEFT : bottomZone ? HTBOTTOMLEFT : HTLEFT;
    return topZone ? HTTOPRIGHT : bottomZone ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (!IsEmpty(l.caption) && p.y < l.caption.bottom + 1 && p.y >= l.caption.top) {
    if (!IsEmpty(l.sysMenu) && p.x < l.sysMenu.right) return HTSYSMENU;
    if (Contains(l.closeButton, p)) return HTCLOSE;
    if (Contains(l.maxButton, p)) return HTMAXBUTTON;
    if (Contains(l.minButton, p)) return HTMINBUTTON;
    if (Contains(l.helpButton, p)) return HTHELP;
    return HTCAPTION;
  }
  if (Contains(l.menuBar, p)) return HTMENU;
  if (Contains(l.vscroll, p)) return HTVSCROLL;
  if (Contains(l.hscroll, p)) return HTHSCROLL;
  if (Contains(l.sizeBox, p)) return l.sizing ? HTSIZE : HTNOWHERE;
  return HTBORDER;
}

}  // namespace brambolt::wm
