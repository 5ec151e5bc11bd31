// The X input method of the X11 backend: the server XMODIFIERS names (fcitx, IBus, uim ...),
// an input context per framed top-level window that follows the focus, its composition window
// placed where the program asks, and the text it commits typed as a composition.
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "backend/X11Backend.h"
#include "win/Imm.h"
#include "win/Input.h"
#include "win/WinUser.h"

// Xlib comes last: its macros must not meet the platform's headers.
#include "backend/X11BackendImpl.h"

namespace brambolt::x11 {
namespace {

// Whether XMODIFIERS names an input method server ("@im=fcitx"); Xlib's own local method, which
// only composes dead keys, is not one.
bool NamesInputMethodServer(const char* modifiers) {
  if (modifiers == nullptr) return false;
  const char* at = std::strstr(modifiers, "@im=");
  if (at == nullptr) return false;
  std::string name(at + 4, std::strcspn(at + 4, "@"));
  return !name.empty() && name != "none" && name != "local";
}

// Runs `work` with LC_CTYPE set to the user's locale (C.UTF-8 where that is not installed):
// Xlib takes an input method's and a font set's encoding from the locale current when they are
// made, and a server serves only the locales it lists, while the process keeps the C locale.
template <class Work>
auto InUserLocale(Work work) {
  std::string saved = std::setlocale(LC_CTYPE, nullptr);
  if (std::setlocale(LC_CTYPE, "") == nullptr || !XSupportsLocale()) std::setlocale(LC_CTYPE, "C.UTF-8");
  XSetLocaleModifiers("");
  auto result = work();
  std::setlocale(LC_CTYPE, saved.c_str());
  return result;
}

}  // namespace

void X11Backend::OpenInputMethod() {
  if (im_ != nullptr || !NamesInputMethodServer(std::getenv("XMODIFIERS"))) return;
  im_ = InUserLocale([this] { return XOpenIM(display_, nullptr, nullptr, nullptr); });
  if (im_ == nullptr) {
    // The server is not there yet: opened when it starts.
    if (!waitingForInputMethod_)
      waitingForInputMethod_ = InUserLocale([this] {
        return XRegisterIMInstantiateCallback(display_, nullptr, nullptr, nullptr, InputMethodStarted,
                                              reinterpret_cast<XPointer>(this)) != False;
      });
    return;
  }
  if (waitingForInputMethod_) {
    XUnregisterIMInstantiateCallback(display_, nullptr, nullptr, nullptr, InputMethodStarted,
                                     reinterpret_cast<XPointer>(this));
    waitingForInputMethod_ = false;
  }
  XIMCallback gone{reinterpret_cast<XPointer>(this), InputMethodGone};
  XSetIMValues(im_, XNDestroyCallback, &gone, nullptr);
  // Over the spot (the composition drawn where the program says) where the server offers it.
  const unsigned long preferred[] = {XIMPreeditPosition | XIMStatusNothing, XIMPreeditPosition | XIMStatusNone,
                                     XIMPreeditNothing | XIMStatusNothing, XIMPreeditNothing | XIMStatusNone,
                                     XIMPreeditNone | XIMStatusNone};
  inputStyle_ = 0;
  XIMStyles* styles = nullptr;
  if (XGetIMValues(im_, XNQueryInputStyle, &styles, nullptr) == nullptr && styles != nullptr) {
    for (unsigned long style : preferred) {
      for (unsigned i = 0; i < styles->count_styles && inputStyle_ == 0; ++i)
        if (styles->supported_styles[i] == style) inputStyle_ = style;
      if (inputStyle_ != 0) break;
    }
    XFree(styles);
  }
  if (inputStyle_ == 0) {
    XCloseIM(im_);
    im_ = nullptr;
    return;
  }
  inputMethodOpen_ = true;
  for (auto& [hwnd, w] : windows_)
    if (!w.overrideRedirect) CreateInputContext(w);
}

void X11Backend::CloseInputMethod() {
  if (waitingForInputMethod_)
    XUnregisterIMInstantiateCallback(display_, nullptr, nullptr, nullptr, InputMethodStarted,
                                     reinterpret_cast<XPointer>(this));
  waitingForInputMethod_ = false;
  for (auto& [hwnd, w] : windows_) DestroyInputContext(w);
  if (im_ != nullptr) XCloseIM(im_);
  im_ = nullptr;
  inputMethodOpen_ = false;
  for (auto& [key, fontSet] : fontSets_)
    if (fontSet != nullptr) XFreeFontSet(display_, fontSet);
  fontSets_.clear();
}

void X11Backend::InputMethodStarted(Display*, XPointer self, XPointer) {
  auto* backend = reinterpret_cast<X11Backend*>(self);
  backend->waitingForInputMethod_ = false;
  XUnregisterIMInstantiateCallback(backend->display_, nullptr, nullptr, nullptr, InputMethodStarted, self);
  backend->OpenInputMethod();
}

void X11Backend::InputMethodGone(XIM, XPointer self, XPointer) {
  // The server went away and took its input contexts with it; typing goes on without it until it
  // comes back.
  auto* backend = reinterpret_cast<X11Backend*>(self);
  backend->im_ = nullptr;
  backend->inputMethodOpen_ = false;
  backend->focusedIc_ = nullptr;
  for (auto& [hwnd, w] : backend->windows_) w.ic = nullptr;
  if (InjectedComposition()) InjectCompositionCommit("");
  backend->OpenInputMethod();
}

void X11Backend::CreateInputContext(XWin& w) {
  if (im_ == nullptr || w.ic != nullptr) return;
  if (inputStyle_ & XIMPreeditPosition) {
    if (w.fontSet == nullptr) w.fontSet = FontSet("", 16);
    XPoint spot{0, 0};
    XVaNestedList preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, XNFontSet, w.fontSet, nullptr);
    w.ic = XCreateIC(im_, XNInputStyle, inputStyle_, XNClientWindow, w.xid, XNFocusWindow, w.xid,
                     XNPreeditAttributes, preedit, nullptr);
    XFree(preedit);
  } else {
    w.ic = XCreateIC(im_, XNInputStyle, inputStyle_, XNClientWindow, w.xid, XNFocusWindow, w.xid, nullptr);
  }
  if (w.ic == nullptr) return;
  // The server may need events of its own on the window (key releases, for instance).
  unsigned long filtered = 0;
  XGetICValues(w.ic, XNFilterEvents, &filtered, nullptr);
  XSelectInput(display_, w.xid, kWindowEvents | static_cast<long>(filtered));
}

