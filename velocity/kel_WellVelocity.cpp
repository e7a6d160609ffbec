#include "kel_WellVelocity.h"

#include <limits>
#include <memory>

#include <EpiWell.hh>

#include "kel_CoordinateConverter.h"
#include "kel_DataQuantityConverter.h"
#include "kel_FailureTranslation.h"
#include "kel_RemoteAccess.h"
#include "kel_WellEnumConverter.h"
#include "kel_WellTypesConverter.h"
#include "kel_WellVelocityConverter.h"
#include "kel_WrapperCore.h"

using namespace kel_translation;
using Core = kel_WrapperCore<kel_WellVelocity>;
using Remote = Core::Objref;
using Converter = kel_WellVelocityConverter;

template class kel_Array<kel_WellVelocity>;

namespace {

Where at(const char* operation) { return Where{"kel_WellVelocity", operation}; }

// The ladders of the class's operations.
const auto kRead = Standard(Store);
const auto kWrite = Standard(Validation, Store);
const auto kCommon = Standard();
const auto kForwarding = WithoutCorbaClause();  // operations that only call their unit-taking twin
const auto kVelocityRead = Standard(Conversion, InvalidDataType, Store);
const auto kDataRead = Standard(InvalidDataType, Conversion, Store);
const auto kConversion = Standard(InvalidDataType, Conversion, ConversionNotSupported, Store);

// Every numeric read asks the service to deliver single-precision floats.
constexpr EpTypes::DataType kFloatData = EpTypes::FLOAT_DATA;

// The unit as the service takes it: a nil unit travels as a nil reference,
// for the service to treat as it sees fit.
EpUnitOfMeasureService::Unit_ptr unitRef(const kel_Unit& unit) {
  return kel_remote::rawOrNil<EpUnitOfMeasureService::Unit>(unit);
}

// A quantity the service delivers already converted into unit: nothing is
// transformed here.
using QuantityInUnit = EpiTypes::DataQuantity* (Remote::*)(EpTypes::DataType, EpUnitOfMeasureService::Unit_ptr);
kel_FloatQuantity quantityConvertedByService(const kel_WellVelocity& self, QuantityInUnit get, const kel_Unit& unit) {
  EpiTypes::DataQuantity_var answer = (Core::remote(self)->*get)(kFloatData, unitRef(unit));
  return kel_DataQuantityConverter::makeKelFloatQuantity(answer.in());
}

} // namespace

// ---------------------------------------------------------------- the wrapper core

kel_WellVelocity::kel_WellVelocity() = default;

kel_WellVelocity::kel_WellVelocity(const kel_RemoteStub& stub, bool duplicate)
    : kel_Entity(Core::typedStub(stub), false) {
  Core::adopt(*this, stub, duplicate);
}

kel_WellVelocity::kel_WellVelocity(const kel_WellVelocity& other, bool duplicate) : kel_Entity(other, false) {
  assignment(other, duplicate);
}

kel_WellVelocity::~kel_WellVelocity() = default;

kel_WellVelocity& kel_WellVelocity::operator=(const kel_WellVelocity& other) { return Core::copy(*this, other); }
bool kel_WellVelocity::operator==(const kel_WellVelocity& other) const { return Core::equal(*this, other); }
bool kel_WellVelocity::operator<(const kel_WellVelocity& other) const { return Core::less(*this, other); }

void kel_WellVelocity::assignment(const kel_WellVelocity& other, bool duplicate) {
  Core::assignment(*this, other, duplicate);
}
void* kel_WellVelocity::getBaseObject() const { return Core::baseObject(*this); }
kel_cppUtil::String kel_WellVelocity::getClassName() const { return Core::className(); }
kel_WellString kel_WellVelocity::getEntityType() { return Core::entityType(); }
kel_WellString kel_WellVelocity::getRepositoryId() { return Core::repositoryId(); }
kel_Project kel_WellVelocity::getProject() const { return Core::project(*this); }

