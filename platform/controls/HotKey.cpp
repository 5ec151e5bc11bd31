// The hot-key control ("msctls_hotkey32"): takes a key with Shift, Ctrl and Alt as typed, replaces
// combinations its rules forbid, and shows the key's text ("Ctrl + Shift + A").
#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

// Which HKCOMB_ flag stands for a set of modifiers.
WORD CombinationOf(BYTE modifiers) {
  switch (modifiers & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT)) {
    case 0: return HKCOMB_NONE;
    case HOTKEYF_SHIFT: return HKCOMB_S;
    case HOTKEYF_CONTROL: return HKCOMB_C;
    case HOTKEYF_ALT: return HKCOMB_A;
    case HOTKEYF_SHIFT | HOTKEYF_CONTROL: return HKCOMB_SC;
    case HOTKEYF_SHIFT | HOTKEYF_ALT: return HKCOMB_SA;
    case HOTKEYF_CONTROL | HOTKEYF_ALT: return HKCOMB_CA;
    default: return HKCOMB_SCA;
  }
}

bool IsModifier(UINT vk) { return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU; }

}  // namespace

std::string HotKeyText(BYTE vk, BYTE modifiers) {
  std::string text;
  if (modifiers & HOTKEYF_CONTROL) text += "Ctrl + ";
  if (modifiers & HOTKEYF_SHIFT) text += "Shift + ";
  if (modifiers & HOTKEYF_ALT) text += "Alt + ";
  if (vk == 0) return text.empty() ? "None" : text;
  LONG scan = static_cast<LONG>(MapVirtualKey(vk, MAPVK_VK_TO_VSC)) << 16;
  if (modifiers & HOTKEYF_EXT) scan |= 1 << 24;
  char name[64] = {};
  if (GetKeyNameText(scan, name, sizeof(name)) > 0)
    text += name;
  else
    text += static_cast<char>(vk);
  return text;
}

namespace {

class HotKeyState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Set(HWND hwnd, BYTE vk, BYTE modifiers, bool notify);
  void KeyDown(HWND hwnd, UINT vk, LPARAM lParam);
  void Paint(HWND hwnd, HDC hdc);
  BYTE HeldModifiers() const;

  HFONT font_ = nullptr;
  BYTE vk_ = 0, modifiers_ = 0;
  WORD invalid_ = 0, replacement_ = 0;
};

BYTE HotKeyState::HeldModifiers() const {
  BYTE m = 0;
  if (GetKeyState(VK_SHIFT) < 0) m |= HOTKEYF_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) m |= HOTKEYF_CONTROL;
  if (GetKeyState(VK_MENU) < 0) m |= HOTKEYF_ALT;
  return m;
}

void HotKeyState::Set(HWND hwnd, BYTE vk, BYTE modifiers, bool notify) {
  if (vk != 0 && (invalid_ & CombinationOf(modifiers)))
    modifiers = static_cast<BYTE>((modifiers & HOTKEYF_EXT) | (replacement_ & ~HOTKEYF_EXT));
  bool changed = vk != vk_ || modifiers != modifiers_;
  vk_ = vk;
  modifiers_ = modifiers;
  InvalidateRect(hwnd, nullptr, TRUE);
  if (changed && notify) NotifyParent(hwnd, EN_CHANGE);
}

void HotKeyState::KeyDown(HWND hwnd, UINT vk, LPARAM lParam) {
  BYTE held = HeldModifiers();
  if ((vk == VK_BACK || vk == VK_DELETE) && held == 0) {
    Set(hwnd, 0, 0, true);
    return;
  }
  if (IsModifier(vk)) {  // only modifiers so far: show them without a key
    vk_ = 0;
    modifiers_ = held;
    InvalidateRect(hwnd, nullptr, TRUE);
    return;
  }
  if (lParam & (1 << 24)) held |= HOTKEYF_EXT;
  Set(hwnd, static_cast<BYTE>(vk), held, true);
}

void HotKeyState::Paint(HWND hwnd, HDC hdc) {
  RECT r;
  GetClientRect(hwnd, &r);
  FillRect(hdc, &r, GetSysColorBrush(Enabled(hwnd) ? COLOR_WINDOW : COLOR_3DFACE));
  FontSelection font(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(Enabled(hwnd) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  std::string text = HotKeyText(vk_, modifiers_);
  RECT area = r;
  area.left += 2;
  DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (GetFocus() == hwnd) {
    SIZE extent{};
    GetTextExtentPoint32(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
    SetCaretPos(area.left + extent.cx, (r.bottom - extent.cy) / 2);
  }
}

LRESULT HotKeyState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT common;
  if (HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common)) return common;
  switch (msg) {
    case HKM_SETHOTKEY:
      Set(hwnd, LOBYTE(LOWORD(wParam)), HIBYTE(LOWORD(wParam)), false);
      return 0;
    case HKM_GETHOTKEY:
      return MAKEWORD(vk_, modifiers_);
    case HKM_SETRULES:
      invalid_ = static_cast<WORD>(wParam);
      replacement_ = LOWORD(lParam);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      KeyDown(hwnd, static_cast<UINT>(wParam), lParam);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // Letting go of lone modifiers leaves nothing chosen.
      if (vk_ == 0 && IsModifier(static_cast<UINT>(wParam))) {
        modifiers_ = HeldModifiers();
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      CreateCaret(hwnd, nullptr, 1, LineHeight(font_));
      ShowCaret(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_KILLFOCUS:
      DestroyCaret();
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterHotKeyClass() {
  RegisterControlClass(HOTKEY_CLASS, ControlProc<HotKeyState>, 0, IDC_IBEAM, COLOR_WINDOW);
}

}  // namespace brambolt::ctl
