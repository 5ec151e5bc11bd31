// The kernel-handle table: handles name objects until released and are never given out twice.
#include "os/KernelObject.h"

#include <gtest/gtest.h>

namespace brambolt {
namespace {

struct Probe : KernelObject {
  explicit Probe(bool* destroyed) : KernelObject(Type::Event), m_destroyed(destroyed) {}
  ~Probe() override { *m_destroyed = true; }
  bool* m_destroyed;
};

TEST(KernelHandles, LookupFindsTheObjectUntilReleased) {
  bool destroyed = false;
  HANDLE h = AllocHandle(std::make_shared<Probe>(&destroyed));
  ASSERT_NE(h, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_NE(LookupHandleAs<Probe>(h, KernelObject::Type::Event), nullptr);
  EXPECT_EQ(LookupHandleAs<Probe>(h, KernelObject::Type::Mutex), nullptr);
  EXPECT_NE(ReleaseHandle(h), nullptr);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(LookupHandle(h), nullptr);
  EXPECT_EQ(ReleaseHandle(h), nullptr);
}

TEST(KernelHandles, HolderKeepsTheObjectAliveAfterRelease) {
  bool destroyed = false;
  HANDLE h = AllocHandle(std::make_shared<Probe>(&destroyed));
  std::shared_ptr<KernelObject> held = LookupHandle(h);
  ReleaseHandle(h);
  EXPECT_FALSE(destroyed);
  held.reset();
  EXPECT_TRUE(destroyed);
}

TEST(KernelHandles, ClosedHandleValuesAreNotReused) {
  bool destroyed = false;
  HANDLE first = AllocHandle(std::make_shared<Probe>(&destroyed));
  ReleaseHandle(first);
  HANDLE second = AllocHandle(std::make_shared<Probe>(&destroyed));
  EXPECT_NE(first, second);
  ReleaseHandle(second);
}

TEST(KernelHandles, RefusedReleaseKeepsTheHandleOpen) {
  bool destroyed = false;
  HANDLE h = AllocHandle(std::make_shared<Probe>(&destroyed));
  EXPECT_EQ(ReleaseHandle(h, [](const KernelObject&) { return false; }), nullptr);
  EXPECT_NE(LookupHandle(h), nullptr);
  ReleaseHandle(h);
}

}  // namespace
}  // namespace brambolt
