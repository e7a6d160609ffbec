// What the entity servants need of the catalogues (units, coordinate systems,
// reference values): the services' references, resolving the references a
// client sends, making references to return, transforms and code checks.
#ifndef KELWELLD_CATALOGUES_H
#define KELWELLD_CATALOGUES_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <EpCoordinateService.hh>
#include <EpReferenceValueService.hh>
#include <EpUnitOfMeasureService.hh>

namespace kelwelld {

struct UnitInfo {
  std::string acronym;    // canonical acronym; "" for the nil unit
  std::string quantity;   // quantity class, for example "length"
};

struct XYZ {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

class Catalogues {
public:
  virtual ~Catalogues() = default;

  // New references, owned by the caller (nil when the catalogue is missing).
  virtual EpUnitOfMeasureService::UnitService_ptr unitService() = 0;
  virtual EpCoordinateService::CoordinateService_ptr coordinateService() = 0;
  virtual EpReferenceValueService::ReferenceValueService_ptr referenceValueService() = 0;

  // The unit behind a reference: {"", ""} for nil, nullopt for a unit the
  // catalogue does not know.
  virtual std::optional<UnitInfo> resolveUnit(EpUnitOfMeasureService::Unit_ptr unit) = 0;
  // A reference to the unit with that acronym; nil when unknown.
  virtual EpUnitOfMeasureService::Unit_ptr unitReference(const std::string& acronym) = 0;

  // The name of a system: "" for nil, nullopt for one the catalogue does not know.
  virtual std::optional<std::string> resolveSystem(EpCoordinateService::System_ptr system) = 0;
  // A reference to the named system; nil when unknown.
  virtual EpCoordinateService::System_ptr systemReference(const std::string& name) = 0;
  // points, given in from, expressed in to. NoKnownTransformException when
  // no transform exists.
  virtual void transform(const std::string& from, const std::string& to, std::vector<XYZ>& points) = 0;
  virtual std::string defaultSystem() = 0;
  virtual std::string preferredTimeSystem() = 0;

  // What wellbore paths need of a system: its units and domain (horizontal
  // unit "dega" for a geographic one), the point scale factor of a projected
  // one (1 otherwise), and registering the systems local to a wellbore.
  // NoKnownTransformException for an unknown system.
  struct SystemUnits {
    long epsgCode = 0;   // 0 for a local system
    bool isTimeSystem = false;
    std::string horizontalUnit;
    std::string verticalUnit;
  };
  virtual SystemUnits systemUnits(const std::string& name) = 0;
  virtual double pointScaleFactor(const std::string& name, double x, double y) = 0;
  virtual void registerLocalSystem(const std::string& name, const std::string& horizontalUnit,
                                   const std::string& verticalUnit, const std::string& description) = 0;

  // Whether code is a value of the reference value set setName ("Kelvast").
  virtual bool isCode(const std::string& setName, const std::string& code) = 0;
};

// The catalogues with their servants under parent. std::invalid_argument or
// EpTypes::BadArgumentsException for a bad unit system or default system.
std::unique_ptr<Catalogues> makeCatalogues(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
                                           const std::string& unitSystem,
                                           const std::string& defaultSystem);

} // namespace kelwelld

#endif
