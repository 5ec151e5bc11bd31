// CObject and CRuntimeClass: run-time type information, dynamic creation and the
// DECLARE_/IMPLEMENT_ macros that give a class its CRuntimeClass.
#pragma once

#include "base/base.h"

class CObject;
class CArchive;

// Or'ed into a schema number when a class reads every earlier version of itself.
#define VERSIONABLE_SCHEMA (0x80000000)

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;  // 0xFFFF for classes that are not serializable
  CObject* (*m_pfnCreateObject)();
  CRuntimeClass* m_pBaseClass;
  CRuntimeClass* m_pNextClass;  // link of the registry of all classes

  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

  // Lookup by exact (case-sensitive) class name among all registered classes.
  static CRuntimeClass* FromName(LPCSTR lpszClassName);
  static CObject* CreateObject(LPCSTR lpszClassName);
};

// Adds a class to the registry. Instances of this type are created by IMPLEMENT_DYNAMIC with an
// early initialisation priority, so every class is registered before ordinary static
// initialisers (and main) can look one up by name.
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};
#define AFX_CLASSINIT_PRIORITY __attribute__((init_priority(200)))

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

class CObject {
 public:
  static CRuntimeClass classCObject;
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;

  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const;
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}

 protected:
  CObject() = default;

 private:
  // Framework objects are not copyable unless a class says how.
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};

#define DECLARE_DYNAMIC(class_name)      \
 public:                                 \
  static CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

// The extraction operator is defined by IMPLEMENT_SERIAL; the translation unit that expands it
// includes "core/CArchive.h".
#define DECLARE_SERIAL(class_name)  \
  DECLARE_DYNCREATE(class_name)     \
  friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                       \
  CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                 static_cast<UINT>(wSchema), pfnNew,                \
                                                 RUNTIME_CLASS(base_class_name), nullptr};          \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }          \
  static const AFX_CLASSINIT _init_##class_name AFX_CLASSINIT_PRIORITY(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)              \
  CObject* class_name::CreateObject() { return new class_name; }     \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                \
  CObject* class_name::CreateObject() { return new class_name; }                             \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)     \
  CArchive& operator>>(CArchive& ar, class_name*& pOb) {                                     \
    pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                \
    return ar;                                                                               \
  }
