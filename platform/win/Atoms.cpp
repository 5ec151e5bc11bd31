// The string atom table (0xC000-0xFFFF) shared by registered window messages, clipboard formats
// and window-class atoms, as on Windows: one name gives one number, whatever registers it.
#include <map>

#include "win/Atoms.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return CompareNoCase(a.c_str(), b.c_str()) < 0;
  }
};

struct AtomTable {
  std::mutex mutex;
  std::map<std::string, ATOM, NoCase> byName;
  std::vector<std::string> names;  // index = atom - 0xC000
};

AtomTable& Table() {
  static AtomTable* table = new AtomTable;
  return *table;
}

}  // namespace

int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
    if (ca >= 'a' && ca <= 'z') ca = static_cast<unsigned char>(ca - 'a' + 'A');
    if (cb >= 'a' && cb <= 'z') cb = static_cast<unsigned char>(cb - 'a' + 'A');
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

ATOM AddAtom(const char* name) {
  if (name == nullptr || *name == '\0') return 0;
  AtomTable& t = Table();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.byName.find(name);
  if (it != t.byName.end()) return it->second;
  if (t.names.size() >= 0x4000) return 0;
  ATOM atom = static_cast<ATOM>(0xC000 + t.names.size());
  t.names.emplace_back(name);
  t.byName.emplace(name, atom);
  return atom;
}

ATOM FindAtomNoAdd(const char* name) {
  if (name == nullptr) return 0;
  AtomTable& t = Table();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.byName.find(name);
  return it == t.byName.end() ? 0 : it->second;
}

bool AtomName(ATOM atom, std::string& name) {
  AtomTable& t = Table();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (atom < 0xC000 || atom - 0xC000u >= t.names.size()) return false;
  name = t.names[atom - 0xC000];
  return true;
}

}  // namespace brambolt::wm

UINT RegisterWindowMessage(LPCSTR name) {
  ATOM atom = brambolt::wm::AddAtom(name);
  if (atom == 0) SetLastError(ERROR_INVALID_PARAMETER);
  return atom;
}