kel_WellVelocity kel_WellVelocity::narrow(const kel_Entity& entity, bool mustMatch) {
  return Core::narrow(entity, mustMatch);
}

kel_Array<kel_WellVelocity> kel_WellVelocity::narrow(const kel_Array<kel_Entity>& entities, bool mustMatch) {
  return Core::narrowArray(entities, mustMatch);
}

kel_WellVelocity kel_WellVelocity::getFromString(const kel_WellString& text) { return Core::fromString(text); }

kel_Array<kel_WellVelocity> kel_WellVelocity::getWellVelocitiesInProject(const kel_Project& project) {
  return Core::inProject(project);
}

// ---------------------------------------------------------------- creation

namespace {

constexpr kel_CreatorTexts newTexts{"The EpiWell::newWellVelocityFactory came back NULL. ",
                                    "The EpiWell::WellVelocity came back NULL. "};
constexpr kel_CreatorTexts storelessTexts{"The EpiWell::StorelessWellVelocityFactory came back nil",
                                          "The EpiWell::WellVelocity came back NULL. "};

// What the factories take besides the wellbore, the texts and the session,
// converted before any factory is looked up: the samples, then the datum.
struct CreationData {
  std::unique_ptr<EpiWell::WellVelocity::WellVelocityData> samples;
  std::unique_ptr<EpiTypes::DataQuantity> datum;
};

struct ConvertForCreation {
  const kel_FloatQuantity& datum;
  const kel_WellVelocity::WellVelocityData& data;

  CreationData operator()() const {
    return CreationData{Converter::makeEpiWellVelocityData(data), kel_DataQuantityConverter::makeDataQuantity(datum)};
  }
};

// Both factories take the same arguments in the same order.
struct CreateWith {
  const kel_WellBore& bore;
  const kel_WellString& name;
  const kel_WellString& dataSource;

  template <class Factory>
  EpiWell::WellVelocity_ptr operator()(Factory factory, EpSession::Session_ptr session,
                                       const CreationData& converted) const {
    EpiWell::WellBore_ptr remoteBore = kel_remote::rawOrNil<EpiWell::WellBore>(bore);
    if (CORBA::is_nil(remoteBore)) throw kel_SystemException("The supplied bore is nil. ");
    return factory->createWellVelocity(remoteBore, static_cast<const char*>(name), static_cast<const char*>(dataSource),
                                       *converted.datum, *converted.samples, session);
  }
};

} // namespace

kel_WellVelocity kel_WellVelocity::createNewWellVelocity(const kel_WellBore& bore, const kel_WellString& name,
                                                         const kel_WellString& dataSource,
                                                         const kel_FloatQuantity& datum, const WellVelocityData& data,
                                                         const kel_Session& session) {
  return translate(Msg{"Could not create a new well velocity from given inputs. "}, at("createNewWellVelocity"),
                   Standard(Store, NoFactory), [&] {
                     return Core::createNew(session, bore, newTexts, ConvertForCreation{datum, data},
                                            CreateWith{bore, name, dataSource});
                   });
}

kel_WellVelocity kel_WellVelocity::createStorelessWellVelocity(
    const kel_WellBore& bore, const kel_WellString& name, const kel_WellString& dataSource,
    const kel_FloatQuantity& datum, const WellVelocityData& data, const kel_Session& session) {
  return translate(Msg{"Could not create a storeless well velocity from given inputs. "},
                   at("createStorelessWellVelocity"), Standard(Store, NoFactory), [&] {
                     return Core::createStoreless(session, storelessTexts, ConvertForCreation{datum, data},
                                                  CreateWith{bore, name, dataSource});
                   });
}

// ---------------------------------------------------------------- descriptive attributes

bool kel_WellVelocity::getCheckshot() const {
  return translate(Msg{"Could not return the checkshot attibute. "}, at("getCheckshot"), kRead,
                   [&] { return Core::remote(*this)->getCheckshot() != 0; });
}

