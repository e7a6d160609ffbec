#include "Ids.h"

#include <cctype>

namespace kelwelld {

const char* kindPrefix(Kind kind) {
  switch (kind) {
    case Kind::Project: return "project";
    case Kind::Well: return "well";
    case Kind::WellBore: return "wellbore";
    case Kind::StorelessWell: return "storeless-well";
    case Kind::StorelessWellBore: return "storeless-wellbore";
    case Kind::Session: return "session";
  }
  return "";
}

std::string formatId(Kind kind, long long number) {
  return std::string(kindPrefix(kind)) + ":" + std::to_string(number);
}

std::optional<EntityKey> parseId(const std::string& id) {
  const auto colon = id.find(':');
  if (colon == std::string::npos || colon + 1 >= id.size() || id.size() - colon > 19)
    return std::nullopt;
  // One entity, one id: "well:01" would reach well 1 under another name.
  if (id[colon + 1] == '0') return std::nullopt;
  long long number = 0;
  for (std::size_t i = colon + 1; i < id.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(id[i]))) return std::nullopt;
    number = number * 10 + (id[i] - '0');
  }
  if (number <= 0) return std::nullopt;
  const std::string prefix = id.substr(0, colon);
  for (Kind kind : {Kind::Project, Kind::Well, Kind::WellBore, Kind::StorelessWell,
                    Kind::StorelessWellBore, Kind::Session})
    if (prefix == kindPrefix(kind)) return EntityKey{kind, number};
  return std::nullopt;
}

std::optional<long long> numberOf(const std::string& id, Kind kind) {
  const auto key = parseId(id);
  if (!key || key->kind != kind) return std::nullopt;
  return key->number;
}

} // namespace kelwelld
