// The SQLite store: schema, its version, names, all-or-nothing writes, sample
// chunks, and readers that do not wait.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>

#include <gtest/gtest.h>

#include <EpDataStore.hh>
#include <EpTypes.hh>

#include "entity/Wells.h"
#include "store/SampleChunks.h"
#include "store/SqliteStore.h"

using namespace kelwelld;

namespace {

class StoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    directory = std::filesystem::temp_directory_path() /
                ("kelwell-store-test-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(directory);
  }
  void TearDown() override { std::filesystem::remove_all(directory); }
  std::string path(const char* name) const { return (directory / name).string(); }

  long long createProject(Store& store, const std::string& name) {
    Transaction transaction(store, "create a project");
    Statement insert(transaction, "INSERT INTO projects(name, created) VALUES (?, '2024-01-01T00:00:00Z') RETURNING id",
                     Caching::Once);
    insert.bind(1, name);
    const long long id = insert.step() ? insert.integer(0) : 0;
    insert.run();
    transaction.commit();
    return id;
  }

  std::filesystem::path directory;
};

} // namespace

TEST_F(StoreTest, IsNamedAfterItsFileAndKeepsThatName) {
  {
    SqliteStore store(path("north-sea.db"));
    EXPECT_EQ(store.name(), "north-sea");
  }
  std::filesystem::rename(path("north-sea.db"), path("renamed.db"));
  SqliteStore again(path("renamed.db"));
  EXPECT_EQ(again.name(), "north-sea");
  EXPECT_EQ(SqliteStore(":memory:").name(), "kelwell");
}

TEST_F(StoreTest, RefusesAStoreOfANewerSchema) {
  {
    SqliteStore store(path("future.db"));
    store.execute("PRAGMA user_version=99", "bump the version");
  }
  try {
    SqliteStore store(path("future.db"));
    FAIL() << "opened";
  } catch (const EpDataStore::StoreException& e) {
    EXPECT_EQ(std::string(e.detail.in()), "its schema version 99 is newer than this service supports (1)");
  }
}

TEST_F(StoreTest, AWriteThatFailsHalfwayChangesNothing) {
  SqliteStore store(path("atomic.db"));
  Entities entities(store);
  Wells data(entities);
  WellRecord record;
  record.projectId = "project:" + std::to_string(createProject(store, "p"));
  record.identifierName = "UWI";
  record.identifierValue = "1";
  const WellRecord created = data.createWell(record, true);

  EXPECT_THROW(data.modifyWell(created.id,
                               [](WellRecord& r) {
                                 r.country = "changed";
                                 r.aliases.push_back({"a", "b"});
                                 throw EpTypes::BadArgumentsException("refused halfway");
                               }),
               EpTypes::BadArgumentsException);
  const auto reread = data.well(created.id);
  ASSERT_TRUE(reread);
  EXPECT_EQ(reread->country, "");
  EXPECT_TRUE(reread->aliases.empty());

  // A stored well of a project that does not exist is refused whole.
  WellRecord orphan = record;
  orphan.projectId = "project:999";
  EXPECT_THROW(data.createWell(orphan, true), EpTypes::FailedOperationException);
  EXPECT_FALSE(data.well("well:2"));
}

TEST_F(StoreTest, RunsInWalModeWithFullSynchronousWrites) {
  SqliteStore store(path("wal.db"));
  Reader reader(store);
  Statement mode(reader, "PRAGMA journal_mode", Caching::Once);
  ASSERT_TRUE(mode.step());
  EXPECT_EQ(mode.text(0), "wal");
  Statement sync(reader, "PRAGMA synchronous", Caching::Once);
  ASSERT_TRUE(sync.step());
  EXPECT_EQ(sync.integer(0), 2);   // FULL
  Statement keys(reader, "PRAGMA foreign_keys", Caching::Once);
  ASSERT_TRUE(keys.step());
  EXPECT_EQ(keys.integer(0), 1);
}

// ------------------------------------------------------------ sample chunks

