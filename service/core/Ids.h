// Entity ids: "<kind>:<number>", unique across the service ("well:12",
// "storeless-wellbore:3", "project:1"). They are the object ids of the
// entities' POAs and what Entity::getId returns.
#ifndef KELWELLD_IDS_H
#define KELWELLD_IDS_H

#include <optional>
#include <string>

namespace kelwelld {

enum class Kind { Project, Well, WellBore, StorelessWell, StorelessWellBore, Session };

struct EntityKey {
  Kind kind;
  long long number;
};

const char* kindPrefix(Kind kind);
std::string formatId(Kind kind, long long number);
// nullopt for a text that is not an id of this service.
std::optional<EntityKey> parseId(const std::string& id);
// The number of an id of the given kind; nullopt for anything else.
std::optional<long long> numberOf(const std::string& id, Kind kind);

inline bool isStored(Kind kind) {
  return kind == Kind::Project || kind == Kind::Well || kind == Kind::WellBore;
}

} // namespace kelwelld

#endif
