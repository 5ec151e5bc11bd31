// Template readers. Every read is bounded by the resource's size: a malformed template gives
// no result instead of reading past its end.
#include "res/ResourceTemplates.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <strings.h>

#include "base/ByteOrder.h"
#include "base/CodePage.h"
#include "base/Convert.h"

namespace brambolt {
namespace {

class Reader {
 public:
  Reader(const void* data, std::size_t size)
      : in_(ByteSpan(static_cast<const BYTE*>(data), data ? size : 0)) {}

  bool ok() const { return in_.ok(); }
  std::size_t pos() const { return in_.Position(); }
  bool AtEnd() const { return in_.Remaining() == 0; }

  BYTE Byte() { return in_.U8(); }
  WORD Word() { return in_.U16(); }
  DWORD Dword() { return in_.U32(); }
  short Short() { return static_cast<short>(Word()); }

  // A zero-terminated UTF-16 string, converted to the ANSI code page.
  std::string String() {
    std::u16string wide;
    for (char16_t c = Word(); in_.ok() && c != 0; c = Word()) wide.push_back(c);
    return in_.ok() ? ToAnsi(wide) : std::string();
  }

  // 0x0000 = none, 0xFFFF + ordinal, or a string.
  ResourceName NameOrOrdinal() {
    ResourceName name;
    const WORD first = ReadLE16(in_.Rest());
    if (!in_.ok() || in_.Remaining() < 2) {
      in_.Skip(2);  // fails the reader
      return name;
    }
    if (first == 0) {
      in_.Skip(2);
    } else if (first == 0xFFFF) {
      in_.Skip(2);
      name.isOrdinal = true;
      name.ordinal = Word();
    } else {
      name.text = String();
    }
    return name;
  }

  std::vector<BYTE> Bytes(std::size_t n) {
    const ByteSpan rest = in_.Rest();
    if (!in_.Skip(n)) return {};
    return std::vector<BYTE>(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(n));
  }

  void AlignDword() {
    const std::size_t pad = ((pos() + 3) & ~static_cast<std::size_t>(3)) - pos();
    in_.Skip(std::min(pad, in_.Remaining()));
  }

 private:
  static std::string ToAnsi(const std::u16string& wide) {
    if (wide.empty()) return {};
    const WCHAR* w = reinterpret_cast<const WCHAR*>(wide.data());
    int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
  }

