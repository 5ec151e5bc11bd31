// The small interfaces through which models, viewports and controllers find and notify each
// other, each with its identifier, and the reference-counting base of messages and commands.
#pragma once

#include "base/Guid.h"
#include "core/CString.h"

namespace kelpwood::foundation {

DEFINE_GUID(IID_IQueryGuid, 0x8407b2b1, 0x4b5e, 0x11d3, 0xaf, 0x1b, 0x00, 0x60, 0x08, 0xaf, 0xe0, 0x59);
DEFINE_GUID(IID_IRefCount, 0x8407b2b0, 0x4b5e, 0x11d3, 0xaf, 0x1b, 0x00, 0x60, 0x08, 0xaf, 0xe0, 0x59);
DEFINE_GUID(IID_ISubject, 0x6d2a25c1, 0xbe4a, 0x4f2c, 0x9c, 0xd2, 0xe4, 0x61, 0xb7, 0xd0, 0xda, 0x49);
DEFINE_GUID(IID_IObserver, 0x92fc248c, 0x8324, 0x4580, 0x99, 0xf2, 0x42, 0x59, 0x59, 0xfb, 0x01, 0xe2);
DEFINE_GUID(IID_IMessage, 0x92627e6b, 0xac36, 0x42d7, 0x97, 0x20, 0xb7, 0x9d, 0xc3, 0x27, 0x04, 0x1c);
DEFINE_GUID(IID_IEventRouter, 0x0122c05e, 0x122a, 0x46a0, 0x93, 0x9c, 0xe6, 0x70, 0x47, 0xcf, 0x00, 0xca);
DEFINE_GUID(IID_IVisual, 0xe7707e00, 0x1e4f, 0x4f4e, 0xa5, 0x25, 0x29, 0x0c, 0xfa, 0x9c, 0x1e, 0xf3);
DEFINE_GUID(IID_ISize2D, 0xa989afcb, 0xd665, 0x4faf, 0x93, 0xa6, 0x34, 0xe3, 0x78, 0xbf, 0x75, 0xe0);
DEFINE_GUID(IID_IBounds2D, 0xa332fe8e, 0xb30d, 0x47ee, 0xaf, 0x1b, 0x7e, 0x86, 0x3f, 0xde, 0xff, 0xe5);
DEFINE_GUID(IID_ILogCoordinates, 0x9ebf6b30, 0xe26a, 0x4cea, 0xba, 0x7f, 0x2c, 0x7e, 0x82, 0x20, 0xaa, 0x58);
DEFINE_GUID(IID_IZoom, 0x8407b2b4, 0x4b5e, 0x11d3, 0xaf, 0x1b, 0x00, 0x60, 0x08, 0xaf, 0xe0, 0x59);

// QueryGuid clears *out, then stores the object seen as the asked interface and answers true,
// or answers false.
class IQueryGuid {
 public:
  virtual bool QueryGuid(REFGUID id, void** out) = 0;

 protected:
  ~IQueryGuid() = default;
};

class IRefCount {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IRefCount() = default;
};

class IObserver;

class IMessage : public IQueryGuid, public IRefCount {
 public:
  virtual UINT GetTypeID() const = 0;
  virtual void GetDescription(CString& out) const = 0;
  virtual ~IMessage() = default;
};

class ISubject : public IQueryGuid, public IRefCount {
 public:
  virtual void AddObserver(IObserver* obs) = 0;
  virtual void RemoveObserver(IObserver* obs) = 0;
  virtual void UpdateAllObservers(IObserver* except, IMessage* msg) = 0;

 protected:
  ~ISubject() = default;
};

// Observers must accept a null message, and never AddRef a message: a sender may build one on
// the stack.
class IObserver : public IQueryGuid, public IRefCount {
 public:
  virtual void OnUpdate(ISubject* subject, IMessage* msg) = 0;

 protected:
  ~IObserver() = default;
};

// Implements I (an interface on IQueryGuid and IRefCount) with a count that starts at 0; the
// last Release deletes the object.
template <class I>
class CRefCountImpl : public I {
 public:
  ULONG AddRef() override { return ++m_ulCount; }
  ULONG Release() override {
    const ULONG count = --m_ulCount;
    if (count == 0) delete this;
    return count;
  }
  bool QueryGuid(REFGUID id, void** out) override {
    *out = nullptr;
    if (id != IID_IMessage) return false;
    *out = static_cast<IMessage*>(this);
    return true;
  }

 protected:
  ULONG m_ulCount = 0;
};

// Answers `id` when it is one of the identifiers an object supports.
inline bool AnswerGuid(REFGUID id, REFGUID supported, void* face, void** out) {
  if (id != supported) return false;
  *out = face;
  return true;
}

}  // namespace kelpwood::foundation
