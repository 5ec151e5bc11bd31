// Reads embedded .res images: a sequence of entries, each a header (data size, header size,
// type, name, language) followed by its data, both aligned to four bytes.
#include "res/Resources.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "base/ByteOrder.h"
#include "base/CodePage.h"
#include "base/Convert.h"
#include "base/LastError.h"
#include "os/SystemInfo.h"

namespace {

using brambolt::ByteReader;
using brambolt::ByteSpan;
using brambolt::ReadLE16;
using brambolt::ReadLE32;

// An integer id or an upper-cased UTF-16 name.
struct ResId {
  bool isInt = true;
  WORD id = 0;
  std::u16string name;

  bool operator==(const ResId& o) const {
    return isInt == o.isInt && (isInt ? id == o.id : name == o.name);
  }
};

struct ResourceEntry {
  ResId type;
  ResId name;
  WORD language = 0;
  const BYTE* data = nullptr;
  DWORD size = 0;
};

struct ResourceImage {
  HINSTANCE module = nullptr;
  std::vector<ResourceEntry> entries;
};

char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

class ResourceRegistry {
 public:
  static ResourceRegistry& Get() {
    static ResourceRegistry registry;
    return registry;
  }

  bool Register(HINSTANCE module, const BYTE* data, std::size_t size) {
    auto image = std::make_unique<ResourceImage>();
    image->module = module ? module : brambolt::MainModuleHandle();
    if (!Parse(data, size, image->entries)) return false;
    std::lock_guard lock(mutex_);
    images_.push_back(std::move(image));
    return true;
  }

  const ResourceImage* ImageFor(HMODULE module) {
    std::lock_guard lock(mutex_);
    for (auto& image : images_)
      if (image->module == module && module != nullptr) return image.get();
    return images_.empty() ? nullptr : images_.front().get();
  }

  HINSTANCE ProgramModule() {
    std::lock_guard lock(mutex_);
    return images_.empty() ? nullptr : images_.front()->module;
  }

 private:
  static bool ReadId(ByteReader& header, ResId& id) {
    const WORD first = header.U16();
    if (first == 0xFFFF) {
      id.isInt = true;
      id.id = header.U16();
      return header.ok();
    }
    id.isInt = false;
    id.name.clear();
    for (char16_t c = first; header.ok() && c != 0; c = header.U16()) id.name.push_back(UpperAscii(c));
    return header.ok();
  }

  static bool Parse(const BYTE* data, std::size_t size, std::vector<ResourceEntry>& out) {
    std::size_t pos = 0;
    const ByteSpan bytes(data, size);
    while (pos + 8 <= size) {
      const DWORD dataSize = ReadLE32(bytes, pos);
      const DWORD headerSize = ReadLE32(bytes, pos + 4);
      if (headerSize < 24 || pos + headerSize > size || dataSize > size - pos - headerSize) return false;
      const std::size_t headerEnd = pos + headerSize;
      ByteReader header(bytes.first(headerEnd), pos + 8);
      ResourceEntry entry;
      if (!ReadId(header, entry.type) || !ReadId(header, entry.name)) return false;
      const std::size_t p = (header.Position() + 3) & ~static_cast<std::size_t>(3);
      if (p + 16 > headerEnd) return false;
      entry.language = ReadLE16(bytes, p + 6);
      entry.data = data + headerEnd;
      entry.size = dataSize;
      // The leading entry of every .res file has type 0 and no data; it marks the format.
      if (!(entry.type.isInt && entry.type.id == 0)) out.push_back(std::move(entry));
      pos = (headerEnd + dataSize + 3) & ~static_cast<std::size_t>(3);
    }
    return pos >= size;
  }

  std::mutex mutex_;
  std::vector<std::unique_ptr<ResourceImage>> images_;
};

// Converts an LPCTSTR resource name or type into its id form.
ResId ToResId(LPCTSTR text) {
  ResId id;
  if (IS_INTRESOURCE(text)) {
    id.isInt = true;
    id.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(text));
    return id;
  }
  if (text[0] == '#') {
    id.isInt = true;
    id.id = static_cast<WORD>(std::strtoul(text + 1, nullptr, 10));
    return id;
  }
  id.isInt = false;
  int length = static_cast<int>(std::strlen(text));
  std::u16string wide(static_cast<std::size_t>(length) + 1, u'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, text, length, reinterpret_cast<WCHAR*>(wide.data()), length + 1);
  wide.resize(static_cast<std::size_t>(std::max(n, 0)));
  for (auto& c : wide) c = UpperAscii(c);
  id.name = std::move(wide);
  return id;
}

const ResourceEntry* Find(HMODULE module, LPCTSTR type, LPCTSTR name, int language) {
  const ResourceImage* image = ResourceRegistry::Get().ImageFor(module);
  if (!image || !type || !name) return nullptr;
  const ResId typeId = ToResId(type);
  const ResId nameId = ToResId(name);
  const ResourceEntry* neutral = nullptr;
  const ResourceEntry* english = nullptr;
  const ResourceEntry* first = nullptr;
  for (const auto& entry : image->entries) {
    if (!(entry.type == typeId) || !(entry.name == nameId)) continue;
    if (language >= 0) {
      if (entry.language == language) return &entry;
      continue;
    }
    if (!first) first = &entry;
    if (!neutral && PRIMARYLANGID(entry.language) == LANG_NEUTRAL) neutral = &entry;
    if (!english && entry.language == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) english = &entry;
  }
  if (language >= 0) return nullptr;
  return neutral ? neutral : english ? english : first;
}

}  // namespace

