// The in-process clipboard: formats and their memory handles, ownership, delayed rendering, the
// text formats made from one another, and the backend's bridge to a foreign clipboard.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Convert.h"
#include "base/GlobalMemory.h"
#include "gdi/Objects.h"
#include "win/Atoms.h"
#include "win/Backend.h"
#include "win/Input.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

struct Entry {
  UINT format;
  HANDLE data;
  bool synthesized;
  bool foreign = false;  // taken from another program's clipboard
  // Text in the code page made from Unicode text with characters the page lacks: those are left
  // out, and the program that takes the text is told by a beep, as when typing them.
  bool lossy = false;
};

struct Clipboard {
  std::recursive_mutex mutex;
  bool open = false;
  DWORD openThread = 0;
  HWND openWindow = nullptr;
  HWND owner = nullptr;
  bool changed = false;
  std::vector<Entry> entries;
};

Clipboard& Board() {
  static Clipboard* c = new Clipboard;
  return *c;
}

bool IsGdiFormat(UINT f) {
  return f == CF_BITMAP || f == CF_PALETTE || f == CF_ENHMETAFILE || f == CF_METAFILEPICT ||
         (f >= CF_GDIOBJFIRST && f <= CF_GDIOBJLAST);
}

void Release(const Entry& e) {
  if (e.data == nullptr) return;
  if (e.format == CF_BITMAP || e.format == CF_PALETTE || (e.format >= CF_GDIOBJFIRST && e.format <= CF_GDIOBJLAST))
    DeleteObject(e.data);
  else if (!IsGdiFormat(e.format))
    GlobalFree(e.data);
}

bool OpenedHere(Clipboard& c) { return c.open && c.openThread == ThreadId(); }

Entry* Find(Clipboard& c, UINT format) {
  for (Entry& e : c.entries)
    if (e.format == format) return &e;
  return nullptr;
}

bool IsText(UINT f) { return f == CF_TEXT || f == CF_OEMTEXT || f == CF_UNICODETEXT; }

// The bytes of a text block, bounded by the block's size when it lacks its terminator.
std::string ReadAnsi(HANDLE h) {
  SIZE_T size = GlobalSize(h);
  auto* p = static_cast<const char*>(GlobalLock(h));
  if (p == nullptr) return {};
  std::string s(p, strnlen(p, size));
  GlobalUnlock(h);
  return s;
}

std::u16string ReadWide(HANDLE h) {
  SIZE_T size = GlobalSize(h) / sizeof(char16_t);
  auto* p = static_cast<const char16_t*>(GlobalLock(h));
  if (p == nullptr) return {};
  size_t n = 0;
  while (n < size && p[n] != 0) ++n;
  std::u16string s(p, n);
  GlobalUnlock(h);
  return s;
}

HANDLE MakeBlock(const void* bytes, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (h == nullptr) return nullptr;
  void* p = GlobalLock(h);
  std::memcpy(p, bytes, size);
  GlobalUnlock(h);
  return h;
}

HANDLE AnsiToWide(const std::string& s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::u16string w(static_cast<size_t>(n) + 1, u'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return MakeBlock(w.data(), w.size() * sizeof(char16_t));
}

// UTF-16 text as Unicode characters.
std::u32string FromWide(const std::u16string& w) {
  return AnsiToUnicode(brambolt::WideToAnsi(std::u16string_view(w), CP_UTF8), CP_UTF8);
}

// Makes `format` from the text format present; null when there is none.
HANDLE Synthesize(Clipboard& c, UINT format, bool* lossy) {
  Entry* source = nullptr;
  for (UINT f : {CF_TEXT, CF_UNICODETEXT, CF_OEMTEXT})
    if (f != format)
      if (Entry* e = Find(c, f); e && e->data && !e->synthesized && !source) source = e;
  if (source == nullptr) return nullptr;
  if (format == CF_UNICODETEXT) {
    return AnsiToWide(ReadAnsi(source->data));
  }
  std::string text = source->format == CF_UNICODETEXT ? CodePageTextOf(FromWide(ReadWide(source->data)), lossy)
                                                      : ReadAnsi(source->data);
  return MakeBlock(text.c_str(), text.size() + 1);
}

bool HasText(Clipboard& c) {
  for (const Entry& e : c.entries)
    if (IsText(e.format)) return true;
  return false;
}

// Only what another program offers (and what was made of it): read again at the next opening,
// as that program or a third may have copied something else meanwhile.
bool HoldsOnlyForeign(const Clipboard& c) {
  bool foreign = false;
  for (const Entry& e : c.entries) {
    if (!e.foreign && !e.synthesized) return false;
    foreign |= e.foreign;
  }
  return foreign;
}

void TakeForeignText(Clipboard& c) {
  if (!c.entries.empty()) return;
  std::string utf8;
  if (GetBackend().ForeignClipboardText(utf8)) {
    bool dropped = false;
    std::string ansi = CodePageTextOf(AnsiToUnicode(utf8, CP_UTF8), &dropped);
    if (HANDLE h = MakeBlock(ansi.c_str(), ansi.size() + 1)) c.entries.push_back(Entry{CF_TEXT, h, false, true, dropped});
  }
  // Formats of the program's own registering (another instance's column block) come along.
  for (const std::string& name : GetBackend().ForeignClipboardFormats()) {
    ATOM format = FindAtomNoAdd(name.c_str());
    std::string bytes;
    if (format >= 0xC000 && !Find(c, format) && GetBackend().ForeignClipboardData(name, bytes) && !bytes.empty())
      if (HANDLE h = MakeBlock(bytes.data(), bytes.size())) c.entries.push_back(Entry{format, h, false, true});
  }
}

std::vector<UINT> Formats(Clipboard& c) {
  std::vector<UINT> out;
  for (const Entry& e : c.entries) out.push_back(e.format);
  if (HasText(c))
    for (UINT f : {CF_TEXT, CF_UNICODETEXT, CF_OEMTEXT})
      if (std::find(out.begin(), out.end(), f) == out.end()) out.push_back(f);
  return out;
}

}  // namespace
}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

