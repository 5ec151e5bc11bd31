// Lists: POSITION walks both ways, insertion and removal at positions, searches and whole-list adds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Collections.h"

namespace {

std::string Value(const CString& text) { return static_cast<LPCTSTR>(text); }
int Value(int number) { return number; }

// The elements met by a walk from the head with GetNext, or from the tail with GetPrev.
template <class LIST>
auto Walk(const LIST& list, bool fromHead) {
  std::vector<decltype(Value(list.GetHead()))> items;
  for (POSITION pos = fromHead ? list.GetHeadPosition() : list.GetTailPosition(); pos != nullptr;)
    items.push_back(Value(fromHead ? list.GetNext(pos) : list.GetPrev(pos)));
  return items;
}

template <class LIST>
auto Forward(const LIST& list) {
  return Walk(list, true);
}

template <class LIST>
auto Backward(const LIST& list) {
  return Walk(list, false);
}

void Fill(CList<int, int>& list, std::initializer_list<int> values) {
  for (int value : values) list.AddTail(value);
}

}  // namespace

TEST(ListWalk, EmptyListHasNoPositions) {
  CStringList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(ListWalk, HeadAndTailAddsWalkBothWays) {
  CStringList list;
  list.AddTail("b");
  list.AddHead("a");
  list.AddTail(CString("c"));
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetSize(), 3);
  EXPECT_STREQ(list.GetHead(), "a");
  EXPECT_STREQ(list.GetTail(), "c");
  EXPECT_EQ(Forward(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(Backward(list), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(ListWalk, RemovingTheElementJustReturnedKeepsTheWalkGoing) {
  CList<int, int> list;
  Fill(list, {1, 2, 3, 4, 5, 6});
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    POSITION current = pos;
    if (list.GetNext(pos) % 2 == 0) list.RemoveAt(current);
  }
  EXPECT_EQ(Forward(list), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(Backward(list), (std::vector<int>{5, 3, 1}));
}

TEST(ListWalk, RemovingDuringABackwardWalk) {
  CList<int, int> list;
  Fill(list, {1, 2, 3, 4, 5});
  for (POSITION pos = list.GetTailPosition(); pos != nullptr;) {
    POSITION current = pos;
    if (list.GetPrev(pos) != 3) list.RemoveAt(current);
  }
  EXPECT_EQ(Forward(list), (std::vector<int>{3}));
  EXPECT_EQ(list.GetHeadPosition(), list.GetTailPosition());
}

TEST(ListWalk, RemovingEverythingLeavesAReusableList) {
  CList<int, int> list(2);
  Fill(list, {1, 2, 3, 4, 5});
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    POSITION current = pos;
    list.GetNext(pos);
    list.RemoveAt(current);
  }
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  Fill(list, {7, 8});
  EXPECT_EQ(Forward(list), (std::vector<int>{7, 8}));
}

TEST(ListWalk, PositionsSurviveOtherInsertionsAndRemovals) {
  CList<int, int> list(3);
  POSITION kept = list.AddTail(42);
  for (int i = 0; i < 100; ++i) {
    list.AddHead(-i);
    list.AddTail(i);
  }
  for (int i = 0; i < 50; ++i) {
    list.RemoveHead();
    list.RemoveTail();
  }
  EXPECT_EQ(list.GetAt(kept), 42);
  EXPECT_EQ(list.GetCount(), 101);
}

TEST(ListEdit, SetAtAndGetAtReachTheElement) {
  CStringList list;
  POSITION pos = list.AddTail("old");
  list.SetAt(pos, "new");
  EXPECT_STREQ(list.GetAt(pos), "new");
  list.GetAt(pos) += "er";
  EXPECT_STREQ(list.GetHead(), "newer");
}

TEST(ListEdit, InsertBeforeAndAfterAtBothEnds) {
  CList<int, int> list;
  Fill(list, {2, 3});
  POSITION head = list.GetHeadPosition();
  POSITION tail = list.GetTailPosition();
  POSITION first = list.InsertBefore(head, 1);
  POSITION last = list.InsertAfter(tail, 4);
  EXPECT_EQ(list.GetHeadPosition(), first);
  EXPECT_EQ(list.GetTailPosition(), last);
  list.InsertAfter(head, 25);
  list.InsertBefore(tail, 28);
  EXPECT_EQ(Forward(list), (std::vector<int>{1, 2, 25, 28, 3, 4}));
  EXPECT_EQ(Backward(list), (std::vector<int>{4, 3, 28, 25, 2, 1}));
}

TEST(ListEdit, InsertAtNullPositionAddsAtTheEnds) {
  CList<int, int> list;
  list.InsertBefore(nullptr, 2);
  list.InsertBefore(nullptr, 1);
  list.InsertAfter(nullptr, 3);
  EXPECT_EQ(Forward(list), (std::vector<int>{1, 2, 3}));
}

TEST(ListEdit, RemoveHeadAndTailReturnTheElements) {
  CStringList list;
  list.AddTail("a");
  list.AddTail("b");
  list.AddTail("c");
  EXPECT_STREQ(list.RemoveHead(), "a");
  EXPECT_STREQ(list.RemoveTail(), "c");
  EXPECT_STREQ(list.RemoveTail(), "b");
  EXPECT_TRUE(list.IsEmpty());
}

TEST(ListEdit, WholeListAddsKeepOrder) {
  CList<int, int> list;
  CList<int, int> other;
  Fill(list, {3, 4});
  Fill(other, {1, 2});
  list.AddHead(&other);
  list.AddTail(&other);
  EXPECT_EQ(Forward(list), (std::vector<int>{1, 2, 3, 4, 1, 2}));
  EXPECT_EQ(other.GetCount(), 2);
}

TEST(ListEdit, ListAddedToItselfDoublesOnce) {
  CList<int, int> list;
  Fill(list, {1, 2});
  list.AddTail(&list);
  list.AddHead(&list);
  EXPECT_EQ(Forward(list), (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2}));
}

TEST(ListSearch, FindStartsAfterTheGivenPosition) {
  CStringList list;
  POSITION first = list.AddTail("a");
  list.AddTail("b");
  POSITION second = list.AddTail("a");
  EXPECT_EQ(list.Find("a"), first);
  EXPECT_EQ(list.Find("a", first), second);
  EXPECT_EQ(list.Find("a", second), nullptr);
  EXPECT_EQ(list.Find("z"), nullptr);
}

TEST(ListSearch, PointerListsCompareAddresses) {
  int a = 0, b = 0;
  CPtrList list;
  list.AddTail(&a);
  POSITION pb = list.AddTail(&b);
  EXPECT_EQ(list.Find(&b), pb);
  int c = 0;
  EXPECT_EQ(list.Find(&c), nullptr);
}

TEST(ListSearch, FindIndexCountsFromTheHead) {
  CList<int, int> list;
  Fill(list, {10, 11, 12, 13, 14});
  for (int i = 0; i < 5; ++i) {
    POSITION pos = list.FindIndex(i);
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(list.GetAt(pos), 10 + i);
  }
}

TEST(ListSearch, FindIndexOutOfRangeIsNull) {
  CList<int, int> list;
  EXPECT_EQ(list.FindIndex(0), nullptr);
  Fill(list, {1, 2});
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  EXPECT_EQ(list.FindIndex(2), nullptr);
}

TEST(ListMisuse, EmptyHeadAndNullPositionThrowInsteadOfCrashing) {
  CList<int, int> list;
  EXPECT_THROW(list.GetHead(), std::logic_error);
  EXPECT_THROW(list.RemoveTail(), std::logic_error);
  POSITION none = nullptr;
  EXPECT_THROW(list.GetNext(none), std::logic_error);
  EXPECT_THROW(list.RemoveAt(nullptr), std::logic_error);
}

TEST(ListTemplates, ElementsAreDestroyedWithTheList) {
  auto shared = std::make_shared<int>(0);
  {
    CList<std::shared_ptr<int>> list(4);
    for (int i = 0; i < 10; ++i) list.AddTail(shared);
    list.RemoveHead();
    list.RemoveAt(list.FindIndex(3));
    EXPECT_EQ(shared.use_count(), 9);
  }
  EXPECT_EQ(shared.use_count(), 1);
}

namespace {
struct Item : CObject {
  explicit Item(int v) : value(v) {}
  int value;
};
}  // namespace

TEST(TypedPtrList, TypedAccessOverObjectAndPointerLists) {
  Item one(1), two(2), three(3);
  CTypedPtrList<CObList, Item*> objects;
  objects.AddTail(&one);
  objects.AddTail(&three);
  objects.InsertBefore(objects.GetTailPosition(), &two);
  int sum = 0;
  for (POSITION pos = objects.GetHeadPosition(); pos != nullptr;)
    sum = sum * 10 + objects.GetNext(pos)->value;
  EXPECT_EQ(sum, 123);
  EXPECT_EQ(objects.GetAt(objects.FindIndex(1)), &two);
  objects.GetHead() = &three;
  EXPECT_EQ(objects.RemoveHead()->value, 3);

  CTypedPtrList<CPtrList, Item*> pointers(10);
  pointers.AddHead(&two);
  pointers.AddHead(&one);
  POSITION pos = pointers.GetTailPosition();
  EXPECT_EQ(pointers.GetPrev(pos)->value, 2);
  EXPECT_EQ(pointers.GetAt(pos)->value, 1);
  EXPECT_EQ(pointers.RemoveTail(), &two);
}
