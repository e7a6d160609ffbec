// The Well and WellBore servants, one default servant per interface serving
// both the stored POA and the storeless one (each call finds its entity by
// the object id it was made on), and their factories.
#ifndef KELWELLD_WELLSERVANTS_H
#define KELWELLD_WELLSERVANTS_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <EpiWell.hh>

#include "catalogue/Catalogues.h"
#include "engine/PathGeometry.h"
#include "servants/EntityServant.h"
#include "servants/Factories.h"

namespace kelwelld {

struct StoredPath;

class WellServant : public EntityServant<POA_EpiWell::Well, WellRecord> {
public:
  explicit WellServant(Context& context);

  char* getLastModified(const char* selector) override;

  char* getCountry() override;
  void setCountry(const char* value) override;
  char* getCounty() override;
  void setCounty(const char* value) override;
  char* getCurrentOperator() override;
  void setCurrentOperator(const char* value) override;
  char* getField() override;
  void setField(const char* value) override;
  char* getPlatformIdentifier() override;
  void setPlatformIdentifier(const char* value) override;
  char* getStateOrProvince() override;
  void setStateOrProvince(const char* value) override;
  char* getWellStatus() override;
  void setWellStatus(const char* value) override;
  char* getSpudDate() override;
  void setSpudDate(const char* value) override;
  EpiTypes::DataQuantity* getWaterDepth() override;
  void setWaterDepth(const EpiTypes::DataQuantity& value) override;
  EpCoordinateService::Coordinate* getLocation(EpCoordinateService::System_ptr system) override;
  void setLocation(const EpCoordinateService::Coordinate& value) override;
  CosPropertyService::Property* getIdentifier() override;
  CosPropertyService::Properties* getAliases() override;
  void setAliases(const CosPropertyService::Properties& aliases) override;
  EpEntity::EntitySeq* getWellBores() override;

private:
  void setText(const char* operation, std::string WellRecord::*member, const char* value);
};

class WellBoreServant : public EntityServant<POA_EpiWell::WellBore, WellBoreRecord> {
public:
  explicit WellBoreServant(Context& context);

  char* getLastModified(const char* selector) override;

  char* getBoreStatus() override;
  void setBoreStatus(const char* value) override;
  char* getFlowDirection() override;
  void setFlowDirection(const char* value) override;
  char* getFluidType() override;
  void setFluidType(const char* value) override;
  char* getShowType() override;
  void setShowType(const char* value) override;
  EpiWell::WellBore::TotalDepthReference getTotalDepthType() override;
  void setTotalDepthType(EpiWell::WellBore::TotalDepthReference value) override;
  EpiWell::WellBore::CalculationMethod getCalcMethod() override;
  void setCalcMethod(EpiWell::WellBore::CalculationMethod value) override;
  EpiWell::WellBore::WellDepthDatum getElevationDatum() override;
  void setElevationDatum(EpiWell::WellBore::WellDepthDatum value) override;
  EpiTypes::DataQuantity* getTotalDepth() override;
  void setTotalDepth(const EpiTypes::DataQuantity& value) override;
  EpiTypes::DataQuantity* getPlugBackTotalDepth() override;
  void setPlugBackTotalDepth(const EpiTypes::DataQuantity& value) override;
  EpiTypes::DataQuantity* getElevation() override;
  void setElevation(const EpiTypes::DataQuantity& value) override;
  char* getCompletionDate() override;
  void setCompletionDate(const char* value) override;
  CosPropertyService::Property* getIdentifier() override;
  EpiWell::Well_ptr getWell() override;
  CosPropertyService::Properties* getAliases() override;
  void setAliases(const CosPropertyService::Properties& aliases) override;

