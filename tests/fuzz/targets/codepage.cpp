// Fuzz target: the code-page functions (GBK, Big5, Windows-1252, UTF-8 conversions and the
// double-byte string functions), the code page chosen by the first byte.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "afx/afx.h"
#include "base/Convert.h"
#include "base/MbString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const UINT pages[] = {936, 950, 1252, CP_UTF8};
  const UINT codePage = pages[data[0] % 4];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const int length = static_cast<int>(text.size());
  for (DWORD flags : {DWORD{0}, DWORD{MB_ERR_INVALID_CHARS}}) {
    const int wide = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (wide <= 0) continue;
    std::vector<WCHAR> buffer(static_cast<size_t>(wide));
    MultiByteToWideChar(codePage, flags, text.data(), length, buffer.data(), wide);
    const int back = WideCharToMultiByte(codePage, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    if (back > 0) {
      std::vector<char> bytes(static_cast<size_t>(back));
      BOOL usedDefault = FALSE;
      WideCharToMultiByte(codePage, 0, buffer.data(), wide, bytes.data(), back, nullptr, &usedDefault);
    }
  }
  // The input as UTF-16 units too.
  std::vector<WCHAR> units(text.size() / 2);
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<WCHAR>(static_cast<unsigned char>(text[2 * i]) | static_cast<unsigned char>(text[2 * i + 1]) << 8);
  char out[64];
  WideCharToMultiByte(codePage, 0, units.data(), static_cast<int>(units.size()), out, sizeof out, nullptr, nullptr);
  brambolt::AnsiToUtf8(text, codePage);
  brambolt::Utf8ToAnsi(text, codePage);
  if (codePage == CP_UTF8) return 0;
  // The double-byte string functions, on a terminated copy.
  brambolt::ScopedCodePage page(codePage);
  std::string copy(text);
  auto* s = reinterpret_cast<unsigned char*>(copy.data());
  _mbsrev(s);
  _mbslen(s);
  _mbschr(s, 'a');
  _mbsstr(s, reinterpret_cast<const unsigned char*>("ab"));
  std::vector<unsigned char> cut(8);
  _mbsnbcpy(cut.data(), s, cut.size() - 1);
  for (const char* q = copy.c_str(); *q != '\0';) q = CharNext(q);
  return 0;
}
