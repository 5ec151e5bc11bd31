// Storage for small records made by the hundred thousand (the analyser's members, the trees'
// nodes): fixed-size slots in 2 MB chunks that the kernel backs with huge pages where it can, so
// a large project costs a few page faults instead of one per 4 KB of records.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

#include "base/Sanitizers.h"

class RecordPool {
 public:
  // Under AddressSanitizer every record is its own allocation, so that misuse of one is caught.
#ifdef BRAMBOLT_UNDER_ASAN
  static constexpr bool kPooled = false;
#else
  static constexpr bool kPooled = true;
#endif

  explicit RecordPool(std::size_t nSlotSize);
  ~RecordPool();
  RecordPool(const RecordPool&) = delete;
  RecordPool& operator=(const RecordPool&) = delete;

  // A slot for an object of nSize bytes; sizes other than the pool's go to the global operator
  // new (a derived class), and come back to Free with their size. Throws std::bad_alloc.
  void* Allocate(std::size_t nSize);
  void Free(void* p, std::size_t nSize) noexcept;

  // Chunks held now: a chunk whose last slot is freed goes back to the system (one stays).
  std::size_t GetChunkCount() const;

  static constexpr std::size_t kChunkSize = std::size_t{2} << 20;

 private:
  struct Chunk;
  Chunk* NewChunk();
  void ReleaseChunk(Chunk* pChunk);

  const std::size_t m_nSlotSize;
  const std::size_t m_nSlotsPerChunk;
  mutable std::mutex m_mutex;
  std::vector<Chunk*> m_chunks;   // every chunk held
  std::vector<Chunk*> m_withRoom;  // chunks with a free slot; the last one serves first
};

// The class-specific operator new and delete of a record kept in a RecordPool.
#define DECLARE_RECORD_POOL()                   \
 public:                                        \
  static void* operator new(std::size_t nSize); \
  static void operator delete(void* p, std::size_t nSize) noexcept;

#define IMPLEMENT_RECORD_POOL(class_name)                                      \
  static RecordPool& class_name##Pool() {                                      \
    /* Never destroyed: records may be deleted by other objects at exit. */    \
    static RecordPool* pPool = new RecordPool(sizeof(class_name));             \
    return *pPool;                                                             \
  }                                                                            \
  void* class_name::operator new(std::size_t nSize) { return class_name##Pool().Allocate(nSize); } \
  void class_name::operator delete(void* p, std::size_t nSize) noexcept { class_name##Pool().Free(p, nSize); }
