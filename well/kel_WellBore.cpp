#include "kel_WellBore.h"

#include <EpiWell.hh>

#include "kel_DataQuantityConverter.h"
#include "kel_FailureTranslation.h"
#include "kel_ReferenceValues.h"
#include "kel_RemoteAccess.h"
#include "kel_WellEnumConverter.h"
#include "kel_WrapperCore.h"

using namespace kel_translation;
using Core = kel_WrapperCore<kel_WellBore>;

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
kel_cppUtil::String kel_WellBore::getEntityType() { return Core::entityType(); }
kel_cppUtil::String kel_WellBore::getRepositoryId() { return Core::repositoryId(); }
kel_Project kel_WellBore::getProject() const { return Core::project(*this); }

kel_WellBore kel_WellBore::narrow(const kel_Entity& entity, bool mustMatch) {
  return Core::narrow(entity, mustMatch);
}

kel_Array<kel_WellBore> kel_WellBore::narrow(const kel_Array<kel_Entity>& entities, bool mustMatch) {
  return Core::narrowArray(entities, mustMatch);
}

kel_WellBore kel_WellBore::getFromString(const kel_cppUtil::String& text) { return Core::fromString(text); }

kel_Array<kel_WellBore> kel_WellBore::getWellBoresInProject(const kel_Project& project) {
  return Core::inProject(project);
}

