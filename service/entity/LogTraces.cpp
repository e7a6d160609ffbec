#include "entity/LogTraces.h"

#include <cmath>
#include <limits>

#include "core/RemoteErrors.h"
#include "core/Time.h"
#include "engine/TraceSamples.h"
#include "store/SampleChunks.h"

namespace kelwelld {

namespace {

// Field kinds only traces need so far: a 64-bit count and a real number.
template <class Record>
Field<Record> wholeNumber(const char* column, long long Record::*member) {
  return {{{column, ColumnType::Integer}},
          Written::Always,
          member,
          [member](Statement& s, int& i, const Record& r) { s.bind(i++, r.*member); },
          [member](const Statement& s, int& i, Record& r) { r.*member = s.integer(i++); }};
}

template <class Record>
Field<Record> realNumber(const char* column, double Record::*member) {
  return {{{column, ColumnType::Real}},
          Written::Always,
          member,
          [member](Statement& s, int& i, const Record& r) { s.bind(i++, r.*member); },
          [member](const Statement& s, int& i, Record& r) { r.*member = s.real(i++); }};
}

constexpr const char* indexSeries = "index";
constexpr const char* valuesSeries = "values";

constexpr double none = std::numeric_limits<double>::quiet_NaN();

class StoredView : public SampleView {
public:
  explicit StoredView(Scope& scope, const std::string& id)
      : m_scope(scope), m_index(id, indexSeries), m_values(id, valuesSeries) {}
  void setElements(std::size_t elements) { m_elements = elements; }

  std::size_t count() override {
    if (!m_count) m_count = m_index.count(m_scope);
    return *m_count;
  }
  void index(std::size_t first, std::size_t n, float* into) override { m_index.read(m_scope, first, n, into); }
  void values(std::size_t first, std::size_t n, float* into) override {
    m_values.read(m_scope, first * m_elements, n * m_elements, into);
  }

private:
  Scope& m_scope;
  SampleChunks m_index, m_values;
  std::size_t m_elements = 1;
  std::optional<std::size_t> m_count;
};

class MemoryView : public SampleView {
public:
  MemoryView(const std::vector<float>& index, const std::vector<float>& values, std::size_t elements)
      : m_index(index), m_values(values), m_elements(elements) {}

