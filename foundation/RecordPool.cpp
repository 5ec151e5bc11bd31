// Fixed-size slots in chunks aligned to their size, so a slot finds its chunk from its address.
#include "foundation/RecordPool.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>

// The head of a chunk; its slots follow. Free slots of the chunk form a list through their
// first bytes; slots past nBumped were never used.
struct RecordPool::Chunk {
  void* pFree = nullptr;
  std::size_t nBumped = 0;
  std::size_t nLive = 0;
  bool bHasRoom = true;  // listed in m_withRoom
};

namespace {

constexpr std::size_t kSlotAlign = 16;
constexpr std::size_t kHeadSize = (sizeof(void*) * 4 + kSlotAlign - 1) / kSlotAlign * kSlotAlign;

std::size_t RoundedSlot(std::size_t nSize) {
  return std::max((nSize + kSlotAlign - 1) / kSlotAlign * kSlotAlign, sizeof(void*));
}

char* SlotsOf(void* pChunk) { return static_cast<char*>(pChunk) + kHeadSize; }

}  // namespace

RecordPool::RecordPool(std::size_t nSlotSize)
    : m_nSlotSize(RoundedSlot(nSlotSize)), m_nSlotsPerChunk((kChunkSize - kHeadSize) / m_nSlotSize) {
  static_assert(sizeof(Chunk) <= kHeadSize);
}

RecordPool::~RecordPool() {
  for (Chunk* pChunk : m_chunks) ::munmap(pChunk, kChunkSize);
}

RecordPool::Chunk* RecordPool::NewChunk() {
  // Twice the size, then the unaligned ends are given back.
  void* pMapped = ::mmap(nullptr, 2 * kChunkSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pMapped == MAP_FAILED) throw std::bad_alloc();
  const auto address = reinterpret_cast<std::uintptr_t>(pMapped);
  const std::uintptr_t aligned = (address + kChunkSize - 1) & ~(kChunkSize - 1);
  if (aligned > address) ::munmap(pMapped, aligned - address);
  const std::uintptr_t end = address + 2 * kChunkSize;
  if (end > aligned + kChunkSize) ::munmap(reinterpret_cast<void*>(aligned + kChunkSize), end - aligned - kChunkSize);
  void* pChunkMemory = reinterpret_cast<void*>(aligned);
  ::madvise(pChunkMemory, kChunkSize, MADV_HUGEPAGE);  // a hint: without huge pages it still works
  Chunk* pChunk = ::new (pChunkMemory) Chunk;
  m_chunks.push_back(pChunk);
  m_withRoom.push_back(pChunk);
  return pChunk;
}

void RecordPool::ReleaseChunk(Chunk* pChunk) {
  m_chunks.erase(std::find(m_chunks.begin(), m_chunks.end(), pChunk));
  if (pChunk->bHasRoom) m_withRoom.erase(std::find(m_withRoom.begin(), m_withRoom.end(), pChunk));
  ::munmap(pChunk, kChunkSize);
}

void* RecordPool::Allocate(std::size_t nSize) {
  if (!kPooled || RoundedSlot(nSize) != m_nSlotSize) return ::operator new(nSize);
  std::lock_guard<std::mutex> lock(m_mutex);
  Chunk* pChunk = m_withRoom.empty() ? NewChunk() : m_withRoom.back();
  void* pSlot;
  if (pChunk->pFree != nullptr) {
    pSlot = pChunk->pFree;
    pChunk->pFree = *static_cast<void**>(pSlot);
  } else {
    pSlot = SlotsOf(pChunk) + pChunk->nBumped * m_nSlotSize;
    ++pChunk->nBumped;
  }
  if (++pChunk->nLive == m_nSlotsPerChunk) {
    pChunk->bHasRoom = false;
    m_withRoom.erase(std::find(m_withRoom.begin(), m_withRoom.end(), pChunk));
  }
  return pSlot;
}

void RecordPool::Free(void* p, std::size_t nSize) noexcept {
  if (p == nullptr) return;
  if (!kPooled || RoundedSlot(nSize) != m_nSlotSize) {
    ::operator delete(p);
    return;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  auto* pChunk = reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(p) & ~(kChunkSize - 1));
  *static_cast<void**>(p) = pChunk->pFree;
  pChunk->pFree = p;
  --pChunk->nLive;
  if (!pChunk->bHasRoom) {
    pChunk->bHasRoom = true;
    m_withRoom.push_back(pChunk);
  }
  if (pChunk->nLive == 0 && m_chunks.size() > 1) ReleaseChunk(pChunk);
}

std::size_t RecordPool::GetChunkCount() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_chunks.size();
}
