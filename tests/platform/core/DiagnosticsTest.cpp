#include <gtest/gtest.h>

#include "core/core.h"

namespace {
class CAnimal : public CObject {
  DECLARE_DYNAMIC(CAnimal)
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)
class CDog : public CAnimal {
  DECLARE_DYNAMIC(CDog)
};
IMPLEMENT_DYNAMIC(CDog, CAnimal)
}  // namespace

TEST(Diagnostics, DynamicDownCastChecksTheRunTimeClass) {
  CDog dog;
  CAnimal animal;
  CObject* asObject = &dog;
  EXPECT_EQ(DYNAMIC_DOWNCAST(CDog, asObject), &dog);
  EXPECT_EQ(DYNAMIC_DOWNCAST(CAnimal, asObject), static_cast<CAnimal*>(&dog));
  asObject = &animal;
  EXPECT_EQ(DYNAMIC_DOWNCAST(CDog, asObject), nullptr);
  EXPECT_EQ(DYNAMIC_DOWNCAST(CDog, static_cast<CObject*>(nullptr)), nullptr);
}

TEST(Diagnostics, FailedAssertionEndsTheProgramWithItsPlace) {
  EXPECT_DEATH(ASSERT(1 + 1 == 3), "Assertion failed: 1 \\+ 1 == 3");
  int calls = 0;
  VERIFY(++calls == 1);  // VERIFY evaluates its expression once
  EXPECT_EQ(calls, 1);
}
