// Bitmaps, icons and cursors from resources and bitmap files.
#include "afx/ResourceImages.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "afx/AfxResources.h"
#include "afx/CImageList.h"
#include "base/ByteOrder.h"
#include "res/ResourceTemplates.h"
#include "win/Cursors.h"
#include "win/WinUser.h"

namespace {

using brambolt::ByteSpan;
using brambolt::ReadLE16;
using brambolt::ReadLE32;

// The facts of a packed DIB (header, colour table, bits) that loading needs.
struct PackedDib {
  const BYTE* info = nullptr;
  const BYTE* bits = nullptr;
  int width = 0;
  int height = 0;  // as stored: twice the image for icons
  int bitCount = 0;
  size_t headerSize = 0;  // header and colour table
  size_t bitsSize = 0;    // the bytes after them, up to the end of the resource
  DWORD compression = BI_RGB;
  bool core = false;

  // The rows of an image `rows` high, 0 when they overflow.
  unsigned long long RowBytes() const { return ((static_cast<unsigned long long>(width) * bitCount + 31) / 32) * 4; }
  // Whether `rows` rows of pixels fit in the bytes after the header.
  bool RowsFit(unsigned long long rows) const { return rows == 0 || RowBytes() <= bitsSize / rows; }
};

unsigned long long Magnitude(int v) { return v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v); }

bool ReadPackedDib(const BYTE* data, size_t size, PackedDib& dib) {
  if (size < 12) return false;
  const ByteSpan bytes(data, size);
  DWORD headerSize = ReadLE32(bytes);
  dib.info = data;
  if (headerSize == 12) {
    dib.core = true;
    dib.width = ReadLE16(bytes, 4);
    dib.height = static_cast<short>(ReadLE16(bytes, 6));
    dib.bitCount = ReadLE16(bytes, 10);
    if (dib.bitCount > 32) return false;
    size_t colors = dib.bitCount <= 8 ? (size_t{1} << dib.bitCount) : 0;
    dib.headerSize = 12 + colors * 3;
  } else if (headerSize >= 40 && size >= 40) {
    dib.width = static_cast<LONG>(ReadLE32(bytes, 4));
    dib.height = static_cast<LONG>(ReadLE32(bytes, 8));
    dib.bitCount = ReadLE16(bytes, 14);
    dib.compression = ReadLE32(bytes, 16);
    DWORD used = ReadLE32(bytes, 32);
    if (dib.bitCount > 32 || headerSize > size) return false;
    size_t colors = used != 0 ? used : (dib.bitCount <= 8 ? (size_t{1} << dib.bitCount) : 0);
    size_t masks = (dib.compression == BI_BITFIELDS && headerSize == 40) ? 12 : 0;
    dib.headerSize = headerSize + masks + colors * 4;
  } else {
    return false;
  }
  if (dib.width <= 0 || dib.height == 0 || dib.headerSize > size) return false;
  dib.bits = data + dib.headerSize;
  dib.bitsSize = size - dib.headerSize;
  return true;
}

// Copies the header and colour table of a packed DIB whose pixels lie within the resource: rows
// that must fit, or run-length data whose size is cut to the bytes there are. Empty when the
// pixels reach past the end, or when there is no run-length data at all (a size of 0 would tell
// the decoder the size is not known). The copy is aligned wherever the resource's bytes lie.
std::vector<BYTE> CheckedHeader(const BYTE* data, const PackedDib& dib) {
  std::vector<BYTE> copy(data, data + dib.headerSize);
  if (dib.compression == BI_RLE8 || dib.compression == BI_RLE4) {
    if (dib.bitsSize == 0) return {};
    const DWORD stated = ReadLE32(copy, 20);
    const auto room = static_cast<DWORD>(std::min<size_t>(dib.bitsSize, 0xFFFFFFFFu));
    const DWORD bounded = stated != 0 && stated < room ? stated : room;
    brambolt::WriteLE32(copy, 20, bounded);
  } else if ((dib.compression != BI_RGB && dib.compression != BI_BITFIELDS) || !dib.RowsFit(Magnitude(dib.height))) {
    copy.clear();
  }
  return copy;
}

