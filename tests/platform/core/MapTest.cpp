// Maps: lookups, replacement and removal, walks in insertion order, hash tables under many keys.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/Collections.h"

namespace {

std::vector<std::pair<std::string, std::string>> Walk(const CMapStringToString& map) {
  std::vector<std::pair<std::string, std::string>> pairs;
  CString key, value;
  for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
    map.GetNextAssoc(pos, key, value);
    pairs.emplace_back(static_cast<LPCTSTR>(key), static_cast<LPCTSTR>(value));
  }
  return pairs;
}

std::vector<std::string> Keys(const CMapStringToString& map) {
  std::vector<std::string> keys;
  for (const auto& pair : Walk(map)) keys.push_back(pair.first);
  return keys;
}

}  // namespace

TEST(MapLookup, SetAtLookupAndReplace) {
  CMapStringToString map;
  EXPECT_TRUE(map.IsEmpty());
  map.SetAt("cpp", "C++ source");
  map.SetAt("h", "header");
  CString value = "untouched";
  EXPECT_FALSE(map.Lookup("txt", value));
  EXPECT_STREQ(value, "untouched");
  ASSERT_TRUE(map.Lookup("cpp", value));
  EXPECT_STREQ(value, "C++ source");
  map.SetAt("cpp", "replaced");
  EXPECT_EQ(map.GetCount(), 2);
  ASSERT_TRUE(map.Lookup(CString("cpp"), value));
  EXPECT_STREQ(value, "replaced");
}

TEST(MapLookup, KeysAreComparedExactly) {
  CMapStringToString map;
  map.SetAt("Key", "upper");
  CString value;
  EXPECT_FALSE(map.Lookup("key", value));
  EXPECT_FALSE(map.Lookup("Key ", value));
  EXPECT_TRUE(map.Lookup("Key", value));
  map.SetAt("", "empty key");
  ASSERT_TRUE(map.Lookup("", value));
  EXPECT_STREQ(value, "empty key");
}

TEST(MapLookup, SubscriptAddsADefaultValue) {
  CMapStringToPtr map;
  EXPECT_EQ(map["missing"], nullptr);
  EXPECT_EQ(map.GetCount(), 1);
  int target = 0;
  map["x"] = &target;
  void* found = nullptr;
  ASSERT_TRUE(map.Lookup("x", found));
  EXPECT_EQ(found, &target);

  CMap<UINT, UINT, int, int> counts;
  ++counts[7];
  ++counts[7];
  EXPECT_EQ(counts[7], 2);
}

TEST(MapLookup, HandleValuesByCommandId) {
  CMap<UINT, UINT, HMENU, HMENU> menus;
  HMENU first = reinterpret_cast<HMENU>(0x10);
  menus.SetAt(0x8001, first);
  menus[0x8002] = reinterpret_cast<HMENU>(0x20);
  HMENU found = nullptr;
  ASSERT_TRUE(menus.Lookup(0x8001, found));
  EXPECT_EQ(found, first);
  EXPECT_FALSE(menus.Lookup(0x18001, found));
}

TEST(MapLookup, RemoveKeyAndRemoveAll) {
  CMapWordToPtr map;
  int a = 0, b = 0;
  map.SetAt(1, &a);
  map.SetAt(2, &b);
  EXPECT_TRUE(map.RemoveKey(1));
  EXPECT_FALSE(map.RemoveKey(1));
  EXPECT_EQ(map.GetCount(), 1);
  void* value = nullptr;
  EXPECT_FALSE(map.Lookup(1, value));
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(map.GetStartPosition(), nullptr);
  EXPECT_FALSE(map.RemoveKey(2));
  map.SetAt(3, &a);
  EXPECT_TRUE(map.Lookup(3, value));
}

TEST(MapOrder, WalkFollowsInsertionOrder) {
  CMapStringToString map;
  for (const char* key : {"zeta", "alpha", "mu", "beta", "omega"}) map.SetAt(key, CString(key) + "!");
  EXPECT_EQ(Keys(map), (std::vector<std::string>{"zeta", "alpha", "mu", "beta", "omega"}));
  EXPECT_EQ(Walk(map)[2], (std::pair<std::string, std::string>{"mu", "mu!"}));
}

TEST(MapOrder, ReplacingKeepsThePlaceAndReaddingGoesLast) {
  CMapStringToString map;
  for (const char* key : {"a", "b", "c", "d"}) map.SetAt(key, "1");
  map.SetAt("b", "2");
  map.RemoveKey("a");
  map.RemoveKey("c");
  map.SetAt("a", "3");
  EXPECT_EQ(Walk(map),
            (std::vector<std::pair<std::string, std::string>>{{"b", "2"}, {"d", "1"}, {"a", "3"}}));
}

TEST(MapOrder, RemovingThePairJustReturnedKeepsTheWalkGoing) {
  CMapStringToString map;
  for (int i = 0; i < 40; ++i) {
    CString key;
    key.Format("k%d", i);
    map.SetAt(key, i % 3 == 0 ? "drop" : "keep");
  }
  CString key, value;
  int visited = 0;
  for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
    map.GetNextAssoc(pos, key, value);
    ++visited;
    if (value == "drop") map.RemoveKey(key);
  }
  EXPECT_EQ(visited, 40);
  EXPECT_EQ(map.GetCount(), 26);
  for (const auto& pair : Walk(map)) EXPECT_EQ(pair.second, "keep");
}

