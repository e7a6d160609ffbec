// Entity ids: "<prefix>:<number>", unique across the service ("well:12",
// "storeless-wellbore:3", "project:1"). They are the object ids of the
// entities' POAs and what Entity::getId returns. The prefixes belong to the
// entity kinds (servants/EntityKinds.h); this is only the form.
#ifndef KELWELLD_IDS_H
#define KELWELLD_IDS_H

#include <optional>
#include <string>

namespace kelwelld {

struct SplitId {
  std::string prefix;
  long long number;
};

std::string formatId(const std::string& prefix, long long number);
// nullopt for a text not of the form (the number a positive decimal of at
// most 18 digits, written without leading zeros: one entity, one id).
std::optional<SplitId> splitId(const std::string& id);
// The number of an id with that prefix; nullopt for anything else.
std::optional<long long> numberOf(const std::string& id, const std::string& prefix);

} // namespace kelwelld

#endif
