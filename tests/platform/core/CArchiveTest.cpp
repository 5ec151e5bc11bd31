// CArchive: the exact bytes of scalars, strings, counts and object graphs, and the exceptions a
// corrupt or lying stream raises.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "core/CArchive.h"
#include "core/CMemFile.h"
#include "FilesTestSupport.h"

using files_test::ArchiveCause;
using files_test::Bytes;
using files_test::Concat;
using files_test::Load;
using files_test::Store;
using files_test::Text;

// Serialisable classes of these tests; global, as the friend extraction operators must be.
class CArcNode : public CObject {
  DECLARE_SERIAL(CArcNode)
 public:
  LONG m_value = 0;
  CObject* m_pChild = nullptr;  // not owned
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_value << m_pChild;
    } else {
      ar >> m_value >> m_pChild;
    }
  }
};

class CArcLeaf : public CObject {
  DECLARE_SERIAL(CArcLeaf)
 public:
  WORD m_w = 0;
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_w;
    } else {
      ar >> m_w;
    }
  }
};

class CArcVersioned : public CObject {
  DECLARE_SERIAL(CArcVersioned)
 public:
  UINT m_loadedSchema = 0;
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << static_cast<BYTE>(7);
    } else {
      m_loadedSchema = ar.GetObjectSchema();
      BYTE b = 0;
      ar >> b;
    }
  }
};

IMPLEMENT_SERIAL(CArcNode, CObject, 1)
IMPLEMENT_SERIAL(CArcLeaf, CObject, 0)
IMPLEMENT_SERIAL(CArcVersioned, CObject, VERSIONABLE_SCHEMA | 2)

namespace {

Bytes Le16(unsigned v) { return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8)}; }
Bytes Le32(unsigned v) {
  return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)};
}
Bytes NewClass(unsigned schema, const std::string& name) {
  return Concat({Le16(0xFFFF), Le16(schema), Le16(static_cast<unsigned>(name.size())), Text(name)});
}

// ---- scalars ----

TEST(ArchiveScalars, AreWrittenLittleEndianWithTheirWindowsSizes) {
  Bytes bytes = Store([](CArchive& ar) {
    ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<DWORD>(0x789ABCDE)
       << static_cast<LONG>(-2) << static_cast<short>(-3) << 'x' << 1.5f << -2.25
       << static_cast<LONGLONG>(0x0102030405060708LL) << true;
  });
  Bytes expected = Concat({{0x12},
                           Le16(0x3456),
                           Le32(0x789ABCDE),
                           Le32(0xFFFFFFFE),
                           Le16(0xFFFD),
                           {'x'},
                           Le32(0x3FC00000),
                           {0, 0, 0, 0, 0, 0, 0x02, 0xC0},
                           {0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01},
                           {0x01}});
  EXPECT_EQ(bytes, expected);

  Load(bytes, [](CArchive& ar) {
    BYTE by;
    WORD w;
    DWORD dw;
    LONG l;
    short s;
    char c;
    float f;
    double d;
    LONGLONG ll;
    bool b;
    ar >> by >> w >> dw >> l >> s >> c >> f >> d >> ll >> b;
    EXPECT_EQ(by, 0x12);
    EXPECT_EQ(w, 0x3456);
    EXPECT_EQ(dw, 0x789ABCDEu);
    EXPECT_EQ(l, -2);
    EXPECT_EQ(s, -3);
    EXPECT_EQ(c, 'x');
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, -2.25);
    EXPECT_EQ(ll, 0x0102030405060708LL);
    EXPECT_TRUE(b);
  });
}

TEST(ArchiveScalars, ReadingPastTheEndRaisesEndOfFile) {
  Bytes bytes = {1, 2, 3};
  EXPECT_EQ(ArchiveCause([&] {
              Load(bytes, [](CArchive& ar) {
                DWORD dw;
                ar >> dw;
              });
            }),
            CArchiveException::endOfFile);
}

// ---- strings ----

struct StringCase {
  int length;
  Bytes prefix;
};

class ArchiveStringPrefix : public ::testing::TestWithParam<StringCase> {};

