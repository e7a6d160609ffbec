#include "TableText.h"

namespace kelwelld::table {

std::string trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(blanks);
  return std::string(text.substr(first, last - first + 1));
}

std::vector<Line> lines(std::string_view text) {
  std::vector<Line> result;
  unsigned number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (trim(line).empty() || line.front() == '#') {
      continue;
    }
    Line parsed{number, {}};
    std::size_t start = 0;
    for (;;) {
      const auto tab = line.find('\t', start);
      parsed.fields.push_back(trim(line.substr(start, tab == std::string_view::npos ? tab : tab - start)));
      if (tab == std::string_view::npos) {
        break;
      }
      start = tab + 1;
    }
    result.push_back(std::move(parsed));
  }
  return result;
}

std::vector<std::string> splitList(std::string_view text) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (;;) {
    const auto comma = text.find(',', start);
    std::string item = trim(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (!item.empty()) {
      items.push_back(std::move(item));
    }
    if (comma == std::string_view::npos) {
      break;
    }
    start = comma + 1;
  }
  return items;
}

} // namespace kelwelld::table
