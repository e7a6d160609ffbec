#include "kel_WellBore.h"

#include <memory>
#include <string>

#include <EpiWell.hh>

#include "kel_CoordinateConverter.h"
#include "kel_FailureTranslation.h"
#include "kel_ReferenceValues.h"
#include "kel_RemoteAccess.h"
#include "kel_WellEnumConverter.h"
#include "kel_WellTypesConverter.h"
#include "kel_WellLogTrace.h"
#include "kel_WellPick.h"
#include "kel_WellVelocity.h"
#include "kel_WrapperCore.h"

using namespace kel_translation;
using Core = kel_WrapperCore<kel_WellBore>;
using Remote = Core::Objref;

template class kel_Array<kel_WellBore>;

// ---------------------------------------------------------------- the wrapper core

kel_WellBore::kel_WellBore() = default;

kel_WellBore::kel_WellBore(const kel_RemoteStub& stub, bool duplicate)
    : kel_Entity(Core::typedStub(stub), false) {
  Core::adopt(*this, stub, duplicate);
}

kel_WellBore::kel_WellBore(const kel_WellBore& other, bool duplicate) : kel_Entity(other, false) {
  assignment(other, duplicate);
}

kel_WellBore::~kel_WellBore() = default;

kel_WellBore& kel_WellBore::operator=(const kel_WellBore& other) { return Core::copy(*this, other); }
bool kel_WellBore::operator==(const kel_WellBore& other) const { return Core::equal(*this, other); }
bool kel_WellBore::operator<(const kel_WellBore& other) const { return Core::less(*this, other); }

void kel_WellBore::assignment(const kel_WellBore& other, bool duplicate) {
  Core::assignment(*this, other, duplicate);
}
void* kel_WellBore::getBaseObject() const { return Core::baseObject(*this); }
kel_cppUtil::String kel_WellBore::getClassName() const { return Core::className(); }
kel_WellString kel_WellBore::getEntityType() { return Core::entityType(); }
kel_WellString kel_WellBore::getRepositoryId() { return Core::repositoryId(); }
kel_Project kel_WellBore::getProject() const { return Core::project(*this); }

kel_WellBore kel_WellBore::narrow(const kel_Entity& entity, bool mustMatch) {
  return Core::narrow(entity, mustMatch);
}

kel_Array<kel_WellBore> kel_WellBore::narrow(const kel_Array<kel_Entity>& entities, bool mustMatch) {
  return Core::narrowArray(entities, mustMatch);
}

kel_WellBore kel_WellBore::getFromString(const kel_WellString& text) { return Core::fromString(text); }

kel_Array<kel_WellBore> kel_WellBore::getWellBoresInProject(const kel_Project& project) {
  return Core::inProject(project);
}

#if !KELWELL_EARLIER_INTERFACE
kel_Array<kel_WellBore> kel_WellBore::getWellBoresOfWell(const kel_Well& well) {
  return translate(Msg{"Couldn't return any WellBore objects for the given well. "},
                   Where{"kel_WellBore", "getWellBoresOfWell"}, Standard(), [&] {
                     EpEntity::EntitySeq_var bores = kel_WrapperCore<kel_Well>::remote(well)->getWellBores();
                     return Core::fromSequence(bores.in());
                   });
}
#endif

// ---------------------------------------------------------------- relations

kel_WellVelocity kel_WellBore::getDefaultWellVelocity() const {
  return translate(Msg{"Could not return this wellbore's default velocity object. "},
                   Where{"kel_WellBore", "getDefaultWellVelocity"}, Standard(Store), [&] {
                     EpiWell::WellVelocity_var velocity = Core::remote(*this)->getDefaultWellVelocity();
                     if (CORBA::is_nil(velocity.in())) return kel_WellVelocity();
                     return kel_WrapperCore<kel_WellVelocity>::wrap(velocity.in());
                   });
}

void kel_WellBore::setDefaultWellVelocity(const kel_WellVelocity& velocity) {
  translate(Msg{"Could not update this wellbore's default velocity object. "},
            Where{"kel_WellBore", "setDefaultWellVelocity"}, Standard(Store, Validation), [&] {
              Core::remote(*this)->setDefaultWellVelocity(kel_remote::rawOrNil<EpiWell::WellVelocity>(velocity));
            });
}

