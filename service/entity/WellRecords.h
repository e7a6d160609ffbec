// What the service keeps of a project, a well and a wellbore, and how each
// is kept in the store (entity/Wells.cpp describes their tables).
#ifndef KELWELLD_WELLRECORDS_H
#define KELWELLD_WELLRECORDS_H

#include <string>
#include <vector>

#include "entity/RecordValues.h"

namespace kelwelld {

struct ProjectRecord {
  std::string id;   // "project:1"
  std::string name;
  std::string created;
};

// Time stamps ("YYYY-MM-DDThh:mm:ssZ") of the parts that getLastModified names.
struct WellRecord {
  std::string id;          // "well:12" or "storeless-well:3"
  std::string projectId;   // "project:1", "" when none
  std::string name;
  std::string identifierName;
  std::string identifierValue;
  std::string country;
  std::string county;
  std::string currentOperator;
  std::string field;
  std::string platformIdentifier;
  std::string stateOrProvince;
  std::string wellStatus;
  std::string spudDate;
  Quantity waterDepth;
  Location location;
  std::vector<Alias> aliases;
  std::string created;
  std::string modifiedAttributes;
  std::string modifiedAliases;
  std::string modifiedWellBores;
};

struct WellBoreRecord {
  std::string id;          // "wellbore:7" or "storeless-wellbore:2"
  std::string wellId;
  std::string projectId;   // the well's project; filled when read, never written
  std::string identifierName;
  std::string identifierValue;
  std::string boreStatus;
  std::string flowDirection;
  std::string fluidType;
  std::string showType;
  short totalDepthType = 0;
  short calcMethod = 0;
  short elevationDatum = 0;
  Quantity totalDepth;
  Quantity plugBackTotalDepth;
  Quantity elevation;
  std::string completionDate;
  std::vector<Alias> aliases;
  std::string created;
  std::string modifiedAttributes;
  std::string modifiedAliases;
  std::string modifiedPath;
};

} // namespace kelwelld

#endif
