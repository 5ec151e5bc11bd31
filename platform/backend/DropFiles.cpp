// DragAcceptFiles, the HDROP block and the delivery of a drop.
#include "backend/DropFiles.h"

#include <atomic>
#include <cstring>

#include "base/Convert.h"
#include "base/GlobalMemory.h"

namespace {

// A drop block's bytes while it is locked. A block may come from another program: every read is
// checked against its size, and one too short for its header has none.
class LockedDrop {
 public:
  explicit LockedDrop(HDROP drop) : block_(reinterpret_cast<HGLOBAL>(drop)) {
    bytes_ = static_cast<const char*>(GlobalLock(block_));
    size_ = bytes_ != nullptr ? GlobalSize(block_) : 0;
    if (size_ >= sizeof(DROPFILES)) {
      std::memcpy(&header_, bytes_, sizeof(header_));
      valid_ = true;
    }
  }
  ~LockedDrop() {
    if (bytes_ != nullptr) GlobalUnlock(block_);
  }
  LockedDrop(const LockedDrop&) = delete;
  LockedDrop& operator=(const LockedDrop&) = delete;

  const DROPFILES* Header() const { return valid_ ? &header_ : nullptr; }

  // The names in order, up to the empty one that ends the list or the end of the block; UTF-16
  // names (fWide) in the program's code page.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    if (!valid_) return names;
    for (SIZE_T at = header_.pFiles; at < size_;) {
      if (header_.fWide) {
        std::u16string name;
        for (; at + 2 <= size_; at += 2) {
          char16_t c;
          std::memcpy(&c, bytes_ + at, 2);
          if (c == 0) break;
          name.push_back(c);
        }
        if (name.empty()) break;
        at += 2;
        names.push_back(brambolt::WideToAnsi(name));
      } else {
        const size_t length = strnlen(bytes_ + at, size_ - at);
        if (length == 0) break;
        names.emplace_back(bytes_ + at, length);
        at += length + 1;
      }
    }
    return names;
  }

 private:
  HGLOBAL block_;
  const char* bytes_ = nullptr;
  SIZE_T size_ = 0;
  DROPFILES header_{};
  bool valid_ = false;
};

std::vector<std::string> Names(HDROP drop) { return LockedDrop(drop).Names(); }

}  // namespace

void DragAcceptFiles(HWND hwnd, BOOL accept) {
  LONG_PTR ex = GetWindowLongPtr(hwnd, GWL_EXSTYLE);
  SetWindowLongPtr(hwnd, GWL_EXSTYLE, accept ? (ex | WS_EX_ACCEPTFILES) : (ex & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES)));
}

UINT DragQueryFile(HDROP drop, UINT iFile, LPSTR buffer, UINT size) {
  std::vector<std::string> names = Names(drop);
  if (iFile == 0xFFFFFFFF) return static_cast<UINT>(names.size());
  if (iFile >= names.size()) return 0;
  const std::string& name = names[iFile];
  if (buffer == nullptr) return static_cast<UINT>(name.size());
  if (size == 0) return 0;
  UINT n = static_cast<UINT>(std::min<size_t>(name.size(), size - 1));
  std::memcpy(buffer, name.data(), n);
  buffer[n] = 0;
  return n;
}

BOOL DragQueryPoint(HDROP drop, LPPOINT point) {
  if (point == nullptr) return FALSE;
  LockedDrop block(drop);
  const DROPFILES* header = block.Header();
  if (header == nullptr) return FALSE;
  *point = header->pt;
  return header->fNC ? FALSE : TRUE;
}

void DragFinish(HDROP drop) { GlobalFree(reinterpret_cast<HGLOBAL>(drop)); }

namespace brambolt {

namespace {
std::atomic<ForeignDropTargets*> g_foreignTargets{nullptr};
}  // namespace

void SetForeignDropTargets(ForeignDropTargets* targets) { g_foreignTargets = targets; }
ForeignDropTargets* GetForeignDropTargets() { return g_foreignTargets; }

namespace {
std::atomic<ForeignDragSource*> g_foreignSource{nullptr};
}  // namespace

void SetForeignDragSource(ForeignDragSource* source) { g_foreignSource = source; }
ForeignDragSource* GetForeignDragSource() { return g_foreignSource; }

HWND DropTargetAt(POINT screen) {
  HWND desktop = GetDesktopWindow();
  for (HWND h = WindowFromPoint(screen); h != nullptr && h != desktop; h = GetAncestor(h, GA_PARENT))
    if (GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return h;
  return nullptr;
}

HGLOBAL NewDropFilesBlock(const std::vector<std::string>& files, POINT client, BOOL fNC) {
  DROPFILES header{sizeof(DROPFILES), client, fNC, FALSE};
  size_t size = sizeof(header) + 1;
  for (const std::string& f : files) size += f.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (block == nullptr) return nullptr;
  auto* p = static_cast<char*>(GlobalLock(block));
  std::memcpy(p, &header, sizeof(header));
  char* at = p + sizeof(header);
  for (const std::string& f : files) {
    std::memcpy(at, f.c_str(), f.size() + 1);
    at += f.size() + 1;
  }
  GlobalUnlock(block);
  return block;
}

bool DropFiles(POINT screen, const std::vector<std::string>& files) {
  HWND target = DropTargetAt(screen);
  if (target == nullptr || files.empty()) return false;
  POINT client = screen;
  ScreenToClient(target, &client);
  RECT area;
  GetClientRect(target, &area);
  HGLOBAL block = NewDropFilesBlock(files, client, PtInRect(&area, client) ? FALSE : TRUE);
  if (block == nullptr) return false;
  if (!PostMessage(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
    GlobalFree(block);
    return false;
  }
  return true;
}

std::vector<std::string> FilesOfUriList(std::string_view list) {
  std::vector<std::string> files;
  auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  while (!list.empty()) {
    size_t end = list.find('\n');
    std::string_view line = list.substr(0, end);
    list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    constexpr std::string_view scheme = "file:";
    if (line.size() <= scheme.size() || line.substr(0, scheme.size()) != scheme) continue;
    line.remove_prefix(scheme.size());
    if (line.substr(0, 2) == "//") {
      // file://host/path: only this machine's files ("localhost" or no host) can be opened.
      line.remove_prefix(2);
      size_t slash = line.find('/');
      if (slash == std::string_view::npos) continue;
      std::string_view host = line.substr(0, slash);
      if (!host.empty() && host != "localhost") continue;
      line.remove_prefix(slash);
    }
    if (line.empty() || line[0] != '/') continue;
    std::string path;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '%' && i + 2 < line.size() && hex(line[i + 1]) >= 0 && hex(line[i + 2]) >= 0) {
        path += static_cast<char>(hex(line[i + 1]) * 16 + hex(line[i + 2]));
        i += 2;
      } else {
        path += line[i];
      }
    }
    // The system's spelling of the name, given as the program spells names.
    if (path.find('\0') == std::string::npos) files.push_back(ProgramNameOf(path));
  }
  return files;
}

std::string UriListOfFiles(const std::vector<std::string>& files) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string list;
  for (const std::string& file : files) {
    list += "file://";
    for (unsigned char c : SystemNameOf(file)) {
      bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                   c == '_' || c == '~' || c == '/';
      if (plain) {
        list += static_cast<char>(c);
      } else {
        list += '%';
        list += kHex[c >> 4];
        list += kHex[c & 0xF];
      }
    }
    list += "\r\n";
  }
  return list;
}

}  // namespace brambolt