  ByteReader in_;
};

constexpr DWORD DS_SETFONT_FLAG = 0x40;
constexpr DWORD DS_SHELLFONT_FLAG = 0x48;

bool ParseMenuItems(Reader& in, std::vector<MenuItemTemplate>& items, int depth) {
  if (depth > 64) return false;
  for (;;) {
    MenuItemTemplate item;
    WORD flags = in.Word();
    item.flags = flags & ~static_cast<DWORD>(MF_END);
    if (!(flags & MF_POPUP)) item.id = in.Word();
    item.text = in.String();
    if (!in.ok()) return false;
    if (!(flags & MF_POPUP) && item.id == 0 && item.text.empty()) item.flags |= MF_SEPARATOR;
    if (flags & MF_POPUP)
      if (!ParseMenuItems(in, item.children, depth + 1)) return false;
    items.push_back(std::move(item));
    if (flags & MF_END) return true;
  }
}

bool ParseMenuExItems(Reader& in, std::vector<MenuItemTemplate>& items, int depth) {
  if (depth > 64) return false;
  for (;;) {
    MenuItemTemplate item;
    item.type = in.Dword();
    item.state = in.Dword();
    item.id = in.Dword();
    WORD resInfo = in.Word();
    item.text = in.String();
    in.AlignDword();
    if (!in.ok()) return false;
    // MENUEX keeps MFT_/MFS_ values; mirror the ones a MENU template would carry as MF_ flags.
    item.flags = item.type & (MF_BITMAP | MF_MENUBARBREAK | MF_MENUBREAK | MF_OWNERDRAW | MF_SEPARATOR | MF_RIGHTJUSTIFY);
    item.flags |= item.state & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    if (resInfo & 0x01) {
      item.flags |= MF_POPUP;
      item.helpId = in.Dword();
      if (!ParseMenuExItems(in, item.children, depth + 1)) return false;
    }
    items.push_back(std::move(item));
    if (resInfo & 0x80) return true;
  }
}

}  // namespace

LPCTSTR ResourceName::AsResource() const {
  return isOrdinal ? MAKEINTRESOURCE(ordinal) : text.c_str();
}

std::string DialogItemTemplate::ClassName() const {
  static const char* const predefined[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
  if (windowClass.isOrdinal) {
    WORD i = static_cast<WORD>(windowClass.ordinal - 0x80);
    return i < 6 ? predefined[i] : std::string();
  }
  // Resource compilers may spell class names in capitals; the predefined ones get their usual spelling.
  for (const char* name : predefined)
    if (strcasecmp(windowClass.text.c_str(), name) == 0) return name;
  return windowClass.text;
}

bool MenuItemTemplate::IsSeparator() const { return (flags & MF_SEPARATOR) != 0 || (type & MF_SEPARATOR) != 0; }

std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size) {
  Reader in(data, size);
  DialogTemplate t;
  WORD first = in.Word();
  WORD second = in.Word();
  WORD count = 0;
  if (first == 1 && second == 0xFFFF) {
    t.extended = true;
    t.helpId = in.Dword();
    t.exStyle = in.Dword();
    t.style = in.Dword();
  } else {
    t.style = static_cast<DWORD>(first) | (static_cast<DWORD>(second) << 16);
    t.exStyle = in.Dword();
  }
  count = in.Word();
  t.x = in.Short();
  t.y = in.Short();
  t.cx = in.Short();
  t.cy = in.Short();
  t.menu = in.NameOrOrdinal();
  t.windowClass = in.NameOrOrdinal();
  t.title = in.String();
  if ((t.style & DS_SETFONT_FLAG) || (t.extended && (t.style & DS_SHELLFONT_FLAG) == DS_SHELLFONT_FLAG)) {
    t.hasFont = true;
    t.pointSize = in.Word();
    if (t.extended) {
      t.weight = in.Word();
      t.italic = in.Byte();
      t.charSet = in.Byte();
    }
    t.faceName = in.String();
  }
  if (!in.ok()) return std::nullopt;
  for (WORD i = 0; i < count; ++i) {
    in.AlignDword();
    DialogItemTemplate item;
    if (t.extended) {
      item.helpId = in.Dword();
      item.exStyle = in.Dword();
      item.style = in.Dword();
    } else {
      item.style = in.Dword();
      item.exStyle = in.Dword();
    }
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
    item.id = t.extended ? in.Dword() : in.Word();
    item.windowClass = in.NameOrOrdinal();
    item.title = in.NameOrOrdinal();
    WORD extra = in.Word();
    // In a DIALOG template the count includes its own word; in DIALOGEX it does not.
    if (!t.extended && extra >= 2) extra = static_cast<WORD>(extra - 2);
    item.creationData = in.Bytes(extra);
    if (!in.ok()) return std::nullopt;
    t.items.push_back(std::move(item));
  }
  return t;
}

std::optional<MenuTemplate> ParseMenuTemplate(const void* data, std::size_t size) {
  Reader in(data, size);
  MenuTemplate t;
  WORD version = in.Word();
  WORD offset = in.Word();
  if (!in.ok()) return std::nullopt;
  if (version == 1) {
    t.extended = true;
    if (offset < 4) return std::nullopt;
    in.Bytes(offset);  // skips the help id and anything else before the items
    if (!ParseMenuExItems(in, t.items, 0)) return std::nullopt;
  } else if (version == 0) {
    in.Bytes(offset);
    if (in.AtEnd()) return t;
    if (!ParseMenuItems(in, t.items, 0)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  return t;
}

std::vector<ACCEL> ParseAcceleratorTable(const void* data, std::size_t size) {
  Reader in(data, size);
  std::vector<ACCEL> table;
  while (!in.AtEnd()) {
    WORD flags = in.Word();
    WORD key = in.Word();
    WORD cmd = in.Word();
    in.Word();
    if (!in.ok()) break;
    table.push_back(ACCEL{static_cast<BYTE>(flags & 0x7F), key, cmd});
    if (flags & 0x80) break;
  }
  return table;
}

std::vector<IconDirectoryEntry> ParseIconDirectory(const void* data, std::size_t size, bool icon) {
  Reader in(data, size);
  std::vector<IconDirectoryEntry> entries;
  in.Word();  // reserved
  WORD type = in.Word();
  WORD count = in.Word();
  if (!in.ok() || type != (icon ? 1 : 2)) return entries;
  for (WORD i = 0; i < count; ++i) {
    IconDirectoryEntry e;
    if (icon) {
      e.width = in.Byte();
      e.height = in.Byte();
      e.colorCount = in.Byte();
      in.Byte();
      if (e.width == 0) e.width = 256;
      if (e.height == 0) e.height = 256;
    } else {
      e.width = in.Word();
      e.height = in.Word() / 2;  // a cursor's height counts its mask too
    }
    e.planes = in.Word();
    e.bitCount = in.Word();
    e.bytes = in.Dword();
    e.id = in.Word();
    if (!in.ok()) break;
    entries.push_back(e);
  }
  return entries;
}

int BestIconId(const void* data, std::size_t size, bool icon, int cx, int cy) {
  if (!data) return 0;
  const auto entries = ParseIconDirectory(data, size, icon);
  if (cx == 0) cx = 32;
  if (cy == 0) cy = cx;
  // Closest size first, then the deepest colour that the 32-bit display can show.
  const IconDirectoryEntry* best = nullptr;
  long bestScore = LONG_MAX;
  for (const auto& e : entries) {
    long distance = std::labs(static_cast<long>(e.width) - cx) + std::labs(static_cast<long>(e.height) - cy);
    long score = distance * 64 - e.bitCount;
    if (score < bestScore) {
      bestScore = score;
      best = &e;
    }
  }
  return best ? best->id : 0;
}

std::optional<ToolbarTemplate> ParseToolbarTemplate(const void* data, std::size_t size) {
  Reader in(data, size);
  ToolbarTemplate t;
  t.version = in.Word();
  t.width = in.Word();
  t.height = in.Word();
  WORD count = in.Word();
  for (WORD i = 0; i < count; ++i) t.ids.push_back(in.Word());
  if (!in.ok() || t.version != 1) return std::nullopt;
  return t;
}

}  // namespace brambolt

int LookupIconIdFromDirectoryEx(const BYTE* presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT) {
  if (!presbits) return 0;
  // The call takes no size: the directory is trusted to hold the entries its count promises.
  const std::size_t count = brambolt::ReadLE16(brambolt::ByteSpan(presbits, 6), 4);
  return brambolt::BestIconId(presbits, 6 + count * 14, fIcon != FALSE, cxDesired, cyDesired);
}

int LookupIconIdFromDirectory(const BYTE* presbits, BOOL fIcon) {
  return LookupIconIdFromDirectoryEx(presbits, fIcon, 0, 0, 0);
}
