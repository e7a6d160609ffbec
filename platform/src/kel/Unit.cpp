#include "kel_FloatQuantity.h"
#include "kel_Unit.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "kel_PlatformInternal.h"

const char* const kel_Unit::unitless = "unitless";

namespace {

// What the catalogue says of one unit. A unit never changes, so the
// definitions are kept for the life of the process (or of its service).
struct UnitInfo {
  EpUnitOfMeasureService::Unit_var unit;
  std::string acronym;
  std::string name;
  std::string quantity;
  double factor = 1.0;
  double offset = 0.0;
};
using UnitInfoPtr = std::shared_ptr<const UnitInfo>;

struct UnitCache {
  std::mutex mutex;
  std::map<std::string, UnitInfoPtr> byAcronym;    // as asked for: aliases too
  std::map<std::string, UnitInfoPtr> byReference;  // stringified reference
};

UnitCache& cache() {
  static UnitCache* instance = new UnitCache;
  return *instance;
}

std::string referenceKey(CORBA::Object_ptr object) {
  CORBA::String_var text = kel_platform::orb()->object_to_string(object);
  return std::string(text.in());
}

UnitInfoPtr describeUnit(EpUnitOfMeasureService::Unit_ptr unit) {
  EpUnitOfMeasureService::UnitDefinition_var definition = unit->definition();
  auto info = std::make_shared<UnitInfo>();
  info->unit = EpUnitOfMeasureService::Unit::_duplicate(unit);
  info->acronym = definition->acronym.in();
  info->name = definition->name.in();
  info->quantity = definition->quantity.in();
  info->factor = definition->factor;
  info->offset = definition->offset;
  if (info->factor == 0.0) {
    kel_cppUtil::String context("The catalogue gives the unit \"");
    context += info->acronym.c_str();
    context += "\" a factor of zero. ";
    throw kel_SystemException("Could not read the definition of a unit. ", context);
  }
  return info;
}

// The definition of a unit the service handed over, from the cache when known.
UnitInfoPtr infoOf(EpUnitOfMeasureService::Unit_ptr unit) {
  const std::string key = referenceKey(unit);
  UnitCache& c = cache();
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    auto found = c.byReference.find(key);
    if (found != c.byReference.end()) return found->second;
  }
  UnitInfoPtr info = describeUnit(unit);
  std::lock_guard<std::mutex> lock(c.mutex);
  c.byReference.emplace(key, info);
  return info;
}

kel_cppUtil::String quoted(const kel_Unit& unit) {
  kel_cppUtil::String text("\"");
  text += unit.getAcronym();
  text += "\" (";
  text += unit.getQuantity();
  text += ")";
  return text;
}

// value, given in from, expressed in to: through the base unit of their quantity.
double convertValue(double value, const kel_Unit& from, const kel_Unit& to, double fromFactor,
                    double fromOffset, double toFactor, double toOffset) {
  if (from.getAcronym() == to.getAcronym()) return value;
  if (from.getQuantity() != to.getQuantity()) {
    kel_cppUtil::String message("Could not convert from the unit ");
    message += quoted(from);
    message += " to the unit ";
    message += quoted(to);
    message += ". ";
    throw kel_UserException(message, "Units of different quantities cannot be converted into each other. ");
  }
  const double base = value * fromFactor + fromOffset;
  return (base - toOffset) / toFactor;
}

} // namespace

// Fills a kel_Unit from the catalogue's definition.
class kel_UnitAccess {
public:
  static void fill(kel_Unit& unit, const UnitInfo& info) {
    unit.m_acronym = info.acronym;
    unit.m_name = info.name;
    unit.m_quantity = info.quantity;
    unit.m_factor = info.factor;
    unit.m_offset = info.offset;
  }
  static double factor(const kel_Unit& unit) { return unit.m_factor; }
  static double offset(const kel_Unit& unit) { return unit.m_offset; }
};

namespace kel_platform {

void forgetServiceCaches() {
  UnitCache& c = cache();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.byAcronym.clear();
  c.byReference.clear();
}

} // namespace kel_platform

kel_Unit::kel_Unit() : m_factor(1.0), m_offset(0.0) {}

kel_Unit::kel_Unit(const kel_RemoteStub& stub, bool duplicate) : m_factor(1.0), m_offset(0.0) {
  kel_platform::install<EpUnitOfMeasureService::Unit>(m_remote, m_object, stub.getObject(), duplicate);
  if (m_remote == nullptr) return;
  try {
    kel_UnitAccess::fill(*this, *infoOf(static_cast<EpUnitOfMeasureService::Unit_ptr>(m_remote)));
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not read the definition of a unit. ", kel_platform::describe(error));
  }
}

kel_Unit::kel_Unit(const kel_Unit& other, bool duplicate)
    : kel_RemoteObject(),
      m_acronym(other.m_acronym),
      m_name(other.m_name),
      m_quantity(other.m_quantity),
      m_factor(other.m_factor),
      m_offset(other.m_offset) {
  kel_platform::install<EpUnitOfMeasureService::Unit>(
      m_remote, m_object, static_cast<CORBA::Object*>(other.getBaseObject()), duplicate);
}

