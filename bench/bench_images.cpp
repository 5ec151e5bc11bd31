// Loading and saving a 4000x3000 picture in every image format. JPEG and TIFF also run the same
// work straight through their libraries (the cost of the library alone), so the ratio shows what
// the image classes add.
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <stdlib.h>
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/CMemFile.h"
#include "foundation/SECDib.h"
#include "foundation/SECJpeg.h"
#include "foundation/SECPcx.h"
#include "foundation/SECTarga.h"
#include "foundation/SECTiff.h"

namespace {

using kelpwood::foundation::SECDib;
using kelpwood::foundation::SECImage;
using kelpwood::foundation::SECJpeg;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A photograph-like picture: smooth gradients with noise, as a BMP file of 24 or 8 bits.
std::string PictureBmp(int bits) {
  std::mt19937 random(42);
  size_t stride = SECImage::PaddedRowBytes(bits, kWidth);
  size_t table = bits == 8 ? 1024 : 0;
  std::string s(54 + table + stride * kHeight, '\0');
  auto put32 = [&](size_t at, unsigned v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
  };
  s[0] = 'B';
  s[1] = 'M';
  put32(2, static_cast<unsigned>(s.size()));
  put32(10, static_cast<unsigned>(54 + table));
  put32(14, 40);
  put32(18, kWidth);
  put32(22, kHeight);
  s[26] = 1;
  s[28] = static_cast<char>(bits);
  for (size_t i = 0; i < table / 4; ++i) {
    s[54 + 4 * i] = static_cast<char>(i);
    s[55 + 4 * i] = static_cast<char>(255 - i);
    s[56 + 4 * i] = static_cast<char>(i / 2);
  }
  for (int y = 0; y < kHeight; ++y) {
    char* row = s.data() + 54 + table + stride * y;
    for (int x = 0; x < kWidth; ++x) {
      int noise = static_cast<int>(random() % 9) - 4;
      if (bits == 8) {
        row[x] = static_cast<char>(((x / 16 + y / 16) & 0xFF) + (noise > 2 ? 1 : 0));
      } else {
        row[3 * x] = static_cast<char>((x * 255 / kWidth + noise) & 0xFF);
        row[3 * x + 1] = static_cast<char>((y * 255 / kHeight + noise) & 0xFF);
        row[3 * x + 2] = static_cast<char>(((x + y) / 28 + noise) & 0xFF);
      }
    }
  }
  return s;
}

std::string Bytes(CMemFile& file) {
  std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

void LoadFrom(SECImage& image, const std::string& bytes) {
  CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), static_cast<UINT>(bytes.size()));
  if (!image.LoadImage(&file)) std::abort();
}

template <class Image>
std::string Encoded(int bits) {
  SECDib dib;
  LoadFrom(dib, PictureBmp(bits));
  Image image;
  image.MoveFrom(dib);
  CMemFile file;
  if (!image.SaveImage(&file)) std::abort();
  return Bytes(file);
}

template <class Image, int Bits>
void Save(benchmark::State& state) {
  SECDib dib;
  LoadFrom(dib, PictureBmp(Bits));
  Image image;
  image.MoveFrom(dib);
  for (auto _ : state) {
    CMemFile file(1 << 20);
    if (!image.SaveImage(&file)) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(file.GetLength());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

template <class Image, int Bits>
void Load(benchmark::State& state) {
  std::string bytes = Encoded<Image>(Bits);
  for (auto _ : state) {
    Image image;
    LoadFrom(image, bytes);
    benchmark::DoNotOptimize(image.GetBits());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

BENCHMARK_TEMPLATE(Save, SECDib, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Load, SECDib, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Save, SECPcx, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Load, SECPcx, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Save, SECTarga, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Load, SECTarga, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Save, SECJpeg, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Load, SECJpeg, 24)->Unit(benchmark::kMillisecond);

// The JPEG library alone on the same picture and settings.
void LibJpegEncode(benchmark::State& state) {
  std::string bmp = PictureBmp(24);
  size_t stride = SECImage::PaddedRowBytes(24, kWidth);
  for (auto _ : state) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = reinterpret_cast<JSAMPROW>(bmp.data() + 54 + stride * (kHeight - 1 - cinfo.next_scanline));
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    benchmark::DoNotOptimize(size);
    free(out);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void LibJpegDecode(benchmark::State& state) {
  std::string jpeg = Encoded<SECJpeg>(24);
  std::vector<unsigned char> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = pixels.data() + static_cast<size_t>(cinfo.output_scanline) * kWidth * 3;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

BENCHMARK(LibJpegEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(LibJpegDecode)->Unit(benchmark::kMillisecond);

// TIFF goes through files by name, in a folder removed when the program ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-images-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    m_path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

std::string ScratchPath(const char* name) {
  static const ScratchFolder folder;
  return folder.Path() + "/" + name;
}

void TiffSave(benchmark::State& state) {
  SECDib dib;
  LoadFrom(dib, PictureBmp(24));
  SECTiff tiff;
  tiff.MoveFrom(dib);
  std::string path = ScratchPath("save.tif");
  for (auto _ : state) {
    if (!tiff.SaveImage(path.c_str())) state.SkipWithError("save failed");
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void TiffLoad(benchmark::State& state) {
  SECDib dib;
  LoadFrom(dib, PictureBmp(24));
  SECTiff tiff;
  tiff.MoveFrom(dib);
  std::string path = ScratchPath("load.tif");
  if (!tiff.SaveImage(path.c_str())) std::abort();
  for (auto _ : state) {
    SECTiff image;
    if (!image.LoadImage(path.c_str())) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(image.GetBits());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// libtiff alone: the same one-strip RGB file written and read back.
void LibTiffWrite(benchmark::State& state) {
  std::vector<unsigned char> rgb(static_cast<size_t>(kWidth) * kHeight * 3, 77);
  std::string path = ScratchPath("lib.tif");
  for (auto _ : state) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, kHeight);
    TIFFWriteEncodedStrip(t, 0, rgb.data(), static_cast<tmsize_t>(rgb.size()));
    TIFFClose(t);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void LibTiffRead(benchmark::State& state) {
  SECDib dib;
  LoadFrom(dib, PictureBmp(24));
  SECTiff tiff;
  tiff.MoveFrom(dib);
  std::string path = ScratchPath("libread.tif");
  if (!tiff.SaveImage(path.c_str())) std::abort();
  for (auto _ : state) {
    TIFF* t = TIFFOpen(path.c_str(), "r");
    std::vector<unsigned char> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
    tmsize_t stripSize = TIFFStripSize(t), done = 0;
    for (uint32_t strip = 0; strip < TIFFNumberOfStrips(t); ++strip) {
      tmsize_t got = TIFFReadEncodedStrip(t, strip, pixels.data() + done, stripSize);
      if (got < 0) state.SkipWithError("read failed");
      done += got;
    }
    TIFFClose(t);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

BENCHMARK(TiffSave)->Unit(benchmark::kMillisecond);
BENCHMARK(TiffLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(LibTiffWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(LibTiffRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
