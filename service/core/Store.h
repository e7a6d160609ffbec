// The service's persistent store: one SQLite database in WAL mode with
// synchronous=FULL and foreign keys on. Every statement is prepared (values are
// bound, never pasted into SQL text); every remote write runs in one
// Transaction, so a failed or refused write changes nothing. Failures surface
// as EpDataStore::StoreException (message = what was attempted, detail =
// SQLite's own text).
#ifndef KELWELLD_STORE_H
#define KELWELLD_STORE_H

#include <map>
#include <mutex>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace kelwelld {

class Store {
public:
  // The schema version this service writes (PRAGMA user_version).
  static constexpr int schemaVersion = 1;

  // Opens or creates the store at path (":memory:" for one held in memory)
  // and brings its schema up to date. StoreException when the file cannot be
  // opened, is not a store, or was written by a newer service.
  explicit Store(const std::string& path);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // The data store name (the file's base name without extension, fixed when
  // the store is created; "kelwell" for a store in memory).
  const std::string& name() const { return m_name; }
  const std::string& path() const { return m_path; }

  // Serialises all access: SQLite's connection is used by one thread at a time.
  std::mutex& mutex() { return m_mutex; }

  // Throws StoreException(attempted, SQLite's last error text).
  [[noreturn]] void fail(const std::string& attempted) const;

  sqlite3* handle() const { return m_db; }
  // A prepared statement for sql, kept for reuse. Caller holds the mutex.
  sqlite3_stmt* prepare(const char* sql);
  // Runs sql text without parameters (schema and pragmas only).
  void execute(const char* sql, const std::string& attempted);

private:
  void configure();
  void migrate(const std::string& defaultName);

  std::string m_path;
  std::string m_name;
  sqlite3* m_db = nullptr;
  std::mutex m_mutex;
  std::map<std::string, sqlite3_stmt*> m_statements;
};

// A prepared statement in use: bind, step, read columns. Reset and unbound
// when it goes out of scope. The store's mutex must be held (ReadLock or
// Transaction) for its whole life.
class Statement {
public:
  // A statement kept by the store for reuse (fixed SQL text of the service).
  Statement(Store& store, const char* sql);
  // A statement used once (SQL text assembled for one query).
  Statement(Store& store, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters are numbered from 1, as in SQLite.
  Statement& bind(int index, const std::string& value);
  Statement& bind(int index, long long value);
  Statement& bind(int index, double value);
  Statement& bind(int index, const std::optional<double>& value);
  Statement& bindNull(int index);

  // Advances to the next row; false when there is none.
  bool step();
  // Runs a statement that returns no rows.
  void run();

  // Columns are numbered from 0.
  bool isNull(int column) const;
  std::string text(int column) const;
  long long integer(int column) const;
  double real(int column) const;
  std::optional<double> optionalReal(int column) const;

  // What the statement was for, in failure messages.
  Statement& describe(std::string attempted);

private:
  Store& m_store;
  sqlite3_stmt* m_stmt;
  bool m_owned = false;
  std::string m_attempted;
};

// Holds the store's lock for reading.
class ReadLock {
public:
  explicit ReadLock(Store& store) : m_lock(store.mutex()) {}
private:
  std::unique_lock<std::mutex> m_lock;
};

// One write: holds the store's lock and an open SQLite transaction, which is
// rolled back unless commit() succeeded. commit() returns only once the
// transaction is durable, so a reply built after it never reports a write
// that could still be lost.
class Transaction {
public:
  Transaction(Store& store, std::string attempted);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit();
  long long lastInsertId() const;

private:
  Store& m_store;
  std::unique_lock<std::mutex> m_lock;
  std::string m_attempted;
  bool m_open = false;
};

} // namespace kelwelld

#endif
