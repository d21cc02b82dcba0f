#include <gtest/gtest.h>


#include "payload/PointerList.h"

using payload::PointerList;

// The array moves as it grows: every entry must come along, in its place.
TEST(PointerList, PushPastManyGrowths_EveryEntryKept) {
  PointerList list;
  int values[2000];
  for (int i = 0; i < 2000; ++i) {
    ASSERT_EQ(i, list.Push(&values[i]));
    ASSERT_GE(list.Capacity(), list.Count());
  }
  EXPECT_EQ(2000, list.Count());
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(&values[i], list.Get(i)) << i;
}

// The reader sizes its directory with Resize and fills it by index: what
// was there stays, what is new is null, and a smaller size hides the rest.
TEST(PointerList, Resize_KeepsEntriesAndAddsNulls) {
  PointerList list;
  int first = 0, second = 0;
  list.Push(&first);
  list.Push(&second);
  ASSERT_TRUE(list.Resize(500));
  EXPECT_EQ(500, list.Count());
  EXPECT_EQ(&first, list.Get(0));
  EXPECT_EQ(&second, list.Get(1));
  for (int i = 2; i < 500; ++i) ASSERT_EQ(nullptr, list.Get(i)) << i;
  ASSERT_TRUE(list.Resize(1));
  EXPECT_EQ(&first, list.Get(0));
  EXPECT_EQ(nullptr, list.Get(1));
  ASSERT_TRUE(list.Resize(2));
  EXPECT_EQ(nullptr, list.Get(1));
  EXPECT_FALSE(list.Resize(-1));
  EXPECT_EQ(2, list.Count());
}

TEST(PointerList, Get_OutsideTheEntriesIsNull) {
  PointerList list;
  int value = 0;
  EXPECT_EQ(nullptr, list.Get(0));
  list.Push(&value);
  EXPECT_EQ(nullptr, list.Get(-1));
  EXPECT_EQ(nullptr, list.Get(1));
}

TEST(PointerList, SetAt_BeyondTheCountExtendsWithNulls) {
  PointerList list;
  int value = 0;
  list.SetAt(&value, 4);
  EXPECT_EQ(5, list.Count());
  EXPECT_EQ(nullptr, list.Get(3));
  EXPECT_EQ(&value, list.Get(4));
  list.SetAt(&value, -1);
  EXPECT_EQ(5, list.Count());
  list.SetAt(&value, 0x7FFFFFFF);
  EXPECT_EQ(5, list.Count());
}

TEST(PointerList, Clear_EmptiesAndReleasesTheArray) {
  PointerList list;
  int value = 0;
  list.Push(&value);
  list.Clear();
  EXPECT_EQ(0, list.Count());
  EXPECT_EQ(0, list.Capacity());
  EXPECT_EQ(0, list.Push(&value));
}
