// The picture object: a decoded image held as a 32-bit DIB section, measured in HIMETRIC at
// 96 dpi, drawn with its transparency, and saved as BMP or ICO.
#include "ole/Picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gdi/gdi.h"
#include "ole/PictureCodecs.h"

namespace brambolt::ole {
namespace {

// HIMETRIC (hundredths of a millimetre) at 96 pixels an inch, as the screen measures pictures; a
// program converting back with the same numbers gets its pixels again.
LONG ToHimetric(int pixels) { return MulDiv(pixels, 2540, 96); }

// A property's value into the caller's variable.
template <class T, class V>
HRESULT Answer(T* out, V value) {
  if (out == nullptr) return E_POINTER;
  *out = static_cast<T>(value);
  return S_OK;
}

class PictureObject final : public RefCounted<IPicture, IID_IPicture> {
 public:
  explicit PictureObject(PictureImage image) : image_(std::move(image)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image_.width;
    info.bmiHeader.biHeight = -image_.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bits != nullptr) std::memcpy(bits, image_.pixels.data(), image_.pixels.size() * sizeof(uint32_t));
  }
  ~PictureObject() override {
    if (bitmap_) DeleteObject(bitmap_);
  }
  bool Valid() const { return bitmap_ != nullptr; }
  bool Incomplete() const { return image_.incomplete; }

  STDMETHODIMP get_Handle(OLE_HANDLE* pHandle) override { return Answer(pHandle, reinterpret_cast<OLE_HANDLE>(bitmap_)); }
  STDMETHODIMP get_hPal(OLE_HANDLE* phPal) override { return Answer(phPal, 0); }
  STDMETHODIMP get_Type(SHORT* pType) override { return Answer(pType, image_.icon ? PICTYPE_ICON : PICTYPE_BITMAP); }
  STDMETHODIMP get_Width(OLE_XSIZE_HIMETRIC* pWidth) override { return Answer(pWidth, ToHimetric(image_.width)); }
  STDMETHODIMP get_Height(OLE_YSIZE_HIMETRIC* pHeight) override { return Answer(pHeight, ToHimetric(image_.height)); }
  STDMETHODIMP Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                      OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT) override {
    if (hDC == nullptr || cxSrc == 0 || cySrc == 0) return E_INVALIDARG;
    // HIMETRIC times pixels passes the range of int from about 9,000 pixels on: scale in doubles,
    // and keep what a source rectangle far beyond the picture gives within int.
    const double width = image_.width, height = image_.height;
    const double hmWidth = ToHimetric(image_.width), hmHeight = ToHimetric(image_.height);
    auto px = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9))); };
    int sx = px(xSrc * width / hmWidth), sw = px(cxSrc * width / hmWidth);
    int sy = px((hmHeight - ySrc) * height / hmHeight), sh = px(-static_cast<double>(cySrc) * height / hmHeight);
    if (sh < 0) {
      // Measured downward from the bottom: the picture is drawn upside down, over the same rows
      // (a negative height runs up from the row it starts at, that row included).
      sy += sh;
      sh = -sh;
      y += cy > 0 ? cy - 1 : cy + 1;
      cy = -cy;
    }
    HDC memory = CreateCompatibleDC(hDC);
    HGDIOBJ old = SelectObject(memory, bitmap_);
    BOOL ok;
    if (image_.transparent && cy > 0) {
      BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      ok = AlphaBlend(hDC, x, y, cx, cy, memory, sx, sy, sw, sh, blend);
    } else {
      ok = StretchBlt(hDC, x, y, cx, cy, memory, sx, sy, sw, sh, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    return ok ? S_OK : E_FAIL;
  }
  STDMETHODIMP set_hPal(OLE_HANDLE) override { return S_OK; }
  STDMETHODIMP get_CurDC(HDC* phDC) override { return Answer(phDC, currentDC_); }
  STDMETHODIMP SelectPicture(HDC hDCIn, HDC* phDCOut, OLE_HANDLE* phBmpOut) override {
    if (phDCOut) *phDCOut = currentDC_;
    if (phBmpOut) *phBmpOut = reinterpret_cast<OLE_HANDLE>(bitmap_);
    if (hDCIn) SelectObject(hDCIn, bitmap_);
    currentDC_ = hDCIn;
    return S_OK;
  }
  STDMETHODIMP get_KeepOriginalFormat(BOOL* pKeep) override { return Answer(pKeep, FALSE); }
  STDMETHODIMP put_KeepOriginalFormat(BOOL) override { return S_OK; }
  STDMETHODIMP PictureChanged() override { return S_OK; }
  STDMETHODIMP SaveAsFile(LPSTREAM pStream, BOOL, LONG* pCbSize) override {
    if (pStream == nullptr) return E_POINTER;
    std::vector<uint8_t> bytes = image_.icon ? EncodeIco(image_) : EncodeBmp(image_);
    ULONG written = 0;
    HRESULT hr = pStream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (pCbSize) *pCbSize = static_cast<LONG>(written);
    return FAILED(hr) ? hr : (written == bytes.size() ? S_OK : STG_E_MEDIUMFULL);
  }
  STDMETHODIMP get_Attributes(DWORD* pDwAttr) override { return Answer(pDwAttr, image_.transparent ? PICTURE_TRANSPARENT : 0); }

 private:
  PictureImage image_;
  HBITMAP bitmap_ = nullptr;
  HDC currentDC_ = nullptr;
};

// The bytes of a stream: `size` of them, or all that remain when size is 0.
bool ReadStream(LPSTREAM stream, LONG size, std::vector<uint8_t>& out) {
  constexpr ULONG kPiece = 64 * 1024;
  for (;;) {
    ULONG want = size > 0 ? static_cast<ULONG>(std::min<size_t>(kPiece, size - out.size())) : kPiece;
    if (want == 0) return true;
    size_t at = out.size();
    out.resize(at + want);
    ULONG got = 0;
    if (FAILED(stream->Read(out.data() + at, want, &got))) return false;
    out.resize(at + got);
    if (got < want) return true;  // the stream ended
  }
}

bool Decode(ByteSpan bytes, PictureImage& image) {
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes, image);
  if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0) return DecodeIco(bytes, image);
  if (bytes.size() >= 4 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F') return DecodeGif(bytes, image);
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) return DecodeJpeg(bytes, image);
  return false;  // metafiles (EMF, WMF) and anything else cannot be loaded
}

}  // namespace

bool IsPictureIncomplete(IPicture* picture) {
  const auto* object = dynamic_cast<const PictureObject*>(picture);
  return object != nullptr && object->Incomplete();
}

}  // namespace brambolt::ole

HRESULT OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL, REFIID riid, LPVOID* lplpvObj) {
  if (lplpvObj == nullptr) return E_POINTER;
  *lplpvObj = nullptr;
  if (lpstream == nullptr) return E_POINTER;
  if (riid != IID_IPicture && riid != IID_IUnknown) return E_NOINTERFACE;
  std::vector<uint8_t> bytes;
  if (!brambolt::ole::ReadStream(lpstream, lSize, bytes)) return E_FAIL;
  brambolt::ole::PictureImage image;
  if (!brambolt::ole::Decode(bytes, image)) return CTL_E_INVALIDPICTURE;
  auto* picture = new brambolt::ole::PictureObject(std::move(image));
  if (!picture->Valid()) {
    picture->Release();
    return E_OUTOFMEMORY;
  }
  *lplpvObj = static_cast<IPicture*>(picture);
  return S_OK;
}