  EpGeometry::Polyline_ptr getDepthPath(EpCoordinateService::System_ptr system) override;
  EpGeometry::Polyline_ptr getTimePath(EpiWell::WellVelocity_ptr velocity) override;
  EpCoordinateService::Coordinate* getPathLastPoint(EpCoordinateService::System_ptr system) override;
  EpCoordinateService::Coordinates* getLocations(const EpiTypes::DataQuantities& measuredDepths,
                                                 EpCoordinateService::System_ptr system,
                                                 EpiWell::WellVelocity_ptr velocity) override;
  EpiWell::WellBore::PathData* getPathData(EpTypes::DataType type,
                                           EpUnitOfMeasureService::Unit_ptr distanceUnit,
                                           EpUnitOfMeasureService::Unit_ptr depthUnit,
                                           EpUnitOfMeasureService::Unit_ptr timeUnit) override;
  void setPathData(const EpiWell::WellBore::PathData& data) override;
  void setSurveyStations(const EpiTypes::DataQuantities& md, const EpiTypes::DataQuantities& inclination,
                         const EpiTypes::DataQuantities& azimuth) override;
  EpiWell::Depths* convertDepths(const EpiWell::Depths& depths, EpTypes::DataType type,
                                 EpUnitOfMeasureService::Unit_ptr unit, EpiWell::DepthType target) override;
  EpCoordinateService::System_ptr createLocalXYTvd(EpUnitOfMeasureService::Unit_ptr xUnit,
                                                   EpUnitOfMeasureService::Unit_ptr yUnit,
                                                   EpUnitOfMeasureService::Unit_ptr zUnit) override;
  EpCoordinateService::System_ptr createLocalDxDyMd(EpUnitOfMeasureService::Unit_ptr xUnit,
                                                    EpUnitOfMeasureService::Unit_ptr yUnit,
                                                    EpUnitOfMeasureService::Unit_ptr zUnit) override;
  EpCoordinateService::System_ptr createLocalDxDyTvd(EpUnitOfMeasureService::Unit_ptr xUnit,
                                                     EpUnitOfMeasureService::Unit_ptr yUnit,
                                                     EpUnitOfMeasureService::Unit_ptr zUnit) override;

  EpiWell::WellVelocity_ptr getDefaultWellVelocity() override;
  void setDefaultWellVelocity(EpiWell::WellVelocity_ptr velocity) override;
  EpEntity::EntitySeq* getLogTraces() override;
  EpEntity::EntitySeq* getPicks() override;
  EpEntity::EntitySeq* getWellVelocities() override;

private:
  void setCode(const char* operation, std::string WellBoreRecord::*member, const char* value,
               const char* attribute, const char* setName);
  short enumeration(const char* operation, short WellBoreRecord::*member);
  void setEnumeration(const char* operation, short WellBoreRecord::*member, short value, short last,
                      const char* attribute);
  EpiTypes::DataQuantity* quantity(const char* operation, Quantity WellBoreRecord::*member);
  void setQuantity(const char* operation, Quantity WellBoreRecord::*member,
                   const EpiTypes::DataQuantity& value, const char* attribute);

  // The path operations (WellPathServants.cpp).
  struct PathCall;
  PathCall pathCall(const char* operation);
  std::string systemAsked(EpCoordinateService::System_ptr system, const PathCall& call);
  // Positions as points of system; time systems need the velocity function
  // (nil: the default) and only the operations that take one allow them.
  std::vector<XYZ> place(const PathCall& call, const std::vector<engine::Position>& positions,
                         const std::string& system, EpiWell::WellVelocity_ptr velocity, bool timeAllowed);
  void writePathOf(const char* operation, const StoredPath& path);
  EpCoordinateService::System_ptr createLocal(const char* operation, int kind, EpUnitOfMeasureService::Unit_ptr xUnit,
                                              EpUnitOfMeasureService::Unit_ptr zUnit);
};

// x and y (z left 0) of the wellbore's position at a measured depth (m) in
// system: on its path, or below the wellhead without path data. The one place
// other kinds place a point of a wellbore. InsufficientDataException for a
// depth outside the path; NoKnownTransformException as the path operations.
XYZ horizontalPositionAt(Context& context, const std::string& wellBoreId, double md, const std::string& system);

class NewWellFactoryServant : public FactoryServant<POA_EpiWell::NewWellFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::Well_ptr createWell(EpSession::Project_ptr project, const char* name,
                               const CosPropertyService::Property& identifier,
                               EpSession::Session_ptr session) override;
};

class StorelessWellFactoryServant : public FactoryServant<POA_EpiWell::StorelessWellFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::Well_ptr createWell(EpSession::Project_ptr project, const CosPropertyService::Property& identifier,
                               EpSession::Session_ptr session) override;
};

class NewWellBoreFactoryServant : public FactoryServant<POA_EpiWell::NewWellBoreFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::WellBore_ptr createWellBore(EpiWell::Well_ptr well, const CosPropertyService::Property& identifier,
                                       EpSession::Session_ptr session) override;
};

class StorelessWellBoreFactoryServant : public FactoryServant<POA_EpiWell::StorelessWellBoreFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::WellBore_ptr createWellBore(EpiWell::Well_ptr well, const CosPropertyService::Property& identifier,
                                       EpSession::Session_ptr session) override;
};

} // namespace kelwelld

#endif
