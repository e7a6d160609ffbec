#include "WellData.h"

#include "../core/Corba.h"
#include "../core/Ids.h"
#include "../core/Store.h"
#include "../core/Time.h"

namespace kelwelld {

namespace {

const char* const selectWell =
    "SELECT project_id, name, identifier_name, identifier_value, country, county, "
    "current_operator, field, platform_identifier, state_or_province, well_status, spud_date, "
    "water_depth_value, water_depth_unit, location_system, location_x, location_y, location_z, "
    "created, modified_attributes, modified_aliases, modified_wellbores FROM wells WHERE id = ?1";

const char* const updateWell =
    "UPDATE wells SET name = ?2, identifier_name = ?3, identifier_value = ?4, country = ?5, "
    "county = ?6, current_operator = ?7, field = ?8, platform_identifier = ?9, "
    "state_or_province = ?10, well_status = ?11, spud_date = ?12, water_depth_value = ?13, "
    "water_depth_unit = ?14, location_system = ?15, location_x = ?16, location_y = ?17, "
    "location_z = ?18, modified_attributes = ?19, modified_aliases = ?20, "
    "modified_wellbores = ?21 WHERE id = ?1";

const char* const selectWellBore =
    "SELECT b.well_id, w.project_id, b.identifier_name, b.identifier_value, b.bore_status, "
    "b.flow_direction, b.fluid_type, b.show_type, b.total_depth_type, b.calc_method, "
    "b.elevation_datum, b.total_depth_value, b.total_depth_unit, b.plug_back_value, "
    "b.plug_back_unit, b.elevation_value, b.elevation_unit, b.completion_date, b.created, "
    "b.modified_attributes, b.modified_aliases, b.modified_path "
    "FROM wellbores b JOIN wells w ON w.id = b.well_id WHERE b.id = ?1";

const char* const updateWellBore =
    "UPDATE wellbores SET identifier_name = ?2, identifier_value = ?3, bore_status = ?4, "
    "flow_direction = ?5, fluid_type = ?6, show_type = ?7, total_depth_type = ?8, "
    "calc_method = ?9, elevation_datum = ?10, total_depth_value = ?11, total_depth_unit = ?12, "
    "plug_back_value = ?13, plug_back_unit = ?14, elevation_value = ?15, elevation_unit = ?16, "
    "completion_date = ?17, modified_attributes = ?18, modified_aliases = ?19, "
    "modified_path = ?20 WHERE id = ?1";

std::vector<Alias> loadAliases(Store& store, const char* sql, long long owner, const std::string& id) {
  std::vector<Alias> aliases;
  Statement query(store, sql);
  query.describe("Could not read the aliases of " + id).bind(1, owner);
  while (query.step()) aliases.push_back({query.text(0), query.text(1)});
  return aliases;
}

void saveAliases(Store& store, const char* removeSql, const char* insertSql, long long owner,
                 const std::vector<Alias>& aliases, const std::string& id) {
  Statement remove(store, removeSql);
  remove.describe("Could not replace the aliases of " + id).bind(1, owner).run();
  long long position = 0;
  for (const Alias& alias : aliases) {
    Statement insert(store, insertSql);
    insert.describe("Could not replace the aliases of " + id)
        .bind(1, owner)
        .bind(2, position++)
        .bind(3, alias.name)
        .bind(4, alias.value)
        .run();
  }
}

std::vector<std::string> runQuery(Store& store, const std::string& sql, long long project,
                                  const CompiledQuery& query, Kind kind) {
  ReadLock lock(store);
  Statement statement(store, sql);
  statement.describe("Could not run the query");
  statement.bind(1, project);
  int index = 2;
  for (const std::string& value : query.values) statement.bind(index++, value);
  std::vector<std::string> ids;
  while (statement.step()) ids.push_back(formatId(kind, statement.integer(0)));
  return ids;
}

} // namespace

WellData::WellData(Store& store) : m_store(store) {}

// ---------------------------------------------------------------------- wells

std::optional<WellRecord> WellData::loadWell(long long number) {
  const std::string id = formatId(Kind::Well, number);
  Statement query(m_store, selectWell);
  query.describe("Could not read the well " + id).bind(1, number);
  if (!query.step()) return std::nullopt;
  WellRecord r;
  r.id = id;
  r.projectId = formatId(Kind::Project, query.integer(0));
  r.name = query.text(1);
  r.identifierName = query.text(2);
  r.identifierValue = query.text(3);
  r.country = query.text(4);
  r.county = query.text(5);
  r.currentOperator = query.text(6);
  r.field = query.text(7);
  r.platformIdentifier = query.text(8);
  r.stateOrProvince = query.text(9);
  r.wellStatus = query.text(10);
  r.spudDate = query.text(11);
  r.waterDepth = {query.optionalReal(12), query.text(13)};
  if (!query.isNull(15)) {
    r.location.set = true;
    r.location.system = query.text(14);
    r.location.x = query.real(15);
    r.location.y = query.real(16);
    r.location.z = query.real(17);
  }
  r.created = query.text(18);
  r.modifiedAttributes = query.text(19);
  r.modifiedAliases = query.text(20);
  r.modifiedWellBores = query.text(21);
  r.aliases = loadAliases(m_store, "SELECT name, value FROM well_aliases WHERE well_id = ?1 ORDER BY position",
                          number, id);
  return r;
}

void WellData::saveWell(long long number, const WellRecord& r, bool aliasesChanged) {
  Statement update(m_store, updateWell);
  update.describe("Could not write the well " + r.id)
      .bind(1, number)
      .bind(2, r.name)
      .bind(3, r.identifierName)
      .bind(4, r.identifierValue)
      .bind(5, r.country)
      .bind(6, r.county)
      .bind(7, r.currentOperator)
      .bind(8, r.field)
      .bind(9, r.platformIdentifier)
      .bind(10, r.stateOrProvince)
      .bind(11, r.wellStatus)
      .bind(12, r.spudDate)
      .bind(13, r.waterDepth.value)
      .bind(14, r.waterDepth.unit)
      .bind(15, r.location.set ? r.location.system : std::string());
  if (r.location.set)
    update.bind(16, r.location.x).bind(17, r.location.y).bind(18, r.location.z);
  else
    update.bindNull(16).bindNull(17).bindNull(18);
  update.bind(19, r.modifiedAttributes).bind(20, r.modifiedAliases).bind(21, r.modifiedWellBores).run();
  if (aliasesChanged)
    saveAliases(m_store, "DELETE FROM well_aliases WHERE well_id = ?1",
                "INSERT INTO well_aliases(well_id, position, name, value) VALUES (?1, ?2, ?3, ?4)",
                number, r.aliases, r.id);
}

template <class Record, class Load, class Save>
std::optional<Record> WellData::modifyRecord(const std::string& id,
                                             const std::function<void(Record&)>& change,
                                             const RecordKinds& kinds,
                                             std::map<long long, Record>& storeless, Load load,
                                             Save save) {
  const auto key = parseId(id);
  if (!key) return std::nullopt;
  if (key->kind == kinds.storeless) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = storeless.find(key->number);
    if (found == storeless.end()) return std::nullopt;
    Record changed = found->second;
    change(changed);
    found->second = changed;
    return changed;
  }
  if (key->kind != kinds.stored) return std::nullopt;
  Transaction transaction(m_store, std::string("Could not change the ") + kinds.what + " " + id);
  auto record = load(key->number);
  if (!record) return std::nullopt;
  const std::vector<Alias> before = record->aliases;
  change(*record);
  save(key->number, *record, record->aliases != before);
  transaction.commit();
  return record;
}