void kel_WellVelocity::setCheckshot(bool checkshot) {
  translate(Msg{"Could not update the checkshot attibute. "}, at("setCheckshot"), kWrite,
            [&] { Core::remote(*this)->setCheckshot(checkshot); });
}

kel_WellString kel_WellVelocity::getComment() const {
  return Core::getText(*this, &Remote::getComment, Msg{"Could not return the general comment about this velocity. "},
                       at("getComment"), kRead);
}

void kel_WellVelocity::setComment(const kel_WellString& comment) {
  Core::setText(*this, &Remote::setComment, comment, Msg{"Could not update the general comment about this velocity. "},
                at("setComment"), kWrite);
}

kel_WellString kel_WellVelocity::getDataSource() const {
  return Core::getText(*this, &Remote::getDataSource,
                       Msg{"Could not return the name of the source supplying the information about this velocity. "},
                       at("getDataSource"), kRead);
}

void kel_WellVelocity::setDataSource(const kel_WellString& dataSource) {
  Core::setText(*this, &Remote::setDataSource, dataSource,
                Msg{"Could not update the name of the source supplying the information about this velocity. "},
                at("setDataSource"), kWrite);
}

long kel_WellVelocity::getNumSamples() const {
  return translate(Msg{"Could not return the number of samples in this well velocity. "}, at("getNumSamples"), kRead,
                   [&] { return static_cast<long>(Core::remote(*this)->getNumSamples()); });
}

kel_WellString kel_WellVelocity::getWellVelocityName() const {
  return Core::getText(*this, &Remote::getWellVelocityName,
                       Msg{"Could not return the name given to this well velocity. "}, at("getWellVelocityName"),
                       kRead);
}

void kel_WellVelocity::setWellVelocityName(const kel_WellString& name) {
  Core::setText(*this, &Remote::setWellVelocityName, name, Msg{"Could not update the name of this well velocity. "},
                at("setWellVelocityName"), kWrite);
}

kel_Date kel_WellVelocity::getLastModified(const kel_WellString& selector) const {
  return translate(Msg{"Could not return the date the well velocity was last modified. "}, at("getLastModified"),
                   Standard(Store, Validation), [&] {
                     CORBA::String_var text = Core::remote(*this)->getLastModified(static_cast<const char*>(selector));
                     return kel_Date::fromString(text.in());
                   });
}

// ---------------------------------------------------------------- datum and extend velocities

kel_FloatQuantity kel_WellVelocity::getDatum(const kel_Unit& unit) const {
  return Core::getQuantity(*this, &Remote::getDatum, unit,
                           Msg{"Could not return the reference elevation for depth values: "}, at("getDatum"), kRead);
}

kel_FloatQuantity kel_WellVelocity::getDatum() const {
  return Core::getQuantityInDefaultUnit(
      *this, &kel_WellVelocity::getDatum, &kel_UnitMeasureSet::depthUnit,
      Msg{"Could not return the reference elevation for depth values using the default vertical unit. "},
      at("getDatum"), kForwarding);
}

void kel_WellVelocity::setDatum(const kel_FloatQuantity& datum) {
  Core::setQuantity(*this, &Remote::setDatum, datum, Msg{"Could not update the reference elevation for depth values. "},
                    at("setDatum"), kWrite);
}

kel_FloatQuantity kel_WellVelocity::getExtendViDeep(const kel_Unit& unit) const {
  return translate(Msg{"Could not return the extend interval velocity on the deep end. "}, at("getExtendViDeep"),
                   kVelocityRead, [&] { return quantityConvertedByService(*this, &Remote::getExtendViDeep, unit); });
}

kel_FloatQuantity kel_WellVelocity::getExtendViDeep() const {
  return Core::getQuantityInDefaultUnit(
      *this, &kel_WellVelocity::getExtendViDeep, &kel_UnitMeasureSet::velocityUnit,
      Msg{"Could not return the extend interval velocity on the deep end using default vertical unit. "},
      at("getExtendViDeep"), kForwarding);
}

