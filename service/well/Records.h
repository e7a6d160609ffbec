// What the service keeps of a well and a wellbore, stored or storeless.
#ifndef KELWELLD_RECORDS_H
#define KELWELLD_RECORDS_H

#include <optional>
#include <string>
#include <vector>

namespace kelwelld {

// A number with the unit acronym it was written in ("" = no unit). A
// quantity never written has no value.
struct Quantity {
  std::optional<double> value;
  std::string unit;
};

// A surface location and the name of the system it was written in.
struct Location {
  bool set = false;
  std::string system;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

struct Alias {
  std::string name;
  std::string value;
  bool operator==(const Alias& other) const { return name == other.name && value == other.value; }
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
