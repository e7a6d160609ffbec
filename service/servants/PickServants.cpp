#include "servants/PickServants.h"

#include <cmath>
#include <optional>

#include <kel_Color.h>
#include <kel_Exception.h>

#include "catalogue/Catalogues.h"
#include "engine/EngineError.h"
#include "engine/TimeDepth.h"
#include "entity/Velocities.h"
#include "servants/Limits.h"
#include "servants/RemoteNumbers.h"
#include "servants/VelocityServants.h"
#include "servants/WellBoreDepths.h"
#include "servants/WellServants.h"

namespace kelwelld {

namespace {

using engine::EngineError;
using engine::ErrorKind;
using Pick = EpiWell::WellPick;

// ------------------------------------------------------------ pick values

bool isTimeReference(short reference) { return reference >= Pick::PICK_TWT; }
const char* quantityClassOf(short reference) { return isTimeReference(reference) ? "time" : "length"; }
engine::DepthKind depthKindOf(short reference) { return static_cast<engine::DepthKind>(reference); }
engine::TimeKind timeKindOf(short reference) { return static_cast<engine::TimeKind>(reference - Pick::PICK_TWT); }

short checkedReference(short reference) {
  if (reference < Pick::PICK_MD || reference > Pick::PICK_TWT_MSL)
    throwValidation("The pick reference " + std::to_string(reference) +
                    " is not known (0 MD, 1 TVD, 2 TVDSS, 3 TVDGL, 4 TWT, 5 OWT, 6 TWT below MSL). ");
  return reference;
}

// A pick value a client writes: a known reference, a finite number, a unit
// that is nil (the SI unit) or measures what the reference measures.
PickRecord pickValueFromRemote(Catalogues& catalogues, const Pick::PickValue& given) {
  PickRecord r;
  r.reference = checkedReference(given.reference);
  const double number = valueOf(given.value.value, "pick value");
  if (!std::isfinite(number)) throwValidation("The pick value must be a finite number. ");
  const auto unit = catalogues.resolveUnit(given.value.unit.in());
  if (!unit) throwValidation("The unit of the pick value is not a unit of the service's catalogue. ");
  const std::string wanted = quantityClassOf(r.reference);
  if (!unit->acronym.empty() && unit->quantity != wanted)
    throwValidation("The unit " + quoted(unit->acronym) + " of the pick value measures " + unit->quantity +
                    ", but a value in reference " + std::to_string(r.reference) + " is a " + wanted + ". ");
  r.value = Quantity{number, unit->acronym};
  // Kept in the branch it came in: floats as floats, every other number as a double.
  r.valueType = given.value.value._d() == EpTypes::FLOAT_DATA ? EpTypes::FLOAT_DATA : EpTypes::DOUBLE_DATA;
  return r;
}

// The velocity function a conversion through time takes: the one given, or
// else the wellbore's default one. EngineError InsufficientData naming what
// is missing.
engine::VelocityFunction velocityFor(Context& context, const std::string& wellBoreId,
                                     EpiWell::WellVelocity_ptr given, const char* needs) {
  if (CORBA::is_nil(given)) {
    auto fallback = defaultFunctionOf(context, wellBoreId);
    if (!fallback)
      throw EngineError(ErrorKind::InsufficientData, "The wellbore " + wellBoreId +
                                                         " has no default velocity function; " + needs + ". ");
    return std::move(*fallback);
  }
  const auto id = context.idOf(given, {Kind::Velocity, Kind::StorelessVelocity});
  if (!id) throw EngineError(ErrorKind::InsufficientData, "The velocity function given is not one of this service's. ");
  const auto record = Velocities(*context.records).load(*id);
  if (!record) throw EngineError(ErrorKind::InsufficientData, "The velocity function " + *id + " does not exist. ");
  return functionOf(*record);
}

// A value of reference `from` in reference `to`, both in SI units (m, s).
// Depth kinds relate through the wellbore's depth kinds; a time kind on
// either side needs function.
double convertPick(double value, short from, short to, const engine::DepthKinds& kinds,
                   const engine::VelocityFunction* function) {
  if (from == to) return value;
  const bool fromTime = isTimeReference(from);
  const bool toTime = isTimeReference(to);
  if (!fromTime && !toTime) return kinds.convert(value, depthKindOf(from), depthKindOf(to));
  if (!function) throw std::logic_error("a time kind converted without a velocity function");
  if (fromTime && toTime) {
    const double twt = function->timeKinds(timeKindOf(from)).toTwt(value, timeKindOf(from));
    return function->timeKinds(timeKindOf(to)).fromTwt(twt, timeKindOf(to));
  }
  if (toTime) return engine::depthsToTimes(*function, kinds, {value}, depthKindOf(from), timeKindOf(to)).front();
  return engine::timesToDepths(*function, kinds, {value}, timeKindOf(from), depthKindOf(to)).front();
}

double baseValueOf(const PickRecord& r) {
  return unitScaleOf(r.value.unit, quantityClassOf(r.reference)).toBase(*r.value.value);
}

// Runs body; an engine or wire refusal becomes what refuse throws (the
// exception the operation declares). Store failures and CORBA exceptions pass.
template <class Refuse, class Body>
auto refusing(Refuse refuse, Body body) -> decltype(body()) {
  try {
    return body();
  } catch (const EngineError& e) {
    refuse(e.what(), false);
  } catch (const WireError& e) {
    refuse(e.what(), e.kind() == WireError::What::Unit);
  }
  throw std::logic_error("a refusal that raised nothing");
}

void refuseInsufficient(const char* reason, bool) { throw EpTypes::InsufficientDataException(reason); }

void refuseLocation(const char* reason, bool unit) {
  if (unit) throw EpUnitOfMeasureService::ConversionException(reason);
  throw EpTypes::InsufficientDataException(reason);
}

// ------------------------------------------------------------- location

// The wellbore's position at a pick's measured depth (m), in system ("" for
// the system of the well's location, which comes back filled in): x and y on
// the wellbore's path, z the pick's TVD in a depth system and its TWT in a
// time system, in the system's vertical unit. twt (s) is asked only for a
// time system.
XYZ positionAtPick(Context& context, const std::string& wellBoreId, std::string& system, double md, double tvd,
                   const std::function<double()>& twt) {
  const auto wellId = context.records->of<WellBoreRecord>().field(wellBoreId, &WellBoreRecord::wellId);
  if (!wellId) throwNotExist();
  const auto head = context.records->of<WellRecord>().field(*wellId, &WellRecord::location);
  if (!head || !head->set)
    throw EpCoordinateService::NoKnownTransformException(
        "The well's surface location is not set; a pick's location starts from it. ");
  if (system.empty()) system = head->system;
  Catalogues& catalogues = *context.catalogues;
  EpCoordinateService::System_var target = catalogues.systemReference(system);
  const bool time = target->isTimeSystem();
  EpUnitOfMeasureService::Unit_var vertical = target->verticalUnit();
  const UnitScale zUnit = unitScaleOf(catalogues, vertical.in(), time ? "time" : "length", "system's vertical axis");
  XYZ point = horizontalPositionAt(context, wellBoreId, md, system);
  point.z = zUnit.fromBase(time ? twt() : tvd);
  return point;
}

// ---------------------------------------------------------- attributes

std::string checkedColour(const std::string& name) {
  if (name.empty()) return name;
  try {
    kel_Color::getColor(name.c_str());
  } catch (const kel_Exception&) {
    throwValidation("The pick colour " + quoted(name) +
                    " is neither a colour name (such as \"red\" or \"darkgreen\") nor \"#rrggbb\"; \"\" clears it. ");
  }
  return name;
}

const double degree = M_PI / 180.0;

} // namespace

// ================================================================== WellPick

WellPickServant::WellPickServant(Context& context) : EntityServant(context) {}

char* WellPickServant::getLastModified(const char* selector) {
  return lastModified(selector,
                      {{"attributes", &PickRecord::modifiedAttributes}, {"value", &PickRecord::modifiedValue}});
}

void WellPickServant::setText(const char* operation, std::string PickRecord::*member, const std::string& value) {
  checkTextSize(value.c_str(), "text of " + std::string(operation));
  write(operation, &PickRecord::modifiedAttributes, [&](PickRecord& r) { r.*member = value; });
}

char* WellPickServant::getComment() { return text("getComment", &PickRecord::comment); }
void WellPickServant::setComment(const char* v) {
  enterFault("setComment", m_context.currentId());
  setText("setComment", &PickRecord::comment, v);
}
char* WellPickServant::getInterpreter() { return text("getInterpreter", &PickRecord::interpreter); }
void WellPickServant::setInterpreter(const char* v) {
  enterFault("setInterpreter", m_context.currentId());
  setText("setInterpreter", &PickRecord::interpreter, v);
}
char* WellPickServant::getPickName() { return text("getPickName", &PickRecord::pickName); }
void WellPickServant::setPickName(const char* v) {
  enterFault("setPickName", m_context.currentId());
  setText("setPickName", &PickRecord::pickName, v);
}
char* WellPickServant::getPickSource() { return text("getPickSource", &PickRecord::pickSource); }
void WellPickServant::setPickSource(const char* v) {
  enterFault("setPickSource", m_context.currentId());
  setText("setPickSource", &PickRecord::pickSource, v);
}
char* WellPickServant::getPickType() { return text("getPickType", &PickRecord::pickType); }

char* WellPickServant::getConfidenceFactor() { return text("getConfidenceFactor", &PickRecord::confidenceFactor); }
void WellPickServant::setConfidenceFactor(const char* value) {
  enterFault("setConfidenceFactor", m_context.currentId());
  const std::string code(value);
  if (!code.empty() && !m_context.catalogues->isCode("ConfidenceFactor", code))
    throwValidation("The confidence factor " + quoted(code) +
                    " is not a code of the reference value set \"ConfidenceFactor\" (authority \"Kelvast\"); "
                    "the reference value service lists the valid codes, and \"\" clears it. ");
  setText("setConfidenceFactor", &PickRecord::confidenceFactor, code);
}

char* WellPickServant::getPickDate() { return text("getPickDate", &PickRecord::pickDate); }
void WellPickServant::setPickDate(const char* value) {
  enterFault("setPickDate", m_context.currentId());
  setText("setPickDate", &PickRecord::pickDate, checkedDate(value, "pick date"));
}

char* WellPickServant::getPickColor() { return text("getPickColor", &PickRecord::pickColor); }
void WellPickServant::setPickColor(const char* value) {
  enterFault("setPickColor", m_context.currentId());
  setText("setPickColor", &PickRecord::pickColor, checkedColour(value));
}

EpiTypes::DataQuantity* WellPickServant::getDipAngle() {
  const auto dip = readField("getDipAngle", &PickRecord::dipAngle);
  return quantityToRemote(dip.value, *m_context.catalogues, dip.fault);
}
void WellPickServant::setDipAngle(const EpiTypes::DataQuantity& value) {
  setDip("setDipAngle", &PickRecord::dipAngle, value, "dip angle", 90.0);
}
EpiTypes::DataQuantity* WellPickServant::getDipAzimuth() {
  const auto dip = readField("getDipAzimuth", &PickRecord::dipAzimuth);
  return quantityToRemote(dip.value, *m_context.catalogues, dip.fault);
}
void WellPickServant::setDipAzimuth(const EpiTypes::DataQuantity& value) {
  setDip("setDipAzimuth", &PickRecord::dipAzimuth, value, "dip azimuth", 360.0);
}

// An angle from 0 to largestDegrees in any angle unit (nil: radians), kept
// in the unit it was written in; NaN clears it.
void WellPickServant::setDip(const char* operation, Quantity PickRecord::*member, const EpiTypes::DataQuantity& value,
                             const char* attribute, double largestDegrees) {
  enterFault(operation, m_context.currentId());
  const std::string what(attribute);
  const double number = valueOf(value.value, what);
  const auto unit = m_context.catalogues->resolveUnit(value.unit.in());
  if (!unit) throwValidation("The unit of the " + what + " is not a unit of the service's catalogue. ");
  if (!unit->acronym.empty() && unit->quantity != "angle")
    throwValidation("The unit " + quoted(unit->acronym) + " of the " + what + " measures " + unit->quantity +
                    ", not angle. ");
  Quantity checked;
  if (!std::isnan(number)) {
    const double radians = std::isfinite(number) ? unitScaleOf(unit->acronym, "angle").toBase(number) : number;
    // A value written in degrees at the very end of the range stays inside it.
    const double largest = largestDegrees * degree * (1.0 + 1e-12);
    if (!(radians >= 0.0 && radians <= largest))
      throwValidation("The " + what + " must lie between 0 and " + std::to_string(static_cast<int>(largestDegrees)) +
                      " degrees; " + std::to_string(number) + " " + (unit->acronym.empty() ? "rad" : unit->acronym) +
                      " does not. ");
    checked = Quantity{number, unit->acronym};
  }
  write(operation, &PickRecord::modifiedAttributes, [&](PickRecord& r) { r.*member = checked; });
}

EpiWell::WellBore_ptr WellPickServant::getBore() {
  const auto call = readField("getBore", &PickRecord::wellBoreId);
  if (wantsNil(call.fault)) return EpiWell::WellBore::_nil();
  return m_context.referenceAs<EpiWell::WellBore>(call.value);
}

// ------------------------------------------------------------ pick values

namespace {

// The pick value exactly as it was written: its number in the branch it came
// in, its unit (nil when it came without one), its reference.
Pick::PickValue* originalToRemote(const PickRecord& r, Catalogues& catalogues) {
  Pick::PickValue_var result = new Pick::PickValue;
  fillValue(result->value.value, *r.value.value, r.valueType);
  result->value.unit =
      r.value.unit.empty() ? EpUnitOfMeasureService::Unit::_nil() : catalogues.unitReference(r.value.unit);
  result->reference = r.reference;
  return result._retn();
}

} // namespace

Pick::PickValue* WellPickServant::getOriginalPickValue() {
  return originalToRemote(read("getOriginalPickValue").record, *m_context.catalogues);
}

// In the unit of the original value when the reference measures the same
// (length or time); else in the SI unit (m or s), named in the answer.
Pick::PickValue* WellPickServant::getPickValue(Pick::PickReference reference) {
  const Call call = read("getPickValue");
  checkedReference(reference);
  const PickRecord& r = call.record;
  Catalogues& catalogues = *m_context.catalogues;
  if (reference == r.reference) return originalToRemote(r, catalogues);
  return refusing(refuseInsufficient, [&] {
    std::optional<engine::VelocityFunction> function;
    if (isTimeReference(reference) || isTimeReference(r.reference))
      function = velocityFor(m_context, r.wellBoreId, EpiWell::WellVelocity::_nil(),
                             "pick values in time kinds need one");
    const WellBoreDepths depths(m_context, r.wellBoreId);
    const double value = convertPick(baseValueOf(r), r.reference, reference, depths.kinds(),
                                     function ? &*function : nullptr);
    const bool sameClass = isTimeReference(reference) == isTimeReference(r.reference);
    const UnitScale unit =
        sameClass ? unitScaleOf(r.value.unit, quantityClassOf(reference)) : baseUnit(quantityClassOf(reference));
    Pick::PickValue_var result = new Pick::PickValue;
    fillValue(result->value.value, unit.fromBase(value), r.valueType);
    result->value.unit = sameClass && r.value.unit.empty() ? EpUnitOfMeasureService::Unit::_nil()
                                                           : catalogues.unitReference(unit.acronym);
    result->reference = reference;
    return result._retn();
  });
}

void WellPickServant::setPickValue(const Pick::PickValue& value) {
  enterFault("setPickValue", m_context.currentId());
  const PickRecord given = pickValueFromRemote(*m_context.catalogues, value);
  write("setPickValue", &PickRecord::modifiedValue, [&](PickRecord& r) {
    r.value = given.value;
    r.reference = given.reference;
    r.valueType = given.valueType;
  });
}

EpCoordinateService::Coordinate* WellPickServant::getLocation(EpCoordinateService::System_ptr system,
                                                              EpiWell::WellVelocity_ptr velocity) {
  const Call call = read("getLocation");
  const PickRecord& r = call.record;
  Catalogues& catalogues = *m_context.catalogues;
  const auto target = catalogues.resolveSystem(system);
  if (!target)
    throw EpCoordinateService::NoKnownTransformException(
        "The coordinate system asked for is not known to the service. ");
  std::string systemName = *target;
  const XYZ point = refusing(refuseLocation, [&] {
    // Loaded only when a time kind is involved: the pick's own or the system's.
    std::optional<engine::VelocityFunction> function;
    const auto through = [&]() -> const engine::VelocityFunction* {
      if (!function)
        function = velocityFor(m_context, r.wellBoreId, velocity,
                               "a pick in a time kind or a location in a time system needs one");
      return &*function;
    };
    const WellBoreDepths depths(m_context, r.wellBoreId);
    const double value = baseValueOf(r);
    const engine::VelocityFunction* own = isTimeReference(r.reference) ? through() : nullptr;
    const double md = convertPick(value, r.reference, Pick::PICK_MD, depths.kinds(), own);
    const double tvd = convertPick(value, r.reference, Pick::PICK_TVD, depths.kinds(), own);
    return positionAtPick(m_context, r.wellBoreId, systemName, md, tvd, [&] {
      return convertPick(value, r.reference, Pick::PICK_TWT, depths.kinds(), through());
    });
  });
  EpCoordinateService::Coordinate_var result = new EpCoordinateService::Coordinate;
  result->system = wantsNil(call.fault) ? EpCoordinateService::System::_nil() : catalogues.systemReference(systemName);
  result->x = point.x;
  result->y = point.y;
  result->z = point.z;
  return result._retn();
}

// ================================================================= factories

namespace {

// The id of the new pick.
std::string createPickOf(Context& context, EpiWell::WellBore_ptr bore, const char* pickName, const char* pickType,
                         const char* interpreter, const Pick::PickValue& value, bool stored) {
  if (CORBA::is_nil(bore)) throwFailed("A pick needs a wellbore; the wellbore is nil. ");
  const auto boreId = stored ? context.idOf(bore, {Kind::WellBore})
                             : context.idOf(bore, {Kind::WellBore, Kind::StorelessWellBore});
  if (!boreId) {
    if (stored && context.idOf(bore, {Kind::StorelessWellBore}))
      throwFailed("A stored pick needs a stored wellbore; the wellbore is storeless. ");
    throwFailed("The wellbore is not a wellbore of this service. ");
  }
  PickRecord record = pickValueFromRemote(*context.catalogues, value);
  record.wellBoreId = *boreId;
  record.pickName = pickName;
  record.pickType = pickType;
  record.interpreter = interpreter;
  const PickRecord created = Picks(*context.records).create(std::move(record), stored);
  context.changed(created.id, "created", "createWellPick");
  context.changed(created.wellBoreId, "modified", "createWellPick");
  return created.id;
}

} // namespace

EpiWell::WellPick_ptr NewWellPickFactoryServant::createWellPick(EpiWell::WellBore_ptr bore, const char* pickName,
                                                                const char* pickType, const char* interpreter,
                                                                const Pick::PickValue& value,
                                                                EpSession::Session_ptr) {
  return created<EpiWell::WellPick>("createWellPick", [&] {
    return createPickOf(m_context, bore, pickName, pickType, interpreter, value, true);
  });
}

EpiWell::WellPick_ptr StorelessWellPickFactoryServant::createWellPick(EpiWell::WellBore_ptr bore,
                                                                      const char* pickName, const char* pickType,
                                                                      const char* interpreter,
                                                                      const Pick::PickValue& value,
                                                                      EpSession::Session_ptr) {
  return created<EpiWell::WellPick>("createWellPick", [&] {
    return createPickOf(m_context, bore, pickName, pickType, interpreter, value, false);
  });
}

} // namespace kelwelld
