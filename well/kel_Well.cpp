#include "kel_Well.h"

#include <EpiWell.hh>

#include "kel_CoordinateConverter.h"
#include "kel_DataQuantityConverter.h"
#include "kel_FailureTranslation.h"
#include "kel_RemoteAccess.h"
#include "kel_WrapperCore.h"

using namespace kel_translation;
using Core = kel_WrapperCore<kel_Well>;

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
kel_cppUtil::String kel_Well::getEntityType() { return Core::entityType(); }
kel_cppUtil::String kel_Well::getRepositoryId() { return Core::repositoryId(); }
kel_Project kel_Well::getProject() const { return Core::project(*this); }

kel_Well kel_Well::narrow(const kel_Entity& entity, bool mustMatch) { return Core::narrow(entity, mustMatch); }

kel_Array<kel_Well> kel_Well::narrow(const kel_Array<kel_Entity>& entities, bool mustMatch) {
  return Core::narrowArray(entities, mustMatch);
}

kel_Well kel_Well::getFromString(const kel_cppUtil::String& text) { return Core::fromString(text); }

kel_Array<kel_Well> kel_Well::getWellsInProject(const kel_Project& project) { return Core::inProject(project); }

// ---------------------------------------------------------------- creation

kel_Well kel_Well::createStorelessWell(const kel_Project& project, const kel_StringPair& identifier,
                                       const kel_Session& session) {
  return translate(
      Msg{"Could not create a storeless well from given inputs. "},
      Where{"kel_Well::createStorelessWell method. "}, Standard(Store, FailedOperation, NoFactory), [&] {
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

kel_Well kel_Well::createNewWell(const kel_Project& project, const kel_cppUtil::String& name,
                                 const kel_StringPair& identifier, const kel_Session& session) {
  return translate(
      Msg{"Could not create a new well from given inputs. "}, Where{"kel_Well::createNewWell method. "},
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

namespace {

// Text attributes: the getters have a StoreException clause; the setters a
// ValidationException clause, then a StoreException clause.
using Getter = char* (EpiWell::_objref_Well::*)();
using Setter = void (EpiWell::_objref_Well::*)(const char*);

kel_cppUtil::String readText(const kel_Well& well, Getter get, const Msg& message, const Where& where) {
  return translate(message, where, Standard(Store), [&] {
    CORBA::String_var text = (Core::remote(well)->*get)();
    return kel_cppUtil::String(text.in());
  });
}

void writeText(kel_Well& well, Setter set, const kel_cppUtil::String& value, const Msg& message,
               const Where& where) {
  translate(message, where, Standard(Validation, Store),
            [&] { (Core::remote(well)->*set)(static_cast<const char*>(value)); });
}

} // namespace

kel_cppUtil::String kel_Well::getCountry() const {
  return readText(*this, &EpiWell::_objref_Well::getCountry,
                  Msg{"Could not return the name of the country in which this well was drilled. "},
                  Where{"kel_Well::getCountry method. "});
}

void kel_Well::setCountry(const kel_cppUtil::String& country) {
  writeText(*this, &EpiWell::_objref_Well::setCountry, country,
            Msg{"Could not update the name of the country in which the well was drilled. "},
            Where{"kel_Well::setCountry method. "});
}

kel_cppUtil::String kel_Well::getCounty() const {
  return readText(*this, &EpiWell::_objref_Well::getCounty,
                  Msg{"Could not return the name of the county in which the well was drilled. "},
                  Where{"kel_Well::getCounty method. "});
}

void kel_Well::setCounty(const kel_cppUtil::String& county) {
  writeText(*this, &EpiWell::_objref_Well::setCounty, county,
            Msg{"Could not update the name of the county in which the well was drilled. "},
            Where{"kel_Well::setCounty method. "});
}

kel_cppUtil::String kel_Well::getCurrentOperator() const {
  return readText(*this, &EpiWell::_objref_Well::getCurrentOperator,
                  Msg{"Could not return the name of the company that currently operates the well. "},
                  Where{"kel_Well::getCurrentOperator method. "});
}

void kel_Well::setCurrentOperator(const kel_cppUtil::String& currentOperator) {
  writeText(*this, &EpiWell::_objref_Well::setCurrentOperator, currentOperator,
            Msg{"Could not update the name of the company that currently operates the well. "},
            Where{"kel_Well::setCurrentOperator method. "});
}

kel_cppUtil::String kel_Well::getField() const {
  return readText(*this, &EpiWell::_objref_Well::getField,
                  Msg{"Could not return the name of the field in which the well was drilled. "},
                  Where{"kel_Well::getField method. "});
}

void kel_Well::setField(const kel_cppUtil::String& field) {
  writeText(*this, &EpiWell::_objref_Well::setField, field,
            Msg{"Could not update the name of the field in which the well was drilled. "},
            Where{"kel_Well::setField method. "});
}

kel_cppUtil::String kel_Well::getPlatformIdentifier() const {
  return readText(*this, &EpiWell::_objref_Well::getPlatformIdentifier,
                  Msg{"Could not return the identifier of the platform from which the well was drilled. "},
                  Where{"kel_Well::getPlatformIdentifier method. "});
}

void kel_Well::setPlatformIdentifier(const kel_cppUtil::String& platformIdentifier) {
  writeText(*this, &EpiWell::_objref_Well::setPlatformIdentifier, platformIdentifier,
            Msg{"Could not update the identifier of the platform from which the well was drilled. "},
            Where{"kel_Well::setPlatformIdentifier method. "});
}

kel_cppUtil::String kel_Well::getStateOrProvince() const {
  return readText(*this, &EpiWell::_objref_Well::getStateOrProvince,
                  Msg{"Could not return the name of the state or province in which this well is located. "},
                  Where{"kel_Well::getStateOrProvince method. "});
}

void kel_Well::setStateOrProvince(const kel_cppUtil::String& stateOrProvince) {
  writeText(*this, &EpiWell::_objref_Well::setStateOrProvince, stateOrProvince,
            Msg{"Could not update the name of the state or province in which this well is located. "},
            Where{"kel_Well::setStateOrProvince method. "});
}

kel_cppUtil::String kel_Well::getWellStatus() const {
  return readText(*this, &EpiWell::_objref_Well::getWellStatus,
                  Msg{"Could not return the code representing the operational state of the well. "},
                  Where{"kel_Well::getWellStatus method. "});
}

void kel_Well::setWellStatus(const kel_cppUtil::String& wellStatus) {
  writeText(*this, &EpiWell::_objref_Well::setWellStatus, wellStatus,
            Msg{"Could not update the code representing the operational state of the well. "},
            Where{"kel_Well::setWellStatus method. "});
}

// ---------------------------------------------------------------- spud date, water depth, location, identifier

kel_Date kel_Well::getSpudDate() const {
  return translate(Msg{"Could not return this well's spud date. "}, Where{"kel_Well::getSpudDate method. "},
                   Standard(Store), [&] {
                     CORBA::String_var text = Core::remote(*this)->getSpudDate();
                     return kel_Date::fromString(text.in());
                   });
}

void kel_Well::setSpudDate(const kel_Date& spudDate) {
  translate(Msg{"Could not update this well's spud date. "}, Where{"kel_Well::setSpudDate method. "},
            Standard(Validation, Store), [&] {
              const kel_cppUtil::String text =
                  spudDate.isNullDate() ? kel_cppUtil::String() : spudDate.toString();
              Core::remote(*this)->setSpudDate(static_cast<const char*>(text));
            });
}

kel_FloatQuantity kel_Well::getWaterDepth(const kel_Unit& unit) const {
  return translate(Msg{"Could not return the depth of the water. "}, Where{"kel_Well::getWaterDepth method. "},
                   Standard(Store), [&] {
                     EpiTypes::DataQuantity_var stored = Core::remote(*this)->getWaterDepth();
                     return kel_inRequestedUnit(kel_DataQuantityConverter::makeKelFloatQuantity(stored.in()),
                                                unit);
                   });
}

kel_FloatQuantity kel_Well::getWaterDepth() const {
  return translate(Msg{"Could not return the depth of the water using default units. "},
                   Where{"kel_Well::getWaterDepth method. "}, Standard(Store),
                   [&] { return getWaterDepth(kel_UnitMeasureSet::getDefaultUnits().depthUnit); });
}

void kel_Well::setWaterDepth(const kel_FloatQuantity& waterDepth) {
  translate(Msg{"Could not update the water depth. "}, Where{"kel_Well::setWaterDepth method. "},
            Standard(Validation, Store), [&] {
              const std::unique_ptr<EpiTypes::DataQuantity> remoteDepth =
                  kel_DataQuantityConverter::makeDataQuantity(waterDepth);
              Core::remote(*this)->setWaterDepth(*remoteDepth);
            });
}

kel_Coordinate kel_Well::getLocation(const kel_CoordSystem& system) const {
  return translate(Msg{"Could not return this well's surface coordinate location. "},
                   Where{"kel_Well::getLocation method. "}, Standard(NoKnownTransform, Store), [&] {
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
                   Where{"kel_Well::getLocation method. "}, WithoutCorbaClause(),
                   [&] { return getLocation(kel_CoordSystem::getDefaultSystem()); });
}

void kel_Well::setLocation(const kel_Coordinate& location) {
  translate(Msg{"Could not update the well's surface coordinate location. "},
            Where{"kel_Well::setLocation method. "}, Standard(Validation, Store), [&] {
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
  return translate(Msg{"Could not return this well's primary identifier. "},
                   Where{"kel_Well::getIdentifier method. "}, Standard(Store), [&] {
                     CosPropertyService::Property_var identifier = Core::remote(*this)->getIdentifier();
                     return kel_remote::makeStringPair(identifier.in());
                   });
}

// ---------------------------------------------------------------- aliases

kel_Array<kel_StringPair> kel_Well::getWellAliases() const {
  return translate(Msg{"Could not return a list of this well's aliases. "},
                   Where{"kel_Well::getWellAliases method. "}, Standard(Store), [&] {
                     CosPropertyService::Properties_var aliases = Core::remote(*this)->getAliases();
                     return kel_remote::makeStringPairs(aliases.in());
                   });
}

void kel_Well::setWellAliases(const kel_Array<kel_StringPair>& aliases) {
  translate(Msg{"Could not update this well's list of aliases. "}, Where{"kel_Well::setWellAliases method. "},
            Standard(Validation, Store), [&] {
              const CosPropertyService::Properties remoteAliases = kel_remote::makeProperties(aliases);
              Core::remote(*this)->setAliases(remoteAliases);
            });
}
