// Shared helpers of the standard controls.
#include "controls/ControlSupport.h"

#include <algorithm>
#include <cstring>

namespace brambolt::ctl {

void RegisterControlClass(const char* name, WNDPROC proc, UINT style, LPCSTR cursor, int background) {
  WNDCLASS existing;
  if (GetClassInfo(nullptr, name, &existing)) return;
  WNDCLASS wc{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(void*);
  wc.hCursor = LoadCursor(nullptr, cursor);
  wc.hbrBackground = background < 0 ? nullptr : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }

int IdOf(HWND hwnd) { return static_cast<int>(GetWindowLongPtr(hwnd, GWLP_ID)); }

std::string TextOf(HWND hwnd) {
  int n = GetWindowTextLength(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = GetWindowText(hwnd, s.data(), n + 1);
  s.resize(static_cast<size_t>(got > 0 ? got : 0));
  return s;
}

HWND ParentOf(HWND hwnd) { return (StyleOf(hwnd) & WS_CHILD) ? GetParent(hwnd) : GetWindow(hwnd, GW_OWNER); }

void NotifyParent(HWND control, UINT code) {
  HWND parent = ParentOf(control);
  if (parent == nullptr) return;
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(IdOf(control), code), reinterpret_cast<LPARAM>(control));
}

LRESULT SendNotify(HWND control, UINT code, NMHDR* header) {
  header->hwndFrom = control;
  header->idFrom = static_cast<UINT_PTR>(IdOf(control));
  header->code = code;
  HWND parent = ParentOf(control);
  return parent ? SendMessage(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header)) : 0;
}

HBRUSH ParentBrush(HWND control, HDC hdc, UINT ctlColorMessage) {
  return BrushFrom(ParentOf(control), control, hdc, ctlColorMessage);
}

HBRUSH BrushFrom(HWND asked, HWND control, HDC hdc, UINT ctlColorMessage) {
  HBRUSH brush = nullptr;
  if (asked)
    brush = reinterpret_cast<HBRUSH>(
        SendMessage(asked, ctlColorMessage, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control)));
  if (brush == nullptr)
    brush = reinterpret_cast<HBRUSH>(
        DefWindowProc(control, ctlColorMessage, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control)));
  return brush;
}

HFONT EffectiveFont(HFONT font) {
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void SendDrawItem(HWND control, UINT type, UINT itemId, UINT action, UINT state, HDC hdc, const RECT& rect,
                  ULONG_PTR data) {
  HWND parent = ParentOf(control);
  if (parent == nullptr) return;
  DRAWITEMSTRUCT dis{};
  dis.CtlType = type;
  dis.CtlID = static_cast<UINT>(IdOf(control));
  dis.itemID = itemId;
  dis.itemAction = action;
  dis.itemState = state;
  dis.hwndItem = control;
  dis.hDC = hdc;
  dis.rcItem = rect;
  dis.itemData = data;
  SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

bool Enabled(HWND hwnd) { return IsWindowEnabled(hwnd) != FALSE; }

TEXTMETRIC MetricsOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  TEXTMETRIC tm{};
  {
    FontSelection f(dc, font);
    GetTextMetrics(dc, &tm);
  }
  ReleaseDC(nullptr, dc);
  return tm;
}

int LineHeight(HFONT font) { return std::max<int>(1, MetricsOf(font).tmHeight); }

LRESULT CopyTextOut(const std::string& text, LPSTR buffer, size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return static_cast<LRESULT>(n);
}

}  // namespace brambolt::ctl
