#include "entity/Velocities.h"

#include "core/RemoteErrors.h"
#include "core/Time.h"
#include "store/SampleChunks.h"

namespace kelwelld {

// ------------------------------------------------------- record description

template <>
const RecordTable<VelocityRecord>& recordTable<VelocityRecord>() {
  using R = VelocityRecord;
  static const RecordTable<R> table{
      "velocities",
      "velocity",
      "storeless-velocity",
      "velocity function",
      {reference("wellbore_id", &R::wellBoreId, "wellbore", Written::OnCreate),
       // The wellbore's project, read with the function and never written.
       reference("(SELECT w.project_id FROM wellbores b JOIN wells w ON w.id = b.well_id "
                 "WHERE b.id = velocities.wellbore_id)",
                 &R::projectId, "project", Written::Never),
       text("name", &R::name),
       text("data_source", &R::dataSource),
       text("comment", &R::comment),
       integer("checkshot", &R::checkshot),
       integer("is_default", &R::isDefault),
       quantity("datum", &R::datum),
       quantity("extend_shallow", &R::extendShallow),
       quantity("extend_deep", &R::extendDeep),
       text("created", &R::created, Written::OnCreate),
       text("modified_attributes", &R::modifiedAttributes),
       text("modified_samples", &R::modifiedSamples)}};
  return table;
}

const QueryTable& velocityQuery() {
  static const QueryTable table{{"EpiWell_WellVelocity",
                                 {{"id", "('velocity:' || v.id)"},
                                  {"wellBore.id", "('wellbore:' || b.id)"},
                                  {"well.id", "('well:' || w.id)"},
                                  {"project.name", "p.name"},
                                  {"project.id", "('project:' || p.id)"},
                                  {"name", "v.name"},
                                  {"dataSource", "v.data_source"},
                                  {"comment", "v.comment"},
                                  {"checkshot", "v.checkshot"}}},
                                "velocities v JOIN wellbores b ON b.id = v.wellbore_id "
                                "JOIN wells w ON w.id = b.well_id JOIN projects p ON p.id = w.project_id",
                                "v.id",
                                "w.project_id",
                                "velocity"};
  return table;
}

// ------------------------------------------------------------------ samples

namespace {

// The series of a stored function's samples, in sample chunks of floats.
const char* const seriesTwt = "twt";
const char* const seriesDepth = "depth";
const char* const seriesAnisotropy = "anisotropy";

std::vector<float> asFloats(const std::vector<double>& values) {
  return std::vector<float>(values.begin(), values.end());
}

std::vector<double> asDoubles(const std::vector<float>& values) {
  return std::vector<double>(values.begin(), values.end());
}

} // namespace

VelocitySamples Velocities::loadSamples(Scope& scope, const std::string& id) {
  VelocitySamples samples{asDoubles(SampleChunks(id, seriesTwt).readAll(scope)),
                          asDoubles(SampleChunks(id, seriesDepth).readAll(scope)),
                          asDoubles(SampleChunks(id, seriesAnisotropy).readAll(scope))};
  if (samples.depth.size() != samples.twt.size() || samples.anisotropy.size() != samples.twt.size())
    throwStore("Could not read the samples of " + id, "the stored series differ in length");
  return samples;
}

void Velocities::saveSamples(Transaction& transaction, const std::string& id, const VelocitySamples& samples) {
  const std::pair<const char*, const std::vector<double>*> series[] = {
      {seriesTwt, &samples.twt}, {seriesDepth, &samples.depth}, {seriesAnisotropy, &samples.anisotropy}};
  for (const auto& [name, values] : series) {
    const std::vector<float> floats = asFloats(*values);
    SampleChunks(id, name).write(transaction, floats.data(), floats.size());
  }
}

// --------------------------------------------------------------- Velocities

Velocities::Velocities(Entities& entities)
    : m_entities(entities), m_velocities(entities.of<VelocityRecord>()), m_wellBores(entities.of<WellBoreRecord>()) {}

std::optional<VelocityRecord> Velocities::load(const std::string& id) {
  if (const auto number = m_velocities.storedNumber(id)) {
    Reader reader(m_entities.store());
    auto record = m_velocities.load(reader, *number);
    if (record) record->samples = loadSamples(reader, id);
    return record;
  }
  return m_velocities.find(id);
}

std::optional<std::size_t> Velocities::sampleCount(const std::string& id) {
  if (m_velocities.storedNumber(id)) {
    if (!m_velocities.exists(id)) return std::nullopt;
    Reader reader(m_entities.store());
    return SampleChunks(id, seriesTwt).count(reader);
  }
  const auto record = m_velocities.find(id);
  if (!record) return std::nullopt;
  return record->samples.twt.size();
}

VelocityRecord Velocities::create(VelocityRecord r, bool stored) {
  const std::string now = nowUtc();
  r.created = r.modifiedAttributes = r.modifiedSamples = now;
  r.isDefault = 0;
  const auto storedBore = m_wellBores.storedNumber(r.wellBoreId);
  if (stored) {
    if (!storedBore)
      throwFailed("A stored velocity function needs a stored wellbore; " + r.wellBoreId + " is not one. ");
    const std::string attempted = "Could not create a velocity function of " + r.wellBoreId;
    Transaction transaction(m_entities.store(), attempted);
    {
      Statement query(transaction,
                      "SELECT w.project_id FROM wellbores b JOIN wells w ON w.id = b.well_id WHERE b.id = ?",
                      Caching::Kept);
      query.describe(attempted).bind(1, *storedBore);
      if (!query.step()) throwFailed("The wellbore " + r.wellBoreId + " does not exist. ");
      r.projectId = query.isNull(0) ? std::string() : formatId("project", query.integer(0));
    }
    m_velocities.insert(transaction, r, attempted);
    saveSamples(transaction, r.id, r.samples);
    transaction.commit();
    return r;
  }
  const auto bore = m_wellBores.find(r.wellBoreId);
  if (!bore) throwFailed("The wellbore " + r.wellBoreId + " does not exist. ");
  r.projectId = bore->projectId;
  return m_velocities.addStoreless(std::move(r));
}

std::optional<VelocityRecord> Velocities::modify(const std::string& id,
                                                 const std::function<void(VelocityRecord&)>& change) {
  if (m_velocities.storelessNumber(id)) return m_velocities.modify(id, change);
  const auto number = m_velocities.storedNumber(id);
  if (!number) return std::nullopt;
  Transaction transaction(m_entities.store(), "Could not change the velocity function " + id);
  auto record = m_velocities.load(transaction, *number);
  if (!record) return std::nullopt;
  record->samples = loadSamples(transaction, id);
  const VelocitySamples before = record->samples;
  change(*record);
  m_velocities.save(transaction, *number, *record, false);
  if (record->samples != before) saveSamples(transaction, id, record->samples);
  transaction.commit();
  return record;
}

std::vector<std::string> Velocities::velocitiesOf(const std::string& wellBoreId) {
  std::vector<std::string> ids;
  if (const auto number = m_wellBores.storedNumber(wellBoreId)) {
    Reader reader(m_entities.store());
    Statement query(reader, "SELECT id FROM velocities WHERE wellbore_id = ? ORDER BY id", Caching::Kept);
    query.describe("Could not list the velocity functions of " + wellBoreId).bind(1, *number);
    while (query.step()) ids.push_back(formatId(m_velocities.table().storedPrefix, query.integer(0)));
  }
  std::shared_lock<std::shared_mutex> lock(m_velocities.storelessMutex());
  for (const auto& entry : m_velocities.storeless())
    if (entry.second.wellBoreId == wellBoreId) ids.push_back(entry.second.id);
  return ids;
}

std::optional<std::string> Velocities::defaultOf(const std::string& wellBoreId) {
  if (const auto number = m_wellBores.storedNumber(wellBoreId)) {
    Reader reader(m_entities.store());
    Statement query(reader, "SELECT id FROM velocities WHERE wellbore_id = ? AND is_default = 1", Caching::Kept);
    query.describe("Could not read the default velocity function of " + wellBoreId).bind(1, *number);
    if (query.step()) return formatId(m_velocities.table().storedPrefix, query.integer(0));
  }
  std::shared_lock<std::shared_mutex> lock(m_velocities.storelessMutex());
  for (const auto& entry : m_velocities.storeless())
    if (entry.second.wellBoreId == wellBoreId && entry.second.isDefault) return entry.second.id;
  return std::nullopt;
}

void Velocities::setDefault(const std::string& wellBoreId, const std::string& velocityId) {
  if (!velocityId.empty()) {
    const auto owner = m_velocities.field(velocityId, &VelocityRecord::wellBoreId);
    if (!owner) throwValidation("The velocity function " + velocityId + " does not exist. ");
    if (*owner != wellBoreId)
      throwValidation("The velocity function " + velocityId + " belongs to the wellbore " + *owner + ", not to " +
                      wellBoreId + "; a wellbore's default velocity function must be one of its own. ");
  }
  // The stored flags change in one transaction, the storeless ones under
  // their lock taken inside it: a reader sees the old default or the new one.
  const std::string attempted = "Could not change the default velocity function of " + wellBoreId;
  std::optional<Transaction> transaction;
  if (const auto bore = m_wellBores.storedNumber(wellBoreId)) {
    transaction.emplace(m_entities.store(), attempted);
    Statement clear(*transaction, "UPDATE velocities SET is_default = 0 WHERE wellbore_id = ?", Caching::Kept);
    clear.describe(attempted).bind(1, *bore).run();
    if (const auto chosen = m_velocities.storedNumber(velocityId)) {
      Statement set(*transaction, "UPDATE velocities SET is_default = 1 WHERE id = ?", Caching::Kept);
      set.describe(attempted).bind(1, *chosen).run();
    }
  }
  std::unique_lock<std::shared_mutex> lock(m_velocities.storelessMutex());
  if (transaction) transaction->commit();
  for (auto& entry : m_velocities.storeless())
    if (entry.second.wellBoreId == wellBoreId) entry.second.isDefault = entry.second.id == velocityId ? 1 : 0;
}

} // namespace kelwelld
