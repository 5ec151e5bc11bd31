// How a class's bases meet the project's classes. A base is kept as the header writes it
// ("Ns::Base", "::Base", "Base<T>", "Ns::Base<int, X<Y>>", "typename Base<T>::type"), and a class
// is recorded under the last part of its name (or under its whole qualified name, "Ns::Base",
// when its header defines it so), so a base names the project's class of the very name it is
// written with (a specialisation, "Box<int>"), else the one recorded under the base's qualified
// name, or else under its last name part without its template arguments. Of several
// classes of that name, the one declared in the deriving class's own header comes first, then the
// first in the order of analysis, whatever order the class list was given since.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/CWorkSpaceObj.h"

class BaseClassIndex {
 public:
  // The part of a base by which it is looked up: "Base" for each of "Ns::Base", "::Base",
  // "Base<T>" and "Ns::Base<int, X<Y>>"; "type" for "typename Base<T>::type". A plain name is its
  // own key.
  static std::string_view KeyOf(std::string_view base);
  static std::string_view KeyOf(const CString& strBase) { return KeyOf(View(strBase)); }

  // Indexes the classes by name (when a lookup first needs it, once, whatever the thread); the
  // list and its records must outlive the index and keep their names.
  explicit BaseClassIndex(const CFileObjList& classes) : m_classes(classes) {}

  // The first class of that name in the order of analysis, or NULL.
  const CFileObj* FindClass(std::string_view name) const {
    const auto& byName = ByName();
    const auto it = byName.find(name);
    return it != byName.end() ? it->second.front() : nullptr;
  }

  // The project's class that a base of pDerived names, or NULL when the project documents none:
  // a class named as the base is written ("Box<Pair<int> >", also as "::Box<Pair<int>>"), else one recorded under the base's
  // qualified name ("A::B" for "A::B" and "::A::B<T>"), else one recorded under its last name
  // part; of several, the first declared in pDerived's header,
  // else the first in the order of analysis. A class is never its own base: a class named like its
  // base ("class Foo : public detail::Foo") derives from another class of that name, found only
  // when the project has one.
  const CFileObj* FindBase(const CFileObj* pDerived, const CString& strBase) const;

  // A class's or base's name as a C++ reader compares it: without blanks around it or a leading
  // "::", a blank inside it only between two letters of names ("unsigned int"), so that
  // "::Box< Pair<int>> " and "Box<Pair<int> >" read the same.
  static std::string SpellingOf(std::string_view name);

  // The base's qualified name, by which a class recorded with its qualification is found: the
  // base without blanks around it, a leading "::" and template arguments at its end ("A::B" for
  // " ::A::B<int> "); empty for a base without "::" in it.
  static std::string_view QualifiedKeyOf(std::string_view base);

  // The name under which the hierarchy knows a base of pDerived: the name of the class it names,
  // or the base as written when the project documents no such class. A view into the class's
  // name or into strBase.
  std::string_view HierarchyName(const CFileObj* pDerived, const CString& strBase) const;

  // Calls onName(name) once for each name pClass derives from, HierarchyName of its bases in
  // their order, never for its own name.
  template <class OnName>
  void ForEachBaseName(const CFileObj* pClass, OnName&& onName) const {
    const std::string_view self = View(pClass->m_strClassName);
    std::unordered_set<std::string_view> seen;
    for (POSITION pos = pClass->m_BaseClassList.GetHeadPosition(); pos != nullptr;) {
      const std::string_view name = HierarchyName(pClass, pClass->m_BaseClassList.GetNext(pos));
      if (name != self && seen.insert(name).second) onName(name);
    }
  }

  static std::string_view View(const CString& str) {
    return std::string_view(static_cast<LPCTSTR>(str), static_cast<size_t>(str.GetLength()));
  }

 private:
  // The classes of each name in the order of analysis.
  using ByNameMap = std::unordered_map<std::string_view, std::vector<const CFileObj*>>;
  const ByNameMap& ByName() const;
  // The classes whose names are no plain names ("Box<Pair<int> >"), by SpellingOf their names.
  const std::unordered_map<std::string, std::vector<const CFileObj*>>& BySpelling() const;
  const CFileObj* Choose(const CFileObj* pDerived, const std::vector<const CFileObj*>& classes) const;

  const CFileObjList& m_classes;
  mutable std::once_flag m_indexed;
  mutable ByNameMap m_byName;
  mutable std::unordered_map<std::string, std::vector<const CFileObj*>> m_bySpelling;
};
