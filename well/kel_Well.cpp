#include "kel_Well.h"

#include <EpiWell.hh>

#include "kel_FailureTranslation.h"
#include "kel_RemoteAccess.h"
#include "kel_WrapperCore.h"

using namespace kel_translation;
using Core = kel_WrapperCore<kel_Well>;
using Remote = Core::Objref;

template class kel_Array<kel_Well>;

// ---------------------------------------------------------------- the wrapper core

kel_Well::kel_Well() = default;

kel_Well::kel_Well(const kel_RemoteStub& stub, bool duplicate) : kel_Entity(Core::typedStub(stub), false) {
  Core::adopt(*this, stub, duplicate);
}

kel_Well::kel_Well(const kel_Well& other, bool duplicate) : kel_Entity(other, false) {
  assignment(other, duplicate);
}

kel_Well::~kel_Well() = default;

kel_Well& kel_Well::operator=(const kel_Well& other) { return Core::copy(*this, other); }
bool kel_Well::operator==(const kel_Well& other) const { return Core::equal(*this, other); }
bool kel_Well::operator<(const kel_Well& other) const { return Core::less(*this, other); }

void kel_Well::assignment(const kel_Well& other, bool duplicate) { Core::assignment(*this, other, duplicate); }
void* kel_Well::getBaseObject() const { return Core::baseObject(*this); }
kel_cppUtil::String kel_Well::getClassName() const { return Core::className(); }
kel_WellString kel_Well::getEntityType() { return Core::entityType(); }
kel_WellString kel_Well::getRepositoryId() { return Core::repositoryId(); }
kel_Project kel_Well::getProject() const { return Core::project(*this); }

kel_Well kel_Well::narrow(const kel_Entity& entity, bool mustMatch) { return Core::narrow(entity, mustMatch); }

kel_Array<kel_Well> kel_Well::narrow(const kel_Array<kel_Entity>& entities, bool mustMatch) {
  return Core::narrowArray(entities, mustMatch);
}

kel_Well kel_Well::getFromString(const kel_WellString& text) { return Core::fromString(text); }

kel_Array<kel_Well> kel_Well::getWellsInProject(const kel_Project& project) { return Core::inProject(project); }

// ---------------------------------------------------------------- creation

kel_Well kel_Well::createStorelessWell(const kel_Project& project, const kel_StringPair& identifier,
                                       const kel_Session& session) {
  return translate(
      Msg{"Could not create a storeless well from given inputs. "},
      Where{"kel_Well", "createStorelessWell"}, Standard(Store, FailedOperation, NoFactory), [&] {
        return Core::createStoreless(
            session,
            kel_CreatorTexts{"The EpiWell::StorelessWellFactory came back NULL. ",
                             "The EpiWell::Well came back NULL. "},
            [&](EpiWell::StorelessWellFactory_ptr factory, EpSession::Session_ptr remoteSession) {
              EpSession::Project_ptr remoteProject = kel_remote::rawOrNil<EpSession::Project>(project);
              if (CORBA::is_nil(remoteProject)) throw kel_SystemException("The supplied project is nil. ");
              const CosPropertyService::Property property = kel_remote::makeProperty(identifier);
              return factory->createWell(remoteProject, property, remoteSession);
            });
      });
}

kel_Well kel_Well::createNewWell(const kel_Project& project, const kel_WellString& name,
                                 const kel_StringPair& identifier, const kel_Session& session) {
  return translate(
      Msg{"Could not create a new well from given inputs. "}, Where{"kel_Well", "createNewWell"},
      StandardWithCorbaUser(Store, FailedOperation, NoFactory), [&] {
        return Core::createNew(
            session, project,
            kel_CreatorTexts{"The EpiWell::NewWellFactory came back nil. ",
                             "The EpiWell::Well came back nil. "},
            [&](EpiWell::NewWellFactory_ptr factory, EpSession::Session_ptr remoteSession) {
              // The project is not checked here: the factory answers for a nil one.
              EpSession::Project_ptr remoteProject = kel_remote::rawOrNil<EpSession::Project>(project);
              const CosPropertyService::Property property = kel_remote::makeProperty(identifier);
              return factory->createWell(remoteProject, static_cast<const char*>(name), property,
                                         remoteSession);
            });
      });
}

