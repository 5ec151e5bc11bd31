// System services of the window manager: the bell, flashing windows, and SystemParametersInfo
// with the classic settings, which a program may change for its own process.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>

#include "gdi/SysColors.h"
#include "win/Backend.h"
#include "win/NonClient.h"
#include "win/WinSystem.h"
#include "win/WindowManager.h"

namespace brambolt {
namespace {

LOGFONT ClassicFont(int which) {
  LOGFONT lf{};
  lf.lfHeight = -11;  // 8 points at 96 dots per inch
  lf.lfWeight = which == kCaptionFont || which == kSmallCaptionFont ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  return lf;
}

NONCLIENTMETRICS ClassicNonClientMetrics() {
  NONCLIENTMETRICS m{};
  m.cbSize = sizeof(m);
  m.iBorderWidth = 1;
  m.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  m.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  m.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
  m.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
  m.lfCaptionFont = ClassicFont(kCaptionFont);
  m.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
  m.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
  m.lfSmCaptionFont = ClassicFont(kSmallCaptionFont);
  m.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
  m.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
  m.lfMenuFont = ClassicFont(kMenuFont);
  m.lfStatusFont = ClassicFont(kStatusFont);
  m.lfMessageFont = ClassicFont(kMessageFont);
  return m;
}

// A parameter that is one number: read into a BOOL or UINT buffer, set from uiParam or, for the
// later actions, from the pointer argument itself.
struct Scalar {
  UINT get, set;
  UINT classic;
  bool boolean;
  bool inPointer;
};

const Scalar kScalars[] = {
    {SPI_GETBEEP, SPI_SETBEEP, TRUE, true, false},
    {SPI_GETBORDER, SPI_SETBORDER, 1, false, false},
    {SPI_GETKEYBOARDSPEED, SPI_SETKEYBOARDSPEED, 31, false, false},
    {SPI_GETSCREENSAVETIMEOUT, SPI_SETSCREENSAVETIMEOUT, 0, false, false},
    {SPI_GETSCREENSAVEACTIVE, SPI_SETSCREENSAVEACTIVE, FALSE, true, false},
    {SPI_GETKEYBOARDDELAY, SPI_SETKEYBOARDDELAY, 1, false, false},
    {SPI_ICONHORIZONTALSPACING, SPI_ICONHORIZONTALSPACING, 75, false, false},
    {SPI_ICONVERTICALSPACING, SPI_ICONVERTICALSPACING, 75, false, false},
    {SPI_GETICONTITLEWRAP, SPI_SETICONTITLEWRAP, TRUE, true, false},
    {SPI_GETMENUDROPALIGNMENT, SPI_SETMENUDROPALIGNMENT, FALSE, true, false},
    {SPI_GETDRAGFULLWINDOWS, SPI_SETDRAGFULLWINDOWS, TRUE, true, false},
    {SPI_GETSHOWSOUNDS, SPI_SETSHOWSOUNDS, FALSE, true, false},
    {SPI_GETKEYBOARDPREF, SPI_SETKEYBOARDPREF, FALSE, true, false},
    {SPI_GETSCREENREADER, SPI_SETSCREENREADER, FALSE, true, false},
    {SPI_GETFONTSMOOTHING, SPI_SETFONTSMOOTHING, FALSE, true, false},
    {SPI_GETSNAPTODEFBUTTON, SPI_SETSNAPTODEFBUTTON, FALSE, true, false},
    {SPI_GETMOUSEHOVERWIDTH, SPI_SETMOUSEHOVERWIDTH, 4, false, false},
    {SPI_GETMOUSEHOVERHEIGHT, SPI_SETMOUSEHOVERHEIGHT, 4, false, false},
    {SPI_GETMOUSEHOVERTIME, SPI_SETMOUSEHOVERTIME, 400, false, false},
    {SPI_GETWHEELSCROLLLINES, SPI_SETWHEELSCROLLLINES, 3, false, false},
    {SPI_GETMENUSHOWDELAY, SPI_SETMENUSHOWDELAY, 400, false, false},
    {SPI_GETSHOWIMEUI, SPI_SETSHOWIMEUI, FALSE, true, false},
    {SPI_GETACTIVEWINDOWTRACKING, SPI_SETACTIVEWINDOWTRACKING, FALSE, true, true},
    {SPI_GETMENUANIMATION, SPI_SETMENUANIMATION, FALSE, true, true},
    {SPI_GETCOMBOBOXANIMATION, SPI_SETCOMBOBOXANIMATION, FALSE, true, true},
    {SPI_GETLISTBOXSMOOTHSCROLLING, SPI_SETLISTBOXSMOOTHSCROLLING, FALSE, true, true},
    {SPI_GETGRADIENTCAPTIONS, SPI_SETGRADIENTCAPTIONS, FALSE, true, true},
    {SPI_GETKEYBOARDCUES, SPI_SETKEYBOARDCUES, TRUE, true, true},
    {SPI_GETHOTTRACKING, SPI_SETHOTTRACKING, FALSE, true, true},
    {SPI_GETMENUFADE, SPI_SETMENUFADE, FALSE, true, true},
    {SPI_GETSELECTIONFADE, SPI_SETSELECTIONFADE, FALSE, true, true},
    {SPI_GETTOOLTIPANIMATION, SPI_SETTOOLTIPANIMATION, FALSE, true, true},
    {SPI_GETTOOLTIPFADE, SPI_SETTOOLTIPFADE, FALSE, true, true},
    {SPI_GETCURSORSHADOW, SPI_SETCURSORSHADOW, FALSE, true, true},
    {SPI_GETFLATMENU, SPI_SETFLATMENU, FALSE, true, true},
    {SPI_GETDROPSHADOW, SPI_SETDROPSHADOW, FALSE, true, true},
    {SPI_GETUIEFFECTS, SPI_SETUIEFFECTS, FALSE, true, true},
    {SPI_GETCARETWIDTH, SPI_SETCARETWIDTH, 1, false, true},
    {SPI_GETFOCUSBORDERWIDTH, SPI_SETFOCUSBORDERWIDTH, 1, false, true},
    {SPI_GETFOCUSBORDERHEIGHT, SPI_SETFOCUSBORDERHEIGHT, 1, false, true},
};

const Scalar* ScalarBy(UINT action, UINT Scalar::*which) {
  auto it = std::find_if(std::begin(kScalars), std::end(kScalars),
                         [&](const Scalar& k) { return k.*which == action; });
  return it == std::end(kScalars) ? nullptr : it;
}

// What the program set, for the whole process; whatever it did not set has its classic value.
struct Parameters {
  std::map<UINT, UINT> scalars;  // by GET action
  std::optional<RECT> workArea;
  std::optional<NONCLIENTMETRICS> nonClient;
  std::optional<LOGFONT> iconFont;
  int minAnimate = 0;
  DWORD highContrast = 0;
  int mouse[3] = {6, 10, 1};
};

std::mutex& ParametersMutex() {
  static std::mutex mutex;
  return mutex;
}

Parameters& TheParameters() {
  static Parameters parameters;
  return parameters;
}

UINT ScalarValue(UINT get) {
  std::lock_guard lock(ParametersMutex());
  auto& set = TheParameters().scalars;
  auto it = set.find(get);
  return it != set.end() ? it->second : ScalarBy(get, &Scalar::get)->classic;
}

LOGFONT IconTitleFont() {
  std::lock_guard lock(ParametersMutex());
  const auto& font = TheParameters().iconFont;
  return font ? *font : ClassicFont(kMessageFont);
}

}  // namespace

LOGFONT NonClientFont(int which) {
  std::lock_guard lock(ParametersMutex());
  const auto& m = TheParameters().nonClient;
  if (!m) return ClassicFont(which);
  switch (which) {
    case kCaptionFont: return m->lfCaptionFont;
    case kSmallCaptionFont: return m->lfSmCaptionFont;
    case kMenuFont: return m->lfMenuFont;
    case kStatusFont: return m->lfStatusFont;
    default: return m->lfMessageFont;
  }
}

void ResetSystemParameters() {
  {
    std::lock_guard lock(ParametersMutex());
    TheParameters() = Parameters{};
  }
  SetDoubleClickTime(0);
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

void GetWorkArea(RECT* rect) {
  SIZE s = GetScreenSize();
  RECT screen{0, 0, s.cx, s.cy};
  std::optional<RECT> set;
  {
    std::lock_guard lock(ParametersMutex());
    set = TheParameters().workArea;
  }
  // A work area set for a larger screen is cut to the screen there is now.
  if (!set || !IntersectRect(rect, &*set, &screen)) *rect = screen;
}

bool HandleFlashMessage(HWND hwnd, UINT msg, WPARAM wParam) {
  if (msg != FlashMessage()) return false;
  FlashHere(hwnd, wParam != 0);
  return true;
}

}  // namespace brambolt::wm

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
  Parameters& p = TheParameters();
  std::unique_lock lock(ParametersMutex(), std::defer_lock);
  BOOL ok = FALSE;
  switch (action) {
    case SPI_GETWORKAREA:
      if (data == nullptr) return FALSE;
      GetWorkArea(static_cast<RECT*>(data));
      return TRUE;
    case SPI_SETWORKAREA: {
      auto* r = static_cast<const RECT*>(data);
      if (r == nullptr || r->left >= r->right || r->top >= r->bottom) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      lock.lock();
      p.workArea = *r;
      ok = TRUE;
      break;
    }
    case SPI_GETNONCLIENTMETRICS:
    case SPI_SETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICS*>(data);
      if (m == nullptr || m->cbSize != sizeof(NONCLIENTMETRICS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      lock.lock();
      if (action == SPI_GETNONCLIENTMETRICS) {
        std::optional<NONCLIENTMETRICS> set = p.nonClient;
        lock.unlock();  // the classic values ask the drawing layer
        *m = set ? *set : ClassicNonClientMetrics();
        return TRUE;
      }
      p.nonClient = *m;
      ok = TRUE;
      break;
    }
    case SPI_GETICONTITLELOGFONT:
      if (data == nullptr) return FALSE;
      *static_cast<LOGFONT*>(data) = IconTitleFont();
      return TRUE;
    case SPI_SETICONTITLELOGFONT:
      if (data == nullptr || param != sizeof(LOGFONT)) return FALSE;
      lock.lock();
      p.iconFont = *static_cast<const LOGFONT*>(data);
      ok = TRUE;
      break;
    case SPI_GETICONMETRICS:
    case SPI_SETICONMETRICS: {
      auto* m = static_cast<ICONMETRICS*>(data);
      if (m == nullptr || m->cbSize != sizeof(ICONMETRICS)) return FALSE;
      if (action == SPI_GETICONMETRICS) {
        m->iHorzSpacing = static_cast<int>(ScalarValue(SPI_ICONHORIZONTALSPACING));
        m->iVertSpacing = static_cast<int>(ScalarValue(SPI_ICONVERTICALSPACING));
        m->iTitleWrap = ScalarValue(SPI_GETICONTITLEWRAP) != 0;
        m->lfFont = IconTitleFont();
        return TRUE;
      }
      lock.lock();
      p.scalars[SPI_ICONHORIZONTALSPACING] = static_cast<UINT>(m->iHorzSpacing);
      p.scalars[SPI_ICONVERTICALSPACING] = static_cast<UINT>(m->iVertSpacing);
      p.scalars[SPI_GETICONTITLEWRAP] = m->iTitleWrap != 0;
      p.iconFont = m->lfFont;
      ok = TRUE;
      break;
    }
    case SPI_ICONHORIZONTALSPACING:
    case SPI_ICONVERTICALSPACING:
      // One action for both directions: without a buffer it sets the spacing to `param`.
      if (data != nullptr) {
        *static_cast<int*>(data) = static_cast<int>(ScalarValue(action));
        return TRUE;
      }
      lock.lock();
      p.scalars[action] = param;
      ok = TRUE;
      break;
    case SPI_GETANIMATION:
    case SPI_SETANIMATION: {
      auto* a = static_cast<ANIMATIONINFO*>(data);
      if (a == nullptr || a->cbSize != sizeof(ANIMATIONINFO)) return FALSE;
      lock.lock();
      if (action == SPI_GETANIMATION) {
        a->iMinAnimate = p.minAnimate;
        return TRUE;
      }
      p.minAnimate = a->iMinAnimate != 0;
      ok = TRUE;
      break;
    }
    case SPI_GETHIGHCONTRAST:
    case SPI_SETHIGHCONTRAST: {
      // Only the flags are kept: there are no named colour schemes to switch to.
      auto* h = static_cast<HIGHCONTRAST*>(data);
      if (h == nullptr) return FALSE;
      lock.lock();
      if (action == SPI_GETHIGHCONTRAST) {
        h->dwFlags = p.highContrast;
        h->lpszDefaultScheme = nullptr;
        return TRUE;
      }
      p.highContrast = h->dwFlags;
      ok = TRUE;
      break;
    }
    case SPI_GETMOUSE:
    case SPI_SETMOUSE: {
      if (data == nullptr) return FALSE;
      int* values = static_cast<int*>(data);
      lock.lock();
      if (action == SPI_GETMOUSE) {
        std::copy(std::begin(p.mouse), std::end(p.mouse), values);
        return TRUE;
      }
      std::copy(values, values + 3, p.mouse);
      ok = TRUE;
      break;
    }
    case SPI_SETDOUBLECLICKTIME:
      ok = SetDoubleClickTime(param);
      break;
    default:
      if (const Scalar* k = ScalarBy(action, &Scalar::get)) {
        if (data == nullptr) return FALSE;
        UINT v = ScalarValue(action);
        if (k->boolean)
          *static_cast<BOOL*>(data) = v != 0;
        else
          *static_cast<UINT*>(data) = v;
        return TRUE;
      }
      if (const Scalar* k = ScalarBy(action, &Scalar::set)) {
        UINT v = k->inPointer ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(data)) : param;
        lock.lock();
        p.scalars[k->get] = k->boolean ? v != 0 : v;
        ok = TRUE;
        break;
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  if (lock.owns_lock()) lock.unlock();
  if (ok && (winIni & SPIF_SENDCHANGE)) SendMessage(HWND_BROADCAST, WM_SETTINGCHANGE, action, 0);
  return ok;
}
