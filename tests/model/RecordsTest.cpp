// The class, member, explorer and resource records: their archive layouts, ownership of member
// records, unique names and the one-record file family.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "afx/CWinApp.h"
#include "model/CFileObj.h"
#include "model/CGenMenuObj.h"
#include "model/ExplorerItems.h"
#include "model/RecordFile.h"
#include "model/ResourceRecords.h"
#include "testing/testing.h"
#include "ModelTestSupport.h"

using model_test::ArchiveImage;
using model_test::TempFolder;

using model_test::LoadBytes;
using model_test::S;
using model_test::StoreBytes;

namespace {

template <class Record>
std::string Store(Record& record) {
  return StoreBytes([&record](CArchive& ar) { record.Serialize(ar); });
}

}  // namespace

TEST(ClassRecord, SerializeWritesBasesThenNamesThenRawRectangle) {
  CFileObj record;
  record.m_BaseClassList.AddTail("CBar");
  record.m_BaseClassList.AddTail("NS$CBaz");
  record.m_strPath = "p";
  record.m_nKnownClassId = 1050;
  record.m_strClassName = "CFoo";
  record.m_strBaseClassName = "CBar";
  record.m_strHeaderFile = "Foo.h";
  record.m_strSourceFile = "Foo.cpp";
  record.m_strReserved = "r";
  record.m_strClassHead = "class CFoo : public CBar";  // not archived
  ArchiveImage expected;
  expected.Count(2).String("CBar").String("NS$CBaz").String("p").Dword(1050).String("CFoo").String("CBar");
  expected.String("Foo.h").String("Foo.cpp").Dword(0).Dword(0).Dword(500).Dword(400).String("r");
  EXPECT_EQ(Store(record), expected.Bytes());
}

// Records archived when a base's "::" was kept as "$" and the first base lost its qualifier read
// back with the bases as written; a base that holds "::" is read as it stands.
TEST(ClassRecord, LoadRestoresTheQualifiedBasesOfAnEarlierRecord) {
  const struct {
    std::vector<std::string> archived;
    std::string first;
    std::string bases;
    std::string expectedFirst;
  } cases[] = {
      {{"NS$CBar", "CBaz"}, "CBar", "NS::CBar|CBaz", "NS::CBar"},
      {{"$CWnd"}, "$CWnd", "::CWnd", "::CWnd"},
      {{"A$B<C$D>", "E$F"}, "D>", "A::B<C::D>|E::F", "A::B<C::D>"},
      {{"Ns::Odd$Name"}, "Ns::Odd$Name", "Ns::Odd$Name", "Ns::Odd$Name"},
  };
  for (const auto& c : cases) {
    ArchiveImage image;
    image.Count(static_cast<uint32_t>(c.archived.size()));
    for (const std::string& base : c.archived) image.String(base);
    image.String("p").Dword(0).String("CFoo").String(c.first).String("Foo.h").String("Foo.cpp");
    image.Dword(0).Dword(0).Dword(500).Dword(400).String("r");
    CFileObj loaded;
    loaded.m_BaseClassList.AddTail("Earlier$One");  // not read: left alone
    LoadBytes(image.Bytes(), [&loaded](CArchive& ar) { loaded.Serialize(ar); });
    std::string bases;
    for (POSITION pos = loaded.m_BaseClassList.GetHeadPosition(); pos != nullptr;)
      bases += "|" + S(loaded.m_BaseClassList.GetNext(pos));
    EXPECT_EQ(bases, "|Earlier$One|" + c.bases) << c.first;
    EXPECT_EQ(S(loaded.m_strBaseClassName), c.expectedFirst) << c.first;
  }
}