void kel_WellVelocity::setExtendViDeep(const kel_FloatQuantity& velocity) {
  Core::setQuantity(*this, &Remote::setExtendViDeep, velocity,
                    Msg{"Could not update the extend interval velocity on the deep end. "}, at("setExtendViDeep"),
                    kWrite);
}

kel_FloatQuantity kel_WellVelocity::getExtendViShallow(const kel_Unit& unit) const {
  return translate(Msg{"Could not return the extend interval velocity on the shallow end. "}, at("getExtendViShallow"),
                   kVelocityRead, [&] { return quantityConvertedByService(*this, &Remote::getExtendViShallow, unit); });
}

kel_FloatQuantity kel_WellVelocity::getExtendViShallow() const {
  return Core::getQuantityInDefaultUnit(
      *this, &kel_WellVelocity::getExtendViShallow, &kel_UnitMeasureSet::velocityUnit,
      Msg{"Could not return the extend interval velocity on the shallow end using default vertical unit. "},
      at("getExtendViShallow"), kCommon);
}

void kel_WellVelocity::setExtendViShallow(const kel_FloatQuantity& velocity) {
  Core::setQuantity(*this, &Remote::setExtendViShallow, velocity,
                    Msg{"Could not update the extend interval velocity on the shallow end. "}, at("setExtendViShallow"),
                    kWrite);
}

kel_WellBore kel_WellVelocity::getBore() const {
  return translate(Msg{"Could not return the well bore which this well velocity belongs to. "}, at("getBore"), kRead,
                   [&] {
                     EpiWell::WellBore_var bore = Core::remote(*this)->getBore();
                     if (CORBA::is_nil(bore.in())) return kel_WellBore();
                     return kel_WrapperCore<kel_WellBore>::wrap(bore.in());
                   });
}

// ---------------------------------------------------------------- samples
//
// Kinds are converted before anything is asked, so that a kind that does not
// map fails without a remote call. The overloads without units take the
// default units once and call their twins, whose failures arrive translated.

kel_WellVelocity::WellVelocityData kel_WellVelocity::getVelocityData(const kel_Unit& timeUnit,
                                                                     const kel_Unit& depthUnit,
                                                                     const kel_Unit& velocityUnit) const {
  return translate(Msg{"Could not return the well velocities' time, depth and velocity values. "},
                   at("getVelocityData"), kDataRead, [&] {
                     EpiWell::WellVelocity::WellVelocityData_var answer = Core::remote(*this)->getVelocityData(
                         kFloatData, unitRef(timeUnit), unitRef(depthUnit), unitRef(velocityUnit));
                     return Converter::makeKelWellVelocityData(answer.in());
                   });
}

kel_WellVelocity::WellVelocityData kel_WellVelocity::getVelocityData() const {
  return translate(Msg{"Could not return the well velocities' time, depth and velocity values using default units. "},
                   at("getVelocityData"), kCommon, [&] {
                     const kel_UnitMeasureSet units = kel_UnitMeasureSet::getDefaultUnits();
                     return getVelocityData(units.timeUnit, units.depthUnit, units.velocityUnit);
                   });
}

kel_WellVelocity::TimeDepthPairs kel_WellVelocity::getTimeDepths(const kel_Unit& timeUnit, const kel_Unit& depthUnit,
                                                                 kel_WellTypes::TimeType timeType,
                                                                 kel_WellTypes::DepthType depthType) const {
  return translate(Msg{"Could not return the well velocities' time values and corresponding array of depth values. "},
                   at("getTimeDepths"), kDataRead, [&] {
                     Remote* target = Core::remote(*this);
                     const EpiWell::TimeType remoteTime = kel_WellEnumConverter::makeEpiWellTimeType(timeType);
                     const EpiWell::DepthType remoteDepth = kel_WellEnumConverter::makeEpiWellDepthType(depthType);
                     EpiWell::WellVelocity::TimeDepthPairs_var answer = target->getTimeDepths(
                         kFloatData, unitRef(timeUnit), unitRef(depthUnit), remoteTime, remoteDepth);
                     return Converter::makeKelTimeDepthPairs(answer.in());
                   });
}