std::optional<WellRecord> WellData::well(const std::string& id) {
  const auto key = parseId(id);
  if (!key) return std::nullopt;
  if (key->kind == Kind::Well) {
    ReadLock lock(m_store);
    return loadWell(key->number);
  }
  if (key->kind == Kind::StorelessWell) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_storelessWells.find(key->number);
    if (found == m_storelessWells.end()) return std::nullopt;
    return found->second;
  }
  return std::nullopt;
}

WellRecord WellData::createWell(WellRecord r, bool stored) {
  const std::string now = nowUtc();
  r.created = r.modifiedAttributes = r.modifiedAliases = r.modifiedWellBores = now;
  if (!stored) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const long long number = ++m_lastStorelessWell;
    r.id = formatId(Kind::StorelessWell, number);
    m_storelessWells.emplace(number, r);
    return r;
  }
  const auto project = numberOf(r.projectId, Kind::Project);
  if (!project) throwFailed("A stored well needs a project of this service. ");
  Transaction transaction(m_store, "Could not create a well");
  {
    Statement exists(m_store, "SELECT 1 FROM projects WHERE id = ?1");
    exists.describe("Could not create a well").bind(1, *project);
    if (!exists.step()) throwFailed("The project " + r.projectId + " does not exist. ");
  }
  Statement insert(m_store,
                   "INSERT INTO wells(project_id, name, identifier_name, identifier_value, created, "
                   "modified_attributes, modified_aliases, modified_wellbores) "
                   "VALUES (?1, ?2, ?3, ?4, ?5, ?5, ?5, ?5)");
  insert.describe("Could not create a well")
      .bind(1, *project)
      .bind(2, r.name)
      .bind(3, r.identifierName)
      .bind(4, r.identifierValue)
      .bind(5, now)
      .run();
  const long long number = transaction.lastInsertId();
  r.id = formatId(Kind::Well, number);
  saveWell(number, r, !r.aliases.empty());
  transaction.commit();
  return r;
}

