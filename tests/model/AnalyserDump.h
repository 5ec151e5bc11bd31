// The analysed classes of a project as text, one line a record, for tests that compare what the
// analyser found with the dump they expect.
#pragma once

#include <string>

#include "model/CWorkSpaceObj.h"
#include "ModelTestSupport.h"

namespace model_test {

inline const char* AccessName(int nAccess) {
  switch (nAccess) {
    case MEMBER_PUBLIC: return "public";
    case MEMBER_PROTECTED: return "protected";
    case MEMBER_PRIVATE: return "private";
    default: return "?";
  }
}

inline std::string Joined(const CStringList& list) {
  std::string text;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    if (!text.empty()) text += "|";
    text += S(list.GetNext(pos));
  }
  return text;
}

// One line per record:
//   class <name> : <base names> first=<first base> id=<known id> files=<header>,<source>
//   head "<class head>"
//   fn <access>[ virtual][ static] "<return type>" <name>(<parameters>) [unique=..] [// comment]
//   var <access>[ static] "<type>" <name> [unique=..] [// comment]
inline std::string Dump(const CWorkSpaceObj& project) {
  std::string dump;
  for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* c = project.m_FileObjList.GetNext(pos);
    if (!dump.empty()) dump += "\n";
    dump += "class " + S(c->m_strClassName) + " : " + Joined(c->m_BaseClassList) + " first=" +
            S(c->m_strBaseClassName) + " id=" + std::to_string(c->m_nKnownClassId) + " files=" +
            S(c->m_strHeaderFile) + "," + S(c->m_strSourceFile) + "\n";
    dump += "head \"" + S(c->m_strClassHead) + "\"\n";
    for (POSITION p = c->m_MemberFunctionList.GetHeadPosition(); p != nullptr;) {
      const CMemberFunctionObj* f = c->m_MemberFunctionList.GetNext(p);
      dump += std::string("fn ") + AccessName(f->m_nAccess) + (f->m_bVirtual ? " virtual" : "") +
              (f->m_bStatic ? " static" : "") + " \"" + S(f->m_strReturnType) + "\" " + S(f->m_strName) + "(" +
              Joined(f->m_ParameterList) + ")";
      if (f->m_strUniqueName != f->m_strName) dump += " unique=" + S(f->m_strUniqueName);
      if (!f->m_strComment.IsEmpty()) dump += " //" + S(f->m_strComment);
      dump += "\n";
    }
    for (POSITION p = c->m_VariableList.GetHeadPosition(); p != nullptr;) {
      const CVariableObj* v = c->m_VariableList.GetNext(p);
      dump += std::string("var ") + AccessName(v->m_nAccess) + (v->m_bStatic ? " static" : "") + " \"" +
              S(v->m_strType) + "\" " + S(v->m_strName);
      if (v->m_strUniqueName != v->m_strName) dump += " unique=" + S(v->m_strUniqueName);
      if (!v->m_strComment.IsEmpty()) dump += " //" + S(v->m_strComment);
      dump += "\n";
    }
  }
  return dump;
}

}  // namespace model_test
