// Arrays: SetSize growth and shrinking, insertion beyond the end, removal of ranges, copies and appends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Collections.h"

namespace {

template <class ARRAY>
auto Items(const ARRAY& array) {
  std::vector<std::remove_cvref_t<decltype(array.GetAt(0))>> items;
  for (INT_PTR i = 0; i < array.GetSize(); ++i) items.push_back(array.GetAt(i));
  return items;
}

std::vector<std::string> Strings(const CStringArray& array) {
  std::vector<std::string> items;
  for (INT_PTR i = 0; i < array.GetSize(); ++i) items.emplace_back(static_cast<LPCTSTR>(array[i]));
  return items;
}

// Counts, through GetData changes, how often a growing array moved its storage.
template <class ARRAY, class ADD>
int Reallocations(ARRAY& array, int nAdds, ADD add) {
  int moves = 0;
  const void* data = array.GetData();
  for (int i = 0; i < nAdds; ++i) {
    add(array, i);
    if (array.GetData() != data) {
      ++moves;
      data = array.GetData();
    }
  }
  return moves;
}

}  // namespace

TEST(ArraySize, NewElementsAreZero) {
  CArray<int, int> ints;
  ints.SetSize(5);
  EXPECT_EQ(ints.GetSize(), 5);
  EXPECT_EQ(ints.GetCount(), 5);
  EXPECT_EQ(ints.GetUpperBound(), 4);
  EXPECT_EQ(Items(ints), (std::vector<int>(5, 0)));

  struct Record {
    int offset;
    int length;
  };
  CArray<Record, Record> records;
  records.SetSize(3, 1000);
  for (INT_PTR i = 0; i < 3; ++i) {
    EXPECT_EQ(records[i].offset, 0);
    EXPECT_EQ(records[i].length, 0);
  }
}

TEST(ArraySize, ShrinkingKeepsTheFrontAndGrowingAgainZeroes) {
  CDWordArray array;
  for (DWORD i = 1; i <= 6; ++i) array.Add(i * 11);
  array.SetSize(2);
  EXPECT_EQ(Items(array), (std::vector<DWORD>{11, 22}));
  array.SetSize(4);
  EXPECT_EQ(Items(array), (std::vector<DWORD>{11, 22, 0, 0}));
  array.SetSize(0);
  EXPECT_TRUE(array.IsEmpty());
  EXPECT_EQ(array.GetData(), nullptr);
}

TEST(ArraySize, ExplicitGrowByAllocatesWholeSteps) {
  struct Case {
    INT_PTR growBy;
    int adds;
    int expectedMoves;
  };
  for (Case c : {Case{64000, 64000, 1}, Case{64000, 64001, 2}, Case{1000, 2500, 3}, Case{250, 250, 1},
                 Case{25, 26, 2}}) {
    CArray<char, char> bytes;
    bytes.SetSize(0, c.growBy);
    int moves = Reallocations(bytes, c.adds, [](auto& a, int i) { a.Add(static_cast<char>(i)); });
    EXPECT_EQ(moves, c.expectedMoves) << "grow by " << c.growBy << ", adds " << c.adds;
    EXPECT_EQ(bytes.GetSize(), c.adds);
  }
}

TEST(ArraySize, DefaultGrowthIsGeometricWithinLimits) {
  CUIntArray array;
  // Steps of 4 while small, an eighth of the size later, never more than 1024 at a time.
  int small = Reallocations(array, 12, [](auto& a, int i) { a.Add(static_cast<UINT>(i)); });
  EXPECT_EQ(small, 4);
  int moves = Reallocations(array, 200000, [](auto& a, int i) { a.Add(static_cast<UINT>(i)); });
  EXPECT_GT(moves, 200000 / 1024);
  EXPECT_LT(moves, 200000 / 1024 + 80);
  EXPECT_EQ(array.GetAt(199999 + 12), 199999u);
}

