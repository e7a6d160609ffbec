#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "kel_Array.h"
#include "kel_Coordinate.h"
#include "kel_Entity.h"
#include "kel_StringPair.h"

// Every member compiles for the element types the platform hands out.
template class kel_Array<float>;
template class kel_Array<kel_Array<float> >;
template class kel_Array<kel_StringPair>;
template class kel_Array<kel_cppUtil::String>;
template class kel_Array<kel_CoordPoint>;
template class kel_Array<kel_Entity>;

namespace {

// An element that counts what the array does with it.
struct Counted {
  // Atomic: the threaded test makes and destroys elements concurrently.
  static std::atomic<int> live;
  static std::atomic<int> assignments;
  static std::atomic<int> comparisons;
  static bool failAssignment;

  int value;
  Counted() : value(0) { ++live; }
  Counted(int v) : value(v) { ++live; }   // NOLINT: implicit for short tests
  Counted(const Counted& other) : value(other.value) { ++live; }
  Counted& operator=(const Counted& other) {
    if (failAssignment) throw std::runtime_error("assignment refused");
    value = other.value;
    ++assignments;
    return *this;
  }
  ~Counted() { --live; }
  bool operator==(const Counted& other) const {
    ++comparisons;
    return value == other.value;
  }
};
std::atomic<int> Counted::live(0);
std::atomic<int> Counted::assignments(0);
std::atomic<int> Counted::comparisons(0);
bool Counted::failAssignment = false;

using Array = kel_Array<Counted>;

Array make(std::initializer_list<int> values) {
  Array array(static_cast<unsigned>(values.size()));
  unsigned i = 0;
  for (int v : values) array.set(i++, Counted(v));
  return array;
}

std::vector<int> values(const Array& array) {
  std::vector<int> result;
  for (unsigned i = 0; i < array.size(); ++i) result.push_back(array[i].value);
  return result;
}

class ArrayTest : public ::testing::Test {
protected:
  void SetUp() override {
    Counted::live = 0;
    Counted::assignments = 0;
    Counted::comparisons = 0;
    Counted::failAssignment = false;
  }
  // Every element the arrays made has been destroyed with its last handle.
  void TearDown() override { EXPECT_EQ(0, Counted::live); }
};

} // namespace

TEST_F(ArrayTest, NewArraysHoldDefaultElementsAndCountHandles) {
  Array empty;
  EXPECT_EQ(0u, empty.size());
  EXPECT_EQ(1u, empty.count());
  EXPECT_EQ(1, Counted::live);  // one element is allocated even for size 0
  {
    Array copy(empty);
    EXPECT_EQ(2u, empty.count());
    EXPECT_EQ(2u, copy.count());
  }
  EXPECT_EQ(1u, empty.count());

  Array three(3);
  EXPECT_EQ(3u, three.size());
  EXPECT_EQ((std::vector<int>{0, 0, 0}), values(three));

  kel_Array<float> numbers(2);
  EXPECT_EQ(0.0f, numbers[0]);
  EXPECT_EQ(0.0f, numbers[1]);
}

TEST_F(ArrayTest, BadIndicesThrowBeforeAnythingChanges) {
  Array array = make({1, 2, 3});
  Array sharer(array);
  const int assignmentsBefore = Counted::assignments;
  EXPECT_THROW(array.get(3), kel_ArrayOutOfBoundsException);
  EXPECT_THROW(array[7], kel_ArrayOutOfBoundsException);
  EXPECT_THROW(array.set(3, Counted(9)), kel_ArrayOutOfBoundsException);
  EXPECT_THROW(array.removeElement(3), kel_ArrayOutOfBoundsException);
  EXPECT_THROW(array.setSize(4), kel_ArrayOutOfBoundsException);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), values(array));
  EXPECT_EQ(2u, array.count());  // still shared: nothing was copied
  EXPECT_EQ(assignmentsBefore, Counted::assignments);
  Array empty;
  EXPECT_THROW(empty.get(0), kel_ArrayOutOfBoundsException);
  EXPECT_THROW(empty.removeElement(0), kel_ArrayOutOfBoundsException);
}