TEST(MapOrder, WalkFromTheBeforeStartMarker) {
  CMapWordToPtr map;
  map.SetAt(5, nullptr);
  map.SetAt(6, nullptr);
  POSITION pos = BEFORE_START_POSITION;
  WORD key = 0;
  void* value = nullptr;
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(key, 5);
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(key, 6);
  EXPECT_EQ(pos, nullptr);
}

TEST(MapHashing, DefaultAndChosenTableSizes) {
  CMap<int, int, int, int> map;
  EXPECT_EQ(map.GetHashTableSize(), 17u);
  map.InitHashTable(101);
  EXPECT_EQ(map.GetHashTableSize(), 101u);
  map.SetAt(1, 1);
  map.InitHashTable(7);
  int value = 0;
  EXPECT_TRUE(map.Lookup(1, value));
  EXPECT_THROW(map.InitHashTable(0), std::logic_error);
}

TEST(MapHashing, ManyKeysStayReachableAndInOrder) {
  constexpr int kKeys = 50000;
  CMap<CString, LPCTSTR, int, int> map;
  for (int i = 0; i < kKeys; ++i) {
    CString key;
    key.Format("key-%d", i * 7919);
    map[key] = i;
  }
  EXPECT_EQ(map.GetCount(), kKeys);
  EXPECT_GT(map.GetHashTableSize(), static_cast<UINT>(kKeys / 4));
  for (int i = 0; i < kKeys; i += 7) {
    CString key;
    key.Format("key-%d", i * 7919);
    int value = -1;
    ASSERT_TRUE(map.Lookup(key, value)) << i;
    EXPECT_EQ(value, i);
  }
  for (int i = 0; i < kKeys; i += 2) {
    CString key;
    key.Format("key-%d", i * 7919);
    ASSERT_TRUE(map.RemoveKey(key));
  }
  int expected = 1;
  CString key;
  int value = 0;
  for (POSITION pos = map.GetStartPosition(); pos != nullptr; expected += 2) {
    map.GetNextAssoc(pos, key, value);
    ASSERT_EQ(value, expected);
  }
  EXPECT_EQ(expected, kKeys + 1);
}

TEST(MapHashing, PointerKeysFindTheirValues) {
  std::vector<int> cells(1000);
  CMapPtrToWord byAddress;
  for (int i = 0; i < 1000; ++i) byAddress.SetAt(&cells[i], static_cast<WORD>(i));
  EXPECT_EQ(byAddress.GetCount(), 1000);
  for (int i = 0; i < 1000; ++i) {
    WORD found = 0;
    ASSERT_TRUE(byAddress.Lookup(&cells[i], found));
    EXPECT_EQ(found, i);
  }
}

TEST(MapHashing, StringHashFollowsTheBytes) {
  EXPECT_EQ(HashKey<LPCTSTR>("abc"), HashKey<const CString&>(CString("abc")));
  EXPECT_NE(HashKey<LPCTSTR>("abc"), HashKey<LPCTSTR>("abd"));
  EXPECT_EQ(HashKey<LPCTSTR>(""), 0u);
}

TEST(MapValues, ValuesAreDestroyedWithTheMap) {
  auto shared = std::make_shared<int>(0);
  {
    CMap<int, int, std::shared_ptr<int>, const std::shared_ptr<int>&> map(4);
    for (int i = 0; i < 30; ++i) map.SetAt(i, shared);
    map.RemoveKey(3);
    EXPECT_EQ(shared.use_count(), 30);
  }
  EXPECT_EQ(shared.use_count(), 1);
}

TEST(MapValues, StringToWordTable) {
  CMapStringToWord groups;
  groups.SetAt("if", 1);
  groups.SetAt("while", 1);
  groups.SetAt("int", 2);
  WORD group = 0;
  ASSERT_TRUE(groups.Lookup("int", group));
  EXPECT_EQ(group, 2);
  EXPECT_FALSE(groups.Lookup("Int", group));
}

namespace {
struct Listener {
  int id;
};
struct HandleTag;
typedef HandleTag* HANDLE_KEY;
}  // namespace

TEST(TypedPtrMap, HandleToRecordMap) {
  CTypedPtrMap<CMapPtrToPtr, HANDLE_KEY, Listener*> map;
  map.InitHashTable(17);
  Listener first{1}, second{2};
  auto h1 = reinterpret_cast<HANDLE_KEY>(0x1000);
  auto h2 = reinterpret_cast<HANDLE_KEY>(0x2000);
  map.SetAt(h1, &first);
  map[h2] = &second;
  Listener* found = nullptr;
  ASSERT_TRUE(map.Lookup(h2, found));
  EXPECT_EQ(found->id, 2);
  EXPECT_FALSE(map.Lookup(reinterpret_cast<HANDLE_KEY>(0x3000), found));
  EXPECT_EQ(found->id, 2);

  POSITION pos = map.GetStartPosition();
  HANDLE_KEY key = nullptr;
  Listener* value = nullptr;
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(key, h1);
  EXPECT_EQ(value, &first);
  EXPECT_TRUE(map.RemoveKey(h1));
  EXPECT_EQ(map.GetCount(), 1);
}

TEST(TypedPtrMap, StringToObjectMap) {
  struct Tag : CObject {
    int n = 7;
  } tag;
  CTypedPtrMap<CMapStringToOb, CString, Tag*> tags;
  tags.SetAt("b", &tag);
  Tag* found = nullptr;
  ASSERT_TRUE(tags.Lookup("b", found));
  EXPECT_EQ(found->n, 7);
  CString key;
  POSITION pos = tags.GetStartPosition();
  tags.GetNextAssoc(pos, key, found);
  EXPECT_STREQ(key, "b");
}
