#include "kel_Coordinate.h"

#include "kel_PlatformInternal.h"

namespace {

using SystemGetter = EpCoordinateService::System_ptr (*)(EpCoordinateService::CoordinateService_ptr);

kel_CoordSystem systemFromService(const char* message, SystemGetter get) {
  EpCoordinateService::CoordinateService_var service = kel_platform::coordinateService();
  EpCoordinateService::System_var system;
  try {
    system = get(service.in());
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
  if (CORBA::is_nil(system.in())) return kel_CoordSystem();
  return kel_CoordSystem(kel_RemoteStub(system.in()), true);
}

EpCoordinateService::System_ptr remoteOf(const kel_CoordSystem& system) {
  return static_cast<EpCoordinateService::System_ptr>(system.getRemoteObject(kel_Internal()));
}

} // namespace

kel_CoordSystem::kel_CoordSystem() = default;

kel_CoordSystem::kel_CoordSystem(const kel_RemoteStub& stub, bool duplicate) {
  kel_platform::install<EpCoordinateService::System>(m_remote, m_object, stub.getObject(), duplicate);
}

kel_CoordSystem::kel_CoordSystem(const kel_CoordSystem& other, bool duplicate) : kel_RemoteObject() {
  kel_platform::install<EpCoordinateService::System>(
      m_remote, m_object, static_cast<CORBA::Object*>(other.getBaseObject()), duplicate);
}

kel_CoordSystem& kel_CoordSystem::operator=(const kel_CoordSystem& other) {
  if (this == &other) return *this;
  CORBA::Object_var keep = CORBA::Object::_duplicate(static_cast<CORBA::Object*>(other.getBaseObject()));
  release();
  kel_platform::install<EpCoordinateService::System>(m_remote, m_object, keep.in(), true);
  return *this;
}

kel_CoordSystem::~kel_CoordSystem() = default;

kel_CoordSystem kel_CoordSystem::getDefaultSystem() {
  return systemFromService("Could not read the default coordinate system. ",
                           [](EpCoordinateService::CoordinateService_ptr s) { return s->defaultSystem(); });
}

kel_CoordSystem kel_CoordSystem::getPreferredDepthSystem() {
  return systemFromService("Could not read the preferred depth coordinate system. ",
                           [](EpCoordinateService::CoordinateService_ptr s) {
                             return s->preferredDepthSystem();
                           });
}

kel_CoordSystem kel_CoordSystem::getPreferredTimeSystem() {
  return systemFromService("Could not read the preferred time coordinate system. ",
                           [](EpCoordinateService::CoordinateService_ptr s) {
                             return s->preferredTimeSystem();
                           });
}

kel_CoordSystem kel_CoordSystem::getSystem(const char* name) {
  kel_cppUtil::String message("Could not find the coordinate system \"");
  message += name;
  message += "\". ";
  if (name == nullptr || *name == '\0') throw kel_UserException(message, "The name is empty. ");
  EpCoordinateService::CoordinateService_var service = kel_platform::coordinateService();
  EpCoordinateService::System_var system;
  try {
    system = service->getSystem(name);
  } catch (const EpTypes::BadArgumentsException& error) {
    throw kel_UserException(message, error.reason.in());
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
  if (CORBA::is_nil(system.in())) throw kel_UserException(message, "The service knows no such system. ");
  return kel_CoordSystem(kel_RemoteStub(system.in()), true);
}

bool kel_CoordSystem::isTimeSystem() const {
  EpCoordinateService::System_ptr remote = remoteOf(*this);
  if (remote == nullptr) return false;
  try {
    return remote->isTimeSystem();
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not ask whether the coordinate system is a time system. ",
                              kel_platform::describe(error));
  }
}

kel_cppUtil::String kel_CoordSystem::getName() const {
  EpCoordinateService::System_ptr remote = remoteOf(*this);
  if (remote == nullptr) return kel_cppUtil::String();
  try {
    CORBA::String_var name = remote->name();
    return kel_cppUtil::String(name.in());
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not read the name of the coordinate system. ",
                              kel_platform::describe(error));
  }
}

long kel_CoordSystem::getEpsgCode() const {
  EpCoordinateService::System_ptr remote = remoteOf(*this);
  if (remote == nullptr) return 0;
  try {
    return static_cast<long>(remote->epsgCode());
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not read the EPSG code of the coordinate system. ",
                              kel_platform::describe(error));
  }
}

bool kel_CoordSystem::operator==(const kel_CoordSystem& other) const {
  if (this == &other) return true;
  if (isNil() || other.isNil()) return isNil() == other.isNil();
  return getName() == other.getName();
}

// ---------------------------------------------------------------- points

kel_CoordPoint::kel_CoordPoint() : m_x(0.0), m_y(0.0), m_z(0.0) {}
kel_CoordPoint::kel_CoordPoint(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}
double kel_CoordPoint::getX() const { return m_x; }
double kel_CoordPoint::getY() const { return m_y; }
double kel_CoordPoint::getZ() const { return m_z; }
bool kel_CoordPoint::operator==(const kel_CoordPoint& other) const {
  return m_x == other.m_x && m_y == other.m_y && m_z == other.m_z;
}

kel_Coordinate::kel_Coordinate() : m_x(0.0), m_y(0.0), m_z(0.0) {}
kel_Coordinate::kel_Coordinate(const kel_CoordSystem& system, double x, double y, double z)
    : m_system(system), m_x(x), m_y(y), m_z(z) {}
kel_Coordinate::kel_Coordinate(const kel_Coordinate& other) = default;
kel_Coordinate& kel_Coordinate::operator=(const kel_Coordinate& other) = default;
kel_Coordinate::~kel_Coordinate() = default;
const kel_CoordSystem& kel_Coordinate::getSystem() const { return m_system; }
double kel_Coordinate::getX() const { return m_x; }
double kel_Coordinate::getY() const { return m_y; }
double kel_Coordinate::getZ() const { return m_z; }

kel_CoordinateArray::kel_CoordinateArray() = default;
kel_CoordinateArray::kel_CoordinateArray(const kel_CoordSystem& system,
                                         const kel_Array<kel_CoordPoint>& points)
    : m_system(system), m_points(points) {}
kel_CoordinateArray::kel_CoordinateArray(const kel_CoordinateArray& other) = default;
kel_CoordinateArray& kel_CoordinateArray::operator=(const kel_CoordinateArray& other) = default;
kel_CoordinateArray::~kel_CoordinateArray() = default;
const kel_CoordSystem& kel_CoordinateArray::getSystem() const { return m_system; }
const kel_Array<kel_CoordPoint>& kel_CoordinateArray::getPoints() const { return m_points; }