TEST_P(ArchiveStringPrefix, MatchesTheFrameworkAndRoundTrips) {
  const StringCase& c = GetParam();
  std::string text(static_cast<size_t>(c.length), 'a');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  Bytes bytes = Store([&](CArchive& ar) { ar << CString(text.c_str()); });
  ASSERT_EQ(bytes.size(), c.prefix.size() + text.size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(c.prefix.size())), c.prefix);
  Load(bytes, [&](CArchive& ar) {
    CString back;
    ar >> back;
    EXPECT_EQ(back.GetLength(), c.length);
    EXPECT_TRUE(std::string(static_cast<LPCTSTR>(back)) == text);
  });
}

// 0xFFFE is the Unicode marker of the 16-bit form, so 65534 already takes the 32-bit form.
INSTANTIATE_TEST_SUITE_P(Lengths, ArchiveStringPrefix,
                         ::testing::Values(StringCase{0, {0x00}}, StringCase{1, {0x01}}, StringCase{254, {0xFE}},
                                           StringCase{255, {0xFF, 0xFF, 0x00}},
                                           StringCase{65533, {0xFF, 0xFD, 0xFF}},
                                           StringCase{65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                                           StringCase{65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
                                           StringCase{70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}),
                         [](const ::testing::TestParamInfo<StringCase>& info) {
                           return "Length" + std::to_string(info.param.length);
                         });

TEST(ArchiveStrings, KeepBytesAboveAsciiAndEmbeddedNuls) {
  const char raw[] = {'\xD6', '\xD0', '\0', '\xCE', '\xC4'};
  CString text(raw, 5);
  Bytes bytes = Store([&](CArchive& ar) { ar << text; });
  EXPECT_EQ(bytes, (Bytes{5, 0xD6, 0xD0, 0x00, 0xCE, 0xC4}));
  Load(bytes, [&](CArchive& ar) {
    CString back;
    ar >> back;
    ASSERT_EQ(back.GetLength(), 5);
    EXPECT_EQ(std::memcmp(static_cast<LPCTSTR>(back), raw, 5), 0);
  });
}

TEST(ArchiveStrings, ACStringLiteralIsWrittenInTheStringForm) {
  EXPECT_EQ(Store([](CArchive& ar) { ar << "abc"; }), (Bytes{3, 'a', 'b', 'c'}));
}

TEST(ArchiveStrings, AUnicodeMarkedStringIsReadIntoTheAnsiCodePage) {
  Bytes bytes = {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0};
  Load(bytes, [](CArchive& ar) {
    CString back;
    ar >> back;
    EXPECT_STREQ(static_cast<LPCTSTR>(back), "abc");
  });
}

TEST(ArchiveStrings, ALengthBeyondTheStreamRaisesEndOfFileWithoutReading) {
  const Bytes lies[] = {
      {10, 'a', 'b'},
      Concat({{0xFF}, Le16(0xFFFF), Le32(0xFFFFFFF0), Text("abc")}),
      Concat({{0xFF}, Le16(0xFFFF), Le32(0x7FFFFFFF), Text("abc")}),
      Concat({{0xFF}, Le16(0xFFFE), {0xFF}, Le16(0xFFFF), Le32(0x40000000), Text("ab")}),
  };
  for (const Bytes& lie : lies) {
    EXPECT_EQ(ArchiveCause([&] {
                Load(lie, [](CArchive& ar) {
                  CString s;
                  ar >> s;
                });
              }),
              CArchiveException::endOfFile);
  }
}

// ---- counts ----

TEST(ArchiveCounts, UseAWordOrTheEscapeAndADword) {
  struct Case {
    DWORD count;
    Bytes bytes;
  };
  const Case cases[] = {
      {0, Le16(0)},
      {0xFFFE, Le16(0xFFFE)},
      {0xFFFF, Concat({Le16(0xFFFF), Le32(0xFFFF)})},
      {70000, Concat({Le16(0xFFFF), Le32(70000)})},
  };
  for (const Case& c : cases) {
    Bytes bytes = Store([&](CArchive& ar) { ar.WriteCount(c.count); });
    EXPECT_EQ(bytes, c.bytes) << c.count;
    // A count is believed only when the stream holds at least that many bytes more.
    Bytes withData = bytes;
    withData.resize(bytes.size() + c.count, 0);
    Load(withData, [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), c.count); });
  }
}

