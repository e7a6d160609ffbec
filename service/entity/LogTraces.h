// Log traces: their records, their query table, and their samples.
//
// A trace's samples are kept as written: index values in the trace's native
// index kind and index unit (floats, so that what a client wrote reads back
// bit for bit), and the trace values index-major (the values of index value
// i are values[i * elements] .. values[i * elements + elements - 1]). A stored
// trace keeps them in two sample series of the store ("index", "values"),
// written in the same transaction as the record; a storeless trace keeps them
// in memory beside its record.
#ifndef KELWELLD_LOGTRACES_H
#define KELWELLD_LOGTRACES_H

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "core/Query.h"
#include "entity/Entities.h"
#include "entity/Wells.h"

namespace kelwelld {

// Time stamps as in WellRecord.
struct LogTraceRecord {
  std::string id;          // "logtrace:4" or "storeless-logtrace:2"
  std::string boreId;      // "wellbore:7" or "storeless-wellbore:2"
  std::string projectId;   // the wellbore's well's project; filled when read, never written
  std::string traceName;
  std::string traceKind;
  std::string dataSource;
  std::string comment;
  std::string softSource;
  std::string user;
  std::string traceUnit;   // acronym of the trace values' unit; "" for none
  std::string indexUnit;   // acronym of the stored index values' unit
  double nullValue = 0.0;
  long long version = 0;   // incremented by each change of the samples
  long long elements = 1;  // trace values per index value
  short processState = 0;
  short nativeKind = 0;    // the IndexKind the index is stored in
  std::string created;
  std::string modifiedAttributes;
  std::string modifiedData;
};

template <>
const RecordTable<LogTraceRecord>& recordTable<LogTraceRecord>();

const QueryTable& logTraceQuery();

// What a read sees of a trace's samples: one consistent state (a stored
// trace's through one reader, a storeless trace's under its lock).
class SampleView {
public:
  virtual ~SampleView() = default;
  virtual std::size_t count() = 0;   // index values
  // Index values [first, first + n) into `into`.
  virtual void index(std::size_t first, std::size_t n, float* into) = 0;
  // The values of index values [first, first + n), index-major, into `into`.
  virtual void values(std::size_t first, std::size_t n, float* into) = 0;
};

// A write's samples, where they lie: index values in the trace's native kind
// and index unit, values index-major.
struct SampleBuffers {
  const float* index = nullptr;
  std::size_t count = 0;
  const float* values = nullptr;
  std::size_t valueCount = 0;
};

enum class SampleWrite { Replace, Append };

class LogTraces {
public:
  explicit LogTraces(Entities& entities);

  // Creates a trace with its first samples (validated first); fills id and
  // stamps. A stored trace needs a stored wellbore (FailedOperationException
  // otherwise). The samples' checks throw engine::EngineError.
  LogTraceRecord create(LogTraceRecord record, bool stored, const SampleBuffers& samples);

  // The wellbore's traces: stored ones in creation order, then storeless ones.
  std::vector<std::string> tracesOf(const std::string& boreId);

  // Runs read on one consistent view of the trace's samples. false when
  // there is no such trace.
  bool read(const std::string& id, const std::function<void(const LogTraceRecord&, SampleView&)>& read);

  // Replaces or appends samples (in the trace's native kind and index unit)
  // after they pass the engine's checks (engine::EngineError otherwise),
  // against the stored last index value when appending; increments the
  // version and stamps the data in the same write. A refused write changes
  // nothing. nullopt when there is no such trace.
  std::optional<LogTraceRecord> writeSamples(const std::string& id, SampleWrite how, const SampleBuffers& samples);
  // Removes every sample (the version counts it as a change).
  std::optional<LogTraceRecord> removeSamples(const std::string& id);

private:
  struct Memory {
    std::shared_mutex mutex;
    std::vector<float> index;
    std::vector<float> values;
  };
  std::shared_ptr<Memory> memoryOf(const std::string& id);

  Entities& m_entities;
  EntityRecords<LogTraceRecord>& m_traces;
  EntityRecords<WellBoreRecord>& m_bores;
  std::mutex m_memoryMutex;
  std::map<std::string, std::shared_ptr<Memory>> m_memory;   // storeless traces' samples
};

} // namespace kelwelld

#endif
