// GUID creation and text form.
#include "base/Guid.h"

#include <cstdio>
#include <cstring>
#include <random>

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `digits` hex digits at `text`, advancing it.
bool ReadHex(const char*& text, int digits, unsigned long long& value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    int v = HexValue(*text++);
    if (v < 0) return false;
    value = (value << 4) | static_cast<unsigned>(v);
  }
  return true;
}

bool Expect(const char*& text, char c) { return *text++ == c; }

}  // namespace

HRESULT CoCreateGuid(GUID* guid) {
  if (guid == nullptr) return E_INVALIDARG;
  thread_local std::mt19937_64 generator{std::random_device{}()};
  unsigned long long high = generator();
  unsigned long long low = generator();
  guid->Data1 = static_cast<DWORD>(high >> 32);
  guid->Data2 = static_cast<WORD>(high >> 16);
  guid->Data3 = static_cast<WORD>((high & 0x0FFF) | 0x4000);
  for (int i = 0; i < 8; ++i) guid->Data4[i] = static_cast<BYTE>(low >> (56 - 8 * i));
  guid->Data4[0] = static_cast<BYTE>((guid->Data4[0] & 0x3F) | 0x80);
  return S_OK;
}

namespace brambolt {

std::string GuidToString(REFGUID guid) {
  char text[40];
  std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

bool GuidFromString(const char* text, GUID* guid) {
  if (text == nullptr || guid == nullptr) return false;
  GUID result{};
  unsigned long long value = 0;
  if (!Expect(text, '{') || !ReadHex(text, 8, value)) return false;
  result.Data1 = static_cast<DWORD>(value);
  if (!Expect(text, '-') || !ReadHex(text, 4, value)) return false;
  result.Data2 = static_cast<WORD>(value);
  if (!Expect(text, '-') || !ReadHex(text, 4, value)) return false;
  result.Data3 = static_cast<WORD>(value);
  if (!Expect(text, '-')) return false;
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && !Expect(text, '-')) return false;
    if (!ReadHex(text, 2, value)) return false;
    result.Data4[i] = static_cast<BYTE>(value);
  }
  if (!Expect(text, '}') || *text != '\0') return false;
  *guid = result;
  return true;
}

}  // namespace brambolt

int StringFromGUID2(REFGUID guid, LPOLESTR text, int maxChars) {
  std::string narrow = brambolt::GuidToString(guid);
  int needed = static_cast<int>(narrow.size()) + 1;
  if (text == nullptr || maxChars < needed) return 0;
  for (int i = 0; i < needed; ++i) text[i] = static_cast<OLECHAR>(narrow.c_str()[i]);
  return needed;
}

HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid) {
  if (text == nullptr || clsid == nullptr) return E_INVALIDARG;
  std::string narrow;
  for (; *text != 0; ++text) {
    if (*text > 0x7F || narrow.size() > 38) return CO_E_CLASSSTRING;
    narrow.push_back(static_cast<char>(*text));
  }
  return brambolt::GuidFromString(narrow.c_str(), clsid) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT IIDFromString(LPCOLESTR text, LPIID iid) { return CLSIDFromString(text, iid); }