// ---------------------------------------------------------------- descriptive attributes

// Text attributes: the getters have a StoreException clause; the setters a
// ValidationException clause, then a StoreException clause.

kel_WellString kel_Well::getCountry() const {
  return Core::getText(*this, &Remote::getCountry,
                       Msg{"Could not return the name of the country in which this well was drilled. "},
                       Where{"kel_Well", "getCountry"}, Standard(Store));
}

void kel_Well::setCountry(const kel_WellString& country) {
  Core::setText(*this, &Remote::setCountry, country,
                Msg{"Could not update the name of the country in which the well was drilled. "},
                Where{"kel_Well", "setCountry"}, Standard(Validation, Store));
}

kel_WellString kel_Well::getCounty() const {
  return Core::getText(*this, &Remote::getCounty,
                       Msg{"Could not return the name of the county in which the well was drilled. "},
                       Where{"kel_Well", "getCounty"}, Standard(Store));
}

void kel_Well::setCounty(const kel_WellString& county) {
  Core::setText(*this, &Remote::setCounty, county,
                Msg{"Could not update the name of the county in which the well was drilled. "},
                Where{"kel_Well", "setCounty"}, Standard(Validation, Store));
}

kel_WellString kel_Well::getCurrentOperator() const {
  return Core::getText(*this, &Remote::getCurrentOperator,
                       Msg{"Could not return the name of the company that currently operates the well. "},
                       Where{"kel_Well", "getCurrentOperator"}, Standard(Store));
}

void kel_Well::setCurrentOperator(const kel_WellString& currentOperator) {
  Core::setText(*this, &Remote::setCurrentOperator, currentOperator,
                Msg{"Could not update the name of the company that currently operates the well. "},
                Where{"kel_Well", "setCurrentOperator"}, Standard(Validation, Store));
}

kel_WellString kel_Well::getField() const {
  return Core::getText(*this, &Remote::getField,
                       Msg{"Could not return the name of the field in which the well was drilled. "},
                       Where{"kel_Well", "getField"}, Standard(Store));
}

void kel_Well::setField(const kel_WellString& field) {
  Core::setText(*this, &Remote::setField, field,
                Msg{"Could not update the name of the field in which the well was drilled. "},
                Where{"kel_Well", "setField"}, Standard(Validation, Store));
}

kel_WellString kel_Well::getPlatformIdentifier() const {
  return Core::getText(*this, &Remote::getPlatformIdentifier,
                       Msg{"Could not return the identifier of the platform from which the well was drilled. "},
                       Where{"kel_Well", "getPlatformIdentifier"}, Standard(Store));
}

void kel_Well::setPlatformIdentifier(const kel_WellString& platformIdentifier) {
  Core::setText(*this, &Remote::setPlatformIdentifier, platformIdentifier,
                Msg{"Could not update the identifier of the platform from which the well was drilled. "},
                Where{"kel_Well", "setPlatformIdentifier"}, Standard(Validation, Store));
}

kel_WellString kel_Well::getStateOrProvince() const {
  return Core::getText(*this, &Remote::getStateOrProvince,
                       Msg{"Could not return the name of the state or province in which this well is located. "},
                       Where{"kel_Well", "getStateOrProvince"}, Standard(Store));
}

void kel_Well::setStateOrProvince(const kel_WellString& stateOrProvince) {
  Core::setText(*this, &Remote::setStateOrProvince, stateOrProvince,
                Msg{"Could not update the name of the state or province in which this well is located. "},
                Where{"kel_Well", "setStateOrProvince"}, Standard(Validation, Store));
}

kel_WellString kel_Well::getWellStatus() const {
  return Core::getText(*this, &Remote::getWellStatus,
                       Msg{"Could not return the code representing the operational state of the well. "},
                       Where{"kel_Well", "getWellStatus"}, Standard(Store));
}

void kel_Well::setWellStatus(const kel_WellString& wellStatus) {
  Core::setText(*this, &Remote::setWellStatus, wellStatus,
                Msg{"Could not update the code representing the operational state of the well. "},
                Where{"kel_Well", "setWellStatus"}, Standard(Validation, Store));
}