namespace {

std::vector<float> ramp(std::size_t count, float start = 0.0f) {
  std::vector<float> values(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = start + static_cast<float>(i);
  return values;
}

// (first_index, sample_count) of each chunk row of a series, in chunk order.
std::vector<std::pair<long long, long long>> chunkRows(Store& store, const std::string& owner,
                                                       const std::string& series) {
  Reader reader(store);
  Statement rows(reader,
                 "SELECT first_index, sample_count FROM sample_chunks WHERE owner_id = ? AND series = ? "
                 "ORDER BY chunk",
                 Caching::Once);
  rows.bind(1, owner).bind(2, series);
  std::vector<std::pair<long long, long long>> result;
  while (rows.step()) result.emplace_back(rows.integer(0), rows.integer(1));
  return result;
}

constexpr long long chunk = static_cast<long long>(SampleChunks::samplesPerChunk);

} // namespace

TEST_F(StoreTest, SampleSeriesAreWrittenAndAppendedInWholeChunks) {
  SqliteStore store(path("chunks.db"));
  const struct {
    const char* what;
    std::size_t written;
    std::vector<std::size_t> appended;
    std::vector<std::pair<long long, long long>> rows;
  } cases[] = {
      {"nothing", 0, {}, {}},
      {"less than a chunk", 10, {}, {{0, 10}}},
      {"exactly a chunk", SampleChunks::samplesPerChunk, {}, {{0, chunk}}},
      {"a chunk and one", SampleChunks::samplesPerChunk + 1, {}, {{0, chunk}, {chunk, 1}}},
      {"appended to nothing", 0, {7}, {{0, 7}}},
      {"appended into a partly filled chunk", 10, {5, 20}, {{0, 35}}},
      {"appended across a chunk boundary", SampleChunks::samplesPerChunk - 3, {10},
       {{0, chunk}, {chunk, 7}}},
      {"appended after a full chunk", SampleChunks::samplesPerChunk, {1, 1}, {{0, chunk}, {chunk, 2}}},
  };
  int n = 0;
  for (const auto& c : cases) {
    const SampleChunks series("logtrace:" + std::to_string(++n), "values");
    std::vector<float> expected = ramp(c.written);
    {
      Transaction transaction(store, "write");
      series.write(transaction, expected.data(), expected.size());
      transaction.commit();
    }
    for (std::size_t count : c.appended) {
      const std::vector<float> more = ramp(count, static_cast<float>(expected.size()));
      Transaction transaction(store, "append");
      series.append(transaction, more.data(), more.size());
      transaction.commit();
      expected.insert(expected.end(), more.begin(), more.end());
    }
    Reader reader(store);
    EXPECT_EQ(series.count(reader), expected.size()) << c.what;
    EXPECT_EQ(series.readAll(reader), expected) << c.what;
    EXPECT_EQ(chunkRows(store, "logtrace:" + std::to_string(n), "values"), c.rows) << c.what;
  }
}

TEST_F(StoreTest, ManySmallAppendsKeepEverySampleAndAtMostTwiceTheirRoom) {
  SqliteStore store(path("appends.db"));
  const std::size_t c = SampleChunks::samplesPerChunk;
  // Sizes that fill a chunk's room exactly, overflow it, cross chunk
  // boundaries and land on one.
  const struct {
    const char* what;
    std::size_t written;
    std::vector<std::size_t> appended;
  } cases[] = {
      {"ones onto nothing", 0, std::vector<std::size_t>(40, 1)},
      {"growing onto a written chunk", 10, {10, 20, 40, 1, 1000, 3000, 7}},
      {"across boundaries", c - 5, {3, 2, 1, c + 3, c / 2, c / 2 - 3, 1}},
      {"thousands to several chunks", 0, std::vector<std::size_t>(200, 1000)},
  };
  int n = 0;
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    const std::string owner = "logtrace:" + std::to_string(++n);
    const SampleChunks series(owner, "index");
    std::vector<float> expected = ramp(cs.written);
    {
      Transaction transaction(store, "write");
      series.write(transaction, expected.data(), expected.size());
      transaction.commit();
    }
    for (std::size_t count : cs.appended) {
      const std::vector<float> more = ramp(count, static_cast<float>(expected.size()));
      Transaction transaction(store, "append");
      series.append(transaction, more.data(), more.size());
      transaction.commit();
      expected.insert(expected.end(), more.begin(), more.end());
    }
    Reader reader(store);
    EXPECT_EQ(series.count(reader), expected.size());
    EXPECT_EQ(series.readAll(reader), expected);
    // Ranges ending inside a chunk with room read only its samples.
    for (std::size_t first : {std::size_t{0}, expected.size() / 2, expected.size() - 1}) {
      std::vector<float> tail(expected.size() - first, -1.0f);
      series.read(reader, first, tail.size(), tail.data());
      EXPECT_TRUE(std::equal(tail.begin(), tail.end(), expected.begin() + static_cast<std::ptrdiff_t>(first)));
    }
    // Whole chunks, then one partial one; no chunk keeps more than twice
    // its samples' room, nor more than a chunk's.
    const auto rows = chunkRows(store, owner, "index");
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].first, static_cast<long long>(i) * chunk);
      if (i + 1 < rows.size()) {
        EXPECT_EQ(rows[i].second, chunk);
      }
    }
    Statement sizes(reader, "SELECT sample_count, length(bytes) FROM sample_chunks WHERE owner_id = ?", Caching::Once);
    sizes.bind(1, owner);
    while (sizes.step()) {
      EXPECT_LE(sizes.integer(1), 2 * 4 * sizes.integer(0));
      EXPECT_LE(sizes.integer(1), 4 * chunk);
    }
  }
}