TEST_F(ArrayTest, RemoveElementKeepsTheOthersInOrder) {
  Array array = make({10, 20, 30});
  array.removeElement(1);
  EXPECT_EQ((std::vector<int>{10, 30}), values(array));
  array.removeElement(1);
  EXPECT_EQ((std::vector<int>{10}), values(array));
  array.removeElement(0);
  EXPECT_EQ(0u, array.size());
}

TEST_F(ArrayTest, ResizeKeepsLeadingElementsAndPadsWithDefaults) {
  Array array = make({1, 2});
  array.resize(5);
  EXPECT_EQ((std::vector<int>{1, 2, 0, 0, 0}), values(array));
  array.resize(1);
  EXPECT_EQ((std::vector<int>{1}), values(array));
  array.resize(0);
  EXPECT_EQ(0u, array.size());
}

TEST_F(ArrayTest, WritesUnshareOnlyTheHandleTheyAreCalledOn) {
  Array first = make({1, 2, 3});
  Array second(first);
  ASSERT_EQ(2u, first.count());

  const int before = Counted::assignments;
  second.set(0, Counted(9));
  // A new body: every kept element assigned, then the new value.
  EXPECT_EQ(before + 3 + 1, Counted::assignments);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), values(first));
  EXPECT_EQ((std::vector<int>{9, 2, 3}), values(second));
  EXPECT_EQ(1u, first.count());
  EXPECT_EQ(1u, second.count());

  // An unshared body is written in place.
  const Counted* element = &second.get(1);
  second.set(1, Counted(8));
  EXPECT_EQ(element, &second.get(1));
  EXPECT_EQ(8, second[1].value);

  Array third(first);
  third.addElement(Counted(4));
  Counted five(5);
  third.addElement(five);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), values(first));
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), values(third));

  Array fourth(first);
  fourth.removeElement(0);
  fourth.resize(4);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), values(first));
  EXPECT_EQ((std::vector<int>{2, 3, 0, 0}), values(fourth));
}

TEST_F(ArrayTest, SetSizeShrinksTheSharedBodyForEveryHandle) {
  Array first = make({1, 2});
  Array second(first);
  first.setSize(1);
  EXPECT_EQ(1u, first.size());
  EXPECT_EQ(1u, second.size());
  EXPECT_EQ((std::vector<int>{1}), values(second));
  EXPECT_EQ(2u, second.count());
  EXPECT_THROW(second.setSize(3), kel_ArrayOutOfBoundsException);
  EXPECT_THROW(second.get(1), kel_ArrayOutOfBoundsException);
}

TEST_F(ArrayTest, AssignmentSharesAndGivesUpTheOldBody) {
  Array first = make({1, 2});
  Array second = make({7});
  second = first;
  EXPECT_EQ(2u, first.count());
  EXPECT_EQ((std::vector<int>{1, 2}), values(second));
  second = second;
  EXPECT_EQ(2u, first.count());
  Array third(second);
  third = first;  // already sharing the same body
  EXPECT_EQ(3u, first.count());
}

TEST_F(ArrayTest, FindElementReturnsTheFirstMatchOrMinusOne) {
  Array array = make({4, 5, 4});
  Counted four(4), six(6);
  const Counted constFive(5), constSix(6);
  EXPECT_EQ(0, array.findElement(four));
  EXPECT_EQ(-1, array.findElement(six));
  EXPECT_EQ(1, array.findElement(constFive));
  EXPECT_EQ(-1, array.findElement(constSix));
  Array empty;
  EXPECT_EQ(-1, empty.findElement(four));
}

TEST_F(ArrayTest, EqualityComparesElementsAndOrderComparesSizesOnly) {
  Array a = make({1, 2});
  Array b = make({1, 2});
  Array c = make({1, 3});
  Array d = make({9});
  EXPECT_TRUE(a == a);
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == c);
  Counted::comparisons = 0;
  EXPECT_FALSE(a == d);
  EXPECT_EQ(0, Counted::comparisons);  // sizes differ: no element compared

  EXPECT_TRUE(d < a);
  EXPECT_FALSE(a < d);
  EXPECT_FALSE(a < c);
  EXPECT_FALSE(c < a);
}

