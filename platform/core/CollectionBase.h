// What the collection templates share: the POSITION handle, the element helpers that callers may
// specialise (CompareElements, HashKey), the block allocator behind list and map nodes, and misuse checks.
#pragma once

#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/base.h"

#ifndef AFXAPI
#define AFXAPI
#endif

// An opaque iteration handle: a list or map gives one out and takes it back; NULL ends a walk.
struct CollectionPositionTag;
typedef CollectionPositionTag* POSITION;

// Start value some callers compare against; our maps hand out a real node instead, so it is only a name.
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<INT_PTR>(-1)))

// Index and position misuse is a programming error; it throws instead of touching memory it does not own.
[[noreturn]] inline void CollectionIndexFault(const char* what) { throw std::out_of_range(what); }
[[noreturn]] inline void CollectionUsageFault(const char* what) { throw std::logic_error(what); }

template <class TYPE, class ARG_TYPE>
inline BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// Hash of a map key. Integers and enumerations hash to themselves, pointers to their address without the
// alignment bits, anything that converts to a string pointer (LPCTSTR, CString) to a hash of its bytes.
// Other key types specialise HashKey<ARG_KEY>, as with the framework.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
  using Key = std::remove_cvref_t<ARG_KEY>;
  if constexpr (std::is_integral_v<Key> || std::is_enum_v<Key>) {
    auto value = static_cast<std::uint64_t>(key);
    return static_cast<UINT>(value ^ (value >> 32));
  } else if constexpr (std::is_pointer_v<Key> && !std::is_convertible_v<Key, LPCSTR>) {
    auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key)) >> 4;
    return static_cast<UINT>(value ^ (value >> 32));
  } else if constexpr (std::is_convertible_v<const Key&, LPCSTR>) {
    LPCSTR text = static_cast<LPCSTR>(key);
    UINT hash = 0;
    while (text != nullptr && *text != '\0') hash = (hash << 5) + hash + static_cast<BYTE>(*text++);
    return hash;
  } else {
    static_assert(sizeof(Key) == 0, "specialise HashKey for this key type");
    return 0;
  }
}

// Fixed-size blocks of node slots, nBlockSize slots at a time, with a free list: nodes never move, so a
// POSITION stays valid until its own node is removed. The owner destroys live nodes before FreeAll.
template <class NODE>
class CollectionNodePool {
 public:
  explicit CollectionNodePool(INT_PTR nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
  CollectionNodePool(const CollectionNodePool&) = delete;
  CollectionNodePool& operator=(const CollectionNodePool&) = delete;

  template <class... ARGS>
  NODE* New(ARGS&&... args) {
    if (m_pFree == nullptr) AddBlock();
    Slot* slot = m_pFree;
    Slot* next = slot->pNextFree;
    NODE* node;
    try {
      node = ::new (static_cast<void*>(slot->storage)) NODE(std::forward<ARGS>(args)...);
    } catch (...) {
      slot->pNextFree = next;
      throw;
    }
    m_pFree = next;
    return node;
  }

  void Delete(NODE* node) noexcept {
    node->~NODE();
    Slot* slot = reinterpret_cast<Slot*>(node);
    slot->pNextFree = m_pFree;
    m_pFree = slot;
  }

  void FreeAll() noexcept {
    m_blocks.clear();
    m_pFree = nullptr;
  }

 private:
  union Slot {
    Slot* pNextFree;
    alignas(NODE) unsigned char storage[sizeof(NODE)];
  };

  void AddBlock() {
    m_blocks.push_back(std::unique_ptr<Slot[]>(new Slot[static_cast<std::size_t>(m_nBlockSize)]));
    Slot* block = m_blocks.back().get();
    for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i) {
      block[i].pNextFree = m_pFree;
      m_pFree = &block[i];
    }
  }

  INT_PTR m_nBlockSize;
  Slot* m_pFree = nullptr;
  std::vector<std::unique_ptr<Slot[]>> m_blocks;
};