// ---------------------------------------------------------------- spud date, water depth, location, identifier

kel_Date kel_Well::getSpudDate() const {
  return Core::getDate(*this, &Remote::getSpudDate, Msg{"Could not return this well's spud date. "},
                       Where{"kel_Well", "getSpudDate"}, Standard(Store));
}

void kel_Well::setSpudDate(const kel_Date& spudDate) {
  Core::setDate(*this, &Remote::setSpudDate, spudDate, Msg{"Could not update this well's spud date. "},
                Where{"kel_Well", "setSpudDate"}, Standard(Validation, Store));
}

kel_FloatQuantity kel_Well::getWaterDepth(const kel_Unit& unit) const {
  return Core::getQuantity(*this, &Remote::getWaterDepth, unit, Msg{"Could not return the depth of the water. "},
                           Where{"kel_Well", "getWaterDepth"}, Standard(Store));
}

kel_FloatQuantity kel_Well::getWaterDepth() const {
  return Core::getQuantityInDefaultUnit(*this, &kel_Well::getWaterDepth, &kel_UnitMeasureSet::depthUnit,
                                        Msg{"Could not return the depth of the water using default units. "},
                                        Where{"kel_Well", "getWaterDepth"}, Standard(Store));
}

void kel_Well::setWaterDepth(const kel_FloatQuantity& waterDepth) {
  Core::setQuantity(*this, &Remote::setWaterDepth, waterDepth, Msg{"Could not update the water depth. "},
                    Where{"kel_Well", "setWaterDepth"}, Standard(Validation, Store));
}

kel_Coordinate kel_Well::getLocation(const kel_CoordSystem& system) const {
  return translate(Msg{"Could not return this well's surface coordinate location. "},
                   Where{"kel_Well", "getLocation"}, Standard(NoKnownTransform, Store), [&] {
                     EpCoordinateService::Coordinate_var location = Core::remote(*this)->getLocation(
                         kel_remote::rawOrNil<EpCoordinateService::System>(system));
                     if (CORBA::is_nil(location->system.in()))
                       throw kel_SystemException("The EpCoordinateService::System came back nil. ");
                     return kel_Coordinate(kel_CoordSystem(kel_RemoteStub(location->system.in()), true),
                                           location->x, location->y, location->z);
                   });
}

kel_Coordinate kel_Well::getLocation() const {
  return translate(Msg{"Could not return this well's surface coordinate location. "},
                   Where{"kel_Well", "getLocation"}, WithoutCorbaClause(),
                   [&] { return getLocation(kel_CoordSystem::getDefaultSystem()); });
}

void kel_Well::setLocation(const kel_Coordinate& location) {
  translate(Msg{"Could not update the well's surface coordinate location. "},
            Where{"kel_Well", "setLocation"}, Standard(Validation, Store), [&] {
              EpCoordinateService::Coordinate remoteLocation;
              remoteLocation.system =
                  kel_remote::duplicateOrNil<EpCoordinateService::System>(location.getSystem());
              remoteLocation.x = location.getX();
              remoteLocation.y = location.getY();
              remoteLocation.z = location.getZ();
              Core::remote(*this)->setLocation(remoteLocation);
            });
}

kel_StringPair kel_Well::getIdentifier() const {
  return Core::getIdentifier(*this, &Remote::getIdentifier, Msg{"Could not return this well's primary identifier. "},
                             Where{"kel_Well", "getIdentifier"}, Standard(Store));
}

// ---------------------------------------------------------------- aliases

kel_Array<kel_StringPair> kel_Well::getWellAliases() const {
  return Core::getAliases(*this, &Remote::getAliases, Msg{"Could not return a list of this well's aliases. "},
                          Where{"kel_Well", "getWellAliases"}, Standard(Store));
}

void kel_Well::setWellAliases(const kel_Array<kel_StringPair>& aliases) {
  Core::setAliases(*this, &Remote::setAliases, aliases, Msg{"Could not update this well's list of aliases. "},
                   Where{"kel_Well", "setWellAliases"}, Standard(Validation, Store));
}