namespace brambolt {

bool RegisterResourceImage(HINSTANCE module, const void* data, std::size_t size) {
  return ResourceRegistry::Get().Register(module, static_cast<const BYTE*>(data), size);
}

HINSTANCE ProgramResourceModule() { return ResourceRegistry::Get().ProgramModule(); }

}  // namespace brambolt

HRSRC FindResource(HMODULE hModule, LPCTSTR lpName, LPCTSTR lpType) {
  const ResourceEntry* entry = Find(hModule, lpType, lpName, -1);
  if (!entry) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
}

HRSRC FindResourceEx(HMODULE hModule, LPCTSTR lpType, LPCTSTR lpName, WORD wLanguage) {
  const ResourceEntry* entry = Find(hModule, lpType, lpName, wLanguage);
  if (!entry && wLanguage == 0) entry = Find(hModule, lpType, lpName, -1);
  if (!entry) SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
  return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
}

BOOL EnumResourceNames(HMODULE hModule, LPCTSTR lpType, ENUMRESNAMEPROC lpEnumFunc, LONG_PTR lParam) {
  const ResourceImage* image = ResourceRegistry::Get().ImageFor(hModule);
  if (image == nullptr || lpType == nullptr || lpEnumFunc == nullptr) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  const ResId typeId = ToResId(lpType);
  std::vector<const ResId*> seen;
  for (const auto& entry : image->entries) {
    if (!(entry.type == typeId)) continue;
    if (std::any_of(seen.begin(), seen.end(), [&](const ResId* name) { return *name == entry.name; })) continue;
    seen.push_back(&entry.name);
    std::string text;
    for (char16_t c : entry.name.name) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    LPTSTR name = entry.name.isInt ? MAKEINTRESOURCE(entry.name.id) : text.data();
    if (!lpEnumFunc(hModule, lpType, name, lParam)) return TRUE;
  }
  if (seen.empty()) SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return !seen.empty();
}

HGLOBAL LoadResource(HMODULE, HRSRC hResInfo) {
  if (!hResInfo) return nullptr;
  auto* entry = reinterpret_cast<const ResourceEntry*>(hResInfo);
  return const_cast<BYTE*>(entry->data);
}

LPVOID LockResource(HGLOBAL hResData) { return hResData; }

DWORD SizeofResource(HMODULE, HRSRC hResInfo) {
  return hResInfo ? reinterpret_cast<const ResourceEntry*>(hResInfo)->size : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

int LoadString(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer) return 0;
  // Strings live in blocks of sixteen: block uID/16+1 holds, for each of its ids in turn,
  // a 16-bit length followed by that many UTF-16 units.
  const ResourceEntry* block =
      Find(hInstance, RT_STRING, MAKEINTRESOURCE(static_cast<WORD>(uID / 16 + 1)), -1);
  const char16_t* text = nullptr;
  int length = 0;
  if (block) {
    const BYTE* p = block->data;
    const BYTE* end = block->data + block->size;
    for (UINT i = 0; i <= uID % 16 && p + 2 <= end; ++i) {
      int n = ReadLE16(ByteSpan(p, 2));
      p += 2;
      if (p + 2 * n > end) break;
      if (i == uID % 16) {
        text = reinterpret_cast<const char16_t*>(p);
        length = n;
      }
      p += 2 * n;
    }
  }
  if (cchBufferMax == 0) {
    *reinterpret_cast<const char16_t**>(lpBuffer) = text;
    return text ? length : 0;
  }
  if (cchBufferMax < 0) return 0;
  if (!text || length == 0) {
    lpBuffer[0] = '\0';
    if (!text) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  const WCHAR* wide = reinterpret_cast<const WCHAR*>(text);
  int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(std::max(needed, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), needed, nullptr, nullptr);
  // Truncate to the buffer without splitting a double-byte character.
  const std::size_t keep = brambolt::CharacterStart(ansi, static_cast<std::size_t>(cchBufferMax - 1));
  std::memcpy(lpBuffer, ansi.data(), keep);
  lpBuffer[keep] = '\0';
  return static_cast<int>(keep);
}
