// The remote coordinate objects: one default servant for every System, one
// CoordinateService.
#include "CoordinateSystems.h"

#include "core/PoaSupport.h"
#include "core/FaultInjection.h"

namespace kelwelld {

namespace {

const char* const systemsPoaName = "CoordinateSystems";
const char* const servicePoaName = "CoordinateService";
const char* const serviceId = "CoordinateService";

} // namespace

struct CoordinateRegistry::Impl {
  Impl(CoordinateRegistry& owner, UnitRegistry& unitRegistry)
      : registry(owner), units(unitRegistry), systems(unitRegistry.catalogue()) {}

  // The system behind the request in progress; OBJECT_NOT_EXIST when its id
  // names no system the service knows (now).
  SystemInfo currentSystem() const {
    const std::string id = poa::currentObjectId(current.in());
    try {
      return systems.lookup(id);
    } catch (const EpTypes::BadArgumentsException&) {
      throw CORBA::OBJECT_NOT_EXIST();
    }
  }

  CoordinateRegistry& registry;
  UnitRegistry& units;
  CoordinateSystems systems;
  std::string defaultSystem;
  std::string timeSystem;
  PortableServer::Current_var current;
  PortableServer::POA_var systemPoa;
  PortableServer::POA_var servicePoa;
  poa::Owned<PortableServer::ServantBase> systemServant;
  poa::Owned<PortableServer::ServantBase> serviceServant;
};

namespace {

class SystemServant : public POA_EpCoordinateService::System {
public:
  explicit SystemServant(CoordinateRegistry::Impl& impl) : m_impl(impl) {}

  char* name() override {
    const SystemInfo system = m_impl.currentSystem();
    enterFault("name", system.name);
    return CORBA::string_dup(system.name.c_str());
  }

  CORBA::Long epsgCode() override {
    const SystemInfo system = m_impl.currentSystem();
    const auto fault = enterFault("epsgCode", system.name);
    if (wantsOutOfRange(fault)) {
      return static_cast<CORBA::Long>(fault->value);
    }
    return static_cast<CORBA::Long>(system.epsgCode);
  }

  CORBA::Boolean isTimeSystem() override {
    const SystemInfo system = m_impl.currentSystem();
    enterFault("isTimeSystem", system.name);
    return system.isTimeSystem;
  }

  EpUnitOfMeasureService::Unit_ptr horizontalUnit() override {
    const SystemInfo system = m_impl.currentSystem();
    if (wantsNil(enterFault("horizontalUnit", system.name))) {
      return EpUnitOfMeasureService::Unit::_nil();
    }
    return m_impl.units.reference(system.horizontalUnit);
  }

  EpUnitOfMeasureService::Unit_ptr verticalUnit() override {
    const SystemInfo system = m_impl.currentSystem();
    if (wantsNil(enterFault("verticalUnit", system.name))) {
      return EpUnitOfMeasureService::Unit::_nil();
    }
    return m_impl.units.reference(system.verticalUnit);
  }

private:
  CoordinateRegistry::Impl& m_impl;
};

class CoordinateServiceServant : public POA_EpCoordinateService::CoordinateService {
public:
  explicit CoordinateServiceServant(CoordinateRegistry::Impl& impl) : m_impl(impl) {}

  EpCoordinateService::System_ptr getSystem(const char* name) override {
    if (wantsNil(enterFault("getSystem", serviceId))) {
      return EpCoordinateService::System::_nil();
    }
    return m_impl.registry.reference(name);
  }

  EpCoordinateService::System_ptr defaultSystem() override {
    return named("defaultSystem", m_impl.defaultSystem);
  }

  EpCoordinateService::System_ptr preferredDepthSystem() override {
    return named("preferredDepthSystem", m_impl.defaultSystem);
  }

  EpCoordinateService::System_ptr preferredTimeSystem() override {
    return named("preferredTimeSystem", m_impl.timeSystem);
  }