kel_Array<kel_WellLogTrace> kel_WellBore::getLogTraces() const {
  return translate(Msg{"Could not return the well log objects for this wellbore. "},
                   Where{"kel_WellBore", "getLogTraces"}, Standard(Store), [&] {
                     EpEntity::EntitySeq_var traces = Core::remote(*this)->getLogTraces();
                     return kel_WrapperCore<kel_WellLogTrace>::fromSequence(traces.in());
                   });
}

kel_Array<kel_WellPick> kel_WellBore::getPicks() const {
  return translate(Msg{"Could not return the well pick objects for this wellbore. "},
                   Where{"kel_WellBore", "getPicks"}, Standard(Store), [&] {
                     EpEntity::EntitySeq_var picks = Core::remote(*this)->getPicks();
                     return kel_WrapperCore<kel_WellPick>::fromSequence(picks.in());
                   });
}

kel_Array<kel_WellVelocity> kel_WellBore::getWellVelocities() const {
  return translate(Msg{"Could not return he well velocity objects for this wellbore. "},
                   Where{"kel_WellBore", "getWellVelocities"}, Standard(Store), [&] {
                     EpEntity::EntitySeq_var velocities = Core::remote(*this)->getWellVelocities();
                     return kel_WrapperCore<kel_WellVelocity>::fromSequence(velocities.in());
                   });
}

// ---------------------------------------------------------------- creation

namespace {

constexpr kel_CreatorTexts storelessTexts{"The EpiWell::StorelessWellBoreFactory came back nil. ",
                                          "The EpiWell::WellBore came back nil. "};
constexpr kel_CreatorTexts newTexts{"The EpiWell::NewWellBoreFactory came back nil. ",
                                    "The EpiWell::WellBore came back nil. "};

} // namespace

kel_WellBore kel_WellBore::createStorelessWellBore(const kel_Well& well, const kel_StringPair& identifier,
                                                   const kel_Session& session) {
  return translate(
      Msg{"Could not create a storeless wellbore from given inputs. "},
      Where{"kel_WellBore", "createStorelessWellBore"}, Standard(Store, FailedOperation, NoFactory),
      [&] {
        return Core::createStoreless(
            session, storelessTexts,
            [&](EpiWell::StorelessWellBoreFactory_ptr factory, EpSession::Session_ptr remoteSession) {
              const CosPropertyService::Property property = kel_remote::makeProperty(identifier);
              return factory->createWellBore(kel_remote::rawOrNil<EpiWell::Well>(well), property,
                                             remoteSession);
            });
      });
}

kel_WellBore kel_WellBore::createNewWellBore(const kel_Well& well, const kel_StringPair& identifier,
                                             const kel_Session& session) {
  return translate(Msg{"Could not create a new wellbore from given inputs. "},
                   Where{"kel_WellBore", "createNewWellBore"},
                   Standard(Store, FailedOperation, NoFactory), [&] {
                     return Core::createNew(
                         session, well, newTexts,
                         [&](EpiWell::NewWellBoreFactory_ptr factory, EpSession::Session_ptr remoteSession) {
                           const CosPropertyService::Property property = kel_remote::makeProperty(identifier);
                           return factory->createWellBore(kel_remote::rawOrNil<EpiWell::Well>(well), property,
                                                          remoteSession);
                         });
                   });
}

// ---------------------------------------------------------------- codes

kel_WellString kel_WellBore::getBoreStatus() const {
  return Core::getText(*this, &Remote::getBoreStatus,
                       Msg{"Could not return the code representing the operational state of this wellbore. "},
                       Where{"kel_WellBore", "getBoreStatus"}, Standard(Store));
}

void kel_WellBore::setBoreStatus(const kel_WellString& boreStatus) {
  Core::setText(*this, &Remote::setBoreStatus, boreStatus,
                Msg{"Could not update the code representing the operational state of this wellbore. "},
                Where{"kel_WellBore", "setBoreStatus"}, Standard(Store, Validation));
}

kel_WellString kel_WellBore::getFlowDirection() const {
  return Core::getText(*this, &Remote::getFlowDirection,
                       Msg{"Could not return the flow direction of the wellbore. "},
                       Where{"kel_WellBore", "getFlowDirection"}, Standard(Store));
}

void kel_WellBore::setFlowDirection(const kel_WellString& flowDirection) {
  Core::setText(*this, &Remote::setFlowDirection, flowDirection,
                Msg{"Could not update the flow direction of the wellbore. "},
                Where{"kel_WellBore", "setFlowDirection"}, Standard(Validation, Store));
}

