#include "store/Schema.h"

#include "core/RemoteErrors.h"
#include "core/Time.h"

namespace kelwelld {

const std::vector<Migration>& migrations() {
  static const std::vector<Migration> list{
      {1,
       "the store's name and its projects",
       {{"store_info", {{"key", ColumnType::Text}, {"value", ColumnType::Text}}, {"key"}, {}},
        // A project's name is its key for clients: unique even when two
        // service processes create the same name at once.
        {"projects",
         {{"name", ColumnType::Text}, {"created", ColumnType::Text}},
         {},
         {{"projects_by_name", {"name"}, true}}}}},
      // Sample data is stored as chunks of binary floats (native byte
      // order), never as a row per sample.
      {2,
       "sample chunks",
       {{"sample_chunks",
         {{"owner_id", ColumnType::Text},
          {"series", ColumnType::Text},
          {"chunk", ColumnType::Integer},
          {"first_index", ColumnType::Integer},
          {"sample_count", ColumnType::Integer},
          {"bytes", ColumnType::Blob}},
         {},
         {{"sample_chunks_by_series", {"owner_id", "series", "chunk"}, true}}}}},
  };
  return list;
}

namespace {

const TableDefinition migrationsTable{
    "schema_migrations", {{"number", ColumnType::Integer}, {"applied", ColumnType::Text}}, {"number"}, {}};

} // namespace

std::string migrateStore(Connection& writer, const std::string& shown, const std::string& defaultName) {
  const std::string attempted = "Could not create the schema of the store " + quoted(shown);
  const int latest = migrations().back().number;
  writer.beginSchemaChange(attempted);
  try {
    writer.ensureTable(migrationsTable, attempted);
    int applied = 0;
    {
      auto query = writer.prepare("SELECT COALESCE(MAX(number), 0) FROM schema_migrations", Caching::Once);
      query->describe("Could not read the schema version of the store " + quoted(shown));
      if (query->step()) applied = static_cast<int>(query->integer(0));
    }
    if (applied > latest)
      throwStore("Could not open the store " + quoted(shown),
                 "its schema version " + std::to_string(applied) + " is newer than this service supports (" +
                     std::to_string(latest) + ")");
    for (const Migration& migration : migrations()) {
      if (migration.number <= applied) continue;
      const std::string applying = attempted + " (" + migration.what + ")";
      for (const TableDefinition& table : migration.tables) writer.ensureTable(table, applying);
      auto record = writer.prepare("INSERT INTO schema_migrations(number, applied) VALUES (?, ?)", Caching::Once);
      record->describe(applying);
      record->bindInteger(1, migration.number);
      record->bindText(2, nowUtc());
      while (record->step()) {
      }
    }
    std::string name = defaultName;
    {
      auto query = writer.prepare("SELECT value FROM store_info WHERE key = 'name'", Caching::Once);
      query->describe("Could not read the name of the store " + quoted(shown));
      if (query->step()) name = query->text(0);
    }
    if (name == defaultName) {
      auto insert = writer.prepare(
          "INSERT INTO store_info(key, value) SELECT 'name', ? WHERE NOT EXISTS "
          "(SELECT 1 FROM store_info WHERE key = 'name')",
          Caching::Once);
      insert->describe("Could not name the store " + quoted(shown));
      insert->bindText(1, defaultName);
      while (insert->step()) {
      }
    }
    writer.commit(attempted);
    return name;
  } catch (...) {
    writer.rollback();
    throw;
  }
}

} // namespace kelwelld
