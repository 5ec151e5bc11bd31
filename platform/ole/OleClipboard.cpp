// The OLE clipboard over the window manager's clipboard: a data object set on it is offered there
// with delayed rendering by a hidden owner window, and a data object reads the clipboard back.
#include <mutex>

#include "base/GlobalMemory.h"
#include "ole/OleIdl.h"

namespace {

constexpr char kOwnerClass[] = "BramboltOleClipboardOwner";

// The data object on the clipboard and the window that renders it. Clipboard calls come from
// the user-interface thread; the lock keeps a stray call from another thread sound.
struct OleClipboard {
  std::recursive_mutex mutex;
  LPDATAOBJECT current = nullptr;
  HWND owner = nullptr;
};

OleClipboard& Board() {
  static OleClipboard* board = new OleClipboard;
  return *board;
}

// Lets go of the data object on the clipboard (its formats stay as far as they were rendered).
void Forget() {
  LPDATAOBJECT object;
  {
    OleClipboard& b = Board();
    std::lock_guard<std::recursive_mutex> lock(b.mutex);
    object = b.current;
    b.current = nullptr;
  }
  if (object) object->Release();
}

std::vector<FORMATETC> GlobalFormats(LPDATAOBJECT object) {
  std::vector<FORMATETC> formats;
  IEnumFORMATETC* formatsEnum = nullptr;
  if (FAILED(object->EnumFormatEtc(DATADIR_GET, &formatsEnum)) || formatsEnum == nullptr) return formats;
  FORMATETC f;
  while (formatsEnum->Next(1, &f, nullptr) == S_OK)
    if (f.tymed & TYMED_HGLOBAL) formats.push_back(f);
  formatsEnum->Release();
  return formats;
}

void Render(UINT format) {
  LPDATAOBJECT object;
  {
    OleClipboard& b = Board();
    std::lock_guard<std::recursive_mutex> lock(b.mutex);
    object = b.current;
    if (object == nullptr) return;
    object->AddRef();
  }
  FORMATETC f{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (SUCCEEDED(object->GetData(&f, &medium)) && medium.tymed == TYMED_HGLOBAL) {
    // The clipboard takes a block of its own.
    HGLOBAL block = medium.pUnkForRelease ? brambolt::ole::CopyGlobal(medium.hGlobal) : medium.hGlobal;
    if (medium.pUnkForRelease) ReleaseStgMedium(&medium);
    if (block && !SetClipboardData(format, block)) GlobalFree(block);
  } else if (medium.tymed != TYMED_NULL) {
    ReleaseStgMedium(&medium);
  }
  object->Release();
}

void RenderAll(HWND owner) {
  if (!OpenClipboard(owner)) return;
  // Asking for a format not yet rendered has the owner render it.
  if (GetClipboardOwner() == owner)
    for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) GetClipboardData(f);
  CloseClipboard();
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_RENDERFORMAT: Render(static_cast<UINT>(wParam)); return 0;
    case WM_RENDERALLFORMATS: RenderAll(hwnd); return 0;
    case WM_DESTROYCLIPBOARD: Forget(); return 0;
    case WM_DESTROY:
      // What the clipboard offers stays on it when the thread's windows go.
      RenderAll(hwnd);
      Forget();
      {
        OleClipboard& b = Board();
        std::lock_guard<std::recursive_mutex> lock(b.mutex);
        if (b.owner == hwnd) b.owner = nullptr;
      }
      return 0;
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

HWND Owner() {
  OleClipboard& b = Board();
  std::lock_guard<std::recursive_mutex> lock(b.mutex);
  if (b.owner && IsWindow(b.owner)) return b.owner;
  WNDCLASS wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.lpszClassName = kOwnerClass;
  RegisterClass(&wc);  // fails harmlessly once the class exists
  b.owner = CreateWindowEx(0, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  return b.owner;
}

// Reads the clipboard as it is at each call.
class ClipboardDataObject final : public brambolt::ole::RefCounted<IDataObject, IID_IDataObject> {
 public:
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format == nullptr || medium == nullptr) return E_INVALIDARG;
    *medium = STGMEDIUM{};
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    if (!OpenClipboard(nullptr)) return CLIPBRD_E_CANT_OPEN;
    HGLOBAL copy = brambolt::ole::CopyGlobal(GetClipboardData(format->cfFormat));
    CloseClipboard();
    if (copy == nullptr) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC* format) override {
    if (format == nullptr) return E_INVALIDARG;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    // Opened, the clipboard holds what another program offers now, not what it offered before.
    if (!OpenClipboard(nullptr)) return CLIPBRD_E_CANT_OPEN;
    BOOL available = IsClipboardFormatAvailable(format->cfFormat);
    CloseClipboard();
    return available ? S_OK : DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> list;
    if (OpenClipboard(nullptr)) {
      for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f))
        list.push_back(FORMATETC{static_cast<CLIPFORMAT>(f), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
      CloseClipboard();
    }
    return brambolt::ole::MakeFormatEnumerator(list, formats);
  }
};

}  // namespace

HRESULT OleSetClipboard(LPDATAOBJECT pDataObj) {
  HWND owner = Owner();
  if (owner == nullptr || !OpenClipboard(owner)) return CLIPBRD_E_CANT_OPEN;
  // Emptying tells the owner of the old contents (perhaps our own window: the old object goes).
  EmptyClipboard();
  Forget();
  if (pDataObj != nullptr) {
    pDataObj->AddRef();
    {
      OleClipboard& b = Board();
      std::lock_guard<std::recursive_mutex> lock(b.mutex);
      b.current = pDataObj;
    }
    for (const FORMATETC& f : GlobalFormats(pDataObj)) SetClipboardData(f.cfFormat, nullptr);
  }
  CloseClipboard();
  return S_OK;
}

HRESULT OleGetClipboard(LPDATAOBJECT* ppDataObj) {
  if (ppDataObj == nullptr) return E_INVALIDARG;
  OleClipboard& b = Board();
  {
    std::lock_guard<std::recursive_mutex> lock(b.mutex);
    if (b.current && b.owner && GetClipboardOwner() == b.owner) {
      b.current->AddRef();
      *ppDataObj = b.current;
      return S_OK;
    }
  }
  *ppDataObj = new ClipboardDataObject;
  return S_OK;
}

HRESULT OleFlushClipboard() {
  HWND owner;
  {
    OleClipboard& b = Board();
    std::lock_guard<std::recursive_mutex> lock(b.mutex);
    if (b.current == nullptr) return S_OK;
    owner = b.owner;
  }
  if (owner && IsWindow(owner)) RenderAll(owner);
  Forget();
  return S_OK;
}

HRESULT OleIsCurrentClipboard(LPDATAOBJECT pDataObj) {
  OleClipboard& b = Board();
  std::lock_guard<std::recursive_mutex> lock(b.mutex);
  return pDataObj != nullptr && pDataObj == b.current ? S_OK : S_FALSE;
}
