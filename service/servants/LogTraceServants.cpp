#include "servants/LogTraceServants.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "catalogue/Catalogues.h"
#include "catalogue/UnitCatalogue.h"
#include "engine/Kinds.h"
#include "servants/Limits.h"
#include "servants/VelocityServants.h"
#include "servants/WellBoreDepths.h"

namespace kelwelld {

using engine::IndexKind;
using Trace = EpiWell::WellLogTrace;

// ====================================================================== index kinds

std::vector<double> convertTraceIndex(Context& context, const std::string& boreId, const std::vector<double>& index,
                                      IndexKind from, IndexKind to) {
  if (from == to) return index;
  const WellBoreDepths depths(context, boreId);
  // Times relate to depths through the wellbore's default velocity function.
  std::optional<engine::VelocityFunction> velocity;
  if (engine::isTimeKind(from) || engine::isTimeKind(to)) velocity = defaultFunctionOf(context, boreId);
  return engine::convertIndex(index, from, to, depths.kinds(), velocity ? &*velocity : nullptr);
}

namespace {

// ====================================================================== helpers

const UnitDefinition& unitNamed(const std::string& acronym) {
  const UnitDefinition* unit = UnitCatalogue::builtIn().find(acronym);
  if (!unit) throwStore("Could not read a log trace", "its unit " + quoted(acronym) + " is not in the catalogue");
  return *unit;
}

const char* measureOf(IndexKind kind) { return engine::isTimeKind(kind) ? "time" : "length"; }
const char* siUnitOf(IndexKind kind) { return engine::isTimeKind(kind) ? "s" : "m"; }

[[noreturn]] void throwTraceError(const engine::EngineError& error) {
  using engine::ErrorKind;
  switch (error.kind()) {
    case ErrorKind::NonMonotonic: throw Trace::NonMonotonicIndexException(error.what());
    case ErrorKind::InvalidNumSamples:
    case ErrorKind::InvalidValue: throw Trace::InvalidNumSamplesException(error.what());
    case ErrorKind::InvalidIndex: throw Trace::InvalidIndexException(error.what());
    default: throw Trace::ImpossibleConversionException(error.what());
  }
}

IndexKind indexKindOf(short value) {
  if (value < Trace::INDEX_MD || value > Trace::INDEX_OWT)
    throw Trace::InvalidIndexException(("The index kind " + std::to_string(value) +
                                        " is not one of 0 (MD), 1 (TVD), 2 (TVDSS), 3 (TWT) and 4 (OWT). ")
                                           .c_str());
  return static_cast<IndexKind>(value);
}

// Values travel as floats: the index and trace values are kept as floats.
void requireFloats(EpTypes::DataType type) {
  if (type != EpTypes::FLOAT_DATA)
    throw Trace::ImpossibleConversionException(("A log trace delivers its values as floats (data type 3), not "
                                                "as data type " + std::to_string(type) + ". ")
                                                   .c_str());
}

// value in `from` expressed in `to` (units of one class).
struct UnitChange {
  double factor = 1.0, offset = 0.0;
  bool identity = true;
  double apply(double value) const { return value * factor + offset; }
};

UnitChange unitChange(const std::string& from, const std::string& to) {
  if (from == to) return {};
  const UnitDefinition& a = unitNamed(from);
  const UnitDefinition& b = unitNamed(to);
  return {a.factor / b.factor, (a.offset - b.offset) / b.factor, false};
}

// The unit a read delivers the index in: the one asked for (of the kind's
// class), or for nil the trace's own index unit where the class allows, else
// the SI unit. ConversionException for a unit of another class.
std::string indexUnitOfRead(Catalogues& catalogues, EpUnitOfMeasureService::Unit_ptr unit, IndexKind kind,
                            const LogTraceRecord& record) {
  const auto resolved = catalogues.resolveUnit(unit);
  if (!resolved)
    throw EpUnitOfMeasureService::ConversionException("The unit asked for is not a unit of the service's catalogue. ");
  if (resolved->acronym.empty()) {
    const bool sameClass = engine::isTimeKind(kind) == engine::isTimeKind(static_cast<IndexKind>(record.nativeKind));
    return sameClass ? record.indexUnit : siUnitOf(kind);
  }
  if (resolved->quantity != measureOf(kind))
    throw EpUnitOfMeasureService::ConversionException(
        ("The unit " + quoted(resolved->acronym) + " measures " + resolved->quantity + "; an index in " +
         engine::kindName(kind) + " is a " + measureOf(kind) + ". ")
            .c_str());
  return resolved->acronym;
}

// A number of a remote quantity in `unit` (its own unit, or `unit` when it has
// none); ConversionException when the units do not convert.
double quantityIn(Catalogues& catalogues, const EpiTypes::DataQuantity& quantity, const std::string& unit,
                  const char* what) {
  double value = 0.0;
  switch (quantity.value._d()) {
    case EpTypes::BYTE_DATA: value = quantity.value.byteValue(); break;
    case EpTypes::SHORT_DATA: value = quantity.value.shortValue(); break;
    case EpTypes::LONG_DATA: value = quantity.value.longValue(); break;
    case EpTypes::FLOAT_DATA: value = quantity.value.floatValue(); break;
    case EpTypes::DOUBLE_DATA: value = quantity.value.doubleValue(); break;
    case EpTypes::UBYTE_DATA: value = static_cast<signed char>(quantity.value.ubyteValue()); break;
    default:
      throw Trace::InvalidIndexException((std::string("The ") + what + " has a value of unknown data type " +
                                          std::to_string(quantity.value._d()) + ". ")
                                             .c_str());
  }
  const auto resolved = catalogues.resolveUnit(quantity.unit.in());
  if (!resolved)
    throw EpUnitOfMeasureService::ConversionException(
        (std::string("The unit of the ") + what + " is not a unit of the service's catalogue. ").c_str());
  if (resolved->acronym.empty() || unit.empty() || resolved->acronym == unit) return value;
  if (resolved->quantity != unitNamed(unit).quantity)
    throw EpUnitOfMeasureService::ConversionException(
        (std::string("The unit ") + quoted(resolved->acronym) + " of the " + what + " does not convert into " +
         quoted(unit) + ". ")
            .c_str());
  return unitChange(resolved->acronym, unit).apply(value);
}

EpUnitOfMeasureService::Unit_ptr unitReference(Catalogues& catalogues, const std::string& acronym, bool nil) {
  if (acronym.empty() || nil) return EpUnitOfMeasureService::Unit::_nil();
  return catalogues.unitReference(acronym);
}

EpiTypes::DataQuantity* quantityOut(Catalogues& catalogues, double value, const std::string& unit,
                                    const std::optional<ValueFault>& fault) {
  EpiTypes::DataQuantity_var result = new EpiTypes::DataQuantity;
  if (wantsOutOfRange(fault))
    result->value._default();
  else
    result->value.floatValue(static_cast<float>(value));
  result->unit = unitReference(catalogues, unit, wantsNil(fault) || wantsOutOfRange(fault));
  return result._retn();
}

// The floats of a remote sequence: the sequence's own buffer when it holds
// floats, else a converted copy in `copy`.
const float* floatsOf(const EpTypes::DataSequence& sequence, std::vector<float>& copy, std::size_t& count) {
  const auto convert = [&](const auto& values) {
    count = values.length();
    copy.resize(count);
    for (std::size_t i = 0; i < count; ++i) copy[i] = static_cast<float>(values[static_cast<CORBA::ULong>(i)]);
    return copy.data();
  };
  switch (sequence._d()) {
    case EpTypes::FLOAT_DATA: count = sequence.floatValues().length(); return sequence.floatValues().get_buffer();
    case EpTypes::DOUBLE_DATA: return convert(sequence.doubleValues());
    case EpTypes::LONG_DATA: return convert(sequence.longValues());
    case EpTypes::SHORT_DATA: return convert(sequence.shortValues());
    case EpTypes::BYTE_DATA: return convert(sequence.byteValues());
    case EpTypes::UBYTE_DATA: {
      count = sequence.ubyteValues().length();
      copy.resize(count);
      for (std::size_t i = 0; i < count; ++i)
        copy[i] = static_cast<signed char>(sequence.ubyteValues()[static_cast<CORBA::ULong>(i)]);
      return copy.data();
    }
    default:
      throw Trace::InvalidNumSamplesException(
          ("The trace data holds values of unknown data type " + std::to_string(sequence._d()) + ". ").c_str());
  }
}

// A float sequence of n values to be filled in place.
float* floatsInto(EpTypes::DataSequence& sequence, std::size_t n) {
  sequence.floatValues(EpTypes::FloatSeq());
  EpTypes::FloatSeq& floats = sequence.floatValues();
  floats.length(static_cast<CORBA::ULong>(n));
  return floats.get_buffer();
}

// ====================================================================== reads

// What a read asks for: the kind and unit of the index it delivers.
struct IndexRead {
  IndexKind kind;
  std::string unit;
};

// A trace loaded whole into the engine, its index in SI in the native kind.
engine::TraceSamples load(const LogTraceRecord& record, SampleView& view) {
  const std::size_t n = view.count();
  const std::size_t elements = static_cast<std::size_t>(record.elements);
  std::vector<float> stored(n);
  view.index(0, n, stored.data());
  const UnitChange toSi = unitChange(record.indexUnit, siUnitOf(static_cast<IndexKind>(record.nativeKind)));
  std::vector<double> index(n);
  for (std::size_t i = 0; i < n; ++i) index[i] = toSi.apply(stored[i]);
  stored.clear();
  stored.shrink_to_fit();
  std::vector<float> values(n * elements);
  view.values(0, n, values.data());
  engine::TraceSamples samples(record.elements, static_cast<float>(record.nullValue));
  samples.replace(std::move(index), std::move(values));
  return samples;
}

// The remote trace data of a selection (index in SI of the read's kind).
Trace::TraceData* traceData(Catalogues& catalogues, const LogTraceRecord& record, const IndexRead& read,
                            const std::vector<double>& index, const std::vector<float>& values,
                            const std::optional<ValueFault>& fault) {
  Trace::TraceData_var data = new Trace::TraceData;
  const std::size_t n = index.size();
  const std::size_t elements = static_cast<std::size_t>(record.elements);
  const UnitChange fromSi = unitChange(siUnitOf(read.kind), read.unit);
  float* out = floatsInto(data->index.values, n);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<float>(fromSi.apply(index[i]));
  data->index.unit = unitReference(catalogues, read.unit, wantsNil(fault));
  data->trace.values.length(static_cast<CORBA::ULong>(elements));
  for (std::size_t e = 0; e < elements; ++e)
    engine::gatherElement(values.data(), n, elements, e, floatsInto(data->trace.values[static_cast<CORBA::ULong>(e)], n));
  data->trace.unit = unitReference(catalogues, record.traceUnit, wantsNil(fault));
  data->indexKind = wantsOutOfRange(fault) ? static_cast<Trace::IndexKind>(fault->value)
                                           : static_cast<Trace::IndexKind>(read.kind);
  return data._retn();
}

// Stored index values (native kind, stored unit) turned in place into the
// kind and unit of the read.
void indexInto(Context& context, const LogTraceRecord& record, const IndexRead& read, float* values, std::size_t n) {
  const auto native = static_cast<IndexKind>(record.nativeKind);
  if (read.kind == native) {
    const UnitChange change = unitChange(record.indexUnit, read.unit);
    if (!change.identity)
      for (std::size_t i = 0; i < n; ++i) values[i] = static_cast<float>(change.apply(values[i]));
    return;
  }
  const UnitChange toSi = unitChange(record.indexUnit, siUnitOf(native));
  std::vector<double> si(n);
  for (std::size_t i = 0; i < n; ++i) si[i] = toSi.apply(values[i]);
  si = convertTraceIndex(context, record.boreId, si, native, read.kind);
  const UnitChange fromSi = unitChange(siUnitOf(read.kind), read.unit);
  for (std::size_t i = 0; i < n; ++i) values[i] = static_cast<float>(fromSi.apply(si[i]));
}

// Samples [first, first + n) straight from the store into the answer: one
// copy, and for a single-element trace not even a regrouping.
Trace::TraceData* samplesRange(Context& context, const LogTraceRecord& record, SampleView& view,
                               const IndexRead& read, std::size_t first, std::size_t n,
                               const std::optional<ValueFault>& fault) {
  Catalogues& catalogues = *context.catalogues;
  Trace::TraceData_var data = new Trace::TraceData;
  float* index = floatsInto(data->index.values, n);
  view.index(first, n, index);
  indexInto(context, record, read, index, n);
  data->index.unit = unitReference(catalogues, read.unit, wantsNil(fault));
  const std::size_t elements = static_cast<std::size_t>(record.elements);
  data->trace.values.length(static_cast<CORBA::ULong>(elements));
  if (elements == 1) {
    view.values(first, n, floatsInto(data->trace.values[0], n));
  } else {
    std::vector<float> values(n * elements);
    view.values(first, n, values.data());
    for (std::size_t e = 0; e < elements; ++e)
      engine::gatherElement(values.data(), n, elements, e,
                            floatsInto(data->trace.values[static_cast<CORBA::ULong>(e)], n));
  }
  data->trace.unit = unitReference(catalogues, record.traceUnit, wantsNil(fault));
  data->indexKind = wantsOutOfRange(fault) ? static_cast<Trace::IndexKind>(fault->value)
                                           : static_cast<Trace::IndexKind>(read.kind);
  return data._retn();
}

// The first stored position whose index value is not below `value` (or, with
// `after`, above it): a binary search that reads one index value a probe.
std::size_t boundOf(SampleView& view, double value, bool after) {
  std::size_t low = 0, high = view.count();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    float probe = 0.0f;
    view.index(middle, 1, &probe);
    if (after ? !(value < probe) : probe < value)
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

} // namespace

// ====================================================================== the servant

LogTraceServant::LogTraceServant(Context& context) : EntityServant(context) {}

namespace {

// Runs body(record, view) for the trace the call is made on, after its fault
// check; engine failures leave as the contract's trace exceptions.
template <class Body>
auto onSamples(Context& context, const char* operation, Body body) {
  const std::string id = context.currentId();
  const auto fault = enterFault(operation, id);
  using Result = decltype(body(std::declval<const LogTraceRecord&>(), std::declval<SampleView&>(), fault));
  Result result{};
  try {
    if (!context.logTraces->read(id, [&](const LogTraceRecord& record, SampleView& view) {
          result = body(record, view, fault);
        }))
      throwNotExist();
  } catch (const engine::EngineError& error) {
    throwTraceError(error);
  }
  return result;
}

} // namespace

void LogTraceServant::setText(const char* operation, std::string LogTraceRecord::*member, const char* value) {
  enterFault(operation, m_context.currentId());
  checkTextSize(value, "text of " + std::string(operation));
  const std::string text(value);
  write(operation, &LogTraceRecord::modifiedAttributes, [&](LogTraceRecord& r) { r.*member = text; });
}

char* LogTraceServant::getLastModified(const char* selector) {
  return lastModified(selector, {{"attributes", &LogTraceRecord::modifiedAttributes},
                                 {"data", &LogTraceRecord::modifiedData}});
}

char* LogTraceServant::getComment() { return text("getComment", &LogTraceRecord::comment); }
void LogTraceServant::setComment(const char* v) { setText("setComment", &LogTraceRecord::comment, v); }
char* LogTraceServant::getCreationDate() { return text("getCreationDate", &LogTraceRecord::created); }
char* LogTraceServant::getDataSource() { return text("getDataSource", &LogTraceRecord::dataSource); }
void LogTraceServant::setDataSource(const char* v) { setText("setDataSource", &LogTraceRecord::dataSource, v); }
char* LogTraceServant::getSoftSource() { return text("getSoftSource", &LogTraceRecord::softSource); }
void LogTraceServant::setSoftSource(const char* v) { setText("setSoftSource", &LogTraceRecord::softSource, v); }
char* LogTraceServant::getTraceKind() { return text("getTraceKind", &LogTraceRecord::traceKind); }
void LogTraceServant::setTraceKind(const char* v) { setText("setTraceKind", &LogTraceRecord::traceKind, v); }
char* LogTraceServant::getTraceName() { return text("getTraceName", &LogTraceRecord::traceName); }
void LogTraceServant::setTraceName(const char* v) { setText("setTraceName", &LogTraceRecord::traceName, v); }
char* LogTraceServant::getUser() { return text("getUser", &LogTraceRecord::user); }
void LogTraceServant::setUser(const char* v) { setText("setUser", &LogTraceRecord::user, v); }

EpTypes::DataValue LogTraceServant::getNullValue() {
  const auto call = readField("getNullValue", &LogTraceRecord::nullValue);
  EpTypes::DataValue value;
  if (wantsOutOfRange(call.fault))
    value._default();
  else
    value.floatValue(static_cast<float>(call.value));
  return value;
}

void LogTraceServant::setNullValue(const EpTypes::DataValue& value) {
  enterFault("setNullValue", m_context.currentId());
  const double number = valueOf(value, "null value");
  // Kept as a float, as the samples are: a value that does not fit is refused.
  const float asFloat = static_cast<float>(number);
  if (!std::isfinite(asFloat))
    throwValidation("The null value must be a finite number that fits a float; missing samples are marked by it. ");
  write("setNullValue", &LogTraceRecord::modifiedAttributes, [&](LogTraceRecord& r) { r.nullValue = asFloat; });
}

CORBA::Long LogTraceServant::getNumElements() {
  return static_cast<CORBA::Long>(readField("getNumElements", &LogTraceRecord::elements).value);
}

CORBA::Long LogTraceServant::getNumSamples() {
  return onSamples(m_context, "getNumSamples", [](const LogTraceRecord&, SampleView& view, const auto&) {
    return static_cast<CORBA::Long>(view.count());
  });
}

Trace::TraceProcessState LogTraceServant::getTraceProcess() {
  const auto call = readField("getTraceProcess", &LogTraceRecord::processState);
  return wantsOutOfRange(call.fault) ? static_cast<short>(call.fault->value) : call.value;
}

void LogTraceServant::setTraceProcess(Trace::TraceProcessState value) {
  enterFault("setTraceProcess", m_context.currentId());
  const short checked = checkedEnum(value, Trace::INTERPRETED, "trace process state");
  write("setTraceProcess", &LogTraceRecord::modifiedAttributes, [&](LogTraceRecord& r) { r.processState = checked; });
}

EpUnitOfMeasureService::Unit_ptr LogTraceServant::getTraceUnit() {
  const auto call = readField("getTraceUnit", &LogTraceRecord::traceUnit);
  return unitReference(*m_context.catalogues, call.value, wantsNil(call.fault));
}

void LogTraceServant::setTraceUnit(EpUnitOfMeasureService::Unit_ptr unit) {
  enterFault("setTraceUnit", m_context.currentId());
  const auto resolved = m_context.catalogues->resolveUnit(unit);
  if (!resolved) throwValidation("The unit of the trace values is not a unit of the service's catalogue. ");
  // Only the attribute changes: the stored values are kept as they are.
  write("setTraceUnit", &LogTraceRecord::modifiedAttributes,
        [&](LogTraceRecord& r) { r.traceUnit = resolved->acronym; });
}

CORBA::Long LogTraceServant::getTraceVersion() {
  return static_cast<CORBA::Long>(readField("getTraceVersion", &LogTraceRecord::version).value);
}

Trace::IndexKind LogTraceServant::getNativeIndexKind() {
  const auto call = readField("getNativeIndexKind", &LogTraceRecord::nativeKind);
  return wantsOutOfRange(call.fault) ? static_cast<short>(call.fault->value) : call.value;
}

EpiWell::WellBore_ptr LogTraceServant::getBore() {
  const auto call = readField("getBore", &LogTraceRecord::boreId);
  if (wantsNil(call.fault)) return EpiWell::WellBore::_nil();
  return m_context.referenceAs<EpiWell::WellBore>(call.value);
}

// ---------------------------------------------------------------- index information

CORBA::Boolean LogTraceServant::getIndexInfo(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType type,
                                             Trace::IndexKind kind, EpiTypes::DataQuantity_out increment,
                                             EpiTypes::DataQuantity_out minimum, EpiTypes::DataQuantity_out maximum) {
  struct Answer {
    EpiTypes::DataQuantity* increment = nullptr;
    EpiTypes::DataQuantity* minimum = nullptr;
    EpiTypes::DataQuantity* maximum = nullptr;
    bool regular = false;
  };
  const Answer answer = onSamples(m_context, "getIndexInfo", [&](const LogTraceRecord& r, SampleView& view, const auto& fault) {
    requireFloats(type);
    const IndexRead read{indexKindOf(kind), indexUnitOfRead(*m_context.catalogues, unit, indexKindOf(kind), r)};
    const engine::TraceSamples samples = load(r, view);
    const auto native = static_cast<IndexKind>(r.nativeKind);
    const engine::IndexInfo info =
        samples.indexInfo(read.kind == native ? samples.index()
                                              : convertTraceIndex(m_context, r.boreId, samples.index(), native, read.kind));
    const UnitChange fromSi = unitChange(siUnitOf(read.kind), read.unit);
    Catalogues& catalogues = *m_context.catalogues;
    Answer a;
    a.increment = quantityOut(catalogues, info.increment * fromSi.factor, read.unit, fault);
    a.minimum = quantityOut(catalogues, fromSi.apply(info.minimum), read.unit, fault);
    a.maximum = quantityOut(catalogues, fromSi.apply(info.maximum), read.unit, fault);
    a.regular = info.regular;
    return a;
  });
  increment = answer.increment;
  minimum = answer.minimum;
  maximum = answer.maximum;
  return answer.regular;
}

namespace {

// The first (top) or last (bottom) index value in the kind and unit asked for.
EpiTypes::DataQuantity* endIndex(Context& context, const char* operation, EpUnitOfMeasureService::Unit_ptr unit,
                                 EpTypes::DataType type, Trace::IndexKind kind, bool last) {
  return onSamples(context, operation, [&](const LogTraceRecord& r, SampleView& view, const auto& fault) {
    requireFloats(type);
    const IndexRead read{indexKindOf(kind), indexUnitOfRead(*context.catalogues, unit, indexKindOf(kind), r)};
    const std::size_t n = view.count();
    if (n == 0)
      throw Trace::InvalidIndexException("The trace holds no samples: it has no index to describe. ");
    float value = 0.0f;
    view.index(last ? n - 1 : 0, 1, &value);
    indexInto(context, r, read, &value, 1);
    return quantityOut(*context.catalogues, value, read.unit, fault);
  });
}

} // namespace

EpiTypes::DataQuantity* LogTraceServant::getTopIndex(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType type,
                                                     Trace::IndexKind kind) {
  return endIndex(m_context, "getTopIndex", unit, type, kind, false);
}

EpiTypes::DataQuantity* LogTraceServant::getBottomIndex(EpUnitOfMeasureService::Unit_ptr unit,
                                                        EpTypes::DataType type, Trace::IndexKind kind) {
  return endIndex(m_context, "getBottomIndex", unit, type, kind, true);
}

// ---------------------------------------------------------------- trace data

Trace::TraceData* LogTraceServant::getTraceData(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType indexType,
                                                EpTypes::DataType traceType, Trace::IndexKind kind) {
  return onSamples(m_context, "getTraceData", [&](const LogTraceRecord& r, SampleView& view, const auto& fault) {
    requireFloats(indexType);
    requireFloats(traceType);
    const IndexRead read{indexKindOf(kind), indexUnitOfRead(*m_context.catalogues, unit, indexKindOf(kind), r)};
    return samplesRange(m_context, r, view, read, 0, view.count(), fault);
  });
}

Trace::TraceData* LogTraceServant::getDecimatedTraceData(EpUnitOfMeasureService::Unit_ptr unit,
                                                         EpTypes::DataType indexType, EpTypes::DataType traceType,
                                                         Trace::IndexKind kind, CORBA::ULong step) {
  return onSamples(m_context, "getDecimatedTraceData", [&](const LogTraceRecord& r, SampleView& view, const auto& fault) {
    requireFloats(indexType);
    requireFloats(traceType);
    const IndexRead read{indexKindOf(kind), indexUnitOfRead(*m_context.catalogues, unit, indexKindOf(kind), r)};
    if (step <= 1) return samplesRange(m_context, r, view, read, 0, view.count(), fault);
    const engine::TraceSamples samples = load(r, view);
    const auto native = static_cast<IndexKind>(r.nativeKind);
    const engine::TraceSelection selection =
        read.kind == native
            ? samples.decimated(samples.index(), step)
            : samples.decimated(convertTraceIndex(m_context, r.boreId, samples.index(), native, read.kind), step);
    return traceData(*m_context.catalogues, r, read, selection.index, selection.values, fault);
  });
}

Trace::TraceData* LogTraceServant::getTraceByIndexRange(EpUnitOfMeasureService::Unit_ptr unit,
                                                        EpTypes::DataType indexType, EpTypes::DataType traceType,
                                                        Trace::IndexKind kind, const EpiTypes::DataQuantity& from,
                                                        const EpiTypes::DataQuantity& to) {
  return onSamples(m_context, "getTraceByIndexRange", [&](const LogTraceRecord& r, SampleView& view, const auto& fault) {
    requireFloats(indexType);
    requireFloats(traceType);
    Catalogues& catalogues = *m_context.catalogues;
    const IndexRead read{indexKindOf(kind), indexUnitOfRead(catalogues, unit, indexKindOf(kind), r)};
    const auto native = static_cast<IndexKind>(r.nativeKind);
    if (read.kind == native) {
      // In the stored kind the index increases: find the range's ends, then
      // read only the samples between them.
      const double low = quantityIn(catalogues, from, r.indexUnit, "index range's from");
      const double high = quantityIn(catalogues, to, r.indexUnit, "index range's to");
      engine::validateRange(low, high, "index");
      const std::size_t first = boundOf(view, low, false);
      const std::size_t end = std::max(first, boundOf(view, high, true));
      return samplesRange(m_context, r, view, read, first, end - first, fault);
    }
    const UnitChange toSi = unitChange(read.unit, siUnitOf(read.kind));
    const double low = toSi.apply(quantityIn(catalogues, from, read.unit, "index range's from"));
    const double high = toSi.apply(quantityIn(catalogues, to, read.unit, "index range's to"));
    engine::validateRange(low, high, "index");
    const engine::TraceSamples samples = load(r, view);
    const engine::TraceSelection selection = samples.byIndexRange(
        convertTraceIndex(m_context, r.boreId, samples.index(), native, read.kind), low, high);
    return traceData(catalogues, r, read, selection.index, selection.values, fault);
  });
}

Trace::TraceData* LogTraceServant::getTraceByTraceRange(EpUnitOfMeasureService::Unit_ptr unit,
                                                        EpTypes::DataType indexType, EpTypes::DataType traceType,
                                                        Trace::IndexKind kind, const EpiTypes::DataQuantity& from,
                                                        const EpiTypes::DataQuantity& to) {
  return onSamples(m_context, "getTraceByTraceRange", [&](const LogTraceRecord& r, SampleView& view, const auto& fault) {
    requireFloats(indexType);
    requireFloats(traceType);
    Catalogues& catalogues = *m_context.catalogues;
    const IndexRead read{indexKindOf(kind), indexUnitOfRead(catalogues, unit, indexKindOf(kind), r)};
    const double low = quantityIn(catalogues, from, r.traceUnit, "trace range's from");
    const double high = quantityIn(catalogues, to, r.traceUnit, "trace range's to");
    const engine::TraceSamples samples = load(r, view);
    const auto native = static_cast<IndexKind>(r.nativeKind);
    const engine::TraceSelection selection =
        read.kind == native
            ? samples.byValueRange(samples.index(), low, high)
            : samples.byValueRange(convertTraceIndex(m_context, r.boreId, samples.index(), native, read.kind), low,
                                   high);
    return traceData(catalogues, r, read, selection.index, selection.values, fault);
  });
}

namespace {

EpiTypes::DataQuantities* extremeIndex(Context& context, const char* operation, EpUnitOfMeasureService::Unit_ptr unit,
                                       EpTypes::DataType type, Trace::IndexKind kind, bool maximum) {
  return onSamples(context, operation, [&](const LogTraceRecord& r, SampleView& view, const auto& fault) {
    requireFloats(type);
    const IndexRead read{indexKindOf(kind), indexUnitOfRead(*context.catalogues, unit, indexKindOf(kind), r)};
    const engine::TraceSamples samples = load(r, view);
    const auto native = static_cast<IndexKind>(r.nativeKind);
    const engine::TraceExtremes extremes =
        read.kind == native
            ? samples.extremes(samples.index())
            : samples.extremes(convertTraceIndex(context, r.boreId, samples.index(), native, read.kind));
    const std::vector<double>& at = maximum ? extremes.maximumAt : extremes.minimumAt;
    const UnitChange fromSi = unitChange(siUnitOf(read.kind), read.unit);
    EpiTypes::DataQuantities_var result = new EpiTypes::DataQuantities;
    float* out = floatsInto(result->values, at.size());
    for (std::size_t i = 0; i < at.size(); ++i) out[i] = static_cast<float>(fromSi.apply(at[i]));
    result->unit = unitReference(*context.catalogues, read.unit, wantsNil(fault));
    return result._retn();
  });
}

EpiTypes::DataQuantity* extremeValue(Context& context, const char* operation, bool maximum) {
  return onSamples(context, operation, [&](const LogTraceRecord& r, SampleView& view, const auto& fault) {
    const engine::TraceSamples samples = load(r, view);
    const engine::TraceExtremes extremes = samples.extremes(samples.index());
    return quantityOut(*context.catalogues, maximum ? extremes.maximum : extremes.minimum, r.traceUnit, fault);
  });
}

} // namespace

EpiTypes::DataQuantities* LogTraceServant::getMaxTraceIndexValue(EpUnitOfMeasureService::Unit_ptr unit,
                                                                 EpTypes::DataType type, Trace::IndexKind kind) {
  return extremeIndex(m_context, "getMaxTraceIndexValue", unit, type, kind, true);
}

EpiTypes::DataQuantities* LogTraceServant::getMinTraceIndexValue(EpUnitOfMeasureService::Unit_ptr unit,
                                                                 EpTypes::DataType type, Trace::IndexKind kind) {
  return extremeIndex(m_context, "getMinTraceIndexValue", unit, type, kind, false);
}

EpiTypes::DataQuantity* LogTraceServant::getMaxTraceValue() { return extremeValue(m_context, "getMaxTraceValue", true); }
EpiTypes::DataQuantity* LogTraceServant::getMinTraceValue() { return extremeValue(m_context, "getMinTraceValue", false); }

// ---------------------------------------------------------------- writes

namespace {

// A write's samples turned into what the trace keeps (native kind and index
// unit, values index-major in the trace's unit), copying only what has to
// change: a single-element float write in the stored kind and unit is
// checked and stored where the ORB put it.
class PreparedWrite {
public:
  // elements 0: a new trace, which takes its number of elements from the write.
  PreparedWrite(Context& context, const Trace::TraceData& data, const LogTraceRecord& trace) {
    Catalogues& catalogues = *context.catalogues;
    const IndexKind kind = indexKindOf(data.indexKind);
    const auto native = static_cast<IndexKind>(trace.nativeKind);

    std::size_t count = 0;
    const float* index = floatsOf(data.index.values, m_index, count);
    const auto indexUnit = catalogues.resolveUnit(data.index.unit.in());
    if (!indexUnit)
      throw Trace::ImpossibleConversionException("The unit of the index values is not a unit of the service's catalogue. ");
    std::string unit = indexUnit->acronym;
    if (unit.empty())
      unit = engine::isTimeKind(kind) == engine::isTimeKind(native) ? trace.indexUnit : siUnitOf(kind);
    else if (indexUnit->quantity != measureOf(kind))
      throw Trace::ImpossibleConversionException(("The index unit " + quoted(unit) + " measures " + indexUnit->quantity +
                                                  "; an index in " + engine::kindName(kind) + " is a " +
                                                  measureOf(kind) + ". ")
                                                     .c_str());
    if (kind != native || unit != trace.indexUnit) {
      const UnitChange toSi = unitChange(unit, siUnitOf(kind));
      std::vector<double> si(count);
      for (std::size_t i = 0; i < count; ++i) si[i] = toSi.apply(index[i]);
      si = convertTraceIndex(context, trace.boreId, si, kind, native);
      const UnitChange fromSi = unitChange(siUnitOf(native), trace.indexUnit);
      m_index.resize(count);
      for (std::size_t i = 0; i < count; ++i) m_index[i] = static_cast<float>(fromSi.apply(si[i]));
      index = m_index.data();
    }

    std::vector<std::size_t> lengths;
    for (CORBA::ULong e = 0; e < data.trace.values.length(); ++e) {
      std::size_t length = 0;
      std::vector<float> ignored;
      switch (data.trace.values[e]._d()) {
        case EpTypes::FLOAT_DATA: length = data.trace.values[e].floatValues().length(); break;
        default: floatsOf(data.trace.values[e], ignored, length); break;
      }
      lengths.push_back(length);
    }
    m_elements = engine::elementsOfWrite(count, lengths, static_cast<std::size_t>(trace.elements));
    const float* values = nullptr;
    if (m_elements == 1 && !lengths.empty()) {
      std::size_t n = 0;
      values = floatsOf(data.trace.values[0], m_values, n);
    } else if (!lengths.empty()) {
      m_values.resize(count * m_elements);
      std::vector<float> copy;
      for (std::size_t e = 0; e < m_elements; ++e) {
        std::size_t n = 0;
        const float* column = floatsOf(data.trace.values[static_cast<CORBA::ULong>(e)], copy, n);
        engine::interleaveElement(column, count, m_elements, e, m_values.data());
      }
      values = m_values.data();
    }
    values = inTraceUnit(catalogues, data.trace.unit.in(), trace, values, count * m_elements);
    m_buffers = SampleBuffers{index, count, values, values ? count * m_elements : 0};
  }