kel_WellString kel_WellBore::getFluidType() const {
  return Core::getText(*this, &Remote::getFluidType,
                       Msg{"Could not return the fluid type of the wellbore. "},
                       Where{"kel_WellBore", "getFluidType"}, Standard(Store));
}

void kel_WellBore::setFluidType(const kel_WellString& fluidType) {
  Core::setText(*this, &Remote::setFluidType, fluidType,
                Msg{"Could not update the fluid type of the wellbore. "},
                Where{"kel_WellBore", "setFluidType"}, Standard(Validation, Store));
}

kel_WellString kel_WellBore::getShowType() const {
  return Core::getText(*this, &Remote::getShowType,
                       Msg{"Could not return the show type of the wellbore. "},
                       Where{"kel_WellBore", "getShowType"}, Standard(Store));
}

void kel_WellBore::setShowType(const kel_WellString& showType) {
  Core::setText(*this, &Remote::setShowType, showType,
                Msg{"Could not update the show type of the wellbore. "},
                Where{"kel_WellBore", "setShowType"}, Standard(Validation, Store));
}

// ---------------------------------------------------------------- lists of valid codes

kel_Array<kel_WellString> kel_WellBore::getFromRVS(const kel_WellString& setName) {
  return translate(
      Msg{"Could not create a list of reference values from the Reference Value Service. "},
      Where{"kel_WellBore", "getFromRVS"}, Standard(FailedOperation, NotFound),
      [&] { return kel_referenceValues(setName, "EpReferenceValueService::ReferenceValueSet came back nil"); });
}

kel_Array<kel_WellString> kel_WellBore::getValidFlowDirections() {
  return translate(Msg{"Could not return a list of valid flow directions. "},
                   Where{"kel_WellBore", "getValidFlowDirections"}, WithoutCorbaClause(),
                   [] { return getFromRVS("FlowDirection"); });
}

kel_Array<kel_WellString> kel_WellBore::getValidBoreStatuses() {
  return translate(Msg{"Could not return a list of valid bore statuses. "},
                   Where{"kel_WellBore", "getValidBoreStatuses"}, WithoutCorbaClause(),
                   [] { return getFromRVS("WellboreStatus"); });
}

kel_Array<kel_WellString> kel_WellBore::getValidFluidTypes() {
  return translate(Msg{"Could not return a list of valid fluid types. "},
                   Where{"kel_WellBore", "getValidFluidTypes"}, WithoutCorbaClause(),
                   [] { return getFromRVS("GenericFluidComponent"); });
}

kel_Array<kel_WellString> kel_WellBore::getValidShowTypes() {
  // Show types are codes of the same list as fluid types.
  return translate(Msg{"Could not return a list of valid show types. "},
                   Where{"kel_WellBore", "getValidShowTypes"}, WithoutCorbaClause(),
                   [] { return getFromRVS("GenericFluidComponent"); });
}

// ---------------------------------------------------------------- enumerations

kel_WellBore::TotalDepthReference kel_WellBore::getTotalDepthType() const {
  return Core::getEnum(*this, &Remote::getTotalDepthType, &kel_WellEnumConverter::makeKelTotalDepthReference,
                       Msg{"Could not return the type of bottom hole referenced by totalDepth. "},
                       Where{"kel_WellBore", "getTotalDepthType"}, Standard(Store));
}

void kel_WellBore::setTotalDepthType(TotalDepthReference totalDepthType) {
  Core::setEnum(*this, &Remote::setTotalDepthType, &kel_WellEnumConverter::makeEpiTotalDepthReference,
                totalDepthType, Msg{"Could not update the type of bottom hole referenced by totalDepth. "},
                Where{"kel_WellBore", "setTotalDepthType"}, Standard(Store, Validation));
}

void kel_WellBore::setCalcMethod(CalculationMethod calcMethod) {
  Core::setEnum(*this, &Remote::setCalcMethod, &kel_WellEnumConverter::makeEpiCalculationMethod, calcMethod,
                Msg{"Could not update the method used to compute the geometry of the well path. "},
                Where{"kel_WellBore", "setCalcMethod"}, Standard(Store, Validation));
}