struct ScreenDC {
  HDC dc = ::CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  ~ScreenDC() { ::DeleteDC(dc); }
};

HBITMAP BitmapFromPackedDib(const BYTE* data, size_t size, UINT flags) {
  PackedDib dib;
  if (!ReadPackedDib(data, size, dib)) return nullptr;
  std::vector<BYTE> copy = CheckedHeader(data, dib);
  if (copy.empty()) return nullptr;
  if (flags & LR_LOADMAP3DCOLORS && !dib.core && dib.bitCount <= 8) {
    // The classic palette's greys become the 3-D colours of the system.
    BYTE* table = copy.data() + ReadLE32({data, 4});
    size_t colors = (dib.headerSize - ReadLE32({data, 4})) / 4;
    for (size_t i = 0; i < colors; ++i) {
      BYTE* q = table + i * 4;
      COLORREF c = RGB(q[2], q[1], q[0]);
      int index = c == RGB(128, 128, 128) ? COLOR_3DSHADOW
                  : c == RGB(192, 192, 192) ? COLOR_3DFACE
                  : c == RGB(223, 223, 223) ? COLOR_3DLIGHT
                                             : -1;
      if (index < 0) continue;
      COLORREF sys = ::GetSysColor(index);
      q[0] = GetBValue(sys);
      q[1] = GetGValue(sys);
      q[2] = GetRValue(sys);
    }
  }
  auto* bmi = reinterpret_cast<const BITMAPINFO*>(copy.data());
  ScreenDC screen;
  if (flags & LR_CREATEDIBSECTION) {
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(screen.dc, bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section != nullptr)
      ::SetDIBits(screen.dc, section, 0, static_cast<UINT>(Magnitude(dib.height)), dib.bits, bmi, DIB_RGB_COLORS);
    return section;
  }
  return ::CreateDIBitmap(screen.dc, &bmi->bmiHeader, CBM_INIT, dib.bits, bmi, DIB_RGB_COLORS);
}

// The bytes of a resource, or an empty span.
struct ResourceBytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

ResourceBytes FindBytes(HINSTANCE instance, LPCSTR name, LPCSTR type) {
  if (instance == nullptr) instance = AfxFindResourceHandle(name, type);
  HRSRC info = ::FindResource(instance, name, type);
  if (info == nullptr) return {};
  return {static_cast<const BYTE*>(::LockResource(::LoadResource(instance, info))), ::SizeofResource(instance, info)};
}