  std::size_t count() override { return m_index.size(); }
  void index(std::size_t first, std::size_t n, float* into) override {
    std::copy(m_index.begin() + static_cast<std::ptrdiff_t>(first),
              m_index.begin() + static_cast<std::ptrdiff_t>(first + n), into);
  }
  void values(std::size_t first, std::size_t n, float* into) override {
    std::copy(m_values.begin() + static_cast<std::ptrdiff_t>(first * m_elements),
              m_values.begin() + static_cast<std::ptrdiff_t>((first + n) * m_elements), into);
  }

private:
  const std::vector<float>& m_index;
  const std::vector<float>& m_values;
  std::size_t m_elements;
};

void validate(const SampleBuffers& samples, std::size_t elements, double storedLast) {
  engine::validateWrite(storedLast, samples.index, samples.count, samples.values, samples.valueCount, elements);
}

} // namespace

// ------------------------------------------------------- record description

template <>
const RecordTable<LogTraceRecord>& recordTable<LogTraceRecord>() {
  using R = LogTraceRecord;
  static const RecordTable<R> table{
      "log_traces",
      "logtrace",
      "storeless-logtrace",
      "log trace",
      {reference("wellbore_id", &R::boreId, "wellbore", Written::OnCreate),
       // The project of the wellbore's well, read with the trace and never written.
       reference("(SELECT w.project_id FROM wellbores b JOIN wells w ON w.id = b.well_id "
                 "WHERE b.id = log_traces.wellbore_id)",
                 &R::projectId, "project", Written::Never),
       text("trace_name", &R::traceName),
       text("trace_kind", &R::traceKind),
       text("data_source", &R::dataSource),
       text("comment", &R::comment),
       text("soft_source", &R::softSource),
       text("user_name", &R::user),
       text("trace_unit", &R::traceUnit),
       text("index_unit", &R::indexUnit, Written::OnCreate),
       realNumber("null_value", &R::nullValue),
       wholeNumber("version", &R::version),
       wholeNumber("elements", &R::elements),
       integer("process_state", &R::processState),
       integer("native_kind", &R::nativeKind),
       text("created", &R::created, Written::OnCreate),
       text("modified_attributes", &R::modifiedAttributes),
       text("modified_data", &R::modifiedData)}};
  return table;
}

const QueryTable& logTraceQuery() {
  static const QueryTable table{
      {"EpiWell_WellLogTrace",
       {{"id", "('logtrace:' || t.id)"},
        {"name", "t.trace_name"},
        {"traceName", "t.trace_name"},
        {"traceKind", "t.trace_kind"},
        {"dataSource", "t.data_source"},
        {"wellbore.id", "('wellbore:' || b.id)"},
        {"well.id", "('well:' || w.id)"},
        {"well.name", "w.name"},
        {"project.name", "p.name"},
        {"project.id", "('project:' || p.id)"}}},
      "log_traces t JOIN wellbores b ON b.id = t.wellbore_id JOIN wells w ON w.id = b.well_id "
      "JOIN projects p ON p.id = w.project_id",
      "t.id",
      "w.project_id",
      "logtrace"};
  return table;
}

// ------------------------------------------------------------------ LogTraces

LogTraces::LogTraces(Entities& entities)
    : m_entities(entities), m_traces(entities.of<LogTraceRecord>()), m_bores(entities.of<WellBoreRecord>()) {}

std::shared_ptr<LogTraces::Memory> LogTraces::memoryOf(const std::string& id) {
  std::lock_guard<std::mutex> lock(m_memoryMutex);
  const auto found = m_memory.find(id);
  return found == m_memory.end() ? nullptr : found->second;
}

LogTraceRecord LogTraces::create(LogTraceRecord r, bool stored, const SampleBuffers& samples) {
  const std::string now = nowUtc();
  r.created = r.modifiedAttributes = r.modifiedData = now;
  r.version = 0;
  validate(samples, static_cast<std::size_t>(r.elements), none);

  if (stored) {
    const auto bore = m_bores.storedNumber(r.boreId);
    if (!bore) throwFailed("A stored log trace needs a stored wellbore; " + r.boreId + " is not one. ");
    const std::string attempted = "Could not create a log trace of " + r.boreId;
    Transaction transaction(m_entities.store(), attempted);
    {
      Statement query(transaction,
                      "SELECT w.project_id FROM wellbores b JOIN wells w ON w.id = b.well_id WHERE b.id = ?",
                      Caching::Kept);
      query.describe(attempted).bind(1, *bore);
      if (!query.step()) throwFailed("The wellbore " + r.boreId + " does not exist. ");
      r.projectId = formatId("project", query.integer(0));
    }
    m_traces.insert(transaction, r, attempted);
    SampleChunks(r.id, indexSeries).write(transaction, samples.index, samples.count);
    SampleChunks(r.id, valuesSeries).write(transaction, samples.values, samples.valueCount);
    transaction.commit();
    return r;
  }

  const auto bore = m_bores.find(r.boreId);
  if (!bore) throwFailed("A log trace needs a wellbore of this service. ");
  r.projectId = bore->projectId;
  auto memory = std::make_shared<Memory>();
  memory->index.assign(samples.index, samples.index + samples.count);
  memory->values.assign(samples.values, samples.values + samples.valueCount);
  LogTraceRecord created = m_traces.addStoreless(std::move(r));
  std::lock_guard<std::mutex> lock(m_memoryMutex);
  m_memory.emplace(created.id, std::move(memory));
  return created;
}

std::vector<std::string> LogTraces::tracesOf(const std::string& boreId) {
  std::vector<std::string> ids;
  if (const auto number = m_bores.storedNumber(boreId)) {
    Reader reader(m_entities.store());
    Statement query(reader, "SELECT id FROM log_traces WHERE wellbore_id = ? ORDER BY id", Caching::Kept);
    query.describe("Could not list the log traces of " + boreId).bind(1, *number);
    while (query.step()) ids.push_back(formatId(m_traces.table().storedPrefix, query.integer(0)));
  }
  std::shared_lock<std::shared_mutex> lock(m_traces.storelessMutex());
  for (const auto& entry : m_traces.storeless())
    if (entry.second.boreId == boreId) ids.push_back(entry.second.id);
  return ids;
}

bool LogTraces::read(const std::string& id,
                     const std::function<void(const LogTraceRecord&, SampleView&)>& read) {
  if (const auto number = m_traces.storedNumber(id)) {
    Reader reader(m_entities.store());
    const auto record = m_traces.load(reader, *number);
    if (!record) return false;
    StoredView view(reader, id);
    view.setElements(static_cast<std::size_t>(record->elements));
    read(*record, view);
    return true;
  }
  const auto memory = memoryOf(id);
  if (!memory) return false;
  std::shared_lock<std::shared_mutex> lock(memory->mutex);
  const auto record = m_traces.find(id);
  if (!record) return false;
  MemoryView view(memory->index, memory->values, static_cast<std::size_t>(record->elements));
  read(*record, view);
  return true;
}

std::optional<LogTraceRecord> LogTraces::writeSamples(const std::string& id, SampleWrite how,
                                                      const SampleBuffers& samples) {
  const std::string now = nowUtc();
  if (const auto number = m_traces.storedNumber(id)) {
    Transaction transaction(m_entities.store(), "Could not write the samples of " + id);
    auto record = m_traces.load(transaction, *number);
    if (!record) return std::nullopt;
    const SampleChunks index(id, indexSeries), values(id, valuesSeries);
    double storedLast = none;
    if (how == SampleWrite::Append) {
      const std::size_t stored = index.count(transaction);
      if (stored > 0) {
        float last = 0.0f;
        index.read(transaction, stored - 1, 1, &last);
        storedLast = last;
      }
    }
    validate(samples, static_cast<std::size_t>(record->elements), storedLast);
    if (how == SampleWrite::Append) {
      index.append(transaction, samples.index, samples.count);
      values.append(transaction, samples.values, samples.valueCount);
    } else {
      index.write(transaction, samples.index, samples.count);
      values.write(transaction, samples.values, samples.valueCount);
    }
    ++record->version;
    record->modifiedData = now;
    m_traces.save(transaction, *number, *record, false);
    transaction.commit();
    return record;
  }

  const auto memory = memoryOf(id);
  if (!memory) return std::nullopt;
  std::unique_lock<std::shared_mutex> lock(memory->mutex);
  const auto current = m_traces.find(id);
  if (!current) return std::nullopt;
  const double storedLast =
      how == SampleWrite::Append && !memory->index.empty() ? memory->index.back() : none;
  validate(samples, static_cast<std::size_t>(current->elements), storedLast);
  // Room for the new samples is made before anything changes: a failed
  // allocation leaves the trace as it was.
  std::vector<float> index, values;
  if (how == SampleWrite::Append) {
    memory->index.reserve(memory->index.size() + samples.count);
    memory->values.reserve(memory->values.size() + samples.valueCount);
  } else {
    index.assign(samples.index, samples.index + samples.count);
    values.assign(samples.values, samples.values + samples.valueCount);
  }
  auto record = m_traces.modify(id, [&](LogTraceRecord& r) {
    ++r.version;
    r.modifiedData = now;
  });
  if (!record) return std::nullopt;
  if (how == SampleWrite::Append) {
    memory->index.insert(memory->index.end(), samples.index, samples.index + samples.count);
    memory->values.insert(memory->values.end(), samples.values, samples.values + samples.valueCount);
  } else {
    memory->index.swap(index);
    memory->values.swap(values);
  }
  return record;
}

std::optional<LogTraceRecord> LogTraces::removeSamples(const std::string& id) {
  return writeSamples(id, SampleWrite::Replace, SampleBuffers{});
}

} // namespace kelwelld