kel_Array<kel_WellBore> kel_WellBore::getWellBoresOfWell(const kel_Well& well) {
  return translate(Msg{"Couldn't return any WellBore objects for the given well. "},
                   Where{"kel_WellBore::getWellBoresOfWell method. "}, Standard(), [&] {
                     EpEntity::EntitySeq_var bores = kel_WrapperCore<kel_Well>::remote(well)->getWellBores();
                     return Core::fromSequence(bores.in());
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
      Where{"kel_WellBore::createStorelessWellBore method. "}, Standard(Store, FailedOperation, NoFactory),
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
                   Where{"kel_WellBore::createNewWellBore method. "},
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

namespace {

using Getter = char* (EpiWell::_objref_WellBore::*)();
using Setter = void (EpiWell::_objref_WellBore::*)(const char*);

kel_cppUtil::String readText(const kel_WellBore& bore, Getter get, const Msg& message, const Where& where) {
  return translate(message, where, Standard(Store), [&] {
    CORBA::String_var text = (Core::remote(bore)->*get)();
    return kel_cppUtil::String(text.in());
  });
}

// The setters differ in the order of their two remote clauses, so each
// passes its own ladder.
template <class LadderT>
void writeText(kel_WellBore& bore, Setter set, const kel_cppUtil::String& value, const Msg& message,
               const Where& where, const LadderT& ladder) {
  translate(message, where, ladder, [&] { (Core::remote(bore)->*set)(static_cast<const char*>(value)); });
}

} // namespace

kel_cppUtil::String kel_WellBore::getBoreStatus() const {
  return readText(*this, &EpiWell::_objref_WellBore::getBoreStatus,
                  Msg{"Could not return the code representing the operational state of this wellbore. "},
                  Where{"kel_WellBore::getBoreStatus method. "});
}

void kel_WellBore::setBoreStatus(const kel_cppUtil::String& boreStatus) {
  writeText(*this, &EpiWell::_objref_WellBore::setBoreStatus, boreStatus,
            Msg{"Could not update the code representing the operational state of this wellbore. "},
            Where{"kel_WellBore::setBoreStatus method. "}, Standard(Store, Validation));
}

kel_cppUtil::String kel_WellBore::getFlowDirection() const {
  return readText(*this, &EpiWell::_objref_WellBore::getFlowDirection,
                  Msg{"Could not return the flow direction of the wellbore. "},
                  Where{"kel_WellBore::getFlowDirection method. "});
}

void kel_WellBore::setFlowDirection(const kel_cppUtil::String& flowDirection) {
  writeText(*this, &EpiWell::_objref_WellBore::setFlowDirection, flowDirection,
            Msg{"Could not update the flow direction of the wellbore. "},
            Where{"kel_WellBore::setFlowDirection method. "}, Standard(Validation, Store));
}

kel_cppUtil::String kel_WellBore::getFluidType() const {
  return readText(*this, &EpiWell::_objref_WellBore::getFluidType,
                  Msg{"Could not return the fluid type of the wellbore. "},
                  Where{"kel_WellBore::getFluidType method. "});
}

void kel_WellBore::setFluidType(const kel_cppUtil::String& fluidType) {
  writeText(*this, &EpiWell::_objref_WellBore::setFluidType, fluidType,
            Msg{"Could not update the fluid type of the wellbore. "},
            Where{"kel_WellBore::setFluidType method. "}, Standard(Validation, Store));
}

kel_cppUtil::String kel_WellBore::getShowType() const {
  return readText(*this, &EpiWell::_objref_WellBore::getShowType,
                  Msg{"Could not return the show type of the wellbore. "},
                  Where{"kel_WellBore::getShowType method. "});
}

void kel_WellBore::setShowType(const kel_cppUtil::String& showType) {
  writeText(*this, &EpiWell::_objref_WellBore::setShowType, showType,
            Msg{"Could not update the show type of the wellbore. "},
            Where{"kel_WellBore::setShowType method. "}, Standard(Validation, Store));
}

// ---------------------------------------------------------------- lists of valid codes

kel_Array<kel_cppUtil::String> kel_WellBore::getFromRVS(const kel_cppUtil::String& setName) {
  return translate(
      Msg{"Could not create a list of reference values from the Reference Value Service. "},
      Where{"kel_WellBore::getFromRVS method. "}, Standard(FailedOperation, NotFound),
      [&] { return kel_referenceValues(setName, "EpReferenceValueService::ReferenceValueSet came back nil"); });
}

kel_Array<kel_cppUtil::String> kel_WellBore::getValidFlowDirections() {
  return translate(Msg{"Could not return a list of valid flow directions. "},
                   Where{"kel_WellBore::getValidFlowDirections method. "}, WithoutCorbaClause(),
                   [] { return getFromRVS("FlowDirection"); });
}

kel_Array<kel_cppUtil::String> kel_WellBore::getValidBoreStatuses() {
  return translate(Msg{"Could not return a list of valid bore statuses. "},
                   Where{"kel_WellBore::getValidBoreStatuses method. "}, WithoutCorbaClause(),
                   [] { return getFromRVS("WellboreStatus"); });
}

kel_Array<kel_cppUtil::String> kel_WellBore::getValidFluidTypes() {
  return translate(Msg{"Could not return a list of valid fluid types. "},
                   Where{"kel_WellBore::getValidFluidTypes method. "}, WithoutCorbaClause(),
                   [] { return getFromRVS("GenericFluidComponent"); });
}

kel_Array<kel_cppUtil::String> kel_WellBore::getValidShowTypes() {
  // Show types are codes of the same list as fluid types.
  return translate(Msg{"Could not return a list of valid show types. "},
                   Where{"kel_WellBore::getValidShowTypes method. "}, WithoutCorbaClause(),
                   [] { return getFromRVS("GenericFluidComponent"); });
}

// ---------------------------------------------------------------- enumerations

kel_WellBore::TotalDepthReference kel_WellBore::getTotalDepthType() const {
  return translate(
      Msg{"Could not return the type of bottom hole referenced by totalDepth. "},
      Where{"kel_WellBore::getTotalDepthType method. "}, Standard(Store), [&] {
        return kel_WellEnumConverter::makeKelTotalDepthReference(Core::remote(*this)->getTotalDepthType());
      });
}

void kel_WellBore::setTotalDepthType(TotalDepthReference totalDepthType) {
  translate(Msg{"Could not update the type of bottom hole referenced by totalDepth. "},
            Where{"kel_WellBore::setTotalDepthType method. "}, Standard(Store, Validation), [&] {
              EpiWell::WellBore_ptr bore = Core::remote(*this);
              bore->setTotalDepthType(kel_WellEnumConverter::makeEpiTotalDepthReference(totalDepthType));
            });
}

kel_WellBore::CalculationMethod kel_WellBore::getCalcMethod() const {
  return translate(
      Msg{"Could not return the method used to compute the geometry of the well path. "},
      Where{"kel_WellBore::getCalcMethod method. "}, Standard(Store),
      [&] { return kel_WellEnumConverter::makeKelCalculationMethod(Core::remote(*this)->getCalcMethod()); });
}

kel_WellBore::WellDepthDatum kel_WellBore::getElevationDatum() const {
  return translate(
      Msg{"Could not return this wellbore's depth datum. "}, Where{"kel_WellBore::getElevationDatum method. "},
      Standard(Store),
      [&] { return kel_WellEnumConverter::makeKelWellDepthDatum(Core::remote(*this)->getElevationDatum()); });
}

void kel_WellBore::setElevationDatum(WellDepthDatum elevationDatum) {
  translate(Msg{"Could not update this wellbore's depth datum. "},
            Where{"kel_WellBore::setElevationDatum method. "}, Standard(Store, Validation), [&] {
              EpiWell::WellBore_ptr bore = Core::remote(*this);
              bore->setElevationDatum(kel_WellEnumConverter::makeEpiWellDepthDatum(elevationDatum));
            });
}

// ---------------------------------------------------------------- depths

namespace {

using QuantityGetter = EpiTypes::DataQuantity* (EpiWell::_objref_WellBore::*)();
using QuantitySetter = void (EpiWell::_objref_WellBore::*)(const EpiTypes::DataQuantity&);

kel_FloatQuantity readQuantity(const kel_WellBore& bore, QuantityGetter get, const kel_Unit& unit) {
  EpiTypes::DataQuantity_var stored = (Core::remote(bore)->*get)();
  return kel_inRequestedUnit(kel_DataQuantityConverter::makeKelFloatQuantity(stored.in()), unit);
}

void writeQuantity(kel_WellBore& bore, QuantitySetter set, const kel_FloatQuantity& quantity) {
  const std::unique_ptr<EpiTypes::DataQuantity> remoteQuantity =
      kel_DataQuantityConverter::makeDataQuantity(quantity);
  (Core::remote(bore)->*set)(*remoteQuantity);
}

} // namespace

kel_FloatQuantity kel_WellBore::getTotalDepth(const kel_Unit& unit) const {
  return translate(Msg{"Could not return the measured depth from well datum to bottom hole. "},
                   Where{"kel_WellBore::getTotalDepth method. "}, Standard(Store),
                   [&] { return readQuantity(*this, &EpiWell::_objref_WellBore::getTotalDepth, unit); });
}

kel_FloatQuantity kel_WellBore::getTotalDepth() const {
  return translate(
      Msg{"Could not return the measured depth from well datum to bottom hole using default unit. "},
      Where{"kel_WellBore::getTotalDepth method. "}, Standard(Store),
      [&] { return getTotalDepth(kel_UnitMeasureSet::getDefaultUnits().depthUnit); });
}

void kel_WellBore::setTotalDepth(const kel_FloatQuantity& totalDepth) {
  translate(Msg{"Could not update the measured depth from well datum to bottom hole. "},
            Where{"kel_WellBore::setTotalDepth method. "}, Standard(Store, Validation),
            [&] { writeQuantity(*this, &EpiWell::_objref_WellBore::setTotalDepth, totalDepth); });
}

kel_FloatQuantity kel_WellBore::getPlugBackTotalDepth(const kel_Unit& unit) const {
  return translate(Msg{"Could not return the depth represents the measured depth of this "
                       "wellbore after drilling has been completed. "},
                   Where{"kel_WellBore::getPlugBackTotalDepth method. "}, Standard(Store), [&] {
                     return readQuantity(*this, &EpiWell::_objref_WellBore::getPlugBackTotalDepth, unit);
                   });
}

kel_FloatQuantity kel_WellBore::getPlugBackTotalDepth() const {
  return translate(Msg{"Could not return the depth represents the measured depth of this "
                       "wellbore after drilling has been completed using a default unit. "},
                   Where{"kel_WellBore::getPlugBackTotalDepth method. "}, Standard(),
                   [&] { return getPlugBackTotalDepth(kel_UnitMeasureSet::getDefaultUnits().depthUnit); });
}

void kel_WellBore::setPlugBackTotalDepth(const kel_FloatQuantity& plugBackTotalDepth) {
  translate(Msg{"Could not update the depth represents the measured depth of this "
                "wellbore after drilling has been completed. "},
            Where{"kel_WellBore::setPlugBackTotalDepth method. "}, Standard(Validation, Store), [&] {
              writeQuantity(*this, &EpiWell::_objref_WellBore::setPlugBackTotalDepth, plugBackTotalDepth);
            });
}

kel_FloatQuantity kel_WellBore::getElevation(const kel_Unit& unit) const {
  return translate(Msg{"Could not return the distance from the regional vertical datum. "},
                   Where{"kel_WellBore::getElevation method. "}, Standard(Store),
                   [&] { return readQuantity(*this, &EpiWell::_objref_WellBore::getElevation, unit); });
}

kel_FloatQuantity kel_WellBore::getElevation() const {
  return translate(Msg{"Could not return the distance from the regional vertical datum using default unit. "},
                   Where{"kel_WellBore::getElevation method. "}, Standard(Store),
                   [&] { return getElevation(kel_UnitMeasureSet::getDefaultUnits().depthUnit); });
}

void kel_WellBore::setElevation(const kel_FloatQuantity& elevation) {
  translate(Msg{"Could not update the distance from the regional vertical datum. "},
            Where{"kel_WellBore::setElevation method. "}, Standard(Store, Validation),
            [&] { writeQuantity(*this, &EpiWell::_objref_WellBore::setElevation, elevation); });
}

// ---------------------------------------------------------------- dates, identifier, well, aliases

kel_Date kel_WellBore::getCompletionDate() const {
  return translate(Msg{"Could not return the wellbore's completion date. "},
                   Where{"kel_WellBore::getCompletionDate method. "}, Standard(Store), [&] {
                     CORBA::String_var text = Core::remote(*this)->getCompletionDate();
                     return kel_Date::fromString(text.in());
                   });
}

void kel_WellBore::setCompletionDate(const kel_Date& completionDate) {
  translate(Msg{"Could not update the wellbore's completion date. "},
            Where{"kel_WellBore::setCompletionDate method. "}, Standard(Store, Validation), [&] {
              const kel_cppUtil::String text =
                  completionDate.isNullDate() ? kel_cppUtil::String() : completionDate.toString();
              Core::remote(*this)->setCompletionDate(static_cast<const char*>(text));
            });
}

kel_Date kel_WellBore::getLastModified(kel_cppUtil::String selector) const {
  return translate(Msg{"Could not return the last modified date of the wellbore. "},
                   Where{"kel_WellBore::getLastModified method. "}, Standard(Store, Validation), [&] {
                     CORBA::String_var text =
                         Core::remote(*this)->getLastModified(static_cast<const char*>(selector));
                     return kel_Date::fromString(text.in());
                   });
}

kel_StringPair kel_WellBore::getIdentifier() const {
  return translate(Msg{"Could not return this well bore's identifier. "},
                   Where{"kel_WellBore::getIdentifier method. "}, Standard(Store), [&] {
                     CosPropertyService::Property_var identifier = Core::remote(*this)->getIdentifier();
                     return kel_remote::makeStringPair(identifier.in());
                   });
}

kel_Well kel_WellBore::getWell() const {
  return translate(Msg{"Could not return the well which this wellbore belongs to. "},
                   Where{"kel_WellBore::getWell method. "}, Standard(Store), [&] {
                     EpiWell::Well_var well = Core::remote(*this)->getWell();
                     if (CORBA::is_nil(well.in()))
                       throw kel_SystemException("The EpiWell::Well came back nil. ");
                     return kel_WrapperCore<kel_Well>::wrap(well.in());
                   });
}

kel_Array<kel_StringPair> kel_WellBore::getBoreAliases() const {
  return translate(Msg{"Could not return a list of this wellbore's aliases. "},
                   Where{"kel_WellBore::getBoreAliases method. "}, Standard(Store), [&] {
                     CosPropertyService::Properties_var aliases = Core::remote(*this)->getAliases();
                     return kel_remote::makeStringPairs(aliases.in());
                   });
}

void kel_WellBore::setBoreAliases(const kel_Array<kel_StringPair>& aliases) {
  translate(Msg{"Could not update this wellbore's list of aliases. "},
            Where{"kel_WellBore::setBoreAliases method. "}, Standard(Store, Validation), [&] {
              const CosPropertyService::Properties remoteAliases = kel_remote::makeProperties(aliases);
              Core::remote(*this)->setAliases(remoteAliases);
            });
}