// A 1-bit bitmap from the AND mask rows of an icon (bottom-up, DWORD-aligned rows).
HBITMAP MaskFromRows(const BYTE* rows, int width, int height) {
  size_t stride = static_cast<size_t>(((width + 31) / 32) * 4);
  size_t wordStride = static_cast<size_t>(((width + 15) / 16) * 2);
  std::vector<BYTE> topDown(wordStride * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    std::memcpy(&topDown[static_cast<size_t>(y) * wordStride], rows + static_cast<size_t>(height - 1 - y) * stride,
                wordStride);
  return ::CreateBitmap(width, height, 1, 1, topDown.data());
}

HICON IconFromDirectory(HINSTANCE instance, LPCSTR name, bool icon, int cx, int cy, UINT flags) {
  ResourceBytes group = FindBytes(instance, name, icon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
  if (group.data == nullptr) return nullptr;
  int id = brambolt::BestIconId(group.data, group.size, icon, cx, cy);
  if (id == 0) return nullptr;
  ResourceBytes image = FindBytes(instance, MAKEINTRESOURCE(id), icon ? RT_ICON : RT_CURSOR);
  if (image.data == nullptr) return nullptr;
  return ::CreateIconFromResourceEx(const_cast<PBYTE>(image.data), image.size, icon, 0x00030000, cx, cy, flags);
}

// An icon or cursor of a module's resources as LoadIcon, LoadCursor and LoadImage with LR_SHARED
// give it: made on the first call for that resource and size, the same handle on every later
// one, and kept while the process lives (DestroyIcon leaves it alone). A window made again and
// again (each document window shows the frame's icon) takes no new image each time.
HICON SharedIcon(HINSTANCE instance, LPCSTR name, bool icon, int cx, int cy, UINT flags) {
  if (instance == nullptr) instance = AfxFindResourceHandle(name, icon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
  std::string key;
  if (IS_INTRESOURCE(name)) {
    key = "#" + std::to_string(reinterpret_cast<uintptr_t>(name));
  } else {
    key = name;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  }
  using Key = std::tuple<HINSTANCE, std::string, bool, int, int>;
  static std::mutex& mutex = *new std::mutex;
  static std::map<Key, HICON>& loaded = *new std::map<Key, HICON>;
  const Key whose{instance, key, icon, cx, cy};
  std::lock_guard lock(mutex);
  if (auto it = loaded.find(whose); it != loaded.end()) return it->second;
  HICON handle = IconFromDirectory(instance, name, icon, cx, cy, flags & ~static_cast<UINT>(LR_SHARED));
  if (handle == nullptr) return nullptr;
  brambolt::MarkIconShared(handle);
  loaded.emplace(whose, handle);
  return handle;
}

HCURSOR CursorFromResources(HINSTANCE instance, LPCSTR name) { return SharedIcon(instance, name, false, 0, 0, 0); }

// Cursors with a module handle load from resources from now on.
const bool g_cursorLoaderInstalled = (brambolt::SetCursorResourceLoader(&CursorFromResources), true);

std::vector<BYTE> ReadFile(LPCSTR path) {
  std::ifstream in(brambolt::NativePath(path), std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

HICON CreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL icon, DWORD, int, int, UINT) {
  if (bits == nullptr) return nullptr;
  POINT hotspot{0, 0};
  if (!icon) {
    if (size < 4) return nullptr;
    hotspot = POINT{ReadLE16({bits, 4}), ReadLE16({bits, 4}, 2)};
    bits += 4;
    size -= 4;
  }
  PackedDib dib;
  if (!ReadPackedDib(bits, size, dib) || dib.core || dib.compression != BI_RGB) return nullptr;
  // The colour rows and the mask rows must both lie within the resource; sizes in 64 bits, so
  // no width or height overflows them.
  const unsigned long long rows = Magnitude(dib.height) / 2;
  const unsigned long long colorStride = dib.RowBytes();
  const unsigned long long maskStride = ((static_cast<unsigned long long>(dib.width) + 31) / 32) * 4;
  if (rows == 0 || colorStride + maskStride > dib.bitsSize / rows) return nullptr;
  const int width = dib.width, height = static_cast<int>(rows);
  const size_t colorBytes = static_cast<size_t>(colorStride * rows);
  // The colour image is the header with half the height.
  std::vector<BYTE> header(bits, bits + dib.headerSize);
  LONG half = height;
  std::memcpy(header.data() + 8, &half, 4);
  ScreenDC screen;
  ICONINFO info{};
  info.fIcon = icon;
  info.xHotspot = static_cast<DWORD>(hotspot.x);
  info.yHotspot = static_cast<DWORD>(hotspot.y);
  auto* bmi = reinterpret_cast<const BITMAPINFO*>(header.data());
  info.hbmColor = dib.bitCount == 1 ? nullptr
                                    : ::CreateDIBitmap(screen.dc, &bmi->bmiHeader, CBM_INIT, dib.bits, bmi, DIB_RGB_COLORS);
  info.hbmMask = MaskFromRows(dib.bits + colorBytes, width, height);
  HICON result = ::CreateIconIndirect(&info);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return result;
}

HICON CreateIconFromResource(PBYTE bits, DWORD size, BOOL icon, DWORD version) {
  return CreateIconFromResourceEx(bits, size, icon, version, 0, 0, LR_DEFAULTSIZE);
}

HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name) {
  ResourceBytes bytes = FindBytes(instance, name, RT_BITMAP);
  return bytes.data != nullptr ? BitmapFromPackedDib(bytes.data, bytes.size, 0) : nullptr;
}

HICON LoadIcon(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr) return brambolt::GetStandardIcon(name);
  return SharedIcon(instance, name, true, 0, 0, LR_DEFAULTSIZE);
}

HANDLE LoadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (type == IMAGE_BITMAP) {
    if (flags & LR_LOADFROMFILE) {
      std::vector<BYTE> file = ReadFile(name);
      // A bitmap file is a 14-byte file header before the packed DIB.
      if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M') return nullptr;
      return BitmapFromPackedDib(file.data() + 14, file.size() - 14, flags);
    }
    ResourceBytes bytes = FindBytes(instance, name, RT_BITMAP);
    return bytes.data != nullptr ? BitmapFromPackedDib(bytes.data, bytes.size, flags) : nullptr;
  }
  if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
    bool icon = type == IMAGE_ICON;
    if (instance == nullptr && IS_INTRESOURCE(name))
      return icon ? static_cast<HANDLE>(brambolt::GetStandardIcon(name)) : static_cast<HANDLE>(::LoadCursor(nullptr, name));
    if ((flags & LR_DEFAULTSIZE) && cx == 0) cx = ::GetSystemMetrics(icon ? SM_CXICON : SM_CXCURSOR);
    if ((flags & LR_DEFAULTSIZE) && cy == 0) cy = ::GetSystemMetrics(icon ? SM_CYICON : SM_CYCURSOR);
    if ((flags & LR_SHARED) && !(flags & LR_LOADFROMFILE)) return SharedIcon(instance, name, icon, cx, cy, flags);
    return IconFromDirectory(instance, name, icon, cx, cy, flags);
  }
  return nullptr;
}

HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono) {
  const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hRsrc)));
  DWORD size = ::SizeofResource(hInst, hRsrc);
  PackedDib dib;
  if (data == nullptr || !ReadPackedDib(data, size, dib) || dib.core || dib.bitCount > 8) return nullptr;
  std::vector<BYTE> copy = CheckedHeader(data, dib);
  if (copy.empty()) return nullptr;
  BYTE* table = copy.data() + ReadLE32({data, 4});
  size_t colors = (dib.headerSize - ReadLE32({data, 4})) / 4;
  struct Map {
    COLORREF from;
    int to;
  };
  const Map maps[] = {{RGB(0, 0, 0), COLOR_BTNTEXT},
                      {RGB(128, 128, 128), COLOR_BTNSHADOW},
                      {RGB(192, 192, 192), COLOR_BTNFACE},
                      {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT}};
  for (size_t i = 0; i < colors; ++i) {
    BYTE* q = table + i * 4;
    COLORREF c = RGB(q[2], q[1], q[0]);
    for (const Map& m : maps) {
      if (c != m.from) continue;
      // A monochrome image keeps black and white, so masks made from it stay right.
      if (bMono && (m.to == COLOR_BTNTEXT || m.to == COLOR_BTNHIGHLIGHT)) break;
      COLORREF sys = ::GetSysColor(m.to);
      q[0] = GetBValue(sys);
      q[1] = GetGValue(sys);
      q[2] = GetRValue(sys);
      break;
    }
  }
  ScreenDC screen;
  auto* bmi = reinterpret_cast<const BITMAPINFO*>(copy.data());
  return ::CreateDIBitmap(screen.dc, &bmi->bmiHeader, CBM_INIT, dib.bits, bmi, DIB_RGB_COLORS);
}

// ---- the framework's bitmap loaders ----

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
  return Attach(::LoadBitmap(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName));
}

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) { return Attach(::LoadBitmap(nullptr, MAKEINTRESOURCE(nIDBitmap))); }

BOOL CBitmap::LoadMappedBitmap(UINT nIDBitmap) {
  LPCTSTR name = MAKEINTRESOURCE(nIDBitmap);
  HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
  HRSRC info = ::FindResource(module, name, RT_BITMAP);
  return info != nullptr && Attach(AfxLoadSysColorBitmap(module, info));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(lpszBitmapID)) return FALSE;
  BITMAP info{};
  bitmap.GetBitmap(&info);
  if (cx <= 0) return FALSE;
  UINT flags = ILC_COLOR32 | (crMask != CLR_NONE ? ILC_MASK : 0);
  if (!Create(cx, info.bmHeight, flags, info.bmWidth / cx, nGrow)) return FALSE;
  int added = crMask != CLR_NONE ? Add(&bitmap, crMask) : Add(&bitmap, static_cast<CBitmap*>(nullptr));
  return added >= 0;
}
