// The handle table behind GlobalAlloc and LocalAlloc.
#include "base/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "base/LastError.h"

namespace {

struct Block {
  BYTE* data = nullptr;
  SIZE_T size = 0;
  SIZE_T capacity = 0;
  bool moveable = false;
  bool discardable = false;
  UINT locks = 0;
};

// Moveable handles are values that no malloc'ed address can take (4 modulo 16), so a fixed
// block's address and a moveable handle never collide.
class HandleTable {
 public:
  HGLOBAL Alloc(UINT flags, SIZE_T bytes) {
    Block block;
    block.moveable = (flags & GMEM_MOVEABLE) != 0;
    block.discardable = (flags & GMEM_DISCARDABLE) != 0;
    if (!(block.moveable && bytes == 0) && !Resize(block, bytes)) return Fail(ERROR_NOT_ENOUGH_MEMORY);
    std::lock_guard lock(mutex_);
    HGLOBAL handle = block.moveable ? reinterpret_cast<HGLOBAL>(kMoveableBase + (nextId_++ << 4) + 4)
                                    : static_cast<HGLOBAL>(block.data);
    if (block.moveable && block.data != nullptr) owners_[block.data] = handle;
    blocks_[handle] = block;
    return handle;
  }

  HGLOBAL ReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
    std::lock_guard lock(mutex_);
    Block* block = Find(handle);
    if (block == nullptr) return Fail(ERROR_INVALID_HANDLE);
    if (flags & GMEM_MODIFY) {
      block->discardable = (flags & GMEM_DISCARDABLE) != 0;
      return handle;
    }
    bool pinned = !block->moveable || block->locks > 0;
    if (pinned && !(flags & GMEM_MOVEABLE) && bytes > block->capacity) return Fail(ERROR_NOT_ENOUGH_MEMORY);
    BYTE* oldData = block->data;
    if (!Resize(*block, bytes)) return Fail(ERROR_NOT_ENOUGH_MEMORY);
    if (block->data == oldData) return handle;
    if (block->moveable) {
      owners_.erase(oldData);
      if (block->data != nullptr) owners_[block->data] = handle;
      return handle;
    }
    // A fixed block that moved gets its new address as its handle.
    Block moved = *block;
    blocks_.erase(handle);
    HGLOBAL newHandle = static_cast<HGLOBAL>(moved.data);
    blocks_[newHandle] = moved;
    return newHandle;
  }

  SIZE_T Size(HGLOBAL handle) {
    return OnBlock(handle, SIZE_T{0}, [](Block& block) { return block.size; });
  }

  LPVOID Lock(HGLOBAL handle) {
    return OnBlock(handle, LPVOID{}, [](Block& block) -> LPVOID {
      if (block.data == nullptr) return Fail(ERROR_DISCARDED);
      if (block.moveable && block.locks < GMEM_LOCKCOUNT) ++block.locks;
      return block.data;
    });
  }

  BOOL Unlock(HGLOBAL handle) {
    return OnBlock(handle, BOOL{FALSE}, [](Block& block) -> BOOL {
      if (block.locks == 0) {
        SetLastError(block.moveable ? ERROR_NOT_LOCKED : NO_ERROR);
        return FALSE;
      }
      if (--block.locks > 0) return TRUE;
      SetLastError(NO_ERROR);
      return FALSE;
    });
  }

  HGLOBAL HandleOf(LPCVOID pointer) {
    std::lock_guard lock(mutex_);
    auto owner = owners_.find(pointer);
    if (owner != owners_.end()) return owner->second;
    HGLOBAL asHandle = const_cast<LPVOID>(pointer);
    Block* block = Find(asHandle);
    if (block != nullptr && !block->moveable) return asHandle;
    return Fail(ERROR_INVALID_HANDLE);
  }

  UINT Flags(HGLOBAL handle) {
    return OnBlock(handle, UINT{GMEM_INVALID_HANDLE}, [](Block& block) {
      UINT flags = block.locks;
      if (block.discardable) flags |= GMEM_DISCARDABLE;
      if (block.moveable && block.data == nullptr) flags |= GMEM_DISCARDED;
      return flags;
    });
  }

  HGLOBAL Free(HGLOBAL handle) {
    if (handle == nullptr) return nullptr;
    std::lock_guard lock(mutex_);
    auto it = blocks_.find(handle);
    if (it == blocks_.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return handle;
    }
    owners_.erase(it->second.data);
    std::free(it->second.data);
    blocks_.erase(it);
    return nullptr;
  }

 private:
  static constexpr UINT_PTR kMoveableBase = 0x10000000;

  static std::nullptr_t Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
  }

  // Grows or shrinks the block's storage, zeroing every byte it gains.
  static bool Resize(Block& block, SIZE_T bytes) {
    if (bytes <= block.capacity && block.data != nullptr) {
      if (bytes > block.size) std::memset(block.data + block.size, 0, bytes - block.size);
      block.size = bytes;
      return true;
    }
    SIZE_T capacity = bytes == 0 ? 1 : bytes;
    auto* data = static_cast<BYTE*>(std::realloc(block.data, capacity));
    if (data == nullptr) return false;
    std::memset(data + block.size, 0, capacity - block.size);
    block.data = data;
    block.size = bytes;
    block.capacity = capacity;
    return true;
  }

  template <typename Result, typename Action>
  Result OnBlock(HGLOBAL handle, Result invalid, Action action) {
    std::lock_guard lock(mutex_);
    Block* block = Find(handle);
    if (block == nullptr) {
      SetLastError(ERROR_INVALID_HANDLE);
      return invalid;
    }
    return action(*block);
  }

  Block* Find(HGLOBAL handle) {
    auto it = blocks_.find(handle);
    return it == blocks_.end() ? nullptr : &it->second;
  }

  std::mutex mutex_;
  std::unordered_map<LPCVOID, Block> blocks_;
  std::unordered_map<LPCVOID, HGLOBAL> owners_;
  UINT_PTR nextId_ = 1;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) { return Table().Alloc(flags, bytes); }
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) { return Table().ReAlloc(memory, bytes, flags); }
SIZE_T GlobalSize(HGLOBAL memory) { return Table().Size(memory); }
LPVOID GlobalLock(HGLOBAL memory) { return Table().Lock(memory); }
BOOL GlobalUnlock(HGLOBAL memory) { return Table().Unlock(memory); }
HGLOBAL GlobalHandle(LPCVOID pointer) { return Table().HandleOf(pointer); }
UINT GlobalFlags(HGLOBAL memory) { return Table().Flags(memory); }
HGLOBAL GlobalFree(HGLOBAL memory) { return Table().Free(memory); }

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) { return GlobalAlloc(flags, bytes); }
HLOCAL LocalReAlloc(HLOCAL memory, SIZE_T bytes, UINT flags) { return GlobalReAlloc(memory, bytes, flags); }
SIZE_T LocalSize(HLOCAL memory) { return GlobalSize(memory); }
LPVOID LocalLock(HLOCAL memory) { return GlobalLock(memory); }
BOOL LocalUnlock(HLOCAL memory) { return GlobalUnlock(memory); }
HLOCAL LocalHandle(LPCVOID pointer) { return GlobalHandle(pointer); }
UINT LocalFlags(HLOCAL memory) { return GlobalFlags(memory); }
HLOCAL LocalFree(HLOCAL memory) { return GlobalFree(memory); }
