// Fuzz target: the workspace store (persistent trees in a workspace file or in the registry).
// The first byte chooses what the rest is:
// - bit 0 clear: a workspace file, loaded as a tree (bit 3 set: the settings file of
//   HKEY_CURRENT_USER, the tree loaded from the registry store);
// - bit 0 set: a tree to build, a run of fields separated by 0xFF: a field starting with 'c'
//   adds a child named by the next field and goes into it, 'p' adds a pair (the next two
//   fields are its key and value), 'u' goes back to the parent.
// Bit 1 chooses the registry instead of a file, bit 2 code page 936 instead of 1252.
// Whatever tree is loaded or built is saved (a loaded one where it was loaded from), loaded again
// into a fresh root and compared: a tree the store accepted reads back the same, every name, key,
// value and order, and the rest of the registry stays as it was. A failure aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "base/CodePage.h"
#include "foundation/SECPTNStrategy.h"
#include "foundation/SECPersistentTreeNode.h"
#include "os/Paths.h"
#include "os/Registry.h"

namespace {

constexpr char kRoot[] = "WorkState_v1_1";
constexpr char kBaseKey[] = "Software\\Fuzz\\Workspace";

// Every key of HKEY_CURRENT_USER outside the stored tree, with its values, as text.
std::string RegistryOutsideTheTree() {
  const std::string tree = std::string("\\") + kBaseKey + "\\" + kRoot;
  std::string out;
  std::vector<std::pair<HKEY, std::string>> open{{HKEY_CURRENT_USER, ""}};
  std::vector<char> name(1024);
  std::vector<BYTE> bytes(1 << 16);
  while (!open.empty()) {
    auto [key, path] = open.back();
    open.pop_back();
    out += "[" + path + "]";
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(bytes.size());
      const LONG result = RegEnumValue(key, i, name.data(), &nameSize, nullptr, &type, bytes.data(), &size);
      if (result == ERROR_NO_MORE_ITEMS) break;
      out.append(name.data(), nameSize).append("=").append(std::to_string(type)).append(":");
      if (result == ERROR_SUCCESS) out.append(reinterpret_cast<const char*>(bytes.data()), size);
    }
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = static_cast<DWORD>(name.size());
      const LONG result = RegEnumKeyEx(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) break;
      const std::string childPath = path + "\\" + std::string(name.data(), nameSize);
      HKEY child = nullptr;
      if (result == ERROR_SUCCESS && !brambolt::FileNamesEqualNoCase(childPath, tree) &&
          RegOpenKeyEx(key, name.data(), 0, KEY_READ, &child) == ERROR_SUCCESS)
        open.emplace_back(child, childPath);
    }
    if (key != HKEY_CURRENT_USER) RegCloseKey(key);
  }
  return out;
}

// Gives access to the pairs of any node, in their order.
struct PairsOf : SECPersistentTreeNode {
  static const CPtrList& Of(const SECPersistentTreeNode& node) { return node.*(&PairsOf::m_pairs); }
};

void Dump(const SECPersistentTreeNode& node, std::string& out) {
  const CString name = node.GetNodeName();
  out.append(name, name.GetLength()).append("{");
  const CPtrList& pairs = PairsOf::Of(node);
  for (POSITION pos = pairs.GetHeadPosition(); pos != nullptr;) {
    const auto* pair = static_cast<const SECPersistentTreeNode::SECPersTreeNodeKeyValuePair*>(pairs.GetNext(pos));
    out += std::to_string(pair->m_strKey.GetLength()) + ":";
    out.append(pair->m_strKey, pair->m_strKey.GetLength());
    out += "=" + std::to_string(pair->m_strValue.GetLength()) + ":";
    out.append(pair->m_strValue, pair->m_strValue.GetLength());
  }
  CStringList children;
  node.GetChildNames(children);
  for (POSITION pos = children.GetHeadPosition(); pos != nullptr;) Dump(*node.FindChild(children.GetNext(pos)), out);
  out += "}";
}

std::string Dump(const SECPersistentTreeNode& node) {
  std::string out;
  Dump(node, out);
  return out;
}

