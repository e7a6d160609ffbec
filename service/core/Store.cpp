#include "Store.h"

#include <sqlite3.h>

#include "Corba.h"
#include "PrivateFiles.h"

namespace kelwelld {

namespace {

// Version 1: projects, wells and wellbores with their aliases. Ids are never
// reused (AUTOINCREMENT), so a saved reference to a deleted entity can never
// resolve to a newer one.
const char* const schemaV1 = R"sql(
CREATE TABLE store_info (
  key   TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
CREATE TABLE projects (
  id      INTEGER PRIMARY KEY AUTOINCREMENT,
  name    TEXT NOT NULL UNIQUE,
  created TEXT NOT NULL
);
CREATE TABLE wells (
  id                  INTEGER PRIMARY KEY AUTOINCREMENT,
  project_id          INTEGER NOT NULL REFERENCES projects(id),
  name                TEXT NOT NULL,
  identifier_name     TEXT NOT NULL,
  identifier_value    TEXT NOT NULL,
  country             TEXT NOT NULL DEFAULT '',
  county              TEXT NOT NULL DEFAULT '',
  current_operator    TEXT NOT NULL DEFAULT '',
  field               TEXT NOT NULL DEFAULT '',
  platform_identifier TEXT NOT NULL DEFAULT '',
  state_or_province   TEXT NOT NULL DEFAULT '',
  well_status         TEXT NOT NULL DEFAULT '',
  spud_date           TEXT NOT NULL DEFAULT '',
  water_depth_value   REAL,
  water_depth_unit    TEXT NOT NULL DEFAULT '',
  location_system     TEXT NOT NULL DEFAULT '',
  location_x          REAL,
  location_y          REAL,
  location_z          REAL,
  created             TEXT NOT NULL,
  modified_attributes TEXT NOT NULL,
  modified_aliases    TEXT NOT NULL,
  modified_wellbores  TEXT NOT NULL
);
CREATE INDEX wells_by_project ON wells(project_id, id);
CREATE TABLE well_aliases (
  well_id  INTEGER NOT NULL REFERENCES wells(id),
  position INTEGER NOT NULL,
  name     TEXT NOT NULL,
  value    TEXT NOT NULL,
  PRIMARY KEY (well_id, position)
);
CREATE TABLE wellbores (
  id                        INTEGER PRIMARY KEY AUTOINCREMENT,
  well_id                   INTEGER NOT NULL REFERENCES wells(id),
  identifier_name           TEXT NOT NULL,
  identifier_value          TEXT NOT NULL,
  bore_status               TEXT NOT NULL DEFAULT '',
  flow_direction            TEXT NOT NULL DEFAULT '',
  fluid_type                TEXT NOT NULL DEFAULT '',
  show_type                 TEXT NOT NULL DEFAULT '',
  total_depth_type          INTEGER NOT NULL DEFAULT 0,
  calc_method               INTEGER NOT NULL DEFAULT 0,
  elevation_datum           INTEGER NOT NULL DEFAULT 0,
  total_depth_value         REAL,
  total_depth_unit          TEXT NOT NULL DEFAULT '',
  plug_back_value           REAL,
  plug_back_unit            TEXT NOT NULL DEFAULT '',
  elevation_value           REAL,
  elevation_unit            TEXT NOT NULL DEFAULT '',
  completion_date           TEXT NOT NULL DEFAULT '',
  created                   TEXT NOT NULL,
  modified_attributes       TEXT NOT NULL,
  modified_aliases          TEXT NOT NULL,
  modified_path             TEXT NOT NULL
);
CREATE INDEX wellbores_by_well ON wellbores(well_id, id);
CREATE TABLE wellbore_aliases (
  wellbore_id INTEGER NOT NULL REFERENCES wellbores(id),
  position    INTEGER NOT NULL,
  name        TEXT NOT NULL,
  value       TEXT NOT NULL,
  PRIMARY KEY (wellbore_id, position)
);
)sql";

std::string baseName(const std::string& path) {
  if (path == ":memory:" || path.empty()) return "kelwell";
  std::string name = path.substr(path.find_last_of('/') + 1);
  const auto dot = name.find('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? "kelwell" : name;
}

} // namespace

Store::Store(const std::string& path) : m_path(path) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  createPrivateFileIfAbsent(path);
  if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
    const std::string detail = m_db ? sqlite3_errmsg(m_db) : "out of memory";
    sqlite3_close(m_db);
    m_db = nullptr;
    throwStore("Could not open the store " + quoted(path), detail);
  }
  try {
    sqlite3_extended_result_codes(m_db, 1);
    configure();
    migrate(baseName(path));
  } catch (...) {
    for (auto& entry : m_statements) sqlite3_finalize(entry.second);
    m_statements.clear();
    sqlite3_close(m_db);
    m_db = nullptr;
    throw;
  }
}

Store::~Store() {
  for (auto& entry : m_statements) sqlite3_finalize(entry.second);
  if (m_db) sqlite3_close(m_db);
}

void Store::fail(const std::string& attempted) const {
  throwStore(attempted, m_db ? sqlite3_errmsg(m_db) : "the store is closed");
}