  const SampleBuffers& buffers() const { return m_buffers; }
  long long elements() const { return static_cast<long long>(m_elements); }

private:
  // The values in the trace's unit: converted (nulls kept) when the write
  // names another unit of the same class; as they are when either has none.
  const float* inTraceUnit(Catalogues& catalogues, EpUnitOfMeasureService::Unit_ptr unit, const LogTraceRecord& trace,
                           const float* values, std::size_t n) {
    const auto written = catalogues.resolveUnit(unit);
    if (!written)
      throw Trace::ImpossibleConversionException("The unit of the trace values is not a unit of the service's catalogue. ");
    if (written->acronym.empty() || trace.traceUnit.empty() || written->acronym == trace.traceUnit) return values;
    if (written->quantity != unitNamed(trace.traceUnit).quantity)
      throw Trace::ImpossibleConversionException(("The trace values come in " + quoted(written->acronym) +
                                                  ", which does not convert into the trace's unit " +
                                                  quoted(trace.traceUnit) + ". ")
                                                     .c_str());
    const UnitChange change = unitChange(written->acronym, trace.traceUnit);
    const float null = static_cast<float>(trace.nullValue);
    std::vector<float> converted(values, values + n);
    for (float& value : converted)
      if (value != null) value = static_cast<float>(change.apply(value));
    m_values.swap(converted);
    return m_values.data();
  }

