// Fuzz target: the image formats (BMP, PCX, Targa, JPEG, TIFF), the thumbnail stream and the
// platform's picture object (BMP/DIB, ICO, GIF and JPEG files), chosen by the first byte; a
// picture that loads is drawn and saved again.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>

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

// A picture object made from the bytes as the picture view makes it, drawn small and saved.
void LoadPicture(const uint8_t* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(size, 1));
  if (block == nullptr) return;
  if (size > 0) std::memcpy(GlobalLock(block), data, size), GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return;
  }
  IPicture* picture = nullptr;
  const HRESULT hr =
      OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || picture == nullptr) return;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 7;
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