kel_WellVelocity::TimeDepthPairs kel_WellVelocity::getTimeDepths(kel_WellTypes::TimeType timeType,
                                                                 kel_WellTypes::DepthType depthType) const {
  return translate(Msg{"Could not return the well velocities' time values and corresponding array of depth values. "},
                   at("getTimeDepths"), kForwarding, [&] {
                     const kel_UnitMeasureSet units = kel_UnitMeasureSet::getDefaultUnits();
                     return getTimeDepths(units.timeUnit, units.depthUnit, timeType, depthType);
                   });
}

kel_WellVelocity::TimeVelocityPairs kel_WellVelocity::getTimeVelocities(const kel_Unit& timeUnit,
                                                                        const kel_Unit& velocityUnit,
                                                                        kel_WellTypes::TimeType timeType,
                                                                        VelocityType velocityType) const {
  return translate(Msg{"Could not return the well velocities' time values and velocity values. "},
                   at("getTimeVelocities"), kDataRead, [&] {
                     Remote* target = Core::remote(*this);
                     const EpiWell::TimeType remoteTime = kel_WellEnumConverter::makeEpiWellTimeType(timeType);
                     const EpiWell::WellVelocity::VelocityType remoteVelocity =
                         kel_WellEnumConverter::makeEpiVelocityType(velocityType);
                     EpiWell::WellVelocity::TimeVelocityPairs_var answer = target->getTimeVelocities(
                         kFloatData, unitRef(timeUnit), unitRef(velocityUnit), remoteTime, remoteVelocity);
                     return Converter::makeKelTimeVelocityPairs(answer.in());
                   });
}

kel_WellVelocity::TimeVelocityPairs kel_WellVelocity::getTimeVelocities(kel_WellTypes::TimeType timeType,
                                                                        VelocityType velocityType) const {
  return translate(Msg{"Could not return the well velocities' time values and velocity values. "},
                   at("getTimeVelocities"), kForwarding, [&] {
                     const kel_UnitMeasureSet units = kel_UnitMeasureSet::getDefaultUnits();
                     return getTimeVelocities(units.timeUnit, units.velocityUnit, timeType, velocityType);
                   });
}

kel_Array<float> kel_WellVelocity::getAnisotropy() const {
  return translate(Msg{"Could not return the the p-wave anisotropy factors. "}, at("getAnisotropy"),
                   Standard(InvalidDataType, Store), [&] {
                     EpTypes::DataSequence_var answer = Core::remote(*this)->getAnisotropy(kFloatData);
                     return kel_CoordinateConverter::makeKelFloatArray(answer.in());
                   });
}

// ---------------------------------------------------------------- conversions through the function

kel_WellTypes::Times kel_WellVelocity::convertDepthsToTimes(const kel_WellTypes::Depths& depths,
                                                            const kel_Unit& timeUnit,
                                                            kel_WellTypes::TimeType timeType) const {
  return translate(Msg{"Could not return the well velocities' time values and corresponding array of depth values. "},
                   at("convertDepthsToTimes"), kConversion, [&] {
                     Remote* target = Core::remote(*this);
                     const EpiWell::TimeType remoteTime = kel_WellEnumConverter::makeEpiWellTimeType(timeType);
                     const std::unique_ptr<EpiWell::Depths> remoteDepths =
                         kel_WellTypesConverter::makeEpiDepths(depths);
                     EpiWell::Times_var answer =
                         target->convertDepthsToTimes(*remoteDepths, kFloatData, unitRef(timeUnit), remoteTime);
                     return kel_WellTypesConverter::makeKelTimes(answer.in());
                   });
}

