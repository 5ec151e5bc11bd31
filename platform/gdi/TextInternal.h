// Internal: shared pieces of text output and layout.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gdi/Fonts.h"
#include "gdi/GdiInternal.h"

namespace brambolt::gdi {

// ANSI text as characters, with the number of bytes each character took.
struct DecodedText {
  std::u32string chars;
  std::vector<int> bytes;
};
DecodedText DecodeAnsi(const char* text, size_t length, UINT codePage = CP_ACP);
// The code page the DC's font reads its bytes in: 936 and 950 for the Chinese character sets,
// else the ANSI code page.
UINT TextCodePage(const DeviceContext& dc);
// Text in the DC's font's code page.
DecodedText DecodeAnsi(const DeviceContext& dc, const char* text, size_t length);

// The DC's font realised at device size.
std::shared_ptr<RealizedFont> DeviceFont(const DeviceContext& dc);
int ToLogicalX(const DeviceContext& dc, int deviceLength);
int ToLogicalY(const DeviceContext& dc, int deviceLength);
// Advances in device pixels, the DC's character extra included.
std::vector<int> DeviceAdvances(const DeviceContext& dc, RealizedFont& font, const std::u32string& chars);

struct TextRun {
  const DecodedText* text = nullptr;
  const std::vector<int>* advances = nullptr;  // device pixels per character
  POINT reference{0, 0};                       // surface coordinates
  UINT align = TA_LEFT | TA_TOP;
  bool fillCell = false;                       // paint the background behind the text
  const RECT* opaqueRect = nullptr;            // surface coordinates, ETO_OPAQUE
  const RECT* clipRect = nullptr;              // surface coordinates, ETO_CLIPPED
  int mnemonic = -1;                           // index of a character to underline
};
// Draws a run with the DC's font, colours and escapement; returns the width in device pixels.
int DrawRun(DeviceContext& dc, Surface& surface, RealizedFont& font, const TextRun& run);

}  // namespace brambolt::gdi
