// The SQLite engine of the store: one file in WAL mode with synchronous=FULL
// and foreign keys on. One writer connection serves the writes, one at a
// time; each reader leases a connection of its own from a pool, and WAL lets
// those read while the writer writes. A store in memory has one connection
// only (each SQLite connection to ":memory:" would see a database of its
// own), so there its readers take turns with the writer.
#ifndef KELWELLD_SQLITESTORE_H
#define KELWELLD_SQLITESTORE_H

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "store/Store.h"

namespace kelwelld {

class SqliteConnection;

class SqliteStore : public Store {
public:
  // The format mark of a SQLite store (PRAGMA user_version); the tables
  // within it follow the numbered migrations (store/Schema.h).
  static constexpr int fileFormat = 1;

  explicit SqliteStore(const std::string& path);
  ~SqliteStore() override;

  const std::string& name() const override { return m_name; }
  const std::string& path() const override { return m_path; }
  Lease leaseReader() override;
  Lease leaseWriter() override;

  // Runs SQL text without parameters on the writer (maintenance and tests).
  void execute(const std::string& sql, const std::string& attempted);
  // How many reader connections the pool has opened so far.
  std::size_t readerCount() const;

private:
  void migrate(const std::string& defaultName);

  std::string m_path;
  std::string m_name;
  bool m_inMemory;
  std::mutex m_writerMutex;
  std::unique_ptr<SqliteConnection> m_writer;
  mutable std::mutex m_poolMutex;
  std::vector<std::unique_ptr<SqliteConnection>> m_readers;
  std::vector<SqliteConnection*> m_idleReaders;
};

} // namespace kelwelld

#endif
