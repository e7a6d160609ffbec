#include "servants/VelocityServants.h"

#include <cmath>
#include <limits>

#include "catalogue/Catalogues.h"
#include "servants/Limits.h"
#include "servants/RemoteNumbers.h"
#include "servants/WellBoreDepths.h"

namespace kelwelld {

namespace {

using engine::EngineError;
using engine::ErrorKind;
using Velocity = EpiWell::WellVelocity;

// What an operation's body refused, whichever layer found it: the engine or
// the unpacking of what came over the wire.
struct Refusal {
  std::string reason;
  std::optional<ErrorKind> engine;
  std::optional<WireError::What> wire;
  EpTypes::DataType dataType = 0;
};

// Runs body and reports a refusal through refuse, which throws the remote
// exception the operation declares for it. Store failures and CORBA
// exceptions pass through unchanged.
template <class Refuse, class Body>
auto guarded(Refuse refuse, Body body) -> decltype(body()) {
  try {
    return body();
  } catch (const EngineError& e) {
    refuse(Refusal{e.what(), e.kind(), std::nullopt, 0});
  } catch (const WireError& e) {
    refuse(Refusal{e.what(), std::nullopt, e.kind(), e.dataType()});
  }
  throw std::logic_error("a refusal that raised nothing");
}

// Data reads declare the data type and unit conversion exceptions only: a
// value the service cannot compute (a kind that needs what is not set) is
// reported as a failed conversion.
void refuseRead(const Refusal& r) {
  if (r.wire == WireError::What::DataType) throw EpTypes::InvalidDataTypeException(r.dataType, r.reason.c_str());
  throw EpUnitOfMeasureService::ConversionException(r.reason.c_str());
}

void refuseConversion(const Refusal& r) {
  if (r.wire == WireError::What::DataType) throw EpTypes::InvalidDataTypeException(r.dataType, r.reason.c_str());
  if (r.wire == WireError::What::Unit) throw EpUnitOfMeasureService::ConversionException(r.reason.c_str());
  throw Velocity::ConversionNotSupportedException(r.reason.c_str());
}

void refuseDataPair(const Refusal& r) { throw Velocity::InvalidDataPairException(r.reason.c_str()); }

void refuseSamples(const Refusal& r) {
  if (r.engine == ErrorKind::InvalidNumSamples) throw Velocity::InvalidNumSamplesException(r.reason.c_str());
  throw Velocity::InvalidDataPairException(r.reason.c_str());
}

void refuseDelete(const Refusal& r) { throw Velocity::TimeNotFoundException(r.reason.c_str()); }

void refuseValue(const Refusal& r) { throwValidation(r.reason); }

[[noreturn]] void refuseKind(const char* what, short value, const char* known) {
  throw WireError(WireError::What::Kind,
                  std::string("The ") + what + " " + std::to_string(value) + " is not known (" + known + "). ");
}

engine::DepthKind depthKindOf(EpiWell::DepthType value) {
  if (value < EpiWell::DEPTH_MD || value > EpiWell::DEPTH_TVDGL)
    refuseKind("depth kind", value, "0 MD, 1 TVD, 2 TVDSS, 3 TVDGL");
  return static_cast<engine::DepthKind>(value);
}

engine::TimeKind timeKindOf(EpiWell::TimeType value) {
  if (value < EpiWell::TIME_TWT || value > EpiWell::TIME_TWT_MSL)
    refuseKind("time kind", value, "0 TWT, 1 OWT, 2 TWT below MSL");
  return static_cast<engine::TimeKind>(value);
}

engine::VelocityKind velocityKindOf(Velocity::VelocityType value) {
  if (value < Velocity::INTERVAL_VELOCITY || value > Velocity::RMS_VELOCITY)
    refuseKind("velocity kind", value, "0 interval, 1 average, 2 RMS");
  return static_cast<engine::VelocityKind>(value);
}

// The values of pairs: a velocity kind (0 to 2) or one of VelocityOtherType (3 to 5).
engine::PairValueKind pairValueKindOf(Velocity::VelocityOtherType value) {
  if (value < Velocity::INTERVAL_VELOCITY || value > Velocity::INSTANTANEOUS_VELOCITY_VALUES)
    refuseKind("kind of values", value,
               "0 interval, 1 average, 2 RMS velocities, 3 depths, 4 subsea depths, 5 instantaneous velocities");
  return static_cast<engine::PairValueKind>(value);
}

// The function's samples as they are kept (floats), checked to still make a
// function: two samples too close for float precision are refused here.
VelocitySamples keptSamples(const engine::VelocityFunction& function) {
  const auto rounded = [](const std::vector<double>& values) {
    std::vector<double> out(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) out[i] = static_cast<float>(values[i]);
    return out;
  };
  VelocitySamples samples{rounded(function.times()), rounded(function.depths()), rounded(function.anisotropy())};
  try {
    engine::VelocityFunction check;
    check.setTimeDepths(samples.twt, samples.depth);
    check.setAnisotropy(0, samples.anisotropy);
  } catch (const EngineError& e) {
    throw EngineError(ErrorKind::InvalidDataPair,
                      std::string("The samples cannot be kept at float precision: ") + e.what());
  }
  return samples;
}

// The five lists of WellVelocityData in SI units.
struct VelocityLists {
  std::vector<double> times, depths, interval, average, rms;
};

VelocityLists velocityListsOf(Catalogues& catalogues, const Velocity::WellVelocityData& data) {
  return {baseValuesOf(catalogues, data.times, "time", "times"),
          baseValuesOf(catalogues, data.depths, "length", "depths"),
          baseValuesOf(catalogues, data.firstVelocities, "velocity", "interval velocities"),
          baseValuesOf(catalogues, data.secondVelocities, "velocity", "average velocities"),
          baseValuesOf(catalogues, data.thirdVelocities, "velocity", "RMS velocities")};
}

void setLists(engine::VelocityFunction& function, const VelocityLists& lists) {
  function.setVelocityData(lists.times, lists.depths, lists.interval, lists.average, lists.rms);
}

// Pairs in SI units with their kinds.
struct PairLists {
  std::vector<double> times, values;
  engine::TimeKind timeKind;
  engine::PairValueKind valueKind;
};

PairLists pairListsOf(Catalogues& catalogues, const Velocity::VelocityDataPairs& pairs) {
  const engine::TimeKind timeKind = timeKindOf(pairs.timeType);
  const engine::PairValueKind valueKind = pairValueKindOf(pairs.valueKind);
  const bool depths = valueKind == engine::PairValueKind::Depth || valueKind == engine::PairValueKind::SubseaDepth;
  return {baseValuesOf(catalogues, pairs.times, "time", "times"),
          baseValuesOf(catalogues, pairs.values, depths ? "length" : "velocity", "values"), timeKind, valueKind};
}

// Velocities at the sample times; NaN where the kind needs a value that is
// not set (the shallow extend velocity above a first sample below the datum).
std::vector<double> velocitiesAtSamples(const engine::VelocityFunction& function, engine::VelocityKind kind) {
  std::vector<double> velocities;
  velocities.reserve(function.size());
  for (double twt : function.times()) {
    try {
      velocities.push_back(function.velocityAtTwt(twt, kind));
    } catch (const EngineError& e) {
      if (e.kind() != ErrorKind::ConversionNotSupported) throw;
      velocities.push_back(std::numeric_limits<double>::quiet_NaN());
    }
  }
  return velocities;
}

std::vector<double> timesIn(const engine::VelocityFunction& function, engine::TimeKind kind) {
  const engine::TimeKinds kinds = function.timeKinds(kind);
  std::vector<double> times;
  times.reserve(function.size());
  for (double twt : function.times()) times.push_back(kinds.fromTwt(twt, kind));
  return times;
}

} // namespace

engine::VelocityFunction functionOf(const VelocityRecord& record) {
  engine::VelocityFunction function;
  try {
    if (record.datum.value) function.setDatum(unitScaleOf(record.datum.unit, "length").toBase(*record.datum.value));
    if (record.extendShallow.value)
      function.setExtendShallow(unitScaleOf(record.extendShallow.unit, "velocity").toBase(*record.extendShallow.value));
    if (record.extendDeep.value)
      function.setExtendDeep(unitScaleOf(record.extendDeep.unit, "velocity").toBase(*record.extendDeep.value));
    function.setTimeDepths(record.samples.twt, record.samples.depth);
    function.setAnisotropy(0, record.samples.anisotropy);
  } catch (const std::runtime_error& e) {
    throwStore("Could not read the velocity function " + record.id, e.what());
  }
  return function;
}

std::optional<engine::VelocityFunction> defaultFunctionOf(Context& context, const std::string& wellBoreId) {
  Velocities velocities(*context.records);
  const auto id = velocities.defaultOf(wellBoreId);
  if (!id) return std::nullopt;
  const auto record = velocities.load(*id);
  if (!record) return std::nullopt;   // removed since: the wellbore has none now
  return functionOf(*record);
}

// ================================================================ WellVelocity

WellVelocityServant::WellVelocityServant(Context& context) : EntityServant(context) {}

VelocityRecord WellVelocityServant::load(const char* operation) {
  const std::string id = m_context.currentId();
  enterFault(operation, id);
  auto record = Velocities(*m_context.records).load(id);
  if (!record) throwNotExist();
  return std::move(*record);
}

void WellVelocityServant::changeSamples(const char* operation,
                                        const std::function<void(engine::VelocityFunction&)>& change) {
  const std::string id = m_context.currentId();
  const std::string now = nowUtc();
  const auto saved = Velocities(*m_context.records).modify(id, [&](VelocityRecord& r) {
    engine::VelocityFunction function = functionOf(r);
    change(function);
    r.samples = keptSamples(function);
    r.modifiedSamples = now;
  });
  if (!saved) throwNotExist();
  m_context.changed(id, "modified", operation);
}

char* WellVelocityServant::getLastModified(const char* selector) {
  return lastModified(selector, {{"attributes", &VelocityRecord::modifiedAttributes},
                                 {"samples", &VelocityRecord::modifiedSamples}});
}

CORBA::Boolean WellVelocityServant::getCheckshot() {
  return readField("getCheckshot", &VelocityRecord::checkshot).value != 0;
}

void WellVelocityServant::setCheckshot(CORBA::Boolean value) {
  enterFault("setCheckshot", m_context.currentId());
  write("setCheckshot", &VelocityRecord::modifiedAttributes,
        [&](VelocityRecord& r) { r.checkshot = value ? 1 : 0; });
}

void WellVelocityServant::setText(const char* operation, std::string VelocityRecord::*member, const char* value) {
  enterFault(operation, m_context.currentId());
  checkTextSize(value, "text of " + std::string(operation));
  const std::string text(value);
  write(operation, &VelocityRecord::modifiedAttributes, [&](VelocityRecord& r) { r.*member = text; });
}

char* WellVelocityServant::getComment() { return text("getComment", &VelocityRecord::comment); }
void WellVelocityServant::setComment(const char* v) { setText("setComment", &VelocityRecord::comment, v); }
char* WellVelocityServant::getDataSource() { return text("getDataSource", &VelocityRecord::dataSource); }
void WellVelocityServant::setDataSource(const char* v) { setText("setDataSource", &VelocityRecord::dataSource, v); }
char* WellVelocityServant::getWellVelocityName() { return text("getWellVelocityName", &VelocityRecord::name); }
void WellVelocityServant::setWellVelocityName(const char* v) {
  setText("setWellVelocityName", &VelocityRecord::name, v);
}

CORBA::Long WellVelocityServant::getNumSamples() {
  const std::string id = m_context.currentId();
  enterFault("getNumSamples", id);
  const auto count = Velocities(*m_context.records).sampleCount(id);
  if (!count) throwNotExist();
  return static_cast<CORBA::Long>(*count);
}

EpiTypes::DataQuantity* WellVelocityServant::getDatum() {
  const auto datum = readField("getDatum", &VelocityRecord::datum);
  return quantityToRemote(datum.value, *m_context.catalogues, datum.fault);
}

void WellVelocityServant::setDatum(const EpiTypes::DataQuantity& value) {
  enterFault("setDatum", m_context.currentId());
  const Quantity datum = lengthFromRemote(value, "datum", *m_context.catalogues);
  write("setDatum", &VelocityRecord::modifiedAttributes, [&](VelocityRecord& r) { r.datum = datum; });
}

// An extend velocity in the requested unit (nil: the unit it was written in).
EpiTypes::DataQuantity* WellVelocityServant::velocity(const char* operation, Quantity VelocityRecord::*member,
                                                      EpTypes::DataType type, EpUnitOfMeasureService::Unit_ptr unit) {
  const auto call = readField(operation, member);
  Catalogues& catalogues = *m_context.catalogues;
  return guarded(refuseRead, [&] {
    requireDeliverable(type);
    const Quantity& stored = call.value;
    const UnitScale written = unitScaleOf(stored.unit, "velocity");
    const UnitScale target = CORBA::is_nil(unit) ? written : unitScaleOf(catalogues, unit, "velocity", "velocity");
    EpiTypes::DataQuantity_var result = new EpiTypes::DataQuantity;
    if (wantsOutOfRange(call.fault)) {
      result->value._default();
      result->unit = EpUnitOfMeasureService::Unit::_nil();
      return result._retn();
    }
    fillValue(result->value, stored.value ? target.fromBase(written.toBase(*stored.value))
                                          : std::numeric_limits<double>::quiet_NaN(), type);
    result->unit =
        wantsNil(call.fault) ? EpUnitOfMeasureService::Unit::_nil() : catalogues.unitReference(target.acronym);
    return result._retn();
  });
}

void WellVelocityServant::setVelocity(const char* operation, Quantity VelocityRecord::*member,
                                      const EpiTypes::DataQuantity& value, const char* attribute) {
  enterFault(operation, m_context.currentId());
  const double number = valueOf(value.value, attribute);
  const Quantity checked = guarded(refuseValue, [&] {
    const UnitScale unit = unitScaleOf(*m_context.catalogues, value.unit.in(), "velocity", attribute);
    if (std::isnan(number)) return Quantity{};   // NaN clears
    if (!(std::isfinite(number) && unit.toBase(number) > 0.0))
      throwValidation(std::string("The ") + attribute + " must be a finite, positive velocity. ");
    return Quantity{number, unit.acronym};
  });
  write(operation, &VelocityRecord::modifiedAttributes, [&](VelocityRecord& r) { r.*member = checked; });
}

EpiTypes::DataQuantity* WellVelocityServant::getExtendViDeep(EpTypes::DataType type,
                                                             EpUnitOfMeasureService::Unit_ptr unit) {
  return velocity("getExtendViDeep", &VelocityRecord::extendDeep, type, unit);
}
void WellVelocityServant::setExtendViDeep(const EpiTypes::DataQuantity& value) {
  setVelocity("setExtendViDeep", &VelocityRecord::extendDeep, value, "deep extend velocity");
}
EpiTypes::DataQuantity* WellVelocityServant::getExtendViShallow(EpTypes::DataType type,
                                                                EpUnitOfMeasureService::Unit_ptr unit) {
  return velocity("getExtendViShallow", &VelocityRecord::extendShallow, type, unit);
}
void WellVelocityServant::setExtendViShallow(const EpiTypes::DataQuantity& value) {
  setVelocity("setExtendViShallow", &VelocityRecord::extendShallow, value, "shallow extend velocity");
}

EpiWell::WellBore_ptr WellVelocityServant::getBore() {
  const auto call = readField("getBore", &VelocityRecord::wellBoreId);
  if (wantsNil(call.fault)) return EpiWell::WellBore::_nil();
  return m_context.referenceAs<EpiWell::WellBore>(call.value);
}

// --------------------------------------------------------------- data reads

Velocity::WellVelocityData* WellVelocityServant::getVelocityData(EpTypes::DataType type,
                                                                EpUnitOfMeasureService::Unit_ptr timeUnit,
                                                                EpUnitOfMeasureService::Unit_ptr depthUnit,
                                                                EpUnitOfMeasureService::Unit_ptr velocityUnit) {
  const VelocityRecord record = load("getVelocityData");
  Catalogues& catalogues = *m_context.catalogues;
  return guarded(refuseRead, [&] {
    requireDeliverable(type);
    const UnitScale times = unitScaleOf(catalogues, timeUnit, "time", "times");
    const UnitScale depths = unitScaleOf(catalogues, depthUnit, "length", "depths");
    const UnitScale velocities = unitScaleOf(catalogues, velocityUnit, "velocity", "velocities");
    const engine::VelocityFunction function = functionOf(record);
    Velocity::WellVelocityData_var data = new Velocity::WellVelocityData;
    fillQuantities(data->times, catalogues, function.times(), times, type);
    fillQuantities(data->depths, catalogues, function.depths(), depths, type);
    fillQuantities(data->firstVelocities, catalogues, velocitiesAtSamples(function, engine::VelocityKind::Interval),
                   velocities, type);
    fillQuantities(data->secondVelocities, catalogues, velocitiesAtSamples(function, engine::VelocityKind::Average),
                   velocities, type);
    fillQuantities(data->thirdVelocities, catalogues, velocitiesAtSamples(function, engine::VelocityKind::Rms),
                   velocities, type);
    return data._retn();
  });
}

Velocity::TimeDepthPairs* WellVelocityServant::getTimeDepths(EpTypes::DataType type,
                                                            EpUnitOfMeasureService::Unit_ptr timeUnit,
                                                            EpUnitOfMeasureService::Unit_ptr depthUnit,
                                                            EpiWell::TimeType timeType, EpiWell::DepthType depthType) {
  const VelocityRecord record = load("getTimeDepths");
  Catalogues& catalogues = *m_context.catalogues;
  return guarded(refuseRead, [&] {
    requireDeliverable(type);
    const engine::TimeKind timeKind = timeKindOf(timeType);
    const engine::DepthKind depthKind = depthKindOf(depthType);
    const UnitScale times = unitScaleOf(catalogues, timeUnit, "time", "times");
    const UnitScale depths = unitScaleOf(catalogues, depthUnit, "length", "depths");
    const engine::VelocityFunction function = functionOf(record);
    const WellBoreDepths bore(m_context, record.wellBoreId);
    Velocity::TimeDepthPairs_var pairs = new Velocity::TimeDepthPairs;
    fillQuantities(pairs->times.values, catalogues, timesIn(function, timeKind), times, type);
    pairs->times.type = timeType;
    fillQuantities(pairs->depths.values, catalogues, engine::sampleDepths(function, bore.kinds(), depthKind), depths,
                   type);
    pairs->depths.type = depthType;
    return pairs._retn();
  });
}

Velocity::TimeVelocityPairs* WellVelocityServant::getTimeVelocities(EpTypes::DataType type,
                                                                   EpUnitOfMeasureService::Unit_ptr timeUnit,
                                                                   EpUnitOfMeasureService::Unit_ptr velocityUnit,
                                                                   EpiWell::TimeType timeType,
                                                                   Velocity::VelocityType velocityType) {
  const VelocityRecord record = load("getTimeVelocities");
  Catalogues& catalogues = *m_context.catalogues;
  return guarded(refuseRead, [&] {
    requireDeliverable(type);
    const engine::TimeKind timeKind = timeKindOf(timeType);
    const engine::VelocityKind velocityKind = velocityKindOf(velocityType);
    const UnitScale times = unitScaleOf(catalogues, timeUnit, "time", "times");
    const UnitScale velocities = unitScaleOf(catalogues, velocityUnit, "velocity", "velocities");
    const engine::VelocityFunction function = functionOf(record);
    Velocity::TimeVelocityPairs_var pairs = new Velocity::TimeVelocityPairs;
    fillQuantities(pairs->times.values, catalogues, timesIn(function, timeKind), times, type);
    pairs->times.type = timeType;
    fillQuantities(pairs->velocities.values, catalogues,
                   engine::timesToVelocities(function, function.times(), engine::TimeKind::TWT, velocityKind),
                   velocities, type);
    pairs->velocities.type = velocityType;
    return pairs._retn();
  });
}

EpTypes::DataSequence* WellVelocityServant::getAnisotropy(EpTypes::DataType type) {
  const VelocityRecord record = load("getAnisotropy");
  return guarded(refuseRead, [&] {
    EpTypes::DataSequence_var factors = new EpTypes::DataSequence;
    fillSequence(factors.inout(), record.samples.anisotropy, type);
    return factors._retn();
  });
}

// -------------------------------------------------------------- conversions

EpiWell::Times* WellVelocityServant::convertDepthsToTimes(const EpiWell::Depths& depths, EpTypes::DataType type,
                                                          EpUnitOfMeasureService::Unit_ptr timeUnit,
                                                          EpiWell::TimeType target) {
  const VelocityRecord record = load("convertDepthsToTimes");
  Catalogues& catalogues = *m_context.catalogues;
  return guarded(refuseConversion, [&] {
    requireDeliverable(type);
    const engine::DepthKind from = depthKindOf(depths.type);
    const engine::TimeKind to = timeKindOf(target);
    const std::vector<double> values = baseValuesOf(catalogues, depths.values, "length", "depths");
    const UnitScale unit = unitScaleOf(catalogues, timeUnit, "time", "times");
    const engine::VelocityFunction function = functionOf(record);
    const WellBoreDepths bore(m_context, record.wellBoreId);
    EpiWell::Times_var times = new EpiWell::Times;
    fillQuantities(times->values, catalogues, engine::depthsToTimes(function, bore.kinds(), values, from, to), unit,
                   type);
    times->type = target;
    return times._retn();
  });
}

EpiWell::Depths* WellVelocityServant::convertTimesToDepths(const EpiWell::Times& times, EpTypes::DataType type,
                                                           EpUnitOfMeasureService::Unit_ptr depthUnit,
                                                           EpiWell::DepthType target) {
  const VelocityRecord record = load("convertTimesToDepths");
  Catalogues& catalogues = *m_context.catalogues;
  return guarded(refuseConversion, [&] {
    requireDeliverable(type);
    const engine::TimeKind from = timeKindOf(times.type);
    const engine::DepthKind to = depthKindOf(target);
    const std::vector<double> values = baseValuesOf(catalogues, times.values, "time", "times");
    const UnitScale unit = unitScaleOf(catalogues, depthUnit, "length", "depths");
    const engine::VelocityFunction function = functionOf(record);
    const WellBoreDepths bore(m_context, record.wellBoreId);
    EpiWell::Depths_var depths = new EpiWell::Depths;
    fillQuantities(depths->values, catalogues, engine::timesToDepths(function, bore.kinds(), values, from, to), unit,
                   type);
    depths->type = target;
    return depths._retn();
  });
}

Velocity::Velocities* WellVelocityServant::convertTimesToVelocities(const EpiWell::Times& times,
                                                                   EpTypes::DataType type,
                                                                   EpUnitOfMeasureService::Unit_ptr velocityUnit,
                                                                   Velocity::VelocityType target) {
  const VelocityRecord record = load("convertTimesToVelocities");
  Catalogues& catalogues = *m_context.catalogues;
  return guarded(refuseConversion, [&] {
    requireDeliverable(type);
    const engine::TimeKind from = timeKindOf(times.type);
    const engine::VelocityKind to = velocityKindOf(target);
    const std::vector<double> values = baseValuesOf(catalogues, times.values, "time", "times");
    const UnitScale unit = unitScaleOf(catalogues, velocityUnit, "velocity", "velocities");
    const engine::VelocityFunction function = functionOf(record);
    Velocity::Velocities_var velocities = new Velocity::Velocities;
    fillQuantities(velocities->values, catalogues, engine::timesToVelocities(function, values, from, to), unit, type);
    velocities->type = target;
    return velocities._retn();
  });
}

// ------------------------------------------------------------------- writes

void WellVelocityServant::setVelocityData(const Velocity::WellVelocityData& data) {
  enterFault("setVelocityData", m_context.currentId());
  guarded(refuseDataPair, [&] {
    const VelocityLists lists = velocityListsOf(*m_context.catalogues, data);
    changeSamples("setVelocityData", [&](engine::VelocityFunction& f) { setLists(f, lists); });
  });
}

void WellVelocityServant::setWellVelocityPairs(const Velocity::VelocityDataPairs& pairs) {
  enterFault("setWellVelocityPairs", m_context.currentId());
  guarded(refuseDataPair, [&] {
    const PairLists in = pairListsOf(*m_context.catalogues, pairs);
    changeSamples("setWellVelocityPairs", [&](engine::VelocityFunction& f) {
      f.setPairs(in.times, in.values, in.timeKind, in.valueKind);
    });
  });
}

void WellVelocityServant::updateWellVelocityPairs(const Velocity::VelocityDataPairs& pairs) {
  enterFault("updateWellVelocityPairs", m_context.currentId());
  guarded(refuseSamples, [&] {
    const PairLists in = pairListsOf(*m_context.catalogues, pairs);
    changeSamples("updateWellVelocityPairs", [&](engine::VelocityFunction& f) {
      f.updatePairs(in.times, in.values, in.timeKind, in.valueKind);
    });
  });
}

void WellVelocityServant::insertWellVelocityPairs(const Velocity::VelocityDataPairs& pairs,
                                                  const EpTypes::FloatSeq& values) {
  enterFault("insertWellVelocityPairs", m_context.currentId());
  guarded(refuseSamples, [&] {
    const PairLists in = pairListsOf(*m_context.catalogues, pairs);
    std::vector<double> factors(values.length());
    for (CORBA::ULong i = 0; i < values.length(); ++i) factors[i] = values[i];
    changeSamples("insertWellVelocityPairs", [&](engine::VelocityFunction& f) {
      f.insertPairs(in.times, in.values, in.timeKind, in.valueKind, factors);
    });
  });
}

void WellVelocityServant::deleteTimes(const EpiWell::Times& times) {
  enterFault("deleteTimes", m_context.currentId());
  guarded(refuseDelete, [&] {
    const engine::TimeKind kind = timeKindOf(times.type);
    const std::vector<double> values = baseValuesOf(*m_context.catalogues, times.values, "time", "times");
    changeSamples("deleteTimes", [&](engine::VelocityFunction& f) { f.deleteTimes(values, kind); });
  });
}

void WellVelocityServant::setAnisotropy(CORBA::Long position, const EpTypes::DataSequence& factors) {
  enterFault("setAnisotropy", m_context.currentId());
  // The operation declares one refusal: every reason travels in it, with the
  // type the factors came in.
  const auto refuse = [&](const Refusal& r) {
    throw EpTypes::InvalidDataTypeException(factors._d(), r.reason.c_str());
  };
  guarded(refuse, [&] {
    const std::vector<double> values = numbersOf(factors, "anisotropy factors");
    changeSamples("setAnisotropy", [&](engine::VelocityFunction& f) { f.setAnisotropy(position, values); });
  });
}

// ================================================================= factories

namespace {

// The id of the new velocity function.
std::string createVelocityOf(Context& context, EpiWell::WellBore_ptr bore, const char* name, const char* dataSource,
                             const EpiTypes::DataQuantity& datum, const Velocity::WellVelocityData& data,
                             bool stored) {
  if (CORBA::is_nil(bore)) throwFailed("A velocity function needs a wellbore; the wellbore is nil. ");
  const auto boreId = stored ? context.idOf(bore, {Kind::WellBore})
                             : context.idOf(bore, {Kind::WellBore, Kind::StorelessWellBore});
  if (!boreId) {
    if (stored && context.idOf(bore, {Kind::StorelessWellBore}))
      throwFailed("A stored velocity function needs a stored wellbore; the wellbore is storeless. ");
    throwFailed("The wellbore is not a wellbore of this service. ");
  }
  VelocityRecord record;
  record.wellBoreId = *boreId;
  record.name = name;
  record.dataSource = dataSource;
  record.datum = lengthFromRemote(datum, "datum", *context.catalogues);
  guarded(refuseValue, [&] {
    engine::VelocityFunction function;
    setLists(function, velocityListsOf(*context.catalogues, data));
    record.samples = keptSamples(function);
  });
  const VelocityRecord created = Velocities(*context.records).create(std::move(record), stored);
  context.changed(created.id, "created", "createWellVelocity");
  context.changed(created.wellBoreId, "modified", "createWellVelocity");
  return created.id;
}

} // namespace

EpiWell::WellVelocity_ptr NewWellVelocityFactoryServant::createWellVelocity(
    EpiWell::WellBore_ptr bore, const char* name, const char* dataSource, const EpiTypes::DataQuantity& datum,
    const Velocity::WellVelocityData& data, EpSession::Session_ptr) {
  return created<EpiWell::WellVelocity>(
      "createWellVelocity", [&] { return createVelocityOf(m_context, bore, name, dataSource, datum, data, true); });
}

EpiWell::WellVelocity_ptr StorelessWellVelocityFactoryServant::createWellVelocity(
    EpiWell::WellBore_ptr bore, const char* name, const char* dataSource, const EpiTypes::DataQuantity& datum,
    const Velocity::WellVelocityData& data, EpSession::Session_ptr) {
  return created<EpiWell::WellVelocity>(
      "createWellVelocity", [&] { return createVelocityOf(m_context, bore, name, dataSource, datum, data, false); });
}

} // namespace kelwelld