TEST(ArchiveCounts, ACountBeyondTheStreamRaisesEndOfFile) {
  Bytes lie = Concat({Le16(0xFFFF), Le32(0x7FFFFFFF), Text("abc")});
  EXPECT_EQ(ArchiveCause([&] { Load(lie, [](CArchive& ar) { ar.ReadCount(); }); }), CArchiveException::endOfFile);
  Bytes shortCount = Concat({Le16(5), Text("abcd")});
  EXPECT_EQ(ArchiveCause([&] { Load(shortCount, [](CArchive& ar) { ar.ReadCount(); }); }),
            CArchiveException::endOfFile);
}

// A file whose reads deliver more than its length tells, as a compressed file's do.
class CShortLengthFile : public CMemFile {
 public:
  using CMemFile::CMemFile;
  ULONGLONG GetLength() const override { return 0; }
};

TEST(ArchiveCounts, ChecksDoNotTrustTheLengthOfTheFile) {
  Bytes bytes = Store([](CArchive& ar) {
    ar << CString(std::string(70000, 's').c_str());
    ar.WriteCount(1000);
    for (int i = 0; i < 1000; ++i) ar << static_cast<BYTE>(i);
  });
  CShortLengthFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  CString s;
  ar >> s;
  EXPECT_EQ(s.GetLength(), 70000);
  EXPECT_EQ(ar.ReadCount(), 1000u);
  BYTE last = 0;
  for (int i = 0; i < 1000; ++i) ar >> last;
  EXPECT_EQ(last, static_cast<BYTE>(999));

  Bytes lie = Concat({Le16(0xFFFF), Le32(100000), Text("only a few bytes")});
  CShortLengthFile lying(lie.data(), static_cast<UINT>(lie.size()));
  CArchive lyingAr(&lying, CArchive::load);
  EXPECT_EQ(ArchiveCause([&] { lyingAr.ReadCount(); }), CArchiveException::endOfFile);
}

// ---- objects ----

TEST(ArchiveObjects, GraphIsWrittenWithClassAndObjectBackReferences) {
  CArcNode a;
  CArcNode b;
  CArcLeaf leaf1;
  CArcLeaf leaf2;
  a.m_value = 0x11;
  a.m_pChild = &b;
  b.m_value = 0x22;
  b.m_pChild = &a;
  leaf1.m_w = 0x0A0B;
  leaf2.m_w = 0x0C0D;
  Bytes bytes = Store([&](CArchive& ar) {
    ar << &a << &b << static_cast<CObject*>(nullptr) << &leaf1 << &leaf2;
  });
  // Indexes: 1 class CArcNode, 2 a, 3 b, 4 class CArcLeaf, 5 leaf1, 6 leaf2.
  Bytes expected = Concat({NewClass(1, "CArcNode"), Le32(0x11),  // a
                           Le16(0x8001), Le32(0x22),             // b: known class
                           Le16(2),                              // b's child: a
                           Le16(3),                              // b again
                           Le16(0),                              // null
                           NewClass(0, "CArcLeaf"), Le16(0x0A0B), Le16(0x8004), Le16(0x0C0D)});
  EXPECT_EQ(bytes, expected);

  Load(bytes, [](CArchive& ar) {
    CObject* pA = nullptr;
    CObject* pB = nullptr;
    CArcLeaf sentinel;
    CObject* pNull = &sentinel;
    CArcLeaf* pLeaf1 = nullptr;
    CArcLeaf* pLeaf2 = nullptr;
    ar >> pA >> pB >> pNull >> pLeaf1 >> pLeaf2;
    ASSERT_TRUE(pA != nullptr && pA->IsKindOf(RUNTIME_CLASS(CArcNode)));
    auto* nodeA = static_cast<CArcNode*>(pA);
    EXPECT_EQ(nodeA->m_value, 0x11);
    EXPECT_EQ(nodeA->m_pChild, pB);
    EXPECT_EQ(static_cast<CArcNode*>(pB)->m_pChild, pA);
    EXPECT_EQ(pNull, nullptr);
    ASSERT_NE(pLeaf1, nullptr);
    ASSERT_NE(pLeaf2, nullptr);
    EXPECT_EQ(pLeaf1->m_w, 0x0A0B);
    EXPECT_EQ(pLeaf2->m_w, 0x0C0D);
    delete pA;
    delete pB;
    delete pLeaf1;
    delete pLeaf2;
  });
}

