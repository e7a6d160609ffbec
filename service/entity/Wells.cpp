#include "entity/Wells.h"

#include "core/RemoteErrors.h"
#include "core/Time.h"

namespace kelwelld {

// ------------------------------------------------------- record descriptions

template <>
const RecordTable<ProjectRecord>& recordTable<ProjectRecord>() {
  static const RecordTable<ProjectRecord> table{
      "projects", "project", nullptr, "project",
      {text("name", &ProjectRecord::name), text("created", &ProjectRecord::created, Written::OnCreate)}};
  return table;
}

template <>
const RecordTable<WellRecord>& recordTable<WellRecord>() {
  using R = WellRecord;
  static const RecordTable<R> table{"wells",
                                    "well",
                                    "storeless-well",
                                    "well",
                                    {reference("project_id", &R::projectId, "project", Written::OnCreate),
                                     text("name", &R::name),
                                     text("identifier_name", &R::identifierName),
                                     text("identifier_value", &R::identifierValue),
                                     text("country", &R::country),
                                     text("county", &R::county),
                                     text("current_operator", &R::currentOperator),
                                     text("field", &R::field),
                                     text("platform_identifier", &R::platformIdentifier),
                                     text("state_or_province", &R::stateOrProvince),
                                     text("well_status", &R::wellStatus),
                                     text("spud_date", &R::spudDate),
                                     quantity("water_depth", &R::waterDepth),
                                     location("location", &R::location),
                                     text("created", &R::created, Written::OnCreate),
                                     text("modified_attributes", &R::modifiedAttributes),
                                     text("modified_aliases", &R::modifiedAliases),
                                     text("modified_wellbores", &R::modifiedWellBores)},
                                    {"well_aliases", "well_id"}};
  return table;
}

template <>
const RecordTable<WellBoreRecord>& recordTable<WellBoreRecord>() {
  using R = WellBoreRecord;
  static const RecordTable<R> table{
      "wellbores",
      "wellbore",
      "storeless-wellbore",
      "wellbore",
      {reference("well_id", &R::wellId, "well", Written::OnCreate),
       // The well's project, read with the wellbore and never written.
       reference("(SELECT w.project_id FROM wells w WHERE w.id = wellbores.well_id)", &R::projectId, "project",
                 Written::Never),
       text("identifier_name", &R::identifierName),
       text("identifier_value", &R::identifierValue),
       text("bore_status", &R::boreStatus),
       text("flow_direction", &R::flowDirection),
       text("fluid_type", &R::fluidType),
       text("show_type", &R::showType),
       integer("total_depth_type", &R::totalDepthType),
       integer("calc_method", &R::calcMethod),
       integer("elevation_datum", &R::elevationDatum),
       quantity("total_depth", &R::totalDepth),
       quantity("plug_back", &R::plugBackTotalDepth),
       quantity("elevation", &R::elevation),
       text("completion_date", &R::completionDate),
       text("created", &R::created, Written::OnCreate),
       text("modified_attributes", &R::modifiedAttributes),
       text("modified_aliases", &R::modifiedAliases),
       text("modified_path", &R::modifiedPath)},
      {"wellbore_aliases", "wellbore_id"}};
  return table;
}

// -------------------------------------------------------------------- queries

const QueryTable& wellQuery() {
  static const QueryTable table{{"EpiWell_Well",
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
                                  {"spudDate", "w.spud_date"}}},
                                "wells w JOIN projects p ON p.id = w.project_id",
                                "w.id",
                                "w.project_id",
                                "well"};
  return table;
}

const QueryTable& wellBoreQuery() {
  static const QueryTable table{{"EpiWell_WellBore",
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
                                  {"completionDate", "b.completion_date"}}},
                                "wellbores b JOIN wells w ON w.id = b.well_id JOIN projects p ON p.id = w.project_id",
                                "b.id",
                                "w.project_id",
                                "wellbore"};
  return table;
}

std::vector<std::string> runQuery(Store& store, const QueryTable& table, long long project,
                                  const CompiledQuery& query) {
  std::string sql = "SELECT " + table.idColumn + " FROM " + table.from + " WHERE " + table.projectColumn + " = ?";
  if (!query.where.empty()) sql += " AND " + query.where;
  sql += " ORDER BY " + table.idColumn;
  Reader reader(store);
  // The text holds the caller's where clause: prepared for this call only.
  Statement statement(reader, sql, Caching::Once);
  statement.describe("Could not run the query");
  statement.bind(1, project);
  int index = 2;
  for (const std::string& value : query.values) statement.bind(index++, value);
  std::vector<std::string> ids;
  while (statement.step()) ids.push_back(formatId(table.idPrefix, statement.integer(0)));
  return ids;
}

// ---------------------------------------------------------------------- Wells

Wells::Wells(Entities& entities)
    : m_entities(entities), m_projects(entities.of<ProjectRecord>()), m_wells(entities.of<WellRecord>()),
      m_wellBores(entities.of<WellBoreRecord>()) {}

