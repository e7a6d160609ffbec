// What several processes on one store rely on without a database: the
// addresses they publish, the changes they pass to one another.
#include <gtest/gtest.h>

#include "Options.h"
#include "servants/Events.h"
#include "store/Store.h"

using namespace kelwelld;

TEST(Publish, TakesEveryHostAndPortInOrderAndRefusesWhatIsNotOne) {
  const Options options = parseOptions({"--store", "x.db", "--publish", "a.example.com:18110,10.0.0.2:1"});
  ASSERT_EQ(options.publish.size(), 2u);
  EXPECT_EQ(options.publish[0], std::make_pair(std::string("a.example.com"), 18110u));
  EXPECT_EQ(options.publish[1], std::make_pair(std::string("10.0.0.2"), 1u));
  EXPECT_TRUE(parseOptions({"--store", "x.db"}).publish.empty());

  const struct {
    const char* value;
    const char* refusal;
  } refused[] = {
      {"a:1,", "--publish takes host:port,host:port,... (\"\" is not host:port)"},
      {"a", "--publish takes host:port,host:port,... (\"a\" is not host:port)"},
      {":1", "--publish takes host:port,host:port,... (\":1\" is not host:port)"},
      {"a:", "--publish takes host:port,host:port,... (\"a:\" is not host:port)"},
      {"a:0", "--publish must lie between 1 and 65535, not 0"},
      {"a:x", "--publish needs a whole number, not \"x\""},
  };
  for (const auto& c : refused) {
    try {
      parseOptions({"--store", "x.db", "--publish", c.value});
      ADD_FAILURE() << c.value << " accepted";
    } catch (const UsageError& e) {
      EXPECT_STREQ(e.what(), c.refusal) << c.value;
    }
  }
}

TEST(StoreLocation, PostgresUrlsChooseThatEngineAndEverythingElseIsAFile) {
  EXPECT_TRUE(isPostgresLocation("postgresql://u@h/db"));
  EXPECT_TRUE(isPostgresLocation("postgres://h/db"));
  EXPECT_FALSE(isPostgresLocation("postgresql.db"));
  EXPECT_FALSE(isPostgresLocation(":memory:"));
  EXPECT_FALSE(isPostgresLocation("/data/postgresql://x"));
}

TEST(ChangesBetweenProcesses, RoundTripWithTheirFilterableDataAndRefuseWhatIsNotOne) {
  // Anys are marshalled as the service marshals them: with an ORB running.
  static CORBA::ORB_var orb = [] {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    return CORBA::ORB_init(argc, argv);
  }();
  ChangeEvent change;
  change.entityType = "EpiWell::WellBoreList";
  change.entityId = "wellborelist:7";
  change.changeKind = "modified";
  change.operation = "addBore";
  change.filterable.length(2);
  change.filterable[0].name = "ChangedData";
  change.filterable[0].value <<= "a text with\nnewlines";
  change.filterable[1].name = "Count";
  change.filterable[1].value <<= static_cast<CORBA::Long>(-3);

  const auto back = decodeChange(encodeChange(change));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->entityType, change.entityType);
  EXPECT_EQ(back->entityId, change.entityId);
  EXPECT_EQ(back->changeKind, change.changeKind);
  EXPECT_EQ(back->operation, change.operation);
  ASSERT_EQ(back->filterable.length(), 2u);
  const char* text = nullptr;
  ASSERT_TRUE(back->filterable[0].value >>= text);
  EXPECT_STREQ(text, "a text with\nnewlines");
  CORBA::Long count = 0;
  ASSERT_TRUE(back->filterable[1].value >>= count);
  EXPECT_EQ(count, -3);

  for (const char* garbage : {"", "EpiWell::Well\nwell:1\nmodified\nsetCountry", "a\nb\nc\nd\nxyz",
                              "a\nb\nc\nd\n0", "a\nb\nc\nd\n00ff00ff"})
    EXPECT_FALSE(decodeChange(garbage)) << garbage;
}
