// A CMYK JPEG, as print work saves them (an Adobe marker and the ink stored inverted), loads
// through the picture object with its colours, as an RGB JPEG does.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/GlobalMemory.h"
#include "ole/ole.h"
#include "testing/testing.h"

// libjpeg's header wants the C standard types declared first.
#include <jpeglib.h>

namespace {

struct Ink {
  JSAMPLE c, m, y, k;
};

// A JPEG of four quadrants of 16 x 16 pixels of the given inks, written by libjpeg from CMYK
// rows in `colorSpace` (CMYK or YCCK), the ink stored inverted (255 for none) as Adobe's
// programs store it.
std::vector<uint8_t> CmykJpeg(const Ink (&quadrants)[4], J_COLOR_SPACE colorSpace) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = 32;
  info.image_height = 32;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, colorSpace);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(32 * 4);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < 32; ++x) {
      const Ink& ink = quadrants[(info.next_scanline < 16 ? 0 : 2) + (x < 16 ? 0 : 1)];
      const JSAMPLE inverted[4] = {JSAMPLE(255 - ink.c), JSAMPLE(255 - ink.m), JSAMPLE(255 - ink.y),
                                   JSAMPLE(255 - ink.k)};
      std::memcpy(&row[4 * x], inverted, 4);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

TEST(CmykJpeg, LoadsWithItsColours) {
  brambolt::test::UiSession session;
  // Red, green / blue, a grey of half black.
  const Ink quadrants[4] = {{0, 255, 255, 0}, {255, 0, 255, 0}, {255, 255, 0, 0}, {0, 0, 0, 128}};
  const std::pair<POINT, COLORREF> expected[] = {{{5, 5}, RGB(255, 0, 0)},
                                                 {{25, 5}, RGB(0, 255, 0)},
                                                 {{5, 25}, RGB(0, 0, 255)},
                                                 {{25, 25}, RGB(127, 127, 127)}};
  for (J_COLOR_SPACE space : {JCS_CMYK, JCS_YCCK}) {
    const std::vector<uint8_t> bytes = CmykJpeg(quadrants, space);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
    IPicture* picture = nullptr;
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&picture));
    stream->Release();
    ASSERT_EQ(hr, S_OK) << "colour space " << space;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(picture->Render(dc, 0, 0, 32, 32, 0, h, w, -h, nullptr), S_OK);
    for (const auto& [at, colour] : expected) {
      const COLORREF got = GetPixel(dc, at.x, at.y);
      EXPECT_NEAR(GetRValue(got), GetRValue(colour), 6) << "space " << space << " at " << at.x << "," << at.y;
      EXPECT_NEAR(GetGValue(got), GetGValue(colour), 6) << "space " << space << " at " << at.x << "," << at.y;
      EXPECT_NEAR(GetBValue(got), GetBValue(colour), 6) << "space " << space << " at " << at.x << "," << at.y;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    picture->Release();
  }
}

}  // namespace
