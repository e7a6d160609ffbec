#include "Catalogues.h"

#include "core/RemoteErrors.h"
#include "core/FaultInjection.h"

#include "CoordinateSystems.h"
#include "ReferenceValues.h"
#include "UnitCatalogue.h"

namespace kelwelld {

namespace {

class BuiltInCatalogues : public Catalogues {
public:
  BuiltInCatalogues(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
                    const std::string& unitSystem, const std::string& defaultSystem)
      : m_units(orb, parent, unitSystem),
        m_systems(orb, parent, defaultSystem, m_units),
        m_values(orb, parent) {}

  EpUnitOfMeasureService::UnitService_ptr unitService() override { return m_units.service(); }
  EpCoordinateService::CoordinateService_ptr coordinateService() override {
    return m_systems.service();
  }
  EpReferenceValueService::ReferenceValueService_ptr referenceValueService() override {
    return m_values.service();
  }

  std::optional<UnitInfo> resolveUnit(EpUnitOfMeasureService::Unit_ptr unit) override {
    if (CORBA::is_nil(unit)) return UnitInfo{};
    InternalCall internal;
    const UnitDefinition* definition = nullptr;
    try {
      definition = m_units.resolve(unit);
    } catch (const CORBA::Exception&) {
      return std::nullopt;   // a foreign reference that does not answer
    }
    if (!definition) return std::nullopt;
    return UnitInfo{definition->acronym, definition->quantity};
  }

  EpUnitOfMeasureService::Unit_ptr unitReference(const std::string& acronym) override {
    const UnitDefinition* definition = m_units.catalogue().find(acronym);
    if (!definition) return EpUnitOfMeasureService::Unit::_nil();
    return m_units.reference(*definition);
  }

  std::optional<std::string> resolveSystem(EpCoordinateService::System_ptr system) override {
    if (CORBA::is_nil(system)) return std::string();
    InternalCall internal;
    std::string name;
    try {
      name = m_systems.resolve(system);
    } catch (const CORBA::Exception&) {
      return std::nullopt;
    }
    if (!m_systems.systems().isKnown(name)) return std::nullopt;
    return name;
  }

  EpCoordinateService::System_ptr systemReference(const std::string& name) override {
    try {
      return m_systems.reference(name);
    } catch (const EpTypes::BadArgumentsException&) {
      return EpCoordinateService::System::_nil();
    }
  }

  void transform(const std::string& from, const std::string& to, std::vector<XYZ>& points) override {
    std::vector<Point> converted;
    converted.reserve(points.size());
    for (const XYZ& p : points) converted.push_back({p.x, p.y, p.z});
    try {
      m_systems.transform(from, to, converted);
    } catch (const EpTypes::BadArgumentsException& e) {
      throw EpCoordinateService::NoKnownTransformException(e.reason.in());
    }
    for (std::size_t i = 0; i < points.size(); ++i)
      points[i] = {converted[i].x, converted[i].y, converted[i].z};
  }

  std::string defaultSystem() override { return m_systems.defaultSystem(); }
  std::string preferredTimeSystem() override { return m_systems.preferredTimeSystem(); }

  SystemUnits systemUnits(const std::string& name) override {
    try {
      const SystemInfo info = m_systems.systems().lookup(name);
      return {info.epsgCode, info.isTimeSystem, info.horizontalUnit, info.verticalUnit};
    } catch (const EpTypes::BadArgumentsException& e) {
      throw EpCoordinateService::NoKnownTransformException(e.reason.in());
    }
  }

  double pointScaleFactor(const std::string& name, double x, double y) override {
    return m_systems.systems().pointScaleFactor(name, x, y);
  }

  void registerLocalSystem(const std::string& name, const std::string& horizontalUnit,
                           const std::string& verticalUnit, const std::string& description) override {
    m_systems.systems().registerLocal(name, {horizontalUnit, verticalUnit, false, description});
  }

  bool isCode(const std::string& setName, const std::string& code) override {
    return m_values.contains(setName, code);
  }

private:
  UnitRegistry m_units;
  CoordinateRegistry m_systems;
  ReferenceValueRegistry m_values;
};


} // namespace

std::unique_ptr<Catalogues> makeCatalogues(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
                                           const std::string& unitSystem,
                                           const std::string& defaultSystem) {
  return std::make_unique<BuiltInCatalogues>(orb, parent, unitSystem, defaultSystem);
}

} // namespace kelwelld
