// Streams over global memory blocks (CreateStreamOnHGlobal).
#include <algorithm>
#include <cstring>

#include "base/GlobalMemory.h"
#include "ole/Picture.h"

namespace {

// Asked of a stream to learn whether it is one of these, and so to reach its block.
DEFINE_GUID(IID_GlobalStreamOfThisProcess, 0x2E6B9C41, 0x7D05, 0x4F3A, 0xB8, 0x62, 0x19, 0xC4, 0x5E, 0xA7, 0x03, 0xD6);

class GlobalStream final : public brambolt::ole::RefCounted<IStream, IID_IStream> {
 public:
  GlobalStream(HGLOBAL block, bool deleteOnRelease, size_t size)
      : block_(block), deleteOnRelease_(deleteOnRelease), size_(size) {}
  ~GlobalStream() override {
    if (deleteOnRelease_) GlobalFree(block_);
  }

  HGLOBAL Block() const { return block_; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (ppv != nullptr && riid == IID_GlobalStreamOfThisProcess) {
      *ppv = this;
      return S_OK;
    }
    return RefCounted::QueryInterface(riid, ppv);
  }
  STDMETHODIMP Read(void* pv, ULONG cb, ULONG* pcbRead) override {
    size_t n = position_ < size_ ? std::min<size_t>(cb, size_ - position_) : 0;
    if (n > 0) {
      std::memcpy(pv, static_cast<const char*>(GlobalLock(block_)) + position_, n);
      GlobalUnlock(block_);
      position_ += n;
    }
    if (pcbRead) *pcbRead = static_cast<ULONG>(n);
    return n == cb ? S_OK : S_FALSE;
  }
  STDMETHODIMP Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
    if (pcbWritten) *pcbWritten = 0;
    if (position_ + cb > size_ && !Resize(position_ + cb)) return STG_E_MEDIUMFULL;
    if (cb > 0) {
      std::memcpy(static_cast<char*>(GlobalLock(block_)) + position_, pv, cb);
      GlobalUnlock(block_);
    }
    position_ += cb;
    if (pcbWritten) *pcbWritten = cb;
    return S_OK;
  }
  STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
    long long base = origin == STREAM_SEEK_SET ? 0 : origin == STREAM_SEEK_CUR ? static_cast<long long>(position_)
                     : origin == STREAM_SEEK_END ? static_cast<long long>(size_) : -1;
    if (base < 0 || base + move.QuadPart < 0) return STG_E_INVALIDFUNCTION;
    position_ = static_cast<size_t>(base + move.QuadPart);
    if (newPosition) newPosition->QuadPart = position_;
    return S_OK;
  }
  STDMETHODIMP SetSize(ULARGE_INTEGER size) override {
    return Resize(static_cast<size_t>(size.QuadPart)) ? S_OK : STG_E_MEDIUMFULL;
  }
  STDMETHODIMP CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override {
    size_t n = position_ < size_ ? std::min<size_t>(static_cast<size_t>(cb.QuadPart), size_ - position_) : 0;
    ULONG written = 0;
    HRESULT hr = S_OK;
    if (n > 0) {
      hr = target->Write(static_cast<const char*>(GlobalLock(block_)) + position_, static_cast<ULONG>(n), &written);
      GlobalUnlock(block_);
    }
    position_ += n;
    if (pcbRead) pcbRead->QuadPart = n;
    if (pcbWritten) pcbWritten->QuadPart = written;
    return hr;
  }
  STDMETHODIMP Commit(DWORD) override { return S_OK; }
  STDMETHODIMP Revert() override { return S_OK; }
  STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  STDMETHODIMP Stat(STATSTG* stat, DWORD) override {
    if (stat == nullptr) return E_POINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = size_;
    return S_OK;
  }
  STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

 private:
  // The block grows in doubling steps so that a stream written in small pieces stays linear.
  bool Resize(size_t size) {
    size_t capacity = GlobalSize(block_);
    if (size > capacity) {
      HGLOBAL grown = GlobalReAlloc(block_, std::max(size, capacity * 2), GMEM_MOVEABLE);
      if (grown == nullptr) return false;
      block_ = grown;
    }
    size_ = size;
    return true;
  }

  HGLOBAL block_;
  bool deleteOnRelease_;
  size_t size_;
  size_t position_ = 0;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm) {
  if (ppstm == nullptr) return E_INVALIDARG;
  *ppstm = nullptr;
  // A new stream is empty; its block starts with room to grow into.
  size_t size = hGlobal ? GlobalSize(hGlobal) : 0;
  if (hGlobal == nullptr) {
    hGlobal = GlobalAlloc(GMEM_MOVEABLE, 4096);
    if (hGlobal == nullptr) return E_OUTOFMEMORY;
  }
  *ppstm = new GlobalStream(hGlobal, fDeleteOnRelease != FALSE, size);
  return S_OK;
}

HRESULT GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal) {
  if (pstm == nullptr || phglobal == nullptr) return E_INVALIDARG;
  GlobalStream* stream = nullptr;
  if (FAILED(pstm->QueryInterface(IID_GlobalStreamOfThisProcess, reinterpret_cast<void**>(&stream))) || !stream)
    return E_INVALIDARG;
  *phglobal = stream->Block();
  return S_OK;
}
