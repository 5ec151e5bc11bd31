// Fuzz target: what other programs hand over by drag and drop or the clipboard, chosen by the first
// byte: a dropped file block (its names and point), a text/uri-list of files (which must come
// back the same from the list written for them), and text on the clipboard in each text format,
// read back in every text format and through the OLE clipboard.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "backend/DropFiles.h"
#include "base/GlobalMemory.h"
#include "ole/ole.h"
#include "win/win.h"

namespace {

HGLOBAL BlockOf(const uint8_t* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block != nullptr && size > 0) {
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
  }
  return block;
}

void ReadDrop(const uint8_t* data, size_t size) {
  HGLOBAL block = BlockOf(data, size);
  if (block == nullptr) return;
  auto drop = static_cast<HDROP>(block);
  const UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::string name(DragQueryFile(drop, i, nullptr, 0), '\0');
    DragQueryFile(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
  }
  POINT point;
  DragQueryPoint(drop, &point);
  DragFinish(drop);
}

void ReadUriList(const uint8_t* data, size_t size) {
  const std::vector<std::string> files =
      brambolt::FilesOfUriList(std::string_view(reinterpret_cast<const char*>(data), size));
  if (brambolt::FilesOfUriList(brambolt::UriListOfFiles(files)) != files) std::abort();
}

void ReadClipboardText(UINT format, const uint8_t* data, size_t size) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  if (HGLOBAL block = BlockOf(data, size); block != nullptr && SetClipboardData(format, block) == nullptr)
    GlobalFree(block);
  for (UINT read : {UINT{CF_TEXT}, UINT{CF_UNICODETEXT}, UINT{CF_OEMTEXT}})
    if (HANDLE text = GetClipboardData(read)) GlobalSize(text);
  CloseClipboard();
  {
    COleDataObject object;
    if (object.AttachClipboard())
      if (HGLOBAL copy = object.GetGlobalData(CF_TEXT)) GlobalFree(copy);
  }
  // Nothing stays on the clipboard after the input.
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 5;
  ++data;
  --size;
  switch (kind) {
    case 0:
      ReadDrop(data, size);
      break;
    case 1:
      ReadUriList(data, size);
      break;
    case 2:
      ReadClipboardText(CF_TEXT, data, size);
      break;
    case 3:
      ReadClipboardText(CF_UNICODETEXT, data, size);
      break;
    default:
      ReadClipboardText(CF_OEMTEXT, data, size);
      break;
  }
  return 0;
}
