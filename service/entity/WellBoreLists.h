// Wellbore lists: their record description and query table, and the
// membership, kept in order. A stored list keeps its members in the table
// wellbore_list_members (one row per member, ordered by position), a
// storeless one in its record. Each membership change is one write.
#ifndef KELWELLD_WELLBORELISTS_H
#define KELWELLD_WELLBORELISTS_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "entity/Entities.h"
#include "entity/Wells.h"

namespace kelwelld {

struct WellBoreListRecord {
  std::string id;          // "wellborelist:3" or "storeless-wellborelist:1"
  std::string projectId;
  std::string name;
  std::string dataSource;
  std::string created;
  std::string modifiedAttributes;
  std::string modifiedMembers;
  // The members of a storeless list, in order; empty in a stored list's
  // record (WellBoreLists::bores reads those).
  std::vector<std::string> bores;
};

template <>
const RecordTable<WellBoreListRecord>& recordTable<WellBoreListRecord>();

const QueryTable& wellBoreListQuery();

// What a membership change came to.
enum class Membership { Changed, AlreadyMember, NotMember, NoSuchList };

class WellBoreLists {
public:
  explicit WellBoreLists(Entities& entities);

  // Makes the lists' tables when the store does not have them yet; the
  // servants call it when they are made, before any write is under way.
  static void prepare(Entities& entities);

  // Creates a stored list (stored wellbores only) or a storeless one with
  // these members, in this order; fills id and time stamps. The caller has
  // checked the project and the wellbores.
  WellBoreListRecord create(WellBoreListRecord record, const std::vector<std::string>& bores, bool stored);

  // The members in order; nullopt for no such list.
  std::optional<std::vector<std::string>> bores(const std::string& listId);

  // Adds the wellbore at the end of the list / removes it, in one write.
  // committed runs once the change is durable and before any other
  // membership change can commit, so that what it reports leaves in commit
  // order; it must not block.
  Membership add(const std::string& listId, const std::string& boreId, const std::function<void()>& committed);
  Membership remove(const std::string& listId, const std::string& boreId, const std::function<void()>& committed);

private:
  Membership change(const std::string& listId, const std::string& boreId, bool adding,
                    const std::function<void()>& committed);

  Entities& m_entities;
  EntityRecords<WellBoreListRecord>& m_lists;
};

} // namespace kelwelld

#endif