TEST_F(StoreTest, ASampleRangeIsReadFromTheChunksItSpans) {
  SqliteStore store(path("ranges.db"));
  const SampleChunks series("wellbore:1", "md");
  const std::vector<float> all = ramp(2 * SampleChunks::samplesPerChunk + 100);
  {
    Transaction transaction(store, "write");
    series.write(transaction, all.data(), all.size());
    transaction.commit();
  }
  const std::size_t c = SampleChunks::samplesPerChunk;
  const std::pair<std::size_t, std::size_t> ranges[] = {
      {0, 0}, {0, 1}, {5, 10}, {c - 1, 2}, {c - 10, c + 20}, {2 * c, 100}, {all.size() - 1, 1}, {0, all.size()},
      {all.size(), 0}};
  Reader reader(store);
  for (const auto& [first, count] : ranges) {
    std::vector<float> read(count, -1.0f);
    series.read(reader, first, count, read.data());
    EXPECT_TRUE(std::equal(read.begin(), read.end(), all.begin() + static_cast<std::ptrdiff_t>(first)))
        << first << "+" << count;
  }
  std::vector<float> into(10);
  try {
    series.read(reader, all.size() - 5, 10, into.data());
    FAIL() << "read past the end";
  } catch (const EpDataStore::StoreException& e) {
    EXPECT_EQ(std::string(e.message.in()), "Could not read the samples \"md\" of wellbore:1");
    EXPECT_EQ(std::string(e.detail.in()), "the samples 131167 to 131177 (exclusive) reach past the 131172 stored");
  }
}

TEST_F(StoreTest, SampleSeriesAreDeletedAndReplacedOnlyWithTheirTransaction) {
  SqliteStore store(path("delete.db"));
  const SampleChunks depths("wellbore:1", "md"), times("wellbore:1", "time"), other("wellbore:2", "md");
  const std::vector<float> values = ramp(1000);
  {
    Transaction transaction(store, "write");
    for (const SampleChunks* series : {&depths, &times, &other}) series->write(transaction, values.data(), 1000);
    transaction.commit();
  }
  // A write that does not reach its commit changes nothing.
  try {
    Transaction transaction(store, "replace");
    depths.write(transaction, values.data(), 3);
    times.remove(transaction);
    throw EpTypes::FailedOperationException("refused halfway");
  } catch (const EpTypes::FailedOperationException&) {
  }
  {
    Reader reader(store);
    EXPECT_EQ(depths.readAll(reader), values);
    EXPECT_EQ(times.count(reader), 1000u);
  }
  {
    Transaction transaction(store, "delete");
    depths.remove(transaction);
    transaction.commit();
  }
  {
    Reader reader(store);
    EXPECT_EQ(depths.count(reader), 0u);
    EXPECT_EQ(times.count(reader), 1000u);
  }
  {
    Transaction transaction(store, "delete all");
    SampleChunks::removeAllOf(transaction, "wellbore:1");
    transaction.commit();
  }
  Reader reader(store);
  EXPECT_EQ(times.count(reader), 0u);
  EXPECT_EQ(other.readAll(reader), values);
}

