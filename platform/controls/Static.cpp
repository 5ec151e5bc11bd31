// The "Static" class: text with alignment and prefixes, icons, bitmaps, filled and framed
// rectangles, etched lines and frames, owner-drawn; clicks reported with SS_NOTIFY.
#include "controls/Controls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

bool IsTextType(DWORD type) {
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

class StaticState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Paint(HWND hwnd, HDC hdc);
  void PaintText(HWND hwnd, HDC hdc, const RECT& r, DWORD style);
  void PaintImage(HDC hdc, const RECT& r, DWORD style);
  HANDLE SetImage(HWND hwnd, UINT type, HANDLE image);

  HFONT font_ = nullptr;
  HANDLE image_ = nullptr;
  UINT imageType_ = IMAGE_ICON;
};

HANDLE StaticState::SetImage(HWND hwnd, UINT type, HANDLE image) {
  HANDLE old = image_;
  image_ = image;
  imageType_ = type;
  DWORD style = StyleOf(hwnd);
  // An image static takes the image's size unless told to keep its own.
  if (image && !(style & (SS_CENTERIMAGE | SS_REALSIZECONTROL))) {
    SIZE size{};
    if (type == IMAGE_ICON) {
      GetIconSize(static_cast<HICON>(image), &size);
    } else {
      BITMAP bm{};
      GetObject(image, sizeof(bm), &bm);
      size = SIZE{bm.bmWidth, bm.bmHeight};
    }
    if (size.cx > 0 && size.cy > 0)
      SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return old;
}

void StaticState::PaintText(HWND hwnd, HDC hdc, const RECT& r, DWORD style) {
  DWORD type = style & SS_TYPEMASK;
  UINT format = DT_EXPANDTABS;
  if (type == SS_CENTER) format |= DT_CENTER | DT_WORDBREAK;
  else if (type == SS_RIGHT) format |= DT_RIGHT | DT_WORDBREAK;
  else if (type == SS_LEFT) format |= DT_LEFT | DT_WORDBREAK;
  else format |= DT_LEFT | DT_SINGLELINE;
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS: format |= DT_END_ELLIPSIS; break;
    case SS_PATHELLIPSIS: format |= DT_PATH_ELLIPSIS; break;
    case SS_WORDELLIPSIS: format |= DT_WORD_ELLIPSIS; break;
  }
  std::string text = TextOf(hwnd);
  FontSelection font(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  if (!Enabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  RECT area = r;
  DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &area, format);
}

void StaticState::PaintImage(HDC hdc, const RECT& r, DWORD style) {
  if (image_ == nullptr) return;
  SIZE size{};
  if (imageType_ == IMAGE_ICON) {
    GetIconSize(static_cast<HICON>(image_), &size);
  } else {
    BITMAP bm{};
    GetObject(image_, sizeof(bm), &bm);
    size = SIZE{bm.bmWidth, bm.bmHeight};
  }
  int x = r.left, y = r.top;
  if (style & SS_CENTERIMAGE) {
    x = (r.left + r.right - size.cx) / 2;
    y = (r.top + r.bottom - size.cy) / 2;
  } else if (style & SS_RIGHTJUST) {
    x = r.right - size.cx;
    y = r.bottom - size.cy;
  }
  if (imageType_ == IMAGE_ICON) {
    DrawIconEx(hdc, x, y, static_cast<HICON>(image_), size.cx, size.cy, 0, nullptr, DI_NORMAL);
  } else {
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(memory, image_);
    BitBlt(hdc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
}

void StaticState::Paint(HWND hwnd, HDC hdc) {
  RECT r;
  GetClientRect(hwnd, &r);
  DWORD style = StyleOf(hwnd), type = style & SS_TYPEMASK;
  if (style & SS_SUNKEN) DrawEdge(hdc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  switch (type) {
    case SS_BLACKRECT:
      FillRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      return;
    case SS_GRAYRECT:
      FillRect(hdc, &r, GetSysColorBrush(COLOR_3DSHADOW));
      return;
    case SS_WHITERECT:
      FillRect(hdc, &r, GetSysColorBrush(COLOR_3DHIGHLIGHT));
      return;
    case SS_BLACKFRAME:
      FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      return;
    case SS_GRAYFRAME:
      FrameRect(hdc, &r, GetSysColorBrush(COLOR_3DSHADOW));
      return;
    case SS_WHITEFRAME:
      FrameRect(hdc, &r, GetSysColorBrush(COLOR_3DHIGHLIGHT));
      return;
    case SS_ETCHEDHORZ:
      DrawEdge(hdc, &r, EDGE_ETCHED, BF_TOP);
      return;
    case SS_ETCHEDVERT:
      DrawEdge(hdc, &r, EDGE_ETCHED, BF_LEFT);
      return;
    case SS_ETCHEDFRAME:
      DrawEdge(hdc, &r, EDGE_ETCHED, BF_RECT);
      return;
    case SS_OWNERDRAW:
      SendDrawItem(hwnd, ODT_STATIC, 0, ODA_DRAWENTIRE, Enabled(hwnd) ? 0 : ODS_DISABLED, hdc, r, 0);
      return;
  }
  HBRUSH brush = ParentBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &r, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
  if (type == SS_ICON || type == SS_BITMAP)
    PaintImage(hdc, r, style);
  else if (IsTextType(type))
    PaintText(hwnd, hdc, r, style);
}

LRESULT StaticState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD style = StyleOf(hwnd), type = style & SS_TYPEMASK;
  LRESULT common;
  if (HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common)) return common;
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      if (type == SS_ICON && cs->lpszName != nullptr) {
        // A template gives the icon's name as the text; the system icons are ours to draw.
        if (HICON icon = GetStandardIcon(cs->lpszName)) SetImage(hwnd, IMAGE_ICON, icon);
      }
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_NCHITTEST:
      return (style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      if (style & SS_NOTIFY) NotifyParent(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
      return 0;
    case WM_LBUTTONDOWN:
      if (style & SS_NOTIFY) NotifyParent(hwnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (style & SS_NOTIFY) NotifyParent(hwnd, STN_DBLCLK);
      return 0;
    case STM_SETICON:
      return reinterpret_cast<LRESULT>(SetImage(hwnd, IMAGE_ICON, reinterpret_cast<HANDLE>(wParam)));
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(imageType_ == IMAGE_ICON ? image_ : nullptr);
    case STM_SETIMAGE:
      if (wParam != IMAGE_ICON && wParam != IMAGE_BITMAP && wParam != IMAGE_CURSOR) return 0;
      return reinterpret_cast<LRESULT>(
          SetImage(hwnd, wParam == IMAGE_BITMAP ? IMAGE_BITMAP : IMAGE_ICON, reinterpret_cast<HANDLE>(lParam)));
    case STM_GETIMAGE:
      return reinterpret_cast<LRESULT>((wParam == IMAGE_BITMAP) == (imageType_ == IMAGE_BITMAP) ? image_ : nullptr);
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterStaticClass() {
  RegisterControlClass(WC_STATIC, ControlProc<StaticState>, CS_DBLCLKS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
