#include "store/SqliteStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>

#include "core/PrivateFiles.h"
#include "core/RemoteErrors.h"
#include "store/Schema.h"

namespace kelwelld {

namespace {

std::string baseName(const std::string& path) {
  if (path == ":memory:" || path.empty()) return "kelwell";
  std::string name = path.substr(path.find_last_of('/') + 1);
  const auto dot = name.find('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? "kelwell" : name;
}

// SQLite's incremental blob I/O counts in int.
int sizeArgument(std::size_t bytes, const std::string& attempted) {
  if (bytes > static_cast<std::size_t>(INT_MAX)) throwStore(attempted, "a blob offset or size beyond 2 GiB");
  return static_cast<int>(bytes);
}

class SqliteCursor : public Cursor {
public:
  SqliteCursor(sqlite3* db, sqlite3_stmt* stmt, bool owned) : m_db(db), m_stmt(stmt), m_owned(owned) {}
  ~SqliteCursor() override {
    if (m_owned) {
      sqlite3_finalize(m_stmt);
    } else {
      sqlite3_reset(m_stmt);
      sqlite3_clear_bindings(m_stmt);
    }
  }

  void bindText(int index, const std::string& value) override {
    check(sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT));
  }
  void bindInteger(int index, long long value) override { check(sqlite3_bind_int64(m_stmt, index, value)); }
  void bindReal(int index, double value) override { check(sqlite3_bind_double(m_stmt, index, value)); }
  void bindNull(int index) override { check(sqlite3_bind_null(m_stmt, index)); }
  void bindBlob(int index, const void* data, std::size_t bytes) override {
    check(sqlite3_bind_blob64(m_stmt, index, data, bytes, SQLITE_TRANSIENT));
  }

  bool step() override {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throwStore(m_attempted, sqlite3_errmsg(m_db));
  }

  bool isNull(int column) const override { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }
  std::string text(int column) const override {
    const auto* data = sqlite3_column_text(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size))
                : std::string();
  }
  long long integer(int column) const override { return sqlite3_column_int64(m_stmt, column); }
  double real(int column) const override { return sqlite3_column_double(m_stmt, column); }
  std::size_t blob(int column, void* into, std::size_t bytes) const override {
    const void* data = sqlite3_column_blob(m_stmt, column);
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column));
    const std::size_t copied = std::min(size, bytes);
    if (data && copied) std::memcpy(into, data, copied);
    return copied;
  }
  void describe(const std::string& attempted) override { m_attempted = attempted; }

private:
  void check(int rc) const {
    if (rc != SQLITE_OK) throwStore(m_attempted, sqlite3_errmsg(m_db));
  }

  sqlite3* m_db;
  sqlite3_stmt* m_stmt;
  bool m_owned;
  std::string m_attempted = "Could not access the store";
};

} // namespace

// One SQLite connection with the statements it keeps prepared.
class SqliteConnection : public Connection {
public:
  SqliteConnection(const std::string& path, bool reader) : m_path(path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
      const std::string detail = m_db ? sqlite3_errmsg(m_db) : "out of memory";
      sqlite3_close(m_db);
      m_db = nullptr;
      throwStore("Could not open the store " + quoted(path), detail);
    }
    try {
      sqlite3_extended_result_codes(m_db, 1);
      sqlite3_busy_timeout(m_db, 5000);
      const std::string configuring = "Could not configure the store " + quoted(path);
      if (!reader) {
        // Pages of 32 KiB for a store being created (an existing store keeps
        // its own): sample chunks span eight pages instead of sixty-four, and
        // a 1e7-sample write is some four times faster; a small write costs
        // a few more KiB.
        execute("PRAGMA page_size=32768", configuring);
        // journal_mode answers with a row; it is "memory" for a store in memory.
        execute("PRAGMA journal_mode=WAL", "Could not switch the store " + quoted(path) + " to WAL mode");
      }
      execute("PRAGMA synchronous=FULL", configuring);
      execute("PRAGMA foreign_keys=ON", configuring);
      // Reads map the file rather than copy it page by page through read().
      execute("PRAGMA mmap_size=268435456", configuring);
      // A reader never writes: a mistake that tries fails loudly.
      if (reader) execute("PRAGMA query_only=ON", "Could not configure the store " + quoted(path));
    } catch (...) {
      sqlite3_close(m_db);
      m_db = nullptr;
      throw;
    }
  }

  ~SqliteConnection() override {
    for (auto& entry : m_statements) sqlite3_finalize(entry.second);
    if (m_db) sqlite3_close(m_db);
  }

  std::unique_ptr<Cursor> prepare(const std::string& sql, Caching caching) override {
    if (caching == Caching::Kept) {
      auto found = m_statements.find(sql);
      if (found != m_statements.end()) return std::make_unique<SqliteCursor>(m_db, found->second, false);
    }
    sqlite3_stmt* stmt = nullptr;
    const unsigned flags = caching == Caching::Kept ? SQLITE_PREPARE_PERSISTENT : 0;
    if (sqlite3_prepare_v3(m_db, sql.c_str(), -1, flags, &stmt, nullptr) != SQLITE_OK)
      throwStore("Could not prepare a statement of the store", sqlite3_errmsg(m_db));
    if (caching == Caching::Once) return std::make_unique<SqliteCursor>(m_db, stmt, true);
    m_statements.emplace(sql, stmt);
    return std::make_unique<SqliteCursor>(m_db, stmt, false);
  }

  void execute(const std::string& sql, const std::string& attempted) override {
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string detail = error ? error : sqlite3_errmsg(m_db);
      sqlite3_free(error);
      throwStore(attempted, detail);
    }
  }

  void ensureTable(const TableDefinition& table, const std::string& attempted) override {
    static const ColumnSpelling sqlite{"INTEGER PRIMARY KEY AUTOINCREMENT", "TEXT NOT NULL DEFAULT ''", "INTEGER",
                                       "REAL", "BLOB NOT NULL"};
    for (const std::string& statement : createTableStatements(table, sqlite)) execute(statement, attempted);
  }


  void writeBlob(const char* table, const char* column, long long row, std::size_t offset, const void* data,
                 std::size_t bytes, const std::string& attempted) override {
    sqlite3_blob* blob = openBlob(table, column, row, true, attempted);
    const int rc = sqlite3_blob_write(blob, data, sizeArgument(bytes, attempted),
                                      sizeArgument(offset, attempted));
    closeBlob(blob, rc, attempted);
  }

  void readBlob(const char* table, const char* column, long long row, std::size_t offset, void* into,
                std::size_t bytes, const std::string& attempted) override {
    sqlite3_blob* blob = openBlob(table, column, row, false, attempted);
    const int rc = sqlite3_blob_read(blob, into, sizeArgument(bytes, attempted),
                                     sizeArgument(offset, attempted));
    closeBlob(blob, rc, attempted);
  }

  std::size_t blobBytes(const char* table, const char* column, long long row,
                        const std::string& attempted) override {
    sqlite3_blob* blob = openBlob(table, column, row, false, attempted);
    const int bytes = sqlite3_blob_bytes(blob);
    closeBlob(blob, SQLITE_OK, attempted);
    return static_cast<std::size_t>(bytes);
  }

  // IMMEDIATE takes the write lock now: a write never fails halfway for
  // want of it.
  void begin(const std::string& attempted) override { execute("BEGIN IMMEDIATE", attempted); }
  void commit(const std::string& attempted) override { execute("COMMIT", attempted); }
  void rollback() noexcept override { sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr); }