TEST(ArchiveObjects, IndexesFromTheBigRangeUseTheEscapeTag) {
  // Class 1, then leaves 2..0x8001: index 0x7FFF and beyond take the escape tag.
  const int nLeaves = 0x8000;
  std::vector<std::unique_ptr<CArcLeaf>> leaves;
  for (int i = 0; i < nLeaves; ++i) {
    leaves.push_back(std::make_unique<CArcLeaf>());
    leaves.back()->m_w = static_cast<WORD>(i);
  }
  CArcNode node;
  Bytes bytes = Store([&](CArchive& ar) {
    for (auto& leaf : leaves) ar << leaf.get();
    ar << leaves[0x7FFC].get() << leaves[0x7FFD].get() << leaves.back().get();
    ar << &node;  // a new class after index 0x7FFF
    ar << &node;
  });
  // CArcNode is class index 0x8002 and node is 0x8003.
  Bytes tail = Concat({Le16(0x7FFE),                                // leaf 0x7FFC has index 0x7FFE
                       Le16(0x7FFF), Le32(0x7FFF),                  // leaf 0x7FFD: the escape
                       Le16(0x7FFF), Le32(0x8001),                  // the last leaf
                       NewClass(1, "CArcNode"), Le32(0), Le16(0),  // node, no child
                       Le16(0x7FFF), Le32(0x8003)});
  ASSERT_GT(bytes.size(), tail.size());
  EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);

  // A class reference past 0x7FFF: a second CArcNode object refers to class 0x8002.
  CArcNode second;
  Bytes withClassRef = Store([&](CArchive& ar) {
    for (auto& leaf : leaves) ar << leaf.get();
    ar << &node << &second;
  });
  Bytes classRef = Concat({Le16(0x7FFF), Le32(0x80008002), Le32(0), Le16(0)});
  EXPECT_EQ(Bytes(withClassRef.end() - static_cast<long>(classRef.size()), withClassRef.end()), classRef);

  Load(bytes, [&](CArchive& ar) {
    std::vector<CObject*> loaded;
    for (int i = 0; i < nLeaves + 5; ++i) {
      CObject* p = nullptr;
      ar >> p;
      loaded.push_back(p);
    }
    EXPECT_EQ(loaded[nLeaves], loaded[0x7FFC]);
    EXPECT_EQ(loaded[nLeaves + 1], loaded[0x7FFD]);
    EXPECT_EQ(loaded[nLeaves + 2], loaded[nLeaves - 1]);
    EXPECT_EQ(loaded[nLeaves + 4], loaded[nLeaves + 3]);
    EXPECT_EQ(static_cast<CArcLeaf*>(loaded[nLeaves - 1])->m_w, nLeaves - 1);
    for (int i = 0; i < nLeaves; ++i) delete loaded[i];
    delete loaded[nLeaves + 3];
  });
}

TEST(ArchiveObjects, AVersionableClassReadsAnOlderSchema) {
  Bytes older = Concat({NewClass(1, "CArcVersioned"), {7}, Le16(0x8001), {7}});
  Load(older, [](CArchive& ar) {
    CObject* p1 = nullptr;
    CObject* p2 = nullptr;
    ar >> p1 >> p2;
    ASSERT_NE(p1, nullptr);
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(static_cast<CArcVersioned*>(p1)->m_loadedSchema, 1u);
    // The schema read with the class holds for later objects of the class too.
    EXPECT_EQ(static_cast<CArcVersioned*>(p2)->m_loadedSchema, 1u);
    delete p1;
    delete p2;
  });
  // Written with its own schema number, without the versionable bit.
  CArcVersioned v;
  EXPECT_EQ(Store([&](CArchive& ar) { ar << &v; }), Concat({NewClass(2, "CArcVersioned"), {7}}));
}

