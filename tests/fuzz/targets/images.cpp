// Fuzz target: the image formats (BMP, PCX, Targa, JPEG, TIFF), the thumbnail stream and the
// platform's picture object (BMP/DIB, ICO, GIF and JPEG files), chosen by the first byte; a
// picture that loads is drawn and saved again.
// A first byte of 7 or more asks the PCX and JPEG readers and the picture object for a file cut
// short: the next two bytes (little-endian) say where the rest is cut, and the reader's picture
// of the cut file is compared with its picture of the whole. A cut file is refused, or says it
// is incomplete, or is the very picture the whole file gives (the cut lost nothing it uses); a
// cut file read as complete with other pixels than the whole file's aborts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "FuzzSupport.h"
#include "afx/afx.h"
#include "foundation/SECDib.h"
#include "foundation/SECJpeg.h"
#include "foundation/SECPcx.h"
#include "foundation/SECTNBitmap.h"
#include "foundation/SECTarga.h"
#include "foundation/SECTiff.h"
#include "ole/ole.h"

using namespace kelpwood::foundation;

namespace {

void LoadAndSave(SECImage& image, const uint8_t* data, size_t size) {
  CMemFile file;
  fuzz::Fill(file, data, size);
  if (!image.LoadImage(&file)) return;
  CMemFile out;
  image.SaveImage(&out);
}

// A picture object made from the bytes as the picture view makes it; null when it is refused.
IPicture* MakePicture(const uint8_t* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(size, 1));
  if (block == nullptr) return nullptr;
  if (size > 0) std::memcpy(GlobalLock(block), data, size), GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return nullptr;
  }
  IPicture* picture = nullptr;
  const HRESULT hr =
      OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  stream->Release();
  return SUCCEEDED(hr) ? picture : nullptr;
}

// The picture drawn small and saved.
void LoadPicture(const uint8_t* data, size_t size) {
  IPicture* picture = MakePicture(data, size);
  if (picture == nullptr) return;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture->get_Width(&width);
  picture->get_Height(&height);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  picture->Render(dc, 0, 0, 16, 16, 0, height, width, -height, nullptr);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  IStream* saved = nullptr;
  if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &saved))) {
    LONG written = 0;
    picture->SaveAsFile(saved, TRUE, &written);
    saved->Release();
  }
  picture->Release();
}

// What a reader made of a file: nothing, or a picture complete or not, with its pixels.
struct Reading {
  bool loaded = false;
  bool incomplete = false;
  long width = 0, height = 0;
  std::vector<uint8_t> pixels;  // rows and colours, in the reader's own form
  bool operator==(const Reading&) const = default;
};

Reading ReadPicture(const uint8_t* data, size_t size) {
  Reading reading;
  IPicture* picture = MakePicture(data, size);
  if (picture == nullptr) return reading;
  OLE_HANDLE handle = 0;
  DIBSECTION section{};
  picture->get_Handle(&handle);
  if (GetObject(reinterpret_cast<HBITMAP>(handle), sizeof section, &section) == sizeof section &&
      section.dsBm.bmBits != nullptr) {
    reading.loaded = true;
    reading.incomplete = brambolt::ole::IsPictureIncomplete(picture);
    reading.width = section.dsBm.bmWidth;
    reading.height = section.dsBm.bmHeight;
    const auto* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    reading.pixels.assign(bits, bits + static_cast<size_t>(section.dsBm.bmWidthBytes) * std::abs(section.dsBm.bmHeight));
  }
  picture->Release();
  return reading;
}

Reading ReadImage(SECImage& image, const uint8_t* data, size_t size) {
  Reading reading;
  CMemFile file;
  fuzz::Fill(file, data, size);
  if (!image.LoadImage(&file) || image.GetBits() == nullptr) return reading;
  reading.loaded = true;
  reading.incomplete = image.IsIncomplete() != FALSE;
  reading.width = image.GetWidth();
  reading.height = image.GetHeight();
  // The pixels of each row without its padding, then the colour table.
  const size_t packed = SECImage::PackedRowBytes(image.GetBitsPerPixel(), image.GetWidth());
  const size_t stride = image.AreRowsPadded() ? SECImage::PaddedRowBytes(image.GetBitsPerPixel(), image.GetWidth()) : packed;
  for (LONG y = 0; y < image.GetHeight(); ++y) {
    const uint8_t* row = image.GetBits() + stride * static_cast<size_t>(y);
    reading.pixels.insert(reading.pixels.end(), row, row + packed);
  }
  if (image.GetColorTable() != nullptr) {
    const auto* table = reinterpret_cast<const uint8_t*>(image.GetColorTable());
    reading.pixels.insert(reading.pixels.end(), table, table + 4 * static_cast<size_t>(image.GetColorCount()));
  }
  return reading;
}

// The whole file after two bytes that say where it is cut.
template <class Read>
void CompareCut(const uint8_t* data, size_t size, Read read) {
  if (size < 3) return;
  const size_t keep = (data[0] | data[1] << 8) % (size - 2);
  data += 2;
  size -= 2;
  const Reading cut = read(data, keep);
  if (!cut.loaded || cut.incomplete) return;
  // Damage past the cut may make the whole file refused; then there is nothing to compare with.
  const Reading whole = read(data, size);
  if (whole.loaded && !(whole == cut)) std::abort();  // a cut file read as a whole picture it is not
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 7;
  const bool cut = data[0] >= 7;
  ++data;
  --size;
  if (cut && kind == 1) {
    CompareCut(data, size, [](const uint8_t* bytes, size_t n) {
      SECPcx pcx;
      return ReadImage(pcx, bytes, n);
    });
    return 0;
  }
  if (cut && kind == 3) {
    CompareCut(data, size, [](const uint8_t* bytes, size_t n) {
      SECJpeg jpeg;
      return ReadImage(jpeg, bytes, n);
    });
    return 0;
  }
  if (cut && kind == 6) {
    CompareCut(data, size, ReadPicture);
    return 0;
  }
  switch (kind) {
    case 0: {
      SECDib dib;
      LoadAndSave(dib, data, size);
      break;
    }
    case 1: {
      SECPcx pcx;
      LoadAndSave(pcx, data, size);
      break;
    }
    case 2: {
      SECTarga targa;
      LoadAndSave(targa, data, size);
      break;
    }
    case 3: {
      SECJpeg jpeg;
      LoadAndSave(jpeg, data, size);
      break;
    }
    case 4: {
      // libtiff reads from a file.
      const std::string path = fuzz::WriteFile("image.tif", data, size);
      SECTiff tiff;
      if (tiff.LoadImage(path.c_str())) tiff.SaveImage(path.c_str());
      std::error_code error;
      std::filesystem::remove(path, error);
      break;
    }
    case 6:
      LoadPicture(data, size);
      break;
    default: {
      CMemFile file;
      fuzz::Fill(file, data, size);
      SECTNBitmap bitmap;
      try {
        CArchive ar(&file, CArchive::load);
        bitmap.Serialize(ar);
      } catch (CException* e) {
        e->Delete();
      }
      break;
    }
  }
  return 0;
}