TEST(ClassRecord, LoadGivesBackTheArchivedFieldsAndNothingElse) {
  CFileObj saved;
  saved.m_BaseClassList.AddTail("CBar");
  saved.m_strPath = "path";
  saved.m_nKnownClassId = 0;
  saved.m_strClassName = "CFoo";
  saved.m_strBaseClassName = "CBar";
  saved.m_strHeaderFile = "Foo.h";
  saved.m_strSourceFile = "Foo.cpp";
  saved.m_rect.SetRect(-1, 2, 3, 4);
  saved.m_strReserved = "res";
  saved.m_strClassHead = "head";
  saved.m_VariableList.AddTail(new CVariableObj);

  CFileObj loaded;
  loaded.m_BaseClassList.AddTail("Earlier");
  LoadBytes(Store(saved), [&loaded](CArchive& ar) { loaded.Serialize(ar); });
  ASSERT_EQ(loaded.m_BaseClassList.GetCount(), 2);  // appended
  EXPECT_EQ(S(loaded.m_BaseClassList.GetTail()), "CBar");
  EXPECT_EQ(S(loaded.m_strPath), "path");
  EXPECT_EQ(loaded.m_nKnownClassId, 0);
  EXPECT_EQ(S(loaded.m_strClassName), "CFoo");
  EXPECT_EQ(S(loaded.m_strBaseClassName), "CBar");
  EXPECT_EQ(S(loaded.m_strHeaderFile), "Foo.h");
  EXPECT_EQ(S(loaded.m_strSourceFile), "Foo.cpp");
  EXPECT_EQ(loaded.m_rect, CRect(-1, 2, 3, 4));
  EXPECT_EQ(S(loaded.m_strReserved), "res");
  EXPECT_TRUE(loaded.m_strClassHead.IsEmpty());
  EXPECT_TRUE(loaded.m_VariableList.IsEmpty());
}

TEST(ClassRecord, ClassInfoLayoutRoundTrips) {
  CFileObj saved;
  saved.m_ReservedStrings.Add("x");
  saved.m_ReservedStrings.Add("y");
  saved.m_strReserved = "r";
  ArchiveImage expected;
  expected.Count(2).String("x").String("y").String("CMyView").String("CMyDoc").Dword(1);
  expected.Dword(0).Dword(0).Dword(500).Dword(400).String("r").Dword(0);
  std::string bytes = StoreBytes([&saved](CArchive& ar) { saved.SerializeClassInfo(ar); });
  EXPECT_EQ(bytes, expected.Bytes());

  CFileObj loaded;
  loaded.m_strViewClass = "Other";
  loaded.m_dwReserved1 = 9;
  LoadBytes(bytes, [&loaded](CArchive& ar) { loaded.SerializeClassInfo(ar); });
  EXPECT_EQ(loaded.m_ReservedStrings.GetSize(), 2);
  EXPECT_EQ(S(loaded.m_strViewClass), "CMyView");
  EXPECT_EQ(loaded.m_dwReserved1, 1u);
}

TEST(ClassRecord, DeletingTheClassDeletesItsMemberRecords) {
  // Counted through a derived record whose destructor reports.
  static int destroyed = 0;
  struct CountedFunction : CMemberFunctionObj {
    ~CountedFunction() override { ++destroyed; }
  };
  struct CountedVariable : CVariableObj {
    ~CountedVariable() override { ++destroyed; }
  };
  destroyed = 0;
  auto* record = new CFileObj;
  record->m_MemberFunctionList.AddTail(new CountedFunction);
  record->m_MemberFunctionList.AddTail(new CountedFunction);
  record->m_VariableList.AddTail(new CountedVariable);
  delete record;
  EXPECT_EQ(destroyed, 3);
}

TEST(ClassRecord, UniqueNamesNumberRepeatsFromZero) {
  CFileObj record;
  const char* names[] = {"f", "f", "g", "f", "f(0)"};
  const char* expected[] = {"f", "f(0)", "g", "f(1)", "f(0)(0)"};
  for (size_t i = 0; i < 5; ++i) {
    auto* function = new CMemberFunctionObj;
    function->m_strName = names[i];
    function->m_strUniqueName = record.MakeUniqueFunctionName(names[i]);
    EXPECT_EQ(S(function->m_strUniqueName), expected[i]);
    record.m_MemberFunctionList.AddTail(function);
  }
  // Variables are numbered on their own.
  EXPECT_EQ(S(record.MakeUniqueVariableName("f")), "f");
}

TEST(MemberRecords, StartPrivateAndEmpty) {
  CMemberFunctionObj function;
  CVariableObj variable;
  EXPECT_EQ(function.m_nAccess, MEMBER_PRIVATE);
  EXPECT_EQ(variable.m_nAccess, MEMBER_PRIVATE);
  EXPECT_EQ(function.m_nFind, 0);
  EXPECT_FALSE(function.m_bVirtual || function.m_bStatic || variable.m_bStatic);
}

