// The seam through which the language manager answers names for the editor model.
#include "editor/lang/ISECEditLangConfig.h"

namespace kelpwood::editor {

namespace {
LanguageLookup g_lookup = nullptr;
}  // namespace

LanguageLookup SetLanguageLookup(LanguageLookup lookup) {
  const LanguageLookup old = g_lookup;
  g_lookup = lookup;
  return old;
}

ISECEditLangConfig* FindLanguage(LPCTSTR name) { return g_lookup != nullptr && name != nullptr ? g_lookup(name) : nullptr; }

}  // namespace kelpwood::editor