TEST(ArraySize, FreeExtraKeepsTheElements) {
  CWordArray array;
  array.SetSize(0, 1000);
  for (WORD i = 0; i < 10; ++i) array.Add(i);
  array.FreeExtra();
  EXPECT_EQ(array.GetSize(), 10);
  EXPECT_EQ(array[9], 9);
  const WORD* before = array.GetData();
  array.Add(10);
  EXPECT_NE(array.GetData(), before);
  EXPECT_EQ(array[10], 10);
}

TEST(ArrayAccess, GetDataSeesTheElements) {
  CByteArray bytes;
  bytes.SetSize(3);
  BYTE* data = bytes.GetData();
  data[0] = 'a';
  data[2] = 'c';
  EXPECT_EQ(bytes[0], 'a');
  EXPECT_EQ(bytes.GetAt(1), 0);
  bytes.ElementAt(1) = 'b';
  bytes[2] = 'C';
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.GetData()), 3), "abC");
}

TEST(ArrayAccess, OutOfRangeIndexThrows) {
  CStringArray array;
  array.Add("x");
  EXPECT_THROW(array.GetAt(1), std::out_of_range);
  EXPECT_THROW(array.SetAt(-1, "y"), std::out_of_range);
  EXPECT_THROW(array[5], std::out_of_range);
  EXPECT_THROW(array.RemoveAt(0, 2), std::out_of_range);
  EXPECT_THROW(array.RemoveAt(2), std::out_of_range);
  EXPECT_THROW(array.SetSize(-1), std::out_of_range);
}

TEST(ArrayEdit, SetAtGrowFillsTheGap) {
  CStringArray array;
  array.Add("a");
  array.SetAtGrow(3, "d");
  EXPECT_EQ(Strings(array), (std::vector<std::string>{"a", "", "", "d"}));
  array.SetAtGrow(1, "b");
  EXPECT_EQ(Strings(array), (std::vector<std::string>{"a", "b", "", "d"}));
}

TEST(ArrayEdit, InsertAtShiftsTheTail) {
  CStringArray array;
  array.Add("a");
  array.Add("d");
  array.InsertAt(1, "x", 2);
  EXPECT_EQ(Strings(array), (std::vector<std::string>{"a", "x", "x", "d"}));
  array.InsertAt(0, "first");
  EXPECT_EQ(Strings(array), (std::vector<std::string>{"first", "a", "x", "x", "d"}));
}

TEST(ArrayEdit, InsertAtBeyondTheEndGrows) {
  CStringArray array;
  array.Add("a");
  array.InsertAt(3, "d");
  EXPECT_EQ(Strings(array), (std::vector<std::string>{"a", "", "", "d"}));
  array.InsertAt(4, "e", 2);
  EXPECT_EQ(Strings(array), (std::vector<std::string>{"a", "", "", "d", "e", "e"}));
}

TEST(ArrayEdit, InsertArrayAtAPosition) {
  CDWordArray array;
  CDWordArray more;
  for (DWORD v : {1u, 4u}) array.Add(v);
  for (DWORD v : {2u, 3u}) more.Add(v);
  array.InsertAt(1, &more);
  EXPECT_EQ(Items(array), (std::vector<DWORD>{1, 2, 3, 4}));
  array.InsertAt(6, &more);
  EXPECT_EQ(Items(array), (std::vector<DWORD>{1, 2, 3, 4, 0, 0, 2, 3}));
  array.SetSize(2);
  array.InsertAt(1, &array);
  EXPECT_EQ(Items(array), (std::vector<DWORD>{1, 1, 2, 2}));
}

