// COleDataObject: the framework's reader over a data object.
#include "ole/COleDataObject.h"

#include "base/GlobalMemory.h"

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
  Release();
  object_ = lpDataObject;
  autoRelease_ = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
  if (formats_) formats_->Release();
  formats_ = nullptr;
  LPDATAOBJECT object = object_;
  object_ = nullptr;
  return object;
}

void COleDataObject::Release() {
  LPDATAOBJECT object = Detach();
  if (object && autoRelease_) object->Release();
}

BOOL COleDataObject::AttachClipboard() {
  LPDATAOBJECT object = nullptr;
  if (FAILED(OleGetClipboard(&object))) return FALSE;
  Attach(object, TRUE);
  return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef) {
  if (object_ && bAddRef) object_->AddRef();
  return object_;
}

namespace {

FORMATETC FormatOf(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  FORMATETC f = lpFormatEtc ? *lpFormatEtc : FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  f.cfFormat = cfFormat;
  return f;
}

}  // namespace

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  if (object_ == nullptr) return FALSE;
  FORMATETC f = FormatOf(cfFormat, lpFormatEtc);
  return object_->QueryGetData(&f) == S_OK ? TRUE : FALSE;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
  if (object_ == nullptr || lpStgMedium == nullptr) return FALSE;
  FORMATETC f = FormatOf(cfFormat, lpFormatEtc);
  *lpStgMedium = STGMEDIUM{};
  return SUCCEEDED(object_->GetData(&f, lpStgMedium)) ? TRUE : FALSE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  FORMATETC f = FormatOf(cfFormat, lpFormatEtc);
  f.tymed = TYMED_HGLOBAL;
  STGMEDIUM medium;
  if (!GetData(cfFormat, &medium, &f)) return nullptr;
  if (medium.tymed != TYMED_HGLOBAL) {
    ReleaseStgMedium(&medium);
    return nullptr;
  }
  if (medium.pUnkForRelease == nullptr) return medium.hGlobal;
  // The block belongs to the data object: the caller gets a copy of its own.
  HGLOBAL copy = brambolt::ole::CopyGlobal(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return copy;
}

void COleDataObject::BeginEnumFormats() {
  if (formats_) formats_->Release();
  formats_ = nullptr;
  if (object_ && FAILED(object_->EnumFormatEtc(DATADIR_GET, &formats_))) formats_ = nullptr;
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc) {
  if (formats_ == nullptr || lpFormatEtc == nullptr) return FALSE;
  ULONG fetched = 0;
  return formats_->Next(1, lpFormatEtc, &fetched) == S_OK && fetched == 1 ? TRUE : FALSE;
}
