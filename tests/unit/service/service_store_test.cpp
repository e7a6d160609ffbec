// The SQLite store: schema, its version, names, and all-or-nothing writes.
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include <EpDataStore.hh>
#include <EpTypes.hh>

#include "core/Store.h"
#include "well/WellData.h"

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
    Statement insert(store, "INSERT INTO projects(name, created) VALUES (?1, '2024-01-01T00:00:00Z')");
    insert.bind(1, name).run();
    const long long id = transaction.lastInsertId();
    transaction.commit();
    return id;
  }

  std::filesystem::path directory;
};

} // namespace

TEST_F(StoreTest, IsNamedAfterItsFileAndKeepsThatName) {
  {
    Store store(path("north-sea.db"));
    EXPECT_EQ(store.name(), "north-sea");
  }
  std::filesystem::rename(path("north-sea.db"), path("renamed.db"));
  Store again(path("renamed.db"));
  EXPECT_EQ(again.name(), "north-sea");
  EXPECT_EQ(Store(":memory:").name(), "kelwell");
}

TEST_F(StoreTest, RefusesAStoreOfANewerSchema) {
  {
    Store store(path("future.db"));
    store.execute("PRAGMA user_version=99", "bump the version");
  }
  try {
    Store store(path("future.db"));
    FAIL() << "opened";
  } catch (const EpDataStore::StoreException& e) {
    EXPECT_EQ(std::string(e.detail.in()), "its schema version 99 is newer than this service supports (1)");
  }
}

TEST_F(StoreTest, AWriteThatFailsHalfwayChangesNothing) {
  Store store(path("atomic.db"));
  WellData data(store);
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
  Store store(path("wal.db"));
  ReadLock lock(store);
  Statement mode(store, "PRAGMA journal_mode");
  ASSERT_TRUE(mode.step());
  EXPECT_EQ(mode.text(0), "wal");
  Statement sync(store, "PRAGMA synchronous");
  ASSERT_TRUE(sync.step());
  EXPECT_EQ(sync.integer(0), 2);   // FULL
  Statement keys(store, "PRAGMA foreign_keys");
  ASSERT_TRUE(keys.step());
  EXPECT_EQ(keys.integer(0), 1);
}