  std::vector<float> m_index, m_values;
  std::size_t m_elements = 1;
  SampleBuffers m_buffers;
};

} // namespace

void LogTraceServant::writeData(const char* operation, const Trace::TraceData& data, SampleWrite how) {
  const std::string id = m_context.currentId();
  enterFault(operation, id);
  const auto trace = m_records.find(id);
  if (!trace) throwNotExist();
  try {
    // The trace's kind, units and elements never change: the write is
    // prepared before the store is opened for it.
    const PreparedWrite prepared(m_context, data, *trace);
    if (!m_context.logTraces->writeSamples(id, how, prepared.buffers())) throwNotExist();
  } catch (const engine::EngineError& error) {
    throwTraceError(error);
  }
  m_context.changed(id, "modified", operation);
}

void LogTraceServant::setTraceData(const Trace::TraceData& data) { writeData("setTraceData", data, SampleWrite::Replace); }
void LogTraceServant::addNValues(const Trace::TraceData& data) { writeData("addNValues", data, SampleWrite::Append); }

void LogTraceServant::removeAllValues() {
  const std::string id = m_context.currentId();
  enterFault("removeAllValues", id);
  if (!m_context.logTraces->removeSamples(id)) throwNotExist();
  m_context.changed(id, "modified", "removeAllValues");
}

// ====================================================================== factories

namespace {

std::string createTraceOn(Context& context, EpiWell::WellBore_ptr bore, const char* traceName, const char* traceKind,
                          const char* dataSource, const Trace::TraceData& data, const EpTypes::DataValue& nullValue,
                          bool stored) {
  if (CORBA::is_nil(bore)) throwFailed("A log trace needs a wellbore; the wellbore is nil. ");
  const auto boreId = stored ? context.idOf(bore, {Kind::WellBore})
                             : context.idOf(bore, {Kind::WellBore, Kind::StorelessWellBore});
  if (!boreId) {
    if (stored && context.idOf(bore, {Kind::StorelessWellBore}))
      throwFailed("A stored log trace needs a stored wellbore; the wellbore is storeless. ");
    throwFailed("The wellbore is not a wellbore of this service. ");
  }
  const float null = static_cast<float>(valueOf(nullValue, "null value"));
  if (!std::isfinite(null))
    throwValidation("The null value must be a finite number that fits a float; missing samples are marked by it. ");

  LogTraceRecord record;
  record.boreId = *boreId;
  record.traceName = traceName;
  record.traceKind = traceKind;
  record.dataSource = dataSource;
  record.nullValue = null;
  record.elements = 0;
  // The trace takes its native kind, index unit and trace unit from its first data.
  try {
    const IndexKind kind = indexKindOf(data.indexKind);
    record.nativeKind = static_cast<short>(kind);
    const auto indexUnit = context.catalogues->resolveUnit(data.index.unit.in());
    record.indexUnit = indexUnit && !indexUnit->acronym.empty() ? indexUnit->acronym : siUnitOf(kind);
    const auto traceUnit = context.catalogues->resolveUnit(data.trace.unit.in());
    if (!traceUnit) throwValidation("The unit of the trace values is not a unit of the service's catalogue. ");
    record.traceUnit = traceUnit->acronym;
    const PreparedWrite prepared(context, data, record);
    record.elements = prepared.elements();
    const LogTraceRecord created = context.logTraces->create(std::move(record), stored, prepared.buffers());
    context.changed(created.id, "created", "createWellLogTrace");
    context.changed(created.boreId, "modified", "createWellLogTrace");
    return created.id;
  } catch (const engine::EngineError& error) {
    throwValidation(std::string("The trace data was refused: ") + error.what());
  } catch (const CORBA::UserException& error) {
    // The factories declare no trace exceptions: their texts travel as a validation's.
    if (const auto* refused = Trace::InvalidNumSamplesException::_downcast(&error))
      throwValidation("The trace data was refused: " + std::string(refused->reason.in()));
    if (const auto* refused = Trace::NonMonotonicIndexException::_downcast(&error))
      throwValidation("The trace data was refused: " + std::string(refused->reason.in()));
    if (const auto* refused = Trace::ImpossibleConversionException::_downcast(&error))
      throwValidation("The trace data was refused: " + std::string(refused->reason.in()));
    if (const auto* refused = Trace::InvalidIndexException::_downcast(&error))
      throwValidation("The trace data was refused: " + std::string(refused->reason.in()));
    throw;
  }
}

} // namespace

EpiWell::WellLogTrace_ptr NewWellLogTraceFactoryServant::createWellLogTrace(
    EpiWell::WellBore_ptr bore, const char* traceName, const char* traceKind, const char* dataSource,
    const Trace::TraceData& data, const EpTypes::DataValue& nullValue, EpSession::Session_ptr) {
  return created<EpiWell::WellLogTrace>("createWellLogTrace", [&] {
    return createTraceOn(m_context, bore, traceName, traceKind, dataSource, data, nullValue, true);
  });
}

EpiWell::WellLogTrace_ptr StorelessWellLogTraceFactoryServant::createWellLogTrace(
    EpiWell::WellBore_ptr bore, const char* traceName, const char* traceKind, const char* dataSource,
    const Trace::TraceData& data, const EpTypes::DataValue& nullValue, EpSession::Session_ptr) {
  return created<EpiWell::WellLogTrace>("createWellLogTrace", [&] {
    return createTraceOn(m_context, bore, traceName, traceKind, dataSource, data, nullValue, false);
  });
}

} // namespace kelwelld