void X11Backend::DestroyInputContext(XWin& w) {
  if (w.ic == nullptr) return;
  if (focusedIc_ == w.ic) {
    focusedIc_ = nullptr;
    if (InjectedComposition()) InjectCompositionCommit("");
  }
  XDestroyIC(w.ic);
  w.ic = nullptr;
}

void X11Backend::SyncInputFocus() {
  if (im_ == nullptr) return;
  HWND focus = GetFocus();
  XWin* w = focus != nullptr ? Find(GetAncestor(focus, GA_ROOT)) : nullptr;
  XIC wanted = w != nullptr && w->ic != nullptr && TypesThroughInputMethod(focus) ? w->ic : nullptr;
  if (wanted == focusedIc_) return;
  // A composition does not follow the focus to another window.
  if (InjectedComposition()) InjectCompositionCommit("");
  if (focusedIc_ != nullptr) XUnsetICFocus(focusedIc_);
  focusedIc_ = wanted;
  if (wanted != nullptr) XSetICFocus(wanted);
}

bool X11Backend::FilteredByInputMethod(XEvent& e) {
  if (!XFilterEvent(&e, None)) return false;
  if (e.type == KeyPress && focusedIc_ != nullptr && !(e.xkey.state & (ControlMask | Mod1Mask)) &&
      KeysymToUnicode(XLookupKeysym(&e.xkey, 0)) != 0) {
    // A character key the server took may begin a composition: the program places the
    // composition window before the server shows what is being composed. Keys the server hands
    // back end it again.
    InjectCompositionStart();
  }
  return true;
}

