// The value types that records are made of.
#ifndef KELWELLD_RECORDVALUES_H
#define KELWELLD_RECORDVALUES_H

#include <optional>
#include <string>

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

} // namespace kelwelld

#endif
