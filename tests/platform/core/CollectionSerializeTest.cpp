// Collections in archives: the exact bytes written, round trips, refusals and damaged input.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/CArchive.h"
#include "core/CException.h"
#include "core/CMemFile.h"
#include "core/Collections.h"

namespace {

typedef std::vector<BYTE> Bytes;

Bytes Store(CObject& collection) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    collection.Serialize(ar);
    ar.Close();
  }
  Bytes bytes(static_cast<std::size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

void Load(CObject& collection, Bytes bytes) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  collection.Serialize(ar);
  ar.Close();
}

// The cause of the archive exception that loading raises, or -1 when it raises none.
int LoadFailure(CObject& collection, const Bytes& bytes) {
  try {
    Load(collection, bytes);
  } catch (CArchiveException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

Bytes Text(const char* text) { return Bytes(text, text + std::char_traits<char>::length(text)); }

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace

TEST(CollectionArchive, StringListBytesAndRoundTrip) {
  CStringList list;
  list.AddTail("a");
  list.AddTail("");
  list.AddTail("bc");
  Bytes expected = {0x03, 0x00, 0x01, 'a', 0x00, 0x02, 'b', 'c'};
  EXPECT_EQ(Store(list), expected);

  CStringList loaded;
  Load(loaded, expected);
  ASSERT_EQ(loaded.GetCount(), 3);
  EXPECT_STREQ(loaded.GetHead(), "a");
  EXPECT_STREQ(loaded.GetAt(loaded.FindIndex(1)), "");
  EXPECT_STREQ(loaded.GetTail(), "bc");
}

TEST(CollectionArchive, ScalarArraysAreLittleEndian) {
  CByteArray bytes;
  bytes.Add(0x01);
  bytes.Add(0xFE);
  EXPECT_EQ(Store(bytes), (Bytes{0x02, 0x00, 0x01, 0xFE}));

  CWordArray words;
  words.Add(0x1234);
  EXPECT_EQ(Store(words), (Bytes{0x01, 0x00, 0x34, 0x12}));

  CDWordArray dwords;
  dwords.Add(1);
  dwords.Add(0x01020304);
  Bytes dwordBytes = {0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x04, 0x03, 0x02, 0x01};
  EXPECT_EQ(Store(dwords), dwordBytes);

  CDWordArray loaded;
  loaded.Add(99);
  Load(loaded, dwordBytes);
  ASSERT_EQ(loaded.GetSize(), 2);
  EXPECT_EQ(loaded[0], 1u);
  EXPECT_EQ(loaded[1], 0x01020304u);
}

TEST(CollectionArchive, CountsEscapeToThirtyTwoBitsAtFFFF) {
  struct Case {
    INT_PTR size;
    Bytes prefix;
  };
  for (const Case& c :
       {Case{0, {0x00, 0x00}}, Case{0xFFFE, {0xFE, 0xFF}}, Case{0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        Case{70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}}) {
    CByteArray array;
    array.SetSize(c.size);
    for (INT_PTR i = 0; i < c.size; ++i) array[i] = static_cast<BYTE>(i * 7);
    Bytes stored = Store(array);
    ASSERT_EQ(stored.size(), c.prefix.size() + static_cast<std::size_t>(c.size)) << c.size;
    EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), stored.begin())) << c.size;

    CByteArray loaded;
    Load(loaded, stored);
    ASSERT_EQ(loaded.GetSize(), c.size);
    for (INT_PTR i = 0; i < c.size; ++i) ASSERT_EQ(loaded[i], static_cast<BYTE>(i * 7)) << i;
  }
}

TEST(CollectionArchive, StringArrayRoundTripReplacesTheContents) {
  CStringArray array;
  array.Add("one");
  array.Add(CString('x', 300));
  Bytes stored = Store(array);
  EXPECT_EQ(stored.size(), 2u + 1 + 3 + 3 + 300);

  CStringArray loaded;
  loaded.Add("stale");
  loaded.Add("stale");
  loaded.Add("stale");
  Load(loaded, stored);
  ASSERT_EQ(loaded.GetSize(), 2);
  EXPECT_STREQ(loaded[0], "one");
  EXPECT_EQ(loaded[1].GetLength(), 300);
}