kel_Unit& kel_Unit::operator=(const kel_Unit& other) {
  if (this == &other) return *this;
  CORBA::Object_var keep = CORBA::Object::_duplicate(static_cast<CORBA::Object*>(other.getBaseObject()));
  release();
  kel_platform::install<EpUnitOfMeasureService::Unit>(m_remote, m_object, keep.in(), true);
  m_acronym = other.m_acronym;
  m_name = other.m_name;
  m_quantity = other.m_quantity;
  m_factor = other.m_factor;
  m_offset = other.m_offset;
  return *this;
}

kel_Unit::~kel_Unit() = default;

kel_Unit kel_Unit::getUnit(const char* acronym) {
  kel_cppUtil::String message("Could not find the unit \"");
  message += acronym;
  message += "\". ";
  if (acronym == nullptr || *acronym == '\0') throw kel_UserException(message, "The acronym is empty. ");
  UnitCache& c = cache();
  UnitInfoPtr info;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    auto found = c.byAcronym.find(acronym);
    if (found != c.byAcronym.end()) info = found->second;
  }
  if (!info) {
    EpUnitOfMeasureService::UnitService_var service = kel_platform::unitService();
    try {
      EpUnitOfMeasureService::Unit_var unit = service->getUnit(acronym);
      if (CORBA::is_nil(unit.in()))
        throw kel_SystemException(message, "The unit service returned no unit. ");
      info = infoOf(unit.in());
    } catch (const EpTypes::BadArgumentsException& error) {
      throw kel_UserException(message, error.reason.in());
    } catch (const CORBA::Exception& error) {
      throw kel_SystemException(message, kel_platform::describe(error));
    }
    std::lock_guard<std::mutex> lock(c.mutex);
    c.byAcronym.emplace(acronym, info);
  }
  kel_Unit unit;
  kel_platform::install<EpUnitOfMeasureService::Unit>(unit.m_remote, unit.m_object, info->unit.in(), true);
  kel_UnitAccess::fill(unit, *info);
  return unit;
}

kel_cppUtil::String kel_Unit::getAcronym() const { return m_acronym; }
kel_cppUtil::String kel_Unit::getName() const { return m_name; }
kel_cppUtil::String kel_Unit::getQuantity() const { return m_quantity; }

kel_FloatQuantity kel_Unit::transform(const kel_FloatQuantity& quantity) const {
  const kel_Unit& from = quantity.getUnit();
  if (isNil() || from.isNil()) return quantity;
  const double value = convertValue(quantity.getValue(), from, *this, from.m_factor, from.m_offset,
                                    m_factor, m_offset);
  return kel_FloatQuantity(*this, static_cast<float>(value));
}

double kel_Unit::convert(double value, const kel_Unit& target) const {
  if (isNil() || target.isNil()) return value;
  return convertValue(value, *this, target, m_factor, m_offset, target.m_factor, target.m_offset);
}

bool kel_Unit::operator==(const kel_Unit& other) const { return m_acronym == other.m_acronym; }
bool kel_Unit::operator!=(const kel_Unit& other) const { return !(*this == other); }

// ---------------------------------------------------------------- kel_UnitMeasureSet

kel_UnitMeasureSet kel_UnitMeasureSet::getDefaultUnits() { return getUnits(""); }

kel_UnitMeasureSet kel_UnitMeasureSet::getUnits(const char* unitSystem) {
  const char* const message = "Could not read the default units of the well data service. ";
  const char* system = unitSystem ? unitSystem : "";
  EpUnitOfMeasureService::UnitService_var service = kel_platform::unitService();
  kel_UnitMeasureSet set;
  try {
    EpUnitOfMeasureService::UnitMeasureSet_var units = service->defaultUnits(system);
    if (units->length() < size()) {
      kel_cppUtil::String context("The service gives ");
      context << static_cast<unsigned long>(units->length());
      context += " default units where ";
      context << static_cast<unsigned long>(size());
      context += " are needed. ";
      throw kel_SystemException(message, context);
    }
    kel_Unit* members[] = {&set.angleUnit,    &set.distanceUnit,    &set.areaUnit,     &set.volumeUnit,
                           &set.massUnit,     &set.timeUnit,        &set.temperatureUnit,
                           &set.pressureUnit, &set.depthUnit,       &set.densityUnit,
                           &set.flowRateUnit, &set.slownessUnit,    &set.velocityUnit};
    for (unsigned i = 0; i < size(); ++i)
      *members[i] = kel_Unit(kel_RemoteStub(units[i].unit.in()), true);
  } catch (const EpTypes::BadArgumentsException& error) {
    throw kel_UserException(message, error.reason.in());
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
  return set;
}

unsigned kel_UnitMeasureSet::size() { return 13; }

const kel_Unit& kel_UnitMeasureSet::operator[](unsigned position) const {
  switch (position) {
    case 0: return angleUnit;
    case 1: return distanceUnit;
    case 2: return areaUnit;
    case 3: return volumeUnit;
    case 4: return massUnit;
    case 5: return timeUnit;
    case 6: return temperatureUnit;
    case 7: return pressureUnit;
    case 8: return depthUnit;
    case 9: return densityUnit;
    case 10: return flowRateUnit;
    case 11: return slownessUnit;
    case 12: return velocityUnit;
    default: break;
  }
  kel_cppUtil::String context("Positions run from 0 to 12, not ");
  context << static_cast<unsigned long>(position);
  context += ". ";
  throw kel_UserException("There is no default unit at this position. ", context);
}