BOOL OpenClipboard(HWND owner) {
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  if (c.open && c.openThread != ThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  c.open = true;
  c.openThread = ThreadId();
  c.openWindow = owner;
  c.changed = false;
  if (HoldsOnlyForeign(c)) {
    for (const Entry& e : c.entries) Release(e);
    c.entries.clear();
  }
  TakeForeignText(c);
  return TRUE;
}

BOOL CloseClipboard() {
  bool changed;
  {
    Clipboard& c = Board();
    std::lock_guard<std::recursive_mutex> lock(c.mutex);
    if (!OpenedHere(c)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return FALSE;
    }
    c.open = false;
    c.openWindow = nullptr;
    changed = c.changed;
  }
  if (changed) brambolt::GetBackend().ClipboardChanged();
  return TRUE;
}

BOOL EmptyClipboard() {
  HWND previous;
  {
    Clipboard& c = Board();
    std::lock_guard<std::recursive_mutex> lock(c.mutex);
    if (!OpenedHere(c)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return FALSE;
    }
    previous = c.owner;
  }
  if (previous && IsWindow(previous)) SendMessage(previous, WM_DESTROYCLIPBOARD, 0, 0);
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  for (const Entry& e : c.entries) Release(e);
  c.entries.clear();
  c.owner = c.openWindow;
  c.changed = true;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  if (!OpenedHere(c)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (format == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (Entry* e = Find(c, format)) {
    if (e->data != data) Release(*e);
    e->data = data;
    e->synthesized = false;
    e->foreign = false;
  } else {
    c.entries.push_back(Entry{format, data, false});
  }
  // A text format set explicitly replaces those made from the old text.
  if (IsText(format))
    c.entries.erase(std::remove_if(c.entries.begin(), c.entries.end(),
                                   [&](const Entry& e) {
                                     if (!e.synthesized) return false;
                                     Release(e);
                                     return true;
                                   }),
                    c.entries.end());
  c.changed = true;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  HWND owner = nullptr;
  {
    Clipboard& c = Board();
    std::lock_guard<std::recursive_mutex> lock(c.mutex);
    if (!OpenedHere(c)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return nullptr;
    }
    // Text that lost characters to the code page is refused, for those characters, by the window
    // that takes it, as if they were typed: a name pasted whole is told from what is left of it.
    HWND taker = c.openWindow ? c.openWindow : GetFocus();
    if (Entry* e = Find(c, format)) {
      if (e->lossy) CountRefusedCharacters(taker);
      if (e->data) return e->data;
      owner = c.owner;
    } else if (IsText(format)) {
      bool lossy = false;
      HANDLE h = Synthesize(c, format, &lossy);
      if (h) c.entries.push_back(Entry{format, h, true, false, lossy});
      if (lossy) CountRefusedCharacters(taker);
      return h;
    } else {
      return nullptr;
    }
  }
  // Delayed rendering: the owner provides the data now.
  if (owner && IsWindow(owner)) SendMessage(owner, WM_RENDERFORMAT, format, 0);
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  Entry* e = Find(c, format);
  return e ? e->data : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  if (!c.open) TakeForeignText(c);
  auto f = Formats(c);
  return std::find(f.begin(), f.end(), format) != f.end() ? TRUE : FALSE;
}

UINT EnumClipboardFormats(UINT format) {
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  if (!OpenedHere(c)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  auto f = Formats(c);
  SetLastError(0);
  if (format == 0) return f.empty() ? 0 : f.front();
  auto it = std::find(f.begin(), f.end(), format);
  if (it == f.end() || ++it == f.end()) return 0;
  return *it;
}

int CountClipboardFormats() {
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  return static_cast<int>(Formats(c).size());
}

UINT RegisterClipboardFormat(LPCSTR name) {
  ATOM atom = brambolt::wm::AddAtom(name);
  if (atom == 0) SetLastError(ERROR_INVALID_PARAMETER);
  return atom;
}

int GetClipboardFormatName(UINT format, LPSTR name, int maxCount) {
  std::string s;
  if (name == nullptr || maxCount <= 0 || format > 0xFFFF ||
      !brambolt::wm::AtomName(static_cast<ATOM>(format), s))
    return 0;
  int n = std::min(static_cast<int>(s.size()), maxCount - 1);
  std::memcpy(name, s.data(), static_cast<size_t>(n));
  name[n] = 0;
  return n;
}

HWND GetClipboardOwner() {
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  return c.owner && IsWindow(c.owner) ? c.owner : nullptr;
}

HWND GetOpenClipboardWindow() {
  Clipboard& c = Board();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  return c.open ? c.openWindow : nullptr;
}
