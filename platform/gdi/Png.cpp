// PNG export of surfaces through libpng.
#include <png.h>

#include <cstdio>
#include <vector>

#include "gdi/Surface.h"

namespace brambolt {

bool SavePng(const Surface& surface, const char* path) {
  if (!path || surface.Width() <= 0 || surface.Height() <= 0) return false;
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  std::vector<png_byte> row(static_cast<size_t>(surface.Width()) * 3);
  bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()), static_cast<png_uint_32>(surface.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < surface.Height(); ++y) {
      const uint32_t* in = surface.Row(y);
      for (int x = 0; x < surface.Width(); ++x) {
        row[3 * x] = static_cast<png_byte>(in[x] >> 16);
        row[3 * x + 1] = static_cast<png_byte>(in[x] >> 8);
        row[3 * x + 2] = static_cast<png_byte>(in[x]);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  bool closed = std::fclose(file) == 0;
  return ok && closed;
}

}  // namespace brambolt
