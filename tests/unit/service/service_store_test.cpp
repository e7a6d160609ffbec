// The SQLite store: schema, its version, names, and all-or-nothing writes.
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include <EpDataStore.hh>
#include <EpTypes.hh>

#include "entity/Wells.h"
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
