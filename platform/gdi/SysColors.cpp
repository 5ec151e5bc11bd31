// The classic colour scheme, system colour brushes and the metric table.
#include "gdi/SysColors.h"

#include <mutex>

#include "gdi/GdiInternal.h"

namespace brambolt {
namespace {

constexpr int kColorCount = 31;

constexpr COLORREF kClassic[kColorCount] = {
    RGB(192, 192, 192),  // SCROLLBAR
    RGB(0, 128, 128),    // BACKGROUND
    RGB(0, 0, 128),      // ACTIVECAPTION
    RGB(128, 128, 128),  // INACTIVECAPTION
    RGB(192, 192, 192),  // MENU
    RGB(255, 255, 255),  // WINDOW
    RGB(0, 0, 0),        // WINDOWFRAME
    RGB(0, 0, 0),        // MENUTEXT
    RGB(0, 0, 0),        // WINDOWTEXT
    RGB(255, 255, 255),  // CAPTIONTEXT
    RGB(192, 192, 192),  // ACTIVEBORDER
    RGB(192, 192, 192),  // INACTIVEBORDER
    RGB(128, 128, 128),  // APPWORKSPACE
    RGB(0, 0, 128),      // HIGHLIGHT
    RGB(255, 255, 255),  // HIGHLIGHTTEXT
    RGB(192, 192, 192),  // BTNFACE
    RGB(128, 128, 128),  // BTNSHADOW
    RGB(128, 128, 128),  // GRAYTEXT
    RGB(0, 0, 0),        // BTNTEXT
    RGB(192, 192, 192),  // INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // BTNHIGHLIGHT
    RGB(0, 0, 0),        // 3DDKSHADOW
    RGB(192, 192, 192),  // 3DLIGHT
    RGB(0, 0, 0),        // INFOTEXT
    RGB(255, 255, 225),  // INFOBK
    RGB(180, 180, 180),  // (unused)
    RGB(0, 0, 255),      // HOTLIGHT
    RGB(16, 132, 208),   // GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // GRADIENTINACTIVECAPTION
    RGB(0, 0, 128),      // MENUHILIGHT
    RGB(192, 192, 192),  // MENUBAR
};

struct Scheme {
  std::mutex mutex;
  COLORREF colors[kColorCount];
  HBRUSH brushes[kColorCount] = {};
  int screenWidth = 1024, screenHeight = 768;
  Scheme() { std::copy(std::begin(kClassic), std::end(kClassic), colors); }
};

Scheme& TheScheme() {
  static auto* scheme = new Scheme;  // never destroyed: threads may still draw at exit
  return *scheme;
}

}  // namespace

void ResetSysColors() {
  Scheme& s = TheScheme();
  std::lock_guard lock(s.mutex);
  std::copy(std::begin(kClassic), std::end(kClassic), s.colors);
}

void SetScreenSize(int width, int height) {
  Scheme& s = TheScheme();
  std::lock_guard lock(s.mutex);
  s.screenWidth = width;
  s.screenHeight = height;
}

SIZE GetScreenSize() {
  Scheme& s = TheScheme();
  std::lock_guard lock(s.mutex);
  return SIZE{s.screenWidth, s.screenHeight};
}

}  // namespace brambolt

using namespace brambolt;

DWORD GetSysColor(int index) {
  if (index < 0 || index >= kColorCount) return 0;
  Scheme& s = TheScheme();
  std::lock_guard lock(s.mutex);
  return s.colors[index];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kColorCount) return nullptr;
  Scheme& s = TheScheme();
  std::lock_guard lock(s.mutex);
  if (!s.brushes[index]) {
    auto b = std::make_shared<gdi::BrushObject>();
    b->style = BS_SOLID;
    b->sysColor = index;
    b->stock = true;
    s.brushes[index] = static_cast<HBRUSH>(gdi::Register(b));
  }
  return s.brushes[index];
}

BOOL SetSysColors(int count, const INT* indices, const COLORREF* colors) {
  if (count < 0 || (count > 0 && (!indices || !colors))) return FALSE;
  Scheme& s = TheScheme();
  std::lock_guard lock(s.mutex);
  for (int i = 0; i < count; ++i)
    if (indices[i] >= 0 && indices[i] < kColorCount) s.colors[indices[i]] = colors[i] & 0x00FFFFFF;
  return TRUE;
}

int GetSystemMetrics(int index) {
  SIZE screen = GetScreenSize();
  switch (index) {
    case SM_CXSCREEN: case SM_CXFULLSCREEN: case SM_CXVIRTUALSCREEN: return screen.cx;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return screen.cy;
    case SM_CYFULLSCREEN: return screen.cy - 19;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 16;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: case SM_CYMENU: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_MOUSEPRESENT: case SM_MOUSEWHEELPRESENT: case SM_CMONITORS: case SM_SAMEDISPLAYFORMAT: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXMIN: case SM_CXMINTRACK: return 112;
    case SM_CYMIN: case SM_CYMINTRACK: return 27;
    case SM_CXSIZE: case SM_CYSIZE: case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXMINSPACING: case SM_CXMINIMIZED: return 160;
    case SM_CYMINSPACING: case SM_CYMINIMIZED: return 24;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE: return 12;
    case SM_CYSMSIZE: return 14;
    case SM_CXMAXTRACK: return screen.cx + 12;
    case SM_CYMAXTRACK: return screen.cy + 12;
    case SM_CXMAXIMIZED: return screen.cx + 8;
    case SM_CYMAXIMIZED: return screen.cy + 8;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_CXFOCUSBORDER: case SM_CYFOCUSBORDER: return 1;
    case SM_ARRANGE: return 8;  // ARW_HIDE
    case SM_DBCSENABLED: return IsDBCSCodePage() ? 1 : 0;
    default: return 0;
  }
}
