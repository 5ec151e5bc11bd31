// Fuzz target: resource templates (dialog, menu, accelerators, icon directory, toolbar) and
// resource images (icon and cursor images, bitmap files), chosen by the first byte.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "FuzzSupport.h"
#include "afx/afx.h"
#include "res/ResourceTemplates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 8;
  // An exact copy: a read past its end is one past the allocation.
  std::vector<BYTE> bytes(data + 1, data + size);
  const BYTE* p = bytes.data();
  const size_t n = bytes.size();
  switch (kind) {
    case 0: brambolt::ParseDialogTemplate(p, n); break;
    case 1: brambolt::ParseMenuTemplate(p, n); break;
    case 2: brambolt::ParseAcceleratorTable(p, n); break;
    case 3:
      brambolt::ParseIconDirectory(p, n, true);
      brambolt::BestIconId(p, n, true, 16, 16);
      brambolt::BestIconId(p, n, false, 0, 0);
      break;
    case 4: brambolt::ParseToolbarTemplate(p, n); break;
    case 5:
    case 6:
      if (HICON icon = CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(n), kind == 5, 0x00030000, 0, 0, 0))
        DestroyIcon(icon);
      break;
    default: {
      const std::string path = fuzz::WriteFile("image.bmp", p, n);
      for (UINT flags : {UINT{LR_LOADFROMFILE}, UINT{LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS}})
        if (HANDLE image = LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, flags))
          DeleteObject(static_cast<HBITMAP>(image));
      std::error_code error;
      std::filesystem::remove(path, error);
      break;
    }
  }
  return 0;
}
