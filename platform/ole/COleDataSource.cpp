// COleDataSource: the cached and delayed formats and the data object interface over them.
#include "ole/COleDataSource.h"

#include "base/GlobalMemory.h"
#include "ole/COleDropSource.h"

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

namespace {

// Asked of a data object to learn whether it is a COleDataSource of this process.
DEFINE_GUID(IID_DataSourceOfThisProcess, 0x6D1C2B7E, 0x3A4F, 0x4B8D, 0x9E, 0x21, 0x5C, 0x7A, 0x0F, 0x3D, 0x88, 0x14);

}  // namespace

struct COleDataSource::DataObject final : IDataObject {
  explicit DataObject(COleDataSource* source) : owner(source) {}
  virtual ~DataObject() = default;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    if (riid == IID_DataSourceOfThisProcess) {
      *ppv = owner;
      return S_OK;
    }
    *ppv = riid == IID_IUnknown || riid == IID_IDataObject ? this : nullptr;
    if (*ppv == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return owner->InternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return owner->InternalRelease(); }
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override { return owner->GetData(format, medium); }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC* format) override {
    if (format == nullptr) return E_INVALIDARG;
    return owner->Find(*format) ? S_OK : DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
    return owner->OnSetData(format, medium, release) ? S_OK : E_NOTIMPL;
  }
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> list;
    for (const Entry& e : owner->entries_) list.push_back(e.format);
    return brambolt::ole::MakeFormatEnumerator(list, formats);
  }

  COleDataSource* owner;
};

COleDataSource::COleDataSource() : dataObject_(new DataObject(this)) {}

COleDataSource::~COleDataSource() {
  if (OleIsCurrentClipboard(dataObject_) == S_OK) {
    // Destroyed while on the clipboard (one made on the stack): what it offers is rendered now,
    // and the clipboard's release of it must not delete it again.
    m_dwRef = 0x10000;
    OleFlushClipboard();
  }
  Empty();
  delete dataObject_;
}

COleDataSource::Entry* COleDataSource::Find(const FORMATETC& format) {
  for (Entry& e : entries_)
    if (e.format.cfFormat == format.cfFormat && (e.format.tymed & format.tymed) != 0) return &e;
  return nullptr;
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
  FORMATETC format = lpFormatEtc ? *lpFormatEtc : FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, lpStgMedium->tymed};
  format.cfFormat = cfFormat;
  format.tymed = lpStgMedium->tymed;
  for (Entry& e : entries_)
    if (e.format.cfFormat == cfFormat) {
      ReleaseStgMedium(&e.medium);
      e = Entry{format, *lpStgMedium};
      return;
    }
  entries_.push_back(Entry{format, *lpStgMedium});
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = hGlobal;
  CacheData(cfFormat, &medium, lpFormatEtc);
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  FORMATETC format = lpFormatEtc ? *lpFormatEtc : FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  format.cfFormat = cfFormat;
  STGMEDIUM none{};
  for (Entry& e : entries_)
    if (e.format.cfFormat == cfFormat) {
      ReleaseStgMedium(&e.medium);
      e = Entry{format, none};
      return;
    }
  entries_.push_back(Entry{format, none});
}

void COleDataSource::Empty() {
  for (Entry& e : entries_) ReleaseStgMedium(&e.medium);
  entries_.clear();
}

HRESULT COleDataSource::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (format == nullptr || medium == nullptr) return E_INVALIDARG;
  *medium = STGMEDIUM{};
  Entry* e = Find(*format);
  if (e == nullptr) return DV_E_FORMATETC;
  if (e->medium.tymed == TYMED_HGLOBAL) {
    medium->hGlobal = brambolt::ole::CopyGlobal(e->medium.hGlobal);
    if (medium->hGlobal == nullptr) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    return S_OK;
  }
  if (e->medium.tymed != TYMED_NULL) return DV_E_TYMED;
  FORMATETC asked = e->format;
  asked.tymed = format->tymed & e->format.tymed;
  HGLOBAL rendered = nullptr;
  if ((asked.tymed & TYMED_HGLOBAL) && OnRenderGlobalData(&asked, &rendered) && rendered != nullptr) {
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = rendered;
    return S_OK;
  }
  return OnRenderData(&asked, medium) ? S_OK : DV_E_FORMATETC;
}

BOOL COleDataSource::OnRenderGlobalData(LPFORMATETC, HGLOBAL*) { return FALSE; }
BOOL COleDataSource::OnRenderData(LPFORMATETC, LPSTGMEDIUM) { return FALSE; }
BOOL COleDataSource::OnSetData(LPFORMATETC, LPSTGMEDIUM, BOOL) { return FALSE; }

DWORD COleDataSource::InternalAddRef() { return ++m_dwRef; }

DWORD COleDataSource::InternalRelease() {
  DWORD left = --m_dwRef;
  if (left == 0) OnFinalRelease();
  return left;
}

void COleDataSource::OnFinalRelease() { delete this; }

LPDATAOBJECT COleDataSource::GetDataObject(BOOL bAddRef) {
  if (bAddRef) InternalAddRef();
  return dataObject_;
}

void COleDataSource::SetClipboard() {
  if (SUCCEEDED(OleSetClipboard(dataObject_))) InternalRelease();
}

void PASCAL COleDataSource::FlushClipboard() { OleFlushClipboard(); }

COleDataSource* PASCAL COleDataSource::GetClipboardOwner() {
  LPDATAOBJECT object = nullptr;
  if (FAILED(OleGetClipboard(&object)) || object == nullptr) return nullptr;
  COleDataSource* source = nullptr;
  if (FAILED(object->QueryInterface(IID_DataSourceOfThisProcess, reinterpret_cast<void**>(&source)))) source = nullptr;
  object->Release();
  return source;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource) {
  COleDropSource defaultSource;
  COleDropSource* source = pDropSource ? pDropSource : &defaultSource;
  POINT cursor;
  GetCursorPos(&cursor);
  if (lpRectStartDrag != nullptr) {
    source->m_rectStartDrag = *lpRectStartDrag;
  } else {
    source->m_rectStartDrag.SetRect(cursor.x, cursor.y, cursor.x, cursor.y);
    source->m_rectStartDrag.InflateRect(COleDropSource::nDragMinDist, COleDropSource::nDragMinDist);
  }
  // The button held now drops; the other one cancels.
  bool right = GetKeyState(VK_RBUTTON) < 0 && GetKeyState(VK_LBUTTON) >= 0;
  source->m_dwButtonDrop = right ? MK_RBUTTON : MK_LBUTTON;
  source->m_dwButtonCancel = right ? MK_LBUTTON : MK_RBUTTON;
  source->m_bDragStarted = FALSE;
  HWND window = GetCapture() ? GetCapture() : GetFocus();
  if (!source->OnBeginDrag(CWnd::FromHandle(window))) return DROPEFFECT_NONE;
  DWORD effect = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(dataObject_, source->GetDropSource(), dwEffects, &effect);
  return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
