// System services of the window manager: the bell, flashing windows, and SystemParametersInfo
// with the classic settings.
#include <cstring>

#include "gdi/SysColors.h"
#include "win/Backend.h"
#include "win/NonClient.h"
#include "win/WinSystem.h"
#include "win/WindowManager.h"

namespace brambolt {

LOGFONT NonClientFont(int which) {
  LOGFONT lf{};
  lf.lfHeight = -11;  // 8 points at 96 dots per inch
  lf.lfWeight = which == kCaptionFont || which == kSmallCaptionFont ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  return lf;
}

}  // namespace brambolt

namespace brambolt::wm {
namespace {

// Flashing happens on the window's own thread, whoever asks for it.
UINT FlashMessage() {
  static UINT msg = RegisterWindowMessage("Brambolt.FlashWindow");
  return msg;
}

bool FlashHere(HWND hwnd, bool on) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  bool was;
  {
    Guard g(Lock());
    Window* w = Get(top);
    if (w == nullptr) return false;
    was = w->activeCaption;
  }
  GetBackend().Flash(top, on);
  SendMessage(top, WM_NCACTIVATE, on ? !was : (GetActiveWindow() == top), 0);
  return was;
}

}  // namespace

bool HandleFlashMessage(HWND hwnd, UINT msg, WPARAM wParam) {
  if (msg != FlashMessage()) return false;
  FlashHere(hwnd, wParam != 0);
  return true;
}

}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt;
using namespace brambolt::wm;

BOOL MessageBeep(UINT type) {
  GetBackend().Bell(type);
  return TRUE;
}

BOOL FlashWindow(HWND hwnd, BOOL invert) {
  if (!IsWindow(hwnd)) return FALSE;
  if (GetWindowThreadProcessId(hwnd, nullptr) != ThreadId()) {
    SendNotifyMessage(hwnd, FlashMessage(), invert, 0);
    return FALSE;
  }
  return FlashHere(hwnd, invert != FALSE) ? TRUE : FALSE;
}

BOOL FlashWindowEx(PFLASHWINFO info) {
  if (info == nullptr || info->cbSize != sizeof(FLASHWINFO) || !IsWindow(info->hwnd)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return FlashWindow(info->hwnd, info->dwFlags != FLASHW_STOP);
}

BOOL SystemParametersInfo(UINT action, UINT param, PVOID data, UINT winIni) {
  (void)param;
  auto setBool = [&](BOOL v) {
    if (data == nullptr) return FALSE;
    *static_cast<BOOL*>(data) = v;
    return TRUE;
  };
  auto setUint = [&](UINT v) {
    if (data == nullptr) return FALSE;
    *static_cast<UINT*>(data) = v;
    return TRUE;
  };
  BOOL ok = FALSE;
  switch (action) {
    case SPI_GETWORKAREA:
      if (data == nullptr) return FALSE;
      GetWorkArea(static_cast<RECT*>(data));
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICS*>(data);
      if (m == nullptr || m->cbSize != sizeof(NONCLIENTMETRICS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      m->iBorderWidth = 1;
      m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      m->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
      m->lfCaptionFont = NonClientFont(kCaptionFont);
      m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
      m->lfSmCaptionFont = NonClientFont(kSmallCaptionFont);
      m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      m->lfMenuFont = NonClientFont(kMenuFont);
      m->lfStatusFont = NonClientFont(kStatusFont);
      m->lfMessageFont = NonClientFont(kMessageFont);
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      if (data == nullptr) return FALSE;
      *static_cast<LOGFONT*>(data) = NonClientFont(kMessageFont);
      return TRUE;
    case SPI_GETICONMETRICS: {
      auto* m = static_cast<ICONMETRICS*>(data);
      if (m == nullptr || m->cbSize != sizeof(ICONMETRICS)) return FALSE;
      m->iHorzSpacing = GetSystemMetrics(SM_CXICONSPACING);
      m->iVertSpacing = GetSystemMetrics(SM_CYICONSPACING);
      m->iTitleWrap = TRUE;
      m->lfFont = NonClientFont(kMessageFont);
      return TRUE;
    }
    case SPI_GETANIMATION: {
      auto* a = static_cast<ANIMATIONINFO*>(data);
      if (a == nullptr || a->cbSize != sizeof(ANIMATIONINFO)) return FALSE;
      a->iMinAnimate = 0;
      return TRUE;
    }
    case SPI_GETHIGHCONTRAST: {
      auto* h = static_cast<HIGHCONTRAST*>(data);
      if (h == nullptr) return FALSE;
      h->dwFlags = 0;
      h->lpszDefaultScheme = nullptr;
      return TRUE;
    }
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETBEEP:
    case SPI_GETKEYBOARDCUES:
    case SPI_GETICONTITLEWRAP:
      return setBool(TRUE);
    case SPI_GETFLATMENU:
    case SPI_GETMENUANIMATION:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETHOTTRACKING:
    case SPI_GETMENUFADE:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETCURSORSHADOW:
    case SPI_GETDROPSHADOW:
    case SPI_GETUIEFFECTS:
    case SPI_GETSCREENREADER:
    case SPI_GETSHOWSOUNDS:
    case SPI_GETSNAPTODEFBUTTON:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETKEYBOARDPREF:
    case SPI_GETACTIVEWINDOWTRACKING:
    case SPI_GETSCREENSAVEACTIVE:
    case SPI_GETSHOWIMEUI:
    case SPI_GETMENUDROPALIGNMENT:
      return setBool(FALSE);
    case SPI_GETWHEELSCROLLLINES: return setUint(3);
    case SPI_GETMENUSHOWDELAY: return setUint(400);
    case SPI_GETMOUSEHOVERTIME: return setUint(400);
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT: return setUint(4);
    case SPI_GETKEYBOARDDELAY: return setUint(1);
    case SPI_GETKEYBOARDSPEED: return setUint(31);
    case SPI_GETBORDER: return setUint(1);
    case SPI_GETFOCUSBORDERWIDTH:
    case SPI_GETFOCUSBORDERHEIGHT:
    case SPI_GETCARETWIDTH: return setUint(1);
    case SPI_GETSCREENSAVETIMEOUT: return setUint(0);
    case SPI_ICONHORIZONTALSPACING: return setUint(static_cast<UINT>(GetSystemMetrics(SM_CXICONSPACING)));
    case SPI_ICONVERTICALSPACING: return setUint(static_cast<UINT>(GetSystemMetrics(SM_CYICONSPACING)));
    case SPI_GETMOUSE:
      if (data == nullptr) return FALSE;
      static_cast<int*>(data)[0] = 6;
      static_cast<int*>(data)[1] = 10;
      static_cast<int*>(data)[2] = 1;
      return TRUE;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      ok = FALSE;
  }
  if (ok && (winIni & SPIF_SENDCHANGE)) SendMessage(HWND_BROADCAST, WM_SETTINGCHANGE, action, 0);
  return ok;
}
