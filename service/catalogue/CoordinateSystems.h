// Coordinate systems of the service and transforms between them, over PROJ.
//
// Names:
//   "EPSG:<code>"      a horizontal (geographic, projected or compound) system
//                      of the EPSG registry, z in the depth domain;
//   "EPSG:<code>+TWT"  the same horizontal system with two-way time as z;
//   "LOCAL:<...>"      a system local to one wellbore, registered by the
//                      wellbore code, with no transform to any other system.
// Points are transformed horizontally (x = easting or longitude, y = northing
// or latitude, whatever the registry's axis order); z is carried unchanged.
#ifndef KELWELLD_CATALOGUE_COORDINATESYSTEMS_H
#define KELWELLD_CATALOGUE_COORDINATESYSTEMS_H

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <omniORB4/CORBA.h>

#include <EpCoordinateService.hh>

#include "UnitCatalogue.h"

namespace kelwelld {

struct Point {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// What the service knows of one system.
struct SystemInfo {
  std::string name;             // "EPSG:32631", "EPSG:32631+TWT", "LOCAL:XY_TVD:<wellbore>"
  long epsgCode = 0;            // 0 for local systems
  bool isTimeSystem = false;
  std::string horizontalUnit;   // canonical unit acronym of x and y ("m", "dega", "ftUS", ...)
  std::string verticalUnit;     // canonical unit acronym of z ("m", "ft", "ms", ...)
  std::string description;      // the registry's name of the system, or the local one's
};

// A local system as the wellbore code describes it.
struct LocalSystem {
  std::string horizontalUnit;   // acronyms or aliases of the unit catalogue
  std::string verticalUnit;
  bool isTimeSystem = false;
  std::string description;
};

// The systems and the transforms, without the ORB. Thread-safe: one PROJ
// context behind a lock; built transforms are kept for reuse.
class CoordinateSystems {
public:
  explicit CoordinateSystems(const UnitCatalogue& units = UnitCatalogue::builtIn());
  ~CoordinateSystems();
  CoordinateSystems(const CoordinateSystems&) = delete;
  CoordinateSystems& operator=(const CoordinateSystems&) = delete;

  // The system of that name. EpTypes::BadArgumentsException naming it when the
  // name is malformed, the EPSG code unknown or not a horizontal system, or a
  // local system is not registered.
  SystemInfo lookup(const std::string& name) const;
  bool isKnown(const std::string& name) const;

  // Registers (or confirms) a local system; name must start with "LOCAL:".
  // EpTypes::BadArgumentsException for another name, an unknown unit, or a
  // name already registered with different units.
  void registerLocal(const std::string& name, const LocalSystem& system);

  // Asked for a "LOCAL:" name that is not registered (for example after a
  // restart); returns the system to register, or nothing when it is unknown.
  using LocalResolver = std::function<std::optional<LocalSystem>(const std::string& name)>;
  void setLocalResolver(LocalResolver resolver);

  // The point scale factor of a projected system at (x, y), given in that
  // system: ground distance times the factor is grid distance there (PROJ's
  // proj_factors). 1 for a geographic system. NoKnownTransformException when
  // PROJ cannot place the point.
  double pointScaleFactor(const std::string& name, double x, double y) const;

  // points, given in from, expressed in to; on failure points are unchanged.
  // Same system: nothing to do. EpCoordinateService::NoKnownTransformException,
  // with a text that says why, for an unknown system, between time and depth
  // domains, from or to a local system, or when PROJ cannot build or apply
  // the transform (the remote transforms raise nothing else).
  void transform(const std::string& from, const std::string& to, std::vector<Point>& points) const;

  struct Impl;

private:
  std::unique_ptr<Impl> m_impl;
};

// Owns the remote coordinate objects: System objects in a PERSISTENT/USER_ID
// POA ("CoordinateSystems", object id = the system's name) with one default
// servant, and the CoordinateService object in its own persistent POA
// ("CoordinateService"), both under the parent POA passed in.
class CoordinateRegistry {
public:
  // defaultSystem is the service's --crs ("EPSG:4326" unless configured); a
  // depth-domain EPSG system. EpTypes::BadArgumentsException when it is not.
  CoordinateRegistry(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
                     const std::string& defaultSystem, UnitRegistry& units);
  ~CoordinateRegistry();
  CoordinateRegistry(const CoordinateRegistry&) = delete;
  CoordinateRegistry& operator=(const CoordinateRegistry&) = delete;

  // New references, owned by the caller.
  EpCoordinateService::CoordinateService_ptr service();
  // EpTypes::BadArgumentsException for an unknown system.
  EpCoordinateService::System_ptr reference(const std::string& name);

  // The name behind a reference a client sent; "" for nil. A reference of our
  // own POA is read from its object id; any other is asked for its name.
  std::string resolve(EpCoordinateService::System_ptr system) const;

  // As CoordinateSystems::transform.
  void transform(const std::string& from, const std::string& to, std::vector<Point>& points) const;

  const std::string& defaultSystem() const;
  const std::string& preferredDepthSystem() const;   // the default system
  const std::string& preferredTimeSystem() const;    // the default system's "+TWT" twin

  CoordinateSystems& systems();
  const CoordinateSystems& systems() const;

  struct Impl;

private:
  std::unique_ptr<Impl> m_impl;
};

} // namespace kelwelld

#endif
