// The lookup of a class's bases among the project's classes by the last part of their names.
// The bytes looked at (blanks, ':', '<', '>', '(', ')', '.') are all below 0x40, which is never
// the trail byte of a double-byte character, so the text is walked byte by byte.
#include "model/BaseClassIndex.h"

#include <algorithm>

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Letters, digits, '_' and the bytes of double-byte characters: a base of only these is a plain
// name, its own key.
bool IsPlainName(std::string_view base) {
  for (char ch : base) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (!((c | 0x20) >= 'a' && (c | 0x20) <= 'z') && !(c >= '0' && c <= '9') && c != '_' && c < 0x80) return false;
  }
  return true;
}

}  // namespace

std::string_view BaseClassIndex::KeyOf(std::string_view base) {
  if (IsPlainName(base)) return base;
  base = Trimmed(base);
  if (base.size() >= 3 && base.substr(base.size() - 3) == "...") base = Trimmed(base.substr(0, base.size() - 3));
  // The last "::" outside template arguments and parentheses starts the last name part.
  size_t nStart = 0;
  int nAngles = 0;
  int nParentheses = 0;
  for (size_t i = 0; i < base.size(); ++i) {
    switch (base[i]) {
      case '(': ++nParentheses; break;
      case ')': nParentheses -= nParentheses > 0 ? 1 : 0; break;
      case '<': nAngles += nParentheses == 0 ? 1 : 0; break;
      case '>': nAngles -= nParentheses == 0 && nAngles > 0 ? 1 : 0; break;
      case ':':
        if (nAngles == 0 && nParentheses == 0 && i + 1 < base.size() && base[i + 1] == ':') nStart = ++i + 1;
        break;
      default: break;
    }
  }
  std::string_view name = base.substr(nStart);
  name = Trimmed(name.substr(0, name.find('<')));
  // A word before the name ("typename Base") is no part of it.
  const size_t nBlank = name.find_last_of(" \t");
  return nBlank == std::string_view::npos ? name : name.substr(nBlank + 1);
}

std::string_view BaseClassIndex::QualifiedKeyOf(std::string_view base) {
  base = Trimmed(base);
  if (base.size() >= 2 && base.substr(0, 2) == "::") base = Trimmed(base.substr(2));
  // Template arguments at the end: from the '<' that opens the last group.
  if (!base.empty() && base.back() == '>') {
    int nDepth = 0;
    for (size_t i = base.size(); i-- > 0;) {
      if (base[i] == '>') ++nDepth;
      if (base[i] == '<' && --nDepth == 0) {
        base = Trimmed(base.substr(0, i));
        break;
      }
    }
  }
  return base.find("::") != std::string_view::npos ? base : std::string_view();
}

std::string BaseClassIndex::SpellingOf(std::string_view name) {
  name = Trimmed(name);
  if (name.size() >= 2 && name.substr(0, 2) == "::") name = Trimmed(name.substr(2));
  // A letter of a name: a byte of a double-byte character is one too.
  const auto isNameByte = [](char ch) {
    const unsigned char c = static_cast<unsigned char>(ch);
    return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
  };
  std::string spelling;
  spelling.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (!IsBlank(name[i])) {
      spelling += name[i];
      continue;
    }
    while (i + 1 < name.size() && IsBlank(name[i + 1])) ++i;
    if (!spelling.empty() && isNameByte(spelling.back()) && i + 1 < name.size() && isNameByte(name[i + 1]))
      spelling += ' ';
  }
  return spelling;
}

const std::unordered_map<std::string, std::vector<const CFileObj*>>& BaseClassIndex::BySpelling() const {
  ByName();
  return m_bySpelling;
}

const BaseClassIndex::ByNameMap& BaseClassIndex::ByName() const {
  std::call_once(m_indexed, [this] {
    std::vector<const CFileObj*> classes;
    classes.reserve(static_cast<size_t>(m_classes.GetCount()));
    for (POSITION pos = m_classes.GetHeadPosition(); pos != nullptr;) classes.push_back(m_classes.GetNext(pos));
    // The order of analysis, not the list's: the chart sorts the class list by descendants.
    std::stable_sort(classes.begin(), classes.end(), [](const CFileObj* a, const CFileObj* b) {
      return a->m_nAnalysisOrder < b->m_nAnalysisOrder;
    });
    m_byName.reserve(classes.size());
    for (const CFileObj* pClass : classes) {
      const std::string_view name = View(pClass->m_strClassName);
      m_byName[name].push_back(pClass);
      if (!IsPlainName(name)) m_bySpelling[SpellingOf(name)].push_back(pClass);
    }
  });
  return m_byName;
}

const CFileObj* BaseClassIndex::Choose(const CFileObj* pDerived, const std::vector<const CFileObj*>& classes) const {
  const CFileObj* pFirst = nullptr;
  for (const CFileObj* pClass : classes) {
    if (pClass == pDerived) continue;
    if (pDerived != nullptr && pClass->m_strHeaderFile == pDerived->m_strHeaderFile) return pClass;
    if (pFirst == nullptr) pFirst = pClass;
  }
  return pFirst;
}

const CFileObj* BaseClassIndex::FindBase(const CFileObj* pDerived, const CString& strBase) const {
  const auto& byName = ByName();
  // A class of the project named as the base is written ("Box<Pair<int> >", a specialisation).
  const auto exact = byName.find(Trimmed(View(strBase)));
  if (exact != byName.end())
    if (const CFileObj* pBase = Choose(pDerived, exact->second)) return pBase;
  // Or spelled otherwise ("Box<Pair<int>>", "Box< int >", "::Box<int>").
  if (!IsPlainName(View(strBase))) {
    const auto& bySpelling = BySpelling();
    const auto spelled = bySpelling.find(SpellingOf(View(strBase)));
    if (spelled != bySpelling.end())
      if (const CFileObj* pBase = Choose(pDerived, spelled->second)) return pBase;
  }
  const std::string_view qualified = QualifiedKeyOf(View(strBase));
  if (!qualified.empty()) {
    const auto it = byName.find(qualified);
    if (it != byName.end())
      if (const CFileObj* pBase = Choose(pDerived, it->second)) return pBase;
  }
  const std::string_view key = KeyOf(strBase);
  if (key.empty()) return nullptr;
  const auto it = byName.find(key);
  return it != byName.end() ? Choose(pDerived, it->second) : nullptr;
}

std::string_view BaseClassIndex::HierarchyName(const CFileObj* pDerived, const CString& strBase) const {
  const std::string_view base = View(strBase);
  // A plain name is the name of the class it names, if any.
  if (IsPlainName(base)) return base;
  const CFileObj* pBase = FindBase(pDerived, strBase);
  return pBase != nullptr ? View(pBase->m_strClassName) : base;
}
