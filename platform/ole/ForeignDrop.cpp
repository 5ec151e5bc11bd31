// Drags from other programs onto this program's registered drop targets: a data object over what
// the other program offers (fetched when a target asks for it) and the target tracking of
// DoDragDrop.
#include <memory>
#include <optional>

#include "backend/DropFiles.h"
#include "base/Convert.h"
#include "base/GlobalMemory.h"
#include "ole/DropTracker.h"

namespace brambolt::ole {
namespace {

HGLOBAL BlockOf(const std::string& bytes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (h != nullptr) {
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
  }
  return h;
}

// The text as CF_TEXT in the code page and the files as a CF_HDROP block; fetched once, on the
// first GetData, from the other program.
class ForeignData final : public RefCounted<IDataObject, IID_IDataObject> {
 public:
  explicit ForeignData(const ForeignDrag& drag) : drag_(drag) {}

  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format == nullptr || medium == nullptr) return E_INVALIDARG;
    *medium = STGMEDIUM{};
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    std::optional<std::string>& bytes = format->cfFormat == CF_TEXT ? text_ : files_;
    if (!bytes) bytes = Fetch(format->cfFormat);
    if (bytes->empty()) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = BlockOf(*bytes);
    return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC* format) override {
    if (format == nullptr) return E_INVALIDARG;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    bool offered = (format->cfFormat == CF_TEXT && drag_.offersText) || (format->cfFormat == CF_HDROP && drag_.offersFiles);
    return offered ? S_OK : DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> list;
    if (drag_.offersText) list.push_back(FORMATETC{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    if (drag_.offersFiles) list.push_back(FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    return MakeFormatEnumerator(list, formats);
  }

 private:
  // The bytes of the block; empty when the other program gave nothing.
  std::string Fetch(CLIPFORMAT format) {
    if (format == CF_TEXT) {
      std::string utf8;
      if (!drag_.text || !drag_.text(utf8)) return {};
      return Utf8ToAnsi(utf8) + '\0';
    }
    std::vector<std::string> files;
    if (!drag_.files || !drag_.files(files) || files.empty()) return {};
    DROPFILES header{sizeof(DROPFILES), {0, 0}, FALSE, FALSE};
    std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
    for (const std::string& f : files) block += f + '\0';
    return block + '\0';
  }

  ForeignDrag drag_;
  std::optional<std::string> text_, files_;
};

class Targets final : public ForeignDropTargets {
 public:
  DWORD DragOver(POINT screen, DWORD keys, DWORD allowed, const ForeignDrag& drag) override {
    if (!tracker_) {
      data_ = new ForeignData(drag);
      tracker_ = std::make_unique<DropTracker>(data_, allowed);
    }
    return tracker_->Move(screen, keys) & ~DROPEFFECT_SCROLL;
  }
  void DragLeave() override {
    if (tracker_) tracker_->Leave();
    End();
  }
  DWORD Drop(DWORD keys) override {
    DWORD effect = tracker_ ? tracker_->Drop(keys) : DROPEFFECT_NONE;
    End();
    return effect;
  }

 private:
  void End() {
    tracker_.reset();
    if (data_) data_->Release();
    data_ = nullptr;
  }

  ForeignData* data_ = nullptr;
  std::unique_ptr<DropTracker> tracker_;
};

}  // namespace

void InstallForeignDropTargets() {
  static Targets* targets = new Targets;
  if (GetForeignDropTargets() != targets) SetForeignDropTargets(targets);
}

}  // namespace brambolt::ole
