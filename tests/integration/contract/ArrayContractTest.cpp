// Arrays of wells and wellbores, narrowing of entity arrays and the project
// finders, as an application sees them.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ContractService.h"
#include "kel_Array.h"
#include "kel_EntityQuery.h"
#include "kel_Well.h"
#include "kel_WellBore.h"

using namespace contract;

namespace {

std::string id(const kel_Entity& entity) { return str(entity.getId()); }

kel_Array<kel_Entity> entities(std::initializer_list<kel_Entity> items) {
  kel_Array<kel_Entity> result;
  for (const kel_Entity& item : items) result.addElement(item);
  return result;
}

TEST_F(Contract, ArraysOfWellsShareUntilChanged) {
  const kel_Well a = well("A", "A");
  const kel_Well b = well("B", "B");
  const kel_Well c = well("C", "C");

  kel_Array<kel_Well> empty;
  EXPECT_EQ(0u, empty.size());
  EXPECT_EQ(1u, empty.count());
  {
    kel_Array<kel_Well> copy(empty);
    EXPECT_EQ(2u, empty.count());
    EXPECT_EQ(2u, copy.count());
  }
  EXPECT_EQ(1u, empty.count());

  kel_Array<kel_Well> abc(3);
  abc.set(0, a);
  abc.set(1, b);
  abc.set(2, c);

  kel_Array<kel_Well> shared(abc);
  shared.set(0, c);
  EXPECT_TRUE(abc[0] == a);
  EXPECT_TRUE(shared[0] == c);
  EXPECT_EQ(1u, abc.count());

  kel_Array<kel_Well> dropped(abc);
  dropped.removeElement(1);
  ASSERT_EQ(2u, dropped.size());
  EXPECT_TRUE(dropped[0] == a);
  EXPECT_TRUE(dropped[1] == c);
  EXPECT_THROW(dropped.removeElement(2), kel_ArrayOutOfBoundsException);
  EXPECT_EQ(2u, dropped.size());
  EXPECT_THROW(dropped.get(2), kel_ArrayOutOfBoundsException);
  EXPECT_THROW(dropped.set(2, a), kel_ArrayOutOfBoundsException);

  kel_Array<kel_Well> grown(dropped);
  grown.resize(5);
  ASSERT_EQ(5u, grown.size());
  EXPECT_TRUE(grown[1] == c);
  EXPECT_TRUE(grown[2].isNil());
  EXPECT_TRUE(grown[4].isNil());
  grown.resize(1);
  ASSERT_EQ(1u, grown.size());
  EXPECT_TRUE(grown[0] == a);
  EXPECT_EQ(2u, dropped.size());

  kel_Array<kel_Well> sharer(dropped);
  dropped.setSize(1);
  EXPECT_EQ(1u, sharer.size());
  EXPECT_THROW(dropped.setSize(3), kel_ArrayOutOfBoundsException);

  kel_Array<kel_Well> twice;
  twice.addElement(b);
  twice.addElement(a);
  twice.addElement(b);
  kel_Well bMutable = b;
  EXPECT_EQ(0, twice.findElement(bMutable));
  EXPECT_EQ(1, twice.findElement(a));
  EXPECT_EQ(-1, twice.findElement(c));

  kel_Array<kel_Well> one(1), two(2);
  EXPECT_TRUE(one < two);
  EXPECT_FALSE(two < one);
  EXPECT_FALSE(abc < twice);
  EXPECT_FALSE(twice < abc);
}

TEST_F(Contract, NarrowingAnArrayOfEntities) {
  const kel_Well w1 = well("W1", "1");
  const kel_Well w2 = well("W2", "2");
  const kel_WellBore b1 = bore(w1, "b1");
  const kel_WellBore b2 = bore(w2, "b2");

  const kel_Array<kel_Entity> mixed = entities({w1, b1, w2});
  const kel_Array<kel_Well> wells = kel_Well::narrow(mixed, false);
  ASSERT_EQ(2u, wells.size());
  EXPECT_TRUE(wells[0] == w1);
  EXPECT_TRUE(wells[1] == w2);
  expectChain(caught([&] { kel_Well::narrow(mixed, true); }),
              {sys("Could not narrow the given list of entity objects to a list of well objects. ",
                   std::string(kSystem) + "kel_Well::narrow method. "),
               sys("The given entity array contains other types of entities than wells. ")});

  const kel_Array<kel_Entity> boresFirst = entities({b1, w1, b2});
  const kel_Array<kel_WellBore> bores = kel_WellBore::narrow(boresFirst, false);
  ASSERT_EQ(2u, bores.size());
  EXPECT_TRUE(bores[0] == b1);
  EXPECT_TRUE(bores[1] == b2);
  expectChain(caught([&] { kel_WellBore::narrow(boresFirst, true); }),
              {sys("Could not narrow the given list of entity objects to a list of wellbore objects. ",
                   std::string(kSystem) + "kel_WellBore::narrow method. "),
               sys("The given entity array contains other types of entities than wellbores. ")});

  EXPECT_EQ(0u, kel_Well::narrow(kel_Array<kel_Entity>(), true).size());
  EXPECT_EQ(2u, kel_Well::narrow(entities({w1, w2}), true).size());
}

TEST_F(Contract, ANilEntityInAnArrayFailsThroughBothNarrows) {
  const kel_Array<kel_Entity> withNil = entities({well(), kel_Entity()});
  for (bool mustMatch : {false, true}) {
    SCOPED_TRACE(mustMatch ? "mustMatch" : "no mustMatch");
    expectChain(caught([&] { kel_Well::narrow(withNil, mustMatch); }),
                {sys("Could not narrow the given list of entity objects to a list of well objects. ",
                     std::string(kSystem) + "kel_Well::narrow method. "),
                 sys("Could not narrow the given entity object to a well object. ",
                     std::string(kSystem) + "kel_Well::narrow method. "),
                 sys("The EpEntity::Entity came back NULL. ")});
  }
}

TEST_F(Contract, ANilEntityInAnArrayOfWellboresFailsThroughBothNarrows) {
  const kel_Array<kel_Entity> withNil = entities({kel_Entity(), bore(well())});
  expectChain(caught([&] { kel_WellBore::narrow(withNil, false); }),
              {sys("Could not narrow the given list of entity objects to a list of wellbore objects. ",
                   std::string(kSystem) + "kel_WellBore::narrow method. "),
               sys("Could not narrow the given entity object to a wellbore object. ",
                   std::string(kSystem) + "kel_WellBore::narrow method. "),
               sys("The EpEntity::Entity came back nil. ")});
}

TEST_F(Contract, ArraysCompareElementByElement) {
  const kel_Well a = well("A", "A");
  const kel_Well b = well("B", "B");
  kel_Array<kel_Well> ab;
  ab.addElement(a);
  ab.addElement(b);
  kel_Array<kel_Well> again(2);
  again.set(0, kel_Well::getFromString(a.getStringifiedReference()));
  again.set(1, b);
  EXPECT_TRUE(ab == again);
  again.set(1, a);
  EXPECT_FALSE(ab == again);
  again.removeElement(1);
  EXPECT_FALSE(ab == again);
}

TEST_F(Contract, OneArrayHandleFilledFromSeveralThreads) {
  const kel_Well a = well("A", "A");
  kel_Array<kel_Well> shared;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 25; ++i) shared.addElement(a);
    });
  for (std::thread& thread : threads) thread.join();
  ASSERT_EQ(100u, shared.size());
  for (unsigned i = 0; i < shared.size(); ++i) ASSERT_FALSE(shared[i].isNil()) << i;
  EXPECT_EQ("A", str(shared[99].getIdentifier().getValue()));
}