TEST(MemberRecords, FileFamilyWritesEmptyFilesAndReadsThem) {
  TempFolder folder;
  CMemberFunctionObj function;
  function.m_strName = "f";
  std::string path = folder.Write("f.rec", "old contents");
  ASSERT_TRUE(function.SaveToFile(path.c_str()));
  EXPECT_EQ(folder.Read("f.rec"), "");
  EXPECT_TRUE(function.LoadFromFile(path.c_str()));
  EXPECT_EQ(S(function.m_strName), "f");

  CVariableObj variable;
  EXPECT_TRUE(variable.SaveToFile((folder / "v.rec").c_str()));
  EXPECT_FALSE(variable.LoadFromFile((folder / "missing.rec").c_str()));
  EXPECT_FALSE(variable.SaveToFile((folder / "no/such/v.rec").c_str()));

  CResIDObj resId;
  EXPECT_TRUE(resId.SaveToFile((folder / "r.rec").c_str()));
  CGenMenuObj entry;
  EXPECT_TRUE(entry.LoadFromFile((folder / "r.rec").c_str()));
}

namespace {

// A record of the file family that notes the cursor while it is archived.
class CursorProbe : public CObject {
  DECLARE_RECORD_FILE()

 public:
  void Serialize(CArchive& ar) override {
    seen.push_back(::GetCursor());
    DWORD dw = 7;
    if (ar.IsStoring())
      ar << dw;
    else
      ar >> dw;
  }
  std::vector<HCURSOR> seen;
};

IMPLEMENT_RECORD_FILE(CursorProbe)

}  // namespace

// The small records are written and read under the wait cursor, which goes when they are done;
// a worker thread's transfer leaves the cursor alone.
TEST(MemberRecords, FileFamilyTransfersUnderTheWaitCursor) {
  brambolt::test::UiSession session;
  CWinApp app{"Records Test"};
  TempFolder folder;
  const std::string path = folder / "probe.rec";
  const HCURSOR hArrow = ::LoadCursor(nullptr, IDC_ARROW), hWait = ::LoadCursor(nullptr, IDC_WAIT);
  ::SetCursor(hArrow);
  CursorProbe probe;
  ASSERT_TRUE(probe.SaveToFile(path.c_str()));
  EXPECT_EQ(::GetCursor(), hArrow);
  ASSERT_TRUE(probe.LoadFromFile(path.c_str()));
  EXPECT_EQ(::GetCursor(), hArrow);
  EXPECT_EQ(probe.seen, (std::vector<HCURSOR>{hWait, hWait}));
  std::thread worker([&] { EXPECT_TRUE(probe.LoadFromFile(path.c_str())); });
  worker.join();
  EXPECT_EQ(::GetCursor(), hArrow);
}

TEST(ResourceRecords, ArchiveTheirFieldsInTheirOrder) {
  CIconResObj icon;
  icon.m_strText1 = "a";
  icon.m_strText2 = "b";
  icon.m_strText3 = "not stored";
  EXPECT_EQ(Store(icon), ArchiveImage().String("a").String("b").Dword(100).Dword(2005).Bytes());

  CMenuFileObj menu;
  menu.m_strText1 = "first";
  menu.m_strText2 = "second";
  EXPECT_EQ(Store(menu), ArchiveImage().String("second").String("first").Dword(100).Bytes());

  CDbpFileObj dbp;
  dbp.m_strText1 = "1";
  dbp.m_strText4 = "4";
  std::string four = ArchiveImage().String("1").String("").String("").String("4").Bytes();
  EXPECT_EQ(Store(dbp), four);
  CRptFileObj report;
  LoadBytes(four, [&report](CArchive& ar) { report.Serialize(ar); });
  EXPECT_EQ(S(report.m_strText1), "1");
  EXPECT_EQ(S(report.m_strText4), "4");

  CResIDObj resId;
  CGenMenuObj entry;
  CFindItemObj findItem;
  CItemFileObj itemFile;
  EXPECT_EQ(Store(resId), "");
  EXPECT_EQ(Store(entry), "");
  EXPECT_EQ(Store(findItem), "");
  EXPECT_EQ(Store(itemFile), "");
}

TEST(ResourceRecords, AreCreatedByClassName) {
  for (const char* name : {"CResIDObj", "CIconResObj", "CMenuFileObj", "CDbpFileObj", "CRptFileObj", "CGenMenuObj",
                           "CFileObj", "CMemberFunctionObj", "CVariableObj", "CFindItemObj", "CItemFileObj",
                           "CWorkSpaceObj"}) {
    CObject* object = CRuntimeClass::CreateObject(name);
    ASSERT_NE(object, nullptr) << name;
    EXPECT_STREQ(object->GetRuntimeClass()->m_lpszClassName, name);
    EXPECT_EQ(object->GetRuntimeClass()->m_wSchema, 0u);
    delete object;
  }
}
