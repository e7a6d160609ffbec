// kel_Array<kel_Well> holding bound wells: sharing, unsharing and searching,
// where every element copy narrows and counts a remote reference again.
#include "LibraryService.h"

using namespace library_test;

using WellArrayTest = Fixture;

TEST_F(WellArrayTest, SharedBodiesSplitOnlyWhenChanged) {
  const kel_Well a = newWell("A", "1"), b = newWell("B", "2"), c = newWell("C", "3");
  kel_Array<kel_Well> wells(3);
  wells.set(0, a);
  wells.set(1, b);
  wells.set(2, c);

  kel_Array<kel_Well> shared(wells);
  EXPECT_EQ(2u, wells.count());
  shared.set(0, c);
  EXPECT_TRUE(wells[0] == a);
  EXPECT_TRUE(shared[0] == c);
  EXPECT_EQ(1u, wells.count());

  kel_Array<kel_Well> removed(wells);
  removed.removeElement(1);
  ASSERT_EQ(2u, removed.size());
  EXPECT_TRUE(removed[0] == a);
  EXPECT_TRUE(removed[1] == c);
  EXPECT_THROW(removed.removeElement(2), kel_ArrayOutOfBoundsException);
  EXPECT_EQ(2u, removed.size());

  kel_Array<kel_Well> grown(removed);
  grown.resize(5);
  EXPECT_TRUE(grown[1] == c);
  EXPECT_TRUE(grown[4].isNil());
  grown.resize(1);
  ASSERT_EQ(1u, grown.size());
  EXPECT_TRUE(grown[0] == a);

  // setSize shrinks the body every sharer sees.
  kel_Array<kel_Well> sharer(wells);
  sharer.setSize(1);
  EXPECT_EQ(1u, wells.size());
  EXPECT_THROW(sharer.setSize(3), kel_ArrayOutOfBoundsException);

  // All of them still read their wells.
  EXPECT_EQ("", text(shared[2].getCountry()));
  EXPECT_EQ("", text(removed[1].getCountry()));
}

TEST_F(WellArrayTest, FindingWellsByIdentity) {
  const kel_Well a = newWell("A", "1"), b = newWell("B", "2"), absent = newWell("C", "3");
  kel_Array<kel_Well> wells;
  wells.addElement(a);
  wells.addElement(b);
  wells.addElement(kel_Well::getFromString(a.getStringifiedReference()));
  EXPECT_EQ(0, wells.findElement(a));
  EXPECT_EQ(1, wells.findElement(b));
  EXPECT_EQ(-1, wells.findElement(absent));
  kel_Well mutableB(b);
  EXPECT_EQ(1, wells.findElement(mutableB));

  kel_Array<kel_Well> same(wells);
  EXPECT_TRUE(same == wells);
  kel_Array<kel_Well> shorter;
  shorter.addElement(absent);
  EXPECT_TRUE(shorter < wells);
  EXPECT_FALSE(wells < shorter);
  EXPECT_FALSE(same < wells);
}