TEST(ArrayEdit, RemoveAtRanges) {
  struct Case {
    INT_PTR index;
    INT_PTR count;
    std::vector<int> expected;
  };
  for (const Case& c : {Case{0, 1, {1, 2, 3, 4}}, Case{4, 1, {0, 1, 2, 3}}, Case{1, 3, {0, 4}},
                        Case{0, 5, {}}, Case{2, 0, {0, 1, 2, 3, 4}}, Case{5, 0, {0, 1, 2, 3, 4}}}) {
    CArray<int, int> array;
    for (int i = 0; i < 5; ++i) array.Add(i);
    array.RemoveAt(c.index, c.count);
    EXPECT_EQ(Items(array), c.expected) << c.index << "," << c.count;
  }
}

TEST(ArrayEdit, RemovedElementsAreDestroyed) {
  auto shared = std::make_shared<int>(0);
  CArray<std::shared_ptr<int>> array;
  for (int i = 0; i < 8; ++i) array.Add(shared);
  array.RemoveAt(2, 3);
  EXPECT_EQ(shared.use_count(), 6);
  array.SetSize(1);
  EXPECT_EQ(shared.use_count(), 2);
  array.RemoveAll();
  EXPECT_EQ(shared.use_count(), 1);
}

TEST(ArrayEdit, AddingAnElementOfTheSameArraySurvivesGrowth) {
  CStringArray array;
  array.Add("a fairly long string that does not fit in any small buffer");
  for (int i = 0; i < 100; ++i) array.Add(array[0]);
  array.InsertAt(0, array[50], 3);
  array.SetAtGrow(300, array[1]);
  for (INT_PTR i = 0; i < array.GetSize(); ++i) {
    if (i <= 103 || i == 300)
      EXPECT_STREQ(array[i], "a fairly long string that does not fit in any small buffer") << i;
    else
      EXPECT_TRUE(array[i].IsEmpty()) << i;
  }
}

TEST(ArrayEdit, CopyAndAppend) {
  CStringArray source;
  source.Add("a");
  source.Add("b");
  CStringArray target;
  target.Add("old");
  target.Copy(source);
  EXPECT_EQ(Strings(target), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(target.Append(source), 2);
  EXPECT_EQ(target.Append(target), 4);
  EXPECT_EQ(Strings(target), (std::vector<std::string>{"a", "b", "a", "b", "a", "b", "a", "b"}));
  target.Copy(target);
  EXPECT_EQ(target.GetSize(), 8);
}

namespace {
struct Block : CObject {
  explicit Block(int v) : value(v) {}
  int value;
};
}  // namespace

TEST(TypedPtrArray, NullRunsInsertedAndRemoved) {
  CTypedPtrArray<CPtrArray, Block*> lines;
  lines.SetSize(0, 250);
  Block a(1), b(2);
  lines.Add(&a);
  lines.Add(&b);
  lines.InsertAt(1, nullptr, 3);
  ASSERT_EQ(lines.GetSize(), 5);
  EXPECT_EQ(lines[0], &a);
  EXPECT_EQ(lines.GetAt(1), nullptr);
  EXPECT_EQ(lines[4]->value, 2);
  lines.RemoveAt(1, 3);
  EXPECT_EQ(lines.GetSize(), 2);
  EXPECT_EQ(lines.GetAt(1), &b);
  lines.ElementAt(0) = &b;
  lines[1] = &a;
  EXPECT_EQ(lines.GetAt(0)->value, 2);
  EXPECT_EQ(lines.GetAt(1)->value, 1);
}

TEST(TypedPtrArray, ObjectArrayFaceCopiesAndAppends) {
  CTypedPtrArray<CObArray, Block*> blocks;
  Block a(1), b(2);
  blocks.Add(&a);
  blocks.SetAtGrow(2, &b);
  CTypedPtrArray<CObArray, Block*> copy;
  copy.Copy(blocks);
  copy.Append(blocks);
  copy.InsertAt(0, &blocks);
  ASSERT_EQ(copy.GetSize(), 9);
  EXPECT_EQ(copy[0], &a);
  EXPECT_EQ(copy[1], nullptr);
  EXPECT_EQ(copy[8]->value, 2);
}
