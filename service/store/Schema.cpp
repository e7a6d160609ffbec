#include "store/Schema.h"

#include "core/RemoteErrors.h"
#include "core/Time.h"

namespace kelwelld {

namespace {

// Columns of one type, in order.
std::vector<TableDefinition::Column> columns(ColumnType type, std::initializer_list<const char*> names) {
  std::vector<TableDefinition::Column> list;
  for (const char* name : names) list.push_back({name, type});
  return list;
}

std::vector<TableDefinition::Column> operator+(std::vector<TableDefinition::Column> a,
                                               const std::vector<TableDefinition::Column>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TableDefinition aliasesOf(const char* table, const char* owner) {
  return {table,
          columns(ColumnType::Integer, {owner, "position"}) + columns(ColumnType::Text, {"name", "value"}),
          {owner, "position"},
          {}};
}

} // namespace

// The first tables are those of the first stores: the wells' and wellbores'
// are also described by their kinds (entity/Wells.cpp), which take them as
// they are; a test holds the two descriptions together.
const std::vector<Migration>& migrations() {
  using T = ColumnType;
  static const std::vector<Migration> list{
      {1,
       "the store's name, projects, wells and wellbores",
       {{"store_info", columns(T::Text, {"key", "value"}), {"key"}, {}},
        // A project's name is its key for clients: unique even when two
        // service processes create the same name at once.
        {"projects", columns(T::Text, {"name", "created"}), {}, {{"projects_by_name", {"name"}, true}}},
        {"wells",
         columns(T::Integer, {"project_id"}) +
             columns(T::Text, {"name", "identifier_name", "identifier_value", "country", "county",
                               "current_operator", "field", "platform_identifier", "state_or_province",
                               "well_status", "spud_date"}) +
             columns(T::Real, {"water_depth_value"}) + columns(T::Text, {"water_depth_unit", "location_system"}) +
             columns(T::Real, {"location_x", "location_y", "location_z"}) +
             columns(T::Text, {"created", "modified_attributes", "modified_aliases", "modified_wellbores"}),
         {},
         {{"wells_by_project", {"project_id", "id"}}}},
        aliasesOf("well_aliases", "well_id"),
        {"wellbores",
         columns(T::Integer, {"well_id"}) +
             columns(T::Text, {"identifier_name", "identifier_value", "bore_status", "flow_direction",
                               "fluid_type", "show_type"}) +
             columns(T::Integer, {"total_depth_type", "calc_method", "elevation_datum"}) +
             columns(T::Real, {"total_depth_value"}) + columns(T::Text, {"total_depth_unit"}) +
             columns(T::Real, {"plug_back_value"}) + columns(T::Text, {"plug_back_unit"}) +
             columns(T::Real, {"elevation_value"}) +
             columns(T::Text, {"elevation_unit", "completion_date", "created", "modified_attributes",
                               "modified_aliases", "modified_path"}),
         {},
         {{"wellbores_by_well", {"well_id", "id"}}}},
        aliasesOf("wellbore_aliases", "wellbore_id")}},
      // Sample data is stored as chunks of binary floats (native byte
      // order), never as a row per sample.
      {2,
       "sample chunks",
       {{"sample_chunks",
         columns(T::Text, {"owner_id", "series"}) +
             columns(T::Integer, {"chunk", "first_index", "sample_count"}) + columns(T::Blob, {"bytes"}),
         {},
         {{"sample_chunks_by_series", {"owner_id", "series", "chunk"}, true}}}}},
      // Range reads find the chunks that hold a range of sample positions.
      {3,
       "sample chunks by their first sample",
       {{"sample_chunks",
         columns(T::Text, {"owner_id", "series"}) +
             columns(T::Integer, {"chunk", "first_index", "sample_count"}) + columns(T::Blob, {"bytes"}),
         {},
         {{"sample_chunks_by_first", {"owner_id", "series", "first_index"}}}}}},
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