TEST(CollectionArchive, MapsWriteInInsertionOrder) {
  CMapStringToString map;
  map.SetAt("k", "v");
  map.SetAt("a", "bc");
  Bytes expected = {0x02, 0x00, 0x01, 'k', 0x01, 'v', 0x01, 'a', 0x02, 'b', 'c'};
  EXPECT_EQ(Store(map), expected);

  CMapStringToString loaded;
  Load(loaded, expected);
  CString value;
  ASSERT_TRUE(loaded.Lookup("a", value));
  EXPECT_STREQ(value, "bc");
  EXPECT_EQ(Store(loaded), expected);
}

TEST(CollectionArchive, TemplatesSerializeTheirElements) {
  CArray<int, int> ints;
  ints.Add(-1);
  ints.Add(2);
  Bytes intBytes = {0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00};
  EXPECT_EQ(Store(ints), intBytes);
  CArray<int, int> loadedInts;
  Load(loadedInts, intBytes);
  EXPECT_EQ(loadedInts[0], -1);

  CList<CString> names;
  names.AddTail(CString("n"));
  EXPECT_EQ(Store(names), (Bytes{0x01, 0x00, 0x01, 'n'}));

  CMap<WORD, WORD, CString, LPCTSTR> labels;
  labels[0x0102] = "L";
  Bytes mapBytes = {0x01, 0x00, 0x02, 0x01, 0x01, 'L'};
  EXPECT_EQ(Store(labels), mapBytes);
  CMap<WORD, WORD, CString, LPCTSTR> loadedLabels;
  Load(loadedLabels, mapBytes);
  CString label;
  EXPECT_TRUE(loadedLabels.Lookup(0x0102, label));
  EXPECT_STREQ(label, "L");
}

TEST(CollectionArchive, ObjectCollectionsShareObjectsThroughBackReferences) {
  CStringList* inner = new CStringList;
  inner->AddTail("x");
  CObList list;
  list.AddTail(inner);
  list.AddTail(inner);
  list.AddTail(static_cast<CObject*>(nullptr));
  Bytes expected = Join({{0x03, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x0B, 0x00},
                         Text("CStringList"),
                         {0x01, 0x00, 0x01, 'x', 0x02, 0x00, 0x00, 0x00}});
  EXPECT_EQ(Store(list), expected);
  delete inner;

  CObArray loaded;
  Load(loaded, expected);
  ASSERT_EQ(loaded.GetSize(), 3);
  ASSERT_NE(loaded[0], nullptr);
  EXPECT_EQ(loaded[0], loaded[1]);
  EXPECT_EQ(loaded[2], nullptr);
  ASSERT_TRUE(loaded[0]->IsKindOf(RUNTIME_CLASS(CStringList)));
  EXPECT_STREQ(static_cast<CStringList*>(loaded[0])->GetHead(), "x");
  delete loaded[0];
}

TEST(CollectionArchive, ObjectMapsRoundTrip) {
  CStringArray* shared = new CStringArray;
  shared->Add("s");
  CMapWordToOb byWord;
  byWord.SetAt(7, shared);
  CMapWordToOb loadedByWord;
  Load(loadedByWord, Store(byWord));
  CObject* found = nullptr;
  ASSERT_TRUE(loadedByWord.Lookup(7, found));
  ASSERT_TRUE(found->IsKindOf(RUNTIME_CLASS(CStringArray)));
  EXPECT_STREQ(static_cast<CStringArray*>(found)->GetAt(0), "s");
  delete found;

  CMapStringToOb byName;
  byName.SetAt("name", shared);
  CMapStringToOb loadedByName;
  Load(loadedByName, Store(byName));
  ASSERT_TRUE(loadedByName.Lookup("name", found));
  EXPECT_TRUE(found->IsKindOf(RUNTIME_CLASS(CStringArray)));
  delete found;
  delete shared;
}

