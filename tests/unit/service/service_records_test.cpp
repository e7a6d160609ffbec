// Records described by their fields: the SQL that comes from a description,
// records and single fields that round-trip through the store, and the table
// of entity kinds.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <EpSession.hh>
#include <EpTypes.hh>
#include <EpiWell.hh>

#include "entity/Wells.h"
#include "servants/EntityKinds.h"
#include "store/SqliteStore.h"

using namespace kelwelld;

namespace {

struct Sample {
  std::string id;
  std::string ownerId;
  std::string parentProject;
  std::string label;
  short mode = 0;
  Quantity depth;
  Location origin;
  std::string created;
};

const RecordTable<Sample>& sampleTable() {
  static const RecordTable<Sample> table{
      "samples", "sample", nullptr, "sample",
      {reference("owner_id", &Sample::ownerId, "well", Written::OnCreate),
       reference("(SELECT project_id FROM wells WHERE wells.id = samples.owner_id)", &Sample::parentProject, "project",
                 Written::Never),
       text("label", &Sample::label), integer("mode", &Sample::mode), quantity("depth", &Sample::depth),
       location("origin", &Sample::origin), text("created", &Sample::created, Written::OnCreate)}};
  return table;
}

} // namespace

template <>
const RecordTable<Sample>& kelwelld::recordTable<Sample>() {
  return sampleTable();
}

TEST(RecordTables, GenerateTheirStatementsFromTheirFields) {
  const RecordTable<Sample>& table = sampleTable();
  const struct {
    std::string actual;
    std::string expected;
  } statements[] = {
      {table.selectSql,
       "SELECT owner_id, (SELECT project_id FROM wells WHERE wells.id = samples.owner_id), label, mode, "
       "depth_value, depth_unit, origin_system, origin_x, origin_y, origin_z, created FROM samples WHERE id = ?"},
      {table.insertSql,
       "INSERT INTO samples (owner_id, label, mode, depth_value, depth_unit, origin_system, origin_x, origin_y, "
       "origin_z, created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"},
      {table.updateSql,
       "UPDATE samples SET label = ?, mode = ?, depth_value = ?, depth_unit = ?, origin_system = ?, origin_x = ?, "
       "origin_y = ?, origin_z = ? WHERE id = ?"},
      {table.selectFieldSql(*table.fieldOf(&Sample::depth)), "SELECT depth_value, depth_unit FROM samples WHERE id = ?"},
      {table.existsSql, "SELECT 1 FROM samples WHERE id = ?"},
  };
  for (const auto& statement : statements) EXPECT_EQ(statement.actual, statement.expected);
  EXPECT_EQ(table.fieldOf(&Sample::id), nullptr);   // the id is the row's, no field's
}

TEST(RecordTables, NameOnlyColumnsTheStoreHas) {
  SqliteStore store(":memory:");
  Transaction transaction(store, "prepare");
  auto prepares = [&](const std::string& sql) {
    if (sql.empty()) return;
    EXPECT_NO_THROW({ Statement statement(transaction, sql, Caching::Once); }) << sql;
  };
  auto check = [&](const auto& table) {
    for (const std::string* sql : {&table.selectSql, &table.insertSql, &table.updateSql, &table.existsSql,
                                   &table.selectAliasesSql, &table.deleteAliasesSql, &table.insertAliasSql})
      prepares(*sql);
    for (const auto& field : table.fields) prepares(table.selectFieldSql(field));
  };
  check(recordTable<ProjectRecord>());
  check(recordTable<WellRecord>());
  check(recordTable<WellBoreRecord>());
}

TEST(EntityRecords, OfANewKindBringTheirOwnTables) {
  SqliteStore store(":memory:");
  Entities entities(store);
  Wells wells(entities);
  WellRecord well;
  well.projectId = wells.createProject("new kind").id;
  well.identifierName = "UWI";
  const WellRecord owner = wells.createWell(well, true);

  EntityRecords<Sample>& samples = entities.of<Sample>();
  Sample sample;
  sample.ownerId = owner.id;
  sample.label = "first";
  sample.mode = 3;
  sample.depth = {12.5, "m"};
  sample.origin = {true, "EPSG:4326", 1.0, 2.0, 3.0};
  sample.created = "2024-01-01T00:00:00Z";
  {
    Transaction transaction(store, "insert");
    samples.insert(transaction, sample);
    transaction.commit();
  }
  EXPECT_EQ(sample.id, "sample:1");
  samples.modify(sample.id, [](Sample& s) { s.label = "changed"; });
  const auto found = samples.find(sample.id);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->label, "changed");
  EXPECT_EQ(found->mode, 3);
  EXPECT_EQ(found->parentProject, well.projectId);
  EXPECT_EQ(found->created, sample.created);
  EXPECT_EQ(*found->depth.value, 12.5);
  EXPECT_EQ(found->origin.system, "EPSG:4326");
  // The tables are made once: a second service over the same store finds them.
  Entities again(store);
  EXPECT_EQ(again.of<Sample>().field(sample.id, &Sample::label), "changed");
}