kel_WellTypes::Times kel_WellVelocity::convertDepthsToTimes(const kel_WellTypes::Depths& depths,
                                                            kel_WellTypes::TimeType timeType) const {
  return translate(Msg{"Could not convert the depth values to time using the supplied arguments and default unit. "},
                   at("convertDepthsToTimes"), kForwarding, [&] {
                     return convertDepthsToTimes(depths, kel_UnitMeasureSet::getDefaultUnits().timeUnit, timeType);
                   });
}

kel_WellTypes::Depths kel_WellVelocity::convertTimesToDepths(const kel_WellTypes::Times& times,
                                                             const kel_Unit& depthUnit,
                                                             kel_WellTypes::DepthType depthType) const {
  return translate(Msg{"Could not convert the time values to depth using the supplied arguments. "},
                   at("convertTimesToDepths"), kConversion, [&] {
                     Remote* target = Core::remote(*this);
                     const EpiWell::DepthType remoteDepth = kel_WellEnumConverter::makeEpiWellDepthType(depthType);
                     const std::unique_ptr<EpiWell::Times> remoteTimes = kel_WellTypesConverter::makeEpiTimes(times);
                     EpiWell::Depths_var answer =
                         target->convertTimesToDepths(*remoteTimes, kFloatData, unitRef(depthUnit), remoteDepth);
                     return kel_WellTypesConverter::makeKelDepths(answer.in());
                   });
}

kel_WellTypes::Depths kel_WellVelocity::convertTimesToDepths(const kel_WellTypes::Times& times,
                                                             kel_WellTypes::DepthType depthType) const {
  return translate(Msg{"Could not convert the depth values to depth using the supplied arguments and default unit. "},
                   at("convertTimesToDepths"), kCommon, [&] {
                     return convertTimesToDepths(times, kel_UnitMeasureSet::getDefaultUnits().depthUnit, depthType);
                   });
}

kel_WellVelocity::Velocities kel_WellVelocity::convertTimesToVelocities(const kel_WellTypes::Times& times,
                                                                        const kel_Unit& velocityUnit,
                                                                        VelocityType velocityType) const {
  return translate(Msg{"Could not convert the times values to velocities using the supplied arguments. "},
                   at("convertTimesToVelocities"), kConversion, [&] {
                     Remote* target = Core::remote(*this);
                     const EpiWell::WellVelocity::VelocityType remoteVelocity =
                         kel_WellEnumConverter::makeEpiVelocityType(velocityType);
                     const std::unique_ptr<EpiWell::Times> remoteTimes = kel_WellTypesConverter::makeEpiTimes(times);
                     EpiWell::WellVelocity::Velocities_var answer = target->convertTimesToVelocities(
                         *remoteTimes, kFloatData, unitRef(velocityUnit), remoteVelocity);
                     return Converter::makeKelVelocities(answer.in());
                   });
}

kel_WellVelocity::Velocities kel_WellVelocity::convertTimesToVelocities(const kel_WellTypes::Times& times,
                                                                        VelocityType velocityType) const {
  return translate(
      Msg{"Could not convert the time values to velocities using the supplied argument and default unit. "},
      at("convertTimesToVelocities"), kForwarding, [&] {
        return convertTimesToVelocities(times, kel_UnitMeasureSet::getDefaultUnits().velocityUnit, velocityType);
      });
}

// ---------------------------------------------------------------- writes
//
// The service judges lengths, order and pairing; its refusals carry their
// reason into the context. The velocity clauses open with the exception's
// name and go on with a piece naming the operation.

void kel_WellVelocity::setVelocityData(const WellVelocityData& data) {
  translate(Msg{"Could not set the well velocities' time, depth and velocity values. "}, at("setVelocityData"),
            Standard(InvalidDataPair.split(InvalidDataPairOpening,
                                           " exception in the kel_WellVelocity::setVelocityData method. "),
                     Store),
            [&] {
              Remote* target = Core::remote(*this);
              const auto remoteData = Converter::makeEpiWellVelocityData(data);
              target->setVelocityData(*remoteData);
            });
}

