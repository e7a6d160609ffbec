#include "SurveyImport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <sstream>

#include "Command.h"
#include "kel_Exception.h"
#include "kel_FloatQuantity.h"
#include "kel_Unit.h"

namespace kelwell::cmd {
namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\"");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t\"") - first + 1);
}

std::vector<std::string> splitFields(const std::string& line, char delimiter) {
  std::vector<std::string> fields;
  if (delimiter == ' ') {
    std::istringstream in(line);
    for (std::string field; in >> field;) fields.push_back(field);
  } else {
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, delimiter)) fields.push_back(trim(field));
  }
  return fields;
}

bool parseNumber(const std::string& field, double& value) {
  if (field.empty()) return false;
  char* end = nullptr;
  value = std::strtod(field.c_str(), &end);
  return *end == '\0' && std::isfinite(value);
}

// The column a heading names: exact heading, the heading's first word, or a known long form.
long columnOf(const std::vector<std::string>& headings, const std::string& wanted) {
  if (!wanted.empty() && std::all_of(wanted.begin(), wanted.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return std::stol(wanted) - 1;
  }
  const std::string w = lower(wanted);
  for (std::size_t i = 0; i < headings.size(); ++i) {
    const std::string h = lower(trim(headings[i]));
    const std::string word = h.substr(0, h.find_first_of(" (["));
    if (h == w || word == w) return static_cast<long>(i);
  }
  const std::string longForm = w == "md" ? "measured depth" : w == "inc" ? "incl" : w == "azi" ? "azim" : "";
  for (std::size_t i = 0; !longForm.empty() && i < headings.size(); ++i) {
    if (lower(headings[i]).rfind(longForm, 0) == 0) return static_cast<long>(i);
  }
  return -1;
}

// "Measured Depth ( ft )" -> "ft"; "MD[m]" -> "m".
std::string unitInHeading(const std::string& heading) {
  const auto open = heading.find_first_of("([");
  if (open == std::string::npos) return "";
  const auto close = heading.find_first_of(")]", open);
  return trim(heading.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1));
}

}  // namespace

SurveyTable readSurvey(const std::string& path, const std::string& columns) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CommandError(kRefused, path + ": cannot be read");
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string all = buffer.str();
  for (char& c : all)
    if (c == '\r') c = '\n';  // \r\n leaves blank lines, which are skipped

  std::vector<std::string> wanted = {"MD", "INC", "AZI"};
  if (!columns.empty()) {
    wanted = splitFields(columns, ',');
    if (wanted.size() != 3) throw CommandError(kUsage, "--columns names three columns: MD,INC,AZI");
  }
  SurveyTable table;
  std::vector<std::string> headings;
  long at[3] = {0, 1, 2};
  bool located = false;
  char delimiter = 0;
  std::size_t lineNumber = 0;
  std::istringstream lines(all);
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;  // counts \r\n as two lines only where \r\n is written; good enough for a CR-only file
    const std::string content = trim(line.substr(0, line.find('#')));
    if (content.empty()) continue;
    if (!delimiter) delimiter = content.find(',') != std::string::npos ? ',' : content.find(';') != std::string::npos ? ';' : ' ';
    const std::vector<std::string> fields = splitFields(content, delimiter);
    double probe = 0;
    if (!located && !parseNumber(fields.front(), probe)) {
      headings = fields;
      for (int k = 0; k < 3; ++k) {
        at[k] = columnOf(headings, wanted[static_cast<std::size_t>(k)]);
        if (at[k] < 0) {
          throw CommandError(kRefused, path + ":" + std::to_string(lineNumber) + ": no column \"" +
                                           wanted[static_cast<std::size_t>(k)] + "\" among the headings (use --columns)");
        }
      }
      table.mdUnit = unitInHeading(headings[static_cast<std::size_t>(at[0])]);
      located = true;
      continue;
    }
    if (!located) {
      for (int k = 0; k < 3 && !columns.empty(); ++k) at[k] = columnOf({}, wanted[static_cast<std::size_t>(k)]);
      if (!columns.empty() && (at[0] < 0 || at[1] < 0 || at[2] < 0)) {
        throw CommandError(kUsage, "the table has no headings: --columns gives column numbers (1,2,3)");
      }
      located = true;
    }
    double values[3];
    for (int k = 0; k < 3; ++k) {
      const auto column = static_cast<std::size_t>(at[k]);
      if (column >= fields.size() || !parseNumber(fields[column], values[k])) {
        throw CommandError(kRefused, path + ":" + std::to_string(lineNumber) + ": column " + std::to_string(column + 1) +
                                         " is not a number (\"" + (column < fields.size() ? fields[column] : "") + "\")");
      }
    }
    table.md.push_back(values[0]);
    table.inclination.push_back(values[1]);
    table.azimuth.push_back(values[2]);
  }
  if (table.md.empty()) throw CommandError(kRefused, path + ": no stations");
  return table;
}

const std::vector<std::string>& calculationMethodNames() {
  static const std::vector<std::string> names = {"minimum-curvature", "radius-of-curvature", "average-angle",
                                                 "tangential", "mercury"};
  return names;
}

kel_WellBore::CalculationMethod calculationMethod(const std::string& name) {
  static const kel_WellBore::CalculationMethod methods[] = {
      kel_WellBore::CALCULATION_METHOD_0, kel_WellBore::CALCULATION_METHOD_1, kel_WellBore::CALCULATION_METHOD_3,
      kel_WellBore::CALCULATION_METHOD_4, kel_WellBore::CALCULATION_METHOD_5};
  const auto& names = calculationMethodNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return methods[i];
  throw CommandError(kUsage, "no calculation method \"" + name + "\"");
}

void importSurvey(kel_WellBore& bore, const SurveyTable& table, const std::string& mdUnit, const std::string& method) {
  // Validate everything first, so that a refusal changes nothing on the wellbore.
  const kel_WellBore::CalculationMethod chosen =
      method.empty() ? kel_WellBore::CALCULATION_METHOD_0 : calculationMethod(method);
  kel_Unit depthUnit;
  try {
    depthUnit = kel_Unit::getUnit(mdUnit.c_str());
  } catch (const kel_UserException&) {
    throw CommandError(kUsage, "the unit catalogue has no unit \"" + mdUnit + "\"");
  }
  auto quantities = [](const kel_Unit& unit, const std::vector<double>& values) {
    kel_Array<float> array;
    array.fill(static_cast<unsigned>(values.size()), [&](float* out, unsigned n) {
      for (unsigned i = 0; i < n; ++i) out[i] = static_cast<float>(values[i]);
    });
    return kel_FloatQuantities(unit, array);
  };
  const kel_Unit degrees = kel_Unit::getUnit("deg");
  try {
    bore.setSurveyStations(quantities(depthUnit, table.md), quantities(degrees, table.inclination),
                           quantities(degrees, table.azimuth));
    // After the stations: a refused survey leaves the method as it was too.
    if (!method.empty()) bore.setCalcMethod(chosen);
  } catch (const kel_Exception& failure) {
    throw CommandError(kRefused, "the service refused the stations: " + text(failure.toString()));
  }
}

}  // namespace kelwell::cmd
