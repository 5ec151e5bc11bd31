// The framework's concrete maps, all CMap<> inside and so walked in insertion order. The string-to-string,
// string-to-object and word-to-object maps are serializable; the maps that hold raw pointers are not, and
// refuse to be written.
#pragma once

#include "core/CMap.h"
#include "core/CString.h"

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
  DECLARE_SERIAL(CMapStringToString)
 public:
  using CMap::CMap;
};

class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
  DECLARE_DYNAMIC(CMapStringToPtr)
 public:
  using CMap::CMap;
};

class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
  DECLARE_SERIAL(CMapStringToOb)
 public:
  using CMap::CMap;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
  DECLARE_DYNAMIC(CMapPtrToPtr)
 public:
  using CMap::CMap;
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
  DECLARE_DYNAMIC(CMapPtrToWord)
 public:
  using CMap::CMap;
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
  DECLARE_DYNAMIC(CMapWordToPtr)
 public:
  using CMap::CMap;
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
  DECLARE_SERIAL(CMapWordToOb)
 public:
  using CMap::CMap;
};

// String keys to 16-bit values, for keyword and name tables.
typedef CMap<CString, LPCTSTR, WORD, WORD> CMapStringToWord;
