#include <gtest/gtest.h>

#include <vector>

#include "payload/PointerList.h"

using payload::PointerList;

TEST(PointerList, Push_GrowsThroughTheSequence) {
  PointerList list;
  std::vector<int32_t> capacities;
  int values[500];
  for (int i = 0; i < 481; ++i) {
    int32_t before = list.Capacity();
    ASSERT_EQ(i, list.Push(&values[i]));
    if (list.Capacity() != before) capacities.push_back(list.Capacity());
  }
  EXPECT_EQ((std::vector<int32_t>{32, 72, 122, 184, 262, 359, 480, 632}), capacities);
  EXPECT_EQ(481, list.Count());
  EXPECT_EQ(&values[0], list.Get(0));
  EXPECT_EQ(&values[480], list.Get(480));
}

TEST(PointerList, Push_33rdEntryGrowsTo72) {
  PointerList list;
  int value = 0;
  for (int i = 0; i < 32; ++i) list.Push(&value);
  EXPECT_EQ(32, list.Capacity());
  list.Push(&value);
  EXPECT_EQ(72, list.Capacity());
}

TEST(PointerList, Resize_GrowsWhenOneBelowCapacity) {
  PointerList list;
  int value = 0;
  list.Push(&value);
  ASSERT_EQ(32, list.Capacity());
  EXPECT_TRUE(list.Resize(31));
  EXPECT_EQ(70, list.Capacity());
  EXPECT_EQ(31, list.Count());
  EXPECT_EQ(&value, list.Get(0));
  EXPECT_EQ(nullptr, list.Get(30));
  EXPECT_TRUE(list.Resize(2));
  EXPECT_EQ(2, list.Count());
  EXPECT_EQ(70, list.Capacity());
  EXPECT_FALSE(list.Resize(-1));
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
