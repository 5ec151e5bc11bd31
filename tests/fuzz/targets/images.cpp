// Fuzz target: the image formats (BMP, PCX, Targa, JPEG, TIFF) and the thumbnail stream, chosen by
// the first byte; a picture that loads is saved again in its format.
#include <cstdint>
#include <filesystem>

#include "FuzzSupport.h"
#include "afx/afx.h"
#include "foundation/SECDib.h"
#include "foundation/SECJpeg.h"
#include "foundation/SECPcx.h"
#include "foundation/SECTNBitmap.h"
#include "foundation/SECTarga.h"
#include "foundation/SECTiff.h"

using namespace kelpwood::foundation;

namespace {

void LoadAndSave(SECImage& image, const uint8_t* data, size_t size) {
  CMemFile file;
  fuzz::Fill(file, data, size);
  if (!image.LoadImage(&file)) return;
  CMemFile out;
  image.SaveImage(&out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 6;
  ++data;
  --size;
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
