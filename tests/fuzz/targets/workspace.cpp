// Fuzz target: the workspace store (persistent trees in a workspace file or in the registry).
// The first byte chooses what the rest is:
// - bit 0 clear: a workspace file, loaded as a tree;
// - bit 0 set: a tree to build, a run of fields separated by 0xFF: a field starting with 'c'
//   adds a child named by the next field and goes into it, 'p' adds a pair (the next two
//   fields are its key and value), 'u' goes back to the parent.
// Bit 1 chooses the registry instead of a file, bit 2 code page 936 instead of 1252.
// Whatever tree is loaded or built is saved, loaded again into a fresh root and compared: a tree
// the store accepted reads back the same, every name, key, value and order. A failure aborts.
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
#include "os/Registry.h"

namespace {

constexpr char kRoot[] = "WorkState_v1_1";

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
  const bool built = (form & 1) != 0, registry = (form & 2) != 0;
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
  if (built) {
    Build(tree, data + 1, size - 1);
  } else {
    const std::string file = fuzz::WriteFile("loaded.wsp", data + 1, size - 1);
    SECPTNStrategyProfile stored(file.c_str());
    tree.Load(&stored);
    std::filesystem::remove(file, error);
  }

  const std::string file = fuzz::WriteFile("saved.wsp", nullptr, 0);
  std::unique_ptr<SECPTNStrategy> store;
  if (registry)
    store = std::make_unique<SECPTNStrategyRegistry>("Software\\Fuzz\\Workspace", HKEY_CURRENT_USER);
  else
    store = std::make_unique<SECPTNStrategyProfile>(file.c_str());
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
  std::filesystem::remove(file, error);
  return 0;
}
