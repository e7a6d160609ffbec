// The service's persistent store, behind one interface so that another SQL
// engine can serve it later. Callers write standard SQL with "?" parameters
// and bind every value (nothing a client sends becomes SQL text); what is
// particular to an engine (pragmas, locking, blob streaming, the schema's
// column types) stays inside that engine's classes.
//
// Reads and writes run on connections leased from the store:
//   - a Reader leases a connection of its own, so readers never wait for one
//     another (SQLite: WAL readers);
//   - a Transaction leases the one writer connection and holds it for one
//     write, which is committed, or rolled back when it is not; commit()
//     returns once the write is durable, so a reply built after it never
//     reports a write that could still be lost.
// A thread that holds a Transaction reads through it, never through a Reader:
// a Reader would not see the write in progress, and in a store in memory
// (one connection) it would wait for the thread itself.
// Failures surface as EpDataStore::StoreException (message = what was
// attempted, detail = the engine's own text).
#ifndef KELWELLD_STORE_H
#define KELWELLD_STORE_H

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelwelld {

// Whether the engine keeps a statement prepared for reuse. Kept is for the
// service's fixed SQL texts; Once for text assembled for one call (a query's
// where clause), which would otherwise fill the cache.
enum class Caching { Kept, Once };

// The portable column types; each engine names them in its own SQL.
enum class ColumnType { Text, Integer, Real, Blob };

// A table the store makes when it does not have it yet: the one description
// of the schema, which every engine turns into its own DDL. Text columns are
// never NULL ("" when not written), nor are blobs; integers and reals may be.
struct TableDefinition {
  struct Column {
    std::string name;
    ColumnType type;
  };
  // An index or a unique key over columns, made with the table.
  struct Index {
    std::string name;
    std::vector<std::string> columns;
    bool unique = false;
  };
  std::string name;
  std::vector<Column> columns;
  // Empty: an "id" column of increasing integers that are never reused is
  // the key. Otherwise the columns that make the key.
  std::vector<std::string> primaryKey;
  std::vector<Index> indexes;
};

// How an engine spells the columns of a table definition.
struct ColumnSpelling {
  const char* generatedId;  // the "id" key column when the definition names no key
  const char* text;
  const char* integer;
  const char* real;
  const char* blob;
};

// The statements that create the table and then each of its indexes unless
// they exist, in the engine's spelling: one way to write a table for both engines.
std::vector<std::string> createTableStatements(const TableDefinition& table, const ColumnSpelling& spelling);

// One prepared statement of an engine. Parameters count from 1, columns
// from 0. Failures throw StoreException with the text of describe().
class Cursor {
public:
  virtual ~Cursor() = default;
  virtual void bindText(int index, const std::string& value) = 0;
  virtual void bindInteger(int index, long long value) = 0;
  virtual void bindReal(int index, double value) = 0;
  virtual void bindNull(int index) = 0;
  // The bytes are copied when bound; the caller's buffer may go right after.
  virtual void bindBlob(int index, const void* data, std::size_t bytes) = 0;
  virtual bool step() = 0;
  virtual bool isNull(int column) const = 0;
  virtual std::string text(int column) const = 0;
  virtual long long integer(int column) const = 0;
  virtual double real(int column) const = 0;
  // Copies up to bytes of a blob column into into; the number copied.
  virtual std::size_t blob(int column, void* into, std::size_t bytes) const = 0;
  virtual void describe(const std::string& attempted) = 0;
};

// One connection to the engine, used by one thread at a time.
class Connection {
public:
  virtual ~Connection() = default;
  virtual std::unique_ptr<Cursor> prepare(const std::string& sql, Caching caching) = 0;
  // SQL text without parameters: schema and transaction control only.
  virtual void execute(const std::string& sql, const std::string& attempted) = 0;
  // Creates the table and its indexes unless they exist (a table of the
  // same name is taken as it is). Called inside a Transaction; safe when
  // several service processes start on one database at once.
  virtual void ensureTable(const TableDefinition& table, const std::string& attempted) = 0;
  // Streams bytes into / out of a blob that already has its full size, at
  // offset, without loading the rest of it. row is the owning row's id.
  virtual void writeBlob(const char* table, const char* column, long long row, std::size_t offset,
                         const void* data, std::size_t bytes, const std::string& attempted) = 0;
  virtual void readBlob(const char* table, const char* column, long long row, std::size_t offset,
                        void* into, std::size_t bytes, const std::string& attempted) = 0;
  // The size in bytes of a blob, without loading it.
  virtual std::size_t blobBytes(const char* table, const char* column, long long row,
                                const std::string& attempted) = 0;
  // The engine's way to open, commit and roll back one write.
  virtual void begin(const std::string& attempted) = 0;
  // Opens a write that changes the schema; one at a time across every
  // process on the store (the migrations at start-up).
  virtual void beginSchemaChange(const std::string& attempted) { begin(attempted); }
  virtual void commit(const std::string& attempted) = 0;
  virtual void rollback() noexcept = 0;
};

// A leased connection; hands the connection back when it goes.
using Lease = std::unique_ptr<Connection, std::function<void(Connection*)>>;

// The detail of a StoreException for a write that another process's
// committed write overtook: nothing of it was written, and it may be
// retried as it is.
extern const char* const conflictDetail;
// Whether a StoreException's detail is that of such a conflict.
bool isConflict(const std::string& detail);

// Messages between the service processes that share one store: the
// data-changed events of writes taken by another process.
class StoreChannel {
public:
  virtual ~StoreChannel() = default;
  // To every other process listening on the store (never back to this one).
  // Sent after the write committed; a message that cannot go is logged.
  virtual void send(const std::string& message) = 0;
  // Delivers the other processes' messages to receive, in the order they
  // were sent, on a thread of the channel's own, until the channel goes.
  virtual void listen(std::function<void(const std::string&)> receive) = 0;
};

class Store {
public:
  virtual ~Store() = default;

  // The data store name (the file's base name without extension, fixed when
  // the store is created; "kelwell" for a store in memory).
  virtual const std::string& name() const = 0;
  virtual const std::string& path() const = 0;

  // A connection for reading; several may be out at once.
  virtual Lease leaseReader() = 0;
  // The writer connection; one lease at a time, the next waits.
  virtual Lease leaseWriter() = 0;

  // The channel to the other processes on the store; nullptr for an engine
  // that serves one process only (a SQLite file).
  virtual std::unique_ptr<StoreChannel> openChannel() { return nullptr; }
};

// Opens or creates the store at location and brings its schema up to date:
// a "postgresql://" (or "postgres://") connection URL names a PostgreSQL
// database, anything else a SQLite file (":memory:" for one held in memory).
// StoreException when it cannot be opened, is not a store, or was written by
// a newer service.
std::unique_ptr<Store> openStore(const std::string& location);

// Whether location names a PostgreSQL database rather than a SQLite file.
bool isPostgresLocation(const std::string& location);

// Where statements run: a Reader or a Transaction.
class Scope {
public:
  Connection& connection() { return *m_lease; }

protected:
  explicit Scope(Lease lease) : m_lease(std::move(lease)) {}
  Lease m_lease;
};

// A read on a connection of its own.
class Reader : public Scope {
public:
  explicit Reader(Store& store) : Scope(store.leaseReader()) {}
};

// One write: the writer connection and an open transaction, rolled back
// unless commit() succeeded.
class Transaction : public Scope {
public:
  Transaction(Store& store, std::string attempted);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit();

private:
  std::string m_attempted;
  bool m_open = false;
};

// A statement in use within a scope: bind, step, read columns.
class Statement {
public:
  Statement(Scope& scope, const std::string& sql, Caching caching);

  // What the statement is for, in failure messages.
  Statement& describe(const std::string& attempted);

  Statement& bind(int index, const std::string& value);
  Statement& bind(int index, long long value);
  Statement& bind(int index, double value);
  Statement& bind(int index, const std::optional<double>& value);
  Statement& bindNull(int index);
  Statement& bindBlob(int index, const void* data, std::size_t bytes);

  // Advances to the next row; false when there is none.
  bool step() { return m_cursor->step(); }
  // Runs a statement that returns no rows.
  void run();

  bool isNull(int column) const { return m_cursor->isNull(column); }
  std::string text(int column) const { return m_cursor->text(column); }
  long long integer(int column) const { return m_cursor->integer(column); }
  double real(int column) const { return m_cursor->real(column); }
  std::optional<double> optionalReal(int column) const;
  std::size_t blob(int column, void* into, std::size_t bytes) const {
    return m_cursor->blob(column, into, bytes);
  }

private:
  std::unique_ptr<Cursor> m_cursor;
};

} // namespace kelwelld

#endif