kel_WellBore::CalculationMethod kel_WellBore::getCalcMethod() const {
  return Core::getEnum(*this, &Remote::getCalcMethod, &kel_WellEnumConverter::makeKelCalculationMethod,
                       Msg{"Could not return the method used to compute the geometry of the well path. "},
                       Where{"kel_WellBore", "getCalcMethod"}, Standard(Store));
}

kel_WellBore::WellDepthDatum kel_WellBore::getElevationDatum() const {
  return Core::getEnum(*this, &Remote::getElevationDatum, &kel_WellEnumConverter::makeKelWellDepthDatum,
                       Msg{"Could not return this wellbore's depth datum. "},
                       Where{"kel_WellBore", "getElevationDatum"}, Standard(Store));
}

void kel_WellBore::setElevationDatum(WellDepthDatum elevationDatum) {
  Core::setEnum(*this, &Remote::setElevationDatum, &kel_WellEnumConverter::makeEpiWellDepthDatum, elevationDatum,
                Msg{"Could not update this wellbore's depth datum. "}, Where{"kel_WellBore", "setElevationDatum"},
                Standard(Store, Validation));
}

// ---------------------------------------------------------------- depths

kel_FloatQuantity kel_WellBore::getTotalDepth(const kel_Unit& unit) const {
  return Core::getQuantity(*this, &Remote::getTotalDepth, unit,
                           Msg{"Could not return the measured depth from well datum to bottom hole. "},
                           Where{"kel_WellBore", "getTotalDepth"}, Standard(Store));
}

kel_FloatQuantity kel_WellBore::getTotalDepth() const {
  return Core::getQuantityInDefaultUnit(
      *this, &kel_WellBore::getTotalDepth, &kel_UnitMeasureSet::depthUnit,
      Msg{"Could not return the measured depth from well datum to bottom hole using default unit. "},
      Where{"kel_WellBore", "getTotalDepth"}, Standard(Store));
}

void kel_WellBore::setTotalDepth(const kel_FloatQuantity& totalDepth) {
  Core::setQuantity(*this, &Remote::setTotalDepth, totalDepth,
                    Msg{"Could not update the measured depth from well datum to bottom hole. "},
                    Where{"kel_WellBore", "setTotalDepth"}, Standard(Store, Validation));
}

kel_FloatQuantity kel_WellBore::getPlugBackTotalDepth(const kel_Unit& unit) const {
  return Core::getQuantity(*this, &Remote::getPlugBackTotalDepth, unit,
                           Msg{"Could not return the depth represents the measured depth of this "
                               "wellbore after drilling has been completed. "},
                           Where{"kel_WellBore", "getPlugBackTotalDepth"}, Standard(Store));
}

kel_FloatQuantity kel_WellBore::getPlugBackTotalDepth() const {
  return Core::getQuantityInDefaultUnit(*this, &kel_WellBore::getPlugBackTotalDepth, &kel_UnitMeasureSet::depthUnit,
                                        Msg{"Could not return the depth represents the measured depth of this "
                                            "wellbore after drilling has been completed using a default unit. "},
                                        Where{"kel_WellBore", "getPlugBackTotalDepth"}, Standard());
}

void kel_WellBore::setPlugBackTotalDepth(const kel_FloatQuantity& plugBackTotalDepth) {
  Core::setQuantity(*this, &Remote::setPlugBackTotalDepth, plugBackTotalDepth,
                    Msg{"Could not update the depth represents the measured depth of this "
                        "wellbore after drilling has been completed. "},
                    Where{"kel_WellBore", "setPlugBackTotalDepth"}, Standard(Validation, Store));
}

kel_FloatQuantity kel_WellBore::getElevation(const kel_Unit& unit) const {
  return Core::getQuantity(*this, &Remote::getElevation, unit,
                           Msg{"Could not return the distance from the regional vertical datum. "},
                           Where{"kel_WellBore", "getElevation"}, Standard(Store));
}

kel_FloatQuantity kel_WellBore::getElevation() const {
  return Core::getQuantityInDefaultUnit(
      *this, &kel_WellBore::getElevation, &kel_UnitMeasureSet::depthUnit,
      Msg{"Could not return the distance from the regional vertical datum using default unit. "},
      Where{"kel_WellBore", "getElevation"}, Standard(Store));
}

void kel_WellBore::setElevation(const kel_FloatQuantity& elevation) {
  Core::setQuantity(*this, &Remote::setElevation, elevation,
                    Msg{"Could not update the distance from the regional vertical datum. "},
                    Where{"kel_WellBore", "setElevation"}, Standard(Store, Validation));
}