void kel_WellVelocity::setWellVelocityPairs(const VelocityDataPairs& pairs) {
  translate(Msg{"Could not update/replace the entire well velocity data samples with the supplied ones. "},
            at("setWellVelocityPairs"),
            Standard(InvalidDataPair.split(InvalidDataPairOpening,
                                           " exception in the kel_WellVelocity::setWellVelocityPairs method. "),
                     Store),
            [&] {
              Remote* target = Core::remote(*this);
              const auto remotePairs = Converter::makeEpiVelocityDataPairs(pairs, Converter::PairOrder::KindsFirst);
              target->setWellVelocityPairs(*remotePairs);
            });
}

void kel_WellVelocity::updateWellVelocityPairs(const VelocityDataPairs& pairs) {
  translate(
      Msg{"Could not replace the current well velocity data samples. "}, at("updateWellVelocityPairs"),
      Standard(VelocityInvalidNumSamples.split(VelocityInvalidNumSamplesOpening,
                                               "exception in the kel_WellVelocity::updateWellVelocityPairs method. "),
               InvalidDataPair.split(InvalidDataPairOpening,
                                     " exception in the kel_WellVelocity::updateWellVelocityPairs method. "),
               Store),
      [&] {
        Remote* target = Core::remote(*this);
        const auto remotePairs = Converter::makeEpiVelocityDataPairs(pairs, Converter::PairOrder::ListsFirst);
        target->updateWellVelocityPairs(*remotePairs);
      });
}

void kel_WellVelocity::insertWellVelocityPairs(const VelocityDataPairs& pairs, const kel_Array<float>& values) {
  translate(
      Msg{"Could not insert data into the current list of well velocity data samples. "}, at("insertWellVelocityPairs"),
      Standard(VelocityInvalidNumSamples.split(VelocityInvalidNumSamplesOpening,
                                               "exception in the kel_WellVelocity::insertWellVelocityPairs method. "),
               InvalidDataPair.split(InvalidDataPairOpening,
                                     " exception in the kel_WellVelocity::insertWellVelocityPairs method. "),
               Store),
      [&] {
        Remote* target = Core::remote(*this);
        const EpTypes::FloatSeq floats = Converter::makeFloatSeq(values);
        const auto remotePairs = Converter::makeEpiVelocityDataPairs(pairs, Converter::PairOrder::ListsFirst);
        target->insertWellVelocityPairs(*remotePairs, floats);
      });
}

void kel_WellVelocity::deleteTimes(const kel_WellTypes::Times& times) {
  translate(Msg{"Could not remove well velocity data samples based upon the supplied times. "}, at("deleteTimes"),
            Standard(TimeNotFound, Store), [&] {
              Remote* target = Core::remote(*this);
              const std::unique_ptr<EpiWell::Times> remoteTimes = kel_WellTypesConverter::makeEpiTimes(times);
              target->deleteTimes(*remoteTimes);
            });
}

void kel_WellVelocity::setAnisotropy(long position, kel_Array<float>& factors) {
  translate(
      Msg{"Could not update the the p-wave anisotropy factors at given position. "}, at("setAnisotropy"),
      Standard(InvalidDataType, Store), [&] {
        Remote* target = Core::remote(*this);
        // The service counts positions in 32 bits: a wider one would
        // arrive cut down and write the factors somewhere else.
        if (position < std::numeric_limits<CORBA::Long>::min() || position > std::numeric_limits<CORBA::Long>::max()) {
          kel_cppUtil::String text("The position ");
          text << position;
          text += " is outside the positions the service counts. ";
          throw kel_UserException(text);
        }
        const std::unique_ptr<EpTypes::DataSequence> sequence = kel_CoordinateConverter::makeDataSequence(factors);
        target->setAnisotropy(static_cast<CORBA::Long>(position), *sequence);
      });
}
