#include "kel_WellPick.h"

#include <memory>

#include <EpiWell.hh>

#include "kel_DataQuantityConverter.h"
#include "kel_FailureTranslation.h"
#include "kel_ReferenceValues.h"
#include "kel_RemoteAccess.h"
#include "kel_WellEnumConverter.h"
#include "kel_WellVelocity.h"
#include "kel_WrapperCore.h"

using namespace kel_translation;
using Core = kel_WrapperCore<kel_WellPick>;
using Remote = Core::Objref;
using RemotePickValue = EpiWell::WellPick::PickValue;

template class kel_Array<kel_WellPick>;

namespace {

Where at(const char* operation) { return Where{"kel_WellPick", operation}; }

// The ladders of the class's operations.
const auto kRead = Standard(Store);
const auto kWrite = Standard(Validation, Store);
const auto kForwarding = WithoutCorbaClause();  // operations that only call another of the class


// A pick value as the service takes it. Which half is converted first
// decides which failure is reported when both are wrong: the stored creator
// converts the quantity first, the storeless one and setPickValue the
// reference.
enum class ValueOrder { QuantityFirst, ReferenceFirst };

std::unique_ptr<RemotePickValue> makeRemotePickValue(const kel_WellPick::PickValue& pickValue, ValueOrder order) {
  auto result = std::make_unique<RemotePickValue>();
  auto quantity = [&] { result->value = *kel_DataQuantityConverter::makeDataQuantity(pickValue.value); };
  auto reference = [&] { result->reference = kel_WellEnumConverter::makeEpiPickReference(pickValue.reference); };
  if (order == ValueOrder::QuantityFirst) {
    quantity();
    reference();
  } else {
    reference();
    quantity();
  }
  return result;
}

// The original pick value's reference, mapped here rather than by the
// converter: an unknown one is reported with the operation's own text.
kel_WellPick::PickReference originalReference(EpiWell::WellPick::PickReference reference) {
  if (reference < kel_WellPick::PICK_REFERENCE_0 || reference > kel_WellPick::PICK_REFERENCE_6) {
    kel_cppUtil::String text("The given pickValue.reference couldn't be mapped: ");
    text << static_cast<int>(reference);
    throw kel_SystemException(text);
  }
  return static_cast<kel_WellPick::PickReference>(reference);
}

} // namespace

// ---------------------------------------------------------------- the wrapper core

kel_WellPick::kel_WellPick() = default;

kel_WellPick::kel_WellPick(const kel_RemoteStub& stub, bool duplicate) : kel_Entity(Core::typedStub(stub), false) {
  Core::adopt(*this, stub, duplicate);
}

kel_WellPick::kel_WellPick(const kel_WellPick& other, bool duplicate) : kel_Entity(other, false) {
  assignment(other, duplicate);
}

kel_WellPick::~kel_WellPick() = default;

kel_WellPick& kel_WellPick::operator=(const kel_WellPick& other) { return Core::copy(*this, other); }
bool kel_WellPick::operator==(const kel_WellPick& other) const { return Core::equal(*this, other); }
bool kel_WellPick::operator<(const kel_WellPick& other) const { return Core::less(*this, other); }

void kel_WellPick::assignment(const kel_WellPick& other, bool duplicate) { Core::assignment(*this, other, duplicate); }
void* kel_WellPick::getBaseObject() const { return Core::baseObject(*this); }
kel_cppUtil::String kel_WellPick::getClassName() const { return Core::className(); }
kel_WellString kel_WellPick::getEntityType() { return Core::entityType(); }
kel_WellString kel_WellPick::getRepositoryId() { return Core::repositoryId(); }
kel_Project kel_WellPick::getProject() const { return Core::project(*this); }

kel_WellPick kel_WellPick::narrow(const kel_Entity& entity, bool mustMatch) { return Core::narrow(entity, mustMatch); }

kel_Array<kel_WellPick> kel_WellPick::narrow(const kel_Array<kel_Entity>& entities, bool mustMatch) {
  return Core::narrowArray(entities, mustMatch);
}

kel_WellPick kel_WellPick::getFromString(const kel_WellString& text) { return Core::fromString(text); }

kel_Array<kel_WellPick> kel_WellPick::getWellPicksInProject(const kel_Project& project) {
  return Core::inProject(project);
}

// ---------------------------------------------------------------- creation

