// One analysed class of the project: its names, header and source file, base names and its
// member records, with the sizes the class pages work with.
#pragma once

#include "core/Arrays.h"
#include "core/CTypedPtr.h"
#include "core/Geometry.h"
#include "core/Lists.h"
#include "model/CMemberFunctionObj.h"
#include "model/CVariableObj.h"

typedef CTypedPtrList<CObList, CMemberFunctionObj*> CMemberFunctionObjList;
typedef CTypedPtrList<CObList, CVariableObj*> CVariableObjList;

class CFileObj : public CObject {
  DECLARE_SERIAL(CFileObj)

 public:
  CFileObj();
  ~CFileObj() override;

  // The class layout: base names, path text, known-class id, class name, first base, header and
  // source file names, the rectangle (16 raw bytes) and the reserved text.
  void Serialize(CArchive& ar) override;
  // The second layout: reserved strings, view and document class names, first reserved number,
  // rectangle, reserved text, second reserved number.
  virtual void SerializeClassInfo(CArchive& ar);

  void DeleteAllVariables();
  void DeleteAllMemberFunctions();

  // The name itself when no record of that kind in this class carries it as its unique name,
  // else the first free of "name(0)", "name(1)", ...
  CString MakeUniqueVariableName(CString strName) const;
  CString MakeUniqueFunctionName(CString strName) const;

  CString m_strPath;
  int m_nKnownClassId;        // of the first base name (0 when it is no known class)
  CString m_strClassName;
  CString m_strBaseClassName;  // the first base name, "" without bases
  CString m_strHeaderFile;     // base name of the header + ".h"
  CString m_strSourceFile;     // the same + ".cpp"
  CRect m_rect;
  CString m_strReserved;
  CString m_strClassHead;      // the class head as read, before names were cleaned
  CMemberFunctionObjList m_MemberFunctionList;  // owned, in order of analysis
  CVariableObjList m_VariableList;              // owned, in order of analysis
  CStringList m_BaseClassList;                  // in declaration order, "::" kept as "$"
  CStringArray m_ReservedStrings;
  CString m_strViewClass;
  CString m_strDocClass;
  DWORD m_dwReserved1;
  DWORD m_dwReserved2;
  // Diagram of the class page: box size, ancestor chain and bitmap size.
  int m_nBoxWidth;
  int m_nBoxHeight;
  CStringList m_AncestorList;
  int m_nBitmapWidth;
  int m_nBitmapHeight;
};
