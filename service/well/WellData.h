// Wells and wellbores, stored (SQLite) or storeless (held in memory for the
// life of the service). The id says which: "well:12" is stored,
// "storeless-well:3" is not. Every change runs as one unit: a stored change in
// one transaction, a storeless one under the data's lock; a change function
// that throws leaves the record as it was.
#ifndef KELWELLD_WELLDATA_H
#define KELWELLD_WELLDATA_H

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "../core/Ids.h"
#include "../core/Query.h"
#include "Records.h"

namespace kelwelld {

class Store;

class WellData {
public:
  explicit WellData(Store& store);

  // nullopt when there is no such well (or the id is not a well's).
  std::optional<WellRecord> well(const std::string& id);
  // Creates a stored well (project set) or a storeless one; fills id and the
  // time stamps. FailedOperationException when the stored well's project
  // does not exist.
  WellRecord createWell(WellRecord record, bool stored);
  // Applies change and saves; the saved record, or nullopt for no such well.
  std::optional<WellRecord> modifyWell(const std::string& id,
                                       const std::function<void(WellRecord&)>& change);
  // Stored wellbores first, then storeless ones, each in creation order.
  std::vector<std::string> wellBoresOf(const std::string& wellId);

  std::optional<WellBoreRecord> wellBore(const std::string& id);
  // The well must exist; a stored wellbore needs a stored well.
  // FailedOperationException otherwise. Touches the well's "wellbores" stamp.
  WellBoreRecord createWellBore(WellBoreRecord record, bool stored);
  std::optional<WellBoreRecord> modifyWellBore(const std::string& id,
                                               const std::function<void(WellBoreRecord&)>& change);

  // Ids of the stored entities of a project that satisfy a compiled where
  // clause, in creation order.
  std::vector<std::string> queryWells(long long project, const CompiledQuery& query);
  std::vector<std::string> queryWellBores(long long project, const CompiledQuery& query);
  static const QuerySchema& wellSchema();
  static const QuerySchema& wellBoreSchema();

private:
  // The id kinds of one sort of record, stored and storeless, and its name for messages.
  struct RecordKinds {
    Kind stored;
    Kind storeless;
    const char* what;
  };
  // The change of a storeless record under the data's lock, of a stored one
  // (load, change, save) in one transaction.
  template <class Record, class Load, class Save>
  std::optional<Record> modifyRecord(const std::string& id, const std::function<void(Record&)>& change,
                                     const RecordKinds& kinds, std::map<long long, Record>& storeless,
                                     Load load, Save save);

  std::optional<WellRecord> loadWell(long long number);
  void saveWell(long long number, const WellRecord& record, bool aliasesChanged);
  std::optional<WellBoreRecord> loadWellBore(long long number);
  void saveWellBore(long long number, const WellBoreRecord& record, bool aliasesChanged);
  std::string projectOfStoreless(const std::string& wellId);
  // Marks a stored well's wellbores as changed; its project id.
  // FailedOperationException when there is no such well. Inside a transaction.
  std::string touchStoredWell(long long number, const std::string& wellId, const std::string& now);

  Store& m_store;
  std::mutex m_mutex;   // the storeless records
  long long m_lastStorelessWell = 0;
  long long m_lastStorelessWellBore = 0;
  std::map<long long, WellRecord> m_storelessWells;
  std::map<long long, WellBoreRecord> m_storelessWellBores;
};

} // namespace kelwelld

#endif