private:
  sqlite3_blob* openBlob(const char* table, const char* column, long long row, bool write,
                         const std::string& attempted) {
    sqlite3_blob* blob = nullptr;
    if (sqlite3_blob_open(m_db, "main", table, column, row, write ? 1 : 0, &blob) != SQLITE_OK) {
      const std::string detail = sqlite3_errmsg(m_db);
      sqlite3_blob_close(blob);
      throwStore(attempted, detail);
    }
    return blob;
  }

  void closeBlob(sqlite3_blob* blob, int rc, const std::string& attempted) {
    const std::string detail = rc == SQLITE_OK ? std::string() : sqlite3_errmsg(m_db);
    sqlite3_blob_close(blob);
    if (rc != SQLITE_OK) throwStore(attempted, detail);
  }

  std::string m_path;
  sqlite3* m_db = nullptr;
  std::map<std::string, sqlite3_stmt*> m_statements;
};

// ---------------------------------------------------------------- SqliteStore

SqliteStore::SqliteStore(const std::string& path)
    : m_path(path), m_inMemory(path == ":memory:" || path.empty()) {
  // Created private before SQLite opens it: its WAL and journal take its mode.
  createPrivateFileIfAbsent(path);
  m_writer = std::make_unique<SqliteConnection>(path, false);
  migrate(baseName(path));
}

SqliteStore::~SqliteStore() = default;

Lease SqliteStore::leaseWriter() {
  m_writerMutex.lock();
  return Lease(m_writer.get(), [this](Connection*) { m_writerMutex.unlock(); });
}

Lease SqliteStore::leaseReader() {
  if (m_inMemory) return leaseWriter();
  SqliteConnection* connection = nullptr;
  {
    std::lock_guard<std::mutex> lock(m_poolMutex);
    if (!m_idleReaders.empty()) {
      connection = m_idleReaders.back();
      m_idleReaders.pop_back();
    }
  }
  if (!connection) {
    // Opened outside the pool's lock: opening waits on the file system.
    auto opened = std::make_unique<SqliteConnection>(m_path, true);
    connection = opened.get();
    std::lock_guard<std::mutex> lock(m_poolMutex);
    m_readers.push_back(std::move(opened));
  }
  return Lease(connection, [this](Connection* done) {
    std::lock_guard<std::mutex> lock(m_poolMutex);
    m_idleReaders.push_back(static_cast<SqliteConnection*>(done));
  });
}

std::size_t SqliteStore::readerCount() const {
  std::lock_guard<std::mutex> lock(m_poolMutex);
  return m_readers.size();
}

void SqliteStore::execute(const std::string& sql, const std::string& attempted) {
  std::lock_guard<std::mutex> lock(m_writerMutex);
  m_writer->execute(sql, attempted);
}

void SqliteStore::migrate(const std::string& defaultName) {
  std::lock_guard<std::mutex> lock(m_writerMutex);
  // user_version marks a file as a store of this service's format; a
  // service that does not know a newer mark leaves the file alone.
  int version = 0;
  {
    auto query = m_writer->prepare("PRAGMA user_version", Caching::Once);
    query->describe("Could not read the schema version of the store " + quoted(m_path));
    if (query->step()) version = static_cast<int>(query->integer(0));
  }
  if (version > fileFormat)
    throwStore("Could not open the store " + quoted(m_path),
               "its schema version " + std::to_string(version) + " is newer than this service supports (" +
                   std::to_string(fileFormat) + ")");
  m_name = migrateStore(*m_writer, m_path, defaultName);
  if (version < fileFormat)
    m_writer->execute("PRAGMA user_version=" + std::to_string(fileFormat),
                      "Could not mark the store " + quoted(m_path));
}


} // namespace kelwelld