std::optional<WellRecord> WellData::modifyWell(const std::string& id,
                                               const std::function<void(WellRecord&)>& change) {
  return modifyRecord(
      id, change, {Kind::Well, Kind::StorelessWell, "well"}, m_storelessWells,
      [this](long long number) { return loadWell(number); },
      [this](long long number, const WellRecord& r, bool aliasesChanged) { saveWell(number, r, aliasesChanged); });
}

std::vector<std::string> WellData::wellBoresOf(const std::string& wellId) {
  std::vector<std::string> ids;
  if (const auto number = numberOf(wellId, Kind::Well)) {
    ReadLock lock(m_store);
    Statement query(m_store, "SELECT id FROM wellbores WHERE well_id = ?1 ORDER BY id");
    query.describe("Could not list the wellbores of " + wellId).bind(1, *number);
    while (query.step()) ids.push_back(formatId(Kind::WellBore, query.integer(0)));
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  for (const auto& entry : m_storelessWellBores)
    if (entry.second.wellId == wellId) ids.push_back(entry.second.id);
  return ids;
}

// ------------------------------------------------------------------ wellbores

std::optional<WellBoreRecord> WellData::loadWellBore(long long number) {
  const std::string id = formatId(Kind::WellBore, number);
  Statement query(m_store, selectWellBore);
  query.describe("Could not read the wellbore " + id).bind(1, number);
  if (!query.step()) return std::nullopt;
  WellBoreRecord r;
  r.id = id;
  r.wellId = formatId(Kind::Well, query.integer(0));
  r.projectId = formatId(Kind::Project, query.integer(1));
  r.identifierName = query.text(2);
  r.identifierValue = query.text(3);
  r.boreStatus = query.text(4);
  r.flowDirection = query.text(5);
  r.fluidType = query.text(6);
  r.showType = query.text(7);
  r.totalDepthType = static_cast<short>(query.integer(8));
  r.calcMethod = static_cast<short>(query.integer(9));
  r.elevationDatum = static_cast<short>(query.integer(10));
  r.totalDepth = {query.optionalReal(11), query.text(12)};
  r.plugBackTotalDepth = {query.optionalReal(13), query.text(14)};
  r.elevation = {query.optionalReal(15), query.text(16)};
  r.completionDate = query.text(17);
  r.created = query.text(18);
  r.modifiedAttributes = query.text(19);
  r.modifiedAliases = query.text(20);
  r.modifiedPath = query.text(21);
  r.aliases = loadAliases(m_store,
                          "SELECT name, value FROM wellbore_aliases WHERE wellbore_id = ?1 ORDER BY position",
                          number, id);
  return r;
}

void WellData::saveWellBore(long long number, const WellBoreRecord& r, bool aliasesChanged) {
  Statement update(m_store, updateWellBore);
  update.describe("Could not write the wellbore " + r.id)
      .bind(1, number)
      .bind(2, r.identifierName)
      .bind(3, r.identifierValue)
      .bind(4, r.boreStatus)
      .bind(5, r.flowDirection)
      .bind(6, r.fluidType)
      .bind(7, r.showType)
      .bind(8, static_cast<long long>(r.totalDepthType))
      .bind(9, static_cast<long long>(r.calcMethod))
      .bind(10, static_cast<long long>(r.elevationDatum))
      .bind(11, r.totalDepth.value)
      .bind(12, r.totalDepth.unit)
      .bind(13, r.plugBackTotalDepth.value)
      .bind(14, r.plugBackTotalDepth.unit)
      .bind(15, r.elevation.value)
      .bind(16, r.elevation.unit)
      .bind(17, r.completionDate)
      .bind(18, r.modifiedAttributes)
      .bind(19, r.modifiedAliases)
      .bind(20, r.modifiedPath)
      .run();
  if (aliasesChanged)
    saveAliases(m_store, "DELETE FROM wellbore_aliases WHERE wellbore_id = ?1",
                "INSERT INTO wellbore_aliases(wellbore_id, position, name, value) VALUES (?1, ?2, ?3, ?4)",
                number, r.aliases, r.id);
}

std::string WellData::projectOfStoreless(const std::string& wellId) {
  // Caller holds m_mutex.
  if (const auto number = numberOf(wellId, Kind::StorelessWell)) {
    auto found = m_storelessWells.find(*number);
    return found == m_storelessWells.end() ? std::string() : found->second.projectId;
  }
  return std::string();
}

std::string WellData::touchStoredWell(long long number, const std::string& wellId,
                                     const std::string& now) {
  std::string project;
  {
    Statement query(m_store, "SELECT project_id FROM wells WHERE id = ?1");
    query.describe("Could not create a wellbore of " + wellId).bind(1, number);
    if (!query.step()) throwFailed("The well " + wellId + " does not exist. ");
    project = formatId(Kind::Project, query.integer(0));
  }
  Statement touch(m_store, "UPDATE wells SET modified_wellbores = ?2 WHERE id = ?1");
  touch.describe("Could not create a wellbore of " + wellId).bind(1, number).bind(2, now).run();
  return project;
}

std::optional<WellBoreRecord> WellData::wellBore(const std::string& id) {
  const auto key = parseId(id);
  if (!key) return std::nullopt;
  if (key->kind == Kind::WellBore) {
    ReadLock lock(m_store);
    return loadWellBore(key->number);
  }
  if (key->kind != Kind::StorelessWellBore) return std::nullopt;
  std::optional<WellBoreRecord> record;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_storelessWellBores.find(key->number);
    if (found == m_storelessWellBores.end()) return std::nullopt;
    record = found->second;
    record->projectId = projectOfStoreless(record->wellId);
  }
  if (const auto wellNumber = numberOf(record->wellId, Kind::Well)) {
    ReadLock lock(m_store);
    if (auto well = loadWell(*wellNumber)) record->projectId = well->projectId;
  }
  return record;
}