TEST_F(ArrayTest, FailingElementAssignmentLeavesEveryHandleAsItWas) {
  Array first = make({1, 2, 3});
  Array second(first);
  Counted::failAssignment = true;
  EXPECT_THROW(second.set(0, Counted(9)), std::runtime_error);
  EXPECT_THROW(second.addElement(Counted(9)), std::runtime_error);
  EXPECT_THROW(second.removeElement(0), std::runtime_error);
  EXPECT_THROW(second.resize(5), std::runtime_error);
  Counted::failAssignment = false;
  EXPECT_EQ((std::vector<int>{1, 2, 3}), values(first));
  EXPECT_EQ((std::vector<int>{1, 2, 3}), values(second));
  EXPECT_EQ(2u, first.count());
}

TEST_F(ArrayTest, HandlesOnSeveralThreadsKeepTheCountRight) {
  Array shared = make({1, 2, 3});
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&shared, t] {
      for (int i = 0; i < 2000; ++i) {
        Array copy(shared);
        Array other;
        other = copy;
        if (i % 10 == 0) other.set(0, Counted(t));
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(1u, shared.count());
  EXPECT_EQ((std::vector<int>{1, 2, 3}), values(shared));
}

TEST_F(ArrayTest, EntityElementsStartNil) {
  kel_Array<kel_Entity> entities(2);
  EXPECT_TRUE(entities[0].isNil());
  EXPECT_TRUE(entities[1].isNil());
  entities.set(0, kel_Entity());
  entities.resize(3);
  EXPECT_TRUE(entities[2].isNil());
}

TEST_F(ArrayTest, FillAndReadMoveTheWholeArrayAtOnce) {
  Array shared = make({1, 2, 3});
  Array filled(shared);
  filled.fill(2, [](Counted* out, unsigned n) {
    for (unsigned i = 0; i < n; ++i) out[i] = Counted(10 + static_cast<int>(i));
  });
  // Only the handle it was called on changes; the other keeps the old body.
  EXPECT_EQ((std::vector<int>{10, 11}), values(filled));
  EXPECT_EQ((std::vector<int>{1, 2, 3}), values(shared));
  EXPECT_EQ(1u, filled.count());
  EXPECT_EQ(1u, shared.count());

  std::vector<int> seen;
  shared.read([&](const Counted* in, unsigned n) {
    for (unsigned i = 0; i < n; ++i) seen.push_back(in[i].value);
  });
  EXPECT_EQ((std::vector<int>{1, 2, 3}), seen);

  filled.fill(0, [](Counted*, unsigned n) { EXPECT_EQ(0u, n); });
  EXPECT_EQ(0u, filled.size());

  const float samples[] = {0.5f, -1.0f, 2.0f};
  kel_Array<float> floats(7);
  floats.assign(samples, 3);
  ASSERT_EQ(3u, floats.size());
  for (unsigned i = 0; i < 3; ++i) EXPECT_EQ(samples[i], floats[i]);
}

TEST_F(ArrayTest, AFailingFillLeavesTheArrayAsItWas) {
  Array array = make({1, 2});
  Array sharer(array);
  EXPECT_THROW(array.fill(3, [](Counted*, unsigned) { throw std::runtime_error("refused"); }), std::runtime_error);
  EXPECT_EQ((std::vector<int>{1, 2}), values(array));
  EXPECT_EQ(2u, array.count());
}

TEST_F(ArrayTest, AdoptTakesOverABufferWithoutCopyingIt) {
  Array array = make({1, 2});
  Array sharer(array);
  Counted* buffer = new Counted[3]{Counted(7), Counted(8), Counted(9)};
  const int assignmentsBefore = Counted::assignments;
  array.adopt(buffer, 3);
  EXPECT_EQ(assignmentsBefore, Counted::assignments.load());
  EXPECT_EQ(&array[0], buffer);
  EXPECT_EQ((std::vector<int>{7, 8, 9}), values(array));
  // The old body stays with the handle that shared it.
  EXPECT_EQ((std::vector<int>{1, 2}), values(sharer));
  EXPECT_EQ(1u, sharer.count());
  // Shared like any body: the adopted buffer is freed with its last handle
  // (TearDown counts the elements left alive).
  Array second(array);
  EXPECT_EQ(2u, array.count());
}