  EpCoordinateService::Coordinates* transform(const EpCoordinateService::Coordinates& source,
                                              EpCoordinateService::System_ptr target) override {
    enterFault("transform", serviceId);
    const std::string from = m_impl.registry.resolve(source.system.in());
    const std::string to = m_impl.registry.resolve(target);
    if (from.empty()) {
      throw EpCoordinateService::NoKnownTransformException(
          "The coordinates to transform carry no coordinate system (a nil reference). ");
    }
    if (to.empty()) {
      throw EpCoordinateService::NoKnownTransformException("No target coordinate system was given (a nil reference). ");
    }
    std::vector<Point> points(source.points.length());
    for (CORBA::ULong i = 0; i < source.points.length(); ++i) {
      points[i] = {source.points[i].x, source.points[i].y, source.points[i].z};
    }
    m_impl.systems.transform(from, to, points);

    EpCoordinateService::Coordinates_var result = new EpCoordinateService::Coordinates;
    try {
      result->system = m_impl.registry.reference(to);
    } catch (const EpTypes::BadArgumentsException& error) {
      throw EpCoordinateService::NoKnownTransformException(error.reason.in());
    }
    result->points.length(source.points.length());
    for (CORBA::ULong i = 0; i < source.points.length(); ++i) {
      result->points[i].x = points[i].x;
      result->points[i].y = points[i].y;
      result->points[i].z = points[i].z;
    }
    return result._retn();
  }

private:
  EpCoordinateService::System_ptr named(const char* operation, const std::string& name) {
    if (wantsNil(enterFault(operation, serviceId))) {
      return EpCoordinateService::System::_nil();
    }
    return m_impl.registry.reference(name);
  }

  CoordinateRegistry::Impl& m_impl;
};

} // namespace

CoordinateRegistry::CoordinateRegistry(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
                                       const std::string& defaultSystem, UnitRegistry& units)
    : m_impl(std::make_unique<Impl>(*this, units)) {
  Impl& impl = *m_impl;
  const SystemInfo system = impl.systems.lookup(defaultSystem);
  if (system.epsgCode == 0 || system.isTimeSystem) {
    throw EpTypes::BadArgumentsException(
        ("The default coordinate system must be an EPSG system in the depth domain; '" + defaultSystem +
         "' is not. ").c_str());
  }
  impl.defaultSystem = system.name;
  impl.timeSystem = impl.systems.lookup(system.name + "+TWT").name;
  impl.current = poa::current(orb);
  try {
    impl.systemPoa = poa::createDefaultServantPoa(parent, systemsPoaName, poa::Lifespan::Persistent);
    impl.systemServant = poa::makeOwned<SystemServant>(impl);
    impl.systemPoa->set_servant(impl.systemServant.get());

    impl.servicePoa = poa::createPersistentPoa(parent, servicePoaName);
    impl.serviceServant = poa::makeOwned<CoordinateServiceServant>(impl);
    PortableServer::ObjectId_var id = PortableServer::string_to_ObjectId(serviceId);
    impl.servicePoa->activate_object_with_id(id.in(), impl.serviceServant.get());
  } catch (...) {
    poa::destroy(impl.servicePoa);
    poa::destroy(impl.systemPoa);
    throw;
  }
}

CoordinateRegistry::~CoordinateRegistry() {
  poa::destroy(m_impl->servicePoa);
  poa::destroy(m_impl->systemPoa);
}

EpCoordinateService::CoordinateService_ptr CoordinateRegistry::service() {
  CORBA::Object_var object = poa::makeReference(m_impl->servicePoa.in(), serviceId,
                                                EpCoordinateService::_tc_CoordinateService->id());
  return EpCoordinateService::CoordinateService::_narrow(object.in());
}

EpCoordinateService::System_ptr CoordinateRegistry::reference(const std::string& name) {
  const SystemInfo system = m_impl->systems.lookup(name);   // canonical name, or BadArgumentsException
  CORBA::Object_var object =
      poa::makeReference(m_impl->systemPoa.in(), system.name, EpCoordinateService::_tc_System->id());
  return EpCoordinateService::System::_narrow(object.in());
}

std::string CoordinateRegistry::resolve(EpCoordinateService::System_ptr system) const {
  if (CORBA::is_nil(system)) {
    return {};
  }
  if (const auto id = poa::idIn(m_impl->systemPoa.in(), system)) {
    return *id;
  }
  // A system object of another service: go by its name.
  CORBA::String_var name = system->name();
  return name.in();
}

void CoordinateRegistry::transform(const std::string& from, const std::string& to, std::vector<Point>& points) const {
  m_impl->systems.transform(from, to, points);
}

const std::string& CoordinateRegistry::defaultSystem() const {
  return m_impl->defaultSystem;
}

const std::string& CoordinateRegistry::preferredDepthSystem() const {
  return m_impl->defaultSystem;
}

const std::string& CoordinateRegistry::preferredTimeSystem() const {
  return m_impl->timeSystem;
}

CoordinateSystems& CoordinateRegistry::systems() {
  return m_impl->systems;
}

const CoordinateSystems& CoordinateRegistry::systems() const {
  return m_impl->systems;
}

} // namespace kelwelld
