// The remote unit objects: one default servant for every unit, one UnitService.
#include "UnitCatalogue.h"

#include "core/PoaSupport.h"
#include "core/FaultInjection.h"

namespace kelwelld {

namespace {

const char* const unitsPoaName = "Units";
const char* const servicePoaName = "UnitService";
const char* const serviceId = "UnitService";

std::string unknownUnitText(const std::string& acronym) {
  return "Unknown unit '" + acronym +
         "'. UnitService::allUnits lists the known units; docs/catalogues.md lists them with their aliases. ";
}

} // namespace

struct UnitRegistry::Impl {
  Impl(UnitRegistry& owner, CORBA::ORB_ptr orbIn, const std::string& system, const UnitCatalogue& units)
      : registry(owner), orb(CORBA::ORB::_duplicate(orbIn)), catalogue(units), defaultSystem(system) {}

  // The unit behind the request in progress; OBJECT_NOT_EXIST for an id that
  // names no unit (a forged or outdated reference).
  const UnitDefinition& currentUnit() const {
    const std::string id = poa::currentObjectId(current.in());
    const UnitDefinition* unit = catalogue.find(id);
    if (unit == nullptr || unit->acronym != id) {
      throw CORBA::OBJECT_NOT_EXIST();
    }
    return *unit;
  }

  // The target of a conversion; ConversionException for nil or unknown.
  const UnitDefinition& target(EpUnitOfMeasureService::Unit_ptr unit) const {
    if (CORBA::is_nil(unit)) {
      throw EpUnitOfMeasureService::ConversionException("No target unit was given (a nil reference). ");
    }
    const UnitDefinition* definition = registry.resolve(unit);
    if (definition == nullptr) {
      throw EpUnitOfMeasureService::ConversionException(
          "The target unit is not in this service's unit catalogue. ");
    }
    return *definition;
  }

  double convert(double value, const UnitDefinition& from, const UnitDefinition& to) const {
    try {
      return catalogue.convert(value, from, to);
    } catch (const ConversionError& error) {
      throw EpUnitOfMeasureService::ConversionException(error.what());
    }
  }

  UnitRegistry& registry;
  CORBA::ORB_var orb;
  const UnitCatalogue& catalogue;
  std::string defaultSystem;
  PortableServer::Current_var current;
  PortableServer::POA_var unitPoa;
  PortableServer::POA_var servicePoa;
  poa::Owned<PortableServer::ServantBase> unitServant;
  poa::Owned<PortableServer::ServantBase> serviceServant;
};

namespace {

class UnitServant : public POA_EpUnitOfMeasureService::Unit {
public:
  explicit UnitServant(UnitRegistry::Impl& impl) : m_impl(impl) {}

  char* acronym() override {
    const UnitDefinition& unit = m_impl.currentUnit();
    enterFault("acronym", unit.acronym);
    return CORBA::string_dup(unit.acronym.c_str());
  }

  EpUnitOfMeasureService::UnitDefinition* definition() override {
    const UnitDefinition& unit = m_impl.currentUnit();
    enterFault("definition", unit.acronym);
    return new EpUnitOfMeasureService::UnitDefinition(UnitRegistry::toRemote(unit));
  }

  CORBA::Double convert(CORBA::Double value, EpUnitOfMeasureService::Unit_ptr target) override {
    const UnitDefinition& unit = m_impl.currentUnit();
    enterFault("convert", unit.acronym);
    return m_impl.convert(value, unit, m_impl.target(target));
  }

  EpTypes::DoubleSeq* convertSeq(const EpTypes::DoubleSeq& values,
                                 EpUnitOfMeasureService::Unit_ptr target) override {
    const UnitDefinition& unit = m_impl.currentUnit();
    enterFault("convertSeq", unit.acronym);
    const UnitDefinition& to = m_impl.target(target);
    m_impl.convert(0.0, unit, to);   // refuses different quantities, also for no values
    EpTypes::DoubleSeq_var result = new EpTypes::DoubleSeq;
    result->length(values.length());
    for (CORBA::ULong i = 0; i < values.length(); ++i) {
      result[i] = m_impl.convert(values[i], unit, to);
    }
    return result._retn();
  }

private:
  UnitRegistry::Impl& m_impl;
};

class UnitServiceServant : public POA_EpUnitOfMeasureService::UnitService {
public:
  explicit UnitServiceServant(UnitRegistry::Impl& impl) : m_impl(impl) {}

  EpUnitOfMeasureService::Unit_ptr getUnit(const char* acronym) override {
    if (wantsNil(enterFault("getUnit", serviceId))) {
      return EpUnitOfMeasureService::Unit::_nil();
    }
    const UnitDefinition* unit = m_impl.catalogue.find(acronym);
    if (unit == nullptr) {
      throw EpTypes::BadArgumentsException(unknownUnitText(acronym).c_str());
    }
    return m_impl.registry.reference(*unit);
  }

