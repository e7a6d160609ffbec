#include "entity/WellBoreLists.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <stdexcept>

#include "core/Time.h"

namespace kelwelld {

namespace {

const char* const membersTable = "wellbore_list_members";

} // namespace

// ------------------------------------------------------- record description

template <>
const RecordTable<WellBoreListRecord>& recordTable<WellBoreListRecord>() {
  using R = WellBoreListRecord;
  static const RecordTable<R> table{"wellbore_lists",
                                    "wellborelist",
                                    "storeless-wellborelist",
                                    "wellbore list",
                                    {reference("project_id", &R::projectId, "project", Written::OnCreate),
                                     text("name", &R::name),
                                     text("data_source", &R::dataSource),
                                     text("created", &R::created, Written::OnCreate),
                                     text("modified_attributes", &R::modifiedAttributes),
                                     text("modified_members", &R::modifiedMembers)}};
  return table;
}

const QueryTable& wellBoreListQuery() {
  static const QueryTable table{{"EpiWell_WellBoreList",
                                 {{"id", "('wellborelist:' || l.id)"},
                                  {"project.name", "p.name"},
                                  {"project.id", "('project:' || p.id)"},
                                  {"name", "l.name"},
                                  {"dataSource", "l.data_source"}}},
                                "wellbore_lists l JOIN projects p ON p.id = l.project_id",
                                "l.id",
                                "l.project_id",
                                "wellborelist"};
  return table;
}

// ------------------------------------------------------------ WellBoreLists

WellBoreLists::WellBoreLists(Entities& entities)
    : m_entities(entities), m_lists(entities.of<WellBoreListRecord>()) {}

void WellBoreLists::prepare(Entities& entities) {
  entities.of<WellBoreListRecord>();
  const std::string attempted = "Could not prepare the store for the wellbore list members";
  Transaction transaction(entities.store(), attempted);
  transaction.connection().ensureTable({membersTable,
                                        {{"list_id", ColumnType::Integer},
                                         {"position", ColumnType::Integer},
                                         {"wellbore_id", ColumnType::Integer}},
                                        {"list_id", "position"},
                                        {}},
                                       attempted);
  transaction.commit();
}

WellBoreListRecord WellBoreLists::create(WellBoreListRecord r, const std::vector<std::string>& bores, bool stored) {
  r.created = r.modifiedAttributes = r.modifiedMembers = nowUtc();
  if (!stored) {
    r.bores = bores;
    return m_lists.addStoreless(std::move(r));
  }
  r.bores.clear();
  const std::string attempted = "Could not create a wellbore list";
  Transaction transaction(m_entities.store(), attempted);
  m_lists.insert(transaction, r, attempted);
  const long long list = *m_lists.storedNumber(r.id);
  long long position = 0;
  for (const std::string& bore : bores) {
    Statement insert(transaction,
                     "INSERT INTO wellbore_list_members (list_id, position, wellbore_id) VALUES (?, ?, ?)",
                     Caching::Kept);
    insert.describe(attempted).bind(1, list).bind(2, position++).bind(3, *numberOf(bore, "wellbore")).run();
  }
  transaction.commit();
  return r;
}

std::optional<std::vector<std::string>> WellBoreLists::bores(const std::string& listId) {
  if (const auto list = m_lists.storedNumber(listId)) {
    Reader reader(m_entities.store());
    if (!m_lists.load(reader, *list)) return std::nullopt;
    Statement query(reader, "SELECT wellbore_id FROM wellbore_list_members WHERE list_id = ? ORDER BY position",
                    Caching::Kept);
    query.describe("Could not list the wellbores of " + listId).bind(1, *list);
    std::vector<std::string> ids;
    while (query.step()) ids.push_back(formatId("wellbore", query.integer(0)));
    return ids;
  }
  const auto record = m_lists.find(listId);
  if (!record) return std::nullopt;
  return record->bores;
}

Membership WellBoreLists::add(const std::string& listId, const std::string& boreId,
                              const std::function<void()>& committed) {
  return change(listId, boreId, true, committed);
}

Membership WellBoreLists::remove(const std::string& listId, const std::string& boreId,
                                 const std::function<void()>& committed) {
  return change(listId, boreId, false, committed);
}

Membership WellBoreLists::change(const std::string& listId, const std::string& boreId, bool adding,
                                 const std::function<void()>& committed) {
  const std::string now = nowUtc();
  if (const auto number = m_lists.storelessNumber(listId)) {
    // The lock held from the check to the report orders the reports as the changes.
    std::unique_lock<std::shared_mutex> lock(m_lists.storelessMutex());
    const auto found = m_lists.storeless().find(*number);
    if (found == m_lists.storeless().end()) return Membership::NoSuchList;
    std::vector<std::string>& bores = found->second.bores;
    const auto member = std::find(bores.begin(), bores.end(), boreId);
    if (adding && member != bores.end()) return Membership::AlreadyMember;
    if (!adding && member == bores.end()) return Membership::NotMember;
    if (adding)
      bores.push_back(boreId);
    else
      bores.erase(member);
    found->second.modifiedMembers = now;
    committed();
    return Membership::Changed;
  }
  const auto list = m_lists.storedNumber(listId);
  if (!list) return Membership::NoSuchList;
  const std::string attempted = std::string(adding ? "Could not add " : "Could not remove ") + boreId +
                                (adding ? " to " : " from ") + listId;
  // A stored list holds stored wellbores only: any other id is no member.
  const auto bore = numberOf(boreId, "wellbore");
  if (!bore && adding) throw std::logic_error("a wellbore that no stored list can hold");
  // The writer, held from the check to the report, orders the reports as the commits.
  Transaction transaction(m_entities.store(), attempted);
  if (!m_lists.load(transaction, *list)) return Membership::NoSuchList;
  long long position = -1;
  if (bore) {
    Statement query(transaction, "SELECT position FROM wellbore_list_members WHERE list_id = ? AND wellbore_id = ?",
                    Caching::Kept);
    query.describe(attempted).bind(1, *list).bind(2, *bore);
    if (query.step()) position = query.integer(0);
  }
  if (adding) {
    if (position >= 0) return Membership::AlreadyMember;
    Statement insert(transaction,
                     "INSERT INTO wellbore_list_members (list_id, position, wellbore_id) "
                     "SELECT ?, COALESCE(MAX(position) + 1, 0), ? FROM wellbore_list_members WHERE list_id = ?",
                     Caching::Kept);
    insert.describe(attempted).bind(1, *list).bind(2, *bore).bind(3, *list).run();
  } else {
    if (position < 0) return Membership::NotMember;
    Statement remove(transaction, "DELETE FROM wellbore_list_members WHERE list_id = ? AND position = ?",
                     Caching::Kept);
    remove.describe(attempted).bind(1, *list).bind(2, position).run();
  }
  Statement stamp(transaction, "UPDATE wellbore_lists SET modified_members = ? WHERE id = ?", Caching::Kept);
  stamp.describe(attempted).bind(1, now).bind(2, *list).run();
  transaction.commit();
  committed();
  return Membership::Changed;
}

} // namespace kelwelld
