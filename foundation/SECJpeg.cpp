// SECJpeg: JPEG reading and writing with source and destination managers over CFile.
#include "foundation/SECJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <exception>
#include <vector>

#include "core/CException.h"

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace kelpwood::foundation {

IMPLEMENT_DYNCREATE(SECJpeg, SECImage)

namespace {

constexpr size_t kIoBufferSize = 4096;
constexpr ULONGLONG kPixelsPerFileByte = 4096;

// Fatal library errors jump back to the operation, which destroys the library object and fails.
// An exception raised inside a callback (a file error) is kept here and thrown again once the library is
// out of the way, so it never unwinds through the library's frames.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  std::exception_ptr pending;
  bool dataEnded = false;  // the file ended and an end-of-image marker was made up
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void SilentMessage(j_common_ptr) {}

jpeg_error_mgr* InstallErrorManager(ErrorManager& err) {
  jpeg_error_mgr* pub = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = SilentMessage;
  return pub;
}

struct SourceManager {
  jpeg_source_mgr pub;
  CFile* file;
  JOCTET* buffer;
  boolean startOfFile;
};

void InitSource(j_decompress_ptr cinfo) { reinterpret_cast<SourceManager*>(cinfo->src)->startOfFile = TRUE; }

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<SourceManager*>(cinfo->src);
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  UINT got = 0;
  try {
    got = src->file->Read(src->buffer, kIoBufferSize);
  } catch (...) {
    err->pending = std::current_exception();
  }
  if (err->pending) ERREXIT(cinfo, JERR_FILE_READ);
  if (got == 0) {
    if (src->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    // A file cut short ends as if an end-of-image marker followed.
    err->dataEnded = true;
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    got = 2;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = got;
  src->startOfFile = FALSE;
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  auto* src = &cinfo->src[0];
  while (count > static_cast<long>(src->bytes_in_buffer)) {
    count -= static_cast<long>(src->bytes_in_buffer);
    FillInputBuffer(cinfo);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void jpeg_CFile_src(j_decompress_ptr cinfo, CFile* file) {
  if (!cinfo->src) {
    auto* src = static_cast<SourceManager*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(SourceManager)));
    src->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kIoBufferSize));
    cinfo->src = &src->pub;
  }
  auto* src = reinterpret_cast<SourceManager*>(cinfo->src);
  src->pub.init_source = InitSource;
  src->pub.fill_input_buffer = FillInputBuffer;
  src->pub.skip_input_data = SkipInputData;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = TermSource;
  src->pub.bytes_in_buffer = 0;
  src->pub.next_input_byte = nullptr;
  src->file = file;
}

struct DestinationManager {
  jpeg_destination_mgr pub;
  CFile* file;
  JOCTET* buffer;
};

void InitDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<DestinationManager*>(cinfo->dest);
  dest->buffer = static_cast<JOCTET*>(
      (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, kIoBufferSize));
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = kIoBufferSize;
}

void WriteOut(j_compress_ptr cinfo, size_t count, bool flush) {
  auto* dest = reinterpret_cast<DestinationManager*>(cinfo->dest);
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  try {
    if (count) dest->file->Write(dest->buffer, static_cast<UINT>(count));
    if (flush) dest->file->Flush();
  } catch (...) {
    err->pending = std::current_exception();
  }
  if (err->pending) ERREXIT(cinfo, JERR_FILE_WRITE);
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  WriteOut(cinfo, kIoBufferSize, false);
  auto* dest = reinterpret_cast<DestinationManager*>(cinfo->dest);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = kIoBufferSize;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) { WriteOut(cinfo, kIoBufferSize - cinfo->dest->free_in_buffer, true); }

void jpeg_CFile_dest(j_compress_ptr cinfo, CFile* file) {
  if (!cinfo->dest) {
    cinfo->dest = static_cast<jpeg_destination_mgr*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(DestinationManager)));
  }
  auto* dest = reinterpret_cast<DestinationManager*>(cinfo->dest);
  dest->pub.init_destination = InitDestination;
  dest->pub.empty_output_buffer = EmptyOutputBuffer;
  dest->pub.term_destination = TermDestination;
  dest->file = file;
}

}  // namespace

SECJpeg::SECJpeg() : m_bQuantize(m_wSysColors != 0) {}

void SECJpeg::Serialize(CArchive& ar) { SECImage::Serialize(ar); }

