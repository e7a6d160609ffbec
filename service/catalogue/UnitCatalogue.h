// The service's one catalogue of units of measure, and the remote unit objects
// that serve it. The table (data/units.tsv) is compiled into the binary, so the
// service never looks for it at run time. The platform's kel_Unit reads each
// unit's definition through EpUnitOfMeasureService::Unit::definition() and
// computes its own conversions from it: the factors live here only.
#ifndef KELWELLD_CATALOGUE_UNITCATALOGUE_H
#define KELWELLD_CATALOGUE_UNITCATALOGUE_H

#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <omniORB4/CORBA.h>

#include <EpUnitOfMeasureService.hh>

namespace kelwelld {

// A table of the catalogue (units or reference values) is malformed: a bad
// line, a bad number, a duplicate acronym, alias or code. The text names the
// line and what is wrong with it.
class CatalogueError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Two units cannot be converted into each other (different quantity classes).
class ConversionError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// One unit: value_in_base = value * factor + offset, base being the SI unit of
// its quantity class (metre, second, radian, kelvin, pascal, ...).
struct UnitDefinition {
  std::string acronym;                // canonical, for example "ft"
  std::string name;                   // readable, for example "foot"
  std::string quantity;               // quantity class, for example "length"
  double factor = 1.0;
  double offset = 0.0;
  std::vector<std::string> aliases;   // other spellings that resolve to acronym
};

// One member of a default unit set: the kind of measure and its unit.
struct MeasureUnit {
  std::string measure;                // "angle", "distance", ... (see defaultSet)
  const UnitDefinition* unit;         // never null
};

class UnitCatalogue {
public:
  // The catalogue compiled into the binary (data/units.tsv). Built on first
  // use; CatalogueError if the table or a default set is inconsistent.
  static const UnitCatalogue& builtIn();

  // A catalogue from table text: one unit per line, tab-separated columns
  // acronym, name, quantity, factor, offset, aliases (comma-separated); '#'
  // starts a comment line. Factors and offsets are numbers or products and
  // quotients of numbers and "pi" ("1200/3937", "pi/180", "459.67*5/9").
  // CatalogueError for a malformed line or a spelling (acronym or alias) used
  // twice.
  static UnitCatalogue fromTable(std::string_view table);

  UnitCatalogue(UnitCatalogue&&) noexcept;
  UnitCatalogue& operator=(UnitCatalogue&&) noexcept;
  ~UnitCatalogue();

  // The unit spelt acronymOrAlias (exact case); nullptr when unknown.
  const UnitDefinition* find(std::string_view acronymOrAlias) const;

  // value, given in from, expressed in to. ConversionError when the quantity
  // classes differ. Same unit: value unchanged.
  double convert(double value, const UnitDefinition& from, const UnitDefinition& to) const;

  // All units, in table order.
  const std::vector<UnitDefinition>& units() const;

  // Names of the unit systems with a default set: "metric", "field".
  static const std::vector<std::string>& unitSystems();
  static bool isUnitSystem(std::string_view unitSystem);

  // The default set of a unit system, 13 members in this fixed order:
  // angle, distance, area, volume, mass, time, temperature, pressure, depth,
  // density, flow rate, slowness, velocity. std::invalid_argument naming the
  // system when it is not one of unitSystems(); CatalogueError when this
  // catalogue lacks a member's unit.
  std::vector<MeasureUnit> defaultSet(std::string_view unitSystem) const;
  static constexpr std::size_t defaultSetSize = 13;

private:
  UnitCatalogue();
  std::vector<UnitDefinition> m_units;
  std::map<std::string, std::size_t, std::less<>> m_bySpelling;   // acronym or alias -> index
};

// Owns the remote unit objects. Units live in a PERSISTENT/USER_ID POA
// ("Units", object id = canonical acronym) served by one default servant, so a
// unit reference kept by a client resolves again after the service restarts on
// the same endpoint. The UnitService object lives in its own persistent POA
// ("UnitService"). Both POAs are created under the parent POA passed in and
// share its POA manager; they are destroyed with the registry.
class UnitRegistry {
public:
  // std::invalid_argument when defaultUnitSystem is not "metric" or "field".
  UnitRegistry(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
               const std::string& defaultUnitSystem,
               const UnitCatalogue& catalogue = UnitCatalogue::builtIn());
  ~UnitRegistry();
  UnitRegistry(const UnitRegistry&) = delete;
  UnitRegistry& operator=(const UnitRegistry&) = delete;

  // New references, owned by the caller.
  EpUnitOfMeasureService::UnitService_ptr service();
  EpUnitOfMeasureService::Unit_ptr reference(const UnitDefinition& unit);
  // The unit spelt acronymOrAlias; EpTypes::BadArgumentsException when unknown.
  EpUnitOfMeasureService::Unit_ptr reference(std::string_view acronymOrAlias);

  // The definition behind a reference a client sent: nullptr for nil and for
  // a unit this catalogue does not know. A reference of our own POA is read
  // from its object id without a call; any other is asked for its acronym.
  const UnitDefinition* resolve(EpUnitOfMeasureService::Unit_ptr unit) const;

  const UnitCatalogue& catalogue() const;
  const std::string& defaultUnitSystem() const;

  // The remote form of a definition.
  static EpUnitOfMeasureService::UnitDefinition toRemote(const UnitDefinition& unit);

  struct Impl;

private:
  std::unique_ptr<Impl> m_impl;
};

} // namespace kelwelld

#endif
