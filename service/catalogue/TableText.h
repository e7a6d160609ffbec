// Reading the catalogue tables: tab-separated lines, '#' comments.
#ifndef KELWELLD_CATALOGUE_TABLETEXT_H
#define KELWELLD_CATALOGUE_TABLETEXT_H

#include <string>
#include <string_view>
#include <vector>

namespace kelwelld::table {

struct Line {
  unsigned number;                     // 1-based, for error texts
  std::vector<std::string> fields;     // split at tabs, blanks around each trimmed
};

// The data lines of a table: blank lines and lines starting with '#' are
// skipped; "\r\n" line ends are accepted.
std::vector<Line> lines(std::string_view text);

std::string trim(std::string_view text);

// "a,b, c" -> {"a", "b", "c"}; empty items dropped.
std::vector<std::string> splitList(std::string_view text);

} // namespace kelwelld::table

#endif