// ---------------------------------------------------------------- dates, identifier, well, aliases

kel_Date kel_WellBore::getCompletionDate() const {
  return Core::getDate(*this, &Remote::getCompletionDate, Msg{"Could not return the wellbore's completion date. "},
                       Where{"kel_WellBore", "getCompletionDate"}, Standard(Store));
}

void kel_WellBore::setCompletionDate(const kel_Date& completionDate) {
  Core::setDate(*this, &Remote::setCompletionDate, completionDate,
                Msg{"Could not update the wellbore's completion date. "}, Where{"kel_WellBore", "setCompletionDate"},
                Standard(Store, Validation));
}

kel_Date kel_WellBore::getLastModified(kel_WellString selector) const {
  return translate(Msg{"Could not return the last modified date of the wellbore. "},
                   Where{"kel_WellBore", "getLastModified"}, Standard(Store, Validation), [&] {
                     CORBA::String_var text =
                         Core::remote(*this)->getLastModified(static_cast<const char*>(selector));
                     return kel_Date::fromString(text.in());
                   });
}

kel_StringPair kel_WellBore::getIdentifier() const {
  return Core::getIdentifier(*this, &Remote::getIdentifier, Msg{"Could not return this well bore's identifier. "},
                             Where{"kel_WellBore", "getIdentifier"}, Standard(Store));
}

kel_Well kel_WellBore::getWell() const {
  return translate(Msg{"Could not return the well which this wellbore belongs to. "},
                   Where{"kel_WellBore", "getWell"}, Standard(Store), [&] {
                     EpiWell::Well_var well = Core::remote(*this)->getWell();
                     if (CORBA::is_nil(well.in()))
                       throw kel_SystemException("The EpiWell::Well came back nil. ");
                     return kel_WrapperCore<kel_Well>::wrap(well.in());
                   });
}

kel_Array<kel_StringPair> kel_WellBore::getBoreAliases() const {
  return Core::getAliases(*this, &Remote::getAliases, Msg{"Could not return a list of this wellbore's aliases. "},
                          Where{"kel_WellBore", "getBoreAliases"}, Standard(Store));
}

void kel_WellBore::setBoreAliases(const kel_Array<kel_StringPair>& aliases) {
  Core::setAliases(*this, &Remote::setAliases, aliases, Msg{"Could not update this wellbore's list of aliases. "},
                   Where{"kel_WellBore", "setBoreAliases"}, Standard(Store, Validation));
}

// ---------------------------------------------------------------- path geometry

namespace {

using SystemRef = EpCoordinateService::System;

// The points of a polyline the wellbore answered, in system (nil: the
// polyline's own). The further iterator the query hands back is not used.
kel_CoordinateArray coordinatesOf(EpGeometry::Polyline_ptr polyline, SystemRef::_ptr_type system) {
  if (CORBA::is_nil(polyline)) throw kel_SystemException("The EpGeometry::Polyline came back nil. ");
  EpCoordinateService::Coordinates_var coordinates;
  EpGeometry::PointIterator_var rest;
  polyline->getCoordinates(system, polyline->numPoints(), coordinates.out(), rest.out());
  return kel_CoordinateConverter::makeKelCoordinateArray(coordinates.in());
}

std::unique_ptr<EpiTypes::DataQuantities> remoteQuantities(const kel_FloatQuantities& values) {
  return kel_DataQuantityConverter::makeDataQuantities(values);
}

} // namespace

kel_CoordSystem kel_WellBore::systemOf(PathType pathType) const {
  switch (pathType) {
  case PREFERRED_DEPTH: return kel_CoordSystem::getPreferredDepthSystem();
  case PREFERRED_TIME: return kel_CoordSystem::getPreferredTimeSystem();
  case LOCAL_XY_TVD: return createLocalXYTvd();
  case LOCAL_DXDY_MD: return createLocalDxDyMd();
  case LOCAL_DXDY_TVD: return createLocalDxDyTvd();
  }
  kel_cppUtil::String text("The given pathType couldn't be mapped. ");
  text += std::to_string(static_cast<int>(pathType)).c_str();
  throw kel_SystemException(text);
}