std::optional<std::string> Wells::projectNamed(const std::string& name) {
  Reader reader(m_entities.store());
  Statement query(reader, "SELECT id FROM projects WHERE name = ?", Caching::Kept);
  query.describe("Could not look up the project " + quoted(name)).bind(1, name);
  if (!query.step()) return std::nullopt;
  return formatId(m_projects.table().storedPrefix, query.integer(0));
}

ProjectRecord Wells::createProject(const std::string& name) {
  if (name.empty()) throwFailed("A project needs a name. ");
  const std::string attempted = "Could not create the project " + quoted(name);
  Transaction transaction(m_entities.store(), attempted);
  {
    Statement taken(transaction, "SELECT 1 FROM projects WHERE name = ?", Caching::Kept);
    taken.describe(attempted).bind(1, name);
    if (taken.step()) throwFailed("The project name " + quoted(name) + " is taken. ");
  }
  ProjectRecord record{"", name, nowUtc()};
  m_projects.insert(transaction, record, attempted);
  transaction.commit();
  return record;
}

std::vector<std::string> Wells::projectIds() {
  Reader reader(m_entities.store());
  Statement query(reader, "SELECT id FROM projects ORDER BY id", Caching::Kept);
  query.describe("Could not list the projects");
  std::vector<std::string> ids;
  while (query.step()) ids.push_back(formatId(m_projects.table().storedPrefix, query.integer(0)));
  return ids;
}

WellRecord Wells::createWell(WellRecord r, bool stored) {
  const std::string now = nowUtc();
  r.created = r.modifiedAttributes = r.modifiedAliases = r.modifiedWellBores = now;
  if (!stored) return m_wells.addStoreless(std::move(r));
  const auto project = m_projects.storedNumber(r.projectId);
  if (!project) throwFailed("A stored well needs a project of this service. ");
  Transaction transaction(m_entities.store(), "Could not create a well");
  {
    Statement exists(transaction, "SELECT 1 FROM projects WHERE id = ?", Caching::Kept);
    exists.describe("Could not create a well").bind(1, *project);
    if (!exists.step()) throwFailed("The project " + r.projectId + " does not exist. ");
  }
  m_wells.insert(transaction, r);
  transaction.commit();
  return r;
}

std::vector<std::string> Wells::wellBoresOf(const std::string& wellId) {
  std::vector<std::string> ids;
  if (const auto number = m_wells.storedNumber(wellId)) {
    Reader reader(m_entities.store());
    Statement query(reader, "SELECT id FROM wellbores WHERE well_id = ? ORDER BY id", Caching::Kept);
    query.describe("Could not list the wellbores of " + wellId).bind(1, *number);
    while (query.step()) ids.push_back(formatId(m_wellBores.table().storedPrefix, query.integer(0)));
  }
  std::shared_lock<std::shared_mutex> lock(m_wellBores.storelessMutex());
  for (const auto& entry : m_wellBores.storeless())
    if (entry.second.wellId == wellId) ids.push_back(entry.second.id);
  return ids;
}

std::string Wells::touchStoredWell(Transaction& transaction, long long number, const std::string& wellId,
                                   const std::string& now) {
  std::string project;
  {
    Statement query(transaction, "SELECT project_id FROM wells WHERE id = ?", Caching::Kept);
    query.describe("Could not create a wellbore of " + wellId).bind(1, number);
    if (!query.step()) throwFailed("The well " + wellId + " does not exist. ");
    project = formatId(m_projects.table().storedPrefix, query.integer(0));
  }
  Statement touch(transaction, "UPDATE wells SET modified_wellbores = ? WHERE id = ?", Caching::Kept);
  touch.describe("Could not create a wellbore of " + wellId).bind(1, now).bind(2, number).run();
  return project;
}

WellBoreRecord Wells::createWellBore(WellBoreRecord r, bool stored) {
  const std::string now = nowUtc();
  r.created = r.modifiedAttributes = r.modifiedAliases = r.modifiedPath = now;
  const auto storedWell = m_wells.storedNumber(r.wellId);
  const auto storelessWell = m_wells.storelessNumber(r.wellId);
  const std::string attempted = "Could not create a wellbore of " + r.wellId;

  if (stored) {
    if (!storedWell) throwFailed("A stored wellbore needs a stored well; " + r.wellId + " is not one. ");
    Transaction transaction(m_entities.store(), attempted);
    r.projectId = touchStoredWell(transaction, *storedWell, r.wellId, now);
    m_wellBores.insert(transaction, r, attempted);
    transaction.commit();
    return r;
  }

  if (storedWell) {
    Transaction transaction(m_entities.store(), attempted);
    r.projectId = touchStoredWell(transaction, *storedWell, r.wellId, now);
    transaction.commit();
  } else if (storelessWell) {
    std::unique_lock<std::shared_mutex> lock(m_wells.storelessMutex());
    const auto found = m_wells.storeless().find(*storelessWell);
    if (found == m_wells.storeless().end()) throwFailed("The well " + r.wellId + " does not exist. ");
    found->second.modifiedWellBores = now;
    r.projectId = found->second.projectId;
  } else {
    throwFailed("A wellbore needs a well of this service. ");
  }
  return m_wellBores.addStoreless(std::move(r));
}

} // namespace kelwelld
