// The input contexts: the thread defaults, the windows given another context or none, and what
// each context holds (open or closed, the composition window and font), passed on to the backend
// in the coordinates of the top-level window.
#include "win/Imm.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "win/Backend.h"
#include "win/WinErrors.h"

namespace {

// A window's own association is a window property, so it goes with the window.
constexpr char kAssociation[] = "BramboltInputContext";
// The property's value for "no context" (contexts are numbered from 16).
HANDLE const kNoContext = reinterpret_cast<HANDLE>(1);

struct Context {
  BOOL open = TRUE;
  COMPOSITIONFORM form{};
  LOGFONT font{};
  HWND window = nullptr;  // the window it was last taken for, whose coordinates forms use
};

struct Contexts {
  std::mutex mutex;
  std::map<std::uintptr_t, Context> byHandle;
  std::map<DWORD, HIMC> threadDefault;
  std::uintptr_t next = 16;
};

Contexts& State() {
  static Contexts* contexts = new Contexts;
  return *contexts;
}

HIMC ThreadDefault(Contexts& s, DWORD thread) {
  auto it = s.threadDefault.find(thread);
  if (it != s.threadDefault.end()) return it->second;
  HIMC context = reinterpret_cast<HIMC>(s.next++);
  s.byHandle[reinterpret_cast<std::uintptr_t>(context)] = Context{};
  s.threadDefault[thread] = context;
  return context;
}

// The context a window types through, without recording it as taken.
HIMC ContextOf(HWND hwnd) {
  if (!IsWindow(hwnd) || !brambolt::GetBackend().HasInputMethod()) return nullptr;
  HANDLE own = GetProp(hwnd, kAssociation);
  if (own == kNoContext) return nullptr;
  if (own != nullptr) return static_cast<HIMC>(own);
  Contexts& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return ThreadDefault(s, GetWindowThreadProcessId(hwnd, nullptr));
}

BOOL NoContext() {
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

// Runs `work` on the context under the lock, and tells the window it was last taken for; false
// when the handle is no context.
template <class Work>
bool WithContext(HIMC handle, Work work, HWND* window = nullptr) {
  Contexts& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  auto it = s.byHandle.find(reinterpret_cast<std::uintptr_t>(handle));
  if (handle == nullptr || it == s.byHandle.end()) return false;
  work(it->second);
  if (window != nullptr) *window = it->second.window;
  return true;
}

// A client point of `window` in the coordinates of its top-level window.
POINT InTopLevel(HWND window, HWND top, POINT client) {
  RECT box{};
  GetWindowRect(top, &box);
  ClientToScreen(window, &client);
  return POINT{client.x - box.left, client.y - box.top};
}

void PlaceComposition(HWND window, const COMPOSITIONFORM& form) {
  if (!IsWindow(window) || form.dwStyle == CFS_DEFAULT) return;
  HWND top = GetAncestor(window, GA_ROOT);
  POINT spot = InTopLevel(window, top, form.ptCurrentPos);
  RECT area{};
  if (form.dwStyle & CFS_RECT) {
    POINT from = InTopLevel(window, top, POINT{form.rcArea.left, form.rcArea.top});
    POINT to = InTopLevel(window, top, POINT{form.rcArea.right, form.rcArea.bottom});
    area = RECT{from.x, from.y, to.x, to.y};
  }
  brambolt::GetBackend().PlaceComposition(top, spot, area);
}

}  // namespace

HIMC ImmGetContext(HWND hwnd) {
  HIMC context = ContextOf(hwnd);
  WithContext(context, [hwnd](Context& c) { c.window = hwnd; });
  return context;
}

BOOL ImmReleaseContext(HWND, HIMC) { return TRUE; }

HIMC ImmAssociateContext(HWND hwnd, HIMC context) {
  if (!IsWindow(hwnd)) return nullptr;
  HIMC previous = ContextOf(hwnd);
  if (context != nullptr && !WithContext(context, [](Context&) {})) return previous;
  SetProp(hwnd, kAssociation, context != nullptr ? static_cast<HANDLE>(context) : kNoContext);
  return previous;
}

BOOL ImmSetCompositionWindow(HIMC context, LPCOMPOSITIONFORM form) {
  HWND window = nullptr;
  if (form == nullptr || !WithContext(context, [form](Context& c) { c.form = *form; }, &window)) return NoContext();
  PlaceComposition(window, *form);
  return TRUE;
}

BOOL ImmGetCompositionWindow(HIMC context, LPCOMPOSITIONFORM form) {
  if (form == nullptr) return NoContext();
  return WithContext(context, [form](Context& c) { *form = c.form; }) ? TRUE : NoContext();
}

BOOL ImmSetCompositionFont(HIMC context, LPLOGFONT font) {
  HWND window = nullptr;
  if (font == nullptr || !WithContext(context, [font](Context& c) { c.font = *font; }, &window)) return NoContext();
  if (IsWindow(window))
    brambolt::GetBackend().SetCompositionFont(GetAncestor(window, GA_ROOT), font->lfFaceName,
                                              std::abs(static_cast<int>(font->lfHeight)));
  return TRUE;
}

LONG ImmGetCompositionString(HIMC context, DWORD, LPVOID, DWORD) {
  if (!WithContext(context, [](Context&) {})) NoContext();
  return 0;
}

BOOL ImmGetOpenStatus(HIMC context) {
  BOOL open = FALSE;
  WithContext(context, [&open](Context& c) { open = c.open; });
  return open;
}

BOOL ImmSetOpenStatus(HIMC context, BOOL open) {
  return WithContext(context, [open](Context& c) { c.open = open ? TRUE : FALSE; }) ? TRUE : NoContext();
}

BOOL ImmNotifyIME(HIMC, DWORD, DWORD, DWORD) { return NoContext(); }

namespace brambolt {

bool TypesThroughInputMethod(HWND hwnd) { return ImmGetOpenStatus(ContextOf(hwnd)) != FALSE; }

}  // namespace brambolt
