// How much of a client's text the service keeps, set once at start: texts
// stored with entities (attribute texts, well and project names,
// identifiers, aliases; --max-text-kb), and the names it holds in memory for
// as long as a session or subscription lasts (user names, event type
// names; --max-name-bytes).
#ifndef KELWELLD_LIMITS_H
#define KELWELLD_LIMITS_H

#include <cstddef>
#include <optional>
#include <string>

namespace kelwelld {

void setTextLimits(std::size_t textBytes, std::size_t nameBytes);

// Why a stored text, or a name held in memory, is too long to keep, naming
// it as what ("The user name is ..."); nothing when it may be kept.
std::optional<std::string> textTooLong(const char* text, const std::string& what);
std::optional<std::string> nameTooLong(const char* name, const std::string& what);

// ValidationException with that reason when a stored text is too long.
void checkTextSize(const char* text, const std::string& what);

} // namespace kelwelld

#endif
