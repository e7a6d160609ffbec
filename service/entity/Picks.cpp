#include "entity/Picks.h"

#include "core/RemoteErrors.h"
#include "core/Time.h"

namespace kelwelld {

template <>
const RecordTable<PickRecord>& recordTable<PickRecord>() {
  using R = PickRecord;
  static const RecordTable<R> table{
      "picks",
      "pick",
      "storeless-pick",
      "pick",
      {reference("wellbore_id", &R::wellBoreId, "wellbore", Written::OnCreate),
       // The wellbore's project, read with the pick and never written.
       reference("(SELECT w.project_id FROM wellbores b JOIN wells w ON w.id = b.well_id "
                 "WHERE b.id = picks.wellbore_id)",
                 &R::projectId, "project", Written::Never),
       text("pick_name", &R::pickName),
       text("pick_type", &R::pickType, Written::OnCreate),
       text("interpreter", &R::interpreter),
       text("comment", &R::comment),
       text("confidence_factor", &R::confidenceFactor),
       text("pick_date", &R::pickDate),
       text("pick_source", &R::pickSource),
       text("pick_color", &R::pickColor),
       quantity("dip_angle", &R::dipAngle),
       quantity("dip_azimuth", &R::dipAzimuth),
       quantity("value", &R::value),
       integer("reference", &R::reference),
       integer("value_type", &R::valueType),
       text("created", &R::created, Written::OnCreate),
       text("modified_attributes", &R::modifiedAttributes),
       text("modified_value", &R::modifiedValue)}};
  return table;
}

const QueryTable& pickQuery() {
  static const QueryTable table{{"EpiWell_WellPick",
                                 {{"id", "('pick:' || k.id)"},
                                  {"wellBore.id", "('wellbore:' || b.id)"},
                                  {"well.id", "('well:' || w.id)"},
                                  {"project.name", "p.name"},
                                  {"project.id", "('project:' || p.id)"},
                                  {"pickName", "k.pick_name"},
                                  {"pickType", "k.pick_type"},
                                  {"interpreter", "k.interpreter"},
                                  {"confidenceFactor", "k.confidence_factor"},
                                  {"pickSource", "k.pick_source"},
                                  {"pickDate", "k.pick_date"}}},
                                "picks k JOIN wellbores b ON b.id = k.wellbore_id "
                                "JOIN wells w ON w.id = b.well_id JOIN projects p ON p.id = w.project_id",
                                "k.id",
                                "w.project_id",
                                "pick"};
  return table;
}

Picks::Picks(Entities& entities)
    : m_entities(entities), m_picks(entities.of<PickRecord>()), m_wellBores(entities.of<WellBoreRecord>()) {}

PickRecord Picks::create(PickRecord r, bool stored) {
  r.created = r.modifiedAttributes = r.modifiedValue = nowUtc();
  const auto storedBore = m_wellBores.storedNumber(r.wellBoreId);
  if (stored) {
    if (!storedBore) throwFailed("A stored pick needs a stored wellbore; " + r.wellBoreId + " is not one. ");
    const std::string attempted = "Could not create a pick of " + r.wellBoreId;
    Transaction transaction(m_entities.store(), attempted);
    {
      Statement query(transaction,
                      "SELECT w.project_id FROM wellbores b JOIN wells w ON w.id = b.well_id WHERE b.id = ?",
                      Caching::Kept);
      query.describe(attempted).bind(1, *storedBore);
      if (!query.step()) throwFailed("The wellbore " + r.wellBoreId + " does not exist. ");
      r.projectId = query.isNull(0) ? std::string() : formatId("project", query.integer(0));
    }
    m_picks.insert(transaction, r, attempted);
    transaction.commit();
    return r;
  }
  const auto bore = m_wellBores.find(r.wellBoreId);
  if (!bore) throwFailed("The wellbore " + r.wellBoreId + " does not exist. ");
  r.projectId = bore->projectId;
  return m_picks.addStoreless(std::move(r));
}

std::vector<std::string> Picks::picksOf(const std::string& wellBoreId) {
  std::vector<std::string> ids;
  if (const auto number = m_wellBores.storedNumber(wellBoreId)) {
    Reader reader(m_entities.store());
    Statement query(reader, "SELECT id FROM picks WHERE wellbore_id = ? ORDER BY id", Caching::Kept);
    query.describe("Could not list the picks of " + wellBoreId).bind(1, *number);
    while (query.step()) ids.push_back(formatId(m_picks.table().storedPrefix, query.integer(0)));
  }
  std::shared_lock<std::shared_mutex> lock(m_picks.storelessMutex());
  for (const auto& entry : m_picks.storeless())
    if (entry.second.wellBoreId == wellBoreId) ids.push_back(entry.second.id);
  return ids;
}

} // namespace kelwelld