TEST(ArchiveObjects, CorruptTagsRaiseTheirCauses) {
  struct Case {
    const char* what;
    Bytes bytes;
    int cause;
  };
  const Case cases[] = {
      {"schema differs", Concat({NewClass(2, "CArcNode"), Le32(0), Le16(0)}), CArchiveException::badSchema},
      {"unknown class", Concat({NewClass(0, "CNoSuchClassAnywhere"), Le16(0)}), CArchiveException::badClass},
      {"name with a NUL", Concat({NewClass(0, std::string("CArcLeaf\0x", 10)), Le16(0)}), CArchiveException::badClass},
      {"object index never given", Le16(5), CArchiveException::badIndex},
      {"class index never given", Le16(0x8007), CArchiveException::badIndex},
      {"class index 0", Le16(0x8000), CArchiveException::badIndex},
      {"big object index never given", Concat({Le16(0x7FFF), Le32(0x12345)}), CArchiveException::badIndex},
      {"big class index never given", Concat({Le16(0x7FFF), Le32(0x80012345)}), CArchiveException::badIndex},
      {"object reference to a class", Concat({NewClass(0, "CArcLeaf"), Le16(1), Le16(1)}), CArchiveException::badIndex},
      {"class reference to an object", Concat({NewClass(0, "CArcLeaf"), Le16(1), Le16(0x8002)}),
       CArchiveException::badIndex},
      {"name longer than the stream", Concat({Le16(0xFFFF), Le16(0), Le16(500), Text("CArc")}),
       CArchiveException::endOfFile},
  };
  [[maybe_unused]] files_test::ExpectedLeaks leaks;
  for (const Case& c : cases) {
    std::vector<CObject*> made;
    int cause = ArchiveCause([&] {
      Load(c.bytes, [&](CArchive& ar) {
        for (;;) {
          CObject* p = nullptr;
          ar >> p;
          made.push_back(p);
        }
      });
    });
    EXPECT_EQ(cause, c.cause) << c.what;
    for (CObject* p : std::set<CObject*>(made.begin(), made.end())) delete p;
  }
}

TEST(ArchiveObjects, NestingDeeperThanAnyDocumentIsRefusedBeforeTheStackRunsOut) {
  // Objects each holding the next: 20,000 levels, then a null child.
  auto nested = [](int depth) {
    Bytes bytes = Concat({NewClass(1, "CArcNode"), Le32(0)});
    for (int i = 1; i < depth; ++i)
      for (const Bytes& part : {Le16(0x8001), Le32(static_cast<unsigned>(i))}) bytes.insert(bytes.end(), part.begin(), part.end());
    return Concat({bytes, Le16(0)});
  };
  [[maybe_unused]] files_test::ExpectedLeaks leaks;
  EXPECT_EQ(ArchiveCause([&] {
              Load(nested(20000), [](CArchive& ar) {
                CObject* p = nullptr;
                ar >> p;
              });
            }),
            CArchiveException::genericException);
  CObject* top = nullptr;
  Load(nested(1000), [&](CArchive& ar) { ar >> top; });
  int depth = 0;
  for (CObject* p = top; p; ++depth) {
    CObject* next = static_cast<CArcNode*>(p)->m_pChild;
    delete p;
    p = next;
  }
  EXPECT_EQ(depth, 1000);
}

