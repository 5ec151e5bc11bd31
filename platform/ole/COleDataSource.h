// The framework's data source: formats cached as memory blocks or rendered on request, offered on
// the OLE clipboard or by a drag.
#pragma once

#include <vector>

#include "afx/CCmdTarget.h"
#include "ole/OleIdl.h"

class COleDropSource;

// Reference counted as the framework's OLE objects are: it starts at one (the creator's), and the
// object deletes itself (OnFinalRelease) when the count drops to zero. SetClipboard hands the
// creator's reference to the clipboard; after DoDragDrop the creator releases its own with
// InternalRelease (or deletes a data source it made on the stack in the usual way).
class COleDataSource : public CCmdTarget {
  DECLARE_DYNAMIC(COleDataSource)
 public:
  COleDataSource();
  ~COleDataSource() override;

  // Offers hGlobal (which the data source now owns) under cfFormat.
  void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
  void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
  // Offers cfFormat, rendered by OnRenderGlobalData (or OnRenderData) when it is asked for.
  void DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
  void Empty();

  // The clipboard takes this data source and the creator's reference.
  void SetClipboard();
  static void PASCAL FlushClipboard();
  // The data source on the clipboard when it is one of this process, else null.
  static COleDataSource* PASCAL GetClipboardOwner();

  // Lets the user drag the data: once the mouse leaves lpRectStartDrag (screen coordinates; a
  // small square around the cursor when null) or the drag delay passes with the button held, the
  // drag runs. The effect the drop had, DROPEFFECT_NONE when there was none.
  DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                        LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

  virtual BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
  virtual BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium);
  virtual BOOL OnSetData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium, BOOL bRelease);

  DWORD InternalAddRef();
  DWORD InternalRelease();
  DWORD ExternalAddRef() { return InternalAddRef(); }
  DWORD ExternalRelease() { return InternalRelease(); }
  virtual void OnFinalRelease();
  // The data object interface of this source (a new reference when bAddRef).
  LPDATAOBJECT GetDataObject(BOOL bAddRef = FALSE);

 private:
  struct Entry {
    FORMATETC format;
    STGMEDIUM medium;  // TYMED_NULL: rendered on request
  };
  struct DataObject;
  Entry* Find(const FORMATETC& format);
  HRESULT GetData(FORMATETC* format, STGMEDIUM* medium);

  std::vector<Entry> entries_;
  DWORD m_dwRef = 1;
  DataObject* dataObject_;
};