namespace {

constexpr kel_CreatorTexts newTexts{"The EpiWell::NewWellPickFactory came back nil. ",
                                    "The EpiWell::WellPick came back nil. "};
constexpr kel_CreatorTexts storelessTexts{"The EpiWell::StorelessWellPickFactory came back nil. ",
                                          "The EpiWell::WellPick came back nil. "};

// The pick value, converted before any factory is looked up.
struct ConvertForCreation {
  const kel_WellPick::PickValue& pickValue;
  ValueOrder order;

  std::unique_ptr<RemotePickValue> operator()() const { return makeRemotePickValue(pickValue, order); }
};

// Both factories take the same arguments in the same order.
struct CreateWith {
  const kel_WellBore& bore;
  const kel_WellString& pickName;
  const kel_WellString& pickType;
  const kel_WellString& interpreter;

  template <class Factory>
  EpiWell::WellPick_ptr operator()(Factory factory, EpSession::Session_ptr session,
                                   const std::unique_ptr<RemotePickValue>& pickValue) const {
    EpiWell::WellBore_ptr remoteBore = kel_remote::rawOrNil<EpiWell::WellBore>(bore);
    if (CORBA::is_nil(remoteBore)) throw kel_SystemException("The supplied bore is nil. ");
    return factory->createWellPick(remoteBore, static_cast<const char*>(pickName), static_cast<const char*>(pickType),
                                   static_cast<const char*>(interpreter), *pickValue, session);
  }
};

} // namespace

kel_WellPick kel_WellPick::createNewWellPick(const kel_WellBore& bore, const kel_WellString& pickName,
                                             const kel_WellString& pickType,
                                             const kel_WellString& interpreter, const PickValue& pickValue,
                                             const kel_Session& session) {
  return translate(Msg{"Could not create a new well pick from given inputs. "}, at("createNewWellPick"),
                   Standard(Store, NoFactory, FailedOperation), [&] {
                     return Core::createNew(session, bore, newTexts,
                                            ConvertForCreation{pickValue, ValueOrder::QuantityFirst},
                                            CreateWith{bore, pickName, pickType, interpreter});
                   });
}

kel_WellPick kel_WellPick::createStorelessWellPick(const kel_WellBore& bore, const kel_WellString& pickName,
                                                   const kel_WellString& pickType,
                                                   const kel_WellString& interpreter,
                                                   const PickValue& pickValue, const kel_Session& session) {
  return translate(Msg{"Could not create a storeless well pick from given inputs. "}, at("createStorelessWellPick"),
                   Standard(Store, FailedOperation, NoFactory), [&] {
                     return Core::createStoreless(session, storelessTexts,
                                                  ConvertForCreation{pickValue, ValueOrder::ReferenceFirst},
                                                  CreateWith{bore, pickName, pickType, interpreter});
                   });
}

// ---------------------------------------------------------------- reference values

kel_Array<kel_WellString> kel_WellPick::getFromRVS(const kel_WellString& setName) {
  return translate(
      Msg{"Could not create a list of reference values from the Reference Value Service. "}, at("getFromRVS"),
      Standard(FailedOperation, NotFound),
      [&] { return kel_referenceValues(setName, "EpReferenceValueService::ReferenceValueSet came back NULL"); });
}

kel_Array<kel_WellString> kel_WellPick::getValidConfidenceFactors() {
  return translate(Msg{"Could not return a list of valid confidence factors. "}, at("getValidConfidenceFactors"),
                   kForwarding, [] { return getFromRVS("ConfidenceFactor"); });
}

// ---------------------------------------------------------------- interpretation attributes

kel_WellString kel_WellPick::getComment() const {
  return Core::getText(*this, &Remote::getComment, Msg{"Could not return the interpreter comment on this well pick. "},
                       at("getComment"), kRead);
}

void kel_WellPick::setComment(const kel_WellString& comment) {
  Core::setText(*this, &Remote::setComment, comment,
                Msg{"Could not update the interpreter comment on this well pick. "}, at("setComment"), kWrite);
}

kel_WellString kel_WellPick::getConfidenceFactor() const {
  return Core::getText(*this, &Remote::getConfidenceFactor,
                       Msg{"Could not return the code indicating a confidence factor or reliability of the pick. "},
                       at("getConfidenceFactor"), kRead);
}

void kel_WellPick::setConfidenceFactor(const kel_WellString& confidenceFactor) {
  Core::setText(
      *this, &Remote::setConfidenceFactor, confidenceFactor,
      Msg{"Could not update the code indicating a confidence factor or reliability of this well pick. "},
      at("setConfidenceFactor"), kWrite);
}