TEST(ArchiveObjects, AnObjectOfAnotherClassThanRequestedRaisesBadClass) {
  CArcNode node;
  Bytes bytes = Store([&](CArchive& ar) { ar << &node << &node; });
  EXPECT_EQ(ArchiveCause([&] {
              Load(bytes, [](CArchive& ar) {
                CArcLeaf* pLeaf = nullptr;
                ar >> pLeaf;
              });
            }),
            CArchiveException::badClass);
  // A back-reference is checked too.
  EXPECT_EQ(ArchiveCause([&] {
              Load(bytes, [](CArchive& ar) {
                CArcNode* pNode = nullptr;
                ar >> pNode;
                std::unique_ptr<CArcNode> owner(pNode);
                CArcLeaf* pLeaf = nullptr;
                ar >> pLeaf;
              });
            }),
            CArchiveException::badClass);
}

TEST(ArchiveObjects, ANonSerialisableClassIsRefused) {
  CMemFile notSerial;
  bool refused = false;
  try {
    Store([&](CArchive& ar) { ar << &notSerial; });
  } catch (CNotSupportedException* e) {
    e->Delete();
    refused = true;
  }
  EXPECT_TRUE(refused);
}

TEST(ArchiveObjects, EveryTruncationOfAStreamRaisesAndNeverCrashes) {
  CArcNode a;
  CArcNode b;
  CArcLeaf leaf;
  a.m_pChild = &b;
  b.m_pChild = &leaf;
  Bytes bytes = Store([&](CArchive& ar) {
    ar << &a << CString("some text") << &leaf;
    ar.WriteCount(2);
    ar << CString("x") << CString("y");
  });
  [[maybe_unused]] files_test::ExpectedLeaks leaks;
  for (size_t n = 0; n < bytes.size(); ++n) {
    Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
    std::vector<CObject*> made;
    int cause = ArchiveCause([&] {
      Load(cut, [&](CArchive& ar) {
        CObject* p = nullptr;
        ar >> p;
        made.push_back(p);
        CString s;
        ar >> s;
        ar >> p;
        DWORD_PTR count = ar.ReadCount();
        for (DWORD_PTR i = 0; i < count; ++i) ar >> s;
      });
    });
    EXPECT_EQ(cause, CArchiveException::endOfFile) << "cut at " << n;
  }
}

TEST(ArchiveObjects, SerializeClassWritesAndChecksTheClassTag) {
  Bytes bytes = Store([](CArchive& ar) {
    ar.SerializeClass(RUNTIME_CLASS(CArcLeaf));
    ar.SerializeClass(RUNTIME_CLASS(CArcLeaf));
  });
  EXPECT_EQ(bytes, Concat({NewClass(0, "CArcLeaf"), Le16(0x8001)}));
  Load(bytes, [](CArchive& ar) {
    ar.SerializeClass(RUNTIME_CLASS(CArcLeaf));
    EXPECT_EQ(ar.GetObjectSchema(), 0u);
    EXPECT_EQ(ar.GetObjectSchema(), static_cast<UINT>(-1));
    EXPECT_EQ(ar.ReadClass(), RUNTIME_CLASS(CArcLeaf));
  });
  EXPECT_EQ(ArchiveCause([&] { Load(bytes, [](CArchive& ar) { ar.SerializeClass(RUNTIME_CLASS(CArcNode)); }); }),
            CArchiveException::badClass);
}

TEST(ArchiveObjects, MappedObjectsAreWrittenAndReadAsReferences) {
  CArcLeaf shared;
  Bytes bytes = Store([&](CArchive& ar) {
    ar.MapObject(&shared);
    ar << &shared;
  });
  EXPECT_EQ(bytes, Le16(1));
  Load(bytes, [&](CArchive& ar) {
    ar.MapObject(&shared);
    CObject* p = nullptr;
    ar >> p;
    EXPECT_EQ(p, &shared);
  });
}

// ---- buffering, modes and text ----

