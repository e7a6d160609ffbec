#include "core/Ids.h"

#include <cctype>

namespace kelwelld {

std::string formatId(const std::string& prefix, long long number) {
  return prefix + ":" + std::to_string(number);
}

std::optional<SplitId> splitId(const std::string& id) {
  const auto colon = id.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= id.size() || id.size() - colon > 19)
    return std::nullopt;
  // One entity, one id: "well:01" would reach well 1 under another name.
  if (id[colon + 1] == '0') return std::nullopt;
  long long number = 0;
  for (std::size_t i = colon + 1; i < id.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(id[i]))) return std::nullopt;
    number = number * 10 + (id[i] - '0');
  }
  if (number <= 0) return std::nullopt;
  return SplitId{id.substr(0, colon), number};
}

std::optional<long long> numberOf(const std::string& id, const std::string& prefix) {
  const auto split = splitId(id);
  if (!split || split->prefix != prefix) return std::nullopt;
  return split->number;
}

} // namespace kelwelld