kel_WellString kel_WellPick::getInterpreter() const {
  return Core::getText(*this, &Remote::getInterpreter,
                       Msg{"Could not return the identity used by the interpreter when this pick was created. "},
                       at("getInterpreter"), kRead);
}

void kel_WellPick::setInterpreter(const kel_WellString& interpreter) {
  Core::setText(*this, &Remote::setInterpreter, interpreter,
                Msg{"Could not update the identity used by the interpreter when this pick was created. "},
                at("setInterpreter"), kWrite);
}

kel_Date kel_WellPick::getPickDate() const {
  return Core::getDate(*this, &Remote::getPickDate,
                       Msg{"Could not return the date and time when this pick was interpreted. "}, at("getPickDate"),
                       kRead);
}

void kel_WellPick::setPickDate(const kel_Date& date) {
  Core::setDate(*this, &Remote::setPickDate, date,
                Msg{"Could not update the date and time when this pick was interpreted. "}, at("setPickDate"), kWrite);
}

kel_WellString kel_WellPick::getPickName() const {
  return Core::getText(*this, &Remote::getPickName, Msg{"Could not return the name of this pick. "}, at("getPickName"),
                       kRead);
}

void kel_WellPick::setPickName(const kel_WellString& name) {
  Core::setText(*this, &Remote::setPickName, name, Msg{"Could not update the name of this pick. "}, at("setPickName"),
                kWrite);
}

kel_WellString kel_WellPick::getPickSource() const {
  return Core::getText(
      *this, &Remote::getPickSource,
      Msg{"Could not return the code indicating the source for information pertaining to the pick. "},
      at("getPickSource"), kRead);
}

void kel_WellPick::setPickSource(const kel_WellString& source) {
  Core::setText(*this, &Remote::setPickSource, source,
                Msg{"Could not update the code indicating the source for information pertaining to the pick. "},
                at("setPickSource"), kWrite);
}

kel_WellString kel_WellPick::getPickType() const {
  return Core::getText(*this, &Remote::getPickType, Msg{"Could not return the type of this pick. "}, at("getPickType"),
                       kRead);
}

kel_Color kel_WellPick::getPickColor() const {
  return translate(Msg{"Could not return the color of this pick. "}, at("getPickColor"), kRead, [&] {
    CORBA::String_var name = Core::remote(*this)->getPickColor();
    if (name.in()[0] == '\0') return kel_Color();
    return kel_Color::getColor(name.in());
  });
}

void kel_WellPick::setPickColor(const kel_Color& color) {
  translate(Msg{"Could not update the color of this pick. "}, at("setPickColor"), kWrite, [&] {
    Remote* target = Core::remote(*this);
    const kel_cppUtil::String name = color.getColorName();
    target->setPickColor(static_cast<const char*>(name));
  });
}

kel_Date kel_WellPick::getLastModified(const kel_WellString& selector) const {
  return translate(Msg{"Could not return the last modified date of this well pick. "}, at("getLastModified"),
                   Standard(Store, Validation), [&] {
                     CORBA::String_var text = Core::remote(*this)->getLastModified(static_cast<const char*>(selector));
                     return kel_Date::fromString(text.in());
                   });
}

// ---------------------------------------------------------------- dip

kel_FloatQuantity kel_WellPick::getDipAngle(const kel_Unit& unit) const {
  return Core::getQuantity(*this, &Remote::getDipAngle, unit,
                           Msg{"Could not return the angle of dip from horizontal for this pick. "}, at("getDipAngle"),
                           kRead);
}

kel_FloatQuantity kel_WellPick::getDipAngle() const {
  return Core::getQuantityInDefaultUnit(
      *this, &kel_WellPick::getDipAngle, &kel_UnitMeasureSet::angleUnit,
      Msg{"Could not return the angle of dip from horizontal for this pick using default unit. "}, at("getDipAngle"),
      Standard());
}

void kel_WellPick::setDipAngle(const kel_FloatQuantity& angle) {
  Core::setQuantity(*this, &Remote::setDipAngle, angle,
                    Msg{"Could not update the angle of dip from horizontal for this pick. "}, at("setDipAngle"),
                    kWrite);
}

kel_FloatQuantity kel_WellPick::getDipAzimuth(const kel_Unit& unit) const {
  return Core::getQuantity(*this, &Remote::getDipAzimuth, unit,
                           Msg{"Could not return the direction of dip of this pick. "}, at("getDipAzimuth"), kRead);
}

