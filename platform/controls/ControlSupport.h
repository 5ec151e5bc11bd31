// What the standard controls share: their state in the window's extra bytes, notifications to
// the parent, colours asked of the parent, fonts and text drawing.
#pragma once

#include <string>

#include "gdi/gdi.h"
#include "win/win.h"

namespace brambolt::ctl {

// A control's C++ state lives behind the first pointer of its extra bytes, made at WM_NCCREATE and
// deleted at WM_NCDESTROY by ControlProc.
template <class State>
State* StateOf(HWND hwnd) {
  return reinterpret_cast<State*>(GetWindowLongPtr(hwnd, 0));
}

// The window procedure of a control class whose state type has a
// `LRESULT Handle(HWND, UINT, WPARAM, LPARAM)` member.
template <class State>
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  State* state = StateOf<State>(hwnd);
  if (msg == WM_NCCREATE && state == nullptr) {
    state = new State();
    SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
  }
  if (state == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    LRESULT r = state->Handle(hwnd, msg, wParam, lParam);
    SetWindowLongPtr(hwnd, 0, 0);
    delete state;
    return r;
  }
  return state->Handle(hwnd, msg, wParam, lParam);
}

// Registers a global class with room for the state pointer.
void RegisterControlClass(const char* name, WNDPROC proc, UINT style, LPCSTR cursor, int background);

DWORD StyleOf(HWND hwnd);
int IdOf(HWND hwnd);
std::string TextOf(HWND hwnd);

// WM_COMMAND with the control's id and a notification code to its parent.
void NotifyParent(HWND control, UINT code);

// WM_NOTIFY to the control's parent: the header gets the control's handle and id and `code`. The
// parent's answer, 0 without a parent.
LRESULT SendNotify(HWND control, UINT code, NMHDR* header);

// The brush the parent gives for WM_CTLCOLOR<kind> (it sets the DC's colours too).
HBRUSH ParentBrush(HWND control, HDC hdc, UINT ctlColorMessage);
// The same asked of `asked` (a part's control, which passes it on), else of none.
HBRUSH BrushFrom(HWND asked, HWND control, HDC hdc, UINT ctlColorMessage);

// The font of a control: the one set by WM_SETFONT, else the system font.
HFONT EffectiveFont(HFONT font);

// Sends WM_DRAWITEM to the parent with the structure filled for the control.
void SendDrawItem(HWND control, UINT type, UINT itemId, UINT action, UINT state, HDC hdc, const RECT& rect,
                  ULONG_PTR data);

// Whether the window of `hwnd` is drawn enabled (itself and its ancestors up to the top).
bool Enabled(HWND hwnd);

// The window a control notifies, asks to draw and asks for colours: its parent, or for a control
// made without WS_CHILD the window it was given as parent at creation, which the window manager
// keeps as its owner. Null when there is none.
HWND ParentOf(HWND hwnd);

// Selects a font into a DC for the lifetime of the object.
class FontSelection {
 public:
  FontSelection(HDC hdc, HFONT font) : hdc_(hdc), old_(SelectObject(hdc, EffectiveFont(font))) {}
  ~FontSelection() { SelectObject(hdc_, old_); }
  FontSelection(const FontSelection&) = delete;
  FontSelection& operator=(const FontSelection&) = delete;

 private:
  HDC hdc_;
  HGDIOBJ old_;
};

// The painting messages of a standard control: WM_PAINT (into wParam's DC when one is given) and
// WM_PRINTCLIENT through `paint`, and WM_ERASEBKGND, left to the painter. True when `msg` was one.
template <class Paint>
bool HandlePaint(HWND hwnd, UINT msg, WPARAM wParam, Paint&& paint, LRESULT* result) {
  *result = 0;
  switch (msg) {
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
      paint(hdc);
      if (!wParam) EndPaint(hwnd, &ps);
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      return true;
  }
  return false;
}

// HandlePaint, and what the simple controls answer alike: WM_SETFONT and WM_GETFONT on `font`,
// and WM_SETTEXT, which repaints.
template <class Paint>
bool HandleCommon(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, HFONT& font, Paint&& paint, LRESULT* result) {
  if (HandlePaint(hwnd, msg, wParam, paint, result)) return true;
  switch (msg) {
    case WM_SETFONT:
      font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return true;
    case WM_GETFONT:
      *result = reinterpret_cast<LRESULT>(font);
      return true;
    case WM_SETTEXT:
      *result = DefWindowProc(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return true;
  }
  return false;
}

// Height of a line of text in a font.
int LineHeight(HFONT font);
// The metrics of a font (the system font for null) on the screen.
TEXTMETRIC MetricsOf(HFONT font);
// WM_GETTEXT's copy: at most size - 1 bytes and a terminator; the bytes copied.
LRESULT CopyTextOut(const std::string& text, LPSTR buffer, size_t size);

// The class registrations, one per control.
void RegisterButtonClass();
void RegisterStaticClass();
void RegisterEditClass();
void RegisterListBoxClass();
void RegisterComboBoxClass();
void RegisterScrollBarClass();

}  // namespace brambolt::ctl