TEST(EntityRecords, KeepEveryFieldAndReadOneAtATime) {
  SqliteStore store(":memory:");
  Entities entities(store);
  Wells wells(entities);
  const ProjectRecord project = wells.createProject("fields");

  WellRecord well;
  well.projectId = project.id;
  well.name = "W";
  well.identifierName = "UWI";
  well.identifierValue = "1";
  well.aliases = {{"a", "1"}, {"b", "2"}};
  const WellRecord created = wells.createWell(well, true);
  const auto changed = wells.modifyWell(created.id, [](WellRecord& r) {
    r.country = "Norway";
    r.waterDepth = {138.0, "ft"};
    r.location = {true, "EPSG:23031", 1.5, 2.5, -3.0};
  });
  ASSERT_TRUE(changed);
  EXPECT_EQ(wells.well(created.id)->aliases, well.aliases);

  WellBoreRecord bore;
  bore.wellId = created.id;
  bore.identifierName = "UWBI";
  bore.identifierValue = "1-1";
  const WellBoreRecord stored = wells.createWellBore(bore, true);
  const WellBoreRecord storeless = wells.createWellBore(bore, false);

  EntityRecords<WellRecord>& records = entities.of<WellRecord>();
  EntityRecords<WellBoreRecord>& bores = entities.of<WellBoreRecord>();
  EXPECT_EQ(records.field(created.id, &WellRecord::country), "Norway");
  EXPECT_EQ(records.field(created.id, &WellRecord::projectId), project.id);
  const auto depth = records.field(created.id, &WellRecord::waterDepth);
  ASSERT_TRUE(depth && depth->value);
  EXPECT_EQ(*depth->value, 138.0);
  EXPECT_EQ(depth->unit, "ft");
  const auto origin = records.field(created.id, &WellRecord::location);
  ASSERT_TRUE(origin && origin->set);
  EXPECT_EQ(origin->system, "EPSG:23031");
  EXPECT_EQ(origin->z, -3.0);
  EXPECT_EQ(records.field(created.id, &WellRecord::modifiedAliases), created.modifiedAliases);
  for (const WellBoreRecord* b : {&stored, &storeless}) {
    EXPECT_EQ(bores.field(b->id, &WellBoreRecord::projectId), project.id) << b->id;
    EXPECT_EQ(bores.field(b->id, &WellBoreRecord::wellId), created.id) << b->id;
    EXPECT_EQ(bores.field(b->id, &WellBoreRecord::id), b->id) << b->id;
  }
  const auto unset = bores.field(stored.id, &WellBoreRecord::totalDepth);
  ASSERT_TRUE(unset);
  EXPECT_FALSE(unset->value);

  for (const char* missing : {"well:99", "storeless-well:99", "wellbore:1", "nothing"})
    EXPECT_FALSE(records.field(missing, &WellRecord::country)) << missing;
  EXPECT_FALSE(records.field("well:99", &WellRecord::id));
}

TEST(EntityKinds, EveryKindHasOneEntryThatAgreesWithTheContract) {
  const struct {
    Kind kind;
    const char* prefix;
    const char* repositoryId;
  } expected[] = {{Kind::Project, "project", EpSession::_tc_Project->id()},
                  {Kind::Well, "well", EpiWell::_tc_Well->id()},
                  {Kind::WellBore, "wellbore", EpiWell::_tc_WellBore->id()},
                  {Kind::StorelessWell, "storeless-well", EpiWell::_tc_Well->id()},
                  {Kind::StorelessWellBore, "storeless-wellbore", EpiWell::_tc_WellBore->id()},
                  {Kind::Session, "session", EpSession::_tc_Session->id()},
                  {Kind::Velocity, "velocity", EpiWell::_tc_WellVelocity->id()},
                  {Kind::StorelessVelocity, "storeless-velocity", EpiWell::_tc_WellVelocity->id()},
                  {Kind::LogTrace, "logtrace", EpiWell::_tc_WellLogTrace->id()},
                  {Kind::StorelessLogTrace, "storeless-logtrace", EpiWell::_tc_WellLogTrace->id()},
                  {Kind::Pick, "pick", EpiWell::_tc_WellPick->id()},
                  {Kind::StorelessPick, "storeless-pick", EpiWell::_tc_WellPick->id()},
                  {Kind::WellBoreList, "wellborelist", EpiWell::_tc_WellBoreList->id()},
                  {Kind::StorelessWellBoreList, "storeless-wellborelist", EpiWell::_tc_WellBoreList->id()}};
  ASSERT_EQ(entityKinds().size(), std::size(expected));
  std::set<std::string> prefixes, poas;
  for (const auto& e : expected) {
    const EntityKind& kind = describe(e.kind);
    EXPECT_STREQ(kind.prefix, e.prefix);
    EXPECT_STREQ(kind.repositoryId, e.repositoryId);
    EXPECT_EQ(parseId(formatId(e.kind, 42))->kind, e.kind) << e.prefix;
    prefixes.insert(kind.prefix);
    poas.insert(kind.poaName);
    // A POA with entities always has a servant: its own or its twin's.
    if (e.kind != Kind::Session) {
      EXPECT_TRUE(kind.servant || (kind.servedBy && describe(*kind.servedBy).servant)) << e.prefix;
    }
  }
  EXPECT_EQ(prefixes.size(), std::size(expected));
  EXPECT_EQ(poas.size(), std::size(expected));
}

