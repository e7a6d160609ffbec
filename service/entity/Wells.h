// Projects, wells and wellbores: their record descriptions and query tables,
// and the writes that reach past one record (a wellbore touches its well; a
// stored well needs its project). Everything else about their records goes
// through EntityRecords (Entities::of<Record>()).
#ifndef KELWELLD_WELLS_H
#define KELWELLD_WELLS_H

#include <optional>
#include <string>
#include <vector>

#include "core/Query.h"
#include "entity/Entities.h"
#include "entity/WellRecords.h"

namespace kelwelld {

template <>
const RecordTable<ProjectRecord>& recordTable<ProjectRecord>();
template <>
const RecordTable<WellRecord>& recordTable<WellRecord>();
template <>
const RecordTable<WellBoreRecord>& recordTable<WellBoreRecord>();

// What Project::executeQuery needs of a kind: the paths a where clause may
// name, and the rows they are read from.
struct QueryTable {
  QuerySchema schema;
  std::string from;            // "wells w JOIN projects p ON p.id = w.project_id"
  std::string idColumn;        // "w.id"
  std::string projectColumn;   // "w.project_id"
  const char* idPrefix;        // "well"
};

const QueryTable& wellQuery();
const QueryTable& wellBoreQuery();

// Ids of the stored entities of a project that satisfy a compiled where
// clause, in creation order.
std::vector<std::string> runQuery(Store& store, const QueryTable& table, long long project,
                                  const CompiledQuery& query);

class Wells {
public:
  explicit Wells(Entities& entities);

  // The project's id; nullopt when no project has that name.
  std::optional<std::string> projectNamed(const std::string& name);
  // FailedOperationException when the name is empty or taken.
  ProjectRecord createProject(const std::string& name);
  std::vector<std::string> projectIds();

  // Shorthands of Entities::of<WellRecord>().
  std::optional<WellRecord> well(const std::string& id) { return m_wells.find(id); }
  std::optional<WellRecord> modifyWell(const std::string& id, const std::function<void(WellRecord&)>& change) {
    return m_wells.modify(id, change);
  }
  // Creates a stored well (project set) or a storeless one; fills id and the
  // time stamps. FailedOperationException when the stored well's project
  // does not exist.
  WellRecord createWell(WellRecord record, bool stored);
  // Stored wellbores first, then storeless ones, each in creation order.
  std::vector<std::string> wellBoresOf(const std::string& wellId);

  // The well must exist; a stored wellbore needs a stored well.
  // FailedOperationException otherwise. Touches the well's "wellbores" stamp.
  WellBoreRecord createWellBore(WellBoreRecord record, bool stored);

private:
  // Marks a stored well's wellbores as changed; its project id.
  // FailedOperationException when there is no such well.
  std::string touchStoredWell(Transaction& transaction, long long number, const std::string& wellId,
                              const std::string& now);

  Entities& m_entities;
  EntityRecords<ProjectRecord>& m_projects;
  EntityRecords<WellRecord>& m_wells;
  EntityRecords<WellBoreRecord>& m_wellBores;
};

} // namespace kelwelld

#endif