kel_CoordinateArray kel_WellBore::getPath(const kel_CoordSystem& coordSystem) const {
  return translate(Msg{"Could not return the well path for this wellbore. "},
                   Where{"kel_WellBore", "getPath (coordSystem)"}, Standard(NoKnownTransform, Store), [&] {
                     SystemRef::_ptr_type system = kel_remote::rawOrNil<SystemRef>(coordSystem);
                     const bool inTime = !CORBA::is_nil(system) && system->isTimeSystem();
                     // In time: the wellbore's default velocity function.
                     EpGeometry::Polyline_var polyline =
                         inTime ? Core::remote(*this)->getTimePath(EpiWell::WellVelocity::_nil())
                                : Core::remote(*this)->getDepthPath(system);
                     return coordinatesOf(polyline.in(), system);
                   });
}

kel_CoordinateArray kel_WellBore::getPath(PathType pathType) const {
  return translate(Msg{"Could not return the well path for this wellbore. "},
                   Where{"kel_WellBore", "getPath(pathType)"}, Standard(),
                   [&] { return getPath(systemOf(pathType)); });
}

kel_Coordinate kel_WellBore::getPathLastPoint(const kel_CoordSystem& coordSystem) const {
  return translate(Msg{"Could not return the last point in the well path for the desired coordinate system. "},
                   Where{"kel_WellBore", "getPathLastPoint(coordSystem)"},
                   StandardWithCorbaUser(NoKnownTransform, Store), [&] {
                     EpCoordinateService::Coordinate_var last = Core::remote(*this)->getPathLastPoint(
                         kel_remote::rawOrNil<SystemRef>(coordSystem));
                     return kel_CoordinateConverter::makeKelCoordinate(last.in());
                   });
}

kel_Coordinate kel_WellBore::getPathLastPoint(PathType pathType) const {
  return translate(Msg{"Could not return the last point in the well path. "},
                   Where{"kel_WellBore", "getPathLastPoint(pathType)"}, Standard(),
                   [&] { return getPathLastPoint(systemOf(pathType)); });
}

kel_CoordinateArray kel_WellBore::getLocation(const kel_FloatQuantities& md, const kel_CoordSystem& coordSystem) const {
  return translate(
      Msg{"Could not return the coordinates for the given measured depths in the given coordinate system. "},
      Where{"kel_WellBore", "getLocation(md, coordSystem)"},
      Standard(Conversion, InsufficientData,
               NoDefaultWellVelocity.split(NoDefaultWellVelocityOpening,
                                           "exception in the kel_WellBore::getLocation(md, coordSystem) method. "),
               NoKnownTransform, Store),
      [&] {
        SystemRef::_ptr_type system = kel_remote::rawOrNil<SystemRef>(coordSystem);
        const auto depths = remoteQuantities(md);
        EpCoordinateService::Coordinates_var points =
            Core::remote(*this)->getLocations(*depths, system, EpiWell::WellVelocity::_nil());
        return kel_CoordinateConverter::makeKelCoordinateArray(points.in());
      });
}

kel_CoordinateArray kel_WellBore::getLocation(const kel_FloatQuantities& md, PathType pathType) const {
  return translate(Msg{"Could not return the coordinates for the given measured depths. "},
                   Where{"kel_WellBore", "getLocation(md, pathType)"}, Standard(),
                   [&] { return getLocation(md, systemOf(pathType)); });
}

kel_WellBore::PathData kel_WellBore::getBoreData(const kel_Unit& distanceUnit, const kel_Unit& depthUnit,
                                                 const kel_Unit& timeUnit) const {
  using UnitRef = EpUnitOfMeasureService::Unit;
  return translate(Msg{"Could not return the structure describing the path of the bore. "},
                   Where{"kel_WellBore", "getBoreData(distanceUnit, depthUnit, timeUnit)"},
                   Standard(NoKnownTransform, Store), [&] {
                     EpiWell::WellBore::PathData_var data = Core::remote(*this)->getPathData(
                         EpTypes::FLOAT_DATA, kel_remote::rawOrNil<UnitRef>(distanceUnit),
                         kel_remote::rawOrNil<UnitRef>(depthUnit), kel_remote::rawOrNil<UnitRef>(timeUnit));
                     PathData result;
                     result.column0 = kel_DataQuantityConverter::makeKelFloatQuantities(data->column0);
                     result.column1 = kel_DataQuantityConverter::makeKelFloatQuantities(data->column1);
                     result.column2 = kel_DataQuantityConverter::makeKelFloatQuantities(data->column2);
                     result.column3 = kel_DataQuantityConverter::makeKelFloatQuantities(data->column3);
                     result.column4 = kel_DataQuantityConverter::makeKelFloatQuantities(data->column4);
                     return result;
                   });
}

