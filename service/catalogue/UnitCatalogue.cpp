#include "UnitCatalogue.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "TableText.h"
#include "Tables.h"

namespace kelwelld {

namespace {

constexpr double pi = 3.14159265358979323846;

// A factor or offset of the table: numbers and "pi" joined by '*' and '/',
// evaluated left to right. Nothing when the text is not such an expression.
std::optional<double> evaluate(std::string_view text) {
  double result = 0.0;
  char op = 0;   // none before the first term
  std::size_t start = 0;
  for (;;) {
    const auto next = text.find_first_of("*/", start);
    const std::string term = table::trim(text.substr(start, next == std::string_view::npos ? next : next - start));
    double value = 0.0;
    if (term == "pi") {
      value = pi;
    } else {
      const char* first = term.data();
      const char* last = first + term.size();
      if (!term.empty() && *first == '+') {
        return std::nullopt;
      }
      const auto [end, error] = std::from_chars(first, last, value);
      if (term.empty() || error != std::errc() || end != last) {
        return std::nullopt;
      }
    }
    if (op == 0) {
      result = value;
    } else if (op == '*') {
      result *= value;
    } else {
      result /= value;
    }
    if (next == std::string_view::npos) {
      break;
    }
    op = text[next];
    start = next + 1;
  }
  if (!std::isfinite(result)) {
    return std::nullopt;
  }
  return result;
}

std::string lineError(unsigned line, const std::string& what) {
  return "Unit table, line " + std::to_string(line) + ": " + what;
}

// The default sets: measure, metric unit, field unit.
struct DefaultMember {
  const char* measure;
  const char* metric;
  const char* field;
};
constexpr DefaultMember defaultMembers[UnitCatalogue::defaultSetSize] = {
  {"angle", "dega", "dega"},
  {"distance", "m", "ft"},
  {"area", "m2", "ft2"},
  {"volume", "m3", "ft3"},
  {"mass", "kg", "lbm"},
  {"time", "ms", "ms"},
  {"temperature", "degC", "degF"},
  {"pressure", "kPa", "psi"},
  {"depth", "m", "ft"},
  {"density", "g/cm3", "g/cm3"},
  {"flow rate", "m3/d", "bbl/d"},
  {"slowness", "us/m", "us/ft"},
  {"velocity", "m/s", "ft/s"},
};

} // namespace

UnitCatalogue::UnitCatalogue() = default;
UnitCatalogue::UnitCatalogue(UnitCatalogue&&) noexcept = default;
UnitCatalogue& UnitCatalogue::operator=(UnitCatalogue&&) noexcept = default;
UnitCatalogue::~UnitCatalogue() = default;

UnitCatalogue UnitCatalogue::fromTable(std::string_view text) {
  UnitCatalogue catalogue;
  std::vector<unsigned> lineOf;   // table line of each unit, for duplicate texts
  for (const auto& line : table::lines(text)) {
    const auto& f = line.fields;
    if (f.size() < 5 || f.size() > 6) {
      throw CatalogueError(lineError(line.number, "expected 5 or 6 tab-separated columns "
                                     "(acronym, name, quantity, factor, offset, aliases), found " +
                                     std::to_string(f.size()) + ". "));
    }
    for (std::size_t column = 0; column < 3; ++column) {
      if (f[column].empty()) {
        static const char* const names[] = {"acronym", "name", "quantity"};
        throw CatalogueError(lineError(line.number, std::string("the ") + names[column] + " is empty. "));
      }
    }
    UnitDefinition unit;
    unit.acronym = f[0];
    unit.name = f[1];
    unit.quantity = f[2];
    const auto factor = evaluate(f[3]);
    if (!factor || *factor <= 0.0) {
      throw CatalogueError(lineError(line.number, "the factor '" + f[3] + "' of '" + unit.acronym +
                                     "' is not a positive number. "));
    }
    const auto offset = evaluate(f[4]);
    if (!offset) {
      throw CatalogueError(lineError(line.number, "the offset '" + f[4] + "' of '" + unit.acronym +
                                     "' is not a number. "));
    }
    unit.factor = *factor;
    unit.offset = *offset;
    if (f.size() == 6) {
      unit.aliases = table::splitList(f[5]);
    }

    const std::size_t index = catalogue.m_units.size();
    std::vector<std::string> spellings{unit.acronym};
    spellings.insert(spellings.end(), unit.aliases.begin(), unit.aliases.end());
    for (const auto& spelling : spellings) {
      const auto [at, inserted] = catalogue.m_bySpelling.emplace(spelling, index);
      if (!inserted) {
        const bool sameUnit = at->second == index;
        throw CatalogueError(lineError(
            line.number, "the spelling '" + spelling + "' is used twice" +
                             (sameUnit ? " on this line. "
                                       : "; line " + std::to_string(lineOf[at->second]) + " gives it to '" +
                                             catalogue.m_units[at->second].acronym + "'. ")));
      }
    }
    catalogue.m_units.push_back(std::move(unit));
    lineOf.push_back(line.number);
  }
  return catalogue;
}

const UnitCatalogue& UnitCatalogue::builtIn() {
  static const UnitCatalogue catalogue = [] {
    UnitCatalogue built = fromTable(tables::units);
    for (const auto& system : unitSystems()) {
      built.defaultSet(system);   // throws when a member's unit is missing
    }
    return built;
  }();
  return catalogue;
}

const UnitDefinition* UnitCatalogue::find(std::string_view acronymOrAlias) const {
  const auto found = m_bySpelling.find(acronymOrAlias);
  return found == m_bySpelling.end() ? nullptr : &m_units[found->second];
}

double UnitCatalogue::convert(double value, const UnitDefinition& from, const UnitDefinition& to) const {
  if (from.quantity != to.quantity) {
    throw ConversionError("Cannot convert from '" + from.acronym + "' (" + from.quantity + ") to '" +
                          to.acronym + "' (" + to.quantity + "): the units measure different quantities. ");
  }
  if (&from == &to || (from.factor == to.factor && from.offset == to.offset)) {
    return value;
  }
  if (from.offset == 0.0 && to.offset == 0.0) {
    return value * from.factor / to.factor;
  }
  return (value * from.factor + (from.offset - to.offset)) / to.factor;
}

const std::vector<UnitDefinition>& UnitCatalogue::units() const {
  return m_units;
}

const std::vector<std::string>& UnitCatalogue::unitSystems() {
  static const std::vector<std::string> systems{"metric", "field"};
  return systems;
}

bool UnitCatalogue::isUnitSystem(std::string_view unitSystem) {
  for (const auto& system : unitSystems()) {
    if (system == unitSystem) {
      return true;
    }
  }
  return false;
}

std::vector<MeasureUnit> UnitCatalogue::defaultSet(std::string_view unitSystem) const {
  if (!isUnitSystem(unitSystem)) {
    throw std::invalid_argument("Unknown unit system '" + std::string(unitSystem) +
                                "'. The unit systems are \"metric\" and \"field\". ");
  }
  const bool metric = unitSystem == "metric";
  std::vector<MeasureUnit> set;
  set.reserve(defaultSetSize);
  for (const auto& member : defaultMembers) {
    const char* acronym = metric ? member.metric : member.field;
    const UnitDefinition* unit = find(acronym);
    if (unit == nullptr) {
      throw CatalogueError("The " + std::string(unitSystem) + " default unit of " + member.measure + ", '" +
                           acronym + "', is not in the unit catalogue. ");
    }
    set.push_back({member.measure, unit});
  }
  return set;
}

} // namespace kelwelld
