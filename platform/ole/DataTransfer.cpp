// What every data object shares: media release, HGLOBAL copies and the format enumerator.
#include <cstring>

#include "base/GlobalMemory.h"
#include "ole/OleIdl.h"

namespace brambolt::ole {
namespace {

class FormatEnumerator final : public RefCounted<IEnumFORMATETC, IID_IEnumFORMATETC> {
 public:
  explicit FormatEnumerator(std::vector<FORMATETC> formats, size_t next = 0)
      : formats_(std::move(formats)), next_(next) {}

  STDMETHODIMP Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override {
    ULONG n = 0;
    while (n < celt && next_ < formats_.size()) rgelt[n++] = formats_[next_++];
    if (pceltFetched) *pceltFetched = n;
    return n == celt ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG celt) override {
    next_ = std::min(formats_.size(), next_ + celt);
    return next_ < formats_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumFORMATETC** ppenum) override {
    if (ppenum == nullptr) return E_POINTER;
    *ppenum = new FormatEnumerator(formats_, next_);
    return S_OK;
  }

 private:
  std::vector<FORMATETC> formats_;
  size_t next_;
};

}  // namespace

HGLOBAL CopyGlobal(HGLOBAL source) {
  if (source == nullptr) return nullptr;
  SIZE_T size = GlobalSize(source);
  const void* from = GlobalLock(source);
  if (from == nullptr) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (copy != nullptr) {
    std::memcpy(GlobalLock(copy), from, size);
    GlobalUnlock(copy);
  }
  GlobalUnlock(source);
  return copy;
}

HRESULT MakeFormatEnumerator(const std::vector<FORMATETC>& formats, IEnumFORMATETC** ppenum) {
  if (ppenum == nullptr) return E_POINTER;
  *ppenum = new FormatEnumerator(formats);
  return S_OK;
}

}  // namespace brambolt::ole

void ReleaseStgMedium(LPSTGMEDIUM pmedium) {
  if (pmedium == nullptr) return;
  if (pmedium->pUnkForRelease != nullptr) {
    pmedium->pUnkForRelease->Release();
  } else {
    switch (pmedium->tymed) {
      case TYMED_HGLOBAL: GlobalFree(pmedium->hGlobal); break;
      case TYMED_GDI: DeleteObject(pmedium->hBitmap); break;
      case TYMED_FILE: CoTaskMemFree(pmedium->lpszFileName); break;
      case TYMED_ISTREAM:
        if (pmedium->pstm) pmedium->pstm->Release();
        break;
      default: break;
    }
  }
  pmedium->tymed = TYMED_NULL;
  pmedium->hGlobal = nullptr;
  pmedium->pUnkForRelease = nullptr;
}