kel_WellBore::PathData kel_WellBore::getBoreData() const {
  return translate(Msg{"Could not return the structure describing the path of the bore using default units. "},
                   Where{"kel_WellBore", "getBoreData"}, Standard(), [&] {
                     const kel_UnitMeasureSet units = kel_UnitMeasureSet::getDefaultUnits();
                     return getBoreData(units.distanceUnit, units.depthUnit, units.timeUnit);
                   });
}

void kel_WellBore::setBoreData(const PathData& data) {
  translate(Msg{"Could not update the raw well path data. "}, Where{"kel_WellBore", "setBoreData"},
            Standard(Conversion, BoreInvalidNumSamples, Store), [&] {
              EpiWell::WellBore::PathData remoteData;
              remoteData.column0 = *remoteQuantities(data.column0);
              remoteData.column1 = *remoteQuantities(data.column1);
              remoteData.column2 = *remoteQuantities(data.column2);
              remoteData.column3 = *remoteQuantities(data.column3);
              remoteData.column4 = *remoteQuantities(data.column4);
              Core::remote(*this)->setPathData(remoteData);
            });
}

void kel_WellBore::setSurveyStations(const kel_FloatQuantities& md, const kel_FloatQuantities& inclination,
                                     const kel_FloatQuantities& azimuth) {
  translate(Msg{"Could not replace the well path with the survey stations. "},
            Where{"kel_WellBore", "setSurveyStations"}, Standard(Conversion, BoreInvalidNumSamples, Store), [&] {
              Core::remote(*this)->setSurveyStations(*remoteQuantities(md), *remoteQuantities(inclination),
                                                     *remoteQuantities(azimuth));
            });
}

kel_WellTypes::Depths kel_WellBore::convertDepths(const kel_WellTypes::Depths& depths, const kel_Unit& unit,
                                                  const kel_WellTypes::DepthType& type) const {
  return translate(Msg{"Couldn't convert the input set of Depths. "}, Where{"kel_WellBore", "convertDepths()"},
                   Standard(Conversion, Store), [&] {
                     EpUnitOfMeasureService::Unit_ptr remoteUnit =
                         kel_remote::rawOrNil<EpUnitOfMeasureService::Unit>(unit);
                     const auto remoteDepths = kel_WellTypesConverter::makeEpiDepths(depths);
                     const EpiWell::DepthType target = kel_WellEnumConverter::makeEpiWellDepthType(type);
                     EpiWell::Depths_var converted = Core::remote(*this)->convertDepths(
                         *remoteDepths, EpTypes::FLOAT_DATA, remoteUnit, target);
                     return kel_WellTypesConverter::makeKelDepths(converted.in());
                   });
}

kel_WellTypes::Depths kel_WellBore::convertDepths(const kel_WellTypes::Depths& depths,
                                                  const kel_WellTypes::DepthType& type) const {
  return translate(Msg{"Couldn't convert the input set of Depths using default unit. "},
                   Where{"kel_WellBore", "convertDepths"}, Standard(),
                   [&] { return convertDepths(depths, kel_UnitMeasureSet::getDefaultUnits().depthUnit, type); });
}

namespace {

// The three local systems differ only in the remote query asked.
using LocalQuery = EpCoordinateService::System_ptr (Remote::*)(
    EpUnitOfMeasureService::Unit_ptr, EpUnitOfMeasureService::Unit_ptr, EpUnitOfMeasureService::Unit_ptr);

kel_CoordSystem localSystem(EpiWell::WellBore_ptr bore, LocalQuery query) {
  const kel_UnitMeasureSet units = kel_UnitMeasureSet::getDefaultUnits();
  EpUnitOfMeasureService::Unit_ptr distance = kel_remote::rawOrNil<EpUnitOfMeasureService::Unit>(units.distanceUnit);
  EpUnitOfMeasureService::Unit_ptr depth = kel_remote::rawOrNil<EpUnitOfMeasureService::Unit>(units.depthUnit);
  EpCoordinateService::System_var system = (bore->*query)(distance, distance, depth);
  if (CORBA::is_nil(system.in())) return kel_CoordSystem();
  return kel_CoordSystem(kel_RemoteStub(system.in()), true);
}

} // namespace