bool X11Backend::OnCommit(XKeyEvent& e) {
  // The server delivers committed text as a key event of its own, without a key.
  if (e.keycode != 0) return false;
  XWin* w = Find(HandleOf(e.window));
  XIC ic = w != nullptr && w->ic != nullptr ? w->ic : focusedIc_;
  if (ic == nullptr) return true;
  std::string text(256, '\0');
  KeySym keysym = NoSymbol;
  Status status = 0;
  int n = Xutf8LookupString(ic, &e, text.data(), static_cast<int>(text.size()), &keysym, &status);
  if (status == XBufferOverflow) {
    text.resize(static_cast<size_t>(n) + 1);
    n = Xutf8LookupString(ic, &e, text.data(), static_cast<int>(text.size()), &keysym, &status);
  }
  if ((status == XLookupChars || status == XLookupBoth) && n > 0)
    InjectCompositionCommit(text.substr(0, static_cast<size_t>(n)));
  return true;
}

XFontSet X11Backend::FontSet(const std::string& face, int height) {
  if (height <= 0) height = 16;
  auto key = std::make_pair(face, height);
  if (auto it = fontSets_.find(key); it != fontSets_.end()) return it->second;
  std::string family;
  for (char c : face)
    if (std::isalnum(static_cast<unsigned char>(c)) || c == ' ') family += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string size = std::to_string(height);
  std::string names;
  if (!family.empty()) names += "-*-" + family + "-medium-r-normal--" + size + "-*-*-*-*-*-*-*,";
  names += "-*-*-medium-r-normal--" + size + "-*-*-*-*-*-*-*,-*-*-*-*-*--" + size + "-*-*-*-*-*-*-*,*";
  XFontSet fontSet = InUserLocale([&] {
    char** missing = nullptr;
    int count = 0;
    char* fallback = nullptr;
    XFontSet made = XCreateFontSet(display_, names.c_str(), &missing, &count, &fallback);
    if (missing != nullptr) XFreeStringList(missing);
    return made;
  });
  fontSets_[key] = fontSet;
  return fontSet;
}

void X11Backend::PlaceComposition(HWND topLevel, POINT spot, const RECT& area) {
  if (Elsewhere([=, this] { PlaceComposition(topLevel, spot, area); })) return;
  XWin* w = Find(topLevel);
  if (w == nullptr || w->ic == nullptr || !(inputStyle_ & XIMPreeditPosition)) return;
  // The spot is where the composition's baseline starts: the caret's top moved down by the
  // font's ascent.
  int ascent = 0;
  if (w->fontSet != nullptr)
    if (XFontSetExtents* extents = XExtentsOfFontSet(w->fontSet)) ascent = -extents->max_logical_extent.y;
  XPoint at{static_cast<short>(spot.x), static_cast<short>(spot.y + ascent)};
  XRectangle box{static_cast<short>(area.left), static_cast<short>(area.top),
                 static_cast<unsigned short>(std::max<LONG>(0, area.right - area.left)),
                 static_cast<unsigned short>(std::max<LONG>(0, area.bottom - area.top))};
  XVaNestedList preedit = box.width > 0 && box.height > 0
                              ? XVaCreateNestedList(0, XNSpotLocation, &at, XNArea, &box, nullptr)
                              : XVaCreateNestedList(0, XNSpotLocation, &at, nullptr);
  XSetICValues(w->ic, XNPreeditAttributes, preedit, nullptr);
  XFree(preedit);
  XFlush(display_);
}

void X11Backend::SetCompositionFont(HWND topLevel, const std::string& face, int height) {
  if (Elsewhere([=, this] { SetCompositionFont(topLevel, face, height); })) return;
  XWin* w = Find(topLevel);
  if (w == nullptr || w->ic == nullptr || !(inputStyle_ & XIMPreeditPosition)) return;
  XFontSet fontSet = FontSet(face, height);
  if (fontSet == nullptr || fontSet == w->fontSet) return;
  w->fontSet = fontSet;
  XVaNestedList preedit = XVaCreateNestedList(0, XNFontSet, fontSet, nullptr);
  XSetICValues(w->ic, XNPreeditAttributes, preedit, nullptr);
  XFree(preedit);
}

}  // namespace brambolt::x11