// ------------------------------------------------------------- concurrency

TEST_F(StoreTest, ReadersHaveConnectionsOfTheirOwnAndNeverWaitForAWriter) {
  SqliteStore store(path("readers.db"));
  createProject(store, "before");
  auto projects = [&store] {
    Reader reader(store);
    Statement count(reader, "SELECT COUNT(*) FROM projects", Caching::Kept);
    return count.step() ? count.integer(0) : -1;
  };
  {
    Reader first(store), second(store);
    EXPECT_EQ(store.readerCount(), 2u);
    EXPECT_NE(&first.connection(), &second.connection());
  }
  EXPECT_EQ(projects(), 1);
  EXPECT_EQ(store.readerCount(), 2u);   // the pool's connections are reused

  // A write in progress holds the writer; a reader on another thread reads
  // what was committed before it, without waiting.
  Transaction transaction(store, "write");
  Statement insert(transaction, "INSERT INTO projects(name, created) VALUES ('during', 'now')", Caching::Once);
  insert.run();
  auto during = std::async(std::launch::async, projects);
  ASSERT_EQ(during.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(during.get(), 1);
  transaction.commit();
  EXPECT_EQ(projects(), 2);

  // A reader cannot write, even by mistake.
  Reader reader(store);
  Statement write(reader, "DELETE FROM projects", Caching::Once);
  EXPECT_THROW(write.run(), EpDataStore::StoreException);
}

// A store written before the migrations were listed: its tables are taken as
// they are, its rows kept, and the migrations recorded as applied.
TEST_F(StoreTest, AStoreFromBeforeTheMigrationListKeepsItsDataAndRecordsThem) {
  const std::string file = path("old.db");
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const char* oldSchema =
        "CREATE TABLE store_info (key TEXT PRIMARY KEY, value TEXT NOT NULL);"
        "INSERT INTO store_info VALUES ('name', 'legacy');"
        "CREATE TABLE projects (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL UNIQUE,"
        "                       created TEXT NOT NULL);"
        "INSERT INTO projects(name, created) VALUES ('north', '2020-01-01T00:00:00Z');"
        "CREATE TABLE sample_chunks (id INTEGER PRIMARY KEY AUTOINCREMENT, owner_id TEXT NOT NULL,"
        "  series TEXT NOT NULL, chunk INTEGER NOT NULL, first_index INTEGER NOT NULL,"
        "  sample_count INTEGER NOT NULL, bytes BLOB NOT NULL, UNIQUE (owner_id, series, chunk));"
        "PRAGMA user_version=1;";
    ASSERT_EQ(sqlite3_exec(db, oldSchema, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  for (int opening = 0; opening < 2; ++opening) {   // the second opening applies nothing more
    SqliteStore store(file);
    EXPECT_EQ(store.name(), "legacy");
    Reader reader(store);
    Statement applied(reader, "SELECT number FROM schema_migrations ORDER BY number", Caching::Once);
    std::vector<long long> numbers;
    while (applied.step()) numbers.push_back(applied.integer(0));
    EXPECT_EQ(numbers, (std::vector<long long>{1, 2, 3}));
    Statement rangeIndex(reader, "SELECT 1 FROM sqlite_master WHERE name = 'sample_chunks_by_first'", Caching::Once);
    EXPECT_TRUE(rangeIndex.step()) << "an older store gets the index range reads use";
    Statement projects(reader, "SELECT id, name FROM projects", Caching::Once);
    ASSERT_TRUE(projects.step());
    EXPECT_EQ(projects.integer(0), 1);
    EXPECT_EQ(projects.text(1), "north");
    EXPECT_FALSE(projects.step());
  }
  // Tables the old store lacked are there now, wells among them.
  SqliteStore store(file);
  EXPECT_EQ(createProject(store, "south"), 2);
  Transaction transaction(store, "a well");
  Statement well(transaction,
                 "INSERT INTO wells(project_id, name, identifier_name, identifier_value, created, "
                 "modified_attributes, modified_aliases, modified_wellbores) VALUES (2, 'W', 'UWI', '1', '', '', '', '')",
                 Caching::Once);
  EXPECT_NO_THROW(well.run());
}
