#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "base/base.h"

namespace {

TEST(GlobalMemory, MoveableBlocksAreReachedThroughLocks) {
  HGLOBAL handle = GlobalAlloc(GHND, 16);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalSize(handle), 16u);
  auto* data = static_cast<BYTE*>(GlobalLock(handle));
  ASSERT_NE(data, nullptr);
  EXPECT_NE(static_cast<void*>(data), handle);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(data[i], 0);  // zero-initialised
  EXPECT_EQ(GlobalHandle(data), handle);
  EXPECT_EQ(GlobalFlags(handle) & GMEM_LOCKCOUNT, 1u);
  EXPECT_EQ(GlobalLock(handle), data);
  EXPECT_EQ(GlobalFlags(handle) & GMEM_LOCKCOUNT, 2u);
  EXPECT_TRUE(GlobalUnlock(handle));  // still locked once
  SetLastError(ERROR_INVALID_FUNCTION);
  EXPECT_FALSE(GlobalUnlock(handle));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_FALSE(GlobalUnlock(handle));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(GlobalMemory, FixedBlocksAreTheirOwnHandles) {
  HGLOBAL handle = GlobalAlloc(GPTR, 8);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalLock(handle), handle);
  EXPECT_EQ(GlobalHandle(handle), handle);
  std::memcpy(handle, "fixed", 6);
  EXPECT_EQ(GlobalFlags(handle) & GMEM_LOCKCOUNT, 0u);
  EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(GlobalMemory, ReAllocGrowsAndKeepsContents) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(handle), "abcd", 4);
  GlobalUnlock(handle);
  HGLOBAL grown = GlobalReAlloc(handle, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT);
  EXPECT_EQ(grown, handle);  // a moveable block keeps its handle
  EXPECT_EQ(GlobalSize(grown), 4096u);
  auto* data = static_cast<char*>(GlobalLock(grown));
  EXPECT_EQ(std::memcmp(data, "abcd", 4), 0);
  for (int i = 4; i < 4096; ++i) ASSERT_EQ(data[i], 0) << i;
  EXPECT_EQ(GlobalHandle(data), grown);
  GlobalUnlock(grown);
  HGLOBAL shrunk = GlobalReAlloc(grown, 2, 0);
  EXPECT_EQ(GlobalSize(shrunk), 2u);
  GlobalFree(shrunk);
}

TEST(GlobalMemory, LockedBlocksDoNotMoveUnlessAllowed) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 8);
  void* data = GlobalLock(handle);
  SetLastError(0);
  EXPECT_EQ(GlobalReAlloc(handle, 1 << 20, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(GlobalSize(handle), 8u);
  EXPECT_EQ(GlobalReAlloc(handle, 4, 0), handle);  // shrinking stays in place
  EXPECT_EQ(GlobalLock(handle), data);
  GlobalFree(handle);

  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 8);
  EXPECT_EQ(GlobalReAlloc(fixed, 1 << 20, 0), nullptr);
  HGLOBAL moved = GlobalReAlloc(fixed, 1 << 20, GMEM_MOVEABLE);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(GlobalLock(moved), moved);
  EXPECT_EQ(GlobalSize(moved), static_cast<SIZE_T>(1 << 20));
  GlobalFree(moved);
}

TEST(GlobalMemory, ZeroSizedMoveableBlockIsDiscarded) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalLock(handle), nullptr);
  EXPECT_TRUE(GlobalFlags(handle) & GMEM_DISCARDED);
  HGLOBAL revived = GlobalReAlloc(handle, 10, GMEM_MOVEABLE);
  EXPECT_NE(GlobalLock(revived), nullptr);
  GlobalFree(revived);
}

TEST(GlobalMemory, StaleAndForeignHandlesAreRefused) {
  HGLOBAL handle = GlobalAlloc(GHND, 4);
  ASSERT_EQ(GlobalFree(handle), nullptr);
  SetLastError(0);
  EXPECT_EQ(GlobalLock(handle), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalSize(handle), 0u);
  EXPECT_EQ(GlobalFree(handle), handle);  // a second free fails
  EXPECT_EQ(GlobalFlags(handle), static_cast<UINT>(GMEM_INVALID_HANDLE));
  int onStack = 0;
  EXPECT_EQ(GlobalHandle(&onStack), nullptr);
  EXPECT_EQ(LocalFree(nullptr), nullptr);
}

TEST(GlobalMemory, LocalFamilySharesTheTable) {
  HLOCAL local = LocalAlloc(LHND, 3);
  char* data = static_cast<char*>(LocalLock(local));
  EXPECT_EQ(LocalHandle(data), local);
  EXPECT_EQ(LocalSize(local), 3u);
  LocalUnlock(local);
  EXPECT_EQ(LocalFree(local), nullptr);
}

TEST(GlobalMemory, ConcurrentUseKeepsEveryBlockApart) {
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < 500; ++i) {
        HGLOBAL handle = GlobalAlloc(GHND, 8);
        auto* data = static_cast<int*>(GlobalLock(handle));
        data[0] = t * 1000 + i;
        GlobalUnlock(handle);
        handle = GlobalReAlloc(handle, 64, GMEM_MOVEABLE);
        data = static_cast<int*>(GlobalLock(handle));
        if (data[0] != t * 1000 + i || GlobalHandle(data) != handle) ++failures;
        GlobalUnlock(handle);
        if (GlobalFree(handle) != nullptr) ++failures;
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
