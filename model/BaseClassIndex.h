// How a class's bases meet the project's classes. A base is kept as the header writes it
// ("Ns::Base", "::Base", "Base<T>", "Ns::Base<int, X<Y>>", "typename Base<T>::type"), and a class
// is recorded under the last part of its name, so a base names the project's class whose name is
// the base's last name part without its template arguments.
#pragma once

#include <mutex>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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

  // The first class of that name, or NULL.
  const CFileObj* FindClass(std::string_view name) const {
    const auto& byName = ByName();
    const auto it = byName.find(name);
    return it != byName.end() ? it->second.first : nullptr;
  }

  // The project's class that a base of pDerived names, or NULL when the project documents none.
  // Of two classes of that name the first in the list is taken. A class is never its own base: a
  // class named like its base ("class Foo : public detail::Foo") derives from another class of
  // that name, found only when the project has one.
  const CFileObj* FindBase(const CFileObj* pDerived, const CString& strBase) const;

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
  // The first two classes of each name (the second NULL when there is one).
  using ByNameMap = std::unordered_map<std::string_view, std::pair<const CFileObj*, const CFileObj*>>;
  const ByNameMap& ByName() const;

  const CFileObjList& m_classes;
  mutable std::once_flag m_indexed;
  mutable ByNameMap m_byName;
};
