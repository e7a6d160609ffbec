#include "store/Store.h"

#include "store/PostgresStore.h"
#include "store/SqliteStore.h"

namespace kelwelld {

namespace {

std::string columnList(const std::vector<std::string>& columns) {
  std::string list;
  for (const std::string& column : columns) list += (list.empty() ? "" : ", ") + column;
  return list;
}

} // namespace

std::vector<std::string> createTableStatements(const TableDefinition& table, const ColumnSpelling& spelling) {
  std::string sql = "CREATE TABLE IF NOT EXISTS " + table.name + " (";
  if (table.primaryKey.empty()) sql += std::string("id ") + spelling.generatedId + ", ";
  for (const TableDefinition::Column& column : table.columns) {
    sql += column.name + " ";
    switch (column.type) {
      case ColumnType::Text: sql += spelling.text; break;
      case ColumnType::Integer: sql += spelling.integer; break;
      case ColumnType::Real: sql += spelling.real; break;
      case ColumnType::Blob: sql += spelling.blob; break;
    }
    sql += ", ";
  }
  if (!table.primaryKey.empty()) sql += "PRIMARY KEY (" + columnList(table.primaryKey) + "), ";
  sql.erase(sql.size() - 2);
  std::vector<std::string> statements{sql + ")"};
  for (const TableDefinition::Index& index : table.indexes)
    statements.push_back(std::string(index.unique ? "CREATE UNIQUE INDEX" : "CREATE INDEX") + " IF NOT EXISTS " +
                         index.name + " ON " + table.name + "(" + columnList(index.columns) + ")");
  return statements;
}

const char* const conflictDetail =
    "another service process changed the same data at the same time; nothing was written and the write "
    "may be retried";

bool isConflict(const std::string& detail) { return detail.rfind(conflictDetail, 0) == 0; }

std::unique_ptr<Store> openStore(const std::string& location) {
  if (isPostgresLocation(location)) return std::make_unique<PostgresStore>(location);
  return std::make_unique<SqliteStore>(location);
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Store& store, std::string attempted)
    : Scope(store.leaseWriter()), m_attempted(std::move(attempted)) {
  connection().begin(m_attempted);
  m_open = true;
}

Transaction::~Transaction() {
  if (m_open) connection().rollback();
}

void Transaction::commit() {
  connection().commit(m_attempted);
  m_open = false;
}

// ------------------------------------------------------------------ Statement

Statement::Statement(Scope& scope, const std::string& sql, Caching caching)
    : m_cursor(scope.connection().prepare(sql, caching)) {}

Statement& Statement::describe(const std::string& attempted) {
  m_cursor->describe(attempted);
  return *this;
}

Statement& Statement::bind(int index, const std::string& value) {
  m_cursor->bindText(index, value);
  return *this;
}

Statement& Statement::bind(int index, long long value) {
  m_cursor->bindInteger(index, value);
  return *this;
}

Statement& Statement::bind(int index, double value) {
  m_cursor->bindReal(index, value);
  return *this;
}

Statement& Statement::bind(int index, const std::optional<double>& value) {
  return value ? bind(index, *value) : bindNull(index);
}

Statement& Statement::bindNull(int index) {
  m_cursor->bindNull(index);
  return *this;
}

Statement& Statement::bindBlob(int index, const void* data, std::size_t bytes) {
  m_cursor->bindBlob(index, data, bytes);
  return *this;
}

void Statement::run() {
  while (step()) {
  }
}

std::optional<double> Statement::optionalReal(int column) const {
  if (isNull(column)) return std::nullopt;
  return real(column);
}

} // namespace kelwelld
