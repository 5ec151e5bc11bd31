// The editor model's way to the configurations by name: the language manager, unless a test put
// its own lookup in its place.
#include "editor/lang/ISECEditLangConfig.h"
#include "editor/lang/SECEditLangConfig.h"

namespace kelpwood::editor {

namespace {
LanguageLookup g_lookup = nullptr;
}  // namespace

LanguageLookup SetLanguageLookup(LanguageLookup lookup) {
  const LanguageLookup old = g_lookup;
  g_lookup = lookup;
  return old;
}

ISECEditLangConfig* FindLanguage(LPCTSTR name) {
  if (name == nullptr) return nullptr;
  return g_lookup != nullptr ? g_lookup(name) : SECEditLangConfig::GetLanguage(name);
}

}  // namespace kelpwood::editor