WellBoreRecord WellData::createWellBore(WellBoreRecord r, bool stored) {
  const std::string now = nowUtc();
  r.created = r.modifiedAttributes = r.modifiedAliases = r.modifiedPath = now;
  const auto storedWell = numberOf(r.wellId, Kind::Well);
  const auto storelessWell = numberOf(r.wellId, Kind::StorelessWell);

  if (stored) {
    if (!storedWell) throwFailed("A stored wellbore needs a stored well; " + r.wellId + " is not one. ");
    Transaction transaction(m_store, "Could not create a wellbore of " + r.wellId);
    r.projectId = touchStoredWell(*storedWell, r.wellId, now);
    Statement insert(m_store,
                     "INSERT INTO wellbores(well_id, identifier_name, identifier_value, created, "
                     "modified_attributes, modified_aliases, modified_path) "
                     "VALUES (?1, ?2, ?3, ?4, ?4, ?4, ?4)");
    insert.describe("Could not create a wellbore of " + r.wellId)
        .bind(1, *storedWell)
        .bind(2, r.identifierName)
        .bind(3, r.identifierValue)
        .bind(4, now)
        .run();
    const long long number = transaction.lastInsertId();
    r.id = formatId(Kind::WellBore, number);
    saveWellBore(number, r, !r.aliases.empty());
    transaction.commit();
    return r;
  }

  if (storedWell) {
    Transaction transaction(m_store, "Could not create a wellbore of " + r.wellId);
    r.projectId = touchStoredWell(*storedWell, r.wellId, now);
    transaction.commit();
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  if (storelessWell) {
    auto found = m_storelessWells.find(*storelessWell);
    if (found == m_storelessWells.end()) throwFailed("The well " + r.wellId + " does not exist. ");
    found->second.modifiedWellBores = now;
    r.projectId = found->second.projectId;
  } else if (!storedWell) {
    throwFailed("A wellbore needs a well of this service. ");
  }
  const long long number = ++m_lastStorelessWellBore;
  r.id = formatId(Kind::StorelessWellBore, number);
  m_storelessWellBores.emplace(number, r);
  return r;
}

std::optional<WellBoreRecord> WellData::modifyWellBore(
    const std::string& id, const std::function<void(WellBoreRecord&)>& change) {
  return modifyRecord(
      id, change, {Kind::WellBore, Kind::StorelessWellBore, "wellbore"}, m_storelessWellBores,
      [this](long long number) { return loadWellBore(number); },
      [this](long long number, const WellBoreRecord& r, bool aliasesChanged) {
        saveWellBore(number, r, aliasesChanged);
      });
}

// -------------------------------------------------------------------- queries

const QuerySchema& WellData::wellSchema() {
  static const QuerySchema schema{
      "EpiWell_Well",
      {{"id", "('well:' || w.id)"},
       {"name", "w.name"},
       {"project.name", "p.name"},
       {"project.id", "('project:' || p.id)"},
       {"identifier.name", "w.identifier_name"},
       {"identifier.value", "w.identifier_value"},
       {"country", "w.country"},
       {"county", "w.county"},
       {"currentOperator", "w.current_operator"},
       {"field", "w.field"},
       {"platformIdentifier", "w.platform_identifier"},
       {"stateOrProvince", "w.state_or_province"},
       {"wellStatus", "w.well_status"},
       {"spudDate", "w.spud_date"}}};
  return schema;
}

const QuerySchema& WellData::wellBoreSchema() {
  static const QuerySchema schema{
      "EpiWell_WellBore",
      {{"id", "('wellbore:' || b.id)"},
       {"well.id", "('well:' || w.id)"},
       {"well.name", "w.name"},
       {"project.name", "p.name"},
       {"project.id", "('project:' || p.id)"},
       {"identifier.name", "b.identifier_name"},
       {"identifier.value", "b.identifier_value"},
       {"boreStatus", "b.bore_status"},
       {"flowDirection", "b.flow_direction"},
       {"fluidType", "b.fluid_type"},
       {"showType", "b.show_type"},
       {"totalDepthType", "b.total_depth_type"},
       {"calcMethod", "b.calc_method"},
       {"elevationDatum", "b.elevation_datum"},
       {"completionDate", "b.completion_date"}}};
  return schema;
}

std::vector<std::string> WellData::queryWells(long long project, const CompiledQuery& query) {
  std::string sql =
      "SELECT w.id FROM wells w JOIN projects p ON p.id = w.project_id WHERE w.project_id = ?";
  if (!query.where.empty()) sql += " AND " + query.where;
  sql += " ORDER BY w.id";
  return runQuery(m_store, sql, project, query, Kind::Well);
}

std::vector<std::string> WellData::queryWellBores(long long project, const CompiledQuery& query) {
  std::string sql =
      "SELECT b.id FROM wellbores b JOIN wells w ON w.id = b.well_id "
      "JOIN projects p ON p.id = w.project_id WHERE w.project_id = ?";
  if (!query.where.empty()) sql += " AND " + query.where;
  sql += " ORDER BY b.id";
  return runQuery(m_store, sql, project, query, Kind::WellBore);
}

} // namespace kelwelld
