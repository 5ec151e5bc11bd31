// Per-thread maps from handles to the framework objects that wrap them: permanent entries made
// by Attach, and temporary wrappers made by FromHandle and deleted when the thread is idle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "base/base.h"

namespace brambolt::afx {

// Whether an object pointer is null. The framework lets code call GetSafeHwnd(), GetSafeHdc() and
// the like through a null pointer; the compiler may assume 'this' is never null, so the test
// goes through a value it cannot see into.
inline bool IsNullObject(const void* p) {
  asm("" : "+r"(p));
  return p == nullptr;
}

// The width or height of a creation rectangle. The default rectangle holds CW_USEDEFAULT
// (0x80000000) on the left and 0 on the right, and its extent must come out as CW_USEDEFAULT
// again, so the difference wraps as on the original platform instead of overflowing.
inline int Extent(LONG from, LONG to) {
  return static_cast<int>(static_cast<DWORD>(to) - static_cast<DWORD>(from));
}

// A map whose temporary objects can be deleted; every map of a thread registers itself so that
// AfxUnlockTempMaps can clear them all.
class TempMapBase {
 public:
  TempMapBase();
  virtual ~TempMapBase();
  TempMapBase(const TempMapBase&) = delete;
  TempMapBase& operator=(const TempMapBase&) = delete;
  virtual void DeleteTemp() = 0;
  virtual size_t TemporaryCount() const = 0;
};

// Object is the wrapper class; Release clears the wrapper's handle(s) so that deleting a
// temporary object leaves the handle alone.
template <class Object, class Handle>
class HandleMap final : public TempMapBase {
 public:
  using Factory = Object* (*)(Handle);
  using Release = void (*)(Object*);

  explicit HandleMap(Release release) : release_(release) {}
  ~HandleMap() override { DeleteTemp(); }

  Object* LookupPermanent(Handle h) const {
    // A message goes through the lookups of the same few windows again and again: the last
    // answers are kept in a small table beside the map.
    Recent& recent = recent_[RecentSlot(h)];
    if (recent.handle == h && h != nullptr) return recent.object;
    Object* o = Find(permanent_, h);
    if (o != nullptr) recent = Recent{h, o};
    return o;
  }
  Object* LookupTemporary(Handle h) const { return Find(temporary_, h); }

  // The permanent object of h, else its temporary one, else a new temporary one from make
  // (which may return null to refuse). Null for a null handle.
  Object* FromHandle(Handle h, Factory make) {
    if (h == nullptr) return nullptr;
    if (Object* o = LookupPermanent(h)) return o;
    if (Object* o = LookupTemporary(h)) return o;
    Object* o = make(h);
    if (o != nullptr) temporary_[h] = o;
    return o;
  }

  // What Attach and Detach of every wrapper do: store the handle in the object's slot and map it
  // to the object, or clear the slot and the mapping, returning the handle.
  BOOL Attach(Object* o, Handle& slot, Handle h) {
    if (h == nullptr) return FALSE;
    slot = h;
    SetPermanent(h, o);
    return TRUE;
  }
  Handle Detach(const Object* o, Handle& slot) {
    Handle h = slot;
    if (h != nullptr) RemoveHandle(h, o);
    slot = nullptr;
    return h;
  }

  void SetPermanent(Handle h, Object* o) {
    if (h == nullptr) return;
    permanent_[h] = o;
    recent_[RecentSlot(h)] = Recent{};
  }
  // Forgets the permanent entry of h if it belongs to o (any entry when o is null).
  void RemoveHandle(Handle h, const Object* o = nullptr) {
    auto it = permanent_.find(h);
    if (it != permanent_.end() && (o == nullptr || it->second == o)) {
      permanent_.erase(it);
      recent_[RecentSlot(h)] = Recent{};
    }
  }

  void DeleteTemp() override {
    // A destructor may create or look up other temporary objects, so work on a detached copy.
    while (!temporary_.empty()) {
      auto objects = std::move(temporary_);
      temporary_.clear();
      for (auto& [handle, object] : objects) {
        release_(object);
        delete object;
      }
    }
  }

  size_t TemporaryCount() const override { return temporary_.size(); }

 private:
  static Object* Find(const std::unordered_map<Handle, Object*>& map, Handle h) {
    auto it = map.find(h);
    return it == map.end() ? nullptr : it->second;
  }

  struct Recent {
    Handle handle = nullptr;
    Object* object = nullptr;
  };
  static constexpr size_t kRecent = 8;  // a power of two
  static size_t RecentSlot(Handle h) {
    const auto bits = reinterpret_cast<uintptr_t>(h);
    return static_cast<size_t>(bits ^ (bits >> 4) ^ (bits >> 16)) & (kRecent - 1);
  }

  Release release_;
  mutable Recent recent_[kRecent];  // permanent entries looked up lately, each in its hash's slot
  std::unordered_map<Handle, Object*> permanent_;
  std::unordered_map<Handle, Object*> temporary_;
};

// Objects with static storage (a CWnd for a pseudo-handle, an application's CBrush) are destroyed
// at exit after the main thread's thread-local objects. So a thread's map lives on the heap behind
// a plain thread-local pointer, which stays readable until the thread is gone: the owner frees
// the map when the thread ends, and a map asked for after that is a fresh empty one that is never
// freed, so such destructors find nothing instead of touching a destroyed map.
template <class Map, class T>
class ThreadLocalInstance {
 public:
  template <class... Args>
  static T& Get(Args&&... args) {
    if (current_ == nullptr) {
      current_ = new T(std::forward<Args>(args)...);
      if (!tornDown_) owner_.armed = true;
    }
    return *current_;
  }

 private:
  struct Owner {
    bool armed = false;
    ~Owner() {
      if (!armed) return;
      T* dying = current_;
      current_ = nullptr;
      tornDown_ = true;
      delete dying;
    }
  };
  static inline thread_local T* current_ = nullptr;
  static inline thread_local bool tornDown_ = false;
  static inline thread_local Owner owner_;
};

// The calling thread's map of one kind.
template <class MapType>
MapType& ThreadHandleMap(typename MapType::Release release) {
  return ThreadLocalInstance<MapType, MapType>::Get(release);
}

// Deletes the temporary objects of every map of the calling thread.
void DeleteAllTempMaps();
// How many temporary objects the calling thread's maps hold.
size_t TemporaryObjectCount();

}  // namespace brambolt::afx

// While the lock count of a thread is above zero its temporary objects survive idle time.
void AfxLockTempMaps();
// Returns TRUE when the count dropped to zero (the temporary objects are then deleted if
// bDeleteTemps is TRUE).
BOOL AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);