TEST(CollectionArchive, EveryConcreteSerialClassTravelsAsAnObject) {
  std::vector<CObject*> originals = {
      new CObList,  new CStringList,  new CByteArray,         new CWordArray,     new CDWordArray,
      new CObArray, new CStringArray, new CMapStringToString, new CMapStringToOb, new CMapWordToOb};
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    for (CObject* object : originals) ar << object;
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  for (CObject* original : originals) {
    CObject* loaded = nullptr;
    ar >> loaded;
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetRuntimeClass(), original->GetRuntimeClass())
        << original->GetRuntimeClass()->m_lpszClassName;
    delete loaded;
    delete original;
  }
}

TEST(CollectionArchive, PointerCollectionsRefuseToBeWritten) {
  int cell = 0;
  CPtrArray pointers;
  pointers.Add(&cell);
  CMapPtrToPtr map;
  map.SetAt(&cell, &cell);
  struct Plain {
    int a;
    char b;
  };
  CArray<Plain, const Plain&> records;
  records.Add(Plain{1, 'b'});
  for (CObject* collection : std::initializer_list<CObject*>{&pointers, &map, &records}) {
    bool refused = false;
    try {
      Store(*collection);
    } catch (CNotSupportedException* e) {
      refused = true;
      e->Delete();
    }
    EXPECT_TRUE(refused);
  }
}

TEST(CollectionArchive, TruncatedArchivesRaiseEndOfFile) {
  CStringList list;
  list.AddTail("abc");
  list.AddTail("de");
  Bytes whole = Store(list);
  for (std::size_t cut = 1; cut < whole.size(); ++cut) {
    CStringList loaded;
    EXPECT_EQ(LoadFailure(loaded, Bytes(whole.begin(), whole.begin() + cut)), CArchiveException::endOfFile)
        << "cut at " << cut;
  }

  CMapStringToString map;
  map.SetAt("key", "value");
  Bytes mapBytes = Store(map);
  mapBytes.pop_back();
  CMapStringToString loadedMap;
  EXPECT_EQ(LoadFailure(loadedMap, mapBytes), CArchiveException::endOfFile);
}

TEST(CollectionArchive, ALyingCountRaisesInsteadOfAllocating) {
  Bytes lying = {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 0x01, 0x00, 0x00, 0x00};
  CDWordArray dwords;
  EXPECT_EQ(LoadFailure(dwords, lying), CArchiveException::endOfFile);
  CArray<double, double> doubles;
  EXPECT_EQ(LoadFailure(doubles, lying), CArchiveException::endOfFile);
  CStringList strings;
  EXPECT_EQ(LoadFailure(strings, lying), CArchiveException::endOfFile);
}

TEST(CollectionClasses, RunTimeClassesNameEveryConcreteCollection) {
  struct Case {
    const char* name;
    bool serializable;
  };
  for (const Case& c :
       {Case{"CObList", true}, Case{"CPtrList", false}, Case{"CStringList", true}, Case{"CByteArray", true},
        Case{"CWordArray", true}, Case{"CDWordArray", true}, Case{"CUIntArray", false},
        Case{"CPtrArray", false}, Case{"CObArray", true}, Case{"CStringArray", true},
        Case{"CMapStringToString", true}, Case{"CMapStringToPtr", false}, Case{"CMapStringToOb", true},
        Case{"CMapPtrToPtr", false}, Case{"CMapPtrToWord", false}, Case{"CMapWordToPtr", false},
        Case{"CMapWordToOb", true}}) {
    CRuntimeClass* pClass = CRuntimeClass::FromName(c.name);
    ASSERT_NE(pClass, nullptr) << c.name;
    EXPECT_TRUE(pClass->IsDerivedFrom(RUNTIME_CLASS(CObject))) << c.name;
    std::unique_ptr<CObject> object(pClass->CreateObject());
    EXPECT_EQ(object != nullptr, c.serializable) << c.name;
    if (object) {
      EXPECT_EQ(object->GetRuntimeClass(), pClass) << c.name;
      EXPECT_TRUE(object->IsSerializable()) << c.name;
    }
  }
  CPtrArray pointers;
  EXPECT_STREQ(pointers.GetRuntimeClass()->m_lpszClassName, "CPtrArray");
  EXPECT_FALSE(pointers.IsSerializable());
}
