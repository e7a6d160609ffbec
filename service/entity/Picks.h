// Picks: markers interpreted on one wellbore. Their record description and
// query table, and the writes that reach past one record (creation under a
// wellbore, the wellbore's list of picks).
#ifndef KELWELLD_PICKS_H
#define KELWELLD_PICKS_H

#include <string>
#include <vector>

#include "entity/Entities.h"
#include "entity/RecordValues.h"
#include "entity/Wells.h"

namespace kelwelld {

struct PickRecord {
  std::string id;            // "pick:3" or "storeless-pick:1"
  std::string wellBoreId;
  std::string projectId;     // the wellbore's project; filled when read, never written
  std::string pickName;
  std::string pickType;      // set at creation, never changed
  std::string interpreter;
  std::string comment;
  std::string confidenceFactor;
  std::string pickDate;
  std::string pickSource;
  std::string pickColor;
  Quantity dipAngle;         // as written, in an angle unit
  Quantity dipAzimuth;
  // The pick value exactly as given: the number, its unit, the reference
  // kind (0 to 6) and the value type it came in (3 float, 4 double, ...).
  Quantity value;
  short reference = 0;
  short valueType = 3;
  std::string created;
  std::string modifiedAttributes;
  std::string modifiedValue;
};

template <>
const RecordTable<PickRecord>& recordTable<PickRecord>();

const QueryTable& pickQuery();

class Picks {
public:
  explicit Picks(Entities& entities);

  // Creates a stored pick (of a stored wellbore) or a storeless one (of any
  // wellbore); fills id, project and time stamps. FailedOperationException
  // when the wellbore does not exist or cannot hold a stored pick.
  PickRecord create(PickRecord record, bool stored);

  // The wellbore's picks: stored ones, then storeless ones, each in creation order.
  std::vector<std::string> picksOf(const std::string& wellBoreId);

private:
  Entities& m_entities;
  EntityRecords<PickRecord>& m_picks;
  EntityRecords<WellBoreRecord>& m_wellBores;
};

} // namespace kelwelld

#endif