TEST_F(Contract, OneWellUsedFromSeveralThreads) {
  kel_Well w = well("A", "A");
  w.setCountry("Norway");
  std::atomic<int> right{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 20; ++i)
        if (str(w.getCountry()) == "Norway") ++right;
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(80, right.load());
}

TEST_F(Contract, FindersListTheProjectsOwnObjectsInOrder) {
  EXPECT_EQ(0u, kel_Well::getWellsInProject(project).size());
  EXPECT_EQ(0u, kel_WellBore::getWellBoresInProject(project).size());

  const kel_Well a = well("A", "A");
  const kel_Well b = well("B", "B");
  kel_Well::createStorelessWell(project, kel_StringPair("UWI", "S"), session);
  const kel_WellBore a1 = bore(a, "1");
  const kel_WellBore b1 = bore(b, "1");
  const kel_WellBore a2 = bore(a, "2");
  const kel_Project elsewhere = freshProject();
  kel_Well::createNewWell(elsewhere, "X", kel_StringPair("UWI", "X"), session);

  const kel_Array<kel_Well> wells = kel_Well::getWellsInProject(project);
  ASSERT_EQ(2u, wells.size());
  EXPECT_TRUE(wells[0] == a);
  EXPECT_TRUE(wells[1] == b);
  const kel_Array<kel_WellBore> bores = kel_WellBore::getWellBoresInProject(project);
  ASSERT_EQ(3u, bores.size());
  EXPECT_TRUE(bores[0] == a1);
  EXPECT_TRUE(bores[1] == b1);
  EXPECT_TRUE(bores[2] == a2);

  // Entities from the platform's own query narrow as well.
  kel_EntityQuery query(project, "EpiWell_WellBore");
  query.execute();
  EXPECT_EQ(3u, kel_WellBore::narrow(query.getEntityResult(), true).size());
  EXPECT_EQ(0u, kel_Well::narrow(query.getEntityResult(), false).size());
}

