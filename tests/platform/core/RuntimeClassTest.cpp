// CObject run-time classes: derivation, exact class identity, creation and lookup by name.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "core/core.h"

class CTestShape : public CObject {
  DECLARE_DYNAMIC(CTestShape)
};
IMPLEMENT_DYNAMIC(CTestShape, CObject)

class CTestCircle : public CTestShape {
  DECLARE_DYNCREATE(CTestCircle)
 public:
  int m_nRadius = 7;
};
IMPLEMENT_DYNCREATE(CTestCircle, CTestShape)

class CTestBigCircle : public CTestCircle {
  DECLARE_DYNCREATE(CTestBigCircle)
};
IMPLEMENT_DYNCREATE(CTestBigCircle, CTestCircle)

class CTestRecord : public CObject {
  DECLARE_SERIAL(CTestRecord)
};
IMPLEMENT_SERIAL(CTestRecord, CObject, 0x100)

class CTestVersionedRecord : public CTestRecord {
  DECLARE_SERIAL(CTestVersionedRecord)
};
IMPLEMENT_SERIAL(CTestVersionedRecord, CTestRecord, 1 | VERSIONABLE_SCHEMA)

// A template class without run-time information of its own reports its base's class.
template <class T>
class CTestHolder : public CTestShape {
 public:
  T m_value{};
};

namespace {

// Looked up by an ordinary static initialiser: every class is registered before it runs,
// including those of other translation units and of the library.
const bool g_bFoundDuringStaticInit =
    CRuntimeClass::FromName("CTestCircle") != nullptr && CRuntimeClass::FromName("CFileException") != nullptr;

}  // namespace

TEST(RuntimeClass, IsKindOfFollowsTheBaseChain) {
  CTestBigCircle big;
  EXPECT_TRUE(big.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_TRUE(big.IsKindOf(RUNTIME_CLASS(CTestShape)));
  EXPECT_TRUE(big.IsKindOf(RUNTIME_CLASS(CTestCircle)));
  EXPECT_TRUE(big.IsKindOf(RUNTIME_CLASS(CTestBigCircle)));
  CTestCircle circle;
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CTestBigCircle)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CException)));
}

TEST(RuntimeClass, ExactClassComparisonDoesNotMatchDerivedClasses) {
  CTestBigCircle big;
  const CObject& object = big;
  EXPECT_EQ(object.GetRuntimeClass(), RUNTIME_CLASS(CTestBigCircle));
  EXPECT_NE(object.GetRuntimeClass(), RUNTIME_CLASS(CTestCircle));
  EXPECT_STREQ(object.GetRuntimeClass()->m_lpszClassName, "CTestBigCircle");
  EXPECT_EQ(object.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CTestCircle));
}

TEST(RuntimeClass, TemplateWithoutItsOwnClassReportsItsBase) {
  CTestHolder<int> holder;
  EXPECT_EQ(holder.GetRuntimeClass(), RUNTIME_CLASS(CTestShape));
}

TEST(RuntimeClass, CreateObjectOnlyForDynCreateClasses) {
  std::unique_ptr<CObject> created(RUNTIME_CLASS(CTestCircle)->CreateObject());
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->GetRuntimeClass(), RUNTIME_CLASS(CTestCircle));
  EXPECT_EQ(static_cast<CTestCircle*>(created.get())->m_nRadius, 7);
  EXPECT_EQ(RUNTIME_CLASS(CTestShape)->CreateObject(), nullptr);
  EXPECT_EQ(RUNTIME_CLASS(CObject)->CreateObject(), nullptr);
}

TEST(RuntimeClass, LookupByExactName) {
  EXPECT_EQ(CRuntimeClass::FromName("CTestBigCircle"), RUNTIME_CLASS(CTestBigCircle));
  EXPECT_EQ(CRuntimeClass::FromName("CArchiveException"), RUNTIME_CLASS(CArchiveException));
  EXPECT_EQ(CRuntimeClass::FromName("ctestbigcircle"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName("CTestBig"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(""), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
  std::unique_ptr<CObject> created(CRuntimeClass::CreateObject("CTestBigCircle"));
  ASSERT_NE(created, nullptr);
  EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CTestBigCircle)));
  EXPECT_EQ(CRuntimeClass::CreateObject("CTestShape"), nullptr);
  EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
}

TEST(RuntimeClass, RegistrationIsCompleteBeforeStaticInitialisers) { EXPECT_TRUE(g_bFoundDuringStaticInit); }

TEST(RuntimeClass, ConcurrentLookupsAgree) {
  std::vector<std::thread> threads;
  std::vector<int> misses(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 1000; ++i)
        if (CRuntimeClass::FromName("CTestCircle") != RUNTIME_CLASS(CTestCircle)) ++misses[t];
    });
  for (auto& thread : threads) thread.join();
  for (int m : misses) EXPECT_EQ(m, 0);
}

TEST(RuntimeClass, DynamicClassesAreNotSerializable) {
  CTestCircle circle;
  EXPECT_FALSE(circle.IsSerializable());
  EXPECT_EQ(RUNTIME_CLASS(CTestCircle)->m_wSchema, 0xFFFFu);
  EXPECT_EQ(RUNTIME_CLASS(CTestCircle)->m_nObjectSize, static_cast<int>(sizeof(CTestCircle)));
}

TEST(RuntimeClass, SerialClassesCarryTheirSchemaAndAreCreatable) {
  CTestVersionedRecord record;
  EXPECT_TRUE(record.IsSerializable());
  EXPECT_TRUE(record.IsKindOf(RUNTIME_CLASS(CTestRecord)));
  EXPECT_EQ(RUNTIME_CLASS(CTestRecord)->m_wSchema, 0x100u);
  EXPECT_EQ(RUNTIME_CLASS(CTestVersionedRecord)->m_wSchema, 1u | VERSIONABLE_SCHEMA);
  std::unique_ptr<CObject> created(CRuntimeClass::CreateObject("CTestVersionedRecord"));
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->GetRuntimeClass(), RUNTIME_CLASS(CTestVersionedRecord));
}