sqlite3_stmt* Store::prepare(const char* sql) {
  auto found = m_statements.find(sql);
  if (found != m_statements.end()) return found->second;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
    fail("Could not prepare a statement of the store");
  m_statements.emplace(sql, stmt);
  return stmt;
}

void Store::execute(const char* sql, const std::string& attempted) {
  char* error = nullptr;
  if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string detail = error ? error : sqlite3_errmsg(m_db);
    sqlite3_free(error);
    throwStore(attempted, detail);
  }
}

void Store::configure() {
  sqlite3_busy_timeout(m_db, 5000);
  // journal_mode answers with a row; it is "memory" for a store in memory.
  execute("PRAGMA journal_mode=WAL", "Could not switch the store " + quoted(m_path) + " to WAL mode");
  execute("PRAGMA synchronous=FULL", "Could not configure the store " + quoted(m_path));
  execute("PRAGMA foreign_keys=ON", "Could not configure the store " + quoted(m_path));
}

void Store::migrate(const std::string& defaultName) {
  std::lock_guard<std::mutex> lock(m_mutex);
  int version = 0;
  {
    Statement query(*this, "PRAGMA user_version");
    query.describe("Could not read the schema version of the store " + quoted(m_path));
    if (query.step()) version = static_cast<int>(query.integer(0));
  }
  if (version > schemaVersion)
    throwStore("Could not open the store " + quoted(m_path),
               "its schema version " + std::to_string(version) +
                   " is newer than this service supports (" + std::to_string(schemaVersion) + ")");
  if (version == 0) {
    execute("BEGIN IMMEDIATE", "Could not create the schema of the store " + quoted(m_path));
    try {
      execute(schemaV1, "Could not create the schema of the store " + quoted(m_path));
      Statement name(*this, "INSERT INTO store_info(key, value) VALUES ('name', ?1)");
      name.describe("Could not name the store " + quoted(m_path)).bind(1, defaultName).run();
      execute("PRAGMA user_version=1", "Could not create the schema of the store " + quoted(m_path));
      execute("COMMIT", "Could not create the schema of the store " + quoted(m_path));
    } catch (...) {
      sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }
  Statement name(*this, "SELECT value FROM store_info WHERE key = 'name'");
  name.describe("Could not read the name of the store " + quoted(m_path));
  m_name = name.step() ? name.text(0) : defaultName;
}

// ------------------------------------------------------------------ Statement

Statement::Statement(Store& store, const char* sql)
    : m_store(store), m_stmt(store.prepare(sql)), m_attempted("Could not access the store") {}

Statement::Statement(Store& store, const std::string& sql)
    : m_store(store), m_stmt(nullptr), m_owned(true), m_attempted("Could not access the store") {
  if (sqlite3_prepare_v2(store.handle(), sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
    store.fail("Could not prepare a query of the store");
}

Statement::~Statement() {
  if (m_owned) {
    sqlite3_finalize(m_stmt);
    return;
  }
  sqlite3_reset(m_stmt);
  sqlite3_clear_bindings(m_stmt);
}

Statement& Statement::describe(std::string attempted) {
  m_attempted = std::move(attempted);
  return *this;
}

Statement& Statement::bind(int index, const std::string& value) {
  if (sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK)
    m_store.fail(m_attempted);
  return *this;
}

Statement& Statement::bind(int index, long long value) {
  if (sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK) m_store.fail(m_attempted);
  return *this;
}

Statement& Statement::bind(int index, double value) {
  if (sqlite3_bind_double(m_stmt, index, value) != SQLITE_OK) m_store.fail(m_attempted);
  return *this;
}

Statement& Statement::bind(int index, const std::optional<double>& value) {
  return value ? bind(index, *value) : bindNull(index);
}

Statement& Statement::bindNull(int index) {
  if (sqlite3_bind_null(m_stmt, index) != SQLITE_OK) m_store.fail(m_attempted);
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(m_stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  m_store.fail(m_attempted);
}

void Statement::run() {
  while (step()) {
  }
}

bool Statement::isNull(int column) const {
  return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::string Statement::text(int column) const {
  const auto* data = sqlite3_column_text(m_stmt, column);
  const int size = sqlite3_column_bytes(m_stmt, column);
  return data ? std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size))
              : std::string();
}

long long Statement::integer(int column) const {
  return sqlite3_column_int64(m_stmt, column);
}

double Statement::real(int column) const {
  return sqlite3_column_double(m_stmt, column);
}

std::optional<double> Statement::optionalReal(int column) const {
  if (isNull(column)) return std::nullopt;
  return real(column);
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Store& store, std::string attempted)
    : m_store(store), m_lock(store.mutex()), m_attempted(std::move(attempted)) {
  m_store.execute("BEGIN IMMEDIATE", m_attempted);
  m_open = true;
}

Transaction::~Transaction() {
  if (m_open) sqlite3_exec(m_store.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
  m_store.execute("COMMIT", m_attempted);
  m_open = false;
}

long long Transaction::lastInsertId() const {
  return sqlite3_last_insert_rowid(m_store.handle());
}

} // namespace kelwelld