TEST_F(Contract, FinderFailures) {
  well();
  const std::string message = "Couldn't return any Well objects for given project. ";
  const std::string context = std::string(kSystem) + "kel_Well::getWellsInProject method. ";

  raise("executeQuery", "EpDataStore::StoreException", "m. ", "d", id(project));
  Caught store = caught([&] { kel_Well::getWellsInProject(project); });
  expectTop(store, {sys(message, context)});
  ASSERT_TRUE(store.chain);
  EXPECT_TRUE(store.chain->hasCause());

  // A nil element in the query's answer fails inside the array narrow.
  returnNil("executeQuery", id(project));
  expectChain(caught([&] { kel_Well::getWellsInProject(project); }),
              {sys(message, context),
               sys("Could not narrow the given list of entity objects to a list of well objects. ",
                   std::string(kSystem) + "kel_Well::narrow method. "),
               sys("Could not narrow the given entity object to a well object. ",
                   std::string(kSystem) + "kel_Well::narrow method. "),
               sys("The EpEntity::Entity came back NULL. ")});

  raise("executeQuery", "EpTypes::BadArgumentsException", "refused. ", "", id(project));
  expectTop(caught([&] { kel_Well::getWellsInProject(project); }),
            {user(message, std::string(kUser) + "kel_Well::getWellsInProject method. ")});

  raise("executeQuery", "EpDataStore::StoreException", "m. ", "d", id(project));
  expectTop(caught([&] { kel_WellBore::getWellBoresInProject(project); }),
            {sys("Couldn't return any WellBore objects for given project. ",
                 std::string(kSystem) + "kel_WellBore::getWellBoresInProject method. ")});
}

TEST_F(Contract, AProjectNameIsMatchedAsItStands) {
  static int serial = 0;
  const std::string name = "O'Neil \"%_\\ field; -- " + std::to_string(++serial);
  const kel_Project odd = kel_Project::create(session, name.c_str());
  const kel_Project near = kel_Project::create(session, (name + "0").c_str());
  kel_Well::createNewWell(odd, "A", kel_StringPair("UWI", "A"), session);
  kel_Well::createNewWell(near, "B", kel_StringPair("UWI", "B"), session);
  const kel_Array<kel_Well> wells = kel_Well::getWellsInProject(odd);
  ASSERT_EQ(1u, wells.size());
  EXPECT_EQ("A", str(wells[0].getIdentifier().getValue()));
}

} // namespace
