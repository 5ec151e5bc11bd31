// The framework's data object: a reader of a data object from the clipboard or a drop.
#pragma once

#include "ole/OleIdl.h"

class COleDataObject {
 public:
  COleDataObject() = default;
  ~COleDataObject();
  COleDataObject(const COleDataObject&) = delete;
  COleDataObject& operator=(const COleDataObject&) = delete;

  void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
  LPDATAOBJECT Detach();
  void Release();
  // Attaches what the clipboard holds now.
  BOOL AttachClipboard();
  LPDATAOBJECT GetIDataObject(BOOL bAddRef);

  BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
  // The medium is the caller's: free it with ReleaseStgMedium.
  BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
  // A memory block of the caller's (GlobalFree), null when the format is not there.
  HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

  void BeginEnumFormats();
  BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

 private:
  LPDATAOBJECT object_ = nullptr;
  BOOL autoRelease_ = TRUE;
  LPENUMFORMATETC formats_ = nullptr;
};