kel_CoordSystem kel_WellBore::createLocalXYTvd() const {
  return translate(Msg{"Could not create a local XYTvd coordinate system. "},
                   Where{"kel_WellBore", "createLocalXYTvd"}, Standard(Store),
                   [&] { return localSystem(Core::remote(*this), &Remote::createLocalXYTvd); });
}

kel_CoordSystem kel_WellBore::createLocalDxDyMd() const {
  return translate(Msg{"Could not create a local DxDyMd coordinate system. "},
                   Where{"kel_WellBore", "createLocalDxDyMd"}, Standard(Store),
                   [&] { return localSystem(Core::remote(*this), &Remote::createLocalDxDyMd); });
}

kel_CoordSystem kel_WellBore::createLocalDxDyTvd() const {
  return translate(Msg{"Could not create a local DxDyTvd coordinate system. "},
                   Where{"kel_WellBore", "createLocalDxDyTvd"}, Standard(Store),
                   [&] { return localSystem(Core::remote(*this), &Remote::createLocalDxDyTvd); });
}

// ---------------------------------------------------------------- path geometry through a velocity function

kel_CoordinateArray kel_WellBore::getPath(const kel_WellVelocity& velocity, const kel_CoordSystem& coordSystem) const {
  return translate(
      Msg{"Could not return the well path for this wellbore. "},
      Where{"kel_WellBore", "getPath(velocity, coordSystem)"},
      Standard(NoDefaultWellVelocity.split(NoDefaultWellVelocityOpening,
                                           "exception in the kel_WellBore::getPath(velocity, coordSystem) method. "),
               NoKnownTransform, Store),
      [&] {
        // A nil velocity: the wellbore's default one.
        EpGeometry::Polyline_var polyline =
            Core::remote(*this)->getTimePath(kel_remote::rawOrNil<EpiWell::WellVelocity>(velocity));
        if (CORBA::is_nil(polyline.in())) throw kel_SystemException("The EpGeometry::Polyline came back nil. ");
        SystemRef::_ptr_type system = kel_remote::rawOrNil<SystemRef>(coordSystem);
        if (!CORBA::is_nil(system) && !system->isTimeSystem())
          throw kel_SystemException("The coordinate system is not in the time domain. ");
        return coordinatesOf(polyline.in(), system);
      });
}

kel_CoordinateArray kel_WellBore::getPath(const kel_WellVelocity& velocity) const {
  return translate(Msg{"Could not return the well path for this wellbore. "},
                   Where{"kel_WellBore", "getPath (velocity)"}, Standard(),
                   [&] { return getPath(velocity, kel_CoordSystem::getPreferredTimeSystem()); });
}

kel_CoordinateArray kel_WellBore::getLocation(const kel_FloatQuantities& md, const kel_WellVelocity& velocity,
                                              const kel_CoordSystem& coordSystem) const {
  return translate(
      Msg{"Could not return the coordinates for the given measured depths. "},
      Where{"kel_WellBore", "getLocation(md, velocity, coordSystem)"},
      Standard(Conversion, InsufficientData,
               NoDefaultWellVelocity.split("Caught an EpiWell::WellBore::NoDefaultWellVelocityException exception",
                                           "in the kel_WellBore::getLocation(md, velocity, coordSystem) method. "),
               NoKnownTransform, Store),
      [&] {
        SystemRef::_ptr_type system = kel_remote::rawOrNil<SystemRef>(coordSystem);
        EpiWell::WellVelocity_var function = kel_remote::duplicateOrNil<EpiWell::WellVelocity>(velocity);
        const auto depths = remoteQuantities(md);
        EpCoordinateService::Coordinates_var points =
            Core::remote(*this)->getLocations(*depths, system, function.in());
        return kel_CoordinateConverter::makeKelCoordinateArray(points.in());
      });
}

kel_CoordinateArray kel_WellBore::getLocation(const kel_FloatQuantities& md, const kel_WellVelocity& velocity) const {
  return translate(Msg{"Could not return the coordinates for the given measured depths . "},
                   Where{"kel_WellBore", "getLocation(md, velocity)"}, Standard(),
                   [&] { return getLocation(md, velocity, kel_CoordSystem::getPreferredTimeSystem()); });
}