  EpUnitOfMeasureService::UnitSeq* allUnits() override {
    enterFault("allUnits", serviceId);
    const auto& units = m_impl.catalogue.units();
    EpUnitOfMeasureService::UnitSeq_var result = new EpUnitOfMeasureService::UnitSeq;
    result->length(static_cast<CORBA::ULong>(units.size()));
    for (std::size_t i = 0; i < units.size(); ++i) {
      result[static_cast<CORBA::ULong>(i)] = m_impl.registry.reference(units[i]);
    }
    return result._retn();
  }

  EpUnitOfMeasureService::UnitMeasureSet* defaultUnits(const char* unitSystem) override {
    enterFault("defaultUnits", serviceId);
    const std::string system = *unitSystem == '\0' ? m_impl.defaultSystem : std::string(unitSystem);
    std::vector<MeasureUnit> set;
    try {
      set = m_impl.catalogue.defaultSet(system);
    } catch (const std::invalid_argument& error) {
      throw EpTypes::BadArgumentsException(error.what());
    }
    EpUnitOfMeasureService::UnitMeasureSet_var result = new EpUnitOfMeasureService::UnitMeasureSet;
    result->length(static_cast<CORBA::ULong>(set.size()));
    for (std::size_t i = 0; i < set.size(); ++i) {
      auto& member = result[static_cast<CORBA::ULong>(i)];
      member.measure = set[i].measure.c_str();
      member.unit = m_impl.registry.reference(*set[i].unit);
    }
    return result._retn();
  }

private:
  UnitRegistry::Impl& m_impl;
};

} // namespace

UnitRegistry::UnitRegistry(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
                           const std::string& defaultUnitSystem, const UnitCatalogue& catalogue) {
  if (!UnitCatalogue::isUnitSystem(defaultUnitSystem)) {
    throw std::invalid_argument("Unknown unit system '" + defaultUnitSystem +
                                "'. The unit systems are \"metric\" and \"field\". ");
  }
  m_impl = std::make_unique<Impl>(*this, orb, defaultUnitSystem, catalogue);
  Impl& impl = *m_impl;
  impl.current = poa::current(orb);
  try {
    impl.unitPoa = poa::createDefaultServantPoa(parent, unitsPoaName, poa::Lifespan::Persistent);
    impl.unitServant = poa::makeOwned<UnitServant>(impl);
    impl.unitPoa->set_servant(impl.unitServant.get());

    impl.servicePoa = poa::createPersistentPoa(parent, servicePoaName);
    impl.serviceServant = poa::makeOwned<UnitServiceServant>(impl);
    PortableServer::ObjectId_var id = PortableServer::string_to_ObjectId(serviceId);
    impl.servicePoa->activate_object_with_id(id.in(), impl.serviceServant.get());
  } catch (...) {
    poa::destroy(impl.servicePoa);
    poa::destroy(impl.unitPoa);
    throw;
  }
}

UnitRegistry::~UnitRegistry() {
  poa::destroy(m_impl->servicePoa);
  poa::destroy(m_impl->unitPoa);
}

EpUnitOfMeasureService::UnitService_ptr UnitRegistry::service() {
  CORBA::Object_var object =
      poa::makeReference(m_impl->servicePoa.in(), serviceId, EpUnitOfMeasureService::_tc_UnitService->id());
  return EpUnitOfMeasureService::UnitService::_narrow(object.in());
}

EpUnitOfMeasureService::Unit_ptr UnitRegistry::reference(const UnitDefinition& unit) {
  CORBA::Object_var object =
      poa::makeReference(m_impl->unitPoa.in(), unit.acronym, EpUnitOfMeasureService::_tc_Unit->id());
  return EpUnitOfMeasureService::Unit::_narrow(object.in());
}

EpUnitOfMeasureService::Unit_ptr UnitRegistry::reference(std::string_view acronymOrAlias) {
  const UnitDefinition* unit = m_impl->catalogue.find(acronymOrAlias);
  if (unit == nullptr) {
    throw EpTypes::BadArgumentsException(unknownUnitText(std::string(acronymOrAlias)).c_str());
  }
  return reference(*unit);
}

const UnitDefinition* UnitRegistry::resolve(EpUnitOfMeasureService::Unit_ptr unit) const {
  if (CORBA::is_nil(unit)) {
    return nullptr;
  }
  if (const auto id = poa::idIn(m_impl->unitPoa.in(), unit)) {
    return m_impl->catalogue.find(*id);
  }
  // A unit object of another service: go by its acronym.
  CORBA::String_var acronym = unit->acronym();
  return m_impl->catalogue.find(acronym.in());
}

const UnitCatalogue& UnitRegistry::catalogue() const {
  return m_impl->catalogue;
}

const std::string& UnitRegistry::defaultUnitSystem() const {
  return m_impl->defaultSystem;
}

EpUnitOfMeasureService::UnitDefinition UnitRegistry::toRemote(const UnitDefinition& unit) {
  EpUnitOfMeasureService::UnitDefinition remote;
  remote.acronym = unit.acronym.c_str();
  remote.name = unit.name.c_str();
  remote.quantity = unit.quantity.c_str();
  remote.factor = unit.factor;
  remote.offset = unit.offset;
  return remote;
}

} // namespace kelwelld