TEST(EntityRecords, AChangeThatThrowsLeavesStoredAndStorelessRecordsAsTheyWere) {
  SqliteStore store(":memory:");
  Entities entities(store);
  Wells wells(entities);
  WellRecord well;
  well.projectId = wells.createProject("refused").id;
  well.identifierName = "UWI";
  well.country = "before";
  for (bool stored : {true, false}) {
    const WellRecord created = wells.createWell(well, stored);
    EXPECT_THROW(wells.modifyWell(created.id,
                                  [](WellRecord& r) {
                                    r.country = "after";
                                    r.aliases.push_back({"a", "b"});
                                    throw EpTypes::BadArgumentsException("refused halfway");
                                  }),
                 EpTypes::BadArgumentsException)
        << created.id;
    const auto reread = wells.well(created.id);
    ASSERT_TRUE(reread) << created.id;
    EXPECT_EQ(reread->country, "before") << created.id;
    EXPECT_TRUE(reread->aliases.empty()) << created.id;
  }
}

// Readers of stored and storeless records run beside a writer: every read
// sees one whole value that was written, and none fails.
TEST(EntityRecords, ReadersAndAWriterRunTogether) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("kelwell-records-" + std::to_string(getpid()) + ".db");
  {
    SqliteStore store(file.string());
    Entities entities(store);
    Wells wells(entities);
    WellRecord well;
    well.projectId = wells.createProject("together").id;
    well.identifierName = "UWI";
    well.country = "v0";
    const std::string ids[] = {wells.createWell(well, true).id, wells.createWell(well, false).id};
    EntityRecords<WellRecord>& records = entities.of<WellRecord>();

    constexpr int writes = 50;
    std::atomic<bool> done{false};
    std::atomic<int> bad{0}, reads{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
      readers.emplace_back([&, t] {
        while (!done) {
          const auto country = records.field(ids[t % 2], &WellRecord::country);
          if (!country || country->size() < 2 || (*country)[0] != 'v') ++bad;
          ++reads;
        }
      });
    }
    for (int i = 1; i <= writes; ++i)
      for (const std::string& id : ids) wells.modifyWell(id, [i](WellRecord& r) { r.country = "v" + std::to_string(i); });
    done = true;
    for (std::thread& reader : readers) reader.join();
    EXPECT_EQ(bad, 0);
    EXPECT_GT(reads, 0);
    for (const std::string& id : ids) EXPECT_EQ(records.field(id, &WellRecord::country), "v50") << id;
  }
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
}

TEST(EntityIds, SplitOnlyPrefixAndPositiveNumber) {
  const struct {
    const char* text;
    const char* prefix;   // nullptr: not an id
    long long number;
  } cases[] = {{"well:12", "well", 12},
               {"storeless-wellbore:3", "storeless-wellbore", 3},
               {"x:999999999999999999", "x", 999999999999999999LL},
               {"x:1000000000000000000", nullptr, 0},
               {":5", nullptr, 0},
               {"well:0", nullptr, 0},
               {"well:+1", nullptr, 0},
               {"well", nullptr, 0},
               {"well:1:2", nullptr, 0}};
  for (const auto& c : cases) {
    const auto split = splitId(c.text);
    if (!c.prefix) {
      EXPECT_FALSE(split) << c.text;
      continue;
    }
    ASSERT_TRUE(split) << c.text;
    EXPECT_EQ(split->prefix, c.prefix);
    EXPECT_EQ(split->number, c.number);
    EXPECT_EQ(formatId(split->prefix, split->number), c.text);
  }
}
