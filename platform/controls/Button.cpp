// The "Button" class: push, default, check, 3-state, radio and group boxes, owner-drawn, with
// text, bitmap or icon; driven by mouse and space bar, drawn with the classic frame controls.
#include "controls/Controls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

DWORD TypeOf(DWORD style) { return style & BS_TYPEMASK; }

bool IsCheckType(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadioType(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

class ButtonState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Paint(HWND hwnd, HDC hdc);
  void PaintPush(HWND hwnd, HDC hdc, const RECT& client, DWORD style, bool pressed, bool drawDefault);
  void PaintCheck(HWND hwnd, HDC hdc, const RECT& client, DWORD style);
  void PaintGroup(HWND hwnd, HDC hdc, const RECT& client, DWORD style);
  void PaintLabel(HWND hwnd, HDC hdc, RECT area, DWORD style, UINT align, bool focusRect);
  // The user pushes or lets go: the state changes through BM_SETSTATE, as a subclass sees it, and
  // BN_HILITE / BN_UNHILITE go to a BS_NOTIFY button's parent (not when a program sets the state).
  void SetPushed(HWND hwnd, bool pushed);
  // Fills the client with the parent's brush for the kinds that cover their whole client.
  void EraseBackground(HWND hwnd, HDC hdc);
  void Click(HWND hwnd);
  void UncheckGroupSiblings(HWND hwnd);
  void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

  UINT check_ = BST_UNCHECKED;
  bool pushed_ = false;
  bool focused_ = false;
  bool tracking_ = false;
  bool spaceDown_ = false;
  HFONT font_ = nullptr;
  HANDLE image_ = nullptr;
  UINT imageType_ = IMAGE_BITMAP;
};

void ButtonState::SetPushed(HWND hwnd, bool pushed) {
  if (pushed_ == pushed) return;
  SendMessage(hwnd, BM_SETSTATE, pushed ? TRUE : FALSE, 0);
  if (IsWindow(hwnd) && (StyleOf(hwnd) & BS_NOTIFY)) NotifyParent(hwnd, pushed ? BN_HILITE : BN_UNHILITE);
}

void ButtonState::EraseBackground(HWND hwnd, HDC hdc) {
  const DWORD style = StyleOf(hwnd), type = TypeOf(style);
  // A group box is see-through: what lies inside it belongs to its siblings.
  if (type == BS_GROUPBOX) return;
  const bool checkLook = (IsCheckType(type) || IsRadioType(type)) && !(style & BS_PUSHLIKE);
  HBRUSH brush = ParentBrush(hwnd, hdc, checkLook ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(hdc, &client, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
}

void ButtonState::UncheckGroupSiblings(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  if (parent == nullptr) return;
  // The group runs from the nearest WS_GROUP sibling at or before this one to the next WS_GROUP.
  HWND first = hwnd;
  while (!(StyleOf(first) & WS_GROUP)) {
    HWND prev = GetWindow(first, GW_HWNDPREV);
    if (prev == nullptr) break;
    first = prev;
  }
  for (HWND h = first; h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h != first && (StyleOf(h) & WS_GROUP)) break;
    if (h == hwnd) continue;
    if (SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (TypeOf(StyleOf(h)) == BS_AUTORADIOBUTTON) SendMessage(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void ButtonState::Click(HWND hwnd) {
  switch (TypeOf(StyleOf(hwnd))) {
    case BS_AUTOCHECKBOX:
      SendMessage(hwnd, BM_SETCHECK, check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    case BS_AUTO3STATE:
      SendMessage(hwnd, BM_SETCHECK, (check_ + 1) % 3, 0);
      break;
    case BS_AUTORADIOBUTTON:
      SendMessage(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      UncheckGroupSiblings(hwnd);
      break;
  }
  NotifyParent(hwnd, BN_CLICKED);
}

void ButtonState::PaintLabel(HWND hwnd, HDC hdc, RECT area, DWORD style, UINT align, bool focusRect) {
  bool enabled = Enabled(hwnd);
  if (image_ && (style & (BS_BITMAP | BS_ICON))) {
    int w = 0, h = 0;
    if (imageType_ == IMAGE_ICON) {
      SIZE s{};
      GetIconSize(static_cast<HICON>(image_), &s);
      w = s.cx;
      h = s.cy;
    } else {
      BITMAP bm{};
      GetObject(image_, sizeof(bm), &bm);
      w = bm.bmWidth;
      h = bm.bmHeight;
    }
    int x = (area.left + area.right - w) / 2, y = (area.top + area.bottom - h) / 2;
    UINT kind = imageType_ == IMAGE_ICON ? DST_ICON : DST_BITMAP;
    DrawState(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(image_), 0, x, y, w, h,
              kind | (enabled ? DSS_NORMAL : DSS_DISABLED));
    if (focusRect) {
      RECT f{x - 1, y - 1, x + w + 1, y + h + 1};
      DrawFocusRect(hdc, &f);
    }
    return;
  }
  std::string text = TextOf(hwnd);
  FontSelection font(hdc, font_);
  UINT format = align | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
  RECT measured = area;
  DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  int w = measured.right - measured.left, h = measured.bottom - measured.top;
  RECT placed = area;
  if (align & DT_CENTER) placed.left = (area.left + area.right - w) / 2;
  else if (align & DT_RIGHT) placed.left = area.right - w;
  placed.right = placed.left + w;
  if (format & DT_VCENTER || (style & BS_MULTILINE)) placed.top = (area.top + area.bottom - h) / 2;
  if ((style & BS_VCENTER) == BS_TOP) placed.top = area.top;
  if ((style & BS_VCENTER) == BS_BOTTOM) placed.top = area.bottom - h;
  placed.bottom = placed.top + h;
  if (!text.empty()) {
    SetBkMode(hdc, TRANSPARENT);
    if (enabled) {
      DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &placed, (format & ~(DT_CENTER | DT_RIGHT)) | DT_LEFT);
    } else {
      DrawState(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), static_cast<WPARAM>(text.size()),
                placed.left, placed.top, w, h, DST_PREFIXTEXT | DSS_DISABLED);
    }
  }
  if (focusRect) {
    RECT f = placed;
    InflateRect(&f, 1, 1);
    IntersectRect(&f, &f, &area);
    if (text.empty()) f = area;
    DrawFocusRect(hdc, &f);
  }
}

UINT HorizontalAlign(DWORD style, UINT fallback) {
  switch (style & BS_CENTER) {
    case BS_LEFT: return DT_LEFT;
    case BS_RIGHT: return DT_RIGHT;
    case BS_CENTER: return DT_CENTER;
  }
  return fallback;
}

void ButtonState::PaintPush(HWND hwnd, HDC hdc, const RECT& client, DWORD style, bool pressed, bool drawDefault) {
  HBRUSH brush = ParentBrush(hwnd, hdc, WM_CTLCOLORBTN);
  FillRect(hdc, &client, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
  RECT r = client;
  if (drawDefault) {
    // The default button carries a one-pixel frame outside its raised edge.
    FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  UINT state = DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0) | (Enabled(hwnd) ? 0 : DFCS_INACTIVE);
  DrawFrameControl(hdc, &r, DFC_BUTTON, state);
  RECT label = r;
  InflateRect(&label, -GetSystemMetrics(SM_CXEDGE) - 1, -GetSystemMetrics(SM_CYEDGE) - 1);
  if (pressed) OffsetRect(&label, 1, 1);
  SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
  PaintLabel(hwnd, hdc, label, style, HorizontalAlign(style, DT_CENTER) | DT_VCENTER, false);
  if (focused_) {
    RECT f = r;
    InflateRect(&f, -3, -3);
    DrawFocusRect(hdc, &f);
  }
}

void ButtonState::PaintCheck(HWND hwnd, HDC hdc, const RECT& client, DWORD style) {
  DWORD type = TypeOf(style);
  if (style & BS_PUSHLIKE) {
    PaintPush(hwnd, hdc, client, style, pushed_ || check_ != BST_UNCHECKED, false);
    return;
  }
  HBRUSH brush = ParentBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &client, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
  constexpr int kBox = 13;
  int top = (client.top + client.bottom - kBox) / 2;
  if ((style & BS_VCENTER) == BS_TOP) top = client.top;
  if ((style & BS_VCENTER) == BS_BOTTOM) top = client.bottom - kBox;
  bool right = (style & BS_LEFTTEXT) != 0;
  RECT box{right ? client.right - kBox : client.left, top, 0, top + kBox};
  box.right = box.left + kBox;
  UINT state = IsRadioType(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
  if (check_ == BST_CHECKED) state |= DFCS_CHECKED;
  if (check_ == BST_INDETERMINATE && !IsRadioType(type)) state = DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (pushed_) state |= DFCS_PUSHED;
  if (!Enabled(hwnd)) state |= DFCS_INACTIVE;
  DrawFrameControl(hdc, &box, DFC_BUTTON, state);
  RECT label = client;
  if (right)
    label.right = box.left - 4;
  else
    label.left = box.right + 4;
  SetTextColor(hdc, GetTextColor(hdc));
  PaintLabel(hwnd, hdc, label, style, HorizontalAlign(style, DT_LEFT) | DT_VCENTER, focused_);
}

void ButtonState::PaintGroup(HWND hwnd, HDC hdc, const RECT& client, DWORD style) {
  HBRUSH brush = ParentBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  std::string text = TextOf(hwnd);
  FontSelection font(hdc, font_);
  TEXTMETRIC tm{};
  GetTextMetrics(hdc, &tm);
  RECT frame = client;
  frame.top += tm.tmHeight / 2;
  DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
  if (text.empty()) return;
  RECT label{client.left + 8, client.top, client.right - 8, client.top + tm.tmHeight};
  RECT measured = label;
  DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
  UINT align = HorizontalAlign(style, DT_LEFT);
  int w = measured.right - measured.left + 4;
  if (align == DT_CENTER) label.left = (client.left + client.right - w) / 2;
  if (align == DT_RIGHT) label.left = client.right - 8 - w;
  label.right = std::min<LONG>(label.left + w, client.right - 8);
  FillRect(hdc, &label, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
  InflateRect(&label, -2, 0);
  SetBkMode(hdc, TRANSPARENT);
  if (Enabled(hwnd))
    DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &label, DT_SINGLELINE | DT_LEFT);
  else
    DrawState(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), static_cast<WPARAM>(text.size()),
              label.left, label.top, label.right - label.left, label.bottom - label.top,
              DST_PREFIXTEXT | DSS_DISABLED);
}

void ButtonState::Paint(HWND hwnd, HDC hdc) {
  // The parent's colour and drawing handlers see the button's font in the DC; whatever they or
  // the painting select, the caller gets its own font back.
  FontSelection font(hdc, font_);
  RECT client;
  GetClientRect(hwnd, &client);
  DWORD style = StyleOf(hwnd), type = TypeOf(style);
  if (type == BS_OWNERDRAW) {
    UINT state = (pushed_ ? ODS_SELECTED : 0) | (focused_ ? ODS_FOCUS : 0) | (Enabled(hwnd) ? 0 : ODS_DISABLED);
    HBRUSH brush = ParentBrush(hwnd, hdc, WM_CTLCOLORBTN);
    FillRect(hdc, &client, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
    SendDrawItem(hwnd, ODT_BUTTON, 0, ODA_DRAWENTIRE, state, hdc, client, 0);
    return;
  }
  if (type == BS_GROUPBOX) {
    PaintGroup(hwnd, hdc, client, style);
    return;
  }
  if (IsCheckType(type) || IsRadioType(type)) {
    PaintCheck(hwnd, hdc, client, style);
    return;
  }
  PaintPush(hwnd, hdc, client, style, pushed_, type == BS_DEFPUSHBUTTON);
}

LRESULT ButtonState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD style = StyleOf(hwnd), type = TypeOf(style);
  if (msg == WM_ERASEBKGND) {
    EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    return 1;
  }
  LRESULT common;
  if (HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common)) return common;
  switch (msg) {
    case WM_GETDLGCODE:
      if (type == BS_GROUPBOX) return DLGC_STATIC;
      if (IsRadioType(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (type == BS_PUSHBUTTON || type == BS_USERBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      return DLGC_BUTTON;
    case WM_NCHITTEST:
      if (type == BS_GROUPBOX) return HTTRANSPARENT;
      break;
    case WM_ENABLE:
      Redraw(hwnd);
      return 0;
    case WM_SETFOCUS:
      focused_ = true;
      Redraw(hwnd);
      DialogButtonFocusChanged(hwnd, true);
      if (style & BS_NOTIFY) NotifyParent(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      focused_ = false;
      spaceDown_ = false;
      if (tracking_ && GetCapture() == hwnd) ReleaseCapture();
      tracking_ = false;
      SetPushed(hwnd, false);
      Redraw(hwnd);
      DialogButtonFocusChanged(hwnd, false);
      if (style & BS_NOTIFY) NotifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (IsRadioType(type) || type == BS_OWNERDRAW || (style & BS_NOTIFY)) {
        NotifyParent(hwnd, BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (type == BS_GROUPBOX) return 0;
      if (GetFocus() != hwnd) SetFocus(hwnd);
      SetCapture(hwnd);
      tracking_ = true;
      SetPushed(hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      if (tracking_ && GetCapture() == hwnd) {
        RECT r;
        GetClientRect(hwnd, &r);
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        SetPushed(hwnd, PtInRect(&r, p) != FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (tracking_) {
        tracking_ = false;
        // Where the button is released decides, whether or not a move came in between.
        RECT r;
        GetClientRect(hwnd, &r);
        const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const bool inside = PtInRect(&r, p) != FALSE;
        // The state goes back (and shows) before the capture is let go, then the click counts.
        SetPushed(hwnd, false);
        if (IsWindow(hwnd) && GetCapture() == hwnd) ReleaseCapture();
        if (inside && IsWindow(hwnd)) Click(hwnd);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (tracking_) {
        tracking_ = false;
        SetPushed(hwnd, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && !(lParam & 0x40000000) && type != BS_GROUPBOX) {
        spaceDown_ = true;
        SetPushed(hwnd, true);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && spaceDown_) {
        spaceDown_ = false;
        SetPushed(hwnd, false);
        Click(hwnd);
      }
      return 0;
    case WM_CHAR:
      if (IsCheckType(type) && (wParam == '+' || wParam == '=' || wParam == '-')) {
        if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE)
          SendMessage(hwnd, BM_SETCHECK, wParam == '-' ? BST_UNCHECKED : BST_CHECKED, 0);
        NotifyParent(hwnd, BN_CLICKED);
      }
      return 0;
    case BM_GETCHECK:
      return (IsCheckType(type) || IsRadioType(type) || (style & BS_PUSHLIKE)) ? check_ : 0;
    case BM_SETCHECK: {
      if (!IsCheckType(type) && !IsRadioType(type)) return 0;
      UINT value = static_cast<UINT>(wParam);
      if (value == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) value = BST_CHECKED;
      if (value > BST_INDETERMINATE) value = BST_CHECKED;
      if (IsRadioType(type)) {
        // The checked radio button of a group is the one Tab stops at.
        DWORD newStyle = value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (newStyle != style) SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(newStyle));
      }
      if (check_ != value) {
        check_ = value;
        Redraw(hwnd);
      }
      return 0;
    }
    case BM_GETSTATE:
      return check_ | (pushed_ ? BST_PUSHED : 0) | (focused_ ? BST_FOCUS : 0);
    case BM_SETSTATE:
      // The new look shows before the message returns.
      if (pushed_ != (wParam != 0)) {
        pushed_ = wParam != 0;
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      }
      return 0;
    case BM_SETSTYLE: {
      DWORD newStyle = (style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      if (newStyle != style) SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(newStyle));
      if (LOWORD(lParam)) Redraw(hwnd);
      return 0;
    }
    case BM_CLICK:
      // A click as the mouse makes it: the button sees the press and the release at its corner,
      // both with the left button's flag.
      if (!Enabled(hwnd)) return 0;
      SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessage(hwnd, WM_LBUTTONUP, MK_LBUTTON, 0);
      return 0;
    case BM_GETIMAGE:
      return reinterpret_cast<LRESULT>(wParam == imageType_ ? image_ : nullptr);
    case BM_SETIMAGE: {
      HANDLE old = image_;
      if (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON) return 0;
      imageType_ = static_cast<UINT>(wParam);
      image_ = reinterpret_cast<HANDLE>(lParam);
      Redraw(hwnd);
      return reinterpret_cast<LRESULT>(old);
    }
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterButtonClass() {
  RegisterControlClass(WC_BUTTON, ControlProc<ButtonState>, CS_DBLCLKS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