kel_FloatQuantity kel_WellPick::getDipAzimuth() const {
  return Core::getQuantityInDefaultUnit(*this, &kel_WellPick::getDipAzimuth, &kel_UnitMeasureSet::angleUnit,
                                        Msg{"Could not return the direction of dip of this pick using default unit. "},
                                        at("getDipAzimuth"), Standard());
}

void kel_WellPick::setDipAzimuth(const kel_FloatQuantity& azimuth) {
  Core::setQuantity(*this, &Remote::setDipAzimuth, azimuth, Msg{"Could not update the direction of dip of this pick. "},
                    at("setDipAzimuth"), kWrite);
}

// ---------------------------------------------------------------- wellbore and occurrence

kel_WellBore kel_WellPick::getBore() const {
  return translate(Msg{"Could not return the well bore which this well pick belongs to. "}, at("getBore"), kRead, [&] {
    EpiWell::WellBore_var bore = Core::remote(*this)->getBore();
    if (CORBA::is_nil(bore.in())) return kel_WellBore();
    return kel_WrapperCore<kel_WellBore>::wrap(bore.in());
  });
}

// The service keeps no occurrence of a pick: both fail at once, asking nothing.
unsigned long kel_WellPick::getOccurrence() const { throw kel_UserException("Not implemented yet."); }
void kel_WellPick::setOccurrence(unsigned long) { throw kel_UserException("Not implemented yet."); }

// ---------------------------------------------------------------- pick values

kel_WellPick::PickValue kel_WellPick::getPickValue(PickReference reference) const {
  return translate(Msg{"Could not return the pick value in the specified PickReference. "}, at("getPickValue"),
                   kRead, [&] {
                     // An unknown kind fails here, before anything is asked.
                     const EpiWell::WellPick::PickReference asked =
                         kel_WellEnumConverter::makeEpiPickReference(reference);
                     EpiWell::WellPick::PickValue_var answer = Core::remote(*this)->getPickValue(asked);
                     PickValue result;
                     result.reference = kel_WellEnumConverter::makeKelPickReference(answer->reference);
                     result.value = kel_DataQuantityConverter::makeKelFloatQuantity(answer->value);
                     return result;
                   });
}

kel_WellPick::PickValue kel_WellPick::getOriginalPickValue() const {
  return translate(Msg{"Could not return the original pick value. "}, at("getOriginalPickValue"), kRead, [&] {
    EpiWell::WellPick::PickValue_var answer = Core::remote(*this)->getOriginalPickValue();
    PickValue result;
    result.reference = originalReference(answer->reference);
    result.value = kel_DataQuantityConverter::makeKelFloatQuantity(answer->value);
    return result;
  });
}

void kel_WellPick::setPickValue(const PickValue& pickValue) {
  translate(Msg{"Could not update the pick value. "}, at("setPickValue"), kWrite, [&] {
    Remote* target = Core::remote(*this);
    const std::unique_ptr<RemotePickValue> remoteValue = makeRemotePickValue(pickValue, ValueOrder::ReferenceFirst);
    target->setPickValue(*remoteValue);
  });
}

// ---------------------------------------------------------------- location

kel_Coordinate kel_WellPick::getLocation(const kel_CoordSystem& system, const kel_WellVelocity& velocity) const {
  return translate(
      Msg{"Could not return this pick's location. "}, at("getLocation"),
      Standard(InsufficientData, Conversion,
               NoKnownTransform.split(NoKnownTransformOpening, "exception in the kel_WellPick::getLocation method. "),
               Store),
      [&] {
        Remote* target = Core::remote(*this);
        EpCoordinateService::Coordinate_var location =
            target->getLocation(kel_remote::rawOrNil<EpCoordinateService::System>(system),
                                kel_remote::rawOrNil<EpiWell::WellVelocity>(velocity));
        if (CORBA::is_nil(location->system.in()))
          throw kel_SystemException("The EpCoordinateService::Coordinate came bcak nil. ");
        return kel_Coordinate(kel_CoordSystem(kel_RemoteStub(location->system.in()), true), location->x, location->y,
                              location->z);
      });
}

kel_Coordinate kel_WellPick::getLocation(const kel_WellVelocity& velocity) const {
  return translate(Msg{"Could not return this pick's location using default coordinate system. "}, at("getLocation"),
                   kForwarding, [&] { return getLocation(kel_CoordSystem::getDefaultSystem(), velocity); });
}