void Build(SECPersistentTreeNode& root, const uint8_t* data, size_t size) {
  std::vector<CString> fields;
  for (size_t start = 0; start <= size;) {
    size_t end = start;
    while (end < size && data[end] != 0xFF) ++end;
    fields.emplace_back(reinterpret_cast<const char*>(data + start), static_cast<int>(end - start));
    start = end + 1;
  }
  std::vector<SECPersistentTreeNode*> path{&root};
  for (size_t i = 0; i < fields.size(); ++i) {
    const char op = fields[i].IsEmpty() ? '\0' : fields[i][0];
    if (op == 'c' && i + 1 < fields.size()) {
      if (SECPersistentTreeNode* child = path.back()->AddChild(fields[++i])) path.push_back(child);
    } else if (op == 'p' && i + 2 < fields.size()) {
      path.back()->AddKeyValueString(fields[i + 1], fields[i + 2], TRUE);
      i += 2;
    } else if (op == 'u' && path.size() > 1) {
      path.pop_back();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t form = data[0];
  const bool built = (form & 1) != 0, settings = !built && (form & 8) != 0, registry = settings || (form & 2) != 0;
  brambolt::ScopedCodePage codePage((form & 4) != 0 ? 936 : 1252);
  static const bool registryReady = [] {
    ::setenv("BRAMBOLT_REGISTRY_DIR", fuzz::Folder().c_str(), 1);
    return true;
  }();
  (void)registryReady;
  std::error_code error;
  std::filesystem::remove(fuzz::Folder() + "/HKEY_CURRENT_USER.reg", error);
  brambolt::ResetRegistryForTesting();

  SECPersistentTreeNode tree;
  tree.Create(kRoot, nullptr);
  // A file loaded is saved into itself, as the program saves a workspace it opened.
  std::string file;
  std::unique_ptr<SECPTNStrategy> store;
  if (registry) store = std::make_unique<SECPTNStrategyRegistry>(kBaseKey, HKEY_CURRENT_USER);
  if (built) {
    Build(tree, data + 1, size - 1);
  } else if (settings) {
    std::filesystem::rename(fuzz::WriteFile("registry", data + 1, size - 1), fuzz::Folder() + "/HKEY_CURRENT_USER.reg");
    brambolt::ResetRegistryForTesting();
    tree.Load(store.get());
  } else {
    file = fuzz::WriteFile("loaded.wsp", data + 1, size - 1);
    SECPTNStrategyProfile stored(file.c_str());
    tree.Load(&stored);
  }
  if (file.empty()) file = fuzz::WriteFile("saved.wsp", nullptr, 0);
  if (!registry) store = std::make_unique<SECPTNStrategyProfile>(file.c_str());
  // The keys down to the tree's own are the save's to make: they are there before it.
  std::string outside;
  if (settings) {
    HKEY base = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kBaseKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &base, nullptr) ==
        ERROR_SUCCESS)
      RegCloseKey(base);
    RegFlushKey(HKEY_CURRENT_USER);
    outside = RegistryOutsideTheTree();
  }
  if (tree.Save(store.get())) {
    // Read what is on disk, not what the store holds in memory: the registry is loaded again,
    // the file read under another name.
    std::string copy;
    if (registry) {
      brambolt::ResetRegistryForTesting();
    } else {
      std::ifstream in(file, std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      copy = fuzz::WriteFile("copy.wsp", reinterpret_cast<const uint8_t*>(text.data()), text.size());
      store = std::make_unique<SECPTNStrategyProfile>(copy.c_str());
    }
    SECPersistentTreeNode loaded;
    loaded.Create(kRoot, nullptr);
    // (A root with nothing in it leaves nothing stored: its load finds nothing and says so.)
    loaded.Load(store.get());
    if (Dump(loaded) != Dump(tree)) {
      std::fprintf(stderr, "saved:  %s\nloaded: %s\n", Dump(tree).c_str(), Dump(loaded).c_str());
      std::abort();
    }
    if (!copy.empty()) std::filesystem::remove(copy, error);
  }
  // Saved or refused, the rest of the settings stays as it was.
  if (settings) {
    brambolt::ResetRegistryForTesting();
    if (RegistryOutsideTheTree() != outside) std::abort();
  }
  std::filesystem::remove(file, error);
  return 0;
}