BOOL SECJpeg::DoLoadImage(CFile* pFile) {
  if (!pFile) return FALSE;
  jpeg_decompress_struct cinfo{};
  ErrorManager err;
  cinfo.err = InstallErrorManager(err);
  // Nothing with a destructor may be created between here and the last library call.
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    if (err.pending) std::rethrow_exception(err.pending);
    return FALSE;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_CFile_src(&cinfo, pFile);
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) ERREXIT(&cinfo, JERR_NO_IMAGE);
  LONG width = static_cast<LONG>(cinfo.image_width), height = static_cast<LONG>(cinfo.image_height);
  // Every 8x8 block costs at least a bit of entropy-coded data, so a header promising far more
  // pixels than the file could describe is damaged (a cut file still passes: the bound is loose).
  ULONGLONG length = pFile->GetLength();
  if (static_cast<ULONGLONG>(width) * static_cast<ULONGLONG>(height) > kPixelsPerFileByte * length) {
    ERREXIT(&cinfo, JERR_IMAGE_TOO_BIG);
  }
  bool quantized = m_wSysColors != 0 && m_bQuantize;
  DWORD depth = quantized ? 8 : 24;
  WORD colours = quantized ? 256 : 0;
  size_t stride = PaddedRowBytes(depth, width);
  if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
      stride * static_cast<size_t>(height) > kMaxPixelBytes || !m_bits.Allocate(stride * static_cast<size_t>(height)) ||
      !AllocateHeader(colours)) {
    ERREXIT(&cinfo, JERR_OUT_OF_MEMORY);
  }
  m_dwPixelBlockSize = static_cast<DWORD>(m_bits.Size());
  bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
  cinfo.out_color_space = quantized && grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  if (quantized) {
    cinfo.quantize_colors = TRUE;
    cinfo.desired_number_of_colors = 256;
  }
  jpeg_start_decompress(&cinfo);
  // Rows go straight into place, bottom-up as a DIB holds them.
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = m_bits.Get() + stride * (static_cast<size_t>(height) - 1 - cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  // The file ended before the last row was decoded: the rows beyond are grey.
  const bool incomplete = err.dataEnded;
  if (quantized) {
    int components = cinfo.out_color_components;
    for (int i = 0; i < cinfo.actual_number_of_colors && i < 256; ++i) {
      JSAMPLE first = cinfo.colormap[0][i];
      m_lpRGB[i].rgbBlue = first;
      m_lpRGB[i].rgbGreen = components == 3 ? cinfo.colormap[1][i] : first;
      m_lpRGB[i].rgbRed = components == 3 ? cinfo.colormap[2][i] : first;
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);

  BITMAPINFOHEADER& bi = GetBitmapInfo()->bmiHeader;
  bi.biSize = 40;
  bi.biWidth = width;
  bi.biHeight = height;
  bi.biPlanes = 1;
  bi.biBitCount = static_cast<WORD>(depth);
  m_dwWidth = width;
  m_dwHeight = height;
  m_nBitsPerPixel = depth;
  m_wColors = colours;
  m_bRowsPadded = TRUE;
  m_bIncomplete = incomplete;
  return TRUE;
}

BOOL SECJpeg::DoSaveImage(CFile* pFile) {
  if (!pFile || !GetBitmapInfo() || !GetBits() || m_dwWidth <= 0 || m_dwHeight <= 0 || !PadRows()) return FALSE;
  // The picture is read in place and never changed, so every way out leaves it as it was.
  std::vector<BYTE> line(3 * static_cast<size_t>(m_dwWidth));
  size_t stride = PaddedRowBytes(m_nBitsPerPixel, m_dwWidth);
  jpeg_compress_struct cinfo{};
  ErrorManager err;
  cinfo.err = InstallErrorManager(err);
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    if (err.pending) std::rethrow_exception(err.pending);
    return FALSE;
  }
  jpeg_create_compress(&cinfo);
  jpeg_CFile_dest(&cinfo, pFile);
  cinfo.image_width = static_cast<JDIMENSION>(m_dwWidth);
  cinfo.image_height = static_cast<JDIMENSION>(m_dwHeight);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, m_nQuality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const BYTE* source = m_bits.Get() + stride * (static_cast<size_t>(m_dwHeight) - 1 - cinfo.next_scanline);
    JSAMPROW row = line.data();
    if (m_nBitsPerPixel == 24) {
      row = const_cast<JSAMPROW>(source);
    } else {
      RowToBgr(source, line.data());
    }
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return TRUE;
}

}  // namespace kelpwood::foundation
