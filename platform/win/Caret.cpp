// Carets: creation with a width and height, a bitmap or the grey pattern, show/hide counts,
// position, blinking on a timer, and XOR drawing.
#include "win/Caret.h"

#include <atomic>

#include "gdi/Bitmaps.h"
#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Timers.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

constexpr UINT_PTR kBlinkTimer = 0xFFFC;

struct Caret {
  HWND hwnd = nullptr;
  HBITMAP bitmap = nullptr;
  bool grey = false;
  int width = 0;
  int height = 0;
  POINT pos{};
  int hideCount = 0;
  bool drawn = false;
  int paintHidden = 0;
};

thread_local Caret t_caret;
std::atomic<UINT> g_blinkTime{530};

void Toggle() {
  Caret& c = t_caret;
  if (!IsWindow(c.hwnd)) return;
  HDC hdc = GetDC(c.hwnd);
  if (hdc == nullptr) return;
  if (c.bitmap && !c.grey) {
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, c.bitmap);
    BitBlt(hdc, c.pos.x, c.pos.y, c.width, c.height, mem, 0, 0, SRCINVERT);
    SelectObject(mem, old);
    DeleteDC(mem);
  } else if (c.grey) {
    HBRUSH brush = CreateSolidBrush(RGB(128, 128, 128));
    HGDIOBJ old = SelectObject(hdc, brush);
    PatBlt(hdc, c.pos.x, c.pos.y, c.width, c.height, PATINVERT);
    SelectObject(hdc, old);
    DeleteObject(brush);
  } else {
    PatBlt(hdc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
  }
  ReleaseDC(c.hwnd, hdc);
  c.drawn = !c.drawn;
}

void Erase() {
  if (t_caret.drawn) Toggle();
}

bool Visible() { return t_caret.hwnd && t_caret.hideCount == 0 && t_caret.paintHidden == 0; }

void CALLBACK Blink(HWND, UINT, UINT_PTR, DWORD) {
  if (Visible()) Toggle();
}

void Restart() {
  Caret& c = t_caret;
  if (!Visible()) return;
  if (!c.drawn) Toggle();
  SetSystemTimer(c.hwnd, kBlinkTimer, g_blinkTime.load(), Blink);
}

}  // namespace

void HideCaretForPaint(HWND hwnd) {
  if (t_caret.hwnd != hwnd || hwnd == nullptr) return;
  Erase();
  t_caret.paintHidden++;
}

void ShowCaretAfterPaint(HWND hwnd) {
  if (t_caret.hwnd != hwnd || hwnd == nullptr || t_caret.paintHidden == 0) return;
  if (--t_caret.paintHidden == 0) Restart();
}

void CaretWindowDying(HWND hwnd) {
  if (t_caret.hwnd == hwnd && hwnd != nullptr) t_caret = Caret{};
}

}  // namespace brambolt::wm

namespace brambolt {
bool IsCaretDrawn() { return wm::t_caret.drawn; }
}  // namespace brambolt

using namespace brambolt;
using namespace brambolt::wm;

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
  if (!IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != ThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DestroyCaret();
  Caret& c = t_caret;
  c.hwnd = hwnd;
  c.grey = bitmap == reinterpret_cast<HBITMAP>(1);
  c.bitmap = c.grey ? nullptr : bitmap;
  if (c.bitmap) {
    BITMAP bm{};
    GetObject(c.bitmap, sizeof(bm), &bm);
    c.width = bm.bmWidth;
    c.height = bm.bmHeight;
  } else {
    c.width = width ? width : GetSystemMetrics(SM_CXBORDER);
    c.height = height ? height : GetSystemMetrics(SM_CYBORDER);
  }
  c.hideCount = 1;
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& c = t_caret;
  if (c.hwnd == nullptr) return FALSE;
  Erase();
  if (IsWindow(c.hwnd)) KillSystemTimer(c.hwnd, kBlinkTimer);
  c = Caret{};
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  Caret& c = t_caret;
  if (c.hwnd == nullptr || (hwnd != nullptr && hwnd != c.hwnd)) return FALSE;
  if (c.hideCount > 0 && --c.hideCount == 0) Restart();
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  Caret& c = t_caret;
  if (c.hwnd == nullptr || (hwnd != nullptr && hwnd != c.hwnd)) return FALSE;
  if (c.hideCount++ == 0) {
    Erase();
    if (IsWindow(c.hwnd)) KillSystemTimer(c.hwnd, kBlinkTimer);
  }
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& c = t_caret;
  if (c.hwnd == nullptr) return FALSE;
  if (c.pos.x == x && c.pos.y == y) return TRUE;
  Erase();
  c.pos = POINT{x, y};
  Restart();
  return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
  if (point == nullptr) return FALSE;
  *point = t_caret.pos;
  return t_caret.hwnd != nullptr;
}

UINT GetCaretBlinkTime() { return g_blinkTime.load(); }

BOOL SetCaretBlinkTime(UINT ms) {
  g_blinkTime.store(ms);
  if (Visible()) SetSystemTimer(t_caret.hwnd, kBlinkTimer, ms, Blink);
  return TRUE;
}
