// The pool of member records: distinct slots that keep their bytes, chunks given back when
// emptied, other sizes left to the global heap, and use from several threads at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "model/CMemberFunctionObj.h"
#include "model/CVariableObj.h"
#include "foundation/RecordPool.h"

#ifdef BRAMBOLT_UNDER_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

constexpr std::size_t kSlot = 200;

constexpr bool kPooled = RecordPool::kPooled;

// Fills a slot with bytes derived from its number, and checks them.
void Stamp(void* p, std::size_t n) { std::memset(p, static_cast<int>(n % 251), kSlot); }
bool HasStamp(const void* p, std::size_t n) {
  const auto* bytes = static_cast<const unsigned char*>(p);
  for (std::size_t i = 0; i < kSlot; ++i)
    if (bytes[i] != n % 251) return false;
  return true;
}

std::size_t SlotsInChunks(std::size_t nChunks) { return nChunks * RecordPool::kChunkSize / kSlot; }

TEST(RecordPool, SlotsAreDistinctAlignedAndKeepTheirBytes) {
  RecordPool pool(kSlot);
  const std::size_t n = SlotsInChunks(2);
  std::vector<void*> slots;
  for (std::size_t i = 0; i < n; ++i) {
    slots.push_back(pool.Allocate(kSlot));
    Stamp(slots.back(), i);
  }
  EXPECT_EQ(std::set<void*>(slots.begin(), slots.end()).size(), n);
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(slots[i]) % 16, 0u);
    ASSERT_TRUE(HasStamp(slots[i], i)) << "slot " << i;
  }
  for (void* p : slots) pool.Free(p, kSlot);
}

TEST(RecordPool, EmptiedChunksGoBackAndFreedSlotsServeAgain) {
  if (!kPooled) GTEST_SKIP() << "every record is its own allocation under AddressSanitizer";
  RecordPool pool(kSlot);
  std::vector<void*> slots;
  for (std::size_t i = 0; i < SlotsInChunks(3); ++i) slots.push_back(pool.Allocate(kSlot));
  const std::size_t nFull = pool.GetChunkCount();
  EXPECT_GE(nFull, 3u);
  // Every other slot freed: as many allocations again fit without a new chunk.
  std::vector<void*> kept;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (i % 2 == 0)
      pool.Free(slots[i], kSlot);
    else
      kept.push_back(slots[i]);
  }
  for (std::size_t i = 0; i < slots.size(); i += 2) kept.push_back(pool.Allocate(kSlot));
  EXPECT_EQ(pool.GetChunkCount(), nFull);
  for (void* p : kept) pool.Free(p, kSlot);
  EXPECT_EQ(pool.GetChunkCount(), 1u);
}

TEST(RecordPool, UnderAddressSanitizerEveryRecordIsItsOwnAllocation) {
  if (kPooled) GTEST_SKIP() << "pooled outside AddressSanitizer";
  RecordPool pool(kSlot);
  void* first = pool.Allocate(kSlot);
  void* second = pool.Allocate(kSlot);
  EXPECT_EQ(pool.GetChunkCount(), 0u);
#ifdef BRAMBOLT_UNDER_ASAN
  // The bytes past a record and a freed record are poisoned, so misuse of either is reported.
  EXPECT_TRUE(__asan_address_is_poisoned(static_cast<char*>(first) + kSlot));
  pool.Free(first, kSlot);
  EXPECT_TRUE(__asan_address_is_poisoned(first));
#else
  pool.Free(first, kSlot);
#endif
  pool.Free(second, kSlot);
}

TEST(RecordPool, OtherSizesUseTheGlobalHeap) {
  RecordPool pool(kSlot);
  void* p = pool.Allocate(kSlot + 64);
  ASSERT_NE(p, nullptr);
  std::memset(p, 1, kSlot + 64);
  EXPECT_EQ(pool.GetChunkCount(), 0u);
  pool.Free(p, kSlot + 64);
  pool.Free(nullptr, kSlot);
}

TEST(RecordPool, ThreadsAllocateAndFreeAtOnce) {
  RecordPool pool(kSlot);
  constexpr int kThreads = 8;
  std::vector<int> damaged(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int round = 0; round < 4; ++round) {
        std::vector<void*> slots;
        for (std::size_t i = 0; i < 3000; ++i) {
          slots.push_back(pool.Allocate(kSlot));
          Stamp(slots.back(), i + static_cast<std::size_t>(t));
        }
        for (std::size_t i = 0; i < slots.size(); ++i) {
          if (!HasStamp(slots[i], i + static_cast<std::size_t>(t))) ++damaged[t];
          pool.Free(slots[i], kSlot);
        }
      }
    });
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(damaged[t], 0) << "thread " << t;
  if (kPooled) {
    EXPECT_LE(pool.GetChunkCount(), 1u);
  }
}

TEST(RecordPool, MemberRecordsAreMadeAndDeletedThroughIt) {
  std::vector<std::unique_ptr<CObject>> records;
  for (int i = 0; i < 1000; ++i) {
    auto* pFunction = new CMemberFunctionObj(2);
    pFunction->m_strName = "Function" + CString(std::to_string(i).c_str());
    pFunction->m_ParameterList.AddTail("int n");
    records.emplace_back(pFunction);
    records.emplace_back(RUNTIME_CLASS(CVariableObj)->CreateObject());
  }
  for (int i = 0; i < 1000; i += 97) {
    const auto* pFunction = static_cast<const CMemberFunctionObj*>(records[static_cast<std::size_t>(2 * i)].get());
    EXPECT_EQ(pFunction->m_strName, "Function" + CString(std::to_string(i).c_str()));
    EXPECT_EQ(pFunction->m_ParameterList.GetHead(), "int n");
    EXPECT_TRUE(records[static_cast<std::size_t>(2 * i + 1)]->IsKindOf(RUNTIME_CLASS(CVariableObj)));
  }
}

}  // namespace