TEST(ArchiveBuffer, WritesLargerThanTheBufferArriveInOrder) {
  std::string big(10000, 'q');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  Bytes bytes = Store(
      [&](CArchive& ar) {
        ar << static_cast<BYTE>(1);
        ar.Write(big.data(), static_cast<UINT>(big.size()));
        ar << static_cast<BYTE>(2);
      },
      128);
  ASSERT_EQ(bytes.size(), big.size() + 2);
  EXPECT_EQ(bytes.front(), 1);
  EXPECT_EQ(bytes.back(), 2);
  EXPECT_EQ(std::memcmp(bytes.data() + 1, big.data(), big.size()), 0);
  Load(
      bytes,
      [&](CArchive& ar) {
        BYTE first = 0;
        ar >> first;
        std::string back(big.size(), '\0');
        EXPECT_EQ(ar.Read(back.data(), static_cast<UINT>(back.size())), big.size());
        EXPECT_TRUE(back == big);
        BYTE last = 0;
        ar >> last;
        EXPECT_EQ(last, 2);
        char extra[4];
        EXPECT_EQ(ar.Read(extra, sizeof extra), 0u);
      },
      128);
}

TEST(ArchiveBuffer, AbortAndNoFlushOnDeleteDropWhatIsBuffered) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<DWORD>(1);
    ar.Abort();
  }
  EXPECT_EQ(file.GetLength(), 0u);
  {
    CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
    ar << static_cast<DWORD>(1);
  }
  EXPECT_EQ(file.GetLength(), 0u);
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<DWORD>(1);
  }
  EXPECT_EQ(file.GetLength(), 4u);
}

TEST(ArchiveBuffer, ClosingALoadingArchiveLeavesTheFileWhereReadingStopped) {
  CMemFile file;
  file.Write("0123456789", 10);
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  BYTE b[3];
  ar.Read(b, 3);
  ar.Close();
  EXPECT_EQ(file.GetPosition(), 3u);
}

TEST(ArchiveModes, WritingWhileLoadingOrReadingWhileStoringRaises) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::load);
    EXPECT_TRUE(ar.IsLoading());
    EXPECT_FALSE(ar.IsStoring());
    EXPECT_EQ(ar.GetFile(), &file);
    EXPECT_EQ(ArchiveCause([&] { ar << static_cast<BYTE>(1); }), CArchiveException::readOnly);
  }
  {
    CArchive ar(&file, CArchive::store);
    EXPECT_EQ(ArchiveCause([&] {
                BYTE b;
                ar >> b;
              }),
              CArchiveException::writeOnly);
  }
}

TEST(ArchiveText, ReadStringStopsAtEveryKindOfLineEnd) {
  Bytes bytes = Text("one\r\ntwo\nthree\rfour\r\n\r\nlast");
  Load(bytes, [](CArchive& ar) {
    CString line;
    const char* expected[] = {"one", "two", "three", "four", "", "last"};
    for (const char* e : expected) {
      ASSERT_TRUE(ar.ReadString(line));
      EXPECT_STREQ(static_cast<LPCTSTR>(line), e);
    }
    EXPECT_FALSE(ar.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
  });
}

TEST(ArchiveText, ReadStringIntoABufferStopsAtItsSize) {
  Bytes bytes = Text("abcdef\r\ngh");
  Load(bytes, [](CArchive& ar) {
    char buffer[5];
    ASSERT_NE(ar.ReadString(buffer, 4), nullptr);
    EXPECT_STREQ(buffer, "abcd");
    ASSERT_NE(ar.ReadString(buffer, 4), nullptr);
    EXPECT_STREQ(buffer, "ef");
    ASSERT_NE(ar.ReadString(buffer, 4), nullptr);
    EXPECT_STREQ(buffer, "gh");
    EXPECT_EQ(ar.ReadString(buffer, 4), nullptr);
  });
}

TEST(ArchiveText, LinesLongerThanTheBufferAreReadWhole) {
  std::string longLine(20000, 'z');
  Bytes bytes = Text(longLine + "\r\nend");
  Load(
      bytes,
      [&](CArchive& ar) {
        CString line;
        ASSERT_TRUE(ar.ReadString(line));
        EXPECT_EQ(line.GetLength(), 20000);
        ASSERT_TRUE(ar.ReadString(line));
        EXPECT_STREQ(static_cast<LPCTSTR>(line), "end");
      },
      128);
  EXPECT_EQ(Store([](CArchive& ar) { ar.WriteString("a\nb"); }), Text("a\nb"));
}

}  // namespace
