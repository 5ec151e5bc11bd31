// JPEG files through libjpeg, read from memory; errors end the decoding instead of the process.
#include <csetjmp>
#include <cstdio>

#include "ole/PictureCodecs.h"

// libjpeg's header wants the C standard types declared first.
#include <jpeglib.h>
#include <jerror.h>

namespace brambolt::ole {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool dataEnded = false;  // the file ended before the rows it states
};

[[noreturn]] void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void OnMessage(j_common_ptr) {}
void OnEmit(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  if (level < 0 && errors->base.msg_code == JWRN_JPEG_EOF) errors->dataEnded = true;
}

}  // namespace

bool DecodeJpeg(ByteSpan bytes, PictureImage& out) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.output_message = OnMessage;
  errors.base.emit_message = OnEmit;
  // What is allocated between setjmp and a longjmp back to it belongs to libjpeg (the row) or
  // to the caller (the pixels), so the jump leaks nothing.
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!PictureSizeAllowed(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  // libjpeg gives CMYK (and YCCK, which it turns into CMYK) only as ink: the colours are made
  // here. Files with an Adobe marker (those of print work) store the ink inverted, 255 for none.
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  const bool inverted = cmyk && info.saw_Adobe_marker;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  const int components = cmyk ? 4 : 3;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0xFF000000u);
  out.transparent = false;
  out.icon = false;
  JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              info.output_width * components, 1);
  const JSAMPLE* row = rows[0];
  // A progressive file has read all it has by now: when it ended early, its rows hold what the
  // scans that came give, and the picture is incomplete. Rows are then read while the file has
  // data for them: a few bytes stating many rows are not made up row by row (the rest stays black).
  // The row in which the data ends is made up in part, so the picture is incomplete too.
  const bool scansEnded = errors.dataEnded;
  errors.dataEnded = false;
  while (info.output_scanline < info.output_height && !errors.dataEnded) {
    size_t y = info.output_scanline;
    if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
    uint32_t* p = &out.pixels[y * out.width];
    if (cmyk) {
      for (int x = 0; x < out.width; ++x) {
        const JSAMPLE* ink = row + 4 * x;
        // Each channel is what its ink and the black leave of the paper's white.
        auto channel = [&](int i) {
          const uint32_t left = inverted ? ink[i] : 255u - ink[i], black = inverted ? ink[3] : 255u - ink[3];
          return (left * black + 127) / 255;
        };
        p[x] = 0xFF000000u | channel(0) << 16 | channel(1) << 8 | channel(2);
      }
    } else {
      for (int x = 0; x < out.width; ++x)
        p[x] = 0xFF000000u | uint32_t{row[3 * x]} << 16 | uint32_t{row[3 * x + 1]} << 8 | row[3 * x + 2];
    }
  }
  out.incomplete = scansEnded || errors.dataEnded || info.output_scanline < info.output_height;
  if (out.incomplete)
    jpeg_abort_decompress(&info);
  else
    jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace brambolt::ole
